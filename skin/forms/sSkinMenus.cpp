#include "skin/forms/sSkinMenus.h"

#include <cmath>
#include <functional>

#include "classlib/ui/ImgList.h"

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
  const bool popups = Value && m && m->SkinnedPopups();
  WalkComponents(Application, [&](TComponent* c) {
    if (auto* menu = dynamic_cast<TMainMenu*>(c)) {
      InitMenuLine(menu, Value);
      for (int i = 0; i < menu->Items()->Count(); ++i) HookItem(menu->Items()->Items(i), popups);
    } else if (auto* popup = dynamic_cast<TPopupMenu*>(c)) {
      HookPopupMenu(popup, popups);
    } else if (auto* item = dynamic_cast<TMenuItem*>(c)) {
      if (!dynamic_cast<TMainMenu*>(item->GetParentMenu())) HookItem(item, popups);
    }
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
  if (!Item) return;
  if (!IsTopLine(Item)) {
    const TAdvancedMenuDrawItemEvent draw(this, &TsSkinableMenus::sAdvancedDrawItem);
    const TMenuMeasureItemEvent measure(this, &TsSkinableMenus::sMeasureItem);
    TsSkinManager* m = Manager();
    if (!A) {
      if (SameCode(Item->OnAdvancedDrawItem, draw)) Item->OnAdvancedDrawItem = nullptr;
      if (SameCode(Item->OnMeasureItem, measure)) Item->OnMeasureItem = nullptr;
    } else if (m && m->SkinnedPopups()) {
      if (!Item->OnAdvancedDrawItem) Item->OnAdvancedDrawItem = draw;
      if (!Item->OnMeasureItem) Item->OnMeasureItem = measure;
    }
    return;
  }
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

TacMenuSupport::TacMenuSupport() : FExtraLineFont(std::make_unique<TFont>()) {}

TacMenuSupport::~TacMenuSupport() = default;

DK_PUBLISH(TacMenuSupport) {
  P.Property("AlphaBlend", &TacMenuSupport::AlphaBlend).Default(255);
  P.Property("ExtraLineFont", &TacMenuSupport::ExtraLineFont, &TacMenuSupport::SetExtraLineFont);
  P.Property("ExtraLineWidth", &TacMenuSupport::ExtraLineWidth).Default(32);
  P.Property("IcoLineSkin", &TacMenuSupport::IcoLineSkin);
  P.Property("UseExtraLine", &TacMenuSupport::UseExtraLine).Default(false);
}

// ================================================================ pop-up menus

bool acCanHookMenu = false;
int acMenuBGPrepared = 0;
int acMenuRgnSet = 0;
AnsiString acExtraLineSection;
AnsiString acExtraLineCaption;

namespace {

// The background bitmaps of the open pop-ups (owned here).
std::vector<TacMenuInfo> gMenuCache;
// Margin + glyph width + Spacing of the pop-up prepared last (the icon column).
Integer gIcoLineWidth = 0;
bool gExtraLineGuard = false;

// Wine and Windows both draw a frame this wide around the items of a pop-up.
constexpr Integer kMenuFrame = 3;
// The application window draws the border of a pop-up whose window the
// painter could not find (the skin manager's hook serves these).
constexpr UINT kDrawMenuItemBorder = 0xBCB3;
constexpr UINT kDrawMenuWndBorder = 0xBCB4;

TSize ImagesSize(TCustomImageList* Images) { return TSize{Images->Width(), Images->Height()}; }

// The glyph size of an item: its picture, else the images of its parent
// item, else of its menu, else 16 x 16.
TSize GlyphSize(TMenuItem* Item) {
  if (Item->HasBitmap()) return TSize{Item->Bitmap()->Width(), Item->Bitmap()->Height()};
  if (Item->Parent() && Item->Parent()->SubMenuImages()) return ImagesSize(Item->Parent()->SubMenuImages());
  if (TMenu* menu = Item->GetParentMenu(); menu && menu->Images()) return ImagesSize(menu->Images());
  return TSize{16, 16};
}

// The image list that draws the item's ImageIndex (nullptr when none does).
TCustomImageList* ItemImages(TMenuItem* Item) {
  if (Item->ImageIndex() < 0) return nullptr;
  if (Item->Parent() && Item->Parent()->SubMenuImages()) return Item->Parent()->SubMenuImages();
  TMenu* menu = Item->GetParentMenu();
  return menu ? menu->Images() : nullptr;
}

// No item of the parent up to and including Item starts a new column.
bool InFirstColumn(TMenuItem* Item) {
  TMenuItem* parent = Item->Parent();
  if (!parent) return true;
  for (int i = 0; i < parent->Count(); ++i) {
    if (parent->Items(i)->Break() != mbNone) return false;
    if (parent->Items(i) == Item) break;
  }
  return true;
}

bool IsDivider(TMenuItem* Item) { return Item->Caption() == "-"; }

void SelectMenuFont(TCanvas* Canvas, TMenuItem* Item, bool Bold) {
  if (TFont* font = MenuFont()) Canvas->SetFont(font);
  if (TFont* formFont = OwnerFormFont(Item->GetParentMenu())) Canvas->Font()->SetCharset(formFont->Charset());
  if (Bold) Canvas->Font()->SetStyle(Canvas->Font()->Style() + TFontStyles{fsBold});
}

// DrawText's measure of Text wrapped within Width pixels.
TSize MeasureText(TCanvas* Canvas, const AnsiString& Text, Integer Width) {
  TRect r(0, 0, Width, 0);
  acDrawText(Canvas->Handle(), Text, r, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK);
  return TSize{r.Width(), r.Height()};
}

// The visible items of Item's pop-up, their first and last.
TMenuItem* FirstVisible(TMenuItem* Parent) {
  for (int i = 0; Parent && i < Parent->Count(); ++i)
    if (Parent->Items(i)->Visible()) return Parent->Items(i);
  return nullptr;
}
TMenuItem* LastVisible(TMenuItem* Parent) {
  for (int i = Parent ? Parent->Count() - 1 : -1; i >= 0; --i)
    if (Parent->Items(i)->Visible()) return Parent->Items(i);
  return nullptr;
}

HDC BmpDC(TBitmap* Bmp) { return Bmp->Canvas()->Handle(); }

}  // namespace

const std::vector<TacMenuInfo>& MenuBGCache() { return gMenuCache; }

void ClearCache() {
  for (TacMenuInfo& info : gMenuCache) delete info.Bmp;
  gMenuCache.clear();
}

void DeleteUnusedBmps() { ClearCache(); }

TMenuItem* GetFirstItem(TMenuItem* Item) {
  TMenuItem* parent = Item ? Item->Parent() : nullptr;
  return parent && parent->Count() > 0 ? parent->Items(0) : nullptr;
}

TPoint MenuClientOffset(HWND Wnd) {
  RECT wr{};
  POINT origin{0, 0};
  if (!Wnd || !GetWindowRect(Wnd, &wr) || !ClientToScreen(Wnd, &origin)) return TPoint{kMenuFrame, kMenuFrame};
  return TPoint{origin.x - wr.left, origin.y - wr.top};
}

bool TsSkinableMenus::IsDivText(TMenuItem* Item) {
  const AnsiString& c = Item->Caption();
  return !c.empty() && c.front() == '-' && c.back() == '-';
}

bool TsSkinableMenus::IsPopupItem(TMenuItem* Item) {
  return Item && dynamic_cast<TPopupMenu*>(Item->GetParentMenu()) != nullptr;
}

TRect TsSkinableMenus::ItemRect(TMenuItem* Item, const TRect& R) const {
  TRect r(R.Left + CursorMarginH(), R.Top, R.Right - CursorMarginH(), R.Bottom);
  if (Item && GetFirstItem(Item) == Item) r.Top += CursorMarginV();
  if (Item && Item->Parent() && Item->Parent()->Count() > 0 &&
      Item->Parent()->Items(Item->Parent()->Count() - 1) == Item)
    r.Bottom -= CursorMarginV();
  return r;
}

Integer TsSkinableMenus::ExtraWidth(const TacMenuInfo& Info) const {
  TsSkinManager* m = Manager();
  return m && m->MenuSupport()->UseExtraLine && Info.HaveExtraLine ? m->MenuSupport()->ExtraLineWidth : 0;
}

void TsSkinableMenus::HookItem(TMenuItem* Item, bool A) {
  if (!Item) return;
  const TAdvancedMenuDrawItemEvent draw(this, &TsSkinableMenus::sAdvancedDrawItem);
  const TMenuMeasureItemEvent measure(this, &TsSkinableMenus::sMeasureItem);
  for (int i = 0; i < Item->Count(); ++i) {
    TMenuItem* sub = Item->Items(i);
    if (A) {
      if (!IsTopLine(sub)) {
        if (!sub->OnAdvancedDrawItem) sub->OnAdvancedDrawItem = draw;
        if (!sub->OnMeasureItem) sub->OnMeasureItem = measure;
      }
    } else {
      if (SameCode(sub->OnAdvancedDrawItem, draw)) sub->OnAdvancedDrawItem = nullptr;
      if (SameCode(sub->OnMeasureItem, measure)) sub->OnMeasureItem = nullptr;
    }
    HookItem(sub, A);
  }
}

void TsSkinableMenus::HookPopupMenu(TPopupMenu* Menu, bool A) {
  if (!Menu) return;
  TsSkinManager* m = Manager();
  Menu->SetOwnerDraw(A && m && m->SkinnedPopups());
  TMenuAnimation anim = Menu->MenuAnimation();
  if (A)
    anim.Include(maNone);
  else
    anim.Exclude(maNone);
  Menu->SetMenuAnimation(anim);
  // As HookItem, with no exception for top-line items.
  const TAdvancedMenuDrawItemEvent draw(this, &TsSkinableMenus::sAdvancedDrawItem);
  const TMenuMeasureItemEvent measure(this, &TsSkinableMenus::sMeasureItem);
  std::function<void(TMenuItem*)> walk = [&](TMenuItem* item) {
    for (int i = 0; i < item->Count(); ++i) {
      TMenuItem* sub = item->Items(i);
      if (A) {
        if (!sub->OnAdvancedDrawItem) sub->OnAdvancedDrawItem = draw;
        if (!sub->OnMeasureItem) sub->OnMeasureItem = measure;
      } else {
        if (SameCode(sub->OnAdvancedDrawItem, draw)) sub->OnAdvancedDrawItem = nullptr;
        if (SameCode(sub->OnMeasureItem, measure)) sub->OnMeasureItem = nullptr;
      }
      walk(sub);
    }
  };
  walk(Menu->Items());
}

// ------------------------------------------------------------------ measuring

bool TsSkinableMenus::ExtraLineData(TMenuItem* First) {
  if (First && First->Name() == "SkinSelectItem") return false;
  // The application may give each pop-up its own band; without its answer
  // every pop-up shows the default one (when UseExtraLine asks for it).
  acExtraLineSection = "EXTRALINE";
  acExtraLineCaption = "Use OnGetExtraLineData event";
  return true;
}

Integer TsSkinableMenus::GetItemHeight(TCanvas* ACanvas, TMenuItem* Item) {
  if (IsDivider(Item)) return 2;
  AnsiString text = Item->Caption();
  const bool caption = IsDivText(Item);
  if (!caption) text += ShortCutToText(Item->GetShortCut());
  const Integer h = MeasureText(ACanvas, text, 800).cy;
  if (caption) return h + 2 * Margin + 3;
  return std::max<Integer>(h, GlyphSize(Item).cy) + 2 * Margin + 2;
}

Integer TsSkinableMenus::GetItemWidth(TCanvas* ACanvas, TMenuItem* Item, const TacMenuInfo& Info) {
  Integer tw = 0;
  if (ItemType == smCaption) {
    tw = ACanvas->TextWidth("-" + Item->Caption() + "-");
  } else if (ItemType == smNormal) {
    TRect r(0, 0, 0, 0);
    acDrawText(ACanvas->Handle(), Item->Caption() + ShortCutToText(Item->GetShortCut()), r,
               DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE);
    tw = r.Width();
  }
  Integer w = 2 * GlyphSize(Item).cx + tw + 3 * Margin + Spacing;
  if (Info.HaveExtraLine) w += ExtraWidth(Info);
  return w;
}

void TsSkinableMenus::sMeasureItem(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!item || !ACanvas || item->ComponentState().Contains(csDestroying)) return;
  acCanHookMenu = true;
  TacMenuInfo info = GetMenuInfo(item, 0, 0, nullptr, nullptr);
  ItemType = IsDivider(item) ? smDivider : IsDivText(item) ? smCaption : smNormal;
  if (!info.FirstItem) {
    info.FirstItem = GetFirstItem(item);
    TsSkinManager* m = Manager();
    if (!gExtraLineGuard && !(m && m->ComponentState().Contains(csDesigning))) {
      TFlagScope guard(gExtraLineGuard);
      info.HaveExtraLine = ExtraLineData(info.FirstItem);
      acExtraLineCaption = WithoutAmpersands(acExtraLineCaption);
    }
  }
  SelectMenuFont(ACanvas, item, item->Default());
  AnsiString text;
  if (ItemType == smCaption)
    text = "-" + item->Caption() + "-";
  else if (ItemType == smNormal)
    text = item->Caption() + ShortCutToText(item->GetShortCut());
  const TSize glyph = GlyphSize(item);
  Width = 2 * glyph.cx + 3 * Margin + Spacing;
  if (!text.empty()) Width += MeasureText(ACanvas, text, ItemType == smNormal ? 800 : 1).cx;
  if (info.HaveExtraLine && InFirstColumn(item)) Width += ExtraWidth(info);
  Height = GetItemHeight(ACanvas, item);
}

Integer TsSkinableMenus::ParentWidth(TCanvas* ACanvas, TMenuItem* Item) {
  TMenuItem* parent = Item ? Item->Parent() : nullptr;
  Integer total = 0, column = 0;
  for (int i = 0; parent && i < parent->Count(); ++i) {
    TMenuItem* item = parent->Items(i);
    if (!item->Visible()) continue;
    if (item->Break() != mbNone) {
      total += column + 4;
      column = 0;
    }
    int w = 0, h = 0;
    sMeasureItem(item, ACanvas, w, h);
    column = std::max<Integer>(column, w + 12);
  }
  return total + column;
}

Integer TsSkinableMenus::ParentHeight(TCanvas* ACanvas, TMenuItem* Item) {
  TMenuItem* parent = Item ? Item->Parent() : nullptr;
  Integer tallest = 0, column = 0;
  for (int i = 0; parent && i < parent->Count(); ++i) {
    TMenuItem* item = parent->Items(i);
    if (!item->Visible()) continue;
    if (item->Break() != mbNone) {
      tallest = std::max(tallest, column);
      column = 0;
    }
    column += GetItemHeight(ACanvas, item);
  }
  return std::max(tallest, column);
}

// ------------------------------------------------------- background cache

TacMenuInfo TsSkinableMenus::GetMenuInfo(TMenuItem* Item, Integer, Integer, TCanvas* ACanvas, HWND Wnd) {
  if (Item) {
    TMenuItem* key = GetFirstItem(Item);
    for (const TacMenuInfo& info : gMenuCache)
      if (info.FirstItem == key) return info;
    if (!ACanvas || !key) return TacMenuInfo{};
    Integer w = 0, h = 0;
    if (!Wnd) {
      w = ParentWidth(ACanvas, Item) + 2 * BorderWidth;
      h = ParentHeight(ACanvas, Item) + 2 * BorderWidth;
    } else if (RECT r{}; GetWindowRect(Wnd, &r)) {
      w = r.right - r.left;
      h = r.bottom - r.top;
    }
    PrepareMenuBG(key, w, h, Wnd);
    return gMenuCache.back();
  }
  if (Wnd)
    for (const TacMenuInfo& info : gMenuCache)
      if (info.Wnd == Wnd) return info;
  return TacMenuInfo{};
}

void TsSkinableMenus::PrepareMenuBG(TMenuItem* Item, Integer Width, Integer Height, HWND Wnd) {
  TsSkinManager* m = Manager();
  TacMenuInfo info;
  info.FirstItem = GetFirstItem(Item) ? GetFirstItem(Item) : Item;
  info.Wnd = Wnd;
  if (!(m && m->ComponentState().Contains(csDesigning))) info.HaveExtraLine = ExtraLineData(info.FirstItem);
  std::unique_ptr<TacBitmap> bmp = CreateBmp32(std::max<Integer>(Width, 0), std::max<Integer>(Height, 0));
  if (!bmp) bmp = std::make_unique<TacBitmap>();
  ++acMenuBGPrepared;
  bmp->Canvas()->Lock();
  const TRect r(0, 0, Width, Height);
  gIcoLineWidth = Margin + GlyphSize(Item).cx + Spacing;
  const Integer mainIndex = m ? m->GetSkinIndex("MAINMENU") : -1;
  OuterRgns.clear();
  if (m && m->IsValidSkinIndex(mainIndex) && Width > 0 && Height > 0) {
    PaintItemBG(mainIndex, "MAINMENU", EmptyCI, 0, r, TPoint{0, 0}, bmp.get(), m);
    const Integer sbw = GetSkinBorderWidth();
    const Integer extra = ExtraWidth(info);
    const AnsiString icoSection = m->MenuSupport()->IcoLineSkin.empty() ? AnsiString("ICOLINE") : m->MenuSupport()->IcoLineSkin;
    const Integer icoIndex = m->GetSkinIndex(icoSection);
    TMenu* menu = Item->GetParentMenu();
    HWND owner = nullptr;
    if (auto* popup = dynamic_cast<TPopupMenu*>(menu)) owner = popup->WindowHandle();
    if (auto* main = dynamic_cast<TMainMenu*>(menu)) owner = main->WindowHandle();
    const bool rightAligned = owner && (GetWindowLongPtrW(owner, GWL_EXSTYLE) & WS_EX_RIGHT);
    if (!rightAligned && m->IsValidSkinIndex(icoIndex) && Height > 2 * sbw) {
      if (auto band = CreateBmp32(gIcoLineWidth, Height - 2 * sbw)) {
        const TPoint at{extra + sbw, sbw};
        PaintItem(icoIndex, icoSection, MakeCacheInfo(bmp.get()), true, 0, TRect(0, 0, band->Width(), band->Height()),
                  at, band.get(), m);
        BitBlt(BmpDC(bmp.get()), at.X, at.Y, band->Width(), band->Height(), BmpDC(band.get()), 0, 0, SRCCOPY);
      }
    }
    const Integer maskIndex = m->GetMaskIndex(mainIndex, "MAINMENU", "BORDERSMASK");
    if (m->IsValidImgIndex(maskIndex)) DrawSkinRect(bmp.get(), r, EmptyCI, m->Masks[maskIndex], 0, false);
    const Integer extraIndex = m->GetSkinIndex(acExtraLineSection);
    if (extra > 0 && m->IsValidSkinIndex(extraIndex) && Height > 2 * sbw) {
      if (auto band = CreateBmp32(extra, Height - 2 * sbw)) {
        const TPoint at{sbw, sbw};
        PaintItem(extraIndex, acExtraLineSection, MakeCacheInfo(bmp.get()), true, 0,
                  TRect(0, 0, band->Width(), band->Height()), at, band.get(), m);
        if (!acExtraLineCaption.empty()) {
          // The caption runs upwards along the band.
          TFont* base = m->MenuSupport()->ExtraLineFont();
          LOGFONTW lf{};
          GetObjectW(base->Handle(), sizeof lf, &lf);
          lf.lfEscapement = lf.lfOrientation = -2700;
          if (TFont* formFont = OwnerFormFont(menu)) lf.lfCharSet = static_cast<BYTE>(formFont->Charset());
          HFONT font = CreateFontIndirectW(&lf);
          HDC dc = BmpDC(band.get());
          HGDIOBJ old = SelectObject(dc, font);
          SetBkMode(dc, TRANSPARENT);
          SetTextColor(dc, ColorToRGB(m->Sections[extraIndex].Props[0].FontColor.Color));
          TEXTMETRICW tm{};
          GetTextMetricsW(dc, &tm);
          const std::wstring w = winapi::W(acExtraLineCaption);
          TextOutW(dc, (band->Width() - tm.tmHeight) / 2 + tm.tmHeight, band->Height() - 12, w.c_str(),
                   static_cast<int>(w.size()));
          SelectObject(dc, old);
          DeleteObject(font);
        }
        BitBlt(BmpDC(bmp.get()), at.X, at.Y, band->Width(), band->Height(), BmpDC(band.get()), 0, 0, SRCCOPY);
      }
    }
    if (m->IsValidImgIndex(maskIndex)) {
      const TsMaskData& md = m->Masks[maskIndex];
      AddRgn(OuterRgns, Width, md, 0, false);
      AddRgn(OuterRgns, Width, md, Height - md.MarginBottom, true);
    }
    if (Wnd) DrawWndBorder(Wnd, bmp.get());
  }
  bmp->Canvas()->Unlock();
  info.Bmp = bmp.release();
  gMenuCache.push_back(info);
}

void TsSkinableMenus::DrawWndBorder(HWND Wnd, TBitmap* Bmp) {
  if (FBorderDrawing) return;
  if (IsNT && Bmp && Wnd && SendAMessage(Wnd, ACMD_SET_UPDATE_FLAG) == 0) {
    SendAMessage(Wnd, ACMD_QUERY_DROPPED_DOWN);
    TFlagScope drawing(FBorderDrawing);
    HRGN rgn = CreateRectRgn(0, 0, Bmp->Width(), Bmp->Height());
    auto cut = [rgn](const TRect& r) {
      HRGN piece = CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom);
      CombineRgn(rgn, rgn, piece, RGN_DIFF);
      DeleteObject(piece);
    };
    if (OuterRgns.empty()) cut(TRect(0, 0, 1, 1));
    for (const TRect& r : OuterRgns) cut(r);
    // The system owns the region from here on.
    if (!SetWindowRgn(Wnd, rgn, FALSE)) DeleteObject(rgn);
    ++acMenuRgnSet;
    HDC dc = GetWindowDC(Wnd);
    BitBltBorder(dc, 0, 0, Bmp->Width(), Bmp->Height(), BmpDC(Bmp), 0, 0, kMenuFrame);
    ReleaseDC(Wnd, dc);
  }
  FBorderDrawing = false;
}

