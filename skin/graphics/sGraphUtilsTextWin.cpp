// Fills of device contexts and text output: solid fills and border strips,
// border frames copied between DCs, graphic children kept out of the clip,
// shortened, plain, embossed and skin-coloured text, text sizes and the
// dotted focus frame.
#include <algorithm>

#include "classlib/ui/Controls.h"
#include "classlib/ui/Graphics.h"
#include "classlib/ui/PaintScope.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sDefaults.h"
#include "skin/core/sStyleSimply.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/acPaintManager.h"
#include "skin/graphics/sGraphUtils.h"
#include "skin/graphics/sGraphUtilsTextWin.h"

using winapi::W;

namespace {
COLORREF Ref(TColor Color) { return static_cast<COLORREF>(ColorToRGB(Color)); }

int DrawTextOf(HDC DC, const char* Text, TRect& R, Cardinal Flags) {
  const std::wstring w = W(AnsiString(Text ? Text : ""));
  return DrawTextW(DC, w.c_str(), static_cast<int>(w.size()), reinterpret_cast<RECT*>(&R), Flags);
}
}  // namespace

namespace gutils {
HDC FontDC(TCanvas* Canvas) {
  HDC dc = Canvas->Handle();
  SelectObject(dc, Canvas->Font()->Handle());
  SetTextColor(dc, Ref(Canvas->Font()->Color()));
  return dc;
}

int DrawTextIn(HDC DC, const char* Text, TRect R, Cardinal Flags) { return DrawTextOf(DC, Text, R, Flags); }
}  // namespace gutils

using namespace gutils;

namespace {

TSize ExtentOf(HDC DC, const char* Text) {
  TSize s;
  acGetTextExtent(DC, AnsiString(Text ? Text : ""), s);
  return s;
}

// The rectangle fitted to text of size T: centred, right-aligned or from the
// left as the flags say, vertically centred on R. NoNegative counts negative
// widths as 0.
TRect FitToText(TRect R, TSize T, Cardinal Flags, bool NoNegative) {
  auto width = [NoNegative](int w) { return NoNegative ? std::max(w, 0) : w; };
  const int dy = (T.cy - R.Height()) / 2;
  if (Flags & DT_CENTER) {
    const int dx = (width(T.cx) - width(R.Width())) / 2;
    R = Rect(R.Left - dx, R.Top - dy, R.Right + dx, R.Bottom + dy);
  } else if (Flags & DT_RIGHT) {
    R.Top -= dy;
    R.Bottom += dy;
    R.Left += width(R.Width()) - width(T.cx);
  } else {
    R.Top -= dy;
    R.Bottom += dy;
    R.Right += T.cx - R.Width();
  }
  return R;
}

TRect Grown(TRect R) { return Rect(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1); }
TRect Moved(TRect R, int DX, int DY) {
  R.Offset(DX, DY);
  return R;
}

// Whether a control is a skinned splitter (or derives from one).
bool IsSkinnedSplitter(TControl* Control) {
  for (TClass c = Control->ClassType(); c; c = c->ClassParent())
    if (c->ClassName() == "TsSplitter") return true;
  return false;
}

}  // namespace

// ------------------------------------------------------------ fills and frames

void FillDC(HDC DC, const TRect& R, TColor Color) {
  TDCStateScope state(DC);
  HBRUSH brush = CreateSolidBrush(Ref(Color));
  FillRect(DC, reinterpret_cast<const RECT*>(&R), brush);
  DeleteObject(brush);
}

void FillDCBorder(HDC DC, const TRect& R, Integer WidthLeft, Integer WidthTop, Integer WidthRight,
                  Integer WidthBottom, TColor Color) {
  TDCStateScope state(DC);
  HBRUSH brush = CreateSolidBrush(Ref(Color));
  const TRect strips[4] = {
      Rect(R.Left, R.Top, R.Right, R.Top + WidthTop),
      Rect(R.Left, R.Top + WidthTop, R.Left + WidthLeft, R.Bottom),
      Rect(R.Left + WidthLeft, R.Bottom - WidthBottom, R.Right, R.Bottom),
      Rect(R.Right - WidthRight, R.Top + WidthTop, R.Right, R.Bottom - WidthBottom),
  };
  for (const TRect& s : strips) FillRect(DC, reinterpret_cast<const RECT*>(&s), brush);
  DeleteObject(brush);
}

