#include "skin/controls/sBitBtn.h"

const int dk_link::sBitBtnUnit = 0;

TsBitBtn::TsBitBtn(TComponent* AOwner) : TBitBtn(AOwner) {}
TsBitBtn::~TsBitBtn() = default;

void TsBitBtn::Construct() {
  inherited::Construct();
  FCommonData = std::make_unique<TsCtrlSkinData>(this, true);
  FCommonData->COC = 94;
}

void TsBitBtn::AfterConstruction() {
  inherited::AfterConstruction();
  FCommonData->Loaded();
}

void TsBitBtn::Loaded() {
  inherited::Loaded();
  FCommonData->Loaded();
}

DK_PUBLISH(TsBitBtn) { P.Property("SkinData", &TsBitBtn::SkinData, &TsBitBtn::SetSkinData); }
