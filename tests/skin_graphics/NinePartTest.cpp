// Nine-part drawing of border images (DrawSkinRect, DrawSkinRect32,
// DrawSkinRect32Ex, DrawSmallSkinRect). The master bitmap's pixel (x, y) is
// Bgra(x, y, 0x80, 255), so every destination pixel tells which source pixel
// it came from; the expected source column and row of each destination pixel
// are worked out by hand from the piece table and the band filling.
#include <gtest/gtest.h>

#include <functional>

#include "AlphaTestSupport.h"
#include "skin/core/acntUtils.h"
#include "skin/graphics/acPaintManager.h"
#include "skin/graphics/sAlphaGraph.h"

using namespace alphatest;

namespace {

std::uint32_t From(int x, int y) { return Bgra(x, y, 0x80, 255); }
// The same pixel through an opaque mask of CopyByMask32: each channel * 255 shr 8.
std::uint32_t FromMasked(int x, int y) { return Bgra(x * 255 >> 8, y * 255 >> 8, 0x7F, 255); }

struct Border {
  TsSkinManager Manager;
  TsMaskData Md;
  // An image of Columns states of W x H in the master bitmap at (0, 0); a
  // masked image gets an opaque (black) mask of the same size below.
  Border(int w, int h, int columns, int l, int t, int r, int b, int fillMode = 0, int maskKind = 0) {
    const int rows = maskKind ? 2 * h : h;
    Manager.MasterBitmap = CreateBmp32(w * columns, rows);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w * columns; ++x) Px(Manager.MasterBitmap, x, y) = From(x, y);
    Md.SrcRect = Rect(0, 0, w * columns, rows);
    Md.Columns = static_cast<SmallInt>(columns);
    Md.MaskKind = static_cast<SmallInt>(maskKind);
    Md.MarginLeft = static_cast<SmallInt>(l);
    Md.MarginTop = static_cast<SmallInt>(t);
    Md.MarginRight = static_cast<SmallInt>(r);
    Md.MarginBottom = static_cast<SmallInt>(b);
    Md.FillMode = static_cast<SmallInt>(fillMode);
    Md.OwnerManager = &Manager;
  }
};

// Inside R the source column and row of each pixel; outside R the guard.
::testing::AssertionResult Drawn(const Bmp& d, const TRect& R, const std::function<int(int)>& srcX,
                                 const std::function<int(int)>& srcY) {
  return OnlyInside(d, R, [&](int x, int y) { return From(srcX(x - R.Left), srcY(y - R.Top)); });
}

// The 25-pixel case: a 13 x 6 picture with margins 4, 2, 4, 2 over a
// rectangle 25 x 6 at (1, 1): tiles at +4, +9, +14 and 2 pixels at +19;
// the centre (without FillMode bit 2) keeps the guard.
const TRect k25 = Rect(1, 1, 26, 7);
int Src25X(int rx) { return rx < 4 ? rx : rx >= 21 ? rx - 21 + 9 : 4 + (rx - 4) % 5; }
bool Centre25(int rx, int ry) { return rx >= 4 && rx < 21 && ry >= 2 && ry < 4; }
std::function<std::uint32_t(int, int)> Expect25(std::function<std::uint32_t(int, int)> pixel, std::uint32_t guard) {
  return [=](int x, int y) {
    const int rx = x - k25.Left, ry = y - k25.Top;
    return Centre25(rx, ry) ? guard : pixel(Src25X(rx), ry);
  };
}

TEST(NinePart, TiledBandsPlaceFullTilesThenWhatRemains) {
  Border f(13, 6, 1, 4, 2, 4, 2);
  Bmp d = Filled(27, 8);
  DrawSkinRect(d.get(), k25, EmptyCI, f.Md, 0, false);
  EXPECT_TRUE(OnlyInside(d, k25, Expect25(From, kGuard)));
  EXPECT_EQ(Px(d, 1 + 19, 1), From(4, 0));
  EXPECT_EQ(Px(d, 1 + 20, 1), From(5, 0));
}

