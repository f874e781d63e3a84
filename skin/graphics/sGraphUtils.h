// Graphics utilities of the skin engine: row access and creation of 32-bit
// bitmaps, colour mixing, and the colour model (tone, brightness,
// saturation, hue, HSV) with the per-bitmap driver that applies it. (Painting
// of sections, textures and text comes with the section painters.)
#pragma once

#include <cstddef>
#include <memory>

#include "skin/core/sConst.h"
#include "skin/core/sMaskData.h"
#include "skin/graphics/acBitmap.h"

// ------------------------------------------------------------ bitmaps

// The address of row 0 and the byte distance from row 0 to row 1 (0 for a
// one-row bitmap, negative for bottom-up ones); false for a bitmap without rows.
bool InitLine(TacBitmap* Bmp, Byte*& FirstLine, std::ptrdiff_t& Delta);
// A new 32-bit device-independent bitmap; sizing errors are swallowed and
// give a 0 x 0 bitmap.
std::unique_ptr<TacBitmap> CreateBmp32(Integer Width, Integer Height);
// Per red, green and blue: Trunc(c1 * W + (1 - W) * c2); Color1's top byte stays.
TColor MixColors(TColor Color1, TColor Color2, double W);

// ------------------------------------------------------------ colour model

// A per-pixel function: changes the pixel in place by Value.
using TacPixelFunc = void (*)(TsColor_& Pixel, Integer Value);

// Calls Func for every pixel of a 32-bit bitmap except those equal to Skip
// as a whole 32-bit value (0x1FFFFFFF: none skipped).
void ChangeBitmapPixels(TacBitmap* Bmp, TacPixelFunc Func, Integer Value, TColor Skip);

void ChangeColorBrightness(TsColor_& Pixel, Integer Value);
void ChangeColorSaturation(TsColor_& Pixel, Integer Value);
void ChangeColorHUE(TsColor_& Pixel, Integer Value);
void ChangeColorTone(TsColor_& Pixel, Integer Value);  // Value: a TColor tone
void MakeAlphaPixel(TsColor_& Pixel, Integer Value);

// Each colour channel: the largest of the three times the tone's channel shr 8.
TsColor_ ChangeTone(TsColor_ Pixel, TsColor_RGB Tone);
// The same on the colour's bytes taken as a pixel (pass the tone with red and
// blue exchanged for the pixel version's colours).
TColor ChangeTone(TColor Color, TColor Tone);
// Each of bytes 0..2 moved by Delta and limited to 0..255; byte 3 stays.
TColor ChangeBrightness(TColor Color, Integer Delta);
// Channels moved away from (positive) or toward (negative) their average.
TsColor_ ChangeSaturation(Integer Value, TsColor_ Pixel);
TColor ChangeSaturation(TColor Color, Integer Value);
// The hue turned by Value degrees (any value; it is brought into 0..359 first).
TsColor_ ChangeHue(Integer Value, TsColor_ Pixel);
TColor ChangeHue(Integer Value, TColor Color);

struct TsHSV {
  Integer H = 0;   // degrees
  double S = 0;    // 0..1
  double V = 0;    // 0..1
};
// A colour (red in byte 0) of hue H, saturation S and value V.
TColor Hsv2Rgb(double H, double S, double V);
TsHSV Rgb2Hsv(TsColor Color);
void HSVtoRGB(double H, double S, double V, double& R, double& G, double& B);
void RGBToHSV(double R, double G, double B, double& H, double& S, double& V);
// Red and blue exchanged (for colours whose top byte is 0).
TColor SwapInteger(TColor Color);

// ------------------------------------------------------------ bitmaps and colours

// Resampling filters of Stretch.
DK_ENUM(TFilterType, ftBox, ftTriangle, ftHermite, ftBell, ftSpline, ftLanczos3, ftMitchell);

