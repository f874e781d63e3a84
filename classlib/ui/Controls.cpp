// Controls: windows bound to objects, messages, painting, alignment, focus.
#include "classlib/ui/Controls.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "classlib/ui/ActnList.h"
#include "classlib/ui/Forms.h"
#include "classlib/ui/WndThunks.h"

// ------------------------------------------------------------------ helpers

void (*ApplicationHandleException)(TObject* Sender) = nullptr;

void GuardCallback(TObject* Sender, const std::function<void()>& Fn) {
  try {
    Fn();
  } catch (...) {
    if (ApplicationHandleException) {
      try {
        ApplicationHandleException(Sender);
      } catch (...) {
      }
    }
  }
}

HINSTANCE MainInstance() {
  static HINSTANCE inst = GetModuleHandleW(nullptr);
  return inst;
}

TShiftState KeysToShiftState(Word Keys) {
  TShiftState s;
  if (Keys & MK_SHIFT) s.Include(ssShift);
  if (Keys & MK_CONTROL) s.Include(ssCtrl);
  if (Keys & MK_LBUTTON) s.Include(ssLeft);
  if (Keys & MK_RBUTTON) s.Include(ssRight);
  if (Keys & MK_MBUTTON) s.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState KeyDataToShiftState(Integer KeyData) {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (KeyData & 0x20000000) s.Include(ssAlt);
  return s;
}

PTypeInfo TypeInfoTCursor() {
  static PTypeInfo ti = [] {
    PTypeInfo t = IntegerTypeInfo("TCursor");
    RegisterIntegerConsts(t, {{crDefault, "crDefault"}, {crNone, "crNone"}, {crArrow, "crArrow"},
                              {crCross, "crCross"}, {crIBeam, "crIBeam"}, {crSizeNESW, "crSizeNESW"},
                              {crSizeNS, "crSizeNS"}, {crSizeNWSE, "crSizeNWSE"}, {crSizeWE, "crSizeWE"},
                              {crUpArrow, "crUpArrow"}, {crHourGlass, "crHourGlass"}, {crNo, "crNo"},
                              {crAppStart, "crAppStart"}, {crHelp, "crHelp"}, {crHandPoint, "crHandPoint"},
                              {crSizeAll, "crSizeAll"}});
    return t;
  }();
  return ti;
}

// ------------------------------------------------------------ object instances

namespace {

// A method bound to a window procedure (MakeObjectInstance).
struct MethodInstance {
  TWndMethod Method;
};

LRESULT CALLBACK MethodWndProc(void* Data, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* mi = static_cast<MethodInstance*>(Data);
  TMessage m;
  m.Msg = Msg;
  m.WParam = WParam;
  m.LParam = LParam;
  // The method may free the window and with it this instance (a timer freed
  // in its own tick): nothing of it is read after the call.
  const TWndMethod method = mi->Method;
  TObject* target = method.Object();
  try {
    method(m);
  } catch (...) {
    if (ApplicationHandleException) {
      try {
        ApplicationHandleException(target);
      } catch (...) {
      }
    }
  }
  return m.Result;
}

std::mutex& InstanceMutex() {
  static std::mutex m;
  return m;
}
std::vector<std::pair<void*, MethodInstance*>>& Instances() {
  static auto* v = new std::vector<std::pair<void*, MethodInstance*>>;
  return *v;
}

TControl* CaptureControl = nullptr;

TWinControl* ControlFromWindowChain(HWND Wnd) {
  while (Wnd) {
    if (TWinControl* c = FindControl(Wnd)) return c;
    Wnd = GetParent(Wnd);
  }
  return nullptr;
}

}  // namespace

WNDPROC MakeObjectInstance(TWndMethod Method) {
  auto* mi = new MethodInstance{Method};
  void* thunk = reinterpret_cast<void*>(dk::AllocThunk(mi, &MethodWndProc));
  std::lock_guard<std::mutex> lock(InstanceMutex());
  Instances().push_back({thunk, mi});
  return reinterpret_cast<WNDPROC>(thunk);
}

void FreeObjectInstance(WNDPROC Instance) {
  if (!Instance) return;
  MethodInstance* mi = nullptr;
  {
    std::lock_guard<std::mutex> lock(InstanceMutex());
    auto& v = Instances();
    for (auto it = v.begin(); it != v.end(); ++it)
      if (it->first == reinterpret_cast<void*>(Instance)) {
        mi = it->second;
        v.erase(it);
        break;
      }
  }
  dk::FreeThunk(Instance);
  delete mi;
}

// ----------------------------------------------------------- utility windows

namespace {
const wchar_t kUtilClass[] = L"TPUtilWindow";
void RegisterUtilClass() {
  static bool done = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = MainInstance();
    wc.lpszClassName = kUtilClass;
    RegisterClassW(&wc);
    return true;
  }();
  (void)done;
}
}  // namespace

