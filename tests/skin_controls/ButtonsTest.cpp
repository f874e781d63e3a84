// The skinned buttons on test forms: what they show (pixels read back from
// the screen) with the fixture skin in each state, how a state change fades
// frame by frame, the shaped window of a region-cornered border, the image
// choice and split menu of the push button, the speed buttons' sizes and
// hover rules, the glyph drawing, and the plain look without a skin manager.
#include <gtest/gtest.h>

#include <vector>

#include "ButtonsFixture.h"

using namespace buttonstest;

namespace {

// The glyph of the bit button tests: 32 x 32, its left half opaque, its
// right half of alpha 0.
constexpr std::uint32_t kGlyphColor = 0x2040C0;
TBitmap* HalfGlyph() {
  TBitmap* g = Strip(32, 32, {kGlyphColor});
  const TPixelView32 v = g->PixelView();
  for (int y = 0; y < 32; ++y)
    for (int x = 16; x < 32; ++x) v.At(x, y) = 0x00FFFFFFu;
  return g;
}

void ParkMouse() { SetCursorPos(1020, 760); }

// ------------------------------------------------------------ without a skin manager
// (first in the program: no manager exists yet)

// The number of pixels of a window's client area unlike the bitmap Expected
// (a memory DC holding it) in W x H.
int Differing(HWND Wnd, HDC Expected, int W, int H) {
  int n = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const COLORREF e = GetPixel(Expected, x, y);
      n += ClientPixel(Wnd, x, y) != (((e & 0xFF) << 16) | (e & 0xFF00) | ((e >> 16) & 0xFF));
    }
  return n;
}

// A memory DC of W x H compatible with the screen, gone with the object.
struct TMemDC {
  HDC DC;
  HBITMAP Bmp;
  HGDIOBJ Old;
  TMemDC(int W, int H) {
    HDC screen = GetDC(nullptr);
    DC = CreateCompatibleDC(screen);
    Bmp = CreateCompatibleBitmap(screen, W, H);
    Old = SelectObject(DC, Bmp);
    ReleaseDC(nullptr, screen);
  }
  ~TMemDC() {
    SelectObject(DC, Old);
    DeleteObject(Bmp);
    DeleteDC(DC);
  }
};

