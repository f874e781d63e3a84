// The skinned labels, bevels and group boxes on a skinned form with the
// fixture skin: the colours a label takes from the sections around it, its
// disabled look, its size; the sticky label's placement; the sections a bevel
// takes and what it leaves to its parent; the group box's caption strip and
// its answer to its children. Pixels are read back from the screen.
#include "TextControlsFixture.h"

#include "classlib/ui/ExtCtrls.h"
#include "skin/controls/sBevel.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sLabel.h"
#include "skin/graphics/sGraphUtils.h"

using namespace textctl;

namespace {

class TextControls : public TSkinnedFormTest {
 protected:
  // A group box of the section with no caption, as a panel for labels.
  TsGroupBox* Box(const char* SectionName, int X, int Y, int W, int H, TWinControl* Parent = nullptr) {
    auto* b = Put<TsGroupBox>(X, Y, W, H, Parent);
    b->SkinData()->SetSkinSection(SectionName);
    return b;
  }
  TsLabel* LabelOn(TWinControl* Parent, const char* Text = "WWWW") {
    auto* l = Put<TsLabel>(20, 30, 60, 16, Parent);
    l->SetCaption(Text);
    return l;
  }
  // The colours of the label's text: what differs from the background of
  // its rectangle on its parent.
  std::map<std::uint32_t, int> InkOfLabel(TsCustomLabel* L, std::uint32_t Background) {
    Settle();
    return InkOf(ShotOf(L->Parent()->WindowHandle(), L->Left(), L->Top(), L->Width(), L->Height()), Background);
  }
};

// ------------------------------------------------------------------ labels

TEST_F(TextControls, ALabelWithoutSectionWritesInTheFontColourOfTheNearestSectionThatIsOpaqueEnough) {
  const struct {
    const char* Name;
    const char* Outer;
    const char* Inner;  // nullptr: the label sits on the outer box
    std::uint32_t Background, Text;
  } cases[] = {
      {"on an opaque box", "DARK", nullptr, kDarkColor, kDarkFont},
      {"on a box half transparent", "DARK", "HALF", 0, kHalfFont},
      {"on a box more than half transparent: its parent's", "DARK", "GLASS", 0, kDarkFont},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TsGroupBox* outer = Box(c.Outer, 10, 10, 300, 200);
    TWinControl* parent = c.Inner ? Box(c.Inner, 10, 10, 200, 150, outer) : outer;
    TsLabel* label = LabelOn(parent);
    Settle();
    const TShot s = ShotOf(parent->WindowHandle(), label->Left(), label->Top(), label->Width(), label->Height());
    const std::uint32_t background = c.Inner ? s.At(0, 0) : c.Background;
    const auto ink = InkOf(s, background);
    ASSERT_EQ(ink.size(), 1u) << "one text colour, no embossing; first " << (ink.empty() ? "-" : Hex(ink.begin()->first));
    EXPECT_EQ(Hex(ink.begin()->first), Hex(c.Text));
    EXPECT_GT(ink.begin()->second, 10);
    outer->Free();
  }
}

TEST_F(TextControls, ADisabledLabelMixesItsColourWithItsParentsAndIsNotEmbossed) {
  TsGroupBox* box = Box("DARK", 10, 10, 300, 200);
  TsLabel* label = LabelOn(box);
  label->SetEnabled(false);
  // 0.4 x (200, 100, 0) + 0.6 x (0, 0, 100)
  const auto ink = InkOfLabel(label, kDarkColor);
  ASSERT_EQ(ink.size(), 1u) << "the disabled look is one colour";
  EXPECT_EQ(Hex(ink.begin()->first), Hex(0x50283C));
}

TEST_F(TextControls, ALabelWithUseSkinColorOffOrOfTheFirstSectionKeepsItsFontColourWithoutBackground) {
  TsGroupBox* box = Box("DARK", 10, 10, 300, 200);
  TsLabel* own = LabelOn(box);
  own->SetUseSkinColor(false);
  own->Font()->SetColor(TC(0x00C0C0));
  auto ink = InkOfLabel(own, kDarkColor);
  ASSERT_EQ(ink.size(), 1u);
  EXPECT_EQ(Hex(ink.begin()->first), Hex(0x00C0C0));
  // The skin's first section gives its font colour, never its background.
  TsLabel* first = LabelOn(box);
  first->SetTop(60);
  first->SetSkinSection(Manager->Sections[0].SectionName);
  first->SetUseSkinColor(false);
  ink = InkOfLabel(first, kDarkColor);
  ASSERT_FALSE(ink.empty());
  EXPECT_EQ(first->Font()->Color(), Manager->Sections[0].Props[0].FontColor.Color);
  EXPECT_GT(ink.begin()->second, 10) << "only text on the parent's colour";
}

TEST_F(TextControls, AnEmptyCaptionWithAutoSizeIsOneLineHigh) {
  TsLabel* label = Put<TsLabel>(10, 10, 50, 50);
  label->SetCaption("");
  label->SetAutoSize(false);
  label->SetAutoSize(true);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, label->Font()->Handle());
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  EXPECT_EQ(label->Height(), tm.tmHeight);
  EXPECT_GT(label->Width(), 0);
}

