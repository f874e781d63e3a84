// The port component without a device: errors and their texts, value texts,
// settings rules, links, the settings store, the port list and the dead port.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "PortTestSupport.h"
#include "classlib/ui/Registry.h"

using namespace porttest;

namespace {

std::unique_ptr<TComPort> NewPort(const char* name = "ComPort1") {
  std::unique_ptr<TComPort> p(Create<TComPort>(nullptr));
  p->SetName(name);
  return p;
}

template <class F>
Integer CodeOf(F&& f) {
  try {
    f();
  } catch (const EComPort& e) {
    return e.Code;
  }
  return 0;
}

TEST(ComErrors, EveryCodeHasItsTextAndTheSystemCodeSuffix) {
  const char* texts[23] = {"Unable to open com port", "WriteFile function failed", "ReadFile function failed",
                           "Invalid Async parameter", "PurgeComm function failed", "Unable to get async status",
                           "SetCommState function failed", "SetCommTimeouts failed", "SetupComm function failed",
                           "ClearCommError function failed", "GetCommModemStatus function failed",
                           "EscapeCommFunction function failed", "TransmitCommChar function failed",
                           "Cannot set property while connected", "EnumPorts function failed",
                           "Failed to store settings", "Failed to load settings", "Link (un)registration failed",
                           "Cannot change led state if ComPort is selected",
                           "Cannot wait for event if event thread is created", "WaitForEvent method failed",
                           "A component is linked to OnRxBuf event", "Registry error"};
  for (int code = 1; code <= 23; ++code) {
    EComPort plain(code);
    EXPECT_EQ(plain.Message, texts[code - 1]);
    EXPECT_EQ(plain.Code, code);
    EXPECT_EQ(plain.WinCode, -1);
    EComPort sys(code, 5);
    EXPECT_EQ(sys.Message, std::string(texts[code - 1]) + " (win error code: 5)");
    EXPECT_EQ(sys.WinCode, 5);
  }
}

TEST(ValueTexts, ConvertBothWaysWithFallbacks) {
  EXPECT_EQ(BaudRateToStr(br115200), "115200");
  EXPECT_EQ(BaudRateToStr(brCustom), "Custom");
  EXPECT_EQ(StrToBaudRate("115200"), br115200);
  EXPECT_EQ(StrToBaudRate("115201"), br9600);
  EXPECT_EQ(StrToBaudRate("custom"), brCustom);
  EXPECT_EQ(StopBitsToStr(sbOne5StopBits), "1.5");
  EXPECT_EQ(StrToStopBits("2"), sbTwoStopBits);
  EXPECT_EQ(StrToStopBits("3"), sbOneStopBit);
  EXPECT_EQ(StrToDataBits("7"), dbSeven);
  EXPECT_EQ(StrToDataBits(""), dbEight);
  EXPECT_EQ(StrToParity("none"), prNone);
  EXPECT_EQ(StrToParity("sPaCe"), prSpace);
  EXPECT_EQ(StrToParity("x"), prNone);
  EXPECT_EQ(FlowControlToStr(fcNone), "None");
  EXPECT_EQ(StrToFlowControl("hardware"), fcHardware);
  EXPECT_EQ(StrToFlowControl("?"), fcCustom);
}

TEST(PortSettings, DefaultsAndSubObjectRules) {
  auto p = NewPort();
  EXPECT_EQ(p->Port(), "COM1");
  EXPECT_EQ(p->BaudRate(), br9600);
  EXPECT_EQ(p->Events(), AllComEvents);
  EXPECT_EQ(p->Timeouts()->ReadInterval(), -1);
  EXPECT_EQ(p->Timeouts()->WriteTotalConstant(), 1000);
  EXPECT_EQ(p->FlowControl()->FlowControl(), fcNone);
  EXPECT_FALSE(p->ComponentStyle().Contains(csInheritable));

  p->Buffer()->SetInputSize(1001);
  EXPECT_EQ(p->Buffer()->InputSize(), 1000);

  TComFlowControl* f = p->FlowControl();
  f->SetControlDTR(dtrHandshake);
  EXPECT_EQ(f->FlowControl(), fcNone) << "DTR does not enter the derived mode";
  f->SetFlowControl(fcHardware);
  EXPECT_EQ(f->ControlRTS(), rtsHandshake);
  EXPECT_TRUE(f->OutCTSFlow());
  EXPECT_EQ(f->FlowControl(), fcHardware);
  f->SetFlowControl(fcSoftware);
  EXPECT_EQ(f->FlowControl(), fcSoftware);
  f->SetFlowControl(fcCustom);
  EXPECT_EQ(f->FlowControl(), fcSoftware) << "custom changes no field";
  f->SetFlowControl(fcNone);
  EXPECT_EQ(f->FlowControl(), fcNone);

  // Assigning copies fields between objects of one class only.
  TComParity other;
  other.SetBits(prEven);
  p->SetParity(&other);
  EXPECT_EQ(p->Parity()->Bits(), prEven);
  TComBuffer wrong;
  EXPECT_THROW(p->SetParity(reinterpret_cast<TComParity*>(&wrong)), Exception);
}

TEST(PortSettings, PublishedPropertiesReachTheSetters) {
  auto p = NewPort();
  SetEnumProp(p.get(), GetPropInfo(p.get(), "BaudRate"), "br115200");
  SetStrProp(p.get(), GetPropInfo(p.get(), "Port"), "COM3");
  TObject* buffer = GetObjectProp(p.get(), GetPropInfo(p.get(), "Buffer"));
  ASSERT_EQ(buffer, p->Buffer());
  SetOrdProp(buffer, GetPropInfo(buffer, "InputSize"), 1001);
  EXPECT_EQ(p->BaudRate(), br115200);
  EXPECT_EQ(p->Port(), "COM3");
  EXPECT_EQ(p->Buffer()->InputSize(), 1000);
  EXPECT_EQ(GetSetProp(p.get(), GetPropInfo(p.get(), "Events")),
            "evRxChar,evTxEmpty,evRxFlag,evRing,evBreak,evCTS,evDSR,evError,evRLSD,evRx80Full");
  TObject* parity = GetObjectProp(p.get(), GetPropInfo(p.get(), "Parity"));
  EXPECT_EQ(GetEnumProp(parity, GetPropInfo(parity, "Bits")), "prNone");
  EXPECT_FALSE(IsPublishedProp(p.get(), "CustomBaudRate"));
  EXPECT_TRUE(IsPublishedProp(p.get(), "OnRxChar"));
}

TEST(PortLinks, RegistrationAndTheReceiveTrigger) {
  auto p = NewPort();
  TRecorder rec;
  TComLink link;
  EXPECT_EQ(CodeOf([&] { p->UnRegisterLink(&link); }), CError_RegFailed);
  p->RegisterLink(&link);
  EXPECT_EQ(CodeOf([&] { p->RegisterLink(&link); }), CError_RegFailed);
  EXPECT_TRUE(p->TriggersOnRxChar()) << "a link without a receive handler does not count";
  p->UnRegisterLink(&link);

  rec.Attach(&link);
  p->RegisterLink(&link);
  EXPECT_FALSE(p->TriggersOnRxChar());
  EXPECT_EQ(CodeOf([&] { p->SetTriggersOnRxChar(false); }), CError_HasLink);
  p->UnRegisterLink(&link);
  EXPECT_TRUE(p->TriggersOnRxChar());
  p->SetTriggersOnRxChar(false);
  EXPECT_FALSE(p->TriggersOnRxChar());
}

TEST(PortAsync, MissingRecordAndStreamPosition) {
  auto p = NewPort();
  char buf[4];
  PAsync none = nullptr;
  EXPECT_EQ(CodeOf([&] { p->ReadAsync(buf, 4, none); }), CError_InvalidAsync);
  EXPECT_EQ(CodeOf([&] { p->WriteAsync(buf, 4, none); }), CError_InvalidAsync);
  EXPECT_EQ(CodeOf([&] { p->WaitForAsync(none); }), CError_InvalidAsync);
  EXPECT_EQ(CodeOf([&] { p->IsAsyncCompleted(none); }), CError_InvalidAsync);
  TComStream s(p.get());
  EXPECT_EQ(s.Seek(1234, soBeginning), 0);
  EXPECT_EQ(s.Seek(-5, soEnd), 0);
}

// ----------------------------------------------------------- settings store

class PortStore : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = testsupport::HostBuildDir() + "/wine/serial-port-store.ini";
    DeleteFileW(testsupport::WinPath(file_).c_str());
    ini_ = winapi::A(testsupport::WinPath(file_));
  }
  void TearDown() override { DeleteFileW(testsupport::WinPath(file_).c_str()); }
  std::string File() const { return testsupport::ReadHostFile(file_); }
  void WriteFile(const std::string& text) {
    HANDLE h = CreateFileW(testsupport::WinPath(file_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    ::WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
    CloseHandle(h);
  }
  std::string file_, ini_;
};

TEST_F(PortStore, FreshPortWritesTheBasicKeysUnderItsName) {
  auto p = NewPort();
  p->StoreSettings(stIniFile, ini_);
  std::string f = File();
  EXPECT_NE(f.find("[ComPort1]"), std::string::npos) << f;
  for (const char* line : {"Port=COM1", "BaudRate=9600", "StopBits=1", "DataBits=8", "Parity=None", "FlowControl=None"})
    EXPECT_NE(f.find(line), std::string::npos) << line << "\n" << f;
  EXPECT_EQ(f.find("CustomBaudRate"), std::string::npos);
  EXPECT_EQ(f.find("Buffer."), std::string::npos);

  auto app = NewPort();
  app->SetBaudRate(br115200);
  app->SetPort("COM3");
  app->StoreSettings(stIniFile, ini_);
  f = File();
  EXPECT_NE(f.find("BaudRate=115200"), std::string::npos) << f;
  EXPECT_NE(f.find("Port=COM3"), std::string::npos) << f;
}

TEST_F(PortStore, EveryGroupRoundTripsThroughTheIniFile) {
  auto p = NewPort();
  p->SetStoredProps(TStoredProps{spBasic, spFlowControl, spBuffer, spTimeouts, spParity, spOthers});
  p->SetBaudRate(brCustom);
  p->SetCustomBaudRate(31250);
  p->SetEventChar(' ');
  p->FlowControl()->SetControlRTS(rtsToggle);
  p->Parity()->SetReplaceChar('?');
  p->Buffer()->SetOutputSize(2048);
  p->Timeouts()->SetReadTotalConstant(77);
  p->StoreSettings(stIniFile, ini_);
  std::string f = File();
  for (const char* line : {"BaudRate=Custom", "CustomBaudRate=31250", "EventChar=#32", "DiscardNull=No",
                           "FlowControl.ControlRTS=Toggle", "FlowControl.XoffChar=#19", "FlowControl.XonChar=#17",
                           "Parity.ReplaceChar=?", "Buffer.OutputSize=2048", "Timeouts.ReadTotalConstant=77",
                           "Timeouts.ReadInterval=-1", "FlowControl=Custom"})
    EXPECT_NE(f.find(line), std::string::npos) << line << "\n" << f;

  auto q = NewPort();
  q->SetStoredProps(p->StoredProps());
  q->LoadSettings(stIniFile, ini_);
  EXPECT_EQ(q->BaudRate(), brCustom);
  EXPECT_EQ(q->CustomBaudRate(), 31250);
  EXPECT_EQ(q->EventChar(), ' ');
  EXPECT_EQ(q->FlowControl()->ControlRTS(), rtsToggle);
  EXPECT_EQ(q->Parity()->ReplaceChar(), '?');
  EXPECT_EQ(q->Buffer()->OutputSize(), 2048);
  EXPECT_EQ(q->Timeouts()->ReadTotalConstant(), 77);
}

TEST_F(PortStore, LoadedTextsFollowTheirRules) {
  WriteFile(
      "[ComPort1]\r\nBaudRate=115200\r\nParity=even\r\nStopBits=9\r\nFlowControl.ControlRTS=toggle\r\n"
      "FlowControl.XoffChar=#275\r\nFlowControl.XonChar=#A\r\nParity.ReplaceChar=S\r\nEventChar=#\r\n"
      "DiscardNull=yes\r\nParity.Check=1\r\nParity.Replace=True\r\nFlowControl.OutCTSFlow=YES\r\n");
  auto p = NewPort();
  p->SetPort("COM4");
  p->SetStoredProps(TStoredProps{spBasic, spFlowControl, spParity, spOthers});
  p->LoadSettings(stIniFile, ini_);
  EXPECT_EQ(p->Port(), "COM4") << "a missing key keeps the current value";
  EXPECT_EQ(p->BaudRate(), br115200);
  EXPECT_EQ(p->Parity()->Bits(), prEven);
  EXPECT_EQ(p->StopBits(), sbOneStopBit);
  EXPECT_EQ(p->FlowControl()->ControlRTS(), rtsToggle);
  EXPECT_EQ(p->FlowControl()->XoffChar(), 19);
  EXPECT_EQ(p->FlowControl()->XonChar(), 0);
  EXPECT_EQ(p->Parity()->ReplaceChar(), 'S');
  EXPECT_EQ(p->EventChar(), '#');
  EXPECT_TRUE(p->DiscardNull());
  EXPECT_FALSE(p->Parity()->Check());
  EXPECT_FALSE(p->Parity()->Replace());
  EXPECT_TRUE(p->FlowControl()->OutCTSFlow());

  auto q = NewPort("Other");
  q->SetBaudRate(br1200);
  q->LoadSettings(stIniFile, ini_);
  EXPECT_EQ(q->BaudRate(), br1200) << "a missing section changes nothing";
}

TEST_F(PortStore, RegistryKeyUnderTheNamedRoot) {
  const char* path = "hkey_local_machine\\Software\\DkSerialPortTest";
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\DkSerialPortTest");
  auto p = NewPort();
  p->SetStoredProps(TStoredProps{spBasic, spBuffer});
  p->SetBaudRate(br57600);
  p->StoreSettings(stRegistry, path);
  {
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\DkSerialPortTest\\ComPort1"));
    EXPECT_EQ(reg.ReadString("BaudRate"), "57600");
    EXPECT_EQ(reg.ReadString("Port"), "COM1");
    EXPECT_EQ(reg.ReadInteger("Buffer.InputSize"), 1024);
    EXPECT_EQ(reg.GetDataType("Buffer.OutputSize"), rdInteger);
  }
  auto q = NewPort();
  q->SetStoredProps(p->StoredProps());
  q->LoadSettings(stRegistry, std::string(path) + "\\");
  EXPECT_EQ(q->BaudRate(), br57600);

  // A missing integer fails the load; values read before stay.
  auto r = NewPort("Missing");
  r->SetStoredProps(TStoredProps{spBasic, spTimeouts});
  EXPECT_EQ(CodeOf([&] { r->LoadSettings(stRegistry, path); }), CError_LoadFailed);
  EXPECT_EQ(r->Port(), "") << "a missing text reads as empty";
  EXPECT_EQ(CodeOf([&] { p->StoreSettings(stRegistry, "NoBackslash"); }), CError_StoreFailed);
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\DkSerialPortTest");
}

// --------------------------------------------------------------- port list

TEST(PortList, DeclaredPortsSortedAsText) {
  HKEY key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_ALL_ACCESS, &key),
            ERROR_SUCCESS);
  const wchar_t com10[] = L"COM10";
  RegSetValueExW(key, L"DkTestSerial10", 0, REG_SZ, reinterpret_cast<const BYTE*>(com10), sizeof com10);
  std::unique_ptr<TStringList> ports(new TStringList());
  ports->Add("junk");
  EnumComPorts(ports.get());
  RegDeleteValueW(key, L"DkTestSerial10");
  RegCloseKey(key);
  std::string all;
  for (int i = 0; i < ports->Count(); ++i) all += ports->Strings(i) + " ";
  EXPECT_EQ(all, "COM1 COM10 COM5 COM6 COM7 COM8 COM9 ");
}

// ---------------------------------------------------------------- dead port

TEST(DeadPort, OpenFailsWithCodeOneAndStaysClosed) {
  auto p = NewPort();
  TRecorder rec;
  rec.Attach(p.get());
  p->SetPort("COM9");
  try {
    p->Open();
    FAIL() << "opened a port without a device";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code, CError_OpenFailed);
    EXPECT_NE(e.WinCode, -1);
    EXPECT_EQ(e.Message.rfind("Unable to open com port (win error code: ", 0), 0u) << e.Message;
  }
  EXPECT_FALSE(p->Connected());
  EXPECT_EQ(rec.Log, std::vector<std::string>{"beforeopen"});
  p->Close();  // nothing to do
  EXPECT_EQ(rec.Log.size(), 1u);
}

}  // namespace
