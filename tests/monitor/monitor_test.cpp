// The monitor's main road under Wine: its forms, as the program creates them,
// against the device simulator on COM5 — start-up and the first-run question,
// the channel panels and their values, the requests on the wire, the
// reception lamp, the zero and tare buttons, the CSV log and the settings file.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <sstream>

#include "MonitorHost.h"
#include "app/ModbusAscii.h"
#include "app/XBV18panel.h"
#include "classlib/ui/WinApi.h"

using namespace monitortest;

namespace {

const std::string kThreeChannels = ThreeChannels();

// The frames the simulator received, in order.
std::vector<std::string> Received(const std::string& log) {
  std::vector<std::string> out;
  std::istringstream in(log);
  std::string line;
  while (std::getline(in, line)) {
    size_t p = line.find(" RX ");
    if (p != std::string::npos) out.push_back(line.substr(p + 4));
  }
  return out;
}

const std::string kRead0 = Frame(modbus::ReadRequest(1, 0, 1));
const std::string kRead1 = Frame(modbus::ReadRequest(5, 0, 2));
const std::string kRead2 = Frame(modbus::ReadRequest(16, 0x10, 4));

class MonitorThreeChannels : public ::testing::Test {
 protected:
  void SetUp() override {
    MonitorHost::WriteSettings(kThreeChannels);
    host_ = std::make_unique<MonitorHost>(kThreeDevices);
    host_->Start();
    ASSERT_TRUE(host_->PumpUntil(
        [] {
          return MonitorHost::ValueOf(0) == "12,34" && MonitorHost::ValueOf(1) == "5000,00" &&
                 MonitorHost::ValueOf(2) == "1000,00";
        },
        5000))
        << Utf8(MonitorHost::ValueOf(0)) << " | " << Utf8(MonitorHost::ValueOf(1)) << " | "
        << Utf8(MonitorHost::ValueOf(2));
  }
  std::unique_ptr<MonitorHost> host_;
};

// The panels' layout and the value field's colour: the main window's frame is
// skinned by its provider, the panels and their fields by the skin.
TEST_F(MonitorThreeChannels, PanelsShowTheConvertedValues) {
  ASSERT_TRUE(testsupport::ServedBySkinEngine(Form1->Handle())) << "the form resource's skin provider serves it";
  ASSERT_EQ(ChannelCount, 3);
  int heights[3] = {91, 116, 91};
  int top = Form1->sPanelCtl->Top() + Form1->sPanelCtl->Height();
  const char* names[3] = {"Весы 1", "ХБВ18_Вес", "ГОЛМ"};
  for (int n = 0; n < 3; ++n) {
    auto* panel = dynamic_cast<TControl*>(Form1->FindComponent("sPanel" + IntToStr(n)));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->Height(), heights[n]) << n;
    EXPECT_EQ(panel->Top(), top) << n;
    EXPECT_EQ(panel->Left(), 8);
    EXPECT_EQ(panel->Width(), 329);
    EXPECT_TRUE(panel->Visible());
    top += panel->Height();
    EXPECT_EQ(static_cast<TCustomMemo*>(Form1->FindComponent("sMemoName" + IntToStr(n)))->Text(), Cp(names[n]));
    EXPECT_EQ(static_cast<TCustomMemo*>(Form1->FindComponent("sMemoLbl" + IntToStr(n)))->Text(), IntToStr(n + 1) + ":");
  }
  for (const char* name : {"btnConfig1", "btnDelete1", "sMemoVal1", "sMemoLbl1", "sMemoName1", "XBV18SetZero1",
                           "XBV18SetTare1"})
    EXPECT_NE(Form1->FindComponent(name), nullptr) << name;
  EXPECT_EQ(Form1->FindComponent("XBV18SetZero0"), nullptr);
  auto* zero = static_cast<TControl*>(Form1->FindComponent("XBV18SetZero1"));
  EXPECT_EQ(zero->Top(), 86);
  EXPECT_EQ(Form1->Height(), top + 50);
  testsupport::Screenshot(Form1->Handle(), "monitor_three_channels");
  // What the operator sees: the value field of channel 1 in the skin's "BAR" colour.
  COLORREF field = testsupport::ClientPixel(Form1->Handle(), 8 + 72 + 4, 84 + 91 + 32 + 4);
  const Integer bar = Form1->sSkinManager1->GetSkinIndex("BAR");
  ASSERT_GE(bar, 0);
  EXPECT_EQ(field, static_cast<COLORREF>(ColorToRGB(Form1->sSkinManager1->Sections[static_cast<size_t>(bar)].Props[0].Color)));
}

