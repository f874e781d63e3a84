// The portable part of the skin library's toolbox.
#include "skin/core/acntUtils.h"

#include <memory>

#include "classlib/core/Math.h"

// ------------------------------------------------------- INI text in string lists

void GetIniSections(TStringList* Source, TStringList* Sections) {
  Sections->Clear();
  Sections->SetOwnsObjects(true);
  TStringList* current = nullptr;
  for (int i = 0; i < Source->Count(); ++i) {
    const AnsiString line = Source->Get(i);
    if (line.empty() || line[0] == ';') continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      auto lines = std::make_unique<TStringList>();
      Sections->AddObject(line.substr(1, line.size() - 2), lines.get());
      current = lines.release();
    } else if (current) {
      current->Add(line);
    }
  }
}

namespace {
TStringList* SectionLines(TStringList* Sections, const AnsiString& Section) {
  int i = Sections ? Sections->IndexOf(Section) : -1;
  return i < 0 ? nullptr : dynamic_cast<TStringList*>(Sections->Objects(i));
}
}  // namespace

void GetIniSection(const AnsiString& Section, TStringList* Sections, TStrings* Keys) {
  Keys->BeginUpdate();
  Keys->Clear();
  if (TStringList* lines = SectionLines(Sections, Section))
    for (int i = 0; i < lines->Count(); ++i) Keys->Add(lines->Names(i));
  Keys->EndUpdate();
}

AnsiString ReadIniString(TStringList*, TStringList* Sections, const AnsiString& Section, const AnsiString& Key,
                         const AnsiString& Default) {
  TStringList* lines = SectionLines(Sections, Section);
  if (!lines) return Default;
  int j = lines->IndexOfName(Key);
  if (j < 0) return Default;
  const AnsiString line = lines->Get(j);
  return line.size() > Key.size() + 1 ? line.substr(Key.size() + 1) : AnsiString();
}

Integer ReadIniInteger(TStringList* Lines, TStringList* Sections, const AnsiString& Section, const AnsiString& Key,
                       Integer Default) {
  AnsiString s = ReadIniString(Lines, Sections, Section, Key, "");
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s = "$" + s.substr(2);
  return StrToIntDef(s, Default);
}

// ----------------------------------------------------------- numbers and rectangles

Integer SumTrans(Integer A, Integer B) { return static_cast<Integer>(Round((100.0L - B) * A / 100.0L + B)); }

Int64 HexToInt(const AnsiString& S) {
  if (S.empty()) return 0;
  AnsiString s = UpperCase(S);
  if (s.back() == 'H') s.pop_back();
  UInt64 value = 0;
  // The whole text is read, however long.
  for (char c : s) {
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return 0;
    value = (value << 4) | static_cast<UInt64>(digit);
  }
  return static_cast<Int64>(value);
}

SmallInt GetCents(Extended Value) { return static_cast<SmallInt>(Round(Frac(Value) * 100)); }

double CurRound(double Value) { return static_cast<double>(Round((Value + 0.000001L) * 100)) / 100.0; }

bool IsValidFloat(const AnsiString& S, Extended& Value) {
  for (char c : S)
    if (!((c >= '0' && c <= '9') || c == '+' || c == '-' || c == 'E' || c == 'e' || c == FormatSettings.DecimalSeparator))
      return false;
  return TryStrToFloat(S.substr(0, 63), Value);
}

AnsiString FormatFloatStr(const AnsiString& S, bool ThousandSep) {
  if (!ThousandSep || FormatSettings.ThousandSeparator == '\0') return S;
  size_t begin = !S.empty() && (S[0] == '+' || S[0] == '-') ? 1 : 0;
  size_t end = S.find_first_of(AnsiString(1, FormatSettings.DecimalSeparator) + "Ee", begin);
  if (end == AnsiString::npos) end = S.size();
  AnsiString out = S.substr(0, begin);
  for (size_t i = begin; i < end; ++i) {
    out += S[i];
    size_t left = end - i - 1;
    if (left > 0 && left % 3 == 0) out += FormatSettings.ThousandSeparator;
  }
  return out + S.substr(end);
}

bool RectIsVisible(const TRect& R1, const TRect& R2) {
  if (R1.Top >= R2.Bottom || R1.Left >= R2.Right || R2.Left >= R1.Right || R2.Top >= R1.Bottom) return false;
  return !R2.IsEmpty();
}

