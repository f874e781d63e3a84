// The PNG picture as a bitmap of the Windows half: loaded through the picture
// class by its file extension, drawn with its alpha and its reflection, and
// refused when broken.
#include <gtest/gtest.h>

#include <filesystem>

#include "ImageTestPaths.h"
#include "PngPixels.h"
#include "PngWriter.h"

using namespace pngtest;
namespace fs = std::filesystem;

namespace {

// A 4 x 8 picture with alpha: row y is (30y, 255 - 30y, 7) and opaque; the
// top row holds an opaque pixel, a clear one, a half-clear one and the
// transparent key (fuchsia with alpha 0).
Bytes AlphaPicture() {
  Bytes rows;
  for (int y = 0; y < 8; ++y) {
    rows += '\0';
    for (int x = 0; x < 4; ++x) {
      Bytes p{char(30 * y), char(255 - 30 * y), char(7), char(255)};
      if (y == 0 && x == 1) p[3] = 0;
      if (y == 0 && x == 2) p[3] = char(128);
      if (y == 0 && x == 3) p = Bytes("\xFF\x00\xFF\x00", 4);
      rows += p;
    }
  }
  return Png(4, 8, 8, 6, rows);
}

void Load(TPNGGraphic& png, const Bytes& bytes) {
  TMemoryStream s;
  s.WriteBuffer(bytes.data(), Integer(bytes.size()));
  s.SetPosition(0);
  png.LoadFromStream(&s);
}

// A 24-bit canvas of 12 x 24 in one colour.
constexpr TColor kGround = 0xC80000;  // blue 200
void Ground(TBitmap& canvas) {
  canvas.SetPixelFormat(pf24bit);
  canvas.SetSize(12, 24);
  canvas.Canvas()->Brush()->SetColor(kGround);
  canvas.Canvas()->FillRect(Rect(0, 0, 12, 24));
}

// 0xRRGGBB of a pixel.
std::uint32_t RGBOf(TBitmap& b, int x, int y) {
  std::uint32_t p = BitmapPixels(b).PixelBGRA(x, y);
  return p & 0xFFFFFF;
}
std::uint32_t RGB3(unsigned r, unsigned g, unsigned b) { return (r << 16) | (g << 8) | b; }
// A channel blended over the ground with weight a of 256.
unsigned Mix(unsigned s, unsigned d, unsigned a) { return (s * a + d * (256 - a)) >> 8; }
std::uint32_t OverGround(unsigned r, unsigned g, unsigned b, unsigned a) {
  return RGB3(Mix(r, 0, a), Mix(g, 0, a), Mix(b, 200, a));
}

// Notes the progress a picture reports.
class ProgressLog : public TObject {
 public:
  void Note(TObject* sender, TProgressStage stage, Byte percent, bool redraw, const TRect& r, const AnsiString& msg) {
    Entries.push_back({stage, msg});
    Last = r;
  }
  std::vector<std::pair<TProgressStage, AnsiString>> Entries;
  TRect Last;
};

}  // namespace

TEST(PngPicture, SuiteImagesLoadThroughThePictureClass) {
  EXPECT_EQ(TPNGGraphic::StaticClass(), TPicture::FileFormat("png"));
  int checked = 0;
  for (auto& entry : fs::directory_iterator(DK_PNGSUITE_DIR)) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".png" || name[0] == 'x') continue;
    SCOPED_TRACE(name);
    const AnsiString path = imagetest::Ansi(entry.path());
    EXPECT_TRUE(TPNGGraphic::CanLoad(path));
    TPicture picture;
    ASSERT_NO_THROW(picture.LoadFromFile(path));
    auto* png = dynamic_cast<TPNGGraphic*>(picture.Graphic());
    ASSERT_NE(nullptr, png);
    // The same decoder into the plain buffer.
    TPNGGraphic reader;
    TacPixelBuffer expected;
    {
      TFileStream file(path, fmOpenRead | fmShareDenyWrite);
      reader.LoadInto(&file, expected);
    }
    const TacPixelBuffer got = BitmapPixels(*png);
    ASSERT_EQ(expected.PixelFormat(), got.PixelFormat());
    ASSERT_EQ(expected.Width(), got.Width());
    ASSERT_EQ(expected.Height(), got.Height());
    EXPECT_EQ(expected.Width(), int(png->ImageProperties().Width));
    int mismatches = 0;
    for (int y = 0; y < got.Height(); ++y)
      for (int x = 0; x < got.Width(); ++x)
        if (expected.PixelBGRA(x, y) != got.PixelBGRA(x, y) && ++mismatches <= 3)
          ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << got.PixelBGRA(x, y) << " instead of "
                        << expected.PixelBGRA(x, y);
    ++checked;
  }
  EXPECT_GT(checked, 150);
}

