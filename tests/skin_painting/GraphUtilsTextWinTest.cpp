// Text of the graphics utilities on real device contexts: shortened text,
// plain and embossed text, text in a skin section's colours (outlines first,
// the font colour last, disabled text mixed with the section colour), sizes,
// the dotted frame and the glow around text with its kept mask.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "classlib/core/Cp1251.h"
#include "classlib/ui/Graphics.h"
#include "skin/core/sSkinManager.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

constexpr TColor kWhite = 0xFFFFFF;

std::unique_ptr<TBitmap> Canvas32(int w, int h, TColor fill = kWhite) {
  std::unique_ptr<TBitmap> b = CreateBmp32(w, h);
  FillDC(b->Canvas()->Handle(), Rect(0, 0, w, h), fill);
  b->Canvas()->Font()->SetName("Tahoma");
  b->Canvas()->Font()->SetHeight(-16);
  b->Canvas()->Font()->SetColor(0);
  return b;
}

TColor ColorAt(TBitmap* b, int x, int y) {
  GdiFlush();
  const std::uint32_t p = PixelsOf(b).At(x, y);
  return static_cast<TColor>(((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16));
}

int Count(TBitmap* b, const std::function<bool(int, int)>& Where) {
  int n = 0;
  for (int y = 0; y < b->Height(); ++y)
    for (int x = 0; x < b->Width(); ++x)
      if (Where(x, y)) ++n;
  return n;
}

TEST(GraphUtilsText, CutTextShortensWithDots) {
  auto b = Canvas32(10, 10);
  TCanvas* c = b->Canvas();
  const AnsiString text = "Дорнека-ХБВ"_cp;
  EXPECT_EQ(CutText(c, text, 0), "");
  EXPECT_EQ(CutText(c, text, c->TextWidth(text)), text) << "a text that fits";
  EXPECT_EQ(CutText(c, text, c->TextWidth("Д..."_cp) - 1), "") << "not even one character fits with the dots";
  const int max = c->TextWidth("Дорн..."_cp);
  const AnsiString cut = CutText(c, text, max);
  EXPECT_EQ(cut, "Дорн..."_cp);
}

TEST(GraphUtilsText, WriteTextFitsTheRectangleAndEmbosses) {
  auto b = Canvas32(80, 30);
  TCanvas* c = b->Canvas();
  const TSize t = c->TextExtent("Ок"_cp);
  TRect r = Rect(10, 5, 70, 25);
  WriteText(c, "Ок"_cpz, true, r, DT_CENTER);
  const int dx = (t.cx - 60) / 2, dy = (t.cy - 20) / 2;
  EXPECT_EQ(r, Rect(10 - dx - 1, 5 - dy - 1, 70 + dx + 1, 25 + dy + 1)) << "fitted, then grown by one";
  EXPECT_GT(Count(b.get(), [&](int x, int y) { return ColorAt(b.get(), x, y) == 0; }), 0);

  auto d = Canvas32(80, 30);
  TRect rd = Rect(10, 5, 70, 25);
  WriteText(d->Canvas(), "Ок"_cpz, false, rd, DT_CENTER);
  const TColor shadow = ColorToRGB(clBtnShadow), light = ColorToRGB(clBtnHighlight);
  EXPECT_GT(Count(d.get(), [&](int x, int y) { return ColorAt(d.get(), x, y) == shadow; }), 0);
  EXPECT_EQ(d->Canvas()->Font()->Color(), clBtnShadow) << "the font keeps the last colour";
  if (light != kWhite) {
    EXPECT_GT(Count(d.get(), [&](int x, int y) { return ColorAt(d.get(), x, y) == light; }), 0);
  }

  TRect wrap = Rect(0, 0, 40, 30);
  WriteText(d->Canvas(), "Ок"_cpz, true, wrap, DT_WORDBREAK);
  EXPECT_EQ(wrap, Rect(0, 0, 40, 30)) << "word-wrapped text keeps the rectangle";
}

TEST(GraphUtilsText, WriteTextOnDCInTheDCsColour) {
  auto b = Canvas32(80, 30);
  HDC dc = b->Canvas()->Handle();
  SelectObject(dc, b->Canvas()->Font()->Handle());
  SetTextColor(dc, 0x008000);
  TSize t;
  ASSERT_TRUE(acGetTextExtent(dc, "Ок"_cp, t));
  // Right-aligned: the left side moves by the rectangle's width less the text's.
  TRect r = Rect(10, 5, 70, 25);
  WriteTextOnDC(dc, "Ок"_cpz, false, r, DT_RIGHT);
  const int dy = (t.cy - 20) / 2;
  EXPECT_EQ(r, Rect(10 + 60 - t.cx - 1, 5 - dy - 1, 71, 25 + dy + 1));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  EXPECT_GT(Count(b.get(), [&](int x, int y) { return ColorAt(b.get(), x, y) == 0x008000; }), 10);
}

// A manager with one section whose colours the test sets.
struct Skin {
  std::unique_ptr<TsSkinManager> Manager{Create<TsSkinManager>(nullptr)};
  TsGeneralData& Section() { return Manager->Sections[0]; }
  Skin() { Manager->Sections.resize(1); }
};

TEST(GraphUtilsText, SkinColoursOutlinesFirstTheFontColourLast) {
  Skin skin;
  TsFontColor& normal = skin.Section().Props[0].FontColor;
  normal.Color = 0x000080;
  const TRect r = Rect(10, 5, 70, 30);
  auto plain = Canvas32(80, 35);
  TRect rp = r;
  WriteTextEx(plain->Canvas(), "Ш"_cpz, true, rp, DT_CENTER, 0, false, skin.Manager.get());
  EXPECT_EQ(rp, r) << "R is not changed";
  auto main = [&](int x, int y) { return ColorAt(plain.get(), x, y) == 0x000080; };
  ASSERT_GT(Count(plain.get(), main), 10);

  // Each outline alone: the text's pixels one step away in its colour.
  const struct {
    TColor TsFontColor::*Side;
    int DX, DY;
  } sides[4] = {{&TsFontColor::Left, -1, 0}, {&TsFontColor::Top, 0, -1}, {&TsFontColor::Right, 1, 0},
                {&TsFontColor::Bottom, 0, 1}};
  for (const auto& s : sides) {
    normal.Left = normal.Top = normal.Right = normal.Bottom = -1;
    normal.*s.Side = 0x00C000;
    auto b = Canvas32(80, 35);
    TRect rb = r;
    WriteTextEx(b->Canvas(), "Ш"_cpz, true, rb, DT_CENTER, 0, false, skin.Manager.get());
    int outlined = 0;
    for (int y = 1; y < 34; ++y)
      for (int x = 1; x < 79; ++x) {
        if (main(x, y)) {
          ASSERT_EQ(ColorAt(b.get(), x, y), 0x000080) << "the font colour is drawn last";
        } else if (main(x - s.DX, y - s.DY) && ColorAt(plain.get(), x, y) == kWhite) {
          ASSERT_EQ(ColorAt(b.get(), x, y), 0x00C000) << x << "," << y << " side " << s.DX << s.DY;
          ++outlined;
        }
      }
    EXPECT_GT(outlined, 0);
  }
  // The hot look has its own colours.
  skin.Section().Props[1].FontColor.Color = 0xC00000;
  auto hot = Canvas32(80, 35);
  TRect rh = r;
  WriteTextEx(hot->Canvas(), "Ш"_cpz, true, rh, DT_CENTER, 0, true, skin.Manager.get());
  EXPECT_GT(Count(hot.get(), [&](int x, int y) { return ColorAt(hot.get(), x, y) == 0xC00000; }), 10);
}

TEST(GraphUtilsText, DisabledSkinTextMixesTheFontColourWithTheSectionColour) {
  Skin skin;
  skin.Section().Props[0].FontColor.Color = 0;
  skin.Section().Props[0].Color = 0x0000FA;
  auto b = Canvas32(80, 35);
  TRect r = Rect(10, 5, 70, 30);
  WriteTextEx(b->Canvas(), "Ш"_cpz, false, r, DT_CENTER, 0, false, skin.Manager.get());
  // MixColors(0, red 250, 0.4): red Trunc(0.6 * 250) = 150.
  EXPECT_EQ(b->Canvas()->Font()->Color(), 0x000096);
  EXPECT_GT(Count(b.get(), [&](int x, int y) { return ColorAt(b.get(), x, y) == 0x000096; }), 10);
  EXPECT_EQ(Count(b.get(), [&](int x, int y) { return ColorAt(b.get(), x, y) == 0; }), 0);

  // An invalid section: the canvas's own font colour.
  auto own = Canvas32(80, 35);
  own->Canvas()->Font()->SetColor(0x008000);
  TRect ro = Rect(10, 5, 70, 30);
  WriteTextEx(own->Canvas(), "Ш"_cpz, true, ro, DT_CENTER, 5, false, skin.Manager.get());
  EXPECT_GT(Count(own.get(), [&](int x, int y) { return ColorAt(own.get(), x, y) == 0x008000; }), 10);
}

TEST(GraphUtilsText, Sizes) {
  std::unique_ptr<TFont> font(Create<TFont>());
  font->SetName("Tahoma");
  font->SetHeight(-13);
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, font->Handle());
  TEXTMETRICW tm{};
  GetTextMetricsW(screen, &tm);
  SIZE line{};
  GetTextExtentPoint32W(screen, L"два слова", 9, &line);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(GetFontHeight(font->Handle()), tm.tmHeight + 6);
  EXPECT_EQ(GetStringSize(font->Handle(), "два слова"_cp), (TSize{line.cx, line.cy}));
  const TSize wrapped = GetStringSize(font->Handle(), "два слова"_cp, DT_WORDBREAK, true, line.cx / 2 + 4);
  EXPECT_EQ(wrapped.cy, 2 * line.cy) << "two lines within half the width";
}