TEST(ButtonsWithoutManager, DrawTheOwnerDrawLook) {
  ASSERT_EQ(DefaultManager, nullptr);
  ParkMouse();
  TForm* form = Create<TForm>(Application, 0);
  form->SetBounds(60, 60, 240, 150);
  form->Show();
  auto* bit = Create<TsBitBtn>(form);
  bit->SetParent(form);
  bit->SetBounds(10, 10, 41, 41);
  std::unique_ptr<TBitmap> glyph(HalfGlyph());
  bit->SetGlyph(glyph.get());
  auto* push = Create<TsButton>(form);
  push->SetParent(form);
  push->SetBounds(60, 10, 90, 30);
  const AnsiString caption = "\xD1\xF2\xE0\xF0\xF2";  // "Start" in Russian, code page 1251
  push->SetCaption(caption);
  SetFocus(form->WindowHandle());
  for (TWinControl* c : {static_cast<TWinControl*>(bit), static_cast<TWinControl*>(push)})
    RedrawWindow(c->WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  testsupport::PumpMessages(50);
  {
    SCOPED_TRACE("bit button: the system's frame, the glyph's opaque half at (5, 5)");
    TMemDC e(41, 41);
    RECT r{0, 0, 41, 41};
    DrawFrameControl(e.DC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 16; ++x) SetPixel(e.DC, 5 + x, 5 + y, RGB(0x20, 0x40, 0xC0));
    EXPECT_EQ(Differing(bit->WindowHandle(), e.DC, 41, 41), 0);
  }
  {
    SCOPED_TRACE("push button: the system's frame, the caption centred in its font");
    TMemDC e(90, 30);
    RECT r{0, 0, 90, 30};
    DrawFrameControl(e.DC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
    HGDIOBJ oldFont = SelectObject(e.DC, push->Font()->Handle());
    RECT m{6, 0, 90 - 6, 0};
    DrawTextA(e.DC, caption.c_str(), -1, &m, DT_CALCRECT | DT_CENTER | DT_EXPANDTABS | DT_WORDBREAK);
    const int tw = m.right - m.left, th = m.bottom - m.top;
    RECT t{(90 - tw) / 2 - 1, (30 - th) / 2, 0, 0};
    t.right = t.left + tw + 2;
    t.bottom = 30 - t.top;
    SetBkMode(e.DC, TRANSPARENT);
    SetTextColor(e.DC, ColorToRGB(push->Font()->Color()));
    DrawTextA(e.DC, caption.c_str(), -1, &t, DT_CENTER | DT_VCENTER | DT_EXPANDTABS | DT_WORDBREAK);
    SelectObject(e.DC, oldFont);
    EXPECT_EQ(Differing(push->WindowHandle(), e.DC, 90, 30), 0);
  }
  testsupport::Screenshot(form->WindowHandle(), "buttons_plain");
  form->Free();
}

// ------------------------------------------------------------ skinned

class ButtonsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    Skins = new TButtonSkins;
    Manager = Create<TsSkinManager>(nullptr);
    Manager->SetSkinDirectory(skintest::Ansi(Skins->Path()));
  }
  static void TearDownTestSuite() {
    if (Manager) Manager->Free();
    Manager = nullptr;
    delete Skins;
  }
  void SetUp() override {
    ParkMouse();
    if (!Manager->Active()) Manager->SetActive(true);
    if (Manager->SkinName() != "Buttons") Manager->SetSkinName("Buttons");
    ASSERT_TRUE(Manager->CommonSkinData.Active);
    Form = skinforms::NewSkinnedForm(bsSingle, TBorderIcons{biSystemMenu}, false, 40, 40);
    Form.Form->SetBounds(40, 40, 420, 320);
    testsupport::PumpMessages(30);
  }
  void TearDown() override {
    if (Form.Form) Form.Form->Free();
    Form.Form = nullptr;
  }
  template <class T>
  T* Put(int X, int Y, int W, int H, const char* Section = "") {
    auto* c = Create<T>(Form.Form);
    c->SetParent(Form.Form);
    c->SetBounds(X, Y, W, H);
    if (*Section) c->SkinData()->SetSkinSection(Section);
    testsupport::PumpMessages(20);
    return c;
  }
  TsBitBtn* GlyphButton(const char* Section = "") {
    auto* b = Put<TsBitBtn>(20, 20, 41, 41, Section);
    std::unique_ptr<TBitmap> glyph(HalfGlyph());
    b->SetGlyph(glyph.get());
    SetFocus(Form.Wnd());
    Repaint(b);
    return b;
  }
  static void Repaint(TWinControl* C) {
    RedrawWindow(C->WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    testsupport::PumpMessages(20);
  }
  // The left border's middle pixel (the border image's edge).
  static std::uint32_t BorderPixel(TWinControl* C) { return ClientPixel(C->WindowHandle(), 0, C->Height() / 2); }
  static LRESULT Command(TControl* C, Word Cmd) {
    return C->Perform(SM_ALPHACMD, AlphaCmdParam(Cmd), reinterpret_cast<LPARAM>(Manager));
  }

  static inline TButtonSkins* Skins = nullptr;
  static inline TsSkinManager* Manager = nullptr;
  skinforms::TTestForm Form;
};

// ------------------------------------------------------------ bit button

TEST_F(ButtonsTest, BitButtonGlyphLiesAt5x5AndItsClearPixelsShowTheSection) {
  TsBitBtn* b = GlyphButton();
  const HWND w = b->WindowHandle();
  EXPECT_EQ(ClientPixel(w, 5, 5), kGlyphColor);
  EXPECT_EQ(ClientPixel(w, 5 + 15, 5 + 31), kGlyphColor);
  EXPECT_EQ(ClientPixel(w, 4, 20), kFill) << "left of the glyph";
  EXPECT_EQ(ClientPixel(w, 5 + 16, 20), kFill) << "alpha 0: the section";
  EXPECT_EQ(ClientPixel(w, 5 + 31, 36), kFill);
  EXPECT_EQ(BorderPixel(b), kBorder[0]);
}

TEST_F(ButtonsTest, ASkinnedCaptionIsWrittenInTheSectionsFontColourWhereTheLayoutPutsIt) {
  const AnsiString caption = "\xC4\xEE\xE1\xE0\xE2\xE8\xF2\xFC";  // "Add" in Russian, code page 1251
  auto* b = Put<TsBitBtn>(20, 20, 100, 32);
  b->SetCaption(caption);
  SetFocus(Form.Wnd());
  Repaint(b);
  // The test's own layout: the caption measured in the button's font, centred.
  TMemDC e(100, 32);
  HBRUSH fill = CreateSolidBrush(subclasstest::TC(kFill));
  RECT all{0, 0, 100, 32};
  FillRect(e.DC, &all, fill);
  DeleteObject(fill);
  HGDIOBJ oldFont = SelectObject(e.DC, b->Font()->Handle());
  RECT m{0, 0, 100 + 2, 0};
  DrawTextA(e.DC, caption.c_str(), -1, &m, DT_CALCRECT | DT_CENTER | DT_VCENTER | DT_EXPANDTABS | DT_WORDBREAK);
  const int tw = m.right, th = m.bottom;
  RECT t{(100 - tw + 1) / 2, (32 - th + 1) / 2, 0, 0};
  t.right = t.left + tw;
  t.bottom = t.top + th;
  SetBkMode(e.DC, TRANSPARENT);
  SetTextColor(e.DC, subclasstest::TC(kFont));
  DrawTextA(e.DC, caption.c_str(), -1, &t,
            DT_CENTER | DT_VCENTER | DT_EXPANDTABS | DT_END_ELLIPSIS | DT_WORDBREAK);
  SelectObject(e.DC, oldFont);
  int differing = 0, text = 0;
  for (int y = kMargin; y < 32 - kMargin; ++y)
    for (int x = kMargin; x < 100 - kMargin; ++x) {
      const COLORREF c = GetPixel(e.DC, x, y);
      const std::uint32_t expected = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
      differing += ClientPixel(b->WindowHandle(), x, y) != expected;
      text += expected == kFont;
    }
  EXPECT_GT(text, 20) << "the test wrote the caption";
  EXPECT_EQ(differing, 0);
  // For the eye: the caption among the other buttons of the skin.
  GlyphButton()->SetBounds(140, 20, 41, 41);
  auto* push = Put<TsButton>(200, 20, 90, 30);
  push->SetCaption("\xD1\xF2\xE0\xF0\xF2");
  auto* split = Put<TsButton>(200, 60, 110, 30);
  split->SetCaption("\xCC\xE5\xED\xFE");
  split->SetStyle(sbutton::bsSplitButton);
  auto* speed = Put<TsSpeedButton>(20, 80, 60, 24);
  speed->SetCaption("F1");
  Repaint(Form.Form);
  testsupport::Screenshot(Form.Wnd(), "buttons_skinned");
}

TEST_F(ButtonsTest, BitButtonBorderShowsTheImageOfItsState) {
  struct TCase {
    const char* Name;
    const char* Section;
    bool Default;
    void (*Act)(TsBitBtn*);
    std::uint32_t Border;
  } cases[] = {
      {"at rest", "", false, [](TsBitBtn*) {}, kBorder[0]},
      {"hot", "", false, [](TsBitBtn* b) { b->Perform(CM_MOUSEENTER, 0, 0); }, kBorder[1]},
      {"pressed", "", false,
       [](TsBitBtn* b) {
         b->Perform(CM_MOUSEENTER, 0, 0);
         FinishFade(b);
         SendMessageW(b->WindowHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
       },
       kBorder[2]},
      {"default, not focused", "", true, [](TsBitBtn*) {}, kBorder[3]},
      {"default on three states", "BUTTON_THREE", true, [](TsBitBtn*) {}, kBorder[1]},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TsBitBtn* b = GlyphButton(c.Section);
    b->SetDefault(c.Default);
    SetFocus(Form.Wnd());
    Repaint(b);
    c.Act(b);
    FinishFade(b);
    EXPECT_EQ(BorderPixel(b), c.Border);
    SendMessageW(b->WindowHandle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    FinishFade(b);
    b->Free();
  }
}

TEST_F(ButtonsTest, AFadeMovesTheBorderMonotonicallyToTheNewLook) {
  struct TCase {
    const char* Name;
    bool Press;
    std::uint32_t From, To;
    int MaxFrames;
  } cases[] = {{"mouse enters", false, kBorder[0], kBorder[1], 11}, {"press", true, kBorder[1], kBorder[2], 6}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TsBitBtn* b = GlyphButton();
    if (c.Press) {
      b->Perform(CM_MOUSEENTER, 0, 0);
      FinishFade(b);
      SendMessageW(b->WindowHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    } else {
      b->Perform(CM_MOUSEENTER, 0, 0);
    }
    ASSERT_NE(b->FadeTimer(), nullptr) << "the change fades";
    std::vector<std::uint32_t> seen{BorderPixel(b)};
    int frames = 0;
    while (TsFadeTimer* t = b->FadeTimer()) {
      t->Timer();
      seen.push_back(BorderPixel(b));
      if (++frames > 50) break;
    }
    EXPECT_EQ(seen.front(), c.From);
    EXPECT_EQ(seen.back(), c.To);
    EXPECT_LE(frames, c.MaxFrames + 1) << "frames, the last one ending the fade";
    EXPECT_GE(frames, c.MaxFrames / 2);
    for (int shift : {0, 8, 16}) {
      const auto ch = [shift](std::uint32_t p) { return static_cast<int>((p >> shift) & 0xFF); };
      const int dir = ch(c.To) > ch(c.From) ? 1 : ch(c.To) < ch(c.From) ? -1 : 0;
      for (size_t i = 1; i < seen.size(); ++i)
        EXPECT_GE(dir * (ch(seen[i]) - ch(seen[i - 1])), 0) << "channel " << shift << " frame " << i;
    }
    SendMessageW(b->WindowHandle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    FinishFade(b);
    b->Free();
  }
}

TEST_F(ButtonsTest, APressDraggedOutShowsTheNormalLookUntilTheMouseReturns) {
  TsBitBtn* b = GlyphButton();
  const HWND w = b->WindowHandle();
  b->Perform(CM_MOUSEENTER, 0, 0);
  FinishFade(b);
  SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  FinishFade(b);
  ASSERT_EQ(BorderPixel(b), kBorder[2]);
  SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 200));
  b->Perform(CM_MOUSELEAVE, 0, 0);
  FinishFade(b);
  // The press gave the button the focus: out of it, it shows the look of a
  // focused button at rest, not the pressed one.
  ASSERT_EQ(GetFocus(), w);
  EXPECT_EQ(BorderPixel(b), kBorder[1]) << "dragged out";
  SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 20));
  b->Perform(CM_MOUSEENTER, 0, 0);
  FinishFade(b);
  EXPECT_EQ(BorderPixel(b), kBorder[2]) << "back in";
  SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  FinishFade(b);
}

TEST_F(ButtonsTest, ARegionCorneredBorderShapesTheWindowUntilTheSkinGoes) {
  TsBitBtn* b = GlyphButton("BUTTON_HUGE");
  const HWND w = b->WindowHandle();
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(w, rgn), ERROR) << "the window has a region";
  for (const TPoint2& k : kCornerKeys) {
    EXPECT_FALSE(PtInRegion(rgn, k.X, k.Y)) << k.X << "," << k.Y;
    EXPECT_FALSE(PtInRegion(rgn, 40 - k.X, 40 - k.Y)) << "bottom right " << k.X << "," << k.Y;
  }
  EXPECT_TRUE(PtInRegion(rgn, 2, 0)) << "the border beside the key pixels";
  EXPECT_TRUE(PtInRegion(rgn, 20, 20));
  Command(b, ACMD_SKIN_UNLOADED);
  testsupport::PumpMessages(30);
  EXPECT_EQ(GetWindowRgn(w, rgn), ERROR) << "no region without the skin";
  EXPECT_FALSE(b->SkinData()->Skinned(false));
  EXPECT_NE(BorderPixel(b), kBorder[0]) << "the plain look";
  DeleteObject(rgn);
}

