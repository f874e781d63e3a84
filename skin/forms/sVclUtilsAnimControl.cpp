// The cross-fade of a control to its new look (a page change): the screen
// image taken before the change shows in an output window over the control
// and fades (or blurs) into the control's new image, frame by frame on the
// user-interface thread.
#include <algorithm>

#include "classlib/ui/PaintScope.h"

#include "skin/core/sConst.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/sVclUtilsAnim.h"
#include "skin/forms/sVclUtilsAnimWindows.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

constexpr UINT kShownRepaint = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME;
constexpr UINT kOutputPlacing = SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE;
constexpr UINT kOutputHiding = SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE;
// Children of a blurred control keep a margin around them.
constexpr Integer kChildMargin = 4;

// What lives between PrepareForAnimation and AnimShowControl.
std::unique_ptr<TacBitmap> snapshot, background;
std::vector<TRect> childRects;

Integer WidthOf(TControl* C) { return C->Width(); }
Integer HeightOf(TControl* C) { return C->Height(); }

// The control's own background, as its parent would draw it.
std::unique_ptr<TacBitmap> BackgroundOf(TWinControl* Control) {
  std::unique_ptr<TacBitmap> bmp = CreateBmp32(WidthOf(Control), HeightOf(Control));
  TacBGInfo info;
  info.PleaseDraw = true;
  info.DC = bmp->Canvas()->Handle();
  info.R = TRect{0, 0, WidthOf(Control), HeightOf(Control)};
  GetBGInfo(&info, Control, true);
  return bmp;
}

// Pixels of Bmp whose colour is the background's become fully transparent,
// all others opaque.
void MaskByBackground(TacBitmap* Bmp, TacBitmap* Bg) {
  const TPixelView32 p = PixelsOf(Bmp), b = PixelsOf(Bg);
  for (Integer y = 0; y < std::min(p.Height, b.Height); ++y) {
    std::uint32_t* row = p.Row(y);
    const std::uint32_t* bg = b.Row(y);
    for (Integer x = 0; x < std::min(p.Width, b.Width); ++x)
      row[x] = (row[x] & 0xFFFFFF) == (bg[x] & 0xFFFFFF) ? 0 : (row[x] | 0xFF000000u);
  }
}

// Src over Dst at (X, Y) with the constant alpha A: each source pixel with
// alpha weighs k = A * its alpha >> 8; the destination's alpha stays.
void BlendOver(TacBitmap* Dst, Integer X, Integer Y, TacBitmap* Src, Integer A) {
  const TPixelView32 d = PixelsOf(Dst), s = PixelsOf(Src);
  for (Integer y = std::max(0, -Y); y < s.Height && Y + y < d.Height; ++y) {
    const std::uint32_t* in = s.Row(y);
    std::uint32_t* out = d.Row(Y + y);
    for (Integer x = std::max(0, -X); x < s.Width && X + x < d.Width; ++x) {
      const std::uint32_t sp = in[x];
      const std::uint32_t k = (static_cast<std::uint32_t>(A) * (sp >> 24)) >> 8;
      if (!(sp >> 24)) continue;
      std::uint32_t& dp = out[X + x];
      std::uint32_t r = dp & 0xFF000000u;
      for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t dc = (dp >> shift) & 0xFF, sc = (sp >> shift) & 0xFF;
        r |= ((((255 - k) * dc + k * sc) >> 8) & 0xFF) << shift;
      }
      dp = r;
    }
  }
}

TWinControl* ClientControlOf(TWinControl* Control) {
  for (Integer i = 0; i < Control->ControlCount(); ++i) {
    auto* c = dynamic_cast<TWinControl*>(Control->Controls(i));
    if (c && c->Visible() && c->Align() == alClient) return c;
  }
  return Control;
}

void TakeChildRects(TWinControl* Control) {
  childRects.clear();
  TWinControl* client = ClientControlOf(Control);
  const Integer w = WidthOf(client), h = HeightOf(client);
  for (Integer i = 0; i < client->ControlCount(); ++i) {
    TControl* c = client->Controls(i);
    if (!c->Visible()) continue;
    childRects.push_back(TRect{std::max(0, c->Left() - kChildMargin), std::max(0, c->Top() - kChildMargin),
                               std::min(w, c->Left() + c->Width() + kChildMargin),
                               std::min(h, c->Top() + c->Height() + kChildMargin)});
  }
}

void FreeControlAnimation() {
  if (ow) ow->Free();
  ow = nullptr;
  snapshot.reset();
  background.reset();
  childRects.clear();
}

}  // namespace

