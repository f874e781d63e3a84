#include "app/ChannelPanelSetup.h"

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "classlib/ui/Dialogs.h"
#include "classlib/ui/IniFiles.h"
#include "classlib/ui/WinApi.h"

#include <cctype>

TPanelSettingsForm* PanelSettingsForm = nullptr;

namespace {

constexpr TColor kInputOn = 32768;
constexpr TColor kInputOff = 255;

int ReadReg(int Channel, uint16_t Register) {
  TSyncResult r = SyncRequest(Channel, Register, 1, false);
  return r.Answered ? r.Value : kNoAnswer;
}

bool WriteReg(int Channel, uint16_t Register, uint16_t Value) {
  return SyncRequest(Channel, Register, Value, true).Answered;
}

// The channel being edited: senderIDX as a decimal number, Default otherwise.
int EditedChannel(TsEdit* Index, int Default) {
  int n;
  if (!TryStrToInt(Trim(Index->Text()), n) || n < 0 || n >= kMaxChannels) return Default;
  return n;
}

}  // namespace

// ------------------------------------------------------------ XBV5 registers

int BaudToRateIndex(int Baud) {
  switch (Baud) {
    case 9600: return 0;
    case 19200: return 1;
    case 57600: return 2;
    case 115200: return 3;
    default: return 99;
  }
}

int ReadRateIndex(int Channel) { return ReadReg(Channel, kXbv5RateReg); }
int ReadChannelCountReg(int Channel) { return ReadReg(Channel, kXbv5ChannelCountReg); }
int ReadAdcRate(int Channel) { return ReadReg(Channel, kXbv5AdcRateReg); }
int ReadAddressReg(int Channel) { return ReadReg(Channel, kXbv5AddressReg); }
int ReadInputState(int Channel, int Input) { return ReadReg(Channel, static_cast<uint16_t>(kXbv5InputReg + Input)); }
bool WriteRateIndex(int Channel, uint16_t Value) { return WriteReg(Channel, kXbv5RateReg, Value); }
bool WriteChannelCountReg(int Channel, uint16_t Value) { return WriteReg(Channel, kXbv5ChannelCountReg, Value); }
bool WriteAdcRate(int Channel, uint16_t Value) { return WriteReg(Channel, kXbv5AdcRateReg, Value); }
bool WriteAddressReg(int Channel, uint16_t Value) { return WriteReg(Channel, kXbv5AddressReg, Value); }

int ParseDeviceAddress(const AnsiString& Text) {
  AnsiString t = Trim(Text);
  if (t.empty() || t.size() > 2) return -1;
  for (char c : t)
    if (!std::isxdigit(static_cast<unsigned char>(c))) return -1;
  int a = StrToInt("$" + t);
  return a >= 1 && a <= 247 ? a : -1;
}

void ChangeAllRates(int Baud) {
  int index = BaudToRateIndex(Baud);
  if (index == 99) {
    ShowMessageError("На могу установить для прибора скорость обмена "_cp + IntToStr(Baud));
    return;
  }
  bool same = true;
  for (int k = 1; k < ChannelCount; ++k)
    if (ModbusAddresses[k] != ModbusAddresses[k - 1]) same = false;
  if (!same) {
    AnsiString q = "Выбранная скорость передачи должна быть установлена для всех приборов,"_cp + "\n" +
                   " иначе они станут недоступны!"_cp + "\n" +
                   "Программа сможет автоматически установить скорость только в ХБВ-5!"_cp + "\n" +
                   "Установить выбранную скорость?"_cp;
    if (Application->MessageBox(q, "Попытка изменения скорости подключения"_cp, MB_YESNO | MB_ICONWARNING) != IDYES)
      return;
  }
  for (int k = 0; k < ChannelCount; ++k) {
    if (ModbusAddresses[k] == (k == 0 ? 0 : ModbusAddresses[k - 1])) continue;
    if (ProbeDeviceType(k) != "XBV5") continue;
    while (!WriteRateIndex(k, static_cast<uint16_t>(index))) {
      AnsiString q = "Не удалось изменить скорость обмена в приборе "_cp + ChannelLabels[k] + " по адресу "_cp +
                     IntToHex(ModbusAddresses[k], 2) + "\n" + " Повторить попытку?"_cp;
      if (Application->MessageBox(q, "Попытка изменения скорости подключения"_cp, MB_YESNO | MB_ICONERROR) != IDYES)
        break;
    }
  }
  try {
    SetPortBaud(Baud);
  } catch (const Exception&) {
  }
  StorePortSettings();
}

