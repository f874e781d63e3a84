// The skin bitmap where there is no Windows: a pixel buffer, rows top-down.
// Block copies, stretches and fills are written out here as the platform
// does them.
#include "skin/graphics/acBitmap.h"

#include <algorithm>

#include "skin/graphics/acPixelBuffer.h"
#include "skin/graphics/acSysColors.h"

int BitmapWidth(const TacBitmap* bmp) { return bmp ? bmp->Width() : 0; }
int BitmapHeight(const TacBitmap* bmp) { return bmp ? bmp->Height() : 0; }
bool Bitmap32(const TacBitmap* bmp) { return bmp && bmp->PixelFormat() == pf32bit; }
TPixelFormat BitmapFormat(const TacBitmap* bmp) { return bmp ? bmp->PixelFormat() : pfDevice; }

bool BitmapRows(TacBitmap* bmp, Byte*& first, std::ptrdiff_t& delta) {
  if (!bmp || bmp->Empty()) return false;
  bmp->InitLine(first, delta);
  return true;
}

std::unique_ptr<TacBitmap> NewBitmap32(int width, int height) { return NewBitmap(pf32bit, width, height); }

std::unique_ptr<TacBitmap> NewBitmap(TPixelFormat pf, int width, int height) {
  auto out = std::make_unique<TacPixelBuffer>();
  if (width > 0 && height > 0) out->Setup(pf, width, height);
  if (pf == pf8bit) {
    out->Palette.resize(256);
    for (int i = 0; i < 256; ++i) {
      const Byte v = static_cast<Byte>(i);
      out->Palette[static_cast<size_t>(i)] = TacPaletteEntry{v, v, v, 0};
    }
  }
  return out;
}

std::unique_ptr<TacBitmap> BitmapFromBuffer(const TacPixelBuffer& buffer, std::unique_ptr<TacBitmap> reuse) {
  if (buffer.Empty()) return nullptr;
  std::unique_ptr<TacBitmap> out = reuse ? std::move(reuse) : std::make_unique<TacPixelBuffer>();
  *out = buffer;
  out->ConvertTo32();
  return out;
}

void SetTransparentKey(TacBitmap*, TColor) {}

void BlockCopy(TacBitmap* dst, int x, int y, int w, int h, TacBitmap* src, int sx, int sy) {
  if (w <= 0 || h <= 0) return;
  CopyPixels32(dst, x, y, src, Bounds(sx, sy, w, h));
}

void StretchCopy(TacBitmap* dst, int x, int y, int w, int h, TacBitmap* src, int sx, int sy, int sw, int sh) {
  const TPixelView32 d = PixelsOf(dst), s = PixelsOf(src);
  if (d.Empty() || s.Empty() || w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
  for (int row = std::max(0, -y); row < h && y + row < d.Height; ++row) {
    const int srcY = sy + static_cast<int>(static_cast<long long>(row) * sh / h);
    if (srcY < 0 || srcY >= s.Height) continue;
    std::uint32_t* out = d.Row(y + row);
    const std::uint32_t* in = s.Row(srcY);
    for (int col = std::max(0, -x); col < w && x + col < d.Width; ++col) {
      const int srcX = sx + static_cast<int>(static_cast<long long>(col) * sw / w);
      if (srcX >= 0 && srcX < s.Width) out[x + col] = in[srcX];
    }
  }
}

void FillBitmapRect(TacBitmap* bmp, const TRect& r, TColor color) {
  if (!bmp || bmp->Empty()) return;
  const TColor rgb = acColorToRGB(color);
  const Byte red = static_cast<Byte>(rgb), green = static_cast<Byte>(rgb >> 8), blue = static_cast<Byte>(rgb >> 16);
  const int bytes = bmp->PixelFormat() == pf32bit ? 4 : bmp->PixelFormat() == pf24bit ? 3 : 0;
  if (bytes == 0) return;
  for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, bmp->Height()); ++y) {
    Byte* row = bmp->ScanLine(y);
    for (int x = std::max(r.Left, 0); x < std::min(r.Right, bmp->Width()); ++x) {
      Byte* p = row + bytes * x;
      p[0] = blue;
      p[1] = green;
      p[2] = red;
      if (bytes == 4) p[3] = 0;
    }
  }
}

void MakeBitmap32(TacBitmap* bmp) {
  if (bmp) bmp->ConvertTo32();
}

void SizeBitmap32(TacBitmap* bmp, int width, int height) {
  if (!bmp) return;
  if (width < 1 || height < 1) {
    bmp->Release();
    return;
  }
  if (bmp->PixelFormat() != pf32bit || bmp->Width() != width || bmp->Height() != height)
    bmp->Setup(pf32bit, width, height);
}

void AssignBitmap(TacBitmap* dst, TacBitmap* src) {
  if (dst != src) *dst = *src;
}
