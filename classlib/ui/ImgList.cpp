// Image lists over the system image list.
#include "classlib/ui/ImgList.h"

#include <algorithm>

namespace {

// A bitmap handle free of the bitmap's own memory context, so that the system
// list can select it into its own.
HBITMAP FreeHandleOf(TBitmap* Bmp) {
  if (!Bmp || Bmp->Empty()) return nullptr;
  static_cast<TBitmapCanvas*>(Bmp->Canvas())->FreeContext();
  return Bmp->Handle();
}

}  // namespace

// ------------------------------------------------------------------ TChangeLink

TChangeLink::~TChangeLink() {
  if (FSender) FSender->UnRegisterChanges(this);
}

void TChangeLink::Change() {
  if (OnChange) OnChange(FSender);
}

// ------------------------------------------------------------- TCustomImageList

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::~TCustomImageList() {
  for (TChangeLink* link : FClients) link->SetSender(nullptr);
  FClients.clear();
  FreeHandle();
}

COLORREF TCustomImageList::ListColor(TColor Color) {
  if (Color == clNone) return CLR_NONE;
  if (Color == clDefault) return CLR_DEFAULT;
  return static_cast<COLORREF>(ColorToRGB(Color));
}

TColor TCustomImageList::ColorOfList(COLORREF Color) {
  if (Color == CLR_NONE) return clNone;
  if (Color == CLR_DEFAULT) return clDefault;
  return static_cast<TColor>(Color);
}

UINT TCustomImageList::DrawFlags(TDrawingStyle ADrawingStyle, TImageType AImageType) {
  static const UINT styles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
  return styles[ADrawingStyle] | (AImageType == itMask ? ILD_MASK : 0);
}

void TCustomImageList::HandleNeeded() {
  if (FHandle) return;
  const UINT flags = ILC_COLOR32 | (FMasked ? ILC_MASK : 0);
  FHandle = ImageList_Create(FWidth, FHeight, flags, FAllocBy, FAllocBy);
  if (!FHandle) throw EInvalidOperation("Failed to create the image list");
  if (FBkColor != clNone) ImageList_SetBkColor(FHandle, ListColor(FBkColor));
}

HIMAGELIST TCustomImageList::Handle() {
  HandleNeeded();
  return FHandle;
}

void TCustomImageList::FreeHandle() {
  if (FHandle && !FShareImages) ImageList_Destroy(FHandle);
  FHandle = nullptr;
}

void TCustomImageList::SetHandle(HIMAGELIST Value) {
  if (Value == FHandle) return;
  FreeHandle();
  FHandle = Value;
  if (FHandle) SetNewDimensions(FHandle);
  Change();
}

HIMAGELIST TCustomImageList::ReleaseHandle() {
  HIMAGELIST h = FHandle;
  FHandle = nullptr;
  return h;
}

void TCustomImageList::SetNewDimensions(HIMAGELIST Value) {
  int cx = 0, cy = 0;
  if (Value && ImageList_GetIconSize(Value, &cx, &cy)) {
    FWidth = cx;
    FHeight = cy;
  }
}

Integer TCustomImageList::Count() const { return FHandle ? ImageList_GetImageCount(FHandle) : 0; }

void TCustomImageList::SetWidth(Integer Value) {
  if (Value == FWidth) return;
  FWidth = Value;
  if (FHandle) ImageList_SetIconSize(FHandle, FWidth, FHeight);
  Change();
}

void TCustomImageList::SetHeight(Integer Value) {
  if (Value == FHeight) return;
  FHeight = Value;
  if (FHandle) ImageList_SetIconSize(FHandle, FWidth, FHeight);
  Change();
}

TColor TCustomImageList::BkColor() const { return FHandle ? ColorOfList(ImageList_GetBkColor(FHandle)) : FBkColor; }

void TCustomImageList::SetBkColor(TColor Value) {
  FBkColor = Value;
  if (FHandle) ImageList_SetBkColor(FHandle, ListColor(Value));
  Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle Value) {
  if (Value == FDrawingStyle) return;
  FDrawingStyle = Value;
  Change();
}

