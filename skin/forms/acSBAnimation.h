// The fade of a title button: when the mouse enters a button of a skinned
// caption its hot picture fades in within a small layered window lying over
// the button, fades out when the mouse leaves, and a pressed button shows its
// pressed picture at once. For close, maximize and minimize the skin may give
// a larger glow picture that is shown instead.
#pragma once

#include <memory>

#include "classlib/ui/ExtCtrlsTimer.h"
#include "classlib/ui/Forms.h"
#include "skin/graphics/acBitmap.h"

class TacBorderForm;
class TsCommonData;
class TsSkinProvider;
class TacDialogWnd;
struct TsCaptionButton;

// Button states the callers pass.
constexpr Integer sbsNormal = 0, sbsHot = 1, sbsPressed = 2;
// Steps of a fade (one per 12 ms tick).
constexpr Integer sbFadeSteps = 10;

class TacSBAnimation : public TTimer {
  DK_CLASS(TacSBAnimation, TTimer)
 public:
  explicit TacSBAnimation(TComponent* AOwner);
  ~TacSBAnimation() override;

  // The first frame of a new animation of State.
  void StartAnimation(Integer AState, bool AFadeIn);
  // One step (the timer's event).
  void OnAnimTimer(TObject* Sender);
  // The alpha of one step.
  Integer Step() const { return Steps > 0 ? 255 / Steps : 0; }
  void ChangeState(bool AFadeIn);
  // Ends the hold of the hot picture when the mouse left the button.
  void CheckMouseLeave();
  // The glow window's rectangle on the screen.
  TRect GetFormBounds();
  // How far a glow picture reaches out of the button.
  Integer Offset();
  void MakeForm();
  void MakeImg();
  void UpdateForm(Integer Alpha);

  TacBorderForm* BorderForm = nullptr;
  TsCommonData* SkinData = nullptr;
  HWND OwnerWnd = nullptr;
  TsSkinProvider* Provider = nullptr;  // when the owner is a provider
  TsCaptionButton* Button = nullptr;
  Integer CurrentStep = 0;
  Integer State = 0;  // the state shown; -1 after a finished fade-out
  bool FadingIn = false;
  Integer Steps = 0;  // -1 after a finished fade-in
  std::unique_ptr<TCustomForm> GlowForm;
  std::unique_ptr<TacBitmap> Image;

  // Frees the glow window and its picture.
  void FreeWindow();

 private:
  // The glow picture of the button in the skin, -1 when there is none or
  // glowing does not apply now.
  Integer GlowIndex();
};

// Starts or redirects the fade of Button for State over Steps steps, for the
// provider's form (or a skinned dialog's window; a dialog is not served yet:
// without a provider nothing happens).
void StartSBAnimation(TsCaptionButton* Button, Integer State, Integer Steps, bool FadeIn, TsSkinProvider* Provider,
                      TacDialogWnd* Dialog = nullptr);
