#include "skin/core/sSkinManagerOptions.h"

#include "classlib/ui/WinApi.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sStyleSimply.h"

void TacSkinEffects::SetAllowOuterEffects(bool Value) {
  if (FAllowOuterEffects == Value) return;
  FAllowOuterEffects = Value;
  if (Manager && !Manager->ComponentState().Contains(csLoading) && !Manager->UpdateLocked()) Manager->RepaintForms(false);
}

void TacSkinEffects::SetDiscoloredGlyphs(bool Value) {
  if (FDiscoloredGlyphs == Value) return;
  FDiscoloredGlyphs = Value;
  if (Manager && !Manager->ComponentState().Contains(csLoading) && !Manager->UpdateLocked()) Manager->RepaintForms(true);
}

TacAnimEffects::TacAnimEffects()
    : FBlendOnMoving(std::make_unique<TacBlendOnMoving>()), FButtons(std::make_unique<TacBtnEffects>()),
      FDialogShow(std::make_unique<TacDialogShow>()), FFormShow(std::make_unique<TacFormShow>()),
      FFormHide(std::make_unique<TacFormHide>()), FDialogHide(std::make_unique<TacFormHide>()),
      FMinimizing(std::make_unique<TacMinimizing>()), FPageChange(std::make_unique<TacPageChange>()),
      FSkinChanging(std::make_unique<TacSkinChanging>()) {}

TacAnimEffects::~TacAnimEffects() = default;

AnsiString ThirdPartyList::GetString(Integer Index) const {
  return Index >= 0 && Index < acThirdPartyTypeCount ? FLists[static_cast<size_t>(Index)] : AnsiString();
}

void ThirdPartyList::SetString(Integer Index, const AnsiString& Value) {
  if (Index >= 0 && Index < acThirdPartyTypeCount) FLists[static_cast<size_t>(Index)] = Value;
}

void TacScrollBarsSupport::SetScrollSize(Integer Value) {
  if (FScrollSize == Value) return;
  FScrollSize = Value;
  if (Manager && !Manager->ComponentState().Contains(csLoading)) {
    TMessage m{};
    AppBroadCastS(m);
  }
}

void TacScrollBarsSupport::SetButtonsSize(Integer Value) {
  if (FButtonsSize == Value) return;
  FButtonsSize = Value;
  if (Manager && !Manager->ComponentState().Contains(csLoading)) Manager->RepaintForms(false);
}

namespace {
bool* const kTwinFlags[4] = {&ac_CheckEmptyAlpha, &MouseForbidden, &ac_NoExtBordersIfMax, &acOldGlyphsOrder};
}

bool TacOptions::GetBool(Integer Index) const {
  if (Index < 0 || Index > 3) return false;
  return FBools[static_cast<size_t>(Index)] || *kTwinFlags[Index];
}

void TacOptions::SetBool(Integer Index, bool Value) {
  if (Index < 0 || Index > 3) return;
  FBools[static_cast<size_t>(Index)] = Value;
  *kTwinFlags[Index] = Value;
}

TacOptimizingPriority TacOptions::GetOptimizingPriority() const {
  return ac_OptimizeMemory ? opMemory : FOptimizingPriority;
}

void TacOptions::SetOptimizingPriority(TacOptimizingPriority Value) {
  FOptimizingPriority = Value;
  ac_OptimizeMemory = Value == opMemory;
}

void LoadThirdNames(TsSkinManager* Manager, bool Overwrite) {
  ThirdPartyList* third = Manager->ThirdParty();
  for (Integer i = 0; i < acThirdPartyTypeCount; ++i) {
    if (Overwrite || third->GetString(i).empty()) third->SetString(i, acThirdNames[i]);
    Manager->ThirdLists[static_cast<size_t>(i)]->SetText(third->GetString(i));
  }
}

void UpdateThirdNames(TsSkinManager* Manager) {
  for (Integer i = 0; i < acThirdPartyTypeCount; ++i)
    Manager->ThirdParty()->SetString(i, Manager->ThirdLists[static_cast<size_t>(i)]->Text());
}

