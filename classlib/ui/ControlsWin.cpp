// Window controls: their windows, children, alignment, focus, keys and painting.
#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

#include "classlib/ui/Controls.h"
#include "classlib/ui/Forms.h"
#include "classlib/ui/Menus.h"
#include "classlib/ui/PaintScope.h"

namespace {

thread_local TWinControl* gCreationControl = nullptr;

const wchar_t kControlProp[] = L"DkControlObject";

void MoveWindowOrg(HDC DC, int DX, int DY) {
  POINT p;
  GetWindowOrgEx(DC, &p);
  SetWindowOrgEx(DC, p.x - DX, p.y - DY, nullptr);
}

bool IsMouseMessage(UINT Msg) { return Msg >= WM_MOUSEFIRST && Msg <= WM_MOUSELAST; }

Word NextControlID() {
  static Word id = 0x100;
  if (++id >= 0x7FFF) id = 0x100;
  return id;
}

}  // namespace

// ---------------------------------------------------------- window procedure
//
// Every window class the controls register has InitWndProc as its procedure.
// The first message of a new window puts the control's own procedure in its
// place; when another party has already put its procedure over the window
// (a window-creation hook), InitWndProc stays below that party's and serves
// the control, and after the control is gone the procedure of the class the
// control copied.

namespace {

std::mutex gClassProcLock;
std::map<ATOM, WNDPROC> gClassProcs;  // class -> the procedure InitWndProc stands for

void RememberClassProc(ATOM Class, WNDPROC Proc) {
  std::lock_guard<std::mutex> lock(gClassProcLock);
  gClassProcs[Class] = Proc;
}

WNDPROC ClassProcOf(HWND Wnd) {
  std::lock_guard<std::mutex> lock(gClassProcLock);
  auto it = gClassProcs.find(static_cast<ATOM>(GetClassWord(Wnd, GCW_ATOM)));
  return it == gClassProcs.end() || !it->second ? DefWindowProcW : it->second;
}

}  // namespace

LRESULT CALLBACK TWinControl::InitWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (TWinControl* c = gCreationControl) {
    gCreationControl = nullptr;
    c->FHandle = Wnd;
    SetPropW(Wnd, kControlProp, c);
    if (c->FWndLink->Replace(Wnd, &TWinControl::InitWndProc, c->FDefWndProc ? c->FDefWndProc : DefWindowProcW))
      return CallWindowProcW(c->FWndLink->Thunk(), Wnd, Msg, WParam, LParam);
    return StdWndProc(c, Msg, WParam, LParam);
  }
  if (TWinControl* c = FindControl(Wnd)) return StdWndProc(c, Msg, WParam, LParam);
  return CallWindowProcW(ClassProcOf(Wnd), Wnd, Msg, WParam, LParam);
}

LRESULT TWinControl::StdWndProc(void* Self, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* c = static_cast<TWinControl*>(Self);
  TMessage m;
  m.Msg = Msg;
  m.WParam = WParam;
  m.LParam = LParam;
  c->MainWndProc(m);
  return m.Result;
}

WNDPROC TWinControl::ObjectInstance() const { return FWndLink ? FWndLink->Thunk() : nullptr; }

void TWinControl::MainWndProc(TMessage& Message) {
  try {
    WindowProc(Message);
  } catch (...) {
    if (ApplicationHandleException) {
      try {
        ApplicationHandleException(this);
      } catch (...) {
      }
    }
  }
}

// ---------------------------------------------------------------- TWinControl

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  // children still here: construction failed before BeforeDestruction could run
  std::vector<TControl*> rest(FControls.begin(), FControls.end());
  rest.insert(rest.end(), FWinControls.begin(), FWinControls.end());
  FControls.clear();
  FWinControls.clear();
  FTabList.clear();
  for (TControl* c : rest) {
    c->FParent = nullptr;
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
  }
  // The window must not call into a half-destroyed object: its procedure
  // leaves the chain (or hands on unseen while others lie over it).
  if (FHandle) RemovePropW(FHandle, kControlProp);
  if (FWndLink) FWndLink->Leave();
  FWndLink = nullptr;
  if (FHandle) {
    DestroyWindow(FHandle);
    FHandle = nullptr;
  }
  for (TControl* c : rest)
    if (!c->Owner()) c->Free();  // owned ones go with their owner
}

void TWinControl::Construct() {
  inherited::Construct();
  FBrush = std::make_unique<TBrush>();
  FBrush->SetColor(Color());
  FWndLink = new TWndSubclass(TWndMethod(), this, &TWinControl::StdWndProc);
}

void TWinControl::BeforeDestruction() {
  Destroying();
  // the child controls go with their parent, whoever owns them
  while (ControlCount() > 0) {
    TControl* c = Controls(ControlCount() - 1);
    RemoveControl(c);
    c->Free();
  }
  DestroyHandle();
  inherited::BeforeDestruction();
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle) return;
  if (Parent()) Parent()->HandleNeeded();
  CreateHandle();
}

void TWinControl::SetParentWindow(HWND Value) {
  if (FParentWindow == Value) return;
  if (FHandle && FParentWindow && Value && !Parent()) {
    ::SetParent(FHandle, Value);
    FParentWindow = Value;
    return;
  }
  DestroyHandle();
  FParentWindow = Value;
  UpdateControlState();
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params = TCreateParams{};
  Params.Caption = FText;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (FControlStyle.Contains(csAcceptsControls)) Params.Style |= WS_CLIPCHILDREN;
  if (!Enabled()) Params.Style |= WS_DISABLED;
  if (FTabStop) Params.Style |= WS_TABSTOP;
  Params.X = Left();
  Params.Y = Top();
  Params.Width = Width();
  Params.Height = Height();
  if (Parent())
    Params.WndParent = Parent()->Handle();
  else
    Params.WndParent = FParentWindow;
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  Params.WindowClass.lpfnWndProc = DefWindowProcW;
  Params.WindowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  Params.WindowClass.hbrBackground = nullptr;
  Params.WindowClass.hInstance = MainInstance();
  std::wstring name = winapi::W(ClassName());
  wcsncpy(Params.WinClassName, name.c_str(), 63);
}

