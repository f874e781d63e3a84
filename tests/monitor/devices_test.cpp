// The monitor with its devices under Wine: the device search over the declared
// ports, the device probe, the XBV5 settings page, synchronous requests, the
// calibration dialog, the port and period dialogs and the help document.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>

#include "MonitorHost.h"
#include "app/CalibrDialog.h"
#include "app/ChannelPanelSetup.h"
#include "app/ModbusAscii.h"
#include "app/Unit2.h"
#include "app/msgForm.h"
#include "app/setPeriod.h"
#include "classlib/ui/WinApi.h"

using namespace monitortest;

namespace {


// The lines of the simulator's log of one kind ("RX", "SET"), their text only.
std::vector<std::string> LogOf(const std::string& log, const std::string& kind) {
  std::vector<std::string> out;
  std::istringstream in(log);
  std::string line;
  while (std::getline(in, line)) {
    size_t p = line.find(" " + kind + " ");
    if (p != std::string::npos) out.push_back(line.substr(p + kind.size() + 2));
  }
  return out;
}

// The serial ports the system lists, replaced for one test and put back.
class TPortList {
 public:
  explicit TPortList(const std::vector<std::wstring>& Ports) {
    RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_ALL_ACCESS, &key_);
    for (DWORD i = 0;; ++i) {
      wchar_t name[256];
      wchar_t data[256] = {};
      DWORD nameLen = 256, dataLen = sizeof data, type = 0;
      if (RegEnumValueW(key_, i, name, &nameLen, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataLen) !=
          ERROR_SUCCESS)
        break;
      saved_.push_back({name, data});
    }
    // What a test that was killed left behind is not the system's.
    saved_.erase(std::remove_if(saved_.begin(), saved_.end(),
                                [](auto& v) { return v.first.rfind(L"DkTestPort", 0) == 0; }),
                 saved_.end());
    for (DWORD i = 0; i < 16; ++i) RegDeleteValueW(key_, (L"DkTestPort" + std::to_wstring(i)).c_str());
    for (auto& v : saved_) RegDeleteValueW(key_, v.first.c_str());
    int n = 0;
    for (auto& p : Ports) {
      std::wstring name = L"DkTestPort" + std::to_wstring(n++);
      RegSetValueExW(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(p.c_str()),
                     static_cast<DWORD>((p.size() + 1) * sizeof(wchar_t)));
    }
    count_ = n;
  }
  ~TPortList() {
    for (int i = 0; i < count_; ++i) RegDeleteValueW(key_, (L"DkTestPort" + std::to_wstring(i)).c_str());
    for (auto& v : saved_)
      RegSetValueExW(key_, v.first.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(v.second.c_str()),
                     static_cast<DWORD>((v.second.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key_);
  }

 private:
  HKEY key_ = nullptr;
  std::vector<std::pair<std::wstring, std::wstring>> saved_;
  int count_ = 0;
};

TEST(DeviceSearch, FindsTheXbv5OnTheSecondPortAndOpensItsChannel) {
  TPortList ports({L"COM8", L"COM9"});
  MonitorHost::WriteSettings("");
  MonitorHost host({"XBV5:7:57600:E"}, "com9");
  host.Dialogs().Answer("Не обнаружено подключения", IDYES);
  host.Dialogs().Answer("Поиск прибора", IDYES);
  // While the search runs, what would start another conversation is disabled
  // (looked at from the search's own message loop).
  std::vector<bool> busyStates;
  std::function<void()> watch = [&] {
    if (!DeviceBusy()) {
      MonitorHost::Later(10, watch);
      return;
    }
    busyStates = {Form1->btnFind->Enabled(), Form1->btnAddPanel->Enabled(), Form1->btnSetDir->Enabled(),
                  Form1->CloseQuery()};
  };
  MonitorHost::Later(10, watch);
  host.Start();
  ASSERT_TRUE(host.PumpUntil([] { return PanelSettingsForm->Visible() && !DeviceBusy(); }, 20000));
  EXPECT_EQ(busyStates, std::vector<bool>(4, false));
  EXPECT_TRUE(Form1->btnFind->Enabled());
  EXPECT_EQ(MessageForm->Caption(), Cp("Поиск устройства"));
  EXPECT_EQ(MessageForm->Lbl->Caption(), "COM9@57600");
  EXPECT_FALSE(MessageForm->Visible());

  std::string log = testsupport::ReadHostFile(host.DevsimLog());
  // The settings tried on the second port, in order, and the two addresses of each.
  std::vector<std::string> set = LogOf(log, "SET");
  std::vector<std::string> expected = {"9600 N 8 1", "9600 E 8 1", "19200 N 8 1", "19200 E 8 1",
                                       "57600 N 8 1", "57600 E 8 1"};
  ASSERT_GE(set.size(), expected.size()) << log;
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(set[i], expected[i]) << i;
  std::vector<std::string> rx = LogOf(log, "RX");
  const std::string to255 = Frame(modbus::ReadRequest(255, 0, 1)), to1 = Frame(modbus::ReadRequest(1, 0, 1));
  ASSERT_GE(rx.size(), 11u) << log;
  for (size_t i = 0; i < 10; ++i) EXPECT_EQ(rx[i], i % 2 ? to1 : to255) << i;
  EXPECT_EQ(rx[10], to255);
  // The probe, then the channel settings window reads the XBV5 page.
  EXPECT_EQ(rx[11], Frame(modbus::ReadRequest(7, 0x120, 1)));

  std::string ini = MonitorHost::ReadSettings();
  for (const char* line : {"ChannelLabel0=XBV5 07", "DataSource0=[0]", "MODBUS_address0=07", "DeviceType0=0",
                           "Port=COM9", "BaudRate=57600", "Parity=Even"})
    EXPECT_NE(ini.find(line), std::string::npos) << line << "\n" << ini;
  EXPECT_EQ(PanelSettingsForm->senderIDX->Text(), "0");
  EXPECT_EQ(PanelSettingsForm->LabelEdit->Text(), "XBV5 07");
  EXPECT_EQ(PanelSettingsForm->DeviceTypeCB->ItemIndex(), 0);

  // The XBV5 page: channel count, ADC rate, baud rate, then the inputs.
  std::vector<std::string> page(rx.begin() + 12, rx.end());
  std::vector<std::string> reads;
  for (uint16_t r : {0x0600, 0x0601, 0x0801, 0x0120, 0x0121, 0x0122, 0x0123})
    reads.push_back(Frame(modbus::ReadRequest(7, r, 1)));
  auto at = std::search(page.begin(), page.end(), reads.begin(), reads.end());
  EXPECT_NE(at, page.end()) << log;
  EXPECT_EQ(PanelSettingsForm->NumChanCB->Text(), "4");
  EXPECT_EQ(PanelSettingsForm->ADCFreqCB->Text(), Cp("высокая"));
  EXPECT_EQ(PanelSettingsForm->baudCB->Text(), "57600");
  EXPECT_EQ(PanelSettingsForm->InpStatus[0]->Color(), TColor(255));
  EXPECT_EQ(PanelSettingsForm->InpStatus[1]->Color(), TColor(32768));
  testsupport::Screenshot(PanelSettingsForm->Handle(), "monitor_channel_settings");

  // A new address is asked for, written to the device and kept.
  host.Dialogs().Answer("Попытка смены адреса", IDYES);
  PanelSettingsForm->ModbusAdrEdit->SetText("0A");
  PanelSettingsForm->btnOK->Click();
  TSeenDialog d;
  ASSERT_TRUE(host.Dialogs().Find("Попытка смены адреса", &d));
  EXPECT_EQ(d.Text, "Записать новый адрес в прибор?");
  rx = LogOf(testsupport::ReadHostFile(host.DevsimLog()), "RX");
  EXPECT_NE(std::find(rx.begin(), rx.end(), Frame(modbus::WriteRequest(7, 0x0800, 10))), rx.end());
  EXPECT_FALSE(PanelSettingsForm->Visible());
  ASSERT_TRUE(host.PumpUntil([] { return ChannelCount == 1 && MonitorHost::ValueOf(0) != "---"; }, 5000));
  EXPECT_EQ(ModbusAddresses[0], 10);
  EXPECT_NE(MonitorHost::ReadSettings().find("MODBUS_address0=0A"), std::string::npos);
}

TEST(DeviceSearch, FindingNothingPutsThePortBack) {
  TPortList ports({L"COM8"});
  const char ini[] = "[Settings]\r\nDataSource0=[0]\r\nMODBUS_address0=01\r\n[ComPort1]\r\nPort=COM9\r\nBaudRate=19200\r\n";
  MonitorHost::WriteSettings(ini);
  MonitorHost host({"XBV5:1:19200:N"}, "com9");
  host.Dialogs().Answer("Не обнаружено подключения", IDNO);  // COM9 is not listed
  host.Start();
  ASSERT_TRUE(host.PumpUntil([] { return FirstLoadDone && MonitorHost::ValueOf(0) != "---"; }, 5000));
  Form1->btnFind->Click();
  EXPECT_EQ(Form1->ComPort1->Port(), "COM9");
  EXPECT_EQ(Form1->ComPort1->BaudRate(), br19200);
  EXPECT_EQ(Form1->ComPort1->Parity()->Bits(), prNone);
  EXPECT_TRUE(Form1->ComPort1->Connected());
  EXPECT_FALSE(PanelSettingsForm->Visible());
  EXPECT_EQ(MonitorHost::ReadSettings().find("DataSource1"), std::string::npos);
}

const std::vector<std::string> kEveryModel = {
    "XBV5:1:115200:N",    "XBV10:2:115200:N",   "XBV18:3:115200:N",   "GOLM114:4:115200:N",
    "GOLM124:5:115200:N", "GOLM144:6:115200:N", "GOLM152:7:115200:N", "GOLM:8:115200:N:reg=FF,65535",
};

TEST(DeviceProbe, IdentifiesEachModelAndRegistersHoldingFFFFAreValues) {
  MonitorHost::WriteSettings("[Settings]\r\nDataSource0=[0]\r\nMODBUS_address0=01\r\n[ComPort1]\r\nPort=COM5\r\n"
                             "BaudRate=115200\r\n");
  MonitorHost host(kEveryModel);
  host.Dialogs().Answer("Не обнаружено подключения", IDNO);
  host.Start();
  ASSERT_TRUE(host.PumpUntil([] { return FirstLoadDone; }, 5000));
  const char* names[] = {"XBV5", "XBV10", "XBV18", "GOLM114", "GOLM124", "GOLM144", "GOLM152", "GOLM"};
  for (int a = 1; a <= 8; ++a) {
    ModbusAddresses[1] = static_cast<uint8_t>(a);
    EXPECT_EQ(ProbeDeviceType(1), names[a - 1]) << a;
  }
  ModbusAddresses[1] = 9;
  EXPECT_EQ(ProbeDeviceType(1), "");

  ModbusAddresses[1] = 8;
  TSyncResult r = SyncRequest(1, 0xFF, 1, false);
  EXPECT_TRUE(r.Answered);
  EXPECT_EQ(r.Value, 0xFFFF);
  r = SyncRequest(1, 0x1234, 1, false);  // an exception answer
  EXPECT_FALSE(r.Answered);
  EXPECT_TRUE(Form1->Timer1->Enabled());

  // "Определить" in the channel settings window names the device in its list.
  ModbusAddresses[0] = 4;
  PanelSettingsForm->senderIDX->SetText("0");
  PanelSettingsForm->Show();
  PanelSettingsForm->btnGetType->Click();
  EXPECT_EQ(PanelSettingsForm->DeviceTypeCB->Text(), Cp("ГОЛМ-114"));
  ModbusAddresses[0] = 8;
  PanelSettingsForm->btnGetType->Click();
  TSeenDialog d;
  ASSERT_TRUE(host.Dialogs().Find("Дорнека-ХБВ", &d));
  EXPECT_EQ(d.Text, "Найден ГОЛМ-");
}

TEST(ChannelSettings, AFieldTheDeviceDoesNotFillShowsNothingAndIsNotWritten) {
  MonitorHost::WriteSettings("[Settings]\r\nDataSource0=[0]\r\nMODBUS_address0=01\r\nDeviceType0=0\r\n"
                             "DataSource1=[0]\r\nMODBUS_address1=02\r\nDeviceType1=0\r\n"
                             "[ComPort1]\r\nPort=COM5\r\nBaudRate=115200\r\n");
  // The second XBV5 reports 0 channels and an ADC rate it should not have.
  MonitorHost host({"XBV5:1:115200:N", "XBV5:2:115200:N:reg=600,0:reg=601,7"});
  host.Start();
  ASSERT_TRUE(host.PumpUntil([] { return FirstLoadDone && MonitorHost::ValueOf(1) != "---"; }, 5000));
  PanelSettingsForm->senderIDX->SetText("0");
  PanelSettingsForm->Show();
  EXPECT_EQ(PanelSettingsForm->NumChanCB->Text(), "4");
  EXPECT_EQ(PanelSettingsForm->ADCFreqCB->ItemIndex(), 2);
  PanelSettingsForm->Hide();
  PanelSettingsForm->senderIDX->SetText("1");
  PanelSettingsForm->Show();
  EXPECT_EQ(PanelSettingsForm->NumChanCB->ItemIndex(), -1);
  EXPECT_EQ(PanelSettingsForm->ADCFreqCB->ItemIndex(), -1);
  EXPECT_EQ(PanelSettingsForm->baudCB->Text(), "115200");
  PanelSettingsForm->btnOK->Click();
  // "Сохранить" read the device and wrote nothing into it.
  std::vector<std::string> rx = LogOf(testsupport::ReadHostFile(host.DevsimLog()), "RX");
  EXPECT_NE(std::find(rx.begin(), rx.end(), Frame(modbus::ReadRequest(2, 0x0600, 1))), rx.end());
  for (const std::string& f : rx) EXPECT_NE(f.substr(3, 2), "06") << f;
}

TEST(ChannelSettings, AnAddressOutsideOneTo247IsRefused) {
  MonitorHost::WriteSettings("[Settings]\r\nDataSource0=[0]\r\nMODBUS_address0=01\r\n[ComPort1]\r\nPort=COM5\r\n"
                             "BaudRate=115200\r\n");
  MonitorHost host({"XBV10:1:115200:N"});
  host.Start();
  ASSERT_TRUE(host.PumpUntil([] { return FirstLoadDone; }, 5000));
  for (const char* bad : {"0", "F8", "3E7", "XY", ""}) {
    PanelSettingsForm->senderIDX->SetText("0");
    PanelSettingsForm->Show();
    PanelSettingsForm->ModbusAdrEdit->SetText(bad);
    PanelSettingsForm->LabelEdit->SetText("changed");
    PanelSettingsForm->btnOK->Click();
    EXPECT_TRUE(PanelSettingsForm->Visible()) << bad;
    EXPECT_EQ(MonitorHost::ReadSettings().find("changed"), std::string::npos) << bad;
  }
  EXPECT_EQ(ParseDeviceAddress("F7"), 247);
  EXPECT_EQ(ParseDeviceAddress(" 1 "), 1);
  // Back at the main window the edit is kept; "Сохранить" saves it.
  PanelSettingsForm->ModbusAdrEdit->SetText("01");
  Form1->FormActivate(Form1);
  EXPECT_EQ(PanelSettingsForm->senderIDX->Text(), "0");
  PanelSettingsForm->btnOK->Click();
  EXPECT_NE(MonitorHost::ReadSettings().find("ChannelLabel0=changed"), std::string::npos);
}

class Calibration : public ::testing::Test {
 protected:
  void SetUp() override {
    MonitorHost::WriteSettings(
        "[Settings]\r\nChannelLabel0=Весы\r\nDataSource0=[0]\r\nMODBUS_address0=01\r\nDeviceType0=0\r\n"
        "[ADC]\r\nPeriod=100\r\n[Point2_0]\r\nADC=100\r\nValue=1\r\n"
        "[ComPort1]\r\nPort=COM5\r\nBaudRate=115200\r\n");
    host_ = std::make_unique<MonitorHost>(std::vector<std::string>{"XBV5:1:115200:N:weight1=100:noise1=0:drift1=0"});
    host_->Start();
    ASSERT_TRUE(host_->PumpUntil([] { return MonitorHost::ValueOf(0) == "1,00"; }, 5000));
  }
  void Weigh(int Reading) {
    ASSERT_EQ(host_->Devsim("weight 1 " + std::to_string(Reading) + " 1"), "ok\n");
    ASSERT_TRUE(host_->PumpUntil([=] { return Readings[0] == Reading; }, 3000));
    CalibrDlg->Timer1Timer(nullptr);
  }
  std::unique_ptr<MonitorHost> host_;
};

TEST_F(Calibration, TwoPointsFromLiveReadingsAreAppliedAndSaved) {
  CalibrDlg->FormActivate(nullptr);
  EXPECT_EQ(CalibrDlg->ActivePanelCB->Text(), Cp("Весы"));
  EXPECT_EQ(CalibrDlg->Edit3->Text(), "100");
  EXPECT_EQ(CalibrDlg->Edit4->Text(), "1");
  // The reading before conversion, though the channel carries points.
  Weigh(100);
  EXPECT_EQ(CalibrDlg->ADC_Text->Caption(), "100");
  CalibrDlg->Button1Click(nullptr);
  CalibrDlg->Edit2->SetText("0");
  CalibrDlg->Button3Click(nullptr);
  Weigh(1100);
  CalibrDlg->Button2Click(nullptr);
  EXPECT_EQ(CalibrDlg->Edit3->Text(), "1100");
  CalibrDlg->Edit4->SetText("50.0");  // the other separator is taken as well
  CalibrDlg->Button4Click(nullptr);
  EXPECT_EQ(CalibrDlg->Edit4->Text(), "50,0");
  EXPECT_TRUE(CalibrDlg->OKBtn->Visible());
  EXPECT_EQ(CalibrDlg->CancelBtn->Caption(), Cp("Отмена"));
  Weigh(600);
  EXPECT_EQ(CalibrDlg->ResultText->Caption(), "25");
  EXPECT_EQ(MonitorHost::ValueOf(0), "6,00");  // nothing applied to the panel before "Сохранить"
  CalibrDlg->OKBtnClick(nullptr);
  ASSERT_TRUE(host_->PumpUntil([] { return MonitorHost::ValueOf(0) == "25,00"; }, 3000));
  std::string ini = MonitorHost::ReadSettings();
  EXPECT_NE(ini.find("[Point1_0]\r\nADC=100\r\nValue=0"), std::string::npos) << ini;
  EXPECT_NE(ini.find("[Point2_0]\r\nADC=1100\r\nValue=50"), std::string::npos) << ini;
  // Recalibrating does not compound: the dialog still works in readings.
  CalibrDlg->FormActivate(nullptr);
  CalibrDlg->Timer1Timer(nullptr);
  EXPECT_EQ(CalibrDlg->ADC_Text->Caption(), "600");
  TCloseAction action = caHide;
  CalibrDlg->FormClose(nullptr, action);
  EXPECT_FALSE(CalibrDlg->Timer1->Enabled());
}

TEST_F(Calibration, TheDialogAsTheOperatorSeesIt) {
  MonitorHost::Later(400, [] {
    testsupport::Screenshot(CalibrDlg->Handle(), "monitor_calibration");
    CalibrDlg->SetModalResult(mrCancel);
  });
  Form1->N5Click(nullptr);
  EXPECT_FALSE(CalibrDlg->Timer1->Enabled());
}

// Selects the item as the operator does (the list tells its parent).
void Choose(TCustomComboBox* Combo, const AnsiString& Text) {
  Combo->SetItemIndex(Combo->Items()->IndexOf(Text));
  HWND wnd = Combo->Handle();
  SendMessageW(GetParent(wnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(wnd), CBN_SELCHANGE), reinterpret_cast<LPARAM>(wnd));
}

TEST(SmallDialogs, PortAndPeriodDialogsStoreWhatWasChosen) {
  MonitorHost::WriteSettings("[Settings]\r\nDataSource0=ХБВ18_Вес\r\nMODBUS_address0=03\r\nDeviceType0=2\r\n"
                             "[ADC]\r\nPeriod=500\r\n[ComPort1]\r\nPort=COM5\r\nBaudRate=115200\r\nParity=None\r\n");
  MonitorHost host({"XBV18:3:115200:N"});
  host.Start();
  ASSERT_TRUE(host.PumpUntil([] { return MonitorHost::ValueOf(0) != "---" && !MonitorHost::ValueOf(0).empty(); },
                             5000));
  MonitorHost::Later(300, [] {
    testsupport::Screenshot(SetupDLG->Handle(), "monitor_port_dialog");
    Choose(SetupDLG->Com1BaudSet, "57600");
    Choose(SetupDLG->ComParityComboBox, "Even");
    SetupDLG->ComboBox1->SetText("COM6");
    SetupDLG->SetModalResult(mrOk);
  });
  Form1->N3Click(nullptr);
  std::string ini = MonitorHost::ReadSettings();
  EXPECT_NE(ini.find("BaudRate=57600"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Parity=Even"), std::string::npos) << ini;
  TSeenDialog d;
  ASSERT_TRUE(host.Dialogs().Find("Дорнека-ХБВ", &d));  // COM6 has no device here
  EXPECT_EQ(d.Text, "Ошибка открытия последовательного порта!");
  // A port that does not open is not stored: back at the main window the
  // program goes on with the port of the settings file.
  EXPECT_NE(ini.find("Port=COM5"), std::string::npos) << ini;
  EXPECT_TRUE(host.PumpUntil([] { return Form1->ComPort1->Port() == "COM5" && Form1->ComPort1->Connected(); }, 3000));
  // The XBV18 was probed, not written to.
  for (auto& f : LogOf(testsupport::ReadHostFile(host.DevsimLog()), "RX")) EXPECT_EQ(f.substr(3, 2), "03") << f;

  MonitorHost::Later(300, [] {
    EXPECT_EQ(setPeriodDlg->RadioGroup1->ItemIndex(), 1);
    setPeriodDlg->RadioGroup1->SetItemIndex(2);
    setPeriodDlg->AutoLogCB->SetCheckedProp(true);
    testsupport::Screenshot(setPeriodDlg->Handle(), "monitor_period_dialog");
    static_cast<TButton*>(setPeriodDlg->FindComponent("OKBtn"))->Click();
  });
  Form1->N4Click(nullptr);
  EXPECT_EQ(PollPeriod, 1000);
  EXPECT_EQ(PeriodTicks, 100u);
  EXPECT_TRUE(AutoLog);
  ini = MonitorHost::ReadSettings();
  EXPECT_NE(ini.find("Period=1000"), std::string::npos) << ini;
  EXPECT_NE(ini.find("AutoLog=1"), std::string::npos) << ini;

  ShowHelpDocument();
  ASSERT_TRUE(host.Dialogs().Find("Дорнека-ХБВ", &d));
  std::vector<TSeenDialog> seen = host.Dialogs().Seen();
  EXPECT_EQ(seen.back().Text, "Файл справки не найден.");
}

}  // namespace
