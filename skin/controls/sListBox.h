// The skinned list box. Until a skin is loaded it paints in the class
// library's plain look (sSkinnedControl.h).
#pragma once

#include "classlib/ui/StdCtrls.h"
#include "skin/controls/sSkinnedControl.h"

using TsCustomListBoxBase = TsSkinnedControl<TListBox, TsScrollWndData, COC_TsCustomListBox>;

class TsCustomListBox : public TsCustomListBoxBase {
  DK_CLASS(TsCustomListBox, TsCustomListBoxBase)
 public:
  using TsCustomListBoxBase::TsCustomListBoxBase;
};

class TsListBox : public TsCustomListBox {
  DK_CLASS(TsListBox, TsCustomListBox)
 public:
  using TsCustomListBox::TsCustomListBox;
};

DK_LINK_UNIT(sListBox)
