// TDateTime: encoding, decoding, formatting and parsing.
#include <cmath>

#include "classlib/core/SysConsts.h"
#include "classlib/core/SysUtils.h"
#include "classlib/core/platform/Platform.h"

namespace {

constexpr Integer kMSecsPerDay = 86400000;
constexpr Integer kDateDelta = 693594;  // days from 01.01.0001 to 30.12.1899

const Word kMonthDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

}  // namespace

bool IsLeapYear(Word year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

Word DaysInAMonth(Word year, Word month) {
  if (month < 1 || month > 12) return 0;
  return kMonthDays[IsLeapYear(year)][month - 1];
}

bool TryEncodeDate(Word year, Word month, Word day, TDateTime& date) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInAMonth(year, month)) return false;
  const Word* md = kMonthDays[IsLeapYear(year)];
  int d = day;
  for (int m = 1; m < month; ++m) d += md[m - 1];
  int y = year - 1;
  date = static_cast<double>(y * 365 + y / 4 - y / 100 + y / 400 + d - kDateDelta);
  return true;
}

TDateTime EncodeDate(Word year, Word month, Word day) {
  TDateTime d;
  if (!TryEncodeDate(year, month, day, d)) throw EConvertError(&SDateEncodeError);
  return d;
}

bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime& time) {
  if (hour >= 24 || min >= 60 || sec >= 60 || msec >= 1000) return false;
  time = (hour * 3600000.0 + min * 60000.0 + sec * 1000.0 + msec) / kMSecsPerDay;
  return true;
}

TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec) {
  TDateTime t;
  if (!TryEncodeTime(hour, min, sec, msec, t)) throw EConvertError(&STimeEncodeError);
  return t;
}

TTimeStamp DateTimeToTimeStamp(TDateTime dt) {
  TTimeStamp ts{0, 0};
  if (!std::isfinite(dt) || std::fabs(dt) > 3.0e6) return ts;  // outside 0001..9999: empty stamp
  long long ms = std::llround(dt * kMSecsPerDay);
  long long days = ms / kMSecsPerDay;  // truncates toward zero
  ts.Date = static_cast<Integer>(kDateDelta + days);
  ts.Time = static_cast<Integer>(std::llabs(ms) % kMSecsPerDay);
  return ts;
}

TDateTime TimeStampToDateTime(const TTimeStamp& ts) {
  double days = ts.Date - kDateDelta;
  double t = ts.Time / static_cast<double>(kMSecsPerDay);
  return days < 0 ? days - t : days + t;
}

void DecodeDate(TDateTime date, Word& year, Word& month, Word& day) {
  TTimeStamp ts = DateTimeToTimeStamp(date);
  int t = ts.Date;
  if (t <= 0) {
    year = month = day = 0;
    return;
  }
  --t;
  int y = 1;
  while (t >= 146097) t -= 146097, y += 400;
  int i = t / 36524;
  int d = t % 36524;
  if (i == 4) i = 3, d += 36524;
  y += i * 100;
  i = d / 1461;
  d = d % 1461;
  y += i * 4;
  i = d / 365;
  d = d % 365;
  if (i == 4) i = 3, d += 365;
  y += i;
  const Word* md = kMonthDays[IsLeapYear(static_cast<Word>(y))];
  int m = 1;
  while (d >= md[m - 1]) d -= md[m - 1], ++m;
  year = static_cast<Word>(y);
  month = static_cast<Word>(m);
  day = static_cast<Word>(d + 1);
}

void DecodeTime(TDateTime time, Word& hour, Word& min, Word& sec, Word& msec) {
  int ms = DateTimeToTimeStamp(time).Time;
  hour = static_cast<Word>(ms / 3600000);
  ms %= 3600000;
  min = static_cast<Word>(ms / 60000);
  ms %= 60000;
  sec = static_cast<Word>(ms / 1000);
  msec = static_cast<Word>(ms % 1000);
}

int DayOfWeek(TDateTime date) { return DateTimeToTimeStamp(date).Date % 7 + 1; }

TDateTime Now() {
  dk_platform::TLocalTime t = dk_platform::LocalTime();
  TDateTime d, tm;
  if (!TryEncodeDate(t.Year, t.Month, t.Day, d) || !TryEncodeTime(t.Hour, t.Minute, t.Second, t.MSec, tm)) return 0;
  return d + tm;
}