void BitBltBorder(HDC DestDC, Integer X, Integer Y, Integer Width, Integer Height, HDC SrcDC, Integer SrcX,
                  Integer SrcY, Integer BorderWidth) {
  const int bw = BorderWidth;
  auto copy = [&](int dx, int dy, int w, int h) {
    BitBlt(DestDC, X + dx, Y + dy, w, h, SrcDC, SrcX + dx, SrcY + dy, SRCCOPY);
  };
  copy(0, 0, bw, Height);
  copy(bw, 0, Width - bw, bw);
  copy(Width - bw, bw, bw, Height - bw);
  copy(bw, Height - bw, Width - bw, bw);
}

void ExcludeControls(HDC DC, TWinControl* Ctrl, TacCtrlType, Integer OffsetX, Integer OffsetY) {
  if (!Ctrl || StdTransparency) return;
  for (int i = 0; i < Ctrl->ControlCount(); ++i) {
    TControl* c = Ctrl->Controls(i);
    if (!c || dynamic_cast<TWinControl*>(c) || !c->Visible() || IsSkinnedSplitter(c)) continue;
    ExcludeClipRect(DC, c->Left() + OffsetX, c->Top() + OffsetY, c->Left() + c->Width() + OffsetX,
                    c->Top() + c->Height() + OffsetY);
  }
}

// ------------------------------------------------------------ text

AnsiString CutText(TCanvas* Canvas, const AnsiString& Text, Integer MaxLength) {
  if (MaxLength < 1) return AnsiString();
  AnsiString result = Text;
  if (result.empty() || Canvas->TextWidth(result) <= MaxLength) return result;
  while (!result.empty() && Canvas->TextWidth(result + "...") > MaxLength) result.pop_back();
  if (!result.empty()) result += "...";
  return result;
}

void WriteText(TCanvas* Canvas, const char* Text, bool Enabled, TRect& R, Cardinal Flags) {
  HDC dc = FontDC(Canvas);
  TRect fitted = R;
  if (!(Flags & DT_WORDBREAK)) {
    fitted = FitToText(R, ExtentOf(dc, Text), Flags, true);
    R = Grown(fitted);
  }
  Canvas->Brush()->SetStyle(bsClear);
  if (!Text) return;
  dc = FontDC(Canvas);
  SetBkMode(dc, TRANSPARENT);
  if (Enabled) {
    DrawTextIn(dc, Text, fitted, Flags);
    return;
  }
  Canvas->Font()->SetColor(clBtnHighlight);
  DrawTextIn(FontDC(Canvas), Text, Moved(fitted, 1, 1), Flags);
  Canvas->Font()->SetColor(clBtnShadow);
  DrawTextIn(FontDC(Canvas), Text, fitted, Flags);
}

void WriteTextOnDC(HDC DC, const char* Text, bool Enabled, TRect& R, Cardinal Flags) {
  SetBkMode(DC, TRANSPARENT);
  TRect fitted = R;
  if (!(Flags & DT_WORDBREAK)) {
    fitted = FitToText(R, ExtentOf(DC, Text), Flags, false);
    R = Grown(fitted);
  }
  if (!Text) return;
  if (!Enabled) DrawTextIn(DC, Text, Moved(fitted, 1, 1), Flags);
  DrawTextIn(DC, Text, fitted, Flags);
}

Integer acDrawText(HDC DC, const AnsiString& Text, TRect& R, Cardinal Flags) {
  return DrawTextOf(DC, Text.c_str(), R, Flags);
}

TSize acTextExtent(TCanvas* Canvas, const AnsiString& Text) { return Canvas->TextExtent(Text); }
Integer acTextWidth(TCanvas* Canvas, const AnsiString& Text) { return acTextExtent(Canvas, Text).cx; }
Integer acTextHeight(TCanvas* Canvas, const AnsiString& Text) { return acTextExtent(Canvas, Text).cy; }
void acTextRect(TCanvas* Canvas, const TRect& R, Integer X, Integer Y, const AnsiString& Text) {
  Canvas->TextRect(R, X, Y, Text);
}

bool acGetTextExtent(HDC DC, const AnsiString& Text, TSize& Size) {
  const std::wstring w = W(Text);
  SIZE s{};
  const bool ok = GetTextExtentPoint32W(DC, w.c_str(), static_cast<int>(w.size()), &s) != 0;
  Size = TSize{s.cx, s.cy};
  return ok;
}