TEST(GraphUtilsText, TheDottedFrame) {
  auto b = Canvas32(9, 7);
  const TColor a = 0x0000FF, z = 0xFF0000;
  FocusRect(b->Canvas(), Rect(1, 1, 7, 5), a, z);
  // Width 6, height 4: pixels from the far end pairwise, second colour on even steps.
  const struct {
    int X, Y;
    TColor Color;
  } pixels[] = {{7, 1, z}, {6, 1, a}, {3, 1, z}, {2, 1, a}, {1, 1, kWhite}, {7, 4, z}, {2, 4, a},
                {1, 5, z}, {1, 4, a}, {1, 3, z}, {1, 2, a}, {6, 5, z}, {6, 2, a}, {4, 3, kWhite}};
  for (const auto& p : pixels) EXPECT_EQ(ColorAt(b.get(), p.X, p.Y), p.Color) << p.X << "," << p.Y;
  auto none = Canvas32(4, 4);
  FocusRect(none->Canvas(), Rect(0, 0, 4, 4), clNoColor, clNoColor);
  EXPECT_EQ(Count(none.get(), [&](int x, int y) { return ColorAt(none.get(), x, y) != kWhite; }), 0);
}

// ------------------------------------------------------------ glow

struct GlowCase {
  std::unique_ptr<TBitmap> Bmp = Canvas32(60, 30, 0);
  GlowCase() { FillPixels(PixelsOf(Bmp.get()), 0); }
};

