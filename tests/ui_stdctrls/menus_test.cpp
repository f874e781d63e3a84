// Menus: shortcut texts, the native menus built from the items, and commands
// and shortcuts running the items.
#include <gtest/gtest.h>

#include "classlib/ui/Forms.h"
#include "classlib/ui/Menus.h"
#include "classlib/ui/StdCtrls.h"

namespace {

TEST(UiMenus, ShortCutsAndTheirTexts) {
  struct Case {
    TShortCut Value;
    const char* Text;
  };
  const Case cases[] = {
      {ShortCut('S', {ssCtrl}), "Ctrl+S"},
      {ShortCut(VK_F1, {}), "F1"},
      {ShortCut(VK_DELETE, {ssShift}), "Shift+Del"},
      {ShortCut('X', {ssAlt}), "Alt+X"},
      {ShortCut(VK_F12, {ssShift, ssCtrl}), "Shift+Ctrl+F12"},
      {ShortCut(VK_RETURN, {}), "Enter"},
      {ShortCut(VK_PRIOR, {ssCtrl}), "Ctrl+PgUp"},
      {ShortCut('7', {}), "7"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShortCutToText(c.Value), c.Text);
    EXPECT_EQ(TextToShortCut(c.Text), c.Value) << c.Text;
  }
  EXPECT_EQ(ShortCut('S', {ssCtrl}), 16467) << "the number form files carry";
  EXPECT_EQ(TextToShortCut("ctrl+s"), ShortCut('S', {ssCtrl}));
  EXPECT_EQ(TextToShortCut("Ctrl+"), 0);
  EXPECT_EQ(TextToShortCut("Hyper+Q"), 0);
  EXPECT_EQ(ShortCutToText(0), "");
  Word key;
  TShiftState shift;
  ShortCutToKey(ShortCut(VK_F5, {ssAlt}), key, shift);
  EXPECT_EQ(key, VK_F5);
  EXPECT_EQ(shift, TShiftState{ssAlt});
  EXPECT_EQ(StripHotkey("&Файл && правка"_cp), "Файл & правка"_cp);
}

class TClicks : public TObject {
  DK_CLASS(TClicks, TObject)
 public:
  int Count = 0;
  TObject* Last = nullptr;
  void Click(TObject* s) {
    ++Count;
    Last = s;
  }
};

TMenuItem* Item(TComponent* owner, const AnsiString& caption) {
  auto* i = Create<TMenuItem>(owner);
  i->SetCaption(caption);
  return i;
}

TEST(UiMenus, NativeMenusFollowTheItems) {
  auto* menu = Create<TPopupMenu>(nullptr);
  auto* a = Item(menu, "Первый"_cp);
  auto* line = Item(menu, "-");
  auto* b = Item(menu, "Второй"_cp);
  auto* sub = Item(menu, "Ещё"_cp);
  menu->Items()->Add(a);
  menu->Items()->Add(line);
  menu->Items()->Add(b);
  menu->Items()->Add(sub);
  sub->Add(Item(menu, "Вложенный"_cp));
  HMENU h = menu->Handle();
  ASSERT_EQ(GetMenuItemCount(h), 4);
  EXPECT_EQ(GetMenuState(h, 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
  ASSERT_NE(GetSubMenu(h, 3), nullptr);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(h, 3)), 1);

  // Changes go to the native menu at once.
  b->SetEnabled(false);
  b->SetChecked(true);
  UINT state = GetMenuState(h, 2, MF_BYPOSITION);
  EXPECT_TRUE(state & MF_GRAYED);
  EXPECT_TRUE(state & MF_CHECKED);
  a->SetVisible(false);
  EXPECT_EQ(GetMenuItemCount(h), 3) << "a hidden item has no entry";
  a->SetVisible(true);
  b->SetCaption("Другой"_cp);
  b->SetShortCut(ShortCut(VK_F2, {}));
  wchar_t text[64];
  GetMenuStringW(h, 2, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"Другой\tF2");
  b->SetMenuIndex(0);
  GetMenuStringW(h, 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"Другой\tF2");
  EXPECT_EQ(menu->Items()->Find("первый"_cp), a);

  // Radio items of one group: one checked.
  a->SetRadioItem(true);
  b->SetRadioItem(true);
  b->SetEnabled(true);
  a->SetChecked(true);
  EXPECT_FALSE(b->Checked());
  a->SetAutoCheck(true);

  // Commands and shortcuts run the items (a disabled one does not).
  TClicks clicks;
  b->OnClick = TNotifyEvent(&clicks, &TClicks::Click);
  EXPECT_TRUE(menu->DispatchCommand(b->Command()));
  EXPECT_EQ(clicks.Count, 1);
  EXPECT_EQ(clicks.Last, b);
  EXPECT_FALSE(menu->DispatchCommand(0xEFFF));
  TWMKey key;
  key.Msg = WM_KEYDOWN;
  key.WParam = VK_F2;
  EXPECT_TRUE(menu->IsShortCut(key));
  EXPECT_EQ(clicks.Count, 2);
  b->SetEnabled(false);
  EXPECT_FALSE(menu->IsShortCut(key));
  EXPECT_EQ(clicks.Count, 2);

  // Freeing an item takes it out of its menu.
  sub->Free();
  EXPECT_EQ(menu->Items()->Count(), 3);
  EXPECT_EQ(GetMenuItemCount(h), 3);
  menu->Free();
}

class TDrawnItem : public TMenuItem {
  DK_CLASS(TDrawnItem, TMenuItem)
 public:
  using TMenuItem::TMenuItem;
  int Measured = 0, Drawn = 0;
  void MeasureItem(HDC DC, int& Width, int& Height) override {
    ++Measured;
    inherited::MeasureItem(DC, Width, Height);
  }
  void DrawItem(HDC DC, const TRect& Rect, UINT State) override {
    ++Drawn;
    inherited::DrawItem(DC, Rect, State);
  }
};

int gPopupTicks = 0;
void CALLBACK ChooseSecond(HWND, UINT, UINT_PTR, DWORD) {
  HWND menuWnd = FindWindowW(L"#32768", nullptr);
  if (!menuWnd || !IsWindowVisible(menuWnd) || ++gPopupTicks != 3) return;
  for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
    PostMessageW(menuWnd, WM_KEYDOWN, key, 0);
    PostMessageW(menuWnd, WM_KEYUP, key, 0);
  }
}

