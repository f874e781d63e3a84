// The platform part of the translation runtime for the native builds.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "classlib/core/SysUtils.h"
#include "i18n/GettextPlatform.h"

namespace i18n::platform {

namespace {
class TPosixMapping : public TMappedFile {
 public:
  ~TPosixMapping() override {
    if (View) munmap(View, Length);
  }
  void* View = nullptr;
  std::size_t Length = 0;
};
}  // namespace

std::unique_ptr<TMappedFile> MapFile(const std::string& name) {
  const int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw Exception("Cannot open file " + name);
  struct stat st {};
  if (fstat(fd, &st) != 0) {
    close(fd);
    throw Exception("Cannot create memory map on file " + name);
  }
  auto m = std::make_unique<TPosixMapping>();
  m->Length = static_cast<std::size_t>(st.st_size);
  if (m->Length > 0) {
    m->View = mmap(nullptr, m->Length, PROT_READ, MAP_PRIVATE, fd, 0);
    if (m->View == MAP_FAILED) {
      const int err = errno;
      m->View = nullptr;
      close(fd);
      throw Exception("Cannot map file " + name + " into memory. Reason: " + std::strerror(err));
    }
  }
  close(fd);
  m->Data = static_cast<const unsigned char*>(m->View);
  m->Size = m->Length;
  return m;
}

bool FileExists(const std::string& name) {
  struct stat st {};
  return stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string ExecutableFileName() {
  std::vector<char> buffer(4096);
  const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
  return n > 0 ? std::string(buffer.data(), std::size_t(n)) : std::string();
}

std::string LangVariable() {
  const char* v = std::getenv("LANG");
  return v ? v : "";
}

std::string SystemLanguage() {
  // The C library's message locale stands for the user's locale here.
  for (const char* var : {"LC_ALL", "LC_MESSAGES"}) {
    const char* v = std::getenv(var);
    if (v && *v) {
      std::string s(v);
      return s.substr(0, s.find_first_of(".@"));
    }
  }
  return "C";
}

std::optional<std::u16string> LoadStringTableEntry(std::int32_t) { return std::nullopt; }

bool LoadExternalGettext(const std::string&, TExternalGettext&) { return false; }
void FreeExternalGettext(TExternalGettext& lib) { lib = TExternalGettext(); }

}  // namespace i18n::platform
