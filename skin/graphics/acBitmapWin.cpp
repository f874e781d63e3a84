// The skin bitmap on Windows: the class library's bitmap as a 32-bit
// device-independent section, rows bottom-up in memory. Copies other than
// between two 32-bit bitmaps, stretches and fills go through the bitmaps'
// device contexts.
#include "skin/graphics/acBitmap.h"

#include <algorithm>
#include <cstring>

#include "classlib/ui/Graphics.h"
#include "classlib/ui/PaintScope.h"
#include "skin/graphics/acPixelBuffer.h"

int BitmapWidth(const TacBitmap* bmp) { return bmp ? bmp->Width() : 0; }
int BitmapHeight(const TacBitmap* bmp) { return bmp ? bmp->Height() : 0; }
bool Bitmap32(const TacBitmap* bmp) { return bmp && bmp->PixelFormat() == pf32bit; }
TPixelFormat BitmapFormat(const TacBitmap* bmp) { return bmp ? bmp->PixelFormat() : pfDevice; }

bool BitmapRows(TacBitmap* bmp, Byte*& first, std::ptrdiff_t& delta) {
  if (!bmp || bmp->Empty() || bmp->Height() < 1) return false;
  first = static_cast<Byte*>(bmp->ScanLine(0));
  delta = -static_cast<std::ptrdiff_t>(bmp->RowBytes());
  return true;
}

std::unique_ptr<TacBitmap> NewBitmap32(int width, int height) { return NewBitmap(pf32bit, width, height); }

std::unique_ptr<TacBitmap> NewBitmap(TPixelFormat pf, int width, int height) {
  auto out = std::make_unique<TBitmap>();
  out->SetPixelFormat(pf);
  if (width > 0 && height > 0) out->SetSize(width, height);
  if (pf == pf8bit && !out->Empty()) {
    RGBQUAD grey[256];
    for (int i = 0; i < 256; ++i) grey[i] = RGBQUAD{Byte(i), Byte(i), Byte(i), 0};
    SetDIBColorTable(out->Canvas()->Handle(), 0, 256, grey);
  }
  return out;
}

std::unique_ptr<TacBitmap> BitmapFromBuffer(const TacPixelBuffer& buffer, std::unique_ptr<TacBitmap> reuse) {
  if (buffer.Empty()) return nullptr;
  std::unique_ptr<TacBitmap> out;
  if (Bitmap32(reuse.get()) && reuse->Width() == buffer.Width() && reuse->Height() == buffer.Height()) {
    GdiFlush();  // drawing still queued for the old picture lands before it is overwritten
    out = std::move(reuse);
  } else {
    out = NewBitmap32(buffer.Width(), buffer.Height());
  }
  Byte* first = nullptr;
  std::ptrdiff_t delta = 0;
  if (!BitmapRows(out.get(), first, delta)) return out;
  const int w = buffer.Width();
  if (buffer.PixelFormat() == pf24bit) {
    // Straight into the section: a converted copy on the way would be one
    // more fresh block of the picture's size, whose pages cost more to touch
    // than the conversion itself.
    for (int y = 0; y < buffer.Height(); ++y) {
      const Byte* src = buffer.ScanLine(y);
      Byte* dst = first + y * delta;
      for (int x = 0; x < w; ++x, src += 3, dst += 4) {
        dst[0] = src[0];
        dst[1] = src[1];
        dst[2] = src[2];
        dst[3] = 0;
      }
    }
    return out;
  }
  TacPixelBuffer pixels(buffer);
  pixels.ConvertTo32();
  for (int y = 0; y < pixels.Height(); ++y)
    std::memcpy(first + y * delta, pixels.ScanLine(y), static_cast<size_t>(w) * 4);
  return out;
}

void SetTransparentKey(TacBitmap* bmp, TColor key) {
  if (!bmp) return;
  bmp->SetTransparentColor(key);
  bmp->SetTransparent(true);
}

void BlockCopy(TacBitmap* dst, int x, int y, int w, int h, TacBitmap* src, int sx, int sy) {
  if (!dst || !src || dst->Empty() || src->Empty() || w <= 0 || h <= 0) return;
  if (Bitmap32(dst) && Bitmap32(src)) {
    CopyPixels32(dst, x, y, src, Bounds(sx, sy, w, h));
    return;
  }
  BitBlt(dst->Canvas()->Handle(), x, y, w, h, src->Canvas()->Handle(), sx, sy, SRCCOPY);
}

void StretchCopy(TacBitmap* dst, int x, int y, int w, int h, TacBitmap* src, int sx, int sy, int sw, int sh) {
  if (!dst || !src || dst->Empty() || src->Empty() || w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
  HDC dc = dst->Canvas()->Handle();
  const int old = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, x, y, w, h, src->Canvas()->Handle(), sx, sy, sw, sh, SRCCOPY);
  SetStretchBltMode(dc, old);
}

void FillBitmapRect(TacBitmap* bmp, const TRect& r, TColor color) {
  if (!bmp || bmp->Empty()) return;
  HDC dc = bmp->Canvas()->Handle();
  TDCStateScope state(dc);
  HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(color)));
  RECT rc{r.Left, r.Top, r.Right, r.Bottom};
  FillRect(dc, &rc, brush);
  DeleteObject(brush);
}

void MakeBitmap32(TacBitmap* bmp) {
  if (bmp && !bmp->Empty()) bmp->SetPixelFormat(pf32bit);
}

void SizeBitmap32(TacBitmap* bmp, int width, int height) {
  if (!bmp) return;
  bmp->SetPixelFormat(pf32bit);
  bmp->SetSize(std::max(width, 0), std::max(height, 0));
}

void AssignBitmap(TacBitmap* dst, TacBitmap* src) {
  if (dst != src) dst->Assign(src);
}
