// The skin state's life, its properties and the functions that decide how
// its owner looks: the section and its indexes, the plain-background state,
// the hot and update states, the cache and the skin colours.
#include "skin/core/sCommonData.h"

#include "classlib/ui/ExtCtrls.h"
#include "classlib/ui/Forms.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sKindCodes.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/graphics/acGlow.h"
#include "skin/graphics/sGraphUtils.h"

bool RestrictDrawing = false;

namespace {

TsSkinProvider* ProviderOf(const TsCommonData* S) { return dynamic_cast<TsSkinProvider*>(S->OwnerObject); }

// The section of a skinned state (nullptr when its index is not one of the manager's).
const TsGeneralData* SectionOf(const TsCommonData* S) {
  TsSkinManager* m = S->GetSkinManager();
  if (!m || !m->IsValidSkinIndex(S->SkinIndex)) return nullptr;
  return &m->Sections[static_cast<size_t>(S->SkinIndex)];
}

// The containers whose background may be the parent's (a form is a
// scrolling window control of the class library).
bool IsContainer(const TControl* C) {
  return dynamic_cast<const TCustomPanel*>(C) || dynamic_cast<const TCustomForm*>(C);
}

constexpr Word kPlainBackground = 0x1;
constexpr Word kPlainUndecided = 0x2;
constexpr Word kInUpdate = 0x800;
constexpr UINT kRedrawFlags = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME;

}  // namespace

// ------------------------------------------------------------ construction

TsCommonData::TsCommonData(TObject* AOwner, bool CreateCacheBmp)
    : OuterEffects(std::make_unique<TacOuterEffects>(this)), OwnerControl(dynamic_cast<TControl*>(AOwner)),
      OwnerObject(AOwner) {
  if (CreateCacheBmp) CacheBmp = CreateBmp32(0, 0);
}

TsCommonData::~TsCommonData() {
  SkinIndex = Texture = HotTexture = -1;
  if (GlowID != -1) HideGlow(GlowID);
  OwnerControl = nullptr;
  OwnerObject = nullptr;
  if (FSkinManager) FSkinManager->RemoveClient(this);
  FSkinManager = nullptr;
}

void TsCommonData::ForgetManager() {
  if (!FSkinManager) return;
  FSkinManager->RemoveClient(this);
  FSkinManager = nullptr;
  SkinIndex = BorderIndex = Texture = HotTexture = -1;
}

// -------------------------------------------------------------- properties

void TsCommonData::SetSkinManager(TsSkinManager* Value) {
  if (Value == FSkinManager) return;
  if (FSkinManager) FSkinManager->RemoveClient(this);
  FSkinManager = Value == DefaultManager ? nullptr : Value;
  if (FSkinManager) FSkinManager->AddClient(this);
  if (IsLoading(OwnerControl)) return;
  const bool hasSkin = Value && !Value->Sections.empty();
  if (hasSkin)
    UpdateIndexes(true);
  else
    SkinIndex = -1;
  if (ProviderOf(this) || !OwnerControl || !OwnerControl->Parent() || IsDestroying(OwnerControl)) return;
  const Word cmd = hasSkin && Value->IsValidSkinIndex(SkinIndex) ? ACMD_SKIN_REPAINT : ACMD_SKIN_UNLOADED;
  OwnerControl->Perform(SM_ALPHACMD, AlphaCmdParam(cmd), reinterpret_cast<LPARAM>(Value));
}

