// The skinned painter's menu line: which menus get its handlers, how it
// measures the top-level items, and how it draws them over the provider's
// menu line image with the skin's "MENUITEM" background and "MENULINE" text
// colours, under a skin the test writes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "../skin_core/SkinCoreSupport.h"
#include "TestSupport.h"
#include "classlib/core/PixelView.h"
#include "classlib/ui/PaintScope.h"
#include "skin/core/sDefaults.h"
#include "skin/forms/sSkinMenus.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

using testsupport::PumpMessages;

using namespace skincore;

// The skin's colours (TColor) and what they look like in a 32-bit bitmap.
constexpr TColor kLineColor = 0x00406080;      // "MENULINE"
constexpr TColor kLineFont = 0x00102030;       // its normal text
constexpr TColor kLineHotFont = 0x0000F0F0;    // its hot text
constexpr TColor kItemHotColor = 0x00C04020;   // "MENUITEM" when hot (opaque); clear otherwise
constexpr std::uint32_t RGBOf(TColor c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }

std::string MenuSkin() {
  const std::string line = "FONTCOLOR=" + std::to_string(kLineFont) + "\r\nHOTFONTCOLOR=" +
                           std::to_string(kLineHotFont) + "\r\n";
  const std::string item = "HOTCOLOR=" + std::to_string(kItemHotColor) + "\r\nHOTTRANSPARENCY=0\r\n";
  return SkinTextOf({{"MENULINE", kLineColor, 0, line.c_str()}, {"MENUITEM", 0xFFFFFF, 100, item.c_str()}});
}

// The menu line image the provider would keep: a colour that changes along
// both axes, so that an item drawn from the wrong place shows it.
std::uint32_t LinePixel(int x, int y) { return 0xFF000000u | std::uint32_t(x % 256) << 16 | 0x6000u | std::uint32_t(y * 7); }

// Records the handlers' answers and draws of the application's own.
class TOwnHandlers : public TObject {
 public:
  void Measure(TObject*, TCanvas*, int& Width, int& Height) { Width = Height = 1; }
  void Draw(TObject*, TCanvas*, const TRect&, TOwnerDrawState) {}
};

class MenuLine : public testing::Test {
 protected:
  void SetUp() override {
    Manager = skintest::LoadFolderSkin(Dir, "menus", MenuSkin());
    ASSERT_TRUE(Manager->Active());
    Form = Create<TForm>(Application, 0);
    Form->SetBorderStyle(bsSingle);  // a dialog frame (SM_CXDLGFRAME) around caption and menu line
    Form->SetBounds(80, 80, 320, 140);
    Menu = Create<TMainMenu>(Form);
    for (const char* caption : {"&File", "Edit", "A&&B"}) {
      auto* item = Create<TMenuItem>(Form);
      item->SetCaption(caption);
      Menu->Items()->Add(item);
    }
    Form->SetMenu(Menu);
  }
  void TearDown() override {
    if (Form) Form->Free();
    if (Manager) Manager->Free();
  }
  TMenuItem* Item(int i) const { return Menu->Items()->Items(i); }
  TsSkinableMenus* Menus() const { return Manager->Menus(); }

  skintest::TSkinDir Dir;
  TsSkinManager* Manager = nullptr;
  TForm* Form = nullptr;
  TMainMenu* Menu = nullptr;
};

TEST_F(MenuLine, TheLineHandlersAreInstalledOnlyWithSkinnedPopupsAndRemovedOnlyWhenTheirOwn) {
  TOwnHandlers own;
  const TAdvancedMenuDrawItemEvent ownDraw(&own, &TOwnHandlers::Draw);
  const TMenuMeasureItemEvent ownMeasure(&own, &TOwnHandlers::Measure);
  const TAdvancedMenuDrawItemEvent lineDraw(Menus(), &TsSkinableMenus::sAdvancedDrawLineItem);
  struct TCase {
    const char* Name;
    bool SkinnedPopups, Install, Remove, OwnFirst;
    bool Painters, OwnerDraw;  // the items end with the painter's handlers; the menu ends owner-drawn
  };
  const TCase cases[] = {
      {"installed over the application's own", true, true, false, true, true, true},
      {"without skinned pop-ups nothing changes", false, true, false, true, false, false},
      {"installed, then removed", true, true, true, false, false, false},
      {"removing leaves the application's own", true, false, true, true, false, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Menu->SetOwnerDraw(false);
    for (int i = 0; i < 3; ++i) {
      Item(i)->OnAdvancedDrawItem = c.OwnFirst ? ownDraw : nullptr;
      Item(i)->OnMeasureItem = c.OwnFirst ? ownMeasure : nullptr;
    }
    Manager->SetSkinnedPopups(c.SkinnedPopups);
    if (c.Install) Menus()->InitMenuLine(Menu, true);
    if (c.Remove) Menus()->InitMenuLine(Menu, false);
    EXPECT_EQ(Menu->OwnerDraw(), c.OwnerDraw);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(Item(i)->OnAdvancedDrawItem.Method().Code == lineDraw.Method().Code, c.Painters) << i;
      const bool ownLeft = c.OwnFirst && !c.Painters;
      EXPECT_EQ(Item(i)->OnAdvancedDrawItem == ownDraw, ownLeft) << i;
      EXPECT_EQ(Item(i)->OnMeasureItem == ownMeasure, ownLeft) << i;
    }
  }
  EXPECT_FALSE(TsSkinableMenus::IsTopLine(Menu->Items()));
  EXPECT_TRUE(TsSkinableMenus::IsTopLine(Item(1)));
}

