// One image of a multi-image glyph: which image a state shows, the disabled
// blend and the fading reflection, worked out by hand from the rules.
#include <gtest/gtest.h>

#include "AlphaTestSupport.h"
#include "skin/graphics/acPaintManager.h"

using namespace alphatest;

namespace {

constexpr std::uint32_t kKey = 0x00000000;  // the glyph's bottom-left colour
const std::uint32_t kImages[4] = {Bgra(10, 20, 30, 0), Bgra(40, 50, 60, 0), Bgra(70, 80, 90, 0), Bgra(1, 2, 3, 0)};

// A glyph of Count images of 3 x 2, each one colour with its bottom-left
// pixel the key.
Bmp Glyph(int Count) {
  Bmp g = Filled(3 * Count, 2, 0);
  for (int i = 0; i < Count; ++i)
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) Px(g, 3 * i + x, y) = (x == 0 && y == 1) ? kKey : kImages[i];
  return g;
}

// The image drawn at (1, 1) of a 6 x 4 target, or -1 for none.
int ImageDrawn(const Bmp& target) {
  for (int i = 0; i < 4; ++i)
    if (Px(target, 2, 1) == kImages[i]) return i;
  return -1;
}

// Sets the default manager for the life of the scope.
struct TDefaultManager {
  TsSkinManager Manager;
  TDefaultManager() { DefaultManager = &Manager; }
  ~TDefaultManager() {
    DefaultManager = nullptr;
    acOldGlyphsOrder = false;
  }
};

TEST(GlyphImages, StateDownAndTheGlyphsOrderPickTheImage) {
  struct Case {
    int Count, State;
    bool Down, Enabled;
    int WithManager, WithoutManager;  // the image shown
  };
  const Case cases[] = {
      {4, 0, false, true, 0, 0},
      {4, 1, false, true, 1, 0},   // hot: the second image, unless the order is the standard one
      {4, 2, false, true, 2, 2},
      {4, 2, true, true, 3, 3},    // pressed and down
      {3, 2, true, true, 1, 0},    // no fourth image
      {2, 2, false, true, 1, 0},
      {4, 3, false, true, 2, 2},
      {2, 3, false, true, 0, 0},
      {4, 7, true, true, 2, 2},    // a state beyond 3 counts as 3
      {4, -1, false, true, 0, 0},  // and one below 0 as 0
      {1, 2, true, true, 0, 0},    // a single image shows in every state
      {4, 1, false, false, 0, 0},  // disabled: the first image
  };
  for (const bool manager : {true, false}) {
    std::unique_ptr<TDefaultManager> scope;
    if (manager) scope = std::make_unique<TDefaultManager>();
    for (const Case& c : cases) {
      Bmp glyph = Glyph(c.Count), target = Filled(6, 4);
      DrawGlyphEx(glyph.get(), target.get(), Rect(1, 1, 4, 3), c.Count, c.Enabled, 0, c.State, 0, c.Down, false);
      const int want = manager ? c.WithManager : c.WithoutManager;
      EXPECT_EQ(ImageDrawn(target), want) << c.Count << " images, state " << c.State << (manager ? "" : ", no manager");
      // The key pixel (bottom left) leaves the target; the rest is the image.
      EXPECT_TRUE(OnlyInside(target, Rect(1, 1, 4, 3), [&](int x, int y) {
        return x == 1 && y == 2 ? kGuard : kImages[want];
      })) << c.Count << "/" << c.State;
    }
  }
  TDefaultManager scope;
  acOldGlyphsOrder = true;  // the manager's option of the standard order
  Bmp glyph = Glyph(4), target = Filled(6, 4);
  DrawGlyphEx(glyph.get(), target.get(), Rect(1, 1, 4, 3), 4, true, 0, 1, 0, false, false);
  EXPECT_EQ(ImageDrawn(target), 0);
}

TEST(GlyphImages, NoImageCountIsOneImage) {
  Bmp glyph = Glyph(1), target = Filled(6, 4);
  DrawGlyphEx(glyph.get(), target.get(), Rect(1, 1, 4, 3), 0, true, 0, 2, 0, false, false);
  EXPECT_EQ(ImageDrawn(target), 0);
}

TEST(GlyphImages, DisabledImagesBlendHalfwaySkippingFuchsiaNotTheirKey) {
  Bmp glyph = FromRows({{0x00FF00FF, Bgra(200, 100, 0, 0)}, {kKey, Bgra(0, 0, 0, 0)}});
  Bmp target = Filled(2, 2, Bgra(100, 100, 100, 255));
  DrawGlyphEx(glyph.get(), target.get(), Rect(0, 0, 2, 2), 1, false, 0, 0, 50, false, false);
  // Trunc(S - (S - D) x 0.5) per channel, alpha kept; fuchsia left out.
  EXPECT_EQ(Px(target, 0, 0), Bgra(100, 100, 100, 255));
  EXPECT_EQ(Px(target, 1, 0), Bgra(150, 100, 50, 255));
  EXPECT_EQ(Px(target, 0, 1), Bgra(50, 50, 50, 255)) << "the bottom-left colour is blended too";
}

TEST(GlyphImages, TheReflectionFadesDownwardBelowTheImage) {
  // One image of 2 x 6: row y holds grey 40 y + 20, the bottom-left pixel the key.
  Bmp glyph = Filled(2, 6, 0);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 2; ++x) Px(glyph, x, y) = x == 0 && y == 5 ? kKey : Grey(40 * y + 20, 255);
  const std::uint32_t back = Grey(100, 255);
  Bmp target = Filled(2, 20, back);
  DrawGlyphEx(glyph.get(), target.get(), Rect(0, 0, 2, 6), 1, true, 0, 0, 0, false, true);
  // N = min(6 div 3 x 2 - 1, 20 - 6 - 1) = 3 rows below the image (it moves
  // up by 6 div 8 = 0): the level falls 255, 170, 85, 0 and the weights are
  // ((3 - i) x 255 div 3 x level) shr 9 = 127, 56, 14, 0.
  const int weight[4] = {127, 56, 14, 0};
  auto mix = [](int s, int d, int f) { return (s * f + d * (256 - f)) >> 8; };
  EXPECT_TRUE(PixelsAre(target, [&](int x, int y) -> std::uint32_t {
    if (y < 6) return x == 0 && y == 5 ? back : Grey(40 * y + 20, 255);
    if (y > 9) return back;
    const int i = y - 6, source = 5 - i;
    if (x == 0 && source == 5) return back;  // the key is left out
    return Grey(mix(40 * source + 20, 100, weight[i]), 255);
  }));
}

}  // namespace