void TCustomImageList::SetImageType(TImageType Value) {
  if (Value == FImageType) return;
  FImageType = Value;
  Change();
}

void TCustomImageList::SetMasked(bool Value) {
  if (Value == FMasked) return;
  FMasked = Value;
  // The flag is a property of the system list: a new (empty) one takes it.
  if (FHandle) {
    FreeHandle();
    HandleNeeded();
  }
  Change();
}

Integer TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  if (!Image || Image->Empty()) return -1;
  const Integer result = ImageList_Add(Handle(), FreeHandleOf(Image), FreeHandleOf(Mask));
  Change();
  return result;
}

Integer TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  if (!Image || Image->Empty()) return -1;
  const Integer result = ImageList_AddMasked(Handle(), FreeHandleOf(Image), static_cast<COLORREF>(ColorToRGB(MaskColor)));
  Change();
  return result;
}

Integer TCustomImageList::AddIcon(TIcon* Image) { return Image ? AddIconHandle(Image->Handle()) : -1; }

Integer TCustomImageList::AddIconHandle(HICON Icon) {
  if (!Icon) return -1;
  const Integer result = ImageList_AddIcon(Handle(), Icon);
  Change();
  return result;
}

void TCustomImageList::Replace(Integer Index, TBitmap* Image, TBitmap* Mask) {
  if (!FHandle || !Image) return;
  if (!ImageList_Replace(FHandle, Index, FreeHandleOf(Image), FreeHandleOf(Mask)))
    throw EInvalidOperation("Failed to replace image");
  Change();
}

void TCustomImageList::ReplaceIcon(Integer Index, TIcon* Image) {
  if (!FHandle || !Image) return;
  if (ImageList_ReplaceIcon(FHandle, Index, Image->Handle()) < 0) throw EInvalidOperation("Failed to replace image");
  Change();
}

void TCustomImageList::Delete(Integer Index) {
  if (Index >= Count()) throw EInvalidOperation("Invalid image list index");
  if (FHandle) ImageList_Remove(FHandle, Index);
  Change();
}

void TCustomImageList::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex || !FHandle) return;
  // Moving is a series of neighbour exchanges (ILCF_SWAP).
  const int step = NewIndex > CurIndex ? 1 : -1;
  for (int i = CurIndex; i != NewIndex; i += step) ImageList_Copy(FHandle, i + step, FHandle, i, ILCF_SWAP);
  Change();
}

void TCustomImageList::GetIcon(Integer Index, TIcon* Image, TDrawingStyle ADrawingStyle, TImageType AImageType) {
  if (!Image || !FHandle) return;
  Image->SetHandle(ImageList_GetIcon(FHandle, Index, DrawFlags(ADrawingStyle, AImageType)));
}

bool TCustomImageList::GetBitmap(Integer Index, TBitmap* Image) {
  if (!Image || !FHandle || Index < 0 || Index >= Count()) return false;
  Image->SetSize(FWidth, FHeight);
  TCanvas* canvas = Image->Canvas();
  canvas->Brush()->SetColor(BkColor() == clNone ? clWhite : BkColor());
  canvas->FillRect(Rect(0, 0, FWidth, FHeight));
  return ImageList_Draw(FHandle, Index, canvas->Handle(), 0, 0, ILD_NORMAL) != FALSE;
}

void TCustomImageList::Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled) {
  Draw(Canvas, X, Y, Index, FDrawingStyle, FImageType, Enabled);
}

void TCustomImageList::Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, TDrawingStyle ADrawingStyle,
                            TImageType AImageType, bool Enabled) {
  if (FHandle && Canvas) DoDraw(Index, Canvas, X, Y, DrawFlags(ADrawingStyle, AImageType), Enabled);
}

