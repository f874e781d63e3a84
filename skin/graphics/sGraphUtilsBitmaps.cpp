// Making skin bitmaps and mixing colours.
#include <algorithm>
#include <cmath>

#include "skin/graphics/sGraphUtils.h"

namespace {
inline Byte ByteOf(TColor c, int n) { return static_cast<Byte>(static_cast<Cardinal>(c) >> (8 * n)); }
inline TColor FromBytes(Byte b0, Byte b1, Byte b2) {
  return static_cast<TColor>(Cardinal(b0) | (Cardinal(b1) << 8) | (Cardinal(b2) << 16));
}
inline Byte Average(Byte a, Byte b) { return static_cast<Byte>((a * 127 + b * 129) >> 8); }
}  // namespace

std::unique_ptr<TacBitmap> CreateBmp24(Integer Width, Integer Height) { return NewBitmap32(Width, Height); }

std::unique_ptr<TacBitmap> CreateBmpLike(TacBitmap* Bmp) {
  return NewBitmap(BitmapFormat(Bmp), BitmapWidth(Bmp), BitmapHeight(Bmp));
}

std::unique_ptr<TacBitmap> CreateAlphaBmp(TacBitmap* Bmp, const TRect& R) {
  const int w = std::max(R.Width(), 0), h = std::max(R.Height(), 0) / 2;
  if (w == 0 || h == 0) return nullptr;
  std::unique_ptr<TacBitmap> out = CreateBmp32(w, h);
  BlockCopy(out.get(), 0, 0, w, h, Bmp, R.Left, R.Top);
  const TPixelView32 dst = PixelsOf(out.get()), src = PixelsOf(Bmp);
  if (dst.Empty()) return out;
  for (int y = 0; y < h; ++y) {
    const int maskY = R.Top + h + y;
    std::uint32_t* row = dst.Row(y);
    for (int x = 0; x < w; ++x) {
      const int maskX = R.Left + x;
      if (!src.Inside(maskX, maskY)) continue;  // no mask there: the pixel stays as copied
      const Byte red = static_cast<Byte>(src.At(maskX, maskY) >> 16);
      row[x] = (row[x] & 0x00FFFFFFu) | (std::uint32_t(255 - red) << 24);
    }
  }
  return out;
}

TColor ChangeColor(TColor Color1, TColor Color2, double W) {
  auto change = [&](int n) {
    const double c1 = ByteOf(Color1, n), c2 = ByteOf(Color2, n);
    return static_cast<Byte>(std::clamp(std::trunc(c1 - (c1 - c2) * W), 0.0, 255.0));
  };
  return FromBytes(change(0), change(1), change(2));
}

TsColor AverageColor(TsColor ColorBegin, TsColor ColorEnd) {
  TsColor out;
  out.I.B = Average(ColorBegin.I.B, ColorEnd.I.B);
  out.I.G = Average(ColorBegin.I.G, ColorEnd.I.G);
  out.I.R = Average(ColorBegin.I.R, ColorEnd.I.R);
  out.I.A = 0;
  return out;
}

TColor AverageColor(TColor ColorBegin, TColor ColorEnd) {
  return FromBytes(Average(ByteOf(ColorBegin, 0), ByteOf(ColorEnd, 0)), Average(ByteOf(ColorBegin, 1), ByteOf(ColorEnd, 1)),
                   Average(ByteOf(ColorBegin, 2), ByteOf(ColorEnd, 2)));
}
