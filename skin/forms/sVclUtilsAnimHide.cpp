// The hide animation of skinned forms: the form loses its visible style at
// once while a copy of its picture fades (or shrinks) out in a layered window
// on the one hide timer, a frame per 12 ms tick.
#include <cmath>

#include "skin/core/acntUtils.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/forms/sVclUtilsAnim.h"
#include "skin/forms/sVclUtilsAnimWindows.h"
#include "skin/graphics/acGlow.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

TacHideTimer* acHideTimer = nullptr;

namespace {

constexpr Cardinal kFrameMs = 12;
// A hide timer without an animation: its worker waits as long as it can.
constexpr Cardinal kIdleInterval = 65535;
// The fading window goes over everything, at its own place, without being
// activated, redrawn or moved in its owner's order.
constexpr UINT kFadePlacing = SWP_NOOWNERZORDER | SWP_NOCOPYBITS | SWP_NOACTIVATE | SWP_NOREDRAW;

Integer Nearest(double Value) { return static_cast<Integer>(std::nearbyint(Value)); }

// Pushes a frame into the fading window.
void Push(TCustomForm* Window, TacBitmap* Bmp, Byte Alpha) {
  if (Window && Window->HandleAllocated()) SetFormBlendValue(Window->WindowHandle(), Bmp, Alpha);
}

}  // namespace

// ------------------------------------------------------------- the timer

TacHideTimer::TacHideTimer(TComponent* AOwner) : TacThreadedTimer(AOwner) {}

TacHideTimer::~TacHideTimer() {
  KillTimer();
  // Freed before its last frame (the program ends, its owner goes): the
  // picture still goes out and the provider still hears of it, once.
  FinishNow();
  if (acHideTimer == this) acHideTimer = nullptr;
}

void TacHideTimer::FinishNow() {
  if (AnimForm && FrameImage && Counter <= Frames) {
    Alpha = 0;
    Anim_DoNext();
    Push(AnimForm.get(), FrameImage.get(), BlendAlpha);
    Counter = Frames + 1;
  }
  CallEvent();
  AnimForm.reset();
  Image.reset();
  FrameImage.reset();
}

void TacHideTimer::Anim_Init() {
  Alpha = StartAlpha;
  AlphaStep = Frames > 0 ? double(StartAlpha) / Frames : StartAlpha;
  if (Mode == atAero) {
    StepX = -double(Width) / (Frames * 8);
    StepY = -double(Height) / (Frames * 8);
    Left = Top = 0;
    Right = Width;
    Bottom = Height;
  } else {
    StepX = StepY = Left = Top = Right = Bottom = 0;
  }
}

void TacHideTimer::Anim_DoNext() {
  Alpha = std::max(0.0, Alpha - AlphaStep);
  BlendAlpha = static_cast<Byte>(LimitIt(Nearest(Alpha), 0, 255));
  if (Mode != atAero) {
    if (Left == 0) {
      BlockCopy(FrameImage.get(), 0, 0, Width, Height, Image.get(), 0, 0);
      Left = 1.0;  // copied once: only the alpha changes from now on
    }
    return;
  }
  if (Left >= 0 && Top >= 0) {
    FillRect32(FrameImage.get(), TRect{0, 0, Width, Height}, 0, 0);
    const Integer l = Nearest(Left), t = Nearest(Top);
    StretchCopy(FrameImage.get(), l, t, Nearest(Right) - l, Nearest(Bottom) - t, Image.get(), 0, 0, Width, Height);
  } else {
    BlockCopy(FrameImage.get(), 0, 0, Width, Height, Image.get(), 0, 0);
  }
}

void TacHideTimer::Anim_GoToNext() {
  if (Mode != atAero) return;
  Left -= StepX;
  Top -= StepY;
  Right += StepX;
  Bottom += StepY;
}

void TacHideTimer::OnTimerProc(TObject*) {
  if (!AnimForm) return;
  if (Counter > Frames) {
    CallEvent();
    SetInterval(kIdleInterval);
    SetOnTimer(nullptr);
    AnimForm.reset();
    Image.reset();
    FrameImage.reset();
    return;
  }
  Anim_DoNext();
  Push(AnimForm.get(), FrameImage.get(), BlendAlpha);
  Anim_GoToNext();
  ++Counter;
}

void TacHideTimer::CallEvent() {
  if (EventFired || !WindowHandle || !IsWindow(WindowHandle)) return;
  auto* p = reinterpret_cast<TsSkinProvider*>(SendAMessage(WindowHandle, ACMD_QUERY_PROVIDER));
  if (!p || !p->OnAfterAnimation) return;
  EventFired = true;
  p->OnAfterAnimation(aeHiding);
}

