#include "i18n/MoCatalogue.h"

#include <bit>
#include <cstring>

namespace i18n {

namespace {
// Byte order of two strings as unsigned bytes, a prefix before the longer
// string; eight bytes at a time, as most probes differ only after a common
// start of several words.
int CompareBytes(std::string_view a, std::string_view b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  std::size_t k = 0;
  for (; k + 8 <= n; k += 8) {
    std::uint64_t x, y;
    std::memcpy(&x, a.data() + k, 8);
    std::memcpy(&y, b.data() + k, 8);
    if (x != y) {
      if constexpr (std::endian::native == std::endian::little) {
        x = __builtin_bswap64(x);
        y = __builtin_bswap64(y);
      }
      return x < y ? -1 : 1;
    }
  }
  for (; k < n; ++k)
    if (a[k] != b[k]) return static_cast<unsigned char>(a[k]) < static_cast<unsigned char>(b[k]) ? -1 : 1;
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

std::uint32_t ReadLE(const unsigned char* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
std::uint32_t ReadBE(const unsigned char* p) {
  return std::uint32_t(p[3]) | std::uint32_t(p[2]) << 8 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[0]) << 24;
}
}  // namespace

std::uint32_t TMoCatalogue::Word(std::uint64_t offset) const {
  const unsigned char* p = Data_ + offset;
  return Swapped_ ? ReadBE(p) : ReadLE(p);
}

bool TMoCatalogue::Open(const void* data, std::size_t size) {
  Close();
  if (!data || size < HeaderSize) return false;
  Data_ = static_cast<const unsigned char*>(data);
  Size_ = size;
  const std::uint32_t magic = ReadLE(Data_);
  if (magic == Magic) {
    Swapped_ = false;
  } else if (magic == MagicSwapped) {
    Swapped_ = true;
  } else {
    Close();
    return false;
  }
  Count_ = Word(8);
  MsgidTable_ = Word(12);
  TranslationTable_ = Word(16);
  // Both tables, then every string, lie inside the buffer.
  const std::uint64_t tableBytes = std::uint64_t(Count_) * 8;
  if (std::uint64_t(MsgidTable_) + tableBytes > Size_ || std::uint64_t(TranslationTable_) + tableBytes > Size_) {
    Close();
    return false;
  }
  for (std::uint32_t table : {MsgidTable_, TranslationTable_}) {
    for (std::uint64_t at = table, end = table + tableBytes; at < end; at += 8) {
      if (std::uint64_t(Word(at)) + Word(at + 4) > Size_) {
        Close();
        return false;
      }
    }
  }
  return true;
}

void TMoCatalogue::Close() {
  Data_ = nullptr;
  Size_ = 0;
  Swapped_ = false;
  Count_ = MsgidTable_ = TranslationTable_ = 0;
}

std::string_view TMoCatalogue::Entry(std::uint32_t table, std::uint32_t i) const {
  const std::uint64_t at = table + std::uint64_t(i) * 8;
  return {reinterpret_cast<const char*>(Data_) + Word(at + 4), Word(at)};
}

std::string_view TMoCatalogue::Msgid(std::uint32_t i) const { return Entry(MsgidTable_, i); }
std::string_view TMoCatalogue::Translation(std::uint32_t i) const { return Entry(TranslationTable_, i); }

std::optional<std::string_view> TMoCatalogue::Lookup(std::string_view msgid) const {
  const std::optional<std::uint32_t> i = Find(msgid);
  if (!i) return std::nullopt;
  return Translation(*i);
}

std::optional<std::uint32_t> TMoCatalogue::Find(std::string_view msgid) const {
  if (!Data_ || Count_ == 0) return std::nullopt;
  // Positions 1..N; start at the largest power of two not above N and halve
  // the step each round, clamping to the ends of the table.
  std::uint32_t b = 1;
  while (b <= Count_ / 2) b *= 2;
  std::uint32_t c = b / 2;
  for (;;) {
    const int cmp = CompareBytes(msgid, Msgid(b - 1));
    if (cmp == 0) return b - 1;
    if (c == 0) return std::nullopt;
    if (cmp < 0)
      b = b > c ? b - c : 1;
    else
      b = std::uint64_t(b) + c > Count_ ? Count_ : b + c;
    c /= 2;
  }
}

}  // namespace i18n
