// The window-creation hook with the fixture skin: system dialogs made from
// templates and message boxes get the skinned frame and their children the
// subclass objects of their classes; forms without a provider get one; the
// windows the hook must leave alone keep the system look; nothing leaks over
// many boxes.
#include <gtest/gtest.h>

#include "DialogHookSupport.h"
#include "classlib/core/Cp1251.h"
#include "classlib/ui/Dialogs.h"
#include "skin/core/sConst.h"
#include "skin/core/sStyleSimply.h"
#include "skin/core/sVclUtils.h"

using namespace skinforms;
using namespace skinhook;

namespace {

class DialogHookTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    Skins = new TFixtureSkins;
    Manager = Create<TsSkinManager>(nullptr);
    Manager->SetSkinDirectory(skintest::Ansi(Skins->Path()));
  }
  static void TearDownTestSuite() {
    if (Manager) Manager->Free();
    Manager = nullptr;
    delete Skins;
  }
  void SetUp() override {
    if (Manager->SkinName() != "Fixture") Manager->SetSkinName("Fixture");
    ASSERT_TRUE(Manager->CommonSkinData.Active);
    ASSERT_NE(HookCallback, nullptr);
    Manager->SetSkinningRules(TacSkinningRules{srStdForms, srStdDialogs, srThirdParty});
  }
  void TearDown() override {
    for (HWND d : Dialogs)
      if (IsWindow(d)) DestroyWindow(d);
    Dialogs.clear();
    for (TForm* f : Forms) f->Free();
    Forms.clear();
    Sweep();
  }
  // Destroys a window of its own: the hook frees the providers of dialogs
  // destroyed before.
  static void Sweep() {
    HWND w = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(w);
  }
  HWND Show(const TDialogTemplate& T, int X = 40, int Y = 40) {
    HWND d = ShowDialog(T, X, Y);
    Dialogs.push_back(d);
    return d;
  }
  TForm* NewForm(const AnsiString& Caption, NativeInt Tag = 0) {
    auto* f = Create<TForm>(Application, 0);
    f->SetCaption(Caption);
    f->SetTag(Tag);
    f->SetBounds(80, 80, 240, 160);
    Forms.push_back(f);
    return f;
  }
  static inline TFixtureSkins* Skins = nullptr;
  static inline TsSkinManager* Manager = nullptr;
  std::vector<HWND> Dialogs;
  std::vector<TForm*> Forms;
};

const DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

// A small dialog with one button (and a tool bar when asked).
TDialogTemplate SmallDialog(bool WithToolbar = false) {
  std::vector<TItem> items{{0x80, nullptr, BS_PUSHBUTTON, 10, 10, 50, 14, 1, L"OK"}};
  if (WithToolbar) items.push_back({0, L"ToolbarWindow32", 0, 0, 0, 100, 20, 2});
  return TDialogTemplate(kDialogStyle, 120, 60, L"Small", items);
}

// The template of the done-when list: every kind of child the class table
// names, with the class of the object each one gets ("" none).
struct TChild {
  TItem Item;
  const char* Expected;
};
const TChild kChildren[] = {
    {{0x82, nullptr, SS_LEFT, 4, 4, 60, 10, 101, L"Text"}, "TacStaticWnd"},
    {{0x82, nullptr, SS_ICON, 70, 4, 20, 20, 102}, "TacIconWnd"},
    {{0x82, nullptr, SS_OWNERDRAW, 100, 4, 20, 10, 103}, ""},
    {{0x82, nullptr, SS_GRAYRECT, 130, 4, 20, 10, 104}, ""},
    {{0x80, nullptr, BS_DEFPUSHBUTTON, 4, 30, 50, 14, IDOK, L"OK"}, "TacBtnWnd"},
    {{0x80, nullptr, BS_PUSHBUTTON, 60, 30, 50, 14, IDCANCEL, L"Cancel"}, "TacBtnWnd"},
    {{0x80, nullptr, BS_AUTOCHECKBOX, 4, 50, 60, 10, 105, L"Check"}, "TacCheckBoxWnd"},
    {{0x80, nullptr, BS_AUTO3STATE, 70, 50, 60, 10, 106, L"Three"}, "TacCheckBoxWnd"},
    {{0x80, nullptr, BS_AUTORADIOBUTTON, 140, 50, 60, 10, 107, L"Radio"}, "TacCheckBoxWnd"},
    {{0x80, nullptr, BS_GROUPBOX, 4, 64, 200, 30, 108, L"Group"}, "TacGroupBoxWnd"},
    {{0x81, nullptr, WS_BORDER, 4, 100, 80, 12, 109}, "TacEditWnd"},
    {{0x85, nullptr, CBS_DROPDOWNLIST | WS_VSCROLL, 90, 100, 80, 60, 110}, "TacComboBoxWnd"},
    {{0x83, nullptr, WS_BORDER | WS_VSCROLL, 4, 118, 80, 40, 111}, "TacEditWnd"},
    {{0x84, nullptr, SBS_SIZEGRIP, 200, 150, 10, 10, 112}, "TacSizerWnd"},
    {{0x84, nullptr, SBS_HORZ, 90, 130, 80, 10, 113}, ""},
    {{0, L"SysTreeView32", WS_BORDER, 120, 4, 80, 40, 114}, "TacTreeViewWnd"},
};