// ------------------------------------------------------------ item painting

void TsSkinableMenus::PaintBorderStrips(HWND Wnd, TMenuItem* Item, const TRect& ARect, TBitmap* BG,
                                        const TacMenuInfo& Info, bool FirstColumn) {
  HDC dc = GetWindowDC(Wnd);
  if (!dc) return;
  HDC src = BmpDC(BG);
  const Integer w = BG->Width(), h = BG->Height(), b = BorderWidth;
  const TPoint o = MenuClientOffset(Wnd);
  auto copy = [&](Integer x, Integer y, Integer cx, Integer cy) { BitBlt(dc, x, y, cx, cy, src, x, y, SRCCOPY); };
  if (FirstVisible(Item->Parent()) == Item) {
    copy(0, 0, w, b);
    copy(0, 0, ExtraWidth(Info) * (FirstColumn ? 1 : 0) + std::max(GetSkinBorderWidth(), b), h);
  }
  if (LastVisible(Item->Parent()) == Item) copy(0, h - b, w, b);
  // The item's rectangle in window coordinates gives the strip beside it.
  copy(w - b, ARect.Top + o.Y, b, ARect.Height());
  ReleaseDC(Wnd, dc);
}

void TsSkinableMenus::sAdvancedDrawItem(TObject* Sender, TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  TsSkinManager* m = Manager();
  if (!item || !ACanvas || !m || !m->Active()) return;
  const bool first = InFirstColumn(item);
  if (auto* control = dynamic_cast<TControl*>(TempControl)) {
    if (ShowHintStored && Application) Application->ShowHint = AppShowHint;
    SendAMessage(control, ACMD_HOVER_LEAVE);
    TempControl = nullptr;
  }
  ACanvas->Lock();
  try {
    const HWND wnd = IsNT ? WindowFromDC(ACanvas->Handle()) : nullptr;
    TacMenuInfo info = GetMenuInfo(item, 0, 0, ACanvas, wnd);
    TBitmap* bg = info.Bmp;
    if (wnd && bg && !bg->Empty()) PaintBorderStrips(wnd, item, ARect, bg, info, first);
    if (!wnd && Application && Application->Handle()) {
      MSG msg;
      if (!PeekMessageW(&msg, Application->Handle(), kDrawMenuItemBorder, kDrawMenuWndBorder, PM_NOREMOVE))
        PostMessageW(Application->Handle(), kDrawMenuItemBorder, 0, reinterpret_cast<LPARAM>(item));
    }
    const TPoint offset = MenuClientOffset(wnd);
    if (IsDivider(item)) {
      PaintDivider(ACanvas, ARect, item, bg, info);
    } else if (IsDivText(item)) {
      PaintCaption(ACanvas, ARect, item, bg, info);
    } else {
      ItemType = smNormal;
      if (bg && !bg->Empty()) PaintItemBody(item, ACanvas, ARect, State, bg, info, offset, first);
    }
  } catch (...) {
    // A failed skinned drawing still lets the item's own painter run.
  }
  if (item->OnDrawItem) item->OnDrawItem(item, ACanvas, ARect, State.Contains(odSelected));
  ACanvas->Unlock();
}

