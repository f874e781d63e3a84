// The frames of the form effects: the zoom of a show, a hide freed before
// its end, the minimize flight of systems whose own animation shows nothing
// (version below 6), and the fade of a form dragged by its caption. What
// reaches UpdateLayeredWindow and SetLayeredWindowAttributes is recorded and
// the timers are stepped by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "FormAnimSupport.h"
#include "classlib/ui/ExtCtrlsPanels.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sVclUtils.h"
#include "skin/graphics/sAlphaGraph.h"

namespace {

using namespace formanim;

std::vector<TacAnimEvent> events;
struct TEventLog : TObject {
  void After(TacAnimEvent E) { events.push_back(E); }
} eventLog;

// Whether a picture is fully transparent along each of its four edges.
struct TMargins {
  bool Left, Top, Right, Bottom;
};
TMargins ClearEdges(TacBitmap* Bmp) {
  const TPixelView32 p = PixelsOf(Bmp);
  const Integer w = Bmp->Width(), h = Bmp->Height();
  TMargins m{true, true, true, true};
  for (Integer y = 0; y < h; ++y) {
    m.Left = m.Left && (p.At(0, y) >> 24) == 0;
    m.Right = m.Right && (p.At(w - 1, y) >> 24) == 0;
  }
  for (Integer x = 0; x < w; ++x) {
    m.Top = m.Top && (p.At(x, 0) >> 24) == 0;
    m.Bottom = m.Bottom && (p.At(x, h - 1) >> 24) == 0;
  }
  return m;
}

// ------------------------------------------------------------- zoom

// The zoom grows the picture from an eighth inside each edge: the first frame
// leaves a transparent margin on all four sides, the last covers the whole.
TEST(ZoomShow, TheFirstFrameLeavesMarginsTheLastCoversAll) {
  TFormWithPicture w("Zoomed");
  TLayeredRecorder recorder;
  AnimShowForm(w.Provider, 36, 255, atAero);
  ASSERT_EQ(recorder.Alphas(), (std::vector<int>{0, 85, 170, 255, 255, 255}));
  const TMargins first = ClearEdges(recorder.Pushes[1].Picture.get());
  EXPECT_TRUE(first.Left && first.Top && first.Right && first.Bottom);
  const TMargins last = ClearEdges(recorder.Pushes[4].Picture.get());
  EXPECT_FALSE(last.Left || last.Top || last.Right || last.Bottom);
  EXPECT_LT(OpaquePixels(recorder.Pushes[1].Picture.get()), OpaquePixels(recorder.Pushes[2].Picture.get()));
}

// The zoom of a hide shrinks the picture: from the whole to ever smaller,
// the frame cleared around it.
TEST(ZoomHide, ThePictureShrinksFrameByFrame) {
  THeldTimers held;
  TAnimOptions options;
  options.Manager->AnimEffects()->FormHide()->Time = 48;
  options.Manager->AnimEffects()->FormHide()->Mode = atAero;
  TFormWithPicture w("ZoomedOut");
  w.Provider->SkinData()->SetSkinManager(options.Manager);
  w.Provider->FormState |= acfs::HideSnapshot;  // the picture as it is: opaque
  TacBitmap* cache = w.Provider->SkinData()->CacheBmp.get();
  FillAlphaRect(cache, TRect{0, 0, cache->Width(), cache->Height()}, 255);
  TLayeredRecorder recorder;
  ASSERT_TRUE(AnimHideForm(w.Provider));
  const HWND fading = acHideTimer->AnimForm->Handle();
  for (int i = 0; i < 4; ++i) acHideTimer->Timer();
  std::vector<int> opaque;
  for (const TPush& p : recorder.Pushes)
    if (p.Wnd == fading) opaque.push_back(OpaquePixels(p.Picture.get()));
  // The cover's look and the whole picture, then five frames.
  ASSERT_EQ(opaque.size(), 7u);
  const int whole = recorder.Pushes.front().Size.cx * recorder.Pushes.front().Size.cy;
  EXPECT_EQ(opaque[2], whole) << "the first frame is the whole picture";
  for (size_t i = 3; i < opaque.size(); ++i) EXPECT_LT(opaque[i], opaque[i - 1]) << i;
  EXPECT_EQ(recorder.Alphas(fading).back(), 0);
  FreeAndNil(acHideTimer);
}

// ------------------------------------------------------------- hide

// A hide timer freed before its last frame (the program ends) still shows
// that frame and tells the provider once; a hide cut short by the next one
// tells its own provider too.
TEST(HideEnd, AnEarlyEndStillShowsTheLastFrameAndTellsOnce) {
  THeldTimers held;
  TAnimOptions options;
  options.Manager->AnimEffects()->FormHide()->Time = 36;
  options.Manager->AnimEffects()->FormHide()->Mode = atFading;
  TFormWithPicture w("FreedEarly");
  w.Provider->SkinData()->SetSkinManager(options.Manager);
  w.Provider->OnAfterAnimation = TacAnimEventHandler(&eventLog, &TEventLog::After);
  events.clear();
  TLayeredRecorder recorder;
  ASSERT_TRUE(AnimHideForm(w.Provider));
  const HWND fading = acHideTimer->AnimForm->Handle();
  acHideTimer->Timer();
  EXPECT_TRUE(events.empty());
  FreeAndNil(acHideTimer);
  EXPECT_EQ(recorder.Alphas(fading), (std::vector<int>{255, 255, 170, 85, 0})) << "the last frame at 0";
  EXPECT_FALSE(IsWindow(fading));
  EXPECT_EQ(events, std::vector<TacAnimEvent>{aeHiding});
}

TEST(HideEnd, AHideCutShortTellsItsProvider) {
  THeldTimers held;
  TAnimOptions options;
  options.Manager->AnimEffects()->FormHide()->Time = 120;
  TFormWithPicture a("CutShort"), b("Cutting");
  for (TFormWithPicture* f : {&a, &b}) f->Provider->SkinData()->SetSkinManager(options.Manager);
  a.Provider->OnAfterAnimation = TacAnimEventHandler(&eventLog, &TEventLog::After);
  events.clear();
  ASSERT_TRUE(AnimHideForm(a.Provider));
  ASSERT_TRUE(AnimHideForm(b.Provider));
  EXPECT_EQ(events, std::vector<TacAnimEvent>{aeHiding});
  FreeAndNil(acHideTimer);
  EXPECT_EQ(events.size(), 1u) << "once";
}

// ------------------------------------------------------ minimize flight

// Below version 6 the flight has Minimizing.Time / 12 frames from alpha 63
// down by 7, toward the task bar's edge (here an empty task bar at (0, 0):
// a left one, so the point (0, the form's centre)); the last frame clears
// the picture. Restoring climbs back to 63 and shows the form.
TEST(MinimizeFlight, FramesFadeAndShrinkTowardTheEdgeAndBack) {
  THeldTimers held;
  TWinVerScope version(5);
  TAnimOptions options;
  ASSERT_EQ(options.Manager->AnimEffects()->Minimizing()->Time, 120);
  TFormWithPicture w("Flying");
  w.Provider->SkinData()->SetSkinManager(options.Manager);
  const TRect from = WindowRect(w.Wnd());
  TLayeredRecorder recorder;
  StartMinimizing(w.Provider);
  auto* timer = dynamic_cast<TacMinTimer*>(w.Provider->MinAnimation.get());
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->Frames, 10);
  EXPECT_EQ(timer->MaxAlpha(), 63);
  EXPECT_TRUE(timer->Enabled());
  const Integer centreY = from.Top + (from.Bottom - from.Top) / 2;
  if (FindWindowW(L"Shell_TrayWnd", nullptr) && WindowRect(FindWindowW(L"Shell_TrayWnd", nullptr)).Right == 0) {
    EXPECT_EQ(timer->TBPosition, 1) << "an empty task bar at (0, 0) counts as a left one";
    EXPECT_EQ(timer->RectTo.Left, 0);
    EXPECT_EQ(timer->RectTo.Right, 0);
    EXPECT_EQ(timer->RectTo.Top, centreY);
  }
  const HWND cover = timer->AnimForm->Handle();
  for (int i = 0; i < 20 && timer->Enabled(); ++i) timer->Timer();
  EXPECT_FALSE(timer->Enabled());
  EXPECT_EQ(recorder.Alphas(cover), (std::vector<int>{255, 56, 49, 42, 35, 28, 21, 14, 7, 0}));
  std::vector<const TPush*> frames;
  for (const TPush& p : recorder.Pushes)
    if (p.Wnd == cover) frames.push_back(&p);
  for (size_t i = 2; i + 1 < frames.size(); ++i) {
    EXPECT_LT(OpaquePixels(frames[i]->Picture.get()), OpaquePixels(frames[i - 1]->Picture.get())) << i;
    if (timer->TBPosition == 1) {
      EXPECT_LT(frames[i]->Pos.x, frames[i - 1]->Pos.x) << "toward the left edge";
    }
  }
  EXPECT_EQ(OpaquePixels(frames.back()->Picture.get()), 0) << "the last frame is cleared";
  EXPECT_FALSE(IsWindowVisible(cover));
  EXPECT_TRUE(timer->Restoring);
  ShowWindow(w.Wnd(), SW_MINIMIZE);

