// Integer and floating-point conversions, FormatFloat and Format.
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <tuple>
#include <utility>
#include <cstring>
#include <vector>

#include "classlib/core/SysConsts.h"
#include "classlib/core/SysUtils.h"

// ------------------------------------------------------------------ integers

Int64 ScaleCurrency(long double v) {
  const long double scaled = v * 10000.0L + (v < 0 ? -0.5L : 0.5L);
  // 2^63 is exact in every floating type; a NaN fails both tests.
  constexpr long double limit = 9223372036854775808.0L;
  if (!(scaled >= -limit && scaled < limit)) throw EInvalidOp(&SInvalidOp);
  return static_cast<Int64>(scaled);
}

AnsiString IntToStr64(Int64 value) {
  if (value < 0) {
    AnsiString r(1, '-');
    return r += UIntToStr(UInt64(0) - static_cast<UInt64>(value));
  }
  return UIntToStr(static_cast<UInt64>(value));
}

AnsiString UIntToStr(UInt64 value) {
  char buf[24];
  int i = 24;
  do {
    buf[--i] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value);
  return AnsiString(buf + i, buf + 24);
}

AnsiString IntToHexBits(UInt64 value, int digits) {
  static const char hex[] = "0123456789ABCDEF";
  AnsiString r;
  do {
    r.insert(r.begin(), hex[value & 15]);
    value >>= 4;
  } while (value);
  if (digits > 32) digits = 32;
  if (static_cast<int>(r.size()) < digits) r.insert(0, static_cast<std::size_t>(digits) - r.size(), '0');
  return r;
}

