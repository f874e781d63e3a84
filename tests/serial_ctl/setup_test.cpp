// The port setup form run on a port, and the bound controls on an open port
// with devices at the far ends of the virtual lines.
#include "CtlTestSupport.h"

#include <algorithm>
#include <memory>

#include "i18n/gnugettext.h"

using namespace ctltest;

namespace {

// --------------------------------------------------------------- setup form

// What the timer does to the setup form while it runs modally.
struct Drive {
  std::vector<std::pair<int, AnsiString>> Choices;  // combo number (1..6) and the text chosen
  bool Ok = true;
  std::string Shot;
  std::vector<std::string> Shown;  // the six texts as the form opened
  int Ticks = 0;
  bool Done = false;
};
Drive gDrive;

TComSetupFrm* SetupForm() {
  for (int i = 0; i < Screen->FormCount(); ++i)
    if (auto* f = dynamic_cast<TComSetupFrm*>(Screen->Forms(i))) return f;
  return nullptr;
}

void CALLBACK DriveSetup(HWND, UINT, UINT_PTR, DWORD) {
  TComSetupFrm* f = SetupForm();
  if (!f || gDrive.Done || !f->HandleAllocated() || !IsWindowVisible(f->WindowHandle())) return;
  TComComboBox* combos[] = {f->Combo1, f->Combo2, f->Combo3, f->Combo4, f->Combo5, f->Combo6};
  ++gDrive.Ticks;
  if (gDrive.Ticks == 2) {
    Raise(f->WindowHandle(), 760, 480);  // clear of other programs on the shared desktop
    for (TComComboBox* c : combos) gDrive.Shown.push_back(c->Text());
    for (auto& [n, text] : gDrive.Choices) Choose(combos[n - 1], text);
  } else if (gDrive.Ticks == 4) {
    if (!gDrive.Shot.empty()) testsupport::Screenshot(f->WindowHandle(), gDrive.Shot);
    gDrive.Done = true;
    PostMessageW((gDrive.Ok ? f->Button1 : f->Button2)->Handle(), BM_CLICK, 0, 0);
  }
}

struct PortState {
  std::string Port, Baud, DataBits, StopBits, Parity, Flow;
  bool operator==(const PortState&) const = default;
};
std::ostream& operator<<(std::ostream& os, const PortState& s) {
  return os << s.Port << ' ' << s.Baud << ' ' << s.DataBits << ' ' << s.StopBits << ' ' << s.Parity << ' ' << s.Flow;
}
PortState StateOf(TCustomComPort* p) {
  return {p->Port(),
          BaudRateToStr(p->BaudRate()),
          DataBitsToStr(p->DataBits()),
          StopBitsToStr(p->StopBits()),
          ParityToStr(p->Parity()->Bits()),
          FlowControlToStr(p->FlowControl()->FlowControl())};
}

TEST(SetupForm, OkWritesTheChosenValuesAndCancelNothing) {
  struct Case {
    const char* Name;
    AnsiString Port;
    bool ThroughPort;  // ShowSetupDialog instead of EditComPort
    std::vector<std::pair<int, AnsiString>> Choices;
    bool Ok;
    std::vector<std::string> Shown;
    PortState After;
  };
  const std::vector<std::string> shown7 = {"COM7", "57600", "8", "1", "Even", "None"};
  const Case cases[] = {
      {"ok", "COM7", false, {{2, "19200"}, {4, "2"}, {5, "None"}}, true, shown7,
       {"COM7", "19200", "8", "2", "None", "None"}},
      {"cancel", "COM7", false, {{1, "COM5"}, {2, "110"}, {3, "7"}}, false, shown7,
       {"COM7", "57600", "8", "1", "Even", "None"}},
      {"port's dialog", "COM7", true, {{1, "COM5"}, {6, "Hardware"}}, true, shown7,
       {"COM5", "57600", "8", "1", "Even", "Hardware"}},
      // A port that is not present keeps its name.
      {"unlisted port", "COM3", true, {}, true, {"", "57600", "8", "1", "Even", "None"},
       {"COM3", "57600", "8", "1", "Even", "None"}},
  };
  UINT_PTR timer = SetTimer(nullptr, 0, 60, DriveSetup);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    std::unique_ptr<TComPort, void (*)(TComPort*)> port(Create<TComPort>(nullptr), [](TComPort* p) { p->Free(); });
    port->SetPort(c.Port);
    port->SetBaudRate(br57600);
    port->Parity()->SetBits(prEven);
    gDrive = Drive{};
    gDrive.Choices = c.Choices;
    gDrive.Ok = c.Ok;
    if (c.Ok && !c.Choices.empty() && !c.ThroughPort) gDrive.Shot = "serial_ctl_setup_form";
    if (c.ThroughPort)
      port->ShowSetupDialog();
    else
      EditComPort(port.get());
    EXPECT_TRUE(gDrive.Done) << "the form was not shown";
    EXPECT_EQ(gDrive.Shown, c.Shown);
    EXPECT_EQ(StateOf(port.get()), c.After);
    EXPECT_EQ(SetupForm(), nullptr) << "the form is freed";
  }
  KillTimer(nullptr, timer);
}

