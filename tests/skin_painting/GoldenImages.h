// Painted bitmaps against pictures kept in the tree (tests/skin_painting/
// golden/<name>.png, colours only): every case saves what it painted under
// build/screenshots/<name>.png, so that a new or changed picture is looked at
// before it is copied into the tree.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "../images/PngWriter.h"
#include "classlib/core/Classes.h"
#include "skin/graphics/acBitmap.h"
#include "skin/graphics/acPNG.h"

// after the class library, whose header takes care of the platform macros
#include "TestSupport.h"

namespace golden {

// The colours (0x00RRGGBB) of a 32-bit bitmap, rows from the top.
inline std::vector<std::uint32_t> Colors(TacBitmap* bmp) {
  const TPixelView32 v = PixelsOf(bmp);
  std::vector<std::uint32_t> out;
  for (int y = 0; y < v.Height; ++y)
    for (int x = 0; x < v.Width; ++x) out.push_back(v.Row(y)[x] & 0xFFFFFF);
  return out;
}

// A picture as a PNG of 8-bit RGB, Scale times larger (to look at).
inline std::string Png(int w, int h, const std::vector<std::uint32_t>& colors, int scale = 1) {
  std::string rows;
  for (int y = 0; y < h * scale; ++y) {
    rows += '\0';
    for (int x = 0; x < w * scale; ++x) {
      const std::uint32_t c = colors[static_cast<size_t>(y / scale) * w + x / scale];
      rows += static_cast<char>(c >> 16);
      rows += static_cast<char>(c >> 8);
      rows += static_cast<char>(c);
    }
  }
  return pngtest::Png(static_cast<std::uint32_t>(w * scale), static_cast<std::uint32_t>(h * scale), 8, 2, rows);
}

inline void WriteHostFile(const std::string& hostPath, const std::string& bytes) {
  std::ofstream f(testsupport::WinPath(hostPath).c_str(), std::ios::binary);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Saves a picture as build/screenshots/<name>.png.
inline void Save(const std::string& name, int w, int h, const std::vector<std::uint32_t>& colors, int scale = 1) {
  const std::string dir = testsupport::HostBuildDir() + "/screenshots";
  CreateDirectoryW(testsupport::WinPath(dir).c_str(), nullptr);
  WriteHostFile(dir + "/" + name + ".png", Png(w, h, colors, scale));
}

// The colours of a PNG file of the tree; false when it cannot be read.
inline bool Load(const std::string& hostPath, int& w, int& h, std::vector<std::uint32_t>& colors) {
  const std::string bytes = testsupport::ReadHostFile(hostPath);
  if (bytes.empty()) return false;
  TMemoryStream stream;
  stream.Write(bytes.data(), static_cast<Integer>(bytes.size()));
  stream.SetPosition(0);
  TacPixelBuffer pixels;
  try {
    TPNGGraphic png;
    png.LoadInto(&stream, pixels);
  } catch (const Exception&) {
    return false;
  }
  w = pixels.Width();
  h = pixels.Height();
  colors.clear();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) colors.push_back(pixels.PixelBGRA(x, y) & 0xFFFFFF);
  return true;
}

// What a bitmap shows equals the golden picture of that name.
inline ::testing::AssertionResult Matches(const std::string& name, TacBitmap* bmp) {
  const std::vector<std::uint32_t> actual = Colors(bmp);
  const int w = BitmapWidth(bmp), h = BitmapHeight(bmp);
  Save(name, w, h, actual);
  int gw = 0, gh = 0;
  std::vector<std::uint32_t> expected;
  const std::string file = std::string(DK_PAINT_GOLDEN) + "/" + name + ".png";
  if (!Load(file, gw, gh, expected))
    return ::testing::AssertionFailure() << "no golden picture " << file << " (look at build/screenshots/" << name
                                         << ".png and copy it there)";
  if (gw != w || gh != h)
    return ::testing::AssertionFailure() << name << ": " << w << " x " << h << " against the golden " << gw << " x "
                                         << gh;
  int differ = 0;
  std::ostringstream first;
  for (size_t i = 0; i < actual.size(); ++i)
    if (actual[i] != expected[i] && differ++ == 0)
      first << " first at (" << i % w << ", " << i / w << "): " << std::hex << actual[i] << " against " << expected[i];
  if (differ)
    return ::testing::AssertionFailure() << name << ": " << differ << " pixels differ from the golden picture;"
                                         << first.str();
  return ::testing::AssertionSuccess();
}

}  // namespace golden
