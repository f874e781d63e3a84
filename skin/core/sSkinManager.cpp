// The skin manager's life, its properties, the state steps of telling the
// program about a skin, and the skins it can list and extract.
#include "skin/core/sSkinManager.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include "classlib/core/Math.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sStyleSimply.h"
#include "skin/forms/sDialogs.h"

const int dk_link::sSkinManagerUnit = 0;

TsSkinManager* DefaultManager = nullptr;
bool IsNT = true;
bool UnPackedFirst = false;
TStringList* acMemSkinFile = nullptr;

namespace {
const AnsiString kDefaultSkinDirectory = "c:\\Skins";
}

TsSkinManager::TsSkinManager(TComponent* AOwner)
    : TComponent(AOwner), FEffects(std::make_unique<TacSkinEffects>()),
      FAnimEffects(std::make_unique<TacAnimEffects>()), FButtonsOptions(std::make_unique<TacButtonsSupport>()),
      FLabelsOptions(std::make_unique<TacLabelsSupport>()), FMenuSupport(std::make_unique<TacMenuSupport>()),
      FOptions(std::make_unique<TacOptions>()), FScrollsOptions(std::make_unique<TacScrollBarsSupport>()),
      FThirdParty(std::make_unique<ThirdPartyList>()), FInternalSkins(std::make_unique<TsStoredSkins>(this)),
      FCommonSections(std::make_unique<TStringList>()) {
  FEffects->Manager = this;
  FAnimEffects->Manager = this;
  FScrollsOptions->Manager = this;
  for (auto& list : ThirdLists) {
    list = std::make_unique<TStringList>();
    list->SetCaseSensitive(true);
  }
  FCommonSections->SetCaseSensitive(true);
  ShadowMargins = TRect{};
  CommonSkinData.Active = false;
  if (!DefaultManager) DefaultManager = this;
}

TsSkinManager::~TsSkinManager() {
  SetActive(false);
  FExtendedBordersFlag = false;
  FreeJpegs();
  FreeBitmaps();
  if (DefaultManager == this) DefaultManager = nullptr;
  UpdateThirdNames(this);
}

void TsSkinManager::AfterConstruction() {
  inherited::AfterConstruction();
  LoadThirdNames(this, false);
  if (FSkinDirectory.empty()) FSkinDirectory = kDefaultSkinDirectory;
}

void TsSkinManager::Loaded() {
  inherited::Loaded();
  if (FSkinDirectory.empty()) FSkinDirectory = kDefaultSkinDirectory;
  if (FMenuSupport->IcoLineSkin.empty()) FMenuSupport->IcoLineSkin = "ICOLINE";
  LoadThirdNames(this, false);
  if (FActive && !FSkinName.empty()) SendNewSkin(false);
  if (OnActivate && FActive) OnActivate(this);
}

bool TsSkinManager::Loading() const {
  return ComponentState().Contains(csLoading) || ComponentState().Contains(csReading);
}

// ------------------------------------------------------------------ properties

bool TsSkinManager::ExtendedBorders() const {
  if (!FExtendedBordersFlag) return false;
  static const bool layered =
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "UpdateLayeredWindow") != nullptr;
  return layered;
}

void TsSkinManager::SetExtendedBorders(bool Value) {
  if (FExtendedBordersFlag == Value) return;
  FExtendedBordersFlag = Value;
  if (!CommonSkinData.Active) return;
  aSkinChanging = true;
  PackedSource = FileExists(PackFileName());
  CheckShadows();
  try {
    if (PackedSource)
      ReloadPackedSkin();
    else
      ReloadSkin();
  } catch (...) {
    aSkinChanging = false;
    throw;
  }
  aSkinChanging = false;
  if (!Loading()) RepaintForms(true);
}

void TsSkinManager::SetSkinnedPopups(bool Value) { FSkinnedPopups = Value; }

bool TsSkinManager::IsDefault() const { return DefaultManager == this; }

void TsSkinManager::SetIsDefault(bool Value) {
  if (!Value && DefaultManager) return;
  DefaultManager = this;
  if (FActive)
    SendNewSkin(true);
  else
    SendRemoveSkin();
}

void TsSkinManager::SetActive(bool Value) {
  if (FActive == Value) return;
  FActive = Value;
  if (Value) {
    SetSkinName(FSkinName);
    return;
  }
  if (!FSkinName.empty()) {
    if (!Loading()) SendRemoveSkin();
    InitConstantIndexes();
    if (OnDeactivate) OnDeactivate(this);
  }
}

void TsSkinManager::SetCommonSections(TStringList* Value) {
  FCommonSections->Assign(Value);
  for (int i = 0; i < FCommonSections->Count(); ++i) {
    const AnsiString line = FCommonSections->Get(i);
    if (!line.empty() && line[0] != ';') FCommonSections->Put(i, DelChars(line, ' '));
  }
  SetSkinName(FSkinName);
}

