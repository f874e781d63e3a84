// Skinned pop-up menus under a skin the test writes: how the painter
// measures items and sizes a pop-up without a window, which handlers it
// installs and removes, and what an open pop-up shows on screen (its border
// ring, its background rows, the selected, checked, caption and disabled
// items), its window region and transparency, and what is left when it
// closes.
#include <gtest/gtest.h>

#include <algorithm>

#include "MenuFixture.h"
#include "classlib/ui/ImgList.h"
#include "skin/forms/acDials.h"
#include "skin/subclass/acSBUtilsMenus.h"
// After the class library, whose names the system's macros would take.
#include "TestSupport.h"

namespace {

using namespace menutest;
using testsupport::PumpMessages;

class PopupMenus : public testing::Test {
 protected:
  static void SetUpTestSuite() { Skins = new TMenuSkins; }
  static void TearDownTestSuite() {
    delete Skins;
    Skins = nullptr;
  }
  void SetUp() override {
    Manager = Create<TsSkinManager>(nullptr);
    Manager->SetSkinDirectory(skintest::Ansi(Skins->Path()));
    Manager->SetSkinName("Menus");
    ASSERT_TRUE(Manager->Active());
    ASSERT_EQ(DefaultManager, Manager);
    Form = Create<TForm>(Application, 0);
    Form->SetBounds(60, 60, 300, 200);
    Create<TsSkinProvider>(Form);
    Form->Show();
    PumpMessages(50);
    Popup = Create<TPopupMenu>(Form);
  }
  void TearDown() override {
    CustomMenuFont = nullptr;
    if (Form) Form->Free();
    if (Manager) Manager->Free();
    PumpMessages(20);
  }
  TMenuItem* Add(const char* Caption, TMenuItem* Parent = nullptr) {
    auto* item = Create<TMenuItem>(Form);
    item->SetCaption(Caption);
    (Parent ? Parent : Popup->Items())->Add(item);
    return item;
  }
  TsSkinableMenus* Menus() const { return Manager->Menus(); }
  // The item's rectangle on screen while its pop-up is open.
  RECT ItemRect(int Index) const {
    RECT r{};
    GetMenuItemRect(nullptr, Popup->Handle(), static_cast<UINT>(Index), &r);
    return r;
  }
  int Show(std::vector<TMenuStep> Steps) {
    Menus()->HookPopupMenu(Popup, true);
    return WithOpenMenu(Popup->Handle(), Form->Handle(), 200, 150, std::move(Steps));
  }

