#include "skin/controls/sLabel.h"

#include <shellapi.h>

#include "classlib/ui/Forms.h"
#include "skin/core/sDefaults.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sVclUtils.h"
#include "skin/graphics/sGraphUtils.h"

DK_UNIT(sLabel);

namespace {

// Process-wide: a label is inside the font-colour step of its Paint (the
// font change that step causes is not a real one) ...
bool gInColorStep = false;
// ... or is handling a font change.
bool gInFontChange = false;

bool SkinIsActive(const TsSkinManager* M) { return M && !IsDestroying(M) && M->CommonSkinData.Active; }

}  // namespace

// ============================================================ TsCustomLabel

TsCustomLabel::TsCustomLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}

void TsCustomLabel::Construct() {
  inherited::Construct();
  SetTransparent(true);
}

TsSkinManager* TsCustomLabel::SkinManager() const { return FSkinManager ? FSkinManager : DefaultManager; }

bool TsCustomLabel::SkinActive() const { return SkinIsActive(SkinManager()); }

void TsCustomLabel::SetSkinSection(const AnsiString& Value) {
  if (FSkinSection == Value) return;
  FSkinSection = Value;
  Invalidate();
}

void TsCustomLabel::SetSkinManager(TsSkinManager* Value) {
  if (FSkinManager == Value) return;
  if (FSkinManager) FSkinManager->RemoveFreeNotification(this);
  FSkinManager = Value;
  if (Value) Value->FreeNotification(this);
  Invalidate();
}

void TsCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSkinManager) FSkinManager = nullptr;
}

TColor TsCustomLabel::TextColor() {
  TsSkinManager* m = SkinManager();
  if (Enabled()) return m ? m->GetGlobalFontColor() : ColorToRGB(Font()->Color());
  return MixColors(ColorToRGB(Font()->Color()), ColorToRGB(GetControlColor(Parent())), DefDisabledBlend);
}

void TsCustomLabel::Paint() {
  FSkinIndex = -1;
  if (IsDestroying(this)) return;
  TsSkinManager* m = SkinManager();
  if (!gInColorStep) {
    gInColorStep = true;
    if (!FSkinSection.empty() && SkinIsActive(m)) {
      FSkinIndex = m->GetSkinIndex(FSkinSection);
      if (FSkinIndex >= 0) {
        const TColor c = m->Sections[static_cast<size_t>(FSkinIndex)].Props[0].FontColor.Color;
        if (c != Font()->Color()) Font()->SetColor(c);
      }
    }
    gInColorStep = false;
  }
  // The first section gives its font colour only, never a background.
  if (FSkinIndex > 0 && Parent()) {
    TacBGInfo bg;
    GetBGInfo(&bg, Parent());
    const TCacheInfo ci = BGInfoToCI(&bg);
    // Painted with the label's own manager: the index was found in its skin.
    PaintItem(FSkinIndex, FSkinSection, ci, true, 0, TRect(0, 0, Width(), Height()), TPoint(Left(), Top()),
              Canvas()->Handle(), m);
  }
  inherited::Paint();
  FSkinIndex = -1;
}

void TsCustomLabel::DoDrawText(TRect& Rect, UINT Flags) {
  if (!SkinActive()) {
    inherited::DoDrawText(Rect, Flags);
    return;
  }
  AnsiString text = Caption();
  // An empty caption (or a lone accelerator mark) still measures one line.
  if ((Flags & DT_CALCRECT) && (text.empty() || (ShowAccelChar() && text == "&"))) text += " ";
  if (!ShowAccelChar()) Flags |= DT_NOPREFIX;
  if (!WordWrap()) Flags |= DT_SINGLELINE;
  Flags = DrawTextBiDiModeFlags(Flags);
  TCanvas* c = Canvas();
  c->Font()->Assign(GetCurrentFont());
  c->Font()->SetColor(TextColor());
  // The disabled look is the colour alone: no embossed copy.
  DrawControlText(c->Handle(), text, Rect, Flags, c->Font(), true);
}

