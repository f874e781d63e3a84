#include "skin/graphics/acPNGIcons.h"

#ifdef _WIN32

#include <cstring>
#include <vector>

namespace {

// A 32-bit device independent bitmap with the buffer's pixels.
HBITMAP ColourBitmap(const TacPixelBuffer& bmp) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = bmp.Width();
  info.bmiHeader.biHeight = -bmp.Height();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP h = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!h) throw EOutOfResources("Out of system resources");
  std::memcpy(bits, bmp.ScanLine(0), size_t(bmp.RowBytes()) * bmp.Height());
  return h;
}

// A monochrome mask: white (1) where transparent. Rows of whole words.
HBITMAP MaskBitmap(const TacPixelBuffer& bmp, bool (*transparent)(std::uint32_t pixel, std::uint32_t key),
                   std::uint32_t key) {
  const int w = bmp.Width(), h = bmp.Height();
  const int rowBytes = (w + 15) / 16 * 2;
  std::vector<BYTE> bits(size_t(rowBytes) * h, 0);
  for (int y = 0; y < h; ++y) {
    const BYTE* row = bmp.ScanLine(y);
    for (int x = 0; x < w; ++x) {
      std::uint32_t pixel;
      std::memcpy(&pixel, row + 4 * x, 4);
      if (transparent(pixel, key)) bits[size_t(y) * rowBytes + x / 8] |= BYTE(0x80 >> (x % 8));
    }
  }
  HBITMAP m = CreateBitmap(w, h, 1, 1, bits.data());
  if (!m) throw EOutOfResources("Out of system resources");
  return m;
}

HICON Icon(HBITMAP colour, HBITMAP mask) {
  ICONINFO ii{};
  ii.fIcon = TRUE;
  ii.hbmColor = colour;
  ii.hbmMask = mask;
  HICON icon = CreateIconIndirect(&ii);
  DeleteObject(colour);
  DeleteObject(mask);
  return icon;
}

}  // namespace

HICON MakeIcon32(TacPixelBuffer& bmp, bool) {
  if (bmp.Empty()) return nullptr;
  std::uint32_t key;
  // The key is read before the bitmap is made 32-bit.
  if (bmp.PixelFormat() == pf32bit) {
    std::memcpy(&key, bmp.ScanLine(0), 4);
  } else {
    key = bmp.PixelBGRA(0, 0) & 0x00FFFFFF;
  }
  bmp.ConvertTo32();
  HBITMAP mask = MaskBitmap(bmp, [](std::uint32_t p, std::uint32_t k) { return p == k; }, key);
  return Icon(ColourBitmap(bmp), mask);
}

HICON MakeCompIcon(TacPixelBuffer& bmp, TColor) {
  if (bmp.Empty()) return nullptr;
  if (bmp.PixelFormat() != pf32bit) {
    bmp.ConvertTo32();
    for (int y = 0; y < bmp.Height(); ++y) {
      BYTE* row = bmp.ScanLine(y);
      for (int x = 0; x < bmp.Width(); ++x) {
        std::uint32_t p;
        std::memcpy(&p, row + 4 * x, 4);
        row[4 * x + 3] = (p & 0x00FFFFFF) == 0xFF00FF ? 0 : 0xFF;
      }
    }
  }
  HBITMAP mask = MaskBitmap(bmp, [](std::uint32_t p, std::uint32_t) { return (p >> 24) == 0; }, 0);
  return Icon(ColourBitmap(bmp), mask);
}

namespace {

// Makes an icon of the bitmap through a pixel buffer of its pixels (24 or 32
// bits; other depths go to 24 bits first) and leaves the bitmap with the
// buffer's 32-bit pixels.
template <class Make>
HICON ThroughBuffer(TBitmap* bmp, Make make) {
  if (!bmp || bmp->Empty()) return nullptr;
  if (bmp->PixelFormat() != pf24bit && bmp->PixelFormat() != pf32bit) bmp->SetPixelFormat(pf24bit);
  const int w = bmp->Width(), h = bmp->Height();
  TacPixelBuffer buffer;
  buffer.Setup(bmp->PixelFormat(), w, h);
  const size_t rowBytes = size_t(w) * (bmp->PixelFormat() == pf32bit ? 4 : 3);
  for (int y = 0; y < h; ++y) std::memcpy(buffer.ScanLine(y), bmp->ScanLine(y), rowBytes);
  HICON icon = make(buffer);
  bmp->SetPixelFormat(pf32bit);
  for (int y = 0; y < h; ++y) std::memcpy(bmp->ScanLine(y), buffer.ScanLine(y), size_t(w) * 4);
  return icon;
}

}  // namespace

HICON MakeIcon32(TBitmap* bmp, bool flag) {
  return ThroughBuffer(bmp, [flag](TacPixelBuffer& b) { return MakeIcon32(b, flag); });
}

HICON MakeCompIcon(TBitmap* bmp, TColor color) {
  return ThroughBuffer(bmp, [color](TacPixelBuffer& b) { return MakeCompIcon(b, color); });
}

#endif
