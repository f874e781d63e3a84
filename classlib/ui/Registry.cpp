// TRegistry over the advapi32 registry functions.
#include "classlib/ui/Registry.h"

#include <vector>

DK_RESOURCESTRING(SRegCreateFailed, "Failed to create key %s");
DK_RESOURCESTRING(SRegGetDataFailed, "Failed to get data for '%s'");
DK_RESOURCESTRING(SRegSetDataFailed, "Failed to set data for '%s'");
DK_RESOURCESTRING(SInvalidRegType, "Invalid data type for '%s'");

namespace {

TRegDataType DataTypeOf(DWORD type) {
  switch (type) {
    case REG_SZ: return rdString;
    case REG_EXPAND_SZ: return rdExpandString;
    case REG_DWORD: return rdInteger;
    case REG_BINARY: return rdBinary;
    default: return rdUnknown;
  }
}

// "a\b\" -> "a\b"
AnsiString StripTrailing(AnsiString s) {
  while (!s.empty() && s.back() == '\\') s.pop_back();
  return s;
}

}  // namespace

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY Value) {
  if (FRootKey == Value) return;
  CloseKey();
  FRootKey = Value;
}

HKEY TRegistry::BaseKey(bool Relative) const {
  return Relative && FCurrentKey ? FCurrentKey : FRootKey;
}

AnsiString TRegistry::FullPath(const AnsiString& Key, bool& Relative) const {
  Relative = Key.empty() || Key[0] != '\\';
  AnsiString k = Relative ? Key : Key.substr(1);
  return StripTrailing(k);
}

void TRegistry::ChangeKey(HKEY Key, const AnsiString& Path) {
  CloseKey();
  FCurrentKey = Key;
  FCurrentPath = Path;
}

bool TRegistry::OpenKey(const AnsiString& Key, bool CanCreate) {
  bool relative;
  AnsiString sub = FullPath(Key, relative);
  std::wstring w = winapi::W(sub);
  HKEY base = BaseKey(relative), key = nullptr;
  LONG rc;
  if (CanCreate && !sub.empty())
    rc = RegCreateKeyExW(base, w.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, FAccess, nullptr, &key, nullptr);
  else
    rc = RegOpenKeyExW(base, w.c_str(), 0, FAccess, &key);
  if (rc != ERROR_SUCCESS) return false;
  AnsiString path = relative && FCurrentKey && !FCurrentPath.empty()
                        ? (sub.empty() ? FCurrentPath : FCurrentPath + "\\" + sub)
                        : sub;
  ChangeKey(key, path);
  return true;
}

bool TRegistry::OpenKeyReadOnly(const AnsiString& Key) {
  Cardinal saved = FAccess;
  FAccess = KEY_READ;
  bool ok = false;
  try {
    ok = OpenKey(Key, false);
  } catch (...) {
    FAccess = saved;
    throw;
  }
  if (!ok) FAccess = saved;
  return ok;
}

void TRegistry::CloseKey() {
  if (FCurrentKey) {
    RegCloseKey(FCurrentKey);
    FCurrentKey = nullptr;
    FCurrentPath.clear();
  }
}

