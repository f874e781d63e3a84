// The skinned edit and list box on a skinned form with the fixture skin: the
// edit's cached image while inactive and the native client while focused,
// its password and borderless text, its colour answer; the list box's window
// styles, item height, selection look with and without the "SELECTION"
// section, its empty look and its colours when the skin goes. Pixels are
// read back from the screen and from the controls' caches.
#include "TextControlsFixture.h"

#include "skin/controls/sEdit.h"
#include "skin/controls/sListBox.h"
#include "skin/graphics/sGraphUtils.h"

using namespace textctl;

namespace {

class EditList : public TSkinnedFormTest {
 protected:
  void TearDown() override {
    TSkinnedFormTest::TearDown();
    UseSkin("Controls");
  }
};

// ------------------------------------------------------------------- edits

TEST_F(EditList, AnInactiveEditShowsItsCacheAndAFocusedOneTheNativeClientInsideTheBorder) {
  auto* edit = Put<TsEdit>(20, 20, 120, 24);
  edit->SetText("WWW");
  auto* other = Put<TsEdit>(20, 80, 120, 24);
  other->SetFocus();
  Settle();
  const TShot shown = ShotOf(edit->WindowHandle());
  const TShot cache = ShotOfBitmap(edit->SkinData()->CacheBmp.get());
  ASSERT_EQ(shown.W, cache.W);
  ASSERT_EQ(shown.H, cache.H);
  EXPECT_EQ(shown.Px, cache.Px) << "inactive: the cache, pixel for pixel";
  EXPECT_EQ(Hex(shown.At(0, 12)), Hex(kEditBorder));
  EXPECT_EQ(Hex(shown.At(60, 4)), Hex(kEditFill));
  EXPECT_EQ(InkOf(shown, kEditFill).count(kEditFont), 1u) << "the text in the skin's font colour";

  // A mark in the cache's client part shows whose painting the client shows.
  const auto markAndShow = [](TsEdit* E) {
    HDC cache = E->SkinData()->CacheBmp->Canvas()->Handle();
    FillDC(cache, TRect(4, 4, E->Width() - 4, E->Height() - 4), TC(0xFF00FF));
    InvalidateRect(E->WindowHandle(), nullptr, TRUE);
    UpdateWindow(E->WindowHandle());
    testsupport::PumpMessages(20);
    return ShotOf(E->WindowHandle());
  };
  EXPECT_EQ(Hex(markAndShow(edit).At(100, 12)), "FF00FF") << "inactive: the client shows the cache";

  SetForegroundWindow(Form.Wnd());
  edit->SetFocus();
  Settle();
  ASSERT_EQ(GetFocus(), edit->WindowHandle());
  EXPECT_EQ(Hex(ShotOf(edit->WindowHandle()).At(0, 12)), Hex(kEditBorder)) << "the skinned border stays";
  const TShot focused = markAndShow(edit);
  EXPECT_NE(Hex(focused.At(100, 12)), "FF00FF") << "focused: the native client, not the cache";
  EXPECT_EQ(Hex(focused.At(0, 12)), Hex(kEditBorder));
}

TEST_F(EditList, APasswordEditsCacheShowsOneMaskCharacterPerCharacter) {
  auto* secret = Put<TsEdit>(20, 20, 120, 24);
  secret->SetPasswordChar('*');
  secret->SetText("abc");
  auto* plain = Put<TsEdit>(20, 80, 120, 24);
  plain->SetText("***");
  auto* empty = Put<TsEdit>(20, 140, 120, 24);
  ASSERT_TRUE(secret->PrepareCache());
  ASSERT_TRUE(plain->PrepareCache());
  ASSERT_TRUE(empty->PrepareCache());
  const TShot a = ShotOfBitmap(secret->SkinData()->CacheBmp.get());
  EXPECT_EQ(a.Px, ShotOfBitmap(plain->SkinData()->CacheBmp.get()).Px);
  EXPECT_EQ(InkOf(ShotOfBitmap(empty->SkinData()->CacheBmp.get()), kEditFill).count(kEditFont), 0u)
      << "no text drawn for an empty edit";
}

TEST_F(EditList, TheCachedTextStartsAtTheTextRectangleOfTheBorderStyle) {
  const struct {
    TFormBorderStyle Border;
    int Inset;  // the border width plus one for a bordered edit
  } cases[] = {{bsNone, 0}, {bsSingle, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Border));
    auto* edit = Put<TsEdit>(20, 20, 120, 24);
    edit->SetBorderStyle(c.Border);
    edit->SetText("Wg");
    ASSERT_TRUE(edit->PrepareCache());
    const TShot cache = ShotOfBitmap(edit->SkinData()->CacheBmp.get());
    // The test's own drawing: the text in the section's font colour at the rectangle.
    auto expected = CreateBmp32(120, 24);
    HDC dc = expected->Canvas()->Handle();
    FillDC(dc, TRect(0, 0, 120, 24), TC(kEditFill));
    HGDIOBJ old = SelectObject(dc, edit->Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TC(kEditFont));
    RECT r{c.Inset, c.Inset, 120 - c.Inset, 24 - (c.Inset ? 2 : 0)};
    DrawTextW(dc, L"Wg", 2, &r, DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    const TShot want = ShotOfBitmap(expected.get());
    int differ = 0;
    for (int y = c.Inset; y < 24 - c.Inset; ++y)
      for (int x = c.Inset; x < 120 - c.Inset; ++x) differ += cache.At(x, y) != want.At(x, y);
    EXPECT_EQ(differ, 0);
    edit->Free();
  }
}

TEST_F(EditList, TheEditAnswersItsOwnColourOnlyWhenUnskinned) {
  auto* edit = Put<TsEdit>(20, 20, 120, 24);
  edit->SetColor(TC(0x123456));
  const auto ask = [&] {
    return static_cast<TColor>(edit->Perform(SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_COLOR), 0));
  };
  EXPECT_NE(ask(), TC(0x123456)) << "skinned: the skin's colour";
  Manager->SetActive(false);
  ASSERT_FALSE(edit->SkinData()->Skinned());
  edit->SetColor(TC(0x123456));
  EXPECT_EQ(ask(), TC(0x123456));
}

