#include "i18n/GettextText.h"

#include <cstdlib>
#include <cstring>

namespace i18n {

namespace {
// Copies four units at a time while they are ASCII other than a carriage
// return (the usual key); returns the index reached.
template <bool SkipCR>
std::size_t CopyAscii(std::u16string_view text, std::size_t i, char*& o) {
  for (; i + 4 <= text.size(); i += 4, o += 4) {
    std::uint64_t v;
    std::memcpy(&v, text.data() + i, 8);
    if (v & 0xFF80FF80FF80FF80ull) break;
    if (SkipCR) {  // a unit equal to 13 gives a zero unit
      const std::uint64_t x = v ^ 0x000D000D000D000Dull;
      if ((x - 0x0001000100010001ull) & ~x & 0x8000800080008000ull) break;
    }
    for (int k = 0; k < 4; ++k) o[k] = char(text[i + std::size_t(k)]);
  }
  return i;
}

// Writes at most three bytes per unit from o on and returns the end.
template <bool SkipCR>
char* EncodeTo(std::u16string_view text, char* o) {
  for (std::size_t i = CopyAscii<SkipCR>(text, 0, o); i < text.size(); i = CopyAscii<SkipCR>(text, i + 1, o)) {
    std::uint32_t c = text[i];
    if (c < 0x80) {
      if (!(SkipCR && c == '\r')) *o++ = char(c);
      continue;
    }
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x800) {
      *o++ = char(0xC0 | c >> 6);
      *o++ = char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      *o++ = char(0xE0 | c >> 12);
      *o++ = char(0x80 | (c >> 6 & 0x3F));
      *o++ = char(0x80 | (c & 0x3F));
    } else {  // a pair: two units in, four bytes out
      *o++ = char(0xF0 | c >> 18);
      *o++ = char(0x80 | (c >> 12 & 0x3F));
      *o++ = char(0x80 | (c >> 6 & 0x3F));
      *o++ = char(0x80 | (c & 0x3F));
    }
  }
  return o;
}

// Into a buffer sized for the longest result, then cut.
template <bool SkipCR>
std::string Encode(std::u16string_view text) {
  std::string out(text.size() * 3, '\0');
  out.resize(std::size_t(EncodeTo<SkipCR>(text, out.data()) - out.data()));
  return out;
}

template <bool CrLf>
bool Decode(std::string_view s, std::u16string& out) {
  // At most one unit per byte, plus a carriage return per line feed.
  out.resize(CrLf ? s.size() * 2 : s.size());
  char16_t* o = out.data();
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char b = s[i];
    if (b < 0x80) {
      if (CrLf && b == '\n' && (i == 0 || s[i - 1] != '\r')) *o++ = u'\r';
      *o++ = char16_t(b);
      ++i;
      continue;
    }
    std::size_t len;
    std::uint32_t c, min;
    if (b >= 0xC2 && b <= 0xDF) {
      len = 2, c = b & 0x1F, min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
      len = 3, c = b & 0x0F, min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
      len = 4, c = b & 0x07, min = 0x10000;
    } else {
      out.clear();
      return false;
    }
    if (s.size() - i < len) {
      out.clear();
      return false;
    }
    for (std::size_t k = 1; k < len; ++k) {
      const unsigned char t = s[i + k];
      if ((t & 0xC0) != 0x80) {
        out.clear();
        return false;
      }
      c = c << 6 | (t & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      out.clear();
      return false;
    }
    if (c >= 0x10000) {
      c -= 0x10000;
      *o++ = char16_t(0xD800 + (c >> 10));
      *o++ = char16_t(0xDC00 + (c & 0x3FF));
    } else {
      *o++ = char16_t(c);
    }
    i += len;
  }
  out.resize(std::size_t(o - out.data()));
  return true;
}
}  // namespace

std::string ToUtf8(std::u16string_view text) { return Encode<false>(text); }
std::string CatalogueKey(std::u16string_view text) { return Encode<true>(text); }

TCatalogueKey::TCatalogueKey(std::u16string_view text) {
  char* out = Inline_;
  if (text.size() * 3 >= sizeof Inline_) {
    Heap_.resize(text.size() * 3 + 1);
    out = Heap_.data();
  }
  char* end = EncodeTo<true>(text, out);
  *end = '\0';
  Data_ = out;
  Size_ = std::size_t(end - out);
}

