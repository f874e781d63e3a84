// Gradients: the "GRADIENTDATA" segments painted as vertical and horizontal
// bands, with and without a texture, and the triangle mode's mesh. Expected
// values are worked out by hand from the ramp rule (single-precision steps
// of (end - start) / D, truncated); guard pixels surround every rectangle.
#include <gtest/gtest.h>

#include <vector>

#include "AlphaTestSupport.h"
#include "skin/graphics/Sgradient.h"

using namespace alphatest;

namespace {

TsGradArray Parse(const AnsiString& text) {
  TsGradArray a;
  PrepareGradArray(text, a);
  return a;
}

// Grey values per row (vertical) or per column (horizontal) inside R.
::testing::AssertionResult Bands(const Bmp& b, const TRect& R, const std::vector<int>& greys, bool alongRows,
                                 int alpha = 255) {
  return OnlyInside(b, R, [&](int x, int y) {
    const int v = greys[static_cast<size_t>(alongRows ? y - R.Top : x - R.Left)];
    return Grey(v, alpha);
  });
}

TEST(Gradient, SegmentsComeInGroupsOfFiveWords) {
  EXPECT_EQ(Parse("1;2;30;0;0;5;6").size(), 1u);
  EXPECT_TRUE(Parse("1;2;30;0").empty());
  const TsGradArray limited = Parse("1;2;150;0;0;3;4;-5;1;0");
  ASSERT_EQ(limited.size(), 2u);
  EXPECT_EQ(limited[0].Percent, 100);
  EXPECT_EQ(limited[1].Percent, 0);
  EXPECT_EQ(limited[1].Mode, 1);
}

TEST(Gradient, VerticalAndHorizontalBands) {
  struct Case {
    const char* Data;
    TRect R;  // in a 8 x 12 bitmap
    std::vector<int> Greys;
    bool AlongRows;
  };
  const Case cases[] = {
      {"16777215;0;100;0;0", Rect(1, 2, 5, 8), {255, 204, 153, 102, 51, 0}, true},
      {"16777215;0;100;1;0", Rect(1, 2, 7, 6), {255, 204, 153, 102, 51, 0}, false},
      // Two halves: the shared row 5 goes to the second segment (0 to 255 in 4 steps of 63.75).
      {"16777215;0;50;0;0;0;16777215;50;0;0", Rect(0, 1, 3, 11), {255, 204, 153, 102, 51, 0, 63, 127, 191, 255}, true},
      {"16777215;0;50;1;0;0;16777215;50;1;0", Rect(0, 1, 8, 3), {255, 191, 127, 63, 0, 85, 170, 255}, false},
      // 30 % of 10 rows (greys 0 to 9 in 3 steps), then the last segment takes
      // the rest whatever its percent (90 to 99 in 6 steps of 1.5).
      {"0;592137;30;0;0;5921370;6513507;10;0;0", Rect(2, 0, 4, 10), {0, 3, 6, 90, 91, 93, 94, 96, 97, 99}, true},
      // One segment of 30 % still runs to the bottom; equal colours fill.
      {"0;6579300;30;0;0", Rect(0, 0, 1, 5), {0, 25, 50, 75, 100}, true},
      {"8421504;8421504;100;0;0", Rect(0, 0, 8, 3), {128, 128, 128}, true},
  };
  for (const Case& c : cases) {
    Bmp b = Filled(8, 12);
    PaintGrad(b.get(), c.R, Parse(c.Data));
    EXPECT_TRUE(Bands(b, c.R, c.Greys, c.AlongRows)) << c.Data;
  }
}

TEST(Gradient, RectangleIsCutToTheBitmapBeforeTheBandsAreMeasured) {
  Bmp b = Filled(4, 5);
  PaintGrad(b.get(), Rect(-2, -3, 3, 3), Parse("0;13158600;100;0;0"));
  EXPECT_TRUE(Bands(b, Rect(0, 0, 3, 3), {0, 100, 200}, true));
  Bmp right = Filled(4, 5);
  PaintGrad(right.get(), Rect(2, 1, 9, 2), Parse("0;13158600;100;1;0"));
  EXPECT_TRUE(Bands(right, Rect(2, 1, 4, 2), {0, 200}, false));
}

TEST(Gradient, NothingIsPaintedWithoutSegmentsOrWithAnUnknownMode) {
  const char* data[] = {"", "16777215;0;100;0", "16777215;0;100;3;0", "16777215;0;100;-1;0"};
  for (const char* d : data) {
    Bmp b = Filled(4, 4);
    PaintGrad(b.get(), Rect(0, 0, 4, 4), AnsiString(d));
    EXPECT_TRUE(PixelsAre(b, [](int, int) { return kGuard; })) << d;
  }
  Bmp b = Filled(4, 4);
  PaintGrad(b.get(), Rect(3, 0, 1, 4), AnsiString("16777215;0;100;0;0"));
  EXPECT_TRUE(PixelsAre(b, [](int, int) { return kGuard; })) << "an empty rectangle";
}

TEST(Gradient, TriangleMeshTakesEachSegmentsFirstColourAndRepeatsTheLast) {
  const TacGradMesh mesh = GradTriangleMesh(Rect(2, 3, 12, 9), Parse("255;0;50;2;0;65280;0;50;2;0"));
  const TPoint places[5] = {{2, 3}, {7, 6}, {12, 3}, {12, 9}, {2, 9}};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(mesh[i].X, places[i].X) << i;
    EXPECT_EQ(mesh[i].Y, places[i].Y) << i;
    EXPECT_EQ(mesh[i].Red, i == 0 ? 0xFF00 : 0) << i;
    EXPECT_EQ(mesh[i].Green, i == 0 ? 0 : 0xFF00) << i;
    EXPECT_EQ(mesh[i].Blue, 0) << i;
    EXPECT_EQ(mesh[i].Alpha, 0xFF00) << i;
  }
}

