// The calibration dialog: two points (reading, value) per channel, taken from
// live readings, tried on the display and saved to the settings file.
#pragma once

#include "classlib/ui/ExtCtrls.h"
#include "classlib/ui/Forms.h"
#include "skin/controls/sBevel.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sComboBox.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sSpinEdit.h"

class TCalibrDlg : public TForm {
  DK_CLASS(TCalibrDlg, TForm)
 public:
  using TForm::TForm;
  // The points being edited.
  int32_t DlgPoint1Adc = 0, DlgPoint2Adc = 20000;
  float DlgPoint1Value = 0, DlgPoint2Value = 20000;

  TsComboBox* ActivePanelCB = nullptr;
  TStaticText* ADC_Text = nullptr;
  TStaticText* ResultText = nullptr;
  TsEdit *Edit1 = nullptr, *Edit2 = nullptr, *Edit3 = nullptr, *Edit4 = nullptr;
  TsButton *OKBtn = nullptr, *CancelBtn = nullptr;
  TTimer* Timer1 = nullptr;

  // TwoPointValue of x with the working points.
  float DialogValue(float x) const;
  void SaveCalibration();

  void FormActivate(TObject* Sender);
  void ActivePanelCBSelect(TObject* Sender);
  void Timer1Timer(TObject* Sender);
  void Button1Click(TObject* Sender);
  void Button2Click(TObject* Sender);
  void Button3Click(TObject* Sender);
  void Button4Click(TObject* Sender);
  void OKBtnClick(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormKeyUp(TObject* Sender, Word& Key, TShiftState Shift);

 protected:
  void Loaded() override;

 private:
  // The selected channel, -1 when none.
  int Channel();
  void ShowPoints();
  void ApplyPoint(TsEdit* AdcEdit, TsEdit* ValueEdit, int32_t& Adc, float& Value);
};

extern TCalibrDlg* CalibrDlg;
