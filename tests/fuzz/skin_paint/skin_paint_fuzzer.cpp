// The painters of skin images and gradients driven by the input: bitmaps of
// up to 39 x 39 filled with key, mask and ordinary pixels, an image record
// with its rectangle, columns, mask kind, margins and fill mode, rectangles,
// states, cache offsets, alphas and a gradient text, all as a skin file or a
// careless caller could give them. Nothing may be read or written outside a
// bitmap.
#include <cstdint>
#include <string>

#include "../FuzzReader.h"
#include "skin/core/acntUtils.h"
#include "skin/graphics/Sgradient.h"
#include "skin/graphics/acPaintManager.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

struct Input {
  fuzzing::Reader In;
  std::uint8_t Byte() { return In.Byte(); }
  int Small() { return static_cast<std::int8_t>(In.Byte()); }
  int Side() { return In.Byte() % 40; }
  TRect Rectangle() {
    const int l = Small(), t = Small();
    return Rect(l, t, l + Small(), t + Small());
  }
  std::unique_ptr<TacBitmap> Bitmap() {
    auto b = CreateBmp32(Side(), Side());
    const TPixelView32 v = PixelsOf(b.get());
    const std::uint32_t palette[4] = {0x00FF00FFu, 0, 0xFFFFFFFFu, 0x80FF00FFu};
    for (int y = 0; y < v.Height; ++y)
      for (int x = 0; x < v.Width; ++x) {
        const std::uint8_t c = In.Byte();
        v.At(x, y) = c < 128 ? palette[c % 4] : c * 0x01010101u;
      }
    return b;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in{{data, size}};
  TsSkinManager manager;
  manager.MasterBitmap = in.Bitmap();
  auto dst = in.Bitmap();
  auto cache = in.Bitmap();
  TsMaskData md;
  md.SrcRect = in.Rectangle();
  md.Columns = static_cast<SmallInt>(in.Small() % 5);
  md.MaskKind = static_cast<SmallInt>(in.Small() % 3);
  md.MarginLeft = static_cast<SmallInt>(in.Small());
  md.MarginTop = static_cast<SmallInt>(in.Small());
  md.MarginRight = static_cast<SmallInt>(in.Small());
  md.MarginBottom = static_cast<SmallInt>(in.Small());
  md.FillMode = static_cast<SmallInt>(in.Byte() % 8);
  md.CornerKind = in.Byte() % 2;
  md.OwnerManager = &manager;
  if (in.Byte() % 4 == 0) md.Bitmap = in.Bitmap();
  manager.Masks.emplace_back();
  TCacheInfo ci = in.Byte() % 2 ? MakeCacheInfo(cache.get(), in.Small(), in.Small()) : EmptyCI;
  ci.FillColor = in.Byte() % 2 ? sFuchsia : 0x00123456;
  const TRect r1 = in.Rectangle(), r2 = in.Rectangle();
  const int state = in.Small(), alpha = in.Small() * 3, mode = in.Byte() % 3;
  const TPoint p = Point(in.Small(), in.Small());
  TacBitmap* d = dst.get();
  TacBitmap* s = md.Bitmap ? md.Bitmap.get() : manager.MasterBitmap.get();
  switch (in.Byte() % 20) {
    case 0: FillRect32(d, r1, 0x336699, 7); break;
    case 1: BlendColorRect32(d, r1, 0x336699, static_cast<Byte>(alpha), 9); break;
    case 2: BlendColorRect(d, r1, static_cast<Byte>(alpha), 0x336699); break;
    case 3: FillAlphaRect(d, r1, 3, sFuchsia); UpdateAlpha(d, r2); break;
    case 4: FillTransPixels32(d, cache.get(), r1, p, state % 3 == 0 ? 0 : -1, &manager, 13 + mode); break;
    case 5: ConvertMaskToAlpha(d, s, r1, r2); break;
    case 6: CopyByMask32(r1, r2, d, s, ci, md); break;
    case 7: CopyByMask32Ex(r1, r2, d, s, ci, md, alpha); break;
    case 8: CopyMasterRect(r1, r2, d, ci, md); break;
    case 9: CopyMasterRectA(r1, r2, d, ci, md); break;
    case 10:
      StretchBltMask(r1.Left, r1.Top, r1.Width(), r1.Height(), r2.Left, r2.Top, r2.Width(), r2.Height(), d, s,
                     state, mode == 1);
      break;
    case 11:
      StretchBltMask32(r1.Left, r1.Top, r1.Width(), r1.Height(), r2.Left, r2.Top, r2.Width(), r2.Height(), d, s,
                       state, mode == 1);
      break;
    case 12:
      StretchBltMask32Ex(r1.Left, r1.Top, r1.Width(), r1.Height(), r2.Left, r2.Top, r2.Width(), r2.Height(), d, s,
                         state, alpha, mode == 1);
      break;
    case 13: BlendGlyphByMask(r1, r2, d, s, mode, md); break;
    case 14: DrawSkinGlyph(d, p, state, mode, md, ci); break;
    case 15: DrawSkinRect(d, r1, ci, md, state, mode == 1); break;
    case 16: DrawSkinRect32(d, r1, ci, md, state); break;
    case 17: DrawSkinRect32Ex(d, r1, ci, md, state, r2, alpha); break;
    case 18: DrawSmallSkinRect(d, r1, ci, md, state); break;
    default: {
      TsGradArray grad;
      try {
        PrepareGradArray(in.In.Take(in.In.n), grad);
      } catch (const EConvertError&) {
        return 0;
      }
      for (TsGradPie& pie : grad) pie.Mode %= 3;
      PaintGrad(d, r1, grad);
      PaintGradTxt(d, r1, grad, cache.get(), r2, static_cast<Byte>(alpha), 5);
      break;
    }
  }
  return 0;
}
