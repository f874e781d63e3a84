// Panels, bevels and radio groups (part of ExtCtrls.h).
#pragma once

#include <vector>

#include "classlib/ui/StdCtrls.h"

DK_ENUM(TBevelCut, bvNone, bvLowered, bvRaised, bvSpace);
using TPanelBevel = TBevelCut;
DK_ENUM(TBevelShape, bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer);
DK_ENUM(TBevelStyle, bsLowered, bsRaised);
using TBevelWidth = Integer;

// Draws a frame of Width pixels inside Rect, the top and left lines in
// TopColor, the others in BottomColor, and moves Rect inside the frame.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);

class TCustomPanel : public TCustomControl {
  DK_CLASS(TCustomPanel, TCustomControl)
 public:
  explicit TCustomPanel(TComponent* AOwner);
  void Construct() override;
  void AdjustClientRect(TRect& Rect) override;

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TPanelBevel BevelInner() const { return FBevelInner; }
  void SetBevelInner(TPanelBevel Value);
  TPanelBevel BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TPanelBevel Value);
  TBevelWidth BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(TBevelWidth Value);
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  bool FullRepaint() const { return FFullRepaint; }
  void SetFullRepaint(bool Value) { FFullRepaint = Value; }
  bool Locked() const { return FLocked; }
  void SetLocked(bool Value) { FLocked = Value; }
  // The width of the frame drawn around the client area (bevels and border).
  int BorderSize() const;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;

 public:  // message handlers
  void CMTextChanged(TMessage& Message);
  void CMColorChanged(TMessage& Message);

 private:
  void Changed3D();
  TAlignment FAlignment = taCenter;
  TPanelBevel FBevelInner = bvNone;
  TPanelBevel FBevelOuter = bvRaised;
  TBevelWidth FBevelWidth = 1;
  TFormBorderStyle FBorderStyle = bsNone;
  bool FFullRepaint = true;
  bool FLocked = false;
};

class TPanel : public TCustomPanel {
  DK_CLASS(TPanel, TCustomPanel)
 public:
  using TCustomPanel::TCustomPanel;
};

class TBevel : public TGraphicControl {
  DK_CLASS(TBevel, TGraphicControl)
 public:
  explicit TBevel(TComponent* AOwner);
  void Construct() override;
  TBevelShape Shape() const { return FShape; }
  void SetShape(TBevelShape Value);
  TBevelStyle Style() const { return FStyle; }
  void SetStyle(TBevelStyle Value);

 protected:
  void Paint() override;

 private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};

// Lays a radio group's buttons out in Columns below the caption line of Font,
// and shows them.
void ArrangeRadioButtons(TWinControl* Group, TFont* Font, int Columns, const std::vector<TControl*>& Buttons);

// A group box of radio buttons made from Items, laid out in Columns; ItemIndex
// is the checked one (-1: none). OnClick runs when the checked item changes.
class TCustomRadioGroup : public TCustomGroupBox {
  DK_CLASS(TCustomRadioGroup, TCustomGroupBox)
 public:
  explicit TCustomRadioGroup(TComponent* AOwner);
  ~TCustomRadioGroup() override;
  void Construct() override;

  TStrings* Items() const { return FItems.get(); }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  Integer ItemIndex() const { return FItemIndex; }
  void SetItemIndex(Integer Value);
  Integer Columns() const { return FColumns; }
  void SetColumns(Integer Value);
  // The radio button of item Index.
  TRadioButton* Buttons(int Index) const { return FButtons.at(static_cast<std::size_t>(Index)); }
  int ButtonCount() const { return static_cast<int>(FButtons.size()); }
  void FlipChildren(bool AllLevels) {}
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override {}

 protected:
  void Loaded() override;
  void ReadState(TReader* Reader) override;
  virtual bool CanModify() { return true; }

 public:  // message handlers
  void CMFontChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void WMSize(TWMSize& Message);

 private:
  void ArrangeButtons();
  void ButtonClick(TObject* Sender);
  void ItemsChange(TObject* Sender);
  void SetButtonCount(int Value);
  void UpdateButtons();
  std::unique_ptr<TStringList> FItems;
  std::vector<TRadioButton*> FButtons;
  Integer FItemIndex = -1;
  Integer FColumns = 1;
  bool FReading = false;
  bool FUpdating = false;
};

class TRadioGroup : public TCustomRadioGroup {
  DK_CLASS(TRadioGroup, TCustomRadioGroup)
 public:
  using TCustomRadioGroup::TCustomRadioGroup;
};

namespace dk_link {
extern const int ExtCtrlsUnit;
[[gnu::used]] static const int* const ExtCtrlsAnchor = &ExtCtrlsUnit;
}  // namespace dk_link
