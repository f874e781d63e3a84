// The skin bitmap's operations that are the same on every platform.
#include "skin/graphics/acBitmap.h"

#include <algorithm>
#include <cstring>

TPixelView32 PixelsOf(TacBitmap* bmp) { return Bitmap32(bmp) ? bmp->PixelView() : TPixelView32{}; }

std::unique_ptr<TacBitmap> CloneBitmap32(TacBitmap* bmp) {
  const TPixelView32 src = PixelsOf(bmp);
  if (src.Empty()) return nullptr;
  auto out = NewBitmap32(src.Width, src.Height);
  CopyPixels32(out.get(), 0, 0, bmp, Rect(0, 0, src.Width, src.Height));
  return out;
}

void CopyPixels32(TacBitmap* dst, int x, int y, TacBitmap* src, const TRect& r) {
  const TPixelView32 d = PixelsOf(dst), s = PixelsOf(src);
  if (d.Empty() || s.Empty()) return;
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
  // Whole images of rows without padding, laid out alike: one copy.
  const std::ptrdiff_t packed = static_cast<std::ptrdiff_t>(d.Width) * 4;
  if (x == 0 && y == 0 && c.Left == 0 && c.Top == 0 && w == d.Width && w == s.Width && h == d.Height &&
      h == s.Height && d.Delta == s.Delta && (d.Delta == packed || d.Delta == -packed)) {
    const int last = d.Delta > 0 ? 0 : h - 1;
    std::memmove(d.Row(last), s.Row(last), static_cast<size_t>(packed) * static_cast<size_t>(h));
    return;
  }
  for (int row = 0; row < h; ++row)
    std::memmove(d.Row(y + row) + x, s.Row(c.Top + row) + c.Left, static_cast<size_t>(w) * 4);
}
