// The skin the section painters are tested and measured with, written by the
// test itself: one master image of pieces in distinct solid colours (border
// images with a key-colour corner, key-colour and masked, tiled and
// stretched; a plain and a masked texture; a glyph) and sections that use
// them with transparency 0, 40, 50 and 100, gradients and states. The
// pictures are functions of their coordinates, so that a test computes what
// a pixel must be from the same functions and the painting rules.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "../skin_data/SkinFixture.h"

namespace sectionfixture {

// A colour as the skin text writes it (TColor, red in the low byte).
constexpr std::uint32_t TColorOf(int r, int g, int b) {
  return std::uint32_t(r) | std::uint32_t(g) << 8 | std::uint32_t(b) << 16;
}
// A pixel value of a 32-bit bitmap (0xAARRGGBB) of that colour.
constexpr std::uint32_t PixelOf(std::uint32_t tcolor, std::uint32_t alpha = 255) {
  return alpha << 24 | (tcolor & 0xFF) << 16 | (tcolor & 0xFF00) | (tcolor >> 16 & 0xFF);
}

constexpr std::uint32_t kKey = 0xFF00FF;  // as written into the master (RGB)
constexpr std::uint32_t kMasterFill = 0x808080;

// -------------------------------------------------------------- border images

// The border images are 12 x 12 pictures with margins of 4: corners, edges
// and a centre of their own colour, each edge with a colour stepping along
// its length (so that tiling and stretching show apart). The three outermost
// pixels of the top-left corner have the key colour.
constexpr int kCell = 12, kMargin = 4;

enum TPiece { pcTopLeft, pcTop, pcTopRight, pcLeft, pcCentre, pcRight, pcBottomLeft, pcBottom, pcBottomRight };

inline TPiece PieceAt(int x, int y) {
  const int col = x < kMargin ? 0 : x < kCell - kMargin ? 1 : 2;
  const int row = y < kMargin ? 0 : y < kCell - kMargin ? 1 : 2;
  return static_cast<TPiece>(row * 3 + col);
}

inline bool KeyInPicture(int x, int y) { return (x == 0 && y <= 1) || (x == 1 && y == 0); }

// The 0x00RRGGBB colour of a border picture's pixel (x, y) in picture
// Picture (0..2: the states of the key-colour image, 3: the masked image).
inline std::uint32_t BorderPixel(int picture, int x, int y) {
  if (KeyInPicture(x, y)) return kKey;
  const TPiece piece = PieceAt(x, y);
  int along = 0;  // the position along an edge
  if (piece == pcTop || piece == pcBottom) along = x - kMargin;
  if (piece == pcLeft || piece == pcRight) along = y - kMargin;
  const std::uint32_t r = 20 + 25 * piece, g = 40 + 60 * picture, b = 30 + 50 * along;
  return r << 16 | g << 8 | b;
}

// The masked image's mask (0 opaque, 255 transparent): the top-right corner's
// outermost pixel is transparent, the bottom-right corner's half.
inline int BorderMask(int x, int y) {
  if (x == kCell - 1 && y == 0) return 255;
  if (x == kCell - 1 && y == kCell - 1) return 128;
  return 0;
}

// Where the images lie in the master.
constexpr int kKeyBorderX = 0, kKeyBorderY = 0;     // 3 states side by side
constexpr int kMaskBorderX = 40, kMaskBorderY = 0;  // picture, mask below

// ------------------------------------------------------------------ textures

constexpr int kTexX = 60, kTexY = 0, kTexW = 6, kTexH = 4;
inline std::uint32_t TexturePixel(int x, int y) {
  return std::uint32_t(30 + 35 * x) << 16 | std::uint32_t(220 - 45 * y) << 8 | 100;
}

// The masked texture: a 5 x 5 tile of one colour whose outer ring is masked away.
constexpr int kMaskTexX = 70, kMaskTexY = 0, kMaskTexSize = 5;
constexpr std::uint32_t kMaskTexColor = 0xFAC800;
inline int MaskTexMask(int x, int y) {
  return x == 0 || y == 0 || x == kMaskTexSize - 1 || y == kMaskTexSize - 1 ? 255 : 0;
}

// A 4 x 4 glyph of one colour with a key pixel in its bottom-left corner.
constexpr int kGlyphX = 80, kGlyphY = 0, kGlyphSize = 4;
constexpr std::uint32_t kGlyphColor = 0x0000FA;

inline skinfixture::TPicture Master() {
  skinfixture::TPicture m(96, 32, kMasterFill);
  for (int picture = 0; picture < 3; ++picture)
    for (int y = 0; y < kCell; ++y)
      for (int x = 0; x < kCell; ++x)
        m.At(kKeyBorderX + picture * kCell + x, kKeyBorderY + y) = BorderPixel(picture, x, y);
  for (int y = 0; y < kCell; ++y)
    for (int x = 0; x < kCell; ++x) {
      m.At(kMaskBorderX + x, kMaskBorderY + y) = BorderPixel(3, x, y);
      const std::uint32_t v = std::uint32_t(BorderMask(x, y));
      m.At(kMaskBorderX + x, kMaskBorderY + kCell + y) = v << 16 | v << 8 | v;
    }
  for (int y = 0; y < kTexH; ++y)
    for (int x = 0; x < kTexW; ++x) m.At(kTexX + x, kTexY + y) = TexturePixel(x, y);
  for (int y = 0; y < kMaskTexSize; ++y)
    for (int x = 0; x < kMaskTexSize; ++x) {
      m.At(kMaskTexX + x, kMaskTexY + y) = kMaskTexColor;
      const std::uint32_t v = std::uint32_t(MaskTexMask(x, y));
      m.At(kMaskTexX + x, kMaskTexY + kMaskTexSize + y) = v << 16 | v << 8 | v;
    }
  m.Fill(kGlyphX, kGlyphY, kGlyphX + kGlyphSize, kGlyphY + kGlyphSize, kGlyphColor);
  m.At(kGlyphX, kGlyphY + kGlyphSize - 1) = kKey;
  return m;
}

// -------------------------------------------------------------------- sections

// Section colours (TColor).
constexpr std::uint32_t kPlainColor = TColorOf(0xA0, 0x60, 0x30);
constexpr std::uint32_t kT40Color = TColorOf(0xF0, 0x80, 0x20);
constexpr std::uint32_t kT50Color = TColorOf(0x10, 0xE0, 0x70);
constexpr std::uint32_t kTexGradColor = TColorOf(0x40, 0xC0, 0x40);
constexpr std::uint32_t kStatesColor = TColorOf(0x60, 0x40, 0x20);
constexpr std::uint32_t kStatesHotColor = TColorOf(0x80, 0xA0, 0xC0);
constexpr std::uint32_t kOneStateColor = TColorOf(0x20, 0x60, 0x60);
constexpr std::uint32_t kMaskTexBack = TColorOf(0x50, 0x50, 0x50);
constexpr std::uint32_t kCornerColor = TColorOf(0x90, 0x90, 0x90);
constexpr std::uint32_t kSecondColor = TColorOf(0xC0, 0x00, 0x00);
constexpr std::uint32_t kZeroStatesColor = TColorOf(0x33, 0x22, 0x11);
constexpr std::uint32_t kTexGrad2Color = TColorOf(0x20, 0x40, 0xE0);
constexpr std::uint32_t kMainColor = TColorOf(0x12, 0x34, 0x56);  // the skin's main colour
// Text colours: the font colour and the four outline colours (left, top,
// right, bottom), the hot font colour, and a section without outlines.
constexpr std::uint32_t kTextColor = TColorOf(0xC0, 0x00, 0x00);
constexpr std::uint32_t kTextLeft = TColorOf(0x00, 0xC0, 0x00), kTextTop = TColorOf(0x00, 0x00, 0xC0),
                        kTextRight = TColorOf(0xC0, 0xC0, 0x00), kTextBottom = TColorOf(0xC0, 0x00, 0xC0);
constexpr std::uint32_t kTextHotColor = TColorOf(0x40, 0x40, 0x40);
constexpr std::uint32_t kPlainTextColor = TColorOf(0x80, 0x40, 0x20);

inline std::string Border(int left, int top, int right, int bottom, int columns, int maskKind, int fillMode) {
  char v[64];
  std::snprintf(v, sizeof v, "^%04d^%04d^%04d^%04d^%04d^%04d^%04d^%04d^%d^%d^%d^0", left, top, right, bottom, kMargin,
                kMargin, kMargin, kMargin, columns, maskKind, fillMode);
  return v;
}

inline std::string Text() {
  const std::string keyTiled = Border(kKeyBorderX, kKeyBorderY, kKeyBorderX + 3 * kCell, kKeyBorderY + kCell, 3, 0, 0);
  const std::string keyStretched = Border(kKeyBorderX, kKeyBorderY, kKeyBorderX + kCell, kKeyBorderY + kCell, 1, 0, 1);
  const std::string maskTiled =
      Border(kMaskBorderX, kMaskBorderY, kMaskBorderX + kCell, kMaskBorderY + 2 * kCell, 1, 1, 0);
  const std::string maskStretched =
      Border(kMaskBorderX, kMaskBorderY, kMaskBorderX + kCell, kMaskBorderY + 2 * kCell, 1, 1, 1);
  char texture[32], maskTexture[32], glyph[32];
  std::snprintf(texture, sizeof texture, "~%04d~%04d~%04d~%04d~00", kTexX, kTexY, kTexX + kTexW, kTexY + kTexH);
  std::snprintf(maskTexture, sizeof maskTexture, "~%04d~%04d~%04d~%04d~10~1", kMaskTexX, kMaskTexY,
                kMaskTexX + kMaskTexSize, kMaskTexY + 2 * kMaskTexSize);
  std::snprintf(glyph, sizeof glyph, "@%04d@%04d@%04d@%04d@1@0", kGlyphX, kGlyphY, kGlyphX + kGlyphSize,
                kGlyphY + kGlyphSize);
  auto section = [](const std::string& name, const std::string& keys) { return "[" + name + "]\r\n" + keys; };
  auto key = [](const std::string& k, const std::string& v) { return k + "=" + v + "\r\n"; };
  auto num = [&](const std::string& k, std::uint32_t v) { return key(k, std::to_string(v)); };
  return section("GLOBALINFO", key("VERSION", "8.00") + key("MASTERBITMAP", "MASTER.BMP") + num("COLOR", kMainColor)) +
         section("PLAIN", num("COLOR", kPlainColor) + key("BORDERSMASK", keyTiled)) +
         section("T40", num("COLOR", kT40Color) + num("TRANSPARENCY", 40) + key("BORDERSMASK", maskTiled)) +
         section("T50", num("STATES", 1) + num("COLOR", kT50Color) + num("TRANSPARENCY", 50)) +
         section("T100", num("COLOR", kPlainColor) + num("TRANSPARENCY", 100) + key("BORDERSMASK", maskStretched)) +
         section("TEXGRAD", num("STATES", 1) + num("COLOR", kTexGradColor) + num("IMAGEPERCENT", 50) +
                                num("GRADIENTPERCENT", 50) + key("GRADIENTDATA", "16777215;0;100;0;0") +
                                key("PATTERN", texture)) +
         section("STATES3",
                 num("COLOR", kStatesColor) + num("HOTCOLOR", kStatesHotColor) + key("BORDERSMASK", keyTiled)) +
         section("ONESTATE", num("STATES", 1) + num("COLOR", kOneStateColor) + num("HOTCOLOR", kStatesHotColor) +
                                 key("BORDERSMASK", keyTiled)) +
         section("MASKTEX", num("COLOR", kMaskTexBack) + key("PATTERN", maskTexture)) +
         section("GRAD", num("GRADIENTPERCENT", 100) + key("GRADIENTDATA", "255;16711680;100;1;0") +
                             key("BORDERSMASK", keyStretched)) +
         section("CORNER", num("COLOR", kCornerColor) + key("IMGBTMLEFT", glyph)) +
         section("SECOND", num("COLOR", kSecondColor)) +
         section("ZEROSTATES", num("STATES", 0) + num("COLOR", kZeroStatesColor)) +
         section("NOTEX", num("STATES", 1) + num("COLOR", kCornerColor) + num("IMAGEPERCENT", 50)) +
         section("BADMODE", num("STATES", 1) + num("IMAGEPERCENT", 100) + key("PATTERN", texture)) +
         section("TEXGRAD2", num("STATES", 1) + num("COLOR", kTexGrad2Color) + num("IMAGEPERCENT", 70) +
                                 num("GRADIENTPERCENT", 20) + key("GRADIENTDATA", "16777215;0;100;0;0") +
                                 key("PATTERN", texture)) +
         section("TEXT", num("STATES", 2) + num("FONTCOLOR", kTextColor) + num("TCLEFT", kTextLeft) +
                             num("TCTOP", kTextTop) + num("TCRIGHT", kTextRight) + num("TCBOTTOM", kTextBottom) +
                             num("HOTFONTCOLOR", kTextHotColor)) +
         section("TEXTNOOUT", num("STATES", 1) + num("FONTCOLOR", kPlainTextColor)) +
         // Measured against each other: transparency 40 over the parent with
         // gradient and texture half and half, and an opaque plain colour;
         // both with the masked border.
         section("BENCHMIX", num("STATES", 1) + num("COLOR", kTexGradColor) + num("TRANSPARENCY", 40) +
                                 num("IMAGEPERCENT", 50) + num("GRADIENTPERCENT", 50) +
                                 key("GRADIENTDATA", "16777215;0;100;0;0") + key("PATTERN", texture) +
                                 key("BORDERSMASK", maskTiled)) +
         section("BENCHPLAIN", num("STATES", 1) + num("COLOR", kPlainColor) + key("BORDERSMASK", maskTiled));
}

// Writes the skin folder Name (Options.dat and MASTER.BMP) into Dir.
inline void Write(const std::filesystem::path& dir, const std::string& name) {
  skinfixture::WriteFile(dir / name / "Options.dat", Text());
  skinfixture::WriteFile(dir / name / "MASTER.BMP", skinfixture::BmpFile(Master()));
}

// ------------------------------------------------------------- parent image

// The parent's cached image: every pixel its own opaque colour.
constexpr int kParentW = 80, kParentH = 60;
constexpr std::uint32_t ParentPixel(int x, int y) {
  return 0xFF000000u | std::uint32_t(10 + 3 * x) << 16 | std::uint32_t(20 + 3 * y) << 8 | 150;
}

}  // namespace sectionfixture
