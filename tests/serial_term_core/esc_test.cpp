// The VT52 and VT100 parsers: sequences fed a character at a time, the
// parameters they collect, the texts of the codes read back, the limit of a
// bracket sequence.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "serial/CPortEsc.h"

namespace {

using Params = std::vector<std::string>;

std::unique_ptr<TEscapeCodes> Parser(bool Vt52) {
  if (Vt52) return std::unique_ptr<TEscapeCodes>(Create<TEscapeCodesVT52>());
  return std::unique_ptr<TEscapeCodes>(Create<TEscapeCodesVT100>());
}

Params ParamsOf(TStrings* List) {
  Params p;
  for (int i = 0; i < List->Count(); ++i) p.push_back(List->Strings(i));
  return p;
}

// Feeds a sequence: every character but the last must be taken into the
// sequence (erNothing), the last must complete it.
testing::AssertionResult Completes(TEscapeCodes* P, const std::string& Text) {
  for (std::size_t i = 0; i < Text.size(); ++i) {
    TEscapeResult r = P->ProcessChar(Text[i]);
    TEscapeResult want = i + 1 < Text.size() ? erNothing : erCode;
    if (r != want)
      return testing::AssertionFailure() << "character " << i << " gave " << GetEnumName(TypeInfo<TEscapeResult>(), r);
  }
  return testing::AssertionSuccess();
}

std::string Name(TEscapeCode C) { return GetEnumName(TypeInfo<TEscapeCode>(), C); }

TEST(EscapeCodes, SequencesGiveTheirCodesAndParameters) {
  struct Case {
    bool Vt52;
    std::string Text;
    TEscapeCode Code;
    Params P;
  };
  const std::string e = "\x1B";
  const Case cases[] = {
      {false, e + "[12;40H", ecCursorHome, {"12", "40"}},
      {false, e + "[H", ecCursorHome, {}},
      {false, e + "[;5H", ecCursorHome, {";5"}},
      {false, e + "[12;;5f", ecCursorMove, {"12", ";5"}},
      {false, e + "[2J", ecEraseScreen, {}},
      {false, e + "[J", ecEraseScreenFrom, {}},
      {false, e + "[0J", ecEraseScreenFrom, {}},
      {false, e + "[1J", ecUnknown, {}},
      {false, e + "[K", ecEraseLineFrom, {}},
      {false, e + "[2K", ecEraseLine, {}},
      {false, e + "[1K", ecUnknown, {}},
      {false, e + "[g", ecClearTab, {}},
      {false, e + "[3g", ecClearAllTabs, {}},
      {false, e + "[5n", ecQueryDevice, {}},
      {false, e + "[6n", ecQueryCursorPos, {}},
      {false, e + "[0n", ecReportDeviceOK, {}},
      {false, e + "[3n", ecReportDeviceFailure, {}},
      {false, e + "[n", ecUnknown, {}},
      {false, e + "[c", ecIdentify, {}},
      {false, e + "[0c", ecIdentify, {"0"}},
      {false, e + "[1c", ecUnknown, {"1"}},
      {false, e + "[?1;2c", ecIdentResponse, {"?1", "2"}},
      {false, e + "[5;10R", ecReportCursorPos, {"5", "10"}},
      {false, e + "[1;31m", ecAttributes, {"1", "31"}},
      {false, e + "[?3h", ecSetMode, {"?3"}},
      {false, e + "[?1l", ecResetMode, {"?1"}},
      {false, e + "[s", ecSaveCaret, {}},
      {false, e + "[u", ecRestoreCaret, {}},
      {false, e + "[4z", ecUnknown, {"4"}},
      {false, e + "7", ecSaveCaretAndAttr, {}},
      {false, e + "8", ecRestoreCaretAndAttr, {}},
      {false, e + "H", ecSetTab, {}},
      {false, e + "c", ecReset, {}},
      {false, e + "#8", ecTest, {}},
      {false, e + "#3", ecUnknown, {}},
      {false, e + "OA", ecAppCursorUp, {}},
      {false, e + "OD", ecAppCursorLeft, {}},
      {false, e + "OX", ecUnknown, {}},
      {false, e + "(", ecUnknown, {}},
      {true, e + "Y" + char(32 + 4) + char(32 + 9), ecCursorMove, {"5", "10"}},
      {true, e + "Y" + char(255) + char(0), ecCursorMove, {"224", "-31"}},
      {true, e + "A", ecCursorUp, {}},
      {true, e + "I", ecReverseLineFeed, {}},
      {true, e + "Z", ecIdentify, {}},
      {true, e + "/Z", ecIdentResponse, {}},
      {true, e + "/X", ecUnknown, {}},
      {true, e + "[", ecUnknown, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE((c.Vt52 ? "VT52 " : "VT100 ") + c.Text.substr(1));
    auto p = Parser(c.Vt52);
    ASSERT_TRUE(Completes(p.get(), c.Text));
    EXPECT_EQ(Name(p->Code()), Name(c.Code));
    EXPECT_EQ(ParamsOf(p->Params()), c.P);
    EXPECT_EQ(p->Data(), c.Text.substr(1));
    // out of the sequence again: the next character is plain
    EXPECT_EQ(p->ProcessChar('x'), erChar);
    EXPECT_EQ(p->Character(), 'x');
  }
}

TEST(EscapeCodes, GetParamReadsDecimalNumbersAndOtherwiseOne) {
  std::unique_ptr<TStringList> list(Create<TStringList>());
  for (const char* s : {"12", "?3", "", ";5", "-7", "2147483647", "2147483648", "-2147483648", "$10", "0", " 3"})
    list->Add(s);
  const Integer want[] = {12, 1, 1, 1, -7, 2147483647, 1, -2147483647 - 1, 1, 0, 1};
  for (int i = 0; i < list->Count(); ++i)
    EXPECT_EQ(TEscapeCodes::GetParam(i + 1, list.get()), want[i]) << "\"" << list->Strings(i) << "\"";
  EXPECT_EQ(TEscapeCodes::GetParam(list->Count() + 1, list.get()), 1);
  EXPECT_EQ(TEscapeCodes::GetParam(0, list.get()), 1);
  EXPECT_EQ(TEscapeCodes::GetParam(1, nullptr), 1);
}

// Every code that has a text, with parameters where it takes them, reads
// back as itself with the same parameters.
TEST(EscapeCodes, TheTextOfEveryCodeReadsBackAsThatCode) {
  int withText[2] = {0, 0};
  for (bool vt52 : {false, true}) {
    for (int c = ecUnknown; c <= ecTest; ++c) {
      auto code = static_cast<TEscapeCode>(c);
      SCOPED_TRACE(std::string(vt52 ? "VT52 " : "VT100 ") + Name(code));
      auto p = Parser(vt52);
      std::unique_ptr<TStringList> sent(Create<TStringList>());
      Params back;
      if (code == ecCursorMove || code == ecReportCursorPos) {
        sent->Add("17");
        sent->Add("42");
        back = {"17", "42"};
      } else if (code == ecIdentResponse) {
        sent->Add("2");
        if (!vt52) back = {"?1", "2"};
      }
      AnsiString text = p->EscCodeToStr(code, sent.get());
      if (text.empty()) continue;
      ++withText[vt52];
      ASSERT_EQ(text[0], '\x1B');
      ASSERT_TRUE(Completes(p.get(), text));
      EXPECT_EQ(Name(p->Code()), Name(code));
      EXPECT_EQ(ParamsOf(p->Params()), back);
    }
  }
  EXPECT_EQ(withText[0], 33);
  EXPECT_EQ(withText[1], 11);
}

TEST(EscapeCodes, ABracketSequenceWithoutAFinalLetterEndsAtItsLimit) {
  auto p = Parser(false);
  EXPECT_EQ(p->ProcessChar('\x1B'), erNothing);
  EXPECT_EQ(p->ProcessChar('['), erNothing);
  for (std::size_t n = 2; n < TEscapeCodes::kMaxSequence; ++n) ASSERT_EQ(p->ProcessChar(';'), erNothing) << n;
  EXPECT_EQ(p->ProcessChar('9'), erCode);
  EXPECT_EQ(p->Code(), ecUnknown);
  EXPECT_EQ(p->Data().size(), TEscapeCodes::kMaxSequence);
  for (char c : std::string("12;4H")) {
    EXPECT_EQ(p->ProcessChar(c), erChar);
    EXPECT_EQ(p->Character(), c);
  }
  // a final letter within the limit still completes the sequence
  std::string longest = "\x1B[" + std::string(TEscapeCodes::kMaxSequence - 2, '0') + "A";
  ASSERT_TRUE(Completes(p.get(), longest));
  EXPECT_EQ(p->Code(), ecCursorUp);
}

}  // namespace