void TsCustomLabel::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_FONTCHANGED:
      if (!IsDestroying(this) && !IsLoading(this) && !gInFontChange) {
        if (gInColorStep) return;
        gInFontChange = true;
        if (AutoSize()) AdjustBounds();
        Invalidate();
        gInFontChange = false;
        return;
      }
      break;
    case CM_MOUSEENTER:
      if (OnMouseEnter) OnMouseEnter(this);
      break;
    case CM_MOUSELEAVE:
      inherited::WndProc(Message);
      if (OnMouseLeave) OnMouseLeave(this);
      return;
    case SM_ALPHACMD:
      if (const Word cmd = AlphaCmdOf(Message.WParam); cmd == ACMD_SKIN_UNLOADED || cmd == ACMD_SKIN_REPAINT) {
        inherited::WndProc(Message);
        if (IsDesigning(this) && !IsDestroying(this)) Invalidate();
        return;
      }
      break;
    default:
      break;
  }
  inherited::WndProc(Message);
}

// ================================================================== TsLabel

void TsLabel::SetUseSkinColor(bool Value) {
  if (FUseSkinColor == Value) return;
  FUseSkinColor = Value;
  Invalidate();
}

TColor TsLabel::TextColor() {
  TsSkinManager* m = SkinManager();
  if (!FUseSkinColor || !SkinActive()) return ColorToRGB(Font()->Color());
  Integer index = SkinSection().empty() ? -1 : m->GetSkinIndex(SkinSection());
  if (index >= 0) {
    const TsGeneralData& s = m->Sections[static_cast<size_t>(index)];
    if (s.Props[0].Transparency == 100 && !m->IsValidImgIndex(s.BorderMask)) index = GetFontIndex(this, index, m, 0);
  } else {
    index = GetFontIndex(this, index, m, 0);
  }
  TColor c = m->IsValidSkinIndex(index) ? m->Sections[static_cast<size_t>(index)].Props[0].FontColor.Color
                                        : m->GetGlobalFontColor();
  if (!Enabled()) c = MixColors(ColorToRGB(c), ColorToRGB(GetControlColor(Parent())), DefDisabledBlend);
  return c;
}

TsEditLabel::~TsEditLabel() {
  if (OnGone) OnGone();
}

// =============================================================== TsWebLabel

TsWebLabel::TsWebLabel(TComponent* AOwner) : TsLabel(AOwner) {}
TsWebLabel::~TsWebLabel() = default;

void TsWebLabel::Construct() {
  inherited::Construct();
  FNormalFont = std::make_unique<TFont>();
  FHoverFont = std::make_unique<TFont>();
  FNormalFont->Assign(Font());
  FHoverFont->Assign(Font());
  SetCursor(crHandPoint);
  FControlStyle.Include(csOpaque);
  SetTransparent(true);
}

void TsWebLabel::SetNormalFont(TFont* Value) {
  Font()->Assign(Value);
  FNormalFont->Assign(Value);
  Invalidate();
}

void TsWebLabel::Loaded() {
  inherited::Loaded();
  Font()->Assign(FNormalFont.get());
}

TFont* TsWebLabel::GetCurrentFont() {
  return FMouseAbove && !IsDesigning(this) ? FHoverFont.get() : FNormalFont.get();
}

TColor TsWebLabel::TextColor() {
  TsSkinManager* m = SkinManager();
  const bool skinColor = UseSkinColor() && SkinActive();
  if (!FMouseAbove || IsDesigning(this)) {
    if (IsDestroying(this) || !skinColor) return ColorToRGB(FNormalFont->Color());
    const Integer index = GetFontIndex(this, -1, m, 0);
    return m->IsValidSkinIndex(index) ? m->Sections[static_cast<size_t>(index)].Props[0].FontColor.Color
                                      : m->Palette[pcWebText];
  }
  return skinColor ? m->Palette[pcWebTextHot] : ColorToRGB(FHoverFont->Color());
}

