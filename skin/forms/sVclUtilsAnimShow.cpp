// The show animations: a skinned form fading (or zooming) in when it is
// shown, and a form fading in to its new look after a skin change. Both run
// at once on the user-interface thread, one frame every 12 ms at least
// (waited for without handling messages: the frames are the only work).
#include <algorithm>
#include <cmath>
#include <functional>

#include "skin/core/acntUtils.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/acDwm.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/forms/sVclUtilsAnim.h"
#include "skin/forms/sVclUtilsAnimWindows.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

// Placing the picture's window: not redrawn, not activated, no bits copied,
// not moved in the owner's order, without the "changing" message.
constexpr UINT kPicturePlacing = SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_NOOWNERZORDER |
                                 SWP_NOSENDCHANGING;
// Reordering a window without touching anything else.
constexpr UINT kReorderOnly = SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER |
                              SWP_NOSENDCHANGING;
// The picture's window of a skin change: placed, shown, nothing else.
constexpr UINT kChangePlacing = SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOCOPYBITS;
constexpr UINT kChangedRepaint = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME;
constexpr UINT kShownRepaint = kChangedRepaint | RDW_ERASENOW;

// To the nearest integer, ties to even.
Integer Round(double Value) { return static_cast<Integer>(std::nearbyint(Value)); }
Byte NearestAlpha(double Value) { return static_cast<Byte>(LimitIt(Round(Value), 0, 255)); }

