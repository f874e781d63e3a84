// Asking a parent what lies behind its child: answers taken as given, plain
// controls and windows that do not answer (their colour, or the system's
// button face), and windows that paint themselves into the asker's device
// context, read back pixel by pixel.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "classlib/ui/ExtCtrls.h"
#include "classlib/ui/Forms.h"
#include "classlib/ui/PaintScope.h"
#include "skin/core/Smessages.h"
#include "skin/core/sSkinManager.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

// after the class library, whose header takes care of the platform macros
#include "TestSupport.h"

namespace {

constexpr TColor kPanelColor = 0x123456;

// A panel that answers the skin commands as the test tells it.
class TAnsweringPanel : public TPanel {
  DK_CLASS(TAnsweringPanel, TPanel)
 public:
  using TPanel::TPanel;
  std::function<bool(Word Cmd, LPARAM LParam, LRESULT& Result)> Answer;
  std::vector<Word> Asked;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == SM_ALPHACMD) {
      Asked.push_back(Message.WParamHi());
      LRESULT result = 0;
      if (Answer && Answer(Message.WParamHi(), Message.LParam, result)) {
        Message.Result = result;
        return;
      }
    }
    inherited::WndProc(Message);
  }
};

// The picture a probe paints: a pixel of its own for every point, and the
// erase colour under it.
COLORREF ProbePixel(int x, int y) { return RGB(x * 7, y * 5, 77); }
constexpr COLORREF kEraseColor = RGB(1, 2, 3);
constexpr int kProbeSize = 40;

void PaintProbe(HDC dc) {
  for (int y = 0; y < kProbeSize; ++y)
    for (int x = 0; x < kProbeSize; ++x) SetPixelV(dc, x, y, ProbePixel(x, y));
}