TEST(PngPicture, CopiesKeepPixelsAndProperties) {
  TPicture picture;
  picture.LoadFromFile(imagetest::SuitePath("basn3p04.png"));  // 4-bit palette
  TPicture copy;
  copy.Assign(&picture);
  auto* a = dynamic_cast<TPNGGraphic*>(picture.Graphic());
  auto* b = dynamic_cast<TPNGGraphic*>(copy.Graphic());
  ASSERT_TRUE(a && b);
  EXPECT_EQ(pf4bit, b->PixelFormat());
  EXPECT_EQ(a->ImageProperties().ColorScheme, b->ImageProperties().ColorScheme);
  EXPECT_EQ(a->ImageProperties().BitsPerSample, b->ImageProperties().BitsPerSample);
  TacPixelBuffer pa = BitmapPixels(*a), pb = BitmapPixels(*b);
  for (int y = 0; y < pa.Height(); ++y)
    for (int x = 0; x < pa.Width(); ++x) ASSERT_EQ(pa.PixelBGRA(x, y), pb.PixelBGRA(x, y)) << x << "," << y;
}

TEST(PngPicture, DrawsWithItsAlpha) {
  TPNGGraphic png;
  Load(png, AlphaPicture());
  ASSERT_EQ(pf32bit, png.PixelFormat());
  TBitmap canvas;
  Ground(canvas);
  canvas.Canvas()->Draw(3, 2, &png);
  EXPECT_EQ(RGB3(0, 255, 7), RGBOf(canvas, 3, 2));       // opaque: the picture's colour exactly
  EXPECT_EQ(RGB3(0, 0, 200), RGBOf(canvas, 4, 2));       // clear: the ground
  EXPECT_EQ(OverGround(0, 255, 7, 128), RGBOf(canvas, 5, 2));
  EXPECT_EQ(RGB3(0, 0, 200), RGBOf(canvas, 6, 2));       // the key
  EXPECT_EQ(RGB3(210, 45, 7), RGBOf(canvas, 6, 9));      // the last row
  EXPECT_EQ(RGB3(0, 0, 200), RGBOf(canvas, 2, 2));       // beside the picture
  for (int y = 10; y < 24; ++y) EXPECT_EQ(RGB3(0, 0, 200), RGBOf(canvas, 4, y)) << y;  // no reflection
}

TEST(PngPicture, ReflectionFadesBelowThePicture) {
  TPNGGraphic png;
  Load(png, AlphaPicture());
  png.DrawReflection = true;
  TBitmap canvas;
  Ground(canvas);
  canvas.Canvas()->Draw(3, 2, &png);
  // The picture is drawn as without the reflection.
  EXPECT_EQ(RGB3(0, 255, 7), RGBOf(canvas, 3, 2));
  EXPECT_EQ(OverGround(0, 255, 7, 128), RGBOf(canvas, 5, 2));
  // Below it (8 rows high, so 3 rows of reflection): the row next to it is
  // left, then rows 6 and 5 mirrored at 84 and 37 of 256, then nothing.
  for (int x = 3; x < 7; ++x) {
    EXPECT_EQ(RGB3(0, 0, 200), RGBOf(canvas, x, 10)) << x;
    EXPECT_EQ(OverGround(180, 75, 7, 84), RGBOf(canvas, x, 11)) << x;
    EXPECT_EQ(OverGround(150, 105, 7, 37), RGBOf(canvas, x, 12)) << x;
    EXPECT_EQ(RGB3(0, 0, 200), RGBOf(canvas, x, 13)) << x;
  }
  EXPECT_EQ(RGB3(0, 0, 200), RGBOf(canvas, 7, 11));

  // Stretched to another size it is drawn without reflection.
  Ground(canvas);
  canvas.Canvas()->StretchDraw(Rect(0, 0, 8, 16), &png);
  EXPECT_EQ(RGB3(0, 255, 7), RGBOf(canvas, 1, 1));
  EXPECT_EQ(RGB3(0, 0, 200), RGBOf(canvas, 3, 0));
  EXPECT_EQ(OverGround(0, 255, 7, 128), RGBOf(canvas, 4, 1));
  EXPECT_EQ(RGB3(210, 45, 7), RGBOf(canvas, 7, 15));
  for (int y = 16; y < 24; ++y) EXPECT_EQ(RGB3(0, 0, 200), RGBOf(canvas, 2, y)) << y;
}

