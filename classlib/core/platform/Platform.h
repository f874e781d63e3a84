// The thin layer between the portable class library and the operating system.
// One implementation per platform (PlatformPosix.cpp, PlatformWin.cpp). File
// names are cp1251; each implementation converts them to the system's form.
#pragma once

#include "classlib/core/SysUtils.h"

namespace dk_platform {

struct TLocalTime {
  Word Year, Month, Day, Hour, Minute, Second, MSec;
};
TLocalTime LocalTime();
Cardinal TickCount();
void SleepMs(Cardinal ms);

// The user's locale settings (the fixed default where there are none).
TFormatSettings SystemFormatSettings();

Cardinal LastError();
AnsiString ErrorMessage(Cardinal code);

bool FileExists(const AnsiString& name);
bool DirectoryExists(const AnsiString& name);
bool CreateDir(const AnsiString& name);
bool DeleteFile(const AnsiString& name);
bool RenameFile(const AnsiString& from, const AnsiString& to);
bool RemoveDir(const AnsiString& name);
AnsiString GetCurrentDir();
bool SetCurrentDir(const AnsiString& dir);
Int64 FileSize(const AnsiString& name);  // -1 when missing
Integer GetAttr(const AnsiString& name);  // -1 when missing
Integer SetAttr(const AnsiString& name, Integer attr);
AnsiString ExpandFileName(const AnsiString& name);

struct DirEntry {
  AnsiString Name;
  Int64 Size = 0;
  Integer Attr = 0;
  Integer Time = 0;
};
struct DirIter;
DirIter* OpenDir(const AnsiString& dir);  // nullptr when it cannot be read
bool NextEntry(DirIter* it, DirEntry& e);
void CloseDir(DirIter* it);

// Raw files for the file stream. Handles are -1 on failure (LastError tells why).
enum TOpenMode { omRead, omWrite, omReadWrite };
std::intptr_t FileOpen(const AnsiString& name, TOpenMode mode);
std::intptr_t FileCreate(const AnsiString& name);
std::intptr_t FileRead(std::intptr_t h, void* buf, std::intptr_t count);   // -1 on error
std::intptr_t FileWrite(std::intptr_t h, const void* buf, std::intptr_t count);
Int64 FileSeek(std::intptr_t h, Int64 offset, int origin);  // -1 on error
bool FileTruncate(std::intptr_t h);  // at the current position
void FileClose(std::intptr_t h);

AnsiString ParamStr(int index);
int ParamCount();

}  // namespace dk_platform
