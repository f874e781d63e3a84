// The provider's life (construction, hooking, start-up, destruction), its
// options and the routing of the form's messages.
#include "skin/forms/sSkinProvider.h"

#include <shellapi.h>

#include "classlib/ui/ExtCtrlsTimer.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sStyleSimply.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/acSBAnimation.h"
#include "skin/forms/sSkinMenus.h"
#include "skin/forms/sSkinProviderNames.h"
#include "skin/forms/sSystemMenu.h"
#include "skin/forms/sTitleButtons.h"
#include "skin/graphics/sGraphUtils.h"

bool bTitleBtnDown = false;
TsSkinProvider* LastMDIChildProvider = nullptr;
bool bMDIChildCreatedMaximized = false;
TacOutline acOutline;
TacProviderSeams acProviderSeams;

namespace {

constexpr UINT CM_PRIVATE_B04C = 0xB04C;
constexpr UINT WM_PRIVATE_QUERY = 0xBC4D;
constexpr UINT WM_SYSMENU_FROM_TASKBAR = 0x0313;
constexpr UINT WM_DWMSENDICONICTHUMBNAIL_ = 0x0323;
constexpr UINT WM_DWMSENDICONICLIVEPREVIEWBITMAP_ = 0x0326;
constexpr int kPreviewAttempts = 101;
constexpr UINT kPreviewTimeoutMs = 1000;

// Whether the command line's first parameter is exactly "/acpreview".
bool PreviewSwitch() {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  const bool on = args && count > 1 && std::wstring(args[1]) == L"/acpreview";
  if (args) LocalFree(args);
  return on;
}

}  // namespace


// The editor is asked with a bounded wait: a hung editor does not freeze the
// program's start.
void RegisterPreview(HWND Wnd) {
  if (!acPreviewNeeded || acPreviewHandle != 0) return;
  TCustomForm* main = Application ? Application->MainForm() : nullptr;
  if (main && !(main->HandleAllocated() && main->WindowHandle() == Wnd)) return;
  acPreviewHandle = reinterpret_cast<NativeInt>(Wnd);
  acPreviewNeeded = false;
  for (int i = 0; i < kPreviewAttempts; ++i) {
    HWND editor = FindWindowW(nullptr, L"Pelnaro Editor");
    if (!editor) return;
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(editor, ASE_MSG, acsp::ASE_PREVIEW_FORM, reinterpret_cast<LPARAM>(Wnd), SMTO_ABORTIFHUNG,
                            kPreviewTimeoutMs, &answer) == 0)
      return;
    if (answer == 1) return;
  }
}

// ------------------------------------------------------------ construction

TsSkinProvider::TsSkinProvider(TComponent* AOwner) : TComponent(AOwner) { Init(AOwner); }

TsSkinProvider::TsSkinProvider(TComponent* AOwner, bool) : TComponent(AOwner) {
  HookCreated = true;
  Init(AOwner);
}

void TsSkinProvider::Init(TComponent* AOwner) {
  Form = dynamic_cast<TCustomForm*>(AOwner);
  if (!Form) throw EAbort("TsSkinProvider component may be used with forms only!");
  acPreviewNeeded = !Designing() && PreviewSwitch();
  // An empty image from the start: the animations take the form's picture from it.
  FSkinData = std::make_unique<TsScrollWndData>(this, true);
  FSkinData->SetSkinSection(acsp::Form);
  FSkinData->KindCode = COC_TsSkinProvider;
  FTitleButtons = Create<TsTitleButtons>(this);
  FTitleIcon = Create<TsTitleIcon>(this);
  FAddedTitle = Create<TacAddedTitle>();
  FAddedTitle->Provider = this;
  FSysSubMenu = Create<TacSysSubMenu>(this);
  if (!Form->ControlState().Empty() && Form->BorderStyle() != bsNone) FSkinData->Updating = true;
  AeroAtStart = AeroIsEnabled();
  if (!Designing()) Hook();
}

void TsSkinProvider::Hook() {
  Form->SetDoubleBuffered(false);
  BtnBG = CreateBmp32(0, 0);
  MenuLineBmp = CreateBmp32(0, 0);
  MDIHookPending = true;
  ArOR.assign(1, TRect{});
  MenuLinesCount = -1;
  FOldWndProc = Form->WindowProc;
  Form->WindowProc = TWndMethod(this, &TsSkinProvider::NewWndProc);
  FHooked = true;
  IntSkinForm(Form);
  FormActive = true;
}

