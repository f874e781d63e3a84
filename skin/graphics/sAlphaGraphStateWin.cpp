// Pixel work on a control's image that needs the control: the corners of its
// border image given the parent's background, and its disabled look.
#include "skin/core/sCommonData.h"
#include "skin/core/sDefaults.h"
#include "skin/core/sVclUtils.h"
#include "skin/graphics/acPaintManager.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

constexpr std::uint32_t kKeyPixel = 0x00FF00FF;

// One corner of a border image: where it lies in the image and in the cache.
struct TCorner {
  TsCorner Which;
  TRect Src;  // left, top, width, height
  TPoint At;
};

// What a key pixel of a corner takes: the parent's image at the pixel's
// place moved by Offset, or a colour.
struct TCornerBackground {
  TPixelView32 Bmp;  // empty: the colour
  TPoint Offset;
  std::uint32_t Color = 0;
  bool KeepFuchsia = false;  // a colour of 0xFF00FF leaves the pixel (key-colour images)
};

TCornerBackground BackgroundOf(const TacBGInfo& Info, TControl* Owner, bool Masked) {
  TCornerBackground bg;
  if (Info.BgType == btCache && Info.Bmp) {
    bg.Bmp = PixelsOf(Info.Bmp);
    bg.Offset = TPoint{Info.Offset.X + Owner->Left(), Info.Offset.Y + Owner->Top()};
  }
  bg.Color = static_cast<std::uint32_t>(SwapRedBlue(Info.Color));
  bg.KeepFuchsia = !Masked && Info.Color == sFuchsia;
  return bg;
}

// The key pixels of one corner filled from the background. A key-colour
// image leaves pixels whose background lies outside the parent's image; a
// masked one ends the row there (and leaves a pixel below that image).
void FillCorner(const TPixelView32& Cache, const TPixelView32& Src, const TCorner& C, const TCornerBackground& Bg,
                bool Masked) {
  for (int r = 0; r < C.Src.Bottom; ++r) {
    for (int c = 0; c < C.Src.Right; ++c) {
      const int sx = C.Src.Left + c, sy = C.Src.Top + r, x = C.At.X + c, y = C.At.Y + r;
      if (!Src.Inside(sx, sy) || !Cache.Inside(x, y) || Src.At(sx, sy) != kKeyPixel) continue;
      if (Bg.Bmp.Empty()) {
        if (!Bg.KeepFuchsia) Cache.At(x, y) = Bg.Color;
        continue;
      }
      const int bx = x + Bg.Offset.X, by = y + Bg.Offset.Y;
      if (Bg.Bmp.Inside(bx, by)) {
        Cache.At(x, y) = Bg.Bmp.At(bx, by);
      } else if (Masked && (bx >= Bg.Bmp.Width || by < 0)) {
        break;
      }
    }
  }
}

// The parent's answer what lies behind the owner; false without a parent.
bool AskParent(TControl* Owner, TacBGInfo& Info) {
  Info.PleaseDraw = false;
  if (TWinControl* parent = Owner->Parent()) {
    GetBGInfo(&Info, parent, false);
    return true;
  }
  auto* w = dynamic_cast<TWinControl*>(Owner);
  if (!w || !w->HandleAllocated()) return false;
  GetBGInfo(&Info, GetParent(w->WindowHandle()), false);
  return true;
}

}  // namespace

void UpdateCorners(TsCommonData* SkinData, Integer State, TsCorners Corners) {
  TsSkinManager* m = SkinData ? SkinData->GetSkinManager() : nullptr;
  if (!m || !m->IsValidImgIndex(SkinData->BorderIndex) || !SkinData->CacheBmp || !SkinData->OwnerControl) return;
  const TsMaskData& image = m->Masks[static_cast<size_t>(SkinData->BorderIndex)];
  if (image.CornerKind == 0) return;
  TControl* owner = SkinData->OwnerControl;
  TacBGInfo info;
  if (!AskParent(owner, info)) return;

  // A picture of its own without columns: three masked states over all of it.
  TsMaskData md;
  md.SrcRect = image.SrcRect;
  md.Columns = image.Columns;
  md.MaskKind = image.MaskKind;
  if (image.Columns == 0 && image.Bitmap) {
    md.MaskKind = 1;
    md.Columns = 3;
    md.SrcRect = TRect{0, 0, image.Bitmap->Width(), image.Bitmap->Height()};
  }
  TacBitmap* source = image.Bitmap ? image.Bitmap.get() : m->MasterBitmap.get();
  const TPixelView32 src = PixelsOf(source), cache = PixelsOf(SkinData->CacheBmp.get());
  if (src.Empty() || cache.Empty()) return;

  if (State > md.Columns - 1) State = md.Columns - 1;
  const Integer w = WidthOfImage(md), h = HeightOfImage(md);
  const Integer wl = image.MarginLeft, wt = image.MarginTop, wr = image.MarginRight, wb = image.MarginBottom;
  const Integer sl = md.SrcRect.Left + w * State, st = md.SrcRect.Top, right = sl + w - wr;
  const Integer W = owner->Width(), H = owner->Height();
  const bool masked = md.MaskKind != 0;
  const TCornerBackground bg = BackgroundOf(info, owner, masked);
  const TCorner corners[4] = {
      {scLeftTop, TRect{sl, st, wl, wt}, TPoint{0, 0}},
      {scLeftBottom, TRect{sl, st + h - wb, wl, wb}, TPoint{0, H - wb}},
      {scRightBottom, TRect{right, st + h - wb, wr, wb}, TPoint{W - wr, H - wb}},
      {scRightTop, TRect{right, st, wr, wt}, TPoint{W - wr, 0}},
  };
  for (const TCorner& c : corners)
    if (Corners.Contains(c.Which)) FillCorner(cache, src, c, bg, masked);
}

void BmpDisabledKind(TacBitmap* Bmp, TsDisabledKind DisabledKind, TControl* Parent, const TCacheInfo& CI,
                     const TPoint& Offset) {
  if (!Bmp) return;
  if (DisabledKind.Contains(dkGrayed)) {
    if (DefDisabledSaturation == -100)
      GrayScale(Bmp);
    else
      ChangeBitmapPixels(Bmp, &ChangeColorSaturation, DefDisabledSaturation, sFuchsia);
  }
  if (!DisabledKind.Contains(dkBlended)) return;
  TRect r{0, 0, Bmp->Width(), Bmp->Height()};
  if (CI.Ready && CI.Bmp) {
    r.Offset(CI.X + Offset.X, CI.Y + Offset.Y);
    BlendTransRectangle(Bmp, 0, 0, CI.Bmp, r, DefDisabledBlend, sFuchsia);
    return;
  }
  const TColor color = CI.FillColor == sFuchsia ? GetControlColor(Parent) : CI.FillColor;
  BlendColorRect(Bmp, r, static_cast<Byte>(static_cast<Integer>(DefDisabledBlend * 100)), color);
}
