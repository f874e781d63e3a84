// The records of a loaded skin: its images (cut out of the master image or
// of files of their own), its texture pictures, and its sections with the
// look of each state.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "skin/core/sConst.h"

class TsSkinManager;

// One image of the skin.
struct TsMaskData {
  // The entry's own 32-bit bitmap; nullptr: the image lies in the master image.
  std::unique_ptr<TacBitmap> Bitmap;
  AnsiString SectionName;
  AnsiString PropName;
  TRect SrcRect;
  SmallInt Columns = 0;        // images side by side (one per state)
  SmallInt MaskKind = 0;       // 0 key colour; 1 a mask row below; n > 1: n + 1 rows
  SmallInt UniformMargin = 0;  // the width of all four margins when they are 0
  SmallInt FillMode = 0;       // textures: a TacFillMode; borders: flags of the border painter
  TacImgType ImageKind = itisaBorder;
  TsSkinManager* OwnerManager = nullptr;
  SmallInt MarginLeft = 0, MarginTop = 0, MarginRight = 0, MarginBottom = 0;
  Integer CornerKind = 0;  // 0 no key pixel in a corner, 1 some, 2 the huge button's border
};
using TsMaskArray = std::vector<TsMaskData>;

// The width of one image of the row: 0 for no columns, the whole width for one.
Integer WidthOfImage(const TsMaskData& Md);
// The height of one image: the whole height for mask kind 0, half for 1, 0
// for -1, the height div (mask kind + 1) otherwise.
Integer HeightOfImage(const TsMaskData& Md);

// A large texture picture kept as it was read (a JPEG picture on Windows).
struct TsPatternData {
  std::unique_ptr<TObject> Picture;
  AnsiString SectionName;  // upper case
  AnsiString PropName;     // upper case
};
using TsPatternArray = std::vector<TsPatternData>;

// A text colour with its four outline colours (-1: none).
struct TsFontColor {
  TColor Color = 0;
  TColor Left = -1, Top = -1, Right = -1, Bottom = -1;
};

// The look of a section in one state.
struct TsGenState {
  TColor Color = 0;
  TsFontColor FontColor;
  Integer GradientPercent = 0;  // 0..100
  AnsiString GradientData;
  TsGradArray GradientArray;
  Integer ImagePercent = 0;  // 0..100
  Integer TextureIndex = -1;  // PATTERN / HOTPATTERN in the images
  TColor GlowColor = 0;
  Integer GlowSize = 0;  // 0..255
  Integer Transparency = 0;  // 0..100
};
// Index 0 the normal look, 1 the hot one.
using TsProps = std::array<TsGenState, 2>;

// A copy of a state's values that the section keeps beside its states.
struct TacStateLook {
  TColor Color = 0;
  Integer Transparency = 0;
  Integer GradientPercent = 0;
  AnsiString GradientData;
  TsGradArray GradientArray;
  Integer ImagePercent = 0;
  TsFontColor FontColor;
};

// One section of the skin.
struct TsGeneralData {
  AnsiString ParentClass;  // PARENTCLASS as written
  AnsiString SectionName;  // as written
  Integer StateCount = 0;
  TsProps Props;
  Byte GiveOwnFont = 0;
  Byte ReservedBoolean = 0;
  Integer Glow = 0, GlowMargin = 0;  // 0..255
  Integer BorderMask = -1;
  std::array<Integer, 4> CornerImages{-1, -1, -1, -1};  // top-left, top-right, bottom-left, bottom-right
  Integer PatternIndex = -1;
  std::array<TacStateLook, 2> StateLooks;
  Integer Reserved1 = 0, Reserved2 = 0;
  TColor HotGlowColor = 0, GlowColor = 0;
  Integer HotGlowSize = 0, GlowSize = 0;
  Integer OuterMode = 0;
  std::array<Integer, 4> OuterOffsets{0, 0, 0, 0};  // left, top, right, bottom
  Integer OuterMask = -1;
  Integer OuterOpacity = 0;  // 0..255
};
using TsGeneralDataArray = std::vector<TsGeneralData>;

// The shadow (element 1) or the light outline (element 0) around windows.
struct TacOutEffData {
  std::array<TColor, 4> Colors{0, 0, 0, 0};    // left, top, right, bottom
  std::array<Integer, 4> Offsets{0, 0, 0, 0};  // left, top, right, bottom
  std::array<Integer, 4> Widths{0, 0, 0, 0};   // left, top, right, bottom
  Integer Opacity = 0;
  Integer Source = 0;
  Integer ImageIndex = -1;
};
using TacOutEffArray = std::vector<TacOutEffData>;

DK_ENUM(TacPaletteColors, pcMainColor, pcLabelText, pcWebText, pcWebTextHot, pcEditText, pcEditBG, pcSelectionBG,
        pcSelectionText, pcSelectionBG_Focused, pcSelectionText_Focused, pcEditBG_Inverted, pcEditText_Inverted,
        pcEditBG_OddRow, pcEditBG_EvenRow, pcEditText_Ok, pcEditText_Warning, pcEditText_Alert, pcEditText_Caution,
        pcEditText_Bypassed, pcEditBG_Ok, pcEditBG_Warning, pcEditBG_Alert, pcEditBG_Caution, pcEditBG_Bypassed,
        pcEditText_Highlight1, pcEditText_Highlight2, pcEditText_Highlight3, pcBorder);
inline constexpr int acPaletteSize = pcBorder + 1;
using TacPaletteArray = std::array<TColor, acPaletteSize>;
