// Outside text through the INI parser and the number and format parsers.
// Besides "never crash", it checks properties that must hold for any input:
// the INI text written back reads back the same, comma text round-trips, and
// a double printed with 17 digits reads back exactly.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "classlib/core/Classes.h"
#include "classlib/core/IniFiles.h"

namespace {

[[noreturn]] void Fail(const char* what) {
  __builtin_trap();
  (void)what;
}

void IniRoundTrip(const AnsiString& text, bool caseSensitive) {
  TStringList lines;
  lines.SetText(text);
  TMemIniFile ini("");
  ini.SetCaseSensitive(caseSensitive);
  ini.SetStrings(&lines);
  TStringList sections, keys, values, written, again;
  ini.ReadSections(&sections);
  for (int i = 0; i < sections.Count() && i < 16; ++i) {
    ini.ReadSection(sections[i], &keys);
    ini.ReadSectionValues(sections[i], &values);
    for (int k = 0; k < keys.Count() && k < 16; ++k) {
      ini.ReadString(sections[i], keys[k], "");
      ini.ReadInteger(sections[i], keys[k], 0);
      ini.ReadBool(sections[i], keys[k], false);
      ini.ReadFloat(sections[i], keys[k], 0);
      ini.ReadDate(sections[i], keys[k], 0);
      ini.ReadTime(sections[i], keys[k], 0);
      ini.ValueExists(sections[i], keys[k]);
    }
  }
  // Writing the contents out and reading them again changes nothing.
  ini.GetStrings(&written);
  TMemIniFile ini2("");
  ini2.SetCaseSensitive(caseSensitive);
  ini2.SetStrings(&written);
  ini2.GetStrings(&again);
  if (written.Text() != again.Text()) Fail("INI text does not round-trip");
  if (sections.Count() > 0) {
    ini.WriteString(sections[0], "k", "v");
    // The write replaces the first "k" line of the section, which reading finds.
    if (ini.ReadString(sections[0], "k", "") != "v") Fail("written value not read back");
    ini.EraseSection(sections[0]);
  }
}

void Numbers(const AnsiString& s) {
  TFormatSettings comma;
  comma.DecimalSeparator = ',';
  comma.ThousandSeparator = ' ';
  TFormatSettings dot;
  Integer i;
  Int64 i64;
  TryStrToInt(s, i);
  TryStrToInt64(s, i64);
  long double v;
  for (const TFormatSettings* fs : {&comma, &dot}) {
    if (TryStrToFloat(s, v, *fs)) {
      double d = static_cast<double>(v);
      if (std::isfinite(d)) {
        AnsiString back = FloatToStrF(d, ffGeneral, 17, 0, *fs);
        long double r;
        if (!TryStrToFloat(back, r, *fs) || static_cast<double>(r) != d) Fail("float text does not read back");
      }
      FloatToStrF(v, ffFixed, 18, 2, *fs);
      FloatToStrF(v, ffNumber, 15, 4, *fs);
      FloatToStrF(v, ffExponent, 18, 4, *fs);
      FloatToStrF(v, ffCurrency, 15, 2, *fs);
    }
  }
  TDateTime dt;
  TryStrToDate(s, dt, comma);
  TryStrToTime(s, dt, comma);
}

void Formats(const AnsiString& f) {
  try {
    Format(f, {1, -2, "text", 3.25, Int64(1) << 40, 'c', static_cast<const void*>(nullptr), 7u});
  } catch (const EConvertError&) {
  }
  FormatFloat(f, 1234.5678);
  FormatFloat(f, -0.001);
  FormatFloat(f, 0);
  FormatDateTime(f, 45356.587);
  TStringList l;
  l.SetCommaText(f);
  AnsiString once = l.CommaText();
  TStringList m;
  m.SetCommaText(once);
  if (m.CommaText() != once) Fail("comma text does not round-trip");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return 0;
  AnsiString s(reinterpret_cast<const char*>(data), size);
  if (size == 0) return 0;
  switch (data[0] % 4) {
    case 0: IniRoundTrip(s.substr(1), false); break;
    case 1: IniRoundTrip(s.substr(1), true); break;
    case 2: Numbers(s.substr(1)); break;
    default: Formats(s.substr(1)); break;
  }
  return 0;
}
