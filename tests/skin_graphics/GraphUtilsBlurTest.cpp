// The blurs and the glow mask: flat kernels worked out from the radius, the
// three-pixel average with its fill of transparent neighbours, and the glow
// laid from a mask byte. Values by hand.
#include <gtest/gtest.h>

#include <vector>

#include "skin/graphics/sGraphUtils.h"
#include "tests/skin_graphics/GraphUtilsTestSupport.h"

using namespace gtest_gutils;

namespace {

std::unique_ptr<TacBitmap> Mask(int w, int h, const std::vector<int>& bytes) {
  auto b = NewBitmap(pf8bit, w, h);
  Byte* first;
  std::ptrdiff_t delta;
  EXPECT_TRUE(BitmapRows(b.get(), first, delta));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) first[y * delta + x] = static_cast<Byte>(bytes[static_cast<size_t>(y * w + x)]);
  return b;
}

std::vector<int> Bytes(TacBitmap* b) {
  Byte* first;
  std::ptrdiff_t delta;
  std::vector<int> out;
  if (!BitmapRows(b, first, delta)) return out;
  for (int y = 0; y < BitmapHeight(b); ++y)
    for (int x = 0; x < BitmapWidth(b); ++x) out.push_back(first[y * delta + x]);
  return out;
}

using Line = std::vector<int>;

TEST(GraphUtilsBlur8, TheRadiusGivesAFlatKernel) {
  struct Case {
    double Radius;
    Line In, Out;
  } cases[] = {
      {1, {0, 0, 0, 255, 0, 0, 0}, {0, 0, 85, 85, 85, 0, 0}},
      {2, {0, 0, 0, 255, 0, 0, 0}, {0, 0, 85, 85, 85, 0, 0}},  // the offset 2 is cut with the tail
      {3, {0, 0, 0, 0, 255, 0, 0, 0, 0}, {0, 0, 51, 51, 51, 51, 51, 0, 0}},
      {0.8, {0, 0, 0, 255, 0, 0, 0}, {0, 0, 0, 255, 0, 0, 0}},  // taps 0, 1, 0
      {1, {255, 0, 0}, {170, 85, 0}},                          // the edge byte repeats
      {1, {10, 20, 31}, {13, 20, 27}},                         // sums 40, 61, 82 divided by 3
      {0, {0, 255, 0}, {0, 255, 0}},
      {-2, {0, 255, 0}, {0, 255, 0}},
  };
  for (const Case& c : cases) {
    const int n = static_cast<int>(c.In.size());
    auto row = Mask(n, 1, c.In);
    Blur8(row.get(), c.Radius);
    EXPECT_EQ(Bytes(row.get()), c.Out) << "radius " << c.Radius << " along a row";
    auto column = Mask(1, n, c.In);
    Blur8(column.get(), c.Radius);
    EXPECT_EQ(Bytes(column.get()), c.Out) << "radius " << c.Radius << " down a column";
  }
}

TEST(GraphUtilsBlur8, UniformMasksStayAsTheyAre) {
  // 25 taps (radius 11.5), 29 and 31 taps included, whose single-precision
  // weight is a little below 1 / taps.
  for (double radius : {1.0, 3.0, 6.0, 11.5, 12.5, 13.0, 20.0}) {
    for (int v : {0, 255, 77}) {
      auto m = Mask(40, 3, Line(120, v));
      Blur8(m.get(), radius);
      EXPECT_EQ(Bytes(m.get()), Line(120, v)) << "radius " << radius << " value " << v;
    }
  }
}

TEST(GraphUtilsBlur8, OnlyEightBitBitmaps) {
  auto b = Bmp(3, 1, Gray(0, 0));
  At(b, 1, 0) = Gray(255, 255);
  Blur8(b.get(), 1);
  EXPECT_EQ(At(b, 0, 0), Gray(0, 0));
  EXPECT_EQ(At(b, 1, 0), Gray(255, 255));
}

TEST(GraphUtilsQBlur, AverageOfThreeWithTheFillOfTransparentNeighbours) {
  // A 3 x 3 opaque square of 200: after the rows, the middle column holds
  // (3 * 66, alpha 3 * 86 -> 255), the side columns (2 * 66 + 66 filled,
  // alpha 2 * 86); after the columns the centre keeps 198 and alpha 255.
  auto b = Bmp(3, 3, Gray(200, 255));
  QBlur(b.get());
  EXPECT_EQ(At(b, 1, 1), Gray(198, 255));
  // Corner: rows give (198, 172), each counting 172 div 3 + 1 = 58 of alpha;
  // the column's two inside pixels, the missing one filled with colour only.
  EXPECT_EQ(At(b, 0, 0), Gray(198, 116));
  EXPECT_EQ(At(b, 0, 1), Gray(198, 174));

  auto line = Bmp(3, 1, Gray(200, 255));
  QBlur(line.get());
  EXPECT_EQ(At(line, 0, 0), Gray(198, 58)) << "row (198, 172), then a column of one pixel";
  EXPECT_EQ(At(line, 1, 0), Gray(198, 86));

  // A transparent neighbour takes the colour of the opaque one (a sixth of
  // it for its two missing positions) but alpha only from the opaque pixel.
  auto edge = Bmp(2, 1, 0);
  At(edge, 0, 0) = Gray(90, 255);
  QBlur(edge.get());
  EXPECT_EQ(At(edge, 1, 0), Gray(45, 29)) << "rows (30 + 15, 86), then the one-pixel column";
  EXPECT_EQ(At(edge, 0, 0), Gray(90, 29));

  auto clear = Bmp(4, 2, 0);
  QBlur(clear.get());
  EXPECT_TRUE(GuardsKept(clear, TRect(), 0)) << "a fully transparent picture stays all zero";
}

TEST(GraphUtilsGlow, TheMaskByteMovesColourAndAlphaTowardTheGlow) {
  auto dst = Bmp(3, 3, 0);
  At(dst, 2, 2) = Gray(100, 255);
  auto mask = Mask(3, 3, {255, 255, 255, 255, 0, 128, 255, 255, 0});
  acPaintGlowMask(dst.get(), mask.get(), 0, 0, 0x0080FF);
  EXPECT_EQ(At(dst, 1, 1), Px(254, 127, 0, 254)) << "byte 0 over a transparent pixel: alpha 255 * 255 shr 8";
  EXPECT_EQ(At(dst, 2, 1), Px(126, 63, 0, 126)) << "byte 128: (127 * colour) shr 8, alpha (255 * 127) shr 8";
  EXPECT_EQ(At(dst, 2, 2), Px(254, 127, 0, 255)) << "an opaque pixel stays opaque";
  EXPECT_TRUE(GuardsKept(dst, Rect(1, 1, 3, 3), 0)) << "bytes of 255 leave the pixel";

  auto corner = Bmp(2, 2, 0);
  acPaintGlowMask(corner.get(), mask.get(), -1, -1, 0x0080FF);
  EXPECT_EQ(At(corner, 0, 0), Px(254, 127, 0, 254)) << "the mask's (1, 1)";
  EXPECT_EQ(At(corner, 1, 1), Px(254, 127, 0, 254)) << "the mask's (2, 2)";
  EXPECT_EQ(At(corner, 1, 0), Px(126, 63, 0, 126));
}

}  // namespace