  recorder.Pushes.clear();
  ASSERT_TRUE(StartRestoring(w.Provider));
  for (int i = 0; i < 20 && timer->Enabled(); ++i) timer->Timer();
  EXPECT_EQ(recorder.Alphas(cover), (std::vector<int>{7, 14, 21, 28, 35, 42, 49, 56, 63}));
  EXPECT_TRUE(IsWindowVisible(w.Wnd()));
  EXPECT_FALSE(IsIconic(w.Wnd()));
  EXPECT_FALSE(Layered(w.Wnd()));
  EXPECT_FALSE(IsWindow(cover));
}

// The flight's cover belongs to the timer: a form destroyed in the middle of
// a flight or while it is minimized leaves no cover window behind.
TEST(MinimizeFlight, AFormDestroyedWhileFlyingOrMinimizedLeavesNoCover) {
  THeldTimers held;
  TWinVerScope version(5);
  TAnimOptions options;
  for (int ticks : {2, 20}) {
    TFormWithPicture w("Destroyed");
    w.Provider->SkinData()->SetSkinManager(options.Manager);
    StartMinimizing(w.Provider);
    auto* timer = dynamic_cast<TacMinTimer*>(w.Provider->MinAnimation.get());
    ASSERT_NE(timer, nullptr);
    const HWND cover = timer->AnimForm->Handle();
    for (int i = 0; i < ticks && timer->Enabled(); ++i) timer->Timer();
    ASSERT_TRUE(IsWindow(cover)) << ticks;
    w.Form->Free();
    w.Form = nullptr;
    EXPECT_FALSE(IsWindow(cover)) << ticks;
  }
}