namespace {

// Parses an integer as the class library does: leading blanks, a sign, then
// decimal digits or "$", "x", "0x" and hex digits; nothing after. Hex may use
// the full unsigned range of the type (it wraps to negative); decimal may not
// overflow.
bool ParseInt(const AnsiString& s, int bits, Int64& out) {
  std::size_t i = 0, n = s.size();
  while (i < n && s[i] == ' ') ++i;
  bool neg = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
  bool hex = false;
  if (i < n && s[i] == '$') {
    hex = true;
    ++i;
  } else if (i < n && (s[i] == 'x' || s[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < n && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= n) return false;
  const UInt64 umax = bits == 64 ? ~UInt64(0) : ((UInt64(1) << bits) - 1);
  const UInt64 smax = umax >> 1;  // largest positive value
  UInt64 v = 0;
  for (; i < n; ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    unsigned d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return false;
    if (hex) {
      if (v > (umax >> 4)) return false;
      v = (v << 4) | d;
    } else {
      if (v > (smax + 1 - d) / 10) return false;  // keeps v*10+d <= smax+1
      v = v * 10 + d;
    }
  }
  if (!hex && v > smax + (neg ? 1 : 0)) return false;
  if (neg) v = UInt64(0) - v;
  // Reinterpret in the type's width.
  if (bits == 32) out = static_cast<Int64>(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
  else out = static_cast<Int64>(v);
  return true;
}

[[noreturn]] void InvalidInteger(const AnsiString& s) { throw EConvertError(&SInvalidInteger, {s}); }

}  // namespace

bool TryStrToInt(const AnsiString& s, Integer& value) {
  Int64 v;
  if (!ParseInt(s, 32, v)) return false;
  value = static_cast<Integer>(v);
  return true;
}

Integer StrToInt(const AnsiString& s) {
  Integer v;
  if (!TryStrToInt(s, v)) InvalidInteger(s);
  return v;
}

Integer StrToIntDef(const AnsiString& s, Integer def) {
  Integer v;
  return TryStrToInt(s, v) ? v : def;
}

bool TryStrToInt64(const AnsiString& s, Int64& value) { return ParseInt(s, 64, value); }

Int64 StrToInt64(const AnsiString& s) {
  Int64 v;
  if (!ParseInt(s, 64, v)) InvalidInteger(s);
  return v;
}

Int64 StrToInt64Def(const AnsiString& s, Int64 def) {
  Int64 v;
  return ParseInt(s, 64, v) ? v : def;
}

bool TryStrToBool(const AnsiString& s, bool& value) {
  if (SameText(s, "True")) { value = true; return true; }
  if (SameText(s, "False")) { value = false; return true; }
  long double f;
  if (TryStrToFloat(s, f)) { value = f != 0; return true; }
  return false;
}

bool StrToBool(const AnsiString& s) {
  bool b;
  if (!TryStrToBool(s, b)) throw EConvertError(&SInvalidBoolean, {s});
  return b;
}

bool StrToBoolDef(const AnsiString& s, bool def) {
  bool b;
  return TryStrToBool(s, b) ? b : def;
}

AnsiString BoolToStr(bool b, bool useBoolStrs) {
  if (useBoolStrs) return b ? "True" : "False";
  return b ? "-1" : "0";
}

// ------------------------------------------------------------ float digits

namespace {

// value = 0.Digits × 10^Exponent; Digits has no trailing zeros; empty for zero.
struct TDecimal {
  bool Negative = false;
  bool NaN = false;
  bool Inf = false;
  int Exponent = 0;
  std::string Digits;
};

// Big natural number in base 10^9, least significant limb first.
struct BigNat {
  std::vector<std::uint32_t> limbs;
  void MulSmall(std::uint32_t f) {
    std::uint64_t carry = 0;
    for (auto& l : limbs) {
      std::uint64_t t = std::uint64_t(l) * f + carry;
      l = static_cast<std::uint32_t>(t % 1000000000u);
      carry = t / 1000000000u;
    }
    while (carry) {
      limbs.push_back(static_cast<std::uint32_t>(carry % 1000000000u));
      carry /= 1000000000u;
    }
  }
  std::string ToString() const {
    if (limbs.empty()) return "0";
    std::string s = std::to_string(limbs.back());
    char buf[16];
    for (std::size_t i = limbs.size() - 1; i-- > 0;) {
      std::snprintf(buf, sizeof buf, "%09u", static_cast<unsigned>(limbs[i]));
      s += buf;
    }
    return s;
  }
};

// The exact decimal expansion of v.
TDecimal ExactDecimal(long double v) {
  TDecimal r;
  if (std::isnan(v)) { r.NaN = true; return r; }
  r.Negative = std::signbit(v) && v != 0;
  if (std::isinf(v)) { r.Inf = true; return r; }
  if (v == 0) return r;
  v = std::fabs(v);
  int e;
  long double f = std::frexp(v, &e);  // v = f * 2^e, 0.5 <= f < 1
  // 64 bits hold the whole mantissa of the widest type we use.
  std::uint64_t m = static_cast<std::uint64_t>(std::ldexp(f, 64));
  int bin = e - 64;
  while (m && (m & 1) == 0) { m >>= 1; ++bin; }
  BigNat n;
  for (std::uint64_t t = m; t; t /= 1000000000u) n.limbs.push_back(static_cast<std::uint32_t>(t % 1000000000u));
  int dec = 0;  // value = n * 10^dec
  if (bin > 0) {
    for (int k = bin; k > 0; k -= 28) n.MulSmall(std::uint32_t(1) << (k > 28 ? 28 : k));
  } else if (bin < 0) {
    int k = -bin;
    dec = bin;
    for (; k >= 13; k -= 13) n.MulSmall(1220703125u);  // 5^13
    std::uint32_t p = 1;
    for (; k > 0; --k) p *= 5;
    n.MulSmall(p);
  }
  std::string s = n.ToString();
  r.Exponent = static_cast<int>(s.size()) + dec;
  std::size_t end = s.find_last_not_of('0');
  r.Digits = s.substr(0, end + 1);
  return r;
}

// Keeps `count` significant digits, rounding half away from zero.
void RoundDigits(TDecimal& d, int count) {
  if (count < 0) {
    d.Digits.clear();
    return;
  }
  if (static_cast<std::size_t>(count) >= d.Digits.size()) return;
  bool up = d.Digits[static_cast<std::size_t>(count)] >= '5';
  d.Digits.resize(static_cast<std::size_t>(count));
  if (up) {
    int i = count - 1;
    while (i >= 0 && d.Digits[static_cast<std::size_t>(i)] == '9') d.Digits[static_cast<std::size_t>(i--)] = '0';
    if (i < 0) {
      // Every digit was a 9: the value becomes 1 followed by zeros, which the
      // trimming below drops.
      d.Digits.assign(1, '1');
      ++d.Exponent;
    } else {
      ++d.Digits[static_cast<std::size_t>(i)];
    }
  }
  std::size_t end = d.Digits.find_last_not_of('0');
  d.Digits.resize(end == std::string::npos ? 0 : end + 1);
}

// Rounds to at most `precision` significant digits and `decimals` digits after
// the point (decimals < 0: no limit).
TDecimal ToDecimal(long double v, int precision, int decimals) {
  TDecimal d = ExactDecimal(v);
  if (d.NaN || d.Inf || d.Digits.empty()) return d;
  int count = precision;
  if (decimals >= 0 && d.Exponent + decimals < count) count = d.Exponent + decimals;
  RoundDigits(d, count);
  if (d.Digits.empty()) d.Exponent = 0;
  return d;
}

char DigitAt(const TDecimal& d, int i) {
  return i >= 0 && static_cast<std::size_t>(i) < d.Digits.size() ? d.Digits[static_cast<std::size_t>(i)] : '0';
}

AnsiString ExponentText(int e, int minDigits, bool plusSign) {
  AnsiString r = e < 0 ? "-" : (plusSign ? "+" : "");
  AnsiString n = UIntToStr(static_cast<UInt64>(e < 0 ? -static_cast<Int64>(e) : e));
  if (static_cast<int>(n.size()) < minDigits) r.append(static_cast<std::size_t>(minDigits) - n.size(), '0');
  return r + n;
}

AnsiString SpecialText(const TDecimal& d) {
  if (d.NaN) return "NAN";
  return d.Negative ? "-INF" : "INF";
}

AnsiString GroupThousands(const AnsiString& intPart, char sep) {
  if (!sep) return intPart;
  AnsiString r;
  int n = static_cast<int>(intPart.size());
  for (int i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) r.push_back(sep);
    r.push_back(intPart[static_cast<std::size_t>(i)]);
  }
  return r;
}

int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

AnsiString FormatGeneral(long double v, int precision, int digits, const TFormatSettings& fs) {
  TDecimal d = ToDecimal(v, precision, -1);
  if (d.NaN || d.Inf) return SpecialText(d);
  if (d.Digits.empty()) return "0";
  AnsiString r = d.Negative ? "-" : "";
  if (d.Exponent > precision || d.Exponent < -3) {
    r.push_back(d.Digits[0]);
    if (d.Digits.size() > 1) {
      r.push_back(fs.DecimalSeparator);
      r.append(d.Digits, 1, std::string::npos);
    }
    r += 'E';
    r += ExponentText(d.Exponent - 1, Clamp(digits, 0, 4), false);
    return r;
  }
  if (d.Exponent <= 0) {
    r += "0";
    r.push_back(fs.DecimalSeparator);
    r.append(static_cast<std::size_t>(-d.Exponent), '0');
    r += d.Digits;
    return r;
  }
  for (int i = 0; i < d.Exponent; ++i) r.push_back(DigitAt(d, i));
  if (static_cast<int>(d.Digits.size()) > d.Exponent) {
    r.push_back(fs.DecimalSeparator);
    r.append(d.Digits, static_cast<std::size_t>(d.Exponent), std::string::npos);
  }
  return r;
}

AnsiString FormatExponent(long double v, int precision, int digits, const TFormatSettings& fs) {
  TDecimal d = ToDecimal(v, precision, -1);
  if (d.NaN || d.Inf) return SpecialText(d);
  AnsiString r = d.Negative ? "-" : "";
  r.push_back(DigitAt(d, 0));
  if (precision > 1) {
    r.push_back(fs.DecimalSeparator);
    for (int i = 1; i < precision; ++i) r.push_back(DigitAt(d, i));
  }
  int e = d.Digits.empty() ? 0 : d.Exponent - 1;
  return r + "E" + ExponentText(e, Clamp(digits, 0, 4), true);
}

// Fixed notation; sets `tooBig` when the integer part needs more digits than
// the precision allows.
AnsiString FormatFixed(long double v, int precision, int decimals, bool thousands, const TFormatSettings& fs,
                       bool& tooBig) {
  TDecimal exact = ExactDecimal(v);
  tooBig = false;
  if (exact.NaN || exact.Inf) return SpecialText(exact);
  if (!exact.Digits.empty() && exact.Exponent > precision) {
    tooBig = true;
    return AnsiString();
  }
  TDecimal d = ToDecimal(v, precision, decimals);
  AnsiString ip;
  if (d.Digits.empty() || d.Exponent <= 0) ip = "0";
  else
    for (int i = 0; i < d.Exponent; ++i) ip.push_back(DigitAt(d, i));
  AnsiString r = exact.Negative ? "-" : "";
  r += thousands ? GroupThousands(ip, fs.ThousandSeparator) : ip;
  if (decimals > 0) {
    r.push_back(fs.DecimalSeparator);
    for (int i = 0; i < decimals; ++i) r.push_back(d.Digits.empty() ? '0' : DigitAt(d, d.Exponent + i));
  }
  return r;
}

AnsiString ApplyCurrency(const AnsiString& number, bool negative, const TFormatSettings& fs) {
  const AnsiString& c = fs.CurrencyString;
  if (!negative) {
    switch (fs.CurrencyFormat) {
      case 1: return number + c;
      case 2: return c + " " + number;
      case 3: return number + " " + c;
      default: return c + number;
    }
  }
  static const char* const patterns[16] = {"($1)", "-$1",  "$-1",  "$1-",  "(1$)",  "-1$",   "1-$",   "1$-",
                                           "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)"};
  AnsiString r;
  for (const char* p = patterns[fs.NegCurrFormat & 15]; *p; ++p) {
    if (*p == '$') r += c;
    else if (*p == '1') r += number;
    else r.push_back(*p);
  }
  return r;
}

}  // namespace

AnsiString FloatToStrF(long double value, TFloatFormat format, int precision, int digits, const TFormatSettings& fs) {
  precision = Clamp(precision, 1, 18);
  switch (format) {
    case ffExponent:
      return FormatExponent(value, precision, digits, fs);
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
      bool tooBig;
      int decimals = Clamp(digits, 0, 18);
      AnsiString r = FormatFixed(format == ffCurrency ? std::fabs(value) : value, precision, decimals,
                                 format != ffFixed, fs, tooBig);
      if (tooBig) return FormatGeneral(value, precision, digits, fs);
      if (format == ffCurrency && !std::isnan(value) && !std::isinf(value))
        return ApplyCurrency(r, std::signbit(value) && value != 0, fs);
      return r;
    }
    case ffGeneral:
    default:
      return FormatGeneral(value, precision, digits, fs);
  }
}

AnsiString FloatToStrF(long double value, TFloatFormat format, int precision, int digits) {
  return FloatToStrF(value, format, precision, digits, FormatSettings);
}

AnsiString FloatToStr(long double value, const TFormatSettings& fs) {
  return FloatToStrF(value, ffGeneral, 15, 0, fs);
}

AnsiString FloatToStr(long double value) { return FloatToStr(value, FormatSettings); }

// ------------------------------------------------------------- StrToFloat

bool TryStrToFloat(const AnsiString& s, long double& value, const TFormatSettings& fs) {
  std::size_t i = 0, n = s.size();
  while (i < n && s[i] == ' ') ++i;
  while (n > i && s[n - 1] == ' ') --n;
  std::string canon;
  if (i < n && (s[i] == '+' || s[i] == '-')) {
    if (s[i] == '-') canon.push_back('-');
    ++i;
  }
  std::size_t digits = 0;
  while (i < n && s[i] >= '0' && s[i] <= '9') canon.push_back(s[i++]), ++digits;
  if (i < n && s[i] == fs.DecimalSeparator) {
    canon.push_back('.');
    ++i;
    while (i < n && s[i] >= '0' && s[i] <= '9') canon.push_back(s[i++]), ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    canon.push_back('e');
    ++i;
    if (i < n && (s[i] == '+' || s[i] == '-')) canon.push_back(s[i++]);
    std::size_t ed = 0;
    while (i < n && s[i] >= '0' && s[i] <= '9') canon.push_back(s[i++]), ++ed;
    if (ed == 0) return false;
  }
  if (i != n) return false;
  errno = 0;
  char* end = nullptr;
  long double v = std::strtold(canon.c_str(), &end);
  if (!end || *end != '\0') return false;
  if (std::isinf(v) || std::isnan(v)) return false;
  value = v;
  return true;
}

bool TryStrToFloat(const AnsiString& s, long double& value) { return TryStrToFloat(s, value, FormatSettings); }

bool TryStrToFloat(const AnsiString& s, double& value, const TFormatSettings& fs) {
  long double v;
  if (!TryStrToFloat(s, v, fs)) return false;
  if (std::fabs(v) > static_cast<long double>(1.7976931348623157e308)) return false;
  value = static_cast<double>(v);
  return true;
}

bool TryStrToFloat(const AnsiString& s, double& value) { return TryStrToFloat(s, value, FormatSettings); }

long double StrToFloat(const AnsiString& s, const TFormatSettings& fs) {
  long double v;
  if (!TryStrToFloat(s, v, fs)) throw EConvertError(&SInvalidFloat, {s});
  return v;
}

long double StrToFloat(const AnsiString& s) { return StrToFloat(s, FormatSettings); }

long double StrToFloatDef(const AnsiString& s, long double def, const TFormatSettings& fs) {
  long double v;
  return TryStrToFloat(s, v, fs) ? v : def;
}

long double StrToFloatDef(const AnsiString& s, long double def) { return StrToFloatDef(s, def, FormatSettings); }

// ------------------------------------------------------------- FormatFloat

namespace {

// Splits the format into its sections (';' outside quotes).
std::vector<AnsiString> SplitSections(const AnsiString& f) {
  std::vector<AnsiString> out(1);
  char quote = 0;
  for (char c : f) {
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';') {
      out.emplace_back();
      continue;
    }
    out.back().push_back(c);
  }
  return out;
}

struct SectionInfo {
  int intDigits = 0;     // placeholders before the point
  int intZeros = 0;      // of them, those from the first '0' on (forced digits)
  int fracZeros = 0;     // placeholders after the point up to the last '0'
  int fracDigits = 0;    // all placeholders after the point
  bool thousands = false;
  bool hasPoint = false;
  bool scientific = false;
  bool expPlus = false;  // E+ (always signed) rather than E-
  int expDigits = 0;
  bool anyDigit = false;
};

SectionInfo Analyse(const AnsiString& f) {
  SectionInfo si;
  char quote = 0;
  bool afterPoint = false, seenZero = false;
  for (std::size_t i = 0; i < f.size(); ++i) {
    char c = f[i];
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '0' || c == '#') {
      si.anyDigit = true;
      if (afterPoint) {
        ++si.fracDigits;
        if (c == '0') si.fracZeros = si.fracDigits;
      } else {
        ++si.intDigits;
        if (c == '0') seenZero = true;
        if (seenZero) ++si.intZeros;
      }
    } else if (c == '.' && !afterPoint) {
      afterPoint = true;
      si.hasPoint = true;
    } else if (c == ',' && !afterPoint) {
      si.thousands = true;
    } else if ((c == 'E' || c == 'e') && i + 1 < f.size() && (f[i + 1] == '+' || f[i + 1] == '-')) {
      si.scientific = true;
      si.expPlus = f[i + 1] == '+';
      std::size_t j = i + 2;
      while (j < f.size() && f[j] == '0' && si.expDigits < 4) ++si.expDigits, ++j;
      while (j < f.size() && f[j] == '0') ++j;
      i = j - 1;
      break;  // the rest after the exponent is literal text
    }
  }
  return si;
}