TEST(GraphUtilsGlow, AroundTheTextInsideItsMargin) {
  GlowCase g;
  TacGlowMask mask;
  acDrawGlowForText(g.Bmp.get(), "Ж"_cpz, Rect(20, 8, 40, 24), DT_CENTER, 15, 2, 0x0000FF, mask);
  ASSERT_TRUE(mask.Bmp);
  EXPECT_EQ(BitmapWidth(mask.Bmp.get()), 20 + 2 * 6);
  EXPECT_EQ(BitmapHeight(mask.Bmp.get()), 16 + 2 * 6);
  const TPixelView32 v = PixelsOf(g.Bmp.get());
  // The mask reaches from (21 - 6, 9 - 6) to (41 + 6, 25 + 6): nothing outside it.
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x)
      if (x < 15 || x >= 47 || y < 3) { ASSERT_EQ(v.At(x, y), 0u) << x << "," << y; }
  int glowing = 0;
  for (int y = 3; y < 30; ++y)
    for (int x = 15; x < 47; ++x) {
      const std::uint32_t p = v.At(x, y);
      if (p == 0) continue;
      ++glowing;
      ASSERT_EQ(p & 0x0000FFFFu, 0u) << "only red and alpha";
      ASSERT_GE(p >> 24, (p >> 16) & 0xFF) << "the colour goes with the alpha";
    }
  EXPECT_GT(glowing, 20);
}

TEST(GraphUtilsGlow, TheMaskIsKeptOnlyForTheSameTextFontAndFlags) {
  GlowCase first;
  TacGlowMask mask;
  acDrawGlowForText(first.Bmp.get(), "Ж"_cpz, Rect(20, 8, 40, 24), DT_CENTER, 15, 2, 0x0000FF, mask);
  TacBitmap* kept = mask.Bmp.get();
  GlowCase again;
  acDrawGlowForText(again.Bmp.get(), "Ж"_cpz, Rect(20, 8, 40, 24), DT_CENTER, 15, 2, 0x0000FF, mask);
  EXPECT_EQ(mask.Bmp.get(), kept) << "the same text again: the mask is reused";

  // Another text of the same size shows its own glow, as with a new mask.
  GlowCase changed, fresh;
  acDrawGlowForText(changed.Bmp.get(), "I", Rect(20, 8, 40, 24), DT_CENTER, 15, 2, 0x0000FF, mask);
  TacGlowMask own;
  acDrawGlowForText(fresh.Bmp.get(), "I", Rect(20, 8, 40, 24), DT_CENTER, 15, 2, 0x0000FF, own);
  const TPixelView32 a = PixelsOf(changed.Bmp.get()), b = PixelsOf(fresh.Bmp.get()), f = PixelsOf(first.Bmp.get());
  bool differs = false;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) {
      ASSERT_EQ(a.At(x, y), b.At(x, y)) << x << "," << y;
      differs |= a.At(x, y) != f.At(x, y);
    }
  EXPECT_TRUE(differs) << "the glow of \"I\" is not that of \"Ж\"";

  // Another font or other flags: drawn anew as well.
  GlowCase bold;
  bold.Bmp->Canvas()->Font()->SetStyle(TFontStyles{fsBold});
  TacBitmap* before = mask.Bmp.get();
  acDrawGlowForText(bold.Bmp.get(), "I", Rect(20, 8, 40, 24), DT_CENTER, 15, 2, 0x0000FF, mask);
  EXPECT_NE(mask.Font, own.Font);
  acDrawGlowForText(bold.Bmp.get(), "I", Rect(20, 8, 40, 24), DT_LEFT, 15, 2, 0x0000FF, mask);
  EXPECT_EQ(mask.Flags, Cardinal(DT_LEFT));
  (void)before;
}

}  // namespace
