// The default manager's hook of the application window: the skin editor's
// record, activation, the system commands and the program's last hide.
#include <gtest/gtest.h>

#include <cstring>

#include "SkinCoreSupport.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/sSkinProvider.h"

namespace {

using namespace skincore;

// The answer of a system that composes the screen.
HRESULT WINAPI ComposingSystem(BOOL* Enabled) {
  *Enabled = TRUE;
  return S_OK;
}

class AppWindow : public testing::Test {
 protected:
  void SetUp() override {
    Dir.Folder("base", SkinTextOf({{"BUTTON", 0x00C000}}));
    Manager = skintest::NewManager(Dir);
    Form = NewForm("AppWindowForm");
  }
  void TearDown() override {
    if (Form) Form->Free();
    if (Manager) Manager->Free();
  }
  // A record of the skin editor for the skin "base" of the test's folder.
  std::unique_ptr<TacEditorRecord> Record(const std::string& Text) {
    auto r = std::make_unique<TacEditorRecord>();
    std::memset(r.get(), 0, sizeof *r);
    r->Magic = ASE_MSG;
    std::strcpy(r->SkinName, "base");
    std::strcpy(r->SkinDirectory, skintest::Ansi(Dir.Path()).c_str());
    std::memcpy(r->OptionsText, Text.data(), Text.size());
    return r;
  }
  static LRESULT SendBlock(const void* Data, DWORD Size, WPARAM Tag = 7) {
    COPYDATASTRUCT block{0, Size, const_cast<void*>(Data)};
    return SendMessageW(Application->Handle(), WM_COPYDATA, Tag, reinterpret_cast<LPARAM>(&block));
  }
  // Whether the posted editor command waits in the queue.
  static bool EditorCommandQueued() {
    MSG msg;
    return PeekMessageW(&msg, Application->Handle(), SM_ALPHACMD, SM_ALPHACMD, PM_NOREMOVE) &&
           AlphaCmdOf(msg.wParam) == ACMD_EDITOR_DATA;
  }
  TLoggedWinControl* Control(const AnsiString& Section) { return NewControl<TLoggedWinControl>(Form, 94, Section); }

