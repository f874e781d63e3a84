// The skinned radio button; the plain radio button until a skin is loaded.
#pragma once

#include <memory>

#include "classlib/ui/StdCtrls.h"
#include "skin/core/sCommonData.h"

class TsRadioButton : public TRadioButton {
  DK_CLASS(TsRadioButton, TRadioButton)
 public:
  explicit TsRadioButton(TComponent* AOwner);
  ~TsRadioButton() override;
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
extern const int sRadioButtonUnit;
[[gnu::used]] static const int* const sRadioButtonAnchor = &sRadioButtonUnit;
}  // namespace dk_link
