// State fading of skinned buttons: instead of switching its look at once
// when the mouse enters, leaves, presses or releases it, a button cross-fades
// from its old look to its new one in a few 12 ms steps. TsFadeTimer serves
// controls with a window and draws each frame straight onto it; TsAnimTimer
// serves a control without a window, which paints the timer's frame itself.
// Both blend the old look with the control's freshly built cache, with a
// weight that falls from step to step to 0 (the new look).
#pragma once

#include <memory>

#include "classlib/ui/ExtCtrls.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sConst.h"

// Milliseconds between two frames and the steps of a whole fade.
inline constexpr Cardinal acFadeInterval = 12;
inline constexpr Integer acFadeSteps = 11;


// The weight of the old look in step Step of Steps: 255 - Step * 255 div
// Steps, as a byte.
Integer FadeWeight(Integer Step, Integer Steps);

class TsFadeTimer : public TTimer {
  DK_CLASS(TsFadeTimer, TTimer)
 public:
  explicit TsFadeTimer(TComponent* AOwner);
  ~TsFadeTimer() override;
  void Construct() override;

  TFadeDirection Direction = fdNone;
  TsCommonData* OwnerData = nullptr;
  Integer FadeSteps = 0;
  // The step the next tick draws, from 1.
  Integer FadeStep = 0;
  // The control's look when the fade began.
  std::unique_ptr<TacBitmap> StartImage;

  // fdNone stops the ticks, fdUp and fdDown start them.
  void SetDirection(TFadeDirection Value);
  // Takes the control's state and its present look as the start.
  void SetOwnerData(TsCommonData* Data);
  // One tick. The last one ends the fade through the control, which frees
  // this timer: nothing of it is touched after that.
  void Timer() override;
  void TimerAction(TObject*) {}
  // Whether the fade has ended (the control was told to stop it).
  bool ToEnd();
  // Blends and draws one frame.
  void Change();

 private:
  // The frame being drawn, kept from one tick to the next.
  std::unique_ptr<TacBitmap> FFrame;
};

class TsAnimTimer : public TTimer {
  DK_CLASS(TsAnimTimer, TTimer)
 public:
  explicit TsAnimTimer(TComponent* AOwner);
  ~TsAnimTimer() override;
  void Construct() override;

  bool Busy = false;
  std::unique_ptr<TacBitmap> StartImage;  // filled by the owner
  std::unique_ptr<TacBitmap> FrameImage;  // painted by the owner
  TsCommonData* OwnerData = nullptr;
  Integer FadeSteps = 0;
  Integer FadeStep = 0;

  void SetOwnerData(TsCommonData* Data);
  void Timer() override;
  void TimerAction(TObject*) {}
  bool ToEnd();
  // Blends one frame into FrameImage and asks the control to redraw.
  void DoFade();
  void Repaint();
};

// Whether a mouse event of a button is animated: by the button's own events,
// or, with aeGlobalDef among them, by the manager's (nullptr: the default one).
bool EventEnabled(TacAnimatEvent Event, TacAnimatEvents Events, TsSkinManager* SkinManager = nullptr);
// Starts a fade of the control to its new look, or repaints it at once.
void DoChangePaint(TsFadeTimer*& Timer, TsCommonData* SkinData, bool Clicked, bool AllowAnimation,
                   TFadeDirection Direction = fdUp);
// Stops and frees the timer; Timer becomes nullptr.
void StopFading(TsFadeTimer*& Timer);
