// A counter of the messages sent to the windows of the thread (a
// WH_CALLWNDPROC hook), for tests that check which window heard which skin
// command and how often.
#pragma once

#include <algorithm>
#include <vector>

#include "classlib/ui/Forms.h"
#include "skin/core/Smessages.h"

namespace skincore {

// Counts the messages sent to the windows of this thread (a WH_CALLWNDPROC
// hook of the thread), in order.
class TMessageCounter {
 public:
  struct TEntry {
    HWND Wnd;
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
  };
  TMessageCounter() {
    Current() = this;
    FHook = SetWindowsHookExW(WH_CALLWNDPROC, Proc, nullptr, GetCurrentThreadId());
  }
  ~TMessageCounter() {
    UnhookWindowsHookEx(FHook);
    Current() = nullptr;
  }
  TMessageCounter(const TMessageCounter&) = delete;
  TMessageCounter& operator=(const TMessageCounter&) = delete;

  std::vector<TEntry> Log;
  void Clear() { Log.clear(); }
  // Skin commands Command sent to Wnd (with LParam when given).
  int Commands(HWND Wnd, Word Command) const {
    return static_cast<int>(std::count_if(Log.begin(), Log.end(), [&](const TEntry& e) {
      return e.Wnd == Wnd && e.Msg == SM_ALPHACMD && AlphaCmdOf(e.WParam) == Command;
    }));
  }
  int Commands(HWND Wnd, Word Command, LPARAM LParam) const {
    return static_cast<int>(std::count_if(Log.begin(), Log.end(), [&](const TEntry& e) {
      return e.Wnd == Wnd && e.Msg == SM_ALPHACMD && AlphaCmdOf(e.WParam) == Command && e.LParam == LParam;
    }));
  }
  int Messages(HWND Wnd, UINT Msg) const {
    return static_cast<int>(
        std::count_if(Log.begin(), Log.end(), [&](const TEntry& e) { return e.Wnd == Wnd && e.Msg == Msg; }));
  }

 private:
  static TMessageCounter*& Current() {
    static TMessageCounter* current = nullptr;
    return current;
  }
  static LRESULT CALLBACK Proc(int Code, WPARAM WParam, LPARAM LParam) {
    if (Code == HC_ACTION && Current()) {
      const auto* m = reinterpret_cast<const CWPSTRUCT*>(LParam);
      Current()->Log.push_back(TEntry{m->hwnd, m->message, m->wParam, m->lParam});
    }
    return CallNextHookEx(nullptr, Code, WParam, LParam);
  }
  HHOOK FHook = nullptr;
};

}  // namespace skincore
