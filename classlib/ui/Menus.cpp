// Menus on the system's native menus.
#include "classlib/ui/Menus.h"

#include "classlib/ui/PaintScope.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "classlib/core/SysConsts.h"

DK_UNIT(Menus);

namespace {

// Command numbers of all menu items of the thread.
std::map<Word, TMenuItem*>& Commands() {
  static std::map<Word, TMenuItem*> map;
  return map;
}

Word AllocateCommand(TMenuItem* Item) {
  static Word next = 1;
  auto& map = Commands();
  for (int tries = 0; tries < 0xFFFF; ++tries) {
    Word id = next++;
    if (next == 0 || next >= 0xF000) next = 1;  // 0xF000 and up are system commands
    if (id == 0 || map.count(id)) continue;
    map[id] = Item;
    return id;
  }
  throw EOutOfResources("Too many menu items");
}

struct KeyName {
  Word Key;
  const char* Name;
};
const KeyName kKeyNames[] = {
    {VK_BACK, "BkSp"}, {VK_TAB, "Tab"},     {VK_ESCAPE, "Esc"},  {VK_RETURN, "Enter"}, {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},  {VK_END, "End"},     {VK_HOME, "Home"},    {VK_LEFT, "Left"},
    {VK_UP, "Up"},      {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},  {VK_INSERT, "Ins"},   {VK_DELETE, "Del"},
};

AnsiString KeyToText(Word Key) {
  if ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9')) return AnsiString(1, static_cast<char>(Key));
  if (Key >= VK_F1 && Key <= VK_F24) return "F" + IntToStr(Key - VK_F1 + 1);
  for (const auto& k : kKeyNames)
    if (k.Key == Key) return k.Name;
  return AnsiString();
}

void InitHooks();

// The item of a command number, when it is the one the menu entry names.
TMenuItem* LiveItem(UINT Id, ULONG_PTR Data) {
  auto& map = Commands();
  auto it = map.find(static_cast<Word>(Id));
  if (it == map.end() || reinterpret_cast<ULONG_PTR>(it->second) != Data) return nullptr;
  return it->second;
}

// The window that owns a pop-up menu while it is shown.
class TPopupWindow : public TObject {
  DK_CLASS(TPopupWindow, TObject)
 public:
  HWND Wnd = nullptr;
  void WndProc(TMessage& Message) {
    if (!MenuOwnerDrawMessage(Message)) Message.Result = DefWindowProcW(Wnd, Message.Msg, Message.WParam, Message.LParam);
  }
};

}  // namespace

TOwnerDrawState OwnerDrawStateOf(UINT ItemState) { return TOwnerDrawState::FromBits(ItemState & 0x1FFF); }

bool MenuOwnerDrawMessage(TMessage& Message) {
  if (Message.Msg == WM_MEASUREITEM) {
    auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
    if (!m || m->CtlType != ODT_MENU) return false;
    TMenuItem* item = LiveItem(m->itemID, m->itemData);
    if (!item) return false;
    int w = 0, h = 0;
    {
      TWindowDC screen;
      TCanvas canvas;
      TCanvasScope scope(&canvas, screen.Handle());
      if (Screen) canvas.SetFont(Screen->MenuFont());
      item->DoMeasureItem(&canvas, w, h);
    }
    m->itemWidth = static_cast<UINT>(std::max(w, 0));
    m->itemHeight = static_cast<UINT>(std::max(h, 0));
    Message.Result = TRUE;
    return true;
  }
  if (Message.Msg == WM_DRAWITEM) {
    auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
    if (!d || d->CtlType != ODT_MENU) return false;
    TMenuItem* item = LiveItem(d->itemID, d->itemData);
    if (!item) return false;
    {
      TDCStateScope saved(d->hDC);
      TCanvas canvas;
      TCanvasScope scope(&canvas, d->hDC);
      if (Screen) canvas.SetFont(Screen->MenuFont());
      item->DoDrawItem(&canvas, Rect(d->rcItem.left, d->rcItem.top, d->rcItem.right, d->rcItem.bottom),
                       OwnerDrawStateOf(d->itemState));
    }
    Message.Result = TRUE;
    return true;
  }
  return false;
}

