// TCustomIniFile's value rules and TMemIniFile.
#include "classlib/core/IniFiles.h"

// -------------------------------------------------------------- TCustomIniFile

Integer TCustomIniFile::ReadInteger(const AnsiString& Section, const AnsiString& Ident, Integer Default) {
  AnsiString s = ReadString(Section, Ident, "");
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s.replace(0, 2, 1, '$');
  return StrToIntDef(s, Default);
}

void TCustomIniFile::WriteInteger(const AnsiString& Section, const AnsiString& Ident, Integer Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default) {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value) {
  WriteString(Section, Ident, Value ? "1" : "0");
}

namespace {
// A value in its text form; the default when the key is missing or the text
// does not parse.
template <class T, class Parse>
T ReadParsed(TCustomIniFile* Ini, const AnsiString& Section, const AnsiString& Ident, T Default, Parse TryParse) {
  AnsiString s = Ini->ReadString(Section, Ident, "");
  T v;
  if (!s.empty() && TryParse(s, v)) return v;
  return Default;
}
}  // namespace

double TCustomIniFile::ReadFloat(const AnsiString& Section, const AnsiString& Ident, double Default) {
  return ReadParsed(this, Section, Ident, Default, [](const AnsiString& s, double& v) { return TryStrToFloat(s, v); });
}

void TCustomIniFile::WriteFloat(const AnsiString& Section, const AnsiString& Ident, double Value) {
  WriteString(Section, Ident, FloatToStr(Value));
}

TDateTime TCustomIniFile::ReadDate(const AnsiString& Section, const AnsiString& Ident, TDateTime Default) {
  return ReadParsed(this, Section, Ident, Default, [](const AnsiString& s, TDateTime& v) { return TryStrToDate(s, v); });
}

void TCustomIniFile::WriteDate(const AnsiString& Section, const AnsiString& Ident, TDateTime Value) {
  WriteString(Section, Ident, DateToStr(Value));
}

TDateTime TCustomIniFile::ReadTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Default) {
  return ReadParsed(this, Section, Ident, Default, [](const AnsiString& s, TDateTime& v) { return TryStrToTime(s, v); });
}

void TCustomIniFile::WriteTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Value) {
  WriteString(Section, Ident, TimeToStr(Value));
}

TDateTime TCustomIniFile::ReadDateTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Default) {
  AnsiString s = Trim(ReadString(Section, Ident, ""));
  if (s.empty()) return Default;
  // A date, a time, or a date and a time separated by a blank.
  TDateTime d, t;
  if (TryStrToDate(s, d)) return d;
  if (TryStrToTime(s, t)) return t;
  std::size_t sp = s.find(' ');
  if (sp != std::string::npos && TryStrToDate(s.substr(0, sp), d) && TryStrToTime(Trim(s.substr(sp + 1)), t))
    return d < 0 ? d - t : d + t;
  return Default;
}

void TCustomIniFile::WriteDateTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Value) {
  WriteString(Section, Ident, DateTimeToStr(Value));
}

bool TCustomIniFile::SectionExists(const AnsiString& Section) {
  TStringList keys;
  ReadSection(Section, &keys);
  return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const AnsiString& Section, const AnsiString& Ident) {
  TStringList keys;
  ReadSection(Section, &keys);
  for (int i = 0; i < keys.Count(); ++i)
    if (AnsiSameText(keys[i], Ident)) return true;
  return false;
}

// ----------------------------------------------------------------- TMemIniFile

TMemIniFile::TMemIniFile(const AnsiString& FileName) : TCustomIniFile(FileName) { LoadValues(); }

TMemIniFile::~TMemIniFile() = default;

void TMemIniFile::LoadValues() {
  if (!FFileName.empty() && FileExists(FFileName)) {
    TStringList list;
    list.LoadFromFile(FFileName);
    SetStrings(&list);
  } else {
    Clear();
  }
}

void TMemIniFile::Clear() { FSections.clear(); }

TMemIniFile::Section* TMemIniFile::FindSection(const AnsiString& Name) {
  for (auto& s : FSections)
    if (FCaseSensitive ? s.Name == Name : AnsiSameText(s.Name, Name)) return &s;
  return nullptr;
}

TMemIniFile::Section& TMemIniFile::AddSection(const AnsiString& Name) {
  auto lines = std::make_unique<TStringList>();
  lines->SetCaseSensitive(FCaseSensitive);
  FSections.push_back(Section{Name, std::move(lines)});
  return FSections.back();
}

