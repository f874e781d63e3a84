// Bitmap files into the skin loader's bitmap reader: every input is read or
// refused, and a picture read gives its pixels.
#include <cstdint>

#include "skin/graphics/acBmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TacPixelBuffer pixels;
  try {
    ReadBmp(data, static_cast<Int64>(size), pixels);
    std::uint32_t sum = 0;
    for (int y = 0; y < pixels.Height(); ++y)
      for (int x = 0; x < pixels.Width(); ++x) sum += pixels.PixelBGRA(x, y);
    pixels.ConvertTo32();
    (void)sum;
  } catch (const EInvalidGraphic&) {
  }
  return 0;
}
