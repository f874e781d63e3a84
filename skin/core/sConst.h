// The vocabulary every part of the skin engine shares: enumerations and sets,
// shared records, process-wide switches, the control kind codes with their
// kind sets, and the library's user-interface texts.
#pragma once

#include <bitset>
#include <cstdint>
#include <vector>

#include "classlib/core/Classes.h"
#include "classlib/core/GraphicsTypes.h"
#include "classlib/core/TypInfo.h"
#include "classlib/core/Types.h"
#include "skin/graphics/acBitmap.h"

// ---------------------------------------------------------------- enumerations

DK_ENUM(TacBGType, btUnknown, btFill, btCache, btNotReady);
DK_ENUM(TsWindowShowMode, soHide, soNormal, soShowMinimized, soMaximize, soShowNoActivate, soShow, soMinimize,
        soShowMinNoActive, soShowNA, soRestore, soDefault);
DK_ENUM(TacOuterEffectStyle, oeNone, oeShadow, oeLowered);
DK_ENUM(TacOuterVisibility, ovNone, ovAlways);
DK_ENUM(TacSide, asLeft, asTop, asRight, asBottom);
DK_ENUM(TFadeDirection, fdNone, fdUp, fdDown);
DK_ENUM(TacAnimType, atFading, atAero);
DK_ENUM(TacAnimTypeCtrl, atcFade, atcAero, atcBlur);
DK_ENUM(TacBtnEvent, beMouseEnter, beMouseLeave, beMouseDown, beMouseUp);
using TacBtnEvents = TSet<TacBtnEvent>;
DK_ENUM(TacCtrlType, actGraphic);
DK_ENUM(TacAnimatEvent, aeMouseEnter, aeMouseLeave, aeMouseDown, aeMouseUp, aeGlobalDef);
using TacAnimatEvents = TSet<TacAnimatEvent>;
DK_ENUM(TacImgType, itisaBorder, itisaTexture, itisaGlyph, itisaGlow, itisaPngGlyph);
DK_ENUM(TacFillMode, fmTiled, fmStretched, fmTiledHorz, fmTiledVert, fmStretchHorz, fmStretchVert, fmTileHorBtm,
        fmTileVertRight, fmStretchHorBtm, fmStretchVertRight, fmDisTiled, fmDiscHorTop, fmDiscVertLeft,
        fmDiscHorBottom, fmDiscVertRight);
DK_ENUM(TvaAlign, vaTop, vaMiddle, vaBottom);
DK_ENUM(TVerticalAlignment, taAlignTop, taAlignBottom, taVerticalCenter);
DK_ENUM(TsHintStyle, hsSimply, hsComics, hsEllipse, hsBalloon, hsStandard, hsNone);
DK_ENUM(TsHintsPredefinitions, shSimply, shGradient, shTransparent, shEllipse, shBalloon, shComicsGradient,
        shComicsTransparent, shStandard, shNone, shCustom);
DK_ENUM(TGradientTypes, gtTopBottom, gtLeftRight, gtAsBorder);
DK_ENUM(TsShadowingShape, ssRectangle, ssEllipse);
DK_ENUM(TsCaptionLayout, sclLeft, sclTopLeft, sclTopCenter, sclTopRight, sclLeftTop, sclBottomLeft,
        sclBottomCenter, sclBottomRight);
DK_ENUM(TDateOrder, doMDY, doDMY, doYMD);
DK_ENUM(TPopupWindowAlign, pwaRight, pwaLeft);
DK_ENUM(TacOptimizingPriority, opSpeed, opMemory);

DK_ENUM(TsDisabledKindE, dkBlended, dkGrayed);
using TsDisabledKind = TSet<TsDisabledKindE>;
DK_ENUM(TsDisabledGlyphKindE, dgBlended, dgGrayed);
using TsDisabledGlyphKind = TSet<TsDisabledGlyphKindE>;

using TPercent = Integer;  // 0..100
using TRects = std::vector<TRect>;
using TPoints = std::vector<TPoint>;
using TAOR = std::vector<TRect>;
using TacRoot = AnsiString;

// --------------------------------------------------------------- shared records

