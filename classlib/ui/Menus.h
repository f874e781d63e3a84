// Menus: the main menu of a form, pop-up menus and their items, on the
// system's native menus.
//
// Items form a tree: a menu's root item (Items) holds the top-level items,
// each item its sub-items. In a form resource the items are written as
// children of the menu and of each other, owned by the form:
//
//   object MainMenu1: TMainMenu
//     object File1: TMenuItem
//       Caption = '&File'
//       object Exit1: TMenuItem
//         Caption = 'E&xit'
//         ShortCut = 32856
//         OnClick = Exit1Click
//       end
//     end
//   end
//
// Every change of an item goes to the native menu at once. Owner-drawn menus
// (OwnerDraw) call the items' MeasureItem/DrawItem, which later painters
// override.
#pragma once

#include <memory>
#include <vector>

#include "classlib/ui/Controls.h"
#include "classlib/ui/Forms.h"
#include "classlib/ui/Graphics.h"

DK_DECLARE_EXCEPTION(EMenuError, Exception);

DK_ENUM(TMenuBreak, mbNone, mbBreak, mbBarBreak);
DK_ENUM(TPopupAlignment, paLeft, paRight, paCenter);
DK_ENUM(TFindItemKind, fkCommand, fkHandle, fkShortCut);
// How a pop-up menu opens (maNone: without animation).
DK_ENUM(TMenuAnimations, maLeftToRight, maRightToLeft, maTopToBottom, maBottomToTop, maNone);
using TMenuAnimation = TSet<TMenuAnimations>;

constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

TShortCut ShortCut(Word Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift);
// "Ctrl+S", "Shift+Del", "F1" ...; the empty text for 0.
AnsiString ShortCutToText(TShortCut ShortCut);
// The reverse (modifier and key names without regard to case); 0 when the
// text names no key.
TShortCut TextToShortCut(const AnsiString& Text);
// Removes the accelerator marks ("&File" -> "File"; "&&" stays one "&").
AnsiString StripHotkey(const AnsiString& Text);

class TMenu;
class TMenuItem;
class TCustomImageList;

// How an owner-drawn item is to be drawn (the bits of the system's item state,
// in their order: a state of 0x500 is odNoAccel + odReserved1).
DK_ENUM(TOwnerDrawStateE, odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight, odInactive,
        odNoAccel, odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit);
using TOwnerDrawState = TSet<TOwnerDrawStateE>;
TOwnerDrawState OwnerDrawStateOf(UINT ItemState);

using TMenuMeasureItemEvent = TClosure<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;
using TMenuDrawItemEvent = TClosure<void(TObject* Sender, TCanvas* ACanvas, const TRect& ARect, bool Selected)>;
using TAdvancedMenuDrawItemEvent =
    TClosure<void(TObject* Sender, TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State)>;

// Serves WM_MEASUREITEM and WM_DRAWITEM of owner-drawn menu items (the window
// that owns a native menu gets them): calls the item's MeasureItem/DrawItem.
// False for other messages and for items that are not ours.
bool MenuOwnerDrawMessage(TMessage& Message);

class TMenuItem : public TComponent {
  DK_CLASS(TMenuItem, TComponent)
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  // The sub-items.
  TMenuItem* Items(int Index) const;
  TMenuItem* operator[](int Index) const { return Items(Index); }
  int Count() const { return static_cast<int>(FItems.size()); }
  void Add(TMenuItem* Item);
  void Insert(int Index, TMenuItem* Item);
  // Takes the item out of the menu (it is not freed).
  void Delete(int Index);
  void Remove(TMenuItem* Item);
  // Frees every sub-item.
  void Clear();
  int IndexOf(TMenuItem* Item) const;
  TMenuItem* Find(const AnsiString& ACaption) const;
  TMenuItem* Parent() const { return FParent; }
  int MenuIndex() const;
  void SetMenuIndex(int Value);
  // The menu the item belongs to (nullptr when it is in none).
  TMenu* GetParentMenu() const;
  bool IsLine() const { return FCaption == "-"; }

  virtual void Click();
  // The native menu of the sub-items (made on first use).
  HMENU Handle();
  // The command number the native menu reports for this item.
  Word Command() const { return FCommand; }

