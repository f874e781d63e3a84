// Masked copies of skin image pieces: through the mask row below the
// picture (CopyByMask32, CopyByMask32Ex) and through the master bitmap's
// per-channel mask (CopyMasterRect, CopyMasterRectA); key pixels taking the
// parent's cache, the fill colour or nothing; every copy cut to its bitmaps
// and to the cache it reads. Pixels worked out by hand; guards all round.
#include <gtest/gtest.h>

#include "AlphaTestSupport.h"
#include "skin/core/acntUtils.h"
#include "skin/graphics/acPaintManager.h"
#include "skin/graphics/acPixelRuns.h"
#include "skin/graphics/sAlphaGraph.h"

using namespace alphatest;

namespace {

constexpr std::uint32_t kKey = 0x00FF00FF;

// A masked image: one picture row over its mask row (the mask's offset is
// half of SrcRect's height).
TsMaskData MaskedImage(int height = 2) {
  TsMaskData md;
  md.SrcRect = Rect(0, 0, 1, height);
  md.Columns = 1;
  md.MaskKind = 1;
  return md;
}

// A 5 x 5 cache whose pixel (x, y) is 0x0C000000 | (y << 8) | x.
Bmp NumberedCache() {
  Bmp c = CreateBmp32(5, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) Px(c, x, y) = 0x0C000000u | std::uint32_t(y << 8) | std::uint32_t(x);
  return c;
}

TEST(MaskCopy, OnePixelThroughTheMask) {
  Bmp cache = NumberedCache();
  const TCacheInfo ready = MakeCacheInfo(cache.get(), 1, 2);
  TCacheInfo outside = ready;
  outside.X = 10;
  struct Case {
    const char* Name;
    std::uint32_t S, M, D;  // picture, mask, destination
    const TCacheInfo* CI;
    Integer Alpha;  // -1: CopyByMask32
    std::uint32_t Out;
  };
  const Case cases[] = {
      {"m 0 takes the source, opaque", Grey(255, 9), Grey(0, 0), Grey(100, 50), &EmptyCI, -1, Grey(254, 255)},
      {"m 128 mixes evenly", Grey(200, 0), Grey(128, 0), Grey(100, 50), &EmptyCI, -1, Grey(149, 127)},
      {"m 128 keeps a higher alpha", Grey(200, 0), Grey(128, 0), Grey(100, 200), &EmptyCI, -1, Grey(149, 200)},
      {"m 255 scales the destination", Grey(200, 0), Grey(255, 0), Grey(100, 50), &EmptyCI, -1, Grey(99, 50)},
      {"only the mask's red counts", Grey(200, 0), Bgra(255, 255, 0, 255), Grey(100, 50), &EmptyCI, -1,
       Grey(199, 255)},
      {"key with a ready cache", kKey, Grey(0, 0), Grey(100, 50), &ready, -1, 0x0C000302},
      {"key without a ready cache", kKey, Grey(0, 0), Grey(100, 50), &EmptyCI, -1, Grey(100, 0)},
      {"key whose background lies outside the cache", kKey, Grey(0, 0), Grey(100, 50), &outside, -1, Grey(100, 50)},
      {"alpha 0 takes nothing of the source", Grey(200, 0), Grey(128, 0), Grey(100, 50), &EmptyCI, 0, Grey(99, 127)},
      {"alpha 255, m 0: weight 254", Grey(200, 0), Grey(0, 0), Grey(100, 50), &EmptyCI, 255, Grey(198, 255)},
      {"alpha 128, m 0: weight 127", Grey(200, 0), Grey(0, 0), Grey(100, 50), &EmptyCI, 128, Grey(149, 255)},
      {"alpha 255 key with a ready cache", kKey, Grey(0, 0), Grey(100, 50), &ready, 255, 0x0C000302},
  };
  for (const Case& c : cases) {
    Bmp src = FromRows({{c.S}, {c.M}});
    Bmp dst = Filled(3, 3);
    Px(dst, 1, 1) = c.D;
    if (c.Alpha < 0)
      CopyByMask32(Rect(1, 1, 2, 2), Rect(0, 0, 1, 1), dst.get(), src.get(), *c.CI, MaskedImage());
    else
      CopyByMask32Ex(Rect(1, 1, 2, 2), Rect(0, 0, 1, 1), dst.get(), src.get(), *c.CI, MaskedImage(), c.Alpha);
    EXPECT_TRUE(OnlyInside(dst, Rect(1, 1, 2, 2), c.Out)) << c.Name;
  }
}

// A 4 x 4 source: pictures in rows 0-1 (value 0x10 * row + column), black
// masks in rows 2-3 (fully opaque), so a copied pixel p becomes p * 255 shr 8
// at alpha 255.
Bmp PictureOverMask() {
  Bmp s = CreateBmp32(4, 4);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) Px(s, x, y) = Grey(0x10 * y + 0x40 * x, 0);
  return s;
}
std::uint32_t Copied(int sx, int sy) { return Grey((0x10 * sy + 0x40 * sx) * 255 >> 8, 255); }

