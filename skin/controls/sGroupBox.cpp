#include "skin/controls/sGroupBox.h"

DK_UNIT(sGroupBox);

DK_PUBLISH(TsGroupBox) { PublishSkinData(P); }
DK_PUBLISH(TsGroupButton) {}

void TsRadioGroup::Construct() {
  inherited::Construct();
  MakeButtons([this] { return Create<TsGroupButton>(this); }, true);
}

DK_PUBLISH(TsRadioGroup) { PublishRadioGroup(P); }
