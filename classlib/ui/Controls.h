// Controls: the base of every visual component.
//
// TControl        position, size, alignment, visibility, text, colour, font,
//                 mouse events; painted by its parent when it has no window
// TWinControl     a control with a window of its own, created on demand
//                 (HandleNeeded); holds child controls, which it frees when
//                 it goes (whoever owns them)
// TGraphicControl a control without a window, painted by its parent
// TCustomControl  a window control that paints itself on a canvas
//
// Messages
// --------
// Every message of a control's window goes
//   window -> per-object thunk -> MainWndProc -> WindowProc -> WndProc -> Dispatch
//   -> the handler registered for its number (DK_MESSAGE_HANDLER) -> DefaultHandler
// WindowProc is a replaceable method (TWndMethod): whoever replaces it keeps the
// old value and calls it for what it does not handle itself. DefaultHandler
// hands the message to the original window procedure of the window's class
// (CallWindowProcW), so a control built on a system class ("BUTTON", "EDIT" ...)
// behaves as that class. Perform() runs WindowProc directly, without the window.
// The window classes carry the class names of the controls ("TButton",
// "TForm1" ...); a control built on a system class registers a copy of that
// class under its own name (CreateSubClass in CreateParams).
//
// Notifications the parent window receives for a child (WM_COMMAND, WM_NOTIFY,
// WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*, WM_HSCROLL, WM_VSCROLL ...) are
// performed on the child control as CN_BASE + message. Key messages: before a
// key message is dispatched, the message loop sends CN_KEYDOWN/CN_CHAR/... to the
// focused control; it asks its form (CM_DIALOGKEY) about navigation keys. A key
// message that reaches the control goes to its form first when the form's
// KeyPreview is set (DoKeyDown, DoKeyPress, DoKeyUp).
//
// Keeping the window's content across RecreateWnd: DestroyWnd of a control
// saves what its window holds (TWinControl saves the text; a list saves its
// items and selection) and CreateWnd puts it back into the new window.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "classlib/core/Classes.h"
#include "classlib/core/SysUtils.h"
#include "classlib/core/TypInfo.h"
#include "classlib/core/Types.h"
#include "classlib/ui/Graphics.h"
#include "classlib/ui/WinApi.h"

// --------------------------------------------------------------- messages

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_GOTFOCUS = CM_BASE + 2;
constexpr UINT CM_LOSTFOCUS = CM_BASE + 3;
constexpr UINT CM_CANCELMODE = CM_BASE + 4;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_HITTEST = CM_BASE + 10;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_CTL3DCHANGED = CM_BASE + 16;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_ENTER = CM_BASE + 26;
constexpr UINT CM_EXIT = CM_BASE + 27;
constexpr UINT CM_RELEASE = CM_BASE + 33;
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr UINT CM_UIACTIVATE = CM_BASE + 41;
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
constexpr UINT CM_CHILDKEY = CM_BASE + 46;
constexpr UINT CM_RECREATEWND = CM_BASE + 51;
constexpr UINT CM_INVALIDATE = CM_BASE + 52;
constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;
constexpr UINT CM_CHANGED = CM_BASE + 55;
constexpr UINT CM_UNDOCKCLIENT = CM_BASE + 57;
constexpr UINT CM_FLOAT = CM_BASE + 58;
constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 60;
constexpr UINT CM_ACTIONUPDATE = CM_BASE + 63;
constexpr UINT CM_MOUSEWHEEL = CM_BASE + 67;
// After RecreateWnd, when the control's window has been made again (at once
// while it shows, else when it is next needed): WParam the old window, gone;
// LParam the new one. For whoever subclassed the old window and follows the
// control to its new one.
constexpr UINT CM_WNDRECREATED = CM_BASE + 112;

// Reflected notifications: the parent's message number + CN_BASE, performed on the child.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_DELETEITEM = CN_BASE + WM_DELETEITEM;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_PARENTNOTIFY = CN_BASE + WM_PARENTNOTIFY;
constexpr UINT CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;

// A message as the window procedure receives it, with its result. The message
// number comes first (Dispatch reads it there).
struct TMessage {
  Cardinal Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
  Word WParamLo() const { return LOWORD(WParam); }
  Word WParamHi() const { return HIWORD(WParam); }
  Word LParamLo() const { return LOWORD(LParam); }
  Word LParamHi() const { return HIWORD(LParam); }
};

// Typed views of the same layout, each for the messages it lists (and their
// reflected CN_ numbers): a handler takes the one that fits (void
// WMSize(TWMSize& Msg)), and one registered for a message its record does not
// view does not compile. MessageAs gives the view of a message at run time,
// checked.
template <Cardinal... Ids>
struct TMessageOf : TMessage {
  static constexpr bool Fits(Cardinal Id) { return ((Id == Ids || Id == CN_BASE + Ids) || ...); }
};

template <class R>
R& MessageAs(TMessage& Message) {
  if (!R::Fits(Message.Msg)) throw EInvalidCast("Message " + IntToStr(static_cast<int>(Message.Msg)) +
                                                       " has no such record");
  return static_cast<R&>(Message);
}

