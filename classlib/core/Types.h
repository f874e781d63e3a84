// Geometry of the user interface: points, sizes and rectangles. The layouts
// equal the platform's POINT, SIZE and RECT (32-bit fields), so they can be
// handed to it as they are.
#pragma once

#include <cstdint>

struct TPoint {
  std::int32_t X = 0, Y = 0;
  bool operator==(const TPoint&) const = default;
};

struct TSize {
  std::int32_t cx = 0, cy = 0;
  bool operator==(const TSize&) const = default;
};

struct TRect {
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  std::int32_t Width() const { return Right - Left; }
  std::int32_t Height() const { return Bottom - Top; }
  TPoint TopLeft() const { return {Left, Top}; }
  TPoint BottomRight() const { return {Right, Bottom}; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  void Offset(std::int32_t dx, std::int32_t dy) { Left += dx; Right += dx; Top += dy; Bottom += dy; }
  bool operator==(const TRect&) const = default;
};

inline TPoint Point(std::int32_t x, std::int32_t y) { return {x, y}; }
inline TRect Rect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
  return {left, top, right, bottom};
}
inline TRect Bounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) {
  return {left, top, left + width, top + height};
}
// Intersection; false (and an empty rectangle) when they do not meet.
inline bool IntersectRect(TRect& out, const TRect& a, const TRect& b) {
  out = {a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top,
         a.Right < b.Right ? a.Right : b.Right, a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
  if (out.IsEmpty()) {
    out = {};
    return false;
  }
  return true;
}