void TsSkinManager::SetBrightness(Integer Value) {
  Value = LimitIt(Value, -100, 100);
  if (FBrightness == Value) return;
  FBrightness = Value;
  UpdateCurrentSkin();
}

void TsSkinManager::SetSaturation(Integer Value) {
  if (FSaturation == Value) return;
  FSaturation = Value;
  UpdateCurrentSkin();
}

void TsSkinManager::SetHueOffset(Integer Value) {
  if (FHueOffset == Value) return;
  FHueOffset = Value;
  UpdateCurrentSkin();
}

void TsSkinManager::SetSkinDirectory(const AnsiString& Value) {
  if (FSkinDirectory == Value) return;
  FSkinDirectory = Value;
  CommonSkinData.SkinPath = GetFullSkinDirectory();
  if (OnSkinListChanged) OnSkinListChanged(this);
}

TacSkinInfo TsSkinManager::GetSkinInfo() const {
  if (!CommonSkinData.Active) return "N/A";
  TFormatSettings point = TFormatSettings::Invariant();
  point.DecimalSeparator = '.';
  return FloatToStr(CommonSkinData.Version, point);
}

// ------------------------------------------------------------ the skin in use

void TsSkinManager::SendNewSkin(bool Repaint) {
  if (Loading()) return;
  if (Repaint) LockForms(this);
  CommonSkinData.Active = false;
  InitConstantIndexes();
  TMessage message = MakeMessage(0, 0, reinterpret_cast<LPARAM>(this), 0);
  AppBroadCastS(message);
  CommonSkinData.Active = true;
  if (Repaint) RepaintForms(false);
}

void TsSkinManager::SendRemoveSkin() {
  SkinRemoving = true;
  CommonSkinData.Active = false;
  TMessage message = MakeMessage(0, 0, reinterpret_cast<LPARAM>(this), 0);
  AppBroadCastS(message);
  FreeBitmaps();
  FreeJpegs();
  Sections.clear();
  InvalidateIndexes();
  SkinRemoving = false;
}

void TsSkinManager::RepaintForms(bool AllowAnimation) {
  TMessage message = MakeMessage(0, 0, reinterpret_cast<LPARAM>(this), 0);
  if (Loading()) {
    AppBroadCastS(message);
    return;
  }
  if (AllowAnimation) LockForms(this);
  AppBroadCastS(message);
  UnLockForms(this, !FUpdateLocked);
}

void TsSkinManager::UpdateSkin(bool Repaint) {
  if (FActive) SendNewSkin(Repaint);
}

void TsSkinManager::EndUpdate(bool Repaint, bool AllowAnimation) {
  FUpdateLocked = false;
  if (AllowAnimation) {
    UpdateSkin(Repaint);
    return;
  }
  TacSkinChanging* changing = FAnimEffects->SkinChanging();
  const bool was = changing->Active;
  changing->Active = false;
  UpdateSkin(Repaint);
  changing->Active = was;
}

void TsSkinManager::FreeBitmaps() {
  while (!Masks.empty()) Masks.pop_back();
  MasterBitmap.reset();
  InvalidateIndexes();
}

void TsSkinManager::FreeJpegs() {
  while (!Patterns.empty()) Patterns.pop_back();
  InvalidateIndexes();
}

// ------------------------------------------------------------ skins and sources

AnsiString TsSkinManager::GetFullSkinDirectory() const { return FullSkinDirectory(FSkinDirectory, GetAppPath()); }

AnsiString TsSkinManager::CollectSkinNames(TStrings* List, TacSkinTypes SkinTypes, bool Stored) {
  List->Clear();
  AnsiString first;
  TStringList names;
  if (Stored)
    for (int i = 0; i < FInternalSkins->Count(); ++i) {
      names.Add(FInternalSkins->Items(i)->Name());
      if (first.empty()) first = FInternalSkins->Items(i)->Name();
    }
  const AnsiString dir = GetFullSkinDirectory();
  if (DirectoryExists(dir)) {
    const AnsiString folder = IncludeTrailingPathDelimiter(dir);
    TSearchRec rec;
    if (FindFirst(folder + "*.*", faDirectory, rec) == 0) {
      do {
        AnsiString name;
        if (rec.Name.empty() || rec.Name[0] == '.') continue;
        if (rec.Attr & faDirectory) {
          if (SkinTypes != stPacked && FileExists(folder + rec.Name + PathDelim + "Options.dat")) name = rec.Name;
        } else if (SkinTypes != stUnpacked && ExtractFileExt(rec.Name) == ".asz") {
          // Only the final ".asz" goes, so every listed name loads.
          name = rec.Name.substr(0, rec.Name.size() - 4);
        }
        if (name.empty()) continue;
        names.Add(name);
        if (first.empty()) first = name;
      } while (FindNext(rec) == 0);
      FindClose(rec);
    }
  }
  names.Sort();
  List->Assign(&names);
  return first;
}

