// Reader of GNU gettext machine-object catalogues (".mo") over a byte buffer.
//
// The buffer is the whole catalogue (a mapped file, or the part of the program
// file where an appended catalogue lies). Open() checks the header, both string
// tables and every string against the buffer before anything is looked up, so
// a damaged or hostile file is refused as a whole and no later lookup can read
// outside the buffer. Lookups search the sorted msgid table by halving; the
// hash table of the format is not needed and may be absent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace i18n {

class TMoCatalogue {
 public:
  static constexpr std::uint32_t Magic = 0x950412DE;
  static constexpr std::uint32_t MagicSwapped = 0xDE120495;
  static constexpr std::size_t HeaderSize = 28;

  // Takes the catalogue in data[0, size). Returns false (and stays closed) when
  // it is not a well-formed catalogue. The buffer must outlive the reader.
  bool Open(const void* data, std::size_t size);
  void Close();
  bool IsOpen() const { return Data_ != nullptr; }

  bool Swapped() const { return Swapped_; }
  std::uint32_t StringCount() const { return Count_; }

  // The translation of msgid (its bytes as stored, plural forms separated by
  // zero bytes), or nothing when the catalogue holds no entry for it.
  std::optional<std::string_view> Lookup(std::string_view msgid) const;
  // The entry (0-based) whose msgid is msgid, or nothing.
  std::optional<std::uint32_t> Find(std::string_view msgid) const;

  // Entry i (0-based) of the two tables; i must be below StringCount().
  std::string_view Msgid(std::uint32_t i) const;
  std::string_view Translation(std::uint32_t i) const;

 private:
  std::uint32_t Word(std::uint64_t offset) const;
  std::string_view Entry(std::uint32_t table, std::uint32_t i) const;

  const unsigned char* Data_ = nullptr;
  std::size_t Size_ = 0;
  bool Swapped_ = false;
  std::uint32_t Count_ = 0;
  std::uint32_t MsgidTable_ = 0;
  std::uint32_t TranslationTable_ = 0;
};

}  // namespace i18n
