// The section painters under Wine, with the skin of SectionFixture.h loaded by
// a skin manager and a parent image of known pixels: every case paints into
// a bitmap of fixed size, pixels are checked against values computed from
// the painting rules, and the whole picture against a golden picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>

#include "../skin_manager/SkinManagerSupport.h"
#include "GoldenImages.h"
#include "SectionFixture.h"
#include "classlib/core/Cp1251.h"
#include "classlib/ui/Forms.h"
#include "classlib/ui/WinApi.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sSkinManager.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

// after the class library, whose header takes care of the platform macros
#include "TestSupport.h"

using namespace sectionfixture;

namespace {

// ------------------------------------------------------------------ arithmetic

std::uint32_t Rgb(std::uint32_t pixel) { return pixel & 0xFFFFFF; }
int Channel(std::uint32_t c, int i) { return static_cast<int>(c >> (8 * i) & 0xFF); }
// Per channel (a * w + b * (256 - w)) shr 8: a keeps w of 256.
std::uint32_t Blend(std::uint32_t a, std::uint32_t b, int w) {
  std::uint32_t out = 0;
  for (int i = 0; i < 3; ++i) out |= std::uint32_t((Channel(a, i) * w + Channel(b, i) * (256 - w)) >> 8) << (8 * i);
  return out;
}
// Per channel Trunc(a * w + b * (1 - w)).
std::uint32_t Mix(std::uint32_t a, std::uint32_t b, double w) {
  std::uint32_t out = 0;
  for (int i = 0; i < 3; ++i)
    out |= std::uint32_t(static_cast<int>(Channel(a, i) * w + (1 - w) * Channel(b, i))) << (8 * i);
  return out;
}
// A colour share mixed in: Round(c * p + C * q), p = P / 100, q = 1 - p,
// ties to even.
int KeepShare(int c, int color, int percent) {
  const double p = percent / 100.0, q = 1 - p;
  return static_cast<int>(std::nearbyint(c * p + color * q));
}
// A colour of the skin text (TColor) as RGB.
std::uint32_t RgbOf(std::uint32_t tcolor) { return Rgb(PixelOf(tcolor)); }

// The values a ramp of D steps from a to b runs through: single-precision
// running values, each row or column taking their truncation.
std::vector<int> Ramp(int a, int b, int d) {
  std::vector<int> out;
  float v = static_cast<float>(a);
  const double step = static_cast<double>(b - a) / d;
  for (int i = 0; i <= d; ++i) {
    out.push_back(static_cast<int>(v));
    v = static_cast<float>(v + step);
  }
  return out;
}

// ------------------------------------------------------------------ the skin

// The cases paint R = (0, 0, 32, 24) of a 32 x 24 bitmap placed at (7, 5) in
// a parent whose origin lies at (2, 3) of its image: the parent's pixel
// under (x, y) is its image's pixel (x + 9, y + 8).
constexpr int kW = 32, kH = 24;
constexpr TPoint kOffset{7, 5};
constexpr int kCIX = 2, kCIY = 3;
std::uint32_t Under(int x, int y) { return Rgb(ParentPixel(x + kOffset.X + kCIX, y + kOffset.Y + kCIY)); }

struct SectionPainter : ::testing::Test {
  static inline skinfixture::TTempDir* Dir = nullptr;
  static inline TsSkinManager* Manager = nullptr;
  static inline std::unique_ptr<TacBitmap> Parent;
  static inline bool Loaded = false;

  static void SetUpTestSuite() {
    Dir = new skinfixture::TTempDir("painting");
    Write(Dir->Path, "Fixture");
    skintest::TDialogWatcher dialogs;
    Manager = Create<TsSkinManager>(nullptr);
    Manager->SetSkinDirectory(Dir->Path.string());
    Manager->SetSkinName("Fixture");
    Loaded = dialogs.Texts.empty();
    if (!Loaded) std::printf("the fixture skin did not load: %s\n", dialogs.Texts[0].c_str());
    Parent = CreateBmp32(kParentW, kParentH);
    const TPixelView32 v = PixelsOf(Parent.get());
    for (int y = 0; y < kParentH; ++y)
      for (int x = 0; x < kParentW; ++x) v.Row(y)[x] = ParentPixel(x, y);
  }
  static void TearDownTestSuite() {
    Parent.reset();
    Manager->Free();
    Manager = nullptr;
    delete Dir;
  }
  void SetUp() override {
    ASSERT_TRUE(Loaded);
    ASSERT_GT(Manager->Sections.size(), 10u) << "the fixture skin is loaded";
  }

  static Integer Index(const char* name) { return Manager->GetSkinIndex(name); }
  static TCacheInfo ReadyParent() { return MakeCacheInfo(Parent.get(), kCIX, kCIY); }
  static std::unique_ptr<TacBitmap> Target(int w = kW, int h = kH, std::uint32_t fill = 0) {
    auto bmp = CreateBmp32(w, h);
    const TPixelView32 v = PixelsOf(bmp.get());
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) v.Row(y)[x] = fill;
    return bmp;
  }
};

std::uint32_t At(TacBitmap* bmp, int x, int y) { return PixelsOf(bmp).Row(y)[x]; }

// ------------------------------------------------------------ border frames