// ------------------------------------------------------------ focus rectangle colour

TEST_F(ButtonsTest, TheFocusRectangleOfAOneStateSectionTakesTheNormalFontColour) {
  auto check = [](TWinControl* b, TRect r) {
    int normal = 0, hot = 0;
    for (int x = r.Left; x < r.Right; ++x) {
      const std::uint32_t p = ClientPixel(b->WindowHandle(), x, r.Top);
      normal += p == kFont;
      hot += p == kHotFont;
    }
    EXPECT_GT(normal, 0) << "dots in the normal font colour";
    EXPECT_EQ(hot, 0) << "no dots in the hot one";
  };
  // The loader copies the normal look into the hot slot of a one-state
  // section; another colour there shows whether the slot is read.
  const Integer one = Manager->GetSkinIndex("BUTTON_ONE");
  ASSERT_GE(one, 0);
  Manager->Sections[static_cast<size_t>(one)].Props[1].FontColor.Color = subclasstest::TC(kHotFont);
  {
    SCOPED_TRACE("TsButton");
    auto* b = Put<TsButton>(20, 20, 120, 40, "BUTTON_ONE");
    b->SetCaption("Ok");
    b->SetFocus();
    Repaint(b);
    TRect r = b->CaptionRect();
    r = TRect{r.Left - 2, std::max(r.Top - 1, 3), r.Right + 2, std::min(r.Bottom + 1, 37)};
    check(b, r);
    b->Free();
  }
  {
    SCOPED_TRACE("TsBitBtn");
    auto* b = Put<TsBitBtn>(20, 20, 120, 40, "BUTTON_ONE");
    b->SetCaption("Ok");
    b->SetFocus();
    Repaint(b);
    const TRect c = b->CaptionRect();
    check(b, TRect{c.Left - 2, c.Top - 1, c.Right + 2, c.Bottom + 1});
    b->Free();
  }
}

