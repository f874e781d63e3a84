// The triangle mode of gradients where the platform has no gradient
// function: nothing is painted.
#include "skin/graphics/Sgradient.h"

void PaintGradTriangles(TacBitmap*, const TRect&, const TsGradArray&) {}
