// The terminal's cells and the rules that fill them.
#include "serial/CPortCtlScreen.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

constexpr int kTabWidth = 8;

// The colours of the attribute numbers 30..39 and 40..49 by their last digit.
constexpr TColor kAttrColors[10] = {0x000000, 0x0000FF, 0x008000, 0x00FFFF, 0xFF0000,
                                    0x800080, 0x0080FF, 0xFFFFFF, 0x000080, 0x808080};

Integer Saturate(Int64 V) {
  return static_cast<Integer>(
      std::clamp<Int64>(V, std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max()));
}

// Replaces the list's entries by Values; a missing list is replaced by Own.
TStrings* Replace(TStrings* Params, TStringList& Own, std::initializer_list<AnsiString> Values) {
  TStrings* list = Params ? Params : &Own;
  list->Clear();
  for (const AnsiString& v : Values) list->Add(v);
  return list;
}

}  // namespace

// ============================================================== cell buffer

TComTermBuffer::TComTermBuffer(TComTermScreen* Terminal) : FTerminal(Terminal) {}

TComTermBuffer::~TComTermBuffer() = default;

void TComTermBuffer::Init() {
  FColumns = FTerminal->Columns();
  FRows = FTerminal->Rows();
  FCells.assign(static_cast<std::size_t>(FColumns) * static_cast<std::size_t>(FRows), TComTermChar{});
  FTabs.assign(static_cast<std::size_t>(FColumns), 0);
  for (Integer x = 1; x <= FColumns; x += kTabWidth) FTabs[static_cast<std::size_t>(x - 1)] = 1;
}

void TComTermBuffer::SetChar(Integer X, Integer Y, const TComTermChar& Cell) {
  if (Inside(X, Y)) Row(Y)[X - 1] = Cell;
}

TComTermChar TComTermBuffer::GetChar(Integer X, Integer Y) const {
  return Inside(X, Y) ? Row(Y)[X - 1] : TComTermChar{};
}

void TComTermBuffer::ScrollDown() {
  if (FRows < 1) return;
  std::move(FCells.begin() + FColumns, FCells.end(), FCells.begin());
  std::fill(FCells.end() - FColumns, FCells.end(), TComTermChar{});
  FTerminal->View()->RowsScrolled(true);
}

void TComTermBuffer::ScrollUp() {
  if (FRows < 1) return;
  std::move_backward(FCells.begin(), FCells.end() - FColumns, FCells.end());
  std::fill(FCells.begin(), FCells.begin() + FColumns, TComTermChar{});
  FTerminal->View()->RowsScrolled(false);
}

void TComTermBuffer::EraseLine(Integer X, Integer Y) {
  X = std::max(X, 1);
  if (Y < 1 || Y > FRows || X > FColumns) return;
  std::fill(Row(Y) + (X - 1), Row(Y) + FColumns, TComTermChar{});
  FTerminal->View()->CellsChanged(X, Y, FColumns, Y);
}

void TComTermBuffer::EraseScreen(Integer X, Integer Y) {
  if (Y < 1) {
    Y = 1;
    X = 1;
  }
  if (Y > FRows) return;
  EraseLine(X, Y);
  if (Y == FRows) return;
  // the rows below are emptied (and shown emptied) whole
  std::fill(Row(Y + 1), FCells.data() + FCells.size(), TComTermChar{});
  FTerminal->View()->CellsChanged(1, Y + 1, FColumns, FRows);
}

bool TComTermBuffer::GetTab(Integer X) const { return X >= 1 && X <= FColumns && FTabs[static_cast<std::size_t>(X - 1)]; }

void TComTermBuffer::SetTab(Integer X, bool On) {
  if (X >= 1 && X <= FColumns) FTabs[static_cast<std::size_t>(X - 1)] = On ? 1 : 0;
}

void TComTermBuffer::ClearAllTabs() { std::fill(FTabs.begin(), FTabs.end(), 0); }

Integer TComTermBuffer::NextTab(Integer X) const {
  for (Integer x = std::max(X, 1); x <= FColumns; ++x)
    if (FTabs[static_cast<std::size_t>(x - 1)]) return x;
  return 0;
}

