// The skinned bit button (caption and glyph). Until a skin is loaded it paints
// in the class library's plain look (sSkinnedControl.h).
#pragma once

#include "classlib/ui/Buttons.h"
#include "skin/controls/sSkinnedControl.h"

using TsBitBtnBase = TsSkinnedControl<TBitBtn, TsCtrlSkinData, COC_TsBitBtn>;

class TsBitBtn : public TsBitBtnBase {
  DK_CLASS(TsBitBtn, TsBitBtnBase)
 public:
  using TsBitBtnBase::TsBitBtnBase;
};

DK_LINK_UNIT(sBitBtn)
