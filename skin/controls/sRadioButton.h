// The skinned radio button. Until a skin is loaded it paints
// in the class library's plain look (sSkinnedControl.h).
#pragma once

#include "classlib/ui/StdCtrls.h"
#include "skin/controls/sSkinnedControl.h"

using TsRadioButtonBase = TsSkinnedControl<TRadioButton, TsCtrlSkinData, COC_TsRadioButton>;

class TsRadioButton : public TsRadioButtonBase {
  DK_CLASS(TsRadioButton, TsRadioButtonBase)
 public:
  using TsRadioButtonBase::TsRadioButtonBase;
};

DK_LINK_UNIT(sRadioButton)
