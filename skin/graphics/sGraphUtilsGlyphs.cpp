// One image of a button's multi-image glyph, with its disabled look and a
// fading reflection below it.
#include <algorithm>

#include "skin/core/acntUtils.h"
#include "skin/graphics/acPaintManager.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

#ifdef _WIN32
#include "skin/core/sSkinManagerOptions.h"
#endif

namespace {

// The glyph's images are in the standard order (normal, disabled, pressed,
// down) rather than the skin library's own (normal, hot, pressed, down).
bool StandardOrder(bool FourBits) {
  if (FourBits || !DefaultManager) return true;
#ifdef _WIN32
  return DefaultManager->Options()->StdGlyphsOrder();
#else
  return acOldGlyphsOrder;
#endif
}

Integer ImageIndex(Integer State, Integer Count, bool Enabled, bool Down, bool FourBits) {
  if (!Enabled || State == 0) return 0;
  switch (State) {
    case 1:
      return StandardOrder(FourBits) ? 0 : 1;
    case 2:
      if (Down + 2 < Count) return Down + 2;
      return StandardOrder(FourBits) ? 0 : std::min(1, Count - 1);
    default:
      return Count > 2 ? 2 : 0;
  }
}

// The source rows from the bottom of Src (inclusive rectangle) mirrored
// downward from Top of Dst, fading; key pixels are left out.
void DrawReflection(const TPixelView32& Dst, const TPixelView32& Src, const TRect& Source, int Left, int Top,
                    std::uint32_t Key, Integer Blend) {
  const int n = std::min(Src.Height / 3 * 2 - 1, Dst.Height - Top - 1);
  if (n < 1) return;
  // The source columns inside the copy, then inside the target.
  const int first = std::max({Source.Left, 0, Source.Left - Left});
  const int last = std::min({Source.Right, Src.Width - 1, Source.Left + (Dst.Width - 1 - Left)});
  Byte level = 255;
  for (int i = 0; i <= n; ++i, level = static_cast<Byte>(level - 255 / n)) {
    const int y = Top + i, sy = Source.Bottom - i;
    if (y < 0 || y >= Dst.Height || sy < 0 || sy >= Src.Height) continue;
    const std::uint32_t f = static_cast<Byte>((((n - i) * 255 / n * level) >> 9) * (100 - Blend) / 100);
    const std::uint32_t* in = Src.Row(sy);
    std::uint32_t* out = Dst.Row(y);
    for (int sx = first; sx <= last; ++sx) {
      const std::uint32_t s = in[sx];
      if (s == Key) continue;
      std::uint32_t& d = out[Left + sx - Source.Left];
      std::uint32_t mixed = d & 0xFF000000u;
      for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
        mixed |= ((sc * f + dc * (256 - f)) >> 8 & 0xFF) << shift;
      }
      d = mixed;
    }
  }
}

}  // namespace

void DrawGlyphEx(TacBitmap* Glyph, TacBitmap* DstBmp, TRect R, Integer NumGlyphs, bool Enabled, Integer,
                 Integer State, Integer Blend, bool Down, bool Reflected) {
  if (!Glyph || !DstBmp || BitmapWidth(Glyph) < 1 || BitmapHeight(Glyph) < 1) return;
  std::unique_ptr<TacBitmap> copy = CreateBmp32(0, 0);
  AssignBitmap(copy.get(), Glyph);
  MakeBitmap32(copy.get());
  const TPixelView32 src = PixelsOf(copy.get());
  if (src.Empty()) return;
  if (Reflected) R = Rect(R.Left, R.Top - HeightOf(R) / 8, R.Right, R.Bottom - HeightOf(R) / 8);
  const Integer count = std::max(NumGlyphs, 1);
  State = count == 1 ? 0 : std::clamp<Integer>(State, 0, 3);
  if (State > 0) Blend = 0;

  const Integer index = ImageIndex(State, count, Enabled, Down, BitmapFormat(Glyph) == pf4bit);
  const int iw = src.Width / count;
  // The glyph's transparent colour: its bottom-left pixel as a colour.
  const TColor trans = SwapRedBlue(static_cast<TColor>(src.At(std::min(index * iw, src.Width - 1), src.Height - 1) &
                                                       0x00FFFFFFu));
  const TRect source = Rect(index * iw, 0, (index + 1) * iw - 1, src.Height - 1);
  if (Enabled || Blend == 0)
    CopyTransRectA(DstBmp, copy.get(), R.Left, R.Top, source, trans, MakeCacheInfo(DstBmp, 0, 0));
  else
    BlendTransRectangle(DstBmp, R.Left, R.Top, copy.get(), source, Blend / 100.0, sFuchsia);

  if (!Reflected) return;
  const int top = R.Top + HeightOf(R);
  DrawReflection(PixelsOf(DstBmp), src, source, R.Left, top, static_cast<std::uint32_t>(SwapColor(trans)), Blend);
}
