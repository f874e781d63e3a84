// Drawing one image of any image list into a 32-bit bitmap or onto a device
// context, and images from resources.
#include "skin/core/acntUtils.h"
#include "skin/graphics/acAlphaImageList.h"
#include "skin/graphics/acPNG.h"
#include "skin/graphics/acPNGIcons.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

void BlendImage(TBitmap* DestBmp, const TRect& Dest, TBitmap* Image, const TRect& Source, Integer Blend, TColor GrayColor,
           bool Reflection) {
  if (!Image) return;
  CopyBmp32(Dest, Source, DestBmp, Image, EmptyCI, false, GrayColor, Blend, Reflection);
}

// A list of another kind draws the image itself over a copy of what lies
// below the glyph.
void DrawThroughList(TCustomImageList* ImgList, TBitmap* DestBmp, const TRect& Dest, const TRect& Source,
                     Integer ImageIndex) {
  auto work = CreateBmp32(ImgList->Width(), ImgList->Height());
  BlockCopy(work.get(), Source.Left, Source.Top, Dest.Width(), Dest.Height(), DestBmp, Dest.Left, Dest.Top);
  ImgList->Draw(work->Canvas(), 0, 0, ImageIndex, true);
  BlockCopy(DestBmp, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), work.get(), Source.Left, Source.Top);
}

}  // namespace

TSize DrawAlphaImgList(TCustomImageList* ImgList, TBitmap* DestBmp, Integer Left, Integer Top, Integer ImageIndex,
                       Integer Blend, TColor GrayColor, Integer State, Integer GlyphCount, bool Reflection) {
  if (!ImgList || !DestBmp || DestBmp->Width() == 0 || !ImgList->HandleAllocated() || ImageIndex < 0) return TSize{};
  const Integer count = std::max(GlyphCount, 1);
  const Integer state = std::clamp(State, 0, count - 1);
  const Integer w = ImgList->Width(), h = ImgList->Height(), gw = w / count;
  const TRect dest = Rect(Left, Top, Left + gw, Top + h);
  const TRect source = Bounds(state * gw, 0, gw, h);
  if (auto* alpha = dynamic_cast<TsAlphaImageList*>(ImgList)) {
    if (TBitmap* cached = alpha->CachedBitmap32(ImageIndex, w, h)) {
      // The item's cache as it is: what CreateBitmap32 would copy from it.
      BlendImage(DestBmp, dest, cached, source, Blend, GrayColor, Reflection);
    } else {
      std::unique_ptr<TBitmap> image = alpha->CreateBitmap32(ImageIndex, w, h);
      BlendImage(DestBmp, dest, image.get(), source, Blend, GrayColor, Reflection);
    }
  } else if (auto* virt = dynamic_cast<TsVirtualImageList*>(ImgList)) {
    if (virt->UseCache()) {
      BlendImage(DestBmp, dest, virt->CacheSlot(ImageIndex), source, Blend, GrayColor, Reflection);
    } else {
      auto image = CreateBmp32(w, h);
      virt->GetBitmap32(ImageIndex, image.get());
      BlendImage(DestBmp, dest, image.get(), source, Blend, GrayColor, Reflection);
    }
  } else {
    DrawThroughList(ImgList, DestBmp, dest, source, ImageIndex);
  }
  return TSize{gw, h};
}

void DrawAlphaImgListDC(TCustomImageList* ImgList, HDC DC, Integer Left, Integer Top, Integer ImageIndex,
                        Integer Blend, TColor GrayColor, Integer State, Integer GlyphCount, bool Reflection) {
  if (!ImgList || !DC) return;
  const Integer w = ImgList->Width(), h = ImgList->Height() + (Reflection ? ImgList->Height() / 2 : 0);
  auto work = CreateBmp32(w, h);
  if (work->Empty()) return;
  HDC workDC = work->Canvas()->Handle();
  BitBlt(workDC, 0, 0, w, h, DC, Left, Top, SRCCOPY);
  DrawAlphaImgList(ImgList, work.get(), 0, 0, ImageIndex, Blend, GrayColor, State, GlyphCount, Reflection);
  BitBlt(DC, Left, Top, w, h, workDC, 0, 0, SRCCOPY);
}

bool AddImageFromRes(HINSTANCE Instance, TsAlphaImageList* ImgList, const AnsiString& ResName, TsImageFormat Format) {
  if (!ImgList) return false;
  if (Format == ifICO) {
    auto icon = static_cast<HICON>(LoadImageW(Instance, winapi::W(ResName).c_str(), IMAGE_ICON, ImgList->Width(),
                                              ImgList->Height(), LR_DEFAULTCOLOR));
    if (!icon) return false;
    const bool added = ImageList_AddIcon(ImgList->Handle(), icon) != -1;
    DestroyIcon(icon);
    return added;
  }
  TResourceStream resource(reinterpret_cast<std::uintptr_t>(Instance), ResName, reinterpret_cast<const char*>(RT_RCDATA));
  TsImgListItem* item = ImgList->Items()->Add();
  item->ImageFormat = ifPNG;
  item->ImgData()->LoadFromStream(&resource);
  item->ImgData()->SetPosition(0);
  TPNGGraphic png;
  png.LoadFromStream(item->ImgData());
  HICON icon = MakeIcon32(&png);
  if (!icon) return false;
  const bool added = ImageList_AddIcon(ImgList->Handle(), icon) != -1;
  DestroyIcon(icon);
  return added;
}
