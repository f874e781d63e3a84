// Forms, the application object, the screen and the mouse.
#include "classlib/ui/Forms.h"

#include <algorithm>
#include <exception>

#include "classlib/core/Classes.h"
#include "classlib/core/ClassesThreads.h"
#include "classlib/ui/PaintScope.h"

TMainMenuHooks MainMenuHooks;
TApplication* Application = nullptr;
TScreen* Screen = nullptr;
TMouse* Mouse = nullptr;

namespace {

void HandleExceptionHook(TObject* Sender) {
  if (Application) Application->HandleException(Sender);
}

void WakeMainThreadHook(TObject*) {
  if (Application && Application->HandleAllocated()) PostMessageW(Application->Handle(), WM_NULL, 0, 0);
}

bool ApplicationTerminatedHook() { return Application && Application->Terminated(); }

TComponent* FindGlobal(const AnsiString& Name) {
  if (!Screen) return nullptr;
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (SameText(f->Name(), Name)) return f;
  }
  return nullptr;
}

struct Startup {
  Startup() {
    Application = Create<TApplication>(nullptr);
    Screen = Create<TScreen>(nullptr);
    Mouse = new TMouse;
    ApplicationHandleException = &HandleExceptionHook;
    WakeMainThread = &WakeMainThreadHook;
    ApplicationTerminated = &ApplicationTerminatedHook;
    RegisterFindGlobalComponent(&FindGlobal);
  }
} startup;

bool ReadFormResource(TComponent* Instance, TClass Cls) {
  std::wstring name = winapi::W(UpperCase(Cls->ClassName()));
  HMODULE module = MainInstance();
  if (!FindResourceW(module, name.c_str(), reinterpret_cast<LPCWSTR>(RT_RCDATA))) return false;
  TResourceStream stream(reinterpret_cast<std::uintptr_t>(module), UpperCase(Cls->ClassName()),
                         reinterpret_cast<const char*>(RT_RCDATA));
  TReader reader(&stream, 4096);
  reader.ReadRootComponent(Instance);
  return true;
}

// Reads the resources of the class and its ancestors below the base form classes.
bool InitInheritedComponent(TComponent* Instance, TClass Cls) {
  if (!Cls || Cls == TForm::StaticClass() || Cls == TCustomForm::StaticClass() ||
      Cls == TWinControl::StaticClass())
    return false;
  bool result = InitInheritedComponent(Instance, Cls->Parent);
  return ReadFormResource(Instance, Cls) || result;
}

}  // namespace

TCustomForm* GetParentForm(TControl* Control) {
  while (Control && Control->Parent()) Control = Control->Parent();
  return dynamic_cast<TCustomForm*>(Control);
}

namespace {
struct TaskWindows {
  HWND Active;
  std::vector<HWND> List;
};
BOOL CALLBACK CollectTaskWindow(HWND Wnd, LPARAM Data) {
  auto* c = reinterpret_cast<TaskWindows*>(Data);
  if (Wnd != c->Active && IsWindowVisible(Wnd) && IsWindowEnabled(Wnd)) c->List.push_back(Wnd);
  return TRUE;
}
}  // namespace

std::vector<HWND> DisableTaskWindows(HWND ActiveWindow) {
  TaskWindows ctx{ActiveWindow, {}};
  EnumThreadWindows(GetCurrentThreadId(), &CollectTaskWindow, reinterpret_cast<LPARAM>(&ctx));
  for (HWND w : ctx.List) EnableWindow(w, FALSE);
  return ctx.List;
}

void EnableTaskWindows(const std::vector<HWND>& List) {
  for (HWND w : List)
    if (IsWindow(w)) EnableWindow(w, TRUE);
}

// ---------------------------------------------------------------- TCustomForm

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {}

TCustomForm::TCustomForm(TComponent* AOwner, int) : TWinControl(AOwner), FCreateNew(true) {}

TCustomForm::~TCustomForm() {
  // also when construction failed (BeforeDestruction did not run then)
  if (Screen) Screen->RemoveForm(this);
}

void TCustomForm::Construct() {
  inherited::Construct();
  if (Application && Application->FPendingReference) {
    auto set = std::move(Application->FPendingReference);
    Application->FPendingReference = nullptr;
    set(this);
  }
  FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FVisible = false;
  FLeft = 0;
  FTop = 0;
  FWidth = 320;
  FHeight = 240;
  SetColor(clBtnFace);
  FIcon = std::make_unique<TIcon>();
  FCanvas = std::make_unique<TControlCanvas>();
  FCanvas->SetControl(this);
  if (Screen) Screen->AddForm(this);
  if (!FCreateNew && ClassType() != TForm::StaticClass() && ClassType() != TCustomForm::StaticClass()) {
    FFormState.Include(fsCreating);
    try {
      if (!InitInheritedComponent(this, ClassType()))
        throw EResNotFound("Resource " + ClassName() + " not found");
    } catch (...) {
      FFormState.Exclude(fsCreating);
      throw;
    }
  }
  FFormState.Exclude(fsCreating);
}

void TCustomForm::AfterConstruction() {
  inherited::AfterConstruction();
  if (OnCreate) OnCreate(this);
  if (FFormState.Contains(fsVisible)) SetVisible(true);
}

void TCustomForm::BeforeDestruction() {
  if (Screen) Screen->RemoveForm(this);
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (...) {
      if (Application) Application->HandleException(this);
    }
  }
  if (FMenu && MainMenuHooks.SetWindowHandle) MainMenuHooks.SetWindowHandle(FMenu, nullptr);
  inherited::BeforeDestruction();
}

