// The small objects a skin provider publishes for the form designer: the
// user title buttons (extra buttons in the skinned caption), the caption
// icon's override, extra caption text and an extra sub-menu of the skinned
// system menu; with them the size and the painting of the caption icon.
#pragma once

#include <memory>

#include "classlib/core/Classes.h"
#include "classlib/ui/Controls.h"
#include "classlib/ui/Graphics.h"
#include "classlib/ui/Menus.h"
#include "skin/forms/sSkinProvider.h"

class THintWindow;

using TacTitleButtonMouseEvent =
    TClosure<void(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y)>;

// One user title button.
class TsTitleButton : public TCollectionItem {
  DK_CLASS(TsTitleButton, TCollectionItem)
 public:
  explicit TsTitleButton(TCollection* Collection);
  ~TsTitleButton() override;
  AnsiString GetDisplayName() override { return Name; }

  bool UseSkinData = true;  // the image "TITLEBUTTON" of the skin; false: none
  AnsiString Name = "TsTitleButton";
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value) { FGlyph->Assign(Value); }
  TacTitleButtonMouseEvent OnMouseUp;
  TacTitleButtonMouseEvent OnMouseDown;
  bool Enabled = true;
  AnsiString Hint;
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  THintWindow* HintWnd = nullptr;  // the open hint, owned
  TsCaptionButton BtnData;         // state, image, place and fade as for the system buttons

  // The provider's non-client mouse handlers report presses (Index is not passed on).
  void MouseDown(Integer Index, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void MouseUp(Integer Index, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  TsSkinProvider* Provider() const;
  void OnGlyphChange(TObject* Sender);
  void StopFade();
  std::unique_ptr<TBitmap> FGlyph;
  bool FVisible = true;
};

class TsTitleButtons : public TCollection {
  DK_CLASS(TsTitleButtons, TCollection)
 public:
  explicit TsTitleButtons(TsSkinProvider* AOwner);
  TsTitleButton* Items(int Index) const { return static_cast<TsTitleButton*>(TCollection::Items(Index)); }
  void SetItem(int Index, TsTitleButton* Value) { TCollection::SetItem(Index, Value); }
  TPersistent* GetOwner() override;
  TsSkinProvider* Provider() const { return FOwner; }

 protected:
  // The collection's own bookkeeping only: the caption is not repainted.
  void Update(TCollectionItem* Item) override {}

 private:
  TsSkinProvider* FOwner;
};

// The caption icon's override: a picture of its own and a size (0: from the
// caption's height).
class TsTitleIcon : public TPersistent {
  DK_CLASS(TsTitleIcon, TPersistent)
 public:
  explicit TsTitleIcon(TsSkinProvider* AOwner);
  ~TsTitleIcon() override;
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value) { FGlyph->Assign(Value); }
  Integer Height = 0;
  Integer Width = 0;
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

 private:
  TsSkinProvider* FOwner;
  std::unique_ptr<TBitmap> FGlyph;
  bool FVisible = true;
};

// Text written after the form's caption (or instead of it).
class TacAddedTitle : public TPersistent {
  DK_CLASS(TacAddedTitle, TPersistent)
 public:
  TacAddedTitle();
  ~TacAddedTitle() override;
  TsSkinProvider* Provider = nullptr;  // set by the provider
  bool ShowMainCaption() const { return FShowMainCaption; }
  void SetShowMainCaption(bool Value);
  const AnsiString& Text() const { return FText; }
  void SetText(const AnsiString& Value);
  // Colour clNone (0x1FFFFFFF): the caption's colour.
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value);
  void Repaint();

 private:
  bool FShowMainCaption = true;
  AnsiString FText;
  std::unique_ptr<TFont> FFont;
};

DK_ENUM(TacMenuItemPos, ipTop, ipBottom, ipBeforeClose);

// An extra sub-menu of the skinned system menu: the items of PopupMenu under
// Caption, at Position.
class TacSysSubMenu : public TPersistent {
  DK_CLASS(TacSysSubMenu, TPersistent)
 public:
  explicit TacSysSubMenu(TsSkinProvider* AOwner) {}
  AnsiString Caption;
  TacMenuItemPos Position = ipBeforeClose;
  TPopupMenu* PopupMenu = nullptr;  // a reference
};

// The caption icon's size for a caption height: 1 up to 8, 8 up to 16, else 16.
Integer IconSizeFor(Integer H);
// Paints the caption icon into the provider's non-client cache at its icon
// rectangle (nothing while the icon is not shown).
void PaintTitleIcon(TsSkinProvider* Provider);
