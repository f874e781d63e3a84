// Nine-part drawing of border images: one geometry (where each of the nine
// pieces comes from and goes to, how bands are tiled or stretched) and, per
// drawing function, the copy that puts a piece into the bitmap.
#include <algorithm>

#include "skin/core/acntUtils.h"
#include "skin/graphics/acBitmap.h"
#include "skin/graphics/acPaintManager.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

// FillMode bits of a border image.
constexpr int kStretchBands = 1, kNothingForState0 = 2, kFillCentre = 4;

// How the pieces reach the bitmap. Rectangles are right and bottom exclusive;
// a piece's source and destination have the same size, except for stretched
// bands.
class TPieceCopier {
 public:
  virtual ~TPieceCopier() = default;
  virtual void Corner(const TRect& Dst, const TRect& Src) = 0;
  // One tile of an edge (Centre false) or of the centre.
  virtual void Tile(const TRect& Dst, const TRect& Src, bool Centre) = 0;
  // A whole band stretched; Smooth for the centre.
  virtual void Band(const TRect& Dst, const TRect& Src, bool Smooth) = 0;
};

// Where the nine pieces lie. Corners: destination sizes Left, Top, Right,
// Bottom (the margins) with their sources at the Src* places. Edges: strips
// of Edge* thickness along the outer sides, the right and bottom ones taken
// from EdgeSrcRight and EdgeSrcBottom; bands run between Band*. The source
// bands (edges and centre) are SrcMid* long.
struct TNineGeometry {
  TRect R;
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int SrcLeft = 0, SrcTop = 0, SrcRight = 0, SrcBottom = 0;
  int SrcMidX = 0, SrcMidY = 0, SrcMidW = 0, SrcMidH = 0;
  int EdgeLeft = 0, EdgeTop = 0, EdgeRight = 0, EdgeBottom = 0;
  int EdgeSrcRight = 0, EdgeSrcBottom = 0;
  int BandX0 = 0, BandX1 = 0, BandY0 = 0, BandY1 = 0;
  bool StretchEdges = false, StretchCentre = false, Centre = false;
};

// A band tiled along one direction: full pieces of the source length from
// the band's start while one fits before the end minus that length, then a
// last piece of what remains, taken from the start of the source band (a
// source length of 0 places only that last piece).
void TileBand(TPieceCopier& Copier, TRect Dst, const TRect& Src, bool Horizontal, bool Centre) {
  const int length = Horizontal ? Src.Width() : Src.Height();
  int p = Horizontal ? Dst.Left : Dst.Top;
  const int end = Horizontal ? Dst.Right : Dst.Bottom;
  auto place = [&](int at, int n) {
    TRect d = Dst, s = Src;
    if (Horizontal) {
      d.Left = at, d.Right = at + n, s.Right = s.Left + n;
    } else {
      d.Top = at, d.Bottom = at + n, s.Bottom = s.Top + n;
    }
    Copier.Tile(d, s, Centre);
  };
  if (length > 0)
    for (; p < end - length; p += length) place(p, length);
  if (p < end) place(p, end - p);
}

void EdgeBand(TPieceCopier& Copier, const TNineGeometry& g, const TRect& Dst, const TRect& Src, bool Horizontal) {
  if (Dst.IsEmpty()) return;
  if (g.StretchEdges)
    Copier.Band(Dst, Src, false);
  else
    TileBand(Copier, Dst, Src, Horizontal, false);
}

void CentreBand(TPieceCopier& Copier, const TNineGeometry& g) {
  const TRect dst = Rect(g.BandX0, g.BandY0, g.BandX1, g.BandY1);
  const TRect src = Bounds(g.SrcMidX, g.SrcMidY, g.SrcMidW, g.SrcMidH);
  if (dst.IsEmpty()) return;
  if (g.StretchCentre) {
    Copier.Band(dst, src, true);
    return;
  }
  // Rows of the source band's height, each tiled like a horizontal band.
  int y = dst.Top;
  if (src.Height() > 0)
    for (; y < dst.Bottom - src.Height(); y += src.Height())
      TileBand(Copier, Rect(dst.Left, y, dst.Right, y + src.Height()), src, true, true);
  if (y < dst.Bottom)
    TileBand(Copier, Rect(dst.Left, y, dst.Right, dst.Bottom), Bounds(src.Left, src.Top, src.Width(), dst.Bottom - y),
             true, true);
}