TEST(UiMenus, APopupMenuRunsTheItemChosen) {
  auto* menu = Create<TPopupMenu>(nullptr);
  TClicks clicks, popups;
  menu->OnPopup = TNotifyEvent(&popups, &TClicks::Click);
  auto* a = Item(menu, "Обнулить"_cp);
  auto* b = Create<TDrawnItem>(menu);
  b->SetCaption("Тарировать"_cp);
  menu->Items()->Add(a);
  menu->Items()->Add(b);
  a->OnClick = TNotifyEvent(&clicks, &TClicks::Click);
  b->OnClick = TNotifyEvent(&clicks, &TClicks::Click);
  menu->SetOwnerDraw(true);  // drawn by the items' hooks
  UINT_PTR timer = SetTimer(nullptr, 0, 50, ChooseSecond);
  menu->Popup(200, 200);
  KillTimer(nullptr, timer);
  EXPECT_EQ(popups.Count, 1);
  EXPECT_EQ(clicks.Count, 1);
  EXPECT_EQ(clicks.Last, b);
  EXPECT_GT(b->Measured, 0) << "an owner-drawn menu asks its items";
  EXPECT_GT(b->Drawn, 0);
  menu->Free();
}

int gContextTicks = 0;
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD) {
  HWND menuWnd = FindWindowW(L"#32768", nullptr);
  if (!menuWnd || !IsWindowVisible(menuWnd) || ++gContextTicks != 2) return;
  PostMessageW(menuWnd, WM_KEYDOWN, VK_ESCAPE, 0);
  PostMessageW(menuWnd, WM_KEYUP, VK_ESCAPE, 0);
}

TEST(UiMenus, RightClickShowsTheControlsPopupMenu) {
  auto* form = Create<TForm>(nullptr);
  auto* edit = Create<TEdit>(form);
  edit->SetParent(form);
  auto* menu = Create<TPopupMenu>(form);
  menu->Items()->Add(Item(menu, "Копировать"_cp));
  TClicks popups;
  menu->OnPopup = TNotifyEvent(&popups, &TClicks::Click);
  edit->SetPopupMenu(menu);
  form->Show();
  // Each menu that opens is closed again by the timer.
  UINT_PTR timer = SetTimer(nullptr, 0, 50, CloseMenu);
  gContextTicks = 0;
  SendMessageW(edit->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit->Handle()), MAKELPARAM(-1, -1));
  EXPECT_EQ(popups.Count, 1);
  EXPECT_EQ(menu->PopupComponent(), edit);
  menu->SetAutoPopup(false);
  gContextTicks = 0;
  SendMessageW(edit->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit->Handle()), MAKELPARAM(10, 10));
  KillTimer(nullptr, timer);
  EXPECT_EQ(popups.Count, 1) << "no automatic pop-up: the edit's own menu shows instead";
  form->Free();
}

TEST(UiMenus, ItemsTravelAsChildrenOfTheMenuInAFormStream) {
  auto* menu = Create<TMainMenu>(nullptr);
  menu->SetName("MainMenu1");
  auto* file = Item(menu, "&Файл"_cp);
  file->SetName("File1");
  menu->Items()->Add(file);
  auto* exit = Item(menu, "Выход"_cp);
  exit->SetName("Exit1");
  exit->SetShortCut(TextToShortCut("Alt+X"));
  exit->SetRadioItem(true);
  file->Add(exit);
  auto* help = Item(menu, "Справка"_cp);
  help->SetName("Help1");
  help->SetEnabled(false);
  menu->Items()->Add(help);

  TMemoryStream stream;
  stream.WriteComponent(menu);
  TMemoryStream text;
  stream.SetPosition(0);
  ObjectBinaryToText(&stream, &text);
  std::string t(static_cast<const char*>(text.Memory()), static_cast<std::size_t>(text.Size()));
  EXPECT_NE(t.find("object File1: TMenuItem"), std::string::npos) << t;
  EXPECT_NE(t.find("ShortCut = 32856"), std::string::npos) << t;
  EXPECT_LT(t.find("object Exit1"), t.find("object Help1")) << "the sub-item inside its parent";

  auto* copy = Create<TMainMenu>(nullptr);
  stream.SetPosition(0);
  stream.ReadComponent(copy);
  ASSERT_EQ(copy->Items()->Count(), 2);
  TMenuItem* f = copy->Items()->Items(0);
  EXPECT_EQ(f->Caption(), "&Файл"_cp);
  ASSERT_EQ(f->Count(), 1);
  EXPECT_EQ(f->Items(0)->Name(), "Exit1");
  EXPECT_EQ(f->Items(0)->GetShortCut(), ShortCut('X', {ssAlt}));
  EXPECT_TRUE(f->Items(0)->RadioItem());
  EXPECT_FALSE(copy->Items()->Items(1)->Enabled());
  EXPECT_EQ(f->Items(0)->Owner(), copy) << "read items belong to the stream's root";
  copy->Free();
  menu->Free();
}

}  // namespace
