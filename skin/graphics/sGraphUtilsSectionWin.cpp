// Section painters that meet device contexts: a section painted into a
// context through a bitmap of its own, and a whole bitmap painted by section
// name over a parent context's pixels.
#include "classlib/ui/PaintScope.h"
#include "skin/graphics/acPaintManager.h"
#include "skin/graphics/acScratchBitmap.h"
#include "skin/graphics/sGraphUtils.h"

void PaintItem(Integer SkinIndex, const AnsiString& SectionName, const TCacheInfo& CI, bool Filling, Integer State,
               const TRect& R, const TPoint& Offset, HDC DC, TsSkinManager* SkinManager) {
  TsSkinManager* manager = acManagerOr(SkinManager);
  if (!manager || !manager->IsValidSkinIndex(SkinIndex) || R.Left < 0 || R.Top < 0 || R.Width() < 1 || R.Height() < 1)
    return;
  TDCStateScope state(DC);
  const TacScratchBitmap bmp(R.Width(), R.Height());
  PaintItem(SkinIndex, SectionName, CI, Filling, State, bmp.Area(), Offset, bmp.Bitmap(), manager, -1, -1);
  BitBlt(DC, R.Left, R.Top, R.Width(), R.Height(), bmp.Bitmap()->Canvas()->Handle(), 0, 0, SRCCOPY);
}

Integer PaintSection(TacBitmap* Bmp, const AnsiString& Section, const AnsiString& SecondSection, Integer State,
                     TsSkinManager* Manager, const TPoint& ParentOffset, TColor BGColor, HDC ParentDC) {
  TsSkinManager* manager = acManagerOr(Manager);
  if (!manager) return -1;
  AnsiString name = Section;
  Integer index = manager->GetSkinIndex(name);
  if (!manager->IsValidSkinIndex(index)) {
    name = SecondSection;
    index = manager->GetSkinIndex(name);
  }
  if (!manager->IsValidSkinIndex(index) || !Bmp) return index;
  TCacheInfo ci;
  ci.FillColor = BGColor;
  if (ParentDC) {
    BitBlt(Bmp->Canvas()->Handle(), 0, 0, Bmp->Width(), Bmp->Height(), ParentDC, ParentOffset.X, ParentOffset.Y,
           SRCCOPY);
    ci.Bmp = Bmp;
    ci.Ready = true;
  }
  PaintItem(index, name, ci, true, State, Rect(0, 0, Bmp->Width(), Bmp->Height()), TPoint{}, Bmp, manager, -1, -1);
  return index;
}
