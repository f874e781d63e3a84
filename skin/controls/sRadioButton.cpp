#include "skin/controls/sRadioButton.h"

const int dk_link::sRadioButtonUnit = 0;

TsRadioButton::TsRadioButton(TComponent* AOwner) : TRadioButton(AOwner) {}
TsRadioButton::~TsRadioButton() = default;

void TsRadioButton::Construct() {
  inherited::Construct();
  FCommonData = std::make_unique<TsCtrlSkinData>(this, true);
  FCommonData->COC = 33;
}

void TsRadioButton::AfterConstruction() {
  inherited::AfterConstruction();
  FCommonData->Loaded();
}

void TsRadioButton::Loaded() {
  inherited::Loaded();
  FCommonData->Loaded();
}

DK_PUBLISH(TsRadioButton) { P.Property("SkinData", &TsRadioButton::SkinData, &TsRadioButton::SetSkinData); }