// Keys (CharCode: the virtual key or the character).
struct TWMKey : TMessageOf<WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR, CM_DIALOGKEY,
                           CM_DIALOGCHAR, CM_CHILDKEY> {
  Word CharCode() const { return static_cast<Word>(WParam); }
  void SetCharCode(Word Value) { WParam = Value; }
  Integer KeyData() const { return static_cast<Integer>(LParam); }
};
// Mouse buttons and moves in the client area (client coordinates in LParam).
struct TWMMouse : TMessageOf<WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
                             WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK,
                             WM_XBUTTONDOWN, WM_XBUTTONUP, WM_XBUTTONDBLCLK> {
  Integer Keys() const { return static_cast<Integer>(WParam); }
  SmallInt XPos() const { return static_cast<SmallInt>(LOWORD(LParam)); }
  SmallInt YPos() const { return static_cast<SmallInt>(HIWORD(LParam)); }
  TPoint Pos() const { return {XPos(), YPos()}; }
};
// WM_PAINT: WParam a device context to paint into (0: the window's own paint).
struct TWMPaint : TMessageOf<WM_PAINT> {
  HDC DC() const { return reinterpret_cast<HDC>(WParam); }
};
struct TWMEraseBkgnd : TMessageOf<WM_ERASEBKGND> {
  HDC DC() const { return reinterpret_cast<HDC>(WParam); }
};
struct TWMCommand : TMessageOf<WM_COMMAND> {
  Word ItemID() const { return LOWORD(WParam); }
  Word NotifyCode() const { return HIWORD(WParam); }
  HWND Ctl() const { return reinterpret_cast<HWND>(LParam); }
};
struct TWMNotify : TMessageOf<WM_NOTIFY> {
  NMHDR* NMHdr() const { return reinterpret_cast<NMHDR*>(LParam); }
};
struct TWMDrawItem : TMessageOf<WM_DRAWITEM> {
  DRAWITEMSTRUCT* DrawItemStruct() const { return reinterpret_cast<DRAWITEMSTRUCT*>(LParam); }
};
struct TWMMeasureItem : TMessageOf<WM_MEASUREITEM> {
  MEASUREITEMSTRUCT* MeasureItemStruct() const { return reinterpret_cast<MEASUREITEMSTRUCT*>(LParam); }
};
struct TWMCompareItem : TMessageOf<WM_COMPAREITEM> {
  COMPAREITEMSTRUCT* CompareItemStruct() const { return reinterpret_cast<COMPAREITEMSTRUCT*>(LParam); }
};
struct TWMDeleteItem : TMessageOf<WM_DELETEITEM> {
  DELETEITEMSTRUCT* DeleteItemStruct() const { return reinterpret_cast<DELETEITEMSTRUCT*>(LParam); }
};
struct TWMCtlColor : TMessageOf<WM_CTLCOLORMSGBOX, WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX, WM_CTLCOLORBTN,
                                WM_CTLCOLORDLG, WM_CTLCOLORSCROLLBAR, WM_CTLCOLORSTATIC> {
  HDC ChildDC() const { return reinterpret_cast<HDC>(WParam); }
  HWND ChildWnd() const { return reinterpret_cast<HWND>(LParam); }
};
struct TWMSize : TMessageOf<WM_SIZE> {
  Integer SizeType() const { return static_cast<Integer>(WParam); }
  Word Width() const { return LOWORD(LParam); }
  Word Height() const { return HIWORD(LParam); }
};
struct TWMScroll : TMessageOf<WM_HSCROLL, WM_VSCROLL> {
  SmallInt ScrollCode() const { return static_cast<SmallInt>(LOWORD(WParam)); }
  SmallInt Pos() const { return static_cast<SmallInt>(HIWORD(WParam)); }
  HWND ScrollBar() const { return reinterpret_cast<HWND>(LParam); }
};
struct TWMSetFocus : TMessageOf<WM_SETFOCUS> {
  HWND FocusedWnd() const { return reinterpret_cast<HWND>(WParam); }
};
struct TWMKillFocus : TMessageOf<WM_KILLFOCUS> {
  HWND FocusedWnd() const { return reinterpret_cast<HWND>(WParam); }
};
struct TWMActivate : TMessageOf<WM_ACTIVATE> {
  Word Active() const { return LOWORD(WParam); }
  bool Minimized() const { return HIWORD(WParam) != 0; }
  HWND ActiveWindow() const { return reinterpret_cast<HWND>(LParam); }
};
struct TWMSetCursor : TMessageOf<WM_SETCURSOR> {
  HWND CursorWnd() const { return reinterpret_cast<HWND>(WParam); }
  SmallInt HitTest() const { return static_cast<SmallInt>(LOWORD(LParam)); }
  Word MouseMsg() const { return HIWORD(LParam); }
};
struct TWMNCDestroy : TMessageOf<WM_NCDESTROY> {};

// The non-client area, printing and window placement.

