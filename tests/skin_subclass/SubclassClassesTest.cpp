// The subclass classes attached to real native windows of their kind on a
// skinned form: what each shows from the fixture skin (pixels read back from
// the screen), the push button's states under the mouse, the check glyphs,
// the static's bitmap that stays the control's, and the combo box's list.
#include <gtest/gtest.h>

#include <string>

#include "SubclassSupport.h"
// After the class library's headers (they bring windows.h in order).
#include <commctrl.h>

using namespace subclasstest;

namespace {

class SubclassClassesTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitCommonControls();
    Skins = new TSubclassSkins;
    Manager = Create<TsSkinManager>(nullptr);
    Manager->SetSkinDirectory(skintest::Ansi(Skins->Path()));
  }
  static void TearDownTestSuite() {
    if (Manager) Manager->Free();
    Manager = nullptr;
    delete Skins;
  }
  void SetUp() override {
    if (!Manager->Active()) Manager->SetActive(true);
    if (Manager->SkinName() != "Classes") Manager->SetSkinName("Classes");
    ASSERT_TRUE(Manager->CommonSkinData.Active);
    Form = skinforms::NewSkinnedForm(bsSingle, TBorderIcons{biSystemMenu}, false, 40, 40);
    Form.Form->SetBounds(40, 40, 420, 320);
    testsupport::PumpMessages(50);
  }
  void TearDown() override {
    // Windows first, then their objects (each detaches when its window goes).
    for (HWND w : Windows) DestroyWindow(w);
    for (TacMainWnd* o : Objects) delete o;
    Windows.clear();
    Objects.clear();
    if (Form.Form) Form.Form->Free();
  }
  HWND Parent() const { return Form.Form->WindowHandle(); }
  HWND Make(const wchar_t* Class, const wchar_t* Text, DWORD Style, int X, int Y, int W, int H, DWORD ExStyle = 0) {
    HWND w = Child(Parent(), Class, Text, Style, X, Y, W, H, ExStyle);
    Windows.push_back(w);
    return w;
  }
  template <class T>
  T* Skin(HWND Wnd, const char* Section = "") {
    T* o = Attach<T>(Wnd, Manager, Section);
    Objects.push_back(o);
    Repaint(Wnd);
    return o;
  }

  static inline TSubclassSkins* Skins = nullptr;
  static inline TsSkinManager* Manager = nullptr;
  skinforms::TTestForm Form;
  std::vector<HWND> Windows;
  std::vector<TacMainWnd*> Objects;
};

std::uint32_t PixelAtScreen(HWND Wnd, int X, int Y) {
  RECT r;
  GetWindowRect(Wnd, &r);
  return skinforms::ScreenPixel(r.left + X, r.top + Y);
}

void MouseTo(HWND Wnd, int X, int Y) {
  RECT r;
  GetWindowRect(Wnd, &r);
  skinforms::MouseAt(r.left + X, r.top + Y);
  testsupport::PumpMessages(60);
}

// ------------------------------------------------------------ buttons

TEST_F(SubclassClassesTest, APushButtonShowsTheSkinsBorderOfItsStateUnderTheMouse) {
  HWND focus = Make(L"BUTTON", L"Other", BS_PUSHBUTTON, 300, 200, 80, 26);
  HWND b = Make(L"BUTTON", L"OK", BS_PUSHBUTTON, 20, 20, 100, 30);
  Skin<TacBtnWnd>(b);
  SetFocus(focus);
  MouseTo(Parent(), 5, 5);  // away from the button
  Repaint(b);
  EXPECT_EQ(WindowPixel(b, 1, 15), kBtnBorder[0]) << "normal";
  EXPECT_EQ(WindowPixel(b, 4, 4), kBtnFill);

  MouseTo(b, 50, 15);
  EXPECT_EQ(DefaultManager->ActiveControl(), b);
  EXPECT_EQ(WindowPixel(b, 1, 15), kBtnBorder[1]) << "hot";
  EXPECT_EQ(WindowPixel(b, 4, 4), kBtnHotFill);

  skinforms::MouseButton(MOUSEEVENTF_LEFTDOWN);
  testsupport::PumpMessages(60);
  EXPECT_EQ(WindowPixel(b, 1, 15), kBtnBorder[2]) << "pressed";
  skinforms::MouseButton(MOUSEEVENTF_LEFTUP);
  testsupport::PumpMessages(60);
  EXPECT_NE(WindowPixel(b, 1, 15), kBtnBorder[2]) << "released";

  MouseTo(Parent(), 5, 5);
  SetFocus(focus);
  Repaint(b);
  EXPECT_EQ(WindowPixel(b, 1, 15), kBtnBorder[0]) << "left";
}

