// Glow windows under Wine: a section that glows (GLOW=1) with a "GLOW0"
// border image of known pieces and margins. What a glow window shows is read
// from what goes to UpdateLayeredWindow (recorded through the process-wide
// pointer), never from the screen, where Wine shows translucent windows opaque.
#include <gtest/gtest.h>

#include "EffectsSupport.h"
#include "skin/graphics/acGlow.h"
#include "skin/graphics/sGraphUtils.h"

#include "TestSupport.h"

namespace {

using namespace skinfx;

// The glow image: 12 x 12 at the master's origin, margins of 4, one colour
// per piece; its centre is not drawn (the glow shows black there).
constexpr int kCell = 12, kMargin = 4, kGlowMargin = 1;
constexpr std::uint32_t kPieces[3][3] = {{0x102030, 0x200000, 0x405060},
                                         {0x000020, 0x000000, 0x202020},
                                         {0x708090, 0x002000, 0xA0B0C0}};
int PieceIndex(int v, int size) { return v < kMargin ? 0 : v >= size - kMargin ? 2 : 1; }
std::uint32_t GlowPixel(int x, int y, int w, int h) { return kPieces[PieceIndex(y, h)][PieceIndex(x, w)]; }

skinfixture::TPicture GlowMaster() {
  skinfixture::TPicture m(96, 96, 0x808080);
  for (int y = 0; y < kCell; ++y)
    for (int x = 0; x < kCell; ++x) m.At(x, y) = GlowPixel(x, y, kCell, kCell);
  return m;
}

// What the glow windows were given, one entry per call.
struct TLayeredCall {
  HWND Wnd;
  SIZE Size;
  std::vector<std::uint32_t> Pixels;  // 0x00RRGGBB, rows from the top
};
std::vector<TLayeredCall> Calls;
TacUpdateLayeredWindow SystemUpdate = nullptr;

BOOL WINAPI RecordLayered(HWND Wnd, HDC Dst, POINT* Pos, SIZE* Size, HDC Src, POINT* SrcPos, COLORREF Key,
                          BLENDFUNCTION* Blend, DWORD Flags) {
  TLayeredCall call{Wnd, *Size, {}};
  std::unique_ptr<TacBitmap> copy = CreateBmp32(Size->cx, Size->cy);
  BitBlt(copy->Canvas()->Handle(), 0, 0, Size->cx, Size->cy, Src, SrcPos->x, SrcPos->y, SRCCOPY);
  const TPixelView32 v = PixelsOf(copy.get());
  for (int y = 0; y < Size->cy; ++y)
    for (int x = 0; x < Size->cx; ++x) call.Pixels.push_back(v.At(x, y) & 0xFFFFFF);
  Calls.push_back(std::move(call));
  return SystemUpdate(Wnd, Dst, Pos, Size, Src, SrcPos, Key, Blend, Flags);
}

// A glowing control that counts the left clicks that reach it.
class TClickCounter : public TLoggedWinControl {
  DK_CLASS(TClickCounter, TLoggedWinControl)
 public:
  using TLoggedWinControl::TLoggedWinControl;
  int Clicks = 0;
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_LBUTTONDOWN) ++Clicks;
    inherited::WndProc(Message);
  }
};

class Glow : public testing::Test {
 protected:
  void SetUp() override {
    Dir.Folder("glow", SkinTextOf({{"PLAIN", 0x336699, 0},
                                   {"GLOWY", 0x00C0C0, 0,
                                    "GLOW=1\r\nGLOWMARGIN=1\r\n"
                                    "GLOW0=^0000^0000^0012^0012^0004^0004^0004^0004^1^0^0^0\r\n"}}),
               GlowMaster());
    Manager = skintest::NewManager(Dir);
    Manager->SetSkinName("glow");
    ASSERT_TRUE(Manager->CommonSkinData.Active);
    Form = NewForm("GlowForm", 60, 60);
    Form->SetColor(0x336699);
    SystemUpdate = sgraphutils::UpdateLayeredWindow;
    ASSERT_TRUE(SystemUpdate);
    sgraphutils::UpdateLayeredWindow = RecordLayered;
    Calls.clear();
  }
  void TearDown() override {
    sgraphutils::UpdateLayeredWindow = SystemUpdate;
    if (Form) Form->Free();
    if (Manager) Manager->Free();
    ClearGlows(true);
  }
  TClickCounter* Glowing(TWinControl* Parent, TRect Bounds) {
    return NewControl<TClickCounter>(Parent, 33, "GLOWY", Bounds);
  }
  static HWND GlowWindow(Integer ID) {
    if (ID < 0 || ID >= static_cast<Integer>(acGlowEffects.size()) || !acGlowEffects[ID] || !acGlowEffects[ID]->Form)
      return nullptr;
    return acGlowEffects[ID]->Form->Handle();
  }
  static TRect ScreenRect(HWND Wnd) {
    RECT r{};
    GetWindowRect(Wnd, &r);
    return TRect{r.left, r.top, r.right, r.bottom};
  }

