#include "skin/forms/sSystemMenu.h"

#include <algorithm>

#include "skin/core/sConst.h"
#include "skin/core/sSkinManager.h"
#include "skin/forms/sSkinProvider.h"

namespace {

// The text of a system menu item (by command or by position), 255
// characters at most.
AnsiString MenuText(HMENU Menu, UINT Item, UINT Flags) {
  wchar_t text[256] = {};
  const int n = GetMenuStringW(Menu, Item, text, 255, Flags);
  return n > 0 ? winapi::A(std::wstring(text, static_cast<size_t>(n))) : AnsiString();
}

// The part before the first tab and the part after it.
void SplitAtTab(const AnsiString& Text, AnsiString& Caption, AnsiString& ShortCut) {
  const size_t tab = Text.find('\t');
  Caption = Text.substr(0, tab);
  ShortCut = tab == AnsiString::npos ? AnsiString() : Text.substr(tab + 1);
}

bool IsSystemCommand(UINT Id) { return Id >= 0xF000 && Id <= 0xF1FF; }

// A copy of Source with copies of its sub-items, owned by Owner.
TMenuItem* CopyItem(TComponent* Owner, TMenuItem* Source) {
  TMenuItem* item = Create<TMenuItem>(Owner);
  item->SetCaption(Source->Caption());
  item->SetShortCut(Source->GetShortCut());
  item->SetChecked(Source->Checked());
  item->OnClick = Source->OnClick;
  item->SetEnabled(Source->Enabled());
  item->SetImageIndex(Source->ImageIndex());
  if (!Source->Name().empty()) item->SetName(Source->Name() + "Copy");
  for (int i = 0; i < Source->Count(); ++i) item->Add(CopyItem(Owner, Source->Items(i)));
  return item;
}

}  // namespace

TsSystemMenu::TsSystemMenu(TComponent* AOwner)
    : TsCustomSysMenu(AOwner), Provider(dynamic_cast<TsSkinProvider*>(AOwner)),
      Form(Provider ? Provider->Form : nullptr) {}

void TsSystemMenu::Construct() {
  inherited::Construct();
  SetName("acSysMenu" + IntToStr(static_cast<Int64>(GetTickCount())));
  Generate();
}

HMENU TsSystemMenu::FormSysMenu() const {
  return Form && Form->HandleAllocated() ? GetSystemMenu(Form->Handle(), FALSE) : nullptr;
}

bool TsSystemMenu::HaveSysMenu() const { return Form && Form->BorderIcons().Contains(biSystemMenu); }
bool TsSystemMenu::Iconic() const { return Form && Form->HandleAllocated() && IsIconic(Form->Handle()); }
bool TsSystemMenu::MDIChild() const { return Form && Form->FormStyle() == fsMDIChild; }

TMenuItem* TsSystemMenu::AddItem(const AnsiString& Caption, const AnsiString& Name, const TNotifyEvent& Handler,
                                 NativeInt Tag) {
  TMenuItem* item = Create<TMenuItem>(this);
  if (!Name.empty()) item->SetName(Name);
  item->SetCaption(Caption);
  item->OnClick = Handler;
  item->SetTag(Tag);
  Items()->Add(item);
  return item;
}

void TsSystemMenu::AddSeparator(const AnsiString& Name) { AddItem("-", Name, TNotifyEvent(), 0); }

void TsSystemMenu::AddSubMenu(TacMenuItemPos Position) {
  TacSysSubMenu* sub = Provider ? Provider->SysSubMenu() : nullptr;
  if (!sub || sub->Position != Position || sub->Caption.empty() || !sub->PopupMenu) return;
  if (Position == ipBottom) AddSeparator("ac_BtmDiv");
  SubMenuItem = AddItem(sub->Caption, "ac_SubMenu", TNotifyEvent(), 0);
  TMenuItem* source = sub->PopupMenu->Items();
  for (int i = 0; i < source->Count(); ++i) SubMenuItem->Add(CopyItem(this, source->Items(i)));
  if (Position != ipBottom) AddSeparator("ac_TopDiv");
}

