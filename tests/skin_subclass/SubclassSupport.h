// What the tests of the subclass classes share: the fixture skin of the
// skinned forms grown by sections of known colours for buttons (a border
// image with one colour per state), check glyphs, edits, group boxes and
// the combo button, a skinned form to put native windows on, and reading
// pixels back from a window.
#pragma once

#include <algorithm>
#include <string>

#include "../skin_forms/SkinFormsSupport.h"
#include "skin/subclass/acSBUtilsButtons.h"
#include "skin/subclass/acSBUtilsEdits.h"

namespace subclasstest {

using skinforms::Image;

// Colours as the screen shows them (0xRRGGBB).
constexpr std::uint32_t kFormColor = 0x808080;
constexpr std::uint32_t kBtnBorder[3] = {0xA00000, 0x00A000, 0x0000A0};  // normal, hot, pressed
constexpr std::uint32_t kBtnFill = 0xD0D0D0, kBtnHotFill = 0xE8E8E8;
constexpr std::uint32_t kEditBorder = 0x3050A0, kEditFill = 0xF0F0F0;
constexpr std::uint32_t kGroupBorder = 0x50A030;
constexpr std::uint32_t kComboBtn = 0x40C040;
constexpr std::uint32_t kGrip = 0x404040;
// Check glyphs by GLOBALINFO key.
struct TGlyph {
  const char* Key;
  int X, Y;
  std::uint32_t Color;
};
inline constexpr TGlyph kGlyphs[] = {
    {"BOXUNCHECKED", 200, 0, 0xB0B000},   {"BOXCHECKED", 200, 20, 0x00B0B0}, {"BOXGRAYED", 200, 40, 0xB000B0},
    {"RADIOUNCHECKED", 220, 0, 0x606000}, {"RADIOCHECKED", 220, 20, 0x006060},
};
constexpr int kGlyphSize = 13;
constexpr std::uint32_t kKey = 0xFF00FF;

// 0xRRGGBB as a TColor (red in the low byte).
constexpr TColor TC(std::uint32_t c) {
  return static_cast<TColor>(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
}

inline std::string Section(const char* Name, const std::string& Body) {
  return std::string("[") + Name + "]\r\n" + Body;
}
inline std::string Num(std::uint32_t c) { return std::to_string(TC(c)); }

// The text without the section Name (the forms' fixture has plain button,
// check box and edit sections; ours replace them).
inline std::string WithoutSection(std::string Text, const std::string& Name) {
  const std::string head = "[" + Name + "]\r\n";
  const size_t at = Text.find(head);
  if (at == std::string::npos) return Text;
  const size_t next = Text.find("\r\n[", at + head.size());
  Text.erase(at, next == std::string::npos ? std::string::npos : next + 2 - at);
  return Text;
}

inline std::string SkinText() {
  std::string text = skinforms::SkinText(true);
  for (const char* n : {"BUTTON", "CHECKBOX", "EDIT", "GROUPBOX", "COMBOBTN"}) text = WithoutSection(text, n);
  std::string glyphs;
  for (const TGlyph& g : kGlyphs)
    glyphs += std::string(g.Key) + "=" + Image(g.X, g.Y, g.X + kGlyphSize, g.Y + kGlyphSize, 0, 1) + "\r\n";
  const std::string head = "[GLOBALINFO]\r\n";
  text.insert(head.size(), glyphs);
  text += Section("BUTTON", "COLOR=" + Num(kBtnFill) + "\r\nHOTCOLOR=" + Num(kBtnHotFill) +
                                "\r\nSTATES=3\r\nTRANSPARENCY=0\r\nHOTTRANSPARENCY=0\r\nFONTCOLOR=0\r\nHOTFONTCOLOR=0\r\n"
                                "BORDERSMASK=" + Image(140, 0, 170, 10, 2, 3) + "\r\n");
  text += Section("EDIT", "COLOR=" + Num(kEditFill) + "\r\nHOTCOLOR=" + Num(kEditFill) +
                              "\r\nTRANSPARENCY=0\r\nFONTCOLOR=0\r\nBORDERSMASK=" + Image(140, 20, 150, 30, 2, 1) +
                              "\r\n");
  text += Section("GROUPBOX", "COLOR=" + Num(kFormColor) + "\r\nTRANSPARENCY=100\r\nHOTTRANSPARENCY=100\r\n"
                              "BORDERSMASK=" + Image(140, 40, 150, 50, 2, 1) + "\r\n");
  text += Section("CHECKBOX", "COLOR=" + Num(kFormColor) + "\r\nTRANSPARENCY=100\r\nHOTTRANSPARENCY=100\r\n"
                              "FONTCOLOR=0\r\n");
  text += Section("COMBOBTN", "COLOR=" + Num(kComboBtn) + "\r\nHOTCOLOR=" + Num(kComboBtn) +
                                  "\r\nTRANSPARENCY=0\r\nFONTCOLOR=0\r\n");
  return text;
}

// A border image of one colour with a key-colour centre at (X, Y).
inline void Frame(skinfixture::TPicture& p, int X, int Y, int Size, int Margin, std::uint32_t Color) {
  p.Fill(X, Y, X + Size, Y + Size, Color);
  p.Fill(X + Margin, Y + Margin, X + Size - Margin, Y + Size - Margin, kKey);
}

inline skinfixture::TPicture Master() {
  const skinfixture::TPicture base = skinforms::Master(true);
  skinfixture::TPicture p(std::max(240, base.W), std::max(150, base.H), 0x808080);
  for (int y = 0; y < base.H; ++y)
    for (int x = 0; x < base.W; ++x) p.At(x, y) = base.Px[static_cast<size_t>(y) * base.W + x];
  for (int i = 0; i < 3; ++i) Frame(p, 140 + 10 * i, 0, 10, 2, kBtnBorder[i]);
  Frame(p, 140, 20, 10, 2, kEditBorder);
  Frame(p, 140, 40, 10, 2, kGroupBorder);
  for (const TGlyph& g : kGlyphs) p.Fill(g.X, g.Y, g.X + kGlyphSize, g.Y + kGlyphSize, g.Color);
  return p;
}

class TSubclassSkins {
 public:
  TSubclassSkins() { FDir.Folder("Classes", SkinText(), Master()); }
  const std::filesystem::path& Path() const { return FDir.Path(); }

 private:
  skintest::TSkinDir FDir;
};

// The pixel (0xRRGGBB) of a window at (X, Y) of the window, read from the screen.
inline std::uint32_t WindowPixel(HWND Wnd, int X, int Y) {
  HDC dc = GetWindowDC(Wnd);
  const COLORREF c = GetPixel(dc, X, Y);
  ReleaseDC(Wnd, dc);
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// A native child window of Parent.
inline HWND Child(HWND Parent, const wchar_t* Class, const wchar_t* Text, DWORD Style, int X, int Y, int W, int H,
                  DWORD ExStyle = 0) {
  HWND w = CreateWindowExW(ExStyle, Class, Text, WS_CHILD | WS_VISIBLE | Style, X, Y, W, H, Parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  return w;
}

// Attaches a subclass object of class T to a native window.
template <class T>
T* Attach(HWND Wnd, TsSkinManager* Manager, const char* Section = "") {
  TacSkinParams params;
  params.SkinSection = Section;
  return acCreateWnd<T>(Wnd, nullptr, Manager, params, true);
}

template <class T>
void Detach(HWND Wnd, T*& Obj) {
  TacMainWnd* o = Obj;
  UninitializeACWnd(Wnd, true, false, o);
  Obj = nullptr;
}

inline void Repaint(HWND Wnd) {
  RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
  testsupport::PumpMessages(30);
}

}  // namespace subclasstest
