// The skin provider on forms of each border style with the fixture skin:
// frame geometry, title buttons and hit codes, the maximized size, the
// window region, the caption on screen, the mouse on the caption, the
// unskinned path and the editor's records.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "SkinFormsSupport.h"
#include "classlib/core/PixelView.h"
#include "skin/core/Smessages.h"
#include "skin/core/sConst.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/sTitleButtons.h"

using namespace skinforms;

namespace {

class SkinProviderTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    Skins = new TFixtureSkins;
    Manager = Create<TsSkinManager>(nullptr);
    Manager->SetSkinDirectory(skintest::Ansi(Skins->Path()));
  }
  static void TearDownTestSuite() {
    if (Manager) Manager->Free();
    Manager = nullptr;
    delete Skins;
  }
  void SetUp() override { Use("Fixture"); }
  void TearDown() override {
    for (TForm* f : Forms) f->Free();
    Forms.clear();
  }
  static void Use(const char* Skin) {
    if (Manager->SkinName() != Skin) Manager->SetSkinName(Skin);
    ASSERT_TRUE(Manager->CommonSkinData.Active) << Skin;
  }
  TTestForm Make(TFormBorderStyle Style, TBorderIcons Icons, bool WithMenu = false) {
    TTestForm t = NewSkinnedForm(Style, Icons, WithMenu);
    Forms.push_back(t.Form);
    return t;
  }
  static LRESULT HitAt(const TTestForm& t, int X, int Y) {
    const RECT w = t.Window();
    return SendMessageW(t.Wnd(), WM_NCHITTEST, 0, MAKELPARAM(w.left + X, w.top + Y));
  }
  static TPoint Centre(const TRect& R) { return TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2}; }

  static inline TFixtureSkins* Skins = nullptr;
  static inline TsSkinManager* Manager = nullptr;
  std::vector<TForm*> Forms;
};

const TBorderIcons kAllIcons{biSystemMenu, biMinimize, biMaximize};

TEST_F(SkinProviderTest, TheCaptionBandAndTheMenuLineHaveTheSystemsSizes) {
  const int frame = GetSystemMetrics(SM_CXFRAME), dlg = GetSystemMetrics(SM_CXDLGFRAME);
  const int caption = GetSystemMetrics(SM_CYCAPTION), menu = GetSystemMetrics(SM_CYMENU);
  const struct {
    TFormBorderStyle Style;
    bool WithMenu;
    int Band, MenuLine;
  } cases[] = {
      {bsSingle, true, dlg + caption, menu},
      {bsDialog, true, dlg + caption, 0},  // a dialog never shows a menu line
      {bsSizeable, false, frame + caption, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Style));
    TTestForm t = Make(c.Style, kAllIcons, c.WithMenu);
    ASSERT_TRUE(t.Provider->Skinned());
    ASSERT_TRUE(t.Provider->PaintAll());
    EXPECT_EQ(t.Provider->TitleBarBottom, c.Band);
    EXPECT_EQ(t.Provider->MenuLineVisible() ? t.Provider->GetLinesCount() * t.Provider->MenuHeight() + 1 : 0,
              c.MenuLine);
  }
}

// A form hidden while the skin changes has its menu bar laid out again when
// it is next shown: the items are the painter's, with its measures, over the
// new skin's line.
TEST_F(SkinProviderTest, AFormHiddenDuringASkinChangeShowsItsMenuLineSkinned) {
  TTestForm t = Make(bsSingle, kAllIcons, true);
  t.Form->Hide();
  Use("NoKeys");
  t.Form->Show();
  RedrawWindow(t.Wnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  testsupport::PumpMessages(50);
  TMenuItem* first = t.Form->Menu()->Items()->Items(0);
  EXPECT_TRUE(first->OnAdvancedDrawItem);
  RECT w{}, item{};
  GetWindowRect(t.Wnd(), &w);
  ASSERT_TRUE(GetMenuItemRect(t.Wnd(), GetMenu(t.Wnd()), 0, &item));
  EXPECT_EQ(item.bottom - item.top, GetSystemMetrics(SM_CYMENU) - 1);
  // Right of the items the line shows the skin's line colour.
  HDC screen = GetDC(nullptr);
  const COLORREF seen = GetPixel(screen, w.right - 30, (item.top + item.bottom) / 2);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(seen, static_cast<COLORREF>(0xE0E0E0)) << std::hex << seen;
}

TEST_F(SkinProviderTest, TheFormAnswersItsCommands) {
  TTestForm t = Make(bsSingle, kAllIcons, true);
  RECT w{}, c{};
  GetWindowRect(t.Wnd(), &w);
  GetClientRect(t.Wnd(), &c);
  const int ww = w.right - w.left, wh = w.bottom - w.top;
  EXPECT_EQ(SendMessageW(t.Wnd(), SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_CLIENT_OFFSET), 0),
            MAKELONG((ww - c.right) / 2, wh - c.bottom - GetSystemMetrics(SM_CXDLGFRAME)));
  EXPECT_EQ(SendMessageW(t.Wnd(), SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_PROVIDER), 0),
            reinterpret_cast<LRESULT>(t.Provider));
  EXPECT_EQ(SendMessageW(t.Wnd(), SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_HOOKED), 0), 1);
  for (const int q : {0xB04C, 0xBC4D, static_cast<int>(WM_ENTERIDLE)})
    EXPECT_EQ(SendMessageW(t.Wnd(), static_cast<UINT>(q), 0x41A2, 0), 0) << std::hex << q;
}

