// The loader's frame: its sources of files, the version of a text and the
// order of the passes.
#include "skin/core/acSkinLoad.h"

namespace {
// A read-only stream over a block another object owns.
class TBlockStream : public TCustomMemoryStream {
  DK_CLASS(TBlockStream, TCustomMemoryStream)
 public:
  TBlockStream(void* data, Int64 size) { SetPointer(data, size); }
};

// Whether a file name names its own place (a drive, or a root elsewhere).
bool Absolute(const AnsiString& name) {
  return name.find(':') != AnsiString::npos || (PathDelim == '/' && !name.empty() && name[0] == '/');
}
}  // namespace

AnsiString FullSkinDirectory(const AnsiString& SkinDirectory, const AnsiString& AppPath) {
  const AnsiString& d = SkinDirectory;
  if (d.compare(0, 2, "..") == 0) {
    AnsiString parent = AppPath.empty() ? AppPath : AppPath.substr(0, AppPath.size() - 1);
    const size_t cut = parent.find_last_of("/\\");
    parent = cut == AnsiString::npos ? AnsiString() : parent.substr(0, cut + 1);
    return parent + (d.size() > 3 ? d.substr(3) : AnsiString());
  }
  if (d.compare(0, 2, ".\\") == 0 || d.compare(0, 2, "./") == 0) return AppPath + d.substr(2);
  if (d == ".") return AppPath;
  if (d.find(':') == AnsiString::npos && d.find("\\\\") == AnsiString::npos) return AppPath + d;
  return d;
}

double SkinTextVersion(const TacSkinText& Text) {
  // Skins write their version with a point whatever the program's own
  // decimal separator is.
  TFormatSettings point = TFormatSettings::Invariant();
  point.DecimalSeparator = '.';
  double version = 0;
  const AnsiString* v = Text.Find("GLOBALINFO", "VERSION");
  if (!v || !TryStrToFloat(*v, version, point)) return 0;
  return version;
}

TacSkinLoader::TacSkinLoader(const TacSkinText& Text, const TacSkinSource& Source, const TacSkinLoadOptions& Options,
                             const TacSkinServices& Services, TacSkinReport* Report)
    : FText(Text), FSource(Source), FOptions(Options), FServices(Services), FReport(Report) {
  if (FSource.Convertor) {
    const TacImageItems& items = FSource.Convertor->ImageItems;
    for (size_t i = 0; i < items.size(); ++i) FPackedEntries.emplace(AnsiUpperCase(items[i].FileName), i);
  }
}

void TacSkinLoader::Report(TacFindingKind Kind, const AnsiString& Section, const AnsiString& Key,
                           const AnsiString& Reason) const {
  if (FReport) FReport->Add(Kind, Section, Key, Reason);
}

std::unique_ptr<TStream> TacSkinLoader::OpenFile(const AnsiString& PackedName, const AnsiString& FileName) const {
  if (FSource.Convertor) {
    auto it = FPackedEntries.find(PackedName);
    if (it == FPackedEntries.end()) return nullptr;
    TMemoryStream* data = FSource.Convertor->ImageItems[it->second].Data.get();
    return std::make_unique<TBlockStream>(data->Memory(), data->Size());
  }
  return OpenPlainFile(FileName);
}

std::unique_ptr<TStream> TacSkinLoader::OpenPlainFile(const AnsiString& FileName) const {
  const AnsiString path = Absolute(FileName) ? FileName : FSource.SkinPath + FileName;
  if (FileName.empty() || !FileExists(path)) return nullptr;
  return std::make_unique<TFileStream>(path, fmOpenRead | fmShareDenyWrite);
}

void TacSkinLoader::Load(TacSkinTables& Tables) {
  LoadAllMasks(Tables);
  LoadAllPatterns(Tables);
  LoadAllGeneralData(Tables);
  Tables.InitConstantIndexes();
}
