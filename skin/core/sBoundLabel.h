// The caption label of an edit-like skinned control: a sub-object that the
// control publishes, which creates a label beside the control (on one of
// eight sides and corners) and keeps it in step with the control's bounds,
// visibility, enabled state and reading order. The control hands it every
// message it receives (HandleOwnerMsg).
#pragma once

#include <memory>

#include "classlib/ui/Controls.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sConst.h"

class TsEditLabel;

class TsBoundLabel : public TPersistent {
  DK_CLASS(TsBoundLabel, TPersistent)
 public:
  // CommonData: the control's skin state; its owner is the control.
  TsBoundLabel(TObject* AOwner, TsCommonData* CommonData);
  ~TsBoundLabel() override;

  bool Active() const { return FActive; }
  void SetActive(bool Value);
  const AnsiString& Caption() const { return FCaption; }
  void SetCaption(const AnsiString& Value);
  bool EnabledAlways() const { return FEnabledAlways; }
  void SetEnabledAlways(bool Value);
  Integer Indent() const { return FIndent; }
  void SetIndent(Integer Value);
  // The label's font while the label exists, else the bound label's own.
  TFont* Font() const;
  void SetFont(TFont* Value);
  TsCaptionLayout Layout() const { return FLayout; }
  void SetLayout(TsCaptionLayout Value);
  // Largest width of the label; 0: no limit and no word wrap.
  Integer MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(Integer Value);
  bool UseSkinColor() const;
  void SetUseSkinColor(bool Value);

  TsEditLabel* TheLabel() const { return FTheLabel; }
  TsCommonData* CommonData() const { return FCommonData; }

  // Places the label beside the control by Layout.
  void AlignLabel();
  // The label's text alignment by Layout.
  void UpdateAlignment();
  // Called by the control with every message it receives.
  void HandleOwnerMsg(const TMessage& Message, TControl* Owner);

 private:
  TControl* Control() const;
  void FreeLabel();

  Integer FMaxWidth = 0;
  AnsiString FCaption;
  TsCaptionLayout FLayout = sclLeft;
  std::unique_ptr<TFont> FFont;
  Integer FIndent = 0;
  bool FEnabledAlways = false;
  bool FActive = false;
  TsEditLabel* FTheLabel = nullptr;
  TsCommonData* FCommonData;
};
