// Exceptions, resource strings, code page conversions and text functions.
#include "classlib/core/SysUtils.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "classlib/core/SysConsts.h"

// ------------------------------------------------------------ resource strings

namespace {
std::atomic<TResStringLoader> g_loader{nullptr};
}

std::string LoadResString(PResStringRec rec) {
  if (!rec) return std::string();
  if (TResStringLoader loader = g_loader.load(std::memory_order_acquire)) return loader(rec);
  return rec->Text ? std::string(rec->Text) : std::string();
}

std::u16string LoadResStringW(PResStringRec rec) { return AnsiToWide(LoadResString(rec)); }

TResStringLoader SetResStringLoader(TResStringLoader loader) {
  return g_loader.exchange(loader, std::memory_order_acq_rel);
}

TResStringLoader GetResStringLoader() { return g_loader.load(std::memory_order_acquire); }

// ------------------------------------------------------------------ exceptions

TVarRec::TVarRec(const WideString& v) : VType(vtString), VString(WideToAnsi(v)) {}
TVarRec::TVarRec(const char16_t* v) : VType(vtString), VString(v ? WideToAnsi(WideString(v)) : AnsiString()) {}

Exception::Exception(const AnsiString& fmt, std::initializer_list<TVarRec> args) : Message(Format(fmt, args)) {}
Exception::Exception(PResStringRec res) : Message(LoadResString(res)) {}
Exception::Exception(PResStringRec res, std::initializer_list<TVarRec> args)
    : Message(Format(LoadResString(res), args)) {}

void Abort() { throw EAbort(LoadResString(&SOperationAborted)); }

void RaiseLastOSError() { RaiseLastOSError(GetLastOSError()); }

void RaiseLastOSError(Cardinal code) {
  EOSError e;
  if (code != 0)
    e = EOSError(LoadResString(&SOSError), {static_cast<int>(code), SysErrorMessage(code)});
  else
    e = EOSError(LoadResString(&SUnkOSError));
  e.ErrorCode = code;
  throw e;
}

// --------------------------------------------------------- code page 1251

namespace {

struct CaseTables {
  unsigned char upper[256];
  unsigned char lower[256];
  // Collation weight of each byte, case folded; letters of one case differ
  // from the other only in caseBit.
  unsigned short weight[256];
  unsigned char isUpper[256];
  CaseTables() {
    for (int i = 0; i < 256; ++i) upper[i] = lower[i] = static_cast<unsigned char>(i), isUpper[i] = 0;
    auto byteOf = [](char32_t c) { return dk_cp1251::FromUnicode(c); };
    for (int i = 0; i < 256; ++i) {
      char16_t u = dk_cp1251::ToUnicode(static_cast<unsigned char>(i));
      char32_t up = u, lo = u;
      if (u >= 'a' && u <= 'z') up = u - 32;
      else if (u >= 'A' && u <= 'Z') lo = u + 32;
      else if (u >= 0x0430 && u <= 0x044F) up = u - 0x20;
      else if (u >= 0x0410 && u <= 0x042F) lo = u + 0x20;
      else if (u >= 0x0450 && u <= 0x045F) up = u - 0x50;
      else if (u >= 0x0400 && u <= 0x040F) lo = u + 0x50;
      else if (u == 0x0491) up = 0x0490;
      else if (u == 0x0490) lo = 0x0491;
      int ub = byteOf(up), lb = byteOf(lo);
      if (ub >= 0) upper[i] = static_cast<unsigned char>(ub);
      if (lb >= 0) lower[i] = static_cast<unsigned char>(lb);
      if (lb >= 0 && lb != i) isUpper[i] = 1;
    }
    // Collation: other characters by code (ASCII punctuation, then the other
    // symbols), then digits, then Latin letters, then Cyrillic letters in
    // alphabetical order (Ё after Е).
    static const char16_t cyr[] = u"абвгґдђѓеёєжзѕиіїйјклљмнњопрстћќуўфхцчџшщъыьэюя";
    for (int i = 0; i < 256; ++i) weight[i] = static_cast<unsigned short>(i);  // symbols: 0..255
    for (int d = 0; d < 10; ++d) weight['0' + d] = static_cast<unsigned short>(0x200 + d);
    for (int l = 0; l < 26; ++l) weight['a' + l] = weight['A' + l] = static_cast<unsigned short>(0x300 + l);
    for (int k = 0; cyr[k]; ++k) {
      int lb = byteOf(cyr[k]);
      weight[lb] = static_cast<unsigned short>(0x400 + k);
      weight[upper[lb]] = weight[lb];
    }
  }
};

const CaseTables& Tables() {
  static const CaseTables t;
  return t;
}

}  // namespace