void TsCommonData::SetSkinSection(const AnsiString& Value) {
  // Exact: a name in lower case is looked up again every time.
  if (Value == FSkinSection) return;
  FSkinSection = UpperCase(Value);
  TsSkinManager* m = GetSkinManager();
  const bool hasSkin = m && !m->Sections.empty();
  if (hasSkin)
    UpdateIndexes(true);
  else
    SkinIndex = -1;
  TControl* c = OwnerControl;
  if (c && !IsLoading(c) && !IsReading(c) && !IsDestroying(c) && c->Parent()) {
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
      if (CacheBmp) CacheBmp->SetWidth(0);
      TMessage changed = MakeMessage(SM_ALPHACMD, AlphaCmdParam(ACMD_FLAG_BG_CHANGED, 1), 0, 0);
      AlphaBroadCast(w, changed);
    }
    if (!Updating && !Loading) {
      const Word cmd = hasSkin && m->IsValidSkinIndex(SkinIndex) ? ACMD_SKIN_REPAINT : ACMD_SKIN_UNLOADED;
      c->Perform(SM_ALPHACMD, AlphaCmdParam(cmd), reinterpret_cast<LPARAM>(m));
    }
    if (GlowID != -1) HideGlow(GlowID);
    GlowID = -1;
  } else if (ProviderOf(this)) {
    BGChanged = true;
  }
}

void TsCommonData::SetCustomColor(bool Value) {
  if (FCustomColor == Value) return;
  FCustomColor = Value;
  if (OwnerControl && !IsLoading(OwnerControl) && !Loading) ApplySkinColors(this, true);
}

void TsCommonData::SetCustomFont(bool Value) {
  if (FCustomFont == Value) return;
  FCustomFont = Value;
  if (OwnerControl && !IsLoading(OwnerControl) && !Loading) ApplySkinColors(this, true);
}

void TsCommonData::SetColorTone(TColor Value) {
  if (FColorTone == Value) return;
  FColorTone = Value;
  Loaded();
  Invalidate(false);
}

void TsCommonData::SetHUEOffset(Integer Value) {
  if (FHUEOffset == Value) return;
  FHUEOffset = Value;
  Loaded();
  Invalidate(false);
}

void TsCommonData::SetSaturation(Integer Value) {
  if (FSaturation == Value) return;
  FSaturation = Value;
  Loaded();
  Invalidate(false);
}

void TsCommonData::AssignTo(TPersistent* Dest) {
  auto* d = dynamic_cast<TsCommonData*>(Dest);
  if (!d) {
    inherited::AssignTo(Dest);
    return;
  }
  d->SetSkinSection(FSkinSection);
  d->FCustomColor = FCustomColor;
  d->FCustomFont = FCustomFont;
  d->SetSkinManager(FSkinManager);
  d->FColorTone = FColorTone;
  d->FHUEOffset = FHUEOffset;
  d->FSaturation = FSaturation;
  d->OuterEffects->Assign(OuterEffects.get());
}

// -------------------------------------------------------------- operations

bool TsCommonData::Skinned(bool CheckActive) const {
  // A manager that went is never held (it tells its states): nothing here
  // can meet a freed one.
  TsSkinManager* m = GetSkinManager();
  if (!m || IsDestroying(m) || !m->IsValidSkinIndex(SkinIndex)) return false;
  if (IsDestroying(dynamic_cast<TComponent*>(OwnerObject))) return false;
  return !CheckActive || m->CommonSkinData.Active;
}

void TsCommonData::UpdateIndexes(bool ReadSkinIndex) {
  if (auto* c = dynamic_cast<TComponent*>(OwnerObject); IsDesigning(c) && GetOwnerFrame(c)) {
    SkinIndex = Texture = HotTexture = -1;
    return;
  }
  BGChanged = true;
  TsSkinManager* m = GetSkinManager();
  if (ReadSkinIndex) SkinIndex = m && m->Active() ? m->GetSkinIndex(FSkinSection) : -1;
  BGDependency = 0;
  StateFlags = kPlainUndecided;
  const TsGeneralData* section = SectionOf(this);
  if (!section) {
    BorderIndex = Texture = HotTexture = -1;
    return;
  }
  const TsGenState& normal = section->Props[0];
  if (normal.ImagePercent != 0) BGDependency |= 4;
  if (normal.GradientPercent != 0 && !normal.GradientArray.empty()) {
    switch (normal.GradientArray[0].Mode) {
      case 0: BGDependency |= 2; break;
      case 1: BGDependency |= 1; break;
      case 2: BGDependency |= 3; break;
      default: break;
    }
  }
  BorderIndex = section->BorderMask;
  Texture = m->GetTextureIndex(SkinIndex, FSkinSection, "PATTERN");
  HotTexture = m->GetTextureIndex(SkinIndex, FSkinSection, "HOTPATTERN");
  UpdateSkinState(this, false);
}

