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

// ------------------------------------------------------------ masked copies and glyphs
//
// Images of the skin come with key-colour transparency (pixels 0x00FF00FF
// are holes) or with a mask that lies below the pictures in the same bitmap
// (mask value m, the red byte, 0 opaque to 255 transparent). The copies
// below put such pieces into 32-bit bitmaps. Where a key pixel takes the
// parent's background from a TCacheInfo, a background pixel outside the
// cache's bitmap leaves the destination pixel.

// The corners of a control's border image.
DK_ENUM(TsCorner, scLeftTop, scLeftBottom, scRightTop, scRightBottom);
using TsCorners = TSet<TsCorner>;

// Src's rectangle R2 through its mask (half the height of MD's SrcRect below
// it) onto Dst's R1, walking the smaller of the two and cutting it to both
// bitmaps: colours (D * m + S * (255 - m)) shr 8, alpha max(D's, 255 - m); a
// key pixel of the source takes the pixel of CI's bitmap at (destination + X,
// + Y) when CI is ready, else clears the destination's alpha. With a ready
// cache the rows are also limited to its height.
void CopyByMask32(TRect R1, TRect R2, TacBitmap* Bmp1, TacBitmap* Bmp2, const TCacheInfo& CI, const TsMaskData& MD);
// The same with the source weighted by Alpha (0..255): w = ((255 - m) *
// Alpha) shr 8, colours (D * (255 - w) + S * w) shr 8.
void CopyByMask32Ex(TRect R1, TRect R2, TacBitmap* Bmp1, TacBitmap* Bmp2, const TCacheInfo& CI, const TsMaskData& MD,
                    Integer Alpha);
// A masked piece of Src (its mask MaskOffset rows below it) stretched onto
// Dst's rectangle; channels (D * K + P * (256 - K)) shr 8 each with its mask
// channel, alpha 255. A mask offset of 0 is a plain stretch. A 1 x 1 smooth
// source fills (mask 0), leaves (255) or blends its colour. Pieces that
// shrink along one side only, or are smooth, are resampled (Mitchell filter);
// others stretched pixel for pixel. Cut to Dst.
void StretchBltMask(Integer DstX, Integer DstY, Integer DstW, Integer DstH, Integer SrcX, Integer SrcY, Integer SrcW,
                    Integer SrcH, TacBitmap* Dst, TacBitmap* Src, Integer MaskOffset, bool Smooth);
// The same for painting that keeps alpha: mask 0 copies the picture pixel
// with alpha 255, 255 leaves the destination, m between weighs the
// destination by k = min(m, its alpha): (D * k + P * (255 - k)) shr 8, alpha
// max(D's, 255 - m). The mask is resampled with the Hermite filter.
void StretchBltMask32(Integer DstX, Integer DstY, Integer DstW, Integer DstH, Integer SrcX, Integer SrcY,
                      Integer SrcW, Integer SrcH, TacBitmap* Dst, TacBitmap* Src, Integer MaskOffset, bool Smooth);
// The same with the picture weighted by Alpha (0..255) where 0 < m < 255:
// w = ((255 - m) * Alpha) shr 8, k = min(255 - w, D's alpha), colours
// (D * k + P * w) shr 8.
void StretchBltMask32Ex(Integer DstX, Integer DstY, Integer DstW, Integer DstH, Integer SrcX, Integer SrcY,
                        Integer SrcW, Integer SrcH, TacBitmap* Dst, TacBitmap* Src, Integer MaskOffset, Integer Alpha,
                        bool Smooth);
// One state picture of a glyph image with its top-left corner at P (a state
// beyond the image's columns draws the last one). Mode 1 draws it normally;
// any other mode dims it (key-colour glyphs at half strength, masked glyphs
// with the mask raised by 100).
void DrawSkinGlyph(TacBitmap* Bmp, TPoint P, Integer State, Integer Mode, const TsMaskData& MD, const TCacheInfo& CI);
// A glyph through its mask row (HeightOf(MD.SrcRect) div (MaskKind + 1)
// below it) from Src's R2 onto Dst's R1, both with right and bottom
// inclusive, cut to both bitmaps. Key pixels and mask 255 leave the
// destination; mode 1: channels (D * K + S * (256 - K)) shr 8 each with its
// mask channel; other modes raise the mask by 100 (at most 255). Alpha grows
// by ((255 - alpha) * (255 - m)) shr 8. A key-colour image is a key copy.
void BlendGlyphByMask(TRect R1, TRect R2, TacBitmap* Bmp1, TacBitmap* Bmp2, Integer Mode, const TsMaskData& MD);
#ifdef _WIN32
class TsCommonData;
class TControl;
// The key pixels of the border image's corners in the skin state's cache
// take the background of the owner's parent (its image, else its colour),
// for a border image with key pixels in its corners.
void UpdateCorners(TsCommonData* SkinData, Integer State, TsCorners Corners);
// The disabled look of a control's image: grey (by DefDisabledSaturation) and
// blended with the background under it (CI at the control's place Offset,
// else the parent's colour), keeping DefDisabledBlend of the image.
void BmpDisabledKind(TacBitmap* Bmp, TsDisabledKind DisabledKind, TControl* Parent, const TCacheInfo& CI,
                     const TPoint& Offset);
