// Copies of single colour channels between bitmaps, and whole bitmap copies.
#include <algorithm>

#include "skin/graphics/sGraphUtils.h"

namespace {

inline bool ValidChannel(Integer Channel) { return Channel >= 0 && Channel <= 3; }

// Byte rows of a bitmap of any depth.
struct TByteRows {
  Byte* First = nullptr;
  std::ptrdiff_t Delta = 0;
  int Width = 0, Height = 0;
  explicit TByteRows(TacBitmap* Bmp) {
    if (InitLine(Bmp, First, Delta)) {
      Width = BitmapWidth(Bmp);
      Height = BitmapHeight(Bmp);
    }
  }
  Byte* Row(int y) const { return First + Delta * y; }
};

}  // namespace

void CopyBmp(TacBitmap* Dst, TacBitmap* Src) {
  if (Dst && Src) AssignBitmap(Dst, Src);
}

void CopyChannel32(TacBitmap* Dst, TacBitmap* Src, Integer Channel) {
  const TPixelView32 d = PixelsOf(Dst);
  CopyChannel32(Dst, Src, Channel, Rect(0, 0, d.Width, d.Height), Rect(0, 0, d.Width, d.Height));
}

void CopyChannel32(TacBitmap* Dst, TacBitmap* Src, Integer Channel, const TRect& DstRect, const TRect& SrcRect) {
  const TPixelView32 d = PixelsOf(Dst), s = PixelsOf(Src);
  if (d.Empty() || s.Empty() || !ValidChannel(Channel)) return;
  // Columns and rows of the source rectangle that land inside both bitmaps.
  const int dx = DstRect.Left - SrcRect.Left, dy = DstRect.Top - SrcRect.Top;
  const int x0 = std::max({SrcRect.Left, 0, -dx}), y0 = std::max({SrcRect.Top, 0, -dy});
  const int x1 = std::min({SrcRect.Right, s.Width, d.Width - dx}), y1 = std::min({SrcRect.Bottom, s.Height, d.Height - dy});
  const std::uint32_t mask = 0xFFu << (8 * Channel);
  for (int y = y0; y < y1; ++y) {
    const std::uint32_t* in = s.Row(y);
    std::uint32_t* out = d.Row(y + dy);
    for (int x = x0; x < x1; ++x) out[x + dx] = (out[x + dx] & ~mask) | (in[x] & mask);
  }
}

void CopyChannel(TacBitmap* Bmp32, TacBitmap* Bmp8, Integer Channel, bool ToBmp8) {
  const TPixelView32 wide = PixelsOf(Bmp32);
  const TByteRows narrow(Bmp8);
  if (wide.Empty() || !narrow.First || BitmapFormat(Bmp8) != pf8bit || !ValidChannel(Channel)) return;
  const int w = std::min(wide.Width, narrow.Width), h = std::min(wide.Height, narrow.Height);
  const int shift = 8 * Channel;
  for (int y = 0; y < h; ++y) {
    std::uint32_t* px = wide.Row(y);
    Byte* bytes = narrow.Row(y);
    if (ToBmp8) {
      for (int x = 0; x < w; ++x) bytes[x] = static_cast<Byte>(px[x] >> shift);
    } else {
      const std::uint32_t mask = 0xFFu << shift;
      for (int x = 0; x < w; ++x) px[x] = (px[x] & ~mask) | (std::uint32_t(bytes[x]) << shift);
    }
  }
}
