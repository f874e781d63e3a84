// The fixture skin of the skinned labels, bevels, group boxes, edits and list
// boxes: the subclass tests' skin grown by sections of known colours
// ("GROUPBOX", "CHECKBOX", "EDIT", "SELECTION", panels of several
// transparencies that give their own font colours); reading pixels back.
#pragma once

#include <string>
#include <map>
#include <vector>

#include "../skin_subclass/SubclassSupport.h"

namespace textctl {

using subclasstest::Num;
using subclasstest::Section;
using subclasstest::TC;

// Colours as the screen shows them (0xRRGGBB).
constexpr std::uint32_t kDarkColor = 0x000064;       // "DARK": (0, 0, 100), opaque
constexpr std::uint32_t kDarkFont = 0xC86400;        // its font colour (200, 100, 0)
constexpr std::uint32_t kGlassColor = 0x00A000;      // "GLASS": 80 % transparent
constexpr std::uint32_t kGlassFont = 0x00FF00;
constexpr std::uint32_t kHalfColor = 0xA08000;       // "HALF": 50 % transparent
constexpr std::uint32_t kHalfFont = 0xFF00A0;
constexpr std::uint32_t kPanelBorder = 0xE00000, kPanelLowBorder = 0x0000E0, kPanelFill = 0xB0B0B0;
constexpr std::uint32_t kGroupBorder = subclasstest::kGroupBorder;
constexpr std::uint32_t kCheckFill = 0xD0B0F0;       // "CHECKBOX": the caption strip
constexpr std::uint32_t kEditBorder = subclasstest::kEditBorder;
constexpr std::uint32_t kEditFill = 0xF0F0F0, kEditHotFill = 0xFFFFC0, kEditFont = 0x800000;
constexpr std::uint32_t kSelectionFill = 0x2040C0, kSelectionFont = 0xFFFF00;
constexpr std::uint32_t kBlack = 0;

// A section of one opaque or transparent look in both states.
inline std::string Look(const char* Name, std::uint32_t Color, int Transparency, std::uint32_t Font,
                        const std::string& More = "") {
  const std::string t = std::to_string(Transparency);
  return Section(Name, "COLOR=" + Num(Color) + "\r\nHOTCOLOR=" + Num(Color) + "\r\nTRANSPARENCY=" + t +
                           "\r\nHOTTRANSPARENCY=" + t + "\r\nFONTCOLOR=" + Num(Font) + "\r\nHOTFONTCOLOR=" +
                           Num(Font) + "\r\nGIVEOWNFONT=1\r\n" + More);
}

// The fixture skin; WithSelection: it has the "SELECTION" section.
inline std::string SkinText(bool WithSelection) {
  std::string text = subclasstest::SkinText();
  for (const char* n : {"EDIT", "CHECKBOX", "GROUPBOX", "PANEL", "PANEL_LOW"})
    text = subclasstest::WithoutSection(text, n);
  using skinforms::Image;
  text += Look("DARK", kDarkColor, 0, kDarkFont);
  text += Look("GLASS", kGlassColor, 80, kGlassFont);
  text += Look("HALF", kHalfColor, 50, kHalfFont);
  text += Look("PANEL", kPanelFill, 0, kBlack, "BORDERSMASK=" + Image(160, 20, 170, 30, 3, 1) + "\r\n");
  text += Look("PANEL_LOW", kPanelFill, 0, kBlack, "BORDERSMASK=" + Image(170, 20, 180, 30, 3, 1) + "\r\n");
  text += Look("GROUPBOX", kDarkColor, 100, kBlack, "BORDERSMASK=" + Image(140, 40, 150, 50, 2, 1) + "\r\n");
  text += Look("CHECKBOX", kCheckFill, 0, kBlack);
  text += Section("EDIT", "COLOR=" + Num(kEditFill) + "\r\nHOTCOLOR=" + Num(kEditHotFill) +
                              "\r\nTRANSPARENCY=0\r\nHOTTRANSPARENCY=0\r\nSTATES=2\r\nFONTCOLOR=" + Num(kEditFont) +
                              "\r\nHOTFONTCOLOR=" + Num(kEditFont) + "\r\nBORDERSMASK=" +
                              Image(140, 20, 150, 30, 2, 1) + "\r\n");
  if (WithSelection) text += Look("SELECTION", kSelectionFill, 0, kSelectionFont);
  return text;
}

inline skinfixture::TPicture Master() {
  skinfixture::TPicture p = subclasstest::Master();
  subclasstest::Frame(p, 160, 20, 10, 3, kPanelBorder);
  subclasstest::Frame(p, 170, 20, 10, 3, kPanelLowBorder);
  return p;
}

class TSkins {
 public:
  TSkins() {
    FDir.Folder("Controls", SkinText(true), Master());
    FDir.Folder("NoSelection", SkinText(false), Master());
  }
  const std::filesystem::path& Path() const { return FDir.Path(); }

 private:
  skintest::TSkinDir FDir;
};

// The pixels (0xRRGGBB) of a window's rectangle as the screen shows them.
struct TShot {
  int W = 0, H = 0;
  std::vector<std::uint32_t> Px;
  std::uint32_t At(int X, int Y) const { return Px[static_cast<size_t>(Y) * W + X]; }
};

inline TShot ShotOfDC(HDC DC, int X, int Y, int W, int H) {
  TShot s;
  s.W = W;
  s.H = H;
  s.Px.resize(static_cast<size_t>(W) * H);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = W;
  bi.bmiHeader.biHeight = -H;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC mem = CreateCompatibleDC(DC);
  HBITMAP bmp = CreateDIBSection(DC, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, W, H, DC, X, Y, SRCCOPY);
  GdiFlush();
  const auto* p = static_cast<const std::uint32_t*>(bits);
  for (size_t i = 0; i < s.Px.size(); ++i) s.Px[i] = p[i] & 0xFFFFFF;
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  return s;
}

// Of a window (window coordinates, frame included).
inline TShot ShotOf(HWND Wnd, int X, int Y, int W, int H) {
  HDC dc = GetWindowDC(Wnd);
  TShot s = ShotOfDC(dc, X, Y, W, H);
  ReleaseDC(Wnd, dc);
  return s;
}
inline TShot ShotOf(HWND Wnd) {
  RECT r;
  GetWindowRect(Wnd, &r);
  return ShotOf(Wnd, 0, 0, r.right - r.left, r.bottom - r.top);
}
// Of a 32-bit bitmap of the skin engine.
inline TShot ShotOfBitmap(TacBitmap* Bmp) { return ShotOfDC(Bmp->Canvas()->Handle(), 0, 0, Bmp->Width(), Bmp->Height()); }

// The colours met in a shot besides Background, with their counts.
inline std::map<std::uint32_t, int> InkOf(const TShot& S, std::uint32_t Background) {
  std::map<std::uint32_t, int> ink;
  for (std::uint32_t c : S.Px)
    if (c != Background) ++ink[c];
  return ink;
}

inline std::string Hex(std::uint32_t C) {
  char s[16];
  std::snprintf(s, sizeof s, "%06X", C);
  return s;
}

}  // namespace textctl
