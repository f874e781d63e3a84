#include "skin/core/sCommonData.h"

AnsiString DefaultSkinSection(int KindCode, const AnsiString& ClassName) {
  int k = KindCode;
  if ((k >= 2 && k <= 8) || k == 10 || k == 41 || k == 76 || k == 78 || (k >= 83 && k <= 85) || k == 96 ||
      k == 131 || k == 140 || k == 230)
    return "EDIT";
  if ((k >= 11 && k <= 18) || k == 81 || k == 82) return "COMBOBOX";
  switch (k) {
    case 19: return "BAR";
    case 20: return "BARTITLE";
    case 32: case 33: case 50: case 152: return "CHECKBOX";
    case 34: return "PANEL_LOW";
    case 51: case 59: case 68: case 73: return "PANEL";
    case 52: case 58: return "PANEL_LOW";
    case 53: case 54: case 60: return "TOOLBAR";
    case 56: return "DRAGBAR";
    case 57: return "TABSHEET";
    case 74: case 226: return "GROUPBOX";
    case 75: return "SPLITTER";
    case 92: case 95: return "SPEEDBUTTON";
    case 93: case 94: return "BUTTON";
    case 98: return "TOOLBUTTON";
    case 141: case 143: return "PAGECONTROL";
    case 151: return "STATUSBAR";
    case 161: return "GAUGE";
    case 165: return "TRACKBAR";
    default: return UpperCase(ClassName);
  }
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
