#include "app/Unit1.h"

#include <algorithm>
#include <cstring>

#include "app/CalibrDialog.h"
#include "app/GnrlSetDlg.h"
#include "app/ChannelPanelSetup.h"
#include "app/ModbusAscii.h"
#include "app/Unit2.h"
#include "app/XBV18panel.h"
#include "app/msgForm.h"
#include "app/setPeriod.h"
#include "app/skinSelectDlgU.h"
#include "classlib/ui/Dialogs.h"
#include "classlib/ui/IniFiles.h"
#include "classlib/ui/WinApi.h"

TForm1* Form1 = nullptr;

// ------------------------------------------------------------- channel tables
AnsiString ChannelLabels[kMaxChannels];
AnsiString DataSources[kMaxChannels];
uint8_t ModbusAddresses[kMaxChannels];
uint16_t StartRegisters[kMaxChannels];
uint16_t RegisterCounts[kMaxChannels];
int8_t DeviceTypes[kMaxChannels];
bool Source32[kMaxChannels];
int32_t RawValues[kMaxChannels][kMaxRegisters];
float Values[kMaxChannels];
int32_t Readings[kMaxChannels];
bool ReceptionFlags[kMaxChannels];
bool CycleAnswered[kMaxChannels];
bool CycleReplied[kMaxChannels];
uint16_t WriteRequested[kMaxChannels];
bool WriteSent[kMaxChannels];
uint16_t WriteRegister[kMaxChannels];
uint16_t WriteValue[kMaxChannels];
int32_t Point1Adc[kMaxChannels];
int32_t Point2Adc[kMaxChannels] = {20000, 20000, 20000, 20000, 20000, 20000, 20000, 20000, 20000, 20000};
float Point1Value[kMaxChannels];
float Point2Value[kMaxChannels] = {20000, 20000, 20000, 20000, 20000, 20000, 20000, 20000, 20000, 20000};

int ChannelCount = 0;
int CurrentChannel = 0;
uint8_t RequestAddress = 0;
bool CycleActive = false, AwaitingAnswer = false, LogPending = false;
unsigned TimeoutTicks = 0, IdleTicks = 0, PeriodTicks = 50, QuietTicks = 0;
bool SyncMode = false, SyncAnswered = false;
int PollPeriod = 500;
bool AutoLog = false;
AnsiString OutDirectory = ".\\out\\";
bool Logging = false;
int LogLineCount = 0;
AnsiString LogFileName;
bool FirstLoadDone = false;

namespace {

constexpr unsigned kTimeoutTicks = 50;  // 500 ms without an answer

const AnsiString kSettings = kSettingsSection;

// The periods the period dialog offers; any other stored value means the default.
constexpr int kPollPeriods[] = {100, 500, 1000};
constexpr int kDefaultPollPeriod = 500;

std::unique_ptr<TIniFile> OpenSettings() { return std::make_unique<TIniFile>(SettingsFileName()); }

}  // namespace

// =============================================================== the log file

// The log file: text in the system's 8-bit code page, opened for appending.
// A line reaches the file whole or not at all: a write that fails or stops
// short (a full disk) cuts the file back to the end of the last whole line.
class TLogStream {
 public:
  // False when the file cannot be created or opened.
  bool Open(const AnsiString& FileName) {
    Close();
    try {
      if (FileExists(FileName))
        FFile = std::make_unique<TFileStream>(FileName, fmOpenReadWrite | fmShareDenyWrite);
      else
        FFile = std::make_unique<TFileStream>(FileName, fmCreate);
      FEnd = FFile->Seek(0, soEnd);
      return true;
    } catch (const Exception&) {
      FFile.reset();
      return false;
    }
  }
  bool IsOpen() const { return FFile != nullptr; }
  // False when the line could not be written; the file then ends with the
  // last line that was.
  bool WriteLine(const AnsiString& Line) {
    if (!FFile) return false;
    try {
      AnsiString text = Line + "\r\n";
      FFile->WriteBuffer(text.data(), static_cast<Integer>(text.size()));
      FEnd += static_cast<Int64>(text.size());
      return true;
    } catch (const Exception&) {
      try {
        FFile->SetSize(FEnd);
        FFile->Seek(FEnd, soBeginning);
      } catch (const Exception&) {
      }
      return false;
    }
  }
  void Close() { FFile.reset(); }

 private:
  std::unique_ptr<TFileStream> FFile;
  Int64 FEnd = 0;  // the end of the last whole line
};

TForm1::~TForm1() { delete LogStream; }

// ============================================================= settings file

AnsiString SettingsFileName() { return ChangeFileExt(Application->ExeName(), ".INI"); }

void ShowMessageError(const AnsiString& Text) {
  Application->MessageBox(Text, Application->Title(), MB_OK | MB_ICONERROR);
}

