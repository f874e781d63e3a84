#include "skin/forms/sTitleButtons.h"

#include "classlib/ui/HintWindow.h"
#include "classlib/core/PixelView.h"
#include "skin/core/sConst.h"
#include "skin/core/sStyleSimply.h"
#include "skin/forms/acSBAnimation.h"
#include "skin/graphics/sGraphUtils.h"

// ------------------------------------------------------------ TsTitleButton

TsTitleButton::TsTitleButton(TCollection* Collection)
    : TCollectionItem(Collection), FGlyph(std::make_unique<TBitmap>()) {
  FGlyph->OnChange = TNotifyEvent(this, &TsTitleButton::OnGlyphChange);
}

TsTitleButton::~TsTitleButton() {
  StopFade();
  FGlyph.reset();
  if (HintWnd) HintWnd->Free();
  HintWnd = nullptr;
}

TsSkinProvider* TsTitleButton::Provider() const {
  auto* buttons = dynamic_cast<TsTitleButtons*>(Collection());
  return buttons ? buttons->Provider() : nullptr;
}

void TsTitleButton::StopFade() {
  if (!BtnData.Timer) return;
  BtnData.Timer->Free();
  BtnData.Timer = nullptr;
}

// A new picture: the next paint starts from it, not from a fade of the old one.
void TsTitleButton::OnGlyphChange(TObject*) { StopFade(); }

void TsTitleButton::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  if (TsSkinProvider* p = Provider()) UpdateSkinCaption(p);
}

