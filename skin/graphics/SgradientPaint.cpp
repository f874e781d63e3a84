// Painting of gradients: vertical bands filled row by row, horizontal bands
// computed once in the first row and copied, and their mix with a texture.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "skin/graphics/Sgradient.h"
#include "skin/graphics/acBitmap.h"
#include "skin/graphics/acPixelRuns.h"
#include "skin/graphics/sAlphaGraph.h"

namespace {

// One colour ramp: channels start at the first colour and grow by
// (end - start) / D per step, the step in double precision, the running
// values kept in single precision.
class TGradRamp {
 public:
  TGradRamp(TColor From, TColor To, int Steps) {
    const Cardinal a = static_cast<Cardinal>(From), b = static_cast<Cardinal>(To);
    for (int n = 0; n < 3; ++n) {
      const int start = (a >> (8 * n)) & 0xFF, end = (b >> (8 * n)) & 0xFF;
      FValue[n] = static_cast<float>(start);
      FStep[n] = Steps > 0 ? static_cast<double>(end - start) / Steps : 0.0;
    }
  }
  // The current colour as a pixel with the given alpha.
  std::uint32_t Pixel(std::uint32_t Alpha = 0xFF000000u) const {
    return Channel(2) | (Channel(1) << 8) | (Channel(0) << 16) | Alpha;
  }
  void Step() {
    for (int n = 0; n < 3; ++n) FValue[n] = static_cast<float>(static_cast<double>(FValue[n]) + FStep[n]);
  }

 private:
  // n: 0 red, 1 green, 2 blue.
  std::uint32_t Channel(int n) const {
    return static_cast<std::uint32_t>(std::clamp(static_cast<int>(std::trunc(FValue[n])), 0, 255));
  }
  float FValue[3];
  double FStep[3];
};

// R checked and cut as every painter here does: an empty R paints nothing;
// otherwise its right and bottom are cut to the bitmap and a negative left
// or top becomes 0.
bool CutGradRect(const TPixelView32& rows, TRect& R) {
  if (rows.Empty() || R.IsEmpty()) return false;
  R = TRect{std::max(R.Left, 0), std::max(R.Top, 0), std::min(R.Right, rows.Width), std::min(R.Bottom, rows.Height)};
  return !R.IsEmpty();
}

// One band of a segment: from First to Last inclusive (Last - First steps).
struct TBand {
  int First, Last;
};

// The bands of the segments along one side of Length pixels from Start (the
// last pixel End), as the percents cut it: every segment ends Percent % of
// Length after its start (at most at End); the last one ends at End.
template <class Paint>
void ForEachBand(const TsGradArray& Data, int Start, int Length, int End, Paint paint) {
  int at = Start;
  for (size_t i = 0; i < Data.size(); ++i) {
    const int from = at;
    const int to = static_cast<int>(static_cast<long long>(Length) * Data[i].Percent / 100) + from;
    at = i + 1 == Data.size() ? End : std::min(to, End);
    if (at - from > 0) paint(Data[i], TBand{from, at});
  }
}

// Mode 0: rows filled with the ramp, one value per row.
void PaintVertical(const TPixelView32& rows, const TRect& R, const TsGradArray& Data, int OffsetY) {
  const int width = R.Width();
  ForEachBand(Data, R.Top + OffsetY, R.Height() + OffsetY, R.Bottom - 1, [&](const TsGradPie& pie, TBand band) {
    TGradRamp ramp(pie.Color1, pie.Color2, band.Last - band.First);
    for (int y = band.First; y <= band.Last; ++y, ramp.Step())
      if (y >= R.Top) FillLongword(rows.Row(y) + R.Left, width, ramp.Pixel());
  });
}

// Mode 1's first row: the ramp along the columns of row R.Top.
void PaintFirstRow(const TPixelView32& rows, const TRect& R, const TsGradArray& Data, std::uint32_t Alpha) {
  std::uint32_t* row = rows.Row(R.Top);
  ForEachBand(Data, R.Left, R.Width(), R.Right - 1, [&](const TsGradPie& pie, TBand band) {
    TGradRamp ramp(pie.Color1, pie.Color2, band.Last - band.First);
    for (int x = band.First; x <= band.Last; ++x, ramp.Step()) row[x] = ramp.Pixel(Alpha);
  });
}

// Copies Count rows of R's columns from row From to row To, rows that
// overlap taken care of.
void CopyRows(const TPixelView32& rows, const TRect& R, int From, int To, int Count) {
  const size_t bytes = static_cast<size_t>(R.Width()) * 4;
  auto one = [&](int i) { std::memmove(rows.Row(To + i) + R.Left, rows.Row(From + i) + R.Left, bytes); };
  if (To > From)
    for (int i = Count - 1; i >= 0; --i) one(i);
  else
    for (int i = 0; i < Count; ++i) one(i);
}

// A texture rectangle repeated from the bitmap's origin.
struct TTexture {
  TPixelView32 Rows;
  TRect Tile;  // left, top, width, height in Right and Bottom
  const std::uint32_t* Row(int y) const { return Rows.Row(y % Tile.Bottom + Tile.Top) + Tile.Left; }
};

// The pixels R.Left .. R.Right - 1 of Out become the mix of Gradient (one
// pixel per column, or one value for all) with the texture row of bitmap row Y.
void MixRow(std::uint32_t* Out, const std::uint32_t* Gradient, bool OneValue, const TRect& R, const TTexture& T,
            int Y, std::uint32_t Weight, std::uint32_t Alpha) {
  const std::uint32_t* tex = T.Row(Y);
  const int tw = T.Tile.Right;
  int tx = R.Left % tw;
  for (int x = R.Left; x < R.Right; ++x) {
    const std::uint32_t g = OneValue ? Gradient[0] : Gradient[x];
    Out[x] = acpixel::Mix(tex[tx], Weight, g, 256 - Weight) | Alpha;
    if (++tx == tw) tx = 0;
  }
}

}  // namespace

