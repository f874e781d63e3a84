// The skin state of a control (TsCommonData): which section it takes, its
// manager, its update and hot states, and how it answers the skin command
// (CommonMessage, CommonWndProc).
#include <gtest/gtest.h>

#include "SkinCoreSupport.h"
#include "skin/controls/sPanel.h"

namespace {

using namespace skincore;

// A skin whose sections the tests below take, loaded by a manager of its own
// onto a shown form.
class SkinState : public testing::Test {
 protected:
  void SetUp() override {
    Manager = skintest::LoadFolderSkin(
        Dir, "plain",
        SkinTextOf({{"EDIT"}, {"CHECKBOX"}, {"PANEL"}, {"SPEEDBUTTON"}, {"BUTTON", 0x00FF00}, {"BUTTON_SMALL"},
                    {"PANEL_LOW"}, {"HALF", 0x000000, 50}, {"CLEAR", 0x123456, 100}, {"SOLID", 0x0000FF, 0}}));
    ASSERT_TRUE(Manager->CommonSkinData.Active);
    Form = NewForm("StateForm");
  }
  void TearDown() override {
    if (Form) Form->Free();
    if (Manager) Manager->Free();
  }
  TLoggedWinControl* Win(Integer Kind, const AnsiString& Section = "", TWinControl* Parent = nullptr) {
    return NewControl<TLoggedWinControl>(Parent ? Parent : Form, Kind, Section);
  }
  // The command by Perform; the handler's answer goes to Result.
  static bool Send(TControl* C, TsCommonData* Data, Word Command, LPARAM LParam = 0, Word Low = 0,
                   LRESULT* Result = nullptr) {
    TMessage m = MakeMessage(SM_ALPHACMD, AlphaCmdParam(Command, Low), LParam, 0);
    const bool handled = CommonMessage(m, Data);
    (void)C;
    if (Result) *Result = m.Result;
    return handled;
  }

  skintest::TSkinDir Dir;
  TsSkinManager* Manager = nullptr;
  TForm* Form = nullptr;
};

TEST_F(SkinState, AnEmptySectionTakesTheSectionOfTheKindCode) {
  const struct {
    Integer Kind;
    const char* Section;
  } cases[] = {
      {7, "EDIT"}, {33, "CHECKBOX"}, {51, "PANEL"}, {92, "SPEEDBUTTON"}, {94, "BUTTON"},
      {9, "TLOGGEDWINCONTROL"},  // no section of its own: the owner's class name
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Kind);
    TLoggedWinControl* control = Win(c.Kind);
    EXPECT_EQ(control->SkinData()->SkinSection(), c.Section);
    EXPECT_EQ(control->SkinData()->SkinIndex, Manager->GetSkinIndex(c.Section));
  }
}

TEST_F(SkinState, TheSliderTakesTheFirstSectionItsSkinHasAndKeepsNoName) {
  TLoggedWinControl* slider = Win(34);
  EXPECT_EQ(slider->SkinData()->SkinSection(), "");
  EXPECT_EQ(slider->SkinData()->SkinIndex, Manager->GetSkinIndex("PANEL_LOW")) << "without SLIDER_OFF";
  Dir.Folder("slider", SkinTextOf({{"PANEL_LOW"}, {"SLIDER_OFF"}}));
  Manager->SetSkinName("slider");
  EXPECT_EQ(slider->SkinData()->SkinSection(), "");
  EXPECT_EQ(slider->SkinData()->SkinIndex, Manager->GetSkinIndex("SLIDER_OFF"));
  EXPECT_GE(slider->SkinData()->SkinIndex, 0);
}