void CreateMonitorForms() {
  Application->CreateForm(Form1);
  Application->CreateForm(SetupDLG);
  Application->CreateForm(CalibrDlg);
  Application->CreateForm(SetingsDlg);
  Application->CreateForm(setPeriodDlg);
  Application->CreateForm(skinSelectDlg);
  Application->CreateForm(PanelSettingsForm);
  Application->CreateForm(MessageForm);
  Application->CreateForm(XBV18);
}

void ShowIniWriteError() { ShowMessageError("Ошибка записи INI-файла!"_cp); }

bool WriteIniString(const AnsiString& Section, const AnsiString& Key, const AnsiString& Value) {
  try {
    OpenSettings()->WriteString(Section, Key, Value);
    return true;
  } catch (const Exception&) {
    ShowIniWriteError();
    return false;
  }
}

double ReadIniFloat(TCustomIniFile* Ini, const AnsiString& Section, const AnsiString& Key, double Default) {
  AnsiString text = Trim(Ini->ReadString(Section, Key, ""));
  if (text.empty()) return Default;
  // Files travel between systems whose separators differ: take either.
  for (char& c : text)
    if (c == ',' || c == '.') c = FormatSettings.DecimalSeparator;
  double value;
  return TryStrToFloat(text, value) ? value : Default;
}

void WriteFoundChannel(int n, const AnsiString& Label, uint8_t Address, const AnsiString& ModelName) {
  try {
    auto ini = OpenSettings();
    ini->WriteString(kSettings, ChannelKey("ChannelLabel", n), Label);
    ini->WriteString(kSettings, ChannelKey("DataSource", n), "[0]");
    ini->WriteString(kSettings, ChannelKey("MODBUS_address", n), IntToHex(Address, 2));
    ini->WriteString(kSettings, ChannelKey("DeviceType", n), IntToStr(devmodel::DeviceTypeFromName(ModelName)));
  } catch (const Exception&) {
    ShowIniWriteError();
  }
}

void LoadAppSettings() {
  auto ini = OpenSettings();
  PollPeriod = ini->ReadInteger("ADC", "Period", kDefaultPollPeriod);
  if (std::find(std::begin(kPollPeriods), std::end(kPollPeriods), PollPeriod) == std::end(kPollPeriods))
    PollPeriod = kDefaultPollPeriod;
  PeriodTicks = static_cast<unsigned>(PollPeriod / 10);
  AutoLog = ini->ReadBool(kSettings, "AutoLog", false);
  OutDirectory = ini->ReadString(kSettings, "OutDirectory", OutDirectory);
  if (SetingsDlg) SetingsDlg->ResetValues();
}

void SaveAppSettings() {
  try {
    auto ini = OpenSettings();
    ini->WriteInteger("ADC", "Period", PollPeriod);
    ini->WriteBool(kSettings, "AutoLog", AutoLog);
  } catch (const Exception&) {
    ShowIniWriteError();
  }
}

void StorePortSettings() {
  try {
    Form1->ComPort1->StoreSettings(stIniFile, SettingsFileName());
  } catch (const Exception&) {
    ShowIniWriteError();
  }
}

void LoadCalibration() {
  auto ini = OpenSettings();
  for (int n = 0; n < kMaxChannels; ++n) {
    AnsiString p1 = ChannelKey("Point1_", n), p2 = ChannelKey("Point2_", n);
    Point1Adc[n] = ini->ReadInteger(p1, "ADC", 0);
    Point1Value[n] = static_cast<float>(ReadIniFloat(ini.get(), p1, "Value", 0));
    Point2Adc[n] = ini->ReadInteger(p2, "ADC", 20000);
    Point2Value[n] = static_cast<float>(ReadIniFloat(ini.get(), p2, "Value", 20000));
  }
}

