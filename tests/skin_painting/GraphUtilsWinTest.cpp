// The graphics utilities on real device contexts: fills and frames, the
// layout of a button's glyph and caption, textures on a canvas, shaped
// tints, texture files and the layered-window functions a test can record.
// Pixels are read back from 32-bit bitmaps.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>

#include "classlib/ui/ExtCtrls.h"
#include "classlib/ui/Graphics.h"
#include "skin/core/sConst.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

std::unique_ptr<TBitmap> Canvas32(int w, int h, TColor fill) {
  std::unique_ptr<TBitmap> b = CreateBmp32(w, h);
  FillDC(b->Canvas()->Handle(), Rect(0, 0, w, h), fill);
  return b;
}

// The colour of a pixel as a TColor (red in the low byte), alpha left out.
TColor ColorAt(TBitmap* b, int x, int y) {
  GdiFlush();
  const std::uint32_t p = PixelsOf(b).At(x, y);
  return static_cast<TColor>(((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16));
}

::testing::AssertionResult Shows(TBitmap* b, const std::function<TColor(int, int)>& Expected) {
  for (int y = 0; y < b->Height(); ++y)
    for (int x = 0; x < b->Width(); ++x)
      if (ColorAt(b, x, y) != Expected(x, y))
        return ::testing::AssertionFailure() << "(" << x << ", " << y << ") is " << std::hex << ColorAt(b, x, y)
                                             << ", not " << Expected(x, y);
  return ::testing::AssertionSuccess();
}

constexpr TColor kWhite = 0xFFFFFF, kRed = 0x0000FF, kBlue = 0xFF0000;

// A recorder put in front of the system's function.
int recordedCalls;
BYTE recordedAlpha;
BOOL WINAPI RecordAttributes(HWND, COLORREF, BYTE Alpha, DWORD) {
  ++recordedCalls;
  recordedAlpha = Alpha;
  return TRUE;
}

TEST(GraphUtilsWin, LayeredWindowFunctionsAreFoundAndCanBeRecorded) {
  ASSERT_TRUE(acLayered());
  ASSERT_NE(sgraphutils::SetLayeredWindowAttributes, nullptr);
  ASSERT_NE(sgraphutils::User32Lib, nullptr);
  recordedCalls = 0;
  const TacSetLayeredWindowAttributes saved = sgraphutils::SetLayeredWindowAttributes;
  sgraphutils::SetLayeredWindowAttributes = RecordAttributes;
  sgraphutils::SetLayeredWindowAttributes(nullptr, 0, 128, LWA_ALPHA);
  sgraphutils::SetLayeredWindowAttributes = saved;
  EXPECT_EQ(recordedCalls, 1);
  EXPECT_EQ(recordedAlpha, 128);
}

TEST(GraphUtilsWin, FillsKeepTheDCsState) {
  auto b = Canvas32(10, 10, kWhite);
  HDC dc = b->Canvas()->Handle();
  HGDIOBJ brush = GetCurrentObject(dc, OBJ_BRUSH);
  FillDC(dc, Rect(2, 2, 4, 4), clBtnFace);
  EXPECT_EQ(ColorAt(b.get(), 2, 3), static_cast<TColor>(GetSysColor(COLOR_BTNFACE))) << "system colours resolved";
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);

  // Widths left 1, top 2, right 3, bottom 1 inside (1, 1, 9, 9).
  auto s = Canvas32(10, 10, kWhite);
  FillDCBorder(s->Canvas()->Handle(), Rect(1, 1, 9, 9), 1, 2, 3, 1, kRed);
  EXPECT_TRUE(Shows(s.get(), [](int x, int y) {
    const bool inside = x >= 1 && x < 9 && y >= 1 && y < 9;
    const bool strip = y < 3 || x < 2 || y >= 8 || x >= 6;
    return inside && strip ? kRed : kWhite;
  }));
  auto none = Canvas32(4, 4, kWhite);
  FillDCBorder(none->Canvas()->Handle(), Rect(0, 0, 4, 4), 0, 0, 0, 0, kRed);
  EXPECT_TRUE(Shows(none.get(), [](int, int) { return kWhite; })) << "widths 0 draw nothing";
}

TEST(GraphUtilsWin, ABorderFrameCopiedAtItsOwnSides) {
  auto src = Canvas32(12, 12, kWhite);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) PixelsOf(src.get()).At(x, y) = static_cast<std::uint32_t>(x * 16 + y);
  auto dst = Canvas32(12, 12, kWhite);
  // A 6 x 5 frame of width 2 at (2, 3), from (4, 1) of the source.
  BitBltBorder(dst->Canvas()->Handle(), 2, 3, 6, 5, src->Canvas()->Handle(), 4, 1, 2);
  GdiFlush();
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool inRect = x >= 2 && x < 8 && y >= 3 && y < 8;
      const bool frame = inRect && (x < 4 || x >= 6 || y < 5 || y >= 6);
      const std::uint32_t want = frame ? static_cast<std::uint32_t>((x + 2) * 16 + (y - 2)) : 0xFFFFFFu;
      ASSERT_EQ(PixelsOf(dst.get()).At(x, y) & 0xFFFFFF, want & 0xFFFFFF) << x << "," << y;
    }
}

