// The painters that take a control's skin state, under Wine, with the skin of
// SectionFixture.h and the skin core's hand-made controls: the tint over the
// whole image, the custom colour, the background asked of the parent, border
// corners given the parent's background, the disabled look, the fast border
// and text in the control's colours. Pixels are computed from the painting
// rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "../skin_core/SkinCoreSupport.h"
#include "SectionFixture.h"
#include "classlib/core/Cp1251.h"
#include "skin/core/sDefaults.h"
#include "skin/graphics/Sborders.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

// after the class library, whose header takes care of the platform macros
#include "TestSupport.h"

using namespace sectionfixture;
using namespace skincore;

namespace {

constexpr TColor kFormColor = 0x00406080;
constexpr TColor kTone = 0x004080C0;
constexpr std::uint32_t kKeyPixel = 0x00FF00FF;

std::uint32_t Rgb(std::uint32_t pixel) { return pixel & 0xFFFFFF; }
std::uint32_t RgbOf(std::uint32_t tcolor) { return Rgb(PixelOf(tcolor)); }
int Channel(std::uint32_t c, int i) { return static_cast<int>(c >> (8 * i) & 0xFF); }
std::uint32_t At(TacBitmap* bmp, int x, int y) {
  GdiFlush();
  return PixelsOf(bmp).At(x, y);
}

// A pixel toned by kTone: each channel the largest of the three times the
// tone's channel shr 8.
std::uint32_t Toned(std::uint32_t pixel) {
  const int m = std::max({Channel(pixel, 0), Channel(pixel, 1), Channel(pixel, 2)});
  const int r = m * (kTone & 0xFF) >> 8, g = m * (kTone >> 8 & 0xFF) >> 8, b = m * (kTone >> 16 & 0xFF) >> 8;
  return std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b);
}

std::unique_ptr<TacBitmap> Filled(int w, int h, std::uint32_t (*pixel)(int, int)) {
  auto bmp = CreateBmp32(w, h);
  const TPixelView32 v = PixelsOf(bmp.get());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) v.At(x, y) = pixel(x, y);
  return bmp;
}
std::uint32_t Grey(int, int) { return 0xFF405060; }
std::uint32_t Pattern(int x, int y) { return 0xFF000000u | std::uint32_t(20 + 9 * x) << 16 | std::uint32_t(200 - 7 * y) << 8 | 90; }
std::uint32_t Parent(int x, int y) { return ParentPixel(x, y); }

class StatePainters : public testing::Test {
 protected:
  static inline skinfixture::TTempDir* Dir = nullptr;
  static inline TsSkinManager* Manager = nullptr;
  static void SetUpTestSuite() {
    Dir = new skinfixture::TTempDir("statepaint");
    Write(Dir->Path, "Fixture");
    Manager = Create<TsSkinManager>(nullptr);
    Manager->SetSkinDirectory(Dir->Path.string());
    Manager->SetSkinName("Fixture");
  }
  static void TearDownTestSuite() {
    Manager->Free();
    delete Dir;
  }
  void SetUp() override {
    ASSERT_EQ(DefaultManager, Manager);
    ASSERT_GT(Manager->Sections.size(), 10u) << "the fixture skin is loaded";
    // Its own colour stays: no provider of the hook takes the form.
    Form = NewForm("StatePaint", 40, 40, 0x100);
    Form->SetColor(kFormColor);
  }
  void TearDown() override { Form->Free(); }
  TLoggedWinControl* Control(const char* Section, TWinControl* Parent = nullptr, TRect Bounds = {40, 30, 72, 54}) {
    return NewControl<TLoggedWinControl>(Parent ? Parent : Form, 33, Section, Bounds);
  }
  TForm* Form = nullptr;
};

// ------------------------------------------------------------ PaintItem and PaintItemBG

