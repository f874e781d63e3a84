// Key pixels and masks: key-coloured pixels filled from another bitmap, a
// mask turned into alpha, the masked copies of skin image pieces and glyphs.
#include "skin/graphics/sAlphaGraph.h"

#include <algorithm>

#include "skin/graphics/acBitmap.h"
#include "skin/graphics/acPaintManager.h"
#include "skin/graphics/acPieceWalk.h"
#include "skin/graphics/acPixelClip.h"
#include "skin/graphics/acPixelRuns.h"
#include "skin/graphics/sGraphUtils.h"
#include "skin/core/acntUtils.h"

namespace {

using acpixel::kColour;
using acpixel::kKeyPixel;

// What a key pixel of a masked copy does on row Y of the destination: take
// the pixel of the ready cache (when that row lies in it), else clear alpha.
acpixel::TKeyFill KeyFillOfRow(const TCacheInfo& CI, const TPixelView32& Cache, int DstX, int DstY) {
  acpixel::TKeyFill key;
  if (!CI.Ready || Cache.Empty()) {
    key.Mode = acpixel::TKeyFill::ClearAlpha;
    return key;
  }
  const int y = DstY + CI.Y;
  if (y < 0 || y >= Cache.Height) return key;  // leave
  key.Mode = acpixel::TKeyFill::FromRow;
  key.Row = Cache.Row(y);
  key.Offset = DstX + CI.X;
  key.Width = Cache.Width;
  return key;
}

void MaskCopy32(const TRect& R1, const TRect& R2, TacBitmap* Bmp1, TacBitmap* Bmp2, const TCacheInfo& CI,
                const TsMaskData& MD, std::uint32_t Alpha) {
  const TPixelView32 d = PixelsOf(Bmp1), s = PixelsOf(Bmp2);
  if (d.Empty() || s.Empty()) return;
  TacPieceWalk w = PlanPieceWalk(R1, R2, d, s, std::min(R1.Width(), R2.Width()), std::min(R1.Height(), R2.Height()));
  if (w.Empty()) return;
  // The mask lies half the image's height below, pulled up so that every
  // mask row is inside the source.
  const int maskTop = std::min(w.SrcY + std::max(HeightOf(MD.SrcRect) / 2, 0), s.Height - w.Rows);
  const TPixelView32 cache = CI.Ready ? PixelsOf(CI.Bmp) : TPixelView32{};
  if (!cache.Empty()) w.Rows = std::min(w.Rows, cache.Height);
  for (int y = 0; y < w.Rows; ++y)
    acpixel::MaskBlendRun(d.Row(w.DstY + y) + w.DstX, s.Row(w.SrcY + y) + w.SrcX, s.Row(maskTop + y) + w.SrcX, w.Cols,
                          Alpha, KeyFillOfRow(CI, cache, w.DstX, w.DstY + y));
}

// The master bitmap's piece through its per-channel mask; key pixels from
// the background (WithBackground) or left.
void MasterCopy(TRect DstR, TRect SrcR, TacBitmap* Bmp, const TCacheInfo& CI, const TsMaskData& MD,
                bool WithBackground) {
  if (!MD.OwnerManager) return;
  const TPixelView32 d = PixelsOf(Bmp), s = PixelsOf(MD.OwnerManager->MasterBitmap.get());
  if (d.Empty() || s.Empty()) return;
  const int offset = std::max(HeightOf(MD.SrcRect) / 2, 0);
  const TacPieceWalk w = PlanPieceWalk(DstR, SrcR, d, s, std::min(DstR.Width(), SrcR.Width()),
                                       std::min(DstR.Height(), SrcR.Height()), {offset, s.Height});
  if (w.Empty()) return;
  const std::uint32_t fill = static_cast<std::uint32_t>(SwapRedBlue(CI.FillColor));
  const bool noFill = CI.FillColor == sFuchsia;
  const TPixelView32 cache = CI.Ready && noFill ? PixelsOf(CI.Bmp) : TPixelView32{};
  for (int y = 0; y < w.Rows; ++y) {
    std::uint32_t* out = d.Row(w.DstY + y) + w.DstX;
    const std::uint32_t* in = s.Row(w.SrcY + y) + w.SrcX;
    const std::uint32_t* mask = s.Row(w.SrcY + offset + y) + w.SrcX;
    const int cy = w.DstY + CI.Y + y, cx = w.DstX + CI.X;
    const std::uint32_t* back = !cache.Empty() && cy >= 0 && cy < cache.Height ? cache.Row(cy) : nullptr;
    for (int x = 0; x < w.Cols; ++x) {
      if (in[x] != kKeyPixel) {
        out[x] = (out[x] & acpixel::kAlpha) | acpixel::ChannelMaskBlend(out[x], in[x], mask[x]);
      } else if (!WithBackground || (noFill && !CI.Ready)) {
        continue;
      } else if (!noFill) {
        out[x] = fill;
      } else if (back && cx + x >= 0 && cx + x < cache.Width) {
        out[x] = back[cx + x];
      }
    }
  }
}

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

// ------------------------------------------------------------ masked copies

void CopyByMask32(TRect R1, TRect R2, TacBitmap* Bmp1, TacBitmap* Bmp2, const TCacheInfo& CI, const TsMaskData& MD) {
  MaskCopy32(R1, R2, Bmp1, Bmp2, CI, MD, 256);
}

void CopyByMask32Ex(TRect R1, TRect R2, TacBitmap* Bmp1, TacBitmap* Bmp2, const TCacheInfo& CI, const TsMaskData& MD,
                    Integer Alpha) {
  MaskCopy32(R1, R2, Bmp1, Bmp2, CI, MD, static_cast<std::uint32_t>(LimitIt(Alpha, 0, 255)));
}

void CopyMasterRect(TRect DstR, TRect SrcR, TacBitmap* Bmp, const TCacheInfo& CI, const TsMaskData& MD) {
  MasterCopy(DstR, SrcR, Bmp, CI, MD, true);
}

void CopyMasterRectA(TRect DstR, TRect SrcR, TacBitmap* Bmp, const TCacheInfo& CI, const TsMaskData& MD) {
  MasterCopy(DstR, SrcR, Bmp, CI, MD, false);
}

// ------------------------------------------------------------ glyphs

void BlendGlyphByMask(TRect R1, TRect R2, TacBitmap* Bmp1, TacBitmap* Bmp2, Integer Mode, const TsMaskData& MD) {
  if (MD.MaskKind == 0) {
    CopyTransRectA(Bmp1, Bmp2, R1.Left, R1.Top, R2, sFuchsia, EmptyCI);
    return;
  }
  if (MD.MaskKind < 0) return;
  const TPixelView32 d = PixelsOf(Bmp1), s = PixelsOf(Bmp2);
  if (d.Empty() || s.Empty()) return;
  const int offset = HeightOf(MD.SrcRect) / (MD.MaskKind + 1);
  // Both rectangles inclusive; a picture of no columns must not run into its mask.
  const TacSpan xs = ClipSpan(std::min(R1.Width(), R2.Width()) + 1, {{R1.Left, d.Width}, {R2.Left, s.Width}});
  const TacSpan ys =
      ClipSpan(std::min(R1.Height(), R2.Height()) + 1, {{R1.Top, d.Height},
                                                         {R2.Top, s.Height},
                                                         {R2.Top + offset, s.Height},
                                                         {R2.Top, MD.Columns < 1 ? offset : s.Height}});
  const std::uint32_t raise = Mode == 1 ? 0 : 100;
  for (int y = ys.First; y < ys.Last; ++y) {
    std::uint32_t* out = d.Row(R1.Top + y) + R1.Left;
    const std::uint32_t* in = s.Row(R2.Top + y) + R2.Left;
    const std::uint32_t* mask = s.Row(R2.Top + offset + y) + R2.Left;
    for (int x = xs.First; x < xs.Last; ++x) {
      const std::uint32_t k = mask[x], m = (k >> 16) & 0xFF;
      if (in[x] == kKeyPixel || m == 255) continue;
      std::uint32_t weights = k;
      if (raise)
        for (int shift = 0; shift < 24; shift += 8) {
          const std::uint32_t c = std::min<std::uint32_t>(((k >> shift) & 0xFF) + raise, 255);
          weights = (weights & ~(0xFFu << shift)) | (c << shift);
        }
      const std::uint32_t a = out[x] >> 24;
      out[x] = acpixel::ChannelMaskBlend(out[x], in[x], weights) | ((a + (((255 - a) * (255 - m)) >> 8)) << 24);
    }
  }
}

void DrawSkinGlyph(TacBitmap* Bmp, TPoint P, Integer State, Integer Mode, const TsMaskData& MD, const TCacheInfo& CI) {
  const int w = WidthOfImage(MD), h = HeightOfImage(MD);
  const int state = std::max(0, std::min<int>(State, MD.Columns - 1));
  // A glyph starting left of or above the bitmap: source and destination
  // both start further in, the window keeping its size.
  const int dx = P.X < 0 ? -P.X : 0, dy = P.Y < 0 ? -P.Y : 0;
  const int left = MD.SrcRect.Left + state * w + dx, top = MD.SrcRect.Top + dy;
  const TRect src = Rect(left, top, left + w - 1, top + h - 1);
  const TRect dst = Rect(P.X + dx, P.Y + dy, P.X + dx + w - 1, P.Y + dy + h - 1);
  if (MD.Bitmap) {
    TacBitmap* own = MD.Bitmap.get();
    if (BitmapWidth(own) < MD.SrcRect.Right || BitmapHeight(own) < MD.SrcRect.Bottom) return;
    BlendGlyphByMask(dst, src, Bmp, own, Mode, MD);
    return;
  }
  if (!MD.OwnerManager || MD.Columns == 0) return;
  TacBitmap* master = MD.OwnerManager->MasterBitmap.get();
  if (MD.MaskKind > 0)
    BlendGlyphByMask(dst, src, Bmp, master, Mode, MD);
  else if (Mode == 1)
    CopyTransRect(Bmp, master, dst.Left, dst.Top, src, sFuchsia, CI, true);
  else
    BlendTransRectangle(Bmp, dst.Left, dst.Top, master, src, 0.5, sFuchsia);
}
