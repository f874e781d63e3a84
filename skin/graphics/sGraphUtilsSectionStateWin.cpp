// The section painters of a control: the section, textures, custom colour
// and tint of its skin state, with the background given or asked of the
// control's parent.
#include "skin/core/acntUtils.h"
#include "skin/core/sCommonData.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/graphics/acSectionLook.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

using namespace acsection;

namespace {

// A border image whose fill mode has this bit is not drawn in the normal state.
constexpr SmallInt kNoNormalBorder = 0x2;

// The colour a skin state paints instead of its section (0xFF00FF: none).
TColor CustomColorOf(const TsCommonData* S) {
  if (!S->CustomColor()) return sFuchsia;
  if (auto* p = dynamic_cast<TsSkinProvider*>(S->OwnerObject); p && p->Form) return ColorToRGB(p->Form->Color());
  if (S->OwnerControl) return ColorToRGB(S->OwnerControl->Color());
  return sFuchsia;
}

// The manager and section of a skin state that may paint into R of Target.
const TsGeneralData* PaintableSection(const TsCommonData* S, const TRect& R, TacBitmap* Target) {
  TsSkinManager* m = S ? S->GetSkinManager() : nullptr;
  if (!m || !m->IsValidSkinIndex(S->SkinIndex) || !Target) return nullptr;
  if (R.Left < 0 || R.Top < 0 || R.Right > BitmapWidth(Target) || R.Bottom > BitmapHeight(Target)) return nullptr;
  return &m->Sections[static_cast<size_t>(S->SkinIndex)];
}

// The state's border image over R, unless the image hides itself in the
// normal state; true when it was drawn.
bool DrawBorder(TsCommonData* S, const TCacheInfo& CI, Integer State, const TRect& R, TacBitmap* Target,
                bool UpdateCorners) {
  const TsMaskData* border = Image(S->GetSkinManager(), S->BorderIndex);
  if (!border || (State == 0 && (border->FillMode & kNoNormalBorder))) return false;
  DrawSkinRect(Target, R, CI, *border, State, UpdateCorners);
  return true;
}

}  // namespace

void PaintItemBG(TsCommonData* SkinData, const TCacheInfo& CI, Integer State, const TRect& R, const TPoint& Offset,
                 TacBitmap* ItemBmp, Integer, Integer) {
  TsSkinManager* m = SkinData ? SkinData->GetSkinManager() : nullptr;
  if (!m || !m->IsValidSkinIndex(SkinData->SkinIndex)) return;
  State = ReducedState(m->Sections[static_cast<size_t>(SkinData->SkinIndex)], State);
  PaintItemBG(SkinData->SkinIndex, SkinData->SkinSection(), CI, State, R, Offset, ItemBmp, m, SkinData->Texture,
              SkinData->HotTexture, CustomColorOf(SkinData));
}

void PaintItem(TsCommonData* SkinData, const TCacheInfo& CI, bool, Integer State, const TRect& R, const TPoint& Offset,
               TacBitmap* ItemBmp, bool UpdateCorners, Integer TextureIndex, Integer HotTextureIndex) {
  const TsGeneralData* section = PaintableSection(SkinData, R, ItemBmp);
  if (!section) return;
  TsSkinManager* m = SkinData->GetSkinManager();
  State = ReducedState(*section, State);
  PaintItemBG(SkinData, CI, State, R, Offset, ItemBmp, TextureIndex, HotTextureIndex);
  DrawCornerImages(m, *section, State, R, ItemBmp);
  const bool bordered = DrawBorder(SkinData, Moved(CI, Offset), State, R, ItemBmp, UpdateCorners);
  if (!bordered && section->Props[static_cast<size_t>(LookOf(State))].Transparency != 0) return;
  // The tint goes over the whole bitmap: the control's image is all of it.
  if (SkinData->ColorTone() != clNoColor)
    ChangeBitmapPixels(ItemBmp, &ChangeColorTone, static_cast<Integer>(SkinData->ColorTone()), sFuchsia);
  if (SkinData->HUEOffset() != 0) ChangeBitmapPixels(ItemBmp, &ChangeColorHUE, SkinData->HUEOffset(), sFuchsia);
  if (SkinData->Saturation() != 0)
    ChangeBitmapPixels(ItemBmp, &ChangeColorSaturation, SkinData->Saturation(), sFuchsia);
}

bool PaintSkinControl(TsCommonData* SkinData, TControl* Parent, bool, Integer State, const TRect& R,
                      const TPoint& Offset, TacBitmap* ItemBmp, bool UpdateCorners, Integer TextureIndex,
                      Integer HotTextureIndex) {
  const TsGeneralData* section = PaintableSection(SkinData, R, ItemBmp);
  if (!section) return true;
  State = ReducedState(*section, State);
  TacBGInfo info;
  info.PleaseDraw = false;
  if (Parent) GetBGInfo(&info, Parent, false);
  if (info.BgType == btNotReady) return false;
  TCacheInfo ci = BGInfoToCI(&info);
  PaintItemBG(SkinData, ci, State, R, Offset, ItemBmp, TextureIndex, HotTextureIndex);
  DrawBorder(SkinData, Moved(ci, Offset), State, R, ItemBmp, UpdateCorners);
  DrawCornerImages(SkinData->GetSkinManager(), *section, State, R, ItemBmp);
  return true;
}
