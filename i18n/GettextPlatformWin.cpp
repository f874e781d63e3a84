// The platform part of the translation runtime for Windows.
#include <windows.h>

#include <vector>

#include "classlib/core/SysUtils.h"
#include "i18n/GettextPlatform.h"
#include "i18n/GettextText.h"

namespace i18n::platform {

namespace {
std::string LastErrorText() {
  char buffer[2000];
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                 GetLastError(), 0, buffer, sizeof buffer, nullptr);
  std::string s(buffer, n);
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
  return s;
}

class TWinMapping : public TMappedFile {
 public:
  ~TWinMapping() override {
    if (View) UnmapViewOfFile(View);
    if (Mapping) CloseHandle(Mapping);
    if (File != INVALID_HANDLE_VALUE) CloseHandle(File);
  }
  HANDLE File = INVALID_HANDLE_VALUE;
  HANDLE Mapping = nullptr;
  void* View = nullptr;
};
}  // namespace

std::unique_ptr<TMappedFile> MapFile(const std::string& name) {
  auto m = std::make_unique<TWinMapping>();
  m->File = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  if (m->File == INVALID_HANDLE_VALUE) throw Exception("Cannot open file " + name);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(m->File, &size)) throw Exception("Cannot open file " + name);
  if (size.QuadPart == 0) return m;  // nothing to map: an empty file is no catalogue
  m->Mapping = CreateFileMappingA(m->File, nullptr, PAGE_READONLY, 0, 0, nullptr);
  if (!m->Mapping) throw Exception("Cannot create memory map on file " + name);
  m->View = MapViewOfFile(m->Mapping, FILE_MAP_READ, 0, 0, 0);
  if (!m->View) throw Exception("Cannot map file " + name + " into memory. Reason: " + LastErrorText());
  m->Data = static_cast<const unsigned char*>(m->View);
  m->Size = static_cast<std::size_t>(size.QuadPart);
  return m;
}

bool FileExists(const std::string& name) {
  const DWORD a = GetFileAttributesA(name.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ExecutableFileName() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), DWORD(buffer.size()));
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

std::string LangVariable() {
  char buffer[256];
  const DWORD n = GetEnvironmentVariableA("LANG", buffer, sizeof buffer);
  if (n == 0) return {};
  if (n < sizeof buffer) return std::string(buffer, n);
  std::string big(n, '\0');
  const DWORD m = GetEnvironmentVariableA("LANG", big.data(), n);
  big.resize(m < n ? m : 0);
  return big;
}

std::string SystemLanguage() {
  char lang[5] = {}, country[5] = {};
  const int a = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SISO639LANGNAME, lang, sizeof lang);
  const int b = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SISO3166CTRYNAME, country, sizeof country);
  return SystemLanguageCode(a == 3 ? std::string_view(lang, 2) : std::string_view(),
                            b == 3 ? std::string_view(country, 2) : std::string_view(),
                            static_cast<std::uint32_t>(GetThreadLocale()));
}

std::optional<std::u16string> LoadStringTableEntry(std::int32_t id) {
  if (id <= 0 || id > 0xFFFF) return std::nullopt;
  HINSTANCE module = GetModuleHandleW(nullptr);
  // LoadStringW cuts a long entry to the buffer, leaving room for the
  // terminating zero: grow until the entry fits with room to spare.
  std::vector<wchar_t> buffer(1024);
  for (;;) {
    const int n = LoadStringW(module, UINT(id), buffer.data(), int(buffer.size()));
    if (n <= 0) return std::nullopt;
    if (std::size_t(n) < buffer.size() - 1) return std::u16string(buffer.begin(), buffer.begin() + n);
    if (buffer.size() >= 65536) return std::u16string(buffer.begin(), buffer.begin() + n);
    buffer.resize(buffer.size() * 2);
  }
}

bool LoadExternalGettext(const std::string& fileName, TExternalGettext& lib) {
  HMODULE h = LoadLibraryExA(fileName.c_str(), nullptr, 0);
  if (!h) return false;
  TExternalGettext l;
  l.Handle = h;
  l.Gettext = reinterpret_cast<TExternalGettext::Fn1>(reinterpret_cast<void*>(GetProcAddress(h, "gettext")));
  l.Dgettext = reinterpret_cast<TExternalGettext::Fn2>(reinterpret_cast<void*>(GetProcAddress(h, "dgettext")));
  l.Textdomain = reinterpret_cast<TExternalGettext::Fn1>(reinterpret_cast<void*>(GetProcAddress(h, "textdomain")));
  l.Bindtextdomain =
      reinterpret_cast<TExternalGettext::Fn2>(reinterpret_cast<void*>(GetProcAddress(h, "bindtextdomain")));
  l.GettextPutenv =
      reinterpret_cast<TExternalGettext::PutEnv>(reinterpret_cast<void*>(GetProcAddress(h, "gettext_putenv")));
  if (!l.Dgettext || !l.Textdomain || !l.Bindtextdomain) {
    FreeLibrary(h);
    return false;
  }
  lib = l;
  return true;
}

void FreeExternalGettext(TExternalGettext& lib) {
  if (lib.Handle) FreeLibrary(static_cast<HMODULE>(lib.Handle));
  lib = TExternalGettext();
}

}  // namespace i18n::platform