HWND AllocateHWnd(TWndMethod Method) {
  RegisterUtilClass();
  HWND wnd = CreateWindowExW(WS_EX_TOOLWINDOW, kUtilClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                             MainInstance(), nullptr);
  if (!wnd) RaiseLastOSError();
  if (Method) {
    WNDPROC proc = MakeObjectInstance(Method);
    SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
  }
  return wnd;
}

void DeallocateHWnd(HWND Wnd) {
  if (!Wnd) return;
  auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Wnd, GWLP_WNDPROC));
  DestroyWindow(Wnd);
  if (proc != DefWindowProcW) {
    bool ours = false;
    {
      std::lock_guard<std::mutex> lock(InstanceMutex());
      for (auto& e : Instances())
        if (e.first == reinterpret_cast<void*>(proc)) ours = true;
    }
    if (ours) FreeObjectInstance(proc);
  }
}

TWinControl* FindControl(HWND Handle) {
  if (!Handle) return nullptr;
  DWORD pid = 0;
  DWORD tid = GetWindowThreadProcessId(Handle, &pid);
  if (!tid || pid != GetCurrentProcessId()) return nullptr;
  return static_cast<TWinControl*>(GetPropW(Handle, L"DkControlObject"));
}

TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled) {
  POINT p{Pos.X, Pos.Y};
  HWND wnd = WindowFromPoint(p);
  TWinControl* w = ControlFromWindowChain(wnd);
  if (!w) return nullptr;
  TPoint local = w->ScreenToClient(Pos);
  if (TControl* c = w->ControlAtPos(local, AllowDisabled)) return c;
  return w;
}

TControl* GetCaptureControl() {
  HWND cap = GetCapture();
  if (!cap) {
    CaptureControl = nullptr;
    return nullptr;
  }
  if (CaptureControl && CaptureControl->Parent() && CaptureControl->Parent()->WindowHandle() == cap)
    return CaptureControl;
  CaptureControl = nullptr;
  return FindControl(cap);
}

void SetCaptureControl(TControl* Control) {
  ReleaseCapture();
  CaptureControl = nullptr;
  if (!Control) return;
  if (auto* w = dynamic_cast<TWinControl*>(Control)) {
    SetCapture(w->Handle());
    return;
  }
  if (Control->Parent()) {
    CaptureControl = Control;
    SetCapture(Control->Parent()->Handle());
  }
}

// ------------------------------------------------------------ TControlCanvas

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* Value) {
  if (FControl == Value) return;
  FreeHandle();
  FControl = Value;
}

void TControlCanvas::FreeHandle() {
  if (FDeviceContext) {
    SetHandle(nullptr);
    ReleaseDC(FWindowHandle, FDeviceContext);
    FDeviceContext = nullptr;
    FWindowHandle = nullptr;
  }
}

