#include "skin/controls/sLabel.h"

DK_UNIT(sLabel);

TsCustomLabel::TsCustomLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}

void TsCustomLabel::Construct() {
  inherited::Construct();
  SetTransparent(true);
}

void TsCustomLabel::SetSkinSection(const AnsiString& Value) {
  if (FSkinSection == Value) return;
  FSkinSection = Value;
  Invalidate();
}

void TsLabel::SetUseSkinColor(bool Value) {
  if (FUseSkinColor == Value) return;
  FUseSkinColor = Value;
  Invalidate();
}

TsEditLabel::~TsEditLabel() {
  if (OnGone) OnGone();
}

DK_PUBLISH(TsCustomLabel) {
  P.Property("SkinSection", &TsCustomLabel::SkinSection, &TsCustomLabel::SetSkinSection);
  P.Property("Transparent", &TsCustomLabel::Transparent, &TsCustomLabel::SetTransparent).Default(true);
  P.Property("OnMouseEnter", &TsCustomLabel::OnMouseEnter);
  P.Property("OnMouseLeave", &TsCustomLabel::OnMouseLeave);
}
DK_PUBLISH(TsLabel) { P.Property("UseSkinColor", &TsLabel::UseSkinColor, &TsLabel::SetUseSkinColor).Default(true); }
DK_PUBLISH(TsEditLabel) {}