void TWinControl::CreateSubClass(TCreateParams& Params, const wchar_t* ClassName) {
  WNDCLASSW wc{};
  if (!GetClassInfoW(nullptr, ClassName, &wc) && !GetClassInfoW(MainInstance(), ClassName, &wc))
    throw EOutOfResources(AnsiString("Window class ") + winapi::A(ClassName) + " is not available");
  Params.WindowClass.style = wc.style & ~(CS_OWNDC | CS_CLASSDC | CS_PARENTDC | CS_GLOBALCLASS);
  Params.WindowClass.lpfnWndProc = wc.lpfnWndProc;
  Params.WindowClass.cbClsExtra = wc.cbClsExtra;
  Params.WindowClass.cbWndExtra = wc.cbWndExtra;
  Params.WindowClass.hCursor = wc.hCursor;
  Params.WindowClass.hbrBackground = wc.hbrBackground;
  Params.WindowClass.hInstance = MainInstance();
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  if ((params.Style & WS_CHILD) && !params.WndParent)
    throw EInvalidOperation("Control '" + Name() + "' has no parent window");
  FDefWndProc = params.WindowClass.lpfnWndProc;
  WNDCLASSW existing{};
  bool registered = GetClassInfoW(params.WindowClass.hInstance, params.WinClassName, &existing) != 0;
  if (!registered || existing.lpfnWndProc != &TWinControl::InitWndProc) {
    if (registered) UnregisterClassW(params.WinClassName, params.WindowClass.hInstance);
    WNDCLASSW wc = params.WindowClass;
    wc.lpfnWndProc = &TWinControl::InitWndProc;
    wc.lpszClassName = params.WinClassName;
    ATOM atom = RegisterClassW(&wc);
    if (!atom) RaiseLastOSError();
    RememberClassProc(atom, FDefWndProc);
  }
  gCreationControl = this;
  try {
    CreateWindowHandle(params);
  } catch (...) {
    gCreationControl = nullptr;
    throw;
  }
  gCreationControl = nullptr;
  if (!FHandle) RaiseLastOSError();
  if (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD) SetWindowLongPtrW(FHandle, GWLP_ID, FCtlID);
  UpdateBounds();
  Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 1);
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  HMENU id = nullptr;
  if (Params.Style & WS_CHILD) {
    if (!FCtlID) FCtlID = NextControlID();
    id = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(FCtlID));
  }
  std::wstring caption = winapi::W(Params.Caption);
  HWND wnd = CreateWindowExW(Params.ExStyle, Params.WinClassName, caption.c_str(), Params.Style, Params.X,
                             Params.Y, Params.Width, Params.Height, Params.WndParent, id,
                             Params.WindowClass.hInstance, Params.Param);
  if (wnd) FHandle = wnd;
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  CreateWnd();
  // z-order among the siblings as the list has it
  if (Parent()) {
    HWND after = HWND_TOP;
    auto& sibs = Parent()->FWinControls;
    auto it = std::find(sibs.begin(), sibs.end(), this);
    for (auto j = it; j != sibs.end(); ++j)
      if (*j != this && (*j)->FHandle) {
        after = GetWindow((*j)->FHandle, GW_HWNDPREV);
        if (!after) after = HWND_TOP;
        break;
      }
    if (after != FHandle) SetWindowPos(FHandle, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  if (HWND old = FRecreatedFrom) {
    // whoever subclassed the old window may follow the control to the new one
    FRecreatedFrom = nullptr;
    Perform(CM_WNDRECREATED, reinterpret_cast<WPARAM>(old), reinterpret_cast<LPARAM>(FHandle));
  }
  if (FShowing) {
    // made again (RecreateWnd): it shows as it did
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  Realign();
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (TWinControl* c : FWinControls) c->DestroyHandle();
  DestroyWnd();
}

void TWinControl::DestroyWnd() {
  // keep the text the window holds for the next window
  if (FHandle) {
    int n = GetWindowTextLengthW(FHandle);
    std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
    int got = GetWindowTextW(FHandle, buf.data(), n + 1);
    FText = winapi::A(buf.c_str(), got);
  }
  DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
  FControlState.Include(csDestroyingHandle);
  if (FHandle) DestroyWindow(FHandle);  // WM_NCDESTROY lets the window go
  FControlState.Exclude(csDestroyingHandle);
  FHandle = nullptr;
}

void TWinControl::WMNCDestroy(TWMNCDestroy& Message) {
  DefaultHandler(&Message);
  if (FHandle) RemovePropW(FHandle, kControlProp);
  FWndLink->WindowGone();
  FHandle = nullptr;
}

void TWinControl::RecreateWnd() {
  if (!FHandle) return;
  FRecreating = true;
  FRecreatedFrom = FHandle;
  try {
    bool focused = Focused();
    DestroyHandle();
    UpdateControlState();
    if (!FHandle && FShowing) HandleNeeded();
    if (focused && FHandle) ::SetFocus(FHandle);
  } catch (...) {
    FRecreating = false;
    throw;
  }
  FRecreating = false;
}

void TWinControl::CMRecreateWnd(TMessage&) { RecreateWnd(); }

void TWinControl::UpdateShowing() {
  bool show = (Visible() || ComponentState().Contains(csDesigning)) && !FControlState.Contains(csReadingState);
  if (show) {
    if (!FHandle) CreateHandle();
    for (TWinControl* c : std::vector<TWinControl*>(FWinControls)) c->UpdateShowing();
  }
  if (FHandle) {
    if (FShowing != show) {
      FShowing = show;
      try {
        Perform(CM_SHOWINGCHANGED, 0, 0);
      } catch (...) {
        FShowing = !show;
        throw;
      }
    }
  } else {
    FShowing = false;
  }
}

void TWinControl::UpdateControlState() {
  TWinControl* c = this;
  while (c->Parent()) {
    c = c->Parent();
    if (!c->Showing()) return;
  }
  if (dynamic_cast<TCustomForm*>(c) || c->FParentWindow) UpdateShowing();
}

void TWinControl::CMShowingChanged(TMessage&) {
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                   (FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::CMVisibleChanged(TMessage& Message) {
  if (!Visible() && Parent()) {
    if (TCustomForm* f = GetParentForm()) f->DefocusControl(this, false);
  }
  if (!ComponentState().Contains(csDesigning) || !Parent()) UpdateControlState();
}

void TWinControl::SetParent(TWinControl* AParent) {
  if (Parent() == AParent) return;
  if (FHandle && !FParentWindow) DestroyHandle();
  inherited::SetParent(AParent);
}

// ---------------------------------------------------------------- children

TControl* TWinControl::Controls(int Index) const {
  if (Index < 0 || Index >= ControlCount()) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  if (Index < static_cast<int>(FControls.size())) return FControls[static_cast<size_t>(Index)];
  return FWinControls[static_cast<size_t>(Index) - FControls.size()];
}

void TWinControl::InsertControl(TControl* AControl) {
  if (!AControl) return;
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
    FWinControls.push_back(w);
    FTabList.push_back(w);
  } else {
    FControls.push_back(AControl);
  }
  AControl->FParent = this;
  if (!AControl->ComponentState().Contains(csReading)) {
    AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
    AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
      if (FHandle) w->UpdateControlState();
    } else if (FHandle) {
      AControl->Invalidate();
    }
    if (AControl->Align() != alNone) Realign();
  }
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 1);
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), 1);
}