// WM_NCCALCSIZE: with CalcValidRects, LParam points at an NCCALCSIZE_PARAMS
// (rgrc[0] the new window rectangle, to become the client rectangle);
// without, at a RECT.
struct TWMNCCalcSize : TMessageOf<WM_NCCALCSIZE> {
  bool CalcValidRects() const { return WParam != 0; }
  NCCALCSIZE_PARAMS* CalcSizeParams() const { return reinterpret_cast<NCCALCSIZE_PARAMS*>(LParam); }
  RECT* Rect() const { return reinterpret_cast<RECT*>(LParam); }
};
// WM_NCPAINT: the update region (1: the whole frame).
struct TWMNCPaint : TMessageOf<WM_NCPAINT> {
  HRGN Rgn() const { return reinterpret_cast<HRGN>(WParam); }
};
struct TWMNCActivate : TMessageOf<WM_NCACTIVATE> {
  bool Active() const { return WParam != 0; }
};
// WM_NCHITTEST: the point in screen coordinates; the answer is a hit code.
struct TWMNCHitTest : TMessageOf<WM_NCHITTEST> {
  SmallInt XPos() const { return static_cast<SmallInt>(LOWORD(LParam)); }
  SmallInt YPos() const { return static_cast<SmallInt>(HIWORD(LParam)); }
  TPoint Pos() const { return {XPos(), YPos()}; }
};
// Mouse messages of the non-client area: the hit code where they happened and
// the point in screen coordinates.
struct TWMNCHitMessage
    : TMessageOf<WM_NCMOUSEMOVE, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_NCLBUTTONDBLCLK, WM_NCRBUTTONDOWN,
                 WM_NCRBUTTONUP, WM_NCRBUTTONDBLCLK, WM_NCMBUTTONDOWN, WM_NCMBUTTONUP, WM_NCMBUTTONDBLCLK> {
  Integer HitTest() const { return static_cast<Integer>(WParam); }
  SmallInt XCursor() const { return static_cast<SmallInt>(LOWORD(LParam)); }
  SmallInt YCursor() const { return static_cast<SmallInt>(HIWORD(LParam)); }
  TPoint Pos() const { return {XCursor(), YCursor()}; }
};
using TWMNCMouseMove = TWMNCHitMessage;
using TWMNCLButtonDown = TWMNCHitMessage;
using TWMNCLButtonUp = TWMNCHitMessage;
using TWMNCLButtonDblClk = TWMNCHitMessage;
// WM_PRINT and WM_PRINTCLIENT: the device context to paint into and what to
// paint (PRF_* flags).
struct TWMPrint : TMessageOf<WM_PRINT, WM_PRINTCLIENT> {
  HDC DC() const { return reinterpret_cast<HDC>(WParam); }
  DWORD Flags() const { return static_cast<DWORD>(LParam); }
};
using TWMPrintClient = TWMPrint;
// WM_WINDOWPOSCHANGING / WM_WINDOWPOSCHANGED: the window's new place.
struct TWMWindowPosMsg : TMessageOf<WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED> {
  WINDOWPOS* WindowPos() const { return reinterpret_cast<WINDOWPOS*>(LParam); }
};
using TWMWindowPosChanging = TWMWindowPosMsg;
using TWMWindowPosChanged = TWMWindowPosMsg;
struct TWMSetRedraw : TMessageOf<WM_SETREDRAW> {
  bool Redraw() const { return WParam != 0; }
};

// CM_FOCUSCHANGED: LParam is the control that now has the focus.
struct TCMFocusChanged : TMessageOf<CM_FOCUSCHANGED> {
  class TWinControl* Sender() const { return reinterpret_cast<class TWinControl*>(LParam); }
};
// CM_MOUSEENTER / CM_MOUSELEAVE: the control under the mouse gets LParam 0 (from
// the application's idle step); each parent then gets it with LParam = its
// child the message came from.
struct TCMMouseEnterLeave : TMessageOf<CM_MOUSEENTER, CM_MOUSELEAVE> {};

using TWndMethod = TClosure<void(TMessage& Message)>;

// ------------------------------------------------------------- enumerations

DK_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom);
DK_ENUM(TBiDiMode, bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly);
using TAlignSet = TSet<TAlign>;
DK_ENUM(TAnchorKind, akLeft, akTop, akRight, akBottom);
using TAnchors = TSet<TAnchorKind>;
DK_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin);
using TBorderStyle = TFormBorderStyle;  // controls use bsNone and bsSingle
DK_ENUM(TMouseButton, mbLeft, mbRight, mbMiddle);
DK_ENUM(TShiftStateE, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble);
using TShiftState = TSet<TShiftStateE>;

DK_ENUM(TControlStyleE, csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed,
        csSetCaption, csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible,
        csReplicatable, csNoStdEvents, csDisplayDragImage, csReflector, csActionClient, csMenuEvents,
        csNeedsBorderPaint, csParentBackground);
using TControlStyle = TSet<TControlStyleE>;
DK_ENUM(TControlStateE, csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing,
        csCreating, csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking);
using TControlState = TSet<TControlStateE>;

using TCursor = SmallInt;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
                  crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22;
PTypeInfo TypeInfoTCursor();

// Virtual key codes of the class library (the platform's VK_* numbers).
using TShortCut = Word;

// CM_MOUSEWHEEL (and WM_MOUSEWHEEL): the keys and the signed turn in WParam,
// the mouse's screen position in LParam.
struct TCMMouseWheel : TMessageOf<CM_MOUSEWHEEL, WM_MOUSEWHEEL> {
  Word Keys() const { return LOWORD(WParam); }
  SmallInt WheelDelta() const { return static_cast<SmallInt>(HIWORD(WParam)); }
  TPoint Pos() const { return {static_cast<SmallInt>(LOWORD(LParam)), static_cast<SmallInt>(HIWORD(LParam))}; }
};