TEST(MaskCopy, CopiesAreCutToBothBitmaps) {
  struct Case {
    const char* Name;
    TRect R1, R2;
    TRect Changed;  // in the 4 x 3 destination
    int Dx, Dy;     // source = destination - (Dx, Dy)
  };
  const Case cases[] = {
      {"destination left of and above", Rect(-1, -1, 2, 1), Rect(0, 0, 3, 2), Rect(0, 0, 2, 1), -1, -1},
      {"destination past the right", Rect(2, 1, 6, 3), Rect(0, 0, 4, 2), Rect(2, 1, 4, 3), 2, 1},
      {"source left of its bitmap", Rect(0, 0, 3, 2), Rect(-2, 0, 1, 2), Rect(2, 0, 3, 2), 2, 0},
      {"source past its right", Rect(0, 1, 4, 2), Rect(2, 0, 6, 1), Rect(0, 1, 2, 2), -2, 1},
  };
  for (const Case& c : cases) {
    Bmp src = PictureOverMask();
    Bmp dst = Filled(4, 3);
    TsMaskData md = MaskedImage(4);
    CopyByMask32(c.R1, c.R2, dst.get(), src.get(), EmptyCI, md);
    EXPECT_TRUE(OnlyInside(dst, c.Changed, [&](int x, int y) { return Copied(x - c.Dx, y - c.Dy); })) << c.Name;
  }
}

TEST(MaskCopy, MaskRowsArePulledUpIntoTheSourceAndRowsLimitedByTheCache) {
  // Source 1 x 3: picture row 0; the image's SrcRect claims 6 rows, so the
  // mask would lie 3 rows down, outside: it is taken from row 2 instead.
  Bmp src = FromRows({{Grey(200, 0)}, {Grey(0, 0)}, {Grey(255, 0)}});
  Bmp dst = Filled(1, 1, Grey(100, 50));
  CopyByMask32(Rect(0, 0, 1, 1), Rect(0, 0, 1, 1), dst.get(), src.get(), EmptyCI, MaskedImage(6));
  EXPECT_EQ(Px(dst, 0, 0), Grey(99, 50)) << "mask 255 of row 2";

  Bmp tall = FromRows({{Grey(200, 0)}, {Grey(200, 0)}, {Grey(0, 0)}, {Grey(0, 0)}});
  Bmp cache = Filled(3, 1);
  Bmp out = Filled(1, 3);
  CopyByMask32(Rect(0, 0, 1, 2), Rect(0, 0, 1, 2), out.get(), tall.get(), MakeCacheInfo(cache.get()), MaskedImage(4));
  EXPECT_TRUE(OnlyInside(out, Rect(0, 0, 1, 1), Grey(199, 255))) << "one row: the cache is one row high";
}

// ------------------------------------------------------------ master bitmap pieces

struct MasterFixture {
  TsSkinManager Manager;
  TsMaskData Md;
  // A master bitmap 4 wide: picture row 0 and its mask row 1 (SrcRect 2 high).
  explicit MasterFixture(std::vector<std::uint32_t> picture, std::vector<std::uint32_t> mask) {
    Manager.MasterBitmap = FromRows({std::move(picture), std::move(mask)});
    Md.SrcRect = Rect(0, 0, 4, 2);
    Md.Columns = 1;
    Md.MaskKind = 1;
    Md.OwnerManager = &Manager;
  }
};