// The same as CreateBmp32 without swallowing errors.
std::unique_ptr<TacBitmap> CreateBmp24(Integer Width, Integer Height);
// A new bitmap of Bmp's width, height and pixel format.
std::unique_ptr<TacBitmap> CreateBmpLike(TacBitmap* Bmp);
// A 32-bit copy of the upper half of R with alpha 255 - (the red byte of the
// pixel at the same place in the lower half): black in the lower half is
// opaque. nullptr when R's width or half height is 0.
std::unique_ptr<TacBitmap> CreateAlphaBmp(TacBitmap* Bmp, const TRect& R);
// Per red, green and blue: Trunc(c1 - (c1 - c2) * W) limited to 0..255; top byte 0.
TColor ChangeColor(TColor Color1, TColor Color2, double W);
// Per channel (a * 127 + b * 129) shr 8; top byte 0.
TsColor AverageColor(TsColor ColorBegin, TsColor ColorEnd);
TColor AverageColor(TColor ColorBegin, TColor ColorEnd);

// ------------------------------------------------------------ blending and copying
//
// 32-bit bitmaps; the key pixel 0x00FF00FF marks transparent pixels of skin
// images. Copies walk the smaller of the two rectangles and cut it to both
// bitmaps; a pixel that falls outside a bitmap (or whose background lies
// outside the parent's image) leaves the destination pixel as it is.

// Blue, green and red of every pixel become (r + g + b) div 3; alpha kept.
void GrayScale(TacBitmap* Bmp);
// The same, except pixels whose whole value is TransColor (in pixel order).
void GrayScaleTrans(TacBitmap* Bmp, TsColor TransColor);
// Src's rectangle SrcRect (right and bottom inclusive) over Dst at (X, Y):
// each colour channel Trunc(S - (S - D) * Blend), source pixels equal to
// TransColor (as a whole value) skipped; alpha kept.
void BlendTransRectangle(TacBitmap* Dst, Integer X, Integer Y, TacBitmap* Src, TRect SrcRect, double Blend,
                         TColor TransColor = sFuchsia);
// Every pixel other than 0x00FF00FF pulled toward Color:
// Trunc((c - color) * Blend + color); alpha kept.
void BlendTransBitmap(TacBitmap* Bmp, double Blend, TColor Color);
// (c * m + color * (256 - m)) shr 8 per channel, m the mask pixel's same
// channel; nothing unless both bitmaps have the same size; alpha kept.
void BlendBmpByMask(TacBitmap* SrcBmp, TacBitmap* MskBmp, TColor BlendColor);
// First := (first * W + second * (256 - W)) shr 8 per colour channel; alpha
// kept; nothing unless both have the same size.
void SumBitmaps(TacBitmap* Dst, TacBitmap* Src, Integer W);
// The same blend of Src's rectangle R onto Dst at DstPoint (R's right and
// bottom become inclusive once cut: pass the whole source, (0, 0, W, H)).
void SumBmpRect(TacBitmap* Dst, TacBitmap* Src, Integer W, TRect R, TPoint DstPoint);
// Out := (first * m + second * (256 - m)) shr 8 per colour channel, m the
// mask pixel's same channel, or W without a mask; nothing unless First and
// Second have the same size.
void SumBitmapsByMask(TacBitmap* OutBmp, TacBitmap* Bmp1, TacBitmap* Bmp2, TacBitmap* MskBmp, Integer W = 0);
// Second over first inside R, guided by the mask's red byte: 0 blends by the
// second's alpha, 255 keeps the first, m between by ((255 - m) * alpha) shr 8.
void SumByMaskWith32(TacBitmap* Bmp1, TacBitmap* Bmp2, TacBitmap* MskBmp, const TRect& R);
// Src's rectangle over Dst's with the source alpha; key pixels take the
// parent's pixel (alpha 255) when CI is ready and UpdateTrans is set.
void CopyByMask(TRect R1, TRect R2, TacBitmap* Bmp1, TacBitmap* Bmp2, const TCacheInfo& CI, bool UpdateTrans);
// Src's rectangle through the mask that lies half the height of MD's source
// rectangle below it in the same bitmap (black shows the source).
void CopyByMask(TRect R1, TRect R2, TacBitmap* Bmp1, TacBitmap* Bmp2, const TCacheInfo& CI, bool UpdateTrans,
                const TsMaskData& MD);
