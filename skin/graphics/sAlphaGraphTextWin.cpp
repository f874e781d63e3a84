// Text in a section's font colours written into a 32-bit bitmap: every pass
// drawn black on white into a bitmap of the text rectangle's size, whose
// pixels then weigh the colour against the target's pixels per channel (the
// platform's sub-pixel smoothing kept); every touched pixel becomes opaque.
#include "classlib/ui/PaintScope.h"
#include "classlib/ui/WinApi.h"
#include "skin/core/acntUtils.h"
#include "skin/graphics/acScratchBitmap.h"
#include "skin/graphics/acSectionLook.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

// The text black on white into the lease's area of Shades (clipped to it, as
// a bitmap of that size would be).
void RenderText(TacBitmap* Bmp, const char* Text, const TacScratchBitmap& Shades, Cardinal Flags, bool Plain) {
  FillRect32(Shades.Bitmap(), Shades.Area(), 0xFFFFFF, 0);
  TCanvas* canvas = Shades.Bitmap()->Canvas();
  canvas->Font()->Assign(Bmp->Canvas()->Font());
  HDC dc = canvas->Handle();
  TDCStateScope state(dc);
  SetTextColor(dc, 0);
  SetBkColor(dc, 0xFFFFFF);
  TRect box = Shades.Area();
  IntersectClipRect(dc, box.Left, box.Top, box.Right, box.Bottom);
  if (Plain) {
    const std::wstring wide = winapi::W(Text);
    RECT rc{box.Left, box.Top, box.Right, box.Bottom};
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rc, Flags);
  } else {
    acDrawText(dc, Text, box, Flags);
  }
  GdiFlush();
}

// One pass of the text in Color at R.
void TextPass(TacBitmap* Bmp, const char* Text, const TRect& R, Cardinal Flags, TColor Color, bool Plain) {
  const TacScratchBitmap shades(R.Width(), R.Height());
  if (shades.Bitmap()->Empty()) return;
  RenderText(Bmp, Text, shades, Flags, Plain);
  TPixelView32 view = PixelsOf(shades.Bitmap());
  view.Width = shades.Width();
  view.Height = shades.Height();
  acsection::LayTextShades(Bmp, view, R.TopLeft(), Color);
}

TRect MovedBy(const TRect& R, int dx, int dy) { return Rect(R.Left + dx, R.Top + dy, R.Right + dx, R.Bottom + dy); }

}  // namespace

void WriteText32(TacBitmap* Bmp, const char* Text, bool Outline, TRect& R, Cardinal Flags, Integer SkinIndex, bool Hot,
                 TsSkinManager* SkinManager, bool PlainDraw) {
  if (!Text || !Bmp || R.Width() <= 0 || R.Height() <= 0) return;
  TsSkinManager* manager = acManagerOr(SkinManager);
  if (!manager || !manager->IsValidSkinIndex(SkinIndex)) {
    TextPass(Bmp, Text, R, Flags, Bmp->Canvas()->Font()->Color(), PlainDraw);
    return;
  }
  const TsGeneralData& section = manager->Sections[static_cast<size_t>(SkinIndex)];
  const TsFontColor& colors = section.Props[Hot && section.StateCount > 0 ? 1 : 0].FontColor;
  if (Outline) {
    const struct {
      TColor Color;
      int Dx, Dy;
    } outlines[] = {{colors.Left, -1, 0}, {colors.Top, 0, -1}, {colors.Right, 1, 0}, {colors.Bottom, 0, 1}};
    for (const auto& o : outlines)
      if (o.Color != -1) TextPass(Bmp, Text, MovedBy(R, o.Dx, o.Dy), Flags, o.Color, PlainDraw);
  }
  TextPass(Bmp, Text, R, Flags, colors.Color, PlainDraw);
}
