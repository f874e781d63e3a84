// Lists (part of Classes.h): TList of pointers, TStrings and TStringList.
//
// Properties are getter/setter pairs: List->Count(), List->Strings(i),
// List->SetStrings(i, s), List->Text(), List->SetText(s), and so on; events are
// public fields (OnChange, OnChanging).
#pragma once

#include <functional>
#include <vector>

#include "classlib/core/ClassesObjects.h"
#include "classlib/core/SysUtils.h"

// ---------------------------------------------------------------------- TList

using TListSortCompare = int (*)(void* Item1, void* Item2);

enum TListNotification { lnAdded, lnExtracted, lnDeleted };

class TList : public TObject {
  DK_CLASS(TList, TObject)
 public:
  TList() = default;
  ~TList() override;

  int Add(void* Item);
  void Insert(int Index, void* Item);
  void Delete(int Index);
  int Remove(void* Item);  // index it had, or -1
  void* Extract(void* Item);
  int IndexOf(void* Item) const;
  virtual void Clear();
  void Exchange(int Index1, int Index2);
  void Move(int CurIndex, int NewIndex);
  void Pack();  // removes nil items
  void Sort(TListSortCompare Compare);
  void* First() const;
  void* Last() const;
  TList* Expand() { return this; }

  int Count() const { return static_cast<int>(FList.size()); }
  void SetCount(int NewCount);
  int Capacity() const { return static_cast<int>(FList.capacity()); }
  void SetCapacity(int NewCapacity);
  void* Items(int Index) const;
  void SetItems(int Index, void* Item);
  void* operator[](int Index) const { return Items(Index); }
  void** List() { return FList.data(); }

 protected:
  virtual void Notify(void* Ptr, TListNotification Action) {}
  [[noreturn]] static void Error(int Index);

 private:
  void CheckIndex(int Index) const;
  std::vector<void*> FList;
};

// ------------------------------------------------------------------ TStrings

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
  DK_CLASS(TStrings, TPersistent)
 public:
  TStrings() = default;
  ~TStrings() override = default;

  // The primitive operations of a concrete list.
  virtual AnsiString Get(int Index) const = 0;
  virtual void Put(int Index, const AnsiString& S);
  virtual TObject* GetObject(int Index) const { return nullptr; }
  virtual void PutObject(int Index, TObject* AObject) {}
  virtual int GetCount() const = 0;
  virtual void Insert(int Index, const AnsiString& S) = 0;
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;

  virtual int Add(const AnsiString& S);
  virtual int AddObject(const AnsiString& S, TObject* AObject);
  void InsertObject(int Index, const AnsiString& S, TObject* AObject);
  void Append(const AnsiString& S) { Add(S); }
  virtual void AddStrings(TStrings* Strings);
  virtual void Exchange(int Index1, int Index2);
  virtual void Move(int CurIndex, int NewIndex);
  virtual int IndexOf(const AnsiString& S) const;
  int IndexOfName(const AnsiString& Name) const;
  int IndexOfObject(TObject* AObject) const;
  bool Equals(TStrings* Strings) const;
  void Assign(TPersistent* Source) override;

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  int Count() const { return GetCount(); }
  AnsiString Strings(int Index) const { return Get(Index); }
  void SetStrings(int Index, const AnsiString& S) { Put(Index, S); }
  AnsiString operator[](int Index) const { return Get(Index); }
  TObject* Objects(int Index) const { return GetObject(Index); }
  void SetObjects(int Index, TObject* AObject) { PutObject(Index, AObject); }

  // Lines joined with CR LF after each line; set from text with CR, LF or CR LF.
  virtual AnsiString Text() const;
  virtual void SetText(const AnsiString& Value);
  // Items separated by Delimiter; items with blanks, quotes or the delimiter
  // are quoted with QuoteChar.
  AnsiString DelimitedText() const;
  void SetDelimitedText(const AnsiString& Value);
  AnsiString CommaText() const;
  void SetCommaText(const AnsiString& Value);
  char Delimiter() const { return FDelimiter; }
  void SetDelimiter(char C) { FDelimiter = C; }
  char QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(char C) { FQuoteChar = C; }
  bool StrictDelimiter() const { return FStrictDelimiter; }
  void SetStrictDelimiter(bool B) { FStrictDelimiter = B; }
  char NameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(char C) { FNameValueSeparator = C; }

  // name=value lines.
  AnsiString Names(int Index) const;
  AnsiString Values(const AnsiString& Name) const;
  // An empty value deletes the line.
  void SetValues(const AnsiString& Name, const AnsiString& Value);
  AnsiString ValueFromIndex(int Index) const;
  void SetValueFromIndex(int Index, const AnsiString& Value);

  virtual void LoadFromFile(const AnsiString& FileName);
  virtual void SaveToFile(const AnsiString& FileName);
  virtual void LoadFromStream(TStream* Stream);
  virtual void SaveToStream(TStream* Stream);

  // The lines travel in form streams as the property "Strings".
  void DefineProperties(TFiler* Filer) override;

 protected:
  // How two items compare: AnsiCompareText here.
  virtual int CompareStrings(const AnsiString& S1, const AnsiString& S2) const;
  virtual void SetUpdateState(bool Updating) {}
  [[noreturn]] void Error(PResStringRec Msg, int Data) const;
  void ReadData(TReader* Reader);
  void WriteData(TWriter* Writer);

 private:
  int FUpdateCount = 0;
  char FDelimiter = ',';
  char FQuoteChar = '"';
  char FNameValueSeparator = '=';
  bool FStrictDelimiter = false;
};

// ---------------------------------------------------------------- TStringList

class TStringList;
using TStringListSortCompare = int (*)(TStringList* List, int Index1, int Index2);

class TStringList : public TStrings {
  DK_CLASS(TStringList, TStrings)
 public:
  TStringList() = default;
  ~TStringList() override;

  AnsiString Get(int Index) const override;
  void Put(int Index, const AnsiString& S) override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;
  int GetCount() const override { return static_cast<int>(FList.size()); }
  void Insert(int Index, const AnsiString& S) override;
  void Delete(int Index) override;
  void Clear() override;

  int Add(const AnsiString& S) override;
  int AddObject(const AnsiString& S, TObject* AObject) override;
  void Exchange(int Index1, int Index2) override;
  int IndexOf(const AnsiString& S) const override;
  // Binary search of a sorted list: true when found; Index is the position
  // found or the place where S would go.
  virtual bool Find(const AnsiString& S, int& Index) const;
  virtual void Sort();
  virtual void CustomSort(TStringListSortCompare Compare);

  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);
  // Frees the objects of deleted items and of the list when set.
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  virtual void Changed();
  virtual void Changing();
  int CompareStrings(const AnsiString& S1, const AnsiString& S2) const override;
  void SetUpdateState(bool Updating) override;
  void InsertItem(int Index, const AnsiString& S, TObject* AObject);

 private:
  struct Item {
    AnsiString S;
    TObject* Obj;
  };
  void CheckIndex(int Index) const;
  std::vector<Item> FList;
  bool FSorted = false;
  bool FCaseSensitive = false;
  bool FOwnsObjects = false;
  TDuplicates FDuplicates = dupIgnore;
};
