// The skin-wide values of a loaded skin, the precomputed indexes painters
// read instead of searching by name, the six common sections, the flag of a
// skin change in progress and the broadcasts to the forms of the program.
#pragma once

#include <array>

#include "skin/core/sConst.h"

// The global values of a skin (its GLOBALINFO section).
class TsSkinData {
 public:
  bool Active = false;  // the tables hold a broadcast skin
  AnsiString SkinPath;  // folder of relative image file names
  double Version = 0;
  AnsiString Author, Description;
  TColor Shadow1Color = 0;
  Integer Shadow1Offset = 0, Shadow1Blur = -1, Shadow1Transparency = 0;
  Integer FormBorderWidth = 0, TitleHeight = 0, MaxHeight = 0, FormOffset = 0, CenterOffset = 0, BorderMode = 0;
  Integer AlignOffsetLeft = 0, AlignOffsetRight = 0, AlignOffsetTop = 0, AlignOffsetBottom = 0;
  Integer Reserved = 0;
  Integer BISpace = 0, BIVAlign = 0, BIRight = 0, BILeft = 0, BITop = 0, BIKeepHue = 0;
  Integer CloseGlow = 0, CloseGlowMargin = 0, MaxGlow = 0, MaxGlowMargin = 0, MinGlow = 0, MinGlowMargin = 0;
  bool AeroBlur = false;
  Integer ComboMargin = 0, BrightMin = 0, BrightMax = 0, TabsCovering = 0;
};

// One precomputed element: a section and four of its images (-1: none).
struct TacConstElementData {
  Integer SectionIndex = -1;
  Integer BorderMask = -1;      // BORDERSMASK
  Integer GlyphMask = -1;       // GLYPHMASK
  Integer PatternMask = -1;     // PATTERN
  Integer HotPatternMask = -1;  // HOTPATTERN
  AnsiString SectionName;
};
using TacSideElements = std::array<TacConstElementData, 4>;  // left, top, right, bottom
using TacBoolElements = std::array<TacConstElementData, 2>;  // horizontal, vertical

DK_ENUM(TacSection, ssMenuItem, ssToolButton, ssCheckBox, ssTransparent, ssGroupBox, ssWebBtn);
using TacIntSections = std::array<Integer, 6>;
extern const AnsiString acSectNames[6];

// Indexes of the title-button images in TConstantSkinData::TitleIcons.
enum TacTitleIcon {
  tiBIconClose, tiBICloseAlone, tiBIconMax, tiBIconNorm, tiBIconMin, tiBIconHelp,
  tiSIconClose, tiSIconMax, tiSIconNorm, tiSIconMin, tiSIconHelp
};
// Indexes of the check glyphs in TConstantSkinData::CheckGlyphs.
enum TacCheckGlyph {
  cgBoxChecked, cgBoxUnchecked, cgBoxGrayed, cgRadioChecked, cgRadioUnchecked, cgRadioGrayed,
  cgSmallChecked, cgSmallUnchecked, cgSmallGrayed
};
// The GLOBALINFO keys of the title-button images and check glyphs, in the
// order of their indexes.
extern const char* const acTitleIconKeys[11];
extern const char* const acCheckGlyphKeys[9];

// Indexes painters read without searching, computed after every load.
struct TConstantSkinData {
  Integer GlobalInfoIndex = -1;
  Integer ExBorderMask = -1;
  TacSideElements Tabs;           // TABLEFT, TABTOP, TABRIGHT, TABBOTTOM
  TacSideElements ScrollButtons;  // SCROLLBTNLEFT, SCROLLBTNTOP, SCROLLBTNRIGHT, SCROLLBTNBOTTOM
  TacSideElements ScrollBars;     // SCROLLBAR1H, SCROLLBAR1V, SCROLLBAR2H, SCROLLBAR2V
  TacBoolElements ScrollSliders;  // SCROLLSLIDERH, SCROLLSLIDERV
  TacConstElementData ComboButton;  // COMBOBTN (its glyph: COMBOBOX's GLYPHMASK)
  std::array<Integer, 11> TitleIcons{};
  std::array<Integer, 9> CheckGlyphs{};
  Integer GripImage = -1, GripHorz = -1, GripVert = -1;
  TacIntSections CommonSectionIndexes{};
};

// True while the manager loads or changes a skin.
extern bool aSkinChanging;

// True when one of the entries From .. To of Sections is SkinIndex.
bool SectionInArray(const TacIntSections& Sections, Integer SkinIndex, TacSection From, TacSection To);

#ifdef _WIN32
#include <vector>

#include "classlib/ui/Forms.h"

class TsSkinManager;
class TsSkinProvider;

// ------------------------------------------------------- broadcasting

// The forms of the skin providers, in the order they registered (a provider
// registers its form for its lifetime).
void IntSkinForm(TCustomForm* Form);
void IntUnSkinForm(TCustomForm* Form);
const std::vector<TCustomForm*>& RegisteredForms();

// The message to every form of the application and its controls, then to the
// registered forms (SendToHooked). A form answering the skin command 7 is
// left to SendToHooked, so that every form hears the message once.
void AppBroadCastS(TMessage& Message);
// The message to the registered forms and their controls, and to the visible
// automatically skinned windows.
void SendToHooked(TMessage& Message);

// Around a skin change: freezes the drawing of the manager's skinned forms,
// takes a picture of those with extended borders, releases and repaints them
// (with the skin-change animation when Animate).
void LockForms(TsSkinManager* Manager);
void CopyExForms(TsSkinManager* Manager);
void UnLockForms(TsSkinManager* Manager, bool Animate);

// Freezes the manager's skinned forms (when Lock) for a scope: whatever
// happens inside, they are released when it ends, unless the scope released
// them itself (Release) or handed that on (Dismiss).
class TFormsLock {
 public:
  TFormsLock(TsSkinManager* Manager, bool Lock);
  ~TFormsLock();
  TFormsLock(const TFormsLock&) = delete;
  TFormsLock& operator=(const TFormsLock&) = delete;
  void Release(bool Animate);
  void Dismiss() { FLocked = false; }

 private:
  TsSkinManager* FManager;
  bool FLocked;
};

// The small and the large shell icon of the program (nullptr when none).
TIcon* AppIcon();
TIcon* AppIconLarge();
#endif
