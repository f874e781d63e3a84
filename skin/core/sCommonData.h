// The skin state every skinned control, form provider and subclass object
// owns: the skin manager and section it takes its look from, the resolved
// indexes of that section, its border image and textures, the owner's 32-bit
// cache with the flag that says it must be rebuilt, the control kind code,
// the hot, focused and update state. It answers the skin command message for
// its owner (CommonMessage) and decides when the owner must repaint.
//
// Without a manager, a skin or a section of that name the state is not
// Skinned and the owner paints in the class library's plain look.
#pragma once

#include <memory>

#include "classlib/core/Classes.h"
#include "classlib/core/TypInfo.h"
#include "classlib/ui/Controls.h"
#include "skin/core/Smessages.h"
#include "skin/core/sConst.h"
#include "skin/core/sSkinManager.h"

class TsCommonData;

// Switches the outer effects (shadows) of a control.
class TacOuterEffects : public TPersistent {
  DK_CLASS(TacOuterEffects, TPersistent)
 public:
  explicit TacOuterEffects(TsCommonData* Owner = nullptr) : FOwner(Owner) {}
  TacOuterVisibility Visibility() const { return FVisibility; }
  void SetVisibility(TacOuterVisibility Value);
  // Asks the owner's parent to redraw (the effect lies on the parent).
  void Invalidate();

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  TsCommonData* FOwner;
  TacOuterVisibility FVisibility = ovNone;
};

// The sizes of one skinned scroll bar of a window (-1: from the skin).
class TacScrollData : public TPersistent {
  DK_CLASS(TacScrollData, TPersistent)
 public:
  explicit TacScrollData(TsCommonData* Owner = nullptr) : FOwner(Owner) {}
  Integer ScrollWidth() const { return FScrollWidth; }
  void SetScrollWidth(Integer Value);
  Integer ButtonsSize() const { return FButtonsSize; }
  void SetButtonsSize(Integer Value);
  void Invalidate() {}

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  TsCommonData* FOwner;
  Integer FScrollWidth = -1;
  Integer FButtonsSize = -1;
};

class TsCommonData : public TPersistent, public TacManagerClient {
  DK_CLASS(TsCommonData, TPersistent)
 public:
  TsCommonData() : TsCommonData(nullptr, false) {}
  // AOwner: the control, provider or subclass object whose state this is.
  TsCommonData(TObject* AOwner, bool CreateCacheBmp);
  ~TsCommonData() override;

  // ------------------------------------------------------------ the state

  std::unique_ptr<TacBitmap> OuterBmp;  // the background under the outer effect
  Integer UpdateCount = 0;
  std::unique_ptr<TacOuterEffects> OuterEffects;
  Integer GlowID = -1;        // the glow window shown around the owner, -1 none
  bool Updating = false;      // painting of the owner is suspended
  bool Loading = true;        // the owner has not finished loading
  Integer BorderIndex = -1;   // image of the section's border mask
  Integer SkinIndex = -1;     // the section in the manager's Sections
  Integer Texture = -1;       // image of the section's PATTERN
  Integer HotTexture = -1;    // image of the section's HOTPATTERN
  bool OutOfParent = true;    // the owner lies partly outside its parent's client area
  TControl* OwnerControl = nullptr;
  TObject* OwnerObject = nullptr;
  std::unique_ptr<TacBitmap> CacheBmp;  // the owner's image
  Integer KindCode = 0;       // the control kind code, written by the owner's constructor
  bool Focused = false;
  bool MouseAbove = false;
  // Bit 0: plain background; bit 1: plain state not computed yet; 0x200:
  // printing; 0x800: inside BeginUpdate / EndUpdate.
  Word StateFlags = 2;
  // Bit 0: the background changes with the width; bit 1: with the height;
  // bit 2: it has a texture.
  SmallInt BGDependency = 0;
  HDC PrintDC = nullptr;
  TRect InvalidRectH, InvalidRectV;  // parts of the cache a resize made invalid
  bool BGChanged = true;      // the cache must be rebuilt before the next paint

  // ------------------------------------------------------------ properties

