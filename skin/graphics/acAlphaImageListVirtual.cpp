// The virtual image list: a linked alpha list's images at another size.
#include "skin/core/acntUtils.h"
#include "skin/graphics/acAlphaImageList.h"
#include "skin/graphics/acAlphaImageListPixels.h"
#include "skin/graphics/acPNGIcons.h"
#include "skin/graphics/sGraphUtils.h"

using namespace acimglist;

TsVirtualImageList::TsVirtualImageList(TComponent* AOwner)
    : TCustomImageList(AOwner), FChangeLink(std::make_unique<TChangeLink>()) {
  SetDrawingStyle(dsTransparent);
  FChangeLink->OnChange = TNotifyEvent(this, &TsVirtualImageList::ImageListChange);
}

TsVirtualImageList::~TsVirtualImageList() {
  if (TCustomImageList* linked = FChangeLink->Sender()) linked->UnRegisterChanges(FChangeLink.get());
}

void TsVirtualImageList::AfterConstruction() {
  inherited::AfterConstruction();
  HandleNeeded();
  UpdateList(false);
}

void TsVirtualImageList::Loaded() {
  inherited::Loaded();
  HandleNeeded();
  UpdateList(false);
}

Integer TsVirtualImageList::Count() const { return FAlphaImageList ? FAlphaImageList->Count() : 0; }

void TsVirtualImageList::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == FAlphaImageList) SetAlphaImageList(nullptr);
}

void TsVirtualImageList::SetAlphaImageList(TsAlphaImageList* Value) {
  // The link's sender is cleared when the old list went first.
  if (TCustomImageList* old = FChangeLink->Sender()) old->UnRegisterChanges(FChangeLink.get());
  if (FAlphaImageList && FAlphaImageList != Value) FAlphaImageList->RemoveFreeNotification(this);
  FAlphaImageList = Value;
  if (Value) {
    Value->RegisterChanges(FChangeLink.get());
    Value->FreeNotification(this);
  }
  UpdateList(true);
}

void TsVirtualImageList::ImageListChange(TObject*) { UpdateList(true); }

void TsVirtualImageList::SetWidth(Integer Value) {
  if (Value == Width()) return;
  inherited::SetWidth(Value);
  UpdateList(true);
}

void TsVirtualImageList::SetHeight(Integer Value) {
  if (Value == Height()) return;
  inherited::SetHeight(Value);
  UpdateList(true);
}

void TsVirtualImageList::SetUseCache(bool Value) {
  FUseCache = Value;
  UpdateList(true);
}

void TsVirtualImageList::UpdateList(bool Force) {
  if ((!Force && FListGenerated) || FChanging) return;
  GenerateStdList();
  FListGenerated = Count() > 0;
  Change();
}

void TsVirtualImageList::ClearItems() {
  FCache.clear();
  if (HandleAllocated()) ImageList_Remove(Handle(), -1);
}

void TsVirtualImageList::GenerateStdList() {
  if (!HandleAllocated()) return;
  TFlagScope changing(FChanging);
  ClearItems();
  if (FAlphaImageList) {
    const Integer count = FAlphaImageList->Count();
    if (FUseCache) {
      FCache.resize(static_cast<size_t>(count));
    } else {
      for (Integer i = 0; i < count; ++i) {
        auto bmp = CreateBmp32(Width(), Height());
        if (!FAlphaImageList->GetBitmap32(i, bmp.get())) continue;
        if (HICON icon = MakeIcon32(bmp.get())) {
          ImageList_AddIcon(Handle(), icon);
          DestroyIcon(icon);
        }
      }
    }
  }
  FListGenerated = true;
}

void TsVirtualImageList::AcEndUpdate(bool DoChange) {
  FChanging = false;
  UpdateList(true);
  if (DoChange) Change();
}

void TsVirtualImageList::Change() {
  if (!FChanging) inherited::Change();
}

std::unique_ptr<TBitmap> TsVirtualImageList::RenderImage(Integer Index) {
  auto bmp = CreateBmp32(Width(), Height());
  if (FAlphaImageList) FAlphaImageList->GetBitmap32(Index, bmp.get());
  return bmp;
}

TBitmap* TsVirtualImageList::CachedImage(Integer Index) const {
  return Index >= 0 && Index < CacheLength() ? FCache[static_cast<size_t>(Index)].get() : nullptr;
}

TBitmap* TsVirtualImageList::CacheSlot(Integer Index) {
  if (Index < 0 || Index >= CacheLength()) return nullptr;
  auto& slot = FCache[static_cast<size_t>(Index)];
  if (!slot) slot = RenderImage(Index);
  return slot.get();
}

void TsVirtualImageList::RenderCacheNow(Integer ItemIndex) {
  if (!FUseCache) return;
  if (ItemIndex >= 0) {
    CacheSlot(ItemIndex);
    return;
  }
  for (Integer i = 0; i < CacheLength(); ++i) CacheSlot(i);
}

bool TsVirtualImageList::GetBitmap32(Integer Index, TBitmap* Bmp) {
  if (!HandleAllocated() || !Bmp || Index < 0) return false;
  if (FUseCache) {
    TBitmap* cached = Index < Count() ? CacheSlot(Index) : nullptr;
    if (!cached) return false;
    Bmp->Assign(cached);
    return true;
  }
  if (!FAlphaImageList || Index >= FAlphaImageList->Count()) return false;
  if (Bmp->Empty()) Bmp->SetSize(Width(), Height());
  return FAlphaImageList->GetBitmap32(Index, Bmp);
}

void TsVirtualImageList::DoDraw(Integer Index, TCanvas* Canvas, Integer X, Integer Y, UINT, bool) {
  if (!HandleAllocated() || Index < 0 || Index >= Count() || !Canvas) return;
  if (FUseCache) {
    BlendOntoCanvas(Canvas, X, Y, CacheSlot(Index));
    return;
  }
  std::unique_ptr<TBitmap> image = RenderImage(Index);
  BlendOntoCanvas(Canvas, X, Y, image.get());
}

DK_PUBLISH(TsVirtualImageList) {
  P.Property("AlphaImageList", &TsVirtualImageList::AlphaImageList, &TsVirtualImageList::SetAlphaImageList);
  P.Property("Height", &TsVirtualImageList::Height, &TsVirtualImageList::SetHeight).Default(16);
  P.Property("Width", &TsVirtualImageList::Width, &TsVirtualImageList::SetWidth).Default(16);
  P.Property("UseCache", &TsVirtualImageList::UseCache, &TsVirtualImageList::SetUseCache).Default(true);
}