// Where pixel (x, y) of a w x h rectangle comes from in a 12 x 12 border
// picture with margins of 4 whose edges are tiled (period 4 from the inner
// corner); nullopt in the centre.
std::optional<TPoint> TiledSource(int x, int y, int w, int h) {
  auto along = [](int v, int size) {
    if (v < kMargin) return std::pair{v, false};
    if (v >= size - kMargin) return std::pair{kCell - (size - v), false};
    return std::pair{kMargin + (v - kMargin) % (kCell - 2 * kMargin), true};
  };
  const auto [px, midX] = along(x, w);
  const auto [py, midY] = along(y, h);
  if (midX && midY) return std::nullopt;
  return TPoint{px, py};
}

// The frame of the key-colour border image in state Picture over a
// background: key pixels show the parent, others the picture.
std::optional<std::uint32_t> KeyFrame(int picture, int x, int y) {
  const auto src = TiledSource(x, y, kW, kH);
  if (!src) return std::nullopt;
  if (KeyInPicture(src->X, src->Y)) return Under(x, y);
  return BorderPixel(picture, src->X, src->Y);
}

// The frame of the masked border image (tiled) over the background Back:
// key pixels of the corners show the parent, the others mix by the mask.
std::optional<std::uint32_t> MaskedFrame(int x, int y, std::uint32_t back) {
  const auto src = TiledSource(x, y, kW, kH);
  if (!src) return std::nullopt;
  if (KeyInPicture(src->X, src->Y)) return Under(x, y);
  const int m = BorderMask(src->X, src->Y);
  return Blend(back, BorderPixel(3, src->X, src->Y), m);
}

// ------------------------------------------------------------ the cases

// A case: how it paints, and what every pixel must be (nullopt: not checked
// here, the golden picture holds it).
struct PaintCase {
  const char* Name;
  std::function<void(TacBitmap*)> Paint;
  std::function<std::optional<std::uint32_t>(int x, int y)> Expected;
};

void CheckCase(const PaintCase& c, TacBitmap* bmp) {
  int wrong = 0, checked = 0;
  for (int y = 0; y < BitmapHeight(bmp); ++y)
    for (int x = 0; x < BitmapWidth(bmp); ++x) {
      const auto want = c.Expected(x, y);
      if (!want) continue;
      ++checked;
      const std::uint32_t got = Rgb(At(bmp, x, y));
      if (got != *want && ++wrong <= 4)
        ADD_FAILURE() << c.Name << ": (" << x << ", " << y << ") is " << std::hex << got << ", expected " << *want;
    }
  EXPECT_EQ(wrong, 0) << c.Name;
  EXPECT_GT(checked, 0) << c.Name;
  EXPECT_TRUE(golden::Matches(std::string("section_") + c.Name, bmp));
}

