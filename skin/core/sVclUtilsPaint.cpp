// Painting controls: a parent's background under a control, the graphic
// children of a container through one off-screen bitmap, and a control with
// its children copied into a bitmap as it looks.
#include <vector>

#include "classlib/ui/PaintScope.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

// A bitmap object of the platform (DeleteObject at the end).
class TGdiBitmap {
 public:
  TGdiBitmap(HDC Compatible, int W, int H) : FBitmap(CreateCompatibleBitmap(Compatible, W, H)) {}
  ~TGdiBitmap() {
    if (FBitmap) DeleteObject(FBitmap);
  }
  TGdiBitmap(const TGdiBitmap&) = delete;
  TGdiBitmap& operator=(const TGdiBitmap&) = delete;
  HBITMAP Handle() const { return FBitmap; }

 private:
  HBITMAP FBitmap;
};

void FillRectDC(HDC DC, const TRect& R, TColor Color) {
  HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Color)));
  RECT r{R.Left, R.Top, R.Right, R.Bottom};
  FillRect(DC, &r, brush);
  DeleteObject(brush);
}

HDC BitmapDC(TacBitmap* Bmp) { return Bmp->Canvas()->Handle(); }

bool IsPaintableGraphic(TControl* C, HDC DC) {
  if (dynamic_cast<TWinControl*>(C)) return false;
  if (C->Width() <= 0 || C->Height() <= 0) return false;
  if (!C->Visible() && !IsDesigning(C)) return false;
  if (C->ControlStyle().Contains(csNoDesignVisible) || IsDestroying(C)) return false;
  RECT r{C->Left(), C->Top(), C->Left() + C->Width(), C->Top() + C->Height()};
  return RectVisible(DC, &r) != FALSE;
}

// The background under one child in the off-screen DC (owner coordinates).
void PutBackground(HDC Mem, TControl* C, const TacBGInfo& B) {
  const TRect r = C->BoundsRect();
  if (C->ControlStyle().Contains(csOpaque)) {
    FillRectDC(Mem, r, GetControlColor(C));
    return;
  }
  if (!B.Bmp) {
    FillRectDC(Mem, r, B.Color);
    return;
  }
  HDC src = BitmapDC(B.Bmp);
  if (B.BgType == btCache) {
    BitBlt(Mem, r.Left, r.Top, r.Width(), r.Height(), src, r.Left + B.Offset.X, r.Top + B.Offset.Y, SRCCOPY);
    return;
  }
  // A flat colour with strips of the owner's border in its bitmap.
  FillRectDC(Mem, r, B.Color);
  const int bw = B.Bmp->Width(), bh = B.Bmp->Height();
  if (r.Top < B.Borders.Top)
    BitBlt(Mem, r.Left, r.Top, r.Width(), B.Borders.Top - r.Top, src, r.Left, r.Top, SRCCOPY);
  if (r.Left < B.Borders.Left)
    BitBlt(Mem, r.Left, r.Top, B.Borders.Left - r.Left, r.Height(), src, r.Left, r.Top, SRCCOPY);
  const int bottomEdge = bh - B.Borders.Bottom;
  if (bottomEdge < r.Bottom + B.Offset.Y && B.Offset.Y >= 0)
    BitBlt(Mem, r.Left, bottomEdge, r.Width(), r.Bottom - bottomEdge, src, r.Left, bottomEdge + B.Offset.Y, SRCCOPY);
  const int rightEdge = bw - B.Borders.Right;
  if (rightEdge < r.Right + B.Offset.X && B.Offset.X >= 0)
    BitBlt(Mem, rightEdge, r.Top, r.Right - rightEdge, r.Height(), src, rightEdge + B.Offset.X, r.Top, SRCCOPY);
}

// One graphic child painted into the off-screen DC at its place.
void PaintChildInto(HDC Mem, TWinControl* Owner, TControl* C) {
  TDCStateScope state(Mem);
  SetWindowOrgEx(Mem, -C->Left(), -C->Top(), nullptr);
  IntersectClipRect(Mem, 0, 0, C->Width(), C->Height());
  const TControlState saved = C->ControlState();
  if (Owner->ControlState().Contains(csPaintCopy)) {
    TControlState s = saved;
    s.Include(csPaintCopy);
    C->SetControlState(s);
  }
  struct TRestore {
    TControl* C;
    TControlState S;
    ~TRestore() { C->SetControlState(S); }
  } restore{C, saved};
  C->Perform(WM_PAINT, reinterpret_cast<WPARAM>(Mem), 0);
}

}  // namespace

void PaintParentBG(TControl* Control, TacBitmap* Bmp) {
  if (!Control || !Bmp || !Control->Parent()) return;
  TacBGInfo bg;
  GetBGInfo(&bg, Control->Parent()->Handle(), false);
  Bmp->SetPixelFormat(pf32bit);
  Bmp->SetSize(Control->Width(), Control->Height());
  const TRect all{0, 0, Control->Width(), Control->Height()};
  if (bg.BgType == btFill) {
    FillBitmapRect(Bmp, all, bg.Color);
  } else if (bg.BgType == btCache && bg.Bmp) {
    BlockCopy(Bmp, 0, 0, all.Width(), all.Height(), bg.Bmp, bg.Offset.X + Control->Left(),
              bg.Offset.Y + Control->Top());
  } else {
    FillBitmapRect(Bmp, all, GetControlColor(Control));
  }
}

