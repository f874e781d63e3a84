// The skinned panel. Until a skin is loaded it paints in the class
// library's plain look; its skin state keeps what the form resources stream.
#pragma once

#include <memory>

#include "classlib/ui/ExtCtrls.h"
#include "skin/core/sCommonData.h"

class TsPanel : public TPanel {
  DK_CLASS(TsPanel, TPanel)
 public:
  explicit TsPanel(TComponent* AOwner);
  ~TsPanel() override;
  void Construct() override;
  void AfterConstruction() override;
  TsCommonData* SkinData() const { return FCommonData.get(); }
  void SetSkinData(TsCommonData* Value) { FCommonData->Assign(Value); }

 protected:
  void Loaded() override;

 private:
  std::unique_ptr<TsCommonData> FCommonData;
};

// Every unit that includes this header links this unit in, so that form
// resources find its classes by name.
namespace dk_link {
extern const int sPanelUnit;
[[gnu::used]] static const int* const sPanelAnchor = &sPanelUnit;
}  // namespace dk_link
