// Key pixels and masks: key-coloured pixels filled from another bitmap, a
// mask turned into alpha.
#include "skin/graphics/sAlphaGraph.h"

#include <algorithm>

#include "skin/graphics/acBitmap.h"
#include "skin/graphics/acPaintManager.h"
#include "skin/graphics/acPixelClip.h"

namespace {
constexpr std::uint32_t kColour = 0x00FFFFFFu;
}  // namespace

void FillTransPixels32(TacBitmap* Dst, TacBitmap* Src, const TRect& R, const TPoint& P, Integer ImageIndex,
                       TsSkinManager* Manager, Integer HitCode) {
  const TPixelView32 d = PixelsOf(Dst), s = PixelsOf(Src);
  if (d.Empty() || s.Empty()) return;
  const int columns = std::min(R.Width(), s.Width - P.X), rows = std::min(R.Height(), s.Height - P.Y);
  // Where the key is looked for: in Dst itself, or in a corner of an image.
  TPixelView32 key = d;
  TPoint origin = R.TopLeft();
  if (ImageIndex != -1) {
    if (!Manager || !Manager->IsValidImgIndex(ImageIndex)) return;
    const TsMaskData& md = Manager->Masks[static_cast<size_t>(ImageIndex)];
    key = PixelsOf(ImageBitmap(md));
    if (key.Empty()) return;
    origin = md.SrcRect.TopLeft();
    if (HitCode == acHTTopRight || HitCode == acHTBottomRight)
      origin.X = md.SrcRect.Left + WidthOfImage(md) - md.MarginRight;
    if (HitCode == acHTBottomLeft || HitCode == acHTBottomRight)
      origin.Y = md.SrcRect.Top + HeightOfImage(md) - md.MarginBottom;
  }
  const TacSpan xs = ClipSpan(columns, {{R.Left, d.Width}, {P.X, s.Width}, {origin.X, key.Width}});
  const TacSpan ys = ClipSpan(rows, {{R.Top, d.Height}, {P.Y, s.Height}, {origin.Y, key.Height}});
  for (int y = ys.First; y < ys.Last; ++y) {
    std::uint32_t* out = d.Row(R.Top + y) + R.Left;
    const std::uint32_t* in = s.Row(P.Y + y) + P.X;
    const std::uint32_t* k = key.Row(origin.Y + y) + origin.X;
    for (int x = xs.First; x < xs.Last; ++x)
      if ((k[x] & kColour) == static_cast<std::uint32_t>(sFuchsia)) out[x] = in[x];
  }
}

void ConvertMaskToAlpha(TacBitmap* Dst, TacBitmap* Src, const TRect& DstR, const TRect& SrcR) {
  const int w = std::max(SrcR.Width(), 0), h = std::max(SrcR.Height(), 0) / 2;
  if (w == 0 || h == 0 || DstR.Width() != w || DstR.Height() != h) return;
  const TPixelView32 d = PixelsOf(Dst), s = PixelsOf(Src);
  if (d.Empty() || s.Empty()) return;
  const TacSpan xs = ClipSpan(w, {{DstR.Left, d.Width}, {SrcR.Left, s.Width}});
  const TacSpan ys = ClipSpan(h, {{DstR.Top, d.Height}, {SrcR.Top + h, s.Height}});
  for (int y = ys.First; y < ys.Last; ++y) {
    std::uint32_t* out = d.Row(DstR.Top + y) + DstR.Left;
    const std::uint32_t* mask = s.Row(SrcR.Top + h + y) + SrcR.Left;
    for (int x = xs.First; x < xs.Last; ++x)
      out[x] = (out[x] & kColour) | ((255 - ((mask[x] >> 16) & 0xFF)) << 24);
  }
}
