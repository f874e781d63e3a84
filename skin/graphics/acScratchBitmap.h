// The painters' temporary 32-bit bitmaps, kept between paints. A new
// device-independent bitmap costs far more than its pixels where the
// platform watches the first write of every page of it (under Wine, about
// 2.7 ms for the 300 x 90 of a panel), and the section painters need one or
// two of them for every transparent section on every paint.
//
// A lease hands out a kept bitmap of at least W x H whose rectangle
// (0, 0, W, H) holds zeros, as a new bitmap does; what lies beyond that
// rectangle is not the lease's. Leases nest (each takes a bitmap of its own)
// and give their bitmap back when they end. User-interface thread only.
#pragma once

#include <memory>

#include "skin/graphics/acBitmap.h"

class TacScratchBitmap {
 public:
  TacScratchBitmap(int Width, int Height);
  ~TacScratchBitmap();
  TacScratchBitmap(const TacScratchBitmap&) = delete;
  TacScratchBitmap& operator=(const TacScratchBitmap&) = delete;

  TacBitmap* Bitmap() const { return FBitmap.get(); }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // (0, 0, Width, Height): the part of the bitmap that is the lease's.
  TRect Area() const { return TRect{0, 0, FWidth, FHeight}; }

 private:
  std::unique_ptr<TacBitmap> FBitmap;
  int FWidth, FHeight;
};
