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

// What a masked copy does with a key pixel of its source (0x00FF00FF): take
// the pixel of a background row where that row has one (Row[Offset + x] for
// run index x, Offset + x within 0 .. Width - 1; elsewhere the destination
// stays), or clear the destination's alpha, or leave it.
struct TKeyFill {
  enum TMode { Leave, FromRow, ClearAlpha } Mode = Leave;
  const std::uint32_t* Row = nullptr;
  int Offset = 0, Width = 0;
};
constexpr std::uint32_t kKeyPixel = 0x00FF00FFu;

// One pixel of a masked copy: m the mask's red byte, the source weighted
// w = ((255 - m) * A) shr 8 (A 0..256), colours (D * (255 - w) + S * w) shr 8,
// alpha max(D's, 255 - m).
inline std::uint32_t MaskBlend(std::uint32_t D, std::uint32_t S, std::uint32_t K, std::uint32_t A) {
  const std::uint32_t inv = 255 - ((K >> 16) & 0xFF), w = (inv * A) >> 8, alpha = D >> 24;
  return Mix(D, 255 - w, S, w) | ((alpha > inv ? alpha : inv) << 24);
}
inline std::uint32_t MaskPixel(std::uint32_t D, std::uint32_t S, std::uint32_t K, std::uint32_t A,
                               const TKeyFill& Key, int X) {
  if (S != kKeyPixel) return MaskBlend(D, S, K, A);
  switch (Key.Mode) {
    case TKeyFill::FromRow: {
      const int at = Key.Offset + X;
      return at >= 0 && at < Key.Width ? Key.Row[at] : D;
    }
    case TKeyFill::ClearAlpha:
      return D & kColour;
    default:
      return D;
  }
}

// Each colour channel (D * k + S * (256 - k)) shr 8 with k that channel of
// the mask K; alpha dropped.
inline std::uint32_t ChannelMaskBlend(std::uint32_t D, std::uint32_t S, std::uint32_t K) {
  std::uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const std::uint32_t d = (D >> shift) & 0xFF, s = (S >> shift) & 0xFF, k = (K >> shift) & 0xFF;
    out |= ((d * k + s * (256 - k)) >> 8) << shift;
  }
  return out;
}

// Count copies of Value from P.
void Fill(std::uint32_t* P, int Count, std::uint32_t Value);
// Every pixel premultiplied: colour channels c * alpha shr 8, alpha kept.
void PremultiplyRun(std::uint32_t* P, int Count);
// Every pixel moved Percent % (0..100) toward the colour Target (pixel
// order): c - ((c - t) * Percent) div 100 per channel, the division truncating
// toward zero; the alpha byte becomes Alpha's top byte.
void BlendTowardRun(std::uint32_t* P, int Count, std::uint32_t Target, int Percent, std::uint32_t Alpha);

// A masked copy of a run: destination D, source S, mask K (MaskPixel per pixel).
void MaskBlendRun(std::uint32_t* D, const std::uint32_t* S, const std::uint32_t* K, int Count, std::uint32_t A,
                  const TKeyFill& Key);

// The vector width in use: the widest the processor has, or a narrower one a
// test asks for to check each form against the same rules.
enum class TRunLevel { Scalar, Sse2, Avx2 };
TRunLevel RunLevel();
// Sets the level (limited to what the processor has); answers the old one.
TRunLevel SetRunLevel(TRunLevel Level);

}  // namespace acpixel