// The background between columns: under the last item of a column and the
// strip left of an item that starts a new one.
void TsSkinableMenus::PaintColumnGaps(TMenuItem* Item, TCanvas* ACanvas, const TRect& ARect, TBitmap* BG,
                                      const TPoint& Offset) {
  HDC bgDC = BmpDC(BG);
  // The bottom of the items' area in client coordinates.
  const Integer areaBottom = BG->Height() - kMenuFrame - Offset.Y;
  TMenuItem* parent = Item->Parent();
  const int index = parent ? parent->IndexOf(Item) : 0;
  const bool last = !parent || index == parent->Count() - 1;
  if ((!last && parent->Items(index + 1)->Break() != mbNone) || (last && ARect.Bottom < areaBottom))
    BitBlt(ACanvas->Handle(), ARect.Left, ARect.Bottom, ARect.Width(), areaBottom - ARect.Bottom, bgDC,
           ARect.Left + Offset.X, ARect.Bottom + Offset.Y, SRCCOPY);
  if (Item->Break() != mbNone)
    BitBlt(ACanvas->Handle(), ARect.Left - 4, ARect.Top, 4, BG->Height() - 2 * kMenuFrame, bgDC,
           ARect.Left - 4 + Offset.X, ARect.Top + Offset.Y, SRCCOPY);
}

