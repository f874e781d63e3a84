#include "skin/forms/sSkinMenus.h"

#include <cmath>

#include "skin/core/Smessages.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sDefaults.h"
#include "skin/core/sVclUtils.h"
#include "skin/core/sSkinManager.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"
#include "skin/forms/sSkinProvider.h"

TsSkinProvider* MDISkinProvider = nullptr;
TFont* CustomMenuFont = nullptr;

TsSkinableMenus::TsSkinableMenus(TComponent* AOwner)
    : TComponent(AOwner), FCaptionFont(std::make_unique<TFont>()) {}

TsSkinableMenus::~TsSkinableMenus() = default;

TsSkinManager* TsSkinableMenus::Manager() const { return dynamic_cast<TsSkinManager*>(Owner()); }

Integer TsSkinableMenus::GetSkinBorderWidth() {
  if (SkinBorderWidth >= 0) return SkinBorderWidth;
  TsSkinManager* m = Manager();
  const Integer i = m ? m->GetMaskIndex(m->GetSkinIndex("MAINMENU"), "MAINMENU", "BORDERSMASK") : -1;
  if (!m || !m->IsValidImgIndex(i)) {
    SkinBorderWidth = 0;
  } else {
    const Integer margin = m->Masks[static_cast<size_t>(i)].UniformMargin;
    SkinBorderWidth = margin < 1 ? 3 : margin;
  }
  return SkinBorderWidth;
}

namespace {

// Each component and then its own components, at any depth.
template <class Fn>
void WalkComponents(TComponent* Component, const Fn& Visit) {
  for (int i = 0; i < Component->ComponentCount(); ++i) {
    TComponent* c = Component->Components(i);
    Visit(c);
    WalkComponents(c, Visit);
  }
}

// Only the code of two handlers is compared: the painter's method on any object.
template <class Event>
bool SameCode(const Event& A, const Event& B) {
  return A.Method().Code == B.Method().Code;
}

TFont* MenuFont() { return CustomMenuFont ? CustomMenuFont : Screen ? Screen->MenuFont() : nullptr; }

AnsiString WithoutAmpersands(AnsiString Text) {
  Text.erase(std::remove(Text.begin(), Text.end(), '&'), Text.end());
  return Text;
}

// The font of the form that owns the menu (nullptr when none).
TFont* OwnerFormFont(TMenu* Menu) {
  auto* form = Menu ? dynamic_cast<TCustomForm*>(Menu->Owner()) : nullptr;
  return form ? form->Font() : nullptr;
}

}  // namespace

void TsSkinableMenus::InitItems(bool Value) {
  FActive = Value;
  TsSkinManager* m = Manager();
  if (!Application || (m && m->ComponentState().Contains(csDesigning))) return;
  WalkComponents(Application, [&](TComponent* c) {
    if (auto* menu = dynamic_cast<TMainMenu*>(c)) InitMenuLine(menu, Value);
  });
}

void TsSkinableMenus::SetActive(bool Value) {
  if (Value != FActive) InitItems(Value);
}

void TsSkinableMenus::UpdateMenus() {
  if (TsSkinManager* m = Manager()) SetActive(m->CommonSkinData.Active);
}

bool TsSkinableMenus::IsTopLine(TMenuItem* Item) {
  TMenu* menu = Item ? Item->GetParentMenu() : nullptr;
  return menu && dynamic_cast<TMainMenu*>(menu) && Item->Parent() == menu->Items();
}

void TsSkinableMenus::InitMenuLine(TMainMenu* Menu, bool A) {
  if (!Menu) return;
  const TAdvancedMenuDrawItemEvent draw(this, &TsSkinableMenus::sAdvancedDrawLineItem);
  const TMenuMeasureItemEvent measure(this, &TsSkinableMenus::sMeasureLineItem);
  TsSkinManager* m = Manager();
  TMenuItem* items = Menu->Items();
  for (int i = 0; i < items->Count(); ++i) {
    TMenuItem* item = items->Items(i);
    if (!A) {
      if (SameCode(item->OnAdvancedDrawItem, draw)) item->OnAdvancedDrawItem = nullptr;
      if (SameCode(item->OnMeasureItem, measure)) item->OnMeasureItem = nullptr;
    } else if (m && m->Active()) {
      // Without skinned pop-ups the menu stays as it is.
      if (!m->SkinnedPopups()) return;
      item->OnAdvancedDrawItem = draw;
      item->OnMeasureItem = measure;
    }
  }
  if (!Menu->ComponentState().Contains(csDestroying) && items->Count() > 0) Menu->SetOwnerDraw(A);
}

