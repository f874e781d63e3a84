// A border image painted into a bitmap while its corners' transparent pixels
// leave a window region.
#include "skin/graphics/Sborders.h"

#include <algorithm>

#include "skin/core/acntUtils.h"
#include "skin/core/sCommonData.h"
#include "skin/graphics/acPaintManager.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

constexpr std::uint32_t kKeyPixel = 0x00FF00FF;

// The runs of key pixels of one row, taken out of a region: a run that a
// picture pixel ends is combined with RGN_XOR, one the row's end closes with
// RGN_DIFF (for runs inside the region both remove them).
class TRegionRuns {
 public:
  TRegionRuns(HRGN Rgn, int Y) : FRgn(Rgn), FY(Y) {}
  void Key(int X) {
    if (!FRgn) return;
    if (FStart < 0) FStart = X;
    FEnd = X + 1;
  }
  void Picture() { Close(RGN_XOR); }
  void EndRow() { Close(RGN_DIFF); }

 private:
  void Close(int Mode) {
    if (FStart < 0) return;
    HRGN run = CreateRectRgn(FStart, FY, FEnd, FY + 1);
    CombineRgn(FRgn, FRgn, run, Mode);
    DeleteObject(run);
    FStart = -1;
  }
  HRGN FRgn;
  int FY;
  int FStart = -1, FEnd = -1;
};

// A picture pixel S through its mask pixel M over D: per colour channel
// (D x M + S x (256 - M)) shr 8 (a white mask keeps D); D's alpha stays.
inline std::uint32_t ThroughMask(std::uint32_t D, std::uint32_t S, std::uint32_t M) {
  std::uint32_t out = D & 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const std::uint32_t d = (D >> shift) & 0xFF, s = (S >> shift) & 0xFF, m = (M >> shift) & 0xFF;
    out |= ((d * m + s * (256 - m)) >> 8) << shift;
  }
  return out;
}

// Margins wider than the bitmap together lose the excess, half each (the
// far one a pixel more for an odd size), never below 0.
void ShareOut(int& Near, int& Far, int Size) {
  if (Size >= Near + Far) return;
  const int half = (Near + Far - Size) / 2;
  Near = std::max(Near - half, 0);
  Far = std::max(Far - half - (Size % 2), 0);
}

// The pieces of one state image of a border onto the bitmap.
struct TBorderPieces {
  TacBitmap* Bmp;
  TacBitmap* Src;
  HRGN Rgn;
  const TsMaskData& Md;
  bool Stretched;
  int MaskOffset;

  // W x H from (SX, SY) to (X, Y).
  void Copy(int X, int Y, int W, int H, int SX, int SY, bool UpdateRgn) const {
    if (W > 0 && H > 0) CopyMask(X, Y, X + W - 1, Y + H - 1, SX, SY, SX + W - 1, SY + H - 1, Bmp, Rgn, Md, UpdateRgn);
  }
  // The SW x SH piece over the area (X, Y)-(Right, Bottom): tiled with
  // shorter pieces at the right and bottom ends, or stretched.
  void Fill(int X, int Y, int Right, int Bottom, int SX, int SY, int SW, int SH, bool Smooth) const {
    if (SW <= 0 || SH <= 0 || Right <= X || Bottom <= Y) return;
    if (Stretched) {
      StretchBltMask(X, Y, Right - X, Bottom - Y, SX, SY, SW, SH, Bmp, Src, MaskOffset, Smooth);
      return;
    }
    for (int y = Y; y < Bottom; y += SH)
      for (int x = X; x < Right; x += SW) Copy(x, y, std::min(SW, Right - x), std::min(SH, Bottom - y), SX, SY, false);
  }
};

}  // namespace

void CopyMask(Integer DX1, Integer DY1, Integer DX2, Integer DY2, Integer SX1, Integer SY1, Integer SX2, Integer SY2,
              TacBitmap* Bmp, HRGN Rgn, const TsMaskData& MaskData, bool UpdateRgn) {
  if (DX1 < 0 || DY1 < 0 || DX2 < 0 || DY2 < 0 || !MaskData.OwnerManager) return;
  const TPixelView32 dst = PixelsOf(Bmp), src = PixelsOf(ImageBitmap(MaskData));
  if (dst.Width < 2 || dst.Height < 2 || src.Empty() || SX1 < 0 || SY1 < 0) return;
  const bool masked = MaskData.MaskKind == 1;
  const int maskOffset = masked ? HeightOf(MaskData.SrcRect) / 2 : 0;
  // The last row and column, cut to both bitmaps (and the mask rows to the source).
  const int lastRow = std::min({DY2 - DY1, dst.Height - 1 - DY1, SY2 - SY1, src.Height - 1 - SY1 - maskOffset});
  const int lastCol = std::min({DX2 - DX1, SX2 - SX1, dst.Width - 1 - DX1, src.Width - 1 - SX1});
  for (int i = 0; i <= lastRow; ++i) {
    std::uint32_t* d = dst.Row(DY1 + i) + DX1;
    const std::uint32_t* s = src.Row(SY1 + i) + SX1;
    const std::uint32_t* m = masked ? src.Row(SY1 + i + maskOffset) + SX1 : nullptr;
    TRegionRuns runs(Rgn, DY1 + i);
    for (int j = 0; j <= lastCol; ++j) {
      if (UpdateRgn && s[j] == kKeyPixel) {
        runs.Key(DX1 + j);
        continue;
      }
      if (UpdateRgn) runs.Picture();
      d[j] = masked ? ThroughMask(d[j], s[j], m[j]) : s[j];
    }
    runs.EndRow();
  }
}