// The check glyph of a checked item without a picture, else the item's
// image, the system menu's symbol or the item's picture.
void TsSkinableMenus::PaintItemGlyph(TMenuItem* Item, TacBitmap* Bmp, TOwnerDrawState State, Integer ItemIndex) {
  TsSkinManager* m = Manager();
  const bool enabled = Item->Enabled();
  const bool selected = enabled && State.Contains(odSelected);
  const bool hot = enabled && (State.Contains(odSelected) || State.Contains(odHotLight));
  TCustomImageList* images = ItemImages(Item);
  if (State.Contains(odChecked) && !Item->HasBitmap() && !images) {
    Integer mask = m->GetMaskIndex("GLOBALINFO", Item->RadioItem() ? "RADIOCHECKED" : "CHECK");
    if (!m->IsValidImgIndex(mask)) mask = m->GetMaskIndex("GLOBALINFO", "BOXCHECKED");
    if (m->IsValidImgIndex(mask)) {
      const TsMaskData& md = m->Masks[mask];
      const Integer gh = HeightOfImage(md);
      DrawSkinGlyph(Bmp, TPoint{2 + Margin, (Bmp->Height() - gh) / 2}, selected ? 1 : 0, 1, md, MakeCacheInfo(Bmp));
    }
  }
  // A checked item's image or picture stands on a pressed frame.
  auto pressedFrame = [&](const TRect& g) {
    const Integer frame = m->GetSkinIndex("SPEEDBUTTON_SMALL");
    if (State.Contains(odChecked) && m->IsValidSkinIndex(frame))
      PaintItem(frame, "SPEEDBUTTON_SMALL", MakeCacheInfo(Bmp), true, 2,
                TRect(g.Left - 1, g.Top - 1, g.Right + 1, g.Bottom + 1), TPoint{0, 0}, Bmp, m);
  };
  if (images) {
    const Integer top = (Bmp->Height() - images->Height()) / 2;
    const Integer left = std::min<Integer>(3, top);
    pressedFrame(TRect(left, top, left + images->Width(), top + images->Height()));
    images->Draw(Bmp->Canvas(), left, top, Item->ImageIndex(), true);
  } else if (Item->GetParentMenu() && Item->GetParentMenu()->Name().rfind("acSysMenu", 0) == 0) {
    const char* symbol = nullptr;
    switch (Item->Tag()) {
      case SC_MINIMIZE: symbol = "0"; break;
      case SC_MAXIMIZE: symbol = "1"; break;
      case SC_RESTORE: symbol = "2"; break;
      case SC_CLOSE: symbol = "r"; break;
      default: break;
    }
    if (symbol) {
      TCanvas* c = Bmp->Canvas();
      c->Font()->SetName("Webdings");
      c->Font()->SetStyle(TFontStyles{});
      c->Font()->SetSize(10);
      const Integer h = c->TextHeight(symbol);
      const Integer top = (Bmp->Height() - h) / 2;
      TRect r(4, top, h + 14, top + h);
      acWriteTextEx(c, symbol, true, r, DT_LEFT, ItemIndex, hot, m);
    }
  } else if (Item->HasBitmap()) {
    TBitmap* pic = Item->Bitmap();
    const Integer top = (Bmp->Height() - pic->Height()) / 2;
    const Integer left = std::min<Integer>(3, top);
    pressedFrame(TRect(left, top, left + pic->Width(), top + pic->Height()));
    if (pic->PixelFormat() == pf32bit)
      CopyByMask(TRect(left, top, left + pic->Width(), top + pic->Height()), TRect(0, 0, pic->Width(), pic->Height()),
                 Bmp, pic, EmptyCI, false);
    else
      Bmp->Canvas()->Draw(left, top, pic);
  }
}