void CornerPiece(TPieceCopier& Copier, int X, int Y, int SrcX, int SrcY, int W, int H) {
  if (W > 0 && H > 0) Copier.Corner(Bounds(X, Y, W, H), Bounds(SrcX, SrcY, W, H));
}

// The pieces in their order: top-left corner, left edge, top edge,
// bottom-left corner, bottom edge, bottom-right corner, top-right corner,
// right edge, centre.
void PaintNine(TPieceCopier& Copier, const TNineGeometry& g) {
  const TRect& R = g.R;
  CornerPiece(Copier, R.Left, R.Top, g.SrcLeft, g.SrcTop, g.Left, g.Top);
  EdgeBand(Copier, g, Rect(R.Left, g.BandY0, R.Left + g.EdgeLeft, g.BandY1),
           Bounds(g.SrcLeft, g.SrcMidY, g.EdgeLeft, g.SrcMidH), false);
  EdgeBand(Copier, g, Rect(g.BandX0, R.Top, g.BandX1, R.Top + g.EdgeTop),
           Bounds(g.SrcMidX, g.SrcTop, g.SrcMidW, g.EdgeTop), true);
  CornerPiece(Copier, R.Left, R.Bottom - g.Bottom, g.SrcLeft, g.SrcBottom, g.Left, g.Bottom);
  EdgeBand(Copier, g, Rect(g.BandX0, R.Bottom - g.EdgeBottom, g.BandX1, R.Bottom),
           Bounds(g.SrcMidX, g.EdgeSrcBottom, g.SrcMidW, g.EdgeBottom), true);
  CornerPiece(Copier, R.Right - g.Right, R.Bottom - g.Bottom, g.SrcRight, g.SrcBottom, g.Right, g.Bottom);
  CornerPiece(Copier, R.Right - g.Right, R.Top, g.SrcRight, g.SrcTop, g.Right, g.Top);
  EdgeBand(Copier, g, Rect(R.Right - g.EdgeRight, g.BandY0, R.Right, g.BandY1),
           Bounds(g.EdgeSrcRight, g.SrcMidY, g.EdgeRight, g.SrcMidH), false);
  if (g.Centre) CentreBand(Copier, g);
}

// The margins cut so that they fit the rectangle's side: the excess comes
// off both halves, the odd pixel off the second one, neither below 0.
void CutMargins(int Side, int& First, int& Second) {
  if (Side >= First + Second) return;
  const int d = First + Second - Side, half = d / 2;
  First -= half;
  Second -= half + (d % 2);
  First = std::max(First, 0);
  Second = std::max(Second, 0);
}

// The geometry of the nine-part drawing (false: nothing is drawn), with the
// mask offset of a masked image and the bitmap the image lies in.
struct TBorderPlan {
  TNineGeometry G;
  int MaskOffset = 0;
  TacBitmap* Source = nullptr;
};