TEST(GraphUtilsWin, AThreeDFrameRingByRing) {
  auto b = Canvas32(10, 10, kWhite);
  TRect r = Rect(0, 0, 10, 10);
  Integer width = 2;
  DrawRectangleOnDC(b->Canvas()->Handle(), r, clRed, clBlue, width);
  EXPECT_EQ(r, Rect(2, 2, 8, 8));
  EXPECT_EQ(width, 0);
  EXPECT_TRUE(Shows(b.get(), [](int x, int y) -> TColor {
    for (int ring = 0; ring < 2; ++ring) {
      const int lo = ring, hi = 9 - ring;
      if (x < lo || y < lo || x > hi || y > hi) continue;
      if (x == hi || y == hi) return kBlue;  // the second pen, drawn last
      if (x == lo || y == lo) return kRed;
    }
    return kWhite;
  }));
}

TEST(GraphUtilsWin, ButtonLayout) {
  struct Case {
    const char* What;
    TRect Client;
    TButtonLayout Layout;
    TAlignment Alignment;
    int Margin, Spacing;
    Cardinal Flags;
    TPoint Glyph;
    TRect Text;
  } cases[] = {
      {"left, left-justified: margin 2", Rect(0, 0, 100, 30), blGlyphLeft, taLeftJustify, -1, 4, 0, {2, 7},
       Rect(22, 9, 62, 22)},
      {"left, centred", Rect(0, 0, 100, 30), blGlyphLeft, taCenter, -1, 4, 0, {20, 7}, Rect(40, 9, 80, 22)},
      {"left, right-justified", Rect(0, 0, 100, 30), blGlyphLeft, taRightJustify, -1, 4, 0, {38, 7},
       Rect(58, 9, 98, 22)},
      {"right, left-justified", Rect(0, 0, 100, 30), blGlyphRight, taLeftJustify, -1, 4, 0, {46, 7},
       Rect(2, 9, 42, 22)},
      {"left read right to left", Rect(0, 0, 100, 30), blGlyphLeft, taLeftJustify, -1, 4, DT_RIGHT, {46, 7},
       Rect(2, 9, 42, 22)},
      {"a margin given, spacing from it", Rect(0, 0, 100, 30), blGlyphLeft, taLeftJustify, 5, -1, 0, {5, 7},
       Rect(40, 9, 80, 22)},
      {"top, margin and spacing a third each", Rect(10, 20, 110, 80), blGlyphTop, taLeftJustify, -1, -1, 0, {52, 30},
       Rect(40, 56, 80, 69)},
      {"bottom", Rect(10, 20, 110, 80), blGlyphBottom, taLeftJustify, -1, -1, 0, {52, 54}, Rect(40, 31, 80, 44)},
  };
  for (const Case& c : cases) {
    TPoint glyph;
    TRect text;
    CalcButtonLayout(c.Client, TPoint{16, 16}, TPoint{40, 13}, c.Layout, c.Alignment, c.Margin, c.Spacing, glyph, text,
                     c.Flags);
    EXPECT_EQ(glyph, c.Glyph) << c.What;
    EXPECT_EQ(text, c.Text) << c.What;
  }
  // No text: no spacing either; the text width is limited to the client less the margin.
  TPoint glyph;
  TRect text;
  CalcButtonLayout(Rect(0, 0, 30, 20), TPoint{16, 16}, TPoint{0, 0}, blGlyphLeft, taLeftJustify, -1, 4, glyph, text, 0);
  EXPECT_EQ(glyph, (TPoint{2, 2}));
  EXPECT_EQ(text.Left, 18);
  CalcButtonLayout(Rect(0, 0, 50, 20), TPoint{16, 16}, TPoint{40, 13}, blGlyphLeft, taLeftJustify, -1, 4, glyph, text, 0);
  EXPECT_EQ(text, Rect(22, 4, 48, 17)) << "right = min(40, 50 - 2 - 22)";
}

TEST(GraphUtilsWin, TexturesOnACanvas) {
  auto pic = Canvas32(3, 2, kWhite);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) PixelsOf(pic.get()).At(x, y) = static_cast<std::uint32_t>(0x100000 * x + 0x40 * y + 7);
  auto expect = [&](int x, int y) { return ColorAt(pic.get(), x, y); };
  auto b = Canvas32(10, 8, kWhite);
  TileBitmap(b->Canvas(), Rect(1, 1, 8, 6), pic.get());
  EXPECT_TRUE(Shows(b.get(), [&](int x, int y) {
    return x >= 1 && x < 8 && y >= 1 && y < 6 ? expect((x - 1) % 3, (y - 1) % 2) : kWhite;
  }));

  // A skin image of the master bitmap, as a strip along the top.
  TsMaskData md;
  md.Bitmap = CreateBmp32(3, 2);
  md.Bitmap->Assign(pic.get());
  md.SrcRect = Rect(0, 0, 3, 2);
  auto strip = Canvas32(10, 8, kWhite);
  TRect r = Rect(1, 1, 8, 6);
  TileBitmap(strip->Canvas(), r, nullptr, md, fmTiledHorz);
  EXPECT_EQ(r, Rect(1, 3, 8, 6)) << "R below the row of tiles is left to the caller";
  EXPECT_TRUE(Shows(strip.get(), [&](int x, int y) {
    return x >= 1 && x < 8 && y >= 1 && y < 3 ? expect((x - 1) % 3, y - 1) : kWhite;
  }));
}