// A 32-bit picture with its alpha, optionally tinted toward GrayedColor
// (0x1FFFFFFF: none), faded by Blend percent and mirrored below itself.
void CopyBmp32(TRect R1, TRect R2, TacBitmap* Bmp1, TacBitmap* Bmp2, const TCacheInfo& CI, bool UpdateTrans,
               TColor GrayedColor, Integer Blend, bool Reflected);
// Every pixel of Src other than TransColor (in pixel order) to Dst at
// (X + column, Y + row), opaque.
void CopyTransBitmaps(TacBitmap* Dst, TacBitmap* Src, Integer X, Integer Y, TColor TransColor);
// Src's rectangle (right and bottom inclusive) to Dst at (X, Y), pixels equal
// to TransColor (as given) restored from CI or its fill colour.
void CopyTransRect(TacBitmap* Dst, TacBitmap* Src, Integer X, Integer Y, TRect SrcRect, TColor TransColor,
                   const TCacheInfo& CI, bool UpdateTrans);
// The same keeping the source alpha, key pixels (TransColor in pixel order,
// alpha 0) left.
void CopyTransRectA(TacBitmap* Dst, TacBitmap* Src, Integer X, Integer Y, TRect SrcRect, TColor TransColor,
                    const TCacheInfo& CI);
// A new 32-bit bitmap turned by 90 degrees; nullptr unless Bmp is 32-bit.
// With KillSource the source is freed.
std::unique_ptr<TacBitmap> MakeRotated90(std::unique_ptr<TacBitmap>& Bmp, bool CW, bool KillSource = true);

// ------------------------------------------------------------ stretching

// Resamples Src into Dst of NewWidth x NewHeight (32-bit) with the filter, in
// two separable passes with 16.16 fixed-point weights; nothing when the new
// size is empty or Src is less than 2 pixels wide or high. Equal sizes copy.
void Stretch(TacBitmap* Src, TacBitmap* Dst, Integer NewWidth, Integer NewHeight, TFilterType Filter,
             Integer Param = 0);

// ------------------------------------------------------------ glow and blur

// Blurs an 8-bit bitmap in place with a flat kernel whose width follows the
// radius (a radius of 1 or 2: three taps, 3: five, at most 31); edge bytes
// repeat beyond the ends. Other depths and a radius of 0 or less change nothing.
void Blur8(TacBitmap* Bmp, double Radius);
// Blurs a 32-bit bitmap with alpha in place by a three-pixel average, rows
// then columns; transparent neighbours take the colour of opaque ones.
void QBlur(TacBitmap* Bmp);
// The glow of an 8-bit mask (255: none, 0: full glow) laid over a 32-bit
// bitmap with the mask's top-left corner at (X, Y): colour and alpha move
// toward Color by 255 - the mask byte; pixels outside Dst are left out.
void acPaintGlowMask(TacBitmap* Dst, TacBitmap* Mask, Integer X, Integer Y, TColor Color);

// The blurred mask of a glow, kept by its caller between paints together
// with what it was drawn for: a mask is drawn again when any of these differ.
struct TacGlowMask {
  std::unique_ptr<TacBitmap> Bmp;
  AnsiString Text;
  AnsiString Font;       // the font's description
  Cardinal Flags = 0;    // DrawText flags
  Cardinal Sides = 0;
  Integer BlurSize = 0;
  TSize TextSize;        // of the text rectangle
};

// ------------------------------------------------------------ tiling

// The rectangle a texture painter hands back when it covered all of R.
inline constexpr TRect acNothingLeft{-1, -1, -1, -1};

