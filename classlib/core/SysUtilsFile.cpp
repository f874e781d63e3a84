// Paths, files, directory search, locale settings and the OS error helpers.
#include "classlib/core/SysConsts.h"
#include "classlib/core/SysUtils.h"
#include "classlib/core/platform/Platform.h"

// ------------------------------------------------------------ format settings

TFormatSettings TFormatSettings::Invariant() { return TFormatSettings(); }
TFormatSettings TFormatSettings::FromSystem() { return dk_platform::SystemFormatSettings(); }

TFormatSettings FormatSettings = TFormatSettings::FromSystem();

void GetFormatSettings() { FormatSettings = TFormatSettings::FromSystem(); }

// --------------------------------------------------------------- OS errors

Cardinal GetLastOSError() { return dk_platform::LastError(); }
AnsiString SysErrorMessage(Cardinal code) { return dk_platform::ErrorMessage(code); }

// ------------------------------------------------------------------- paths

namespace {
#ifdef _WIN32
const AnsiString kDelims = "\\:";
const AnsiString kExtDelims = ".\\:";
#else
const AnsiString kDelims = "/";
const AnsiString kExtDelims = "./";
#endif
}  // namespace

AnsiString ExtractFilePath(const AnsiString& name) { return Copy(name, 1, LastDelimiter(kDelims, name)); }

AnsiString ExtractFileDir(const AnsiString& name) {
  int i = LastDelimiter(kDelims, name);
  if (i > 1 && name[static_cast<std::size_t>(i - 1)] == PathDelim &&
      kDelims.find(name[static_cast<std::size_t>(i - 2)]) == std::string::npos)
    --i;
  return Copy(name, 1, i);
}

AnsiString ExtractFileName(const AnsiString& name) { return Copy(name, LastDelimiter(kDelims, name) + 1); }

AnsiString ExtractFileExt(const AnsiString& name) {
  int i = LastDelimiter(kExtDelims, name);
  if (i > 0 && name[static_cast<std::size_t>(i - 1)] == '.') return Copy(name, i);
  return AnsiString();
}

AnsiString ExtractFileDrive(const AnsiString& name) {
#ifdef _WIN32
  if (name.size() >= 2 && name[1] == ':') return name.substr(0, 2);
  if (name.size() >= 2 && name[0] == '\\' && name[1] == '\\') {
    // \\server\share
    std::size_t p = name.find('\\', 2);
    if (p == std::string::npos) return name;
    std::size_t q = name.find('\\', p + 1);
    return name.substr(0, q == std::string::npos ? name.size() : q);
  }
#endif
  (void)name;
  return AnsiString();
}

AnsiString ChangeFileExt(const AnsiString& name, const AnsiString& ext) {
  int i = LastDelimiter(kExtDelims, name);
  if (i == 0 || name[static_cast<std::size_t>(i - 1)] != '.') i = static_cast<int>(name.size()) + 1;
  return Copy(name, 1, i - 1) + ext;
}

AnsiString IncludeTrailingPathDelimiter(const AnsiString& s) {
  if (!s.empty() && s.back() == PathDelim) return s;
  return s + PathDelim;
}

AnsiString ExcludeTrailingPathDelimiter(const AnsiString& s) {
  if (!s.empty() && s.back() == PathDelim) return s.substr(0, s.size() - 1);
  return s;
}

AnsiString IncludeTrailingBackslash(const AnsiString& s) { return IncludeTrailingPathDelimiter(s); }
AnsiString ExcludeTrailingBackslash(const AnsiString& s) { return ExcludeTrailingPathDelimiter(s); }

AnsiString ExpandFileName(const AnsiString& name) { return dk_platform::ExpandFileName(name); }

// ------------------------------------------------------------------- files