AnsiString ApplySection(const AnsiString& f, const SectionInfo& si, const TDecimal& d, bool minus,
                        const TFormatSettings& fs) {
  // Digits of the integer and fraction parts and the exponent.
  AnsiString intPart, fracPart;
  int exponent = 0;
  if (si.scientific) {
    int id = si.intDigits > 0 ? si.intDigits : 1;
    if (!d.Digits.empty()) exponent = d.Exponent - id;
    for (int i = 0; i < id; ++i) intPart.push_back(d.Digits.empty() ? '0' : DigitAt(d, i));
    if (si.intDigits == 0) intPart.clear();
    for (int i = 0; i < si.fracDigits; ++i) fracPart.push_back(DigitAt(d, id + i));
    // Strip leading zeros of the integer part down to the forced ones.
    while (static_cast<int>(intPart.size()) > si.intZeros && !intPart.empty() && intPart[0] == '0' && intPart.size() > 1)
      intPart.erase(0, 1);
  } else {
    if (!d.Digits.empty() && d.Exponent > 0)
      for (int i = 0; i < d.Exponent; ++i) intPart.push_back(DigitAt(d, i));
    for (int i = 0; i < si.fracDigits; ++i) fracPart.push_back(d.Digits.empty() ? '0' : DigitAt(d, d.Exponent + i));
  }
  if (static_cast<int>(intPart.size()) < si.intZeros) intPart.insert(0, static_cast<std::size_t>(si.intZeros) - intPart.size(), '0');
  // Optional trailing fraction digits that are zero disappear.
  while (static_cast<int>(fracPart.size()) > si.fracZeros && fracPart.back() == '0') fracPart.pop_back();
  if (si.thousands) intPart = GroupThousands(intPart, fs.ThousandSeparator);

  AnsiString r;
  if (minus) r.push_back('-');
  bool intDone = false, pointDone = false;
  std::size_t fracPos = 0;
  char quote = 0;
  for (std::size_t i = 0; i < f.size(); ++i) {
    char c = f[i];
    if (quote) {
      if (c == quote) quote = 0;
      else r.push_back(c);
      continue;
    }
    if (c == '"' || c == '\'') {
      quote = c;
    } else if ((c == '0' || c == '#') && !pointDone) {
      if (!intDone) {
        r += intPart;
        intDone = true;
      }
    } else if (c == ',' && !pointDone) {
      // grouping handled above
    } else if (c == '.' && !pointDone) {
      if (!intDone) {
        r += intPart;
        intDone = true;
      }
      pointDone = true;
      if (!fracPart.empty()) r.push_back(fs.DecimalSeparator);
    } else if ((c == '0' || c == '#') && pointDone) {
      if (fracPos < fracPart.size()) r.push_back(fracPart[fracPos]);
      ++fracPos;
    } else if ((c == 'E' || c == 'e') && si.scientific && i + 1 < f.size() && (f[i + 1] == '+' || f[i + 1] == '-')) {
      if (!intDone) {
        r += intPart;
        intDone = true;
      }
      r.push_back(c);
      r += ExponentText(exponent, si.expDigits, si.expPlus);
      std::size_t j = i + 2;
      while (j < f.size() && f[j] == '0') ++j;
      i = j - 1;
    } else {
      r.push_back(c);
    }
  }
  return r;
}

}  // namespace