// --------------------------------------------------------------- list boxes

TEST_F(EditList, TheListsStyleAndScrollSwitchesGiveItsWindowStyleBits) {
  const struct {
    TListBoxStyle Style;
    bool AutoHide;
    bool OwnerDrawFixed, DisableNoScroll;
  } cases[] = {{lbStandard, true, true, false},
               {lbStandard, false, true, true},
               {lbOwnerDrawVariable, true, false, false}};
  for (const auto& c : cases) {
    auto* list = Put<TsListBox>(20, 20, 150, 100);
    list->SetStyle(c.Style);
    list->SetAutoHideScroll(c.AutoHide);
    const LONG style = GetWindowLongW(list->WindowHandle(), GWL_STYLE);
    EXPECT_EQ((style & LBS_OWNERDRAWFIXED) != 0, c.OwnerDrawFixed) << static_cast<int>(c.Style);
    EXPECT_EQ((style & LBS_DISABLENOSCROLL) != 0, c.DisableNoScroll) << c.AutoHide;
    list->Free();
  }
}

TEST_F(EditList, AFontChangeOfAStandardListSetsTheItemHeightToItsTextPlusThree) {
  auto* list = Put<TsListBox>(20, 20, 150, 100);
  list->Items()->Add("Ag");
  Settle();
  list->Font()->SetSize(16);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, list->Font()->Handle());
  SIZE size{};
  GetTextExtentPoint32W(dc, L"Ag", 2, &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  EXPECT_EQ(list->ItemHeight(), size.cy + 3);
  EXPECT_EQ(list->ItemRect(0).Height(), size.cy + 3) << "the window takes it";
}

