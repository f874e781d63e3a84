// The skin state that every skinned control owns: its skin section, the
// control kind code that picks the default section, and the flags that tell
// whether the control's own colour and font win over the skin.
//
// Until a skin manager is loaded a control is not skinned: it paints in the
// class library's plain look, and this object only keeps what the form
// resources stream (SkinData.SkinSection and the custom flags).
#pragma once

#include "classlib/core/Classes.h"
#include "classlib/core/TypInfo.h"

// The default section of a control kind code; ClassName for kinds without one.
AnsiString DefaultSkinSection(int KindCode, const AnsiString& ClassName);

class TsCommonData : public TPersistent {
  DK_CLASS(TsCommonData, TPersistent)
 public:
  TsCommonData() = default;
  // AOwner: the control (or the object) whose state this is.
  explicit TsCommonData(TComponent* AOwner, bool CreateCacheBmp = false);

  TComponent* FOwnerControl = nullptr;
  // The control kind code, written by the control's constructor.
  int COC = 0;
  // Index of the section in the loaded skin (-1: none, always while no skin is loaded).
  int SkinIndex = -1;

  // Stored upper-cased.
  const AnsiString& SkinSection() const { return FSkinSection; }
  void SetSkinSection(const AnsiString& Value);
  bool CustomColor() const { return FCustomColor; }
  void SetCustomColor(bool Value) { FCustomColor = Value; }
  bool CustomFont() const { return FCustomFont; }
  void SetCustomFont(bool Value) { FCustomFont = Value; }
  // True while the owner paints from a skin.
  bool Skinned() const { return SkinIndex >= 0; }
  // Gives an empty section the default section of the kind code.
  void Loaded();

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  AnsiString FSkinSection;
  bool FCustomColor = false;
  bool FCustomFont = false;
};

// Skin state of buttons, edits and combo boxes.
class TsCtrlSkinData : public TsCommonData {
  DK_CLASS(TsCtrlSkinData, TsCommonData)
 public:
  using TsCommonData::TsCommonData;
};

// Skin state of controls with scroll bars (memos, list boxes).
class TsScrollWndData : public TsCommonData {
  DK_CLASS(TsScrollWndData, TsCommonData)
 public:
  using TsCommonData::TsCommonData;
};
