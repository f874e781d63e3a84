// The skin bitmap's operations that are the same on every platform.
#include "skin/graphics/acBitmap.h"

#include <algorithm>
#include <cstring>

TacRows32::TacRows32(TacBitmap* bmp) {
  if (!Bitmap32(bmp) || !BitmapRows(bmp, First, Delta)) {
    First = nullptr;
    return;
  }
  Width = BitmapWidth(bmp);
  Height = BitmapHeight(bmp);
}

std::unique_ptr<TacBitmap> CloneBitmap32(TacBitmap* bmp) {
  TacRows32 src(bmp);
  if (!src.Valid()) return nullptr;
  auto out = NewBitmap32(src.Width, src.Height);
  CopyPixels32(out.get(), 0, 0, bmp, Rect(0, 0, src.Width, src.Height));
  return out;
}

void CopyPixels32(TacBitmap* dst, int x, int y, TacBitmap* src, const TRect& r) {
  TacRows32 d(dst), s(src);
  if (!d.Valid() || !s.Valid()) return;
  TRect c{std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, s.Width), std::min(r.Bottom, s.Height)};
  x += c.Left - r.Left;
  y += c.Top - r.Top;
  if (x < 0) {
    c.Left -= x;
    x = 0;
  }
  if (y < 0) {
    c.Top -= y;
    y = 0;
  }
  const int w = std::min(c.Width(), d.Width - x), h = std::min(c.Height(), d.Height - y);
  if (w <= 0 || h <= 0) return;
  for (int row = 0; row < h; ++row)
    std::memmove(d.Row(y + row) + x, s.Row(c.Top + row) + c.Left, static_cast<size_t>(w) * 4);
}