// ------------------------------------------------------------------ the form

void TPanelSettingsForm::Loaded() {
  inherited::Loaded();
  auto find = [this](const char* name) { return FindComponent(name); };
  LabelEdit = static_cast<TsEdit*>(find("LabelEdit"));
  SourceCB = static_cast<TsComboBox*>(find("SourceCB"));
  DeviceTypeCB = static_cast<TsComboBox*>(find("DeviceTypeCB"));
  btnGetType = static_cast<TsButton*>(find("btnGetType"));
  ModbusAdrEdit = static_cast<TsEdit*>(find("ModbusAdrEdit"));
  baudCB = static_cast<TsComboBox*>(find("baudCB"));
  NumChanCB = static_cast<TsComboBox*>(find("NumChanCB"));
  ADCFreqCB = static_cast<TsComboBox*>(find("ADCFreqCB"));
  InpStatusLbl = static_cast<TsLabel*>(find("InpStatusLbl"));
  for (int k = 0; k < 4; ++k) InpStatus[k] = static_cast<TStaticText*>(FindComponent(ChannelKey("InpStatus", k)));
  ShowControlPanel = static_cast<TCheckBox*>(find("ShowControlPanel"));
  btnOK = static_cast<TsButton*>(find("btnOK"));
  btnCancel = static_cast<TsButton*>(find("btnCancel"));
  senderIDX = static_cast<TsEdit*>(find("senderIDX"));
}

void TPanelSettingsForm::AfterConstruction() {
  inherited::AfterConstruction();
  // Closing at once starts the main window's first load.
  Close();
}

void TPanelSettingsForm::SetLampsGrey() {
  for (auto* lamp : InpStatus) lamp->SetColor(kLampGrey);
}

void TPanelSettingsForm::TypeSetup(bool FromShow, int Channel) {
  int type = DeviceTypeCB->ItemIndex();
  bool xbv5 = type == 0;
  for (TControl* c : {static_cast<TControl*>(baudCB), static_cast<TControl*>(NumChanCB),
                      static_cast<TControl*>(ADCFreqCB), static_cast<TControl*>(InpStatusLbl)})
    c->SetEnabled(xbv5);
  for (auto* lamp : InpStatus) lamp->SetEnabled(xbv5);
  ShowControlPanel->SetEnabled(type == devmodel::kXbv18);
  if (xbv5) {
    ReadDeviceSettings();
  } else if (type == devmodel::kXbv18) {
    XBV18Setup();
    if (FromShow) {
      TIniFile ini(SettingsFileName());
      ShowControlPanel->SetCheckedProp(ini.ReadInteger(kSettingsSection, ChannelKey("ControlPanel", Channel), 0) != 0);
    }
  }
}

void TPanelSettingsForm::FormShow(TObject*) {
  int n = EditedChannel(senderIDX, ChannelCount);
  TIniFile ini(SettingsFileName());
  LabelEdit->SetText(ini.ReadString(kSettingsSection, ChannelKey("ChannelLabel", n), "Канал "_cp + IntToStr(n + 1)));
  AnsiString source = ini.ReadString(kSettingsSection, ChannelKey("DataSource", n), "[0]");
  SourceCB->SetText(source);
  int item = SourceCB->Items()->IndexOf(source);
  if (item >= 0) SourceCB->SetItemIndex(item);
  ModbusAdrEdit->SetText(ini.ReadString(kSettingsSection, ChannelKey("MODBUS_address", n), "1"));
  int type = ini.ReadInteger(kSettingsSection, ChannelKey("DeviceType", n), devmodel::kOtherDevice);
  DeviceTypeCB->SetItemIndex(type >= 0 && type < devmodel::kDeviceTypeCount ? type : devmodel::kOtherDevice);
  TypeSetup(true, n);
}

void TPanelSettingsForm::FormClose(TObject*, TCloseAction&) {
  if (Form1) Form1->ControlsDeleteTimer->SetEnabled(true);
}

void TPanelSettingsForm::FormHide(TObject*) {}