TEST_F(MonitorThreeChannels, RequestsGoOutInChannelOrder) {
  host_->Pump(600);
  std::vector<std::string> rx = Received(testsupport::ReadHostFile(host_->DevsimLog()));
  ASSERT_GE(rx.size(), 9u);
  // After the first request every request follows its channel's order.
  size_t first = 0;
  while (first < rx.size() && rx[first] != kRead0) ++first;
  ASSERT_LT(first + 6, rx.size());
  for (size_t i = first; i + 1 < rx.size(); i += 3) {
    EXPECT_EQ(rx[i], kRead0) << i;
    if (i + 1 < rx.size()) {
      EXPECT_EQ(rx[i + 1], kRead1) << i;
    }
    if (i + 2 < rx.size()) {
      EXPECT_EQ(rx[i + 2], kRead2) << i;
    }
  }
  EXPECT_EQ(kRead0, ":010300000001FB\\r\\n");
}

TEST_F(MonitorThreeChannels, ASilentChannelShowsDashesWhileTheOthersGoOn) {
  // The lamp while every device answers: green, and nothing else.
  std::set<TColor> lamp;
  host_->PumpUntil(
      [&] {
        lamp.insert(Form1->InpDataStatusInd->Color());
        return false;
      },
      800);
  EXPECT_EQ(lamp, std::set<TColor>{kLampGreen});

  ASSERT_EQ(host_->Devsim("remove 16"), "ok\n");
  auto removed = std::chrono::steady_clock::now();
  ASSERT_TRUE(host_->PumpUntil([] { return MonitorHost::ValueOf(2) == "---"; }, 3000));
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - removed).count();
  EXPECT_LT(ms, 1500);  // one cycle (0.1 s idle, two answers) and the 0.5 s timeout
  ASSERT_EQ(host_->Devsim("weight 1 2000 1"), "ok\n");
  lamp.clear();
  EXPECT_TRUE(host_->PumpUntil(
      [&] {
        lamp.insert(Form1->InpDataStatusInd->Color());
        return MonitorHost::ValueOf(0) == "20,00";
      },
      3000));
  EXPECT_EQ(MonitorHost::ValueOf(1), "5000,00");
  EXPECT_EQ(MonitorHost::ValueOf(2), "---");
  // From the first cycle that ended without channel 2 on, the lamp stays red.
  lamp.clear();
  host_->PumpUntil(
      [&] {
        lamp.insert(Form1->InpDataStatusInd->Color());
        return false;
      },
      1500);
  EXPECT_EQ(lamp, std::set<TColor>{kLampRed});
  // And what the operator sees of it.
  Form1->SetLamp(kLampRed);
  Form1->Update();
  RECT r;
  GetWindowRect(Form1->InpDataStatusInd->Handle(), &r);
  POINT p{r.left + 8, r.top + 6};
  ScreenToClient(Form1->Handle(), &p);
  EXPECT_EQ(testsupport::ClientPixel(Form1->Handle(), p.x, p.y), RGB(255, 0, 0));
}

TEST_F(MonitorThreeChannels, TheZeroButtonWritesInPlaceOfTheNextRead) {
  host_->Pump(300);
  size_t before = Received(testsupport::ReadHostFile(host_->DevsimLog())).size();
  static_cast<TButton*>(Form1->FindComponent("XBV18SetZero1"))->Click();
  EXPECT_EQ(WriteRequested[1], 1);
  EXPECT_EQ(WriteRequested[0] + WriteRequested[2], 0);  // its own channel only
  host_->Pump(800);
  std::vector<std::string> rx = Received(testsupport::ReadHostFile(host_->DevsimLog()));
  const std::string write = ":050600300001C4\\r\\n";
  auto it = std::find(rx.begin() + static_cast<long>(before), rx.end(), write);
  ASSERT_NE(it, rx.end());
  EXPECT_EQ(std::count(rx.begin(), rx.end(), write), 1);
  ASSERT_TRUE(it != rx.begin() && it + 1 != rx.end() && it + 2 != rx.end());
  EXPECT_EQ(*(it - 1), kRead0);
  EXPECT_EQ(*(it + 1), kRead2);
  EXPECT_EQ(*(it + 2), kRead0);
  EXPECT_EQ(*(it + 3), kRead1);  // the next cycle reads the channel again
  EXPECT_EQ(WriteRequested[1], 0);

  static_cast<TButton*>(Form1->FindComponent("XBV18SetTare1"))->Click();
  host_->Pump(800);
  rx = Received(testsupport::ReadHostFile(host_->DevsimLog()));
  EXPECT_EQ(std::count(rx.begin(), rx.end(), Frame(modbus::WriteRequest(5, 0x20, 1))), 1);
}

