// One view of 32-bit pixels, whatever holds them: a Windows bitmap's section
// (rows bottom-up), a plain buffer in memory (rows top-down). Pixel code is
// written once against the view and tested natively.
//
// A pixel is 32 bits: blue in the low byte, then green, red and alpha (the
// order of a device independent bitmap). "Premultiplied" pixels carry their
// colour already multiplied by their alpha, as alpha blending takes them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "classlib/core/System.h"

struct TPixelView32 {
  Byte* First = nullptr;        // the top row
  std::ptrdiff_t Delta = 0;     // bytes from one row to the next (negative: rows bottom-up in memory)
  int Width = 0, Height = 0;

  bool Empty() const { return !First || Width <= 0 || Height <= 0; }
  bool Inside(int X, int Y) const { return X >= 0 && Y >= 0 && X < Width && Y < Height; }
  std::uint32_t* Row(int Y) const { return reinterpret_cast<std::uint32_t*>(First + Y * Delta); }
  std::uint32_t& At(int X, int Y) const { return Row(Y)[X]; }
};

constexpr std::uint32_t PixelBGRA(Byte Blue, Byte Green, Byte Red, Byte Alpha) {
  return Blue | (Green << 8) | (Red << 16) | (std::uint32_t(Alpha) << 24);
}
constexpr Byte PixelAlpha(std::uint32_t Pixel) { return static_cast<Byte>(Pixel >> 24); }

// The colour multiplied by the pixel's alpha (rounded to the nearest).
std::uint32_t PremultipliedPixel(std::uint32_t Pixel);
// The colour divided by the alpha again (0 for a pixel of alpha 0).
std::uint32_t UnpremultipliedPixel(std::uint32_t Pixel);
// Source over destination, the source premultiplied.
std::uint32_t BlendOver(std::uint32_t Destination, std::uint32_t PremultipliedSource);

void FillPixels(const TPixelView32& View, std::uint32_t Pixel);
void Premultiply(const TPixelView32& View);
void Unpremultiply(const TPixelView32& View);
// Blends Source (premultiplied) over Destination with its top left corner at
// (X, Y); what falls outside Destination is left out.
void BlendOnto(const TPixelView32& Destination, const TPixelView32& Source, int X, int Y);
