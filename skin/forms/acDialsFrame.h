// The skinned frame of a system dialog (message boxes, the common dialogs):
// caption, borders and title buttons painted from the skin's "DIALOG"
// section into the cache, the client background from the same section, hit
// tests of its own title buttons and its own system menu. The automatic
// provider (acDials) attaches it and frees it after the dialog is gone.
#pragma once

// The subclass base first: it brings the class library before windows.h.
#include "skin/subclass/acSBUtils.h"

#include <memory>

#include "skin/forms/acDials.h"

class TacSystemMenu;

DK_ENUM(TacBorderStyle, acbsDialog, acbsSingle, acbsNone, acbsSizeable, acbsToolWindow, acbsSizeToolWin);

class TacDialogWnd : public TacScrollWnd {
  DK_CLASS(TacDialogWnd, TacScrollWnd)
 public:
  TacDialogWnd() = default;
  ~TacDialogWnd() override;
  void AfterCreation() override;
  void acWndProc(TMessage& Message) override;

  // Reads the style (before WS_SYSMENU leaves the live one), the border
  // style, the icon and the caption font.
  void InitParams();
  // Whether the hook may free the frame: the window is gone and no message
  // of it is being handled.
  bool Releasable() const;

  // ------------------------------------------------------------ metrics
  Integer CaptionHeight(bool Skinned) const;
  Integer HeaderHeight() const;
  Integer BorderHeight() const;
  Integer BorderWidth() const;
  Integer OffsetX() const;
  Integer OffsetY() const;
  TRect IconRect() const;
  Integer SysButtonWidth(const TsCaptionButton& Btn) const;
  Integer ButtonHeight(Integer ImageIndex) const;
  Integer TitleBtnsWidth() const;

  // ------------------------------------------------------------ states
  bool VisibleClose() const { return SavedStyle & WS_SYSMENU; }
  bool VisibleMax() const { return SavedStyle & WS_MAXIMIZEBOX; }
  bool VisibleMin() const { return SavedStyle & WS_MINIMIZEBOX; }
  bool VisibleHelp() const { return SavedExStyle & WS_EX_CONTEXTHELP; }
  bool VisibleRestore() const;
  bool EnabledClose() const;
  bool EnabledMax() const;
  bool EnabledMin() const;
  bool EnabledRestore() const;

  // ------------------------------------------------------------ painting
  void UpdateIconsIndexes();
  void PaintAll();
  void PaintCaption(HDC DC);
  void PaintForm(HDC DC);
  void PaintBorderIcons();
  void RepaintButton(Integer HitCode);
  void Ac_WMPaint(HDC DC);
  void Ac_WMNCPaint();
  void UpdateRgn(bool Repaint);

  // ------------------------------------------------------------ mouse
  Integer HTProcess(TMessage& Message);
  void Ac_WMNCHitTest(TMessage& Message);
  void SetHotHT(Integer HitCode, bool Repaint = true);
  void SetPressedHT(Integer HitCode);
  void Ac_WMNCLButtonDown(TMessage& Message);
  void Ac_WMLButtonUp(TMessage& Message, Integer HitCode);
  void DropSysMenu(Integer X, Integer Y);
  TsCaptionButton* ButtonOf(Integer HitCode);

  // The brush of WM_CTLCOLORDLG: one per frame, remade when the skin changes.
  HBRUSH DialogBrush();

  TAOR RegionRects;
  Integer HotHitCode = 0;
  bool FormActive = true;
  bool PaintBlocked = false;
  Integer CaptionIndex = -1;
  bool ChildrenTaken = false;
  TsCaptionButton ButtonMin, ButtonMax, ButtonClose, ButtonHelp;
  TRect LastClientRect;
  HICON TitleIcon = nullptr;
  Cardinal FormState = 0;
  DWORD SavedStyle = 0, SavedExStyle = 0;
  bool RgnChanged = true;
  TRect DlgWindowRect;
  TSize DlgWindowSize;
  TacBorderStyle BorderStyle = acbsSingle;
  std::unique_ptr<TacBitmap> TitleBG;   // the title strip of the cache without buttons
  TacSystemMenu* SystemMenu = nullptr;  // owned
  TacProvider* Provider = nullptr;
  Integer TitleIndex = -1;
  AnsiString TitleSection;

 private:
  void PaintTitle(TacBitmap* Cache, Integer TitleHeight);
  void PaintButton(TsCaptionButton& Btn, Integer Image, bool Enabled);
  void HandleSize(TMessage& Message);
  bool HandleAlphaCmd(TMessage& Message);
  void TakeChildren();

  HBRUSH FBrush = nullptr;
  Integer FInProc = 0;  // nested messages being handled
};

// Whether the pressed flag of the title buttons is set (one for all frames).
bool acDialogButtonPressed();