TEST_F(SectionPainter, PaintItemBySkinIndex) {
  const TRect r = Rect(0, 0, kW, kH);
  auto item = [&](const char* section, Integer state) {
    return [=](TacBitmap* bmp) {
      PaintItem(Index(section), section, ReadyParent(), true, state, r, kOffset, bmp, Manager);
    };
  };
  // The texture-gradient mix: a vertical ramp from white to black over the
  // rows, the texture repeated from the bitmap's origin, each channel
  // ((t - g) * 127 + g * 256) shr 8 (the texture weighs 50 * 255 div 100).
  const std::vector<int> ramp = Ramp(255, 0, kH - 1);
  auto texGrad = [&](int x, int y) -> std::optional<std::uint32_t> {
    const std::uint32_t t = TexturePixel(x % kTexW, y % kTexH);
    std::uint32_t out = 0;
    for (int i = 0; i < 3; ++i) out |= std::uint32_t(((Channel(t, i) - ramp[y]) * 127 + ramp[y] * 256) >> 8) << (8 * i);
    return out;
  };
  // The horizontal ramp of "GRAD" from red to blue over the columns, under a
  // stretched key-colour frame: corners as they are, edges checked at the
  // middle of each stretched source pixel (top and bottom: 4 columns over
  // 24, left and right: 4 rows over 16).
  const std::vector<int> down = Ramp(255, 0, kW - 1), up = Ramp(0, 255, kW - 1);
  auto grad = [&](int x, int y) -> std::optional<std::uint32_t> {
    const bool midX = x >= kMargin && x < kW - kMargin, midY = y >= kMargin && y < kH - kMargin;
    if (midX && midY) return std::uint32_t(down[x]) << 16 | std::uint32_t(up[x]);
    if (!midX && !midY) {
      const int px = x < kMargin ? x : kCell - (kW - x), py = y < kMargin ? y : kCell - (kH - y);
      return KeyInPicture(px, py) ? Under(x, y) : BorderPixel(0, px, py);
    }
    if (midX && (x - kMargin) % 6 == 3)
      return BorderPixel(0, kMargin + (x - kMargin) / 6, y < kMargin ? y : kCell - (kH - y));
    if (midY && (y - kMargin) % 4 == 2)
      return BorderPixel(0, x < kMargin ? x : kCell - (kW - x), kMargin + (y - kMargin) / 4);
    return std::nullopt;
  };
  // "T100": the parent shows through; the masked frame is stretched: its
  // edges are checked as those of "GRAD".
  auto t100 = [&](int x, int y) -> std::optional<std::uint32_t> {
    const bool midX = x >= kMargin && x < kW - kMargin, midY = y >= kMargin && y < kH - kMargin;
    if (midX && midY) return Under(x, y);
    if (!midX && !midY) return MaskedFrame(x, y, Under(x, y));
    if (midX && (x - kMargin) % 6 == 3)
      return BorderPixel(3, kMargin + (x - kMargin) / 6, y < kMargin ? y : kCell - (kH - y));
    if (midY && (y - kMargin) % 4 == 2)
      return BorderPixel(3, x < kMargin ? x : kCell - (kW - x), kMargin + (y - kMargin) / 4);
    return std::nullopt;
  };
  // Separate masked tiles of 5 x 5 (their ring masked away) over the
  // colour; the strips right of and below the last whole tiles show the parent.
  auto maskTex = [&](int x, int y) -> std::optional<std::uint32_t> {
    if (x >= 30 || y >= 20) return Under(x, y);
    const std::uint32_t back = RgbOf(kMaskTexBack);
    return MaskTexMask(x % 5, y % 5) ? Blend(back, kMaskTexColor, 255) : kMaskTexColor;
  };
  const PaintCase cases[] = {
      {"t0", item("PLAIN", 0), [](int x, int y) { return KeyFrame(0, x, y).value_or(RgbOf(kPlainColor)); }},
      {"t40", item("T40", 0),
       [](int x, int y) {
         const std::uint32_t back = Blend(Under(x, y), RgbOf(kT40Color), 102);
         return MaskedFrame(x, y, back).value_or(back);
       }},
      {"t100", item("T100", 0), t100},
      {"texture_gradient", item("TEXGRAD", 0), texGrad},
      {"state5_of_3", item("STATES3", 5),
       [](int x, int y) { return KeyFrame(2, x, y).value_or(RgbOf(kStatesHotColor)); }},
      {"one_state_in_state3", item("ONESTATE", 3),
       [](int x, int y) { return KeyFrame(0, x, y).value_or(RgbOf(kOneStateColor)); }},
      {"masked_texture", item("MASKTEX", 0), maskTex},
      {"gradient_stretched_frame", item("GRAD", 0), grad},
      {"no_states", item("ZEROSTATES", 0), [](int, int) { return std::optional(RgbOf(kZeroStatesColor)); }},
      {"fill_mode_beyond_table",
       [&](TacBitmap* bmp) {
         // The loader refuses such a mode; a table changed in code may hold one.
         TsMaskData& texture = Manager->Masks[static_cast<size_t>(
             Manager->Sections[static_cast<size_t>(Index("BADMODE"))].Props[0].TextureIndex)];
         texture.FillMode = 20;
         item("BADMODE", 0)(bmp);
         texture.FillMode = 0;
       },
       [](int x, int y) { return std::optional(TexturePixel(x % kTexW, y % kTexH)); }},
      {"custom_colour",
       [&](TacBitmap* bmp) {
         PaintItemBG(Index("T40"), "T40", ReadyParent(), 0, r, kOffset, bmp, Manager, -1, -1, 0x3366CC);
       },
       [](int, int) { return std::optional<std::uint32_t>(0xCC6633); }},
      {"second_section_name",
       [&](TacBitmap* bmp) {
         EXPECT_EQ(PaintSection(bmp, "NOSUCH", "SECOND", 0, Manager, TPoint{}, 0xFFFFFF, nullptr), Index("SECOND"));
       },
       [](int, int) { return std::optional(RgbOf(kSecondColor)); }},
  };
  for (const PaintCase& c : cases) {
    auto bmp = Target();
    c.Paint(bmp.get());
    CheckCase(c, bmp.get());
  }
  // The fixture's pieces, to look at beside the cases.
  TacBitmap* master = Manager->MasterBitmap.get();
  golden::Save("section_fixture_master", BitmapWidth(master), BitmapHeight(master), golden::Colors(master), 4);
}

TEST_F(SectionPainter, CornerImagesArePlacedInR) {
  // A bottom-left corner image in R = (5, 2, 29, 22): at R's left edge, its
  // key pixel showing the section's colour; outside R nothing changes.
  const TRect r = Rect(5, 2, 29, 22);
  const PaintCase c{
      "corner_image",
      [&](TacBitmap* bmp) { PaintItem(Index("CORNER"), "CORNER", ReadyParent(), true, 0, r, kOffset, bmp, Manager); },
      [&](int x, int y) -> std::optional<std::uint32_t> {
        if (x < r.Left || x >= r.Right || y < r.Top || y >= r.Bottom) return 0u;
        const int gx = x - r.Left, gy = y - (r.Bottom - kGlyphSize);
        if (gx < kGlyphSize && gy >= 0 && !(gx == 0 && gy == kGlyphSize - 1)) return kGlyphColor;
        return RgbOf(kCornerColor);
      }};
  auto bmp = Target();
  c.Paint(bmp.get());
  CheckCase(c, bmp.get());
}

// ------------------------------------------------------------ backgrounds

