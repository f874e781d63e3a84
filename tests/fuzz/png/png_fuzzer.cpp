// PNG streams into the reader: every input either decodes or raises.
#include <cstdint>
#include <cstring>

#include "skin/graphics/acPNG.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TMemoryStream stream;
  if (size) stream.WriteBuffer(data, static_cast<Integer>(size));
  TPNGGraphic png;
  for (int pass = 0; pass < 2; ++pass) {
    stream.SetPosition(0);
    try {
      png.LoadFromStream(&stream);
      const TacPixelBuffer& bmp = png.Bitmap();
      std::uint32_t sum = 0;
      for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x) sum += bmp.PixelBGRA(x, y);
      volatile std::uint32_t sink = sum;
      (void)sink;
    } catch (const Exception&) {
    }
  }
  return 0;
}
