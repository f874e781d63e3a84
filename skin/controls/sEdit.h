// The skinned single-line edit. Until a skin is loaded it paints in the class
// library's plain look; its skin state keeps what the form resources stream.
#pragma once

#include <memory>

#include "classlib/ui/StdCtrls.h"
#include "skin/core/sCommonData.h"

class TsEdit : public TEdit {
  DK_CLASS(TsEdit, TEdit)
 public:
  explicit TsEdit(TComponent* AOwner);
  ~TsEdit() override;
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
extern const int sEditUnit;
[[gnu::used]] static const int* const sEditAnchor = &sEditUnit;
}  // namespace dk_link
