// Resampling of 32-bit bitmaps with a choice of filters: one list of
// contributors per destination column and row, then a horizontal pass into a
// temporary buffer and a vertical pass into the destination. Both passes run
// over whole lines (the horizontal one over the columns, turned into lines).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "skin/graphics/sGraphUtils.h"

namespace {

// The filters' supports and kernels: kernels are evaluated in extended
// precision and kept as single-precision values.
struct TFilter {
  float Support;
  float (*Kernel)(float X);  // X is the signed, scaled distance
};

long double Abs(float X) { return std::fabs(static_cast<long double>(X)); }

float BoxKernel(float X) { return X > -0.5f && X <= 0.5f ? 1.0f : 0.0f; }
float TriangleKernel(float X) {
  const long double x = Abs(X);
  return x < 1 ? static_cast<float>(1 - x) : 0.0f;
}
float HermiteKernel(float X) {
  const long double x = Abs(X);
  return x < 1 ? static_cast<float>(x * x * (2 * x - 3) + 1) : 0.0f;
}
float BellKernel(float X) {
  const long double x = Abs(X);
  if (x < 0.5L) return static_cast<float>(0.75L - x * x);
  if (x < 1.5L) return static_cast<float>((x - 1.5L) * (x - 1.5L) * 0.5L);
  return 0.0f;
}
float SplineKernel(float X) {
  const long double x = Abs(X);
  if (x < 1) return static_cast<float>(x * x * (0.5L * x - 1) + 2.0L / 3);
  if (x < 2) return static_cast<float>((2 - x) * (2 - x) * (2 - x) / 6);
  return 0.0f;
}
float Lanczos3Kernel(float X) {
  const long double x = Abs(X), pi = 3.141592653589793238462643383279502884L;
  if (x == 0) return 1.0f;
  if (x >= 3) return 0.0f;
  return static_cast<float>(std::sin(pi * x) * std::sin(x) / (pi * x * x));
}
float MitchellKernel(float X) {
  const long double x = Abs(X);
  if (x < 1) return static_cast<float>(x * x * (7.0L / 6 * x - 2) + 8.0L / 9);
  if (x < 2) return static_cast<float>(x * x * (-7.0L / 18 * x + 2) - 10.0L / 3 * x + 16.0L / 9);
  return 0.0f;
}

TFilter FilterOf(TFilterType Type) {
  switch (Type) {
    case ftBox: return {0.51f, BoxKernel};
    case ftTriangle: return {1.0f, TriangleKernel};
    case ftHermite: return {1.0f, HermiteKernel};
    case ftBell: return {1.5f, BellKernel};
    case ftSpline: return {2.0f, SplineKernel};
    case ftLanczos3: return {3.0f, Lanczos3Kernel};
    case ftMitchell:
    default: return {2.0f, MitchellKernel};
  }
}

// A source index outside 0..Size - 1 mirrored at the edges until it lies
// inside (Size is at least 2).
int Mirror(int J, int Size) {
  while (J < 0 || J >= Size) J = J < 0 ? -J : 2 * Size - J - 1;
  return J;
}

struct TContributor {
  int Index;       // source index
  std::int32_t W;  // 16.16 weight
};

// The contributors of each destination index, all lists in one table:
// Start[i] .. Start[i + 1] for destination index i.
struct TContributors {
  std::vector<int> Start;
  std::vector<TContributor> List;
};

TContributors Contributors(int S, int D, const TFilter& F) {
  const float scale = S > D ? static_cast<float>(D) / static_cast<float>(S) : 1.0f;
  const float fw = F.Support / scale;
  const int bound = static_cast<int>(std::trunc(2 * fw + 1));
  TContributors out;
  out.Start.reserve(static_cast<size_t>(D) + 1);
  for (int i = 0; i < D; ++i) {
    out.Start.push_back(static_cast<int>(out.List.size()));
    const float c = static_cast<float>(static_cast<double>(i) * S / D);
    int kept = 0;
    for (int j = static_cast<int>(std::ceil(c + fw)); j >= static_cast<int>(std::floor(c - fw)) && kept < bound; --j) {
      const float signedX = (c - static_cast<float>(j)) * scale;
      if (std::fabs(signedX) >= F.Support) continue;
      const float k = F.Kernel(signedX);
      if (k == 0.0f) continue;
      const double w = std::nearbyint(static_cast<double>(k) * static_cast<double>(scale) * 65536.0);
      out.List.push_back({Mirror(j, S), static_cast<std::int32_t>(w)});
      ++kept;
    }
  }
  out.Start.push_back(static_cast<int>(out.List.size()));
  return out;
}

inline std::uint32_t ToByte(std::int32_t Sum) {
  return Sum < 0 ? 0u : Sum > 0xFF0000 ? 255u : static_cast<std::uint32_t>(Sum) >> 16;
}
inline std::uint32_t Pack(const std::int32_t* Sums) {
  return ToByte(Sums[0]) | (ToByte(Sums[1]) << 8) | (ToByte(Sums[2]) << 16) | (ToByte(Sums[3]) << 24);
}

// Lines of Width pixels, one after the other.
struct TLines {
  std::vector<std::uint32_t> Pixels;
  int Width = 0;
  const std::uint32_t* Line(int I) const { return Pixels.data() + static_cast<size_t>(I) * Width; }
  std::uint32_t* Line(int I) { return Pixels.data() + static_cast<size_t>(I) * Width; }
};

// The lines of a picture's columns: line x holds column x top to bottom.
// Copied in square tiles, so that both sides stay within a few cache lines.
template <class InRow>
TLines Columns(int Width, int Height, InRow Row) {
  constexpr int kTile = 16;
  TLines out{std::vector<std::uint32_t>(static_cast<size_t>(Width) * Height), Height};
  for (int y0 = 0; y0 < Height; y0 += kTile)
    for (int x0 = 0; x0 < Width; x0 += kTile)
      for (int y = y0; y < std::min(y0 + kTile, Height); ++y) {
        const std::uint32_t* row = Row(y);
        for (int x = x0; x < std::min(x0 + kTile, Width); ++x) out.Line(x)[y] = row[x];
      }
  return out;
}

// Output line i := the sum of the contributing input lines times their
// weights, byte by byte (every byte of a line in one loop, so that the
// compiler runs it on vectors); Out(i) gives the address of output line i.
template <class OutLine>
void ResampleLines(const TLines& In, const TContributors& C, int Count, OutLine Out) {
  const int bytes = In.Width * 4;
  std::vector<std::int32_t> sums(static_cast<size_t>(bytes));
  for (int i = 0; i < Count; ++i) {
    std::fill(sums.begin(), sums.end(), 0);
    for (int k = C.Start[i]; k < C.Start[i + 1]; ++k) {
      const Byte* in = reinterpret_cast<const Byte*>(In.Line(C.List[k].Index));
      const std::int32_t w = C.List[k].W;
      for (int b = 0; b < bytes; ++b) sums[b] += static_cast<std::int32_t>(in[b]) * w;
    }
    std::uint32_t* out = Out(i);
    for (int x = 0; x < In.Width; ++x) out[x] = Pack(&sums[static_cast<size_t>(x) * 4]);
  }
}

}  // namespace