TEST_F(SkinState, ASectionIsStoredInCapitalsAndLookedUpAgainOnlyWhenTheNameDiffers) {
  TsCommonData* data = Win(9, "SOLID")->SkinData();
  data->SetSkinSection("button");
  EXPECT_EQ(data->SkinSection(), "BUTTON");
  EXPECT_EQ(data->SkinIndex, Manager->GetSkinIndex("BUTTON"));
  data->BGChanged = false;
  data->SetSkinSection("BUTTON");
  EXPECT_FALSE(data->BGChanged) << "the same name: nothing happens";
  data->SetSkinSection("button");
  EXPECT_TRUE(data->BGChanged) << "the comparison is exact: a name in lower case is looked up again";
  data->SetSkinSection("NO_SUCH_SECTION");
  EXPECT_EQ(data->SkinIndex, -1);
  EXPECT_FALSE(data->Skinned());
}

TEST_F(SkinState, TheDefaultManagerIsNeverStoredAndAFreedManagerIsForgotten) {
  TsCommonData* data = Win(94)->SkinData();
  ASSERT_EQ(DefaultManager, Manager);
  data->SetSkinManager(Manager);
  EXPECT_EQ(data->SkinManager(), nullptr);
  EXPECT_FALSE(data->ManagerStored());
  EXPECT_EQ(data->GetSkinManager(), Manager);

  TsSkinManager* other = skintest::LoadFolderSkin(Dir, "other", SkinTextOf({{"BUTTON"}, {"EXTRA"}}));
  data->SetSkinManager(other);
  EXPECT_EQ(data->SkinManager(), other);
  EXPECT_TRUE(data->ManagerStored());
  data->SetSkinSection("EXTRA");
  EXPECT_TRUE(data->Skinned());
  other->Free();
  // Its own manager went: the state holds no freed one and is not skinned
  // (without any exception to catch).
  EXPECT_EQ(data->SkinManager(), nullptr);
  EXPECT_EQ(data->GetSkinManager(), Manager);
  EXPECT_EQ(data->SkinIndex, -1);
  EXPECT_FALSE(data->Skinned());
}

TEST_F(SkinState, UpdatesNestButTheFirstEndEndsThem) {
  TLoggedWinControl* control = Win(94);
  TsCommonData* data = control->SkinData();
  data->BeginUpdate();
  data->BeginUpdate();
  EXPECT_TRUE(data->Updating);
  data->EndUpdate(false);
  EXPECT_EQ(data->UpdateCount, 1);
  EXPECT_FALSE(data->Updating);
  EXPECT_EQ(control->Count(ACMD_UPDATE_BEGIN), 2);
  EXPECT_EQ(control->Count(ACMD_UPDATE_END), 1);
}

TEST_F(SkinState, APanelThatHoldsTheFocusWindowIsNotHot) {
  auto* panel = Create<TsPanel>(Form);
  panel->SetBounds(10, 50, 100, 40);
  panel->SetParent(Form);
  TLoggedWinControl* edit = Win(3, "EDIT");
  ::SetFocus(panel->Handle());
  ASSERT_EQ(GetFocus(), panel->Handle());
  EXPECT_FALSE(ControlIsActive(panel->SkinData())) << "panels are left out";
  panel->SkinData()->Focused = true;
  EXPECT_TRUE(ControlIsActive(panel->SkinData())) << "the focus flag counts";
  ::SetFocus(edit->Handle());
  EXPECT_TRUE(ControlIsActive(edit->SkinData()));
  edit->SetEnabled(false);
  EXPECT_FALSE(ControlIsActive(edit->SkinData())) << "a disabled control is never hot";
}