void TWinControl::RemoveControl(TControl* AControl) {
  if (!AControl || AControl->FParent != this) return;
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 0);
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
    if (TCustomForm* f = GetParentForm()) f->DefocusControl(w, true);
    w->DestroyHandle();
    w->FShowing = false;
    FWinControls.erase(std::remove(FWinControls.begin(), FWinControls.end(), w), FWinControls.end());
    FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), w), FTabList.end());
  } else {
    if (FHandle) AControl->InvalidateControl(AControl->Visible(), false);
    FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
  }
  if (GetCaptureControl() == AControl) SetCaptureControl(nullptr);
  if (AControl->FHostDockSite == this) UndockClient(AControl);
  AControl->FParent = nullptr;
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), 0);
  if (AControl->Align() != alNone && !ComponentState().Contains(csDestroying)) Realign();
}

bool TWinControl::ContainsControl(TControl* Control) const {
  for (TControl* c = Control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls) {
  auto hit = [&](TControl* c) {
    return (c->Visible() || c->ComponentState().Contains(csDesigning)) && (c->Enabled() || AllowDisabled) &&
           c->BoundsRect().Contains(Pos);
  };
  if (AllowWinControls)
    for (auto it = FWinControls.rbegin(); it != FWinControls.rend(); ++it)
      if (hit(*it)) return *it;
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
    if (hit(*it)) return *it;
  return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
  for (int i = 0; i < ControlCount(); ++i) {
    Controls(i)->WindowProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(UINT Msg) {
  TMessage m;
  m.Msg = Msg;
  for (int i = 0; i < ControlCount(); ++i) {
    m.Result = 0;
    Controls(i)->WindowProc(m);
  }
}

void TWinControl::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->Owner() == Root) Proc(c);
  }
}

void TWinControl::SetChildOrder(TComponent* Child, int Order) {
  // children keep the order they were read in
}

void TWinControl::ReadState(TReader* Reader) {
  DisableAlign();
  try {
    inherited::ReadState(Reader);
  } catch (...) {
    EnableAlign();
    throw;
  }
  EnableAlign();
}

void TWinControl::Loaded() {
  inherited::Loaded();
  if (FHandle) Realign();
}

// ---------------------------------------------------------------- alignment

void TWinControl::DisableAlign() { ++FAlignLevel; }

void TWinControl::EnableAlign() {
  if (--FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::AlignControl(TControl* AControl) {
  if (!FHandle || ComponentState().Contains(csDestroying) || FAligning) return;
  if (FAlignLevel != 0) {
    FControlState.Include(csAlignmentNeeded);
    return;
  }
  DisableAlign();
  FAligning = true;
  try {
    TRect r = GetClientRect();
    AlignControls(AControl, r);
  } catch (...) {
    FAligning = false;
    FControlState.Exclude(csAlignmentNeeded);
    --FAlignLevel;
    throw;
  }
  FAligning = false;
  FControlState.Exclude(csAlignmentNeeded);
  --FAlignLevel;
}

void TWinControl::AdjustClientRect(TRect& Rect) {
  Rect.Left += FBorderWidth;
  Rect.Top += FBorderWidth;
  Rect.Right -= FBorderWidth;
  Rect.Bottom -= FBorderWidth;
}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  TRect client = Rect;
  AdjustClientRect(Rect);
  for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) DoAlign(a, Rect);
  AnchorControls(client);
}

// Children that are not aligned follow their anchors: an edge anchored to the
// parent's right or bottom keeps its distance from it, a side anchored at both
// ends stretches, and a side anchored at neither keeps its relative place.
void TWinControl::AnchorControls(const TRect& Client) {
  const TAnchors plain{akLeft, akTop};
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->Align() != alNone || c->Anchors() == plain) continue;
    if (!c->FAnchorRulesValid) {
      c->UpdateAnchorRules();
      continue;
    }
    const TRect& b = c->FAnchorBounds;
    auto place = [](bool first, bool second, int pos, int size, int old, int now, int& outPos, int& outSize) {
      outPos = pos;
      outSize = size;
      if (first && second)
        outSize = std::max(0, size + now - old);
      else if (second)
        outPos = pos + now - old;
      else if (!first && old > 0)
        outPos = (pos + size / 2) * now / old - size / 2;
    };
    int left, width, top, height;
    place(c->Anchors().Contains(akLeft), c->Anchors().Contains(akRight), b.Left, b.Width(), c->FAnchorParentSize.X,
          Client.Width(), left, width);
    place(c->Anchors().Contains(akTop), c->Anchors().Contains(akBottom), b.Top, b.Height(), c->FAnchorParentSize.Y,
          Client.Height(), top, height);
    FAnchoring = true;
    try {
      c->SetBounds(left, top, width, height);
    } catch (...) {
      FAnchoring = false;
      throw;
    }
    FAnchoring = false;
  }
}

void TWinControl::DoAlign(TAlign AAlign, TRect& Rect) {
  std::vector<TControl*> list;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->Align() == AAlign && (c->Visible() || c->ComponentState().Contains(csDesigning))) list.push_back(c);
  }
  auto key = [AAlign](TControl* c) {
    switch (AAlign) {
      case alTop: return c->Top();
      case alBottom: return -(c->Top() + c->Height());
      case alLeft: return c->Left();
      case alRight: return -(c->Left() + c->Width());
      default: return 0;
    }
  };
  std::stable_sort(list.begin(), list.end(), [&](TControl* a, TControl* b) { return key(a) < key(b); });
  for (TControl* c : list) {
    int w = c->Width(), h = c->Height();
    int rw = std::max(0, Rect.Width()), rh = std::max(0, Rect.Height());
    switch (AAlign) {
      case alTop:
        c->SetBounds(Rect.Left, Rect.Top, rw, h);
        Rect.Top += c->Height();
        break;
      case alBottom:
        c->SetBounds(Rect.Left, Rect.Bottom - h, rw, h);
        Rect.Bottom -= c->Height();
        break;
      case alLeft:
        c->SetBounds(Rect.Left, Rect.Top, w, rh);
        Rect.Left += c->Width();
        break;
      case alRight:
        c->SetBounds(Rect.Right - w, Rect.Top, w, rh);
        Rect.Right -= c->Width();
        break;
      case alClient:
        c->SetBounds(Rect.Left, Rect.Top, rw, rh);
        break;
      default:
        break;
    }
  }
}

