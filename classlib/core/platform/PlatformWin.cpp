// Windows implementation of the platform layer: wide (W) calls throughout,
// file names converted from cp1251 to UTF-16.
#ifdef _WIN32

#include <windows.h>
#undef DeleteFile

#include <string>
#include <vector>

#include "classlib/core/platform/Platform.h"

namespace dk_platform {

namespace {
std::wstring W(const AnsiString& s) {
  WideString w = AnsiToWide(s);
  return std::wstring(w.begin(), w.end());
}
AnsiString A(const wchar_t* s) {
  WideString w;
  for (; s && *s; ++s) w.push_back(static_cast<char16_t>(*s));
  return WideToAnsi(w);
}
AnsiString A(const std::wstring& s) { return A(s.c_str()); }

AnsiString LocaleText(LCTYPE type, const AnsiString& def) {
  wchar_t buf[256];
  int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buf, 256);
  if (n <= 1) return def;
  return A(buf);
}

char LocaleChar(LCTYPE type, char def) {
  AnsiString s = LocaleText(type, AnsiString(1, def));
  return s.empty() ? def : s[0];
}

// Windows time formats mark the half of the day with "t"/"tt"; ours with "ampm".
AnsiString ConvertTimeFormat(const AnsiString& f) {
  AnsiString r;
  char quote = 0;
  for (std::size_t i = 0; i < f.size(); ++i) {
    char c = f[i];
    if (quote) {
      r.push_back(c);
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
      r.push_back(c);
    } else if (c == 't') {
      while (i + 1 < f.size() && f[i + 1] == 't') ++i;
      r += "AMPM";
    } else {
      r.push_back(c);
    }
  }
  return r;
}
}  // namespace

TLocalTime LocalTime() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return TLocalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

Cardinal TickCount() { return static_cast<Cardinal>(::GetTickCount()); }

void SleepMs(Cardinal ms) { ::Sleep(ms); }

TFormatSettings SystemFormatSettings() {
  TFormatSettings fs = TFormatSettings::Invariant();
  fs.DecimalSeparator = LocaleChar(LOCALE_SDECIMAL, fs.DecimalSeparator);
  fs.ThousandSeparator = LocaleChar(LOCALE_STHOUSAND, fs.ThousandSeparator);
  fs.DateSeparator = LocaleChar(LOCALE_SDATE, fs.DateSeparator);
  fs.TimeSeparator = LocaleChar(LOCALE_STIME, fs.TimeSeparator);
  fs.ListSeparator = LocaleChar(LOCALE_SLIST, fs.ListSeparator);
  fs.ShortDateFormat = LocaleText(LOCALE_SSHORTDATE, fs.ShortDateFormat);
  fs.LongDateFormat = LocaleText(LOCALE_SLONGDATE, fs.LongDateFormat);
  fs.LongTimeFormat = ConvertTimeFormat(LocaleText(LOCALE_STIMEFORMAT, fs.LongTimeFormat));
#ifndef LOCALE_SSHORTTIME
#define LOCALE_SSHORTTIME 0x00000079
#endif
  AnsiString shortTime = LocaleText(LOCALE_SSHORTTIME, "");
  if (shortTime.empty()) {
    // Derive it from the long format: drop the seconds.
    shortTime = fs.LongTimeFormat;
    std::size_t s = shortTime.find_first_of("sS");
    if (s != std::string::npos) {
      std::size_t b = s;
      while (b > 0 && shortTime[b - 1] != 'm' && shortTime[b - 1] != 'M') --b;
      std::size_t e = s;
      while (e < shortTime.size() && (shortTime[e] == 's' || shortTime[e] == 'S')) ++e;
      shortTime.erase(b, e - b);
    }
  }
  fs.ShortTimeFormat = ConvertTimeFormat(shortTime);
  fs.TimeAMString = LocaleText(LOCALE_S1159, fs.TimeAMString);
  fs.TimePMString = LocaleText(LOCALE_S2359, fs.TimePMString);
  fs.CurrencyString = LocaleText(LOCALE_SCURRENCY, fs.CurrencyString);
  fs.CurrencyFormat = static_cast<Byte>(StrToIntDef(LocaleText(LOCALE_ICURRENCY, "0"), 0));
  fs.NegCurrFormat = static_cast<Byte>(StrToIntDef(LocaleText(LOCALE_INEGCURR, "0"), 0));
  fs.CurrencyDecimals = static_cast<Byte>(StrToIntDef(LocaleText(LOCALE_ICURRDIGITS, "2"), 2));
  for (int m = 0; m < 12; ++m) {
    fs.ShortMonthNames[m] = LocaleText(LOCALE_SABBREVMONTHNAME1 + m, fs.ShortMonthNames[m]);
    fs.LongMonthNames[m] = LocaleText(LOCALE_SMONTHNAME1 + m, fs.LongMonthNames[m]);
  }
  for (int d = 0; d < 7; ++d) {
    // Ours start on Sunday, the locale's on Monday.
    int l = (d + 6) % 7;
    fs.ShortDayNames[d] = LocaleText(LOCALE_SABBREVDAYNAME1 + l, fs.ShortDayNames[d]);
    fs.LongDayNames[d] = LocaleText(LOCALE_SDAYNAME1 + l, fs.LongDayNames[d]);
  }
  return fs;
}

