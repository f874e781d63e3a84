// System utilities: exceptions, text, conversions, dates and files.
//
// Text is AnsiString: bytes in code page 1251. Indexes are 1-based as in the
// rest of the class library (Pos returns 0 when nothing is found).
#pragma once

#include <cstdint>
#include <exception>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

#include "classlib/core/Cp1251.h"
#include "classlib/core/ResString.h"
#include "classlib/core/System.h"

// ---------------------------------------------------------------------------
// Arguments of Format and of the formatting exception constructors.

struct TVarRec {
  enum TKind { vtInteger, vtInt64, vtUInt64, vtExtended, vtString, vtWideString, vtChar, vtPointer, vtBoolean };
  TKind VType;
  Int64 VInt64 = 0;
  long double VExtended = 0;
  const void* VPointer = nullptr;
  AnsiString VString;

  TVarRec(int v) : VType(vtInteger), VInt64(v) {}
  TVarRec(long v) : VType(vtInt64), VInt64(v) {}
  TVarRec(long long v) : VType(vtInt64), VInt64(v) {}
  TVarRec(unsigned v) : VType(vtInt64), VInt64(v) {}
  TVarRec(unsigned long v) : VType(vtUInt64), VInt64(static_cast<Int64>(v)) {}
  TVarRec(unsigned long long v) : VType(vtUInt64), VInt64(static_cast<Int64>(v)) {}
  TVarRec(short v) : VType(vtInteger), VInt64(v) {}
  TVarRec(unsigned short v) : VType(vtInteger), VInt64(v) {}
  TVarRec(signed char v) : VType(vtInteger), VInt64(v) {}
  TVarRec(unsigned char v) : VType(vtInteger), VInt64(v) {}
  TVarRec(bool v) : VType(vtBoolean), VInt64(v) {}
  TVarRec(char v) : VType(vtChar), VString(1, v) {}
  TVarRec(float v) : VType(vtExtended), VExtended(v) {}
  TVarRec(double v) : VType(vtExtended), VExtended(v) {}
  TVarRec(long double v) : VType(vtExtended), VExtended(v) {}
  TVarRec(const char* v) : VType(vtString), VString(v ? v : "") {}
  TVarRec(const AnsiString& v) : VType(vtString), VString(v) {}
  TVarRec(const WideString& v);  // converted to cp1251
  TVarRec(const char16_t* v);
  TVarRec(const void* v) : VType(vtPointer), VPointer(v) {}
  TVarRec(std::nullptr_t) : VType(vtPointer) {}
};

// ---------------------------------------------------------------------------
// Exceptions: thrown by value, caught by reference.

class Exception : public TObject, public std::exception {
  DK_CLASS(Exception, TObject)
 public:
  AnsiString Message;
  int HelpContext = 0;

  Exception() = default;
  explicit Exception(const AnsiString& msg) : Message(msg) {}
  explicit Exception(const char* msg) : Message(msg ? msg : "") {}
  // CreateFmt: the message is Format(fmt, args).
  Exception(const AnsiString& fmt, std::initializer_list<TVarRec> args);
  // CreateRes / CreateResFmt.
  explicit Exception(PResStringRec res);
  Exception(PResStringRec res, std::initializer_list<TVarRec> args);
  Exception(const Exception&) = default;
  Exception& operator=(const Exception&) = default;
  ~Exception() override = default;

  const char* what() const noexcept override { return Message.c_str(); }
};

// Declares an exception class that takes its parent's constructors.
#define DK_DECLARE_EXCEPTION(Name, Parent) \
  class Name : public Parent {             \
    DK_CLASS(Name, Parent)                 \
   public:                                 \
    using Parent::Parent;                  \
    Name() = default;                      \
  }