// Shift state of a key or mouse message.
TShiftState KeysToShiftState(Word Keys);
TShiftState KeyDataToShiftState(Integer KeyData);

// -------------------------------------------------------------------- events

using TMouseEvent = TClosure<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TClosure<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent =
    TClosure<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TKeyEvent = TClosure<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = TClosure<void(TObject* Sender, char& Key)>;

// ------------------------------------------------------------- create params

// What CreateWnd hands to CreateWindowEx; CreateParams fills it.
struct TCreateParams {
  AnsiString Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASSW WindowClass{};
  wchar_t WinClassName[64] = {};
};

class TControl;
class TWinControl;
class TCustomForm;
class TWndSubclass;
class TPaintBuffer;  // PaintScope.h
class TBasicAction;      // ActnList.h
class TBasicActionLink;  // ActnList.h
class TDockTree;

// What the system locale says of reading order: MiddleEast is true on a
// system with right-to-left languages (SM_MIDEASTENABLED, read at start-up;
// tests may set it).
struct TSysLocale {
  bool MiddleEast = false;
};
extern TSysLocale SysLocale;

// Limits of a control's size (0: no limit).
class TSizeConstraints : public TPersistent {
  DK_CLASS(TSizeConstraints, TPersistent)
 public:
  explicit TSizeConstraints(TControl* Control = nullptr) : FControl(Control) {}
  void Assign(TPersistent* Source) override;
  Integer MaxHeight() const { return FMaxHeight; }
  Integer MaxWidth() const { return FMaxWidth; }
  Integer MinHeight() const { return FMinHeight; }
  Integer MinWidth() const { return FMinWidth; }
  void SetMaxHeight(Integer Value);
  void SetMaxWidth(Integer Value);
  void SetMinHeight(Integer Value);
  void SetMinWidth(Integer Value);
  // The size within the limits.
  void Constrain(Integer& Width, Integer& Height) const;
  TNotifyEvent OnChange;

 private:
  void Changed();
  TControl* FControl;
  Integer FMaxHeight = 0, FMaxWidth = 0, FMinHeight = 0, FMinWidth = 0;
};
class TPopupMenu;  // Menus.h

// The canvas of a control: a device context of the control's window (or of
// its parent's, moved to the control, for a control without a window).
class TControlCanvas : public TCanvas {
  DK_CLASS(TControlCanvas, TCanvas)
 public:
  TControlCanvas() = default;
  ~TControlCanvas() override;
  TControl* Control() const { return FControl; }
  void SetControl(TControl* Value);
  // Releases the device context it took (the next drawing takes a new one).
  void FreeHandle();

 protected:
  void CreateHandle() override;

 private:
  TControl* FControl = nullptr;
  HDC FDeviceContext = nullptr;
  HWND FWindowHandle = nullptr;
};

// ------------------------------------------------------------------ TControl

class TControl : public TComponent {
  DK_CLASS(TControl, TComponent)
  DK_MESSAGES(TControl)
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;
  void Construct() override;
  void BeforeDestruction() override;

  // Parent (the window control that holds it; nullptr: none).
  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

  // Bounds in the parent's client coordinates.
  Integer Left() const { return FLeft; }
  Integer Top() const { return FTop; }
  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  void SetLeft(Integer Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  void SetTop(Integer Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  void SetWidth(Integer Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  void SetHeight(Integer Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  virtual void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  virtual TRect GetClientRect();
  TRect ClientRect() { return GetClientRect(); }
  Integer ClientWidth() { return GetClientRect().Width(); }
  Integer ClientHeight() { return GetClientRect().Height(); }
  void SetClientWidth(Integer Value);
  void SetClientHeight(Integer Value);
  virtual void SetClientSize(TPoint Value);
  // Screen position of the client area's top left corner.
  virtual TPoint ClientOrigin();
  TPoint ClientToScreen(const TPoint& P);
  TPoint ScreenToClient(const TPoint& P);

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value);
  TSizeConstraints* Constraints() const { return FConstraints.get(); }
  void SetConstraints(TSizeConstraints* Value) { FConstraints->Assign(Value); }
  bool AutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(bool Value);

  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool Value);
  void Show();
  void Hide();
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);
  // Reading order; a change is announced with CM_BIDIMODECHANGED.
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode Value);
  // Right-to-left alignment and reading apply only on a system with
  // right-to-left languages (SM_MIDEASTENABLED).
  bool UseRightToLeftAlignment() const;
  bool UseRightToLeftReading() const;
  // DrawText flags for the reading order: DT_LEFT and DT_RIGHT swapped for
  // right-to-left alignment, DT_RTLREADING added for right-to-left reading.
  UINT DrawTextBiDiModeFlags(UINT Flags) const;
  // Visible here and in every parent up to a window that is shown.
  virtual bool Showing() const;