bool PlanBorder(const TRect& R, const TsMaskData& MD, Integer State, TBorderPlan& Plan) {
  if ((State == 0 && (MD.FillMode & kNothingForState0)) || R.Width() < 2 || R.Height() < 2 || !MD.OwnerManager ||
      MD.Columns < 1)
    return false;
  int wl = MD.MarginLeft, wt = MD.MarginTop, wr = MD.MarginRight, wb = MD.MarginBottom;
  CutMargins(R.Width(), wl, wr);
  CutMargins(R.Height(), wt, wb);
  const int s = std::clamp<int>(State, 0, MD.Columns - 1);
  const int w = WidthOfImage(MD), h = HeightOfImage(MD), cw = w - wl - wr, ch = h - wt - wb;
  if (cw < 0 || ch < 0) return false;
  Plan.Source = ImageBitmap(MD);
  if (!Plan.Source) return false;
  Plan.MaskOffset = MD.MaskKind != 0 ? h : 0;
  const int sl = MD.SrcRect.Left + w * s, st = MD.SrcRect.Top;
  TNineGeometry& g = Plan.G;
  g.R = R;
  g.Left = g.EdgeLeft = wl, g.Top = g.EdgeTop = wt, g.Right = g.EdgeRight = wr, g.Bottom = g.EdgeBottom = wb;
  g.SrcLeft = sl, g.SrcTop = st, g.SrcRight = g.EdgeSrcRight = sl + wl + cw, g.SrcBottom = g.EdgeSrcBottom = st + h - wb;
  g.SrcMidX = sl + wl, g.SrcMidY = st + wt, g.SrcMidW = cw, g.SrcMidH = ch;
  g.BandX0 = R.Left + wl, g.BandX1 = R.Right - wr, g.BandY0 = R.Top + wt, g.BandY1 = R.Bottom - wb;
  g.StretchEdges = g.StretchCentre = (MD.FillMode & kStretchBands) != 0;
  g.Centre = (MD.FillMode & kFillCentre) != 0;
  return true;
}

// ------------------------------------------------------------ the copies

TRect Inclusive(const TRect& R) { return Rect(R.Left, R.Top, R.Right - 1, R.Bottom - 1); }

// Key-colour images: corners through the key copy, bands copied as they are.
class TKeyCopier : public TPieceCopier {
 public:
  TKeyCopier(TacBitmap* Bmp, TacBitmap* Source, const TCacheInfo& CI, bool Restore)
      : FBmp(Bmp), FSource(Source), FCI(CI), FRestore(Restore) {}
  void Corner(const TRect& Dst, const TRect& Src) override {
    CopyTransRect(FBmp, FSource, Dst.Left, Dst.Top, Inclusive(Src), sFuchsia, FCI, FRestore);
  }
  void Tile(const TRect& Dst, const TRect& Src, bool) override {
    BlockCopy(FBmp, Dst.Left, Dst.Top, Dst.Width(), Dst.Height(), FSource, Src.Left, Src.Top);
  }
  void Band(const TRect& Dst, const TRect& Src, bool) override {
    StretchCopy(FBmp, Dst.Left, Dst.Top, Dst.Width(), Dst.Height(), FSource, Src.Left, Src.Top, Src.Width(),
                Src.Height());
  }

 private:
  TacBitmap *FBmp, *FSource;
  const TCacheInfo& FCI;
  bool FRestore;
};

// Masked images onto a bitmap whose alpha does not count.
class TMaskCopier : public TPieceCopier {
 public:
  TMaskCopier(TacBitmap* Bmp, const TBorderPlan& Plan, const TCacheInfo& CI, bool Restore, const TsMaskData& MD)
      : FBmp(Bmp), FPlan(Plan), FCI(CI), FRestore(Restore), FMD(MD) {}
  void Corner(const TRect& Dst, const TRect& Src) override {
    CopyByMask(Dst, Src, FBmp, FPlan.Source, FCI, FRestore, FMD);
  }
  void Tile(const TRect& Dst, const TRect& Src, bool) override {
    CopyByMask(Dst, Src, FBmp, FPlan.Source, EmptyCI, false, FMD);
  }
  void Band(const TRect& Dst, const TRect& Src, bool Smooth) override {
    StretchBltMask(Dst.Left, Dst.Top, Dst.Width(), Dst.Height(), Src.Left, Src.Top, Src.Width(), Src.Height(), FBmp,
                   FPlan.Source, FPlan.MaskOffset, Smooth);
  }

