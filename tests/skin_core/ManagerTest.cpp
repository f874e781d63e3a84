// The skin manager's role as the default manager, its hooks, its activation
// and option setters, and the version switch of the command line.
#include <gtest/gtest.h>

#include <string>

#include "SkinCoreSupport.h"
#include "skin/forms/acDials.h"
#include "skin/forms/sSkinMenus.h"

namespace {

using namespace skincore;

// Counts the manager's events.
class TEvents : public TObject {
 public:
  int Deactivated = 0;
  void Deactivate(TObject*) { ++Deactivated; }
};

class Managers : public testing::Test {
 protected:
  void SetUp() override {
    Dir.Folder("one", SkinTextOf({{"BUTTON", 0x00C000}}));
    Dir.Folder("two", SkinTextOf({{"BUTTON", 0xC00000}, {"ONLYTWO"}}));
    Form = NewForm("ManagerForm");
  }
  void TearDown() override {
    if (Form) Form->Free();
  }
  TLoggedWinControl* Control(const AnsiString& Section = "BUTTON") {
    return NewControl<TLoggedWinControl>(Form, 94, Section);
  }
  // Whether the application window's hook of a default manager answers:
  // activation sends the skin command 18 to every form.
  bool AppHookAnswers() {
    TMessageCounter counter;
    SendMessageW(Application->Handle(), CM_ACTIVATE, 0, 0);
    return counter.Commands(Form->Handle(), ACMD_REDRAW) == 1;
  }

