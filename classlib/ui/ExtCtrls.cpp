// Panels, bevels and radio groups.
#include "classlib/ui/ExtCtrlsPanels.h"
#include "classlib/ui/PaintScope.h"

DK_UNIT(ExtCtrls);

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width) {
  TPen* pen = Canvas->Pen();
  pen->SetWidth(1);
  --Rect.Bottom;
  --Rect.Right;
  for (int i = 0; i < Width; ++i) {
    pen->SetColor(TopColor);
    Canvas->MoveTo(Rect.Left, Rect.Bottom);
    Canvas->LineTo(Rect.Left, Rect.Top);
    Canvas->LineTo(Rect.Right, Rect.Top);
    pen->SetColor(BottomColor);
    Canvas->LineTo(Rect.Right, Rect.Bottom);
    Canvas->LineTo(Rect.Left - 1, Rect.Bottom);
    ++Rect.Left;
    ++Rect.Top;
    --Rect.Right;
    --Rect.Bottom;
  }
  ++Rect.Bottom;
  ++Rect.Right;
}

// ================================================================ TCustomPanel

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {}

void TCustomPanel::Construct() {
  inherited::Construct();
  FControlStyle += TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                                 csDoubleClicks, csReplicatable};
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
  SetParentColor(false);
}

void TCustomPanel::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

int TCustomPanel::BorderSize() const {
  int size = BorderWidth();
  if (FBevelOuter != bvNone) size += FBevelWidth;
  if (FBevelInner != bvNone) size += FBevelWidth;
  return size;
}

void TCustomPanel::AdjustClientRect(TRect& Rect) {
  inherited::AdjustClientRect(Rect);  // the border width
  int b = BorderSize() - BorderWidth();
  Rect.Left += b;
  Rect.Top += b;
  Rect.Right -= b;
  Rect.Bottom -= b;
}

void TCustomPanel::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  auto colors = [](TPanelBevel b, TColor& top, TColor& bottom) {
    top = b == bvLowered ? clBtnShadow : clBtnHighlight;
    bottom = b == bvLowered ? clBtnHighlight : clBtnShadow;
  };
  TColor top, bottom;
  if (FBevelOuter != bvNone) {
    colors(FBevelOuter, top, bottom);
    Frame3D(c, r, top, bottom, FBevelWidth);
  }
  Frame3D(c, r, Color(), Color(), BorderWidth());
  if (FBevelInner != bvNone) {
    colors(FBevelInner, top, bottom);
    Frame3D(c, r, top, bottom, FBevelWidth);
  }
  c->Brush()->SetColor(Color());
  c->Brush()->SetStyle(bsSolid);
  c->FillRect(r);
  AnsiString text = Caption();
  if (text.empty()) return;
  static const UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  DrawControlText(c->Handle(), text, r, DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE | kAlign[FAlignment], Font(),
                  Enabled());
}

void TCustomPanel::Changed3D() {
  Realign();
  Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel Value) {
  FBevelInner = Value;
  Changed3D();
}

void TCustomPanel::SetBevelOuter(TPanelBevel Value) {
  FBevelOuter = Value;
  Changed3D();
}

void TCustomPanel::SetBevelWidth(TBevelWidth Value) {
  FBevelWidth = Value < 1 ? 1 : Value;
  Changed3D();
}

void TCustomPanel::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomPanel::CMTextChanged(TMessage& Message) {
  InheritedMessage(TCustomPanel::StaticClass(), &Message);
  Invalidate();
}

void TCustomPanel::CMColorChanged(TMessage& Message) {
  InheritedMessage(TCustomPanel::StaticClass(), &Message);
  Invalidate();
}

DK_MESSAGE_UNIT(TCustomPanel);
DK_MESSAGE_HANDLER(TCustomPanel, CM_TEXTCHANGED, CMTextChanged);
DK_MESSAGE_HANDLER(TCustomPanel, CM_COLORCHANGED, CMColorChanged);

