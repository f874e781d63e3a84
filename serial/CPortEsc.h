// Escape-code parsers: recognise the control sequences of a terminal in a
// character stream, one character at a time, and produce the text of a code.
//
// TEscapeCodes fixes the interface; TEscapeCodesVT52 and TEscapeCodesVT100
// implement the VT52 and the VT100/ANSI sequence sets. Every sequence begins
// with ESC (27); the parsers collect it without the ESC (Data). After erChar
// the plain character is Character(); after erCode the code, the collected
// sequence and the parameter list are. The parser never clears the parameter
// list itself: whoever handles a code clears it.
//
// Portable (no platform header): built in every kind, table-tested and fuzzed
// natively.
#pragma once

#include <memory>

#include "classlib/core/Classes.h"
#include "classlib/core/TypInfo.h"

DK_ENUM(TEscapeResult, erChar, erCode, erNothing);

DK_ENUM(TEscapeCode, ecUnknown, ecNotCompleted, ecCursorUp, ecCursorDown, ecCursorLeft, ecCursorRight,
        ecCursorHome, ecCursorMove, ecReverseLineFeed, ecAppCursorLeft, ecAppCursorRight, ecAppCursorUp,
        ecAppCursorDown, ecEraseLineFrom, ecEraseScreenFrom, ecEraseLine, ecEraseScreen, ecSetTab, ecClearTab,
        ecClearAllTabs, ecIdentify, ecIdentResponse, ecQueryDevice, ecReportDeviceOK, ecReportDeviceFailure,
        ecQueryCursorPos, ecReportCursorPos, ecAttributes, ecSetMode, ecResetMode, ecReset, ecSaveCaretAndAttr,
        ecRestoreCaretAndAttr, ecSaveCaret, ecRestoreCaret, ecTest);

class TEscapeCodes : public TObject {
  DK_CLASS(TEscapeCodes, TObject)
 public:
  // A bracket sequence that has collected this many characters (its "["
  // included) without a final letter ends as ecUnknown: a stream without
  // letters must not grow the parser without end.
  static constexpr std::size_t kMaxSequence = 64;
  static constexpr char kEsc = 27;

  TEscapeCodes();
  ~TEscapeCodes() override;

  // Feeds one character.
  virtual TEscapeResult ProcessChar(char Ch) = 0;
  // The text to send for Code (ESC included), parameters read with GetParam;
  // empty for a code that has no text.
  virtual AnsiString EscCodeToStr(TEscapeCode Code, TStrings* Params) = 0;

  // Parameter Num (from 1) of Params as a decimal number; 1 when Params is
  // nullptr, has no such entry, or the entry is not a decimal number that
  // fits 32 bits.
  static Integer GetParam(Integer Num, TStrings* Params);

  char Character() const { return FCharacter; }
  TEscapeCode Code() const { return FCode; }
  const AnsiString& Data() const { return FData; }
  TStrings* Params() const { return FParams.get(); }

 protected:
  // The walk both sets share: outside a sequence ESC starts one and every
  // other character is plain; inside, the character is collected and the
  // sequence so far classified by Classify.
  TEscapeResult Step(char Ch);
  virtual TEscapeCode Classify() = 0;
  // The sequence has ended (with a code).
  virtual void LeaveSequence() { FInSequence = false; }

  char FCharacter = 0;
  TEscapeCode FCode = ecUnknown;
  AnsiString FData;
  std::unique_ptr<TStringList> FParams;
  bool FInSequence = false;
};

class TEscapeCodesVT52 : public TEscapeCodes {
  DK_CLASS(TEscapeCodesVT52, TEscapeCodes)
 public:
  TEscapeCodesVT52() = default;
  TEscapeResult ProcessChar(char Ch) override { return Step(Ch); }
  AnsiString EscCodeToStr(TEscapeCode Code, TStrings* Params) override;
  // Classifies a collected sequence by its first character; ESC "Y" fills
  // the parameter list with the row and the column.
  TEscapeCode DetectCode(const AnsiString& Str);

 protected:
  TEscapeCode Classify() override { return DetectCode(FData); }
};

class TEscapeCodesVT100 : public TEscapeCodes {
  DK_CLASS(TEscapeCodesVT100, TEscapeCodes)
 public:
  TEscapeCodesVT100() = default;
  TEscapeResult ProcessChar(char Ch) override { return Step(Ch); }
  AnsiString EscCodeToStr(TEscapeCode Code, TStrings* Params) override;
  // Sequences that do not begin with "[".
  TEscapeCode DetectCode(const AnsiString& Str);
  // Sequences that begin with "[": complete at a letter, whose parameters
  // then replace the parameter list.
  TEscapeCode DetectExtCode(const AnsiString& Str);

 protected:
  TEscapeCode Classify() override;
  void LeaveSequence() override;

 private:
  bool FInExtSequence = false;
};
