// The standard controls: labels, edits, memos, combo and list boxes, buttons,
// check boxes, radio buttons, group boxes and static texts.
//
// The window controls are built on the system's classes under their own class
// names (a TButton's window class is "TButton", a copy of "BUTTON"). What a
// window holds (text, lines, items, the selection, the check state) is kept by
// the object too, so that it survives RecreateWnd and exists before the
// window does.
#pragma once

#include <vector>

#include "classlib/ui/Controls.h"
#include "classlib/ui/Forms.h"
#include "classlib/ui/Menus.h"

DK_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter);
using TLeftRight = TAlignment;
DK_ENUM(TTextLayout, tlTop, tlCenter, tlBottom);
DK_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth);
DK_ENUM(TEditCharCase, ecNormal, ecUpperCase, ecLowerCase);
DK_ENUM(TComboBoxStyle, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable);
DK_ENUM(TListBoxStyle, lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw);
DK_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed);
DK_ENUM(TStaticBorderStyle, sbsNone, sbsSingle, sbsSunken);

// ------------------------------------------------------------------ labels

class TCustomLabel : public TGraphicControl {
  DK_CLASS(TCustomLabel, TGraphicControl)
  DK_MESSAGES(TCustomLabel)
 public:
  explicit TCustomLabel(TComponent* AOwner);
  void Construct() override;

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool Transparent() const { return !FControlStyle.Contains(csOpaque); }
  void SetTransparent(bool Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  void SetAutoSize(bool Value) override;
  // Recomputes the size from the text when AutoSize is set.
  void AdjustBounds();

 protected:
  void Paint() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Draws (or with DT_CALCRECT measures) the caption into Rect.
  virtual void DoDrawText(TRect& Rect, UINT Flags);
  UINT TextFlags() const;
 public:  // message handlers
  void CMTextChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMDialogChar(TWMKey& Message);
 protected:

 private:
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
  DK_CLASS(TLabel, TCustomLabel)
 public:
  using TCustomLabel::TCustomLabel;
};

// ------------------------------------------------------------------- edits

class TCustomEdit : public TWinControl {
  DK_CLASS(TCustomEdit, TWinControl)
  DK_MESSAGES(TCustomEdit)
 public:
  explicit TCustomEdit(TComponent* AOwner);
  void Construct() override;

  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  Integer MaxLength() const { return FMaxLength; }
  void SetMaxLength(Integer Value);
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  char PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char Value);
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  bool Modified();
  void SetModified(bool Value);
  Integer SelStart();
  void SetSelStart(Integer Value);
  Integer SelLength();
  void SetSelLength(Integer Value);
  AnsiString SelText();
  void SelectAll();
  void Clear() { SetText(""); }

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  virtual void Change();
 public:  // message handlers
  void CNCommand(TWMCommand& Message);
  void CMTextChanged(TMessage& Message);
  void CMEnter(TMessage& Message);
 protected:

 private:
  bool FReadOnly = false;
  Integer FMaxLength = 0;
  TEditCharCase FCharCase = ecNormal;
  char FPasswordChar = '\0';
  bool FAutoSelect = true;
  TFormBorderStyle FBorderStyle = bsSingle;
  bool FModified = false;
  bool FCreating = false;
};

class TEdit : public TCustomEdit {
  DK_CLASS(TEdit, TCustomEdit)
 public:
  using TCustomEdit::TCustomEdit;
};

class TCustomMemo;

// The lines of a memo: the logical lines of its text (split at line breaks).
class TMemoStrings : public TStrings {
  DK_CLASS(TMemoStrings, TStrings)
 public:
  explicit TMemoStrings(TCustomMemo* Memo) : FMemo(Memo) {}
  AnsiString Get(int Index) const override;
  void Put(int Index, const AnsiString& S) override;
  int GetCount() const override;
  void Insert(int Index, const AnsiString& S) override;
  void Delete(int Index) override;
  void Clear() override;
  AnsiString Text() const override;
  void SetText(const AnsiString& Value) override;