  // Caption and Text are the same text (the window's text for a window control).
  AnsiString Caption() { return GetText(); }
  void SetCaption(const AnsiString& Value) { SetText(Value); }
  AnsiString Text() { return GetText(); }
  virtual AnsiString GetText();
  virtual void SetText(const AnsiString& Value);

  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool ParentFont() const { return FParentFont; }
  bool IsColorStored() const { return !FParentColor; }
  bool IsFontStored() const { return !FParentFont; }
  void SetParentFont(bool Value);
  AnsiString Hint() const { return FHint; }
  void SetHint(const AnsiString& Value) { FHint = Value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  virtual void SetPopupMenu(TPopupMenu* Value);

  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
  TControlState ControlState() const { return FControlState; }
  void SetControlState(TControlState Value) { FControlState = Value; }
  bool MouseCapture();
  void SetMouseCapture(bool Value);

  // Messages.
  TWndMethod WindowProc;  // starts as WndProc
  virtual void WndProc(TMessage& Message);
  void DefaultHandler(void* Message) override;
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);

  // Painting.
  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();
  virtual void SetZOrder(bool TopMost);

  // The form holding the control (nullptr when none).
  TCustomForm* GetParentForm() const;
  void Loaded() override;

  // The action the control follows (nullptr: none). Setting one takes its
  // properties at once (ActionChange) and at every change of the action.
  TBasicAction* Action() const;
  void SetAction(TBasicAction* Value);
  TBasicActionLink* ActionLink() const { return FActionLink.get(); }

  // Docking: the dock site the control is docked in (nullptr: none).
  TWinControl* HostDockSite() const { return FHostDockSite; }
  // Docks the control into a dock site at Bounds (in the site's client
  // coordinates; nullptr: where it stands), undocking it from its old site
  // first; nullptr undocks it. False when NewDockSite is no dock site.
  bool ManualDock(TWinControl* NewDockSite, const TRect* Bounds = nullptr);

  // Events.
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnResize;
  // A turn of the wheel reaching this control (CM_MOUSEWHEEL); a handler that
  // sets Handled keeps it from the parent.
  TMouseWheelEvent OnMouseWheel;

  // The mouse wheel: WM_MOUSEWHEEL becomes CM_MOUSEWHEEL, offered to the
  // form's focused control first and then up through its parents.
  virtual void MouseWheelHandler(TMessage& Message);

  // Overridable actions behind the events.
  virtual void Click();
  virtual void DblClick();

