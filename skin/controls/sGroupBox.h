// The skinned group box and the skinned radio group. The radio group keeps its
// own list of radio buttons, one per line of Items, laid out in Columns;
// ItemIndex is the checked one (-1: none). Plain look until a skin is loaded.
#pragma once

#include <memory>

#include "classlib/ui/ExtCtrls.h"
#include "skin/controls/sRadioButton.h"
#include "skin/controls/sSkinnedControl.h"

using TsGroupBoxBase = TsSkinnedControl<TGroupBox, TsCommonData, COC_TsGroupBox>;

class TsGroupBox : public TsGroupBoxBase {
  DK_CLASS(TsGroupBox, TsGroupBoxBase)
 public:
  using TsGroupBoxBase::TsGroupBoxBase;
};

// A radio button that its group creates, owns and places.
class TsGroupButton : public TsRadioButton {
  DK_CLASS(TsGroupButton, TsRadioButton)
 public:
  using TsRadioButton::TsRadioButton;
};

// The buttons' logic is the class library's radio group's (TRadioGroupOf).
using TsRadioGroupBase = TRadioGroupOf<TsGroupBox>;

class TsRadioGroup : public TsRadioGroupBase {
  DK_CLASS(TsRadioGroup, TsRadioGroupBase)
 public:
  using TsRadioGroupBase::TsRadioGroupBase;
  void Construct() override;
  TsGroupButton* Buttons(int Index) const { return static_cast<TsGroupButton*>(FButtons->Buttons(Index)); }
};

DK_LINK_UNIT(sGroupBox)