 private:
  TacBitmap* FBmp;
  const TBorderPlan& FPlan;
  const TCacheInfo& FCI;
  bool FRestore;
  const TsMaskData& FMD;
};

// Masked images in painting that keeps alpha, with an alpha for the Ex form
// (-1: the plain form).
class TMask32Copier : public TPieceCopier {
 public:
  TMask32Copier(TacBitmap* Bmp, const TBorderPlan& Plan, const TCacheInfo& CI, const TsMaskData& MD, Integer Alpha)
      : FBmp(Bmp), FPlan(Plan), FCI(CI), FMD(MD), FAlpha(Alpha) {}
  void Corner(const TRect& Dst, const TRect& Src) override { Copy(Dst, Src, FCI); }
  void Tile(const TRect& Dst, const TRect& Src, bool) override { Copy(Dst, Src, EmptyCI); }
  void Band(const TRect& Dst, const TRect& Src, bool Smooth) override {
    if (FAlpha < 0)
      StretchBltMask32(Dst.Left, Dst.Top, Dst.Width(), Dst.Height(), Src.Left, Src.Top, Src.Width(), Src.Height(),
                       FBmp, FPlan.Source, FPlan.MaskOffset, Smooth);
    else
      StretchBltMask32Ex(Dst.Left, Dst.Top, Dst.Width(), Dst.Height(), Src.Left, Src.Top, Src.Width(), Src.Height(),
                         FBmp, FPlan.Source, FPlan.MaskOffset, FAlpha, false);
  }

 private:
  void Copy(const TRect& Dst, const TRect& Src, const TCacheInfo& CI) {
    if (FAlpha < 0)
      CopyByMask32(Dst, Src, FBmp, FPlan.Source, CI, FMD);
    else
      CopyByMask32Ex(Dst, Src, FBmp, FPlan.Source, CI, FMD, FAlpha);
  }
  TacBitmap* FBmp;
  const TBorderPlan& FPlan;
  const TCacheInfo& FCI;
  const TsMaskData& FMD;
  Integer FAlpha;
};

// Masked images of the master bitmap, piece by piece through its mask.
class TMasterCopier : public TPieceCopier {
 public:
  TMasterCopier(TacBitmap* Bmp, const TCacheInfo& CI, const TsMaskData& MD) : FBmp(Bmp), FCI(CI), FMD(MD) {}
  void Corner(const TRect& Dst, const TRect& Src) override { CopyMasterRect(Dst, Src, FBmp, FCI, FMD); }
  void Tile(const TRect& Dst, const TRect& Src, bool Centre) override {
    CopyMasterRect(Dst, Src, FBmp, Centre ? EmptyCI : FCI, FMD);
  }
  void Band(const TRect&, const TRect&, bool) override {}

 private:
  TacBitmap* FBmp;
  const TCacheInfo& FCI;
  const TsMaskData& FMD;
};

// The corner sizes of the small form along one side: a cell each, or the
// side split in halves (the odd pixel to the second) when two cells do not fit.
void SmallCorners(int Side, int Cell, int& First, int& Second) {
  First = Second = Cell;
  if (Side < 2 * Cell) {
    First = Side / 2;
    Second = Side - First;
  }
}

}  // namespace

void DrawSkinRect(TacBitmap* Bmp, const TRect& R, const TCacheInfo& CI, const TsMaskData& MD, Integer State,
                  bool UpdateCorners) {
  TBorderPlan plan;
  if (!PlanBorder(R, MD, State, plan)) return;
  const bool restore = UpdateCorners && MD.CornerKind > 0;
  if (MD.MaskKind == 0) {
    TKeyCopier copier(Bmp, plan.Source, CI, restore);
    PaintNine(copier, plan.G);
  } else {
    TMaskCopier copier(Bmp, plan, CI, restore, MD);
    PaintNine(copier, plan.G);
  }
}