bool RectInRect(const TRect& Outer, const TRect& Inner) {
  auto in = [&](Integer x, Integer y) { return x >= Outer.Left && x <= Outer.Right && y >= Outer.Top && y <= Outer.Bottom; };
  return in(Inner.Left, Inner.Top) && in(Inner.Right, Inner.Bottom);
}

TRect RectsAnd(const TRect& R1, const TRect& R2) {
  return TRect{Maxi(R1.Left, R2.Left), Maxi(R1.Top, R2.Top), Mini(R1.Right, R2.Right), Mini(R1.Bottom, R2.Bottom)};
}

// ------------------------------------------------------------ words and strings

Integer WordPosition(Integer N, const AnsiString& S, const TacCharSet& Delims) {
  Integer count = 0;
  size_t i = 0;
  while (i < S.size()) {
    while (i < S.size() && Delims.Contains(S[i])) ++i;
    if (i >= S.size()) break;
    if (++count == N) return static_cast<Integer>(i + 1);
    while (i < S.size() && !Delims.Contains(S[i])) ++i;
  }
  return 0;
}

AnsiString ExtractWord(Integer N, const AnsiString& S, const TacCharSet& Delims) {
  Integer p = WordPosition(N, S, Delims);
  if (p == 0) return AnsiString();
  size_t b = static_cast<size_t>(p - 1), e = b;
  while (e < S.size() && !Delims.Contains(S[e])) ++e;
  return S.substr(b, e - b);
}

Integer WordCount(const AnsiString& S, const TacCharSet& Delims) {
  Integer count = 0;
  bool inWord = false;
  for (char c : S) {
    bool delim = Delims.Contains(c);
    if (!delim && !inWord) ++count;
    inWord = !delim;
  }
  return count;
}

Integer GetWordNumber(const AnsiString& W, const AnsiString& S, const TacCharSet& Delims) {
  Integer n = WordCount(S, Delims);
  for (Integer i = 1; i <= n; ++i)
    if (ExtractWord(i, S, Delims) == W) return i;
  return -1;
}

bool IsWordPresent(const AnsiString& W, const AnsiString& S, const TacCharSet& Delims) {
  return GetWordNumber(W, S, Delims) > 0;
}

AnsiString AnsiProperCase(const AnsiString& S, const TacCharSet& Delims) {
  AnsiString out = AnsiLowerCase(S);
  bool start = true;
  for (char& c : out) {
    if (Delims.Contains(c)) {
      start = true;
    } else {
      if (start) c = AnsiUpperChar(c);
      start = false;
    }
  }
  return out;
}

AnsiString MakeStr(char C, Integer N) { return N > 0 ? AnsiString(static_cast<size_t>(N), C) : AnsiString(); }

AnsiString AddChar(char C, const AnsiString& S, Integer N) {
  return static_cast<Integer>(S.size()) >= N ? S : MakeStr(C, N - static_cast<Integer>(S.size())) + S;
}

AnsiString AddCharR(char C, const AnsiString& S, Integer N) {
  return static_cast<Integer>(S.size()) >= N ? S : S + MakeStr(C, N - static_cast<Integer>(S.size()));
}

AnsiString DelBSpace(const AnsiString& S) {
  size_t b = S.find_first_not_of(' ');
  return b == AnsiString::npos ? AnsiString() : S.substr(b);
}

AnsiString DelESpace(const AnsiString& S) {
  size_t e = S.find_last_not_of(' ');
  return e == AnsiString::npos ? AnsiString() : S.substr(0, e + 1);
}

AnsiString DelRSpace(const AnsiString& S) { return DelBSpace(DelESpace(S)); }

AnsiString DelChars(const AnsiString& S, char C) {
  AnsiString out;
  for (char c : S)
    if (c != C) out += c;
  return out;
}

AnsiString ReplaceStr(const AnsiString& S, const AnsiString& Search, const AnsiString& Replace) {
  if (Search.empty()) return S;
  AnsiString out;
  size_t i = 0;
  for (size_t f; (f = S.find(Search, i)) != AnsiString::npos; i = f + Search.size()) out += S.substr(i, f - i) + Replace;
  return out + S.substr(i);
}

AnsiString ExtractSubStr(const AnsiString& S, Integer& Pos, const TacCharSet& Delims) {
  if (Pos < 1) Pos = 1;
  size_t b = static_cast<size_t>(Pos - 1), e = b;
  while (e < S.size() && !Delims.Contains(S[e])) ++e;
  AnsiString out = b < S.size() ? S.substr(b, e - b) : AnsiString();
  Pos = static_cast<Integer>(e < S.size() ? e + 2 : S.size() + 1);
  return out;
}

