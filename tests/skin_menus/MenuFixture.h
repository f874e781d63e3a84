// The skinned forms' fixture skin grown by what pop-up menus are drawn from:
// "MAINMENU" (a border image of one colour with key-colour corner runs over
// a vertical gradient), "MENUITEM" (clear, opaque when selected), the icon
// column "ICOLINE", "DIVIDERV", "MENUCAPTION" and the check glyphs, each of a
// colour of its own; and "SPEEDBUTTON" for the speed buttons of skinned forms.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "../skin_forms/SkinFormsSupport.h"
#include "MenuSteps.h"
#include "skin/forms/sSkinMenus.h"

namespace menutest {

using skinforms::Image;
using skinforms::ToTColor;

// Colours as the screen shows them (0xRRGGBB).
constexpr std::uint32_t kMenuBorder = 0x6000A0;
constexpr std::uint32_t kMenuTop = 0x20C0F0, kMenuBottom = 0xE04010;  // the gradient's ends
constexpr std::uint32_t kIcoLine = 0xA0E0A0;
constexpr std::uint32_t kItemHot = 0x2050D0;
constexpr std::uint32_t kItemFont = 0x101010, kItemHotFont = 0xFFFFFF;
constexpr std::uint32_t kCaption = 0xE0C020, kCaptionFont = 0x000080;
constexpr std::uint32_t kDivider = 0x505050;
constexpr std::uint32_t kSpeedBtn = 0x40A0A0, kSpeedBtnHot = 0x60C0C0, kSpeedBtnFont = 0x000040;
constexpr std::uint32_t kKey = 0xFF00FF;
struct TGlyph {
  const char* Key;
  int X;
  std::uint32_t Color;
};
// Check glyphs of GLOBALINFO, 12 x 12, in one colour each.
inline constexpr TGlyph kGlyphs[] = {{"CHECK", 180, 0xC00000}, {"RADIOCHECKED", 200, 0x00A000},
                                     {"BOXCHECKED", 220, 0x0000C0}};
constexpr int kGlyphSize = 12, kGlyphTop = 60;
// The menu border image: 30 x 30 at (140, 0), margins 3; key-colour runs in
// each corner (row, first x, last x) of the top-left one, mirrored.
constexpr int kMaskX = 140, kMaskSize = 30, kMaskMargin = 3;
struct TRun {
  int Row, First, Last;
};
inline constexpr TRun kMenuCornerRuns[] = {{0, 0, 2}, {1, 0, 0}};

inline std::string MenuSkinText(bool WithCheck = true) {
  std::string text = skinforms::SkinText(true);
  std::string glyphs;
  for (const TGlyph& g : kGlyphs) {
    if (!WithCheck && std::string(g.Key) == "CHECK") continue;
    glyphs += std::string(g.Key) + "=" + Image(g.X, kGlyphTop, g.X + kGlyphSize, kGlyphTop + kGlyphSize, 0, 1) + "\r\n";
  }
  text.insert(std::string("[GLOBALINFO]\r\n").size(), glyphs);
  auto c = [](std::uint32_t rgb) { return std::to_string(ToTColor(rgb)); };
  text += "[MAINMENU]\r\nCOLOR=" + c(kMenuTop) + "\r\nTRANSPARENCY=0\r\nGRADIENTPERCENT=100\r\nGRADIENTDATA=" +
          c(kMenuTop) + ";" + c(kMenuBottom) + ";100;0;0\r\nBORDERSMASK=" +
          Image(kMaskX, 0, kMaskX + kMaskSize, kMaskSize, kMaskMargin, 1) + "\r\n";
  text += "[MENUITEM]\r\nCOLOR=" + c(0xFFFFFF) + "\r\nTRANSPARENCY=100\r\nHOTCOLOR=" + c(kItemHot) +
          "\r\nHOTTRANSPARENCY=0\r\nFONTCOLOR=" + c(kItemFont) + "\r\nHOTFONTCOLOR=" + c(kItemHotFont) + "\r\n";
  text += "[ICOLINE]\r\nCOLOR=" + c(kIcoLine) + "\r\nHOTCOLOR=" + c(kIcoLine) + "\r\nTRANSPARENCY=0\r\n";
  text += "[DIVIDERV]\r\nCOLOR=" + c(kDivider) + "\r\nTRANSPARENCY=0\r\n";
  text += "[MENUCAPTION]\r\nCOLOR=" + c(kCaption) + "\r\nHOTCOLOR=" + c(kCaption) + "\r\nTRANSPARENCY=0\r\nFONTCOLOR=" +
          c(kCaptionFont) + "\r\nHOTFONTCOLOR=" + c(kCaptionFont) + "\r\n";
  text += "[SPEEDBUTTON]\r\nCOLOR=" + c(kSpeedBtn) + "\r\nHOTCOLOR=" + c(kSpeedBtnHot) +
          "\r\nTRANSPARENCY=0\r\nHOTTRANSPARENCY=0\r\nFONTCOLOR=" + c(kSpeedBtnFont) + "\r\nHOTFONTCOLOR=" +
          c(kSpeedBtnFont) + "\r\n";
  return text;
}

inline skinfixture::TPicture MenuMaster(bool WithKeys = true) {
  const skinfixture::TPicture base = skinforms::Master(true);
  skinfixture::TPicture p(240, 150, 0x808080);
  for (int y = 0; y < base.H; ++y)
    for (int x = 0; x < base.W; ++x) p.At(x, y) = base.Px[static_cast<size_t>(y) * base.W + x];
  // The border image: a ring of its colour around a key-colour centre.
  p.Fill(kMaskX, 0, kMaskX + kMaskSize, kMaskSize, kMenuBorder);
  p.Fill(kMaskX + kMaskMargin, kMaskMargin, kMaskX + kMaskSize - kMaskMargin, kMaskSize - kMaskMargin, kKey);
  for (const TRun& r : kMenuCornerRuns)
    for (int x = r.First; WithKeys && x <= r.Last; ++x) {
      p.At(kMaskX + x, r.Row) = kKey;
      p.At(kMaskX + kMaskSize - 1 - x, r.Row) = kKey;
      p.At(kMaskX + x, kMaskSize - 1 - r.Row) = kKey;
      p.At(kMaskX + kMaskSize - 1 - x, kMaskSize - 1 - r.Row) = kKey;
    }
  for (const TGlyph& g : kGlyphs) p.Fill(g.X, kGlyphTop, g.X + kGlyphSize, kGlyphTop + kGlyphSize, g.Color);
  return p;
}

// A skin directory with the menu skin "Menus", "NoCheck" (whose GLOBALINFO
// has no "CHECK" glyph) and "NoMenuKeys" (whose menu border image has no
// key-colour corners).
class TMenuSkins {
 public:
  TMenuSkins() {
    FDir.Folder("Menus", MenuSkinText(true), MenuMaster());
    FDir.Folder("NoCheck", MenuSkinText(false), MenuMaster());
    FDir.Folder("NoMenuKeys", MenuSkinText(true), MenuMaster(false));
  }
  const std::filesystem::path& Path() const { return FDir.Path(); }

 private:
  skintest::TSkinDir FDir;
};

}  // namespace menutest
