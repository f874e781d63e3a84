// The skins the tests of skinned controls are written with, by the test
// itself into a temporary folder, so that every expected pixel is known:
// solid colours of the test's choosing for "PANEL", "PANEL_LOW",
// "TRANSPARENT", "BAR", "BUTTON" and "SPEEDBUTTON", a border mask for
// "BUTTON" of four images in distinct colours (one per button state), and
// variants of the same skin:
//
//   "Controls"  the plain one
//   "Gradient"  "PANEL" is a vertical gradient (its image is cached)
//   "Corners"   the "BUTTON" mask's corners hold key-colour pixels
//   "OneState"  "BUTTON", "SPEEDBUTTON" and "BAR" have one state
//   "Other"     every colour of "Controls" differs (a second skin to change to)
//
// Colours are written as 0xRRGGBB (as the screen reads them); ToTColor gives
// the class library's value (red in the low byte).
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "../skin_manager/SkinManagerSupport.h"
#include "classlib/ui/Forms.h"
#include "skin/core/sSkinManager.h"
// After the class library's headers (windows.h renames GetObject).
#include <windows.h>

#include "TestSupport.h"

namespace controlsfixture {

constexpr TColor ToTColor(std::uint32_t Rgb) {
  return static_cast<TColor>(((Rgb & 0xFF) << 16) | (Rgb & 0xFF00) | ((Rgb >> 16) & 0xFF));
}
// A COLORREF (as GetPixel answers) as 0xRRGGBB.
constexpr std::uint32_t ToRgb(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

// One look of a section: fill and font colour.
struct TLook {
  std::uint32_t Color, FontColor;
};

// The colours of one skin variant.
struct TPalette {
  TLook Panel, PanelLow, Bar, BarHot, Button, ButtonHot, Speed, SpeedHot;
  std::uint32_t Form;                 // "FORM" and the skin's main colour
  std::uint32_t GradientTop, GradientBottom;  // the gradient "PANEL" of "Gradient"
  std::uint32_t Strip;                // the "TRANSPARENT" section's border strips
  std::uint32_t BarBorder;            // the "BAR" section's border (the memos' frame)
  std::uint32_t ButtonMask[4];        // the "BUTTON" mask: normal, hot, pressed, default
};

inline constexpr TPalette kControls = {
    {0x5080B0, 0x101060},  // PANEL
    {0x70A070, 0x602010},  // PANEL_LOW
    {0x203040, 0xF0E080},  // BAR
    {0x304860, 0xFFFFFF},  // BAR hot
    {0xB0D0F0, 0x000080},  // BUTTON
    {0xD8ECFF, 0x800000},  // BUTTON hot
    {0xC0B090, 0x004000},  // SPEEDBUTTON
    {0xE0D0B0, 0x008000},  // SPEEDBUTTON hot
    0x909090,
    0xF02000, 0x0020F0,
    0x10C010,
    0x00A0A0,
    {0xC00000, 0x00C000, 0x0000C0, 0xC0C000},
};

inline constexpr TPalette kOther = {
    {0xA05030, 0xF0F0A0}, {0x3070A0, 0xFFFF00}, {0x602060, 0x80FF80}, {0x803080, 0xC0FFC0},
    {0x90A030, 0x200020}, {0xB0C050, 0x400040}, {0x406080, 0xFFE0E0}, {0x5070A0, 0xFFF0F0},
    0x606060, 0x00F020, 0xF000F0, 0xA0A010, 0xA000A0, {0x800080, 0x008080, 0x808000, 0x404080},
};

// Where the images lie in the master.
constexpr int kButtonCell = 12, kButtonMargin = 4;  // "BUTTON": 4 images of 12 x 12 side by side at (0, 0)
constexpr int kStripCell = 12, kStripWidth = 3;     // "TRANSPARENT": one 12 x 12 image at (0, 20), margins 3
constexpr int kBarCell = 6, kBarBorder = 2;         // "BAR": one 6 x 6 image at (20, 20), margins 2
constexpr int kButtonY = 0, kStripX = 0, kStripY = 20, kBarX = 20, kBarY = 20;
constexpr std::uint32_t kKey = 0xFF00FF;

// Key-colour pixels of the "Corners" mask in each corner of each image (a
// run of three in the outer row, one below it), offsets from the corner.
struct TCornerPixel {
  int Dx, Dy;
};
inline constexpr TCornerPixel kCornerKeys[] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}};