TEST(StickyLabel, FollowsItsControlAndAResizedControlMovesBackBesideIt) {
  TForm* form = Create<TForm>(Application);
  form->SetBounds(50, 50, 400, 300);
  form->Show();
  auto* edit = Create<TsEdit>(form);
  edit->SetParent(form);
  edit->SetBounds(100, 50, 120, 21);
  auto* label = Create<TsStickyLabel>(form);
  label->SetParent(form);
  label->SetAutoSize(false);
  label->SetBounds(0, 0, 40, 13);
  label->SetAttachTo(edit);
  EXPECT_EQ(label->Left(), 58);
  EXPECT_EQ(label->Top(), 54);
  const struct {
    TAlignTo Align;
    int Left, Top;
  } sides[] = {{altTop, 100, 35}, {altRight, 222, 54}, {altBottom, 100, 73}, {altLeft, 58, 54}};
  for (const auto& s : sides) {
    label->SetAlignTo(s.Align);
    EXPECT_EQ(label->Left(), s.Left) << static_cast<int>(s.Align);
    EXPECT_EQ(label->Top(), s.Top) << static_cast<int>(s.Align);
  }
  edit->SetBounds(160, 120, 120, 21);
  testsupport::PumpMessages(20);
  EXPECT_EQ(label->Left(), 160 - 40 - 2) << "the label follows a move";
  edit->SetBounds(edit->Left(), edit->Top(), 150, 41);
  testsupport::PumpMessages(20);
  EXPECT_EQ(edit->Left(), label->Left() + 40 + 2) << "the resized edit stands beside the label";
  EXPECT_EQ(label->Top(), edit->Top() + (edit->Height() - 13) / 2);
  edit->SetVisible(false);
  EXPECT_FALSE(label->Visible());
  edit->Free();
  EXPECT_EQ(label->AttachTo(), nullptr);
  form->Free();
}

// A web label that records the addresses it would open.
class TRecordingWebLabel : public TsWebLabel {
  DK_CLASS(TRecordingWebLabel, TsWebLabel)
 public:
  using TsWebLabel::TsWebLabel;
  std::vector<AnsiString> Opened;

 protected:
  void OpenURL() override { Opened.push_back(URL()); }
};