namespace {

// The text in its outline colours (those that are not -1), one pixel to the
// left, up, right and down, then in its font colour (with LastFlags); every
// colour through Adjust.
template <class TAdjust>
void DrawOutlined(HDC DC, const char* Text, const TRect& R, Cardinal Flags, Cardinal LastFlags,
                  const TsFontColor& Colors, TAdjust Adjust) {
  const struct {
    TColor Color;
    int DX, DY;
  } outlines[4] = {{Colors.Left, -1, 0}, {Colors.Top, 0, -1}, {Colors.Right, 1, 0}, {Colors.Bottom, 0, 1}};
  for (const auto& o : outlines) {
    if (o.Color == -1) continue;
    SetTextColor(DC, Ref(Adjust(o.Color)));
    DrawTextIn(DC, Text, Moved(R, o.DX, o.DY), Flags);
  }
  SetTextColor(DC, Ref(Adjust(Colors.Color)));
  DrawTextIn(DC, Text, R, LastFlags);
}

}  // namespace

void WriteTextEx(TCanvas* Canvas, const char* Text, bool Enabled, TRect& R, Cardinal Flags, Integer SkinIndex,
                 bool Hot, TsSkinManager* SkinManager) {
  if (!Text || !Canvas) return;
  TsSkinManager* manager = acManagerOr(SkinManager);
  SetBkMode(Canvas->Handle(), TRANSPARENT);
  if (!manager || !manager->IsValidSkinIndex(SkinIndex)) {
    DrawTextIn(FontDC(Canvas), Text, R, Flags);
    return;
  }
  const TsGeneralData& section = manager->Sections[static_cast<size_t>(SkinIndex)];
  if (!Enabled) {
    const TsGenState& normal = section.Props[0];
    Canvas->Font()->SetColor(MixColors(normal.FontColor.Color, normal.Color, DefDisabledBlend));
    DrawTextIn(FontDC(Canvas), Text, R, Flags);
    return;
  }
  DrawOutlined(FontDC(Canvas), Text, R, Flags, Flags, section.Props[Hot ? 1 : 0].FontColor,
               [](TColor C) { return C; });
}

namespace {

// A colour of the skin as a control shows it: its colour tone, hue offset
// and saturation applied.
TColor ControlColor(TColor C, TsCommonData* SkinData) {
  if (SkinData->ColorTone() != clNoColor) C = ChangeTone(C, SwapRedBlue(ColorToRGB(SkinData->ColorTone())));
  C = ChangeHue(SkinData->HUEOffset(), C);
  C = ChangeSaturation(C, SkinData->Saturation() * 255 / 100);
  return ColorToRGB(C);
}

// The section whose font colours a control's text takes: its own, or for a
// transparent control of one of the common sections, the parent's.
Integer FontSectionOf(TsCommonData* SkinData, TsSkinManager* M, Integer State) {
  const Integer own = SkinData->SkinIndex;
  TControl* c = SkinData->OwnerControl;
  if (!c || !c->Parent() || !SectionInArray(M->ConstData.CommonSectionIndexes, own, ssMenuItem, ssWebBtn)) return own;
  if (M->Sections[static_cast<size_t>(own)].Props[static_cast<size_t>(State)].Transparency <= 0) return own;
  return GetFontIndex(c, own, M, 0);
}

void SkinnedText(TCanvas* Canvas, const char* Text, bool Enabled, const TRect& R, Cardinal Flags,
                 TsCommonData* SkinData, TsSkinManager* M, Integer State) {
  const Integer index = FontSectionOf(SkinData, M, State);
  if (!M->IsValidSkinIndex(index)) {
    DrawTextIn(FontDC(Canvas), Text, R, Flags);
    return;
  }
  const TsGenState& look = M->Sections[static_cast<size_t>(index)].Props[static_cast<size_t>(State)];
  if (SkinData->CacheBmp && look.GlowSize != 0) {
    TacGlowMask mask;
    acDrawGlowForText(SkinData->CacheBmp.get(), Text, R, Flags, 15, look.GlowSize,
                      ControlColor(look.GlowColor, SkinData), mask);
  }
  const TsFontColor& colors = look.FontColor;
  if (!Enabled) {
    Canvas->Font()->SetColor(ControlColor(colors.Color, SkinData));
    DrawTextIn(FontDC(Canvas), Text, R, Flags);
    return;
  }
  DrawOutlined(FontDC(Canvas), Text, R, Flags, Flags | DT_NOCLIP, colors,
               [SkinData](TColor C) { return ControlColor(C, SkinData); });
}

}  // namespace