AnsiString FormatFloat(const AnsiString& format, long double value, const TFormatSettings& fs) {
  if (std::isnan(value) || std::isinf(value)) return FloatToStrF(value, ffGeneral, 15, 0, fs);
  std::vector<AnsiString> sections = SplitSections(format);
  if (format.empty()) return FloatToStrF(value, ffGeneral, 15, 0, fs);
  std::size_t idx = 0;
  bool negative = std::signbit(value) && value != 0;
  if (negative && sections.size() > 1 && !sections[1].empty()) idx = 1;
  auto round = [&](std::size_t k) {
    SectionInfo si = Analyse(sections[k]);
    TDecimal d;
    if (si.scientific) {
      int prec = si.intDigits + si.fracDigits;
      d = ToDecimal(value, Clamp(prec, 1, 18), -1);
    } else {
      d = ToDecimal(value, 18, si.fracDigits);
    }
    return std::make_pair(si, d);
  };
  auto [si, d] = round(idx);
  if (d.Digits.empty() && sections.size() > 2 && !sections[2].empty()) {
    idx = 2;
    std::tie(si, d) = round(idx);
  }
  if (!si.scientific && !d.Digits.empty() && d.Exponent > 18) return FloatToStrF(value, ffGeneral, 15, 0, fs);
  // The sign is written only by the first section and only for a value that
  // stays non-zero after rounding.
  bool minus = idx == 0 && negative && !d.Digits.empty();
  if (!si.anyDigit && idx == 0 && !si.scientific) {
    // A section of literal text only.
    minus = false;
  }
  return ApplySection(sections[idx], si, d, minus, fs);
}