DK_DECLARE_EXCEPTION(EAbort, Exception);
DK_DECLARE_EXCEPTION(EHeapException, Exception);
DK_DECLARE_EXCEPTION(EOutOfMemory, EHeapException);
DK_DECLARE_EXCEPTION(EInvalidPointer, EHeapException);
DK_DECLARE_EXCEPTION(EExternal, Exception);
DK_DECLARE_EXCEPTION(EIntError, EExternal);
DK_DECLARE_EXCEPTION(EDivByZero, EIntError);
DK_DECLARE_EXCEPTION(ERangeError, EIntError);
DK_DECLARE_EXCEPTION(EIntOverflow, EIntError);
DK_DECLARE_EXCEPTION(EMathError, EExternal);
DK_DECLARE_EXCEPTION(EZeroDivide, EMathError);
DK_DECLARE_EXCEPTION(EOverflow, EMathError);
DK_DECLARE_EXCEPTION(EInvalidOp, EMathError);
DK_DECLARE_EXCEPTION(EInvalidCast, Exception);
DK_DECLARE_EXCEPTION(EConvertError, Exception);
DK_DECLARE_EXCEPTION(EVariantError, Exception);
DK_DECLARE_EXCEPTION(EAbstractError, Exception);
DK_DECLARE_EXCEPTION(EAssertionFailed, Exception);
DK_DECLARE_EXCEPTION(ENotSupportedException, Exception);
// Class library side (streams, filers, lists, components, threads).
DK_DECLARE_EXCEPTION(EStreamError, Exception);
DK_DECLARE_EXCEPTION(EFCreateError, EStreamError);
DK_DECLARE_EXCEPTION(EFOpenError, EStreamError);
DK_DECLARE_EXCEPTION(EFilerError, EStreamError);
DK_DECLARE_EXCEPTION(EReadError, EFilerError);
DK_DECLARE_EXCEPTION(EWriteError, EFilerError);
DK_DECLARE_EXCEPTION(EClassNotFound, EFilerError);
DK_DECLARE_EXCEPTION(EMethodNotFound, EFilerError);
DK_DECLARE_EXCEPTION(EInvalidImage, EFilerError);
DK_DECLARE_EXCEPTION(EResNotFound, Exception);
DK_DECLARE_EXCEPTION(EListError, Exception);
DK_DECLARE_EXCEPTION(EStringListError, EListError);
DK_DECLARE_EXCEPTION(EComponentError, Exception);
DK_DECLARE_EXCEPTION(EParserError, Exception);
DK_DECLARE_EXCEPTION(EOutOfResources, EOutOfMemory);
DK_DECLARE_EXCEPTION(EInvalidOperation, Exception);
DK_DECLARE_EXCEPTION(EThread, Exception);
DK_DECLARE_EXCEPTION(EBitsError, Exception);
DK_DECLARE_EXCEPTION(EIniFileException, Exception);

class EInOutError : public Exception {
  DK_CLASS(EInOutError, Exception)
 public:
  using Exception::Exception;
  EInOutError() = default;
  int ErrorCode = 0;
};

class EOSError : public Exception {
  DK_CLASS(EOSError, Exception)
 public:
  using Exception::Exception;
  EOSError() = default;
  Cardinal ErrorCode = 0;
};

// Raises EAbort with the text "Operation aborted" (a silent exception).
[[noreturn]] void Abort();
// Last error code of the platform (GetLastError / errno).
Cardinal GetLastOSError();
// The platform's text for an error code.
AnsiString SysErrorMessage(Cardinal code);
// Raises EOSError for the last (or the given) platform error.
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseLastOSError(Cardinal code);

// ---------------------------------------------------------------------------
// Locale settings used by the conversions.

struct TFormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  char ListSeparator = ',';
  AnsiString ShortDateFormat = "dd/MM/yyyy";
  AnsiString LongDateFormat = "dd MMMM yyyy";
  AnsiString ShortTimeFormat = "hh:mm";
  AnsiString LongTimeFormat = "hh:mm:ss";
  AnsiString TimeAMString = "AM";
  AnsiString TimePMString = "PM";
  AnsiString CurrencyString = "$";
  Byte CurrencyFormat = 0;
  Byte NegCurrFormat = 0;
  Byte CurrencyDecimals = 2;
  Word TwoDigitYearCenturyWindow = 50;
  AnsiString ShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  AnsiString LongMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
  AnsiString ShortDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  AnsiString LongDayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

  // The fixed default above (invariant, English names).
  static TFormatSettings Invariant();
  // The user's settings as the platform reports them (the fixed default where
  // the platform reports nothing).
  static TFormatSettings FromSystem();
};

// Process-wide settings, filled from the platform at start-up.
extern TFormatSettings FormatSettings;
// Re-reads FormatSettings from the platform.
void GetFormatSettings();

// ---------------------------------------------------------------------------
// Text.

