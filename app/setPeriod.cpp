#include "app/setPeriod.h"

#include "app/Unit1.h"

TsetPeriodDlg* setPeriodDlg = nullptr;

void TsetPeriodDlg::Loaded() {
  inherited::Loaded();
  RadioGroup1 = static_cast<TsRadioGroup*>(FindComponent("RadioGroup1"));
  AutoLogCB = static_cast<TCheckBox*>(FindComponent("AutoLogCB"));
}

void TsetPeriodDlg::FormActivate(TObject*) {
  RadioGroup1->SetItemIndex(PollPeriod == 100 ? 0 : PollPeriod == 500 ? 1 : 2);
  AutoLogCB->SetCheckedProp(AutoLog);
}

void TsetPeriodDlg::OKBtnClick(TObject*) {
  int item = RadioGroup1->ItemIndex();
  PollPeriod = item == 0 ? 100 : item == 1 ? 500 : 1000;
  AutoLog = AutoLogCB->Checked();
  PeriodTicks = static_cast<unsigned>(PollPeriod / 10);
  SaveAppSettings();
}

void TsetPeriodDlg::FormKeyUp(TObject*, Word& Key, TShiftState) {
  if (Key == 112) ShowHelpDocument();
}

DK_PUBLISH(TsetPeriodDlg) {
  P.Method("FormActivate", &TsetPeriodDlg::FormActivate);
  P.Method("OKBtnClick", &TsetPeriodDlg::OKBtnClick);
  P.Method("FormKeyUp", &TsetPeriodDlg::FormKeyUp);
}
