// Small 32-bit bitmaps for the graphics utilities' tests: made with one
// pixel value everywhere, read and written pixel by pixel, and checked for
// pixels changed outside the area a call may touch (the guard pixels).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <sstream>

#include "skin/graphics/acBitmap.h"

namespace gtest_gutils {

inline constexpr std::uint32_t Px(int r, int g, int b, int a) {
  return static_cast<std::uint32_t>(b) | (static_cast<std::uint32_t>(g) << 8) | (static_cast<std::uint32_t>(r) << 16) |
         (static_cast<std::uint32_t>(a) << 24);
}
inline constexpr std::uint32_t Gray(int v, int a) { return Px(v, v, v, a); }

inline std::unique_ptr<TacBitmap> Bmp(int w, int h, std::uint32_t fill) {
  auto b = NewBitmap32(w, h);
  const TPixelView32 v = PixelsOf(b.get());
  for (int y = 0; y < v.Height; ++y)
    for (int x = 0; x < v.Width; ++x) v.At(x, y) = fill;
  return b;
}

inline std::uint32_t& At(TacBitmap* b, int x, int y) { return PixelsOf(b).At(x, y); }
inline std::uint32_t& At(const std::unique_ptr<TacBitmap>& b, int x, int y) { return At(b.get(), x, y); }

inline std::string Hex(std::uint32_t v) {
  std::ostringstream s;
  s << "0x" << std::hex << v;
  return s.str();
}

// Every pixel outside R still holds Fill.
inline ::testing::AssertionResult GuardsKept(TacBitmap* b, const TRect& R, std::uint32_t Fill) {
  const TPixelView32 v = PixelsOf(b);
  for (int y = 0; y < v.Height; ++y)
    for (int x = 0; x < v.Width; ++x)
      if (!R.Contains(Point(x, y)) && v.At(x, y) != Fill)
        return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") changed to " << Hex(v.At(x, y));
  return ::testing::AssertionSuccess();
}
inline ::testing::AssertionResult GuardsKept(const std::unique_ptr<TacBitmap>& b, const TRect& R, std::uint32_t Fill) {
  return GuardsKept(b.get(), R, Fill);
}

// Every pixel inside R holds Value.
inline ::testing::AssertionResult AllInside(TacBitmap* b, const TRect& R, std::uint32_t Value) {
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x)
      if (PixelsOf(b).At(x, y) != Value)
        return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << Hex(PixelsOf(b).At(x, y))
                                             << ", not " << Hex(Value);
  return ::testing::AssertionSuccess();
}
inline ::testing::AssertionResult AllInside(const std::unique_ptr<TacBitmap>& b, const TRect& R, std::uint32_t Value) {
  return AllInside(b.get(), R, Value);
}

}  // namespace gtest_gutils
