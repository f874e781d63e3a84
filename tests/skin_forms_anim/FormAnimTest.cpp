// The show, hide, minimize and restore animations of skinned forms, with
// what they hand to UpdateLayeredWindow recorded and their timers stepped
// by hand.
#include <gtest/gtest.h>

#include "FormAnimSupport.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sStyleSimply.h"
#include "skin/core/sVclUtils.h"
#include "skin/graphics/acGlow.h"

namespace {

using namespace skincore;
using namespace formanim;

std::vector<TacAnimEvent> events;
struct TEventLog : TObject {
  void After(TacAnimEvent E) { events.push_back(E); }
} eventLog;

// ------------------------------------------------------- layered tools

TEST(LayeredTools, DoLayeredSaysWhetherItMadeTheWindowLayered) {
  TForm* f = NewForm("DoLayered");
  TFreeAtEnd<TForm> freeF{f};
  EXPECT_TRUE(DoLayered(f->Handle(), true, 1));
  EXPECT_FALSE(DoLayered(f->Handle(), true, 30)) << "it was layered already";
  BYTE alpha = 0;
  GetLayeredWindowAttributes(f->Handle(), nullptr, &alpha, nullptr);
  EXPECT_EQ(alpha, 30);
  EXPECT_FALSE(DoLayered(f->Handle(), false, 0));
  EXPECT_FALSE(Layered(f->Handle()));
}

// The cover lies exactly over the window, above everything, and shows what
// the window showed.
TEST(LayeredTools, TheCoverShowsTheWindowAsItLooked) {
  TFormWithPicture w("Covered");
  TLayeredRecorder recorder;
  std::unique_ptr<TForm> cover(MakeCoverForm(w.Wnd()));
  const HWND c = cover->Handle();
  EXPECT_EQ(cover->Tag(), 256) << "never skinned by the hook";
  EXPECT_TRUE(IsWindowVisible(c));
  EXPECT_TRUE(GetWindowLongPtrW(c, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(GetWindowLongPtrW(c, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
  const TRect r = WindowRect(w.Wnd()), rc = WindowRect(c);
  EXPECT_EQ(rc.Left, r.Left);
  EXPECT_EQ(rc.Top, r.Top);
  EXPECT_EQ(rc.Right, r.Right);
  EXPECT_EQ(rc.Bottom, r.Bottom);
  ASSERT_EQ(recorder.Alphas(c), std::vector<int>{255});
  const TPush& push = recorder.Pushes.front();
  EXPECT_EQ(push.Size.cx, r.Right - r.Left);
  const TPixelView32 pixels = PixelsOf(push.Picture.get());
  const Integer x = w.Provider->OffsetX() + 20, y = w.Provider->OffsetY() + 20;
  EXPECT_EQ(pixels.At(x, y), 0xFF00FF00u) << "the client's lime, opaque";
}

TEST(LayeredTools, TheFormsPictureMayReplaceTheCache) {
  TFormWithPicture w("Pictured");
  std::unique_ptr<TacBitmap> image = GetFormImage(w.Provider, true);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(w.Provider->SkinData()->CacheBmp, nullptr) << "the caller puts the picture in its place";
  const TPixelView32 pixels = PixelsOf(image.get());
  for (const TPoint& p : {TPoint{0, 0}, TPoint{image->Width() - 1, image->Height() - 1}})
    EXPECT_EQ(pixels.At(p.X, p.Y) >> 24, 0xFFu) << "opaque without a border window";
  EXPECT_EQ(GetFormImage(w.Provider, false), nullptr) << "no cache, no picture";
}

// ------------------------------------------------------------- show

TEST(ShowForm, FramesRiseToTheFinalAlpha) {
  struct {
    Word Time;
    std::vector<int> Alphas;  // of the picture's window, in order
  } cases[] = {
      {0, {255, 255}},                     // no ramp
      {11, {255, 255}},                    // below one frame
      {36, {0, 85, 170, 255, 255, 255}},   // three frames: four pushes, then the whole picture
  };
  for (const auto& c : cases) {
    TFormWithPicture w("Shown");
    w.Provider->OnAfterAnimation = TacAnimEventHandler(&eventLog, &TEventLog::After);
    events.clear();
    TLayeredRecorder recorder;
    AnimShowForm(w.Provider, c.Time, 255, atFading);
    const std::vector<HWND> windows = recorder.Windows();
    ASSERT_EQ(windows.size(), 1u) << c.Time;
    EXPECT_EQ(recorder.Alphas(windows[0]), c.Alphas) << c.Time;
    EXPECT_FALSE(IsWindow(windows[0])) << "the picture's window is gone";
    EXPECT_EQ(recorder.Pushes.back().Size.cx, WindowRect(w.Wnd()).Right - WindowRect(w.Wnd()).Left);
    EXPECT_TRUE(IsWindowVisible(w.Wnd()));
    EXPECT_FALSE(InAnimationProcess);
    EXPECT_EQ(events, std::vector<TacAnimEvent>{aeShowing});
  }
}

TEST(ShowForm, AFormWithoutPictureIsShownWithoutAnimation) {
  TFormWithPicture w("NoPicture");
  w.Provider->SkinData()->CacheBmp.reset();
  TLayeredRecorder recorder;
  AnimShowForm(w.Provider, 36, 255, atAero);
  EXPECT_TRUE(recorder.Pushes.empty());
  EXPECT_FALSE(InAnimationProcess) << "no flag is left set";
}

// The skin change's fade of a form (what UnLockForms runs): 100 ms are
// eight frames from nothing to the new look.
TEST(ShowForm, ASkinChangeFadesTheFormInFromNothing) {
  TFormWithPicture w("Changed");
  TLayeredRecorder recorder;
  SendMessageW(w.Wnd(), WM_SETREDRAW, FALSE, 0);
  AnimShowControl(w.Form, 100, 255, atcFade);
  const std::vector<HWND> windows = recorder.Windows();
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(recorder.Alphas(windows[0]), (std::vector<int>{0, 32, 64, 96, 128, 159, 191, 223, 255, 255}));
  EXPECT_FALSE(IsWindow(windows[0]));
  EXPECT_TRUE(IsWindowVisible(w.Wnd())) << "the frozen form draws again";
  EXPECT_FALSE(InAnimationProcess);
}

// The same through the manager: a skin change freezes the skinned forms and
// fades each one in with its new look (SkinChanging: 100 ms by default).
TEST(ShowForm, TheManagersSkinChangeFadesEachSkinnedForm) {
  skintest::TSkinDir dir;
  dir.Folder("first", SkinTextOf({{"FORM", 0x202020}, {"FORMTITLE", 0x808080}}));
  dir.Folder("second", SkinTextOf({{"FORM", 0x404040}, {"FORMTITLE", 0xA0A0A0}}));
  TsSkinManager* m = skintest::NewManager(dir);
  TFreeAtEnd<TsSkinManager> freeM{m};
  m->SetSkinName("first");
  TForm* f = NewForm("SkinChanged");
  TFreeAtEnd<TForm> freeF{f};
  auto* p = Create<TsSkinProvider>(f);
  p->SkinData()->SetSkinManager(m);
  f->Update();
  ASSERT_EQ(m->AnimEffects()->SkinChanging()->Time, 100);
  TLayeredRecorder recorder;
  m->SetSkinName("second");
  std::vector<HWND> faded;
  for (HWND wnd : recorder.Windows())
    if (recorder.Alphas(wnd).size() > 2) faded.push_back(wnd);
  ASSERT_EQ(faded.size(), 1u);
  EXPECT_EQ(recorder.Alphas(faded[0]), (std::vector<int>{0, 32, 64, 96, 128, 159, 191, 223, 255, 255}));
  EXPECT_TRUE(IsWindowVisible(f->Handle()));
  EXPECT_FALSE(InAnimationProcess);
}

// A form without provider is shown and redrawn at once.
TEST(ShowForm, AControlWithoutProviderIsShownAtOnce) {
  TForm* f = NewForm("Plain");
  TFreeAtEnd<TForm> freeF{f};
  ShowWindow(f->Handle(), SW_HIDE);
  TLayeredRecorder recorder;
  AnimShowControl(f, 100, 255, atcFade);
  EXPECT_TRUE(recorder.Pushes.empty());
  EXPECT_TRUE(IsWindowVisible(f->Handle()));
}

// ------------------------------------------------------------- hide

TEST(HideForm, AtTimeZeroTheFormGoesAtOnceAndNothingWaits) {
  TAnimOptions options;
  TFormWithPicture w("HiddenAtOnce");
  w.Provider->SkinData()->SetSkinManager(options.Manager);
  TLayeredRecorder recorder;
  EXPECT_FALSE(AnimHideForm(w.Provider)) << "no frames started: nobody must wait for them";
  EXPECT_FALSE(IsWindowVisible(w.Wnd()));
  EXPECT_FALSE(Layered(w.Wnd()));
  EXPECT_FALSE(InAnimationProcess);
  for (HWND wnd : recorder.Windows()) EXPECT_FALSE(IsWindow(wnd)) << "the cover is gone";
  EXPECT_TRUE(!acHideTimer || !acHideTimer->AnimForm);
}

TEST(HideForm, FramesFadeOutOnTheTimerAndTellTheProviderOnce) {
  THeldTimers held;
  TAnimOptions options;
  options.Manager->AnimEffects()->FormHide()->Time = 36;
  options.Manager->AnimEffects()->FormHide()->Mode = atFading;
  TFormWithPicture w("HiddenSlowly");
  w.Provider->SkinData()->SetSkinManager(options.Manager);
  w.Provider->OnAfterAnimation = TacAnimEventHandler(&eventLog, &TEventLog::After);
  events.clear();
  TLayeredRecorder recorder;
  ASSERT_TRUE(AnimHideForm(w.Provider));
  EXPECT_FALSE(IsWindowVisible(w.Wnd())) << "the form itself goes at once";
  EXPECT_FALSE(InAnimationProcess);
  ASSERT_NE(acHideTimer, nullptr);
  const HWND fading = acHideTimer->AnimForm->Handle();
  EXPECT_TRUE(acHideTimer->Enabled());
  for (int i = 0; i < 3; ++i) acHideTimer->Timer();
  // The cover's look, the picture at 255, then the four frames (the first at
  // once) falling by 85 to 0.
  EXPECT_EQ(recorder.Alphas(fading), (std::vector<int>{255, 255, 170, 85, 0, 0}));
  EXPECT_TRUE(events.empty());
  acHideTimer->Timer();
  EXPECT_FALSE(IsWindow(fading));
  EXPECT_EQ(events, std::vector<TacAnimEvent>{aeHiding});
  EXPECT_EQ(acHideTimer->Interval(), 65535u);
  acHideTimer->Timer();
  EXPECT_EQ(events.size(), 1u) << "once";
}

TEST(HideForm, ASecondHideCutsTheFirstShort) {
  THeldTimers held;
  TAnimOptions options;
  options.Manager->AnimEffects()->FormHide()->Time = 120;
  TFormWithPicture a("FirstHidden"), b("SecondHidden");
  a.Provider->SkinData()->SetSkinManager(options.Manager);
  b.Provider->SkinData()->SetSkinManager(options.Manager);
  ASSERT_TRUE(AnimHideForm(a.Provider));
  const HWND first = acHideTimer->AnimForm->Handle();
  ASSERT_TRUE(AnimHideForm(b.Provider));
  EXPECT_FALSE(IsWindow(first));
  EXPECT_NE(acHideTimer->AnimForm->Handle(), first);
  FreeAndNil(acHideTimer);
}

// A glow shown around a hot control of the form goes with the form's hide
// (its window is freed at once), not after the form has gone.
TEST(HideForm, AHotControlsGlowGoesWithTheHide) {
  THeldTimers held;
  std::string text = "[GLOBALINFO]\r\nVERSION=8.00\r\nMASTERBITMAP=MASTER.BMP\r\n"
                     "[FORM]\r\nCOLOR=8421504\r\nTRANSPARENCY=0\r\n"
                     "[BUTTON]\r\nCOLOR=12632256\r\nTRANSPARENCY=0\r\n"
                     "GLOW0=^0000^0000^0024^0024^0008^0008^0008^0008^1^0^0^0\r\n";
  skinfixture::TPicture master(32, 32, 0x808080);
  master.Fill(0, 0, 24, 24, 0x00C000);
  skintest::TSkinDir dir;
  dir.Folder("glow", text, master);
  TsSkinManager* m = skintest::NewManager(dir);
  TFreeAtEnd<TsSkinManager> freeM{m};
  m->SetSkinName("glow");
  TFormWithPicture w("Glowing");
  w.Provider->SkinData()->SetSkinManager(m);
  const TRect r = WindowRect(w.Wnd());
  Integer id = ShowGlow(TRect{r.Left + 20, r.Top + 40, r.Left + 100, r.Top + 65}, TRect{0, 0, 80, 25}, "BUTTON",
                        "GLOW", 0, 255, w.Wnd(), w.Provider->SkinData());
  ASSERT_GE(id, 0);
  const HWND glow = acGlowEffects[static_cast<size_t>(id)]->Form->Handle();
  ASSERT_TRUE(IsWindow(glow));
  AnimHideForm(w.Provider);
  EXPECT_FALSE(IsWindow(glow));
  for (TacGlowEffect* e : acGlowEffects) EXPECT_EQ(e, nullptr);
  FreeAndNil(acHideTimer);
}

// ------------------------------------------------------ minimize, restore

TEST(Minimize, OneSynchronousFrameAndNoTimerThenTheFormComesBack) {
  THeldTimers held;
  TAnimOptions options;
  TFormWithPicture w("Minimized");
  w.Provider->SkinData()->SetSkinManager(options.Manager);
  ASSERT_NE(Application->MainForm(), w.Form);
  TLayeredRecorder recorder;
  StartMinimizing(w.Provider);
  auto* timer = dynamic_cast<TacMinTimer*>(w.Provider->MinAnimation.get());
  ASSERT_NE(timer, nullptr);
  EXPECT_FALSE(timer->Enabled()) << "one frame, run at once";
  EXPECT_TRUE(timer->Restoring) << "the next frames fly back";
  const HWND cover = timer->AnimForm->Handle();
  EXPECT_EQ(recorder.Alphas(cover), (std::vector<int>{255, 0})) << "the form's look, then gone";
  EXPECT_FALSE(IsWindowVisible(cover));
  EXPECT_FALSE(Layered(w.Wnd()));
  EXPECT_EQ(w.Provider->FormState & acfs::Minimizing, 0u);
  EXPECT_FALSE(w.Provider->PaintingSuspended);
  ShowWindow(w.Wnd(), SW_MINIMIZE);

  recorder.Pushes.clear();
  EXPECT_TRUE(StartRestoring(w.Provider));
  EXPECT_TRUE(timer->Enabled());
  EXPECT_TRUE(Layered(w.Wnd())) << "transparent until the picture is back";
  timer->Timer();
  EXPECT_FALSE(timer->Enabled());
  EXPECT_TRUE(IsWindowVisible(w.Wnd()));
  EXPECT_FALSE(IsIconic(w.Wnd()));
  EXPECT_FALSE(Layered(w.Wnd()));
  EXPECT_EQ(w.Provider->FormState & acfs::Restoring, 0u);
  ASSERT_EQ(recorder.Alphas(cover), std::vector<int>{255});
  const TRect r = WindowRect(w.Wnd());
  EXPECT_EQ(recorder.Pushes.back().Pos.x, r.Left) << "the picture lands where the form is";
  EXPECT_EQ(recorder.Pushes.back().Pos.y, r.Top);
  EXPECT_FALSE(IsWindow(cover));
}

TEST(Minimize, NothingRunsWithoutTheManagersMinimizeAnimation) {
  TAnimOptions options;
  options.Manager->AnimEffects()->Minimizing()->Active = false;
  TFormWithPicture w("NotAnimated");
  w.Provider->SkinData()->SetSkinManager(options.Manager);
  TLayeredRecorder recorder;
  StartMinimizing(w.Provider);
  EXPECT_EQ(w.Provider->MinAnimation, nullptr);
  EXPECT_TRUE(recorder.Pushes.empty());
  EXPECT_TRUE(StartRestoring(w.Provider));
}

// The system's own minimize animation: off only for the scope when it was
// on, and back whatever ends the scope; the user's profile is not written.
// (Wine keeps no such setting: the test gives the scope one of its own.)
bool fakeSetting = false;
std::vector<bool> fakeWrites;
bool GetFake() { return fakeSetting; }
void SetFake(bool On) {
  fakeSetting = On;
  fakeWrites.push_back(On);
}

TEST(SystemAnimation, SwitchedOffOnlyWhileNeededAndAlwaysBack) {
  struct {
    bool On;
    bool Throw;
    std::vector<bool> Writes;
  } cases[] = {
      {true, false, {false, true}},
      {true, true, {false, true}},
      {false, false, {}},
      {false, true, {}},
  };
  for (const auto& c : cases) {
    fakeSetting = c.On;
    fakeWrites.clear();
    try {
      TacSystemAnimationOff off(GetFake, SetFake);
      EXPECT_FALSE(fakeSetting);
      if (c.Throw) throw Exception("a handler failed");
    } catch (const Exception&) {
    }
    EXPECT_EQ(fakeSetting, c.On) << c.On << c.Throw;
    EXPECT_EQ(fakeWrites, c.Writes) << c.On << c.Throw;
  }

  auto stored = [] {
    wchar_t value[16] = L"";
    DWORD size = sizeof value;
    const LSTATUS s = RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop\\WindowMetrics", L"MinAnimate",
                                   RRF_RT_REG_SZ, nullptr, value, &size);
    return s == ERROR_SUCCESS ? std::wstring(value) : std::wstring(L"(none)");
  };
  const std::wstring profile = stored();
  const bool was = acGetAnimation();
  acSetAnimation(!was);
  acSetAnimation(was);
  EXPECT_EQ(stored(), profile) << "the system's setting changes for the session only";
}

}  // namespace