TEST(SkinProviderIcon, TheIconSizeFollowsTheCaptionHeight) {
  const struct {
    int Caption, Icon;
  } cases[] = {{22, 16}, {17, 16}, {16, 8}, {12, 8}, {9, 8}, {8, 1}, {-100, 1}};
  for (const auto& c : cases) EXPECT_EQ(IconSizeFor(c.Caption), c.Icon) << c.Caption;
}

TEST_F(SkinProviderTest, TheIconAndTheButtonsLieWhereTheSkinPutsThem) {
  TTestForm single = Make(bsSingle, TBorderIcons{biSystemMenu, biMinimize});
  TsSkinProvider* p = single.Provider;
  ASSERT_TRUE(p->PaintAll());
  const int dlg = GetSystemMetrics(SM_CXDLGFRAME);
  EXPECT_EQ(p->IconRect.Left, dlg + kBiLeft);
  EXPECT_EQ(p->IconRect.Right, dlg + kBiLeft + 16);
  EXPECT_EQ(p->IconRect.Top, 2);
  EXPECT_EQ(p->IconRect.Bottom, 18);
  const int ww = single.Window().right - single.Window().left;
  EXPECT_EQ(p->ButtonClose.Rect.Right, ww - kBiRight - dlg);
  EXPECT_EQ(p->ButtonClose.Rect.Width(), kCloseW);
  EXPECT_EQ(p->ButtonMin.Rect.Width(), kMinW);
  EXPECT_EQ(p->ButtonMax.Rect.Width(), 0) << "no maximize without biMaximize";
  EXPECT_EQ(p->ButtonMin.Rect.Right, p->ButtonClose.Rect.Left);

  TTestForm dialog = Make(bsDialog, kAllIcons);
  ASSERT_TRUE(dialog.Provider->PaintAll());
  EXPECT_EQ(dialog.Provider->ButtonClose.Rect.Width(), kSmallW) << "one small close button";
  EXPECT_EQ(dialog.Provider->ButtonMin.Rect.Width(), 0);
  EXPECT_EQ(dialog.Provider->ButtonMax.Rect.Width(), 0);
}

TEST_F(SkinProviderTest, WithoutButtonImagesTheButtonsAreOfTheDefaultSize) {
  Use("NoIcons");
  TTestForm t = Make(bsSizeable, kAllIcons);
  ASSERT_TRUE(t.Provider->PaintAll());
  for (const TsCaptionButton* b : {&t.Provider->ButtonClose, &t.Provider->ButtonMax, &t.Provider->ButtonMin}) {
    EXPECT_EQ(b->Rect.Width(), 21);
    EXPECT_EQ(b->Rect.Height(), 21);
  }
}

