#include "classlib/core/PixelView.h"

#include <algorithm>

namespace {

std::uint32_t Channel(std::uint32_t Pixel, int Shift) { return (Pixel >> Shift) & 0xFF; }

// Value * Factor / 255, rounded to the nearest.
std::uint32_t Scale(std::uint32_t Value, std::uint32_t Factor) { return (Value * Factor + 127) / 255; }

template <class F>
void ForEach(const TPixelView32& View, F&& Change) {
  if (View.Empty()) return;
  for (int y = 0; y < View.Height; ++y) {
    std::uint32_t* row = View.Row(y);
    for (int x = 0; x < View.Width; ++x) row[x] = Change(row[x]);
  }
}

}  // namespace

std::uint32_t PremultipliedPixel(std::uint32_t Pixel) {
  std::uint32_t a = Channel(Pixel, 24);
  return Scale(Channel(Pixel, 0), a) | Scale(Channel(Pixel, 8), a) << 8 | Scale(Channel(Pixel, 16), a) << 16 |
         a << 24;
}

std::uint32_t UnpremultipliedPixel(std::uint32_t Pixel) {
  std::uint32_t a = Channel(Pixel, 24);
  if (a == 0) return 0;
  auto back = [a](std::uint32_t c) { return std::min<std::uint32_t>(255, (c * 255 + a / 2) / a); };
  return back(Channel(Pixel, 0)) | back(Channel(Pixel, 8)) << 8 | back(Channel(Pixel, 16)) << 16 | a << 24;
}

std::uint32_t BlendOver(std::uint32_t Destination, std::uint32_t PremultipliedSource) {
  std::uint32_t keep = 255 - Channel(PremultipliedSource, 24);
  std::uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8)
    out |= std::min<std::uint32_t>(255, Channel(PremultipliedSource, shift) + Scale(Channel(Destination, shift), keep))
           << shift;
  return out;
}

void FillPixels(const TPixelView32& View, std::uint32_t Pixel) {
  ForEach(View, [Pixel](std::uint32_t) { return Pixel; });
}

void Premultiply(const TPixelView32& View) { ForEach(View, &PremultipliedPixel); }

void Unpremultiply(const TPixelView32& View) { ForEach(View, &UnpremultipliedPixel); }

void BlendOnto(const TPixelView32& Destination, const TPixelView32& Source, int X, int Y) {
  if (Destination.Empty() || Source.Empty()) return;
  int x0 = std::max(0, X), y0 = std::max(0, Y);
  int x1 = std::min(Destination.Width, X + Source.Width), y1 = std::min(Destination.Height, Y + Source.Height);
  for (int y = y0; y < y1; ++y) {
    std::uint32_t* d = Destination.Row(y);
    const std::uint32_t* s = Source.Row(y - Y);
    for (int x = x0; x < x1; ++x) d[x] = BlendOver(d[x], s[x - X]);
  }
}
