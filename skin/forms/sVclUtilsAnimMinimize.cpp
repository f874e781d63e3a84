// The minimize flight: the form's picture flies to the task bar while it
// shrinks and fades when the form is minimized, and back when it is restored.
// The first frame runs at once; the others on the provider's threaded timer.
// On a system of version 6 or later without composition the flight is one
// frame each way: the picture goes at once and comes back at once.
#include <cmath>

#include "skin/core/sSkinManager.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/acDwm.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/forms/sVclUtilsAnim.h"
#include "skin/forms/sVclUtilsAnimWindows.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

constexpr Cardinal kFrameMs = 12;
// Ordering a window without touching anything else (shown with it in the
// flight's frames).
constexpr UINT kReorder = SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER |
                          SWP_NOSENDCHANGING;
constexpr UINT kRestoredRepaint = RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME;
// The task bar's edges.
constexpr Integer kEdgeLeft = 1, kEdgeTop = 2, kEdgeRight = 4, kEdgeBottom = 8;
constexpr wchar_t kTaskBarClass[] = L"Shell_TrayWnd";

Integer Nearest(double Value) { return static_cast<Integer>(std::nearbyint(Value)); }

// Whether the flight has frames of its own: before version 6 and under
// composition the system shows nothing of its own.
bool LongFlight() { return acWinVer < 6 || AeroIsEnabled(); }

TsSkinManager* ManagerOf(TsSkinProvider* Provider) { return Provider->SkinData()->GetSkinManager(); }

bool MinimizingActive(TsSkinProvider* Provider) {
  TsSkinManager* m = ManagerOf(Provider);
  return m && m->AnimEffects()->Minimizing()->Active;
}

bool RestoresMaximized(HWND Wnd) {
  WINDOWPLACEMENT place{};
  place.length = sizeof place;
  return GetWindowPlacement(Wnd, &place) &&
         (IsZoomed(Wnd) || (place.showCmd == SW_SHOWMINIMIZED && (place.flags & WPF_RESTORETOMAXIMIZED)));
}