void TControlCanvas::CreateHandle() {
  if (!FControl) return;
  if (auto* w = dynamic_cast<TWinControl*>(FControl)) {
    FWindowHandle = w->Handle();
    FDeviceContext = GetDCEx(FWindowHandle, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
  } else {
    TWinControl* p = FControl->Parent();
    if (!p) throw EInvalidOperation("Control '" + FControl->Name() + "' has no parent window");
    FWindowHandle = p->Handle();
    FDeviceContext = GetDCEx(FWindowHandle, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
    if (FDeviceContext) {
      SetWindowOrgEx(FDeviceContext, -FControl->Left(), -FControl->Top(), nullptr);
      IntersectClipRect(FDeviceContext, 0, 0, FControl->Width(), FControl->Height());
    }
  }
  if (FDeviceContext) SetHandle(FDeviceContext);
}

// ---------------------------------------------------------- TSizeConstraints

void TSizeConstraints::Assign(TPersistent* Source) {
  if (auto* c = dynamic_cast<TSizeConstraints*>(Source)) {
    FMaxHeight = c->FMaxHeight;
    FMaxWidth = c->FMaxWidth;
    FMinHeight = c->FMinHeight;
    FMinWidth = c->FMinWidth;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

void TSizeConstraints::SetMaxHeight(Integer Value) {
  if (Value < 0) Value = 0;
  if (FMaxHeight == Value) return;
  FMaxHeight = Value;
  if (Value > 0 && Value < FMinHeight) FMinHeight = Value;
  Changed();
}

void TSizeConstraints::SetMaxWidth(Integer Value) {
  if (Value < 0) Value = 0;
  if (FMaxWidth == Value) return;
  FMaxWidth = Value;
  if (Value > 0 && Value < FMinWidth) FMinWidth = Value;
  Changed();
}

void TSizeConstraints::SetMinHeight(Integer Value) {
  if (Value < 0) Value = 0;
  if (FMinHeight == Value) return;
  FMinHeight = Value;
  if (FMaxHeight > 0 && Value > FMaxHeight) FMaxHeight = Value;
  Changed();
}

void TSizeConstraints::SetMinWidth(Integer Value) {
  if (Value < 0) Value = 0;
  if (FMinWidth == Value) return;
  FMinWidth = Value;
  if (FMaxWidth > 0 && Value > FMaxWidth) FMaxWidth = Value;
  Changed();
}

void TSizeConstraints::Constrain(Integer& Width, Integer& Height) const {
  if (FMaxWidth > 0 && Width > FMaxWidth) Width = FMaxWidth;
  if (FMinWidth > 0 && Width < FMinWidth) Width = FMinWidth;
  if (FMaxHeight > 0 && Height > FMaxHeight) Height = FMaxHeight;
  if (FMinHeight > 0 && Height < FMinHeight) Height = FMinHeight;
}

void TSizeConstraints::Changed() {
  if (OnChange) OnChange(this);
}

DK_PUBLISH(TSizeConstraints) {
  P.Property("MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight).Default(0);
  P.Property("MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth).Default(0);
  P.Property("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight).Default(0);
  P.Property("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth).Default(0);
}

// ------------------------------------------------------------------ TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {}

TControl::~TControl() {
  if (CaptureControl == this) CaptureControl = nullptr;
}

void TControl::Construct() {
  inherited::Construct();
  WindowProc = TWndMethod(this, &TControl::WndProc);
  FFont = std::make_unique<TFont>();
  FFont->OnChange = TNotifyEvent(this, &TControl::FontChanged);
  FConstraints = std::make_unique<TSizeConstraints>(this);
  FConstraints->OnChange = TNotifyEvent(this, &TControl::ConstraintsChanged);
  FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
}

void TControl::BeforeDestruction() {
  if (CaptureControl == this) SetCaptureControl(nullptr);
  inherited::BeforeDestruction();
  if (FParent) FParent->RemoveControl(this);
}

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::SetParentComponent(TComponent* Value) {
  if (auto* w = dynamic_cast<TWinControl*>(Value)) SetParent(w);
}

void TControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (FParent) FParent->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
  UpdateAnchorRules();
}

void TControl::ReadState(TReader* Reader) {
  FControlState.Include(csReadingState);
  if (auto* p = dynamic_cast<TWinControl*>(Reader->Parent())) SetParent(p);
  try {
    inherited::ReadState(Reader);
  } catch (...) {
    FControlState.Exclude(csReadingState);
    throw;
  }
  FControlState.Exclude(csReadingState);
  if (FParent) {
    Perform(CM_PARENTCOLORCHANGED, 0, 0);
    Perform(CM_PARENTFONTCHANGED, 0, 0);
    Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
  }
}

void TControl::Loaded() {
  inherited::Loaded();
  if (FParent) {
    Perform(CM_PARENTCOLORCHANGED, 0, 0);
    Perform(CM_PARENTFONTCHANGED, 0, 0);
  }
  if (FAlign != alNone && FParent) FParent->Realign();
  UpdateAnchorRules();
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == reinterpret_cast<TComponent*>(FPopupMenu)) FPopupMenu = nullptr;
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
  FPopupMenu = Value;
  if (Value) reinterpret_cast<TComponent*>(Value)->FreeNotification(this);
}

void TControl::ConstraintsChanged(TObject*) {
  Integer w = FWidth, h = FHeight;
  FConstraints->Constrain(w, h);
  if (w != FWidth || h != FHeight) SetBounds(FLeft, FTop, w, h);
}

void TControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  FConstraints->Constrain(AWidth, AHeight);
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  bool sized = AWidth != FWidth || AHeight != FHeight;
  InvalidateControl(FVisible, false);
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  Invalidate();
  if (FParent && FAlign != alNone) FParent->AlignControl(this);
  if (!FParent || !FParent->FAnchoring) UpdateAnchorRules();
  if (sized && !ComponentState().Contains(csLoading)) Resize();
}

void TControl::SetAnchors(TAnchors Value) {
  FAnchors = Value;
  UpdateAnchorRules();
}

// The rules are recorded against the parent's window client size; without a
// window they are recorded at the parent's first alignment.
void TControl::UpdateAnchorRules() {
  FAnchorRulesValid = false;
  if (!FParent || !FParent->HandleAllocated() || ComponentState().Contains(csLoading)) return;
  TRect client = FParent->GetClientRect();
  FAnchorBounds = Bounds(FLeft, FTop, FWidth, FHeight);
  FAnchorParentSize = {client.Width(), client.Height()};
  FAnchorRulesValid = true;
}

TRect TControl::GetClientRect() { return Rect(0, 0, FWidth, FHeight); }

void TControl::SetClientWidth(Integer Value) { SetClientSize({Value, ClientHeight()}); }
void TControl::SetClientHeight(Integer Value) { SetClientSize({ClientWidth(), Value}); }

void TControl::SetClientSize(TPoint Value) {
  TRect client = GetClientRect();
  SetBounds(FLeft, FTop, FWidth - client.Width() + Value.X, FHeight - client.Height() + Value.Y);
}

TPoint TControl::ClientOrigin() {
  if (!FParent) throw EInvalidOperation("Control '" + Name() + "' has no parent window");
  TPoint p = FParent->ClientOrigin();
  return {p.X + FLeft, p.Y + FTop};
}

TPoint TControl::ClientToScreen(const TPoint& P) {
  TPoint o = ClientOrigin();
  return {P.X + o.X, P.Y + o.Y};
}

TPoint TControl::ScreenToClient(const TPoint& P) {
  TPoint o = ClientOrigin();
  return {P.X - o.X, P.Y - o.Y};
}

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) return;
  TAlign old = FAlign;
  FAlign = Value;
  if (FParent && (old != alNone || Value != alNone) && !ComponentState().Contains(csLoading)) FParent->Realign();
}

void TControl::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  if (Value) AdjustSize();
}

void TControl::AdjustSize() {
  if (!FAutoSize) return;
  Integer w = FWidth, h = FHeight;
  if (CanAutoSize(w, h) && (w != FWidth || h != FHeight)) SetBounds(FLeft, FTop, w, h);
}

bool TControl::CanAutoSize(Integer& NewWidth, Integer& NewHeight) { return false; }

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  if (!Value) InvalidateControl(true, false);
  FVisible = Value;
  Perform(CM_VISIBLECHANGED, Value ? 1 : 0, 0);
  if (FParent && FAlign != alNone && !ComponentState().Contains(csLoading)) FParent->Realign();
}

void TControl::Show() {
  if (FParent) {
    // a control shown inside a hidden parent shows the parents too
    for (TWinControl* p = FParent; p; p = p->Parent())
      if (!p->Visible() && !dynamic_cast<TCustomForm*>(p)) p->SetVisible(true);
  }
  SetVisible(true);
}

void TControl::Hide() { SetVisible(false); }

void TControl::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetBiDiMode(TBiDiMode Value) {
  if (FBiDiMode == Value) return;
  FBiDiMode = Value;
  Perform(CM_BIDIMODECHANGED, 0, 0);
}

TSysLocale SysLocale{GetSystemMetrics(SM_MIDEASTENABLED) != 0};

bool TControl::UseRightToLeftAlignment() const { return FBiDiMode == bdRightToLeft && SysLocale.MiddleEast; }

bool TControl::UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight && SysLocale.MiddleEast; }

