// The section painters: a skin section's fill (colour, gradient, texture)
// over the parent's background as far as the section is transparent, then
// its corner images and its border image.
#include "skin/core/acntUtils.h"
#include "skin/graphics/Sgradient.h"
#include "skin/graphics/acScratchBitmap.h"
#include "skin/graphics/acSectionLook.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

using namespace acsection;

void acsection::DrawCornerImages(TsSkinManager* Manager, const TsGeneralData& Section, Integer State, const TRect& R,
                                 TacBitmap* Target) {
  const TCacheInfo itself = MakeCacheInfo(Target, 0, 0);
  for (int corner = 0; corner < 4; ++corner) {
    const TsMaskData* image = Image(Manager, Section.CornerImages[static_cast<size_t>(corner)]);
    if (!image) continue;
    const Integer w = WidthOfImage(*image), h = HeightOfImage(*image);
    const bool right = corner == 1 || corner == 3, bottom = corner >= 2;
    const TPoint at{right ? R.Right - w : R.Left, bottom ? R.Bottom - h : R.Top};
    DrawSkinGlyph(Target, at, State, 1, *image, itself);
  }
}

namespace {

// What a section's fill F paints and where its texture comes from.
struct TFill {
  TsSkinManager* Manager = nullptr;
  const TCacheInfo* CI = nullptr;
  TColor Color = 0;  // C
  Integer T = 0, IP = 0, GP = 0;
  const TsGenState* Look = nullptr;  // its gradient
  Integer Texture = -1;
  bool Pattern = false;  // the texture is one of the manager's pictures
  // The reduced painter: no shortcut of texture and gradient; a colour
  // share of 0 or above 100 fills with ZeroShare.
  bool Fast = false;
  TColor ZeroShare = 0;
};

// C over R: at alpha 255 on a 32-bit bitmap, as a solid brush on any other.
void FillColour(TacBitmap* B, const TRect& R, TColor Color) {
  if (Bitmap32(B))
    FillRect32(B, R, Color, 255);
  else
    FillBitmapRect(B, R, Color);
}

bool TextureGradientShortcut(const TFill& f, TacBitmap* B, const TRect& Rf) {
  if (f.Fast || f.Pattern || f.IP + f.GP != 100 || f.GP < 1 || f.GP > 99) return false;
  const TsMaskData* image = Image(f.Manager, f.Texture);
  const TsGradArray& grad = f.Look->GradientArray;
  if (!image || image->FillMode != 0 || grad.empty() || grad[0].Mode >= 2) return false;
  PaintGradTxt(B, Rf, grad, ImageBitmap(*image), image->SrcRect, static_cast<Byte>(f.IP * 255 / 100), 255);
  return true;
}

// Lays the texture over Rf; false when there is none to lay (Rf then takes C).
bool LayTexture(const TFill& f, TacBitmap* B, const TRect& Rf) {
  TRect rest = Rf;
  if (f.Pattern) {
    if (f.Texture < 0 || f.Texture >= static_cast<Integer>(f.Manager->Patterns.size())) return false;
    // A picture pattern kept as a bitmap is tiled; one kept in its own
    // format (a large JPEG picture) leaves R to the colour.
    auto* picture = dynamic_cast<TacBitmap*>(f.Manager->Patterns[static_cast<size_t>(f.Texture)].Picture.get());
    TileBitmap(B, rest, picture, TsMaskData{}, fmTiled);
  } else {
    const TsMaskData* image = Image(f.Manager, f.Texture);
    if (!image) return false;
    if (image->MaskKind != 0)
      TileMasked(B, rest, *f.CI, *image, FillModeOf(image->FillMode));
    else
      TileBitmap(B, rest, image->Bitmap.get(), *image, FillModeOf(image->FillMode));
  }
  if (rest.Right != -1) FillColour(B, rest, f.Color);
  return true;
}

void PaintFill(const TFill& f, TacBitmap* B, const TRect& Rf) {
  if (TextureGradientShortcut(f, B, Rf)) return;
  bool textured = false;
  if (f.IP > 0) {
    textured = LayTexture(f, B, Rf);
    if (!textured) FillColour(B, Rf, f.Color);
  }
  if (f.GP > 0) {
    const bool noData = f.Look->GradientData.empty();
    if (textured) {
      const TacScratchBitmap gradient(Rf.Width(), Rf.Height());
      if (noData)
        FillRect32(gradient.Bitmap(), gradient.Area(), f.Color, 255);
      else
        PaintGrad(gradient.Bitmap(), gradient.Area(), f.Look->GradientArray, 0, 0);
      SumBmpRect(B, gradient.Bitmap(), LimitIt(f.IP * 255 / 100, 0, 255), gradient.Area(), Rf.TopLeft());
    } else if (noData) {
      FillColour(B, Rf, f.Color);
    } else {
      PaintGrad(B, Rf, f.Look->GradientArray, 0, 0);
    }
  }
  const Integer share = f.IP + f.GP;
  if (share >= 1 && share <= 99)
    BlendColorRect(B, Rf, static_cast<Byte>(share), f.Color);
  else if (share == 0 || (f.Fast && share > 100))
    FillColour(B, Rf, f.ZeroShare);
}

// F painted into a bitmap of R's size, then blended onto the background that
// R of the target already holds; the background keeps Weight of 256.
void PaintFillOver(const TFill& f, TacBitmap* Target, const TRect& R, Integer Weight) {
  const TacScratchBitmap fill(R.Width(), R.Height());
  PaintFill(f, fill.Bitmap(), fill.Area());
  SumBmpRect(Target, fill.Bitmap(), Weight, fill.Area(), R.TopLeft());
}

// The parent's pixels from (X + Offset.X, Y + Offset.Y) of its image into R.
void CopyParent(const TCacheInfo& CI, const TPoint& Offset, TacBitmap* Target, const TRect& R) {
  BlockCopy(Target, R.Left, R.Top, R.Width(), R.Height(), CI.Bmp, CI.X + Offset.X, CI.Y + Offset.Y);
}

// A parent that is not ready but keeps its border strips in Bmp: the strips
// where R (placed at Offset in the parent) overlaps them, its fill colour
// elsewhere.
void CopyParentStrips(const TCacheInfo& CI, const TPoint& Offset, TacBitmap* Target, const TRect& R) {
  const TRect r2 = Bounds(Offset.X, Offset.Y, R.Width(), R.Height());
  const Integer bw = BitmapWidth(CI.Bmp), bh = BitmapHeight(CI.Bmp);
  const Integer sx = CI.X + Offset.X, sy = CI.Y + Offset.Y;
  TRect inner = R;
  if (CI.Borders.Left - CI.X > 0 && CI.Borders.Left > r2.Left) {
    const Integer w = CI.Borders.Left - r2.Left;
    BlockCopy(Target, R.Left, R.Top, w, R.Height(), CI.Bmp, sx, sy);
    inner.Left = R.Left + w;
  }
  if (CI.Borders.Top - CI.Y > 0 && CI.Borders.Top > r2.Top) {
    const Integer h = CI.Borders.Top - r2.Top;
    BlockCopy(Target, R.Left, R.Top, R.Width(), h, CI.Bmp, sx, sy);
    inner.Top = R.Top + h;
  }
  if (CI.Borders.Right > 0 && bw - CI.Borders.Right < r2.Right && r2.Right < bw) {
    const Integer w = r2.Right - (bw - CI.Borders.Right);
    BlockCopy(Target, R.Right - w, R.Top, w, R.Height(), CI.Bmp, CI.X + r2.Right - w, sy);
    inner.Right = R.Right - w;
  }
  if (CI.Borders.Bottom > 0 && bh - CI.Borders.Bottom < r2.Bottom && r2.Bottom < bh) {
    const Integer h = r2.Bottom - (bh - CI.Borders.Bottom);
    BlockCopy(Target, R.Left, R.Bottom - h, R.Width(), h, CI.Bmp, sx, CI.Y + r2.Bottom - h);
    inner.Bottom = R.Bottom - h;
  }
  if (inner.Left < inner.Right && inner.Top < inner.Bottom) FillColour(Target, inner, CI.FillColor);
}

// The texture of a look: the argument, else the look's own; a masked image
// is no texture here (it may be laid over the background afterwards); then
// the section's "PATTERN" image, else its picture pattern.
void ChooseTexture(TFill& f, Integer SkinIndex, const AnsiString& SectionName, Integer TextureIndex) {
  Integer index = TextureIndex >= 0 ? TextureIndex : f.Look->TextureIndex;
  if (index >= 0) {
    const TsMaskData* image = Image(f.Manager, index);
    if (image && image->MaskKind != 0) index = -1;
  }
  if (index < 0) {
    index = f.Manager->GetMaskIndex(SkinIndex, SectionName, "PATTERN");
    if (!f.Manager->IsValidImgIndex(index)) {
      const Integer pattern = f.Manager->GetPatternIndex(SkinIndex, SectionName, "PATTERN");
      if (pattern >= 0) {
        index = pattern;
        f.Pattern = true;
      }
    }
  }
  f.Texture = index;
}

// A masked texture drawn tile by tile ("discrete tiles") over the painted
// background: the normal look's texture, or in the hot look the hot one.
void LayMaskedTexture(TsSkinManager* Manager, const TsGenState& Look, Integer LookIndex, Integer TextureIndex,
                      Integer HotTextureIndex, const TCacheInfo& CI, const TPoint& Offset, TacBitmap* Target,
                      const TRect& R) {
  Integer index = TextureIndex >= 0 ? TextureIndex : Look.TextureIndex;
  if (LookIndex >= 1) index = HotTextureIndex;
  const TsMaskData* image = Image(Manager, index);
  if (!image || image->MaskKind <= 0 || image->FillMode != fmDisTiled) return;
  TRect rest = R;
  TileMasked(Target, rest, Moved(CI, Offset), *image, fmDisTiled);
}

// The painters' common checks of the target: a bitmap that holds R.
bool HoldsRect(TacBitmap* Target, const TRect& R) {
  return Target && R.Left >= 0 && R.Top >= 0 && R.Right <= BitmapWidth(Target) && R.Bottom <= BitmapHeight(Target);
}

}  // namespace

