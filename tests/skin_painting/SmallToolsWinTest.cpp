// Small drawing tools under Wine: arrows, turned fonts, a list's image in a
// bitmap and the region of a bitmap, read back pixel by pixel.
#include <gtest/gtest.h>

// The class library's headers go before any that includes the platform's.
#include "../skin_graphics/AlphaTestSupport.h"
#include "classlib/ui/ImgList.h"

using namespace alphatest;

namespace {

TEST(Rows, RowsOfAWindowsBitmapRunBottomUp) {
  Bmp b = Filled(5, 3);
  Byte* first = nullptr;
  std::ptrdiff_t delta = 0;
  ASSERT_TRUE(InitLine(b.get(), first, delta));
  EXPECT_EQ(delta, -20);
  EXPECT_EQ(first, b->ScanLine(0));
}

TEST(Arrows, FourLinesPointingToTheirSide) {
  struct Case {
    TacSide Side;
    bool Rows;
    int Lines[4];  // the line's position, longest first
    int Start;     // the longest line's first pixel
    int Length;    // of the longest line
  };
  // 16 x 16 at (0, 0): x0 = 4, y0 = 5 across; x0 = 6, y0 = 5 down.
  const Case cases[] = {{asTop, true, {8, 7, 6, 5}, 4, 8},
                        {asBottom, true, {5, 6, 7, 8}, 4, 8},
                        {asLeft, false, {9, 8, 7, 6}, 5, 7},
                        {asRight, false, {6, 7, 8, 9}, 5, 7}};
  for (const Case& c : cases) {
    Bmp b = Filled(16, 16, 0);
    DrawColorArrow(b->Canvas(), clRed, Rect(0, 0, 16, 16), c.Side);
    EXPECT_TRUE(PixelsAre(b, [&](int x, int y) -> std::uint32_t {
      const int along = c.Rows ? x : y, across = c.Rows ? y : x;
      for (int i = 0; i < 4; ++i)
        if (across == c.Lines[i] && along >= c.Start + i && along < c.Start + c.Length - i) return 0x00FF0000;
      return 0;
    })) << c.Side;
  }
}

TEST(Fonts, AnAngledFontIsSelectedWithTheFontsColour) {
  Bmp b = Filled(4, 4);
  HDC dc = b->Canvas()->Handle();
  HGDIOBJ before = GetCurrentObject(dc, OBJ_FONT);
  TFont font;
  font.SetName("MS Sans Serif");
  font.SetHeight(-12);
  font.SetStyle(TFontStyles{fsBold, fsItalic});
  font.SetColor(clBlue);
  HFONT old = MakeAngledFont(dc, &font, 900);
  EXPECT_EQ(old, before);
  LOGFONTW lf{};
  GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof lf, &lf);
  EXPECT_EQ(lf.lfEscapement, 900);
  EXPECT_EQ(lf.lfOrientation, 900);
  EXPECT_EQ(lf.lfHeight, -12);
  EXPECT_EQ(lf.lfWeight, 700);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_EQ(std::wstring(lf.lfFaceName), L"Arial");
  EXPECT_EQ(GetTextColor(dc), static_cast<COLORREF>(clBlue));
  SelectObject(dc, old);
}

TEST(ListImages, CopyImageTakesTheListsSizeAndBackground) {
  auto* list = Create<TImageList>(nullptr);
  list->SetWidth(6);
  list->SetHeight(5);
  Bmp image = Filled(6, 5, Bgra(0, 0, 255, 0));  // red: the masked colour
  for (int y = 0; y < 5; ++y) Px(image, 0, y) = Bgra(0, 255, 0, 0);
  ASSERT_EQ(list->AddMasked(image.get(), static_cast<TColor>(0x0000FF)), 0);
  TBitmap out;
  CopyImage(&out, list, 0);
  EXPECT_EQ(out.Width(), 6);
  EXPECT_EQ(out.Height(), 5);
  EXPECT_EQ(out.Canvas()->Pixel(0, 2), clLime);
  EXPECT_EQ(out.Canvas()->Pixel(3, 2), clFuchsia) << "no background colour: fuchsia";
  list->SetBkColor(clSilver);
  CopyImage(&out, list, 0);
  EXPECT_EQ(out.Canvas()->Pixel(3, 2), clSilver);
  list->Free();
}

constexpr std::uint32_t K = 0x00FF00FF;  // key pixel

TEST(BitmapRegions, ABitmapWithoutTheColourIsItsWholeRectangle) {
  Bmp plain = Filled(5, 4, Grey(7, 255));
  TsColor key;
  key.C = K;
  HRGN rgn = nullptr;
  GetRgnFromBmp(rgn, plain.get(), key);
  ASSERT_NE(rgn, nullptr);
  HRGN whole = CreateRectRgn(0, 0, 5, 4);
  EXPECT_TRUE(EqualRgn(rgn, whole));
  DeleteObject(rgn);

  Bmp holes = FromRows({{K, K, Grey(1, 255)}, {Grey(1, 255), K, Grey(1, 255)}});
  GetRgnFromBmp(rgn, holes.get(), key);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(PtInRegion(rgn, x, y) != FALSE, Px(holes, x, y) != K) << x << "," << y;
  DeleteObject(rgn);
  DeleteObject(whole);
}

}  // namespace