void TPanelSettingsForm::FormKeyUp(TObject*, Word& Key, TShiftState) {
  if (Key == 112) ShowHelpDocument();
}

void TPanelSettingsForm::DeviceTypeCBSelect(TObject*) {
  SetLampsGrey();
  TypeSetup(false, EditedChannel(senderIDX, ChannelCount));
}

void TPanelSettingsForm::btnGetTypeClick(TObject*) {
  if (DeviceBusy()) return;
  int k = EditedChannel(senderIDX, 0);
  if (ModbusAddresses[k] == 0) {
    int a;
    ModbusAddresses[k] = static_cast<uint8_t>(TryStrToInt("$" + Trim(ModbusAdrEdit->Text()), a) ? a : 0);
  }
  AnsiString name = ProbeDeviceType(k);
  if (!name.empty()) {
    AnsiString text = devmodel::NameToCyrillic(name);
    int item = DeviceTypeCB->Items()->IndexOf(text);
    if (item >= 0)
      DeviceTypeCB->SetItemIndex(item);
    else
      ShowMessageError("Найден "_cp + text);
  }
  SetLampsGrey();
  TypeSetup(false, k);
}

void TPanelSettingsForm::SourceCBChange(TObject*) {
  AnsiString text = SourceCB->Text();
  int type = DeviceTypeCB->ItemIndex();
  if (type != devmodel::kXbv18) {
    if (text.find("ХБВ18"_cp) != AnsiString::npos && type != devmodel::kOtherDevice) {
      SourceCB->SetItemIndex(0);
      text = SourceCB->Text();
    }
  } else {
    size_t p = text.find("АЦП"_cp);
    if (p != AnsiString::npos) {
      size_t digit = p + AnsiString("АЦП"_cp).size();
      if (text.find('+') != AnsiString::npos || (digit < text.size() && text[digit] >= '2' && text[digit] <= '9')) {
        text = "АЦП1_32"_cp;
        SourceCB->SetText(text);
      }
    }
  }
  int item = SourceCB->Items()->IndexOf(text);
  if (item >= 0 && SourceCB->ItemIndex() != item) SourceCB->SetItemIndex(item);
}

void TPanelSettingsForm::btnOKClick(TObject*) {
  if (DeviceBusy()) return;
  int n;
  if (!TryStrToInt(Trim(senderIDX->Text()), n) || n < 0 || n >= kMaxChannels) {
    Close();
    return;
  }
  AnsiString addressText = Trim(ModbusAdrEdit->Text());
  int address = ParseDeviceAddress(addressText);
  if (address < 0) {
    ShowMessageError("Адрес прибора - шестнадцатеричное число от 1 до F7. Настройки не сохранены."_cp);
    return;
  }
  try {
    TIniFile ini(SettingsFileName());
    ini.WriteString(kSettingsSection, ChannelKey("ChannelLabel", n), LabelEdit->Text());
    ini.WriteString(kSettingsSection, ChannelKey("DataSource", n), SourceCB->Text());
    if (ShowControlPanel->Enabled())
      ini.WriteString(kSettingsSection, ChannelKey("ControlPanel", n), ShowControlPanel->Checked() ? "1" : "0");
    ini.WriteString(kSettingsSection, ChannelKey("MODBUS_address", n), addressText);
    ini.WriteString(kSettingsSection, ChannelKey("DeviceType", n), IntToStr(DeviceTypeCB->ItemIndex()));
  } catch (const Exception&) {
    ShowIniWriteError();
  }
  if (DeviceTypeCB->ItemIndex() == 0) {
    // The device still answers at its old address; a channel without one
    // takes the address typed.
    if (ModbusAddresses[n] == 0) ModbusAddresses[n] = static_cast<uint8_t>(address);
    if (ProbeDeviceType(n) == "XBV5") WriteDeviceSettings();
  }
  Close();
}

void TPanelSettingsForm::btnCancelClick(TObject*) {
  if (DeviceBusy()) return;
  if (EditedChannel(senderIDX, ChannelCount) == ChannelCount) DeleteChannel(ChannelCount);
  senderIDX->SetText("");
  Close();
}

void TPanelSettingsForm::UpdateBusyControls() {
  bool idle = !DeviceBusy();
  btnOK->SetEnabled(idle);
  btnCancel->SetEnabled(idle);
  btnGetType->SetEnabled(idle);
  DeviceTypeCB->SetEnabled(idle);
}

