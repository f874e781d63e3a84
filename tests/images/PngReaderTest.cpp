// The PNG reader on small made-up images and on the corrupt files of the PNG
// suite: what it draws, and the error each fault gives.
#include <gtest/gtest.h>

#include <cstring>

#include "ImageTestPaths.h"
#include "PngPixels.h"
#include "PngWriter.h"
#include "skin/graphics/acPNG.h"

using namespace pngtest;

namespace {

const char* const kInvalid = "Cannot load image. Invalid or unexpected PNG image format.";
const char* const kCRC = "Cannot load image. CRC error found in PNG file.";
const char* const kPalette = "Cannot load image. Palette in PNG file is invalid.";
const char* const kCritical = "Cannot load PNG image. Unexpected but critical chunk detected.";
const char* const kColor = "Invalid color format in PNG file.";
const char* const kCompression = "Cannot load image. Compression error found in PNG file.";
const char* const kExtra = "Cannot load image. Extra compressed data found in PNG file.";

void Load(TPNGGraphic& png, const Bytes& bytes) {
  TMemoryStream s;
  s.WriteBuffer(bytes.data(), Integer(bytes.size()));
  s.SetPosition(0);
  png.LoadFromStream(&s);
}

// The message of the error a load raises ("" when it loads).
std::string LoadError(const Bytes& bytes) {
  TPNGGraphic png;
  try {
    Load(png, bytes);
  } catch (const Exception& e) {
    EXPECT_TRUE(png.Empty());
    return e.Message;
  }
  return "";
}

// Scanlines of filter type 0 from the bytes of each row.
Bytes Rows(std::initializer_list<Bytes> rows) {
  Bytes s;
  for (auto& r : rows) s += '\0' + r;
  return s;
}

const Bytes kGreyRows = Rows({Bytes("\x10\x20\x30", 3), Bytes("\x40\x50\x60", 3)});
Bytes Grey3x2(const Bytes& before = Bytes()) { return Png(3, 2, 8, 0, kGreyRows, before); }

// Flips one bit in the data of the first chunk of a type.
Bytes Flip(Bytes png, const std::string& type) {
  size_t at = png.find(type);
  png[at + 4] ^= 0x01;
  return png;
}

std::uint32_t BGRA(std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a = 255) {
  return b | (g << 8) | (r << 16) | (a << 24);
}

}  // namespace

TEST(PngReader, DrawsEachColourType) {
  TPNGGraphic png;
  Load(png, Grey3x2());
  EXPECT_EQ(pf8bit, png.PixelFormat());
  EXPECT_EQ(3, png.Width());
  EXPECT_EQ(BGRA(0x50, 0x50, 0x50), Pixels(png).PixelBGRA(1, 1));

  // 16-bit colour: 24-bit pixels, each sample v * 255 div 65535.
  Load(png, Png(1, 1, 16, 2, Rows({Bytes("\xFF\xFF\x12\x34\x80\x00", 6)})));
  EXPECT_EQ(pf24bit, png.PixelFormat());
  EXPECT_EQ(BGRA(255, 0x1234 * 255 / 65535, 0x8000 * 255 / 65535), Pixels(png).PixelBGRA(0, 0));

  // 2-bit grey: a 4-bit bitmap holding 0, 5, 10, 15 with 16 greys.
  Load(png, Png(4, 1, 2, 0, Rows({Bytes("\x1B", 1)})));
  EXPECT_EQ(pf4bit, png.PixelFormat());
  EXPECT_EQ(16u, Pixels(png).Palette.size());
  EXPECT_EQ(0x05, Pixels(png).ScanLine(0)[0]);
  EXPECT_EQ(0xAF, Pixels(png).ScanLine(0)[1]);

  // RGBA: 32-bit with the alpha as stored; grey + alpha drops its alpha.
  Load(png, Png(1, 1, 8, 6, Rows({Bytes("\x01\x02\x03\x04", 4)})));
  EXPECT_EQ(pf32bit, png.PixelFormat());
  EXPECT_EQ(BGRA(1, 2, 3, 4), Pixels(png).PixelBGRA(0, 0));
  Load(png, Png(1, 1, 8, 4, Rows({Bytes("\x09\x04", 2)})));
  EXPECT_EQ(pf8bit, png.PixelFormat());
  EXPECT_EQ(BGRA(9, 9, 9), Pixels(png).PixelBGRA(0, 0));
}

