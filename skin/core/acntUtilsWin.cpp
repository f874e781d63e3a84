// The Windows part of the skin library's toolbox: message shortcuts, names
// of the file system, icons and system queries.
#include "classlib/ui/Forms.h"
// after the class library, whose header takes care of the platform macros
#include <shellapi.h>

#include "skin/core/acntUtils.h"
#include "skin/core/sConstPlatform.h"
#include "skin/forms/sDialogs.h"

using winapi::A;
using winapi::W;

AnsiString OemToAnsiStr(const AnsiString& S) {
  if (S.empty()) return S;
  int n = MultiByteToWideChar(CP_OEMCP, 0, S.data(), static_cast<int>(S.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_OEMCP, 0, S.data(), static_cast<int>(S.size()), w.data(), n);
  return A(w);
}

namespace {
// The long or short name of the last component of Name ("" when not found).
AnsiString LastComponentName(const AnsiString& Name, bool Long) {
  WIN32_FIND_DATAW data{};
  HANDLE h = FindFirstFileW(W(Name).c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return AnsiString();
  FindClose(h);
  AnsiString longName = A(data.cFileName), shortName = A(data.cAlternateFileName);
  if (Long) return longName.empty() ? shortName : longName;
  return shortName.empty() ? longName : shortName;
}

// Every component converted from the right to the left; the drive stays.
AnsiString ConvertPath(const AnsiString& Path, bool Long) {
  AnsiString rest = Path, result;
  for (size_t cut; (cut = rest.find_last_of('\\')) != AnsiString::npos && cut > 0; rest = rest.substr(0, cut)) {
    AnsiString name = LastComponentName(rest, Long);
    if (name.empty()) name = rest.substr(cut + 1);
    result = "\\" + name + result;
    if (rest.size() == 3 && rest[1] == ':') break;
  }
  return rest.substr(0, rest.find('\\')) + result;
}
}  // namespace

AnsiString ShortToLongFileName(const AnsiString& Name) { return LastComponentName(Name, true); }
AnsiString LongToShortFileName(const AnsiString& Name) { return LastComponentName(Name, false); }
AnsiString ShortToLongPath(const AnsiString& Path) { return ConvertPath(Path, true); }
AnsiString LongToShortPath(const AnsiString& Path) { return ConvertPath(Path, false); }

bool acFindFirstFile(const AnsiString& Path, HANDLE& Handle, WIN32_FIND_DATAW& Data) {
  Handle = FindFirstFileW(W(Path).c_str(), &Data);
  return Handle != INVALID_HANDLE_VALUE;
}

bool acFindNextFile(HANDLE Handle, WIN32_FIND_DATAW& Data) { return FindNextFileW(Handle, &Data) != FALSE; }

AnsiString GetSystemDir() {
  wchar_t buffer[1024] = {};
  UINT n = GetSystemDirectoryW(buffer, 1024);
  return A(buffer, static_cast<int>(n < 1024 ? n : 0));
}

TIcon* GetIconForFile(const AnsiString& Name, UINT Flags) {
  if (!FileExists(Name)) return nullptr;
  SHFILEINFOW info{};
  if (!SHGetFileInfoW(W(Name).c_str(), 0, &info, sizeof info, Flags | SHGFI_ICON) || !info.hIcon) return nullptr;
  auto* icon = new TIcon();
  icon->SetHandle(info.hIcon);
  return icon;
}

void ShowWarning(const AnsiString& S) { sMessageDlg(S, mtWarning, TMsgDlgButtons{mbOK}, 0); }
void ShowError(const AnsiString& S) { sMessageDlg(S, mtError, TMsgDlgButtons{mbOK}, 0); }
bool CustomRequest(const AnsiString& S) { return sMessageDlg(S, mtConfirmation, TMsgDlgButtons{mbYes, mbNo}, 0) == mrYes; }
bool DeleteRequest() { return CustomRequest("Delete this item?"); }
void Alert() { ShowWarning("Alert"); }
void Alert(const AnsiString& S) { ShowWarning(S); }
void Alert(Integer N) { ShowWarning(IntToStr(N)); }

TMessage MakeMessage(Cardinal Msg, WPARAM WParam, LPARAM LParam, LRESULT Result) {
  TMessage m;
  m.Msg = Msg;
  m.WParam = WParam;
  m.LParam = LParam;
  m.Result = Result;
  return m;
}

namespace {
bool CaptionFont(LOGFONTW& font) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return false;
  font = metrics.lfCaptionFont;
  return true;
}
}  // namespace

Integer GetCaptionFontSize() {
  LOGFONTW font{};
  return CaptionFont(font) ? font.lfHeight : 0;
}

HFONT acGetTitleFont() {
  LOGFONTW font{};
  return CaptionFont(font) ? CreateFontIndirectW(&font) : nullptr;
}

bool acGetAnimation() {
  ANIMATIONINFO info{sizeof(ANIMATIONINFO), 0};
  SystemParametersInfoW(SPI_GETANIMATION, sizeof info, &info, 0);
  return info.iMinAnimate != 0;
}

void acSetAnimation(bool Value) {
  ANIMATIONINFO info{sizeof(ANIMATIONINFO), Value ? -1 : 0};
  SystemParametersInfoW(SPI_SETANIMATION, sizeof info, &info, 0);
}

bool IsNTFamily() {
  const Integer major = sconst_platform::MajorVersion();
  return major > 5 || (major == 5 && sconst_platform::MinorVersion() > 0);
}

namespace {
// kernel32's optional functions, looked up once.
struct TKernelFunctions {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  using IsDebuggerPresentFn = BOOL(WINAPI*)();
  IsWow64ProcessFn IsWow64 = nullptr;
  IsDebuggerPresentFn IsDebugger = nullptr;
  TKernelFunctions() {
    HMODULE k = GetModuleHandleW(L"kernel32.dll");
    IsWow64 = reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void*>(GetProcAddress(k, "IsWow64Process")));
    IsDebugger = reinterpret_cast<IsDebuggerPresentFn>(reinterpret_cast<void*>(GetProcAddress(k, "IsDebuggerPresent")));
  }
};
const TKernelFunctions& Kernel() {
  static TKernelFunctions functions;
  return functions;
}

// Whether desktop composition is on (false where the system cannot say).
bool CompositionEnabled() {
  HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
  if (!dwm) return false;
  using Fn = HRESULT(WINAPI*)(BOOL*);
  auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(dwm, "DwmIsCompositionEnabled")));
  BOOL on = FALSE;
  bool result = fn && fn(&on) == S_OK && on;
  FreeLibrary(dwm);
  return result;
}

struct TUtilsStart {
  TUtilsStart() {
    if (IsWOW64Proc() && !CompositionEnabled()) x64woAero = true;
  }
} start;
}  // namespace

bool IsWOW64Proc() {
  BOOL wow = FALSE;
  return Kernel().IsWow64 && Kernel().IsWow64(GetCurrentProcess(), &wow) && wow;
}

bool IsIDERunning() { return !Kernel().IsDebugger || Kernel().IsDebugger(); }

void Delay(Cardinal MS) {
  const DWORD start = GetTickCount();
  while (static_cast<DWORD>(GetTickCount() - start) < MS) {
    Application->ProcessMessages();
    Sleep(1);
  }
}