TEST_F(SkinState, ContainersDecideTheirPlainBackgroundFromTheirParent) {
  // A 100 % transparent container on a skinned parent takes the parent's
  // state; on a parent without a window it stays undecided.
  TLoggedWinControl* parent = Win(9, "SOLID");
  auto* panel = Create<TsPanel>(Form);
  panel->SkinData()->SetSkinSection("CLEAR");
  panel->SetParent(parent);
  panel->SkinData()->Loaded();
  EXPECT_EQ(GetPlainState(panel->SkinData()), 2) << "the parent answers its own state, not decided yet";
  auto* holder = Create<TsPanel>(Form);
  auto* loose = Create<TsPanel>(Form);
  loose->SetParent(holder);
  TLoggedWinControl* inner = Win(94, "BUTTON", loose);
  loose->SkinData()->SetSkinSection("CLEAR");
  inner->Log.clear();
  UpdateSkinState(loose->SkinData(), true);
  EXPECT_EQ(loose->SkinData()->StateFlags, 2) << "a parent without a window: undecided";
  EXPECT_EQ(inner->Count(ACMD_SKIN_STATE), 0) << "and the children are not told";
  panel->SkinData()->SetSkinSection("SOLID");
  UpdateSkinState(panel->SkinData(), false);
  EXPECT_EQ(panel->SkinData()->StateFlags & 3, 1) << "an opaque plain section: plain";
  EXPECT_TRUE(IsCached(Win(94, "BUTTON")->SkinData())) << "an opaque button paints its own background";
}

// ------------------------------------------------------------- CommonMessage

TEST_F(SkinState, CommonMessageAnswersItsCommands) {
  TLoggedWinControl* c = Win(94, "BUTTON");
  TsCommonData* s = c->SkinData();
  LRESULT r = -1;

  EXPECT_TRUE(Send(c, s, ACMD_QUERY_HOOKED, 0, 0, &r));
  EXPECT_EQ(r, 1);

  s->Updating = true;
  Send(c, s, ACMD_SET_UPDATE_FLAG, 0, 2);
  EXPECT_FALSE(s->Updating) << "low word 2 clears";
  Send(c, s, ACMD_SET_UPDATE_FLAG, 0, 1);
  EXPECT_TRUE(s->Updating) << "low word 1 sets";

  EXPECT_TRUE(Send(c, s, ACMD_ASSIGN_SECTION, 0, 0, &r));
  EXPECT_EQ(r, 0);
  EXPECT_EQ(s->SkinSection(), "BUTTON") << "no record: nothing changes";
  TacSectionInfo info{-1, "edit"};
  Send(c, s, ACMD_ASSIGN_SECTION, reinterpret_cast<LPARAM>(&info), 0, &r);
  EXPECT_EQ(r, 1);
  EXPECT_EQ(s->SkinSection(), "EDIT");

  Integer index = -7;
  Send(c, s, ACMD_QUERY_SKIN_INDEX, reinterpret_cast<LPARAM>(&index));
  EXPECT_EQ(index, Manager->GetSkinIndex("EDIT"));
  Send(c, s, ACMD_QUERY_COMMON_DATA, 0, 0, &r);
  EXPECT_EQ(r, reinterpret_cast<LRESULT>(s));
  TRect bounds;
  Send(c, s, ACMD_QUERY_BOUNDS, reinterpret_cast<LPARAM>(&bounds));
  EXPECT_EQ(bounds, c->BoundsRect());
  Send(c, s, ACMD_QUERY_APPLICATION, 0, 0, &r);
  EXPECT_EQ(r, reinterpret_cast<LRESULT>(Application));

  EXPECT_FALSE(Send(c, s, 9)) << "9 is not a command";
  EXPECT_FALSE(Send(c, nullptr, ACMD_QUERY_HOOKED)) << "no skin state";
  TMessage other = MakeMessage(WM_NULL, 0, 0, 0);
  EXPECT_FALSE(CommonMessage(other, s));
}

TEST_F(SkinState, ASectionChangeRepaintsOnlyTheControlsOfThatSection) {
  TLoggedWinControl* button = Win(94, "button");
  TLoggedWinControl* small = Win(94, "BUTTON_SMALL");
  button->SkinData()->BGChanged = small->SkinData()->BGChanged = false;
  const AnsiString name = "BUTTON";
  Send(button, button->SkinData(), ACMD_SECTION_CHANGED, reinterpret_cast<LPARAM>(name.c_str()));
  Send(small, small->SkinData(), ACMD_SECTION_CHANGED, reinterpret_cast<LPARAM>(name.c_str()));
  EXPECT_TRUE(button->SkinData()->BGChanged);
  EXPECT_FALSE(small->SkinData()->BGChanged);
}