void TsSkinableMenus::InitItem(TMenuItem* Item, bool A) {
  if (!Item || !IsTopLine(Item)) return;
  const TAdvancedMenuDrawItemEvent draw(this, &TsSkinableMenus::sAdvancedDrawLineItem);
  const TMenuMeasureItemEvent measure(this, &TsSkinableMenus::sMeasureLineItem);
  if (A) {
    Item->OnAdvancedDrawItem = draw;
    Item->OnMeasureItem = measure;
  } else {
    if (SameCode(Item->OnAdvancedDrawItem, draw)) Item->OnAdvancedDrawItem = nullptr;
    if (SameCode(Item->OnMeasureItem, measure)) Item->OnMeasureItem = nullptr;
  }
}

// ------------------------------------------------------------ the menu line

void TsSkinableMenus::sMeasureLineItem(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!item || !ACanvas) return;
  Height = GetSystemMetrics(SM_CYMENU) - 1;
  if (TFont* font = MenuFont()) ACanvas->SetFont(font);
  Width = ACanvas->TextWidth(WithoutAmpersands(item->Caption()));
  if (item->HasBitmap()) Width += item->Bitmap()->Width() + 6;
}

namespace {

// The provider that paints the menu line of Item's menu (nullptr when none).
TsSkinProvider* LineProvider(TMenuItem* Item) {
  TsSkinProvider* provider = nullptr;
  auto* menu = dynamic_cast<TMainMenu*>(Item->GetParentMenu());
  try {
    if (menu && menu->WindowHandle())
      provider = reinterpret_cast<TsSkinProvider*>(SendAMessage(menu->WindowHandle(), ACMD_QUERY_PROVIDER));
  } catch (...) {
    provider = nullptr;
  }
  return provider ? provider : MDISkinProvider;
}

// Where the item lies in the provider's menu line image. Painting into the
// provider's cache, ARect is in cache coordinates; else in the window's.
TPoint LineImagePos(TsSkinProvider* Provider, bool InCache, const TRect& ARect) {
  TCustomForm* form = Provider->Form;
  HWND wnd = form && form->HandleAllocated() ? form->Handle() : nullptr;
  TacBorderForm* border = Provider->BorderForm.get();
  const bool captioned = wnd && (GetWindowLongW(wnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
  TPoint p{0, 0};
  if (InCache) {
    if (border)
      p.Y = ARect.Top - Provider->CaptionHeight(true) - Provider->ShadowSize().Top;
    else if (captioned)
      p.Y = ARect.Top - SysCaptHeight(form) - SysBorderWidth(wnd, border, false);
    p.X = ARect.Left - Provider->ShadowSize().Left - SysBorderWidth(wnd, border, true);
  } else {
    if (border)
      p.Y = ARect.Top - Provider->CaptionHeight(true) + DiffTitle(border) + (Provider->TallTitle ? 4 : 0);
    else if (captioned)
      p.Y = ARect.Top - SysCaptHeight(form) + DiffTitle(border) - SysBorderWidth(wnd, border, false);
    p.X = ARect.Left - SysBorderWidth(wnd, border, true) + DiffBorder(border);
  }
  return p;
}

constexpr Cardinal kAlignFlags[] = {DT_LEFT, DT_RIGHT, DT_CENTER};

}  // namespace

void TsSkinableMenus::sAdvancedDrawLineItem(TObject* Sender, TCanvas* ACanvas, const TRect& ARect,
                                            TOwnerDrawState State) {
  TsSkinManager* m = Manager();
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!m || !item || !ACanvas || ARect.Width() <= 0 || ARect.Height() <= 0) return;
  TsSkinProvider* provider = LineProvider(item);
  if (!provider || !provider->SkinData()->CacheBmp) return;
  TacBitmap* cache = provider->SkinData()->CacheBmp.get();
  TacBitmap* line = provider->MenuLineBmp.get();
  const bool inCache = ACanvas == cache->Canvas();
  const TPoint pos = LineImagePos(provider, inCache, ARect);

  std::unique_ptr<TacBitmap> bmp = CreateBmp32(ARect.Width(), ARect.Height());
  if (!bmp) return;
  const TRect r(0, 0, ARect.Width(), ARect.Height());
  const bool hot = item->Enabled() && (State.Contains(odSelected) || State.Contains(odHotLight));
  const TCacheInfo ci = line && !line->Empty() ? MakeCacheInfo(line) : EmptyCI;
  const Integer itemIndex = m->GetSkinIndex("MENUITEM");
  if (m->IsValidSkinIndex(itemIndex))
    PaintItem(itemIndex, "MENUITEM", ci, true, hot ? 1 : 0, r, pos, bmp.get(), m);

  // The picture left of the caption.
  TRect g(0, 0, 0, 0);
  if (item->HasBitmap()) {
    TBitmap* glyph = item->Bitmap();
    g.Top = (ARect.Height() - glyph->Height()) / 2;
    g.Left = 3;
    g.Right = g.Left + glyph->Width() + 3;
    g.Bottom = g.Top + glyph->Height();
    if (!item->Enabled()) g = TRect(3, 1, 3 + g.Width(), 1 + g.Height());
    bmp->Canvas()->Draw(g.Left, g.Top, glyph);
  }

  TCanvas* canvas = bmp->Canvas();
  if (TFont* font = MenuFont()) canvas->SetFont(font);
  if (TFont* formFont = OwnerFormFont(item->GetParentMenu())) canvas->Font()->SetCharset(formFont->Charset());
  canvas->Font()->SetStyle(State.Contains(odDefault) ? TFontStyles{fsBold} : TFontStyles{});

  const Integer gw = g.Width();
  TRect t(2 + gw, 0, 2 + gw + ARect.Width() - 2 * Margin - gw, ARect.Height());
  Cardinal flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP | kAlignFlags[Alignment >= 0 && Alignment <= 2 ? Alignment : 0];
  if (State.Contains(odNoAccel)) flags |= DT_HIDEPREFIX;
  const Integer lineIndex = m->GetSkinIndex("MENULINE");
  const AnsiString caption = item->Caption();
  if (provider->BorderForm)
    WriteText32(bmp.get(), caption.c_str(), true, t, flags, lineIndex, hot, m);
  else
    WriteTextEx(canvas, caption.c_str(), true, t, flags, lineIndex, hot, m);

  ItemType = smTopLine;
  if (OnDrawItem) OnDrawItem(item, canvas, g, State, smTopLine);
  if (!item->Enabled() && line && !line->Empty())
    SumBmpRect(bmp.get(), line, static_cast<Integer>(std::lround(DefDisabledBlend * 255)),
               TRect(pos.X, pos.Y, pos.X + r.Width(), pos.Y + r.Height()), TPoint{0, 0});
  BitBlt(ACanvas->Handle(), ARect.Left, ARect.Top, r.Width(), r.Height(), canvas->Handle(), 0, 0, SRCCOPY);
}

void TsSkinableMenus::HookPopupMenu(TPopupMenu*, bool) {}

TacMenuInfo TsSkinableMenus::GetMenuInfo(TMenuItem*, Integer, Integer, TCanvas*, HWND) { return TacMenuInfo{}; }

void TsSkinableMenus::DrawWndBorder(HWND, TBitmap*) {}

TacMenuSupport::TacMenuSupport() : FExtraLineFont(std::make_unique<TFont>()) {}

TacMenuSupport::~TacMenuSupport() = default;

DK_PUBLISH(TacMenuSupport) {
  P.Property("AlphaBlend", &TacMenuSupport::AlphaBlend).Default(255);
  P.Property("ExtraLineFont", &TacMenuSupport::ExtraLineFont, &TacMenuSupport::SetExtraLineFont);
  P.Property("ExtraLineWidth", &TacMenuSupport::ExtraLineWidth).Default(32);
  P.Property("IcoLineSkin", &TacMenuSupport::IcoLineSkin);
  P.Property("UseExtraLine", &TacMenuSupport::UseExtraLine).Default(false);
}