UINT TControl::DrawTextBiDiModeFlags(UINT Flags) const {
  if (UseRightToLeftAlignment()) {
    if ((Flags & (DT_CENTER | DT_RIGHT)) == DT_LEFT)
      Flags |= DT_RIGHT;
    else if (Flags & DT_RIGHT)
      Flags &= ~DT_RIGHT;
  }
  if (UseRightToLeftReading()) Flags |= DT_RTLREADING;
  return Flags;
}

bool TControl::Showing() const {
  if (!FVisible || !FParent) return false;
  return FParent->Showing();
}

AnsiString TControl::GetText() { return FText; }

void TControl::SetText(const AnsiString& Value) {
  if (GetText() == Value) return;
  FText = Value;
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetColor(TColor Value) {
  if (FColor != Value) {
    FColor = Value;
    FParentColor = false;
    Perform(CM_COLORCHANGED, 0, 0);
  } else {
    FParentColor = false;
  }
}

void TControl::SetParentColor(bool Value) {
  if (FParentColor == Value) return;
  FParentColor = Value;
  if (Value && FParent && !ComponentState().Contains(csReading)) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetParentFont(bool Value) {
  if (FParentFont == Value) return;
  FParentFont = Value;
  if (Value && FParent && !ComponentState().Contains(csReading)) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetShowHint(bool Value) {
  FShowHint = Value;
  FParentShowHint = false;
  Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool Value) {
  if (FParentShowHint == Value) return;
  FParentShowHint = Value;
  if (Value) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::FontChanged(TObject* Sender) {
  FParentFont = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

bool TControl::MouseCapture() { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool Value) {
  if (MouseCapture() == Value) return;
  SetCaptureControl(Value ? this : nullptr);
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m;
  m.Msg = Msg;
  m.WParam = WParam;
  m.LParam = LParam;
  WindowProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& Message) {
  Dispatch(&Message);
}

void TControl::DefaultHandler(void* Message) {
  auto& m = *static_cast<TMessage*>(Message);
  switch (m.Msg) {
    case WM_GETTEXTLENGTH:
      m.Result = static_cast<LRESULT>(FText.size());
      break;
    default:
      break;
  }
}

void TControl::Invalidate() { InvalidateControl(FVisible, FControlStyle.Contains(csOpaque)); }

void TControl::InvalidateControl(bool IsVisible, bool IsOpaque) {
  if (!IsVisible || !FParent || !FParent->HandleAllocated()) return;
  RECT r{FLeft, FTop, FLeft + FWidth, FTop + FHeight};
  InvalidateRect(FParent->WindowHandle(), &r,
                 !(IsOpaque || FParent->ControlStyle().Contains(csOpaque)));
}

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  if (!FVisible || !FParent || !FParent->HandleAllocated()) return;
  Invalidate();
  FParent->Update();
}

void TControl::BringToFront() { SetZOrder(true); }
void TControl::SendToBack() { SetZOrder(false); }

void TControl::SetZOrder(bool TopMost) {
  if (!FParent) return;
  auto& list = FParent->FControls;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  if (TopMost)
    list.push_back(this);
  else
    list.insert(list.begin(), this);
  InvalidateControl(FVisible, true);
}

TCustomForm* TControl::GetParentForm() const { return ::GetParentForm(const_cast<TControl*>(this)); }

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::Changed() { Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this)); }

void TControl::DoMouseDown(TWMMouse& Message, TMouseButton Button, TShiftState Shift) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  MouseDown(Button, KeysToShiftState(static_cast<Word>(Message.Keys())) + Shift, Message.XPos(), Message.YPos());
}

void TControl::DoMouseUp(TWMMouse& Message, TMouseButton Button) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  MouseUp(Button, KeysToShiftState(static_cast<Word>(Message.Keys())), Message.XPos(), Message.YPos());
}

