// The terminal setup form: the terminal's flags, caret, emulation, size and
// arrow keys. EditComTerminal runs it on a terminal; the terminal's
// ShowSetupDialog runs it too. The form comes from its resource
// TCOMTRMSETFORM (CPortTrmSet.frm.txt), which a program using it links with
// DK_SERIAL_CTL_RESOURCES.
#pragma once

#include "classlib/ui/Forms.h"
#include "classlib/ui/StdCtrls.h"
#include "serial/CPortCtl.h"

class TComTrmSetForm : public TForm {
  DK_CLASS(TComTrmSetForm, TForm)
 public:
  using TForm::TForm;
  void Construct() override;
  void FormCreate(TObject* Sender);

  TGroupBox* GroupBox1 = nullptr;  // ASCII settings
  TCheckBox* CheckBox1 = nullptr;  // local echo
  TCheckBox* CheckBox2 = nullptr;  // line feed after carriage return
  TCheckBox* CheckBox3 = nullptr;  // wrap lines
  TCheckBox* CheckBox4 = nullptr;  // 7 bit
  TCheckBox* CheckBox5 = nullptr;  // append line feeds
  TGroupBox* GroupBox2 = nullptr;  // terminal settings
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Label4 = nullptr;
  TLabel* Label5 = nullptr;
  TComboBox* ComboBox1 = nullptr;  // caret
  TComboBox* ComboBox2 = nullptr;  // emulation
  TComboBox* ComboBox3 = nullptr;  // cursor keys
  TEdit* Edit1 = nullptr;          // columns
  TEdit* Edit2 = nullptr;          // rows
  TButton* Button1 = nullptr;      // OK
  TButton* Button2 = nullptr;      // Cancel
};

// Shows the setup form for Terminal; "OK" writes the settings back.
void EditComTerminal(TCustomComTerminal* Terminal);

namespace dk_link {
extern const int CPortTrmSetUnit;
[[gnu::used]] static const int* const CPortTrmSetAnchor = &CPortTrmSetUnit;
}  // namespace dk_link
