#include "classlib/ui/Graphics.h"

#include "classlib/ui/PaintScope.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "classlib/core/TypInfo.h"

using winapi::W;

// ------------------------------------------------------------------- colours

namespace {

const bool kColorNames = [] {
  RegisterIntegerConsts(TypeInfoTColor(),
                        {{clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
                         {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
                         {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
                         {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
                         {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"}, {clCream, "clCream"},
                         {clMedGray, "clMedGray"}, {clNone, "clNone"}, {clDefault, "clDefault"},
                         {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"},
                         {clActiveCaption, "clActiveCaption"}, {clInactiveCaption, "clInactiveCaption"},
                         {clMenu, "clMenu"}, {clWindow, "clWindow"}, {clWindowFrame, "clWindowFrame"},
                         {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"},
                         {clCaptionText, "clCaptionText"}, {clActiveBorder, "clActiveBorder"},
                         {clInactiveBorder, "clInactiveBorder"}, {clAppWorkSpace, "clAppWorkSpace"},
                         {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"},
                         {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"}, {clGrayText, "clGrayText"},
                         {clBtnText, "clBtnText"}, {clInactiveCaptionText, "clInactiveCaptionText"},
                         {clBtnHighlight, "clBtnHighlight"}, {cl3DDkShadow, "cl3DDkShadow"},
                         {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"}, {clInfoBk, "clInfoBk"},
                         {clHotLight, "clHotLight"}, {clGradientActiveCaption, "clGradientActiveCaption"},
                         {clGradientInactiveCaption, "clGradientInactiveCaption"},
                         {clMenuHighlight, "clMenuHighlight"}, {clMenuBar, "clMenuBar"}});
  return true;
}();

COLORREF Ref(TColor c) { return static_cast<COLORREF>(ColorToRGB(c)); }

}  // namespace

TColor ColorToRGB(TColor Color) {
  if (Color < 0) return static_cast<TColor>(GetSysColor(Color & 0xFF));
  return Color;
}

bool IdentToColor(const AnsiString& Ident, Integer& Color) { return IdentToInt(TypeInfoTColor(), Ident, Color); }
bool ColorToIdent(Integer Color, AnsiString& Ident) { return IntToIdent(TypeInfoTColor(), Color, Ident); }

AnsiString ColorToString(TColor Color) {
  AnsiString s;
  if (ColorToIdent(Color, s)) return s;
  return "$" + IntToHex(static_cast<Integer>(Color), 8);
}

TColor StringToColor(const AnsiString& S) {
  Integer c;
  if (IdentToColor(S, c)) return c;
  return StrToInt(S);
}

// ------------------------------------------------------------ graphics objects

TGraphicsObject::~TGraphicsObject() { DropHandle(); }

void TGraphicsObject::DropHandle() {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}

void TGraphicsObject::Changed() {
  // Listeners (a canvas) take the old handle out of their device context
  // before it is deleted.
  HGDIOBJ old = FHandle;
  FHandle = nullptr;
  if (OnChange) OnChange(this);
  if (old) DeleteObject(old);
}

TFont::TFont() {
  NONCLIENTMETRICSW m{};
  m.cbSize = sizeof m;
  (void)m;  // the class library's default face stays, whatever the system's is
}

void TFont::Assign(TPersistent* Source) {
  if (auto* f = dynamic_cast<TFont*>(Source)) {
    FName = f->FName;
    FHeight = f->FHeight;
    FColor = f->FColor;
    FStyle = f->FStyle;
    FCharset = f->FCharset;
    FPitch = f->FPitch;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

HFONT TFont::Handle() {
  if (!FHandle) {
    LOGFONTW lf{};
    lf.lfHeight = FHeight;
    lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = FStyle.Contains(fsItalic);
    lf.lfUnderline = FStyle.Contains(fsUnderline);
    lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
    lf.lfCharSet = FCharset;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = FPitch == fpVariable ? VARIABLE_PITCH : FPitch == fpFixed ? FIXED_PITCH : DEFAULT_PITCH;
    std::wstring face = W(FName);
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    FHandle = CreateFontIndirectW(&lf);
  }
  return static_cast<HFONT>(FHandle);
}

void TFont::SetHandle(HFONT Value) {
  LOGFONTW lf{};
  if (!Value || !GetObjectW(Value, sizeof lf, &lf)) return;
  FName = winapi::A(lf.lfFaceName);
  FHeight = lf.lfHeight;
  FStyle.Clear();
  if (lf.lfWeight >= FW_BOLD) FStyle.Include(fsBold);
  if (lf.lfItalic) FStyle.Include(fsItalic);
  if (lf.lfUnderline) FStyle.Include(fsUnderline);
  if (lf.lfStrikeOut) FStyle.Include(fsStrikeOut);
  FCharset = lf.lfCharSet;
  FPitch = (lf.lfPitchAndFamily & 3) == VARIABLE_PITCH ? fpVariable
           : (lf.lfPitchAndFamily & 3) == FIXED_PITCH  ? fpFixed
                                                        : fpDefault;
  Changed();
}

void TFont::SetName(const AnsiString& Value) {
  if (Value.empty() || Value == FName) return;
  FName = Value;
  Changed();
}
void TFont::SetHeight(Integer Value) {
  if (Value == FHeight) return;
  FHeight = Value;
  Changed();
}
Integer TFont::Size() const { return -MulDiv(FHeight, 72, FPixelsPerInch); }
void TFont::SetSize(Integer Value) { SetHeight(-MulDiv(Value, FPixelsPerInch, 72)); }
void TFont::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  // The colour is not part of the font handle, but canvases must hear of it.
  if (OnChange) OnChange(this);
}
void TFont::SetStyle(TFontStyles Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}
void TFont::SetCharset(TFontCharset Value) {
  if (Value == FCharset) return;
  FCharset = Value;
  Changed();
}
void TFont::SetPitch(TFontPitch Value) {
  if (Value == FPitch) return;
  FPitch = Value;
  Changed();
}

DK_PUBLISH(TFont) {
  P.Property("Charset", &TFont::Charset, &TFont::SetCharset).Default(DEFAULT_CHARSET);
  P.Property("Color", &TFont::Color, &TFont::SetColor).Type(TypeInfoTColor());
  P.Property("Height", &TFont::Height, &TFont::SetHeight);
  P.Property("Name", &TFont::Name, &TFont::SetName);
  P.Property("Pitch", &TFont::Pitch, &TFont::SetPitch).Default(fpDefault);
  P.Property("Size", &TFont::Size, &TFont::SetSize).Stored(false);
  P.Property("Style", &TFont::Style, &TFont::SetStyle);
}

void TBrush::Assign(TPersistent* Source) {
  if (auto* b = dynamic_cast<TBrush*>(Source)) {
    FColor = b->FColor;
    FStyle = b->FStyle;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

HBRUSH TBrush::Handle() {
  if (!FHandle) {
    static const int hatch[] = {0, 0, HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
    if (FStyle == bsClear)
      FHandle = CreateBrushIndirect(std::data({LOGBRUSH{BS_NULL, 0, 0}}));
    else if (FStyle == bsSolid)
      FHandle = CreateSolidBrush(Ref(FColor));
    else
      FHandle = CreateHatchBrush(hatch[FStyle], Ref(FColor));
  }
  return static_cast<HBRUSH>(FHandle);
}

void TBrush::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  if (FStyle == bsClear) FStyle = bsSolid;
  Changed();
}
void TBrush::SetStyle(TBrushStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

DK_PUBLISH(TBrush) {
  P.Property("Color", &TBrush::Color, &TBrush::SetColor).Type(TypeInfoTColor()).Default(clWhite);
  P.Property("Style", &TBrush::Style, &TBrush::SetStyle).Default(bsSolid);
}

void TPen::Assign(TPersistent* Source) {
  if (auto* p = dynamic_cast<TPen*>(Source)) {
    FColor = p->FColor;
    FWidth = p->FWidth;
    FStyle = p->FStyle;
    FMode = p->FMode;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

HPEN TPen::Handle() {
  if (!FHandle) {
    static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    FHandle = CreatePen(styles[FStyle], FWidth, Ref(FColor));
  }
  return static_cast<HPEN>(FHandle);
}

void TPen::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Changed();
}
void TPen::SetWidth(Integer Value) {
  if (Value == FWidth || Value < 0) return;
  FWidth = Value;
  Changed();
}
void TPen::SetStyle(TPenStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}
void TPen::SetMode(TPenMode Value) {
  if (Value == FMode) return;
  FMode = Value;
  if (OnChange) OnChange(this);  // a drawing mode, not part of the handle
}

DK_PUBLISH(TPen) {
  P.Property("Color", &TPen::Color, &TPen::SetColor).Type(TypeInfoTColor()).Default(clBlack);
  P.Property("Mode", &TPen::Mode, &TPen::SetMode).Default(pmCopy);
  P.Property("Style", &TPen::Style, &TPen::SetStyle).Default(psSolid);
  P.Property("Width", &TPen::Width, &TPen::SetWidth).Default(1);
}

// ------------------------------------------------------------------- canvas

TCanvas::TCanvas() : FFont(std::make_unique<TFont>()), FBrush(std::make_unique<TBrush>()), FPen(std::make_unique<TPen>()) {
  FFont->OnChange = TNotifyEvent(this, &TCanvas::ObjectChanged);
  FBrush->OnChange = TNotifyEvent(this, &TCanvas::ObjectChanged);
  FPen->OnChange = TNotifyEvent(this, &TCanvas::ObjectChanged);
}

TCanvas::~TCanvas() { SetHandle(nullptr); }

HDC TCanvas::Handle() {
  RequiredState(csHandleValid);
  return FHandle;
}

void TCanvas::SetHandle(HDC Value) {
  if (FHandle == Value) return;
  if (FHandle) DeselectHandles();
  FHandle = Value;
  FState = Value ? csHandleValid : 0;
}

void TCanvas::DeselectHandles() {
  if (!FHandle) return;
  if (FState & csFontValid) SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
  if (FState & csBrushValid) SelectObject(FHandle, GetStockObject(WHITE_BRUSH));
  if (FState & csPenValid) SelectObject(FHandle, GetStockObject(BLACK_PEN));
  FState &= ~(csFontValid | csBrushValid | csPenValid);
}

void TCanvas::ObjectChanged(TObject* Sender) {
  if (!FHandle) return;
  int bit = Sender == FFont.get() ? csFontValid : Sender == FBrush.get() ? csBrushValid : csPenValid;
  if (FState & bit) {
    SelectObject(FHandle, GetStockObject(bit == csFontValid ? SYSTEM_FONT : bit == csBrushValid ? WHITE_BRUSH : BLACK_PEN));
    FState &= ~bit;
  }
}

void TCanvas::RequiredState(int State) {
  if ((State & csHandleValid) && !FHandle) {
    CreateHandle();
    if (!FHandle) throw EInvalidOperation("Canvas does not allow drawing");
    FState |= csHandleValid;
  }
  int need = State & ~FState;
  if (need & csFontValid) {
    SelectObject(FHandle, FFont->Handle());
    SetTextColor(FHandle, Ref(FFont->Color()));
    FState |= csFontValid;
  }
  if (need & csPenValid) {
    static const int rop[] = {R2_BLACK,       R2_WHITE,       R2_NOP,   R2_NOT,    R2_COPYPEN, R2_NOTCOPYPEN,
                              R2_MERGEPENNOT, R2_MASKPENNOT,  R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,
                              R2_NOTMERGEPEN, R2_MASKPEN,     R2_NOTMASKPEN,  R2_XORPEN, R2_NOTXORPEN};
    SelectObject(FHandle, FPen->Handle());
    SetROP2(FHandle, rop[FPen->Mode()]);
    FState |= csPenValid;
  }
  if (need & csBrushValid) {
    SelectObject(FHandle, FBrush->Handle());
    SetBkColor(FHandle, Ref(FBrush->Color()));
    SetBkMode(FHandle, FBrush->Style() == bsSolid ? OPAQUE : TRANSPARENT);
    FState |= csBrushValid;
  }
}

void TCanvas::Lock() {
  FLock.lock();
  ++FLockCount;
}
void TCanvas::Unlock() {
  --FLockCount;
  FLock.unlock();
}
bool TCanvas::TryLock() {
  if (!FLock.try_lock()) return false;
  ++FLockCount;
  return true;
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}
void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

void TCanvas::MoveTo(int X, int Y) {
  RequiredState(csHandleValid);
  MoveToEx(FHandle, X, Y, nullptr);
  FPenPos = {X, Y};
}

void TCanvas::LineTo(int X, int Y) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::LineTo(FHandle, X, Y);
  FPenPos = {X, Y};
  Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::Rectangle(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::FillRect(const TRect& R) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  ::FillRect(FHandle, reinterpret_cast<const RECT*>(&R), FBrush->Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& R) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  ::FrameRect(FHandle, reinterpret_cast<const RECT*>(&R), FBrush->Handle());
  Changed();
}

void TCanvas::TextOut(int X, int Y, const AnsiString& Text) {
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  std::wstring w = W(Text);
  ExtTextOutW(FHandle, X, Y, static_cast<UINT>(TextFlags), nullptr, w.c_str(), static_cast<UINT>(w.size()), nullptr);
  MoveToEx(FHandle, X + TextWidth(Text), Y, nullptr);
  Changed();
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const AnsiString& Text) {
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  UINT options = ETO_CLIPPED | static_cast<UINT>(TextFlags);
  if (FBrush->Style() != bsClear) options |= ETO_OPAQUE;
  std::wstring w = W(Text);
  ExtTextOutW(FHandle, X, Y, options, reinterpret_cast<const RECT*>(&R), w.c_str(), static_cast<UINT>(w.size()),
              nullptr);
  Changed();
}

TSize TCanvas::TextExtent(const AnsiString& Text) {
  RequiredState(csHandleValid | csFontValid);
  std::wstring w = W(Text);
  SIZE s{};
  GetTextExtentPoint32W(FHandle, w.c_str(), static_cast<int>(w.size()), &s);
  return {s.cx, s.cy};
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState(csHandleValid);
  Graphic->Draw(this, Bounds(X, Y, Graphic->Width(), Graphic->Height()));
  Changed();
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState(csHandleValid);
  Graphic->Draw(this, R);
  Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  HDC src = Canvas->Handle();
  StretchBlt(FHandle, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), src, Source.Left, Source.Top,
             Source.Width(), Source.Height(), static_cast<DWORD>(CopyMode));
  Changed();
}

TColor TCanvas::Pixel(int X, int Y) {
  RequiredState(csHandleValid);
  return static_cast<TColor>(GetPixel(FHandle, X, Y));
}

void TCanvas::SetPixel(int X, int Y, TColor Color) {
  Changing();
  RequiredState(csHandleValid | csPenValid);
  ::SetPixel(FHandle, X, Y, Ref(Color));
  Changed();
}

TRect TCanvas::ClipRect() {
  RequiredState(csHandleValid);
  TRect r;
  GetClipBox(FHandle, reinterpret_cast<RECT*>(&r));
  return r;
}

// ------------------------------------------------------------------ graphics

void TGraphic::LoadFromFile(const AnsiString& FileName) {
  TFileStream s(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&s);
}

void TGraphic::SaveToFile(const AnsiString& FileName) {
  TFileStream s(FileName, fmCreate);
  SaveToStream(&s);
}

void TGraphic::DefineProperties(TFiler* Filer) {
  Filer->DefineBinaryProperty(
      "Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, !Empty());
}

void TGraphic::ReadData(TStream* Stream) { LoadFromStream(Stream); }

void TGraphic::WriteData(TStream* Stream) { SaveToStream(Stream); }

void TGraphic::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  Changed(this);
}

void TGraphic::SetModified(bool Value) {
  if (Value)
    Changed(this);
  else
    FModified = false;
}

void TGraphic::Changed(TObject* Sender) {
  FModified = true;
  if (OnChange) OnChange(this);
}

void TGraphic::Progress(TObject* Sender, TProgressStage Stage, Byte PercentDone, bool RedrawNow, const TRect& R,
                        const AnsiString& Msg) {
  if (OnProgress) OnProgress(Sender, Stage, PercentDone, RedrawNow, R, Msg);
}

// ------------------------------------------------------------------- bitmap

namespace {

int BitsOf(TPixelFormat f) {
  switch (f) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf32bit: return 32;
    default: return 24;
  }
}

TPixelFormat FormatOf(int bits, bool is565) {
  switch (bits) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return is565 ? pf16bit : pf15bit;
    case 32: return pf32bit;
    default: return pf24bit;
  }
}

// Header and colour table of a section in a given format.
struct DibInfo {
  BITMAPINFOHEADER h{};
  RGBQUAD colors[256]{};
};

void DefaultPalette(TPixelFormat f, RGBQUAD* colors) {
  static const BYTE vga[16][3] = {{0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                  {0, 0, 128},   {128, 0, 128}, {0, 128, 128}, {128, 128, 128},
                                  {192, 192, 192}, {255, 0, 0},  {0, 255, 0},   {255, 255, 0},
                                  {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
  auto put = [&](int i, BYTE r, BYTE g, BYTE b) { colors[i] = RGBQUAD{b, g, r, 0}; };
  if (f == pf1bit) {
    put(0, 0, 0, 0);
    put(1, 255, 255, 255);
  } else if (f == pf4bit) {
    for (int i = 0; i < 16; ++i) put(i, vga[i][0], vga[i][1], vga[i][2]);
  } else if (f == pf8bit) {
    // The 16 colours, a 6 x 6 x 6 cube and grey steps.
    int i = 0;
    for (; i < 16; ++i) put(i, vga[i][0], vga[i][1], vga[i][2]);
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6; ++b) put(i++, BYTE(r * 51), BYTE(g * 51), BYTE(b * 51));
    for (int k = 0; i < 256; ++i, ++k) put(i, BYTE(8 + k * 6), BYTE(8 + k * 6), BYTE(8 + k * 6));
  }
}

HBITMAP CreateSection(int w, int h, TPixelFormat f, const RGBQUAD* colors, int colorCount, void** bits) {
  struct {
    BITMAPINFOHEADER h;
    union {
      RGBQUAD colors[256];
      DWORD masks[3];
    };
  } bi{};
  bi.h.biSize = sizeof bi.h;
  bi.h.biWidth = w;
  bi.h.biHeight = h;
  bi.h.biPlanes = 1;
  bi.h.biBitCount = static_cast<WORD>(BitsOf(f));
  bi.h.biCompression = BI_RGB;
  if (f == pf16bit) {
    bi.h.biCompression = BI_BITFIELDS;
    bi.masks[0] = 0xF800;
    bi.masks[1] = 0x07E0;
    bi.masks[2] = 0x001F;
  } else if (bi.h.biBitCount <= 8) {
    int n = 1 << bi.h.biBitCount;
    if (colors && colorCount > 0)
      std::memcpy(bi.colors, colors, sizeof(RGBQUAD) * std::min(n, colorCount));
    else
      DefaultPalette(f, bi.colors);
    bi.h.biClrUsed = static_cast<DWORD>(n);
  }
  TWindowDC screen;
  return CreateDIBSection(screen.Handle(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS, bits, nullptr, 0);
}

}  // namespace

TBitmapCanvas::~TBitmapCanvas() { FreeContext(); }

void TBitmapCanvas::CreateHandle() {
  if (FDC) return;
  FDC = CreateCompatibleDC(nullptr);
  if (FBitmap->FHandle) FOldBitmap = SelectObject(FDC, FBitmap->FHandle);
  SetHandle(FDC);
}

void TBitmapCanvas::FreeContext() {
  if (!FDC) return;
  HDC dc = FDC;
  SetHandle(nullptr);
  if (FOldBitmap) SelectObject(dc, FOldBitmap);
  FOldBitmap = nullptr;
  DeleteDC(dc);
  FDC = nullptr;
}

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
  FCanvas.reset();
  FreeSection();
}

void TBitmap::FreeSection() {
  if (FCanvas) FCanvas->FreeContext();
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
  FBits = nullptr;
}

void TBitmap::NewSection(Integer W, Integer H, TPixelFormat Format, HBITMAP CopyFrom, int CopyW, int CopyH) {
  if (FCanvas) FCanvas->FreeContext();
  HBITMAP bmp = nullptr;
  void* bits = nullptr;
  if (W > 0 && H > 0) {
    RGBQUAD colors[256];
    int count = 0;
    if (CopyFrom && Format == FPixelFormat && BitsOf(Format) <= 8) {
      // Keep the palette of the picture when only the size changes.
      TMemoryDC dc;
      TSelectScope from(dc.Handle(), CopyFrom);
      count = static_cast<int>(GetDIBColorTable(dc.Handle(), 0, 256, colors));
    }
    bmp = CreateSection(W, H, Format, count ? colors : nullptr, count, &bits);
    if (!bmp) throw EOutOfResources("Out of system resources");
    if (CopyFrom) {
      TMemoryDC src, dst;
      TSelectScope from(src.Handle(), CopyFrom), to(dst.Handle(), bmp);
      PatBlt(dst.Handle(), 0, 0, W, H, WHITENESS);
      BitBlt(dst.Handle(), 0, 0, std::min(W, CopyW), std::min(H, CopyH), src.Handle(), 0, 0, SRCCOPY);
    } else if (BitsOf(Format) < 32) {
      // A new bitmap is white, as the class library makes it.
      TMemoryDC dst;
      TSelectScope to(dst.Handle(), bmp);
      PatBlt(dst.Handle(), 0, 0, W, H, WHITENESS);
    }
  }
  if (FHandle) DeleteObject(FHandle);
  FHandle = bmp;
  FBits = bits;
  FWidth = bmp ? W : std::max(W, 0);
  FHeight = bmp ? H : std::max(H, 0);
  FPixelFormat = Format;
}

void TBitmap::SetSize(Integer AWidth, Integer AHeight) {
  if (AWidth == FWidth && AHeight == FHeight) return;
  NewSection(AWidth, AHeight, FPixelFormat, FHandle, FWidth, FHeight);
  Changed(this);
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (Value == FPixelFormat) return;
  if (Value == pfDevice || Value == pfCustom) Value = pf24bit;
  NewSection(FWidth, FHeight, Value, FHandle, FWidth, FHeight);
  Changed(this);
}

HBITMAP TBitmap::Handle() { return FHandle; }

void TBitmap::SetHandle(HBITMAP Value) {
  BITMAP bm{};
  if (!Value || !GetObjectW(Value, sizeof bm, &bm)) {
    FreeSection();
    FWidth = FHeight = 0;
    Changed(this);
    return;
  }
  TPixelFormat f = FormatOf(bm.bmBitsPixel, true);
  NewSection(bm.bmWidth, bm.bmHeight, f, Value, bm.bmWidth, bm.bmHeight);
  DeleteObject(Value);
  Changed(this);
}

HBITMAP TBitmap::ReleaseHandle() {
  if (FCanvas) FCanvas->FreeContext();
  HBITMAP h = FHandle;
  FHandle = nullptr;
  FBits = nullptr;
  FWidth = FHeight = 0;
  return h;
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) FCanvas = std::make_unique<TBitmapCanvas>(this);
  return FCanvas.get();
}

Integer TBitmap::RowBytes() const { return ((FWidth * BitsOf(FPixelFormat) + 31) / 32) * 4; }

void* TBitmap::ScanLine(Integer Row) {
  if (!FBits || Row < 0 || Row >= FHeight) throw EInvalidGraphicOperation("Scan line index out of range");
  GdiFlush();
  return static_cast<uint8_t*>(FBits) + static_cast<size_t>(FHeight - 1 - Row) * static_cast<size_t>(RowBytes());
}

TPixelView32 TBitmap::PixelView() {
  if (!FBits || FPixelFormat != pf32bit || FWidth <= 0 || FHeight <= 0) return {};
  GdiFlush();
  return {static_cast<Byte*>(ScanLine(0)), -static_cast<std::ptrdiff_t>(RowBytes()), FWidth, FHeight};
}

void TBitmap::SetAlphaFormat(TAlphaFormat Value) {
  if (Value == FAlphaFormat) return;
  if (FAlphaFormat == afDefined && Value == afPremultiplied) Premultiply(PixelView());
  if (FAlphaFormat == afPremultiplied && Value == afDefined) Unpremultiply(PixelView());
  FAlphaFormat = Value;
  Changed(this);
}

void TBitmap::Assign(TPersistent* Source) {
  if (auto* b = dynamic_cast<TBitmap*>(Source)) {
    if (b == this) return;
    FTransparent = b->FTransparent;
    FTransparentColor = b->FTransparentColor;
    FAlphaFormat = b->FAlphaFormat;
    FPixelFormat = b->FPixelFormat;
    if (b->FHandle)
      NewSection(b->FWidth, b->FHeight, b->FPixelFormat, nullptr, 0, 0);
    else
      FreeSection();
    FWidth = b->FWidth;
    FHeight = b->FHeight;
    if (FBits && b->FBits) {
      GdiFlush();
      if (BitsOf(FPixelFormat) <= 8) {
        RGBQUAD colors[256];
        int n = static_cast<int>(GetDIBColorTable(b->Canvas()->Handle(), 0, 256, colors));
        if (n) SetDIBColorTable(Canvas()->Handle(), 0, static_cast<UINT>(n), colors);
        Canvas();  // keep the context for the caller
      }
      std::memcpy(FBits, b->FBits, static_cast<size_t>(RowBytes()) * static_cast<size_t>(FHeight));
    }
    Changed(this);
    return;
  }
  inherited::Assign(Source);
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!FHandle) return;
  HDC src = Canvas()->Handle();
  HDC dst = ACanvas->Handle();
  if (FPixelFormat == pf32bit && FAlphaFormat != afIgnored) {
    DrawWithAlpha(dst, Rect);
  } else if (FTransparent) {
    TColor key = FTransparentColor == clDefault ? Canvas()->Pixel(0, FHeight - 1) : ColorToRGB(FTransparentColor);
    TransparentBlt(dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), src, 0, 0, FWidth, FHeight,
                   static_cast<UINT>(key & 0xFFFFFF));
  } else {
    SetStretchBltMode(dst, COLORONCOLOR);
    StretchBlt(dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), src, 0, 0, FWidth, FHeight,
               static_cast<DWORD>(ACanvas->CopyMode));
  }
}

// The platform blends premultiplied pixels: a bitmap of straight alpha lends
// it a premultiplied copy.
void TBitmap::DrawWithAlpha(HDC Dest, const TRect& Rect) {
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  if (FAlphaFormat == afPremultiplied) {
    AlphaBlend(Dest, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), Canvas()->Handle(), 0, 0, FWidth, FHeight,
               blend);
    return;
  }
  TBitmap copy;
  copy.Assign(this);
  copy.SetAlphaFormat(afIgnored);
  Premultiply(copy.PixelView());
  AlphaBlend(Dest, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), copy.Canvas()->Handle(), 0, 0, FWidth,
             FHeight, blend);
}

// A device-independent bitmap as the file and the resources hold it: a header
// (BITMAPINFOHEADER or one of its larger versions; the old BITMAPCOREHEADER
// too), the colour table or bit masks, then the pixels.
void TBitmap::FromDib(const BITMAPINFOHEADER* Header, const void* Colors, size_t ColorBytes, const void* Bits,
                      size_t BitsBytes) {
  const char* bad = "Bitmap image is not valid";
  int w = Header->biWidth, h = Header->biHeight;
  int bits = Header->biBitCount;
  if (w <= 0 || h == 0 || h == INT32_MIN || w > 32768 || std::abs(h) > 32768) throw EInvalidGraphic(bad);
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) throw EInvalidGraphic(bad);
  bool direct = Header->biCompression == BI_RGB && h > 0;
  size_t row = ((static_cast<size_t>(w) * bits + 31) / 32) * 4;
  if (Header->biCompression == BI_RGB && row * static_cast<size_t>(std::abs(h)) > BitsBytes) throw EInvalidGraphic(bad);
  if ((Header->biCompression == BI_RLE8 || Header->biCompression == BI_RLE4) && h < 0) throw EInvalidGraphic(bad);
  if (Header->biCompression != BI_RGB && Header->biCompression != BI_BITFIELDS &&
      Header->biCompression != BI_RLE8 && Header->biCompression != BI_RLE4)
    throw EInvalidGraphic(bad);
  if (Header->biCompression == BI_BITFIELDS && (bits != 16 && bits != 32)) throw EInvalidGraphic(bad);

  int colorCount = 0;
  if (bits <= 8) {
    colorCount = Header->biClrUsed ? static_cast<int>(Header->biClrUsed) : 1 << bits;
    if (colorCount > (1 << bits)) colorCount = 1 << bits;
    if (static_cast<size_t>(colorCount) * sizeof(RGBQUAD) > ColorBytes) throw EInvalidGraphic(bad);
  }
  bool is565 = false;
  if (Header->biCompression == BI_BITFIELDS && bits == 16) {
    if (ColorBytes < 12) throw EInvalidGraphic(bad);
    DWORD green;
    std::memcpy(&green, static_cast<const char*>(Colors) + 4, 4);
    is565 = green == 0x07E0;
  }
  TPixelFormat f = FormatOf(bits, is565);
  if (bits == 32 && Header->biCompression == BI_BITFIELDS) f = pf32bit;
  FreeSection();
  void* out = nullptr;
  HBITMAP bmp = CreateSection(w, std::abs(h), f, static_cast<const RGBQUAD*>(Colors), colorCount, &out);
  if (!bmp) throw EOutOfResources("Out of system resources");
  FHandle = bmp;
  FBits = out;
  FWidth = w;
  FHeight = std::abs(h);
  FPixelFormat = f;
  if (direct) {
    std::memcpy(out, Bits, row * static_cast<size_t>(FHeight));
  } else {
    // Compressed, top-down or masked: the platform lays the pixels out.
    std::vector<uint8_t> info(Header->biSize + ColorBytes);
    std::memcpy(info.data(), Header, Header->biSize);
    if (ColorBytes) std::memcpy(info.data() + Header->biSize, Colors, ColorBytes);
    HDC dc = Canvas()->Handle();
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(w), static_cast<DWORD>(FHeight), 0, 0, 0,
                      static_cast<UINT>(FHeight), Bits, reinterpret_cast<const BITMAPINFO*>(info.data()),
                      DIB_RGB_COLORS);
  }
  Changed(this);
}

void TBitmap::ReadData(TStream* Stream) {
  char magic[2] = {};
  Int64 start = Stream->Position();
  if (Stream->Read(magic, 2) == 2 && magic[0] == 'B' && magic[1] == 'M') {
    Stream->SetPosition(start);
    LoadFromStream(Stream);
    return;
  }
  Stream->SetPosition(start);
  int32_t size = 0;
  Stream->ReadBuffer(&size, 4);
  if (size < 0 || size > Stream->Size() - Stream->Position()) throw EInvalidGraphic("Bitmap image is not valid");
  if (size == 0) return;
  TMemoryStream data;
  data.CopyFrom(Stream, size);
  data.SetPosition(0);
  LoadFromStream(&data);
}

void TBitmap::WriteData(TStream* Stream) {
  TMemoryStream data;
  SaveToStream(&data);
  int32_t size = static_cast<int32_t>(data.Size());
  Stream->WriteBuffer(&size, 4);
  data.SetPosition(0);
  Stream->CopyFrom(&data, size);
}

void TBitmap::LoadFromStream(TStream* Stream) {
  const char* bad = "Bitmap image is not valid";
  Int64 start = Stream->Position();
  Int64 total = Stream->Size() - start;
  BITMAPFILEHEADER fh{};
  if (total < static_cast<Int64>(sizeof fh + 12)) throw EInvalidGraphic(bad);
  Stream->ReadBuffer(&fh, sizeof fh);
  if (fh.bfType != 0x4D42) throw EInvalidGraphic(bad);
  std::vector<uint8_t> data(static_cast<size_t>(total) - sizeof fh);
  Stream->ReadBuffer(data.data(), static_cast<Integer>(data.size()));
  DWORD hsize;
  std::memcpy(&hsize, data.data(), 4);
  BITMAPINFOHEADER h{};
  size_t headerBytes;
  if (hsize == sizeof(BITMAPCOREHEADER)) {
    BITMAPCOREHEADER c;
    std::memcpy(&c, data.data(), sizeof c);
    h.biSize = sizeof h;
    h.biWidth = c.bcWidth;
    h.biHeight = c.bcHeight;
    h.biPlanes = 1;
    h.biBitCount = c.bcBitCount;
    headerBytes = sizeof c;
    // Three-byte colour entries: widen them.
    int n = c.bcBitCount <= 8 ? 1 << c.bcBitCount : 0;
    if (headerBytes + static_cast<size_t>(n) * 3 > data.size()) throw EInvalidGraphic(bad);
    std::vector<RGBQUAD> colors(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
      const uint8_t* t = data.data() + headerBytes + i * 3;
      colors[static_cast<size_t>(i)] = RGBQUAD{t[0], t[1], t[2], 0};
    }
    size_t bitsAt = fh.bfOffBits >= sizeof fh ? fh.bfOffBits - sizeof fh : headerBytes + static_cast<size_t>(n) * 3;
    if (bitsAt > data.size()) throw EInvalidGraphic(bad);
    FromDib(&h, colors.data(), colors.size() * sizeof(RGBQUAD), data.data() + bitsAt, data.size() - bitsAt);
    return;
  }
  if (hsize < sizeof(BITMAPINFOHEADER) || hsize > data.size()) throw EInvalidGraphic(bad);
  std::memcpy(&h, data.data(), sizeof h);
  headerBytes = hsize;
  size_t bitsAt = fh.bfOffBits >= sizeof fh ? fh.bfOffBits - sizeof fh : 0;
  if (bitsAt < headerBytes || bitsAt > data.size()) throw EInvalidGraphic(bad);
  // Bit masks of a BITMAPINFOHEADER stand after it; in larger headers, inside.
  std::vector<uint8_t> colors(data.begin() + static_cast<std::ptrdiff_t>(headerBytes),
                              data.begin() + static_cast<std::ptrdiff_t>(bitsAt));
  if (h.biCompression == BI_BITFIELDS && hsize > sizeof h) {
    colors.assign(data.begin() + static_cast<std::ptrdiff_t>(sizeof h),
                  data.begin() + static_cast<std::ptrdiff_t>(sizeof h + 12));
    h.biSize = sizeof h;
  } else {
    h.biSize = sizeof h;
  }
  FromDib(&h, colors.data(), colors.size(), data.data() + bitsAt, data.size() - bitsAt);
}

void TBitmap::SaveToStream(TStream* Stream) {
  if (!FHandle) return;
  GdiFlush();
  int bits = BitsOf(FPixelFormat);
  int colorCount = bits <= 8 ? 1 << bits : 0;
  RGBQUAD colors[256] = {};
  if (colorCount) GetDIBColorTable(Canvas()->Handle(), 0, static_cast<UINT>(colorCount), colors);
  size_t extra = colorCount * sizeof(RGBQUAD) + (FPixelFormat == pf16bit ? 12 : 0);
  size_t image = static_cast<size_t>(RowBytes()) * static_cast<size_t>(FHeight);
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = static_cast<DWORD>(sizeof fh + sizeof(BITMAPINFOHEADER) + extra);
  fh.bfSize = static_cast<DWORD>(fh.bfOffBits + image);
  BITMAPINFOHEADER h{};
  h.biSize = sizeof h;
  h.biWidth = FWidth;
  h.biHeight = FHeight;
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(bits);
  h.biCompression = FPixelFormat == pf16bit ? BI_BITFIELDS : BI_RGB;
  h.biSizeImage = static_cast<DWORD>(image);
  h.biClrUsed = static_cast<DWORD>(colorCount);
  Stream->WriteBuffer(&fh, sizeof fh);
  Stream->WriteBuffer(&h, sizeof h);
  if (FPixelFormat == pf16bit) {
    const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    Stream->WriteBuffer(masks, sizeof masks);
  }
  if (colorCount) Stream->WriteBuffer(colors, static_cast<Integer>(colorCount * sizeof(RGBQUAD)));
  Stream->WriteBuffer(FBits, static_cast<Integer>(image));
}

void TBitmap::LoadFromResourceName(HINSTANCE Instance, const AnsiString& ResName) {
  std::wstring name = W(ResName);
  HRSRC res = FindResourceW(Instance, name.c_str(), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
  if (!res) throw EResNotFound(Format("Resource %s not found", {ResName}));
  HGLOBAL g = LoadResource(Instance, res);
  const auto* p = static_cast<const uint8_t*>(LockResource(g));
  size_t size = SizeofResource(Instance, res);
  if (!p || size < sizeof(BITMAPINFOHEADER)) throw EInvalidGraphic("Bitmap image is not valid");
  // A bitmap resource is a file without its file header.
  TMemoryStream file;
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfSize = static_cast<DWORD>(sizeof fh + size);
  // The pixels follow the header and the colour table (or the bit masks).
  BITMAPINFOHEADER h;
  std::memcpy(&h, p, sizeof h);
  size_t offset = h.biSize;
  if (h.biSize == sizeof(BITMAPCOREHEADER)) {
    const auto* c = reinterpret_cast<const BITMAPCOREHEADER*>(p);
    offset += (c->bcBitCount <= 8 ? size_t(1) << c->bcBitCount : 0) * 3;
  } else {
    size_t colors = h.biClrUsed ? h.biClrUsed : h.biBitCount <= 8 ? size_t(1) << h.biBitCount : 0;
    if (h.biSize == sizeof(BITMAPINFOHEADER) && h.biCompression == BI_BITFIELDS) offset += 12;
    offset += colors * 4;
  }
  if (offset > size) throw EInvalidGraphic("Bitmap image is not valid");
  fh.bfOffBits = static_cast<DWORD>(sizeof fh + offset);
  file.WriteBuffer(&fh, sizeof fh);
  file.WriteBuffer(p, static_cast<Integer>(size));
  file.SetPosition(0);
  LoadFromStream(&file);
}

void TBitmap::LoadFromResourceID(HINSTANCE Instance, int ResID) {
  LoadFromResourceName(Instance, "#" + IntToStr(ResID));
}

// --------------------------------------------------------------------- icon

TIcon::~TIcon() {
  if (FHandle) DestroyIcon(FHandle);
}

void TIcon::Assign(TPersistent* Source) {
  if (auto* i = dynamic_cast<TIcon*>(Source)) {
    if (i == this) return;
    SetHandle(i->FHandle ? CopyIcon(i->FHandle) : nullptr);
    FWidth = i->FWidth;
    FHeight = i->FHeight;
    return;
  }
  inherited::Assign(Source);
}

void TIcon::SetHandle(HICON Value) {
  if (FHandle && FHandle != Value) DestroyIcon(FHandle);
  FHandle = Value;
  ICONINFO ii{};
  if (Value && GetIconInfo(Value, &ii)) {
    BITMAP bm{};
    if (GetObjectW(ii.hbmColor ? ii.hbmColor : ii.hbmMask, sizeof bm, &bm)) {
      FWidth = bm.bmWidth;
      FHeight = ii.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
    }
    if (ii.hbmColor) DeleteObject(ii.hbmColor);
    if (ii.hbmMask) DeleteObject(ii.hbmMask);
  }
  Changed(this);
}

HICON TIcon::ReleaseHandle() {
  HICON h = FHandle;
  FHandle = nullptr;
  return h;
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (FHandle) DrawIconEx(ACanvas->Handle(), Rect.Left, Rect.Top, FHandle, Rect.Width(), Rect.Height(), 0, nullptr, DI_NORMAL);
}

void TIcon::LoadFromStream(TStream* Stream) {
  const char* bad = "Icon image is not valid";
  Int64 start = Stream->Position();
  Int64 total = Stream->Size() - start;
  if (total < 6 || total > (64 << 20)) throw EInvalidGraphic(bad);
  std::vector<uint8_t> data(static_cast<size_t>(total));
  Stream->ReadBuffer(data.data(), static_cast<Integer>(total));
  auto u16 = [&](size_t at) { return static_cast<unsigned>(data[at] | data[at + 1] << 8); };
  auto u32 = [&](size_t at) { return static_cast<size_t>(data[at] | data[at + 1] << 8 | data[at + 2] << 16 | static_cast<uint32_t>(data[at + 3]) << 24); };
  if (u16(0) != 0 || u16(2) != 1) throw EInvalidGraphic(bad);
  unsigned count = u16(4);
  if (count == 0 || 6 + 16 * static_cast<size_t>(count) > data.size()) throw EInvalidGraphic(bad);
  // The entry closest to the wanted size, the deepest colours among equals.
  int best = -1, bestScore = 0;
  for (unsigned i = 0; i < count; ++i) {
    size_t e = 6 + 16 * static_cast<size_t>(i);
    int w = data[e] ? data[e] : 256, h = data[e + 1] ? data[e + 1] : 256;
    int depth = static_cast<int>(u16(e + 6));
    size_t bytes = u32(e + 8), offset = u32(e + 12);
    if (offset > data.size() || bytes > data.size() - offset || bytes < 40) continue;
    int score = (std::abs(w - FWidth) + std::abs(h - FHeight)) * 64 - depth;
    if (best < 0 || score < bestScore) {
      best = static_cast<int>(i);
      bestScore = score;
    }
  }
  if (best < 0) throw EInvalidGraphic(bad);
  size_t e = 6 + 16 * static_cast<size_t>(best);
  int w = data[e] ? data[e] : 256, h = data[e + 1] ? data[e + 1] : 256;
  HICON icon = CreateIconFromResourceEx(data.data() + u32(e + 12), static_cast<DWORD>(u32(e + 8)), TRUE, 0x00030000,
                                        w, h, LR_DEFAULTCOLOR);
  if (!icon) throw EInvalidGraphic(bad);
  FWidth = w;
  FHeight = h;
  SetHandle(icon);
  FWidth = w;
  FHeight = h;
}

void TIcon::SaveToStream(TStream* Stream) {
  if (!FHandle) return;
  // One 32-bit image with its mask, from the icon's own pixels.
  ICONINFO ii{};
  if (!GetIconInfo(FHandle, &ii)) throw EInvalidGraphic("Icon image is not valid");
  int w = FWidth, h = FHeight;
  std::vector<uint32_t> color(static_cast<size_t>(w) * h);
  size_t maskRow = ((static_cast<size_t>(w) + 31) / 32) * 4;
  std::vector<uint8_t> mask(maskRow * static_cast<size_t>(h));
  TMemoryDC memory;
  HDC dc = memory.Handle();
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  if (ii.hbmColor) GetDIBits(dc, ii.hbmColor, 0, static_cast<UINT>(h), color.data(), &bi, DIB_RGB_COLORS);
  struct {
    BITMAPINFOHEADER h;
    RGBQUAD c[2];
  } mi{};
  mi.h = bi.bmiHeader;
  mi.h.biBitCount = 1;
  mi.c[1] = RGBQUAD{255, 255, 255, 0};
  if (ii.hbmMask) GetDIBits(dc, ii.hbmMask, 0, static_cast<UINT>(h), mask.data(), reinterpret_cast<BITMAPINFO*>(&mi), DIB_RGB_COLORS);
  if (ii.hbmColor) DeleteObject(ii.hbmColor);
  if (ii.hbmMask) DeleteObject(ii.hbmMask);
  BITMAPINFOHEADER ih = bi.bmiHeader;
  ih.biHeight = h * 2;
  uint32_t bytes = static_cast<uint32_t>(sizeof ih + color.size() * 4 + mask.size());
  uint8_t dir[22] = {0, 0, 1, 0, 1, 0, static_cast<uint8_t>(w & 0xFF), static_cast<uint8_t>(h & 0xFF), 0, 0, 1, 0, 32, 0};
  std::memcpy(dir + 14, &bytes, 4);
  uint32_t offset = 22;
  std::memcpy(dir + 18, &offset, 4);
  Stream->WriteBuffer(dir, sizeof dir);
  Stream->WriteBuffer(&ih, sizeof ih);
  Stream->WriteBuffer(color.data(), static_cast<Integer>(color.size() * 4));
  Stream->WriteBuffer(mask.data(), static_cast<Integer>(mask.size()));
}

// ------------------------------------------------------------------ picture

namespace {
struct FileFormat {
  AnsiString Description;
  TGraphicClass Class;
};
std::map<AnsiString, FileFormat>& Formats() {
  static std::map<AnsiString, FileFormat> formats;
  return formats;
}
const bool kFormats = [] {
  TPicture::RegisterFileFormat("bmp", "Bitmaps", TBitmap::StaticClass());
  TPicture::RegisterFileFormat("ico", "Icons", TIcon::StaticClass());
  return true;
}();
}  // namespace

void TPicture::RegisterFileFormat(const AnsiString& Extension, const AnsiString& Description,
                                  TGraphicClass GraphicClass) {
  Formats()[LowerCase(Extension)] = {Description, GraphicClass};
}

void TPicture::UnregisterGraphicClass(TGraphicClass GraphicClass) {
  auto& f = Formats();
  for (auto it = f.begin(); it != f.end();) it = it->second.Class == GraphicClass ? f.erase(it) : std::next(it);
}

TGraphicClass TPicture::FileFormat(const AnsiString& Extension) {
  auto it = Formats().find(LowerCase(Extension));
  return it == Formats().end() ? nullptr : it->second.Class;
}

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Assign(TPersistent* Source) {
  if (!Source) {
    FGraphic.reset();
    if (OnChange) OnChange(this);
  } else if (auto* p = dynamic_cast<TPicture*>(Source)) {
    SetGraphic(p->Graphic());
  } else if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    SetGraphic(g);
  } else {
    inherited::Assign(Source);
  }
}

void TPicture::SetGraphic(TGraphic* Value) {
  std::unique_ptr<TGraphic> copy;
  if (Value) {
    copy.reset(static_cast<TGraphic*>(Value->ClassType()->CreateInstance()));
    copy->Assign(Value);
    copy->OnChange = TNotifyEvent(this, &TPicture::GraphicChanged);
  }
  FGraphic = std::move(copy);
  if (OnChange) OnChange(this);
}

TBitmap* TPicture::Bitmap() {
  if (!dynamic_cast<TBitmap*>(FGraphic.get())) {
    FGraphic.reset(Create<TBitmap>());
    FGraphic->OnChange = TNotifyEvent(this, &TPicture::GraphicChanged);
  }
  return static_cast<TBitmap*>(FGraphic.get());
}

TIcon* TPicture::Icon() {
  if (!dynamic_cast<TIcon*>(FGraphic.get())) {
    FGraphic.reset(Create<TIcon>());
    FGraphic->OnChange = TNotifyEvent(this, &TPicture::GraphicChanged);
  }
  return static_cast<TIcon*>(FGraphic.get());
}

void TPicture::LoadFromFile(const AnsiString& FileName) {
  AnsiString ext = ExtractFileExt(FileName);
  if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
  TGraphicClass cls = FileFormat(ext);
  if (!cls) throw EInvalidGraphic(Format("Unknown picture file extension (.%s)", {ext}));
  std::unique_ptr<TGraphic> g(static_cast<TGraphic*>(cls->CreateInstance()));
  g->LoadFromFile(FileName);
  g->OnChange = TNotifyEvent(this, &TPicture::GraphicChanged);
  FGraphic = std::move(g);
  if (OnChange) OnChange(this);
}

void TPicture::SaveToFile(const AnsiString& FileName) {
  if (FGraphic) FGraphic->SaveToFile(FileName);
}

void TPicture::GraphicChanged(TObject*) {
  if (OnChange) OnChange(this);
}