// The caption (its part after a tab right-aligned), then the shortcut.
void TsSkinableMenus::PaintItemTexts(TMenuItem* Item, TacBitmap* Bmp, const TRect& ARect, TOwnerDrawState State,
                                     Integer ItemIndex, Integer Extra) {
  TsSkinManager* m = Manager();
  const bool hot = Item->Enabled() && (State.Contains(odSelected) || State.Contains(odHotLight));
  TCanvas* canvas = Bmp->Canvas();
  SelectMenuFont(canvas, Item, State.Contains(odDefault));
  TRect t(0, 1, ARect.Width(), ARect.Height());
  t.Left += GlyphSize(Item).cx + 2 * Margin + Spacing;
  AnsiString text = Item->Caption(), tabText;
  Cardinal flags;
  if (const size_t tab = text.find('\t'); tab != AnsiString::npos) {
    tabText = text.substr(tab + 1);
    text.erase(tab);
    flags = DT_LEFT;
  } else if (!text.empty() && text.front() == '\x08') {
    text = text.substr(1) + "      ";
    flags = DT_RIGHT;
  } else {
    flags = kAlignFlags[Alignment >= 0 && Alignment <= 2 ? Alignment : 0];
  }
  flags |= DT_EXPANDTABS | DT_VCENTER | DT_NOCLIP;
  flags |= text.find('\r') != AnsiString::npos ? DT_WORDBREAK : DT_SINGLELINE;
  if (State.Contains(odNoAccel)) flags |= DT_HIDEPREFIX;
  t.Top += Margin;
  t.Bottom -= Margin;
  acWriteTextEx(canvas, text, true, t, flags, ItemIndex, hot, m);
  TRect previous = t;
  const AnsiString shortcut = ShortCutToText(Item->GetShortCut());
  if (!shortcut.empty()) {
    TRect calc(0, 0, 0, 0);
    acDrawText(canvas->Handle(), shortcut, calc, DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE);
    TRect r(ARect.Width() - calc.Width() - 8 - Extra, 0, ARect.Width() - 8 - Extra, ARect.Height());
    acWriteTextEx(canvas, shortcut, true, r, DT_SINGLELINE | DT_VCENTER, ItemIndex, hot, m);
    previous = r;
  }
  if (!tabText.empty()) {
    TRect r = previous;
    r.Right -= 8 + Extra;
    r.Left -= Extra;
    acWriteTextEx(canvas, tabText, true, r, DT_SINGLELINE | DT_VCENTER | DT_RIGHT, ItemIndex, hot, m);
  }
}

