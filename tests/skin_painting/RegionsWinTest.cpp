// Border images painted with their corners cut out of a window region, and
// regions of bitmaps, under Wine: pixels and region points read back.
#include <gtest/gtest.h>

// The class library's headers go before any that includes the platform's.
#include "../skin_graphics/AlphaTestSupport.h"
#include "skin/core/sSkinManager.h"
#include "skin/graphics/Sborders.h"

using namespace alphatest;

namespace {

constexpr std::uint32_t K = 0x00FF00FF;  // key pixel
// A pixel that tells where it came from: x in byte 1, y in byte 0.
constexpr std::uint32_t From(int x, int y) { return 0xFF000000u | (std::uint32_t(x) << 8) | std::uint32_t(y); }

// A border image in a bitmap of its own, owned by a manager.
struct Border {
  TsSkinManager* Manager = Create<TsSkinManager>(nullptr);
  TsMaskData Md;
  Border(Bmp Image, int Columns, int MaskKind, int L, int T, int R, int B) {
    Md.SrcRect = Rect(0, 0, BitmapWidth(Image.get()), BitmapHeight(Image.get()));
    Md.Bitmap = std::move(Image);
    Md.Columns = static_cast<SmallInt>(Columns);
    Md.MaskKind = static_cast<SmallInt>(MaskKind);
    Md.MarginLeft = static_cast<SmallInt>(L);
    Md.MarginTop = static_cast<SmallInt>(T);
    Md.MarginRight = static_cast<SmallInt>(R);
    Md.MarginBottom = static_cast<SmallInt>(B);
    Md.OwnerManager = Manager;
  }
  ~Border() { Manager->Free(); }
};

Bmp Coordinates(int w, int h) {
  Bmp b = CreateBmp32(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Px(b, x, y) = From(x, y);
  return b;
}

// A region owned by the test.
struct Region {
  HRGN H;
  Region(int w, int h) : H(CreateRectRgn(0, 0, w, h)) {}
  ~Region() { DeleteObject(H); }
  bool Has(int x, int y) const { return PtInRegion(H, x, y) != FALSE; }
};

TEST(BorderRegions, MarginsWiderThanTheBitmapShareTheExcess) {
  // WL 8 and WR 6 of a 20-pixel image: 10 pixels give 6 and 4, 11 give 7 and 4.
  struct Case {
    int Width, Left, Right;
  };
  for (const Case& c : {Case{10, 6, 4}, Case{11, 7, 4}, Case{14, 8, 6}}) {
    Border border(Coordinates(20, 6), 1, 0, 8, 2, 6, 2);
    Bmp target = Filled(c.Width, 6);
    PaintRgnBorder(target.get(), nullptr, false, border.Md, 0);
    EXPECT_TRUE(PixelsAre(target, [&](int x, int y) {
      if (x < c.Left) return From(x, y);
      if (x >= c.Width - c.Right) return From(20 - (c.Width - x), y);
      return kGuard;  // between the two: no middle at all
    })) << c.Width;
  }
}

TEST(BorderRegions, StretchedEdgesAndCentreSpreadTheirSourcePieces) {
  Border border(Coordinates(20, 6), 1, 0, 2, 2, 2, 2);
  border.Md.FillMode = 1 | 4;  // stretched, with a centre
  Bmp target = Filled(40, 10);
  PaintRgnBorder(target.get(), nullptr, true, border.Md, 0);
  // Each pixel comes from the piece of the image over it: corners one to
  // one, edges and centre from the middle columns 2..17 and rows 2..3, in
  // order and reaching both ends.
  auto sourceX = [&](int x, int y) { return int((Px(target, x, y) >> 8) & 0xFF); };
  auto sourceY = [&](int x, int y) { return int(Px(target, x, y) & 0xFF); };
  for (int y = 0; y < 10; ++y) {
    const bool edgeRow = y >= 2 && y < 8;
    int last = -1;
    for (int x = 0; x < 40; ++x) {
      ASSERT_EQ(Px(target, x, y) >> 24, 0xFFu) << x << "," << y << " painted";
      const int sx = sourceX(x, y), sy = sourceY(x, y);
      if (x < 2 || x >= 38) {
        EXPECT_EQ(sx, x < 2 ? x : x - 20) << x << "," << y;
      } else {
        EXPECT_TRUE(sx >= 2 && sx <= 17) << x << "," << y << ": " << sx;
        EXPECT_GE(sx, last) << x << "," << y;
        last = sx;
      }
      if (edgeRow)
        EXPECT_TRUE(sy == 2 || sy == 3) << x << "," << y << ": " << sy;
      else
        EXPECT_EQ(sy, y < 2 ? y : y - 4) << x << "," << y;
    }
    EXPECT_EQ(sourceX(2, y), 2);
    EXPECT_EQ(sourceX(37, y), 17);
  }
  EXPECT_EQ(sourceY(20, 2), 2);
  EXPECT_EQ(sourceY(20, 7), 3);
}

TEST(BorderRegions, TheStateImageIsClampedAndItsCornerKeysLeaveTheRegion) {
  // Three 4 x 4 images of greys 10, 20, 30 with a key pixel at each corner.
  Bmp image = CreateBmp32(12, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 12; ++x)
      Px(image, x, y) = (x % 4 == 0 || x % 4 == 3) && (y == 0 || y == 3) ? K : Grey(10 * (x / 4 + 1), 255);
  Border border(std::move(image), 3, 0, 2, 2, 2, 2);
  Bmp target = Filled(6, 5);
  Region rgn(6, 5);
  PaintRgnBorder(target.get(), rgn.H, true, border.Md, 5);
  const TPoint corners[] = {{0, 0}, {5, 0}, {0, 4}, {5, 4}};
  for (const TPoint& p : corners) {
    EXPECT_FALSE(rgn.Has(p.X, p.Y)) << p.X << "," << p.Y;
    EXPECT_EQ(Px(target, p.X, p.Y), kGuard) << "a key pixel is not drawn";
  }
  EXPECT_TRUE(rgn.Has(1, 0));
  EXPECT_TRUE(rgn.Has(3, 2)) << "the middle stays";
  EXPECT_EQ(Px(target, 1, 0), Grey(30, 255)) << "state 5 of 3 images paints the third";
  EXPECT_EQ(Px(target, 4, 4), Grey(30, 255));
  EXPECT_EQ(Px(target, 3, 2), kGuard) << "no middle in the image to fill with";
}

TEST(BorderRegions, CopyMaskTakesKeyRunsOutOfTheRegionRowByRow) {
  // A first row of two key pixels, a picture pixel and a key pixel: a run
  // of two closed by the picture pixel, one of one closed by the row's end.
  Border border(FromRows({{K, K, From(2, 0), K}, {From(0, 1), From(1, 1), From(2, 1), From(3, 1)}}), 1, 0, 0, 0,
                0, 0);
  Bmp target = Filled(4, 3);
  Region rgn(4, 3);
  CopyMask(0, 0, 3, 1, 0, 0, 3, 1, target.get(), rgn.H, border.Md, true);
  EXPECT_FALSE(rgn.Has(0, 0));
  EXPECT_FALSE(rgn.Has(1, 0));
  EXPECT_TRUE(rgn.Has(2, 0));
  EXPECT_FALSE(rgn.Has(3, 0));
  for (int x = 0; x < 4; ++x) EXPECT_TRUE(rgn.Has(x, 1)) << x;
  EXPECT_TRUE(PixelsAre(target, [](int x, int y) {
    if (y == 0) return x == 2 ? From(2, 0) : kGuard;
    return y == 1 ? From(x, 1) : kGuard;
  }));
  // Without the flag every pixel is copied, and the region is left alone.
  Region untouched(4, 3);
  CopyMask(0, 0, 3, 0, 0, 0, 3, 0, target.get(), untouched.H, border.Md, false);
  EXPECT_EQ(Px(target, 0, 0), K);
  EXPECT_TRUE(untouched.Has(0, 0));
}

TEST(BorderRegions, CopyMaskBlendsThroughTheMaskAndStaysInsideBothBitmaps) {
  // Mask kind 1: the picture rows 0..1 over their mask rows 2..3.
  const std::uint32_t s = Bgra(200, 100, 0, 0);
  Border border(FromRows({{s, K, s}, {s, s, s}, {Grey(128, 0), Grey(0, 0), Grey(255, 0)},
                          {Grey(0, 0), Grey(0, 0), Grey(0, 0)}}),
                1, 1, 0, 0, 0, 0);
  Bmp target = Filled(3, 3, Grey(100, 255));
  // Asked for more columns and rows than either bitmap has.
  CopyMask(0, 0, 9, 9, 0, 0, 9, 9, target.get(), nullptr, border.Md, true);
  // (D x M + S x (256 - M)) shr 8 per channel, alpha kept; key skipped.
  EXPECT_EQ(Px(target, 0, 0), Bgra(150, 100, 50, 255));
  EXPECT_EQ(Px(target, 1, 0), Grey(100, 255));
  EXPECT_EQ(Px(target, 2, 0), Bgra((100 * 255 + 200) >> 8, 100, (100 * 255) >> 8, 255));
  EXPECT_EQ(Px(target, 0, 1), Bgra(200, 100, 0, 255));
  EXPECT_EQ(Px(target, 0, 2), Grey(100, 255)) << "no mask row for a third picture row";
  CopyMask(0, 0, 2, 0, 0, 0, 2, 0, target.get(), nullptr, border.Md, false);
  EXPECT_EQ(Px(target, 1, 0), Bgra(255, 0, 255, 255)) << "without the flag the key pixel is blended too (mask 0)";
}

}  // namespace