int DeleteChannel(int n) {
  static const char* const kKeys[] = {"ChannelLabel", "DataSource", "MODBUS_address", "DeviceType", "ControlPanel"};
  static const char* const kPoints[] = {"Point1_", "Point2_"};
  auto ini = OpenSettings();
  Form1->Timer1->SetEnabled(false);
  try {
    for (const char* k : kKeys) ini->DeleteKey(kSettings, ChannelKey(k, n));
  } catch (const Exception&) {
    ShowIniWriteError();
  }
  int m = n + 1;
  for (; m <= kMaxChannels; ++m) {
    if (Trim(ini->ReadString(kSettings, ChannelKey("DataSource", m), "")).empty()) break;
    try {
      for (const char* k : kKeys)
        ini->WriteString(kSettings, ChannelKey(k, m - 1), ini->ReadString(kSettings, ChannelKey(k, m), ""));
    } catch (const Exception&) {
      ShowIniWriteError();
    }
  }
  // The calibration points belong to their channel: they move with it.
  try {
    for (int k = n; k < m - 1 && k + 1 < kMaxChannels; ++k)
      for (const char* p : kPoints) {
        ini->EraseSection(ChannelKey(p, k));
        if (ini->SectionExists(ChannelKey(p, k + 1))) {
          if (ini->ValueExists(ChannelKey(p, k + 1), "ADC"))
            ini->WriteString(ChannelKey(p, k), "ADC", ini->ReadString(ChannelKey(p, k + 1), "ADC", ""));
          if (ini->ValueExists(ChannelKey(p, k + 1), "Value"))
            ini->WriteString(ChannelKey(p, k), "Value", ini->ReadString(ChannelKey(p, k + 1), "Value", ""));
        }
      }
    if (m - 1 < kMaxChannels)
      for (const char* p : kPoints) ini->EraseSection(ChannelKey(p, m - 1));
  } catch (const Exception&) {
    ShowIniWriteError();
  }
  if (m - 1 > n) {
    try {
      for (const char* k : kKeys) ini->DeleteKey(kSettings, ChannelKey(k, m - 1));
    } catch (const Exception&) {
      ShowIniWriteError();
    }
  }
  return m;
}

// ================================================================ value texts

AnsiString ValueText(float Value) { return FloatToStrF(Value, ffFixed, 9, 2); }

uint8_t ChannelAddress(const AnsiString& Text) {
  AnsiString t = Trim(Text);
  if (t.empty()) return 1;
  Integer a;
  return TryStrToInt("$" + t, a) && a >= 1 && a <= 0xF7 ? static_cast<uint8_t>(a) : 0;
}

devmodel::Calibration ChannelCalibration(int n) {
  devmodel::Calibration c;
  c.adc1 = static_cast<float>(Point1Adc[n]);
  c.value1 = Point1Value[n];
  c.adc2 = static_cast<float>(Point2Adc[n]);
  c.value2 = Point2Value[n];
  return c;
}

// ============================================================ channel panels

AnsiString TrailingDigits(const AnsiString& Name) {
  size_t end = Name.size();
  size_t start = end;
  while (start > 0 && end - start < 99 && Name[start - 1] >= '0' && Name[start - 1] <= '9') --start;
  return Name.substr(start);
}

AnsiString NameWithoutDigits(const AnsiString& Name) {
  return Name.substr(0, Name.size() - TrailingDigits(Name).size());
}

int ContentHeight(TControl* Control) {
  auto* w = dynamic_cast<TWinControl*>(Control);
  int bottom = 0;
  if (!w) return 0;
  for (int i = 0; i < w->ControlCount(); ++i) {
    TControl* c = w->Controls(i);
    bottom = std::max(bottom, c->Top() + c->Height());
  }
  return bottom;
}

namespace {

// Copies one child of a template onto Panel, named after the child with the
// panel's digits; nullptr for a class that is not copied.
TControl* CloneChild(TControl* Child, TWinControl* Panel, const AnsiString& Digits, int Shift) {
  static const char* const kClasses[] = {"TComboBox", "TLabel", "TsLabel", "TsMemo", "TButton",
                                         "TsButton",  "TsBitBtn", "TBevel", "TsBevel"};
  AnsiString cls = Child->ClassName();
  if (std::none_of(std::begin(kClasses), std::end(kClasses), [&](const char* k) { return cls == k; }))
    return nullptr;
  TMemoryStream stream;
  stream.WriteComponent(Child);
  stream.SetPosition(0);
  TComponent* owner = Panel->Owner();
  auto* copy = static_cast<TControl*>(Child->ClassType()->CreateInstance(owner));
  copy->SetParent(Panel);
  stream.ReadComponent(copy);
  copy->SetName(NameWithoutDigits(Child->Name()) + Digits);
  if (Shift) copy->SetTop(copy->Top() + Shift);
  if (auto* combo = dynamic_cast<TCustomComboBox*>(copy)) {
    combo->SetItemIndex(0);
    combo->SetText("");
    combo->OnDropDown = static_cast<TCustomComboBox*>(Child)->OnDropDown;
  } else if (auto* memo = dynamic_cast<TCustomMemo*>(copy)) {
    memo->SetText("");
  } else if (auto* label = dynamic_cast<TCustomLabel*>(copy)) {
    label->SetCaption("");
  } else if (auto* button = dynamic_cast<TButtonControl*>(copy)) {
    button->OnClick = Child->OnClick;
    button->SetEnabled(true);
  }
  return copy;
}

}  // namespace

void CloneTemplateChildren(TWinControl* Template, TWinControl* Panel) {
  AnsiString digits = TrailingDigits(Panel->Name());
  for (int i = 0; i < Template->ControlCount(); ++i) CloneChild(Template->Controls(i), Panel, digits, 0);
}

