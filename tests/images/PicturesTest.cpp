// JPEG textures through the OLE picture loader, and icons made from bitmaps.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "ImageTestPaths.h"
#include "skin/graphics/acPNGIcons.h"
#include "skin/graphics/acTinyJPG.h"

namespace {

class Pictures : public ::testing::Test {
 protected:
  void SetUp() override { CoInitialize(nullptr); }
  void TearDown() override { CoUninitialize(); }
};

// The mask of an icon as one flag per pixel: true where white (transparent).
std::vector<bool> IconMask(HICON icon, int w, int h) {
  ICONINFO ii{};
  EXPECT_TRUE(GetIconInfo(icon, &ii));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(size_t(w) * h);
  HDC dc = GetDC(nullptr);
  EXPECT_EQ(h, GetDIBits(dc, ii.hbmMask, 0, h, pixels.data(), &info, DIB_RGB_COLORS));
  ReleaseDC(nullptr, dc);
  DeleteObject(ii.hbmMask);
  if (ii.hbmColor) DeleteObject(ii.hbmColor);
  std::vector<bool> white;
  for (auto p : pixels) white.push_back((p & 0xFFFFFF) == 0xFFFFFF);
  return white;
}

void Put(TacPixelBuffer& bmp, int x, int y, std::uint32_t value) {
  std::memcpy(bmp.ScanLine(y) + 4 * x, &value, 4);
}

}  // namespace

TEST_F(Pictures, JpegTextureLoads) {
  TacTinyJPGImage jpg;
  jpg.LoadFromFile(imagetest::FixturePath("texture.jpg"));
  ASSERT_FALSE(jpg.Empty());
  EXPECT_EQ(32, jpg.Width());
  EXPECT_EQ(16, jpg.Height());
  TacPixelBuffer pixels;
  jpg.Draw(pixels);
  ASSERT_EQ(pf24bit, pixels.PixelFormat());
  // Block centres: the colours the texture was made of (JPEG rounding aside).
  const std::uint32_t colours[8][3] = {{200, 40, 40},    {40, 200, 40}, {40, 40, 200}, {230, 230, 230},
                                       {20, 20, 20},     {250, 200, 0}, {0, 200, 250}, {128, 128, 128}};
  for (int i = 0; i < 8; ++i) {
    std::uint32_t p = pixels.PixelBGRA(8 * (i % 4) + 4, 8 * (i / 4) + 4);
    EXPECT_NEAR(colours[i][0], (p >> 16) & 0xFF, 6) << i;
    EXPECT_NEAR(colours[i][1], (p >> 8) & 0xFF, 6) << i;
    EXPECT_NEAR(colours[i][2], p & 0xFF, 6) << i;
  }
}

TEST_F(Pictures, JpegStreamIsReadFromItsStart) {
  std::ifstream f(std::string(DK_IMAGE_FIXTURES) + "/texture.jpg", std::ios::binary);
  std::string jpeg((std::istreambuf_iterator<char>(f)), {});
  ASSERT_FALSE(jpeg.empty());
  TMemoryStream atStart;
  atStart.WriteBuffer(jpeg.data(), Integer(jpeg.size()));
  atStart.SetPosition(50);  // the position is not where the picture starts
  TacTinyJPGImage jpg;
  jpg.LoadFromStream(&atStart);
  EXPECT_EQ(32, jpg.Width());
  // A picture further into a stream cannot be loaded.
  TMemoryStream later;
  later.WriteBuffer(std::string(100, '\0').data(), 100);
  later.WriteBuffer(jpeg.data(), Integer(jpeg.size()));
  later.SetPosition(100);
  EXPECT_THROW(jpg.LoadFromStream(&later), EInvalidGraphic);
  EXPECT_TRUE(jpg.Empty());
}

TEST_F(Pictures, Icon32MasksThePixelsOfTheTopLeftValue) {
  TacPixelBuffer bmp;
  bmp.Setup(pf32bit, 4, 2);
  Put(bmp, 0, 0, 0x00000000);  // the key: black, alpha 0
  Put(bmp, 1, 0, 0xFF000000);  // opaque black
  Put(bmp, 2, 0, 0x00000000);
  Put(bmp, 3, 0, 0x80102030);
  Put(bmp, 0, 1, 0xFFFFFFFF);
  Put(bmp, 1, 1, 0x00000000);
  Put(bmp, 2, 1, 0x00000001);
  Put(bmp, 3, 1, 0xFF00FF00);
  HICON icon = MakeIcon32(bmp, true);
  ASSERT_NE(nullptr, icon);
  std::vector<bool> mask = IconMask(icon, 4, 2);
  const bool expected[8] = {true, false, true, false, false, true, false, false};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(expected[i], mask[i]) << i;
  DestroyIcon(icon);
}

TEST_F(Pictures, CompIconOfA24BitBitmapMasksFuchsia) {
  TacPixelBuffer bmp;
  bmp.Setup(pf24bit, 3, 2);
  const std::uint32_t colours[6] = {0xFF00FF, 0x000000, 0xFF00FE, 0xFFFFFF, 0xFF00FF, 0x00FF00};
  for (int i = 0; i < 6; ++i) {
    Byte* p = bmp.ScanLine(i / 3) + 3 * (i % 3);
    p[0] = Byte(colours[i]);
    p[1] = Byte(colours[i] >> 8);
    p[2] = Byte(colours[i] >> 16);
  }
  HICON icon = MakeCompIcon(bmp, 0x123456);
  ASSERT_NE(nullptr, icon);
  EXPECT_EQ(pf32bit, bmp.PixelFormat());
  std::vector<bool> mask = IconMask(icon, 3, 2);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(colours[i] == 0xFF00FF, bool(mask[i])) << i;
  DestroyIcon(icon);
}