TEST_F(StatePainters, TheControlsToneGoesOverTheWholeBitmapWhereItsLookIsOpaqueOrBordered) {
  auto parent = Filled(kParentW, kParentH, Parent);
  const TCacheInfo ci = MakeCacheInfo(parent.get(), 2, 3);
  const TRect r{4, 4, 36, 28};
  const struct {
    const char* Section;
    bool Tinted;
  } cases[] = {{"PLAIN", true}, {"T40", true}, {"T50", false}};
  for (const auto& k : cases) {
    TLoggedWinControl* c = Control(k.Section);
    TsCommonData* s = c->SkinData();
    s->SetColorTone(kTone);
    auto untinted = Filled(44, 34, Grey), tinted = Filled(44, 34, Grey);
    PixelsOf(untinted.get()).At(43, 33) = PixelsOf(tinted.get()).At(43, 33) = kKeyPixel;
    PaintItem(s->SkinIndex, k.Section, ci, true, 0, r, TPoint{7, 5}, untinted.get(), Manager, s->Texture,
              s->HotTexture);
    PaintItem(s, ci, true, 0, r, TPoint{7, 5}, tinted.get(), true);
    for (int y = 0; y < 34; ++y)
      for (int x = 0; x < 44; ++x) {
        const std::uint32_t before = At(untinted.get(), x, y);
        const std::uint32_t want = before == kKeyPixel || !k.Tinted ? Rgb(before) : Toned(before);
        ASSERT_EQ(Rgb(At(tinted.get(), x, y)), want) << k.Section << " at " << x << ", " << y;
      }
    c->Free();
  }
}

TEST_F(StatePainters, ACustomColourPaintsTheOwnersColourOpaque) {
  for (const char* section : {"T40", "TEXGRAD"}) {
    TLoggedWinControl* c = Control(section);
    c->SkinData()->SetCustomColor(true);
    c->SetColor(0x00123456);
    auto parent = Filled(kParentW, kParentH, Parent);
    auto target = Filled(40, 30, Grey);
    PaintItemBG(c->SkinData(), MakeCacheInfo(parent.get(), 2, 3), 0, TRect{2, 3, 34, 27}, TPoint{7, 5},
                target.get());
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) {
        const bool inside = x >= 2 && x < 34 && y >= 3 && y < 27;
        ASSERT_EQ(Rgb(At(target.get(), x, y)), inside ? RgbOf(0x123456) : Rgb(Grey(x, y)))
            << section << " at " << x << ", " << y;
      }
    c->Free();
  }
}

TEST_F(StatePainters, PaintSkinControlAsksTheParentAndTintsNothing) {
  TLoggedWinControl* panel = Control("PLAIN", Form, TRect{10, 10, 150, 110});
  TLoggedWinControl* c = Control("T100", panel, TRect{40, 30, 72, 54});
  c->SkinData()->SetColorTone(kTone);
  auto target = Filled(32, 24, Grey);
  EXPECT_TRUE(PaintSkinControl(c->SkinData(), panel, true, 0, TRect{0, 0, 32, 24}, TPoint{40, 30}, target.get(),
                               true));
  EXPECT_EQ(Rgb(At(target.get(), 16, 12)), RgbOf(kPlainColor)) << "the parent's colour, not toned";

  // The same control painted over the same answer by PaintItem is toned.
  TacBGInfo info;
  GetBGInfo(&info, panel, false);
  auto toned = Filled(32, 24, Grey);
  PaintItem(c->SkinData(), BGInfoToCI(&info), true, 0, TRect{0, 0, 32, 24}, TPoint{40, 30}, toned.get(), true);
  EXPECT_EQ(Rgb(At(toned.get(), 16, 12)), Toned(RgbOf(kPlainColor)));

  // A parent whose image is not ready yet: nothing painted, paint later.
  TLoggedWinControl* half = Control("T40", Form, TRect{160, 10, 250, 110});
  half->SkinData()->CacheBmp->SetSize(0, 0);
  TLoggedWinControl* child = Control("PLAIN", half, TRect{5, 5, 37, 29});
  auto untouched = Filled(32, 24, Grey);
  EXPECT_FALSE(PaintSkinControl(child->SkinData(), half, true, 0, TRect{0, 0, 32, 24}, TPoint{5, 5},
                                untouched.get(), true));
  EXPECT_EQ(At(untouched.get(), 16, 12), Grey(16, 12));
}

// ------------------------------------------------------------ corners, disabled look

