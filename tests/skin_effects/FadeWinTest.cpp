// State fading under Wine, ticked by hand through the timer objects: a window
// button whose old and new looks are solid shows each blended frame on its
// window; the fade ends on the tick after its last frame, which frees the
// timer inside that tick; clicks fade in 5 steps; the control may draw the
// frame itself; FadingForbidden freezes a fade; the fade of graphic controls.
#include <gtest/gtest.h>

#include "EffectsSupport.h"
#include "skin/core/sStyleSimply.h"
#include "skin/core/sVclUtils.h"
#include "skin/graphics/sGraphUtils.h"

#include "TestSupport.h"

namespace {

using namespace skinfx;

// Far beyond a test's time: the timers tick only when the test says so.
constexpr Cardinal kNever = 100000000;

class StateFading : public testing::Test {
 protected:
  void SetUp() override {
    Manager = skintest::LoadFolderSkin(Dir, "fade", SkinTextOf({{"SOLID", 0x0000FF, 0}}));
    ASSERT_TRUE(Manager->CommonSkinData.Active);
    Form = NewForm("FadeForm");
    Button = NewControl<TFadeButton>(Form, 9, "SOLID", TRect{10, 10, 110, 40});
    testsupport::PumpMessages(50);
    Button->Perform(SM_ALPHACMD, AlphaCmdParam(ACMD_BUILD_CACHE), 0);
    Button->Repaint();
    ASSERT_FALSE(Button->SkinData()->BGChanged);
    ASSERT_EQ(Shown(), Button->Normal);
  }
  void TearDown() override {
    FadingForbidden = false;
    if (Form) Form->Free();
    if (Manager) Manager->Free();
  }
  // What the screen shows of the button: Wine hands a window's drawing to the
  // screen once its thread looks at its message queue (no message is taken).
  TColor Shown() {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    return static_cast<TColor>(testsupport::ClientPixel(Button->WindowHandle(), 50, 15));
  }
  // Starts a fade to the other look; the timer ticks only by hand.
  TsFadeTimer* Start(bool Clicked) {
    Button->IsHot = !Button->IsHot;
    DoChangePaint(Button->FadeTimer, Button->SkinData(), Clicked, true, fdUp);
    if (Button->FadeTimer) Button->FadeTimer->SetInterval(kNever);
    return Button->FadeTimer;
  }

  skintest::TSkinDir Dir;
  TsSkinManager* Manager = nullptr;
  TForm* Form = nullptr;
  TFadeButton* Button = nullptr;
};

TEST_F(StateFading, ElevenFramesBlendTheOldLookIntoTheNewOneOnTheWindow) {
  const Integer animations = acAnimCount;
  TsFadeTimer* t = Start(false);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(acAnimCount, animations + 1);
  EXPECT_TRUE(t->Enabled());
  EXPECT_EQ(t->FadeSteps, 11);
  EXPECT_EQ(t->FadeStep, 1);
  EXPECT_EQ(BitmapPixel(t->StartImage.get(), 0, 0), Button->Normal) << "the old look";
  EXPECT_EQ(BitmapPixel(Button->SkinData()->CacheBmp.get(), 0, 0), Button->Hot) << "the new look was built";
  const int weights[] = {232, 209, 186, 163, 140, 116, 93, 70, 47, 24, 0};
  for (int step = 0; step < 11; ++step) {
    SCOPED_TRACE(step + 1);
    EXPECT_EQ(FadeWeight(step + 1, 11), weights[step]);
    t->Timer();
    EXPECT_EQ(Shown(), Blend(Button->Normal, Button->Hot, weights[step]));
    EXPECT_EQ(t->FadeStep, step + 2);
  }
  EXPECT_EQ(Shown(), Button->Hot) << "the last frame is the new look";
  testsupport::Screenshot(Form->Handle(), "fade_last_frame");
  t->Timer();  // the 12th tick ends the fade: the button frees the timer inside it
  EXPECT_EQ(Button->FadeTimer, nullptr);
  EXPECT_EQ(Button->Stops, 1);
  EXPECT_EQ(acAnimCount, animations);
}

// A click fades in 5 steps; its end comes through the platform's timer, whose
// tick frees the timer.
TEST_F(StateFading, AClickFadesInFiveStepsAndTheRealTickFreesTheTimer) {
  TsFadeTimer* t = Start(true);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->FadeSteps, 5);
  for (int a : {204, 153, 102, 51, 0}) {
    SCOPED_TRACE(a);
    t->Timer();
    EXPECT_EQ(Shown(), Blend(Button->Normal, Button->Hot, a));
  }
  t->SetInterval(1);
  EXPECT_TRUE(LoopUntil([&] { return Button->FadeTimer == nullptr; }));
  EXPECT_EQ(Button->Stops, 1);
  EXPECT_TRUE(LoopUntil([&] { return Shown() == Button->Hot; })) << "the window goes on with the new look";
}