AnsiString FormatFloat(const AnsiString& format, long double value) {
  return FormatFloat(format, value, FormatSettings);
}

// ------------------------------------------------------------------ Format

namespace {

[[noreturn]] void BadFormat(const AnsiString& fmt) { throw EConvertError(&SInvalidFormat, {fmt}); }

// Widths and precisions beyond this are taken for a broken format rather than
// padding megabytes of blanks.
constexpr Int64 kMaxFormatWidth = 100000;

}  // namespace

AnsiString FormatBuf(const AnsiString& fmt, const TVarRec* args, std::size_t count, const TFormatSettings& fs) {
  AnsiString out;
  std::size_t argIndex = 0;
  const std::size_t n = fmt.size();
  auto nextArg = [&]() -> const TVarRec& {
    if (argIndex >= count) throw EConvertError(&SArgumentMissing, {fmt});
    return args[argIndex++];
  };
  auto readNumber = [&](std::size_t& i, int& value) -> bool {
    // Returns true when a number or '*' was read.
    if (i < n && fmt[i] == '*') {
      const TVarRec& a = nextArg();
      if (a.VType != TVarRec::vtInteger && a.VType != TVarRec::vtInt64) BadFormat(fmt);
      if (a.VInt64 > kMaxFormatWidth) BadFormat(fmt);
      value = static_cast<int>(a.VInt64 < -1 ? -1 : a.VInt64);
      ++i;
      return true;
    }
    if (i < n && fmt[i] >= '0' && fmt[i] <= '9') {
      Int64 v = 0;
      while (i < n && fmt[i] >= '0' && fmt[i] <= '9') {
        v = v * 10 + (fmt[i++] - '0');
        if (v > kMaxFormatWidth) BadFormat(fmt);
      }
      value = static_cast<int>(v);
      return true;
    }
    return false;
  };
  for (std::size_t i = 0; i < n;) {
    char c = fmt[i++];
    if (c != '%') {
      out.push_back(c);
      continue;
    }
    if (i < n && fmt[i] == '%') {
      out.push_back('%');
      ++i;
      continue;
    }
    // %[index:][-][width][.precision]type
    bool left = false;
    int width = -1, prec = -1, num = 0;
    std::size_t save = i;
    if (i < n && fmt[i] >= '0' && fmt[i] <= '9' && readNumber(i, num) && i < n && fmt[i] == ':') {
      argIndex = static_cast<std::size_t>(num);
      ++i;
    } else {
      i = save;
    }
    if (i < n && fmt[i] == '-') {
      left = true;
      ++i;
    }
    if (readNumber(i, num)) width = num;
    if (i < n && fmt[i] == '.') {
      ++i;
      if (!readNumber(i, num)) num = 0;
      prec = num;
    }
    if (width < 0) width = -1;
    if (i >= n) BadFormat(fmt);
    char type = fmt[i++];
    char t = static_cast<char>(type >= 'A' && type <= 'Z' ? type + 32 : type);
    const TVarRec& a = nextArg();
    const bool isInt = a.VType == TVarRec::vtInteger || a.VType == TVarRec::vtInt64 ||
                       a.VType == TVarRec::vtUInt64 || a.VType == TVarRec::vtBoolean;
    AnsiString s;
    switch (t) {
      case 'd':
      case 'u': {
        if (!isInt) BadFormat(fmt);
        bool neg = false;
        UInt64 mag;
        if (t == 'u') {
          mag = a.VType == TVarRec::vtInteger ? static_cast<std::uint32_t>(a.VInt64) : static_cast<UInt64>(a.VInt64);
        } else if (a.VType == TVarRec::vtUInt64) {
          mag = static_cast<UInt64>(a.VInt64);
        } else {
          neg = a.VInt64 < 0;
          mag = neg ? UInt64(0) - static_cast<UInt64>(a.VInt64) : static_cast<UInt64>(a.VInt64);
        }
        s = UIntToStr(mag);
        if (prec > 0 && static_cast<int>(s.size()) < prec) s.insert(0, static_cast<std::size_t>(prec) - s.size(), '0');
        if (neg) s.insert(s.begin(), '-');
        break;
      }
      case 'x': {
        if (!isInt) BadFormat(fmt);
        UInt64 v = a.VType == TVarRec::vtInteger ? static_cast<std::uint32_t>(a.VInt64) : static_cast<UInt64>(a.VInt64);
        s = IntToHexBits(v, prec > 0 ? (prec > 32 ? 32 : prec) : 0);
        break;
      }
      case 'e':
      case 'f':
      case 'g':
      case 'n':
      case 'm': {
        long double v;
        if (a.VType == TVarRec::vtExtended) v = a.VExtended;
        else BadFormat(fmt);
        if (t == 'e') s = FloatToStrF(v, ffExponent, prec < 0 ? 15 : (prec > 18 ? 18 : prec), 3, fs);
        else if (t == 'f') s = FloatToStrF(v, ffFixed, 18, prec < 0 ? 2 : (prec > 18 ? 18 : prec), fs);
        else if (t == 'g') s = FloatToStrF(v, ffGeneral, prec < 0 ? 15 : (prec > 18 ? 18 : prec), 3, fs);
        else if (t == 'n') s = FloatToStrF(v, ffNumber, 18, prec < 0 ? 2 : (prec > 18 ? 18 : prec), fs);
        else s = FloatToStrF(v, ffCurrency, 18, prec < 0 ? fs.CurrencyDecimals : (prec > 18 ? 18 : prec), fs);
        break;
      }
      case 's': {
        if (a.VType == TVarRec::vtString || a.VType == TVarRec::vtChar) s = a.VString;
        else BadFormat(fmt);
        if (prec >= 0 && static_cast<std::size_t>(prec) < s.size()) s.resize(static_cast<std::size_t>(prec));
        break;
      }
      case 'p': {
        if (a.VType != TVarRec::vtPointer) BadFormat(fmt);
        s = IntToHexBits(reinterpret_cast<std::uintptr_t>(a.VPointer), static_cast<int>(sizeof(void*) * 2));
        break;
      }
      default:
        BadFormat(fmt);
    }
    if (width > 0 && static_cast<int>(s.size()) < width) {
      std::size_t pad = static_cast<std::size_t>(width) - s.size();
      if (left) s.append(pad, ' ');
      else s.insert(0, pad, ' ');
    }
    out += s;
  }
  return out;
}
