#include "classlib/ui/HintWindow.h"

#include "classlib/ui/Forms.h"
#include "classlib/ui/PaintScope.h"
#include "classlib/ui/StdCtrls.h"

TClass HintWindowClass = THintWindow::StaticClass();

namespace {
// The text stands this far inside the frame.
constexpr Integer kMarginX = 2;
constexpr Integer kMarginY = 2;
constexpr UINT kTextFlags = DT_LEFT | DT_NOPREFIX | DT_WORDBREAK;
}  // namespace

void THintWindow::Construct() {
  inherited::Construct();
  SetColor(clInfoBk);
  SetVisible(false);
}

void THintWindow::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
}

TRect THintWindow::CalcHintRect(Integer MaxWidth, const AnsiString& Text, void*) {
  TWindowDC screen;
  TRect r{0, 0, MaxWidth, 0};
  DrawControlText(screen.Handle(), Text, r, kTextFlags | DT_CALCRECT, Font(), true);
  // the frame and the margins on every side
  r.Right += 2 * (kMarginX + 1);
  r.Bottom += 2 * (kMarginY + 1);
  return r;
}

void THintWindow::ActivateHint(const TRect& Rect, const AnsiString& Text) {
  SetCaption(Text);
  SetParentWindow(Application->Handle());
  SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
  SetWindowPos(Handle(), HWND_TOPMOST, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(),
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  Invalidate();
}

void THintWindow::Paint() {
  TRect r = ClientRect();
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(r);
  r.Left += kMarginX;
  r.Top += kMarginY;
  r.Right -= kMarginX;
  r.Bottom -= kMarginY;
  DrawControlText(Canvas()->Handle(), Caption(), r, kTextFlags, Font(), true);
}

DK_PUBLISH(THintWindow) {}