// ------------------------------------------------------------ the starts

bool StartHideAnimation(TCustomForm* Window, std::unique_ptr<TacBitmap> Image, Word Time, HWND Handle,
                        TacAnimType Mode, Integer Alpha) {
  std::unique_ptr<TCustomForm> window(Window);
  // A hide still running is cut short: its window goes at once, and its
  // provider hears that its hide ended.
  if (acHideTimer && acHideTimer->AnimForm) {
    acHideTimer->SetEnabled(false);
    acHideTimer->CallEvent();
    acHideTimer->AnimForm.reset();
  }
  const Integer frames = AnimationFrames(Time);
  if (frames == 0 || !window || !Image) return false;
  if (!acHideTimer) acHideTimer = Create<TacHideTimer>(Application);
  TacHideTimer* t = acHideTimer;
  t->SetEnabled(false);
  t->WindowHandle = Handle;
  t->EventFired = false;
  t->Counter = 0;
  t->Image = std::move(Image);
  t->StartAlpha = Alpha;
  t->AnimForm = std::move(window);
  t->Mode = Mode;
  t->SetInterval(kFrameMs);
  t->Frames = frames;
  t->Width = BitmapWidth(t->Image.get());
  t->Height = BitmapHeight(t->Image.get());
  t->BlendAlpha = static_cast<Byte>(LimitIt(Alpha, 0, 255));

  const HWND wnd = t->AnimForm->Handle();
  SetWindowLongPtrW(wnd, GWL_EXSTYLE, GetWindowLongPtrW(wnd, GWL_EXSTYLE) | WS_EX_NOACTIVATE | WS_EX_LAYERED);
  Push(t->AnimForm.get(), t->Image.get(), t->BlendAlpha);
  ShowWindow(wnd, SW_SHOWNOACTIVATE);
  SetWindowPos(wnd, HWND_TOPMOST, t->AnimForm->Left(), t->AnimForm->Top(), t->Width, t->Height, kFadePlacing);
  t->FrameImage = CreateBmp32(t->Width, t->Height);
  t->Anim_Init();

  if (Application->Terminated()) {
    // No more ticks come at the end of the program: the frames run now and
    // the last one stays with the timer until it goes.
    while (t->Counter <= t->Frames) {
      const double start = AnimFrameClock();
      t->OnTimerProc(t);
      WaitAnimFrameEnd(start);
    }
    return true;
  }
  t->SetOnTimer(TNotifyEvent(t, &TacHideTimer::OnTimerProc));
  t->Counter = 0;
  t->OnTimerProc(t);
  t->SetEnabled(true);
  return true;
}

bool AnimHideForm(TObject* Object) {
  // A glow left around a hot control would stay on screen after its form.
  ClearGlows(true);
  auto* p = dynamic_cast<TsSkinProvider*>(Object);
  if (!p || !p->Form || !p->Form->HandleAllocated() || p->Form->FormStyle() == fsMDIChild) return false;
  TacBitmap* cache = p->SkinData()->CacheBmp.get();
  if (!cache || BitmapWidth(cache) == 0 || BitmapHeight(cache) == 0) return false;
  TAnimationScope running;
  const HWND wnd = p->Form->WindowHandle();
  if (!(p->FormState & acfs::HideSnapshot)) p->PaintAll();
  cache = p->SkinData()->CacheBmp.get();

  // The cover the provider made when the hide began, or one made now.
  std::unique_ptr<TCustomForm> window(dynamic_cast<TCustomForm*>(p->CoverForm.get()));
  if (window) p->CoverForm.release();
  else p->CoverForm.reset();
  if (!window) window.reset(MakeCoverForm(wnd));
  DoLayered(wnd, true, 1);
  std::unique_ptr<TacBitmap> image = CloneBitmap32(cache);
  for (const TRect& corner : p->ArOR) FillRect32(image.get(), corner, 0, 0);

  TsSkinManager* manager = p->SkinData()->GetSkinManager();
  const TacFormHide* hide = manager ? manager->AnimEffects()->FormHide() : nullptr;
  const bool started = StartHideAnimation(window.release(), std::move(image), hide ? hide->Time : 0,
                                          wnd, hide ? hide->Mode : atFading, 255);
  if (IsWindow(wnd)) DoLayered(wnd, false, 255);
  return started;
}
