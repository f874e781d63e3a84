// The monitor starts, shows its main window with the Russian caption, and ends
// cleanly when the window is closed.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "TestSupport.h"

using namespace testsupport;

namespace {

std::wstring ExeDir() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s(path, n);
  return s.substr(0, s.find_last_of(L'\\') + 1);
}

struct FindData {
  DWORD pid;
  HWND wnd;
};

BOOL CALLBACK FindMain(HWND wnd, LPARAM lp) {
  auto* d = reinterpret_cast<FindData*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  wchar_t cls[32] = {};
  GetClassNameW(wnd, cls, 32);
  // The main window, not a message box that its start may show on top of it.
  if (pid == d->pid && IsWindowVisible(wnd) && std::wstring(cls) == L"TForm1") {
    d->wnd = wnd;
    return FALSE;
  }
  return TRUE;
}

TEST(Skeleton, MainWindowShowsCaptionAndClosesCleanly) {
  std::wstring cmd = L"\"" + ExeDir() + L"monitor.exe\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  WaitForInputIdle(pi.hProcess, 5000);
  FindData d{pi.dwProcessId, nullptr};
  for (int i = 0; i < 500 && !d.wnd; ++i) {
    EnumWindows(FindMain, reinterpret_cast<LPARAM>(&d));
    if (!d.wnd) Sleep(10);
  }
  ASSERT_NE(d.wnd, nullptr) << "no main window";

  wchar_t text[64] = {};
  GetWindowTextW(d.wnd, text, 64);
  EXPECT_EQ(std::wstring(text), L"\u0414\u043E\u0440\u043D\u0435\u043A\u0430 \u0425\u0411\u0412");  // Дорнека ХБВ

  SetForegroundWindow(d.wnd);
  PumpMessages(300);
  std::string shot = Screenshot(d.wnd, "skeleton");
  EXPECT_FALSE(shot.empty());
  RECT rc;
  GetClientRect(d.wnd, &rc);
  EXPECT_EQ(ClientPixel(d.wnd, rc.right / 2, rc.bottom / 2), GetSysColor(COLOR_BTNFACE));

  PostMessageW(d.wnd, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(pi.hProcess, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
  DWORD code = 99;
  GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

}  // namespace