TDateTime Date() { return std::floor(Now()); }

TDateTime Time() {
  TDateTime n = Now();
  return n - std::floor(n);
}

#ifndef _WIN32
Cardinal GetTickCount() { return dk_platform::TickCount(); }
void Sleep(Cardinal milliseconds) { dk_platform::SleepMs(milliseconds); }
#endif

// ------------------------------------------------------------------ format

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

AnsiString Pad(int v, int width) {
  AnsiString s = IntToStr(v);
  if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<std::size_t>(width) - s.size(), '0');
  return s;
}

bool StartsWithNoCase(const AnsiString& f, std::size_t i, const char* what) {
  for (std::size_t k = 0; what[k]; ++k)
    if (i + k >= f.size() || Lower(f[i + k]) != what[k]) return false;
  return true;
}

void AppendFormat(AnsiString& out, const AnsiString& f, TDateTime dt, const TFormatSettings& fs, int depth) {
  if (depth > 2) return;  // formats that name other formats go only two levels deep
  Word y, mo, d, h, mi, s, ms;
  DecodeDate(dt, y, mo, d);
  DecodeTime(dt, h, mi, s, ms);
  // Is there an am/pm marker? Then hours are 12-hour.
  bool twelve = false;
  {
    char q = 0;
    for (std::size_t i = 0; i < f.size(); ++i) {
      if (q) { if (f[i] == q) q = 0; continue; }
      if (f[i] == '"' || f[i] == '\'') { q = f[i]; continue; }
      if (StartsWithNoCase(f, i, "am/pm") || StartsWithNoCase(f, i, "a/p") || StartsWithNoCase(f, i, "ampm")) {
        twelve = true;
        break;
      }
    }
  }
  bool lastWasHour = false;
  std::size_t i = 0;
  while (i < f.size()) {
    char c = f[i];
    char lc = Lower(c);
    if (c == '"' || c == '\'') {
      std::size_t j = i + 1;
      while (j < f.size() && f[j] != c) out.push_back(f[j++]);
      i = j < f.size() ? j + 1 : j;
      continue;
    }
    std::size_t run = 1;
    while (i + run < f.size() && Lower(f[i + run]) == lc) ++run;
    switch (lc) {
      case 'y':
        out += run <= 2 ? Pad(y % 100, 2) : Pad(y, 4);
        i += run;
        lastWasHour = false;
        continue;
      case 'm':
        if (lastWasHour && run <= 2) {
          out += run == 1 ? IntToStr(mi) : Pad(mi, 2);
        } else if (run == 1) {
          out += IntToStr(mo);
        } else if (run == 2) {
          out += Pad(mo, 2);
        } else if (run == 3) {
          if (mo >= 1) out += fs.ShortMonthNames[mo - 1];
        } else {
          if (mo >= 1) out += fs.LongMonthNames[mo - 1];
        }
        i += run;
        lastWasHour = false;
        continue;
      case 'd': {
        int dow = DayOfWeek(dt) - 1;
        if (run == 1) out += IntToStr(d);
        else if (run == 2) out += Pad(d, 2);
        else if (run == 3) out += fs.ShortDayNames[dow];
        else if (run == 4) out += fs.LongDayNames[dow];
        else if (run == 5) AppendFormat(out, fs.ShortDateFormat, dt, fs, depth + 1);
        else AppendFormat(out, fs.LongDateFormat, dt, fs, depth + 1);
        i += run;
        lastWasHour = false;
        continue;
      }
      case 'h': {
        int hh = h;
        if (twelve) {
          hh = h % 12;
          if (hh == 0) hh = 12;
        }
        out += run == 1 ? IntToStr(hh) : Pad(hh, 2);
        i += run;
        lastWasHour = true;
        continue;
      }
      case 'n':
        out += run == 1 ? IntToStr(mi) : Pad(mi, 2);
        i += run;
        lastWasHour = false;
        continue;
      case 's':
        out += run == 1 ? IntToStr(s) : Pad(s, 2);
        i += run;
        lastWasHour = false;
        continue;
      case 'z':
        out += run == 1 ? IntToStr(ms) : Pad(ms, 3);
        i += run;
        lastWasHour = false;
        continue;
      case 't':
        AppendFormat(out, run == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, dt, fs, depth + 1);
        i += run;
        lastWasHour = false;
        continue;
      case 'c':
        AppendFormat(out, fs.ShortDateFormat, dt, fs, depth + 1);
        if (DateTimeToTimeStamp(dt).Time != 0) {
          out.push_back(' ');
          AppendFormat(out, fs.LongTimeFormat, dt, fs, depth + 1);
        }
        i += run;
        lastWasHour = false;
        continue;
      case 'a':
        if (StartsWithNoCase(f, i, "am/pm")) {
          AnsiString m = h < 12 ? "am" : "pm";
          if (f[i] == 'A') m = h < 12 ? "AM" : "PM";
          out += m;
          i += 5;
        } else if (StartsWithNoCase(f, i, "a/p")) {
          char m = h < 12 ? 'a' : 'p';
          if (f[i] == 'A') m = static_cast<char>(m - 32);
          out.push_back(m);
          i += 3;
        } else if (StartsWithNoCase(f, i, "ampm")) {
          out += h < 12 ? fs.TimeAMString : fs.TimePMString;
          i += 4;
        } else {
          out.push_back(c);
          ++i;
        }
        continue;
      case '/':
        if (fs.DateSeparator) out.push_back(fs.DateSeparator);
        ++i;
        continue;
      case ':':
        if (fs.TimeSeparator) out.push_back(fs.TimeSeparator);
        ++i;
        continue;
      default:
        out.push_back(c);
        ++i;
        continue;
    }
  }
}

}  // namespace

