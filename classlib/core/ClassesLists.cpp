// TList, TStrings and TStringList.
#include <algorithm>
#include <memory>

#include "classlib/core/Classes.h"
#include "classlib/core/SysConsts.h"

// ---------------------------------------------------------------------- TList

TList::~TList() { Clear(); }

void TList::Error(int Index) { throw EListError(&SListIndexError, {Index}); }

void TList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) Error(Index);
}

int TList::Add(void* Item) {
  FList.push_back(Item);
  if (Item) Notify(Item, lnAdded);
  return Count() - 1;
}

void TList::Insert(int Index, void* Item) {
  if (Index < 0 || Index > Count()) Error(Index);
  FList.insert(FList.begin() + Index, Item);
  if (Item) Notify(Item, lnAdded);
}

void TList::Delete(int Index) {
  CheckIndex(Index);
  void* p = FList[static_cast<std::size_t>(Index)];
  FList.erase(FList.begin() + Index);
  if (p) Notify(p, lnDeleted);
}

int TList::Remove(void* Item) {
  int i = IndexOf(Item);
  if (i >= 0) Delete(i);
  return i;
}

void* TList::Extract(void* Item) {
  int i = IndexOf(Item);
  if (i < 0) return nullptr;
  FList.erase(FList.begin() + i);
  Notify(Item, lnExtracted);
  return Item;
}

int TList::IndexOf(void* Item) const {
  auto it = std::find(FList.begin(), FList.end(), Item);
  return it == FList.end() ? -1 : static_cast<int>(it - FList.begin());
}

void TList::Clear() {
  while (!FList.empty()) Delete(Count() - 1);
  FList.shrink_to_fit();
}

void TList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  std::swap(FList[static_cast<std::size_t>(Index1)], FList[static_cast<std::size_t>(Index2)]);
}

void TList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  void* p = FList[static_cast<std::size_t>(CurIndex)];
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, p);
}

void TList::Pack() { FList.erase(std::remove(FList.begin(), FList.end(), nullptr), FList.end()); }

void TList::Sort(TListSortCompare Compare) {
  if (!Compare) return;
  std::stable_sort(FList.begin(), FList.end(), [Compare](void* a, void* b) { return Compare(a, b) < 0; });
}

void* TList::First() const {
  if (FList.empty()) Error(0);
  return FList.front();
}

void* TList::Last() const {
  if (FList.empty()) Error(-1);
  return FList.back();
}

void TList::SetCount(int NewCount) {
  if (NewCount < 0) throw EListError(&SListCountError, {NewCount});
  if (NewCount < Count()) {
    while (Count() > NewCount) Delete(Count() - 1);
  } else {
    FList.resize(static_cast<std::size_t>(NewCount), nullptr);
  }
}

void TList::SetCapacity(int NewCapacity) {
  if (NewCapacity < Count()) throw EListError(&SListCapacityError, {NewCapacity});
  FList.reserve(static_cast<std::size_t>(NewCapacity));
}

void* TList::Items(int Index) const {
  CheckIndex(Index);
  return FList[static_cast<std::size_t>(Index)];
}

void TList::SetItems(int Index, void* Item) {
  CheckIndex(Index);
  void* old = FList[static_cast<std::size_t>(Index)];
  if (old == Item) return;
  FList[static_cast<std::size_t>(Index)] = Item;
  if (old) Notify(old, lnDeleted);
  if (Item) Notify(Item, lnAdded);
}

// ------------------------------------------------------------------ TStrings

void TStrings::Error(PResStringRec Msg, int Data) const { throw EStringListError(Msg, {Data}); }

void TStrings::Put(int Index, const AnsiString& S) {
  TObject* obj = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, obj);
}

int TStrings::Add(const AnsiString& S) {
  int r = GetCount();
  Insert(r, S);
  return r;
}

int TStrings::AddObject(const AnsiString& S, TObject* AObject) {
  int r = Add(S);
  PutObject(r, AObject);
  return r;
}