// ------------------------------------------------------------ push button

TEST_F(ButtonsTest, AButtonIsOwnerDrawn) {
  auto* b = Put<TsButton>(20, 20, 75, 25);
  b->SetCaption("Старт");
  b->SetDefault(true);
  b->SetFocus();
  testsupport::PumpMessages(20);
  EXPECT_EQ(GetWindowLongW(b->WindowHandle(), GWL_STYLE) & 0xF, BS_OWNERDRAW);
}

TEST_F(ButtonsTest, AButtonShowsTheImageOfItsState) {
  constexpr std::uint32_t colors[5] = {0x101080, 0x108010, 0x801010, 0x808010, 0x108080};
  auto* images = Create<TImageList>(Form.Form);
  images->SetWidth(16);
  images->SetHeight(16);
  for (std::uint32_t c : colors) {
    std::unique_ptr<TBitmap> one(Strip(16, 16, {c}));
    one->SetPixelFormat(pf24bit);
    images->Add(one.get(), nullptr);
  }
  struct TCase {
    const char* Name;
    bool Default, Hot;
    int Hot5;
    int Expected;
  } cases[] = {
      {"default, neither focused nor hot: the selected image", true, false, 2, 3},
      {"hot image 5 of 5: the image index", false, true, 5, 1},
      {"hot image 2", false, true, 2, 2},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* b = Put<TsButton>(20, 20, 100, 30);
    b->SetImages(images);
    b->SetImageIndex(1);
    b->SetSelectedImageIndex(3);
    b->SetHotImageIndex(c.Hot5);
    b->SetDefault(c.Default);
    SetFocus(Form.Wnd());
    if (c.Hot) b->Perform(CM_MOUSEENTER, 0, 0);
    FinishFade(b);
    Repaint(b);
    EXPECT_EQ(b->GlyphIndex(), c.Expected);
    const TRect g = b->GlyphRect();
    EXPECT_EQ(ClientPixel(b->WindowHandle(), g.Left + 8, g.Top + 8), colors[c.Expected]);
    b->Free();
  }
}

