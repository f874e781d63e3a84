#include "skin/controls/sEdit.h"

const int dk_link::sEditUnit = 0;

TsEdit::TsEdit(TComponent* AOwner) : TEdit(AOwner) {}
TsEdit::~TsEdit() = default;

void TsEdit::Construct() {
  inherited::Construct();
  FCommonData = std::make_unique<TsCtrlSkinData>(this, true);
  FCommonData->COC = 2;
}

void TsEdit::AfterConstruction() {
  inherited::AfterConstruction();
  FCommonData->Loaded();
}

void TsEdit::Loaded() {
  inherited::Loaded();
  FCommonData->Loaded();
}

DK_PUBLISH(TsEdit) { P.Property("SkinData", &TsEdit::SkinData, &TsEdit::SetSkinData); }