TEST(GraphUtilsWin, ShapedTints) {
  // Transparency 100: every mask value 255, each channel (c * 255 + colour) shr 8.
  auto b = Canvas32(12, 10, 0x646464);
  FadeBmp(b.get(), Rect(1, 1, 11, 9), 100, 0x0000FF, 2, 2);
  EXPECT_TRUE(Shows(b.get(), [](int x, int y) -> TColor {
    if (x < 1 || x >= 11 || y < 1 || y >= 9) return 0x646464;
    return 0x636364;  // red (100 * 255 + 255) shr 8 = 100, the others 99
  }));
  // Transparency 0, no blur: the middle takes the colour; the edge ring keeps the picture.
  auto c = Canvas32(12, 10, 0x646464);
  FadeBmp(c.get(), Rect(1, 1, 11, 9), 0, 0x0000FF, 0, 0);
  EXPECT_EQ(ColorAt(c.get(), 5, 5), kRed);
  EXPECT_EQ(ColorAt(c.get(), 0, 0), 0x646464);

  auto src = Canvas32(8, 8, 0x646464);
  auto dst = Canvas32(8, 8, kWhite);
  FadeRect(src->Canvas(), Rect(0, 0, 4, 4), dst->Canvas()->Handle(), Point(2, 2), 0, kBlue, 1, ssRectangle);
  EXPECT_EQ(ColorAt(dst.get(), 3, 3), kBlue) << "transparency 0 fills with the colour";
  FadeRect(src->Canvas(), Rect(0, 0, 4, 4), dst->Canvas()->Handle(), Point(2, 2), 100, kBlue, 1, ssEllipse);
  EXPECT_EQ(ColorAt(dst.get(), 3, 3), 0x646464) << "transparency 100 copies";
  EXPECT_EQ(ColorAt(dst.get(), 1, 1), kWhite);
}

TEST(GraphUtilsWin, TextureFiles) {
  char tmp[MAX_PATH];
  GetTempPathA(MAX_PATH, tmp);
  const AnsiString bmpFile = AnsiString(tmp) + "gutils_texture.bmp";
  {
    std::unique_ptr<TBitmap> b(Create<TBitmap>());
    b->SetSize(2, 1);
    b->Canvas()->SetPixel(0, 0, 0x0000C8);
    b->Canvas()->SetPixel(1, 0, 0x00FF00);
    b->SaveToFile(bmpFile);
  }
  std::unique_ptr<TPicture> pic(Create<TPicture>());
  LoadJpegOrBmp(pic.get(), bmpFile, true);
  ASSERT_TRUE(pic->Bitmap());
  EXPECT_EQ(pic->Bitmap()->PixelFormat(), pf32bit);
  EXPECT_EQ(ColorAt(pic->Bitmap(), 0, 0), 0x424242) << "gray: (200 + 0 + 0) div 3";
  LoadJpegOrBmp(pic.get(), bmpFile + ".missing", false);
  EXPECT_EQ(pic->Graphic(), nullptr) << "a missing file clears the picture";
  std::remove(bmpFile.c_str());
}

TEST(GraphUtilsWin, GraphicChildrenLeaveTheClip) {
  std::unique_ptr<TPanel> panel(Create<TPanel>(nullptr));
  TBevel* shown = Create<TBevel>(panel.get());
  shown->SetParent(panel.get());
  shown->SetBounds(1, 1, 3, 3);
  TBevel* hidden = Create<TBevel>(panel.get());
  hidden->SetParent(panel.get());
  hidden->SetBounds(5, 1, 3, 3);
  hidden->SetVisible(false);
  for (bool std : {false, true}) {
    StdTransparency = std;
    auto b = Canvas32(10, 6, kWhite);
    HDC dc = b->Canvas()->Handle();
    SaveDC(dc);
    ExcludeControls(dc, panel.get(), actGraphic, 1, 1);
    FillDC(dc, Rect(0, 0, 10, 6), kRed);
    RestoreDC(dc, -1);
    EXPECT_TRUE(Shows(b.get(), [&](int x, int y) {
      return !std && x >= 2 && x < 5 && y >= 2 && y < 5 ? kWhite : kRed;
    })) << "StdTransparency " << std;
  }
  StdTransparency = false;
}

}  // namespace
