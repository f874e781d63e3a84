// The graphics utilities' Windows side: the unit's start (the layered-window
// functions of the system), the 3-D frame, textures tiled on any canvas, the
// layout of a button's glyph and caption, and texture files.
#include <algorithm>
#include <utility>

#include "classlib/ui/Graphics.h"
#include "classlib/ui/PaintScope.h"
#include "skin/graphics/acPaintManager.h"
#include "skin/graphics/acTinyJPG.h"
#include "skin/graphics/sGraphUtils.h"
#include "skin/graphics/sGraphUtilsTiling.h"

// ------------------------------------------------------------ start and end

namespace sgraphutils {
HMODULE User32Lib = nullptr;
TacUpdateLayeredWindow UpdateLayeredWindow = nullptr;
TacSetLayeredWindowAttributes SetLayeredWindowAttributes = nullptr;
}  // namespace sgraphutils

namespace {
template <class Fn>
Fn EntryPoint(HMODULE Module, const char* Name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(Module, Name)));
}

struct TUnitStart {
  TUnitStart() {
    namespace u = sgraphutils;
    if (u::UpdateLayeredWindow) return;
    u::User32Lib = LoadLibraryA("user32.dll");
    if (!u::User32Lib) return;
    u::UpdateLayeredWindow = EntryPoint<TacUpdateLayeredWindow>(u::User32Lib, "UpdateLayeredWindow");
    u::SetLayeredWindowAttributes =
        EntryPoint<TacSetLayeredWindowAttributes>(u::User32Lib, "SetLayeredWindowAttributes");
  }
  ~TUnitStart() {
    if (sgraphutils::User32Lib) FreeLibrary(sgraphutils::User32Lib);
    sgraphutils::User32Lib = nullptr;
  }
  TUnitStart(const TUnitStart&) = delete;
  TUnitStart& operator=(const TUnitStart&) = delete;
} start;
}  // namespace

bool acLayered() { return sgraphutils::UpdateLayeredWindow != nullptr; }

// ------------------------------------------------------------ 3-D frame

void DrawRectangleOnDC(HDC DC, TRect& R, TColor ColorTop, TColor ColorBottom, Integer& Width) {
  HPEN topLeft = CreatePen(PS_SOLID, 1, static_cast<COLORREF>(ColorToRGB(ColorTop)));
  HPEN bottomRight = CreatePen(PS_SOLID, 1, static_cast<COLORREF>(ColorBottom));
  HGDIOBJ oldPen = SelectObject(DC, topLeft);
  HGDIOBJ oldBrush = SelectObject(DC, GetStockObject(HOLLOW_BRUSH));
  --R.Right;
  --R.Bottom;
  while (Width > 0) {
    --Width;
    SelectObject(DC, topLeft);
    const POINT first[3] = {{R.Left, R.Bottom}, {R.Left, R.Top}, {R.Right, R.Top}};
    Polyline(DC, first, 3);
    SelectObject(DC, bottomRight);
    const POINT second[3] = {{R.Right, R.Top}, {R.Right, R.Bottom}, {R.Left - 1, R.Bottom}};
    Polyline(DC, second, 3);
    ++R.Left;
    ++R.Top;
    --R.Right;
    --R.Bottom;
  }
  ++R.Right;
  ++R.Bottom;
  SelectObject(DC, oldPen);
  SelectObject(DC, oldBrush);
  DeleteObject(topLeft);
  DeleteObject(bottomRight);
}

// ------------------------------------------------------------ textures on a canvas

namespace {
// Copies and stretches from a source DC onto a canvas's DC.
class TDCTarget : public gutils::TTileTarget {
 public:
  TDCTarget(HDC Dst, HDC Src) : FDst(Dst), FSrc(Src) {}
  void Copy(const TRect& D, int SX, int SY) const override {
    if (D.Width() > 0 && D.Height() > 0) BitBlt(FDst, D.Left, D.Top, D.Width(), D.Height(), FSrc, SX, SY, SRCCOPY);
  }
  void Stretch(const TRect& D, const TRect& S) const override {
    if (D.IsEmpty() || S.IsEmpty()) return;
    const int old = SetStretchBltMode(FDst, COLORONCOLOR);
    StretchBlt(FDst, D.Left, D.Top, D.Width(), D.Height(), FSrc, S.Left, S.Top, S.Width(), S.Height(), SRCCOPY);
    SetStretchBltMode(FDst, old);
  }

 private:
  HDC FDst, FSrc;
};

// The picture as a bitmap: a bitmap as it is, a JPEG texture drawn into one
// (kept in Holder); nullptr for an empty picture or another kind.
TBitmap* PictureBitmap(TObject* Graphic, std::unique_ptr<TBitmap>& Holder) {
  if (auto* bmp = dynamic_cast<TBitmap*>(Graphic)) return bmp->Empty() || bmp->Width() == 0 ? nullptr : bmp;
  if (auto* jpeg = dynamic_cast<TacTinyJPGImage*>(Graphic); jpeg && !jpeg->Empty()) {
    TacPixelBuffer pixels;
    jpeg->Draw(pixels);
    Holder = BitmapFromBuffer(pixels);
    return Holder.get();
  }
  return nullptr;
}
}  // namespace