AnsiString TsSkinManager::GetSkinNames(TStrings* List, TacSkinTypes SkinTypes) {
  return CollectSkinNames(List, SkinTypes, true);
}

AnsiString TsSkinManager::GetExternalSkinNames(TStrings* List, TacSkinTypes SkinTypes) {
  return CollectSkinNames(List, SkinTypes, false);
}

AnsiString TsSkinManager::GetRandomSkin() {
  TStringList names;
  GetSkinNames(&names, stAllSkins);
  if (names.Count() == 0) return AnsiString();
  static bool seeded = false;
  if (!seeded) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    seeded = true;
  }
  return names[std::rand() % names.Count()];
}

void TsSkinManager::ExtractInternalSkin(const AnsiString& SkinName, const AnsiString& Dir) {
  bool found = false;
  for (int i = 0; i < FInternalSkins->Count(); ++i) {
    if (FInternalSkins->Items(i)->Name() != SkinName) continue;
    found = true;
    if (DirectoryExists(Dir))
      ExtractByIndex(i, Dir);
    else
      ShowError("Directory does not exists.");
  }
  if (!found) ShowError("Skin does not exists.");
}

void TsSkinManager::ExtractByIndex(Integer Index, const AnsiString& Dir) {
  const AnsiString d = NormalDir(Dir);
  if (!DirectoryExists(d) && !ForceDirectories(d)) {
    ShowError("Directory " + d + " creation error.");
    return;
  }
  TsStoredSkin* item = FInternalSkins->Items(Index);
  if (item->DataStream()->Size() > 0) item->DataStream()->SaveToFile(d + item->Name() + " extracted.asz");
}

// ------------------------------------------------------------------ publishing

DK_PUBLISH(TsSkinManager) {
  P.Property("Effects", &TsSkinManager::Effects);
  P.Property("ExtendedBorders", &TsSkinManager::ExtendedBorders, &TsSkinManager::SetExtendedBorders).Default(false);
  P.Property("SkinnedPopups", &TsSkinManager::SkinnedPopups, &TsSkinManager::SetSkinnedPopups).Default(true);
  P.Property("AnimEffects", &TsSkinManager::AnimEffects);
  P.Property("ButtonsOptions", &TsSkinManager::ButtonsOptions);
  P.Property("IsDefault", &TsSkinManager::IsDefault, &TsSkinManager::SetIsDefault).Default(true);
  P.Property("Active", &TsSkinManager::Active, &TsSkinManager::SetActive).Default(true);
  P.Property("CommonSections", &TsSkinManager::CommonSections, &TsSkinManager::SetCommonSections);
  P.Property("Brightness", &TsSkinManager::Brightness, &TsSkinManager::SetBrightness).Default(0);
  P.Property("Saturation", &TsSkinManager::Saturation, &TsSkinManager::SetSaturation).Default(0);
  P.Property("HueOffset", &TsSkinManager::HueOffset, &TsSkinManager::SetHueOffset).Default(0);
  P.Property("InternalSkins", &TsSkinManager::InternalSkins, &TsSkinManager::SetInternalSkins);
  P.Property("LabelsOptions", &TsSkinManager::LabelsOptions);
  P.Property("MenuSupport", &TsSkinManager::MenuSupport);
  P.Property("Options", &TsSkinManager::Options);
  P.Property("ScrollsOptions", &TsSkinManager::ScrollsOptions);
  P.Property("SkinDirectory", &TsSkinManager::SkinDirectory, &TsSkinManager::SetSkinDirectory);
  P.Property("SkinName", &TsSkinManager::SkinName, &TsSkinManager::SetSkinName);
  P.Property("SkinInfo", &TsSkinManager::GetSkinInfo, &TsSkinManager::SetSkinInfo);
  P.Property("SkinningRules", &TsSkinManager::SkinningRules, &TsSkinManager::SetSkinningRules)
      .Default(TacSkinningRules{srStdForms, srStdDialogs, srThirdParty});
  P.Property("ThirdParty", &TsSkinManager::ThirdParty);
  P.Property("Version", &TsSkinManager::GetVersion, &TsSkinManager::SetVersion).Stored(false);
  P.Property("OnActivate", &TsSkinManager::OnActivate);
  P.Property("OnAfterChange", &TsSkinManager::OnAfterChange);
  P.Property("OnBeforeChange", &TsSkinManager::OnBeforeChange);
  P.Property("OnDeactivate", &TsSkinManager::OnDeactivate);
  P.Property("OnSkinListChanged", &TsSkinManager::OnSkinListChanged);
  P.Property("OnSkinLoading", &TsSkinManager::OnSkinLoading);
}

namespace {
// The unit's start: the platform family.
struct TManagerStart {
  TManagerStart() { IsNT = IsNTFamily(); }
} start;
}  // namespace
