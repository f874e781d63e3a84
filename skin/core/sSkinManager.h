// The skin manager: the component that owns one loaded skin (the tables
// every painter reads), chooses where a skin named by SkinName comes from (a skin folder, a packed skin file or a skin stored
// in the program), loads it and tells the program about it.
//
// A load builds a new set of tables apart and takes it over only when it
// succeeded: a skin that fails to load leaves the skin in use, its name and
// its tables, and shows why.
#pragma once

#include <array>
#include <cstdint>
#include <vector>
#include <memory>

#include "classlib/core/Classes.h"
#include "classlib/ui/Forms.h"
#include "skin/core/acSkinLoad.h"
#include "skin/core/acSkinTables.h"
#include "skin/core/sSkinManagerOptions.h"
#include "skin/core/sStoredSkins.h"
#include "skin/forms/sSkinMenus.h"

class TsSkinManager;
class TsSkinableMenus;
class TGraphicControl;

// An object that holds a manager without being a component (a skin state, a
// glow): told when the manager goes, so that it keeps no freed manager.
class TacManagerClient {
 public:
  virtual void ManagerFreed(TsSkinManager* Manager) = 0;

 protected:
  ~TacManagerClient() = default;
};

// The record the skin editor sends with WM_COPYDATA to preview a skin: its
// strings are code page 1251, each ending at its first zero or its size.
#pragma pack(push, 1)
struct TacEditorRecord {
  std::int32_t Magic;         // ASE_MSG
  char SkinName[128];
  char SkinDirectory[513];
  char OptionsText[30001];    // the whole Options.dat of the skin being edited
};
#pragma pack(pop)
static_assert(sizeof(TacEditorRecord) == 30646);
// The skin editor's message, and the magic of its record.
constexpr Cardinal ASE_MSG = 0xA400;
// The text of a field of the editor's record: up to its first zero or its end.
template <size_t N>
AnsiString EditorText(const char (&Field)[N]) {
  size_t n = 0;
  while (n < N && Field[n]) ++n;
  return AnsiString(Field, n);
}

DK_ENUM(TacSkinningRule, srStdForms, srStdDialogs, srThirdParty);
using TacSkinningRules = TSet<TacSkinningRule>;
DK_ENUM(TacSkinTypes, stUnpacked, stPacked, stAllSkins);
using TacSkinInfo = AnsiString;

// The system dialog the window-creation hook is about to skin; a handler of
// OnSysDlgInit may set AllowSkinning to False to leave it as the system made it.
struct TacSysDlgData {
  HWND WindowHandle = nullptr;
};
using TacSysDlgInit = TClosure<void(TacSysDlgData& Data, bool& AllowSkinning)>;

class TsSkinManager : public TComponent, public TacSkinTables {
  DK_CLASS(TsSkinManager, TComponent)
 public:
  explicit TsSkinManager(TComponent* AOwner);
  ~TsSkinManager() override;
  void Construct() override;
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
  TacSysDlgInit OnSysDlgInit;

  // ------------------------------------------------------ the skin in use

  // Tells every form and control of the program about the loaded skin (the
  // skin command 1), about its removal (2), or repaints them (3).
  void SendNewSkin(bool Repaint);
  void SendRemoveSkin();
  void RepaintForms(bool AllowAnimation);
  // Every control of that section (any case) repaints.
  void UpdateSkinSection(const AnsiString& SectionName);
  void UpdateSkin(bool Repaint);
  // While locked a new skin name loads without being broadcast and repaints
  // leave the forms frozen; EndUpdate broadcasts it.
  void BeginUpdate() { FUpdateLocked = true; }
  void EndUpdate(bool Repaint, bool AllowAnimation);
  // Leaves the lock without broadcasting.
  void CancelUpdate() { FUpdateLocked = false; }

  // ------------------------------------------------------ hooks and hover

  // The window-creation hook of the thread, through which the forms and
  // dialogs made later are skinned; only the default manager holds it, and
  // only while it has a broadcast skin.
  void InstallHook();
  void UnInstallHook();
  bool HookInstalled() const { return FHookInstalled; }
  // The hook of the application window (the default manager's): minimize and
  // restore, the skin editor's record, activation, the skinned menus.
  bool MainWindowHook(TMessage& Message);
  // The control under the mouse (called by controls when the mouse enters):
  // the one left hears the skin command 30, the one entered 29.
  void SetActiveControl(HWND Wnd);
  void SetActiveGraphControl(TGraphicControl* Control);
  HWND ActiveControl() const { return FActiveControl; }
  TGraphicControl* ActiveGraphControl() const { return FActiveGraphControl; }

  // Objects told when the manager goes (see TacManagerClient).
  void AddClient(TacManagerClient* Client);
  void RemoveClient(TacManagerClient* Client);

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
  // 2 after a minimize command of the application window, 1 after a restore,
  // 0 after another system command while a skin is active.
  Byte SysCommandState = 0;
  std::array<std::unique_ptr<TStringList>, acThirdPartyTypeCount> ThirdLists;
  // The skinned menus' painter (owned).
  TsSkinableMenus* Menus() const { return FMenus; }
  // The last record the skin editor sent.
  std::unique_ptr<TacEditorRecord> EditorRecord;

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  bool ShadowsWanted() const override { return FActive && ExtendedBorders(); }
  const TacBitmap* DefaultShadow(bool Active) const override;

 private:
  bool Loading() const;
  bool Designing() const { return ComponentState().Contains(csDesigning); }
  // The skin command to every form (and their controls) of the program.
  void Broadcast(TMessage& Message, bool Removing);
  // The hook of the application window, as the application keeps it.
  TWindowHook AppHook() { return TWindowHook(this, &TsSkinManager::MainWindowHook); }
  // Puts the hook on the application window or takes it away.
  void HookApplication(bool On);
  bool CopyEditorRecord(TMessage& Message);
  bool SysCommand(TMessage& Message);
  void HideAtExit(TMessage& Message);
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
  // The master bitmap of the skin before the current one, kept so that the
  // next load of a master of its size (a reload above all) writes into it.
  std::unique_ptr<TacBitmap> FSpareMaster;
  bool FExtendedBordersFlag = false;
  bool FSkinnedPopups = true;
  bool FActive = true;
  bool FUpdateLocked = false;
  bool FHookInstalled = false;
  bool FAppHooked = false;
  HWND FActiveControl = nullptr;
  TGraphicControl* FActiveGraphControl = nullptr;
  TsSkinableMenus* FMenus = nullptr;
  std::vector<TacManagerClient*> FClients;
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
// The shadows of the extended borders when the skin has none: the program's
// own pictures "acSHDA" (active) and "acSHDI" (inactive), nullptr when the
// program lacks them.
extern TacBitmap* DefaultShadowActive;
extern TacBitmap* DefaultShadowInactive;

// Loads the skin of the manager's editor record (posted as the skin command
// 71 to the application window): its text, folder and name, broadcast
// without the skin-change animation.
void ReceiveData(TsSkinManager* Manager);
// The shown-minimized picture of a window in the task bar from the skinned
// form (when the program asks for it through ac_ChangeThumbPreviews).
void UpdatePreview(HWND Wnd, bool Value);
// What the program shows at start when its command line holds "/acver" (any
// case); the unit start calls it with the arguments.
bool ShowVersionRequested(const std::vector<AnsiString>& Args);

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