#endif

// ------------------------------------------------------------ nine-part borders
//
// A border image is cut into nine pieces by its four margins: corners copied
// one to one, edges and centre (with FillMode bit 2) tiled or (bit 0)
// stretched; FillMode bit 1: nothing for state 0. Margins too wide for the
// rectangle are cut, the odd pixel off the right (bottom) one. Pieces reaching
// past a bitmap are cut to it.

// Nine-part drawing; with UpdateCorners and an image whose CornerKind is
// above 0, key and masked corner pixels take the parent's background.
void DrawSkinRect(TacBitmap* Bmp, const TRect& R, const TCacheInfo& CI, const TsMaskData& MD, Integer State,
                  bool UpdateCorners);
// The same for painting that keeps alpha: key-colour corners always take the
// background, masked pieces go through CopyByMask32 and StretchBltMask32.
void DrawSkinRect32(TacBitmap* Bmp, const TRect& R, const TCacheInfo& CI, const TsMaskData& MD, Integer State);
// The 32-bit drawing of a masked image with its edge strips limited to the
// margin limits (Left, Top, Right, Bottom of Limits), Alpha (0..255) applied
// to every piece and no centre; a key-colour image draws as DrawSkinRect32.
void DrawSkinRect32Ex(TacBitmap* Bmp, const TRect& R, const TCacheInfo& CI, const TsMaskData& MD, Integer State,
                      const TRect& Limits, Integer Alpha);
// Nine-part drawing with the margins of a three-by-three grid of the picture,
// for images of the master bitmap only.
void DrawSmallSkinRect(TacBitmap* Bmp, const TRect& R, const TCacheInfo& CI, const TsMaskData& MD, Integer State);
// A masked piece of the master bitmap: SrcR onto Bmp's DstR through the mask
// (half the height of MD's SrcRect below), channels (D * K + S * (256 - K))
// shr 8 each with its mask channel, alpha left. Key pixels take CI's
// background (when ready and its FillColor is 0xFF00FF) or the fill colour.
void CopyMasterRect(TRect DstR, TRect SrcR, TacBitmap* Bmp, const TCacheInfo& CI, const TsMaskData& MD);
// The same leaving key pixels untouched.
void CopyMasterRectA(TRect DstR, TRect SrcR, TacBitmap* Bmp, const TCacheInfo& CI, const TsMaskData& MD);

// ------------------------------------------------------------ 32-bit sections and text
//
// The section painters' counterparts that keep alpha (for layered windows).

// The section's background and border into R of a 32-bit bitmap; a state at
// or beyond the section's state count paints as its last. Nothing unless R
// lies inside the bitmap. Over the whole bitmap the result is premultiplied.
// The filling flag and the offset are not used.
void PaintItem32(Integer SkinIndex, bool Filling, Integer State, const TRect& R, const TPoint& Offset, TacBitmap* Bmp,
                 TsSkinManager* SkinManager = nullptr);
// The background of look State (0 normal, 1 hot) into R, with alpha: a plain
// colour of transparency T over transparent black gets alpha
// (100 - T) * 255 div 100, over other pixels moves them (100 - T) % toward the
// colour; a look of transparency 100 leaves R (a bitmap exactly R's size
// becomes transparent black). A custom colour other than 0xFF00FF paints
// that colour opaque.
void PaintItemBG32(Integer SkinIndex, Integer State, const TRect& R, TacBitmap* Bmp, TsSkinManager* SkinManager,
                   TColor CustomColor = sFuchsia);
#ifdef _WIN32
// Text (8-bit, zero-terminated) in the section's font colour into R of the
// bitmap, first in its four outline colours (those that are not -1), each
// one pixel to the left, up, right and down, when Outline is set; with no
// manager or section, in the colour of the bitmap's canvas font. The
// bitmap's font draws it (by the platform's DrawText when PlainDraw); every
// pixel the text touches becomes opaque. R is not changed.
void WriteText32(TacBitmap* Bmp, const char* Text, bool Outline, TRect& R, Cardinal Flags, Integer SkinIndex,
                 bool Hot, TsSkinManager* SkinManager = nullptr, bool PlainDraw = false);
#endif