Integer GetScrollSize(TsSkinManager* Manager) {
  if (Manager && Manager->ScrollsOptions()->ScrollSize() >= 0) return Manager->ScrollsOptions()->ScrollSize();
  return GetSystemMetrics(SM_CXVSCROLL);
}

Integer GetComboBtnSize(TsSkinManager* Manager) {
  const Integer system = GetSystemMetrics(SM_CXVSCROLL), size = GetScrollSize(Manager);
  return size > system ? size : system;
}

DK_PUBLISH(TacSkinEffects) {
  P.Property("AllowAeroBluring", &TacSkinEffects::AllowAeroBluring).Default(true);
  P.Property("AllowGlowing", &TacSkinEffects::AllowGlowing).Default(true);
  P.Property("AllowOuterEffects", &TacSkinEffects::AllowOuterEffects, &TacSkinEffects::SetAllowOuterEffects)
      .Default(false);
  P.Property("DiscoloredGlyphs", &TacSkinEffects::DiscoloredGlyphs, &TacSkinEffects::SetDiscoloredGlyphs)
      .Default(false);
}
DK_PUBLISH(TacBtnEffects) {
  P.Property("Events", &TacBtnEffects::Events)
      .Default(TacBtnEvents{beMouseEnter, beMouseLeave, beMouseDown, beMouseUp});
}
DK_PUBLISH(TacFormAnimation) {
  P.Property("Active", &TacFormAnimation::Active).Default(true);
  P.Property("Time", &TacFormAnimation::Time).Default(0);
}
DK_PUBLISH(TacBlendOnMoving) {
  P.Property("BlendValue", &TacBlendOnMoving::BlendValue).Default(170);
}
DK_PUBLISH(TacMinimizing) {}
DK_PUBLISH(TacFormShow) { P.Property("Mode", &TacFormShow::Mode).Default(atAero); }
DK_PUBLISH(TacFormHide) { P.Property("Mode", &TacFormHide::Mode).Default(atAero); }
DK_PUBLISH(TacPageChange) {}
DK_PUBLISH(TacDialogShow) { P.Property("Mode", &TacDialogShow::Mode).Default(atAero); }
DK_PUBLISH(TacSkinChanging) { P.Property("Mode", &TacSkinChanging::Mode).Default(atFading); }
DK_PUBLISH(TacAnimEffects) {
  P.Property("BlendOnMoving", &TacAnimEffects::BlendOnMoving);
  P.Property("Buttons", &TacAnimEffects::Buttons);
  P.Property("DialogShow", &TacAnimEffects::DialogShow);
  P.Property("FormShow", &TacAnimEffects::FormShow);
  P.Property("FormHide", &TacAnimEffects::FormHide);
  P.Property("DialogHide", &TacAnimEffects::DialogHide);
  P.Property("Minimizing", &TacAnimEffects::Minimizing);
  P.Property("PageChange", &TacAnimEffects::PageChange);
  P.Property("SkinChanging", &TacAnimEffects::SkinChanging);
}