  static inline TMenuSkins* Skins = nullptr;
  TsSkinManager* Manager = nullptr;
  TForm* Form = nullptr;
  TPopupMenu* Popup = nullptr;
};

// DrawText's measure of a text in the canvas's font, wrapped within 800 pixels.
TSize Measured(TCanvas* Canvas, const AnsiString& Text) {
  RECT r{0, 0, 800, 0};
  const std::wstring w = winapi::W(Text);
  DrawTextW(Canvas->Handle(), w.c_str(), static_cast<int>(w.size()), &r,
            DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK);
  return TSize{r.right - r.left, r.bottom - r.top};
}

TEST_F(PopupMenus, ItemsMeasureFromTheirTextMarginsGlyphColumnAndExtraLine) {
  TFont font;
  font.SetName("Arial");
  font.SetSize(11);
  CustomMenuFont = &font;
  TBitmap canvasBmp;
  canvasBmp.SetSize(10, 10);
  TCanvas* canvas = canvasBmp.Canvas();
  canvas->SetFont(&font);
  const TSize alpha = Measured(canvas, "Alpha item");
  const TSize title = Measured(canvas, "-Title-");
  TMenuItem* first = Add("Alpha item");
  TMenuItem* divider = Add("-");
  TMenuItem* caption = Add("-Title-");
  TMenuItem* broken = Add("Alpha item");
  broken->SetBreak(mbBreak);
  struct TCase {
    const char* Name;
    TMenuItem* Item;
    bool ExtraLine;
    int Width, Height;  // -1: not checked
  };
  const int normalW = alpha.cx + 2 * 16 + 3 * 2 + 8, normalH = std::max(alpha.cy, 16) + 2 * 2 + 2;
  const TCase cases[] = {
      {"a divider is 2 pixels high", divider, false, -1, 2},
      {"a plain item", first, false, normalW, normalH},
      {"the extra line widens the first column", first, true, normalW + 32, normalH},
      {"never after a break", broken, true, normalW, normalH},
      {"a caption item", caption, false, -1, title.cy + 2 * 2 + 3},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Manager->MenuSupport()->UseExtraLine = c.ExtraLine;
    int w = 0, h = 0;
    Menus()->sMeasureItem(c.Item, canvas, w, h);
    if (c.Width >= 0) {
      EXPECT_EQ(w, c.Width);
    }
    EXPECT_EQ(h, c.Height);
  }
  Manager->MenuSupport()->UseExtraLine = false;
  // Columns: the widest item of each plus 12, and 4 between columns.
  int w0 = 0, w1 = 0, w2 = 0, w3 = 0, h = 0;
  Menus()->sMeasureItem(first, canvas, w0, h);
  Menus()->sMeasureItem(divider, canvas, w1, h);
  Menus()->sMeasureItem(caption, canvas, w2, h);
  Menus()->sMeasureItem(broken, canvas, w3, h);
  EXPECT_EQ(Menus()->ParentWidth(canvas, first), std::max({w0, w1, w2}) + 12 + 4 + w3 + 12);
  EXPECT_TRUE(MenuBGCache().empty()) << "measuring prepares no background";
}

TEST_F(PopupMenus, APopupWhoseItemsAreAllInvisibleIsPreparedSixBySix) {
  TMenuItem* a = Add("A");
  Add("B")->SetVisible(false);
  a->SetVisible(false);
  TBitmap canvasBmp;
  canvasBmp.SetSize(10, 10);
  TacMenuInfo info = Menus()->GetMenuInfo(a, 0, 0, canvasBmp.Canvas(), nullptr);
  ASSERT_NE(info.Bmp, nullptr);
  EXPECT_EQ(info.Bmp->Width(), 6);
  EXPECT_EQ(info.Bmp->Height(), 6);
  EXPECT_EQ(info.FirstItem, a);
  ClearCache();
  EXPECT_TRUE(MenuBGCache().empty());
}

// Handlers of the application's own.
class TOwnHandlers : public TObject {
 public:
  void Measure(TObject*, TCanvas*, int& Width, int& Height) { Width = Height = 1; }
  void Draw(TObject*, TCanvas*, const TRect&, TOwnerDrawState) {}
};

TEST_F(PopupMenus, HookingLeavesTheItemsOwnHandlersAndUnhookingRemovesOnlyThePainters) {
  TOwnHandlers own;
  const TAdvancedMenuDrawItemEvent ownDraw(&own, &TOwnHandlers::Draw);
  const TMenuMeasureItemEvent ownMeasure(&own, &TOwnHandlers::Measure);
  TMenuItem* root = Add("Root");
  TMenuItem* mine = Add("Own", root);
  TMenuItem* plain = Add("Plain", root);
  TMenuItem* deep = Add("Deep", plain);
  mine->OnAdvancedDrawItem = ownDraw;
  mine->OnMeasureItem = ownMeasure;
  auto painters = [&](TMenuItem* Item) {
    return Item->OnAdvancedDrawItem.Method().Code ==
               TAdvancedMenuDrawItemEvent(Menus(), &TsSkinableMenus::sAdvancedDrawItem).Method().Code &&
           Item->OnMeasureItem.Method().Code ==
               TMenuMeasureItemEvent(Menus(), &TsSkinableMenus::sMeasureItem).Method().Code;
  };
  Menus()->HookItem(root, true);
  EXPECT_TRUE(mine->OnAdvancedDrawItem == ownDraw);
  EXPECT_TRUE(mine->OnMeasureItem == ownMeasure);
  EXPECT_TRUE(painters(plain));
  EXPECT_TRUE(painters(deep)) << "at any depth";
  EXPECT_FALSE(painters(root)) << "the item itself is left alone";
  Menus()->HookItem(root, false);
  EXPECT_TRUE(mine->OnAdvancedDrawItem == ownDraw);
  EXPECT_TRUE(mine->OnMeasureItem == ownMeasure);
  EXPECT_FALSE(plain->OnAdvancedDrawItem);
  EXPECT_FALSE(deep->OnMeasureItem);
}

TEST_F(PopupMenus, AnOpenPopupShowsTheSkinsRingBackgroundAndItemStates) {
  TMenuItem* alpha = Add("Alpha");
  Add("-");
  Add("-Title-");
  Add("-A-B-");
  TMenuItem* radio = Add("Radio");
  radio->SetRadioItem(true);
  radio->SetChecked(true);
  TMenuItem* disabled = Add("Disabled");
  disabled->SetEnabled(false);
  Add("Plain");
  const int prepared = acMenuBGPrepared;
  const int regions = acMenuRgnSet;
  RECT wr{};
  int bgW = 0, bgH = 0;
  std::vector<std::uint32_t> whole, selected, bg;  // the screen, the selected item, the prepared background
  std::vector<RECT> items(7);
  const int steps = Show({
      [&](HWND Wnd) {
        GetWindowRect(Wnd, &wr);
        TacMenuInfo info = Menus()->GetMenuInfo(nullptr, 0, 0, nullptr, Wnd);
        if (info.Bmp) {
          bgW = info.Bmp->Width();
          bgH = info.Bmp->Height();
          bg = testsupport::ReadPixels(info.Bmp->Canvas()->Handle(), 0, 0, bgW, bgH);
          for (std::uint32_t& p : bg) p &= 0xFFFFFF;
        }
        for (int i = 0; i < 7; ++i) items[i] = ItemRect(i);
        whole = ScreenPixels(wr);
        MenuScreenshot(Wnd, "popup");
        PressKey(VK_DOWN);
      },
      [&](HWND Wnd) {
        selected = ScreenPixels(items[0]);
        MenuScreenshot(Wnd, "popup-selected");
      },
  });
  ASSERT_EQ(steps, 2);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  
  ASSERT_EQ(bgW, w);
  ASSERT_EQ(bgH, h);
  auto bgAt = [&](int x, int y) { return bg[static_cast<size_t>(y) * w + x]; };
  auto at = [&](int x, int y) { return whole[static_cast<size_t>(y) * w + x]; };
  auto cut = [&](int x, int y) {
    for (const TRun& r : kMenuCornerRuns) {
      const int row = y < h / 2 ? y : h - 1 - y;
      const int col = x < w / 2 ? x : w - 1 - x;
      if (row == r.Row && col >= r.First && col <= r.Last) return true;
    }
    return false;
  };
  // The ring: the border colour all round (the cut corners aside), no pixel of the system's frame.
  int wrong = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool ring = x < 3 || y < 3 || x >= w - 3 || y >= h - 3;
      if (ring && !cut(x, y) && at(x, y) != kMenuBorder) ++wrong;
    }
  EXPECT_EQ(wrong, 0) << "ring pixels not of the border colour";
  // A column right of every caption shows the prepared background row for row.
  for (int i : {0, 6}) {
    SCOPED_TRACE(i);
    const int x = items[i].right - 6 - wr.left;
    for (int y = items[i].top - wr.top; y < items[i].bottom - wr.top; ++y)
      EXPECT_EQ(at(x, y), bgAt(x, y)) << "row " << y;
  }
  EXPECT_NE(bgAt(w / 2, 4), bgAt(w / 2, h - 5)) << "the gradient runs down";
  // The selected item: "MENUITEM" in its hot look.
  const int sw = items[0].right - items[0].left;
  EXPECT_EQ(selected[static_cast<size_t>(2) * sw + sw - 4], kItemHot);
  EXPECT_NE(at(items[0].right - 4 - wr.left, items[0].top + 2 - wr.top), kItemHot);
  // The checked radio item without a glyph shows "RADIOCHECKED".
  const RECT rr = items[4];
  const int glyphTop = rr.top + (rr.bottom - rr.top - kGlyphSize) / 2;
  EXPECT_EQ(at(rr.left + 2 + 2 + kGlyphSize / 2 - wr.left, glyphTop + kGlyphSize / 2 - wr.top), kGlyphs[1].Color);
  // Captions: "Title" centred in "MENUCAPTION", of "-A-B-" only "A".
  auto textBox = [&](const RECT& R, int& Left, int& Right) {
    Left = R.right;
    Right = R.left - 1;
    int fill = 0;
    for (int y = R.top; y < R.bottom; ++y)
      for (int x = R.left; x < R.right; ++x) {
        const std::uint32_t c = at(x - wr.left, y - wr.top);
        if (c == kCaption) ++fill;
        if (c == kCaptionFont) {
          Left = std::min<int>(Left, x);
          Right = std::max<int>(Right, x);
        }
      }
    return fill;
  };
  int l1 = 0, r1 = 0, l2 = 0, r2 = 0;
  EXPECT_GT(textBox(items[2], l1, r1), (items[2].right - items[2].left) * 4) << "the caption section";
  textBox(items[3], l2, r2);
  ASSERT_LE(l1, r1);
  ASSERT_LE(l2, r2);
  EXPECT_NEAR((l1 + r1) / 2.0, (items[2].left + items[2].right) / 2.0, 2.5) << "centred";
  EXPECT_LT(r2 - l2, (r1 - l1) / 2) << "only the first word";
  // A disabled item is blended toward the background: no pixel in the plain text colour.
  auto fontPixels = [&](const RECT& R) {
    int n = 0;
    for (int y = R.top; y < R.bottom; ++y)
      for (int x = R.left; x < R.right; ++x) n += at(x - wr.left, y - wr.top) == kItemFont;
    return n;
  };
  EXPECT_GT(fontPixels(items[6]), 0);
  EXPECT_EQ(fontPixels(items[5]), 0);
  // One background per pop-up shown, one region per erase.
  EXPECT_EQ(acMenuBGPrepared - prepared, 1);
  EXPECT_EQ(acMenuRgnSet - regions, 1);
  (void)alpha;
}

