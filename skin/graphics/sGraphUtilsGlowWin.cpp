// Glow around text (the text drawn into an 8-bit mask, blurred and laid in a
// colour) and tints through a shape with a soft edge.
#include <algorithm>
#include <cmath>

#include "classlib/ui/Graphics.h"
#include "classlib/ui/PaintScope.h"
#include "skin/graphics/sGraphUtils.h"
#include "skin/graphics/sGraphUtilsTextWin.h"

using namespace gutils;

namespace {

// What distinguishes one font from another in drawing.
AnsiString FontKey(TFont* Font) {
  return Font->Name() + "|" + IntToStr(Font->Height()) + "|" + IntToStr(static_cast<Integer>(Font->Style().Bits())) +
         "|" + IntToStr(Font->Charset()) + "|" + IntToStr(static_cast<Integer>(Font->Pitch()));
}

bool SameGlow(const TacGlowMask& Mask, const AnsiString& Text, const AnsiString& Font, Cardinal Flags,
              Cardinal Sides, Integer BlurSize, TSize TextSize, int W, int H) {
  return Mask.Bmp && BitmapWidth(Mask.Bmp.get()) == W && BitmapHeight(Mask.Bmp.get()) == H &&
         BitmapFormat(Mask.Bmp.get()) == pf8bit && Mask.Text == Text && Mask.Font == Font && Mask.Flags == Flags &&
         Mask.Sides == Sides && Mask.BlurSize == BlurSize && Mask.TextSize == TextSize;
}

// The text in black on white, once moved to each side that is asked for and
// once in place, blurred.
void DrawMask(TacBitmap* Mask, TFont* Font, const char* Text, const TRect& T, Cardinal Flags, Cardinal Sides,
              Integer BlurSize) {
  FillBitmapRect(Mask, Rect(0, 0, BitmapWidth(Mask), BitmapHeight(Mask)), clWhite);
  TCanvas* c = Mask->Canvas();
  c->Font()->Assign(Font);
  c->Font()->SetColor(clBlack);
  c->Brush()->SetStyle(bsClear);
  HDC dc = FontDC(c);
  SetBkMode(dc, TRANSPARENT);
  const struct {
    Cardinal Side;
    int DX, DY;
  } sides[4] = {{1, -1, 0}, {2, 0, -1}, {4, 1, 0}, {8, 0, 1}};
  for (const auto& s : sides) {
    if (!(Sides & s.Side)) continue;
    TRect r = T;
    r.Offset(s.DX, s.DY);
    DrawTextIn(dc, Text, r, Flags);
  }
  DrawTextIn(dc, Text, T, Flags);
  GdiFlush();
  Blur8(Mask, BlurSize);
}

}  // namespace

void acDrawGlowForText(TacBitmap* Dst, const char* Text, const TRect& R, Cardinal Flags, Cardinal Sides,
                       Integer BlurSize, TColor Color, TacGlowMask& Mask) {
  if (!Dst || Dst->Empty()) return;
  const int m = BlurSize + 4;
  TRect r1 = R;
  r1.Offset(1, 1);
  const int w = std::max(r1.Width() + 2 * m, 0), h = std::max(r1.Height() + 2 * m, 0);
  const AnsiString text = Text ? Text : "";
  const AnsiString font = FontKey(Dst->Canvas()->Font());
  const TSize textSize{r1.Width(), r1.Height()};
  if (!SameGlow(Mask, text, font, Flags, Sides, BlurSize, textSize, w, h)) {
    Mask.Bmp = NewBitmap(pf8bit, w, h);
    Mask.Text = text;
    Mask.Font = font;
    Mask.Flags = Flags;
    Mask.Sides = Sides;
    Mask.BlurSize = BlurSize;
    Mask.TextSize = textSize;
    if (!Mask.Bmp->Empty())
      DrawMask(Mask.Bmp.get(), Dst->Canvas()->Font(), Text, Rect(m, m, m + r1.Width(), m + r1.Height()), Flags, Sides,
               BlurSize);
  }
  acPaintGlowMask(Dst, Mask.Bmp.get(), r1.Left - m, r1.Top - m, Color);
}

// ------------------------------------------------------------ shaped tints