void AppendButtonTemplate(TWinControl* Template, TWinControl* Panel) {
  AnsiString digits = TrailingDigits(Panel->Name());
  int y = 0;
  if (auto* del = dynamic_cast<TControl*>(Panel->Owner()->FindComponent("btnDelete" + digits)))
    y = del->Top() + del->Height();
  for (int i = 0; i < Template->ControlCount(); ++i) CloneChild(Template->Controls(i), Panel, digits, y);
}

void FillChannelNames(TStrings* List) {
  for (int n = 0; n < ChannelCount; ++n) {
    if (!Form1->FindComponent(ChannelKey("sPanel", n))) continue;
    if (auto* name = dynamic_cast<TCustomMemo*>(Form1->FindComponent(ChannelKey("sMemoName", n))))
      List->Add(name->Text());
  }
}

void ClearQueuedWrite(int Channel) {
  WriteRequested[Channel] = 0;
  WriteSent[Channel] = false;
  WriteRegister[Channel] = 0;
  WriteValue[Channel] = 0;
}

void QueueWrite(int Channel, uint16_t Register, uint16_t Value) {
  if (Channel < 0 || Channel >= kMaxChannels) return;
  WriteRequested[Channel] = 1;
  WriteSent[Channel] = false;
  WriteRegister[Channel] = Register;
  WriteValue[Channel] = Value;
}

// ================================================================= main form

void TForm1::Loaded() {
  inherited::Loaded();
  auto find = [this](const char* name) { return FindComponent(name); };
  sPanelCtl = static_cast<TsPanel*>(find("sPanelCtl"));
  btnAddPanel = static_cast<TsBitBtn*>(find("btnAddPanel"));
  btnFind = static_cast<TsBitBtn*>(find("btnFind"));
  btnSetDir = static_cast<TsBitBtn*>(find("btnSetDir"));
  Button3 = static_cast<TsButton*>(find("Button3"));
  Label7 = static_cast<TsLabel*>(find("Label7"));
  Label2 = static_cast<TsLabel*>(find("Label2"));
  InpDataStatusInd = static_cast<TStaticText*>(find("InpDataStatusInd"));
  sPanel = static_cast<TsPanel*>(find("sPanel"));
  ComPort1 = static_cast<TComPort*>(find("ComPort1"));
  ComDataPacket1 = static_cast<TComDataPacket*>(find("ComDataPacket1"));
  Timer1 = static_cast<TTimer*>(find("Timer1"));
  DetectTimer = static_cast<TTimer*>(find("DetectTimer"));
  ControlsDeleteTimer = static_cast<TTimer*>(find("ControlsDeleteTimer"));
}

void TForm1::SetChannelValueText(int Channel, const AnsiString& Text) {
  if (!FindComponent(ChannelKey("sPanel", Channel))) return;
  // An unchanged value is not written again: no repaint for nothing.
  if (auto* memo = dynamic_cast<TCustomMemo*>(FindComponent(ChannelKey("sMemoVal", Channel))))
    if (memo->Text() != Text) memo->SetText(Text);
}

void TForm1::SetLamp(TColor Color) {
  if (InpDataStatusInd->Color() != Color) InpDataStatusInd->SetColor(Color);
}

// ------------------------------------------------------------------ the port

void TForm1::PortFailed(const AnsiString& Reason) {
  try {
    ComPort1->Close();
  } catch (const Exception&) {
  }
  AwaitingAnswer = AwaitingAnswer && SyncMode;
  if (PortFailureReported) return;
  PortFailureReported = true;
  ReportError("Ошибка последовательного порта: "_cp + Reason);
}

bool TForm1::OpenPort() {
  try {
    ComPort1->Open();
    PortFailureReported = false;
    return true;
  } catch (const Exception&) {
    ReportError("Ошибка открытия последовательного порта!"_cp);
    return false;
  }
}

void TForm1::ClearPortBuffers() {
  if (!ComPort1->Connected()) return;
  try {
    ComPort1->ClearBuffer(true, true);
  } catch (const Exception& e) {
    PortFailed(e.Message);
  }
}

bool TForm1::SendFrame(const AnsiString& Frame) {
  if (!ComPort1->Connected()) return false;
  try {
    ComPort1->WriteStr(Frame);
    return true;
  } catch (const Exception& e) {
    PortFailed(e.Message);
    return false;
  }
}

bool TForm1::SendReadRequest(uint8_t Address, uint16_t Register, uint16_t Count) {
  RequestAddress = Address;
  SendFrame(modbus::ReadRequest(Address, Register, static_cast<uint8_t>(Count)));
  return true;
}

bool TForm1::SendWriteRequest(uint8_t Address, uint16_t Register, uint16_t Value) {
  RequestAddress = Address;
  SendFrame(modbus::WriteRequest(Address, Register, Value));
  return true;
}