Cardinal LastError() { return static_cast<Cardinal>(::GetLastError()); }

AnsiString ErrorMessage(Cardinal code) {
  wchar_t* buf = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
  AnsiString r;
  if (n && buf) r = A(buf);
  if (buf) LocalFree(buf);
  while (!r.empty() && (static_cast<unsigned char>(r.back()) <= ' ' || r.back() == '.')) r.pop_back();
  return r;
}

bool FileExists(const AnsiString& name) {
  if (name.empty()) return false;
  DWORD a = GetFileAttributesW(W(name).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const AnsiString& name) {
  if (name.empty()) return false;
  DWORD a = GetFileAttributesW(W(name).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateDir(const AnsiString& name) { return !name.empty() && CreateDirectoryW(W(name).c_str(), nullptr); }
bool DeleteFile(const AnsiString& name) { return !name.empty() && DeleteFileW(W(name).c_str()); }
bool RenameFile(const AnsiString& from, const AnsiString& to) { return MoveFileW(W(from).c_str(), W(to).c_str()); }
bool RemoveDir(const AnsiString& name) { return !name.empty() && RemoveDirectoryW(W(name).c_str()); }

AnsiString GetCurrentDir() {
  DWORD n = GetCurrentDirectoryW(0, nullptr);
  std::vector<wchar_t> buf(n + 1);
  GetCurrentDirectoryW(n + 1, buf.data());
  return A(buf.data());
}

bool SetCurrentDir(const AnsiString& dir) { return SetCurrentDirectoryW(W(dir).c_str()); }

Int64 FileSize(const AnsiString& name) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (!GetFileAttributesExW(W(name).c_str(), GetFileExInfoStandard, &d)) return -1;
  if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
  return (static_cast<Int64>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

Integer GetAttr(const AnsiString& name) {
  DWORD a = GetFileAttributesW(W(name).c_str());
  return a == INVALID_FILE_ATTRIBUTES ? -1 : static_cast<Integer>(a);
}

Integer SetAttr(const AnsiString& name, Integer attr) {
  return SetFileAttributesW(W(name).c_str(), static_cast<DWORD>(attr)) ? 0 : static_cast<Integer>(::GetLastError());
}

AnsiString ExpandFileName(const AnsiString& name) {
  std::wstring w = W(name);
  DWORD n = GetFullPathNameW(w.c_str(), 0, nullptr, nullptr);
  if (!n) return name;
  std::vector<wchar_t> buf(n + 1);
  GetFullPathNameW(w.c_str(), n + 1, buf.data(), nullptr);
  return A(buf.data());
}

struct DirIter {
  HANDLE h;
  WIN32_FIND_DATAW data;
  bool first;
};

DirIter* OpenDir(const AnsiString& dir) {
  AnsiString pattern = dir.empty() ? AnsiString("*") : IncludeTrailingPathDelimiter(dir) + "*";
  auto* it = new DirIter{};
  it->h = FindFirstFileW(W(pattern).c_str(), &it->data);
  if (it->h == INVALID_HANDLE_VALUE) {
    delete it;
    return nullptr;
  }
  it->first = true;
  return it;
}

bool NextEntry(DirIter* it, DirEntry& e) {
  if (!it->first && !FindNextFileW(it->h, &it->data)) return false;
  it->first = false;
  e.Name = A(it->data.cFileName);
  e.Attr = static_cast<Integer>(it->data.dwFileAttributes);
  e.Size = (static_cast<Int64>(it->data.nFileSizeHigh) << 32) | it->data.nFileSizeLow;
  FILETIME local;
  WORD dd = 0, tt = 0;
  if (FileTimeToLocalFileTime(&it->data.ftLastWriteTime, &local)) FileTimeToDosDateTime(&local, &dd, &tt);
  e.Time = static_cast<Integer>((static_cast<DWORD>(dd) << 16) | tt);
  return true;
}

void CloseDir(DirIter* it) {
  if (!it) return;
  FindClose(it->h);
  delete it;
}

std::intptr_t FileOpen(const AnsiString& name, TOpenMode mode) {
  DWORD access = mode == omRead ? GENERIC_READ : (mode == omWrite ? GENERIC_WRITE : GENERIC_READ | GENERIC_WRITE);
  HANDLE h = CreateFileW(W(name).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  return h == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<std::intptr_t>(h);
}

std::intptr_t FileCreate(const AnsiString& name) {
  HANDLE h = CreateFileW(W(name).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  return h == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<std::intptr_t>(h);
}

std::intptr_t FileRead(std::intptr_t h, void* buf, std::intptr_t count) {
  std::intptr_t done = 0;
  while (done < count) {
    DWORD chunk = static_cast<DWORD>(count - done > 0x40000000 ? 0x40000000 : count - done), got = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(h), static_cast<char*>(buf) + done, chunk, &got, nullptr))
      return done ? done : -1;
    if (got == 0) break;
    done += got;
  }
  return done;
}

std::intptr_t FileWrite(std::intptr_t h, const void* buf, std::intptr_t count) {
  std::intptr_t done = 0;
  while (done < count) {
    DWORD chunk = static_cast<DWORD>(count - done > 0x40000000 ? 0x40000000 : count - done), put = 0;
    if (!WriteFile(reinterpret_cast<HANDLE>(h), static_cast<const char*>(buf) + done, chunk, &put, nullptr))
      return done ? done : -1;
    if (put == 0) break;
    done += put;
  }
  return done;
}

Int64 FileSeek(std::intptr_t h, Int64 offset, int origin) {
  LARGE_INTEGER d, r;
  d.QuadPart = offset;
  DWORD how = origin == 0 ? FILE_BEGIN : (origin == 1 ? FILE_CURRENT : FILE_END);
  if (!SetFilePointerEx(reinterpret_cast<HANDLE>(h), d, &r, how)) return -1;
  return r.QuadPart;
}

bool FileTruncate(std::intptr_t h) { return SetEndOfFile(reinterpret_cast<HANDLE>(h)); }

void FileClose(std::intptr_t h) {
  if (h != -1) CloseHandle(reinterpret_cast<HANDLE>(h));
}

namespace {
// Splits the command line as the class library does: blanks separate, double
// quotes group and are removed.
std::vector<std::wstring> SplitCommandLine() {
  std::vector<std::wstring> out;
  const wchar_t* p = GetCommandLineW();
  while (p && *p) {
    while (*p && *p <= L' ') ++p;
    if (!*p) break;
    std::wstring arg;
    bool quoted = false;
    while (*p && (quoted || *p > L' ')) {
      if (*p == L'"') quoted = !quoted;
      else arg.push_back(*p);
      ++p;
    }
    out.push_back(arg);
  }
  return out;
}
}  // namespace

AnsiString ParamStr(int index) {
  if (index == 0) {
    std::vector<wchar_t> buf(MAX_PATH + 1);
    for (;;) {
      DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
      if (n < buf.size()) return A(std::wstring(buf.data(), n));
      buf.resize(buf.size() * 2);
    }
  }
  auto args = SplitCommandLine();
  if (index < 0 || static_cast<std::size_t>(index) >= args.size()) return AnsiString();
  return A(args[static_cast<std::size_t>(index)]);
}

int ParamCount() {
  auto args = SplitCommandLine();
  return args.empty() ? 0 : static_cast<int>(args.size()) - 1;
}

}  // namespace dk_platform

#endif  // _WIN32
