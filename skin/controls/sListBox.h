// The skinned list box. Until a skin is loaded it paints in the class
// library's plain look; its skin state keeps what the form resources stream.
#pragma once

#include <memory>

#include "classlib/ui/StdCtrls.h"
#include "skin/core/sCommonData.h"

class TsCustomListBox : public TListBox {
  DK_CLASS(TsCustomListBox, TListBox)
 public:
  explicit TsCustomListBox(TComponent* AOwner);
  ~TsCustomListBox() override;
  void Construct() override;
  void AfterConstruction() override;
  TsScrollWndData* SkinData() const { return FCommonData.get(); }
  void SetSkinData(TsScrollWndData* Value) { FCommonData->Assign(Value); }

 protected:
  void Loaded() override;

 private:
  std::unique_ptr<TsScrollWndData> FCommonData;
};
class TsListBox : public TsCustomListBox {
  DK_CLASS(TsListBox, TsCustomListBox)
 public:
  using TsCustomListBox::TsCustomListBox;
};

// Every unit that includes this header links this unit in, so that form
// resources find its classes by name.
namespace dk_link {
extern const int sListBoxUnit;
[[gnu::used]] static const int* const sListBoxAnchor = &sListBoxUnit;
}  // namespace dk_link
