// Skinned menus: the painter a skin manager keeps for the menus of the
// program (Menus) and the options of the skinned menus it publishes
// (MenuSupport).
//
// The painter draws the items of the forms' main-menu lines from the skin
// (the line's own background is the provider's) and every item of the
// pop-up menus it hooks: each open pop-up gets one background bitmap the size
// of its whole window (section "MAINMENU" with the icon column, the border
// image and the extra line), rendered once and copied from by every item;
// the pop-up window takes the border ring and the window region from it.
#pragma once

#include <memory>

#include "classlib/core/Classes.h"
#include "classlib/core/TypInfo.h"
#include "classlib/ui/Graphics.h"
#include "classlib/ui/Menus.h"
#include "skin/core/sConst.h"

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
  // The pop-up handlers on every sub-item of Item at any depth (with A where
  // the item has none of its own), or this painter's handlers taken away.
  void HookItem(TMenuItem* Item, bool A);
  // A pop-up menu: owner-drawn with A (and skinned pop-ups), not animated,
  // and the pop-up handlers on all its items.
  void HookPopupMenu(TPopupMenu* Menu, bool Active);
  // The background of the pop-up that holds Item (prepared with a canvas
  // when it is not cached yet), or of the pop-up window Wnd (Item nullptr).
  TacMenuInfo GetMenuInfo(TMenuItem* Item, Integer W, Integer H, TCanvas* Canvas, HWND Wnd);
  // Renders and caches the background of the pop-up of Item.
  void PrepareMenuBG(TMenuItem* Item, Integer Width, Integer Height, HWND Wnd);
  // The pop-up window's region (the border image's key-colour corners cut
  // away) and its border ring from Bmp, once per background erase.
  void DrawWndBorder(HWND Wnd, TBitmap* Bmp);

  // Measuring of pop-up items.
  void sMeasureItem(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height);
  Integer GetItemHeight(TCanvas* ACanvas, TMenuItem* Item);
  Integer GetItemWidth(TCanvas* ACanvas, TMenuItem* Item, const TacMenuInfo& Info);
  // The size of a pop-up without a window: its columns side by side.
  Integer ParentWidth(TCanvas* ACanvas, TMenuItem* Item);
  Integer ParentHeight(TCanvas* ACanvas, TMenuItem* Item);

  // Painting of pop-up items over the cached background.
  void sAdvancedDrawItem(TObject* Sender, TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State);
  void PaintDivider(TCanvas* ACanvas, const TRect& ARect, TMenuItem* Item, TBitmap* Bmp, const TacMenuInfo& Info);
  void PaintCaption(TCanvas* ACanvas, const TRect& ARect, TMenuItem* Item, TBitmap* Bmp, const TacMenuInfo& Info);

  // Queries.
  static bool IsDivText(TMenuItem* Item);
  static bool IsPopupItem(TMenuItem* Item);
  bool LastItem(TMenuItem*) const { return false; }
  bool IsOpened(TMenuItem*) const { return false; }
  Integer CursorMarginH() const { return BorderWidth; }
  Integer CursorMarginV() const { return 0; }
  TRect ItemRect(TMenuItem* Item, const TRect& R) const;
  // The extra line's width in the pop-up of Info (0 without the line).
  Integer ExtraWidth(const TacMenuInfo& Info) const;

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
  // The rectangles cut out of a pop-up window's region.
  TAOR OuterRgns;

 private:
  TsSkinManager* Manager() const;
  // The extra-line data of the pop-up whose first item is First (the
  // application's event asked); whether the pop-up shows the line.
  bool ExtraLineData(TMenuItem* First);
  void PaintItemBody(TMenuItem* Item, TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State, TBitmap* BG,
                     const TacMenuInfo& Info, const TPoint& Offset, bool FirstColumn);
  void PaintColumnGaps(TMenuItem* Item, TCanvas* ACanvas, const TRect& ARect, TBitmap* BG, const TPoint& Offset);
  void PaintItemGlyph(TMenuItem* Item, TBitmap* Bmp, TOwnerDrawState State, Integer ItemIndex);
  void PaintItemTexts(TMenuItem* Item, TBitmap* Bmp, const TRect& ARect, TOwnerDrawState State, Integer ItemIndex,
                      Integer Extra);
  void PaintBorderStrips(HWND Wnd, TMenuItem* Item, const TRect& ARect, TBitmap* BG, const TacMenuInfo& Info,
                         bool FirstColumn);
  bool FActive = false;
  bool FBorderDrawing = false;
  std::unique_ptr<TFont> FCaptionFont;
};

// The pop-up backgrounds prepared and not yet freed.
const std::vector<TacMenuInfo>& MenuBGCache();
// Frees every cached pop-up background.
void ClearCache();
void DeleteUnusedBmps();
// The first item of Item's parent.
TMenuItem* GetFirstItem(TMenuItem* Item);
// Set from the first measure of a skinned pop-up until its window is destroyed.
extern bool acCanHookMenu;
// Counts of work done, for tests and benchmarks: backgrounds rendered and
// window regions set.
extern int acMenuBGPrepared;
extern int acMenuRgnSet;
// The offset from a pop-up's client coordinates to its background bitmap
// (client origin minus window origin; 3 when the window is not known).
TPoint MenuClientOffset(HWND Wnd);
// The extra line's section, caption and glyph the application's event gave last.
extern AnsiString acExtraLineSection;
extern AnsiString acExtraLineCaption;

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