TDialogTemplate FullDialog() {
  std::vector<TItem> items;
  for (const TChild& c : kChildren) items.push_back(c.Item);
  return TDialogTemplate(kDialogStyle, 220, 170, L"Full", items);
}

TEST_F(DialogHookTest, ATemplateDialogGetsTheFrameAndEachChildTheObjectOfItsClass) {
  HWND dlg = Show(FullDialog());
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(SubclassClass(dlg), "TacDialogWnd");
  EXPECT_FALSE(GetWindowLongPtrW(dlg, GWL_STYLE) & WS_SYSMENU) << "the system draws no buttons of its own";
  auto* frame = static_cast<TacDialogWnd*>(GetSubclassObject(dlg));
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->SavedStyle & WS_SYSMENU) << "the frame still knows it";
  EXPECT_EQ(frame->BorderStyle, acbsDialog);
  for (const TChild& c : kChildren) {
    HWND child = GetDlgItem(dlg, c.Item.Id);
    ASSERT_NE(child, nullptr) << c.Item.Id;
    EXPECT_EQ(SubclassClass(child), c.Expected) << "control " << c.Item.Id;
  }
  TacProvider* provider = ProviderOf(dlg);
  ASSERT_NE(provider, nullptr);
  const size_t taken = provider->Controls.size();
  EXPECT_TRUE(provider->InitHwndControls(dlg));
  EXPECT_EQ(provider->Controls.size(), taken) << "a second walk adds nothing";
}

TEST_F(DialogHookTest, AChildDialogIsNotTakenByTheHook) {
  HWND parent = Show(SmallDialog());
  TDialogTemplate childTemplate(WS_CHILD | WS_VISIBLE | DS_CONTROL, 60, 30, L"", {});
  HWND child = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), childTemplate.Get(), parent, PlainDialogProc, 0);
  ASSERT_NE(child, nullptr);
  EXPECT_FALSE(AddSupportedForm(child));
  EXPECT_EQ(ProviderOf(child), nullptr);
}

// The caption of a skinned box on screen: the fixture's title colour next to
// the close button.
struct TBoxLook {
  AnsiString Frame;
  int Children = 0, ChildrenTaken = 0;
  TRect Close, Min, Max;
  int CloseImage = -1;
  LRESULT HitClose = 0;
  std::uint32_t TitlePixel = 0;
  LONG_PTR Style = 0;
};

