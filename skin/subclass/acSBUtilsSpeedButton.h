// The skin of a class-library speed button (a control without a window) on a
// form skinned through its control adapter: the handler takes the place of
// the button's WindowProc and paints it from the skin whenever the class
// library asks it to paint, until the skin goes, the button's parent window
// is destroyed or the handler is freed.
#pragma once

#include "skin/subclass/acSBUtils.h"

class TacSpeedButtonHandler : public TObject {
  DK_CLASS(TacSpeedButtonHandler, TObject)
 public:
  // SkinData belongs to the caller (the adapter's item); Manager nullptr:
  // the skin data's manager. The last flag is not used.
  TacSpeedButtonHandler(TControl* AControl, TsCommonData* ASkinData, TsSkinManager* AManager,
                        const AnsiString& SkinSection, bool Unused = true);
  ~TacSpeedButtonHandler() override;

  void acWndProc(TMessage& Message);
  LRESULT CallPrevWndProc(UINT Msg, WPARAM WParam, LPARAM& LParam);
  void AC_WMPaint(TMessage& Message);
  void PrepareCache();
  // 2 pressed, 1 hot, 0 normal.
  Integer CurrentState() const;
  AnsiString Caption() const;
  TSize TextRectSize() const;
  Integer GlyphWidth() const;
  Integer GlyphHeight() const;
  TRect ImgRect() const;
  TRect CaptionRect() const;
  void DrawGlyph();
  void DrawCaption();
  void DoDrawText(TRect& R, Cardinal Flags);

  TControl* Control = nullptr;
  bool HookSign = false;
  TWndMethod SavedWindowProc;
  TsSkinManager* Manager = nullptr;
  TsCommonData* SkinData = nullptr;
  Byte Unhooked = 0;

 private:
  // Glyph and caption move by a pixel while pressed (with the skin's option).
  bool Shifted() const;
  void GiveBack();
};