TEST_F(MenuLine, ALineItemMeasuresItsCaptionWithoutAmpersandsInTheMenuFontAndItsPicture) {
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0));
  HFONT font = CreateFontIndirectW(&ncm.lfMenuFont);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  auto textWidth = [&](const wchar_t* text) {
    SIZE s{};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &s);
    return static_cast<int>(s.cx);
  };
  struct TCase {
    const char* Caption;
    const wchar_t* Shown;
    int Picture;  // width of the item's bitmap, 0: none
  };
  const TCase cases[] = {{"&File", L"File", 0}, {"A&&B", L"AB", 0}, {"&Edit", L"Edit", 14}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Caption);
    Item(0)->SetCaption(c.Caption);
    TBitmap picture;
    picture.SetWidth(c.Picture);
    picture.SetHeight(c.Picture ? 10 : 0);
    Item(0)->SetBitmap(&picture);
    TCanvas canvas;
    TCanvasScope scope(&canvas, dc);
    int w = 0, h = 0;
    Menus()->sMeasureLineItem(Item(0), &canvas, w, h);
    EXPECT_EQ(h, GetSystemMetrics(SM_CYMENU) - 1);
    EXPECT_EQ(w, textWidth(c.Shown) + (c.Picture ? c.Picture + 6 : 0));
  }
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(font);
}

// The items drawn through their event into a canvas, as the provider and the
// window's owner-draw messages do, over a menu line image put in place by
// the test.
class MenuLineDrawing : public MenuLine {
 protected:
  void SetUp() override {
    MenuLine::SetUp();
    Provider = Create<TsSkinProvider>(Form);
    Menus()->InitMenuLine(Menu, true);
    Form->Show();
    PumpMessages(50);
    RECT w{};
    GetWindowRect(Form->Handle(), &w);
    const int border = GetSystemMetrics(SM_CXDLGFRAME), caption = GetSystemMetrics(SM_CYCAPTION);
    // The provider's image of the window, which a skin with a form section
    // would have painted.
    if (!Provider->SkinData()->CacheBmp) Provider->SkinData()->CacheBmp = CreateBmp32(w.right - w.left, w.bottom - w.top);
    Provider->MenuLineBmp = CreateBmp32(w.right - w.left - 2 * border, GetSystemMetrics(SM_CYMENU));
    const TPixelView32 line = PixelsOf(Provider->MenuLineBmp.get());
    for (int y = 0; y < line.Height; ++y)
      for (int x = 0; x < line.Width; ++x) line.At(x, y) = LinePixel(x, y);
    // Item i at its place in window coordinates: the line starts below the
    // caption, inside the frame.
    for (int i = 0; i < 3; ++i) {
      const int left = border + 10 + 60 * i;
      Rects[i] = TRect(left, border + caption, left + 50, border + caption + GetSystemMetrics(SM_CYMENU) - 1);
    }
    Target = CreateBmp32(w.right - w.left, w.bottom - w.top);
    const TPixelView32 t = PixelsOf(Target.get());
    for (int y = 0; y < t.Height; ++y)
      for (int x = 0; x < t.Width; ++x) t.At(x, y) = kUntouched;
  }
  void Draw(int i, TOwnerDrawState State) { Item(i)->DoDrawItem(Target->Canvas(), Rects[i], State); }
  // The menu line image's pixel under the point (x, y) of item i.
  std::uint32_t LineUnder(int i, int x, int y) const {
    return LinePixel(Rects[i].Left - GetSystemMetrics(SM_CXDLGFRAME) + x, y) & 0xFFFFFF;
  }
  std::uint32_t At(int i, int x, int y) const {
    return PixelsOf(Target.get()).At(Rects[i].Left + x, Rects[i].Top + y) & 0xFFFFFF;
  }
  int Count(int i, std::uint32_t rgb) const {
    int n = 0;
    for (int y = 0; y < Rects[i].Height(); ++y)
      for (int x = 0; x < Rects[i].Width(); ++x) n += At(i, x, y) == rgb;
    return n;
  }