TEST_F(EditList, ASelectedItemTakesTheSelectionSectionOrTheHighlightColourWithAFocusRectangle) {
  const struct {
    const char* Skin;
    bool FocusRect;
  } cases[] = {{"Controls", false}, {"NoSelection", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Skin);
    UseSkin(c.Skin);
    auto* list = Put<TsListBox>(20, 20, 150, 120);
    list->SetItemHeight(16);
    for (const char* s : {"one", "two", "three"}) list->Items()->Add(s);
    list->SetItemIndex(1);
    SetForegroundWindow(Form.Wnd());
    list->SetFocus();
    Settle();
    ASSERT_EQ(GetFocus(), list->WindowHandle());
    const TRect r = list->ItemRect(1);
    RECT client;
    GetClientRect(list->WindowHandle(), &client);
    POINT o{0, 0};
    ClientToScreen(list->WindowHandle(), &o);
    RECT w;
    GetWindowRect(list->WindowHandle(), &w);
    const TShot s = ShotOf(list->WindowHandle(), o.x - w.left + r.Left, o.y - w.top + r.Top, r.Width(), r.Height());
    const std::uint32_t fill = c.FocusRect ? ColorToRGB(Manager->GetHighLightColor(true)) : TC(kSelectionFill);
    const std::uint32_t rgb = ((fill & 0xFF) << 16) | (fill & 0xFF00) | ((fill >> 16) & 0xFF);
    EXPECT_EQ(Hex(s.At(r.Width() - 4, r.Height() / 2)), Hex(rgb)) << "the item's fill";
    int dotted = 0;  // the focus rectangle's dots along the item's top edge
    for (int x = 0; x < r.Width(); ++x) dotted += s.At(x, 0) != rgb;
    const bool corner = dotted > r.Width() / 4;
    EXPECT_EQ(corner, c.FocusRect) << "a focus rectangle only without the section";
    if (!c.FocusRect) {
      EXPECT_GT(InkOf(s, rgb).count(kSelectionFont), 0u) << "the text in the section's font colour";
    }
    list->Free();
  }
}

TEST_F(EditList, AnEmptyListShowsItsCacheAndWithoutTheSkinTheWindowColours) {
  auto* list = Put<TsListBox>(20, 20, 150, 100);
  Settle();
  RECT client;
  GetClientRect(list->WindowHandle(), &client);
  POINT o{0, 0};
  ClientToScreen(list->WindowHandle(), &o);
  RECT w;
  GetWindowRect(list->WindowHandle(), &w);
  const int dx = o.x - w.left, dy = o.y - w.top;
  const TShot shown = ShotOf(list->WindowHandle(), dx, dy, client.right, client.bottom);
  const TShot cache = ShotOfBitmap(list->SkinData()->CacheBmp.get());
  int differ = 0;
  for (int y = 0; y < client.bottom; ++y)
    for (int x = 0; x < client.right; ++x) differ += shown.At(x, y) != cache.At(x + 2, y + 2);
  EXPECT_EQ(differ, 0) << "the client area is the cache's";
  Manager->SetActive(false);
  EXPECT_EQ(list->Color(), clWindow);
  EXPECT_EQ(list->Font()->Color(), clWindowText);
}

TEST_F(EditList, AScrollLeavesRedrawingOnAndTheListNotUpdating) {
  auto* list = Put<TsListBox>(20, 20, 150, 100);
  for (int i = 0; i < 50; ++i) list->Items()->Add("item " + IntToStr(i));
  Settle();
  SendMessageW(list->WindowHandle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(list->TopIndex(), 1);
  EXPECT_FALSE(list->SkinData()->Updating);
  EXPECT_NE(GetWindowLongW(list->WindowHandle(), GWL_STYLE) & WS_VISIBLE, 0) << "redrawing is on again";
}

// A list whose own scroll handling raises.
class TRaisingList : public TsListBox {
  DK_CLASS(TRaisingList, TsListBox)
  DK_MESSAGES(TRaisingList)
 public:
  using TsListBox::TsListBox;
  void WMScroll(TMessage&) { throw Exception("scroll"); }
};
DK_MESSAGE_UNIT(TRaisingList);
DK_MESSAGE_HANDLER(TRaisingList, WM_VSCROLL, WMScroll);
DK_MESSAGE_HANDLER(TRaisingList, WM_MOUSEWHEEL, WMScroll);

TEST_F(EditList, AScrollThatRaisesStillTurnsRedrawingBackOn) {
  auto* list = Put<TRaisingList>(20, 20, 150, 100);
  for (int i = 0; i < 50; ++i) list->Items()->Add("item " + IntToStr(i));
  Settle();
  for (UINT msg : {WM_VSCROLL, WM_MOUSEWHEEL}) {
    SCOPED_TRACE(msg);
    EXPECT_THROW(list->Perform(msg, SB_LINEDOWN, 0), Exception);
    EXPECT_FALSE(list->SkinData()->Updating);
    EXPECT_NE(GetWindowLongW(list->WindowHandle(), GWL_STYLE) & WS_VISIBLE, 0) << "redrawing is on again";
  }
}

}  // namespace