TEST_F(MonitorThreeChannels, LoggingWritesOneLinePerCycle) {
  Form1->Button3->Click();
  ASSERT_TRUE(Logging);
  EXPECT_EQ(Form1->Button3->Caption(), Cp("Стоп"));
  EXPECT_EQ(Form1->Label7->Caption(), Cp("Включена"));
  EXPECT_EQ(Form1->Label7->Color(), kLampGreen);
  host_->Pump(1500);
  // A channel that stops answering leaves its field empty.
  ASSERT_EQ(host_->Devsim("remove 16"), "ok\n");
  host_->Pump(2500);
  Form1->Button3->Click();
  EXPECT_FALSE(Logging);
  EXPECT_EQ(Form1->Label7->Caption(), Cp("Выключена"));
  int lines = LogLineCount;
  EXPECT_GE(lines, 6);
  EXPECT_TRUE(Form1->Label2->Caption() == IntToStr(lines) || Form1->Label2->Caption() == IntToStr(lines - 1))
      << Form1->Label2->Caption();

  std::regex name(R"(\d\d-\d\d-\d{4}_\d{1,2}-\d\d-\d\d)");  // the hour may have one digit
  ASSERT_TRUE(std::regex_match(LogFileName, name)) << LogFileName;
  std::string csv = testsupport::ReadHostFile(host_->HostDir() + "/out/" + LogFileName + ".csv");
  std::istringstream in(csv);
  std::string line;
  int count = 0, full = 0, empty = 0;
  std::regex fullLine(R"(\d{1,2}:\d\d:\d\d;12,34;5000,00;1000,00\r)");
  std::regex emptyLast(R"(\d{1,2}:\d\d:\d\d;12,34;5000,00;\r)");
  while (std::getline(in, line)) {
    ++count;
    if (std::regex_match(line, fullLine))
      ++full;
    else if (std::regex_match(line, emptyLast))
      ++empty;
    else
      ADD_FAILURE() << "line " << count << ": " << line;
  }
  EXPECT_EQ(count, lines);
  EXPECT_GE(full, 3);
  EXPECT_GE(empty, 2);
}

TEST_F(MonitorThreeChannels, DeletingAChannelShiftsTheLaterOnes) {
  host_->Dialogs().Answer("Попытка удаления", IDYES);
  auto* del = static_cast<TButton*>(Form1->FindComponent("btnDelete0"));
  del->Click();
  TSeenDialog d;
  ASSERT_TRUE(host_->Dialogs().Find("Попытка удаления", &d));
  EXPECT_EQ(d.Text, "Вы действительно хотите удалить Весы 1?");
  ASSERT_TRUE(host_->PumpUntil([] { return ChannelCount == 2 && MonitorHost::ValueOf(1) == "1000,00"; }, 3000));
  EXPECT_EQ(MonitorHost::ValueOf(0), "5000,00");
  EXPECT_NE(Form1->FindComponent("XBV18SetZero0"), nullptr);
  EXPECT_TRUE(Form1->btnAddPanel->Enabled());
  std::string ini = MonitorHost::ReadSettings();
  EXPECT_NE(ini.find("ChannelLabel0=ХБВ18_Вес"), std::string::npos) << ini;
  EXPECT_NE(ini.find("ControlPanel0=1"), std::string::npos) << ini;
  EXPECT_NE(ini.find("DataSource1=[10-13]"), std::string::npos) << ini;
  EXPECT_EQ(ini.find("DataSource2="), std::string::npos) << ini;
  EXPECT_NE(ini.find("ControlPanel1=\r\n"), std::string::npos) << ini;  // channel 2 had none
  // The deleted channel's calibration went with it.
  EXPECT_EQ(ini.find("[Point2_0]\r\nADC=100"), std::string::npos) << ini;
}