// A texture whose blue channel tells its column and row: 10 * row + column.
Bmp Numbered(int w, int h) {
  Bmp t = CreateBmp32(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Px(t, x, y) = Bgra(10 * y + x, 0, 0, 0);
  return t;
}

TEST(Gradient, TextureIsAnchoredAtTheBitmapsOrigin) {
  // Black gradient, weight 128: each pixel is half the texture's blue.
  Bmp tex = Numbered(8, 8);
  Bmp b = Filled(12, 4);
  PaintGradTxt(b.get(), Rect(5, 1, 12, 3), Parse("0;0;100;0;0"), tex.get(), TRect{}, 128, 77);
  EXPECT_TRUE(OnlyInside(b, Rect(5, 1, 12, 3), [](int x, int y) { return Bgra((10 * y + x % 8) / 2, 0, 0, 77); }));
  EXPECT_EQ(Px(b, 5, 1), Bgra(7, 0, 0, 77)) << "column 5: texture column 5 of row 1";
  EXPECT_EQ(Px(b, 8, 1), Bgra(5, 0, 0, 77)) << "column 8: texture column 0";
}

TEST(Gradient, TextureOfWeightZeroLeavesThePlainGradientWithTheAlpha) {
  Bmp tex = Numbered(3, 3);
  Bmp b = Filled(5, 8);
  PaintGradTxt(b.get(), Rect(1, 1, 4, 7), Parse("16777215;0;100;0;0"), tex.get(), TRect{}, 0, 77);
  EXPECT_TRUE(Bands(b, Rect(1, 1, 4, 7), {255, 204, 153, 102, 51, 0}, true, 77));
}

TEST(Gradient, HorizontalTextureRepeatsABlockOneRowShorterThanTheTexture) {
  // Texture 1 x 3 of blues 30, 60, 90 at weight 128 over black: 15, 30, 45,
  // anchored at bitmap row 0. R's rows 2 and 3 are mixed (45, 15), its first
  // row 1 last (30); the block of rows 1-2 is copied to rows 3-4, then rows
  // 1-3 to rows 5-7: the period is two rows.
  Bmp tex = FromRows({{Bgra(30, 0, 0, 0)}, {Bgra(60, 0, 0, 0)}, {Bgra(90, 0, 0, 0)}});
  Bmp b = Filled(4, 9);
  PaintGradTxt(b.get(), Rect(1, 1, 3, 8), Parse("0;0;100;1;0"), tex.get(), TRect{}, 128, 200);
  const int blues[7] = {30, 45, 30, 45, 30, 45, 30};
  EXPECT_TRUE(OnlyInside(b, Rect(1, 1, 3, 8), [&](int, int y) { return Bgra(blues[y - 1], 0, 0, 200); }));
}

TEST(Gradient, HorizontalTextureOneRowHighGivesEveryRowTheFirstRow) {
  // White gradient mixed half with a grey 100 texture row: (100 * 128 + 255 * 128) shr 8 = 177.
  Bmp tex = FromRows({{Grey(100, 0), Grey(100, 0)}});
  Bmp b = Filled(3, 6);
  PaintGradTxt(b.get(), Rect(0, 1, 3, 5), Parse("16777215;16777215;100;1;0"), tex.get(), TRect{}, 128, 9);
  EXPECT_TRUE(OnlyInside(b, Rect(0, 1, 3, 5), Grey(177, 9)));
}

TEST(Gradient, TextureRectangleOutsideTheTexturePaintsNothing) {
  Bmp tex = Numbered(4, 4);
  const TRect rects[] = {Rect(4, 0, 8, 4), Rect(0, 5, 4, 9), Rect(-3, 0, -1, 4)};
  for (const TRect& tr : rects) {
    Bmp b = Filled(4, 4);
    PaintGradTxt(b.get(), Rect(0, 0, 4, 4), Parse("0;0;100;0;0"), tex.get(), tr, 128, 1);
    EXPECT_TRUE(PixelsAre(b, [](int, int) { return kGuard; })) << tr.Left << "," << tr.Top;
  }
  // A rectangle reaching past the texture is cut to it: texture row 1,
  // columns 2 and 3 (blues 12, 13) repeat; at weight 255 over black 11, 12.
  Bmp b = Filled(4, 2);
  PaintGradTxt(b.get(), Rect(0, 0, 4, 2), Parse("0;0;100;0;0"), tex.get(), Rect(2, 1, 9, 2), 255, 1);
  const int blues[4] = {11, 12, 11, 12};
  EXPECT_TRUE(PixelsAre(b, [&](int x, int) { return Bgra(blues[x], 0, 0, 1); }));
}

}  // namespace
