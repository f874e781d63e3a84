// The skinned combo box: the edits' kind code and a section of its own.
// Until a skin is loaded it paints in the class library's plain look
// (sSkinnedControl.h).
#pragma once

#include "classlib/ui/StdCtrls.h"
#include "skin/controls/sSkinnedControl.h"

using TsComboBoxBase = TsSkinnedControl<TComboBox, TsCtrlSkinData, COC_TsCustomComboBox>;

class TsComboBox : public TsComboBoxBase {
  DK_CLASS(TsComboBox, TsComboBoxBase)
 public:
  using TsComboBoxBase::TsComboBoxBase;

 protected:
  const char* OwnSection() const override { return "COMBOBOX"; }
};

DK_LINK_UNIT(sComboBox)
