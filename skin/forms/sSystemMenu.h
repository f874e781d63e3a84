// The skinned system menu: a pop-up menu of the class library that offers the
// commands of a window's own system menu (Restore, Move, Size, Minimize,
// Maximize, Close and the window's extra commands), so that the skinned menu
// painter can draw it, and that sends the window the same WM_SYSCOMMAND
// commands. The title buttons read its states: which of close, maximize and
// minimize are visible and enabled.
#pragma once

#include "classlib/ui/Forms.h"
#include "classlib/ui/Menus.h"
#include "skin/forms/sTitleButtons.h"

class TsSkinProvider;

// The states every skinned system menu answers.
class TsCustomSysMenu : public TPopupMenu {
  DK_CLASS(TsCustomSysMenu, TPopupMenu)
 public:
  explicit TsCustomSysMenu(TComponent* AOwner) : TPopupMenu(AOwner) {}
  virtual bool VisibleClose() = 0;
  virtual bool VisibleMax() = 0;
  virtual bool VisibleMin() = 0;
  virtual bool EnabledMax() = 0;
  virtual bool EnabledMin() = 0;
  virtual bool EnabledRestore() = 0;
};

// The system menu of a form with a skin provider (its owner).
class TsSystemMenu : public TsCustomSysMenu {
  DK_CLASS(TsSystemMenu, TsCustomSysMenu)
 public:
  explicit TsSystemMenu(TComponent* AOwner);
  void Construct() override;

  // Rebuilds every item from the form's system menu.
  void Generate();
  // Visibility and enabling of the standard items (after a Generate when
  // asked, or when there is no Close item yet).
  void UpdateItems(bool Regenerate = false);
  // Draws nothing of its own: the menu painter gives the items their look.
  void UpdateGlyphs() {}
  // Inserts at the top the sub-menu "SkinSelectItem" that lists the skins
  // of the provider's manager (the current one radio-checked, a new column
  // every 20 names), followed by a separator.
  void MakeSkinItems();
  // Takes the skin chosen in that sub-menu into use.
  void SkinSelect(TObject* Sender);

  bool VisibleClose() override;
  bool VisibleMax() override;
  bool VisibleMin() override;
  bool EnabledMax() override;
  bool EnabledMin() override;
  bool EnabledRestore() override;
  bool VisibleRestore();
  bool VisibleSize();
  bool EnabledClose();
  bool EnabledMove();
  bool EnabledSize();

  void RestoreClick(TObject* Sender);
  void MoveClick(TObject* Sender);
  void SizeClick(TObject* Sender);
  void MinClick(TObject* Sender);
  void MaxClick(TObject* Sender);
  void CloseClick(TObject* Sender);
  void ExtClick(TObject* Sender);

  // Commands copied from the window's system menu beyond the standard ones.
  int ExtraCount = 0;
  TsSkinProvider* Provider = nullptr;
  TCustomForm* Form = nullptr;
  TMenuItem* ItemRestore = nullptr;
  TMenuItem* ItemMove = nullptr;
  TMenuItem* ItemSize = nullptr;
  TMenuItem* ItemMinimize = nullptr;
  TMenuItem* ItemMaximize = nullptr;
  TMenuItem* ItemClose = nullptr;
  TMenuItem* SubMenuItem = nullptr;  // "ac_SubMenu", nullptr when none

 private:
  HMENU FormSysMenu() const;
  bool HaveSysMenu() const;
  bool Iconic() const;
  bool MDIChild() const;
  TMenuItem* AddItem(const AnsiString& Caption, const AnsiString& Name, const TNotifyEvent& Handler, NativeInt Tag);
  void AddSeparator(const AnsiString& Name = AnsiString());
  void AddSubMenu(TacMenuItemPos Position);
  void Post(Word Command);
};
