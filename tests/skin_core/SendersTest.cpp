// Sending the skin command to controls and windows, and broadcasting it to a
// tree of controls.
#include <gtest/gtest.h>

#include "SkinCoreSupport.h"
#include "classlib/ui/ExtCtrls.h"
#include "skin/core/Sthirdparty.h"
#include "skin/core/sVclUtils.h"

namespace {

using namespace skincore;

class Senders : public testing::Test {
 protected:
  void SetUp() override { Form = NewForm("SendersForm"); }
  void TearDown() override { Form->Free(); }
  TForm* Form = nullptr;
};

TEST_F(Senders, AControlWithoutWindowIsNotMadeOneToHearACommand) {
  auto* c = Create<TLoggedWinControl>(Form);  // not placed: it has no window yet
  ASSERT_FALSE(c->HandleAllocated());
  EXPECT_EQ(SendAMessage(c, ACMD_QUERY_HOOKED), 0);
  EXPECT_FALSE(c->HandleAllocated());
  auto* g = NewControl<TLoggedGraphicControl>(Form, 92, "");
  EXPECT_EQ(SendAMessage(g, ACMD_QUERY_HOOKED), 1) << "a graphic control answers by Perform";
}

TEST_F(Senders, TheTwoBooleanAnswersReadTheAnswerDifferently) {
  auto* c = NewControl<TLoggedWinControl>(Form, 94, "");
  c->Answers[ACMD_QUERY_PAINT_WAIT] = 0x101;
  c->HandleNeeded();
  EXPECT_TRUE(GetBoolMsg(c, ACMD_QUERY_PAINT_WAIT)) << "the control form reads the low byte";
  EXPECT_FALSE(GetBoolMsg(c->Handle(), ACMD_QUERY_PAINT_WAIT)) << "the window form wants exactly 1";
  c->Answers[ACMD_QUERY_PAINT_WAIT] = 1;
  EXPECT_TRUE(GetBoolMsg(c->Handle(), ACMD_QUERY_PAINT_WAIT));
}

TEST_F(Senders, ABroadcastGoesThroughPlainContainersAndStopsAtAChildBeingDestroyed) {
  auto* plain = Create<TPanel>(Form);
  plain->SetParent(Form);
  auto* inside = NewControl<TLoggedWinControl>(plain, 94, "");
  auto* first = NewControl<TLoggedGraphicControl>(Form, 92, "");
  auto* second = NewControl<TLoggedGraphicControl>(Form, 92, "");
  auto* third = NewControl<TLoggedGraphicControl>(Form, 92, "");
  Form->HandleNeeded();
  inside->HandleNeeded();
  TMessage m = MakeMessage(SM_ALPHACMD, AlphaCmdParam(ACMD_REDRAW), 0, 0);
  AlphaBroadCast(Form, m);
  EXPECT_EQ(inside->Count(ACMD_REDRAW), 1) << "the plain panel is passed through, it hears nothing";
  EXPECT_EQ(first->Count(ACMD_REDRAW), 1);
  EXPECT_EQ(third->Count(ACMD_REDRAW), 1);

  CheckDevEx = [](TWinControl* Control) { return dynamic_cast<TPanel*>(Control) != nullptr; };
  AlphaBroadCast(Form, m);
  CheckDevEx = nullptr;
  EXPECT_EQ(inside->Count(ACMD_REDRAW), 1) << "the foreign-control filter keeps the broadcast out";

  second->Destroying();
  AlphaBroadCast(Form, m);
  EXPECT_EQ(first->Count(ACMD_REDRAW), 3);
  EXPECT_EQ(second->Count(ACMD_REDRAW), 2);
  EXPECT_EQ(third->Count(ACMD_REDRAW), 2) << "a child being destroyed ends the broadcast";
}

TEST_F(Senders, ParentsTellTheirChildrenUnlessAnAnimationRuns) {
  auto* c = NewControl<TLoggedWinControl>(Form, 94, "");
  auto* g = NewControl<TLoggedGraphicControl>(Form, 92, "");
  c->HandleNeeded();
  InAnimationProcess = true;
  SetParentUpdated(Form);
  EXPECT_EQ(c->Count(ACMD_PARENT_UPDATED) + g->Count(ACMD_PARENT_UPDATED), 0);
  InAnimationProcess = false;
  SetParentUpdated(Form);
  EXPECT_EQ(c->Count(ACMD_PARENT_UPDATED), 1);
  EXPECT_EQ(g->Count(ACMD_PARENT_UPDATED), 1);
  SetParentUpdated(Form->Handle());
  EXPECT_EQ(c->Count(ACMD_PARENT_UPDATED), 2) << "the window form reaches the child windows";
  EXPECT_EQ(g->Count(ACMD_PARENT_UPDATED), 1);
}

}  // namespace