WideString AnsiToWide(const AnsiString& s) {
  WideString r;
  r.reserve(s.size());
  for (unsigned char c : s) r.push_back(dk_cp1251::ToUnicode(c));
  return r;
}

namespace {
// Next code point of UTF-16 text; lone surrogates give U+FFFD.
char32_t NextUtf16(const WideString& s, std::size_t& i) {
  char16_t c = s[i++];
  if (c >= 0xD800 && c <= 0xDBFF) {
    if (i < s.size() && s[i] >= 0xDC00 && s[i] <= 0xDFFF) {
      char32_t cp = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(s[i]) - 0xDC00);
      ++i;
      return cp;
    }
    return 0xFFFD;
  }
  if (c >= 0xDC00 && c <= 0xDFFF) return 0xFFFD;
  return c;
}

char AnsiOf(char32_t cp) {
  int b = dk_cp1251::FromUnicode(cp);
  return b < 0 ? '?' : static_cast<char>(b);
}
}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

AnsiString WideToAnsi(const WideString& s) {
  AnsiString r;
  r.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) r.push_back(AnsiOf(NextUtf16(s, i)));
  return r;
}

std::string AnsiToUtf8(const AnsiString& s) {
  std::string r;
  r.reserve(s.size() * 2);
  for (unsigned char c : s) AppendUtf8(r, dk_cp1251::ToUnicode(c));
  return r;
}

AnsiString Utf8ToAnsi(const std::string& s) {
  AnsiString r;
  r.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    char32_t cp = dk_cp1251::DecodeUtf8(s.data(), s.size(), i);
    r.push_back(cp == 0xFFFFFFFFu ? '?' : AnsiOf(cp));
  }
  return r;
}

std::string WideToUtf8(const WideString& s) {
  std::string r;
  r.reserve(s.size() * 2);
  for (std::size_t i = 0; i < s.size();) AppendUtf8(r, NextUtf16(s, i));
  return r;
}

WideString Utf8ToWide(const std::string& s) {
  WideString r;
  r.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    char32_t cp = dk_cp1251::DecodeUtf8(s.data(), s.size(), i);
    if (cp == 0xFFFFFFFFu) cp = 0xFFFD;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      r.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      r.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      r.push_back(static_cast<char16_t>(cp));
    }
  }
  return r;
}

// ------------------------------------------------------------------ case

AnsiString UpperCase(const AnsiString& s) {
  AnsiString r = s;
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return r;
}

AnsiString LowerCase(const AnsiString& s) {
  AnsiString r = s;
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return r;
}

int CompareStr(const AnsiString& a, const AnsiString& b) {
  std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    int d = int(static_cast<unsigned char>(a[i])) - int(static_cast<unsigned char>(b[i]));
    if (d) return d;
  }
  return int(a.size() > b.size()) - int(a.size() < b.size());
}

int CompareText(const AnsiString& a, const AnsiString& b) {
  std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    int x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x -= 32;
    if (y >= 'a' && y <= 'z') y -= 32;
    if (x != y) return x - y;
  }
  return int(a.size() > b.size()) - int(a.size() < b.size());
}

bool SameText(const AnsiString& a, const AnsiString& b) { return a.size() == b.size() && CompareText(a, b) == 0; }
bool SameStr(const AnsiString& a, const AnsiString& b) { return a == b; }

char AnsiUpperChar(char c) { return static_cast<char>(Tables().upper[static_cast<unsigned char>(c)]); }
char AnsiLowerChar(char c) { return static_cast<char>(Tables().lower[static_cast<unsigned char>(c)]); }

AnsiString AnsiUpperCase(const AnsiString& s) {
  AnsiString r = s;
  for (char& c : r) c = AnsiUpperChar(c);
  return r;
}

AnsiString AnsiLowerCase(const AnsiString& s) {
  AnsiString r = s;
  for (char& c : r) c = AnsiLowerChar(c);
  return r;
}

int AnsiCompareText(const AnsiString& a, const AnsiString& b) {
  const CaseTables& t = Tables();
  std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    int x = t.weight[static_cast<unsigned char>(a[i])], y = t.weight[static_cast<unsigned char>(b[i])];
    if (x != y) return x < y ? -1 : 1;
  }
  return int(a.size() > b.size()) - int(a.size() < b.size());
}

int AnsiCompareStr(const AnsiString& a, const AnsiString& b) {
  int r = AnsiCompareText(a, b);
  if (r) return r;
  // Same letters: the first difference in case decides, lower case first.
  const CaseTables& t = Tables();
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x != y) {
      if (t.isUpper[x] != t.isUpper[y]) return t.isUpper[x] ? 1 : -1;
      return x < y ? -1 : 1;
    }
  }
  return 0;
}