// ------------------------------------------------------------------ shortcuts

TShortCut ShortCut(Word Key, TShiftState Shift) {
  if (Key & 0xF000) return 0;
  TShortCut r = Key;
  if (Shift.Contains(ssShift)) r |= scShift;
  if (Shift.Contains(ssCtrl)) r |= scCtrl;
  if (Shift.Contains(ssAlt)) r |= scAlt;
  return r;
}

void ShortCutToKey(TShortCut Value, Word& Key, TShiftState& Shift) {
  Key = Value & 0x0FFF;
  Shift = TShiftState();
  if (Value & scShift) Shift.Include(ssShift);
  if (Value & scCtrl) Shift.Include(ssCtrl);
  if (Value & scAlt) Shift.Include(ssAlt);
}

AnsiString ShortCutToText(TShortCut Value) {
  AnsiString key = KeyToText(Value & 0x0FFF);
  if (key.empty()) return AnsiString();
  AnsiString r;
  if (Value & scShift) r += "Shift+";
  if (Value & scCtrl) r += "Ctrl+";
  if (Value & scAlt) r += "Alt+";
  return r + key;
}

TShortCut TextToShortCut(const AnsiString& Text) {
  AnsiString rest = Text;
  TShortCut mods = 0;
  for (;;) {
    auto starts = [&](const char* p) {
      std::size_t n = std::strlen(p);
      return rest.size() > n && SameText(rest.substr(0, n), p);
    };
    if (starts("Shift+")) {
      mods |= scShift;
      rest.erase(0, 6);
    } else if (starts("Ctrl+")) {
      mods |= scCtrl;
      rest.erase(0, 5);
    } else if (starts("Alt+")) {
      mods |= scAlt;
      rest.erase(0, 4);
    } else {
      break;
    }
  }
  if (rest.empty()) return 0;
  for (Word key = 8; key < 255; ++key) {
    AnsiString name = KeyToText(key);
    if (!name.empty() && SameText(name, rest)) return mods | key;
  }
  return 0;
}

AnsiString StripHotkey(const AnsiString& Text) {
  AnsiString r;
  for (std::size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] == '&') {
      if (i + 1 < Text.size() && Text[i + 1] == '&') r += '&';
      ++i;
      if (i < Text.size() && Text[i] != '&') r += Text[i];
      continue;
    }
    r += Text[i];
  }
  return r;
}

// ================================================================== TMenuItem

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) { FCommand = AllocateCommand(this); }

TMenuItem::~TMenuItem() {
  // Detach the native menus first: the sub-items destroy their own.
  if (FHandle)
    while (GetMenuItemCount(FHandle) > 0) RemoveMenu(FHandle, 0, MF_BYPOSITION);
  while (!FItems.empty()) {
    TMenuItem* item = FItems.back();
    FItems.pop_back();
    item->FParent = nullptr;
    item->Free();
  }
  if (FParent) FParent->Remove(this);
  DestroyHandle();
  Commands().erase(FCommand);
}

void TMenuItem::DestroyHandle() {
  if (!FHandle) return;
  while (GetMenuItemCount(FHandle) > 0) RemoveMenu(FHandle, 0, MF_BYPOSITION);
  DestroyMenu(FHandle);
  FHandle = nullptr;
}

TMenuItem* TMenuItem::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EMenuError(LoadResString(&SListIndexError), {Index});
  return FItems[static_cast<std::size_t>(Index)];
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (!Item) return;
  if (Item->FParent) throw EMenuError("Menu inserted twice");
  if (Index < 0 || Index > Count()) throw EMenuError(LoadResString(&SListIndexError), {Index});
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
  MenuChanged(true);
}

void TMenuItem::Delete(int Index) {
  TMenuItem* item = Items(Index);
  FItems.erase(FItems.begin() + Index);
  item->FParent = nullptr;
  MenuChanged(true);
}

void TMenuItem::Remove(TMenuItem* Item) {
  int i = IndexOf(Item);
  if (i < 0) throw EMenuError("Sub-menu is not in menu");
  Delete(i);
}

