// What the terminal sends: answers to the host's queries and the keys typed
// into it, read from the simulator's log; nothing without a connected port.
#include "TermTestSupport.h"

using namespace termtest;

namespace {

void Type(TComTerminal* T, const std::string& Chars) {
  for (unsigned char c : Chars) SendMessageW(T->Handle(), WM_CHAR, c, 1);
}

void Press(TComTerminal* T, WPARAM Key) { SendMessageW(T->Handle(), WM_KEYDOWN, Key, 1); }

TEST_F(TermTest, TheHostsQueriesAreAnswered) {
  ASSERT_TRUE(Receive(Esc("[5;10H") + Esc("[6n")));
  EXPECT_EQ(Heard(Printable(Esc("[5;10R"))), Printable(Esc("[5;10R")));
  ASSERT_TRUE(Receive(Esc("[c") + Esc("[5n")));
  const std::string all = Printable(Esc("[5;10R") + Esc("[?1;2c") + Esc("[0n"));
  EXPECT_EQ(Heard(all), all);
  // answers are never echoed, also with local echo
  Term->SetLocalEcho(true);
  ASSERT_TRUE(Receive(Esc("[6n")));
  EXPECT_EQ(Saved(), "");
}

TEST_F(TermTest, TypedCharactersGoToThePortAndAreEchoed) {
  Term->SetSendLF(true);
  Term->SetLocalEcho(true);
  Type(Term, "ab\r");
  const std::string want = Printable("ab\r\n");
  EXPECT_EQ(Heard(want), want);
  EXPECT_EQ(Saved(), "ab");
  EXPECT_EQ(Term->CaretPos(), (TPoint{1, 2}));
  // without echo the screen stays as it is
  Term->SetLocalEcho(false);
  Type(Term, "c");
  EXPECT_EQ(Heard(want + "c"), want + "c");
  EXPECT_EQ(Saved(), "ab");
}

TEST_F(TermTest, ArrowKeysAreSentAsTheHostAsksOrMoveTheCaret) {
  ASSERT_TRUE(Receive(Esc("[5;5H")));
  Press(Term, VK_UP);
  std::string want = Printable(Esc("[A"));
  EXPECT_EQ(Heard(want), want);
  // the host switches to application cursor keys
  ASSERT_TRUE(Receive(Esc("[?1h")));
  Press(Term, VK_UP);
  Press(Term, VK_LEFT);
  Press(Term, VK_HOME);  // nothing in this mode
  want += Printable(Esc("OA") + Esc("OD"));
  EXPECT_EQ(Heard(want), want);
  ASSERT_TRUE(Receive(Esc("[?1l")));
  EXPECT_EQ(Term->CaretPos(), (TPoint{5, 5})) << "sent keys leave the caret";
  // as windows keys they move the caret here and send nothing
  Term->SetArrowKeys(akWindows);
  Press(Term, VK_UP);
  Press(Term, VK_RIGHT);
  Press(Term, VK_RIGHT);
  EXPECT_EQ(Term->CaretPos(), (TPoint{7, 4}));
  Press(Term, VK_HOME);
  EXPECT_EQ(Term->CaretPos(), (TPoint{1, 1}));
  EXPECT_EQ(Heard(), want);
}

TEST_F(TermTest, WithoutAConnectedPortKeysAreDroppedEchoIncluded) {
  Term->SetLocalEcho(true);
  Port->Close();
  Type(Term, "xy\r");
  Press(Term, VK_DOWN);
  EXPECT_EQ(Saved(), "");
  EXPECT_EQ(Term->CaretPos(), (TPoint{1, 1}));
  Term->SetComPort(nullptr);
  Type(Term, "z");
  EXPECT_EQ(Saved(), "");
  EXPECT_EQ(Heard(), "");
}

// The system caret sits on the caret cell while the terminal has the focus.
TEST_F(TermTest, TheSystemCaretFollowsTheCaret) {
  Term->SetFocus();
  testsupport::PumpMessages(30);
  ASSERT_TRUE(Term->Focused());
  ASSERT_TRUE(Receive(Esc("[3;7H")));
  POINT p{};
  ASSERT_TRUE(GetCaretPos(&p));
  EXPECT_EQ(p.x, 6 * Term->CharWidth());
  EXPECT_EQ(p.y, 2 * Term->CharHeight());
  Term->SetCaret(tcUnderline);
  ASSERT_TRUE(GetCaretPos(&p));
  EXPECT_EQ(p.y, 3 * Term->CharHeight() - std::max(1, Term->CharHeight() / 8));
}

}  // namespace