// Code page conversions; unmappable characters become '?'. Malformed UTF-8
// or lone surrogates become '?' too (U+FFFD in 16-bit text).
WideString AnsiToWide(const AnsiString& s);
AnsiString WideToAnsi(const WideString& s);
// Appends one code point as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);
std::string AnsiToUtf8(const AnsiString& s);
AnsiString Utf8ToAnsi(const std::string& s);
std::string WideToUtf8(const WideString& s);
WideString Utf8ToWide(const std::string& s);
inline std::string UTF8Encode(const WideString& s) { return WideToUtf8(s); }
inline WideString UTF8Decode(const std::string& s) { return Utf8ToWide(s); }

AnsiString UpperCase(const AnsiString& s);  // ASCII letters only
AnsiString LowerCase(const AnsiString& s);
int CompareStr(const AnsiString& a, const AnsiString& b);   // byte order
int CompareText(const AnsiString& a, const AnsiString& b);  // ASCII case-insensitive
bool SameText(const AnsiString& a, const AnsiString& b);
bool SameStr(const AnsiString& a, const AnsiString& b);
AnsiString AnsiUpperCase(const AnsiString& s);  // code page 1251 letters too
AnsiString AnsiLowerCase(const AnsiString& s);
char AnsiUpperChar(char c);
char AnsiLowerChar(char c);
int AnsiCompareStr(const AnsiString& a, const AnsiString& b);   // by alphabet, case-sensitive
int AnsiCompareText(const AnsiString& a, const AnsiString& b);  // by alphabet, case-insensitive
bool AnsiSameText(const AnsiString& a, const AnsiString& b);
bool AnsiSameStr(const AnsiString& a, const AnsiString& b);

AnsiString Trim(const AnsiString& s);  // removes control characters and blanks (<= ' ')
AnsiString TrimLeft(const AnsiString& s);
AnsiString TrimRight(const AnsiString& s);
int Pos(const AnsiString& sub, const AnsiString& s);
int PosEx(const AnsiString& sub, const AnsiString& s, int offset = 1);
int AnsiPos(const AnsiString& sub, const AnsiString& s);
AnsiString Copy(const AnsiString& s, int index, int count);
AnsiString Copy(const AnsiString& s, int index);  // to the end
void Delete(AnsiString& s, int index, int count);
void Insert(const AnsiString& sub, AnsiString& s, int index);
int LastDelimiter(const AnsiString& delimiters, const AnsiString& s);
AnsiString StringOfChar(char c, int count);

enum TReplaceFlag { rfReplaceAll = 1, rfIgnoreCase = 2 };
using TReplaceFlags = int;
AnsiString StringReplace(const AnsiString& s, const AnsiString& oldPattern, const AnsiString& newPattern,
                         TReplaceFlags flags);

AnsiString QuotedStr(const AnsiString& s);                  // 'it''s'
AnsiString AnsiQuotedStr(const AnsiString& s, char quote);  // doubles the quote inside
// Takes the quoted text at the start of s (the quote doubled inside stands for
// one); text that does not start with the quote comes back unchanged.
AnsiString AnsiDequotedStr(const AnsiString& s, char quote);
// Takes a quoted text from the start of p (1-based index advanced past it);
// empty when p does not point at the quote.
AnsiString AnsiExtractQuotedStr(const AnsiString& s, int& index, char quote);

// ---------------------------------------------------------------------------
// Numbers.

AnsiString IntToStr64(Int64 value);
AnsiString UIntToStr(UInt64 value);
template <class T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
AnsiString IntToStr(T value) {
  if constexpr (std::is_signed_v<T>)
    return IntToStr64(static_cast<Int64>(value));
  else
    return UIntToStr(static_cast<UInt64>(value));
}
// Upper-case hex of the value in its own width (a negative 32-bit value gives
// eight digits), at least `digits` digits.
AnsiString IntToHexBits(UInt64 value, int digits);
template <class T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
AnsiString IntToHex(T value, int digits) {
  using U = std::make_unsigned_t<T>;
  return IntToHexBits(static_cast<UInt64>(static_cast<U>(value)), digits);
}
Integer StrToInt(const AnsiString& s);          // raises EConvertError
Integer StrToIntDef(const AnsiString& s, Integer def);
bool TryStrToInt(const AnsiString& s, Integer& value);
Int64 StrToInt64(const AnsiString& s);
Int64 StrToInt64Def(const AnsiString& s, Int64 def);
bool TryStrToInt64(const AnsiString& s, Int64& value);
bool StrToBool(const AnsiString& s);
bool StrToBoolDef(const AnsiString& s, bool def);
bool TryStrToBool(const AnsiString& s, bool& value);
AnsiString BoolToStr(bool b, bool useBoolStrs = false);

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

