#include "skin/controls/sGroupBox.h"

const int dk_link::sGroupBoxUnit = 0;

#include "classlib/ui/ExtCtrls.h"

// ================================================================ TsGroupBox

TsGroupBox::TsGroupBox(TComponent* AOwner) : TGroupBox(AOwner) {}
TsGroupBox::~TsGroupBox() = default;

void TsGroupBox::Construct() {
  inherited::Construct();
  FCommonData = std::make_unique<TsCommonData>(this, true);
  FCommonData->COC = 74;
}

void TsGroupBox::AfterConstruction() {
  inherited::AfterConstruction();
  FCommonData->Loaded();
}

void TsGroupBox::Loaded() {
  inherited::Loaded();
  FCommonData->Loaded();
}

DK_PUBLISH(TsGroupBox) { P.Property("SkinData", &TsGroupBox::SkinData, &TsGroupBox::SetSkinData); }
DK_PUBLISH(TsGroupButton) {}

// ============================================================== TsRadioGroup

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
  FButtons->SetReading(true);
  try {
    inherited::ReadState(Reader);
  } catch (...) {
    FButtons->SetReading(false);
    throw;
  }
  FButtons->SetReading(false);
  FButtons->Update();
}

void TsRadioGroup::Loaded() {
  inherited::Loaded();
  FButtons->Update();
}

void TsRadioGroup::CMFontChanged(TMessage& Message) {
  InheritedMessage(TsRadioGroup::StaticClass(), &Message);
  FButtons->Arrange();
}

void TsRadioGroup::CMEnabledChanged(TMessage& Message) {
  InheritedMessage(TsRadioGroup::StaticClass(), &Message);
  FButtons->SetEnabled(Enabled());
}

void TsRadioGroup::WMSize(TWMSize& Message) {
  InheritedMessage(TsRadioGroup::StaticClass(), &Message);
  FButtons->Arrange();
}

DK_MESSAGE_UNIT(TsRadioGroup);
DK_MESSAGE_HANDLER(TsRadioGroup, CM_FONTCHANGED, CMFontChanged);
DK_MESSAGE_HANDLER(TsRadioGroup, CM_ENABLEDCHANGED, CMEnabledChanged);
DK_MESSAGE_HANDLER(TsRadioGroup, WM_SIZE, WMSize);

DK_PUBLISH(TsRadioGroup) {
  P.Property("Columns", &TsRadioGroup::Columns, &TsRadioGroup::SetColumns).Default(1);
  P.Property("ItemIndex", &TsRadioGroup::ItemIndex, &TsRadioGroup::SetItemIndex).Default(-1);
  P.Property("Items", &TsRadioGroup::Items, &TsRadioGroup::SetItems);
}
