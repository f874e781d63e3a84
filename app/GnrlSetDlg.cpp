#include "app/GnrlSetDlg.h"

#include <algorithm>

#include "app/Unit1.h"

TSetingsDlg* SetingsDlg = nullptr;

void TSetingsDlg::Loaded() {
  inherited::Loaded();
  UpDown1 = static_cast<TUpDown*>(FindComponent("UpDown1"));
  UpDown2 = static_cast<TUpDown*>(FindComponent("UpDown2"));
  UpDown3 = static_cast<TUpDown*>(FindComponent("UpDown3"));
  Edit1 = static_cast<TsEdit*>(FindComponent("Edit1"));
  Edit2 = static_cast<TsEdit*>(FindComponent("Edit2"));
  Edit3 = static_cast<TsEdit*>(FindComponent("Edit3"));
  StaticText2 = static_cast<TStaticText*>(FindComponent("StaticText2"));
  CheckBox2 = static_cast<TCheckBox*>(FindComponent("CheckBox2"));
  CheckBox3 = static_cast<TCheckBox*>(FindComponent("CheckBox3"));
  RadioGroup1 = static_cast<TsRadioGroup*>(FindComponent("RadioGroup1"));
  RadioGroup2 = static_cast<TsRadioGroup*>(FindComponent("RadioGroup2"));
}

void TSetingsDlg::ResetValues() {
  Averaging = 1;
  WriteTime = false;
  WriteLineNumber = true;
  TextFormat = false;
  SeparateFiles = true;
}

void TSetingsDlg::FormActivate(TObject*) {
  Edit1->SetText(IntToStr(Frequency));
  Edit2->SetText(IntToStr(Gain));
  Edit3->SetText(IntToStr(Averaging));
  CheckBox2->SetCheckedProp(WriteTime);
  CheckBox3->SetCheckedProp(WriteLineNumber);
  RadioGroup1->SetItemIndex(TextFormat ? 1 : 0);
  RadioGroup2->SetItemIndex(SeparateFiles ? 1 : 0);
}

void TSetingsDlg::OKBtnClick(TObject*) {
  SendFrequencyCommand(UpDown1->Position());
  SendGainCommand(UpDown2->Position());
  Frequency = UpDown1->Position();
  Gain = UpDown2->Position();
  Averaging = UpDown3->Position();
  WriteTime = CheckBox2->Checked();
  WriteLineNumber = CheckBox3->Checked();
  TextFormat = RadioGroup1->ItemIndex() != 0;
  SeparateFiles = RadioGroup2->ItemIndex() != 0;
}

void TSetingsDlg::Edit2Change(TObject*) {
  if (StaticText2 && UpDown2) StaticText2->SetCaption(IntToStr(1 << std::clamp<int>(UpDown2->Position(), 0, 30)));
}

void SendFrequencyCommand(int F) {
  if (!Form1->ComPort1->Connected()) return;
  char text[6] = {'[', 'F', static_cast<char>('0' + (F / 10) % 10), static_cast<char>('0' + F % 10), ']', 0};
  Form1->ComPort1->Write(text, 5);
}

void SendGainCommand(int G) {
  if (!Form1->ComPort1->Connected()) return;
  char text[6] = {'[', 'G', '0', static_cast<char>('0' + G % 10), ']', 0};
  Form1->ComPort1->Write(text, 5);
}

DK_PUBLISH(TSetingsDlg) {
  P.Method("FormActivate", &TSetingsDlg::FormActivate);
  P.Method("OKBtnClick", &TSetingsDlg::OKBtnClick);
  P.Method("Edit2Change", &TSetingsDlg::Edit2Change);
}
