// Text laid into a 32-bit bitmap by the shades of its rendering.
#include "skin/core/acntUtils.h"
#include "skin/graphics/acSectionLook.h"
#include "skin/graphics/acSysColors.h"

void acsection::LayTextShades(TacBitmap* Dst, const TPixelView32& Shades, const TPoint& At, TColor Color) {
  const TPixelView32& src = Shades;
  const TPixelView32 dst = PixelsOf(Dst);
  if (src.Empty() || dst.Empty()) return;
  const TColor rgb = acColorToRGB(Color);
  // Blue, green, red of the colour, as the pixel's channels lie.
  const int c[3] = {int(rgb >> 16 & 0xFF), int(rgb >> 8 & 0xFF), int(rgb & 0xFF)};
  const int x0 = Maxi(0, -At.X), x1 = Mini(src.Width, dst.Width - At.X);
  for (int y = Maxi(0, -At.Y); y < Mini(src.Height, dst.Height - At.Y); ++y) {
    const std::uint32_t* in = src.Row(y);
    std::uint32_t* out = dst.Row(At.Y + y) + At.X;
    for (int x = x0; x < x1; ++x) {
      const std::uint32_t t = in[x];
      if (t == 0x00FFFFFFu || t == 0xFFFFFFFFu) continue;
      const std::uint32_t d = out[x];
      std::uint32_t result = 0xFF000000u;
      for (int ch = 0; ch < 3; ++ch) {
        const int shift = 8 * ch, dc = int(d >> shift & 0xFF), tc = int(t >> shift & 0xFF);
        result |= std::uint32_t(((dc - c[ch]) * tc + c[ch] * 256) >> 8) << shift;
      }
      out[x] = result;
    }
  }
}
