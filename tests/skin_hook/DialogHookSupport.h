// What the hook's tests share: dialogs made from in-memory templates, a
// message box looked at (and closed) from inside its own modal loop, and the
// automatic providers the hook keeps.
#pragma once

#include "../skin_forms/SkinFormsSupport.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "skin/core/Smessages.h"
#include "skin/forms/acDials.h"
#include "skin/forms/acDialsFrame.h"

namespace skinhook {

// One control of a dialog template: a predefined class atom (0x80 button,
// 0x81 edit, 0x82 static, 0x83 list box, 0x84 scroll bar, 0x85 combo box) or
// a class name.
struct TItem {
  WORD Atom;
  const wchar_t* ClassName;
  DWORD Style;
  short X, Y, W, H;
  WORD Id;
  const wchar_t* Text = L"";
};

// A dialog template in memory (DLGTEMPLATE followed by its items).
class TDialogTemplate {
 public:
  TDialogTemplate(DWORD Style, short W, short H, const wchar_t* Title, const std::vector<TItem>& Items) {
    DLGTEMPLATE t{};
    t.style = Style;
    t.cdit = static_cast<WORD>(Items.size());
    t.cx = W;
    t.cy = H;
    Append(&t, sizeof t);
    Word(0);  // no menu
    Word(0);  // the dialog class
    Text(Title);
    for (const TItem& item : Items) {
      Align();
      DLGITEMTEMPLATE it{};
      it.style = item.Style | WS_CHILD | WS_VISIBLE;
      it.x = item.X;
      it.y = item.Y;
      it.cx = item.W;
      it.cy = item.H;
      it.id = item.Id;
      Append(&it, sizeof it);
      if (item.ClassName) {
        Text(item.ClassName);
      } else {
        Word(0xFFFF);
        Word(item.Atom);
      }
      Text(item.Text);
      Word(0);  // no creation data
    }
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(FData.data()); }

 private:
  void Append(const void* P, size_t N) {
    const auto* b = static_cast<const unsigned char*>(P);
    FData.insert(FData.end(), b, b + N);
  }
  void Word(WORD W) { Append(&W, sizeof W); }
  void Text(const wchar_t* S) { Append(S, (wcslen(S) + 1) * sizeof(wchar_t)); }
  void Align() {
    while (FData.size() % 4) FData.push_back(0);
  }
  std::vector<unsigned char> FData;
};

inline INT_PTR CALLBACK PlainDialogProc(HWND, UINT Msg, WPARAM, LPARAM) { return Msg == WM_INITDIALOG; }

// A modeless dialog of the template owned by the application window, shown.
inline HWND ShowDialog(const TDialogTemplate& T, int X = 40, int Y = 40) {
  HWND owner = Application->Handle();
  HWND dlg = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), T.Get(), owner, PlainDialogProc, 0);
  if (!dlg) return nullptr;
  SetWindowPos(dlg, HWND_TOP, X, Y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  testsupport::PumpMessages(60);
  return dlg;
}

// The automatic provider the hook keeps for a dialog (nullptr when none).
inline TacProvider* ProviderOf(HWND Dialog) {
  for (int i = 0; acSupportedList && i < acSupportedList->Count(); ++i) {
    auto* p = static_cast<TacProvider*>(acSupportedList->Items(i));
    if (p && p->CtrlHandle == Dialog) return p;
  }
  return nullptr;
}

// The class of a window's subclass object ("" when it has none).
inline AnsiString SubclassClass(HWND Wnd) {
  TacMainWnd* obj = GetSubclassObject(Wnd);
  return obj ? obj->ClassName() : AnsiString();
}

inline BOOL CALLBACK FindShownBox(HWND Wnd, LPARAM L) {
  wchar_t cls[16] = {};
  GetClassNameW(Wnd, cls, 16);
  if (wcscmp(cls, L"#32770") == 0 && IsWindowVisible(Wnd)) {
    *reinterpret_cast<HWND*>(L) = Wnd;
    return FALSE;
  }
  return TRUE;
}

// The message box of the thread that is shown (nullptr when none).
inline HWND ShownBox() {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindShownBox, reinterpret_cast<LPARAM>(&box));
  return box;
}

// Shows a box through Show (Application->MessageBox, a skinned message
// function ...) and calls Look with it from inside its modal loop once it is
// on screen; then presses its first button. Whether Look ran.
class TBoxRun {
 public:
  static bool Run(const std::function<void()>& Show, const std::function<void(HWND)>& Look) {
    Current() = TBoxRun(Look);
    const UINT_PTR timer = SetTimer(nullptr, 0, 80, Tick);
    Show();
    KillTimer(nullptr, timer);
    const bool looked = Current().Looked;
    Current() = TBoxRun(nullptr);
    return looked;
  }

 private:
  explicit TBoxRun(std::function<void(HWND)> L) : Look(std::move(L)) {}
  static TBoxRun& Current() {
    static TBoxRun current(nullptr);
    return current;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TBoxRun& run = Current();
    HWND box = ShownBox();
    if (!box || run.Closing) return;
    if (!run.Looked) {
      run.Looked = true;
      testsupport::PumpMessages(30);
      if (run.Look) run.Look(box);
    }
    run.Closing = true;
    HWND button = FindWindowExW(box, nullptr, L"Button", nullptr);
    const int id = button ? GetDlgCtrlID(button) : IDCANCEL;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  }
  std::function<void(HWND)> Look;
  bool Looked = false;
  bool Closing = false;
};

}  // namespace skinhook
