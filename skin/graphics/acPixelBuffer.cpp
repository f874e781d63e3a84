#include "skin/graphics/acPixelBuffer.h"

int BitsPerPixel(TPixelFormat pf) {
  switch (pf) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    case pf32bit: return 32;
    default: return 0;
  }
}

void TacPixelBuffer::Setup(TPixelFormat pf, int width, int height) {
  Release();
  int bpp = BitsPerPixel(pf);
  if (bpp == 0 || width <= 0 || height <= 0) throw EInvalidGraphic("Invalid bitmap size or format");
  FPixelFormat = pf;
  FWidth = width;
  FHeight = height;
  FRowBytes = (static_cast<std::ptrdiff_t>(width) * bpp + 31) / 32 * 4;
  FBits.assign(static_cast<size_t>(FRowBytes) * static_cast<size_t>(height), 0);
}

void TacPixelBuffer::SetupImage(TPixelFormat pf, int width, int height, const TacPaletteEntry* palette,
                                int colorCount) {
  Setup(pf, width, height);
  if (palette && colorCount > 0 && BitsPerPixel(pf) <= 8) Palette.assign(palette, palette + colorCount);
}

void TacPixelBuffer::Release() {
  FBits.clear();
  FBits.shrink_to_fit();
  Palette.clear();
  FPixelFormat = pfDevice;
  FWidth = FHeight = 0;
  FRowBytes = 0;
}

void TacPixelBuffer::InitLine(Byte*& first, std::ptrdiff_t& delta) {
  first = FBits.empty() ? nullptr : FBits.data();
  delta = FRowBytes;
}

TPixelView32 TacPixelBuffer::PixelView() {
  if (FPixelFormat != pf32bit || Empty()) return {};
  return {FBits.data(), FRowBytes, FWidth, FHeight};
}

std::uint32_t TacPixelBuffer::PixelBGRA(int x, int y) const {
  const Byte* row = ScanLine(y);
  auto fromPalette = [&](unsigned index) -> std::uint32_t {
    if (Palette.empty()) return 0xFF000000u;
    const TacPaletteEntry& e = index < Palette.size() ? Palette[index] : Palette[0];
    return e.Blue | (e.Green << 8) | (e.Red << 16) | 0xFF000000u;
  };
  switch (FPixelFormat) {
    case pf1bit: return fromPalette((row[x >> 3] >> (7 - (x & 7))) & 1);
    case pf4bit: return fromPalette((x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4));
    case pf8bit: return fromPalette(row[x]);
    case pf24bit: {
      const Byte* p = row + 3 * x;
      return p[0] | (p[1] << 8) | (p[2] << 16) | 0xFF000000u;
    }
    case pf32bit: {
      const Byte* p = row + 4 * x;
      return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
    }
    default: return 0;
  }
}

void TacPixelBuffer::ConvertTo32() {
  if (FPixelFormat == pf32bit || Empty()) return;
  TacPixelBuffer out;
  out.Setup(pf32bit, FWidth, FHeight);
  for (int y = 0; y < FHeight; ++y) {
    Byte* row = out.ScanLine(y);
    for (int x = 0; x < FWidth; ++x) {
      std::uint32_t p = PixelBGRA(x, y) & 0x00FFFFFFu;
      row[4 * x] = static_cast<Byte>(p);
      row[4 * x + 1] = static_cast<Byte>(p >> 8);
      row[4 * x + 2] = static_cast<Byte>(p >> 16);
      row[4 * x + 3] = 0;
    }
  }
  *this = std::move(out);
}

void UpdateTransPixels(const TPixelView32& view) {
  for (int y = 0; y < view.Height && !view.Empty(); ++y) {
    std::uint32_t* row = view.Row(y);
    for (int x = 0; x < view.Width; ++x)
      if (row[x] == 0x00FFFFFFu) row[x] = 0;
  }
}

void UpdateTransPixels(TacPixelBuffer& bmp) { UpdateTransPixels(bmp.PixelView()); }
