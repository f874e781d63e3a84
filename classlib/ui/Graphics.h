// Colours, fonts, brushes, pens, the canvas and the pictures of the Windows
// half: TColor with its named and system colours, TFont, TBrush, TPen,
// TCanvas over a device context, TGraphic with a registry of file formats
// (TPicture), TBitmap as a device-independent section and TIcon.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "classlib/core/Classes.h"
#include "classlib/core/GraphicsTypes.h"
#include "classlib/core/PixelView.h"
#include "classlib/core/TypInfo.h"
#include "classlib/core/Types.h"
#include "classlib/ui/WinApi.h"

// ------------------------------------------------------------------- colours

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clLtGray = 0xC0C0C0,
                 clDkGray = 0x808080, clWhite = 0xFFFFFF, clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6,
                 clCream = 0xF0FBFF, clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF, clDefault = 0x20000000;

constexpr TColor SysColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<unsigned>(index)); }
constexpr TColor clScrollBar = SysColor(COLOR_SCROLLBAR), clBackground = SysColor(COLOR_BACKGROUND),
                 clActiveCaption = SysColor(COLOR_ACTIVECAPTION), clInactiveCaption = SysColor(COLOR_INACTIVECAPTION),
                 clMenu = SysColor(COLOR_MENU), clWindow = SysColor(COLOR_WINDOW),
                 clWindowFrame = SysColor(COLOR_WINDOWFRAME), clMenuText = SysColor(COLOR_MENUTEXT),
                 clWindowText = SysColor(COLOR_WINDOWTEXT), clCaptionText = SysColor(COLOR_CAPTIONTEXT),
                 clActiveBorder = SysColor(COLOR_ACTIVEBORDER), clInactiveBorder = SysColor(COLOR_INACTIVEBORDER),
                 clAppWorkSpace = SysColor(COLOR_APPWORKSPACE), clHighlight = SysColor(COLOR_HIGHLIGHT),
                 clHighlightText = SysColor(COLOR_HIGHLIGHTTEXT), clBtnFace = SysColor(COLOR_BTNFACE),
                 clBtnShadow = SysColor(COLOR_BTNSHADOW), clGrayText = SysColor(COLOR_GRAYTEXT),
                 clBtnText = SysColor(COLOR_BTNTEXT), clInactiveCaptionText = SysColor(COLOR_INACTIVECAPTIONTEXT),
                 clBtnHighlight = SysColor(COLOR_BTNHIGHLIGHT), cl3DDkShadow = SysColor(COLOR_3DDKSHADOW),
                 cl3DLight = SysColor(COLOR_3DLIGHT), clInfoText = SysColor(COLOR_INFOTEXT),
                 clInfoBk = SysColor(COLOR_INFOBK), clHotLight = SysColor(COLOR_HOTLIGHT),
                 clGradientActiveCaption = SysColor(COLOR_GRADIENTACTIVECAPTION),
                 clGradientInactiveCaption = SysColor(COLOR_GRADIENTINACTIVECAPTION),
                 clMenuHighlight = SysColor(COLOR_MENUHILIGHT), clMenuBar = SysColor(COLOR_MENUBAR);

// A system colour as its current RGB value; other colours as they are.
TColor ColorToRGB(TColor Color);
// "clBtnFace" <-> value; also plain numbers ("$00FF00" / "65280").
bool IdentToColor(const AnsiString& Ident, Integer& Color);
bool ColorToIdent(Integer Color, AnsiString& Ident);
AnsiString ColorToString(TColor Color);
TColor StringToColor(const AnsiString& S);  // raises EConvertError

// ------------------------------------------------------------ graphics objects

DK_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut);
using TFontStyles = TSet<TFontStyle>;
DK_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed);
DK_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross);
DK_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame);
DK_ENUM(TPenMode, pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
        pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor);
using TFontCharset = Byte;

// Base of fonts, brushes and pens: owns one GDI handle, made when first asked
// for and dropped when a property changes.
class TGraphicsObject : public TPersistent {
  DK_CLASS(TGraphicsObject, TPersistent)
 public:
  ~TGraphicsObject() override;
  TNotifyEvent OnChange;

