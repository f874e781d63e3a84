// Builds small PNG streams for the reader's tests: chunks with their CRC,
// image data compressed by zlib.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pngtest {

using Bytes = std::string;

inline Bytes BE32(std::uint32_t v) {
  return Bytes{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

inline Bytes Chunk(const std::string& type, const Bytes& data) {
  Bytes body = type + data;
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
  return BE32(static_cast<std::uint32_t>(data.size())) + body + BE32(static_cast<std::uint32_t>(crc));
}

inline Bytes Signature() { return Bytes("\x89PNG\r\n\x1a\n", 8); }

inline Bytes IHDR(std::uint32_t w, std::uint32_t h, int depth, int colorType, int interlace = 0) {
  return Chunk("IHDR", BE32(w) + BE32(h) + Bytes{char(depth), char(colorType), 0, 0, char(interlace)});
}

inline Bytes Compress(const Bytes& raw) {
  uLongf n = compressBound(static_cast<uLong>(raw.size()));
  Bytes out(n, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &n, reinterpret_cast<const Bytef*>(raw.data()),
            static_cast<uLong>(raw.size()), 6);
  out.resize(n);
  return out;
}

// A whole PNG: header, the chunks before the image data, the compressed
// scanlines (filter bytes included) in one IDAT, IEND.
inline Bytes Png(std::uint32_t w, std::uint32_t h, int depth, int colorType, const Bytes& scanlines,
                 const Bytes& before = Bytes(), int interlace = 0) {
  return Signature() + IHDR(w, h, depth, colorType, interlace) + before + Chunk("IDAT", Compress(scanlines)) +
         Chunk("IEND", "");
}

}  // namespace pngtest
