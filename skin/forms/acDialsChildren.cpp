// The automatic provider's dialog half: the frame of a system dialog and
// one subclass object per child window, chosen by the child's class.
#include "skin/forms/acDialsFrame.h"

#include "skin/subclass/acSBUtilsButtons.h"
#include "skin/subclass/acSBUtilsEdits.h"

#include "classlib/ui/ExtCtrls.h"
#include "classlib/ui/StdCtrls.h"
#include "skin/core/Smessages.h"
#include "skin/core/sVclUtils.h"

namespace {

// What a dialog child gets: the first row whose class and condition match.
struct TChildRow {
  const char* ClassName;                   // lower case
  bool (*Applies)(HWND Wnd, LONG_PTR Style);
  TacMainWnd* (*Make)();                   // nullptr: the class gets no object
  const char* Section;
  bool ClearPaintBlock;                    // the dialog's own WM_PAINT runs again
  bool RepaintWhenCached;                  // repaint flag: the frame's cache is not empty
};

template <class T>
TacMainWnd* Make() {
  return new T;
}

bool Always(HWND, LONG_PTR) { return true; }
bool IsVisibleWnd(HWND Wnd, LONG_PTR) { return IsWindowVisible(Wnd) != FALSE; }

bool StaticFramed(HWND, LONG_PTR Style) { return (Style & 3) == 3 || (Style & 0xE) == 0xE; }
bool StaticEdged(HWND Wnd, LONG_PTR Style) {
  return StaticFramed(Wnd, Style) && (GetWindowLongPtrW(Wnd, GWL_EXSTYLE) & WS_EX_STATICEDGE);
}
// Owner-drawn statics, gray and white rectangles and simple statics paint
// themselves.
bool StaticPlain(HWND, LONG_PTR Style) {
  const LONG_PTR type = Style & 0x1F;
  return (Style & 0xD) != 0xD && type != 5 && type != 6 && type != 0xB;
}
bool GroupBox(HWND, LONG_PTR Style) { return (Style & 7) == 7; }
bool CheckLike(HWND, LONG_PTR Style) { return (Style & 2) || (Style & 4) || (Style & 9) == 9; }
bool SizeGrip(HWND, LONG_PTR Style) { return Style & SBS_SIZEGRIP; }
bool NotOwnerDrawnTabs(HWND, LONG_PTR Style) { return !(Style & 0x2000); }
bool Wrapable(HWND, LONG_PTR Style) { return Style & 0x200; }
bool SearchHigh(HWND Wnd, LONG_PTR) {
  RECT r{};
  GetWindowRect(Wnd, &r);
  return r.bottom - r.top == 24;
}

// The classes of the periphery (tabs, list views, tool bars, spin, track,
// panels, containers) are not in this program yet: their rows (no maker)
// take the window out of the search without an object.
const TChildRow kRows[] = {
    {"static", StaticEdged, Make<TacEdgeWnd>, "EDIT", false, false},
    {"static", StaticFramed, Make<TacIconWnd>, "", false, false},
    {"static", StaticPlain, Make<TacStaticWnd>, "", false, false},
    {"#32770", Always, nullptr, "", false, false},                    // TacTransPanelWnd
    {"tpanel", Always, nullptr, "CHECKBOX", false, false},            // TacPanelWnd
    {"tsilentpaintpanel", Always, nullptr, "GROUPBOX", false, false}, // TacPanelWnd
    {"edit", IsVisibleWnd, Make<TacEditWnd>, "EDIT", true, true},
    {"edit", Always, nullptr, "", true, false},
    {"button", GroupBox, Make<TacGroupBoxWnd>, "GROUPBOX", false, false},
    {"button", CheckLike, Make<TacCheckBoxWnd>, "", false, false},
    {"button", Always, Make<TacBtnWnd>, "", false, false},
    {"tbutton", GroupBox, Make<TacGroupBoxWnd>, "GROUPBOX", false, false},
    {"tbutton", CheckLike, Make<TacCheckBoxWnd>, "", false, false},
    {"tbutton", Always, Make<TacBtnWnd>, "", false, false},
    {"combobox", Always, Make<TacComboBoxWnd>, "COMBOBOX", true, true},
    {"combolbox", Always, Make<TacEditWnd>, "COMBOBOX", true, false},
    {"comboboxex32", Always, Make<TacComboBoxWnd>, "COMBOBOX", true, false},
    {"scrollbar", SizeGrip, Make<TacSizerWnd>, "", false, false},
    {"systabcontrol32", NotOwnerDrawnTabs, nullptr, "PAGECONTROL", false, false},
    {"syslistview32", Always, nullptr, "EDIT", false, false},
    {"msctls_updown32", Always, nullptr, "SPEEDBUTTON_SMALL", false, false},
    {"msctls_trackbar32", Always, nullptr, "TRACKBAR", false, false},
    {"listbox", Always, Make<TacEditWnd>, "EDIT", true, false},
    {"link window", Always, Make<TacLinkWnd>, "", false, false},
    {"syslink", Always, Make<TacLinkWnd>, "", false, false},
    {"toolbarwindow32", Wrapable, nullptr, "BAR", false, false},
    {"toolbarwindow32", Always, nullptr, "CHECKBOX", false, false},
    {"systreeview32", Always, Make<TacTreeViewWnd>, "EDIT", false, false},
    {"shbrowseforfolder", Always, nullptr, "", false, false},         // TacTransPanelWnd
    {"ctrlnotifysink", Always, nullptr, "", false, false},
    {"rebarwindow32", IsVisibleWnd, nullptr, "", false, false},
    {"msctls_progress32", IsVisibleWnd, nullptr, "", false, false},
    {"universalsearchband", IsVisibleWnd, nullptr, "", false, false},
    {"address band root", IsVisibleWnd, nullptr, "", false, false},
    {"workerw", IsVisibleWnd, nullptr, "", false, false},
    {"search box", IsVisibleWnd, nullptr, "", false, false},
    {"travelband", IsVisibleWnd, nullptr, "", false, false},
    {"breadcrumb parent", IsVisibleWnd, nullptr, "", false, false},
    {"directuihwnd", SearchHigh, nullptr, "", false, false},
};

const TChildRow* RowFor(const AnsiString& LowerClass, HWND Wnd, LONG_PTR Style) {
  for (const TChildRow& row : kRows)
    if (LowerClass == row.ClassName && row.Applies(Wnd, Style)) return &row;
  return nullptr;
}

AnsiString LowerClassName(HWND Wnd) {
  wchar_t name[256];
  const int n = GetClassNameW(Wnd, name, 256);
  return n > 0 ? LowerCase(winapi::A(name, n)) : AnsiString();
}

// Restores acDlgMode as it was, so an AddControl inside another (the
// controls of a "tpanel") leaves the outer one in dialog mode.
class TDlgModeScope {
 public:
  TDlgModeScope() : FSaved(acDlgMode) { acDlgMode = true; }
  ~TDlgModeScope() { acDlgMode = FSaved; }