 protected:
  void Changed();
  void DropHandle();
  HGDIOBJ FHandle = nullptr;
};

class TFont : public TGraphicsObject {
  DK_CLASS(TFont, TGraphicsObject)
 public:
  TFont();
  void Assign(TPersistent* Source) override;
  HFONT Handle();
  void SetHandle(HFONT Value);  // takes the description of an existing font

  AnsiString Name() const { return FName; }
  void SetName(const AnsiString& Value);
  Integer Height() const { return FHeight; }
  void SetHeight(Integer Value);
  // Points at PixelsPerInch (96): Size = -Height * 72 / 96.
  Integer Size() const;
  void SetSize(Integer Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset Value);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  Integer PixelsPerInch() const { return FPixelsPerInch; }

 private:
  AnsiString FName = "MS Sans Serif";
  Integer FHeight = -11;
  TColor FColor = clWindowText;
  TFontStyles FStyle;
  TFontCharset FCharset = DEFAULT_CHARSET;
  TFontPitch FPitch = fpDefault;
  Integer FPixelsPerInch = 96;
};

class TBrush : public TGraphicsObject {
  DK_CLASS(TBrush, TGraphicsObject)
 public:
  TBrush() = default;
  void Assign(TPersistent* Source) override;
  HBRUSH Handle();
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle Value);

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};

class TPen : public TGraphicsObject {
  DK_CLASS(TPen, TGraphicsObject)
 public:
  TPen() = default;
  void Assign(TPersistent* Source) override;
  HPEN Handle();
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  Integer Width() const { return FWidth; }
  void SetWidth(Integer Value);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode Value);

 private:
  TColor FColor = clBlack;
  Integer FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
};

// ------------------------------------------------------------------- canvas

class TGraphic;

// Drawing on a device context. A canvas without a handle asks CreateHandle
// for one when it first draws (a bitmap's or a control's canvas); the font,
// brush and pen are selected into the context as a drawing call needs them.
class TCanvas : public TPersistent {
  DK_CLASS(TCanvas, TPersistent)
 public:
  TCanvas();
  ~TCanvas() override;

  HDC Handle();
  void SetHandle(HDC Value);
  bool HandleAllocated() const { return FHandle != nullptr; }
  // Serialises drawing from several threads on one canvas.
  void Lock();
  void Unlock();
  bool TryLock();
  int LockCount() const { return FLockCount; }