 protected:
  friend class TWinControl;
  friend class TControlCanvas;
  friend class TCustomForm;
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void Resize();
  virtual void Changed();
  // With AutoSize: takes the size CanAutoSize gives.
  virtual void AdjustSize();
  // The size the control takes by itself; false when it has none (the default).
  virtual bool CanAutoSize(Integer& NewWidth, Integer& NewHeight);
  // The wheel turned by WheelDelta (120 a notch, negative towards the user)
  // with the mouse at MousePos (screen); true when handled (OnMouseWheel).
  virtual bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos);
  // Places the control after its bounds changed (moves the window).
  virtual void BoundsChanged() {}
  virtual void InvalidateControl(bool IsVisible, bool IsOpaque);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ReadState(TReader* Reader) override;
  virtual void FontChanged(TObject* Sender);
  virtual void ConstraintsChanged(TObject* Sender);
  // The action changed (Sender): the control takes its caption, enabled
  // state, hint and visibility; with CheckDefaults only where the control
  // still has its default value.
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  // Window text of a control without a window.
  AnsiString FText;
  TControlStyle FControlStyle;
  TControlState FControlState;

 public:  // message handlers (bound by number)
  void WMLButtonDown(TWMMouse& Message);
  void WMLButtonDblClk(TWMMouse& Message);
  void WMLButtonUp(TWMMouse& Message);
  void WMRButtonDown(TWMMouse& Message);
  void WMRButtonUp(TWMMouse& Message);
  void WMMButtonDown(TWMMouse& Message);
  void WMMButtonUp(TWMMouse& Message);
  void WMMouseMove(TWMMouse& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMVisibleChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMColorChanged(TMessage& Message);
  void CMMouseWheel(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMParentFontChanged(TMessage& Message);
  void CMParentColorChanged(TMessage& Message);
  void CMParentShowHintChanged(TMessage& Message);

 private:
  void DoMouseDown(TWMMouse& Message, TMouseButton Button, TShiftState Shift);
  void DoMouseUp(TWMMouse& Message, TMouseButton Button);

  TWinControl* FParent = nullptr;
  Integer FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  // Where the control stood within which client size of its parent when it
  // was last placed by hand: anchored edges keep their distances from this.
  TRect FAnchorBounds;
  TPoint FAnchorParentSize;
  bool FAnchorRulesValid = false;
  void UpdateAnchorRules();
  bool FAutoSize = false;
  bool FVisible = true;
  bool FEnabled = true;
  TBiDiMode FBiDiMode = bdLeftToRight;
  TColor FColor = clWindow;
  bool FParentColor = true;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TSizeConstraints> FConstraints;
  bool FParentFont = true;
  AnsiString FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TCursor FCursor = crDefault;
  TPopupMenu* FPopupMenu = nullptr;
  std::unique_ptr<TBasicActionLink> FActionLink;
  TWinControl* FHostDockSite = nullptr;
  friend class TControlActionLink;
};

// --------------------------------------------------------------- TWinControl

class TWinControl : public TControl {
  DK_CLASS(TWinControl, TControl)
  DK_MESSAGES(TWinControl)
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;
  void Construct() override;
  void BeforeDestruction() override;

  void SetParent(TWinControl* AParent) override;
  // The window, made when first asked for (the parents' windows first).
  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded();
  // The window of this control when it has one, without creating it.
  HWND WindowHandle() const { return FHandle; }
  // A window that is not a control (e.g. of another program) as the parent.
  HWND ParentWindow() const { return FParentWindow; }
  void SetParentWindow(HWND Value);
  // Destroys and makes the window again, keeping what it holds.
  void RecreateWnd();

  // Children.
  int ControlCount() const { return static_cast<int>(FControls.size()) + static_cast<int>(FWinControls.size()); }
  // Children in painting order: the controls without a window first, then the windows (each in z-order).
  TControl* Controls(int Index) const;
  const std::vector<TControl*>& GraphicControls() const { return FControls; }
  const std::vector<TWinControl*>& WinControls() const { return FWinControls; }
  virtual void InsertControl(TControl* AControl);
  virtual void RemoveControl(TControl* AControl);
  bool ContainsControl(TControl* Control) const;
  TControl* ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls = false);
  // Sends a message to every child (stops at the first one that sets the result).
  void Broadcast(TMessage& Message);
  void NotifyControls(UINT Msg);

  // Docking: a dock site holds docked clients (ManualDock) whose places its
  // dock manager keeps; the manager is made when the control becomes a dock
  // site, of the class DefaultDockTreeClass names.
  bool DockSite() const { return FDockSite; }
  void SetDockSite(bool Value);
  TDockTree* DockManager() const { return FDockManager.get(); }
  int DockClientCount() const { return static_cast<int>(FDockClients.size()); }
  TControl* DockClients(int Index) const { return FDockClients.at(static_cast<size_t>(Index)); }

  // Alignment of the children in the client area.
  void DisableAlign();
  void EnableAlign();
  void Realign();
  bool AlignDisabled() const { return FAlignLevel > 0; }
  virtual void AdjustClientRect(TRect& Rect);

  TRect GetClientRect() override;
  TPoint ClientOrigin() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  bool Showing() const override { return FShowing; }

  // Focus.
  virtual bool CanFocus();
  virtual bool Focused();
  virtual void SetFocus();
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value);
  int TabOrder() const;
  void SetTabOrder(int Value);
  // Children in tab order, recursively.
  void GetTabOrderList(std::vector<TWinControl*>& List);
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent);
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

  TBrush* Brush() const { return FBrush.get(); }
  bool DoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value) {
    if (FCtl3D == Value) return;
    FCtl3D = Value;
    Perform(CM_CTL3DCHANGED, 0, 0);
  }
  bool ParentCtl3D() const { return FParentCtl3D; }
  void SetParentCtl3D(bool Value) { FParentCtl3D = Value; }
  Integer BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(Integer Value);

  // Painting.
  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  // Paints the window and its children into DC at (X, Y).
  void PaintTo(HDC DC, int X, int Y);
  // Paints what the client area shows under its children into DC (client
  // coordinates): the control's colour, or with csParentBackground what its
  // parent shows there. Erasing uses it; so do children with csParentBackground.
  virtual void PaintBackground(HDC DC);
  // Paints the children without a window (from First on) into DC, each with
  // the DC's origin moved to it and clipped to it.
  void PaintControls(HDC DC, TControl* First);
  void SetZOrder(bool TopMost) override;
  void UpdateControlState();

  void WndProc(TMessage& Message) override;
  void DefaultHandler(void* Message) override;
  // The window procedure the thunk calls: WindowProc, with any exception handed to the application.
  void MainWndProc(TMessage& Message);
  // The window procedure of the window class (system classes: the original one).
  WNDPROC DefWndProc() const { return FDefWndProc; }
  // The thunk serving as this control's window procedure.
  WNDPROC ObjectInstance() const;

  AnsiString GetText() override;
  void SetText(const AnsiString& Value) override;

  // Events.
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  // Key messages passed through the form's KeyPreview and then the events;
  // true when the key was taken (the message then does nothing more).
  bool DoKeyDown(TWMKey& Message);
  bool DoKeyUp(TWMKey& Message);
  bool DoKeyPress(TWMKey& Message);

 protected:
  friend class TControl;
  friend class TCustomForm;
  virtual void CreateParams(TCreateParams& Params);
  // Registers (once) a copy of the system class ClassName under the control's
  // class name and makes its procedure the default one.
  void CreateSubClass(TCreateParams& Params, const wchar_t* ClassName);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  virtual void CreateHandle();
  virtual void DestroyHandle();
  virtual void PaintWindow(HDC DC);
  void PaintHandler(TWMPaint& Message);
  // The parent's background under this control, into DC (client coordinates).
  void PaintParentBackground(HDC DC);
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  void AlignControl(TControl* AControl);
  void BoundsChanged() override;
  void InvalidateControl(bool IsVisible, bool IsOpaque) override;
  virtual void KeyDown(Word& Key, TShiftState Shift);
  virtual void KeyUp(Word& Key, TShiftState Shift);
  virtual void KeyPress(char& Key);
  virtual void DoEnter();
  virtual void DoExit();
  // A key the control wants for itself (otherwise the form may take it for navigation).
  virtual bool WantsKey(Word Key);
  virtual void UpdateShowing();
  void UpdateBounds();
  void FontChanged(TObject* Sender) override;
  void Loaded() override;
  void ReadState(TReader* Reader) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void SetChildOrder(TComponent* Child, int Order) override;

 public:  // message handlers (bound by number)
  void WMPaint(TWMPaint& Message);
  void WMPrintClient(TWMPrintClient& Message);
  void WMMouseWheel(TMessage& Message);
  void WMEraseBkgnd(TWMEraseBkgnd& Message);
  void WMCommand(TWMCommand& Message);
  void WMNotify(TWMNotify& Message);
  void WMDrawItem(TWMDrawItem& Message);
  void WMMeasureItem(TWMMeasureItem& Message);
  void WMCtlColor(TWMCtlColor& Message);
  void WMScroll(TWMScroll& Message);
  void WMCompareItem(TWMCompareItem& Message);
  void WMDeleteItem(TWMDeleteItem& Message);
  void WMSize(TWMSize& Message);
  void WMGetMinMaxInfo(TMessage& Message);
  void WMMove(TMessage& Message);
  void WMWindowPosChanged(TWMWindowPosChanged& Message);
  void WMSetFocus(TWMSetFocus& Message);
  void WMKillFocus(TWMKillFocus& Message);
  void WMKeyDown(TWMKey& Message);
  void WMKeyUp(TWMKey& Message);
  void WMChar(TWMKey& Message);
  void WMSysKeyDown(TWMKey& Message);
  void WMSysKeyUp(TWMKey& Message);
  void WMSetCursor(TWMSetCursor& Message);
  void WMNCDestroy(TWMNCDestroy& Message);
  void WMNCHitTest(TWMNCHitTest& Message);
  void WMContextMenu(TMessage& Message);
  void CNKeyDown(TWMKey& Message);
  void CNKeyUp(TWMKey& Message);
  void CNChar(TWMKey& Message);
  void CNCtlColor(TWMCtlColor& Message);
  void CMShowingChanged(TMessage& Message);
  void CMVisibleChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMColorChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMInvalidate(TMessage& Message);
  void CMEnter(TMessage& Message);
  void CMExit(TMessage& Message);
  void CMDialogKey(TWMKey& Message);
  void CMDialogChar(TWMKey& Message);
  void CMFocusChanged(TCMFocusChanged& Message);
  void CMRecreateWnd(TMessage& Message);

 protected:
  HWND FHandle = nullptr;
  WNDPROC FDefWndProc = nullptr;
  std::unique_ptr<TBrush> FBrush;
  // The off-screen surface of double-buffered paints, kept between paints.
  std::unique_ptr<TPaintBuffer> FPaintBuffer;

 private:
  static LRESULT CALLBACK InitWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  static LRESULT StdWndProc(void* Self, UINT Msg, WPARAM WParam, LPARAM LParam);
  void DoAlign(TAlign AAlign, TRect& Rect);
  bool IsControlMouseMsg(TWMMouse& Message);
  void ReflectNotification(TMessage& Message, HWND Child);
  bool IsMenuKey(TWMKey& Message);

  // The control's own procedure in its window's chain (see "window
  // subclassing" below); it serves each window the control makes.
  TWndSubclass* FWndLink = nullptr;
  HWND FParentWindow = nullptr;
  std::vector<TControl*> FControls;       // without a window, in z-order
  std::vector<TWinControl*> FWinControls;  // with a window, in z-order
  std::vector<TWinControl*> FTabList;
  int FAlignLevel = 0;
  bool FShowing = false;
  bool FTabStop = false;
  bool FDoubleBuffered = false;
  bool FCtl3D = true;
  bool FParentCtl3D = true;
  Integer FBorderWidth = 0;
  bool FRecreating = false;
  HWND FRecreatedFrom = nullptr;  // the window RecreateWnd destroyed, until the next is made
  bool FAligning = false;
  bool FAnchoring = false;  // children moved by their anchors keep their rules
  void AnchorControls(const TRect& Client);
  Word FCtlID = 0;
  bool FDockSite = false;
  std::unique_ptr<TDockTree> FDockManager;
  std::vector<TControl*> FDockClients;
  // Takes a docked client off the site (CM_UNDOCKCLIENT, LParam: the client).
  void UndockClient(TControl* Client);
};