// A colour of 32 bits in two byte orders: as a pixel of a 32-bit bitmap
// (blue, green, red, alpha: the view TsColor_) and as a TColor (red, green,
// blue, top byte: the view TsColor_RGB).
struct TsColor_ {
  Byte B, G, R, A;
};
struct TsColor_RGB {
  Byte R, G, B, A;
};
union TsColor {
  std::uint32_t C = 0;
  TsColor_ I;      // pixel order
  TsColor_RGB Rgb; // TColor order
};
static_assert(sizeof(TsColor) == 4);

// One segment of a gradient: its colours, its share of the rectangle and the
// mode (0 vertical bands, 1 horizontal bands, 2 four triangles; the first
// segment's mode counts).
struct TsGradPie {
  TColor Color1 = 0;
  TColor Color2 = 0;
  Byte Percent = 0;
  Integer Mode = 0;
  Integer Reserved = 0;
};
using TsGradArray = std::vector<TsGradPie>;

// The background a child is painted over, as the painters take it: a
// parent's image with the place of the parent's origin in it, or a plain
// colour (FillColor 0xFF00FF: none). Ready: Bmp holds the whole background;
// otherwise the background is FillColor, and Bmp (when set) holds valid
// pixels only in strips of the widths Borders (left, top, right, bottom)
// along the parent's edges. The bitmap is not owned.
struct TCacheInfo {
  TacBitmap* Bmp = nullptr;
  Integer X = 0, Y = 0;
  TColor FillColor = 0xFF00FF;
  TRect Borders;
  bool Ready = false;
};

#ifdef _WIN32
using TacDC = HDC;
#else
using TacDC = void*;
#endif

// A parent's answer to the question what lies behind its child (the skin
// command "query background info"), or, with PleaseDraw, the asker's request
// that the parent draw its background into DC.
struct TacBGInfo {
  TacBitmap* Bmp = nullptr;  // the answerer's image (not owned)
  TColor Color = 0;          // the background colour of btFill (system colours allowed)
  // Answer: where the asked control's origin lies in Bmp. Please-draw: the
  // place of the answerer's image the drawing is taken from.
  TPoint Offset;
  TRect R;        // please-draw: the rectangle of DC to draw
  TRect Borders;  // btFill with Bmp: the widths of the valid strips of Bmp
  TacBGType BgType = btUnknown;
  bool PleaseDraw = false;
  TacDC DC = nullptr;
};
using PacBGInfo = TacBGInfo*;

// ------------------------------------------------------ constants and switches

inline constexpr TColor sFuchsia = 0xFF00FF;
// The value that stands for no colour.
inline constexpr TColor clNoColor = 0x1FFFFFFF;

extern const TCacheInfo EmptyCI;
extern const AnsiString sTabPositions[4];  // by tab position top, bottom, left, right
extern const TacImgType acImgTypes[5];
extern const TacFillMode acFillModes[15];
extern const Byte aScrollCodes[9];
extern const TsHintStyle aHintStyles[6];
extern const TacBtnEvent acBtnEvents[5];  // by TacAnimatEvent
extern const AnsiString sBoolArray[2];

extern bool acDebugMode;
extern NativeInt acPreviewHandle;
extern bool acPreviewNeeded;
extern bool acSkinPreviewUpdating;
extern Integer acScrollBtnLength;
extern bool ShowHintStored;
extern bool FadingForbidden;
extern Integer acAnimCount;
extern bool x64woAero;
extern bool fGlobalFlag;
extern bool ac_UseSysCharSet;
extern bool ac_KeepOwnFont;
extern bool DrawSkinnedMDIWall;
extern bool DrawSkinnedMDIScrolls;
extern bool ac_CheckEmptyAlpha;
extern bool MouseForbidden;
extern bool ac_NoExtBordersIfMax;
extern bool acOldGlyphsOrder;
extern bool ac_OptimizeMemory;
extern Integer ac_DialogsLevel;
extern bool ac_ChangeThumbPreviews;
extern bool StdTransparency;
extern TObject* sPopupCalendar;
extern Integer acWinVer;
extern bool AppShowHint;
extern TObject* TempControl;
extern TObject* acMagnForm;

// The value of acWinVer for a system version: the major version, except 8
// for version 6.2.
Integer acWinVerOf(Integer major, Integer minor);

// ------------------------------------------------------------ control kinds

