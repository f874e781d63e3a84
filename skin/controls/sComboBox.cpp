#include "skin/controls/sComboBox.h"

const int dk_link::sComboBoxUnit = 0;

TsComboBox::TsComboBox(TComponent* AOwner) : TComboBox(AOwner) {}
TsComboBox::~TsComboBox() = default;

void TsComboBox::Construct() {
  inherited::Construct();
  FCommonData = std::make_unique<TsCtrlSkinData>(this, true);
  FCommonData->COC = 11;
}

void TsComboBox::AfterConstruction() {
  inherited::AfterConstruction();
  FCommonData->Loaded();
}

void TsComboBox::Loaded() {
  inherited::Loaded();
  FCommonData->Loaded();
}

DK_PUBLISH(TsComboBox) { P.Property("SkinData", &TsComboBox::SkinData, &TsComboBox::SetSkinData); }
