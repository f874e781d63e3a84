#include "skin/graphics/sAlphaGraph.h"

#include <algorithm>

#include "skin/graphics/acBitmap.h"

namespace {
// R cut to the bitmap's rows.
TRect CutTo(const TPixelView32& rows, const TRect& R) {
  return TRect{std::max(R.Left, 0), std::max(R.Top, 0), std::min(R.Right, rows.Width), std::min(R.Bottom, rows.Height)};
}
}  // namespace

TsColor GetAPixel(TacBitmap* Bmp, Integer X, Integer Y) {
  const TPixelView32 rows = PixelsOf(Bmp);
  if (!rows.Inside(X, Y))
    throw EInvalidGraphicOperation("Scan line index out of range");
  TsColor c;
  c.C = rows.Row(Y)[X];
  return c;
}

void SetAPixel(TacBitmap* Bmp, Integer X, Integer Y, TsColor Pixel) {
  const TPixelView32 rows = PixelsOf(Bmp);
  if (!rows.Inside(X, Y))
    throw EInvalidGraphicOperation("Scan line index out of range");
  rows.Row(Y)[X] = Pixel.C;
}

void FillLongword(std::uint32_t* Dest, Integer Count, std::uint32_t Value) {
  if (Count > 0) std::fill_n(Dest, Count, Value);
}

void UpdateAlpha(TacBitmap* Bmp) { UpdateAlpha(Bmp, Rect(0, 0, BitmapWidth(Bmp), BitmapHeight(Bmp))); }

void UpdateAlpha(TacBitmap* Bmp, const TRect& R) {
  const TPixelView32 rows = PixelsOf(Bmp);
  if (rows.Empty()) return;
  const TRect c = CutTo(rows, R);
  for (int y = c.Top; y < c.Bottom; ++y) {
    std::uint32_t* row = rows.Row(y);
    for (int x = c.Left; x < c.Right; ++x) {
      std::uint32_t p = row[x];
      if (p == 0x00FFFFFFu) {
        row[x] = 0;
        continue;
      }
      const std::uint32_t a = p >> 24;
      row[x] = (p & 0xFF000000u) | ((((p >> 16) & 0xFF) * a >> 8) << 16) | ((((p >> 8) & 0xFF) * a >> 8) << 8) |
               ((p & 0xFF) * a >> 8);
    }
  }
}

void FillAlphaRect(TacBitmap* Bmp, const TRect& R, Byte Alpha, TColor Except) {
  const TPixelView32 rows = PixelsOf(Bmp);
  if (rows.Empty()) return;
  const TRect c = CutTo(rows, R);
  const bool all = Except == clNoColor;
  const std::uint32_t except = static_cast<std::uint32_t>(Except);
  for (int y = c.Top; y < c.Bottom; ++y) {
    std::uint32_t* row = rows.Row(y);
    for (int x = c.Left; x < c.Right; ++x)
      if (all || row[x] != except) row[x] = (row[x] & 0x00FFFFFFu) | (std::uint32_t(Alpha) << 24);
  }
}

void UpdateTransPixels(TacBitmap* Bmp) {
  const TPixelView32 rows = PixelsOf(Bmp);
  if (rows.Empty()) return;
  for (int y = 0; y < rows.Height; ++y) {
    std::uint32_t* row = rows.Row(y);
    for (int x = 0; x < rows.Width; ++x)
      if (row[x] == 0x00FFFFFFu) row[x] = 0;
  }
}
