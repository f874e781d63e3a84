// The skinned panel on test forms with the fixture skins: the section it
// takes, where its caption lies, its own drawing kept in the cache, a
// transparent section over a gradient parent, the background it hands its
// children, a child's dropped paint replayed, and its plain look without a
// skin manager.
#include <gtest/gtest.h>

#include <memory>

#include "ControlsFixture.h"
#include "classlib/ui/PaintScope.h"
#include "skin/controls/sPanel.h"
#include "skin/core/Smessages.h"
#include "skin/core/sVclUtils.h"

using namespace controlsfixture;

namespace {

class PanelTest : public testing::Test {
 protected:
  void SetUp() override {
    Manager = NewManager(Skins);
    ASSERT_TRUE(Manager->CommonSkinData.Active);
    Form = NewForm();
  }
  void TearDown() override {
    if (Form) Form->Free();
    if (Manager) Manager->Free();
  }
  TsPanel* NewPanel(TWinControl* Parent, int L, int T, int W, int H) {
    auto* p = Create<TsPanel>(Form);
    p->SetBounds(L, T, W, H);
    p->SetParent(Parent);
    return p;
  }
  void Settle() { testsupport::PumpMessages(60); }

  TControlsSkins Skins;
  TsSkinManager* Manager = nullptr;
  TForm* Form = nullptr;
};

TEST_F(PanelTest, TheSectionFollowsTheOuterBevelUnlessTheUserChoseOne) {
  TsPanel* p = NewPanel(Form, 10, 10, 100, 50);
  Settle();
  EXPECT_EQ(p->SkinData()->SkinSection(), "PANEL") << "an empty section takes the kind's";
  const struct {
    TBevelCut Bevel;
    const char* Section;
  } steps[] = {{bvLowered, "PANEL_LOW"}, {bvNone, "TRANSPARENT"}, {bvRaised, "PANEL"}, {bvSpace, "TRANSPARENT"}};
  for (const auto& s : steps) {
    p->SetBevelOuter(s.Bevel);
    EXPECT_EQ(p->SkinData()->SkinSection(), s.Section) << static_cast<int>(s.Bevel);
  }
  TsPanel* chosen = NewPanel(Form, 120, 10, 100, 50);
  chosen->SkinData()->SetSkinSection("BAR");
  Settle();
  chosen->SetBevelOuter(bvLowered);
  chosen->SetBevelOuter(bvNone);
  EXPECT_EQ(chosen->SkinData()->SkinSection(), "BAR");
  Settle();
  EXPECT_EQ(ScreenPixel(chosen->WindowHandle(), 50, 25), kControls.Bar.Color) << "painted in its own section";
}

TEST_F(PanelTest, TheCaptionLiesInTheInnerFrameFourPixelsBelowItsCentre) {
  TsPanel* p = NewPanel(Form, 10, 10, 200, 100);
  p->SetBorderWidth(4);
  p->SetBevelInner(bvRaised);
  p->SetBevelOuter(bvRaised);
  p->SetBevelWidth(2);
  p->SetCaption("\xCA\xE0\xED\xE0\xEB 1 xg");  // "Канал 1 xg" in code page 1251
  Settle();
  ASSERT_EQ(p->InnerFrame(), 8);
  const TPrinted shown = Print(p->WindowHandle());
  ASSERT_EQ(shown.W, 200);

  // The test's own drawing of the caption: the section colour, the text in
  // its font colour at (8, top, 192, top + h), top = 8 + (84 - h) div 2 + 4.
  TMemoryDC dc;
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof bi.bmiHeader, 200, -100, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(dc.Handle(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ oldBmp = SelectObject(dc.Handle(), bmp);
  HGDIOBJ oldFont = SelectObject(dc.Handle(), p->Font()->Handle());
  RECT all{0, 0, 200, 100};
  HBRUSH brush = CreateSolidBrush(ToTColor(kControls.Panel.Color));
  FillRect(dc.Handle(), &all, brush);
  DeleteObject(brush);
  wchar_t wide[64] = {};
  MultiByteToWideChar(1251, 0, p->Caption().c_str(), -1, wide, 64);
  const std::wstring text = wide;
  const UINT flags = DT_CENTER | DT_VCENTER | DT_EXPANDTABS | DT_WORDBREAK;
  RECT measure{8, 8, 192, 92};
  DrawTextW(dc.Handle(), text.c_str(), -1, &measure, flags | DT_CALCRECT);
  const int h = measure.bottom - measure.top;
  ASSERT_GT(h, 0);
  RECT place{8, 8 + (84 - h) / 2 + 4, 192, 8 + (84 - h) / 2 + 4 + h};
  SetBkMode(dc.Handle(), TRANSPARENT);
  SetTextColor(dc.Handle(), ToTColor(kControls.Panel.FontColor));
  DrawTextW(dc.Handle(), text.c_str(), -1, &place, flags);
  GdiFlush();
  const auto* expected = static_cast<const std::uint32_t*>(bits);
  int differ = 0, ink = 0;
  for (int y = 8; y < 92; ++y)
    for (int x = 8; x < 192; ++x) {
      const std::uint32_t e = expected[y * 200 + x] & 0xFFFFFF;
      if (e != kControls.Panel.Color) ++ink;
      if (shown.At(x, y) != e) ++differ;
    }
  SelectObject(dc.Handle(), oldFont);
  SelectObject(dc.Handle(), oldBmp);
  DeleteObject(bmp);
  EXPECT_GT(ink, 20) << "the caption shows";
  EXPECT_EQ(differ, 0) << "the caption where the layout puts it";
}

// The panel's own drawing: a 20 x 10 block at (5, 5) in a colour of its own.
struct TPaintCounter : TObject {
  int Calls = 0;
  void Paint(TObject*, TCanvas* Canvas) {
    ++Calls;
    Canvas->Brush()->SetColor(ToTColor(0x12C034));
    Canvas->FillRect(TRect{5, 5, 25, 15});
  }
};

// A repaint of the whole panel with nothing changed, as uncovering it asks
// for (under Wine a top-level window keeps its surface, so covering and
// uncovering alone sends no paint).
void RepaintUnchanged(TWinControl* Control) {
  RedrawWindow(Control->WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  testsupport::PumpMessages(30);
}

TEST_F(PanelTest, AnOwnDrawingStaysInTheCacheWhenSkinnedAndIsRedoneOnTheCanvasWhenNot) {
  TPaintCounter counter;
  TsPanel* p = NewPanel(Form, 20, 20, 120, 60);
  p->OnPaint = TPaintEvent(&counter, &TPaintCounter::Paint);
  Settle();
  ASSERT_GE(counter.Calls, 1);
  EXPECT_EQ(ScreenPixel(p->WindowHandle(), 10, 10), 0x12C034u);
  EXPECT_EQ(ScreenPixel(p->WindowHandle(), 60, 40), kControls.Panel.Color);
  const int built = counter.Calls;
  RepaintUnchanged(p);
  EXPECT_EQ(counter.Calls, built) << "uncovering copies the cache";
  EXPECT_EQ(ScreenPixel(p->WindowHandle(), 10, 10), 0x12C034u);

  Manager->SetActive(false);
  Settle();
  const int plain = counter.Calls;
  EXPECT_EQ(ScreenPixel(p->WindowHandle(), 10, 10), 0x12C034u) << "drawn on the canvas";
  EXPECT_EQ(ScreenPixel(p->WindowHandle(), 60, 40), ToRgb(GetSysColor(COLOR_BTNFACE))) << "the plain look is back";
  RepaintUnchanged(p);
  EXPECT_GT(counter.Calls, plain) << "unskinned, every paint draws again";
  EXPECT_EQ(ScreenPixel(p->WindowHandle(), 10, 10), 0x12C034u);
}

TEST_F(PanelTest, ATransparentSectionShowsItsParentInsideTheBorderStrips) {
  const struct {
    TVariant Skin;
    bool Cached;  // the child keeps an image of its own (over a parent that does)
  } cases[] = {{svGradient, true}, {svControls, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(kVariantNames[c.Skin]);
    Manager->SetSkinName(kVariantNames[c.Skin]);
    TsPanel* parent = NewPanel(Form, 10, 10, 300, 200);
    TsPanel* child = NewPanel(parent, 40, 30, 120, 90);
    child->SetBevelOuter(bvNone);
    Settle();
    ASSERT_EQ(child->SkinData()->SkinSection(), "TRANSPARENT");
    EXPECT_EQ(IsCached(child->SkinData()), c.Cached);
    const HWND pw = parent->WindowHandle(), cw = child->WindowHandle();
    if (c.Skin == svGradient) EXPECT_NE(ScreenPixel(pw, 5, 5), ScreenPixel(pw, 5, 195)) << "a gradient parent";
    int inside = 0, wrong = 0;
    for (int y = 0; y < 90; y += 3)
      for (int x = 0; x < 120; x += 3) {
        const std::uint32_t shown = ScreenPixel(cw, x, y);
        const bool strip = x < kStripWidth || y < kStripWidth || x >= 120 - kStripWidth || y >= 90 - kStripWidth;
        if (strip) {
          if (shown != kControls.Strip) ++wrong;
        } else {
          ++inside;
          if (shown != ScreenPixel(pw, 40 + x, 30 + y)) ++wrong;
        }
      }
    EXPECT_GT(inside, 0);
    EXPECT_EQ(wrong, 0) << "the strips in the mask's colour, the parent's pixels inside";
    parent->Free();
  }
}

// The answer of a panel to a child's background question.
TacBGInfo AskBackground(TWinControl* Panel) {
  TacBGInfo info;
  info.PleaseDraw = false;
  info.BgType = btUnknown;
  SendMessageW(Panel->WindowHandle(), SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_BG_INFO),
               reinterpret_cast<LPARAM>(&info));
  return info;
}

TEST_F(PanelTest, TheBackgroundAnswerIsTheCacheForAGradientAndAColourForAFlatPanel) {
  const struct {
    TVariant Skin;
    bool Custom;
    TacBGType Type;
    std::uint32_t Color;  // 0xRRGGBB for a fill
  } cases[] = {
      {svGradient, false, btCache, 0},
      {svControls, false, btFill, kControls.Panel.Color},
      {svControls, true, btFill, 0x3366AA},
      {svGradient, true, btFill, 0x3366AA},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << kVariantNames[c.Skin] << (c.Custom ? " custom" : ""));
    Manager->SetSkinName(kVariantNames[c.Skin]);
    TsPanel* p = NewPanel(Form, 10, 10, 150, 80);
    if (c.Custom) {
      p->SetColor(ToTColor(0x3366AA));
      p->SkinData()->SetCustomColor(true);
    }
    Settle();
    const TacBGInfo info = AskBackground(p);
    EXPECT_EQ(info.BgType, c.Type);
    if (c.Type == btCache) {
      EXPECT_EQ(info.Bmp, p->SkinData()->CacheBmp.get());
      EXPECT_EQ(info.Offset.X, 0);
      EXPECT_EQ(info.Offset.Y, 0);
    } else {
      EXPECT_EQ(static_cast<std::uint32_t>(ColorToRGB(info.Color)), ToTColor(c.Color));
    }
    p->Free();
  }
}

// The cache holds the whole window: a child of a framed panel lies in it
// moved by the frame (the client area's place in the window), whatever the
// bevels and the border width inside.
TEST_F(PanelTest, AFramedPanelHandsItsChildrenTheCacheMovedByTheFrame) {
  Manager->SetSkinName(kVariantNames[svGradient]);
  TsPanel* p = NewPanel(Form, 10, 10, 200, 120);
  p->SetBorderStyle(bsSingle);
  p->SetBorderWidth(3);
  Settle();
  POINT origin{0, 0};
  ClientToScreen(p->WindowHandle(), &origin);
  RECT window{};
  GetWindowRect(p->WindowHandle(), &window);
  ASSERT_GT(origin.x - window.left, 0) << "the panel has a frame";
  const TacBGInfo info = AskBackground(p);
  ASSERT_EQ(info.BgType, btCache);
  EXPECT_EQ(info.Offset.X, origin.x - window.left);
  EXPECT_EQ(info.Offset.Y, origin.y - window.top);
}

TEST_F(PanelTest, AStaleCacheAnswersNotReadyAndTheParentsNoticeReplaysTheChildsPaint) {
  Manager->SetSkinName(kVariantNames[svGradient]);
  TsPanel* outer = NewPanel(Form, 0, 0, 380, 280);
  TsPanel* middle = NewPanel(outer, 10, 10, 300, 200);
  TsPanel* child = NewPanel(middle, 20, 20, 100, 60);
  child->SetBevelOuter(bvLowered);
  Settle();
  ASSERT_EQ(ScreenPixel(child->WindowHandle(), 50, 30), kControls.PanelLow.Color);

  // The outer panel's paint waits: the middle one, resized now, cannot
  // rebuild its cache, which keeps its old size.
  auto command = [](TWinControl* C, int Cmd, int Low = 0) {
    return SendMessageW(C->WindowHandle(), SM_ALPHACMD, AlphaCmdParam(Cmd, Low), 0);
  };
  command(outer, ACMD_SET_UPDATE_FLAG, 1);
  middle->SetBounds(10, 10, 320, 220);
  Settle();
  EXPECT_TRUE(middle->SkinData()->BGChanged);
  EXPECT_NE(middle->SkinData()->CacheBmp->Width(), 320);
  EXPECT_EQ(AskBackground(middle).BgType, btNotReady);

  // The child's paint is dropped and waits for its parent.
  command(child, ACMD_FLAG_BG_CHANGED);
  RedrawWindow(child->WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_TRUE(child->SkinData()->Updating) << "the paint waits for the parent";

  // The outer panel is done: its notice reaches the middle one, whose paint
  // tells the child in turn.
  command(outer, ACMD_SET_UPDATE_FLAG, 0);
  command(middle, ACMD_PARENT_UPDATED);
  Settle();
  EXPECT_FALSE(child->SkinData()->Updating);
  EXPECT_EQ(middle->SkinData()->CacheBmp->Width(), 320);
  EXPECT_EQ(AskBackground(middle).BgType, btCache);
  EXPECT_EQ(ScreenPixel(child->WindowHandle(), 50, 30), kControls.PanelLow.Color) << "the dropped paint appears";
}

class TCaptionedDockTree : public TDockTree {
  DK_CLASS(TCaptionedDockTree, TDockTree)
 public:
  TCaptionedDockTree() = default;
};

TEST_F(PanelTest, ADockSiteDrawsAGrabStripAboveEachDockedClient) {
  // With captioned trees the strip is 23 high in "DRAGBAR" (here missing:
  // "PANEL"); otherwise 12 high in "GRIPV" or "GRIPH", which this skin lacks.
  const struct {
    TClass Tree;
    int StripHeight;
  } cases[] = {{TCaptionedDockTree::StaticClass(), 23}, {TDockTree::StaticClass(), 0}};
  const TClass saved = DefaultDockTreeClass;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Tree->Name);
    DefaultDockTreeClass = c.Tree;
    TsPanel* site = NewPanel(Form, 10, 10, 200, 150);
    site->SkinData()->SetSkinSection("BAR");
    site->SetDockSite(true);
    TsPanel* client = NewPanel(Form, 0, 0, 100, 50);
    client->SetBevelOuter(bvLowered);
    const TRect place{10, 40, 110, 90};
    ASSERT_TRUE(client->ManualDock(site, &place));
    Settle();
    const HWND w = site->WindowHandle();
    EXPECT_EQ(ScreenPixel(w, 60, 39 - c.StripHeight), kControls.Bar.Color) << "above the strip";
    if (c.StripHeight) EXPECT_EQ(ScreenPixel(w, 60, 40 - c.StripHeight), kControls.Panel.Color) << "the strip";
    EXPECT_EQ(ScreenPixel(w, 150, 30), kControls.Bar.Color) << "beside the strip";
    EXPECT_EQ(ScreenPixel(client->WindowHandle(), 50, 25), kControls.PanelLow.Color);
    site->Free();
  }
  DefaultDockTreeClass = saved;
}

}  // namespace

// Without a skin manager the skinned panel prints as the class library's
// panel with the same properties, pixel for pixel.
TEST(PanelWithoutManager, PrintsAsThePlainPanel) {
  ASSERT_EQ(DefaultManager, nullptr);
  TForm* form = NewForm();
  const struct {
    TBevelCut Outer, Inner;
    int Border;
    TAlignment Alignment;
  } cases[] = {{bvRaised, bvNone, 0, taCenter}, {bvLowered, bvRaised, 3, taLeftJustify}, {bvNone, bvNone, 1, taRightJustify}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Outer));
    auto* skinned = Create<TsPanel>(form);
    auto* plain = Create<TPanel>(form);
    int left = 10;
    for (TCustomPanel* p : {static_cast<TCustomPanel*>(skinned), static_cast<TCustomPanel*>(plain)}) {
      p->SetBounds(left, 10, 160, 70);
      p->SetBevelOuter(c.Outer);
      p->SetBevelInner(c.Inner);
      p->SetBorderWidth(c.Border);
      p->SetAlignment(c.Alignment);
      p->SetCaption("\xCF\xE0\xED\xE5\xEB\xFC");  // "Панель"
      p->SetParent(form);
      left += 180;
    }
    testsupport::PumpMessages(50);
    const TPrinted a = Print(skinned->WindowHandle()), b = Print(plain->WindowHandle());
    ASSERT_EQ(a.Px.size(), b.Px.size());
    EXPECT_TRUE(a.Px == b.Px);
    EXPECT_EQ(SendMessageW(skinned->WindowHandle(), SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_HOOKED), 0), 1);
    skinned->Free();
    plain->Free();
  }
  form->Free();
}
