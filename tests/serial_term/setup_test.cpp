// The terminal setup form: how it looks, what it shows of a terminal, what
// OK writes back, and its translation.
#include "TermTestSupport.h"

#include "i18n/gnugettext.h"

using namespace termtest;

namespace {

template <class T>
using Owned = std::unique_ptr<T, void (*)(TObject*)>;
template <class T>
Owned<T> Own(T* Object) {
  return Owned<T>(Object, [](TObject* o) { o->Free(); });
}

TComTrmSetForm* SetupForm() {
  for (int i = 0; i < Screen->FormCount(); ++i)
    if (auto* f = dynamic_cast<TComTrmSetForm*>(Screen->Forms(i))) return f;
  return nullptr;
}

// What the timer does to the form while it runs modally.
struct Drive {
  std::function<void(TComTrmSetForm*)> Change;
  bool Ok = true;
  std::string Shot;
  std::vector<std::string> Shown;  // checks, the three lists' indexes, the edits
  int Ticks = 0;
  bool Done = false;
};
Drive gDrive;

void ChooseItem(TComboBox* Combo, int Index) {
  HWND h = Combo->Handle();
  SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(Index), 0);
  SendMessageW(GetParent(h), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), CBN_SELCHANGE), reinterpret_cast<LPARAM>(h));
}

void CALLBACK DriveSetup(HWND, UINT, UINT_PTR, DWORD) {
  TComTrmSetForm* f = SetupForm();
  if (!f || gDrive.Done || !f->HandleAllocated() || !IsWindowVisible(f->WindowHandle())) return;
  ++gDrive.Ticks;
  if (gDrive.Ticks == 2) {
    Raise(f->WindowHandle(), 700, 400);
    std::string checks;
    for (TCheckBox* c : {f->CheckBox1, f->CheckBox2, f->CheckBox3, f->CheckBox4, f->CheckBox5})
      checks += c->Checked() ? '1' : '0';
    gDrive.Shown = {checks,
                    std::to_string(f->ComboBox1->ItemIndex()),
                    std::to_string(f->ComboBox2->ItemIndex()),
                    std::to_string(f->ComboBox3->ItemIndex()),
                    f->Edit1->Text(),
                    f->Edit2->Text()};
    if (gDrive.Change) gDrive.Change(f);
  } else if (gDrive.Ticks == 4) {
    if (!gDrive.Shot.empty()) testsupport::Screenshot(f->WindowHandle(), gDrive.Shot);
    gDrive.Done = true;
    PostMessageW((gDrive.Ok ? f->Button1 : f->Button2)->Handle(), BM_CLICK, 0, 0);
  }
}

struct TermState {
  std::string Flags;  // LocalEcho, SendLF, WrapLines, Force7Bit, AppendLF
  TTermCaret Caret;
  TTermEmulation Emulation;
  int Columns, Rows;
  TArrowKeys Keys;
  bool operator==(const TermState&) const = default;
};
std::ostream& operator<<(std::ostream& os, const TermState& s) {
  return os << s.Flags << " caret " << s.Caret << " emulation " << s.Emulation << " " << s.Columns << "x" << s.Rows
            << " keys " << s.Keys;
}
TermState StateOf(TCustomComTerminal* t) {
  std::string flags;
  for (bool b : {t->LocalEcho(), t->SendLF(), t->WrapLines(), t->Force7Bit(), t->AppendLF()}) flags += b ? '1' : '0';
  return {flags, t->Caret(), t->Emulation(), t->Columns(), t->Rows(), t->ArrowKeys()};
}