void TsWebLabel::HoverChanged(bool Above) {
  if (!Enabled()) return;
  FMouseAbove = Above;
  if (AutoSize()) {
    Invalidate();
    Update();
    AdjustBounds();
  }
  if (Parent() && Parent()->HandleAllocated()) {
    RECT r{Left(), Top(), Left() + Width(), Top() + Height()};
    InvalidateRect(Parent()->WindowHandle(), &r, TRUE);
  }
}

void TsWebLabel::CMMouseEnter(TMessage& Message) {
  InheritedMessage(TsWebLabel::StaticClass(), &Message);
  HoverChanged(true);
}

void TsWebLabel::CMMouseLeave(TMessage& Message) {
  InheritedMessage(TsWebLabel::StaticClass(), &Message);
  HoverChanged(false);
}

void TsWebLabel::WMLButtonDown(TWMMouse& Message) {
  InheritedMessage(TsWebLabel::StaticClass(), &Message);
  if (!FURL.empty()) OpenURL();
}

void TsWebLabel::OpenURL() {
  const std::wstring url = winapi::W(FURL);
  ShellExecuteW(Application->Handle(), L"open", url.c_str(), nullptr, nullptr, static_cast<int>(FShowMode));
}

void TsWebLabel::CMParentFontChanged(TMessage& Message) {
  InheritedMessage(TsWebLabel::StaticClass(), &Message);
  if (!ParentFont() || !Parent()) return;
  const TColor own = FNormalFont->Color();
  FNormalFont->Assign(Parent()->Font());
  FNormalFont->SetColor(own);
  FHoverFont->SetName(FNormalFont->Name());
  FHoverFont->SetSize(FNormalFont->Size());
}

DK_MESSAGE_UNIT(TsWebLabel);
DK_MESSAGE_HANDLER(TsWebLabel, WM_LBUTTONDOWN, WMLButtonDown);
DK_MESSAGE_HANDLER(TsWebLabel, WM_ERASEBKGND, WMEraseBkgnd);
DK_MESSAGE_HANDLER(TsWebLabel, CM_MOUSEENTER, CMMouseEnter);
DK_MESSAGE_HANDLER(TsWebLabel, CM_MOUSELEAVE, CMMouseLeave);
DK_MESSAGE_HANDLER(TsWebLabel, CM_PARENTFONTCHANGED, CMParentFontChanged);

// ============================================================ TsStickyLabel

TsStickyLabel::~TsStickyLabel() { Detach(); }

void TsStickyLabel::Detach() {
  if (FAttachTo) {
    FAttachTo->WindowProc = FOldWndProc;
    FAttachTo->RemoveFreeNotification(this);
  }
  FAttachTo = nullptr;
  FOldWndProc = nullptr;
}

void TsStickyLabel::SetAttachTo(TControl* Value) {
  if (FAttachTo == Value) return;
  Detach();
  if (!Value || Value == this) return;
  FAttachTo = Value;
  Value->FreeNotification(this);
  Adjust(true);
  SetEnabled(Value->Enabled());
  SetVisible(Value->Visible());
  FOldWndProc = Value->WindowProc;
  Value->WindowProc = TWndMethod(this, &TsStickyLabel::ControlWndProc);
}

void TsStickyLabel::SetAlignTo(TAlignTo Value) {
  if (FAlignTo == Value) return;
  FAlignTo = Value;
  Adjust(true);
}

void TsStickyLabel::SetGap(Integer Value) {
  if (FGap == Value) return;
  FGap = Value;
  Adjust(true);
}

namespace {

TAlignTo Opposite(TAlignTo A) {
  switch (A) {
    case altLeft: return altRight;
    case altRight: return altLeft;
    case altTop: return altBottom;
    default: return altTop;
  }
}

// Where Mover goes beside Anchor on the side A of the anchor.
TPoint PlaceBeside(TControl* Anchor, TControl* Mover, TAlignTo A, Integer Gap) {
  switch (A) {
    case altLeft:
      return {Anchor->Left() - Mover->Width() - Gap, Anchor->Top() + (Anchor->Height() - Mover->Height()) / 2};
    case altTop:
      return {Anchor->Left(), Anchor->Top() - Mover->Height() - Gap};
    case altRight:
      return {Anchor->Left() + Anchor->Width() + Gap, Anchor->Top() + (Anchor->Height() - Mover->Height()) / 2};
    default:
      return {Anchor->Left(), Anchor->Top() + Anchor->Height() + Gap};
  }
}

}  // namespace