TEST_F(SectionPainter, TransparencyOverTheParent) {
  // Backgrounds alone, 8 x 6 at (0, 0), checked at every pixel.
  constexpr std::uint32_t kFill = 0x204060;  // a parent's plain colour (TColor)
  auto fillParent = [] {
    TCacheInfo ci;
    ci.FillColor = kFill;
    return ci;
  };
  auto strips = [] {
    TCacheInfo ci;
    ci.Bmp = Parent.get();
    ci.FillColor = kFill;
    ci.Borders = Rect(3, 2, 0, 0);
    return ci;
  };
  const std::uint32_t fill = RgbOf(kFill);
  auto parentAt = [](TPoint offset) {
    return [=](int x, int y) { return Rgb(ParentPixel(x + kCIX + offset.X, y + kCIY + offset.Y)); };
  };
  struct Case {
    const char* What;
    const char* Section;
    TCacheInfo CI;
    TPoint Offset;
    bool Fast;
    std::function<std::uint32_t(int x, int y)> Expected;
  } cases[] = {
      {"40 over a ready parent: the parent keeps Round(40 * 2.55) = 102", "T40", ReadyParent(), kOffset, false,
       [](int x, int y) { return Blend(Under(x, y), RgbOf(kT40Color), 102); }},
      {"50 over a ready parent: 128 (127.5 to even)", "T50", ReadyParent(), kOffset, false,
       [](int x, int y) { return Blend(Under(x, y), RgbOf(kT50Color), 128); }},
      {"50, reduced painter: 50 * 255 div 100 = 127", "T50", ReadyParent(), kOffset, true,
       [](int x, int y) { return Blend(Under(x, y), RgbOf(kT50Color), 127); }},
      {"40 over a parent colour: 40 % of it, truncated", "T40", fillParent(), kOffset, false,
       [&](int, int) { return Mix(fill, RgbOf(kT40Color), 0.4); }},
      {"40 over no background: the section's colour", "T40", EmptyCI, kOffset, false,
       [](int, int) { return RgbOf(kT40Color); }},
      {"100 over border strips where R overlaps them", "T100", strips(), TPoint{1, 1}, false,
       [&](int x, int y) { return x < 2 || y < 1 ? Rgb(ParentPixel(x + 1, y + 1)) : fill; }},
      {"100 beyond the border strips", "T100", strips(), TPoint{5, 5}, false, [&](int, int) { return fill; }},
      {"100 over a ready parent", "T100", ReadyParent(), TPoint{4, 1}, false, parentAt(TPoint{4, 1})},
  };
  for (const Case& c : cases) {
    auto bmp = Target(8, 6);
    const TRect r = Rect(0, 0, 8, 6);
    if (c.Fast)
      PaintItemBGFast(Index(c.Section), -1, -1, c.Section, c.CI, 0, r, c.Offset, bmp.get(), Manager);
    else
      PaintItemBG(Index(c.Section), c.Section, c.CI, 0, r, c.Offset, bmp.get(), Manager);
    int wrong = 0;
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 8; ++x)
        if (Rgb(At(bmp.get(), x, y)) != c.Expected(x, y) && ++wrong <= 2)
          ADD_FAILURE() << c.What << ": (" << x << ", " << y << ") is " << std::hex << Rgb(At(bmp.get(), x, y))
                        << ", expected " << c.Expected(x, y);
    EXPECT_EQ(wrong, 0) << c.What;
  }

  // A parent whose image is the target itself: a transparent section leaves it.
  auto self = Target(8, 6, 0xFF445566);
  PaintItemBG(Index("T100"), "T100", MakeCacheInfo(self.get(), 0, 0), 0, Rect(0, 0, 8, 6), TPoint{}, self.get(),
              Manager);
  EXPECT_EQ(At(self.get(), 3, 3), 0xFF445566u);
}

TEST_F(SectionPainter, NothingOutsideTheRules) {
  auto bmp = Target(8, 6, 0xFF010203);
  const TRect inside = Rect(0, 0, 8, 6);
  PaintItem(Index("PLAIN"), "PLAIN", ReadyParent(), true, 0, Rect(0, 0, 9, 6), kOffset, bmp.get(), Manager);
  PaintItem(Index("PLAIN"), "PLAIN", ReadyParent(), true, 0, Rect(-1, 0, 8, 6), kOffset, bmp.get(), Manager);
  PaintItem(Index("PLAIN"), "PLAIN", ReadyParent(), true, 0, Rect(2, 2, 2, 4), kOffset, bmp.get(), Manager);
  PaintItem(-1, "PLAIN", ReadyParent(), true, 0, inside, kOffset, bmp.get(), Manager);
  PaintItem(static_cast<Integer>(Manager->Sections.size()), "PLAIN", ReadyParent(), true, 0, inside, kOffset, bmp.get(),
            Manager);
  PaintItem(Index("PLAIN"), "PLAIN", ReadyParent(), true, 0, inside, kOffset, static_cast<TacBitmap*>(nullptr),
            Manager);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(At(bmp.get(), x, y), 0xFF010203u) << x << ", " << y;
}

TEST_F(SectionPainter, OntoADeviceContext) {
  // The section through a bitmap of its own onto R of a 24-bit bitmap's
  // context, whose state comes back unchanged.
  auto screen = NewBitmap(pf24bit, 40, 30);
  FillBitmapRect(screen.get(), Rect(0, 0, 40, 30), 0x0000FF);
  HDC dc = screen->Canvas()->Handle();
  SetViewportOrgEx(dc, 0, 0, nullptr);
  const int saved = SaveDC(dc);
  PaintItem(Index("PLAIN"), "PLAIN", ReadyParent(), true, 0, Rect(4, 3, 4 + kW, 3 + kH), kOffset, dc, Manager);
  EXPECT_EQ(SaveDC(dc), saved + 1) << "the context's state is given back";
  RestoreDC(dc, saved);
  GdiFlush();
  const std::vector<uint32_t> px = testsupport::ReadPixels(dc, 0, 0, 40, 30);
  auto at = [&](int x, int y) { return px[static_cast<size_t>(y) * 40 + x]; };
  EXPECT_EQ(at(3, 3), 0xFF0000u) << "left of R: untouched";
  EXPECT_EQ(at(4 + 16, 3 + 12), RgbOf(kPlainColor));
  EXPECT_EQ(at(4 + 0, 3 + 0), Under(0, 0)) << "the key corner shows the parent";
  EXPECT_EQ(at(4 + 2, 3 + 0), BorderPixel(0, 2, 0));
  EXPECT_EQ(at(4 + kW, 3 + kH), 0xFF0000u) << "beyond R: untouched";
}