TEST_F(SubclassClassesTest, ADefaultButtonOfAPlainWindowLooksHotWhenTheSkinHasNoDefaultState) {
  HWND focus = Make(L"BUTTON", L"Other", BS_PUSHBUTTON, 300, 200, 80, 26);
  HWND b = Make(L"BUTTON", L"Yes", BS_DEFPUSHBUTTON, 20, 60, 100, 30);
  TacBtnWnd* o = Skin<TacBtnWnd>(b);
  SetFocus(focus);
  MouseTo(Parent(), 5, 5);
  Repaint(b);
  EXPECT_EQ(o->CurrentState(), 3);
  EXPECT_EQ(WindowPixel(b, 1, 15), kBtnBorder[1]);  // three states: painted as hot
  // Its caption is drawn from the window's text in the section's font colour.
  int dark = 0;
  for (int x = 20; x < 80; ++x)
    for (int y = 8; y < 22; ++y) dark += WindowPixel(b, x, y) == 0;
  EXPECT_GT(dark, 5);
}

// ------------------------------------------------------------ check boxes

TEST_F(SubclassClassesTest, CheckBoxesAndRadioButtonsShowTheSkinsGlyphOfTheirState) {
  const struct {
    DWORD Style;
    WPARAM Check;
    std::uint32_t Glyph;
    bool GlyphRight;
  } cases[] = {
      {BS_AUTOCHECKBOX, BST_UNCHECKED, kGlyphs[0].Color, false},
      {BS_AUTOCHECKBOX, BST_CHECKED, kGlyphs[1].Color, false},
      {BS_AUTO3STATE, BST_INDETERMINATE, kGlyphs[2].Color, false},
      {BS_AUTORADIOBUTTON, BST_UNCHECKED, kGlyphs[3].Color, false},
      {BS_AUTORADIOBUTTON, BST_CHECKED, kGlyphs[4].Color, false},
      {BS_RADIOBUTTON, BST_INDETERMINATE, kGlyphs[2].Color, false},  // radios have no grayed glyph of their own
      {BS_AUTOCHECKBOX | BS_LEFTTEXT, BST_CHECKED, kGlyphs[1].Color, true},
  };
  const int w = 150, h = 24;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << c.Style << " check " << c.Check);
    HWND box = Make(L"BUTTON", L"Box", c.Style, 20, 100, w, h);
    Skin<TacCheckBoxWnd>(box);
    SendMessageW(box, BM_SETCHECK, c.Check, 0);
    if (static_cast<WPARAM>(SendMessageW(box, BM_GETCHECK, 0, 0)) != c.Check) {
      // Wine keeps no indeterminate state for a radio button.
      DestroyWindow(box);
      continue;
    }
    Repaint(box);
    const int x = c.GlyphRight ? w - kGlyphSize / 2 - 1 : kGlyphSize / 2;
    EXPECT_EQ(WindowPixel(box, x, h / 2), c.Glyph);
    EXPECT_EQ(WindowPixel(box, c.GlyphRight ? 2 : w - 2, 1), kFormColor) << "the parent's background";
    DestroyWindow(box);
  }
}

// ------------------------------------------------------------ statics

TEST_F(SubclassClassesTest, AStaticTextIsPaintedOnTheParentsSkinnedBackground) {
  HWND s = Make(L"STATIC", L"Текст", SS_LEFT, 20, 140, 120, 20);
  Skin<TacStaticWnd>(s);
  EXPECT_EQ(WindowPixel(s, 118, 18), kFormColor);
  int text = 0;
  for (int x = 0; x < 60; ++x)
    for (int y = 0; y < 18; ++y) text += WindowPixel(s, x, y) == 0;
  EXPECT_GT(text, 5);
}