bool AnsiSameText(const AnsiString& a, const AnsiString& b) { return AnsiCompareText(a, b) == 0; }
bool AnsiSameStr(const AnsiString& a, const AnsiString& b) { return a == b; }

// ------------------------------------------------------------------ text

AnsiString Trim(const AnsiString& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

AnsiString TrimLeft(const AnsiString& s) {
  std::size_t b = 0;
  while (b < s.size() && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  return s.substr(b);
}

AnsiString TrimRight(const AnsiString& s) {
  std::size_t e = s.size();
  while (e > 0 && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(0, e);
}

int Pos(const AnsiString& sub, const AnsiString& s) { return PosEx(sub, s, 1); }

int PosEx(const AnsiString& sub, const AnsiString& s, int offset) {
  if (sub.empty() || offset < 1 || static_cast<std::size_t>(offset) > s.size()) return 0;
  std::size_t p = s.find(sub, static_cast<std::size_t>(offset - 1));
  return p == std::string::npos ? 0 : static_cast<int>(p) + 1;
}

int AnsiPos(const AnsiString& sub, const AnsiString& s) { return Pos(sub, s); }

AnsiString Copy(const AnsiString& s, int index, int count) {
  if (index < 1) index = 1;
  if (count <= 0 || static_cast<std::size_t>(index) > s.size()) return AnsiString();
  return s.substr(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count));
}

AnsiString Copy(const AnsiString& s, int index) {
  if (index < 1) index = 1;
  if (static_cast<std::size_t>(index) > s.size()) return AnsiString();
  return s.substr(static_cast<std::size_t>(index - 1));
}

void Delete(AnsiString& s, int index, int count) {
  if (index < 1 || count <= 0 || static_cast<std::size_t>(index) > s.size()) return;
  s.erase(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count));
}

void Insert(const AnsiString& sub, AnsiString& s, int index) {
  if (index < 1) index = 1;
  std::size_t at = std::min(static_cast<std::size_t>(index - 1), s.size());
  s.insert(at, sub);
}

int LastDelimiter(const AnsiString& delimiters, const AnsiString& s) {
  std::size_t p = s.find_last_of(delimiters);
  return p == std::string::npos ? 0 : static_cast<int>(p) + 1;
}

AnsiString StringOfChar(char c, int count) { return count > 0 ? AnsiString(static_cast<std::size_t>(count), c) : ""; }

AnsiString StringReplace(const AnsiString& s, const AnsiString& oldPattern, const AnsiString& newPattern,
                         TReplaceFlags flags) {
  if (oldPattern.empty()) return s;
  const bool all = (flags & rfReplaceAll) != 0;
  const bool ignoreCase = (flags & rfIgnoreCase) != 0;
  const AnsiString hay = ignoreCase ? AnsiUpperCase(s) : s;
  const AnsiString needle = ignoreCase ? AnsiUpperCase(oldPattern) : oldPattern;
  AnsiString r;
  std::size_t from = 0;
  while (true) {
    std::size_t p = hay.find(needle, from);
    if (p == std::string::npos) break;
    r.append(s, from, p - from);
    r += newPattern;
    from = p + needle.size();
    if (!all) break;
  }
  r.append(s, from, std::string::npos);
  return r;
}

AnsiString QuotedStr(const AnsiString& s) { return AnsiQuotedStr(s, '\''); }

AnsiString AnsiQuotedStr(const AnsiString& s, char quote) {
  AnsiString r(1, quote);
  for (char c : s) {
    r.push_back(c);
    if (c == quote) r.push_back(c);
  }
  r.push_back(quote);
  return r;
}

AnsiString AnsiExtractQuotedStr(const AnsiString& s, int& index, char quote) {
  std::size_t i = static_cast<std::size_t>(index < 1 ? 1 : index) - 1;
  if (i >= s.size() || s[i] != quote) return AnsiString();
  AnsiString r;
  ++i;
  while (i < s.size()) {
    if (s[i] == quote) {
      if (i + 1 < s.size() && s[i + 1] == quote) {
        r.push_back(quote);
        i += 2;
        continue;
      }
      ++i;
      break;
    }
    r.push_back(s[i++]);
  }
  index = static_cast<int>(i) + 1;
  return r;
}

AnsiString AnsiDequotedStr(const AnsiString& s, char quote) {
  int index = 1;
  if (s.empty() || s[0] != quote) return s;
  AnsiString r = AnsiExtractQuotedStr(s, index, quote);
  if (r.empty() && index == 2) return s;  // a lone quote
  return r;
}