void PaintItemBG(Integer SkinIndex, const AnsiString& SectionName, const TCacheInfo& CI, Integer State, const TRect& R,
                 const TPoint& Offset, TacBitmap* ItemBmp, TsSkinManager* SkinManager, Integer TextureIndex,
                 Integer HotTextureIndex, TColor CustomColor) {
  TsSkinManager* manager = acManagerOr(SkinManager);
  if (!manager || !manager->IsValidSkinIndex(SkinIndex) || !ItemBmp) return;
  const TsGeneralData& section = manager->Sections[static_cast<size_t>(SkinIndex)];
  const Integer look = LookOf(ReducedState(section, State));
  const TsGenState& S = section.Props[static_cast<size_t>(look)];

  TFill f;
  f.Manager = manager;
  f.CI = &CI;
  f.Look = &S;
  if (CustomColor == sFuchsia) {
    f.Color = S.Color;
    f.T = S.Transparency;
    if (f.T != 100) {
      f.IP = S.ImagePercent;
      f.GP = S.GradientPercent;
    }
  } else {
    f.Color = CustomColor;
  }
  if (f.IP > 0) ChooseTexture(f, SkinIndex, SectionName, TextureIndex);
  // A look with no share of texture or gradient is its colour, also over no
  // known background.
  f.ZeroShare = f.Color;

  const Integer w = R.Width(), h = R.Height();
  if ((!CI.Ready && CI.FillColor == sFuchsia) || f.T == 0) {
    PaintFill(f, ItemBmp, R);
  } else if (f.T == 100) {
    if (CI.Ready) {
      if (CI.Bmp && CI.Bmp != ItemBmp) CopyParent(CI, Offset, ItemBmp, R);
    } else if (CI.Bmp) {
      CopyParentStrips(CI, Offset, ItemBmp, R);
    } else {
      FillColour(ItemBmp, R, CI.FillColor);
    }
  } else if (f.T > 0 && f.T < 100) {
    if (CI.Ready || f.IP + f.GP != 0) {
      if (w > 0 && h > 0) {
        if (!CI.Ready)
          FillColour(ItemBmp, R, CI.FillColor);
        else if (CI.Bmp && CI.Bmp != ItemBmp)
          CopyParent(CI, Offset, ItemBmp, R);
        PaintFillOver(f, ItemBmp, R, TransparencyWeight(f.T));
      }
    } else {
      FillColour(ItemBmp, R, MixColors(CI.FillColor, f.Color, f.T / 100.0));
    }
  }
  LayMaskedTexture(manager, S, look, TextureIndex, HotTextureIndex, CI, Offset, ItemBmp, R);
}

