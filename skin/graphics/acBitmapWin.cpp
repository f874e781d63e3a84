// The skin bitmap on Windows: the class library's bitmap as a 32-bit
// device-independent section, rows bottom-up in memory.
#include "skin/graphics/acBitmap.h"

#include <cstring>

#include "classlib/ui/Graphics.h"
#include "skin/graphics/acPixelBuffer.h"

int BitmapWidth(const TacBitmap* bmp) { return bmp ? bmp->Width() : 0; }
int BitmapHeight(const TacBitmap* bmp) { return bmp ? bmp->Height() : 0; }
bool Bitmap32(const TacBitmap* bmp) { return bmp && bmp->PixelFormat() == pf32bit; }

bool BitmapRows(TacBitmap* bmp, Byte*& first, std::ptrdiff_t& delta) {
  if (!bmp || bmp->Empty() || bmp->Height() < 1) return false;
  first = static_cast<Byte*>(bmp->ScanLine(0));
  delta = -static_cast<std::ptrdiff_t>(bmp->RowBytes());
  return true;
}

std::unique_ptr<TacBitmap> NewBitmap32(int width, int height) {
  auto out = std::make_unique<TBitmap>();
  out->SetPixelFormat(pf32bit);
  if (width > 0 && height > 0) out->SetSize(width, height);
  return out;
}

std::unique_ptr<TacBitmap> BitmapFromBuffer(const TacPixelBuffer& buffer) {
  if (buffer.Empty()) return nullptr;
  TacPixelBuffer pixels(buffer);
  pixels.ConvertTo32();
  auto out = NewBitmap32(pixels.Width(), pixels.Height());
  for (int y = 0; y < pixels.Height(); ++y)
    std::memcpy(out->ScanLine(y), pixels.ScanLine(y), static_cast<size_t>(pixels.Width()) * 4);
  return out;
}

void SetTransparentKey(TacBitmap* bmp, TColor key) {
  if (!bmp) return;
  bmp->SetTransparentColor(key);
  bmp->SetTransparent(true);
}