TEST_F(SectionPainter, ASectionOverAParentContext) {
  // PaintSection over a parent device context: the bitmap takes the parent's
  // pixels from the parent offset, and a transparent section shows them.
  auto bmp = Target();
  GdiFlush();
  EXPECT_EQ(PaintSection(bmp.get(), "T100", "", 0, Manager, TPoint{3, 4}, 0, Parent->Canvas()->Handle()),
            Index("T100"));
  EXPECT_EQ(Rgb(At(bmp.get(), 16, 12)), Rgb(ParentPixel(16 + 3, 12 + 4)));
  EXPECT_EQ(Rgb(At(bmp.get(), 0, 0)), Rgb(ParentPixel(3, 4))) << "the border's key corner";
  EXPECT_EQ(PaintSection(bmp.get(), "NOSUCH", "NEITHER", 0, Manager, TPoint{}, 0, nullptr), -1);
}

TEST_F(SectionPainter, ReducedPaintersWithTheirOwnBorder) {
  // PaintItemFast draws the border image it is given; PaintSmallItem the
  // section's own border image cut in a three-by-three grid.
  const TRect r = Rect(0, 0, kW, kH);
  auto fast = Target();
  const Integer keyBorder = Manager->Sections[static_cast<size_t>(Index("PLAIN"))].BorderMask;
  PaintItemFast(Index("T50"), keyBorder, -1, -1, "T50", ReadyParent(), true, 0, r, kOffset, fast.get(), Manager);
  EXPECT_EQ(Rgb(At(fast.get(), 16, 12)), Blend(Under(16, 12), RgbOf(kT50Color), 127));
  EXPECT_EQ(Rgb(At(fast.get(), 2, 0)), BorderPixel(0, 2, 0));
  EXPECT_EQ(Rgb(At(fast.get(), 0, 0)), Under(0, 0));

  auto small = Target();
  PaintSmallItem(Index("PLAIN"), "PLAIN", ReadyParent(), true, 0, r, kOffset, small.get(), Manager);
  EXPECT_EQ(Rgb(At(small.get(), 16, 12)), RgbOf(kPlainColor));
  EXPECT_EQ(Rgb(At(small.get(), 2, 0)), BorderPixel(0, 2, 0)) << "the grid's cell is the margin here";
}

// ------------------------------------------------------------ 32-bit painting

TEST_F(SectionPainter, PlainColourWithAlpha) {
  // "T40": a plain colour of transparency 40.
  const std::uint32_t c = PixelOf(kT40Color, 0);
  auto clear = Target(8, 8, 0);
  PaintItemBG32(Index("T40"), 0, Rect(0, 0, 8, 8), clear.get(), Manager);
  EXPECT_EQ(At(clear.get(), 4, 4), c | 153u << 24) << "over transparent black: alpha (100 - 40) * 255 div 100";

  constexpr std::uint32_t kOld = 0xFF10C080;
  auto opaque = Target(8, 8, kOld);
  PaintItemBG32(Index("T40"), 0, Rect(0, 0, 8, 8), opaque.get(), Manager);
  std::uint32_t want = 0xFF000000u;
  for (int i = 0; i < 3; ++i) {
    const int old = Channel(kOld, i), col = Channel(c, i);
    want |= std::uint32_t(old - (old - col) * 60 / 100) << (8 * i);
  }
  EXPECT_EQ(At(opaque.get(), 4, 4), want) << "over opaque pixels: 60 % toward the colour, alpha 255";

  auto custom = Target(8, 8, 0);
  PaintItemBG32(Index("T100"), 0, Rect(0, 0, 8, 8), custom.get(), Manager, 0x3366CC);
  EXPECT_EQ(At(custom.get(), 4, 4), 0xFFCC6633u) << "a custom colour is opaque, whatever the look";

  auto whole = Target(8, 8, 0xFF102030), part = Target(8, 8, 0xFF102030);
  PaintItemBG32(Index("T100"), 0, Rect(0, 0, 8, 8), whole.get(), Manager);
  PaintItemBG32(Index("T100"), 0, Rect(0, 0, 4, 4), part.get(), Manager);
  EXPECT_EQ(At(whole.get(), 2, 2), 0u) << "transparency 100 over the whole bitmap: transparent black";
  EXPECT_EQ(At(part.get(), 2, 2), 0xFF102030u) << "over part of it: nothing";
}