AnsiString FormatDateTime(const AnsiString& format, TDateTime dt, const TFormatSettings& fs) {
  AnsiString out;
  AppendFormat(out, format.empty() ? AnsiString("c") : format, dt, fs, 0);
  return out;
}

AnsiString FormatDateTime(const AnsiString& format, TDateTime dt) { return FormatDateTime(format, dt, FormatSettings); }
AnsiString DateToStr(TDateTime d, const TFormatSettings& fs) { return FormatDateTime("ddddd", d, fs); }
AnsiString DateToStr(TDateTime d) { return DateToStr(d, FormatSettings); }
AnsiString TimeToStr(TDateTime t, const TFormatSettings& fs) { return FormatDateTime("tt", t, fs); }
AnsiString TimeToStr(TDateTime t) { return TimeToStr(t, FormatSettings); }
AnsiString DateTimeToStr(TDateTime dt, const TFormatSettings& fs) { return FormatDateTime("c", dt, fs); }
AnsiString DateTimeToStr(TDateTime dt) { return DateTimeToStr(dt, FormatSettings); }

// ------------------------------------------------------------------- parse

namespace {

// Order of day, month and year in the short date format.
enum class DateOrder { MDY, DMY, YMD };

DateOrder OrderOf(const AnsiString& f) {
  std::size_t d = f.find_first_of("dD"), m = f.find_first_of("mM"), y = f.find_first_of("yY");
  if (y != std::string::npos && (d == std::string::npos || y < d) && (m == std::string::npos || y < m))
    return DateOrder::YMD;
  if (d != std::string::npos && m != std::string::npos && d < m) return DateOrder::DMY;
  return DateOrder::MDY;
}

bool ReadNumber(const AnsiString& s, std::size_t& i, int& value, int& digits) {
  while (i < s.size() && s[i] == ' ') ++i;
  value = 0;
  digits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9' && digits < 5) value = value * 10 + (s[i++] - '0'), ++digits;
  return digits > 0;
}

bool ReadSep(const AnsiString& s, std::size_t& i, char sep) {
  while (i < s.size() && s[i] == ' ') ++i;
  if (i < s.size() && s[i] == sep) {
    ++i;
    return true;
  }
  return false;
}

bool ParseDate(const AnsiString& s, std::size_t& i, TDateTime& value, const TFormatSettings& fs) {
  int n[3] = {0, 0, 0}, nd[3] = {0, 0, 0};
  int count = 0;
  if (!ReadNumber(s, i, n[0], nd[0])) return false;
  count = 1;
  for (; count < 3; ++count) {
    std::size_t save = i;
    if (!ReadSep(s, i, fs.DateSeparator) || !ReadNumber(s, i, n[count], nd[count])) {
      i = save;
      break;
    }
  }
  if (count < 2) return false;
  if (count == 3) ReadSep(s, i, fs.DateSeparator);  // a trailing separator is allowed
  Word curY, curM, curD;
  DecodeDate(Date(), curY, curM, curD);
  int y, m, d;
  int yearDigits = 4;
  DateOrder order = OrderOf(fs.ShortDateFormat);
  if (count == 2) {
    y = curY;
    if (order == DateOrder::DMY) d = n[0], m = n[1];
    else m = n[0], d = n[1];  // MDY and YMD give month first
  } else {
    switch (order) {
      case DateOrder::DMY: d = n[0], m = n[1], y = n[2], yearDigits = nd[2]; break;
      case DateOrder::YMD: y = n[0], m = n[1], d = n[2], yearDigits = nd[0]; break;
      default: m = n[0], d = n[1], y = n[2], yearDigits = nd[2]; break;
    }
    if (yearDigits <= 2) {
      int window = fs.TwoDigitYearCenturyWindow;
      int century = curY - curY % 100;
      y += century;
      if (window > 0) {
        int pivot = curY - window;
        if (y < pivot) y += 100;
      }
    }
  }
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31) return false;
  return TryEncodeDate(static_cast<Word>(y), static_cast<Word>(m), static_cast<Word>(d), value);
}

