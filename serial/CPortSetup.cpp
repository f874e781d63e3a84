// The port setup form.
#include "serial/CPortSetup.h"

#include "classlib/ui/WinApi.h"
// WinApi.h must come first: the units below include the platform headers too.
#include "i18n/gnugettext.h"

const int dk_link::CPortSetupUnit = 0;

namespace {

// The port's setup dialog is this form.
const bool kDialogHooked = (ShowComSetupDialog = &EditComPort, true);

}  // namespace

void TComSetupFrm::Construct() {
  inherited::Construct();
  GroupBox1 = SetupFormPart<TGroupBox>(this, "GroupBox1");
  Label1 = SetupFormPart<TLabel>(this, "Label1");
  Label2 = SetupFormPart<TLabel>(this, "Label2");
  Label3 = SetupFormPart<TLabel>(this, "Label3");
  Label4 = SetupFormPart<TLabel>(this, "Label4");
  Label5 = SetupFormPart<TLabel>(this, "Label5");
  Label6 = SetupFormPart<TLabel>(this, "Label6");
  Combo1 = SetupFormPart<TComComboBox>(this, "Combo1");
  Combo2 = SetupFormPart<TComComboBox>(this, "Combo2");
  Combo3 = SetupFormPart<TComComboBox>(this, "Combo3");
  Combo4 = SetupFormPart<TComComboBox>(this, "Combo4");
  Combo5 = SetupFormPart<TComComboBox>(this, "Combo5");
  Combo6 = SetupFormPart<TComComboBox>(this, "Combo6");
  Button1 = SetupFormPart<TButton>(this, "Button1");
  Button2 = SetupFormPart<TButton>(this, "Button2");
}

void TComSetupFrm::FormCreate(TObject* Sender) {
  // The values are the port's, not texts of the program.
  for (const char* name : {"Combo1", "Combo2", "Combo3", "Combo4", "Combo5", "Combo6"}) TP_Ignore(this, name);
  TranslateProperties(this, "cport");
}

DK_PUBLISH(TComSetupFrm) { P.Method("FormCreate", &TComSetupFrm::FormCreate); }

void EditComPort(TCustomComPort* ComPort) {
  TComSetupFrm* form = Create<TComSetupFrm>(static_cast<TComponent*>(nullptr));
  try {
    TComComboBox* const combos[] = {form->Combo1, form->Combo2, form->Combo3,
                                    form->Combo4, form->Combo5, form->Combo6};
    for (TComComboBox* c : combos) c->SetComPort(ComPort);
    for (TComComboBox* c : combos) c->UpdateSettings();
    if (form->ShowModal() == mrOk) {
      ComPort->BeginUpdate();
      try {
        for (TComComboBox* c : combos) c->ApplySettings();
      } catch (...) {
        // the port leaves the update all the same; the first error is the one reported
        try {
          ComPort->EndUpdate();
        } catch (...) {
        }
        throw;
      }
      ComPort->EndUpdate();
    }
  } catch (...) {
    form->Free();
    throw;
  }
  form->Free();
}
