// The skinned panel. Until a skin is loaded it paints
// in the class library's plain look (sSkinnedControl.h).
#pragma once

#include "classlib/ui/ExtCtrls.h"
#include "skin/controls/sSkinnedControl.h"

using TsPanelBase = TsSkinnedControl<TPanel, TsCommonData, COC_TsPanel>;

class TsPanel : public TsPanelBase {
  DK_CLASS(TsPanel, TsPanelBase)
 public:
  using TsPanelBase::TsPanelBase;
};

DK_LINK_UNIT(sPanel)
