#include "skin/controls/sListBox.h"

const int dk_link::sListBoxUnit = 0;

TsCustomListBox::TsCustomListBox(TComponent* AOwner) : TListBox(AOwner) {}
TsCustomListBox::~TsCustomListBox() = default;

void TsCustomListBox::Construct() {
  inherited::Construct();
  FCommonData = std::make_unique<TsScrollWndData>(this, true);
  FCommonData->COC = 5;
}

void TsCustomListBox::AfterConstruction() {
  inherited::AfterConstruction();
  FCommonData->Loaded();
}

void TsCustomListBox::Loaded() {
  inherited::Loaded();
  FCommonData->Loaded();
}

DK_PUBLISH(TsCustomListBox) { P.Property("SkinData", &TsCustomListBox::SkinData, &TsCustomListBox::SetSkinData); }
DK_PUBLISH(TsListBox) {}
