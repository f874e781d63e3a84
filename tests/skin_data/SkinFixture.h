// Skins made by the tests: bitmap files of chosen pixels and skin folders
// (Options.dat and images) in a temporary folder of their own.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "classlib/core/System.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace skinfixture {

// A picture of 0x00RRGGBB colours (alpha in the top byte for 32-bit files),
// row 0 at the top.
struct TPicture {
  int W = 0, H = 0;
  std::vector<std::uint32_t> Px;
  TPicture(int w, int h, std::uint32_t fill) : W(w), H(h), Px(static_cast<size_t>(w) * h, fill) {}
  std::uint32_t& At(int x, int y) { return Px[static_cast<size_t>(y) * W + x]; }
  void Fill(int l, int t, int r, int b, std::uint32_t c) {
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) At(x, y) = c;
  }
};

// A bitmap file of 24 or 32 bits per pixel, bottom-up.
inline std::string BmpFile(const TPicture& p, int bits = 24) {
  const int rowBytes = (p.W * bits / 8 + 3) / 4 * 4;
  std::string rows;
  for (int y = p.H - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < p.W; ++x) {
      const std::uint32_t c = p.Px[static_cast<size_t>(y) * p.W + x];
      row += static_cast<char>(c & 0xFF);
      row += static_cast<char>((c >> 8) & 0xFF);
      row += static_cast<char>((c >> 16) & 0xFF);
      if (bits == 32) row += static_cast<char>(c >> 24);
    }
    row.resize(static_cast<size_t>(rowBytes), '\0');
    rows += row;
  }
  auto u32 = [](std::uint32_t v) {
    return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
  };
  auto u16 = [](std::uint32_t v) { return std::string{static_cast<char>(v), static_cast<char>(v >> 8)}; };
  std::string info = u32(40) + u32(static_cast<std::uint32_t>(p.W)) + u32(static_cast<std::uint32_t>(p.H)) + u16(1) +
                     u16(static_cast<std::uint32_t>(bits)) + u32(0) + u32(static_cast<std::uint32_t>(rows.size())) +
                     u32(2835) + u32(2835) + u32(0) + u32(0);
  return "BM" + u32(static_cast<std::uint32_t>(14 + info.size() + rows.size())) + u32(0) + u32(14 + 40) + info + rows;
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream f(path, std::ios::binary);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// A folder of its own, removed with everything in it at the end.
class TTempDir {
 public:
  explicit TTempDir(const std::string& name) {
    static int counter = 0;
    Path = std::filesystem::temp_directory_path() /
           ("skintest_" + name + "_" + std::to_string(Pid()) + "_" + std::to_string(++counter));
    std::filesystem::remove_all(Path);
    std::filesystem::create_directories(Path);
  }
  ~TTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(Path, ec);
  }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  std::filesystem::path Path;

 private:
  static long Pid() {
#ifdef _WIN32
    return _getpid();
#else
    return getpid();
#endif
  }
};

}  // namespace skinfixture