bool IsEmptyStr(const AnsiString& S, const TacCharSet& EmptyChars) {
  for (char c : S)
    if (!EmptyChars.Contains(c)) return false;
  return true;
}

bool SubStrInclude(const AnsiString& SubStr, const AnsiString& S, bool IgnoreCase) {
  if (IgnoreCase) return AnsiUpperCase(S).find(AnsiUpperCase(SubStr)) != AnsiString::npos;
  return S.find(SubStr) != AnsiString::npos;
}

AnsiString CorrectString(const AnsiString& S) {
  AnsiString out = S;
  for (char& c : out) {
    if (c == '\'') c = '`';
    else if (c == '?') c = 'I';
    else if (c == '\r' || c == '\n') c = ' ';
  }
  return Trim(out);
}

// ------------------------------------------------------------ files and folders

AnsiString NormalDir(const AnsiString& Dir) {
  if (Dir.empty()) return Dir;
  if (Dir.back() == '\\') return Dir;
  if (Dir.back() == '/') return Dir.substr(0, Dir.size() - 1) + "\\";
  if (Dir.size() == 1) return Dir + ":\\";
  return Dir + "\\";
}

bool acDirExists(const AnsiString& Name) {
  Integer attr = FileGetAttr(Name);
  return attr != -1 && (attr & faDirectory) != 0;
}

bool ValidFileName(const AnsiString& Name) {
  return !Name.empty() && Name.find_first_of("<>\"|*?/") == AnsiString::npos;
}

Int64 GetFileSize(const AnsiString& Name) {
  TSearchRec rec;
  if (FindFirst(ExpandFileName(Name), faAnyFile, rec) != 0) return -1;
  Int64 size = rec.Size;
  FindClose(rec);
  return size;
}

namespace {
// The names of the entries of Dir that match Mask and do not begin with ".".
std::vector<AnsiString> EntriesOf(const AnsiString& Dir, const AnsiString& Mask) {
  std::vector<AnsiString> names;
  TSearchRec rec;
  if (FindFirst(IncludeTrailingPathDelimiter(Dir) + Mask, faAnyFile, rec) == 0) {
    do {
      if (!rec.Name.empty() && rec.Name[0] != '.') names.push_back(rec.Name);
    } while (FindNext(rec) == 0);
    FindClose(rec);
  }
  return names;
}
}  // namespace

bool CopyFiles(const AnsiString& Mask, const AnsiString& SrcDir, const AnsiString& DstDir) {
  if (!DirectoryExists(DstDir)) ForceDirectories(DstDir);
  bool result = true;
  for (const AnsiString& name : EntriesOf(SrcDir, Mask))
    result = acCopyFile(IncludeTrailingPathDelimiter(SrcDir) + name, IncludeTrailingPathDelimiter(DstDir) + name, false);
  return result;
}

bool MoveFiles(const AnsiString& Mask, const AnsiString& SrcDir, const AnsiString& DstDir) {
  if (!DirectoryExists(DstDir)) CreateDir(DstDir);
  bool result = true;
  for (const AnsiString& name : EntriesOf(SrcDir, Mask)) {
    const AnsiString target = IncludeTrailingPathDelimiter(DstDir) + name;
    if (FileExists(target)) DeleteFile(target);
    if (!RenameFile(IncludeTrailingPathDelimiter(SrcDir) + name, target)) result = false;
  }
  return result;
}

bool ClearDir(const AnsiString& Dir, bool DelDir) {
  if (!DirectoryExists(Dir)) return false;
  bool result = true;
  for (const AnsiString& name : EntriesOf(Dir, "*.*")) {
    const AnsiString path = IncludeTrailingPathDelimiter(Dir) + name;
    Integer attr = FileGetAttr(path);
    if (attr != -1 && (attr & faDirectory)) {
      result = ClearDir(path, DelDir) && result;
    } else {
      if (attr != -1 && (attr & faReadOnly)) FileSetAttr(path, faArchive);
      result = DeleteFile(path) && result;
    }
  }
  if (DelDir && result) {
    bool driveRoot = Dir.size() == 2 && Dir[1] == ':';
    if (!driveRoot) result = RemoveDir(Dir);
  }
  return result;
}

