// One figure of the alpha image lists: DrawAlphaImgList of a cached 32 x 32
// PNG image onto a 32-bit bitmap, against CopyBmp32 of a ready 32 x 32
// bitmap onto the same target (rounds of the two alternate, so that both see
// the same machine; the best round of each counts).
//
//   scripts/wine-exec build/win64/bin/imglist_bench.exe [draws per round]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "../../images/PngWriter.h"
#include "skin/core/acntUtils.h"
#include "skin/graphics/acAlphaImageList.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

using Clock = std::chrono::steady_clock;

// A 32 x 32 RGBA picture: opaque, half-transparent and clear quarters.
pngtest::Bytes Picture() {
  pngtest::Bytes rows;
  for (int y = 0; y < 32; ++y) {
    rows += '\0';
    for (int x = 0; x < 32; ++x) {
      const char alpha = x < 16 ? char(255) : y < 16 ? char(128) : char(0);
      rows += pngtest::Bytes{char(x * 8), char(y * 8), char(200), alpha};
    }
  }
  return pngtest::Png(32, 32, 8, 6, rows);
}

// Nanoseconds per call of Draw over Count calls.
template <class F>
double PerCall(int Count, F Draw) {
  const auto start = Clock::now();
  for (int i = 0; i < Count; ++i) Draw(i);
  return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / Count;
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20000;
  auto* list = Create<TsAlphaImageList>(nullptr);
  list->SetWidth(32);
  list->SetHeight(32);
  const pngtest::Bytes png = Picture();
  TsImgListItem* item = list->Items()->Add();
  item->ImageFormat = ifPNG;
  item->ImgData()->Write(png.data(), static_cast<Integer>(png.size()));
  list->GenerateStdList();

  auto target = CreateBmp32(64, 64);
  auto ready = list->CreateBitmap32(0, 32, 32);  // the same picture, ready
  const TRect whole = Rect(0, 0, 32, 32);
  // Both draw at the same places of the target, by turns.
  auto place = [](int i) { return i % 2 ? 16 : 0; };
  DrawAlphaImgList(list, target.get(), 0, 0, 0, 0, clNone, 0, 1, false);  // the cache is made here

  double draw = 1e30, copy = 1e30;
  for (int round = 0; round < 7; ++round) {
    draw = std::min(draw, PerCall(count, [&](int i) {
      DrawAlphaImgList(list, target.get(), place(i), place(i), 0, 0, clNone, 0, 1, false);
    }));
    copy = std::min(copy, PerCall(count, [&](int i) {
      CopyBmp32(Bounds(place(i), place(i), 32, 32), whole, target.get(), ready.get(), EmptyCI, false, clNone, 0, false);
    }));
  }
  std::printf("DrawAlphaImgList, cached 32 x 32 PNG: %8.0f ns\n", draw);
  std::printf("CopyBmp32, ready 32 x 32 bitmap:      %8.0f ns\n", copy);
  std::printf("ratio %.2f (at most 3)\n", draw / copy);
  list->Free();
  return 0;
}
