// The skinned push button. Until a skin is loaded it paints in the class
// library's plain look; its skin state keeps what the form resources stream.
#pragma once

#include <memory>

#include "classlib/ui/StdCtrls.h"
#include "skin/core/sCommonData.h"

class TsButton : public TButton {
  DK_CLASS(TsButton, TButton)
 public:
  explicit TsButton(TComponent* AOwner);
  ~TsButton() override;
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
extern const int sButtonUnit;
[[gnu::used]] static const int* const sButtonAnchor = &sButtonUnit;
}  // namespace dk_link
