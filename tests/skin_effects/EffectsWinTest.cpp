// Backgrounds, colours and effects of skin states and the window and control
// functions, on a skinned form with hand-made controls under Wine: the
// answer to the background question (the skin command 34), plain colours,
// the font section of children, tints, a control's section by name, and
// controls copied or painted through bitmaps.
#include <gtest/gtest.h>

#include "EffectsSupport.h"
#include "skin/core/sVclUtils.h"
#include "skin/graphics/sGraphUtils.h"

#include "TestSupport.h"

namespace {

using namespace skinfx;

constexpr TColor kFormColor = 0x336699;
constexpr TColor kSolid = 0x0000FF;
constexpr const char* kBorder = "BORDERSMASK=^0000^0000^0030^0030^0003^0007^0005^0002^1^0^0^0\r\n";
constexpr const char* kHiddenBorder = "BORDERSMASK=^0000^0000^0030^0030^0003^0007^0005^0002^1^0^2^0\r\n";

class SkinEffects : public testing::Test {
 protected:
  void SetUp() override {
    Manager = skintest::LoadFolderSkin(
        Dir, "fx",
        SkinTextOf({{"FORMGRAD", kFormColor, 0, "GRADIENTPERCENT=50\r\nGRADIENTDATA=16777215;0;100;0;0\r\nGIVEOWNFONT=TRUE\r\n"},
                    {"CLEAR", 0x123456, 100},
                    {"HALF", 0x000000, 50},
                    {"SIXTY", 0x808080, 60},
                    {"FORTY", 0x808080, 40},
                    {"FORTYOWN", 0x808080, 40, "GIVEOWNFONT=TRUE\r\n"},
                    {"SOLID", kSolid, 0},
                    {"BORDERED", kSolid, 0, kBorder},
                    {"HIDDENBORDER", kSolid, 0, kHiddenBorder}}));
    ASSERT_TRUE(Manager->CommonSkinData.Active);
    Form = Create<TSkinnedForm>(Application, 0);
    Form->SetBounds(40, 40, 300, 200);
    Form->SkinData()->SetSkinSection("FORMGRAD");
    Form->SkinData()->Loaded();
    Form->Show();
    InitCacheBmp(Form->SkinData());
  }
  void TearDown() override {
    if (Form) Form->Free();
    if (Manager) Manager->Free();
  }
  TLoggedWinControl* Win(const AnsiString& Section, TWinControl* Parent, TRect Bounds = TRect{10, 10, 90, 35}) {
    return NewControl<TLoggedWinControl>(Parent ? Parent : Form, 9, Section, Bounds);
  }
  // The control's answer to the background question.
  static TacBGInfo Ask(TWinControl* C) {
    TacBGInfo info;
    SendMessageW(C->Handle(), SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_BG_INFO), reinterpret_cast<LPARAM>(&info));
    return info;
  }

  skintest::TSkinDir Dir;
  TsSkinManager* Manager = nullptr;
  TSkinnedForm* Form = nullptr;
};

// ------------------------------------------------------------ command 34

TEST_F(SkinEffects, TransparentControlsPassTheCachedFormsImageWithTheirPositionsAdded) {
  TLoggedWinControl* outer = Win("CLEAR", Form, TRect{10, 20, 210, 120});
  TLoggedWinControl* inner = Win("CLEAR", outer, TRect{5, 7, 85, 37});
  outer->SkinData()->CacheBmp.reset();  // transparent controls without an image of their own
  inner->SkinData()->CacheBmp.reset();
  const TacBGInfo info = Ask(inner);
  EXPECT_EQ(info.BgType, btCache);
  EXPECT_EQ(info.Bmp, Form->SkinData()->CacheBmp.get());
  EXPECT_EQ(info.Offset.X, 15);
  EXPECT_EQ(info.Offset.Y, 27);
}

