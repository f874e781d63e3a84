// What the skin engine's core stands on of the form skinning for now: the
// window-creation hook (it hands every event on), the provider's layered window and
// animations that happen at once, the animation timers, the menus' painter.
#include <gtest/gtest.h>

#include "SkinCoreSupport.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/acAlphaHints.h"
#include "skin/forms/acDials.h"
#include "skin/forms/sSkinMenus.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

using namespace skincore;

int created = 0;
LRESULT CALLBACK CountCreated(int Code, WPARAM WParam, LPARAM LParam) {
  if (Code == HCBT_CREATEWND) ++created;
  return CallNextHookEx(nullptr, Code, WParam, LParam);
}

TEST(LeastForms, TheWindowCreationHookHandsEveryEventOn) {
  // A hook of the test's own, put on first: the manager's hook comes before
  // it and must hand the events on.
  HHOOK mine = SetWindowsHookExW(WH_CBT, CountCreated, nullptr, GetCurrentThreadId());
  skintest::TSkinDir dir;
  TsSkinManager* m = skintest::LoadFolderSkin(dir, "one", SkinTextOf({{"BUTTON"}}));
  ASSERT_NE(HookCallback, nullptr);
  created = 0;
  TForm* f = NewForm("Created");
  EXPECT_GE(created, 1);
  EXPECT_EQ(acLiveProviders(), 1) << "the shown form without a provider of its own is taken";
  EXPECT_EQ(Manager, nullptr) << "no skinned hints";
  f->Free();
  m->Free();
  UnhookWindowsHookEx(mine);
}

// A move timer whose window went during the drag ticks without touching
// anything. (Its fade is tested with the form animations.)
TEST(LeastForms, AMoveTimerWithoutItsWindowTicksHarmlessly) {
  auto* move = Create<TacMoveTimer>(nullptr, true);
  move->TargetAlpha = 170;
  move->AlphaStep = 85;
  move->SetInterval(12);
  move->SetEnabled(true);
  move->Timer();
  EXPECT_EQ(move->Alpha, 255.0) << "no window, no step";
  move->Free();
}

struct {
  HWND Wnd;
  SIZE Size;
  POINT Pos;
  bool HasPos;
  BLENDFUNCTION Blend;
  DWORD Flags;
} seen{};
BOOL WINAPI RecordLayered(HWND Wnd, HDC, POINT* Pos, SIZE* Size, HDC, POINT*, COLORREF, BLENDFUNCTION* Blend,
                          DWORD Flags) {
  seen = {Wnd, *Size, Pos ? *Pos : POINT{}, Pos != nullptr, *Blend, Flags};
  return TRUE;
}