  // Stored upper-cased.
  const AnsiString& SkinSection() const { return FSkinSection; }
  void SetSkinSection(const AnsiString& Value);
  bool CustomColor() const { return FCustomColor; }
  void SetCustomColor(bool Value);
  bool CustomFont() const { return FCustomFont; }
  void SetCustomFont(bool Value);
  TacOuterEffects* GetOuterEffects() const { return OuterEffects.get(); }
  void SetOuterEffects(TacOuterEffects* Value) { OuterEffects->Assign(Value); }
  // The own manager (nullptr: the default one).
  TsSkinManager* SkinManager() const { return FSkinManager; }
  void SetSkinManager(TsSkinManager* Value);
  bool ManagerStored() const { return FSkinManager != nullptr; }
  TColor ColorTone() const { return FColorTone; }
  void SetColorTone(TColor Value);
  Integer HUEOffset() const { return FHUEOffset; }
  void SetHUEOffset(Integer Value);
  Integer Saturation() const { return FSaturation; }
  void SetSaturation(Integer Value);

  // ------------------------------------------------------------ operations

  // The own manager, else the default one (which may be nullptr).
  TsSkinManager* GetSkinManager() const { return FSkinManager ? FSkinManager : DefaultManager; }
  // Whether the owner paints from the skin (with CheckActive: and the skin is broadcast).
  bool Skinned(bool CheckActive = false) const;
  // The end of the owner's loading: picks the section, registers a window
  // control with its form's adapter and applies the skin colours.
  void Loaded();
  void BeginUpdate();
  void EndUpdate(bool Repaint = false);
  bool GetUpdating() const;
  void Invalidate(bool UpdateNow = false);
  // Looks the section (with ReadSkinIndex) and its images up again.
  void UpdateIndexes(bool ReadSkinIndex = true);
  // Whether a move or resize of the owner needs a repaint.
  bool RepaintIfMoved();

  // The outer effect (shadow) of the owner painted into the bitmap that
  // BGInfo describes; Flags 0x100: restore what lay there before first.
  void PaintOuter(PacBGInfo BGInfo, Word Flags);
  // Every ready, visible child of Control paints its outer effect into this
  // state's cache, moved by Offset.
  void PaintOuterEffects(TWinControl* Control, const TPoint& Offset);

  // The own manager is going: the state forgets it (and its indexes).
  void ForgetManager();
  void ManagerFreed(TsSkinManager*) override { ForgetManager(); }

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  AnsiString FSkinSection;
  bool FCustomColor = false;
  bool FCustomFont = false;
  TsSkinManager* FSkinManager = nullptr;
  TColor FColorTone = clNoColor;
  Integer FHUEOffset = 0;
  Integer FSaturation = 0;
};

// Skin state of buttons and edit-like controls: colour tone, hue, saturation.
class TsCtrlSkinData : public TsCommonData {
  DK_CLASS(TsCtrlSkinData, TsCommonData)
 public:
  TsCtrlSkinData() = default;
  TsCtrlSkinData(TObject* AOwner, bool CreateCacheBmp) : TsCommonData(AOwner, CreateCacheBmp) {}
};

// Skin state of controls with skinned scroll bars.
class TsScrollWndData : public TsCommonData {
  DK_CLASS(TsScrollWndData, TsCommonData)
 public:
  TsScrollWndData() : TsScrollWndData(nullptr, false) {}
  TsScrollWndData(TObject* AOwner, bool CreateCacheBmp);
  ~TsScrollWndData() override;
  TacScrollData* HorzScrollData() const { return FHorzScrollData.get(); }
  void SetHorzScrollData(TacScrollData* Value) { FHorzScrollData->Assign(Value); }
  TacScrollData* VertScrollData() const { return FVertScrollData.get(); }
  void SetVertScrollData(TacScrollData* Value) { FVertScrollData->Assign(Value); }

 private:
  std::unique_ptr<TacScrollData> FVertScrollData;
  std::unique_ptr<TacScrollData> FHorzScrollData;
};

// ------------------------------------------------------------ unit functions

// The manager sets it while it broadcasts a new skin; commands 1 and 13 clear it.
extern bool RestrictDrawing;