bool ParseTime(const AnsiString& s, std::size_t& i, TDateTime& value, const TFormatSettings& fs) {
  int part[4] = {0, 0, 0, 0}, digits = 0;
  if (!ReadNumber(s, i, part[0], digits)) return false;
  int count = 1;
  for (; count < 3; ++count) {
    std::size_t save = i;
    if (!ReadSep(s, i, fs.TimeSeparator) || !ReadNumber(s, i, part[count], digits)) {
      i = save;
      break;
    }
  }
  if (count == 3) {
    std::size_t save = i;
    if (!(ReadSep(s, i, '.') || ReadSep(s, i, fs.DecimalSeparator)) || !ReadNumber(s, i, part[3], digits)) i = save;
  }
  while (i < s.size() && s[i] == ' ') ++i;
  // am/pm suffix
  auto tail = AnsiUpperCase(s.substr(i));
  int h = part[0];
  auto take = [&](const AnsiString& m) {
    if (!m.empty() && tail.compare(0, m.size(), AnsiUpperCase(m)) == 0) {
      i += m.size();
      return true;
    }
    return false;
  };
  if (take("AM") || take(fs.TimeAMString)) {
    if (h == 12) h = 0;
    else if (h > 12) return false;
  } else if (take("PM") || take(fs.TimePMString)) {
    if (h > 12) return false;
    if (h < 12) h += 12;
  }
  if (h < 0 || h > 23 || part[1] > 59 || part[2] > 59 || part[3] > 999) return false;
  return TryEncodeTime(static_cast<Word>(h), static_cast<Word>(part[1]), static_cast<Word>(part[2]),
                       static_cast<Word>(part[3]), value);
}

bool AtEnd(const AnsiString& s, std::size_t i) {
  while (i < s.size() && s[i] == ' ') ++i;
  return i == s.size();
}

}  // namespace

bool TryStrToDate(const AnsiString& s, TDateTime& value, const TFormatSettings& fs) {
  std::size_t i = 0;
  TDateTime v;
  if (!ParseDate(s, i, v, fs) || !AtEnd(s, i)) return false;
  value = v;
  return true;
}

bool TryStrToDate(const AnsiString& s, TDateTime& value) { return TryStrToDate(s, value, FormatSettings); }

TDateTime StrToDate(const AnsiString& s, const TFormatSettings& fs) {
  TDateTime v;
  if (!TryStrToDate(s, v, fs)) throw EConvertError(&SInvalidDate, {s});
  return v;
}

TDateTime StrToDate(const AnsiString& s) { return StrToDate(s, FormatSettings); }

bool TryStrToTime(const AnsiString& s, TDateTime& value, const TFormatSettings& fs) {
  std::size_t i = 0;
  TDateTime v;
  if (!ParseTime(s, i, v, fs) || !AtEnd(s, i)) return false;
  value = v;
  return true;
}

bool TryStrToTime(const AnsiString& s, TDateTime& value) { return TryStrToTime(s, value, FormatSettings); }

TDateTime StrToTime(const AnsiString& s, const TFormatSettings& fs) {
  TDateTime v;
  if (!TryStrToTime(s, v, fs)) throw EConvertError(&SInvalidTime, {s});
  return v;
}

TDateTime StrToTime(const AnsiString& s) { return StrToTime(s, FormatSettings); }