TEST_F(StatePainters, BorderCornersTakeTheParentsBackground) {
  // The border pictures' key pixels lie at (0, 0), (0, 1) and (1, 0) of the
  // top-left corner; the other corners have none.
  const struct {
    const char* Parent;  // PLAIN answers its colour, TEXGRAD its image
    const char* Child;   // PLAIN: a key-colour border, T100: a masked one
  } cases[] = {{"PLAIN", "PLAIN"}, {"PLAIN", "T100"}, {"TEXGRAD", "PLAIN"}, {"TEXGRAD", "T100"}};
  for (const auto& k : cases) {
    TLoggedWinControl* panel = Control(k.Parent, Form, TRect{10, 10, 150, 110});
    InitCacheBmp(panel->SkinData());
    const TPixelView32 pv = PixelsOf(panel->SkinData()->CacheBmp.get());
    for (int y = 0; y < pv.Height; ++y)
      for (int x = 0; x < pv.Width; ++x) pv.At(x, y) = Pattern(x, y);
    TLoggedWinControl* c = Control(k.Child, panel, TRect{40, 30, 72, 54});
    InitCacheBmp(c->SkinData());
    TacBitmap* cache = c->SkinData()->CacheBmp.get();
    const TPixelView32 cv = PixelsOf(cache);
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 32; ++x) cv.At(x, y) = Grey(x, y);
    UpdateCorners(c->SkinData(), 0, TsCorners{scLeftTop, scLeftBottom, scRightTop, scRightBottom});
    const bool image = std::string(k.Parent) == "TEXGRAD";
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 32; ++x) {
        const bool key = (x == 0 && y <= 1) || (x == 1 && y == 0);
        std::uint32_t want = Rgb(Grey(x, y));
        if (key) want = image ? Rgb(Pattern(x + 40, y + 30)) : RgbOf(kPlainColor);
        ASSERT_EQ(Rgb(At(cache, x, y)), want) << k.Parent << "/" << k.Child << " at " << x << ", " << y;
      }
    panel->Free();
  }
}

TEST_F(StatePainters, TheDisabledLookGreysAndBlendsWithTheBackground) {
  auto parent = Filled(kParentW, kParentH, Parent);
  const TCacheInfo ready = MakeCacheInfo(parent.get(), 2, 3);
  TCacheInfo none;  // not ready, no colour: the parent control's colour
  none.FillColor = sFuchsia;
  const TPoint at{5, 4};
  const Integer savedSaturation = DefDisabledSaturation;
  DefDisabledSaturation = -100;
  auto grey = [](std::uint32_t p) {
    const std::uint32_t v = (Channel(p, 0) + Channel(p, 1) + Channel(p, 2)) / 3;
    return v << 16 | v << 8 | v;
  };
  // Trunc(S - (S - D) * 0.4) per channel: 40 % of the image kept.
  auto overParent = [&](std::uint32_t d, int x, int y) {
    const std::uint32_t s = ParentPixel(x + 2 + at.X, y + 3 + at.Y);
    std::uint32_t out = 0;
    for (int i = 0; i < 3; ++i)
      out |= std::uint32_t(static_cast<int>(Channel(s, i) - (Channel(s, i) - Channel(d, i)) * DefDisabledBlend)) << 8 * i;
    return out;
  };
  // Round(c * 0.4 + C * 0.6), halves to even.
  auto overColour = [&](std::uint32_t d, int, int) {
    const std::uint32_t c = RgbOf(kFormColor);
    std::uint32_t out = 0;
    for (int i = 0; i < 3; ++i)
      out |= std::uint32_t(std::nearbyint(Channel(d, i) * 0.4 + Channel(c, i) * (1 - 0.4))) << 8 * i;
    return out;
  };
  const struct {
    const char* Name;
    TsDisabledKind Kind;
    const TCacheInfo* CI;
    std::function<std::uint32_t(std::uint32_t, int, int)> Want;
  } cases[] = {
      {"nothing", TsDisabledKind{}, &ready, [](std::uint32_t d, int, int) { return Rgb(d); }},
      {"grey", TsDisabledKind{dkGrayed}, &ready, [&](std::uint32_t d, int, int) { return grey(d); }},
      {"over the parent's image", TsDisabledKind{dkBlended}, &ready, overParent},
      {"over the parent's colour", TsDisabledKind{dkBlended}, &none, overColour},
      {"grey first", TsDisabledKind{dkGrayed, dkBlended}, &none,
       [&](std::uint32_t d, int x, int y) { return overColour(grey(d), x, y); }},
  };
  for (const auto& k : cases) {
    auto bmp = Filled(10, 8, Pattern);
    BmpDisabledKind(bmp.get(), k.Kind, Form, *k.CI, at);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 10; ++x)
        ASSERT_EQ(Rgb(At(bmp.get(), x, y)), k.Want(Pattern(x, y), x, y)) << k.Name << " at " << x << ", " << y;
  }
  DefDisabledSaturation = savedSaturation;
}

