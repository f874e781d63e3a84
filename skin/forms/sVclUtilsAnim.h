// The show, hide, minimize and restore animations of skinned forms, and the
// small layered-window tools they share.
//
// All of them work on 32-bit pictures of the form painted by the skin, shown
// in a layered window above the real one, which stays hidden or frozen until
// the picture is in place. Show animations run at once on the user-interface
// thread (frames of 12 ms, waited for without handling messages); the hide
// animation and the minimize flight run on threaded timers, one frame per
// tick, so that the caller can hide the real window at once. Every picture
// reaches the screen through UpdateLayeredWindow (source over, a constant
// alpha and the picture's own alpha).
//
// Here the monitor keeps the extended borders off: forms with a border window
// are animated as forms without one.
#pragma once

#include <memory>

#include "classlib/ui/Forms.h"
#include "skin/core/acThdTimer.h"
#include "skin/core/sConst.h"
#include "skin/graphics/acBitmap.h"

class TsSkinProvider;

// ------------------------------------------------- layered-window tools

// Shows Bmp in the layered window Wnd (made layered when it is not) with the
// constant alpha Value at Pos (nullptr: where it is); a nullptr Bmp shows a
// transparent picture of the window's size.
void SetFormBlendValue(HWND Wnd, TacBitmap* Bmp, Integer Value, const TPoint* Pos = nullptr);
// Layered: makes Wnd layered (when layered windows exist) with the constant
// alpha Alpha; true when it added the style. Otherwise takes the layered
// style and the visible style away without redrawing (false).
bool DoLayered(HWND Wnd, bool Layered, Byte Alpha);
// A new borderless form lying over Wnd, topmost and shown without
// activation, that shows a copy of how Wnd looks now. The caller owns it.
TForm* MakeCoverForm(HWND Wnd);
// A new 32-bit picture of the whole form as it looks now, of the size of the
// provider's image of its window (nullptr while it has none); opaque without
// a border window. FreeCache frees the provider's image (the caller puts the
// result in its place). The caller owns the result.
std::unique_ptr<TacBitmap> GetFormImage(TsSkinProvider* Provider, bool FreeCache);

// ------------------------------------------------------- show and hide

// Frames of an animation of Time ms (0 below 12 ms: the picture at once).
constexpr Integer AnimationFrames(Integer Time) { return Time / 12; }

// Shows the provider's form through its picture fading (or zooming) in to the
// constant alpha Alpha in Time ms; the form itself is redrawn under it.
void AnimShowForm(TsSkinProvider* Provider, Word Time, Integer Alpha = 255, TacAnimType Mode = atFading);
// Hides the provider's form (a TsSkinProvider) with the manager's form-hide
// animation: the form loses its visible style at once while its picture
// fades out on the hide timer. True when such frames really started (a hide
// of 0 ms, a form without picture or an MDI child start none).
bool AnimHideForm(TObject* Provider);
// The shared start of the hide animations: Window (taken over) shows Image
// (taken over) and fades or shrinks it out in Time ms on the hide timer.
// Handle: the window whose provider hears that the hide ended (nullptr: none).
// True when frames started; below 12 ms the window and the image are freed
// at once.
bool StartHideAnimation(TCustomForm* Window, std::unique_ptr<TacBitmap> Image, Word Time, HWND Handle,
                        TacAnimType Mode, Integer Alpha);
// A control shown again after a change. A form with a provider cross-fades
// (or zooms) from nothing to its new look in Time ms (the skin change's
// animation); other controls are shown and redrawn at once.
void AnimShowControl(TWinControl* Control, Word Time = 0, Integer MaxTransparency = 255,
                     TacAnimTypeCtrl AnimType = atcFade);

// Takes the screen image of Control before a change and lays the output
// window over it (blur mode: the control's background becomes transparent
// in the image).
void PrepareForAnimation(TWinControl* Control, TacAnimTypeCtrl Mode);
// AnimShowControl's part for controls: the image taken before fades (or
// blurs) into the control's new look in Time ms, then the output window goes.
void AnimShowChangedControl(TWinControl* Control, Word Time, TacAnimTypeCtrl Mode);

// The one timer of the hide animations (12 ms frames on a worker thread).
class TacHideTimer : public TacThreadedTimer {
  DK_CLASS(TacHideTimer, TacThreadedTimer)
 public:
  explicit TacHideTimer(TComponent* AOwner);
  ~TacHideTimer() override;

  // One frame (the timer's event).
  void OnTimerProc(TObject* Sender);
  void Anim_Init();
  void Anim_DoNext();
  void Anim_GoToNext();
  // Tells the provider of WindowHandle once that the hide ended.
  void CallEvent();
  // Ends a running hide at once: the last frame (alpha 0) is shown, the
  // provider told, the window and the pictures freed.
  void FinishNow();

