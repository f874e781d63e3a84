// Runs of transparent pixels of bitmaps and border corners, from which the
// windows of skinned forms and buttons get their regions.
#include <algorithm>

#include "skin/core/acntUtils.h"
#include "skin/core/sMaskData.h"
#include "skin/graphics/acPaintManager.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

constexpr std::uint32_t kKeyPixel = 0x00FF00FF;

// Collects the runs of one row: pixels that match open or widen a run, a
// pixel that does not closes it, and so does the end of the row.
class TRunCollector {
 public:
  TRunCollector(TAOR& Rgns, int Y) : FRgns(Rgns), FY(Y) {}
  void Pixel(int X, bool Match) {
    if (Match) {
      if (FStart < 0) FStart = X;
      FEnd = X + 1;
    } else {
      Close();
    }
  }
  void Close() {
    if (FStart >= 0) FRgns.push_back(TRect{FStart, FY, FEnd, FY + 1});
    FStart = -1;
  }

 private:
  TAOR& FRgns;
  int FY;
  int FStart = -1, FEnd = -1;
};

// The key runs of the columns Col0..Col1 - 1 of source rows Row0.. of a
// corner, placed at X0 + column and at row + VertOffset.
void CornerRuns(TAOR& Rgns, const TPixelView32& Src, int Col0, int Col1, int Row0, int Rows, int X0, int VertOffset) {
  Col1 = std::min(Col1, Src.Width);
  Col0 = std::max(Col0, 0);
  for (int row = 0; row < Rows; ++row) {
    const std::uint32_t* line = Src.Row(Row0 + row);
    TRunCollector runs(Rgns, row + VertOffset);
    for (int c = Col0; c < Col1; ++c) runs.Pixel(X0 + c, line[c] == kKeyPixel);
    runs.Close();
  }
}

}  // namespace

void AddRgnBmp(TAOR& Rgns, TacBitmap* Bmp, TsColor Color) {
  const TPixelView32 rows = PixelsOf(Bmp);
  for (int y = 0; y < rows.Height; ++y) {
    const std::uint32_t* line = rows.Row(y);
    TRunCollector runs(Rgns, y);
    for (int x = 0; x < rows.Width; ++x) runs.Pixel(x, line[x] == Color.C);
    runs.Close();
  }
}

void AddRgn(TAOR& Rgns, Integer Width, const TsMaskData& MaskData, Integer VertOffset, bool Bottom) {
  if (!MaskData.OwnerManager) return;
  const TPixelView32 src = PixelsOf(ImageBitmap(MaskData));
  if (src.Empty()) return;
  const TRect& r = MaskData.SrcRect;
  const int rows = Bottom ? MaskData.MarginBottom : MaskData.MarginTop;
  // The bottom corners lie in the last rows of the first image (above its mask).
  const int row0 = r.Top + (Bottom ? HeightOf(r) / (MaskData.MaskKind + 1) - MaskData.MarginBottom : 0);
  if (rows <= 0 || row0 < 0 || row0 + rows > src.Height || r.Left < 0 || r.Left >= src.Width) return;
  const int iw = WidthOfImage(MaskData);
  // Source columns are relative to the image's left edge; the corner's
  // columns beyond the bitmap are left out.
  const TPixelView32 image{reinterpret_cast<Byte*>(src.Row(0) + r.Left), src.Delta, src.Width - r.Left, src.Height};
  CornerRuns(Rgns, image, 0, MaskData.MarginLeft, row0, rows, 0, VertOffset);
  CornerRuns(Rgns, image, iw - MaskData.MarginRight, iw, row0, rows, Width - iw, VertOffset);
}
