// The alpha image list: items holding image files, the system list built
// from them, and 32-bit images decoded from them.
#include "skin/graphics/acAlphaImageList.h"

#include <shellapi.h>

#include "classlib/ui/Forms.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sSkinManagerOptions.h"
#include "skin/graphics/acAlphaImageListPixels.h"
#include "skin/graphics/acPNG.h"
#include "skin/graphics/acPNGIcons.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

using namespace acimglist;

namespace {

// A bitmap (or PNG picture) read from an item's bytes.
std::unique_ptr<TBitmap> ReadImage(TsImgListItem* Item) {
  TMemoryStream* data = Item->ImgData();
  data->SetPosition(0);
  std::unique_ptr<TBitmap> image;
  if (Item->ImageFormat == ifPNG)
    image = std::make_unique<TPNGGraphic>();
  else
    image = std::make_unique<TBitmap>();
  image->LoadFromStream(data);
  Item->OrigWidth = image->Width();
  Item->OrigHeight = image->Height();
  return image;
}

// A bitmap of another depth made 32-bit with every pixel opaque except
// those of the bottom-left pixel's colour.
void AlphaExceptBottomLeft(TBitmap* Bmp) {
  if (Bmp->Empty() || Bmp->PixelFormat() == pf32bit) return;
  Bmp->SetPixelFormat(pf32bit);
  const TsColor key = GetAPixel(Bmp, 0, Bmp->Height() - 1);
  ChangeBitmapPixels(Bmp, MakeAlphaPixel, 0, static_cast<TColor>(key.C));
}

Integer AddIconTo(HIMAGELIST List, HICON Icon) {
  if (!Icon) return -1;
  const Integer index = ImageList_AddIcon(List, Icon);
  DestroyIcon(Icon);
  return index;
}

int ScreenBits() {
  HDC dc = GetDC(nullptr);
  const int bits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
  ReleaseDC(nullptr, dc);
  return bits;
}

}  // namespace

// ------------------------------------------------------------------ items

TsImgListItem::TsImgListItem(TCollection* Collection)
    : TCollectionItem(Collection), FImgData(std::make_unique<TMemoryStream>()) {}

TsImgListItem::~TsImgListItem() = default;

void TsImgListItem::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TsImgListItem*>(Source);
  if (!s) {
    inherited::Assign(Source);
    return;
  }
  ImageFormat = s->ImageFormat;
  PixelFormat = s->PixelFormat;
  ImageName = s->ImageName;
  FImgData->Clear();
  s->FImgData->SetPosition(0);
  if (s->FImgData->Size() > 0) FImgData->CopyFrom(s->FImgData.get(), 0);
  FCacheBmp.reset();
}

void TsImgListItem::AssignTo(TPersistent* Dest) {
  if (auto* d = dynamic_cast<TsImgListItem*>(Dest))
    d->Assign(this);
  else
    inherited::AssignTo(Dest);
}

void TsImgListItem::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "ImgData", [this](TStream* s) { FImgData->LoadFromStream(s); },
      [this](TStream* s) { FImgData->SaveToStream(s); }, true);
}

TsImgListItems::TsImgListItems(TsAlphaImageList* AOwner)
    : TCollection(TsImgListItem::StaticClass()), FOwner(AOwner) {}

TPersistent* TsImgListItems::GetOwner() { return FOwner; }

// ------------------------------------------------------------- the alpha list

TsAlphaImageList::TsAlphaImageList(TComponent* AOwner)
    : TImageList(AOwner), FItems(std::make_unique<TsImgListItems>(this)) {}

TsAlphaImageList::~TsAlphaImageList() = default;

void TsAlphaImageList::AfterConstruction() {
  inherited::AfterConstruction();
  if (!HandleAllocated()) CreateImgList();
  if (!FListGenerated) GenerateStdList();
}

void TsAlphaImageList::Loaded() {
  inherited::Loaded();
  if (!HandleAllocated()) CreateImgList();
  if (!FListGenerated) {
    GenerateStdList();
    FListGenerated = true;
    Change();
  }
}

