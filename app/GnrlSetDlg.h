// The measurement settings dialog: the program creates it and resets its
// values, but no menu shows it.
#pragma once

#include "classlib/ui/ComCtrls.h"
#include "classlib/ui/Forms.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sLabel.h"

class TSetingsDlg : public TForm {
  DK_CLASS(TSetingsDlg, TForm)
 public:
  using TForm::TForm;
  // The stored values.
  int Frequency = 1;
  int Gain = 0;
  int Averaging = 1;
  bool WriteTime = false;
  bool WriteLineNumber = true;
  bool TextFormat = false;
  bool SeparateFiles = true;

  // The values the settings load starts with.
  void ResetValues();
  void FormActivate(TObject* Sender);
  void OKBtnClick(TObject* Sender);
  void Edit2Change(TObject* Sender);

 protected:
  void Loaded() override;

 private:
  TUpDown* UpDown1 = nullptr;
  TUpDown* UpDown2 = nullptr;
  TUpDown* UpDown3 = nullptr;
  TsEdit* Edit1 = nullptr;
  TsEdit* Edit2 = nullptr;
  TsEdit* Edit3 = nullptr;
  TStaticText* StaticText2 = nullptr;
  TCheckBox* CheckBox2 = nullptr;
  TCheckBox* CheckBox3 = nullptr;
  TsRadioGroup* RadioGroup1 = nullptr;
  TsRadioGroup* RadioGroup2 = nullptr;
};

// "[Fnn]" and "[G0n]" written to the open port as they are.
void SendFrequencyCommand(int F);
void SendGainCommand(int G);

extern TSetingsDlg* SetingsDlg;