TEST_F(SkinEffects, OpaquePlainSectionAnswersItsColourAndTheMarginsOfItsBorder) {
  TLoggedWinControl* bordered = Win("BORDERED", Form);
  TacBGInfo info = Ask(bordered);
  EXPECT_EQ(info.BgType, btFill);
  EXPECT_EQ(info.Color, kSolid);
  EXPECT_EQ(info.Borders, (TRect{3, 7, 5, 2}));
  EXPECT_EQ(info.Bmp, bordered->SkinData()->CacheBmp.get());
  // A border image that is not drawn leaves the colour alone.
  info = Ask(Win("HIDDENBORDER", Form));
  EXPECT_EQ(info.BgType, btFill);
  EXPECT_EQ(info.Color, kSolid);
  EXPECT_EQ(info.Bmp, nullptr);
  EXPECT_EQ(info.Borders, TRect{});
}

TEST_F(SkinEffects, PartlyTransparentControlAnswersByItsCache) {
  TLoggedWinControl* half = Win("HALF", Form);
  TsCommonData* data = half->SkinData();
  data->Updating = false;
  TacBGInfo info = Ask(half);
  EXPECT_EQ(info.BgType, btNotReady) << "an empty cache";
  EXPECT_TRUE(data->Updating);
  InitCacheBmp(data);
  info = Ask(half);
  EXPECT_EQ(info.BgType, btCache);
  EXPECT_EQ(info.Bmp, data->CacheBmp.get());
  data->CacheBmp.reset();
  info = Ask(half);
  EXPECT_EQ(info.BgType, btFill) << "no cache at all";
  EXPECT_EQ(info.Color, sFuchsia);
}

TEST_F(SkinEffects, PleaseDrawCopiesTheCachedFormFromTheOffset) {
  FillBitmapRect(Form->SkinData()->CacheBmp.get(), TRect{0, 0, 300, 200}, 0x0000FF00);
  FillBitmapRect(Form->SkinData()->CacheBmp.get(), TRect{30, 40, 50, 60}, 0x00FF0000);
  std::unique_ptr<TacBitmap> target = CreateBmp32(40, 40);
  FillBitmapRect(target.get(), TRect{0, 0, 40, 40}, 0x00FFFFFF);
  TacBGInfo info;
  info.PleaseDraw = true;
  info.DC = target->Canvas()->Handle();
  info.R = TRect{5, 5, 25, 25};
  info.Offset = TPoint{25, 35};
  SendMessageW(Form->Handle(), SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_BG_INFO), reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.BgType, btCache);
  EXPECT_EQ(BitmapPixel(target.get(), 5, 5), 0x00FF00) << "the cache at (25, 35)";
  EXPECT_EQ(BitmapPixel(target.get(), 10, 10), 0xFF0000) << "the cache at (30, 40)";
  EXPECT_EQ(BitmapPixel(target.get(), 4, 4), 0xFFFFFF) << "outside R";
  EXPECT_EQ(BitmapPixel(target.get(), 25, 25), 0xFFFFFF) << "outside R";
}

// ------------------------------------------------------------ colours

TEST_F(SkinEffects, BackgroundColourBySectionTransparency) {
  TLoggedWinControl* orphan = Create<TLoggedWinControl>(nullptr);
  TFreeAtEnd<TLoggedWinControl> free{orphan};
  orphan->SkinData()->SetSkinSection("CLEAR");
  ASSERT_TRUE(orphan->SkinData()->Skinned());
  EXPECT_EQ(GetBGColor(orphan->SkinData(), 0), sFuchsia) << "transparent without parent";

  EXPECT_EQ(GetBGColor(Win("SOLID", Form)->SkinData(), 0), kSolid);
  EXPECT_EQ(GetBGColor(Win("CLEAR", Form)->SkinData(), 0), kFormColor) << "the parent's colour";
  // Half the form's colour (blue 0x33, green 0x66, red 0x99, truncated) and half black.
  EXPECT_EQ(GetBGColor(Win("HALF", Form)->SkinData(), 0), 0x19334C);

  TLoggedWinControl* custom = Win("SOLID", Form);
  custom->SetColor(0x00ABCDEF);
  custom->SkinData()->SetCustomColor(true);
  EXPECT_EQ(GetBGColor(custom->SkinData(), 0), 0x00ABCDEF);
  TLoggedWinControl* plain = Win("NOSUCHSECTION", Form);
  plain->SetColor(0x00010203);
  EXPECT_EQ(GetBGColor(plain->SkinData(), 0), 0x00010203) << "not skinned: its own colour";
}