  TFont* Font() const { return FFont.get(); }
  TBrush* Brush() const { return FBrush.get(); }
  TPen* Pen() const { return FPen.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TPoint PenPos() const { return FPenPos; }
  // Text flags of TextRect/TextOut as the platform's ExtTextOut takes them.
  Integer TextFlags = 0;

  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
  void FillRect(const TRect& R);
  void FrameRect(const TRect& R);
  void TextOut(int X, int Y, const AnsiString& Text);
  // Text clipped to R, starting at X, Y.
  void TextRect(const TRect& R, int X, int Y, const AnsiString& Text);
  TSize TextExtent(const AnsiString& Text);
  int TextWidth(const AnsiString& Text) { return TextExtent(Text).cx; }
  int TextHeight(const AnsiString& Text) { return TextExtent(Text).cy; }
  void Draw(int X, int Y, TGraphic* Graphic);
  void StretchDraw(const TRect& R, TGraphic* Graphic);
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
  Integer CopyMode = SRCCOPY;
  TColor Pixel(int X, int Y);
  void SetPixel(int X, int Y, TColor Color);
  TRect ClipRect();

  TNotifyEvent OnChange, OnChanging;

 protected:
  enum TState { csHandleValid = 1, csFontValid = 2, csPenValid = 4, csBrushValid = 8 };
  virtual void CreateHandle() {}
  void RequiredState(int State);
  void Changing();
  void Changed();
  void DeselectHandles();

 private:
  void ObjectChanged(TObject* Sender);

  HDC FHandle = nullptr;
  int FState = 0;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TBrush> FBrush;
  std::unique_ptr<TPen> FPen;
  HGDIOBJ FOldFont = nullptr, FOldBrush = nullptr, FOldPen = nullptr;
  TPoint FPenPos;
  std::recursive_mutex FLock;
  int FLockCount = 0;
};

// ------------------------------------------------------------------ graphics

// How a 32-bit bitmap's fourth byte is taken when it is drawn: not at all, as
// the pixel's alpha, or as the alpha of a pixel whose colour is already
// multiplied by it.
DK_ENUM(TAlphaFormat, afIgnored, afDefined, afPremultiplied);

DK_ENUM(TProgressStage, psStarting, psRunning, psEnding);
// Progress of a long operation on a graphic (loading a picture): the stage,
// the percentage done, whether to redraw now, the part of the picture ready
// and a text.
using TProgressEvent = TClosure<void(TObject* Sender, TProgressStage Stage, Byte PercentDone, bool RedrawNow,
                                     const TRect& R, const AnsiString& Msg)>;

class TGraphic : public TPersistent {
  DK_CLASS(TGraphic, TPersistent)
 public:
  virtual bool Empty() const = 0;
  virtual Integer Width() const = 0;
  virtual Integer Height() const = 0;
  virtual void SetWidth(Integer Value) = 0;
  virtual void SetHeight(Integer Value) = 0;
  virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;
  virtual void LoadFromStream(TStream* Stream) = 0;
  virtual void SaveToStream(TStream* Stream) = 0;
  void LoadFromFile(const AnsiString& FileName);
  void SaveToFile(const AnsiString& FileName);
  virtual bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool Value);
  bool Modified() const { return FModified; }
  void SetModified(bool Value);

  TNotifyEvent OnChange;
  TProgressEvent OnProgress;

  // The picture streams with its form as the binary property "Data".
  void DefineProperties(TFiler* Filer) override;

 protected:
  virtual void ReadData(TStream* Stream);
  virtual void WriteData(TStream* Stream);
  virtual void Changed(TObject* Sender);
  virtual void Progress(TObject* Sender, TProgressStage Stage, Byte PercentDone, bool RedrawNow, const TRect& R,
                        const AnsiString& Msg);
  bool FTransparent = false;
  bool FModified = false;
};

using TGraphicClass = TClass;

class TBitmap;

class TBitmapCanvas : public TCanvas {
  DK_CLASS(TBitmapCanvas, TCanvas)
 public:
  explicit TBitmapCanvas(TBitmap* Bitmap) : FBitmap(Bitmap) {}
  ~TBitmapCanvas() override;
  // Leaves the bitmap free of the memory context (before its section changes).
  void FreeContext();

 protected:
  void CreateHandle() override;

 private:
  TBitmap* FBitmap;
  HDC FDC = nullptr;
  HGDIOBJ FOldBitmap = nullptr;
};

// A bitmap held as a device-independent section: its pixels are memory the
// program reads and writes row by row (ScanLine), rows bottom-up as the
// platform stores them. New bitmaps are 24 bits; PixelFormat changes the depth
// and keeps the picture.
class TBitmap : public TGraphic {
  DK_CLASS(TBitmap, TGraphic)
 public:
  TBitmap();
  ~TBitmap() override;
  void Assign(TPersistent* Source) override;

