#include "skin/core/sBoundLabel.h"

#include "classlib/ui/PaintScope.h"
#include "skin/controls/sLabel.h"

namespace {

// Gap between the control and a label on its left.
constexpr Integer kLeftGap = 4;
// Top of a label that stands at the control's top-left, beside it.
constexpr Integer kLeftTopShift = 3;
// A label this close to its largest width wraps its words.
constexpr Integer kWrapMargin = 4;

TAlignment AlignmentOf(TsCaptionLayout Layout) {
  switch (Layout) {
    case sclLeft: return taRightJustify;
    case sclTopLeft: return taLeftJustify;
    case sclTopCenter: return taCenter;
    case sclTopRight: return taRightJustify;
    case sclLeftTop: return taLeftJustify;
    case sclBottomLeft: return taLeftJustify;
    case sclBottomCenter: return taCenter;
    case sclBottomRight: return taRightJustify;
  }
  return taLeftJustify;
}

// The width that the label's text takes on one line.
Integer OneLineWidth(TsEditLabel* L) {
  TWindowDC screen;
  TRect r{0, 0, 32000, 0};
  const UINT flags = DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | (L->ShowAccelChar() ? 0 : DT_NOPREFIX);
  DrawControlText(screen.Handle(), L->Caption(), r, flags, L->Font(), true);
  return r.Width();
}

// How far the label reaches: its width, except that a wrapped label that sizes
// itself is as wide as its broken lines, and is judged by its one-line width
// (else it would unwrap at the next placing and wrap at the one after).
Integer LabelReach(TsEditLabel* L) { return L->WordWrap() && L->AutoSize() ? OneLineWidth(L) : L->Width(); }

}  // namespace

TsBoundLabel::TsBoundLabel(TObject*, TsCommonData* CommonData)
    : FFont(std::make_unique<TFont>()), FCommonData(CommonData) {}

TsBoundLabel::~TsBoundLabel() { FreeLabel(); }

TControl* TsBoundLabel::Control() const {
  return FCommonData ? FCommonData->OwnerControl : nullptr;
}

void TsBoundLabel::FreeLabel() {
  TsEditLabel* label = FTheLabel;
  FTheLabel = nullptr;
  if (!label) return;
  label->OnGone = nullptr;
  label->Free();
}

void TsBoundLabel::SetActive(bool Value) {
  if (FActive == Value) return;
  if (!Value) {
    FreeLabel();
    FActive = false;
    return;
  }
  TControl* c = Control();
  if (!c) return;
  FActive = true;
  if (!FTheLabel) {
    FTheLabel = Create<TsEditLabel>(c, this);
    FTheLabel->OnGone = [this] { FTheLabel = nullptr; };
  }
  TsEditLabel* l = FTheLabel;
  l->SetVisible(false);
  l->SetParent(c->Parent());
  l->SetFocusControl(dynamic_cast<TWinControl*>(c));
  UpdateAlignment();
  l->SetName(c->Name() + "Label");
  if (FCaption.empty()) FCaption = c->Name();
  l->SetCaption(FCaption);
  l->SetVisible(c->Visible() || c->ComponentState().Contains(csDesigning));
  l->SetEnabled(c->Enabled() || FEnabledAlways);
  l->SetAutoSize(true);
  AlignLabel();
}

void TsBoundLabel::SetCaption(const AnsiString& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  if (!FActive || !FTheLabel) return;
  FTheLabel->SetCaption(FCaption);
  AlignLabel();
}

void TsBoundLabel::SetEnabledAlways(bool Value) {
  if (FEnabledAlways == Value) return;
  FEnabledAlways = Value;
  if (FActive) AlignLabel();
}

void TsBoundLabel::SetIndent(Integer Value) {
  if (FIndent == Value) return;
  FIndent = Value;
  if (FActive) AlignLabel();
}

void TsBoundLabel::SetMaxWidth(Integer Value) {
  if (FMaxWidth == Value) return;
  FMaxWidth = Value;
  if (FActive) AlignLabel();
}

void TsBoundLabel::SetLayout(TsCaptionLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  UpdateAlignment();
  if (FActive) AlignLabel();
}

TFont* TsBoundLabel::Font() const { return FTheLabel ? FTheLabel->Font() : FFont.get(); }