  skintest::TSkinDir Dir;
  TsSkinManager* Manager = nullptr;
  TForm* Form = nullptr;
};

TEST_F(AppWindow, TheEditorsRecordLoadsItsText) {
  Manager->SetSkinName("base");
  TLoggedWinControl* c = Control("EDITORONLY");
  ASSERT_EQ(c->SkinData()->SkinIndex, -1);
  ASSERT_FALSE(UnPackedFirst);
  const auto record = Record(SkinTextOf({{"BUTTON"}, {"EDITORONLY", 0x0000FF}}));
  SendBlock(record.get(), sizeof *record);
  EXPECT_TRUE(EditorCommandQueued()) << "the record is handled later, the editor is released at once";
  EXPECT_EQ(c->SkinData()->SkinIndex, -1);
  Application->ProcessMessages();
  EXPECT_TRUE(UnPackedFirst);
  EXPECT_GE(c->SkinData()->SkinIndex, 0) << "a section only the editor's text has resolves";
  EXPECT_EQ(Manager->Sections[static_cast<size_t>(c->SkinData()->SkinIndex)].Props[0].Color, 0x0000FF);
  EXPECT_EQ(acMemSkinFile, nullptr);
  EXPECT_FALSE(Manager->UpdateLocked());
}

TEST_F(AppWindow, TwoRecordsBackToBackLoadTheLast) {
  Manager->SetSkinName("base");
  TLoggedWinControl* first = Control("FIRST");
  TLoggedWinControl* last = Control("LAST");
  const auto one = Record(SkinTextOf({{"BUTTON"}, {"FIRST"}}));
  const auto two = Record(SkinTextOf({{"BUTTON"}, {"LAST"}}));
  SendBlock(one.get(), sizeof *one);
  SendBlock(two.get(), sizeof *two);
  last->Log.clear();
  Application->ProcessMessages();
  EXPECT_EQ(first->SkinData()->SkinIndex, -1);
  EXPECT_GE(last->SkinData()->SkinIndex, 0);
  EXPECT_EQ(last->Count(ACMD_SKIN_LOADED), 2) << "the last record's skin, loaded twice";
}

TEST_F(AppWindow, BlocksThatAreNotAWholeRecordAreSwallowed) {
  Manager->SetSkinName("base");
  TLoggedWinControl* c = Control("BUTTON");
  const auto record = Record(SkinTextOf({{"BUTTON"}, {"EDITORONLY"}}));
  const struct {
    const char* Name;
    DWORD Size;
    WPARAM Tag;
    std::int32_t Magic;
  } cases[] = {
      {"100 bytes", 100, 7, ASE_MSG},
      {"one byte short", sizeof(TacEditorRecord) - 1, 7, ASE_MSG},
      {"another tag", sizeof(TacEditorRecord), 8, ASE_MSG},
      {"another magic", sizeof(TacEditorRecord), 7, 0xA401},
  };
  for (const auto& b : cases) {
    SCOPED_TRACE(b.Name);
    record->Magic = b.Magic;
    c->Log.clear();
    SendBlock(record.get(), b.Size, b.Tag);
    EXPECT_FALSE(EditorCommandQueued());
    Application->ProcessMessages();
    EXPECT_EQ(c->Count(ACMD_SKIN_LOADED), 0);
    EXPECT_FALSE(UnPackedFirst);
  }
  EXPECT_EQ(Manager->EditorRecord, nullptr);
}

TEST_F(AppWindow, TheEditorsStringsEndAtTheirFirstZeroOrTheirField) {
  TacEditorRecord r;
  std::memset(&r, 'x', sizeof r);
  EXPECT_EQ(EditorText(r.SkinName).size(), sizeof r.SkinName) << "no zero: the whole field";
  std::strcpy(r.SkinName, "Pulsar");
  EXPECT_EQ(EditorText(r.SkinName), "Pulsar");
}

TEST_F(AppWindow, ActivationRedrawsEveryForm) {
  TForm* second = NewForm("SecondForm", 320);
  TFreeAtEnd<TForm> freeSecond{second};
  TMessageCounter counter;
  SendMessageW(Application->Handle(), CM_ACTIVATE, 0, 0);
  EXPECT_EQ(counter.Commands(Form->Handle(), ACMD_REDRAW), 1);
  EXPECT_EQ(counter.Commands(second->Handle(), ACMD_REDRAW), 1);
}

TEST_F(AppWindow, SystemCommandsAreNotedOnlyWhileASkinIsActive) {
  Manager->SysCommandState = 9;
  TMessage minimize = MakeMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0, 0);
  EXPECT_FALSE(Manager->MainWindowHook(minimize));
  EXPECT_EQ(Manager->SysCommandState, 9) << "no skin: nothing is noted";
  Manager->SetSkinName("base");
  const struct {
    WPARAM Command;
    Byte State;
  } cases[] = {{SC_MINIMIZE, 2}, {SC_RESTORE, 1}, {SC_MOVE, 0}, {SC_MINIMIZE | 2, 2}};
  for (const auto& c : cases) {
    TMessage m = MakeMessage(WM_SYSCOMMAND, c.Command, 0, 0);
    EXPECT_FALSE(Manager->MainWindowHook(m)) << "without a main form the system acts";
    EXPECT_EQ(Manager->SysCommandState, c.State);
  }
}

TEST_F(AppWindow, TheMenuMessagesAreTakenOnlyWithSkinnedPopups) {
  for (UINT msg : {0xBCB3u, 0xBCB4u}) {
    TMessage m = MakeMessage(msg, 0, 0, 0);
    EXPECT_TRUE(Manager->MainWindowHook(m));
    Manager->SetSkinnedPopups(false);
    EXPECT_FALSE(Manager->MainWindowHook(m));
    Manager->SetSkinnedPopups(true);
  }
  TMessage theme = MakeMessage(WM_THEMECHANGED, 0, 0, 0);
  EXPECT_TRUE(Manager->MainWindowHook(theme));
}

TEST(Composition, AnInjectedAnswerTurnsItOn) {
  TDwmIsCompositionEnabled& fn = DwmIsCompositionEnabledFn();
  const TDwmIsCompositionEnabled system = fn;
  EXPECT_FALSE(AeroIsEnabled()) << "Wine composes nothing";
  fn = ComposingSystem;
  EXPECT_TRUE(AeroIsEnabled());
  fn = nullptr;
  EXPECT_FALSE(AeroIsEnabled()) << "no such function";
  fn = system;
}

