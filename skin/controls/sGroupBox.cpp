#include "skin/controls/sGroupBox.h"

DK_UNIT(sGroupBox);

DK_PUBLISH(TsGroupBox) { PublishSkinData(P); }
DK_PUBLISH(TsGroupButton) {}

TsRadioGroup::TsRadioGroup(TComponent* AOwner) : TsGroupBox(AOwner) {}
TsRadioGroup::~TsRadioGroup() = default;

void TsRadioGroup::Construct() {
  inherited::Construct();
  FControlStyle.Exclude(csAcceptsControls);
  FButtons = std::make_unique<TRadioGroupButtons>(
      this, [this] { return Create<TsGroupButton>(this); }, true);
  FButtons->OnChange = TNotifyEvent(this, &TsRadioGroup::ButtonsChanged);
}

void TsRadioGroup::ReadState(TReader* Reader) {
  FButtons->Read([&] { inherited::ReadState(Reader); });
}

void TsRadioGroup::Loaded() {
  inherited::Loaded();
  FButtons->Update();
}

void TsRadioGroup::WndProc(TMessage& Message) {
  inherited::WndProc(Message);
  FButtons->Follow(Message);
}

DK_PUBLISH(TsRadioGroup) {
  P.Property("Columns", &TsRadioGroup::Columns, &TsRadioGroup::SetColumns).Default(1);
  P.Property("ItemIndex", &TsRadioGroup::ItemIndex, &TsRadioGroup::SetItemIndex).Default(-1);
  P.Property("Items", &TsRadioGroup::Items, &TsRadioGroup::SetItems);
}
