// Catalogues appended to the program file.
//
// The program holds the marker text below followed by a little-endian 64-bit
// file position; a packing tool writes the position of the first record of a
// chain of records behind the program's own bytes:
//   next (8) | offset of the catalogue (8) | its size (8) | name up to next
// each number a little-endian signed 64-bit value, next 0 ending the chain.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace i18n {

inline constexpr char AppendedMarker[] = "6637DB2E-62E1-4A60-AC19-C23867046A89";
inline constexpr std::size_t AppendedMarkerLength = sizeof AppendedMarker - 1;  // 36

struct TAssemblyFileInfo {
  std::int64_t Offset = 0;
  std::int64_t Size = 0;
};

// Reads n bytes at a file position; false when they are not all there.
using TReadAt = std::function<bool(std::int64_t position, void* buffer, std::size_t n)>;

class TAssemblyAnalyzer {
 public:
  // Builds the index from the chain starting at firstRecord (0: nothing is
  // appended) in the program file executable. A damaged chain (a short read, a
  // record before its own header, a loop, a duplicate name) ends the scan; the
  // records read before it stay.
  void Analyze(const std::string& executable, std::int64_t firstRecord, const TReadAt& read);
  // The same, reading the file itself.
  void Analyze(const std::string& executable, std::int64_t firstRecord);

  // The name relative to the program folder, or empty when fullName is not
  // below it. Path delimiters of either kind match.
  bool HasFile(const std::string& fullName) const;
  struct TPlacement {
    std::string FileName;
    std::int64_t Offset = 0;
    std::int64_t Size = 0;
  };
  TPlacement FindFile(const std::string& fullName) const;

  const std::string& BaseDirectory() const { return BaseDirectory_; }
  std::size_t Count() const { return Files_.size(); }

 private:
  const TAssemblyFileInfo* Find(const std::string& fullName) const;

  std::string Executable_;
  std::string BaseDirectory_;
  // Keys: upper-cased names with '\' as the delimiter.
  std::map<std::string, TAssemblyFileInfo> Files_;
};

// Key form of a catalogue name: upper case (ASCII), '/' as '\'.
std::string AppendedKey(std::string_view name);

}  // namespace i18n
