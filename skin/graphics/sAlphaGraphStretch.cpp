// Stretched masked copies: a masked piece of a skin image (its mask a fixed
// number of rows below it) stretched onto a rectangle, for the stretched
// bands of border images. The picture and its mask are first brought to the
// destination's size (resampled with a filter where plain stretching would
// lose detail), then laid pixel by pixel.
#include <algorithm>

#include "skin/core/acntUtils.h"
#include "skin/graphics/acBitmap.h"
#include "skin/graphics/acPixelClip.h"
#include "skin/graphics/acPixelRuns.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

using acpixel::kAlpha;
using acpixel::kColour;

// The three forms differ only in how a picture pixel P meets a destination
// pixel D under the mask K.
enum class TStretchKind { Plain, Alpha32, Alpha32Ex };

struct TStretchForm {
  TStretchKind Kind;
  std::uint32_t A;  // the Ex form's alpha

  // A picture pixel with its mask.
  std::uint32_t Lay(std::uint32_t D, std::uint32_t P, std::uint32_t K) const {
    if (Kind == TStretchKind::Plain) return acpixel::ChannelMaskBlend(D, P, K) | kAlpha;
    return LayByRed(D, P, (K >> 16) & 0xFF, false);
  }
  // A single pixel of colour C stretched over the rectangle, its mask m.
  std::uint32_t LaySingle(std::uint32_t D, std::uint32_t C, std::uint32_t m) const {
    if (Kind == TStretchKind::Plain) return (D & kAlpha) | acpixel::Mix(D, m, C, 256 - m);
    return LayByRed(D, C, m, true);
  }

 private:
  // The 32-bit forms, m the mask's red byte (0 and 255 are handled by the caller
  // for the single pixel).
  std::uint32_t LayByRed(std::uint32_t D, std::uint32_t P, std::uint32_t m, bool single) const {
    if (m == 255) return D;
    if (m == 0) return single ? (P & kColour) | kAlpha : P | kAlpha;
    const std::uint32_t da = D >> 24, alpha = std::max(da, 255 - m) << 24;
    if (Kind == TStretchKind::Alpha32Ex) {
      const std::uint32_t w = ((255 - m) * A) >> 8;
      return single ? acpixel::Mix(D, 255 - w, P, w) | alpha : acpixel::Mix(D, std::min(255 - w, da), P, w) | alpha;
    }
    const std::uint32_t k = std::min(m, da);
    return acpixel::Mix(D, k, P, 255 - k) | alpha;
  }
};

// The destination rectangle cut to Dst: the run of columns and rows of the
// piece that lie inside it.
struct TStretchCut {
  TacSpan Cols, Rows;
};

// Src's rectangle (X, Y, W, H) brought to Width x Height in Out: resampled
// with Filter through a copy at least 2 x 2 (a single column or row doubled),
// or stretched pixel for pixel.
void SizePiece(TacBitmap* Out, int Width, int Height, TacBitmap* Src, int X, int Y, int W, int H, bool Resample,
               TFilterType Filter) {
  if (!Resample) {
    StretchCopy(Out, 0, 0, Width, Height, Src, X, Y, W, H);
    return;
  }
  std::unique_ptr<TacBitmap> piece = CreateBmp32(std::max(W, 2), std::max(H, 2));
  BlockCopy(piece.get(), 0, 0, W, H, Src, X, Y);
  if (W == 1) BlockCopy(piece.get(), 1, 0, 1, std::max(H, 2), piece.get(), 0, 0);
  if (H == 1) BlockCopy(piece.get(), 0, 1, std::max(W, 2), 1, piece.get(), 0, 0);
  Stretch(piece.get(), Out, Width, Height, Filter, 0);
}

