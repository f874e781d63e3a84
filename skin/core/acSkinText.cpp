#include "skin/core/acSkinText.h"

void TacSkinText::Clear() {
  FSections.clear();
  FIndex.clear();
}

void TacSkinText::AddLine(const AnsiString& Line, TSection*& Current, TacSkinReport* Report) {
  const AnsiString s = Trim(Line);
  if (s.empty() || s[0] == ';') return;
  if (s.size() >= 2 && s[0] == '[' && s.back() == ']') {
    AnsiString name = s.substr(1, s.size() - 2);
    if (FIndex.count(name)) {
      if (Report) Report->Add(fkDropped, name, "", "the section is written twice; the first one counts");
      Current = nullptr;
      return;
    }
    FIndex.emplace(name, FSections.size());
    FSections.push_back(TSection{name, {}, {}});
    Current = &FSections.back();
    return;
  }
  if (!Current) return;
  const size_t eq = s.find('=');
  if (eq == AnsiString::npos) {
    if (Report) Report->Add(fkDropped, Current->Name, s, "a line without \"=\"");
    return;
  }
  AnsiString key = Trim(s.substr(0, eq)), value = Trim(s.substr(eq + 1));
  if (Current->Index.count(key)) {
    if (Report) Report->Add(fkDropped, Current->Name, key, "the key is written twice; the first one counts");
    return;
  }
  Current->Index.emplace(key, Current->Keys.size());
  Current->Keys.push_back(TKey{key, value});
}

void TacSkinText::Load(TStrings* Lines, TacSkinReport* Report) {
  Clear();
  TSection* current = nullptr;
  for (int i = 0; i < Lines->Count(); ++i) AddLine(Lines->Get(i), current, Report);
}

void TacSkinText::LoadFromText(const AnsiString& Text, TacSkinReport* Report) {
  Clear();
  TSection* current = nullptr;
  size_t i = 0;
  const size_t n = Text.size();
  while (i < n) {
    size_t start = i;
    while (i < n && Text[i] != '\r' && Text[i] != '\n') ++i;
    AddLine(Text.substr(start, i - start), current, Report);
    if (i < n && Text[i] == '\r') ++i;
    if (i < n && Text[i] == '\n') ++i;
  }
}

void TacSkinText::LoadFromStream(TStream* Stream, TacSkinReport* Report) {
  Int64 size = Stream->Size() - Stream->Position();
  if (size > 0x7FFFFFFF) throw EReadError("Skin text too large");
  AnsiString text(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) Stream->ReadBuffer(text.data(), static_cast<Integer>(size));
  LoadFromText(text, Report);
}

const TacSkinText::TSection* TacSkinText::FindSection(const AnsiString& Name) const {
  auto it = FIndex.find(Name);
  return it == FIndex.end() ? nullptr : &FSections[it->second];
}

const AnsiString* TacSkinText::Find(const AnsiString& Section, const AnsiString& Key) const {
  const TSection* s = FindSection(Section);
  if (!s) return nullptr;
  auto it = s->Index.find(Key);
  return it == s->Index.end() ? nullptr : &s->Keys[it->second].Value;
}

AnsiString TacSkinText::ReadString(const AnsiString& Section, const AnsiString& Key, const AnsiString& Default) const {
  const AnsiString* v = Find(Section, Key);
  return v ? *v : Default;
}

Integer TacSkinText::ReadInteger(const AnsiString& Section, const AnsiString& Key, Integer Default) const {
  const AnsiString* v = Find(Section, Key);
  if (!v) return Default;
  AnsiString s = *v;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s = "$" + s.substr(2);
  return StrToIntDef(s, Default);
}
