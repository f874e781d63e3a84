// The VT52 and VT100/ANSI escape-code parsers.
#include "serial/CPortEsc.h"

#include <limits>
#include <vector>

namespace {

bool IsLetter(char C) { return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z'); }

// A decimal integer with an optional sign that fits 32 bits; false for
// anything else (hexadecimal included: parameters are decimal).
bool ParseDecimal(const AnsiString& S, Integer& Value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < S.size() && (S[i] == '-' || S[i] == '+')) negative = S[i++] == '-';
  if (i == S.size()) return false;
  Int64 v = 0;
  const Int64 limit = negative ? -Int64{std::numeric_limits<Integer>::min()} : std::numeric_limits<Integer>::max();
  for (; i < S.size(); ++i) {
    if (S[i] < '0' || S[i] > '9') return false;
    v = v * 10 + (S[i] - '0');
    if (v > limit) return false;
  }
  Value = static_cast<Integer>(negative ? -v : v);
  return true;
}

AnsiString Esc(const char* Text) { return AnsiString(1, TEscapeCodes::kEsc) + Text; }

}  // namespace

// ================================================================ the base

TEscapeCodes::TEscapeCodes() : FParams(Create<TStringList>()) {}

TEscapeCodes::~TEscapeCodes() = default;

Integer TEscapeCodes::GetParam(Integer Num, TStrings* Params) {
  if (!Params || Num < 1 || Num > Params->Count()) return 1;
  Integer value;
  return ParseDecimal(Params->Strings(Num - 1), value) ? value : 1;
}

TEscapeResult TEscapeCodes::Step(char Ch) {
  if (!FInSequence) {
    if (Ch == kEsc) {
      FData.clear();
      FInSequence = true;
      return erNothing;
    }
    FCharacter = Ch;
    return erChar;
  }
  FData += Ch;
  TEscapeCode code = Classify();
  if (code == ecNotCompleted) return erNothing;
  FCode = code;
  LeaveSequence();
  return erCode;
}

// ===================================================================== VT52

TEscapeCode TEscapeCodesVT52::DetectCode(const AnsiString& Str) {
  if (Str.empty()) return ecNotCompleted;
  switch (Str[0]) {
    case 'A': return ecCursorUp;
    case 'B': return ecCursorDown;
    case 'C': return ecCursorRight;
    case 'D': return ecCursorLeft;
    case 'H': return ecCursorHome;
    case 'I': return ecReverseLineFeed;
    case 'J': return ecEraseScreenFrom;
    case 'K': return ecEraseLineFrom;
    case 'Z': return ecIdentify;
    case '/':
      if (Str.size() == 1) return ecNotCompleted;
      return Str.size() == 2 && Str[1] == 'Z' ? ecIdentResponse : ecUnknown;
    case 'Y':
      if (Str.size() < 3) return ecNotCompleted;
      // row and column travel as their number plus 31
      FParams->Clear();
      FParams->Add(IntToStr(static_cast<unsigned char>(Str[1]) - 31));
      FParams->Add(IntToStr(static_cast<unsigned char>(Str[2]) - 31));
      return ecCursorMove;
    default: return ecUnknown;
  }
}

AnsiString TEscapeCodesVT52::EscCodeToStr(TEscapeCode Code, TStrings* Params) {
  switch (Code) {
    case ecCursorUp: return Esc("A");
    case ecCursorDown: return Esc("B");
    case ecCursorLeft: return Esc("D");
    case ecCursorRight: return Esc("C");
    case ecCursorHome: return Esc("H");
    case ecCursorMove: {
      AnsiString s = Esc("Y");
      s += static_cast<char>(static_cast<unsigned char>(GetParam(1, Params) + 31));
      s += static_cast<char>(static_cast<unsigned char>(GetParam(2, Params) + 31));
      return s;
    }
    case ecReverseLineFeed: return Esc("I");
    case ecEraseLineFrom: return Esc("K");
    case ecEraseScreenFrom: return Esc("J");
    case ecIdentify: return Esc("Z");
    case ecIdentResponse: return Esc("/Z");
    default: return AnsiString();
  }
}

// ==================================================================== VT100

TEscapeCode TEscapeCodesVT100::Classify() {
  if (FInExtSequence) return DetectExtCode(FData);
  if (!FData.empty() && FData[0] == '[') {
    FInExtSequence = true;
    return ecNotCompleted;
  }
  return DetectCode(FData);
}

void TEscapeCodesVT100::LeaveSequence() {
  FInExtSequence = false;
  inherited::LeaveSequence();
}

TEscapeCode TEscapeCodesVT100::DetectCode(const AnsiString& Str) {
  if (Str.empty()) return ecNotCompleted;
  if (Str.size() == 1) {
    switch (Str[0]) {
      case '#':
      case 'O': return ecNotCompleted;
      case '7': return ecSaveCaretAndAttr;
      case '8': return ecRestoreCaretAndAttr;
      case 'H': return ecSetTab;
      case 'c': return ecReset;
      default: return ecUnknown;
    }
  }
  if (Str == "#8") return ecTest;
  if (Str.size() == 2 && Str[0] == 'O') {
    switch (Str[1]) {
      case 'A': return ecAppCursorUp;
      case 'B': return ecAppCursorDown;
      case 'C': return ecAppCursorRight;
      case 'D': return ecAppCursorLeft;
      default: break;
    }
  }
  return ecUnknown;
}

