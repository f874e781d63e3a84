// The serial port dialog: port name, baud rate and parity of the main
// window's port; and the baud rate helpers the device settings share.
#pragma once

#include "classlib/ui/Forms.h"
#include "serial/CPortCtl.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sComboBox.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sLabel.h"

// 9600, 19200, 57600 and 115200 as the port's rate values (brCustom for others).
TBaudRate BaudToEnum(int Baud);
// The port's rate as a number for those four rates, 0 for any other.
int BaudFromPort();
// Sets the port's rate for the four rates; false for any other.
bool SetPortBaud(int Baud);

class TSetupDLG : public TForm {
  DK_CLASS(TSetupDLG, TForm)
 public:
  using TForm::TForm;
  TsComboBox* ComboBox1 = nullptr;
  TComComboBox* Com1BaudSet = nullptr;
  TComComboBox* ComParityComboBox = nullptr;

  void FormCreate(TObject* Sender);
  void FormActivate(TObject* Sender);
  void FormKeyUp(TObject* Sender, Word& Key, TShiftState Shift);

 protected:
  void Loaded() override;
};

extern TSetupDLG* SetupDLG;
