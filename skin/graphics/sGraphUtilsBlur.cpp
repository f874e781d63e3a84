// The blurs: a flat kernel over 8-bit masks (as a moving sum), a three-pixel
// average over 32-bit pictures with alpha, and the glow laid from a mask.
#include <algorithm>
#include <cmath>
#include <vector>

#include "skin/graphics/sGraphUtils.h"
#include "skin/graphics/sGraphUtilsPixels.h"

using namespace gutils;

namespace {

constexpr int kMaxKernel = 16;

// Half the width of Blur8's kernel for a radius: the raw weights
// Round(exp(-(j / r)^2 / 2)) of the offsets -16..16 are 0 or 1 (the kernel is
// flat); after normalising, the tail below 1 / 510 is cut.
int KernelSize(double Radius) {
  double raw[2 * kMaxKernel + 1];
  double sum = 0;
  for (int j = -kMaxKernel; j <= kMaxKernel; ++j) {
    const double x = j / Radius;
    raw[j + kMaxKernel] = std::nearbyint(std::exp(-x * x / 2));
    sum += raw[j + kMaxKernel];
  }
  if (raw[kMaxKernel + 1] == 0) return 0;
  int size = kMaxKernel;
  double tail = 0;
  while (tail < 1.0 / 510 && size > 1) {
    tail += 2 * static_cast<double>(static_cast<float>(raw[size + kMaxKernel] / sum));
    --size;
  }
  return size;
}

// One line of N bytes (Step apart) blurred with 2 * Size + 1 equal taps.
// The weighted sum of equal weights is the moving sum of the line divided
// by the tap count; the quotients come from a table.
class TFlatBlur {
 public:
  explicit TFlatBlur(int Size) : FSize(Size), FTaps(2 * Size + 1), FQuotient(static_cast<size_t>(FTaps) * 255 + 1) {
    for (size_t s = 0; s < FQuotient.size(); ++s) FQuotient[s] = static_cast<Byte>(s / static_cast<size_t>(FTaps));
  }

  void Line(Byte* First, std::ptrdiff_t Step, int N) {
    FLine.resize(static_cast<size_t>(N));
    for (int i = 0; i < N; ++i) FLine[static_cast<size_t>(i)] = First[i * Step];
    auto at = [&](int i) -> int { return FLine[static_cast<size_t>(std::clamp(i, 0, N - 1))]; };
    int sum = 0;
    for (int t = -FSize; t <= FSize; ++t) sum += at(t);
    for (int i = 0; i < N; ++i) {
      First[i * Step] = FQuotient[static_cast<size_t>(sum)];
      sum += at(i + FSize + 1) - at(i - FSize);
    }
  }

 private:
  int FSize, FTaps;
  std::vector<Byte> FQuotient, FLine;
};

}  // namespace

void Blur8(TacBitmap* Bmp, double Radius) {
  if (!(Radius > 0) || BitmapFormat(Bmp) != pf8bit) return;
  Byte* first;
  std::ptrdiff_t delta;
  if (!BitmapRows(Bmp, first, delta)) return;
  const int w = BitmapWidth(Bmp), h = BitmapHeight(Bmp);
  const int size = KernelSize(Radius);
  if (size == 0) return;
  TFlatBlur blur(size);
  for (int y = 0; y < h; ++y) blur.Line(first + y * delta, 1, w);
  for (int x = 0; x < w; ++x) blur.Line(first + x, delta, h);
}

namespace {
struct TSums {
  std::uint32_t B = 0, G = 0, R = 0, A = 0;
  void AddThird(std::uint32_t P, std::uint32_t Div) {
    B += Channel(P, 0) / Div;
    G += Channel(P, 1) / Div;
    R += Channel(P, 2) / Div;
    A += Channel(P, 3) / Div;
  }
};

// The new pixel at I of a line of N pixels (Line holds the old ones).
std::uint32_t QBlurPixel(const std::uint32_t* Line, int N, int I) {
  TSums s, f;
  int missing = 0;
  std::uint32_t last = 0;
  for (int p = I + 1; p >= I - 1; --p) {
    if (p >= 0 && p < N && (Line[p] >> 24) > 0) {
      const std::uint32_t c = Line[p];
      s.AddThird(c, 3);
      s.A += 1;
      last = c;
    } else if ((last >> 24) > 0) {
      f.AddThird(last, 3);
    } else {
      ++missing;
    }
  }
  if (missing > 0 && (last >> 24) > 0) f.AddThird(last, 3 * static_cast<std::uint32_t>(missing));
  if (f.A != 0) {
    s.B += f.B;
    s.G += f.G;
    s.R += f.R;
  }
  if (s.A == 0) return 0;
  return std::min(255u, s.B) | (std::min(255u, s.G) << 8) | (std::min(255u, s.R) << 16) | (std::min(255u, s.A) << 24);
}

void QBlurLine(std::uint32_t* First, std::ptrdiff_t Step, int N, std::vector<std::uint32_t>& Old) {
  Old.resize(static_cast<size_t>(N));
  for (int i = 0; i < N; ++i) Old[static_cast<size_t>(i)] = First[i * Step];
  for (int i = 0; i < N; ++i) First[i * Step] = QBlurPixel(Old.data(), N, i);
}
}  // namespace

void QBlur(TacBitmap* Bmp) {
  const TPixelView32 v = PixelsOf(Bmp);
  if (v.Empty()) return;
  std::vector<std::uint32_t> line;
  for (int y = 0; y < v.Height; ++y) QBlurLine(v.Row(y), 1, v.Width, line);
  const std::ptrdiff_t step = v.Delta / 4;
  for (int x = 0; x < v.Width; ++x) QBlurLine(v.Row(0) + x, step, v.Height, line);
}

void acPaintGlowMask(TacBitmap* Dst, TacBitmap* Mask, Integer X, Integer Y, TColor Color) {
  const TPixelView32 d = PixelsOf(Dst);
  Byte* first;
  std::ptrdiff_t delta;
  if (d.Empty() || BitmapFormat(Mask) != pf8bit || !BitmapRows(Mask, first, delta)) return;
  const std::uint32_t glow = ColorPixel(Color);
  const int w = BitmapWidth(Mask), h = BitmapHeight(Mask);
  for (int my = std::max(0, -Y); my < h && Y + my < d.Height; ++my) {
    const Byte* mask = first + my * delta;
    std::uint32_t* out = d.Row(Y + my);
    for (int mx = std::max(0, -X); mx < w && X + mx < d.Width; ++mx) {
      const std::uint32_t v = mask[mx];
      if (v == 255) continue;
      const std::uint32_t p = out[X + mx], pa = p >> 24;
      std::uint32_t q = (pa + (((255 - pa) * (255 - v)) >> 8)) << 24;
      for (int n = 0; n < 3; ++n) q |= (((255 - v) * Channel(glow, n) + Channel(p, n) * v) >> 8) << (8 * n);
      out[X + mx] = q;
    }
  }
}