// Tiles the whole Picture over R of Dst from R's top-left corner with
// straight copies, cut at R's right and bottom; nothing for a picture
// without pixels.
void TileBitmap(TacBitmap* Dst, const TRect& R, TacBitmap* Picture);
// Lays a texture over R of Dst: Picture tiled when it is given and not
// empty, else MD's source rectangle out of its own bitmap or the master
// image, in the fill mode (tiled, stretched, a strip along one side...). R
// comes back as the part left uncovered, or acNothingLeft; a tile of no
// width or height paints nothing and leaves R.
void TileBitmap(TacBitmap* Dst, TRect& R, TacBitmap* Picture, const TsMaskData& MD, TacFillMode FillMode);
// Lays a masked texture (the first image of MD, its mask in the lower half)
// over R through the master image with CI as background: fmTiled covers R
// with tiles cut at the far edges, fmDisTiled lays whole tiles and gives the
// strips right of and below them the parent's pixels or fill colour. Other
// modes, a missing manager and a tile of no width or height leave R as it is.
void TileMasked(TacBitmap* Bmp, TRect& R, const TCacheInfo& CI, const TsMaskData& MD, TacFillMode FillMode);

#ifdef _WIN32
// ------------------------------------------------------------ layered windows (Windows)

using TacUpdateLayeredWindow = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);
using TacSetLayeredWindowAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// The system's functions for layered windows, looked up when the program
// starts (nullptr where the system has none). Every caller goes through
// these pointers, so a test can put a recorder in front of them.
namespace sgraphutils {
extern HMODULE User32Lib;
extern TacUpdateLayeredWindow UpdateLayeredWindow;
extern TacSetLayeredWindowAttributes SetLayeredWindowAttributes;
}  // namespace sgraphutils
// True when the system has the function that updates layered windows.
bool acLayered();

// ------------------------------------------------------------ DC fills and text (Windows)

#include "classlib/ui/Buttons.h"

class TsSkinManager;
class TsCommonData;

// R filled with a solid brush of Color (system colours resolved); the DC's
// state is kept.
void FillDC(HDC DC, const TRect& R, TColor Color);
// Strips of the given widths along the four sides of R: top, left, bottom, right.
void FillDCBorder(HDC DC, const TRect& R, Integer WidthLeft, Integer WidthTop, Integer WidthRight,
                  Integer WidthBottom, TColor Color);
// Copies the frame BorderWidth wide along the sides of (X, Y, Width, Height)
// from the same places of (SrcX, SrcY) in SrcDC; nothing inside the frame.
void BitBltBorder(HDC DestDC, Integer X, Integer Y, Integer Width, Integer Height, HDC SrcDC, Integer SrcX,
                  Integer SrcY, Integer BorderWidth);
// Takes the visible windowless children of Ctrl (skinned splitters excepted)
// out of the DC's clip region, moved by the offset; none with StdTransparency.
void ExcludeControls(HDC DC, TWinControl* Ctrl, TacCtrlType CtrlType, Integer OffsetX, Integer OffsetY);
// The text, its end replaced by "..." until it fits MaxLength pixels; empty
// when not even one character fits with the dots.
AnsiString CutText(TCanvas* Canvas, const AnsiString& Text, Integer MaxLength);
// Text fitted into R (unless word-wrapped) and drawn plain, or embossed in
// the button highlight and shadow colours when disabled; R comes back as the
// fitted rectangle grown by one pixel.
void WriteText(TCanvas* Canvas, const char* Text, bool Enabled, TRect& R, Cardinal Flags);
// The same on a DC in its current text colour (disabled: drawn twice).
void WriteTextOnDC(HDC DC, const char* Text, bool Enabled, TRect& R, Cardinal Flags);
// DrawText of the whole text; the text's height (with DT_CALCRECT R is updated).
Integer acDrawText(HDC DC, const AnsiString& Text, TRect& R, Cardinal Flags);
Integer acTextWidth(TCanvas* Canvas, const AnsiString& Text);
Integer acTextHeight(TCanvas* Canvas, const AnsiString& Text);
TSize acTextExtent(TCanvas* Canvas, const AnsiString& Text);
void acTextRect(TCanvas* Canvas, const TRect& R, Integer X, Integer Y, const AnsiString& Text);
bool acGetTextExtent(HDC DC, const AnsiString& Text, TSize& Size);
// Text in the colours of a skin section (its outlines first, in the hot
// look when Hot); disabled text mixes the normal font colour with the
// section's colour. Without a manager (nor a default one) or with an invalid
// section the canvas's own font colour is used. R is not changed.
void WriteTextEx(TCanvas* Canvas, const char* Text, bool Enabled, TRect& R, Cardinal Flags, Integer SkinIndex,
                 bool Hot, TsSkinManager* SkinManager = nullptr);