TEST_F(PopupMenus, CheckedItemsShowTheSkinsGlyphAndItemsWithImagesTheirImage) {
  constexpr std::uint32_t kImage = 0x3060F0;
  TImageList images(nullptr);
  images.SetWidth(16);
  images.SetHeight(16);
  TBitmap picture;
  picture.SetSize(16, 16);
  picture.Canvas()->Brush()->SetColor(ToTColor(kImage));
  picture.Canvas()->FillRect(TRect(0, 0, 16, 16));
  images.Add(&picture, nullptr);
  Popup->SetImages(&images);
  TMenuItem* check = Add("Check");
  check->SetChecked(true);
  TMenuItem* radio = Add("Radio");
  radio->SetRadioItem(true);
  radio->SetChecked(true);
  TMenuItem* imaged = Add("Image");
  imaged->SetImageIndex(0);
  struct TCase {
    const char* Skin;
    std::uint32_t Check, Radio;  // the colours at the check glyph's centre
  };
  const TCase cases[] = {{"Menus", kGlyphs[0].Color, kGlyphs[1].Color}, {"NoCheck", kGlyphs[2].Color, kGlyphs[1].Color}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Skin);
    Manager->SetSkinName(c.Skin);
    ASSERT_TRUE(Manager->Active());
    std::uint32_t seenCheck = 0, seenRadio = 0, seenImage = 0;
    Show({[&](HWND) {
      auto glyphCentre = [&](int Index) {
        const RECT r = ItemRect(Index);
        const int top = r.top + (r.bottom - r.top - kGlyphSize) / 2;
        return ScreenPixels(RECT{r.left + 2 + 2 + kGlyphSize / 2, top + kGlyphSize / 2, r.left + 2 + 2 + kGlyphSize / 2 + 1,
                                 top + kGlyphSize / 2 + 1})[0];
      };
      seenCheck = glyphCentre(0);
      seenRadio = glyphCentre(1);
      const RECT r = ItemRect(2);
      const int top = (r.bottom - r.top - 16) / 2, left = std::min(3, top);
      seenImage = ScreenPixels(RECT{r.left + left + 8, r.top + top + 8, r.left + left + 9, r.top + top + 9})[0];
    }});
    EXPECT_EQ(seenCheck, c.Check);
    EXPECT_EQ(seenRadio, c.Radio);
    EXPECT_EQ(seenImage, kImage);
  }
  Popup->SetImages(nullptr);
}