DK_PUBLISH(ThirdPartyList) {
  P.Property("ThirdEdits", &ThirdPartyList::ThirdEdits, &ThirdPartyList::SetThirdEdits);
  P.Property("ThirdButtons", &ThirdPartyList::ThirdButtons, &ThirdPartyList::SetThirdButtons);
  P.Property("ThirdBitBtns", &ThirdPartyList::ThirdBitBtns, &ThirdPartyList::SetThirdBitBtns);
  P.Property("ThirdCheckBoxes", &ThirdPartyList::ThirdCheckBoxes, &ThirdPartyList::SetThirdCheckBoxes);
  P.Property("ThirdGroupBoxes", &ThirdPartyList::ThirdGroupBoxes, &ThirdPartyList::SetThirdGroupBoxes);
  P.Property("ThirdListViews", &ThirdPartyList::ThirdListViews, &ThirdPartyList::SetThirdListViews);
  P.Property("ThirdPanels", &ThirdPartyList::ThirdPanels, &ThirdPartyList::SetThirdPanels);
  P.Property("ThirdGrids", &ThirdPartyList::ThirdGrids, &ThirdPartyList::SetThirdGrids);
  P.Property("ThirdTreeViews", &ThirdPartyList::ThirdTreeViews, &ThirdPartyList::SetThirdTreeViews);
  P.Property("ThirdComboBoxes", &ThirdPartyList::ThirdComboBoxes, &ThirdPartyList::SetThirdComboBoxes);
  P.Property("ThirdWWEdits", &ThirdPartyList::ThirdWWEdits, &ThirdPartyList::SetThirdWWEdits);
  P.Property("ThirdVirtualTrees", &ThirdPartyList::ThirdVirtualTrees, &ThirdPartyList::SetThirdVirtualTrees);
  P.Property("ThirdGridEh", &ThirdPartyList::ThirdGridEh, &ThirdPartyList::SetThirdGridEh);
  P.Property("ThirdPageControl", &ThirdPartyList::ThirdPageControl, &ThirdPartyList::SetThirdPageControl);
  P.Property("ThirdTabControl", &ThirdPartyList::ThirdTabControl, &ThirdPartyList::SetThirdTabControl);
  P.Property("ThirdToolBar", &ThirdPartyList::ThirdToolBar, &ThirdPartyList::SetThirdToolBar);
  P.Property("ThirdStatusBar", &ThirdPartyList::ThirdStatusBar, &ThirdPartyList::SetThirdStatusBar);
  P.Property("ThirdSpeedButton", &ThirdPartyList::ThirdSpeedButton, &ThirdPartyList::SetThirdSpeedButton);
  P.Property("ThirdScrollControl", &ThirdPartyList::ThirdScrollControl, &ThirdPartyList::SetThirdScrollControl);
  P.Property("ThirdUpDown", &ThirdPartyList::ThirdUpDown, &ThirdPartyList::SetThirdUpDown);
  P.Property("ThirdScrollBar", &ThirdPartyList::ThirdScrollBar, &ThirdPartyList::SetThirdScrollBar);
  P.Property("ThirdStaticText", &ThirdPartyList::ThirdStaticText, &ThirdPartyList::SetThirdStaticText);
  P.Property("ThirdNativePaint", &ThirdPartyList::ThirdNativePaint, &ThirdPartyList::SetThirdNativePaint);
}

DK_PUBLISH(TacScrollBarsSupport) {
  P.Property("ButtonsSize", &TacScrollBarsSupport::ButtonsSize, &TacScrollBarsSupport::SetButtonsSize).Default(-1);
  P.Property("ScrollSize", &TacScrollBarsSupport::ScrollSize, &TacScrollBarsSupport::SetScrollSize).Default(-1);
}
DK_PUBLISH(TacButtonsSupport) {
  P.Property("ShowFocusRect", &TacButtonsSupport::ShowFocusRect).Default(true);
  P.Property("ShiftContentOnClick", &TacButtonsSupport::ShiftContentOnClick).Default(true);
}
DK_PUBLISH(TacLabelsSupport) { P.Property("TransparentAlways", &TacLabelsSupport::TransparentAlways).Default(true); }
DK_PUBLISH(TacOptions) {
  P.Property("CheckEmptyAlpha", &TacOptions::CheckEmptyAlpha, &TacOptions::SetCheckEmptyAlpha).Default(false);
  P.Property("NoMouseHover", &TacOptions::NoMouseHover, &TacOptions::SetNoMouseHover).Default(false);
  P.Property("NativeBordersMaximized", &TacOptions::NativeBordersMaximized, &TacOptions::SetNativeBordersMaximized)
      .Default(false);
  P.Property("StdGlyphsOrder", &TacOptions::StdGlyphsOrder, &TacOptions::SetStdGlyphsOrder).Default(false);
  P.Property("OptimizingPriority", &TacOptions::GetOptimizingPriority, &TacOptions::SetOptimizingPriority)
      .Default(opSpeed);
}
