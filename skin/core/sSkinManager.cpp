// The skin manager's life, its properties, the state steps of telling the
// program about a skin, and the skins it can list and extract.
#include "skin/core/sSkinManager.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include "classlib/core/Math.h"
#include "skin/core/acntUtils.h"
#include "skin/core/Sthirdparty.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sStyleSimply.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/acDials.h"
#include "skin/forms/sDialogs.h"
#include "skin/forms/sSkinMenus.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/graphics/acGlow.h"
#include "skin/graphics/sGraphUtils.h"
#include "skin/graphics/acPNG.h"
#include "skin/graphics/sAlphaGraph.h"

const int dk_link::sSkinManagerUnit = 0;

TsSkinManager* DefaultManager = nullptr;
bool IsNT = true;
bool UnPackedFirst = false;
TStringList* acMemSkinFile = nullptr;
TacBitmap* DefaultShadowActive = nullptr;
TacBitmap* DefaultShadowInactive = nullptr;

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
}

void TsSkinManager::Construct() {
  inherited::Construct();
  if (!DefaultManager) {
    DefaultManager = this;
    HookApplication(true);
  }
  FMenus = Create<TsSkinableMenus>(this);
}

TsSkinManager::~TsSkinManager() {
  // A control that fails on the removal must not end the program here.
  GuardCallback(this, [this] { SetActive(false); });
  FExtendedBordersFlag = false;
  // The hook of the thread goes with the skin; a manager that brought in a
  // skin without a name still holds it here.
  UnInstallHook();
  if (FMenus) FMenus->Free();
  FMenus = nullptr;
  FreeJpegs();
  FreeBitmaps();
  HookApplication(false);
  if (DefaultManager == this) DefaultManager = nullptr;
  // Whoever still holds this manager forgets it.
  std::vector<TacManagerClient*> clients;
  clients.swap(FClients);
  for (TacManagerClient* client : clients) client->ManagerFreed(this);
  UpdateThirdNames(this);
}

void TsSkinManager::AfterConstruction() {
  inherited::AfterConstruction();
  LoadThirdNames(this, false);
  if (FSkinDirectory.empty()) FSkinDirectory = kDefaultSkinDirectory;
  if (!Loading() && InitDevEx) InitDevEx(FActive && !FSkinName.empty());
}

void TsSkinManager::Loaded() {
  inherited::Loaded();
  if (FSkinDirectory.empty()) FSkinDirectory = kDefaultSkinDirectory;
  if (FMenuSupport->IcoLineSkin.empty()) FMenuSupport->IcoLineSkin = "ICOLINE";
  LoadThirdNames(this, false);
  if (FActive && !FSkinName.empty()) SendNewSkin(false);
  if (!Loading() && InitDevEx) InitDevEx(FActive && !FSkinName.empty());
  if (OnActivate && FActive && !Designing()) OnActivate(this);
}

bool TsSkinManager::Loading() const {
  return ComponentState().Contains(csLoading) || ComponentState().Contains(csReading);
}

void TsSkinManager::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FActiveGraphControl) FActiveGraphControl = nullptr;
}

void TsSkinManager::AddClient(TacManagerClient* Client) {
  if (std::find(FClients.begin(), FClients.end(), Client) == FClients.end()) FClients.push_back(Client);
}

void TsSkinManager::RemoveClient(TacManagerClient* Client) {
  FClients.erase(std::remove(FClients.begin(), FClients.end(), Client), FClients.end());
}

const TacBitmap* TsSkinManager::DefaultShadow(bool Active) const {
  return Active ? DefaultShadowActive : DefaultShadowInactive;
}

// ------------------------------------------------------------------ properties

bool TsSkinManager::ExtendedBorders() const { return FExtendedBordersFlag && acLayered(); }

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

void TsSkinManager::SetSkinnedPopups(bool Value) {
  if (FSkinnedPopups == Value) return;
  FSkinnedPopups = Value;
  if (!Designing() && Value && FMenus && IsDefault()) FMenus->UpdateMenus();
}

bool TsSkinManager::IsDefault() const { return DefaultManager == this; }

void TsSkinManager::SetIsDefault(bool Value) {
  if (!Value && DefaultManager) return;
  // The hooks belong to the default manager: they move with the role, so
  // that no manager keeps one it no longer answers for.
  if (TsSkinManager* old = DefaultManager; old && old != this) {
    old->UnInstallHook();
    old->HookApplication(false);
  }
  DefaultManager = this;
  HookApplication(true);
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

void TsSkinManager::Broadcast(TMessage& Message, bool Removing) {
  if (!Designing()) {
    AppBroadCastS(Message);
    return;
  }
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* form = Screen->Forms(i);
    const AnsiString& name = form->Name();
    if (name.empty() || name == "AppBuilder" || name == "PropertyInspector") continue;
    if (Removing && (name.find("EditWindow_") != AnsiString::npos || name.find("DockSite") != AnsiString::npos))
      continue;
    AlphaBroadCast(form, Message);
    SendToHooked(Message);
  }
}