enum TVariant { svControls, svGradient, svCorners, svOneState, svOther };
inline const char* const kVariantNames[] = {"Controls", "Gradient", "Corners", "OneState", "Other"};

inline const TPalette& PaletteOf(TVariant V) { return V == svOther ? kOther : kControls; }

inline std::string ImageValue(int l, int t, int r, int b, int margin, int columns) {
  char s[96];
  std::snprintf(s, sizeof s, "^%04d^%04d^%04d^%04d^%04d^%04d^%04d^%04d^%d^0^0^0", l, t, r, b, margin, margin, margin,
                margin, columns);
  return s;
}

// A section with a normal and a hot look; States 0 leaves the skin's default.
inline std::string Section(const char* Name, const TLook& Normal, const TLook& Hot, int States,
                           const std::string& More = "", int Transparency = 0) {
  auto n = [](std::uint32_t Rgb) { return std::to_string(ToTColor(Rgb)); };
  std::string s = std::string("[") + Name + "]\r\n";
  if (States > 0) s += "STATES=" + std::to_string(States) + "\r\n";
  s += "COLOR=" + n(Normal.Color) + "\r\nFONTCOLOR=" + n(Normal.FontColor) + "\r\nHOTCOLOR=" + n(Hot.Color) +
       "\r\nHOTFONTCOLOR=" + n(Hot.FontColor) + "\r\nTRANSPARENCY=" + std::to_string(Transparency) +
       "\r\nHOTTRANSPARENCY=" + std::to_string(Transparency) + "\r\n" + More;
  return s;
}

inline std::string SkinText(TVariant V) {
  const TPalette& p = PaletteOf(V);
  const bool one = V == svOneState;
  std::string text = "[GLOBALINFO]\r\nVERSION=8.00\r\nMASTERBITMAP=MASTER.BMP\r\nCOLOR=" +
                     std::to_string(ToTColor(p.Form)) + "\r\n";
  const TLook form{p.Form, 0x000000};
  text += Section("FORM", form, form, 1);
  std::string panelMore;
  if (V == svGradient)
    panelMore = "GRADIENTPERCENT=100\r\nGRADIENTDATA=" + std::to_string(ToTColor(p.GradientTop)) + ";" +
                std::to_string(ToTColor(p.GradientBottom)) + ";100;0;0\r\n";
  text += Section("PANEL", p.Panel, p.Panel, 1, panelMore);
  text += Section("PANEL_LOW", p.PanelLow, p.PanelLow, 1);
  text += Section("TRANSPARENT", p.Panel, p.Panel, 1,
                  "BORDERSMASK=" + ImageValue(kStripX, kStripY, kStripX + kStripCell, kStripY + kStripCell,
                                              kStripWidth, 1) + "\r\n",
                  100);
  text += Section("BAR", p.Bar, p.BarHot, one ? 1 : 2,
                  "BORDERSMASK=" + ImageValue(kBarX, kBarY, kBarX + kBarCell, kBarY + kBarCell, kBarBorder, 1) +
                      "\r\n");
  text += Section("BUTTON", p.Button, p.ButtonHot, one ? 1 : 4,
                  "BORDERSMASK=" + ImageValue(0, kButtonY, 4 * kButtonCell, kButtonY + kButtonCell, kButtonMargin, 4) +
                      "\r\n");
  text += Section("SPEEDBUTTON", p.Speed, p.SpeedHot, one ? 1 : 3);
  return text;
}

