// The skin bitmap where there is no Windows: a pixel buffer, rows top-down.
#include "skin/graphics/acBitmap.h"

#include "skin/graphics/acPixelBuffer.h"

int BitmapWidth(const TacBitmap* bmp) { return bmp ? bmp->Width() : 0; }
int BitmapHeight(const TacBitmap* bmp) { return bmp ? bmp->Height() : 0; }
bool Bitmap32(const TacBitmap* bmp) { return bmp && bmp->PixelFormat() == pf32bit; }

bool BitmapRows(TacBitmap* bmp, Byte*& first, std::ptrdiff_t& delta) {
  if (!bmp || bmp->Empty()) return false;
  bmp->InitLine(first, delta);
  return true;
}

std::unique_ptr<TacBitmap> NewBitmap32(int width, int height) {
  auto out = std::make_unique<TacPixelBuffer>();
  if (width > 0 && height > 0) out->Setup(pf32bit, width, height);
  return out;
}

std::unique_ptr<TacBitmap> BitmapFromBuffer(const TacPixelBuffer& buffer) {
  if (buffer.Empty()) return nullptr;
  auto out = std::make_unique<TacPixelBuffer>(buffer);
  out->ConvertTo32();
  return out;
}

void SetTransparentKey(TacBitmap*, TColor) {}