void PaintRgnBorder(TacBitmap* Bmp, HRGN Rgn, bool Filling, const TsMaskData& MaskData, Integer State) {
  const int w = BitmapWidth(Bmp), h = BitmapHeight(Bmp);
  TacBitmap* src = ImageBitmap(MaskData);
  if (w < 2 || h < 2 || !MaskData.OwnerManager || !src) return;
  int wl = MaskData.MarginLeft, wr = MaskData.MarginRight, wt = MaskData.MarginTop, wb = MaskData.MarginBottom;
  ShareOut(wl, wr, w);
  ShareOut(wt, wb, h);
  int count = MaskData.Columns;
  TRect r = MaskData.SrcRect;
  if (count < 1) {
    count = 1;
    r = Rect(0, 0, BitmapWidth(src), BitmapHeight(src));
  }
  State = std::clamp<Integer>(State, 0, count - 1);
  const int iw = r.Width() / count;
  const int ih = MaskData.MaskKind == 0 ? r.Height() : r.Height() / (MaskData.MaskKind + 1);
  const int sx = r.Left + State * iw, top = r.Top;
  // The middle of the source, by the image's own margins.
  const int mw = std::max(iw - MaskData.MarginLeft - MaskData.MarginRight, 0);
  const int mh = std::max(ih - MaskData.MarginTop - MaskData.MarginBottom, 0);
  const bool stretched = (MaskData.FillMode & 1) != 0;
  if (stretched) SetStretchBltMode(Bmp->Canvas()->Handle(), COLORONCOLOR);
  const TBorderPieces pieces{Bmp, src, Rgn, MaskData, stretched, MaskData.MaskKind == 1 ? r.Height() / 2 : 0};

  pieces.Copy(0, 0, wl, wt, sx, top, true);
  pieces.Copy(0, h - wb, wl, wb, sx, top + ih - wb, true);
  pieces.Fill(0, wt, wl, h - wb, sx, top + wt, wl, mh, false);
  pieces.Fill(wl, 0, w - wr, wt, sx + wl, top, mw, wt, false);
  pieces.Fill(wl, h - wb, w - wr, h, sx + wl, top + ih - wb, mw, wb, false);
  pieces.Fill(w - wr, wt, w, h - wb, sx + iw - wr, top + wt, wr, mh, false);
  pieces.Copy(w - wr, h - wb, wr, wb, sx + iw - wr, top + ih - wb, true);
  pieces.Copy(w - wr, 0, wr, wt, sx + iw - wr, top, true);
  if (Filling && (MaskData.FillMode & 4) && mw > 0 && mh > 0)
    pieces.Fill(wl, wt, w - wr, h - wb, sx + wl, top + wt, mw, mh, true);
}

// ------------------------------------------------------------ a control's border

TRect PaintBorderFast(HDC DC, const TRect& R, Integer BorderWidth, TsCommonData* SkinData, Integer State) {
  const Integer bw = BorderWidth;
  TRect client{R.Left + bw, R.Top + bw, std::max(R.Right - bw, R.Left + bw), std::max(R.Bottom - bw, R.Top + bw)};
  if (!SkinData) return client;
  const TColor color = GetBGColor(SkinData, State, nullptr);
  TControl* owner = SkinData->OwnerControl;
  TacBGInfo info;
  if (owner && owner->Parent()) GetBGInfo(&info, owner->Parent(), false);
  TsSkinManager* m = SkinData->GetSkinManager();
  if (!m || !m->IsValidImgIndex(SkinData->BorderIndex)) {
    if (bw != 0) FillDCBorder(DC, R, bw, bw, bw, bw, color);
    return client;
  }
  const TsMaskData& mask = m->Masks[static_cast<size_t>(SkinData->BorderIndex)];
  if (m->IsValidSkinIndex(SkinData->SkinIndex)) {
    const Integer count = m->Sections[static_cast<size_t>(SkinData->SkinIndex)].StateCount;
    if (State > count - 1) State = std::max(count - 1, 0);
  }
  InitCacheBmp(SkinData);
  TacBitmap* cache = SkinData->CacheBmp.get();
  HDC cacheDC = cache->Canvas()->Handle();
  const Integer wl = mask.MarginLeft, wt = mask.MarginTop, wr = mask.MarginRight, wb = mask.MarginBottom;
  const TPoint at = owner ? TPoint{owner->Left(), owner->Top()} : TPoint{};
  if (mask.MaskKind == 1) {
    if (info.BgType == btCache && info.Bmp)
      BitBltBorder(cacheDC, R.Left, R.Top, R.Width(), R.Height(), info.Bmp->Canvas()->Handle(),
                   at.X + info.Offset.X + R.Left, at.Y + info.Offset.Y + R.Top, std::max({wl, wt, wr, wb}));
    else
      FillDCBorder(cacheDC, R, wl, wt, wr, wb, color);
  }
  TCacheInfo ci = BGInfoToCI(&info);
  ci.X += at.X;
  ci.Y += at.Y;
  DrawSkinRect(cache, R, ci, mask, State, true);
  TRect result{R.Left + wl, R.Top + wt, R.Right - wr, R.Bottom - wb};
  if (bw == 0) return result;
  const Integer w = R.Width(), h = R.Height();
  FillDCBorder32(cache, result, std::max(std::min(bw, w - wr) - wl, 0), std::max(std::min(bw, h - wb) - wt, 0),
                 std::max(std::min(bw, w - wl) - wr, 0), std::max(std::min(bw, h - wt) - wb, 0), ColorToRGB(color));
  if (DC != cacheDC) BitBltBorder(DC, R.Left, R.Top, w, h, cacheDC, R.Left, R.Top, bw);
  return client;
}
