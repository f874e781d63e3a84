// Small bitmaps for the pixel tests of the 32-bit painting: filled with a
// guard value, written and read pixel by pixel, and compared whole against
// the pixels a case expects (every other pixel must still hold the guard).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <sstream>
#include <vector>

#include "skin/graphics/acBitmap.h"
#include "skin/graphics/sGraphUtils.h"

namespace alphatest {

using Bmp = std::unique_ptr<TacBitmap>;

constexpr std::uint32_t kGuard = 0x5A123456u;

inline Bmp Filled(int w, int h, std::uint32_t value = kGuard) {
  Bmp b = CreateBmp32(w, h);
  FillPixels(PixelsOf(b.get()), value);
  return b;
}

inline std::uint32_t& Px(const Bmp& b, int x, int y) { return PixelsOf(b.get()).At(x, y); }

// Rows of pixel values, top row first.
inline Bmp FromRows(const std::vector<std::vector<std::uint32_t>>& rows) {
  Bmp b = CreateBmp32(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < rows[y].size(); ++x) Px(b, int(x), int(y)) = rows[y][x];
  return b;
}

// A pixel of the given colour channels (blue, green, red as in memory).
constexpr std::uint32_t Bgra(int b, int g, int r, int a) {
  return std::uint32_t(b) | (std::uint32_t(g) << 8) | (std::uint32_t(r) << 16) | (std::uint32_t(a) << 24);
}
// Grey of value v with alpha a.
constexpr std::uint32_t Grey(int v, int a) { return Bgra(v, v, v, a); }

// Every pixel equals Expected(x, y); the first few differences are listed.
inline ::testing::AssertionResult PixelsAre(const Bmp& b, const std::function<std::uint32_t(int, int)>& Expected) {
  const TPixelView32 v = PixelsOf(b.get());
  std::ostringstream out;
  int wrong = 0;
  for (int y = 0; y < v.Height; ++y)
    for (int x = 0; x < v.Width; ++x) {
      const std::uint32_t want = Expected(x, y), got = v.At(x, y);
      if (want == got) continue;
      if (++wrong <= 6) out << std::hex << " (" << std::dec << x << "," << y << ") " << std::hex << got << " not " << want;
    }
  if (wrong == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << std::dec << wrong << " pixels differ:" << out.str();
}

// Pixels inside R equal Inside(x, y); all others still hold Guard.
inline ::testing::AssertionResult OnlyInside(const Bmp& b, const TRect& R,
                                             const std::function<std::uint32_t(int, int)>& Inside,
                                             std::uint32_t Guard = kGuard) {
  return PixelsAre(b, [&](int x, int y) { return R.Contains(Point(x, y)) ? Inside(x, y) : Guard; });
}
inline ::testing::AssertionResult OnlyInside(const Bmp& b, const TRect& R, std::uint32_t Value,
                                             std::uint32_t Guard = kGuard) {
  return OnlyInside(b, R, [Value](int, int) { return Value; }, Guard);
}

}  // namespace alphatest