// A main form without a form resource.
class TEmptyMainForm : public TForm {
  DK_CLASS(TEmptyMainForm, TForm)
 public:
  explicit TEmptyMainForm(TComponent* Owner) : TForm(Owner, 0) {}
};

// The end of the program hides the main form; an animation that never ends
// holds it up for a second at most.
TEST(ProgramEnd, TheWaitForTheHideAnimationGivesUpAfterASecond) {
  skintest::TSkinDir dir;
  dir.Folder("base", SkinTextOf({{"BUTTON"}}));
  TsSkinManager* m = skintest::NewManager(dir);
  m->SetSkinName("base");
  m->AnimEffects()->FormHide()->Active = true;
  m->AnimEffects()->FormHide()->Time = 100;
  TEmptyMainForm* main = nullptr;
  Application->CreateForm(main);
  main->SetBounds(50, 50, 200, 120);
  main->Show();
  auto* provider = Create<TsSkinProvider>(main);
  Application->Terminate();
  Application->ProcessMessages();
  ASSERT_TRUE(Application->Terminated());
  InAnimationProcess = true;
  WINDOWPOS pos{};
  pos.flags = SWP_HIDEWINDOW;
  TMessage hide = MakeMessage(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos), 0);
  const DWORD start = GetTickCount();
  EXPECT_FALSE(m->MainWindowHook(hide));
  const DWORD took = GetTickCount() - start;
  EXPECT_GE(took, 900u);
  EXPECT_LT(took, 5000u);
  EXPECT_TRUE(provider->Hiding);
  EXPECT_TRUE(provider->Layered);
  EXPECT_TRUE(GetWindowLongPtrW(main->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
  // Without a skinned picture of the form there is nothing to fade: the
  // form stays as it is until the program destroys it.
  EXPECT_TRUE(IsWindowVisible(main->Handle()));
  InAnimationProcess = false;
  m->Free();
}

}  // namespace

namespace {

// Minimize and restore of a skinned main form with a provider: the manager
// does them itself with the system's animation off (the composition's
// branches are reached by injecting its answer).
TEST(ProgramMinimize, TheManagerMinimizesAndRestoresWithoutTheSystemsAnimation) {
  skintest::TSkinDir dir;
  dir.Folder("base", SkinTextOf({{"BUTTON"}}));
  TsSkinManager* m = skintest::NewManager(dir);
  m->SetSkinName("base");
  TEmptyMainForm* main = nullptr;
  Application->CreateForm(main);
  main->SetBounds(50, 50, 200, 120);
  // Before the form shows: a shown form without one gets a provider of its own.
  auto* provider = Create<TsSkinProvider>(main);
  main->Show();
  const bool animation = acGetAnimation();

  TMessage minimize = MakeMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0, 0);
  EXPECT_TRUE(m->MainWindowHook(minimize)) << "without composition the manager minimizes";
  EXPECT_EQ(m->SysCommandState, 2);
  EXPECT_TRUE(provider->Hiding);
  EXPECT_TRUE(IsIconic(Application->Handle()));
  EXPECT_EQ(acGetAnimation(), animation) << "the system's setting comes back";

  TMessage restore = MakeMessage(WM_SYSCOMMAND, SC_RESTORE, 0, 0);
  EXPECT_TRUE(m->MainWindowHook(restore));
  EXPECT_EQ(m->SysCommandState, 1);
  EXPECT_FALSE(IsIconic(Application->Handle()));
  EXPECT_TRUE(IsWindowVisible(main->Handle()));

  TDwmIsCompositionEnabled& composition = DwmIsCompositionEnabledFn();
  const TDwmIsCompositionEnabled system = composition;
  composition = ComposingSystem;
  provider->Hiding = false;
  EXPECT_FALSE(m->MainWindowHook(minimize)) << "with composition the system minimizes";
  EXPECT_TRUE(provider->Hiding);
  EXPECT_FALSE(IsIconic(Application->Handle()));
  composition = system;
  m->Free();
}

}  // namespace
