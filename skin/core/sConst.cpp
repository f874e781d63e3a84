// Values of the shared constants, the kind sets and the texts' table.
#include "skin/core/sConst.h"

#include "skin/core/Sstrings.h"
#include "skin/core/sConstPlatform.h"

const TCacheInfo EmptyCI{nullptr, -99, -99, sFuchsia, TRect{}, false};
const AnsiString sTabPositions[4] = {"", "BOTTOM", "LEFT", "RIGHT"};
const TacImgType acImgTypes[5] = {itisaBorder, itisaTexture, itisaGlyph, itisaGlow, itisaPngGlyph};
const TacFillMode acFillModes[15] = {fmTiled,        fmStretched,        fmTiledHorz,   fmTiledVert,    fmStretchHorz,
                                     fmStretchVert,  fmTileHorBtm,       fmTileVertRight, fmStretchHorBtm,
                                     fmStretchVertRight, fmDisTiled,     fmDiscHorTop,  fmDiscVertLeft,
                                     fmDiscHorBottom, fmDiscVertRight};
const Byte aScrollCodes[9] = {0, 1, 2, 3, 4, 5, 6, 7, 8};
const TsHintStyle aHintStyles[6] = {hsSimply, hsComics, hsEllipse, hsBalloon, hsStandard, hsNone};
const TacBtnEvent acBtnEvents[5] = {beMouseEnter, beMouseLeave, beMouseDown, beMouseUp, beMouseUp};
const AnsiString sBoolArray[2] = {"FALSE", "TRUE"};

bool acDebugMode = false;
NativeInt acPreviewHandle = 0;
bool acPreviewNeeded = false;
bool acSkinPreviewUpdating = false;
Integer acScrollBtnLength = 16;
bool ShowHintStored = false;
bool FadingForbidden = false;
Integer acAnimCount = 0;
bool x64woAero = false;
bool fGlobalFlag = false;
bool ac_UseSysCharSet = true;
bool ac_KeepOwnFont = false;
bool DrawSkinnedMDIWall = true;
bool DrawSkinnedMDIScrolls = true;
bool ac_CheckEmptyAlpha = false;
bool MouseForbidden = false;
bool ac_NoExtBordersIfMax = false;
bool acOldGlyphsOrder = false;
bool ac_OptimizeMemory = true;
Integer ac_DialogsLevel = 2;
bool ac_ChangeThumbPreviews = false;
bool StdTransparency = false;
TObject* sPopupCalendar = nullptr;
Integer acWinVer = 0;
bool AppShowHint = false;
TObject* TempControl = nullptr;
TObject* acMagnForm = nullptr;

Integer acWinVerOf(Integer major, Integer minor) { return major == 6 && minor == 2 ? 8 : major; }

TacKindSet::TacKindSet(std::initializer_list<std::pair<Integer, Integer>> ranges) {
  for (const auto& [from, to] : ranges)
    for (Integer c = from; c <= to; ++c) FBits.set(static_cast<size_t>(c));
}

const TacKindSet sForbidMouse{{19, 19}, {51, 74}, {110, 110}, {141, 161}};
const TacKindSet sCanNotBeHot{{51, 52},   {54, 54},   {56, 60},   {68, 68},   {73, 74},  {110, 110},
                              {141, 141}, {143, 143}, {151, 151}, {161, 161}, {226, 226}};
const TacKindSet sEditCtrls{{2, 18}, {41, 41}, {76, 84}, {96, 96}, {131, 140}, {231, 231}};

