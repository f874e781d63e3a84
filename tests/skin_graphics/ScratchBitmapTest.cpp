// The painters' kept temporary bitmaps: a lease's area holds zeros as a new
// bitmap's does, also after an earlier lease wrote into the same bitmap;
// nested leases hold bitmaps of their own; a larger lease grows the bitmap.
#include <gtest/gtest.h>

#include "skin/graphics/acScratchBitmap.h"

namespace {

void Scribble(const TacScratchBitmap& s) {
  const TPixelView32 v = PixelsOf(s.Bitmap());
  for (int y = 0; y < v.Height; ++y)
    for (int x = 0; x < v.Width; ++x) v.Row(y)[x] = 0xDEADBEEF;
}

bool AreaIsZero(const TacScratchBitmap& s) {
  const TPixelView32 v = PixelsOf(s.Bitmap());
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x)
      if (v.Row(y)[x] != 0) return false;
  return true;
}

TEST(ScratchBitmap, ALeaseStartsClearedAndNestedLeasesHoldTheirOwn) {
  TacBitmap* first = nullptr;
  {
    const TacScratchBitmap a(30, 20);
    ASSERT_GE(BitmapWidth(a.Bitmap()), 30);
    ASSERT_GE(BitmapHeight(a.Bitmap()), 20);
    EXPECT_EQ(a.Area(), Rect(0, 0, 30, 20));
    EXPECT_TRUE(AreaIsZero(a));
    Scribble(a);
    first = a.Bitmap();
  }
  {
    const TacScratchBitmap again(12, 7);
    EXPECT_EQ(again.Bitmap(), first) << "kept between leases";
    EXPECT_TRUE(AreaIsZero(again)) << "cleared for the next lease";
    Scribble(again);
    const TacScratchBitmap nested(12, 7);
    EXPECT_NE(nested.Bitmap(), again.Bitmap());
    EXPECT_TRUE(AreaIsZero(nested));
    EXPECT_EQ(PixelsOf(again.Bitmap()).Row(0)[0], 0xDEADBEEFu) << "the outer lease keeps its pixels";
  }
  const TacScratchBitmap larger(64, 40);
  EXPECT_GE(BitmapWidth(larger.Bitmap()), 64);
  EXPECT_GE(BitmapHeight(larger.Bitmap()), 40);
  EXPECT_TRUE(AreaIsZero(larger));
  const TacScratchBitmap none(-3, 5);
  EXPECT_EQ(none.Area(), Rect(0, 0, 0, 5));
}

}  // namespace