 protected:
  void SetUpdateState(bool Updating) override;

 private:
  std::vector<AnsiString> Lines() const;
  void Store(const std::vector<AnsiString>& Lines);
  TCustomMemo* FMemo;
};

class TCustomMemo : public TCustomEdit {
  DK_CLASS(TCustomMemo, TCustomEdit)
 public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;
  void Construct() override;

  TStrings* Lines() const { return FLines.get(); }
  void SetLines(TStrings* Value) { FLines->Assign(Value); }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value) { FWantReturns = Value; }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  bool WantsKey(Word Key) override;

 private:
  std::unique_ptr<TMemoStrings> FLines;
  TAlignment FAlignment = taLeftJustify;
  TScrollStyle FScrollBars = ssNone;
  bool FWordWrap = true;
  bool FWantReturns = true;
  bool FWantTabs = false;
};

class TMemo : public TCustomMemo {
  DK_CLASS(TMemo, TCustomMemo)
 public:
  using TCustomMemo::TCustomMemo;
};

// ------------------------------------------------------------ item lists

// The items of a combo or list box. The list itself is kept here; a window,
// when there is one, gets every change at once.
class TItemStrings : public TStrings {
  DK_CLASS(TItemStrings, TStrings)
 public:
  struct Messages {
    UINT Add, Insert, Delete, Reset, SetData;
    LRESULT ErrSpace;  // CB_ERRSPACE / LB_ERRSPACE
  };
  TItemStrings(TWinControl* Control, const Messages& Msgs) : FControl(Control), FMsgs(Msgs) {}
  AnsiString Get(int Index) const override;
  void Put(int Index, const AnsiString& S) override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;
  int GetCount() const override { return static_cast<int>(FItems.size()); }
  void Insert(int Index, const AnsiString& S) override;
  int Add(const AnsiString& S) override;
  void Delete(int Index) override;
  void Clear() override;
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  // Fills a new window with the items.
  void FillWindow(HWND Wnd) const;

 protected:
  void SetUpdateState(bool Updating) override;

 private:
  void CheckIndex(int Index) const;
  void WindowInsert(int Index, const AnsiString& S);
  struct Item {
    AnsiString S;
    TObject* Obj;
  };
  TWinControl* FControl;
  Messages FMsgs;
  std::vector<Item> FItems;
  bool FSorted = false;
};

class TCustomComboBox : public TWinControl {
  DK_CLASS(TCustomComboBox, TWinControl)
  DK_MESSAGES(TCustomComboBox)
 public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;
  void Construct() override;

  TStrings* Items() const { return FItems.get(); }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  Integer ItemIndex();
  void SetItemIndex(Integer Value);
  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle Value);
  bool Sorted() const { return FItems->Sorted(); }
  void SetSorted(bool Value);
  Integer DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(Integer Value);
  Integer MaxLength() const { return FMaxLength; }
  void SetMaxLength(Integer Value);
  Integer ItemHeight() const { return FItemHeight; }
  void SetItemHeight(Integer Value) { FItemHeight = Value; }
  bool DroppedDown();
  void SetDroppedDown(bool Value);
  AnsiString GetText() override;
  void SetText(const AnsiString& Value) override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void Clear();

  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Loaded() override;
  bool WantsKey(Word Key) override;
  virtual void Change();
  virtual void Select();
  virtual void DropDown();
  virtual void CloseUp();
 public:  // message handlers
  void CNCommand(TWMCommand& Message);
 protected:
  int ListHeight() const;

 private:
  std::unique_ptr<TItemStrings> FItems;
  Integer FItemIndex = -1;
  TComboBoxStyle FStyle = csDropDown;
  Integer FDropDownCount = 8;
  Integer FMaxLength = 0;
  Integer FItemHeight = 16;
};

