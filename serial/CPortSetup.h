// The port setup form: the six line settings of a port in bound lists.
// EditComPort runs it on a port; the port's ShowSetupDialog runs it too.
// The form comes from its resource TCOMSETUPFRM (CPortSetup.frm.txt), which a
// program using it links with DK_SERIAL_CTL_RESOURCES.
#pragma once

#include "classlib/ui/Forms.h"
#include "classlib/ui/StdCtrls.h"
#include "serial/CPortCtl.h"

class TComSetupFrm : public TForm {
  DK_CLASS(TComSetupFrm, TForm)
 public:
  using TForm::TForm;
  void Construct() override;
  void FormCreate(TObject* Sender);

  TGroupBox* GroupBox1 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Label4 = nullptr;
  TLabel* Label5 = nullptr;
  TLabel* Label6 = nullptr;
  TComComboBox* Combo1 = nullptr;  // port
  TComComboBox* Combo2 = nullptr;  // baud rate
  TComComboBox* Combo3 = nullptr;  // data bits
  TComComboBox* Combo4 = nullptr;  // stop bits
  TComComboBox* Combo5 = nullptr;  // parity
  TComComboBox* Combo6 = nullptr;  // flow control
  TButton* Button1 = nullptr;      // OK
  TButton* Button2 = nullptr;      // Cancel
};

// The component Name of a setup form, of class T; EComponentError when the
// form's resource has none.
template <class T>
T* SetupFormPart(TComponent* Form, const char* Name) {
  auto* c = dynamic_cast<T*>(Form->FindComponent(Name));
  if (!c) throw EComponentError(Format("The setup form has no %s", {AnsiString(Name)}));
  return c;
}

// Shows the setup form for ComPort; "OK" writes the six settings into the
// port at once (an open port is reconfigured once).
void EditComPort(TCustomComPort* ComPort);

namespace dk_link {
extern const int CPortSetupUnit;
[[gnu::used]] static const int* const CPortSetupAnchor = &CPortSetupUnit;
}  // namespace dk_link
