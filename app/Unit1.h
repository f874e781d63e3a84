// The main window of the monitor and the state every other window shares: the
// channel tables, the poll cycle, the settings file, the channel panels and
// the CSV log.
//
// A channel is an index 0..9. The loader (FormActivate) rebuilds the panels
// and the tables from the settings file; the 10 ms timer Timer1 sends one
// MODBUS request at a time, channel after channel; the packet framer hands
// each answer to ComDataPacket1Packet; at the end of every cycle one log line
// is written while logging is on.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "app/DeviceModel.h"
#include "classlib/ui/ExtCtrls.h"
#include "classlib/ui/Forms.h"
#include "classlib/ui/Menus.h"
#include "classlib/ui/StdCtrls.h"
#include "serial/CPort.h"
#include "skin/controls/sBevel.h"
#include "skin/controls/sBitBtn.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sMemo.h"
#include "skin/controls/sPanel.h"

constexpr int kMaxChannels = 10;
constexpr int kMaxRegisters = 8;

// Lamp colours (red in the low byte).
constexpr TColor kLampRed = 255;
constexpr TColor kLampGreen = 65280;
constexpr TColor kLampGrey = 8421504;

// ------------------------------------------------------------- channel tables
extern AnsiString ChannelLabels[kMaxChannels];
extern AnsiString DataSources[kMaxChannels];
extern uint8_t ModbusAddresses[kMaxChannels];
extern uint16_t StartRegisters[kMaxChannels];
extern uint16_t RegisterCounts[kMaxChannels];
extern int8_t DeviceTypes[kMaxChannels];
extern bool Source32[kMaxChannels];
extern int32_t RawValues[kMaxChannels][kMaxRegisters];
extern float Values[kMaxChannels];
// The summed reading of the last answer, before conversion.
extern int32_t Readings[kMaxChannels];
// Set when the channel answered in the last completed cycle (the lamp).
extern bool ReceptionFlags[kMaxChannels];
// Set when the channel's reading arrived in the current cycle (the log leaves
// a channel without one empty).
extern bool CycleAnswered[kMaxChannels];
// Set when the channel's device answered in the current cycle, with a reading
// or with the echo of a queued write.
extern bool CycleReplied[kMaxChannels];
// The queued register write of each channel (WriteRequested non-zero: queued).
extern uint16_t WriteRequested[kMaxChannels];
extern bool WriteSent[kMaxChannels];
extern uint16_t WriteRegister[kMaxChannels];
extern uint16_t WriteValue[kMaxChannels];
// Calibration points.
extern int32_t Point1Adc[kMaxChannels];
extern int32_t Point2Adc[kMaxChannels];
extern float Point1Value[kMaxChannels];
extern float Point2Value[kMaxChannels];

// -------------------------------------------------------------------- scalars
extern int ChannelCount;
extern int CurrentChannel;
// The address the request in flight went to (255: any device may answer).
extern uint8_t RequestAddress;
extern bool CycleActive, AwaitingAnswer, LogPending;
extern unsigned TimeoutTicks, IdleTicks, PeriodTicks, QuietTicks;
extern bool SyncMode, SyncAnswered;
extern int PollPeriod;
extern bool AutoLog;
extern AnsiString OutDirectory;
extern bool Logging;
extern int LogLineCount;
extern AnsiString LogFileName;
extern bool FirstLoadDone;

// ------------------------------------------------------------ settings file
// The section of the channel keys.
inline const char* const kSettingsSection = "Settings";
// A key or name that carries a channel number: the stem and the number ("DataSource0").
inline AnsiString ChannelKey(const char* Stem, int n) { return AnsiString(Stem) + IntToStr(n); }
// Writes channel n as a found device: its label, the data source "[0]", the
// address as two hexadecimal digits and the type of the model name. A failure
// shows "Ошибка записи INI-файла!".
void WriteFoundChannel(int n, const AnsiString& Label, uint8_t Address, const AnsiString& ModelName);
// The executable's path with its extension replaced by ".INI".
AnsiString SettingsFileName();
// One text value; a failure shows "Ошибка записи INI-файла!". True when written.
bool WriteIniString(const AnsiString& Section, const AnsiString& Key, const AnsiString& Value);
// A float written with "," or "." (whatever the system's separator), Default otherwise.
double ReadIniFloat(TCustomIniFile* Ini, const AnsiString& Section, const AnsiString& Key, double Default);
void LoadAppSettings();
void SaveAppSettings();
void StorePortSettings();
void LoadCalibration();
// Removes channel n from the file: the later channels' keys and calibration
// points move down one number. Returns the number after the last channel moved.
int DeleteChannel(int n);
// "Ошибка записи INI-файла!"
void ShowIniWriteError();
// A message box with the program's title and an error icon.
void ShowMessageError(const AnsiString& Text);
// Creates the program's nine forms in their order.
void CreateMonitorForms();

// --------------------------------------------------------------- value texts
// Fixed notation, two decimals, the system's decimal separator.
AnsiString ValueText(float Value);
// The polled address of a stored "MODBUS_address": hexadecimal 1..F7, 1 when
// the key is empty, 0 (the channel is not polled) for anything else.
uint8_t ChannelAddress(const AnsiString& Text);
// The calibration of channel n as the conversion takes it.
devmodel::Calibration ChannelCalibration(int n);

// ------------------------------------------------------------ channel panels
AnsiString TrailingDigits(const AnsiString& Name);
AnsiString NameWithoutDigits(const AnsiString& Name);
int ContentHeight(TControl* Control);
void CloneTemplateChildren(TWinControl* Template, TWinControl* Panel);
void AppendButtonTemplate(TWinControl* Template, TWinControl* Panel);
void FillChannelNames(TStrings* List);
void ClearQueuedWrite(int Channel);
void QueueWrite(int Channel, uint16_t Register, uint16_t Value);