void TsSkinManager::SendNewSkin(bool Repaint) {
  if (Loading()) return;
  ClearGlows(false);
  // The forms stay frozen until the repaint below releases them, or, when a
  // control's handler fails on the way, until this function is left.
  TFormsLock lock(this, !Designing() && Repaint);
  if (FMenus) FMenus->SkinBorderWidth = -1;
  CommonSkinData.Active = false;
  {
    TFlagScope restricted(RestrictDrawing);
    InitConstantIndexes();
    TMessage message = MakeMessage(SM_ALPHACMD, AlphaCmdParam(ACMD_SKIN_LOADED), reinterpret_cast<LPARAM>(this), 0);
    Broadcast(message, false);
  }
  CommonSkinData.Active = true;
  if (IsDefault() && !FHookInstalled) InstallHook();
  if (InitDevEx) InitDevEx(true);
  if (RefreshDevEx) RefreshDevEx();
  if (Repaint) RepaintForms(false);
  lock.Dismiss();
}

void TsSkinManager::SendRemoveSkin() {
  if (IsDefault() && InitDevEx) InitDevEx(false);
  {
    TFlagScope removing(SkinRemoving);
    ClearGlows(false);
    UnInstallHook();
    CommonSkinData.Active = false;
    TMessage message = MakeMessage(SM_ALPHACMD, AlphaCmdParam(ACMD_SKIN_UNLOADED), reinterpret_cast<LPARAM>(this), 0);
    Broadcast(message, true);
    FreeBitmaps();
    FreeJpegs();
    Sections.clear();
    InvalidateIndexes();
  }
}

void TsSkinManager::RepaintForms(bool AllowAnimation) {
  TMessage message = MakeMessage(SM_ALPHACMD, AlphaCmdParam(ACMD_STOP_FADE), reinterpret_cast<LPARAM>(this), 0);
  if (!Designing()) AppBroadCastS(message);
  message.WParam = AlphaCmdParam(ACMD_SKIN_REPAINT);
  if (Designing()) {
    Broadcast(message, false);
  } else if (Loading()) {
    AppBroadCastS(message);
  } else {
    TFormsLock lock(this, AllowAnimation);
    AppBroadCastS(message);
    // Also releases forms a caller froze before (SendNewSkin).
    lock.Dismiss();
    UnLockForms(this, !FUpdateLocked);
  }
  if (auto* magnifier = dynamic_cast<TWinControl*>(acMagnForm); magnifier && magnifier->HandleAllocated())
    SendMessageW(magnifier->WindowHandle(), message.Msg, message.WParam, message.LParam);
  if (!acSupportedList) return;
  for (int i = 0; i < acSupportedList->Count(); ++i) {
    auto* item = static_cast<TacSkinnedWindow*>(acSupportedList->Items(i));
    const HWND wnd = item ? item->WindowHandle() : nullptr;
    if (wnd && IsWindowVisible(wnd))
      RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
}

void TsSkinManager::UpdateSkinSection(const AnsiString& SectionName) {
  const AnsiString name = UpperCase(SectionName);
  TMessage message =
      MakeMessage(SM_ALPHACMD, AlphaCmdParam(ACMD_SECTION_CHANGED), reinterpret_cast<LPARAM>(name.c_str()), 0);
  if (!Designing()) {
    AppBroadCastS(message);
    return;
  }
  for (int i = 0; i < Screen->FormCount(); ++i) AlphaBroadCast(Screen->Forms(i), message);
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
  FSpareMaster.reset();
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

bool ShowVersionRequested(const std::vector<AnsiString>& Args) {
  for (const AnsiString& arg : Args)
    if (LowerCase(arg) == "/acver") return true;
  return false;
}

namespace {

const char kVersionText[] = "Skin library v9.12";

// A template picture of the program's resources (nullptr when it has none).
TacBitmap* LoadTemplate(const wchar_t* Name) {
  HMODULE module = GetModuleHandleW(nullptr);
  if (!FindResourceW(module, Name, reinterpret_cast<LPCWSTR>(RT_RCDATA))) return nullptr;
  try {
    TResourceStream stream(reinterpret_cast<std::uintptr_t>(module), winapi::A(Name),
                           reinterpret_cast<const char*>(RT_RCDATA));
    auto picture = std::make_unique<TPNGGraphic>();
    picture->LoadFromStream(&stream);
    UpdateTransPixels(picture.get());
    return picture.release();
  } catch (const Exception&) {
    return nullptr;
  }
}

// The unit's start: the platform family, the shadow templates and the
// version the command line asks for; its end frees the templates.
struct TManagerStart {
  TManagerStart() {
    IsNT = IsNTFamily();
    DefaultShadowActive = LoadTemplate(L"acSHDA");
    DefaultShadowInactive = LoadTemplate(L"acSHDI");
    std::vector<AnsiString> args;
    for (int i = 1; i <= ParamCount(); ++i) args.push_back(ParamStr(i));
    // At start no form may exist yet: the system's message box shows it.
    if (ShowVersionRequested(args))
      MessageBoxW(nullptr, winapi::W(kVersionText).c_str(), winapi::W(GetAppName()).c_str(), MB_OK);
  }
  ~TManagerStart() {
    delete DefaultShadowActive;
    delete DefaultShadowInactive;
    DefaultShadowActive = DefaultShadowInactive = nullptr;
  }
} start;
}  // namespace
