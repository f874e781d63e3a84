// Check boxes: the skin's glyphs when it has them, the system's otherwise.
#include "skin/core/sSkinManager.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

// The system's bitmap of check boxes: four across, three down.
constexpr int kObmCheckBoxes = 32759;

struct TCheckSize {
  Integer Width = 0, Height = 0;
  TCheckSize() {
    HBITMAP boxes = LoadBitmapW(nullptr, MAKEINTRESOURCEW(kObmCheckBoxes));
    BITMAP bm{};
    if (boxes && GetObjectW(boxes, sizeof bm, &bm)) {
      Width = bm.bmWidth >> 2;
      Height = bm.bmHeight / 3;
    }
    if (boxes) DeleteObject(boxes);
  }
};

// The default size, read once from the system.
const TCheckSize& DefaultCheckSize() {
  static const TCheckSize size;
  return size;
}
// Read at start-up, as the unit's other system values are.
[[maybe_unused]] const TCheckSize& kReadAtStart = DefaultCheckSize();

// The manager's check glyph (an index of its images), -1 without one.
Integer CheckGlyph(TsSkinManager* Manager, TacCheckGlyph Glyph) {
  if (!Manager) return -1;
  const Integer index = Manager->ConstData.CheckGlyphs[Glyph];
  return Manager->IsValidImgIndex(index) ? index : -1;
}

TacCheckGlyph GlyphOf(TCheckBoxState State, bool Small) {
  switch (State) {
    case cbChecked: return Small ? cgSmallChecked : cgBoxChecked;
    case cbGrayed: return Small ? cgSmallGrayed : cgBoxGrayed;
    default: return Small ? cgSmallUnchecked : cgBoxUnchecked;
  }
}

// The skin's glyph that sets the check box's size.
Integer SizeGlyph(TsSkinManager* Manager, bool Small) {
  if (!Manager || !Manager->Active()) return -1;
  return CheckGlyph(Manager, Small ? cgSmallChecked : cgBoxChecked);
}

}  // namespace

Integer CheckWidth(TsSkinManager* SkinManager, bool Small) {
  const Integer glyph = SizeGlyph(SkinManager, Small);
  return glyph >= 0 ? WidthOfImage(SkinManager->Masks[static_cast<size_t>(glyph)]) + 2 : DefaultCheckSize().Width;
}

Integer CheckHeight(TsSkinManager* SkinManager, bool Small) {
  const Integer glyph = SizeGlyph(SkinManager, Small);
  return glyph >= 0 ? HeightOfImage(SkinManager->Masks[static_cast<size_t>(glyph)]) : DefaultCheckSize().Height;
}

void acDrawCheck(const TRect& R, TCheckBoxState AState, bool AEnabled, TBitmap* Bmp, const TCacheInfo& CI,
                 TsSkinManager* SkinManager, bool Small) {
  if (!Bmp || Bmp->Empty()) return;
  // The small glyph of the state decides whether the skin draws check boxes.
  const bool skinned = CheckGlyph(SkinManager, GlyphOf(AState, true)) >= 0;
  const Integer cw = CheckWidth(SkinManager, Small), ch = CheckHeight(SkinManager, Small);
  const int w = R.Width(), h = R.Height();
  TRect box = skinned ? R : Rect(0, 0, w, h);
  if (!skinned) {
    // The background of the box's strip.
    if (CI.Ready && CI.Bmp)
      BitBlt(Bmp->Canvas()->Handle(), 0, 0, cw + 2, h, CI.Bmp->Canvas()->Handle(), CI.X + R.Left + 1,
             CI.Y + R.Top + 1, SRCCOPY);
    else
      FillDC(Bmp->Canvas()->Handle(), Rect(0, 0, cw + 2, h), CI.FillColor);
  }
  box.Left += (w - cw) / 2;
  box.Top += (h - ch) / 2;
  box.Right = box.Left + cw;
  box.Bottom = box.Top + ch;
  if (!skinned) {
    UINT state = AState == cbChecked ? DFCS_CHECKED : AState == cbGrayed ? DFCS_CHECKED | DFCS_BUTTON3STATE : 0;
    if (!AEnabled) state |= DFCS_INACTIVE;
    RECT rc{box.Left, box.Top, box.Right, box.Bottom};
    DrawFrameControl(Bmp->Canvas()->Handle(), &rc, DFC_BUTTON, state);
    return;
  }
  box.Top = (h - ch) / 2;
  const Integer glyph = CheckGlyph(SkinManager, GlyphOf(AState, Small));
  if (glyph >= 0)
    DrawSkinGlyph(Bmp, Point(box.Left, box.Top), 0, AEnabled ? 1 : 2, SkinManager->Masks[static_cast<size_t>(glyph)],
                  CI);
}
