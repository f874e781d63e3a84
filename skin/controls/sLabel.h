// The skinned labels: text controls that take their text colour from the
// skin's section when a skin is loaded; plain labels until then.
#pragma once

#include <functional>

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

// The caption label that an edit-like control shows beside itself: its bound
// label (BoundLabel) creates, places and frees it.
class TsEditLabel : public TsLabel {
  DK_CLASS(TsEditLabel, TsLabel)
 public:
  explicit TsEditLabel(TComponent* AOwner, TObject* BoundLabel = nullptr)
      : TsLabel(AOwner), FBoundLabel(BoundLabel) {}
  ~TsEditLabel() override;
  TObject* BoundLabel() const { return FBoundLabel; }
  // Runs when the label goes, whoever frees it (its control, its parent or
  // the bound label), so that the bound label forgets it.
  std::function<void()> OnGone;

 private:
  TObject* FBoundLabel;
};

DK_LINK_UNIT(sLabel)
