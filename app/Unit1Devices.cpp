// The main window's requests outside the poll cycle: synchronous requests,
// the device probe, the device search, the first-run question and the help
// document.
#include <chrono>

#include "app/ChannelPanelSetup.h"
#include "app/ModbusAscii.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/msgForm.h"
#include "classlib/ui/Dialogs.h"
#include "classlib/ui/IniFiles.h"
#include "classlib/ui/WinApi.h"

#include <shellapi.h>

namespace {

constexpr int kSyncTimeoutMs = 50;
constexpr int kSearchPauseMs = 90;
const int kSearchRates[] = {9600, 19200, 57600, 115200};

int BusyDepth = 0;

// Lets the message loop run for at most Ms milliseconds, returning as soon as
// Done() holds; waits for messages instead of spinning.
template <class F>
void RunMessagesFor(int Ms, F Done) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(Ms);
  while (!Done()) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count();
    if (left <= 0) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
    Application->ProcessMessages();
  }
}

}  // namespace

// ------------------------------------------------------------ the busy state

bool DeviceBusy() { return BusyDepth > 0; }

TDeviceBusy::TDeviceBusy() {
  if (BusyDepth++ == 0 && Form1) Form1->UpdateBusyControls();
}

TDeviceBusy::~TDeviceBusy() {
  if (--BusyDepth == 0 && Form1) Form1->UpdateBusyControls();
}

void TForm1::UpdateBusyControls() {
  bool idle = !DeviceBusy();
  btnFind->SetEnabled(idle);
  btnAddPanel->SetEnabled(idle && ChannelCount < kMaxChannels);
  btnSetDir->SetEnabled(idle);
  for (const char* name : {"N1", "N2", "N7"})
    if (auto* item = dynamic_cast<TMenuItem*>(FindComponent(name))) item->SetEnabled(idle);
  for (int n = 0; n < kMaxChannels; ++n)
    for (const char* stem : {"btnConfig", "btnDelete"})
      if (auto* b = dynamic_cast<TControl*>(FindComponent(ChannelKey(stem, n)))) b->SetEnabled(idle);
  if (PanelSettingsForm) PanelSettingsForm->UpdateBusyControls();
}

bool TForm1::CloseQuery() {
  // Leaving in the middle of a search or a request would cut it off.
  if (DeviceBusy()) return false;
  return inherited::CloseQuery();
}

// ----------------------------------------------------- synchronous requests

void WaitForAnswer() {
  RunMessagesFor(kSyncTimeoutMs, [] { return !AwaitingAnswer; });
  if (AwaitingAnswer) {
    AwaitingAnswer = false;
    SyncAnswered = false;
  }
}

TSyncResult SyncRequest(int Channel, uint16_t Register, uint16_t ValueOrCount, bool Write) {
  TDeviceBusy busy;
  bool timer = Form1->Timer1->Enabled();
  Form1->Timer1->SetEnabled(false);
  WaitForAnswer();
  SyncMode = true;
  CurrentChannel = Channel;
  int32_t saved = RawValues[Channel][0];
  Form1->ClearPortBuffers();
  if (Write)
    Form1->SendWriteRequest(ModbusAddresses[Channel], Register, ValueOrCount);
  else
    Form1->SendReadRequest(ModbusAddresses[Channel], Register, ValueOrCount);
  AwaitingAnswer = true;
  SyncAnswered = true;
  WaitForAnswer();
  TSyncResult result;
  if (SyncAnswered) {
    SyncAnswered = false;
    result.Answered = true;
    result.Value = Write ? 1 : static_cast<uint16_t>(RawValues[CurrentChannel][0] & 0xFFFF);
  }
  SyncMode = false;
  RawValues[CurrentChannel][0] = saved;
  Form1->Timer1->SetEnabled(timer);
  return result;
}

AnsiString ProbeDeviceType(int Channel) {
  TDeviceBusy busy;
  bool timer = Form1->Timer1->Enabled();
  WaitForAnswer();
  Form1->Timer1->SetEnabled(false);
  SyncMode = true;
  CurrentChannel = Channel;
  for (int entry = 0; entry < devmodel::kProbeCount; ++entry) {
    uint16_t regs[4];
    int count = devmodel::ProbeRegisters(entry, regs);
    bool complete = count > 0;
    for (int i = 0; i < count; ++i) {
      Form1->ClearPortBuffers();
      Form1->ComDataPacket1->SetStopString("\n");
      Form1->SendReadRequest(ModbusAddresses[Channel], regs[i], 1);
      AwaitingAnswer = true;
      SyncAnswered = true;
      WaitForAnswer();
      if (!SyncAnswered) {
        complete = false;
        break;
      }
    }
    if (complete) {
      SyncAnswered = false;
      SyncMode = false;
      Form1->Timer1->SetEnabled(timer);
      return devmodel::kProbeNames[entry];
    }
  }
  SyncAnswered = false;
  SyncMode = false;
  Form1->Timer1->SetEnabled(timer);
  return "";
}

void TForm1::DetectTimerTimer(TObject*) {
  if (DetectTimer->Interval() == 555) {
    if (PanelSettingsForm->Visible()) return;
    DetectTimer->SetInterval(kSyncTimeoutMs);
    DetectTimer->SetEnabled(false);
    if (Visible()) {
      Timer1->SetEnabled(false);
      Activate();
    }
    return;
  }
  DetectTimer->SetEnabled(false);
  AwaitingAnswer = false;
  SyncAnswered = false;
}