void TMenuItem::Clear() {
  while (!FItems.empty()) FItems.back()->Free();
}

int TMenuItem::IndexOf(TMenuItem* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TMenuItem* TMenuItem::Find(const AnsiString& ACaption) const {
  AnsiString want = StripHotkey(ACaption);
  for (auto* item : FItems)
    if (AnsiSameText(StripHotkey(item->FCaption), want)) return item;
  return nullptr;
}

int TMenuItem::MenuIndex() const { return FParent ? FParent->IndexOf(const_cast<TMenuItem*>(this)) : -1; }

void TMenuItem::SetMenuIndex(int Value) {
  if (!FParent) return;
  TMenuItem* parent = FParent;
  int count = parent->Count();
  if (Value < 0) Value = 0;
  if (Value >= count) Value = count - 1;
  int cur = MenuIndex();
  if (cur == Value) return;
  parent->FItems.erase(parent->FItems.begin() + cur);
  parent->FItems.insert(parent->FItems.begin() + Value, this);
  parent->MenuChanged(true);
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* item = this;
  while (item->FParent) item = item->FParent;
  return item->FMenu;
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  if (FAutoCheck) SetChecked(FRadioItem ? true : !FChecked);
  if (OnClick) OnClick(this);
}

HMENU TMenuItem::Handle() {
  if (!FHandle) {
    FHandle = FMenu && FMenu->IsMenuBar() ? CreateMenu() : CreatePopupMenu();
    if (!FHandle) throw EMenuError("Cannot create a menu");
    PopulateHandle();
  }
  return FHandle;
}

void TMenuItem::InsertEntry(HMENU Menu, UINT Pos, TMenuItem* Item) {
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
  std::wstring text;
  TMenu* menu = GetParentMenu();
  bool ownerDraw = menu && menu->OwnerDraw();
  if (Item->IsLine()) {
    mii.fType = MFT_SEPARATOR;
  } else {
    mii.fMask |= MIIM_STRING;
    AnsiString caption = Item->FCaption;
    bool onBar = !FParent && FMenu && FMenu->IsMenuBar();
    if (Item->FShortCut && !onBar) caption += "\t" + ShortCutToText(Item->FShortCut);
    text = winapi::W(caption);
    mii.dwTypeData = text.data();
    mii.cch = static_cast<UINT>(text.size());
    mii.fType = MFT_STRING;
    if (Item->FRadioItem) mii.fType |= MFT_RADIOCHECK;
  }
  if (ownerDraw) mii.fType |= MFT_OWNERDRAW;
  if (Item->FBreak == mbBreak) mii.fType |= MFT_MENUBREAK;
  if (Item->FBreak == mbBarBreak) mii.fType |= MFT_MENUBARBREAK;
  if (Item->FChecked) mii.fState |= MFS_CHECKED;
  if (!Item->FEnabled) mii.fState |= MFS_GRAYED;
  if (Item->FDefault) mii.fState |= MFS_DEFAULT;
  mii.wID = Item->FCommand;
  mii.hSubMenu = Item->FItems.empty() ? nullptr : Item->Handle();
  mii.dwItemData = reinterpret_cast<ULONG_PTR>(Item);
  InsertMenuItemW(Menu, Pos, TRUE, &mii);
}

void TMenuItem::PopulateHandle() {
  if (!FHandle) return;
  while (GetMenuItemCount(FHandle) > 0) RemoveMenu(FHandle, 0, MF_BYPOSITION);
  UINT pos = 0;
  for (auto* item : FItems)
    if (item->FVisible) InsertEntry(FHandle, pos++, item);
}

void TMenuItem::MenuChanged(bool Rebuild) {
  if (ComponentState().Contains(csDestroying)) return;
  if (Rebuild) PopulateHandle();
  // The entry of this item lives in the parent's native menu.
  if (FParent) FParent->PopulateHandle();
  if (TMenu* menu = GetParentMenu()) menu->MenuChanged(this, Rebuild);
}

void TMenuItem::UncheckGroup() {
  if (!FParent || !FRadioItem) return;
  for (auto* item : FParent->FItems)
    if (item != this && item->FRadioItem && item->FGroupIndex == FGroupIndex && item->FChecked) {
      item->FChecked = false;
    }
}

void TMenuItem::SetCaption(const AnsiString& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  MenuChanged(false);
}

void TMenuItem::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  if (Value) UncheckGroup();
  MenuChanged(false);
}

