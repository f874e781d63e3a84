// Subclass objects: the skin attached to windows the skin engine did not make
// (native controls of system dialogs, controls of other component sets,
// class-library controls without skin support, pop-up menus, MDI clients).
//
// TacMainWnd is the base of the family: it keeps the window, its skin state
// and the procedure it replaced, hands on every message it does not consume,
// answers the common skin commands and lets go of the window when it is
// destroyed. The window carries its object under the property "ACSBSC".
//
// TacScrollWnd adds two skinned scroll bars in the window's non-client area;
// the painting and mouse tracking of those bars and the functions with which
// skinned controls attach, refresh and remove them are declared here too.
//
// Every window procedure is replaced through the wide API, and the stub the
// window calls belongs to a relay (TacWndRelay) rather than to the object: a
// relay whose object is gone hands the window's messages to the procedure
// the object had replaced, so a procedure another party put over ours can
// still call it safely.
#pragma once

// The provider's header first: it brings the class library's controls before
// windows.h defines GetObject.
#include "skin/forms/sSkinProvider.h"

#include <memory>

#include "classlib/ui/Controls.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sSkinManager.h"

class TacMainWnd;
class TacScrollWnd;

// The window property that holds a window's subclass object.
inline constexpr wchar_t acSubclassProp[] = L"ACSBSC";

// With what a subclass object is attached.
struct TacSkinParams {
  TControl* Control = nullptr;   // the owning class-library control, nullptr for a plain window
  AnsiString SkinSection;        // empty: the class's default section
  bool SkinFontColor = true;     // the font colour comes from the skin
  bool SkinBackColor = true;     // the background colour comes from the skin
  Integer VertBarWidth = -1;     // scroll-bar sizes, -1 = from the skin
  Integer VertButtonSize = -1;
  Integer HorzBarWidth = -1;
  Integer HorzButtonSize = -1;
};

// What a window calls in place of its procedure: the object's acWndProc while
// the object lives, the replaced procedure (or method) once it is gone. An
// orphaned relay frees itself when its window is destroyed.
class TacWndRelay : public TObject {
  DK_CLASS(TacWndRelay, TObject)
 public:
  TacWndRelay() = default;
  ~TacWndRelay() override;
  void WndProc(TMessage& Message);
  // The object lets go: from now on the messages pass to the replaced procedure.
  void Orphan();

  TacMainWnd* Target = nullptr;
  HWND Wnd = nullptr;
  WNDPROC PrevProc = nullptr;    // the window procedure replaced
  TWndMethod PrevMethod;         // or the control's (or form's) method replaced
  WNDPROC Instance = nullptr;    // the stub set as the window's procedure
};

// ------------------------------------------------------------ TacMainWnd

class TacMainWnd : public TObject {
  DK_CLASS(TacMainWnd, TObject)
 public:
  TacMainWnd() = default;
  ~TacMainWnd() override;

  // The virtual operations, in the order every descendant keeps.
  virtual void AfterCreation();
  // Attaches the object to Wnd (see acCreateWnd). SkinData nullptr: the
  // object makes its own (InitSkinData). Repaint: the frame is recalculated at once.
  virtual void Create(HWND Wnd, TsCommonData* ASkinData, TsSkinManager* AManager, const TacSkinParams& Params,
                      bool Repaint = true);
  virtual void SaveStdParams() {}
  virtual void RestoreStdParams() {}
  virtual void SetSkinParams() { SkinParamsApplied = true; }
  virtual void InitSkinData();
  virtual void acWndProc(TMessage& Message);