void TsCommonData::Loaded() {
  Loading = false;
  UpdateData(this);
  if (!Skinned(false) || !OwnerControl || !OwnerControl->Parent() || IsLoading(OwnerControl)) return;
  if (auto* w = dynamic_cast<TWinControl*>(OwnerControl)) AddToAdapter(w);
  ApplySkinColors(this, false);
}

void TsCommonData::BeginUpdate() {
  ++UpdateCount;
  Updating = true;
  StateFlags |= kInUpdate;
  if (OwnerControl)
    OwnerControl->Perform(SM_ALPHACMD, AlphaCmdParam(ACMD_UPDATE_BEGIN), 0);
  else if (TsSkinProvider* p = ProviderOf(this); p && p->Form && p->Form->HandleAllocated())
    SendAMessage(p->Form->WindowHandle(), ACMD_UPDATE_BEGIN);
}

void TsCommonData::EndUpdate(bool Repaint) {
  --UpdateCount;
  Updating = false;
  StateFlags &= ~kInUpdate;
  if (OwnerControl)
    OwnerControl->Perform(SM_ALPHACMD, AlphaCmdParam(ACMD_UPDATE_END), 0);
  else if (TsSkinProvider* p = ProviderOf(this); p && p->Form && p->Form->HandleAllocated())
    SendAMessage(p->Form->WindowHandle(), ACMD_UPDATE_END);
  if (Repaint) Invalidate(true);
}

bool TsCommonData::GetUpdating() const {
  TsSkinManager* m = GetSkinManager();
  if (!m || IsDesigning(m)) return false;
  if (Updating) return true;
  if (OwnerControl) {
    if (IsDestroying(OwnerControl) || !OwnerControl->Parent()) return false;
    return GetBoolMsg(OwnerControl->Parent(), ACMD_QUERY_PAINT_WAIT);
  }
  if (TsSkinProvider* p = ProviderOf(this)) {
    if (!p->Form || !p->Form->Parent()) return false;
    return GetBoolMsg(p->Form->Parent(), ACMD_QUERY_PAINT_WAIT);
  }
  return false;
}

void TsCommonData::Invalidate(bool UpdateNow) {
  if (Loading) return;
  const UINT flags = kRedrawFlags | (UpdateNow ? RDW_UPDATENOW : 0);
  if (TControl* c = OwnerControl) {
    if (IsDestroying(c) || IsLoading(c)) return;
    BGChanged = true;
    if (!ControlIsReady(c)) return;
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
      if (w->HandleAllocated()) RedrawWindow(w->WindowHandle(), nullptr, nullptr, flags);
    } else {
      c->Repaint();
    }
  } else if (TsSkinProvider* p = ProviderOf(this)) {
    BGChanged = true;
    if (p->Form && p->Form->HandleAllocated()) RedrawWindow(p->Form->WindowHandle(), nullptr, nullptr, flags);
  }
}

bool TsCommonData::RepaintIfMoved() {
  if (!Skinned(false) || !OwnerControl || !OwnerControl->Enabled()) return true;
  TWinControl* parent = OwnerControl->Parent();
  if (SectionOf(this)->Props[0].Transparency > 0 && parent && parent->HandleAllocated())
    return GetBoolMsg(parent, ACMD_QUERY_CHILD_BG_VARIES);
  return false;
}

// ------------------------------------------------------------ unit functions

bool InUpdating(TsCommonData* SkinData, bool ClearFirst) {
  if (ClearFirst) SkinData->Updating = false;
  if (!SkinData->GetUpdating()) return false;
  SkinData->Updating = true;
  return true;
}

