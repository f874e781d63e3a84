// Subclass objects on plain windows with the fixture skin: the base's
// attaching, handing on and letting go (also under another party's
// procedure), and the skinned scroll bars: thumb sizes, hit codes, the
// pixels after every frame repaint, auto-repeat, thumb drags and positions
// beyond 16 bits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "../skin_forms/SkinFormsSupport.h"
#include "classlib/core/Cp1251.h"
#include "classlib/ui/WndThunks.h"
#include "skin/core/Smessages.h"
#include "skin/subclass/acSBUtils.h"

using namespace skinforms;

namespace {

struct TScrollCall {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  DWORD Tick;
};

// What the test window's own procedure saw.
struct TLog {
  std::vector<TScrollCall> Scrolls;
  int SetText = 0, Destroy = 0, AlphaCmds = 0;
  bool AnswerScrollBefore = false;
  void Clear() { *this = TLog{}; }
} gLog;

LRESULT CALLBACK TestProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
      gLog.Scrolls.push_back({Msg, WParam, LParam, GetTickCount()});
      return 0;
    case WM_SETTEXT:
      ++gLog.SetText;
      break;
    case WM_DESTROY:
      ++gLog.Destroy;
      return 0;
    case SM_ALPHACMD:
      ++gLog.AlphaCmds;
      return AlphaCmdOf(WParam) == ACMD_SCROLL_BEFORE && gLog.AnswerScrollBefore ? 1 : 0;
    default:
      break;
  }
  return DefWindowProcW(Wnd, Msg, WParam, LParam);
}

// Another party's procedure over ours, handing everything on.
WNDPROC gForeignPrev = nullptr;
int gForeignCalls = 0;
LRESULT CALLBACK ForeignProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  ++gForeignCalls;
  return CallWindowProcW(gForeignPrev, Wnd, Msg, WParam, LParam);
}

const wchar_t kClass[] = L"SbTestWindow";

class ScrollWndTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &TestProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClass;
    EXPECT_NE(RegisterClassW(&wc), 0) << GetLastError();
    Skins = new TFixtureSkins;
    Manager = Create<TsSkinManager>(nullptr);
    Manager->SetSkinDirectory(skintest::Ansi(Skins->Path()));
    Manager->SetSkinName("Fixture");
  }
  static void TearDownTestSuite() {
    if (Manager) Manager->Free();
    Manager = nullptr;
    delete Skins;
  }
  void SetUp() override {
    ASSERT_TRUE(Manager->CommonSkinData.Active);
    gLog.Clear();
  }
  void TearDown() override {
    if (Obj) {
      TacMainWnd* o = Obj;
      UninitializeACWnd(Wnd, true, false, o);
      Obj = nullptr;
    }
    if (Wnd) DestroyWindow(Wnd);
    Wnd = nullptr;
    testsupport::PumpMessages(20);
  }

  // A window W x H at (Left, Top) with a vertical bar of the range and page.
  HWND MakeWindow(int W, int H, int Max = 100, UINT Page = 10, int Left = 200, int Top = 150) {
    Wnd = CreateWindowExW(WS_EX_TOPMOST, kClass, L"", WS_POPUP | WS_VISIBLE | WS_VSCROLL, Left, Top, W, H, nullptr,
                          nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(Wnd, nullptr) << GetLastError();
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, Max, Page, 0, 0};
    SetScrollInfo(Wnd, SB_VERT, &si, TRUE);
    return Wnd;
  }
  // Skinned bars of that arrow length and thickness on the window.
  TacScrollWnd* AttachBars(int Arrow, int Thickness = 17) {
    TacSkinParams params;
    params.SkinSection = "EDIT";
    auto* obj = acCreateWnd<TacScrollWnd>(Wnd, nullptr, Manager, params, false);
    auto* data = static_cast<TsScrollWndData*>(obj->SkinData);
    data->VertScrollData()->SetButtonsSize(Arrow);
    data->VertScrollData()->SetScrollWidth(Thickness);
    RefreshFrame(Wnd, true);
    Obj = obj;
    testsupport::PumpMessages(30);
    return obj;
  }
  TacScrollWnd* Bars() const { return static_cast<TacScrollWnd*>(Obj); }
  TRect VBar() const {
    TRect r;
    ac_GetVScrollRect(Bars(), Wnd, r);
    return r;
  }
  std::vector<TScrollCall> ScrollsOfCode(int Code) const {
    std::vector<TScrollCall> out;
    for (const TScrollCall& c : gLog.Scrolls)
      if (LOWORD(c.WParam) == Code) out.push_back(c);
    return out;
  }

  static inline TFixtureSkins* Skins = nullptr;
  static inline TsSkinManager* Manager = nullptr;
  HWND Wnd = nullptr;
  TacMainWnd* Obj = nullptr;
};