  // One message to the procedure this object replaced.
  LRESULT CallPrevWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM& LParam);
  // The owner control, nullptr for a plain window.
  TControl* OwnerControl() const { return SkinData ? SkinData->OwnerControl : nullptr; }
  // Whether the owner object of the skin data is a form's skin provider.
  bool OwnedByProvider() const;
  // Whether the window's procedure (or the control's method) is still ours.
  bool SubclassOnTop() const;

  bool DialogMode = false;
  AnsiString WindowText;         // code page 1251
  TRect WindowRect;
  TSize WindowSize;
  TPoint PosInParent;
  TRect ParentRect;
  HWND ParentHandle = nullptr;
  TControlStyle SavedControlStyle;
  TWndMethod SavedWindowProc;    // the control's (or form's) method replaced
  WNDPROC SavedWndProc = nullptr;  // the window procedure replaced
  HWND WndHandle = nullptr;
  TsSkinManager* Manager = nullptr;
  bool ScrollNotifying = false;
  bool SkinParamsApplied = false;
  TColor SavedColor = clNone;
  TColor SavedFontColor = clNone;
  bool Detached = false;
  bool OwnsSkinData = false;
  TsCommonData* SkinData = nullptr;
  WNDPROC WndProcInstance = nullptr;  // the relay's stub while the window procedure is replaced

 protected:
  // Takes the subclass out of the window (when it is still on top) and
  // restores the control's own look; see UninitializeACWnd.
  void RemoveSubclass();
  // The base handling of WM_DESTROY and WM_NCDESTROY.
  void HandleDestroy(TMessage& Message);
  // Takes the subclass out while the window is destroyed (the scroll-bar
  // family frees its bars too); the object itself stays.
  virtual void UninitializeForDestroy(HWND Wnd);
  // Reads the window's text into WindowText.
  void ReadWindowText();
  // The skin commands of the base; false for commands not answered here.
  void HandleAlphaCmd(TMessage& Message);

  TacWndRelay* Relay = nullptr;  // the relay through which the window reaches us
  bool InDestroy = false;        // WM_DESTROY is being handled (never sent into us twice)

  friend void InstallSubclass(TacMainWnd* Obj, HWND Wnd);
  friend void UninitializeACWnd(HWND Wnd, bool FreeObj, bool Repaint, TacMainWnd*& Obj);
  friend void UninitializeACScroll(HWND Wnd, bool FreeObj, bool Repaint, TacScrollWnd*& Obj);
};

// Makes an object of class T and attaches it to Wnd (the virtual constructor).
template <class T>
T* acCreateWnd(HWND Wnd, TsCommonData* SkinData, TsSkinManager* Manager, const TacSkinParams& Params,
               bool Repaint = true) {
  auto* obj = new T;
  obj->Create(Wnd, SkinData, Manager, Params, Repaint);
  return obj;
}

// ------------------------------------------------------------ scroll bars

// The state of one skinned scroll bar.
class TacScrollBar {
 public:
  Word BarFlags = 0;          // 8: the window style has this bar
  Integer ArrowLength = -1;   // arrow-button length override, -1 none
  Integer BarThickness = -1;  // thickness override, -1 none
  Word BarKind = 0;           // 0 horizontal, 1 vertical
  Integer MinThumbSize = 16;
  TacScrollWnd* OwnerWnd = nullptr;
  bool Shown = false;         // the bar takes room in the non-client area
  SCROLLINFO ScrollInfo{};
  TacScrollBar();
};

// Hit codes of a bar (they double as the scroll codes sent).
enum : Integer {
  acHitNone = -1,
  acHitArrow1 = 0,    // SB_LINEUP
  acHitArrow2 = 1,    // SB_LINEDOWN
  acHitTrack1 = 2,    // SB_PAGEUP
  acHitTrack2 = 3,    // SB_PAGEDOWN
  acHitThumb = 5,     // SB_THUMBTRACK
};

class TacScrollWnd : public TacMainWnd {
  DK_CLASS(TacScrollWnd, TacMainWnd)
 public:
  TacScrollWnd() = default;
  ~TacScrollWnd() override;
  void InitSkinData() override;
  void acWndProc(TMessage& Message) override;

  bool FrameCalculated = false;
  TacScrollBar* HorzBar = nullptr;
  TacScrollBar* VertBar = nullptr;
  bool ThumbTracking = false;
  bool LeftScrollBar = false;
  Integer EdgeLeft = 0, EdgeRight = 0, EdgeTop = 0, EdgeBottom = 0;
  bool HideScrollStyles = false;
  // Set by a drop-down list's subclass: the list keeps the mouse capture
  // when a press on its bars ends, and the button-up is not passed on.
  bool ListDropDown = false;

 protected:
  // WM_NCCALCSIZE with the system's bars hidden and room made for ours.
  void HandleNCCalcSize(TMessage& Message);
  void HandleScrollAlphaCmd(TMessage& Message);
  // The base's WM_DESTROY handling, with the bars let go.
  void UninitializeForDestroy(HWND Wnd) override;
  void FreeBars();
  // The system repaints its own bar wherever a window sets a new scroll
  // position with redraw (under Wine right over ours): after a message that
  // changed a shown bar's range, page or position, ours is painted again.
  void RepaintIfScrolled();
  friend void UninitializeACScroll(HWND Wnd, bool FreeObj, bool Repaint, TacScrollWnd*& Obj);
};