TEST_F(SkinEffects, ControlColourIsTheAnswerOfASkinnedControlElseItsColour) {
  EXPECT_EQ(GetControlColor(static_cast<TControl*>(nullptr)), sFuchsia);
  EXPECT_EQ(GetControlColor(static_cast<HWND>(nullptr)), sFuchsia);
  TLoggedWinControl* skinned = Win("SOLID", Form);
  EXPECT_EQ(GetControlColor(skinned), kSolid);
  EXPECT_EQ(GetControlColor(skinned->Handle()), kSolid);
  TCustomControl* plain = Create<TCustomControl>(Form);
  plain->SetParent(Form);
  plain->SetColor(clBtnFace);
  EXPECT_EQ(GetControlColor(plain), ColorToRGB(clBtnFace));
}

TEST_F(SkinEffects, FontSectionClimbsThroughParentsMoreThanHalfTransparent) {
  const Integer formSection = Manager->GetSkinIndex("FORMGRAD");
  const struct {
    const char* Panel;
    Integer Expected;
  } cases[] = {
      {"SIXTY", formSection},                              // climbs to the form, which gives its font
      {"FORTY", -5},                                       // stops at a panel without a font of its own
      {"FORTYOWN", Manager->GetSkinIndex("FORTYOWN")},     // stops at a panel with one
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Panel);
    TLoggedWinControl* panel = Win(c.Panel, Form, TRect{10, 10, 200, 150});
    TLoggedWinControl* child = Win("SOLID", panel);
    EXPECT_EQ(GetFontIndex(child, -5, Manager, 0), c.Expected);
  }
  EXPECT_EQ(GetFontIndex(Create<TLoggedWinControl>(Form), -5, Manager, 0), -5) << "no parent";
}

TEST_F(SkinEffects, SaturationPercentIsScaledInIntegersRoundedHalfToEven) {
  const struct {
    Integer Percent, Value;
  } cases[] = {{50, 128}, {150, 255}, {-50, -128}, {10, 26}, {30, 76}, {-150, -255}, {0, 0}, {100, 255}};
  for (const auto& c : cases) EXPECT_EQ(SaturationValue(c.Percent), c.Value) << c.Percent;
}

TEST_F(SkinEffects, TintingACacheUsesTheScaledSaturationAndSkipsFuchsia) {
  constexpr std::uint32_t kPixel = 0xFF204080;  // alpha, red, green, blue
  for (const auto& [percent, value] : {std::pair{50, 128}, std::pair{150, 255}}) {
    SCOPED_TRACE(percent);
    std::unique_ptr<TacBitmap> bmp = CreateBmp32(2, 1);
    TPixelView32 px = PixelsOf(bmp.get());
    px.Row(0)[0] = kPixel;
    px.Row(0)[1] = 0x00FF00FF;
    TsCtrlSkinData data(nullptr, false);
    data.SetSaturation(percent);
    UpdateBmpColors(bmp.get(), &data, false, 0);
    TsColor expected, off;
    expected.C = off.C = kPixel;
    ChangeColorSaturation(expected.I, value);
    ChangeColorSaturation(off.I, value - 1);
    ASSERT_NE(expected.C, off.C) << "the pixel tells the value apart";
    EXPECT_EQ(PixelsOf(bmp.get()).Row(0)[0], expected.C);
    EXPECT_EQ(PixelsOf(bmp.get()).Row(0)[1], 0x00FF00FFu) << "fuchsia is left";
  }
}

TEST_F(SkinEffects, BorderMaxWidthIsTheWidestMargin) {
  EXPECT_EQ(SkinBorderMaxWidth(Win("BORDERED", Form)->SkinData()), 7);
  EXPECT_EQ(SkinBorderMaxWidth(Win("HIDDENBORDER", Form)->SkinData()), 0);
  EXPECT_EQ(SkinBorderMaxWidth(Win("SOLID", Form)->SkinData()), 0);
}

