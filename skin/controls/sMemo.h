// The skinned multi-line edit. Until a skin is loaded it paints
// in the class library's plain look (sSkinnedControl.h).
#pragma once

#include "classlib/ui/StdCtrls.h"
#include "skin/controls/sSkinnedControl.h"

using TsMemoBase = TsSkinnedControl<TMemo, TsScrollWndData, COC_TsMemo>;

class TsMemo : public TsMemoBase {
  DK_CLASS(TsMemo, TsMemoBase)
 public:
  using TsMemoBase::TsMemoBase;
};

DK_LINK_UNIT(sMemo)