TEST_F(SectionPainter, WholeSectionsWithAlpha) {
  // "T40" with its masked border over transparent black: premultiplied over
  // the whole bitmap, not over a part; the border's key corner keeps what the
  // bitmap held before.
  constexpr std::uint32_t kBefore = 0x40336699;
  const std::uint32_t c = PixelOf(kT40Color, 0);
  std::uint32_t premultiplied = 153u << 24;
  for (int i = 0; i < 3; ++i) premultiplied |= std::uint32_t(Channel(c, i) * 153 >> 8) << (8 * i);

  auto whole = Target(kW, kH, 0);
  PaintItem32(Index("T40"), true, 0, Rect(0, 0, kW, kH), TPoint{}, whole.get(), Manager);
  EXPECT_EQ(At(whole.get(), 16, 12), premultiplied);

  auto part = Target(kW + 4, kH + 4, 0);
  PixelsOf(part.get()).Row(3)[2] = kBefore;  // under a key pixel of the border's top-left corner
  PaintItem32(Index("T40"), true, 0, Rect(2, 2, 2 + kW, 2 + kH), TPoint{}, part.get(), Manager);
  EXPECT_EQ(At(part.get(), 2 + 16, 2 + 12), c | 153u << 24) << "not premultiplied";
  EXPECT_EQ(At(part.get(), 2, 3), kBefore) << "the key corner pixel";
  std::uint32_t border = 0xFF000000u;  // a masked piece of mask 0: S * 255 shr 8, opaque
  for (int i = 0; i < 3; ++i) border |= std::uint32_t(Channel(BorderPixel(3, 2, 0), i) * 255 >> 8) << (8 * i);
  EXPECT_EQ(At(part.get(), 2 + 2, 2), border);
  EXPECT_EQ(At(part.get(), 0, 0), 0u) << "outside R";

  auto beyond = Target(kW, kH, 0);
  PaintItem32(Index("T40"), true, 0, Rect(1, 0, kW + 1, kH), TPoint{}, beyond.get(), Manager);
  EXPECT_EQ(At(beyond.get(), 16, 12), 0u) << "a rectangle one pixel beyond the bitmap paints nothing";
}

// "TEXGRAD2" in R of both painters' bitmaps: the texture (tiled from R's
// corner) keeping 70 * 255 div 100 = 178 of 256 under the gradient's pixel
// Gradient(x, y), then 90 % of that with 10 % of the colour.
void ExpectTextureUnderGradient(TacBitmap* General, TacBitmap* Alpha, const TRect& R,
                                const std::function<std::uint32_t(int x, int y)>& Gradient) {
  const std::uint32_t col = RgbOf(kTexGrad2Color);
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x) {
      const std::uint32_t under =
          Blend(TexturePixel((x - R.Left) % kTexW, (y - R.Top) % kTexH), Gradient(x - R.Left, y - R.Top), 178);
      std::uint32_t want = 0;
      for (int i = 0; i < 3; ++i) want |= std::uint32_t(KeepShare(Channel(under, i), Channel(col, i), 90)) << (8 * i);
      ASSERT_EQ(Rgb(At(General, x, y)), want) << x << ", " << y;
      ASSERT_EQ(Rgb(At(Alpha, x, y)), want) << x << ", " << y;
    }
}

TEST_F(SectionPainter, TextureUnderGradientAlikeInBothPainters) {
  // "TEXGRAD2": texture 70 %, gradient 20 %, colour 10 %: the texture keeps
  // 70 * 255 div 100 = 178 of 256 under the gradient in both painters.
  const TRect r = Rect(0, 0, 12, 8);
  auto general = Target(12, 8), alpha = Target(12, 8);
  PaintItemBG(Index("TEXGRAD2"), "TEXGRAD2", EmptyCI, 0, r, TPoint{}, general.get(), Manager);
  PaintItemBG32(Index("TEXGRAD2"), 0, r, alpha.get(), Manager);
  const std::vector<int> ramp = Ramp(255, 0, 7);
  ExpectTextureUnderGradient(general.get(), alpha.get(), r,
                             [&](int, int y) { return std::uint32_t(ramp[y]) * 0x010101u; });
}

TEST_F(SectionPainter, AGradientWithoutDataOverATextureIsTheColourOverAllOfR) {
  // "TEXGRAD2" with its gradient text taken away (as a table changed in code
  // may have it; the loader drops the share instead): the gradient's part is
  // the section's colour, over all of R = (4, 4, 12, 12) in both painters.
  TsGenState& look = Manager->Sections[static_cast<size_t>(Index("TEXGRAD2"))].Props[0];
  const AnsiString data = look.GradientData;
  const TsGradArray array = look.GradientArray;
  look.GradientData.clear();
  look.GradientArray.clear();
  const TRect r = Rect(4, 4, 12, 12);
  auto general = Target(16, 16), alpha = Target(16, 16);
  PaintItemBG(Index("TEXGRAD2"), "TEXGRAD2", EmptyCI, 0, r, TPoint{}, general.get(), Manager);
  PaintItemBG32(Index("TEXGRAD2"), 0, r, alpha.get(), Manager);
  look.GradientData = data;
  look.GradientArray = array;
  ExpectTextureUnderGradient(general.get(), alpha.get(), r, [](int, int) { return RgbOf(kTexGrad2Color); });
}

TEST_F(SectionPainter, TexturesThatAreNotThere) {
  // "NOTEX": half its colour share for a texture it does not have: R is the
  // colour. "MASKTEX" in the hot look: its masked tiles only when the hot
  // texture argument names them.
  auto bmp = Target(8, 6);
  PaintItemBG(Index("NOTEX"), "NOTEX", EmptyCI, 0, Rect(0, 0, 8, 6), TPoint{}, bmp.get(), Manager);
  EXPECT_EQ(Rgb(At(bmp.get(), 3, 3)), RgbOf(kCornerColor));

  const Integer maskTex = Manager->Sections[static_cast<size_t>(Index("MASKTEX"))].Props[0].TextureIndex;
  ASSERT_GE(maskTex, 0);
  const std::uint32_t hot = Rgb(PixelOf(Manager->Sections[static_cast<size_t>(Index("MASKTEX"))].Props[1].Color));
  auto plain = Target(), tiled = Target();
  PaintItemBG(Index("MASKTEX"), "MASKTEX", ReadyParent(), 1, Rect(0, 0, kW, kH), kOffset, plain.get(), Manager);
  PaintItemBG(Index("MASKTEX"), "MASKTEX", ReadyParent(), 1, Rect(0, 0, kW, kH), kOffset, tiled.get(), Manager, -1,
              maskTex);
  EXPECT_EQ(Rgb(At(plain.get(), 2, 2)), hot) << "no tiles without the hot texture";
  EXPECT_EQ(Rgb(At(tiled.get(), 2, 2)), kMaskTexColor);
  EXPECT_EQ(Rgb(At(tiled.get(), 0, 0)), Blend(hot, kMaskTexColor, 255));
}