Integer TComTermBuffer::GetLineLength(Integer Y) const {
  if (Y < 1 || Y > FRows) return 0;
  const TComTermChar* row = Row(Y);
  for (Integer x = FColumns; x >= 1; --x)
    if (row[x - 1].Ch != 0) return x;
  return 0;
}

Integer TComTermBuffer::GetLastLine() const {
  for (Integer y = FRows; y >= 1; --y)
    if (GetLineLength(y) > 0) return y;
  return 0;
}


// ================================================================== damage

void TComTermDamage::Reset(Integer Rows) {
  FRows.assign(static_cast<std::size_t>(std::max(Rows, 0)), TSpan{});
  FScrolled = 0;
  FWhole = false;
  FAny = false;
}

void TComTermDamage::Cells(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  if (FWhole) return;
  Y1 = std::max(Y1, 1);
  Y2 = std::min(Y2, Rows());
  for (Integer y = Y1; y <= Y2; ++y) {
    TSpan& s = FRows[static_cast<std::size_t>(y - 1)];
    if (s.Empty()) {
      s = {X1, X2};
    } else {
      s.First = std::min(s.First, X1);
      s.Last = std::max(s.Last, X2);
    }
    FAny = true;
  }
}

void TComTermDamage::Scroll(bool Up) {
  if (FWhole || FRows.empty()) return;
  // one picture move per run: a run that scrolls both ways is redrawn whole
  if ((Up && FScrolled < 0) || (!Up && FScrolled > 0) || std::abs(FScrolled) + 1 >= Rows()) {
    FWhole = true;
    return;
  }
  const TSpan whole{1, std::numeric_limits<Integer>::max()};
  if (Up) {
    std::move(FRows.begin() + 1, FRows.end(), FRows.begin());
    FRows.back() = whole;
    ++FScrolled;
  } else {
    std::move_backward(FRows.begin(), FRows.end() - 1, FRows.end());
    FRows.front() = whole;
    --FScrolled;
  }
  FAny = true;
}

// =================================================================== screen

TComTermScreen::TComTermScreen(TComTermView* View) : FView(View), FBuffer(std::make_unique<TComTermBuffer>(this)) {
  FBuffer->Init();
}

TComTermScreen::~TComTermScreen() = default;

void TComTermScreen::SetEscapeCodes(TEscapeCodes* Value) {
  if (Value == FEscapeCodes.get()) return;
  if (FWriting > 0 && FEscapeCodes) FRetired.push_back(std::move(FEscapeCodes));
  FEscapeCodes.reset(Value);
}

void TComTermScreen::SetColumns(Integer Value) { Resize(std::clamp(Value, kMinColumns, kMaxColumns), FRows); }

void TComTermScreen::SetRows(Integer Value) { Resize(FColumns, std::clamp(Value, kMinRows, kMaxRows)); }

void TComTermScreen::Resize(Integer Columns, Integer Rows) {
  // the same size keeps what the screen shows
  if (Columns == FColumns && Rows == FRows) return;
  FColumns = Columns;
  FRows = Rows;
  if (FView->CanInitGrid()) FBuffer->Init();
  MoveCaret(FCaretPos.X, FCaretPos.Y);
  FView->GridResized();
}

void TComTermScreen::SetFontColor(TColor Value) {
  FFontColor = Value;
  FAttr.FrontColor = Value;
}

void TComTermScreen::SetBackColor(TColor Value) {
  FBackColor = Value;
  FAttr.BackColor = Value;
}

void TComTermScreen::Init() {
  FBuffer->Init();
  MoveCaret(FCaretPos.X, FCaretPos.Y);
}

void TComTermScreen::ClearScreen() {
  FBuffer->Init();
  MoveCaret(1, 1);
  FView->ScreenChanged();
}

void TComTermScreen::MoveCaret(Integer X, Integer Y) {
  FCaretPos = {std::clamp(X, 1, FColumns), std::clamp(Y, 1, FRows)};
  FView->CaretMoved();
}

void TComTermScreen::MoveCaretBy(Int64 DX, Int64 DY) {
  MoveCaret(Saturate(FCaretPos.X + DX), Saturate(FCaretPos.Y + DY));
}

