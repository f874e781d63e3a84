#include "app/CalibrDialog.h"

#include "app/Unit1.h"
#include "classlib/ui/IniFiles.h"

TCalibrDlg* CalibrDlg = nullptr;

namespace {

AnsiString NumberText(double Value) { return FloatToStrF(Value, ffGeneral, 9, 0); }

}  // namespace

void TCalibrDlg::Loaded() {
  inherited::Loaded();
  ActivePanelCB = static_cast<TsComboBox*>(FindComponent("ActivePanelCB"));
  ADC_Text = static_cast<TStaticText*>(FindComponent("ADC_Text"));
  ResultText = static_cast<TStaticText*>(FindComponent("ResultText"));
  Edit1 = static_cast<TsEdit*>(FindComponent("Edit1"));
  Edit2 = static_cast<TsEdit*>(FindComponent("Edit2"));
  Edit3 = static_cast<TsEdit*>(FindComponent("Edit3"));
  Edit4 = static_cast<TsEdit*>(FindComponent("Edit4"));
  OKBtn = static_cast<TsButton*>(FindComponent("OKBtn"));
  CancelBtn = static_cast<TsButton*>(FindComponent("CancelBtn"));
  Timer1 = static_cast<TTimer*>(FindComponent("Timer1"));
}

int TCalibrDlg::Channel() {
  int n = ActivePanelCB->ItemIndex();
  return n >= 0 && n < kMaxChannels && n < ChannelCount ? n : -1;
}

float TCalibrDlg::DialogValue(float x) const {
  return devmodel::TwoPointValue(x, static_cast<float>(DlgPoint1Adc), DlgPoint1Value,
                                 static_cast<float>(DlgPoint2Adc), DlgPoint2Value);
}

void TCalibrDlg::ShowPoints() {
  Edit1->SetText(IntToStr(DlgPoint1Adc));
  Edit2->SetText(NumberText(DlgPoint1Value));
  Edit3->SetText(IntToStr(DlgPoint2Adc));
  Edit4->SetText(NumberText(DlgPoint2Value));
}

void TCalibrDlg::FormActivate(TObject*) {
  ActivePanelCB->Items()->Clear();
  FillChannelNames(ActivePanelCB->Items());
  ActivePanelCB->SetItemIndex(0);
  LoadCalibration();
  ActivePanelCBSelect(ActivePanelCB);
  Timer1->SetEnabled(true);
}

void TCalibrDlg::ActivePanelCBSelect(TObject*) {
  int n = Channel();
  if (n < 0) {
    DlgPoint1Adc = 0, DlgPoint1Value = 0, DlgPoint2Adc = 20000, DlgPoint2Value = 20000;
  } else {
    DlgPoint1Adc = Point1Adc[n], DlgPoint1Value = Point1Value[n];
    DlgPoint2Adc = Point2Adc[n], DlgPoint2Value = Point2Value[n];
  }
  ShowPoints();
}

// The calibration is made in units of the channel's reading before
// conversion, so a channel that carries points already is not converted twice.
void TCalibrDlg::Timer1Timer(TObject*) {
  int n = Channel();
  if (n < 0) {
    ADC_Text->SetCaption("");
    ResultText->SetCaption("");
    return;
  }
  ADC_Text->SetCaption(IntToStr(Readings[n]));
  ResultText->SetCaption(NumberText(static_cast<int32_t>(DialogValue(static_cast<float>(Readings[n])))));
}

void TCalibrDlg::Button1Click(TObject*) {
  if (int n = Channel(); n >= 0) Edit1->SetText(IntToStr(Readings[n]));
}

void TCalibrDlg::Button2Click(TObject*) {
  if (int n = Channel(); n >= 0) Edit3->SetText(IntToStr(Readings[n]));
}

void TCalibrDlg::ApplyPoint(TsEdit* AdcEdit, TsEdit* ValueEdit, int32_t& Adc, float& Value) {
  Adc = StrToIntDef(Trim(AdcEdit->Text()), 0);
  AdcEdit->SetText(IntToStr(Adc));
  AnsiString text = ValueEdit->Text();
  char sep = FormatSettings.DecimalSeparator;
  char other = sep == ',' ? '.' : ',';
  size_t p = text.find(other);
  if (p != AnsiString::npos) {
    text[p] = sep;
    ValueEdit->SetText(text);
  }
  Value = static_cast<float>(StrToFloat(text));
  CancelBtn->SetCaption("Отмена"_cp);
  OKBtn->SetVisible(true);
}

void TCalibrDlg::Button3Click(TObject*) { ApplyPoint(Edit1, Edit2, DlgPoint1Adc, DlgPoint1Value); }
void TCalibrDlg::Button4Click(TObject*) { ApplyPoint(Edit3, Edit4, DlgPoint2Adc, DlgPoint2Value); }

void TCalibrDlg::SaveCalibration() {
  int n = Channel();
  if (n < 0) return;
  Point1Adc[n] = DlgPoint1Adc;
  Point2Adc[n] = DlgPoint2Adc;
  Point1Value[n] = DlgPoint1Value;
  Point2Value[n] = DlgPoint2Value;
  try {
    TIniFile ini(SettingsFileName());
    ini.WriteInteger(ChannelKey("Point1_", n), "ADC", DlgPoint1Adc);
    ini.WriteFloat(ChannelKey("Point1_", n), "Value", DlgPoint1Value);
    ini.WriteInteger(ChannelKey("Point2_", n), "ADC", DlgPoint2Adc);
    ini.WriteFloat(ChannelKey("Point2_", n), "Value", DlgPoint2Value);
  } catch (const Exception&) {
    ShowIniWriteError();
  }
}

void TCalibrDlg::OKBtnClick(TObject*) { SaveCalibration(); }

void TCalibrDlg::FormClose(TObject*, TCloseAction&) { Timer1->SetEnabled(false); }

void TCalibrDlg::FormKeyUp(TObject*, Word& Key, TShiftState) {
  if (Key == 112) ShowHelpDocument();
}

DK_PUBLISH(TCalibrDlg) {
  P.Method("FormActivate", &TCalibrDlg::FormActivate);
  P.Method("ActivePanelCBSelect", &TCalibrDlg::ActivePanelCBSelect);
  P.Method("Timer1Timer", &TCalibrDlg::Timer1Timer);
  P.Method("Button1Click", &TCalibrDlg::Button1Click);
  P.Method("Button2Click", &TCalibrDlg::Button2Click);
  P.Method("Button3Click", &TCalibrDlg::Button3Click);
  P.Method("Button4Click", &TCalibrDlg::Button4Click);
  P.Method("OKBtnClick", &TCalibrDlg::OKBtnClick);
  P.Method("FormClose", &TCalibrDlg::FormClose);
  P.Method("FormKeyUp", &TCalibrDlg::FormKeyUp);
}