TEST_F(PopupMenus, TheWindowRegionLacksExactlyTheBorderImagesKeyCornerRuns) {
  Add("One");
  Add("Two");
  for (const char* skin : {"Menus", "NoMenuKeys"}) {
    SCOPED_TRACE(skin);
    Manager->SetSkinName(skin);
    ASSERT_TRUE(Manager->Active());
    bool equal = false;
    int complexity = 0;
    Show({[&](HWND Wnd) {
      RECT wr{};
      GetWindowRect(Wnd, &wr);
      const int w = wr.right - wr.left, h = wr.bottom - wr.top;
      HRGN expected = CreateRectRgn(0, 0, w, h);
      auto cut = [&](int l, int t, int r, int b) {
        HRGN piece = CreateRectRgn(l, t, r, b);
        CombineRgn(expected, expected, piece, RGN_DIFF);
        DeleteObject(piece);
      };
      if (std::string(skin) == "Menus") {
        for (const TRun& r : kMenuCornerRuns) {
          cut(r.First, r.Row, r.Last + 1, r.Row + 1);
          cut(w - 1 - r.Last, r.Row, w - r.First, r.Row + 1);
          cut(r.First, h - 1 - r.Row, r.Last + 1, h - r.Row);
          cut(w - 1 - r.Last, h - 1 - r.Row, w - r.First, h - r.Row);
        }
      } else {
        cut(0, 0, 1, 1);
      }
      HRGN actual = CreateRectRgn(0, 0, 0, 0);
      complexity = GetWindowRgn(Wnd, actual);
      equal = EqualRgn(expected, actual) != 0;
      DeleteObject(expected);
      DeleteObject(actual);
    }});
    EXPECT_EQ(complexity, COMPLEXREGION);
    EXPECT_TRUE(equal);
  }
}

