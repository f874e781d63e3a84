// Gray scales, tints and weighted blends of whole 32-bit bitmaps and of
// their rectangles.
#include <algorithm>
#include <cmath>

#include "skin/graphics/sGraphUtils.h"
#include "skin/graphics/sGraphUtilsPixels.h"

using namespace gutils;

namespace {
inline Byte GrayOf(std::uint32_t p) { return static_cast<Byte>((Channel(p, 0) + Channel(p, 1) + Channel(p, 2)) / 3); }
inline std::uint32_t Gray(std::uint32_t p) {
  const std::uint32_t g = GrayOf(p);
  return (p & 0xFF000000u) | (g << 16) | (g << 8) | g;
}
inline Byte Clamp255(double v) { return static_cast<Byte>(std::clamp(v, 0.0, 255.0)); }

// Each colour channel of P through F(channel, colour's channel); alpha kept.
template <class Fn>
std::uint32_t PerChannel(std::uint32_t P, std::uint32_t C, Fn F) {
  std::uint32_t out = P & 0xFF000000u;
  for (int n = 0; n < 3; ++n) out |= std::uint32_t(F(Channel(P, n), Channel(C, n), n)) << (8 * n);
  return out;
}

bool SameSize(const TPixelView32& a, const TPixelView32& b) { return a.Width == b.Width && a.Height == b.Height; }
}  // namespace

void GrayScale(TacBitmap* Bmp) {
  const TPixelView32 v = PixelsOf(Bmp);
  for (int y = 0; y < v.Height; ++y) {
    std::uint32_t* row = v.Row(y);
    for (int x = 0; x < v.Width; ++x) row[x] = Gray(row[x]);
  }
}

void GrayScaleTrans(TacBitmap* Bmp, TsColor TransColor) {
  const TPixelView32 v = PixelsOf(Bmp);
  for (int y = 0; y < v.Height; ++y) {
    std::uint32_t* row = v.Row(y);
    for (int x = 0; x < v.Width; ++x)
      if (row[x] != TransColor.C) row[x] = Gray(row[x]);
  }
}

void BlendTransRectangle(TacBitmap* Dst, Integer X, Integer Y, TacBitmap* Src, TRect SrcRect, double Blend,
                         TColor TransColor) {
  const TPixelView32 d = PixelsOf(Dst), s = PixelsOf(Src);
  if (d.Empty() || s.Empty()) return;
  const TacPieceWalk a = InclusiveArea(d, X, Y, s, SrcRect);
  const std::uint32_t key = static_cast<std::uint32_t>(TransColor);
  auto blend = [Blend](Byte dc, Byte sc, int) { return Clamp255(std::trunc(sc - (sc - dc) * Blend)); };
  WalkPixels(d, s, a, [&](std::uint32_t& out, std::uint32_t in, int, int) {
    if (in != key) out = PerChannel(out, in, blend);
  });
}

void BlendTransBitmap(TacBitmap* Bmp, double Blend, TColor Color) {
  const TPixelView32 v = PixelsOf(Bmp);
  const std::uint32_t c = ColorPixel(Color);
  auto pull = [Blend](Byte pc, Byte cc, int) { return Clamp255(std::trunc((pc - cc) * Blend + cc)); };
  for (int y = 0; y < v.Height; ++y) {
    std::uint32_t* row = v.Row(y);
    for (int x = 0; x < v.Width; ++x)
      if (row[x] != kKeyPixel) row[x] = PerChannel(row[x], c, pull);
  }
}

void BlendBmpByMask(TacBitmap* SrcBmp, TacBitmap* MskBmp, TColor BlendColor) {
  const TPixelView32 v = PixelsOf(SrcBmp), m = PixelsOf(MskBmp);
  if (v.Empty() || !SameSize(v, m)) return;
  const std::uint32_t c = ColorPixel(BlendColor);
  for (int y = 0; y < v.Height; ++y) {
    std::uint32_t* row = v.Row(y);
    const std::uint32_t* mask = m.Row(y);
    for (int x = 0; x < v.Width; ++x) {
      const std::uint32_t mp = mask[x];
      row[x] = PerChannel(row[x], c, [mp](Byte pc, Byte cc, int n) {
        const int w = Channel(mp, n);
        return static_cast<Byte>((pc * w + cc * (256 - w)) >> 8);
      });
    }
  }
}

void SumBitmaps(TacBitmap* Dst, TacBitmap* Src, Integer W) {
  const TPixelView32 d = PixelsOf(Dst), s = PixelsOf(Src);
  if (d.Empty() || !SameSize(d, s)) return;
  const std::uint32_t w = static_cast<std::uint32_t>(std::clamp(W, 0, 256));
  // Rows without padding and laid out alike in both: one run over all of
  // them (small images, such as a button's fade frames, pay per row).
  const std::ptrdiff_t packed = static_cast<std::ptrdiff_t>(d.Width) * 4;
  if (d.Delta == s.Delta && (d.Delta == packed || d.Delta == -packed)) {
    const int last = d.Delta > 0 ? 0 : d.Height - 1;
    BlendRowKeepAlpha(d.Row(last), s.Row(last), d.Width * d.Height, w);
    return;
  }
  for (int y = 0; y < d.Height; ++y) BlendRowKeepAlpha(d.Row(y), s.Row(y), d.Width, w);
}

