// Colours, bitmaps and blends of the graphics utilities: values worked out
// by hand from the blend rules, guard pixels around every target.
#include <gtest/gtest.h>

#include "skin/graphics/acPixelRuns.h"
#include "skin/graphics/sGraphUtils.h"
#include "tests/skin_graphics/GraphUtilsTestSupport.h"

using namespace gtest_gutils;

namespace {

TEST(GraphUtilsColors, MixChangeAndAverage) {
  EXPECT_EQ(MixColors(0x05112233, 0x00445566, 1), 0x05112233) << "weight 1: the first colour";
  EXPECT_EQ(MixColors(0x05112233, 0x00445566, 0), 0x05445566) << "weight 0: the second with the first's top byte";
  EXPECT_EQ(ChangeColor(0x0000C8, 0x000064, 0.5), 0x000096) << "200 - (200 - 100) * 0.5";
  EXPECT_EQ(ChangeColor(0x7F0000C8, 0x000064, -1), 0x0000FF) << "300 is limited to 255, the top byte is 0";
  // (a * 127 + b * 129) shr 8: black then white 32895 shr 8, white then black 32385 shr 8.
  EXPECT_EQ(AverageColor(TColor(0), TColor(0xFFFFFF)), 0x808080);
  EXPECT_EQ(AverageColor(TColor(0xFFFFFF), TColor(0)), 0x7E7E7E);
  TsColor a, b;
  a.C = Px(0, 10, 20, 99);
  b.C = Px(255, 30, 20, 99);
  EXPECT_EQ(AverageColor(a, b).C, Px(128, 20, 20, 0));
}

TEST(GraphUtilsBitmaps, CreationAndTheAlphaBitmapOfAMaskedImage) {
  auto empty = CreateBmp32(0, 0);
  ASSERT_TRUE(empty);
  EXPECT_EQ(BitmapWidth(empty.get()), 0);
  EXPECT_EQ(BitmapHeight(empty.get()), 0);

  auto src = Bmp(3, 4, Gray(9, 9));
  auto like = CreateBmpLike(src.get());
  EXPECT_EQ(BitmapWidth(like.get()), 3);
  EXPECT_EQ(BitmapHeight(like.get()), 4);
  EXPECT_TRUE(Bitmap32(like.get()));

  // Upper half: the picture; lower half: the mask's red byte is the transparency.
  At(src, 1, 0) = Px(1, 2, 3, 0);
  At(src, 1, 2) = Px(0, 77, 77, 0);
  At(src, 2, 1) = Px(4, 5, 6, 0);
  At(src, 2, 3) = Px(255, 0, 0, 0);
  At(src, 0, 3) = Px(100, 0, 0, 0);
  auto alpha = CreateAlphaBmp(src.get(), Rect(1, 0, 3, 4));
  ASSERT_TRUE(alpha);
  ASSERT_EQ(BitmapWidth(alpha.get()), 2);
  ASSERT_EQ(BitmapHeight(alpha.get()), 2);
  EXPECT_EQ(At(alpha, 0, 0), Px(1, 2, 3, 255)) << "black mask: opaque";
  EXPECT_EQ(At(alpha, 1, 1), Px(4, 5, 6, 0)) << "white mask: transparent";
  EXPECT_EQ(At(alpha, 1, 0), Gray(9, 255 - 9));

  EXPECT_FALSE(CreateAlphaBmp(src.get(), Rect(0, 0, 3, 1))) << "a rectangle 1 high has no half";
  EXPECT_FALSE(CreateAlphaBmp(src.get(), Rect(2, 0, 2, 4))) << "no width";
}

TEST(GraphUtilsTransparency, TheParentKeepsItsWeight) {
  // Transparency 40 keeps Round(40 * 2.55) = 102 of the parent: 200 under 100.
  auto dst = Bmp(3, 3, Gray(200, 255));
  auto src = Bmp(3, 3, Gray(100, 7));
  SumBmpRect(dst.get(), src.get(), 102, Rect(0, 0, 3, 3), Point(0, 0));
  EXPECT_TRUE(AllInside(dst, Rect(0, 0, 3, 3), Gray(139, 255))) << "(200 * 102 + 100 * 154) shr 8, alpha kept";
  // The same over a plain parent colour, 40 % of it kept.
  EXPECT_EQ(MixColors(0xC8C8C8, 0x646464, 0.4), 0x8C8C8C);
}

TEST(GraphUtilsTransparency, OnlyThePartThatFitsIsBlended) {
  auto dst = Bmp(12, 12, Gray(200, 255));
  auto src = Bmp(10, 10, Gray(100, 0));
  SumBmpRect(dst.get(), src.get(), 0, Rect(0, 0, 10, 10), Point(5, 5));
  EXPECT_TRUE(AllInside(dst, Rect(5, 5, 12, 12), Gray(100, 255))) << "7 x 7 pixels";
  EXPECT_TRUE(GuardsKept(dst, Rect(5, 5, 12, 12), Gray(200, 255)));

  // A point above and left of the destination cuts the source's top and left.
  auto dst2 = Bmp(12, 12, Gray(200, 255));
  At(src, 3, 2) = Gray(50, 0);
  SumBmpRect(dst2.get(), src.get(), 0, Rect(0, 0, 10, 10), Point(-3, -2));
  EXPECT_EQ(At(dst2, 0, 0), Gray(50, 255)) << "source (3, 2) lands at (0, 0)";
  EXPECT_TRUE(AllInside(dst2, Rect(1, 0, 7, 8), Gray(100, 255)));
  EXPECT_TRUE(GuardsKept(dst2, Rect(0, 0, 7, 8), Gray(200, 255))) << "columns 3..9 and rows 2..9 of the source";

  // Nothing when the point is outside the destination.
  auto dst3 = Bmp(4, 4, Gray(200, 255));
  SumBmpRect(dst3.get(), src.get(), 0, Rect(0, 0, 10, 10), Point(4, 0));
  EXPECT_TRUE(GuardsKept(dst3, TRect(), Gray(200, 255)));
}

TEST(GraphUtilsTransparency, SumBitmapsOfTheSameSizeOnly) {
  auto first = Bmp(2, 2, Gray(200, 33));
  auto second = Bmp(2, 2, Gray(100, 66));
  SumBitmaps(first.get(), second.get(), 0);
  EXPECT_TRUE(AllInside(first, Rect(0, 0, 2, 2), Gray(100, 33))) << "weight 0 copies the colours, alpha kept";
  auto third = Bmp(2, 2, Gray(200, 33));
  SumBitmaps(third.get(), second.get(), 255);
  EXPECT_EQ(At(third, 1, 1), Gray(199, 33)) << "(200 * 255 + 100) shr 8";
  auto other = Bmp(3, 2, Gray(100, 66));
  SumBitmaps(third.get(), other.get(), 0);
  EXPECT_EQ(At(third, 0, 0), Gray(199, 33)) << "sizes differ: nothing";
}

TEST(GraphUtilsTransparency, EveryVectorWidthBlendsTheSame) {
  // 19 pixels: two vectors of 8 (or four of 4) and a tail, every byte value.
  auto src = Bmp(19, 2, 0), first = Bmp(19, 2, 0);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 19; ++x) {
      At(src, x, y) = static_cast<std::uint32_t>(x * 0x0D1B2937u + y * 0x55u);
      At(first, x, y) = static_cast<std::uint32_t>(~(x * 0x0A0B0C0Du) ^ y);
    }
  for (int w : {0, 1, 102, 128, 255}) {
    auto expected = Bmp(19, 2, 0);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 19; ++x) {
        const std::uint32_t d = At(first, x, y), s = At(src, x, y);
        std::uint32_t e = d & 0xFF000000u;
        for (int n = 0; n < 3; ++n)
          e |= ((((d >> (8 * n)) & 255) * w + ((s >> (8 * n)) & 255) * (256 - w)) >> 8) << (8 * n);
        At(expected, x, y) = e;
      }
    for (acpixel::TRunLevel level : {acpixel::TRunLevel::Scalar, acpixel::TRunLevel::Sse2, acpixel::TRunLevel::Avx2}) {
      const acpixel::TRunLevel old = acpixel::SetRunLevel(level);
      auto dst = Bmp(19, 2, 0);
      CopyPixels32(dst.get(), 0, 0, first.get(), Rect(0, 0, 19, 2));
      SumBitmaps(dst.get(), src.get(), w);
      acpixel::SetRunLevel(old);
      for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 19; ++x)
          ASSERT_EQ(At(dst, x, y), At(expected, x, y)) << "weight " << w << " level " << int(level) << " at " << x;
    }
  }
}