void TCustomImageList::DoDraw(Integer Index, TCanvas* Canvas, Integer X, Integer Y, UINT Style, bool Enabled) {
  if (!FHandle || Index < 0) return;
  HDC dc = Canvas->Handle();
  if (Enabled) {
    ImageList_DrawEx(FHandle, Index, dc, X, Y, 0, 0, ListColor(BkColor()), ListColor(FBlendColor), Style);
    return;
  }
  // Disabled: the image embossed in the system's grey.
  HICON icon = ImageList_GetIcon(FHandle, Index, ILD_NORMAL);
  if (!icon) return;
  DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, X, Y, 0, 0, DST_ICON | DSS_DISABLED);
  DestroyIcon(icon);
}

void TCustomImageList::RegisterChanges(TChangeLink* Value) {
  if (!Value) return;
  Value->SetSender(this);
  if (std::find(FClients.begin(), FClients.end(), Value) == FClients.end()) FClients.push_back(Value);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Value) {
  auto it = std::find(FClients.begin(), FClients.end(), Value);
  if (it == FClients.end()) return;
  (*it)->SetSender(nullptr);
  FClients.erase(it);
}

void TCustomImageList::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  if (FUpdateCount == 0 && FChanged) {
    FChanged = false;
    Change();
  }
}

void TCustomImageList::Change() {
  FChanged = true;
  if (FUpdateCount > 0) return;
  FChanged = false;
  // A link may unregister itself from its handler: walk a copy.
  const std::vector<TChangeLink*> clients = FClients;
  for (TChangeLink* link : clients)
    if (std::find(FClients.begin(), FClients.end(), link) != FClients.end()) link->Change();
  if (OnChange) OnChange(this);
}

void TCustomImageList::AddImages(TCustomImageList* Value) {
  if (!Value || !Value->FHandle) return;
  for (int i = 0; i < Value->Count(); ++i) {
    HICON icon = ImageList_GetIcon(Value->FHandle, i, ILD_TRANSPARENT);
    if (!icon) continue;
    ImageList_AddIcon(Handle(), icon);
    DestroyIcon(icon);
  }
}

void TCustomImageList::Assign(TPersistent* Source) {
  if (!Source) {
    FreeHandle();
    Change();
    return;
  }
  auto* list = dynamic_cast<TCustomImageList*>(Source);
  if (!list) {
    inherited::Assign(Source);
    return;
  }
  BeginUpdate();
  Clear();
  FMasked = list->FMasked;
  FImageType = list->FImageType;
  FDrawingStyle = list->FDrawingStyle;
  FShareImages = list->FShareImages;
  FWidth = list->FWidth;
  FHeight = list->FHeight;
  if (FHandle)
    ImageList_SetIconSize(FHandle, FWidth, FHeight);
  else
    HandleNeeded();
  SetBkColor(list->BkColor());
  FBlendColor = list->FBlendColor;
  AddImages(list);
  EndUpdate();
}

DK_PUBLISH(TImageList) {
  P.Property("AllocBy", &TImageList::AllocBy, &TImageList::SetAllocBy).Default(4);
  P.Property("BlendColor", &TImageList::BlendColor, &TImageList::SetBlendColor).Type(TypeInfoTColor()).Default(clNone);
  P.Property("BkColor", &TImageList::BkColor, &TImageList::SetBkColor).Type(TypeInfoTColor()).Default(clNone);
  P.Property("DrawingStyle", &TImageList::DrawingStyle, &TImageList::SetDrawingStyle).Default(dsNormal);
  P.Property("Height", &TImageList::Height, &TImageList::SetHeight).Default(16);
  P.Property("ImageType", &TImageList::ImageType, &TImageList::SetImageType).Default(itImage);
  P.Property("Masked", &TImageList::Masked, &TImageList::SetMasked).Default(true);
  P.Property("ShareImages", &TImageList::ShareImages, &TImageList::SetShareImages).Default(false);
  P.Property("Width", &TImageList::Width, &TImageList::SetWidth).Default(16);
  P.Property("OnChange", &TImageList::OnChange);
}