// ------------------------------------------------------------ the fast border

TEST_F(StatePainters, PaintBorderFastPaintsTheCacheAndCopiesTheRingToTheDC) {
  const TRect r{0, 0, 32, 24};
  const struct {
    const char* Section;
    Integer BW;
    TRect Client;
  } cases[] = {{"PLAIN", 0, {4, 4, 28, 20}}, {"PLAIN", 6, {6, 6, 26, 18}}, {"SECOND", 3, {3, 3, 29, 21}}};
  for (const auto& k : cases) {
    TLoggedWinControl* c = Control(k.Section);
    auto dc = Filled(32, 24, Grey);
    const TRect client = PaintBorderFast(dc->Canvas()->Handle(), r, k.BW, c->SkinData(), 0);
    EXPECT_EQ(client, k.Client) << k.Section << " " << k.BW;
    const bool bordered = std::string(k.Section) == "PLAIN";
    const std::uint32_t colour = RgbOf(bordered ? kPlainColor : kSecondColor);
    if (bordered) {
      TacBitmap* cache = c->SkinData()->CacheBmp.get();
      EXPECT_EQ(Rgb(At(cache, 2, 2)), BorderPixel(0, 2, 2)) << "the border in the cache";
      EXPECT_EQ(Rgb(At(cache, 2, 10)), BorderPixel(0, 2, 6));
    }
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 32; ++x) {
        const int ring = std::min({x, y, 31 - x, 23 - y});
        std::uint32_t want = Rgb(Grey(x, y));
        if (ring < k.BW) {
          if (!bordered || ring >= kMargin)
            want = colour;
          else
            want = Rgb(At(c->SkinData()->CacheBmp.get(), x, y));
        }
        ASSERT_EQ(Rgb(At(dc.get(), x, y)), want) << k.Section << " " << k.BW << " at " << x << ", " << y;
      }
    c->Free();
  }
}

// ------------------------------------------------------------ text