void TComTermScreen::Write(const void* Buffer, Integer Count) {
  const char* bytes = static_cast<const char*>(Buffer);
  ++FWriting;
  struct Done {
    TComTermScreen* S;
    ~Done() {
      if (--S->FWriting == 0) S->FRetired.clear();
    }
  } done{this};
  for (Integer i = 0; i < Count; ++i) {
    TEscapeCodes* parser = FEscapeCodes.get();
    if (!parser) {
      PutChar(bytes[i]);
      continue;
    }
    switch (parser->ProcessChar(bytes[i])) {
      case erChar: PutChar(parser->Character()); break;
      case erCode:
        if (!PutEscapeCode(parser->Code(), parser->Params())) FView->UnhandledCode(parser->Code(), parser->Data());
        parser->Params()->Clear();
        break;
      case erNothing: break;
    }
  }
}

void TComTermScreen::PutChar(char Ch) {
  switch (static_cast<unsigned char>(Ch)) {
    case 8: AdvanceCaret(acBackspace); break;
    case 9: AdvanceCaret(acTab); break;
    case 10: AdvanceCaret(acLineFeed); break;
    case 12: AdvanceCaret(acPage); break;
    case 13: AdvanceCaret(acReturn); break;
    default:
      if (static_cast<unsigned char>(Ch) >= 32) {
        TComTermChar cell = GetCharAttr();
        cell.Ch = Ch;
        FBuffer->SetChar(FCaretPos.X, FCaretPos.Y, cell);
        FView->CellsChanged(FCaretPos.X, FCaretPos.Y, FCaretPos.X, FCaretPos.Y);
        AdvanceCaret(acChar);
      }
      break;
  }
  FView->CharPut(Ch);
}

void TComTermScreen::AdvanceCaret(TAdvanceCaret Kind) {
  switch (Kind) {
    case acChar:
      if (FCaretPos.X < FColumns)
        MoveCaret(FCaretPos.X + 1, FCaretPos.Y);
      else if (FWrapLines) {
        if (FCaretPos.Y < FRows) {
          MoveCaret(1, FCaretPos.Y + 1);
        } else {
          FBuffer->ScrollDown();
          MoveCaret(1, FCaretPos.Y);
        }
      }
      break;
    case acReturn: MoveCaret(1, FCaretPos.Y); break;
    case acLineFeed:
      if (FCaretPos.Y < FRows)
        MoveCaret(FCaretPos.X, FCaretPos.Y + 1);
      else
        FBuffer->ScrollDown();
      break;
    case acReverseLineFeed:
      if (FCaretPos.Y > 1)
        MoveCaret(FCaretPos.X, FCaretPos.Y - 1);
      else
        FBuffer->ScrollUp();
      break;
    case acTab:
      if (Integer next = FBuffer->NextTab(FCaretPos.X + 1)) MoveCaret(next, FCaretPos.Y);
      break;
    case acBackspace: MoveCaret(FCaretPos.X - 1, FCaretPos.Y); break;
    case acPage: ClearScreen(); break;
  }
}

bool TComTermScreen::PutEscapeCode(TEscapeCode Code, TStrings* Params) {
  auto param = [&](Integer n) { return TEscapeCodes::GetParam(n, Params); };
  TStringList own;
  switch (Code) {
    case ecCursorUp:
    case ecAppCursorUp: MoveCaretBy(0, -Int64{param(1)}); break;
    case ecCursorDown:
    case ecAppCursorDown: MoveCaretBy(0, param(1)); break;
    case ecCursorLeft:
    case ecAppCursorLeft: MoveCaretBy(-Int64{param(1)}, 0); break;
    case ecCursorRight:
    case ecAppCursorRight: MoveCaretBy(param(1), 0); break;
    case ecCursorHome:
    case ecCursorMove: MoveCaret(param(2), param(1)); break;
    case ecReverseLineFeed: AdvanceCaret(acReverseLineFeed); break;
    case ecEraseLineFrom: FBuffer->EraseLine(FCaretPos.X, FCaretPos.Y); break;
    case ecEraseScreenFrom: FBuffer->EraseScreen(FCaretPos.X, FCaretPos.Y); break;
    case ecEraseLine:
      FBuffer->EraseLine(1, FCaretPos.Y);
      MoveCaret(1, FCaretPos.Y);
      break;
    case ecEraseScreen:
      FBuffer->EraseScreen(1, 1);
      MoveCaret(1, 1);
      break;
    case ecSetTab: FBuffer->SetTab(FCaretPos.X, true); break;
    case ecClearTab: FBuffer->SetTab(FCaretPos.X, false); break;
    case ecClearAllTabs: FBuffer->ClearAllTabs(); break;
    case ecIdentify: FView->SendAnswer(ecIdentResponse, Replace(Params, own, {"2"})); break;
    case ecQueryDevice: FView->SendAnswer(ecReportDeviceOK, Params); break;
    case ecQueryCursorPos:
      FView->SendAnswer(ecReportCursorPos,
                        Replace(Params, own, {IntToStr(FCaretPos.Y), IntToStr(FCaretPos.X)}));
      break;
    case ecAttributes: SetAttributes(Params); break;
    case ecSetMode: SetMode(Params, true); break;
    case ecResetMode: SetMode(Params, false); break;
    case ecReset: SetAttributes(Replace(Params, own, {"0"})); break;
    case ecSaveCaretAndAttr:
      SaveCaretPos();
      SaveAttr();
      break;
    case ecRestoreCaretAndAttr:
      RestoreCaretPos();
      RestoreAttr();
      break;
    case ecSaveCaret: SaveCaretPos(); break;
    case ecRestoreCaret: RestoreCaretPos(); break;
    case ecTest: PerformTest('E'); break;
    default: return false;
  }
  return true;
}