void TsAlphaImageList::CreateImgList() { HandleNeeded(); }

void TsAlphaImageList::KillImgList() {
  FreeHandle();
  Change();
}

void TsAlphaImageList::SetItems(TsImgListItems* Value) { FItems->Assign(Value); }

void TsAlphaImageList::SetWidth(Integer Value) {
  inherited::SetWidth(Value);
  if (ComponentState().Contains(csLoading)) return;
  GenerateStdList();
  Change();
}

void TsAlphaImageList::SetHeight(Integer Value) {
  inherited::SetHeight(Value);
  if (ComponentState().Contains(csLoading)) return;
  GenerateStdList();
  Change();
}

TColor TsAlphaImageList::BkColor() const { return FBkColor != clNone ? FBkColor : inherited::BkColor(); }

void TsAlphaImageList::SetBkColor(TColor Value) {
  FBkColor = Value;
  inherited::SetBkColor(Value);
}

void TsAlphaImageList::SetUseCache(bool Value) {
  FUseCache = Value;
  for (int i = 0; i < FItems->Count(); ++i) FItems->Items(i)->SetCacheBmp(nullptr);
}

bool TsAlphaImageList::IsDuplicated() const { return FKeepData || ComponentState().Contains(csDesigning); }

bool TsAlphaImageList::AvailableAsData(Integer Index) const {
  return IsDuplicated() && Index >= 0 && Index < FItems->Count() && FItems->Items(Index)->ImgData()->Size() > 0;
}

bool TsAlphaImageList::DecodedFormat(Integer Index) const {
  return AvailableAsData(Index) && FItems->Items(Index)->ImageFormat != ifICO;
}

void TsAlphaImageList::AcEndUpdate(bool DoChange) {
  FChanging = false;
  if (DoChange) Change();
}

// ------------------------------------------------------------ the system list

void TsAlphaImageList::GenerateStdList() {
  if (!HandleAllocated()) return;
  TFlagScope changing(FChanging);
  HIMAGELIST list = Handle();
  ImageList_Remove(list, -1);
  for (int i = 0; i < FItems->Count(); ++i) {
    TsImgListItem* item = FItems->Items(i);
    item->ImgData()->SetPosition(0);
    if (item->ImageFormat == ifICO) {
      TIcon icon;
      icon.SetWidth(Width());
      icon.SetHeight(Height());
      icon.LoadFromStream(item->ImgData());
      item->OrigWidth = icon.Width();
      item->OrigHeight = icon.Height();
      ImageList_AddIcon(list, icon.Handle());
      continue;
    }
    // A bitmap goes in at its own depth: one without alpha gets it from its
    // fuchsia pixels there (made 32-bit first it would have none at all).
    std::unique_ptr<TBitmap> image = ReadImage(item);
    AddIconTo(list, IsNT ? MakeCompIcon(image.get(), ColorOfList(ImageList_GetBkColor(list))) : MakeIcon32(image.get()));
  }
  if (FItems->Count() > 0) FListGenerated = true;
}

void TsAlphaImageList::Change() {
  if (FChanging || !HandleAllocated() || ComponentState().Contains(csLoading) || !FListGenerated) return;
  const bool designing = ComponentState().Contains(csDesigning);
  const Integer items = FItems->Count(), images = Count();
  if (!FKeepData || items < images || designing) inherited::Change();
  if (designing) return;
  if (FKeepData && items >= images) {
    if (items > images) GenerateStdList();
    inherited::Change();
    return;
  }
  RepairAlpha();
}

