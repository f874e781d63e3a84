// POSIX implementation of the platform layer (the native build).
#ifndef _WIN32

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "classlib/core/platform/Platform.h"

namespace dk_platform {

namespace {
std::string N(const AnsiString& name) { return AnsiToUtf8(name); }
AnsiString A(const std::string& name) { return Utf8ToAnsi(name); }
}  // namespace

TLocalTime LocalTime() {
  timeval tv{};
  gettimeofday(&tv, nullptr);
  time_t secs = tv.tv_sec;
  tm lt{};
  localtime_r(&secs, &lt);
  return TLocalTime{static_cast<Word>(lt.tm_year + 1900), static_cast<Word>(lt.tm_mon + 1),
                    static_cast<Word>(lt.tm_mday),       static_cast<Word>(lt.tm_hour),
                    static_cast<Word>(lt.tm_min),        static_cast<Word>(lt.tm_sec > 59 ? 59 : lt.tm_sec),
                    static_cast<Word>(tv.tv_usec / 1000)};
}

Cardinal TickCount() {
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now().time_since_epoch())
                .count();
  return static_cast<Cardinal>(static_cast<unsigned long long>(ms));
}

void SleepMs(Cardinal ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

TFormatSettings SystemFormatSettings() { return TFormatSettings::Invariant(); }

Cardinal LastError() { return static_cast<Cardinal>(errno); }

AnsiString ErrorMessage(Cardinal code) {
  char buf[256];
  buf[0] = 0;
#if defined(__GLIBC__) && defined(_GNU_SOURCE)
  const char* s = strerror_r(static_cast<int>(code), buf, sizeof buf);
  return Utf8ToAnsi(s ? s : "");
#else
  strerror_r(static_cast<int>(code), buf, sizeof buf);
  return Utf8ToAnsi(buf);
#endif
}

bool FileExists(const AnsiString& name) {
  struct stat st {};
  return !name.empty() && stat(N(name).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const AnsiString& name) {
  struct stat st {};
  return !name.empty() && stat(N(name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateDir(const AnsiString& name) { return !name.empty() && mkdir(N(name).c_str(), 0777) == 0; }
bool DeleteFile(const AnsiString& name) { return !name.empty() && unlink(N(name).c_str()) == 0; }
bool RenameFile(const AnsiString& from, const AnsiString& to) {
  // Like the Windows call: an existing target is not replaced.
  if (FileExists(to) || DirectoryExists(to)) {
    errno = EEXIST;
    return false;
  }
  return rename(N(from).c_str(), N(to).c_str()) == 0;
}
bool RemoveDir(const AnsiString& name) { return !name.empty() && rmdir(N(name).c_str()) == 0; }

AnsiString GetCurrentDir() {
  std::vector<char> buf(4096);
  while (!getcwd(buf.data(), buf.size())) {
    if (errno != ERANGE) return AnsiString();
    buf.resize(buf.size() * 2);
  }
  return A(buf.data());
}

bool SetCurrentDir(const AnsiString& dir) { return chdir(N(dir).c_str()) == 0; }

Int64 FileSize(const AnsiString& name) {
  struct stat st {};
  if (stat(N(name).c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
  return static_cast<Int64>(st.st_size);
}

namespace {
Integer AttrOf(const struct stat& st, const std::string& baseName) {
  Integer a = 0;
  if (S_ISDIR(st.st_mode)) a |= faDirectory;
  if (!(st.st_mode & S_IWUSR)) a |= faReadOnly;
  if (!baseName.empty() && baseName[0] == '.' && baseName != "." && baseName != "..") a |= faHidden;
  if (!S_ISDIR(st.st_mode)) a |= faArchive;
  return a;
}
std::string BaseName(const std::string& p) {
  std::size_t s = p.find_last_of('/');
  return s == std::string::npos ? p : p.substr(s + 1);
}
}  // namespace

Integer GetAttr(const AnsiString& name) {
  struct stat st {};
  std::string n = N(name);
  if (stat(n.c_str(), &st) != 0) return -1;
  return AttrOf(st, BaseName(n));
}

Integer SetAttr(const AnsiString& name, Integer attr) {
  struct stat st {};
  std::string n = N(name);
  if (stat(n.c_str(), &st) != 0) return static_cast<Integer>(errno);
  mode_t m = st.st_mode & 07777;
  if (attr & faReadOnly) m &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
  else m |= S_IWUSR;
  return chmod(n.c_str(), m) == 0 ? 0 : static_cast<Integer>(errno);
}

AnsiString ExpandFileName(const AnsiString& name) {
  std::string n = N(name);
  if (n.empty() || n[0] != '/') n = N(GetCurrentDir()) + "/" + n;
  // Resolve "." and ".." textually.
  std::vector<std::string> parts;
  std::size_t i = 0;
  while (i <= n.size()) {
    std::size_t j = n.find('/', i);
    if (j == std::string::npos) j = n.size();
    std::string p = n.substr(i, j - i);
    if (p == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!p.empty() && p != ".") {
      parts.push_back(p);
    }
    i = j + 1;
  }
  std::string r;
  for (auto& p : parts) r += "/" + p;
  if (r.empty() || (!n.empty() && n.back() == '/')) r += "/";
  return A(r);
}

struct DirIter {
  DIR* dir;
  std::string path;
};

DirIter* OpenDir(const AnsiString& dir) {
  std::string p = N(dir.empty() ? AnsiString(".") : dir);
  DIR* d = opendir(p.c_str());
  if (!d) return nullptr;
  return new DirIter{d, p};
}

bool NextEntry(DirIter* it, DirEntry& e) {
  while (dirent* de = readdir(it->dir)) {
    std::string full = it->path + "/" + de->d_name;
    struct stat st {};
    if (stat(full.c_str(), &st) != 0 && lstat(full.c_str(), &st) != 0) continue;
    e.Name = A(de->d_name);
    e.Size = S_ISDIR(st.st_mode) ? 0 : static_cast<Int64>(st.st_size);
    e.Attr = AttrOf(st, de->d_name);
    e.Time = static_cast<Integer>(st.st_mtime);
    return true;
  }
  return false;
}

void CloseDir(DirIter* it) {
  if (!it) return;
  closedir(it->dir);
  delete it;
}

std::intptr_t FileOpen(const AnsiString& name, TOpenMode mode) {
  int flags = mode == omRead ? O_RDONLY : (mode == omWrite ? O_WRONLY : O_RDWR);
  int fd = open(N(name).c_str(), flags | O_CLOEXEC);
  if (fd >= 0) {
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
      close(fd);
      errno = EISDIR;
      return -1;
    }
  }
  return fd;
}

std::intptr_t FileCreate(const AnsiString& name) {
  return open(N(name).c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
}

std::intptr_t FileRead(std::intptr_t h, void* buf, std::intptr_t count) {
  std::intptr_t done = 0;
  while (done < count) {
    ssize_t r = read(static_cast<int>(h), static_cast<char*>(buf) + done, static_cast<std::size_t>(count - done));
    if (r < 0) {
      if (errno == EINTR) continue;
      return done ? done : -1;
    }
    if (r == 0) break;
    done += r;
  }
  return done;
}

std::intptr_t FileWrite(std::intptr_t h, const void* buf, std::intptr_t count) {
  std::intptr_t done = 0;
  while (done < count) {
    ssize_t r = write(static_cast<int>(h), static_cast<const char*>(buf) + done, static_cast<std::size_t>(count - done));
    if (r < 0) {
      if (errno == EINTR) continue;
      return done ? done : -1;
    }
    done += r;
  }
  return done;
}

Int64 FileSeek(std::intptr_t h, Int64 offset, int origin) {
  int whence = origin == 0 ? SEEK_SET : (origin == 1 ? SEEK_CUR : SEEK_END);
  off_t r = lseek(static_cast<int>(h), static_cast<off_t>(offset), whence);
  return r < 0 ? -1 : static_cast<Int64>(r);
}

bool FileTruncate(std::intptr_t h) {
  off_t pos = lseek(static_cast<int>(h), 0, SEEK_CUR);
  return pos >= 0 && ftruncate(static_cast<int>(h), pos) == 0;
}

void FileClose(std::intptr_t h) {
  if (h >= 0) close(static_cast<int>(h));
}

namespace {
std::vector<std::string>& Args() {
  static std::vector<std::string> args = [] {
    std::vector<std::string> a;
    std::ifstream f("/proc/self/cmdline", std::ios::binary);
    std::string s;
    while (std::getline(f, s, '\0')) a.push_back(s);
    return a;
  }();
  return args;
}
}  // namespace

AnsiString ParamStr(int index) {
  if (index == 0) {
    std::vector<char> buf(PATH_MAX + 1);
    ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n > 0) return A(std::string(buf.data(), static_cast<std::size_t>(n)));
  }
  auto& a = Args();
  if (index < 0 || static_cast<std::size_t>(index) >= a.size()) return AnsiString();
  return A(a[static_cast<std::size_t>(index)]);
}

int ParamCount() {
  auto& a = Args();
  return a.empty() ? 0 : static_cast<int>(a.size()) - 1;
}

}  // namespace dk_platform

#endif  // !_WIN32