TEST_F(MonitorThreeChannels, AReadOnlySettingsFileIsReportedAndTheProgramGoesOn) {
  // Held by another program that lets nobody write it (a read-only file is no
  // obstacle to a test that runs as the superuser).
  HANDLE held = CreateFileW(winapi::W(SettingsFileName()).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(WriteIniString("Settings", "Skin", "x"));
  CloseHandle(held);
  TSeenDialog d;
  ASSERT_TRUE(host_->Dialogs().Find("Дорнека-ХБВ", &d));
  EXPECT_EQ(d.Text, "Ошибка записи INI-файла!");
  ASSERT_EQ(host_->Devsim("weight 1 3000 1"), "ok\n");
  EXPECT_TRUE(host_->PumpUntil([] { return MonitorHost::ValueOf(0) == "30,00"; }, 3000));
}

TEST_F(MonitorThreeChannels, ALineThatGoesAwayIsReportedOnceAndThePollGoesOn) {
  host_->Unplug();
  host_->Pump(3000);
  // The failure is told once; the reload that follows the message box tries
  // the port once more and says that it does not open.
  int failures = 0, others = 0;
  for (auto& d : host_->Dialogs().Seen())
    (d.Text.rfind("Ошибка последовательного порта: ", 0) == 0 ? failures : others)++;
  EXPECT_EQ(failures, 1);
  EXPECT_LE(others, 1);
  EXPECT_TRUE(Form1->Timer1->Enabled());
  for (int n = 0; n < 3; ++n) EXPECT_EQ(MonitorHost::ValueOf(n), "---") << n;
}

// Hands every packet on to the main window, noting first what channel
// Watch showed before it.
class TPacketSpy : public TObject {
 public:
  int Watch = 0;
  std::vector<AnsiString> Before;
  void Packet(TObject* Sender, const AnsiString& Str) {
    Before.push_back(MonitorHost::ValueOf(Watch));
    Form1->ComDataPacket1Packet(Sender, Str);
  }
};

// One poll tick, as the timer gives it.
void Tick(int Count = 1) {
  for (int i = 0; i < Count; ++i) Form1->Timer1Timer(Form1->Timer1);
}

// Ticks until nothing is in flight, then until the next request has gone out.
int SendNext() {
  while (AwaitingAnswer) Tick();
  while (!AwaitingAnswer) Tick();
  return CurrentChannel;
}

TEST_F(MonitorThreeChannels, ALateAnswerIsNotTakenForTheNextChannel) {
  // The ticks are given here: every answer comes after its request has timed
  // out, while the next channel's request is on the line, however loaded the
  // machine is.
  Form1->Timer1->SetEnabled(false);
  host_->Pump(300);  // what was on the line arrives
  ASSERT_EQ(host_->Devsim("fault delay 1000"), "ok\n");
  TPacketSpy spy;
  Form1->ComDataPacket1->OnPacket = TComStrEvent(&spy, &TPacketSpy::Packet);
  const char* own[] = {"12,34", "5000,00", "1000,00"};
  auto received = [this] { return Received(testsupport::ReadHostFile(host_->DevsimLog())).size(); };
  for (int round = 0; round < 3; ++round) {
    size_t before = received();
    int late = SendNext();
    // On the wire before it times out (the next request clears what the
    // driver has not sent yet).
    ASSERT_TRUE(host_->PumpUntil([&] { return received() > before; }, 3000));
    Tick(static_cast<int>(TimeoutTicks));
    ASSERT_FALSE(AwaitingAnswer);
    EXPECT_EQ(MonitorHost::ValueOf(late), "---");
    int next = SendNext();
    ASSERT_NE(next, late);
    AnsiString shown = MonitorHost::ValueOf(next);
    spy.Watch = next;
    spy.Before.clear();
    // The late answer arrives first, then the next channel's own.
    ASSERT_TRUE(host_->PumpUntil([&] { return spy.Before.size() >= 2 && !AwaitingAnswer; }, 5000)) << round;
    EXPECT_EQ(spy.Before[1], shown) << "channel " << next << " took channel " << late << "'s answer";
    EXPECT_EQ(MonitorHost::ValueOf(next), own[next]) << round;
  }
}

// The lines of the log file in use.
std::vector<std::string> LogLines(const MonitorHost& Host) {
  std::string csv = testsupport::ReadHostFile(Host.HostDir() + "/out/" + LogFileName + ".csv");
  std::vector<std::string> lines;
  std::istringstream in(csv);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

TEST_F(MonitorThreeChannels, TheEchoOfAWriteIsNotAReading) {
  Form1->Button3->Click();
  ASSERT_TRUE(Logging);
  host_->Pump(300);
  std::set<std::string> shown;
  static_cast<TButton*>(Form1->FindComponent("XBV18SetTare1"))->Click();
  ASSERT_TRUE(host_->PumpUntil(
      [&] {
        shown.insert(Utf8(MonitorHost::ValueOf(1)));
        return WriteRequested[1] == 0;
      },
      3000));
  host_->Pump(500);
  Form1->Button3->Click();
  // Taking the tare makes the net weight 0; the echo's word is never shown.
  for (const std::string& v : shown) EXPECT_TRUE(v == "5000,00" || v == "0,00") << v;
  std::regex reading(R"(\d{1,2}:\d\d:\d\d;12,34;(5000|0),00;1000,00\r)");
  std::regex echo(R"(\d{1,2}:\d\d:\d\d;12,34;;1000,00\r)");
  int echoes = 0;
  for (const std::string& line : LogLines(*host_)) {
    if (std::regex_match(line, echo))
      ++echoes;
    else
      EXPECT_TRUE(std::regex_match(line, reading)) << line;
  }
  EXPECT_EQ(echoes, 1);
}

TEST_F(MonitorThreeChannels, AReloadKeepsTheCycleAndItsLogLine) {
  Form1->Button3->Click();
  // Back from a dialog while the last request of a cycle is on the line: the
  // cycle's line is written all the same.
  ASSERT_TRUE(host_->PumpUntil([] { return LogPending && AwaitingAnswer; }, 3000));
  int lines = LogLineCount;
  Form1->FormActivate(Form1);
  EXPECT_EQ(LogLineCount, lines + 1);
  // ... and in the middle of a cycle, the cycle goes on at once.
  ASSERT_TRUE(host_->PumpUntil([] { return CycleActive && AwaitingAnswer && CurrentChannel == 0; }, 3000));
  Form1->FormActivate(Form1);
  EXPECT_TRUE(CycleActive);
  EXPECT_FALSE(AwaitingAnswer);
  Tick();
  EXPECT_TRUE(AwaitingAnswer);
  EXPECT_EQ(CurrentChannel, 0);
}

// While a message box or a menu of the main window is open the answers still
// arrive: the values live on and the log lines carry them.
class MonitorUnderAModalLoop : public MonitorThreeChannels {
 protected:
  // Runs Open (which returns when its modal loop ends) with logging on; the
  // loop lasts at least 1.5 s and sees the weight change.
  void CheckValuesLiveDuring(const std::function<void()>& Open) {
    Form1->Button3->Click();
    ASSERT_TRUE(Logging);
    AnsiString during;
    int lines = 0;  // written while the loop was open
    MonitorHost::Later(300, [this] { host_->Devsim("weight 1 2000 1"); });
    MonitorHost::Later(1200, [&] {
      during = MonitorHost::ValueOf(0);
      lines = LogLineCount;
    });
    Open();
    Form1->Button3->Click();
    EXPECT_EQ(during, "20,00");
    EXPECT_GE(lines, 3);
    std::vector<std::string> log = LogLines(*host_);
    ASSERT_GE(log.size(), static_cast<size_t>(lines));
    std::regex full(R"(\d{1,2}:\d\d:\d\d;(12,34|20,00);5000,00;1000,00\r)");
    for (int i = 0; i < lines; ++i) EXPECT_TRUE(std::regex_match(log[i], full)) << log[i];
  }
};

TEST_F(MonitorUnderAModalLoop, TheDeleteQuestion) {
  host_->Dialogs().Answer("Попытка удаления", IDNO, 1500);
  CheckValuesLiveDuring([] { static_cast<TButton*>(Form1->FindComponent("btnDelete0"))->Click(); });
  EXPECT_TRUE(host_->Dialogs().Find("Попытка удаления"));
  EXPECT_EQ(ChannelCount, 3);
}

TEST_F(MonitorUnderAModalLoop, AMenu) {
  BOOL chosen = -1;
  CheckValuesLiveDuring([&] {
    MonitorHost::Later(1500, [] { EndMenu(); });
    HMENU settings = GetSubMenu(GetMenu(Form1->Handle()), 0);
    ASSERT_NE(settings, nullptr);
    chosen = TrackPopupMenu(settings, TPM_RETURNCMD, 100, 100, 0, Form1->Handle(), nullptr);
  });
  EXPECT_EQ(chosen, 0);  // closed with nothing chosen
}

TEST(MonitorStart, CalibrationValuesReadWithEitherDecimalSeparator) {
  MonitorHost::WriteSettings("[Point1_0]\r\nValue=0.5\r\n[Point2_0]\r\nValue=12,5\r\n[Point1_1]\r\nValue=x\r\n");
  LoadCalibration();
  EXPECT_FLOAT_EQ(Point1Value[0], 0.5f);
  EXPECT_FLOAT_EQ(Point2Value[0], 12.5f);
  EXPECT_FLOAT_EQ(Point1Value[1], 0.0f);
  EXPECT_FLOAT_EQ(Point2Value[1], 20000.0f);
}

TEST(MonitorStart, FirstRunAsksForASearchAndReportsTheMissingPort) {
  MonitorHost::WriteSettings("");
  MonitorHost host({});
  host.Dialogs().Answer("Не обнаружено подключения", IDNO);
  host.Start();
  ASSERT_TRUE(host.PumpUntil([&] { return host.Dialogs().Find("Дорнека-ХБВ"); }, 5000));
  TSeenDialog q, e;
  ASSERT_TRUE(host.Dialogs().Find("Не обнаружено подключения", &q));
  EXPECT_EQ(q.Text, "Произвести поиск прибора?");
  ASSERT_TRUE(host.Dialogs().Find("Дорнека-ХБВ", &e));
  EXPECT_EQ(e.Text, "Ошибка открытия последовательного порта!");
  EXPECT_LT(q.AtMs, e.AtMs);
  EXPECT_LT(q.AtMs, 2000);  // the first load runs 0.1 s after the loop starts
  EXPECT_FALSE(Form1->ComPort1->Connected());
  EXPECT_EQ(Form1->ComPort1->Port(), "COM3");
  EXPECT_EQ(ChannelCount, 0);
  EXPECT_TRUE(Form1->Timer1->Enabled());
}

TEST(MonitorStart, AutomaticLoggingStartsAndStaysOn) {
  std::string ini = kThreeChannels;
  ini.replace(ini.find("[ADC]"), 0, "AutoLog=1\r\n");
  MonitorHost::WriteSettings(ini);
  MonitorHost host(kThreeDevices);
  host.Start();
  ASSERT_TRUE(host.PumpUntil([] { return Logging; }, 3000));
  // Back from a dialog: the loader runs again and logging goes on.
  Form1->FormActivate(Form1);
  EXPECT_TRUE(Logging);
  host.Pump(500);
  EXPECT_TRUE(Logging);
  EXPECT_GT(LogLineCount, 0);
}

}  // namespace

namespace {

// Channels 0..2 on the three simulated devices, automatic logging into a
// host folder.
std::string ThreeChannelsLoggingInto(const std::string& HostDir) {
  std::string dir = "Z:" + HostDir + "/";
  std::replace(dir.begin(), dir.end(), '/', '\\');
  std::string ini = kThreeChannels;
  const std::string out = "OutDirectory=.\\out\\";
  ini.replace(ini.find(out), out.size(), "AutoLog=1\r\nOutDirectory=" + dir);
  return ini;
}

TEST(MonitorLamp, IsRedWhileAChannelHasNeverAnswered) {
  MonitorHost::WriteSettings(kThreeChannels);
  MonitorHost host({kThreeDevices[0], kThreeDevices[1]});
  host.Start();
  // Once the first cycle has ended without channel 2 ...
  ASSERT_TRUE(host.PumpUntil([] { return Form1->InpDataStatusInd->Color() != kLampGrey; }, 5000));
  EXPECT_EQ(MonitorHost::ValueOf(0), "12,34");
  std::set<TColor> lamp;
  host.PumpUntil(
      [&] {
        lamp.insert(Form1->InpDataStatusInd->Color());
        return false;
      },
      1500);
  EXPECT_EQ(lamp, std::set<TColor>{kLampRed});
}

TEST(MonitorSettings, ChannelsWithoutAValidAddressAreNotPolledAndAWildPeriodIsTheDefault) {
  std::string ini = kThreeChannels;
  ini.replace(ini.find("MODBUS_address0=01"), 18, "MODBUS_address0=XY");
  ini.replace(ini.find("MODBUS_address1=05"), 18, "MODBUS_address1=F8");
  ini.replace(ini.find("Period=100"), 10, "Period=2147483647");
  MonitorHost::WriteSettings(ini);
  MonitorHost host(kThreeDevices);
  host.Start();
  ASSERT_TRUE(host.PumpUntil([] { return MonitorHost::ValueOf(2) == "1000,00"; }, 5000));
  EXPECT_EQ(PollPeriod, 500);
  Form1->Button3->Click();
  ASSERT_TRUE(host.PumpUntil([] { return LogLineCount >= 3; }, 5000));
  Form1->Button3->Click();
  EXPECT_EQ(MonitorHost::ValueOf(0), "---");
  EXPECT_EQ(MonitorHost::ValueOf(1), "---");
  std::string csv = testsupport::ReadHostFile(host.HostDir() + "/out/" + LogFileName + ".csv");
  std::regex line(R"((\d{1,2}:\d\d:\d\d;;;1000,00\r\n){3,})");
  EXPECT_TRUE(std::regex_match(csv, line)) << csv;
  // Nothing went to device 1 in place of the channels' own.
  for (const std::string& f : Received(testsupport::ReadHostFile(host.DevsimLog())))
    EXPECT_EQ(f, kRead2) << f;
}

TEST(MonitorChannels, TenChannelsFillTheWindowAndDeletingOneMovesTheLaterOnes) {
  std::string ini = "[Settings]\r\n";
  for (int n = 0; n < 10; ++n) {
    std::string k = std::to_string(n);
    if (n != 7) ini += "ChannelLabel" + k + "=К" + k + "\r\n";
    char address[3];
    std::snprintf(address, sizeof address, "%02X", n + 1);
    ini += "DataSource" + k + "=[0]\r\nMODBUS_address" + k + "=" + address + "\r\nDeviceType" + k + "=0\r\n";
  }
  ini += "[Point1_5]\r\nADC=11\r\nValue=1,5\r\n[Point2_5]\r\nADC=22\r\nValue=2,5\r\n"
         "[ComPort1]\r\nPort=COM5\r\nBaudRate=115200\r\n";
  MonitorHost::WriteSettings(ini);
  MonitorHost host({"XBV5:1:115200:N"});
  host.Dialogs().Answer("Попытка удаления", IDYES);
  host.Start();
  ASSERT_TRUE(host.PumpUntil([] { return ChannelCount == 10 && FirstLoadDone; }, 5000));
  EXPECT_FALSE(Form1->btnAddPanel->Enabled());
  static_cast<TButton*>(Form1->FindComponent("btnDelete3"))->Click();
  ASSERT_TRUE(host.PumpUntil([] { return ChannelCount == 9; }, 3000));
  EXPECT_TRUE(Form1->btnAddPanel->Enabled());
  std::string after = MonitorHost::ReadSettings();
  // Channel 5's points are channel 4's now, and channel 5 has none.
  EXPECT_NE(after.find("[Point1_4]\r\nADC=11\r\nValue=1,5"), std::string::npos) << after;
  EXPECT_NE(after.find("[Point2_4]\r\nADC=22\r\nValue=2,5"), std::string::npos) << after;
  EXPECT_EQ(after.find("[Point1_5]"), std::string::npos) << after;
  EXPECT_FLOAT_EQ(Point1Value[4], 1.5f);
  // Channel 7 had no label: as channel 6 its label is empty, not a default one.
  EXPECT_NE(after.find("ChannelLabel6=\r\n"), std::string::npos) << after;
  EXPECT_EQ(static_cast<TCustomMemo*>(Form1->FindComponent("sMemoName6"))->Text(), "");
  EXPECT_EQ(static_cast<TCustomMemo*>(Form1->FindComponent("sMemoName7"))->Text(), Cp("К8"));
}

TEST(MonitorPort, APortWhoseModemLinesCannotBeReadStillPolls) {
  MonitorHost::WriteSettings(kThreeChannels);
  MonitorHost host(kThreeDevices);
  std::string flag = "/dev/shm/vline-pts-" + host.LineSlave().substr(9) + ".nomodem";
  ASSERT_EQ(testsupport::RunHostShell("touch '" + flag + "'"), 0);
  host.Start();
  bool polled = host.PumpUntil([] { return MonitorHost::ValueOf(2) == "1000,00"; }, 5000);
  COMSTAT stat;
  DWORD errors = 0;
  DWORD modem = 0;
  bool modemRead = GetCommModemStatus(reinterpret_cast<HANDLE>(Form1->ComPort1->Handle()), &modem);
  ClearCommError(reinterpret_cast<HANDLE>(Form1->ComPort1->Handle()), &errors, &stat);
  testsupport::RunHostShell("rm -f '" + flag + "'");
  EXPECT_FALSE(modemRead);  // the lines really could not be read
  EXPECT_TRUE(polled);
  EXPECT_TRUE(Form1->ComPort1->Connected());
  EXPECT_TRUE(host.Dialogs().Seen().empty());
}

// The log files in a host folder.
std::vector<std::string> CsvFiles(const std::string& HostDir) {
  std::vector<std::string> out;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((testsupport::WinPath(HostDir) + L"\\*.csv").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return out;
  do out.push_back(Utf8(winapi::A(fd.cFileName))); while (FindNextFileW(h, &fd));
  FindClose(h);
  return out;
}

TEST(MonitorLog, AnOutputFolderThatCannotBeWrittenDoesNotHoldUpTheStart) {
  std::string dir = testsupport::HostBuildDir() + "/monitor-tests/read-only-out";
  TSmallDisk disk(dir, "ro,size=64k");
  if (!disk.Mounted()) GTEST_SKIP() << "a read-only file system cannot be mounted here (needs the superuser)";
  MonitorHost::WriteSettings(ThreeChannelsLoggingInto(dir));
  MonitorHost host(kThreeDevices);
  host.Dialogs().Answer("Дорнека-ХБВ", IDOK, 1500);
  // What the panels show while the error waits for the operator (the box's
  // own loop runs the timers).
  AnsiString during;
  std::function<void()> watch = [&] {
    if (host.Dialogs().Find("Дорнека-ХБВ"))
      MonitorHost::Later(1000, [&] { during = MonitorHost::ValueOf(2); });
    else
      MonitorHost::Later(20, watch);
  };
  MonitorHost::Later(20, watch);
  host.Start();
  ASSERT_TRUE(host.PumpUntil([&] { return !during.empty(); }, 8000));
  EXPECT_EQ(during, "1000,00");
  TSeenDialog d;
  ASSERT_TRUE(host.Dialogs().Find("Дорнека-ХБВ", &d));
  EXPECT_EQ(d.Text.rfind("Не удалось создать файл ", 0), 0u) << d.Text;
  EXPECT_FALSE(Logging);
  host.Pump(700);
  // Back from a dialog: the failure is not told again, nor tried again.
  Form1->FormActivate(Form1);
  host.Pump(300);
  EXPECT_EQ(host.Dialogs().Seen().size(), 1u);
  // The operator's start tries again and says so again.
  Form1->Button3->Click();
  EXPECT_FALSE(Logging);
  EXPECT_EQ(host.Dialogs().Seen().size(), 2u);
}

TEST(MonitorLog, AFullDiskKeepsWholeLinesAndStopsLogging) {
  std::string dir = testsupport::HostBuildDir() + "/monitor-tests/full-out";
  TSmallDisk disk(dir, "size=8k");
  if (!disk.Mounted()) GTEST_SKIP() << "a small file system cannot be mounted here (needs the superuser)";
  {
    // One of its two pages is taken.
    std::ofstream filler(testsupport::WinPath(dir + "/filler").c_str(), std::ios::binary);
    filler << std::string(4096, 'x');
  }
  MonitorHost::WriteSettings(ThreeChannelsLoggingInto(dir));
  MonitorHost host(kThreeDevices);
  host.Start();
  ASSERT_TRUE(host.PumpUntil([] { return Logging && MonitorHost::ValueOf(2) == "1000,00"; }, 5000));
  std::string file = dir + "/" + Utf8(LogFileName) + ".csv";
  for (int i = 0; i < 1000 && Logging; ++i) Form1->WriteLogLine();
  ASSERT_FALSE(Logging);
  ASSERT_TRUE(host.PumpUntil([&] { return host.Dialogs().Find("Дорнека-ХБВ"); }, 3000));
  TSeenDialog d;
  host.Dialogs().Find("Дорнека-ХБВ", &d);
  EXPECT_EQ(d.Text.rfind("Ошибка записи в файл ", 0), 0u) << d.Text;
  std::string csv = testsupport::ReadHostFile(file);
  ASSERT_GT(csv.size(), 1000u);
  EXPECT_LE(csv.size(), 4096u);
  // Lines written here while a channel's request was on the line leave it empty.
  std::regex whole(R"((\d{1,2}:\d\d:\d\d;(12,34)?;(5000,00)?;(1000,00)?\r\n)+)");
  EXPECT_TRUE(std::regex_match(csv, whole)) << "the log ends with: " << csv.substr(csv.size() - 60);
  EXPECT_EQ(static_cast<size_t>(LogLineCount), std::count(csv.begin(), csv.end(), '\n'));
  // Automatic logging does not start another file after the failure.
  host.Pump(300);
  Form1->FormActivate(Form1);
  host.Pump(300);
  EXPECT_FALSE(Logging);
  EXPECT_EQ(CsvFiles(dir).size(), 1u);
}

}  // namespace
