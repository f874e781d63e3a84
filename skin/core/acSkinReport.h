// What the skin reader drops, changes or refuses while it reads a skin, with
// the section and key it concerns. The loader goes on after everything but
// an error; the skin packer's check prints every finding.
#pragma once

#include <vector>

#include "classlib/core/SysUtils.h"

enum TacFindingKind {
  fkInfo,     // something not checked here (a JPEG picture without a decoder)
  fkDropped,  // a value, image or line that makes no entry
  fkChanged,  // a value taken otherwise than written (limited, inherited around a cycle)
  fkError,    // the load fails
};

struct TacSkinFinding {
  TacFindingKind Kind = fkInfo;
  AnsiString Section;
  AnsiString Key;
  AnsiString Reason;
};

class TacSkinReport {
 public:
  void Add(TacFindingKind Kind, const AnsiString& Section, const AnsiString& Key, const AnsiString& Reason) {
    FFindings.push_back(TacSkinFinding{Kind, Section, Key, Reason});
  }
  const std::vector<TacSkinFinding>& Findings() const { return FFindings; }
  void Clear() { FFindings.clear(); }

 private:
  std::vector<TacSkinFinding> FFindings;
};

// A load that fails on a value of the skin: the message names its section
// and key.
class EacSkinError : public Exception {
  DK_CLASS(EacSkinError, Exception)
 public:
  EacSkinError(const AnsiString& Section, const AnsiString& Key, const AnsiString& Reason)
      : Exception("Skin section \"" + Section + "\", key \"" + Key + "\": " + Reason),
        FSection(Section), FKey(Key), FReason(Reason) {}
  const AnsiString& Section() const { return FSection; }
  const AnsiString& Key() const { return FKey; }
  const AnsiString& Reason() const { return FReason; }

 private:
  AnsiString FSection, FKey, FReason;
};