  skintest::TSkinDir Dir;
  TForm* Form = nullptr;
};

TEST_F(Managers, TheFirstIsTheDefaultAndASecondTakesOverWhenAsked) {
  TsSkinManager* first = skintest::NewManager(Dir);
  TsSkinManager* second = skintest::NewManager(Dir);
  EXPECT_EQ(DefaultManager, first);
  EXPECT_TRUE(first->IsDefault());
  EXPECT_FALSE(second->IsDefault());
  TLoggedWinControl* c = Control("ONLYTWO");
  first->SetSkinName("one");
  second->SetSkinName("two");
  EXPECT_EQ(c->SkinData()->SkinIndex, -1) << "controls without a manager of their own keep the first one";
  const HHOOK firstHook = HookCallback;
  ASSERT_NE(firstHook, nullptr);

  c->Log.clear();
  second->SetIsDefault(true);
  EXPECT_EQ(DefaultManager, second);
  EXPECT_FALSE(first->IsDefault());
  EXPECT_EQ(c->Count(ACMD_SKIN_LOADED, reinterpret_cast<LPARAM>(second)), 1) << "its skin is broadcast";
  EXPECT_EQ(c->SkinData()->SkinIndex, second->GetSkinIndex("ONLYTWO"));
  EXPECT_GE(c->SkinData()->SkinIndex, 0);
  // The hooks move with the role: the first keeps none it no longer answers for.
  EXPECT_FALSE(first->HookInstalled());
  EXPECT_TRUE(second->HookInstalled());
  EXPECT_NE(HookCallback, nullptr);
  first->Free();
  EXPECT_EQ(DefaultManager, second);
  EXPECT_TRUE(AppHookAnswers()) << "the application window's hook is the new default's";
  second->Free();
  EXPECT_EQ(DefaultManager, nullptr);
  EXPECT_FALSE(AppHookAnswers());
}

TEST_F(Managers, DestroyingTheDefaultRemovesItsSkinAndBothHooks) {
  TsSkinManager* m = skintest::NewManager(Dir);
  m->SetSkinName("one");
  TLoggedWinControl* c = Control();
  ASSERT_TRUE(c->SkinData()->Skinned());
  const HHOOK hook = HookCallback;
  ASSERT_NE(hook, nullptr);
  ASSERT_TRUE(AppHookAnswers());
  const LPARAM manager = reinterpret_cast<LPARAM>(m);
  m->Free();
  EXPECT_EQ(c->Count(ACMD_SKIN_UNLOADED, manager), 1) << "the removal is broadcast";
  EXPECT_FALSE(c->SkinData()->Skinned());
  EXPECT_EQ(DefaultManager, nullptr);
  EXPECT_EQ(HookCallback, nullptr);
  EXPECT_EQ(acSupportedList, nullptr);
  EXPECT_FALSE(UnhookWindowsHookEx(hook)) << "the window-creation hook is gone";
  EXPECT_FALSE(AppHookAnswers()) << "so is the application window's";
}

TEST_F(Managers, TheThreadHookExistsExactlyWhileTheDefaultHasABroadcastSkin) {
  TsSkinManager* m = skintest::NewManager(Dir);
  TFreeAtEnd<TsSkinManager> freeM{m};
  EXPECT_EQ(HookCallback, nullptr) << "no skin yet";
  m->SetSkinName("one");
  EXPECT_NE(HookCallback, nullptr);
  EXPECT_NE(acSupportedList, nullptr);
  m->SetActive(false);
  EXPECT_EQ(HookCallback, nullptr);
  m->SetActive(true);
  const HHOOK hook = HookCallback;
  EXPECT_NE(hook, nullptr);
  TsSkinManager* other = skintest::NewManager(Dir);
  TFreeAtEnd<TsSkinManager> freeOther{other};
  other->SetSkinName("two");
  EXPECT_EQ(HookCallback, hook) << "a manager that is not the default installs nothing";
  EXPECT_FALSE(other->HookInstalled());
}

TEST_F(Managers, DeactivatingBroadcastsTheRemovalUnlessThereIsNoSkinName) {
  TsSkinManager* m = skintest::NewManager(Dir);
  TFreeAtEnd<TsSkinManager> freeM{m};
  TEvents events;
  m->OnDeactivate = TNotifyEvent(&events, &TEvents::Deactivate);
  TLoggedWinControl* c = Control();
  m->SetActive(false);
  EXPECT_FALSE(m->Active());
  EXPECT_EQ(events.Deactivated, 0) << "without a name it only stores";
  EXPECT_EQ(c->Count(ACMD_SKIN_UNLOADED), 0);
  m->SetSkinName("one");
  EXPECT_FALSE(c->SkinData()->Skinned()) << "an inactive manager only stores the name";
  EXPECT_EQ(c->Count(ACMD_SKIN_LOADED), 0);
  m->SetActive(true);
  ASSERT_TRUE(c->SkinData()->Skinned()) << "activation loads and broadcasts it";
  m->SetActive(false);
  EXPECT_EQ(events.Deactivated, 1);
  EXPECT_EQ(c->Count(ACMD_SKIN_UNLOADED, reinterpret_cast<LPARAM>(m)), 1);
  EXPECT_FALSE(c->SkinData()->Skinned());
  EXPECT_FALSE(m->CommonSkinData.Active);
}

TEST_F(Managers, SkinnedPopupsFollowTheDefaultsSkin) {
  TsSkinManager* m = skintest::NewManager(Dir);
  TFreeAtEnd<TsSkinManager> freeM{m};
  m->SetSkinName("one");
  EXPECT_FALSE(m->Menus()->Active());
  m->SetSkinnedPopups(false);
  EXPECT_FALSE(m->SkinnedPopups());
  EXPECT_FALSE(m->Menus()->Active()) << "turning it off only clears the flag";
  m->SetSkinnedPopups(true);
  EXPECT_TRUE(m->Menus()->Active()) << "on: the menus follow the skin in use";
}

TEST_F(Managers, TheMenuBorderWidthComesFromTheSkinAndIsReadAgainAfterASkinChange) {
  Dir.Folder("menus", SkinTextOf({{"MAINMENU"}}));
  TsSkinManager* m = skintest::NewManager(Dir);
  TFreeAtEnd<TsSkinManager> freeM{m};
  m->SetSkinName("menus");
  EXPECT_EQ(m->Menus()->GetSkinBorderWidth(), 0) << "no BORDERSMASK";
  TsMaskData border;
  border.SectionName = "MAINMENU";
  border.PropName = "BORDERSMASK";
  border.SrcRect = TRect{0, 0, 12, 12};
  border.Columns = 1;
  m->Masks.push_back(std::move(border));
  m->InvalidateIndexes();
  EXPECT_EQ(m->Menus()->GetSkinBorderWidth(), 0) << "kept until the next skin change";
  for (SmallInt margin : {SmallInt(0), SmallInt(5)}) {
    m->Masks.back().UniformMargin = margin;
    m->SendNewSkin(false);
    EXPECT_EQ(m->Menus()->GetSkinBorderWidth(), margin < 1 ? 3 : margin);
  }
}

TEST_F(Managers, ExtendedBordersReloadTheSkinWithTheProgramsShadows) {
  ASSERT_NE(DefaultShadowActive, nullptr);
  ASSERT_NE(DefaultShadowInactive, nullptr);
  EXPECT_EQ(BitmapWidth(DefaultShadowActive), 32);
  EXPECT_EQ(BitmapHeight(DefaultShadowInactive), 32);
  TsSkinManager* m = skintest::NewManager(Dir);
  TFreeAtEnd<TsSkinManager> freeM{m};
  m->SetSkinName("one");
  TLoggedWinControl* c = Control();
  EXPECT_EQ(m->ShadowMargins, TRect{});
  m->SetExtendedBorders(true);
  ASSERT_TRUE(m->ExtendedBorders());
  EXPECT_EQ(m->ShadowMargins, (TRect{9, 9, 9, 9})) << "a skin without EXBORDER takes the program's shadows";
  ASSERT_NE(m->ShadowActive, nullptr);
  const TPixelView32 active = PixelsOf(m->ShadowActive.get());
  const TPixelView32 inactive = PixelsOf(m->ShadowInactive.get());
  ASSERT_FALSE(active.Empty());
  // The shadow is strongest in the middle, fades to the edge, and the
  // inactive window's is fainter.
  EXPECT_GT(PixelAlpha(active.At(16, 16)), PixelAlpha(active.At(0, 16)));
  EXPECT_GT(PixelAlpha(active.At(16, 16)), PixelAlpha(inactive.At(16, 16)));
  EXPECT_EQ(c->Count(ACMD_SKIN_REPAINT), 1) << "the forms are repainted";
  m->SetExtendedBorders(false);
  EXPECT_EQ(m->ShadowMargins, TRect{});
}

TEST(VersionSwitch, AnyCaseOfTheSwitchAsksForTheVersion) {
  const struct {
    std::vector<AnsiString> Args;
    bool Asked;
  } cases[] = {
      {{"/acver"}, true}, {{"/AcVer"}, true}, {{"x", "/ACVER"}, true},
      {{}, false},        {{"acver"}, false}, {{"/acver2"}, false},
  };
  for (const auto& c : cases) EXPECT_EQ(ShowVersionRequested(c.Args), c.Asked);
}

struct TBoxSearch {
  DWORD Pid;
  std::vector<HWND> Boxes;
};

BOOL CALLBACK CollectShownWindow(HWND Wnd, LPARAM Data) {
  auto* s = reinterpret_cast<TBoxSearch*>(Data);
  DWORD pid = 0;
  GetWindowThreadProcessId(Wnd, &pid);
  if (pid == s->Pid && IsWindowVisible(Wnd)) s->Boxes.push_back(Wnd);
  return TRUE;
}

BOOL CALLBACK AppendText(HWND Child, LPARAM Data) {
  wchar_t buffer[256] = {};
  GetWindowTextW(Child, buffer, 256);
  *reinterpret_cast<std::wstring*>(Data) += buffer;
  return TRUE;
}

// Runs this test program with "/AcVer" and no test: at its start it shows the
// library's version once (the box is read and closed from here).
TEST(VersionSwitch, TheProgramShowsTheVersionOnceAtStart) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\" /AcVer --gtest_filter=-*";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  TBoxSearch search{pi.dwProcessId, {}};
  std::vector<HWND> seen;
  std::vector<std::wstring> texts;
  const DWORD start = GetTickCount();
  while (WaitForSingleObject(pi.hProcess, 50) == WAIT_TIMEOUT && GetTickCount() - start < 60000) {
    search.Boxes.clear();
    EnumWindows(CollectShownWindow, reinterpret_cast<LPARAM>(&search));
    for (HWND box : search.Boxes) {
      if (std::find(seen.begin(), seen.end(), box) != seen.end()) continue;
      seen.push_back(box);
      std::wstring text;
      EnumChildWindows(box, AppendText, reinterpret_cast<LPARAM>(&text));
      texts.push_back(text);
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
  }
  if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find(L"Skin library v9.12"), std::wstring::npos);
}

}  // namespace