// ------------------------------------------------------------ unit functions

// Set while a combo's list subclass is made: the edit-like objects then draw
// a plain frame (DialogMode).
extern bool acDlgMode;
// Set by a form's control adapter while it removes all its items: the
// objects freed then leave their windows' procedures alone.
extern bool bRemoving;

TacMainWnd* GetSubclassObject(HWND Wnd);
void InstallSubclass(TacMainWnd* Obj, HWND Wnd);
// Removes the subclass from Wnd (when ours is still on top) and with FreeObj
// frees the object (Obj becomes nullptr).
void UninitializeACWnd(HWND Wnd, bool FreeObj, bool Repaint, TacMainWnd*& Obj);
void InitCtrlData(HWND Wnd, HWND& ParentWnd, TRect& WndRect, TRect& ParentRect, TSize& WndSize, TPoint& WndPos);
void PrepareCache(TsCommonData* SkinData, HWND Wnd, bool DlgMode);
void AlphaBroadCastCheck(TControl* Control, HWND Wnd, TMessage& Message);
// The frame recalculated (Recalc) or repainted.
void RefreshFrame(HWND Wnd, bool Recalc);
void AddToTopAdapter(HWND Wnd);
HFONT CreateNonClientFont(Integer Index);
void SelectNonClientFont(TCanvas* Canvas, Integer Index);
void SelectWindowFont(TacMainWnd* Obj);
bool CanBeHot(TsCommonData* SkinData, bool CheckNoHover = false);
void SetIntPropIfAny(TObject* Obj, const AnsiString& Name, Integer Value);
TColor GetColorPropRGB(TObject* Obj, const AnsiString& Name);
Integer GetIntPropOrZero(TObject* Obj, const AnsiString& Name);

// The scroll-bar engine. Only one bar of the process can be hovered or
// pressed at a time: the tracking state is one for all windows.
struct TacScrollTracking {
  Integer HotBar = -1;        // kind of the bar under the mouse, -1 none
  Integer HotPart = -1;       // hit code under the mouse in the hot bar
  Integer LastHotPart = -1;   // hot part at the previous hover tick
  TRect HotBarRect;           // screen rectangle of the hot bar
  HWND TrackedWnd = nullptr;  // the window the hover or press belongs to
  Integer PressedBar = -1;
  Integer PressedPart = -1;   // hit code at button-down; -1: no press
  Integer PressedPartNow = -1;  // the pressed part while the mouse is over it
  UINT ScrollMsg = 0;         // WM_HSCROLL or WM_VSCROLL
  UINT_PTR HoverTimer = 0;
  UINT_PTR RepeatTimer = 0;
  Integer ThumbSize = 0, ThumbPos = 0, ThumbOffset = 0;
  TRect ThumbRect;            // the bar's screen rectangle at the press
};
extern TacScrollTracking acScrollTrack;
extern const Integer acMinThumbSize;
extern Integer nLastSBPos;
void InstallScrollSubclass(TacScrollWnd* Obj, HWND Wnd, bool Repaint);
// Which 0: arrow length; otherwise the bar's thickness. 0 for nullptr.
Integer GetScrollMetric(TacScrollBar* Bar, Integer Which, bool Unused = false);
void ac_GetHScrollRect(TacScrollWnd* Obj, HWND Wnd, TRect& R);
void ac_GetVScrollRect(TacScrollWnd* Obj, HWND Wnd, TRect& R);
// Paints both bars and the corner; ThumbPos -1: the thumb where it is. Always 0.
Integer ac_NCDraw(TacScrollWnd* Obj, HWND Wnd, Integer ThumbPos = -1, HDC DC = nullptr);
void ac_DrawScrollBtn(const TRect& R, Integer State, TacBitmap* Bmp, TsCommonData* SkinData, TacSide Side);
void ac_DrawSlider(const TRect& R, Integer State, TacBitmap* Bmp, TsSkinManager* Manager, bool Vertical);
void RotateRect0(TacScrollBar* Bar, TRect& R);
TRect BtnDrawRect(const TRect& R, TsCommonData* SkinData, TacSide Side);
// Thumb length and start of a bar over the rectangle R.
void GetThumbGeometry(TacScrollBar* Bar, const TRect& R, Integer& ThumbLength, Integer& ThumbStart);
// The hit code of a screen point against a bar whose screen rectangle is R.
Integer ScrollHitTest(TacScrollBar* Bar, const TRect& R, const TPoint& P);
bool ScrollBarEnabled(TacScrollBar* Bar, HWND Wnd);
// Whether the corner between two bars (screen rectangle) holds the size grip.
bool ScrollCornerGrip(TacScrollWnd* Obj, HWND Wnd, const TRect& Corner);

