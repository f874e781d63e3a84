// Skinned menus: the painter a skin manager keeps for the menus of the
// program (Menus) and the options of the skinned menus it publishes
// (MenuSupport).
//
// The painter draws the items of the forms' main-menu lines from the skin
// (the line's own background is the provider's). Pop-up menus keep the class
// library's plain look for now: the painter hooks no pop-up menu and knows no
// open one.
#pragma once

#include <memory>

#include "classlib/core/Classes.h"
#include "classlib/core/TypInfo.h"
#include "classlib/ui/Graphics.h"
#include "classlib/ui/Menus.h"

class TsSkinManager;
class TsSkinProvider;

DK_ENUM(TsMenuItemType, smCaption, smDivider, smNormal, smTopLine);

using TsMenuManagerDrawItemEvent = TClosure<void(TObject* Sender, TCanvas* ACanvas, const TRect& ARect,
                                                 TOwnerDrawState State, TsMenuItemType ItemType)>;

// What the painter knows of one open pop-up menu.
struct TacMenuInfo {
  TMenuItem* FirstItem = nullptr;
  TBitmap* Bmp = nullptr;  // the menu's background
  HWND Wnd = nullptr;
  bool HaveExtraLine = false;
};

class TsSkinableMenus : public TComponent {
  DK_CLASS(TsSkinableMenus, TComponent)
 public:
  // AOwner: the manager whose skin the menus take.
  explicit TsSkinableMenus(TComponent* AOwner);
  ~TsSkinableMenus() override;

  // The menu border width of the skin ("BORDERSMASK" of "MAINMENU"), cached:
  // a negative cache is computed again on the next call.
  Integer GetSkinBorderWidth();
  Integer SkinBorderWidth = -1;  // the cache (the manager empties it after every skin change)

  // Whether the menus are skinned.
  bool Active() const { return FActive; }
  // Installs (Value) or removes the painter's handlers in the menus of the
  // application's components.
  void InitItems(bool Value);
  void SetActive(bool Value);
  // Follows the manager's skin (active while it has a broadcast one).
  void UpdateMenus();
  void HookPopupMenu(TPopupMenu* Menu, bool Active);
  TacMenuInfo GetMenuInfo(TMenuItem* Item, Integer W, Integer H, TCanvas* Canvas, HWND Wnd);
  void DrawWndBorder(HWND Wnd, TBitmap* Bmp);

  // The items of a form's menu line: with A they get the menu-line handlers
  // (while the manager is active and skins pop-ups; the menu becomes
  // owner-drawn), without A the painter's handlers go again.
  void InitMenuLine(TMainMenu* Menu, bool A);
  // One item: a top-line item gets the menu-line handlers (with A) or loses them.
  void InitItem(TMenuItem* Item, bool A);
  // The item is one of the top-level items of a main menu.
  static bool IsTopLine(TMenuItem* Item);
  // The menu-line handlers: height SM_CYMENU - 1, width of the caption (and
  // picture); the item drawn over the provider's menu line image with the
  // "MENUITEM" background and the "MENULINE" text colours.
  void sMeasureLineItem(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height);
  void sAdvancedDrawLineItem(TObject* Sender, TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State);

  TFont* CaptionFont() const { return FCaptionFont.get(); }
  // Of the captions: a TAlignment (taLeftJustify 0, taRightJustify 1, taCenter 2).
  Integer Alignment = 0;
  TsMenuItemType ItemType = smNormal;  // of the item measured or drawn last
  // Called after an item was painted into its item bitmap.
  TsMenuManagerDrawItemEvent OnDrawItem;
  Integer Margin = 2;
  Integer BevelWidth = 0;
  Integer BorderWidth = 3;
  Integer Spacing = 8;

 private:
  TsSkinManager* Manager() const;
  bool FActive = false;
  std::unique_ptr<TFont> FCaptionFont;
};

// The skinned menus' options a manager publishes.
class TacMenuSupport : public TPersistent {
  DK_CLASS(TacMenuSupport, TPersistent)
 public:
  TacMenuSupport();
  ~TacMenuSupport() override;
  AnsiString IcoLineSkin;
  bool UseExtraLine = false;
  Integer ExtraLineWidth = 32;
  TFont* ExtraLineFont() const { return FExtraLineFont.get(); }
  void SetExtraLineFont(TFont* Value) { FExtraLineFont->Assign(Value); }
  Byte AlphaBlend = 255;

 private:
  std::unique_ptr<TFont> FExtraLineFont;
};

// The skin provider of the MDI parent form (none in this program).
extern TsSkinProvider* MDISkinProvider;
// When set, the font of all menu text instead of the screen's menu font.
extern TFont* CustomMenuFont;
