// The standard controls on the system's window classes.
#include "classlib/ui/StdCtrls.h"

#include "classlib/ui/PaintScope.h"

#include <algorithm>

#include "classlib/core/SysConsts.h"

DK_UNIT(StdCtrls);

namespace {

RECT* AsRect(TRect& R) { return reinterpret_cast<RECT*>(&R); }

// Lines of a text split at CR LF, CR or LF; a break at the very end starts no line.
std::vector<AnsiString> SplitLines(const AnsiString& Text) {
  std::vector<AnsiString> lines;
  std::size_t start = 0, i = 0;
  while (i < Text.size()) {
    char c = Text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(Text.substr(start, i - start));
      if (c == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < Text.size()) lines.push_back(Text.substr(start));
  return lines;
}

// Window text of an edit control: every line break as CR LF.
AnsiString ToCrLf(const AnsiString& Text) {
  AnsiString r;
  r.reserve(Text.size());
  for (std::size_t i = 0; i < Text.size(); ++i) {
    char c = Text[i];
    if (c == '\r') {
      r += "\r\n";
      if (i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      r += "\r\n";
    } else {
      r += c;
    }
  }
  return r;
}

LRESULT Send(TWinControl* C, UINT Msg, WPARAM W = 0, LPARAM L = 0) {
  return SendMessageW(C->WindowHandle(), Msg, W, L);
}

bool Loading(const TComponent* C) { return C->ComponentState().Contains(csLoading); }

}  // namespace

void DrawControlText(HDC DC, const AnsiString& Text, TRect& R, UINT Flags, TFont* Font, bool Enabled) {
  std::wstring w = winapi::W(Text);
  TSelectScope font(DC, Font->Handle());
  int oldMode = SetBkMode(DC, TRANSPARENT);
  COLORREF oldColor;
  if (Enabled || (Flags & DT_CALCRECT)) {
    oldColor = SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(Font->Color())));
    DrawTextW(DC, w.c_str(), static_cast<int>(w.size()), AsRect(R), Flags);
  } else {
    // The disabled look: a light copy one pixel down and right, the shadow over it.
    TRect shifted = R;
    shifted.Offset(1, 1);
    oldColor = SetTextColor(DC, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextW(DC, w.c_str(), static_cast<int>(w.size()), AsRect(shifted), Flags);
    SetTextColor(DC, GetSysColor(COLOR_BTNSHADOW));
    DrawTextW(DC, w.c_str(), static_cast<int>(w.size()), AsRect(R), Flags);
  }
  SetTextColor(DC, oldColor);
  SetBkMode(DC, oldMode);
}

// ================================================================ TCustomLabel

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {}

void TCustomLabel::Construct() {
  inherited::Construct();
  FControlStyle += TControlStyle{csOpaque, csReplicatable};
  SetBounds(0, 0, 65, 17);
  TControl::SetAutoSize(true);
}

UINT TCustomLabel::TextFlags() const {
  static const UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  UINT f = DT_EXPANDTABS | kAlign[FAlignment];
  if (FWordWrap) f |= DT_WORDBREAK;
  if (!FShowAccelChar) f |= DT_NOPREFIX;
  return f;
}

void TCustomLabel::DoDrawText(TRect& Rect, UINT Flags) {
  AnsiString text = Caption();
  // An empty caption (or a lone accelerator mark) still measures one line.
  if ((Flags & DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == "&"))) text += " ";
  if (!FWordWrap) Flags |= DT_SINGLELINE;
  DrawControlText(Canvas()->Handle(), text, Rect, Flags, Font(), Enabled());
}

void TCustomLabel::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  if (!Transparent()) {
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(r);
  }
  UINT flags = TextFlags();
  if (FLayout != tlTop) {
    TRect calc = r;
    DoDrawText(calc, flags | DT_CALCRECT);
    int dy = r.Height() - calc.Height();
    r.Top += FLayout == tlBottom ? dy : dy / 2;
  }
  DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds() {
  if (ComponentState().Contains(csReading) || Loading(this) || !AutoSize()) return;
  TWindowDC screen;
  HDC dc = screen.Handle();
  TRect r = ClientRect();
  if (!FWordWrap) r.Right = r.Left + 32000;
  AnsiString text = Caption();
  if (text.empty() || (FShowAccelChar && text == "&")) text += " ";
  DrawControlText(dc, text, r, TextFlags() | DT_CALCRECT | (FWordWrap ? 0 : DT_SINGLELINE), Font(), true);
  int x = Left();
  if (FAlignment == taRightJustify && !FWordWrap) x += Width() - r.Width();
  SetBounds(x, Top(), r.Width(), r.Height());
}

void TCustomLabel::SetAutoSize(bool Value) {
  if (AutoSize() == Value) return;
  TControl::SetAutoSize(Value);
  AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
  if (Transparent() == Value) return;
  if (Value)
    FControlStyle.Exclude(csOpaque);
  else
    FControlStyle.Include(csOpaque);
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
  if (FShowAccelChar == Value) return;
  FShowAccelChar = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::Loaded() {
  inherited::Loaded();
  AdjustBounds();
}

void TCustomLabel::CMTextChanged(TMessage& Message) {
  Invalidate();
  AdjustBounds();
}

void TCustomLabel::CMFontChanged(TMessage& Message) {
  InheritedMessage(TCustomLabel::StaticClass(), &Message);
  AdjustBounds();
}

void TCustomLabel::CMDialogChar(TWMKey& Message) {
  // Alt + the accelerator letter focuses the bound control.
  if (FFocusControl && Enabled() && FShowAccelChar) {
    AnsiString text = Caption();
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
      if (text[i] != '&') continue;
      if (text[i + 1] == '&') {
        ++i;
        continue;
      }
      if (AnsiUpperChar(text[i + 1]) == AnsiUpperChar(static_cast<char>(Message.CharCode()))) {
        if (FFocusControl->CanFocus()) {
          FFocusControl->SetFocus();
          Message.Result = 1;
        }
        return;
      }
      break;
    }
  }
}

DK_MESSAGE_UNIT(TCustomLabel);
DK_MESSAGE_HANDLER(TCustomLabel, CM_TEXTCHANGED, CMTextChanged);
DK_MESSAGE_HANDLER(TCustomLabel, CM_FONTCHANGED, CMFontChanged);
DK_MESSAGE_HANDLER(TCustomLabel, CM_DIALOGCHAR, CMDialogChar);