// ------------------------------------------------------ blend on moving

// The drag's move loop, run by the test: the timer ticks a number of times
// while the "mouse" is down.
int loopTicks = 0;
TsSkinProvider* dragged = nullptr;
bool layeredInLoop = false;
void TickingLoop(HWND) {
  layeredInLoop = Layered(dragged->Form->Handle());
  for (int i = 0; i < loopTicks && dragged->MinAnimation; ++i) dragged->MinAnimation->Timer();
}
struct TMoveLoopScope {
  explicit TMoveLoopScope(TsSkinProvider* Provider, int Ticks) {
    dragged = Provider;
    loopTicks = Ticks;
    acMoveLoop = TickingLoop;
  }
  ~TMoveLoopScope() {
    acMoveLoop = FSaved;
    dragged = nullptr;
  }
  TacMoveLoop FSaved = acMoveLoop;
};

TEST(BlendOnMoving, TheDragFadesStepByStepToTheBlendValue) {
  struct {
    Word Time;
    bool Allow;
    int Ticks;
    double Step;  // the expected fall per tick
  } cases[] = {
      {1000, true, 100, 85.0 / (1000.0 / 12)},
      {12, true, 3, 85},
      {0, true, 3, 85},
      {1000, false, 10, 0},
  };
  for (const auto& c : cases) {
    THeldTimers held;
    TAnimOptions options;
    TacBlendOnMoving* blend = options.Manager->AnimEffects()->BlendOnMoving();
    blend->Active = true;
    blend->Time = c.Time;
    blend->BlendValue = 170;
    TFormWithPicture w("Dragged");
    w.Provider->SkinData()->SetSkinManager(options.Manager);
    w.Provider->AllowBlendOnMoving = c.Allow;
    TAttributesRecorder attributes;
    TLayeredRecorder covers;
    {
      TMoveLoopScope loop(w.Provider, c.Ticks);
      StartBlendOnMoving(w.Provider, true);
    }
    EXPECT_TRUE(layeredInLoop) << c.Time;
    const std::vector<int> a = attributes.Alphas(w.Wnd());
    ASSERT_GE(a.size(), size_t(c.Ticks)) << c.Time;
    EXPECT_EQ(a.front(), 255) << c.Time;
    // The ticks' alphas: each one step below the one before, never more
    // than one step below 170, and ending within a step of it.
    const std::vector<int> ticks(a.end() - c.Ticks, a.end());
    double expected = 255;
    for (size_t i = 0; i < ticks.size(); ++i) {
      EXPECT_EQ(ticks[i], static_cast<int>(std::nearbyint(expected))) << c.Time << " tick " << i;
      if ((c.Allow ? 170 : 255) < expected) expected -= c.Step;
    }
    const int target = c.Allow ? 170 : 255;
    EXPECT_LE(std::abs(ticks.back() - target), static_cast<int>(std::ceil(c.Step))) << c.Time;
    if (!c.Allow) {
      for (int x : a) EXPECT_EQ(x, 255);
    }
    // The drag ended: the form is opaque, not layered, the timer and the
    // covers gone.
    EXPECT_FALSE(Layered(w.Wnd())) << c.Time;
    EXPECT_EQ(w.Provider->MinAnimation, nullptr);
    EXPECT_EQ(w.Provider->FormState & acfs::BlendOnMoving, 0u);
    for (HWND cover : covers.Windows()) {
      if (cover != w.Wnd()) {
        EXPECT_FALSE(IsWindow(cover));
      }
    }
  }
}

