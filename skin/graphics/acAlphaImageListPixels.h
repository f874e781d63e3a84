// Pixel helpers the alpha image lists share (Windows only).
#pragma once

#ifdef _WIN32

#include <memory>

#include "classlib/ui/Graphics.h"

namespace acimglist {

// True when some pixel of a 32-bit bitmap has a non-zero alpha byte.
bool HasAlpha(TBitmap* Bmp);
// Key colour to alpha: a 32-bit bitmap without any alpha takes the colour of
// its bottom-left pixel as the key; every other pixel gets alpha 255.
void KeyColorToAlpha(TBitmap* Bmp);
// The colour bitmap of an icon as a 32-bit bitmap (nullptr when the icon's
// bitmaps cannot be read). The mask is handed to Mask when asked for,
// otherwise deleted.
std::unique_ptr<TBitmap> IconColorBitmap(HICON Icon, HBITMAP* Mask = nullptr);
// A 32-bit bitmap of W x H: Bmp itself when it has that size, else Bmp
// resampled (Mitchell filter).
std::unique_ptr<TBitmap> Resampled(std::unique_ptr<TBitmap> Bmp, int W, int H);
// Blends a 32-bit image by its alpha over what the canvas shows at (X, Y).
void BlendOntoCanvas(TCanvas* Canvas, int X, int Y, TBitmap* Image);

}  // namespace acimglist

#endif
