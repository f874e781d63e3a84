#include "skin/forms/sSkinProvider.h"

#include "classlib/ui/ExtCtrlsTimer.h"
#include "skin/core/sStyleSimply.h"
#include "skin/core/sVclUtils.h"

bool bTitleBtnDown = false;
TsSkinProvider* LastMDIChildProvider = nullptr;
bool bMDIChildCreatedMaximized = false;
TacOutline acOutline;

TsSkinProvider::TsSkinProvider(TComponent* AOwner) : TComponent(AOwner) { Init(AOwner); }

TsSkinProvider::TsSkinProvider(TComponent* AOwner, bool) : TComponent(AOwner) {
  HookCreated = true;
  Init(AOwner);
}

void TsSkinProvider::Init(TComponent* AOwner) {
  Form = dynamic_cast<TCustomForm*>(AOwner);
  FSkinData = std::make_unique<TsScrollWndData>(this, true);
  FSkinData->KindCode = COC_TsSkinProvider;
  if (!Form) return;
  Hook();
}

void TsSkinProvider::Hook() {
  FOldWndProc = Form->WindowProc;
  Form->WindowProc = TWndMethod(this, &TsSkinProvider::NewWndProc);
  FHooked = true;
  IntSkinForm(Form);
}

TsSkinProvider::~TsSkinProvider() {
  if (!Form) return;
  IntUnSkinForm(Form);
  if (Form->WindowProc == TWndMethod(this, &TsSkinProvider::NewWndProc)) Form->WindowProc = FOldWndProc;
}

void TsSkinProvider::AfterConstruction() { TComponent::AfterConstruction(); }
void TsSkinProvider::Loaded() { TComponent::Loaded(); }
void TsSkinProvider::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
}

void TsSkinProvider::NewWndProc(TMessage& Message) {
  if (Message.Msg == SM_ALPHACMD) {
    switch (AlphaCmdOf(Message.WParam)) {
      case ACMD_QUERY_PROVIDER:
        Message.Result = reinterpret_cast<LRESULT>(this);
        return;
      case ACMD_QUERY_HOOKED:
        Message.Result = 1;
        return;
      default:
        break;
    }
  }
  FOldWndProc(Message);
}

Integer TsSkinProvider::OffsetX() {
  if (!Form || !Form->HandleAllocated()) return 0;
  RECT w{}, c{};
  GetWindowRect(Form->Handle(), &w);
  GetClientRect(Form->Handle(), &c);
  return ((w.right - w.left) - (c.right - c.left)) / 2;
}

Integer TsSkinProvider::OffsetY() {
  if (!Form || !Form->HandleAllocated()) return 0;
  RECT w{}, c{};
  GetWindowRect(Form->Handle(), &w);
  GetClientRect(Form->Handle(), &c);
  const Integer scroll = (GetWindowLongW(Form->Handle(), GWL_STYLE) & WS_HSCROLL) ? GetSystemMetrics(SM_CYHSCROLL) : 0;
  return (w.bottom - w.top) - (c.bottom - c.top) - OffsetX() - scroll;
}

Integer TsSkinProvider::ActualTitleHeight() {
  TsSkinManager* m = FSkinData->GetSkinManager();
  if (!m) return 0;
  return m->CommonSkinData.MaxHeight > 0 ? m->CommonSkinData.MaxHeight : m->CommonSkinData.TitleHeight;
}

Integer TsSkinProvider::GetTopCoord() { return 0; }

void TsSkinProvider::SetDrawNonClientArea(bool Value) { FDrawNonClientArea = Value; }
void TsSkinProvider::SetAllowExtBorders(bool Value) { AllowExtBorders = Value; }
void TsSkinProvider::SetCaptionAlignment(TAlignment Value) { FCaptionAlignment = Value; }
void TsSkinProvider::SetShowAppIcon(bool Value) { FShowAppIcon = Value; }
void TsSkinProvider::SetTitleSkin(const AnsiString& Value) { FTitleSkin = Value; }
void TsSkinProvider::SetUseGlobalColor(bool Value) { FUseGlobalColor = Value; }

DK_PUBLISH(TsSkinProvider) {
  P.Property("AllowAnimation", &TsSkinProvider::AllowAnimation).Default(true);
  P.Property("AllowExtBorders", &TsSkinProvider::AllowExtBorders, &TsSkinProvider::SetAllowExtBorders).Default(true);
  P.Property("AllowBlendOnMoving", &TsSkinProvider::AllowBlendOnMoving).Default(true);
  P.Property("CaptionAlignment", &TsSkinProvider::CaptionAlignment, &TsSkinProvider::SetCaptionAlignment)
      .Default(taLeftJustify);
  P.Property("DrawNonClientArea", &TsSkinProvider::DrawNonClientArea, &TsSkinProvider::SetDrawNonClientArea)
      .Default(true);
  P.Property("DrawClientArea", &TsSkinProvider::DrawClientArea).Default(true);
  P.Property("SkinData", &TsSkinProvider::SkinData, &TsSkinProvider::SetSkinData);
  P.Property("GripMode", &TsSkinProvider::GripMode).Default(gmNone);
  P.Property("MakeSkinMenu", &TsSkinProvider::MakeSkinMenu).Default(false);
  P.Property("MenuLineSkin", &TsSkinProvider::MenuLineSkin);
  P.Property("ResizeMode", &TsSkinProvider::ResizeMode).Default(rmStandard);
  P.Property("ScreenSnap", &TsSkinProvider::ScreenSnap).Default(false);
  P.Property("SnapBuffer", &TsSkinProvider::SnapBuffer).Default(10);
  P.Property("ShowAppIcon", &TsSkinProvider::ShowAppIcon, &TsSkinProvider::SetShowAppIcon).Default(true);
  P.Property("TitleSkin", &TsSkinProvider::TitleSkin, &TsSkinProvider::SetTitleSkin);
  P.Property("UseGlobalColor", &TsSkinProvider::UseGlobalColor, &TsSkinProvider::SetUseGlobalColor).Default(true);
  P.Property("OnAfterAnimation", &TsSkinProvider::OnAfterAnimation);
  P.Property("OnExtHitTest", &TsSkinProvider::OnExtHitTest);
  P.Property("OnSkinItem", &TsSkinProvider::OnSkinItem);
  P.Property("OnSkinItemEx", &TsSkinProvider::OnSkinItemEx);
}
