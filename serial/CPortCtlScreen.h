// The terminal's screen without its window: the grid of character cells with
// its tab stops (TComTermBuffer), and the rules that put received characters
// and escape codes on it (TComTermScreen): the caret, the attributes, line
// wrapping, scrolling, erasing, the modes and the answers to the host's
// queries.
//
// The rules tell the control that shows them what changed through
// TComTermView; the terminal control (TCustomComTerminal, CPortCtlTerm.h)
// draws, scrolls its window, moves the system caret and talks to the port.
// Portable (no platform header), so the rules are table-tested and fuzzed
// natively together with the parsers.
#pragma once

#include <memory>
#include <vector>

#include "classlib/core/Classes.h"
#include "classlib/core/GraphicsTypes.h"
#include "classlib/core/Types.h"
#include "serial/CPortEsc.h"

DK_ENUM(TAdvanceCaret, acChar, acReturn, acLineFeed, acReverseLineFeed, acTab, acBackspace, acPage);

// One cell: the character (code page 1251; 0 = empty), its colours (red in
// the low byte) and whether it is underlined.
struct TComTermChar {
  char Ch = 0;
  TColor FrontColor = 0;
  TColor BackColor = 0;
  bool Underline = false;
  bool operator==(const TComTermChar&) const = default;
};

// The attributes new characters are written with.
struct TComTermAttr {
  TColor FrontColor = 0xFFFFFF;
  TColor BackColor = 0x000000;
  bool Inverse = false;
  bool Bold = false;
  bool Underline = false;
  bool operator==(const TComTermAttr&) const = default;
};

// What the screen tells the control that shows it. Cells are given in grid
// coordinates (column, row from 1).
class TComTermView {
 public:
  virtual ~TComTermView() = default;
  // False while the grid must not be made anew (a form being read or
  // designed): size changes then only store the size.
  virtual bool CanInitGrid() = 0;
  // Cells X1..X2 of rows Y1..Y2 changed.
  virtual void CellsChanged(Integer X1, Integer Y1, Integer X2, Integer Y2) = 0;
  // Every row moved one row up (Up) or down; the row that came in is empty.
  virtual void RowsScrolled(bool Up) = 0;
  // Everything changed.
  virtual void ScreenChanged() = 0;
  virtual void CaretMoved() = 0;
  // Columns or Rows changed (the grid is empty when it was made anew).
  virtual void GridResized() = 0;
  // An answer to the host (identity, status, caret position), never echoed.
  virtual void SendAnswer(TEscapeCode Code, TStrings* Params) = 0;
  // Every character put, handled or not.
  virtual void CharPut(char Ch) = 0;
  // A code the rules do not act on, with its collected sequence.
  virtual void UnhandledCode(TEscapeCode Code, const AnsiString& Data) = 0;
};


// What a window showing the screen must redraw after a run of changes: the
// rows moved since it last drew (Scrolled, up when positive) and, per row of
// the grid as it is now, the columns that changed. A window that moves its
// picture by Scrolled rows and then redraws the changed cells shows the grid.
class TComTermDamage {
 public:
  struct TSpan {
    Integer First = 1, Last = 0;  // columns; empty when First > Last
    bool Empty() const { return First > Last; }
  };

  // Nothing to redraw, for a grid of Rows rows.
  void Reset(Integer Rows);
  void Cells(Integer X1, Integer Y1, Integer X2, Integer Y2);
  // The grid scrolled one row; the row that came in is wholly changed.
  void Scroll(bool Up);
  // Everything must be redrawn.
  void All() { FWhole = true; }

  bool Whole() const { return FWhole; }
  bool Empty() const { return !FWhole && !FAny && FScrolled == 0; }
  Integer Scrolled() const { return FScrolled; }
  Integer Rows() const { return static_cast<Integer>(FRows.size()); }
  const TSpan& Row(Integer Y) const { return FRows[static_cast<std::size_t>(Y - 1)]; }

 private:
  std::vector<TSpan> FRows;
  Integer FScrolled = 0;
  bool FWhole = false;
  bool FAny = false;
};

class TComTermScreen;

// The cells, Columns x Rows of them from the top row, each row from the
// left, and one tab-stop byte per column. Reads and writes outside the grid
// made by the last Init are ignored (an empty cell is read).
class TComTermBuffer : public TObject {
  DK_CLASS(TComTermBuffer, TObject)
 public:
  explicit TComTermBuffer(TComTermScreen* Terminal);
  ~TComTermBuffer() override;

  // Empty cells of the terminal's size; a tab stop every 8 columns from 1.
  void Init();
  void SetChar(Integer X, Integer Y, const TComTermChar& Cell);
  TComTermChar GetChar(Integer X, Integer Y) const;
  // Rows 2..Rows up by one and the last row empty.
  void ScrollDown();
  // Rows 1..Rows-1 down by one and row 1 empty.
  void ScrollUp();
  // Empties row Y from column X to its end.
  void EraseLine(Integer X, Integer Y);
  // Empties from (X, Y) to the end of the screen.
  void EraseScreen(Integer X, Integer Y);
  bool GetTab(Integer X) const;
  void SetTab(Integer X, bool On);
  void ClearAllTabs();
  // The first column from X on with a stop; 0 when there is none.
  Integer NextTab(Integer X) const;
  // The last column of row Y holding a character (0: none).
  Integer GetLineLength(Integer Y) const;
  // The last row holding a character (0: none).
  Integer GetLastLine() const;

