// Choosing where the skin of a name comes from and loading it: a skin
// folder, a packed skin file or a skin stored in the program. A load builds
// its tables apart and the manager takes them only when it succeeded.
#include <algorithm>

#include "skin/core/acntUtils.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sStyleSimply.h"
#include "skin/forms/sDialogs.h"
#include "skin/graphics/acBmp.h"

namespace {

AnsiString FormatError(const AnsiString& name) {
  return "\"" + name + "\" skin have internal format error. Please update this skin to latest version.";
}

// A convertor owned here, also through the unpacking functions, which free
// it themselves when the data is not a container at all.
class TConvertor {
 public:
  TacSkinConvertor* Get() const { return FPtr; }
  TacSkinConvertor*& Ref() { return FPtr; }
  ~TConvertor() { delete FPtr; }

 private:
  TacSkinConvertor* FPtr = nullptr;
};

bool CommandLineHas(const AnsiString& Switch) {
  for (int i = 1; i <= ParamCount(); ++i)
    if (LowerCase(ParamStr(i)) == Switch) return true;
  return false;
}

}  // namespace

AnsiString TsSkinManager::PackFileName() const { return NormalDir(GetFullSkinDirectory()) + FSkinName + ".asz"; }

void TsSkinManager::SetSkinName(const AnsiString& Value) {
  const AnsiString oldName = FSkinName;
  FSkinName = Value;
  if (!FActive) return;
  if (OnBeforeChange) OnBeforeChange(this);
  if (ExtendedBorders() && !FUpdateLocked && FAnimEffects->SkinChanging()->Active) CopyExForms(this);
  aSkinChanging = true;
  CommonSkinData.Active = false;
  if (FSkinName.size() > 4 && UpperCase(FSkinName.substr(FSkinName.size() - 4)) == ".ASZ")
    FSkinName.resize(FSkinName.size() - 4);
  const bool oldPacked = PackedSource;
  if (UnPackedFirst && DirectoryExists(NormalDir(GetFullSkinDirectory()) + Value))
    PackedSource = false;
  else
    PackedSource = FileExists(PackFileName());
  try {
    if (PackedSource)
      ReloadPackedSkin();
    else
      ReloadSkin();
  } catch (const Exception& e) {
    // The skin in use stays: its name, its source and its tables.
    FSkinName = oldName;
    PackedSource = oldPacked;
    aSkinChanging = false;
    ShowError(e.Message);
  }
  if (FActive) {
    if (!FUpdateLocked) SendNewSkin(true);
    if (!Loading() && OnActivate) OnActivate(this);
  } else {
    SendRemoveSkin();
    if (OnActivate) OnActivate(this);
  }
  aSkinChanging = false;
  if (OnAfterChange) OnAfterChange(this);
}

void TsSkinManager::LoadTables(const TacSkinText& Text, const TacSkinSource& Source, const AnsiString& SkinPath) {
  CheckVersion(SkinTextVersion(Text));
  TacSkinTables fresh;
  fresh.CommonSkinData.SkinPath = SkinPath;
  fresh.CommonSkinData.Active = CommonSkinData.Active;
  TacSkinLoadOptions options;
  options.HueOffset = FHueOffset;
  options.Saturation = FSaturation;
  options.Brightness = FBrightness;
  options.CommonSections = FCommonSections.get();
  options.Owner = this;
  options.SpareMaster = &FSpareMaster;
  TacSkinLoader loader(Text, Source, options, TacSkinServices::Platform(), nullptr);
  loader.Load(fresh);
  SwapTables(fresh);
  FSpareMaster = std::move(fresh.MasterBitmap);
  CheckShadows();
  if (OnSkinLoading) OnSkinLoading(this);
}

void TsSkinManager::ReloadSkin() {
  if (!FActive) return;
  TFlagScope changing(aSkinChanging);
  const AnsiString skinPath = GetFullSkinDirectory() + "\\" + FSkinName + "\\";
  const AnsiString optionsFile = skinPath + "Options.dat";
  TacSkinText text;
  if (acMemSkinFile) {
    text.Load(acMemSkinFile);
    LoadTables(text, TacSkinSource{nullptr, skinPath}, skinPath);
  } else if (FileExists(optionsFile)) {
    PackedSource = false;
    TFileStream file(optionsFile, fmOpenRead | fmShareDenyWrite);
    text.LoadFromStream(&file);
    LoadTables(text, TacSkinSource{nullptr, skinPath}, skinPath);
  } else {
    LoadStoredSkin();
  }
}

void TsSkinManager::LoadStoredSkin() {
  if (FInternalSkins->Count() == 0) {
    FActive = false;
    return;
  }
  int index = FInternalSkins->IndexOf(FSkinName);
  if (index < 0) {
    index = 0;
    FSkinName = FInternalSkins->Items(0)->Name();
  }
  TMemoryStream* data = FInternalSkins->Items(index)->DataStream();
  if (data->Size() == 0) throw Exception(FormatError(FSkinName));
  // The convertor unpacks a copy: the stored skin keeps its own stream.
  TConvertor convertor;
  convertor.Ref() = new TacSkinConvertor();
  convertor.Get()->PackStream = new TMemoryStream();
  data->SetPosition(0);
  convertor.Get()->PackStream->CopyFrom(data, 0);
  ExtractPackedData(convertor.Ref());
  if (!convertor.Get()->Options) throw Exception(FormatError(FSkinName));
  PackedSource = true;
  TacSkinText text;
  convertor.Get()->Options->SetPosition(0);
  text.LoadFromStream(convertor.Get()->Options);
  LoadTables(text, TacSkinSource{convertor.Get(), ""}, "");
}