// ------------------------------------------------------------ sections by name

TEST_F(SkinEffects, TrySetSkinSectionGivesAControlItsSection) {
  TLoggedWinControl* c = Win("SOLID", Form);
  EXPECT_TRUE(TrySetSkinSection(c, "bordered"));
  EXPECT_EQ(c->SkinData()->SkinSection(), "BORDERED");
  EXPECT_FALSE(TrySetSkinSection(nullptr, "SOLID"));
  TCustomControl* plain = Create<TCustomControl>(Form);
  EXPECT_FALSE(TrySetSkinSection(plain, "SOLID")) << "a control without a skin state";
}

// ------------------------------------------------------------ painting

TEST_F(SkinEffects, SkinPaintToOfAnInvisibleControlLeavesItsParentsColour) {
  TLoggedWinControl* parent = Win("SOLID", Form, TRect{10, 10, 210, 110});
  TLoggedWinControl* hidden = Win("SOLID", parent, TRect{3, 4, 33, 19});
  hidden->SetVisible(false);
  std::unique_ptr<TacBitmap> bmp = CreateBmp32(100, 60);
  FillBitmapRect(bmp.get(), TRect{0, 0, 100, 60}, 0x00FFFFFF);
  SkinPaintTo(bmp.get(), hidden, 10, 20);
  EXPECT_EQ(BitmapPixel(bmp.get(), 10, 20), kSolid);
  EXPECT_EQ(BitmapPixel(bmp.get(), 39, 34), kSolid);
  EXPECT_EQ(BitmapPixel(bmp.get(), 40, 34), 0xFFFFFF);
  EXPECT_EQ(BitmapPixel(bmp.get(), 39, 35), 0xFFFFFF);
  EXPECT_EQ(BitmapPixel(bmp.get(), 9, 20), 0xFFFFFF);
}

TEST_F(SkinEffects, SkinPaintToCopiesAControlWithItsChildWindows) {
  auto* parent = NewControl<TLoggedWinControl>(Form, 9, "SOLID", TRect{10, 10, 110, 70});
  NewControl<TLoggedWinControl>(parent, 9, "FORTY", TRect{20, 10, 60, 30});
  auto* plain = Create<TCustomControl>(parent);  // not skinned: copied by the class library
  plain->SetBounds(70, 40, 20, 10);
  plain->SetColor(0x0000FF00);
  plain->SetParent(parent);
  testsupport::PumpMessages(50);
  testsupport::Screenshot(Form->Handle(), "skin_paint_to_form");
  std::unique_ptr<TacBitmap> bmp = CreateBmp32(100, 60);
  FillBitmapRect(bmp.get(), TRect{0, 0, 100, 60}, 0x00FFFFFF);
  SkinPaintTo(bmp.get(), parent);
  EXPECT_EQ(BitmapPixel(bmp.get(), 5, 5), kSolid);
  EXPECT_EQ(BitmapPixel(bmp.get(), 25, 15), 0x808080) << "the child at its place";
  EXPECT_EQ(BitmapPixel(bmp.get(), 60, 30), kSolid);
  EXPECT_EQ(BitmapPixel(bmp.get(), 75, 45), 0x00FF00) << "the plain child";
}

TEST_F(SkinEffects, PaintControlsPaintsGraphicChildrenOverTheBackgroundAtTheOffset) {
  TLoggedWinControl* owner = Win("SOLID", Form, TRect{10, 10, 110, 70});
  auto* graphic = NewControl<TLoggedGraphicControl>(owner, 9, "FORTY", TRect{5, 6, 25, 16});
  ASSERT_EQ(graphic->Parent(), owner);
  std::unique_ptr<TacBitmap> bmp = CreateBmp32(200, 100);
  FillBitmapRect(bmp.get(), TRect{0, 0, 200, 100}, 0x00FFFFFF);
  PaintControls(bmp->Canvas()->Handle(), owner, false, TPoint{100, 0});
  EXPECT_EQ(BitmapPixel(bmp.get(), 105, 6), 0x808080);
  EXPECT_EQ(BitmapPixel(bmp.get(), 124, 15), 0x808080);
  EXPECT_EQ(BitmapPixel(bmp.get(), 125, 15), 0xFFFFFF) << "only the child's rectangle";
  EXPECT_EQ(BitmapPixel(bmp.get(), 5, 6), 0xFFFFFF) << "not at the child's own place";
  // Called while it runs, it returns at once.
  FillBitmapRect(bmp.get(), TRect{0, 0, 200, 100}, 0x00FFFFFF);
  acGraphPainting = true;
  PaintControls(bmp->Canvas()->Handle(), owner, false, TPoint{100, 0});
  acGraphPainting = false;
  EXPECT_EQ(BitmapPixel(bmp.get(), 105, 6), 0xFFFFFF);
}

