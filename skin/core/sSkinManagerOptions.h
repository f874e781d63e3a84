// The option objects a skin manager publishes: effects, animations, scroll
// bars, buttons, labels, general switches, menus, and the class names of the
// foreign controls each kind of subclass object skins.
#pragma once

#include <array>
#include <memory>

#include "classlib/core/Classes.h"
#include "classlib/core/TypInfo.h"
#include "skin/core/sConst.h"
#include "skin/core/sDefaults.h"

class TsSkinManager;

class TacSkinEffects : public TPersistent {
  DK_CLASS(TacSkinEffects, TPersistent)
 public:
  TacSkinEffects() = default;
  TsSkinManager* Manager = nullptr;
  bool AllowAeroBluring = true;
  bool AllowGlowing = true;
  bool AllowOuterEffects() const { return FAllowOuterEffects; }
  void SetAllowOuterEffects(bool Value);
  bool DiscoloredGlyphs() const { return FDiscoloredGlyphs; }
  void SetDiscoloredGlyphs(bool Value);

 private:
  bool FAllowOuterEffects = false;
  bool FDiscoloredGlyphs = false;
};

class TacBtnEffects : public TPersistent {
  DK_CLASS(TacBtnEffects, TPersistent)
 public:
  TacBtnEffects() = default;
  TacBtnEvents Events{beMouseEnter, beMouseLeave, beMouseDown, beMouseUp};
};

class TacFormAnimation : public TPersistent {
  DK_CLASS(TacFormAnimation, TPersistent)
 public:
  TacFormAnimation() = default;
  Word Time = 0;
  bool Active = true;
  TacAnimType Mode = atAero;
};

class TacBlendOnMoving : public TacFormAnimation {
  DK_CLASS(TacBlendOnMoving, TacFormAnimation)
 public:
  TacBlendOnMoving() {
    Active = false;
    Time = 1000;
  }
  Byte BlendValue = 170;
};

class TacMinimizing : public TacFormAnimation {
  DK_CLASS(TacMinimizing, TacFormAnimation)
 public:
  TacMinimizing() { Time = 120; }
};

class TacFormShow : public TacFormAnimation {
  DK_CLASS(TacFormShow, TacFormAnimation)
 public:
  TacFormShow() = default;
};

class TacFormHide : public TacFormAnimation {
  DK_CLASS(TacFormHide, TacFormAnimation)
 public:
  TacFormHide() = default;
};

class TacPageChange : public TacFormAnimation {
  DK_CLASS(TacPageChange, TacFormAnimation)
 public:
  TacPageChange() = default;
};

class TacDialogShow : public TacFormAnimation {
  DK_CLASS(TacDialogShow, TacFormAnimation)
 public:
  TacDialogShow() = default;
};

class TacSkinChanging : public TacFormAnimation {
  DK_CLASS(TacSkinChanging, TacFormAnimation)
 public:
  TacSkinChanging() {
    Time = 100;
    Mode = atFading;
  }
};

class TacAnimEffects : public TPersistent {
  DK_CLASS(TacAnimEffects, TPersistent)
 public:
  TacAnimEffects();
  ~TacAnimEffects() override;
  TsSkinManager* Manager = nullptr;
  TacBlendOnMoving* BlendOnMoving() const { return FBlendOnMoving.get(); }
  TacBtnEffects* Buttons() const { return FButtons.get(); }
  TacDialogShow* DialogShow() const { return FDialogShow.get(); }
  TacFormShow* FormShow() const { return FFormShow.get(); }
  TacFormHide* FormHide() const { return FFormHide.get(); }
  TacFormHide* DialogHide() const { return FDialogHide.get(); }
  TacMinimizing* Minimizing() const { return FMinimizing.get(); }
  TacPageChange* PageChange() const { return FPageChange.get(); }
  TacSkinChanging* SkinChanging() const { return FSkinChanging.get(); }

 private:
  std::unique_ptr<TacBlendOnMoving> FBlendOnMoving;
  std::unique_ptr<TacBtnEffects> FButtons;
  std::unique_ptr<TacDialogShow> FDialogShow;
  std::unique_ptr<TacFormShow> FFormShow;
  std::unique_ptr<TacFormHide> FFormHide;
  std::unique_ptr<TacFormHide> FDialogHide;
  std::unique_ptr<TacMinimizing> FMinimizing;
  std::unique_ptr<TacPageChange> FPageChange;
  std::unique_ptr<TacSkinChanging> FSkinChanging;
};