// Mouse tracking of the bars.
void SendScrollMessage(HWND Wnd, UINT ScrollMsg, Integer ScrollCode, Integer Pos);
LRESULT ScrollNCHitTest(TacScrollWnd* Obj, HWND Wnd, WPARAM WParam, LPARAM LParam);
LRESULT ScrollNCMouseMove(TacScrollWnd* Obj, HWND Wnd, WPARAM WParam, LPARAM LParam);
LRESULT ScrollNCLButtonDown(TacScrollWnd* Obj, HWND Wnd, WPARAM WParam, LPARAM LParam);
LRESULT ScrollMouseMove(TacScrollWnd* Obj, HWND Wnd, WPARAM WParam, LPARAM LParam);
LRESULT ScrollLButtonUp(TacScrollWnd* Obj, HWND Wnd, WPARAM WParam, LPARAM LParam);
LRESULT ScrollTimer(TacScrollWnd* Obj, HWND Wnd, WPARAM WParam, LPARAM LParam);
// Hover and repeat timers of the bars on the subclassed window.
inline constexpr UINT_PTR acTimerHover = 0xFFF2;
inline constexpr UINT_PTR acTimerFirstRepeat = 0xFFFD;
inline constexpr UINT_PTR acTimerRepeat = 0xFFFE;

// Refresh functions: the skinned controls' bars follow the skin.
void RefreshScrolls(TsScrollWndData* SkinData, TacScrollWnd*& Obj);
void RefreshEditScrolls(TsScrollWndData* SkinData, TacScrollWnd*& Obj);
void RefreshTreeScrolls(TsScrollWndData* SkinData, TacScrollWnd*& Obj);
void UpdateScrolls(TacScrollWnd* Obj, bool Repaint = true);
void UninitializeACScroll(HWND Wnd, bool FreeObj, bool Repaint, TacScrollWnd*& Obj);
TacScrollWnd* InitControl(HWND Wnd, TsCommonData* SkinData, TsSkinManager* Manager);
bool Scrolls_SetStyle(HWND Wnd, Integer, Integer);
TacScrollBar* GetSubclassBar(HWND Wnd, Integer Kind);
bool SetSubclassMinThumb(HWND Wnd, Integer Which, Integer Size);
void RestoreCornerBackground(TsCommonData* SkinData, TacMainWnd* Obj);
// The refresh functions' common step: a detached object in the slot is
// freed, an empty slot gets a new object from Make attached to the control.
void AttachScrollObject(TsScrollWndData* SkinData, TacScrollWnd*& Obj, TacScrollWnd* (*Make)());
// Frees the object in the slot (which gives the window back) and empties it.
void FreeScrollObject(TacScrollWnd*& Obj);
// The edit and tree subclasses the refresh functions make (with their units).
TacScrollWnd* NewEditWnd();
TacScrollWnd* NewTreeViewWnd();

// The optional system functions found at start-up (nullptr when missing).
using TacFlatSBProc = BOOL(WINAPI*)(HWND Wnd);
using TacGetScrollBarInfo = BOOL(WINAPI*)(HWND Wnd, LONG IdObject, PSCROLLBARINFO Info);
extern TacFlatSBProc Ac_UninitializeFlatSB;
extern TacFlatSBProc Ac_InitializeFlatSB;
extern TacGetScrollBarInfo Ac_GetScrollBarInfo;
// The unit's start-up (runs once; also run by the unit's static start-up):
// the optional system functions, and the provider's seams to the form's bars.
void acSBUtilsStartup();
void acSBUtilsFillProviderSeams();
