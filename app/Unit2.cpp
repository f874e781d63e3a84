#include "app/Unit2.h"

#include "app/ChannelPanelSetup.h"
#include "app/Unit1.h"

TSetupDLG* SetupDLG = nullptr;

TBaudRate BaudToEnum(int Baud) {
  switch (Baud) {
    case 9600: return br9600;
    case 19200: return br19200;
    case 57600: return br57600;
    case 115200: return br115200;
    default: return brCustom;
  }
}

int BaudFromPort() {
  switch (Form1->ComPort1->BaudRate()) {
    case br9600: return 9600;
    case br19200: return 19200;
    case br57600: return 57600;
    case br115200: return 115200;
    default: return 0;
  }
}

bool SetPortBaud(int Baud) {
  TBaudRate rate = BaudToEnum(Baud);
  if (rate == brCustom) return false;
  Form1->ComPort1->SetBaudRate(rate);
  return true;
}

void TSetupDLG::Loaded() {
  inherited::Loaded();
  ComboBox1 = static_cast<TsComboBox*>(FindComponent("ComboBox1"));
  Com1BaudSet = static_cast<TComComboBox*>(FindComponent("Com1BaudSet"));
  ComParityComboBox = static_cast<TComComboBox*>(FindComponent("ComParityComboBox"));
}

void TSetupDLG::FormCreate(TObject*) {
  try {
    EnumComPorts(ComboBox1->Items());
  } catch (const Exception&) {
  }
}

void TSetupDLG::FormActivate(TObject*) {
  ComboBox1->SetText(Form1->ComPort1->Port());
  Com1BaudSet->UpdateSettings();
  ComParityComboBox->UpdateSettings();
}

void TSetupDLG::FormKeyUp(TObject*, Word& Key, TShiftState) {
  if (Key == 112) ShowHelpDocument();
}

DK_PUBLISH(TSetupDLG) {
  P.Method("FormCreate", &TSetupDLG::FormCreate);
  P.Method("FormActivate", &TSetupDLG::FormActivate);
  P.Method("FormKeyUp", &TSetupDLG::FormKeyUp);
}

// The menu item "Настройки подключения".
void TForm1::N3Click(TObject*) {
  if (DeviceBusy()) return;
  int r = BaudToRateIndex(BaudFromPort());
  if (SetupDLG->ShowModal() != mrOk) return;
  int chosen = StrToIntDef(SetupDLG->Com1BaudSet->Text(), 0);
  if (r != 99 && BaudToRateIndex(chosen) != r) ChangeAllRates(chosen);
  try {
    SetupDLG->Com1BaudSet->ApplySettings();
    SetupDLG->ComParityComboBox->ApplySettings();
  } catch (const Exception& e) {
    PortFailed(e.Message);
  }
  StorePortSettings();
  AnsiString port = Trim(SetupDLG->ComboBox1->Text());
  if (port != ComPort1->Port()) {
    try {
      if (ComPort1->Connected()) ComPort1->Close();
      ComPort1->SetPort(port);
    } catch (const Exception&) {
    }
    if (OpenPort()) StorePortSettings();
  }
}
