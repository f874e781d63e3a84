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

// With glowing allowed, a hot close button shows the skin's glow picture,
// reaching out of the button by the skin's glow margin; without a glow
// picture in the skin the button's own hot picture shows, the button's size.
TEST(TitleButtonFade, AHotCloseButtonGlowsWithTheSkinsGlowPicture) {
  constexpr int kMargin = 5, kGlowW = 35, kGlowH = 28;
  auto image = [](int l, int t, int r, int b, int columns) {
    char text[96];
    std::snprintf(text, sizeof text, "^%04d^%04d^%04d^%04d^0000^0000^0000^0000^%d^0^0^0", l, t, r, b, columns);
    return std::string(text);
  };
  for (bool withGlow : {true, false}) {
    std::string text = "[GLOBALINFO]\r\nVERSION=8.00\r\nMASTERBITMAP=MASTER.BMP\r\nBICONCLOSEGLOWMARGIN=" +
                       std::to_string(kMargin) + "\r\nBICONCLOSE=" + image(0, 0, 75, 18, 3) + "\r\n";
    if (withGlow) text += "BICONCLOSEGLOW0=" + image(0, 40, kGlowW, 40 + kGlowH, 1) + "\r\n";
    text += "[FORM]\r\nCOLOR=8421504\r\nTRANSPARENCY=0\r\n";
    skinfixture::TPicture master(96, 96, 0x808080);
    master.Fill(0, 0, 75, 18, 0xC00000);
    master.Fill(0, 40, kGlowW, 40 + kGlowH, 0x00C000);
    skintest::TSkinDir dir;
    dir.Folder("glow", text, master);
    TsSkinManager* m = skintest::NewManager(dir);
    TFreeAtEnd<TsSkinManager> freeM{m};
    m->SetSkinName("glow");
    ASSERT_TRUE(m->Effects()->AllowGlowing);
    TButtonForm b;
    b.Provider->SkinData()->SetSkinManager(m);
    b.Button.ImageIndex = m->GetMaskIndex("GLOBALINFO", "BICONCLOSE");
    ASSERT_GE(b.Button.ImageIndex, 0);
    b.MouseOnButton(true);
    TLayeredRecorder recorder;
    StartSBAnimation(&b.Button, 1, 10, true, b.Provider);
    ASSERT_NE(b.Button.Timer, nullptr);
    const HWND glow = b.Button.Timer->GlowForm->Handle();
    const TRect form = WindowRect(b.Form->Handle()), over = WindowRect(glow);
    const int margin = withGlow ? kMargin : 0;
    EXPECT_EQ(over.Left, form.Left + b.Button.Rect.Left - margin) << withGlow;
    EXPECT_EQ(over.Top, form.Top + b.Button.Rect.Top - margin) << withGlow;
    EXPECT_EQ(over.Right - over.Left, withGlow ? kGlowW : b.Button.Rect.Right - b.Button.Rect.Left) << withGlow;
    EXPECT_EQ(over.Bottom - over.Top, withGlow ? kGlowH : b.Button.Rect.Bottom - b.Button.Rect.Top) << withGlow;
    ASSERT_FALSE(recorder.Pushes.empty());
    const TPixelView32 pixels = PixelsOf(recorder.Pushes.back().Picture.get());
    EXPECT_EQ(pixels.At(3, 3) & 0x00FF00, withGlow ? 0x00C000u : 0u) << "the glow's green, or the button's red";
  }
}

TEST(TitleButtonFade, WithoutProviderNothingStarts) {
  TsCaptionButton button;
  StartSBAnimation(&button, 1, 10, true, nullptr);
  EXPECT_EQ(button.Timer, nullptr);
}

}  // namespace
