// Resampling: contributors and 16.16 weights worked out by hand from the
// filter kernels, mirrored edges, and the cases that do nothing.
#include <gtest/gtest.h>

#include "skin/graphics/sGraphUtils.h"
#include "tests/skin_graphics/GraphUtilsTestSupport.h"

using namespace gtest_gutils;

namespace {

// A source of two rows, each 0, 100, 200, 250.
std::unique_ptr<TacBitmap> FourByTwo() {
  auto b = Bmp(4, 2, 0);
  const int values[4] = {0, 100, 200, 250};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) At(b, x, y) = Gray(values[x], 255);
  return b;
}

TEST(GraphUtilsStretch, ShrinkingByTwo) {
  struct Case {
    TFilterType Filter;
    int Left, Right;
  } cases[] = {
      // Box: weights 1/2 at distances 0 and +0.5 (-0.5 is left out): (0 + 100) / 2, (200 + 100) / 2.
      {ftBox, 50, 150},
      // Triangle: 1/4, 1/2, 1/4 with the left edge mirrored: (100 + 0 + 100) / 4 ... (250 + 400 + 100) / 4.
      {ftTriangle, 50, 187},
  };
  for (const Case& c : cases) {
    auto src = FourByTwo();
    auto dst = Bmp(1, 1, 0);
    Stretch(src.get(), dst.get(), 2, 2, c.Filter);
    ASSERT_EQ(BitmapWidth(dst.get()), 2);
    ASSERT_EQ(BitmapHeight(dst.get()), 2);
    for (int y = 0; y < 2; ++y) {
      EXPECT_EQ(At(dst, 0, y), Gray(c.Left, 255)) << c.Filter;
      EXPECT_EQ(At(dst, 1, y), Gray(c.Right, 255)) << c.Filter;
    }
  }
}

TEST(GraphUtilsStretch, ATwoPixelSourceShrunkToOneStaysInsideTheSource) {
  // Mitchell, scale 1/2, width 4 around 0: offsets 3..-3 contribute
  // -1138, 1820, 17522, 29127, 17522, 1820, -1138; mirrored at both edges
  // (-3 reads 3, which reads 0 again) source 0 gets 26851, source 1 38684.
  auto src = Bmp(2, 2, 0);
  for (int y = 0; y < 2; ++y) {
    At(src, 0, y) = Gray(10, 255);
    At(src, 1, y) = Gray(20, 255);
  }
  auto dst = Bmp(1, 1, 0);
  Stretch(src.get(), dst.get(), 1, 2, ftMitchell);
  ASSERT_EQ(BitmapWidth(dst.get()), 1);
  EXPECT_EQ(At(dst, 0, 0), Gray(15, 254)) << "(10 * 26851 + 20 * 38684) shr 16; alpha 255 * 65535 shr 16";
  EXPECT_EQ(At(dst, 0, 1), Gray(15, 254));
}

TEST(GraphUtilsStretch, KernelsThatAddUpToOneKeepAUniformPicture) {
  // Growing, each destination pixel sees the kernel at whole steps around its
  // centre, where these kernels add up to 1 (the rounded 16.16 weights may
  // lose a level in each pass); shrinking by 2, the triangle's half steps add up to 2 * 1/2.
  struct Case {
    TFilterType Filter;
    int Size;
  } cases[] = {{ftTriangle, 50}, {ftTriangle, 300}, {ftHermite, 300}, {ftBell, 300}, {ftSpline, 300}, {ftMitchell, 300}};
  for (const Case& c : cases) {
    auto src = Bmp(100, 100, Px(200, 100, 50, 255));
    auto dst = NewBitmap32(1, 1);
    Stretch(src.get(), dst.get(), c.Size, c.Size, c.Filter);
    for (int y = 0; y < c.Size; y += 7)
      for (int x = 0; x < c.Size; x += 7) {
        const std::uint32_t p = At(dst, x, y);
        ASSERT_NEAR(int((p >> 16) & 255), 200, 2) << c.Filter << " " << x << "," << y;
        ASSERT_NEAR(int(p & 255), 50, 2) << c.Filter << " " << x << "," << y;
      }
  }
}

TEST(GraphUtilsStretch, CasesThatDoNothingOrCopy) {
  auto flat = Bmp(4, 1, Gray(9, 9));
  auto dst = Bmp(2, 2, Gray(1, 1));
  Stretch(flat.get(), dst.get(), 2, 2, ftTriangle);
  EXPECT_TRUE(GuardsKept(dst, TRect(), Gray(1, 1))) << "a source 1 pixel high";
  auto src = FourByTwo();
  Stretch(src.get(), dst.get(), 2, 0, ftTriangle);
  EXPECT_TRUE(GuardsKept(dst, TRect(), Gray(1, 1))) << "new height 0";

  Stretch(src.get(), dst.get(), 4, 2, ftTriangle);
  ASSERT_EQ(BitmapWidth(dst.get()), 4);
  EXPECT_EQ(At(dst, 3, 1), Gray(250, 255)) << "equal sizes copy";

  // The source itself as destination: the horizontal pass reads it first.
  Stretch(src.get(), src.get(), 2, 2, ftBox);
  ASSERT_EQ(BitmapWidth(src.get()), 2);
  EXPECT_EQ(At(src, 1, 0), Gray(150, 255));
}

TEST(GraphUtilsStretch, GrowingWeighsTheNeighbours) {
  // Triangle, 2 -> 4: centres 0, 0.5, 1, 1.5; weights 1, 1/2 + 1/2, 1, mirrored 1/2 + 1/2.
  auto src = Bmp(2, 2, 0);
  for (int y = 0; y < 2; ++y) {
    At(src, 0, y) = Gray(0, 255);
    At(src, 1, y) = Gray(100, 255);
  }
  auto dst = NewBitmap32(1, 1);
  Stretch(src.get(), dst.get(), 4, 2, ftTriangle);
  const int expected[4] = {0, 50, 100, 100};
  for (int x = 0; x < 4; ++x) EXPECT_EQ(At(dst, x, 1), Gray(expected[x], 255)) << x;
}

}  // namespace
