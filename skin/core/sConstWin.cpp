// The constants unit's start on Windows: the system's version and metrics,
// and the texts of the program's string table.
#include "classlib/ui/WinApi.h"
#include "skin/core/sConstPlatform.h"

namespace sconst_platform {
namespace {
// The version the system reports of itself (not the one a manifest shims).
OSVERSIONINFOW Version() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  auto fn = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  if (!fn || fn(&info) != 0) {
    info = OSVERSIONINFOW{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExW(&info);
#pragma GCC diagnostic pop
  }
  return info;
}
}  // namespace

Integer MajorVersion() { return static_cast<Integer>(Version().dwMajorVersion); }
Integer MinorVersion() { return static_cast<Integer>(Version().dwMinorVersion); }
Integer ScrollArrowWidth(Integer) { return GetSystemMetrics(SM_CXHSCROLL); }

AnsiString LoadText(Integer Id) {
  const wchar_t* text = nullptr;
  // With a length of 0 the call answers a pointer to the resource's text.
  int n = LoadStringW(GetModuleHandleW(nullptr), static_cast<UINT>(Id), reinterpret_cast<wchar_t*>(&text), 0);
  return n > 0 && text ? winapi::A(text, n) : AnsiString();
}
}  // namespace sconst_platform
