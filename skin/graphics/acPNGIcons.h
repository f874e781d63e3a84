// Icons made from bitmaps, for system image lists (Windows only).
#pragma once

#ifdef _WIN32

#include <windows.h>

#include "classlib/ui/Graphics.h"
#include "skin/graphics/acPixelBuffer.h"

// An icon of the bitmap (made 32-bit in place) whose pixels equal to the
// top-left one are transparent. The flag has no effect. The caller destroys
// the icon.
HICON MakeIcon32(TacPixelBuffer& bmp, bool flag = false);
// An icon of the bitmap with its alpha as the mask; a bitmap without alpha is
// made 32-bit first, with fuchsia (0xFF00FF) transparent. The colour has no
// effect on the result.
HICON MakeCompIcon(TacPixelBuffer& bmp, TColor color);

// The same for a bitmap of the class library (a picture of the PNG reader
// too); the bitmap itself ends 32-bit, as the buffer would.
HICON MakeIcon32(TBitmap* bmp, bool flag = false);
HICON MakeCompIcon(TBitmap* bmp, TColor color);

#endif
