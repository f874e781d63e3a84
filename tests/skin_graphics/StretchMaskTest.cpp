// Stretched masked copies (StretchBltMask, StretchBltMask32,
// StretchBltMask32Ex): the plain stretch without a mask, a single smooth
// pixel, pieces stretched pixel for pixel or resampled, each form's rule and
// the cut to the destination. Pixels worked out by hand; guards all round.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "AlphaTestSupport.h"
#include "skin/graphics/sAlphaGraph.h"

using namespace alphatest;

namespace {

enum class Form { Plain, Alpha32, Alpha32Ex };

void Stretched(Form f, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh, const Bmp& d, const Bmp& s,
         int offset, bool smooth, int alpha = 255) {
  switch (f) {
    case Form::Plain:
      StretchBltMask(dx, dy, dw, dh, sx, sy, sw, sh, d.get(), s.get(), offset, smooth);
      break;
    case Form::Alpha32:
      StretchBltMask32(dx, dy, dw, dh, sx, sy, sw, sh, d.get(), s.get(), offset, smooth);
      break;
    case Form::Alpha32Ex:
      StretchBltMask32Ex(dx, dy, dw, dh, sx, sy, sw, sh, d.get(), s.get(), offset, alpha, smooth);
      break;
  }
}

const std::uint32_t kC = Bgra(10, 20, 30, 40);
const std::uint32_t kBack = Grey(100, 100);

TEST(StretchMask, WithoutAMaskOffsetItIsAPlainStretch) {
  for (Form f : {Form::Plain, Form::Alpha32, Form::Alpha32Ex}) {
    Bmp s = FromRows({{Grey(10, 1), Grey(20, 2)}});
    Bmp d = Filled(5, 3);
    Stretched(f, 0, 1, 4, 2, 0, 0, 2, 1, d, s, 0, false);
    EXPECT_TRUE(OnlyInside(d, Rect(0, 1, 4, 3), [](int x, int) { return x < 2 ? Grey(10, 1) : Grey(20, 2); }));
  }
}

TEST(StretchMask, SingleSmoothPixel) {
  struct Case {
    const char* Name;
    Form F;
    int Mask;
    std::uint32_t Out;  // over kBack
  };
  const Case cases[] = {
      {"mask 0 fills opaque", Form::Plain, 0, Bgra(10, 20, 30, 255)},
      {"mask 0 fills opaque (32)", Form::Alpha32, 0, Bgra(10, 20, 30, 255)},
      {"mask 0 fills opaque (Ex)", Form::Alpha32Ex, 0, Bgra(10, 20, 30, 255)},
      {"mask 255 leaves", Form::Plain, 255, kBack},
      {"mask 255 leaves (32)", Form::Alpha32, 255, kBack},
      // (D * 128 + C * 128) shr 8, alpha untouched.
      {"mask 128 mixes evenly", Form::Plain, 128, Bgra(55, 60, 65, 100)},
      // k = min(128, 100): (D * 100 + C * 155) shr 8, alpha max(100, 127).
      {"mask 128 weighs by the destination's alpha", Form::Alpha32, 128, Bgra(45, 51, 57, 127)},
      // w = (127 * 255) shr 8 = 126: (D * 129 + C * 126) shr 8.
      {"mask 128 with alpha 255", Form::Alpha32Ex, 128, Bgra(55, 60, 65, 127)},
  };
  for (const Case& c : cases) {
    Bmp s = FromRows({{kC}, {Grey(c.Mask, 0)}});
    Bmp d = Filled(4, 4);
    for (int y = 1; y < 3; ++y)
      for (int x = 1; x < 3; ++x) Px(d, x, y) = kBack;
    Stretched(c.F, 1, 1, 2, 2, 0, 0, 1, 1, d, s, 1, true);
    EXPECT_TRUE(OnlyInside(d, Rect(1, 1, 3, 3), c.Out)) << c.Name;
  }
}

TEST(StretchMask, EnlargedPieceLaysEachPixelByItsForm) {
  // Pictures P0, P1 over masks 0 and 255, stretched to 4 x 2: columns 0-1
  // from P0, 2-3 from P1.
  const std::uint32_t p1 = Bgra(50, 60, 70, 80);
  struct Case {
    Form F;
    std::uint32_t Left, Right;
  };
  const Case cases[] = {
      // The plain form weighs each channel by the mask's: 255 gives (100 * 255 + s) shr 8.
      {Form::Plain, Bgra(10, 20, 30, 255), Bgra(99, 99, 99, 255)},
      {Form::Alpha32, Bgra(10, 20, 30, 255), kBack},
      {Form::Alpha32Ex, Bgra(10, 20, 30, 255), kBack},
  };
  for (const Case& c : cases) {
    Bmp s = FromRows({{kC, p1}, {Grey(0, 0), Grey(255, 0)}});
    Bmp d = Filled(5, 4, kBack);
    Stretched(c.F, 0, 1, 4, 2, 0, 0, 2, 1, d, s, 1, false, 128);
    EXPECT_TRUE(OnlyInside(d, Rect(0, 1, 4, 3), [&](int x, int) { return x < 2 ? c.Left : c.Right; }, kBack))
        << static_cast<int>(c.F);
  }
}

TEST(StretchMask, CutToTheDestinationOnEverySide) {
  for (Form f : {Form::Plain, Form::Alpha32, Form::Alpha32Ex}) {
    Bmp s = FromRows({{kC, kC}, {Grey(0, 0), Grey(0, 0)}});
    Bmp d = Filled(4, 3);
    Stretched(f, 2, 1, 4, 4, 0, 0, 2, 1, d, s, 1, false);
    EXPECT_TRUE(OnlyInside(d, Rect(2, 1, 4, 3), Bgra(10, 20, 30, 255))) << static_cast<int>(f);
    Bmp single = Filled(4, 3);
    Stretched(f, 3, 2, 5, 5, 0, 0, 1, 1, single, s, 1, true);
    EXPECT_TRUE(OnlyInside(single, Rect(3, 2, 4, 3), Bgra(10, 20, 30, 255))) << static_cast<int>(f) << " single";
  }
}

TEST(StretchMask, NothingForSourcesOutsideTheirBitmapOrDegenerateTargets) {
  Bmp s = FromRows({{kC, kC}, {Grey(0, 0), Grey(0, 0)}});
  struct Case {
    int dx, dy, dw, dh, sx, sy, sw, sh, dwBmp;
  };
  const Case cases[] = {
      {-1, 0, 2, 1, 0, 0, 1, 1, 4},  // negative destination
      {0, 0, 2, 0, 0, 0, 1, 1, 4},   // no rows
      {0, 0, 2, 1, 1, 0, 2, 1, 4},   // source past the right
      {0, 0, 2, 1, -1, 0, 2, 1, 4},  // source left of the bitmap
      {0, 0, 2, 1, 0, 0, 1, 1, 1},   // destination one pixel wide
  };
  for (const Case& c : cases) {
    Bmp d = Filled(c.dwBmp, 3);
    StretchBltMask32(c.dx, c.dy, c.dw, c.dh, c.sx, c.sy, c.sw, c.sh, d.get(), s.get(), 1, false);
    EXPECT_TRUE(PixelsAre(d, [](int, int) { return kGuard; })) << c.dx << " " << c.sx << " " << c.dwBmp;
  }
}

TEST(StretchMask, ShrinkingOneWayResamplesEnlargingStretches) {
  // Two columns of 10 rows alternating black and white over an opaque mask.
  Bmp s = CreateBmp32(2, 20);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 2; ++x) Px(s, x, y) = Grey(y % 2 ? 255 : 0, 255);
  auto greys = [](const Bmp& d) {
    std::set<int> values;
    const TPixelView32 v = PixelsOf(d.get());
    for (int y = 0; y < v.Height; ++y)
      for (int x = 0; x < v.Width; ++x) values.insert(int(v.At(x, y) & 0xFF));
    return values;
  };
  Bmp shrunk = Filled(2, 6);
  StretchBltMask32(0, 0, 2, 6, 0, 0, 2, 10, shrunk.get(), s.get(), 10, false);
  const std::set<int> mixed = greys(shrunk);
  EXPECT_TRUE(std::any_of(mixed.begin(), mixed.end(), [](int v) { return v != 0 && v != 255; }))
      << "the filter mixes neighbouring rows";
  Bmp grown = Filled(2, 20);
  StretchBltMask32(0, 0, 2, 20, 0, 0, 2, 10, grown.get(), s.get(), 10, false);
  EXPECT_EQ(greys(grown), (std::set<int>{0, 255})) << "stretching repeats rows";
}

}  // namespace
