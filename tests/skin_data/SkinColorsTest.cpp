// The colour model: saturation, hue, tone and brightness of colours and
// pixels, and the per-bitmap driver with its skipped key colour. Expected
// values are worked out by hand from the rules.
#include <gtest/gtest.h>

#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

TsColor_ Pixel(Byte r, Byte g, Byte b, Byte a = 0) {
  TsColor_ p;
  p.R = r;
  p.G = g;
  p.B = b;
  p.A = a;
  return p;
}

::testing::AssertionResult Is(TsColor_ p, int r, int g, int b) {
  if (p.R == r && p.G == g && p.B == b) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << int(p.R) << ", " << int(p.G) << ", " << int(p.B) << ")";
}

TEST(SkinColors, SaturationMovesChannelsAwayFromTheirAverage) {
  EXPECT_TRUE(Is(ChangeSaturation(100, Pixel(200, 100, 0)), 239, 100, 0));
  EXPECT_TRUE(Is(ChangeSaturation(0, Pixel(200, 100, 0)), 200, 100, 0));
  EXPECT_TRUE(Is(ChangeSaturation(-255, Pixel(200, 100, 0)), 100, 100, 100)) << "all the way to grey";
  EXPECT_EQ(ChangeSaturation(0x0064C8, 100), 0x0064EF) << "a TColor: red 200 in the low byte";
}

TEST(SkinColors, HueTurnsByAnyOffsetOfTheSameTurn) {
  struct Case {
    int Offset, R, G, B;
  };
  const Case cases[] = {
      {120, 0, 255, 0}, {-240, 0, 255, 0}, {390, 255, 127, 0}, {30, 255, 127, 0},
      {0, 255, 0, 0},   {360, 255, 0, 0},  {160, 0, 255, 169}, {-200, 0, 255, 169},
  };
  for (const Case& c : cases) EXPECT_TRUE(Is(ChangeHue(c.Offset, Pixel(255, 0, 0, 7)), c.R, c.G, c.B)) << c.Offset;
  EXPECT_EQ(ChangeHue(-200, Pixel(255, 0, 0, 7)).A, 7) << "alpha kept";
  EXPECT_TRUE(Is(ChangeHue(77, Pixel(90, 90, 90)), 90, 90, 90)) << "greys never change";
  EXPECT_EQ(ChangeHue(120, static_cast<TColor>(0x0000FF)), 0x00FF00) << "a TColor: red to green";
}

TEST(SkinColors, ToneAndBrightness) {
  EXPECT_TRUE(Is(ChangeTone(Pixel(255, 255, 255), TsColor_RGB{255, 255, 255, 0}), 254, 254, 254));
  EXPECT_EQ(ChangeTone(0xFFFFFF, 0xFFFFFF), 0xFEFEFE);
  EXPECT_EQ(ChangeBrightness(0x5A0A0A0A, -20), 0x5A000000) << "black, top byte kept";
  EXPECT_EQ(ChangeBrightness(0x5A0A0A0A, 0), 0x5A0A0A0A);
  EXPECT_EQ(ChangeBrightness(0x00F0F0F0, 30), 0x00FFFFFF);
  EXPECT_EQ(MixColors(0, 0xFFFFFF, 0.05), 0xF2F2F2);
  EXPECT_EQ(MixColors(0x12345678, 0, 1), 0x12345678);
}

TEST(SkinColors, BitmapPixelsSkipOnlyTheKeyColourWithAlphaZero) {
  std::unique_ptr<TacBitmap> bmp = CreateBmp32(3, 1);
  const std::uint32_t values[3] = {0x00FF00FF, 0xFFFF00FF, 0xFF102030};
  for (int x = 0; x < 3; ++x) {
    TsColor c;
    c.C = values[x];
    SetAPixel(bmp.get(), x, 0, c);
  }
  ChangeBitmapPixels(bmp.get(), ChangeColorBrightness, -16, sFuchsia);
  EXPECT_EQ(GetAPixel(bmp.get(), 0, 0).C, 0x00FF00FFu);
  EXPECT_EQ(GetAPixel(bmp.get(), 1, 0).C, 0xFFEF00EFu);
  EXPECT_EQ(GetAPixel(bmp.get(), 2, 0).C, 0xFF001020u);
}

TEST(SkinColors, HsvConversions) {
  EXPECT_EQ(Hsv2Rgb(360, 1, 1), 0x0000FF) << "pure red";
  EXPECT_EQ(Hsv2Rgb(120, 0, 0.5), 0x7F7F7F) << "grey 127";
  TsColor black;
  black.C = 0;
  TsHSV hsv = Rgb2Hsv(black);
  EXPECT_EQ(hsv.H, 0);
  EXPECT_EQ(hsv.S, 0);
  EXPECT_EQ(hsv.V, 0);
  TsColor blue;
  blue.C = 0xFF0000;
  EXPECT_EQ(Rgb2Hsv(blue).H, 240);
  EXPECT_EQ(SwapInteger(0x123456), 0x563412);
}

TEST(SkinColors, AlphaPrimitives) {
  std::unique_ptr<TacBitmap> bmp = CreateBmp32(2, 2);
  auto set = [&](int x, int y, std::uint32_t v) {
    TsColor c;
    c.C = v;
    SetAPixel(bmp.get(), x, y, c);
  };
  set(0, 0, 0x80FFFFFF);
  set(1, 0, 0x00FFFFFF);
  set(0, 1, 0xFFFFFFFF);
  UpdateAlpha(bmp.get());
  EXPECT_EQ(GetAPixel(bmp.get(), 0, 0).C, 0x807F7F7Fu);
  EXPECT_EQ(GetAPixel(bmp.get(), 1, 0).C, 0u);
  EXPECT_EQ(GetAPixel(bmp.get(), 0, 1).C, 0xFFFEFEFEu);
  set(1, 1, 0x00FF00FF);
  FillAlphaRect(bmp.get(), Rect(-5, -5, 9, 9), 200, sFuchsia);
  EXPECT_EQ(GetAPixel(bmp.get(), 1, 1).C, 0x00FF00FFu) << "the key pixel keeps alpha 0";
  EXPECT_EQ(GetAPixel(bmp.get(), 0, 1).C >> 24, 200u);
  EXPECT_EQ(SwapRedBlue(static_cast<TColor>(0xAA112233)), static_cast<TColor>(0xAA332211));
  EXPECT_THROW(GetAPixel(bmp.get(), 0, 2), EInvalidGraphicOperation);
}

}  // namespace
