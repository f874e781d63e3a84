// The skinned bit button (caption and glyph). Until a skin is loaded it paints in the class
// library's plain look; its skin state keeps what the form resources stream.
#pragma once

#include <memory>

#include "classlib/ui/Buttons.h"
#include "skin/core/sCommonData.h"

class TsBitBtn : public TBitBtn {
  DK_CLASS(TsBitBtn, TBitBtn)
 public:
  explicit TsBitBtn(TComponent* AOwner);
  ~TsBitBtn() override;
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
extern const int sBitBtnUnit;
[[gnu::used]] static const int* const sBitBtnAnchor = &sBitBtnUnit;
}  // namespace dk_link
