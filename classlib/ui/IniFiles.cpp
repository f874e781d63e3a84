// TIniFile over GetPrivateProfileStringW / WritePrivateProfileStringW.
#include "classlib/ui/IniFiles.h"

#include <vector>

#include "classlib/core/SysConsts.h"
#include "classlib/ui/WinApi.h"

namespace {

// Values and lists are read into a buffer that grows until the result fits.
// The profile functions report a cut result as size - 1 (a value) or size - 2
// (a list of names).
constexpr DWORD kFirstBuffer = 2048;
constexpr DWORD kMaxBuffer = 64u * 1024u * 1024u;

}  // namespace

void TIniFile::WriteError() const {
  throw EIniFileException(LoadResString(&SIniFileWriteError), {FFileName});
}

AnsiString TIniFile::ReadString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Default) {
  std::wstring section = winapi::W(Section), ident = winapi::W(Ident), def = winapi::W(Default),
               file = winapi::W(FFileName);
  std::vector<wchar_t> buf(kFirstBuffer);
  for (;;) {
    DWORD n = GetPrivateProfileStringW(section.c_str(), ident.c_str(), def.c_str(), buf.data(),
                                       static_cast<DWORD>(buf.size()), file.c_str());
    if (n + 1 < buf.size() || buf.size() >= kMaxBuffer) return winapi::A(buf.data(), static_cast<int>(n));
    buf.resize(buf.size() * 4);
  }
}

void TIniFile::WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value) {
  std::wstring section = winapi::W(Section), ident = winapi::W(Ident), value = winapi::W(Value),
               file = winapi::W(FFileName);
  if (!WritePrivateProfileStringW(section.c_str(), ident.c_str(), value.c_str(), file.c_str())) WriteError();
}

AnsiString TIniFile::ReadList(const wchar_t* Section) const {
  // The names come back as zero-terminated texts one after another, ended by
  // an empty one; they are returned as lines.
  std::wstring file = winapi::W(FFileName);
  std::vector<wchar_t> buf(kFirstBuffer);
  DWORD n;
  for (;;) {
    n = GetPrivateProfileStringW(Section, nullptr, L"", buf.data(), static_cast<DWORD>(buf.size()), file.c_str());
    if (n + 2 < buf.size() || buf.size() >= kMaxBuffer) break;
    buf.resize(buf.size() * 4);
  }
  AnsiString lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (buf[i] != L'\0') continue;
    if (i > start) lines += winapi::A(buf.data() + start, static_cast<int>(i - start)) + "\n";
    start = i + 1;
  }
  if (n > start) lines += winapi::A(buf.data() + start, static_cast<int>(n - start)) + "\n";
  return lines;
}

void TIniFile::ReadSection(const AnsiString& Section, TStrings* Strings) {
  std::wstring section = winapi::W(Section);
  AnsiString lines = ReadList(section.c_str());
  Strings->BeginUpdate();
  try {
    Strings->Clear();
    if (!lines.empty()) Strings->SetText(lines);
  } catch (...) {
    Strings->EndUpdate();
    throw;
  }
  Strings->EndUpdate();
}

void TIniFile::ReadSections(TStrings* Strings) {
  AnsiString lines = ReadList(nullptr);
  Strings->BeginUpdate();
  try {
    Strings->Clear();
    if (!lines.empty()) Strings->SetText(lines);
  } catch (...) {
    Strings->EndUpdate();
    throw;
  }
  Strings->EndUpdate();
}

void TIniFile::ReadSectionValues(const AnsiString& Section, TStrings* Strings) {
  TStringList keys;
  ReadSection(Section, &keys);
  Strings->BeginUpdate();
  try {
    Strings->Clear();
    for (int i = 0; i < keys.Count(); ++i) Strings->Add(keys[i] + "=" + ReadString(Section, keys[i], ""));
  } catch (...) {
    Strings->EndUpdate();
    throw;
  }
  Strings->EndUpdate();
}

void TIniFile::EraseSection(const AnsiString& Section) {
  std::wstring section = winapi::W(Section), file = winapi::W(FFileName);
  if (!WritePrivateProfileStringW(section.c_str(), nullptr, nullptr, file.c_str()) && FileExists(FFileName))
    WriteError();
}

void TIniFile::DeleteKey(const AnsiString& Section, const AnsiString& Ident) {
  std::wstring section = winapi::W(Section), ident = winapi::W(Ident), file = winapi::W(FFileName);
  if (!WritePrivateProfileStringW(section.c_str(), ident.c_str(), nullptr, file.c_str()) && FileExists(FFileName))
    WriteError();
}

void TIniFile::UpdateFile() {
  std::wstring file = winapi::W(FFileName);
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str());
}