TEST_F(SkinState, TheColourForChildrenMixesTheParentsByTheTransparency) {
  TLoggedWinControl* parent = Win(9, "SOLID");
  const struct {
    const char* Section;
    LRESULT ParentAnswer;
    LRESULT Expected;
  } cases[] = {
      {"HALF", 0x00FFFFFF, 0x007F7F7F},   // 127.5 truncated
      {"HALF", 0x05FFFFFF, 0x057F7F7F},   // the parent's top byte stays
      {"SOLID", 0x00FFFFFF, 0x000000FF},  // opaque: the section's colour
      {"CLEAR", 0x00ABCDEF, 0x00ABCDEF},  // transparent: the parent's answer
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Section);
    parent->Answers[ACMD_QUERY_COLOR] = c.ParentAnswer;
    parent->Answers[ACMD_QUERY_HOOKED] = 1;
    TLoggedWinControl* child = Win(9, c.Section, parent);
    LRESULT r = -1;
    Send(child, child->SkinData(), ACMD_QUERY_COLOR, 0, 0, &r);
    EXPECT_EQ(r, c.Expected);
  }
  TLoggedWinControl* plain = Win(9, "NO_SUCH_SECTION");
  plain->SetColor(clBtnFace);
  LRESULT r = -1;
  Send(plain, plain->SkinData(), ACMD_QUERY_COLOR, 0, 0, &r);
  EXPECT_EQ(r, ColorToRGB(clBtnFace)) << "not skinned: its own colour";
}

TEST_F(SkinState, AFreshControlAnswersItsUndecidedStateAndIgnoresOtherManagers) {
  TLoggedWinControl* c = Win(94, "BUTTON");
  LRESULT r = -1;
  Send(c, c->SkinData(), ACMD_SKIN_STATE, 0, 0, &r);
  EXPECT_EQ(r, 2);

  TsSkinManager* other = skintest::NewManager(Dir);
  TFreeAtEnd<TsSkinManager> freeOther{other};
  TsCommonData* s = c->SkinData();
  s->BGChanged = false;
  s->Updating = true;
  const Integer index = s->SkinIndex;
  EXPECT_TRUE(Send(c, s, ACMD_SKIN_REPAINT, reinterpret_cast<LPARAM>(other)));
  EXPECT_TRUE(Send(c, s, ACMD_SKIN_LOADED, reinterpret_cast<LPARAM>(other)));
  EXPECT_TRUE(Send(c, s, ACMD_SKIN_UNLOADED, reinterpret_cast<LPARAM>(other)));
  EXPECT_FALSE(s->BGChanged);
  EXPECT_TRUE(s->Updating);
  EXPECT_EQ(s->SkinIndex, index) << "another manager's commands change nothing";
  Send(c, s, ACMD_SKIN_REPAINT, reinterpret_cast<LPARAM>(Manager));
  EXPECT_TRUE(s->BGChanged);
  EXPECT_FALSE(s->Updating);
  Send(c, s, ACMD_SKIN_UNLOADED, reinterpret_cast<LPARAM>(Manager));
  EXPECT_EQ(s->SkinIndex, -1);
  EXPECT_TRUE(s->Updating);
}

TEST_F(SkinState, CommonWndProcLeavesWindowMessagesToTheControl) {
  TLoggedWinControl* c = Win(94, "BUTTON");
  TMessage size = MakeMessage(WM_SIZE, 0, MAKELPARAM(80, 25), 0);
  c->SkinData()->BGChanged = false;
  EXPECT_FALSE(CommonWndProc(size, c->SkinData())) << "the control still does its own resizing";
  EXPECT_TRUE(c->SkinData()->BGChanged);
  TMessage hooked = MakeMessage(SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_HOOKED), 0, 0);
  EXPECT_TRUE(CommonWndProc(hooked, c->SkinData()));
  EXPECT_EQ(hooked.Result, 1);
  EXPECT_EQ(SendMessageW(c->Handle(), SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_HOOKED), 0), 1)
      << "the answer comes back through the window";
}

}  // namespace