// The class names of the foreign controls of each kind, one per line.
class ThirdPartyList : public TPersistent {
  DK_CLASS(ThirdPartyList, TPersistent)
 public:
  ThirdPartyList() = default;
  AnsiString GetString(Integer Index) const;
  void SetString(Integer Index, const AnsiString& Value);
  AnsiString ThirdEdits() const { return GetString(0); }
  void SetThirdEdits(const AnsiString& V) { SetString(0, V); }
  AnsiString ThirdButtons() const { return GetString(1); }
  void SetThirdButtons(const AnsiString& V) { SetString(1, V); }
  AnsiString ThirdBitBtns() const { return GetString(2); }
  void SetThirdBitBtns(const AnsiString& V) { SetString(2, V); }
  AnsiString ThirdCheckBoxes() const { return GetString(3); }
  void SetThirdCheckBoxes(const AnsiString& V) { SetString(3, V); }
  AnsiString ThirdGroupBoxes() const { return GetString(6); }
  void SetThirdGroupBoxes(const AnsiString& V) { SetString(6, V); }
  AnsiString ThirdListViews() const { return GetString(7); }
  void SetThirdListViews(const AnsiString& V) { SetString(7, V); }
  AnsiString ThirdPanels() const { return GetString(8); }
  void SetThirdPanels(const AnsiString& V) { SetString(8, V); }
  AnsiString ThirdGrids() const { return GetString(5); }
  void SetThirdGrids(const AnsiString& V) { SetString(5, V); }
  AnsiString ThirdTreeViews() const { return GetString(9); }
  void SetThirdTreeViews(const AnsiString& V) { SetString(9, V); }
  AnsiString ThirdComboBoxes() const { return GetString(4); }
  void SetThirdComboBoxes(const AnsiString& V) { SetString(4, V); }
  AnsiString ThirdWWEdits() const { return GetString(10); }
  void SetThirdWWEdits(const AnsiString& V) { SetString(10, V); }
  AnsiString ThirdVirtualTrees() const { return GetString(12); }
  void SetThirdVirtualTrees(const AnsiString& V) { SetString(12, V); }
  AnsiString ThirdGridEh() const { return GetString(11); }
  void SetThirdGridEh(const AnsiString& V) { SetString(11, V); }
  AnsiString ThirdPageControl() const { return GetString(13); }
  void SetThirdPageControl(const AnsiString& V) { SetString(13, V); }
  AnsiString ThirdTabControl() const { return GetString(14); }
  void SetThirdTabControl(const AnsiString& V) { SetString(14, V); }
  AnsiString ThirdToolBar() const { return GetString(15); }
  void SetThirdToolBar(const AnsiString& V) { SetString(15, V); }
  AnsiString ThirdStatusBar() const { return GetString(16); }
  void SetThirdStatusBar(const AnsiString& V) { SetString(16, V); }
  AnsiString ThirdSpeedButton() const { return GetString(17); }
  void SetThirdSpeedButton(const AnsiString& V) { SetString(17, V); }
  AnsiString ThirdScrollControl() const { return GetString(18); }
  void SetThirdScrollControl(const AnsiString& V) { SetString(18, V); }
  AnsiString ThirdUpDown() const { return GetString(19); }
  void SetThirdUpDown(const AnsiString& V) { SetString(19, V); }
  AnsiString ThirdScrollBar() const { return GetString(20); }
  void SetThirdScrollBar(const AnsiString& V) { SetString(20, V); }
  AnsiString ThirdStaticText() const { return GetString(21); }
  void SetThirdStaticText(const AnsiString& V) { SetString(21, V); }
  AnsiString ThirdNativePaint() const { return GetString(22); }
  void SetThirdNativePaint(const AnsiString& V) { SetString(22, V); }

 private:
  std::array<AnsiString, acThirdPartyTypeCount> FLists;
};

class TacScrollBarsSupport : public TPersistent {
  DK_CLASS(TacScrollBarsSupport, TPersistent)
 public:
  TacScrollBarsSupport() = default;
  TsSkinManager* Manager = nullptr;
  Integer ScrollSize() const { return FScrollSize; }
  void SetScrollSize(Integer Value);
  Integer ButtonsSize() const { return FButtonsSize; }
  void SetButtonsSize(Integer Value);

 private:
  Integer FScrollSize = -1;   // -1: the system's width
  Integer FButtonsSize = -1;  // -1: the default length
};

class TacButtonsSupport : public TPersistent {
  DK_CLASS(TacButtonsSupport, TPersistent)
 public:
  TacButtonsSupport() = default;
  bool ShowFocusRect = true;
  bool ShiftContentOnClick = true;
};

class TacLabelsSupport : public TPersistent {
  DK_CLASS(TacLabelsSupport, TPersistent)
 public:
  TacLabelsSupport() = default;
  bool TransparentAlways = true;
};

// Switches of the whole process: each Boolean holds for every manager once
// one sets it.
class TacOptions : public TPersistent {
  DK_CLASS(TacOptions, TPersistent)
 public:
  TacOptions() = default;
  bool GetBool(Integer Index) const;
  void SetBool(Integer Index, bool Value);
  bool CheckEmptyAlpha() const { return GetBool(0); }
  void SetCheckEmptyAlpha(bool V) { SetBool(0, V); }
  bool NoMouseHover() const { return GetBool(1); }
  void SetNoMouseHover(bool V) { SetBool(1, V); }
  bool NativeBordersMaximized() const { return GetBool(2); }
  void SetNativeBordersMaximized(bool V) { SetBool(2, V); }
  bool StdGlyphsOrder() const { return GetBool(3); }
  void SetStdGlyphsOrder(bool V) { SetBool(3, V); }
  TacOptimizingPriority GetOptimizingPriority() const;
  void SetOptimizingPriority(TacOptimizingPriority Value);

 private:
  std::array<bool, 4> FBools{};
  TacOptimizingPriority FOptimizingPriority = opSpeed;
};

// Fills the manager's class-name lists from its ThirdParty texts (the
// defaults where a text is empty, or everywhere with Overwrite).
void LoadThirdNames(TsSkinManager* Manager, bool Overwrite);
// Gives the ThirdParty texts the manager's lists back.
void UpdateThirdNames(TsSkinManager* Manager);
// The width of scroll bars: the manager's, else the system's.
Integer GetScrollSize(TsSkinManager* Manager);
Integer GetComboBtnSize(TsSkinManager* Manager);