void TForm1::ComPort1RxChar(TObject*, Integer Count) {
  if (Count <= 0) return;
  TimeoutTicks = kTimeoutTicks;
  QuietTicks = 0;
  IdleTicks = 0;
}

// ---------------------------------------------------------------- the loader

void TForm1::DestroyChannelPanels() {
  for (int n = 0; n < kMaxChannels; ++n)
    if (auto* panel = FindComponent(ChannelKey("sPanel", n))) {
      // Its children belong to the form: free them with their panel.
      auto* w = static_cast<TWinControl*>(panel);
      while (w->ControlCount() > 0) w->Controls(w->ControlCount() - 1)->Free();
      panel->Free();
    }
}

void TForm1::BuildChannelPanel(int n, TControl* Above) {
  auto* panel = Create<TsPanel>(this);
  panel->SetVisible(false);
  panel->SetParent(this);
  TMemoryStream stream;
  sPanel->SetName("sPanelZZ");
  try {
    stream.WriteComponent(sPanel);
  } catch (...) {
    sPanel->SetName("sPanel");
    throw;
  }
  sPanel->SetName("sPanel");
  stream.SetPosition(0);
  stream.ReadComponent(panel);
  panel->SetName(ChannelKey("sPanel", n));
  panel->SetCaption("");
  CloneTemplateChildren(sPanel, panel);
  panel->SetTop(Above->Top() + Above->Height());
}

void TForm1::FormActivate(TObject*) {
  if (SyncMode || ControlsDeleteTimer->Enabled() || (Timer1->Enabled() && ChannelCount == 0 && !FirstLoadDone))
    return;
  // The load's own message boxes give the focus back to this window when they
  // close: that activation must not start the load again inside itself.
  if (LoadRunning) return;
  LoadRunning = true;
  struct TLoadDone {
    bool& Flag;
    ~TLoadDone() { Flag = false; }
  } done{LoadRunning};
  // Errors wait until the poll runs again: a message box left unanswered must
  // not keep an unattended start from collecting. The first-run question's
  // dialogs speak at once: the operator is there.
  DeferErrors = true;
  struct TErrorsShown {
    TForm1* Form;
    ~TErrorsShown() { Form->DeferErrors = false; }
  } shown{this};
  // A cycle whose last request is cut off by the load still writes its line.
  if (LogPending && AwaitingAnswer) EndCycle();
  AwaitingAnswer = false;
  Timer1->SetEnabled(false);

  LoadAppSettings();
  LoadCalibration();
  DestroyChannelPanels();

  // While the channel settings window is open the operator is still editing
  // that channel: its index stays for the window's "Сохранить".
  if (PanelSettingsForm && !PanelSettingsForm->Visible()) {
    AnsiString idx = Trim(PanelSettingsForm->senderIDX->Text());
    if (!idx.empty()) {
      int k;
      if (TryStrToInt(idx, k) && k >= 0 && k < kMaxChannels) std::fill(std::begin(RawValues[k]), std::end(RawValues[k]), 0);
      PanelSettingsForm->senderIDX->SetText("");
    }
  }

  ChannelCount = 0;
  {
    auto ini = OpenSettings();
    TControl* above = sPanelCtl;
    for (int n = 0; n < kMaxChannels; ++n) {
      if (Trim(ini->ReadString(kSettings, ChannelKey("DataSource", n), "")).empty()) break;
      BuildChannelPanel(n, above);
      auto* panel = static_cast<TsPanel*>(FindComponent(ChannelKey("sPanel", n)));
      if (ini->ReadInteger(kSettings, ChannelKey("ControlPanel", n), 0) != 0 &&
          ini->ReadInteger(kSettings, ChannelKey("DeviceType", n), 0) == devmodel::kXbv18)
        AppendButtonTemplate(XBV18, panel);
      panel->SetHeight(ContentHeight(panel) + 5);

      ChannelLabels[n] = ini->ReadString(kSettings, ChannelKey("ChannelLabel", n), "Канал "_cp + IntToStr(n + 1));
      static_cast<TCustomMemo*>(FindComponent(ChannelKey("sMemoName", n)))->SetText(ChannelLabels[n]);
      static_cast<TCustomMemo*>(FindComponent(ChannelKey("sMemoLbl", n)))->SetText(IntToStr(n + 1) + ":");
      static_cast<TCustomMemo*>(FindComponent(ChannelKey("sMemoVal", n)))->SetText("---");

      DataSources[n] = ini->ReadString(kSettings, ChannelKey("DataSource", n), "[0]");
      int type = ini->ReadInteger(kSettings, ChannelKey("DeviceType", n), devmodel::kOtherDevice);
      DeviceTypes[n] = static_cast<int8_t>(type >= 0 && type < devmodel::kDeviceTypeCount ? type : devmodel::kOtherDevice);
      StartRegisters[n] = devmodel::SourceStartRegister(DataSources[n], DeviceTypes[n]);
      RegisterCounts[n] = devmodel::SourceRegisterCount(DataSources[n], DeviceTypes[n]) & 0xFF;
      if (RegisterCounts[n] < 1) RegisterCounts[n] = 1;
      if (RegisterCounts[n] > kMaxRegisters) RegisterCounts[n] = kMaxRegisters;
      Source32[n] = devmodel::SourceIs32(DataSources[n]) == 2;

      ModbusAddresses[n] = ChannelAddress(ini->ReadString(kSettings, ChannelKey("MODBUS_address", n), ""));

      SetHeight(panel->Top() + panel->Height() + 50);
      panel->SetVisible(true);
      above = panel;
      ++ChannelCount;
    }
  }
  btnAddPanel->SetEnabled(ChannelCount < kMaxChannels);
  if (ChannelCount == 0) SetLamp(kLampGrey);

  bool portListed = false;
  {
    AnsiString port = OpenSettings()->ReadString("ComPort1", "Port", "");
    std::unique_ptr<TStringList> ports(new TStringList());
    try {
      EnumComPorts(ports.get());
    } catch (const Exception&) {
    }
    portListed = !port.empty() && ports->IndexOf(port) >= 0;
  }
  if (ChannelCount == 0 || !portListed) {
    DeferErrors = false;
    FirstRunQuestion();
    DeferErrors = true;
  }

  if (!LogStream) LogStream = new TLogStream();

  try {
    ComPort1->LoadSettings(stIniFile, SettingsFileName());
  } catch (const Exception&) {
  }
  ComDataPacket1->SetStopString("\n");
  if (!ComPort1->Connected()) OpenPort();

  CurrentChannel = ChannelCount > 0 ? ChannelCount - 1 : 0;
  AwaitingAnswer = false;

  // Automatic logging starts logging, never stops it, and after a failure
  // waits for the operator.
  if (AutoLog && !Logging && !LogFailed) StartLogging();

  Timer1->SetEnabled(true);
  FirstLoadDone = true;
  ShowDeferredErrors();
}