// The split button's menu, watched from inside its loop.
struct TMenuWatch {
  bool Seen = false;
  RECT Menu{};
  bool DroppedDown = false;
  std::uint32_t Border = 0;
  TsButton* Button = nullptr;
} Watch;

void CALLBACK WatchMenu(HWND, UINT, UINT_PTR Id, DWORD) {
  HWND menu = FindWindowW(L"#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  KillTimer(nullptr, Id);
  Watch.Seen = true;
  GetWindowRect(menu, &Watch.Menu);
  Watch.DroppedDown = Watch.Button->DroppedDown();
  Watch.Border = ClientPixel(Watch.Button->WindowHandle(), 0, Watch.Button->Height() / 2);
  EndMenu();
}

TEST_F(ButtonsTest, ASplitButtonOpensItsMenuBelowOnlyFromItsArrowPart) {
  auto* menu = Create<TPopupMenu>(Form.Form);
  for (const char* caption : {"Один", "Два"}) {
    auto* item = Create<TMenuItem>(menu);
    item->SetCaption(caption);
    menu->Items()->Add(item);
  }
  auto* b = Put<TsButton>(30, 30, 120, 30);
  b->SetStyle(sbutton::bsSplitButton);
  b->SetDropDownMenu(menu);
  int clicks = 0;
  struct TClick : TObject {
    int* N;
    void Click(TObject*) { ++*N; }
  } counter;
  counter.N = &clicks;
  b->OnClick = TNotifyEvent(&counter, &TClick::Click);
  Repaint(b);

  Watch = TMenuWatch{};
  Watch.Button = b;
  SetTimer(nullptr, 0, 30, WatchMenu);
  SendMessageW(b->WindowHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(112, 15));
  SendMessageW(b->WindowHandle(), WM_LBUTTONUP, 0, MAKELPARAM(112, 15));
  testsupport::PumpMessages(30);
  ASSERT_TRUE(Watch.Seen) << "a menu window";
  RECT br;
  GetWindowRect(b->WindowHandle(), &br);
  EXPECT_EQ(Watch.Menu.left, br.left);
  EXPECT_EQ(Watch.Menu.top, br.top + b->Height());
  EXPECT_TRUE(Watch.DroppedDown);
  EXPECT_EQ(Watch.Border, kBorder[2]) << "pressed while the menu is open";
  EXPECT_FALSE(b->DroppedDown());
  EXPECT_EQ(clicks, 0);

  SendMessageW(b->WindowHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 15));
  SendMessageW(b->WindowHandle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 15));
  testsupport::PumpMessages(30);
  EXPECT_EQ(clicks, 1) << "a press elsewhere clicks";
}

