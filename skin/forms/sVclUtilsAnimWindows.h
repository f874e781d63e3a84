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