// ------------------------------------------------------------ the base

TEST_F(ScrollWndTest, ThePlainObjectHandsOnTextAndDestroyAndLetsGo) {
  MakeWindow(100, 60);
  TacSkinParams params;
  params.SkinSection = "EDIT";
  Obj = acCreateWnd<TacMainWnd>(Wnd, nullptr, Manager, params);
  EXPECT_EQ(GetSubclassObject(Wnd), Obj);
  EXPECT_EQ(SendMessageW(Wnd, SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_HOOKED), 0), 1);

  SetWindowTextW(Wnd, L"Привет");
  EXPECT_EQ(gLog.SetText, 1) << "the window's own procedure sees the text once";
  EXPECT_EQ(Obj->WindowText, "Привет"_cp);

  EXPECT_EQ(SendMessageW(Wnd, SM_ALPHACMD, AlphaCmdParam(ACMD_ASSIGN_SECTION), 0), 0);
  EXPECT_EQ(Obj->SkinData->SkinSection(), "EDIT");
  // A repaint command of another manager reaches the window untouched.
  const int before = gLog.AlphaCmds;
  SendMessageW(Wnd, SM_ALPHACMD, AlphaCmdParam(ACMD_SKIN_REPAINT), 12345);
  EXPECT_EQ(gLog.AlphaCmds, before + 1);

  EXPECT_EQ(SendMessageW(Wnd, WM_DESTROY, 0, 0), 1);
  EXPECT_EQ(gLog.Destroy, 1);
  EXPECT_TRUE(Obj->Detached);
  EXPECT_EQ(GetSubclassObject(Wnd), nullptr);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Wnd, GWLP_WNDPROC)), &TestProc);
}

TEST_F(ScrollWndTest, AProcedureOverOursSurvivesOurRemovalAndTheWindowKeepsWorking) {
  for (bool scrollBars : {false, true}) {
    SCOPED_TRACE(scrollBars);
    gLog.Clear();
    const long stale = dk::StaleThunkCalls();
    MakeWindow(100, 80);
    TacMainWnd* obj = nullptr;
    if (scrollBars) {
      obj = AttachBars(16);
      Obj = nullptr;
    } else {
      obj = acCreateWnd<TacMainWnd>(Wnd, nullptr, Manager, TacSkinParams{});
    }
    gForeignCalls = 0;
    gForeignPrev = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));

    TacMainWnd* keep = obj;
    UninitializeACWnd(Wnd, false, false, keep);
    EXPECT_FALSE(obj->Detached) << "still in the chain under the other procedure";
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Wnd, GWLP_WNDPROC)), &ForeignProc);
    UninitializeACWnd(Wnd, true, false, obj);
    EXPECT_EQ(obj, nullptr);

    // Our stub now hands the messages to the window's own procedure.
    SetWindowTextW(Wnd, L"x");
    SendMessageW(Wnd, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(gLog.SetText, 1);
    EXPECT_EQ(gLog.Scrolls.size(), 1u);
    EXPECT_GT(gForeignCalls, 0);
    // The other party leaves in its turn; the window still works, and dies cleanly.
    SetWindowLongPtrW(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gForeignPrev));
    SetWindowTextW(Wnd, L"y");
    EXPECT_EQ(gLog.SetText, 2);
    DestroyWindow(Wnd);
    Wnd = nullptr;
    EXPECT_EQ(gLog.Destroy, 1);
    EXPECT_EQ(dk::StaleThunkCalls(), stale) << "no stub was called after it was given back";
  }
}

// ------------------------------------------------------------ geometry

TEST_F(ScrollWndTest, TheThumbLengthFollowsPageRangeAndArrows) {
  const struct {
    UINT Page;
    int Arrow, Thumb;
  } cases[] = {
      {10, 16, 17},  // MulDiv(10, 168, 101)
      {0, 16, 16},   // Max(arrow, minimum)
      {5, 0, 19},    // MulDiv(5, 200, 101) = 10: no thumb under 19 without arrows
      {0, 0, 19},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "page " << c.Page << ", arrow " << c.Arrow);
    MakeWindow(120, 200, 100, c.Page);
    AttachBars(c.Arrow);
    TacScrollBar* bar = Bars()->VertBar;
    ASSERT_TRUE(bar->Shown);
    const TRect r = VBar();
    ASSERT_EQ(r.Height(), 200);
    ASSERT_EQ(r.Width(), 17);
    GetScrollInfo(Wnd, SB_VERT, &bar->ScrollInfo);
    int length = 0, start = 0;
    GetThumbGeometry(bar, r, length, start);
    EXPECT_EQ(length, c.Thumb);
    EXPECT_EQ(start, r.Top + c.Arrow) << "position 0: the thumb right after the first arrow";
    TearDown();
  }
}