bool TPanelSettingsForm::CloseQuery() {
  if (DeviceBusy()) return false;
  return inherited::CloseQuery();
}

// ------------------------------------------------------------ the device page

void TPanelSettingsForm::ReadDeviceSettings() {
  int n = EditedChannel(senderIDX, 0);
  // A field this device does not fill shows nothing: a selection left from
  // another device would be written into this one by "Сохранить".
  for (TsComboBox* field : {NumChanCB, ADCFreqCB, baudCB}) field->SetItemIndex(-1);
  int c = ReadChannelCountReg(n);
  if (c != kNoAnswer && c < 5 && c > 0) NumChanCB->SetItemIndex(c - 1);
  int r = ReadAdcRate(n);
  if (r != kNoAnswer && r <= 3) ADCFreqCB->SetItemIndex(r == 3 ? 2 : r);
  int b = ReadRateIndex(n);
  if (b != kNoAnswer && b <= 3) baudCB->SetItemIndex(b);
  int s = ReadInputState(n, 0);
  if (s == kNoAnswer || s > 1) return;
  for (int k = 0; k < 4; ++k) {
    int state = k == 0 ? s : ReadInputState(n, k);
    if (state == kNoAnswer) continue;
    InpStatus[k]->SetColor(state != 0 ? kInputOn : kInputOff);
  }
}

void TPanelSettingsForm::WriteDeviceSettings() {
  int n = EditedChannel(senderIDX, 0);
  int c = ReadChannelCountReg(n);
  if (c != kNoAnswer && NumChanCB->ItemIndex() >= 0 && c != NumChanCB->ItemIndex() + 1)
    WriteChannelCountReg(n, static_cast<uint16_t>(NumChanCB->ItemIndex() + 1));
  int r = ReadAdcRate(n);
  int item = ADCFreqCB->ItemIndex();
  if (r != kNoAnswer && item >= 0 && r != item && !(item == 2 && r == 3))
    WriteAdcRate(n, static_cast<uint16_t>(item));
  int a = ReadAddressReg(n);
  if (a != kNoAnswer) {
    int e = ParseDeviceAddress(ModbusAdrEdit->Text());
    if (e >= 0 && e != a &&
        Application->MessageBox("Записать новый адрес в прибор?"_cp, "Попытка смены адреса"_cp,
                                MB_YESNO | MB_ICONQUESTION) == IDYES) {
      if (!WriteAddressReg(n, static_cast<uint16_t>(e))) {
        ShowMessageError("Ошибка! Адрес не был изменен!"_cp);
        int old = ReadAddressReg(n);
        if (old == kNoAnswer) {
          ShowMessageError("Ошибка! Не получилось прочитать старый адрес! Адрес сохранён как FF."_cp);
          ModbusAdrEdit->SetText("FF");
        } else {
          ModbusAdrEdit->SetText(IntToHex(old, 2));
        }
        WriteIniString(kSettingsSection, ChannelKey("MODBUS_address", n), ModbusAdrEdit->Text());
      } else {
        ModbusAddresses[n] = static_cast<uint8_t>(e);
      }
    }
  }
  if (ReadRateIndex(n) == kNoAnswer) return;
  if (IntToStr(BaudFromPort()) != baudCB->Text() && baudCB->ItemIndex() >= 0)
    ChangeAllRates(StrToIntDef(baudCB->Text(), 0));
}

DK_PUBLISH(TPanelSettingsForm) {
  P.Method("FormShow", &TPanelSettingsForm::FormShow);
  P.Method("FormClose", &TPanelSettingsForm::FormClose);
  P.Method("FormHide", &TPanelSettingsForm::FormHide);
  P.Method("FormKeyUp", &TPanelSettingsForm::FormKeyUp);
  P.Method("DeviceTypeCBSelect", &TPanelSettingsForm::DeviceTypeCBSelect);
  P.Method("btnGetTypeClick", &TPanelSettingsForm::btnGetTypeClick);
  P.Method("SourceCBChange", &TPanelSettingsForm::SourceCBChange);
  P.Method("btnOKClick", &TPanelSettingsForm::btnOKClick);
  P.Method("btnCancelClick", &TPanelSettingsForm::btnCancelClick);
}