TEST(NinePart, MarginsTooWideAreCutTheOddPixelOffTheRight) {
  // Margins 5/4 and 5/5 in 7 pixels both become 4/3: columns 0-3 from the
  // left corner, 4-6 from the right corner, which starts after the cut
  // centre band (source columns 7-9).
  for (int right : {4, 5}) {
    Border f(10, 3, 1, 5, 1, right, 1);
    Bmp d = Filled(9, 5);
    DrawSkinRect32(d.get(), Rect(1, 1, 8, 4), EmptyCI, f.Md, 0);
    EXPECT_TRUE(Drawn(
        d, Rect(1, 1, 8, 4), [](int rx) { return rx < 4 ? rx : rx + 3; }, [](int ry) { return ry; }))
        << right;
  }
}

TEST(NinePart, CentreTiledOrStretched) {
  // A 4 x 3 picture with margins 1: a centre band 2 wide and 1 high, over a
  // 6 x 3 rectangle: tiled 1, 2, 1, 2; stretched 1, 1, 2, 2.
  struct Case {
    int FillMode;
    int Mid[4];
  };
  const Case cases[] = {{4, {1, 2, 1, 2}}, {5, {1, 1, 2, 2}}};
  for (const Case& c : cases) {
    Border f(4, 3, 1, 1, 1, 1, 1, c.FillMode);
    Bmp d = Filled(6, 3);
    DrawSkinRect(d.get(), Rect(0, 0, 6, 3), EmptyCI, f.Md, 0, false);
    EXPECT_TRUE(Drawn(
        d, Rect(0, 0, 6, 3), [&](int rx) { return rx == 0 ? 0 : rx == 5 ? 3 : c.Mid[rx - 1]; },
        [](int ry) { return ry; }))
        << c.FillMode;
  }
}

TEST(NinePart, NothingIsDrawnWhenThePreconditionsFail) {
  struct Case {
    const char* Name;
    TRect R;
    int State, FillMode, PictureWidth;
    bool Manager;
  };
  const Case cases[] = {
      {"one pixel wide", Rect(0, 0, 1, 6), 0, 0, 6, true},
      {"one pixel high", Rect(0, 0, 6, 1), 0, 0, 6, true},
      {"state 0 with FillMode bit 1", Rect(0, 0, 6, 6), 0, 2, 6, true},
      {"a picture narrower than its margins", Rect(0, 0, 6, 6), 0, 0, 3, true},
      {"no manager", Rect(0, 0, 6, 6), 0, 0, 6, false},
  };
  for (const Case& c : cases) {
    Border f(c.PictureWidth, 4, 1, 2, 1, 2, 1, c.FillMode);
    if (!c.Manager) f.Md.OwnerManager = nullptr;
    Bmp d = Filled(6, 6);
    DrawSkinRect(d.get(), c.R, EmptyCI, f.Md, c.State, false);
    DrawSkinRect32(d.get(), c.R, EmptyCI, f.Md, c.State);
    EXPECT_TRUE(PixelsAre(d, [](int, int) { return kGuard; })) << c.Name;
  }
}

TEST(NinePart, StateBeyondTheColumnsDrawsTheLastPicture) {
  // Three states of 3 x 3 with margins 1: state 9 draws the third (columns 6-8).
  Border f(3, 3, 3, 1, 1, 1, 1, 4);
  Bmp d = Filled(3, 3);
  DrawSkinRect32(d.get(), Rect(0, 0, 3, 3), EmptyCI, f.Md, 9);
  EXPECT_TRUE(Drawn(d, Rect(0, 0, 3, 3), [](int rx) { return 6 + rx; }, [](int ry) { return ry; }));
}

TEST(NinePart, MaskedPiecesGoThroughTheirMask) {
  // The 25-pixel case masked (an opaque mask): DrawSkinRect copies each
  // colour as it is and leaves alpha; DrawSkinRect32 scales by 255 / 256 at
  // alpha 255.
  {
    Border f(13, 6, 1, 4, 2, 4, 2, 0, 1);
    Bmp d = Filled(27, 8, 0x7F000000);
    DrawSkinRect(d.get(), k25, EmptyCI, f.Md, 0, false);
    auto keepAlpha = [](int x, int y) { return (From(x, y) & 0x00FFFFFF) | 0x7F000000u; };
    EXPECT_TRUE(OnlyInside(d, k25, Expect25(keepAlpha, 0x7F000000), 0x7F000000)) << "DrawSkinRect";
  }
  {
    Border f(13, 6, 1, 4, 2, 4, 2, 0, 1);
    Bmp d = Filled(27, 8);
    DrawSkinRect32(d.get(), k25, EmptyCI, f.Md, 0);
    EXPECT_TRUE(OnlyInside(d, k25, Expect25(FromMasked, kGuard))) << "DrawSkinRect32";
  }
}