void TForm1::ReportError(const AnsiString& Text) {
  if (DeferErrors)
    DeferredErrors.push_back(Text);
  else
    ShowMessageError(Text);
}

void TForm1::ShowDeferredErrors() {
  DeferErrors = false;
  std::vector<AnsiString> errors;
  errors.swap(DeferredErrors);
  for (const AnsiString& e : errors) ShowMessageError(e);
}

void TForm1::ControlsDeleteTimerTimer(TObject*) {
  ControlsDeleteTimer->SetEnabled(false);
  Activate();
}

// ------------------------------------------------------------- the poll cycle

void TForm1::EndCycle() {
  LogPending = false;
  bool all = true;
  for (int c = 0; c < ChannelCount; ++c) {
    ReceptionFlags[c] = CycleReplied[c];
    all = all && CycleReplied[c];
  }
  SetLamp(ChannelCount == 0 ? kLampGrey : all ? kLampGreen : kLampRed);
  if (Logging) WriteLogLine();
}

void TForm1::Timer1Timer(TObject*) {
  // A. Send the next request.
  if (CycleActive && !AwaitingAnswer && ChannelCount > 0) {
    int c = CurrentChannel + 1;
    if (c >= ChannelCount) c = 0;
    CurrentChannel = c;
    CycleAnswered[c] = false;
    CycleReplied[c] = false;
    bool last = c == ChannelCount - 1;
    if (last) CycleActive = false;
    if (ModbusAddresses[c] == 0) {
      // A channel without a valid address is not polled: it has no value.
      SetChannelValueText(c, "---");
      if (last) EndCycle();
    } else {
      ClearPortBuffers();
      if (WriteRequested[c] == 0) {
        SendReadRequest(ModbusAddresses[c], StartRegisters[c], RegisterCounts[c]);
      } else if (!WriteSent[c]) {
        SendWriteRequest(ModbusAddresses[c], WriteRegister[c], WriteValue[c]);
        WriteSent[c] = true;
      }
      AwaitingAnswer = true;
      TimeoutTicks = kTimeoutTicks;
      if (last) LogPending = true;
    }
  }

  // B. Timeout of the request in flight.
  if (AwaitingAnswer && TimeoutTicks != 0) {
    if (--TimeoutTicks == 0) {
      int c = CurrentChannel;
      if (WriteSent[c]) {
        WriteRequested[c] = 0;
        WriteSent[c] = false;
      }
      SetChannelValueText(c, "---");
      AwaitingAnswer = false;
      if (LogPending) EndCycle();
    }
  }

  // C. Start of the next cycle.
  if (!CycleActive && !AwaitingAnswer) ++IdleTicks;
  if (IdleTicks >= PeriodTicks && !AwaitingAnswer && !CycleActive) {
    IdleTicks = 0;
    CycleActive = true;
    if (Logging && Label2->Caption() != IntToStr(LogLineCount)) Label2->SetCaption(IntToStr(LogLineCount));
  }
}