TEST(TermSetup, OkWritesTheSettingsBackAndCancelNothing) {
  struct Case {
    const char* Name;
    TTermCaret Caret;
    bool ThroughTerminal;
    std::function<void(TComTrmSetForm*)> Change;
    bool Ok;
    std::vector<std::string> Shown;
    TermState After;
  };
  auto edits = [](const char* Cols, const char* Rows) {
    return [=](TComTrmSetForm* f) {
      f->Edit1->SetText(Cols);
      f->Edit2->SetText(Rows);
    };
  };
  const Case cases[] = {
      {"everything changed", tcBlock, false,
       [](TComTrmSetForm* f) {
         for (TCheckBox* c : {f->CheckBox1, f->CheckBox3, f->CheckBox5}) c->SetCheckedProp(true);
         ChooseItem(f->ComboBox1, 1);
         ChooseItem(f->ComboBox2, 1);
         ChooseItem(f->ComboBox3, 1);
         f->Edit1->SetText("100");
         f->Edit2->SetText("30");
       },
       true, {"00000", "0", "0", "0", "80", "24"}, {"10101", tcUnderline, teVT52, 100, 30, akWindows}},
      {"cancel", tcBlock, false,
       [](TComTrmSetForm* f) {
         f->CheckBox2->SetCheckedProp(true);
         ChooseItem(f->ComboBox2, 2);
         f->Edit1->SetText("132");
       },
       false, {"00000", "0", "0", "0", "80", "24"}, {"00000", tcBlock, teVT100orANSI, 80, 24, akTerminal}},
      {"no numbers", tcBlock, true, edits("abc", "x1"), true, {"00000", "0", "0", "0", "80", "24"},
       {"00000", tcBlock, teVT100orANSI, 80, 24, akTerminal}},
      {"numbers out of range", tcBlock, false, edits("999", "-3"), true, {"00000", "0", "0", "0", "80", "24"},
       {"00000", tcBlock, teVT100orANSI, 256, 2, akTerminal}},
      {"no caret", tcNone, false, edits("80", "24"), true, {"00000", "-1", "0", "0", "80", "24"},
       {"00000", tcNone, teVT100orANSI, 80, 24, akTerminal}},
  };
  UINT_PTR timer = SetTimer(nullptr, 0, 60, DriveSetup);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto term = Own(Create<TComTerminal>(static_cast<TComponent*>(nullptr)));
    term->SetCaret(c.Caret);
    gDrive = Drive{};
    gDrive.Change = c.Change;
    gDrive.Ok = c.Ok;
    if (std::string(c.Name) == "everything changed") gDrive.Shot = "serial_term_setup_form";
    if (c.ThroughTerminal)
      term->ShowSetupDialog();
    else
      EditComTerminal(term.get());
    EXPECT_TRUE(gDrive.Done) << "the form was not shown";
    EXPECT_EQ(gDrive.Shown, c.Shown);
    EXPECT_EQ(StateOf(term.get()), c.After);
    if (c.After.Emulation == teVT52) { EXPECT_NE(dynamic_cast<TEscapeCodesVT52*>(term->EscapeCodes()), nullptr); }
    EXPECT_EQ(SetupForm(), nullptr) << "the form is freed";
  }
  KillTimer(nullptr, timer);
}

TEST(TermSetup, LooksAsDesigned) {
  auto f = Own(Create<TComTrmSetForm>(static_cast<TComponent*>(nullptr)));
  EXPECT_EQ(f->Caption(), "Setup");
  EXPECT_EQ(f->BorderStyle(), bsDialog);
  EXPECT_EQ(f->Position(), poScreenCenter);
  EXPECT_EQ(f->ClientWidth(), 295);
  EXPECT_EQ(f->ClientHeight(), 287);
  EXPECT_EQ(f->Font()->Name(), "MS Sans Serif");
  EXPECT_EQ(f->GroupBox1->Caption(), " ASCII Settings ");
  EXPECT_EQ(f->GroupBox2->Caption(), " Terminal Settings ");
  const std::pair<TControl*, const char*> texts[] = {
      {f->CheckBox1, "Echo typed charachters locally"},
      {f->CheckBox2, "Send line feeds with carriage return"},
      {f->CheckBox3, "Wrap lines that exceed terminal width"},
      {f->CheckBox4, "Force incoming data to 7 bit ASCII"},
      {f->CheckBox5, "Append line feeds to incoming carriage return"},
      {f->Label1, "Caret"},
      {f->Label2, "Emulation"},
      {f->Label3, "Columns"},
      {f->Label4, "Rows"},
      {f->Label5, "Cursor keys"},
      {f->Button1, "OK"},
      {f->Button2, "Cancel"}};
  for (auto& [control, text] : texts) EXPECT_EQ(control->Caption(), text);
  EXPECT_EQ(ctltest::ItemsOf(f->ComboBox1->Items()), (std::vector<std::string>{"Block", "Underline"}));
  EXPECT_EQ(ctltest::ItemsOf(f->ComboBox2->Items()), (std::vector<std::string>{"ANSI/VT100", "VT52", "None"}));
  EXPECT_EQ(ctltest::ItemsOf(f->ComboBox3->Items()),
            (std::vector<std::string>{"Act as terminal keys", "Act as windows keys"}));
  EXPECT_TRUE(f->Button1->Default());
  EXPECT_EQ(f->Button1->ModalResult(), 1);
  EXPECT_EQ(f->Button2->ModalResult(), 2);
}