bool Topmost(HWND Wnd) { return (GetWindowLongPtrW(Wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// The window the picture goes under: the top of the topmost band for a
// topmost form, else whatever lies right above the form.
HWND AnchorOf(HWND Wnd) { return Topmost(Wnd) ? HWND_TOPMOST : GetWindow(Wnd, GW_HWNDPREV); }

// The frames of a show animation of Image (W x H) in the layered window Wnd:
// the constant alpha rises to Alpha in Frames steps (and stays there in the
// last frame); the zoom mode grows the picture from an eighth inside each
// edge to the whole. Frame k is pushed with alpha min(Alpha, (k + 1) * step).
void ShowFrames(HWND Wnd, TacBitmap* Image, Integer Frames, Integer Alpha, bool Zoom, bool TickAfterPreparing) {
  if (Frames <= 0) return;
  const Integer w = BitmapWidth(Image), h = BitmapHeight(Image);
  std::unique_ptr<TacBitmap> frame = CreateBmp32(w, h);
  const double dx = w / 8.0 / Frames, dy = h / 8.0 / Frames;
  double left = w / 8.0, top = h / 8.0, right = w - w / 8.0, bottom = h - h / 8.0;
  if (!Zoom) BlockCopy(frame.get(), 0, 0, w, h, Image, 0, 0);
  const double step = double(Alpha) / Frames;
  for (Integer k = 0; k <= Frames; ++k) {
    double start = AnimFrameClock();
    if (Zoom) {
      if (left < 0 || top < 0) {
        BlockCopy(frame.get(), 0, 0, w, h, Image, 0, 0);
      } else {
        const Integer l = Round(left), t = Round(top);
        StretchCopy(frame.get(), l, t, Round(right) - l, Round(bottom) - t, Image, 0, 0, w, h);
      }
      left -= dx, top -= dy, right += dx, bottom += dy;
    }
    if (TickAfterPreparing) start = AnimFrameClock();
    SetFormBlendValue(Wnd, frame.get(), NearestAlpha(std::min<double>(Alpha, (k + 1) * step)));
    if (k < Frames) WaitAnimFrameEnd(start);
  }
}

TsSkinProvider* ProviderOfForm(TCustomForm* Form) {
  if (!Form || !Form->HandleAllocated()) return nullptr;
  return reinterpret_cast<TsSkinProvider*>(SendAMessage(Form->WindowHandle(), ACMD_QUERY_PROVIDER));
}

bool HasPicture(TsSkinProvider* Provider) {
  TacBitmap* cache = Provider->SkinData()->CacheBmp.get();
  return cache && BitmapWidth(cache) > 0 && BitmapHeight(cache) > 0;
}

// The whole form painted as it looks now, opaque, of the size of the
// provider's image of the window.
std::unique_ptr<TacBitmap> OpaqueFormPicture(TsSkinProvider* Provider) {
  TacBitmap* cache = Provider->SkinData()->CacheBmp.get();
  std::unique_ptr<TacBitmap> image = CreateBmp32(BitmapWidth(cache), BitmapHeight(cache));
  {
    TCanvasLock lock(image->Canvas());
    SkinPaintTo(image.get(), Provider->Form, 0, 0, Provider);
  }
  FillAlphaRect(image.get(), TRect{0, 0, BitmapWidth(image.get()), BitmapHeight(image.get())}, 255);
  return image;
}

// A form shown and redrawn at once (no animation for it).
void ShowAtOnce(TWinControl* Control) {
  const HWND wnd = Control->WindowHandle();
  SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
  if (!IsWindowVisible(wnd)) ShowWindow(wnd, SW_SHOWNA);
  RedrawWindow(wnd, nullptr, nullptr, kChangedRepaint);
}

// The form branch of AnimShowControl: the form's new look fades (or zooms)
// in over it from nothing; the frozen form is redrawn under the picture.
void ShowChangedForm(TsSkinProvider* Provider, Word Time, Integer Alpha, bool Zoom) {
  TCustomForm* form = Provider->Form;
  const HWND wnd = form->WindowHandle();
  Provider->PaintAll();
  if (!HasPicture(Provider)) {
    InAnimationProcess = false;
    ShowAtOnce(form);
    return;
  }
  std::unique_ptr<TacBitmap> image = OpaqueFormPicture(Provider);
  const Integer frames = AnimationFrames(Time);
  const TRect r = WindowRectOf(wnd);
  std::unique_ptr<TCustomForm> picture = NewAnimationForm(nullptr, r, WS_EX_NOACTIVATE | WS_EX_LAYERED);
  const HWND pw = picture->WindowHandle();
  if (Topmost(wnd)) picture->SetFormStyle(fsStayOnTop);
  SetWindowPos(pw, AnchorOf(wnd), r.Left, r.Top, 0, 0, kChangePlacing);
  SetFormBlendValue(pw, image.get(), frames > 0 ? 0 : Alpha);
  ShowWindow(pw, SW_SHOWNOACTIVATE);
  ShowFrames(pw, image.get(), frames, Alpha, Zoom, false);
  InAnimationProcess = false;
  SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
  RedrawWindow(wnd, nullptr, nullptr, kChangedRepaint);
}

}  // namespace

void AnimShowForm(TsSkinProvider* Provider, Word Time, Integer Alpha, TacAnimType Mode) {
  if (!Provider || !Provider->SkinData() || !Provider->Form || !Provider->Form->HandleAllocated()) return;
  TCustomForm* form = Provider->Form;
  const HWND wnd = form->WindowHandle();
  if (IsIconic(wnd)) return;
  TAnimationScope running;
  Provider->PaintAll();
  if (!HasPicture(Provider)) return;
  std::unique_ptr<TacBitmap> image = OpaqueFormPicture(Provider);
  const Integer w = BitmapWidth(image.get()), h = BitmapHeight(image.get());
  const TRect r = WindowRectOf(wnd);
  // The corners the window region cuts away stay transparent.
  FillArOR(Provider);
  for (const TRect& corner : Provider->ArOR) FillRect32(image.get(), corner, 0, 0);

  std::unique_ptr<TCustomForm> picture =
      NewAnimationForm(nullptr, TRect{r.Left, r.Top, r.Left + w, r.Top + h}, WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW);
  const HWND pw = picture->WindowHandle();
  if (Topmost(wnd)) picture->SetFormStyle(fsStayOnTop);
  const HWND anchor = AnchorOf(wnd);
  const Integer frames = AnimationFrames(Time);
  SetFormBlendValue(pw, image.get(), frames > 0 ? 0 : Alpha);
  ShowWindow(pw, SW_SHOWNOACTIVATE);
  SetWindowPos(pw, anchor, r.Left, r.Top, w, h, kPicturePlacing);
  ShowFrames(pw, image.get(), frames, Alpha, Mode == atAero, true);
  SetWindowPos(pw, nullptr, r.Left, r.Top, w, h, kPicturePlacing | SWP_NOZORDER);
  SetFormBlendValue(pw, image.get(), Alpha);

  // The form takes the picture's place, under it, and draws itself.
  Provider->SkinChanging = false;
  SetWindowPos(wnd, pw, 0, 0, 0, 0, kReorderOnly);
  SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
  InAnimationProcess = false;
  RedrawWindow(wnd, nullptr, nullptr, kShownRepaint);
  // The composer shows the form a little later than it is drawn.
  if (AeroIsEnabled()) Sleep(48);
  SetWindowPos(pw, wnd, 0, 0, 0, 0, kPicturePlacing | SWP_NOSIZE | SWP_NOMOVE);
  picture.reset();
  if (Provider->OnAfterAnimation) Provider->OnAfterAnimation(aeShowing);
}

void AnimShowControl(TWinControl* Control, Word Time, Integer MaxTransparency, TacAnimTypeCtrl AnimType) {
  if (!Control || !Control->HandleAllocated()) return;
  TAnimationScope running;
  auto* form = dynamic_cast<TCustomForm*>(Control);
  TsSkinProvider* provider = ProviderOfForm(form);
  if (provider && acLayered()) {
    ShowChangedForm(provider, Time, MaxTransparency, AnimType == atcAero);
    return;
  }
  // A form without a skin of its own has no new look to fade to.
  if (form) {
    ShowAtOnce(Control);
    return;
  }
  AnimShowChangedControl(Control, Time, AnimType);
}