void TileBitmap(TCanvas* Canvas, const TRect& R, TObject* Graphic) {
  std::unique_ptr<TBitmap> holder;
  TBitmap* picture = PictureBitmap(Graphic, holder);
  if (!Canvas || !picture || picture->Height() == 0) return;
  // The canvas stops telling about changes (as the painters want it).
  Canvas->OnChange = nullptr;
  Canvas->OnChanging = nullptr;
  gutils::TilePicture(TDCTarget(Canvas->Handle(), picture->Canvas()->Handle()), R, picture->Width(),
                      picture->Height());
}

void TileBitmap(TCanvas* Canvas, TRect& R, TObject* Graphic, const TsMaskData& MD, TacFillMode FillMode) {
  std::unique_ptr<TBitmap> holder;
  if (PictureBitmap(Graphic, holder)) {
    TileBitmap(Canvas, R, Graphic);
    R = acNothingLeft;
    return;
  }
  TacBitmap* src = ImageBitmap(MD);
  if (!Canvas || !src || src->Empty()) return;
  gutils::TileImage(TDCTarget(Canvas->Handle(), src->Canvas()->Handle()), R, MD.SrcRect, FillMode);
}

// ------------------------------------------------------------ button layout

void CalcButtonLayout(const TRect& Client, TPoint GlyphSize, TPoint TextSize, TButtonLayout Layout,
                      TAlignment Alignment, Integer Margin, Integer Spacing, TPoint& GlyphPos, TRect& TextBounds,
                      Cardinal BiDiFlags) {
  if (BiDiFlags & DT_RIGHT) {
    if (Layout == blGlyphLeft)
      Layout = blGlyphRight;
    else if (Layout == blGlyphRight)
      Layout = blGlyphLeft;
  }
  const bool across = Layout == blGlyphLeft || Layout == blGlyphRight;
  const int cw = Client.Width(), ch = Client.Height(), gx = GlyphSize.X, gy = GlyphSize.Y, tx = TextSize.X,
            ty = TextSize.Y;
  TextBounds = Rect(0, 0, tx, ty);
  TPoint glyph, text;
  if (across) {
    glyph.Y = (ch - gy + 1) / 2;
    text.Y = (ch - ty + 1) / 2;
  } else {
    glyph.X = (cw - gx + 1) / 2;
    text.X = (cw - tx + 1) / 2;
  }
  if (tx == 0 || gx == 0) Spacing = 0;
  // Along the layout: the client's length and what glyph and text take of it.
  const int length = across ? cw : ch, glyphLen = across ? gx : gy, textLen = across ? tx : ty;
  if (Margin == -1) {
    if (Spacing < 0)
      Margin = Spacing = (length - (glyphLen + textLen)) / 3;
    else
      Margin = Alignment == taCenter ? (length - (glyphLen + Spacing + textLen) + 1) / 2 : 2;
  } else if (Spacing < 0) {
    Spacing = ((length - (Margin + glyphLen)) - textLen) / 2;
  }
  switch (Layout) {
    case blGlyphLeft:
      if (Alignment == taLeftJustify) {
        glyph.X = Margin;
        text.X = Margin + gx + Spacing;
        TextBounds.Right = std::min(tx, Client.Right - Margin - text.X);
      } else if (Alignment == taRightJustify) {
        text.X = cw - Margin - tx;
        glyph.X = text.X - Spacing - gx;
      } else {
        Margin = std::max((cw - tx - Spacing - gx) / 2, Margin);
        glyph.X = Margin;
        text.X = Margin + Spacing + gx;
      }
      break;
    case blGlyphRight:
      if (Alignment == taLeftJustify) {
        glyph.X = Margin + tx + Spacing;
        text.X = glyph.X - Spacing - tx;
      } else if (Alignment == taRightJustify) {
        glyph.X = cw - Margin - gx;
        text.X = glyph.X - Spacing - tx;
      } else {
        text.X = (cw - tx - Spacing - gx) / 2;
        glyph.X = text.X + Spacing + tx;
      }
      break;
    case blGlyphTop: {
      const int d = (ch - gy - Spacing - ty) / 2;
      glyph.Y = d;
      text.Y = d + gy + Spacing;
      break;
    }
    default: {
      const int d = (ch - gy - Spacing - ty) / 2 - Margin;
      glyph.Y = ch - Margin - gy - d;
      text.Y = glyph.Y - Spacing - ty;
      break;
    }
  }
  GlyphPos = Point(glyph.X + Client.Left, glyph.Y + Client.Top);
  TextBounds.Offset(text.X + Client.Left, text.Y + Client.Top);
}

// ------------------------------------------------------------ texture files

void LoadJpegOrBmp(TPicture* Image, const AnsiString& FileName, bool Gray) {
  if (!Image) return;
  if (!FileExists(FileName)) {
    Image->SetGraphic(nullptr);
    return;
  }
  const AnsiString ext = UpperCase(ExtractFileExt(FileName));
  if (ext == ".JPG" || ext == ".JPEG") {
    TacTinyJPGImage jpeg;
    jpeg.LoadFromFile(FileName);
    TacPixelBuffer pixels;
    jpeg.Draw(pixels);
    std::unique_ptr<TBitmap> bmp = BitmapFromBuffer(pixels);
    Image->SetGraphic(bmp.get());
  } else if (ext == ".BMP") {
    Image->LoadFromFile(FileName);
    Image->Bitmap()->SetPixelFormat(pf32bit);
    if (Gray) GrayScale(Image->Bitmap());
  }
}