 private:
  bool FSaved;
};

}  // namespace

TacProvider::~TacProvider() {
  if (acSupportedList) {
    const int i = acSupportedList->IndexOf(this);
    if (i >= 0) acSupportedList->SetItems(i, nullptr);
  }
  for (TacMainWnd*& child : Controls) {
    delete child;
    child = nullptr;
  }
  Controls.clear();
  delete DialogWnd;
  DialogWnd = nullptr;
}

bool TacProvider::InitSkin(HWND Wnd) {
  CtrlHandle = Wnd;
  Controls.clear();
  if (DialogWnd) return true;
  if (!DefaultManager || !DefaultManager->Active()) return true;
  if (Ac_UninitializeFlatSB) Ac_UninitializeFlatSB(Wnd);
  TacSkinParams params;
  params.SkinSection = "DIALOG";
  DialogWnd = acCreateWnd<TacDialogWnd>(Wnd, nullptr, DefaultManager, params, false);
  DialogWnd->WndHandle = Wnd;
  DialogWnd->Provider = this;
  if (DlgLeft != -1 || DlgTop != -1)
    SetWindowPos(Wnd, HWND_TOP, DlgLeft, DlgTop, 0, 0, SWP_NOSIZE | SWP_NOREDRAW | SWP_NOOWNERZORDER);
  if (!InitHwndControls(Wnd)) {
    for (int i = 0; acSupportedList && i < acSupportedList->Count(); ++i)
      if (acSupportedList->Items(i) == this) acSupportedList->SetItems(i, nullptr);
    return false;
  }
  DialogWnd->InitParams();
  SendMessageW(Wnd, SM_ALPHACMD, AlphaCmdParam(ACMD_SKIN_LOADED), reinterpret_cast<LPARAM>(DefaultManager));
  return true;
}

bool TacProvider::InitHwndControls(HWND Wnd) {
  for (HWND child = GetTopWindow(Wnd); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!InitHwndControls(child)) return false;
    if ((GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD) && !AddControl(child)) return false;
  }
  return true;
}

bool TacProvider::AddControl(HWND Wnd) {
  if (!Wnd) return false;
  if (SendAMessage(Wnd, ACMD_QUERY_HOOKED) == 1) return true;
  TDlgModeScope dialogMode;
  const AnsiString cls = LowerClassName(Wnd);
  const LONG_PTR style = GetWindowLongPtrW(Wnd, GWL_STYLE);
  const TChildRow* row = RowFor(cls, Wnd, style);
  if (!row) return true;
  if (row->ClearPaintBlock && DialogWnd) DialogWnd->PaintBlocked = false;
  if (!row->Make) return true;
  TacSkinParams params;
  params.SkinSection = row->Section;
  bool repaint = true;
  if (row->RepaintWhenCached)
    repaint = DialogWnd && DialogWnd->SkinData && DialogWnd->SkinData->CacheBmp &&
              DialogWnd->SkinData->CacheBmp->Width() > 0;
  TsSkinManager* manager = DialogWnd && DialogWnd->SkinData ? DialogWnd->SkinData->GetSkinManager() : DefaultManager;
  TacMainWnd* obj = row->Make();
  obj->Create(Wnd, nullptr, manager, params, repaint);
  Controls.push_back(obj);
  InitCtrlData(Wnd, obj->ParentHandle, obj->WindowRect, obj->ParentRect, obj->WindowSize, obj->PosInParent);
  return true;
}

bool TacProvider::PrintHwndControls(HWND Wnd, HDC DC) {
  for (HWND child = GetTopWindow(Wnd); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const int saved = SaveDC(DC);
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, Wnd, reinterpret_cast<POINT*>(&r), 2);
    POINT origin{};
    GetWindowOrgEx(DC, &origin);
    SetWindowOrgEx(DC, origin.x - r.left, origin.y - r.top, nullptr);
    const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
    if ((style & WS_CHILD) && (style & WS_VISIBLE)) {
      SendMessageW(child, SM_ALPHACMD, AlphaCmdParam(ACMD_PRINT_MODE), reinterpret_cast<LPARAM>(DC));
      SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(DC), 0);
      SendMessageW(child, SM_ALPHACMD, AlphaCmdParam(ACMD_PRINT_MODE), 0);
    }
    PrintHwndControls(child, DC);
    RestoreDC(DC, saved);
  }
  return false;
}