void PaintControls(HDC DC, TWinControl* Owner, bool, const TPoint& Offset, HDC, bool CheckVisible) {
  if (acGraphPainting) return;
  TFlagScope painting(acGraphPainting);
  if (CheckVisible && !Owner->Visible() && !IsDesigning(Owner)) return;
  if (Owner->ControlCount() == 0) return;
  RECT clip{};
  if (GetClipBox(DC, &clip) == NULLREGION || clip.right == clip.left || clip.bottom == clip.top) {
    if (Owner->HandleAllocated()) SendAMessage(Owner->WindowHandle(), ACMD_FLAG_OFFSCREEN);
    return;
  }
  TacBGInfo bg;
  GetBGInfo(&bg, Owner, false);
  std::vector<TControl*> children;
  for (int i = 0; i < Owner->ControlCount(); ++i)
    if (TControl* c = Owner->Controls(i); IsPaintableGraphic(c, DC)) children.push_back(c);
  if (children.empty()) return;
  TMemoryDC mem(nullptr);
  TWindowDC screen;
  TGdiBitmap offscreen(screen.Handle(), Owner->Width(), Owner->Height());
  TSelectScope select(mem.Handle(), offscreen.Handle());
  for (TControl* c : children) PutBackground(mem.Handle(), c, bg);
  for (TControl* c : children) PaintChildInto(mem.Handle(), Owner, c);
  for (TControl* c : children) {
    if (GetPixel(mem.Handle(), c->Left(), c->Top()) == RGB(0xFF, 0x00, 0xFF)) continue;
    BitBlt(DC, c->Left() + Offset.X, c->Top() + Offset.Y, c->Width(), c->Height(), mem.Handle(), c->Left(),
           c->Top(), SRCCOPY);
  }
}

void SkinPaintTo(TacBitmap* Bmp, TControl* Control, Integer Left, Integer Top, TComponent* SkinProvider) {
  if (!Bmp || !Control) return;
  HDC dc = BitmapDC(Bmp);
  auto* provider = dynamic_cast<TsSkinProvider*>(SkinProvider);
  if (!SkinProvider && !Control->Visible() && Control->Parent()) {
    TacBGInfo bg;
    GetBGInfo(&bg, Control->Parent(), false);
    if (bg.BgType == btCache && bg.Bmp)
      BitBlt(dc, Left, Top, Control->Width(), Control->Height(), BitmapDC(bg.Bmp), bg.Offset.X + Control->Left(),
             bg.Offset.Y + Control->Top(), SRCCOPY);
    else
      FillRectDC(dc, TRect{Left, Top, Left + Control->Width(), Top + Control->Height()}, bg.Color);
    return;
  }
  const bool extendedBorders = provider && provider->BorderForm;
  TDCStateScope state(dc);
  if (!extendedBorders) IntersectClipRect(dc, 0, 0, Control->Width(), Control->Height());
  const auto dcParam = reinterpret_cast<LPARAM>(dc);
  auto* w = dynamic_cast<TWinControl*>(Control);
  if (!w) {
    Control->Perform(SM_ALPHACMD, AlphaCmdParam(ACMD_PRINT_MODE), dcParam);
    Control->Perform(WM_PRINT, reinterpret_cast<WPARAM>(dc), 0);
    Control->Perform(SM_ALPHACMD, AlphaCmdParam(ACMD_PRINT_MODE), 0);
    return;
  }
  const HWND wnd = w->Handle();
  if (GetBoolMsg(wnd, ACMD_QUERY_HOOKED)) {
    SendAMessage(wnd, ACMD_PRINT_MODE, dcParam);
    SendMessageW(wnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), 0);
    SendAMessage(wnd, ACMD_PRINT_MODE, 0);
  } else {
    w->PaintTo(dc, 0, 0);
  }
  PaintChildCtrls(w, Bmp);
  if (extendedBorders) {
    TRect client = w->ClientRect();
    client.Offset(provider->OffsetX(), provider->OffsetY());
    if (client.Bottom > Bmp->Height() - 1) client.Bottom = Bmp->Height() - 1;
    FillAlphaRect(Bmp, client, 255, clNoColor);
  }
}

void PaintChildCtrls(TWinControl* Control, TacBitmap* Bmp) {
  HDC dc = BitmapDC(Bmp);
  for (int i = 0; i < Control->ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(Control->Controls(i));
    if (!child || !child->Visible() || !child->HandleAllocated()) continue;
    TDCStateScope state(dc);
    const bool topForm = dynamic_cast<TCustomForm*>(child) && !child->Parent();
    if (!topForm) {
      POINT old;
      OffsetWindowOrgEx(dc, -child->Left(), -child->Top(), &old);
    }
    SkinPaintTo(Bmp, child, child->Left(), child->Top(), nullptr);
  }
}
