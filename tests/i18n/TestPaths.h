// Where the test catalogues lie: folders beside the test executable.
#pragma once

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace i18ntest {

inline std::string ExecutablePath() {
#ifdef _WIN32
  char buffer[MAX_PATH * 2];
  DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  return std::string(buffer, n);
#else
  std::vector<char> buffer(4096);
  ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
  return n > 0 ? std::string(buffer.data(), std::size_t(n)) : std::string();
#endif
}

inline char Delimiter() {
#ifdef _WIN32
  return '\\';
#else
  return '/';
#endif
}

// The executable's folder with a trailing delimiter.
inline std::string BinDir() {
  std::string exe = ExecutablePath();
  return exe.substr(0, exe.find_last_of("\\/") + 1);
}

// A path below the executable's folder, written with '/'.
inline std::string BinPath(std::string relative) {
  for (char& c : relative)
    if (c == '/') c = Delimiter();
  return BinDir() + relative;
}

inline std::vector<unsigned char> ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::string& name, const void* data, std::size_t size) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), std::streamsize(size));
}

}  // namespace i18ntest
