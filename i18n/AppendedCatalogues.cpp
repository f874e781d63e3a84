#include "i18n/AppendedCatalogues.h"

#include <cstdio>
#include <set>

namespace i18n {

namespace {
constexpr std::int64_t MaxNameLength = 4096;
constexpr std::size_t MaxRecords = 65536;

std::int64_t Int64LE(const unsigned char* p) {
  std::uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = v << 8 | p[i];
  return static_cast<std::int64_t>(v);
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32) s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32) s.remove_suffix(1);
  return s;
}

std::size_t DirectoryPartLength(const std::string& file) {
  const std::size_t slash = file.find_last_of("\\/:");
  return slash == std::string::npos ? 0 : slash + 1;
}
}  // namespace

std::string AppendedKey(std::string_view name) {
  std::string key(name);
  for (char& c : key) {
    if (c == '/') c = '\\';
    else if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  }
  return key;
}

void TAssemblyAnalyzer::Analyze(const std::string& executable, std::int64_t firstRecord, const TReadAt& read) {
  Files_.clear();
  BaseDirectory_.clear();
  Executable_ = executable;
  if (firstRecord == 0) return;
  BaseDirectory_ = executable.substr(0, DirectoryPartLength(executable));
  std::set<std::int64_t> seen;
  std::int64_t position = firstRecord;
  while (position > 0 && seen.size() < MaxRecords && seen.insert(position).second) {
    unsigned char head[24];
    if (!read(position, head, 8)) return;
    const std::int64_t next = Int64LE(head);
    if (next == 0) return;
    if (!read(position + 8, head + 8, 16)) return;
    TAssemblyFileInfo info{Int64LE(head + 8), Int64LE(head + 16)};
    // The name runs from behind the record's numbers up to the next record.
    if (next < position + 24 || next - (position + 24) > MaxNameLength) return;
    std::string name(static_cast<std::size_t>(next - (position + 24)), '\0');
    if (!name.empty() && !read(position + 24, name.data(), name.size())) return;
    if (!Files_.emplace(AppendedKey(Trim(name)), info).second) return;
    position = next;
  }
}

void TAssemblyAnalyzer::Analyze(const std::string& executable, std::int64_t firstRecord) {
  if (firstRecord == 0) {
    Analyze(executable, 0, TReadAt());
    return;
  }
  std::FILE* f = std::fopen(executable.c_str(), "rb");
  if (!f) {
    Files_.clear();
    Executable_ = executable;
    BaseDirectory_ = executable.substr(0, DirectoryPartLength(executable));
    return;
  }
  Analyze(executable, firstRecord, [f](std::int64_t position, void* buffer, std::size_t n) {
#ifdef _WIN32
    if (position < 0 || _fseeki64(f, position, SEEK_SET) != 0) return false;
#else
    if (position < 0 || fseeko(f, off_t(position), SEEK_SET) != 0) return false;
#endif
    return std::fread(buffer, 1, n, f) == n;
  });
  std::fclose(f);
}

const TAssemblyFileInfo* TAssemblyAnalyzer::Find(const std::string& fullName) const {
  if (Files_.empty() || fullName.size() < BaseDirectory_.size() ||
      fullName.compare(0, BaseDirectory_.size(), BaseDirectory_) != 0)
    return nullptr;
  auto it = Files_.find(AppendedKey(std::string_view(fullName).substr(BaseDirectory_.size())));
  return it == Files_.end() ? nullptr : &it->second;
}

bool TAssemblyAnalyzer::HasFile(const std::string& fullName) const { return Find(fullName) != nullptr; }

TAssemblyAnalyzer::TPlacement TAssemblyAnalyzer::FindFile(const std::string& fullName) const {
  if (const TAssemblyFileInfo* info = Find(fullName)) return {Executable_, info->Offset, info->Size};
  return {fullName, 0, 0};
}

}  // namespace i18n
