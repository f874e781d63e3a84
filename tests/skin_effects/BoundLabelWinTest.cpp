// The bound caption label of an edit-like control on a form under Wine: where
// it stands for each layout, word wrap at its largest width, and how it
// follows the control's enabled state, visibility, bounds and reading order.
#include <gtest/gtest.h>

#include <memory>

#include "classlib/ui/Forms.h"
#include "skin/controls/sLabel.h"
#include "skin/core/sBoundLabel.h"

#include "TestSupport.h"

namespace {

// An edit-like window control that owns a skin state and a bound label and
// hands the label every message, as the skinned edits do.
class TBoundEdit : public TCustomControl {
  DK_CLASS(TBoundEdit, TCustomControl)
 public:
  explicit TBoundEdit(TComponent* AOwner)
      : TCustomControl(AOwner),
        SkinData(std::make_unique<TsCommonData>(this, false)),
        BoundLabel(std::make_unique<TsBoundLabel>(this, SkinData.get())) {}
  void WndProc(TMessage& Message) override {
    inherited::WndProc(Message);
    if (BoundLabel) BoundLabel->HandleOwnerMsg(Message, this);
  }
  std::unique_ptr<TsCommonData> SkinData;
  std::unique_ptr<TsBoundLabel> BoundLabel;

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clWhite);
    Canvas()->FillRect(ClientRect());
  }
};

class BoundLabel : public ::testing::Test {
 protected:
  void SetUp() override {
    Form = Create<TForm>(Application, 0);
    Form->SetBounds(50, 50, 400, 240);
    Form->SetColor(clBtnFace);
    Edit = Create<TBoundEdit>(Form);
    Edit->SetName("CityEdit");
    Edit->SetParent(Form);
    Edit->SetBounds(150, 100, 120, 21);
  }
  void TearDown() override { Form->Free(); }
  TsBoundLabel* Bound() { return Edit->BoundLabel.get(); }
  TsEditLabel* Label() { return Bound()->TheLabel(); }
  // A label of a fixed size, placed anew.
  void FixLabelSize(Integer W, Integer H) {
    Label()->SetAutoSize(false);
    Label()->SetBounds(0, 0, W, H);
    Bound()->AlignLabel();
  }

  TForm* Form = nullptr;
  TBoundEdit* Edit = nullptr;
};

TEST_F(BoundLabel, ActivationNamesTheLabelAfterTheControlAndTakesItsNameAsText) {
  Bound()->SetCaption(Utf8ToAnsi("Город"));
  Bound()->SetCaption("");
  EXPECT_EQ(Label(), nullptr) << "changing the caption while inactive only stores it";
  Bound()->SetActive(true);
  ASSERT_NE(Label(), nullptr);
  EXPECT_EQ(Label()->Name(), "CityEditLabel");
  EXPECT_EQ(Label()->Caption(), "CityEdit");
  EXPECT_EQ(Bound()->Caption(), "CityEdit");
  EXPECT_EQ(Label()->Owner(), Edit);
  EXPECT_EQ(Label()->Parent(), Form);
  EXPECT_EQ(Label()->FocusControl(), Edit);
  EXPECT_TRUE(Label()->AutoSize());
  EXPECT_TRUE(Label()->Visible());
  EXPECT_EQ(Bound()->Font(), Label()->Font());
  Bound()->SetCaption(Utf8ToAnsi("Город"));
  EXPECT_EQ(Label()->Caption(), Utf8ToAnsi("Город"));
  Bound()->SetActive(false);
  EXPECT_EQ(Label(), nullptr);
  EXPECT_EQ(Edit->ComponentCount(), 0) << "the label is freed";
}

TEST_F(BoundLabel, EachLayoutPlacesTheLabelAndAlignsItsText) {
  // Control at (150, 100), 120 x 21; label 40 x 13.
  const struct {
    TsCaptionLayout Layout;
    Integer Indent, Left, Top;
    TAlignment Alignment;
  } cases[] = {
      {sclLeft, 0, 106, 103, taRightJustify},        {sclLeft, 5, 101, 103, taRightJustify},
      {sclTopLeft, 0, 150, 87, taLeftJustify},        {sclTopLeft, 5, 150, 82, taLeftJustify},
      {sclTopCenter, 0, 190, 87, taCenter},           {sclTopRight, 2, 230, 85, taRightJustify},
      {sclLeftTop, 0, 106, 103, taLeftJustify},       {sclLeftTop, 6, 100, 103, taLeftJustify},
      {sclBottomLeft, 0, 150, 121, taLeftJustify},    {sclBottomLeft, 5, 150, 126, taLeftJustify},
      {sclBottomCenter, 1, 190, 122, taCenter},       {sclBottomRight, 0, 230, 121, taRightJustify},
  };
  Bound()->SetActive(true);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "layout " << int(c.Layout) << " indent " << c.Indent);
    Bound()->SetLayout(c.Layout);
    Bound()->SetIndent(c.Indent);
    FixLabelSize(40, 13);
    EXPECT_EQ(Label()->Left(), c.Left);
    EXPECT_EQ(Label()->Top(), c.Top);
    EXPECT_EQ(Label()->Alignment(), c.Alignment);
  }
}

