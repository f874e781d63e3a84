// The terminal setup form.
#include "serial/CPortTrmSet.h"

#include "classlib/ui/WinApi.h"
// WinApi.h must come first: the units below include the platform headers too.
#include "i18n/gnugettext.h"
#include "serial/CPortSetup.h"

#include <memory>

const int dk_link::CPortTrmSetUnit = 0;

void TComTrmSetForm::Construct() {
  inherited::Construct();
  GroupBox1 = SetupFormPart<TGroupBox>(this, "GroupBox1");
  CheckBox1 = SetupFormPart<TCheckBox>(this, "CheckBox1");
  CheckBox2 = SetupFormPart<TCheckBox>(this, "CheckBox2");
  CheckBox3 = SetupFormPart<TCheckBox>(this, "CheckBox3");
  CheckBox4 = SetupFormPart<TCheckBox>(this, "CheckBox4");
  CheckBox5 = SetupFormPart<TCheckBox>(this, "CheckBox5");
  GroupBox2 = SetupFormPart<TGroupBox>(this, "GroupBox2");
  Label1 = SetupFormPart<TLabel>(this, "Label1");
  Label2 = SetupFormPart<TLabel>(this, "Label2");
  Label3 = SetupFormPart<TLabel>(this, "Label3");
  Label4 = SetupFormPart<TLabel>(this, "Label4");
  Label5 = SetupFormPart<TLabel>(this, "Label5");
  ComboBox1 = SetupFormPart<TComboBox>(this, "ComboBox1");
  ComboBox2 = SetupFormPart<TComboBox>(this, "ComboBox2");
  ComboBox3 = SetupFormPart<TComboBox>(this, "ComboBox3");
  Edit1 = SetupFormPart<TEdit>(this, "Edit1");
  Edit2 = SetupFormPart<TEdit>(this, "Edit2");
  Button1 = SetupFormPart<TButton>(this, "Button1");
  Button2 = SetupFormPart<TButton>(this, "Button2");
}

void TComTrmSetForm::FormCreate(TObject* Sender) {
  // The lists name the terminal's values; the edits hold numbers.
  for (const char* name : {"ComboBox1", "ComboBox2", "ComboBox3", "Edit1", "Edit2"}) TP_Ignore(this, name);
  TranslateProperties(this, "cport");
}

DK_PUBLISH(TComTrmSetForm) { P.Method("FormCreate", &TComTrmSetForm::FormCreate); }

namespace {

// The item chosen in a list of Count values, or -1: a list without a
// choice (or with more items than values) names no value.
int Chosen(TComboBox* Combo, int Count) {
  int index = Combo->ItemIndex();
  return index >= 0 && index < Count ? index : -1;
}

// A decimal number typed into an edit, or Default when the text is none.
Integer Number(TEdit* Edit, Integer Default) {
  AnsiString text = Trim(Edit->Text());
  std::size_t digits = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (digits == text.size() || text.find_first_not_of("0123456789", digits) != AnsiString::npos) return Default;
  Integer value;
  return TryStrToInt(text, value) ? value : Default;
}

}  // namespace

void EditComTerminal(TCustomComTerminal* Terminal) {
  std::unique_ptr<TComTrmSetForm, void (*)(TComTrmSetForm*)> form(
      Create<TComTrmSetForm>(static_cast<TComponent*>(nullptr)), [](TComTrmSetForm* f) { f->Free(); });
  form->CheckBox1->SetCheckedProp(Terminal->LocalEcho());
  form->CheckBox2->SetCheckedProp(Terminal->SendLF());
  form->CheckBox3->SetCheckedProp(Terminal->WrapLines());
  form->CheckBox4->SetCheckedProp(Terminal->Force7Bit());
  form->CheckBox5->SetCheckedProp(Terminal->AppendLF());
  // a terminal without a caret shows no caret item
  form->ComboBox1->SetItemIndex(Terminal->Caret() == tcNone ? -1 : Terminal->Caret());
  form->ComboBox2->SetItemIndex(Terminal->Emulation());
  form->ComboBox3->SetItemIndex(Terminal->ArrowKeys());
  form->Edit1->SetText(IntToStr(Terminal->Columns()));
  form->Edit2->SetText(IntToStr(Terminal->Rows()));
  if (form->ShowModal() != mrOk) return;
  Terminal->SetLocalEcho(form->CheckBox1->Checked());
  Terminal->SetSendLF(form->CheckBox2->Checked());
  Terminal->SetWrapLines(form->CheckBox3->Checked());
  Terminal->SetForce7Bit(form->CheckBox4->Checked());
  Terminal->SetAppendLF(form->CheckBox5->Checked());
  if (int caret = Chosen(form->ComboBox1, tcNone); caret >= 0) Terminal->SetCaret(static_cast<TTermCaret>(caret));
  if (int emulation = Chosen(form->ComboBox2, teNone + 1); emulation >= 0)
    Terminal->SetEmulation(static_cast<TTermEmulation>(emulation));
  Terminal->SetColumns(Number(form->Edit1, 80));
  Terminal->SetRows(Number(form->Edit2, 24));
  if (int keys = Chosen(form->ComboBox3, akWindows + 1); keys >= 0) Terminal->SetArrowKeys(static_cast<TArrowKeys>(keys));
}
