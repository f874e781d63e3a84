// Scopes of painting: everything a paint takes from a device context (its
// state, a selected object, a canvas on it, the paint itself) is given back
// by a destructor, also when the painting throws.
//
//   void TMyControl::WMPaint(TWMPaint& Message) {
//     TPaintScope paint(WindowHandle(), Message.DC());  // BeginPaint when no DC came
//     paint.UseBuffer(Buffer);                          // optional: draw off screen
//     TCanvasScope canvas(Canvas(), paint.DC());
//     ...
//   }                                                   // copied, EndPaint, unlocked
#pragma once

#include "classlib/ui/Graphics.h"
#include "classlib/ui/WinApi.h"

// SaveDC ... RestoreDC.
class TDCStateScope {
 public:
  explicit TDCStateScope(HDC DC) : FDC(DC), FSaved(SaveDC(DC)) {}
  ~TDCStateScope() { RestoreDC(FDC, FSaved); }
  TDCStateScope(const TDCStateScope&) = delete;
  TDCStateScope& operator=(const TDCStateScope&) = delete;

 private:
  HDC FDC;
  int FSaved;
};

// An object (font, brush, pen, bitmap) selected into a device context; the
// one it replaced goes back.
class TSelectScope {
 public:
  TSelectScope(HDC DC, HGDIOBJ Object) : FDC(DC), FOld(Object ? SelectObject(DC, Object) : nullptr) {}
  ~TSelectScope() {
    if (FOld) SelectObject(FDC, FOld);
  }
  TSelectScope(const TSelectScope&) = delete;
  TSelectScope& operator=(const TSelectScope&) = delete;

 private:
  HDC FDC;
  HGDIOBJ FOld;
};

// A memory device context of its own (CreateCompatibleDC ... DeleteDC).
class TMemoryDC {
 public:
  explicit TMemoryDC(HDC Compatible = nullptr) : FDC(CreateCompatibleDC(Compatible)) {}
  ~TMemoryDC() {
    if (FDC) DeleteDC(FDC);
  }
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  HDC Handle() const { return FDC; }

 private:
  HDC FDC;
};

// The device context of a window or the screen (GetDC ... ReleaseDC).
class TWindowDC {
 public:
  explicit TWindowDC(HWND Wnd = nullptr) : FWnd(Wnd), FDC(GetDC(Wnd)) {}
  ~TWindowDC() {
    if (FDC) ReleaseDC(FWnd, FDC);
  }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  HDC Handle() const { return FDC; }

 private:
  HWND FWnd;
  HDC FDC;
};

// A canvas drawing on a device context for the scope: locked, given the
// context, and left without it at the end.
class TCanvasScope {
 public:
  TCanvasScope(TCanvas* Canvas, HDC DC) : FCanvas(Canvas) {
    FCanvas->Lock();
    FCanvas->SetHandle(DC);
  }
  ~TCanvasScope() {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
  }
  TCanvasScope(const TCanvasScope&) = delete;
  TCanvasScope& operator=(const TCanvasScope&) = delete;

 private:
  TCanvas* FCanvas;
};

// The metrics of a font as DC (the screen when none) draws it.
inline TEXTMETRICW FontMetrics(HFONT Font, HDC DC = nullptr) {
  TEXTMETRICW tm{};
  if (DC) {
    TSelectScope font(DC, Font);
    GetTextMetricsW(DC, &tm);
  } else {
    TWindowDC screen;
    TSelectScope font(screen.Handle(), Font);
    GetTextMetricsW(screen.Handle(), &tm);
  }
  return tm;
}

// An off-screen surface for painting without flicker: a memory device
// context and a bitmap at least as large as what it paints, kept from one
// paint to the next (made again only when a paint needs more room).
class TPaintBuffer {
 public:
  TPaintBuffer() = default;
  ~TPaintBuffer() { Release(); }
  TPaintBuffer(const TPaintBuffer&) = delete;
  TPaintBuffer& operator=(const TPaintBuffer&) = delete;
  // The memory context, compatible with Target, holding Width x Height pixels.
  HDC Prepare(HDC Target, int Width, int Height);
  void Release();

 private:
  HDC FDC = nullptr;
  HBITMAP FBitmap = nullptr;
  HGDIOBJ FOldBitmap = nullptr;
  int FWidth = 0, FHeight = 0;
};

// One paint of a window's client area. The device context is the one the
// message handed in (WM_PAINT with a DC, WM_PRINTCLIENT), else BeginPaint's
// (EndPaint at the end). With a buffer, painting goes into the buffer and the
// client area is copied to the window when the scope ends (not when the
// painting threw).
class TPaintScope {
 public:
  TPaintScope(HWND Wnd, HDC Given);
  ~TPaintScope();
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;
  // Where to paint.
  HDC DC() const { return FBufferDC ? FBufferDC : FDC; }
  // The window's own device context (not the buffer's).
  HDC WindowDC() const { return FDC; }
  // Paint into Buffer from now on; returns its context.
  HDC UseBuffer(TPaintBuffer& Buffer);

 private:
  HWND FWnd;
  HDC FDC;
  bool FBegun = false;
  PAINTSTRUCT FPaint{};
  HDC FBufferDC = nullptr;
  int FBufferSaved = 0;
  RECT FClient{};
  int FUncaught = 0;
};
