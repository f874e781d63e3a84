// The lists bound to a port: what they list, what they read from the port,
// when the user's choice reaches the port, and the loss of the port.
#include "CtlTestSupport.h"

using namespace ctltest;

namespace {

// One port setting as the lists see it.
struct Setting {
  TComProperty Property;
  std::vector<std::string> Items;
  std::function<void(TComPort*, const AnsiString&)> Set;  // writes a listed text into the port
  std::function<std::string(TComPort*)> Get;              // the port's value as listed
  std::string Before, Chosen;
};

const std::vector<Setting>& Settings() {
  static const std::vector<Setting> settings = {
      {cpBaudRate,
       {"Custom", "110", "300", "600", "1200", "2400", "4800", "9600", "14400", "19200", "38400", "56000", "57600",
        "115200", "128000", "256000"},
       [](TComPort* p, const AnsiString& s) { p->SetBaudRate(StrToBaudRate(s)); },
       [](TComPort* p) { return BaudRateToStr(p->BaudRate()); },
       "115200",
       "9600"},
      {cpParity,
       {"None", "Odd", "Even", "Mark", "Space"},
       [](TComPort* p, const AnsiString& s) { p->Parity()->SetBits(StrToParity(s)); },
       [](TComPort* p) { return ParityToStr(p->Parity()->Bits()); },
       "Even",
       "Mark"},
      {cpDataBits,
       {"5", "6", "7", "8"},
       [](TComPort* p, const AnsiString& s) { p->SetDataBits(StrToDataBits(s)); },
       [](TComPort* p) { return DataBitsToStr(p->DataBits()); },
       "8",
       "7"},
      {cpStopBits,
       {"1", "1.5", "2"},
       [](TComPort* p, const AnsiString& s) { p->SetStopBits(StrToStopBits(s)); },
       [](TComPort* p) { return StopBitsToStr(p->StopBits()); },
       "1",
       "2"},
      {cpFlowControl,
       {"Hardware", "Software", "None", "Custom"},
       [](TComPort* p, const AnsiString& s) { p->FlowControl()->SetFlowControl(StrToFlowControl(s)); },
       [](TComPort* p) { return FlowControlToStr(p->FlowControl()->FlowControl()); },
       "None",
       "Software"},
  };
  return settings;
}

using Lists = Host;

TEST_F(Lists, ComboListsTheValuesReadsThePortAndWritesTheChoiceOnlyWhenApplied) {
  for (const Setting& s : Settings()) {
    SCOPED_TRACE(s.Property);
    TComPort* port = NewPort("COM7");
    s.Set(port, s.Before);
    auto* combo = Add<TComComboBox>(10, 10, 140, 21);
    EXPECT_EQ(combo->Style(), csDropDownList);
    combo->SetComProperty(s.Property);
    EXPECT_EQ(ItemsOf(combo->Items()), s.Items);
    EXPECT_EQ(combo->ItemIndex(), 0) << "without a port the first value is shown";
    combo->SetComPort(port);
    EXPECT_EQ(combo->Text(), s.Before);

    Choose(combo, s.Chosen);
    EXPECT_EQ(combo->Text(), s.Chosen);
    EXPECT_EQ(s.Get(port), s.Before) << "the choice waits for ApplySettings";
    combo->ApplySettings();
    EXPECT_EQ(s.Get(port), s.Chosen);

    // Text selects a listed value (any case) and ignores an unlisted one.
    combo->SetText("no such value");
    EXPECT_EQ(combo->Text(), s.Chosen);
    combo->SetText(LowerCase(s.Before));
    EXPECT_EQ(combo->Text(), s.Before);

    // The port changes elsewhere; UpdateSettings shows it again.
    s.Set(port, s.Chosen);
    combo->SetText(s.Before);
    combo->UpdateSettings();
    EXPECT_EQ(combo->Text(), s.Chosen);

    // With AutoApply the choice goes to the port at once.
    combo->SetAutoApply(true);
    Choose(combo, s.Before);
    EXPECT_EQ(s.Get(port), s.Before);
    combo->Free();
    port->Free();
  }
}

TEST_F(Lists, PortListShowsThePortsPresentAndNeverEmptiesTheName) {
  TComPort* port = NewPort("COM5");
  auto* combo = Add<TComComboBox>(10, 10, 140, 21);
  combo->SetComProperty(cpPort);
  std::vector<std::string> ports = ItemsOf(combo->Items());
  for (const char* name : {"COM5", "COM7", "COM9"})
    EXPECT_NE(std::find(ports.begin(), ports.end(), name), ports.end()) << name;
  combo->SetComPort(port);
  EXPECT_EQ(combo->Text(), "COM5");
  Choose(combo, "COM9");
  combo->ApplySettings();
  EXPECT_EQ(port->Port(), "COM9");

  // A port whose name is not listed: nothing is selected, and applying keeps
  // its name instead of writing an empty one.
  TComPort* other = NewPort("COM3");
  auto* second = Add<TComComboBox>(10, 40, 140, 21);
  second->SetComProperty(cpPort);
  second->SetComPort(other);
  EXPECT_EQ(second->ItemIndex(), -1);
  EXPECT_EQ(second->Text(), "");
  second->ApplySettings();
  EXPECT_EQ(other->Port(), "COM3");
  // Nor does a choice made before the port was renamed to an unlisted name.
  Choose(second, "COM7");
  other->SetPort("COM2");
  second->UpdateSettings();
  EXPECT_EQ(second->Text(), "");
  second->ApplySettings();
  EXPECT_EQ(other->Port(), "COM2");
}

TEST_F(Lists, FreeingTheBoundPortUnbindsTheControlsAndSelectsTheFirstItem) {
  TComPort* port = NewPort("COM7");
  port->SetBaudRate(br57600);
  auto* combo = Add<TComComboBox>(10, 10, 140, 21);
  combo->SetComProperty(cpBaudRate);
  combo->SetComPort(port);
  auto* group = Add<TComRadioGroup>(10, 40, 140, 120);
  group->SetComProperty(cpParity);
  port->Parity()->SetBits(prOdd);
  group->SetComPort(port);
  auto* led = Add<TComLed>(200, 10, 25, 25);
  led->SetComPort(port);
  ASSERT_EQ(combo->Text(), "57600");
  ASSERT_EQ(group->ItemIndex(), 1);

  port->Free();
  EXPECT_EQ(combo->ComPort(), nullptr);
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_EQ(group->ComPort(), nullptr);
  EXPECT_EQ(group->ItemIndex(), 0);
  EXPECT_EQ(led->ComPort(), nullptr);
  led->SetState(lsOn);  // no port: the program sets the state again
  EXPECT_EQ(led->State(), lsOn);
}

TEST_F(Lists, RadioGroupHandsEachNewChoiceToThePortOnce) {
  TComPort* port = NewPort("COM7");
  port->SetBaudRate(br19200);
  auto* group = Add<TComRadioGroup>(10, 10, 200, 260);
  group->SetCaption("Baud rate");
  group->SetComProperty(cpBaudRate);
  group->SetComPort(port);
  EXPECT_EQ(ItemsOf(group->Items()), Settings()[0].Items);
  EXPECT_EQ(group->ItemIndex(), 9) << "19200";
  testsupport::PumpMessages(50);
  testsupport::Screenshot(Form->Handle(), "serial_ctl_radio_group");

  ClickItem(group, 7);
  EXPECT_EQ(group->ItemIndex(), 7);
  EXPECT_EQ(port->BaudRate(), br19200) << "the choice waits for ApplySettings";
  group->ApplySettings();
  EXPECT_EQ(port->BaudRate(), br9600);

  group->SetAutoApply(true);
  ClickItem(group, 13);
  EXPECT_EQ(port->BaudRate(), br115200);
  // The port changes elsewhere; a click on the item already chosen hands
  // nothing over, from the user or from the program.
  port->SetBaudRate(br1200);
  ClickItem(group, 13);
  group->Click();
  EXPECT_EQ(port->BaudRate(), br1200);
  ClickItem(group, 12);
  EXPECT_EQ(port->BaudRate(), br57600);

  // Reading the port is no choice: with AutoApply it writes nothing back.
  port->SetBaudRate(br2400);
  group->UpdateSettings();
  EXPECT_EQ(group->ItemIndex(), 5);
  EXPECT_EQ(port->BaudRate(), br2400);
}

}  // namespace