inline skinfixture::TPicture Master(TVariant V) {
  const TPalette& p = PaletteOf(V);
  skinfixture::TPicture m(64, 40, 0x808080);
  for (int i = 0; i < 4; ++i) {
    const int l = i * kButtonCell;
    m.Fill(l, kButtonY, l + kButtonCell, kButtonY + kButtonCell, p.ButtonMask[i]);
    if (V == svCorners)
      for (const TCornerPixel& k : kCornerKeys) {
        m.At(l + k.Dx, kButtonY + k.Dy) = kKey;
        m.At(l + kButtonCell - 1 - k.Dx, kButtonY + k.Dy) = kKey;
        m.At(l + k.Dx, kButtonY + kButtonCell - 1 - k.Dy) = kKey;
        m.At(l + kButtonCell - 1 - k.Dx, kButtonY + kButtonCell - 1 - k.Dy) = kKey;
      }
  }
  m.Fill(kStripX, kStripY, kStripX + kStripCell, kStripY + kStripCell, p.Strip);
  m.Fill(kBarX, kBarY, kBarX + kBarCell, kBarY + kBarCell, p.BarBorder);
  return m;
}

// A skin directory with every variant, named as kVariantNames says.
class TControlsSkins {
 public:
  TControlsSkins() {
    for (int v = svControls; v <= svOther; ++v)
      FDir.Folder(kVariantNames[v], SkinText(static_cast<TVariant>(v)), Master(static_cast<TVariant>(v)));
  }
  const std::filesystem::path& Path() const { return FDir.Path(); }

 private:
  skintest::TSkinDir FDir;
};

// A manager made in code over the skin directory, with the variant loaded
// (the first manager of the process is the default one).
inline TsSkinManager* NewManager(const TControlsSkins& Skins, TVariant V = svControls) {
  auto* m = Create<TsSkinManager>(nullptr);
  m->SetSkinDirectory(skintest::Ansi(Skins.Path()));
  m->SetSkinName(kVariantNames[V]);
  return m;
}

// A shown test form at (Left, Top) of the client size W x H.
inline TForm* NewForm(int W = 400, int H = 300, int Left = 40, int Top = 40) {
  TForm* f = Create<TForm>(Application, 0);
  f->SetCaption("Controls");
  f->SetBounds(Left, Top, W, H);
  f->SetClientWidth(W);
  f->SetClientHeight(H);
  f->Show();
  testsupport::PumpMessages(30);
  return f;
}

// A window's client pixel from the screen, as 0xRRGGBB.
inline std::uint32_t ScreenPixel(HWND Wnd, int X, int Y) { return ToRgb(testsupport::ClientPixel(Wnd, X, Y)); }

// What a window prints (WM_PRINT with its client and children) into a
// 32-bit bitmap of its window size: pixels 0x00RRGGBB, rows from the top.
struct TPrinted {
  int W = 0, H = 0;
  std::vector<std::uint32_t> Px;
  std::uint32_t At(int X, int Y) const { return Px[static_cast<size_t>(Y) * W + X] & 0xFFFFFF; }
};
inline TPrinted Print(HWND Wnd, UINT Flags = PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND | PRF_CHILDREN) {
  TPrinted r;
  RECT wr{};
  GetWindowRect(Wnd, &wr);
  r.W = wr.right - wr.left;
  r.H = wr.bottom - wr.top;
  if (r.W <= 0 || r.H <= 0) return r;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = r.W;
  bi.bmiHeader.biHeight = -r.H;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  SendMessageW(Wnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), Flags);
  GdiFlush();
  const auto* p = static_cast<const std::uint32_t*>(bits);
  r.Px.assign(p, p + static_cast<size_t>(r.W) * r.H);
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  return r;
}

}  // namespace controlsfixture