AnsiString FloatToStr(long double value);
AnsiString FloatToStr(long double value, const TFormatSettings& fs);
AnsiString FloatToStrF(long double value, TFloatFormat format, int precision, int digits);
AnsiString FloatToStrF(long double value, TFloatFormat format, int precision, int digits,
                       const TFormatSettings& fs);
AnsiString FormatFloat(const AnsiString& format, long double value);
AnsiString FormatFloat(const AnsiString& format, long double value, const TFormatSettings& fs);
long double StrToFloat(const AnsiString& s);  // raises EConvertError
long double StrToFloat(const AnsiString& s, const TFormatSettings& fs);
long double StrToFloatDef(const AnsiString& s, long double def);
long double StrToFloatDef(const AnsiString& s, long double def, const TFormatSettings& fs);
bool TryStrToFloat(const AnsiString& s, double& value);
bool TryStrToFloat(const AnsiString& s, double& value, const TFormatSettings& fs);
bool TryStrToFloat(const AnsiString& s, long double& value);
bool TryStrToFloat(const AnsiString& s, long double& value, const TFormatSettings& fs);

// Format: %[index:][-][width][.precision]type with type one of d u x s f g e n
// m p %; width and precision may be '*' (taken from the arguments). A bad
// format, a mismatched argument or a width over 100000 raises EConvertError.
AnsiString FormatBuf(const AnsiString& format, const TVarRec* args, std::size_t count, const TFormatSettings& fs);
inline AnsiString Format(const AnsiString& format, std::initializer_list<TVarRec> args) {
  return FormatBuf(format, args.begin(), args.size(), FormatSettings);
}
inline AnsiString Format(const AnsiString& format, std::initializer_list<TVarRec> args, const TFormatSettings& fs) {
  return FormatBuf(format, args.begin(), args.size(), fs);
}
inline AnsiString Format(const AnsiString& format, const std::vector<TVarRec>& args) {
  return FormatBuf(format, args.data(), args.size(), FormatSettings);
}

// ---------------------------------------------------------------------------
// Dates and times: TDateTime counts days since 30.12.1899, the time of day in
// the fraction.

struct TTimeStamp {
  Integer Time;  // milliseconds since midnight
  Integer Date;  // days since 01.01.0001 plus one
};

TDateTime Now();
TDateTime Date();
TDateTime Time();
TDateTime EncodeDate(Word year, Word month, Word day);  // raises EConvertError
TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec);
bool TryEncodeDate(Word year, Word month, Word day, TDateTime& date);
bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime& time);
void DecodeDate(TDateTime date, Word& year, Word& month, Word& day);
void DecodeTime(TDateTime time, Word& hour, Word& min, Word& sec, Word& msec);
int DayOfWeek(TDateTime date);  // 1 = Sunday .. 7 = Saturday
bool IsLeapYear(Word year);
Word DaysInAMonth(Word year, Word month);
TTimeStamp DateTimeToTimeStamp(TDateTime dt);
TDateTime TimeStampToDateTime(const TTimeStamp& ts);

AnsiString FormatDateTime(const AnsiString& format, TDateTime dt);
AnsiString FormatDateTime(const AnsiString& format, TDateTime dt, const TFormatSettings& fs);
AnsiString DateToStr(TDateTime d);
AnsiString DateToStr(TDateTime d, const TFormatSettings& fs);
AnsiString TimeToStr(TDateTime t);
AnsiString TimeToStr(TDateTime t, const TFormatSettings& fs);
AnsiString DateTimeToStr(TDateTime dt);
AnsiString DateTimeToStr(TDateTime dt, const TFormatSettings& fs);
TDateTime StrToDate(const AnsiString& s);  // raises EConvertError
TDateTime StrToDate(const AnsiString& s, const TFormatSettings& fs);
bool TryStrToDate(const AnsiString& s, TDateTime& value);
bool TryStrToDate(const AnsiString& s, TDateTime& value, const TFormatSettings& fs);
TDateTime StrToTime(const AnsiString& s);
TDateTime StrToTime(const AnsiString& s, const TFormatSettings& fs);
bool TryStrToTime(const AnsiString& s, TDateTime& value);
bool TryStrToTime(const AnsiString& s, TDateTime& value, const TFormatSettings& fs);