TEST(PngReader, InterlacedEqualsPlain) {
  // A 3 x 3 image: the second pass (column 4) and the third (row 4) are empty.
  const Bytes p[9] = {"\x01\x02\x03", "\x04\x05\x06", "\x07\x08\x09", "\x0A\x0B\x0C", "\x0D\x0E\x0F",
                      "\x10\x11\x12", "\x13\x14\x15", "\x16\x17\x18", "\x19\x1A\x1B"};
  Bytes plain = Rows({p[0] + p[1] + p[2], p[3] + p[4] + p[5], p[6] + p[7] + p[8]});
  Bytes interlaced = Rows({p[0]}) + Rows({p[2]}) + Rows({p[6] + p[8]}) + Rows({p[1], p[7]}) +
                     Rows({p[3] + p[4] + p[5]});
  TPNGGraphic a, b;
  Load(a, Png(3, 3, 8, 2, plain));
  Load(b, Png(3, 3, 8, 2, interlaced, "", 1));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(Pixels(a).PixelBGRA(x, y), Pixels(b).PixelBGRA(x, y)) << x << "," << y;
}

TEST(PngReader, ChunkRules) {
  // A chunk type in another letter case is the same chunk.
  TPNGGraphic png;
  Load(png, Grey3x2(Chunk("gama", BE32(100000))));
  EXPECT_TRUE(png.ImageProperties().Options.Contains(ioUseGamma));
  EXPECT_EQ("", LoadError(Grey3x2(Chunk("teXt", "anything"))));
  EXPECT_EQ(kCritical, LoadError(Grey3x2(Chunk("TEXT", "anything"))));
  EXPECT_EQ(kCritical, LoadError(Grey3x2(IHDR(3, 2, 8, 0))));
  EXPECT_EQ(kPalette, LoadError(Grey3x2(Chunk("PLTE", Bytes(10, '\1')))));
  EXPECT_EQ("", LoadError(Png(1, 1, 8, 2, Rows({"abc"}), Chunk("PLTE", Bytes(6, '\1')))));
  // An empty IDAT between two others.
  Bytes z = Compress(kGreyRows);
  Bytes split = Signature() + IHDR(3, 2, 8, 0) + Chunk("IDAT", z.substr(0, 5)) + Chunk("IDAT", "") +
                Chunk("IDAT", z.substr(5)) + Chunk("IEND", "");
  EXPECT_EQ("", LoadError(split));
  // A CRC error in any chunk that is read.
  Bytes all = Grey3x2(Chunk("gAMA", BE32(100000)) + Chunk("bKGD", Bytes(2, '\0')) + Chunk("tRNS", Bytes(2, '\0')));
  for (const char* type : {"IHDR", "gAMA", "bKGD", "tRNS", "IDAT"}) EXPECT_EQ(kCRC, LoadError(Flip(all, type))) << type;
  EXPECT_EQ(kCRC, LoadError(Flip(Png(1, 1, 8, 3, Rows({Bytes(1, '\0')}), Chunk("PLTE", "abc")), "PLTE")));
  // Skipped chunks and IEND are not CRC tested.
  EXPECT_EQ("", LoadError(Flip(Grey3x2(Chunk("teXt", "abc")), "teXt")));
}