TEST_F(StateFading, AControlThatDrawsTheFrameItselfGetsNothingCopied) {
  Button->Answers[ACMD_FADE_FRAME] = 1;
  TsFadeTimer* t = Start(false);
  t->Timer();
  EXPECT_EQ(Shown(), Button->Normal);
  ASSERT_EQ(Button->Count(ACMD_FADE_FRAME), 1);
  EXPECT_NE(Button->Log.back().LParam, 0) << "the frame comes with the command";
  EXPECT_EQ(t->FadeStep, 2) << "the step goes on";
}

TEST_F(StateFading, FadingForbiddenFreezesARunningFade) {
  TsFadeTimer* t = Start(false);
  t->Timer();
  const TColor first = Shown();
  FadingForbidden = true;
  t->Timer();
  t->Timer();
  EXPECT_EQ(Shown(), first);
  EXPECT_EQ(t->FadeStep, 2) << "frozen ticks do not count";
  FadingForbidden = false;
  t->Timer();
  EXPECT_EQ(Shown(), Blend(Button->Normal, Button->Hot, 209));
}

TEST_F(StateFading, NoFadeStartsWhileForbiddenOrWithoutAnimation) {
  const struct {
    const char* Name;
    bool Forbidden, AllowAnimation;
  } cases[] = {{"fading forbidden", true, true}, {"not animated", false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Start(false);
    ASSERT_NE(Button->FadeTimer, nullptr);
    FadingForbidden = c.Forbidden;
    Button->IsHot = !Button->IsHot;
    DoChangePaint(Button->FadeTimer, Button->SkinData(), false, c.AllowAnimation, fdUp);
    EXPECT_EQ(Button->FadeTimer, nullptr) << "the running fade is stopped";
    EXPECT_TRUE(Button->SkinData()->BGChanged);
    FadingForbidden = false;
    Button->Perform(SM_ALPHACMD, AlphaCmdParam(ACMD_BUILD_CACHE), 0);
  }
  aSkinChanging = true;
  Start(false);
  aSkinChanging = false;
  EXPECT_EQ(Button->FadeTimer, nullptr) << "no fade while a skin changes";
}

// A new event during a fade starts again from the look the running fade was
// going to (the cache), not from the frame on the screen.
TEST_F(StateFading, AnEventDuringAFadeStartsAgainFromItsTarget) {
  TsFadeTimer* t = Start(false);
  t->Timer();
  t->Timer();
  Button->SkinData()->BGChanged = false;  // the cache holds the running fade's target
  TsFadeTimer* again = Start(false);
  EXPECT_EQ(again, t) << "the timer is kept";
  EXPECT_EQ(again->FadeStep, 1);
  EXPECT_EQ(again->FadeSteps, 11);
  EXPECT_EQ(BitmapPixel(again->StartImage.get(), 0, 0), Button->Hot);
  again->Timer();
  EXPECT_EQ(Shown(), Blend(Button->Hot, Button->Normal, 232));
}

TEST_F(StateFading, ADisabledControlGetsNoMoreFrames) {
  TsFadeTimer* t = Start(false);
  t->Timer();
  Button->SetEnabled(false);
  t->Timer();
  EXPECT_FALSE(t->Enabled());
  EXPECT_EQ(t->FadeSteps, 0);
  EXPECT_TRUE(Button->SkinData()->BGChanged) << "redrawn in its plain state";
}

TEST_F(StateFading, TheMagnifierRepaintsAfterEveryFrame) {
  TLoggedWinControl* magnifier = NewControl<TLoggedWinControl>(Form, 9, "SOLID");
  acMagnForm = magnifier;
  TsFadeTimer* t = Start(false);
  magnifier->Log.clear();
  t->Timer();
  t->Timer();
  acMagnForm = nullptr;
  EXPECT_EQ(magnifier->Count(ACMD_SKIN_REPAINT), 2);
}

TEST_F(StateFading, EventsAreAnimatedByTheButtonOrByTheManager) {
  ASSERT_EQ(DefaultManager, Manager);
  TacBtnEvents& managerEvents = Manager->AnimEffects()->Buttons()->Events;
  EXPECT_TRUE(EventEnabled(aeMouseEnter, TacAnimatEvents{aeGlobalDef}));
  EXPECT_TRUE(EventEnabled(aeMouseEnter, TacAnimatEvents{aeMouseEnter}));
  EXPECT_FALSE(EventEnabled(aeMouseEnter, TacAnimatEvents{}));
  managerEvents.Exclude(beMouseEnter);
  EXPECT_FALSE(EventEnabled(aeMouseEnter, TacAnimatEvents{aeGlobalDef}));
  EXPECT_TRUE(EventEnabled(aeMouseEnter, TacAnimatEvents{aeMouseEnter}));
  EXPECT_TRUE(EventEnabled(aeMouseLeave, TacAnimatEvents{aeGlobalDef}, Manager));
  EXPECT_TRUE(EventEnabled(aeGlobalDef, TacAnimatEvents{aeGlobalDef}, Manager));
  EXPECT_FALSE(EventEnabled(aeGlobalDef, TacAnimatEvents{aeMouseEnter, aeMouseUp}, Manager));
}

// The fade of a control without a window: frames blended into the timer's
// own image, the control asked to redraw.
TEST_F(StateFading, GraphicControlFadesThroughTheTimersFrameImage) {
  auto* graphic = NewControl<TLoggedGraphicControl>(Form, 9, "SOLID", TRect{10, 50, 30, 60});
  TsCommonData* data = graphic->SkinData();
  InitCacheBmp(data);
  FillBitmapRect(data->CacheBmp.get(), TRect{0, 0, 20, 10}, Button->Hot);
  TsAnimTimer* anim = Create<TsAnimTimer>(nullptr);
  TFreeAtEnd<TsAnimTimer> free{anim};
  EXPECT_FALSE(anim->Enabled());
  anim->SetOwnerData(data);
  EXPECT_EQ(anim->Interval(), 12u);
  EXPECT_EQ(anim->FadeSteps, 11);
  anim->StartImage = CreateBmp32(20, 10);
  FillBitmapRect(anim->StartImage.get(), TRect{0, 0, 20, 10}, Button->Normal);
  anim->FadeStep = 1;
  graphic->Log.clear();
  anim->Timer();
  EXPECT_EQ(BitmapPixel(anim->FrameImage.get(), 3, 3), Blend(Button->Normal, Button->Hot, 232));
  EXPECT_EQ(graphic->Commands(), (std::vector<Word>{ACMD_SET_UPDATE_FLAG, ACMD_REDRAW}));
  EXPECT_EQ(anim->FadeStep, 2);
  anim->Busy = true;
  anim->DoFade();
  EXPECT_EQ(anim->FadeStep, 3) << "while busy it only counts";
  anim->Busy = false;
  anim->FadeStep = 12;
  graphic->Log.clear();
  anim->Timer();
  EXPECT_EQ(graphic->Commands(), (std::vector<Word>{ACMD_STOP_FADE})) << "past the last step it ends";
}

}  // namespace