DK_PUBLISH(TCustomPanel) {
  P.Property("Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment).Default(taCenter);
  P.Property("BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner).Default(bvNone);
  P.Property("BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter).Default(bvRaised);
  P.Property("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth).Default(1);
  P.Property("BorderStyle", &TCustomPanel::BorderStyle, &TCustomPanel::SetBorderStyle).Default(bsNone);
  P.Property("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth).Default(0);
  P.Property("FullRepaint", &TCustomPanel::FullRepaint, &TCustomPanel::SetFullRepaint).Default(true);
  P.Property("Locked", &TCustomPanel::Locked, &TCustomPanel::SetLocked).Default(false);
}
DK_PUBLISH(TPanel) {}

// ====================================================================== TBevel

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {}

void TBevel::Construct() {
  inherited::Construct();
  FControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape Value) {
  if (FShape == Value) return;
  FShape = Value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* c = Canvas();
  TColor c1 = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor c2 = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
  int w = Width(), h = Height();
  auto line = [c](TColor color, int x1, int y1, int x2, int y2) {
    c->Pen()->SetColor(color);
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
  };
  TRect r = Rect(0, 0, w, h);
  switch (FShape) {
    case bsBox:
      Frame3D(c, r, c1, c2, 1);
      break;
    case bsFrame: {
      TRect outer = Rect(0, 0, w - 1, h - 1);
      Frame3D(c, outer, c1, c1, 1);
      TRect inner = Rect(1, 1, w, h);
      Frame3D(c, inner, c2, c2, 1);
      break;
    }
    case bsTopLine:
      line(c1, 0, 0, w, 0);
      line(c2, 0, 1, w, 1);
      break;
    case bsBottomLine:
      line(c1, 0, h - 2, w, h - 2);
      line(c2, 0, h - 1, w, h - 1);
      break;
    case bsLeftLine:
      line(c1, 0, 0, 0, h);
      line(c2, 1, 0, 1, h);
      break;
    case bsRightLine:
      line(c1, w - 2, 0, w - 2, h);
      line(c2, w - 1, 0, w - 1, h);
      break;
    case bsSpacer:
      break;
  }
}

DK_PUBLISH(TBevel) {
  P.Property("Shape", &TBevel::Shape, &TBevel::SetShape).Default(bsBox);
  P.Property("Style", &TBevel::Style, &TBevel::SetStyle).Default(bsLowered);
}

// ========================================================= TRadioGroupButtons

TRadioGroupButtons::TRadioGroupButtons(TWinControl* Group, std::function<TRadioButton*()> NewButton,
                                       bool KeepLastIndex)
    : FGroup(Group), FNewButton(std::move(NewButton)), FKeepLastIndex(KeepLastIndex) {
  FItems = std::make_unique<TStringList>();
  FItems->OnChange = TNotifyEvent(this, &TRadioGroupButtons::ItemsChange);
}

void TRadioGroupButtons::SetButtonCount(int Value) {
  while (static_cast<int>(FButtons.size()) < Value) {
    TRadioButton* b = FNewButton();
    b->SetTabStop(false);
    b->OnClick = TNotifyEvent(this, &TRadioGroupButtons::ButtonClick);
    static_cast<TControl*>(b)->SetParent(FGroup);
    FButtons.push_back(b);
  }
  while (static_cast<int>(FButtons.size()) > Value) {
    TRadioButton* b = FButtons.back();
    FButtons.pop_back();
    b->Free();
  }
}

void TRadioGroupButtons::Read(const std::function<void()>& ReadGroup) {
  {
    struct TReadingScope {
      bool& Flag;
      ~TReadingScope() { Flag = false; }
    } reading{FReading};
    FReading = true;
    ReadGroup();
  }
  Update();
}

void TRadioGroupButtons::Follow(const TMessage& Message) {
  switch (Message.Msg) {
    case CM_FONTCHANGED:
    case WM_SIZE:
      Arrange();
      break;
    case CM_ENABLEDCHANGED:
      SetEnabled(FGroup->Enabled());
      break;
    default:
      break;
  }
}

void TRadioGroupButtons::Update() {
  if (FReading || FGroup->ComponentState().Contains(csDestroying)) return;
  FUpdating = true;
  SetButtonCount(FItems->Count());
  if (FItemIndex >= FItems->Count()) FItemIndex = FKeepLastIndex ? FItems->Count() - 1 : -1;
  for (int i = 0; i < ButtonCount(); ++i) {
    TRadioButton* b = FButtons[static_cast<std::size_t>(i)];
    b->SetCaption(FItems->Strings(i));
    b->SetEnabled(FGroup->Enabled());
    b->SetCheckedProp(i == FItemIndex);
  }
  FUpdating = false;
  Arrange();
}

void TRadioGroupButtons::Arrange() {
  if (FButtons.empty() || FReading) return;
  TEXTMETRICW tm = FontMetrics(FGroup->Font()->Handle());
  int count = ButtonCount();
  int perColumn = (count + FColumns - 1) / FColumns;
  int buttonWidth = (FGroup->Width() - 10) / FColumns;
  int room = FGroup->Height() - tm.tmHeight - 5;
  int buttonHeight = room / perColumn;
  int topMargin = tm.tmHeight + 1 + (room % perColumn) / 2;
  for (int i = 0; i < count; ++i) {
    TRadioButton* b = FButtons[static_cast<std::size_t>(i)];
    b->SetBounds((i / perColumn) * buttonWidth + 8, (i % perColumn) * buttonHeight + topMargin, buttonWidth,
                 buttonHeight);
    b->SetVisible(true);
  }
}

void TRadioGroupButtons::SetEnabled(bool Value) {
  for (auto* b : FButtons) b->SetEnabled(Value);
}

void TRadioGroupButtons::ButtonClick(TObject* Sender) {
  if (FUpdating) return;
  for (int i = 0; i < ButtonCount(); ++i) {
    if (FButtons[static_cast<std::size_t>(i)] != Sender) continue;
    if (!FButtons[static_cast<std::size_t>(i)]->Checked()) return;
    FItemIndex = i;
    if (OnChange) OnChange(FGroup);
    return;
  }
}

void TRadioGroupButtons::ItemsChange(TObject*) {
  if (FReading) return;
  if (FItemIndex >= FItems->Count()) FItemIndex = FItems->Count() - 1;
  Update();
}

void TRadioGroupButtons::SetItemIndex(Integer Value) {
  if (FReading || FGroup->ComponentState().Contains(csReading)) {
    FItemIndex = Value;
    return;
  }
  if (Value < -1) Value = -1;
  if (Value >= ButtonCount()) Value = ButtonCount() - 1;
  if (FItemIndex == Value) return;
  FUpdating = true;
  if (FItemIndex >= 0 && FItemIndex < ButtonCount())
    FButtons[static_cast<std::size_t>(FItemIndex)]->SetCheckedProp(false);
  FItemIndex = Value;
  if (Value >= 0) FButtons[static_cast<std::size_t>(Value)]->SetCheckedProp(true);
  FUpdating = false;
  if (!FGroup->ComponentState().Contains(csLoading) && OnChange) OnChange(FGroup);
}

void TRadioGroupButtons::SetColumns(Integer Value) {
  if (Value < 1) Value = 1;
  if (Value > 16) Value = 16;
  if (FColumns == Value) return;
  FColumns = Value;
  Arrange();
  FGroup->Invalidate();
}

// =========================================================== TCustomRadioGroup

void TCustomRadioGroup::Construct() {
  inherited::Construct();
  MakeButtons([this] { return Create<TRadioButton>(this); }, false);
}

DK_PUBLISH(TCustomRadioGroup) { PublishRadioGroup(P); }
DK_PUBLISH(TRadioGroup) {}
