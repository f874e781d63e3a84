#include "skin/controls/sButton.h"

const int dk_link::sButtonUnit = 0;

TsButton::TsButton(TComponent* AOwner) : TButton(AOwner) {}
TsButton::~TsButton() = default;

void TsButton::Construct() {
  inherited::Construct();
  FCommonData = std::make_unique<TsCtrlSkinData>(this, true);
  FCommonData->COC = 93;
}

void TsButton::AfterConstruction() {
  inherited::AfterConstruction();
  FCommonData->Loaded();
}

void TsButton::Loaded() {
  inherited::Loaded();
  FCommonData->Loaded();
}

DK_PUBLISH(TsButton) { P.Property("SkinData", &TsButton::SkinData, &TsButton::SetSkinData); }