bool FileExists(const AnsiString& name) { return dk_platform::FileExists(name); }
bool DirectoryExists(const AnsiString& name) { return dk_platform::DirectoryExists(name); }
bool CreateDir(const AnsiString& name) { return dk_platform::CreateDir(name); }
bool DeleteFile(const AnsiString& name) { return dk_platform::DeleteFile(name); }
bool RenameFile(const AnsiString& oldName, const AnsiString& newName) {
  return dk_platform::RenameFile(oldName, newName);
}
bool RemoveDir(const AnsiString& name) { return dk_platform::RemoveDir(name); }
AnsiString GetCurrentDir() { return dk_platform::GetCurrentDir(); }
bool SetCurrentDir(const AnsiString& dir) { return dk_platform::SetCurrentDir(dir); }
Int64 FileSizeByName(const AnsiString& name) { return dk_platform::FileSize(name); }
Integer FileGetAttr(const AnsiString& name) { return dk_platform::GetAttr(name); }
Integer FileSetAttr(const AnsiString& name, Integer attr) { return dk_platform::SetAttr(name, attr); }

bool ForceDirectories(const AnsiString& name) {
  if (name.empty()) throw EInOutError(&SCannotCreateDir);
  AnsiString dir = ExcludeTrailingPathDelimiter(name);
  if (dir.empty() || DirectoryExists(dir)) return true;
  AnsiString parent = ExtractFileDir(dir);
  if (parent.empty() || parent == dir) return CreateDir(dir) || DirectoryExists(dir);
  return ForceDirectories(parent) && (CreateDir(dir) || DirectoryExists(dir));
}

// ------------------------------------------------------------------ search

struct TSearchRecData {
  dk_platform::DirIter* Iter = nullptr;
  AnsiString Mask;
};

TSearchRec::~TSearchRec() { FindClose(*this); }

bool MatchesMask(const AnsiString& name, const AnsiString& mask) {
  if (mask == "*" || mask == "*.*") return true;
  // Iterative wildcard match with backtracking to the last '*'.
  std::size_t n = 0, m = 0, starM = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == '?' || AnsiUpperChar(mask[m]) == AnsiUpperChar(name[n]))) {
      ++n, ++m;
    } else if (m < mask.size() && mask[m] == '*') {
      starM = m++;
      starN = n;
    } else if (starM != std::string::npos) {
      m = starM + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  // "name.*" also matches "name" without an extension, as on Windows.
  if (m + 2 == mask.size() && mask[m] == '.' && mask[m + 1] == '*') return true;
  return m == mask.size();
}

namespace {
constexpr Integer kErrorFileNotFound = 2;
constexpr Integer kErrorNoMoreFiles = 18;
constexpr Integer kErrorPathNotFound = 3;

Integer FindMatching(TSearchRec& rec) {
  dk_platform::DirEntry e;
  while (dk_platform::NextEntry(rec.FindHandle->Iter, e)) {
    if (e.Attr & rec.ExcludeAttr) continue;
    if (!MatchesMask(e.Name, rec.FindHandle->Mask)) continue;
    rec.Name = e.Name;
    rec.Size = e.Size;
    rec.Attr = e.Attr;
    rec.Time = e.Time;
    return 0;
  }
  return kErrorNoMoreFiles;
}
}  // namespace

Integer FindFirst(const AnsiString& path, Integer attr, TSearchRec& rec) {
  FindClose(rec);
  rec.ExcludeAttr = ~attr & (faHidden | faSysFile | faVolumeID | faDirectory);
  AnsiString dir = ExtractFilePath(path);
  const AnsiString name = ExtractFileName(path);
  const AnsiString mask = name.empty() ? AnsiString(1, '*') : name;
  dk_platform::DirIter* it = dk_platform::OpenDir(dir);
  if (!it) return kErrorPathNotFound;
  rec.FindHandle = new TSearchRecData{it, mask};
  Integer r = FindMatching(rec);
  if (r != 0) {
    FindClose(rec);
    return kErrorFileNotFound;
  }
  return 0;
}

Integer FindNext(TSearchRec& rec) {
  if (!rec.FindHandle) return kErrorNoMoreFiles;
  return FindMatching(rec);
}

void FindClose(TSearchRec& rec) {
  if (!rec.FindHandle) return;
  dk_platform::CloseDir(rec.FindHandle->Iter);
  delete rec.FindHandle;
  rec.FindHandle = nullptr;
}

std::string FileNameToNative(const AnsiString& name) { return AnsiToUtf8(name); }

AnsiString ParamStr(int index) { return dk_platform::ParamStr(index); }
int ParamCount() { return dk_platform::ParamCount(); }
