#include "skin/controls/sThirdParty.h"

#include <algorithm>

#include "classlib/core/PixelView.h"
#include "skin/controls/sBitBtn.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sSpeedButton.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sSkinManager.h"
#include "skin/graphics/acAlphaImageList.h"
#include "skin/graphics/acBitmap.h"
#include "skin/graphics/sGraphUtils.h"

DK_UNIT(sThirdParty);

namespace {

TsSkinManager* ManagerOf(const TacDrawGlyphData& D) { return D.SkinManager ? D.SkinManager : DefaultManager; }

// The colour a glyph is greyed toward, or none.
TColor GrayToneOf(const TacDrawGlyphData& D) {
  const bool gray =
      (D.CurrentState == 0 && D.Grayed) || (!D.Enabled && D.DisabledGlyphKind.Contains(dgGrayed));
  if (!gray) return clNoColor;
  TsSkinManager* m = ManagerOf(D);
  if (D.SkinIndex < 0 || !m || !m->IsValidSkinIndex(D.SkinIndex)) return 0xFFFFFF;
  return m->Sections[static_cast<size_t>(D.SkinIndex)].Props[0].Color;
}

// A TColor (red low) as a pixel value (blue low), alpha 0.
std::uint32_t PixelOf(TColor C) {
  const auto c = static_cast<std::uint32_t>(C);
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

Integer DisabledKindBits(TsDisabledGlyphKind K) {
  return (K.Contains(dgBlended) ? 1 : 0) | (K.Contains(dgGrayed) ? 2 : 0);
}

// A 32-bit copy of R of a canvas (the background a glyph is drawn over).
std::unique_ptr<TacBitmap> GrabCanvas(TCanvas* Canvas, const TRect& R) {
  auto bmp = CreateBmp32(R.Width(), R.Height());
  BitBlt(bmp->Canvas()->Handle(), 0, 0, R.Width(), R.Height(), Canvas->Handle(), R.Left, R.Top, SRCCOPY);
  return bmp;
}

void PutCanvas(TCanvas* Canvas, const TRect& R, TacBitmap* Bmp) {
  BitBlt(Canvas->Handle(), R.Left, R.Top, R.Width(), R.Height(), Bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void DrawFromImageList(const TacDrawGlyphData& D) {
  TCustomImageList* list = D.Images;
  if (dynamic_cast<TsAlphaImageList*>(list) || dynamic_cast<TsVirtualImageList*>(list)) {
    const Integer blend = std::max(D.CurrentState == 0 ? D.Blend : 0,
                                   !D.Enabled && D.DisabledGlyphKind.Contains(dgBlended) ? 50 : 0);
    const Integer state = D.Down ? D.CurrentState + 1 : D.CurrentState;
    if (D.DstBmp)
      DrawAlphaImgList(list, D.DstBmp, D.ImgRect.Left, D.ImgRect.Top, D.ImageIndex, blend, GrayToneOf(D), state,
                       D.NumGlyphs, D.Reflected);
    else if (D.Canvas)
      DrawAlphaImgListDC(list, D.Canvas->Handle(), D.ImgRect.Left, D.ImgRect.Top, D.ImageIndex, blend,
                         GrayToneOf(D), state, D.NumGlyphs, D.Reflected);
    return;
  }
  if (!D.DstBmp) {
    if (D.Canvas) list->Draw(D.Canvas, D.ImgRect.Left, D.ImgRect.Top, D.ImageIndex, true);
    return;
  }
  auto tmp = CreateBmp32(list->Width(), list->Height());
  const TColor bk = list->BkColor();
  const TColor fill = bk == clNone ? sFuchsia : ColorToRGB(bk);
  tmp->Canvas()->Brush()->SetColor(fill);
  tmp->Canvas()->FillRect(TRect{0, 0, tmp->Width(), tmp->Height()});
  list->GetBitmap(D.ImageIndex, tmp.get());
  // Whole pixels are compared with the key colour below: alpha out of the way.
  const TPixelView32 v = PixelsOf(tmp.get());
  for (int y = 0; y < v.Height; ++y)
    for (int x = 0; x < v.Width; ++x) v.At(x, y) &= 0x00FFFFFFu;
  const TRect whole{0, 0, tmp->Width(), tmp->Height()};
  if (D.Enabled) {
    if (D.CurrentState == 0 && D.Grayed) GrayScaleTrans(tmp.get(), TsColor{v.At(0, 0)});
    if (D.CurrentState != 0 || D.Blend < 1)
      CopyTransBitmaps(D.DstBmp, tmp.get(), D.ImgRect.Left, D.ImgRect.Top, fill);
    else
      BlendTransRectangle(D.DstBmp, D.ImgRect.Left, D.ImgRect.Top, tmp.get(), whole, D.Blend / 100.0, sFuchsia);
    return;
  }
  if (D.DisabledGlyphKind.Contains(dgGrayed)) GrayScaleTrans(tmp.get(), TsColor{PixelOf(fill)});
  if (D.DisabledGlyphKind.Contains(dgBlended))
    BlendTransRectangle(D.DstBmp, D.ImgRect.Left, D.ImgRect.Top, tmp.get(), whole, 0.5, sFuchsia);
  else
    CopyTransBitmaps(D.DstBmp, tmp.get(), D.ImgRect.Left, D.ImgRect.Top, fill);
}

// A 32-bit glyph whose alpha bytes are all 0 carries no alpha: it becomes a
// 24-bit glyph for good (its change event is not fired).
void DropEmptyAlpha(TBitmap* Glyph) {
  const TNotifyEvent saved = Glyph->OnChange;
  Glyph->OnChange = TNotifyEvent();
  if (!Glyph->Empty() && Glyph->PixelFormat() == pf32bit) {
    const TPixelView32 v = Glyph->PixelView();
    bool anyAlpha = false;
    for (int y = 0; y < v.Height && !anyAlpha; ++y)
      for (int x = 0; x < v.Width; ++x)
        if (PixelAlpha(v.At(x, y)) != 0) {
          anyAlpha = true;
          break;
        }
    if (!anyAlpha) Glyph->SetPixelFormat(pf24bit);
  }
  Glyph->OnChange = saved;
}

// The part of the strip that holds image Index of images W wide; never
// reaches past the strip (a state beyond the images it holds takes the last
// whole one).
TRect StripSource(TBitmap* Glyph, Integer Index, Integer W) {
  const Integer whole = W > 0 ? Glyph->Width() / W : 0;
  if (whole == 0) return TRect{0, 0, std::min(W, Glyph->Width()), Glyph->Height()};
  const Integer i = std::clamp(Index, 0, whole - 1);
  return TRect{W * i, 0, W * i + W, Glyph->Height()};
}

// An alpha glyph onto a canvas: drawn with its alpha over what the canvas shows.
void DrawAlphaGlyphOnCanvas(const TacDrawGlyphData& D, const TRect& Src) {
  const TRect& r = D.ImgRect;
  if (r.Width() <= 0 || r.Height() <= 0) return;
  auto pic = CreateBmp32(r.Width(), r.Height());
  const TPixelView32 p = PixelsOf(pic.get()), g = D.Glyph->PixelView();
  FillPixels(p, 0);
  for (int y = 0; y < std::min(p.Height, Src.Height()); ++y)
    for (int x = 0; x < std::min(p.Width, Src.Width()); ++x) p.At(x, y) = g.At(Src.Left + x, Src.Top + y);
  const bool disabledBlend = !D.Enabled && D.DisabledGlyphKind.Contains(dgBlended);
  const Integer transparency = disabledBlend ? std::max(50, D.Blend) : D.Blend;
  if (D.CurrentState == 0 && transparency != 0)
    for (int y = 0; y < p.Height; ++y)
      for (int x = 0; x < p.Width; ++x) {
        std::uint32_t& px = p.At(x, y);
        const std::uint32_t a = PixelAlpha(px) * static_cast<std::uint32_t>(100 - transparency) / 100;
        px = (px & 0x00FFFFFFu) | (a << 24);
      }
  if ((!D.Enabled && D.DisabledGlyphKind.Contains(dgGrayed)) || (D.CurrentState == 0 && D.Grayed)) GrayScale(pic.get());
  if (D.Reflected) {
    // The mirror image fades out below the glyph.
    const int h = p.Height;
    for (int y = h / 2; y < h; ++y) {
      const int from = h - 1 - y;
      const std::uint32_t fade = static_cast<std::uint32_t>(255 * (h - y) / std::max(1, h));
      for (int x = 0; x < p.Width; ++x) {
        const std::uint32_t s = p.At(x, from);
        p.At(x, y) = (s & 0x00FFFFFFu) | ((PixelAlpha(s) * fade / 510) << 24);
      }
    }
  }
  Premultiply(p);
  auto back = GrabCanvas(D.Canvas, r);
  BlendOnto(PixelsOf(back.get()), p, 0, 0);
  PutCanvas(D.Canvas, r, back.get());
}

void DrawFromGlyph(const TacDrawGlyphData& D) {
  TBitmap* glyph = D.Glyph;
  if (!glyph || glyph->Empty() || glyph->Width() == 0 || glyph->Height() == 0) return;
  TsSkinManager* dm = DefaultManager;
  if (glyph->PixelFormat() == pfDevice || !D.Enabled ||
      (glyph->PixelFormat() == pf32bit && (!dm || dm->Options()->CheckEmptyAlpha())))
    DropEmptyAlpha(glyph);
  if (glyph->PixelFormat() != pf32bit) {
    const Integer kind = DisabledKindBits(D.DisabledGlyphKind);
    if (D.DstBmp) {
      DrawGlyphEx(glyph, D.DstBmp, D.ImgRect, D.NumGlyphs, D.Enabled, kind, D.CurrentState, D.Blend, D.Down,
                  D.Reflected);
    } else if (D.Canvas && D.ImgRect.Width() > 0 && D.ImgRect.Height() > 0) {
      auto tmp = GrabCanvas(D.Canvas, D.ImgRect);
      DrawGlyphEx(glyph, tmp.get(), TRect{0, 0, D.ImgRect.Width(), D.ImgRect.Height()}, D.NumGlyphs, D.Enabled, kind,
                  D.CurrentState, D.Blend, D.Down, D.Reflected);
      PutCanvas(D.Canvas, D.ImgRect, tmp.get());
    }
    return;
  }
  const Integer index = std::min(D.CurrentState, std::max(D.NumGlyphs, 1) - 1);
  const TRect src = StripSource(glyph, index, D.ImgRect.Width());
  if (D.DstBmp) {
    const TRect dst{D.ImgRect.Left, D.ImgRect.Top, D.ImgRect.Left + src.Width(), D.ImgRect.Bottom};
    CopyBmp32(dst, src, D.DstBmp, glyph, EmptyCI, false, GrayToneOf(D), D.CurrentState == 0 ? D.Blend : 0,
              D.Reflected);
  } else if (D.Canvas) {
    DrawAlphaGlyphOnCanvas(D, src);
  }
}

}  // namespace

Integer GetImageCount(TCustomImageList* ImgList) {
  if (!ImgList) return 0;
  if (auto* v = dynamic_cast<TsVirtualImageList*>(ImgList)) return v->Count();
  return ImgList->Count();
}

void acDrawGlyphEx(const TacDrawGlyphData& D) {
  if (D.Images && D.ImageIndex >= 0 && D.ImageIndex < GetImageCount(D.Images)) {
    DrawFromImageList(D);
    return;
  }
  DrawFromGlyph(D);
}

void DrawBtnGlyph(TControl* Button, TCanvas* Canvas) {
  TacDrawGlyphData d;
  d.Canvas = Canvas;
  TsCommonData* sd = nullptr;
  if (auto* b = dynamic_cast<TsButton*>(Button)) {
    sd = b->SkinData();
    TsSkinManager* m = sd->GetSkinManager();
    d.Images = b->Images();
    d.ImageIndex = b->GlyphIndex();
    d.ImgRect = b->GlyphRect();
    d.Enabled = b->Enabled();
    d.CurrentState = b->CurrentState();
    d.Down = d.CurrentState == 2;
    d.Grayed = sd->Skinned(false) && m && m->Effects()->DiscoloredGlyphs();
    d.DisabledGlyphKind = TsDisabledGlyphKind{dgBlended};
    d.Reflected = b->Reflected();
    d.SkinIndex = sd->SkinIndex;
  } else if (auto* bb = dynamic_cast<TsBitBtn*>(Button)) {
    sd = bb->SkinData();
    d.Images = bb->Images();
    d.ImageIndex = bb->ImageIndex();
    d.Glyph = bb->Glyph();
    d.ImgRect = bb->ImgRect();
    d.NumGlyphs = bb->NumGlyphs();
    d.Enabled = bb->Enabled();
    d.Blend = bb->Blend();
    d.Down = bb->Down();
    d.Grayed = bb->GetGrayed();
    d.CurrentState = bb->CurrentState();
    d.DisabledGlyphKind = bb->DisabledGlyphKind();
    d.Reflected = bb->Reflected();
    d.SkinIndex = sd->SkinIndex;
  } else if (auto* sb = dynamic_cast<TsSpeedButton*>(Button)) {
    sd = sb->SkinData();
    TsSkinManager* m = sd->GetSkinManager();
    d.Images = sb->Images();
    d.ImageIndex = sb->ImageIndex();
    d.Glyph = sb->Glyph();
    d.CurrentState = sb->CurrentState();
    d.SkinIndex = sd->SkinIndex;
    // Over a fully transparent section the colours of what lies behind apply.
    if (d.CurrentState == 0 && sb->Parent() && m && m->IsValidSkinIndex(d.SkinIndex) &&
        m->Sections[static_cast<size_t>(d.SkinIndex)].Props[0].Transparency == 100)
      d.SkinIndex = GetFontIndex(sb, d.SkinIndex, m, 0);
    d.ImgRect = sb->ImgRect(true);
    d.NumGlyphs = sb->NumGlyphs();
    d.Enabled = sb->Enabled();
    d.Blend = sb->Blend();
    d.Down = sb->Down();
    d.Grayed = sb->GetGrayed();
    d.DisabledGlyphKind = sb->DisabledGlyphKind();
    d.Reflected = sb->Reflected();
  } else {
    return;
  }
  d.SkinManager = sd->GetSkinManager();
  d.DstBmp = d.SkinIndex >= 0 ? sd->CacheBmp.get() : nullptr;
  acDrawGlyphEx(d);
}