void acWriteTextEx(TCanvas* Canvas, const AnsiString& Text, bool Enabled, TRect& R, Cardinal Flags,
                   Integer SkinIndex, bool Hot, TsSkinManager* SkinManager = nullptr);
// Text of a control in the colours of its skin state's section (or, for a
// transparent control of a common section, of the parent section that gives
// its font), tinted as the control is: outlines, then the font colour, and
// the section's glow into the state's cache; a hot link-style control's text
// is underlined (the canvas font keeps it). Drawn only inside R. A control
// that is not skinned, or has a font of its own, writes in the canvas's font
// (embossed when disabled). The manager argument is not used.
void WriteTextEx(TCanvas* Canvas, const char* Text, bool Enabled, TRect& R, Cardinal Flags, TsCommonData* SkinData,
                 bool Hot);
void acWriteTextEx(TCanvas* Canvas, const AnsiString& Text, bool Enabled, TRect& R, Cardinal Flags,
                   TsCommonData* SkinData, bool Hot, TsSkinManager* SkinManager = nullptr);
// DrawText of the whole text in the canvas's font (Enabled is not used).
void acWriteText(TCanvas* Canvas, const AnsiString& Text, bool Enabled, TRect& R, Cardinal Flags);
// The font's text-metric height on the screen plus 6.
Integer GetFontHeight(HFONT Font);
// The size of the text in the font: wrapped within MaxWidth, or on one line.
TSize GetStringSize(HFONT Font, const AnsiString& Text, Cardinal Flags = 0, bool WordWrap = false,
                    Integer MaxWidth = 0);
// A dotted frame of R, pixels alternating between the two colours
// (0x1FFFFFFF: that colour is skipped).
void FocusRect(TCanvas* Canvas, TRect R, TColor Color1, TColor Color2);

// ------------------------------------------------------------ frames, pictures and layout (Windows)

// Width rings of a 3-D frame inside R (top-left pen, bottom-right pen); R
// comes back shrunk by the frame and Width 0.
void DrawRectangleOnDC(HDC DC, TRect& R, TColor ColorTop, TColor ColorBottom, Integer& Width);
// A picture (a bitmap or a JPEG texture) tiled over R of the canvas from R's
// top-left corner, cut at R's edges; other pictures are not drawn.
void TileBitmap(TCanvas* Canvas, const TRect& R, TObject* Graphic);
// TileBitmap of skin bitmaps on any canvas: the picture when it is given
// and not empty, else MD's image in the fill mode; R comes back as the part
// left uncovered.
void TileBitmap(TCanvas* Canvas, TRect& R, TObject* Graphic, const TsMaskData& MD, TacFillMode FillMode);
// The glyph's position and the caption's rectangle inside a button's client
// rectangle, as a bit button places them (DT_RIGHT in BiDiFlags exchanges the
// left and right layouts).
void CalcButtonLayout(const TRect& Client, TPoint GlyphSize, TPoint TextSize, TButtonLayout Layout,
                      TAlignment Alignment, Integer Margin, Integer Spacing, TPoint& GlyphPos, TRect& TextBounds,
                      Cardinal BiDiFlags);
// A texture file into the picture: ".jpg"/".jpeg" as a picture, ".bmp" as a
// 32-bit bitmap (gray with Gray); a missing file clears the picture.
void LoadJpegOrBmp(TPicture* Image, const AnsiString& FileName, bool Gray);

// ------------------------------------------------------------ glow and shaped tints (Windows)