TEST_F(ScrollWndTest, HitCodesAlongTheBarAndTheTwoHalvesOfAShortBar) {
  MakeWindow(120, 200);
  AttachBars(16);
  const TRect r = VBar();
  const int x = (r.Left + r.Right) / 2;
  const struct {
    int Y, Hit;
  } along[] = {{r.Top + 2, acHitArrow1},   {r.Bottom - 2, acHitArrow2}, {r.Top + 16 + 8, acHitThumb},
               {r.Top + 100, acHitTrack2}, {r.Top + 200, acHitNone}};
  for (const auto& a : along) EXPECT_EQ(ScrollHitTest(Bars()->VertBar, r, TPoint{x, a.Y}), a.Hit) << a.Y;
  EXPECT_EQ(SendMessageW(Wnd, WM_NCHITTEST, 0, MAKELPARAM(x, r.Top + 100)), HTVSCROLL);
  TearDown();

  MakeWindow(120, 20);
  AttachBars(16);
  const TRect s = VBar();
  ASSERT_EQ(s.Height(), 20);
  EXPECT_EQ(ScrollHitTest(Bars()->VertBar, s, TPoint{s.Left + 3, s.Top + 4}), acHitArrow1);
  EXPECT_EQ(ScrollHitTest(Bars()->VertBar, s, TPoint{s.Left + 3, s.Bottom - 4}), acHitArrow2);
}

// ------------------------------------------------------------ on screen