void PaintItemBGFast(Integer SkinIndex, Integer TextureIndex, Integer /*HotTextureIndex*/,
                     const AnsiString& /*SectionName*/, const TCacheInfo& CI, Integer State, const TRect& R,
                     const TPoint& Offset, TacBitmap* ItemBmp, TsSkinManager* SkinManager) {
  if (!DefaultManager) return;
  TsSkinManager* manager = acManagerOr(SkinManager);
  if (!manager->IsValidSkinIndex(SkinIndex) || !ItemBmp) return;
  const TsGeneralData& section = manager->Sections[static_cast<size_t>(SkinIndex)];
  const TsGenState& S = section.Props[static_cast<size_t>(LookOf(State))];

  TFill f;
  f.Manager = manager;
  f.CI = &CI;
  f.Look = &S;
  f.Fast = true;
  f.Color = S.Color;
  f.T = S.Transparency;
  if (f.T != 100) {
    f.IP = S.ImagePercent;
    f.GP = S.GradientPercent;
  }
  f.Texture = TextureIndex;
  f.ZeroShare = !CI.Ready && f.T == 100 ? CI.FillColor : f.Color;

  if (f.T == 100 && CI.Ready) {
    if (CI.Bmp && CI.Bmp != ItemBmp) CopyParent(CI, Offset, ItemBmp, R);
  } else if (!CI.Ready || f.T == 0) {
    PaintFill(f, ItemBmp, R);
  } else if (f.T > 0 && R.Width() > 0 && R.Height() > 0) {
    if (CI.Bmp && CI.Bmp != ItemBmp) CopyParent(CI, Offset, ItemBmp, R);
    PaintFillOver(f, ItemBmp, R, f.T * 255 / 100);
  }
}