// ------------------------------------------------------- synchronous requests
// Lets the message loop run, without spinning, until the request in flight is
// answered or 50 ms have passed.
void WaitForAnswer();
struct TSyncResult {
  bool Answered = false;
  uint16_t Value = 0;  // the first word of a read; 1 for a write
};
// One request outside the poll cycle, at the channel's address.
TSyncResult SyncRequest(int Channel, uint16_t Register, uint16_t ValueOrCount, bool Write);
// The model name of the channel's device ("" when nothing answers completely).
AnsiString ProbeDeviceType(int Channel);
// True while a search, a probe or a synchronous request runs: the controls
// that would start another one are disabled meanwhile.
bool DeviceBusy();
class TDeviceBusy {
 public:
  TDeviceBusy();
  ~TDeviceBusy();
  TDeviceBusy(const TDeviceBusy&) = delete;
  TDeviceBusy& operator=(const TDeviceBusy&) = delete;
};
// Opens "manual1.pdf" beside the program, or says that it is missing.
void ShowHelpDocument();

// ----------------------------------------------------------------- main form
class TLogStream;

class TForm1 : public TForm {
  DK_CLASS(TForm1, TForm)
 public:
  using TForm::TForm;
  ~TForm1() override;

  // Components of the form resource.
  TsPanel* sPanelCtl = nullptr;
  TsBitBtn* btnAddPanel = nullptr;
  TsBitBtn* btnFind = nullptr;
  TsBitBtn* btnSetDir = nullptr;
  TsButton* Button3 = nullptr;
  TsLabel* Label7 = nullptr;
  TsLabel* Label2 = nullptr;
  TStaticText* InpDataStatusInd = nullptr;
  TsPanel* sPanel = nullptr;
  TComPort* ComPort1 = nullptr;
  TComDataPacket* ComDataPacket1 = nullptr;
  TTimer* Timer1 = nullptr;
  TTimer* DetectTimer = nullptr;
  TTimer* ControlsDeleteTimer = nullptr;

  // Handlers bound by the form resource.
  void FormActivate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormKeyUp(TObject* Sender, Word& Key, TShiftState Shift);
  void ControlsDeleteTimerTimer(TObject* Sender);
  void Timer1Timer(TObject* Sender);
  void DetectTimerTimer(TObject* Sender);
  void ComDataPacket1Packet(TObject* Sender, const AnsiString& Str);
  void ComPort1RxChar(TObject* Sender, Integer Count);
  void btnAddPanelClick(TObject* Sender);
  void btnConfigClick(TObject* Sender);
  void btnDeleteClick(TObject* Sender);
  void btnFindClick(TObject* Sender);
  void btnSetDirClick(TObject* Sender);
  void Button3Click(TObject* Sender);
  void N2Click(TObject* Sender);
  void N3Click(TObject* Sender);
  void N4Click(TObject* Sender);
  void N5Click(TObject* Sender);
  void N6Click(TObject* Sender);
  void N7Click(TObject* Sender);
  // Published handlers that no form binds.
  void ExitClick(TObject* Sender);
  void ConnectClick(TObject* Sender);
  void DeviceDetectDataPacketCustomStop(TObject* Sender, const AnsiString& Str, Integer& Pos);
  void StaticText2Click(TObject*) {}
  void StaticText3Click(TObject*) {}
  void StaticText4Click(TObject*) {}
  void StaticText5Click(TObject*) {}
  void StaticText6Click(TObject*) {}
  void Button1Click(TObject*) {}
  void Button2Click(TObject*) {}
  void Button4Click(TObject*) {}
  void Button5Click(TObject*) {}
  void Button6Click(TObject*) {}

  // Shows Text in the value field of the channel's panel (when it exists).
  void SetChannelValueText(int Channel, const AnsiString& Text);
  // The lamp of reception.
  void SetLamp(TColor Color);
  // Appends one line to the open log file; a failure stops logging and says so.
  void WriteLogLine();
  // The end of a poll cycle: the lamp tells whether every channel answered,
  // and the log gets the cycle's line.
  void EndCycle();
  // Opens the port with its current settings; false (after saying so) when it cannot.
  bool OpenPort();
  // Shows an error, or keeps it for the end of the load while one runs.
  void ReportError(const AnsiString& Text);
  // Sends a frame when the port is open; a port that fails is closed and
  // reported once. False when nothing went out.
  bool SendFrame(const AnsiString& Frame);
  bool SendReadRequest(uint8_t Address, uint16_t Register, uint16_t Count);
  bool SendWriteRequest(uint8_t Address, uint16_t Register, uint16_t Value);
  // Discards what the driver holds (open port only); a failing port is closed.
  void ClearPortBuffers();
  // Enables or disables what would start a second device conversation.
  void UpdateBusyControls();
  bool CloseQuery() override;

 protected:
  void Loaded() override;

 private:
  void FirstRunQuestion();
  void BuildChannelPanel(int n, TControl* Above);
  void DestroyChannelPanels();
  // False, after saying so, when the log file cannot be made.
  bool StartLogging();
  void ShowDeferredErrors();
  void StopLogging();
  void PortFailed(const AnsiString& Reason);
  bool LoadRunning = false;
  bool PortFailureReported = false;
  // A log failure was reported: automatic logging waits until the operator
  // starts logging or chooses another folder.
  bool LogFailed = false;
  bool DeferErrors = false;
  std::vector<AnsiString> DeferredErrors;
  TLogStream* LogStream = nullptr;
};

extern TForm1* Form1;