// The code each skinned control writes into its skin state in its
// constructor; it picks the default section and the kind sets below.
enum TacKindCode : Integer {
  COC_TsCustomComboBoxEx = 1,
  COC_TsCustomComboBox = 3,
  COC_TsEdit = 3,
  COC_TsMaskEdit = 3,
  COC_TsMemo = 7,
  COC_TsCustomListBox = 8,
  COC_TsCustomColorBox = 9,
  COC_TsCustomListView = 10,
  COC_TsCheckBoxSubclass = 32,
  COC_TsRadioButton = 33,
  COC_TsCurrencyEdit = 41,
  COC_TsPanel = 51,
  COC_TsToolBar = 54,
  COC_TsDragBar = 56,
  COC_TsScrollBox = 58,
  COC_TsMonthCalendar = 59,
  COC_TsGroupBox = 74,
  COC_TsSplitter = 75,
  COC_TsSpeedButton = 92,
  COC_TsBevel = 92,
  COC_TsButton = 93,
  COC_TsBitBtn = 94,
  COC_TsTreeView = 96,
  COC_TsFileDirEdit = 132,
  COC_TsFilenameEdit = 133,
  COC_TsDirectoryEdit = 134,
  COC_TsCustomDateEdit = 137,
  COC_TsCustomComboEdit = 138,
  COC_TsDateEdit = 140,
  COC_TsPageControl = 141,
  COC_TsSkinProvider = 224,
  COC_TsFrameAdapter = 226,
  COC_TsTitleBarItem = 230,
  COC_TsEditSubclass = 231,
};

// A set of kind codes 0..255; codes outside that range are in no set.
class TacKindSet {
 public:
  TacKindSet(std::initializer_list<std::pair<Integer, Integer>> ranges);
  bool Contains(Integer code) const { return code >= 0 && code < 256 && FBits.test(static_cast<size_t>(code)); }

 private:
  std::bitset<256> FBits;
};

// The mouse never makes these controls hot.
extern const TacKindSet sForbidMouse;
// No hot cache and no glow on mouse entry.
extern const TacKindSet sCanNotBeHot;
// Edit-like controls: colours follow focus and hover.
extern const TacKindSet sEditCtrls;

// ------------------------------------------------------------------- texts

// The library's texts, read at start from the program's string table (empty
// where the program has no entry; acs_InvalidDate then keeps "Invalid date").
inline AnsiString acs_MsgDlgOK, acs_MsgDlgCancel, acs_MsgDlgHelp, acs_RestoreStr, acs_MoveStr, acs_SizeStr,
    acs_MinimizeStr, acs_MaximizeStr, acs_CloseStr, acs_Calculator, acs_FileOpen, acs_AvailSkins, acs_InternalSkin,
    acs_ErrorSettingCount, acs_ListBoxMustBeVirtual, acs_ColorDlgAdd, acs_ColorDlgDefine, acs_ColorDlgMainPal,
    acs_ColorDlgAddPal, acs_ColorDlgTitle, acs_ColorDlgRed, acs_ColorDlgGreen, acs_ColorDlgBlue, acs_ColorDlgDecimal,
    acs_ColorDlgHex, acs_FrameAdapterError1, acs_HintDsgnTitle, acs_HintDsgnPreserved, acs_HintDsgnStyle,
    acs_HintDsgnBevelWidth, acs_Blur, acs_HintDsgnArrowLength, acs_HintDsgnHorizMargin, acs_HintDsgnVertMargin,
    acs_HintDsgnRadius, acs_HintDsgnMaxWidth, acs_HintDsgnPauseHide, acs_Percent, acs_HintDsgnOffset,
    acs_HintDsgnTransparency, acs_HintDsgnNoPicture, acs_Font, acs_Texture, acs_HintDsgnLoad, acs_HintDsgnSave,
    acs_HintDsgnColor, acs_HintDsgnBorderTop, acs_HintDsgnBorderBottom, acs_Shadow, acs_Background, acs_Gradient,
    acs_PreviewHint, acs_Root, acs_SelectDir, acs_Create, acs_InvalidDate, acs_DirWithSkins, acs_SelectSkinTitle,
    acs_SkinPreview;

// A text of the string table and the variable it goes into.
struct TacTextEntry {
  Integer Id;
  AnsiString* Target;
  const char* English;  // the text of the resource
};
// The 55 texts read from the string table, by id (the resource script of the
// string table is checked against it).
const std::vector<TacTextEntry>& acSkinTexts();
// Reads the texts again (at start they are read once); Load answers the entry
// of an id ("" when the program has none).
void LoadSkinTexts(AnsiString (*Load)(Integer Id));