void TsStickyLabel::Adjust(bool Forward) {
  if (!FAttachTo) return;
  const bool was = FRealigning;
  FRealigning = true;
  if (Forward) {
    const TPoint p = PlaceBeside(FAttachTo, this, FAlignTo, FGap);
    SetBounds(p.X, p.Y, Width(), Height());
  } else {
    const TPoint p = PlaceBeside(this, FAttachTo, Opposite(FAlignTo), FGap);
    FAttachTo->SetBounds(p.X, p.Y, FAttachTo->Width(), FAttachTo->Height());
  }
  FRealigning = was;
}

void TsStickyLabel::ControlWndProc(TMessage& Message) {
  TWndMethod old = FOldWndProc;
  if (!IsDestroying(this) && FAttachTo && !FRealigning) {
    FRealigning = true;
    switch (Message.Msg) {
      case WM_MOVE:
      case WM_WINDOWPOSCHANGED:
        FRealigning = false;
        Adjust(true);
        break;
      case WM_SIZE:
        FRealigning = false;
        Adjust(false);
        break;
      case CM_VISIBLECHANGED:
        SetVisible(FAttachTo->Visible());
        break;
      case CM_ENABLEDCHANGED:
        SetEnabled(FAttachTo->Enabled());
        break;
      default:
        break;
    }
    FRealigning = false;
  }
  if (old) old(Message);
}

void TsStickyLabel::WndProc(TMessage& Message) {
  if (Message.Msg == WM_WINDOWPOSCHANGED && !FRealigning && FAttachTo) Adjust(false);
  inherited::WndProc(Message);
}

void TsStickyLabel::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FAttachTo) {
    FAttachTo = nullptr;
    FOldWndProc = nullptr;
  }
}

// ============================================================== publishing

DK_PUBLISH(TsCustomLabel) {
  P.Property("SkinSection", &TsCustomLabel::SkinSection, &TsCustomLabel::SetSkinSection);
  P.Property("SkinManager", &TsCustomLabel::SkinManager, &TsCustomLabel::SetSkinManager)
      .Stored(&TsCustomLabel::ManagerStored);
  P.Property("Transparent", &TsCustomLabel::Transparent, &TsCustomLabel::SetTransparent).Default(true);
  P.Property("OnMouseEnter", &TsCustomLabel::OnMouseEnter);
  P.Property("OnMouseLeave", &TsCustomLabel::OnMouseLeave);
}
DK_PUBLISH(TsLabel) { P.Property("UseSkinColor", &TsLabel::UseSkinColor, &TsLabel::SetUseSkinColor).Default(true); }
DK_PUBLISH(TsEditLabel) {}
DK_PUBLISH(TsWebLabel) {
  P.Property("Font", &TsWebLabel::NormalFont, &TsWebLabel::SetNormalFont);
  P.Property("HoverFont", &TsWebLabel::HoverFont, &TsWebLabel::SetHoverFont);
  P.Property("URL", &TsWebLabel::URL, &TsWebLabel::SetURL);
  P.Property("ShowMode", &TsWebLabel::ShowMode, &TsWebLabel::SetShowMode).Default(soDefault);
}
DK_PUBLISH(TsStickyLabel) {
  P.Property("AttachTo", &TsStickyLabel::AttachTo, &TsStickyLabel::SetAttachTo);
  P.Property("AlignTo", &TsStickyLabel::AlignTo, &TsStickyLabel::SetAlignTo).Default(altLeft);
  P.Property("Gap", &TsStickyLabel::Gap, &TsStickyLabel::SetGap).Default(2);
}