  static constexpr std::uint32_t kUntouched = 0xFF123456;
  TsSkinProvider* Provider = nullptr;
  TRect Rects[3];
  std::unique_ptr<TacBitmap> Target;
};

TEST_F(MenuLineDrawing, AHotItemShowsTheHotMenuItemAndTheOthersTheLineImageUnderThem) {
  Draw(0, {odSelected});
  Draw(1, {});
  Draw(2, {odHotLight});
  for (int i : {0, 2}) {
    SCOPED_TRACE(i);
    EXPECT_EQ(At(i, 0, 0), RGBOf(kItemHotColor));
    EXPECT_EQ(At(i, Rects[i].Width() - 1, Rects[i].Height() - 1), RGBOf(kItemHotColor));
    EXPECT_GT(Count(i, RGBOf(kLineHotFont)), 0) << "the caption in the line's hot text colour";
    EXPECT_EQ(Count(i, RGBOf(kLineFont)), 0);
  }
  // The normal item is the line image, taken from the item's own place.
  for (auto [x, y] : {std::pair{0, 0}, {1, 2}, {49, 0}, {48, 17}})
    EXPECT_EQ(At(1, x, y), LineUnder(1, x, y)) << x << "," << y;
  EXPECT_GT(Count(1, RGBOf(kLineFont)), 0) << "the caption in the line's text colour";
  EXPECT_EQ(PixelsOf(Target.get()).At(Rects[1].Left - 1, Rects[1].Top) & 0xFFFFFF, kUntouched & 0xFFFFFF)
      << "nothing outside the item";
}

TEST_F(MenuLineDrawing, ADisabledItemIsBlendedTowardTheLineAndNeverHot) {
  Item(1)->SetEnabled(false);
  Draw(1, {odSelected});
  EXPECT_EQ(Count(1, RGBOf(kItemHotColor)), 0) << "a disabled item is not hot";
  EXPECT_EQ(Count(1, RGBOf(kLineFont)), 0) << "its text is blended";
  // A text pixel keeps DefDisabledBlend of its colour over the line image.
  const int w = static_cast<int>(std::lround(DefDisabledBlend * 255));
  int blended = 0;
  for (int y = 0; y < Rects[1].Height(); ++y)
    for (int x = 0; x < Rects[1].Width(); ++x) {
      const std::uint32_t f = RGBOf(kLineFont), l = LineUnder(1, x, y);
      std::uint32_t expect = 0;
      for (int shift : {0, 8, 16})
        expect |= (((f >> shift & 0xFF) * w + (l >> shift & 0xFF) * (256 - w)) >> 8) << shift;
      blended += At(1, x, y) == expect;
    }
  EXPECT_GT(blended, 0);
}

TEST_F(MenuLineDrawing, TheItemsPictureStandsLeftOfTheCaption) {
  TBitmap picture;
  picture.SetWidth(10);
  picture.SetHeight(8);
  picture.Canvas()->Brush()->SetColor(0x0000A000);
  picture.Canvas()->FillRect(TRect(0, 0, 10, 8));
  Item(0)->SetBitmap(&picture);
  Draw(0, {});
  const int top = (Rects[0].Height() - 8) / 2;
  EXPECT_EQ(At(0, 3, top), 0x00A000u);
  EXPECT_EQ(At(0, 12, top + 7), 0x00A000u);
  EXPECT_EQ(At(0, 2, top), LineUnder(0, 2, top));
}

TEST_F(MenuLineDrawing, WithoutAProviderNothingIsDrawn) {
  Provider->Free();
  Provider = nullptr;
  Draw(0, {odSelected});
  EXPECT_EQ(Count(0, kUntouched & 0xFFFFFF), Rects[0].Width() * Rects[0].Height());
}

}  // namespace

