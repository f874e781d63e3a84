// The skin text ("Options.dat") read once into sections and keys in file
// order, with lookups by name that do not search: the loader reads every key
// of every section, most of them through parents, and a skin has hundreds of
// sections.
//
// The text follows the in-memory INI file's rules with case-sensitive names:
// lines are trimmed, empty lines and lines starting with ";" are skipped,
// "[name]" starts a section, "key = value" is trimmed on both sides, lines
// before the first section are dropped. The first of duplicate sections and
// keys wins (the others are reported and dropped), as do lines without "=".
#pragma once

#include <unordered_map>
#include <vector>

#include "classlib/core/Classes.h"
#include "skin/core/acSkinReport.h"

class TacSkinText {
 public:
  struct TKey {
    AnsiString Name;
    AnsiString Value;
  };
  struct TSection {
    AnsiString Name;
    std::vector<TKey> Keys;
    std::unordered_map<AnsiString, size_t> Index;
  };

  TacSkinText() = default;
  // Reads the lines; findings go to Report when given.
  void Load(TStrings* Lines, TacSkinReport* Report = nullptr);
  void LoadFromText(const AnsiString& Text, TacSkinReport* Report = nullptr);
  void LoadFromStream(TStream* Stream, TacSkinReport* Report = nullptr);
  void Clear();

  size_t SectionCount() const { return FSections.size(); }
  const TSection& Section(size_t Index) const { return FSections[Index]; }
  // nullptr when the text has no such section / key.
  const TSection* FindSection(const AnsiString& Name) const;
  const AnsiString* Find(const AnsiString& Section, const AnsiString& Key) const;

  AnsiString ReadString(const AnsiString& Section, const AnsiString& Key, const AnsiString& Default) const;
  // The class library's integer reading: decimal, "$" or "0x" hexadecimal;
  // Default when missing or not a number.
  Integer ReadInteger(const AnsiString& Section, const AnsiString& Key, Integer Default) const;

 private:
  void AddLine(const AnsiString& Line, TSection*& Current, TacSkinReport* Report);
  std::vector<TSection> FSections;
  std::unordered_map<AnsiString, size_t> FIndex;
};