void TForm1::ComDataPacket1Packet(TObject*, const AnsiString& Str) {
  uint16_t words[kMaxRegisters] = {};
  uint8_t address = 0;
  // An answer counts only for the request in flight, and only from the device
  // asked (any device when the request went to 255).
  bool accepted = Str.size() % 2 == 1 && modbus::ParseAnswer(address, Str, words) && address != 0 &&
                  AwaitingAnswer && (RequestAddress == 255 || address == RequestAddress);
  if (accepted) {
    int c = CurrentChannel;
    AwaitingAnswer = false;
    if (SyncMode) {
      ModbusAddresses[c] = address;
      RawValues[c][0] = words[0];
    } else if (WriteSent[c]) {
      // The echo of a queued write confirms it; it is not a reading: the
      // channel keeps its value and this cycle logs none for it.
      ClearQueuedWrite(c);
      CycleReplied[c] = true;
    } else {
      int count = std::clamp<int>(RegisterCounts[c], 1, kMaxRegisters);
      devmodel::StoreRawValues(words, count, Source32[c], RawValues[c]);
      Readings[c] = devmodel::SumRawValues(RawValues[c], count);
      Values[c] = devmodel::ConvertReading(Readings[c], DataSources[c], DeviceTypes[c], ChannelCalibration(c));
      CycleAnswered[c] = true;
      CycleReplied[c] = true;
      SetChannelValueText(c, ValueText(Values[c]));
    }
    // The cycle ends with the answer of its last request.
    if (LogPending) EndCycle();
    ClearPortBuffers();
  }
  // A packet that is not the awaited answer leaves the driver's buffer alone:
  // the answer may be right behind it.
  Application->ProcessMessages();
}

// -------------------------------------------------------------------- the log

void TForm1::WriteLogLine() {
  if (!LogStream || !LogStream->IsOpen()) return;
  ++LogLineCount;
  AnsiString line = TimeToStr(Now());
  for (int i = 0; i < ChannelCount; ++i) line += ";" + (CycleAnswered[i] ? ValueText(Values[i]) : AnsiString());
  if (!LogStream->WriteLine(line)) {
    --LogLineCount;
    StopLogging();
    LogFailed = true;
    ReportError("Ошибка записи в файл "_cp + LogFileName + ".csv");
  }
}

bool TForm1::StartLogging() {
  AnsiString name = DateToStr(Now()) + "_" + TimeToStr(Now());
  // The first two "." and the first two ":" become "-"; anything else a file
  // name cannot hold becomes "-" as well.
  for (char ch : {'.', '.', ':', ':'}) {
    size_t p = name.find(ch);
    if (p != AnsiString::npos) name[p] = '-';
  }
  for (char& ch : name)
    if (std::strchr("\\/:*?\"<>|", ch) || static_cast<unsigned char>(ch) < 32) ch = '-';
  LogFileName = name;
  if (!DirectoryExists(OutDirectory) && !CreateDir(OutDirectory))
    OutDirectory = ExtractFilePath(Application->ExeName());
  AnsiString file = IncludeTrailingPathDelimiter(OutDirectory) + LogFileName + ".csv";
  if (!LogStream) LogStream = new TLogStream();
  if (!LogStream->Open(file)) {
    LogFailed = true;
    ReportError("Не удалось создать файл "_cp + file);
    return false;
  }
  LogLineCount = 0;
  Logging = true;
  Button3->SetCaption("Стоп"_cp);
  Label7->SetCaption("Включена"_cp);
  Label7->SetColor(kLampGreen);
  return true;
}

void TForm1::StopLogging() {
  Logging = false;
  if (LogStream) LogStream->Close();
  Button3->SetCaption("Старт"_cp);
  Label7->SetCaption("Выключена"_cp);
  Label7->SetColor(clBtnFace);
}

void TForm1::Button3Click(TObject*) {
  if (Logging) {
    StopLogging();
    return;
  }
  // The operator's start tries again after a failure.
  LogFailed = false;
  StartLogging();
}

void TForm1::btnSetDirClick(TObject*) {
  AnsiString dir = OutDirectory;
  if (!SelectDirectory("Каталог для сохранения файлов"_cp, "", dir)) return;
  OutDirectory = dir;
  LogFailed = false;  // a new folder may take the log that the old one refused
  OpenSettings()->WriteString(kSettings, "OutDirectory", OutDirectory);
}

// ------------------------------------------------------------- panel buttons