void DrawSkinRect32(TacBitmap* Bmp, const TRect& R, const TCacheInfo& CI, const TsMaskData& MD, Integer State) {
  TBorderPlan plan;
  if (!PlanBorder(R, MD, State, plan)) return;
  if (MD.MaskKind == 0) {
    TKeyCopier copier(Bmp, plan.Source, CI, true);
    PaintNine(copier, plan.G);
  } else {
    TMask32Copier copier(Bmp, plan, CI, MD, -1);
    PaintNine(copier, plan.G);
  }
}

void DrawSkinRect32Ex(TacBitmap* Bmp, const TRect& R, const TCacheInfo& CI, const TsMaskData& MD, Integer State,
                      const TRect& Limits, Integer Alpha) {
  if (MD.MaskKind == 0) {
    DrawSkinRect32(Bmp, R, CI, MD, State);
    return;
  }
  TBorderPlan plan;
  if (!PlanBorder(R, MD, State, plan)) return;
  // Edge strips along the outer sides, no thicker than the limits.
  TNineGeometry& g = plan.G;
  g.EdgeLeft = std::min(g.Left, Limits.Left);
  g.EdgeTop = std::min(g.Top, Limits.Top);
  g.EdgeRight = std::min(g.Right, Limits.Right);
  g.EdgeBottom = std::min(g.Bottom, Limits.Bottom);
  g.EdgeSrcRight = g.SrcRight + g.Right - g.EdgeRight;
  g.EdgeSrcBottom = g.SrcBottom + g.Bottom - g.EdgeBottom;
  g.Centre = false;
  TMask32Copier copier(Bmp, plan, CI, MD, LimitIt(Alpha, 0, 255));
  PaintNine(copier, g);
}

void DrawSmallSkinRect(TacBitmap* Bmp, const TRect& R, const TCacheInfo& CI, const TsMaskData& MD, Integer State) {
  if (MD.Bitmap || !MD.OwnerManager || MD.Columns < 1 || MD.MaskKind < 0 || R.Width() < 2 || R.Height() < 2) return;
  TacBitmap* master = MD.OwnerManager->MasterBitmap.get();
  if (!master) return;
  const int s = std::clamp<int>(State, 0, MD.Columns - 1);
  const int width = WidthOf(MD.SrcRect), height = HeightOf(MD.SrcRect);
  const int pictureLeft = MD.SrcRect.Left + width * s / MD.Columns, top = MD.SrcRect.Top;
  const int cellW = width / (MD.Columns * 3), cellH = height / ((MD.MaskKind + 1) * 3);
  const int pictureH = height / (MD.MaskKind + 1);
  TNineGeometry g;
  g.R = R;
  SmallCorners(R.Width(), cellW, g.Left, g.Right);
  SmallCorners(R.Height(), cellH, g.Top, g.Bottom);
  g.EdgeLeft = g.Left, g.EdgeTop = g.Top, g.EdgeRight = g.Right, g.EdgeBottom = g.Bottom;
  g.SrcLeft = pictureLeft, g.SrcTop = top;
  g.SrcRight = g.EdgeSrcRight = pictureLeft + 3 * cellW - g.Right;
  g.SrcBottom = g.EdgeSrcBottom = top + pictureH - g.Bottom;
  g.SrcMidX = pictureLeft + cellW, g.SrcMidY = top + cellH, g.SrcMidW = cellW, g.SrcMidH = cellH;
  g.BandX0 = R.Left + cellW, g.BandX1 = R.Right - cellW, g.BandY0 = R.Top + cellH, g.BandY1 = R.Bottom - cellH;
  g.Centre = (MD.FillMode & kFillCentre) != 0;
  if (MD.MaskKind == 0) {
    g.StretchEdges = (MD.FillMode & kStretchBands) != 0;
    TKeyCopier copier(Bmp, master, CI, true);
    PaintNine(copier, g);
  } else {
    TMasterCopier copier(Bmp, CI, MD);
    PaintNine(copier, g);
  }
}