void PrepareForAnimation(TWinControl* Control, TacAnimTypeCtrl Mode) {
  if (!Control || !Control->HandleAllocated()) return;
  const HWND wnd = Control->WindowHandle();
  const TRect r = WindowRectOf(wnd);
  if (!snapshot) snapshot = CreateBmp32(WidthOf(Control), HeightOf(Control));
  {
    TWindowDC screen(nullptr);
    BitBlt(snapshot->Canvas()->Handle(), 0, 0, r.Right - r.Left, r.Bottom - r.Top, screen.Handle(), r.Left, r.Top,
           SRCCOPY);
  }
  if (Mode == atcBlur) {
    TakeChildRects(Control);
    background = BackgroundOf(Control);
    MaskByBackground(snapshot.get(), background.get());
  }
  if (!ow) ow = Create<TOutputWindow>(Application);
  if (Control->Parent()) {
    ow->SetParent(Control->Parent());
    ow->SetBounds(Control->Left(), Control->Top(), WidthOf(Control), HeightOf(Control));
    SetWindowPos(ow->Handle(), wnd, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(ow->Handle(), SW_SHOWNA);
  } else {
    ow->SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    SetWindowPos(ow->Handle(), GetWindow(wnd, GW_HWNDPREV), 0, 0, 0, 0, kOutputPlacing);
  }
}

// The control branch of AnimShowControl: from the snapshot to the new look.
void AnimShowChangedControl(TWinControl* Control, Word Time, TacAnimTypeCtrl Mode) {
  if (!ow) PrepareForAnimation(Control, atcFade);
  if (!ow || !snapshot) {
    FreeControlAnimation();
    return;
  }
  const Integer w = WidthOf(Control), h = HeightOf(Control);
  std::unique_ptr<TacBitmap> image = CreateBmp32(w, h), work = CreateBmp32(w, h);
  SkinPaintTo(image.get(), Control, 0, 0, nullptr);
  const bool blur = Mode == atcBlur;
  if (blur) {
    if (!background) background = BackgroundOf(Control);
    MaskByBackground(image.get(), background.get());
  }
  const HDC out = GetWindowDC(ow->Handle());
  const Integer frames = AnimationFrames(Time);
  if (frames > 0) {
    const Integer s = 255 / frames;
    Integer old = 255, b = 128 - s;
    if (blur) QBlur(snapshot.get());
    for (Integer counter = 0; counter <= frames && old >= 0;) {
      const double start = AnimFrameClock();
      if (blur) {
        QBlur(snapshot.get());
        BlockCopy(work.get(), 0, 0, w, h, background.get(), 0, 0);
        if (counter == 0) {
          BlendOver(work.get(), 0, 0, snapshot.get(), b);
        } else if (b > 0) {
          const Integer grow = 2 * counter + 1;
          for (const TRect& c : childRects) {
            const TRect g{c.Left - grow, c.Top - grow, c.Right + grow, c.Bottom + grow};
            std::unique_ptr<TacBitmap> scratch = CreateBmp32(g.Right - g.Left, g.Bottom - g.Top);
            StretchCopy(scratch.get(), 0, 0, g.Right - g.Left, g.Bottom - g.Top, snapshot.get(), c.Left, c.Top,
                        c.Right - c.Left, c.Bottom - c.Top);
            BlendOver(work.get(), g.Left, g.Top, scratch.get(), b);
          }
        }
        BlendOver(work.get(), 0, 0, image.get(), 255 - old);
      } else {
        SumBitmapsByMask(work.get(), snapshot.get(), image.get(), nullptr, old);
      }
      BitBlt(out, 0, 0, w, h, work->Canvas()->Handle(), 0, 0, SRCCOPY);
      if (acMagnForm) {
        if (auto* m = dynamic_cast<TWinControl*>(acMagnForm)) SendAMessage(m->WindowHandle(), ACMD_SKIN_REPAINT);
      }
      ++counter;
      b = std::max<Integer>(0, b - s);
      old -= s;
      if (counter > frames) break;
      WaitAnimFrameEnd(start);
    }
  } else {
    BlockCopy(work.get(), 0, 0, w, h, image.get(), 0, 0);
  }
  if (!blur) {
    BitBlt(out, 0, 0, w, h, image->Canvas()->Handle(), 0, 0, SRCCOPY);
    BlockCopy(work.get(), 0, 0, w, h, image.get(), 0, 0);
  }
  InAnimationProcess = false;
  if (Control->Visible()) {
    SendMessageW(Control->WindowHandle(), WM_SETREDRAW, TRUE, 0);
    SetFormBlendValue(ow->Handle(), work.get(), 255);
    if (acWinVer > 5) RedrawWindow(Control->WindowHandle(), nullptr, nullptr, kShownRepaint);
    SetWindowPos(ow->Handle(), nullptr, 0, 0, 0, 0, kOutputHiding);
  }
  ReleaseDC(ow->Handle(), out);
  FreeControlAnimation();
}
