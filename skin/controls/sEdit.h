// The skinned single-line edit. Until a skin is loaded it paints
// in the class library's plain look (sSkinnedControl.h).
#pragma once

#include "classlib/ui/StdCtrls.h"
#include "skin/controls/sSkinnedControl.h"

using TsEditBase = TsSkinnedControl<TEdit, TsCtrlSkinData, COC_TsEdit>;

class TsEdit : public TsEditBase {
  DK_CLASS(TsEdit, TsEditBase)
 public:
  using TsEditBase::TsEditBase;
};

DK_LINK_UNIT(sEdit)