namespace {

// The mask of a shaped tint: W x H, filled ring by ring without a pen. It
// starts white, so that the edge pixels the outer ring leaves out (a shape
// without a pen stops a pixel short of its right and bottom sides) keep the
// picture as the ring itself does.
class TTintMask {
 public:
  TTintMask(int W, int H) : FBmp(CreateBmp32(W, H)) { FillPixels(PixelsOf(FBmp.get()), 0xFFFFFFFFu); }
  TacBitmap* Bmp() const { return FBmp.get(); }
  template <class Shape>
  void Ring(int Gray, Shape Draw) {
    HDC dc = FBmp->Canvas()->Handle();
    TDCStateScope state(dc);
    HBRUSH brush = CreateSolidBrush(RGB(Gray, Gray, Gray));
    SelectObject(dc, GetStockObject(NULL_PEN));
    SelectObject(dc, brush);
    Draw(dc);
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(brush);
  }

 private:
  std::unique_ptr<TacBitmap> FBmp;
};

struct TTintSteps {
  int Blur, Radius, Keep;  // Keep: the level of the middle, Transparency * 255 div 100
  double Step;
  TTintSteps(int W, int H, Integer Transparency, Integer B, Integer R) {
    const int limit = std::min(W / 2, H / 2);
    Blur = std::min(B, limit);
    Radius = std::min(R, limit);
    Keep = Transparency * 255 / 100;
    Step = (255.0 - Keep) / (Blur + 1);
  }
};

// Copy blended toward Color by the mask (its drawing flushed first).
void FinishTint(TacBitmap* Copy, TacBitmap* Mask, TColor Color) {
  GdiFlush();
  BlendBmpByMask(Copy, Mask, Color);
}

}  // namespace

void FadeBmp(TacBitmap* Bmp, const TRect& R, Integer Transparency, TColor Color, Integer Blur, Integer Radius) {
  const int W = R.Width(), H = R.Height();
  if (!Bmp || W <= 0 || H <= 0) return;
  std::unique_ptr<TacBitmap> copy = CreateBmp32(W, H);
  BlockCopy(copy.get(), 0, 0, W, H, Bmp, R.Left, R.Top);
  TTintMask mask(W, H);
  const TTintSteps t(W, H, Transparency, Blur, Radius);
  for (int i = 0; i <= t.Blur; ++i) {
    const int v = i == 0 ? 255 : static_cast<int>(std::trunc(t.Step * (t.Blur - i + 1))) + t.Keep;
    mask.Ring(v, [&](HDC dc) { RoundRect(dc, i, i, W - i, H - i, t.Radius, t.Radius); });
  }
  mask.Ring(t.Keep, [&](HDC dc) { RoundRect(dc, t.Blur, t.Blur, W - t.Blur, H - t.Blur, t.Blur, t.Blur); });
  FinishTint(copy.get(), mask.Bmp(), Color);
  BlockCopy(Bmp, R.Left, R.Top, W, H, copy.get(), 0, 0);
}

void FadeRect(TCanvas* SrcCanvas, TRect SrcRect, HDC DstDC, TPoint DstPoint, Integer Transparency, TColor Color,
              Integer Blur, TsShadowingShape Shape, Integer Radius) {
  const int W = SrcRect.Width(), H = SrcRect.Height();
  if (!SrcCanvas || W <= 0 || H <= 0) return;
  if (Transparency <= 0) {
    FillDC(DstDC, Bounds(DstPoint.X, DstPoint.Y, W, H), Color);
    return;
  }
  HDC src = SrcCanvas->Handle();
  if (Transparency >= 100) {
    BitBlt(DstDC, DstPoint.X, DstPoint.Y, W, H, src, SrcRect.Left, SrcRect.Top, SRCCOPY);
    return;
  }
  std::unique_ptr<TacBitmap> copy = CreateBmp32(W, H);
  BitBlt(copy->Canvas()->Handle(), 0, 0, W, H, src, SrcRect.Left, SrcRect.Top, SRCCOPY);
  TTintMask mask(W, H);
  const TTintSteps t(W, H, Transparency, Blur, Radius);
  for (int i = 0; i <= t.Blur; ++i) {
    const int v = static_cast<int>(std::nearbyint(t.Step * (t.Blur - i))) + t.Keep;
    mask.Ring(v, [&](HDC dc) {
      if (Shape == ssEllipse)
        Ellipse(dc, i, i, W - i, H - i);
      else
        RoundRect(dc, i, i, W - i + 1, H - i + 1, t.Blur + t.Radius, t.Blur + t.Radius);
    });
  }
  FinishTint(copy.get(), mask.Bmp(), Color);
  BitBlt(DstDC, DstPoint.X, DstPoint.Y, W, H, copy->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void FadeRect(TCanvas* SrcCanvas, TRect SrcRect, HDC DstDC, TPoint DstPoint, Integer Transparency, TColor Color,
              Integer Blur, TsShadowingShape Shape) {
  FadeRect(SrcCanvas, SrcRect, DstDC, DstPoint, Transparency, Color, Blur, Shape, 0);
}