TEST(SetupForm, LooksAsDesigned) {
  std::unique_ptr<TComSetupFrm, void (*)(TComSetupFrm*)> f(Create<TComSetupFrm>(static_cast<TComponent*>(nullptr)),
                                                           [](TComSetupFrm* p) { p->Free(); });
  EXPECT_EQ(f->Caption(), "Setup");
  EXPECT_EQ(f->BorderStyle(), bsDialog);
  EXPECT_EQ(f->Position(), poScreenCenter);
  EXPECT_EQ(f->ClientWidth(), 231);
  EXPECT_EQ(f->ClientHeight(), 216);
  EXPECT_EQ(f->GroupBox1->Caption(), " Settings ");
  const std::pair<TLabel*, const char*> labels[] = {{f->Label1, "Port"},      {f->Label2, "Baud rate"},
                                                    {f->Label3, "Data bits"}, {f->Label4, "Stop bits"},
                                                    {f->Label5, "Parity"},    {f->Label6, "Flow control"}};
  for (auto& [label, text] : labels) EXPECT_EQ(label->Caption(), text);
  TComComboBox* combos[] = {f->Combo1, f->Combo2, f->Combo3, f->Combo4, f->Combo5, f->Combo6};
  const TComProperty props[] = {cpPort, cpBaudRate, cpDataBits, cpStopBits, cpParity, cpFlowControl};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(combos[i]->ComProperty(), props[i]);
    EXPECT_EQ(combos[i]->Style(), csDropDownList);
    EXPECT_EQ(combos[i]->Width(), 129);
    EXPECT_EQ(combos[i]->TabOrder(), i);
  }
  EXPECT_TRUE(f->Button1->Default());
  EXPECT_EQ(f->Button1->ModalResult(), 1);
  EXPECT_EQ(f->Button2->ModalResult(), 2);
}

TEST(SetupForm, TextsAreTranslatedInThePortDomainButTheValuesAreNot) {
  InitializeGnuGettext();
  bindtextdomain("cport", WriteCportCatalogue("serial-ctl-locale", {{"Setup", "Настройка"},
                                               {" Settings ", " Параметры "},
                                               {"Baud rate", "Скорость"},
                                               {"Cancel", "Отмена"},
                                               {"None", "Нет"},
                                               {"Even", "Чёт"},
                                               {"COM7", "КОМ7"}}));
  UseLanguage("ru");
  {
    std::unique_ptr<TComSetupFrm, void (*)(TComSetupFrm*)> f(
        Create<TComSetupFrm>(static_cast<TComponent*>(nullptr)), [](TComSetupFrm* p) { p->Free(); });
    EXPECT_EQ(f->Caption(), "Настройка"_cp);
    EXPECT_EQ(f->GroupBox1->Caption(), " Параметры "_cp);
    EXPECT_EQ(f->Label2->Caption(), "Скорость"_cp);
    EXPECT_EQ(f->Button2->Caption(), "Отмена"_cp);
    EXPECT_EQ(f->Label1->Caption(), "Port") << "no entry: as written";
    // The lists hold the port's values, which the port reads back by text.
    EXPECT_EQ(ItemsOf(f->Combo5->Items()), (std::vector<std::string>{"None", "Odd", "Even", "Mark", "Space"}));
    EXPECT_NE(f->Combo1->Items()->IndexOf("COM7"), -1);
  }
  FinalizeGnuGettext();
}

