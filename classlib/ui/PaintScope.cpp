#include "classlib/ui/PaintScope.h"

#include <algorithm>
#include <exception>

HDC TPaintBuffer::Prepare(HDC Target, int Width, int Height) {
  Width = std::max(1, Width);
  Height = std::max(1, Height);
  if (FDC && Width <= FWidth && Height <= FHeight) return FDC;
  Release();
  FDC = CreateCompatibleDC(Target);
  FBitmap = CreateCompatibleBitmap(Target, Width, Height);
  if (!FDC || !FBitmap) {
    Release();
    throw EOutOfResources("Out of system resources");
  }
  FOldBitmap = SelectObject(FDC, FBitmap);
  FWidth = Width;
  FHeight = Height;
  return FDC;
}

void TPaintBuffer::Release() {
  if (FDC && FOldBitmap) SelectObject(FDC, FOldBitmap);
  if (FBitmap) DeleteObject(FBitmap);
  if (FDC) DeleteDC(FDC);
  FDC = nullptr;
  FBitmap = nullptr;
  FOldBitmap = nullptr;
  FWidth = FHeight = 0;
}

TPaintScope::TPaintScope(HWND Wnd, HDC Given) : FWnd(Wnd), FDC(Given), FUncaught(std::uncaught_exceptions()) {
  if (!FDC) {
    FDC = BeginPaint(Wnd, &FPaint);
    FBegun = true;
  }
}

TPaintScope::~TPaintScope() {
  if (FBufferDC) {
    RestoreDC(FBufferDC, FBufferSaved);
    if (std::uncaught_exceptions() == FUncaught)
      BitBlt(FDC, 0, 0, FClient.right, FClient.bottom, FBufferDC, 0, 0, SRCCOPY);
  }
  if (FBegun) EndPaint(FWnd, &FPaint);
}

HDC TPaintScope::UseBuffer(TPaintBuffer& Buffer) {
  GetClientRect(FWnd, &FClient);
  FBufferDC = Buffer.Prepare(FDC, FClient.right, FClient.bottom);
  // each paint starts from the context's first state
  FBufferSaved = SaveDC(FBufferDC);
  return FBufferDC;
}
