// What the animation units share among themselves (not for callers).
#pragma once

#include <memory>

#include "classlib/ui/Forms.h"

// Windows the skin makes for itself carry this tag: the window-creation hook
// never skins them.
constexpr NativeInt kAnimationWindowTag = 256;

// A new invisible borderless form with the tag of the skin's own windows, at
// Bounds (screen), its window made, with ExStyle added to its extended style.
std::unique_ptr<TCustomForm> NewAnimationForm(TComponent* Owner, const TRect& Bounds, LONG_PTR ExStyle);
// The window's rectangle on the screen.
TRect WindowRectOf(HWND Wnd);

// The frames' clock in milliseconds. The performance counter, not the tick
// count: the tick count may move in steps of 16 ms (it does under Wine),
// which would stretch every 12-ms frame to 16.
inline double AnimFrameClock() {
  LARGE_INTEGER now{}, frequency{};
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart ? 1000.0 * double(now.QuadPart) / double(frequency.QuadPart) : double(GetTickCount());
}

// Waits until a frame that began at Start (AnimFrameClock) has lasted its 12 ms.
inline void WaitAnimFrameEnd(double Start) {
  while (AnimFrameClock() - Start < 12.0) Sleep(0);
}

// InAnimationProcess is set for the scope and cleared when it ends, however
// it ends.
class TAnimationScope {
 public:
  TAnimationScope();
  ~TAnimationScope();
  TAnimationScope(const TAnimationScope&) = delete;
  TAnimationScope& operator=(const TAnimationScope&) = delete;
};

// A canvas locked for a scope.
class TCanvasLock {
 public:
  explicit TCanvasLock(TCanvas* Canvas) : FCanvas(Canvas) { FCanvas->Lock(); }
  ~TCanvasLock() { FCanvas->Unlock(); }
  TCanvasLock(const TCanvasLock&) = delete;
  TCanvasLock& operator=(const TCanvasLock&) = delete;

 private:
  TCanvas* FCanvas;
};
