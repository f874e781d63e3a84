// Textures laid over rectangles: a picture tiled from the rectangle's corner,
// a skin image tiled, stretched or laid as a strip along one side, and a
// masked image tiled through the master image.
#include <algorithm>

#include "skin/graphics/acPaintManager.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"
#include "skin/graphics/sGraphUtilsTiling.h"

namespace gutils {

void TilePicture(const TTileTarget& Target, const TRect& R, int W, int H) {
  if (W <= 0 || H <= 0) return;
  auto column = [&](int x, int w) {
    int y = R.Top;
    for (; y < R.Bottom - H; y += H) Target.Copy(Rect(x, y, x + w, y + H), 0, 0);
    Target.Copy(Rect(x, y, x + w, R.Bottom), 0, 0);
  };
  int x = R.Left;
  for (; x < R.Right - W; x += W) column(x, W);
  column(x, R.Right - x);
}

namespace {
// Tiles of W x H from (X0, Y0) while a tile starts before (XEnd, YEnd), each
// cut to Clip (the source moving with a cut top or left).
void TileFrom(const TTileTarget& T, const TRect& Clip, int X0, int Y0, int XEnd, int YEnd, int W, int H, int SX, int SY) {
  for (int y = Y0; y < YEnd; y += H)
    for (int x = X0; x < XEnd; x += W) {
      TRect piece;
      if (IntersectRect(piece, Rect(x, y, x + W, y + H), Clip)) T.Copy(piece, SX + piece.Left - x, SY + piece.Top - y);
    }
}
void Tile(const TTileTarget& T, const TRect& Area, int W, int H, int SX, int SY) {
  TileFrom(T, Area, Area.Left, Area.Top, Area.Right, Area.Bottom, W, H, SX, SY);
}
}  // namespace

bool TileImage(const TTileTarget& T, TRect& R, const TRect& Src, TacFillMode FillMode) {
  const int w = Src.Width(), h = Src.Height(), sx = Src.Left, sy = Src.Top;
  if (w <= 0 || h <= 0) return false;
  switch (FillMode) {
    case fmTiled:
      Tile(T, R, w, h, sx, sy);
      R = acNothingLeft;
      break;
    case fmStretched:
      T.Stretch(R, Src);
      R = acNothingLeft;
      break;
    case fmTiledHorz:
      Tile(T, Rect(R.Left, R.Top, R.Right, std::min(R.Top + h, R.Bottom)), w, h, sx, sy);
      R.Top += h;
      break;
    case fmTiledVert:
      Tile(T, Rect(R.Left, R.Top, std::min(R.Left + w, R.Right), R.Bottom), w, h, sx, sy);
      R.Left += w;
      break;
    case fmStretchHorz: {
      const int hh = std::min(h, R.Height());  // cut at R's bottom, the scale kept
      T.Stretch(Rect(R.Left, R.Top, R.Right, R.Top + hh), Rect(sx, sy, sx + w, sy + hh));
      R.Top += h;
      break;
    }
    case fmStretchVert: {
      const int ww = std::min(w, R.Width());
      T.Stretch(Rect(R.Left, R.Top, R.Left + ww, R.Bottom), Rect(sx, sy, sx + ww, sy + h));
      R.Left += w;
      break;
    }
    case fmTileHorBtm: {
      const TRect strip = Rect(R.Left, std::max(R.Bottom - h, R.Top), R.Right, R.Bottom);
      TileFrom(T, strip, R.Left, R.Bottom - h, R.Right, R.Bottom, w, h, sx, sy);
      R.Bottom -= h;
      break;
    }
    case fmTileVertRight:
      Tile(T, R, w, h, sx, sy);
      R.Right -= w;
      break;
    case fmDisTiled: {
      int x = R.Left;
      auto column = [&](int cw) {
        for (int y = R.Top; y < R.Bottom - h; y += h) T.Copy(Rect(x, y, x + cw, y + h), sx, sy);
      };
      for (; x < R.Right - w; x += w) column(w);
      column(R.Right - x);
      R = acNothingLeft;
      break;
    }
    default:
      Tile(T, R, w, h, sx, sy);
      R.Left = R.Right - w;
      break;
  }
  return true;
}

}  // namespace gutils