bool IsCached(TsCommonData* SkinData) {
  return !(SkinData->StateFlags & kPlainBackground) || HaveOuterEffects(SkinData) ||
         (!sCanNotBeHot.Contains(SkinData->KindCode) && ControlIsActive(SkinData));
}

bool HaveOuterEffects(TsCommonData* SkinData) {
  if (!ProviderOf(SkinData) && !dynamic_cast<TWinControl*>(SkinData->OwnerControl)) return false;
  TsSkinManager* m = SkinData->GetSkinManager();
  return m && m->Effects()->AllowOuterEffects();
}

bool ControlIsActive(TsCommonData* SkinData) {
  if (!SkinData || !SkinData->OwnerControl) return false;
  TControl* c = SkinData->OwnerControl;
  if (IsDestroying(c) || !c->Enabled() || IsDesigning(c)) return false;
  if (SkinData->Focused) return true;
  // A panel that holds the focus window is not hot for it.
  if (auto* w = dynamic_cast<TWinControl*>(c);
      w && w->HandleAllocated() && w->WindowHandle() == GetFocus() && !dynamic_cast<TCustomPanel*>(c))
    return true;
  if (!SkinData->MouseAbove) return false;
  TsSkinManager* m = SkinData->GetSkinManager();
  if (m && m->Options()->NoMouseHover()) return false;
  return !sForbidMouse.Contains(SkinData->KindCode);
}

Integer GetPlainState(TsCommonData* SkinData) {
  TsSkinManager* m = SkinData->GetSkinManager();
  const TsGeneralData* section = SectionOf(SkinData);
  if (!m || !section) return 1;
  if ((dynamic_cast<TWinControl*>(SkinData->OwnerControl) || ProviderOf(SkinData)) && m->Effects()->AllowOuterEffects())
    return 0;
  if (m->IsValidImgIndex(SkinData->BorderIndex) && (m->Masks[static_cast<size_t>(SkinData->BorderIndex)].FillMode & 4))
    return 0;
  const TsGenState& normal = section->Props[0];
  if (normal.Transparency == 100) {
    if (m->IsValidImgIndex(section->PatternIndex) &&
        m->Masks[static_cast<size_t>(section->PatternIndex)].FillMode == fmDisTiled)
      return 0;
    if (!SkinData->OwnerControl || !SkinData->OwnerControl->Parent()) return 0;
    TWinControl* parent = SkinData->OwnerControl->Parent();
    if (!parent->HandleAllocated()) return 2;
    if (!GetBoolMsg(parent->WindowHandle(), ACMD_QUERY_HOOKED)) return 1;
    // The parent's own state flags: 2 stays undecided, otherwise bit 0 counts.
    return static_cast<Integer>(SendAMessage(parent->WindowHandle(), ACMD_SKIN_STATE, 0));
  }
  if (normal.Transparency == 0) {
    if (normal.ImagePercent != 0 || normal.GradientPercent != 0) return 0;
    if (TsSkinProvider* p = ProviderOf(SkinData); p && p->Form && p->Form->OnPaint) return 0;
    for (Integer corner : section->CornerImages)
      if (corner != -1) return 0;
    return 1;
  }
  return 0;
}

void UpdateSkinState(TsCommonData* SkinData, bool Children) {
  SkinData->StateFlags &= ~kPlainBackground;
  if (TControl* c = SkinData->OwnerControl) {
    if (IsContainer(c)) {
      const Integer state = GetPlainState(SkinData);
      if (state == 2) return;
      SkinData->StateFlags = static_cast<Word>((SkinData->StateFlags & ~(kPlainBackground | kPlainUndecided)) |
                                               (state & kPlainBackground));
    }
    if (auto* w = dynamic_cast<TWinControl*>(c); w && Children)
      for (int i = 0; i < w->ControlCount(); ++i) SendAMessage(w->Controls(i), ACMD_SKIN_STATE, 1);
  } else if (TsSkinProvider* p = ProviderOf(SkinData)) {
    const Integer state = GetPlainState(SkinData);
    if (state == 2) return;
    if (state & 1) {
      if (!(p->Form && p->Form->FormStyle() == fsMDIForm)) SkinData->StateFlags |= kPlainBackground;
      SkinData->StateFlags &= ~kPlainUndecided;
    } else {
      SkinData->StateFlags = 0;
    }
  }
}

