// The screen rules without a window: caret arithmetic at the limits, a grid
// that may not be made anew, what a window is told to redraw, a parser
// replaced while it is being fed.
#include <gtest/gtest.h>

#include <string>

#include "ScreenModel.h"

using screentest::TScreenModel;

namespace {

const std::string e = "\x1B";

TEST(TermScreen, CaretMovesSaturateBeforeTheyAreClamped) {
  struct Case {
    std::string Text;
    TPoint Caret;
  };
  const Case cases[] = {
      {e + "[2147483647B", {10, 24}},  {e + "[2147483647C", {80, 5}},   {e + "[2147483647A", {10, 1}},
      {e + "[2147483647D", {1, 5}},    {e + "[-2147483648A", {10, 24}}, {e + "[-2147483648D", {80, 5}},
      {e + "[2147483648B", {10, 6}},   {e + "[0;0H", {1, 1}},           {e + "[-5;999f", {80, 1}},
      {e + "OB", {10, 6}},             {e + "OC", {11, 5}},             {e + "OD", {9, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text.substr(1));
    TScreenModel m;
    m.Write(e + "[5;10H" + c.Text);
    EXPECT_EQ(m.Screen.CaretPos(), c.Caret);
    EXPECT_TRUE(m.Unhandled.empty());
  }
}

TEST(TermScreen, AGridThatMayNotBeMadeAnewIsNeverWrittenOutside) {
  TScreenModel m;
  m.MayInit = false;  // a form being read
  m.Screen.SetColumns(132);
  m.Screen.SetRows(60);
  EXPECT_EQ(m.Screen.Buffer()->Columns(), 80);
  m.Write(e + "[50;120Hxy" + std::string(300, 'z') + "\r\n");
  EXPECT_EQ(m.Screen.CaretPos(), (TPoint{1, 51}));
  EXPECT_EQ(m.Screen.Buffer()->GetChar(120, 50), TComTermChar{});
  EXPECT_EQ(m.Screen.Buffer()->GetLastLine(), 0);
  m.MayInit = true;
  m.Screen.Init();
  EXPECT_EQ(m.Screen.Buffer()->Columns(), 132);
  EXPECT_EQ(m.Screen.Buffer()->Rows(), 60);
  EXPECT_FALSE(m.CaretOutside);
}

TEST(TermScreen, SizesAreClampedAndTheCaretKeptInside) {
  TScreenModel m;
  m.Write(e + "[24;80H");
  m.Screen.SetColumns(300);
  m.Screen.SetRows(1);
  EXPECT_EQ(m.Screen.Columns(), 256);
  EXPECT_EQ(m.Screen.Rows(), 2);
  EXPECT_EQ(m.Screen.CaretPos(), (TPoint{80, 2}));
  m.Screen.SetColumns(-5);
  EXPECT_EQ(m.Screen.Columns(), 2);
  EXPECT_EQ(m.Screen.CaretPos(), (TPoint{2, 2}));
  EXPECT_FALSE(m.CaretOutside);
}

// What the window is told to redraw, applied to a picture, gives the grid:
// after every write of a stream cut into pieces.
TEST(TermScreen, TheRedrawnPictureShowsTheGrid) {
  std::string lines;
  for (int i = 1; i <= 60; ++i)
    lines += e + "[3" + std::to_string(i % 8) + "m" + "line " + std::to_string(i) + e + "[0m\tend\r\n";
  struct Case {
    const char* Name;
    std::string Stream;
    bool Vt52;
  };
  const Case cases[] = {
      {"scrolling lines", lines, false},
      {"erase below the middle", lines + e + "[5;10H" + e + "[J" + "x", false},
      {"erase a line", lines + e + "[7;3H" + e + "[K" + e + "[9;1H" + e + "[2K", false},
      {"test pattern then lines", e + "#8" + lines.substr(0, 400), false},
      {"wrapped text", e + "[?7h" + std::string(2000, 'w'), false},
      {"up and down in one write", e + "H" + "top" + e + "I" + e + "I" + "\n\n\n" + lines, true},
      {"132 columns", lines.substr(0, 300) + e + "[?3h" + lines.substr(300, 500), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    for (std::size_t piece : {1u, 7u, 64u, 100000u}) {
      SCOPED_TRACE(piece);
      TScreenModel m;
      if (c.Vt52) m.Screen.SetEscapeCodes(Create<TEscapeCodesVT52>());
      m.Show();
      for (std::size_t i = 0; i < c.Stream.size(); i += piece) {
        m.Write(c.Stream.substr(i, piece));
        m.Show();
        ASSERT_EQ(m.Difference(), "") << "after " << i + piece << " bytes";
      }
      EXPECT_FALSE(m.CaretOutside);
    }
  }
}

// A handler that changes the emulation while a chunk is being put.
class TSwitcher : public TScreenModel {
 public:
  void CharPut(char Ch) override {
    TScreenModel::CharPut(Ch);
    if (Ch == '!') Screen.SetEscapeCodes(Create<TEscapeCodesVT52>());
  }
};

TEST(TermScreen, AParserReplacedWhileItIsFedLivesUntilTheWriteEnds) {
  TSwitcher m;
  m.Write("ab!" + e + "[2J" + e + "Y" + char(32 + 2) + char(32 + 3) + "c");
  EXPECT_EQ(m.Screen.CaretPos(), (TPoint{5, 3}));
  EXPECT_EQ(m.Screen.Buffer()->GetChar(4, 3).Ch, 'c');
  // "[" is no VT52 sequence: ESC "[" is unknown, then "2J" is text
  ASSERT_EQ(m.Unhandled.size(), 1u);
  EXPECT_EQ(m.Unhandled[0].first, ecUnknown);
}

TEST(TermScreen, AnswersGoToTheHost) {
  TScreenModel m;
  m.Write(e + "[5;10H" + e + "[6n" + e + "[c" + e + "[5n" + e + "Z");
  EXPECT_EQ(m.Sent, e + "[5;10R" + e + "[?1;2c" + e + "[0n");
  ASSERT_EQ(m.Unhandled.size(), 1u);
  EXPECT_EQ(m.Unhandled[0].second, "Z");
}

}  // namespace