// The glow of Text around R (where the caller draws it) into the 32-bit
// Dst: the text drawn into Mask once per side flag (1 left, 2 up, 4 right,
// 8 down) and in place, blurred by BlurSize and laid in Color. The mask is
// drawn anew only when it was drawn for another text, font, flags, sides,
// size or blur.
void acDrawGlowForText(TacBitmap* Dst, const char* Text, const TRect& R, Cardinal Flags, Cardinal Sides,
                       Integer BlurSize, TColor Color, TacGlowMask& Mask);
// R of Bmp tinted toward Color through a shape whose edge fades over Blur
// pixels: its middle keeps Transparency percent of the pixels' own colour.
void FadeBmp(TacBitmap* Bmp, const TRect& R, Integer Transparency, TColor Color, Integer Blur, Integer Radius);
// The same from a canvas's SrcRect onto DstDC at DstPoint, as a rectangle or
// an ellipse.
void FadeRect(TCanvas* SrcCanvas, TRect SrcRect, HDC DstDC, TPoint DstPoint, Integer Transparency, TColor Color,
              Integer Blur, TsShadowingShape Shape, Integer Radius);
void FadeRect(TCanvas* SrcCanvas, TRect SrcRect, HDC DstDC, TPoint DstPoint, Integer Transparency, TColor Color,
              Integer Blur, TsShadowingShape Shape);
#endif

// ------------------------------------------------------------ templates, glyphs, check boxes and channels

// Dst takes Src's pixel format, size and a copy of its pixels.
void CopyBmp(TacBitmap* Dst, TacBitmap* Src);
// For every pixel of Dst (cut to Src), its byte number Channel (0 blue,
// 1 green, 2 red, 3 alpha) from Src's pixel at the same place; 32-bit bitmaps.
void CopyChannel32(TacBitmap* Dst, TacBitmap* Src, Integer Channel);
// The same for Src's rectangle SrcRect placed at DstRect's top-left, cut to
// both bitmaps.
void CopyChannel32(TacBitmap* Dst, TacBitmap* Src, Integer Channel, const TRect& DstRect, const TRect& SrcRect);
// ToBmp8: each byte of the 8-bit bitmap takes the channel byte of the 32-bit
// pixel at the same place; otherwise the other way. Over the common size.
void CopyChannel(TacBitmap* Bmp32, TacBitmap* Bmp8, Integer Channel, bool ToBmp8);
// Nine-part painting of the template S of Src onto D of Dst: margins M, line
// thicknesses B (a corner is an L of its margin and the thickness), side
// modes Modes (per side: 0 tiled, 1 stretched, else nothing) and the centre
// (stretched or tiled) when DrawCentre.
void PaintControlByTemplate(TacBitmap* Dst, TacBitmap* Src, const TRect& D, const TRect& S, const TRect& M,
                            const TRect& B, const TRect& Modes, bool StretchCentre, bool DrawCentre);
// One image of a glyph of NumGlyphs images side by side at R's top-left,
// chosen by State (0 normal, 1 hot, 2 pressed, 3 extra; taken into 0..3),
// Down and the glyphs' order; disabled images are blended by Blend percent;
// Reflected mirrors it below itself, fading. The kind is not used.
void DrawGlyphEx(TacBitmap* Glyph, TacBitmap* DstBmp, TRect R, Integer NumGlyphs, bool Enabled, Integer DisabledKind,
                 Integer State, Integer Blend, bool Down, bool Reflected);

// ------------------------------------------------------------ regions

struct TsMaskData;

// Appends the runs of pixels equal to Color (as whole 32-bit values) of a
// 32-bit bitmap, one rectangle of one row per run.
void AddRgnBmp(TAOR& Rgns, TacBitmap* Bmp, TsColor Color);
// Appends the runs of key pixels (0x00FF00FF) of the top corners (the
// bottom ones with Bottom) of a border image's first state, in the
// coordinates of a target Width wide, rows moved down by VertOffset.
void AddRgn(TAOR& Rgns, Integer Width, const TsMaskData& MaskData, Integer VertOffset, bool Bottom);

#ifdef _WIN32
#include "classlib/ui/StdCtrls.h"

class TsSkinManager;
class TCustomImageList;

