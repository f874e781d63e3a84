// Catalogue files into the catalogue reader, the text rules applied to what it
// finds, and the same bytes as a program file with appended catalogues.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "i18n/AppendedCatalogues.h"
#include "i18n/GettextText.h"
#include "i18n/MoCatalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // An exact-size copy: any read past the catalogue is caught.
  std::vector<std::uint8_t> bytes(data, data + size);
  i18n::TMoCatalogue mo;
  if (mo.Open(bytes.data(), bytes.size())) {
    const std::uint32_t n = mo.StringCount() < 4096 ? mo.StringCount() : 4096;
    std::u16string text;
    for (std::uint32_t i = 0; i < n; ++i) {
      auto found = mo.Lookup(mo.Msgid(i));
      if (!found) continue;  // unsorted tables may hide entries; that is allowed
      // The key built in place equals the one built as a string.
      if (i18n::DecodeTranslation(*found, text) && i18n::TCatalogueKey(text).View() != i18n::CatalogueKey(text))
        __builtin_trap();
      if (auto plain = i18n::FromUtf8(*found)) (void)i18n::ToUtf8(*plain);
    }
    for (const char* key : {"", "Hello", "\xff\xff", "%d file"}) (void)mo.Lookup(key);
    if (auto header = mo.Lookup("")) {
      (void)i18n::HeaderField(*header, "Last-Translator");
      (void)i18n::PluralRuleFor(i18n::HeaderField(*header, "Language"))(-2147483647 - 1);
    }
  }
  // The bytes as a program file: the first eight give the first record.
  if (size >= 8) {
    std::int64_t first = 0;
    std::memcpy(&first, data, 8);
    i18n::TAssemblyAnalyzer index;
    index.Analyze("C:\\p\\x.exe", first, [&](std::int64_t pos, void* buf, std::size_t n) {
      if (pos < 0 || std::uint64_t(pos) > bytes.size() || bytes.size() - std::size_t(pos) < n) return false;
      std::memcpy(buf, bytes.data() + pos, n);
      return true;
    });
    (void)index.FindFile("C:\\p\\locale\\ru\\LC_MESSAGES\\default.mo");
  }
  return 0;
}