void TControl::WMLButtonDown(TWMMouse& Message) {
  DefaultHandler(&Message);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (FControlStyle.Contains(csClickEvents)) FControlState.Include(csClicked);
  DoMouseDown(Message, mbLeft, {});
}

void TControl::WMLButtonDblClk(TWMMouse& Message) {
  DefaultHandler(&Message);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (FControlStyle.Contains(csClickEvents)) DblClick();
  DoMouseDown(Message, mbLeft, {ssDouble});
}

void TControl::WMLButtonUp(TWMMouse& Message) {
  DefaultHandler(&Message);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
  if (FControlState.Contains(csClicked)) {
    FControlState.Exclude(csClicked);
    if (GetClientRect().Contains(Message.Pos())) Click();
  }
  DoMouseUp(Message, mbLeft);
}

void TControl::WMRButtonDown(TWMMouse& Message) {
  DefaultHandler(&Message);
  DoMouseDown(Message, mbRight, {});
}

void TControl::WMRButtonUp(TWMMouse& Message) {
  DefaultHandler(&Message);
  DoMouseUp(Message, mbRight);
}

void TControl::WMMButtonDown(TWMMouse& Message) {
  DefaultHandler(&Message);
  DoMouseDown(Message, mbMiddle, {});
}

void TControl::WMMButtonUp(TWMMouse& Message) {
  DefaultHandler(&Message);
  DoMouseUp(Message, mbMiddle);
}