TEST_F(SkinProviderTest, HitCodesOfTheCaptionAndTheFrame) {
  TTestForm t = Make(bsSizeable, kAllIcons);
  TsSkinProvider* p = t.Provider;
  ASSERT_TRUE(p->PaintAll());
  const RECT w = t.Window();
  const int ww = w.right - w.left, wh = w.bottom - w.top;
  const struct {
    const char* Where;
    TPoint P;
    LRESULT Code;
  } cases[] = {
      {"close", Centre(p->ButtonClose.Rect), HTCLOSE},
      {"minimize", Centre(p->ButtonMin.Rect), HTMINBUTTON},
      {"maximize", Centre(p->ButtonMax.Rect), HTMAXBUTTON},
      {"icon", Centre(p->IconRect), HTSYSMENU},
      {"caption", TPoint{ww / 2, 12}, HTCAPTION},
      {"left", TPoint{1, wh / 2}, HTLEFT},
      {"right", TPoint{ww - 2, wh / 2}, HTRIGHT},
      {"top", TPoint{ww / 2, 1}, HTTOP},
      {"top left", TPoint{1, 1}, HTTOPLEFT},
      {"top right", TPoint{ww - 2, 1}, HTTOPRIGHT},
      {"bottom", TPoint{ww / 2, wh - 2}, HTBOTTOM},
      {"bottom left", TPoint{1, wh - 2}, HTBOTTOMLEFT},
      {"bottom right", TPoint{ww - 2, wh - 2}, HTBOTTOMRIGHT},
      {"client", TPoint{ww / 2, wh / 2}, HTCLIENT},
  };
  for (const auto& c : cases) EXPECT_EQ(HitAt(t, c.P.X, c.P.Y), c.Code) << c.Where;

  EnableMenuItem(GetSystemMenu(t.Wnd(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  EXPECT_EQ(HitAt(t, Centre(p->ButtonClose.Rect).X, Centre(p->ButtonClose.Rect).Y), HTCAPTION) << "a disabled close";
}

TEST_F(SkinProviderTest, TheGripAnswersOnlyStrictlyBelowAndRightOfItsPoint) {
  TTestForm t = Make(bsSizeable, kAllIcons);
  t.Provider->GripMode = gmRightBottom;
  ASSERT_TRUE(t.Provider->PaintAll());
  const TPoint g = t.Provider->RBGripPoint(Manager->ConstData.GripImage);
  ASSERT_GT(g.X, 0);
  EXPECT_EQ(HitAt(t, g.X + 1, g.Y + 1), HTBOTTOMRIGHT);
  EXPECT_EQ(HitAt(t, g.X, g.Y + 1), HTCLIENT);
  EXPECT_EQ(HitAt(t, g.X + 1, g.Y), HTCLIENT);
}

TEST_F(SkinProviderTest, AMaximizedSizeableFormCoversTheWorkAreaWithItsFrameOutside) {
  TTestForm t = Make(bsSizeable, kAllIcons);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  MINMAXINFO info{};
  SendMessageW(t.Wnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  const int b = GetSystemMetrics(SM_CXFRAME);
  EXPECT_EQ(info.ptMaxPosition.x, -b);
  EXPECT_EQ(info.ptMaxPosition.y, -b);
  EXPECT_EQ(info.ptMaxSize.x, work.right - work.left + 2 * b);
  EXPECT_EQ(info.ptMaxSize.y, work.bottom - work.top + 2 * b);
}

TEST_F(SkinProviderTest, TheRegionLeavesOutExactlyTheKeyColourRuns) {
  TTestForm t = Make(bsSingle, kAllIcons);
  testsupport::PumpMessages(50);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(t.Wnd(), rgn), ERROR);
  const RECT w = t.Window();
  const int ww = w.right - w.left, wh = w.bottom - w.top;
  for (const TRun& r : kCornerRuns) {
    SCOPED_TRACE(r.Row);
    const struct {
      int X, Y, Inside;  // Inside: one pixel further in
    } corners[] = {{r.Last, r.Row, r.Last + 1},
                   {ww - 1 - r.Last, r.Row, ww - 2 - r.Last},
                   {r.Last, wh - 1 - r.Row, r.Last + 1},
                   {ww - 1 - r.Last, wh - 1 - r.Row, ww - 2 - r.Last}};
    for (const auto& c : corners) {
      EXPECT_FALSE(PtInRegion(rgn, c.X, c.Y)) << c.X << "," << c.Y;
      EXPECT_TRUE(PtInRegion(rgn, c.Inside, c.Y)) << c.Inside << "," << c.Y;
    }
  }
  DeleteObject(rgn);

  Use("NoKeys");
  testsupport::PumpMessages(50);
  RedrawWindow(t.Wnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(t.Wnd(), rgn), ERROR);
  RECT box{};
  GetRgnBox(rgn, &box);
  EXPECT_TRUE(PtInRegion(rgn, 0, 0));
  EXPECT_TRUE(PtInRegion(rgn, ww - 1, wh - 1));
  EXPECT_EQ(box.right - box.left, ww);
  DeleteObject(rgn);
}

TEST_F(SkinProviderTest, RemovingTheSkinGivesTheFormItsPlainLookBack) {
  TTestForm t = Make(bsSingle, kAllIcons);
  testsupport::PumpMessages(50);
  ASSERT_FALSE(GetWindowLongPtrW(t.Wnd(), GWL_STYLE) & WS_SYSMENU) << "skinned: the system draws no buttons";
  SendMessageW(t.Wnd(), SM_ALPHACMD, AlphaCmdParam(ACMD_SKIN_UNLOADED), reinterpret_cast<LPARAM>(Manager));
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(t.Wnd(), rgn), ERROR);
  DeleteObject(rgn);
  EXPECT_EQ(t.Form->Color(), clBtnFace);
  EXPECT_TRUE(GetWindowLongPtrW(t.Wnd(), GWL_STYLE) & WS_SYSMENU);
}

TEST_F(SkinProviderTest, DestroyingTheProviderLeavesANativeForm) {
  // Tag bit 0x100: the window-creation hook gives the form no provider of its own.
  TTestForm t = NewSkinnedForm(bsSizeable, kAllIcons, false, 60, 60, false, 0x100);
  Forms.push_back(t.Form);
  const TWndMethod own = t.Form->WindowProc;
  t.Provider = Create<TsSkinProvider>(t.Form);
  testsupport::PumpMessages(50);
  ASSERT_FALSE(GetWindowLongPtrW(t.Wnd(), GWL_STYLE) & WS_SYSMENU);
  t.Provider->Free();
  EXPECT_TRUE(t.Form->WindowProc == own);
  EXPECT_TRUE(GetWindowLongPtrW(t.Wnd(), GWL_STYLE) & WS_SYSMENU);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(t.Wnd(), rgn), ERROR);
  DeleteObject(rgn);
  EXPECT_EQ(SendMessageW(t.Wnd(), SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_PROVIDER), 0), 0);
}

