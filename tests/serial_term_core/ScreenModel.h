// A stand-in for the terminal control in native tests and the fuzzer: it
// records what the screen reports and keeps a picture of the grid as a
// window would show it after drawing what the screen reported changed
// (moved by the rows scrolled, then the changed cells redrawn).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "serial/CPortCtlScreen.h"

namespace screentest {

class TScreenModel : public TComTermView {
 public:
  TScreenModel() : Screen(this) {
    Screen.SetEscapeCodes(Create<TEscapeCodesVT100>());
    Damage.Reset(Screen.Buffer()->Rows());
  }

  TComTermScreen Screen;
  TComTermDamage Damage;
  bool MayInit = true;
  std::string Sent;  // the texts of the answers
  std::string Chars;
  std::vector<std::pair<TEscapeCode, std::string>> Unhandled;
  int Resized = 0;
  bool CaretOutside = false;

  bool CanInitGrid() override { return MayInit; }
  void CellsChanged(Integer X1, Integer Y1, Integer X2, Integer Y2) override { Damage.Cells(X1, Y1, X2, Y2); }
  void RowsScrolled(bool Up) override { Damage.Scroll(Up); }
  void ScreenChanged() override { Damage.All(); }
  void CaretMoved() override {
    TPoint p = Screen.CaretPos();
    if (p.X < 1 || p.X > Screen.Columns() || p.Y < 1 || p.Y > Screen.Rows()) CaretOutside = true;
  }
  void GridResized() override {
    ++Resized;
    Damage.Reset(Screen.Buffer()->Rows());
    Damage.All();
  }
  void SendAnswer(TEscapeCode Code, TStrings* Params) override {
    if (Screen.EscapeCodes()) Sent += Screen.EscapeCodes()->EscCodeToStr(Code, Params);
  }
  void CharPut(char Ch) override { Chars += Ch; }
  void UnhandledCode(TEscapeCode Code, const AnsiString& Data) override { Unhandled.emplace_back(Code, Data); }

  void Write(const std::string& Bytes) { Screen.Write(Bytes.data(), static_cast<Integer>(Bytes.size())); }

  // Draws what changed into the picture, as the control does after a write.
  void Show() {
    const TComTermBuffer* b = Screen.Buffer();
    const Integer cols = b->Columns(), rows = b->Rows();
    if (Damage.Whole() || cols != FCols || rows != FRows) {
      FCols = cols;
      FRows = rows;
      FShown.assign(static_cast<std::size_t>(cols * rows), TComTermChar{});
      for (Integer y = 1; y <= rows; ++y) CopyRow(y, 1, cols);
    } else {
      Integer n = Damage.Scrolled();
      std::vector<TComTermChar> moved(FShown.size(), kUncovered);
      for (Integer y = 1; y <= rows; ++y)
        if (y + n >= 1 && y + n <= rows)
          for (Integer x = 1; x <= cols; ++x) moved[Index(x, y)] = FShown[Index(x, y + n)];
      FShown.swap(moved);
      for (Integer y = 1; y <= Damage.Rows() && y <= rows; ++y)
        if (!Damage.Row(y).Empty()) CopyRow(y, Damage.Row(y).First, std::min(Damage.Row(y).Last, cols));
    }
    Damage.Reset(rows);
  }

  // The first cell where the picture differs from the grid ("" when none).
  std::string Difference() const {
    const TComTermBuffer* b = Screen.Buffer();
    if (b->Columns() != FCols || b->Rows() != FRows) return "the picture has another size";
    for (Integer y = 1; y <= FRows; ++y)
      for (Integer x = 1; x <= FCols; ++x)
        if (!(FShown[Index(x, y)] == b->GetChar(x, y)))
          return "cell " + std::to_string(x) + "," + std::to_string(y) + " shows '" +
                 std::string(1, FShown[Index(x, y)].Ch) + "', the grid holds '" + std::string(1, b->GetChar(x, y).Ch) +
                 "'";
    return "";
  }

 private:
  static constexpr TComTermChar kUncovered{'#', 0x123456, 0x654321, true};
  std::size_t Index(Integer X, Integer Y) const {
    return static_cast<std::size_t>((Y - 1) * FCols + (X - 1));
  }
  void CopyRow(Integer Y, Integer X1, Integer X2) {
    for (Integer x = std::max(X1, 1); x <= X2; ++x) FShown[Index(x, Y)] = Screen.Buffer()->GetChar(x, Y);
  }

  std::vector<TComTermChar> FShown;
  Integer FCols = 0, FRows = 0;
};

}  // namespace screentest