  HWND WindowHandle = nullptr;
  std::unique_ptr<TCustomForm> AnimForm;  // the layered window of the fading picture
  Integer Width = 0, Height = 0;
  Byte BlendAlpha = 255;
  double StepX = 0, StepY = 0;
  // The picture's rectangle while it shrinks; in fade mode Left marks that
  // the picture was copied into the frame.
  double Left = 0, Top = 0, Right = 0, Bottom = 0;
  Integer StartAlpha = 255;
  Integer Counter = 0;
  Integer Frames = 0;
  TacAnimType Mode = atFading;
  bool EventFired = false;
  double Alpha = 0, AlphaStep = 0;
  std::unique_ptr<TacBitmap> Image;
  std::unique_ptr<TacBitmap> FrameImage;
};
// The hide timer (nullptr until the first hide animation; owned by the
// application object).
extern TacHideTimer* acHideTimer;

// ------------------------------------------------- minimize and restore

// The flight of a form's picture toward its task-bar button when the form is
// minimized, and back when it is restored. Without composition on a system
// of version 6 or later it has a single frame: the picture at full alpha
// vanishes at once and comes back at once.
class TacMinTimer : public TacThreadedTimer {
  DK_CLASS(TacMinTimer, TacThreadedTimer)
 public:
  explicit TacMinTimer(TComponent* AOwner);
  // The provider's timer: ticks call TimeHandler; set up at once.
  TacMinTimer(TsSkinProvider* Provider, bool UseTimeEvent);
  ~TacMinTimer() override;
  void AfterConstruction() override;
  // One frame of the flight.
  void TimeHandler() override;
  void InitData();
  void CalcSteps();
  TRect GetTargetRect();
  Byte MaxAlpha() const;
  void DrawFrame();
  void EndMinimizing();
  void EndRestoring();

  TRect RectFrom, RectTo;
  double CurLeft = 0, CurTop = 0, CurRight = 0, CurBottom = 0;
  double DeltaX = 0, DeltaY = 0;
  Integer XFrom = 0, XTo = 0, YFrom = 0, YTo = 0;
  double dW = 0, dH = 0;
  Byte AlphaTo = 0;  // the lowest alpha of the flight
  double Alpha = 0, AlphaStep = 0;
  std::unique_ptr<TCustomForm> AnimForm;  // the cover showing the flight
  Integer TBPosition = 0;                 // the task bar's edge when its button was not found
  TsSkinProvider* Provider = nullptr;
  HWND FormHandle = nullptr;
  std::unique_ptr<TacBitmap> Image;       // the form's picture
  std::unique_ptr<TacBitmap> FrameImage;  // one frame, the start rectangle's size
  bool Restoring = false;
  Integer Frames = 1;
};
// The provider's minimize timer when it flies back (nullptr otherwise).
TacMinTimer* RestoringMinTimer(TsSkinProvider* Provider);
// Starts the minimize flight of the provider's form (when the manager's
// Minimizing animation is on and none runs yet).
void StartMinimizing(TsSkinProvider* Provider);
// Starts the flight back after a minimize flight; true in every case.
bool StartRestoring(TsSkinProvider* Provider);

// ------------------------------------------------- the system's animation

// Switches the system's minimize and restore animation off for a scope when
// it is on (for this session only: the user's profile is not written), and
// back on when the scope ends, however it ends.
// (Get and Set reach the system's setting; tests put their own in.)
class TacSystemAnimationOff {
 public:
  using TGet = bool (*)();
  using TSet = void (*)(bool On);
  explicit TacSystemAnimationOff(TGet Get = nullptr, TSet Set = nullptr);
  ~TacSystemAnimationOff();
  TacSystemAnimationOff(const TacSystemAnimationOff&) = delete;
  TacSystemAnimationOff& operator=(const TacSystemAnimationOff&) = delete;

 private:
  TSet FSet;
  bool FWasOn;
};

// ----------------------------------------------------- blend on moving

// The fade of a form (or a system dialog) dragged by its caption: one step
// toward the target alpha per 12 ms tick while the system's move loop runs.
class TacMoveTimer : public TacThreadedTimer {
  DK_CLASS(TacMoveTimer, TacThreadedTimer)
 public:
  explicit TacMoveTimer(TComponent* AOwner) : TacThreadedTimer(AOwner) {}
  TacMoveTimer(TComponent* AOwner, bool UseTimeEvent) : TacThreadedTimer(AOwner, UseTimeEvent) {}
  ~TacMoveTimer() override;
  // Shows the current alpha on the window, then takes one step toward the
  // target (it may end one step below it).
  void TimeHandler() override;

  Byte TargetAlpha = 255;
  double Alpha = 255.0;
  double AlphaStep = 0;
  HWND FormHandle = nullptr;
};

// What runs the system's move loop of a window dragged by its caption (a
// modal loop that returns when the mouse is released). Tests put their own
// loop in its place.
using TacMoveLoop = void (*)(HWND Wnd);
extern TacMoveLoop acMoveLoop;

// The provider's form turns translucent while it is dragged by its caption
// (the manager's BlendOnMoving). With DoMove the system's move loop runs at
// once and FinishBlendOnMoving ends it; without, the caller ends it.
void StartBlendOnMoving(TsSkinProvider* Provider, bool DoMove);
// The drag ended: the form is opaque and redrawn, the move timer freed.
// Cover (taken over, may be nullptr) hides the redraw.
void FinishBlendOnMoving(TsSkinProvider* Provider, TCustomForm* Cover);

class TacDialogWnd;
// The same for a skinned system dialog; the move loop runs at once.
void StartBlendOnMovingDlg(TacDialogWnd* Dialog);
