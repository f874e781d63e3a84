// The skinned memo made as the monitor's channel panels make theirs (in
// code, on a skinned panel): its subclass object, its colours from the
// section or its own, the hot look on focus by the section's state count,
// the removed skin, and its plain look without a skin manager.
#include <gtest/gtest.h>

#include "ControlsFixture.h"
#include "skin/controls/sMemo.h"
#include "skin/controls/sPanel.h"
#include "skin/core/Smessages.h"
#include "skin/core/sVclUtils.h"

using namespace controlsfixture;

namespace {

class MemoTest : public testing::Test {
 protected:
  void Start(TVariant Skin) {
    Manager = NewManager(Skins, Skin);
    ASSERT_TRUE(Manager->CommonSkinData.Active);
    Form = NewForm();
    Panel = Create<TsPanel>(Form);
    Panel->SetBounds(10, 10, 330, 120);
    Panel->SetParent(Form);
  }
  void TearDown() override {
    if (Form) Form->Free();
    if (Manager) Manager->Free();
  }
  // A value memo as a channel panel clones it: made in code, the form's
  // grey and black, read-only, no word wrap, section "BAR".
  TsMemo* NewMemo(const char* Text, bool CustomColor = false) {
    auto* m = Create<TsMemo>(Form);
    m->SetBounds(10, 10, 150, 40);
    m->SetColor(clBtnFace);
    m->Font()->SetColor(clBlack);
    m->SetReadOnly(true);
    m->SetWordWrap(false);
    m->SkinData()->SetSkinSection("BAR");
    m->SkinData()->SetCustomColor(CustomColor);
    m->SetText(Text);
    m->SetParent(Panel);
    testsupport::PumpMessages(80);
    return m;
  }
  // How many client pixels have the colour.
  static int Count(TsMemo* M, std::uint32_t Rgb) {
    RECT c{};
    GetClientRect(M->WindowHandle(), &c);
    int n = 0;
    for (int y = 0; y < c.bottom; ++y)
      for (int x = 0; x < c.right; ++x)
        if (ScreenPixel(M->WindowHandle(), x, y) == Rgb) ++n;
    return n;
  }
  static std::uint32_t Corner(TsMemo* M) {
    RECT c{};
    GetClientRect(M->WindowHandle(), &c);
    return ScreenPixel(M->WindowHandle(), c.right - 2, c.bottom - 2);
  }
  // A pixel of the window's frame (window coordinates) from the screen.
  static std::uint32_t FramePixel(TsMemo* M, int X, int Y) {
    RECT w{};
    GetWindowRect(M->WindowHandle(), &w);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, w.left + X, w.top + Y);
    ReleaseDC(nullptr, screen);
    return ToRgb(c);
  }

  TControlsSkins Skins;
  TsSkinManager* Manager = nullptr;
  TForm* Form = nullptr;
  TsPanel* Panel = nullptr;
};

TEST_F(MemoTest, AMemoMadeInCodeTakesTheSkinWhenItFirstShows) {
  Start(svControls);
  TsMemo* m = NewMemo("123,45");
  EXPECT_NE(m->ScrollWnd(), nullptr) << "the subclass object came when it showed";
  EXPECT_EQ(Corner(m), kControls.Bar.Color) << "the client in the section's colour";
  EXPECT_GT(Count(m, kControls.Bar.FontColor), 5) << "the text in its font colour";
  EXPECT_EQ(Count(m, 0x000000), 0) << "nothing of the form's black";
  EXPECT_EQ(FramePixel(m, 0, 20), kControls.BarBorder) << "the frame from the section's border";
  EXPECT_EQ(m->Color(), ToTColor(kControls.Bar.Color));
}

TEST_F(MemoTest, WithCustomColorTheFormsColoursStay) {
  Start(svControls);
  TsMemo* m = NewMemo("123,45", true);
  m->SetColor(ToTColor(0xF0F000));
  m->Font()->SetColor(ToTColor(0x800000));
  testsupport::PumpMessages(60);
  EXPECT_EQ(Corner(m), 0xF0F000u);
  EXPECT_GT(Count(m, 0x800000), 5);
  EXPECT_EQ(Count(m, kControls.Bar.FontColor), 0);
  EXPECT_EQ(m->Color(), ToTColor(0xF0F000));
}

TEST_F(MemoTest, FocusShowsTheHotLookOnlyWhenTheSectionHasTwoStates) {
  const struct {
    TVariant Skin;
    TLook Expected;
  } cases[] = {{svOneState, kControls.Bar}, {svControls, kControls.BarHot}};
  for (const auto& c : cases) {
    SCOPED_TRACE(kVariantNames[c.Skin]);
    Start(c.Skin);
    TsMemo* m = NewMemo("7");
    m->SetReadOnly(false);
    m->SetTabStop(true);
    m->SetFocus();
    testsupport::PumpMessages(100);
    ASSERT_TRUE(m->Focused());
    EXPECT_EQ(m->Color(), ToTColor(c.Expected.Color));
    EXPECT_EQ(m->Font()->Color(), ToTColor(c.Expected.FontColor));
    EXPECT_EQ(Corner(m), c.Expected.Color);
    TearDown();
    Form = nullptr;
    Manager = nullptr;
  }
}

TEST_F(MemoTest, ARemovedSkinRecreatesTheWindowAndKeepsTheText) {
  Start(svControls);
  TsMemo* m = NewMemo("1,5");
  const HWND before = m->WindowHandle();
  ASSERT_NE(m->ScrollWnd(), nullptr);
  SendMessageW(before, SM_ALPHACMD, AlphaCmdParam(ACMD_SKIN_UNLOADED), reinterpret_cast<LPARAM>(Manager));
  testsupport::PumpMessages(60);
  ASSERT_TRUE(m->HandleAllocated());
  EXPECT_NE(m->WindowHandle(), before);
  EXPECT_FALSE(IsWindow(before));
  EXPECT_EQ(m->Text(), "1,5");
  EXPECT_EQ(m->ScrollWnd(), nullptr);
  EXPECT_EQ(m->Color(), clWindow) << "the plain colours of an edit";
  EXPECT_EQ(m->Font()->Color(), clWindowText);
}

}  // namespace

TEST(MemoWithoutManager, AnswersHookedAndPrintsAsThePlainMemo) {
  ASSERT_EQ(DefaultManager, nullptr);
  TForm* form = NewForm();
  auto* skinned = Create<TsMemo>(form);
  auto* plain = Create<TMemo>(form);
  int left = 10;
  for (TCustomMemo* m : {static_cast<TCustomMemo*>(skinned), static_cast<TCustomMemo*>(plain)}) {
    m->SetBounds(left, 10, 150, 60);
    m->SetText("\xC7\xED\xE0\xF7\xE5\xED\xE8\xE5\r\n12,50");  // "Значение"
    m->SetParent(form);
    left += 170;
  }
  testsupport::PumpMessages(60);
  EXPECT_EQ(SendMessageW(skinned->WindowHandle(), SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_HOOKED), 0), 1);
  EXPECT_EQ(skinned->ScrollWnd(), nullptr);
  const TPrinted a = Print(skinned->WindowHandle()), b = Print(plain->WindowHandle());
  ASSERT_EQ(a.Px.size(), b.Px.size());
  EXPECT_TRUE(a.Px == b.Px);
  form->Free();
}
