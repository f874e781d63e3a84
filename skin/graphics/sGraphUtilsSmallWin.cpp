// Small drawing tools on device contexts: arrows, turned fonts, a list's
// image in a bitmap and the region of a bitmap without its transparent colour.
#include "classlib/ui/ImgList.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

// One line of an arrow: pixels From..To (inclusive) of a row or a column.
void Line(TCanvas* Canvas, TColor Color, bool Row, int At, int From, int To) {
  for (int i = From; i <= To; ++i) {
    if (Row)
      Canvas->SetPixel(i, At, Color);
    else
      Canvas->SetPixel(At, i, Color);
  }
}

}  // namespace

void DrawColorArrow(TCanvas* Canvas, TColor Color, const TRect& R, TacSide Direction) {
  if (!Canvas) return;
  const int w = R.Width(), h = R.Height();
  if (Direction == asTop || Direction == asBottom) {
    const int x0 = R.Left + (w - 6) / 2 - 1, y0 = R.Top + (h - 3) / 2 - 1;
    // Line i (0 the widest) is 8 - 2i pixels long, the tip at the top or bottom.
    for (int i = 0; i < 4; ++i) {
      const int y = Direction == asTop ? y0 + 3 - i : y0 + i;
      Line(Canvas, Color, true, y, x0 + i, x0 + 7 - i);
    }
    return;
  }
  const int x0 = R.Left + (w - 3) / 2, y0 = R.Top + (h - 6) / 2;
  // Column i (0 the longest) is 7 - 2i pixels long, the tip at the left or right.
  for (int i = 0; i < 4; ++i) {
    const int x = Direction == asLeft ? x0 + 3 - i : x0 + i;
    Line(Canvas, Color, false, x, y0 + i, y0 + 6 - i);
  }
}

HFONT MakeAngledFont(HDC DC, TFont* Font, Integer Angle) {
  LOGFONTW lf{};
  lf.lfEscapement = Angle;
  lf.lfOrientation = Angle;
  lf.lfHeight = Font->Height();
  const TFontStyles style = Font->Style();
  lf.lfWeight = style.Contains(fsBold) ? 700 : 400;
  lf.lfItalic = style.Contains(fsItalic);
  lf.lfUnderline = style.Contains(fsUnderline);
  lf.lfStrikeOut = style.Contains(fsStrikeOut);
  lf.lfCharSet = Font->Charset();
  // The bitmap font cannot be turned: its outline neighbour stands in.
  const std::wstring face = winapi::W(Font->Name() == "MS Sans Serif" ? AnsiString("Arial") : Font->Name());
  wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  HFONT font = CreateFontIndirectW(&lf);
  auto old = static_cast<HFONT>(SelectObject(DC, font));
  SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(Font->Color())));
  // The font goes once the caller selects the old one back.
  DeleteObject(font);
  return old;
}

void CopyImage(TBitmap* Bmp, TCustomImageList* ImgList, Integer Index) {
  if (!Bmp || !ImgList) return;
  Bmp->SetSize(ImgList->Width(), ImgList->Height());
  const TColor background = ImgList->BkColor();
  TCanvas* canvas = Bmp->Canvas();
  canvas->Brush()->SetColor(background == clNone ? clFuchsia : background);
  canvas->FillRect(Rect(0, 0, Bmp->Width(), Bmp->Height()));
  ImgList->Draw(canvas, 0, 0, Index, true);
}

void GetRgnFromBmp(HRGN& Rgn, TBitmap* Bmp, TsColor Color) {
  TAOR runs;
  AddRgnBmp(runs, Bmp, Color);
  Rgn = CreateRectRgn(0, 0, BitmapWidth(Bmp), BitmapHeight(Bmp));
  for (const TRect& r : runs) {
    HRGN run = CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom);
    CombineRgn(Rgn, Rgn, run, RGN_DIFF);
    DeleteObject(run);
  }
}