void TsSkinableMenus::PaintItemBody(TMenuItem* Item, TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State,
                                    TBitmap* BG, const TacMenuInfo& Info, const TPoint& Offset, bool FirstColumn) {
  TsSkinManager* m = Manager();
  const Integer extra = ExtraWidth(Info) * (FirstColumn ? 1 : 0);
  PaintColumnGaps(Item, ACanvas, ARect, BG, Offset);
  std::unique_ptr<TacBitmap> bmp = CreateBmp32(std::max<Integer>(ARect.Width() - extra, 0), ARect.Height());
  if (!bmp || bmp->Width() == 0) return;
  const bool selected = Item->Enabled() && State.Contains(odSelected);
  const Integer itemIndex = m->GetSkinIndex("MENUITEM");
  // The item's place in the background.
  const TPoint at{extra + ARect.Left + Offset.X, ARect.Top + Offset.Y};
  if (m->IsValidSkinIndex(itemIndex))
    PaintItem(itemIndex, "MENUITEM", MakeCacheInfo(BG), true, selected ? 1 : 0,
              TRect(0, 0, bmp->Width(), bmp->Height()), at, bmp.get(), m);
  else
    BitBlt(BmpDC(bmp.get()), 0, 0, bmp->Width(), bmp->Height(), BmpDC(BG), at.X, at.Y, SRCCOPY);
  PaintItemGlyph(Item, bmp.get(), State, itemIndex);
  PaintItemTexts(Item, bmp.get(), ARect, State, itemIndex, extra);
  if (OnDrawItem) OnDrawItem(Item, bmp->Canvas(), TRect(0, 0, bmp->Width(), bmp->Height()), State, smNormal);
  if (!Item->Enabled())
    BlendTransRectangle(bmp.get(), 0, 0, BG,
                        TRect(at.X, at.Y, at.X + bmp->Width() - 1, at.Y + bmp->Height() - 1), DefDisabledBlend);
  BitBlt(ACanvas->Handle(), extra + ARect.Left, ARect.Top, bmp->Width(), bmp->Height(), bmp->Canvas()->Handle(), 0,
         0, SRCCOPY);
  if (GetFirstItem(Item) == Item && extra > 0)
    BitBlt(ACanvas->Handle(), 0, 0, extra, BG->Height(), BmpDC(BG), Offset.X, Offset.Y, SRCCOPY);
}