// The form's earlier procedure goes back only while ours is the current one;
// otherwise whoever stacked over us keeps our method, which then only hands
// messages on (FHooked cleared).
void TsSkinProvider::Unhook() {
  if (!FHooked) return;
  FHooked = false;
  IntUnSkinForm(Form);
  if (Form->WindowProc == TWndMethod(this, &TsSkinProvider::NewWndProc)) {
    Form->WindowProc = FOldWndProc;
    FOldWndProc = nullptr;
  } else {
    FOrphaned = true;
  }
}

TsSkinProvider::~TsSkinProvider() {
  HintTimer.reset();
  InitExBorders(false);
  FreeAndNil(FAddedTitle);
  KillAnimations();
  if (Form) {
    Unhook();
    // A form that lives on paints and hit-tests natively again.
    if (FPrepared && !IsDestroying(Form) && Form->HandleAllocated()) {
      HWND wnd = Form->WindowHandle();
      if (Form->BorderIcons().Contains(biSystemMenu))
        SetWindowLongPtrW(wnd, GWL_STYLE, GetWindowLongPtrW(wnd, GWL_STYLE) | WS_SYSMENU);
      SetWindowRgn(wnd, nullptr, FALSE);
      RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
  }
  FreeAndNil(SystemMenu);
  if (LastMDIChildProvider == this) LastMDIChildProvider = nullptr;
  if (MDISkinProvider == this) MDISkinProvider = nullptr;
  FreeAndNil(FTitleIcon);
  FreeAndNil(FTitleButtons);
  FreeAndNil(FSysSubMenu);
  FreeAdapter();
  FreeScrollWnd();
}

void TsSkinProvider::AfterConstruction() {
  TComponent::AfterConstruction();
  TsSkinManager* m = FSkinData->GetSkinManager();
  if (HookCreated || Duplicate || !m || !m->Active() || Designing()) return;
  PrepareForm();
  // Made on a form that is already on screen: its frame changes at once.
  if (Form->HandleAllocated() && IsWindowVisible(Form->WindowHandle()) && Skinned()) {
    FSkinData->BGChanged = true;
    RgnChanged = true;
    RedrawWindow(Form->WindowHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
}

void TsSkinProvider::Loaded() {
  TComponent::Loaded();
  TsSkinManager* m = FSkinData->GetSkinManager();
  if (!HookCreated && !Duplicate && m && !Designing() && FSkinData->Skinned(true)) LoadInit();
}

void TsSkinProvider::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  auto* manager = dynamic_cast<TsSkinManager*>(AComponent);
  if (!manager || !FSkinData) return;
  if (Operation == opInsert && !FSkinData->SkinManager()) FSkinData->SetSkinManager(manager);
  if (Operation == opRemove && FSkinData->SkinManager() == manager) FSkinData->SetSkinManager(nullptr);
}

// ---------------------------------------------------------------- start-up

void TsSkinProvider::PrepareForm() {
  TsSkinManager* m = FSkinData->GetSkinManager();
  if (HookCreated || Duplicate || !m || !Form || !Form->HandleAllocated() || !m->CommonSkinData.Active) return;
  if (Form->Menu() && Form->Menu()->OwnerDraw()) {
    MenuWasOwnerDrawn = true;
    MenuInitialized = true;
  }
  FSkinData->Loaded();
  FPrepared = true;
  MakeSystemMenu();
  CheckSysMenu(true);
  MDIHookPending = false;
  FSkinData->UpdateIndexes(true);
  CaptionSkinIndex = m->GetSkinIndex(acsp::Caption);
  UpdateIconsIndexes();
  if (!Form->ComponentState().Contains(csLoading) && !Form->ComponentState().Contains(csReading) &&
      !ComponentState().Contains(csLoading) && FUseGlobalColor && !FSkinData->CustomColor())
    Form->SetColor(m->GetGlobalColor());
  SystemMenu->UpdateGlyphs();
}

// The skinned system menu is made once the form has its window (its items
// come from the window's own system menu).
void TsSkinProvider::MakeSystemMenu() {
  if (SystemMenu || !Form->HandleAllocated()) return;
  SystemMenu = Create<TsSystemMenu>(this);
  SystemMenu->UpdateItems(false);
}

void TsSkinProvider::LoadInit() {
  if (Form->HandleAllocated()) InitDwm(Form->WindowHandle(), FDrawNonClientArea);
  PrepareForm();
  AdapterCreate();
  TsSkinManager* m = FSkinData->GetSkinManager();
  if (m) UserBtnIndex = m->GetMaskIndex(acsp::GlobalInfo, acsp::TitleButton);
  if (Form->BorderStyle() == bsSizeToolWin) {
    AllowBlendOnMoving = false;
    FUseGlobalColor = true;
  }
}

// The child-control adapter and the form's skinned scroll bars are reached
// through the seams their units fill.
void TsSkinProvider::AdapterCreate() {
  if (Designing() || !Skinned() || !acProviderSeams.AdapterCreate) return;
  acProviderSeams.AdapterCreate(this);
}

void TsSkinProvider::AdapterRemove() {
  if (Designing() || !Adapter || !acProviderSeams.AdapterRemove) return;
  acProviderSeams.AdapterRemove(this);
}

void TsSkinProvider::SendToAdapter(const TMessage& Message) {
  if (Designing() || !Adapter || !acProviderSeams.SendToAdapter) return;
  acProviderSeams.SendToAdapter(this, Message);
}

void TsSkinProvider::FreeAdapter() {
  if (Adapter && acProviderSeams.FreeAdapter) acProviderSeams.FreeAdapter(this);
}

void TsSkinProvider::UpdateFormScrolls(bool Repaint) {
  if (acProviderSeams.UpdateFormScrolls) acProviderSeams.UpdateFormScrolls(this, Repaint);
}

void TsSkinProvider::FreeScrollWnd() {
  if (ScrollWnd && acProviderSeams.FreeScrollWnd) acProviderSeams.FreeScrollWnd(this);
}

void TsSkinProvider::InitExBorders(bool) {
  // The monitor keeps extended borders off: only a border window that exists is let go.
  BorderForm.reset();
}

void TsSkinProvider::KillAnimations() {
  for (TsCaptionButton* b : {&ButtonMin, &ButtonMax, &ButtonClose, &ButtonHelp}) {
    delete b->Timer;
    b->Timer = nullptr;
  }
}

void TsSkinProvider::CheckSysMenu(bool Skinning) {
  if (!Form->HandleAllocated()) return;
  HWND wnd = Form->WindowHandle();
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  if (Skinning) {
    const LONG_PTR wanted = FDrawNonClientArea ? (style & ~static_cast<LONG_PTR>(WS_SYSMENU)) : (style | WS_SYSMENU);
    if (wanted != style) SetWindowLongPtrW(wnd, GWL_STYLE, wanted);
  } else if (HaveSysMenu()) {
    SetWindowLongPtrW(wnd, GWL_STYLE, style | WS_SYSMENU);
    const LRESULT icon = SendMessageW(wnd, WM_GETICON, 0, 0);
    SendMessageW(wnd, WM_SETICON, 0, icon);
  }
}

// Only the default manager's menu painter takes the form's menus.
void TsSkinProvider::InitMenuItems(bool Hook) {
  TsSkinManager* m = FSkinData->GetSkinManager();
  if (Designing() || !m || !m->Menus() || m != DefaultManager) return;
  for (int i = 0; i < Form->ComponentCount(); ++i) {
    TComponent* c = Form->Components(i);
    if (auto* menu = dynamic_cast<TMainMenu*>(c))
      m->Menus()->InitMenuLine(menu, Hook && FDrawNonClientArea);
    else if (auto* popup = dynamic_cast<TPopupMenu*>(c))
      m->Menus()->HookPopupMenu(popup, Hook && m->SkinnedPopups());
  }
}

void TsSkinProvider::TryInitMenu() {
  if (MenuInitialized) return;
  TsSkinManager* m = FSkinData->GetSkinManager();
  if (m && m->Menus()) m->Menus()->InitMenuLine(Form->Menu(), FDrawNonClientArea);
  MenuInitialized = UpdateMenu();
}

bool TsSkinProvider::UpdateMenu() {
  if (fGlobalFlag) return false;
  TMainMenu* menu = Form->Menu();
  if (!menu || menu->Items()->Count() == 0) return false;
  TFlagScope guard(fGlobalFlag);
  FSkinData->BeginUpdate();
  Form->Perform(CM_MENUCHANGED, 0, 0);
  FSkinData->EndUpdate();
  return true;
}

TColor TsSkinProvider::FormColor() {
  if (!Skinned() || FSkinData->CustomColor()) return ColorToRGB(Form->Color());
  const TsGeneralData& s = FSkinData->GetSkinManager()->Sections[static_cast<size_t>(FSkinData->SkinIndex)];
  return s.Props[std::min<Integer>(FormActive ? 1 : 0, std::max(s.StateCount - 1, 0))].Color;
}

bool TsSkinProvider::Skinned() const { return !ComponentState().Contains(csDestroying) && FSkinData->Skinned(); }

// ------------------------------------------------------------ options

void TsSkinProvider::SetAllowExtBorders(bool Value) {
  AllowExtBorders = Value;
  if (ComponentState().Contains(csLoading) || Designing()) return;
  InitExBorders(true);
  FSkinData->BGChanged = true;
  if (Form->HandleAllocated()) RedrawWindow(Form->WindowHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TsSkinProvider::SetCaptionAlignment(TAlignment Value) {
  if (FCaptionAlignment == Value) return;
  FCaptionAlignment = Value;
  FSkinData->BGChanged = true;
  if (Skinned() && !Designing()) UpdateSkinCaption(this);
}

void TsSkinProvider::SetShowAppIcon(bool Value) {
  if (FShowAppIcon == Value) return;
  FShowAppIcon = Value;
  FSkinData->BGChanged = true;
  if (Form->HandleAllocated() && Form->Visible()) SendMessageW(Form->WindowHandle(), WM_NCPAINT, 0, 0);
}

void TsSkinProvider::SetTitleSkin(const AnsiString& Value) {
  if (FTitleSkin == Value) return;
  FTitleSkin = Value;
  TitleIndex = -1;
  FSkinData->BGChanged = true;
  if (Form->HandleAllocated() && Form->Visible()) SendMessageW(Form->WindowHandle(), WM_NCPAINT, 0, 0);
}

void TsSkinProvider::SetUseGlobalColor(bool Value) {
  FUseGlobalColor = Value;
  if (Value && Skinned() && !FSkinData->CustomColor()) Form->SetColor(FSkinData->GetSkinManager()->GetGlobalColor());
}

void TsSkinProvider::SetDrawNonClientArea(bool Value) {
  if (FDrawNonClientArea == Value) return;
  FDrawNonClientArea = Value;
  if (Designing() || !Form->HandleAllocated()) return;
  HWND wnd = Form->WindowHandle();
  if (Value) {
    CheckSysMenu(true);
    if (Form->Showing() && Skinned()) {
      FSkinData->BGChanged = true;
      RgnChanged = true;
      TryInitMenu();
      RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_INVALIDATE);
    }
    return;
  }
  BorderForm.reset();
  if (HaveSysMenu()) SetWindowLongPtrW(wnd, GWL_STYLE, GetWindowLongPtrW(wnd, GWL_STYLE) | WS_SYSMENU);
  if (Form->Showing()) SetWindowRgn(wnd, nullptr, TRUE);
}

// ------------------------------------------------------------ dispatch

LRESULT TsSkinProvider::ProcessMessage(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  NewWndProc(m);
  return m.Result;
}

void TsSkinProvider::NewWndProc(TMessage& Message) {
  if (!FHooked) {  // left in someone's chain after we let go
    if (FOldWndProc) FOldWndProc(Message);
    return;
  }
  if (Message.Msg == SM_ALPHACMD && AC_SMAlphaCmd_Common(Message)) return;
  if (IsDestroying(Form) || !Skinned()) {
    DispatchUnskinned(Message);
    return;
  }
  if (!DispatchSkinned(Message)) CallOld(Message);
}

void TsSkinProvider::DispatchUnskinned(TMessage& Message) {
  if (Message.Msg == SM_ALPHACMD && AC_SMAlphaCmd_Unskinned(Message)) return;
  if (Message.Msg == CM_VISIBLECHANGED) AC_CMVisibleChanged_Unskinned(Message);
  CallOld(Message);
  switch (Message.Msg) {
    case WM_WINDOWPOSCHANGED: AC_WMWindowPosChanged_Unskinned(Message); break;
    case WM_NCDESTROY: AC_WMNCDestroy(Message); break;
    default: break;
  }
}

// True when a handler took the message (it decided about the old procedure).
bool TsSkinProvider::DispatchSkinned(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CREATE: AC_WMCreate(Message); return true;
    case WM_MOVE: AC_WMMove(Message); return true;
    case WM_SIZE: AC_WMSize(Message); return true;
    case WM_ACTIVATE: AC_WMActivate(Message); return true;
    case WM_SETREDRAW: AC_WMSetRedraw(Message); return true;
    case WM_SETTEXT: AC_WMSetText(Message); return true;
    case WM_PAINT: AC_WMPaint(Message); return true;
    case WM_CLOSE: AC_WMClose(Message); return true;
    case WM_QUERYENDSESSION: AC_WMQueryEndSession(Message); return true;
    case WM_ERASEBKGND: AC_WMEraseBkGnd(Message); return true;
    case WM_SHOWWINDOW: AC_WMShowWindow(Message); return true;
    case WM_SETTINGCHANGE: AC_WMSettingChange(Message); return true;
    case WM_ACTIVATEAPP: AC_WMActivateApp(Message); return true;
    case WM_GETMINMAXINFO: AC_WMGetMinMaxInfo(Message); return true;
    case WM_MEASUREITEM: CallOld(Message); return true;
    case WM_WINDOWPOSCHANGING: AC_WMWindowPosChanging(Message); return true;
    case WM_WINDOWPOSCHANGED: AC_WMWindowPosChanged(Message); return true;
    case WM_COPYDATA: AC_WMCopyData(Message); return true;
    case WM_CONTEXTMENU: AC_WMContextMenu(Message); return true;
    case WM_STYLECHANGED: AC_WMStyleChanged(Message); return true;
    case WM_SETICON: AC_WMSetIcon(Message); return true;
    case WM_NCCREATE: AC_WMNCCreate(Message); return true;
    case WM_NCHITTEST: AC_WMNCHitTest(Message); return true;
    case WM_NCPAINT: AC_WMNCPaint(Message); return true;
    case WM_NCACTIVATE: AC_WMNCActivate(Message); return true;
    case WM_NCMOUSEMOVE: AC_WMNCMouseMove(Message); return true;
    case WM_NCLBUTTONDOWN: AC_WMNCLButtonDown(Message); return true;
    case WM_NCLBUTTONUP:
    case WM_LBUTTONUP: AC_WMLButtonUp(Message); return true;
    case WM_NCLBUTTONDBLCLK: AC_WMNCLButtonDblClick(Message); return true;
    case WM_NCRBUTTONDOWN: AC_WMNCRButtonDown(Message); return true;
    case WM_NCRBUTTONUP: AC_WMNCRButtonUp(Message); return true;
    case WM_SYSCOMMAND: AC_WMSysCommand(Message); return true;
    case WM_INITMENUPOPUP: AC_WMInitMenuPopup(Message); return true;
    case WM_ENTERIDLE:
    case CM_PRIVATE_B04C:
    case WM_PRIVATE_QUERY: Message.Result = 0; return true;
    case WM_MOUSEMOVE: AC_WMMouseMove(Message); return true;
    case WM_ENTERMENULOOP: AC_WMEnterMenuLoop(Message); return true;
    case WM_EXITMENULOOP: AC_WMExitMenuLoop(Message); return true;
    case WM_SIZING: AC_WMSizing(Message); return true;
    case WM_MOUSELEAVE:
    case WM_NCMOUSELEAVE:
    case CM_MOUSELEAVE: AC_WMMouseLeave(Message); return true;
    case WM_SYSMENU_FROM_TASKBAR: {
      const TPoint p = acMousePos();
      DropSysMenu(p.X, p.Y);
      return true;
    }
    case WM_PRINT: AC_WMPrint(Message); return true;
    case WM_PRINTCLIENT: return true;
    case WM_DWMSENDICONICTHUMBNAIL_:
      if (ac_ChangeThumbPreviews && HIWORD(Message.LParam) && LOWORD(Message.LParam))
        Message.Result = SetThumbIcon(Form->WindowHandle(), this, HIWORD(Message.LParam), LOWORD(Message.LParam));
      return true;
    case WM_DWMSENDICONICLIVEPREVIEWBITMAP_:
      if (ac_ChangeThumbPreviews) Message.Result = SetPreviewBmp(Form->WindowHandle(), this);
      return true;
    case SM_ALPHACMD: AC_SMAlphaCmd_Skinned(Message); return true;
    case ASE_MSG: AC_ASEMSG(Message); return true;
    case CM_VISIBLECHANGED: AC_WMVisibleChanged(Message); return true;
    case CM_ENABLEDCHANGED: AC_CMEnabledChanged(Message); return true;
    case CM_MOUSEENTER: AC_CMMouseEnter(Message); return true;
    case CM_MENUCHANGED: AC_CMMenuChanged(Message); return true;
    case CM_SHOWINGCHANGED: AC_CMShowingChanged(Message); return true;
    default: return false;
  }
}

void TsSkinProvider::AC_WMInitMenuPopup(TMessage& Message) {
  TsSkinManager* m = FSkinData->GetSkinManager();
  if (!m || !m->SkinnedPopups()) return;
  if (HIWORD(Message.LParam)) EnableMenuItem(reinterpret_cast<HMENU>(Message.WParam), SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
  CallOld(Message);
}

// ------------------------------------------------------------ published

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
