// The area two rectangles share when one is copied onto the other pixel for
// pixel: the smaller of the two, cut to both bitmaps. A rectangle starting
// left of or above its bitmap moves both starts by the overhang and the area
// shrinks by as much.
#pragma once

#include "classlib/core/PixelView.h"
#include "classlib/core/Types.h"
#include "skin/graphics/acPixelClip.h"

struct TacPieceWalk {
  int DstX = 0, DstY = 0, SrcX = 0, SrcY = 0, Cols = 0, Rows = 0;
  bool Empty() const { return Cols <= 0 || Rows <= 0; }
};

// Cols and Rows give the size walked (at most both rectangles' sizes);
// further limits on the rows of the source (a mask below it) come as
// Extra rows: SrcR.Top + Extra.Start + row must stay below Extra.Size.
inline TacPieceWalk PlanPieceWalk(const TRect& DstR, const TRect& SrcR, const TPixelView32& Dst,
                                  const TPixelView32& Src, int Cols, int Rows, TacSpanLimit ExtraRows = {0, 1 << 30}) {
  const TacSpan xs = ClipSpan(Cols, {{DstR.Left, Dst.Width}, {SrcR.Left, Src.Width}});
  const TacSpan ys =
      ClipSpan(Rows, {{DstR.Top, Dst.Height}, {SrcR.Top, Src.Height}, {SrcR.Top + ExtraRows.Start, ExtraRows.Size}});
  if (xs.Empty() || ys.Empty()) return TacPieceWalk{};
  return TacPieceWalk{DstR.Left + xs.First, DstR.Top + ys.First, SrcR.Left + xs.First,
                      SrcR.Top + ys.First, xs.Count(),         ys.Count()};
}
