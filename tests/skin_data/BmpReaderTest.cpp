// The bitmap file reader: depths and row orders it reads, files it refuses.
#include <gtest/gtest.h>

#include "SkinFixture.h"
#include "skin/graphics/acBmp.h"

using namespace skinfixture;

namespace {

TacPixelBuffer Read(const std::string& bytes) {
  TacPixelBuffer out;
  ReadBmp(bytes.data(), static_cast<Int64>(bytes.size()), out);
  return out;
}

TEST(BmpReader, ReadsBottomUpAndTopDownPicturesOf24And32Bits) {
  TPicture p(3, 2, 0x112233);
  p.At(2, 0) = 0x80FF0000;
  TacPixelBuffer b24 = Read(BmpFile(p, 24));
  ASSERT_EQ(b24.PixelFormat(), pf24bit);
  EXPECT_EQ(b24.PixelBGRA(2, 0), 0xFFFF0000u) << "row 0 is the top row";
  EXPECT_EQ(b24.PixelBGRA(0, 1), 0xFF112233u);
  TacPixelBuffer b32 = Read(BmpFile(p, 32));
  ASSERT_EQ(b32.PixelFormat(), pf32bit);
  EXPECT_EQ(b32.PixelBGRA(2, 0), 0x80FF0000u) << "alpha as stored";

  // The same picture stored top-down (negative height).
  std::string topDown = BmpFile(p, 24);
  const std::int32_t h = -2;
  std::memcpy(&topDown[22], &h, 4);
  TacPixelBuffer t = Read(topDown);
  EXPECT_EQ(t.PixelBGRA(2, 1), 0xFFFF0000u) << "rows as written";
}

TEST(BmpReader, RefusesWhatItCannotReadNamingTheCheck) {
  const std::string good = BmpFile(TPicture(4, 4, 0), 24);
  struct Case {
    const char* Name;
    std::string Bytes;
    const char* Reason;
  };
  auto patched = [&](size_t at, std::uint32_t value, size_t width = 4) {
    std::string b = good;
    std::memcpy(&b[at], &value, width);
    return b;
  };
  const Case cases[] = {
      {"empty", "", "too short"},
      {"no signature", "XX" + good.substr(2), "signature"},
      {"cut pixels", good.substr(0, good.size() - 10), "cut off"},
      {"huge", patched(18, 100000), "too large"},
      {"zero width", patched(18, 0), "empty"},
      {"RLE", patched(30, 1), "compression"},
      {"16 bits", patched(28, 16, 2), "bits per pixel"},
      {"bad header size", patched(14, 77), "header size"},
      {"pixels outside the file", patched(10, 0x7FFFFFF0), "cut off"},
  };
  for (const Case& c : cases) {
    try {
      Read(c.Bytes);
      ADD_FAILURE() << c.Name << " was read";
    } catch (const EInvalidGraphic& e) {
      EXPECT_NE(e.Message.find(c.Reason), std::string::npos) << c.Name << ": " << e.Message;
    }
  }
}

}  // namespace