void TMenuItem::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  MenuChanged(false);
}

void TMenuItem::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  MenuChanged(false);
}

void TMenuItem::SetRadioItem(bool Value) {
  if (FRadioItem == Value) return;
  FRadioItem = Value;
  if (FChecked) UncheckGroup();
  MenuChanged(false);
}

void TMenuItem::SetGroupIndex(Byte Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  if (FChecked) UncheckGroup();
  MenuChanged(false);
}

void TMenuItem::SetShortCut(TShortCut Value) {
  if (FShortCut == Value) return;
  FShortCut = Value;
  MenuChanged(false);
}

void TMenuItem::SetDefault(bool Value) {
  if (FDefault == Value) return;
  if (Value && FParent)
    for (auto* item : FParent->FItems) item->FDefault = false;
  FDefault = Value;
  MenuChanged(false);
}

void TMenuItem::SetBreak(TMenuBreak Value) {
  if (FBreak == Value) return;
  FBreak = Value;
  MenuChanged(false);
}

void TMenuItem::SetImageIndex(Integer Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  MenuChanged(false);
}

TComponent* TMenuItem::GetParentComponent() const {
  if (FParent && FParent->FMenu) return FParent->FMenu;
  return FParent;
}

void TMenuItem::SetParentComponent(TComponent* Value) {
  if (FParent) FParent->Remove(this);
  if (!Value) return;
  if (auto* menu = dynamic_cast<TMenu*>(Value))
    menu->Items()->Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(Value))
    item->Add(this);
}

void TMenuItem::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (auto* item : FItems) Proc(item);
}

void TMenuItem::SetChildOrder(TComponent* Child, int Order) {
  if (auto* item = dynamic_cast<TMenuItem*>(Child)) item->SetMenuIndex(Order);
}

void TMenuItem::MeasureItem(HDC DC, int& Width, int& Height) {
  if (IsLine()) {
    Width = 10;
    Height = GetSystemMetrics(SM_CYMENU) / 2;
    return;
  }
  std::wstring w = winapi::W(FCaption + (FShortCut ? "    " + ShortCutToText(FShortCut) : AnsiString()));
  SIZE sz{};
  GetTextExtentPoint32W(DC, w.c_str(), static_cast<int>(w.size()), &sz);
  Width = sz.cx + GetSystemMetrics(SM_CXMENUCHECK) * 2;
  Height = std::max<int>(sz.cy + 4, GetSystemMetrics(SM_CYMENU));
}