void TForm1::btnConfigClick(TObject* Sender) {
  AnsiString digits = TrailingDigits(static_cast<TComponent*>(Sender)->Name());
  PanelSettingsForm->senderIDX->SetText(digits.empty() ? IntToStr(ChannelCount) : digits);
  PanelSettingsForm->Show();
}

void TForm1::btnAddPanelClick(TObject*) {
  if (ChannelCount > 9) return;
  PanelSettingsForm->senderIDX->SetText(IntToStr(ChannelCount));
  PanelSettingsForm->Show();
}

void TForm1::btnDeleteClick(TObject* Sender) {
  int k = StrToIntDef(TrailingDigits(static_cast<TComponent*>(Sender)->Name()), -1);
  if (k < 0 || k >= ChannelCount) return;
  AnsiString text = "Вы действительно хотите удалить "_cp + ChannelLabels[k] + "?";
  if (Application->MessageBox(text, "Попытка удаления"_cp, MB_YESNO | MB_ICONWARNING) != IDYES) return;
  DeleteChannel(k);
  ControlsDeleteTimer->SetEnabled(true);
}

// ---------------------------------------------------------------------- menu

void TForm1::FormClose(TObject*, TCloseAction&) {
  delete LogStream;
  LogStream = nullptr;
}

void TForm1::N2Click(TObject*) {
  if (ComPort1->Connected()) {
    try {
      ComPort1->Close();
    } catch (const Exception&) {
    }
  }
  Close();
}

void TForm1::ExitClick(TObject*) {
  if (ComPort1->Connected()) {
    try {
      ComPort1->Close();
    } catch (const Exception&) {
    }
  }
  if (Logging) StopLogging();
  Close();
}

void TForm1::ConnectClick(TObject*) {
  try {
    if (ComPort1->Connected()) ComPort1->Close();
  } catch (const Exception&) {
  }
  OpenPort();
}

void TForm1::DeviceDetectDataPacketCustomStop(TObject*, const AnsiString& Str, Integer&) {
  ShowMessageError("Найдено устройство:"_cp + Str);
}

void TForm1::N4Click(TObject*) { setPeriodDlg->ShowModal(); }
void TForm1::N5Click(TObject*) { CalibrDlg->ShowModal(); }
void TForm1::N6Click(TObject*) { skinSelectDlg->ShowModal(); }
void TForm1::N7Click(TObject*) { ShowHelpDocument(); }

void TForm1::FormKeyUp(TObject*, Word& Key, TShiftState) {
  if (Key == 112) ShowHelpDocument();
}

DK_PUBLISH(TForm1) {
  P.Method("FormActivate", &TForm1::FormActivate);
  P.Method("FormClose", &TForm1::FormClose);
  P.Method("FormKeyUp", &TForm1::FormKeyUp);
  P.Method("ControlsDeleteTimerTimer", &TForm1::ControlsDeleteTimerTimer);
  P.Method("Timer1Timer", &TForm1::Timer1Timer);
  P.Method("DetectTimerTimer", &TForm1::DetectTimerTimer);
  P.Method("ComDataPacket1Packet", &TForm1::ComDataPacket1Packet);
  P.Method("ComPort1RxChar", &TForm1::ComPort1RxChar);
  P.Method("btnAddPanelClick", &TForm1::btnAddPanelClick);
  P.Method("btnConfigClick", &TForm1::btnConfigClick);
  P.Method("btnDeleteClick", &TForm1::btnDeleteClick);
  P.Method("btnFindClick", &TForm1::btnFindClick);
  P.Method("btnSetDirClick", &TForm1::btnSetDirClick);
  P.Method("Button3Click", &TForm1::Button3Click);
  P.Method("N2Click", &TForm1::N2Click);
  P.Method("N3Click", &TForm1::N3Click);
  P.Method("N4Click", &TForm1::N4Click);
  P.Method("N5Click", &TForm1::N5Click);
  P.Method("N6Click", &TForm1::N6Click);
  P.Method("N7Click", &TForm1::N7Click);
  P.Method("ExitClick", &TForm1::ExitClick);
  P.Method("ConnectClick", &TForm1::ConnectClick);
  P.Method("DeviceDetectDataPacketCustomStop", &TForm1::DeviceDetectDataPacketCustomStop);
  P.Method("StaticText2Click", &TForm1::StaticText2Click);
  P.Method("StaticText3Click", &TForm1::StaticText3Click);
  P.Method("StaticText4Click", &TForm1::StaticText4Click);
  P.Method("StaticText5Click", &TForm1::StaticText5Click);
  P.Method("StaticText6Click", &TForm1::StaticText6Click);
  P.Method("Button1Click", &TForm1::Button1Click);
  P.Method("Button2Click", &TForm1::Button2Click);
  P.Method("Button4Click", &TForm1::Button4Click);
  P.Method("Button5Click", &TForm1::Button5Click);
  P.Method("Button6Click", &TForm1::Button6Click);
}
