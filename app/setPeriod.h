// The poll period and automatic logging dialog.
#pragma once

#include "classlib/ui/Forms.h"
#include "skin/controls/sBevel.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sGroupBox.h"

class TsetPeriodDlg : public TForm {
  DK_CLASS(TsetPeriodDlg, TForm)
 public:
  using TForm::TForm;
  TsRadioGroup* RadioGroup1 = nullptr;
  TCheckBox* AutoLogCB = nullptr;
  void FormActivate(TObject* Sender);
  void OKBtnClick(TObject* Sender);
  void FormKeyUp(TObject* Sender, Word& Key, TShiftState Shift);

 protected:
  void Loaded() override;
};

extern TsetPeriodDlg* setPeriodDlg;
