// 32-bit pixel primitives: byte orders, single pixels, alpha fills and
// premultiplication. (The rest of the unit's painting comes with the section
// painters.)
#pragma once

#include <cstdint>

#include "classlib/core/GraphicsTypes.h"
#include "classlib/core/Types.h"
#include "skin/core/sConst.h"

// The value with its four bytes reversed.
inline Cardinal SwapLong(Cardinal Value) {
  return (Value >> 24) | ((Value >> 8) & 0xFF00) | ((Value << 8) & 0xFF0000) | (Value << 24);
}
// Bytes 0 and 2 exchanged (a colour as a pixel value and back); byte 3 stays.
inline TColor SwapRedBlue(TColor Color) {
  const Cardinal c = static_cast<Cardinal>(Color);
  return static_cast<TColor>((c & 0xFF00FF00u) | ((c & 0xFF) << 16) | ((c >> 16) & 0xFF));
}
inline TColor SwapColor(TColor Color) { return SwapRedBlue(Color); }

// The 32-bit pixel at (X, Y) of a 32-bit bitmap; raises
// EInvalidGraphicOperation for a point outside it.
TsColor GetAPixel(TacBitmap* Bmp, Integer X, Integer Y);
void SetAPixel(TacBitmap* Bmp, Integer X, Integer Y, TsColor Pixel);
// Writes Value Count times from Dest; nothing for a count below 1.
void FillLongword(std::uint32_t* Dest, Integer Count, std::uint32_t Value);
// Premultiplies the pixels of the whole bitmap / of R (cut to the bitmap):
// 0x00FFFFFF becomes 0, any other pixel keeps its alpha A and gets each colour
// channel c * A shr 8.
void UpdateAlpha(TacBitmap* Bmp);
void UpdateAlpha(TacBitmap* Bmp, const TRect& R);
// Sets the alpha of R's pixels (cut to the bitmap); with Except other than
// 0x1FFFFFFF only of pixels whose whole 32-bit value differs from it.
void FillAlphaRect(TacBitmap* Bmp, const TRect& R, Byte Alpha, TColor Except = clNoColor);
// Pixels of white with alpha 0 (0x00FFFFFF) of a 32-bit bitmap become 0.
void UpdateTransPixels(TacBitmap* Bmp);
