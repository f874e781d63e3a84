#include "skin/core/sCommonData.h"

#include "skin/core/sKindCodes.h"

AnsiString DefaultSkinSection(int KindCode, const AnsiString& ClassName) {
  const char* section = sKind::DefaultSection(KindCode);
  return section ? AnsiString(section) : UpperCase(ClassName);
}

TsCommonData::TsCommonData(TComponent* AOwner, bool) : FOwnerControl(AOwner) {}

void TsCommonData::SetSkinSection(const AnsiString& Value) { FSkinSection = UpperCase(Value); }

void TsCommonData::Loaded() {
  if (FSkinSection.empty())
    FSkinSection = DefaultSkinSection(COC, FOwnerControl ? FOwnerControl->ClassName() : AnsiString());
}

void TsCommonData::AssignTo(TPersistent* Dest) {
  if (auto* d = dynamic_cast<TsCommonData*>(Dest)) {
    d->FSkinSection = FSkinSection;
    d->FCustomColor = FCustomColor;
    d->FCustomFont = FCustomFont;
    return;
  }
  inherited::AssignTo(Dest);
}

DK_PUBLISH(TsCommonData) {
  P.Property("CustomColor", &TsCommonData::CustomColor, &TsCommonData::SetCustomColor).Default(false);
  P.Property("CustomFont", &TsCommonData::CustomFont, &TsCommonData::SetCustomFont).Default(false);
  P.Property("SkinSection", &TsCommonData::SkinSection, &TsCommonData::SetSkinSection);
}
DK_PUBLISH(TsCtrlSkinData) {}
DK_PUBLISH(TsScrollWndData) {}
