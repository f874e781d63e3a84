// The skinned system menu on screen: dropped from a skinned form's caption by
// a right click, drawn by the menu painter, with the texts of the window's
// own system menu and its extra commands; the skin list it offers (columns
// of 20, the current skin checked, a choice loads the skin); and the system
// menu of a skinned message box.
#include <gtest/gtest.h>

#include "MenuFixture.h"
#include "skin/forms/acDials.h"
#include "skin/forms/acDialsFrame.h"
#include "skin/forms/acSystemMenu.h"
#include "skin/forms/sSystemMenu.h"
// After the class library, whose names the system's macros would take.
#include "TestSupport.h"

namespace {

using namespace menutest;
using testsupport::PumpMessages;

// A skin directory with the menu skin under the names given.
class TManySkins {
 public:
  explicit TManySkins(const std::vector<std::string>& Names) {
    for (const std::string& n : Names) FDir.Folder(n, MenuSkinText(true), MenuMaster());
  }
  const std::filesystem::path& Path() const { return FDir.Path(); }

 private:
  skintest::TSkinDir FDir;
};

// The text of a system menu item up to its tab.
AnsiString SysText(HMENU Menu, UINT Command) {
  wchar_t text[256] = {};
  const int n = GetMenuStringW(Menu, Command, text, 255, MF_BYCOMMAND);
  AnsiString s = winapi::A(std::wstring(text, static_cast<size_t>(n > 0 ? n : 0)));
  return s.substr(0, s.find('\t'));
}

// What the system menu of the skinned message box showed.
struct TBoxSeen {
  bool Found = false, SizeVisible = true, RestoreVisible = true, CloseEnabled = false, MoveVisible = false;
  TShortCut CloseKey = 0;
};
TBoxSeen gBoxSeen;

// Reads the menu of the skinned message box that is open, then closes the box.
void CALLBACK ReadBoxMenu(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  HWND box = nullptr;
  for (int i = 0; acSupportedList && i < acSupportedList->Count(); ++i) {
    auto* p = static_cast<TacProvider*>(acSupportedList->Items(i));
    if (!p || !p->DialogWnd || !p->DialogWnd->SystemMenu) continue;
    TacSystemMenu* menu = p->DialogWnd->SystemMenu;
    menu->UpdateItems();
    gBoxSeen.Found = true;
    gBoxSeen.SizeVisible = menu->ItemSize->Visible();
    gBoxSeen.RestoreVisible = menu->ItemRestore->Visible();
    gBoxSeen.MoveVisible = menu->ItemMove->Visible();
    gBoxSeen.CloseEnabled = menu->ItemClose->Enabled();
    gBoxSeen.CloseKey = menu->ItemClose->GetShortCut();
    box = p->DialogWnd->WndHandle;
  }
  if (box) PostMessageW(box, WM_COMMAND, IDOK, 0);
}

class SkinnedSystemMenu : public testing::Test {
 protected:
  void Start(const std::filesystem::path& Dir, const char* Skin) {
    Manager = Create<TsSkinManager>(nullptr);
    Manager->SetSkinDirectory(skintest::Ansi(Dir));
    Manager->SetSkinName(Skin);
    ASSERT_TRUE(Manager->Active());
    Form = Create<TForm>(Application, 0);
    Form->SetBorderStyle(bsSizeable);
    Form->SetBorderIcons({biSystemMenu, biMinimize, biMaximize});
    Form->SetCaption("A");
    Form->SetBounds(80, 80, 320, 200);
    Form->HandleNeeded();
  }
  void Skin() {
    Provider = Create<TsSkinProvider>(Form);
    Form->Show();
    PumpMessages(80);
  }
  void TearDown() override {
    if (Form) Form->Free();
    if (Manager) Manager->Free();
    PumpMessages(20);
  }
  // Right-clicks the caption and runs the steps in the menu it drops.
  int DropFromCaption(std::vector<TMenuStep> Steps) {
    RECT r{};
    GetWindowRect(Form->Handle(), &r);
    return RunMenuSteps([&] { RightClickAt(r.left + 60, r.top + GetSystemMetrics(SM_CYCAPTION) / 2 + 2); },
                        std::move(Steps));
  }

