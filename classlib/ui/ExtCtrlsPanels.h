// Panels, bevels and radio groups (part of ExtCtrls.h).
#pragma once

#include <functional>
#include <memory>
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
  DK_MESSAGES(TCustomPanel)
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

// The radio buttons of a radio group: one per line of Items, laid out in
// Columns below the caption, ItemIndex the checked one (-1: none). The class
// library's radio group and the skinned one each keep one: the group reads
// through Read, hands it every message it handled (Follow) and calls Update
// when loaded, and hears of a new checked item through OnChange.
class TRadioGroupButtons : public TObject {
  DK_CLASS(TRadioGroupButtons, TObject)
 public:
  // NewButton makes one button owned by and placed on the group. A streamed
  // index beyond the items becomes the last item with KeepLastIndex, none otherwise.
  TRadioGroupButtons(TWinControl* Group, std::function<TRadioButton*()> NewButton, bool KeepLastIndex);

  TStrings* Items() const { return FItems.get(); }
  Integer ItemIndex() const { return FItemIndex; }
  // Below -1 counts as -1, beyond the last button as the last; while the group
  // is read only the index is stored.
  void SetItemIndex(Integer Value);
  Integer Columns() const { return FColumns; }
  void SetColumns(Integer Value);
  TRadioButton* Buttons(int Index) const { return FButtons.at(static_cast<std::size_t>(Index)); }
  int ButtonCount() const { return static_cast<int>(FButtons.size()); }
  // Runs the group's own reading with the buttons set aside, then makes them match.
  void Read(const std::function<void()>& ReadGroup);
  // After the group handled Message: the buttons follow its font, its
  // enabled state and its size.
  void Follow(const TMessage& Message);
  // Makes the buttons match the items, the index and the group's enabled state.
  void Update();
  void Arrange();
  void SetEnabled(bool Value);
  TNotifyEvent OnChange;

 private:
  void ButtonClick(TObject* Sender);
  void ItemsChange(TObject* Sender);
  void SetButtonCount(int Value);
  TWinControl* FGroup;
  std::function<TRadioButton*()> FNewButton;
  bool FKeepLastIndex;
  std::unique_ptr<TStringList> FItems;
  std::vector<TRadioButton*> FButtons;
  Integer FItemIndex = -1;
  Integer FColumns = 1;
  bool FReading = false;
  bool FUpdating = false;
};

// A group box of radio buttons (Base: the class library's group box or the
// skinned one): the items, the checked item and the columns as its buttons
// keep them, the buttons following its reading, loading, font, enabled state
// and size. OnClick runs when the checked item changes.
template <class Base>
class TRadioGroupOf : public Base {
 public:
  using Base::Base;
  TStrings* Items() const { return FButtons->Items(); }
  void SetItems(TStrings* Value) { FButtons->Items()->Assign(Value); }
  Integer ItemIndex() const { return FButtons->ItemIndex(); }
  // Below -1 counts as -1 (none), beyond the last item as the last item; the
  // same index does nothing; while the group is read only the index is stored.
  void SetItemIndex(Integer Value) { FButtons->SetItemIndex(Value); }
  Integer Columns() const { return FButtons->Columns(); }
  void SetColumns(Integer Value) { FButtons->SetColumns(Value); }
  int ButtonCount() const { return FButtons->ButtonCount(); }
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override {}
  void WndProc(TMessage& Message) override {
    Base::WndProc(Message);
    FButtons->Follow(Message);
  }

 protected:
  // For Construct: NewButton makes one button owned by and placed on the group.
  void MakeButtons(std::function<TRadioButton*()> NewButton, bool KeepLastIndex) {
    this->FControlStyle.Exclude(csAcceptsControls);
    FButtons = std::make_unique<TRadioGroupButtons>(this, std::move(NewButton), KeepLastIndex);
    FButtons->OnChange = TNotifyEvent(this, &TRadioGroupOf::ButtonsChanged);
  }
  void Loaded() override {
    Base::Loaded();
    FButtons->Update();
  }
  void ReadState(TReader* Reader) override {
    FButtons->Read([&] { Base::ReadState(Reader); });
  }
  std::unique_ptr<TRadioGroupButtons> FButtons;

 private:
  void ButtonsChanged(TObject* Sender) { this->Click(); }
};

// Columns, ItemIndex and Items of a radio group, published.
template <class T>
void PublishRadioGroup(TPublisher<T>& P) {
  P.Property("Columns", &T::Columns, &T::SetColumns).Default(1);
  P.Property("ItemIndex", &T::ItemIndex, &T::SetItemIndex).Default(-1);
  P.Property("Items", &T::Items, &T::SetItems);
}

using TCustomRadioGroupBase = TRadioGroupOf<TCustomGroupBox>;

class TCustomRadioGroup : public TCustomRadioGroupBase {
  DK_CLASS(TCustomRadioGroup, TCustomRadioGroupBase)
 public:
  using TCustomRadioGroupBase::TCustomRadioGroupBase;
  void Construct() override;
  // The radio button of item Index.
  TRadioButton* Buttons(int Index) const { return FButtons->Buttons(Index); }
  void FlipChildren(bool AllLevels) {}

 protected:
  virtual bool CanModify() { return true; }
};

class TRadioGroup : public TCustomRadioGroup {
  DK_CLASS(TRadioGroup, TCustomRadioGroup)
 public:
  using TCustomRadioGroup::TCustomRadioGroup;
};

DK_LINK_UNIT(ExtCtrls)
