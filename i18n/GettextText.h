// Text rules of the translation runtime that need no platform: UTF-8 keys and
// answers, line ends, plural forms, language codes, catalogue header fields and
// the catalogue source written for texts found untranslated.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace i18n {

// UTF-16 to UTF-8. A lone surrogate (not text a catalogue can hold) becomes
// U+FFFD.
std::string ToUtf8(std::u16string_view text);

// UTF-8 to UTF-16: one- to four-byte sequences, four-byte ones as surrogate
// pairs. Nothing for invalid input (a bad or missing continuation byte, a
// sequence cut short, an overlong form, an encoded surrogate, a value above
// U+10FFFF).
std::optional<std::u16string> FromUtf8(std::string_view utf8);

// The catalogue key of a text's UTF-8 bytes: every carriage return removed.
std::string RemoveCarriageReturns(std::string_view utf8);
// The same in one step from the 16-bit text.
std::string CatalogueKey(std::u16string_view text);

// The catalogue key of a 16-bit text built in place (a short text needs no
// allocation), zero-terminated.
class TCatalogueKey {
 public:
  explicit TCatalogueKey(std::u16string_view text);
  TCatalogueKey(const TCatalogueKey&) = delete;
  TCatalogueKey& operator=(const TCatalogueKey&) = delete;

  std::string_view View() const { return {Data_, Size_}; }
  const char* CStr() const { return Data_; }

 private:
  char Inline_[384];
  std::string Heap_;
  const char* Data_ = nullptr;
  std::size_t Size_ = 0;
};
// A translation found: UTF-8 decoded into out (replacing it) with a carriage
// return put before every line feed that has none; false for invalid UTF-8.
bool DecodeTranslation(std::string_view utf8, std::u16string& out);

// A line feed not preceded by a carriage return gets one in front of it.
std::string ToCrLf(std::string_view text);

// Plural-form rule: count to 0-based form index.
using TPluralRule = int (*)(std::int32_t count);
// The rule for a language code ("de", "pt_BR", "pl_PL", ...).
TPluralRule PluralRuleFor(std::string_view languageCode);
// Form 0 for one, form 1 otherwise (also used when nothing was found).
int PluralRuleGermanic(std::int32_t count);

// The code chosen when the caller names none: the environment variable LANG
// when set, else the system's language, in either case cut before its first '.'
// ("de_DE.UTF-8" gives "de_DE").
std::string LanguageFromEnvironment(std::string_view langVariable, std::string_view systemLanguage);
// The system's language from the user locale's ISO 639 language and ISO 3166
// country names (each empty when not a two-letter name), else from the thread
// locale identifier by the runtime's own table ("C" when not listed).
std::string SystemLanguageCode(std::string_view iso639, std::string_view iso3166, std::uint32_t threadLocale);

// A field of a catalogue header ("Last-Translator" and so on; the name is
// compared without regard to case), trimmed; empty when the header lacks it.
std::string HeaderField(std::string_view headerUtf8, std::string_view name);

// The catalogue source of untranslated texts: the header entry, and one entry
// per key (a key with a zero byte is a singular and plural pair).
std::string PoHeader();
std::string PoEntry(std::string_view keyUtf8);
// A UTF-8 text as one or more quoted pieces of a catalogue source.
std::string PoQuote(std::string_view utf8);

}  // namespace i18n