// Images added to the system list past the items: an image without any
// alpha becomes opaque except its fuchsia pixels.
void TsAlphaImageList::RepairAlpha() {
  HIMAGELIST list = Handle();
  for (int i = 0; i < Count(); ++i) {
    HICON icon = ImageList_GetIcon(list, i, ILD_NORMAL);
    HBITMAP mask = nullptr;
    std::unique_ptr<TBitmap> colour = IconColorBitmap(icon, &mask);
    if (icon) DestroyIcon(icon);
    if (colour && !HasAlpha(colour.get())) {
      ChangeBitmapPixels(colour.get(), MakeAlphaPixel, 0, sFuchsia);
      static_cast<TBitmapCanvas*>(colour->Canvas())->FreeContext();
      ICONINFO ii{TRUE, 0, 0, mask, colour->Handle()};
      HICON repaired = CreateIconIndirect(&ii);
      if (repaired) {
        ImageList_ReplaceIcon(list, i, repaired);
        DestroyIcon(repaired);
      }
    }
    if (mask) DeleteObject(mask);
  }
}

void TsAlphaImageList::MoveItem(Integer CurIndex, Integer NewIndex) {
  if (CurIndex < 0 || CurIndex >= FItems->Count() || NewIndex < 0 || NewIndex >= FItems->Count()) return;
  FItems->Items(CurIndex)->SetIndex(NewIndex);
  Move(CurIndex, NewIndex);
}

void TsAlphaImageList::ItemsClear() {
  for (int i = 0; i < FItems->Count(); ++i) FItems->Items(i)->ImgData()->Clear();
}

void TsAlphaImageList::CopyImages(TsAlphaImageList* ImgList) {
  if (!HandleAllocated() || !ImgList) return;
  if (ImgList->HandleAllocated()) ImageList_SetBkColor(ImgList->Handle(), CLR_NONE);
  FItems->Clear();
  for (int i = 0; i < ImgList->FItems->Count(); ++i) FItems->Add()->Assign(ImgList->FItems->Items(i));
  GenerateStdList();
}

void TsAlphaImageList::Assign(TPersistent* Source) {
  if (!Source) {
    KillImgList();
    return;
  }
  auto* source = dynamic_cast<TsAlphaImageList*>(Source);
  if (!source) {
    inherited::Assign(Source);
    return;
  }
  AcBeginUpdate();
  Clear();
  SetMasked(source->Masked());
  SetImageType(source->ImageType());
  SetDrawingStyle(source->DrawingStyle());
  SetShareImages(source->ShareImages());
  SetNewDimensions(source->Handle());
  FreeHandle();
  CreateImgList();
  SetBkColor(ColorOfList(ImageList_GetBkColor(source->Handle())));
  SetBlendColor(source->BlendColor());
  CopyImages(source);
  AcEndUpdate(false);
}

void TsAlphaImageList::AssignTo(TPersistent* Dest) {
  if (auto* d = dynamic_cast<TsAlphaImageList*>(Dest))
    d->Assign(this);
  else
    inherited::AssignTo(Dest);
}

// ------------------------------------------------------------ adding images

bool TsAlphaImageList::TryLoadFromFile(const AnsiString& FileName) {
  TsImageFormat format;
  if (!HandleAllocated() || !GetImageFormat(FileName, format)) return false;
  TsImgListItem* item = FItems->Add();
  item->ImgData()->LoadFromFile(FileName);
  item->ImageFormat = format;
  const AnsiString name = ExtractFileName(FileName);
  item->ImageName = LowerCase(name.substr(0, name.size() > 4 ? name.size() - 4 : 0));
  HICON icon = nullptr;
  switch (format) {
    case ifPNG: {
      item->PixelFormat = pf32bit;
      std::unique_ptr<TBitmap> image = ReadImage(item);
      icon = MakeIcon32(image.get());
      break;
    }
    case ifICO: {
      HICON extracted = ExtractIconW(GetModuleHandleW(nullptr), winapi::W(FileName).c_str(), 0);
      // ExtractIcon answers 1 for a file that holds no icon.
      if (reinterpret_cast<std::uintptr_t>(extracted) > 1) icon = extracted;
      ICONINFO ii{};
      if (icon && GetIconInfo(icon, &ii)) {
        BITMAP bm{};
        const bool deep = ii.hbmColor && GetObjectW(ii.hbmColor, sizeof bm, &bm) && bm.bmBitsPixel == 32;
        TBitmap colour;
        if (ii.hbmColor) colour.SetHandle(ii.hbmColor);  // takes and deletes the handle
        if (ii.hbmMask) DeleteObject(ii.hbmMask);
        item->OrigWidth = colour.Width();
        item->OrigHeight = colour.Height();
        item->PixelFormat = deep && HasAlpha(&colour) ? pf32bit : pf24bit;
      }
      break;
    }
    case ifBMP32: {
      item->PixelFormat = pf32bit;
      std::unique_ptr<TBitmap> image = ReadImage(item);
      AlphaExceptBottomLeft(image.get());
      icon = MakeIcon32(image.get());
      break;
    }
  }
  const bool added = AddIconTo(Handle(), icon) >= 0;
  // The items and the system list agree again: linked lists hear of it.
  if (added) FListGenerated = true;
  Change();
  return added;
}

