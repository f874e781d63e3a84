// The generated skin the load benchmarks read: a master image of a given
// side and a text of N sections with three images each (a border, a glyph
// and a texture cut from the master), colours, states and parent classes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace skinbench {

inline std::string MasterBmp(int side) {
  const int row = (side * 3 + 3) / 4 * 4;
  std::string rows;
  rows.reserve(static_cast<size_t>(row) * side);
  for (int y = side - 1; y >= 0; --y) {
    std::string r;
    for (int x = 0; x < side; ++x) {
      // Key-coloured corners in every 32-pixel cell, soft colours elsewhere.
      const bool key = (x % 32) < 2 && (y % 32) < 2;
      r += key ? std::string("\xFF\x00\xFF", 3)
               : std::string{static_cast<char>(x & 0xFF), static_cast<char>(y & 0xFF), static_cast<char>((x + y) & 0xFF)};
    }
    r.resize(static_cast<size_t>(row), '\0');
    rows += r;
  }
  auto u32 = [](std::uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  auto u16 = [](std::uint32_t v) { return std::string{char(v), char(v >> 8)}; };
  const std::string info = u32(40) + u32(static_cast<std::uint32_t>(side)) + u32(static_cast<std::uint32_t>(side)) +
                           u16(1) + u16(24) + u32(0) + u32(static_cast<std::uint32_t>(rows.size())) + u32(0) + u32(0) +
                           u32(0) + u32(0);
  return "BM" + u32(static_cast<std::uint32_t>(54 + rows.size())) + u32(0) + u32(54) + info + rows;
}

// A rectangle of 30 x 30 in one of the 16 x 16 cells of a 512-pixel master.
inline void Cell(int n, int& l, int& t) {
  l = (n % 16) * 32;
  t = (n / 16 % 16) * 32;
}

inline std::string SkinText(int sections) {
  std::string text = "[GLOBALINFO]\r\nVERSION=8.00\r\nMASTERBITMAP=MASTER.BMP\r\nTITLEHEIGHT=24\r\n";
  char line[128];
  for (int i = 0; i < sections; ++i) {
    int l, t;
    std::snprintf(line, sizeof line, "[S%d]\r\n", i);
    text += line;
    if (i >= 10) {
      std::snprintf(line, sizeof line, "PARENTCLASS=S%d\r\n", i % 10);
      text += line;
    }
    std::snprintf(line, sizeof line, "STATES=%d\r\nCOLOR=%d\r\nFONTCOLOR=%d\r\nTRANSPARENCY=%d\r\n", 1 + i % 3,
                  i * 4099 % 16777216, i * 977 % 16777216, i % 50);
    text += line;
    if (i % 4 == 0) text += "GRADIENTPERCENT=50\r\nGRADIENTDATA=16777215;8421504;66;0;0;8421504;0;34;0;0\r\n";
    Cell(3 * i, l, t);
    std::snprintf(line, sizeof line, "BORDERSMASK=^%04d^%04d^%04d^%04d^0004^0004^0004^0004^1^1^0^0\r\n", l, t, l + 30,
                  t + 30);
    text += line;
    Cell(3 * i + 1, l, t);
    std::snprintf(line, sizeof line, "GLYPHMASK=@%04d@%04d@%04d@%04d@3@0\r\n", l, t, l + 30, t + 30);
    text += line;
    Cell(3 * i + 2, l, t);
    std::snprintf(line, sizeof line, "PATTERN=~%04d~%04d~%04d~%04d~00\r\n", l, t, l + 30, t + 30);
    text += line;
  }
  return text;
}

}  // namespace skinbench