TEST_F(ScrollWndTest, AfterEveryFrameRepaintTheBarShowsTheSkin) {
  MakeWindow(120, 200);
  AttachBars(16);
  const TRect r = VBar();
  const int x = r.Left + 3;
  auto expectSkin = [&](const char* After) {
    SCOPED_TRACE(After);
    EXPECT_EQ(ScreenPixel(x, r.Top + 2), kArrowBtnColor);
    EXPECT_EQ(ScreenPixel(x, r.Top + 16 + 8), kThumbColor);
    EXPECT_EQ(ScreenPixel(x, r.Top + 120), kTrack2Color);
    EXPECT_EQ(ScreenPixel(x, r.Bottom - 2), kArrowBtnColor);
  };
  SendMessageW(Wnd, WM_NCPAINT, 1, 0);
  expectSkin("WM_NCPAINT sent");
  RedrawWindow(Wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  expectSkin("the frame invalidated");
  SetWindowPos(Wnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  testsupport::PumpMessages(30);
  expectSkin("the frame recalculated");
  // A new position moves the thumb down: track before it above.
  SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, 50, 0};
  SetScrollInfo(Wnd, SB_VERT, &si, TRUE);
  UpdateScrolls(Bars(), true);
  testsupport::PumpMessages(30);  // the window's surface reaches the screen
  EXPECT_EQ(ScreenPixel(x, r.Top + 30), kTrack1Color);
}

TEST_F(ScrollWndTest, AnEditScrollingItselfKeepsTheSkinnedBar) {
  Wnd = CreateWindowExW(WS_EX_TOPMOST, L"EDIT", L"", WS_POPUP | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE, 200, 150, 160,
                        200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  std::wstring text;
  for (int i = 0; i < 100; ++i) text += L"line " + std::to_wstring(i) + L"\r\n";
  SetWindowTextW(Wnd, text.c_str());
  AttachBars(16);
  for (int i = 0; i < 30; ++i) SendMessageW(Wnd, WM_VSCROLL, SB_LINEDOWN, 0);
  testsupport::PumpMessages(30);
  ASSERT_GT(GetScrollPos(Wnd, SB_VERT), 20);
  const TRect r = VBar();
  const int x = r.Left + 3;
  EXPECT_EQ(ScreenPixel(x, r.Top + 2), kArrowBtnColor);
  EXPECT_EQ(ScreenPixel(x, r.Top + 16 + 3), kTrack1Color) << "the thumb went down with the text";
  EXPECT_EQ(ScreenPixel(x, r.Bottom - 2), kArrowBtnColor);
}

// ------------------------------------------------------------ the mouse

TEST_F(ScrollWndTest, HoldingTheUpArrowRepeatsAfter300MsThenEvery55Ms) {
  MakeWindow(120, 200);
  AttachBars(16);
  const TRect r = VBar();
  const int x = (r.Left + r.Right) / 2, y = r.Top + 8;
  MouseAt(x, y);
  testsupport::PumpMessages(50);
  MouseButton(MOUSEEVENTF_LEFTDOWN);
  const DWORD pressed = GetTickCount();
  testsupport::PumpMessages(700);
  std::vector<TScrollCall> ups = ScrollsOfCode(SB_LINEUP);
  ASSERT_GE(ups.size(), 5u);
  EXPECT_LT(static_cast<int>(ups[0].Tick - pressed), 100) << "the first at once";
  const int second = static_cast<int>(ups[1].Tick - ups[0].Tick);
  EXPECT_GE(second, 260);
  EXPECT_LE(second, 420);
  const double every = double(ups.back().Tick - ups[1].Tick) / double(ups.size() - 2);
  EXPECT_GE(every, 40.0);
  EXPECT_LE(every, 90.0);

  // Off the arrow the press lasts but repeats nothing; back on it, it goes on.
  MouseAt(x, r.Top + 120);  // the track below the thumb
  testsupport::PumpMessages(100);
  const size_t off = ScrollsOfCode(SB_LINEUP).size();
  testsupport::PumpMessages(300);
  EXPECT_EQ(ScrollsOfCode(SB_LINEUP).size(), off);
  MouseAt(x, y);
  testsupport::PumpMessages(300);
  EXPECT_GT(ScrollsOfCode(SB_LINEUP).size(), off + 2);

  MouseButton(MOUSEEVENTF_LEFTUP);
  testsupport::PumpMessages(100);
  ASSERT_FALSE(gLog.Scrolls.empty());
  EXPECT_EQ(LOWORD(gLog.Scrolls.back().WParam), SB_ENDSCROLL);
  const size_t ended = gLog.Scrolls.size();
  testsupport::PumpMessages(200);
  EXPECT_EQ(gLog.Scrolls.size(), ended) << "nothing after the release";
  EXPECT_EQ(acScrollTrack.PressedPart, -1);
}

TEST_F(ScrollWndTest, DraggingTheThumbTracksFrom0To91ThenGivesThePositionAndEnds) {
  MakeWindow(120, 200);
  AttachBars(16);
  const TRect r = VBar();
  const int x = (r.Left + r.Right) / 2;
  int y = r.Top + 16 + 8;  // the thumb's middle
  MouseAt(x, y);
  testsupport::PumpMessages(30);
  MouseButton(MOUSEEVENTF_LEFTDOWN);
  testsupport::PumpMessages(30);
  ASSERT_TRUE(Bars()->ThumbTracking);
  auto stepTo = [&](int To) {
    const int d = To > y ? 1 : -1;
    while (y != To) {
      y += d;
      MouseAt(x, y);
      testsupport::PumpMessages(2);
    }
  };
  stepTo(r.Bottom + 10);
  stepTo(r.Top - 10);
  MouseButton(MOUSEEVENTF_LEFTUP);
  testsupport::PumpMessages(50);

  // Positions over the whole range, each sent once when it changed (the
  // input may skip a pixel: steps of two are allowed).
  std::vector<int> track;
  for (const TScrollCall& c : ScrollsOfCode(SB_THUMBTRACK)) track.push_back(HIWORD(c.WParam));
  ASSERT_FALSE(track.empty());
  EXPECT_EQ(*std::min_element(track.begin(), track.end()), 0);
  EXPECT_EQ(*std::max_element(track.begin(), track.end()), 91);
  EXPECT_EQ(track.back(), 0);
  for (size_t i = 1; i < track.size(); ++i) {
    EXPECT_NE(track[i], track[i - 1]) << i;
    EXPECT_LE(std::abs(track[i] - track[i - 1]), 2) << i;
  }
  ASSERT_GE(gLog.Scrolls.size(), 2u);
  const TScrollCall& position = gLog.Scrolls[gLog.Scrolls.size() - 2];
  EXPECT_EQ(LOWORD(position.WParam), SB_THUMBPOSITION);
  EXPECT_EQ(HIWORD(position.WParam), 0);
  EXPECT_EQ(LOWORD(gLog.Scrolls.back().WParam), SB_ENDSCROLL);
  EXPECT_FALSE(Bars()->ThumbTracking);
}

TEST_F(ScrollWndTest, PositionsBeyond16BitsArriveAs65535UnlessTheWindowAsksForTheWhole) {
  MakeWindow(120, 200, 100000, 0);
  for (bool whole : {false, true}) {
    gLog.Clear();
    gLog.AnswerScrollBefore = whole;
    SendScrollMessage(Wnd, WM_VSCROLL, SB_THUMBTRACK, 70000);
    ASSERT_EQ(gLog.Scrolls.size(), 1u);
    EXPECT_EQ(HIWORD(gLog.Scrolls[0].WParam), 65535);
    EXPECT_EQ(gLog.Scrolls[0].LParam, whole ? 70000 : 0);
  }
}

}  // namespace
