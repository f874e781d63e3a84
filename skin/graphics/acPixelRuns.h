// The inner loops of the 32-bit painting, one run of pixels of a row at a
// time. Each is written once in scalar form, which packs red and blue into
// one word (0x00RR00BB) and green into another so that a channel times a
// weight below 256 stays inside its 16 bits, and once for vectors of pixels
// with their channels as 16-bit lanes (acPixelRunsBody.inc, built for SSE2
// and for AVX2). The widest form the processor has runs; all give the same
// bytes, and the pixels left over after the last full vector take the scalar
// form.
#pragma once

#include <cstdint>

namespace acpixel {

constexpr std::uint32_t kRedBlue = 0x00FF00FFu, kGreen = 0x0000FF00u, kColour = 0x00FFFFFFu, kAlpha = 0xFF000000u;

// Colour channels times W (0..256) shr 8, packed; alpha dropped.
inline std::uint32_t Scale(std::uint32_t V, std::uint32_t W) {
  return ((((V & kRedBlue) * W) >> 8) & kRedBlue) | ((((V & kGreen) * W) >> 8) & kGreen);
}
// Colour channels (A * WA + B * WB) shr 8 with WA + WB <= 256, packed; alpha dropped.
inline std::uint32_t Mix(std::uint32_t A, std::uint32_t WA, std::uint32_t B, std::uint32_t WB) {
  const std::uint32_t rb = ((A & kRedBlue) * WA + (B & kRedBlue) * WB) >> 8;
  const std::uint32_t g = ((A & kGreen) * WA + (B & kGreen) * WB) >> 8;
  return (rb & kRedBlue) | (g & kGreen);
}

// Count copies of Value from P.
void Fill(std::uint32_t* P, int Count, std::uint32_t Value);
// Every pixel premultiplied: colour channels c * alpha shr 8, alpha kept.
void PremultiplyRun(std::uint32_t* P, int Count);
// Every pixel moved Percent % (0..100) toward the colour Target (pixel
// order): c - ((c - t) * Percent) div 100 per channel, the division truncating
// toward zero; the alpha byte becomes Alpha's top byte.
void BlendTowardRun(std::uint32_t* P, int Count, std::uint32_t Target, int Percent, std::uint32_t Alpha);

// The vector width in use: the widest the processor has, or a narrower one a
// test asks for to check each form against the same rules.
enum class TRunLevel { Scalar, Sse2, Avx2 };
TRunLevel RunLevel();
// Sets the level (limited to what the processor has); answers the old one.
TRunLevel SetRunLevel(TRunLevel Level);

}  // namespace acpixel
