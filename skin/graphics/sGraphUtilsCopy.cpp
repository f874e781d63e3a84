// Copies between 32-bit bitmaps: with the source alpha, through a mask,
// with a transparent key colour, and turned by 90 degrees.
#include <algorithm>

#include "skin/graphics/sGraphUtils.h"
#include "skin/graphics/sGraphUtilsPixels.h"

using namespace gutils;

namespace {
// D.alpha grows by ((255 - D.alpha) * A) shr 8.
inline std::uint32_t GrowAlpha(std::uint32_t D, std::uint32_t A) {
  const std::uint32_t da = D >> 24;
  return da + (((255 - da) * A) >> 8);
}

// The mask formula: (D * M + S * (256 - M)) shr 8 per colour channel, M the
// mask's same channel; the alpha byte of the result is 0.
inline std::uint32_t ThroughMask(std::uint32_t D, std::uint32_t S, std::uint32_t M) {
  std::uint32_t out = 0;
  for (int n = 0; n < 3; ++n) {
    const std::uint32_t m = Channel(M, n);
    out |= ((Channel(D, n) * m + Channel(S, n) * (256 - m)) >> 8) << (8 * n);
  }
  return out;
}
}  // namespace

void CopyByMask(TRect R1, TRect R2, TacBitmap* Bmp1, TacBitmap* Bmp2, const TCacheInfo& CI, bool UpdateTrans) {
  const TPixelView32 d = PixelsOf(Bmp1), s = PixelsOf(Bmp2);
  if (d.Empty() || s.Empty()) return;
  const TPixelView32 parent = CI.Ready ? PixelsOf(CI.Bmp) : TPixelView32{};
  const TacPieceWalk a = CopyArea(d, R1, s, R2);
  WalkPixels(d, s, a, [&](std::uint32_t& out, std::uint32_t sp, int x, int y) {
    if (CI.Ready && sp == kKeyPixel) {
      std::uint32_t p;
      if (UpdateTrans && ParentPixel(parent, CI, a.DstX + x, a.DstY + y, p)) out = p | 0xFF000000u;
      return;
    }
    const std::uint32_t alpha = sp >> 24;
    out = MixRGB(sp, out, alpha) | ((alpha > 0 ? GrowAlpha(out, alpha) : out >> 24) << 24);
  });
}

void CopyByMask(TRect R1, TRect R2, TacBitmap* Bmp1, TacBitmap* Bmp2, const TCacheInfo& CI, bool UpdateTrans,
                const TsMaskData& MD) {
  const TPixelView32 d = PixelsOf(Bmp1), s = PixelsOf(Bmp2);
  const int maskOffset = MD.SrcRect.Height() / 2;
  if (d.Empty() || s.Empty() || maskOffset < 0) return;
  // Only rows whose mask row lies inside the source are copied.
  TPixelView32 pictures = s;
  pictures.Height -= maskOffset;
  if (pictures.Empty()) return;
  const TPixelView32 parent = CI.Ready ? PixelsOf(CI.Bmp) : TPixelView32{};
  const std::uint32_t fill = ColorPixel(CI.FillColor);
  const TacPieceWalk a = CopyArea(d, R1, pictures, R2);
  for (int y = 0; y < a.Rows; ++y) {
    const std::uint32_t* in = s.Row(a.SrcY + y) + a.SrcX;
    const std::uint32_t* mask = s.Row(a.SrcY + y + maskOffset) + a.SrcX;
    std::uint32_t* out = d.Row(a.DstY + y) + a.DstX;
    for (int x = 0; x < a.Cols; ++x) {
      const bool key = in[x] == kKeyPixel;
      if (key && UpdateTrans) {
        if (!CI.Ready) {
          out[x] = fill;
        } else {
          std::uint32_t p;
          if (ParentPixel(parent, CI, a.DstX + x, a.DstY + y, p)) out[x] = p;
        }
        continue;
      }
      if (key && !CI.Ready) continue;
      const std::uint32_t alpha = CI.Ready ? 255 : out[x] >> 24;
      out[x] = ThroughMask(out[x], in[x], mask[x]) | (alpha << 24);
    }
  }
}