TComTermChar TComTermScreen::GetCharAttr() const {
  TComTermChar c;
  c.FrontColor = FAttr.Bold ? FAltColor : FAttr.Inverse ? FAttr.BackColor : FAttr.FrontColor;
  c.BackColor = FAttr.Inverse ? FAttr.FrontColor : FAttr.BackColor;
  c.Underline = FAttr.Underline;
  return c;
}

void TComTermScreen::ResetAttributes() {
  FAttr = TComTermAttr{};
  FAttr.FrontColor = FFontColor;
  FAttr.BackColor = FBackColor;
}

void TComTermScreen::SetAttributes(TStrings* Params) {
  if (!Params || Params->Count() == 0) {
    ResetAttributes();
    return;
  }
  for (Integer i = 1; i <= Params->Count(); ++i) {
    Integer n = TEscapeCodes::GetParam(i, Params);
    switch (n) {
      case 0: ResetAttributes(); break;
      case 1: FAttr.Bold = true; break;
      case 4: FAttr.Underline = true; break;
      case 7: FAttr.Inverse = true; break;
      case 21: FAttr.Bold = false; break;
      case 24: FAttr.Underline = false; break;
      case 27: FAttr.Inverse = false; break;
      default:
        if (n >= 30 && n <= 39) FAttr.FrontColor = kAttrColors[n - 30];
        if (n >= 40 && n <= 49) FAttr.BackColor = kAttrColors[n - 40];
        break;
    }
  }
}

void TComTermScreen::SetMode(TStrings* Params, bool OnOff) {
  if (!Params || Params->Count() == 0) return;
  AnsiString mode = Params->Strings(0);
  if (mode == "?1")
    FAppCursorKeys = OnOff;
  else if (mode == "7")
    FWrapLines = OnOff;
  else if (mode == "?3")
    SetColumns(OnOff ? 132 : 80);
}

void TComTermScreen::PerformTest(char ATestChar) {
  TComTermChar cell{ATestChar, FFontColor, FBackColor, false};
  for (Integer y = 1; y <= FBuffer->Rows(); ++y)
    for (Integer x = 1; x <= FBuffer->Columns(); ++x) FBuffer->SetChar(x, y, cell);
  FView->ScreenChanged();
}

void TComTermScreen::LoadFromStream(TStream* Stream) {
  char buf[4096];
  for (Integer n; (n = Stream->Read(buf, sizeof buf)) > 0;)
    for (Integer i = 0; i < n; ++i) PutChar(buf[i]);
}

void TComTermScreen::SaveToStream(TStream* Stream) {
  AnsiString text;
  Integer last = FBuffer->GetLastLine();
  for (Integer y = 1; y <= last; ++y) {
    if (y > 1) text += "\r\n";
    Integer length = FBuffer->GetLineLength(y);
    for (Integer x = 1; x <= length; ++x) {
      char c = FBuffer->GetChar(x, y).Ch;
      text += c ? c : ' ';
    }
  }
  if (!text.empty()) Stream->WriteBuffer(text.data(), static_cast<Integer>(text.size()));
}