  skintest::TSkinDir Dir;
  TsSkinManager* Manager = nullptr;
  TForm* Form = nullptr;
};

// The glow's picture: the whole image over black, of the control's size plus
// the image's margins less the glow margin on every side.
void ExpectGlowPicture(const TLayeredCall& Call, int FullW, int FullH, int CutLeft, int CutTop) {
  for (int y = 0; y < Call.Size.cy; ++y)
    for (int x = 0; x < Call.Size.cx; ++x) {
      const std::uint32_t want = GlowPixel(x + CutLeft, y + CutTop, FullW, FullH);
      ASSERT_EQ(Call.Pixels[static_cast<size_t>(y * Call.Size.cx + x)], want) << "at " << x << ", " << y;
    }
}

TEST_F(Glow, EnteringAControlShowsItsGlowAroundItAndLeavingRemovesIt) {
  TClickCounter* c = Glowing(Form, TRect{40, 30, 120, 55});
  c->Perform(CM_MOUSEENTER, 0, 0);
  const Integer id = c->SkinData()->GlowID;
  ASSERT_GE(id, 0) << "the hot control has a glow";
  const HWND glow = GlowWindow(id);
  ASSERT_TRUE(glow);
  EXPECT_EQ(GetWindowLongPtrW(glow, GWL_EXSTYLE) & 0x080800A0, 0x080800A0);
  EXPECT_TRUE(IsWindowVisible(glow));

  const TRect control = ScreenRect(c->Handle());
  const int w = control.Width() + 2 * kMargin - 2 * kGlowMargin, h = control.Height() + 2 * kMargin - 2 * kGlowMargin;
  const TRect placed = ScreenRect(glow);
  EXPECT_EQ(placed.Left, control.Left + kGlowMargin - kMargin);
  EXPECT_EQ(placed.Top, control.Top + kGlowMargin - kMargin);
  EXPECT_EQ(placed.Width(), w);
  EXPECT_EQ(placed.Height(), h);
  ASSERT_EQ(Calls.size(), 1u);
  EXPECT_EQ(Calls[0].Wnd, glow);
  EXPECT_EQ(Calls[0].Size.cx, w);
  EXPECT_EQ(Calls[0].Size.cy, h);
  ExpectGlowPicture(Calls[0], w, h, 0, 0);
  Form->Update();
  testsupport::Screenshot(Form->Handle(), "glow_form_hot");
  testsupport::Screenshot(glow, "glow_window");

  c->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(c->SkinData()->GlowID, id) << "a shown glow is not shown again";
  EXPECT_EQ(Calls.size(), 1u);

  c->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(c->SkinData()->GlowID, -1);
  EXPECT_EQ(acGlowEffects[static_cast<size_t>(id)], nullptr);
  EXPECT_TRUE(LoopUntil([&] { return !IsWindow(glow); })) << "the glow's window goes";
}

TEST_F(Glow, MouseFallsThroughTheGlowToTheControl) {
  TClickCounter* c = Glowing(Form, TRect{40, 30, 120, 55});
  c->Perform(CM_MOUSEENTER, 0, 0);
  const HWND glow = GlowWindow(c->SkinData()->GlowID);
  ASSERT_TRUE(glow);
  const TRect control = ScreenRect(c->Handle());
  const POINT p{control.Left + 5, control.Top + 5};  // inside both
  EXPECT_EQ(SendMessageW(glow, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), HTTRANSPARENT);
  EXPECT_EQ(WindowFromPoint(p), c->Handle());

  SetCursorPos(p.x, p.y);
  INPUT click[2] = {};
  click[0].type = click[1].type = INPUT_MOUSE;
  click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ASSERT_EQ(SendInput(2, click, sizeof(INPUT)), 2u);
  EXPECT_TRUE(LoopUntil([&] { return c->Clicks > 0; })) << "the click reaches the control under the glow";
}

TEST_F(Glow, ControlCutByItsParentGetsACutGlow) {
  // The controls' left 20 pixels lie outside the panel.
  TLoggedWinControl* panel = NewControl<TLoggedWinControl>(Form, 9, "PLAIN", TRect{30, 20, 200, 120});
  const TRect bounds{-20, 10, 60, 35};
  TsCommonData* window = Glowing(panel, bounds)->SkinData();
  TsCommonData* graphic = NewControl<TLoggedGraphicControl>(panel, 33, "GLOWY", bounds)->SkinData();
  for (TsCommonData* s : {window, graphic}) {
    Calls.clear();
    s->MouseAbove = true;
    ShowGlowingIfNeeded(s);
    const HWND glow = GlowWindow(s->GlowID);
    ASSERT_TRUE(glow) << s->OwnerControl->ClassName();
    const TPoint origin = panel->ClientToScreen(TPoint{bounds.Left, bounds.Top});
    const int fullW = bounds.Width() + 2 * kMargin - 2 * kGlowMargin;
    const int fullH = bounds.Height() + 2 * kMargin - 2 * kGlowMargin;
    const int cut = kMargin + 20 - kGlowMargin;
    const TRect placed = ScreenRect(glow);
    EXPECT_EQ(placed.Left, origin.X + 20) << "the glow starts at the visible part";
    EXPECT_EQ(placed.Top, origin.Y + kGlowMargin - kMargin);
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0].Size.cx, fullW - cut);
    EXPECT_EQ(Calls[0].Size.cy, fullH);
    ExpectGlowPicture(Calls[0], fullW, fullH, cut, 0);
    HideGlow(s->GlowID);
  }
}

