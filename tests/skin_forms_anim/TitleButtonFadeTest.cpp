// The fade of a title button over the caption of a skinned form: the hot
// picture fades in within a layered window over the button, fades out when
// the mouse leaves, and a press shows at once. The timer is stepped by hand.
#include <gtest/gtest.h>

#include "FormAnimSupport.h"
#include "skin/forms/acSBAnimation.h"

namespace {

using namespace skincore;
using namespace formanim;

// A form with a provider and a close button in the caption's top right.
struct TButtonForm {
  TForm* Form;
  TsSkinProvider* Provider;
  TsCaptionButton Button;
  TButtonForm() {
    Form = NewForm("Buttons");
    Provider = Create<TsSkinProvider>(Form);
    const TRect r = WindowRect(Form->Handle());
    Button.Rect = TRect{r.Right - r.Left - 30, 4, r.Right - r.Left - 9, 25};
    Button.HitCode = HTCLOSE;
  }
  ~TButtonForm() {
    delete Button.Timer;
    Form->Free();
  }
  // Puts the button under the mouse (or away from it). The mouse stays
  // where it is: the button moves, so nothing waits for the cursor.
  void MouseOnButton(bool On) {
    POINT c{};
    GetCursorPos(&c);
    const TRect r = WindowRect(Form->Handle());
    const Integer x = c.x - r.Left + (On ? -10 : 100), y = c.y - r.Top + (On ? -10 : 100);
    Button.Rect = TRect{x, y, x + 21, y + 21};
  }
  void Tick(int Count) {
    for (int i = 0; i < Count; ++i) Button.Timer->OnAnimTimer(Button.Timer);
  }
};

TEST(TitleButtonFade, HoverFadesInHoldsAndFadesOutWhenLeft) {
  TButtonForm b;
  b.MouseOnButton(true);
  TLayeredRecorder recorder;
  StartSBAnimation(&b.Button, 1, 10, true, b.Provider);
  TacSBAnimation* a = b.Button.Timer;
  ASSERT_NE(a, nullptr);
  ASSERT_NE(a->GlowForm, nullptr);
  const HWND glow = a->GlowForm->Handle();
  b.Tick(9);
  EXPECT_EQ(recorder.Alphas(glow), (std::vector<int>{25, 50, 75, 100, 125, 150, 175, 200, 225, 255}));
  const TRect over = WindowRect(glow), form = WindowRect(b.Form->Handle());
  EXPECT_EQ(over.Left, form.Left + b.Button.Rect.Left) << "the window lies over the button";
  EXPECT_EQ(over.Top, form.Top + b.Button.Rect.Top);
  EXPECT_EQ(over.Right - over.Left, b.Button.Rect.Right - b.Button.Rect.Left);
  EXPECT_TRUE(a->Enabled()) << "held: it watches the mouse";
  b.Tick(3);
  EXPECT_EQ(recorder.Alphas(glow).size(), 10u) << "nothing more while the mouse stays";

  recorder.Pushes.clear();
  StartSBAnimation(&b.Button, 0, 10, false, b.Provider);
  EXPECT_EQ(b.Button.Timer, a) << "the same animation turns round";
  b.Tick(10);
  EXPECT_EQ(recorder.Alphas(glow), (std::vector<int>{250, 225, 200, 175, 150, 125, 100, 75, 50, 25}));
  b.Tick(1);
  EXPECT_EQ(a->GlowForm, nullptr);
  EXPECT_FALSE(IsWindow(glow)) << "faded out: the window is freed";
  EXPECT_FALSE(a->Enabled());
  EXPECT_EQ(a->State, -1);
}

// A press shows the pressed picture at once and leaves no timer running,
// on an idle button and on a hot one.
TEST(TitleButtonFade, APressShowsAtOnceWithoutTimer) {
  for (bool hotFirst : {false, true}) {
    TButtonForm b;
    b.MouseOnButton(true);
    if (hotFirst) {
      StartSBAnimation(&b.Button, 1, 10, true, b.Provider);
      b.Tick(4);
    }
    TLayeredRecorder recorder;
    StartSBAnimation(&b.Button, 2, 1, true, b.Provider);
    TacSBAnimation* a = b.Button.Timer;
    ASSERT_NE(a, nullptr);
    ASSERT_NE(a->GlowForm, nullptr);
    EXPECT_EQ(recorder.Alphas(), std::vector<int>{255}) << hotFirst;
    EXPECT_FALSE(a->Enabled()) << hotFirst;
  }
}

// The mouse left a held button: one WM_MOUSELEAVE to the form, whose handler
// starts the fade-out.
TEST(TitleButtonFade, LeavingAHeldButtonTellsTheFormOnce) {
  TButtonForm b;
  b.MouseOnButton(true);
  StartSBAnimation(&b.Button, 1, 10, true, b.Provider);
  b.Tick(10);
  TMessageCounter counter;
  b.MouseOnButton(false);
  b.Tick(3);
  EXPECT_EQ(counter.Messages(b.Form->Handle(), WM_MOUSELEAVE), 1);
  EXPECT_FALSE(b.Button.Timer->Enabled());
}

TEST(TitleButtonFade, WithoutProviderNothingStarts) {
  TsCaptionButton button;
  StartSBAnimation(&button, 1, 10, true, nullptr);
  EXPECT_EQ(button.Timer, nullptr);
}

}  // namespace