TEST_F(StatePainters, TextTakesTheSectionsColoursTintedAndStaysInsideItsRectangle) {
  TLoggedWinControl* c = Control("TEXT");
  TsCommonData* s = c->SkinData();
  auto canvas = [](std::unique_ptr<TacBitmap>& b) {
    b = Filled(120, 30, [](int, int) { return 0xFFFFFFFFu; });
    b->Canvas()->Font()->SetName("Tahoma");
    b->Canvas()->Font()->SetHeight(-16);
    b->Canvas()->Font()->SetColor(0);
  };
  auto count = [](TacBitmap* b, std::uint32_t rgb, int fromX = 0) {
    int n = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = fromX; x < 120; ++x) n += Rgb(At(b, x, y)) == rgb;
    return n;
  };
  std::unique_ptr<TacBitmap> byIndex, byState, toned, clipped, own;
  canvas(byIndex);
  canvas(byState);
  TRect r{10, 5, 110, 25};
  WriteTextEx(byIndex->Canvas(), "Весы"_cpz, true, r, DT_LEFT, s->SkinIndex, false, Manager);
  WriteTextEx(byState->Canvas(), "Весы"_cpz, true, r, DT_LEFT, s, false);
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      ASSERT_EQ(At(byState.get(), x, y), At(byIndex.get(), x, y)) << "untinted as by index, at " << x << ", " << y;
  EXPECT_EQ(Rgb(At(byIndex.get(), 9, 9)), RgbOf(kTextLeft)) << "by index the left outline reaches out of R";
  EXPECT_EQ(Rgb(At(byState.get(), 9, 9)), 0xFFFFFFu) << "a control's text stays inside R";
  EXPECT_EQ(r, (TRect{10, 5, 110, 25})) << "the rectangle is not changed";

  s->SetColorTone(kTone);
  canvas(toned);
  WriteTextEx(toned->Canvas(), "Весы"_cpz, true, r, DT_LEFT, s, false);
  EXPECT_GT(count(toned.get(), Toned(RgbOf(kTextColor))), 0) << "the colours toned";
  EXPECT_EQ(count(toned.get(), RgbOf(kTextColor)), 0);
  EXPECT_EQ(count(toned.get(), RgbOf(kTextLeft)), 0);

  canvas(clipped);
  TRect narrow{10, 5, 30, 25};
  WriteTextEx(clipped->Canvas(), "Весы Весы"_cpz, true, narrow, DT_LEFT, s, false);
  EXPECT_GT(count(clipped.get(), Toned(RgbOf(kTextColor))), 0);
  EXPECT_EQ(count(clipped.get(), 0xFFFFFF, 30), 90 * 30) << "nothing right of the rectangle";

  s->SetCustomFont(true);
  canvas(own);
  WriteTextEx(own->Canvas(), "Весы"_cpz, false, r, DT_LEFT, s, false);
  EXPECT_GT(count(own.get(), Rgb(static_cast<std::uint32_t>(ColorToRGB(clBtnShadow)))), 0)
      << "a font of its own: embossed as without a skin";
  EXPECT_EQ(count(own.get(), Toned(RgbOf(kTextColor))), 0);
  c->Free();
}

TEST_F(StatePainters, HotLinkTextIsUnderlinedAndTheSectionsGlowGoesIntoTheCache) {
  skintest::TSkinDir dir;
  dir.Folder("web", SkinTextOf({{"WEBBUTTON", 0xFFFFFF, 0, "FONTCOLOR=255\r\nGSIZE=3\r\nGCOL=65280\r\n"}}));
  TsSkinManager* web = skintest::NewManager(dir);
  web->SetSkinName("web");
  TLoggedWinControl* c = Control("WEBBUTTON");
  TsCommonData* s = c->SkinData();
  s->SetSkinManager(web);
  ASSERT_TRUE(s->Skinned());
  InitCacheBmp(s);
  const TPixelView32 cache = PixelsOf(s->CacheBmp.get());
  for (int y = 0; y < cache.Height; ++y)
    for (int x = 0; x < cache.Width; ++x) cache.At(x, y) = 0xFF000000;
  auto b = Filled(60, 30, [](int, int) { return 0xFFFFFFFFu; });
  b->Canvas()->Font()->SetName("Tahoma");
  TRect r{2, 2, 30, 22};
  WriteTextEx(b->Canvas(), "Ок"_cpz, true, r, DT_LEFT, s, false);
  EXPECT_FALSE(b->Canvas()->Font()->Style().Contains(fsUnderline));
  WriteTextEx(b->Canvas(), "Ок"_cpz, true, r, DT_LEFT, s, true);
  EXPECT_TRUE(b->Canvas()->Font()->Style().Contains(fsUnderline)) << "a hot link is underlined, and stays so";
  int glowing = 0;
  for (int y = 0; y < cache.Height; ++y)
    for (int x = 0; x < cache.Width; ++x) glowing += Rgb(cache.At(x, y)) != 0;
  EXPECT_GT(glowing, 0) << "the glow is drawn into the control's cache";
  s->CacheBmp.reset();
  WriteTextEx(b->Canvas(), "Ок"_cpz, true, r, DT_LEFT, s, true);  // no cache: no glow, no harm
  auto nothing = Filled(32, 24, Grey);
  EXPECT_TRUE(PaintSkinControl(s, nullptr, true, 0, TRect{0, 0, 32, 24}, TPoint{}, nothing.get(), true))
      << "a control without a parent paints over no background";
  c->Free();
  web->Free();
}

}  // namespace
