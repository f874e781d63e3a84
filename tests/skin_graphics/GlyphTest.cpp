// Glyphs: a state picture through its mask row (BlendGlyphByMask) and the
// glyph painter that picks the state and the copy (DrawSkinGlyph). Pixels
// worked out by hand; guards all round.
#include <gtest/gtest.h>

#include "AlphaTestSupport.h"
#include "skin/graphics/acPaintManager.h"
#include "skin/graphics/sAlphaGraph.h"

using namespace alphatest;

namespace {

constexpr std::uint32_t kKey = 0x00FF00FF;

// A masked glyph image of one 1 x 1 picture over its mask.
TsMaskData Glyph(int columns = 1, int width = 1) {
  TsMaskData md;
  md.SrcRect = Rect(0, 0, width, 2);
  md.Columns = static_cast<SmallInt>(columns);
  md.MaskKind = 1;
  return md;
}

TEST(Glyph, OnePixelThroughTheMask) {
  struct Case {
    const char* Name;
    std::uint32_t S, K;
    Integer Mode;
    std::uint32_t Out;  // over Grey(100, 100)
  };
  const Case cases[] = {
      // Blue weight 0, green 128, red 64: 200, 150, 175; alpha 100 + (155 * 191) shr 8.
      {"mode 1 weighs each channel", Grey(200, 0), Bgra(0, 128, 64, 0), 1, Bgra(200, 150, 175, 215)},
      // Raised by 100: 100, 228, 164 give 160, 110, 135; alpha still from the red byte.
      {"mode 2 raises the mask", Grey(200, 0), Bgra(0, 128, 64, 0), 2, Bgra(160, 110, 135, 215)},
      {"mask 255 leaves the destination exactly", Grey(200, 0), Grey(255, 0), 1, Grey(100, 100)},
      {"the key leaves it", kKey, Grey(0, 0), 1, Grey(100, 100)},
      // Alpha 100 + (155 * 255) shr 8: one short of opaque.
      {"mask 0: the source", Grey(200, 9), Grey(0, 0), 1, Grey(200, 254)},
  };
  for (const Case& c : cases) {
    Bmp src = FromRows({{c.S}, {c.K}});
    Bmp dst = Filled(3, 3);
    Px(dst, 1, 1) = Grey(100, 100);
    BlendGlyphByMask(Rect(1, 1, 1, 1), Rect(0, 0, 0, 0), dst.get(), src.get(), c.Mode, Glyph());
    EXPECT_TRUE(OnlyInside(dst, Rect(1, 1, 2, 2), c.Out)) << c.Name;
  }
}

TEST(Glyph, CutToBothBitmapsAndToTheSourceColumns) {
  // Source 2 x 2: pictures 10, 20 over opaque masks; the rectangles ask for
  // 3 columns. The guards' alpha 90 becomes 90 + (165 * 255) shr 8 = 254.
  Bmp src = FromRows({{Grey(10, 0), Grey(20, 0)}, {Grey(0, 0), Grey(0, 0)}});
  Bmp dst = Filled(4, 2);
  BlendGlyphByMask(Rect(1, 0, 3, 0), Rect(0, 0, 2, 0), dst.get(), src.get(), 1, Glyph(1, 2));
  EXPECT_TRUE(OnlyInside(dst, Rect(1, 0, 3, 1), [](int x, int) { return Grey(10 * x, 254); }));
  Bmp left = Filled(2, 1);
  BlendGlyphByMask(Rect(-1, 0, 0, 0), Rect(0, 0, 1, 0), left.get(), src.get(), 1, Glyph(1, 2));
  EXPECT_TRUE(OnlyInside(left, Rect(0, 0, 1, 1), Grey(20, 254))) << "a destination left of the bitmap";
  auto grey24 = NewBitmap(pf24bit, 2, 2);
  BlendGlyphByMask(Rect(0, 0, 0, 0), Rect(0, 0, 0, 0), grey24.get(), src.get(), 1, Glyph(1, 2));
  EXPECT_EQ(grey24->ScanLine(0)[0], 0) << "not a 32-bit destination";
}

// A master bitmap of a key-colour glyph with three 2 x 1 states: pixel
// (x, 0) is grey 10 * (x + 1).
struct GlyphFixture {
  TsSkinManager Manager;
  TsMaskData Md;
  GlyphFixture() {
    Manager.MasterBitmap = FromRows({{Grey(10, 0), Grey(20, 0), Grey(30, 0), Grey(40, 0), Grey(50, 0), Grey(60, 0)}});
    Md.SrcRect = Rect(0, 0, 6, 1);
    Md.Columns = 3;
    Md.OwnerManager = &Manager;
  }
};

TEST(Glyph, StateBeyondTheColumnsDrawsTheLastOne) {
  GlyphFixture f;
  Bmp dst = Filled(4, 2);
  DrawSkinGlyph(dst.get(), Point(1, 1), 7, 1, f.Md, EmptyCI);
  EXPECT_TRUE(OnlyInside(dst, Rect(1, 1, 3, 2), [](int x, int) { return Grey(50 + 10 * (x - 1), 0); }));
}

TEST(Glyph, LeftOfTheBitmapTheWindowStartsFurtherInAndKeepsItsWidth) {
  // At P.X = -1 the window of state 0 starts one column further: columns 1
  // and 2 of the master bitmap land at x = 0 and 1.
  GlyphFixture f;
  Bmp dst = Filled(3, 1);
  DrawSkinGlyph(dst.get(), Point(-1, 0), 0, 1, f.Md, EmptyCI);
  EXPECT_TRUE(OnlyInside(dst, Rect(0, 0, 2, 1), [](int x, int) { return Grey(20 + 10 * x, 0); }));
}

TEST(Glyph, DimmedKeyColourGlyphAtHalfStrength) {
  GlyphFixture f;
  Bmp dst = Filled(4, 1, Grey(100, 7));
  DrawSkinGlyph(dst.get(), Point(1, 0), 1, 2, f.Md, EmptyCI);
  // Trunc(S - (S - D) * 0.5): 30 and 40 over 100 give 65 and 70; alpha kept.
  EXPECT_TRUE(OnlyInside(dst, Rect(1, 0, 3, 1), [](int x, int) { return Grey(x == 1 ? 65 : 70, 7); }, Grey(100, 7)));
}

TEST(Glyph, NothingWithoutAManagerOrColumns) {
  GlyphFixture f;
  f.Md.Columns = 0;
  Bmp dst = Filled(4, 1);
  DrawSkinGlyph(dst.get(), Point(0, 0), 0, 1, f.Md, EmptyCI);
  f.Md.Columns = 3;
  f.Md.OwnerManager = nullptr;
  DrawSkinGlyph(dst.get(), Point(0, 0), 0, 1, f.Md, EmptyCI);
  EXPECT_TRUE(PixelsAre(dst, [](int, int) { return kGuard; }));
}

}  // namespace
