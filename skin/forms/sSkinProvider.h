// The form skin provider: the component that skins one top-level form. It
// takes over the form's window procedure (chained: it hands on what it does
// not handle and leaves the chain only while it is the current procedure),
// owns the form's skin state and paints the caption, the borders, the title
// buttons and the menu line from one 32-bit image of the whole window (the
// non-client cache, the skin data's CacheBmp). The window region is cut out
// of the skin's corner masks; the title buttons hover, press and drag like
// native ones.
//
// Without a skin (no manager, no active skin, no "FORM" section) every
// message reaches the form's own procedure and the form keeps its plain look.
//
// The unit's implementation is split by concern: sSkinProvider.cpp (life,
// options, dispatch), sSkinProviderMetrics.cpp (frame sizes),
// sSkinProviderPaint.cpp (the cache and its copies), sSkinProviderButtons.cpp
// (title buttons, hit test, outline move), sSkinProviderRegion.cpp (region,
// caption repaint, caption cover), sSkinProviderHandlers*.cpp (messages),
// sSkinProviderCommands.cpp (skin commands, editor, labels).
#pragma once

#include <memory>
#include <vector>

#include "classlib/ui/Forms.h"
#include "classlib/ui/ExtCtrlsTimer.h"
#include "classlib/ui/Menus.h"
#include "classlib/ui/StdCtrls.h"
#include "skin/core/acThdTimer.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sConst.h"

class TsSkinProvider;
class TacSBAnimation;   // the fade of one title button
class TsTitleButtons;   // the user title buttons
class TsTitleButton;
class TsTitleIcon;      // an override of the caption icon
class TacAddedTitle;    // extra text after the caption
class TacSysSubMenu;    // an extra sub-menu of the skinned system menu
class TsSystemMenu;     // the skinned system menu
class TsTitleBar;       // items in the caption
class TacCtrlAdapter;   // skins the child controls
class TacScrollWnd;     // the form's own skinned scroll bars
class TsMDIForm;        // MDI parent support
struct TacSkinParams;

// ------------------------------------------------------------------ codes

// Hit codes of the caption (the system's where it has one).
namespace achit {
constexpr Integer Nowhere = HTNOWHERE, Client = HTCLIENT, Caption = HTCAPTION, SysMenu = HTSYSMENU,
                  Menu = HTMENU, MinButton = HTMINBUTTON, MaxButton = HTMAXBUTTON, Left = HTLEFT,
                  Right = HTRIGHT, Top = HTTOP, TopLeft = HTTOPLEFT, TopRight = HTTOPRIGHT, Bottom = HTBOTTOM,
                  BottomLeft = HTBOTTOMLEFT, BottomRight = HTBOTTOMRIGHT, Close = HTCLOSE, Help = HTHELP;
constexpr Integer MDIClose = 101, MDIRestore = 102, MDIMinimize = 103;
constexpr Integer UserButton = 1000;    // + index of the user title button
constexpr Integer TitleItem = 2000;     // + index of the title-bar item
constexpr Integer TitleItemLast = 2255;
}  // namespace achit

// The provider's transient state bits (TsSkinProvider::FormState).
namespace acfs {
constexpr Cardinal SizingSmaller = 0x1;      // extended-border repaint suppressed while sizing smaller
constexpr Cardinal BlendOnMoving = 0x80;     // blend on moving runs
constexpr Cardinal Minimizing = 0x100;       // minimize animation runs
constexpr Cardinal HideSnapshot = 0x200;     // hide animation: the form's snapshot is taken
constexpr Cardinal Restoring = 0x400;        // restore animation runs
constexpr Cardinal TaskbarImage = 0x800;     // an image of the form for the taskbar is being taken
constexpr Cardinal ImageCopied = 0x1000;     // the form's image is being copied for a skin change
constexpr Cardinal StretchedVert = 0x2000;   // stretched vertically to the work area
constexpr Cardinal StretchedHorz = 0x4000;   // stretched horizontally to the work area
constexpr Cardinal NCActivating = 0x8000;    // WM_NCACTIVATE is being handled
constexpr Cardinal RedrawLocked = 0x10000;   // locked for a skin change
constexpr Cardinal ScrollAttaching = 0x20000;
}  // namespace acfs

DK_ENUM(TsGripMode, gmNone, gmRightBottom);
DK_ENUM(TsResizeMode, rmStandard, rmBorder);
DK_ENUM(TacAnimEvent, aeShowing, aeHiding, aeSkinChanging);