// Milliseconds since an unspecified start, wrapping at 2^32, and a pause of
// the calling thread. On Windows these are the system's own functions.
#ifdef _WIN32
extern "C" __declspec(dllimport) unsigned long __stdcall GetTickCount(void);
extern "C" __declspec(dllimport) void __stdcall Sleep(unsigned long milliseconds);
#else
Cardinal GetTickCount();
void Sleep(Cardinal milliseconds);
#endif

// ---------------------------------------------------------------------------
// Paths and files. File names are AnsiString (cp1251).

#ifdef _WIN32
inline constexpr char PathDelim = '\\';
inline constexpr char DriveDelim = ':';
#else
inline constexpr char PathDelim = '/';
inline constexpr char DriveDelim = '\0';
#endif

AnsiString ExtractFilePath(const AnsiString& name);  // with the trailing delimiter
AnsiString ExtractFileDir(const AnsiString& name);   // without it
AnsiString ExtractFileName(const AnsiString& name);
AnsiString ExtractFileExt(const AnsiString& name);   // with the dot
AnsiString ExtractFileDrive(const AnsiString& name);
AnsiString ChangeFileExt(const AnsiString& name, const AnsiString& ext);
AnsiString IncludeTrailingPathDelimiter(const AnsiString& s);
AnsiString ExcludeTrailingPathDelimiter(const AnsiString& s);
AnsiString IncludeTrailingBackslash(const AnsiString& s);
AnsiString ExcludeTrailingBackslash(const AnsiString& s);
AnsiString ExpandFileName(const AnsiString& name);

bool FileExists(const AnsiString& name);
bool DirectoryExists(const AnsiString& name);
bool CreateDir(const AnsiString& name);
bool ForceDirectories(const AnsiString& name);  // raises EInOutError for an empty name
bool DeleteFile(const AnsiString& name);
bool RenameFile(const AnsiString& oldName, const AnsiString& newName);
bool RemoveDir(const AnsiString& name);
AnsiString GetCurrentDir();
bool SetCurrentDir(const AnsiString& dir);
Int64 FileSizeByName(const AnsiString& name);  // -1 when missing

// File attributes (Windows values; natively faDirectory, faReadOnly and
// faHidden (a leading dot) are reported).
enum : Integer {
  faReadOnly = 0x01,
  faHidden = 0x02,
  faSysFile = 0x04,
  faVolumeID = 0x08,
  faDirectory = 0x10,
  faArchive = 0x20,
  faNormal = 0x80,
  faSymLink = 0x400,
  faAnyFile = 0x1FF,
};
Integer FileGetAttr(const AnsiString& name);  // -1 when missing
Integer FileSetAttr(const AnsiString& name, Integer attr);  // 0 or an error code

struct TSearchRecData;  // platform state
struct TSearchRec {
  Integer Time = 0;
  Int64 Size = 0;
  Integer Attr = 0;
  AnsiString Name;
  Integer ExcludeAttr = 0;
  TSearchRecData* FindHandle = nullptr;
  TSearchRec() = default;
  TSearchRec(const TSearchRec&) = delete;
  TSearchRec& operator=(const TSearchRec&) = delete;
  ~TSearchRec();
};
// Returns 0 when a file matches (its data in rec), an error code otherwise.
// The pattern is a folder and a mask with * and ?. Entries with faDirectory,
// faHidden, faSysFile or faVolumeID are found only when attr asks for them.
Integer FindFirst(const AnsiString& path, Integer attr, TSearchRec& rec);
Integer FindNext(TSearchRec& rec);
void FindClose(TSearchRec& rec);
// Wildcard match of a file name (* and ?), case-insensitive as on Windows.
bool MatchesMask(const AnsiString& name, const AnsiString& mask);

// Raw conversion of a file name to the platform's: UTF-16 on Windows, UTF-8
// natively.
std::string FileNameToNative(const AnsiString& name);

AnsiString ParamStr(int index);
int ParamCount();