void TsSystemMenu::Generate() {
  Items()->Clear();
  ItemRestore = ItemMove = ItemSize = ItemMinimize = ItemMaximize = ItemClose = SubMenuItem = nullptr;
  ExtraCount = 0;
  HMENU sys = FormSysMenu();
  if (!sys) return;
  AddSubMenu(ipTop);

  struct TStandard {
    UINT Command;
    const AnsiString* Fallback;
    const char* Name;
    void (TsSystemMenu::*Handler)(TObject*);
    TMenuItem* TsSystemMenu::*Field;
  };
  static const TStandard kStandard[] = {
      {SC_RESTORE, &acs_RestoreStr, "acIR", &TsSystemMenu::RestoreClick, &TsSystemMenu::ItemRestore},
      {SC_MOVE, &acs_MoveStr, "acIM", &TsSystemMenu::MoveClick, &TsSystemMenu::ItemMove},
      {SC_SIZE, &acs_SizeStr, "acIS", &TsSystemMenu::SizeClick, &TsSystemMenu::ItemSize},
      {SC_MINIMIZE, &acs_MinimizeStr, "acIN", &TsSystemMenu::MinClick, &TsSystemMenu::ItemMinimize},
      {SC_MAXIMIZE, &acs_MaximizeStr, "acIX", &TsSystemMenu::MaxClick, &TsSystemMenu::ItemMaximize},
  };
  for (const TStandard& s : kStandard) {
    AnsiString caption, shortcut;
    SplitAtTab(MenuText(sys, s.Command, MF_BYCOMMAND), caption, shortcut);
    if (GetMenuState(sys, s.Command, MF_BYCOMMAND) == static_cast<UINT>(-1)) caption = *s.Fallback;
    this->*s.Field = AddItem(caption, s.Name, TNotifyEvent(this, s.Handler), s.Command);
  }
  AddSeparator();

  const int count = GetMenuItemCount(sys);
  for (int pos = 0; pos < count; ++pos) {
    const UINT id = GetMenuItemID(sys, pos);
    if (IsSystemCommand(id)) continue;
    AnsiString caption, shortcut;
    SplitAtTab(MenuText(sys, static_cast<UINT>(pos), MF_BYPOSITION), caption, shortcut);
    if (caption.empty() && shortcut.empty()) continue;
    TMenuItem* item = AddItem(caption, AnsiString(), TNotifyEvent(this, &TsSystemMenu::ExtClick),
                              static_cast<NativeInt>(id));
    if (!shortcut.empty()) item->SetShortCut(TextToShortCut(shortcut));
    ++ExtraCount;
  }
  if (ExtraCount > 0) AddSeparator();

  AddSubMenu(ipBeforeClose);
  AnsiString caption = acs_CloseStr, shortcut;
  if (GetMenuState(sys, SC_CLOSE, MF_BYCOMMAND) != static_cast<UINT>(-1))
    SplitAtTab(MenuText(sys, SC_CLOSE, MF_BYCOMMAND), caption, shortcut);
  ItemClose = AddItem(caption, "acIC", TNotifyEvent(this, &TsSystemMenu::CloseClick), SC_CLOSE);
  if (!shortcut.empty()) ItemClose->SetShortCut(TextToShortCut(shortcut));
  ItemClose->SetEnabled(EnabledClose());
  AddSubMenu(ipBottom);
}

void TsSystemMenu::UpdateItems(bool Regenerate) {
  if (Regenerate || !ItemClose) Generate();
  if (!Form) return;
  auto set = [](TMenuItem* Item, bool Visible, bool Enabled) {
    if (!Item) return;
    Item->SetVisible(Visible);
    Item->SetEnabled(Enabled);
  };
  set(ItemRestore, VisibleRestore(), EnabledRestore());
  set(ItemMove, true, EnabledMove());
  set(ItemSize, VisibleSize(), EnabledSize());
  set(ItemMinimize, VisibleMin(), EnabledMin());
  set(ItemMaximize, VisibleMax(), EnabledMax());
  set(ItemClose, VisibleClose(), EnabledClose());
}

// ------------------------------------------------------------ the skin list

namespace {
// Skin names per column of the skin list.
constexpr int kSkinsPerColumn = 20;
}  // namespace

void TsSystemMenu::MakeSkinItems() {
  TsSkinManager* m = Provider ? Provider->SkinData()->GetSkinManager() : nullptr;
  if (!m) return;
  TStringList names;
  m->GetSkinNames(&names, stAllSkins);
  if (names.Count() == 0) return;
  TMenuItem* list = Create<TMenuItem>(this);
  list->SetName("SkinSelectItem");
  list->SetCaption(acs_AvailSkins);
  Items()->Insert(0, list);
  TMenuItem* divider = Create<TMenuItem>(this);
  divider->SetCaption("-");
  Items()->Insert(1, divider);
  bool checked = false;
  for (int i = 0; i < names.Count(); ++i) {
    TMenuItem* item = Create<TMenuItem>(this);
    item->SetCaption(names[i]);
    item->SetName("SkinSelectItem" + IntToStr(static_cast<Int64>(i)));
    item->OnClick = TNotifyEvent(this, &TsSystemMenu::SkinSelect);
    item->SetRadioItem(true);
    if (!checked && names[i] == m->SkinName()) {
      item->SetChecked(true);
      checked = true;
    }
    if (i > 0 && i % kSkinsPerColumn == 0) item->SetBreak(mbBreak);
    list->Add(item);
  }
}

