// Skin sections painted into 32-bit bitmaps with the alpha that layered
// windows take: opaque where the section is, partly transparent as far as
// its transparency says, premultiplied when a whole bitmap is painted.
#include "skin/core/acntUtils.h"
#include "skin/graphics/Sgradient.h"
#include "skin/graphics/acScratchBitmap.h"
#include "skin/graphics/acSectionLook.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

using namespace acsection;

namespace {

// The pixel at R's top-left corner (0 outside the bitmap).
std::uint32_t CornerPixel(TacBitmap* B, const TRect& R) {
  const TPixelView32 v = PixelsOf(B);
  return v.Inside(R.Left, R.Top) ? v.Row(R.Top)[R.Left] : 0;
}

struct TLook32 {
  TsSkinManager* Manager = nullptr;
  const TsGenState* Look = nullptr;
  TColor Color = 0;
  Integer T = 0, IP = 0, GP = 0;
  Integer Texture = -1;
};

bool TextureGradientShortcut(const TLook32& l, TacBitmap* B, const TRect& R) {
  if (l.IP + l.GP != 100 || l.GP < 1 || l.GP > 99) return false;
  const TsMaskData* image = Image(l.Manager, l.Texture);
  const TsGradArray& grad = l.Look->GradientArray;
  if (!image || image->FillMode != 0 || grad.empty() || grad[0].Mode >= 2) return false;
  // Opaque below a transparency of 50, transparent from 50 up.
  const Byte alpha = l.T < 50 ? 255 : 0;
  PaintGradTxt(B, R, grad, ImageBitmap(*image), image->SrcRect, static_cast<Byte>(l.IP * 255 / 100), alpha);
  return true;
}

// The texture over R (what it leaves uncovered in the colour); false when
// the look has no usable texture (R then takes the colour).
bool LayTexture(const TLook32& l, TacBitmap* B, const TRect& R) {
  const TsMaskData* image = Image(l.Manager, l.Texture);
  TRect rest = R;
  if (image && image->MaskKind != 0)
    TileMasked(B, rest, EmptyCI, *image, FillModeOf(image->FillMode));
  else if (image)
    TileBitmap(B, rest, image->Bitmap.get(), *image, FillModeOf(image->FillMode));
  if (rest.Right != -1) FillRect32(B, rest, l.Color, 255);
  return image != nullptr;
}

}  // namespace

void PaintItemBG32(Integer SkinIndex, Integer State, const TRect& R, TacBitmap* Bmp, TsSkinManager* SkinManager,
                   TColor CustomColor) {
  TsSkinManager* manager = acManagerOr(SkinManager);
  if (!manager || !manager->IsValidSkinIndex(SkinIndex) || !Bmp) return;
  const TsGenState& S = manager->Sections[static_cast<size_t>(SkinIndex)].Props[static_cast<size_t>(LookOf(State))];
  TLook32 l;
  l.Manager = manager;
  l.Look = &S;
  if (CustomColor != sFuchsia) {
    // The control's own colour, opaque whatever the look.
    l.Color = CustomColor;
  } else {
    l.T = S.Transparency;
    if (l.T == 100) {
      if (BitmapWidth(Bmp) == R.Width() && BitmapHeight(Bmp) == R.Height()) FillRect32(Bmp, R, 0, 0);
      return;
    }
    l.Color = S.Color;
    l.IP = S.ImagePercent;
    l.GP = S.GradientPercent;
    if (l.IP > 0) l.Texture = S.TextureIndex;
  }
  const std::uint32_t before = CornerPixel(Bmp, R);
  if (TextureGradientShortcut(l, Bmp, R)) return;

  bool textured = false;
  if (l.IP > 0) {
    textured = LayTexture(l, Bmp, R);
    if (!textured) FillRect32(Bmp, R, l.Color, 255);
  }
  if (l.GP > 0) {
    const bool noData = S.GradientData.empty();
    if (textured) {
      // The gradient over the texture, the texture keeping its share.
      const TacScratchBitmap gradient(R.Width(), R.Height());
      if (noData)
        FillRect32(gradient.Bitmap(), gradient.Area(), l.Color, 255);
      else
        PaintGrad(gradient.Bitmap(), gradient.Area(), S.GradientArray, 0, 0);
      SumBmpRect(Bmp, gradient.Bitmap(), Mini(l.IP * 255 / 100, 255), gradient.Area(), R.TopLeft());
    } else if (noData) {
      FillRect32(Bmp, R, l.Color, 255);
      return;
    } else {
      PaintGrad(Bmp, R, S.GradientArray, 0, 0);
    }
  }
  const Integer share = l.IP + l.GP;
  if (share >= 1 && share <= 99) {
    BlendColorRect(Bmp, R, static_cast<Byte>(share), l.Color);
  } else if (share == 0) {
    const Byte opacity = static_cast<Byte>((100 - l.T) * 255 / 100);
    if (before == 0)
      FillRect32(Bmp, R, l.Color, opacity);
    else if (l.T == 0)
      FillRect32(Bmp, R, l.Color, 255);
    else
      BlendColorRect32(Bmp, R, l.Color, static_cast<Byte>(100 - l.T), Maxi(before >> 24, opacity));
  }
}

void PaintItem32(Integer SkinIndex, bool /*Filling*/, Integer State, const TRect& R, const TPoint& /*Offset*/,
                 TacBitmap* Bmp, TsSkinManager* SkinManager) {
  TsSkinManager* manager = acManagerOr(SkinManager);
  if (!Bmp || R.Width() <= 0 || R.Height() <= 0 || !manager || !manager->IsValidSkinIndex(SkinIndex)) return;
  const Integer bw = BitmapWidth(Bmp), bh = BitmapHeight(Bmp);
  if (R.Left < 0 || R.Top < 0 || R.Right > bw || R.Bottom > bh) return;
  const TsGeneralData& section = manager->Sections[static_cast<size_t>(SkinIndex)];
  State = ReducedState(section, State);
  // What the bitmap held under R: the border's transparent corners show it.
  {
    const TacScratchBitmap before(R.Width() + 1, R.Height() + 1);
    BlockCopy(before.Bitmap(), 0, 0, before.Width(), before.Height(), Bmp, R.Left, R.Top);
    PaintItemBG32(SkinIndex, LookOf(State), R, Bmp, manager, sFuchsia);
    if (const TsMaskData* border = Image(manager, section.BorderMask))
      DrawSkinRect32(Bmp, R, MakeCacheInfo(before.Bitmap(), -R.Left, -R.Top), *border, State);
  }
  if (R.Width() == bw && R.Height() == bh) UpdateAlpha(Bmp, R);
}