  TsSkinManager* Manager = nullptr;
  TForm* Form = nullptr;
  TsSkinProvider* Provider = nullptr;
};

TEST_F(SkinnedSystemMenu, TheCaptionDropsTheSkinnedMenuWithTheWindowsTextsAndExtraCommandsBeforeClose) {
  TMenuSkins skins;
  Start(skins.Path(), "Menus");
  HMENU sys = GetSystemMenu(Form->Handle(), FALSE);
  ASSERT_NE(sys, nullptr);
  AppendMenuW(sys, MF_STRING, 0x0120, L"Extra\tCtrl+E");
  const UINT commands[] = {SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE};
  std::vector<AnsiString> expected;
  for (UINT c : commands) expected.push_back(SysText(sys, c));
  const AnsiString closeText = SysText(sys, SC_CLOSE);
  Skin();
  bool served = false;
  std::vector<AnsiString> captions;
  const int steps = DropFromCaption({[&](HWND Wnd) {
    served = testsupport::ServedBySkinEngine(Wnd);
    ASSERT_NE(Provider->SystemMenu, nullptr);
    TMenuItem* items = Provider->SystemMenu->Items();
    for (int i = 0; i < items->Count(); ++i) captions.push_back(items->Items(i)->Caption());
    MenuScreenshot(Wnd, "form-system-menu");
  }});
  ASSERT_EQ(steps, 1);
  EXPECT_TRUE(served) << "the pop-up is a skinned one";
  // Restore .. Maximize, a separator, the extra command, a separator, Close.
  ASSERT_EQ(captions.size(), 9u);
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_FALSE(expected[i].empty());
    EXPECT_EQ(captions[i], expected[i]) << i;
  }
  EXPECT_EQ(captions[5], "-");
  EXPECT_EQ(captions[6], "Extra");
  EXPECT_EQ(captions[7], "-");
  EXPECT_EQ(captions[8], closeText);
}

TEST_F(SkinnedSystemMenu, TheSkinListRunsInColumnsOfTwentyChecksTheCurrentSkinAndLoadsTheOneChosen) {
  std::vector<std::string> names{"Menus"};
  for (int i = 0; i < 44; ++i) names.push_back("S" + std::string(i < 10 ? "0" : "") + std::to_string(i));
  TManySkins skins(names);
  Start(skins.Path(), "Menus");
  Skin();
  Provider->MakeSkinMenu = true;
  struct TSeen {
    AnsiString FirstName, FirstCaption, Second;
    int Count = 0;
    std::vector<int> Breaks, Checked;
    bool Radio = true;
  } seen;
  const int steps = DropFromCaption({
      [&](HWND Wnd) {
        TMenuItem* items = Provider->SystemMenu->Items();
        seen.FirstName = items->Items(0)->Name();
        seen.FirstCaption = items->Items(0)->Caption();
        seen.Second = items->Items(1)->Caption();
        TMenuItem* list = items->Items(0);
        seen.Count = list->Count();
        for (int i = 0; i < list->Count(); ++i) {
          if (list->Items(i)->Break() != mbNone) seen.Breaks.push_back(i);
          if (list->Items(i)->Checked()) seen.Checked.push_back(i);
          seen.Radio = seen.Radio && list->Items(i)->RadioItem();
        }
        MenuScreenshot(Wnd, "form-system-menu-skins");
        PressKeys({VK_DOWN, VK_RIGHT});  // the list opens with its first skin selected
      },
      [&](HWND Wnd) {
        MenuScreenshot(Wnd, "skin-list");
        PressKeys({VK_DOWN, VK_RETURN});  // the second skin
      },
  });
  EXPECT_EQ(steps, 2);
  EXPECT_EQ(seen.FirstName, "SkinSelectItem");
  EXPECT_EQ(seen.FirstCaption, acs_AvailSkins);
  EXPECT_EQ(seen.Second, "-");
  EXPECT_EQ(seen.Count, 45);
  EXPECT_EQ(seen.Breaks, (std::vector<int>{20, 40}));
  EXPECT_EQ(seen.Checked, (std::vector<int>{0}));
  EXPECT_TRUE(seen.Radio);
  ASSERT_TRUE(skinforms::PumpUntil([&] { return Manager->SkinName() == "S00"; }));
  EXPECT_TRUE(Manager->Active());
}

TEST_F(SkinnedSystemMenu, ASkinnedMessageBoxHidesSizeAndRestoreAndKeepsCloseWithAltF4) {
  TMenuSkins skins;
  Start(skins.Path(), "Menus");
  Skin();
  gBoxSeen = TBoxSeen{};
  SetTimer(nullptr, 0, 400, ReadBoxMenu);
  MessageBoxW(Form->Handle(), L"Text", L"Box", MB_OK);
  ASSERT_TRUE(gBoxSeen.Found) << "the message box was skinned";
  EXPECT_FALSE(gBoxSeen.SizeVisible);
  EXPECT_FALSE(gBoxSeen.RestoreVisible);
  EXPECT_TRUE(gBoxSeen.MoveVisible);
  EXPECT_TRUE(gBoxSeen.CloseEnabled);
  EXPECT_EQ(gBoxSeen.CloseKey, ShortCut(VK_F4, TShiftState{ssAlt}));
}

}  // namespace