TBoxLook LookAt(HWND Box) {
  TBoxLook look;
  look.Frame = SubclassClass(Box);
  look.Style = GetWindowLongPtrW(Box, GWL_STYLE);
  for (HWND c = GetWindow(Box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    ++look.Children;
    if (GetSubclassObject(c)) ++look.ChildrenTaken;
  }
  if (auto* frame = dynamic_cast<TacDialogWnd*>(GetSubclassObject(Box))) {
    look.Close = frame->ButtonClose.Rect;
    look.Min = frame->ButtonMin.Rect;
    look.Max = frame->ButtonMax.Rect;
    look.CloseImage = frame->ButtonClose.ImageIndex;
    RECT w{};
    GetWindowRect(Box, &w);
    const TRect& c = look.Close;
    look.HitClose = SendMessageW(Box, WM_NCHITTEST, 0,
                                 MAKELPARAM(w.left + (c.Left + c.Right) / 2, w.top + (c.Top + c.Bottom) / 2));
    look.TitlePixel = ScreenPixel(w.left + c.Right + 2, w.top + (c.Top + c.Bottom) / 2);
  }
  return look;
}

TEST_F(DialogHookTest, AMessageBoxOfTheApplicationIsSkinned) {
  TBoxLook look;
  const bool looked = TBoxRun::Run([] { Application->MessageBox("Сохранить изменения?"_cp, "Вопрос"_cp, MB_YESNO | MB_ICONQUESTION); },
                                   [&](HWND Box) {
                                     look = LookAt(Box);
                                     testsupport::Screenshot(Box, "skinned_question_box");
                                   });
  ASSERT_TRUE(looked);
  EXPECT_EQ(look.Frame, "TacDialogWnd");
  EXPECT_FALSE(look.Style & WS_SYSMENU);
  EXPECT_GT(look.Children, 0);
  EXPECT_EQ(look.CloseImage, Manager->ConstData.TitleIcons[tiSIconClose]) << "the small close glyph";
  EXPECT_EQ(look.Close.Width(), kSmallW);
  EXPECT_EQ(look.Min.Width(), 0) << "one button only";
  EXPECT_EQ(look.Max.Width(), 0);
  EXPECT_EQ(look.HitClose, HTCLOSE);
  EXPECT_EQ(look.TitlePixel, kTitleColor);
}

TEST_F(DialogHookTest, WithTwoSkinnedDialogsShownAThirdBoxKeepsTheSystemLook) {
  Show(SmallDialog(), 20, 20);
  Show(SmallDialog(), 200, 20);
  ASSERT_EQ(SubclassClass(Dialogs[0]), "TacDialogWnd");
  ASSERT_EQ(SubclassClass(Dialogs[1]), "TacDialogWnd");
  AnsiString third = "?";
  ASSERT_TRUE(TBoxRun::Run([] { Application->MessageBox("Третий"_cp, "Box", MB_OK); },
                           [&](HWND Box) { third = SubclassClass(Box); }));
  EXPECT_EQ(third, "");
  HWND withBar = Show(SmallDialog(true), 20, 200);
  EXPECT_EQ(SubclassClass(withBar), "TacDialogWnd") << "a dialog with a tool bar is skinned anyway";
}

TEST_F(DialogHookTest, AnApplicationHandlerMayVetoADialog) {
  struct TVeto : TObject {
    int Calls = 0;
    void Handler(TacSysDlgData& Data, bool& Allow) {
      ++Calls;
      Allow = !Data.WindowHandle;
    }
  } veto;
  Manager->OnSysDlgInit = TacSysDlgInit(&veto, &TVeto::Handler);
  HWND dlg = Show(SmallDialog());
  Manager->OnSysDlgInit = nullptr;
  EXPECT_GE(veto.Calls, 1);
  EXPECT_EQ(SubclassClass(dlg), "");
}

// Forms: a form without a provider gets one when it is activated, under the
// rules; the skin library's own windows and marked forms never.
TEST_F(DialogHookTest, AFormWithoutProviderAnswersTheProviderQueryOnceShown) {
  TForm* f = NewForm("Без провайдера"_cp);
  f->Show();
  testsupport::PumpMessages(60);
  EXPECT_NE(SendAMessage(f->WindowHandle(), ACMD_QUERY_PROVIDER), 0);
  TForm* marked = NewForm("Свой"_cp, 0x100);
  marked->Show();
  testsupport::PumpMessages(60);
  EXPECT_EQ(SendAMessage(marked->WindowHandle(), ACMD_QUERY_PROVIDER), 0) << "Tag bit 0x100";
  HWND util = AllocateHWnd(TWndMethod());
  EXPECT_FALSE(AddSupportedForm(util)) << "TPUtilWindow";
  DeallocateHWnd(util);
}

LRESULT* MessageFormAnswer = nullptr;

LRESULT CALLBACK AskMessageForm(int Code, WPARAM W, LPARAM L) {
  // This hook runs before the manager's: the form is taken at its
  // activation and asked before it is destroyed.
  HWND wnd = reinterpret_cast<HWND>(W);
  wchar_t cls[32] = {};
  if (Code == HCBT_ACTIVATE || Code == HCBT_DESTROYWND) GetClassNameW(wnd, cls, 32);
  if (wcscmp(cls, L"TMessageForm") == 0) {
    if (Code == HCBT_ACTIVATE) PostMessageW(wnd, WM_CLOSE, 0, 0);
    if (Code == HCBT_DESTROYWND) *MessageFormAnswer = SendAMessage(wnd, ACMD_QUERY_PROVIDER);
  }
  return CallNextHookEx(nullptr, Code, W, L);
}

TEST_F(DialogHookTest, MessageFormsFollowTheDialogRuleAndOtherFormsTheFormRule) {
  Manager->SetSkinningRules(TacSkinningRules{srStdDialogs});
  LRESULT messageForm = 0;
  {
    MessageFormAnswer = &messageForm;
    HHOOK hook = SetWindowsHookExW(WH_CBT, AskMessageForm, nullptr, GetCurrentThreadId());
    MessageDlg("Сообщение"_cp, mtInformation, TMsgDlgButtons{mbOK}, 0);
    UnhookWindowsHookEx(hook);
  }
  EXPECT_NE(messageForm, 0) << "TMessageForm with srStdDialogs";
  TForm* f = NewForm("Форма"_cp);
  f->Show();
  testsupport::PumpMessages(60);
  EXPECT_EQ(SendAMessage(f->WindowHandle(), ACMD_QUERY_PROVIDER), 0) << "srStdForms is off";
}

TEST_F(DialogHookTest, FiftyMessageBoxesLeaveNoGdiObjectsOrProvidersBehind) {
  // One box first: the system's one-time objects of message boxes.
  TBoxRun::Run([] { Application->MessageBox("0", "Box", MB_OK); }, nullptr);
  Sweep();
  const int live = acLiveProviders();
  const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  int looked = 0;
  for (int i = 0; i < 50; ++i)
    TBoxRun::Run([] { Application->MessageBox("Ещё раз?"_cp, "Box", MB_YESNO); },
                 [&](HWND Box) { looked += SubclassClass(Box) == "TacDialogWnd"; });
  Sweep();
  EXPECT_EQ(looked, 50);
  EXPECT_EQ(acLiveProviders(), live);
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi + 2);
}