void TsSkinableMenus::PaintDivider(TCanvas* ACanvas, const TRect& ARect, TMenuItem* Item, TBitmap* BG,
                                   const TacMenuInfo& Info) {
  TsSkinManager* m = Manager();
  if (!m || !BG || BG->Empty()) return;
  const TPoint o = MenuClientOffset(WindowFromDC(ACanvas->Handle()));
  const Integer extra = ExtraWidth(Info) * (InFirstColumn(Item) ? 1 : 0);
  const Integer dividerMask = m->GetMaskIndex(m->GetSkinIndex("DIVIDERV"), "DIVIDERV", "BORDERSMASK");
  TRect r(0, 0, ARect.Width() - Margin, ARect.Height());
  const AnsiString icoSection = m->MenuSupport()->IcoLineSkin.empty() ? AnsiString("ICOLINE") : m->MenuSupport()->IcoLineSkin;
  const Integer ico = m->GetSkinIndex(icoSection);
  const bool noIcoLine = !m->IsValidSkinIndex(ico) ||
                         (m->Sections[ico].Props[0].Transparency > 99 && m->Sections[ico].BorderMask < 0);
  if (noIcoLine) {
    r.Left = std::max<Integer>(extra + Margin, extra + 2);
  } else {
    r.Left = extra + Margin + Spacing;
    if (r.Left < extra + gIcoLineWidth) r.Left = extra + gIcoLineWidth + 2;
  }
  if (!m->IsValidImgIndex(dividerMask)) {
    BitBlt(ACanvas->Handle(), ARect.Left, ARect.Top, ARect.Width(), ARect.Height(), BmpDC(BG), ARect.Left + o.X,
           ARect.Top + o.Y, SRCCOPY);
    TColor color = m->Palette[pcBorder];
    if (ColorToRGB(color) == 0xFF00FF) color = clBtnShadow;
    HDC dc = ACanvas->Handle();
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(color));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, ARect.Left + r.Left, ARect.Top, nullptr);
    LineTo(dc, ARect.Left + r.Right, ARect.Top);
    SelectObject(dc, old);
    DeleteObject(pen);
    return;
  }
  std::unique_ptr<TacBitmap> bmp = CreateBmp32(ARect.Width(), ARect.Height());
  if (!bmp) return;
  BitBlt(BmpDC(bmp.get()), 0, 0, ARect.Width(), ARect.Height(), BmpDC(BG), ARect.Left + o.X, ARect.Top + o.Y,
         SRCCOPY);
  DrawSkinRect(bmp.get(), r, MakeCacheInfo(bmp.get()), m->Masks[dividerMask], 0, true);
  BitBlt(ACanvas->Handle(), ARect.Left, ARect.Top, ARect.Width(), ARect.Height(), BmpDC(bmp.get()), 0, 0, SRCCOPY);
}

