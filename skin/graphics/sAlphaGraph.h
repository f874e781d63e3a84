// The skin engine's 32-bit painting: pixel primitives (byte orders, single
// pixels, fills, alpha, premultiplication, colour blends of rectangles), the
// nine-part drawing of border images, and the masked copies and glyphs.
//
// Every pixel loop here is cut to every bitmap it reads or writes: a
// rectangle reaching outside a bitmap draws only the part inside it.
#pragma once

#include <cstdint>

#include "classlib/core/GraphicsTypes.h"
#include "classlib/core/Types.h"
#include "skin/core/sConst.h"

class TsSkinManager;
struct TsMaskData;

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

// ------------------------------------------------------------ pixel primitives

// The 32-bit pixel at (X, Y) of a 32-bit bitmap; raises
// EInvalidGraphicOperation for a point outside it (row or column).
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
// Fills R (right and bottom exclusive, cut to the bitmap) with Color in pixel
// order and the given alpha.
void FillRect32(TacBitmap* Bmp, const TRect& R, TColor Color, Byte Alpha);
// Moves the colour of every pixel of R (cut to the bitmap) Percent % toward
// Color, c - ((c - C) * Percent) div 100 per channel, and sets its alpha. A
// percent above 100 counts as 100.
void BlendColorRect32(TacBitmap* Bmp, const TRect& R, TColor Color, Byte Percent, Byte Alpha);
// Mixes Color (system colours resolved) into R, keeping Transparency % of each
// pixel: Round(c * T / 100 + C * (100 - T) / 100), ties to even; alpha kept.
// R's right and bottom are inclusive (R = (0, 0, width, height) still covers
// exactly the bitmap). A transparency above 100 extrapolates, limited to 0..255.
void BlendColorRect(TacBitmap* Bmp, const TRect& R, Byte Transparency, TColor Color);
// Four strips of R (top, left, bottom, right, of the given widths) filled with
// Color at alpha 255.
void FillDCBorder32(TacBitmap* Bmp, const TRect& R, Integer WidthLeft, Integer WidthTop, Integer WidthRight,
                    Integer WidthBottom, TColor Color);
// Hit-test codes that pick a corner of a border image.
inline constexpr Integer acHTTopLeft = 13, acHTTopRight = 14, acHTBottomLeft = 16, acHTBottomRight = 17;
// Replaces key-coloured pixels (colour bytes 0xFF00FF, any alpha) of Dst's
// rectangle R by Src's pixels from P onward. With ImageIndex -1 the key is
// looked for in Dst itself; otherwise in the manager's image ImageIndex from
// the corner HitCode names (HTTOPLEFT and others: top-left; HTTOPRIGHT,
// HTBOTTOMLEFT, HTBOTTOMRIGHT: the corner of that margin).
void FillTransPixels32(TacBitmap* Dst, TacBitmap* Src, const TRect& R, const TPoint& P, Integer ImageIndex,
                       TsSkinManager* Manager, Integer HitCode);
// The lower half of SrcR (a mask, 0 opaque) becomes the alpha of DstR, which
// must be exactly as large as the upper half (otherwise nothing happens).
void ConvertMaskToAlpha(TacBitmap* Dst, TacBitmap* Src, const TRect& DstR, const TRect& SrcR);