void TsSkinManager::ReloadPackedSkin() {
  if (!FActive) return;
  TFlagScope changing(aSkinChanging);
  TConvertor convertor;
  LoadSkinFromFile(PackFileName(), convertor.Ref(), true);
  if (!convertor.Get() || !convertor.Get()->Options) throw Exception(FormatError(FSkinName));
  TacSkinText text;
  convertor.Get()->Options->SetPosition(0);
  text.LoadFromStream(convertor.Get()->Options);
  const AnsiString skinPath = GetFullSkinDirectory() + "\\";
  LoadTables(text, TacSkinSource{convertor.Get(), skinPath}, skinPath);
}

void TsSkinManager::UpdateCurrentSkin() {
  if (!FActive || Loading()) return;
  {
    TFlagScope changing(aSkinChanging);
    PackedSource = FileExists(PackFileName());
    if (PackedSource)
      ReloadPackedSkin();
    else
      ReloadSkin();
    if (OnAfterChange) OnAfterChange(this);
  }
  if (!FUpdateLocked) RepaintForms(true);
}

void TsSkinManager::CheckVersion(double Version) {
  if (Version < 7.45) {
    if (CommandLineHas("/actest"))
      ShowMessage("You are using an old version of the \"" + FSkinName + "\" skin. " +
                  "Please, update skins to latest or contact the skin library support for upgrading of existing "
                  "skin.\r\n\r\nThis notification occurs in design-time only for your information and will not "
                  "occur in real-time.");
  } else if (Version > 9.99) {
    const bool dialogs = FSkinningRules.Contains(srStdDialogs);
    FSkinningRules.Exclude(srStdDialogs);
    MessageDlg("This version of the skin have not complete support by used skin library package release.\r\n"
               "Components must be updated up to latest version for using this skin.",
               mtWarning, TMsgDlgButtons{mbOK}, 0);
    if (dialogs) FSkinningRules.Include(srStdDialogs);
  }
}

// ------------------------------------------------------------ image replacement

namespace {

std::unique_ptr<TacBitmap> ReadBitmapFile(const AnsiString& FileName) {
  TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
  TacPixelBuffer pixels;
  ReadBmp(&file, pixels);
  return SkinBitmapOf(pixels);
}

template <class Array, class Match>
int FirstOf(const Array& entries, Match match) {
  for (size_t i = 0; i < entries.size(); ++i)
    if (match(entries[i])) return static_cast<int>(i);
  return -1;
}

// Removes an entry by moving the last one into its place.
template <class Array>
void RemoveAt(Array& entries, int index) {
  if (index < 0) return;
  if (static_cast<size_t>(index) + 1 != entries.size()) entries[static_cast<size_t>(index)] = std::move(entries.back());
  entries.pop_back();
}

}  // namespace

bool ChangeImageInSkin(const AnsiString& SkinSection, const AnsiString& PropName, const AnsiString& FileName,
                       TsSkinManager* Manager) {
  if (!Manager || !Manager->CommonSkinData.Active || SkinSection.empty() || PropName.empty() || !FileExists(FileName))
    return false;
  const AnsiString p = AnsiUpperCase(PropName), s = AnsiUpperCase(SkinSection);
  const bool texture = p == "PATTERN" || p == "HOTPATTERN";
  TsMaskArray& masks = Manager->Masks;
  bool result = false;
  if (!texture) {
    if (FileName.find(".BMP") == AnsiString::npos) return false;
    const int i = FirstOf(masks, [&](const TsMaskData& m) { return m.PropName == p && m.SectionName == s; });
    // An image that lies in the master image has no bitmap to load into.
    if (i < 0 || !masks[static_cast<size_t>(i)].Bitmap) return false;
    masks[static_cast<size_t>(i)].Bitmap = ReadBitmapFile(FileName);
    result = true;
  } else if (AnsiUpperCase(FileName).find(".BMP") != AnsiString::npos) {
    auto same = [&](const auto& m) { return AnsiUpperCase(m.PropName) == p && AnsiUpperCase(m.SectionName) == s; };
    const int i = FirstOf(masks, same);
    if (i >= 0) {
      masks[static_cast<size_t>(i)].Bitmap = ReadBitmapFile(FileName);
    } else {
      TsMaskData md;
      md.Bitmap = ReadBitmapFile(FileName);
      md.SectionName = s;
      md.PropName = p;
      md.OwnerManager = Manager;
      md.SrcRect = Rect(0, 0, BitmapWidth(md.Bitmap.get()), BitmapHeight(md.Bitmap.get()));
      md.Columns = 1;
      md.ImageKind = itisaTexture;
      if (BitmapHeight(md.Bitmap.get()) >= 1) masks.push_back(std::move(md));
      RemoveAt(Manager->Patterns, FirstOf(Manager->Patterns, same));
    }
    result = true;
  } else {
    TacSkinServices services = TacSkinServices::Platform();
    if (!services.LoadJpeg) return false;
    auto same = [&](const auto& m) { return m.PropName == p && m.SectionName == s; };
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    Integer w = 0, h = 0;
    std::unique_ptr<TObject> picture = services.LoadJpeg(&file, w, h);
    const int i = FirstOf(Manager->Patterns, same);
    if (i >= 0) {
      Manager->Patterns[static_cast<size_t>(i)].Picture = std::move(picture);
      result = true;
    } else {
      if (picture && w >= 1) Manager->Patterns.push_back(TsPatternData{std::move(picture), s, p});
      RemoveAt(masks, FirstOf(masks, same));
    }
  }
  Manager->InvalidateIndexes();
  Manager->InitConstantIndexes();
  return result;
}