DK_PUBLISH(TCustomLabel) {
  P.Property("Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment).Default(taLeftJustify);
  P.Property("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize).Default(true);
  P.Property("FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl);
  P.Property("Layout", &TCustomLabel::Layout, &TCustomLabel::SetLayout).Default(tlTop);
  P.Property("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar).Default(true);
  P.Property("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent).Default(false);
  P.Property("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap).Default(false);
}
DK_PUBLISH(TLabel) {}

// ================================================================= TCustomEdit

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {}

void TCustomEdit::Construct() {
  inherited::Construct();
  FControlStyle.Include(csFixedHeight);
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, L"EDIT");
  static const DWORD kCase[] = {0, ES_UPPERCASE, ES_LOWERCASE};
  Params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL | kCase[FCharCase];
  if (FReadOnly) Params.Style |= ES_READONLY;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWnd() {
  FCreating = true;
  try {
    inherited::CreateWnd();
  } catch (...) {
    FCreating = false;
    throw;
  }
  FCreating = false;
  Send(this, EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
  Send(this, EM_SETMODIFY, FModified ? TRUE : FALSE, 0);
  if (FPasswordChar) Send(this, EM_SETPASSWORDCHAR, static_cast<WPARAM>(static_cast<unsigned char>(FPasswordChar)));
}

void TCustomEdit::DestroyWnd() {
  FModified = Send(this, EM_GETMODIFY) != 0;
  inherited::DestroyWnd();
}

void TCustomEdit::SetReadOnly(bool Value) {
  if (FReadOnly == Value) return;
  FReadOnly = Value;
  if (HandleAllocated()) Send(this, EM_SETREADONLY, Value ? TRUE : FALSE);
}

void TCustomEdit::SetMaxLength(Integer Value) {
  FMaxLength = Value < 0 ? 0 : Value;
  if (HandleAllocated()) Send(this, EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength));
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
  if (FCharCase == Value) return;
  FCharCase = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomEdit::SetPasswordChar(char Value) {
  if (FPasswordChar == Value) return;
  FPasswordChar = Value;
  if (HandleAllocated()) {
    Send(this, EM_SETPASSWORDCHAR, static_cast<WPARAM>(static_cast<unsigned char>(Value)));
    ::InvalidateRect(WindowHandle(), nullptr, TRUE);
  }
}

void TCustomEdit::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  if (HandleAllocated()) RecreateWnd();
}

bool TCustomEdit::Modified() { return HandleAllocated() ? Send(this, EM_GETMODIFY) != 0 : FModified; }

void TCustomEdit::SetModified(bool Value) {
  FModified = Value;
  if (HandleAllocated()) Send(this, EM_SETMODIFY, Value ? TRUE : FALSE);
}

Integer TCustomEdit::SelStart() {
  DWORD start = 0;
  if (HandleAllocated()) Send(this, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<Integer>(start);
}

void TCustomEdit::SetSelStart(Integer Value) { Send(this, EM_SETSEL, static_cast<WPARAM>(Value), Value); }

Integer TCustomEdit::SelLength() {
  DWORD start = 0, end = 0;
  if (HandleAllocated()) Send(this, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<Integer>(end - start);
}

void TCustomEdit::SetSelLength(Integer Value) {
  Integer start = SelStart();
  Send(this, EM_SETSEL, static_cast<WPARAM>(start), start + Value);
  Send(this, EM_SCROLLCARET);
}

AnsiString TCustomEdit::SelText() {
  // Selection positions count UTF-16 units of the window's text.
  if (!HandleAllocated()) return AnsiString();
  DWORD start = 0, end = 0;
  Send(this, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  std::wstring w = winapi::W(Text());
  if (start > w.size()) start = static_cast<DWORD>(w.size());
  if (end > w.size()) end = static_cast<DWORD>(w.size());
  return winapi::A(w.substr(start, end > start ? end - start : 0));
}

void TCustomEdit::SelectAll() {
  if (HandleAllocated()) Send(this, EM_SETSEL, 0, -1);
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomEdit::CNCommand(TWMCommand& Message) {
  if (Message.NotifyCode() == EN_CHANGE && !FCreating) Change();
}

void TCustomEdit::CMTextChanged(TMessage& Message) {
  InheritedMessage(TCustomEdit::StaticClass(), &Message);
  // Without a window no EN_CHANGE comes: the change is reported here.
  if (!HandleAllocated() && !Loading(this)) Change();
}

void TCustomEdit::CMEnter(TMessage& Message) {
  if (FAutoSelect && !ControlState().Contains(csLButtonDown) && !(GetWindowLongW(WindowHandle(), GWL_STYLE) & ES_MULTILINE))
    SelectAll();
  InheritedMessage(TCustomEdit::StaticClass(), &Message);
}

DK_MESSAGE_UNIT(TCustomEdit);
DK_MESSAGE_HANDLER(TCustomEdit, CN_COMMAND, CNCommand);
DK_MESSAGE_HANDLER(TCustomEdit, CM_TEXTCHANGED, CMTextChanged);
DK_MESSAGE_HANDLER(TCustomEdit, CM_ENTER, CMEnter);

DK_PUBLISH(TCustomEdit) {
  P.Property("Caption", &TCustomEdit::Caption, &TCustomEdit::SetCaption).Stored(false);  // the text travels as Text / Items
  P.Property("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect).Default(true);
  P.Property("BorderStyle", &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle).Default(bsSingle);
  P.Property("CharCase", &TCustomEdit::CharCase, &TCustomEdit::SetCharCase).Default(ecNormal);
  P.Property("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength).Default(0);
  P.Property("PasswordChar", &TCustomEdit::PasswordChar, &TCustomEdit::SetPasswordChar).Default(0);
  P.Property("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly).Default(false);
  P.Property("Text", &TCustomEdit::Text, &TCustomEdit::SetText);
  P.Property("OnChange", &TCustomEdit::OnChange);
}
DK_PUBLISH(TEdit) {}

// ================================================================ TMemoStrings

std::vector<AnsiString> TMemoStrings::Lines() const { return SplitLines(FMemo->Text()); }

void TMemoStrings::Store(const std::vector<AnsiString>& Lines) {
  AnsiString text;
  for (std::size_t i = 0; i < Lines.size(); ++i) {
    if (i) text += "\r\n";
    text += Lines[i];
  }
  FMemo->SetText(text);
}

AnsiString TMemoStrings::Get(int Index) const {
  auto lines = Lines();
  if (Index < 0 || Index >= static_cast<int>(lines.size())) Error(&SListIndexError, Index);
  return lines[static_cast<std::size_t>(Index)];
}

void TMemoStrings::Put(int Index, const AnsiString& S) {
  auto lines = Lines();
  if (Index < 0 || Index >= static_cast<int>(lines.size())) Error(&SListIndexError, Index);
  lines[static_cast<std::size_t>(Index)] = S;
  Store(lines);
}

int TMemoStrings::GetCount() const { return static_cast<int>(Lines().size()); }

void TMemoStrings::Insert(int Index, const AnsiString& S) {
  auto lines = Lines();
  if (Index < 0 || Index > static_cast<int>(lines.size())) Error(&SListIndexError, Index);
  // A line may itself hold line breaks: it becomes several lines.
  auto parts = SplitLines(S);
  if (parts.empty()) parts.push_back(AnsiString());
  lines.insert(lines.begin() + Index, parts.begin(), parts.end());
  Store(lines);
}

void TMemoStrings::Delete(int Index) {
  auto lines = Lines();
  if (Index < 0 || Index >= static_cast<int>(lines.size())) Error(&SListIndexError, Index);
  lines.erase(lines.begin() + Index);
  Store(lines);
}

void TMemoStrings::Clear() { FMemo->SetText(""); }

AnsiString TMemoStrings::Text() const {
  AnsiString text;
  for (const auto& l : Lines()) text += l + "\r\n";
  return text;
}

void TMemoStrings::SetText(const AnsiString& Value) { FMemo->SetText(ToCrLf(Value)); }

void TMemoStrings::SetUpdateState(bool Updating) {
  if (FMemo->HandleAllocated()) {
    SendMessageW(FMemo->WindowHandle(), WM_SETREDRAW, Updating ? FALSE : TRUE, 0);
    if (!Updating) FMemo->Invalidate();
  }
}

// ================================================================= TCustomMemo

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner) {}
TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::Construct() {
  inherited::Construct();
  FLines = std::make_unique<TMemoStrings>(this);
  SetBounds(0, 0, 185, 89);
  SetAutoSelect(false);
}

void TCustomMemo::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  static const DWORD kAlign[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
  static const DWORD kBars[] = {0, WS_HSCROLL, WS_VSCROLL, WS_HSCROLL | WS_VSCROLL};
  Params.Style |= ES_MULTILINE | kAlign[FAlignment] | kBars[FScrollBars];
  if (FWordWrap) Params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
  if (FWantReturns) Params.Style |= ES_WANTRETURN;
}

bool TCustomMemo::WantsKey(Word Key) {
  if (Key == VK_RETURN) return FWantReturns;
  if (Key == VK_TAB) return FWantTabs;
  return Key == VK_UP || Key == VK_DOWN || Key == VK_LEFT || Key == VK_RIGHT || inherited::WantsKey(Key);
}

void TCustomMemo::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
  if (FScrollBars == Value) return;
  FScrollBars = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  if (HandleAllocated()) RecreateWnd();
}

DK_PUBLISH(TCustomMemo) {
  P.Property("Alignment", &TCustomMemo::Alignment, &TCustomMemo::SetAlignment).Default(taLeftJustify);
  P.Property("Lines", &TCustomMemo::Lines, &TCustomMemo::SetLines);
  P.Property("ScrollBars", &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars).Default(ssNone);
  P.Property("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns).Default(true);
  P.Property("WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs).Default(false);
  P.Property("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap).Default(true);
  // The text travels as Lines.
  P.Property("Text", &TCustomMemo::Text, &TCustomMemo::SetText).Stored(false);
}
DK_PUBLISH(TMemo) {}

// ================================================================ TItemStrings

void TItemStrings::CheckIndex(int Index) const {
  if (Index < 0 || Index >= GetCount()) Error(&SListIndexError, Index);
}

AnsiString TItemStrings::Get(int Index) const {
  CheckIndex(Index);
  return FItems[static_cast<std::size_t>(Index)].S;
}

TObject* TItemStrings::GetObject(int Index) const {
  CheckIndex(Index);
  return FItems[static_cast<std::size_t>(Index)].Obj;
}

void TItemStrings::PutObject(int Index, TObject* AObject) {
  CheckIndex(Index);
  FItems[static_cast<std::size_t>(Index)].Obj = AObject;
}

void TItemStrings::WindowInsert(int Index, const AnsiString& S) {
  if (!FControl->HandleAllocated()) return;
  std::wstring w = winapi::W(S);
  LRESULT r = SendMessageW(FControl->WindowHandle(), FMsgs.Insert, static_cast<WPARAM>(Index),
                           reinterpret_cast<LPARAM>(w.c_str()));
  if (r == FMsgs.ErrSpace) throw EOutOfResources("Not enough room for the list items");
}

void TItemStrings::Insert(int Index, const AnsiString& S) {
  if (FSorted) {
    Add(S);
    return;
  }
  if (Index < 0 || Index > GetCount()) Error(&SListIndexError, Index);
  WindowInsert(Index, S);
  FItems.insert(FItems.begin() + Index, Item{S, nullptr});
}

int TItemStrings::Add(const AnsiString& S) {
  int index = GetCount();
  if (FSorted) {
    auto it = std::upper_bound(FItems.begin(), FItems.end(), S,
                               [](const AnsiString& s, const Item& i) { return AnsiCompareText(s, i.S) < 0; });
    index = static_cast<int>(it - FItems.begin());
  }
  WindowInsert(index, S);
  FItems.insert(FItems.begin() + index, Item{S, nullptr});
  return index;
}

void TItemStrings::Put(int Index, const AnsiString& S) {
  CheckIndex(Index);
  TObject* obj = FItems[static_cast<std::size_t>(Index)].Obj;
  Delete(Index);
  if (FSorted) {
    PutObject(Add(S), obj);
  } else {
    Insert(Index, S);
    PutObject(Index, obj);
  }
}

void TItemStrings::Delete(int Index) {
  CheckIndex(Index);
  if (FControl->HandleAllocated()) SendMessageW(FControl->WindowHandle(), FMsgs.Delete, static_cast<WPARAM>(Index), 0);
  FItems.erase(FItems.begin() + Index);
}

void TItemStrings::Clear() {
  if (FControl->HandleAllocated()) SendMessageW(FControl->WindowHandle(), FMsgs.Reset, 0, 0);
  FItems.clear();
}

void TItemStrings::SetSorted(bool Value) {
  if (FSorted == Value) return;
  FSorted = Value;
  if (!Value) return;
  std::stable_sort(FItems.begin(), FItems.end(),
                   [](const Item& a, const Item& b) { return AnsiCompareText(a.S, b.S) < 0; });
  if (FControl->HandleAllocated()) {
    SendMessageW(FControl->WindowHandle(), FMsgs.Reset, 0, 0);
    FillWindow(FControl->WindowHandle());
  }
}

void TItemStrings::FillWindow(HWND Wnd) const {
  for (std::size_t i = 0; i < FItems.size(); ++i) {
    std::wstring w = winapi::W(FItems[i].S);
    SendMessageW(Wnd, FMsgs.Insert, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(w.c_str()));
  }
}

void TItemStrings::SetUpdateState(bool Updating) {
  if (FControl->HandleAllocated()) {
    SendMessageW(FControl->WindowHandle(), WM_SETREDRAW, Updating ? FALSE : TRUE, 0);
    if (!Updating) FControl->Invalidate();
  }
}

// ============================================================= TCustomComboBox

namespace {
const TItemStrings::Messages kComboMsgs{CB_ADDSTRING, CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT,
                                        CB_SETITEMDATA, CB_ERRSPACE};
const TItemStrings::Messages kListMsgs{LB_ADDSTRING, LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT,
                                       LB_SETITEMDATA, LB_ERRSPACE};
}  // namespace

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TWinControl(AOwner) {}
TCustomComboBox::~TCustomComboBox() = default;

void TCustomComboBox::Construct() {
  inherited::Construct();
  FItems = std::make_unique<TItemStrings>(this, kComboMsgs);
  FControlStyle = TControlStyle{csCaptureMouse, csSetCaption, csDoubleClicks, csFixedHeight, csReflector};
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

int TCustomComboBox::ListHeight() const {
  return Height() + FDropDownCount * FItemHeight + 4;
}

void TCustomComboBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, L"COMBOBOX");
  static const DWORD kStyle[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST,
                                 CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                                 CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS};
  Params.Style |= WS_VSCROLL | CBS_AUTOHSCROLL | kStyle[FStyle];
  if (FStyle != csSimple) Params.Height = ListHeight();
}

void TCustomComboBox::CreateWnd() {
  AnsiString text = FStyle == csDropDownList ? AnsiString() : Text();
  inherited::CreateWnd();
  HWND h = WindowHandle();
  SendMessageW(h, CB_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
  FItems->FillWindow(h);
  if (FItemIndex >= FItems->Count()) FItemIndex = -1;
  SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
  if (FStyle != csDropDownList && FItemIndex < 0 && !text.empty()) {
    std::wstring w = winapi::W(text);
    SetWindowTextW(h, w.c_str());
  }
}

void TCustomComboBox::DestroyWnd() {
  FItemIndex = static_cast<Integer>(Send(this, CB_GETCURSEL));
  inherited::DestroyWnd();
}

void TCustomComboBox::Loaded() {
  inherited::Loaded();
  // ItemIndex comes before Items in a form stream.
  if (FItemIndex >= FItems->Count()) FItemIndex = -1;
  if (HandleAllocated()) Send(this, CB_SETCURSEL, static_cast<WPARAM>(FItemIndex));
}

Integer TCustomComboBox::ItemIndex() {
  if (HandleAllocated()) return static_cast<Integer>(Send(this, CB_GETCURSEL));
  return FItemIndex;
}

void TCustomComboBox::SetItemIndex(Integer Value) {
  if (!Loading(this) && (Value < -1 || Value >= FItems->Count())) Value = -1;
  FItemIndex = Value;
  if (HandleAllocated()) Send(this, CB_SETCURSEL, static_cast<WPARAM>(Value));
}

AnsiString TCustomComboBox::GetText() {
  if (!HandleAllocated() && FStyle == csDropDownList)
    return FItemIndex >= 0 && FItemIndex < FItems->Count() ? FItems->Strings(FItemIndex) : AnsiString();
  return inherited::GetText();
}

void TCustomComboBox::SetText(const AnsiString& Value) {
  if (FStyle == csDropDownList) {
    // Only an item can be shown: the first with this text is selected.
    int i = -1;
    for (int k = 0; k < FItems->Count(); ++k)
      if (AnsiSameText(FItems->Strings(k), Value)) {
        i = k;
        break;
      }
    SetItemIndex(i);
    return;
  }
  inherited::SetText(Value);
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomComboBox::SetSorted(bool Value) { FItems->SetSorted(Value); }

void TCustomComboBox::SetDropDownCount(Integer Value) {
  FDropDownCount = Value < 1 ? 1 : Value;
  SetBounds(Left(), Top(), Width(), Height());
}

void TCustomComboBox::SetMaxLength(Integer Value) {
  FMaxLength = Value < 0 ? 0 : Value;
  if (HandleAllocated()) Send(this, CB_LIMITTEXT, static_cast<WPARAM>(FMaxLength));
}

bool TCustomComboBox::DroppedDown() { return HandleAllocated() && Send(this, CB_GETDROPPEDSTATE) != 0; }

void TCustomComboBox::SetDroppedDown(bool Value) {
  HandleNeeded();
  Send(this, CB_SHOWDROPDOWN, Value ? TRUE : FALSE);
}

void TCustomComboBox::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
  // The window of a drop-down combo box includes its list.
  if (HandleAllocated() && FStyle != csSimple)
    SetWindowPos(WindowHandle(), nullptr, 0, 0, Width(), ListHeight(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void TCustomComboBox::Clear() {
  FItems->Clear();
  FItemIndex = -1;
  if (FStyle != csDropDownList) SetText("");
}

bool TCustomComboBox::WantsKey(Word Key) {
  if (DroppedDown() && (Key == VK_RETURN || Key == VK_ESCAPE)) return true;
  return inherited::WantsKey(Key);
}

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TCustomComboBox::Select() {
  if (OnSelect)
    OnSelect(this);
  else
    Change();
}

void TCustomComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::CNCommand(TWMCommand& Message) {
  switch (Message.NotifyCode()) {
    case CBN_SELCHANGE: {
      FItemIndex = static_cast<Integer>(Send(this, CB_GETCURSEL));
      // The edit part shows the new item only after this notification: put
      // it there now, so that the handlers read the chosen text.
      if (FStyle != csDropDownList && FItemIndex >= 0 && FItemIndex < FItems->Count()) {
        std::wstring w = winapi::W(FItems->Strings(FItemIndex));
        SetWindowTextW(WindowHandle(), w.c_str());
      }
      Click();
      Select();
      break;
    }
    case CBN_EDITCHANGE:
      Change();
      break;
    case CBN_DROPDOWN:
      DropDown();
      break;
    case CBN_CLOSEUP:
      CloseUp();
      break;
    default:
      break;
  }
}

DK_MESSAGE_UNIT(TCustomComboBox);
DK_MESSAGE_HANDLER(TCustomComboBox, CN_COMMAND, CNCommand);

DK_PUBLISH(TCustomComboBox) {
  P.Property("Caption", &TCustomComboBox::Caption, &TCustomComboBox::SetCaption).Stored(false);  // the text travels as Text / Items
  P.Property("Style", &TCustomComboBox::Style, &TCustomComboBox::SetStyle).Default(csDropDown);
  P.Property("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount).Default(8);
  P.Property("ItemHeight", &TCustomComboBox::ItemHeight, &TCustomComboBox::SetItemHeight);
  P.Property("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex).Default(-1);
  P.Property("MaxLength", &TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength).Default(0);
  P.Property("Sorted", &TCustomComboBox::Sorted, &TCustomComboBox::SetSorted).Default(false);
  P.Property("Text", &TCustomComboBox::Text, &TCustomComboBox::SetText);
  P.Property("Items", &TCustomComboBox::Items, &TCustomComboBox::SetItems);
  P.Property("OnChange", &TCustomComboBox::OnChange);
  P.Property("OnSelect", &TCustomComboBox::OnSelect);
  P.Property("OnDropDown", &TCustomComboBox::OnDropDown);
  P.Property("OnCloseUp", &TCustomComboBox::OnCloseUp);
}
DK_PUBLISH(TComboBox) {}

// ============================================================== TCustomListBox

TCustomListBox::TCustomListBox(TComponent* AOwner) : TWinControl(AOwner) {}
TCustomListBox::~TCustomListBox() = default;

void TCustomListBox::Construct() {
  inherited::Construct();
  FItems = std::make_unique<TItemStrings>(this, kListMsgs);
  FCanvas = std::make_unique<TControlCanvas>();
  FCanvas->SetControl(this);
  FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

void TCustomListBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, L"LISTBOX");
  Params.Style |= WS_VSCROLL | LBS_NOTIFY | WS_HSCROLL;
  if (!FIntegralHeight) Params.Style |= LBS_NOINTEGRALHEIGHT;
  if (FMultiSelect) Params.Style |= LBS_EXTENDEDSEL;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  switch (FStyle) {
    case lbOwnerDrawFixed:
    case lbVirtualOwnerDraw:
      Params.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
      break;
    case lbOwnerDrawVariable:
      Params.Style |= LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS;
      break;
    default:
      break;
  }
  if (FColumns > 0) Params.Style = (Params.Style | LBS_MULTICOLUMN) & ~static_cast<DWORD>(WS_VSCROLL);
}

void TCustomListBox::Loaded() {
  inherited::Loaded();
  // ItemIndex comes before Items in a form stream.
  if (FItemIndex >= FItems->Count()) FItemIndex = -1;
  if (HandleAllocated()) SetItemIndex(FItemIndex);
}

void TCustomListBox::CreateWnd() {
  inherited::CreateWnd();
  HWND h = WindowHandle();
  FItems->FillWindow(h);
  if (FMultiSelect) {
    for (Integer i : FSavedSelection)
      if (i < FItems->Count()) SendMessageW(h, LB_SETSEL, TRUE, i);
    if (FItemIndex >= 0 && FItemIndex < FItems->Count()) SendMessageW(h, LB_SETCARETINDEX, FItemIndex, FALSE);
  } else if (FItemIndex >= 0 && FItemIndex < FItems->Count()) {
    SendMessageW(h, LB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
  }
  SendMessageW(h, LB_SETTOPINDEX, static_cast<WPARAM>(FTopIndex), 0);
  FSavedSelection.clear();
  ApplyColumns();
}

void TCustomListBox::ApplyColumns() {
  if (FColumns > 0 && HandleAllocated()) Send(this, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(ClientWidth() / FColumns));
}

void TCustomListBox::SetItemHeight(Integer Value) {
  if (Value <= 0 || FItemHeight == Value) return;
  FItemHeight = Value;
  if (HandleAllocated() && (GetWindowLongW(WindowHandle(), GWL_STYLE) & LBS_OWNERDRAWFIXED))
    Send(this, LB_SETITEMHEIGHT, 0, MAKELPARAM(Value, 0));
  if (HandleAllocated()) Invalidate();
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomListBox::SetColumns(Integer Value) {
  if (Value < 0) Value = 0;
  if (FColumns == Value) return;
  // Switching between one column and several changes the window's style.
  const bool restyle = (FColumns == 0) != (Value == 0);
  FColumns = Value;
  if (!HandleAllocated()) return;
  if (restyle)
    RecreateWnd();
  else
    ApplyColumns();
}

TRect TCustomListBox::ItemRect(Integer Index) {
  RECT r{};
  if (!HandleAllocated() || Index < 0 || Index >= FItems->Count()) return TRect();
  if (Send(this, LB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r)) == LB_ERR) return TRect();
  return TRect(r.left, r.top, r.right, r.bottom);
}

void TCustomListBox::DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  TCanvas* c = FCanvas.get();
  const bool selected = State.Contains(odSelected);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(selected ? clHighlight : Color());
  c->FillRect(Rect);
  if (Index >= 0 && Index < FItems->Count()) {
    TFont font;
    font.Assign(Font());
    if (selected) font.SetColor(clHighlightText);
    TRect r = Rect;
    r.Left += 2;
    DrawControlText(c->Handle(), FItems->Strings(Index), r,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS, &font, Enabled());
  }
  if (State.Contains(odFocused)) DrawFocusRect(c->Handle(), reinterpret_cast<const RECT*>(&Rect));
}

void TCustomListBox::MeasureItem(Integer Index, Integer& Height) {
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomListBox::CNDrawItem(TWMDrawItem& Message) {
  DRAWITEMSTRUCT* d = Message.DrawItemStruct();
  if (!d) return;
  const TRect r(d->rcItem.left, d->rcItem.top, d->rcItem.right, d->rcItem.bottom);
  TCanvasScope scope(FCanvas.get(), d->hDC);
  FCanvas->Font()->Assign(Font());
  FCanvas->Brush()->SetColor(Color());
  DrawItem(static_cast<Integer>(static_cast<int>(d->itemID)), r, OwnerDrawStateOf(d->itemState & 0xFFFF));
  Message.Result = 1;
}

void TCustomListBox::CNMeasureItem(TWMMeasureItem& Message) {
  MEASUREITEMSTRUCT* m = Message.MeasureItemStruct();
  if (!m) return;
  Integer h = FItemHeight;
  if (FStyle == lbOwnerDrawVariable) MeasureItem(static_cast<Integer>(m->itemID), h);
  m->itemHeight = static_cast<UINT>(std::max<Integer>(h, 1));
  Message.Result = 1;
}

void TCustomListBox::DestroyWnd() {
  FItemIndex = ItemIndex();
  FTopIndex = TopIndex();
  FSavedSelection.clear();
  if (FMultiSelect)
    for (int i = 0; i < FItems->Count(); ++i)
      if (Selected(i)) FSavedSelection.push_back(i);
  inherited::DestroyWnd();
}

Integer TCustomListBox::ItemIndex() {
  if (!HandleAllocated()) return FItemIndex;
  if (FMultiSelect) return static_cast<Integer>(Send(this, LB_GETCARETINDEX));
  return static_cast<Integer>(Send(this, LB_GETCURSEL));
}

void TCustomListBox::SetItemIndex(Integer Value) {
  if (!Loading(this) && (Value < -1 || Value >= FItems->Count())) Value = -1;
  FItemIndex = Value;
  if (!HandleAllocated()) return;
  if (FMultiSelect)
    Send(this, LB_SETCARETINDEX, static_cast<WPARAM>(Value), FALSE);
  else
    Send(this, LB_SETCURSEL, static_cast<WPARAM>(Value));
}

void TCustomListBox::SetSorted(bool Value) { FItems->SetSorted(Value); }

void TCustomListBox::SetMultiSelect(bool Value) {
  if (FMultiSelect == Value) return;
  FMultiSelect = Value;
  if (HandleAllocated()) RecreateWnd();
}

bool TCustomListBox::Selected(int Index) {
  if (Index < 0 || Index >= FItems->Count()) throw EListError(LoadResString(&SListIndexError), {Index});
  if (!HandleAllocated()) {
    if (FMultiSelect) return std::find(FSavedSelection.begin(), FSavedSelection.end(), Index) != FSavedSelection.end();
    return Index == FItemIndex;
  }
  return Send(this, LB_GETSEL, static_cast<WPARAM>(Index)) > 0;
}

void TCustomListBox::SetSelected(int Index, bool Value) {
  if (Index < 0 || Index >= FItems->Count()) throw EListError(LoadResString(&SListIndexError), {Index});
  if (FMultiSelect) {
    if (HandleAllocated()) {
      Send(this, LB_SETSEL, Value ? TRUE : FALSE, Index);
    } else {
      auto it = std::find(FSavedSelection.begin(), FSavedSelection.end(), Index);
      if (Value && it == FSavedSelection.end()) FSavedSelection.push_back(Index);
      if (!Value && it != FSavedSelection.end()) FSavedSelection.erase(it);
    }
  } else if (Value) {
    SetItemIndex(Index);
  } else if (ItemIndex() == Index) {
    SetItemIndex(-1);
  }
}

Integer TCustomListBox::SelCount() {
  if (!FMultiSelect) return -1;
  if (!HandleAllocated()) return static_cast<Integer>(FSavedSelection.size());
  return static_cast<Integer>(Send(this, LB_GETSELCOUNT));
}

Integer TCustomListBox::TopIndex() {
  return HandleAllocated() ? static_cast<Integer>(Send(this, LB_GETTOPINDEX)) : FTopIndex;
}

void TCustomListBox::SetTopIndex(Integer Value) {
  FTopIndex = Value;
  if (HandleAllocated()) Send(this, LB_SETTOPINDEX, static_cast<WPARAM>(Value));
}

void TCustomListBox::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomListBox::SetIntegralHeight(bool Value) {
  if (FIntegralHeight == Value) return;
  FIntegralHeight = Value;
  if (HandleAllocated()) RecreateWnd();
}

Integer TCustomListBox::ItemAtPos(const TPoint& Pos, bool Existing) {
  if (!HandleAllocated()) return -1;
  LRESULT r = Send(this, LB_ITEMFROMPOINT, 0, MAKELPARAM(Pos.X, Pos.Y));
  Integer index = LOWORD(r);
  bool outside = HIWORD(r) != 0;
  if (outside && Existing) return -1;
  return index;
}

void TCustomListBox::CNCommand(TWMCommand& Message) {
  switch (Message.NotifyCode()) {
    case LBN_SELCHANGE:
      Click();
      break;
    case LBN_DBLCLK:
      DblClick();
      break;
    default:
      break;
  }
}

DK_MESSAGE_UNIT(TCustomListBox);
DK_MESSAGE_HANDLER(TCustomListBox, CN_COMMAND, CNCommand);
DK_MESSAGE_HANDLER(TCustomListBox, CN_DRAWITEM, CNDrawItem);
DK_MESSAGE_HANDLER(TCustomListBox, CN_MEASUREITEM, CNMeasureItem);

DK_PUBLISH(TCustomListBox) {
  P.Property("Caption", &TCustomListBox::Caption, &TCustomListBox::SetCaption).Stored(false);  // the text travels as Text / Items
  P.Property("BorderStyle", &TCustomListBox::BorderStyle, &TCustomListBox::SetBorderStyle).Default(bsSingle);
  P.Property("IntegralHeight", &TCustomListBox::IntegralHeight, &TCustomListBox::SetIntegralHeight)
      .Default(false);
  P.Property("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight);
  P.Property("ItemIndex", &TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex).Default(-1);
  P.Property("Items", &TCustomListBox::Items, &TCustomListBox::SetItems);
  P.Property("MultiSelect", &TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect).Default(false);
  P.Property("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted).Default(false);
  P.Property("Style", &TCustomListBox::Style, &TCustomListBox::SetStyle).Default(lbStandard);
  P.Property("Columns", &TCustomListBox::Columns, &TCustomListBox::SetColumns).Default(0);
  P.Property("OnDrawItem", &TCustomListBox::OnDrawItem);
  P.Property("OnMeasureItem", &TCustomListBox::OnMeasureItem);
}
DK_PUBLISH(TListBox) {}

// ============================================================== TButtonControl

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {}

void TButtonControl::Construct() {
  inherited::Construct();
  // Clicks come from the button's own notification, not from the mouse.
  FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
}

void TButtonControl::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, L"BUTTON");
  if (FWordWrap) Params.Style |= BS_MULTILINE;
}

void TButtonControl::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  if (HandleAllocated()) RecreateWnd();
}

DK_PUBLISH(TButtonControl) {
  P.Property("WordWrap", &TButtonControl::WordWrap, &TButtonControl::SetWordWrap).Default(false);
}

// ===================================================================== TButton

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {}

void TButton::Construct() {
  inherited::Construct();
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
  SetColor(clBtnFace);
}

void TButton::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= FActive ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::CreateWnd() {
  inherited::CreateWnd();
  FActive = FDefault || FActive;
  SetButtonStyle(FActive);
}

void TButton::SetButtonStyle(bool ADefault) {
  if (!HandleAllocated()) return;
  DWORD style = ADefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if ((GetWindowLongW(WindowHandle(), GWL_STYLE) & 0xF) != style) Send(this, BM_SETSTYLE, style, TRUE);
}

void TButton::SetDefault(bool Value) {
  FDefault = Value;
  FActive = Value;
  if (!HandleAllocated()) return;
  // Tell the form: the button with the focus shows itself as the default one.
  TCustomForm* form = ::GetParentForm(this);
  if (form && form->ActiveControl()) {
    TCMFocusChanged m;
    m.Msg = CM_FOCUSCHANGED;
    m.LParam = reinterpret_cast<LPARAM>(form->ActiveControl());
    CMFocusChanged(m);
  } else {
    SetButtonStyle(Value);
  }
}

void TButton::Click() {
  TCustomForm* form = ::GetParentForm(this);
  if (form && FModalResult != 0) form->SetModalResult(FModalResult);
  inherited::Click();
}

void TButton::CNCommand(TWMCommand& Message) {
  if (Message.NotifyCode() == BN_CLICKED) Click();
}

void TButton::CMDialogKey(TWMKey& Message) {
  Word key = Message.CharCode();
  if (((key == VK_RETURN && FActive) || (key == VK_ESCAPE && FCancel)) &&
      KeyDataToShiftState(Message.KeyData()).Empty() && CanFocus()) {
    Click();
    Message.Result = 1;
    return;
  }
  InheritedMessage(TButton::StaticClass(), &Message);
}

void TButton::CMFocusChanged(TCMFocusChanged& Message) {
  TWinControl* sender = Message.Sender();
  if (sender && sender->InheritsFrom(TButton::StaticClass()))
    FActive = sender == this;
  else
    FActive = FDefault;
  SetButtonStyle(FActive);
  InheritedMessage(TButton::StaticClass(), &Message);
}

DK_MESSAGE_UNIT(TButton);
DK_MESSAGE_HANDLER(TButton, CN_COMMAND, CNCommand);
DK_MESSAGE_HANDLER(TButton, CM_DIALOGKEY, CMDialogKey);
DK_MESSAGE_HANDLER(TButton, CM_FOCUSCHANGED, CMFocusChanged);

DK_PUBLISH(TButton) {
  P.Property("Cancel", &TButton::Cancel, &TButton::SetCancel).Default(false);
  P.Property("Default", &TButton::Default, &TButton::SetDefault).Default(false);
  P.Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Default(0);
}

// ============================================================= TCustomCheckBox

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {}

void TCustomCheckBox::Construct() {
  inherited::Construct();
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
}

void TCustomCheckBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= (FAllowGrayed ? BS_3STATE : BS_CHECKBOX);
  if (FAlignment == taLeftJustify) Params.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateWnd() {
  inherited::CreateWnd();
  Send(this, BM_SETCHECK, static_cast<WPARAM>(FState));
}

void TCustomCheckBox::DestroyWnd() {
  FState = static_cast<TCheckBoxState>(Send(this, BM_GETCHECK) & 3);
  inherited::DestroyWnd();
}

TCheckBoxState TCustomCheckBox::State() { return FState; }

void TCustomCheckBox::SetState(TCheckBoxState Value) {
  if (FState == Value) return;
  FState = Value;
  if (HandleAllocated()) Send(this, BM_SETCHECK, static_cast<WPARAM>(Value));
  if (!FClicksDisabled) Click();
}

void TCustomCheckBox::SetAlignment(TLeftRight Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomCheckBox::Toggle() {
  switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

void TCustomCheckBox::CNCommand(TWMCommand& Message) {
  if (Message.NotifyCode() == BN_CLICKED) Toggle();
}

DK_MESSAGE_UNIT(TCustomCheckBox);
DK_MESSAGE_HANDLER(TCustomCheckBox, CN_COMMAND, CNCommand);

DK_PUBLISH(TCustomCheckBox) {
  P.Property("Alignment", &TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment).Default(taRightJustify);
  P.Property("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed).Default(false);
  P.Property("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetCheckedProp).Stored(false);
  P.Property("State", &TCustomCheckBox::State, &TCustomCheckBox::SetState).Default(cbUnchecked);
}
DK_PUBLISH(TCheckBox) {}

// ================================================================ TRadioButton

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {}

void TRadioButton::Construct() {
  inherited::Construct();
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= BS_RADIOBUTTON;
  if (FAlignment == taLeftJustify) Params.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateWnd() {
  inherited::CreateWnd();
  Send(this, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED);
}

void TRadioButton::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  SetTabStop(Value);
  if (HandleAllocated()) Send(this, BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED);
  if (!Value) return;
  // One checked radio button per parent.
  if (TWinControl* parent = Parent()) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
      TControl* c = parent->Controls(i);
      if (c != this && c->InheritsFrom(TRadioButton::StaticClass())) static_cast<TRadioButton*>(c)->SetChecked(false);
    }
  }
  if (!FClicksDisabled) Click();
}

void TRadioButton::SetAlignment(TLeftRight Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TRadioButton::CNCommand(TWMCommand& Message) {
  if (Message.NotifyCode() == BN_CLICKED) SetChecked(true);
  else if (Message.NotifyCode() == BN_DOUBLECLICKED) DblClick();
}

DK_MESSAGE_UNIT(TRadioButton);
DK_MESSAGE_HANDLER(TRadioButton, CN_COMMAND, CNCommand);

DK_PUBLISH(TRadioButton) {
  P.Property("Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment).Default(taRightJustify);
  P.Property("Checked", &TRadioButton::Checked, &TRadioButton::SetCheckedProp).Default(false);
}

// ============================================================= TCustomGroupBox

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {}

void TCustomGroupBox::Construct() {
  inherited::Construct();
  FControlStyle += TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks,
                                 csReplicatable};
  SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomGroupBox::AdjustClientRect(TRect& Rect) {
  inherited::AdjustClientRect(Rect);
  Rect.Top += FontMetrics(Font()->Handle()).tmHeight;
  Rect.Left += 2;
  Rect.Top += 2;
  Rect.Right -= 2;
  Rect.Bottom -= 2;
}

void TCustomGroupBox::Paint() {
  TCanvas* c = Canvas();
  HDC dc = c->Handle();
  TEXTMETRICW tm = FontMetrics(Font()->Handle(), dc);
  int h = tm.tmHeight;
  TRect r = Rect(0, h / 2 - 1, Width(), Height());
  DrawEdge(dc, AsRect(r), EDGE_ETCHED, BF_RECT);
  AnsiString text = Caption();
  if (text.empty()) return;
  TRect t = Rect(8, 0, 0, h);
  DrawControlText(dc, text, t, DT_CALCRECT | DT_SINGLELINE | DT_LEFT, Font(), true);
  c->Brush()->SetColor(Color());
  c->Brush()->SetStyle(bsSolid);
  c->FillRect(t);
  DrawControlText(c->Handle(), text, t, DT_SINGLELINE | DT_LEFT, Font(), Enabled());
}

void TCustomGroupBox::CMTextChanged(TMessage& Message) {
  InheritedMessage(TCustomGroupBox::StaticClass(), &Message);
  Invalidate();
}

void TCustomGroupBox::CMFontChanged(TMessage& Message) {
  InheritedMessage(TCustomGroupBox::StaticClass(), &Message);
  Realign();
}

DK_MESSAGE_UNIT(TCustomGroupBox);
DK_MESSAGE_HANDLER(TCustomGroupBox, CM_TEXTCHANGED, CMTextChanged);
DK_MESSAGE_HANDLER(TCustomGroupBox, CM_FONTCHANGED, CMFontChanged);

DK_PUBLISH(TCustomGroupBox) {}
DK_PUBLISH(TGroupBox) {}

// ========================================================== TCustomStaticText

TCustomStaticText::TCustomStaticText(TComponent* AOwner) : TWinControl(AOwner) {}

void TCustomStaticText::Construct() {
  inherited::Construct();
  SetBounds(0, 0, 65, 17);
  TControl::SetAutoSize(true);
}

void TCustomStaticText::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, L"STATIC");
  static const DWORD kAlign[] = {SS_LEFT, SS_RIGHT, SS_CENTER};
  Params.Style |= SS_NOTIFY | kAlign[FAlignment];
  if (FBorderStyle == sbsSingle) Params.Style |= WS_BORDER;
  if (FBorderStyle == sbsSunken) Params.Style |= SS_SUNKEN;
  if (!FShowAccelChar) Params.Style |= SS_NOPREFIX;
}

void TCustomStaticText::AdjustBounds() {
  if (Loading(this) || ComponentState().Contains(csReading) || !AutoSize()) return;
  TWindowDC screen;
  HDC dc = screen.Handle();
  TRect r = Rect(0, 0, 32000, 0);
  AnsiString text = Caption();
  if (text.empty()) text = " ";
  DrawControlText(dc, text, r, DT_CALCRECT | DT_SINGLELINE | (FShowAccelChar ? 0 : DT_NOPREFIX), Font(), true);
  int extra = FBorderStyle == sbsNone ? 0 : 4;
  SetBounds(Left(), Top(), r.Width() + extra, r.Height() + extra);
}

void TCustomStaticText::SetAutoSize(bool Value) {
  if (AutoSize() == Value) return;
  TControl::SetAutoSize(Value);
  AdjustBounds();
}

void TCustomStaticText::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomStaticText::SetBorderStyle(TStaticBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  if (HandleAllocated()) RecreateWnd();
  AdjustBounds();
}

void TCustomStaticText::SetShowAccelChar(bool Value) {
  if (FShowAccelChar == Value) return;
  FShowAccelChar = Value;
  if (HandleAllocated()) RecreateWnd();
  AdjustBounds();
}

void TCustomStaticText::SetFocusControl(TWinControl* Value) {
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TCustomStaticText::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomStaticText::Loaded() {
  inherited::Loaded();
  AdjustBounds();
}

void TCustomStaticText::CMTextChanged(TMessage& Message) {
  InheritedMessage(TCustomStaticText::StaticClass(), &Message);
  AdjustBounds();
  Invalidate();
}

void TCustomStaticText::CMFontChanged(TMessage& Message) {
  InheritedMessage(TCustomStaticText::StaticClass(), &Message);
  AdjustBounds();
}

DK_MESSAGE_UNIT(TCustomStaticText);
DK_MESSAGE_HANDLER(TCustomStaticText, CM_TEXTCHANGED, CMTextChanged);
DK_MESSAGE_HANDLER(TCustomStaticText, CM_FONTCHANGED, CMFontChanged);

DK_PUBLISH(TCustomStaticText) {
  P.Property("Alignment", &TCustomStaticText::Alignment, &TCustomStaticText::SetAlignment).Default(taLeftJustify);
  P.Property("AutoSize", &TCustomStaticText::AutoSize, &TCustomStaticText::SetAutoSize).Default(true);
  P.Property("BorderStyle", &TCustomStaticText::BorderStyle, &TCustomStaticText::SetBorderStyle).Default(sbsNone);
  P.Property("FocusControl", &TCustomStaticText::FocusControl, &TCustomStaticText::SetFocusControl);
  P.Property("ShowAccelChar", &TCustomStaticText::ShowAccelChar, &TCustomStaticText::SetShowAccelChar)
      .Default(true);
}
DK_PUBLISH(TStaticText) {}
