// The animations as a user starts them: messages to a skinned form with the
// fixture skin (the mouse over the close button, a show, a minimize and a
// restore), what goes to UpdateLayeredWindow recorded and the timers
// stepped by hand.
#include <gtest/gtest.h>

#include <algorithm>

#include "../skin_forms/SkinFormsSupport.h"
#include "FormAnimSupport.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/acSBAnimation.h"

namespace {

using namespace formanim;
using skinforms::TTestForm;

const TBorderIcons kAllIcons{biSystemMenu, biMinimize, biMaximize};

class ProviderAnimationTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    Skins = new skinforms::TFixtureSkins;
    Manager = Create<TsSkinManager>(nullptr);
    Manager->SetSkinDirectory(skintest::Ansi(Skins->Path()));
    Manager->SetSkinName("Fixture");
  }
  static void TearDownTestSuite() {
    FreeAndNil(Manager);
    delete Skins;
  }
  void SetUp() override { ASSERT_TRUE(Manager->CommonSkinData.Active); }
  void TearDown() override {
    for (TForm* f : Forms) f->Free();
    Forms.clear();
  }
  // Away from the forms of the other mouse tests, which may run meanwhile.
  TTestForm Make(TFormBorderStyle Style) {
    TTestForm t = skinforms::NewSkinnedForm(Style, kAllIcons, false, 640, 480);
    Forms.push_back(t.Form);
    return t;
  }
  // The screen point of a point of the window.
  static POINT OnScreen(const TTestForm& t, const TRect& R) {
    const RECT w = t.Window();
    return POINT{w.left + (R.Left + R.Right) / 2, w.top + (R.Top + R.Bottom) / 2};
  }
  // Puts the cursor there and waits until the system reports it there.
  // Puts the cursor at P for good: a pointer event of the display that was
  // on its way before the warp can still move it back, so the place must
  // hold over a pump before it counts.
  static bool CursorTo(POINT P) {
    for (int attempt = 0; attempt < 20; ++attempt) {
      SetCursorPos(P.x, P.y);
      testsupport::PumpMessages(30);
      POINT c{};
      GetCursorPos(&c);
      if (c.x == P.x && c.y == P.y) return true;
    }
    return false;
  }
  static inline skinforms::TFixtureSkins* Skins = nullptr;
  static inline TsSkinManager* Manager = nullptr;
  std::vector<TForm*> Forms;
};

// The mouse on close: the hot picture fades in over the button in ten
// steps, fades out in ten when the mouse goes, and its window is freed; a
// press shows the pressed picture at once with no timer left running. The
// fade's window lets the mouse through to the form.
TEST_F(ProviderAnimationTest, TheCloseButtonFadesInAndOutAndAPressShowsAtOnce) {
  THeldTimers held;
  ASSERT_TRUE(Manager->Effects()->AllowGlowing);
  TTestForm t = Make(bsSingle);
  TsSkinProvider* p = t.Provider;
  ASSERT_TRUE(p->PaintAll());
  const POINT close = OnScreen(t, p->ButtonClose.Rect);
  TLayeredRecorder recorder;
  // The real cursor comes onto the button (its own move may start the fade
  // while it settles: the steps seen are then the last ones).
  ASSERT_TRUE(CursorTo(close));
  SendMessageW(t.Wnd(), WM_NCMOUSEMOVE, HTCLOSE, MAKELPARAM(close.x, close.y));
  TacSBAnimation* a = p->ButtonClose.Timer;
  ASSERT_NE(a, nullptr);
  ASSERT_NE(a->GlowForm, nullptr);
  const HWND fade = a->GlowForm->Handle();
  for (int i = 0; i < 10 && a->Enabled(); ++i) a->OnAnimTimer(a);
  const std::vector<int> in = recorder.Alphas(fade);
  const std::vector<int> all{25, 50, 75, 100, 125, 150, 175, 200, 225, 255};
  ASSERT_FALSE(in.empty());
  EXPECT_TRUE(std::equal(in.rbegin(), in.rend(), all.rbegin())) << "the fade in ends 225, 255";
  EXPECT_EQ(WindowFromPoint(close), t.Wnd()) << "the fade's window must not catch the press";

  // The mouse leaves for the caption (told by message, with no input
  // between).
  const RECT w = t.Window();
  const POINT caption{(w.left + w.right) / 2, w.top + 8};
  recorder.Pushes.clear();
  SendMessageW(t.Wnd(), WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(caption.x, caption.y));
  ASSERT_EQ(p->ButtonClose.Timer, a) << "the same fade turns round";
  for (int i = 0; i < 10; ++i) a->OnAnimTimer(a);
  EXPECT_EQ(recorder.Alphas(fade), (std::vector<int>{250, 225, 200, 175, 150, 125, 100, 75, 50, 25}));
  a->OnAnimTimer(a);
  EXPECT_FALSE(IsWindow(fade)) << "faded out: the window is freed";

  recorder.Pushes.clear();
  SendMessageW(t.Wnd(), WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(close.x, close.y));
  ASSERT_NE(p->ButtonClose.Timer, nullptr);
  EXPECT_EQ(recorder.Alphas(), std::vector<int>{255});
  EXPECT_FALSE(p->ButtonClose.Timer->Enabled());
  // Released on the caption: the form stays.
  SendMessageW(t.Wnd(), WM_NCLBUTTONUP, HTCAPTION, MAKELPARAM(caption.x, caption.y));
  EXPECT_FALSE(bTitleBtnDown);
  EXPECT_TRUE(IsWindowVisible(t.Wnd()));
}