TEST_F(SubclassClassesTest, ABitmapStaticShowsItsPictureAndKeepsItWhenTheSubclassGoes) {
  // A red 10 x 10 picture in a 30 x 30 static.
  HDC screen = GetDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 10, 10);
  HDC mem = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(mem, bmp);
  RECT all{0, 0, 10, 10};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(mem, &all, red);
  DeleteObject(red);
  SelectObject(mem, old);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  HWND s = Make(L"STATIC", nullptr, SS_BITMAP | SS_CENTERIMAGE, 20, 170, 30, 30);
  SendMessageW(s, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp));
  const auto shown = reinterpret_cast<HBITMAP>(SendMessageW(s, STM_GETIMAGE, IMAGE_BITMAP, 0));
  ASSERT_NE(shown, nullptr);
  SetWindowPos(s, nullptr, 0, 0, 30, 30, SWP_NOMOVE | SWP_NOZORDER);

  auto* o = Attach<TacIconWnd>(s, Manager);
  Repaint(s);
  EXPECT_TRUE(o->IsBitmap);
  EXPECT_EQ(WindowPixel(s, 2, 2), 0xFF0000u);
  EXPECT_EQ(WindowPixel(s, 25, 25), kFormColor);

  Detach(s, o);
  BITMAP info{};
  EXPECT_EQ(reinterpret_cast<HBITMAP>(SendMessageW(s, STM_GETIMAGE, IMAGE_BITMAP, 0)), shown);
  ASSERT_EQ(GetObjectW(shown, sizeof info, &info), static_cast<int>(sizeof info)) << "the control's bitmap was deleted";
  EXPECT_EQ(info.bmWidth, 10);
}

TEST_F(SubclassClassesTest, AFramedBitmapStaticKeepsTheSystemsDrawingInsideASkinnedFrame) {
  HBITMAP bmp = static_cast<HBITMAP>(LoadImageW(nullptr, MAKEINTRESOURCEW(32754), IMAGE_BITMAP, 0, 0, LR_SHARED));
  HWND s = Make(L"STATIC", nullptr, SS_BITMAP, 60, 170, 40, 30, WS_EX_STATICEDGE);
  if (bmp) SendMessageW(s, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp));
  SetWindowPos(s, nullptr, 0, 0, 40, 30, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  Skin<TacEdgeWnd>(s, "EDIT");
  Repaint(s);
  EXPECT_EQ(WindowPixel(s, 0, 15), kEditBorder);
  EXPECT_EQ(WindowPixel(s, 20, 0), kEditBorder);
}

// ------------------------------------------------------------ group box and size grip

TEST_F(SubclassClassesTest, AGroupBoxFramesItselfBelowItsCaptionStrip) {
  HWND g = Make(L"BUTTON", L"Group", BS_GROUPBOX, 160, 20, 120, 80);
  Skin<TacGroupBoxWnd>(g);
  EXPECT_EQ(WindowPixel(g, 0, 50), kGroupBorder);
  EXPECT_EQ(WindowPixel(g, 119, 50), kGroupBorder);
  EXPECT_EQ(WindowPixel(g, 0, 0), kFormColor) << "above the frame lies the parent's background";
}

TEST_F(SubclassClassesTest, ASizeGripShowsTheSkinsGripInItsCorner) {
  HWND grip = Make(L"SCROLLBAR", nullptr, SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN, 300, 120, 20, 20);
  Skin<TacSizerWnd>(grip);
  RECT r;
  GetWindowRect(grip, &r);  // the system sizes a grip itself
  EXPECT_EQ(WindowPixel(grip, r.right - r.left - 2, r.bottom - r.top - 2), kGrip);
  EXPECT_EQ(SendMessageW(grip, WM_NCHITTEST, 0, 0), HTBOTTOMRIGHT);
}

// ------------------------------------------------------------ edits, tree view

TEST_F(SubclassClassesTest, AnEditAndATreeViewTakeTheEditSectionsFrameAndColour) {
  HWND e = Make(L"EDIT", L"text", ES_AUTOHSCROLL, 20, 210, 120, 24, WS_EX_CLIENTEDGE);
  HWND t = Make(WC_TREEVIEWW, nullptr, TVS_HASLINES, 160, 110, 120, 90, WS_EX_CLIENTEDGE);
  TVINSERTSTRUCTW item{};
  item.hInsertAfter = TVI_LAST;
  item.item.mask = TVIF_TEXT;
  wchar_t text[] = L"Node";
  item.item.pszText = text;
  SendMessageW(t, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  Skin<TacEditWnd>(e);
  Skin<TacTreeViewWnd>(t);
  for (HWND w : {e, t}) {
    EXPECT_EQ(WindowPixel(w, 0, 10), kEditBorder);
    EXPECT_EQ(WindowPixel(w, 1, 1), kEditBorder);
  }
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(t, TVM_GETBKCOLOR, 0, 0)), static_cast<COLORREF>(TC(kEditFill)));
  EXPECT_EQ(WindowPixel(t, 100, 80), kEditFill);
}

