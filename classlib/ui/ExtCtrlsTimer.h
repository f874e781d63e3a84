// The window timer (part of ExtCtrls.h).
#pragma once

#include "classlib/ui/Controls.h"

// A window timer: OnTimer runs every Interval milliseconds while Enabled,
// from the message loop (also inside modal loops and ProcessMessages).
class TTimer : public TComponent {
  DK_CLASS(TTimer, TComponent)
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;
  void Construct() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  Cardinal Interval() const { return FInterval; }
  void SetInterval(Cardinal Value);
  TNotifyEvent OnTimer;
  void SetOnTimer(TNotifyEvent Value);
  TNotifyEvent GetOnTimer() const { return OnTimer; }

 protected:
  virtual void Timer();
  void Loaded() override;

 private:
  void UpdateTimer();
  void WndProc(TMessage& Message);
  HWND FWindowHandle = nullptr;
  bool FEnabled = true;
  Cardinal FInterval = 1000;
};