void SumBmpRect(TacBitmap* Dst, TacBitmap* Src, Integer W, TRect R, TPoint DstPoint) {
  const TPixelView32 d = PixelsOf(Dst), s = PixelsOf(Src);
  if (d.Empty() || s.Empty()) return;
  // A negative start on either side moves both starts by as much.
  auto shift = [](Integer& Negative, Integer& Other) {
    if (Negative >= 0) return;
    Other -= Negative;
    Negative = 0;
  };
  shift(DstPoint.X, R.Left);
  shift(DstPoint.Y, R.Top);
  shift(R.Left, DstPoint.X);
  shift(R.Top, DstPoint.Y);
  if (R.Left >= R.Right || R.Top >= R.Bottom || !d.Inside(DstPoint.X, DstPoint.Y) || !s.Inside(R.Left, R.Top)) return;
  // From here on R's right and bottom are inclusive.
  R.Right = std::min(R.Right, s.Width - 1);
  R.Bottom = std::min(R.Bottom, s.Height - 1);
  R.Right = std::min(R.Right, d.Width - 1 - DstPoint.X + R.Left);
  R.Bottom = std::min(R.Bottom, d.Height - 1 - DstPoint.Y + R.Top);
  const std::uint32_t w = static_cast<std::uint32_t>(std::clamp(W, 0, 256));
  for (int y = R.Top; y <= R.Bottom; ++y)
    BlendRowKeepAlpha(d.Row(DstPoint.Y + y - R.Top) + DstPoint.X, s.Row(y) + R.Left, R.Right - R.Left + 1, w);
}

void SumBitmapsByMask(TacBitmap* OutBmp, TacBitmap* Bmp1, TacBitmap* Bmp2, TacBitmap* MskBmp, Integer W) {
  const TPixelView32 o = PixelsOf(OutBmp), a = PixelsOf(Bmp1), b = PixelsOf(Bmp2), m = PixelsOf(MskBmp);
  if (o.Empty() || a.Empty() || !SameSize(a, b)) return;
  if (MskBmp && m.Empty()) return;
  int w = std::min(o.Width, a.Width), h = std::min(o.Height, a.Height);
  if (!m.Empty()) {
    w = std::min(w, m.Width);
    h = std::min(h, m.Height);
  }
  const std::uint32_t weight = static_cast<std::uint32_t>(std::clamp(W, 0, 256));
  for (int y = 0; y < h; ++y) {
    std::uint32_t* out = o.Row(y);
    const std::uint32_t *first = a.Row(y), *second = b.Row(y);
    if (m.Empty()) {
      for (int x = 0; x < w; ++x) out[x] = (out[x] & 0xFF000000u) | MixRGB(first[x], second[x], weight);
      continue;
    }
    const std::uint32_t* mask = m.Row(y);
    for (int x = 0; x < w; ++x) {
      const std::uint32_t mp = mask[x], sp = second[x];
      out[x] = (out[x] & 0xFF000000u) | (PerChannel(first[x], 0, [mp, sp](Byte fc, Byte, int n) {
                                           const int mw = Channel(mp, n);
                                           return static_cast<Byte>((fc * mw + Channel(sp, n) * (256 - mw)) >> 8);
                                         }) & 0x00FFFFFFu);
    }
  }
}

void SumByMaskWith32(TacBitmap* Bmp1, TacBitmap* Bmp2, TacBitmap* MskBmp, const TRect& R) {
  const TPixelView32 a = PixelsOf(Bmp1), b = PixelsOf(Bmp2), m = PixelsOf(MskBmp);
  if (a.Empty() || b.Empty() || m.Empty()) return;
  const int right = std::min({R.Right, a.Width, b.Width, m.Width});
  const int bottom = std::min({R.Bottom, a.Height, b.Height, m.Height});
  for (int y = std::max(R.Top, 0); y < bottom; ++y) {
    std::uint32_t* first = a.Row(y);
    const std::uint32_t *second = b.Row(y), *mask = m.Row(y);
    for (int x = std::max(R.Left, 0); x < right; ++x) {
      const std::uint32_t mv = Channel(mask[x], 2), alpha = second[x] >> 24;
      if (mv == 255) continue;
      const std::uint32_t w = mv == 0 ? alpha : ((255 - mv) * alpha) >> 8;
      first[x] = (first[x] & 0xFF000000u) | MixRGB(second[x], first[x], w);
    }
  }
}
