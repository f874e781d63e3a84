// The standard controls on real windows: what a window holds survives
// RecreateWnd, the objects report what the user does to their windows, and a
// form read from its resource shows its controls and menu bar.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "classlib/ui/Buttons.h"
#include "classlib/ui/ComCtrls.h"
#include "classlib/ui/ExtCtrls.h"
#include "classlib/ui/Forms.h"
#include "classlib/ui/Menus.h"
#include "classlib/ui/StdCtrls.h"

// after the class library, whose header takes care of the platform macros
#include "TestSupport.h"

class TDemoForm : public TForm {
  DK_CLASS(TDemoForm, TForm)
 public:
  using TForm::TForm;
  int ComboChanges = 0, OkClicks = 0, SettingsClicks = 0;
  void ComboBox1Change(TObject*) { ++ComboChanges; }
  void ButtonOKClick(TObject*) { ++OkClicks; }
  void MenuSettingsClick(TObject*) { ++SettingsClicks; }
};
DK_PUBLISH(TDemoForm) {
  P.Method("ComboBox1Change", &TDemoForm::ComboBox1Change);
  P.Method("ButtonOKClick", &TDemoForm::ButtonOKClick);
  P.Method("MenuSettingsClick", &TDemoForm::MenuSettingsClick);
}

namespace {

class TSink : public TObject {
  DK_CLASS(TSink, TObject)
 public:
  std::function<void(TObject*)> Fn;
  void Handle(TObject* s) {
    if (Fn) Fn(s);
  }
  TNotifyEvent N() { return TNotifyEvent(this, &TSink::Handle); }
};

std::wstring WindowText(HWND h) {
  wchar_t buf[512] = {};
  GetWindowTextW(h, buf, 512);
  return buf;
}

// A plain form to put controls on, shown so that their windows exist.
struct Host : ::testing::Test {
  TForm* Form = nullptr;
  void SetUp() override {
    Form = Create<TForm>(Application, 0);
    Form->SetBounds(40, 40, 420, 320);
  }
  void TearDown() override { Form->Free(); }
  template <class T>
  T* Add(int l, int t, int w, int h) {
    T* c = Create<T>(Form);
    c->SetBounds(l, t, w, h);
    static_cast<TControl*>(c)->SetParent(Form);
    return c;
  }
};

TEST_F(Host, RecreateWndKeepsLinesItemsSelectionAndState) {
  auto* memo = Add<TMemo>(8, 8, 200, 100);
  memo->Lines()->Add("Первая"_cp);
  memo->Lines()->Add("Вторая"_cp);
  auto* combo = Add<TComboBox>(220, 8, 150, 21);
  combo->Items()->Add("COM1");
  combo->Items()->Add("COM3");
  combo->Items()->AddObject("COM5", combo);
  combo->SetItemIndex(2);
  auto* typed = Add<TComboBox>(220, 40, 150, 21);
  typed->Items()->Add("A");
  typed->SetText("свой текст"_cp);
  auto* list = Add<TListBox>(220, 70, 150, 80);
  list->Items()->SetText("x\ny\nz\n");
  list->SetItemIndex(1);
  auto* check = Add<TCheckBox>(8, 120, 120, 17);
  check->SetAllowGrayed(true);
  check->SetState(cbGrayed);
  auto* edit = Add<TEdit>(8, 150, 120, 21);
  edit->SetText("Правка"_cp);

  Form->Show();
  testsupport::PumpMessages(100);
  HWND oldMemo = memo->Handle(), oldCombo = combo->Handle();
  EXPECT_EQ(SendMessageW(combo->Handle(), CB_GETCOUNT, 0, 0), 3) << "items given before the window are in it";
  EXPECT_EQ(SendMessageW(combo->Handle(), CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(WindowText(memo->Handle()), L"Первая\r\nВторая");

  // What the user does goes into the windows only.
  SendMessageW(combo->Handle(), CB_SETCURSEL, 1, 0);
  SendMessageW(list->Handle(), LB_SETCURSEL, 2, 0);
  SendMessageW(memo->Handle(), EM_SETSEL, 0, 0);
  SendMessageW(memo->Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"Нулевая\r\n"));

  for (TWinControl* c : std::initializer_list<TWinControl*>{memo, combo, typed, list, check, edit}) c->RecreateWnd();
  testsupport::PumpMessages(50);
  EXPECT_NE(memo->Handle(), oldMemo);
  EXPECT_NE(combo->Handle(), oldCombo);

  EXPECT_EQ(memo->Lines()->Count(), 3);
  EXPECT_EQ(memo->Lines()->Strings(0), "Нулевая"_cp);
  EXPECT_EQ(memo->Lines()->Strings(2), "Вторая"_cp);
  EXPECT_EQ(SendMessageW(combo->Handle(), CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(combo->Text(), "COM3");
  EXPECT_EQ(combo->Items()->Objects(2), combo) << "objects stay with their items";
  EXPECT_EQ(typed->Text(), "свой текст"_cp) << "typed text of a drop-down combo stays";
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_EQ(list->Items()->Count(), 3);
  EXPECT_EQ(check->State(), cbGrayed);
  EXPECT_EQ(SendMessageW(check->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  EXPECT_EQ(edit->Text(), "Правка"_cp);

  // And through a window destroyed with its form.
  Form->RecreateWnd();
  testsupport::PumpMessages(50);
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(memo->Lines()->Count(), 3);
}

TEST_F(Host, WindowClassesAreNamedAfterTheControlClasses) {
  std::vector<TWinControl*> controls = {Add<TButton>(0, 0, 10, 10),      Add<TBitBtn>(0, 0, 10, 10),
                                        Add<TEdit>(0, 0, 10, 10),        Add<TMemo>(0, 0, 10, 10),
                                        Add<TComboBox>(0, 0, 10, 10),    Add<TListBox>(0, 0, 10, 10),
                                        Add<TCheckBox>(0, 0, 10, 10),    Add<TRadioButton>(0, 0, 10, 10),
                                        Add<TGroupBox>(0, 0, 10, 10),    Add<TRadioGroup>(0, 0, 10, 10),
                                        Add<TStaticText>(0, 0, 10, 10),  Add<TPanel>(0, 0, 10, 10),
                                        Add<TUpDown>(0, 0, 10, 10)};
  for (TWinControl* c : controls) {
    wchar_t name[64] = {};
    GetClassNameW(c->Handle(), name, 64);
    EXPECT_EQ(winapi::A(name), c->ClassName());
  }
  auto* text = dynamic_cast<TStaticText*>(controls[10]);
  text->SetCaption("Порт:"_cp);
  EXPECT_EQ(WindowText(text->Handle()), L"Порт:");
  EXPECT_GT(text->Width(), 10) << "a static text sizes itself";
}

TEST_F(Host, ItemListsWithAndWithoutAWindow) {
  auto* combo = Add<TComboBox>(8, 8, 150, 21);
  combo->SetStyle(csDropDownList);
  combo->Items()->SetText("b\na\nc\n");
  combo->SetItemIndex(5);
  EXPECT_EQ(combo->ItemIndex(), -1) << "an index out of range selects nothing";
  combo->SetText("C");
  EXPECT_EQ(combo->ItemIndex(), 2) << "a drop-down list selects the item with the text";
  EXPECT_EQ(combo->Text(), "c");
  combo->SetSorted(true);
  EXPECT_EQ(combo->Items()->CommaText(), "a,b,c");
  EXPECT_EQ(combo->Items()->Add("B2"), 2) << "a sorted list puts a new item in its place";
  Form->Show();
  testsupport::PumpMessages(50);
  wchar_t buf[16];
  SendMessageW(combo->Handle(), CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(buf));
  EXPECT_STREQ(buf, L"B2");
  combo->Items()->Delete(0);
  combo->Items()->SetStrings(0, "b1");
  EXPECT_EQ(SendMessageW(combo->Handle(), CB_GETCOUNT, 0, 0), 3);
  SendMessageW(combo->Handle(), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(buf));
  EXPECT_STREQ(buf, L"b1");
  EXPECT_THROW(combo->Items()->Strings(3), EStringListError);
  combo->Clear();
  EXPECT_EQ(SendMessageW(combo->Handle(), CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(combo->ItemIndex(), -1);

  auto* memo = Add<TMemo>(8, 40, 200, 100);
  memo->Lines()->SetText("one\ntwo\r\nthree");
  EXPECT_EQ(memo->Lines()->Count(), 3);
  memo->Lines()->Insert(1, "one and a half");
  memo->Lines()->Delete(3);
  EXPECT_EQ(memo->Lines()->Text(), "one\r\none and a half\r\ntwo\r\n");
  EXPECT_EQ(WindowText(memo->Handle()), L"one\r\none and a half\r\ntwo") << "the window shows the lines";
  EXPECT_THROW(memo->Lines()->Delete(5), EStringListError);
  EXPECT_THROW(memo->Lines()->Strings(3), EStringListError);
}

TEST_F(Host, NotificationsOfTheWindowsBecomeEvents) {
  TSink changes, selects, clicks, checkClicks, editChanges;
  int nChange = 0, nSelect = 0, nClick = 0, nCheck = 0, nEdit = 0;
  changes.Fn = [&](TObject*) { ++nChange; };
  selects.Fn = [&](TObject*) { ++nSelect; };
  clicks.Fn = [&](TObject*) { ++nClick; };
  checkClicks.Fn = [&](TObject*) { ++nCheck; };
  editChanges.Fn = [&](TObject*) { ++nEdit; };

  auto* combo = Add<TComboBox>(8, 8, 150, 21);
  combo->SetStyle(csDropDownList);
  combo->Items()->SetText("COM1\nCOM3\n");
  combo->OnChange = changes.N();
  auto* button = Add<TButton>(8, 40, 90, 25);
  button->SetModalResult(mrOk);
  button->OnClick = clicks.N();
  auto* check = Add<TCheckBox>(8, 80, 120, 17);
  check->OnClick = checkClicks.N();
  auto* edit = Add<TEdit>(8, 110, 120, 21);
  edit->OnChange = editChanges.N();
  Form->Show();
  testsupport::PumpMessages(50);

  // The user picks an item: the list tells its parent, which hands it back.
  SendMessageW(combo->Handle(), CB_SETCURSEL, 1, 0);
  SendMessageW(Form->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo->Handle()), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo->Handle()));
  EXPECT_EQ(nChange, 1) << "without OnSelect a selection is a change";
  EXPECT_EQ(combo->Text(), "COM3");
  combo->OnSelect = selects.N();
  SendMessageW(combo->Handle(), CB_SETCURSEL, 0, 0);
  SendMessageW(Form->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo->Handle()), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo->Handle()));
  EXPECT_EQ(nSelect, 1);
  EXPECT_EQ(nChange, 1);
  combo->SetItemIndex(1);
  EXPECT_EQ(nChange, 1) << "setting the index in code is no user change";
  TSink drops;
  int nDrop = 0;
  drops.Fn = [&](TObject*) { ++nDrop; };
  combo->OnDropDown = drops.N();
  SendMessageW(Form->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo->Handle()), CBN_DROPDOWN),
               reinterpret_cast<LPARAM>(combo->Handle()));
  EXPECT_EQ(nDrop, 1);

  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(nClick, 1);
  EXPECT_EQ(Form->ModalResult(), mrOk) << "the button's modal result goes to its form";

  SendMessageW(check->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(check->Checked());
  EXPECT_EQ(SendMessageW(check->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  check->SetCheckedProp(false);
  EXPECT_EQ(nCheck, 2) << "a check box reports every change of its state";

  SetWindowTextW(edit->Handle(), L"1234");
  EXPECT_EQ(nEdit, 1);
  EXPECT_EQ(edit->Text(), "1234");
}

TEST_F(Host, RadioButtonsAndRadioGroups) {
  auto* group = Add<TRadioGroup>(8, 8, 200, 120);
  group->SetCaption("Чётность"_cp);
  group->Items()->SetText("Нет\nЧёт\nНечёт\n"_cp);
  TSink clicks;
  int n = 0;
  clicks.Fn = [&](TObject*) { ++n; };
  group->OnClick = clicks.N();
  ASSERT_EQ(group->ButtonCount(), 3);
  EXPECT_EQ(group->ItemIndex(), -1);
  group->SetItemIndex(1);
  EXPECT_TRUE(group->Buttons(1)->Checked());
  Form->Show();
  testsupport::PumpMessages(50);
  SendMessageW(group->Buttons(2)->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(group->ItemIndex(), 2);
  EXPECT_FALSE(group->Buttons(1)->Checked());
  EXPECT_EQ(SendMessageW(group->Buttons(1)->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(n, 2);
  group->SetColumns(3);
  EXPECT_GT(group->Buttons(1)->Left(), group->Buttons(0)->Left()) << "columns side by side";
  group->Items()->Delete(2);
  EXPECT_EQ(group->ButtonCount(), 2);
  EXPECT_EQ(group->ItemIndex(), 1) << "the index stays within the items";

  auto* a = Add<TRadioButton>(220, 8, 100, 17);
  auto* b = Add<TRadioButton>(220, 30, 100, 17);
  a->SetCheckedProp(true);
  b->SetCheckedProp(true);
  EXPECT_FALSE(a->Checked()) << "one checked radio button per parent";
}

TEST_F(Host, LabelsSizeThemselvesAndArePaintedByTheirParent) {
  Form->SetColor(clWhite);
  auto* label = Add<TLabel>(10, 10, 10, 10);
  label->Font()->SetHeight(-20);
  label->SetCaption("Вес, кг"_cp);
  EXPECT_GT(label->Width(), 40) << "AutoSize fits the text";
  EXPECT_GT(label->Height(), 15);
  label->SetColor(clRed);
  label->SetTransparent(false);
  auto* panel = Add<TPanel>(200, 10, 100, 60);
  panel->SetColor(clLime);
  panel->SetBevelOuter(bvNone);
  auto* bevel = Add<TBevel>(10, 100, 100, 50);
  (void)bevel;

  Form->Show();
  testsupport::PumpMessages(200);
  // Children of a panel stay inside its bevels and border.
  auto* inner = Create<TPanel>(Form);
  static_cast<TControl*>(inner)->SetParent(panel);
  inner->SetAlign(alClient);
  panel->SetBevelOuter(bvRaised);
  panel->SetBevelWidth(2);
  panel->SetBorderWidth(3);
  EXPECT_EQ(inner->BoundsRect(), Rect(5, 5, 95, 55));
  panel->SetBevelOuter(bvNone);
  panel->SetBorderWidth(0);
  EXPECT_EQ(inner->BoundsRect(), Rect(0, 0, 100, 60));
  inner->SetColor(clLime);
  inner->SetBevelOuter(bvNone);
  testsupport::PumpMessages(100);
  EXPECT_EQ(testsupport::ClientPixel(Form->Handle(), label->Left() + 1, label->Top() + 1), static_cast<COLORREF>(clRed));
  EXPECT_EQ(testsupport::ClientPixel(Form->Handle(), 250, 15), static_cast<COLORREF>(clLime));
  EXPECT_EQ(testsupport::ClientPixel(Form->Handle(), 10, 100), static_cast<COLORREF>(ColorToRGB(clBtnShadow)))
      << "a lowered bevel's top-left line";
  label->SetTransparent(true);
  Form->Repaint();
  testsupport::PumpMessages(100);
  EXPECT_EQ(testsupport::ClientPixel(Form->Handle(), label->Left() + 1, label->Top() + 1),
            static_cast<COLORREF>(clWhite));
}

TEST_F(Host, UpDownStepsItsAssociate) {
  auto* edit = Add<TEdit>(10, 10, 60, 21);
  auto* updown = Add<TUpDown>(70, 10, 17, 21);
  updown->SetMin(1);
  updown->SetMax(247);
  updown->SetPosition(5);
  updown->SetAssociate(edit);
  Form->Show();
  testsupport::PumpMessages(50);
  EXPECT_EQ(edit->Text(), "5");
  updown->SetPosition(300);
  EXPECT_EQ(updown->Position(), 247);
  EXPECT_EQ(edit->Text(), "247");
  updown->RecreateWnd();
  EXPECT_EQ(updown->Position(), 247);
}

TEST_F(Host, PropertiesThatNeedANewWindowKeepWhatItHolds) {
  auto* memo = Add<TMemo>(8, 8, 200, 80);
  memo->Lines()->SetText("a\nb\n");
  auto* edit = Add<TEdit>(8, 100, 100, 21);
  edit->SetText("x");
  auto* combo = Add<TComboBox>(220, 8, 150, 21);
  combo->Items()->SetText("p\nq\n");
  combo->SetItemIndex(1);
  auto* list = Add<TListBox>(220, 40, 150, 80);
  list->Items()->SetText("u\nv\nw\n");
  list->SetItemIndex(2);
  Form->Show();
  testsupport::PumpMessages(50);
  auto style = [](TWinControl* c) { return static_cast<DWORD>(GetWindowLongW(c->Handle(), GWL_STYLE)); };
  struct Case {
    const char* What;
    std::function<void()> Change;
    TWinControl* Control;
    DWORD Bits;
  };
  const Case cases[] = {
      {"memo scroll bars", [&] { memo->SetScrollBars(ssBoth); }, memo, WS_VSCROLL | WS_HSCROLL},
      {"memo alignment", [&] { memo->SetAlignment(taCenter); }, memo, ES_CENTER},
      {"memo read-only", [&] { memo->SetReadOnly(true); }, memo, ES_READONLY},
      {"edit upper case", [&] { edit->SetCharCase(ecUpperCase); }, edit, ES_UPPERCASE},
      {"combo drop-down list", [&] { combo->SetStyle(csDropDownList); }, combo, CBS_DROPDOWNLIST},
      {"list multi-select", [&] { list->SetMultiSelect(true); }, list, LBS_EXTENDEDSEL},
  };
  for (const auto& c : cases) {
    c.Change();
    EXPECT_EQ(style(c.Control) & c.Bits, c.Bits) << c.What;
  }
  EXPECT_EQ(WindowText(memo->Handle()), L"a\r\nb\r\n");
  EXPECT_EQ(memo->Lines()->Count(), 2);
  EXPECT_EQ(edit->Text(), "X") << "an upper-case edit shows its text in capitals";
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(combo->Text(), "q");
  EXPECT_TRUE(list->Selected(2) || list->ItemIndex() == 2);
  EXPECT_EQ(list->Items()->Count(), 3);
}

TEST_F(Host, GlyphButtons) {
  // A 16 x 16 red square on a fuchsia ground (the bottom-left colour: transparent).
  auto* glyph = Create<TBitmap>();
  glyph->SetPixelFormat(pf24bit);
  glyph->SetSize(16, 16);
  glyph->Canvas()->Brush()->SetColor(clFuchsia);
  glyph->Canvas()->FillRect(Rect(0, 0, 16, 16));
  glyph->Canvas()->Brush()->SetColor(clRed);
  glyph->Canvas()->FillRect(Rect(4, 4, 12, 12));
  auto* bit = Add<TBitBtn>(10, 10, 100, 30);
  bit->SetKind(bkOK);
  EXPECT_EQ(bit->Caption(), "OK");
  EXPECT_EQ(bit->ModalResult(), mrOk);
  EXPECT_TRUE(bit->Default());
  bit->SetGlyph(glyph);
  bit->SetMargin(4);
  auto* speed1 = Add<TSpeedButton>(10, 60, 40, 30);
  auto* speed2 = Add<TSpeedButton>(60, 60, 40, 30);
  speed1->SetGroupIndex(1);
  speed2->SetGroupIndex(1);
  speed2->SetGlyph(glyph);
  speed1->SetDown(true);
  speed2->SetDown(true);
  EXPECT_FALSE(speed1->Down()) << "one button of a group is down";
  speed2->SetDown(false);
  EXPECT_TRUE(speed2->Down()) << "the last one stays down without AllowAllUp";
  speed2->SetAllowAllUp(true);
  speed2->SetDown(false);
  EXPECT_FALSE(speed2->Down());
  Form->Show();
  testsupport::PumpMessages(200);
  EXPECT_EQ(testsupport::ClientPixel(bit->Handle(), 4 + 2 + 8, 15), static_cast<COLORREF>(clRed))
      << "the glyph at the margin";
  EXPECT_NE(testsupport::ClientPixel(bit->Handle(), 4 + 2 + 1, 15), static_cast<COLORREF>(clFuchsia))
      << "its transparent ground";
  EXPECT_EQ(testsupport::ClientPixel(Form->Handle(), 80, 75), static_cast<COLORREF>(clRed))
      << "the speed button's glyph in the middle";
  TSink clicks;
  int n = 0;
  clicks.Fn = [&](TObject*) { ++n; };
  bit->OnClick = clicks.N();
  SendMessageW(bit->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(Form->ModalResult(), mrOk);
  glyph->Free();
}

TEST(UiStdCtrls, DemoFormFromItsResourceShowsWhatTheUserSees) {
  auto* f = Create<TDemoForm>(Application);
  auto* combo = dynamic_cast<TComboBox*>(f->FindComponent("ComboBox1"));
  auto* memo = dynamic_cast<TMemo*>(f->FindComponent("Memo1"));
  auto* ok = dynamic_cast<TButton*>(f->FindComponent("ButtonOK"));
  auto* check = dynamic_cast<TCheckBox*>(f->FindComponent("CheckBox1"));
  auto* menu = dynamic_cast<TMainMenu*>(f->FindComponent("MainMenu1"));
  ASSERT_TRUE(combo && memo && ok && check && menu);
  EXPECT_EQ(combo->ItemIndex(), 1) << "ItemIndex comes before Items in the stream";
  EXPECT_EQ(combo->Text(), "COM3");
  EXPECT_EQ(memo->Lines()->Count(), 2);
  EXPECT_EQ(memo->Lines()->Strings(1), "Вторая строка"_cp);
  EXPECT_TRUE(ok->Default());
  EXPECT_TRUE(check->Checked());
  ASSERT_EQ(menu->Items()->Count(), 2);
  EXPECT_EQ(menu->Items()->Items(0)->Count(), 3);
  EXPECT_EQ(menu->Items()->Items(0)->Items(0)->GetShortCut(), ShortCut('S', {ssCtrl}));
  EXPECT_EQ(f->Menu(), menu);
  auto* popup = dynamic_cast<TPopupMenu*>(f->FindComponent("PopupMenu1"));
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(memo->PopupMenu(), popup);
  EXPECT_EQ(popup->Items()->Items(0)->Caption(), "Очистить"_cp);

  f->Show();
  testsupport::PumpMessages(300);
  HMENU bar = GetMenu(f->Handle());
  ASSERT_NE(bar, nullptr) << "the form shows its menu bar";
  EXPECT_EQ(GetMenuItemCount(bar), 2);
  wchar_t text[64];
  GetMenuStringW(bar, 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&Файл");
  GetMenuStringW(GetSubMenu(bar, 0), 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"Настройки...\tCtrl+S");
  EXPECT_EQ(WindowText(ok->Handle()), L"Сохранить");
  EXPECT_EQ(WindowText(combo->Handle()), L"COM3");
  EXPECT_EQ(SendMessageW(check->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(WindowText(f->Handle()), L"Дорнека-ХБВ: проба");
  EXPECT_EQ(testsupport::ClientPixel(f->Handle(), 200, 3), static_cast<COLORREF>(clWhite)) << "the panel's face";
  EXPECT_FALSE(testsupport::Screenshot(f->Handle(), "ui_stdctrls_demo").empty());

  // The menu item's command reaches its handler through the form.
  UINT id = GetMenuItemID(GetSubMenu(bar, 0), 0);
  SendMessageW(f->Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
  EXPECT_EQ(f->SettingsClicks, 1);
  SendMessageW(ok->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(f->OkClicks, 1);
  EXPECT_EQ(f->ModalResult(), mrOk);

  // A menu freed while its form shows it leaves the form without a bar.
  menu->Free();
  EXPECT_EQ(f->Menu(), nullptr);
  EXPECT_EQ(GetMenu(f->Handle()), nullptr);
  f->Free();
}

}  // namespace