void TWinControl::SetBorderWidth(Integer Value) {
  if (FBorderWidth == Value) return;
  FBorderWidth = Value;
  Realign();
  Invalidate();
}

// ------------------------------------------------------------------ bounds

TRect TWinControl::GetClientRect() {
  if (FHandle) {
    RECT r;
    ::GetClientRect(FHandle, &r);
    return Rect(r.left, r.top, r.right, r.bottom);
  }
  return inherited::GetClientRect();
}

TPoint TWinControl::ClientOrigin() {
  if (!FHandle && !Parent()) return {Left(), Top()};
  POINT p{0, 0};
  ::ClientToScreen(Handle(), &p);
  return {p.x, p.y};
}

void TWinControl::WMGetMinMaxInfo(TMessage& Message) {
  DefaultHandler(&Message);
  auto* mm = reinterpret_cast<MINMAXINFO*>(Message.LParam);
  const TSizeConstraints* c = Constraints();
  if (!mm || !c) return;
  if (c->MinWidth() > 0) mm->ptMinTrackSize.x = c->MinWidth();
  if (c->MinHeight() > 0) mm->ptMinTrackSize.y = c->MinHeight();
  if (c->MaxWidth() > 0) mm->ptMaxTrackSize.x = mm->ptMaxSize.x = c->MaxWidth();
  if (c->MaxHeight() > 0) mm->ptMaxTrackSize.y = mm->ptMaxSize.y = c->MaxHeight();
}

void TWinControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  Constraints()->Constrain(AWidth, AHeight);
  if (ALeft == Left() && ATop == Top() && AWidth == Width() && AHeight == Height()) return;
  if (FHandle && !IsIconic(FHandle)) {
    // WM_WINDOWPOSCHANGED brings the fields up to what the window took
    SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    // without a window (or minimised) the fields wait for the window's first size
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
  }
  if (Parent() && Align() != alNone) Parent()->AlignControl(this);
  if (!Parent() || !Parent()->FAnchoring) UpdateAnchorRules();
}

void TWinControl::UpdateBounds() {
  if (!FHandle) return;
  RECT r;
  GetWindowRect(FHandle, &r);
  if (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD) {
    HWND parent = GetParent(FHandle);
    if (parent) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  }
  FLeft = r.left;
  FTop = r.top;
  FWidth = r.right - r.left;
  FHeight = r.bottom - r.top;
}

void TWinControl::BoundsChanged() { UpdateBounds(); }

void TWinControl::WMWindowPosChanged(TWMWindowPosChanged& Message) {
  UpdateBounds();
  DefaultHandler(&Message);  // sends WM_SIZE and WM_MOVE
}

void TWinControl::WMSize(TWMSize& Message) {
  UpdateBounds();
  DefaultHandler(&Message);
  Realign();
  if (!ComponentState().Contains(csLoading)) Resize();
}

void TWinControl::WMMove(TMessage& Message) {
  UpdateBounds();
  DefaultHandler(&Message);
}

// ------------------------------------------------------------------- focus

bool TWinControl::CanFocus() {
  TCustomForm* form = GetParentForm();
  if (!form) return Visible() && Enabled();
  for (TWinControl* c = this; c != form; c = c->Parent()) {
    if (!c || !c->Visible() || !c->Enabled()) return false;
  }
  return true;
}

bool TWinControl::Focused() { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm()) {
    form->FocusControl(this);
  } else if (FParentWindow) {
    ::SetFocus(Handle());
  } else {
    ::SetFocus(Handle());
  }
}

void TWinControl::SetTabStop(bool Value) {
  if (FTabStop == Value) return;
  FTabStop = Value;
  if (FHandle) {
    LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
    SetWindowLongPtrW(FHandle, GWL_STYLE, Value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP)));
  }
  Perform(CM_TABSTOPCHANGED, 0, 0);
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  auto& l = Parent()->FTabList;
  auto it = std::find(l.begin(), l.end(), this);
  return it == l.end() ? -1 : static_cast<int>(it - l.begin());
}

void TWinControl::SetTabOrder(int Value) {
  if (!Parent()) return;
  auto& l = Parent()->FTabList;
  auto it = std::find(l.begin(), l.end(), this);
  if (it == l.end()) return;
  l.erase(it);
  if (Value < 0 || Value > static_cast<int>(l.size())) Value = static_cast<int>(l.size());
  l.insert(l.begin() + Value, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
  for (TWinControl* c : FTabList) {
    List.push_back(c);
    c->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  int n = static_cast<int>(list.size());
  int start = -1;
  for (int i = 0; i < n; ++i)
    if (list[static_cast<size_t>(i)] == CurControl) start = i;
  if (start < 0) start = GoForward ? n - 1 : 0;
  int i = start;
  for (int step = 0; step < n; ++step) {
    i = GoForward ? (i + 1) % n : (i - 1 + n) % n;
    TWinControl* c = list[static_cast<size_t>(i)];
    if (c == CurControl && step != 0) break;
    if ((!CheckTabStop || c->TabStop()) && (!CheckParent || c->Parent() == this) && c->CanFocus()) return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* c = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop)) c->SetFocus();
}

void TWinControl::WMSetFocus(TWMSetFocus& Message) { DefaultHandler(&Message); }

void TWinControl::WMKillFocus(TWMKillFocus& Message) { DefaultHandler(&Message); }

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::CMEnter(TMessage&) { DoEnter(); }
void TWinControl::CMExit(TMessage&) { DoExit(); }

void TWinControl::CMFocusChanged(TCMFocusChanged& Message) {
  TMessage m = Message;
  m.Result = 0;
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->WindowProc(m);
}

// -------------------------------------------------------------------- keys

bool TWinControl::WantsKey(Word Key) {
  UINT mask = 0;
  switch (Key) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN: case VK_EXECUTE: case VK_ESCAPE: case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    default: return true;
  }
  return (Perform(WM_GETDLGCODE, 0, 0) & mask) != 0;
}

bool TWinControl::IsMenuKey(TWMKey& Message) {
  TCustomForm* form = GetParentForm();
  if (form && form->Menu() && MainMenuHooks.IsShortCut && MainMenuHooks.IsShortCut(form->Menu(), Message)) return true;
  return false;
}