TEST_F(SectionPainter, TheDefaultManagersColourStandsForAWindowThatDoesNotAnswer) {
  ASSERT_EQ(DefaultManager, Manager);
  TForm* form = Create<TForm>(nullptr, 0);
  TacBGInfo info;
  EXPECT_FALSE(GetBGInfo(&info, form->Handle(), false));
  EXPECT_EQ(info.BgType, btFill);
  EXPECT_EQ(info.Color, static_cast<TColor>(kMainColor));
  form->Free();
}

// ------------------------------------------------------------ text

namespace text {

constexpr int kTW = 72, kTH = 28;
constexpr Cardinal kFlags = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;

// A target with a font and pixels of their own (alpha 0x40).
std::unique_ptr<TacBitmap> Target() {
  auto bmp = CreateBmp32(kTW, kTH);
  const TPixelView32 v = PixelsOf(bmp.get());
  for (int y = 0; y < kTH; ++y)
    for (int x = 0; x < kTW; ++x) v.Row(y)[x] = 0x40000000u | (ParentPixel(x, y) & 0xFFFFFF);
  bmp->Canvas()->Font()->SetName("Arial");
  bmp->Canvas()->Font()->SetHeight(-18);
  return bmp;
}

// The text as the platform draws it, black on white, in a bitmap of R's
// size with the target's font: what every pass of the writer weighs by.
struct TShades {
  int W = 0, H = 0;
  std::vector<std::uint32_t> Px;
  std::uint32_t At(int x, int y) const { return Px[static_cast<size_t>(y) * W + x]; }
  bool Touches(std::uint32_t t) const { return t != 0x00FFFFFFu && t != 0xFFFFFFFFu; }
};
TShades Shades(TacBitmap* target, const char* text, const TRect& r) {
  auto bmp = CreateBmp32(r.Width(), r.Height());
  FillRect32(bmp.get(), Rect(0, 0, r.Width(), r.Height()), 0xFFFFFF, 0);
  bmp->Canvas()->Font()->Assign(target->Canvas()->Font());
  HDC dc = bmp->Canvas()->Handle();
  SetTextColor(dc, 0);
  SetBkColor(dc, 0xFFFFFF);
  RECT rc{0, 0, r.Width(), r.Height()};
  const std::wstring wide = winapi::W(text);
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rc, kFlags);
  GdiFlush();
  TShades s{r.Width(), r.Height(), {}};
  const TPixelView32 v = PixelsOf(bmp.get());
  for (int y = 0; y < s.H; ++y)
    for (int x = 0; x < s.W; ++x) s.Px.push_back(v.Row(y)[x]);
  return s;
}

// One pass of colour C (TColor) with the shades placed at (Left, Top) over
// the pixels Img: per channel ((D - C) * t + C * 256) shr 8, alpha 255.
void Pass(std::vector<std::uint32_t>& img, const TShades& s, int left, int top, std::uint32_t color) {
  const std::uint32_t c = PixelOf(color, 0);
  for (int y = 0; y < s.H; ++y)
    for (int x = 0; x < s.W; ++x) {
      const int dx = left + x, dy = top + y;
      const std::uint32_t t = s.At(x, y);
      if (dx < 0 || dy < 0 || dx >= kTW || dy >= kTH || !s.Touches(t)) continue;
      std::uint32_t& d = img[static_cast<size_t>(dy) * kTW + dx];
      std::uint32_t out = 0xFF000000u;
      for (int i = 0; i < 3; ++i)
        out |= std::uint32_t(((Channel(d, i) - Channel(c, i)) * Channel(t, i) + Channel(c, i) * 256) >> 8) << (8 * i);
      d = out;
    }
}

std::vector<std::uint32_t> Pixels(TacBitmap* bmp) {
  std::vector<std::uint32_t> out;
  for (int y = 0; y < kTH; ++y)
    for (int x = 0; x < kTW; ++x) out.push_back(At(bmp, x, y));
  return out;
}

::testing::AssertionResult Same(const std::vector<std::uint32_t>& got, const std::vector<std::uint32_t>& want) {
  for (size_t i = 0; i < got.size(); ++i)
    if (got[i] != want[i])
      return ::testing::AssertionFailure()
             << "pixel (" << i % kTW << ", " << i / kTW << ") is " << std::hex << got[i] << ", expected " << want[i];
  return ::testing::AssertionSuccess();
}

}  // namespace text

