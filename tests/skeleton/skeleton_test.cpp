// The monitor starts, shows its main window with the Russian caption, and ends
// cleanly when the window is closed. The test proves the plain look: it runs
// with no skin manager in the process (the main window answers no skin query).
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

// A visible top-level window of the process, of the class given.
struct FindClassData {
  DWORD pid;
  const wchar_t* cls;
  HWND wnd;
};

BOOL CALLBACK FindWindowOf(HWND wnd, LPARAM lp) {
  auto* d = reinterpret_cast<FindClassData*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  wchar_t cls[64] = {};
  GetClassNameW(wnd, cls, 64);
  if (pid == d->pid && IsWindowVisible(wnd) && std::wstring(cls) == d->cls) {
    d->wnd = wnd;
    return FALSE;
  }
  return TRUE;
}

HWND FindVisible(DWORD pid, const wchar_t* cls) {
  FindClassData d{pid, cls, nullptr};
  EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&d));
  return d.wnd;
}

TEST(Skeleton, MainWindowShowsCaptionAndClosesCleanly) {
  std::wstring cmd = L"\"" + ExeDir() + L"monitor.exe\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  WaitForInputIdle(pi.hProcess, 5000);
  // The main window (the first-run question may come up over it).
  FindData d{pi.dwProcessId, nullptr};
  for (int i = 0; i < 500 && !d.wnd; ++i) {
    d.wnd = FindVisible(pi.dwProcessId, L"TForm1");
    if (!d.wnd) Sleep(10);
  }
  // A failed check leaves no program behind.
  struct TEnd {
    HANDLE Process;
    ~TEnd() {
      if (WaitForSingleObject(Process, 0) == WAIT_TIMEOUT) TerminateProcess(Process, 1);
    }
  } end{pi.hProcess};
  ASSERT_NE(d.wnd, nullptr) << "no main window";
  EXPECT_TRUE(ServedBySkinEngine(d.wnd)) << "the main window carries its skin provider";

  wchar_t text[64] = {};
  GetWindowTextW(d.wnd, text, 64);
  EXPECT_EQ(std::wstring(text), L"\u0414\u043E\u0440\u043D\u0435\u043A\u0430 \u0425\u0411\u0412");  // Дорнека ХБВ

  SetForegroundWindow(d.wnd);
  PumpMessages(300);
  std::string shot = Screenshot(d.wnd, "skeleton");
  EXPECT_FALSE(shot.empty());

  // Closed; a question of the program still open is answered "no".
  PostMessageW(d.wnd, WM_CLOSE, 0, 0);
  DWORD waited = WAIT_TIMEOUT;
  for (int i = 0; i < 100 && waited == WAIT_TIMEOUT; ++i) {
    if (HWND box = FindVisible(pi.dwProcessId, L"#32770")) PostMessageW(box, WM_COMMAND, IDNO, 0);
    waited = WaitForSingleObject(pi.hProcess, 100);
  }
  ASSERT_EQ(waited, static_cast<DWORD>(WAIT_OBJECT_0));
  DWORD code = 99;
  GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

}  // namespace