using TacAnimEventHandler = TClosure<void(TacAnimEvent AnimType)>;
using TExtHitTestEvent = TClosure<void(TWMNCHitTest& Msg)>;
using TAddItemEvent = TClosure<void(TComponent* Item, bool& CanBeAdded, AnsiString& SkinSection)>;
using TAddItemExEvent = TClosure<void(TComponent* Item, bool& CanBeAdded, TacSkinParams* SkinParams)>;

// One button of the caption (or of the menu line of an MDI parent).
struct TsCaptionButton {
  Integer State = 0;        // 0 normal, 1 hot, 2 pressed
  Integer ImageIndex = -1;  // in the manager's images, -1 none
  TRect Rect;               // in cache coordinates
  bool HaveBigImage = false;
  Integer GlowID = -1;      // the glow window shown around it, -1 none
  TacSBAnimation* Timer = nullptr;  // owned: its running fade, nullptr when idle
  Integer HitCode = 0;
};

// A label recoloured by the skin and what it had before.
struct TacLabelsColors {
  TControl* Control = nullptr;
  TColor FontColor = clNone;
  Byte ParentFont = 0;
};

// The editor's preview record (sent with WM_COPYDATA).
using TacEditorSkinRecord = TacEditorRecord;

// ------------------------------------------------------------- TacBorderForm

// The window of a form's extended borders (shadow and outer frame). The
// monitor keeps them off: only what the provider calls exists.
class TacBorderForm : public TObject {
  DK_CLASS(TacBorderForm, TObject)
 public:
  TacBorderForm() = default;
  ~TacBorderForm() override;
  HWND Wnd = nullptr;     // the border window (nullptr: none)
  bool Freeing = false;   // set while its window is being freed
  bool Frozen = false;    // shows a still image (hide snapshot, sizing)
  // A new region of the border window of that size (0, 0: its size now); 0
  // without a window. The caller hands it to SetWindowRgn.
  HRGN MakeRgn(Integer W = 0, Integer H = 0);
  // Places and redraws the border window around the form.
  void UpdateExBordersPos(bool Redraw = true, Byte Blend = 255);
  void FreeWindow();
  Integer CaptionHeight(bool UseSkin = true) const;
  Integer OffsetY() const { return 0; }
  TsCommonData* SkinData = nullptr;
};

// ------------------------------------------------------------ TsSkinProvider

class TsSkinProvider : public TComponent {
  DK_CLASS(TsSkinProvider, TComponent)
 public:
  // Kept for the skin core's older names of two state bits.
  static constexpr Cardinal FS_IMAGE_COPIED = acfs::ImageCopied;
  static constexpr Cardinal FS_REDRAW_LOCKED = acfs::RedrawLocked;

  // AOwner: the form to skin (EAbort for anything else).
  explicit TsSkinProvider(TComponent* AOwner);
  // Made by the window-creation hook (the flag is not read).
  TsSkinProvider(TComponent* AOwner, bool HookCreated);
  ~TsSkinProvider() override;
  void AfterConstruction() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // ---------------------------------------------------------- published

  TacAddedTitle* AddedTitle() const { return FAddedTitle; }
  bool AllowAnimation = true;
  bool AllowExtBorders = true;
  void SetAllowExtBorders(bool Value);
  bool AllowBlendOnMoving = true;
  TAlignment CaptionAlignment() const { return FCaptionAlignment; }
  void SetCaptionAlignment(TAlignment Value);
  bool DrawNonClientArea() const { return FDrawNonClientArea; }
  void SetDrawNonClientArea(bool Value);
  bool DrawClientArea = true;
  TsScrollWndData* SkinData() const { return FSkinData.get(); }
  void SetSkinData(TsScrollWndData* Value) { FSkinData->Assign(Value); }
  TsGripMode GripMode = gmNone;
  bool MakeSkinMenu = false;
  AnsiString MenuLineSkin;
  TsResizeMode ResizeMode = rmStandard;
  bool ScreenSnap = false;
  Integer SnapBuffer = 10;
  bool ShowAppIcon() const { return FShowAppIcon; }
  void SetShowAppIcon(bool Value);
  TacSysSubMenu* SysSubMenu() const { return FSysSubMenu; }
  TsTitleBar* TitleBar = nullptr;  // a reference
  TsTitleButtons* TitleButtons() const { return FTitleButtons; }
  TsTitleIcon* TitleIcon() const { return FTitleIcon; }
  const AnsiString& TitleSkin() const { return FTitleSkin; }
  void SetTitleSkin(const AnsiString& Value);
  bool UseGlobalColor() const { return FUseGlobalColor; }
  void SetUseGlobalColor(bool Value);
  TacAnimEventHandler OnAfterAnimation;
  TExtHitTestEvent OnExtHitTest;
  TAddItemEvent OnSkinItem;
  TAddItemExEvent OnSkinItemEx;

