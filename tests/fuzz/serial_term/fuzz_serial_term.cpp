// Fuzzes the escape-code parsers and the terminal's screen rules together:
// received chunks, size changes, a grid that may not be made anew, parser
// changes and saving come from the input. After every step the caret lies
// inside the grid, and (every fourth step and at the end) a picture redrawn
// from what the screen reported equals the grid; every code the parser
// completes has a text that reads back as the same code; a saved screen fits
// the grid.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../../serial_term_core/ScreenModel.h"
#include "../FuzzReader.h"

using screentest::TScreenModel;

namespace {

TEscapeCodes* NewParser(int Kind) {
  switch (Kind % 3) {
    case 0: return Create<TEscapeCodesVT100>();
    case 1: return Create<TEscapeCodesVT52>();
    default: return nullptr;
  }
}

void Check(bool Ok) {
  if (!Ok) std::abort();
}

// Every code the chunk completes has a text (when it has one) that a fresh
// parser of the same kind reads back as that code.
void CheckRoundTrip(int Kind, const std::string& Chunk) {
  if (Kind % 3 == 2) return;
  std::unique_ptr<TEscapeCodes> parser(NewParser(Kind));
  for (char c : Chunk) {
    if (parser->ProcessChar(c) != erCode) continue;
    Check(parser->Data().size() <= TEscapeCodes::kMaxSequence);
    AnsiString text = parser->EscCodeToStr(parser->Code(), parser->Params());
    if (!text.empty()) {
      std::unique_ptr<TEscapeCodes> again(NewParser(Kind));
      TEscapeResult r = erNothing;
      for (std::size_t i = 0; i < text.size(); ++i) {
        r = again->ProcessChar(text[i]);
        Check(i + 1 == text.size() ? r == erCode : r == erNothing);
      }
      Check(again->Code() == parser->Code());
    }
    parser->Params()->Clear();
  }
}

void CheckSaved(TScreenModel& M) {
  TMemoryStream stream;
  M.Screen.SaveToStream(&stream);
  std::string text(static_cast<std::size_t>(stream.Size()), '\0');
  stream.SetPosition(0);
  if (!text.empty()) stream.ReadBuffer(text.data(), static_cast<Integer>(text.size()));
  Integer rows = 0;
  std::size_t start = 0;
  while (start <= text.size() && !text.empty()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    Check(end - start <= static_cast<std::size_t>(M.Screen.Buffer()->Columns()));
    ++rows;
    start = end + 2;
  }
  Check(rows <= M.Screen.Buffer()->Rows());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::Reader in{data, size};
  const std::uint8_t flags = in.Byte();
  int kind = flags & 3;
  TScreenModel m;
  m.Screen.SetEscapeCodes(NewParser(kind));
  m.Screen.SetWrapLines(flags & 4);
  m.Screen.SetColumns(in.Byte());
  m.Screen.SetRows(in.Byte());
  m.Show();
  // comparing the whole picture costs as much as the rest: every few steps
  unsigned step = 0;
  while (in.n > 0) {
    std::uint8_t op = in.Byte();
    if (op >= 0xF0) {
      switch (op & 0x0F) {
        case 0: m.Screen.SetColumns(in.Number()); break;
        case 1: m.Screen.SetRows(in.Number()); break;
        case 2: m.Screen.ClearScreen(); break;
        case 3: CheckSaved(m); break;
        case 4:
          m.MayInit = !m.MayInit;
          if (m.MayInit) {
            // as the control does when a form has been read
            m.Screen.Init();
            m.Damage.Reset(m.Screen.Buffer()->Rows());
            m.Damage.All();
          }
          break;
        case 5:
          kind = in.Byte();
          m.Screen.SetEscapeCodes(NewParser(kind));
          break;
        case 6: m.Screen.MoveCaret(in.Number(), in.Number()); break;
        default: m.Screen.SetWrapLines(!m.Screen.WrapLines()); break;
      }
    } else {
      std::string chunk = in.Take(op);
      m.Write(chunk);
      CheckRoundTrip(kind, chunk);
    }
    Check(!m.CaretOutside);
    TPoint p = m.Screen.CaretPos();
    Check(p.X >= 1 && p.X <= m.Screen.Columns() && p.Y >= 1 && p.Y <= m.Screen.Rows());
    if (m.MayInit) {
      Check(m.Screen.Buffer()->Columns() == m.Screen.Columns() && m.Screen.Buffer()->Rows() == m.Screen.Rows());
      m.Show();
      if (++step % 4 == 0 || in.n == 0) Check(m.Difference().empty());
    } else {
      m.Show();
    }
  }
  CheckSaved(m);
  return 0;
}
