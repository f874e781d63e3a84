// Skinned menus: the painter a skin manager keeps for the menus of the
// program (Menus) and the options of the skinned menus it publishes
// (MenuSupport).
//
// For now the menus keep the class library's plain look: the painter only
// knows the menu border width of the skin; it draws nothing, hooks no menu
// and knows no open pop-up menu.
#pragma once

#include <memory>

#include "classlib/core/Classes.h"
#include "classlib/core/TypInfo.h"
#include "classlib/ui/Graphics.h"
#include "classlib/ui/Menus.h"

class TsSkinManager;
class TsSkinProvider;

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
  void InitItems(bool Value);
  // Follows the manager's skin (active while it has a broadcast one).
  void UpdateMenus();
  void HookPopupMenu(TPopupMenu* Menu, bool Active);
  TacMenuInfo GetMenuInfo(TMenuItem* Item, Integer W, Integer H, TCanvas* Canvas, HWND Wnd);
  void DrawWndBorder(HWND Wnd, TBitmap* Bmp);

  TFont* CaptionFont() const { return FCaptionFont.get(); }
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