void TCustomForm::ReadState(TReader* Reader) {
  DisableAlign();
  try {
    inherited::ReadState(Reader);
  } catch (...) {
    EnableAlign();
    throw;
  }
  EnableAlign();
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == reinterpret_cast<TComponent*>(FMenu)) {
    FMenu = nullptr;
    if (HandleAllocated()) ::SetMenu(WindowHandle(), nullptr);
  }
  if (AComponent == FActiveControl) FActiveControl = nullptr;
  if (AComponent == FFocusedControl) FFocusedControl = nullptr;
}

void TCustomForm::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  Params.ExStyle = 0;
  Params.WndParent = Application ? Application->Handle() : nullptr;
  switch (FBorderStyle) {
    case bsNone: Params.Style |= WS_POPUP; break;
    case bsSingle: Params.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable: Params.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
      Params.Style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
      Params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
    case bsToolWindow:
      Params.Style |= WS_CAPTION | WS_BORDER;
      Params.ExStyle |= WS_EX_TOOLWINDOW;
      break;
    case bsSizeToolWin:
      Params.Style |= WS_CAPTION | WS_THICKFRAME;
      Params.ExStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  if (FBorderStyle != bsNone) {
    if (FBorderIcons.Contains(biSystemMenu)) {
      Params.Style |= WS_SYSMENU;
      if (FBorderStyle != bsDialog && FBorderStyle != bsToolWindow && FBorderStyle != bsSizeToolWin) {
        if (FBorderIcons.Contains(biMinimize)) Params.Style |= WS_MINIMIZEBOX;
        if (FBorderIcons.Contains(biMaximize)) Params.Style |= WS_MAXIMIZEBOX;
      }
      if (FBorderStyle == bsDialog && FBorderIcons.Contains(biHelp)) Params.ExStyle |= WS_EX_CONTEXTHELP;
    }
  }
  if (FFormStyle == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
  if (!Enabled()) Params.Style |= WS_DISABLED;
  Params.WindowClass.style = CS_DBLCLKS;
  if (FPosition == poDefault || FPosition == poDefaultPosOnly) {
    Params.X = CW_USEDEFAULT;
    Params.Y = CW_USEDEFAULT;
  }
}

TRect TCustomForm::GetClientRect() {
  if (HandleAllocated()) return inherited::GetClientRect();
  TCreateParams p;
  CreateParams(p);
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, p.Style, FMenu != nullptr, p.ExStyle);
  return Rect(0, 0, std::max<int>(0, Width() - (r.right - r.left)), std::max<int>(0, Height() - (r.bottom - r.top)));
}

void TCustomForm::SetClientWidthProp(Integer Value) {
  if (!HandleAllocated()) FClientWidthWanted = Value;
  SetClientWidth(Value);
}

void TCustomForm::SetClientHeightProp(Integer Value) {
  if (!HandleAllocated()) FClientHeightWanted = Value;
  SetClientHeight(Value);
}

void TCustomForm::CreateWnd() {
  inherited::CreateWnd();
  HMENU menu = (FMenu && MainMenuHooks.Handle) ? MainMenuHooks.Handle(FMenu) : nullptr;
  if (menu) {
    ::SetMenu(WindowHandle(), menu);
    if (MainMenuHooks.SetWindowHandle) MainMenuHooks.SetWindowHandle(FMenu, WindowHandle());
  }
  if (FClientWidthWanted >= 0 || FClientHeightWanted >= 0) {
    // the frame and the menu bar as the window really has them
    RECT cr;
    ::GetClientRect(WindowHandle(), &cr);
    int w = FClientWidthWanted >= 0 ? FClientWidthWanted + Width() - cr.right : Width();
    int h = FClientHeightWanted >= 0 ? FClientHeightWanted + Height() - cr.bottom : Height();
    FClientWidthWanted = FClientHeightWanted = -1;
    SetBounds(Left(), Top(), w, h);
  }
  if (FIcon && FIcon->Handle()) SendMessageW(WindowHandle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(FIcon->Handle()));
  SetLayeredAttribs();
}

// ------------------------------------------------------------- the opacity

void TCustomForm::SetAlphaBlend(bool Value) {
  if (Value == FAlphaBlend) return;
  FAlphaBlend = Value;
  SetLayeredAttribs();
}

void TCustomForm::SetAlphaBlendValue(Byte Value) {
  if (Value == FAlphaBlendValue) return;
  FAlphaBlendValue = Value;
  if (FAlphaBlend) SetLayeredAttribs();
}

