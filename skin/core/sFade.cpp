#include "skin/core/sFade.h"

#include "classlib/ui/Forms.h"
#include "classlib/ui/PaintScope.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sStyleSimply.h"
#include "skin/core/sVclUtils.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

LRESULT PerformCommand(TControl* C, Word Cmd, LPARAM LParam = 0) {
  return C->Perform(SM_ALPHACMD, AlphaCmdParam(Cmd), LParam);
}

bool AppTerminating() { return Application && Application->Terminated(); }

// Dst becomes a copy of Src; a 32-bit Dst of Src's size keeps its section and
// only takes the pixels (a new section and its DC cost a frame many times over).
void CopyLook(TacBitmap* Dst, TacBitmap* Src) {
  if (!Dst || !Src) return;
  if (Bitmap32(Dst) && Bitmap32(Src) && Dst->Width() == Src->Width() && Dst->Height() == Src->Height())
    CopyPixels32(Dst, 0, 0, Src, TRect{0, 0, Src->Width(), Src->Height()});
  else
    CopyBmp(Dst, Src);
}

// The magnifier is told to repaint after every frame.
void TellMagnifier() {
  if (auto* magnifier = dynamic_cast<TWinControl*>(acMagnForm); magnifier && magnifier->HandleAllocated())
    SendAMessage(magnifier->WindowHandle(), ACMD_SKIN_REPAINT);
}

// Runs at the end of a scope, also when an exception passes.
template <class F>
class TAtEnd {
 public:
  explicit TAtEnd(F Fn) : FFn(Fn) {}
  ~TAtEnd() { FFn(); }
  TAtEnd(const TAtEnd&) = delete;
  TAtEnd& operator=(const TAtEnd&) = delete;

 private:
  F FFn;
};

}  // namespace

Integer FadeWeight(Integer Step, Integer Steps) { return (255 - (Step * 255) / Steps) & 0xFF; }

// ------------------------------------------------------------ the window fade

TsFadeTimer::TsFadeTimer(TComponent* AOwner) : TTimer(AOwner) {}

void TsFadeTimer::Construct() {
  inherited::Construct();
  ++acAnimCount;
  StartImage = CreateBmp32(0, 0);
  SetDirection(fdNone);
  SetOnTimer(TNotifyEvent(this, &TsFadeTimer::TimerAction));
}

TsFadeTimer::~TsFadeTimer() { --acAnimCount; }

void TsFadeTimer::SetDirection(TFadeDirection Value) {
  Direction = Value;
  if (FadeStep < 0) FadeStep = 1;
  SetEnabled(Value != fdNone);
}

void TsFadeTimer::SetOwnerData(TsCommonData* Data) {
  OwnerData = Data;
  const bool noLook = !Data->CacheBmp || Data->CacheBmp->Width() == 0 || Data->CacheBmp->Height() == 0;
  if (Data->BGChanged && noLook && Data->OwnerControl) SendAMessage(Data->OwnerControl, ACMD_BUILD_CACHE);
  CopyBmp(StartImage.get(), Data->CacheBmp.get());
  SetInterval(acFadeInterval);
  FadeSteps = acFadeSteps;
  if (Direction == fdUp)
    FadeSteps = FadeStep;
  else if (Direction == fdDown)
    FadeSteps = acFadeSteps - FadeStep;
}

void TsFadeTimer::Timer() {
  if (!OwnerData || ComponentState().Contains(csDestroying)) return;
  if (ToEnd() || FadingForbidden) return;  // after ToEnd's true this timer may be gone
  if (Direction == fdUp || Direction == fdDown) Change();
}

bool TsFadeTimer::ToEnd() {
  TControl* c = OwnerData ? OwnerData->OwnerControl : nullptr;
  if (!c || IsDestroying(c) || AppTerminating()) {
    Direction = fdNone;
    return false;
  }
  if (FadeStep > FadeSteps || FadeStep < 0) {
    PerformCommand(c, ACMD_STOP_FADE);
    return true;
  }
  return false;
}

void TsFadeTimer::Change() {
  TControl* c = OwnerData ? OwnerData->OwnerControl : nullptr;
  if (!c || IsDestroying(c) || FadeSteps == 0 || FadingForbidden) return;
  if (!c->Enabled()) {
    SetEnabled(false);
    FadeSteps = 0;
    OwnerData->Invalidate(false);
    return;
  }
  TAtEnd advance([this] { ++FadeStep; });
  if (!FFrame) FFrame = CreateBmp32(0, 0);
  TacBitmap* frame = FFrame.get();
  CopyLook(frame, StartImage.get());
  SumBitmaps(frame, OwnerData->CacheBmp.get(), FadeWeight(FadeStep, FadeSteps));
  auto* w = dynamic_cast<TWinControl*>(c);
  if (w && w->HandleAllocated()) {
    TWindowDC dc(w->WindowHandle());
    TDCStateScope state(dc.Handle());
    if (PerformCommand(c, ACMD_FADE_FRAME, reinterpret_cast<LPARAM>(frame)) == 0)
      BitBlt(dc.Handle(), 0, 0, frame->Width(), frame->Height(), frame->Canvas()->Handle(), 0, 0, SRCCOPY);
  }
  TellMagnifier();
}