TEST_F(SectionPainter, TextPixelsTakeTheColourByTheirShade) {
  // (The fonts here draw without smoothing: the shades in between are
  // tested natively with the pass itself, TextShadesTest.)
  const char* words = "Вес 08,5"_cpz;
  TRect r = Rect(3, 4, 70, 26);
  for (bool plain : {true, false}) {
    auto bmp = text::Target();
    const std::vector<std::uint32_t> before = text::Pixels(bmp.get());
    WriteText32(bmp.get(), words, false, r, text::kFlags, Index("TEXT"), false, Manager, plain);
    EXPECT_EQ(r, Rect(3, 4, 70, 26)) << "R is not changed";
    const text::TShades s = text::Shades(bmp.get(), words, r);
    std::vector<std::uint32_t> want = before;
    text::Pass(want, s, r.Left, r.Top, kTextColor);
    EXPECT_TRUE(text::Same(text::Pixels(bmp.get()), want)) << (plain ? "DrawText" : "acDrawText");

    // What the rule means: black takes the colour exactly, an even grey an
    // even mix, untouched pixels keep their alpha.
    int black = 0, half = 0, untouched = 0;
    for (int y = 0; y < s.H; ++y)
      for (int x = 0; x < s.W; ++x) {
        const std::uint32_t t = s.At(x, y), got = At(bmp.get(), r.Left + x, r.Top + y);
        const std::uint32_t old = before[static_cast<size_t>(r.Top + y) * text::kTW + r.Left + x];
        if ((t & 0xFFFFFF) == 0) {
          ++black;
          EXPECT_EQ(got, PixelOf(kTextColor));
        } else if ((t & 0xFFFFFF) == 0x808080) {
          ++half;
          std::uint32_t mix = 0xFF000000u;
          for (int i = 0; i < 3; ++i)
            mix |= std::uint32_t((Channel(old, i) + Channel(PixelOf(kTextColor), i)) / 2) << (8 * i);
          EXPECT_EQ(got, mix);
        } else if (!s.Touches(t)) {
          ++untouched;
          EXPECT_EQ(got, old);
        }
      }
    EXPECT_GT(black, 10);
    EXPECT_GT(untouched, 100);
    int greys = 0;
    for (std::uint32_t t : s.Px) greys += s.Touches(t) && (t & 0xFFFFFF) != 0;
    std::printf("text pixels: %d black, %d grey (%d of 128)\n", black, greys, half);
  }
}

TEST_F(SectionPainter, OutlinesFirstTheFontColourLast) {
  const char* words = "HIL 7";
  TRect r = Rect(4, 3, 68, 25);
  auto bmp = text::Target();
  const std::vector<std::uint32_t> before = text::Pixels(bmp.get());
  WriteText32(bmp.get(), words, true, r, text::kFlags, Index("TEXT"), false, Manager, true);
  const text::TShades s = text::Shades(bmp.get(), words, r);
  std::vector<std::uint32_t> want = before;
  text::Pass(want, s, r.Left - 1, r.Top, kTextLeft);
  text::Pass(want, s, r.Left, r.Top - 1, kTextTop);
  text::Pass(want, s, r.Left + 1, r.Top, kTextRight);
  text::Pass(want, s, r.Left, r.Top + 1, kTextBottom);
  text::Pass(want, s, r.Left, r.Top, kTextColor);
  const std::vector<std::uint32_t> got = text::Pixels(bmp.get());
  EXPECT_TRUE(text::Same(got, want));
  // Five passes show: each colour somewhere exactly.
  for (std::uint32_t c : {kTextLeft, kTextTop, kTextRight, kTextBottom, kTextColor})
    EXPECT_NE(std::count(got.begin(), got.end(), PixelOf(c)), 0) << std::hex << c;
  golden::Save("text_outlines", text::kTW, text::kTH, golden::Colors(bmp.get()), 4);

  // Outline colours of -1 draw nothing: the text once.
  auto with = text::Target(), without = text::Target();
  WriteText32(with.get(), words, true, r, text::kFlags, Index("TEXTNOOUT"), false, Manager, true);
  WriteText32(without.get(), words, false, r, text::kFlags, Index("TEXTNOOUT"), false, Manager, true);
  EXPECT_TRUE(text::Same(text::Pixels(with.get()), text::Pixels(without.get())));
}

TEST_F(SectionPainter, TextColoursOfTheHotLookWithoutASectionAndPartlyOutside) {
  const char* words = "Ok 12";
  struct Case {
    const char* What;
    Integer Index;
    bool Hot;
    TRect R;
    std::uint32_t Color;
  } cases[] = {
      {"hot look", Index("TEXT"), true, Rect(2, 2, 70, 26), kTextHotColor},
      {"no section: the canvas font's colour", -1, false, Rect(2, 2, 70, 26), 0x00A0FF},
      {"left of the bitmap", Index("TEXTNOOUT"), false, Rect(-4, 2, 60, 26), kPlainTextColor},
  };
  for (const Case& c : cases) {
    auto bmp = text::Target();
    bmp->Canvas()->Font()->SetColor(0x00A0FF);
    const std::vector<std::uint32_t> before = text::Pixels(bmp.get());
    TRect r = c.R;
    WriteText32(bmp.get(), words, false, r, text::kFlags, c.Index, c.Hot, Manager, true);
    std::vector<std::uint32_t> want = before;
    text::Pass(want, text::Shades(bmp.get(), words, c.R), c.R.Left, c.R.Top, c.Color);
    EXPECT_TRUE(text::Same(text::Pixels(bmp.get()), want)) << c.What;
  }
  // No text, or an empty rectangle: nothing.
  auto bmp = text::Target();
  const std::vector<std::uint32_t> before = text::Pixels(bmp.get());
  TRect r = Rect(2, 2, 70, 26), empty = Rect(10, 10, 10, 20);
  WriteText32(bmp.get(), nullptr, false, r, text::kFlags, Index("TEXT"), false, Manager, true);
  WriteText32(bmp.get(), words, false, empty, text::kFlags, Index("TEXT"), false, Manager, true);
  EXPECT_TRUE(text::Same(text::Pixels(bmp.get()), before));
}

}  // namespace
