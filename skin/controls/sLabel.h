// The skinned labels: windowless text controls that take their text colour
// from the loaded skin. They keep no skin state of their own, only an
// optional manager and section, and ask the manager when they paint; their
// parent paints them like any windowless child, so a skin change reaches them
// through the parent's repaint. Without a manager, or while its skin is not
// active, they draw exactly as the class library's label.
#pragma once

#include <functional>
#include <memory>

#include "classlib/ui/StdCtrls.h"
#include "skin/core/sConst.h"

class TsSkinManager;

class TsCustomLabel : public TCustomLabel {
  DK_CLASS(TsCustomLabel, TCustomLabel)
 public:
  explicit TsCustomLabel(TComponent* AOwner);
  void Construct() override;
  void WndProc(TMessage& Message) override;
  // Stored as written.
  const AnsiString& SkinSection() const { return FSkinSection; }
  void SetSkinSection(const AnsiString& Value);
  // The own manager, else the default one.
  TsSkinManager* SkinManager() const;
  void SetSkinManager(TsSkinManager* Value);
  bool ManagerStored() const { return FSkinManager != nullptr; }
  // The font the caption is drawn with.
  virtual TFont* GetCurrentFont() { return Font(); }
  // The caption's colour (RGB).
  virtual TColor TextColor();
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 protected:
  void Paint() override;
  void DoDrawText(TRect& Rect, UINT Flags) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Whether the label's manager has a skin in use.
  bool SkinActive() const;

 private:
  AnsiString FSkinSection;
  TsSkinManager* FSkinManager = nullptr;
  // The index of SkinSection while Paint runs, -1 otherwise.
  Integer FSkinIndex = -1;
};

class TsLabel : public TsCustomLabel {
  DK_CLASS(TsLabel, TsCustomLabel)
 public:
  using TsCustomLabel::TsCustomLabel;
  bool UseSkinColor() const { return FUseSkinColor; }
  void SetUseSkinColor(bool Value);
  // The section's font colour, or that of the nearest ancestor that gives
  // its own font (a label without a section, or over a fully transparent one).
  TColor TextColor() override;

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

// A label that opens URL when clicked and draws in its hover font (and the
// skin's hot link colour) while the mouse is above it.
class TsWebLabel : public TsLabel {
  DK_CLASS(TsWebLabel, TsLabel)
  DK_MESSAGES(TsWebLabel)
 public:
  explicit TsWebLabel(TComponent* AOwner);
  ~TsWebLabel() override;
  void Construct() override;
  TFont* NormalFont() const { return FNormalFont.get(); }
  void SetNormalFont(TFont* Value);
  TFont* HoverFont() const { return FHoverFont.get(); }
  void SetHoverFont(TFont* Value) { FHoverFont->Assign(Value); }
  const AnsiString& URL() const { return FURL; }
  void SetURL(const AnsiString& Value) { FURL = Value; }
  TsWindowShowMode ShowMode() const { return FShowMode; }
  void SetShowMode(TsWindowShowMode Value) { FShowMode = Value; }
  bool MouseAbove() const { return FMouseAbove; }
  TFont* GetCurrentFont() override;
  TColor TextColor() override;

 public:  // message handlers
  void WMLButtonDown(TWMMouse& Message);
  void WMEraseBkgnd(TMessage& Message) {}
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMParentFontChanged(TMessage& Message);

 protected:
  void Loaded() override;
  // Opens the address (the shell's "open" verb); a seam for tests.
  virtual void OpenURL();

 private:
  void HoverChanged(bool Above);
  std::unique_ptr<TFont> FNormalFont, FHoverFont;
  AnsiString FURL;
  TsWindowShowMode FShowMode = soDefault;
  bool FMouseAbove = false;
};

DK_ENUM(TAlignTo, altLeft, altTop, altBottom, altRight);

// A label that keeps itself beside another control: it follows the control's
// moves, and a resized control moves back beside the label.
class TsStickyLabel : public TsLabel {
  DK_CLASS(TsStickyLabel, TsLabel)
 public:
  using TsLabel::TsLabel;
  ~TsStickyLabel() override;
  void WndProc(TMessage& Message) override;
  TControl* AttachTo() const { return FAttachTo; }
  void SetAttachTo(TControl* Value);
  TAlignTo AlignTo() const { return FAlignTo; }
  void SetAlignTo(TAlignTo Value);
  Integer Gap() const { return FGap; }
  void SetGap(Integer Value);
  // Forward: the label moves beside the control; backward: the control
  // moves beside the label.
  void Adjust(bool Forward);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void Detach();
  void ControlWndProc(TMessage& Message);
  TControl* FAttachTo = nullptr;
  TAlignTo FAlignTo = altLeft;
  Integer FGap = 2;
  TWndMethod FOldWndProc;
  bool FRealigning = false;
};

DK_LINK_UNIT(sLabel)
