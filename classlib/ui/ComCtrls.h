// Common controls: the up-down control.
#pragma once

#include "classlib/ui/StdCtrls.h"

DK_ENUM(TUDAlignButton, udLeft, udRight);
DK_ENUM(TUDOrientation, udHorizontal, udVertical);
DK_ENUM(TUDBtnType, btNext, btPrev);
// The kinds of tool buttons (also taken by skinned speed buttons).
DK_ENUM(TToolButtonStyle, tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider);
using TUDClickEvent = TClosure<void(TObject* Sender, TUDBtnType Button)>;
using TUDChangingEvent = TClosure<void(TObject* Sender, bool& AllowChange)>;

// Two arrow buttons that step Position between Min and Max by Increment; an
// associated control (an edit) shows the position and gets the arrows placed
// beside it.
class TCustomUpDown : public TWinControl {
  DK_CLASS(TCustomUpDown, TWinControl)
  DK_MESSAGES(TCustomUpDown)
 public:
  explicit TCustomUpDown(TComponent* AOwner);
  void Construct() override;

  SmallInt Min() const { return FMin; }
  void SetMin(SmallInt Value);
  SmallInt Max() const { return FMax; }
  void SetMax(SmallInt Value);
  SmallInt Position();
  void SetPosition(SmallInt Value);
  Integer Increment() const { return FIncrement; }
  void SetIncrement(Integer Value);
  TUDOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TUDOrientation Value);
  TUDAlignButton AlignButton() const { return FAlignButton; }
  void SetAlignButton(TUDAlignButton Value);
  TWinControl* Associate() const { return FAssociate; }
  void SetAssociate(TWinControl* Value);
  bool ArrowKeys() const { return FArrowKeys; }
  void SetArrowKeys(bool Value);
  bool Thousands() const { return FThousands; }
  void SetThousands(bool Value);
  bool Wrap() const { return FWrap; }
  void SetWrap(bool Value);

  TUDClickEvent OnClick;
  TUDChangingEvent OnChanging;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual bool CanChange();
  virtual void Click(TUDBtnType Button);
  void UpdateAssociate();

 public:  // message handlers
  void CNNotify(TWMNotify& Message);
  void CNScroll(TWMScroll& Message);

 private:
  SmallInt FMin = 0, FMax = 100, FPosition = 0;
  Integer FIncrement = 1;
  TUDOrientation FOrientation = udVertical;
  TUDAlignButton FAlignButton = udRight;
  TWinControl* FAssociate = nullptr;
  bool FArrowKeys = true;
  bool FThousands = true;
  bool FWrap = false;
};

class TUpDown : public TCustomUpDown {
  DK_CLASS(TUpDown, TCustomUpDown)
 public:
  using TCustomUpDown::TCustomUpDown;
};

DK_LINK_UNIT(ComCtrls)