namespace {
// What CopyBmp32 writes: the source colour, or its gray taken toward a tint.
class TTint {
 public:
  explicit TTint(TColor Color) : FOn(Color != clNoColor) {
    if (!FOn) return;
    const std::uint32_t c = ColorPixel(Color);
    const std::uint32_t up = 255 - std::max({Channel(c, 0), Channel(c, 1), Channel(c, 2)});
    for (int n = 0; n < 3; ++n) FColor[n] = Channel(c, n) + up;
  }
  bool On() const { return FOn; }
  std::uint32_t operator()(std::uint32_t S) const {
    if (!FOn) return S;
    const std::uint32_t g = (Channel(S, 0) + Channel(S, 1) + Channel(S, 2)) / 3;
    std::uint32_t out = 0;
    for (int n = 0; n < 3; ++n) out |= std::min<std::uint32_t>(255, g * FColor[n] / 255) << (8 * n);
    return out;
  }

 private:
  bool FOn;
  std::uint32_t FColor[3] = {0, 0, 0};
};

inline std::uint32_t Faded(std::uint32_t Alpha, Integer Blend) {
  return Blend > 0 ? Alpha * static_cast<std::uint32_t>(100 - std::min(Blend, 100)) / 100 : Alpha;
}

// The picture mirrored below the copied area, fading downward.
void DrawReflection(const TPixelView32& d, const TPixelView32& s, const TacPieceWalk& a, int DstBottom, int SrcBottom,
                    const TTint& Tint, Integer Blend) {
  const int n = std::min(d.Height - DstBottom - 1, s.Height / 2 - 1);
  if (n < 1) return;
  const std::uint32_t fall = Tint.On() ? 255 / std::max(s.Height / 2, 1) : 255 / s.Height;
  std::uint32_t f = 255;
  for (int k = 1; k <= n; ++k, f -= std::min(f, fall)) {
    const int sy = SrcBottom - k - 1, dy = DstBottom + k;
    if (sy < 0 || sy >= s.Height || dy < 0 || dy >= d.Height) continue;
    const std::uint32_t* in = s.Row(sy) + a.SrcX;
    std::uint32_t* out = d.Row(dy) + a.DstX;
    for (int x = 0; x < a.Cols; ++x) {
      if (in[x] == kKeyPixel) continue;
      const std::uint32_t alpha =
          Faded((((in[x] >> 24) * static_cast<std::uint32_t>(n - k)) / static_cast<std::uint32_t>(n) * f) >> 9, Blend);
      out[x] = (out[x] & 0xFF000000u) | MixRGB(Tint(in[x]), out[x], alpha);
    }
  }
}
}  // namespace

void CopyBmp32(TRect R1, TRect R2, TacBitmap* Bmp1, TacBitmap* Bmp2, const TCacheInfo& CI, bool UpdateTrans,
               TColor GrayedColor, Integer Blend, bool Reflected) {
  MakeBitmap32(Bmp2);
  const TPixelView32 d = PixelsOf(Bmp1), s = PixelsOf(Bmp2);
  if (d.Empty() || s.Empty()) return;
  const TPixelView32 parent = CI.Ready ? PixelsOf(CI.Bmp) : TPixelView32{};
  const TTint tint(GrayedColor);
  const bool keepMaxAlpha = !tint.On() && Blend <= 0;
  const TacPieceWalk a = CopyArea(d, R1, s, R2);
  WalkPixels(d, s, a, [&](std::uint32_t& out, std::uint32_t sp, int x, int y) {
    if (sp == kKeyPixel) {
      std::uint32_t p;
      if (CI.Ready && UpdateTrans && ParentPixel(parent, CI, a.DstX + x, a.DstY + y, p))
        out = (out & 0xFF000000u) | (p & 0x00FFFFFFu);
      return;
    }
    const std::uint32_t sa = sp >> 24;
    const std::uint32_t da = keepMaxAlpha ? std::max(out >> 24, sa) : out >> 24;
    // An opaque pixel is its colour exactly (the blend would take 1 / 256 off).
    const std::uint32_t alpha = Faded(sa, Blend), color = tint(sp) & 0x00FFFFFFu;
    out = (alpha == 255 ? color : MixRGB(color, out, alpha)) | (da << 24);
  });
  if (Reflected && !a.Empty()) DrawReflection(d, s, a, R1.Bottom, R2.Bottom, tint, Blend);
}

