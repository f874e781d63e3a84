// Small text helpers of the streaming code (not part of the public units).
#pragma once

#include <string>

#include "classlib/core/Cp1251.h"
#include "classlib/core/SysUtils.h"
#include "classlib/core/System.h"

namespace dk_streaming {

// ASCII case-insensitive comparison (names and identifiers).
inline bool SameIdent(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

// Characters the code page lacks become '?'.
inline std::string WideToAnsi(const std::u16string& s) {
  std::string r;
  r.reserve(s.size());
  for (char16_t c : s) {
    int b = dk_cp1251::FromUnicode(c);
    r.push_back(b < 0 ? '?' : static_cast<char>(b));
  }
  return r;
}

inline std::string WideToUtf8(const std::u16string& s) {
  std::string r;
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    }
    ::AppendUtf8(r, c);
  }
  return r;
}

// Malformed sequences become U+FFFD.
inline std::u16string Utf8ToWide(const std::string& s) {
  std::u16string r;
  size_t i = 0;
  while (i < s.size()) {
    char32_t c = dk_cp1251::DecodeUtf8(s.data(), s.size(), i);
    if (c == 0xFFFFFFFFu) c = 0xFFFD;
    if (c >= 0x10000) {
      c -= 0x10000;
      r.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      r.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      r.push_back(static_cast<char16_t>(c));
    }
  }
  return r;
}

}  // namespace dk_streaming