  bool Empty() const override { return FHandle == nullptr; }
  Integer Width() const override { return FWidth; }
  Integer Height() const override { return FHeight; }
  void SetWidth(Integer Value) override { SetSize(Value, FHeight); }
  void SetHeight(Integer Value) override { SetSize(FWidth, Value); }
  void SetSize(Integer AWidth, Integer AHeight);
  TPixelFormat PixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TPixelFormat Value);

  HBITMAP Handle();
  // Takes over a bitmap handle (converted into a section of its own).
  void SetHandle(HBITMAP Value);
  // Hands the section to the caller, who then owns it; the bitmap is empty.
  HBITMAP ReleaseHandle();
  TCanvas* Canvas();
  // Start of a row (0 is the top row); raises EInvalidGraphicOperation out of range.
  void* ScanLine(Integer Row);
  // Bytes from one row to the next in memory (rows are bottom-up).
  Integer RowBytes() const;
  // The pixels of a 32-bit bitmap as the class library's 32-bit view (top row
  // first, a negative row distance); empty for other formats.
  TPixelView32 PixelView();
  // A 32-bit bitmap with afDefined or afPremultiplied draws with its
  // per-pixel alpha. Going from afDefined to afPremultiplied multiplies the
  // pixels' colours by their alpha, and back divides them again.
  TAlphaFormat AlphaFormat() const { return FAlphaFormat; }
  void SetAlphaFormat(TAlphaFormat Value);

  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  void LoadFromResourceName(HINSTANCE Instance, const AnsiString& ResName);
  void LoadFromResourceID(HINSTANCE Instance, int ResID);
  TColor TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(TColor Value) { FTransparentColor = Value; }

 protected:
  // "Data" of a bitmap: the byte count (32 bits), then the bitmap file. A bare
  // bitmap file (starting with "BM") is read as well.
  void ReadData(TStream* Stream) override;
  void WriteData(TStream* Stream) override;

 private:
  friend class TBitmapCanvas;
  void NewSection(Integer W, Integer H, TPixelFormat Format, HBITMAP CopyFrom, int CopyW, int CopyH);
  void FreeSection();
  void DrawWithAlpha(HDC Dest, const TRect& Rect);
  void FromDib(const BITMAPINFOHEADER* Header, const void* Colors, size_t ColorBytes, const void* Bits,
               size_t BitsBytes);

  HBITMAP FHandle = nullptr;
  void* FBits = nullptr;
  Integer FWidth = 0, FHeight = 0;
  TPixelFormat FPixelFormat = pf24bit;
  TColor FTransparentColor = clDefault;
  TAlphaFormat FAlphaFormat = afIgnored;
  std::unique_ptr<TBitmapCanvas> FCanvas;
};

class TIcon : public TGraphic {
  DK_CLASS(TIcon, TGraphic)
 public:
  TIcon() = default;
  ~TIcon() override;
  void Assign(TPersistent* Source) override;
  bool Empty() const override { return FHandle == nullptr; }
  Integer Width() const override { return FWidth; }
  Integer Height() const override { return FHeight; }
  void SetWidth(Integer Value) override { FWidth = Value; }
  void SetHeight(Integer Value) override { FHeight = Value; }
  HICON Handle() const { return FHandle; }
  void SetHandle(HICON Value);  // the icon takes ownership
  HICON ReleaseHandle();
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  // An icon file (".ico"): the image that fits Width x Height best (32 x 32 by default).
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

 private:
  HICON FHandle = nullptr;
  Integer FWidth = 32, FHeight = 32;
};

// Holds one graphic of any registered format; loads a file by its extension.
class TPicture : public TPersistent {
  DK_CLASS(TPicture, TPersistent)
 public:
  TPicture();
  ~TPicture() override;
  void Assign(TPersistent* Source) override;
  TGraphic* Graphic() const { return FGraphic.get(); }
  void SetGraphic(TGraphic* Value);  // copies Value
  TBitmap* Bitmap();                 // makes the graphic a bitmap when it is not one
  TIcon* Icon();
  Integer Width() const { return FGraphic ? FGraphic->Width() : 0; }
  Integer Height() const { return FGraphic ? FGraphic->Height() : 0; }
  void LoadFromFile(const AnsiString& FileName);
  void SaveToFile(const AnsiString& FileName);
  TNotifyEvent OnChange;

  static void RegisterFileFormat(const AnsiString& Extension, const AnsiString& Description,
                                 TGraphicClass GraphicClass);
  static void UnregisterGraphicClass(TGraphicClass GraphicClass);
  // The class registered for an extension ("bmp", without the dot), or nullptr.
  static TGraphicClass FileFormat(const AnsiString& Extension);

 private:
  void GraphicChanged(TObject* Sender);
  std::unique_ptr<TGraphic> FGraphic;
};

