// The pool of the painters' temporary bitmaps.
#include "skin/graphics/acScratchBitmap.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "skin/graphics/sGraphUtils.h"

namespace {

// Bitmaps given back, for the next leases; a few are enough for the nesting
// of one paint.
constexpr size_t kKept = 4;

std::vector<std::unique_ptr<TacBitmap>>& Pool() {
  static std::vector<std::unique_ptr<TacBitmap>> pool;
  return pool;
}

}  // namespace

TacScratchBitmap::TacScratchBitmap(int Width, int Height) : FWidth(std::max(Width, 0)), FHeight(std::max(Height, 0)) {
  auto& pool = Pool();
  // The largest kept bitmap (the least likely to need growing).
  auto best = std::max_element(pool.begin(), pool.end(), [](const auto& a, const auto& b) {
    return BitmapWidth(a.get()) * BitmapHeight(a.get()) < BitmapWidth(b.get()) * BitmapHeight(b.get());
  });
  if (best != pool.end()) {
    FBitmap = std::move(*best);
    pool.erase(best);
  }
  const int w = BitmapWidth(FBitmap.get()), h = BitmapHeight(FBitmap.get());
  if (!FBitmap || w < FWidth || h < FHeight) {
    FBitmap = CreateBmp32(std::max(w, FWidth), std::max(h, FHeight));
    return;  // new: all zeros
  }
  const TPixelView32 v = PixelsOf(FBitmap.get());
  for (int y = 0; y < FHeight; ++y) std::memset(v.Row(y), 0, static_cast<size_t>(FWidth) * 4);
}

TacScratchBitmap::~TacScratchBitmap() {
  auto& pool = Pool();
  if (FBitmap && !FBitmap->Empty() && pool.size() < kKept) pool.push_back(std::move(FBitmap));
}
