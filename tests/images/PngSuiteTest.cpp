// Every valid image of the PNG suite, decoded by the reader and by libpng.
//
// libpng gives the raw samples (no transformations but unpacking of samples
// below 8 bits); the test then applies this reader's own rules to them, which
// is where its pixels differ from what libpng draws by default:
//   - 16-bit samples become v * 255 div 65535 (truncated, not rounded);
//   - with a gAMA chunk, colour samples, palette entries and grey ramps pass
//     through round((i / 255) ^ (1 / (gamma * 2.2)) * 255); alpha never does;
//   - grey + alpha images lose their alpha (8-bit grey bitmap);
//   - tRNS and bKGD change no pixel (they set the transparent and background
//     colours of the picture);
//   - palette indexes beyond the palette draw its first entry.
#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "ImageTestPaths.h"
#include "skin/graphics/acPNG.h"

namespace fs = std::filesystem;

namespace {

struct Raw {
  png_uint_32 width = 0, height = 0;
  int depth = 0, colorType = 0;
  std::vector<std::vector<png_byte>> rows;
  std::vector<png_color> palette;
  bool hasGamma = false;
  png_fixed_point gamma = 0;
};

bool ReadWithLibpng(const std::string& file, Raw& raw) {
  FILE* f = std::fopen(file.c_str(), "rb");
  if (!f) return false;
  png_structp p = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(p);
  if (setjmp(png_jmpbuf(p))) {
    png_destroy_read_struct(&p, &info, nullptr);
    std::fclose(f);
    return false;
  }
  png_init_io(p, f);
  png_read_info(p, info);
  int interlace;
  png_get_IHDR(p, info, &raw.width, &raw.height, &raw.depth, &raw.colorType, &interlace, nullptr, nullptr);
  if (raw.depth < 8) png_set_packing(p);
  png_set_interlace_handling(p);
  png_read_update_info(p, info);
  raw.rows.assign(raw.height, std::vector<png_byte>(png_get_rowbytes(p, info)));
  std::vector<png_bytep> pointers;
  for (auto& r : raw.rows) pointers.push_back(r.data());
  png_read_image(p, pointers.data());
  png_colorp plte;
  int count;
  if (png_get_PLTE(p, info, &plte, &count)) raw.palette.assign(plte, plte + count);
  raw.hasGamma = png_get_gAMA_fixed(p, info, &raw.gamma) != 0;
  png_destroy_read_struct(&p, &info, nullptr);
  std::fclose(f);
  return true;
}

TPixelFormat ExpectedFormat(int colorType, int depth) {
  switch (colorType) {
    case 0:
    case 3: return depth == 1 ? pf1bit : depth <= 4 ? pf4bit : pf8bit;
    case 2: return pf24bit;
    case 4: return pf8bit;
    default: return pf32bit;
  }
}

}  // namespace

TEST(PngSuite, ValidImagesMatchLibpng) {
  int checked = 0;
  for (auto& entry : fs::directory_iterator(DK_PNGSUITE_DIR)) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".png" || name[0] == 'x') continue;
    SCOPED_TRACE(name);
    Raw raw;
    ASSERT_TRUE(ReadWithLibpng(entry.path().string(), raw));
    TPNGGraphic png;
    TFileStream file(imagetest::Ansi(entry.path()), fmOpenRead | fmShareDenyWrite);
    ASSERT_NO_THROW(png.LoadFromStream(&file));
    ASSERT_EQ(int(raw.width), png.Width());
    ASSERT_EQ(int(raw.height), png.Height());
    EXPECT_EQ(ExpectedFormat(raw.colorType, raw.depth), png.PixelFormat());

    Byte table[256];
    for (int i = 0; i < 256; ++i) table[i] = Byte(i);
    if (raw.hasGamma) {
      const double exponent = 1.0 / (double(float(raw.gamma / 100000.0)) * double(2.2f));
      for (int i = 0; i < 256; ++i) table[i] = Byte(std::lround(std::pow(i / 255.0, exponent) * 255));
    }
    const int d = raw.depth;
    auto sample = [&](const std::vector<png_byte>& row, size_t index) -> unsigned {
      return d == 16 ? (unsigned(row[2 * index]) << 8) | row[2 * index + 1] : row[index];
    };
    // A colour sample as an 8-bit value before gamma.
    auto to8 = [&](unsigned v) -> unsigned { return d == 16 ? v * 255 / 65535 : d < 8 ? v * 255 / ((1u << d) - 1) : v; };
    int mismatches = 0;
    for (png_uint_32 y = 0; y < raw.height; ++y) {
      const auto& row = raw.rows[y];
      for (png_uint_32 x = 0; x < raw.width; ++x) {
        unsigned r, g, b, a = 255;
        switch (raw.colorType) {
          case 0:
            r = g = b = table[to8(sample(row, x))];
            break;
          case 4:
            r = g = b = table[to8(sample(row, 2 * x))];
            break;
          case 2:
            r = table[to8(sample(row, 3 * x))];
            g = table[to8(sample(row, 3 * x + 1))];
            b = table[to8(sample(row, 3 * x + 2))];
            break;
          case 3: {
            unsigned index = row[x];
            const png_color& c = raw.palette[index < raw.palette.size() ? index : 0];
            r = table[c.red];
            g = table[c.green];
            b = table[c.blue];
            break;
          }
          default:
            r = table[to8(sample(row, 4 * x))];
            g = table[to8(sample(row, 4 * x + 1))];
            b = table[to8(sample(row, 4 * x + 2))];
            a = to8(sample(row, 4 * x + 3));
            break;
        }
        const std::uint32_t expected = b | (g << 8) | (r << 16) | (a << 24);
        const std::uint32_t got = png.Bitmap().PixelBGRA(int(x), int(y));
        if (expected != got && ++mismatches <= 3)
          ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << got << " instead of " << expected;
      }
    }
    ++checked;
  }
  // The suite's valid images (161 files).
  EXPECT_GT(checked, 150);
}