TEST_F(ButtonsTest, EveryReleaseReachesOnMouseUp) {
  struct TCase {
    const char* Name;
    const char* Section;
    UINT Down, Up;
  } cases[] = {
      {"skinned, left", "", WM_LBUTTONDOWN, WM_LBUTTONUP},
      {"skinned, right", "", WM_RBUTTONDOWN, WM_RBUTTONUP},
      {"skinned, release without a press", "", 0, WM_LBUTTONUP},
      {"unskinned, left", "NO SUCH SECTION", WM_LBUTTONDOWN, WM_LBUTTONUP},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* b = Put<TsButton>(20, 20, 80, 30, c.Section);
    int ups = 0;
    struct TUp : TObject {
      int* N;
      void Up(TObject*, TMouseButton, TShiftState, int, int) { ++*N; }
    } up;
    up.N = &ups;
    b->OnMouseUp = TMouseEvent(&up, &TUp::Up);
    if (c.Down) SendMessageW(b->WindowHandle(), c.Down, 0, MAKELPARAM(10, 10));
    FinishFade(b);
    SendMessageW(b->WindowHandle(), c.Up, 0, MAKELPARAM(10, 10));
    FinishFade(b);
    testsupport::PumpMessages(10);
    EXPECT_EQ(ups, 1);
    b->Free();
  }
}