// The dock manager of a dock site: where its docked clients lie. This one
// keeps them where they were docked.
class TDockTree : public TObject {
  DK_CLASS(TDockTree, TObject)
 public:
  TDockTree() = default;
  TWinControl* DockSite() const { return FDockSite; }
  void SetDockSite(TWinControl* Value) { FDockSite = Value; }
  // A client joins the site at Bounds (the site's client coordinates).
  virtual void InsertControl(TControl* Control, const TRect& Bounds);
  // A client leaves the site.
  virtual void RemoveControl(TControl* Control) {}

 private:
  TWinControl* FDockSite = nullptr;
};

// The class of the dock manager every new dock site makes (a TDockTree or a
// descendant made with no arguments); painters of dock sites read its name.
extern TClass DefaultDockTreeClass;

// ----------------------------------------------------------- TGraphicControl

class TGraphicControl : public TControl {
  DK_CLASS(TGraphicControl, TControl)
  DK_MESSAGES(TGraphicControl)
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const { return FCanvas.get(); }

 protected:
  virtual void Paint() {}

 public:  // message handlers
  void WMPaint(TWMPaint& Message);

 private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

// ----------------------------------------------------------- TCustomControl

class TCustomControl : public TWinControl {
  DK_CLASS(TCustomControl, TWinControl)
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas* Canvas() const { return FCanvas.get(); }

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;

