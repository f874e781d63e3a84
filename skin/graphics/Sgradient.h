// Gradients of skin sections: the value "GRADIENTDATA" parsed into segments.
// (Painting them comes with the section painters.)
#pragma once

#include "skin/core/sConst.h"

// The segments of a "GRADIENTDATA" text: words separated by ";" in groups of
// five (colour 1, colour 2, percent, mode, unused); colours through the
// system colour table, the percent limited to 0..100, an incomplete last
// group ignored. A word that is not an integer raises EConvertError.
void PrepareGradArray(const AnsiString& Text, TsGradArray& Array);
