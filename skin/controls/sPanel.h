// The skinned panel, and the pattern every skinned window control follows:
//
//  - it owns its skin state (sSkinnedControl.h), resolved when construction
//    or streaming ends;
//  - its window procedure answers the skin command (new, removed and
//    repainted skins, the "hooked" query, children's background queries,
//    cache rebuilds, parent-updated notices) and hands every other message to
//    the skin state's CommonWndProc and then to the class library;
//  - it renders itself once into its 32-bit cache (PrepareCache) and copies
//    the cache on every paint (OurPaint); the cache is rebuilt only when the
//    skin state's background-changed flag says so;
//  - without a usable skin (no manager, no section, no window or parent) it
//    is the class library's panel in look and behaviour.
//
// A transparent or custom-coloured panel keeps no image of its own: it draws
// its border strips from the skin and the rest from its parent's background
// (or its colour) straight onto the screen.
#pragma once

#include "classlib/ui/ExtCtrls.h"
#include "skin/controls/sSkinnedControl.h"

// The owner's own drawing on a panel (into its cache when skinned).
using TPaintEvent = TClosure<void(TObject* Sender, TCanvas* Canvas)>;

using TsPanelBase = TsSkinnedControl<TPanel, TsCommonData, COC_TsPanel>;

class TsPanel : public TsPanelBase {
  DK_CLASS(TsPanel, TsPanelBase)
 public:
  using TsPanelBase::TsPanelBase;

  void WndProc(TMessage& Message) override;
  // Renders the whole panel into the cache: the parent's background under
  // it, the section, the border and corner images, the children's outer
  // effects, the caption and OnPaint. False (nothing built) when the panel
  // is not drawn through a cache, or while the parent's background is not
  // ready (the paint is then replayed by the parent's notice).
  virtual bool PrepareCache();
  // Paints the skinned panel onto DC (nullptr: its canvas); with SendUpdated
  // the children hear at the end that their parent is painted.
  virtual void OurPaint(HDC DC = nullptr, bool SendUpdated = true);
  // The caption in the section's font colours on the canvas (or on a canvas
  // over DC), laid out in R as the skinned panel lays it out.
  void WriteText(TRect R, TCanvas* ACanvas = nullptr, HDC DC = nullptr);
  // The grab strips of the docked clients of a dock site, with their
  // captions and close glyphs.
  void PaintDragPanel(HDC DC);

  // The width of the frame of bevels and border inside the panel's edges.
  int InnerFrame() const { return BorderSize(); }

  TPaintEvent OnPaint;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 protected:
  void Loaded() override;
  // The class library's panel, then OnPaint (the unskinned look).
  void Paint() override;
  void PaintWindow(HDC DC) override;

 private:
  void SkinCommand(TMessage& Message, bool& Done);
  void SkinnedMessage(TMessage& Message);
  void PlainMessage(TMessage& Message);
  // CommonWndProc, then the class library unless it answered.
  void DefaultProcessing(TMessage& Message);
  void AnswerBGInfo(PacBGInfo Info);
  void PaintMessage(TMessage& Message);
  void EraseMessage(TMessage& Message);
  void PrintMessage(TMessage& Message);
  // Paints through the cache (false: the paint ended early, no notice).
  bool PaintCached(HDC DC);
  // Paints a transparent or custom-coloured panel straight onto DC (false:
  // the parent's background was not ready).
  bool PaintDirect(HDC DC, bool OwnCanvas);
  void FollowBevel();
  bool PaintCopy() const { return ControlState().Contains(csPaintCopy); }
  bool DrawsThroughCache();
  // A panel with its own drawing (OnPaint) or dock strips keeps a cache.
  void KeepOwnDrawingCached();
  void RepaintNow();

  // The BevelOuter for which the section was last chosen.
  TBevelCut FOldBevel = bvRaised;
};

DK_LINK_UNIT(sPanel)
