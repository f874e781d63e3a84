// The colour manager: setters, method choice, masks, depth scaling, gamma and
// palettes.
#include <gtest/gtest.h>

#include <cmath>

#include "skin/graphics/acPNG.h"

namespace {

void Layout(TColorManager& cm, TColorScheme s, TColorScheme t, Byte sBits, Byte tBits, Byte sSpp = 1, Byte tSpp = 1) {
  cm.SetSourceColorScheme(s);
  cm.SetTargetColorScheme(t);
  cm.SetSourceBitsPerSample(sBits);
  cm.SetTargetBitsPerSample(tBits);
  cm.SetSourceSamplesPerPixel(sSpp);
  cm.SetTargetSamplesPerPixel(tSpp);
}

std::string Raised(TColorManager& cm, const void* src, void* tgt) {
  try {
    cm.ConvertRow({src}, tgt, 1, 0xFF);
  } catch (const EColorConversionError& e) {
    return e.Message;
  }
  return "";
}

}  // namespace

TEST(ColorManager, SettersCheckTheirRange) {
  TColorManager cm;
  cm.SetTargetBitsPerSample(3);
  EXPECT_EQ(3, cm.TargetBitsPerSample());
  for (Byte bad : {0, 17}) {
    try {
      cm.SetTargetBitsPerSample(bad);
      FAIL();
    } catch (const EColorConversionError& e) {
      EXPECT_EQ("Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.", e.Message);
    }
  }
  EXPECT_THROW(cm.SetSourceSamplesPerPixel(0), EColorConversionError);
  EXPECT_THROW(cm.SetSourceSamplesPerPixel(5), EColorConversionError);
}

TEST(ColorManager, MethodChoiceFailures) {
  Byte src[8] = {}, tgt[8] = {};
  TColorManager cm;
  Layout(cm, csGA, csRGB, 8, 8);
  EXPECT_EQ("Conversion between indexed and non-indexed pixel formats is not supported.", Raised(cm, src, tgt));
  // A failed preparation keeps failing until a setter changes the layout.
  EXPECT_NE("", Raised(cm, src, tgt));
  Layout(cm, csG, csG, 4, 16);
  EXPECT_EQ("Color conversion failed. Could not find a proper method.", Raised(cm, src, tgt));
  Layout(cm, csG, csG, 4, 8);
  EXPECT_EQ("", Raised(cm, src, tgt));
}

TEST(ColorManager, MaskWritesOnlyItsPixels) {
  TColorManager cm;
  Layout(cm, csRGB, csBGR, 8, 8, 3, 3);
  Byte src[24];
  for (int i = 0; i < 24; ++i) src[i] = Byte(i + 1);
  Byte tgt[24];
  std::fill(std::begin(tgt), std::end(tgt), 0xEE);
  cm.ConvertRow({src}, tgt, 8, 0x88);
  // Pixels 0 and 4 from the first two source pixels, as blue, green, red.
  EXPECT_EQ(3, tgt[0]);
  EXPECT_EQ(2, tgt[1]);
  EXPECT_EQ(1, tgt[2]);
  EXPECT_EQ(6, tgt[12]);
  EXPECT_EQ(5, tgt[13]);
  EXPECT_EQ(4, tgt[14]);
  for (int i : {3, 4, 5, 9, 11, 15, 21, 23}) EXPECT_EQ(0xEE, tgt[i]) << i;
}

TEST(ColorManager, SampleDepths) {
  TColorManager cm;
  // 2-bit indexes to 4 bits: 0, 1, 2, 3 become 0, 5, 10, 15.
  Layout(cm, csIndexed, csIndexed, 2, 4);
  Byte two[1] = {0x1B};  // 00 01 10 11
  Byte four[2] = {};
  cm.ConvertRow({two}, four, 4, 0xFF);
  EXPECT_EQ(0x05, four[0]);
  EXPECT_EQ(0xAF, four[1]);

  // 16-bit samples: swapped from file order, then v * 255 div 65535.
  Layout(cm, csRGB, csBGR, 16, 8, 3, 3);
  cm.SourceOptions = {coNeedByteSwap};
  Byte words[6] = {0xFF, 0xFF, 0x12, 0x34, 0x00, 0x80};
  Byte bgr[3];
  cm.ConvertRow({words}, bgr, 1, 0xFF);
  EXPECT_EQ(255, bgr[2]);
  EXPECT_EQ(18, bgr[1]);
  EXPECT_EQ(0x0080 * 255 / 65535, bgr[0]);

  // Grey with alpha: the alpha is dropped.
  Layout(cm, csGA, csG, 8, 8);
  Byte ga[6] = {10, 200, 20, 201, 30, 202};
  Byte g[3];
  cm.ConvertRow({ga}, g, 3, 0xFF);
  EXPECT_EQ(10, g[0]);
  EXPECT_EQ(20, g[1]);
  EXPECT_EQ(30, g[2]);

  // RGBA keeps its alpha, which never goes through gamma.
  Layout(cm, csRGBA, csBGRA, 8, 8, 4, 4);
  cm.SetGamma(2.0f, 2.2f);
  cm.TargetOptions.Include(coApplyGamma);
  Byte rgba[4] = {100, 150, 200, 77};
  Byte bgra[4];
  cm.ConvertRow({rgba}, bgra, 1, 0xFF);
  EXPECT_EQ(cm.GammaTable()[200], bgra[0]);
  EXPECT_EQ(cm.GammaTable()[100], bgra[2]);
  EXPECT_NE(100, bgra[2]);
  EXPECT_EQ(77, bgra[3]);
}