// ------------------------------------------------------------ speed buttons

TEST_F(ButtonsTest, SpeedButtonSizesAndHoverRules) {
  {
    SCOPED_TRACE("drop-down style set at run time widens by 16");
    auto* s = Put<TsSpeedButton>(10, 10, 40, 22);
    s->SetButtonStyle(tbsDropDown);
    EXPECT_EQ(s->Width(), 56);
    s->SetButtonStyle(tbsButton);
    EXPECT_EQ(s->Width(), 40);
  }
  {
    SCOPED_TRACE("not while loading");
    auto* s = Put<TsSpeedButton>(10, 40, 40, 22);
    s->SetComponentState(csLoading);
    s->SetButtonStyle(tbsDropDown);
    s->ClearComponentState(csLoading);
    EXPECT_EQ(s->Width(), 40);
  }
  for (TToolButtonStyle style : {tbsSeparator, tbsDivider, tbsButton}) {
    SCOPED_TRACE(static_cast<int>(style));
    auto* s = Put<TsSpeedButton>(10, 80, 40, 22);
    s->SetButtonStyle(style);
    ASSERT_TRUE(s->SkinData()->Skinned(true));
    s->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(s->CurrentState(), style == tbsButton ? 1 : 0) << "separators and dividers never become hot";
    s->Perform(CM_MOUSELEAVE, 0, 0);
    s->Free();
  }
  {
    SCOPED_TRACE("the timer button");
    auto* t = Create<TsTimerSpeedButton>(Form.Form);
    EXPECT_EQ(t->Height(), 22);
    EXPECT_EQ(t->Width(), 18);
  }
  struct {
    int Margin, GlyphMargin;
  } margins[] = {{-1, 0}, {0, 3}, {2, 5}};
  for (const auto& m : margins) {
    auto* s = Create<TsSpeedButton>(Form.Form);
    s->SetMargin(m.Margin);
    EXPECT_EQ(s->GenMargin(), m.GlyphMargin) << "Margin " << m.Margin;
  }
}

TEST_F(ButtonsTest, ASpeedButtonShowsItsSectionAndItsHotLook) {
  auto* s = Put<TsSpeedButton>(20, 20, 40, 24);
  s->Repaint();
  testsupport::PumpMessages(20);
  EXPECT_EQ(ClientPixel(Form.Form->WindowHandle(), 20 + 20, 20 + 12), kSpeedFill);
  s->Perform(CM_MOUSEENTER, 0, 0);
  int steps = 0;
  while (TsAnimTimer* t = s->AnimTimer()) {
    t->Timer();
    if (++steps > 50) break;
  }
  s->Repaint();
  testsupport::PumpMessages(20);
  EXPECT_EQ(ClientPixel(Form.Form->WindowHandle(), 20 + 20, 20 + 12), kSpeedHotFill);
}

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR Id, DWORD) {
  if (HWND m = FindWindowW(L"#32768", nullptr); m && IsWindowVisible(m)) {
    KillTimer(nullptr, Id);
    EndMenu();
  }
}