  Integer Columns() const { return FColumns; }
  Integer Rows() const { return FRows; }

 private:
  bool Inside(Integer X, Integer Y) const { return X >= 1 && X <= FColumns && Y >= 1 && Y <= FRows; }
  TComTermChar* Row(Integer Y) { return &FCells[static_cast<std::size_t>(Y - 1) * static_cast<std::size_t>(FColumns)]; }
  const TComTermChar* Row(Integer Y) const {
    return &FCells[static_cast<std::size_t>(Y - 1) * static_cast<std::size_t>(FColumns)];
  }

  TComTermScreen* FTerminal;
  Integer FColumns = 0, FRows = 0;
  std::vector<TComTermChar> FCells;
  std::vector<Byte> FTabs;
};

// The rules of the screen.
class TComTermScreen : public TObject {
  DK_CLASS(TComTermScreen, TObject)
 public:
  static constexpr Integer kMinColumns = 2, kMaxColumns = 256, kMinRows = 2, kMaxRows = 100;
  static constexpr TColor kAltColor = 0xA6A6A6;

  explicit TComTermScreen(TComTermView* View);
  ~TComTermScreen() override;

  TComTermView* View() const { return FView; }
  TComTermBuffer* Buffer() const { return FBuffer.get(); }
  // The parser, owned by the screen (nullptr: every byte is a character).
  TEscapeCodes* EscapeCodes() const { return FEscapeCodes.get(); }
  void SetEscapeCodes(TEscapeCodes* Value);

  // Clamped to 2..256 and 2..100; a new size makes the grid anew (when the
  // view allows) and brings the caret inside.
  Integer Columns() const { return FColumns; }
  void SetColumns(Integer Value);
  Integer Rows() const { return FRows; }
  void SetRows(Integer Value);

  TPoint CaretPos() const { return FCaretPos; }
  bool WrapLines() const { return FWrapLines; }
  void SetWrapLines(bool Value) { FWrapLines = Value; }
  bool AppCursorKeys() const { return FAppCursorKeys; }
  TColor AltColor() const { return FAltColor; }
  void SetAltColor(TColor Value) { FAltColor = Value; }
  // The colours attributes reset to (the font's and the control's).
  TColor FontColor() const { return FFontColor; }
  void SetFontColor(TColor Value);
  TColor BackColor() const { return FBackColor; }
  void SetBackColor(TColor Value);
  const TComTermAttr& Attributes() const { return FAttr; }

  // The grid made anew at the current size; the caret stays inside.
  void Init();
  // Init, caret to (1, 1), everything shown anew.
  void ClearScreen();
  // Clamps to the grid.
  void MoveCaret(Integer X, Integer Y);
  // Received bytes: through the parser when there is one.
  void Write(const void* Buffer, Integer Count);
  void PutChar(char Ch);
  // True when the code was acted on.
  bool PutEscapeCode(TEscapeCode Code, TStrings* Params);
  void AdvanceCaret(TAdvanceCaret Kind);
  // The colours and underline of the next character.
  TComTermChar GetCharAttr() const;
  void SetAttributes(TStrings* Params);
  void SetMode(TStrings* Params, bool OnOff);
  void SaveCaretPos() { FSaveCaret = FCaretPos; }
  void RestoreCaretPos() { MoveCaret(FSaveCaret.X, FSaveCaret.Y); }
  void SaveAttr() { FSaveAttr = FAttr; }
  void RestoreAttr() { FAttr = FSaveAttr; }
  // Every cell the letter ATestChar in the font colour on the back colour.
  void PerformTest(char ATestChar);
  // Every byte of the stream put as a character, without interpretation.
  void LoadFromStream(TStream* Stream);
  // Rows 1 to the last one with a character, each up to its last character,
  // empty cells as blanks, rows separated by CR LF.
  void SaveToStream(TStream* Stream);

 private:
  void Resize(Integer Columns, Integer Rows);
  void ResetAttributes();
  // The caret moved by Delta columns and rows, without overflow.
  void MoveCaretBy(Int64 DX, Int64 DY);

  TComTermView* FView;
  std::unique_ptr<TComTermBuffer> FBuffer;
  std::unique_ptr<TEscapeCodes> FEscapeCodes;
  // Parsers replaced while Write runs live until it ends.
  std::vector<std::unique_ptr<TEscapeCodes>> FRetired;
  int FWriting = 0;
  Integer FColumns = 80, FRows = 24;
  TPoint FCaretPos{1, 1};
  TPoint FSaveCaret{1, 1};
  TComTermAttr FAttr, FSaveAttr;
  TColor FAltColor = kAltColor;
  TColor FFontColor = 0xFFFFFF;
  TColor FBackColor = 0x000000;
  bool FWrapLines = false;
  bool FAppCursorKeys = false;
};