  // ---------------------------------------------------------- the state
  // (declared by meaning; the handlers, painters and animations share it)

  TCustomForm* Form = nullptr;
  bool RgnChanged = true;                   // rebuild the region at the next non-client paint
  Integer HotElement = 0;                   // hit code under the mouse, 0 none, -1 after a pressed tab
  std::unique_ptr<TacBitmap> BtnBG;         // the caption under the title buttons
  bool ChildPaintNeeded = false;            // the next client paint also paints the children
  bool PaintedOnce = false;                 // the first full cache was painted
  Integer UserBtnIndex = -1;                // image "TITLEBUTTON" of "GLOBALINFO"
  TRect IconRect;                           // the caption icon, cache coordinates
  std::unique_ptr<TTimer> HintTimer;        // delay of title-bar item hints
  TRect HintRect;                           // screen rectangle of the pending hint
  TAOR ArOR;                                // transparent runs cut from the region
  Integer TitleBarBottom = 0;
  Integer RedrawLockCount = 0;              // nesting of WM_SETREDRAW 0
  bool MDIHookPending = false;
  bool MenuInitialized = false;             // the menu line was handed to the menu painter
  bool MenuWasOwnerDrawn = false;           // the main menu was owner-drawn before skinning
  std::vector<TacLabelsColors> LabelsColors;
  std::unique_ptr<TacBitmap> GlowActive, GlowInactive;  // the caption text's glow
  std::unique_ptr<TWinControl> CoverForm;   // cover of the hide animation
  std::unique_ptr<TacBitmap> FormImage;     // the form before a skin change (blend image)
  TRect NormalBounds;                       // left, top, width, height before a stretch to the work area
  TsCaptionButton ButtonMin, ButtonMax, ButtonClose, ButtonHelp;
  TsCaptionButton MDIMin, MDIMax, MDIClose;
  TRect LastClientRect;
  bool TallTitle = false;                   // maximized with extended borders and a tall skin title
  Integer TitleIndex = -1;                  // cached title section, -1 not looked up
  Integer CaptionCenter = 0;                // vertical centre of the caption band
  Integer CaptionSkinIndex = -1;            // section "CAPTION", -1 none
  std::unique_ptr<TacThreadedTimer> MinAnimation;  // a TacMinTimer or a TacMoveTimer
  bool HookCreated = false;
  bool Duplicate = false;
  bool AeroAtStart = false;                 // desktop composition was on at creation
  bool InMenuLoop = false;
  bool SkinChanging = false;                // painting lock: an animation or a skin change owns the image
  bool Hiding = false;                      // minimizing: a hide animation or a minimize of the main form
  bool PaintingSuspended = false;           // a show or minimize animation will paint the form
  TacScrollWnd* ScrollWnd = nullptr;        // owned
  TacCtrlAdapter* Adapter = nullptr;        // owned
  Cardinal FormState = 0;                   // acfs bits
  bool RgnBusy = false;                     // a region update is under way
  bool BigButtons = false;                  // the title buttons use the big images
  bool MenuLineChanged = true;              // the menu line must be repainted
  TsMDIForm* MDIForm = nullptr;             // owned, only for an MDI parent
  bool FormActive = false;                  // the frame is drawn active
  std::unique_ptr<TacBitmap> MenuLineBmp;   // the painted menu line
  Integer MenuLinesCount = -1;              // -1: to be computed
  TsSystemMenu* SystemMenu = nullptr;       // owned
  TCustomForm* CaptForm = nullptr;          // owned: the caption cover
  TWndMethod CaptFormWndProc;               // the cover's own procedure
  std::unique_ptr<TacBorderForm> BorderForm;  // nullptr while extended borders are off
  bool Layered = false;                     // the form was made layered for an animation

  // ---------------------------------------------------------- operations

