// The skinned labels: text controls that take their text colour from the
// skin's section when a skin is loaded; plain labels until then.
#pragma once

#include "classlib/ui/StdCtrls.h"

class TsCustomLabel : public TCustomLabel {
  DK_CLASS(TsCustomLabel, TCustomLabel)
 public:
  explicit TsCustomLabel(TComponent* AOwner);
  void Construct() override;
  // Stored as written.
  const AnsiString& SkinSection() const { return FSkinSection; }
  void SetSkinSection(const AnsiString& Value);
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 private:
  AnsiString FSkinSection;
};

class TsLabel : public TsCustomLabel {
  DK_CLASS(TsLabel, TsCustomLabel)
 public:
  using TsCustomLabel::TsCustomLabel;
  bool UseSkinColor() const { return FUseSkinColor; }
  void SetUseSkinColor(bool Value);

 private:
  bool FUseSkinColor = true;
};

DK_LINK_UNIT(sLabel)