TEST(TermSetup, TextsAreTranslatedButTheListsAreNot) {
  InitializeGnuGettext();
  bindtextdomain("cport", ctltest::WriteCportCatalogue("serial-term-locale", {{"Setup", "Настройка"},
                                                                               {"Rows", "Строки"},
                                                                               {"Block", "Блок"},
                                                                               {"VT52", "ВТ52"},
                                                                               {"Act as windows keys", "Как в окнах"}}));
  UseLanguage("ru");
  {
    auto f = Own(Create<TComTrmSetForm>(static_cast<TComponent*>(nullptr)));
    EXPECT_EQ(f->Caption(), "Настройка"_cp);
    EXPECT_EQ(f->Label4->Caption(), "Строки"_cp);
    EXPECT_EQ(f->Label3->Caption(), "Columns") << "no entry: as written";
    EXPECT_EQ(ctltest::ItemsOf(f->ComboBox1->Items()), (std::vector<std::string>{"Block", "Underline"}));
    EXPECT_EQ(ctltest::ItemsOf(f->ComboBox2->Items()), (std::vector<std::string>{"ANSI/VT100", "VT52", "None"}));
    EXPECT_EQ(f->ComboBox3->Items()->Strings(1), "Act as windows keys");
  }
  FinalizeGnuGettext();
}

// A terminal read from a form resource, bound to its port by name.
class TTermForm : public TForm {
  DK_CLASS(TTermForm, TForm)
 public:
  using TForm::TForm;
};

}  // namespace

DK_PUBLISH(TTermForm) {}

namespace {

TEST(TermSetup, ATerminalStreamsFromAFormResource) {
  auto f = Own(Create<TTermForm>(static_cast<TComponent*>(nullptr)));
  auto* t = dynamic_cast<TComTerminal*>(f->FindComponent("ComTerminal1"));
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->ComPort(), f->FindComponent("ComPort1"));
  EXPECT_EQ(StateOf(t), (TermState{"11000", tcUnderline, teVT52, 100, 30, akWindows}));
  EXPECT_EQ(t->Buffer()->Columns(), 100) << "the grid is made once the form is read";
  EXPECT_EQ(t->Buffer()->Rows(), 30);
  EXPECT_NE(dynamic_cast<TEscapeCodesVT52*>(t->EscapeCodes()), nullptr);
  EXPECT_EQ(t->AltColor(), clRed);
  EXPECT_EQ(t->Font()->Name(), "Courier New");
  EXPECT_EQ(t->ScrollBars(), ssVertical);
  // auto-size: the cells and the sunken edge
  EXPECT_EQ(t->Width(), 100 * t->CharWidth() + 2 * GetSystemMetrics(SM_CXEDGE));
  EXPECT_EQ(t->Height(), 30 * t->CharHeight() + 2 * GetSystemMetrics(SM_CYEDGE));
}

}  // namespace
