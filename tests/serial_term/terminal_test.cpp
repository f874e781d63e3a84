// The terminal on the virtual line: what received bytes do to its cells, its
// caret and its window; Cyrillic text; a test page.
#include "TermTestSupport.h"

#include <functional>

using namespace termtest;

namespace {

std::string Repeat(const std::string& S, int N) {
  std::string r;
  for (int i = 0; i < N; ++i) r += S;
  return r;
}

// ------------------------------------------------------------ received bytes

TEST_F(TermTest, ReceivedBytesGiveTheCellsAndTheCaret) {
  struct Case {
    const char* Name;
    std::string Bytes;
    std::string Saved;
    TPoint Caret;
    std::function<void(TComTerminal*)> More;
  };
  const std::string e(1, kEsc);
  const Case cases[] = {
      {"lines", "AB\r\n  C", "AB\r\n  C", {4, 2}, nullptr},
      {"past the last column", std::string(84, 'a') + "z", std::string(79, 'a') + "z", {80, 1}, nullptr},
      {"line feed on the last row", e + "[23;3Hup" + e + "[24;5Hx\n", Repeat("\r\n", 21) + "  up\r\n    x", {6, 24},
       nullptr},
      {"erase screen", "some\r\ntext" + e + "[2J", "", {1, 1}, nullptr},
      {"bold red", e + "[1;31mA", "A", {2, 1},
       [](TComTerminal* t) {
         EXPECT_EQ(t->Buffer()->GetChar(1, 1).FrontColor, 0xA6A6A6);
         EXPECT_EQ(t->Buffer()->GetChar(1, 1).BackColor, clBlack);
       }},
      {"tabs", "\tx" + e + "[1;80H\ty", "        x" + std::string(70, ' ') + "y", {80, 1}, nullptr},
      {"132 columns", "wide" + e + "[?3h", "", {5, 1}, [](TComTerminal* t) { EXPECT_EQ(t->Columns(), 132); }},
      {"80 columns again", e + "[?3h" + e + "[1;120Hw" + e + "[?3l", "", {80, 1},
       [](TComTerminal* t) { EXPECT_EQ(t->Columns(), 80); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Term->SetColumns(80);
    Term->ClearScreen();
    Term->WriteStr(Esc("[0m"));
    ASSERT_TRUE(Receive(c.Bytes));
    EXPECT_EQ(Saved(), c.Saved);
    EXPECT_EQ(Term->CaretPos(), c.Caret);
    if (c.More) c.More(Term);
  }
  EXPECT_TRUE(Rec.Unhandled.empty());
}

TEST_F(TermTest, TheVt52EmulationMovesTheCaretByItsOwnSequence) {
  Term->SetEmulation(teVT52);
  ASSERT_TRUE(Receive(Esc("Y") + char(32 + 4) + char(32 + 9) + Esc("[2J")));
  EXPECT_EQ(Term->CaretPos(), (TPoint{10 + 2, 5}));  // "2J" after the unknown ESC "["
  ASSERT_EQ(Rec.Unhandled.size(), 1u);
  EXPECT_EQ(Rec.Unhandled[0].first, ecUnknown);
  EXPECT_EQ(Rec.Unhandled[0].second, "[");
}

TEST_F(TermTest, SizesAreClampedAndTheCaretStaysInside) {
  ASSERT_TRUE(Receive(Esc("[24;80H")));
  Term->SetColumns(300);
  EXPECT_EQ(Term->Columns(), 256);
  Term->SetRows(1);
  EXPECT_EQ(Term->Rows(), 2);
  EXPECT_EQ(Term->CaretPos(), (TPoint{80, 2}));
  EXPECT_EQ(Term->Buffer()->Rows(), 2);
}

TEST_F(TermTest, ForcedSevenBitAndAppendedLineFeedsChangeWhatIsReceived) {
  Term->SetForce7Bit(true);
  Term->SetAppendLF(true);
  ASSERT_TRUE(Receive("\xC1\xE2\r\xE3"));
  EXPECT_EQ(Rec.Received, "Ab\r\nc");
  EXPECT_EQ(Saved(), "Ab\r\nc");
}

// Numbered lines of 64 bytes, 16 KiB in all, paced at 115200 baud: every
// byte is put, and the screen holds the last lines sent.
TEST_F(TermTest, APacedStreamIsReceivedWithoutLoss) {
  std::vector<std::string> lines;
  std::string stream;
  for (int i = 1; i <= 256; ++i) {
    char head[16];
    std::snprintf(head, sizeof head, "%05d ", i);
    lines.push_back(head + std::string(56, static_cast<char>('a' + i % 26)));
    stream += lines.back() + "\r\n";
  }
  ASSERT_EQ(stream.size(), 16384u);
  ASSERT_EQ(Device->Command("wire on"), "ok\n");
  bool received = Receive(stream, 10000);
  Device->Command("wire off");
  ASSERT_TRUE(received) << Rec.Received.size() << " bytes";
  EXPECT_EQ(Rec.Chars, 16384u);
  // the caret waits on the empty last row under the last 23 lines
  std::string last;
  for (int i = 256 - 23; i < 256; ++i) last += (last.empty() ? "" : "\r\n") + lines[static_cast<std::size_t>(i)];
  EXPECT_EQ(Saved(), last);
  EXPECT_EQ(Term->CaretPos(), (TPoint{1, 24}));
}

// ------------------------------------------------------------------- pixels

TEST_F(TermTest, AttributesPaintTheWholeCell) {
  const TColor font = Term->Font()->Color();
  ASSERT_EQ(font, clWhite);
  ASSERT_TRUE(Receive(Esc("[44m ") + Esc("[0m") + Esc("[7m ") + Esc("[0m ") + Esc("[32mX")));
  TClientPicture pic(Term->Handle());
  EXPECT_EQ(pic.Other(CellRect(Term, 1, 1), 0xFF0000), 0) << "blue background";
  EXPECT_EQ(pic.Other(CellRect(Term, 2, 1), font), 0) << "inverse: the font colour";
  EXPECT_EQ(pic.Other(CellRect(Term, 3, 1), clBlack), 0) << "a plain blank";
  RECT x = CellRect(Term, 4, 1);
  int area = (x.right - x.left) * (x.bottom - x.top);
  EXPECT_GT(area - pic.Other(x, 0x008000), 5) << "the letter in green";
  EXPECT_EQ(pic.Other(CellRect(Term, 6, 1), clBlack), 0) << "an empty cell";
  if (Term->Focused()) {
    EXPECT_EQ(pic.Other(CellRect(Term, 5, 1), clWhite), 0) << "the block caret inverts its cell";
  }
}

// Cyrillic received in code page 1251 shows as Cyrillic: the cells are drawn
// as the same text through the W functions would be, and not as the bytes
// read in another code page.
TEST_F(TermTest, CyrillicShowsAsCyrillic) {
  Term->Font()->SetName("Courier New");
  Term->Font()->SetSize(12);
  ASSERT_EQ(Term->Font()->Name(), "Courier New") << "a fixed-pitch font";
  ASSERT_TRUE(Receive("\xCF\xF0\xE8\xE2\xE5\xF2 \xEC\xE8\xF0"));  // "Привет мир"
  EXPECT_EQ(CellChar(1, 1), '\xCF');
  Shot("serial_term_cyrillic");

  const int cw = Term->CharWidth(), ch = Term->CharHeight();
  auto render = [&](const std::wstring& text) {
    TBitmap bmp;
    bmp.SetPixelFormat(pf32bit);
    bmp.SetSize(cw * static_cast<int>(text.size()), ch);
    HDC dc = bmp.Canvas()->Handle();
    LOGFONTW lf{};
    GetObjectW(Term->Font()->Handle(), sizeof lf, &lf);
    HFONT font = CreateFontIndirectW(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, RGB(0, 0, 0));
    std::vector<INT> dx(text.size(), cw);
    RECT r{0, 0, bmp.Width(), ch};
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE | ETO_CLIPPED, &r, text.data(), static_cast<UINT>(text.size()), dx.data());
    SelectObject(dc, old);
    DeleteObject(font);
    std::vector<TColor> px;
    for (int y = 0; y < ch; ++y)
      for (int x = 0; x < bmp.Width(); ++x) px.push_back(bmp.Canvas()->Pixel(x, y));
    return px;
  };
  TClientPicture pic(Term->Handle());
  std::vector<TColor> shown;
  for (int y = 0; y < ch; ++y)
    for (int x = 0; x < cw * 6; ++x) shown.push_back(pic.Pixel(x, y));
  std::vector<TColor> cyrillic = render(L"\x041F\x0440\x0438\x0432\x0435\x0442");
  std::vector<TColor> latin1 = render(L"\x00CF\x00F0\x00E8\x00E2\x00E5\x00F2");
  EXPECT_GT(std::count(shown.begin(), shown.end(), clWhite), 20) << "the letters are drawn";
  EXPECT_EQ(shown, cyrillic);
  EXPECT_NE(shown, latin1);
}

// ---------------------------------------------------------------- test page

TEST_F(TermTest, TestPage) {
  std::string page = Esc("#8") + Esc("[3;3H") + Esc("[2K");
  const char* names[] = {"black", "red", "green", "yellow", "blue", "purple", "orange", "white", "maroon", "grey"};
  for (int i = 0; i < 10; ++i)
    page += Esc("[" + std::to_string(3 + i) + ";1H") + Esc("[K") + Esc("[4" + std::to_string(i == 0 ? 7 : 0) + "m") +
            Esc("[3" + std::to_string(i) + "m") + " 3" + std::to_string(i) + " " + names[i] + " " + Esc("[0m") + " " +
            Esc("[4" + std::to_string(i) + "m") + "  4" + std::to_string(i) + "  " + Esc("[0m") + " " +
            Esc("[1;4m") + "bold" + Esc("[0m") + " " + Esc("[7m") + "inverse" + Esc("[0m");
  page += Esc("[24;1H");
  for (int i = 1; i <= 5; ++i) page += "\r\nscrolled line " + std::to_string(i);
  ASSERT_TRUE(Receive(page));
  // everything moved up by five rows
  EXPECT_EQ(CellChar(80, 8), 'E');
  EXPECT_EQ(CellChar(80, 19), 'E');
  EXPECT_EQ(CellChar(1, 20), 's');
  EXPECT_EQ(Term->Buffer()->GetChar(2, 20).FrontColor, clWhite);
  EXPECT_EQ(Term->Buffer()->GetChar(4, 1).FrontColor, 0x00FFFF) << "the yellow row, from row 6";
  TClientPicture pic(Term->Handle());
  RECT e = CellRect(Term, 40, 8);
  EXPECT_GT(pic.Other(e, clBlack), 0) << "an E of the grid";
  Shot("serial_term_test_page");
}

}  // namespace

namespace {

// ------------------------------------------------------------------ scrolling

void Scroll(TComTerminal* T, UINT Message, int Code, int Pos = 0) {
  SendMessageW(T->Handle(), Message, MAKEWPARAM(Code, Pos), 0);
}

// Cells wider than the window: the bars page by what the window shows in
// their own direction, and a narrower grid brings the shown part back inside.
TEST_F(TermTest, TheScrollBarsPageByTheWindowAndStayInsideTheGrid) {
  Term->SetColumns(256);
  Term->SetRows(100);
  RECT client;
  GetClientRect(Term->Handle(), &client);
  const int across = client.right / Term->CharWidth(), down = client.bottom / Term->CharHeight();
  ASSERT_TRUE(Receive(Esc("[1;255Hxy") + Esc("[2;1H")));
  Scroll(Term, WM_HSCROLL, SB_PAGEDOWN);
  EXPECT_EQ(Term->TopLeft().X, 1 + across);
  Scroll(Term, WM_HSCROLL, SB_LINEDOWN);
  EXPECT_EQ(Term->TopLeft().X, 2 + across);
  Scroll(Term, WM_HSCROLL, SB_THUMBTRACK, 3);
  EXPECT_EQ(Term->TopLeft().X, 2 + across) << "no tracking without SmoothScroll";
  Scroll(Term, WM_HSCROLL, SB_THUMBPOSITION, 300);
  EXPECT_EQ(Term->TopLeft().X, 256 - across + 1) << "as far as the range goes";
  Scroll(Term, WM_VSCROLL, SB_PAGEDOWN);
  EXPECT_EQ(Term->TopLeft().Y, 1 + down);
  Scroll(Term, WM_VSCROLL, SB_PAGEUP);
  EXPECT_EQ(Term->TopLeft().Y, 1);
  // the last cells show at the right edge
  testsupport::PumpMessages(50);
  TClientPicture pic(Term->Handle());
  EXPECT_GT(pic.Other(CellRect(Term, across, 1), clBlack), 0) << "y in the last column shown";
  EXPECT_EQ(pic.Other(CellRect(Term, across - 2, 1), clBlack), 0);

  // a narrower grid while the window shows its far right
  ASSERT_TRUE(Receive(Esc("[?3l") + "z"));
  EXPECT_EQ(Term->Columns(), 80);
  EXPECT_LE(Term->TopLeft().X, 80 - across + 1);
  EXPECT_GE(Term->TopLeft().X, 1);
  testsupport::PumpMessages(30);
  EXPECT_EQ(Saved(), "\r\nz");
}

// Without an emulation every byte is a character, unless the program gives
// a parser of its own.
class TParserSource : public TObject {
 public:
  void Give(TObject*, TEscapeCodes*& Codes) { Codes = Create<TEscapeCodesVT52>(); }
};

TEST_F(TermTest, WithoutAnEmulationTheProgramMaySupplyAParser) {
  Term->SetEmulation(teNone);
  EXPECT_EQ(Term->EscapeCodes(), nullptr);
  ASSERT_TRUE(Receive(Esc("[2J") + "ab"));
  EXPECT_EQ(Saved(), "[2Jab") << "ESC is a character without a glyph";
  TParserSource source;
  Term->OnGetEscapeCodes = TEscapeEvent(&source, &TParserSource::Give);
  Term->SetEmulation(teVT100orANSI);
  Term->SetEmulation(teNone);
  ASSERT_NE(dynamic_cast<TEscapeCodesVT52*>(Term->EscapeCodes()), nullptr);
  ASSERT_TRUE(Receive(Esc("H") + "c"));
  EXPECT_EQ(Saved(), "c2Jab");
}

}  // namespace
