#include "skin/graphics/acAlphaImageListPixels.h"

#ifdef _WIN32

#include "skin/core/acntUtils.h"
#include "skin/graphics/sGraphUtils.h"

namespace acimglist {

bool HasAlpha(TBitmap* Bmp) {
  const TPixelView32 rows = PixelsOf(Bmp);
  for (int y = 0; y < rows.Height; ++y) {
    const std::uint32_t* row = rows.Row(y);
    for (int x = 0; x < rows.Width; ++x)
      if (row[x] >> 24) return true;
  }
  return false;
}

void KeyColorToAlpha(TBitmap* Bmp) {
  const TPixelView32 rows = PixelsOf(Bmp);
  if (rows.Empty() || HasAlpha(Bmp)) return;
  const std::uint32_t key = rows.Row(rows.Height - 1)[0];
  for (int y = 0; y < rows.Height; ++y) {
    std::uint32_t* row = rows.Row(y);
    for (int x = 0; x < rows.Width; ++x)
      if (row[x] != key) row[x] |= 0xFF000000u;
  }
}

std::unique_ptr<TBitmap> IconColorBitmap(HICON Icon, HBITMAP* Mask) {
  ICONINFO ii{};
  if (!Icon || !GetIconInfo(Icon, &ii)) return nullptr;
  if (Mask)
    *Mask = ii.hbmMask;
  else if (ii.hbmMask)
    DeleteObject(ii.hbmMask);
  if (!ii.hbmColor) return nullptr;
  auto out = std::make_unique<TBitmap>();
  out->SetHandle(ii.hbmColor);  // takes the handle
  if (out->Empty()) return nullptr;
  out->SetPixelFormat(pf32bit);
  return out;
}

std::unique_ptr<TBitmap> Resampled(std::unique_ptr<TBitmap> Bmp, int W, int H) {
  if (!Bmp || (Bmp->Width() == W && Bmp->Height() == H)) return Bmp;
  Bmp->SetPixelFormat(pf32bit);
  auto out = CreateBmp32(W, H);
  Stretch(Bmp.get(), out.get(), W, H, ftMitchell, 0);
  return out;
}

void BlendOntoCanvas(TCanvas* Canvas, int X, int Y, TBitmap* Image) {
  if (!Canvas || !Image || Image->Empty()) return;
  const int w = Image->Width(), h = Image->Height();
  auto work = CreateBmp32(w, h);
  BitBlt(work->Canvas()->Handle(), 0, 0, w, h, Canvas->Handle(), X, Y, SRCCOPY);
  CopyBmp32(Rect(0, 0, w, h), Rect(0, 0, w, h), work.get(), Image, MakeCacheInfo(work.get(), 0, 0), false, clNone, 0,
            false);
  BitBlt(Canvas->Handle(), X, Y, w, h, work->Canvas()->Handle(), 0, 0, SRCCOPY);
}

}  // namespace acimglist

#endif
