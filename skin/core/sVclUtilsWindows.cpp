// Colours of controls and windows, walks over children, window and layout
// queries, the section of a control by name, and the unit's start and end.
#include "classlib/ui/ExtCtrls.h"
#include "classlib/ui/StdCtrls.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sVclUtils.h"

bool acGraphPainting = false;
const UINT AlignToInt[3] = {DT_LEFT, DT_RIGHT, DT_CENTER};
HMODULE uxthemeLib = nullptr;
TacSetWindowTheme Ac_SetWindowTheme = nullptr;
TOutputWindow* ow = nullptr;

namespace {

// A label whose Tag has this bit keeps its own font colour.
constexpr NativeInt kLabelOwnColour = 0x100;

// The theme library is looked up at start and let go at the end.
struct TThemeLibrary {
  TThemeLibrary() {
    HMODULE lib = LoadLibraryW(L"UXTHEME");
    if (reinterpret_cast<std::uintptr_t>(lib) <= 32) return;
    uxthemeLib = lib;
    Ac_SetWindowTheme = reinterpret_cast<TacSetWindowTheme>(GetProcAddress(lib, "SetWindowTheme"));
  }
  ~TThemeLibrary() {
    Ac_SetWindowTheme = nullptr;
    if (uxthemeLib) FreeLibrary(uxthemeLib);
    uxthemeLib = nullptr;
  }
} gThemeLibrary;

LRESULT PerformCommand(TControl* Control, Word Cmd, LPARAM LParam) {
  return Control->Perform(SM_ALPHACMD, AlphaCmdParam(Cmd), LParam);
}

TRect RectOf(const RECT& R) { return TRect{R.left, R.top, R.right, R.bottom}; }

}  // namespace

// ------------------------------------------------------------------ colours

TColor GetControlColor(TControl* Control) {
  if (!Control) return sFuchsia;
  if (PerformCommand(Control, ACMD_QUERY_HOOKED, 0) == 1)
    return ColorToRGB(static_cast<TColor>(PerformCommand(Control, ACMD_QUERY_COLOR, sFuchsia)));
  return ColorToRGB(Control->Color());
}

TColor GetControlColor(HWND Wnd) {
  if (!Wnd) return sFuchsia;
  return ColorToRGB(static_cast<TColor>(SendAMessage(Wnd, ACMD_QUERY_COLOR, sFuchsia)));
}

UINT GetStringFlags(TControl* Control, TAlignment Alignment) {
  return Control->DrawTextBiDiModeFlags(AlignToInt[Alignment] | DT_EXPANDTABS | DT_VCENTER);
}

// ---------------------------------------------------------- controls and layout

TPoint acMousePos() {
  POINT p{0, 0};
  GetCursorPos(&p);
  return TPoint{p.x, p.y};
}

bool LeftToRight(TControl* Control, bool Normal) {
  const bool middleEast = SysLocale.MiddleEast;
  if (Normal) return Control->BiDiMode() == bdLeftToRight || !middleEast;
  return Control->BiDiMode() != bdLeftToRight && middleEast;
}

void IterateControls(TWinControl* Control, Integer Data, const TacIterateProc& Proc) {
  for (int i = 0; i < Control->ControlCount(); ++i) {
    TControl* child = Control->Controls(i);
    Proc(child, Data);
    if (auto* w = dynamic_cast<TWinControl*>(child)) IterateControls(w, Data, Proc);
  }
}

void SetControlsEnabled(TWinControl* Parent, bool Value, bool Recursive) {
  for (int i = 0; i < Parent->ControlCount(); ++i) {
    TControl* child = Parent->Controls(i);
    if (dynamic_cast<TCustomPanel*>(child)) continue;
    child->SetEnabled(Value);
    if (auto* w = dynamic_cast<TWinControl*>(child); w && Recursive) SetControlsEnabled(w, Value, true);
  }
}

void RepaintsControls(TWinControl* Parent, bool) {
  for (int i = 0; i < Parent->ControlCount(); ++i) {
    TControl* child = Parent->Controls(i);
    if (ControlIsReady(child) && !dynamic_cast<TGraphicControl*>(child)) child->Invalidate();
  }
}

