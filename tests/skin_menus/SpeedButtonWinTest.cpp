// A class-library speed button named in the skin manager's speed-button list,
// on a skinned form: painted from "SPEEDBUTTON" by the handler the form's
// control adapter puts in front of its WindowProc, glyph and caption centred
// together, both shifted by a pixel while pressed (when the skin asks), and
// given its own WindowProc back when the skin goes.
#include <gtest/gtest.h>

#include "MenuFixture.h"
#include "classlib/ui/Buttons.h"
#include "skin/forms/sSkinProviderAdapter.h"
#include "skin/subclass/acSBUtilsSpeedButton.h"
// After the class library, whose names the system's macros would take.
#include "TestSupport.h"

namespace {

using namespace menutest;
using testsupport::PumpMessages;

constexpr std::uint32_t kGlyph = 0xC020C0;
constexpr int kBtnW = 90, kBtnH = 30, kGlyphSide = 12;

// The bounding box of the pixels of one colour in a rectangle of pixels
// (left, top, right, bottom inclusive; left > right when none).
struct TBox {
  int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1;
  bool Empty() const { return Right < Left; }
};
TBox BoxOf(const std::vector<std::uint32_t>& Px, int W, std::uint32_t Color) {
  TBox b;
  for (size_t i = 0; i < Px.size(); ++i)
    if (Px[i] == Color) {
      const int x = static_cast<int>(i % W), y = static_cast<int>(i / W);
      b.Left = std::min(b.Left, x);
      b.Right = std::max(b.Right, x);
      b.Top = std::min(b.Top, y);
      b.Bottom = std::max(b.Bottom, y);
    }
  return b;
}

class SpeedButtons : public testing::Test {
 protected:
  void SetUp() override {
    Manager = Create<TsSkinManager>(nullptr);
    Manager->SetSkinDirectory(skintest::Ansi(Skins.Path()));
    Manager->SetSkinningRules(TacSkinningRules{srStdForms, srStdDialogs, srThirdParty});
    if (Manager->ThirdLists[tpSpeedButton]->IndexOf("TSpeedButton") < 0)
      Manager->ThirdLists[tpSpeedButton]->Add("TSpeedButton");
    Manager->SetSkinName("Menus");
    ASSERT_TRUE(Manager->Active());
    Form = Create<TForm>(Application, 0);
    Form->SetBounds(80, 80, 320, 200);
    Button = Create<TSpeedButton>(Form);
    Button->SetParent(Form);
    Button->SetBounds(20, 20, kBtnW, kBtnH);
    Button->SetCaption("Ab");
    Button->SetGroupIndex(1);
    Button->SetAllowAllUp(true);
    TBitmap glyph;
    glyph.SetSize(kGlyphSide, kGlyphSide);
    // A frame of the glyph's transparent colour (its bottom-left pixel) around its colour.
    glyph.Canvas()->Brush()->SetColor(clWhite);
    glyph.Canvas()->FillRect(TRect(0, 0, kGlyphSide, kGlyphSide));
    glyph.Canvas()->Brush()->SetColor(ToTColor(kGlyph));
    glyph.Canvas()->FillRect(TRect(1, 1, kGlyphSide - 1, kGlyphSide - 1));
    Button->SetGlyph(&glyph);
    OwnProc = Button->WindowProc;
    Provider = Create<TsSkinProvider>(Form);
    SetCursorPos(5, 5);  // the mouse away from the button
    Form->Show();
    PumpMessages(100);
  }
  void TearDown() override {
    if (Form) Form->Free();
    if (Manager) Manager->Free();
    PumpMessages(20);
  }
  // What the button shows on screen.
  std::vector<std::uint32_t> Shown() {
    Button->Repaint();
    PumpMessages(30);
    POINT p{Button->Left(), Button->Top()};
    ClientToScreen(Form->Handle(), &p);
    return ScreenPixels(RECT{p.x, p.y, p.x + kBtnW, p.y + kBtnH});
  }

  TMenuSkins Skins;
  TsSkinManager* Manager = nullptr;
  TForm* Form = nullptr;
  TSpeedButton* Button = nullptr;
  TsSkinProvider* Provider = nullptr;
  TWndMethod OwnProc;
};

TEST_F(SpeedButtons, AListedSpeedButtonIsPaintedFromTheSkinWithGlyphAndCaptionCentredTogether) {
  ASSERT_TRUE(Provider->Adapter);
  ASSERT_EQ(Provider->Adapter->GraphItems.size(), 1u);
  EXPECT_FALSE(Button->WindowProc == OwnProc);
  EXPECT_EQ(Button->Perform(SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_HOOKED), 0), 1);
  const std::vector<std::uint32_t> px = Shown();
  testsupport::Screenshot(Form->Handle(), "menus/speed-button");
  EXPECT_EQ(px[static_cast<size_t>(2) * kBtnW + 2], kSpeedBtn);
  const TBox glyph = BoxOf(px, kBtnW, kGlyph), text = BoxOf(px, kBtnW, kSpeedBtnFont);
  ASSERT_FALSE(glyph.Empty());
  ASSERT_FALSE(text.Empty());
  EXPECT_EQ(glyph.Right - glyph.Left + 1, kGlyphSide - 2);
  EXPECT_GT(text.Left, glyph.Right) << "the caption right of the glyph";
  // Together they sit in the middle: as much room left of the glyph as right of the caption.
  EXPECT_NEAR(glyph.Left - 1, kBtnW - 1 - text.Right, 3);
  EXPECT_NEAR((glyph.Top + glyph.Bottom) / 2.0, (kBtnH - 1) / 2.0, 1.0);
}

TEST_F(SpeedButtons, PressedContentMovesByOnePixelOnlyWithShiftContentOnClick) {
  const std::vector<std::uint32_t> up = Shown();
  const TBox glyphUp = BoxOf(up, kBtnW, kGlyph), textUp = BoxOf(up, kBtnW, kSpeedBtnFont);
  for (bool shift : {true, false}) {
    SCOPED_TRACE(shift);
    Manager->ButtonsOptions()->ShiftContentOnClick = shift;
    Button->SetDown(true);
    const std::vector<std::uint32_t> down = Shown();
    Button->SetDown(false);
    const TBox glyph = BoxOf(down, kBtnW, kGlyph), text = BoxOf(down, kBtnW, kSpeedBtnFont);
    ASSERT_FALSE(glyph.Empty());
    ASSERT_FALSE(text.Empty());
    const int d = shift ? 1 : 0;
    EXPECT_EQ(glyph.Left, glyphUp.Left + d);
    EXPECT_EQ(glyph.Top, glyphUp.Top + d);
    EXPECT_EQ(text.Left, textUp.Left + d);
    EXPECT_EQ(text.Top, textUp.Top + d);
  }
}

TEST_F(SpeedButtons, UnloadingTheSkinGivesTheButtonItsOwnWindowProcBack) {
  EXPECT_FALSE(Button->WindowProc == OwnProc);
  Manager->SetActive(false);
  PumpMessages(50);
  EXPECT_TRUE(Button->WindowProc == OwnProc);
  const std::vector<std::uint32_t> px = Shown();
  EXPECT_NE(px[static_cast<size_t>(2) * kBtnW + 2], kSpeedBtn) << "the button paints itself again";
}

}  // namespace