void TsAlphaImageList::LoadFromFile(const AnsiString& FileName) {
  if (TryLoadFromFile(FileName)) return;
  Application->MessageBox("Cannot load " + FileName + "\r\nInvalid or unexpected image format.", Application->Title(),
                          MB_OK | MB_ICONERROR);
}

Integer TsAlphaImageList::Add(TBitmap* Image, TBitmap* Mask) {
  if (!Image || Image->Empty()) return -1;
  TsImgListItem* item = FItems->Add();
  if (Image->PixelFormat() != pf32bit) {
    TColor key = clNone;
    if (Image->Transparent()) {
      const TColor colour = Image->TransparentColor();
      // The transparent colour in pixel order (the bottom-left pixel's when automatic).
      key = colour == clDefault ? static_cast<TColor>(GetAPixel(Image, 0, Image->Height() - 1).C & 0xFFFFFF)
                                : SwapRedBlue(static_cast<TColor>(ColorToRGB(colour) & 0xFFFFFF));
    }
    Image->SetPixelFormat(pf32bit);
    FillAlphaRect(Image, Rect(0, 0, Image->Width(), Image->Height()), 255, key);
  }
  Image->SaveToStream(item->ImgData());
  item->ImageFormat = ifBMP32;
  item->PixelFormat = pf32bit;
  const Integer index = AddIconTo(Handle(), MakeIcon32(Image));
  if (index >= 0) FListGenerated = true;
  Change();
  return index;
}

// ------------------------------------------------------------ 32-bit images

std::unique_ptr<TBitmap> TsAlphaImageList::DecodeItem(Integer Index, Integer AWidth, Integer AHeight) {
  std::unique_ptr<TBitmap> image = ReadImage(FItems->Items(Index));
  // Alpha before any resampling, so that a bitmap without it keeps its pixels.
  if (image->PixelFormat() != pf32bit) {
    image->SetPixelFormat(pf32bit);
    KeyColorToAlpha(image.get());
  }
  return Resampled(std::move(image), AWidth, AHeight);
}

std::unique_ptr<TBitmap> TsAlphaImageList::IconImage(Integer Index, Integer AWidth, Integer AHeight,
                                                     bool KeyWhenNoManager) {
  HICON icon = ImageList_GetIcon(Handle(), Index, ILD_NORMAL);
  std::unique_ptr<TBitmap> image = IconColorBitmap(icon);
  if (icon) DestroyIcon(icon);
  if (!image) return nullptr;
  if (acWinVer < 6) {
    const bool noManagerRule =
        KeyWhenNoManager && (!DefaultManager || DefaultManager->Options()->CheckEmptyAlpha());
    if (ScreenBits() < 32 || noManagerRule) KeyColorToAlpha(image.get());
  }
  return Resampled(std::move(image), AWidth, AHeight);
}