TEST_F(Glow, NumbersStayValidUntilTheListIsCleared) {
  TClickCounter* a = Glowing(Form, TRect{10, 10, 60, 30});
  TClickCounter* b = Glowing(Form, TRect{10, 60, 60, 80});
  TsCommonData* s = a->SkinData();
  const TRect r{100, 100, 150, 120}, all{0, 0, 50, 20};
  Integer first = ShowGlow(r, all, "GLOWY", "GLOW", 1, 255, Form->Handle(), s);
  Integer second = ShowGlow(r, all, "GLOWY", "GLOW", 1, 255, Form->Handle(), b->SkinData());
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 1);
  Integer saved = first;
  HideGlow(first);
  EXPECT_EQ(first, -1);
  HideGlow(saved);  // the same number again: nothing more goes
  EXPECT_NE(acGlowEffects[1], nullptr);
  Integer none = -1;
  HideGlow(none);
  EXPECT_EQ(ShowGlow(r, all, "GLOWY", "GLOW", 1, 255, Form->Handle(), s), 2) << "the list only grows";
  EXPECT_EQ(ShowGlow(r, all, "PLAIN", "GLOW", 1, 255, Form->Handle(), s), -1) << "a section without the image";
  EXPECT_EQ(ShowGlow(r, all, "GLOWY", "GLOW", 1, 255, Form->Handle(), nullptr), -1) << "no skin state";
  ClearGlows(false);
  EXPECT_TRUE(acGlowEffects.empty());
  EXPECT_EQ(ShowGlow(r, all, "GLOWY", "GLOW", 1, 255, Form->Handle(), s), 0);
}

TEST_F(Glow, ClicksDisablingMovesAndSkinChangesTakeTheGlowAway) {
  TClickCounter* c = Glowing(Form, TRect{40, 30, 120, 55});
  const struct {
    const char* Name;
    std::function<void()> Act;
  } cases[] = {
      {"click", [&] { ShowGlowingIfNeeded(c->SkinData(), true); }},
      {"disabled", [&] { c->SetEnabled(false); }},
      {"moved", [&] { c->SetLeft(c->Left() + 3); }},
      {"section changed", [&] { c->SkinData()->SetSkinSection("PLAIN"); }},
      {"new skin", [&] { Manager->SendNewSkin(false); }},
  };
  for (const auto& k : cases) {
    c->SetEnabled(true);
    c->SkinData()->SetSkinSection("GLOWY");
    c->SkinData()->MouseAbove = false;
    c->Perform(CM_MOUSEENTER, 0, 0);
    const Integer id = c->SkinData()->GlowID;
    ASSERT_GE(id, 0) << k.Name;
    k.Act();
    if (c->SkinData()->GlowID != -1) {
      // A skin change empties the list; the control's number names nothing then.
      EXPECT_TRUE(acGlowEffects.empty()) << k.Name;
      c->SkinData()->GlowID = -1;
    } else {
      EXPECT_EQ(acGlowEffects[static_cast<size_t>(id)], nullptr) << k.Name;
    }
  }
}

TEST_F(Glow, AGlowForgetsItsManagerAndGoesWithIt) {
  skintest::TSkinDir own;
  own.Folder("glow", SkinTextOf({{"GLOWY", 0x00C0C0, 0,
                                  "GLOW=1\r\nGLOW0=^0000^0000^0012^0012^0004^0004^0004^0004^1^0^0^0\r\n"}}),
             GlowMaster());
  TsSkinManager* second = skintest::NewManager(own);
  second->SetSkinName("glow");
  TClickCounter* c = Glowing(Form, TRect{40, 30, 120, 55});
  c->SkinData()->SetSkinManager(second);
  c->Perform(CM_MOUSEENTER, 0, 0);
  Integer id = c->SkinData()->GlowID;
  ASSERT_GE(id, 0);
  const HWND glow = GlowWindow(id);
  ASSERT_TRUE(glow);
  second->Free();
  EXPECT_FALSE(IsWindow(glow)) << "a glow of a manager that goes is freed at once";
  HideGlow(id);  // names nothing any more
  EXPECT_EQ(c->SkinData()->SkinManager(), nullptr);
}

}  // namespace
