// What the skinned windowed buttons (TsButton, TsBitBtn) share of their look:
// which section state a button state shows and which colours their focus
// rectangle and caption shift take.
#pragma once

#include <algorithm>

#include "classlib/ui/Controls.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sSkinManager.h"

// The section state shown for the button state S (0 normal, 1 hot, 2 pressed,
// 3 default): the default look is the hot one on a section of fewer than four
// states; otherwise the state, as far as the section has states.
inline Integer ButtonSkinState(TsCommonData* SkinData, Integer S) {
  TsSkinManager* m = SkinData->GetSkinManager();
  if (!m || !m->IsValidSkinIndex(SkinData->SkinIndex)) return S;
  const Integer count = m->Sections[static_cast<size_t>(SkinData->SkinIndex)].StateCount;
  if (S == 3 && count < 4) return 1;
  return std::max(0, std::min(S, count - 1));
}

// The focus rectangle's colour: the font colour of the section's hot look,
// or of its normal look when the section has one state only.
inline TColor ButtonFocusColor(TsCommonData* SkinData) {
  TsSkinManager* m = SkinData->GetSkinManager();
  if (!m || !m->IsValidSkinIndex(SkinData->SkinIndex)) return clBtnText;
  const TsGeneralData& g = m->Sections[static_cast<size_t>(SkinData->SkinIndex)];
  return g.Props[static_cast<size_t>(std::clamp(g.StateCount - 1, 0, 1))].FontColor.Color;
}

// Whether a pressed button moves its caption and glyph by one pixel.
inline bool ShiftContent(TsCommonData* SkinData, bool Skinned) {
  TsSkinManager* m = SkinData->GetSkinManager();
  return !Skinned || (m && m->ButtonsOptions()->ShiftContentOnClick);
}

// Stores Value in Field; true when it changed.
template <class T, class V>
bool StoreChanged(T& Field, V Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}

// Redrawing of a window suspended for the life of the scope.
class TRedrawOff {
 public:
  explicit TRedrawOff(TWinControl* C) : FWnd(C->HandleAllocated() ? C->WindowHandle() : nullptr) {
    if (FWnd) SendMessageW(FWnd, WM_SETREDRAW, FALSE, 0);
  }
  ~TRedrawOff() {
    if (FWnd) SendMessageW(FWnd, WM_SETREDRAW, TRUE, 0);
  }
  TRedrawOff(const TRedrawOff&) = delete;
  TRedrawOff& operator=(const TRedrawOff&) = delete;

 private:
  HWND FWnd;
};

// The canvas's device context with its font and text colour selected and a
// clear background (the canvas selects them only for its own drawing).
inline HDC FontDC(TCanvas* Canvas) {
  HDC dc = Canvas->Handle();
  SelectObject(dc, Canvas->Font()->Handle());
  SetTextColor(dc, ColorToRGB(Canvas->Font()->Color()));
  SetBkMode(dc, TRANSPARENT);
  return dc;
}

// R grown by Dx on the left and right and Dy on the top and bottom.
inline void GrowRect(TRect& R, Integer Dx, Integer Dy) {
  R.Left -= Dx;
  R.Right += Dx;
  R.Top -= Dy;
  R.Bottom += Dy;
}