TEST(GraphUtilsBlends, GrayScaleAndTints) {
  auto b = Bmp(2, 1, Px(10, 20, 40, 77));
  At(b, 1, 0) = 0x00FF00FF;
  GrayScaleTrans(b.get(), TsColor{0x00FF00FF});
  EXPECT_EQ(At(b, 0, 0), Gray(23, 77));
  EXPECT_EQ(At(b, 1, 0), 0x00FF00FFu) << "the key is left";
  At(b, 1, 0) = 0x01FF00FF;
  GrayScaleTrans(b.get(), TsColor{0x00FF00FF});
  EXPECT_EQ(At(b, 1, 0), Gray(170, 1)) << "with another alpha it is no key";

  // Pulled half way toward red: (c - colour) * 0.5 + colour.
  auto t = Bmp(2, 1, Px(200, 100, 0, 33));
  At(t, 1, 0) = 0x00FF00FF;
  BlendTransBitmap(t.get(), 0.5, 0x0000FF);
  EXPECT_EQ(At(t, 0, 0), Px(227, 50, 0, 33));
  EXPECT_EQ(At(t, 1, 0), 0x00FF00FFu);

  // Each channel by the mask's same channel: red 0, green 128, blue 255.
  auto m = Bmp(1, 1, Px(0, 128, 255, 0));
  auto p = Bmp(1, 1, Gray(100, 44));
  BlendBmpByMask(p.get(), m.get(), 0x204060);
  EXPECT_EQ(At(p, 0, 0), Px(96, 82, 99, 44));
  auto bigger = Bmp(2, 1, Gray(0, 0));
  BlendBmpByMask(p.get(), bigger.get(), 0);
  EXPECT_EQ(At(p, 0, 0), Px(96, 82, 99, 44)) << "sizes differ: nothing";
}

