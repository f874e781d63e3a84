// The skin manager: the component that owns one loaded skin (the tables
// every painter reads), chooses where a skin named by SkinName comes from (a skin folder, a packed skin file or a skin stored
// in the program), loads it and tells the program about it.
//
// A load builds a new set of tables apart and takes it over only when it
// succeeded: a skin that fails to load leaves the skin in use, its name and
// its tables, and shows why.
#pragma once

#include <array>
#include <memory>

#include "classlib/core/Classes.h"
#include "classlib/ui/Forms.h"
#include "skin/core/acSkinLoad.h"
#include "skin/core/acSkinTables.h"
#include "skin/core/sSkinManagerOptions.h"
#include "skin/core/sStoredSkins.h"

DK_ENUM(TacSkinningRule, srStdForms, srStdDialogs, srThirdParty);
using TacSkinningRules = TSet<TacSkinningRule>;
DK_ENUM(TacSkinTypes, stUnpacked, stPacked, stAllSkins);
using TacSkinInfo = AnsiString;

class TsSkinManager : public TComponent, public TacSkinTables {
  DK_CLASS(TsSkinManager, TComponent)
 public:
  explicit TsSkinManager(TComponent* AOwner);
  ~TsSkinManager() override;
  void AfterConstruction() override;

  // ------------------------------------------------------ published properties

  TacSkinEffects* Effects() const { return FEffects.get(); }
  bool ExtendedBorders() const;
  void SetExtendedBorders(bool Value);
  bool SkinnedPopups() const { return FSkinnedPopups; }
  void SetSkinnedPopups(bool Value);
  TacAnimEffects* AnimEffects() const { return FAnimEffects.get(); }
  TacButtonsSupport* ButtonsOptions() const { return FButtonsOptions.get(); }
  bool IsDefault() const;
  void SetIsDefault(bool Value);
  bool Active() const { return FActive; }
  void SetActive(bool Value);
  TStringList* CommonSections() const { return FCommonSections.get(); }
  // Takes the lines (each loses its spaces) and loads the skin again.
  void SetCommonSections(TStringList* Value);
  Integer Brightness() const { return FBrightness; }
  void SetBrightness(Integer Value);
  Integer Saturation() const { return FSaturation; }
  void SetSaturation(Integer Value);
  Integer HueOffset() const { return FHueOffset; }
  void SetHueOffset(Integer Value);
  TsStoredSkins* InternalSkins() const { return FInternalSkins.get(); }
  void SetInternalSkins(TsStoredSkins* Value) { FInternalSkins->Assign(Value); }
  TacLabelsSupport* LabelsOptions() const { return FLabelsOptions.get(); }
  TacMenuSupport* MenuSupport() const { return FMenuSupport.get(); }
  TacOptions* Options() const { return FOptions.get(); }
  TacScrollBarsSupport* ScrollsOptions() const { return FScrollsOptions.get(); }
  const AnsiString& SkinDirectory() const { return FSkinDirectory; }
  void SetSkinDirectory(const AnsiString& Value);
  const AnsiString& SkinName() const { return FSkinName; }
  // Chooses the source of the skin of that name and loads it.
  void SetSkinName(const AnsiString& Value);
  // The skin's version with a point ("N/A" without a skin).
  TacSkinInfo GetSkinInfo() const;
  void SetSkinInfo(const TacSkinInfo&) {}
  TacSkinningRules SkinningRules() const { return FSkinningRules; }
  void SetSkinningRules(TacSkinningRules Value) { FSkinningRules = Value; }
  ThirdPartyList* ThirdParty() const { return FThirdParty.get(); }
  AnsiString GetVersion() const { return "9.12"; }
  void SetVersion(const AnsiString&) {}

  TNotifyEvent OnActivate, OnAfterChange, OnBeforeChange, OnDeactivate, OnSkinListChanged, OnSkinLoading;

  // ------------------------------------------------------ the skin in use

  // Tells the program about the loaded skin / its removal / repaints it. Until
  // the skinned forms and controls come these only keep the tables' state.
  void SendNewSkin(bool Repaint);
  void SendRemoveSkin();
  void RepaintForms(bool AllowAnimation);
  void UpdateSkin(bool Repaint);
  void BeginUpdate() { FUpdateLocked = true; }
  void EndUpdate(bool Repaint, bool AllowAnimation);