TEST(BlendOnMoving, NothingWithoutTheManagersBlendOrWhileOneRuns) {
  THeldTimers held;
  TAnimOptions options;
  TFormWithPicture w("NotDragged");
  w.Provider->SkinData()->SetSkinManager(options.Manager);
  TMoveLoopScope loop(w.Provider, 1);
  layeredInLoop = false;
  ASSERT_FALSE(options.Manager->AnimEffects()->BlendOnMoving()->Active) << "off by default";
  StartBlendOnMoving(w.Provider, true);
  EXPECT_FALSE(layeredInLoop);
  EXPECT_EQ(w.Provider->MinAnimation, nullptr);

  options.Manager->AnimEffects()->BlendOnMoving()->Active = true;
  StartBlendOnMoving(w.Provider, false);
  TacThreadedTimer* first = w.Provider->MinAnimation.get();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->Enabled());
  StartBlendOnMoving(w.Provider, false);
  EXPECT_EQ(w.Provider->MinAnimation.get(), first) << "a drag already fading is left alone";
  FinishBlendOnMoving(w.Provider, nullptr);
  EXPECT_EQ(w.Provider->MinAnimation, nullptr);
  EXPECT_FALSE(Layered(w.Wnd()));
}

}  // namespace

// ------------------------------------------------------------- controls

// A page change: the control's screen image before the change fades into its
// new look in the output window; the last picture shown there is the new
// look. In blur mode the same holds where the new look is not the
// background, and the output window goes at the end in both modes.
TEST(ControlChange, TheOutputWindowEndsWithTheNewLook) {
  for (TacAnimTypeCtrl mode : {atcFade, atcBlur}) {
    TForm* f = skincore::NewForm("Paged");
    skincore::TFreeAtEnd<TForm> freeF{f};
    f->SetColor(clLime);
    auto* panel = Create<TPanel>(f);
    panel->SetParent(f);
    panel->SetBounds(10, 10, 120, 80);
    panel->SetBevelOuter(bvNone);
    panel->SetColor(clRed);
    f->Update();
    PrepareForAnimation(panel, mode);
    ASSERT_NE(ow, nullptr);
    const HWND out = ow->Handle();
    EXPECT_TRUE(IsWindowVisible(out)) << "the old look stays in place during the change";
    panel->SetColor(clBlue);
    TLayeredRecorder recorder;
    AnimShowControl(panel, 36, 255, mode);
    EXPECT_EQ(ow, nullptr);
    EXPECT_FALSE(IsWindow(out));
    EXPECT_FALSE(InAnimationProcess);
    ASSERT_EQ(recorder.Alphas(out), std::vector<int>{255}) << mode;
    const TPush& last = recorder.Pushes.back();
    EXPECT_EQ(last.Size.cx, 120);
    // The blur's last blend weighs the new look 254/256 (shifts by 8): a
    // channel may fall short by two.
    const std::uint32_t pixel = PixelsOf(last.Picture.get()).At(60, 40);
    const int slack = mode == atcBlur ? 2 : 0;
    EXPECT_NEAR(int(pixel & 0xFF), 0xFF, slack) << "blue: " << mode;
    EXPECT_NEAR(int((pixel >> 8) & 0xFF), 0, slack) << mode;
    EXPECT_NEAR(int((pixel >> 16) & 0xFF), 0, slack) << "no red left: " << mode;
  }
}
