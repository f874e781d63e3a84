// TRegistry: keys and values of the system registry.
//
// The object works on one open key at a time (CurrentKey) under a root
// (RootKey, the current user's by default). Key paths starting with "\" are
// taken from the root, others from the open key. Reading a value that is
// missing: ReadString gives the empty text, ReadInteger/ReadBool raise;
// reading a value of another type raises. Every raise is ERegistryException.
#pragma once

#include "classlib/core/Classes.h"
#include "classlib/ui/WinApi.h"

DK_DECLARE_EXCEPTION(ERegistryException, Exception);

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

class TRegistry : public TObject {
  DK_CLASS(TRegistry, TObject)
 public:
  TRegistry() = default;
  explicit TRegistry(Cardinal AAccess) : FAccess(AAccess) {}
  ~TRegistry() override;
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  HKEY RootKey() const { return FRootKey; }
  // Closes the open key.
  void SetRootKey(HKEY Value);
  HKEY CurrentKey() const { return FCurrentKey; }
  // The open key's path below the root (no leading "\").
  const AnsiString& CurrentPath() const { return FCurrentPath; }
  Cardinal Access() const { return FAccess; }
  void SetAccess(Cardinal Value) { FAccess = Value; }

  // Opens a key (creating it when CanCreate); false when that fails.
  bool OpenKey(const AnsiString& Key, bool CanCreate);
  // Opens a key for reading only; false when that fails.
  bool OpenKeyReadOnly(const AnsiString& Key);
  void CloseKey();
  // Creates a key without opening it; raises when that fails.
  bool CreateKey(const AnsiString& Key);
  // Deletes a key with everything below it.
  bool DeleteKey(const AnsiString& Key);
  bool KeyExists(const AnsiString& Key);
  bool HasSubKeys();
  void GetKeyNames(TStrings* Strings);

  bool ValueExists(const AnsiString& Name);
  bool DeleteValue(const AnsiString& Name);
  void GetValueNames(TStrings* Strings);
  TRegDataType GetDataType(const AnsiString& Name);
  // Size of the value's data in bytes, -1 when it is missing.
  int GetDataSize(const AnsiString& Name);

  AnsiString ReadString(const AnsiString& Name);
  void WriteString(const AnsiString& Name, const AnsiString& Value);
  void WriteExpandString(const AnsiString& Name, const AnsiString& Value);
  Integer ReadInteger(const AnsiString& Name);
  void WriteInteger(const AnsiString& Name, Integer Value);
  bool ReadBool(const AnsiString& Name);
  void WriteBool(const AnsiString& Name, bool Value);

 private:
  HKEY BaseKey(bool Relative) const;
  AnsiString FullPath(const AnsiString& Key, bool& Relative) const;
  void ChangeKey(HKEY Key, const AnsiString& Path);
  HKEY FRootKey = HKEY_CURRENT_USER;
  HKEY FCurrentKey = nullptr;
  AnsiString FCurrentPath;
  Cardinal FAccess = KEY_ALL_ACCESS;
};
