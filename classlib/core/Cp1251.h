// Code page 1251 (Cyrillic) tables and a compile-time literal for 8-bit text.
//
//   AnsiString s = "Ошибка записи INI-файла!"_cp;   // UTF-8 source -> cp1251 bytes
//   const char* z = "Ошибка"_cpz;                    // the same, as a static zero-terminated text
//
// The literal is converted while compiling; a character that code page 1251
// cannot hold (or malformed UTF-8) stops the compilation.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace dk_cp1251 {

// Unicode code points of the bytes 0x80..0xFF. 0x98 has no character in the
// code page; it is carried through as U+0098 so that every byte round-trips.
inline constexpr char16_t kHigh[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // F8
};

constexpr char16_t ToUnicode(unsigned char b) { return b < 0x80 ? char16_t(b) : kHigh[b - 0x80]; }

// Byte for a code point, or -1 when the code page has none.
constexpr int FromUnicode(char32_t c) {
  if (c < 0x80) return int(c);
  if (c >= 0x0410 && c <= 0x044F) return int(c - 0x0410 + 0xC0);
  for (int i = 0; i < 64; ++i)
    if (kHigh[i] == c) return 0x80 + i;
  return -1;
}

// Decodes one UTF-8 sequence at s[i] (advancing i); returns 0xFFFFFFFF on a
// malformed sequence (the caller decides what that means).
constexpr char32_t DecodeUtf8(const char* s, std::size_t n, std::size_t& i) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  if (c < 0x80) { ++i; return c; }
  int len = 0;
  char32_t cp = 0;
  if ((c & 0xE0) == 0xC0) { len = 2; cp = c & 0x1F; }
  else if ((c & 0xF0) == 0xE0) { len = 3; cp = c & 0x0F; }
  else if ((c & 0xF8) == 0xF0) { len = 4; cp = c & 0x07; }
  else { ++i; return 0xFFFFFFFFu; }
  if (i + std::size_t(len) > n) { i = n; return 0xFFFFFFFFu; }
  for (int k = 1; k < len; ++k) {
    unsigned char d = static_cast<unsigned char>(s[i + std::size_t(k)]);
    if ((d & 0xC0) != 0x80) { i += std::size_t(k); return 0xFFFFFFFFu; }
    cp = (cp << 6) | (d & 0x3F);
  }
  i += std::size_t(len);
  if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) || cp > 0x10FFFF ||
      (cp >= 0xD800 && cp <= 0xDFFF))
    return 0xFFFFFFFFu;
  return cp;
}

template <std::size_t N>
struct Utf8Text {
  char data[N]{};
  constexpr Utf8Text(const char (&s)[N]) {
    for (std::size_t i = 0; i < N; ++i) data[i] = s[i];
  }
};

// Reached only while compiling a literal that cannot be converted: calling a
// non-constexpr function in a constant expression is the compile error.
inline void literal_has_a_character_outside_code_page_1251() {}

template <std::size_t N>
constexpr std::size_t EncodedLength(const Utf8Text<N>& t) {
  std::size_t n = N - 1, i = 0, count = 0;
  while (i < n) {
    char32_t cp = DecodeUtf8(t.data, n, i);
    if (cp == 0xFFFFFFFFu || FromUnicode(cp) < 0) literal_has_a_character_outside_code_page_1251();
    ++count;
  }
  return count;
}

template <Utf8Text T>
struct Encoded {
  static constexpr std::size_t size = EncodedLength(T);
  static constexpr std::array<char, size + 1> bytes = [] {
    std::array<char, size + 1> out{};
    std::size_t n = sizeof(T.data) - 1, i = 0, o = 0;
    while (i < n) out[o++] = static_cast<char>(FromUnicode(DecodeUtf8(T.data, n, i)));
    return out;
  }();
};

}  // namespace dk_cp1251

template <dk_cp1251::Utf8Text T>
inline std::string operator""_cp() {
  using E = dk_cp1251::Encoded<T>;
  return std::string(E::bytes.data(), E::size);
}

template <dk_cp1251::Utf8Text T>
constexpr const char* operator""_cpz() {
  return dk_cp1251::Encoded<T>::bytes.data();
}