void WriteTextEx(TCanvas* Canvas, const char* Text, bool Enabled, TRect& R, Cardinal Flags, TsCommonData* SkinData,
                 bool Hot) {
  if (!Text || !Canvas || !SkinData) return;
  const TRect r = R;
  TsSkinManager* m = SkinData->GetSkinManager();
  if (Hot && m && SkinData->SkinIndex >= 0 && SkinData->SkinIndex == m->ConstData.CommonSectionIndexes[ssWebBtn]) {
    TFontStyles style = Canvas->Font()->Style();
    style.Include(fsUnderline);
    Canvas->Font()->SetStyle(style);
  }
  TDCStateScope state(Canvas->Handle());
  IntersectClipRect(Canvas->Handle(), r.Left, r.Top, r.Right, r.Bottom);
  Canvas->Brush()->SetStyle(bsClear);
  SetBkMode(Canvas->Handle(), TRANSPARENT);
  if (m && SkinData->Skinned(false) && !SkinData->CustomFont()) {
    SkinnedText(Canvas, Text, Enabled, r, Flags, SkinData, m, Hot ? 1 : 0);
  } else if (Enabled) {
    DrawTextIn(FontDC(Canvas), Text, r, Flags);
  } else {
    Canvas->Font()->SetColor(clBtnHighlight);
    DrawTextIn(FontDC(Canvas), Text, Moved(r, 1, 1), Flags);
    Canvas->Font()->SetColor(clBtnShadow);
    DrawTextIn(FontDC(Canvas), Text, r, Flags);
  }
}

void acWriteTextEx(TCanvas* Canvas, const AnsiString& Text, bool Enabled, TRect& R, Cardinal Flags,
                   Integer SkinIndex, bool Hot, TsSkinManager* SkinManager) {
  WriteTextEx(Canvas, Text.c_str(), Enabled, R, Flags, SkinIndex, Hot, SkinManager);
}

void acWriteTextEx(TCanvas* Canvas, const AnsiString& Text, bool Enabled, TRect& R, Cardinal Flags,
                   TsCommonData* SkinData, bool Hot, TsSkinManager*) {
  WriteTextEx(Canvas, Text.c_str(), Enabled, R, Flags, SkinData, Hot);
}

void acWriteText(TCanvas* Canvas, const AnsiString& Text, bool, TRect& R, Cardinal Flags) {
  DrawTextOf(FontDC(Canvas), Text.c_str(), R, Flags);
}

// ------------------------------------------------------------ sizes and the focus frame

Integer GetFontHeight(HFONT Font) { return FontMetrics(Font).tmHeight + 6; }

TSize GetStringSize(HFONT Font, const AnsiString& Text, Cardinal Flags, bool WordWrap, Integer MaxWidth) {
  TWindowDC screen;
  TSelectScope font(screen.Handle(), Font);
  if (WordWrap) {
    TRect r = Rect(0, 0, MaxWidth, 0);
    acDrawText(screen.Handle(), Text, r, Flags | DT_CALCRECT);
    return TSize{r.Width(), r.Height()};
  }
  TSize s;
  if (!acGetTextExtent(screen.Handle(), Text, s)) return TSize{};
  return s;
}

void FocusRect(TCanvas* Canvas, TRect R, TColor Color1, TColor Color2) {
  auto put = [&](int x, int y, TColor c) {
    if (c != clNoColor) Canvas->SetPixel(x, y, c);
  };
  for (int i = R.Width() / 2; i >= 1; --i) {
    put(R.Left + 2 * i, R.Top, Color2);
    put(R.Left + 2 * i, R.Bottom - 1, Color2);
    put(R.Left + 2 * i - 1, R.Top, Color1);
    put(R.Left + 2 * i - 1, R.Bottom - 1, Color1);
  }
  for (int i = R.Height() / 2; i >= 1; --i) {
    put(R.Left, R.Top + 2 * i, Color2);
    put(R.Right - 1, R.Top + 2 * i, Color2);
    put(R.Left, R.Top + 2 * i - 1, Color1);
    put(R.Right - 1, R.Top + 2 * i - 1, Color1);
  }
}