void TWinControl::CNKeyDown(TWMKey& Message) {
  Message.Result = 1;
  if (IsMenuKey(Message)) return;
  if (!ComponentState().Contains(csDesigning)) {
    if (Perform(CM_CHILDKEY, Message.CharCode(), reinterpret_cast<LPARAM>(this)) != 0) return;
    if (!WantsKey(Message.CharCode())) {
      if (TCustomForm* form = GetParentForm())
        if (form->Perform(CM_DIALOGKEY, Message.CharCode(), Message.LParam) != 0) return;
    }
  }
  Message.Result = 0;
}

void TWinControl::CNKeyUp(TWMKey& Message) { Message.Result = 0; }

void TWinControl::CNChar(TWMKey& Message) {
  Message.Result = 1;
  if (!ComponentState().Contains(csDesigning)) {
    if ((Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0) {
      if (TCustomForm* form = GetParentForm())
        if (form->Perform(CM_DIALOGCHAR, Message.CharCode(), Message.LParam) != 0) return;
    }
  }
  Message.Result = 0;
}

bool TWinControl::DoKeyDown(TWMKey& Message) {
  TCustomForm* form = GetParentForm();
  if (form && form != this && form->KeyPreview() && form->DoKeyDown(Message)) return true;
  Word key = Message.CharCode();
  if (!FControlStyle.Contains(csNoStdEvents)) {
    KeyDown(key, KeyDataToShiftState(Message.KeyData()));
    if (key == 0) return true;
  }
  Message.SetCharCode(key);
  return false;
}

bool TWinControl::DoKeyUp(TWMKey& Message) {
  TCustomForm* form = GetParentForm();
  if (form && form != this && form->KeyPreview() && form->DoKeyUp(Message)) return true;
  Word key = Message.CharCode();
  KeyUp(key, KeyDataToShiftState(Message.KeyData()));
  if (key == 0) return true;
  Message.SetCharCode(key);
  return false;
}

bool TWinControl::DoKeyPress(TWMKey& Message) {
  TCustomForm* form = GetParentForm();
  if (form && form != this && form->KeyPreview() && form->DoKeyPress(Message)) return true;
  // characters come as UTF-16; the events see code page 1251
  wchar_t wc = static_cast<wchar_t>(Message.CharCode());
  AnsiString a = winapi::A(&wc, 1);
  char ch = a.empty() ? '?' : a[0];
  char orig = ch;
  KeyPress(ch);
  if (ch == 0) return true;
  if (ch != orig) {
    std::wstring w = winapi::W(AnsiString(1, ch));
    Message.SetCharCode(w.empty() ? 0 : static_cast<Word>(w[0]));
  }
  return false;
}

void TWinControl::KeyDown(Word& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::WMKeyDown(TWMKey& Message) {
  if (!DoKeyDown(Message)) DefaultHandler(&Message);
}

void TWinControl::WMSysKeyDown(TWMKey& Message) {
  if (!DoKeyDown(Message)) DefaultHandler(&Message);
}

void TWinControl::WMKeyUp(TWMKey& Message) {
  if (!DoKeyUp(Message)) DefaultHandler(&Message);
}

void TWinControl::WMSysKeyUp(TWMKey& Message) {
  if (!DoKeyUp(Message)) DefaultHandler(&Message);
}

void TWinControl::WMChar(TWMKey& Message) {
  if (!DoKeyPress(Message)) DefaultHandler(&Message);
}

void TWinControl::CMDialogKey(TWMKey& Message) { Broadcast(Message); }

void TWinControl::CMDialogChar(TWMKey& Message) { Broadcast(Message); }

// --------------------------------------------------------- message routing

bool TWinControl::IsControlMouseMsg(TWMMouse& Message) {
  TControl* control = nullptr;
  TControl* cap = GetCaptureControl();
  if (cap && cap->Parent() == this && !dynamic_cast<TWinControl*>(cap))
    control = cap;
  else
    control = ControlAtPos(Message.Pos(), false);
  if (!control) return false;
  TPoint p{Message.XPos() - control->Left(), Message.YPos() - control->Top()};
  Message.Result = control->Perform(Message.Msg, Message.WParam, MAKELPARAM(p.X, p.Y));
  return true;
}

void TWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS: {
      TCustomForm* form = GetParentForm();
      if (form && !form->SetFocusedControl(this)) return;
      break;
    }
    case WM_KILLFOCUS:
      if (FControlState.Contains(csFocusing)) return;
      break;
    default:
      if (IsMouseMessage(Message.Msg) && Message.Msg != WM_MOUSEWHEEL && Message.Msg != WM_MOUSEHWHEEL) {
        if (IsControlMouseMsg(MessageAs<TWMMouse>(Message))) {
          if (Message.Result == 0 && FHandle) DefWindowProcW(FHandle, Message.Msg, Message.WParam, Message.LParam);
          return;
        }
      }
      break;
  }
  inherited::WndProc(Message);
}

// A point over a child without a window belongs to the client area (the
// platform would let it fall through to the window beneath).
void TWinControl::WMNCHitTest(TWMNCHitTest& Message) {
  DefaultHandler(&Message);
  if (Message.Result == HTTRANSPARENT && ControlAtPos(ScreenToClient(Message.Pos()), false))
    Message.Result = HTCLIENT;
}

void TWinControl::DefaultHandler(void* Message) {
  auto& m = *static_cast<TMessage*>(Message);
  if (!FHandle) {
    inherited::DefaultHandler(Message);
    return;
  }
  if (m.Msg >= CM_BASE && m.Msg < CM_BASE + 0x1000) {
    // notifications of the class library stay with the objects
    if (m.Msg >= CN_BASE + WM_CTLCOLORMSGBOX && m.Msg <= CN_BASE + WM_CTLCOLORSTATIC) {
      CNCtlColor(MessageAs<TWMCtlColor>(m));
    }
    return;
  }
  m.Result = CallWindowProcW(FDefWndProc ? FDefWndProc : DefWindowProcW, FHandle, m.Msg, m.WParam, m.LParam);
}

