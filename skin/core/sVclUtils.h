// Small functions with which the skin engine reaches controls and windows:
// sending the skin command to a control or a window, broadcasting it to trees
// of controls, and the state tests the senders share.
#pragma once

#include <functional>

#include "classlib/ui/Forms.h"
#include "classlib/ui/HintWindow.h"
#include "classlib/ui/StdCtrls.h"
#include "skin/core/Smessages.h"
#include "skin/core/acThdTimer.h"
#include "skin/core/sConst.h"
// The show and hide animations of forms (with the hide timer) live with the
// form skinning.
#include "skin/forms/sVclUtilsAnim.h"

// ------------------------------------------------- sending the skin command

// The command to a window (SendMessage).
LRESULT SendAMessage(HWND Wnd, Integer Cmd, LPARAM LParam = 0);
// The command to a control: Perform for a control without a window, the
// window's SendMessage for a window control; 0 (and no window made) for a
// window control without a window or being destroyed.
LRESULT SendAMessage(TControl* Control, Integer Cmd, LPARAM LParam = 0);
// True when the low byte of the control's answer is not 0.
bool GetBoolMsg(TWinControl* Control, Integer Cmd);
// True when the window answers exactly 1.
bool GetBoolMsg(HWND Wnd, Integer Cmd);
// The message to the control's children: controls without a window (or not
// made yet) by Perform, skinned windows by SendMessage; the children of other
// window controls, recursively. A child being destroyed ends it.
void AlphaBroadCast(TWinControl* Control, TMessage& Message);
// The message to every child window of Wnd.
void AlphaBroadCast(HWND Wnd, TMessage& Message);
// The message to every child window (WS_CHILD) of Wnd, top one first.
void BroadCastMsg(HWND Wnd, const TMessage& Message);
// Tells the children that their parent was redrawn (the skin command 6).
void SetParentUpdated(TWinControl* Control);
void SetParentUpdated(HWND Wnd);
// Registers a window control with its form's adapter (the skin command 25).
void AddToAdapter(TWinControl* Control);

// ------------------------------------------------------------ control states

inline bool IsLoading(const TComponent* C) { return C && C->ComponentState().Contains(csLoading); }
inline bool IsReading(const TComponent* C) { return C && C->ComponentState().Contains(csReading); }
inline bool IsDestroying(const TComponent* C) { return C && C->ComponentState().Contains(csDestroying); }
inline bool IsDesigning(const TComponent* C) { return C && C->ComponentState().Contains(csDesigning); }
// False for nullptr, a window control without a window, and a control being
// created, read, loaded or destroyed, or without parent.
bool ControlIsReady(TControl* Control);
// The first form on the chain of owners (the component itself first).
TCustomForm* GetOwnerForm(TComponent* Component);
// The first frame on the chain of owners (the class library has no frames:
// nullptr).
TComponent* GetOwnerFrame(TComponent* Component);

// ------------------------------------------------------------ animations

// True while an animation of forms or controls runs (and while a skin change
// freezes the forms for its animation).
extern bool InAnimationProcess;

// ------------------------------------------ colours, painting and windows

// Set while PaintControls runs (it does not run nested).
extern bool acGraphPainting;
// DrawText alignment flags by TAlignment.
extern const UINT AlignToInt[3];
// The system's "SetWindowTheme" (nullptr when the theme library is missing),
// with which skinned subclasses switch the system theme off.
using TacSetWindowTheme = HRESULT(WINAPI*)(HWND Wnd, LPCWSTR SubAppName, LPCWSTR SubIdList);
extern HMODULE uxthemeLib;
extern TacSetWindowTheme Ac_SetWindowTheme;

// The colour behind a control's children: the answer of a skinned control to
// the colour query, else its Color; as RGB; fuchsia for nullptr.
TColor GetControlColor(TControl* Control);
// The answer of a window to the colour query, as RGB; fuchsia for 0.
TColor GetControlColor(HWND Wnd);
// Bmp becomes a 32-bit picture of the control's size holding what its
// parent shows under it.
void PaintParentBG(TControl* Control, TacBitmap* Bmp);
// Paints the graphic children of Owner into DC through one off-screen bitmap
// over the skinned background, each moved by Offset (ChangeCache and BGDC
// are not used).
void PaintControls(HDC DC, TWinControl* Owner, bool ChangeCache, const TPoint& Offset, HDC BGDC = nullptr,
                   bool CheckVisible = true);
// Copies a control with its children, as it looks, into Bmp; an invisible
// control leaves its parent's background at (Left, Top).
void SkinPaintTo(TacBitmap* Bmp, TControl* Control, Integer Left = 0, Integer Top = 0,
                 TComponent* SkinProvider = nullptr);
// The visible child windows of Control copied into Bmp at their places.
void PaintChildCtrls(TWinControl* Control, TacBitmap* Bmp);
// DrawText flags of a control's text of that alignment (tabs expanded,
// centred vertically, in the control's reading order).
UINT GetStringFlags(TControl* Control, TAlignment Alignment);

TPoint acMousePos();
// Normal: whether the control reads left to right; otherwise whether it is
// right to left on a system with right-to-left languages.
bool LeftToRight(TControl* Control, bool Normal = true);
using TacIterateProc = std::function<void(TControl* Control, Integer Data)>;
// Proc for each child, window controls walked after their own call.
void IterateControls(TWinControl* Control, Integer Data, const TacIterateProc& Proc);
// Enables or disables the children (panels are left alone and not entered).
void SetControlsEnabled(TWinControl* Parent, bool Value, bool Recursive = true);
// Invalidates every ready child that is not a graphic control (Flag is not used).
void RepaintsControls(TWinControl* Parent, bool Flag);
// Whether the whole text of the edit is selected.
bool AllEditSelected(TCustomEdit* Edit);
// The client rectangle in window coordinates.
TRect acClientRect(HWND Wnd);
AnsiString GetWndClassName(HWND Wnd);
// The top-level window above Wnd.
HWND GetParentFormHandle(HWND Wnd);
// What the visible children aligned to one side take of it (heights for top
// and bottom, widths for left and right); graphic controls only with
// CountGraphic; 0 for other alignments.
Integer GetAlignShift(TWinControl* Parent, TAlign Align, bool CountGraphic = false);
// The work area of the form's monitor (the whole monitor for a stay-on-top form).
TRect acWorkRect(TCustomForm* Form);
// The work area of the first monitor whose work area holds P; empty when none.
TRect acWorkRect(const TPoint& P);
// Shows Text in a hint window near the screen point P (below and right of
// it, kept inside the work area): through the skinned hints when they are
// active, else in a window of the application's hint window class, which the
// caller frees. nullptr for an empty text.
THintWindow* acShowHintWnd(const AnsiString& Text, const TPoint& P);
// Gives a control another section (a plain label takes the section's font
// colour); true when it took it.
bool TrySetSkinSection(TControl* Control, const AnsiString& Section);

// A hidden window the animations draw on.
class TOutputWindow : public TCustomControl {
  DK_CLASS(TOutputWindow, TCustomControl)
 public:
  explicit TOutputWindow(TComponent* AOwner) : TCustomControl(AOwner) {}
  void Construct() override;
  // Erasing and the frame are left to the animation that draws on it.
  void WndProc(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
};

// The animations' output window (nullptr while none).
extern TOutputWindow* ow;
