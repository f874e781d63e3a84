// A hint shown at a point of the screen.
#include "skin/core/sVclUtils.h"
#include "skin/forms/acAlphaHints.h"

namespace {

// Where the hint stands from the point it was asked for.
constexpr Integer kHintDX = 8;
constexpr Integer kHintDY = 16;
constexpr Integer kHintMaxWidth = 800;
constexpr Integer kExtraHeight = 4;
// Longer texts show at once, shorter ones may fade in.
constexpr size_t kAnimatedTextLimit = 100;
constexpr DWORD kFadeTime = 200;

bool SystemFadesHints() {
  BOOL animation = FALSE, fade = FALSE;
  SystemParametersInfoW(SPI_GETTOOLTIPANIMATION, 0, &animation, 0);
  SystemParametersInfoW(SPI_GETTOOLTIPFADE, 0, &fade, 0);
  return animation && fade;
}

using TAnimateWindow = BOOL(WINAPI*)(HWND, DWORD, DWORD);
TAnimateWindow AnimateWindowFn() {
  static const auto fn =
      reinterpret_cast<TAnimateWindow>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "AnimateWindow"));
  return fn;
}

}  // namespace

THintWindow* acShowHintWnd(const AnsiString& Text, const TPoint& P) {
  if (Manager && Manager->Active) {
    Manager->ShowHint(P, Text, static_cast<Word>(Application->HintPause));
    return nullptr;  // the skinned hints keep their window to themselves
  }
  if (Text.empty()) return nullptr;
  auto* hint = static_cast<THintWindow*>(HintWindowClass->CreateInstance(nullptr));
  hint->SetVisible(false);
  hint->SetColor(clInfoBk);
  TRect r = hint->CalcHintRect(kHintMaxWidth, Text, nullptr);
  r.Offset(P.X + kHintDX, P.Y + kHintDY);
  const TRect work = acWorkRect(P);
  if (r.Right > work.Right) r.Offset(work.Right - r.Right, 0);
  if (r.Bottom > work.Bottom) r.Offset(0, work.Bottom - r.Bottom);
  if (hint->Perform(SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_HOOKED), 0) == 1) {
    hint->ActivateHint(r, Text);
    return hint;
  }
  hint->SetCaption(Text);
  r.Bottom += kExtraHeight;
  hint->SetParentWindow(Application->Handle());
  hint->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  const HWND wnd = hint->Handle();
  SetWindowPos(wnd, HWND_TOPMOST, r.Left, r.Top, r.Width(), r.Height(), SWP_NOACTIVATE);
  if (Text.size() < kAnimatedTextLimit && AnimateWindowFn() && SystemFadesHints())
    AnimateWindowFn()(wnd, kFadeTime, AW_BLEND);
  ShowWindow(wnd, SW_SHOWNOACTIVATE);
  hint->Invalidate();
  return hint;
}