  const AnsiString& Caption() const { return FCaption; }
  void SetCaption(const AnsiString& Value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool Value);
  Byte GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Byte Value);
  TShortCut GetShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  const AnsiString& Hint() const { return FHint; }
  void SetHint(const AnsiString& Value) { FHint = Value; }
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  TMenuBreak Break() const { return FBreak; }
  void SetBreak(TMenuBreak Value);
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value) { FAutoCheck = Value; }
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  // The images of the sub-items (instead of the menu's Images); not owned.
  TCustomImageList* SubMenuImages() const { return FSubMenuImages; }
  void SetSubMenuImages(TCustomImageList* Value) { FSubMenuImages = Value; }

  TNotifyEvent OnClick;
  // Owner drawing: OnMeasureItem sizes the item (the canvas carries the
  // screen's menu font); OnAdvancedDrawItem, else OnDrawItem, paints it.
  // Without them the item measures and draws itself (MeasureItem/DrawItem).
  TMenuMeasureItemEvent OnMeasureItem;
  TMenuDrawItemEvent OnDrawItem;
  TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;
  // The item's picture (made empty on first use).
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* Value);
  bool HasBitmap() const { return FBitmap && !FBitmap->Empty(); }

  // Streaming as children of the menu and of each other.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void SetChildOrder(TComponent* Child, int Order) override;

  // Owner-draw hooks (used when the menu's OwnerDraw is set).
  virtual void MeasureItem(HDC DC, int& Width, int& Height);
  virtual void DrawItem(HDC DC, const TRect& Rect, UINT State);
  // What the window's owner-draw messages run: the events, else the above.
  void DoMeasureItem(TCanvas* ACanvas, int& Width, int& Height);
  void DoDrawItem(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State);

 protected:
  // Puts the item's state into the native menus (Rebuild: the sub-items changed too).
  virtual void MenuChanged(bool Rebuild);
  // Fills the native menu with the visible sub-items.
  void PopulateHandle();
  void UncheckGroup();

 private:
  friend class TMenu;
  friend class TMainMenu;
  void InsertEntry(HMENU Menu, UINT Pos, TMenuItem* Item);
  void DestroyHandle();
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on a menu's root item
  HMENU FHandle = nullptr;
  Word FCommand = 0;
  AnsiString FCaption;
  AnsiString FHint;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
  bool FRadioItem = false;
  bool FDefault = false;
  bool FAutoCheck = false;
  Byte FGroupIndex = 0;
  TShortCut FShortCut = 0;
  TMenuBreak FBreak = mbNone;
  Integer FImageIndex = -1;
  TCustomImageList* FSubMenuImages = nullptr;
  std::unique_ptr<TBitmap> FBitmap;
};

class TMenu : public TComponent {
  DK_CLASS(TMenu, TComponent)
 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;
  void Construct() override;

  TMenuItem* Items() const { return FItems; }
  virtual HMENU Handle() { return FItems->Handle(); }
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool Value);
  // The images the items' ImageIndex names; not owned.
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value) { FImages = Value; }
  TMenuAnimation MenuAnimation() const { return FMenuAnimation; }
  void SetMenuAnimation(TMenuAnimation Value) { FMenuAnimation = Value; }
  // Runs the item with this command number; false when none of this menu has it.
  virtual bool DispatchCommand(Word ACommand);
  // Runs the enabled item with the shortcut of this key message; true when one ran.
  bool IsShortCut(TWMKey& Message);
  TMenuItem* FindItem(UINT_PTR Value, TFindItemKind Kind);

  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void SetChildOrder(TComponent* Child, int Order) override;

  // A native menu of this menu changed (the main menu redraws its bar).
  virtual void MenuChanged(TMenuItem* Source, bool Rebuild) {}
  // Whether the root's native menu is a menu bar (main menu) or a pop-up.
  virtual bool IsMenuBar() const { return false; }

 private:
  TMenuItem* FItems = nullptr;
  TCustomImageList* FImages = nullptr;
  TMenuAnimation FMenuAnimation;
  bool FOwnerDraw = false;
};

class TMainMenu : public TMenu {
  DK_CLASS(TMainMenu, TMenu)
 public:
  explicit TMainMenu(TComponent* AOwner);
  ~TMainMenu() override;
  void Construct() override;
  bool AutoMerge() const { return FAutoMerge; }
  void SetAutoMerge(bool Value) { FAutoMerge = Value; }
  // The window whose menu bar this is (set by the form).
  HWND WindowHandle() const { return FWindowHandle; }
  void SetWindowHandle(HWND Value);
  void MenuChanged(TMenuItem* Source, bool Rebuild) override;
  bool IsMenuBar() const override { return true; }

 private:
  HWND FWindowHandle = nullptr;
  bool FAutoMerge = false;
};

class TPopupMenu : public TMenu {
  DK_CLASS(TPopupMenu, TMenu)
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;
  // Shows the menu at a screen point; returns after it closed (and the
  // chosen item's OnClick ran). For the time of the call the menu's window
  // is the one set before (SetWindowHandle), else the utility window that
  // receives the menu's messages.
  virtual void Popup(int X, int Y);
  HWND WindowHandle() const { return FWindowHandle; }
  void SetWindowHandle(HWND Value) { FWindowHandle = Value; }
  TPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool Value) { FAutoPopup = Value; }
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value) { FPopupComponent = Value; }
  TNotifyEvent OnPopup;

 protected:
  virtual void DoPopup(TObject* Sender);

 private:
  TPopupAlignment FAlignment = paLeft;
  HWND FWindowHandle = nullptr;
  bool FAutoPopup = true;
  TComponent* FPopupComponent = nullptr;
};

DK_LINK_UNIT(Menus)