void RemoveLayered(HWND Wnd) {
  SetWindowLongPtrW(Wnd, GWL_EXSTYLE, GetWindowLongPtrW(Wnd, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
}

// Keeps a frame from running inside itself.
class TReentryGuard {
 public:
  explicit TReentryGuard(bool& Flag) : FFlag(Flag), FEntered(!Flag) { FFlag = true; }
  ~TReentryGuard() {
    if (FEntered) FFlag = false;
  }
  bool Entered() const { return FEntered; }
  TReentryGuard(const TReentryGuard&) = delete;
  TReentryGuard& operator=(const TReentryGuard&) = delete;

 private:
  bool& FFlag;
  bool FEntered;
};
bool inFrame = false;

}  // namespace

// ------------------------------------------------------------- the timer

TacMinTimer::TacMinTimer(TComponent* AOwner) : TacThreadedTimer(AOwner) {}

TacMinTimer::TacMinTimer(TsSkinProvider* Provider, bool UseTimeEvent)
    : TacThreadedTimer(Provider, UseTimeEvent), Provider(Provider) {}

TacMinTimer::~TacMinTimer() { KillTimer(); }

void TacMinTimer::AfterConstruction() {
  inherited::AfterConstruction();
  if (!Provider) return;
  InitData();
  Image = std::make_unique<TacBitmap>();
}

Byte TacMinTimer::MaxAlpha() const { return LongFlight() ? 255 >> 2 : 255; }

void TacMinTimer::InitData() {
  SetInterval(kFrameMs);
  TsSkinManager* m = ManagerOf(Provider);
  const Integer time = m && LongFlight() ? m->AnimEffects()->Minimizing()->Time : 0;
  Frames = std::max<Integer>(1, time / static_cast<Integer>(kFrameMs));
  if (!FormHandle) FormHandle = Provider->Form->WindowHandle();
  Alpha = MaxAlpha();
  RectFrom = WindowRectOf(FormHandle);
  XFrom = RectFrom.Left + (RectFrom.Right - RectFrom.Left) / 2;
  YFrom = RectFrom.Top + (RectFrom.Bottom - RectFrom.Top) / 2;
  CalcSteps();
  CurLeft = RectFrom.Left;
  CurTop = RectFrom.Top;
  CurRight = RectFrom.Right;
  CurBottom = RectFrom.Bottom;
  AlphaStep = double(MaxAlpha() - AlphaTo) / std::max<Integer>(1, Frames - 1);
  FrameImage = CreateBmp32(RectFrom.Right - RectFrom.Left, RectFrom.Bottom - RectFrom.Top);
  AnimForm.reset();
  AnimForm.reset(MakeCoverForm(FormHandle));
}

void TacMinTimer::CalcSteps() {
  RectTo = GetTargetRect();
  XTo = RectTo.Left + (RectTo.Right - RectTo.Left) / 2;
  YTo = RectTo.Top + (RectTo.Bottom - RectTo.Top) / 2;
  DeltaX = double(XTo - XFrom) / Frames;
  DeltaY = double(YTo - YFrom) / Frames;
  dW = double((RectFrom.Right - RectFrom.Left) - (RectTo.Right - RectTo.Left)) / (2 * Frames);
  dH = double((RectFrom.Bottom - RectFrom.Top) - (RectTo.Bottom - RectTo.Top)) / (2 * Frames);
  AlphaTo = 0;
}

// The task bar's edge nearest the form (the application's button is not
// looked for: the edge is where the picture goes).
TRect TacMinTimer::GetTargetRect() {
  const HWND bar = FindWindowW(kTaskBarClass, nullptr);
  if (!bar) return TRect{0, 0, 0, 0};
  const TRect t = WindowRectOf(bar);
  if (t.Top != 0) TBPosition = (t.Left >= -4 && t.Left <= 0) ? kEdgeBottom : kEdgeRight;
  else if (t.Left == 0) TBPosition = (t.Right - t.Left) > (t.Bottom - t.Top) ? kEdgeTop : kEdgeLeft;
  else TBPosition = kEdgeRight;
  switch (TBPosition) {
    case kEdgeLeft: return TRect{t.Right, YFrom, t.Right, YFrom};
    case kEdgeRight: return TRect{t.Left, YFrom, t.Left, YFrom};
    case kEdgeTop: return TRect{XFrom, t.Bottom, XFrom, t.Bottom};
    default: return TRect{XFrom, t.Top, XFrom, t.Top};
  }
}

void TacMinTimer::TimeHandler() {
  TReentryGuard guard(inFrame);
  if (!guard.Entered() || !Provider) return;
  if (!Restoring && (Provider->FormState & acfs::Restoring)) Restoring = true;
  else if (Restoring && (Provider->FormState & acfs::Minimizing)) Restoring = false;
  if (!AnimForm || !AnimForm->HandleAllocated()) {
    SetEnabled(false);
    return;
  }
  const HWND anim = AnimForm->WindowHandle();
  if (!Restoring) {
    FillRect32(FrameImage.get(), TRect{0, 0, BitmapWidth(FrameImage.get()), BitmapHeight(FrameImage.get())}, 0, 0);
    CurLeft += DeltaX + dW;
    CurRight += DeltaX - dW;
    CurTop += DeltaY + dH;
    CurBottom += DeltaY - dH;
    Alpha = std::max(0.0, Alpha - AlphaStep);
    if (Alpha <= 0) {
      EndMinimizing();
      return;
    }
  } else {
    CurLeft -= DeltaX + dW;
    CurRight -= DeltaX - dW;
    CurTop -= DeltaY + dH;
    CurBottom -= DeltaY - dH;
    Alpha = std::min(Alpha + AlphaStep, 255.0);
    if (Alpha >= MaxAlpha()) {
      EndRestoring();
      return;
    }
    SetWindowRgn(anim, nullptr, FALSE);
  }
  DrawFrame();
}

// The picture at the flight's current rectangle, in the middle of a frame of
// the form's size.
void TacMinTimer::DrawFrame() {
  const double w = std::max(0.0, CurRight - CurLeft), h = std::max(0.0, CurBottom - CurTop);
  const Integer cx = Nearest(w / 2 + CurLeft), cy = Nearest(h / 2 + CurTop);
  const Integer fw = BitmapWidth(FrameImage.get()), fh = BitmapHeight(FrameImage.get());
  if (Image && BitmapWidth(Image.get()) > 0 && BitmapHeight(Image.get()) > 0)
    StretchCopy(FrameImage.get(), (fw - Nearest(w)) / 2, (fh - Nearest(h)) / 2, Nearest(w), Nearest(h), Image.get(), 0,
                0, BitmapWidth(Image.get()), BitmapHeight(Image.get()));
  const TPoint place{cx - fw / 2, cy - fh / 2};
  SetFormBlendValue(AnimForm->WindowHandle(), FrameImage.get(), Nearest(Alpha), &place);
  SetWindowPos(AnimForm->WindowHandle(), FindWindowW(kTaskBarClass, nullptr), 0, 0, 0, 0, kReorder | SWP_SHOWWINDOW);
}

// The picture is gone: the real form, made transparent while the picture
// flew, comes back to its own look (the caller minimizes it).
void TacMinTimer::EndMinimizing() {
  SetEnabled(false);
  Provider->PaintingSuspended = false;
  Provider->SetHotHT(0);
  Provider->FormState &= ~acfs::Minimizing;
  RemoveLayered(FormHandle);
  SetFormBlendValue(AnimForm->WindowHandle(), FrameImage.get(), 0);
  ShowWindow(AnimForm->WindowHandle(), SW_HIDE);
  Provider->ProcessMessage(WM_NCPAINT, 1, 0);
  Restoring = true;
}

// The picture is back in place: the form shows again under it and the
// picture goes.
void TacMinTimer::EndRestoring() {
  SetEnabled(false);
  const HWND anim = AnimForm->WindowHandle();
  const TPoint place{RectFrom.Left, RectFrom.Top};
  SetFormBlendValue(anim, Image && BitmapWidth(Image.get()) > 0 ? Image.get() : FrameImage.get(), MaxAlpha(), &place);
  {
    TacSystemAnimationOff systemAnimation;
    ShowWindow(FormHandle, RestoresMaximized(FormHandle) ? SW_SHOWMAXIMIZED : SW_SHOWNOACTIVATE);
  }
  SetWindowPos(anim, HWND_TOP, 0, 0, 0, 0, kReorder);
  RemoveLayered(FormHandle);
  Provider->PaintingSuspended = false;
  Provider->FormState &= ~acfs::Restoring;
  if (Provider->Form->Menu() && AeroIsEnabled()) Provider->SkinData()->BGChanged = true;
  RedrawWindow(FormHandle, nullptr, nullptr, kRestoredRepaint);
  Restoring = false;
  SetWindowPos(anim, FormHandle, 0, 0, 0, 0, kReorder);
  AnimForm.reset();
  if (IsWindowEnabled(FormHandle) && IsWindowVisible(FormHandle)) {
    SetActiveWindow(FormHandle);
    SetFocus(FormHandle);
  }
}

TacMinTimer* RestoringMinTimer(TsSkinProvider* Provider) {
  auto* t = Provider ? dynamic_cast<TacMinTimer*>(Provider->MinAnimation.get()) : nullptr;
  return t && t->Restoring ? t : nullptr;
}

// ------------------------------------------------------------ the starts

void StartMinimizing(TsSkinProvider* Provider) {
  if (!Provider || !Provider->Form || !Provider->Form->HandleAllocated()) return;
  const HWND wnd = Provider->Form->WindowHandle();
  if (MinimizingActive(Provider)) {
    Provider->KillAnimations();
    if (Provider->FormState & acfs::Minimizing) return;
    Provider->FormState |= acfs::Minimizing;
    Provider->PaintingSuspended = true;
    auto* timer = dynamic_cast<TacMinTimer*>(Provider->MinAnimation.get());
    if (!timer) {
      Provider->MinAnimation.reset();
      timer = Create<TacMinTimer>(Provider, true);
      Provider->MinAnimation.reset(timer);
    } else if (!(Provider->FormState & acfs::Restoring)) {
      timer->InitData();
    }
    Provider->FormState &= ~acfs::Restoring;
    if (timer->MaxAlpha() <= timer->Alpha) timer->Image = GetFormImage(Provider, false);
    DoLayered(wnd, true, 0);
    timer->TimeHandler();
    if (LongFlight()) timer->SetEnabled(true);
  }
  UpdatePreview(wnd, true);
  DwmInvalidateIconicBitmaps(wnd);
}

bool StartRestoring(TsSkinProvider* Provider) {
  auto* timer = Provider ? dynamic_cast<TacMinTimer*>(Provider->MinAnimation.get()) : nullptr;
  if (!timer || !MinimizingActive(Provider) || (Provider->FormState & acfs::Restoring)) return true;
  Provider->FormState &= ~acfs::Minimizing;
  Provider->FormState |= acfs::Restoring;
  Provider->PaintingSuspended = true;
  const HWND wnd = Provider->Form->WindowHandle();
  DoLayered(wnd, true, 0);
  timer->SetEnabled(true);
  UpdatePreview(wnd, false);
  return true;
}