TEST(LeastForms, LayeredWindowsAreReal) {
  TForm* f = NewForm("Layered");
  TFreeAtEnd<TForm> freeF{f};
  const HWND wnd = f->Handle();
  DoLayered(wnd, true, 200);
  EXPECT_TRUE(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(wnd, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 200);
  EXPECT_TRUE(flags & LWA_ALPHA);

  // What goes to the system's UpdateLayeredWindow, recorded.
  const TacUpdateLayeredWindow system = sgraphutils::UpdateLayeredWindow;
  sgraphutils::UpdateLayeredWindow = RecordLayered;
  const TPoint place{30, 40};
  SetFormBlendValue(wnd, nullptr, 128, &place);
  sgraphutils::UpdateLayeredWindow = system;
  RECT r{};
  GetWindowRect(wnd, &r);
  EXPECT_EQ(seen.Wnd, wnd);
  EXPECT_EQ(seen.Size.cx, r.right - r.left) << "a transparent picture of the window's size";
  EXPECT_EQ(seen.Size.cy, r.bottom - r.top);
  EXPECT_TRUE(seen.HasPos);
  EXPECT_EQ(seen.Pos.x, 30);
  EXPECT_EQ(seen.Pos.y, 40);
  EXPECT_EQ(seen.Blend.SourceConstantAlpha, 128);
  EXPECT_EQ(seen.Blend.AlphaFormat, AC_SRC_ALPHA);
  EXPECT_EQ(seen.Flags, static_cast<DWORD>(ULW_ALPHA));

  DoLayered(wnd, false, 0);
  EXPECT_FALSE(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_FALSE(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_VISIBLE) << "and the visible style, without redrawing";
}

TEST(LeastForms, FormsWithoutPictureShowAndHideWithoutAnimation) {
  TForm* f = NewForm("Shown");
  TFreeAtEnd<TForm> freeF{f};
  auto* p = Create<TsSkinProvider>(f);
  EXPECT_FALSE(AnimHideForm(p)) << "no picture to fade: the caller hides the form itself";
  ShowWindow(f->Handle(), SW_HIDE);
  AnimShowControl(f, 300, 255, atcAero);
  EXPECT_TRUE(IsWindowVisible(f->Handle()));
  StartMinimizing(p);
  EXPECT_FALSE(IsIconic(f->Handle()));
  EXPECT_TRUE(StartRestoring(p));
  EXPECT_EQ(GetFormImage(p, false), nullptr) << "the provider has no image of its form yet";
}

TEST(LeastForms, TheFormsImageIsTheFormAsItLooks) {
  TForm* f = NewForm("Pictured");
  TFreeAtEnd<TForm> freeF{f};
  auto* p = Create<TsSkinProvider>(f);
  auto* c = NewControl<TLoggedWinControl>(f, 94, "", TRect{20, 30, 80, 60});
  c->SetColor(0x00FF00);
  f->Update();
  RECT w{};
  GetWindowRect(f->Handle(), &w);
  // The provider's image of the window (made by its first paint when a skin is there).
  p->SkinData()->CacheBmp = CreateBmp32(w.right - w.left, w.bottom - w.top);
  const std::unique_ptr<TacBitmap> image = GetFormImage(p, false);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(BitmapWidth(image.get()), w.right - w.left);
  EXPECT_EQ(BitmapHeight(image.get()), w.bottom - w.top);
  const TPixelView32 pixels = PixelsOf(image.get());
  EXPECT_EQ(pixels.At(40, 40) & 0xFFFFFF, 0x00FF00u) << "the control at its place";
}

TEST(LeastForms, TheProviderKnowsWhereItsFormsClientAreaLies) {
  TForm* f = NewForm("Offsets");
  TFreeAtEnd<TForm> freeF{f};
  auto* p = Create<TsSkinProvider>(f);
  RECT w{}, c{};
  GetWindowRect(f->Handle(), &w);
  GetClientRect(f->Handle(), &c);
  const int border = ((w.right - w.left) - c.right) / 2;
  EXPECT_EQ(p->OffsetX(), border);
  EXPECT_EQ(p->OffsetY(), (w.bottom - w.top) - c.bottom - border);
  EXPECT_GT(p->OffsetY(), p->OffsetX()) << "the caption lies above";
  EXPECT_TRUE(p->DrawNonClientArea());
  EXPECT_EQ(p->BorderForm, nullptr);
}

TEST(LeastForms, TheMenusPainterAndItsOptionsStartAsWritten) {
  auto* menus = Create<TsSkinableMenus>(nullptr);
  EXPECT_FALSE(menus->Active());
  EXPECT_EQ(menus->Margin, 2);
  EXPECT_EQ(menus->BevelWidth, 0);
  EXPECT_EQ(menus->BorderWidth, 3);
  EXPECT_EQ(menus->Spacing, 8);
  EXPECT_EQ(menus->GetSkinBorderWidth(), 0) << "without a manager";
  const TacMenuInfo info = menus->GetMenuInfo(nullptr, 0, 0, nullptr, nullptr);
  EXPECT_EQ(info.Bmp, nullptr);
  EXPECT_EQ(info.FirstItem, nullptr);
  EXPECT_EQ(info.Wnd, nullptr);
  menus->Free();
  TacMenuSupport support;
  EXPECT_FALSE(support.UseExtraLine);
  EXPECT_EQ(support.ExtraLineWidth, 32);
  EXPECT_EQ(support.AlphaBlend, 255);
  EXPECT_NE(support.ExtraLineFont(), nullptr);
  EXPECT_TRUE(support.IcoLineSkin.empty());
}

}  // namespace