TEST(NinePart, Ex32LimitsTheEdgeStripsToTheOuterSide) {
  // A masked 7 x 5 picture with margins 2 over a 7 x 5 rectangle of black
  // with alpha 0; Alpha 255 weighs the source 254: colours c * 254 shr 8.
  auto ex = [](int x, int y) { return Bgra(x * 254 >> 8, y * 254 >> 8, 0x80 * 254 >> 8, 255); };
  struct Case {
    const char* Name;
    TRect Limits;
    std::function<std::uint32_t(int, int)> Want;
  };
  auto corner = [](int x, int y) { return (x < 2 || x >= 5) && (y < 2 || y >= 3); };
  const Case cases[] = {
      {"limits 0: only the corners", Rect(0, 0, 0, 0),
       [&](int x, int y) { return corner(x, y) ? ex(x, y) : 0u; }},
      // Left and right strips 1 wide along the outer sides: columns 0 and 6
      // of the picture; no top or bottom strips; no centre.
      {"strips of 1 on the left and right", Rect(1, 0, 1, 0),
       [&](int x, int y) { return corner(x, y) || x == 0 || x == 6 ? ex(x, y) : 0u; }},
  };
  for (const Case& c : cases) {
    Border f(7, 5, 1, 2, 2, 2, 2, 4, 1);
    Bmp d = Filled(7, 5, 0);
    DrawSkinRect32Ex(d.get(), Rect(0, 0, 7, 5), EmptyCI, f.Md, 0, c.Limits, 255);
    EXPECT_TRUE(PixelsAre(d, c.Want)) << c.Name;
  }
}

TEST(NinePart, SmallFormCutsAThreeByThreeGrid) {
  // A 9 x 9 picture: cells of 3. Over 9 x 9 every piece is one cell; over
  // 4 x 4 the sides are split in halves and show only their corners: columns
  // 0-1 and 7-8 of the picture.
  Border f(9, 9, 1, 0, 0, 0, 0, 4);
  Bmp whole = Filled(9, 9);
  DrawSmallSkinRect(whole.get(), Rect(0, 0, 9, 9), EmptyCI, f.Md, 0);
  EXPECT_TRUE(Drawn(whole, Rect(0, 0, 9, 9), [](int rx) { return rx; }, [](int ry) { return ry; }));
  Bmp small = Filled(6, 6);
  DrawSmallSkinRect(small.get(), Rect(1, 1, 5, 5), EmptyCI, f.Md, 0);
  auto half = [](int r) { return r < 2 ? r : r + 5; };
  EXPECT_TRUE(Drawn(small, Rect(1, 1, 5, 5), half, half));

  TsMaskData own;
  own.Bitmap = CreateBmp32(9, 9);
  own.SrcRect = Rect(0, 0, 9, 9);
  own.Columns = 1;
  own.OwnerManager = &f.Manager;
  Bmp none = Filled(9, 9);
  DrawSmallSkinRect(none.get(), Rect(0, 0, 9, 9), EmptyCI, own, 0);
  EXPECT_TRUE(PixelsAre(none, [](int, int) { return kGuard; })) << "only images of the master bitmap";
}

TEST(NinePart, KeyCornersTakeTheParentsBackground) {
  // The top-left pixel of a 3 x 3 key-colour picture is the key; the cache
  // is a plain 0x11223344 bitmap.
  Border f(3, 3, 1, 1, 1, 1, 1, 4);
  f.Md.CornerKind = 1;
  Px(f.Manager.MasterBitmap, 0, 0) = 0x00FF00FF;
  Bmp cache = Filled(6, 6, 0x11223344);
  Bmp d = Filled(3, 3);
  DrawSkinRect32(d.get(), Rect(0, 0, 3, 3), MakeCacheInfo(cache.get(), 1, 1), f.Md, 0);
  EXPECT_EQ(Px(d, 0, 0), 0x11223344u);
  EXPECT_EQ(Px(d, 1, 0), From(1, 0));
}

}  // namespace
