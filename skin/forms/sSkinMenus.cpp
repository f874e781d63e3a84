#include "skin/forms/sSkinMenus.h"

#include "skin/core/sSkinManager.h"

TsSkinProvider* MDISkinProvider = nullptr;

TsSkinableMenus::TsSkinableMenus(TComponent* AOwner)
    : TComponent(AOwner), FCaptionFont(std::make_unique<TFont>()) {}

TsSkinableMenus::~TsSkinableMenus() = default;

TsSkinManager* TsSkinableMenus::Manager() const { return dynamic_cast<TsSkinManager*>(Owner()); }

Integer TsSkinableMenus::GetSkinBorderWidth() {
  if (SkinBorderWidth >= 0) return SkinBorderWidth;
  TsSkinManager* m = Manager();
  const Integer i = m ? m->GetMaskIndex(m->GetSkinIndex("MAINMENU"), "MAINMENU", "BORDERSMASK") : -1;
  if (!m || !m->IsValidImgIndex(i)) {
    SkinBorderWidth = 0;
  } else {
    const Integer margin = m->Masks[static_cast<size_t>(i)].UniformMargin;
    SkinBorderWidth = margin < 1 ? 3 : margin;
  }
  return SkinBorderWidth;
}

void TsSkinableMenus::InitItems(bool Value) { FActive = Value; }

void TsSkinableMenus::UpdateMenus() {
  if (TsSkinManager* m = Manager()) FActive = m->CommonSkinData.Active;
}

void TsSkinableMenus::HookPopupMenu(TPopupMenu*, bool) {}

TacMenuInfo TsSkinableMenus::GetMenuInfo(TMenuItem*, Integer, Integer, TCanvas*, HWND) { return TacMenuInfo{}; }

void TsSkinableMenus::DrawWndBorder(HWND, TBitmap*) {}

TacMenuSupport::TacMenuSupport() : FExtraLineFont(std::make_unique<TFont>()) {}

TacMenuSupport::~TacMenuSupport() = default;

DK_PUBLISH(TacMenuSupport) {
  P.Property("AlphaBlend", &TacMenuSupport::AlphaBlend).Default(255);
  P.Property("ExtraLineFont", &TacMenuSupport::ExtraLineFont, &TacMenuSupport::SetExtraLineFont);
  P.Property("ExtraLineWidth", &TacMenuSupport::ExtraLineWidth).Default(32);
  P.Property("IcoLineSkin", &TacMenuSupport::IcoLineSkin);
  P.Property("UseExtraLine", &TacMenuSupport::UseExtraLine).Default(false);
}