TEST(MaskCopy, MasterPieceWeighsEachChannelByItsMaskChannel) {
  // Blue mask 0 takes the source, green 128 mixes, red 255 keeps nearly the destination.
  MasterFixture f({Grey(200, 7)}, {Bgra(0, 128, 255, 0)});
  Bmp dst = Filled(3, 3, Grey(100, 33));
  CopyMasterRect(Rect(1, 1, 2, 2), Rect(0, 0, 1, 1), dst.get(), EmptyCI, f.Md);
  EXPECT_TRUE(OnlyInside(dst, Rect(1, 1, 2, 2), Bgra(200, 150, 100, 33), Grey(100, 33)));
}

TEST(MaskCopy, MasterPieceKeyPixels) {
  Bmp cache = NumberedCache();
  TCacheInfo ready = MakeCacheInfo(cache.get(), 2, 1);
  TCacheInfo readyWithFill = ready;
  readyWithFill.FillColor = 0x0000FF;
  TCacheInfo fill = EmptyCI;
  fill.FillColor = 0x0000FF;
  TCacheInfo outside = ready;
  outside.Y = -5;
  struct Case {
    const char* Name;
    const TCacheInfo* CI;
    bool WithBackground;
    std::uint32_t Out;
  };
  const Case cases[] = {
      {"ready cache", &ready, true, 0x0C000203},
      {"ready, but a fill colour", &readyWithFill, true, 0x00FF0000},
      {"not ready, fill colour", &fill, true, 0x00FF0000},
      {"not ready, no fill colour", &EmptyCI, true, Grey(100, 33)},
      {"background outside the cache", &outside, true, Grey(100, 33)},
      {"A: key pixels left", &ready, false, Grey(100, 33)},
  };
  for (const Case& c : cases) {
    MasterFixture f({kKey}, {Grey(0, 0)});
    Bmp dst = Filled(3, 3, Grey(100, 33));
    if (c.WithBackground)
      CopyMasterRect(Rect(1, 1, 2, 2), Rect(0, 0, 1, 1), dst.get(), *c.CI, f.Md);
    else
      CopyMasterRectA(Rect(1, 1, 2, 2), Rect(0, 0, 1, 1), dst.get(), *c.CI, f.Md);
    EXPECT_TRUE(OnlyInside(dst, Rect(1, 1, 2, 2), c.Out, Grey(100, 33))) << c.Name;
  }
}

TEST(MaskCopy, MasterPieceFromANegativeStartAndWithMaskRowsOutside) {
  // Opaque mask: each copied pixel takes the source's colour, alpha kept.
  MasterFixture f({Grey(10, 0), Grey(20, 0), Grey(30, 0), Grey(40, 0)}, {Grey(0, 0), Grey(0, 0), Grey(0, 0), Grey(0, 0)});
  Bmp dst = Filled(4, 1, Grey(0, 99));
  CopyMasterRect(Rect(-3, 0, 1, 1), Rect(0, 0, 4, 1), dst.get(), EmptyCI, f.Md);
  EXPECT_TRUE(OnlyInside(dst, Rect(0, 0, 1, 1), Grey(40, 99), Grey(0, 99))) << "the fourth column to column 0";

  f.Md.SrcRect = Rect(0, 0, 4, 4);  // the mask would lie two rows down, below the master bitmap
  Bmp untouched = Filled(4, 1);
  CopyMasterRect(Rect(0, 0, 4, 1), Rect(0, 0, 4, 1), untouched.get(), EmptyCI, f.Md);
  EXPECT_TRUE(PixelsAre(untouched, [](int, int) { return kGuard; }));
  f.Md.SrcRect = Rect(0, 0, 4, 2);
  f.Md.OwnerManager = nullptr;
  CopyMasterRect(Rect(0, 0, 4, 1), Rect(0, 0, 4, 1), untouched.get(), EmptyCI, f.Md);
  EXPECT_TRUE(PixelsAre(untouched, [](int, int) { return kGuard; })) << "no manager";
}

}  // namespace