void TsSystemMenu::SkinSelect(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  TsSkinManager* m = Provider ? Provider->SkinData()->GetSkinManager() : nullptr;
  if (!item || !m) return;
  AnsiString name = item->Caption();
  name.erase(std::remove(name.begin(), name.end(), '&'), name.end());
  if (const size_t at = name.find(acs_InternalSkin); at != AnsiString::npos) name.erase(at + acs_InternalSkin.size());
  m->SetSkinName(name);
}

// ---------------------------------------------------------------- the states

namespace {
bool SizeableStyle(TFormBorderStyle Style) { return Style == bsSingle || Style == bsSizeable; }
bool FixedStyle(TFormBorderStyle Style) {
  return Style == bsDialog || Style == bsNone || Style == bsToolWindow || Style == bsSizeToolWin;
}
}  // namespace

bool TsSystemMenu::VisibleClose() {
  HMENU sys = FormSysMenu();
  return HaveSysMenu() && sys && GetMenuState(sys, SC_CLOSE, MF_BYCOMMAND) != static_cast<UINT>(-1);
}

bool TsSystemMenu::VisibleMax() {
  return HaveSysMenu() && (Iconic() || MDIChild() ||
                           (SizeableStyle(Form->BorderStyle()) && Form->BorderIcons().Contains(biMaximize)));
}

bool TsSystemMenu::VisibleMin() {
  return HaveSysMenu() && (Iconic() || MDIChild() ||
                           (!FixedStyle(Form->BorderStyle()) && Form->BorderIcons().Contains(biMinimize)));
}

bool TsSystemMenu::VisibleRestore() { return HaveSysMenu() && (MDIChild() || !FixedStyle(Form->BorderStyle())); }

bool TsSystemMenu::VisibleSize() {
  if (!Form) return false;
  const TFormBorderStyle style = Form->BorderStyle();
  return MDIChild() || (style != bsDialog && style != bsNone && style != bsToolWindow);
}

// A grayed item cannot be chosen either (Wine reports a grayed item without
// the disabled bit).
bool TsSystemMenu::EnabledClose() {
  HMENU sys = FormSysMenu();
  return sys && (GetMenuState(sys, SC_CLOSE, MF_BYCOMMAND) & (MF_DISABLED | MF_GRAYED)) == 0;
}

bool TsSystemMenu::EnabledMax() {
  return Form && (MDIChild() || SizeableStyle(Form->BorderStyle())) && Form->BorderIcons().Contains(biMaximize);
}

bool TsSystemMenu::EnabledMin() {
  return Form && Form->BorderIcons().Contains(biMinimize) &&
         (!Iconic() || (Application && Application->MainForm() == Form));
}

bool TsSystemMenu::EnabledMove() { return Form && Form->WindowState() != wsMaximized; }

bool TsSystemMenu::EnabledRestore() {
  if (!Form) return false;
  return (Form->BorderIcons().Contains(biMaximize) && Form->WindowState() != wsNormal) ||
         Form->WindowState() == wsMinimized;
}

bool TsSystemMenu::EnabledSize() { return Form && Form->BorderStyle() != bsSingle && !Iconic(); }

// ------------------------------------------------------------- the commands

void TsSystemMenu::Post(Word Command) {
  if (Form && Form->HandleAllocated()) SendMessageW(Form->Handle(), WM_SYSCOMMAND, Command, 0);
}

void TsSystemMenu::RestoreClick(TObject*) {
  Post(SC_RESTORE);
  UpdateItems(false);
}

void TsSystemMenu::MoveClick(TObject*) { Post(SC_MOVE); }
void TsSystemMenu::SizeClick(TObject*) { Post(SC_SIZE); }

void TsSystemMenu::MinClick(TObject*) {
  if (Provider) Provider->Hiding = true;
  Post(SC_MINIMIZE);
  if (Provider) {
    Provider->Hiding = false;
    if (Provider->SystemMenu) Provider->SystemMenu->UpdateItems(false);
  }
}

void TsSystemMenu::MaxClick(TObject*) {
  Post(SC_MAXIMIZE);
  UpdateItems(false);
}

void TsSystemMenu::CloseClick(TObject*) { Post(SC_CLOSE); }

// Posted: the command runs after the menu has closed.
void TsSystemMenu::ExtClick(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (item && Form && Form->HandleAllocated())
    PostMessageW(Form->Handle(), WM_SYSCOMMAND, static_cast<WPARAM>(item->Tag()), 0);
}

DK_PUBLISH(TsCustomSysMenu) {}
DK_PUBLISH(TsSystemMenu) {}
