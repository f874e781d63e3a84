// Textures laid over rectangles: every fill mode of a skin image with the
// pixel each destination point shows and the rectangle handed back, masked
// tiles through the master image, and tiles of no size.
#include <gtest/gtest.h>

#include <functional>

#include "skin/graphics/acPaintManager.h"
#include "skin/graphics/sGraphUtils.h"
#include "tests/skin_graphics/GraphUtilsTestSupport.h"

using namespace gtest_gutils;

namespace {

constexpr std::uint32_t kGuard = 0x5A5A5A5A;

// The picture pixel at (x, y): distinct everywhere.
constexpr std::uint32_t TilePixel(int x, int y) { return Px(10 + x, 20 + y, 30, 255); }

// A master image 8 x 4 whose rectangle (2, 1, 5, 3) holds the 3 x 2 tile.
struct Texture {
  TsSkinManager Manager;
  TsMaskData Md;
  Texture() {
    Manager.MasterBitmap = Bmp(8, 4, 0x11111111);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) At(Manager.MasterBitmap.get(), 2 + x, 1 + y) = TilePixel(x, y);
    Md.SrcRect = Rect(2, 1, 5, 3);
    Md.Columns = 1;
    Md.OwnerManager = &Manager;
  }
};

::testing::AssertionResult Shows(TacBitmap* b, const std::function<std::uint32_t(int, int)>& Expected) {
  const TPixelView32 v = PixelsOf(b);
  for (int y = 0; y < v.Height; ++y)
    for (int x = 0; x < v.Width; ++x)
      if (v.At(x, y) != Expected(x, y))
        return ::testing::AssertionFailure() << "(" << x << ", " << y << ") is " << Hex(v.At(x, y)) << ", not "
                                             << Hex(Expected(x, y));
  return ::testing::AssertionSuccess();
}

TEST(GraphUtilsTile, APictureFromTheRectanglesCorner) {
  auto pic = Bmp(3, 2, 0);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) At(pic, x, y) = TilePixel(x, y);
  auto dst = Bmp(10, 8, kGuard);
  TRect r = Rect(1, 1, 8, 6);
  TileBitmap(dst.get(), r, pic.get(), TsMaskData{}, fmTiledHorz);
  EXPECT_EQ(r, acNothingLeft) << "a picture is always tiled over all of R";
  EXPECT_TRUE(Shows(dst.get(), [](int x, int y) {
    return x >= 1 && x < 8 && y >= 1 && y < 6 ? TilePixel((x - 1) % 3, (y - 1) % 2) : kGuard;
  }));
}

TEST(GraphUtilsTile, EveryFillModeOfASkinImage) {
  const TRect R = Rect(1, 1, 9, 6);
  auto tiled = [](int x0, int y0) {
    return [=](int x, int y) { return TilePixel(((x - x0) % 3 + 3) % 3, ((y - y0) % 2 + 2) % 2); };
  };
  struct Case {
    TacFillMode Mode;
    TRect Covered, Left;
    std::function<std::uint32_t(int, int)> Pixel;
  } cases[] = {
      {fmTiled, R, acNothingLeft, tiled(1, 1)},
      {fmTiledHorz, Rect(1, 1, 9, 3), Rect(1, 3, 9, 6), tiled(1, 1)},
      {fmTiledVert, Rect(1, 1, 4, 6), Rect(4, 1, 9, 6), tiled(1, 1)},
      {fmTileHorBtm, Rect(1, 4, 9, 6), Rect(1, 1, 9, 4), tiled(1, 4)},
      {fmTileVertRight, R, Rect(1, 1, 6, 6), tiled(1, 1)},
      // Whole tiles at x 1 and 4, a last column of 2 at x 7; rows at 1 and 3 only.
      {fmDisTiled, Rect(1, 1, 9, 5), acNothingLeft, tiled(1, 1)},
      {fmStretchHorBtm, R, Rect(6, 1, 9, 6), tiled(1, 1)},
      // Stretched without mixing: 3 x 2 onto 8 x 5 takes source (x * 3 / 8, y * 2 / 5).
      {fmStretched, R, acNothingLeft, [](int x, int y) { return TilePixel((x - 1) * 3 / 8, (y - 1) * 2 / 5); }},
      {fmStretchHorz, Rect(1, 1, 9, 3), Rect(1, 3, 9, 6), [](int x, int y) { return TilePixel((x - 1) * 3 / 8, y - 1); }},
      {fmStretchVert, Rect(1, 1, 4, 6), Rect(4, 1, 9, 6), [](int x, int y) { return TilePixel(x - 1, (y - 1) * 2 / 5); }},
  };
  for (const Case& c : cases) {
    Texture t;
    auto dst = Bmp(10, 7, kGuard);
    TRect r = R;
    TileBitmap(dst.get(), r, nullptr, t.Md, c.Mode);
    EXPECT_EQ(r, c.Left) << "mode " << c.Mode;
    EXPECT_TRUE(Shows(dst.get(), [&](int x, int y) { return c.Covered.Contains(Point(x, y)) ? c.Pixel(x, y) : kGuard; }))
        << "mode " << c.Mode;
  }
}

TEST(GraphUtilsTile, StripsNarrowerThanTheTileAreCutInsideR) {
  Texture t;
  auto dst = Bmp(6, 5, kGuard);
  TRect r = Rect(1, 1, 5, 2);
  TileBitmap(dst.get(), r, nullptr, t.Md, fmTileHorBtm);
  EXPECT_TRUE(Shows(dst.get(), [](int x, int y) {
    return y == 1 && x >= 1 && x < 5 ? TilePixel((x - 1) % 3, 1) : kGuard;
  })) << "the row of tiles along the bottom keeps their lower row";
  auto dst2 = Bmp(6, 5, kGuard);
  TRect s = Rect(1, 1, 3, 4);
  TileBitmap(dst2.get(), s, nullptr, t.Md, fmStretchVert);
  EXPECT_TRUE(Shows(dst2.get(), [](int x, int y) {
    return x >= 1 && x < 3 && y >= 1 && y < 4 ? TilePixel(x - 1, (y - 1) * 2 / 3) : kGuard;
  })) << "a strip as wide as the tile keeps its left columns inside R";
}