// Each fault of the input gives its error and no image.
TEST(PngReader, RefusesFaultyInput) {
  const Bytes plte2 = Chunk("PLTE", Bytes("\xFF\0\0\0\xFF\0", 6));
  Bytes noIDAT = Signature() + IHDR(3, 2, 8, 0) + Chunk("IEND", "");
  Bytes shortData = Png(3, 2, 8, 0, kGreyRows.substr(0, 5));
  Bytes z = Compress(kGreyRows);
  Bytes cutStream = Signature() + IHDR(3, 2, 8, 0) + Chunk("IDAT", z.substr(0, z.size() - 8)) + Chunk("IEND", "");
  Bytes longLength = Grey3x2();
  longLength.replace(33, 4, BE32(0x7FFFFFF0));  // the IDAT length
  Bytes header14 = Signature() + Chunk("IHDR", BE32(3) + BE32(2) + Bytes("\x08\0\0\0\0\0", 6)) +
                   Chunk("IDAT", z) + Chunk("IEND", "");
  const std::pair<const char*, std::pair<Bytes, const char*>> cases[] = {
      {"signature", {"\x88" + Grey3x2().substr(1), kInvalid}},
      {"first chunk not IHDR", {Signature() + Chunk("gAMA", BE32(1)) + Grey3x2().substr(8), kInvalid}},
      {"width 0", {Png(0, 2, 8, 0, kGreyRows), kInvalid}},
      {"header of 14 bytes", {header14, kInvalid}},
      {"width over 16384", {Png(16385, 1, 1, 0, Rows({Bytes(2049, '\0')})), kInvalid}},
      {"area over 2^26", {Png(16384, 4097, 1, 0, ""), kInvalid}},
      {"huge sides", {Png(0xFFFFFFFF, 0xFFFFFFFF, 16, 6, ""), kInvalid}},
      {"chunk past the stream end", {longLength, kInvalid}},
      {"short gAMA", {Grey3x2(Chunk("gAMA", Bytes("\0\0\1", 3))), kInvalid}},
      {"gamma 0", {Grey3x2(Chunk("gAMA", BE32(0))), kInvalid}},
      {"short bKGD", {Grey3x2(Chunk("bKGD", "\1")), kInvalid}},
      {"short colour bKGD", {Png(1, 1, 8, 2, Rows({"abc"}), Chunk("bKGD", Bytes("\0\1\0\2", 4))), kInvalid}},
      {"short tRNS", {Png(1, 1, 8, 2, Rows({"abc"}), Chunk("tRNS", Bytes("\0\1", 2))), kInvalid}},
      {"palette too long for the depth",
       {Png(1, 1, 1, 3, Rows({Bytes(1, '\0')}), Chunk("PLTE", Bytes(9, '\1'))), kPalette}},
      {"empty palette", {Png(1, 1, 1, 3, Rows({Bytes(1, '\0')}), Chunk("PLTE", "")), kPalette}},
      {"missing palette", {Png(1, 1, 8, 3, Rows({Bytes(1, '\0')})), kPalette}},
      {"no image data", {noIDAT, kInvalid}},
      {"image data short", {shortData, kExtra}},
      {"compressed data cut", {cutStream, kCompression}},
      {"bit depth 3", {Png(1, 1, 3, 0, Rows({Bytes(1, '\0')})), kColor}},
      {"colour type 5", {Png(1, 1, 8, 5, Rows({Bytes(1, '\0')})), kColor}},
      {"palette depth 16", {Png(1, 1, 16, 3, Rows({Bytes(2, '\0')}), plte2), kColor}},
      {"palette depth 16 without a palette", {Png(1, 1, 16, 3, Rows({Bytes(2, '\0')})), kColor}},
      {"palette depth 3", {Png(1, 1, 3, 3, Rows({Bytes(1, '\0')}), plte2), kColor}},
  };
  for (auto& [what, c] : cases) EXPECT_EQ(c.second, LoadError(c.first)) << what;
  // A stream that ends inside a chunk: the class library's read error.
  Bytes cut = Grey3x2();
  EXPECT_NE("", LoadError(cut.substr(0, cut.size() - 6)));
}

TEST(PngReader, IndexBeyondThePaletteDrawsTheFirstEntry) {
  TPNGGraphic png;
  Load(png, Png(4, 1, 2, 3, Rows({Bytes("\x1B", 1)}), Chunk("PLTE", Bytes("\xFF\0\0\0\xFF\0", 6))));
  EXPECT_EQ(BGRA(255, 0, 0), Pixels(png).PixelBGRA(0, 0));
  EXPECT_EQ(BGRA(0, 255, 0), Pixels(png).PixelBGRA(1, 0));
  EXPECT_EQ(BGRA(255, 0, 0), Pixels(png).PixelBGRA(2, 0));
  EXPECT_EQ(BGRA(255, 0, 0), Pixels(png).PixelBGRA(3, 0));
}

