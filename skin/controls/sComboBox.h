// The skinned combo box. Until a skin is loaded it paints in the class
// library's plain look; its skin state keeps what the form resources stream.
#pragma once

#include <memory>

#include "classlib/ui/StdCtrls.h"
#include "skin/core/sCommonData.h"

class TsComboBox : public TComboBox {
  DK_CLASS(TsComboBox, TComboBox)
 public:
  explicit TsComboBox(TComponent* AOwner);
  ~TsComboBox() override;
  void Construct() override;
  void AfterConstruction() override;
  TsCtrlSkinData* SkinData() const { return FCommonData.get(); }
  void SetSkinData(TsCtrlSkinData* Value) { FCommonData->Assign(Value); }

 protected:
  void Loaded() override;

 private:
  std::unique_ptr<TsCtrlSkinData> FCommonData;
};

// Every unit that includes this header links this unit in, so that form
// resources find its classes by name.
namespace dk_link {
extern const int sComboBoxUnit;
[[gnu::used]] static const int* const sComboBoxAnchor = &sComboBoxUnit;
}  // namespace dk_link
