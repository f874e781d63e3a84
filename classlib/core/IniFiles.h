// INI files: the common interface and the in-memory INI file.
//
// Value rules of every INI file class: integers in decimal or hex ("$1F" or
// "0x1F"); booleans written as "1"/"0" and read as true for any non-zero
// number (other text gives the default); floats and dates in the process's
// format settings (a value that does not read gives the default).
#pragma once

#include <memory>
#include <vector>

#include "classlib/core/Classes.h"

class TCustomIniFile : public TObject {
  DK_CLASS(TCustomIniFile, TObject)
 public:
  explicit TCustomIniFile(const AnsiString& FileName) : FFileName(FileName) {}
  ~TCustomIniFile() override = default;
  TCustomIniFile(const TCustomIniFile&) = delete;
  TCustomIniFile& operator=(const TCustomIniFile&) = delete;

  const AnsiString& FileName() const { return FFileName; }

  virtual AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Default) = 0;
  virtual void WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value) = 0;
  virtual Integer ReadInteger(const AnsiString& Section, const AnsiString& Ident, Integer Default);
  virtual void WriteInteger(const AnsiString& Section, const AnsiString& Ident, Integer Value);
  virtual bool ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default);
  virtual void WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value);
  virtual double ReadFloat(const AnsiString& Section, const AnsiString& Ident, double Default);
  virtual void WriteFloat(const AnsiString& Section, const AnsiString& Ident, double Value);
  virtual TDateTime ReadDate(const AnsiString& Section, const AnsiString& Ident, TDateTime Default);
  virtual void WriteDate(const AnsiString& Section, const AnsiString& Ident, TDateTime Value);
  virtual TDateTime ReadTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Default);
  virtual void WriteTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Value);
  virtual TDateTime ReadDateTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Default);
  virtual void WriteDateTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Value);

  virtual bool SectionExists(const AnsiString& Section);
  virtual bool ValueExists(const AnsiString& Section, const AnsiString& Ident);
  // The key names of a section.
  virtual void ReadSection(const AnsiString& Section, TStrings* Strings) = 0;
  virtual void ReadSections(TStrings* Strings) = 0;
  // The "key=value" lines of a section.
  virtual void ReadSectionValues(const AnsiString& Section, TStrings* Strings) = 0;
  virtual void EraseSection(const AnsiString& Section) = 0;
  virtual void DeleteKey(const AnsiString& Section, const AnsiString& Ident) = 0;
  // Writes buffered changes to the file.
  virtual void UpdateFile() = 0;

 protected:
  AnsiString FFileName;
};

// The whole file in memory. Reading: lines are trimmed; empty lines and lines
// starting with ';' are skipped; "[name]" starts a section; "key = value"
// becomes "key=value" (blanks around both trimmed); a line without "=" is kept
// as a key without value; lines before the first section are dropped. The
// first of duplicate keys (and sections) wins. Names compare without regard
// to case unless CaseSensitive is set. UpdateFile writes the file anew.
class TMemIniFile : public TCustomIniFile {
  DK_CLASS(TMemIniFile, TCustomIniFile)
 public:
  // Loads the file when it exists (an empty name gives an empty INI file).
  explicit TMemIniFile(const AnsiString& FileName);
  ~TMemIniFile() override;

  AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Default) override;
  void WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value) override;
  void ReadSection(const AnsiString& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(const AnsiString& Section, TStrings* Strings) override;
  void EraseSection(const AnsiString& Section) override;
  void DeleteKey(const AnsiString& Section, const AnsiString& Ident) override;
  bool ValueExists(const AnsiString& Section, const AnsiString& Ident) override;
  void UpdateFile() override;

  void Clear();
  // Replaces the contents with the INI text in List / gives the contents as
  // INI text (a blank line after each section).
  void SetStrings(TStrings* List);
  void GetStrings(TStrings* List);
  void Rename(const AnsiString& FileName, bool Reload);

  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);

 private:
  struct Section {
    AnsiString Name;
    std::unique_ptr<TStringList> Lines;
  };
  Section* FindSection(const AnsiString& Name);
  Section& AddSection(const AnsiString& Name);
  void LoadValues();
  std::vector<Section> FSections;
  bool FCaseSensitive = false;
};