void StretchMasked(Integer DX, Integer DY, Integer DW, Integer DH, Integer SX, Integer SY, Integer SW, Integer SH,
                   TacBitmap* Dst, TacBitmap* Src, Integer MaskOffset, bool Smooth, const TStretchForm& Form) {
  const TPixelView32 d = PixelsOf(Dst), s = PixelsOf(Src);
  if (DX < 0 || DY < 0 || DW < 1 || DH < 1 || d.Width < 2 || d.Height < 2) return;
  if (MaskOffset == 0) {
    StretchCopy(Dst, DX, DY, DW, DH, Src, SX, SY, SW, SH);
    return;
  }
  if (s.Empty() || SX < 0 || SY < 0 || SW < 1 || SH < 1 || SX + SW > s.Width || SY + SH > s.Height) return;
  const TStretchCut cut{ClipSpan(DW, {{DX, d.Width}}), ClipSpan(DH, {{DY, d.Height}})};
  if (cut.Cols.Empty() || cut.Rows.Empty()) return;

  if (SW == 1 && SH == 1 && Smooth) {
    if (SY + MaskOffset < 0 || SY + MaskOffset >= s.Height) return;
    const std::uint32_t c = s.At(SX, SY), m = (s.At(SX, SY + MaskOffset) >> 16) & 0xFF;
    if (m == 255) return;
    for (int y = cut.Rows.First; y < cut.Rows.Last; ++y) {
      std::uint32_t* row = d.Row(DY + y) + DX;
      for (int x = cut.Cols.First; x < cut.Cols.Last; ++x)
        row[x] = m == 0 ? (c & kColour) | kAlpha : Form.LaySingle(row[x], c, m);
    }
    return;
  }

  std::unique_ptr<TacBitmap> picture = CreateBmp32(DW, DH), mask = CreateBmp32(DW, DH);
  const bool shrinksOneWay = (SW > DW && SH == DH) || (SW == DW && SH > DH);
  const bool resample = (shrinksOneWay || Smooth) && DW > 1 && DH > 1;
  const TFilterType maskFilter = Form.Kind == TStretchKind::Plain ? ftMitchell : ftHermite;
  SizePiece(picture.get(), DW, DH, Src, SX, SY, SW, SH, resample, ftMitchell);
  SizePiece(mask.get(), DW, DH, Src, SX, SY + MaskOffset, SW, SH, resample, maskFilter);
  const TPixelView32 p = PixelsOf(picture.get()), k = PixelsOf(mask.get());
  if (p.Width != DW || p.Height != DH || k.Width != DW || k.Height != DH) return;
  for (int y = cut.Rows.First; y < cut.Rows.Last; ++y) {
    std::uint32_t* row = d.Row(DY + y) + DX;
    const std::uint32_t *pr = p.Row(y), *kr = k.Row(y);
    for (int x = cut.Cols.First; x < cut.Cols.Last; ++x) row[x] = Form.Lay(row[x], pr[x], kr[x]);
  }
}

}  // namespace

void StretchBltMask(Integer DstX, Integer DstY, Integer DstW, Integer DstH, Integer SrcX, Integer SrcY, Integer SrcW,
                    Integer SrcH, TacBitmap* Dst, TacBitmap* Src, Integer MaskOffset, bool Smooth) {
  StretchMasked(DstX, DstY, DstW, DstH, SrcX, SrcY, SrcW, SrcH, Dst, Src, MaskOffset, Smooth,
                TStretchForm{TStretchKind::Plain, 0});
}

void StretchBltMask32(Integer DstX, Integer DstY, Integer DstW, Integer DstH, Integer SrcX, Integer SrcY,
                      Integer SrcW, Integer SrcH, TacBitmap* Dst, TacBitmap* Src, Integer MaskOffset, bool Smooth) {
  StretchMasked(DstX, DstY, DstW, DstH, SrcX, SrcY, SrcW, SrcH, Dst, Src, MaskOffset, Smooth,
                TStretchForm{TStretchKind::Alpha32, 0});
}

void StretchBltMask32Ex(Integer DstX, Integer DstY, Integer DstW, Integer DstH, Integer SrcX, Integer SrcY,
                        Integer SrcW, Integer SrcH, TacBitmap* Dst, TacBitmap* Src, Integer MaskOffset, Integer Alpha,
                        bool Smooth) {
  StretchMasked(DstX, DstY, DstW, DstH, SrcX, SrcY, SrcW, SrcH, Dst, Src, MaskOffset, Smooth,
                TStretchForm{TStretchKind::Alpha32Ex, static_cast<std::uint32_t>(LimitIt(Alpha, 0, 255))});
}