void TStrings::InsertObject(int Index, const AnsiString& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

void TStrings::AddStrings(TStrings* Strings) {
  if (!Strings) return;
  BeginUpdate();
  try {
    // Copy first: Strings may be this list.
    std::vector<std::pair<AnsiString, TObject*>> items;
    for (int i = 0; i < Strings->Count(); ++i) items.emplace_back(Strings->Get(i), Strings->GetObject(i));
    for (auto& it : items) AddObject(it.first, it.second);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Exchange(int Index1, int Index2) {
  BeginUpdate();
  try {
    AnsiString s = Get(Index1);
    TObject* o = GetObject(Index1);
    Put(Index1, Get(Index2));
    PutObject(Index1, GetObject(Index2));
    Put(Index2, s);
    PutObject(Index2, o);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  BeginUpdate();
  try {
    AnsiString s = Get(CurIndex);
    TObject* o = GetObject(CurIndex);
    if (NewIndex < 0 || NewIndex >= GetCount()) Error(&SListIndexError, NewIndex);
    Delete(CurIndex);
    InsertObject(NewIndex, s, o);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TStrings::CompareStrings(const AnsiString& S1, const AnsiString& S2) const { return AnsiCompareText(S1, S2); }

int TStrings::IndexOf(const AnsiString& S) const {
  for (int i = 0; i < GetCount(); ++i)
    if (CompareStrings(Get(i), S) == 0) return i;
  return -1;
}

int TStrings::IndexOfName(const AnsiString& Name) const {
  for (int i = 0; i < GetCount(); ++i) {
    AnsiString s = Get(i);
    std::size_t p = s.find(FNameValueSeparator);
    if (p != std::string::npos && CompareStrings(s.substr(0, p), Name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(TObject* AObject) const {
  for (int i = 0; i < GetCount(); ++i)
    if (GetObject(i) == AObject) return i;
  return -1;
}

bool TStrings::Equals(TStrings* Strings) const {
  if (!Strings || Strings->Count() != GetCount()) return false;
  for (int i = 0; i < GetCount(); ++i)
    if (Get(i) != Strings->Get(i)) return false;
  return true;
}

void TStrings::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TStrings*>(Source)) {
    if (src == this) return;
    BeginUpdate();
    try {
      Clear();
      FDelimiter = src->FDelimiter;
      FQuoteChar = src->FQuoteChar;
      FNameValueSeparator = src->FNameValueSeparator;
      FStrictDelimiter = src->FStrictDelimiter;
      AddStrings(src);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(Source);
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount <= 0) return;
  --FUpdateCount;
  if (FUpdateCount == 0) SetUpdateState(false);
}

AnsiString TStrings::Text() const {
  AnsiString r;
  for (int i = 0; i < GetCount(); ++i) {
    r += Get(i);
    r += "\r\n";
  }
  return r;
}

void TStrings::SetText(const AnsiString& Value) {
  BeginUpdate();
  try {
    Clear();
    std::size_t i = 0, n = Value.size();
    while (i < n) {
      std::size_t start = i;
      while (i < n && Value[i] != '\r' && Value[i] != '\n') ++i;
      Add(Value.substr(start, i - start));
      if (i < n && Value[i] == '\r') ++i;
      if (i < n && Value[i] == '\n') ++i;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

AnsiString TStrings::DelimitedText() const {
  int count = GetCount();
  if (count == 1 && Get(0).empty()) return AnsiString(2, FQuoteChar);
  AnsiString r;
  for (int i = 0; i < count; ++i) {
    AnsiString s = Get(i);
    bool quote = false;
    if (!FStrictDelimiter) {
      for (char c : s)
        if (static_cast<unsigned char>(c) <= ' ' || c == FQuoteChar || c == FDelimiter) quote = true;
    } else {
      for (char c : s)
        if (c == FQuoteChar || c == FDelimiter) quote = true;
    }
    if (i > 0) r.push_back(FDelimiter);
    r += quote ? AnsiQuotedStr(s, FQuoteChar) : s;
  }
  return r;
}

void TStrings::SetDelimitedText(const AnsiString& Text) {
  // Text ends at a NUL character, as a zero-terminated string would.
  AnsiString value = Text.substr(0, Text.find('\0'));
  auto blank = [&](std::size_t i) {
    unsigned char c = static_cast<unsigned char>(value[i]);
    return c >= 1 && c <= ' ' && !FStrictDelimiter;
  };
  BeginUpdate();
  try {
    Clear();
    std::size_t i = 0, n = value.size();
    while (i < n && blank(i)) ++i;
    while (i < n) {
      AnsiString s;
      if (value[i] == FQuoteChar) {
        int idx = static_cast<int>(i) + 1;
        s = AnsiExtractQuotedStr(value, idx, FQuoteChar);
        i = static_cast<std::size_t>(idx - 1);
      } else {
        std::size_t start = i;
        while (i < n && value[i] != FDelimiter &&
               (FStrictDelimiter || static_cast<unsigned char>(value[i]) > ' '))
          ++i;
        s = value.substr(start, i - start);
      }
      Add(s);
      while (i < n && blank(i)) ++i;
      if (i < n && value[i] == FDelimiter) {
        if (i + 1 == n) Add(AnsiString());
        ++i;
        while (i < n && blank(i)) ++i;
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

AnsiString TStrings::CommaText() const {
  auto* self = const_cast<TStrings*>(this);
  char d = FDelimiter, q = FQuoteChar;
  bool strict = FStrictDelimiter;
  self->FDelimiter = ',';
  self->FQuoteChar = '"';
  self->FStrictDelimiter = false;
  AnsiString r = DelimitedText();
  self->FDelimiter = d;
  self->FQuoteChar = q;
  self->FStrictDelimiter = strict;
  return r;
}

void TStrings::SetCommaText(const AnsiString& Value) {
  char d = FDelimiter, q = FQuoteChar;
  bool strict = FStrictDelimiter;
  FDelimiter = ',';
  FQuoteChar = '"';
  FStrictDelimiter = false;
  try {
    SetDelimitedText(Value);
  } catch (...) {
    FDelimiter = d, FQuoteChar = q, FStrictDelimiter = strict;
    throw;
  }
  FDelimiter = d, FQuoteChar = q, FStrictDelimiter = strict;
}

AnsiString TStrings::Names(int Index) const {
  AnsiString s = Get(Index);
  std::size_t p = s.find(FNameValueSeparator);
  return p == std::string::npos ? AnsiString() : s.substr(0, p);
}

AnsiString TStrings::Values(const AnsiString& Name) const {
  int i = IndexOfName(Name);
  return i < 0 ? AnsiString() : ValueFromIndex(i);
}

void TStrings::SetValues(const AnsiString& Name, const AnsiString& Value) {
  int i = IndexOfName(Name);
  if (!Value.empty()) {
    AnsiString line = Name + FNameValueSeparator + Value;
    if (i < 0) Add(line);
    else Put(i, line);
  } else if (i >= 0) {
    Delete(i);
  }
}

AnsiString TStrings::ValueFromIndex(int Index) const {
  AnsiString s = Get(Index);
  std::size_t p = s.find(FNameValueSeparator);
  return p == std::string::npos ? AnsiString() : s.substr(p + 1);
}

void TStrings::SetValueFromIndex(int Index, const AnsiString& Value) {
  if (!Value.empty()) {
    if (Index < 0) Index = Add(AnsiString());
    Put(Index, Names(Index) + FNameValueSeparator + Value);
  } else if (Index >= 0) {
    Delete(Index);
  }
}

void TStrings::LoadFromFile(const AnsiString& FileName) {
  std::unique_ptr<TFileStream> s(new TFileStream(FileName, fmOpenRead | fmShareDenyWrite));
  LoadFromStream(s.get());
}

void TStrings::SaveToFile(const AnsiString& FileName) {
  std::unique_ptr<TFileStream> s(new TFileStream(FileName, fmCreate));
  SaveToStream(s.get());
}

void TStrings::LoadFromStream(TStream* Stream) {
  Int64 size = Stream->Size() - Stream->Position();
  if (size < 0) size = 0;
  if (size > 0x7FFFFFFF) throw EReadError(&SReadError);
  AnsiString text(static_cast<std::size_t>(size), '\0');
  Integer got = size ? Stream->Read(&text[0], static_cast<Integer>(size)) : 0;
  text.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
  SetText(text);
}

void TStrings::SaveToStream(TStream* Stream) {
  AnsiString text = Text();
  Stream->WriteBuffer(text.data(), static_cast<Integer>(text.size()));
}

void TStrings::ReadData(TReader* Reader) {
  Reader->ReadListBegin();
  BeginUpdate();
  try {
    Clear();
    while (!Reader->EndOfList()) Add(Reader->ReadString());
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  Reader->ReadListEnd();
}

void TStrings::WriteData(TWriter* Writer) {
  Writer->WriteListBegin();
  for (int i = 0; i < GetCount(); ++i) Writer->WriteString(Get(i));
  Writer->WriteListEnd();
}

void TStrings::DefineProperties(TFiler* Filer) {
  bool hasData = GetCount() > 0;
  if (auto* anc = dynamic_cast<TStrings*>(Filer->Ancestor())) hasData = !Equals(anc);
  Filer->DefineProperty(
      "Strings", [this](TReader* r) { ReadData(r); }, [this](TWriter* w) { WriteData(w); }, hasData);
}

// ---------------------------------------------------------------- TStringList

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  if (FOwnsObjects)
    for (auto& it : FList) delete it.Obj;
}

void TStringList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= GetCount()) Error(&SListIndexError, Index);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(bool Updating) {
  // Outside the update count, so the events fire.
  if (Updating) {
    if (OnChanging) OnChanging(this);
  } else {
    if (OnChange) OnChange(this);
  }
}

AnsiString TStringList::Get(int Index) const {
  CheckIndex(Index);
  return FList[static_cast<std::size_t>(Index)].S;
}

void TStringList::Put(int Index, const AnsiString& S) {
  if (FSorted) Error(&SSortedListError, 0);
  CheckIndex(Index);
  Changing();
  FList[static_cast<std::size_t>(Index)].S = S;
  Changed();
}

TObject* TStringList::GetObject(int Index) const {
  CheckIndex(Index);
  return FList[static_cast<std::size_t>(Index)].Obj;
}

void TStringList::PutObject(int Index, TObject* AObject) {
  CheckIndex(Index);
  Changing();
  FList[static_cast<std::size_t>(Index)].Obj = AObject;
  Changed();
}

void TStringList::InsertItem(int Index, const AnsiString& S, TObject* AObject) {
  Changing();
  FList.insert(FList.begin() + Index, Item{S, AObject});
  Changed();
}

void TStringList::Insert(int Index, const AnsiString& S) {
  if (FSorted) Error(&SSortedListError, 0);
  if (Index < 0 || Index > GetCount()) Error(&SListIndexError, Index);
  InsertItem(Index, S, nullptr);
}

int TStringList::Add(const AnsiString& S) { return AddObject(S, nullptr); }

int TStringList::AddObject(const AnsiString& S, TObject* AObject) {
  int index;
  if (!FSorted) {
    index = GetCount();
  } else if (Find(S, index)) {
    switch (FDuplicates) {
      case dupIgnore:
        return index;
      case dupError:
        throw EStringListError(&SDuplicateString);
      case dupAccept:
        break;
    }
  }
  InsertItem(index, S, AObject);
  return index;
}

void TStringList::Delete(int Index) {
  CheckIndex(Index);
  Changing();
  TObject* obj = FList[static_cast<std::size_t>(Index)].Obj;
  FList.erase(FList.begin() + Index);
  if (FOwnsObjects) delete obj;
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  std::vector<Item> old;
  old.swap(FList);
  if (FOwnsObjects)
    for (auto& it : old) delete it.Obj;
  Changed();
}

void TStringList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  std::swap(FList[static_cast<std::size_t>(Index1)], FList[static_cast<std::size_t>(Index2)]);
  Changed();
}

int TStringList::CompareStrings(const AnsiString& S1, const AnsiString& S2) const {
  return FCaseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

bool TStringList::Find(const AnsiString& S, int& Index) const {
  int lo = 0, hi = GetCount() - 1;
  bool found = false;
  while (lo <= hi) {
    int mid = lo + (hi - lo) / 2;
    int c = CompareStrings(FList[static_cast<std::size_t>(mid)].S, S);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        found = true;
        if (FDuplicates != dupAccept) lo = mid;
      }
    }
  }
  Index = lo;
  return found;
}

int TStringList::IndexOf(const AnsiString& S) const {
  if (!FSorted) return TStrings::IndexOf(S);
  int i;
  return Find(S, i) ? i : -1;
}

void TStringList::CustomSort(TStringListSortCompare Compare) {
  if (!Compare || GetCount() < 2) return;
  Changing();
  // Sort a permutation with the caller's comparison of indexes into the
  // current order, then apply it.
  std::vector<int> order(FList.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return Compare(this, a, b) < 0; });
  std::vector<Item> sorted;
  sorted.reserve(FList.size());
  for (int i : order) sorted.push_back(std::move(FList[static_cast<std::size_t>(i)]));
  FList.swap(sorted);
  Changed();
}

void TStringList::Sort() {
  CustomSort([](TStringList* list, int a, int b) {
    return list->CompareStrings(list->FList[static_cast<std::size_t>(a)].S, list->FList[static_cast<std::size_t>(b)].S);
  });
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (FSorted) Sort();
}
