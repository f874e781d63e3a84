// Builds catalogue bytes in memory, for cases msgfmt cannot produce.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace i18ntest {

// entries must be sorted by msgid.
inline std::vector<unsigned char> BuildMo(const std::vector<std::pair<std::string, std::string>>& entries,
                                          bool bigEndian = false) {
  std::vector<unsigned char> out;
  auto put = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(bigEndian ? v >> (24 - 8 * i) : v >> (8 * i)));
  };
  const std::uint32_t n = std::uint32_t(entries.size());
  const std::uint32_t o = 28, t = o + 8 * n;
  std::uint32_t at = t + 8 * n;
  put(0x950412DE);
  put(0);
  put(n);
  put(o);
  put(t);
  put(0);
  put(at);
  std::string strings;
  std::vector<std::uint32_t> offsets;
  for (int side = 0; side < 2; ++side)
    for (const auto& e : entries) {
      const std::string& s = side == 0 ? e.first : e.second;
      offsets.push_back(at + std::uint32_t(strings.size()));
      strings += s;
      strings += '\0';
    }
  for (int side = 0; side < 2; ++side)
    for (std::uint32_t i = 0; i < n; ++i) {
      put(std::uint32_t((side == 0 ? entries[i].first : entries[i].second).size()));
      put(offsets[side * n + i]);
    }
  out.insert(out.end(), strings.begin(), strings.end());
  return out;
}

inline void PutWord(std::vector<unsigned char>& mo, std::size_t offset, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) mo[offset + i] = std::uint8_t(v >> (8 * i));
}

}  // namespace i18ntest