// --------------------------------------------------------------- the search

void TForm1::btnFindClick(TObject*) {
  if (DeviceBusy()) return;
  bool found = false;
  {
    TDeviceBusy busy;
    Timer1->SetEnabled(false);
    SyncMode = true;
    CurrentChannel = 0;
    // What was in force before: a search that finds nothing puts it back.
    AnsiString oldPort = ComPort1->Port();
    TBaudRate oldBaud = ComPort1->BaudRate();
    TParityBits oldParity = ComPort1->Parity()->Bits();
    bool wasOpen = ComPort1->Connected();

    MessageForm->SetCaption("Поиск устройства"_cp);
    MessageForm->Show();
    std::unique_ptr<TStringList> ports(new TStringList());
    try {
      EnumComPorts(ports.get());
    } catch (const Exception&) {
    }
    int portIndex = 0, rateIndex = 0, parityIndex = 0;
    InpDataStatusInd->SetCaption("0");
    SyncAnswered = false;
    while (!SyncAnswered && portIndex < ports->Count()) {
      bool failed = false;
      try {
        ComPort1->SetPort(ports->Strings(portIndex));
        ComPort1->SetBaudRate(BaudToEnum(kSearchRates[rateIndex]));
        ComPort1->Parity()->SetBits(parityIndex == 0 ? prNone : prEven);
      } catch (const Exception&) {
        failed = true;
      }
      MessageForm->Lbl->SetCaption(ports->Strings(portIndex) + "@" + IntToStr(kSearchRates[rateIndex]));
      MessageForm->Lbl->Update();
      if (!ComPort1->Connected() && !failed) {
        try {
          ComPort1->Open();
        } catch (const Exception&) {
          failed = true;
        }
      }
      Sleep(kSearchPauseMs);
      if (!ComPort1->Connected() || failed) {
        rateIndex = 3;
      } else {
        for (uint8_t address : {uint8_t(255), uint8_t(1)}) {
          ClearPortBuffers();
          ComDataPacket1->SetStopString("\n");
          SendReadRequest(address, 0, 1);
          AwaitingAnswer = true;
          SyncAnswered = true;
          WaitForAnswer();
          if (SyncAnswered) break;
        }
      }
      if (SyncAnswered) break;
      if (parityIndex == 0) {
        parityIndex = 1;
      } else if (rateIndex < 3) {
        ++rateIndex;
        parityIndex = 0;
      } else {
        ++portIndex;
        InpDataStatusInd->SetCaption(IntToStr(portIndex));
        rateIndex = 0;
        parityIndex = 0;
      }
    }
    MessageForm->Hide();
    found = SyncAnswered;
    SyncAnswered = false;

    if (found) {
      StorePortSettings();
      ClearPortBuffers();
      AnsiString name = ProbeDeviceType(0);
      ClearPortBuffers();
      if (ChannelCount < kMaxChannels) {
        int k = ChannelCount;
        WriteFoundChannel(k, name + " " + IntToHex(ModbusAddresses[0], 2), ModbusAddresses[0], name);
        PanelSettingsForm->senderIDX->SetText(IntToStr(k));
        PanelSettingsForm->Show();
      }
    } else {
      try {
        if (ComPort1->Connected()) ComPort1->Close();
        ComPort1->SetPort(oldPort);
        ComPort1->SetBaudRate(oldBaud);
        ComPort1->Parity()->SetBits(oldParity);
        if (wasOpen) ComPort1->Open();
      } catch (const Exception&) {
      }
    }
    InpDataStatusInd->SetCaption("");
    Timer1->SetEnabled(true);
    SyncMode = false;
  }
  if (Visible()) Activate();
  if (found && ChannelCount == 0) {
    while (!PanelSettingsForm->Visible() && !Application->Terminated()) Application->HandleMessage();
    DetectTimer->SetInterval(555);
    DetectTimer->SetEnabled(true);
  }
}

// ------------------------------------------------------- the first-run question

void TForm1::FirstRunQuestion() {
  ComDataPacket1->SetStopString("\n");
  if (Application->MessageBox("Произвести поиск прибора?"_cp, "Не обнаружено подключения"_cp,
                              MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  if (Application->MessageBox("Определить настройки порта автоматически?"_cp, "Поиск прибора"_cp,
                              MB_YESNO | MB_ICONQUESTION) == IDYES) {
    btnFind->Click();
    return;
  }
  N3Click(nullptr);
  auto ini = std::make_unique<TIniFile>(SettingsFileName());
  if (ini->ReadInteger(kSettingsSection, "MODBUS_address0", 255) == 255) ModbusAddresses[0] = 255;
  AnsiString name = ProbeDeviceType(0);
  if (!name.empty()) {
    if (ChannelCount != 0) return;
    WriteFoundChannel(0, name + " 1", ModbusAddresses[0], name);
    btnAddPanel->Click();
    return;
  }
  ShowMessageError("Прибор ХБВ по адресу "_cp + ini->ReadString(kSettingsSection, "MODBUS_address0", "FF") +
              " не обнаружен!"_cp + "\r\n" + "Измените настройки порта или проведите автопоиск."_cp);
}

// ------------------------------------------------------------ the help document

void ShowHelpDocument() {
  AnsiString path = ExtractFilePath(Application->ExeName()) + "manual1.pdf";
  if (!FileExists(path)) {
    ShowMessageError("Файл справки не найден."_cp);
    return;
  }
  ShellExecuteW(Application->Handle(), L"open", winapi::W(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
