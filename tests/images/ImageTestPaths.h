// Paths of the image tests' data: the PNG suite in the tests' data folder and the
// fixtures made at build time beside the test executable.
#pragma once

#include <filesystem>
#include <string>

#include "classlib/core/System.h"

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

namespace imagetest {

inline char Delimiter() {
#ifdef _WIN32
  return '\\';
#else
  return '/';
#endif
}

// A path as the class library takes it (under Wine the Unix root is Z:).
inline AnsiString Ansi(const std::filesystem::path& p) {
  std::string s = p.string();
#ifdef _WIN32
  if (!s.empty() && s[0] == '/') s = "Z:" + s;
  for (auto& c : s)
    if (c == '/') c = '\\';
#endif
  return s;
}

inline AnsiString SuitePath(const std::string& name) { return Ansi(std::filesystem::path(DK_PNGSUITE_DIR) / name); }
inline AnsiString FixturePath(const std::string& name) { return Ansi(std::filesystem::path(DK_IMAGE_FIXTURES) / name); }

}  // namespace imagetest