// Width (+ 2) and height of the skin's check-box glyph ("SMALLCHECKED" when
// Small, else "BOXCHECKED") when the manager is given, active and has it;
// otherwise the system check box's size (a quarter of the width and a third
// of the height of the system's check-box bitmap).
Integer CheckWidth(TsSkinManager* SkinManager, bool Small = false);
Integer CheckHeight(TsSkinManager* SkinManager, bool Small = false);
// A check box in the rectangle of Bmp (a rectangle from the bitmap's
// top-left): the skin's glyph of the state when the skin has them, else the
// system check box over the background of CI.
void acDrawCheck(const TRect& R, TCheckBoxState AState, bool AEnabled, TBitmap* Bmp, const TCacheInfo& CI,
                 TsSkinManager* SkinManager, bool Small = false);
// A small arrow of four lines pointing to Direction, centred in R.
void DrawColorArrow(TCanvas* Canvas, TColor Color, const TRect& R, TacSide Direction);
// Selects a bold or normal copy of Font turned by Angle (tenths of a degree)
// into DC with the font's colour as the text colour; answers the font
// selected before, for the caller to select back.
HFONT MakeAngledFont(HDC DC, TFont* Font, Integer Angle);
// The bitmap's rectangle without its pixels of Color; the caller owns it.
void GetRgnFromBmp(HRGN& Rgn, TBitmap* Bmp, TsColor Color);
// Bmp takes the list's size, its background colour (fuchsia without one) and
// the image Index drawn at (0, 0).
void CopyImage(TBitmap* Bmp, TCustomImageList* ImgList, Integer Index);
#endif

// ------------------------------------------------------------ background info

// The background a painter takes from a parent's answer: a ready image for
// btCache; otherwise the colour (as RGB) with the answer's bitmap and border
// strips, not ready. (btNotReady is the caller's affair: paint later.)
TCacheInfo BGInfoToCI(const TacBGInfo* BGInfo);

#ifdef _WIN32
class TControl;
// Asks a window what lies behind its child (the skin command "query
// background info"). True when the window answered. Otherwise: when the
// record asked for drawing on entry, the window paints itself (erase and
// paint) into the record's DC within R, its pixel (x + Offset.X,
// y + Offset.Y) landing on (x, y), and R stays moved by Offset; else the
// answer becomes a plain fill of the default manager's main colour (the
// system button face without a manager).
bool GetBGInfo(PacBGInfo BGInfo, HWND Handle, bool PleaseDraw = false);
// The same for a control (a window control with a handle by message, any
// other by Perform); a control that does not answer paints itself into the
// record's DC (please-draw) or gives its background colour: its answer to
// "query colour", or its Color when that answer is 0. Always true.
bool GetBGInfo(PacBGInfo BGInfo, TControl* Control, bool PleaseDraw = false);
#endif

// ------------------------------------------------------------ section painters
//
// A skin section painted into R of a bitmap: its fill (colour, gradient,
// texture) over the parent's background CI as far as the section is
// transparent, its corner images and its border image. Offset is the place
// of R's owner in the parent, added to CI's (X, Y) wherever the parent's
// image is read. A state at or beyond the section's state count paints as
// its last state; the background takes the normal look for state 0 and the
// hot look for every state above. Nothing is painted without a manager (nil:
// the default one), for an index that names no section, or (where a border
// is drawn) when R does not lie inside the bitmap. Filling is not used.

class TsSkinManager;

// Background, corner images and border image of the section.
void PaintItem(Integer SkinIndex, const AnsiString& SectionName, const TCacheInfo& CI, bool Filling, Integer State,
               const TRect& R, const TPoint& Offset, TacBitmap* ItemBmp, TsSkinManager* SkinManager = nullptr,
               Integer TextureIndex = -1, Integer HotTextureIndex = -1);