TEST(ColorManager, GammaTable) {
  TColorManager cm;
  cm.SetGamma(0, 0);  // 1.0 and 2.2
  for (int i : {0, 1, 64, 128, 255})
    EXPECT_EQ(std::lround(std::pow(i / 255.0, 1 / 2.2) * 255), cm.GammaTable()[i]) << i;
  cm.SetGamma(0.45455f, 2.2f);  // almost exponent 1
  for (int i = 0; i < 256; ++i) EXPECT_NEAR(i, cm.GammaTable()[i], 1) << i;
}

TEST(ColorManager, Palettes) {
  TColorManager cm;
  cm.SetTargetBitsPerSample(1);
  cm.SetTargetSamplesPerPixel(1);
  TacPalette bw = cm.CreateGrayscalePalette(false);
  ASSERT_EQ(2u, bw.size());
  EXPECT_EQ(0, bw[0].Red);
  EXPECT_EQ(255, bw[1].Blue);
  cm.SetTargetBitsPerSample(4);
  TacPalette g16 = cm.CreateGrayscalePalette(false);
  ASSERT_EQ(16u, g16.size());
  for (int i = 0; i < 16; ++i) EXPECT_EQ(i * 17, g16[i].Green);
  EXPECT_EQ(255, cm.CreateGrayscalePalette(true)[0].Red);

  // A 2-bit palette spread to 4 bits: index k lands on entry 5k.
  cm.SetSourceBitsPerSample(2);
  cm.SetTargetBitsPerSample(4);
  const Byte rgb[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  TacPalette p = cm.CreateColorPalette({rgb}, pfInterlaced8Triple, 4, false);
  ASSERT_EQ(16u, p.size());
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(rgb[3 * k], p[5 * k].Red);
    EXPECT_EQ(rgb[3 * k + 2], p[5 * k].Blue);
  }
  cm.SetSourceBitsPerSample(8);
  cm.SetTargetBitsPerSample(8);
  TacPalette swapped = cm.CreateColorPalette({rgb}, pfInterlaced8Quad, 3, true);
  ASSERT_EQ(3u, swapped.size());
  EXPECT_EQ(3, swapped[0].Red);
  EXPECT_EQ(1, swapped[0].Blue);
  EXPECT_EQ(7, swapped[1].Red);  // the fourth byte of each quad is skipped
}

TEST(ColorManager, OtherColourSpaces) {
  TColorManager cm;
  Layout(cm, csCMYK, csBGR, 8, 8, 4, 3);
  Byte cmyk[8] = {0, 0, 0, 0, 255, 0, 0, 0};
  Byte bgr[6];
  cm.ConvertRow({cmyk}, bgr, 2, 0xFF);
  EXPECT_EQ(255, bgr[0]);
  EXPECT_EQ(255, bgr[2]);
  EXPECT_EQ(0, bgr[5]);  // full cyan: no red
  EXPECT_EQ(255, bgr[3]);

  Layout(cm, csYCbCr, csRGB, 8, 8, 3, 3);
  Byte ycc[3] = {128, 128, 128};
  Byte rgb[3];
  cm.ConvertRow({ycc}, rgb, 1, 0xFF);
  EXPECT_EQ(128, rgb[0]);
  EXPECT_EQ(128, rgb[1]);
  EXPECT_EQ(128, rgb[2]);

  Layout(cm, csCIELab, csRGB, 8, 8, 3, 3);
  cm.SourceOptions = {coLabByteRange, coLabChromaOffset};
  Byte white[3] = {255, 128, 128};
  cm.ConvertRow({white}, rgb, 1, 0xFF);
  EXPECT_NEAR(255, rgb[0], 2);
  EXPECT_NEAR(255, rgb[1], 2);
}
