// The 32-bit pixel primitives: byte orders, single pixels, fills, alpha,
// premultiplication and colour blends of rectangles, key pixels filled from
// another bitmap and a mask turned into alpha. Expected pixels are worked out
// by hand from the rules; every case keeps guard pixels around its target.
#include <gtest/gtest.h>

#include "AlphaTestSupport.h"
#include "skin/graphics/acPaintManager.h"
#include "skin/graphics/acPixelRuns.h"
#include "skin/core/acntUtils.h"
#include "skin/graphics/acSysColors.h"
#include "skin/graphics/sAlphaGraph.h"

using namespace alphatest;

namespace {

TEST(AlphaPrimitives, ByteOrders) {
  EXPECT_EQ(static_cast<Cardinal>(SwapRedBlue(static_cast<TColor>(0xAA112233u))), 0xAA332211u) << "byte 3 kept";
  EXPECT_EQ(SwapColor(0x0000FF), 0xFF0000);
  EXPECT_EQ(SwapLong(0x11223344u), 0x44332211u);
}

TEST(AlphaPrimitives, SinglePixelsRejectPointsOutsideRowsAndColumns) {
  Bmp b = Filled(3, 2);
  TsColor c;
  c.C = 0x01020304u;
  SetAPixel(b.get(), 2, 1, c);
  EXPECT_EQ(GetAPixel(b.get(), 2, 1).C, 0x01020304u);
  EXPECT_TRUE(OnlyInside(b, Rect(2, 1, 3, 2), 0x01020304u));
  const TPoint outside[] = {{3, 0}, {-1, 0}, {0, 2}, {0, -1}, {1000, 1}};
  for (const TPoint& p : outside) {
    EXPECT_THROW(GetAPixel(b.get(), p.X, p.Y), EInvalidGraphicOperation) << p.X << "," << p.Y;
    EXPECT_THROW(SetAPixel(b.get(), p.X, p.Y, c), EInvalidGraphicOperation) << p.X << "," << p.Y;
  }
}

TEST(AlphaPrimitives, FillLongwordWritesExactlyCountValues) {
  std::uint32_t buf[6] = {1, 1, 1, 1, 1, 1};
  FillLongword(buf + 1, 3, 7);
  FillLongword(buf, 0, 9);
  FillLongword(buf, -4, 9);
  const std::uint32_t want[6] = {1, 7, 7, 7, 1, 1};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(buf[i], want[i]) << i;
}

TEST(AlphaPrimitives, UpdateAlphaPremultipliesEachPixel) {
  struct Case {
    std::uint32_t In, Out;
  };
  const Case cases[] = {
      {0x80FFFFFF, 0x807F7F7F},  // 255 * 128 shr 8 = 127
      {0xFFFFFFFF, 0xFFFEFEFE},  // alpha 255 loses one level
      {0x00FFFFFF, 0x00000000},  // white with alpha 0
      {0x00123456, 0x00000000},
      {0x40C86432, 0x4032190C},  // 200, 100, 50 at 64: 50, 25, 12
      {0x01FFFFFF, 0x01000000},
  };
  for (const Case& c : cases) {
    Bmp b = FromRows({{c.In}});
    UpdateAlpha(b.get());
    EXPECT_EQ(Px(b, 0, 0), c.Out) << std::hex << c.In;
  }
}

TEST(AlphaPrimitives, RectangleLoopsAreCutToTheBitmap) {
  // Each operation on a rectangle reaching past every side of a 4 x 4 bitmap,
  // and on one inside it with guards around.
  struct Case {
    const char* Name;
    std::function<void(TacBitmap*, const TRect&)> Run;
    std::uint32_t Result;  // of a guard pixel inside the rectangle
  };
  const Case cases[] = {
      {"UpdateAlpha", [](TacBitmap* b, const TRect& r) { UpdateAlpha(b, r); }, 0x5A06121E},
      {"FillAlphaRect", [](TacBitmap* b, const TRect& r) { FillAlphaRect(b, r, 0x33); }, 0x33123456},
      {"FillRect32", [](TacBitmap* b, const TRect& r) { FillRect32(b, r, 0x0000FF, 0); }, 0x00FF0000},
      {"BlendColorRect32", [](TacBitmap* b, const TRect& r) { BlendColorRect32(b, r, 0, 100, 9); }, 0x09000000},
  };
  for (const Case& c : cases) {
    Bmp whole = Filled(4, 4);
    c.Run(whole.get(), Rect(-5, -5, 9, 9));
    EXPECT_TRUE(PixelsAre(whole, [&](int, int) { return c.Result; })) << c.Name;
    Bmp part = Filled(4, 4);
    c.Run(part.get(), Rect(-5, -5, 3, 3));
    EXPECT_TRUE(OnlyInside(part, Rect(0, 0, 3, 3), c.Result)) << c.Name << " from outside";
    Bmp inner = Filled(5, 4);
    c.Run(inner.get(), Rect(1, 2, 4, 9));
    EXPECT_TRUE(OnlyInside(inner, Rect(1, 2, 4, 4), c.Result)) << c.Name << " to outside";
  }
}

// Rows long enough for the four-pixel loops and their leftovers, of varied
// pixels, against the rules written out per channel.
Bmp Varied(int w, int h, std::uint32_t seed) {
  Bmp b = CreateBmp32(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      seed = seed * 1664525u + 1013904223u;
      Px(b, x, y) = seed;
    }
  return b;
}
int Channel(std::uint32_t p, int n) { return int((p >> (8 * n)) & 0xFF); }

// Each vector width the processor has (and the scalar form) in turn.
std::string RunLevelName(const ::testing::TestParamInfo<acpixel::TRunLevel>& info) {
  const char* names[] = {"Scalar", "Sse2", "Avx2"};
  return names[static_cast<int>(info.param)];
}
class AlphaRuns : public ::testing::TestWithParam<acpixel::TRunLevel> {
 protected:
  void SetUp() override {
    old_ = acpixel::SetRunLevel(GetParam());
    if (acpixel::RunLevel() != GetParam()) GTEST_SKIP() << "the processor lacks this width";
  }
  void TearDown() override { acpixel::SetRunLevel(old_); }

