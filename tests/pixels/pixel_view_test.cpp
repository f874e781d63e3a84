// One table of cases for every holder of 32-bit pixels: the plain buffer of
// skin/graphics (natively and under Wine) and the class library's bitmap
// (Windows), each handing out the same view. Expected values are worked out
// by hand: colour * alpha / 255 and source + destination * (255 - alpha) /
// 255, both rounded to the nearest.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "classlib/core/PixelView.h"
#include "skin/graphics/acPixelBuffer.h"
#ifdef _WIN32
#include "classlib/ui/Graphics.h"
#endif

namespace {

// A holder of W x H pixels: its view, and its own idea of the pixel at
// (x, y) (blue, green, red; its alpha where it keeps one).
struct THolder {
  virtual ~THolder() = default;
  virtual TPixelView32 View() = 0;
  virtual std::uint32_t OwnPixel(int X, int Y) = 0;
  virtual bool KeepsAlpha() const = 0;
};

struct TBufferHolder : THolder {
  TacPixelBuffer Buffer;
  TBufferHolder(int W, int H) { Buffer.Setup(pf32bit, W, H); }
  TPixelView32 View() override { return Buffer.PixelView(); }
  std::uint32_t OwnPixel(int X, int Y) override { return Buffer.PixelBGRA(X, Y); }
  bool KeepsAlpha() const override { return true; }
};

#ifdef _WIN32
struct TBitmapHolder : THolder {
  TBitmap Bitmap;
  TBitmapHolder(int W, int H) {
    Bitmap.SetPixelFormat(pf32bit);
    Bitmap.SetSize(W, H);
  }
  TPixelView32 View() override { return Bitmap.PixelView(); }
  std::uint32_t OwnPixel(int X, int Y) override {
    TColor c = Bitmap.Canvas()->Pixel(X, Y);  // red in the low byte
    return PixelBGRA(static_cast<Byte>(c >> 16), static_cast<Byte>(c >> 8), static_cast<Byte>(c), 0);
  }
  bool KeepsAlpha() const override { return false; }
};
#endif

using TMake = std::function<std::unique_ptr<THolder>(int W, int H)>;

struct THolderKind {
  const char* Name;
  TMake Make;
};

void PrintTo(const THolderKind& Kind, std::ostream* Out) { *Out << Kind.Name; }

class PixelViews : public ::testing::TestWithParam<THolderKind> {};

TEST_P(PixelViews, EveryPixelOfTheViewIsThePixelOfItsHolder) {
  const struct {
    int W, H;
  } sizes[] = {{1, 1}, {3, 2}, {5, 4}, {16, 3}};
  for (auto s : sizes) {
    SCOPED_TRACE(std::to_string(s.W) + "x" + std::to_string(s.H));
    auto holder = GetParam().Make(s.W, s.H);
    TPixelView32 v = holder->View();
    ASSERT_FALSE(v.Empty());
    EXPECT_EQ(v.Width, s.W);
    EXPECT_EQ(v.Height, s.H);
    for (int y = 0; y < s.H; ++y)
      for (int x = 0; x < s.W; ++x) v.At(x, y) = PixelBGRA(Byte(x * 10), Byte(y * 20), Byte(x + y), Byte(200 + x));
    for (int y = 0; y < s.H; ++y)
      for (int x = 0; x < s.W; ++x) {
        std::uint32_t want = PixelBGRA(Byte(x * 10), Byte(y * 20), Byte(x + y), Byte(200 + x));
        std::uint32_t own = holder->OwnPixel(x, y);
        if (!holder->KeepsAlpha()) want &= 0x00FFFFFF;
        EXPECT_EQ(own, want) << x << "," << y << ": the view's (x, y) is the holder's";
        EXPECT_EQ(v.Row(y) + x, &v.At(x, y));
      }
  }
}

struct TPixelCase {
  const char* What;
  std::uint32_t Straight;       // colour and alpha as painted
  std::uint32_t Premultiplied;  // what Premultiply makes of it
  std::uint32_t OverWhite;      // blended over opaque white
};

const TPixelCase kPixels[] = {
    {"opaque red", 0xFFFF0000, 0xFFFF0000, 0xFFFF0000},
    {"opaque black", 0xFF000000, 0xFF000000, 0xFF000000},
    {"transparent", 0x00123456, 0x00000000, 0xFFFFFFFF},
    {"half red", 0x80FF0000, 0x80800000, 0xFFFF7F7F},
    {"a quarter of a mixed colour", 0x40204080, 0x40081020, 0xFFC7CFDF},
};

TEST_P(PixelViews, PremultiplyingAndBlendingGiveTheWorkedOutPixels) {
  constexpr int n = sizeof kPixels / sizeof kPixels[0];
  auto src = GetParam().Make(n, 2);
  auto dst = GetParam().Make(n + 2, 3);
  TPixelView32 s = src->View(), d = dst->View();
  FillPixels(d, 0xFFFFFFFF);
  for (int i = 0; i < n; ++i) s.At(i, 0) = s.At(i, 1) = kPixels[i].Straight;
  Premultiply(s);
  BlendOnto(d, s, 1, 1);  // one column and row of white around it stays
  for (int i = 0; i < n; ++i) {
    SCOPED_TRACE(kPixels[i].What);
    EXPECT_EQ(s.At(i, 0), kPixels[i].Premultiplied);
    EXPECT_EQ(d.At(i + 1, 1), kPixels[i].OverWhite);
    EXPECT_EQ(d.At(i + 1, 2), kPixels[i].OverWhite);
    EXPECT_EQ(d.At(i + 1, 0), 0xFFFFFFFFu) << "above the blended rows";
  }
  EXPECT_EQ(d.At(0, 1), 0xFFFFFFFFu) << "left of the blended columns";
  Unpremultiply(s);
  for (int i = 0; i < n; ++i)
    if (PixelAlpha(kPixels[i].Straight) >= 0x80) {
      EXPECT_EQ(s.At(i, 0), kPixels[i].Straight) << kPixels[i].What;
    }
}

TEST_P(PixelViews, BlendingClipsToTheDestination) {
  auto src = GetParam().Make(3, 3);
  auto dst = GetParam().Make(4, 4);
  FillPixels(src->View(), 0xFF0000FF);
  FillPixels(dst->View(), 0xFFFFFFFF);
  BlendOnto(dst->View(), src->View(), -2, 2);
  TPixelView32 d = dst->View();
  EXPECT_EQ(d.At(0, 2), 0xFF0000FFu);
  EXPECT_EQ(d.At(0, 3), 0xFF0000FFu);
  EXPECT_EQ(d.At(1, 2), 0xFFFFFFFFu);
  EXPECT_EQ(d.At(0, 1), 0xFFFFFFFFu);
}

INSTANTIATE_TEST_SUITE_P(
    Holders, PixelViews,
    ::testing::Values(
        THolderKind{"PlainBuffer", [](int W, int H) { return std::unique_ptr<THolder>(new TBufferHolder(W, H)); }}
#ifdef _WIN32
        ,
        THolderKind{"WindowsBitmap", [](int W, int H) { return std::unique_ptr<THolder>(new TBitmapHolder(W, H)); }}
#endif
        ),
    [](const ::testing::TestParamInfo<THolderKind>& info) { return std::string(info.param.Name); });

#ifdef _WIN32
// What a user sees: a 32-bit bitmap with per-pixel alpha drawn on white.
TEST(BitmapAlpha, ABitmapWithAlphaIsBlendedOverWhatItIsDrawnOn) {
  constexpr int n = sizeof kPixels / sizeof kPixels[0];
  for (TAlphaFormat format : {afDefined, afPremultiplied}) {
    SCOPED_TRACE(format == afDefined ? "straight alpha" : "premultiplied");
    TBitmap picture;
    picture.SetPixelFormat(pf32bit);
    picture.SetSize(n, 1);
    for (int i = 0; i < n; ++i) picture.PixelView().At(i, 0) = kPixels[i].Straight;
    picture.SetAlphaFormat(afDefined);
    picture.SetAlphaFormat(format);
    if (format == afPremultiplied) {
      EXPECT_EQ(picture.PixelView().At(3, 0), kPixels[3].Premultiplied) << "multiplied in place";
    }
    TBitmap screen;
    screen.SetPixelFormat(pf24bit);
    screen.SetSize(n + 2, 3);
    screen.Canvas()->Brush()->SetColor(clWhite);
    screen.Canvas()->FillRect(Rect(0, 0, n + 2, 3));
    screen.Canvas()->Draw(1, 1, &picture);
    for (int i = 0; i < n; ++i) {
      SCOPED_TRACE(kPixels[i].What);
      TColor got = screen.Canvas()->Pixel(i + 1, 1);
      std::uint32_t want = kPixels[i].OverWhite;
      auto within1 = [](int a, int b) { return a - b <= 1 && b - a <= 1; };  // the platform rounds its own way
      EXPECT_TRUE(within1(got & 0xFF, (want >> 16) & 0xFF)) << std::hex << got;
      EXPECT_TRUE(within1((got >> 8) & 0xFF, (want >> 8) & 0xFF)) << std::hex << got;
      EXPECT_TRUE(within1((got >> 16) & 0xFF, want & 0xFF)) << std::hex << got;
    }
    EXPECT_EQ(screen.Canvas()->Pixel(0, 1), clWhite);
  }
}

TEST(BitmapAlpha, WithoutAnAlphaFormatTheFourthByteIsIgnored) {
  TBitmap picture;
  picture.SetPixelFormat(pf32bit);
  picture.SetSize(1, 1);
  picture.PixelView().At(0, 0) = 0x00FF0000;  // red, alpha 0
  TBitmap screen;
  screen.SetPixelFormat(pf24bit);
  screen.SetSize(1, 1);
  screen.Canvas()->Draw(0, 0, &picture);
  EXPECT_EQ(screen.Canvas()->Pixel(0, 0), clRed);
}
#endif

}  // namespace