// The library's error texts are looked up when an error is raised, so that a
// catalogue bound after the program started translates them.
TEST(PortErrors, TheErrorTextsComeFromThePortDomainWhenRaised) {
  EXPECT_EQ(EComPort(7, 5).Message, "SetCommState function failed (win error code: 5)") << "no catalogue: as written";
  InitializeGnuGettext();
  bindtextdomain("cport", WriteCportCatalogue("serial-ctl-error-locale",
                                               {{"SetCommState function failed", "Ошибка SetCommState"},
                                                {"Registry error", "Ошибка реестра"}}));
  UseLanguage("ru");
  try {
    throw EComPort(7, 5);
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Message, "Ошибка SetCommState (win error code: 5)"_cp);
    EXPECT_EQ(e.Code, 7);
    EXPECT_EQ(e.WinCode, 5);
  }
  EXPECT_EQ(EComPort(23).Message, "Ошибка реестра"_cp);
  EXPECT_EQ(EComPort(14).Message, "Cannot set property while connected") << "no entry: as written";
  FinalizeGnuGettext();
  EXPECT_EQ(EComPort(23).Message, "Registry error") << "the runtime gone: as written again";
}

// ----------------------------------------------------------------- open port

class OpenPort : public Host {
 protected:
  std::unique_ptr<Device> Com7, Com8;
};

class TStateLog : public TObject {
 public:
  std::vector<TLedState> States;
  void Changed(TObject*, TLedState s) { States.push_back(s); }
};

TEST_F(OpenPort, ChoicesReachTheLineAndTheLampFollowsTheConnection) {
  Com7 = std::make_unique<Device>("com7");
  Com8 = std::make_unique<Device>("com8");
  ASSERT_TRUE(Com7->Started() && Com8->Started()) << "devsim did not make the cables";
  TComPort* port = NewPort("COM7");
  port->SetBaudRate(br57600);
  port->Parity()->SetBits(prEven);
  TStateLog log;
  auto* led = Add<TComLed>(300, 10, 25, 25);
  led->SetKind(lkGreenLight);
  led->OnChange = TLedStateEvent(&log, &TStateLog::Changed);
  led->SetComPort(port);
  EXPECT_EQ(led->State(), lsOff);

  port->Open();
  EXPECT_EQ(led->State(), lsOn);
  EXPECT_TRUE(Com7->HeardLine(port, "57600 E 8 1")) << Com7->Log();

  // The settings reach the open port's line.
  auto* baud = Add<TComComboBox>(10, 10, 140, 21);
  baud->SetComProperty(cpBaudRate);
  baud->SetComPort(port);
  auto* parity = Add<TComComboBox>(10, 40, 140, 21);
  parity->SetComProperty(cpParity);
  parity->SetComPort(port);
  auto* stop = Add<TComRadioGroup>(160, 10, 120, 100);
  stop->SetComProperty(cpStopBits);
  stop->SetComPort(port);
  Choose(baud, "9600");
  Choose(parity, "None");
  ClickItem(stop, 2);
  baud->ApplySettings();
  parity->ApplySettings();
  stop->ApplySettings();
  EXPECT_TRUE(port->Connected());
  EXPECT_TRUE(Com7->HeardLine(port, "9600 N 8 2")) << Com7->Log();
  testsupport::Screenshot(Form->Handle(), "serial_ctl_open_port");

  // Another port: the open port is closed and opened again there.
  auto* name = Add<TComComboBox>(10, 70, 140, 21);
  name->SetComProperty(cpPort);
  name->SetComPort(port);
  name->SetAutoApply(true);
  Choose(name, "COM8");
  EXPECT_EQ(port->Port(), "COM8");
  EXPECT_TRUE(port->Connected());
  EXPECT_TRUE(Com8->HeardLine(port, "9600 N 8 2")) << Com8->Log();
  EXPECT_EQ(log.States, (std::vector<TLedState>{lsOn, lsOff, lsOn}));

  // A lamp bound to the open port lights at once.
  auto* second = Add<TComLed>(330, 10, 25, 25);
  second->SetComPort(port);
  EXPECT_EQ(second->State(), lsOn);

  port->Close();
  EXPECT_EQ(led->State(), lsOff);
  EXPECT_EQ(second->State(), lsOff);
}

}  // namespace