namespace {

using namespace skincore;

class SkinStateCommands : public testing::Test {
 protected:
  void SetUp() override {
    Manager = skintest::LoadFolderSkin(
        Dir, "plain",
        SkinTextOf({{"BUTTON"}, {"PANEL", 0xE0E0E0, 0}, {"HALF", 0, 50},
                    {"EDIT", 0xFFFFFF, 0, "FONTCOLOR=0\r\nHOTCOLOR=65535\r\nHOTFONTCOLOR=255\r\nSTATES=2\r\n"}}));
    Form = NewForm("CommandsForm");
  }
  void TearDown() override {
    Form->Free();
    Manager->Free();
  }
  static LRESULT Perform(TControl* C, Word Command, LPARAM LParam = 0, Word Low = 0) {
    return C->Perform(SM_ALPHACMD, AlphaCmdParam(Command, Low), LParam);
  }
  skintest::TSkinDir Dir;
  TsSkinManager* Manager = nullptr;
  TForm* Form = nullptr;
};

TEST_F(SkinStateCommands, CachesFlagsAndPrinting) {
  // A transparent control on a skinned one, whose children's background moves with them.
  auto* outer = NewControl<TLoggedWinControl>(Form, 9, "BUTTON", TRect{0, 0, 240, 150});
  auto* parent = NewControl<TLoggedWinControl>(outer, 9, "HALF", TRect{10, 10, 200, 120});
  auto* child = NewControl<TLoggedWinControl>(parent, 94, "BUTTON", TRect{5, 5, 60, 30});
  TsCommonData* s = parent->SkinData();
  InitCacheBmp(outer->SkinData());  // the outer control's image is ready: nothing to wait for there
  InitCacheBmp(s);
  EXPECT_EQ(BitmapWidth(s->CacheBmp.get()), 190);
  EXPECT_EQ(BitmapHeight(s->CacheBmp.get()), 110);
  EXPECT_EQ(Perform(parent, ACMD_QUERY_PAINT_WAIT), 0) << "a cache of the control's size: no wait";
  s->Updating = true;
  EXPECT_EQ(Perform(parent, ACMD_QUERY_PAINT_WAIT), 1) << "updating: wait";
  s->Updating = false;
  child->Log.clear();
  Perform(parent, ACMD_FREE_CACHE);
  EXPECT_EQ(BitmapWidth(s->CacheBmp.get()), 0) << "the cache is emptied";
  EXPECT_TRUE(s->BGChanged);
  EXPECT_EQ(child->Count(ACMD_FREE_CACHE), 1) << "and the children's";
  parent->Log.clear();
  EXPECT_EQ(Perform(parent, ACMD_QUERY_PAINT_WAIT), 1) << "an empty cache: built first, still empty here";
  EXPECT_EQ(parent->Count(ACMD_BUILD_CACHE), 1);
  EXPECT_FALSE(s->BGChanged) << "command 23 says the cache is built";

  s->OutOfParent = false;
  EXPECT_EQ(Perform(parent, ACMD_QUERY_OFFSCREEN), 0);
  Perform(parent, ACMD_FLAG_OFFSCREEN);
  EXPECT_EQ(Perform(parent, ACMD_QUERY_OFFSCREEN), 1);
  s->BGChanged = false;
  Perform(parent, ACMD_FLAG_BG_CHANGED);
  EXPECT_TRUE(s->BGChanged);

  HDC dc = GetDC(nullptr);
  Perform(parent, ACMD_PRINT_MODE, reinterpret_cast<LPARAM>(dc));
  EXPECT_TRUE(s->StateFlags & 0x200);
  EXPECT_EQ(s->PrintDC, dc);
  Perform(parent, ACMD_PRINT_MODE, 0);
  EXPECT_FALSE(s->StateFlags & 0x200);
  ReleaseDC(nullptr, dc);

  child->Log.clear();
  Perform(parent, ACMD_FRAME_CHANGED);
  EXPECT_EQ(child->Count(ACMD_FRAME_CHANGED), 1) << "the frame change goes on to the children";
  child->Log.clear();
  Perform(parent, ACMD_REPAINT_IF_MOVED);
  EXPECT_EQ(child->Count(ACMD_REPAINT_IF_MOVED), 1) << "a transparent parent moved: its children repaint";
  outer->Answers[ACMD_QUERY_CHILD_BG_VARIES] = 0;
  child->Log.clear();
  Perform(parent, ACMD_REPAINT_IF_MOVED);
  EXPECT_EQ(child->Count(ACMD_REPAINT_IF_MOVED), 0) << "a background that does not vary: nothing to repaint";
}

TEST_F(SkinStateCommands, AControlWithOuterEffectsTellsItsParentWhenItMovesOrSizes) {
  auto* parent = NewControl<TLoggedWinControl>(Form, 9, "PANEL", TRect{0, 0, 200, 120});
  auto* c = NewControl<TLoggedWinControl>(parent, 94, "BUTTON", TRect{10, 10, 80, 40});
  parent->HandleNeeded();
  InitCacheBmp(parent->SkinData());
  const struct {
    UINT Msg;
    TacOuterVisibility Visibility;
    int Told;
  } cases[] = {{WM_MOVE, ovNone, 0}, {WM_MOVE, ovAlways, 1}, {WM_SIZE, ovNone, 0}, {WM_SIZE, ovAlways, 1}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.Msg);
    c->SkinData()->OuterEffects->SetVisibility(k.Visibility);
    parent->Log.clear();
    c->Perform(k.Msg, 0, 0);
    EXPECT_EQ(parent->Count(ACMD_FLAG_BG_CHANGED), k.Told);
    EXPECT_EQ(parent->Count(ACMD_BUILD_CACHE), k.Told);
  }
}

