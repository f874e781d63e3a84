// What the graphics utilities' Windows files share. (Not part of the unit's
// interface.)
#pragma once

#include "classlib/ui/Graphics.h"

namespace gutils {
// The canvas's DC with the canvas's font selected and its colour as the text
// colour, for drawing past the canvas.
HDC FontDC(TCanvas* Canvas);
// DrawText of a code page 1251 text (nullptr: empty) into R.
int DrawTextIn(HDC DC, const char* Text, TRect R, Cardinal Flags);
}  // namespace gutils