TBitmap* TsAlphaImageList::CachedBitmap32(Integer Index, Integer AWidth, Integer AHeight) {
  if (!FUseCache || !HandleAllocated() || Index < 0 || Index >= Count() || !DecodedFormat(Index)) return nullptr;
  TsImgListItem* item = FItems->Items(Index);
  TBitmap* cache = item->CacheBmp();
  if (cache && cache->Width() == AWidth && cache->Height() == AHeight) return cache;
  item->SetCacheBmp(nullptr);
  item->SetCacheBmp(DecodeItem(Index, AWidth, AHeight));
  return item->CacheBmp();
}

std::unique_ptr<TBitmap> TsAlphaImageList::CreateBitmap32(Integer Index, Integer AWidth, Integer AHeight) {
  if (!HandleAllocated() || Index < 0 || Index >= Count()) return nullptr;
  if (!DecodedFormat(Index)) return IconImage(Index, AWidth, AHeight, true);
  if (FUseCache) return CloneBitmap32(CachedBitmap32(Index, AWidth, AHeight));
  return DecodeItem(Index, AWidth, AHeight);
}

bool TsAlphaImageList::GetBitmap32(Integer Index, TBitmap* Bmp) {
  if (!HandleAllocated() || !Bmp || Index < 0 || Index >= Count()) return false;
  const Integer w = Bmp->Empty() ? Width() : Bmp->Width(), h = Bmp->Empty() ? Height() : Bmp->Height();
  std::unique_ptr<TBitmap> image;
  if (!DecodedFormat(Index)) {
    image = IconImage(Index, w, h, false);
    if (!image) return false;
  } else {
    TsImgListItem* item = FItems->Items(Index);
    TBitmap* cache = FUseCache ? item->CacheBmp() : nullptr;
    if (cache && cache->Width() == w && cache->Height() == h) {
      Bmp->Assign(cache);
      return true;
    }
    if (cache) item->SetCacheBmp(nullptr);
    image = DecodeItem(Index, w, h);
    if (FUseCache && w == Width() && h == Height()) item->SetCacheBmp(CloneBitmap32(image.get()));
  }
  Bmp->Assign(image.get());
  return true;
}

void TsAlphaImageList::DoDraw(Integer Index, TCanvas* Canvas, Integer X, Integer Y, UINT, bool) {
  if (!HandleAllocated() || Index < 0 || !Canvas) return;
  if (Index < FItems->Count() && FItems->Items(Index)->ImageFormat != ifICO) {
    std::unique_ptr<TBitmap> image = CreateBitmap32(Index, Width(), Height());
    BlendOntoCanvas(Canvas, X, Y, image.get());
    return;
  }
  HIMAGELIST list = Handle();
  ImageList_SetBkColor(list, CLR_NONE);
  HICON icon = ImageList_GetIcon(list, Index, ILD_TRANSPARENT);
  if (!icon) return;
  DrawIconEx(Canvas->Handle(), X, Y, icon, Width(), Height(), 0, nullptr, DI_NORMAL);
  DestroyIcon(icon);
}

DK_PUBLISH(TsImgListItem) {
  P.Property("ImageFormat", &TsImgListItem::ImageFormat);
  P.Property("ImageName", &TsImgListItem::ImageName);
  P.Property("PixelFormat", &TsImgListItem::PixelFormat);
}

DK_PUBLISH(TsAlphaImageList) {
  P.Property("Items", &TsAlphaImageList::Items, &TsAlphaImageList::SetItems);
  P.Property("BkColor", &TsAlphaImageList::OwnBkColor, &TsAlphaImageList::SetBkColor)
      .Type(TypeInfoTColor())
      .Default(clNone);
  P.Property("Height", &TsAlphaImageList::GetHeight, &TsAlphaImageList::SetHeight).Default(16);
  P.Property("Width", &TsAlphaImageList::GetWidth, &TsAlphaImageList::SetWidth).Default(16);
  P.Property("UseCache", &TsAlphaImageList::UseCache, &TsAlphaImageList::SetUseCache).Default(true);
}
