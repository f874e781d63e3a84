// The pixels of a decoded PNG picture as a plain buffer, whichever bitmap
// the picture is on this platform.
#pragma once

#include <algorithm>
#include <cstring>

#include "skin/graphics/acPNG.h"

namespace pngtest {

#ifdef _WIN32
// The rows (top first) and the colour table of a bitmap.
inline TacPixelBuffer BitmapPixels(TBitmap& bmp) {
  TacPixelBuffer out;
  if (bmp.Empty()) return out;
  out.Setup(bmp.PixelFormat(), bmp.Width(), bmp.Height());
  const size_t bytes = static_cast<size_t>(std::min<std::ptrdiff_t>(out.RowBytes(), bmp.RowBytes()));
  for (int y = 0; y < bmp.Height(); ++y) std::memcpy(out.ScanLine(y), bmp.ScanLine(y), bytes);
  if (BitsPerPixel(bmp.PixelFormat()) <= 8) {
    RGBQUAD colors[256];
    const UINT n = GetDIBColorTable(bmp.Canvas()->Handle(), 0, 256, colors);
    for (UINT i = 0; i < n; ++i) out.Palette.push_back({colors[i].rgbRed, colors[i].rgbGreen, colors[i].rgbBlue, 0});
  }
  return out;
}
inline TacPixelBuffer Pixels(TPNGGraphic& png) { return BitmapPixels(png); }
#else
inline TacPixelBuffer Pixels(TPNGGraphic& png) { return png.Bitmap(); }
#endif

}  // namespace pngtest