 private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

// ------------------------------------------------------------ utility windows

// A hidden window of class "TPUtilWindow" whose messages go to Method
// (timers, notification windows). DeallocateHWnd destroys it.
HWND AllocateHWnd(TWndMethod Method);
void DeallocateHWnd(HWND Wnd);

// A window procedure bound to Method: a few bytes of executable code made
// for this object (no lookup by window on the way). FreeObjectInstance gives
// it back; the window must no longer use it.
WNDPROC MakeObjectInstance(TWndMethod Method);
void FreeObjectInstance(WNDPROC Instance);

// ------------------------------------------------------- window subclassing
//
// A window's procedure is a chain: whoever puts a procedure over a window's
// keeps the one it replaced and hands on what it does not consume. The
// controls' own window procedures and SubclassWindow keep these rules, so that
// others may stack their procedures over them and take them away in any order:
//  - a procedure leaves the chain at once only while it is the window's
//    current one (the one it replaced goes back);
//  - otherwise it stays in the chain as a pass-through that hands every
//    message on unseen, until the window is destroyed;
//  - its code is given back only when nothing can call it any more.
// Taking one away puts back, in one step, the procedure under it and under
// any pass-through of ours beneath it.

class TWndSubclass;

// Puts Method over Wnd's window procedure (a window of this process, made by
// the class library or not: a message box, a system dialog, a combo box's
// list). Method sees every message of the window first and hands on what it
// does not consume with Subclass->CallPrevious; it sees WM_NCDESTROY, after
// which the subclass is off the window (Handle() is nullptr) but still the
// caller's until UnsubclassWindow. Raises EOSError when the window refuses.
TWndSubclass* SubclassWindow(HWND Wnd, TWndMethod Method);
// Takes the subclass away by the rules above and gives it up (the pointer is
// invalid afterwards). Safe inside Method, and after the window is gone.
void UnsubclassWindow(TWndSubclass* Subclass);

class TWndSubclass {
 public:
  TWndSubclass(const TWndSubclass&) = delete;
  TWndSubclass& operator=(const TWndSubclass&) = delete;
  // The window (nullptr once it is destroyed).
  HWND Handle() const { return FWnd; }
  // The procedure this one was put over.
  WNDPROC Previous() const { return FPrevious; }
  // Hands Message on to the previous procedure; its answer becomes the result.
  void CallPrevious(TMessage& Message);
  // The code standing in the window's chain for this subclass.
  WNDPROC Thunk() const { return FThunk; }

 private:
  friend class TWinControl;
  friend TWndSubclass* SubclassWindow(HWND, TWndMethod);
  friend void UnsubclassWindow(TWndSubclass*);
  using THandler = LRESULT (*)(void* Owner, UINT Msg, WPARAM WParam, LPARAM LParam);
  TWndSubclass(TWndMethod Method, void* Owner, THandler Handler);
  ~TWndSubclass();
  static LRESULT CALLBACK Dispatch(void* Self, UINT Msg, WPARAM WParam, LPARAM LParam);
  void Install(HWND Wnd);
  // Takes the place of Expected (the procedure of the window's class) while it
  // is the window's current one; the previous procedure is then Underneath.
  bool Replace(HWND Wnd, WNDPROC Expected, WNDPROC Underneath);
  // The owner lets go (see UnsubclassWindow).
  void Leave();
  // WM_NCDESTROY has passed: off the window.
  void WindowGone();
  bool OnTop() const;
  void Restore();
  void DeleteWhenDone();

  TWndMethod FMethod;
  void* FOwner;
  THandler FHandler;
  WNDPROC FThunk = nullptr;
  HWND FWnd = nullptr;
  WNDPROC FPrevious = nullptr;
  int FBusy = 0;
  bool FOwned = true;    // the owner still holds it
  bool FInChain = false;  // a window procedure may call the thunk
};

// The control whose window is Handle (nullptr for other windows).
TWinControl* FindControl(HWND Handle);
// The control under a screen point (a window control or one of its children without a window).
TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled);
// The control that holds the mouse capture (nullptr when none of ours).
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);

// Hands an exception caught in a window procedure, hook, timer or thread
// entry to the application (Forms sets it; without it the exception is dropped).
extern void (*ApplicationHandleException)(TObject* Sender);
// Calls Fn and passes any exception to ApplicationHandleException.
void GuardCallback(TObject* Sender, const std::function<void()>& Fn);

// The module instance the windows' classes are registered in.
HINSTANCE MainInstance();