bool AllEditSelected(TCustomEdit* Edit) {
  DWORD start = 0, end = 0;
  SendMessageW(Edit->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const auto length = static_cast<DWORD>(Edit->Text().size());
  return end == length && end - start == length;
}

Integer GetAlignShift(TWinControl* Parent, TAlign Align, bool CountGraphic) {
  Integer shift = 0;
  for (int i = 0; i < Parent->ControlCount(); ++i) {
    TControl* c = Parent->Controls(i);
    if (!c->Visible() || c->Align() != Align) continue;
    if (!CountGraphic && !dynamic_cast<TWinControl*>(c)) continue;
    switch (Align) {
      case alTop:
      case alBottom: shift += c->Height(); break;
      case alLeft:
      case alRight: shift += c->Width(); break;
      default: break;
    }
  }
  return shift;
}

bool TrySetSkinSection(TControl* Control, const AnsiString& Section) {
  if (!Control) return false;
  auto* label = dynamic_cast<TLabel*>(Control);
  if (label && !(label->Tag() & kLabelOwnColour) && DefaultManager && DefaultManager->Active()) {
    const Integer i = DefaultManager->GetSkinIndex(Section);
    label->Font()->SetColor(DefaultManager->IsValidSkinIndex(i)
                                ? DefaultManager->Sections[static_cast<size_t>(i)].Props[0].FontColor.Color
                                : DefaultManager->GetGlobalFontColor());
    return true;
  }
  TacSectionInfo info;
  info.Name = Section;
  return PerformCommand(Control, ACMD_ASSIGN_SECTION, reinterpret_cast<LPARAM>(&info)) == 1;
}

// ------------------------------------------------------------------ windows

TRect acClientRect(HWND Wnd) {
  RECT client{}, window{};
  GetClientRect(Wnd, &client);
  GetWindowRect(Wnd, &window);
  POINT origin{0, 0};
  ClientToScreen(Wnd, &origin);
  TRect r = RectOf(client);
  r.Offset(origin.x - window.left, origin.y - window.top);
  return r;
}

AnsiString GetWndClassName(HWND Wnd) {
  wchar_t name[129] = {};
  const int n = GetClassNameW(Wnd, name, 128);
  return winapi::A(std::wstring(name, n > 0 ? n : 0));
}

HWND GetParentFormHandle(HWND Wnd) {
  HWND top = Wnd;
  for (HWND p = GetParent(top); p; p = GetParent(top)) top = p;
  return top;
}

TRect acWorkRect(TCustomForm* Form) {
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(MonitorFromWindow(Form->Handle(), MONITOR_DEFAULTTONEAREST), &mi);
  return RectOf(Form->FormStyle() == fsStayOnTop ? mi.rcMonitor : mi.rcWork);
}

namespace {
struct TWorkSearch {
  POINT P;
  TRect Found;
};
BOOL CALLBACK FindWorkArea(HMONITOR Monitor, HDC, LPRECT, LPARAM Data) {
  auto* s = reinterpret_cast<TWorkSearch*>(Data);
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (GetMonitorInfoW(Monitor, &mi) && PtInRect(&mi.rcWork, s->P)) {
    s->Found = RectOf(mi.rcWork);
    return FALSE;
  }
  return TRUE;
}
}  // namespace

TRect acWorkRect(const TPoint& P) {
  TWorkSearch s{POINT{P.X, P.Y}, TRect{}};
  EnumDisplayMonitors(nullptr, nullptr, FindWorkArea, reinterpret_cast<LPARAM>(&s));
  return s.Found;
}

// ------------------------------------------------------------ output window

void TOutputWindow::Construct() {
  inherited::Construct();
  SetCaption("acOutputWindow");
  SetVisible(false);
  SetColor(static_cast<TColor>(sFuchsia));
  SetTag(256);
}

void TOutputWindow::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (Parent() || ParentWindow()) return;
  Params.Style = WS_POPUP;
  auto* owner = dynamic_cast<TWinControl*>(Owner());
  if (owner && owner->HandleAllocated() && (GetWindowLongW(owner->WindowHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST))
    Params.ExStyle |= WS_EX_TOPMOST;
  Params.WndParent = Application->Handle();
}

void TOutputWindow::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_NCPAINT: Message.Result = 0; return;
    default: inherited::WndProc(Message);
  }
}