 private:
  acpixel::TRunLevel old_ = acpixel::TRunLevel::Scalar;
};
INSTANTIATE_TEST_SUITE_P(Widths, AlphaRuns,
                         ::testing::Values(acpixel::TRunLevel::Scalar, acpixel::TRunLevel::Sse2,
                                           acpixel::TRunLevel::Avx2),
                         RunLevelName);

TEST_P(AlphaRuns, LongRowsFollowTheSamePerChannelRules) {
  Bmp ref = Varied(37, 5, 7);
  Bmp b = Varied(37, 5, 7);
  UpdateAlpha(b.get());
  EXPECT_TRUE(PixelsAre(b, [&](int x, int y) {
    const std::uint32_t p = Px(ref, x, y), a = p >> 24;
    return Bgra(Channel(p, 0) * a >> 8, Channel(p, 1) * a >> 8, Channel(p, 2) * a >> 8, a);
  })) << "UpdateAlpha";
  const int percents[] = {0, 1, 33, 50, 99, 100, 101, 255};
  for (int percent : percents) {
    const TColor color = 0x20E07F;
    Bmp blended = Varied(37, 5, 7);
    BlendColorRect32(blended.get(), Rect(0, 0, 37, 5), color, static_cast<Byte>(percent), 0x44);
    const int p = std::min(percent, 100);
    const int target[3] = {0x20, 0xE0, 0x7F};  // blue, green, red of the colour
    EXPECT_TRUE(PixelsAre(blended, [&](int x, int y) {
      int c[3];
      for (int n = 0; n < 3; ++n) c[n] = Channel(Px(ref, x, y), n) - (Channel(Px(ref, x, y), n) - target[n]) * p / 100;
      return Bgra(c[0], c[1], c[2], 0x44);
    })) << "BlendColorRect32 " << percent;
  }
}

TEST_P(AlphaRuns, LongMaskedCopiesFollowThePerPixelRule) {
  // Source rows 0-2 pictures (every fifth pixel the key), rows 3-5 masks.
  Bmp src = Varied(37, 6, 11);
  for (int y = 0; y < 3; ++y)
    for (int x = y; x < 37; x += 5) Px(src, x, y) = 0x00FF00FF;
  Bmp cache = Varied(40, 4, 5);
  TsMaskData md;
  md.SrcRect = Rect(0, 0, 37, 6);
  for (Integer alpha : {-1, 0, 77, 255}) {
    for (bool ready : {false, true}) {
      const TCacheInfo ci = ready ? MakeCacheInfo(cache.get(), 2, 1) : EmptyCI;
      Bmp dst = Varied(37, 3, 3);
      Bmp before = Varied(37, 3, 3);
      if (alpha < 0)
        CopyByMask32(Rect(0, 0, 37, 3), Rect(0, 0, 37, 3), dst.get(), src.get(), ci, md);
      else
        CopyByMask32Ex(Rect(0, 0, 37, 3), Rect(0, 0, 37, 3), dst.get(), src.get(), ci, md, alpha);
      const int a = alpha < 0 ? 256 : alpha;
      EXPECT_TRUE(PixelsAre(dst, [&](int x, int y) {
        const std::uint32_t d = Px(before, x, y), sp = Px(src, x, y);
        if (sp == 0x00FF00FF) return ready ? Px(cache, x + 2, y + 1) : d & 0x00FFFFFF;
        const int m = Channel(Px(src, x, y + 3), 2), w = (255 - m) * a >> 8;
        int c[3];
        for (int n = 0; n < 3; ++n) c[n] = (Channel(d, n) * (255 - w) + Channel(sp, n) * w) >> 8;
        return Bgra(c[0], c[1], c[2], std::max<int>(d >> 24, 255 - m));
      })) << alpha << " " << ready;
    }
  }
}

TEST(AlphaPrimitives, FillAlphaRectSkipsOnlyTheWholeExceptValue) {
  Bmp b = FromRows({{0x00FF00FF, 0xFFFF00FF, 0x00FF00FE, 0x7F000000}});
  FillAlphaRect(b.get(), Rect(0, 0, 4, 1), 200, sFuchsia);
  EXPECT_EQ(Px(b, 0, 0), 0x00FF00FFu) << "the key with alpha 0 keeps it";
  EXPECT_EQ(Px(b, 1, 0), 0xC8FF00FFu) << "the key colour with alpha 255 is not the except value";
  EXPECT_EQ(Px(b, 2, 0), 0xC8FF00FEu);
  EXPECT_EQ(Px(b, 3, 0), 0xC8000000u);
}

TEST(AlphaPrimitives, BlendColorRect32MovesTowardTheColourTruncatingTowardZero) {
  struct Case {
    std::uint32_t In;
    TColor Color;
    Byte Percent, Alpha;
    std::uint32_t Out;
  };
  const Case cases[] = {
      {Bgra(10, 20, 30, 40), 0xFFFFFF, 0, 200, Bgra(10, 20, 30, 200)},   // only the alpha
      {Bgra(10, 20, 30, 40), 0x332211, 100, 7, Bgra(0x33, 0x22, 0x11, 7)},  // the colour exactly
      // 100 toward 201 by 50 %: 100 - (-101 * 50) div 100 = 100 + 50; 201 toward 100: 201 - 50.
      {Bgra(100, 201, 0, 0), 0xC96464, 50, 255, Bgra(150, 151, 50, 255)},
      {Bgra(0, 255, 7, 1), 0x000000, 33, 1, Bgra(0, 171, 5, 1)},  // 255 - 84; 7 - 2
  };
  for (const Case& c : cases) {
    Bmp b = FromRows({{c.In}});
    BlendColorRect32(b.get(), Rect(0, 0, 1, 1), c.Color, c.Percent, c.Alpha);
    EXPECT_EQ(Px(b, 0, 0), c.Out) << std::hex << c.In << " " << int(c.Percent);
  }
}

TEST(AlphaPrimitives, BlendColorRectRoundsTiesToEvenAndKeepsAlpha) {
  struct Case {
    std::uint32_t In;
    Byte T;
    TColor Color;
    std::uint32_t Out;
  };
  const Case cases[] = {
      {Bgra(10, 20, 30, 77), 100, 0xFFFFFF, Bgra(10, 20, 30, 77)},  // keeps
      {Bgra(10, 20, 30, 77), 0, 0x332211, Bgra(0x33, 0x22, 0x11, 77)},  // fills
      {Bgra(1, 3, 5, 0), 50, 0x000000, Bgra(0, 2, 2, 0)},  // 0.5, 1.5, 2.5 to even
      {Bgra(255, 0, 0, 9), 10, 0x000000, Bgra(26, 0, 0, 9)},  // 25.5
      {Bgra(0, 0, 0, 9), 70, 0xFFFFFF, Bgra(76, 76, 76, 9)},  // 76.5
      {Bgra(0, 0, 0, 0), 50, sysWindow, Bgra(128, 128, 128, 0)},  // a system colour: white
      {Bgra(200, 0, 100, 0), 200, 0x000000, Bgra(255, 0, 200, 0)},  // beyond 100 extrapolates, limited
  };
  for (const Case& c : cases) {
    Bmp b = FromRows({{c.In}});
    BlendColorRect(b.get(), Rect(0, 0, 0, 0), c.T, c.Color);
    EXPECT_EQ(Px(b, 0, 0), c.Out) << std::hex << c.In << " T " << std::dec << int(c.T);
  }
}

TEST(AlphaPrimitives, BlendColorRectTakesRightAndBottomInclusive) {
  Bmp inner = Filled(5, 5);
  BlendColorRect(inner.get(), Rect(1, 1, 2, 3), 0, 0x000000);
  EXPECT_TRUE(OnlyInside(inner, Rect(1, 1, 3, 4), 0x5A000000));
  Bmp whole = Filled(3, 3);
  BlendColorRect(whole.get(), Rect(-4, -4, 3, 3), 0, 0x000000);
  EXPECT_TRUE(PixelsAre(whole, [](int, int) { return 0x5A000000u; })) << "(0, 0, w, h) is the whole bitmap";
}

TEST(AlphaPrimitives, FillDCBorder32PaintsFourStripsOpaque) {
  Bmp b = Filled(7, 7);
  FillDCBorder32(b.get(), Rect(1, 1, 6, 6), 1, 2, 1, 1, 0x0000FF);
  const std::uint32_t red = 0xFFFF0000u;
  EXPECT_TRUE(PixelsAre(b, [&](int x, int y) {
    const bool inR = x >= 1 && x < 6 && y >= 1 && y < 6;
    const bool centre = x >= 2 && x < 5 && y >= 3 && y < 5;
    return inR && !centre ? red : kGuard;
  }));
}

TEST(AlphaPrimitives, FillTransPixelsReplacesKeyColourOfAnyAlphaCutToBothBitmaps) {
  // Dst 4 x 3: key pixels with several alphas; Src 3 x 3 of distinct values.
  Bmp d = FromRows({{0x00FF00FF, 0xFFFF00FF, 0x80FF00FF, 0x00FF00FE},
                    {0x12FF00FF, 0x00000000, 0xFFFF00FF, 0xFFFF00FF},
                    {0x00FF00FF, 0x00FF00FF, 0x00FF00FF, 0x00FF00FF}});
  Bmp s = FromRows({{0xA0, 0xA1, 0xA2}, {0xB0, 0xB1, 0xB2}, {0xC0, 0xC1, 0xC2}});
  // R starts left of and above Dst; the source point runs out of Src at its right.
  FillTransPixels32(d.get(), s.get(), Rect(-1, -1, 5, 2), Point(0, 0), -1, nullptr, 0);
  // Dst (x, y) takes Src (x + 1, y + 1) where x + 1 < 3 and y + 1 < 3 and y < 2.
  const std::uint32_t want[3][4] = {{0xB1, 0xB2, 0x80FF00FF, 0x00FF00FE},
                                    {0xC1, 0x00000000, 0xFFFF00FF, 0xFFFF00FF},
                                    {0x00FF00FF, 0x00FF00FF, 0x00FF00FF, 0x00FF00FF}};
  EXPECT_TRUE(PixelsAre(d, [&](int x, int y) { return want[y][x]; }));
}

TEST(AlphaPrimitives, FillTransPixelsFromAnImageCornerChosenByHitCode) {
  // One 6 x 4 image of two states in the master bitmap, margins 1 (left,
  // top) and 2 (right, bottom); the key lies at different places per corner.
  TsSkinManager manager;
  manager.MasterBitmap = Filled(12, 4, 0xFF000000);
  TsMaskData md;
  md.SrcRect = Rect(0, 0, 12, 4);
  md.Columns = 2;
  md.MarginLeft = md.MarginTop = 1;
  md.MarginRight = md.MarginBottom = 2;
  md.OwnerManager = &manager;
  manager.Masks.push_back(std::move(md));
  Px(manager.MasterBitmap, 0, 0) = 0x00FF00FF;  // top-left corner (origin 0, 0)
  Px(manager.MasterBitmap, 5, 0) = 0xFFFF00FF;  // top-right corner (origin 4, 0), any alpha
  Px(manager.MasterBitmap, 1, 3) = 0x00FF00FF;  // bottom-left corner (origin 0, 2)
  Px(manager.MasterBitmap, 4, 2) = 0x00FF00FF;  // bottom-right corner (origin 4, 2)
  struct Case {
    Integer Code;
    TPoint Replaced;
  };
  const Case cases[] = {{acHTTopLeft, {0, 0}}, {2, {0, 0}}, {acHTTopRight, {1, 0}}, {acHTBottomLeft, {1, 1}},
                        {acHTBottomRight, {0, 0}}};
  for (const Case& c : cases) {
    Bmp d = Filled(4, 4);
    Bmp s = Filled(4, 4, 0x11111111);
    FillTransPixels32(d.get(), s.get(), Rect(1, 1, 3, 3), Point(0, 0), 0, &manager, c.Code);
    EXPECT_TRUE(OnlyInside(d, Bounds(1 + c.Replaced.X, 1 + c.Replaced.Y, 1, 1), 0x11111111)) << c.Code;
  }
  Bmp d = Filled(2, 2);
  FillTransPixels32(d.get(), d.get(), Rect(0, 0, 2, 2), Point(0, 0), 5, &manager, acHTTopLeft);
  EXPECT_TRUE(PixelsAre(d, [](int, int) { return kGuard; })) << "an image index the manager lacks";
}

TEST(AlphaPrimitives, ConvertMaskToAlphaTakesTheLowerHalfCutToBothBitmaps) {
  // Source 3 x 4: pictures in rows 0-1, their mask (red byte) in rows 2-3.
  Bmp s = FromRows({{1, 2, 3}, {4, 5, 6}, {0x000000, 0x00FF00, 0x100000}, {0xFF0000, 0x800000, 0x7F0000}});
  Bmp d = Filled(4, 3, 0x00ABCDEF);
  ConvertMaskToAlpha(d.get(), s.get(), Rect(2, 1, 5, 3), Rect(0, 0, 3, 4));
  // Destination columns 2 and 3 take mask columns 0 and 1; column 4 lies outside.
  const std::uint32_t alpha[2][2] = {{255, 255}, {0, 127}};
  EXPECT_TRUE(OnlyInside(
      d, Rect(2, 1, 4, 3), [&](int x, int y) { return 0x00ABCDEF | (alpha[y - 1][x - 2] << 24); }, 0x00ABCDEF));
  Bmp same = Filled(4, 3, 0x00ABCDEF);
  ConvertMaskToAlpha(same.get(), s.get(), Rect(0, 0, 3, 1), Rect(0, 0, 3, 4));
  EXPECT_TRUE(PixelsAre(same, [](int, int) { return 0x00ABCDEFu; })) << "a destination of the wrong size";
}

}  // namespace