// Notifications about a child window come back to its control as CN_BASE +
// the message; those about other windows go the platform's way.
void TWinControl::ReflectNotification(TMessage& Message, HWND Child) {
  if (TWinControl* c = Child ? FindControl(Child) : nullptr) {
    Message.Result = c->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  DefaultHandler(&Message);
}

void TWinControl::WMCommand(TWMCommand& Message) { ReflectNotification(Message, Message.Ctl()); }

void TWinControl::WMNotify(TWMNotify& Message) {
  ReflectNotification(Message, Message.NMHdr() ? Message.NMHdr()->hwndFrom : nullptr);
}

void TWinControl::WMDrawItem(TWMDrawItem& Message) {
  DRAWITEMSTRUCT* d = Message.DrawItemStruct();
  ReflectNotification(Message, d && d->CtlType != ODT_MENU ? d->hwndItem : nullptr);
}

// Measuring comes before the item's window is known to the parent: the child
// is found by its control identifier (or is the control being created).
void TWinControl::WMMeasureItem(TWMMeasureItem& Message) {
  MEASUREITEMSTRUCT* m = Message.MeasureItemStruct();
  if (m && m->CtlType != ODT_MENU) {
    TWinControl* target = nullptr;
    for (TWinControl* c : FWinControls)
      if (c->FCtlID == m->CtlID) target = c;
    if (!target && gCreationControl) target = gCreationControl;
    if (target) {
      Message.Result = target->Perform(CN_MEASUREITEM, Message.WParam, Message.LParam);
      return;
    }
  }
  DefaultHandler(&Message);
}

void TWinControl::WMCompareItem(TWMCompareItem& Message) {
  ReflectNotification(Message, Message.CompareItemStruct() ? Message.CompareItemStruct()->hwndItem : nullptr);
}

void TWinControl::WMDeleteItem(TWMDeleteItem& Message) {
  ReflectNotification(Message, Message.DeleteItemStruct() ? Message.DeleteItemStruct()->hwndItem : nullptr);
}

void TWinControl::WMCtlColor(TWMCtlColor& Message) { ReflectNotification(Message, Message.ChildWnd()); }

void TWinControl::WMScroll(TWMScroll& Message) { ReflectNotification(Message, Message.ScrollBar()); }

void TWinControl::CNCtlColor(TWMCtlColor& Message) {
  HDC dc = Message.ChildDC();
  if (FControlStyle.Contains(csParentBackground) && Parent()) {
    // the window of a system class draws over what its parent shows there
    PaintParentBackground(dc);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
    SetBkMode(dc, TRANSPARENT);
    Message.Result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    return;
  }
  SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
  SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(FBrush->Color())));
  Message.Result = reinterpret_cast<LRESULT>(FBrush->Handle());
}

void TWinControl::WMSetCursor(TWMSetCursor& Message) {
  if (Message.CursorWnd() == FHandle && Message.HitTest() == HTCLIENT) {
    TCursor cur = Screen ? Screen->Cursor() : crDefault;
    if (cur == crDefault) {
      POINT p;
      GetCursorPos(&p);
      TPoint local = ScreenToClient({p.x, p.y});
      TControl* c = ControlAtPos(local, false);
      cur = c ? c->Cursor() : Cursor();
      if (c && cur == crDefault) cur = Cursor();
    }
    if (cur != crDefault && Screen) {
      ::SetCursor(Screen->Cursors(cur));
      Message.Result = 1;
      return;
    }
  }
  DefaultHandler(&Message);
}