TEST_F(ButtonsTest, ASpeedButtonMenuGivesTheHintsBack) {
  auto* menu = Create<TPopupMenu>(Form.Form);
  auto* item = Create<TMenuItem>(menu);
  item->SetCaption("Один");
  menu->Items()->Add(item);
  auto* s = Put<TsSpeedButton>(20, 20, 40, 24);
  s->SetButtonStyle(tbsDropDown);
  s->SetDropdownMenu(menu);
  Application->ShowHint = true;
  SetTimer(nullptr, 0, 30, CloseMenu);
  // The menu's loop swallows the release: only the press arrives.
  s->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 10));
  testsupport::PumpMessages(20);
  EXPECT_FALSE(s->DroppedDown());
  EXPECT_TRUE(Application->ShowHint) << "hints are on again";
}

// ------------------------------------------------------------ glyph drawing

TEST(GlyphDrawing, PicksTheImageOfTheStateAndNeverReadsOutsideTheStrip) {
  constexpr std::uint32_t colors[4] = {0x800000, 0x008000, 0x000080, 0x808000};
  constexpr std::uint32_t kBack = 0x404040;
  struct TCase {
    const char* Name;
    int Images;     // in the strip
    int NumGlyphs;  // as the button says
    int State;
    int ImageIndex;  // into a list of 2 images of colour kListColor
    std::uint32_t Expected;
  } cases[] = {
      {"4 images, default state", 4, 4, 3, -1, colors[3]},
      {"2 images, default state", 2, 2, 3, -1, colors[1]},
      {"hot", 4, 4, 1, -1, colors[1]},
      {"index equal to the list's count: the glyph", 4, 4, 0, 2, colors[0]},
      {"NumGlyphs beyond the strip: its last image", 2, 4, 3, -1, colors[1]},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::unique_ptr<TBitmap> strip(Strip(8, 8, {colors[0], colors[1], colors[2], colors[3]}));
    strip->SetWidth(8 * c.Images);
    std::unique_ptr<TBitmap> dst(Strip(24, 8, {kBack}));
    std::unique_ptr<TImageList> list(Create<TImageList>(nullptr));
    list->SetWidth(8);
    list->SetHeight(8);
    for (int i = 0; i < 2; ++i) {
      std::unique_ptr<TBitmap> one(Strip(8, 8, {0x00C0C0}));
      one->SetPixelFormat(pf24bit);
      list->Add(one.get(), nullptr);
    }
    TacDrawGlyphData d;
    d.DstBmp = dst.get();
    d.Images = c.ImageIndex >= 0 ? list.get() : nullptr;
    d.ImageIndex = c.ImageIndex;
    d.Glyph = strip.get();
    d.NumGlyphs = c.NumGlyphs;
    d.CurrentState = c.State;
    d.ImgRect = TRect{8, 0, 16, 8};
    acDrawGlyphEx(d);
    EXPECT_EQ(BmpPixel(dst.get(), 8, 0), c.Expected);
    EXPECT_EQ(BmpPixel(dst.get(), 15, 7), c.Expected);
    EXPECT_EQ(BmpPixel(dst.get(), 7, 0), kBack) << "nothing left of the glyph";
    EXPECT_EQ(BmpPixel(dst.get(), 16, 0), kBack) << "nothing right of the glyph";
  }
}

TEST(GlyphDrawing, ADisabledGlyphWithoutAlphaBecomes24Bit) {
  std::unique_ptr<TBitmap> strip(Strip(8, 8, {0x800000}, 0));
  std::unique_ptr<TBitmap> dst(Strip(8, 8, {0x404040}));
  TacDrawGlyphData d;
  d.DstBmp = dst.get();
  d.Glyph = strip.get();
  d.Enabled = false;
  d.ImgRect = TRect{0, 0, 8, 8};
  acDrawGlyphEx(d);
  EXPECT_EQ(strip->PixelFormat(), pf24bit);
}

}  // namespace
