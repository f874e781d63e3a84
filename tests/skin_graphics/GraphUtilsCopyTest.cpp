// Copies of the graphics utilities: with the source alpha, through a mask
// row, of a 32-bit picture (tint, fade, reflection), with a key colour, and
// turned by 90 degrees. Values worked out by hand; guard pixels around.
#include <gtest/gtest.h>

#include "skin/graphics/sGraphUtils.h"
#include "tests/skin_graphics/GraphUtilsTestSupport.h"

using namespace gtest_gutils;

namespace {

constexpr std::uint32_t kKey = 0x00FF00FF;

TCacheInfo Parent(TacBitmap* Bmp, int X, int Y, bool Ready = true, TColor Fill = 0) {
  TCacheInfo ci;
  ci.Bmp = Bmp;
  ci.X = X;
  ci.Y = Y;
  ci.Ready = Ready;
  ci.FillColor = Fill;
  return ci;
}

TEST(GraphUtilsCopy, ByTheSourceAlpha) {
  auto parent = Bmp(6, 3, Gray(77, 33));
  auto src = Bmp(4, 1, 0);
  At(src, 0, 0) = Gray(100, 128);
  At(src, 1, 0) = kKey;
  At(src, 2, 0) = Gray(50, 0);
  At(src, 3, 0) = Px(10, 20, 30, 255);
  auto dst = Bmp(6, 3, Gray(200, 100));
  CopyByMask(Rect(1, 1, 5, 2), Rect(0, 0, 4, 1), dst.get(), src.get(), Parent(parent.get(), 0, 0), true);
  EXPECT_EQ(At(dst, 1, 1), Gray(150, 177)) << "(100 * 128 + 200 * 128) shr 8; alpha 100 + (155 * 128) shr 8";
  EXPECT_EQ(At(dst, 2, 1), Gray(77, 255)) << "a key pixel shows the parent, opaque";
  EXPECT_EQ(At(dst, 3, 1), Gray(200, 100)) << "alpha 0 changes nothing";
  EXPECT_EQ(At(dst, 4, 1), Px(10, 20, 30, 254)) << "(c * 255 + 200) shr 8; alpha 100 + (155 * 255) shr 8";
  EXPECT_TRUE(GuardsKept(dst, Rect(1, 1, 5, 2), Gray(200, 100)));

  auto keep = Bmp(4, 1, Gray(200, 100));
  CopyByMask(Rect(0, 0, 4, 1), Rect(0, 0, 4, 1), keep.get(), src.get(), Parent(parent.get(), 0, 0), false);
  EXPECT_EQ(At(keep, 1, 0), Gray(200, 100)) << "without the restore flag the key leaves the pixel";
  auto away = Bmp(4, 1, Gray(200, 100));
  CopyByMask(Rect(0, 0, 4, 1), Rect(0, 0, 4, 1), away.get(), src.get(), Parent(parent.get(), 5, 0), true);
  EXPECT_EQ(At(away, 1, 0), Gray(200, 100)) << "the parent's pixel lies outside its image: left";
  EXPECT_EQ(At(away, 0, 0), Gray(150, 177));
}

TEST(GraphUtilsCopy, ThroughTheMaskRowBelow) {
  // Row 0 the pictures, row 1 their mask (black shows the source).
  auto src = Bmp(2, 2, 0);
  At(src, 0, 0) = Gray(100, 7);
  At(src, 1, 0) = kKey;
  At(src, 0, 1) = Gray(128, 0);
  At(src, 1, 1) = Gray(0, 0);
  TsMaskData md;
  md.SrcRect = Rect(0, 0, 2, 2);
  auto parent = Bmp(4, 4, Gray(77, 33));
  struct Case {
    bool Ready, Restore;
    std::uint32_t Plain, Key;
  } cases[] = {
      {true, true, Gray(150, 255), Gray(77, 33)},
      {true, false, Gray(150, 255), Px(255, 0, 255, 255)},
      {false, true, Gray(150, 50), Px(0x44, 0x33, 0x22, 0x11)},
      {false, false, Gray(150, 50), Gray(200, 50)},
  };
  for (const Case& c : cases) {
    auto dst = Bmp(4, 2, Gray(200, 50));
    CopyByMask(Rect(1, 1, 3, 2), Rect(0, 0, 2, 1), dst.get(), src.get(), Parent(parent.get(), 1, 1, c.Ready, 0x11223344),
               c.Restore, md);
    EXPECT_EQ(At(dst, 1, 1), c.Plain) << c.Ready << c.Restore;
    EXPECT_EQ(At(dst, 2, 1), c.Key) << c.Ready << c.Restore;
    EXPECT_TRUE(GuardsKept(dst, Rect(1, 1, 3, 2), Gray(200, 50)));
  }
  auto dst = Bmp(2, 1, Gray(200, 50));
  CopyByMask(Rect(0, 0, 2, 1), Rect(0, 1, 2, 2), dst.get(), src.get(), EmptyCI, false, md);
  EXPECT_TRUE(GuardsKept(dst, TRect(), Gray(200, 50))) << "a row whose mask lies below the source is not copied";
}

TEST(GraphUtilsCopy, APictureWithItsAlpha) {
  auto src = Bmp(3, 1, Px(250, 20, 30, 255));
  At(src, 1, 0) = Gray(128, 255);
  At(src, 2, 0) = kKey;
  auto parent = Bmp(3, 1, Gray(77, 33));
  auto dst = Bmp(3, 1, Gray(0, 9));
  CopyBmp32(Rect(0, 0, 3, 1), Rect(0, 0, 3, 1), dst.get(), src.get(), Parent(parent.get(), 0, 0), true, clNoColor, 0,
            false);
  EXPECT_EQ(At(dst, 0, 0), Px(250, 20, 30, 255)) << "an opaque source is copied exactly";
  EXPECT_EQ(At(dst, 2, 0), Gray(77, 9)) << "a key pixel takes the parent's colour and keeps its alpha";

  auto tinted = Bmp(3, 1, Gray(0, 9));
  CopyBmp32(Rect(0, 0, 3, 1), Rect(0, 0, 3, 1), tinted.get(), src.get(), EmptyCI, true, 0x000080, 0, false);
  EXPECT_EQ(At(tinted, 1, 0), Px(128, 63, 63, 9)) << "red 128 brightened to (255, 127, 127), scaled by 128 / 255";
  EXPECT_EQ(At(tinted, 2, 0), Gray(0, 9)) << "no parent: the key is left";

  auto faded = Bmp(3, 1, Gray(200, 9));
  CopyBmp32(Rect(0, 0, 3, 1), Rect(0, 0, 3, 1), faded.get(), src.get(), EmptyCI, false, clNoColor, 50, false);
  EXPECT_EQ(At(faded, 1, 0), Gray(164, 9)) << "alpha 255 * 50 div 100 = 127: (128 * 127 + 200 * 129) shr 8";

  auto under = Bmp(3, 1, Gray(0, 200));
  At(src, 0, 0) = Gray(10, 100);
  CopyBmp32(Rect(0, 0, 3, 1), Rect(0, 0, 3, 1), under.get(), src.get(), EmptyCI, false, clNoColor, 0, false);
  EXPECT_EQ(At(under, 0, 0), Gray(3, 200)) << "(10 * 100) shr 8; the larger alpha stays";
}

TEST(GraphUtilsCopy, AReflectionFadesBelowThePicture) {
  auto src = Bmp(1, 8, 0);
  for (int y = 0; y < 8; ++y) At(src, 0, y) = Gray(10 * y, 255);
  auto dst = Bmp(1, 10, Gray(200, 9));
  CopyBmp32(Rect(0, 0, 1, 4), Rect(0, 0, 1, 4), dst.get(), src.get(), EmptyCI, false, clNoColor, 0, true);
  for (int y = 0; y < 4; ++y) EXPECT_EQ(At(dst, 0, y), Gray(10 * y, 255));
  // n = min(10 - 4 - 1, 8 div 2 - 1) = 3 rows; f 255, 224, 193;
  // alpha ((255 * (3 - k)) div 3 * f) shr 9 = 84, 37, 0.
  EXPECT_EQ(At(dst, 0, 4), Gray(200, 9));
  EXPECT_EQ(At(dst, 0, 5), Gray(140, 9)) << "source row 2: (20 * 84 + 200 * 172) shr 8";
  EXPECT_EQ(At(dst, 0, 6), Gray(172, 9)) << "source row 1: (10 * 37 + 200 * 219) shr 8";
  for (int y = 7; y < 10; ++y) EXPECT_EQ(At(dst, 0, y), Gray(200, 9));

  auto small = Bmp(1, 3, Gray(50, 255));
  auto dst2 = Bmp(1, 10, Gray(200, 9));
  CopyBmp32(Rect(0, 0, 1, 3), Rect(0, 0, 1, 3), dst2.get(), small.get(), EmptyCI, false, clNoColor, 0, true);
  EXPECT_TRUE(GuardsKept(dst2, Rect(0, 0, 1, 3), Gray(200, 9))) << "fewer than four rows: no reflection";
}

TEST(GraphUtilsCopy, KeyCopies) {
  auto src = Bmp(3, 2, Px(1, 2, 3, 40));
  At(src, 1, 0) = kKey;
  At(src, 2, 1) = 0x01FF00FF;
  auto dst = Bmp(3, 3, Gray(200, 9));
  CopyTransBitmaps(dst.get(), src.get(), -1, 1, 0xFF00FF);
  EXPECT_EQ(At(dst, 0, 1), Gray(200, 9)) << "key";
  EXPECT_EQ(At(dst, 1, 1), Px(1, 2, 3, 255)) << "opaque copy";
  EXPECT_EQ(At(dst, 1, 2), 0xFFFF00FFu) << "key colour with alpha 1 is no key";
  EXPECT_TRUE(GuardsKept(dst, Rect(0, 1, 2, 3), Gray(200, 9)));

  auto parent = Bmp(4, 4, Gray(77, 33));
  struct Case {
    bool Ready, Restore, ParentIsDst;
    std::uint32_t Plain, Key;
  } cases[] = {
      {true, true, false, Px(1, 2, 3, 40), Gray(77, 33)},
      {true, true, true, Px(1, 2, 3, 255), Gray(200, 9)},
      {true, false, false, Px(1, 2, 3, 40), Gray(200, 9)},
      {false, true, false, Px(1, 2, 3, 40), Px(0x33, 0x22, 0x11, 0)},
  };
  for (const Case& c : cases) {
    auto d = Bmp(3, 2, Gray(200, 9));
    const TCacheInfo ci = Parent(c.ParentIsDst ? d.get() : parent.get(), 0, 0, c.Ready, 0x112233);
    CopyTransRect(d.get(), src.get(), 1, 1, Rect(-1, 0, 1, 0), 0xFF00FF, ci, c.Restore);
    EXPECT_EQ(At(d, 2, 1), c.Plain) << c.Ready << c.Restore << c.ParentIsDst;
    EXPECT_TRUE(GuardsKept(d, Rect(2, 1, 3, 2), Gray(200, 9))) << "source column 1 (the key) falls outside";
    auto k = Bmp(2, 1, Gray(200, 9));
    const TCacheInfo kci = Parent(c.ParentIsDst ? k.get() : parent.get(), 0, 0, c.Ready, 0x112233);
    CopyTransRect(k.get(), src.get(), 0, 0, Rect(0, 0, 1, 0), 0xFF00FF, kci, c.Restore);
    EXPECT_EQ(At(k, 1, 0), c.Key) << c.Ready << c.Restore << c.ParentIsDst;
  }

  auto a = Bmp(3, 1, Gray(200, 9));
  At(src, 0, 0) = 0x80FF00FF;
  CopyTransRectA(a.get(), src.get(), 0, 0, Rect(0, 0, 9, 0), 0xFF00FF, EmptyCI);
  EXPECT_EQ(At(a, 0, 0), 0x80FF00FFu) << "the key colour with alpha 128 is copied whole";
  EXPECT_EQ(At(a, 1, 0), Gray(200, 9)) << "key";
  EXPECT_EQ(At(a, 2, 0), Px(1, 2, 3, 40));
}

TEST(GraphUtilsCopy, TurnedByNinetyDegrees) {
  auto src = Bmp(3, 2, 0);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) At(src, x, y) = static_cast<std::uint32_t>(10 * y + x);
  auto cw = MakeRotated90(src, true, false);
  ASSERT_TRUE(cw);
  ASSERT_EQ(BitmapWidth(cw.get()), 2);
  ASSERT_EQ(BitmapHeight(cw.get()), 3);
  EXPECT_EQ(At(cw, 1, 0), 0u) << "(x, y) goes to (height - 1 - y, x)";
  EXPECT_EQ(At(cw, 0, 2), 12u);
  auto ccw = MakeRotated90(src, false, true);
  EXPECT_FALSE(src) << "the source is freed";
  EXPECT_EQ(At(ccw, 0, 2), 0u) << "(x, y) goes to (y, width - 1 - x)";
  EXPECT_EQ(At(ccw, 1, 0), 12u);
  std::unique_ptr<TacBitmap> rgb = NewBitmap(pf24bit, 2, 2);
  EXPECT_FALSE(MakeRotated90(rgb, true, true));
  EXPECT_TRUE(rgb) << "a 24-bit bitmap is not turned and not freed";
}

}  // namespace