// ------------------------------------------------- the fade of graphic controls

TsAnimTimer::TsAnimTimer(TComponent* AOwner) : TTimer(AOwner) {}

void TsAnimTimer::Construct() {
  inherited::Construct();
  ++acAnimCount;
  StartImage = CreateBmp32(0, 0);
  FrameImage = std::make_unique<TacBitmap>();
  SetEnabled(false);
  Busy = false;
  SetOnTimer(TNotifyEvent(this, &TsAnimTimer::TimerAction));
}

TsAnimTimer::~TsAnimTimer() { --acAnimCount; }

void TsAnimTimer::SetOwnerData(TsCommonData* Data) {
  OwnerData = Data;
  SetInterval(acFadeInterval);
  FadeSteps = acFadeSteps;
}

void TsAnimTimer::Timer() {
  if (ComponentState().Contains(csDestroying)) return;
  if (!ToEnd()) DoFade();
}

bool TsAnimTimer::ToEnd() {
  try {
    if (ComponentState().Contains(csDestroying)) return true;
    TControl* c = OwnerData->OwnerControl;
    if (!c || IsDestroying(c) || AppTerminating()) return true;
    if (FadeStep >= 0 && FadeStep <= FadeSteps) return false;
    PerformCommand(c, ACMD_STOP_FADE);
    return true;
  } catch (...) {
    return true;
  }
}

void TsAnimTimer::DoFade() {
  TControl* c = OwnerData ? OwnerData->OwnerControl : nullptr;
  if (Busy || !c || IsDestroying(c) || FadeSteps == 0 || FadeStep < 0) {
    ++FadeStep;
    return;
  }
  Busy = true;
  {
    TAtEnd advance([this] { ++FadeStep; });
    CopyLook(FrameImage.get(), StartImage.get());
    SumBitmaps(FrameImage.get(), OwnerData->CacheBmp.get(), FadeWeight(FadeStep, FadeSteps));
    Repaint();
    TellMagnifier();
  }
  Busy = false;  // only after a normal end: later ticks then just count
}

void TsAnimTimer::Repaint() {
  TControl* c = OwnerData->OwnerControl;
  PerformCommand(c, ACMD_SET_UPDATE_FLAG);
  PerformCommand(c, ACMD_REDRAW);
}

// ------------------------------------------------------------ the unit's functions

bool EventEnabled(TacAnimatEvent Event, TacAnimatEvents Events, TsSkinManager* SkinManager) {
  TsSkinManager* m = SkinManager ? SkinManager : DefaultManager;
  if (Events.Contains(Event)) return true;
  if (!Events.Contains(aeGlobalDef) || !m) return false;
  return m->AnimEffects()->Buttons()->Events.Contains(acBtnEvents[Event]);
}

void StopFading(TsFadeTimer*& Timer) {
  TsFadeTimer* t = Timer;
  if (!t || t->ComponentState().Contains(csDestroying)) return;
  Timer = nullptr;
  t->SetEnabled(false);
  t->SetDirection(fdNone);
  t->Free();
}

void DoChangePaint(TsFadeTimer*& Timer, TsCommonData* SkinData, bool Clicked, bool AllowAnimation,
                   TFadeDirection Direction) {
  if (!SkinData || !SkinData->Skinned(false)) return;
  if (AllowAnimation && !aSkinChanging && !FadingForbidden && SkinData->OwnerControl && SkinData->CacheBmp &&
      !SkinData->BGChanged) {
    SkinData->BGChanged = true;
    if (!Timer) {
      Timer = Create<TsFadeTimer>(SkinData->OwnerControl);
      Timer->SetEnabled(false);
      Timer->FadeStep = 1;
    } else {
      Timer->FadeStep = acFadeSteps;
    }
    Timer->SetOwnerData(SkinData);
    if (Clicked) Timer->FadeSteps /= 2;
    if (Timer->FadeStep >= Timer->FadeSteps || Timer->FadeStep < 1) Timer->FadeStep = 1;
    PerformCommand(SkinData->OwnerControl, ACMD_BUILD_CACHE);
    Timer->SetDirection(Direction);
  } else {
    if (Timer) StopFading(Timer);
    SkinData->BGChanged = true;
    if (SkinData->OwnerControl) SkinData->OwnerControl->Repaint();
  }
  ShowGlowingIfNeeded(SkinData, Clicked, nullptr);
}
