// The skinned multi-line edit. Until a skin is loaded it paints in the class
// library's plain look; its skin state keeps what the form resources stream.
#pragma once

#include <memory>

#include "classlib/ui/StdCtrls.h"
#include "skin/core/sCommonData.h"

class TsMemo : public TMemo {
  DK_CLASS(TsMemo, TMemo)
 public:
  explicit TsMemo(TComponent* AOwner);
  ~TsMemo() override;
  void Construct() override;
  void AfterConstruction() override;
  TsScrollWndData* SkinData() const { return FCommonData.get(); }
  void SetSkinData(TsScrollWndData* Value) { FCommonData->Assign(Value); }

 protected:
  void Loaded() override;

 private:
  std::unique_ptr<TsScrollWndData> FCommonData;
};

// Every unit that includes this header links this unit in, so that form
// resources find its classes by name.
namespace dk_link {
extern const int sMemoUnit;
[[gnu::used]] static const int* const sMemoAnchor = &sMemoUnit;
}  // namespace dk_link