TEST_F(SkinEffects, ParentBackgroundFillsTheBitmapOrCopiesTheParentsImage) {
  FillBitmapRect(Form->SkinData()->CacheBmp.get(), TRect{0, 0, 300, 200}, 0x0000FF00);
  FillBitmapRect(Form->SkinData()->CacheBmp.get(), TRect{40, 50, 45, 55}, 0x00FF0000);
  Form->SkinData()->BGChanged = false;
  TLoggedWinControl* onForm = Win("SOLID", Form, TRect{40, 50, 60, 60});
  TLoggedWinControl* onSolid = Win("SOLID", onForm, TRect{2, 2, 12, 7});
  std::unique_ptr<TacBitmap> bmp = std::make_unique<TacBitmap>();
  PaintParentBG(onForm, bmp.get());
  EXPECT_EQ(bmp->Width(), 20);
  EXPECT_EQ(bmp->Height(), 10);
  EXPECT_EQ(bmp->PixelFormat(), pf32bit);
  EXPECT_EQ(BitmapPixel(bmp.get(), 0, 0), 0xFF0000) << "the form's image at the control's place";
  EXPECT_EQ(BitmapPixel(bmp.get(), 5, 5), 0x00FF00);
  PaintParentBG(onSolid, bmp.get());
  EXPECT_EQ(bmp->Width(), 10);
  EXPECT_EQ(BitmapPixel(bmp.get(), 9, 4), kSolid) << "a plain parent's colour";
}

TEST_F(SkinEffects, AllEditSelectedOnlyWhenTheWholeTextIs) {
  TEdit* edit = Create<TEdit>(Form);
  edit->SetParent(Form);
  edit->SetText("weights");
  edit->SelectAll();
  EXPECT_TRUE(AllEditSelected(edit));
  edit->SetSelStart(1);
  edit->SetSelLength(6);
  EXPECT_FALSE(AllEditSelected(edit));
}

TEST_F(SkinEffects, OutputWindowIsAHiddenPopUpOwnedByTheApplication) {
  TOutputWindow* out = Create<TOutputWindow>(Form);
  EXPECT_FALSE(out->Visible());
  EXPECT_EQ(out->Caption(), "acOutputWindow");
  EXPECT_EQ(out->Tag(), 256);
  EXPECT_EQ(out->Color(), sFuchsia);
  const HWND wnd = out->Handle();
  // Top-level windows always clip their siblings: the system adds the style.
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(wnd, GWL_STYLE)) & ~(WS_VISIBLE | WS_CLIPSIBLINGS), DWORD(WS_POPUP));
  EXPECT_EQ(GetWindow(wnd, GW_OWNER), Application->Handle());
  EXPECT_EQ(SendMessageW(wnd, WM_ERASEBKGND, 0, 0), 1) << "nothing erased";
}

