// Pixel primitives: single pixels, fills, alpha and colour blends of
// rectangles. The long loops run row by row through the run kernels of
// acPixelRuns.h; blends of one colour map each channel value through a table.
#include "skin/graphics/sAlphaGraph.h"

#include <algorithm>

#include "skin/graphics/acBitmap.h"
#include "skin/graphics/acPixelRuns.h"
#include "skin/graphics/acSysColors.h"

namespace {

constexpr std::uint32_t kColour = 0x00FFFFFFu;

// R cut to the bitmap (right and bottom exclusive); empty rectangles stay empty.
TRect CutTo(const TPixelView32& rows, const TRect& R) {
  return TRect{std::max(R.Left, 0), std::max(R.Top, 0), std::min(R.Right, rows.Width), std::min(R.Bottom, rows.Height)};
}

// One byte per channel mapped through a table, the tables' values already
// shifted to their channel's place.
struct TChannelMaps {
  std::uint32_t Blue[256], Green[256], Red[256];
  std::uint32_t Map(std::uint32_t p) const { return Blue[p & 0xFF] | Green[(p >> 8) & 0xFF] | Red[(p >> 16) & 0xFF]; }
};

// Fills the maps with F(channel value, target channel value) for a colour in
// pixel order.
template <class Func>
void BuildMaps(TChannelMaps& m, std::uint32_t pixel, Func f) {
  const int target[3] = {int(pixel & 0xFF), int((pixel >> 8) & 0xFF), int((pixel >> 16) & 0xFF)};
  for (int c = 0; c < 256; ++c) {
    m.Blue[c] = std::uint32_t(f(c, target[0]));
    m.Green[c] = std::uint32_t(f(c, target[1])) << 8;
    m.Red[c] = std::uint32_t(f(c, target[2])) << 16;
  }
}

template <class Func>
void MapRect(const TPixelView32& rows, const TRect& c, const TChannelMaps& maps, Func alpha) {
  for (int y = c.Top; y < c.Bottom; ++y) {
    std::uint32_t* p = rows.Row(y) + c.Left;
    for (int n = c.Right - c.Left; n > 0; --n, ++p) *p = maps.Map(*p) | alpha(*p);
  }
}

// Value / 100 rounded to the nearest integer, ties to even (any sign).
int RoundDiv100(int value) {
  int q = value / 100, r = value % 100;
  if (r < 0) {
    r += 100;
    --q;
  }
  if (r > 50 || (r == 50 && (q & 1))) ++q;
  return q;
}

std::uint32_t PixelOf(TColor Color, Byte Alpha) {
  return (static_cast<std::uint32_t>(SwapRedBlue(Color)) & kColour) | (std::uint32_t(Alpha) << 24);
}

}  // namespace

// ------------------------------------------------------------ single pixels

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

void FillLongword(std::uint32_t* Dest, Integer Count, std::uint32_t Value) { acpixel::Fill(Dest, Count, Value); }

// ------------------------------------------------------------ alpha

void UpdateAlpha(TacBitmap* Bmp) { UpdateAlpha(Bmp, Rect(0, 0, BitmapWidth(Bmp), BitmapHeight(Bmp))); }

void UpdateAlpha(TacBitmap* Bmp, const TRect& R) {
  const TPixelView32 rows = PixelsOf(Bmp);
  if (rows.Empty()) return;
  const TRect c = CutTo(rows, R);
  // White with alpha 0 becomes 0 like every pixel of alpha 0.
  for (int y = c.Top; y < c.Bottom; ++y) acpixel::PremultiplyRun(rows.Row(y) + c.Left, c.Right - c.Left);
}

void FillAlphaRect(TacBitmap* Bmp, const TRect& R, Byte Alpha, TColor Except) {
  const TPixelView32 rows = PixelsOf(Bmp);
  if (rows.Empty()) return;
  const TRect c = CutTo(rows, R);
  const bool all = Except == clNoColor;
  const std::uint32_t except = static_cast<std::uint32_t>(Except), alpha = std::uint32_t(Alpha) << 24;
  for (int y = c.Top; y < c.Bottom; ++y) {
    std::uint32_t* row = rows.Row(y);
    for (int x = c.Left; x < c.Right; ++x)
      if (all || row[x] != except) row[x] = (row[x] & kColour) | alpha;
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

// ------------------------------------------------------------ fills and blends

void FillRect32(TacBitmap* Bmp, const TRect& R, TColor Color, Byte Alpha) {
  const TPixelView32 rows = PixelsOf(Bmp);
  if (rows.Empty()) return;
  const TRect c = CutTo(rows, R);
  const std::uint32_t value = PixelOf(Color, Alpha);
  for (int y = c.Top; y < c.Bottom; ++y) FillLongword(rows.Row(y) + c.Left, c.Right - c.Left, value);
}

void BlendColorRect32(TacBitmap* Bmp, const TRect& R, TColor Color, Byte Percent, Byte Alpha) {
  const TPixelView32 rows = PixelsOf(Bmp);
  if (rows.Empty()) return;
  const TRect c = CutTo(rows, R);
  const std::uint32_t target = PixelOf(Color, 0), alpha = std::uint32_t(Alpha) << 24;
  const int percent = std::min<int>(Percent, 100);
  for (int y = c.Top; y < c.Bottom; ++y)
    acpixel::BlendTowardRun(rows.Row(y) + c.Left, c.Right - c.Left, target, percent, alpha);
}

void BlendColorRect(TacBitmap* Bmp, const TRect& R, Byte Transparency, TColor Color) {
  const TPixelView32 rows = PixelsOf(Bmp);
  if (rows.Empty()) return;
  // Right and bottom inclusive, cut to the last column and row.
  const TRect c{std::max(R.Left, 0), std::max(R.Top, 0), std::min(R.Right, rows.Width - 1) + 1,
                std::min(R.Bottom, rows.Height - 1) + 1};
  if (c.IsEmpty()) return;
  const int t = Transparency;
  TChannelMaps maps;
  BuildMaps(maps, PixelOf(acColorToRGB(Color), 0),
            [t](int v, int target) { return std::clamp(RoundDiv100(v * t + target * (100 - t)), 0, 255); });
  MapRect(rows, c, maps, [](std::uint32_t v) { return v & 0xFF000000u; });
}

void FillDCBorder32(TacBitmap* Bmp, const TRect& R, Integer WidthLeft, Integer WidthTop, Integer WidthRight,
                    Integer WidthBottom, TColor Color) {
  FillRect32(Bmp, Rect(R.Left, R.Top, R.Right, R.Top + WidthTop), Color, 255);
  FillRect32(Bmp, Rect(R.Left, R.Top + WidthTop, R.Left + WidthLeft, R.Bottom), Color, 255);
  FillRect32(Bmp, Rect(R.Left + WidthLeft, R.Bottom - WidthBottom, R.Right, R.Bottom), Color, 255);
  FillRect32(Bmp, Rect(R.Right - WidthRight, R.Top + WidthTop, R.Right, R.Bottom - WidthBottom), Color, 255);
}
