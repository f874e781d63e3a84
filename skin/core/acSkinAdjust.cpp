#include "skin/core/acSkinAdjust.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "skin/core/acntUtils.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

// The palette entries hue and saturation change (brightness changes none).
const TacPaletteColors kShiftedPalette[] = {
    pcMainColor,      pcLabelText,          pcWebText,         pcEditText,          pcEditBG,
    pcSelectionBG,    pcSelectionText,      pcSelectionBG_Focused, pcSelectionText_Focused, pcEditBG_Inverted,
    pcEditText_Inverted, pcEditBG_OddRow,   pcEditBG_EvenRow,  pcBorder};

template <class Fn>
void ChangeColor(TColor& c, Fn fn) {
  if (c != -1) c = fn(c);
}

// Every section's colours in both states; the gradient colours always, or
// only where the state has a gradient.
template <class Fn>
void ChangeSections(TacSkinTables& skin, bool gradientsOnlyWhenUsed, Fn fn) {
  for (TsGeneralData& s : skin.Sections)
    for (TsGenState& st : s.Props) {
      if (!gradientsOnlyWhenUsed || st.GradientPercent > 0)
        for (TsGradPie& pie : st.GradientArray) {
          pie.Color1 = fn(pie.Color1);
          pie.Color2 = fn(pie.Color2);
        }
      ChangeColor(st.Color, fn);
      ChangeColor(st.GlowColor, fn);
      ChangeColor(st.FontColor.Color, fn);
      ChangeColor(st.FontColor.Left, fn);
      ChangeColor(st.FontColor.Top, fn);
      ChangeColor(st.FontColor.Right, fn);
      ChangeColor(st.FontColor.Bottom, fn);
    }
}

template <class Fn>
void ChangePalette(TacSkinTables& skin, Fn fn) {
  skin.CommonSkinData.Shadow1Color = fn(skin.CommonSkinData.Shadow1Color);
  for (TacPaletteColors p : kShiftedPalette) skin.Palette[p] = fn(skin.Palette[p]);
}

// The lower half of a rectangle (an image's mask row).
TRect LowerHalf(const TRect& r) {
  const Integer half = HeightOf(r) / 2;
  return TRect{r.Left, r.Top + half, r.Right, r.Top + half + half};
}

// The pixels of R saved, to be put back after the whole bitmap changed.
struct TSavedRect {
  std::unique_ptr<TacBitmap> Pixels;
  TRect R;
  TSavedRect(TacBitmap* from, const TRect& r) : Pixels(CreateBmp32(WidthOf(r, true), HeightOf(r, true))), R(r) {
    CopyPixels32(Pixels.get(), 0, 0, from, r);
  }
  void Restore(TacBitmap* to) const { CopyPixels32(to, R.Left, R.Top, Pixels.get(), Rect(0, 0, R.Width(), R.Height())); }
};

}  // namespace

void ChangeSkinHue(TacSkinTables& Skin, Integer Value) {
  if (Value == 0) return;
  const Integer keepHue = Skin.CommonSkinData.BIKeepHue;
  std::vector<Integer> kept;
  std::vector<TSavedRect> keptAreas;
  if (keepHue >= 1) {
    // The title buttons keep their colours: those with a bitmap of their own
    // are left out below, those in the master keep their area of it.
    std::vector<const char*> names = {"BICONCLOSE", "BICLOSEALONE", "SICONCLOSE"};
    // All eleven, the small help button included.
    if (keepHue == 1)
      for (const char* n :
           {"BICONMAX", "BICONMIN", "BICONNORM", "BICONHELP", "SICONMAX", "SICONMIN", "SICONNORM", "SICONHELP"})
        names.push_back(n);
    for (const char* name : names) {
      const Integer i = Skin.GetMaskIndex("GLOBALINFO", name);
      if (i < 0) continue;
      const TsMaskData& md = Skin.Masks[static_cast<size_t>(i)];
      if (md.Bitmap) {
        kept.push_back(i);
        const Integer glow = Skin.GetMaskIndex("GLOBALINFO", AnsiString(name) + "GLOW0");
        if (glow >= 0) kept.push_back(glow);
      } else {
        keptAreas.emplace_back(Skin.MasterBitmap.get(), md.SrcRect);
      }
    }
  }
  ChangeBitmapPixels(Skin.MasterBitmap.get(), ChangeColorHUE, Value, sFuchsia);
  for (const TSavedRect& area : keptAreas) area.Restore(Skin.MasterBitmap.get());
  for (size_t i = 0; i < Skin.Masks.size(); ++i) {
    if (!Skin.Masks[i].Bitmap) continue;
    if (keepHue >= 1 && std::find(kept.begin(), kept.end(), static_cast<Integer>(i)) != kept.end()) continue;
    ChangeBitmapPixels(Skin.Masks[i].Bitmap.get(), ChangeColorHUE, Value, sFuchsia);
  }
  auto hue = [Value](TColor c) { return ChangeHue(Value, c); };
  ChangeSections(Skin, true, hue);
  ChangePalette(Skin, hue);
}

void ChangeSkinSaturation(TacSkinTables& Skin, Integer Value) {
  if (Value == 0) return;
  const Integer v = LimitIt(Value * 255 / 100, -255, 255);
  ChangeBitmapPixels(Skin.MasterBitmap.get(), ChangeColorSaturation, v, sFuchsia);
  for (TsMaskData& md : Skin.Masks)
    if (md.Bitmap) ChangeBitmapPixels(md.Bitmap.get(), ChangeColorSaturation, v, sFuchsia);
  auto saturation = [v](TColor c) { return ChangeSaturation(c, v); };
  ChangeSections(Skin, false, saturation);
  ChangePalette(Skin, saturation);
}

void ChangeSkinBrightness(TacSkinTables& Skin, Integer Value) {
  if (Value == 0) return;
  // Mask rows keep their values: those in the master from a copy taken first.
  std::vector<TSavedRect> masks;
  for (const TsMaskData& md : Skin.Masks)
    if (!md.Bitmap && md.MaskKind == 1) masks.emplace_back(Skin.MasterBitmap.get(), LowerHalf(md.SrcRect));
  ChangeBitmapPixels(Skin.MasterBitmap.get(), ChangeColorBrightness, Value, sFuchsia);
  for (const TSavedRect& m : masks) m.Restore(Skin.MasterBitmap.get());

  for (TsMaskData& md : Skin.Masks) {
    if (!md.Bitmap) continue;
    if (md.MaskKind != 0) {
      TSavedRect mask(md.Bitmap.get(), LowerHalf(md.SrcRect));
      ChangeBitmapPixels(md.Bitmap.get(), ChangeColorBrightness, Value, sFuchsia);
      mask.Restore(md.Bitmap.get());
    } else {
      ChangeBitmapPixels(md.Bitmap.get(), ChangeColorBrightness, Value, sFuchsia);
      if (Value > 0) {
        if (Skin.CommonSkinData.Version < 7.45)
          UpdateTransPixels(md.Bitmap.get());
        else
          UpdateAlpha(md.Bitmap.get());
      }
    }
  }
  ChangeSections(Skin, false, [Value](TColor c) { return ChangeBrightness(c, Value); });
}