void TMenuItem::DrawItem(HDC DC, const TRect& Rect, UINT State) {
  RECT r{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
  bool selected = (State & ODS_SELECTED) != 0;
  FillRect(DC, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (IsLine()) {
    r.top += (r.bottom - r.top) / 2;
    DrawEdge(DC, &r, EDGE_ETCHED, BF_TOP);
    return;
  }
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, GetSysColor(!FEnabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  r.left += GetSystemMetrics(SM_CXMENUCHECK) + 4;
  std::wstring w = winapi::W(FCaption);
  DrawTextW(DC, w.c_str(), static_cast<int>(w.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  if (FShortCut) {
    std::wstring s = winapi::W(ShortCutToText(FShortCut));
    r.right -= 8;
    DrawTextW(DC, s.c_str(), static_cast<int>(s.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  }
}

void TMenuItem::DoMeasureItem(TCanvas* ACanvas, int& Width, int& Height) {
  if (OnMeasureItem) {
    OnMeasureItem(this, ACanvas, Width, Height);
    return;
  }
  MeasureItem(ACanvas->Handle(), Width, Height);
}

void TMenuItem::DoDrawItem(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State) {
  if (OnAdvancedDrawItem) {
    OnAdvancedDrawItem(this, ACanvas, ARect, State);
  } else if (OnDrawItem) {
    OnDrawItem(this, ACanvas, ARect, State.Contains(odSelected));
  } else {
    DrawItem(ACanvas->Handle(), ARect, static_cast<UINT>(State.Bits()));
  }
}

TBitmap* TMenuItem::Bitmap() {
  if (!FBitmap) FBitmap = std::make_unique<TBitmap>();
  return FBitmap.get();
}

void TMenuItem::SetBitmap(TBitmap* Value) {
  Bitmap()->Assign(Value);
  MenuChanged(false);
}

DK_PUBLISH(TMenuItem) {
  P.Property("Bitmap", &TMenuItem::Bitmap, &TMenuItem::SetBitmap);
  P.Property("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck).Default(false);
  P.Property("Break", &TMenuItem::Break, &TMenuItem::SetBreak).Default(mbNone);
  P.Property("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
  P.Property("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked).Default(false);
  P.Property("Default", &TMenuItem::Default, &TMenuItem::SetDefault).Default(false);
  P.Property("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).Default(true);
  P.Property("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex).Default(0);
  P.Property("Hint", &TMenuItem::Hint, &TMenuItem::SetHint);
  P.Property("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex).Default(-1);
  P.Property("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem).Default(false);
  P.Property("ShortCut", &TMenuItem::GetShortCut, &TMenuItem::SetShortCut).Default(0);
  P.Property("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).Default(true);
  P.Property("OnClick", &TMenuItem::OnClick);
  P.Property("OnAdvancedDrawItem", &TMenuItem::OnAdvancedDrawItem);
  P.Property("OnDrawItem", &TMenuItem::OnDrawItem);
  P.Property("OnMeasureItem", &TMenuItem::OnMeasureItem);
}

// ====================================================================== TMenu

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner) {}

TMenu::~TMenu() {
  if (FItems) {
    FItems->FMenu = nullptr;
    FItems->Free();
    FItems = nullptr;
  }
}

void TMenu::Construct() {
  inherited::Construct();
  FItems = ::Create<TMenuItem>(nullptr);
  FItems->FMenu = this;
  InitHooks();
}

void TMenu::SetOwnerDraw(bool Value) {
  if (FOwnerDraw == Value) return;
  FOwnerDraw = Value;
  // Every entry changes its type.
  std::function<void(TMenuItem*)> rebuild = [&](TMenuItem* item) {
    item->PopulateHandle();
    for (auto* sub : item->FItems) rebuild(sub);
  };
  rebuild(FItems);
  MenuChanged(nullptr, true);
}

TMenuItem* TMenu::FindItem(UINT_PTR Value, TFindItemKind Kind) {
  std::function<TMenuItem*(TMenuItem*)> find = [&](TMenuItem* item) -> TMenuItem* {
    for (auto* sub : item->FItems) {
      bool hit = (Kind == fkCommand && sub->FCommand == Value) ||
                 (Kind == fkHandle && sub->FHandle && reinterpret_cast<UINT_PTR>(sub->FHandle) == Value) ||
                 (Kind == fkShortCut && sub->FShortCut == Value);
      if (hit) return sub;
      if (TMenuItem* r = find(sub)) return r;
    }
    return nullptr;
  };
  return find(FItems);
}

bool TMenu::DispatchCommand(Word ACommand) {
  TMenuItem* item = FindItem(ACommand, fkCommand);
  if (!item) return false;
  item->Click();
  return true;
}

bool TMenu::IsShortCut(TWMKey& Message) {
  TShiftState shift;
  if (GetKeyState(VK_SHIFT) < 0) shift.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) shift.Include(ssCtrl);
  if (Message.KeyData() & 0x20000000) shift.Include(ssAlt);
  TShortCut sc = ShortCut(Message.CharCode(), shift);
  if (sc == 0) return false;
  TMenuItem* item = FindItem(sc, fkShortCut);
  if (!item) return false;
  // Only an item whose whole chain is enabled runs.
  for (TMenuItem* p = item; p; p = p->Parent())
    if (!p->Enabled()) return false;
  item->Click();
  return true;
}

void TMenu::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (auto* item : FItems->FItems) Proc(item);
}

void TMenu::SetChildOrder(TComponent* Child, int Order) {
  if (auto* item = dynamic_cast<TMenuItem*>(Child)) item->SetMenuIndex(Order);
}

DK_PUBLISH(TMenu) {}

// ================================================================== TMainMenu

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}

TMainMenu::~TMainMenu() {
  // The window lets go of the menu bar before the bar is destroyed.
  if (FWindowHandle && IsWindow(FWindowHandle) && Items()->FHandle && ::GetMenu(FWindowHandle) == Items()->FHandle)
    ::SetMenu(FWindowHandle, nullptr);
}

void TMainMenu::Construct() { inherited::Construct(); }

void TMainMenu::SetWindowHandle(HWND Value) { FWindowHandle = Value; }

void TMainMenu::MenuChanged(TMenuItem* Source, bool Rebuild) {
  if (FWindowHandle && ::GetMenu(FWindowHandle) == Items()->FHandle && Items()->FHandle) DrawMenuBar(FWindowHandle);
}

DK_PUBLISH(TMainMenu) {
  P.Property("AutoMerge", &TMainMenu::AutoMerge, &TMainMenu::SetAutoMerge).Default(false);
  P.Property("OwnerDraw", &TMainMenu::OwnerDraw, &TMainMenu::SetOwnerDraw).Default(false);
}

// ================================================================= TPopupMenu

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}
TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::DoPopup(TObject* Sender) {
  if (OnPopup) OnPopup(Sender);
}

void TPopupMenu::Popup(int X, int Y) {
  DoPopup(this);
  static const UINT kAlign[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
  // The menu needs a window of this thread to report to; a utility window
  // serves (the command comes back as the result).
  TPopupWindow owner;
  HWND wnd = AllocateHWnd(TWndMethod(&owner, &TPopupWindow::WndProc));
  owner.Wnd = wnd;
  const HWND savedWindow = FWindowHandle;
  if (!FWindowHandle) FWindowHandle = wnd;
  UINT flags = kAlign[FAlignment] | TPM_RIGHTBUTTON | TPM_RETURNCMD;
  if (MenuAnimation().Contains(maNone)) flags |= TPM_NOANIMATION;
  UINT cmd = 0;
  try {
    SetForegroundWindow(wnd);
    cmd = static_cast<UINT>(TrackPopupMenuEx(Handle(), flags, X, Y, wnd, nullptr));
    PostMessageW(wnd, WM_NULL, 0, 0);
  } catch (...) {
    FWindowHandle = savedWindow;
    DeallocateHWnd(wnd);
    throw;
  }
  FWindowHandle = savedWindow;
  DeallocateHWnd(wnd);
  if (cmd) DispatchCommand(static_cast<Word>(cmd));
}

DK_PUBLISH(TPopupMenu) {
  P.Property("Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment).Default(paLeft);
  P.Property("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(true);
  P.Property("OwnerDraw", &TPopupMenu::OwnerDraw, &TPopupMenu::SetOwnerDraw).Default(false);
  P.Property("OnPopup", &TPopupMenu::OnPopup);
}

// A form's main menu and a control's pop-up menu are published here, where
// the menu classes are known.
DK_PUBLISH(TForm) { P.Property("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu); }
DK_PUBLISH(TControl) { P.Property("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu); }

// ------------------------------------------------------------ the form's hooks

namespace {
void InitHooks() {
  if (MainMenuHooks.Handle) return;
  MainMenuHooks.Handle = [](TMainMenu* Menu) -> HMENU { return Menu ? Menu->Handle() : nullptr; };
  MainMenuHooks.DispatchCommand = [](TMainMenu* Menu, Word Id) { return Menu && Menu->DispatchCommand(Id); };
  MainMenuHooks.IsShortCut = [](TMainMenu* Menu, TWMKey& Message) { return Menu && Menu->IsShortCut(Message); };
  MainMenuHooks.SetWindowHandle = [](TMainMenu* Menu, HWND Wnd) {
    if (Menu) Menu->SetWindowHandle(Wnd);
  };
  MainMenuHooks.OwnerDrawMessage = &MenuOwnerDrawMessage;
}
const bool kHooksSet = (InitHooks(), true);
}  // namespace