  // ------------------------------------------------------ skins and sources

  // The folder the skin directory names (relative to the program's folder).
  AnsiString GetFullSkinDirectory() const;
  // The names of the stored skins and of the skins in the skin directory
  // (folders with Options.dat, packed files without their ".asz"), sorted;
  // answers the first name found.
  AnsiString GetSkinNames(TStrings* List, TacSkinTypes SkinTypes = stAllSkins);
  AnsiString GetExternalSkinNames(TStrings* List, TacSkinTypes SkinTypes = stAllSkins);
  AnsiString GetRandomSkin();
  // Writes a stored skin into Dir as "<Name> extracted.asz".
  void ExtractInternalSkin(const AnsiString& SkinName, const AnsiString& Dir);
  void ExtractByIndex(Integer Index, const AnsiString& Dir);

  // Loads the current skin again (from its folder, the editor's text or a
  // stored skin / from its packed file), replacing the tables on success.
  void ReloadSkin();
  void ReloadPackedSkin();
  // Loads the current skin again after a change of its colours and repaints.
  void UpdateCurrentSkin();
  // The notices of a skin version outside the one this library reads fully.
  void CheckVersion(double Version);
  void FreeBitmaps();
  void FreeJpegs();

  // ------------------------------------------------------ state

  // True while the current skin came from a packed file or a stored skin.
  bool PackedSource = false;
  bool SkinRemoving = false;
  Byte SysCommandState = 0;
  std::array<std::unique_ptr<TStringList>, acThirdPartyTypeCount> ThirdLists;

 protected:
  void Loaded() override;
  bool ShadowsWanted() const override { return FActive && ExtendedBorders(); }

 private:
  bool Loading() const;
  // The skin text and its source into new tables, which replace the current
  // ones when the whole load succeeded.
  void LoadTables(const TacSkinText& Text, const TacSkinSource& Source, const AnsiString& SkinPath);
  void LoadStoredSkin();
  AnsiString PackFileName() const;
  AnsiString CollectSkinNames(TStrings* List, TacSkinTypes SkinTypes, bool Stored);

  std::unique_ptr<TacSkinEffects> FEffects;
  std::unique_ptr<TacAnimEffects> FAnimEffects;
  std::unique_ptr<TacButtonsSupport> FButtonsOptions;
  std::unique_ptr<TacLabelsSupport> FLabelsOptions;
  std::unique_ptr<TacMenuSupport> FMenuSupport;
  std::unique_ptr<TacOptions> FOptions;
  std::unique_ptr<TacScrollBarsSupport> FScrollsOptions;
  std::unique_ptr<ThirdPartyList> FThirdParty;
  std::unique_ptr<TsStoredSkins> FInternalSkins;
  std::unique_ptr<TStringList> FCommonSections;
  bool FExtendedBordersFlag = false;
  bool FSkinnedPopups = true;
  bool FActive = true;
  bool FUpdateLocked = false;
  Integer FBrightness = 0, FSaturation = 0, FHueOffset = 0;
  AnsiString FSkinDirectory, FSkinName;
  TacSkinningRules FSkinningRules{srStdForms, srStdDialogs, srThirdParty};

  friend void LoadThirdNames(TsSkinManager*, bool);
  friend class TacSkinEffects;
  friend class TacScrollBarsSupport;

 public:
  bool UpdateLocked() const { return FUpdateLocked; }
};

// The first manager created (nullptr when none).
extern TsSkinManager* DefaultManager;
// True on the systems of the NT family.
extern bool IsNT;
// When True a skin folder wins over a packed file of the same name.
extern bool UnPackedFirst;
// An Options.dat text handed over by the skin editor (nullptr otherwise).
extern TStringList* acMemSkinFile;

// Replaces or adds one image of the manager's loaded skin from a file (a
// bitmap, or a JPEG texture for PATTERN and HOTPATTERN) and indexes the skin
// again; False for an image that lies in the master image, or when nothing
// was changed.
bool ChangeImageInSkin(const AnsiString& SkinSection, const AnsiString& PropName, const AnsiString& FileName,
                       TsSkinManager* Manager);

// Every unit that includes this header links this unit in, so that form
// resources find its classes by name.
namespace dk_link {
extern const int sSkinManagerUnit;
[[gnu::used]] static const int* const sSkinManagerAnchor = &sSkinManagerUnit;
}  // namespace dk_link
