#include "app/DeviceModel.h"

#include <cstring>

#include "classlib/core/SysUtils.h"

namespace devmodel {

const char* const kModelNames[kDeviceTypeCount] = {"XBV5", "XBV10", "XBV18", "GOLM114", "GOLM124",
                                                   "GOLM144", "GOLM152", ""};
const char* const kProbeNames[kProbeCount] = {"XBV5", "GOLM144", "XBV10", "XBV18",
                                              "GOLM152", "GOLM124", "GOLM114", "GOLM"};
const char* const kProbeRegisters[kProbeCount] = {"120", "C0", "20,10", "100,30",
                                                  "20,40", "40,10", "10,FF01", "00"};

namespace {

bool Has(const AnsiString& s, const AnsiString& part) { return s.find(part) != AnsiString::npos; }

AnsiString ReplaceAll(AnsiString s, const AnsiString& from, const AnsiString& to) {
  for (size_t at = s.find(from); at != AnsiString::npos; at = s.find(from, at + to.size()))
    s.replace(at, from.size(), to);
  return s;
}

// A hexadecimal number; a text that is not one counts as 0.
long HexOrZero(const AnsiString& text) {
  AnsiString t = Trim(text);
  if (t.empty() || t.size() > 8) return 0;
  long v = 0;
  for (char c : t) {
    int d = (c >= '0' && c <= '9') ? c - '0' : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : -1;
    if (d < 0) return 0;
    v = v * 16 + d;
  }
  return v;
}

// A source typed as [A] or [A-B]: the trimmed text starts with "[" and its first
// "]" stands at the third character or later.
struct Bracketed {
  bool is = false, range = false;
  long a = 0, b = 0;
};

Bracketed ParseBracketed(const AnsiString& source) {
  Bracketed r;
  AnsiString t = Trim(source);
  size_t close = t.find(']');
  if (t.empty() || t[0] != '[' || close == AnsiString::npos || close < 2) return r;
  r.is = true;
  size_t dash = t.find('-');
  if (dash != AnsiString::npos && dash >= 2 && dash < close) {
    r.range = true;
    r.a = HexOrZero(t.substr(1, dash - 1));
    r.b = HexOrZero(t.substr(dash + 1, close - dash - 1));
  } else {
    r.a = HexOrZero(t.substr(1, close - 1));
  }
  return r;
}

// Lowest and highest k (1..4) for which the source holds k followed by suffix.
bool AdcRange(const AnsiString& source, const char* suffix, int& lo, int& hi) {
  lo = 0;
  hi = 0;
  for (int k = 1; k <= 4; ++k) {
    if (Has(source, AnsiString(1, char('0' + k)) + suffix)) {
      if (!lo) lo = k;
      hi = k;
    }
  }
  return lo != 0;
}

}  // namespace

AnsiString DeviceListText(int type) {
  static const AnsiString texts[kDeviceTypeCount] = {"ХБВ-5"_cp,    "ХБВ-10"_cp,   "ХБВ-18"_cp,   "ГОЛМ-114"_cp,
                                                      "ГОЛМ-124"_cp, "ГОЛМ-144"_cp, "ГОЛМ-152"_cp, "Другой"_cp};
  return type >= 0 && type < kDeviceTypeCount ? texts[type] : texts[kOtherDevice];
}

AnsiString NameToLatin(const AnsiString& name) {
  AnsiString s = ReplaceAll(ReplaceAll(name, "ХБВ"_cp, "XBV"), "ГОЛМ"_cp, "GOLM");
  return ReplaceAll(ReplaceAll(s, "XBV-", "XBV"), "GOLM-", "GOLM");
}

int DeviceTypeFromName(const AnsiString& name) {
  AnsiString latin = NameToLatin(name);
  for (int t = 0; t < kOtherDevice; ++t)
    if (Has(latin, kModelNames[t])) return t;
  return kOtherDevice;
}

AnsiString NameToCyrillic(const AnsiString& name) {
  AnsiString s = ReplaceAll(ReplaceAll(name, "XBV", "ХБВ"_cp), "GOLM", "ГОЛМ"_cp);
  if (Has(s, "ГОЛМ"_cp) && !Has(s, "ГОЛМ-"_cp)) s = ReplaceAll(s, "ГОЛМ"_cp, "ГОЛМ-"_cp);
  if (Has(s, "ХБВ"_cp) && !Has(s, "ХБВ-"_cp)) s = ReplaceAll(s, "ХБВ"_cp, "ХБВ-"_cp);
  return s;
}

int ProbeRegisters(int entry, uint16_t out[4]) {
  if (entry < 0 || entry >= kProbeCount) return 0;
  AnsiString list = kProbeRegisters[entry];
  int n = 0;
  size_t start = 0;
  while (n < 4) {
    size_t comma = list.find(',', start);
    out[n++] = static_cast<uint16_t>(HexOrZero(list.substr(start, comma == AnsiString::npos ? AnsiString::npos : comma - start)));
    if (comma == AnsiString::npos) break;
    start = comma + 1;
  }
  return n;
}

uint16_t SourceRegisterCount(const AnsiString& source, int type) {
  if (Has(source, "[0]")) return type == kXbv18 ? 2 : 1;
  Bracketed b = ParseBracketed(source);
  if (b.is) {
    if (!b.range) return 1;
    long span = (b.a > b.b ? b.a - b.b : b.b - b.a) + 1;
    return static_cast<uint16_t>(span > 8 ? 8 : span);
  }
  if (Has(source, "ХБВ18_"_cp)) return Has(source, "ХБВ18_Точка"_cp) ? 1 : 2;
  int lo, hi;
  if (Has(source, "_32")) {
    // A typed "_32" without an ADC number reads the first ADC rather than a
    // register before the block.
    if (!AdcRange(source, "_32", lo, hi)) lo = hi = 1;
    return static_cast<uint16_t>(((2 * (lo - 1)) << 8) | (2 * (hi - lo + 1)));
  }
  if (!AdcRange(source, "_16", lo, hi)) return 1;
  return static_cast<uint16_t>(((lo - 1) << 8) | (hi - lo + 1));
}

uint16_t SourceStartRegister(const AnsiString& source, int type) {
  if (Has(source, "[0]")) return 0;
  if (Has(source, "ХБВ18_ВесПТ"_cp)) return 0x50;
  if (Has(source, "ХБВ18_ТараПТ"_cp)) return 0x60;
  if (Has(source, "ХБВ18_Вес"_cp)) return 0x00;
  if (Has(source, "ХБВ18_Тара"_cp)) return 0x20;
  if (Has(source, "ХБВ18_Нуль"_cp)) return 0x30;
  if (Has(source, "ХБВ18_Точка"_cp)) return 0x10;
  uint16_t offset = SourceRegisterCount(source, type) >> 8;
  if (Has(source, "_32")) return static_cast<uint16_t>(0x110 + offset);
  if (Has(source, "_16")) return static_cast<uint16_t>(0x100 + offset);
  Bracketed b = ParseBracketed(source);
  if (b.is) return static_cast<uint16_t>(b.range && b.b < b.a ? b.b : b.a);
  return 0;
}

int SourceIs32(const AnsiString& source) {
  if (Has(source, "_32")) return 2;
  if (Has(source, "ХБВ18_"_cp) && !Has(source, "ХБВ18_Точка"_cp)) return 2;
  return 1;
}

void StoreRawValues(const uint16_t words[8], int count, bool source32, int32_t raw[8]) {
  for (int i = 0; i < count && i < 8; ++i) {
    if (!source32) {
      raw[i] = words[i];
    } else if (i % 2 == 0) {
      uint32_t high = i + 1 < 8 ? words[i + 1] : 0;
      raw[i] = static_cast<int32_t>(words[i] | (high << 16));
    } else {
      raw[i] = 0;
    }
  }
}

int32_t SumRawValues(const int32_t raw[8], int count) {
  int64_t sum = 0;
  for (int i = 0; i < count && i < 8; ++i) sum += raw[i];
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(sum)));
}

float TwoPointValue(float x, float adc1, float value1, float adc2, float value2) {
  if (adc1 == adc2) return 0.0f;
  long double d = static_cast<long double>(x) - adc1;
  long double p = d * (static_cast<long double>(value2) - value1);
  long double q = p / (static_cast<long double>(adc2) - adc1);
  return static_cast<float>(static_cast<long double>(value1) + q);
}

float ConvertReading(int32_t x, const AnsiString& source, int type, const Calibration& cal) {
  if (Has(source, "ХБВ18_"_cp) || type == kXbv18) {
    if (Has(source, "ПТ"_cp)) {
      float f;
      uint32_t bits = static_cast<uint32_t>(x);
      std::memcpy(&f, &bits, sizeof f);
      return f;
    }
    return static_cast<float>(x);
  }
  return TwoPointValue(static_cast<float>(x), cal.adc1, cal.value1, cal.adc2, cal.value2);
}

}  // namespace devmodel
