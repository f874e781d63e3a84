#include "skin/controls/sPanel.h"

const int dk_link::sPanelUnit = 0;

TsPanel::TsPanel(TComponent* AOwner) : TPanel(AOwner) {}
TsPanel::~TsPanel() = default;

void TsPanel::Construct() {
  inherited::Construct();
  FCommonData = std::make_unique<TsCommonData>(this, true);
  FCommonData->COC = 51;
}

void TsPanel::AfterConstruction() {
  inherited::AfterConstruction();
  FCommonData->Loaded();
}

void TsPanel::Loaded() {
  inherited::Loaded();
  FCommonData->Loaded();
}

DK_PUBLISH(TsPanel) { P.Property("SkinData", &TsPanel::SkinData, &TsPanel::SetSkinData); }