const std::vector<TacTextEntry>& acSkinTexts() {
  static const std::vector<TacTextEntry> texts = {
      {58992, &acs_MsgDlgOK, "OK"},
      {58991, &acs_MsgDlgCancel, "Cancel"},
      {58990, &acs_MsgDlgHelp, "&Help"},
      {58981, &acs_RestoreStr, "Restore"},
      {58980, &acs_MoveStr, "Move"},
      {58979, &acs_SizeStr, "Size"},
      {58978, &acs_MinimizeStr, "Minimize"},
      {58977, &acs_MaximizeStr, "Maximize"},
      {58976, &acs_CloseStr, "Close"},
      {58975, &acs_Calculator, "Calculator"},
      {58970, &acs_FileOpen, "File open"},
      {58964, &acs_AvailSkins, "Available skins"},
      {58963, &acs_InternalSkin, "(internal)"},
      {58962, &acs_ErrorSettingCount, "Error setting %s.Count"},
      {58961, &acs_ListBoxMustBeVirtual, "Listbox (%s) style must be virtual in order to set Count"},
      {58960, &acs_ColorDlgAdd, "Add to custom colors set"},
      {58959, &acs_ColorDlgDefine, "Define colors"},
      {58958, &acs_ColorDlgMainPal, "Main palette :"},
      {58957, &acs_ColorDlgAddPal, "Additional colors :"},
      {58956, &acs_ColorDlgTitle, "Color"},
      {58955, &acs_ColorDlgRed, "Red :"},
      {58954, &acs_ColorDlgGreen, "Green :"},
      {58953, &acs_ColorDlgBlue, "Blue :"},
      {58952, &acs_ColorDlgDecimal, "Decimal - "},
      {58951, &acs_ColorDlgHex, "Hex - "},
      {58950, &acs_FrameAdapterError1, "TsFrameAdapter adapter must be placed on the handled frame"},
      {58949, &acs_HintDsgnTitle, "Hint Designer Form"},
      {58948, &acs_HintDsgnPreserved, "Preserved settings :"},
      {58947, &acs_HintDsgnStyle, "Style :"},
      {58946, &acs_HintDsgnBevelWidth, "Bevel width"},
      {58945, &acs_Blur, "Blur"},
      {58944, &acs_HintDsgnArrowLength, "Arrow length"},
      {58943, &acs_HintDsgnHorizMargin, "Horiz. margin"},
      {58942, &acs_HintDsgnVertMargin, "Vert. margin"},
      {58941, &acs_HintDsgnRadius, "Corners radius"},
      {58940, &acs_HintDsgnMaxWidth, "Max width"},
      {58939, &acs_HintDsgnPauseHide, "Pause hide (ms)"},
      {58938, &acs_Percent, "Percent"},
      {58937, &acs_HintDsgnOffset, "Offset"},
      {58936, &acs_HintDsgnTransparency, "Transparency"},
      {58935, &acs_HintDsgnNoPicture, "No picture available"},
      {58934, &acs_Font, "Font"},
      {58933, &acs_Texture, "Texture"},
      {58932, &acs_HintDsgnLoad, "Load from file"},
      {58931, &acs_HintDsgnSave, "Save to file as..."},
      {58930, &acs_HintDsgnColor, "Color"},
      {58929, &acs_HintDsgnBorderTop, "Top border"},
      {58928, &acs_HintDsgnBorderBottom, "Bottom border"},
      {58927, &acs_Shadow, "Shadow"},
      {58926, &acs_Background, "Background"},
      {58925, &acs_Gradient, "Gradient"},
      {58924, &acs_PreviewHint, "Preview of the future hint window"},
      {58923, &acs_InvalidDate, "Invalid date"},
      {58911, &acs_SelectDir, "Select directory"},
      {58910, &acs_Create, "Create"},
  };
  return texts;
}

void LoadSkinTexts(AnsiString (*Load)(Integer Id)) {
  for (const TacTextEntry& t : acSkinTexts()) *t.Target = Load(t.Id);
  if (acs_InvalidDate.empty()) acs_InvalidDate = "Invalid date";
  acs_Root = LoadResString(&s_Root);
  acs_DirWithSkins = LoadResString(&s_DirWithSkins);
  acs_SelectSkinTitle = LoadResString(&s_SelectSkinTitle);
  acs_SkinPreview = LoadResString(&s_SkinPreview);
}

namespace {
// The unit's start: the system's values and the texts.
struct TConstStart {
  TConstStart() {
    acWinVer = acWinVerOf(sconst_platform::MajorVersion(), sconst_platform::MinorVersion());
    acScrollBtnLength = sconst_platform::ScrollArrowWidth(acScrollBtnLength);
    LoadSkinTexts(sconst_platform::LoadText);
  }
} start;
}  // namespace