void UpdateData(TsCommonData* SkinData) {
  if (IsDesigning(SkinData->OwnerControl) && SkinData->SkinSection() == "RADIOBUTTON")
    SkinData->SetSkinSection("TRANSPARENT");
  if (!SkinData->SkinSection().empty()) {
    SkinData->UpdateIndexes(true);
    return;
  }
  if (SkinData->KindCode == 34) {
    // The slider takes the first of these its skin has, its name stays empty.
    static const AnsiString names[3] = {"", "SLIDER_OFF", "PANEL_LOW"};
    InitIndexes(SkinData, names, 2);
    return;
  }
  const char* section = sKind::DefaultSection(SkinData->KindCode);
  SkinData->SetSkinSection(section ? AnsiString(section)
                                   : SkinData->OwnerObject ? SkinData->OwnerObject->ClassName() : AnsiString());
}

void InitIndexes(TsCommonData* SkinData, const AnsiString* Names, Integer High) {
  TsSkinManager* m = SkinData->GetSkinManager();
  if (!m) {
    SkinData->SkinIndex = -1;
    return;
  }
  for (Integer i = 0; i <= High; ++i) {
    if (Names[i].empty()) continue;
    SkinData->SkinIndex = m->GetSkinIndex(Names[i]);
    if (SkinData->SkinIndex >= 0) {
      SkinData->UpdateIndexes(false);
      return;
    }
  }
}

void InitCacheBmp(TsCommonData* SkinData) {
  if (!SkinData->CacheBmp) SkinData->CacheBmp = CreateBmp32(0, 0);
  if (TControl* c = SkinData->OwnerControl) {
    const Integer w = Maxi(c->Width(), 0), h = Maxi(c->Height(), 0);
    if (SkinData->CacheBmp->Width() != w || SkinData->CacheBmp->Height() != h) SkinData->CacheBmp->SetSize(w, h);
  }
}

void ApplySkinColors(TsCommonData* SkinData, bool Repaint) {
  if (!SkinData->Skinned(false) || !sEditCtrls.Contains(SkinData->KindCode) || !SkinData->OwnerControl) return;
  const TsGeneralData* section = SectionOf(SkinData);
  if (section->Props[0].Transparency == 100 && section->Props[1].Transparency == 100) return;
  TControl* c = SkinData->OwnerControl;
  if (auto* w = dynamic_cast<TWinControl*>(c); w && !w->HandleAllocated()) return;
  auto adjusted = [SkinData](TColor color) {
    return ChangeSaturation(ChangeHue(SkinData->HUEOffset(), color), SkinData->Saturation());
  };
  if (!SkinData->CustomColor()) {
    const TColor color = adjusted(section->Props[0].Color);
    if (color != c->Color()) c->SetColor(color);
  }
  if (!SkinData->CustomFont() && SkinData->KindCode != COC_TsCustomListView) {
    const TColor color = adjusted(section->Props[0].FontColor.Color);
    if (color != c->Font()->Color()) c->Font()->SetColor(color);
  }
  if (Repaint) SkinData->Invalidate(false);
}

// ------------------------------------------------------------ the sub-objects

TsScrollWndData::TsScrollWndData(TObject* AOwner, bool CreateCacheBmp)
    : TsCommonData(AOwner, CreateCacheBmp), FVertScrollData(std::make_unique<TacScrollData>(this)),
      FHorzScrollData(std::make_unique<TacScrollData>(this)) {}

TsScrollWndData::~TsScrollWndData() {
  FVertScrollData.reset();
  FHorzScrollData.reset();
}

namespace {
TWinControl* ScrollOwner(TsCommonData* S) {
  auto* w = S ? dynamic_cast<TWinControl*>(S->OwnerControl) : nullptr;
  return w && !IsLoading(w) && w->HandleAllocated() ? w : nullptr;
}
}  // namespace