TEST(PngPicture, PicturesWithoutAlphaDrawAsBitmaps) {
  // Two colour pixels, the first one named transparent by tRNS.
  TPNGGraphic png;
  Load(png, Png(2, 1, 8, 2, Bytes("\0\x10\x20\x30\x40\x50\x60", 7), Chunk("tRNS", Bytes("\0\x10\0\x20\0\x30", 6))));
  ASSERT_EQ(pf24bit, png.PixelFormat());
  EXPECT_TRUE(png.Transparent());
  EXPECT_EQ(0x302010, png.TransparentColor());
  TBitmap canvas;
  Ground(canvas);
  canvas.Canvas()->Draw(1, 1, &png);
  EXPECT_EQ(RGB3(0, 0, 200), RGBOf(canvas, 1, 1));
  EXPECT_EQ(RGB3(0x40, 0x50, 0x60), RGBOf(canvas, 2, 1));
}

TEST(PngPicture, ReportsItsProgress) {
  TPNGGraphic png;
  ProgressLog log;
  png.OnProgress = TProgressEvent(&log, &ProgressLog::Note);
  Load(png, AlphaPicture());
  const std::vector<std::pair<TProgressStage, AnsiString>> expected = {
      {psStarting, "Preparing..."}, {psEnding, ""}, {psStarting, "Transfering..."}, {psEnding, ""}};
  EXPECT_EQ(expected, log.Entries);
  EXPECT_EQ(Rect(0, 8, 4, 9), log.Last);  // moved down by every row
  // A load that fails still ends its progress.
  log.Entries.clear();
  Bytes broken = AlphaPicture();
  broken[broken.find("IDAT") + 6] ^= 1;
  EXPECT_THROW(Load(png, broken), EInvalidGraphic);
  ASSERT_FALSE(log.Entries.empty());
  EXPECT_EQ(psEnding, log.Entries.back().first);
}

TEST(PngPicture, BrokenFilesLeaveThePictureEmpty) {
  const std::pair<const char*, const char*> files[] = {
      {"xcsn0g01.png", "Cannot load image. CRC error found in PNG file."},
      {"xs1n0g01.png", "Cannot load image. Invalid or unexpected PNG image format."},
      {"xd0n2c08.png", "Invalid color format in PNG file."},
  };
  for (auto& [name, message] : files) {
    TPicture picture;
    try {
      picture.LoadFromFile(imagetest::SuitePath(name));
      ADD_FAILURE() << name << " loaded";
    } catch (const EInvalidGraphic& e) {
      EXPECT_EQ(message, e.Message) << name;
    }
    EXPECT_EQ(nullptr, picture.Graphic()) << name;
    EXPECT_EQ(0, picture.Width()) << name;
  }
  // A picture that held an image holds none after a failed load.
  TPNGGraphic png;
  Load(png, AlphaPicture());
  ASSERT_FALSE(png.Empty());
  Bytes broken = AlphaPicture();
  broken[broken.find("IDAT") + 6] ^= 1;
  EXPECT_THROW(Load(png, broken), EInvalidGraphic);
  EXPECT_TRUE(png.Empty());
  EXPECT_EQ(0, png.Width());
}