bool TRegistry::CreateKey(const AnsiString& Key) {
  bool relative;
  AnsiString sub = FullPath(Key, relative);
  std::wstring w = winapi::W(sub);
  HKEY key = nullptr;
  LONG rc = sub.empty() ? ERROR_INVALID_PARAMETER
                        : RegCreateKeyExW(BaseKey(relative), w.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                          KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (rc != ERROR_SUCCESS) throw ERegistryException(LoadResString(&SRegCreateFailed), {Key});
  RegCloseKey(key);
  return true;
}

bool TRegistry::DeleteKey(const AnsiString& Key) {
  bool relative;
  AnsiString sub = FullPath(Key, relative);
  if (sub.empty()) return false;  // never the root or the open key itself
  std::wstring w = winapi::W(sub);
  return RegDeleteTreeW(BaseKey(relative), w.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::KeyExists(const AnsiString& Key) {
  bool relative;
  AnsiString sub = FullPath(Key, relative);
  std::wstring w = winapi::W(sub);
  HKEY key = nullptr;
  if (RegOpenKeyExW(BaseKey(relative), w.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

bool TRegistry::HasSubKeys() {
  DWORD subkeys = 0;
  if (RegQueryInfoKeyW(BaseKey(true), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return false;
  return subkeys > 0;
}

void TRegistry::GetKeyNames(TStrings* Strings) {
  Strings->Clear();
  HKEY key = BaseKey(true);
  std::vector<wchar_t> name(256);
  for (DWORD i = 0;; ++i) {
    DWORD len = static_cast<DWORD>(name.size());
    LONG rc = RegEnumKeyExW(key, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_MORE_DATA) {  // key names are at most 255 characters; be safe anyway
      name.resize(name.size() * 2);
      --i;
      continue;
    }
    if (rc != ERROR_SUCCESS) break;
    Strings->Add(winapi::A(name.data(), static_cast<int>(len)));
  }
}

bool TRegistry::ValueExists(const AnsiString& Name) {
  std::wstring w = winapi::W(Name);
  return RegQueryValueExW(BaseKey(true), w.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool TRegistry::DeleteValue(const AnsiString& Name) {
  std::wstring w = winapi::W(Name);
  return RegDeleteValueW(BaseKey(true), w.c_str()) == ERROR_SUCCESS;
}

void TRegistry::GetValueNames(TStrings* Strings) {
  Strings->Clear();
  HKEY key = BaseKey(true);
  DWORD maxLen = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxLen, nullptr,
                       nullptr, nullptr) != ERROR_SUCCESS)
    return;
  std::vector<wchar_t> name(maxLen + 2);
  for (DWORD i = 0;; ++i) {
    DWORD len = static_cast<DWORD>(name.size());
    LONG rc = RegEnumValueW(key, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_MORE_DATA) {
      name.resize(name.size() * 2 + 256);
      --i;
      continue;
    }
    if (rc != ERROR_SUCCESS) break;
    Strings->Add(winapi::A(name.data(), static_cast<int>(len)));
  }
}

TRegDataType TRegistry::GetDataType(const AnsiString& Name) {
  std::wstring w = winapi::W(Name);
  DWORD type = 0;
  if (RegQueryValueExW(BaseKey(true), w.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
    return rdUnknown;
  return DataTypeOf(type);
}

int TRegistry::GetDataSize(const AnsiString& Name) {
  std::wstring w = winapi::W(Name);
  DWORD size = 0;
  if (RegQueryValueExW(BaseKey(true), w.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return -1;
  return static_cast<int>(size);
}

AnsiString TRegistry::ReadString(const AnsiString& Name) {
  std::wstring w = winapi::W(Name);
  HKEY key = BaseKey(true);
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key, w.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS || size == 0)
    return AnsiString();
  if (type != REG_SZ && type != REG_EXPAND_SZ) throw ERegistryException(LoadResString(&SInvalidRegType), {Name});
  // The value may change between the calls: retry with the size reported.
  for (int attempt = 0; attempt < 4; ++attempt) {
    std::vector<wchar_t> buf(size / sizeof(wchar_t) + 2, L'\0');
    DWORD got = static_cast<DWORD>((buf.size() - 1) * sizeof(wchar_t));
    LONG rc = RegQueryValueExW(key, w.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &got);
    if (rc == ERROR_MORE_DATA) {
      size = got;
      continue;
    }
    if (rc != ERROR_SUCCESS) throw ERegistryException(LoadResString(&SRegGetDataFailed), {Name});
    if (type != REG_SZ && type != REG_EXPAND_SZ) throw ERegistryException(LoadResString(&SInvalidRegType), {Name});
    std::size_t n = got / sizeof(wchar_t);
    while (n > 0 && buf[n - 1] == L'\0') --n;  // the stored terminator, if any
    return winapi::A(buf.data(), static_cast<int>(n));
  }
  throw ERegistryException(LoadResString(&SRegGetDataFailed), {Name});
}

namespace {
void PutString(HKEY key, const AnsiString& Name, const AnsiString& Value, DWORD type) {
  std::wstring n = winapi::W(Name), v = winapi::W(Value);
  DWORD bytes = static_cast<DWORD>((v.size() + 1) * sizeof(wchar_t));
  if (RegSetValueExW(key, n.c_str(), 0, type, reinterpret_cast<const BYTE*>(v.c_str()), bytes) != ERROR_SUCCESS)
    throw ERegistryException(LoadResString(&SRegSetDataFailed), {Name});
}
}  // namespace

void TRegistry::WriteString(const AnsiString& Name, const AnsiString& Value) {
  PutString(BaseKey(true), Name, Value, REG_SZ);
}

void TRegistry::WriteExpandString(const AnsiString& Name, const AnsiString& Value) {
  PutString(BaseKey(true), Name, Value, REG_EXPAND_SZ);
}

Integer TRegistry::ReadInteger(const AnsiString& Name) {
  std::wstring w = winapi::W(Name);
  DWORD type = 0, size = 0;
  LONG rc = RegQueryValueExW(BaseKey(true), w.c_str(), nullptr, &type, nullptr, &size);
  if (rc != ERROR_SUCCESS) throw ERegistryException(LoadResString(&SRegGetDataFailed), {Name});
  if (type != REG_DWORD || size != sizeof(DWORD)) throw ERegistryException(LoadResString(&SInvalidRegType), {Name});
  DWORD value = 0;
  size = sizeof value;
  rc = RegQueryValueExW(BaseKey(true), w.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  if (rc != ERROR_SUCCESS) throw ERegistryException(LoadResString(&SRegGetDataFailed), {Name});
  if (type != REG_DWORD) throw ERegistryException(LoadResString(&SInvalidRegType), {Name});
  return static_cast<Integer>(value);
}

void TRegistry::WriteInteger(const AnsiString& Name, Integer Value) {
  std::wstring n = winapi::W(Name);
  DWORD v = static_cast<DWORD>(Value);
  if (RegSetValueExW(BaseKey(true), n.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v) !=
      ERROR_SUCCESS)
    throw ERegistryException(LoadResString(&SRegSetDataFailed), {Name});
}

bool TRegistry::ReadBool(const AnsiString& Name) { return ReadInteger(Name) != 0; }

void TRegistry::WriteBool(const AnsiString& Name, bool Value) { WriteInteger(Name, Value ? 1 : 0); }