TEST_F(SkinStateCommands, HoverAndFocusTakeTheHotLookOfEdits) {
  auto* edit = NewControl<TLoggedWinControl>(Form, 3, "EDIT");
  auto* other = NewControl<TLoggedWinControl>(Form, 94, "BUTTON", TRect{10, 50, 90, 75});
  edit->SetTabStop(true);
  TsCommonData* s = edit->SkinData();
  ApplySkinColors(s, false);
  EXPECT_EQ(edit->Color(), 0xFFFFFF) << "an edit takes its section's colours";
  EXPECT_EQ(edit->Font()->Color(), 0);

  edit->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_TRUE(s->MouseAbove);
  EXPECT_EQ(Manager->ActiveControl(), edit->Handle());
  EXPECT_EQ(edit->Count(ACMD_HOVER_ENTER), 1);
  EXPECT_EQ(edit->Color(), 65535) << "the hot look";
  EXPECT_EQ(edit->Font()->Color(), 255);
  EXPECT_TRUE(ControlIsActive(s));
  edit->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(s->MouseAbove);
  EXPECT_EQ(edit->Color(), 0xFFFFFF) << "the normal look again";

  ::SetFocus(edit->Handle());
  EXPECT_TRUE(s->Focused);
  EXPECT_EQ(edit->Color(), 65535);
  ::SetFocus(other->Handle());
  EXPECT_FALSE(s->Focused);
  EXPECT_EQ(edit->Color(), 0xFFFFFF);

  s->SetCustomColor(true);
  edit->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(edit->Color(), 0xFFFFFF) << "a custom colour stays";
  EXPECT_EQ(edit->Font()->Color(), 255);
  edit->Perform(CM_MOUSELEAVE, 0, 0);

  Manager->Options()->SetNoMouseHover(true);
  edit->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_FALSE(s->MouseAbove) << "no hover while the option says so";
  Manager->Options()->SetNoMouseHover(false);
  auto* panel = NewControl<TLoggedWinControl>(Form, 51, "PANEL", TRect{10, 80, 90, 110});
  panel->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_FALSE(panel->SkinData()->MouseAbove) << "the mouse never makes a panel hot";
}

}  // namespace