TEST_F(PopupMenus, MenuTransparencyFollowsTheSkinManagersAlphaBlend) {
  Add("One");
  struct TCase {
    Byte Alpha;
    bool Layered;
  };
  for (const TCase& c : {TCase{200, true}, TCase{255, false}}) {
    SCOPED_TRACE(c.Alpha);
    Manager->MenuSupport()->AlphaBlend = c.Alpha;
    LONG_PTR ex = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    BOOL got = FALSE;
    Show({[&](HWND Wnd) {
      ex = GetWindowLongPtrW(Wnd, GWL_EXSTYLE);
      got = GetLayeredWindowAttributes(Wnd, nullptr, &alpha, &flags);
    }});
    EXPECT_EQ((ex & WS_EX_LAYERED) != 0, c.Layered);
    if (c.Layered) {
      ASSERT_TRUE(got);
      EXPECT_EQ(alpha, c.Alpha);
      EXPECT_TRUE(flags & LWA_ALPHA);
    }
  }
}

TEST_F(PopupMenus, WhenTheLastPopupClosesNothingOfItIsLeft) {
  TMenuItem* sub = Add("Sub");
  Add("Inner", sub);
  Add("Other");
  bool subclassed = false, inArray = false;
  Show({[&](HWND Wnd) {
          subclassed = testsupport::ServedBySkinEngine(Wnd);
          inArray = std::any_of(MnuArray.begin(), MnuArray.end(),
                                [&](TacMainWnd* o) { return o && o->WndHandle == Wnd; });
          PressKey(VK_RIGHT);  // opens the sub-menu
        },
        [&](HWND) {}});
  EXPECT_TRUE(subclassed);
  EXPECT_TRUE(inArray);
  PumpMessages(50);
  EXPECT_TRUE(MnuArray.empty());
  EXPECT_TRUE(MenuBGCache().empty());
  EXPECT_FALSE(acCanHookMenu);
}

TEST_F(PopupMenus, ADyingMenuWindowsObjectOutlivesItsOwnDestructionHandler) {
  // A menu window of the system's class: the hook gives it its subclass object.
  HWND wnd = CreateWindowExW(WS_EX_TOPMOST, MAKEINTATOM(0x8000), L"", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr,
                             nullptr, nullptr);
  ASSERT_NE(wnd, nullptr);
  ASSERT_EQ(MnuArray.size(), 1u);
  TacMainWnd* obj = MnuArray[0];
  EXPECT_EQ(GetSubclassObject(wnd), obj);
  DestroyWindow(wnd);
  // The last menu window is gone, but the array (which owns the object whose
  // handler just ran) is emptied only from the message loop.
  ASSERT_EQ(MnuArray.size(), 1u);
  EXPECT_EQ(MnuArray[0], obj);
  EXPECT_TRUE(obj->Detached);
  PumpMessages(50);
  EXPECT_TRUE(MnuArray.empty());
}

TEST_F(PopupMenus, WithoutSkinnedPopupsMenusAreNeitherSubclassedNorOwnerDrawn) {
  Add("One");
  Manager->SetSkinnedPopups(false);
  Menus()->HookPopupMenu(Popup, true);
  EXPECT_FALSE(Popup->OwnerDraw());
  EXPECT_TRUE(Popup->MenuAnimation().Contains(maNone));
  bool subclassed = true;
  const int steps = WithOpenMenu(Popup->Handle(), Form->Handle(), 200, 150,
                                 {[&](HWND Wnd) { subclassed = testsupport::ServedBySkinEngine(Wnd); }});
  EXPECT_EQ(steps, 1);
  EXPECT_FALSE(subclassed);
  EXPECT_TRUE(MnuArray.empty());
  Manager->SetSkinnedPopups(true);
  Menus()->HookPopupMenu(Popup, false);
  EXPECT_FALSE(Popup->OwnerDraw());
  EXPECT_FALSE(Popup->MenuAnimation().Contains(maNone));
}

}  // namespace