void TControl::WMMouseMove(TWMMouse& Message) {
  DefaultHandler(&Message);
  if (!FControlStyle.Contains(csNoStdEvents))
    MouseMove(KeysToShiftState(static_cast<Word>(Message.Keys())), Message.XPos(), Message.YPos());
}

void TControl::MouseWheelHandler(TMessage& Message) {
  TCustomForm* form = GetParentForm();
  if (form && form != this) {
    form->MouseWheelHandler(Message);
    return;
  }
  Message.Result = Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

bool TControl::DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  return handled;
}

void TControl::CMMouseWheel(TMessage& Message) {
  auto& wheel = static_cast<TCMMouseWheel&>(Message);
  if (DoMouseWheel(KeysToShiftState(wheel.Keys()), wheel.WheelDelta(), wheel.Pos())) {
    Message.Result = 1;
    return;
  }
  // not taken here: the parent may scroll
  if (FParent) Message.Result = FParent->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

void TControl::CMMouseEnter(TMessage& Message) {
  // the parents learn which of their children the mouse entered
  if (FParent) FParent->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(this));
}

void TControl::CMMouseLeave(TMessage& Message) {
  if (FParent) FParent->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(this));
}

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }

void TControl::CMVisibleChanged(TMessage&) { InvalidateControl(true, FVisible && FControlStyle.Contains(csOpaque)); }

void TControl::CMFontChanged(TMessage&) { Invalidate(); }

void TControl::CMColorChanged(TMessage&) { Invalidate(); }

void TControl::CMParentFontChanged(TMessage&) {
  if (!FParentFont || !FParent) return;
  FFont->Assign(FParent->Font());
  FParentFont = true;  // the assignment went through FontChanged
}

void TControl::CMParentColorChanged(TMessage&) {
  if (!FParentColor || !FParent) return;
  SetColor(FParent->Color());
  FParentColor = true;
}

void TControl::CMParentShowHintChanged(TMessage&) {
  if (!FParentShowHint || !FParent) return;
  FShowHint = FParent->ShowHint();
}