void Stretch(TacBitmap* Src, TacBitmap* Dst, Integer NewWidth, Integer NewHeight, TFilterType Filter, Integer) {
  if (!Src || !Dst || NewWidth < 1 || NewHeight < 1) return;
  if (BitmapWidth(Src) < 2 || BitmapHeight(Src) < 2) return;
  if (NewWidth == BitmapWidth(Src) && NewHeight == BitmapHeight(Src)) {
    AssignBitmap(Dst, Src);
    return;
  }
  MakeBitmap32(Src);
  const TPixelView32 src = PixelsOf(Src);
  if (src.Empty()) return;
  const TFilter filter = FilterOf(Filter);
  const TContributors columns = Contributors(src.Width, NewWidth, filter);
  const TContributors rows = Contributors(src.Height, NewHeight, filter);
  // The horizontal pass works on the source's columns as lines and gives the
  // new columns as lines; turned back into rows, they feed the vertical pass.
  const TLines srcColumns = Columns(src.Width, src.Height, [&](int y) { return src.Row(y); });
  TLines newColumns{std::vector<std::uint32_t>(static_cast<size_t>(NewWidth) * src.Height), src.Height};
  ResampleLines(srcColumns, columns, NewWidth, [&](int i) { return newColumns.Line(i); });
  const TLines tmp = Columns(src.Height, NewWidth, [&](int y) { return newColumns.Line(y); });
  SizeBitmap32(Dst, NewWidth, NewHeight);
  const TPixelView32 dst = PixelsOf(Dst);
  if (!dst.Empty()) ResampleLines(tmp, rows, NewHeight, [&](int i) { return dst.Row(i); });
}