// A mouse that left the button unseen while the fade came in (no message on
// the way) is found at the fade's end: the fade turns round there and goes
// out in its ten steps. The real cursor stays far from the form throughout.
TEST_F(ProviderAnimationTest, AFadeEndingWithTheMouseGoneFadesOutInItsSteps) {
  THeldTimers held;
  ASSERT_TRUE(CursorTo(POINT{5, 5}));
  TTestForm t = Make(bsSingle);
  TsSkinProvider* p = t.Provider;
  ASSERT_TRUE(p->PaintAll());
  const POINT close = OnScreen(t, p->ButtonClose.Rect);
  TLayeredRecorder recorder;
  SendMessageW(t.Wnd(), WM_NCMOUSEMOVE, HTCLOSE, MAKELPARAM(close.x, close.y));
  TacSBAnimation* a = p->ButtonClose.Timer;
  ASSERT_NE(a, nullptr);
  ASSERT_NE(a->GlowForm, nullptr);
  const HWND fade = a->GlowForm->Handle();
  for (int i = 0; i < 30 && IsWindow(fade); ++i) a->OnAnimTimer(a);
  EXPECT_EQ(recorder.Alphas(fade), (std::vector<int>{25, 50, 75, 100, 125, 150, 175, 200, 225, 250, 225, 200, 175,
                                                      150, 125, 100, 75, 50, 25}));
  EXPECT_FALSE(IsWindow(fade)) << "faded out: the window is freed";
}

// A show with the manager's show animation at Time 0 hands the whole
// picture over at once: no alpha but 255.
TEST_F(ProviderAnimationTest, AShowAtTimeZeroPushesTheWholePictureOnly) {
  TacFormAnimation* show = Manager->AnimEffects()->FormShow();
  const Word time = show->Time;
  const bool active = show->Active;
  show->Time = 0;
  show->Active = true;
  TForm* f = Create<TForm>(Application, 0);
  Forms.push_back(f);
  f->SetBounds(80, 80, 300, 200);
  Create<TsSkinProvider>(f);
  {
    TLayeredRecorder recorder;
    f->Show();
    testsupport::PumpMessages(50);
    EXPECT_FALSE(recorder.Pushes.empty()) << "the show went through the animation";
    for (const int alpha : recorder.Alphas()) EXPECT_EQ(alpha, 255);
  }
  EXPECT_TRUE(IsWindowVisible(f->Handle()));
  EXPECT_FALSE(InAnimationProcess);
  show->Time = time;
  show->Active = active;
}

// Minimizing a form that is not the main form runs one frame at once and
// never starts its timer; restoring flies the form back and shows it.
TEST_F(ProviderAnimationTest, MinimizeRunsOneFrameAndRestoreShowsTheFormAgain) {
  THeldTimers held;
  ASSERT_TRUE(Manager->AnimEffects()->Minimizing()->Active);
  TTestForm t = Make(bsSizeable);
  ASSERT_NE(Application->MainForm(), t.Form);
  TLayeredRecorder recorder;
  SendMessageW(t.Wnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(t.Wnd()));
  auto* timer = dynamic_cast<TacMinTimer*>(t.Provider->MinAnimation.get());
  ASSERT_NE(timer, nullptr);
  EXPECT_FALSE(timer->Enabled()) << "one synchronous frame";
  ASSERT_FALSE(recorder.Pushes.empty());
  EXPECT_EQ(recorder.Alphas().back(), 0) << "the cover goes after its frame";

  SendMessageW(t.Wnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_EQ(t.Provider->MinAnimation.get(), timer);
  EXPECT_TRUE(timer->Enabled()) << "the way back runs on the timer";
  for (int i = 0; i < 100 && timer->Enabled(); ++i) timer->Timer();
  EXPECT_FALSE(timer->Enabled());
  EXPECT_FALSE(IsIconic(t.Wnd()));
  EXPECT_TRUE(IsWindowVisible(t.Wnd()));
  EXPECT_FALSE(Layered(t.Wnd()));
}

}  // namespace