void PaintGrad(TacBitmap* Bmp, const TRect& Rect, const TsGradArray& Data, Integer OffsetX, Integer OffsetY) {
  const TPixelView32 rows = PixelsOf(Bmp);
  TRect R = Rect;
  if (!CutGradRect(rows, R) || Data.empty()) return;
  switch (Data[0].Mode) {
    case 0:
      PaintVertical(rows, R, Data, OffsetY);
      break;
    case 1:
      PaintFirstRow(rows, R, Data, 0xFF000000u);
      for (int y = R.Top + 1; y < R.Bottom; ++y) CopyRows(rows, R, R.Top, y, 1);
      break;
    case 2:
      PaintGradTriangles(Bmp, R, Data);
      break;
    default:
      break;
  }
}

void PaintGrad(TacBitmap* Bmp, const TRect& R, const AnsiString& Gradient) {
  TsGradArray data;
  PrepareGradArray(Gradient, data);
  PaintGrad(Bmp, R, data, 0, 0);
}

void PaintGradTxt(TacBitmap* Bmp, const TRect& Rect, const TsGradArray& Data, TacBitmap* TextureBmp,
                  const TRect& TexRect, Byte TextureWeight, Byte Alpha) {
  const TPixelView32 rows = PixelsOf(Bmp);
  TRect R = Rect;
  if (!CutGradRect(rows, R) || Data.empty() || (Data[0].Mode != 0 && Data[0].Mode != 1)) return;
  TTexture tex{PixelsOf(TextureBmp), {}};
  if (tex.Rows.Empty()) return;
  const TRect tr = TexRect.IsEmpty() ? ::Rect(0, 0, tex.Rows.Width, tex.Rows.Height) : TexRect;
  const int left = std::max(tr.Left, 0), top = std::max(tr.Top, 0);
  tex.Tile = TRect{left, top, std::min(std::max(tr.Right - left, 0), tex.Rows.Width - left),
                   std::min(std::max(tr.Bottom - top, 0), tex.Rows.Height - top)};
  if (tex.Tile.Right < 1 || tex.Tile.Bottom < 1) return;
  const std::uint32_t weight = TextureWeight, alpha = std::uint32_t(Alpha) << 24;

  if (Data[0].Mode == 0) {
    ForEachBand(Data, R.Top, R.Height(), R.Bottom - 1, [&](const TsGradPie& pie, TBand band) {
      TGradRamp ramp(pie.Color1, pie.Color2, band.Last - band.First);
      for (int y = band.First; y <= band.Last; ++y, ramp.Step()) {
        const std::uint32_t g = ramp.Pixel();
        MixRow(rows.Row(y), &g, true, R, tex, y, weight, alpha);
      }
    });
    return;
  }
  // Mode 1: the first row's ramp, the rows of one texture period mixed from
  // it, the first row mixed last; then that block repeated downward.
  PaintFirstRow(rows, R, Data, alpha);
  const int c = std::min(tex.Tile.Bottom, R.Height()), n = c - 1;
  std::uint32_t* first = rows.Row(R.Top);
  for (int y = R.Top + 1; y < R.Top + c; ++y) MixRow(rows.Row(y), first, false, R, tex, y, weight, alpha);
  MixRow(first, first, false, R, tex, R.Top, weight, alpha);
  if (n == 0) {
    // A block of no rows cannot be repeated: every row is the first one.
    for (int y = R.Top + 1; y < R.Bottom; ++y) CopyRows(rows, R, R.Top, y, 1);
    return;
  }
  int y = R.Top + n;
  for (; y < R.Bottom - n - 1; y += n) CopyRows(rows, R, R.Top, y, n);
  if (y < R.Bottom) CopyRows(rows, R, R.Top, y, R.Bottom - y);
}

TacGradMesh GradTriangleMesh(const TRect& R, const TsGradArray& Data) {
  TacGradMesh mesh;
  const TPoint places[5] = {{R.Left, R.Top},
                            {R.Left + R.Width() / 2, R.Top + R.Height() / 2},
                            {R.Right, R.Top},
                            {R.Right, R.Bottom},
                            {R.Left, R.Bottom}};
  TColor color = Data.empty() ? 0 : Data[0].Color1;
  for (size_t i = 0; i < mesh.size(); ++i) {
    if (i < Data.size()) color = Data[i].Color1;
    const Cardinal c = static_cast<Cardinal>(color);
    mesh[i] = TacGradVertex{places[i].X, places[i].Y, static_cast<std::uint16_t>((c & 0xFF) << 8),
                            static_cast<std::uint16_t>(c & 0xFF00), static_cast<std::uint16_t>(((c >> 16) & 0xFF) << 8),
                            0xFF00};
  }
  return mesh;
}