void TsSkinableMenus::PaintCaption(TCanvas* ACanvas, const TRect& ARect, TMenuItem* Item, TBitmap* BG,
                                   const TacMenuInfo& Info) {
  TsSkinManager* m = Manager();
  if (!m || !BG || BG->Empty()) return;
  const TPoint o = MenuClientOffset(WindowFromDC(ACanvas->Handle()));
  std::unique_ptr<TacBitmap> bmp = CreateBmp32(ARect.Width(), ARect.Height());
  if (!bmp) return;
  const Integer extra = ExtraWidth(Info);
  const TRect r(extra + 1, 1, ARect.Width() - 1, ARect.Height() - 1);
  AnsiString section = "MENUCAPTION";
  Integer index = m->GetSkinIndex(section);
  if (!m->IsValidSkinIndex(index)) {
    section = "TOOLBAR";
    index = m->GetSkinIndex(section);
  }
  HDC bgDC = BmpDC(BG);
  const TPoint src{ARect.Left + o.X, ARect.Top + o.Y};
  if (extra > 0) BitBlt(BmpDC(bmp.get()), 0, 0, extra + 1, ARect.Height(), bgDC, src.X, src.Y, SRCCOPY);
  BitBltBorder(BmpDC(bmp.get()), 0, 0, ARect.Width(), ARect.Height(), bgDC, src.X, src.Y, 1);
  if (m->IsValidSkinIndex(index))
    PaintItem(index, section, MakeCacheInfo(BG), true, 0, r, TPoint{extra + ARect.Left + o.X + 1, ARect.Top + o.Y + 1},
              bmp.get(), m);
  TCanvas* canvas = bmp->Canvas();
  if (CustomMenuFont) {
    canvas->SetFont(CustomMenuFont);
    if (TFont* formFont = OwnerFormFont(Item->GetParentMenu())) canvas->Font()->SetCharset(formFont->Charset());
  } else if (CaptionFont()) {
    canvas->SetFont(CaptionFont());
  } else if (TFont* font = MenuFont()) {
    canvas->SetFont(font);
  }
  // The first word between the hyphens: "-Title-" shows "Title".
  const AnsiString& c = Item->Caption();
  const size_t start = c.find_first_not_of('-');
  AnsiString title = start == AnsiString::npos ? AnsiString() : c.substr(start, c.find('-', start) - start);
  TRect t(extra, Margin + 2, ARect.Width(), ARect.Height() - Margin - 2);
  acWriteTextEx(canvas, title, true, t, DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_HIDEPREFIX, index, false, m);
  BitBlt(ACanvas->Handle(), ARect.Left, ARect.Top, ARect.Width(), ARect.Height(), canvas->Handle(), 0, 0, SRCCOPY);
}
