// What the pixel loops of the graphics utilities share: the area of a copy
// between two bitmaps, the parent's pixel behind a destination pixel, and
// channel blends on whole 32-bit pixels. (Not part of the unit's interface.)
#pragma once

#include <algorithm>
#include <cstdint>

#include "classlib/core/PixelView.h"
#include "classlib/core/Types.h"
#include "skin/core/sConst.h"
#include "skin/graphics/acPieceWalk.h"

namespace gutils {

inline constexpr std::uint32_t kKeyPixel = 0x00FF00FFu;

// The smaller of the two rectangles (right and bottom exclusive) copied
// pixel for pixel, cut to both bitmaps.
inline TacPieceWalk CopyArea(const TPixelView32& Dst, const TRect& DstR, const TPixelView32& Src, const TRect& SrcR) {
  return PlanPieceWalk(DstR, SrcR, Dst, Src, std::min(DstR.Width(), SrcR.Width()), std::min(DstR.Height(), SrcR.Height()));
}

// The rectangle of Src given with its right and bottom inclusive, placed at
// (X, Y) of Dst: a negative top or left becomes 0 and moves the destination
// by as much, right and bottom are cut to the source and the area to Dst.
inline TacPieceWalk InclusiveArea(const TPixelView32& Dst, int X, int Y, const TPixelView32& Src, TRect R) {
  R.Right = std::min(R.Right, Src.Width - 1) + 1;
  R.Bottom = std::min(R.Bottom, Src.Height - 1) + 1;
  return CopyArea(Dst, Rect(X, Y, X + R.Width(), Y + R.Height()), Src, R);
}

// F(destination pixel, source pixel, x, y) for every pixel of a walk, x and
// y counted from the walk's start.
template <class Fn>
void WalkPixels(const TPixelView32& Dst, const TPixelView32& Src, const TacPieceWalk& A, Fn F) {
  for (int y = 0; y < A.Rows; ++y) {
    const std::uint32_t* in = Src.Row(A.SrcY + y) + A.SrcX;
    std::uint32_t* out = Dst.Row(A.DstY + y) + A.DstX;
    for (int x = 0; x < A.Cols; ++x) F(out[x], in[x], x, y);
  }
}

// The parent's pixel behind destination pixel (X, Y): the pixel of CI's
// image at (CI.X + X, CI.Y + Y); false when CI has no 32-bit image or the
// point lies outside it.
inline bool ParentPixel(const TPixelView32& Parent, const TCacheInfo& CI, int X, int Y, std::uint32_t& Pixel) {
  const int px = CI.X + X, py = CI.Y + Y;
  if (!Parent.Inside(px, py)) return false;
  Pixel = Parent.At(px, py);
  return true;
}

// (A * W + B * (256 - W)) shr 8 in blue, green and red at once (W 0..256);
// the alpha byte of the result is 0.
inline std::uint32_t MixRGB(std::uint32_t A, std::uint32_t B, std::uint32_t W) {
  const std::uint32_t rb = (((A & 0xFF00FFu) * W + (B & 0xFF00FFu) * (256 - W)) >> 8) & 0xFF00FFu;
  const std::uint32_t g = (((A & 0xFF00u) * W + (B & 0xFF00u) * (256 - W)) >> 8) & 0xFF00u;
  return rb | g;
}

// D := (D * W + S * (256 - W)) shr 8 in blue, green and red of N pixels, D's
// alpha kept (W 0..256); on vectors of pixels as wide as the processor
// allows (sGraphUtilsRuns.cpp).
void BlendRowKeepAlpha(std::uint32_t* D, const std::uint32_t* S, int N, std::uint32_t W);

inline Byte Channel(std::uint32_t Pixel, int N) { return static_cast<Byte>(Pixel >> (8 * N)); }
inline std::uint32_t WithAlpha(std::uint32_t Pixel, std::uint32_t Alpha) { return (Pixel & 0x00FFFFFFu) | (Alpha << 24); }
// A colour (red in the low byte) as a pixel value: red and blue exchanged,
// the top byte kept.
inline std::uint32_t ColorPixel(TColor Color) {
  const std::uint32_t c = static_cast<std::uint32_t>(Color);
  return (c & 0xFF00FF00u) | ((c & 0xFFu) << 16) | ((c >> 16) & 0xFFu);
}

}  // namespace gutils