// A window of a system-less class that paints into the context it is given.
LRESULT CALLBACK ProbeProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ERASEBKGND && wp) {
    HBRUSH brush = CreateSolidBrush(kEraseColor);
    RECT r{0, 0, kProbeSize, kProbeSize};
    FillRect(reinterpret_cast<HDC>(wp), &r, brush);
    DeleteObject(brush);
    return 1;
  }
  if (msg == WM_PAINT && wp) {
    PaintProbe(reinterpret_cast<HDC>(wp));
    return 0;
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

class TProbeWindow {
 public:
  TProbeWindow() {
    static const bool registered = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = ProbeProc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"BGInfoProbe";
      return RegisterClassW(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    FWnd = CreateWindowExW(0, L"BGInfoProbe", L"", WS_POPUP, 0, 0, kProbeSize, kProbeSize, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  }
  ~TProbeWindow() { DestroyWindow(FWnd); }
  HWND Handle() const { return FWnd; }

 private:
  HWND FWnd = nullptr;
};

// A control without a window that paints the probe's picture.
class TProbeShape : public TGraphicControl {
  DK_CLASS(TProbeShape, TGraphicControl)
 public:
  using TGraphicControl::TGraphicControl;

 protected:
  void Paint() override { PaintProbe(Canvas()->Handle()); }
};

constexpr COLORREF kUntouched = RGB(200, 201, 202);

// A 32-bit target of a known colour to be drawn into.
std::unique_ptr<TacBitmap> Target() {
  auto bmp = CreateBmp32(kProbeSize, kProbeSize);
  FillBitmapRect(bmp.get(), Rect(0, 0, kProbeSize, kProbeSize), static_cast<TColor>(kUntouched));
  return bmp;
}

COLORREF At(TacBitmap* bmp, int x, int y) {
  const TsColor c = GetAPixel(bmp, x, y);
  return RGB(c.I.R, c.I.G, c.I.B);
}

// Every pixel of the target: inside R (as given before the call) the
// painter's pixel Offset further, outside it untouched.
void ExpectDrawnWithin(TacBitmap* bmp, const TRect& r, TPoint offset, const char* what) {
  int wrong = 0;
  for (int y = 0; y < kProbeSize; ++y)
    for (int x = 0; x < kProbeSize; ++x) {
      const bool inside = x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
      const COLORREF want = inside ? ProbePixel(x + offset.X, y + offset.Y) : kUntouched;
      if (At(bmp, x, y) != want && ++wrong <= 3)
        ADD_FAILURE() << what << ": pixel (" << x << ", " << y << ") is " << std::hex << At(bmp, x, y) << ", expected "
                      << want;
    }
  EXPECT_EQ(wrong, 0) << what;
}

struct BGInfo : ::testing::Test {
  TForm* Form = nullptr;
  void SetUp() override {
    ASSERT_EQ(DefaultManager, nullptr) << "these cases run without a skin manager";
    Form = Create<TForm>(nullptr, 0);
    Form->SetBounds(0, 0, 200, 150);
  }
  void TearDown() override { Form->Free(); }
  TAnsweringPanel* Panel(bool windowed) {
    auto* p = Create<TAnsweringPanel>(Form);
    p->SetColor(kPanelColor);
    if (windowed) {
      p->SetParent(Form);
      p->SetBounds(10, 10, 50, 50);
      p->HandleNeeded();
    }
    return p;
  }
};

TEST_F(BGInfo, ControlsThatDoNotAnswerGiveTheirColour) {
  // With and without a window (by message and by Perform), a plain panel, one
  // answering the colour query with 0 (black counts as no answer) and one
  // with a colour of its own.
  struct Case {
    const char* What;
    bool Windowed;
    std::optional<TColor> ColorAnswer;
    TColor Expected;
  } cases[] = {
      {"plain panel", false, std::nullopt, kPanelColor},
      {"plain panel with a window", true, std::nullopt, kPanelColor},
      {"answers 0", false, TColor(0), kPanelColor},
      {"answers 0 with a window", true, TColor(0), kPanelColor},
      {"answers a colour", false, TColor(0x00ABCDEF), 0x00ABCDEF},
  };
  for (const Case& c : cases) {
    TAnsweringPanel* p = Panel(c.Windowed);
    p->Answer = [&](Word cmd, LPARAM, LRESULT& result) {
      if (cmd != ACMD_QUERY_COLOR || !c.ColorAnswer) return false;
      result = *c.ColorAnswer;
      return true;
    };
    TacBitmap* stale = reinterpret_cast<TacBitmap*>(16);
    TacBGInfo info;
    info.Bmp = stale;
    info.Borders = Rect(1, 2, 3, 4);
    EXPECT_TRUE(GetBGInfo(&info, p, false)) << c.What;
    EXPECT_EQ(info.BgType, btFill) << c.What;
    EXPECT_EQ(info.Color, c.Expected) << c.What;
    EXPECT_EQ(info.Bmp, nullptr) << c.What;
    EXPECT_EQ(info.Borders, TRect{}) << c.What;
    EXPECT_FALSE(info.PleaseDraw) << c.What;
    EXPECT_EQ(p->Asked, (std::vector<Word>{ACMD_QUERY_BG_INFO, ACMD_QUERY_COLOR})) << c.What;
    p->Free();
  }
}

TEST_F(BGInfo, AnAnswerIsTakenAsGiven) {
  auto cache = CreateBmp32(4, 4);
  TAnsweringPanel* p = Panel(true);
  p->Answer = [&](Word cmd, LPARAM lp, LRESULT&) {
    if (cmd != ACMD_QUERY_BG_INFO) return false;
    auto* info = reinterpret_cast<TacBGInfo*>(lp);
    info->BgType = btCache;
    info->Bmp = cache.get();
    info->Offset = TPoint{7, 9};
    return true;
  };
  TacBGInfo info;
  EXPECT_TRUE(GetBGInfo(&info, p, false));
  EXPECT_EQ(info.BgType, btCache);
  EXPECT_EQ(info.Bmp, cache.get());
  EXPECT_EQ(p->Asked, std::vector<Word>{ACMD_QUERY_BG_INFO}) << "no colour query after an answer";

  TacBGInfo byHandle;
  EXPECT_TRUE(GetBGInfo(&byHandle, p->WindowHandle(), false));
  EXPECT_EQ(byHandle.BgType, btCache);
  EXPECT_EQ(byHandle.Offset, (TPoint{7, 9}));

  const TCacheInfo ci = BGInfoToCI(&info);
  EXPECT_TRUE(ci.Ready);
  EXPECT_EQ(ci.Bmp, cache.get());
  EXPECT_EQ(ci.X, 7);
  EXPECT_EQ(ci.Y, 9);
  EXPECT_EQ(ci.FillColor, 0xFF00FF);
}

TEST_F(BGInfo, AFillAnswerKeepsItsBitmapAndBorders) {
  auto strips = CreateBmp32(4, 4);
  TacBGInfo info;
  info.BgType = btFill;
  info.Bmp = strips.get();
  info.Offset = TPoint{-3, 5};
  info.Color = static_cast<TColor>(0x8000000F);
  info.Borders = Rect(2, 3, 4, 5);
  const TCacheInfo ci = BGInfoToCI(&info);
  EXPECT_FALSE(ci.Ready);
  EXPECT_EQ(ci.Bmp, strips.get());
  EXPECT_EQ(ci.X, -3);
  EXPECT_EQ(ci.Y, 5);
  EXPECT_EQ(ci.FillColor, ColorToRGB(clBtnFace)) << "system colours as RGB";
  EXPECT_EQ(ci.Borders, Rect(2, 3, 4, 5));
}

TEST_F(BGInfo, AWindowThatDoesNotAnswerGivesTheMainColour) {
  TProbeWindow probe;
  TacBGInfo info;
  info.Color = 5;
  EXPECT_FALSE(GetBGInfo(&info, probe.Handle(), false));
  EXPECT_EQ(info.BgType, btFill);
  EXPECT_EQ(info.Color, static_cast<TColor>(0x8000000F)) << "the button face without a manager";

  // Drawing asked by the argument only (the record did not ask on entry):
  // the colour again, and the context untouched.
  auto bmp = Target();
  TacBGInfo asked;
  asked.DC = bmp->Canvas()->Handle();
  asked.R = Rect(0, 0, kProbeSize, kProbeSize);
  EXPECT_FALSE(GetBGInfo(&asked, probe.Handle(), true));
  EXPECT_EQ(asked.BgType, btFill);
  EXPECT_TRUE(asked.PleaseDraw);
  ExpectDrawnWithin(bmp.get(), TRect{}, TPoint{}, "nothing drawn");
}

TEST_F(BGInfo, AWindowThatDoesNotAnswerPaintsItselfWithinR) {
  TProbeWindow probe;
  auto bmp = Target();
  TacBGInfo info;
  info.PleaseDraw = true;
  info.DC = bmp->Canvas()->Handle();
  info.R = Rect(4, 6, 20, 18);
  info.Offset = TPoint{5, 3};
  EXPECT_FALSE(GetBGInfo(&info, probe.Handle(), true));
  EXPECT_EQ(info.BgType, btUnknown);
  EXPECT_EQ(info.R, Rect(9, 9, 25, 21)) << "R stays moved by the offset";
  GdiFlush();
  ExpectDrawnWithin(bmp.get(), Rect(4, 6, 20, 18), TPoint{5, 3}, "window");

  // The context comes back as it was: its origin and clip are the old ones.
  POINT origin;
  GetViewportOrgEx(info.DC, &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
  RECT clip;
  EXPECT_EQ(GetClipBox(info.DC, &clip), SIMPLEREGION);
  EXPECT_EQ(clip.right, kProbeSize);
}

TEST_F(BGInfo, AControlThatDoesNotAnswerPaintsItselfWithinR) {
  auto* shape = Create<TProbeShape>(Form);
  shape->SetBounds(0, 0, kProbeSize, kProbeSize);
  auto bmp = Target();
  TacBGInfo info;
  info.DC = bmp->Canvas()->Handle();
  info.R = Rect(0, 10, 12, 40);
  info.Offset = TPoint{20, 0};
  EXPECT_TRUE(GetBGInfo(&info, shape, true));
  EXPECT_EQ(info.BgType, btUnknown);
  GdiFlush();
  ExpectDrawnWithin(bmp.get(), Rect(0, 10, 12, 40), TPoint{20, 0}, "graphic control");
}

}  // namespace