class TComboBox : public TCustomComboBox {
  DK_CLASS(TComboBox, TCustomComboBox)
 public:
  using TCustomComboBox::TCustomComboBox;
};

// An owner-drawn item to draw into Rect of the list's canvas.
using TDrawItemEvent = TClosure<void(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State)>;
// The height of an item of a list of variable item heights.
using TMeasureItemEvent = TClosure<void(TWinControl* Control, int Index, int& Height)>;

class TCustomListBox : public TWinControl {
  DK_CLASS(TCustomListBox, TWinControl)
  DK_MESSAGES(TCustomListBox)
 public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;
  void Construct() override;

  TStrings* Items() const { return FItems.get(); }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  Integer ItemIndex();
  void SetItemIndex(Integer Value);
  bool Sorted() const { return FItems->Sorted(); }
  void SetSorted(bool Value);
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value);
  bool Selected(int Index);
  void SetSelected(int Index, bool Value);
  Integer SelCount();
  Integer TopIndex();
  void SetTopIndex(Integer Value);
  Integer ItemHeight() const { return FItemHeight; }
  // Owner-drawn lists of fixed height take it at once.
  void SetItemHeight(Integer Value);
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  bool IntegralHeight() const { return FIntegralHeight; }
  void SetIntegralHeight(bool Value);
  // lbStandard: the system draws the items; the owner-draw styles: DrawItem.
  // The virtual styles keep their items here as the others do.
  TListBoxStyle Style() const { return FStyle; }
  void SetStyle(TListBoxStyle Value);
  // Items laid out in this many columns (0: one column, scrolled vertically).
  Integer Columns() const { return FColumns; }
  void SetColumns(Integer Value);
  // The canvas items are drawn on (the item's device context while DrawItem runs).
  TCanvas* Canvas() const { return FCanvas.get(); }
  // The rectangle of the item in client coordinates; empty for an index
  // outside the items or without a window.
  TRect ItemRect(Integer Index);
  Integer ItemAtPos(const TPoint& Pos, bool Existing);
  void Clear() { FItems->Clear(); }

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Loaded() override;
  // Draws one item: OnDrawItem when assigned, else its text in the list's
  // colours (the highlight ones when selected) with a focus rectangle.
  virtual void DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State);
  // The height of an item of a variable-height list (OnMeasureItem).
  virtual void MeasureItem(Integer Index, Integer& Height);
 public:  // message handlers
  void CNCommand(TWMCommand& Message);
  void CNDrawItem(TWMDrawItem& Message);
  void CNMeasureItem(TWMMeasureItem& Message);
 protected:

 private:
  void ApplyColumns();
  std::unique_ptr<TControlCanvas> FCanvas;
  TListBoxStyle FStyle = lbStandard;
  Integer FColumns = 0;
  std::unique_ptr<TItemStrings> FItems;
  Integer FItemIndex = -1;
  std::vector<Integer> FSavedSelection;
  Integer FTopIndex = 0;
  bool FMultiSelect = false;
  Integer FItemHeight = 13;
  TFormBorderStyle FBorderStyle = bsSingle;
  bool FIntegralHeight = false;
};

class TListBox : public TCustomListBox {
  DK_CLASS(TListBox, TCustomListBox)
 public:
  using TCustomListBox::TCustomListBox;
};

// ----------------------------------------------------------------- buttons

class TButtonControl : public TWinControl {
  DK_CLASS(TButtonControl, TWinControl)
 public:
  explicit TButtonControl(TComponent* AOwner);
  void Construct() override;
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  // The check state of check boxes and radio buttons.
  virtual bool GetChecked() { return false; }
  virtual void SetChecked(bool Value) {}
  bool FClicksDisabled = false;

 private:
  bool FWordWrap = false;
};