TEST_F(BoundLabel, LeftLabelOfAControlAlignedLeftIsAlignedLeftToo) {
  Bound()->SetActive(true);
  Edit->SetAlign(alLeft);
  Bound()->AlignLabel();
  EXPECT_EQ(Label()->Align(), alLeft);
  Bound()->SetLayout(sclTopLeft);
  EXPECT_EQ(Label()->Align(), alNone);
}

TEST_F(BoundLabel, LabelWrapsOnceItReachesFourPixelsBelowItsLargestWidth) {
  Bound()->SetActive(true);
  Bound()->SetMaxWidth(100);
  EXPECT_EQ(Label()->Constraints()->MaxWidth(), 100);
  for (const auto& [width, wraps] : {std::pair{96, true}, std::pair{95, false}, std::pair{100, true}}) {
    SCOPED_TRACE(width);
    FixLabelSize(width, 13);
    EXPECT_EQ(Label()->WordWrap(), wraps);
  }
  Bound()->SetMaxWidth(0);
  FixLabelSize(300, 13);
  EXPECT_TRUE(Label()->WordWrap()) << "no limit: word wrap is left as it was";
  EXPECT_EQ(Label()->Width(), 300);
}

// A long caption grows to the largest width and breaks into lines there; it
// shows beside the control.
TEST_F(BoundLabel, LongCaptionBreaksIntoLinesAtItsLargestWidthOnScreen) {
  Bound()->SetCaption(Utf8ToAnsi("Адрес доставки груза"));
  Bound()->SetLayout(sclTopLeft);
  Bound()->SetActive(true);
  const Integer oneLine = Label()->Height();
  ASSERT_GT(Label()->Width(), 100) << "the caption is wider than the limit";
  Bound()->SetMaxWidth(100);
  EXPECT_TRUE(Label()->WordWrap());
  EXPECT_LE(Label()->Width(), 100);
  EXPECT_GE(Label()->Height(), 2 * oneLine);
  // Placing it again keeps it wrapped (judged by its one-line width, not by
  // the width of its broken lines).
  const Integer wrappedWidth = Label()->Width();
  ASSERT_LT(wrappedWidth, 96);
  Bound()->SetLayout(sclBottomLeft);
  Edit->SetBounds(150, 90, 120, 21);
  EXPECT_TRUE(Label()->WordWrap());
  EXPECT_EQ(Label()->Width(), wrappedWidth);
  EXPECT_GE(Label()->Height(), 2 * oneLine);
  Form->Show();
  testsupport::PumpMessages(150);
  testsupport::Screenshot(Form->Handle(), "bound_label_wrapped");
  // Dark text pixels inside the label's rectangle, below the control.
  HDC dc = GetDC(Form->Handle());
  const auto px = testsupport::ReadPixels(dc, Label()->Left(), Label()->Top(), Label()->Width(), Label()->Height());
  ReleaseDC(Form->Handle(), dc);
  int dark = 0;
  for (uint32_t p : px) dark += ((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF)) < 200;
  EXPECT_GT(dark, 20) << "the caption is drawn where the label stands";
  EXPECT_EQ(Label()->Top(), Edit->Top() + Edit->Height());
}

TEST_F(BoundLabel, FollowsTheControlsEnabledStateUnlessEnabledAlways) {
  Bound()->SetActive(true);
  Edit->SetEnabled(false);
  EXPECT_FALSE(Label()->Enabled());
  Edit->SetEnabled(true);
  EXPECT_TRUE(Label()->Enabled());
  Bound()->SetEnabledAlways(true);
  Edit->SetEnabled(false);
  EXPECT_TRUE(Label()->Enabled());
  Bound()->SetEnabledAlways(false);
  EXPECT_FALSE(Label()->Enabled()) << "placing the label again reads the control";
}

TEST_F(BoundLabel, FollowsTheControlsVisibilityBoundsAndReadingOrder) {
  Bound()->SetActive(true);
  FixLabelSize(40, 13);
  Form->Show();
  Edit->SetBounds(200, 150, 120, 21);
  EXPECT_EQ(Label()->Left(), 156);
  EXPECT_EQ(Label()->Top(), 153);
  Edit->SetVisible(false);
  EXPECT_FALSE(Label()->Visible());
  Edit->SetBounds(210, 150, 120, 21);
  EXPECT_EQ(Label()->Left(), 156) << "an invisible label is not placed";
  Edit->SetVisible(true);
  EXPECT_TRUE(Label()->Visible());
  EXPECT_EQ(Label()->Left(), 166);
  Edit->SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(Label()->BiDiMode(), bdRightToLeft);
}

TEST_F(BoundLabel, ForgetsALabelFreedElsewhereAndGoesWithItsControl) {
  Bound()->SetActive(true);
  Label()->Free();
  EXPECT_EQ(Label(), nullptr);
  Bound()->SetActive(false);
  Bound()->SetActive(true);
  ASSERT_NE(Label(), nullptr);
  Edit->Free();  // the label with it, the bound label last
  Edit = nullptr;
  EXPECT_EQ(Form->ComponentCount(), 0);
}

}  // namespace