using namespace gutils;

namespace {
// Copies and stretches between two skin bitmaps.
class TBitmapTarget : public TTileTarget {
 public:
  TBitmapTarget(TacBitmap* Dst, TacBitmap* Src) : FDst(Dst), FSrc(Src) {}
  void Copy(const TRect& D, int SX, int SY) const override {
    BlockCopy(FDst, D.Left, D.Top, D.Width(), D.Height(), FSrc, SX, SY);
  }
  void Stretch(const TRect& D, const TRect& S) const override {
    StretchCopy(FDst, D.Left, D.Top, D.Width(), D.Height(), FSrc, S.Left, S.Top, S.Width(), S.Height());
  }

 private:
  TacBitmap *FDst, *FSrc;
};
}  // namespace

void TileBitmap(TacBitmap* Dst, const TRect& R, TacBitmap* Picture) {
  if (!Dst || BitmapWidth(Picture) == 0 || BitmapHeight(Picture) == 0) return;
  TilePicture(TBitmapTarget(Dst, Picture), R, BitmapWidth(Picture), BitmapHeight(Picture));
}

void TileBitmap(TacBitmap* Dst, TRect& R, TacBitmap* Picture, const TsMaskData& MD, TacFillMode FillMode) {
  if (BitmapWidth(Picture) > 0 && BitmapHeight(Picture) > 0) {
    TileBitmap(Dst, R, Picture);
    R = acNothingLeft;
    return;
  }
  TacBitmap* src = ImageBitmap(MD);
  if (!Dst || !src) return;
  TileImage(TBitmapTarget(Dst, src), R, MD.SrcRect, FillMode);
}

namespace {
// The parent's pixels under a strip of Bmp, or its fill colour.
void Background(TacBitmap* Bmp, const TRect& Strip, const TCacheInfo& CI) {
  if (Strip.IsEmpty()) return;
  if (CI.Ready) {
    BlockCopy(Bmp, Strip.Left, Strip.Top, Strip.Width(), Strip.Height(), CI.Bmp, CI.X + Strip.Left, CI.Y + Strip.Top);
  } else if (Bitmap32(Bmp)) {
    FillRect32(Bmp, Strip, CI.FillColor, 255);
  } else {
    FillBitmapRect(Bmp, Strip, CI.FillColor);
  }
}
}  // namespace

void TileMasked(TacBitmap* Bmp, TRect& R, const TCacheInfo& CI, const TsMaskData& MD, TacFillMode FillMode) {
  if (!MD.OwnerManager || (FillMode != fmTiled && FillMode != fmDisTiled)) return;
  const int w = WidthOfImage(MD), h = MD.SrcRect.Height() / 2;
  if (w <= 0 || h <= 0) return;
  const TRect src = Bounds(MD.SrcRect.Left, MD.SrcRect.Top, w, h);
  auto tile = [&](int x, int y, int right, int bottom) { CopyMasterRect(Rect(x, y, right, bottom), src, Bmp, CI, MD); };
  // Whole tiles first; (xEnd, yEnd) is where they stop.
  int xEnd = R.Left, yEnd = R.Top;
  while (xEnd < R.Right - w) xEnd += w;
  while (yEnd < R.Bottom - h) yEnd += h;
  for (int x = R.Left; x < xEnd; x += w)
    for (int y = R.Top; y < yEnd; y += h) tile(x, y, x + w, y + h);
  if (FillMode == fmTiled) {
    for (int y = R.Top; y < yEnd; y += h) tile(xEnd, y, R.Right, y + h);
    for (int x = R.Left; x < xEnd; x += w) tile(x, yEnd, x + w, R.Bottom);
    tile(xEnd, yEnd, R.Right, R.Bottom);
  } else {
    Background(Bmp, Rect(R.Left, yEnd, R.Right, R.Bottom), CI);
    Background(Bmp, Rect(xEnd, R.Top, R.Right, R.Bottom), CI);
  }
  R = acNothingLeft;
}