void GetDirs(const AnsiString& Path, TStrings* List) {
  List->Clear();
  TSearchRec rec;
  if (FindFirst(IncludeTrailingPathDelimiter(Path) + "*", faDirectory, rec) == 0) {
    do {
      if (!rec.Name.empty() && rec.Name[0] != '.' && (rec.Attr & faDirectory)) List->Add(rec.Name);
    } while (FindNext(rec) == 0);
    FindClose(rec);
  }
}

bool acCreateDir(const AnsiString& Name) { return CreateDir(Name); }
bool acRemoveDir(const AnsiString& Name) { return RemoveDir(Name); }
bool acSetCurrentDir(const AnsiString& Name) { return SetCurrentDir(Name); }
bool acDeleteFile(const AnsiString& Name) { return DeleteFile(Name); }
AnsiString acGetCurrentDir() { return GetCurrentDir(); }

bool acCopyFile(const AnsiString& Src, const AnsiString& Dst, bool FailIfExists) {
  if (FailIfExists && FileExists(Dst)) return false;
  try {
    TFileStream in(Src, fmOpenRead | fmShareDenyWrite);
    TFileStream out(Dst, fmCreate);
    if (in.Size() > 0) out.CopyFrom(&in, 0);
    return true;
  } catch (const Exception&) {
    return false;
  }
}

Integer acFileSetAttr(const AnsiString& Name, Integer Attr) { return FileSetAttr(Name, Attr); }
Integer acFileGetAttr(const AnsiString& Name) { return FileGetAttr(Name); }

AnsiString GetAppPath() { return ExtractFilePath(ParamStr(0)); }

AnsiString GetAppName() { return LowerCase(ChangeFileExt(ExtractFileName(ParamStr(0)), "")); }

// ------------------------------------------------ published properties by name

bool HasProperty(TObject* Obj, const AnsiString& Name) { return Obj && GetPropInfo(Obj, Name) != nullptr; }

TObject* GetObjProp(TObject* Obj, const AnsiString& Name) {
  PPropInfo p = Obj ? GetPropInfo(Obj, Name, TTypeKinds{tkClass}) : nullptr;
  return p ? GetObjectProp(Obj, p) : nullptr;
}

void SetObjProp(TObject* Obj, const AnsiString& Name, TObject* Value) {
  PPropInfo p = Obj ? GetPropInfo(Obj, Name, TTypeKinds{tkClass}) : nullptr;
  if (p && p->Writable()) SetObjectProp(Obj, p, Value);
}

namespace {
const TTypeKinds kOrdinal{tkInteger, tkChar, tkEnumeration, tkSet, tkWChar};
}

Integer GetIntProp(TObject* Obj, const AnsiString& Name) {
  PPropInfo p = Obj ? GetPropInfo(Obj, Name, kOrdinal) : nullptr;
  return p ? static_cast<Integer>(GetOrdProp(Obj, p)) : -1;
}

void SetIntProp(TObject* Obj, const AnsiString& Name, Integer Value) {
  PPropInfo p = Obj ? GetPropInfo(Obj, Name, kOrdinal) : nullptr;
  if (p && p->Writable()) SetOrdProp(Obj, p, Value);
}

bool CheckSetProp(TObject* Obj, const AnsiString& Name, const AnsiString& Element) {
  PPropInfo p = Obj ? GetPropInfo(Obj, Name, TTypeKinds{tkSet}) : nullptr;
  if (!p || !p->PropType->CompType) return false;
  const auto& names = p->PropType->CompType->EnumNames;
  const Int64 value = GetOrdProp(Obj, p);
  for (size_t i = 0; i < names.size() && i < 32; ++i)
    if (names[i] == Element) return (value >> i) & 1;
  return false;
}

bool SetSetPropValue(TObject* Obj, const AnsiString& Name, const AnsiString& Element, bool Include) {
  PPropInfo p = Obj ? GetPropInfo(Obj, Name, TTypeKinds{tkSet}) : nullptr;
  if (!p || !p->Writable()) return false;
  AnsiString s = GetSetProp(Obj, p, false);
  if (Include) {
    if (s.find(Element) != AnsiString::npos) return false;
    SetSetProp(Obj, p, s.empty() ? Element : s + "," + Element);
    return true;
  }
  for (const AnsiString& part : {"," + Element, Element + ",", Element}) {
    size_t at = s.find(part);
    if (at != AnsiString::npos) {
      s.erase(at, part.size());
      SetSetProp(Obj, p, s);
      return true;
    }
  }
  return false;
}
