// What the tests of the skinned buttons share: a fixture skin written by the
// test with button sections of known colours (a border image of four images
// of distinct colours, one per button state, and its variants of three and
// one state and with region corners), glyph strips, and reading pixels back.
#pragma once

#include <algorithm>
#include <string>

#include "../skin_subclass/SubclassSupport.h"
#include "skin/controls/sBitBtn.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sSpeedButton.h"
#include "skin/controls/sThirdParty.h"

namespace buttonstest {

using subclasstest::Num;
using subclasstest::Section;

// Colours as the screen shows them (0xRRGGBB).
constexpr std::uint32_t kFill = 0xC0D0E0, kHotFill = 0xE0F0C0;
constexpr std::uint32_t kBorder[4] = {0xA00000, 0x00A000, 0x0000A0, 0xA0A000};  // normal, hot, pressed, default
constexpr std::uint32_t kFont = 0x102030, kHotFont = 0x305010;
constexpr std::uint32_t kSpeedFill = 0x6090C0, kSpeedHotFill = 0x90C060;
constexpr std::uint32_t kKey = 0xFF00FF;
constexpr int kFrame = 10, kMargin = 2;  // one border image: 10 x 10, margins 2

// A border image of Columns images from (X, Y) with the border colours.
inline std::string Mask(int X, int Y, int Columns) {
  return skinforms::Image(X, Y, X + kFrame * Columns, Y + kFrame, kMargin, Columns);
}

inline std::string ButtonSection(const char* Name, int States, const std::string& MaskValue) {
  return Section(Name, "COLOR=" + Num(kFill) + "\r\nHOTCOLOR=" + Num(kHotFill) + "\r\nSTATES=" +
                           std::to_string(States) +
                           "\r\nTRANSPARENCY=0\r\nHOTTRANSPARENCY=0\r\nFONTCOLOR=" + Num(kFont) +
                           "\r\nHOTFONTCOLOR=" + Num(kHotFont) + "\r\nBORDERSMASK=" + MaskValue + "\r\n");
}

inline std::string SkinText() {
  std::string text = subclasstest::WithoutSection(skinforms::SkinText(true), "BUTTON");
  text += ButtonSection("BUTTON", 4, Mask(140, 0, 4));
  text += ButtonSection("BUTTON_THREE", 3, Mask(140, 0, 3));
  text += ButtonSection("BUTTON_ONE", 1, Mask(140, 0, 1));
  // The section whose border image gives the window its shape.
  text += ButtonSection("BUTTON_HUGE", 4, Mask(140, 20, 4));
  text += Section("SPEEDBUTTON", "COLOR=" + Num(kSpeedFill) + "\r\nHOTCOLOR=" + Num(kSpeedHotFill) +
                                     "\r\nSTATES=2\r\nTRANSPARENCY=0\r\nHOTTRANSPARENCY=0\r\nFONTCOLOR=" +
                                     Num(kFont) + "\r\nHOTFONTCOLOR=" + Num(kHotFont) + "\r\n");
  return text;
}

// Key pixels of a top-left corner of the shaped border images (x, y), mirrored
// into the other corners.
struct TPoint2 {
  int X, Y;
};
inline constexpr TPoint2 kCornerKeys[] = {{0, 0}, {1, 0}, {0, 1}};

inline skinfixture::TPicture Master() {
  const skinfixture::TPicture base = skinforms::Master(true);
  skinfixture::TPicture p(std::max(240, base.W), std::max(160, base.H), 0x808080);
  for (int y = 0; y < base.H; ++y)
    for (int x = 0; x < base.W; ++x) p.At(x, y) = base.Px[static_cast<size_t>(y) * base.W + x];
  for (int i = 0; i < 4; ++i) {
    subclasstest::Frame(p, 140 + kFrame * i, 0, kFrame, kMargin, kBorder[i]);
    subclasstest::Frame(p, 140 + kFrame * i, 20, kFrame, kMargin, kBorder[i]);
    for (const TPoint2& k : kCornerKeys) {
      const int l = 140 + kFrame * i, t = 20;
      p.At(l + k.X, t + k.Y) = kKey;
      p.At(l + kFrame - 1 - k.X, t + k.Y) = kKey;
      p.At(l + k.X, t + kFrame - 1 - k.Y) = kKey;
      p.At(l + kFrame - 1 - k.X, t + kFrame - 1 - k.Y) = kKey;
    }
  }
  return p;
}

class TButtonSkins {
 public:
  TButtonSkins() { FDir.Folder("Buttons", SkinText(), Master()); }
  const std::filesystem::path& Path() const { return FDir.Path(); }

 private:
  skintest::TSkinDir FDir;
};

// 0xRRGGBB as a pixel of a 32-bit bitmap (alpha A).
constexpr std::uint32_t Px(std::uint32_t Rgb, std::uint32_t A = 255) { return (A << 24) | Rgb; }

// A 32-bit glyph strip of Count images W x H, image i filled with Colors[i]
// (alpha 255).
inline TBitmap* Strip(int W, int H, std::initializer_list<std::uint32_t> Colors, std::uint32_t Alpha = 255) {
  auto* b = new TBitmap;
  b->SetPixelFormat(pf32bit);
  b->SetSize(W * static_cast<int>(Colors.size()), H);
  const TPixelView32 v = b->PixelView();
  int i = 0;
  for (std::uint32_t c : Colors) {
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) v.At(i * W + x, y) = Px(c, Alpha);
    ++i;
  }
  return b;
}

// The pixel of a window's client area at (X, Y) as the screen shows it (0xRRGGBB).
inline std::uint32_t ClientPixel(HWND Wnd, int X, int Y) {
  HDC dc = GetDC(Wnd);
  const COLORREF c = GetPixel(dc, X, Y);
  ReleaseDC(Wnd, dc);
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// The pixel (0xRRGGBB) of a 32-bit bitmap.
inline std::uint32_t BmpPixel(TBitmap* B, int X, int Y) { return B->PixelView().At(X, Y) & 0xFFFFFFu; }

// Runs a fade of a windowed button to its end, frame by frame.
template <class B>
int FinishFade(B* Button) {
  int frames = 0;
  while (TsFadeTimer* t = Button->FadeTimer()) {
    t->Timer();
    if (++frames > 100) break;
  }
  return frames;
}

}  // namespace buttonstest