void TMemIniFile::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  for (auto& s : FSections) s.Lines->SetCaseSensitive(Value);
}

void TMemIniFile::SetStrings(TStrings* List) {
  Clear();
  Section* current = nullptr;
  for (int i = 0; i < List->Count(); ++i) {
    AnsiString s = Trim(List->Get(i));
    if (s.empty() || s[0] == ';') continue;
    if (s[0] == '[' && s.back() == ']' && s.size() >= 2) {
      current = &AddSection(s.substr(1, s.size() - 2));
      continue;
    }
    if (!current) continue;
    std::size_t eq = s.find('=');
    if (eq != std::string::npos) current->Lines->Add(Trim(s.substr(0, eq)) + "=" + Trim(s.substr(eq + 1)));
    else current->Lines->Add(s);
  }
}

void TMemIniFile::GetStrings(TStrings* List) {
  List->BeginUpdate();
  try {
    List->Clear();
    for (auto& s : FSections) {
      List->Add("[" + s.Name + "]");
      for (int j = 0; j < s.Lines->Count(); ++j) List->Add(s.Lines->Get(j));
      List->Add("");
    }
  } catch (...) {
    List->EndUpdate();
    throw;
  }
  List->EndUpdate();
}

void TMemIniFile::Rename(const AnsiString& FileName, bool Reload) {
  FFileName = FileName;
  if (Reload) LoadValues();
}

AnsiString TMemIniFile::ReadString(const AnsiString& SectionName, const AnsiString& Ident,
                                   const AnsiString& Default) {
  Section* s = FindSection(SectionName);
  if (!s) return Default;
  int i = s->Lines->IndexOfName(Ident);
  if (i < 0) return Default;
  return s->Lines->ValueFromIndex(i);
}

void TMemIniFile::WriteString(const AnsiString& SectionName, const AnsiString& Ident, const AnsiString& Value) {
  Section* s = FindSection(SectionName);
  if (!s) s = &AddSection(SectionName);
  AnsiString line = Ident + "=" + Value;
  int i = s->Lines->IndexOfName(Ident);
  if (i >= 0) s->Lines->Put(i, line);
  else s->Lines->Add(line);
}

void TMemIniFile::ReadSection(const AnsiString& SectionName, TStrings* Strings) {
  Strings->BeginUpdate();
  try {
    Strings->Clear();
    if (Section* s = FindSection(SectionName))
      for (int i = 0; i < s->Lines->Count(); ++i) {
        AnsiString line = s->Lines->Get(i);
        std::size_t eq = line.find('=');
        Strings->Add(eq == std::string::npos ? line : line.substr(0, eq));
      }
  } catch (...) {
    Strings->EndUpdate();
    throw;
  }
  Strings->EndUpdate();
}

void TMemIniFile::ReadSections(TStrings* Strings) {
  Strings->BeginUpdate();
  try {
    Strings->Clear();
    for (auto& s : FSections) Strings->Add(s.Name);
  } catch (...) {
    Strings->EndUpdate();
    throw;
  }
  Strings->EndUpdate();
}

void TMemIniFile::ReadSectionValues(const AnsiString& SectionName, TStrings* Strings) {
  Strings->BeginUpdate();
  try {
    Strings->Clear();
    if (Section* s = FindSection(SectionName)) Strings->AddStrings(s->Lines.get());
  } catch (...) {
    Strings->EndUpdate();
    throw;
  }
  Strings->EndUpdate();
}

void TMemIniFile::EraseSection(const AnsiString& SectionName) {
  for (auto it = FSections.begin(); it != FSections.end(); ++it)
    if (FCaseSensitive ? it->Name == SectionName : AnsiSameText(it->Name, SectionName)) {
      FSections.erase(it);
      return;
    }
}

void TMemIniFile::DeleteKey(const AnsiString& SectionName, const AnsiString& Ident) {
  if (Section* s = FindSection(SectionName)) {
    int i = s->Lines->IndexOfName(Ident);
    if (i >= 0) s->Lines->Delete(i);
  }
}

bool TMemIniFile::ValueExists(const AnsiString& SectionName, const AnsiString& Ident) {
  Section* s = FindSection(SectionName);
  return s && s->Lines->IndexOfName(Ident) >= 0;
}

void TMemIniFile::UpdateFile() {
  TStringList list;
  GetStrings(&list);
  list.SaveToFile(FFileName);
}