class TButton : public TButtonControl {
  DK_CLASS(TButton, TButtonControl)
  DK_MESSAGES(TButton)
 public:
  explicit TButton(TComponent* AOwner);
  void Construct() override;

  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  // Sets the form's ModalResult, then runs OnClick.
  void Click() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
 public:  // message handlers
  void CNCommand(TWMCommand& Message);
  void CMDialogKey(TWMKey& Message);
  void CMFocusChanged(TCMFocusChanged& Message);
 protected:
  // Shows itself as the default button (the focused button is the default one).
  virtual void SetButtonStyle(bool ADefault);
  bool FActive = false;

 private:
  bool FDefault = false;
  bool FCancel = false;
  TModalResult FModalResult = 0;
};

class TCustomCheckBox : public TButtonControl {
  DK_CLASS(TCustomCheckBox, TButtonControl)
  DK_MESSAGES(TCustomCheckBox)
 public:
  explicit TCustomCheckBox(TComponent* AOwner);
  void Construct() override;

  TCheckBoxState State();
  void SetState(TCheckBoxState Value);
  bool Checked() { return State() == cbChecked; }
  void SetCheckedProp(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
  TLeftRight Alignment() const { return FAlignment; }
  void SetAlignment(TLeftRight Value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  bool GetChecked() override { return Checked(); }
  void SetChecked(bool Value) override { SetCheckedProp(Value); }
  virtual void Toggle();
 public:  // message handlers
  void CNCommand(TWMCommand& Message);
 protected:

 private:
  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
  TLeftRight FAlignment = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
  DK_CLASS(TCheckBox, TCustomCheckBox)
 public:
  using TCustomCheckBox::TCustomCheckBox;
};

class TRadioButton : public TButtonControl {
  DK_CLASS(TRadioButton, TButtonControl)
  DK_MESSAGES(TRadioButton)
 public:
  explicit TRadioButton(TComponent* AOwner);
  void Construct() override;

  bool Checked() const { return FChecked; }
  void SetCheckedProp(bool Value) { SetChecked(Value); }
  TLeftRight Alignment() const { return FAlignment; }
  void SetAlignment(TLeftRight Value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  bool GetChecked() override { return FChecked; }
  // Checking one radio button unchecks the others of the same parent.
  void SetChecked(bool Value) override;
 public:  // message handlers
  void CNCommand(TWMCommand& Message);
 protected:

 private:
  bool FChecked = false;
  TLeftRight FAlignment = taRightJustify;
};

// --------------------------------------------------------------- containers

class TCustomGroupBox : public TCustomControl {
  DK_CLASS(TCustomGroupBox, TCustomControl)
  DK_MESSAGES(TCustomGroupBox)
 public:
  explicit TCustomGroupBox(TComponent* AOwner);
  void Construct() override;
  void AdjustClientRect(TRect& Rect) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
 public:  // message handlers
  void CMTextChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
 protected:
};

class TGroupBox : public TCustomGroupBox {
  DK_CLASS(TGroupBox, TCustomGroupBox)
 public:
  using TCustomGroupBox::TCustomGroupBox;
};

class TCustomStaticText : public TWinControl {
  DK_CLASS(TCustomStaticText, TWinControl)
  DK_MESSAGES(TCustomStaticText)
 public:
  explicit TCustomStaticText(TComponent* AOwner);
  void Construct() override;

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TStaticBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TStaticBorderStyle Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  void SetAutoSize(bool Value) override;
  void AdjustBounds();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
 public:  // message handlers
  void CMTextChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
 protected:

 private:
  TAlignment FAlignment = taLeftJustify;
  TStaticBorderStyle FBorderStyle = sbsNone;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
};

class TStaticText : public TCustomStaticText {
  DK_CLASS(TStaticText, TCustomStaticText)
 public:
  using TCustomStaticText::TCustomStaticText;
};

// Draws Text into R of DC the way labels do (DT_* flags), with the control's
// font and, for a disabled control, in the disabled look.
void DrawControlText(HDC DC, const AnsiString& Text, TRect& R, UINT Flags, TFont* Font, bool Enabled);

DK_LINK_UNIT(StdCtrls)