void PaintItem(Integer SkinIndex, const AnsiString& SectionName, const TCacheInfo& CI, bool /*Filling*/, Integer State,
               const TRect& R, const TPoint& Offset, TacBitmap* ItemBmp, TsSkinManager* SkinManager,
               Integer TextureIndex, Integer HotTextureIndex) {
  TsSkinManager* manager = acManagerOr(SkinManager);
  if (!manager || !manager->IsValidSkinIndex(SkinIndex) || !HoldsRect(ItemBmp, R) || R.Width() <= 0 || R.Height() <= 0)
    return;
  const TsGeneralData& section = manager->Sections[static_cast<size_t>(SkinIndex)];
  State = ReducedState(section, State);
  PaintItemBG(SkinIndex, SectionName, CI, State, R, Offset, ItemBmp, manager, TextureIndex, HotTextureIndex, sFuchsia);

  DrawCornerImages(manager, section, State, R, ItemBmp);
  if (const TsMaskData* border = Image(manager, section.BorderMask))
    DrawSkinRect(ItemBmp, R, Moved(CI, Offset), *border, State, true);
}

void PaintItemFast(Integer SkinIndex, Integer MaskIndex, Integer TextureIndex, Integer HotTextureIndex,
                   const AnsiString& SectionName, const TCacheInfo& CI, bool /*Filling*/, Integer State, const TRect& R,
                   const TPoint& Offset, TacBitmap* ItemBmp, TsSkinManager* SkinManager) {
  TsSkinManager* manager = acManagerOr(SkinManager);
  if (!manager || !manager->IsValidSkinIndex(SkinIndex) || !HoldsRect(ItemBmp, R)) return;
  State = ReducedState(manager->Sections[static_cast<size_t>(SkinIndex)], State);
  PaintItemBGFast(SkinIndex, TextureIndex, HotTextureIndex, SectionName, CI, State, R, Offset, ItemBmp, manager);
  if (const TsMaskData* border = Image(manager, MaskIndex))
    DrawSkinRect(ItemBmp, R, Moved(CI, Offset), *border, State, true);
}

void PaintSmallItem(Integer SkinIndex, const AnsiString& SectionName, const TCacheInfo& CI, bool /*Filling*/,
                    Integer State, const TRect& R, const TPoint& Offset, TacBitmap* ItemBmp,
                    TsSkinManager* SkinManager) {
  TsSkinManager* manager = acManagerOr(SkinManager);
  if (!manager || !manager->IsValidSkinIndex(SkinIndex) || !HoldsRect(ItemBmp, R)) return;
  PaintItemBG(SkinIndex, SectionName, CI, State, R, Offset, ItemBmp, manager, -1, -1, sFuchsia);
  if (const TsMaskData* border = Image(manager, manager->GetMaskIndex(SkinIndex, SectionName, "BORDERSMASK")))
    DrawSmallSkinRect(ItemBmp, R, Moved(CI, Offset), *border, State);
}
