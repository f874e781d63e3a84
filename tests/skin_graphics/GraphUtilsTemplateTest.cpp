// Channel copies, nine-part templates, transparent runs of bitmaps and border
// corners, and the image formats of the alpha image lists. Expected pixels
// and rectangles are worked out by hand from the rules; guard pixels stay.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "AlphaTestSupport.h"
#include "skin/core/sMaskData.h"
#include "skin/graphics/acAlphaImageList.h"
#include "skin/graphics/acPaintManager.h"

using namespace alphatest;

namespace {

// A template whose every pixel tells where it came from: x in byte 1, y in byte 0.
Bmp Coordinates(int w, int h) {
  Bmp b = CreateBmp32(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Px(b, x, y) = 0xFF000000u | (std::uint32_t(x) << 8) | std::uint32_t(y);
  return b;
}
constexpr std::uint32_t From(int x, int y) { return 0xFF000000u | (std::uint32_t(x) << 8) | std::uint32_t(y); }

// ------------------------------------------------------------ rows

TEST(Rows, InitLineGivesTheTopRowAndTheDistanceToTheNext) {
  Byte* first = nullptr;
  std::ptrdiff_t delta = 7;
  Bmp one = Filled(3, 1);
  ASSERT_TRUE(InitLine(one.get(), first, delta));
  EXPECT_EQ(delta, 0) << "a one-row bitmap";
  EXPECT_EQ(reinterpret_cast<std::uint32_t*>(first)[2], kGuard);
  Bmp two = Filled(3, 2);
  Px(two, 1, 1) = 0x01020304u;
  ASSERT_TRUE(InitLine(two.get(), first, delta));
  EXPECT_EQ(std::abs(delta), 12);
  EXPECT_EQ(reinterpret_cast<std::uint32_t*>(first + delta)[1], 0x01020304u);
  Bmp none = CreateBmp32(0, 0);
  EXPECT_FALSE(InitLine(none.get(), first, delta));
  EXPECT_FALSE(InitLine(nullptr, first, delta));
}

// ------------------------------------------------------------ channels

TEST(ChannelCopies, OneChannelOfEveryPixelCutToTheSource) {
  Bmp src = FromRows({{0x11223344, 0x55667788}});
  Bmp dst = Filled(3, 2, 0xAABBCCDD);
  CopyChannel32(dst.get(), src.get(), 2);  // red: byte 2
  EXPECT_TRUE(PixelsAre(dst, [](int x, int y) -> std::uint32_t {
    if (y == 0 && x == 0) return 0xAA22CCDD;
    if (y == 0 && x == 1) return 0xAA66CCDD;
    return 0xAABBCCDD;  // beyond the smaller source
  }));
  CopyChannel32(dst.get(), src.get(), 3);
  EXPECT_EQ(Px(dst, 1, 0), 0x5566CCDDu);
  CopyChannel32(dst.get(), src.get(), 4);  // no such channel
  EXPECT_EQ(Px(dst, 1, 0), 0x5566CCDDu);
}

TEST(ChannelCopies, RectanglesAreCutAtEveryEdgeOfBothBitmaps) {
  struct Case {
    TRect DstRect, SrcRect;
    TRect Touched;  // in the destination
  };
  const Case cases[] = {
      {Rect(1, 1, 3, 3), Rect(0, 0, 2, 2), Rect(1, 1, 3, 3)},
      {Rect(3, 3, 6, 6), Rect(0, 0, 3, 3), Rect(3, 3, 4, 4)},      // past the destination
      {Rect(-1, -1, 1, 1), Rect(0, 0, 2, 2), Rect(0, 0, 1, 1)},    // before it
      {Rect(0, 0, 4, 4), Rect(2, 2, 6, 6), Rect(0, 0, 1, 1)},      // past the source
      {Rect(1, 0, 3, 2), Rect(-1, 0, 1, 2), Rect(2, 0, 3, 2)},     // before the source
  };
  for (const Case& c : cases) {
    Bmp src = Coordinates(3, 3);
    Bmp dst = Filled(4, 4);
    CopyChannel32(dst.get(), src.get(), 1, c.DstRect, c.SrcRect);
    const int dx = c.DstRect.Left - c.SrcRect.Left;
    EXPECT_TRUE(OnlyInside(dst, c.Touched, [&](int x, int) { return (kGuard & ~0xFF00u) | std::uint32_t(x - dx) << 8; }))
        << c.DstRect.Left << "," << c.DstRect.Top;
  }
}

TEST(ChannelCopies, EightBitBitmapsTakeAndGiveAChannel) {
  Bmp wide = FromRows({{0x11223344, 0x55667788}, {0x99AABBCC, 0xDDEEFF00}});
  Bmp narrow = NewBitmap(pf8bit, 2, 2);
  CopyChannel(wide.get(), narrow.get(), 0, true);
  Byte* first;
  std::ptrdiff_t delta;
  ASSERT_TRUE(InitLine(narrow.get(), first, delta));
  EXPECT_EQ(first[0], 0x44);
  EXPECT_EQ(first[1], 0x88);
  EXPECT_EQ(first[delta + 1], 0x00);
  first[delta] = 0x5A;
  CopyChannel(wide.get(), narrow.get(), 3, false);
  EXPECT_TRUE(PixelsAre(wide, [](int x, int y) -> std::uint32_t {
    const std::uint32_t was[2][2] = {{0x11223344, 0x55667788}, {0x99AABBCC, 0xDDEEFF00}};
    const std::uint32_t alpha[2][2] = {{0x44, 0x88}, {0x5A, 0x00}};
    return (was[y][x] & 0x00FFFFFF) | (alpha[y][x] << 24);
  }));
}

// ------------------------------------------------------------ templates

TEST(Templates, CornersAreAnLOfTheMarginAndTheLineThickness) {
  Bmp src = Coordinates(30, 30);
  Bmp dst = Filled(50, 40);
  const TRect none = Rect(9, 9, 9, 9);  // side modes that draw nothing
  PaintControlByTemplate(dst.get(), src.get(), Rect(0, 0, 50, 40), Rect(0, 0, 30, 30), Rect(10, 10, 10, 10),
                         Rect(2, 2, 2, 2), none, false, false);
  // Each corner: a 10 x 2 band along its outer edge and a 2 x 8 column.
  EXPECT_TRUE(PixelsAre(dst, [](int x, int y) -> std::uint32_t {
    const bool left = x < 10, right = x >= 40, top = y < 10, bottom = y >= 30;
    const bool band = y < 2 || y >= 38, column = x < 2 || x >= 48;
    if (!((left || right) && (top || bottom)) || !(band || column)) return kGuard;
    return From(right ? x - 20 : x, bottom ? y - 10 : y);
  }));
}

TEST(Templates, SidesTileWithAShorterLastPieceOrStretch) {
  Bmp src = Coordinates(6, 6);  // margins 2: a 2 x 2 middle
  Bmp dst = Filled(11, 9);
  PaintControlByTemplate(dst.get(), src.get(), Rect(0, 0, 11, 9), Rect(0, 0, 6, 6), Rect(2, 2, 2, 2),
                         Rect(2, 2, 2, 2), Rect(0, 0, 0, 0), false, true);
  // Tiled everywhere: the middle repeats from (2, 2) in steps of 2, the
  // right and bottom parts come from the template's right and bottom.
  EXPECT_TRUE(PixelsAre(dst, [](int x, int y) {
    const int sx = x < 2 ? x : x >= 9 ? x - 5 : 2 + (x - 2) % 2;
    const int sy = y < 2 ? y : y >= 7 ? y - 3 : 2 + (y - 2) % 2;
    return From(sx, sy);
  }));

  Bmp stretched = Filled(10, 8);
  PaintControlByTemplate(stretched.get(), src.get(), Rect(0, 0, 10, 8), Rect(0, 0, 6, 6), Rect(2, 2, 2, 2),
                         Rect(2, 2, 2, 2), Rect(1, 1, 1, 1), true, true);
  // The middle 2 x 2 of the template over 6 x 4: each pixel taken once per
  // 3 columns and 2 rows.
  EXPECT_TRUE(PixelsAre(stretched, [](int x, int y) {
    const int sx = x < 2 ? x : x >= 8 ? x - 4 : 2 + (x - 2) / 3;
    const int sy = y < 2 ? y : y >= 6 ? y - 2 : 2 + (y - 2) / 2;
    return From(sx, sy);
  }));
}

TEST(Templates, WithoutTheCentreTheMiddleStaysAndThinLinesLeaveTheFrameOpen) {
  Bmp src = Coordinates(9, 9);  // margins 3, lines 1
  Bmp dst = Filled(12, 12);
  PaintControlByTemplate(dst.get(), src.get(), Rect(0, 0, 12, 12), Rect(0, 0, 9, 9), Rect(3, 3, 3, 3),
                         Rect(1, 1, 1, 1), Rect(0, 0, 0, 0), false, false);
  EXPECT_TRUE(PixelsAre(dst, [](int x, int y) -> std::uint32_t {
    const bool inLine = x == 0 || x == 11 || y == 0 || y == 11;
    if (!inLine) return kGuard;
    const int sx = x < 3 ? x : x >= 9 ? x - 3 : 3 + (x - 3) % 3;
    const int sy = y < 3 ? y : y >= 9 ? y - 3 : 3 + (y - 3) % 3;
    return From(sx, sy);
  }));
}

// ------------------------------------------------------------ runs

constexpr std::uint32_t K = 0x00FF00FF;  // key pixel
constexpr std::uint32_t P = 0xFF102030;  // picture pixel

TEST(Runs, RunsOfTheColourEndAtADifferentPixelAndAtTheRowEnd) {
  Bmp b = FromRows({{K, K, P, K}, {P, P, P, P}, {K, P, K, K}});
  TAOR runs{TRect{7, 7, 8, 8}};
  TsColor key;
  key.C = K;
  AddRgnBmp(runs, b.get(), key);
  const TAOR want{TRect{7, 7, 8, 8}, Rect(0, 0, 2, 1), Rect(3, 0, 4, 1), Rect(0, 2, 1, 3), Rect(2, 2, 4, 3)};
  EXPECT_EQ(runs, want);
  key.C = 0xFFFF00FF;  // compared as whole values: the key colour with alpha 255 is another colour
  TAOR none;
  AddRgnBmp(none, b.get(), key);
  EXPECT_TRUE(none.empty());
}

// A border image of mask kind 1: a 6 x 4 picture over its 6 x 4 mask, in
// its own bitmap, with key pixels in the picture's corners and other ones in
// the mask's.
struct MaskedBorder {
  TsSkinManager Manager;
  TsMaskData Md;
  MaskedBorder() {
    Md.Bitmap = FromRows({
        {K, K, P, P, P, K},  // picture
        {K, P, P, P, P, P},
        {P, P, P, P, P, P},
        {K, P, P, P, K, K},
        {P, P, P, P, P, K},  // mask
        {P, P, P, P, P, P},
        {P, K, K, P, P, P},
        {P, P, P, K, P, P},
    });
    Md.SrcRect = Rect(0, 0, 6, 8);
    Md.Columns = 1;
    Md.MaskKind = 1;
    Md.MarginLeft = 2;
    Md.MarginRight = 2;
    Md.MarginTop = 2;
    Md.MarginBottom = 1;
    Md.OwnerManager = &Manager;
  }
};

TEST(Runs, CornerRunsOfTheTopAndOfTheBottomOfThePictureHalf) {
  MaskedBorder border;
  TAOR top;
  AddRgn(top, 20, border.Md, 5, false);
  // Rows 0 and 1, left columns 0..1 at x 0.., right columns 4..5 at x 18..
  EXPECT_EQ(top, (TAOR{Rect(0, 5, 2, 6), Rect(0, 6, 1, 7), Rect(19, 5, 20, 6)}));
  TAOR bottom;
  AddRgn(bottom, 20, border.Md, 0, true);
  // The last row of the picture (row 3), not of the mask.
  EXPECT_EQ(bottom, (TAOR{Rect(0, 0, 1, 1), Rect(18, 0, 20, 1)}));
}

TEST(Runs, CornersWiderThanTheImageAndMissingOwnersCollectNothingOutside) {
  MaskedBorder border;
  border.Md.MarginLeft = 9;  // past the bitmap's columns
  TAOR runs;
  AddRgn(runs, 20, border.Md, 0, false);
  // Row 0 ends at the image's last column (read on, row 1's key pixel would
  // have widened the run).
  EXPECT_EQ(runs, (TAOR{Rect(0, 0, 2, 1), Rect(5, 0, 6, 1), Rect(0, 1, 1, 2), Rect(19, 0, 20, 1)}));
  border.Md.MarginBottom = 5;  // more rows than the bitmap has
  TAOR none;
  AddRgn(none, 20, border.Md, 0, true);
  EXPECT_TRUE(none.empty());
  border.Md.OwnerManager = nullptr;
  AddRgn(none, 20, border.Md, 0, false);
  EXPECT_TRUE(none.empty());
}

// ------------------------------------------------------------ image formats

class ImageFormats : public ::testing::Test {
 protected:
  std::filesystem::path Dir = std::filesystem::temp_directory_path() /
                              ("imgformat_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                               std::to_string(reinterpret_cast<std::uintptr_t>(this)));
  void SetUp() override { std::filesystem::create_directories(Dir); }
  void TearDown() override { std::filesystem::remove_all(Dir); }
  AnsiString Write(const std::string& name, const std::string& bytes) {
    const auto path = Dir / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
};

TEST_F(ImageFormats, FirstBytesAndTheIconExtension) {
  const std::string png("\x89PNG\r\n\x1a\n", 8);
  struct Case {
    const char* Name;
    std::string Bytes;
    bool Known;
    TsImageFormat Format;
  };
  const Case cases[] = {
      {"a.png", png + "x", true, ifPNG},
      {"exact.png", png, false, ifPNG},  // a file must be longer than the bytes tested
      {"b.ICO", std::string("\0\0\1\0", 4), true, ifICO},
      {"c.cur", std::string("\0\0\2\0", 4), false, ifPNG},
      {"d.dat", std::string("\0\0\1\0", 4), false, ifPNG},
      {"e.bmp", "BMxx", true, ifBMP32},
      {"f.png", "BMxx", true, ifBMP32},  // the bytes decide, not the name
      {"g.bmp", "BM", false, ifPNG},
      {"h.txt", "hello", false, ifPNG},
  };
  for (const Case& c : cases) {
    TsImageFormat format = ifICO;
    const bool known = GetImageFormat(Write(c.Name, c.Bytes), format);
    EXPECT_EQ(known, c.Known) << c.Name;
    if (c.Known) { EXPECT_EQ(format, c.Format) << c.Name; }
  }
  TsImageFormat format;
  EXPECT_FALSE(GetImageFormat((Dir / "missing.png").string(), format));
}

}  // namespace