TEST_F(TextControls, AWebLabelOpensItsAddressOnClickAndDrawsInItsHoverLookUnderTheMouse) {
  TsGroupBox* box = Box("DARK", 10, 10, 300, 200);
  auto* web = Put<TRecordingWebLabel>(20, 30, 100, 16, box);
  web->SetCaption("WWWW");
  web->HoverFont()->SetStyle(TFontStyles{fsUnderline});
  web->Perform(WM_LBUTTONDOWN, 0, MAKELPARAM(2, 2));
  EXPECT_TRUE(web->Opened.empty()) << "no address: nothing to open";
  web->SetURL("https://example.org/");
  web->Perform(WM_LBUTTONDOWN, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(web->Opened, std::vector<AnsiString>{"https://example.org/"});

  EXPECT_EQ(web->GetCurrentFont(), web->NormalFont());
  EXPECT_EQ(web->TextColor(), TC(kDarkFont)) << "away from the mouse: the section's font colour";
  web->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_TRUE(web->MouseAbove());
  EXPECT_EQ(web->GetCurrentFont(), web->HoverFont());
  EXPECT_EQ(web->TextColor(), Manager->Palette[pcWebTextHot]);
  web->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(web->MouseAbove());
}

// ------------------------------------------------------------------ bevels

TEST_F(TextControls, TheBevelsSectionFollowsItsShapeAndStyle) {
  TsBevel* bevel = Put<TsBevel>(10, 10, 100, 60);
  const struct {
    TBevelShape Shape;
    TBevelStyle Style;
    const char* Section;
  } cases[] = {{bsFrame, bsLowered, "GROUPBOX"}, {bsFrame, bsRaised, "GROUPBOX"}, {bsBox, bsLowered, "PANEL_LOW"},
               {bsBox, bsRaised, "PANEL"},        {bsTopLine, bsLowered, "PANEL_LOW"}};
  for (const auto& c : cases) {
    bevel->SetShape(c.Shape);
    bevel->SetStyle(c.Style);
    EXPECT_EQ(bevel->SkinData()->SkinSection(), c.Section) << static_cast<int>(c.Shape) << static_cast<int>(c.Style);
  }
}

TEST_F(TextControls, ABoxBevelPaintsOnlyItsEdgesAndARaisedOneTakesThePanelsBorder) {
  TsGroupBox* box = Box("DARK", 10, 10, 300, 200);
  auto* bevel = Put<TsBevel>(20, 30, 100, 60, box);
  Settle();
  TShot s = ShotOf(box->WindowHandle(), 20, 30, 100, 60);
  EXPECT_EQ(Hex(s.At(50, 0)), Hex(kPanelLowBorder));
  EXPECT_EQ(Hex(s.At(0, 30)), Hex(kPanelLowBorder));
  EXPECT_EQ(Hex(s.At(50, 30)), Hex(kDarkColor)) << "the inside shows the parent";
  EXPECT_EQ(Hex(s.At(4, 4)), Hex(kDarkColor)) << "only 3-pixel edges";
  bevel->SetStyle(bsRaised);
  Settle();
  s = ShotOf(box->WindowHandle(), 20, 30, 100, 60);
  EXPECT_EQ(Hex(s.At(50, 59)), Hex(kPanelBorder));
  EXPECT_EQ(Hex(s.At(50, 30)), Hex(kDarkColor));
}

TEST_F(TextControls, ALineBevelPaintsOnlyItsLine) {
  TsGroupBox* box = Box("DARK", 10, 10, 300, 200);
  auto* bevel = Put<TsBevel>(20, 30, 100, 60, box);
  bevel->SetShape(bsBottomLine);
  Settle();
  const TShot s = ShotOf(box->WindowHandle(), 20, 30, 100, 60);
  EXPECT_EQ(Hex(s.At(50, 59)), Hex(kPanelLowBorder));
  EXPECT_EQ(Hex(s.At(50, 0)), Hex(kDarkColor)) << "no top edge";
  EXPECT_EQ(Hex(s.At(1, 58)), Hex(kDarkColor)) << "the line leaves 3 pixels at each end";
}

// -------------------------------------------------------------- group boxes

TEST_F(TextControls, TheCaptionStripLiesWhereItsLayoutAndWidthPutIt) {
  // On a parent that hands its image to children (a plain one gives only its colour).
  TsGroupBox* panel = Box("HALF", 10, 10, 400, 250);
  auto* box = Put<TsGroupBox>(20, 40, 200, 120, panel);
  box->SetCaption("Period");
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, box->Font()->Handle());
  SIZE size{};
  GetTextExtentPoint32W(dc, L"Period", 6, &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  const int c = size.cx;
  const struct {
    TsGroupCaptionLayout Layout;
    int Width, Left, Right;
  } cases[] = {
      {clTopLeft, 0, 6, 6 + c + 8},
      {clTopRight, 0, 200 - c - 14, 194},
      {clTopCenter, 0, (200 - c - 10) / 2, (200 - c - 10) / 2 + c + 8},
      {clTopLeft, 100, 8, 110},
  };
  for (const auto& k : cases) {
    box->SetCaptionLayout(k.Layout);
    box->SetCaptionWidth(k.Width);
    const TRect r = box->CaptionRect();
    EXPECT_EQ(r.Left, k.Left) << static_cast<int>(k.Layout) << " " << k.Width;
    EXPECT_EQ(r.Right, k.Right) << static_cast<int>(k.Layout) << " " << k.Width;
  }
  // On screen: the "CHECKBOX" strip at that place, the frame from its middle down.
  box->SetCaptionLayout(clTopLeft);
  box->SetCaptionWidth(0);
  Settle();
  const TRect r = box->CaptionRect();
  const TShot s = ShotOf(box->WindowHandle());
  EXPECT_EQ(Hex(s.At(r.Left + 1, 1)), Hex(kCheckFill));
  EXPECT_EQ(Hex(s.At(r.Right - 1, r.Bottom - 1)), Hex(kCheckFill));
  EXPECT_NE(Hex(s.At(r.Right + 1, 1)), Hex(kCheckFill)) << "the strip ends at its right";
  EXPECT_EQ(Hex(s.At(r.Right + 4, r.Bottom / 2)), Hex(kGroupBorder)) << "the frame's top edge";
  EXPECT_EQ(Hex(s.At(100, 119)), Hex(kGroupBorder));
  const std::uint32_t under = ShotOf(panel->WindowHandle()).At(300, 200);
  EXPECT_EQ(Hex(s.At(100, 60)), Hex(under)) << "a transparent frame shows its parent";
}

TEST_F(TextControls, AChildOfABoxWithACaptionSkinTakesTheBoxsCacheAtTheOrigin) {
  auto* box = Put<TsGroupBox>(10, 10, 200, 120);
  box->SetCaption("Box");
  box->SetCaptionSkin("DARK");
  Settle();
  TacBGInfo asked;
  box->Perform(SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_BG_INFO), reinterpret_cast<LPARAM>(&asked));
  EXPECT_EQ(asked.BgType, btCache);
  EXPECT_EQ(asked.Bmp, box->SkinData()->CacheBmp.get());
  EXPECT_EQ(asked.Offset.X, 0);
  EXPECT_EQ(asked.Offset.Y, 0);
  const TRect r = box->CaptionRect();
  const TShot s = ShotOf(box->WindowHandle());
  EXPECT_EQ(Hex(s.At(r.Left + 1, 1)), Hex(kDarkColor)) << "the strip in the caption skin";
}

TEST_F(TextControls, SettingAnyCaptionMarginRepaintsEvenWithTheSameValue) {
  auto* box = Put<TsGroupBox>(10, 10, 200, 120);
  box->SetCaption("Box");
  Settle();
  ASSERT_FALSE(box->SkinData()->BGChanged);
  box->CaptionMargin()->SetLeft(box->CaptionMargin()->Left());
  EXPECT_TRUE(box->SkinData()->BGChanged);
}

}  // namespace
