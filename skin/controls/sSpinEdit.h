// The skinned spin edits: an edit holding a whole number between MinValue and
// MaxValue (both 0: no limit) that the arrow keys step by Increment.
#pragma once

#include "skin/controls/sEdit.h"

class TsBaseSpinEdit : public TsEdit {
  DK_CLASS(TsBaseSpinEdit, TsEdit)
  DK_MESSAGES(TsBaseSpinEdit)
 public:
  using TsEdit::TsEdit;

 protected:
  virtual void UpClick() {}
  virtual void DownClick() {}

 public:  // message handlers
  void WMKeyDown(TWMKey& Message);
};

class TsSpinEdit : public TsBaseSpinEdit {
  DK_CLASS(TsSpinEdit, TsBaseSpinEdit)
 public:
  using TsBaseSpinEdit::TsBaseSpinEdit;
  Integer MinValue() const { return FMinValue; }
  void SetMinValue(Integer Value) { FMinValue = Value; }
  Integer MaxValue() const { return FMaxValue; }
  void SetMaxValue(Integer Value) { FMaxValue = Value; }
  Integer Increment() const { return FIncrement; }
  void SetIncrement(Integer Value) { FIncrement = Value; }
  // Computed from the text (MinValue when it is not a number), kept in range.
  Integer Value() const;
  void SetValue(Integer Value);

 protected:
  void UpClick() override;
  void DownClick() override;

 private:
  Integer CheckValue(Integer Value) const;
  Integer FMinValue = 0;
  Integer FMaxValue = 0;
  Integer FIncrement = 1;
};

DK_LINK_UNIT(sSpinEdit)