TEST(GraphUtilsTile, ATileOfNoSizePaintsNothing) {
  for (TacFillMode mode : {fmTiled, fmDisTiled, fmTiledHorz, fmTileVertRight, fmStretched}) {
    Texture t;
    t.Md.SrcRect = Rect(2, 1, 2, 3);
    auto dst = Bmp(4, 4, kGuard);
    TRect r = Rect(0, 0, 4, 4);
    TileBitmap(dst.get(), r, nullptr, t.Md, mode);
    EXPECT_EQ(r, Rect(0, 0, 4, 4)) << "R is handed back whole, for the colour";
    EXPECT_TRUE(GuardsKept(dst, TRect(), kGuard));
    auto empty = NewBitmap32(0, 0);
    TileBitmap(dst.get(), r, empty.get(), t.Md, mode);
    EXPECT_TRUE(GuardsKept(dst, TRect(), kGuard)) << "an empty picture is no picture";
  }
}

// A master image whose rectangle (0, 0, 2, 4) holds a 2 x 2 picture over its
// black mask (which shows the picture as it is); pixel (1, 1) is the key.
struct MaskedTexture {
  TsSkinManager Manager;
  TsMaskData Md;
  MaskedTexture() {
    Manager.MasterBitmap = Bmp(3, 4, Px(0, 0, 0, 0));
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 2; ++x) At(Manager.MasterBitmap.get(), x, y) = TilePixel(x, y);
    At(Manager.MasterBitmap.get(), 1, 1) = 0x00FF00FF;
    Md.SrcRect = Rect(0, 0, 2, 4);
    Md.Columns = 1;
    Md.MaskKind = 1;
    Md.OwnerManager = &Manager;
  }
};

TCacheInfo Fill(TColor Color) {
  TCacheInfo ci;
  ci.FillColor = Color;
  return ci;
}

TEST(GraphUtilsTileMasked, TwoAndAHalfTilesEachWay) {
  MaskedTexture t;
  auto dst = Bmp(6, 6, kGuard);
  TRect r = Rect(0, 0, 5, 5);
  TileMasked(dst.get(), r, Fill(0x0000FF), t.Md, fmTiled);
  EXPECT_EQ(r, acNothingLeft);
  // Whole tiles, the cut column and row and the corner all keep the tile's
  // pattern; the key pixel takes the fill colour; the mask keeps alpha.
  EXPECT_TRUE(Shows(dst.get(), [](int x, int y) -> std::uint32_t {
    if (x == 5 || y == 5) return kGuard;
    if (x % 2 == 1 && y % 2 == 1) return Px(255, 0, 0, 0);  // the fill colour as a pixel
    return (kGuard & 0xFF000000u) | (TilePixel(x % 2, y % 2) & 0x00FFFFFFu);
  }));
}

TEST(GraphUtilsTileMasked, DisTiledGivesTheStripsTheBackground) {
  MaskedTexture t;
  auto parent = Bmp(8, 8, Gray(77, 33));
  TCacheInfo ready;
  ready.Bmp = parent.get();
  ready.X = 1;
  ready.Y = 1;
  ready.Ready = true;
  ready.FillColor = sFuchsia;
  for (bool isReady : {true, false}) {
    auto dst = Bmp(6, 6, kGuard);
    TRect r = Rect(0, 0, 5, 5);
    TileMasked(dst.get(), r, isReady ? ready : Fill(0x0000FF), t.Md, fmDisTiled);
    EXPECT_EQ(r, acNothingLeft);
    const std::uint32_t strip = isReady ? Gray(77, 33) : Px(255, 0, 0, 255);
    EXPECT_TRUE(Shows(dst.get(), [&](int x, int y) -> std::uint32_t {
      if (x == 5 || y == 5) return kGuard;
      if (x == 4 || y == 4) return strip;  // whole tiles end at 4
      if (x % 2 == 1 && y % 2 == 1) return isReady ? Gray(77, 33) : Px(255, 0, 0, 0);
      return (kGuard & 0xFF000000u) | (TilePixel(x % 2, y % 2) & 0x00FFFFFFu);
    })) << isReady;
  }
}

TEST(GraphUtilsTileMasked, WhatIsNotLaid) {
  struct Case {
    const char* What;
    TacFillMode Mode;
    TRect Src;
    bool Manager;
  } cases[] = {
      {"a tile of height 0", fmTiled, Rect(0, 0, 2, 1), true},
      {"a tile of width 0", fmTiled, Rect(0, 0, 0, 4), true},
      {"no manager", fmTiled, Rect(0, 0, 2, 4), false},
      {"another mode", fmTiledHorz, Rect(0, 0, 2, 4), true},
  };
  for (const Case& c : cases) {
    MaskedTexture t;
    t.Md.SrcRect = c.Src;
    if (!c.Manager) t.Md.OwnerManager = nullptr;
    auto dst = Bmp(4, 4, kGuard);
    TRect r = Rect(0, 0, 4, 4);
    TileMasked(dst.get(), r, Fill(0x0000FF), t.Md, c.Mode);
    EXPECT_EQ(r, Rect(0, 0, 4, 4)) << c.What;
    EXPECT_TRUE(GuardsKept(dst, TRect(), kGuard)) << c.What;
  }
}

}  // namespace