void CopyTransBitmaps(TacBitmap* Dst, TacBitmap* Src, Integer X, Integer Y, TColor TransColor) {
  const TPixelView32 d = PixelsOf(Dst), s = PixelsOf(Src);
  if (d.Empty() || s.Empty()) return;
  const std::uint32_t key = ColorPixel(TransColor);
  const TacPieceWalk a = CopyArea(d, Rect(X, Y, X + s.Width, Y + s.Height), s, Rect(0, 0, s.Width, s.Height));
  WalkPixels(d, s, a, [key](std::uint32_t& out, std::uint32_t in, int, int) {
    if (in != key) out = in | 0xFF000000u;
  });
}

void CopyTransRect(TacBitmap* Dst, TacBitmap* Src, Integer X, Integer Y, TRect SrcRect, TColor TransColor,
                   const TCacheInfo& CI, bool UpdateTrans) {
  const TPixelView32 d = PixelsOf(Dst), s = PixelsOf(Src);
  if (d.Empty() || s.Empty()) return;
  const std::uint32_t key = static_cast<std::uint32_t>(TransColor);
  const TPixelView32 parent = CI.Ready ? PixelsOf(CI.Bmp) : TPixelView32{};
  const bool restore = CI.Ready && UpdateTrans;
  const bool parentIsDst = restore && CI.Bmp == Dst;
  const std::uint32_t fill = ColorPixel(CI.FillColor) & 0x00FFFFFFu;
  const TacPieceWalk a = InclusiveArea(d, X, Y, s, SrcRect);
  WalkPixels(d, s, a, [&](std::uint32_t& out, std::uint32_t in, int x, int y) {
    std::uint32_t p;
    if (in != key)
      out = parentIsDst ? in | 0xFF000000u : in;
    else if (!CI.Ready)
      out = fill;
    else if (restore && !parentIsDst && ParentPixel(parent, CI, a.DstX + x, a.DstY + y, p))
      out = p;
  });
}

void CopyTransRectA(TacBitmap* Dst, TacBitmap* Src, Integer X, Integer Y, TRect SrcRect, TColor TransColor,
                    const TCacheInfo&) {
  const TPixelView32 d = PixelsOf(Dst), s = PixelsOf(Src);
  if (d.Empty() || s.Empty()) return;
  const std::uint32_t key = ColorPixel(TransColor) & 0x00FFFFFFu;
  WalkPixels(d, s, InclusiveArea(d, X, Y, s, SrcRect), [key](std::uint32_t& out, std::uint32_t in, int, int) {
    if (in != key) out = in;
  });
}

std::unique_ptr<TacBitmap> MakeRotated90(std::unique_ptr<TacBitmap>& Bmp, bool CW, bool KillSource) {
  const TPixelView32 s = PixelsOf(Bmp.get());
  if (!Bitmap32(Bmp.get())) return nullptr;
  std::unique_ptr<TacBitmap> out = CreateBmp32(s.Height, s.Width);
  const TPixelView32 d = PixelsOf(out.get());
  for (int y = 0; y < s.Height && !d.Empty(); ++y) {
    const std::uint32_t* in = s.Row(y);
    for (int x = 0; x < s.Width; ++x) {
      if (CW)
        d.At(s.Height - 1 - y, x) = in[x];
      else
        d.At(y, s.Width - 1 - x) = in[x];
    }
  }
  if (KillSource) Bmp.reset();
  return out;
}
