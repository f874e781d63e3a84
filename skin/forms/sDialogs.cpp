#include "skin/forms/sDialogs.h"

#include <string>

#include "classlib/ui/WinApi.h"
#include "skin/forms/acDials.h"

namespace {

const AnsiString kDefaultCaptions[] = {"Warning", "Error", "Information", "Confirm", ""};

// The requested position holds only while the box is up; it is -1 again
// afterwards whatever happened to the box. The skin's hook skins and places
// the box as it is created, but the box centres itself while it initialises:
// the position is applied again once the skinned box has initialised.
class TDialogPlacement {
 public:
  TDialogPlacement(int X, int Y) {
    DlgLeft = X;
    DlgTop = Y;
    if (X != -1 || Y != -1) FHook = SetWindowsHookExW(WH_CALLWNDPROCRET, Placer, nullptr, GetCurrentThreadId());
    if (FHook) FActive = this;
  }
  ~TDialogPlacement() {
    Unhook();
    DlgLeft = -1;
    DlgTop = -1;
  }
  TDialogPlacement(const TDialogPlacement&) = delete;
  TDialogPlacement& operator=(const TDialogPlacement&) = delete;

 private:
  static LRESULT CALLBACK Placer(int Code, WPARAM WParam, LPARAM LParam) {
    TDialogPlacement* self = FActive;
    const LRESULT result = CallNextHookEx(self ? self->FHook : nullptr, Code, WParam, LParam);
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(LParam);
    if (!self || Code != HC_ACTION || !call || call->message != WM_INITDIALOG) return result;
    wchar_t cls[8] = {};
    GetClassNameW(call->hwnd, cls, 8);
    if (std::wstring(cls) != L"#32770") return result;
    // Once only: a box the user moved stays where he put it.
    if (GetPropW(call->hwnd, L"ACSBSC"))
      SetWindowPos(call->hwnd, nullptr, DlgLeft, DlgTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    self->Unhook();
    return result;
  }
  void Unhook() {
    if (FHook) UnhookWindowsHookEx(FHook);
    FHook = nullptr;
    if (FActive == this) FActive = nullptr;
  }
  HHOOK FHook = nullptr;
  static inline thread_local TDialogPlacement* FActive = nullptr;
};

// The program's other windows are disabled while the box runs; the active
// window gets its focus back afterwards.
class TTaskWindowsScope {
 public:
  TTaskWindowsScope() : FActive(GetActiveWindow()), FDisabled(DisableTaskWindows(nullptr)) {}
  ~TTaskWindowsScope() {
    EnableTaskWindows(FDisabled);
    if (FActive && IsWindow(FActive)) {
      SetFocus(nullptr);
      SetFocus(FActive);
    }
  }
  TTaskWindowsScope(const TTaskWindowsScope&) = delete;
  TTaskWindowsScope& operator=(const TTaskWindowsScope&) = delete;

