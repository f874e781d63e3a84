// Driving an open pop-up menu from a test: steps that run inside the menu's
// own loop (on thread timers), key presses through the input queue, the
// menu windows on screen and screenshots of them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace menutest {

inline BOOL CALLBACK CollectMenuWindow(HWND Wnd, LPARAM Data) {
  wchar_t cls[16] = {};
  GetClassNameW(Wnd, cls, 16);
  if (std::wstring(cls) == L"#32768" && IsWindowVisible(Wnd)) reinterpret_cast<std::vector<HWND>*>(Data)->push_back(Wnd);
  return TRUE;
}

// The visible pop-up menu windows of the thread, the first shown first.
inline std::vector<HWND> OpenMenuWindows() {
  std::vector<HWND> found;
  EnumThreadWindows(GetCurrentThreadId(), CollectMenuWindow, reinterpret_cast<LPARAM>(&found));
  // Enumerated from the top of the z-order: the newest first.
  return std::vector<HWND>(found.rbegin(), found.rend());
}

// The pop-up menu window of the thread that is shown (the newest), or nullptr.
inline HWND OpenMenuWindow() {
  const std::vector<HWND> all = OpenMenuWindows();
  return all.empty() ? nullptr : all.back();
}

using TMenuStep = std::function<void(HWND)>;

// The state of the steps being run (one run at a time).
struct TMenuStepState {
  std::vector<TMenuStep> Steps;
  size_t Next = 0;
  int Delay = 0;
  bool Done = false;
};
inline TMenuStepState*& CurrentMenuSteps() {
  static TMenuStepState* state = nullptr;
  return state;
}

inline void CALLBACK MenuStepTick(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  TMenuStepState* state = CurrentMenuSteps();
  if (!state) return;
  HWND wnd = OpenMenuWindow();
  if (!wnd || state->Next >= state->Steps.size()) {
    state->Done = true;
    EndMenu();
    return;
  }
  state->Steps[state->Next++](wnd);
  SetTimer(nullptr, 0, static_cast<UINT>(state->Delay), MenuStepTick);
}

// Runs Open (which must lead to a pop-up menu's loop) and the steps inside
// that loop, each DelayMs after the one before (the first once the pop-up is
// on screen and painted), with the newest pop-up window; when the steps are
// done, or no pop-up is open any more, the menu is closed with EndMenu. How
// many steps ran.
inline int RunMenuSteps(const std::function<void()>& Open, std::vector<TMenuStep> Steps, int DelayMs = 300) {
  TMenuStepState s{std::move(Steps), 0, DelayMs, false};
  CurrentMenuSteps() = &s;
  SetTimer(nullptr, 0, static_cast<UINT>(DelayMs), MenuStepTick);
  Open();
  // Open may return before the menu's loop ended (input that opens it later).
  const DWORD start = GetTickCount();
  while (!s.Done && GetTickCount() - start < 10000) testsupport::PumpMessages(20);
  CurrentMenuSteps() = nullptr;
  testsupport::PumpMessages(50);
  return static_cast<int>(s.Next);
}

// Shows Menu with TrackPopupMenu for the window Owner at (X, Y) and runs the steps.
inline int WithOpenMenu(HMENU Menu, HWND Owner, int X, int Y, std::vector<TMenuStep> Steps, int DelayMs = 300) {
  return RunMenuSteps(
      [&] { TrackPopupMenu(Menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, X, Y, 0, Owner, nullptr); },
      std::move(Steps), DelayMs);
}

// Keys pressed and released in order through the system's input queue.
inline void PressKeys(std::initializer_list<WORD> Keys) {
  std::vector<INPUT> in;
  for (WORD k : Keys)
    for (DWORD flags : {DWORD(0), DWORD(KEYEVENTF_KEYUP)}) {
      INPUT i{};
      i.type = INPUT_KEYBOARD;
      i.ki.wVk = k;
      i.ki.dwFlags = flags;
      in.push_back(i);
    }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}
inline void PressKey(WORD Key) { PressKeys({Key}); }

// A right click at a screen point through the system's input queue.
inline void RightClickAt(int X, int Y) {
  SetCursorPos(X, Y);
  INPUT in[3] = {};
  for (INPUT& i : in) i.type = INPUT_MOUSE;
  in[0].mi.dx = X * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  in[0].mi.dy = Y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  in[1].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  in[2].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  SendInput(3, in, sizeof(INPUT));
}

// A left click at a screen point through the system's input queue.
inline void LeftClickAt(int X, int Y) {
  SetCursorPos(X, Y);
  INPUT in[3] = {};
  for (INPUT& i : in) i.type = INPUT_MOUSE;
  in[0].mi.dx = X * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  in[0].mi.dy = Y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(3, in, sizeof(INPUT));
}

// The screen pixels of a rectangle, rows from the top, 0xRRGGBB.
inline std::vector<std::uint32_t> ScreenPixels(const RECT& R) {
  HDC screen = GetDC(nullptr);
  std::vector<std::uint32_t> px = testsupport::ReadPixels(screen, R.left, R.top, R.right - R.left, R.bottom - R.top);
  ReleaseDC(nullptr, screen);
  for (std::uint32_t& p : px) p &= 0xFFFFFF;
  return px;
}

// A screenshot under build/screenshots/menus/.
inline std::string MenuScreenshot(HWND Wnd, const std::string& Name) {
  CreateDirectoryW(testsupport::WinPath(testsupport::HostBuildDir() + "/screenshots").c_str(), nullptr);
  CreateDirectoryW(testsupport::WinPath(testsupport::HostBuildDir() + "/screenshots/menus").c_str(), nullptr);
  return testsupport::Screenshot(Wnd, "menus/" + Name);
}

}  // namespace menutest
