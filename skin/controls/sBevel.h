// The skinned bevel: a frame or line whose section follows its shape and
// style ("GROUPBOX" for a frame, "PANEL" raised, "PANEL_LOW" lowered). The
// section is painted into a cache and only the 3-pixel edge strips the shape
// needs are copied, so the inside keeps the parent's pixels. The plain bevel
// without a skin.
#pragma once

#include <memory>

#include "classlib/ui/ExtCtrls.h"
#include "skin/core/sCommonData.h"

class TsBevel : public TBevel {
  DK_CLASS(TsBevel, TBevel)
 public:
  explicit TsBevel(TComponent* AOwner);
  ~TsBevel() override;
  void Construct() override;
  void AfterConstruction() override;
  void Invalidate() override;
  void WndProc(TMessage& Message) override;
  TsCommonData* SkinData() const { return FCommonData.get(); }

 protected:
  void Loaded() override;
  void Paint() override;

 private:
  // The section by Shape and Style.
  void CheckSkinSection();
  std::unique_ptr<TsCommonData> FCommonData;
  TBevelStyle FOldStyle = bsLowered;
  TBevelShape FOldShape = bsBox;
};

DK_LINK_UNIT(sBevel)
