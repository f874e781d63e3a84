// The window that shows a hint: a small pop-up with a frame and the text in
// the hint colour, sized to its text and shown without taking the focus.
#pragma once

#include "classlib/ui/Controls.h"

class THintWindow : public TCustomControl {
  DK_CLASS(THintWindow, TCustomControl)
 public:
  explicit THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {}
  void Construct() override;
  // The rectangle (at 0, 0) that shows Text broken into lines of at most
  // MaxWidth pixels, with the frame and margins.
  virtual TRect CalcHintRect(Integer MaxWidth, const AnsiString& Text, void* Data);
  // Shows Text in Rect (screen coordinates) on top of every window, without
  // taking the focus.
  virtual void ActivateHint(const TRect& Rect, const AnsiString& Text);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
};

// The class of the hint windows the program makes (a THintWindow descendant).
extern TClass HintWindowClass;