namespace {

// The parameters between the "[" and the final letter. A ";" ends a
// parameter that has characters; one that comes first is itself collected,
// so an empty parameter joins the next one (which then reads as 1).
std::vector<AnsiString> SplitParams(const AnsiString& Str) {
  std::vector<AnsiString> params;
  AnsiString current;
  for (std::size_t i = 1; i + 1 < Str.size(); ++i) {
    if (Str[i] == ';' && !current.empty()) {
      params.push_back(current);
      current.clear();
    } else {
      current += Str[i];
    }
  }
  if (!current.empty()) params.push_back(current);
  return params;
}

// Codes chosen by the first character of the first parameter ("" when none).
TEscapeCode ByFirstDigit(const std::vector<AnsiString>& Params, char Final) {
  char first = Params.empty() || Params[0].empty() ? 0 : Params[0][0];
  switch (Final) {
    case 'J':
      if (!first || first == '0') return ecEraseScreenFrom;
      return first == '2' ? ecEraseScreen : ecUnknown;
    case 'K':
      if (!first || first == '0') return ecEraseLineFrom;
      return first == '2' ? ecEraseLine : ecUnknown;
    case 'g':
      if (!first || first == '0') return ecClearTab;
      return first == '3' ? ecClearAllTabs : ecUnknown;
    default:  // 'n'
      switch (first) {
        case '0': return ecReportDeviceOK;
        case '3': return ecReportDeviceFailure;
        case '5': return ecQueryDevice;
        case '6': return ecQueryCursorPos;
        default: return ecUnknown;
      }
  }
}

}  // namespace

TEscapeCode TEscapeCodesVT100::DetectExtCode(const AnsiString& Str) {
  if (Str.empty() || !IsLetter(Str.back()))
    return Str.size() >= kMaxSequence ? ecUnknown : ecNotCompleted;
  std::vector<AnsiString> params = SplitParams(Str);
  TEscapeCode code;
  bool keepParams = true;
  switch (Str.back()) {
    case 'A': code = ecCursorUp; break;
    case 'B': code = ecCursorDown; break;
    case 'C': code = ecCursorRight; break;
    case 'D': code = ecCursorLeft; break;
    case 'H': code = ecCursorHome; break;
    case 'f': code = ecCursorMove; break;
    case 'R': code = ecReportCursorPos; break;
    case 'h': code = ecSetMode; break;
    case 'l': code = ecResetMode; break;
    case 'm': code = ecAttributes; break;
    case 's': code = ecSaveCaret; break;
    case 'u': code = ecRestoreCaret; break;
    case 'J':
    case 'K':
    case 'g':
    case 'n':
      code = ByFirstDigit(params, Str.back());
      keepParams = false;
      break;
    case 'c':
      if (params.empty() || (params.size() == 1 && params[0] == "0"))
        code = ecIdentify;
      else if (params.size() == 2 && params[0] == "?1")
        code = ecIdentResponse;
      else
        code = ecUnknown;
      break;
    default: code = ecUnknown; break;
  }
  FParams->Clear();
  if (keepParams)
    for (const AnsiString& p : params) FParams->Add(p);
  return code;
}

AnsiString TEscapeCodesVT100::EscCodeToStr(TEscapeCode Code, TStrings* Params) {
  auto two = [&](const char* Final) {
    return Esc("[") + IntToStr(GetParam(1, Params)) + ";" + IntToStr(GetParam(2, Params)) + Final;
  };
  switch (Code) {
    case ecCursorUp: return Esc("[A");
    case ecCursorDown: return Esc("[B");
    case ecCursorLeft: return Esc("[D");
    case ecCursorRight: return Esc("[C");
    case ecCursorHome: return Esc("[H");
    case ecCursorMove: return two("f");
    case ecAppCursorLeft: return Esc("OD");
    case ecAppCursorRight: return Esc("OC");
    case ecAppCursorUp: return Esc("OA");
    case ecAppCursorDown: return Esc("OB");
    case ecEraseLineFrom: return Esc("[K");
    case ecEraseScreenFrom: return Esc("[J");
    case ecEraseLine: return Esc("[2K");
    case ecEraseScreen: return Esc("[2J");
    case ecSetTab: return Esc("H");
    case ecClearTab: return Esc("[g");
    case ecClearAllTabs: return Esc("[3g");
    case ecIdentify: return Esc("[c");
    case ecIdentResponse: return Esc("[?1;") + IntToStr(GetParam(1, Params)) + "c";
    case ecQueryDevice: return Esc("[5n");
    case ecReportDeviceOK: return Esc("[0n");
    case ecReportDeviceFailure: return Esc("[3n");
    case ecQueryCursorPos: return Esc("[6n");
    case ecReportCursorPos: return two("R");
    case ecAttributes: return Esc("[m");
    case ecSetMode: return Esc("[h");
    case ecResetMode: return Esc("[l");
    case ecReset: return Esc("c");
    case ecSaveCaretAndAttr: return Esc("7");
    case ecRestoreCaretAndAttr: return Esc("8");
    case ecSaveCaret: return Esc("[s");
    case ecRestoreCaret: return Esc("[u");
    case ecTest: return Esc("#8");
    default: return AnsiString();
  }
}