// The caption band on screen: the skin's title, and no native caption colour
// after the system had reasons to paint its own.
TEST_F(SkinProviderTest, TheCaptionOnScreenIsTheSkinsTitle) {
  TTestForm t = Make(bsSingle, kAllIcons);
  SetForegroundWindow(t.Wnd());
  testsupport::PumpMessages(100);
  const RECT w = t.Window();
  const int dlg = GetSystemMetrics(SM_CXDLGFRAME);
  EXPECT_EQ(ScreenPixel(w.left + (w.right - w.left) / 2, w.top + dlg + 3), kTitleColor);

  SetWindowTextW(t.Wnd(), L"Another caption");
  TTestForm other = Make(bsSingle, kAllIcons);
  SetForegroundWindow(other.Wnd());
  testsupport::PumpMessages(100);
  SetWindowPos(other.Wnd(), nullptr, 700, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SetForegroundWindow(t.Wnd());
  testsupport::PumpMessages(100);
  std::vector<std::uint32_t> native;
  for (const int i : {COLOR_ACTIVECAPTION, COLOR_INACTIVECAPTION, COLOR_GRADIENTACTIVECAPTION,
                      COLOR_GRADIENTINACTIVECAPTION}) {
    const COLORREF c = GetSysColor(i);
    native.push_back(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
  }
  HDC dc = GetDC(nullptr);
  const std::vector<uint32_t> band = testsupport::ReadPixels(dc, w.left, w.top, w.right - w.left, dlg + 19);
  ReleaseDC(nullptr, dc);
  int nativePixels = 0;
  for (const uint32_t px : band)
    if (std::find(native.begin(), native.end(), px & 0xFFFFFF) != native.end()) ++nativePixels;
  EXPECT_EQ(nativePixels, 0);
  testsupport::Screenshot(t.Wnd(), "skin_forms_caption");
}

TEST_F(SkinProviderTest, ScreenSnapPutsANearEdgeOnTheWorkArea) {
  TTestForm t = Make(bsSizeable, kAllIcons);
  t.Provider->ScreenSnap = true;
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = t.Form->Width();
  for (const int gap : {9, 10}) {
    SCOPED_TRACE(gap);
    SetWindowPos(t.Wnd(), nullptr, work.right - width - gap, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(t.Window().right, gap < 10 ? work.right : work.right - gap);
  }
}

// The units of the child-control adapter and of the scroll bars reach the
// provider through its seams: the adapter is made when the skinned form is
// shown, the scroll bars attached, the skin's removal tells the adapter and
// frees the scroll object, and the provider's end frees what is left.
namespace seams {
std::vector<std::string> calls;
int token;
void Create(TsSkinProvider* P) {
  calls.push_back("create");
  P->Adapter = reinterpret_cast<TacCtrlAdapter*>(&token);
}
void Remove(TsSkinProvider* P) {
  calls.push_back("remove");
  P->Adapter = nullptr;
}
void Send(TsSkinProvider*, const TMessage&) { calls.push_back("send"); }
void Free(TsSkinProvider* P) {
  calls.push_back("free");
  P->Adapter = nullptr;
}
void Scrolls(TsSkinProvider* P, bool) {
  calls.push_back("scrolls");
  P->ScrollWnd = reinterpret_cast<TacScrollWnd*>(&token);
}
void FreeScrolls(TsSkinProvider* P) {
  calls.push_back("freescrolls");
  P->ScrollWnd = nullptr;
}
int Count(const char* Name) { return static_cast<int>(std::count(calls.begin(), calls.end(), Name)); }
}  // namespace seams

TEST_F(SkinProviderTest, TheAdapterAndScrollUnitsAreCalledThroughTheSeams) {
  struct TRestore {
    TacProviderSeams Saved = acProviderSeams;
    ~TRestore() { acProviderSeams = Saved; }
  } restore;
  acProviderSeams = TacProviderSeams{seams::Create, seams::Remove, seams::Send,
                                     seams::Free, seams::Scrolls, seams::FreeScrolls};
  seams::calls.clear();
  TTestForm t = Make(bsSizeable, kAllIcons);
  EXPECT_NE(t.Provider->Adapter, nullptr);
  EXPECT_EQ(seams::Count("create"), 1) << "once, while there is none";
  EXPECT_NE(t.Provider->ScrollWnd, nullptr);
  SendAMessage(t.Wnd(), ACMD_SKIN_UNLOADED, reinterpret_cast<LPARAM>(Manager));
  EXPECT_EQ(seams::Count("remove"), 1);
  EXPECT_EQ(seams::Count("freescrolls"), 1);
  EXPECT_EQ(t.Provider->Adapter, nullptr);
  SendAMessage(t.Wnd(), ACMD_SKIN_LOADED, reinterpret_cast<LPARAM>(Manager));
  RedrawWindow(t.Wnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_NE(t.Provider->Adapter, nullptr) << "the skinned frame makes a new adapter";
  SendMessageW(t.Wnd(), WM_ACTIVATE, WA_ACTIVE, 0);
  ASSERT_NE(t.Provider->ScrollWnd, nullptr);
  seams::calls.clear();
  Forms.clear();
  t.Form->Free();
  EXPECT_EQ(seams::calls, (std::vector<std::string>{"free", "freescrolls"}));

  // Empty seams: nothing is called and nothing breaks.
  acProviderSeams = TacProviderSeams{};
  TTestForm plain = Make(bsSingle, kAllIcons);
  EXPECT_EQ(plain.Provider->Adapter, nullptr);
  EXPECT_EQ(plain.Provider->ScrollWnd, nullptr);
}

// Children must repaint after a move when the background under them is a
// gradient or the border mask is drawn over the client area; over a plain
// colour they need not.
TEST_F(SkinProviderTest, ChildrenAreToldWhenTheFormsBackgroundVaries) {
  TTestForm t = Make(bsSingle, kAllIcons);
  TsScrollWndData* d = t.Provider->SkinData();
  TsGenState& normal = Manager->Sections[static_cast<size_t>(d->SkinIndex)].Props[0];
  TsMaskData& border = Manager->Masks[static_cast<size_t>(d->BorderIndex)];
  const TsGenState keptState = normal;
  const SmallInt keptMode = border.FillMode;
  const struct {
    Integer Gradient, Image;
    SmallInt Mode;
    LRESULT Varies;
  } cases[] = {{0, 0, 0, 0}, {30, 0, 0, 1}, {0, 20, 0, 1}, {0, 0, 4, 1}, {0, 0, 3, 0}};
  for (const auto& c : cases) {
    normal.GradientPercent = c.Gradient;
    normal.ImagePercent = c.Image;
    border.FillMode = c.Mode;
    EXPECT_EQ(SendAMessage(t.Wnd(), ACMD_QUERY_CHILD_BG_VARIES), c.Varies) << c.Gradient << " " << c.Image << " " << c.Mode;
  }
  normal = keptState;
  border.FillMode = keptMode;
}

// The title buttons follow the skinned system menu: a disabled close item
// greys the close button (its hit code becomes the caption's), and the
// caption icon takes the title icon's size when it has one.
TEST_F(SkinProviderTest, TheSystemMenuAndTheTitleIconDecideTheCaptionsParts) {
  TTestForm t = Make(bsSingle, kAllIcons);
  TsSkinProvider* p = t.Provider;
  ASSERT_NE(p->SystemMenu, nullptr);
  ASSERT_TRUE(p->PaintAll());
  EXPECT_EQ(p->TitleIconWidth(), 16);
  p->TitleIcon()->Width = 12;
  p->TitleIcon()->Height = 10;
  EXPECT_EQ(p->TitleIconWidth(), 12);
  EXPECT_EQ(p->TitleIconHeight(), 10);
  p->TitleIcon()->SetVisible(false);
  EXPECT_EQ(p->TitleIconWidth(), 0);
  EXPECT_FALSE(p->IconVisible());

  EXPECT_TRUE(p->SysEnabledClose());
  EnableMenuItem(GetSystemMenu(t.Wnd(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  EXPECT_FALSE(p->SysEnabledClose());
  EXPECT_EQ(HitAt(t, Centre(p->ButtonClose.Rect).X, Centre(p->ButtonClose.Rect).Y), HTCAPTION);
  EnableMenuItem(GetSystemMenu(t.Wnd(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
}

// A form that closes with a hide animation keeps its whole picture for the
// fade: what its own painting drew into the client is in the cache.
struct TRedPainter : TObject {
  TForm* Form = nullptr;
  void Paint(TObject*) {
    Form->Canvas()->Brush()->SetColor(clRed);
    Form->Canvas()->FillRect(TRect(10, 10, 60, 40));
  }
  void KeepOpen(TObject*, TCloseAction& Action) { Action = caNone; }
};

TEST_F(SkinProviderTest, ClosingTakesTheFormsWholePictureForTheHide) {
  TTestForm t = Make(bsSingle, kAllIcons);
  TRedPainter painter;
  painter.Form = t.Form;
  t.Form->OnPaint = TNotifyEvent(&painter, &TRedPainter::Paint);
  t.Form->OnClose = TCloseEvent(&painter, &TRedPainter::KeepOpen);
  TacFormAnimation* hide = Manager->AnimEffects()->FormHide();
  const bool active = hide->Active;
  hide->Active = true;
  TsSkinProvider* p = t.Provider;
  ASSERT_TRUE(p->PaintAll());
  const TPoint inside{p->OffsetX() + 30, p->OffsetY() + 20};
  auto rgb = [&] { return PixelsOf(p->SkinData()->CacheBmp.get()).At(inside.X, inside.Y) & 0xFFFFFF; };
  EXPECT_NE(rgb(), 0xFF0000u) << "the frame's cache holds no client painting";
  SendMessageW(t.Wnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(rgb(), 0xFF0000u) << "the snapshot shows what the form painted";
  EXPECT_FALSE(p->SkinData()->BGChanged) << "the snapshot counts as fresh";
  EXPECT_EQ(p->FormState & acfs::HideSnapshot, 0u) << "the flag is up only while the picture is taken";
  hide->Active = false;
  p->SkinData()->BGChanged = true;
  ASSERT_TRUE(p->PaintAll());
  ASSERT_NE(rgb(), 0xFF0000u);
  SendMessageW(t.Wnd(), WM_CLOSE, 0, 0);
  EXPECT_NE(rgb(), 0xFF0000u) << "without the animation nothing is taken";
  hide->Active = active;
}

// ------------------------------------------------------------ the mouse

class SkinProviderMouseTest : public SkinProviderTest {
 protected:
  static TPoint OnScreen(const TTestForm& t, const TPoint& P) {
    const RECT w = t.Window();
    return TPoint{w.left + P.X, w.top + P.Y};
  }
};

// Each step waits for the state it leads to, not for a time: under load the
// input reaches the form late. The fade window that a hot button shows lies
// over the button and must let the press through to the form.
TEST_F(SkinProviderMouseTest, MinimizeAndCloseActOnRelease) {
  TTestForm t = Make(bsSizeable, kAllIcons);
  TsSkinProvider* p = t.Provider;
  ASSERT_TRUE(p->PaintAll());
  SetForegroundWindow(t.Wnd());
  testsupport::PumpMessages(50);
  constexpr int kPatience = 5000;
  auto hovered = [&](Integer Code) { return PumpUntil([&] { return p->HotElement == Code; }, kPatience); };
  auto released = [] { return PumpUntil([] { return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0; }, kPatience); };

  const TPoint close = OnScreen(t, Centre(p->ButtonClose.Rect));
  MouseSteps({{0, close.X, close.Y}});
  ASSERT_TRUE(hovered(HTCLOSE));
  EXPECT_EQ(WindowFromPoint(POINT{close.X, close.Y}), t.Wnd()) << "the fade window must not catch the press";
  MouseSteps({{MOUSEEVENTF_LEFTDOWN}});
  ASSERT_TRUE(PumpUntil([] { return bTitleBtnDown; }, kPatience)) << "the press reached the form";
  MouseSteps({{0, close.X + 300, close.Y + 300}, {MOUSEEVENTF_LEFTUP}});
  ASSERT_TRUE(released());
  testsupport::PumpMessages(100);
  EXPECT_TRUE(IsWindowVisible(t.Wnd())) << "released outside: the form stays";

  const TPoint min = OnScreen(t, Centre(p->ButtonMin.Rect));
  MouseSteps({{0, min.X, min.Y}});
  ASSERT_TRUE(hovered(HTMINBUTTON));
  EXPECT_EQ(WindowFromPoint(POINT{min.X, min.Y}), t.Wnd());
  MouseSteps({{MOUSEEVENTF_LEFTDOWN}, {MOUSEEVENTF_LEFTUP}});
  EXPECT_TRUE(PumpUntil([&] { return IsIconic(t.Wnd()) != FALSE; }, kPatience)) << "minimized";
  ShowWindow(t.Wnd(), SW_RESTORE);
}

TEST_F(SkinProviderMouseTest, ADoubleClickOnTheCaptionMaximizesASizeableFormOnly) {
  for (const TFormBorderStyle style : {bsSizeable, bsDialog}) {
    SCOPED_TRACE(static_cast<int>(style));
    TTestForm t = Make(style, kAllIcons);
    SetForegroundWindow(t.Wnd());
    testsupport::PumpMessages(50);
    const TPoint c = OnScreen(t, TPoint{(t.Window().right - t.Window().left) / 2, 12});
    // The move is taken in first: the two clicks then come together.
    MouseSteps({{0, c.X, c.Y}});
    testsupport::PumpMessages(50);
    MouseSteps({{MOUSEEVENTF_LEFTDOWN}, {MOUSEEVENTF_LEFTUP}, {MOUSEEVENTF_LEFTDOWN}, {MOUSEEVENTF_LEFTUP}});
    if (style == bsSizeable) {
      EXPECT_TRUE(PumpUntil([&] { return IsZoomed(t.Wnd()) != FALSE; }));
    } else {
      testsupport::PumpMessages(200);
      EXPECT_FALSE(IsZoomed(t.Wnd()));
    }
    ShowWindow(t.Wnd(), SW_RESTORE);
  }
}

// The pop-up menu is found as it is created and closed again from inside
// its own loop.
struct TMenuWatch {
  static inline int Created = 0;
  static inline POINT At{};
  HHOOK Hook = SetWindowsHookExW(WH_CBT, Proc, nullptr, GetCurrentThreadId());
  ~TMenuWatch() { UnhookWindowsHookEx(Hook); }
  static void CALLBACK CloseMenu(HWND, UINT, UINT_PTR Id, DWORD) {
    KillTimer(nullptr, Id);
    EndMenu();
  }
  static LRESULT CALLBACK Proc(int code, WPARAM w, LPARAM l) {
    if (code == HCBT_CREATEWND) {
      wchar_t cls[16] = {};
      GetClassNameW(reinterpret_cast<HWND>(w), cls, 16);
      if (std::wstring(cls) == L"#32768") {
        ++Created;
        GetCursorPos(&At);
        SetTimer(nullptr, 0, 50, CloseMenu);
      }
    }
    return CallNextHookEx(nullptr, code, w, l);
  }
};

TEST_F(SkinProviderMouseTest, ARightClickOnTheCaptionOpensTheSystemMenuAtTheCursor) {
  TTestForm t = Make(bsSizeable, kAllIcons);
  SetForegroundWindow(t.Wnd());
  testsupport::PumpMessages(50);
  TMenuWatch watch;
  TMenuWatch::Created = 0;
  const TPoint c = OnScreen(t, TPoint{(t.Window().right - t.Window().left) / 2, 12});
  MouseAt(c.X, c.Y);
  testsupport::PumpMessages(30);
  MouseButton(MOUSEEVENTF_RIGHTDOWN);
  testsupport::PumpMessages(100);
  EXPECT_EQ(TMenuWatch::Created, 0) << "a right button-down alone";
  MouseButton(MOUSEEVENTF_RIGHTUP);
  EXPECT_TRUE(PumpUntil([] { return TMenuWatch::Created > 0; }));
  EXPECT_EQ(TMenuWatch::At.x, c.X);
  EXPECT_EQ(TMenuWatch::At.y, c.Y);
}

// ------------------------------------------------------------ without a skin

// Logs what reaches the form's own procedure.
class TLoggingProc : public TObject {
 public:
  TLoggingProc(TWndMethod AOwn) : Own(AOwn) {}
  TWndMethod Own;
  std::vector<UINT> Log;
  void Proc(TMessage& M) {
    Log.push_back(M.Msg);
    Own(M);
  }
};

TEST_F(SkinProviderTest, WithoutASkinEveryMessageReachesTheFormsOwnProcedure) {
  Manager->SetSkinName("");
  const UINT script[] = {WM_NCPAINT, WM_NCHITTEST, WM_NCACTIVATE, WM_SETTEXT, WM_ERASEBKGND, WM_GETMINMAXINFO,
                         WM_NCMOUSEMOVE, WM_SIZE, WM_SETCURSOR};
  std::vector<UINT> logs[2];
  for (const bool withProvider : {false, true}) {
    TTestForm t = NewSkinnedForm(bsSizeable, kAllIcons, true, 60, 60, false);
    Forms.push_back(t.Form);
    TLoggingProc logger(t.Form->WindowProc);
    t.Form->WindowProc = TWndMethod(&logger, &TLoggingProc::Proc);
    if (withProvider) Create<TsSkinProvider>(t.Form);
    logger.Log.clear();
    MINMAXINFO info{};
    for (const UINT m : script)
      t.Form->Perform(m, m == WM_NCACTIVATE || m == WM_NCPAINT ? 1 : 0,
                      m == WM_SETTEXT ? reinterpret_cast<LPARAM>(L"x")
                                      : m == WM_GETMINMAXINFO ? reinterpret_cast<LPARAM>(&info) : 0);
    logs[withProvider] = logger.Log;
    t.Form->WindowProc = logger.Own;
  }
  EXPECT_EQ(logs[1], logs[0]);
  for (const UINT m : script) EXPECT_NE(std::find(logs[1].begin(), logs[1].end(), m), logs[1].end()) << m;
}

TEST_F(SkinProviderTest, OnlyAWholeEditorRecordIsTaken) {
  TTestForm t = Make(bsSizeable, kAllIcons);
  acPreviewHandle = reinterpret_cast<NativeInt>(t.Wnd());
  auto record = std::make_unique<TacEditorSkinRecord>();
  std::memset(record.get(), 0, sizeof *record);
  record->Magic = static_cast<std::int32_t>(ASE_MSG);
  std::strcpy(record->SkinName, "Edited");
  const struct {
    const char* Case;
    WPARAM Tag;
    std::int32_t Magic;
    DWORD Size;
    bool Taken;
  } cases[] = {
      {"another sender place", 6, static_cast<std::int32_t>(ASE_MSG), sizeof *record, false},
      {"a wrong magic", 7, 0x1234, sizeof *record, false},
      {"a short block", 7, static_cast<std::int32_t>(ASE_MSG), sizeof *record - 1, false},
      {"a whole record", 7, static_cast<std::int32_t>(ASE_MSG), sizeof *record, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    Manager->EditorRecord.reset();
    record->Magic = c.Magic;
    COPYDATASTRUCT data{0, c.Size, record.get()};
    SendMessageW(t.Wnd(), WM_COPYDATA, c.Tag, reinterpret_cast<LPARAM>(&data));
    MSG msg{};
    int posted = 0;
    while (PeekMessageW(&msg, Application->Handle(), SM_ALPHACMD, SM_ALPHACMD, PM_REMOVE))
      if (AlphaCmdOf(msg.wParam) == ACMD_EDITOR_DATA) ++posted;
    EXPECT_EQ(posted, c.Taken ? 1 : 0);
    EXPECT_EQ(Manager->EditorRecord != nullptr && EditorText(Manager->EditorRecord->SkinName) == "Edited", c.Taken);
  }
  acPreviewHandle = 0;
}

}  // namespace