std::optional<std::u16string> FromUtf8(std::string_view s) {
  std::u16string out;
  if (!Decode<false>(s, out)) return std::nullopt;
  return out;
}

bool DecodeTranslation(std::string_view utf8, std::u16string& out) { return Decode<true>(utf8, out); }


std::string RemoveCarriageReturns(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char ch : s)
    if (ch != '\r') out += ch;
  return out;
}

std::string ToCrLf(std::string_view s) {
  std::string out;
  out.reserve(s.size() + 8);
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) out += '\r';
    out += s[i];
  }
  return out;
}

// ------------------------------------------------------------ plural forms
// n is the count's magnitude; unsigned, so the most negative count is fine.
namespace {
std::uint32_t Magnitude(std::int32_t count) {
  return count < 0 ? 0u - std::uint32_t(count) : std::uint32_t(count);
}
int RuleOneForm(std::int32_t) { return 0; }
int RuleZeroOne(std::int32_t count) { return Magnitude(count) <= 1 ? 0 : 1; }
int RuleLatvian(std::int32_t count) {
  const auto n = Magnitude(count);
  return n % 10 == 1 && n % 100 != 11 ? 0 : n != 0 ? 1 : 2;
}
int RuleIrish(std::int32_t count) {
  const auto n = Magnitude(count);
  return n == 1 ? 0 : n == 2 ? 1 : 2;
}
int RuleLithuanian(std::int32_t count) {
  const auto n = Magnitude(count);
  return n % 10 == 1 && n % 100 != 11 ? 0 : n % 10 >= 2 && (n % 100 < 10 || n % 100 >= 20) ? 1 : 2;
}
int RuleEastSlavic(std::int32_t count) {
  const auto n = Magnitude(count);
  return n % 10 == 1 && n % 100 != 11                                   ? 0
         : n % 10 >= 2 && n % 10 <= 4 && (n % 100 < 10 || n % 100 >= 20) ? 1
                                                                          : 2;
}
int RuleCzechSlovak(std::int32_t count) {
  const auto n = Magnitude(count);
  return n == 1 ? 0 : n >= 2 && n <= 4 ? 1 : 2;
}
int RulePolish(std::int32_t count) {
  const auto n = Magnitude(count);
  return n == 1 ? 0 : n % 10 >= 2 && n % 10 <= 4 && (n % 100 < 10 || n % 100 >= 20) ? 1 : 2;
}
int RuleSlovenian(std::int32_t count) {
  const auto n = Magnitude(count) % 100;
  return n == 1 ? 0 : n == 2 ? 1 : n == 3 || n == 4 ? 2 : 3;
}
char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }
}  // namespace

int PluralRuleGermanic(std::int32_t count) { return Magnitude(count) == 1 ? 0 : 1; }

TPluralRule PluralRuleFor(std::string_view code) {
  std::string lower;
  for (char c : code) lower += Lower(c);
  const std::string_view two = std::string_view(lower).substr(0, 2);
  auto in = [&](std::initializer_list<std::string_view> list) {
    for (auto l : list)
      if (two == l) return true;
    return false;
  };
  if (in({"en", "de"})) return PluralRuleGermanic;
  if (in({"hu", "ko", "zh", "ja", "tr"})) return RuleOneForm;
  if (in({"fr", "fa"}) || lower == "pt_br") return RuleZeroOne;
  if (two == "lv") return RuleLatvian;
  if (two == "ga") return RuleIrish;
  if (two == "lt") return RuleLithuanian;
  if (in({"cs", "sk"})) return RuleCzechSlovak;
  if (in({"ru", "uk", "hr"})) return RuleEastSlavic;
  if (two == "pl") return RulePolish;
  if (two == "sl") return RuleSlovenian;
  return PluralRuleGermanic;
}

// ------------------------------------------------------------ language codes
std::string LanguageFromEnvironment(std::string_view lang, std::string_view systemLanguage) {
  std::string_view code = lang.empty() ? systemLanguage : lang;
  return std::string(code.substr(0, code.find('.')));
}