TEST(GraphUtilsBlends, BlendTransRectangleSkipsTheKeyAndCutsAtTheEdges) {
  auto src = Bmp(3, 2, Gray(100, 5));
  At(src, 1, 0) = 0x00FF00FF;
  auto dst = Bmp(4, 4, Gray(200, 9));
  BlendTransRectangle(dst.get(), 1, 1, src.get(), Rect(0, 0, 2, 1), 0.25, 0xFF00FF);
  EXPECT_EQ(At(dst, 1, 1), Gray(125, 9)) << "100 - (100 - 200) * 0.25, alpha kept";
  EXPECT_EQ(At(dst, 2, 1), Gray(200, 9)) << "key skipped";
  EXPECT_TRUE(AllInside(dst, Rect(3, 1, 4, 3), Gray(125, 9)));
  EXPECT_TRUE(AllInside(dst, Rect(1, 2, 3, 3), Gray(125, 9)));
  EXPECT_TRUE(GuardsKept(dst, Rect(1, 1, 4, 3), Gray(200, 9))) << "right and bottom inclusive";

  auto edge = Bmp(2, 1, Gray(200, 9));
  At(src, 1, 0) = Gray(60, 5);
  BlendTransRectangle(edge.get(), -1, 0, src.get(), Rect(0, 0, 2, 0), 0, 0xFF00FF);
  EXPECT_EQ(At(edge, 0, 0), Gray(60, 9)) << "a negative X cuts the source's left: blend 0 copies";
  EXPECT_EQ(At(edge, 1, 0), Gray(100, 9));
  auto kept = Bmp(2, 1, Gray(200, 9));
  BlendTransRectangle(kept.get(), 0, 0, src.get(), Rect(-1, 0, 5, 5), 1, 0xFF00FF);
  EXPECT_TRUE(GuardsKept(kept, TRect(), Gray(200, 9))) << "blend 1 keeps the destination";
  BlendTransRectangle(kept.get(), 0, 0, src.get(), Rect(-1, 0, 0, 0), 0, 0xFF00FF);
  EXPECT_EQ(At(kept, 1, 0), Gray(100, 9)) << "a negative left moves the destination by as much";
  EXPECT_EQ(At(kept, 0, 0), Gray(200, 9));
}

TEST(GraphUtilsBlends, SumsByMask) {
  auto out = Bmp(2, 1, Gray(1, 50));
  auto first = Bmp(2, 1, Gray(200, 0));
  auto second = Bmp(2, 1, Gray(100, 0));
  SumBitmapsByMask(out.get(), first.get(), second.get(), nullptr, 64);
  EXPECT_EQ(At(out, 0, 0), Gray(125, 50)) << "(200 * 64 + 100 * 192) shr 8, the output's alpha kept";
  auto mask = Bmp(2, 1, Px(0, 128, 255, 0));
  SumBitmapsByMask(out.get(), first.get(), second.get(), mask.get());
  EXPECT_EQ(At(out, 1, 0), Px(100, 150, 199, 50));
  auto small = Bmp(1, 1, Gray(0, 0));
  SumBitmapsByMask(out.get(), first.get(), small.get(), nullptr, 0);
  EXPECT_EQ(At(out, 0, 0), Px(100, 150, 199, 50)) << "first and second differ in size: nothing";

  // The mask's red byte: 0 blends by the second's alpha, 255 keeps, 64 by (191 * alpha) shr 8.
  auto a = Bmp(4, 1, Gray(200, 1));
  auto b = Bmp(4, 1, Gray(100, 128));
  At(b, 2, 0) = Gray(100, 255);
  auto m = Bmp(4, 1, Px(0, 9, 9, 9));
  At(m, 1, 0) = Px(255, 0, 0, 0);
  At(m, 2, 0) = Px(64, 0, 0, 0);
  SumByMaskWith32(a.get(), b.get(), m.get(), Rect(0, 0, 3, 5));
  EXPECT_EQ(At(a, 0, 0), Gray(150, 1));
  EXPECT_EQ(At(a, 1, 0), Gray(200, 1));
  EXPECT_EQ(At(a, 2, 0), Gray(125, 1));
  EXPECT_EQ(At(a, 3, 0), Gray(200, 1)) << "outside the rectangle";
}

}  // namespace
