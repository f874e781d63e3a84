// One pass of text laid over a 32-bit bitmap by the shades of its rendering
// (black on white): each channel weighs the text colour by the same channel
// of the shade, white leaves the pixel, every touched pixel becomes opaque;
// values computed by hand, guard pixels around.
#include <gtest/gtest.h>

#include <cstdint>

#include "skin/graphics/acSectionLook.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

constexpr std::uint32_t kD = 0x40102030;  // alpha 0x40, red 0x10, green 0x20, blue 0x30
constexpr TColor kC = 0x0000C0;           // red 0xC0

std::unique_ptr<TacBitmap> Filled(int w, int h, std::uint32_t v) {
  auto b = CreateBmp32(w, h);
  const TPixelView32 p = PixelsOf(b.get());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.Row(y)[x] = v;
  return b;
}

TEST(TextShades, EachChannelWeighsTheColourByItsShade) {
  struct Case {
    const char* What;
    std::uint32_t Shade;
    std::uint32_t Expected;
  } cases[] = {
      {"black: the colour exactly", 0x00000000, 0xFFC00000},
      {"black of alpha 255", 0xFF000000, 0xFFC00000},
      {"grey 128: an even mix", 0x00808080, 0xFF681018},
      {"254: ((D - C) * 254 + C * 256) shr 8", 0x00FEFEFE, 0xFF111F2F},
      {"sub-pixel: green 255, red and blue 0", 0x0000FF00, 0xFFC01F00},
      {"white of alpha 0: untouched", 0x00FFFFFF, kD},
      {"white of alpha 255: untouched", 0xFFFFFFFF, kD},
  };
  for (const Case& c : cases) {
    auto dst = Filled(3, 3, kD), shades = Filled(1, 1, c.Shade);
    acsection::LayTextShades(dst.get(), PixelsOf(shades.get()), TPoint{1, 1}, kC);
    const TPixelView32 v = PixelsOf(dst.get());
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 3; ++x)
        EXPECT_EQ(v.Row(y)[x], x == 1 && y == 1 ? c.Expected : kD) << c.What << " at " << x << ", " << y;
  }
}

TEST(TextShades, PixelsOutsideTheBitmapAreLeftOut) {
  // Shades of 4 x 3 placed at (-2, -1) and at (1, 1) over a 3 x 2 bitmap:
  // only the overlapping part is laid.
  for (TPoint at : {TPoint{-2, -1}, TPoint{1, 1}}) {
    auto dst = Filled(3, 2, kD), shades = Filled(4, 3, 0);
    acsection::LayTextShades(dst.get(), PixelsOf(shades.get()), at, kC);
    const TPixelView32 v = PixelsOf(dst.get());
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) {
        const bool inside = x - at.X >= 0 && x - at.X < 4 && y - at.Y >= 0 && y - at.Y < 3;
        EXPECT_EQ(v.Row(y)[x], inside ? 0xFFC00000u : kD) << at.X << ": " << x << ", " << y;
      }
  }
}

}  // namespace