// The background alone. A texture index of -1 takes the look's own texture
// (or the section's "PATTERN" image or picture); the hot texture index names
// a masked texture of separate tiles laid over the hot background. A custom
// colour other than 0xFF00FF paints that colour opaque instead of the look.
void PaintItemBG(Integer SkinIndex, const AnsiString& SectionName, const TCacheInfo& CI, Integer State,
                 const TRect& R, const TPoint& Offset, TacBitmap* ItemBmp, TsSkinManager* SkinManager = nullptr,
                 Integer TextureIndex = -1, Integer HotTextureIndex = -1, TColor CustomColor = sFuchsia);
// A reduced background for callers that know their indexes: the given
// texture only (no lookups, no pictures, no masked tiles), the look of
// min(State, 1); the parent's background weighs T * 255 div 100. Nothing
// without a default manager.
void PaintItemBGFast(Integer SkinIndex, Integer TextureIndex, Integer HotTextureIndex, const AnsiString& SectionName,
                     const TCacheInfo& CI, Integer State, const TRect& R, const TPoint& Offset, TacBitmap* ItemBmp,
                     TsSkinManager* SkinManager = nullptr);
// The reduced background and the given border image (no corner images).
void PaintItemFast(Integer SkinIndex, Integer MaskIndex, Integer TextureIndex, Integer HotTextureIndex,
                   const AnsiString& SectionName, const TCacheInfo& CI, bool Filling, Integer State, const TRect& R,
                   const TPoint& Offset, TacBitmap* ItemBmp, TsSkinManager* SkinManager = nullptr);
// The background and the section's "BORDERSMASK" drawn for very small rectangles.
void PaintSmallItem(Integer SkinIndex, const AnsiString& SectionName, const TCacheInfo& CI, bool Filling,
                    Integer State, const TRect& R, const TPoint& Offset, TacBitmap* ItemBmp,
                    TsSkinManager* SkinManager = nullptr);
#ifdef _WIN32
// PaintItem through a 32-bit bitmap of R's size copied to R of a device
// context (whose state comes back as it was); nothing for R reaching left of
// or above the context's origin or smaller than 1 x 1.
void PaintItem(Integer SkinIndex, const AnsiString& SectionName, const TCacheInfo& CI, bool Filling, Integer State,
               const TRect& R, const TPoint& Offset, HDC DC, TsSkinManager* SkinManager = nullptr);
// A whole bitmap painted as the section Section, or SecondSection when the
// skin has no section of the first name, over the parent device context's
// pixels at ParentOffset (or, without a parent context, the colour BGColor).
// The index of the section painted (invalid when the skin has neither).
Integer PaintSection(TacBitmap* Bmp, const AnsiString& Section, const AnsiString& SecondSection, Integer State,
                     TsSkinManager* Manager, const TPoint& ParentOffset, TColor BGColor, HDC ParentDC);

// The painters of a control's skin state: its section, its own textures
// (PATTERN and HOTPATTERN) and, with CustomColor, its owner's colour opaque
// instead of the section's look. The texture arguments are not used.
class TsCommonData;
void PaintItemBG(TsCommonData* SkinData, const TCacheInfo& CI, Integer State, const TRect& R, const TPoint& Offset,
                 TacBitmap* ItemBmp, Integer TextureIndex = -1, Integer HotTextureIndex = -1);
// Background, corner images and border image (the border hides in the
// normal state when its fill mode says so); where a border was drawn or the
// look is opaque, the whole bitmap then takes the state's colour tone, hue
// offset and saturation (key pixels excepted).
void PaintItem(TsCommonData* SkinData, const TCacheInfo& CI, bool Filling, Integer State, const TRect& R,
               const TPoint& Offset, TacBitmap* ItemBmp, bool UpdateCorners, Integer TextureIndex = -1,
               Integer HotTextureIndex = -1);
// The same with the background asked of Parent, without the tint; false
// only when the parent's image is not ready yet (paint again later).
bool PaintSkinControl(TsCommonData* SkinData, TControl* Parent, bool Filling, Integer State, const TRect& R,
                      const TPoint& Offset, TacBitmap* ItemBmp, bool UpdateCorners, Integer TextureIndex = -1,
                      Integer HotTextureIndex = -1);
#endif