// ------------------------------------------------------------ combo box

TEST_F(SubclassClassesTest, AComboBoxShowsTheSkinsFrameAndButton) {
  HWND c = Make(L"COMBOBOX", nullptr, CBS_DROPDOWNLIST | WS_VSCROLL, 20, 250, 150, 200);
  for (const wchar_t* s : {L"Один", L"Два"}) SendMessageW(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  SendMessageW(c, CB_SETCURSEL, 0, 0);
  auto* o = Skin<TacComboBoxWnd>(c);
  RECT r;
  GetWindowRect(c, &r);
  TRect btn;
  o->ButtonRect(btn);
  EXPECT_EQ(WindowPixel(c, 0, (r.bottom - r.top) / 2), kEditBorder);
  EXPECT_EQ(WindowPixel(c, btn.Left + 2, btn.Top + 2), kComboBtn);
}

TEST_F(SubclassClassesTest, AComboListHasOneObjectAndOneBrushOverManyDropDowns) {
  HWND c = Make(L"COMBOBOX", nullptr, CBS_DROPDOWNLIST | WS_VSCROLL, 20, 250, 150, 200);
  for (int i = 0; i < 30; ++i) {
    const std::wstring s = L"Item " + std::to_wstring(i);
    SendMessageW(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
  }
  auto* o = Skin<TacComboBoxWnd>(c);
  RECT cr;
  GetWindowRect(c, &cr);
  auto dropAndClose = [&] {
    SendMessageW(c, CB_SHOWDROPDOWN, TRUE, 0);
    testsupport::PumpMessages(30);
    SendMessageW(c, CB_SHOWDROPDOWN, FALSE, 0);
    testsupport::PumpMessages(10);
  };
  SendMessageW(c, CB_SHOWDROPDOWN, TRUE, 0);
  testsupport::PumpMessages(50);
  ASSERT_NE(o->ListWindow, nullptr);
  HWND list = o->ListWindow;
  TacMainWnd* listObj = GetSubclassObject(list);
  ASSERT_NE(listObj, nullptr);
  EXPECT_TRUE(listObj->Is<TacComboListWnd>());
  const HBRUSH brush = o->ListBrush();
  ASSERT_NE(brush, nullptr);
  RECT lr;
  GetWindowRect(list, &lr);
  EXPECT_EQ(lr.right - lr.left, cr.right - cr.left + 1) << "one pixel wider than the system made it";
  SendMessageW(c, CB_SHOWDROPDOWN, FALSE, 0);
  testsupport::PumpMessages(20);

  const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  for (int i = 0; i < 20; ++i) dropAndClose();
  EXPECT_EQ(GetSubclassObject(list), listObj);
  EXPECT_EQ(o->ListBrush(), brush);
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi + 2);

  // The skin goes: the list loses its object and gets its thin border back.
  SendMessageW(c, SM_ALPHACMD, AlphaCmdParam(ACMD_SKIN_UNLOADED), reinterpret_cast<LPARAM>(Manager));
  EXPECT_EQ(GetSubclassObject(list), nullptr);
  EXPECT_EQ(o->ListWindow, nullptr);
  EXPECT_EQ(o->ListBrush(), nullptr);
  const LONG_PTR style = GetWindowLongPtrW(list, GWL_STYLE);
  EXPECT_TRUE(style & WS_BORDER);
  EXPECT_FALSE(style & WS_THICKFRAME);
}

TEST_F(SubclassClassesTest, AComboPaintsAnItemOfFiveThousandCharactersWithoutHarm) {
  HWND c = Make(L"COMBOBOX", nullptr, CBS_DROPDOWNLIST | WS_VSCROLL, 20, 250, 150, 200);
  const std::wstring longItem(5000, L'Ж');
  SendMessageW(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(longItem.c_str()));
  SendMessageW(c, CB_SETCURSEL, 0, 0);
  Skin<TacComboBoxWnd>(c);
  RECT r;
  GetWindowRect(c, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bmp);
  SendMessageW(c, WM_PRINT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT | PRF_NONCLIENT);
  const std::vector<uint32_t> px = testsupport::ReadPixels(mem, 0, 0, w, h);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  int text = 0;
  for (int y = 3; y < h - 3; ++y)
    for (int x = 4; x < w / 2; ++x) text += px[static_cast<size_t>(y) * w + x] == 0;
  EXPECT_GT(text, 5) << "the item's start is drawn";
  EXPECT_TRUE(IsWindow(c));
}

}  // namespace