// The frame keeps one brush for the dialog background, a new one after a
// skin change, and none after it is gone.
TEST_F(DialogHookTest, TheDialogBackgroundBrushIsOnePerFrame) {
  HWND dlg = Show(SmallDialog());
  auto* frame = static_cast<TacDialogWnd*>(GetSubclassObject(dlg));
  ASSERT_NE(frame, nullptr);
  HDC dc = GetDC(dlg);
  const LRESULT first = SendMessageW(dlg, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dlg));
  const LRESULT again = SendMessageW(dlg, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dlg));
  ReleaseDC(dlg, dc);
  EXPECT_NE(first, 0);
  EXPECT_EQ(first, again);
  const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  for (int i = 0; i < 20; ++i) SendMessageW(dlg, WM_CTLCOLORDLG, 0, reinterpret_cast<LPARAM>(dlg));
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi);
  SendMessageW(dlg, SM_ALPHACMD, AlphaCmdParam(ACMD_SKIN_LOADED), reinterpret_cast<LPARAM>(Manager));
  EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(first)), 0u) << "the old brush is deleted";
}

// A detached frame is freed only after its window is gone, never inside its
// own destruction.
TEST_F(DialogHookTest, TheProviderOfADestroyedDialogGoesAtTheNextSweep) {
  HWND dlg = Show(SmallDialog());
  ASSERT_NE(ProviderOf(dlg), nullptr);
  const int live = acLiveProviders();
  DestroyWindow(dlg);
  EXPECT_FALSE(IsWindow(dlg));
  Sweep();
  EXPECT_EQ(acLiveProviders(), live - 1);
  EXPECT_EQ(ProviderOf(dlg), nullptr);
}

}  // namespace
