// TIniFile: an INI file read and written through the system's profile
// functions. Every write goes to the file at once; a write the system refuses
// (a read-only file, a missing folder) raises EIniFileException with the
// file's name. Reads never raise: a missing file, section or key gives the
// default. Text is code page 1251 on both sides; the file is written by the
// system in its ANSI code page.
#pragma once

#include "classlib/core/IniFiles.h"

class TIniFile : public TCustomIniFile {
  DK_CLASS(TIniFile, TCustomIniFile)
 public:
  explicit TIniFile(const AnsiString& FileName) : TCustomIniFile(FileName) {}

  AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Default) override;
  void WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value) override;
  void ReadSection(const AnsiString& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(const AnsiString& Section, TStrings* Strings) override;
  // Removing from a file that does not exist removes nothing and succeeds;
  // otherwise a refused change raises as a write does.
  void EraseSection(const AnsiString& Section) override;
  void DeleteKey(const AnsiString& Section, const AnsiString& Ident) override;
  // Flushes the system's cached copy of the file.
  void UpdateFile() override;

 private:
  [[noreturn]] void WriteError() const;
  AnsiString ReadList(const wchar_t* Section) const;
};
