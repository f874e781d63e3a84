// Edit-like subclass objects: windows that draw their own client area and get
// a skinned frame and skinned scroll bars (edits, memos, list boxes, combo
// lists), scroll boxes and panels of other component sets, combo boxes and
// the native tree view.
#pragma once

#include "skin/subclass/acSBUtils.h"

// Common handling of windows with a client area of their own, a skinned
// frame and skinned scroll bars.
class TacBaseWnd : public TacScrollWnd {
  DK_CLASS(TacBaseWnd, TacScrollWnd)
 public:
  void acWndProc(TMessage& Message) override;
};

// Edits, memos, list boxes and combo lists: the frame from the skin section
// (default "EDIT"), the section's colours given to the control.
class TacEditWnd : public TacBaseWnd {
  DK_CLASS(TacEditWnd, TacBaseWnd)
 public:
  void Create(HWND Wnd, TsCommonData* ASkinData, TsSkinManager* AManager, const TacSkinParams& Params,
              bool Repaint = true) override;
  void SaveStdParams() override;
  void RestoreStdParams() override;
  void SetSkinParams() override;
  void acWndProc(TMessage& Message) override;

  // The client rectangle in window coordinates, computed on first use.
  TRect ClientRect();
  // The skin commands of edit-like windows; true when handled.
  bool HandleEditCmd(TMessage& Message);

  TRect ClientRectCache{0, -1, 0, 0};
  bool IsSingleLine = false;
  TColor EditColor = clWindow;
  TColor SavedFocusColor = clNone;
  TColor EditFrameColor = 0;
  bool AdapterRefreshPending = false;

 protected:
  // Whether the theme stays on for this class (grids, virtual trees, combo
  // lists made without repaint).
  virtual bool KeepsTheme(bool Repaint) const { return false; }
  void PaintNC();
  void PrintEdit(TMessage& Message);
};

// Scroll boxes and panels of other component sets: the whole window from
// the skin section (default "PANEL_LOW").
class TacScrollBoxWnd : public TacScrollWnd {
  DK_CLASS(TacScrollBoxWnd, TacScrollWnd)
 public:
  void AfterCreation() override;
  void acWndProc(TMessage& Message) override;
  void AC_WMPaint(HDC DC);
  void AC_WMNCPaint(HDC DC);
  void PrepareBoxCache();
};

// As the scroll box, but the window paints itself: only the cache for the
// children's backgrounds is kept (default section "TRANSPARENT").
class TacNativePaint : public TacScrollBoxWnd {
  DK_CLASS(TacNativePaint, TacScrollBoxWnd)
 public:
  void AfterCreation() override;
  void acWndProc(TMessage& Message) override;
};

// ------------------------------------------------------------ combo boxes

class TacComboListWnd;

// A combo box: its frame from the cache of its section, its drop-down button
// from "COMBOBTN", and the subclass and colours of its list.
class TacComboBoxWnd : public TacEditWnd {
  DK_CLASS(TacComboBoxWnd, TacEditWnd)
 public:
  ~TacComboBoxWnd() override;
  void AfterCreation() override;
  void acWndProc(TMessage& Message) override;
  virtual void ButtonRect(TRect& R);

  Integer ButtonHeight();
  void PaintButton(HDC DC);
  void RepaintButton();
  void PaintText();
  void PrepareSimple();
  bool EasyComboBox() const;
  bool DroppedDown() const;
  void Invalidate() {}
  // The brush the list is painted with (nullptr while the list keeps the
  // system's colours).
  HBRUSH ListBrush() const { return FListBrush; }

  HWND ListWindow = nullptr;
  TacComboListWnd* ListSubclass = nullptr;
  bool InCtlColor = false;

 private:
  void SetupList(TMessage& Message);
  // The list's colours on its DC and the one brush of the list; false while
  // the list keeps the system's colours.
  bool ListColors(HDC DC);
  void FreeListBrush();
  void FreeList();
  void DeselectEditText();
  LONG ComboStyle() const { return static_cast<LONG>(GetWindowLongPtrW(WndHandle, GWL_STYLE)); }

  HBRUSH FListBrush = nullptr;
  TColor FListBrushColor = clNone;
};

// The drop-down list of a combo box ("ComboLBox"): a flat frame and skinned
// scroll bars.
class TacComboListWnd : public TacEditWnd {
  DK_CLASS(TacComboListWnd, TacEditWnd)
 public:
  ~TacComboListWnd() override;
  // Attaches to a list; Simply: the list of a simple-style combo.
  void CreateList(HWND AHandle, TsCommonData* ASkinData, TsSkinManager* ASkinManager, const AnsiString& SkinSection,
                  bool Repaint, bool Simply);
  void AfterCreation() override;
  void SetSkinParams() override;
  void acWndProc(TMessage& Message) override;

  bool Tracking = false;
  bool SimpleList = false;

 protected:
  bool KeepsTheme(bool Repaint) const override { return !Repaint; }

 private:
  void PrepareListCache();
  bool FInSetSkinParams = false;
};

// Whether a combo box subclassed here has its list dropped down.
extern bool ComboDroppedDown;

// ------------------------------------------------------------ tree view

class TacTreeViewWnd : public TacEditWnd {
  DK_CLASS(TacTreeViewWnd, TacEditWnd)
 public:
  void Create(HWND Wnd, TsCommonData* ASkinData, TsSkinManager* AManager, const TacSkinParams& Params,
              bool Repaint = true) override;
  void RestoreStdParams() override;
  void SetSkinParams() override;
  void acWndProc(TMessage& Message) override;
};