void TsBoundLabel::SetFont(TFont* Value) {
  if (!FTheLabel) return;
  FTheLabel->Font()->Assign(Value);
  if (TControl* c = Control()) FTheLabel->SetParent(c->Parent());
  AlignLabel();
}

bool TsBoundLabel::UseSkinColor() const { return FTheLabel ? FTheLabel->UseSkinColor() : true; }

void TsBoundLabel::SetUseSkinColor(bool Value) {
  if (FTheLabel) FTheLabel->SetUseSkinColor(Value);
}

void TsBoundLabel::UpdateAlignment() {
  if (FTheLabel) FTheLabel->SetAlignment(AlignmentOf(FLayout));
}

void TsBoundLabel::AlignLabel() {
  TsEditLabel* l = FTheLabel;
  TControl* c = Control();
  if (!l || !c || !l->Visible()) return;
  l->Constraints()->SetMaxWidth(FMaxWidth);
  l->SetEnabled(c->Enabled() || FEnabledAlways);
  l->SetAlign(alNone);
  const Integer leftOf = c->Left() - l->Width() - FIndent - kLeftGap;
  const Integer centre = c->Left() + (c->Width() - l->Width()) / 2;
  const Integer right = c->Left() + c->Width() - l->Width();
  const Integer above = c->Top() - l->Height() - FIndent;
  const Integer below = c->Top() + c->Height() + FIndent;
  switch (FLayout) {
    case sclLeft:
      l->SetBounds(leftOf, c->Top() + (c->Height() - l->Height()) / 2 - 1, l->Width(), l->Height());
      if (c->Align() == alLeft) l->SetAlign(alLeft);
      break;
    case sclTopLeft: l->SetBounds(c->Left(), above, l->Width(), l->Height()); break;
    case sclTopCenter: l->SetBounds(centre, above, l->Width(), l->Height()); break;
    case sclTopRight: l->SetBounds(right, above, l->Width(), l->Height()); break;
    case sclLeftTop: l->SetBounds(leftOf, c->Top() + kLeftTopShift, l->Width(), l->Height()); break;
    case sclBottomLeft: l->SetBounds(c->Left(), below, l->Width(), l->Height()); break;
    case sclBottomCenter: l->SetBounds(centre, below, l->Width(), l->Height()); break;
    case sclBottomRight: l->SetBounds(right, below, l->Width(), l->Height()); break;
  }
  l->SetParent(c->Parent());
  if (FMaxWidth != 0) l->SetWordWrap(LabelReach(l) >= l->Constraints()->MaxWidth() - kWrapMargin);
}

void TsBoundLabel::HandleOwnerMsg(const TMessage& Message, TControl* Owner) {
  TsEditLabel* l = FTheLabel;
  if (!l || !Owner) return;
  switch (Message.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      break;
    case CM_VISIBLECHANGED:
      l->SetVisible(Owner->Visible());
      break;
    case CM_ENABLEDCHANGED:
      l->SetEnabled(Owner->Enabled() || FEnabledAlways);
      break;
    case CM_BIDIMODECHANGED:
      l->SetBiDiMode(Owner->BiDiMode());
      break;
    default:
      return;
  }
  AlignLabel();
}

DK_PUBLISH(TsBoundLabel) {
  P.Property("Active", &TsBoundLabel::Active, &TsBoundLabel::SetActive).Default(false);
  P.Property("Caption", &TsBoundLabel::Caption, &TsBoundLabel::SetCaption);
  P.Property("EnabledAlways", &TsBoundLabel::EnabledAlways, &TsBoundLabel::SetEnabledAlways).Default(false);
  P.Property("Indent", &TsBoundLabel::Indent, &TsBoundLabel::SetIndent).Default(0);
  P.Property("Font", &TsBoundLabel::Font, &TsBoundLabel::SetFont);
  P.Property("Layout", &TsBoundLabel::Layout, &TsBoundLabel::SetLayout).Default(sclLeft);
  P.Property("MaxWidth", &TsBoundLabel::MaxWidth, &TsBoundLabel::SetMaxWidth).Default(0);
  P.Property("UseSkinColor", &TsBoundLabel::UseSkinColor, &TsBoundLabel::SetUseSkinColor).Default(true);
}
