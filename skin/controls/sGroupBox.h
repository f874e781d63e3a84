// The skinned group box and the skinned radio group. The radio group keeps its
// own list of radio buttons, one per line of Items, laid out in Columns;
// ItemIndex is the checked one (-1: none). Plain look until a skin is loaded.
#pragma once

#include <memory>
#include <vector>

#include "classlib/ui/ExtCtrls.h"
#include "skin/controls/sRadioButton.h"

class TsGroupBox : public TGroupBox {
  DK_CLASS(TsGroupBox, TGroupBox)
 public:
  explicit TsGroupBox(TComponent* AOwner);
  ~TsGroupBox() override;
  void Construct() override;
  void AfterConstruction() override;
  TsCommonData* SkinData() const { return FCommonData.get(); }
  void SetSkinData(TsCommonData* Value) { FCommonData->Assign(Value); }

 protected:
  void Loaded() override;

 private:
  std::unique_ptr<TsCommonData> FCommonData;
};

// A radio button that its group creates, owns and places.
class TsGroupButton : public TsRadioButton {
  DK_CLASS(TsGroupButton, TsRadioButton)
 public:
  using TsRadioButton::TsRadioButton;
};

class TsRadioGroup : public TsGroupBox {
  DK_CLASS(TsRadioGroup, TsGroupBox)
  DK_MESSAGES(TsRadioGroup)
 public:
  explicit TsRadioGroup(TComponent* AOwner);
  ~TsRadioGroup() override;
  void Construct() override;

  TStrings* Items() const { return FButtons->Items(); }
  void SetItems(TStrings* Value) { FButtons->Items()->Assign(Value); }
  Integer ItemIndex() const { return FButtons->ItemIndex(); }
  // Below -1 counts as -1 (none), beyond the last item as the last item; the
  // same index does nothing; while the group is read only the index is stored.
  void SetItemIndex(Integer Value) { FButtons->SetItemIndex(Value); }
  Integer Columns() const { return FButtons->Columns(); }
  void SetColumns(Integer Value) { FButtons->SetColumns(Value); }
  TsGroupButton* Buttons(int Index) const { return static_cast<TsGroupButton*>(FButtons->Buttons(Index)); }
  int ButtonCount() const { return FButtons->ButtonCount(); }
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override {}

 protected:
  void Loaded() override;
  void ReadState(TReader* Reader) override;

 public:  // message handlers
  void CMFontChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void WMSize(TWMSize& Message);

 private:
  void ButtonsChanged(TObject* Sender) { Click(); }
  std::unique_ptr<TRadioGroupButtons> FButtons;
};

// Every unit that includes this header links this unit in, so that form
// resources find its classes by name.
namespace dk_link {
extern const int sGroupBoxUnit;
[[gnu::used]] static const int* const sGroupBoxAnchor = &sGroupBoxUnit;
}  // namespace dk_link