TEST(PngReader, NothingCarriesOverBetweenLoads) {
  TPNGGraphic png;
  Bytes rgb = Rows({Bytes("\x40\x80\xC0", 3)});
  Load(png, Png(1, 1, 8, 2, rgb, Chunk("gAMA", BE32(35000)) + Chunk("tRNS", Bytes("\0\1\0\2\0\3", 6)) +
                                     Chunk("bKGD", Bytes("\0\4\0\5\0\6", 6))));
  EXPECT_NE(BGRA(0x40, 0x80, 0xC0), Pixels(png).PixelBGRA(0, 0));
  EXPECT_TRUE(png.Transparent());
  EXPECT_EQ(0x030201, png.TransparentColor());
  EXPECT_EQ(0x060504, png.BackgroundColor());
  Load(png, Png(1, 1, 8, 2, rgb));
  EXPECT_EQ(BGRA(0x40, 0x80, 0xC0), Pixels(png).PixelBGRA(0, 0));
  EXPECT_FALSE(png.Transparent());
  EXPECT_EQ(0xFFFFFF, png.BackgroundColor());
  EXPECT_FALSE(png.ImageProperties().Options.Contains(ioUseGamma));
  // A failed load leaves no image behind.
  EXPECT_THROW(Load(png, Flip(Png(1, 1, 8, 2, rgb), "IDAT")), EInvalidGraphic);
  EXPECT_TRUE(png.Empty());
}

TEST(PngReader, CanLoadLooksAtTheSignature) {
  TMemoryStream s;
  Bytes good = Grey3x2();
  s.WriteBuffer(good.data(), Integer(good.size()));
  s.SetPosition(0);
  EXPECT_TRUE(TPNGGraphic::CanLoad(&s));
  EXPECT_EQ(0, s.Position());
  TMemoryStream t;
  t.WriteBuffer(good.data(), 8);  // not more than 8 bytes
  t.SetPosition(0);
  EXPECT_FALSE(TPNGGraphic::CanLoad(&t));
}

// The corrupt files of the PNG suite.
TEST(PngSuite, CorruptFilesRaiseTheirError) {
  const std::pair<const char*, const char*> files[] = {
      {"xc1n0g08.png", kColor},   {"xc9n2c08.png", kColor},   {"xcrn0g04.png", kInvalid}, {"xcsn0g01.png", kCRC},
      {"xd0n2c08.png", kColor},   {"xd3n2c08.png", kColor},   {"xd9n2c08.png", kColor},   {"xdtn0g01.png", kInvalid},
      {"xhdn0g08.png", kCRC},     {"xlfn0g04.png", kInvalid}, {"xs1n0g01.png", kInvalid}, {"xs2n0g01.png", kInvalid},
      {"xs4n0g01.png", kInvalid}, {"xs7n0g01.png", kInvalid},
  };
  for (auto& [name, message] : files) {
    TFileStream file(imagetest::SuitePath(name), fmOpenRead | fmShareDenyWrite);
    TPNGGraphic png;
    try {
      png.LoadFromStream(&file);
      ADD_FAILURE() << name << " loaded";
    } catch (const EInvalidGraphic& e) {
      EXPECT_EQ(message, e.Message) << name;
    }
  }
}

TEST(PngReader, UpdateTransPixelsClearsTransparentWhite) {
  TacPixelBuffer bmp;
  bmp.Setup(pf32bit, 3, 1);
  const std::uint32_t in[3] = {0x00FFFFFF, 0xFFFFFFFF, 0x00FFFFFE};
  std::memcpy(bmp.ScanLine(0), in, 12);
  UpdateTransPixels(bmp);
  std::uint32_t out[3];
  std::memcpy(out, bmp.ScanLine(0), 12);
  EXPECT_EQ(0u, out[0]);
  EXPECT_EQ(0xFFFFFFFFu, out[1]);
  EXPECT_EQ(0x00FFFFFEu, out[2]);
}
