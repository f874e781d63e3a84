// What the translation runtime needs of the platform: the catalogue file read
// only into memory, the program file's name, the language settings of the
// environment and the user, the program's string table and an optional
// external gettext library. GettextPlatformWin.cpp serves Windows,
// GettextPlatformPosix.cpp the native builds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace i18n::platform {

// A whole file mapped (or read) read-only.
class TMappedFile {
 public:
  virtual ~TMappedFile() = default;
  const unsigned char* Data = nullptr;
  std::size_t Size = 0;
};

// Opens and maps the file; raises Exception with "Cannot open file <name>",
// "Cannot create memory map on file <name>" or "Cannot map file <name> into
// memory. Reason: <system text>".
std::unique_ptr<TMappedFile> MapFile(const std::string& name);
bool FileExists(const std::string& name);

std::string ExecutableFileName();
// The environment variable LANG (empty when not set).
std::string LangVariable();
// The user's language as a code such as "ru_RU" (the thread locale's table
// when the user locale gives no two-letter names).
std::string SystemLanguage();

// String-table entry id of the program (whole, however long); nothing when the
// platform has no string table or the entry does not exist.
std::optional<std::u16string> LoadStringTableEntry(std::int32_t id);

// An external gettext library: all three mandatory entry points or nothing.
struct TExternalGettext {
  using Fn1 = char* (*)(const char*);
  using Fn2 = char* (*)(const char*, const char*);
  void* Handle = nullptr;
  Fn1 Gettext = nullptr;  // looked up, never called
  Fn2 Dgettext = nullptr;
  Fn1 Textdomain = nullptr;
  Fn2 Bindtextdomain = nullptr;
  using PutEnv = int (*)(const char*);
  PutEnv GettextPutenv = nullptr;  // may be missing
};
// Loads the library; false (and nothing kept) when it cannot be loaded or
// lacks dgettext, textdomain or bindtextdomain.
bool LoadExternalGettext(const std::string& fileName, TExternalGettext& lib);
void FreeExternalGettext(TExternalGettext& lib);

}  // namespace i18n::platform