// Right click or the menu key: the control's pop-up menu when it shows itself
// automatically; otherwise the message goes on (to the parent, through the
// platform's default handling).
void TWinControl::WMContextMenu(TMessage& Message) {
  POINT pt{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
  if (pt.x == -1 && pt.y == -1) {  // from the keyboard: at the control's corner
    pt = {0, 0};
    ::ClientToScreen(Handle(), &pt);
  }
  TPopupMenu* menu = PopupMenu();
  if (menu && menu->AutoPopup()) {
    menu->SetPopupComponent(this);
    menu->Popup(pt.x, pt.y);
    Message.Result = 1;
    return;
  }
  DefaultHandler(&Message);
}

// ------------------------------------------------------------ notifications

AnsiString TWinControl::GetText() {
  if (!FHandle) return FText;
  int n = GetWindowTextLengthW(FHandle);
  std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
  int got = GetWindowTextW(FHandle, buf.data(), n + 1);
  return winapi::A(buf.c_str(), got);
}

void TWinControl::SetText(const AnsiString& Value) {
  if (GetText() == Value) return;
  FText = Value;
  if (FHandle) SetWindowTextW(FHandle, winapi::W(Value).c_str());
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TWinControl::FontChanged(TObject* Sender) { inherited::FontChanged(Sender); }

void TWinControl::CMFontChanged(TMessage& Message) {
  if (FHandle) Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
  NotifyControls(CM_PARENTFONTCHANGED);
  Invalidate();
}

void TWinControl::CMColorChanged(TMessage&) {
  FBrush->SetColor(Color());
  NotifyControls(CM_PARENTCOLORCHANGED);
  Invalidate();
}

void TWinControl::CMEnabledChanged(TMessage&) {
  if (!Enabled() && Parent())
    if (TCustomForm* f = GetParentForm()) f->DefocusControl(this, false);
  if (FHandle && !ComponentState().Contains(csDesigning)) EnableWindow(FHandle, Enabled());
}

void TWinControl::CMInvalidate(TMessage& Message) {
  if (!FHandle) return;
  if (Parent()) Parent()->Perform(CM_INVALIDATE, 1, 0);
  if (Message.WParam == 0) InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

// ---------------------------------------------------------------- painting

void TWinControl::Invalidate() { Perform(CM_INVALIDATE, 0, 0); }

void TWinControl::InvalidateControl(bool IsVisible, bool IsOpaque) {
  if (FHandle) Invalidate();
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::WMEraseBkgnd(TWMEraseBkgnd& Message) {
  if (FDefWndProc != DefWindowProcW && FDefWndProc && !FControlStyle.Contains(csParentBackground)) {
    // a system class erases its own way
    DefaultHandler(&Message);
    return;
  }
  if (!FControlStyle.Contains(csOpaque) || FControlState.Contains(csPaintCopy)) PaintBackground(Message.DC());
  Message.Result = 1;
}

void TWinControl::PaintBackground(HDC DC) {
  if (FControlStyle.Contains(csParentBackground) && Parent()) {
    PaintParentBackground(DC);
    return;
  }
  RECT r;
  ::GetClientRect(FHandle, &r);
  FillRect(DC, &r, FBrush->Handle());
}

// The parent paints what it shows under this control's client area into DC,
// in the control's coordinates.
void TWinControl::PaintParentBackground(HDC DC) {
  TWinControl* parent = Parent();
  if (!parent || !FHandle || !parent->HandleAllocated()) return;
  POINT origin{0, 0};
  MapWindowPoints(FHandle, parent->FHandle, &origin, 1);
  RECT client;
  ::GetClientRect(FHandle, &client);
  TDCStateScope keep(DC);
  MoveWindowOrg(DC, -origin.x, -origin.y);
  IntersectClipRect(DC, origin.x, origin.y, origin.x + client.right, origin.y + client.bottom);
  parent->PaintBackground(DC);
}

void TWinControl::WMPaint(TWMPaint& Message) {
  if (FDoubleBuffered && !Message.DC() && FHandle) {
    // paint into the buffer first, then copy it in one go (no flicker)
    if (!FPaintBuffer) FPaintBuffer = std::make_unique<TPaintBuffer>();
    TPaintScope paint(FHandle, nullptr);
    HDC mem = paint.UseBuffer(*FPaintBuffer);
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem), reinterpret_cast<LPARAM>(mem));
    TWMPaint inner = Message;
    inner.WParam = reinterpret_cast<WPARAM>(mem);
    WMPaint(inner);
    return;
  }
  if (!FControlState.Contains(csCustomPaint) && FControls.empty()) {
    DefaultHandler(&Message);
    return;
  }
  PaintHandler(Message);
}

// WM_PRINTCLIENT paints the client area into the context it hands in, as
// WM_PAINT with that context would (a system class prints its own way).
void TWinControl::WMPrintClient(TWMPrintClient& Message) {
  if ((FDefWndProc != DefWindowProcW && FDefWndProc) || !Message.DC()) {
    DefaultHandler(&Message);
    return;
  }
  if (Message.Flags() & PRF_ERASEBKGND)
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(Message.DC()), reinterpret_cast<LPARAM>(Message.DC()));
  TWMPaint paint;
  paint.Msg = WM_PAINT;
  paint.WParam = Message.WParam;
  WMPaint(paint);
}

void TWinControl::WMMouseWheel(TMessage& Message) {
  MouseWheelHandler(Message);
  if (Message.Result == 0) DefaultHandler(&Message);
}

void TWinControl::PaintHandler(TWMPaint& Message) {
  TPaintScope paint(FHandle, Message.DC());
  HDC dc = paint.DC();
  if (FControls.empty()) {
    PaintWindow(dc);
  } else {
    TDCStateScope keep(dc);
    for (TControl* c : FControls)
      if (c->Visible() && c->ControlStyle().Contains(csOpaque))
        ExcludeClipRect(dc, c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height());
    PaintWindow(dc);
  }
  PaintControls(dc, nullptr);
}

void TWinControl::PaintWindow(HDC DC) {
  TMessage m;
  m.Msg = WM_PAINT;
  m.WParam = reinterpret_cast<WPARAM>(DC);
  DefaultHandler(&m);
}

namespace {
// csPaintCopy of a child for as long as its parent paints a copy.
class TPaintCopyScope {
 public:
  TPaintCopyScope(TControl* Control, bool Copy) : FControl(Control), FCopy(Copy) {
    if (!FCopy) return;
    TControlState state = FControl->ControlState();
    state.Include(csPaintCopy);
    FControl->SetControlState(state);
  }
  ~TPaintCopyScope() {
    if (!FCopy) return;
    TControlState state = FControl->ControlState();
    state.Exclude(csPaintCopy);
    FControl->SetControlState(state);
  }

 private:
  TControl* FControl;
  bool FCopy;
};
}  // namespace

void TWinControl::PaintControls(HDC DC, TControl* First) {
  size_t start = 0;
  if (First) {
    auto it = std::find(FControls.begin(), FControls.end(), First);
    start = it == FControls.end() ? 0 : static_cast<size_t>(it - FControls.begin());
  }
  for (size_t i = start; i < FControls.size(); ++i) {
    TControl* c = FControls[i];
    if (!(c->Visible() || c->ComponentState().Contains(csDesigning))) continue;
    RECT r{c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height()};
    if (!RectVisible(DC, &r)) continue;
    TPaintCopyScope copy(c, FControlState.Contains(csPaintCopy));
    TDCStateScope keep(DC);
    MoveWindowOrg(DC, c->Left(), c->Top());
    IntersectClipRect(DC, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  }
}

void TWinControl::PaintTo(HDC DC, int X, int Y) {
  HandleNeeded();
  TPaintCopyScope copy(this, true);
  TDCStateScope keep(DC);
  MoveWindowOrg(DC, X, Y);
  IntersectClipRect(DC, 0, 0, Width(), Height());
  // the frame, then the client area at its place in the window
  RECT wr, cr;
  GetWindowRect(FHandle, &wr);
  POINT origin{0, 0};
  ::ClientToScreen(FHandle, &origin);
  ::GetClientRect(FHandle, &cr);
  int dx = origin.x - wr.left, dy = origin.y - wr.top;
  LONG_PTR ex = GetWindowLongPtrW(FHandle, GWL_EXSTYLE);
  LONG_PTR st = GetWindowLongPtrW(FHandle, GWL_STYLE);
  if (ex & WS_EX_CLIENTEDGE) {
    RECT r{0, 0, Width(), Height()};
    DrawEdge(DC, &r, EDGE_SUNKEN, BF_RECT);
  } else if (st & WS_BORDER) {
    RECT r{0, 0, Width(), Height()};
    FrameRect(DC, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  MoveWindowOrg(DC, dx, dy);
  IntersectClipRect(DC, 0, 0, cr.right, cr.bottom);
  Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
  Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  for (TWinControl* c : FWinControls)
    if (c->Visible()) c->PaintTo(DC, c->Left(), c->Top());
}

void TWinControl::SetZOrder(bool TopMost) {
  if (!Parent()) {
    if (FHandle)
      SetWindowPos(FHandle, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return;
  }
  auto& list = Parent()->FWinControls;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  if (TopMost)
    list.push_back(this);
  else
    list.insert(list.begin(), this);
  if (FHandle)
    SetWindowPos(FHandle, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

DK_MESSAGE_UNIT(TWinControl);
DK_MESSAGE_HANDLER(TWinControl, WM_PAINT, WMPaint);
DK_MESSAGE_HANDLER(TWinControl, WM_PRINTCLIENT, WMPrintClient);
DK_MESSAGE_HANDLER(TWinControl, WM_MOUSEWHEEL, WMMouseWheel);
DK_MESSAGE_HANDLER(TWinControl, WM_ERASEBKGND, WMEraseBkgnd);
DK_MESSAGE_HANDLER(TWinControl, WM_COMMAND, WMCommand);
DK_MESSAGE_HANDLER(TWinControl, WM_NOTIFY, WMNotify);
DK_MESSAGE_HANDLER(TWinControl, WM_DRAWITEM, WMDrawItem);
DK_MESSAGE_HANDLER(TWinControl, WM_MEASUREITEM, WMMeasureItem);
DK_MESSAGE_HANDLER(TWinControl, WM_COMPAREITEM, WMCompareItem);
DK_MESSAGE_HANDLER(TWinControl, WM_DELETEITEM, WMDeleteItem);
DK_MESSAGE_HANDLER(TWinControl, WM_CTLCOLORMSGBOX, WMCtlColor);
DK_MESSAGE_HANDLER(TWinControl, WM_CTLCOLOREDIT, WMCtlColor);
DK_MESSAGE_HANDLER(TWinControl, WM_CTLCOLORLISTBOX, WMCtlColor);
DK_MESSAGE_HANDLER(TWinControl, WM_CTLCOLORBTN, WMCtlColor);
DK_MESSAGE_HANDLER(TWinControl, WM_CTLCOLORDLG, WMCtlColor);
DK_MESSAGE_HANDLER(TWinControl, WM_CTLCOLORSCROLLBAR, WMCtlColor);
DK_MESSAGE_HANDLER(TWinControl, WM_CTLCOLORSTATIC, WMCtlColor);
DK_MESSAGE_HANDLER(TWinControl, WM_HSCROLL, WMScroll);
DK_MESSAGE_HANDLER(TWinControl, WM_VSCROLL, WMScroll);
DK_MESSAGE_HANDLER(TWinControl, WM_SIZE, WMSize);
DK_MESSAGE_HANDLER(TWinControl, WM_GETMINMAXINFO, WMGetMinMaxInfo);
DK_MESSAGE_HANDLER(TWinControl, WM_MOVE, WMMove);
DK_MESSAGE_HANDLER(TWinControl, WM_WINDOWPOSCHANGED, WMWindowPosChanged);
DK_MESSAGE_HANDLER(TWinControl, WM_SETFOCUS, WMSetFocus);
DK_MESSAGE_HANDLER(TWinControl, WM_KILLFOCUS, WMKillFocus);
DK_MESSAGE_HANDLER(TWinControl, WM_KEYDOWN, WMKeyDown);
DK_MESSAGE_HANDLER(TWinControl, WM_KEYUP, WMKeyUp);
DK_MESSAGE_HANDLER(TWinControl, WM_CHAR, WMChar);
DK_MESSAGE_HANDLER(TWinControl, WM_SYSKEYDOWN, WMSysKeyDown);
DK_MESSAGE_HANDLER(TWinControl, WM_SYSKEYUP, WMSysKeyUp);
DK_MESSAGE_HANDLER(TWinControl, WM_SETCURSOR, WMSetCursor);
DK_MESSAGE_HANDLER(TWinControl, WM_NCDESTROY, WMNCDestroy);
DK_MESSAGE_HANDLER(TWinControl, WM_NCHITTEST, WMNCHitTest);
DK_MESSAGE_HANDLER(TWinControl, WM_CONTEXTMENU, WMContextMenu);
DK_MESSAGE_HANDLER(TWinControl, CN_KEYDOWN, CNKeyDown);
DK_MESSAGE_HANDLER(TWinControl, CN_SYSKEYDOWN, CNKeyDown);
DK_MESSAGE_HANDLER(TWinControl, CN_KEYUP, CNKeyUp);
DK_MESSAGE_HANDLER(TWinControl, CN_CHAR, CNChar);
DK_MESSAGE_HANDLER(TWinControl, CN_SYSCHAR, CNChar);
DK_MESSAGE_HANDLER(TWinControl, CN_CTLCOLORMSGBOX, CNCtlColor);
DK_MESSAGE_HANDLER(TWinControl, CN_CTLCOLOREDIT, CNCtlColor);
DK_MESSAGE_HANDLER(TWinControl, CN_CTLCOLORLISTBOX, CNCtlColor);
DK_MESSAGE_HANDLER(TWinControl, CN_CTLCOLORBTN, CNCtlColor);
DK_MESSAGE_HANDLER(TWinControl, CN_CTLCOLORDLG, CNCtlColor);
DK_MESSAGE_HANDLER(TWinControl, CN_CTLCOLORSCROLLBAR, CNCtlColor);
DK_MESSAGE_HANDLER(TWinControl, CN_CTLCOLORSTATIC, CNCtlColor);
DK_MESSAGE_HANDLER(TWinControl, CM_SHOWINGCHANGED, CMShowingChanged);
DK_MESSAGE_HANDLER(TWinControl, CM_VISIBLECHANGED, CMVisibleChanged);
DK_MESSAGE_HANDLER(TWinControl, CM_ENABLEDCHANGED, CMEnabledChanged);
DK_MESSAGE_HANDLER(TWinControl, CM_COLORCHANGED, CMColorChanged);
DK_MESSAGE_HANDLER(TWinControl, CM_FONTCHANGED, CMFontChanged);
DK_MESSAGE_HANDLER(TWinControl, CM_INVALIDATE, CMInvalidate);
DK_MESSAGE_HANDLER(TWinControl, CM_ENTER, CMEnter);
DK_MESSAGE_HANDLER(TWinControl, CM_EXIT, CMExit);
DK_MESSAGE_HANDLER(TWinControl, CM_DIALOGKEY, CMDialogKey);
DK_MESSAGE_HANDLER(TWinControl, CM_DIALOGCHAR, CMDialogChar);
DK_MESSAGE_HANDLER(TWinControl, CM_FOCUSCHANGED, CMFocusChanged);
DK_MESSAGE_HANDLER(TWinControl, CM_RECREATEWND, CMRecreateWnd);

DK_PUBLISH(TWinControl) {
  P.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false);
  P.Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder).Default(-1);
  P.Property("OnEnter", &TWinControl::OnEnter);
  P.Property("OnExit", &TWinControl::OnExit);
  P.Property("OnKeyDown", &TWinControl::OnKeyDown);
  P.Property("OnKeyPress", &TWinControl::OnKeyPress);
  P.Property("OnKeyUp", &TWinControl::OnKeyUp);
}

// ----------------------------------------------------------- TGraphicControl

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {
  FCanvas = std::make_unique<TControlCanvas>();
  FCanvas->SetControl(this);
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WMPaint(TWMPaint& Message) {
  if (!Message.DC()) return;
  TCanvasScope canvas(FCanvas.get(), Message.DC());
  Paint();
}

DK_MESSAGE_UNIT(TGraphicControl);
DK_MESSAGE_HANDLER(TGraphicControl, WM_PAINT, WMPaint);

// ----------------------------------------------------------- TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {
  FCanvas = std::make_unique<TControlCanvas>();
  FCanvas->SetControl(this);
  FControlState.Include(csCustomPaint);
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC DC) {
  TCanvasScope canvas(FCanvas.get(), DC);
  Paint();
}