// With ClearFirst, Updating := False first; then True (and Updating set)
// while the owner's painting must wait.
bool InUpdating(TsCommonData* SkinData, bool ClearFirst = false);
// Whether the owner keeps an image of its own (not a plain background).
bool IsCached(TsCommonData* SkinData);
bool HaveOuterEffects(TsCommonData* SkinData);
// Whether the owner must be drawn in its hot state.
bool ControlIsActive(TsCommonData* SkinData);
// Computes the plain-background bit of container owners and providers.
void UpdateSkinState(TsCommonData* SkinData, bool Children = true);
// Chooses the section: the one set, else the kind code's default.
void UpdateData(TsCommonData* SkinData);
// Takes the first of the names the skin has.
void InitIndexes(TsCommonData* SkinData, const AnsiString* Names, Integer High);
inline bool ChildBgIsChanged(TsCommonData*) { return true; }
// Makes the cache bitmap 32-bit and of the owner's size.
void InitCacheBmp(TsCommonData* SkinData);
// 0: the owner paints a background of its own; 1: plain (the parent's or one
// colour); 2: not decided yet.
Integer GetPlainState(TsCommonData* SkinData);
// The section's normal colours on an edit-like owner (not its tone).
void ApplySkinColors(TsCommonData* SkinData, bool Repaint);

// The skin state's handler of SM_ALPHACMD: True for the commands it answers
// (the result holds the answer).
bool CommonMessage(TMessage& Message, TsCommonData* SkinData);
// What every skinned control hands its window messages to (before the
// inherited window procedure): reacts to moves, sizes, focus, hover and the
// skin command; True when the message was a command it answered.
bool CommonWndProc(TMessage& Message, TsCommonData* SkinData);

// ------------------------------------------------ backgrounds, colours and effects

// The answer to a child's question what lies behind it (the skin command 34):
// the colour, this state's cache with the child's offset, or the parent's
// answer through a transparent owner; with PleaseDraw, drawn into the
// record's DC. State 1: the owner's hot look.
void InitBGInfo(TsCommonData* SkinData, PacBGInfo BGInfo, Integer State, HWND Wnd = nullptr);
// The plain background colour of the owner (a transparent section mixed with
// the parent's colour).
TColor GetBGColor(TsCommonData* SkinData, Integer State, HWND Wnd = nullptr);
// What lies under the owner, from its parent.
TCacheInfo GetParentCache(TsCommonData* SkinData);
TCacheInfo GetParentCacheHwnd(HWND Wnd);
// Tells the owner's parent to rebuild its image now.
void InvalidateParentCache(TsCommonData* SkinData);
// The section whose font colours Control takes: a parent's section that
// gives its own font (through parents more than half transparent), else DefIndex.
Integer GetFontIndex(TControl* Control, Integer DefIndex, TsSkinManager* Manager, Integer State = 0);
// Shows or hides the glow around a hot control.
void ShowGlowingIfNeeded(TsCommonData* SkinData, bool Clear = false, HWND Wnd = nullptr);
// Tints a cache bitmap by the state's colour tone, hue offset and saturation
// (Flag is not used).
void UpdateBmpColors(TacBitmap* Bmp, TsCommonData* SkinData, bool Flag, Integer State);
// The saturation change in percent as the pixel function takes it: value x
// 255 / 100 rounded half to even, limited to -255..255.
Integer SaturationValue(Integer Percent);
// The widest margin of the border image (0 without one or when it is not drawn).
Integer SkinBorderMaxWidth(TsCommonData* SkinData);
// Copies the cache's SrcRect into DC's DstRect around the opaque children.
void CopyWinControlCache(TWinControl* Control, TsCommonData* SkinData, const TRect& SrcRect, const TRect& DstRect,
                         HDC DC, bool UpdateCorners, Integer OffsetX = 0, Integer OffsetY = 0);
void CopyHwndCache(HWND Wnd, TsCommonData* SkinData, const TRect& SrcRect, const TRect& DstRect, HDC DC,
                   bool UpdateCorners, Integer OffsetX = 0, Integer OffsetY = 0);
