// The layered-window tools of the form animations, the plain windows the
// animations show their pictures in, and the scope that keeps the system's
// own minimize animation off.
#include "classlib/ui/PaintScope.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/forms/sVclUtilsAnim.h"
#include "skin/forms/sVclUtilsAnimWindows.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

namespace {
// Where the cover goes: over everything, shown, no activation, not moved in
// the owner's order, without redrawing or the "changing" message.
constexpr UINT kCoverPlacing = SWP_NOSIZE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER |
                               SWP_NOSENDCHANGING;
}  // namespace

// ------------------------------------------------------- animation windows

std::unique_ptr<TCustomForm> NewAnimationForm(TComponent* Owner, const TRect& Bounds, LONG_PTR ExStyle) {
  std::unique_ptr<TCustomForm> form(Create<TForm>(Owner, 0));
  form->SetTag(kAnimationWindowTag);
  form->SetBorderStyle(bsNone);
  form->SetBounds(Bounds.Left, Bounds.Top, Bounds.Right - Bounds.Left, Bounds.Bottom - Bounds.Top);
  const HWND wnd = form->Handle();
  SetWindowLongPtrW(wnd, GWL_EXSTYLE, GetWindowLongPtrW(wnd, GWL_EXSTYLE) | ExStyle);
  return form;
}

TRect WindowRectOf(HWND Wnd) {
  RECT r{};
  GetWindowRect(Wnd, &r);
  return TRect{r.left, r.top, r.right, r.bottom};
}

TAnimationScope::TAnimationScope() { InAnimationProcess = true; }
TAnimationScope::~TAnimationScope() { InAnimationProcess = false; }

// ------------------------------------------------------- layered windows

void SetFormBlendValue(HWND Wnd, TacBitmap* Bmp, Integer Value, const TPoint* Pos) {
  TacUpdateLayeredWindow update = sgraphutils::UpdateLayeredWindow;
  if (!Wnd || !update) return;
  const LONG_PTR exStyle = GetWindowLongPtrW(Wnd, GWL_EXSTYLE);
  if (!(exStyle & WS_EX_LAYERED)) SetWindowLongPtrW(Wnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
  std::unique_ptr<TacBitmap> transparent;
  if (!Bmp) {
    const TRect r = WindowRectOf(Wnd);
    transparent = CreateBmp32(r.Right - r.Left, r.Bottom - r.Top);
    Bmp = transparent.get();
  }
  TWindowDC screen(nullptr);
  SIZE size{BitmapWidth(Bmp), BitmapHeight(Bmp)};
  POINT origin{0, 0};
  POINT place{Pos ? Pos->X : 0, Pos ? Pos->Y : 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(LimitIt(Value, 0, 255)), AC_SRC_ALPHA};
  // The picture goes out through its own canvas: a bitmap that a canvas
  // holds (it was stretched into, say) cannot be selected anywhere else, and
  // a memory device context of ours would show nothing of it.
  TCanvasLock lock(Bmp->Canvas());
  update(Wnd, screen.Handle(), Pos ? &place : nullptr, &size, Bmp->Canvas()->Handle(), &origin, clNoColor, &blend,
         ULW_ALPHA);
}

bool DoLayered(HWND Wnd, bool Layered, Byte Alpha) {
  const LONG_PTR exStyle = GetWindowLongPtrW(Wnd, GWL_EXSTYLE);
  TacSetLayeredWindowAttributes attributes = sgraphutils::SetLayeredWindowAttributes;
  if (Layered && attributes) {
    const bool added = !(exStyle & WS_EX_LAYERED);
    if (added) SetWindowLongPtrW(Wnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    attributes(Wnd, 0, Alpha, LWA_ALPHA);
    return added;
  }
  SetWindowLongPtrW(Wnd, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
  SetWindowLongPtrW(Wnd, GWL_STYLE, GetWindowLongPtrW(Wnd, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_VISIBLE));
  return false;
}

TForm* MakeCoverForm(HWND Wnd) {
  const TRect r = WindowRectOf(Wnd);
  std::unique_ptr<TCustomForm> cover = NewAnimationForm(nullptr, r, WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW);
  std::unique_ptr<TacBitmap> look = CreateBmp32(r.Right - r.Left, r.Bottom - r.Top);
  {
    TWindowDC source(Wnd);
    TMemoryDC dc(source.Handle());
    TSelectScope select(dc.Handle(), look->Handle());
    BitBlt(dc.Handle(), 0, 0, BitmapWidth(look.get()), BitmapHeight(look.get()), source.Handle(), 0, 0, SRCCOPY);
  }
  FillAlphaRect(look.get(), TRect{0, 0, BitmapWidth(look.get()), BitmapHeight(look.get())}, 255);
  SetFormBlendValue(cover->WindowHandle(), look.get(), 255);
  SetWindowPos(cover->WindowHandle(), HWND_TOPMOST, r.Left, r.Top, 0, 0, kCoverPlacing);
  return static_cast<TForm*>(cover.release());
}

std::unique_ptr<TacBitmap> GetFormImage(TsSkinProvider* Provider, bool FreeCache) {
  std::unique_ptr<TacBitmap>& cache = Provider->SkinData()->CacheBmp;
  if (!Provider->Form || !cache || BitmapWidth(cache.get()) == 0 || BitmapHeight(cache.get()) == 0) return nullptr;
  std::unique_ptr<TacBitmap> image = CreateBmp32(BitmapWidth(cache.get()), BitmapHeight(cache.get()));
  {
    TCanvasLock lock(image->Canvas());
    SkinPaintTo(image.get(), Provider->Form, 0, 0, Provider);
  }
  if (!Provider->BorderForm) FillAlphaRect(image.get(), TRect{0, 0, BitmapWidth(image.get()), BitmapHeight(image.get())}, 255);
  if (FreeCache) cache.reset();
  return image;
}

// ------------------------------------------------- the system's animation

TacSystemAnimationOff::TacSystemAnimationOff(TGet Get, TSet Set)
    : FSet(Set ? Set : acSetAnimation), FWasOn((Get ? Get : acGetAnimation)()) {
  if (FWasOn) FSet(false);
}

TacSystemAnimationOff::~TacSystemAnimationOff() {
  if (FWasOn) FSet(true);
}