namespace {

// The whole road on screen: a skinned form with the painter's menu line; the
// picture is for the eye (build/screenshots/skin_menus_line.png).
TEST_F(MenuLine, ASkinnedFormsMenuLineIsTheSkinnedPaintersAndIsPhotographed) {
  Manager->Free();
  Manager = nullptr;
  const std::string text = MenuSkin() + "[FORM]\r\nCOLOR=" + std::to_string(0x00D0D0D0) +
                           "\r\nTRANSPARENCY=0\r\n[FORMTITLE]\r\nCOLOR=" + std::to_string(0x00804000) +
                           "\r\nTRANSPARENCY=0\r\n";
  Dir.Folder("menusform", text);
  Manager = skintest::NewManager(Dir);
  Create<TsSkinProvider>(Form);
  Manager->SetSkinName("menusform");
  Menus()->InitMenuLine(Menu, true);
  EXPECT_TRUE(Menu->OwnerDraw());
  Form->Show();
  RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpMessages(100);
  EXPECT_FALSE(testsupport::Screenshot(Form->Handle(), "skin_menus_line").empty());
  // The system laid the bar out from the painter's measures.
  RECT first{};
  ASSERT_TRUE(GetMenuItemRect(Form->Handle(), GetMenu(Form->Handle()), 0, &first));
  EXPECT_EQ(first.bottom - first.top, GetSystemMetrics(SM_CYMENU) - 1);
}

// What the provider asks of the items of its menu line.
struct TDrawSpy : TObject {
  struct TCall {
    TObject* Sender;
    TCanvas* Canvas;
    TRect Rect;
    UInt64 State;
  };
  std::vector<TCall> Calls;
  void Draw(TObject* Sender, TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State) {
    Calls.push_back(TCall{Sender, ACanvas, ARect, State.Bits()});
  }
};

// The provider's menu line: every visible top item paints itself through its
// draw event into the cache, at the place the system gives it (moved into
// window coordinates), with the state odNoAccel + odReserved1; the painter's
// items show the line's text colour there.
TEST_F(MenuLine, TheProviderHasEachVisibleTopItemPaintItselfIntoTheCache) {
  Manager->Free();
  Manager = nullptr;
  const std::string text = MenuSkin() + "[FORM]\r\nCOLOR=" + std::to_string(0x00D0D0D0) +
                           "\r\nTRANSPARENCY=0\r\n[FORMTITLE]\r\nCOLOR=" + std::to_string(0x00804000) +
                           "\r\nTRANSPARENCY=0\r\n";
  Dir.Folder("lineform", text);
  Manager = skintest::NewManager(Dir);
  auto* provider = Create<TsSkinProvider>(Form);
  Manager->SetSkinName("lineform");
  Item(1)->SetVisible(false);
  Form->Show();
  PumpMessages(50);
  ASSERT_TRUE(provider->Skinned());
  ASSERT_TRUE(Item(0)->OnAdvancedDrawItem) << "the provider handed its menu line to the painter";
  TDrawSpy spy;
  Item(2)->OnAdvancedDrawItem = TAdvancedMenuDrawItemEvent(&spy, &TDrawSpy::Draw);
  provider->SkinData()->BGChanged = true;
  ASSERT_TRUE(provider->PaintAll());

  TacBitmap* cache = provider->SkinData()->CacheBmp.get();
  ASSERT_EQ(spy.Calls.size(), 1u) << "the hidden item is skipped";
  const HWND wnd = Form->Handle();
  RECT w{}, second{}, first{};
  GetWindowRect(wnd, &w);
  ASSERT_TRUE(GetMenuItemRect(wnd, GetMenu(wnd), 0, &first));
  ASSERT_TRUE(GetMenuItemRect(wnd, GetMenu(wnd), 1, &second)) << "the third item is the second one shown";
  const TDrawSpy::TCall& c = spy.Calls[0];
  EXPECT_EQ(c.Sender, Item(2));
  EXPECT_EQ(c.Canvas, cache->Canvas());
  EXPECT_EQ(c.State, 0x500u);
  EXPECT_EQ(c.Rect, TRect(second.left - w.left, second.top - w.top, second.right - w.left, second.bottom - w.top));

  int inked = 0;
  const TPixelView32 px = PixelsOf(cache);
  for (int y = first.top - w.top; y < first.bottom - w.top; ++y)
    for (int x = first.left - w.left; x < first.right - w.left; ++x) inked += (px.At(x, y) & 0xFFFFFF) == RGBOf(kLineFont);
  EXPECT_GT(inked, 0) << "the painter wrote the first caption in the line's text colour";
  EXPECT_EQ(provider->MenuLineBmp->Height(), provider->GetLinesCount() * provider->MenuHeight() + 1);
}

}  // namespace