void TacScrollData::SetButtonsSize(Integer Value) {
  if (FButtonsSize == Value) return;
  FButtonsSize = Value;
  if (TWinControl* w = ScrollOwner(FOwner)) SendMessageW(w->WindowHandle(), WM_NCPAINT, 0, 0);
}

void TacScrollData::SetScrollWidth(Integer Value) {
  if (FScrollWidth == Value) return;
  FScrollWidth = Value;
  if (TWinControl* w = ScrollOwner(FOwner))
    SetWindowPos(w->WindowHandle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOCOPYBITS | SWP_NOOWNERZORDER |
                     SWP_NOSENDCHANGING);
}

void TacScrollData::AssignTo(TPersistent* Dest) {
  if (auto* d = dynamic_cast<TacScrollData*>(Dest)) {
    d->SetScrollWidth(FScrollWidth);
    d->SetButtonsSize(FButtonsSize);
    return;
  }
  inherited::AssignTo(Dest);
}

void TacOuterEffects::SetVisibility(TacOuterVisibility Value) {
  if (FVisibility == Value) return;
  FVisibility = Value;
  if (FOwner && FOwner->OwnerControl && !IsLoading(FOwner->OwnerControl)) Invalidate();
}

void TacOuterEffects::Invalidate() {
  TWinControl* parent = FOwner && FOwner->OwnerControl ? FOwner->OwnerControl->Parent() : nullptr;
  if (parent && parent->HandleAllocated() && !IsLoading(parent) && !IsDestroying(parent))
    SendAMessage(parent->WindowHandle(), ACMD_REDRAW);
}

void TacOuterEffects::AssignTo(TPersistent* Dest) {
  if (auto* d = dynamic_cast<TacOuterEffects*>(Dest)) {
    d->SetVisibility(FVisibility);
    return;
  }
  inherited::AssignTo(Dest);
}

// ---------------------------------------------------------------- publishing

DK_PUBLISH(TacOuterEffects) {
  P.Property("Visibility", &TacOuterEffects::Visibility, &TacOuterEffects::SetVisibility).Default(ovNone);
}
DK_PUBLISH(TacScrollData) {
  P.Property("ScrollWidth", &TacScrollData::ScrollWidth, &TacScrollData::SetScrollWidth).Default(-1);
  P.Property("ButtonsSize", &TacScrollData::ButtonsSize, &TacScrollData::SetButtonsSize).Default(-1);
}
DK_PUBLISH(TsCommonData) {
  P.Property("CustomColor", &TsCommonData::CustomColor, &TsCommonData::SetCustomColor).Default(false);
  P.Property("CustomFont", &TsCommonData::CustomFont, &TsCommonData::SetCustomFont).Default(false);
  P.Property("OuterEffects", &TsCommonData::GetOuterEffects, &TsCommonData::SetOuterEffects);
  P.Property("SkinManager", &TsCommonData::SkinManager, &TsCommonData::SetSkinManager)
      .Stored(&TsCommonData::ManagerStored);
  P.Property("SkinSection", &TsCommonData::SkinSection, &TsCommonData::SetSkinSection);
}
DK_PUBLISH(TsCtrlSkinData) {
  P.Property("ColorTone", &TsCtrlSkinData::ColorTone, &TsCtrlSkinData::SetColorTone)
      .Type(TypeInfoTColor())
      .Default(clNoColor);
  P.Property("HUEOffset", &TsCtrlSkinData::HUEOffset, &TsCtrlSkinData::SetHUEOffset).Default(0);
  P.Property("Saturation", &TsCtrlSkinData::Saturation, &TsCtrlSkinData::SetSaturation).Default(0);
}
DK_PUBLISH(TsScrollWndData) {
  P.Property("HorzScrollData", &TsScrollWndData::HorzScrollData, &TsScrollWndData::SetHorzScrollData);
  P.Property("VertScrollData", &TsScrollWndData::VertScrollData, &TsScrollWndData::SetVertScrollData);
}
