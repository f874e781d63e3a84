// The one way the Windows half includes the platform headers. Text of the
// program is code page 1251; the platform is called through its wide (W)
// functions with explicit conversions. Macros of the platform headers that
// clash with class-library names (DeleteFile, GetObject, LoadString,
// MessageBox ...) are removed here: call the W functions by their full names.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <commctrl.h>

#undef DeleteFile
#undef CopyFile
#undef MoveFile
#undef CreateDirectory
#undef RemoveDirectory
#undef GetObject
#undef LoadString
#undef LoadBitmap
#undef LoadIcon
#undef LoadCursor
#undef MessageBox
#undef DrawText
#undef TextOut
#undef GetClassName
#undef FindWindow
#undef SendMessage
#undef PostMessage
#undef DispatchMessage
#undef GetMessage
#undef PeekMessage
#undef CreateWindow
#undef CreateFont
#undef FindResource
#undef RegisterClass
#undef UnregisterClass
#undef GetCurrentDirectory
#undef SetCurrentDirectory
#undef GetUserName
#undef GetCommandLine
#undef CreateEvent
#undef Rectangle

#include <string>

#include "classlib/core/SysUtils.h"

namespace winapi {

// Code page 1251 text as the platform's UTF-16 and back.
inline std::wstring W(const AnsiString& s) {
  WideString w = AnsiToWide(s);
  return std::wstring(w.begin(), w.end());
}
inline AnsiString A(const wchar_t* s, int n = -1) {
  if (!s) return AnsiString();
  std::wstring w = n < 0 ? std::wstring(s) : std::wstring(s, static_cast<size_t>(n));
  return WideToAnsi(WideString(w.begin(), w.end()));
}
inline AnsiString A(const std::wstring& s) { return A(s.c_str(), static_cast<int>(s.size())); }

}  // namespace winapi