DK_MESSAGE_UNIT(TControl);
DK_MESSAGE_HANDLER(TControl, WM_LBUTTONDOWN, WMLButtonDown);
DK_MESSAGE_HANDLER(TControl, WM_LBUTTONDBLCLK, WMLButtonDblClk);
DK_MESSAGE_HANDLER(TControl, WM_LBUTTONUP, WMLButtonUp);
DK_MESSAGE_HANDLER(TControl, WM_RBUTTONDOWN, WMRButtonDown);
DK_MESSAGE_HANDLER(TControl, WM_RBUTTONUP, WMRButtonUp);
DK_MESSAGE_HANDLER(TControl, WM_MBUTTONDOWN, WMMButtonDown);
DK_MESSAGE_HANDLER(TControl, WM_MBUTTONUP, WMMButtonUp);
DK_MESSAGE_HANDLER(TControl, WM_MOUSEMOVE, WMMouseMove);
DK_MESSAGE_HANDLER(TControl, CM_ENABLEDCHANGED, CMEnabledChanged);
DK_MESSAGE_HANDLER(TControl, CM_MOUSEWHEEL, CMMouseWheel);
DK_MESSAGE_HANDLER(TControl, CM_MOUSEENTER, CMMouseEnter);
DK_MESSAGE_HANDLER(TControl, CM_MOUSELEAVE, CMMouseLeave);
DK_MESSAGE_HANDLER(TControl, CM_VISIBLECHANGED, CMVisibleChanged);
DK_MESSAGE_HANDLER(TControl, CM_FONTCHANGED, CMFontChanged);
DK_MESSAGE_HANDLER(TControl, CM_COLORCHANGED, CMColorChanged);
DK_MESSAGE_HANDLER(TControl, CM_PARENTFONTCHANGED, CMParentFontChanged);
DK_MESSAGE_HANDLER(TControl, CM_PARENTCOLORCHANGED, CMParentColorChanged);
DK_MESSAGE_HANDLER(TControl, CM_PARENTSHOWHINTCHANGED, CMParentShowHintChanged);

DK_PUBLISH(TControl) {
  P.Property("Left", &TControl::Left, &TControl::SetLeft);
  P.Property("Top", &TControl::Top, &TControl::SetTop);
  P.Property("Width", &TControl::Width, &TControl::SetWidth);
  P.Property("Height", &TControl::Height, &TControl::SetHeight);
  P.Property("Align", &TControl::Align, &TControl::SetAlign).Default(alNone);
  P.Property("Anchors", &TControl::Anchors, &TControl::SetAnchors).Default(TAnchors{akLeft, akTop});
  P.Property("BiDiMode", &TControl::BiDiMode, &TControl::SetBiDiMode).Default(bdLeftToRight);
  P.Property("Caption", &TControl::GetText, &TControl::SetText);
  P.Property("Constraints", &TControl::Constraints, &TControl::SetConstraints);
  P.Property("Color", &TControl::Color, &TControl::SetColor)
      .Type(TypeInfoTColor())
      .Stored(&TControl::IsColorStored);
  P.Property("Cursor", &TControl::Cursor, &TControl::SetCursor).Type(TypeInfoTCursor()).Default(crDefault);
  P.Property("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true);
  P.Property("Font", &TControl::Font, &TControl::SetFont).Stored(&TControl::IsFontStored);
  P.Property("Hint", &TControl::Hint, &TControl::SetHint);
  P.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(true);
  P.Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true);
  P.Property("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint).Default(true);
  P.Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint).Default(false);
  P.Property("Visible", &TControl::Visible, &TControl::SetVisible).Default(true);
  P.Property("OnClick", &TControl::OnClick);
  P.Property("OnDblClick", &TControl::OnDblClick);
  P.Property("OnMouseDown", &TControl::OnMouseDown);
  P.Property("OnMouseMove", &TControl::OnMouseMove);
  P.Property("OnMouseWheel", &TControl::OnMouseWheel);
  P.Property("OnMouseUp", &TControl::OnMouseUp);
  P.Property("OnResize", &TControl::OnResize);
}