// Called when the window is made and when AlphaBlend changes; a new value
// of AlphaBlendValue alone comes here only while AlphaBlend is on, so a form
// that does not blend leaves the layered style to whoever set it (the skin's
// animations make forms layered for a while).
void TCustomForm::SetLayeredAttribs() {
  if (!HandleAllocated() || ComponentState().Contains(csDesigning)) return;
  const HWND wnd = WindowHandle();
  const LONG_PTR exStyle = GetWindowLongPtrW(wnd, GWL_EXSTYLE);
  if (FAlphaBlend) {
    if (!(exStyle & WS_EX_LAYERED)) SetWindowLongPtrW(wnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    SetLayeredWindowAttributes(wnd, 0, FAlphaBlendValue, LWA_ALPHA);
  } else if (exStyle & WS_EX_LAYERED) {
    SetWindowLongPtrW(wnd, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    RedrawWindow(wnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

void TCustomForm::DestroyWnd() {
  if (FMenu && MainMenuHooks.SetWindowHandle) MainMenuHooks.SetWindowHandle(FMenu, nullptr);
  if (HandleAllocated()) ::SetMenu(WindowHandle(), nullptr);  // the menu belongs to the menu component
  inherited::DestroyWnd();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  if (!ComponentState().Contains(csLoading)) RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
  if (FBorderIcons == Value) return;
  FBorderIcons = Value;
  if (!ComponentState().Contains(csLoading)) RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
  if (FFormStyle == Value) return;
  FFormStyle = Value;
  if (HandleAllocated())
    SetWindowPos(WindowHandle(), Value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetWindowState(TWindowState Value) {
  if (FWindowState == Value) return;
  FWindowState = Value;
  if (HandleAllocated() && Showing()) {
    int cmd = Value == wsMinimized ? SW_SHOWMINIMIZED : Value == wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    ShowWindow(WindowHandle(), cmd);
  }
}

void TCustomForm::SetMenu(TMainMenu* Value) {
  if (FMenu == Value) return;
  if (FMenu && MainMenuHooks.SetWindowHandle) MainMenuHooks.SetWindowHandle(FMenu, nullptr);
  FMenu = Value;
  if (Value) reinterpret_cast<TComponent*>(Value)->FreeNotification(this);
  if (HandleAllocated()) {
    HMENU menu = (FMenu && MainMenuHooks.Handle) ? MainMenuHooks.Handle(FMenu) : nullptr;
    ::SetMenu(WindowHandle(), menu);
    if (FMenu && MainMenuHooks.SetWindowHandle) MainMenuHooks.SetWindowHandle(FMenu, WindowHandle());
  }
}

void TCustomForm::CMMenuChanged(TMessage&) {
  if (!HandleAllocated()) return;
  HMENU menu = (FMenu && MainMenuHooks.Handle) ? MainMenuHooks.Handle(FMenu) : nullptr;
  if (GetMenu(WindowHandle()) != menu) ::SetMenu(WindowHandle(), menu);
  DrawMenuBar(WindowHandle());
}

void TCustomForm::SetIcon(TIcon* Value) {
  FIcon->Assign(Value);
  if (HandleAllocated() && FIcon->Handle())
    SendMessageW(WindowHandle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(FIcon->Handle()));
}

void TCustomForm::SetVisibleState(bool Value) { TControl::SetVisible(Value); }

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
}

void TCustomForm::Hide() { SetVisible(false); }

void TCustomForm::SetFocus() {
  if (!FActive) {
    if (!(Visible() && Enabled())) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    SetWindowFocus();
  }
}

void TCustomForm::SetWindowFocus() {
  HWND h = (FActiveControl && FActiveControl->HandleAllocated()) ? FActiveControl->WindowHandle() : nullptr;
  if (!h) h = Handle();
  if (IsIconic(Handle())) h = Handle();
  ::SetFocus(h);
}

void TCustomForm::FocusControl(TWinControl* Control) {
  bool wasActive = FActive;
  SetActiveControl(Control);
  if (!wasActive) SetFocus();
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (FActiveControl == Control) return;
  if (Control && (Control == this || ::GetParentForm(Control) != this || !(ComponentState().Contains(csLoading) || Control->CanFocus())))
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  FActiveControl = Control;
  if (!ComponentState().Contains(csLoading)) {
    if (FActive && HandleAllocated() && !ComponentState().Contains(csDestroying)) SetWindowFocus();
    if (Screen && Screen->FActiveForm == this) {
      Screen->FActiveControl = Control;
      if (Screen->OnActiveControlChange) Screen->OnActiveControlChange(Screen);
    }
  }
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing) {
  if (Removing && Control->ContainsControl(FFocusedControl)) FFocusedControl = Control->Parent();
  if (Control->ContainsControl(FActiveControl)) SetActiveControl(nullptr);
}

namespace {
int gFocusCount = 0;

bool SendFocusMessage(HWND Wnd, UINT Msg) {
  int count = gFocusCount;
  SendMessageW(Wnd, Msg, 0, 0);
  return count == gFocusCount;
}
}  // namespace

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
  ++gFocusCount;
  if (Control != this) FActiveControl = Control;
  if (Screen) {
    Screen->FActiveControl = Control;
    bool changed = Screen->FActiveForm != this;
    Screen->FActiveForm = this;
    Screen->MoveToFront(this);
    if (changed && Screen->OnActiveFormChange) Screen->OnActiveFormChange(Screen);
    if (Screen->OnActiveControlChange) Screen->OnActiveControlChange(Screen);
    if (Screen->FFocusedForm != this) {
      if (TCustomForm* old = Screen->FFocusedForm) {
        Screen->FFocusedForm = nullptr;
        if (old->HandleAllocated() && !SendFocusMessage(old->WindowHandle(), CM_DEACTIVATE)) return false;
      }
      Screen->FFocusedForm = this;
      if (!SendFocusMessage(Handle(), CM_ACTIVATE)) return false;
    }
  }
  if (!FFocusedControl) FFocusedControl = this;
  if (FFocusedControl != Control) {
    while (FFocusedControl && !FFocusedControl->ContainsControl(Control)) {
      HWND h = FFocusedControl->WindowHandle();
      FFocusedControl = FFocusedControl->Parent();
      if (h && !SendFocusMessage(h, CM_EXIT)) return false;
    }
    while (FFocusedControl != Control) {
      TWinControl* c = Control;
      while (c->Parent() != FFocusedControl) c = c->Parent();
      FFocusedControl = c;
      if (!SendFocusMessage(c->Handle(), CM_ENTER)) return false;
    }
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
  }
  return true;
}

void TCustomForm::MouseWheelHandler(TMessage& Message) {
  if (FFocusedControl && FFocusedControl != this)
    Message.Result = FFocusedControl->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
  else
    inherited::MouseWheelHandler(Message);
}

void TCustomForm::SetActive(bool Value) {
  FActive = Value;
  if (Value) {
    if (!FActiveControl && !ComponentState().Contains(csDesigning))
      FActiveControl = FindNextControl(nullptr, true, true, false);
    if (Screen) {
      Screen->FActiveForm = this;
      Screen->MoveToFront(this);
    }
    SetWindowFocus();
  } else if (FActiveControl) {
    FFocusedControl = FActiveControl;
  }
}

void TCustomForm::WMActivate(TWMActivate& Message) { SetActive(Message.Active() != WA_INACTIVE); }

void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::CMActivate(TMessage&) { Activate(); }
void TCustomForm::CMDeactivate(TMessage&) { Deactivate(); }

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::ApplyPosition() {
  int w = Width(), h = Height();
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  auto center = [&](const TRect& r) {
    SetBounds(r.Left + (r.Width() - w) / 2, r.Top + (r.Height() - h) / 2, w, h);
  };
  switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter:
      center(Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
      break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
      TCustomForm* ref = nullptr;
      if (FPosition == poOwnerFormCenter) ref = dynamic_cast<TCustomForm*>(Owner());
      if (!ref && Application) ref = Application->MainForm();
      if (ref && ref != this)
        center(ref->BoundsRect());
      else
        center(Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
      break;
    }
    default:
      break;
  }
  if (FPosition != poDesigned) FPosition = poDesigned;  // placed once, as designed from now on
}

void TCustomForm::CMShowingChanged(TMessage&) {
  if (FFormState.Contains(fsShowing)) throw EInvalidOperation("Cannot change Visible in OnShow or OnHide");
  FFormState.Include(fsShowing);
  try {
    if (Showing()) {
      DoShow();
      ApplyPosition();
      int cmd = SW_SHOWNORMAL;
      if (FWindowState == wsMinimized) cmd = SW_SHOWMINIMIZED;
      if (FWindowState == wsMaximized) cmd = SW_SHOWMAXIMIZED;
      ShowWindow(WindowHandle(), cmd);
      if (FFormStyle == fsStayOnTop)
        SetWindowPos(WindowHandle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      SetForegroundWindow(WindowHandle());
      SetActiveWindow(WindowHandle());
      if (!FActive) {
        // activation may not come from the system (no window manager): take it
        SendMessageW(WindowHandle(), WM_ACTIVATE, WA_ACTIVE, 0);
      }
    } else {
      DoHide();
      bool wasActive = GetActiveWindow() == WindowHandle();
      ShowWindow(WindowHandle(), SW_HIDE);
      if (wasActive) FActive = false;
    }
  } catch (...) {
    FFormState.Exclude(fsShowing);
    throw;
  }
  FFormState.Exclude(fsShowing);
}

void TCustomForm::SetVisible(bool Value) {
  if (FFormState.Contains(fsCreating)) {
    if (Value)
      FFormState.Include(fsVisible);
    else
      FFormState.Exclude(fsVisible);
    return;
  }
  inherited::SetVisible(Value);
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}

void TCustomForm::Close() {
  if (FFormState.Contains(fsModal)) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    SetWindowState(wsMinimized);
  } else {
    Release();
  }
}

void TCustomForm::Release() {
  if (HandleAllocated())
    PostMessageW(WindowHandle(), CM_RELEASE, 0, 0);
  else if (Application)
    PostMessageW(Application->Handle(), CM_RELEASE, 0, reinterpret_cast<LPARAM>(this));
}

void TCustomForm::CMRelease(TMessage&) { Free(); }

int TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || FFormState.Contains(fsModal) || FFormStyle == fsMDIChild)
    throw EInvalidOperation("Cannot make a visible window modal");
  if (HWND cap = GetCapture()) SendMessageW(cap, WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  FFormState.Include(fsModal);
  HWND activeWindow = GetActiveWindow();
  if (Application) Application->FModalLevel++;
  std::vector<HWND> disabled = DisableTaskWindows(nullptr);
  int result = mrNone;
  try {
    Show();
    try {
      FModalResult = mrNone;
      do {
        Application->HandleMessage();
        if (Application->Terminated())
          FModalResult = mrCancel;
        else if (FModalResult != mrNone) {
          TCloseAction action = caNone;
          if (CloseQuery()) {
            action = caHide;
            DoClose(action);
          }
          if (action == caNone)
            FModalResult = mrNone;
          else if (action == caFree)
            Release();
        }
      } while (FModalResult == mrNone);
      result = FModalResult;
    } catch (...) {
      Hide();
      throw;
    }
    Hide();
  } catch (...) {
    EnableTaskWindows(disabled);
    if (activeWindow && IsWindow(activeWindow)) SetActiveWindow(activeWindow);
    FFormState.Exclude(fsModal);
    if (Application) Application->FModalLevel--;
    throw;
  }
  EnableTaskWindows(disabled);
  if (activeWindow && IsWindow(activeWindow)) {
    SetActiveWindow(activeWindow);
    // without a window manager activation may already be where it was: make
    // sure the form under the dialog takes the focus back
    if (TWinControl* c = FindControl(activeWindow))
      if (auto* f = dynamic_cast<TCustomForm*>(c))
        if (Screen && Screen->FFocusedForm != f && f->Visible()) f->SetWindowFocus();
  }
  FFormState.Exclude(fsModal);
  if (Application) Application->FModalLevel--;
  return result;
}

void TCustomForm::WMClose(TMessage&) { Close(); }

void TCustomForm::WMCommand(TWMCommand& Message) {
  if (Message.LParam == 0 && FMenu && MainMenuHooks.DispatchCommand &&
      MainMenuHooks.DispatchCommand(FMenu, Message.ItemID())) {
    Message.Result = 0;
    return;
  }
  inherited::WMCommand(Message);
}

void TCustomForm::WMInitMenuPopup(TMessage& Message) { DefaultHandler(&Message); }

// The items of the form's menu bar measure and draw themselves.
void TCustomForm::WMMenuDrawItem(TWMDrawItem& Message) {
  if (MainMenuHooks.OwnerDrawMessage && MainMenuHooks.OwnerDrawMessage(Message)) return;
  inherited::WMDrawItem(Message);
}

void TCustomForm::WMMenuMeasureItem(TWMMeasureItem& Message) {
  if (MainMenuHooks.OwnerDrawMessage && MainMenuHooks.OwnerDrawMessage(Message)) return;
  inherited::WMMeasureItem(Message);
}

void TCustomForm::WMSysCommand(TMessage& Message) {
  if ((Message.WParam & 0xFFF0) == SC_MINIMIZE && Application && Application->MainForm() == this) {
    // the application minimises (its window's hooks see the command)
    SendMessageW(Application->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    return;
  }
  DefaultHandler(&Message);
}

void TCustomForm::WMSize(TWMSize& Message) {
  inherited::WMSize(Message);
  if (Message.SizeType() == SIZE_MINIMIZED)
    FWindowState = wsMinimized;
  else if (Message.SizeType() == SIZE_MAXIMIZED)
    FWindowState = wsMaximized;
  else if (Message.SizeType() == SIZE_RESTORED)
    FWindowState = wsNormal;
}

void TCustomForm::WMDestroy(TMessage& Message) { DefaultHandler(&Message); }

void TCustomForm::WMQueryEndSession(TMessage& Message) { Message.Result = CloseQuery() ? 1 : 0; }

void TCustomForm::CMDialogKey(TWMKey& Message) {
  if (GetKeyState(VK_MENU) >= 0) {
    switch (Message.CharCode()) {
      case VK_TAB:
        if (GetKeyState(VK_CONTROL) >= 0) {
          SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
          Message.Result = 1;
          return;
        }
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        if (FActiveControl && FActiveControl->Parent()) {
          FActiveControl->Parent()->SelectNext(FActiveControl,
                                               Message.CharCode() == VK_RIGHT || Message.CharCode() == VK_DOWN, false);
          Message.Result = 1;
        }
        return;
      default:
        break;
    }
  }
  inherited::CMDialogKey(Message);
}

void TCustomForm::PaintWindow(HDC DC) {
  TCanvasScope canvas(FCanvas.get(), DC);
  Paint();
}

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

DK_MESSAGE_UNIT(TCustomForm);
DK_MESSAGE_HANDLER(TCustomForm, WM_ACTIVATE, WMActivate);
DK_MESSAGE_HANDLER(TCustomForm, WM_CLOSE, WMClose);
DK_MESSAGE_HANDLER(TCustomForm, WM_COMMAND, WMCommand);
DK_MESSAGE_HANDLER(TCustomForm, WM_INITMENUPOPUP, WMInitMenuPopup);
DK_MESSAGE_HANDLER(TCustomForm, WM_SYSCOMMAND, WMSysCommand);
DK_MESSAGE_HANDLER(TCustomForm, WM_SIZE, WMSize);
DK_MESSAGE_HANDLER(TCustomForm, WM_DESTROY, WMDestroy);
DK_MESSAGE_HANDLER(TCustomForm, WM_QUERYENDSESSION, WMQueryEndSession);
DK_MESSAGE_HANDLER(TCustomForm, CM_ACTIVATE, CMActivate);
DK_MESSAGE_HANDLER(TCustomForm, CM_DEACTIVATE, CMDeactivate);
DK_MESSAGE_HANDLER(TCustomForm, CM_SHOWINGCHANGED, CMShowingChanged);
DK_MESSAGE_HANDLER(TCustomForm, CM_DIALOGKEY, CMDialogKey);
DK_MESSAGE_HANDLER(TCustomForm, CM_RELEASE, CMRelease);
DK_MESSAGE_HANDLER(TCustomForm, CM_MENUCHANGED, CMMenuChanged);
DK_MESSAGE_HANDLER(TCustomForm, WM_DRAWITEM, WMMenuDrawItem);
DK_MESSAGE_HANDLER(TCustomForm, WM_MEASUREITEM, WMMenuMeasureItem);

DK_PUBLISH(TCustomForm) {}

DK_PUBLISH(TForm) {
  P.Property("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl);
  P.Property("AlphaBlend", &TCustomForm::AlphaBlend, &TCustomForm::SetAlphaBlend).Default(false);
  P.Property("AlphaBlendValue", &TCustomForm::AlphaBlendValue, &TCustomForm::SetAlphaBlendValue).Default(255);
  P.Property("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons)
      .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
  P.Property("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle).Default(bsSizeable);
  P.Property("ClientHeight", &TCustomForm::GetClientHeight, &TCustomForm::SetClientHeightProp);
  P.Property("ClientWidth", &TCustomForm::GetClientWidth, &TCustomForm::SetClientWidthProp);
  P.Property("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle).Default(fsNormal);
  P.Property("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview).Default(false);
  P.Property("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch);
  P.Property("Position", &TCustomForm::Position, &TCustomForm::SetPosition).Default(poDesigned);
  P.Property("Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled).Default(true);
  P.Property("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState).Default(wsNormal);
  P.Property("Icon", &TCustomForm::Icon, &TCustomForm::SetIcon);
  P.Property("OnActivate", &TCustomForm::OnActivate);
  P.Property("OnClose", &TCustomForm::OnClose);
  P.Property("OnCloseQuery", &TCustomForm::OnCloseQuery);
  P.Property("OnCreate", &TCustomForm::OnCreate);
  P.Property("OnDeactivate", &TCustomForm::OnDeactivate);
  P.Property("OnDestroy", &TCustomForm::OnDestroy);
  P.Property("OnHide", &TCustomForm::OnHide);
  P.Property("OnPaint", &TCustomForm::OnPaint);
  P.Property("OnShow", &TCustomForm::OnShow);
}

// ---------------------------------------------------------------- TApplication

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner), FIcon(std::make_unique<TIcon>()) {
  if (HICON icon = LoadIconW(MainInstance(), L"MAINICON")) FIcon->SetHandle(CopyIcon(icon));
}

TApplication::~TApplication() {
  if (FHandle) {
    DestroyWindow(FHandle);
    FHandle = nullptr;
  }
  if (FObjectInstance) FreeObjectInstance(FObjectInstance);
}

void TApplication::CreateHandle() {
  if (FHandle) return;
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = MainInstance();
    wc.hIcon = LoadIconW(MainInstance(), L"MAINICON");
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = L"TApplication";
    RegisterClassW(&wc);
    return true;
  }();
  (void)registered;
  if (FTitle.empty()) {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    FTitle = ChangeFileExt(ExtractFileName(winapi::A(path, static_cast<int>(n))), "");
  }
  FHandle = CreateWindowExW(0, L"TApplication", winapi::W(FTitle).c_str(),
                            WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                            GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                            nullptr, MainInstance(), nullptr);
  if (!FHandle) RaiseLastOSError();
  FObjectInstance = MakeObjectInstance(TWndMethod(this, &TApplication::WndProc));
  SetWindowLongPtrW(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FObjectInstance));
  HMENU sys = GetSystemMenu(FHandle, FALSE);
  if (sys) {
    DeleteMenu(sys, SC_MAXIMIZE, MF_BYCOMMAND);
    DeleteMenu(sys, SC_SIZE, MF_BYCOMMAND);
    DeleteMenu(sys, SC_MOVE, MF_BYCOMMAND);
  }
}

HWND TApplication::Handle() {
  CreateHandle();
  return FHandle;
}

void TApplication::Initialize() { CreateHandle(); }

AnsiString TApplication::Title() const { return FTitle; }

void TApplication::SetTitle(const AnsiString& Value) {
  FTitle = Value;
  if (FHandle) SetWindowTextW(FHandle, winapi::W(Value).c_str());
}

AnsiString TApplication::ExeName() const {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return winapi::A(path, static_cast<int>(n));
}

void TApplication::CreateForm(TClass FormClass, void* Reference) {
  auto** ref = static_cast<TComponent**>(Reference);
  if (ref) *ref = nullptr;
  FPendingReference = [ref](TComponent* f) {
    if (ref) *ref = f;
  };
  TObject* obj = nullptr;
  try {
    obj = FormClass->CreateInstance(this);
  } catch (...) {
    FPendingReference = nullptr;
    if (ref) *ref = nullptr;
    throw;
  }
  FPendingReference = nullptr;
  auto* form = dynamic_cast<TCustomForm*>(obj);
  if (ref) *ref = dynamic_cast<TComponent*>(obj);
  if (form) FormCreated(form);
}

void TApplication::FormCreated(TCustomForm* Form) {
  if (!FMainForm && Form) {
    Form->HandleNeeded();
    FMainForm = Form;
    Form->FreeNotification(this);
  }
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMainForm) FMainForm = nullptr;
  if (AComponent == FMouseControl) FMouseControl = nullptr;
}

void TApplication::Run() {
  FRunning = true;
  try {
    if (FMainForm && ShowMainForm) {
      // the application window (of no size) carries the taskbar button and
      // hides the forms it owns when minimised
      ShowWindow(Handle(), SW_SHOWNA);
      if (FMainForm->WindowState() == wsMinimized) Minimize();
      FMainForm->SetVisible(true);
    }
    do {
      try {
        HandleMessage();
      } catch (...) {
        HandleException(this);
      }
    } while (!FTerminated);
  } catch (...) {
    FRunning = false;
    throw;
  }
  FRunning = false;
}

void TApplication::Terminate() { PostQuitMessage(0); }

bool TApplication::IsKeyMsg(MSG& Msg) {
  if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST) return false;
  HWND wnd = GetCapture();
  if (!wnd) wnd = Msg.hwnd;
  TWinControl* c = nullptr;
  for (HWND w = wnd; w && !c; w = GetParent(w)) c = FindControl(w);
  if (!c) return false;
  return SendMessageW(c->WindowHandle(), CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
}

bool TApplication::IsDlgMsg(MSG&) { return false; }

bool TApplication::ProcessMessage(MSG& Msg) {
  if (!PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (Msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  // Timer ticks and the wake-ups of synchronised calls move no mouse: only
  // other messages make the next idle time look for the control under it.
  if (Msg.message != WM_TIMER && Msg.message != WM_NULL) FMouseCheckDue = true;
  bool handled = false;
  if (OnMessage) OnMessage(Msg, handled);
  if (!handled && !IsKeyMsg(Msg) && !IsDlgMsg(Msg)) {
    TranslateMessage(&Msg);
    DispatchMessageW(&Msg);
  }
  return true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
  CheckSynchronize();
}

void TApplication::HandleMessage() {
  MSG msg;
  if (ProcessMessage(msg)) return;
  FSkipMouseIdle = !FMouseCheckDue;
  Idle(msg);
}

void TApplication::Idle(const MSG&) {
  if (!FSkipMouseIdle) DoMouseIdle();
  FSkipMouseIdle = false;
  FMouseCheckDue = false;
  bool done = true;
  try {
    if (OnIdle) OnIdle(this, done);
  } catch (...) {
    HandleException(this);
  }
  if (CheckSynchronize()) done = false;
  if (done) WaitMessage();
}

void TApplication::DoMouseIdle() {
  POINT p;
  if (!GetCursorPos(&p)) return;
  TControl* c = FindDragTarget({p.x, p.y}, true);
  if (c == FMouseControl) return;
  TControl* old = FMouseControl;
  if (old) old->RemoveFreeNotification(this);
  FMouseControl = c;
  if (c) c->FreeNotification(this);
  if (old) old->Perform(CM_MOUSELEAVE, 0, 0);
  if (c && c == FMouseControl) c->Perform(CM_MOUSEENTER, 0, 0);
}

void TApplication::HandleException(TObject* Sender) {
  if (!std::current_exception()) return;  // called outside a handler: nothing to show
  if (HWND cap = GetCapture()) SendMessageW(cap, WM_CANCELMODE, 0, 0);
  try {
    throw;
  } catch (EAbort&) {
  } catch (Exception& e) {
    if (OnException)
      OnException(Sender, &e);
    else
      ShowException(&e);
  } catch (std::exception& e) {
    Exception ex(e.what());
    if (OnException)
      OnException(Sender, &ex);
    else
      ShowException(&ex);
  } catch (...) {
    Exception ex("Unknown exception");
    if (OnException)
      OnException(Sender, &ex);
    else
      ShowException(&ex);
  }
}

void TApplication::ShowException(Exception* E) {
  AnsiString msg = E->Message;
  if (!msg.empty() && static_cast<unsigned char>(msg.back()) > '.') msg += '.';
  MessageBox(msg, Title(), MB_OK | MB_ICONSTOP);
}

void TApplication::HookMainWindow(TWindowHook Hook) {
  for (auto& h : FHooks)
    if (h == Hook) return;
  FHooks.push_back(Hook);
}

void TApplication::UnhookMainWindow(TWindowHook Hook) {
  for (auto it = FHooks.begin(); it != FHooks.end(); ++it)
    if (*it == Hook) {
      FHooks.erase(it);
      return;
    }
}

void TApplication::Minimize() {
  if (IsIconic(Handle())) return;
  // the owned forms go out of sight with the owner (the system does it for a
  // shown owner; done here as well, so that it holds without a window manager)
  FHiddenByMinimize.clear();
  if (Screen)
    for (int i = 0; i < Screen->FormCount(); ++i) {
      TCustomForm* f = Screen->Forms(i);
      if (f->HandleAllocated() && IsWindowVisible(f->WindowHandle())) {
        FHiddenByMinimize.push_back(f->WindowHandle());
        ShowWindow(f->WindowHandle(), SW_HIDE);
      }
    }
  ShowWindow(FHandle, SW_MINIMIZE);
}

void TApplication::Restore() {
  if (!IsIconic(Handle())) return;
  ShowWindow(FHandle, SW_RESTORE);
  if (!IsWindowVisible(FHandle)) ShowWindow(FHandle, SW_SHOWNA);
  std::vector<HWND> hidden;
  hidden.swap(FHiddenByMinimize);
  for (auto it = hidden.rbegin(); it != hidden.rend(); ++it)
    if (IsWindow(*it)) ShowWindow(*it, SW_SHOWNA);
  if (FMainForm && FMainForm->HandleAllocated() && FMainForm->Visible())
    SetActiveWindow(FMainForm->WindowHandle());
}

void TApplication::BringToFront() {
  if (FMainForm && FMainForm->HandleAllocated()) {
    HWND last = GetLastActivePopup(FMainForm->WindowHandle());
    if (last && IsWindowVisible(last) && IsWindowEnabled(last)) SetForegroundWindow(last);
  }
}

int TApplication::MessageBox(const AnsiString& Text, const AnsiString& Caption, UINT Flags) {
  HWND active = GetActiveWindow();
  TCustomForm* focused = Screen ? Screen->FFocusedForm : nullptr;
  if (focused) {
    // the focus leaves the form for the box
    Screen->FFocusedForm = nullptr;
    if (focused->HandleAllocated()) SendMessageW(focused->WindowHandle(), CM_DEACTIVATE, 0, 0);
  }
  std::vector<HWND> disabled = DisableTaskWindows(nullptr);
  int result = MessageBoxW(Handle(), winapi::W(Text).c_str(), winapi::W(Caption).c_str(), Flags | MB_TASKMODAL);
  EnableTaskWindows(disabled);
  if (active && IsWindow(active)) SetActiveWindow(active);
  if (focused && Screen && Screen->FFocusedForm == nullptr) {
    auto& forms = Screen->FForms;
    if (std::find(forms.begin(), forms.end(), focused) != forms.end() && focused->Visible()) {
      // the box did not hand the focus back through the system: do it here
      Screen->FFocusedForm = focused;
      if (focused->HandleAllocated()) SendMessageW(focused->WindowHandle(), CM_ACTIVATE, 0, 0);
    }
  }
  return result;
}

void TApplication::WndProc(TMessage& Message) {
  try {
    for (auto it = FHooks.rbegin(); it != FHooks.rend(); ++it)
      if ((*it)(Message)) return;
    switch (Message.Msg) {
      case WM_ACTIVATEAPP:
        FActive = Message.WParam != 0;
        PostMessageW(FHandle, FActive ? CM_ACTIVATE : CM_DEACTIVATE, 0, 0);
        Message.Result = DefWindowProcW(FHandle, Message.Msg, Message.WParam, Message.LParam);
        return;
      case CM_ACTIVATE:
        if (OnActivate) OnActivate(this);
        return;
      case CM_DEACTIVATE:
        if (OnDeactivate) OnDeactivate(this);
        return;
      case CM_RELEASE:
        if (auto* f = reinterpret_cast<TCustomForm*>(Message.LParam)) {
          auto& forms = Screen->FForms;
          if (std::find(forms.begin(), forms.end(), f) != forms.end()) f->Free();
        }
        return;
      case WM_NULL:
        // The wake-up of a synchronised call: a modal loop of the system (a
        // message box, a menu, a common dialog) dispatches it here, and never
        // reaches the idle step that would otherwise serve the call.
        CheckSynchronize();
        return;
      case WM_CLOSE:
        if (FMainForm) FMainForm->Close();
        return;
      case WM_SYSCOMMAND:
        switch (Message.WParam & 0xFFF0) {
          case SC_MINIMIZE: Minimize(); return;
          case SC_RESTORE: Restore(); return;
          default: break;
        }
        break;
      case WM_SETFOCUS: {
        if (Screen && Screen->FActiveForm && Screen->FActiveForm->HandleAllocated() &&
            IsWindowEnabled(Screen->FActiveForm->WindowHandle()) && IsWindowVisible(Screen->FActiveForm->WindowHandle()))
          ::SetFocus(Screen->FActiveForm->WindowHandle());
        return;
      }
      case WM_ENDSESSION:
        if (Message.WParam) Terminate();
        break;
      default:
        break;
    }
    Message.Result = DefWindowProcW(FHandle, Message.Msg, Message.WParam, Message.LParam);
  } catch (...) {
    HandleException(this);
  }
}

// ------------------------------------------------------------------- TScreen

void TScreen::AddForm(TCustomForm* Form) {
  if (std::find(FForms.begin(), FForms.end(), Form) == FForms.end()) FForms.push_back(Form);
}

void TScreen::RemoveForm(TCustomForm* Form) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), Form), FForms.end());
  if (FActiveForm == Form) FActiveForm = nullptr;
  if (FFocusedForm == Form) FFocusedForm = nullptr;
  if (FActiveControl && ::GetParentForm(FActiveControl) == Form) FActiveControl = nullptr;
}

void TScreen::MoveToFront(TCustomForm* Form) {
  auto it = std::find(FForms.begin(), FForms.end(), Form);
  if (it == FForms.end() || it == FForms.begin()) return;
  FForms.erase(it);
  FForms.insert(FForms.begin(), Form);
}

TFont* TScreen::MenuFont() {
  if (!FMenuFont) {
    FMenuFont = std::make_unique<TFont>();
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
      HFONT font = CreateFontIndirectW(&ncm.lfMenuFont);
      FMenuFont->SetHandle(font);
      if (font) DeleteObject(font);
    }
  }
  return FMenuFont.get();
}

void TScreen::SetCursor(TCursor Value) {
  FCursor = Value;
  POINT p;
  GetCursorPos(&p);
  ::SetCursor(Cursors(Value == crDefault ? crArrow : Value));
  if (Value == crDefault) SetCursorPos(p.x, p.y);  // let the window under the mouse set its own
}

HCURSOR TScreen::Cursors(TCursor Index) {
  LPCWSTR id = IDC_ARROW;
  switch (Index) {
    case crNone: return nullptr;
    case crCross: id = IDC_CROSS; break;
    case crIBeam: id = IDC_IBEAM; break;
    case crSizeNESW: id = IDC_SIZENESW; break;
    case crSizeNS: id = IDC_SIZENS; break;
    case crSizeNWSE: id = IDC_SIZENWSE; break;
    case crSizeWE: id = IDC_SIZEWE; break;
    case crUpArrow: id = IDC_UPARROW; break;
    case crHourGlass: id = IDC_WAIT; break;
    case crNo: id = IDC_NO; break;
    case crAppStart: id = IDC_APPSTARTING; break;
    case crHelp: id = IDC_HELP; break;
    case crHandPoint: id = IDC_HAND; break;
    case crSizeAll: id = IDC_SIZEALL; break;
    default: break;
  }
  return LoadCursorW(nullptr, id);
}

// -------------------------------------------------------------------- TMouse

TPoint TMouse::CursorPos() const {
  POINT p{0, 0};
  GetCursorPos(&p);
  return {p.x, p.y};
}

void TMouse::SetCursorPos(const TPoint& Value) { ::SetCursorPos(Value.X, Value.Y); }

void TMouse::SetCapture(HWND Value) {
  if (Value)
    ::SetCapture(Value);
  else
    ReleaseCapture();
}
