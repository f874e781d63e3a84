// The triangle mode of gradients under Wine: the system's gradient function
// draws four triangles meeting in the centre, each vertex in the first
// colour of its segment.
#include <gtest/gtest.h>

#include "skin/graphics/Sgradient.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

TEST(GradientWin, TrianglesShowEachSegmentsColourNextToItsVertex) {
  // Vertices: top-left red, centre green, top-right blue, bottom-right
  // black, bottom-left white.
  auto b = CreateBmp32(40, 40);
  PaintGrad(b.get(), Rect(0, 0, 40, 40),
            AnsiString("255;0;20;2;0;65280;0;20;2;0;16711680;0;20;2;0;0;0;20;2;0;16777215;0;20;2;0"));
  const TPixelView32 v = PixelsOf(b.get());
  struct Case {
    int X, Y;
    int R, G, B;
  };
  const Case cases[] = {{1, 1, 255, 0, 0}, {20, 20, 0, 255, 0}, {38, 1, 0, 0, 255}, {38, 38, 0, 0, 0},
                        {1, 38, 255, 255, 255}};
  for (const Case& c : cases) {
    const std::uint32_t p = v.At(c.X, c.Y);
    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, bl = p & 0xFF;
    EXPECT_NEAR(r, c.R, 40) << c.X << "," << c.Y;
    EXPECT_NEAR(g, c.G, 40) << c.X << "," << c.Y;
    EXPECT_NEAR(bl, c.B, 40) << c.X << "," << c.Y;
  }
}

}  // namespace
