// Subclass objects of the static and button families: static texts, framed
// and plain icon or bitmap statics, links, the class library's static text
// controls, push buttons, check boxes and radio buttons, group boxes and the
// size grip. Each paints into the cache bitmap of its skin state on top of
// the parent's background and copies the cache to the window.
#pragma once

#include "skin/subclass/acSBUtils.h"

// ------------------------------------------------------------ statics

// A plain static text control repainted over its parent's skinned background.
class TacStaticWnd : public TacMainWnd {
  DK_CLASS(TacStaticWnd, TacMainWnd)
 public:
  void AfterCreation() override;
  void acWndProc(TMessage& Message) override;
  // Paints the control into the message's DC (the window DC when it has none).
  virtual void AC_WMPaint(TMessage& Message);
  // Draws the content into the cache; whether the cache goes to the screen.
  virtual bool PaintText();

 protected:
  // The geometry, the cache of the window's size and the section over the
  // parent's background.
  void BuildCache();
};

// An icon or bitmap static with the static edge: the system draws it, a
// skinned two-pixel frame is laid over it.
class TacEdgeWnd : public TacStaticWnd {
  DK_CLASS(TacEdgeWnd, TacStaticWnd)
 public:
  void acWndProc(TMessage& Message) override;
  void AC_WMPaint(TMessage& Message) override;
};

// An icon or bitmap static over the skinned background. The control keeps its
// own image: the object only reads it (a copy is made for painting), so
// nothing of the control's is ever deleted here.
class TacIconWnd : public TacStaticWnd {
  DK_CLASS(TacIconWnd, TacStaticWnd)
 public:
  ~TacIconWnd() override;
  void AfterCreation() override;
  bool PaintText() override;

  bool IsBitmap = false;
  TBitmap* ImageBmp = nullptr;    // our copy of the control's bitmap

 private:
  HBITMAP FImageSource = nullptr;  // the control's bitmap the copy was made of
};

// A link control's text, underlined, without its anchor tags.
class TacLinkWnd : public TacStaticWnd {
  DK_CLASS(TacLinkWnd, TacStaticWnd)
 public:
  void acWndProc(TMessage& Message) override;
  bool PaintText() override;
};

// A class-library static text control painted wholly from the skin.
class TacStaticTextWnd : public TacMainWnd {
  DK_CLASS(TacStaticTextWnd, TacMainWnd)
 public:
  void AfterCreation() override;
  void acWndProc(TMessage& Message) override;
  void AC_WMPaint(HDC DC);
  void AC_WMNCPaint(HDC DC);
  bool PrepareCache();
  void WriteText(TRect R, TCanvas* Canvas);

  TWinControl* TextControl = nullptr;
};

// The section a static text control takes from its bevels.
AnsiString StaticTextSection(Integer BevelKind, Integer BevelOuter, Integer BevelInner);

// ------------------------------------------------------------ buttons

// Push buttons. States: 0 normal, 1 hot, 2 pressed, 3 default.
class TacBtnWnd : public TacMainWnd {
  DK_CLASS(TacBtnWnd, TacMainWnd)
 public:
  void AfterCreation() override;
  void RestoreStdParams() override { TacMainWnd::RestoreStdParams(); }
  void SetSkinParams() override { TacMainWnd::SetSkinParams(); }
  void acWndProc(TMessage& Message) override;
  virtual Integer CurrentState();
  virtual void DrawGlyph() {}
  virtual TSize GlyphSize() { return TSize{0, 0}; }
  virtual void CaptionRect(TRect& R);
  virtual Integer MaxCaptionWidth();

  void AC_WMPaint(TMessage& Message);
  void PrepareCache();
  LONG CtrlStyle() const { return static_cast<LONG>(GetWindowLongPtrW(WndHandle, GWL_STYLE)); }
  bool Down() const { return (SendMessageW(WndHandle, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }
  void DrawCaption();
  void DoDrawText(TRect& R, Cardinal Flags);
  TSize TextRectSize();
  void Repaint() { RedrawWindow(WndHandle, nullptr, nullptr, RDW_UPDATENOW | RDW_INVALIDATE); }
};

// Check boxes and radio buttons, with the skin's glyphs of "GLOBALINFO".
class TacCheckBoxWnd : public TacMainWnd {
  DK_CLASS(TacCheckBoxWnd, TacMainWnd)
 public:
  void AfterCreation() override;
  void acWndProc(TMessage& Message) override;
  void AC_WMPaint(TMessage& Message);
  void PrepareCache();
  void DrawCheckText();
  void CheckRect(TRect& R);
  Integer CtlState();
  // 0 unchecked, 1 checked, 2 indeterminate.
  Integer State();
  Integer GlyphMaskIndex(Integer AState);
  void SkinCheckRect(Integer MaskIndex, TRect& R);
  Integer SkinGlyphWidth(Integer MaskIndex);
  Integer SkinGlyphHeight(Integer MaskIndex);
  void DrawSkinGlyph(Integer MaskIndex);

  bool OwnerDrawn = false;
};

// Group boxes: a caption strip over the frame.
class TacGroupBoxWnd : public TacMainWnd {
  DK_CLASS(TacGroupBoxWnd, TacMainWnd)
 public:
  void AfterCreation() override;
  void acWndProc(TMessage& Message) override;
  void AC_WMPaint(TMessage& Message);
  void PrepareCache();
  void CaptionRect(TRect& R);
  void WriteText(TRect R);
};

// The size grip of a scroll-bar control with SBS_SIZEGRIP.
class TacSizerWnd : public TacMainWnd {
  DK_CLASS(TacSizerWnd, TacMainWnd)
 public:
  void AfterCreation() override;
  void acWndProc(TMessage& Message) override;
  void AC_WMPaint(TMessage& Message);
};

// The button style each check box writes before it paints (its glyphs follow it).
extern LONG acCheckStyle;
