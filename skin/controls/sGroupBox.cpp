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
  FItems = std::make_unique<TStringList>();
  FItems->OnChange = TNotifyEvent(this, &TsRadioGroup::ItemsChange);
}

void TsRadioGroup::ReadState(TReader* Reader) {
  FReading = true;
  try {
    inherited::ReadState(Reader);
  } catch (...) {
    FReading = false;
    throw;
  }
  FReading = false;
  UpdateButtons();
}

void TsRadioGroup::Loaded() {
  inherited::Loaded();
  UpdateButtons();
}

void TsRadioGroup::SetButtonCount(int Value) {
  while (static_cast<int>(FButtons.size()) < Value) {
    auto* b = Create<TsGroupButton>(this);
    b->SetTabStop(false);
    b->OnClick = TNotifyEvent(this, &TsRadioGroup::ButtonClick);
    static_cast<TControl*>(b)->SetParent(this);
    FButtons.push_back(b);
  }
  while (static_cast<int>(FButtons.size()) > Value) {
    TsGroupButton* b = FButtons.back();
    FButtons.pop_back();
    b->Free();
  }
}

void TsRadioGroup::UpdateButtons() {
  if (FReading || ComponentState().Contains(csDestroying)) return;
  FUpdating = true;
  SetButtonCount(FItems->Count());
  if (FItemIndex >= FItems->Count()) FItemIndex = FItems->Count() - 1;
  for (int i = 0; i < ButtonCount(); ++i) {
    TsGroupButton* b = FButtons[static_cast<std::size_t>(i)];
    b->SetCaption(FItems->Strings(i));
    b->SetEnabled(Enabled());
    b->SetCheckedProp(i == FItemIndex);
  }
  FUpdating = false;
  ArrangeButtons();
}

void TsRadioGroup::ArrangeButtons() {
  if (FReading) return;
  ArrangeRadioButtons(this, Font(), FColumns, std::vector<TControl*>(FButtons.begin(), FButtons.end()));
}

void TsRadioGroup::ButtonClick(TObject* Sender) {
  if (FUpdating) return;
  for (int i = 0; i < ButtonCount(); ++i) {
    if (FButtons[static_cast<std::size_t>(i)] != Sender) continue;
    if (!FButtons[static_cast<std::size_t>(i)]->Checked()) return;
    FItemIndex = i;
    Click();
    return;
  }
}

void TsRadioGroup::ItemsChange(TObject* Sender) {
  if (FReading) return;
  if (FItemIndex >= FItems->Count()) FItemIndex = FItems->Count() - 1;
  UpdateButtons();
}

void TsRadioGroup::SetItemIndex(Integer Value) {
  if (FReading || ComponentState().Contains(csReading)) {
    FItemIndex = Value;
    return;
  }
  if (Value < -1) Value = -1;
  if (Value >= ButtonCount()) Value = ButtonCount() - 1;
  if (FItemIndex == Value) return;
  FUpdating = true;
  if (FItemIndex >= 0 && FItemIndex < ButtonCount())
    FButtons[static_cast<std::size_t>(FItemIndex)]->SetCheckedProp(false);
  FItemIndex = Value;
  if (Value >= 0) FButtons[static_cast<std::size_t>(Value)]->SetCheckedProp(true);
  FUpdating = false;
  if (!ComponentState().Contains(csLoading)) Click();
}

void TsRadioGroup::SetColumns(Integer Value) {
  if (Value < 1) Value = 1;
  if (Value > 16) Value = 16;
  if (FColumns == Value) return;
  FColumns = Value;
  ArrangeButtons();
  Invalidate();
}

void TsRadioGroup::CMFontChanged(TMessage& Message) {
  InheritedMessage(TsRadioGroup::StaticClass(), &Message);
  ArrangeButtons();
}

void TsRadioGroup::CMEnabledChanged(TMessage& Message) {
  InheritedMessage(TsRadioGroup::StaticClass(), &Message);
  for (auto* b : FButtons) b->SetEnabled(Enabled());
}

void TsRadioGroup::WMSize(TWMSize& Message) {
  InheritedMessage(TsRadioGroup::StaticClass(), &Message);
  ArrangeButtons();
}

DK_MESSAGE_HANDLER(TsRadioGroup, CM_FONTCHANGED, CMFontChanged);
DK_MESSAGE_HANDLER(TsRadioGroup, CM_ENABLEDCHANGED, CMEnabledChanged);
DK_MESSAGE_HANDLER(TsRadioGroup, WM_SIZE, WMSize);

DK_PUBLISH(TsRadioGroup) {
  P.Property("Columns", &TsRadioGroup::Columns, &TsRadioGroup::SetColumns).Default(1);
  P.Property("ItemIndex", &TsRadioGroup::ItemIndex, &TsRadioGroup::SetItemIndex).Default(-1);
  P.Property("Items", &TsRadioGroup::Items, &TsRadioGroup::SetItems);
}
