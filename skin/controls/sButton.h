// The skinned push button. Until a skin is loaded it paints
// in the class library's plain look (sSkinnedControl.h).
#pragma once

#include "classlib/ui/StdCtrls.h"
#include "skin/controls/sSkinnedControl.h"

using TsButtonBase = TsSkinnedControl<TButton, TsCtrlSkinData, COC_TsButton>;

class TsButton : public TsButtonBase {
  DK_CLASS(TsButton, TsButtonBase)
 public:
  using TsButtonBase::TsButtonBase;
};

DK_LINK_UNIT(sButton)