void TsTitleButton::MouseDown(Integer, TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TsTitleButton::MouseUp(Integer, TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TsTitleButton::AssignTo(TPersistent* Dest) {
  auto* d = dynamic_cast<TsTitleButton*>(Dest);
  if (!d) {
    inherited::AssignTo(Dest);
    return;
  }
  d->Enabled = Enabled;
  d->SetGlyph(FGlyph.get());
  d->Hint = Hint;
  d->Name = Name;
  d->UseSkinData = UseSkinData;
  d->OnMouseDown = OnMouseDown;
  d->OnMouseUp = OnMouseUp;
}

TsTitleButtons::TsTitleButtons(TsSkinProvider* AOwner) : TCollection(TsTitleButton::StaticClass()), FOwner(AOwner) {}

TPersistent* TsTitleButtons::GetOwner() { return FOwner; }

// -------------------------------------------------------------- TsTitleIcon

TsTitleIcon::TsTitleIcon(TsSkinProvider* AOwner) : FOwner(AOwner), FGlyph(std::make_unique<TBitmap>()) {}

TsTitleIcon::~TsTitleIcon() = default;

void TsTitleIcon::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  if (!FOwner) return;
  const TComponentState state = FOwner->ComponentState();
  if (!state.Contains(csLoading) && !state.Contains(csDesigning)) UpdateSkinCaption(FOwner);
}

// ------------------------------------------------------------ TacAddedTitle

TacAddedTitle::TacAddedTitle() : FFont(std::make_unique<TFont>()) { FFont->SetColor(clNone); }

TacAddedTitle::~TacAddedTitle() = default;

void TacAddedTitle::Repaint() {
  if (Provider && !Provider->ComponentState().Contains(csLoading)) UpdateSkinCaption(Provider);
}

void TacAddedTitle::SetShowMainCaption(bool Value) {
  if (FShowMainCaption == Value) return;
  FShowMainCaption = Value;
  Repaint();
}

void TacAddedTitle::SetText(const AnsiString& Value) {
  if (FText == Value) return;
  FText = Value;
  Repaint();
}

void TacAddedTitle::SetFont(TFont* Value) {
  FFont->Assign(Value);
  Repaint();
}

// ---------------------------------------------------------- the caption icon

Integer IconSizeFor(Integer H) {
  if (H <= 8) return 1;
  if (H <= 16) return 8;
  return 16;
}

namespace {

// Draws the form's icon, else the application window's small one, else the
// program's own icons, else the system's, at R's top-left.
void DrawCaptionIcon(TsSkinProvider* Provider, HDC DC, const TRect& R) {
  const Integer w = Provider->TitleIconWidth(), h = Provider->TitleIconHeight();
  TCustomForm* form = Provider->Form;
  if (form && form->Icon() && form->Icon()->Handle()) {
    DrawIconEx(DC, R.Left, R.Top, form->Icon()->Handle(), w, h, 0, nullptr, DI_NORMAL);
    return;
  }
  if (Application && Application->Icon() && Application->Icon()->Handle()) {
    auto small = reinterpret_cast<HICON>(SendMessageW(Application->Handle(), WM_GETICON, ICON_SMALL2, 0));
    if (small) {
      DrawIconEx(DC, R.Left, R.Top, small, w, h, 0, nullptr, DI_NORMAL);
      return;
    }
  }
  TsTitleIcon* ti = Provider->TitleIcon();
  const Integer automatic = Provider->CaptionHeight(true) - R.Top;
  const Integer iw = ti && ti->Width ? ti->Width : automatic;
  const Integer ih = ti && ti->Height ? ti->Height : automatic;
  TIcon* own = ih > 16 && AppIconLarge() && AppIconLarge()->Handle() ? AppIconLarge() : AppIcon();
  if (own && own->Handle()) {
    DrawIconEx(DC, R.Left, R.Top, own->Handle(), iw, ih, 0, nullptr, DI_NORMAL);
    return;
  }
  DrawIconEx(DC, R.Left, R.Top, LoadIconW(nullptr, IDI_APPLICATION), w, h, 0, nullptr, DI_NORMAL);
}

// The icon drawing writes no alpha: every pixel it changed becomes opaque.
void PaintSystemIcon(TsSkinProvider* Provider, TacBitmap* Cache, const TRect& R) {
  std::unique_ptr<TacBitmap> saved = CreateBmp32(R.Width(), R.Height());
  if (!saved) return;
  CopyPixels32(saved.get(), 0, 0, Cache, R);
  DrawCaptionIcon(Provider, Cache->Canvas()->Handle(), R);
  GdiFlush();
  const TPixelView32 c = PixelsOf(Cache), s = PixelsOf(saved.get());
  for (int y = 0; y < s.Height; ++y)
    for (int x = 0; x < s.Width; ++x) {
      if (!c.Inside(R.Left + x, R.Top + y)) continue;
      std::uint32_t& p = c.At(R.Left + x, R.Top + y);
      if (p != s.At(x, y)) p |= 0xFF000000u;
    }
}

// The override's picture with its alpha; key-colour pixels stay clear.
void PaintGlyphIcon(TBitmap* Glyph, TacBitmap* Cache, const TRect& R) {
  if (Glyph->PixelFormat() != pf32bit) {
    Glyph->SetPixelFormat(pf32bit);
    const TPixelView32 g = PixelsOf(Glyph);
    for (int y = 0; y < g.Height; ++y)
      for (int x = 0; x < g.Width; ++x) {
        std::uint32_t& p = g.At(x, y);
        p = (p & 0xFFFFFF) == 0xFF00FF ? (p & 0xFFFFFF) : (p | 0xFF000000u);
      }
  }
  Glyph->SetTransparent(true);
  Glyph->SetTransparentColor(0xFF00FF);
  const TRect dst(R.Left, R.Top, R.Left + Glyph->Width(), R.Top + Glyph->Height());
  CopyByMask(dst, TRect(0, 0, Glyph->Width(), Glyph->Height()), Cache, Glyph, EmptyCI, false);
}

}  // namespace

void PaintTitleIcon(TsSkinProvider* Provider) {
  if (!Provider || !Provider->IconVisible()) return;
  TacBitmap* cache = Provider->SkinData()->CacheBmp.get();
  if (!cache || cache->Empty()) return;
  TsTitleIcon* ti = Provider->TitleIcon();
  if (ti && !ti->Glyph()->Empty())
    PaintGlyphIcon(ti->Glyph(), cache, Provider->IconRect);
  else if (Provider->IconRect.Width() > 0 && Provider->IconRect.Height() > 0)
    PaintSystemIcon(Provider, cache, Provider->IconRect);
}

DK_PUBLISH(TsTitleButton) {
  P.Property("Enabled", &TsTitleButton::Enabled).Default(true);
  P.Property("Glyph", &TsTitleButton::Glyph, &TsTitleButton::SetGlyph);
  P.Property("Hint", &TsTitleButton::Hint);
  P.Property("Name", &TsTitleButton::Name);
  P.Property("UseSkinData", &TsTitleButton::UseSkinData).Default(true);
  P.Property("Visible", &TsTitleButton::Visible, &TsTitleButton::SetVisible).Default(true);
  P.Property("OnMouseDown", &TsTitleButton::OnMouseDown);
  P.Property("OnMouseUp", &TsTitleButton::OnMouseUp);
}

DK_PUBLISH(TsTitleButtons) {}

DK_PUBLISH(TsTitleIcon) {
  P.Property("Glyph", &TsTitleIcon::Glyph, &TsTitleIcon::SetGlyph);
  P.Property("Height", &TsTitleIcon::Height).Default(0);
  P.Property("Width", &TsTitleIcon::Width).Default(0);
  P.Property("Visible", &TsTitleIcon::Visible, &TsTitleIcon::SetVisible).Default(true);
}

DK_PUBLISH(TacAddedTitle) {
  P.Property("Font", &TacAddedTitle::Font, &TacAddedTitle::SetFont);
  P.Property("ShowMainCaption", &TacAddedTitle::ShowMainCaption, &TacAddedTitle::SetShowMainCaption)
      .Default(true);
  P.Property("Text", &TacAddedTitle::Text, &TacAddedTitle::SetText);
}

DK_PUBLISH(TacSysSubMenu) {
  P.Property("Caption", &TacSysSubMenu::Caption);
  P.Property("Position", &TacSysSubMenu::Position).Default(ipBeforeClose);
  P.Property("PopupMenu", &TacSysSubMenu::PopupMenu);
}