TEST_F(SkinEffects, LayoutAndWindowQueries) {
  Win("SOLID", Form, TRect{0, 0, 10, 10})->SetAlign(alTop);
  Win("SOLID", Form, TRect{0, 0, 10, 12})->SetAlign(alTop);
  NewControl<TLoggedGraphicControl>(Form, 9, "SOLID", TRect{0, 0, 10, 5})->SetAlign(alTop);
  Win("SOLID", Form, TRect{0, 0, 17, 10})->SetAlign(alLeft);
  EXPECT_EQ(GetAlignShift(Form, alTop), 22);
  EXPECT_EQ(GetAlignShift(Form, alTop, true), 27);
  EXPECT_EQ(GetAlignShift(Form, alLeft), 17);
  EXPECT_EQ(GetAlignShift(Form, alClient), 0);
  EXPECT_EQ(acWorkRect(TPoint{-20000, -20000}), TRect{});
  const TRect work = acWorkRect(TPoint{10, 10});
  EXPECT_GT(work.Width(), 0);
  TLoggedWinControl* c = Win("SOLID", Form);
  EXPECT_EQ(GetWndClassName(c->Handle()), "TLoggedWinControl");
  EXPECT_EQ(GetParentFormHandle(c->Handle()), Form->Handle());
  const TRect client = acClientRect(Form->Handle());
  RECT wr, cr;
  GetWindowRect(Form->Handle(), &wr);
  GetClientRect(Form->Handle(), &cr);
  EXPECT_EQ(client.Width(), cr.right);
  EXPECT_GT(client.Top, 0) << "below the caption";
  EXPECT_TRUE(LeftToRight(c));
  EXPECT_FALSE(LeftToRight(c, false));
  EXPECT_EQ(GetStringFlags(c, taRightJustify), UINT(DT_RIGHT | DT_EXPANDTABS | DT_VCENTER));
}

TEST_F(SkinEffects, ChildrenAreEnabledExceptPanelsAndTheirChildren) {
  TLoggedWinControl* box = Win("SOLID", Form, TRect{0, 0, 200, 100});
  TLoggedWinControl* inner = Win("SOLID", box);
  TCustomPanel* panel = Create<TPanel>(Form);
  panel->SetParent(Form);
  TLoggedWinControl* inPanel = Win("SOLID", panel);
  SetControlsEnabled(Form, false);
  EXPECT_FALSE(box->Enabled());
  EXPECT_FALSE(inner->Enabled());
  EXPECT_TRUE(panel->Enabled());
  EXPECT_TRUE(inPanel->Enabled());
  SetControlsEnabled(Form, true, false);
  EXPECT_TRUE(box->Enabled());
  EXPECT_FALSE(inner->Enabled()) << "not recursive";
}

}  // namespace

namespace {

// A hint shown at a point: below and right of it, kept inside the work area,
// on top of every window without taking the focus.
TEST(HintAtAPoint, StandsBelowRightOfThePointInsideTheWorkArea) {
  EXPECT_EQ(acShowHintWnd("", TPoint{100, 100}), nullptr);
  const TRect work = acWorkRect(TPoint{100, 100});
  ASSERT_GT(work.Width(), 200);
  const struct {
    const char* Name;
    TPoint P;
    bool FitsRight;  // it stands at P.X + 8
    bool FitsBelow;  // it stands at P.Y + 16
  } cases[] = {{"free", {100, 100}, true, true},
               {"right_edge", {work.Right - 5, 100}, false, true},
               {"bottom_edge", {100, work.Bottom - 3}, true, false}};
  const HWND focus = GetForegroundWindow();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    THintWindow* hint = acShowHintWnd(Utf8ToAnsi("Подсказка"), c.P);
    ASSERT_NE(hint, nullptr);
    RECT r;
    GetWindowRect(hint->Handle(), &r);
    EXPECT_TRUE(IsWindowVisible(hint->Handle()));
    EXPECT_TRUE(GetWindowLongW(hint->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetForegroundWindow(), focus) << "the focus stays";
    EXPECT_EQ(r.left, c.FitsRight ? c.P.X + 8 : work.Right - (r.right - r.left));
    EXPECT_EQ(r.right == work.Right, !c.FitsRight) << "moved left to meet the work area's right edge";
    // The window is 4 pixels taller than the fitted rectangle.
    EXPECT_EQ(r.top, c.FitsBelow ? c.P.Y + 16 : work.Bottom - (r.bottom - r.top - 4));
    testsupport::PumpMessages(30);
    testsupport::Screenshot(hint->Handle(), std::string("hint_") + c.Name);
    hint->Free();
  }
}

}  // namespace
