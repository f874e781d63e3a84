// The geometry of texture tiling, shared by the painters on skin bitmaps and
// on device contexts: where each tile goes and which part of the source it
// takes. (Not part of the unit's interface.)
#pragma once

#include "classlib/core/Types.h"
#include "skin/core/sConst.h"

namespace gutils {

// What tiles are drawn onto: straight copies of a source's (SX, SY) to the
// rectangle D, and stretches of the source rectangle S onto D.
class TTileTarget {
 public:
  virtual ~TTileTarget() = default;
  virtual void Copy(const TRect& D, int SX, int SY) const = 0;
  virtual void Stretch(const TRect& D, const TRect& S) const = 0;
};

// A whole picture of W x H tiled over R from its top-left corner: columns,
// each of whole tiles and one of the remaining height, the last column of
// the remaining width. Nothing for a picture of no width or height.
void TilePicture(const TTileTarget& Target, const TRect& R, int W, int H);
// The source rectangle Src laid over R in a fill mode; R becomes the part
// left uncovered (acNothingLeft: none). False, and R untouched, for a tile of
// no width or height.
bool TileImage(const TTileTarget& Target, TRect& R, const TRect& Src, TacFillMode FillMode);

}  // namespace gutils
