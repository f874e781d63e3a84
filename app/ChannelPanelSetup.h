// The channel settings window: one channel's keys in the settings file, the
// device probe, and for XBV5 devices their own settings registers.
#pragma once

#include "classlib/ui/Forms.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sComboBox.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sLabel.h"

// XBV5 settings registers.
constexpr uint16_t kXbv5ChannelCountReg = 0x0600;
constexpr uint16_t kXbv5AdcRateReg = 0x0601;
constexpr uint16_t kXbv5AddressReg = 0x0800;
constexpr uint16_t kXbv5RateReg = 0x0801;
constexpr uint16_t kXbv5InputReg = 0x0120;
// A register that did not answer.
constexpr int kNoAnswer = -1;

// 9600 -> 0, 19200 -> 1, 57600 -> 2, 115200 -> 3, any other -> 99.
int BaudToRateIndex(int Baud);
// Synchronous reads of one register of the channel's device: the value, or
// kNoAnswer when the device did not answer.
int ReadRateIndex(int Channel);
int ReadChannelCountReg(int Channel);
int ReadAdcRate(int Channel);
int ReadAddressReg(int Channel);
int ReadInputState(int Channel, int Input);
// Synchronous writes: true only when the device answered.
bool WriteRateIndex(int Channel, uint16_t Value);
bool WriteChannelCountReg(int Channel, uint16_t Value);
bool WriteAdcRate(int Channel, uint16_t Value);
bool WriteAddressReg(int Channel, uint16_t Value);
// Sets the baud rate of every XBV5 on the line, then of the port.
void ChangeAllRates(int Baud);
// A device address typed by the operator: 1..247 in hexadecimal, -1 otherwise.
int ParseDeviceAddress(const AnsiString& Text);

class TPanelSettingsForm : public TForm {
  DK_CLASS(TPanelSettingsForm, TForm)
 public:
  using TForm::TForm;
  void AfterConstruction() override;

  TsEdit* LabelEdit = nullptr;
  TsComboBox* SourceCB = nullptr;
  TsComboBox* DeviceTypeCB = nullptr;
  TsButton* btnGetType = nullptr;
  TsEdit* ModbusAdrEdit = nullptr;
  TsComboBox* baudCB = nullptr;
  TsComboBox* NumChanCB = nullptr;
  TsComboBox* ADCFreqCB = nullptr;
  TsLabel* InpStatusLbl = nullptr;
  TStaticText* InpStatus[4] = {};
  TCheckBox* ShowControlPanel = nullptr;
  TsButton* btnOK = nullptr;
  TsButton* btnCancel = nullptr;
  TsEdit* senderIDX = nullptr;

  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormHide(TObject* Sender);
  void FormKeyUp(TObject* Sender, Word& Key, TShiftState Shift);
  void DeviceTypeCBSelect(TObject* Sender);
  void btnGetTypeClick(TObject* Sender);
  void SourceCBChange(TObject* Sender);
  void btnOKClick(TObject* Sender);
  void btnCancelClick(TObject* Sender);

  // Fills the device page from the device of the channel being edited.
  void ReadDeviceSettings();
  // Writes the page's changed values into that device.
  void WriteDeviceSettings();
  void UpdateBusyControls();
  bool CloseQuery() override;

 protected:
  void Loaded() override;

 private:
  void TypeSetup(bool FromShow, int Channel);
  void SetLampsGrey();
  void XBV18Setup() {}
  bool FInShow = false;
};

extern TPanelSettingsForm* PanelSettingsForm;
