// What every skinned stand-in of a class-library control shares: its skin
// state (a TsCommonData or a descendant) owned by the control, made at
// construction with the control's kind code and, for some controls, a
// section of their own; streamed as SkinData; resolved when construction or
// streaming ends. Until a skin is loaded the control paints in the class
// library's plain look and the state only keeps what the form resources
// stream.
//
//   class TsPanel : public TsSkinnedControl<TPanel, TsCommonData, COC_TsPanel> { ... };
//   DK_PUBLISH(TsPanel) { PublishSkinData(P); }
#pragma once

#include <memory>

#include "classlib/core/TypInfo.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sConst.h"
#include "skin/core/sKindCodes.h"

template <class Base, class Data, int KindCode>
class TsSkinnedControl : public Base {
 public:
  explicit TsSkinnedControl(TComponent* AOwner) : Base(AOwner) {}
  ~TsSkinnedControl() override = default;

  void Construct() override {
    Base::Construct();
    FCommonData = std::make_unique<Data>(this, true);
    FCommonData->KindCode = KindCode;
    if (const char* section = OwnSection()) FCommonData->SetSkinSection(section);
  }
  void AfterConstruction() override {
    Base::AfterConstruction();
    FCommonData->Loaded();
  }
  Data* SkinData() const { return FCommonData.get(); }
  void SetSkinData(Data* Value) { FCommonData->Assign(Value); }

 protected:
  // A section the control takes at construction instead of its kind's.
  virtual const char* OwnSection() const { return nullptr; }
  void Loaded() override {
    Base::Loaded();
    FCommonData->Loaded();
  }

 private:
  std::unique_ptr<Data> FCommonData;
};

// The SkinData property of a skinned control.
template <class T>
void PublishSkinData(TPublisher<T>& P) {
  P.Property("SkinData", &T::SkinData, &T::SetSkinData);
}