 private:
  HWND FActive;
  std::vector<HWND> FDisabled;
};

UINT IconStyle(TMsgDlgType DlgType) {
  switch (DlgType) {
    case mtWarning: return MB_ICONWARNING;
    case mtError: return MB_ICONERROR;
    case mtInformation: return MB_ICONINFORMATION;
    case mtConfirmation: return MB_ICONQUESTION;
    default: return 0;
  }
}

// The first rule that applies; mbAll, mbNoToAll and mbYesToAll have no box
// of their own.
UINT ButtonStyle(TMsgDlgButtons Buttons) {
  if (Buttons.Contains(mbOK)) return Buttons.Contains(mbCancel) ? MB_OKCANCEL : MB_OK;
  if (Buttons.Contains(mbAbort) || Buttons.Contains(mbIgnore)) return MB_ABORTRETRYIGNORE;
  if (Buttons.Contains(mbYes) || Buttons.Contains(mbNo)) return Buttons.Contains(mbCancel) ? MB_YESNOCANCEL : MB_YESNO;
  if (Buttons.Contains(mbRetry)) return MB_RETRYCANCEL;
  return MB_OK;
}

}  // namespace

UINT sMessageBoxStyle(TMsgDlgType DlgType, TMsgDlgButtons Buttons) {
  return IconStyle(DlgType) | ButtonStyle(Buttons) | (Buttons.Contains(mbHelp) ? MB_HELP : 0);
}

const AnsiString& sMessageDlgCaption(TMsgDlgType DlgType) {
  const int i = static_cast<int>(DlgType);
  return kDefaultCaptions[i >= 0 && i <= static_cast<int>(mtCustom) ? i : static_cast<int>(mtCustom)];
}

// A help request reaches the box's owner as WM_HELP: the class library has
// no help system of its own to call here.
int sMessageDlgPosHelp(const AnsiString& Caption, const AnsiString& Msg, TMsgDlgType DlgType,
                       TMsgDlgButtons Buttons, int HelpCtx, int X, int Y, const AnsiString&) {
  const std::wstring text = winapi::W(Msg);
  const std::wstring caption = winapi::W(Caption.empty() ? sMessageDlgCaption(DlgType) : Caption);
  MSGBOXPARAMSW params{};
  params.cbSize = sizeof params;
  params.hwndOwner = Application ? Application->Handle() : nullptr;
  params.lpszText = text.c_str();
  params.lpszCaption = caption.c_str();
  params.dwStyle = sMessageBoxStyle(DlgType, Buttons);
  params.dwContextHelpId = static_cast<DWORD_PTR>(HelpCtx);
  TDialogPlacement placement(X, Y);
  TTaskWindowsScope modal;
  return MessageBoxIndirectW(&params);
}

int sMessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
  return sMessageDlgPosHelp("", Msg, DlgType, Buttons, HelpCtx, -1, -1, "");
}

int sMessageDlg(const AnsiString& Caption, const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                int HelpCtx) {
  return sMessageDlgPosHelp(Caption, Msg, DlgType, Buttons, HelpCtx, -1, -1, "");
}

int sMessageDlgPos(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y) {
  return sMessageDlgPosHelp("", Msg, DlgType, Buttons, HelpCtx, X, Y, "");
}

int sMessageDlgPos(const AnsiString& Caption, const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                   int HelpCtx, int X, int Y) {
  return sMessageDlgPosHelp(Caption, Msg, DlgType, Buttons, HelpCtx, X, Y, "");
}

void sShowMessagePos(const AnsiString& Msg, int X, int Y) { sShowMessagePos("", Msg, X, Y); }

void sShowMessagePos(const AnsiString& Caption, const AnsiString& Msg, int X, int Y) {
  sMessageDlgPos(Caption, Msg, mtCustom, TMsgDlgButtons{mbOK}, 0, X, Y);
}

void sShowMessage(const AnsiString& Msg) { sShowMessagePos(Msg, -1, -1); }
void sShowMessage(const AnsiString& Caption, const AnsiString& Msg) { sShowMessagePos(Caption, Msg, -1, -1); }

void sShowMessageFmt(const AnsiString& Fmt, std::initializer_list<TVarRec> Args) { sShowMessage(Format(Fmt, Args)); }

void sShowMessageFmt(const AnsiString& Caption, const AnsiString& Fmt, std::initializer_list<TVarRec> Args) {
  sShowMessage(Caption, Format(Fmt, Args));
}

TForm* sCreateMessageDialog(const AnsiString&, const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) {
  return CreateMessageDialog(Msg, DlgType, Buttons);
}

bool sInputQuery(const AnsiString& ACaption, const AnsiString& APrompt, AnsiString& Value) {
  return InputQuery(ACaption, APrompt, Value);
}

AnsiString sInputBox(const AnsiString& ACaption, const AnsiString& APrompt, const AnsiString& ADefault) {
  AnsiString result = ADefault;
  sInputQuery(ACaption, APrompt, result);
  return result;
}

bool sSelectDirectory(const AnsiString& Caption, const AnsiString& Root, AnsiString& Directory) {
  return SelectDirectory(Caption, Root, Directory);
}