  void NewWndProc(TMessage& Message);
  // Runs a message through NewWndProc (not through the window); its result.
  LRESULT ProcessMessage(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
  void PrepareForm();
  void LoadInit();
  void AdapterCreate();
  void AdapterRemove();
  void SendToAdapter(const TMessage& Message);
  void FreeAdapter();
  void FreeScrollWnd();
  void InitExBorders(bool Active);
  void KillAnimations();
  void CheckSysMenu(bool Skinning);
  void InitMenuItems(bool Hook);
  void TryInitMenu();
  bool UpdateMenu();
  TColor FormColor();
  // A manager exists and lives, the section is valid and the provider lives.
  bool Skinned() const;
  bool Designing() const { return ComponentState().Contains(csDesigning); }
  bool Destroying() const { return ComponentState().Contains(csDestroying); }
  void InitLabel(TControl* Control, bool Skinned);

  // Frame metrics (window-relative, cache coordinates).
  Integer BorderWidth(bool UseSkin = true);
  Integer BorderHeight(bool UseSkin = true);
  Integer CaptionHeight(bool UseSkin = true);
  Integer ActualTitleHeight();
  Integer ZoomedTitleExtra();
  Integer HeaderHeight();
  bool HaveSysMenu();
  bool MDIButtonsNeeded();
  bool MenuLineVisible();
  Integer MenuHeight();
  bool MenuPresent();
  Integer GetLinesCount();
  Integer OffsetX();
  Integer OffsetY();
  Integer CaptionWidth();
  TRect ShadowSize();
  TPoint FormLeftTop();
  TPoint CursorToPoint(Integer X, Integer Y);
  TPoint RBGripPoint(Integer ImgIndex);
  bool FormChanged();
  bool IconVisible();
  AnsiString TitleSkinSection();
  Integer TitleSkinIndex();
  Integer ButtonHeight();
  Integer SysButtonWidth(const TsCaptionButton& Btn);
  Integer SysButtonsCount();
  Integer SmallButtonWidth();
  Integer SmallButtonHeight();
  Integer TitleBtnsWidth();
  Integer BarWidth(Integer ImgIndex);
  Integer TitleIconWidth();
  Integer TitleIconHeight();
  bool HasBorder();
  bool HasThickFrame();
  bool IsGripVisible();
  virtual Integer GetTopCoord();
  // The system menu's answers (the native menu's while there is no skinned one).
  bool SysVisibleClose();
  bool SysVisibleMax();
  bool SysVisibleMin();
  bool SysEnabledMax();
  bool SysEnabledMin();
  bool SysEnabledRestore();
  bool SysEnabledClose();

  // The non-client cache.
  bool PaintAll();
  void PaintCaption(HDC DC);
  void PaintForm(HDC DC, bool SendUpdated);
  void PaintTitleContent();
  void SaveBGForBtns(bool WithMenu);
  void RestoreBtnsBG();
  void AC_WMNCPaintHandler();
  void AC_WMEraseBkGndHandler(HDC DC);
  void OurPaintHandler(TMessage& Message);
  void RepaintMenu();
  void PaintGrip(HDC DC);
  void CalcItems();

  // Title buttons and hit testing.
  void UpdateIconsIndexes();
  Integer HTProcess(TMessage& Message);
  void SetHotHT(Integer HitCode, bool Repaint = true);
  void SetPressedHT(Integer HitCode);
  void RepaintButton(Integer HitCode);
  void DropSysMenu(Integer X, Integer Y);
  void StartMove(Integer X, Integer Y);
  void StopMove(Integer X, Integer Y);
  void DrawFormBorder(Integer X, Integer Y);
  // The record of a hit code (nullptr for codes without one).
  TsCaptionButton* ButtonOf(Integer HitCode);

  // Attaches the form's skinned scroll bars.
  void UpdateFormScrolls(bool Repaint);

 private:
  void Init(TComponent* AOwner);
  void MakeSystemMenu();
  void Hook();
  void Unhook();
  void CallOld(TMessage& Message) { FOldWndProc(Message); }
  friend class TsSkinProviderHandlers;

  // Dispatch (sSkinProvider.cpp) and the handlers.
  bool AC_SMAlphaCmd_Common(TMessage& Message);
  bool AC_SMAlphaCmd_Unskinned(TMessage& Message);
  void AC_SMAlphaCmd_Skinned(TMessage& Message);
  void AC_ASEMSG(TMessage& Message);
  void AC_WMCopyData(TMessage& Message);
  void SkinRemoved(TMessage& Message);
  void SkinTaken();
  void SkinReloaded();
  void SkinRepaint();
  void QueryBGInfo(TMessage& Message);
  bool ChildBgVaries();
  bool DispatchSkinned(TMessage& Message);
  void DispatchUnskinned(TMessage& Message);

  void AC_WMCreate(TMessage& Message);
  void AC_WMNCCreate(TMessage& Message);
  void AC_WMMove(TMessage& Message);
  void AC_WMSize(TMessage& Message);
  void AC_WMActivate(TMessage& Message);
  void AC_WMSetRedraw(TMessage& Message);
  void AC_WMSetText(TMessage& Message);
  void AC_WMSetIcon(TMessage& Message);
  void AC_WMNCActivate(TMessage& Message);
  void AC_WMStyleChanged(TMessage& Message);
  void AC_WMSettingChange(TMessage& Message);
  void AC_WMActivateApp(TMessage& Message);
  void AC_WMGetMinMaxInfo(TMessage& Message);
  void AC_WMMeasureItem(TMessage& Message);
  void AC_WMContextMenu(TMessage& Message);
  void AC_WMEnterMenuLoop(TMessage& Message);
  void AC_WMExitMenuLoop(TMessage& Message);
  void AC_WMSizing(TMessage& Message);
  void AC_WMInitMenuPopup(TMessage& Message);
  void AC_CMMenuChanged(TMessage& Message);
  void AC_CMEnabledChanged(TMessage& Message);
  void AC_WMNCHitTest(TMessage& Message);
  void AC_WMNCLButtonDown(TMessage& Message);
  bool BlendsOnMoving();
  void AC_WMLButtonUp(TMessage& Message);
  void AC_WMNCLButtonDblClick(TMessage& Message);
  void AC_WMNCRButtonDown(TMessage& Message);
  void AC_WMNCRButtonUp(TMessage& Message);
  void AC_WMNCMouseMove(TMessage& Message);
  void AC_WMMouseMove(TMessage& Message);
  void AC_WMMouseLeave(TMessage& Message);
  void AC_CMMouseEnter(TMessage& Message);
  void AC_WMPaint(TMessage& Message);
  void AC_WMEraseBkGnd(TMessage& Message);
  void AC_WMNCPaint(TMessage& Message);
  void AC_WMPrint(TMessage& Message);
  void AC_WMClose(TMessage& Message);
  void AC_WMQueryEndSession(TMessage& Message);
  void AC_WMShowWindow(TMessage& Message);
  void AC_WMWindowPosChanging(TMessage& Message);
  void AC_WMWindowPosChanged(TMessage& Message);
  void AC_WMSysCommand(TMessage& Message);
  void AC_WMVisibleChanged(TMessage& Message);
  void AC_CMShowingChanged(TMessage& Message);
  void AC_CMVisibleChanged_Unskinned(TMessage& Message);
  void AC_WMWindowPosChanged_Unskinned(TMessage& Message);
  void AC_WMNCDestroy(TMessage& Message);
  void AC_CMMouseWheel(TMessage& Message, bool Skinned);
  // Runs the old procedure for a message with which the system paints the
  // native caption straight onto the window, then repaints the frame.
  void CallOldUnpainted(TMessage& Message);
  void PaintCaptionText(TacBitmap* Bmp);
  void PaintTitleBand();
  void PaintMenuLine();
  void PaintMenuItems();
  void PrintFrameStrips(HDC DC);
  void PaintBorderInsets(HDC DC, const TRect& Client);
  void PaintButtonInCache(TsCaptionButton& Btn, bool Enabled);
  Integer SysButtonAt(const TPoint& P);

  TWndMethod FOldWndProc;
  bool FHooked = false;
  bool FOrphaned = false;  // let go while another procedure stood over ours
  bool FPrepared = false;  // PrepareForm ran with a skin
  bool FDrawNonClientArea = true;
  bool FShowAppIcon = true;
  bool FUseGlobalColor = true;
  TAlignment FCaptionAlignment = taLeftJustify;
  AnsiString FTitleSkin;
  TacAddedTitle* FAddedTitle = nullptr;     // owned
  TacSysSubMenu* FSysSubMenu = nullptr;     // owned
  TsTitleButtons* FTitleButtons = nullptr;  // owned
  TsTitleIcon* FTitleIcon = nullptr;        // owned
  std::unique_ptr<TsScrollWndData> FSkinData;
};

// ------------------------------------------------------------ seams

// The child-control adapter and the form's skinned scroll bars live in units
// built on top of this one. Each of them fills its entries here when it
// starts up; the provider calls through them and does nothing while an entry
// is empty. The adapter and the scroll object stay owned by the provider
// (its Adapter and ScrollWnd fields); only their units know how to free them.
struct TacProviderSeams {
  // Creates the provider's adapter (or refills the one it has) with the form's controls.
  void (*AdapterCreate)(TsSkinProvider* Provider) = nullptr;
  // Tells the adapter the skin is gone and frees it.
  void (*AdapterRemove)(TsSkinProvider* Provider) = nullptr;
  // Hands the adapter a copy of a message.
  void (*SendToAdapter)(TsSkinProvider* Provider, const TMessage& Message) = nullptr;
  // Frees the adapter without telling it anything (the provider is going away).
  void (*FreeAdapter)(TsSkinProvider* Provider) = nullptr;
  // Attaches or removes the form's skinned scroll bars.
  void (*UpdateFormScrolls)(TsSkinProvider* Provider, bool Repaint) = nullptr;
  // Frees the form's scroll object.
  void (*FreeScrollWnd)(TsSkinProvider* Provider) = nullptr;
};
extern TacProviderSeams acProviderSeams;

// ------------------------------------------------------------ unit state

extern bool bTitleBtnDown;                 // a caption element is pressed
extern TsSkinProvider* LastMDIChildProvider;
extern bool bMDIChildCreatedMaximized;
// The outline move and size of ResizeMode rmBorder.
struct TacOutline {
  bool InProcess = false;
  bool Capture = false;
  bool Moving = false;
  Integer HitCode = 0;                     // the dragged edge
  Integer Left = 0, Top = 0, Right = 0, Bottom = 0;
  TPoint Last;                             // the last mouse point
  Integer MinWidth = 0, MinHeight = 0;
  HDC DesktopDC = nullptr;
  Integer SavedDC = 0;
};
extern TacOutline acOutline;

// ------------------------------------------------------- frame metrics

Integer SysBorderWidth(HWND Wnd, TacBorderForm* BorderForm, bool UseSkin = true);
Integer SysBorderHeight(HWND Wnd, TacBorderForm* BorderForm, bool UseSkin = true);
Integer SysCaptHeight(TCustomForm* Form);
Integer SkinTitleHeight(TacBorderForm* BorderForm);
Integer SkinBorderWidth(TacBorderForm* BorderForm);
TPoint SkinMenuOffset(TsSkinProvider* Provider);
Integer DiffTitle(TacBorderForm* BorderForm);
Integer DiffBorder(TacBorderForm* BorderForm);
// Position := Target - Offset when |Offset + Position - Target| < Distance.
void SnapValue(Integer& Position, Integer Target, Integer Distance, Integer Offset);
bool ExtBordersWanted(TsSkinProvider* Provider);

// ------------------------------------------ region and support functions

bool IsBorderUnchanged(Integer Index, TsSkinManager* SkinManager);
void FillArOR(TsSkinProvider* Provider);
// The caller owns the region.
HRGN GetRgnFromArOR(TsSkinProvider* Provider, Integer X = 0, Integer Y = 0);
void UpdateRgn(TsSkinProvider* Provider, bool Repaint);
void ForbidDrawing(TsSkinProvider* Provider, bool MDIAlso = false);
void PermitDrawing(TsSkinProvider* Provider, bool MDIAlso = false);
void UpdateSkinCaption(TsSkinProvider* Provider);
TsSkinProvider* GetSkinProvider(TComponent* Component);
Integer GetWindowWidth(HWND Handle);
Integer GetWindowHeight(HWND Handle);
Integer GetClientWidth(HWND Handle);
Integer GetClientHeight(HWND Handle);
void RefreshMDIParent(bool WithBorders);
TWinControl* FindControlByID(Integer ID, TComponent* Component);
// Registers the main form's window with the skin editor when the program
// was started with "/acpreview" (a bounded wait for a hung editor).
void RegisterPreview(HWND Wnd);

// --------------------- the animation and composition functions of forms

#include "skin/forms/acDwm.h"
#include "skin/forms/sVclUtilsAnim.h"
