#include "skin/controls/sMemo.h"

const int dk_link::sMemoUnit = 0;

TsMemo::TsMemo(TComponent* AOwner) : TMemo(AOwner) {}
TsMemo::~TsMemo() = default;

void TsMemo::Construct() {
  inherited::Construct();
  FCommonData = std::make_unique<TsScrollWndData>(this, true);
  FCommonData->COC = 7;
}

void TsMemo::AfterConstruction() {
  inherited::AfterConstruction();
  FCommonData->Loaded();
}

void TsMemo::Loaded() {
  inherited::Loaded();
  FCommonData->Loaded();
}

DK_PUBLISH(TsMemo) { P.Property("SkinData", &TsMemo::SkinData, &TsMemo::SetSkinData); }