std::string SystemLanguageCode(std::string_view iso639, std::string_view iso3166, std::uint32_t threadLocale) {
  if (iso639.size() == 2 && iso3166.size() == 2) return std::string(iso639) + "_" + std::string(iso3166);
  static const struct {
    std::uint32_t Locale;
    const char* Code;
  } table[] = {{1030, "da_DK"}, {1031, "de_DE"}, {1032, "gr_GR"}, {1033, "en_US"}, {1034, "es_ES"},
               {1035, "fi_FI"}, {1036, "fr_FR"}, {1039, "is_IS"}, {1040, "it_IT"}, {1042, "ko_KO"},
               {1043, "nl_NL"}, {1044, "no_NO"}, {1045, "pl_PL"}, {1046, "pt_BR"}, {1049, "ru_RU"},
               {1053, "sv_SE"}, {2057, "en_UK"}, {2060, "fr_BE"}, {2067, "nl_BE"}, {2068, "nn_NO"},
               {2070, "pt_PT"}, {2077, "fi_SE"}, {3082, "es_ES"}, {3084, "fr_CA"}, {4103, "de_LU"}};
  for (const auto& row : table)
    if (row.Locale == threadLocale) return row.Code;
  return "C";
}

// ------------------------------------------------------------ header fields
std::string HeaderField(std::string_view header, std::string_view name) {
  std::string prefix;
  for (char c : name) prefix += c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
  prefix += ": ";
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!header.empty()) {
    std::size_t end = header.find_first_of("\r\n");
    std::string_view line = header.substr(0, end);
    header = end == std::string_view::npos ? std::string_view() : header.substr(end + 1);
    if (line.size() < prefix.size()) continue;
    bool match = true;
    for (std::size_t i = 0; i < prefix.size() && match; ++i) {
      char c = line[i];
      if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
      match = c == prefix[i];
    }
    if (!match) continue;
    std::string_view value = line.substr(prefix.size());
    while (!value.empty() && blank(value.front())) value.remove_prefix(1);
    while (!value.empty() && blank(value.back())) value.remove_suffix(1);
    return std::string(value);
  }
  return {};
}

// ------------------------------------------------------------ catalogue source
std::string PoQuote(std::string_view s) {
  std::string out = "\"";
  for (std::size_t i = 0; i < s.size(); ++i) {
    const unsigned char b = s[i];
    switch (b) {
      case '\n':
        out += "\\n\"";
        // A line ending the text closes the last piece; others continue on
        // the next line as a new piece.
        if (i + 1 < s.size()) out += "\n\"";
        else out.pop_back();
        break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      default:
        if (b < 32 || b == 127) {
          // Three octal digits: a following digit cannot join the escape.
          out += '\\';
          out += char('0' + (b >> 6));
          out += char('0' + (b >> 3 & 7));
          out += char('0' + (b & 7));
        } else {
          out += char(b);
        }
    }
  }
  out += '"';
  return out;
}

std::string PoHeader() {
  return "msgid \"\"\n"
         "msgstr \"\"\n"
         "\"Project-Id-Version: PACKAGE VERSION\\n\"\n"
         "\"PO-Revision-Date: YEAR-MO-DA HO:MI+ZONE\\n\"\n"
         "\"Last-Translator: FULL NAME <EMAIL@ADDRESS>\\n\"\n"
         "\"Language-Team: LANGUAGE <LL@li.org>\\n\"\n"
         "\"Language: \\n\"\n"
         "\"MIME-Version: 1.0\\n\"\n"
         "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
         "\"Content-Transfer-Encoding: 8bit\\n\"\n"
         "\"Plural-Forms: nplurals=2; plural=(n != 1);\\n\"\n"
         "\n";
}

std::string PoEntry(std::string_view key) {
  const std::size_t zero = key.find('\0');
  if (zero == std::string_view::npos) return "msgid " + PoQuote(key) + "\nmsgstr \"\"\n\n";
  return "msgid " + PoQuote(key.substr(0, zero)) + "\nmsgid_plural " + PoQuote(key.substr(zero + 1)) +
         "\nmsgstr[0] \"\"\nmsgstr[1] \"\"\n\n";
}

}  // namespace i18n
