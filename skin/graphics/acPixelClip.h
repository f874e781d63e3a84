// Clipping for the pixel loops that walk several bitmaps in step: the run of
// indexes i (columns or rows) at which every bitmap involved, entered at its
// own start, still has a pixel. Loops index each bitmap as start + i, so a
// start left of or above a bitmap cuts off the same number of pixels of all
// of them and nothing is read or written outside any.
#pragma once

#include <algorithm>
#include <initializer_list>

// Indexes First .. Last - 1 (empty when Last <= First).
struct TacSpan {
  int First = 0, Last = 0;
  int Count() const { return Last > First ? Last - First : 0; }
  bool Empty() const { return Last <= First; }
};

// One bitmap's side of a walk: the walk's index i reaches Start + i, which
// must lie in 0 .. Size - 1.
struct TacSpanLimit {
  int Start = 0, Size = 0;
};

// The indexes of 0 .. Count - 1 that keep every Start + i inside its Size.
inline TacSpan ClipSpan(int Count, std::initializer_list<TacSpanLimit> Limits) {
  // 64-bit: starts far outside a bitmap must not overflow.
  long long first = 0, last = Count;
  for (const TacSpanLimit& l : Limits) {
    first = std::max(first, -static_cast<long long>(l.Start));
    last = std::min(last, static_cast<long long>(l.Size) - l.Start);
  }
  if (last <= first) return TacSpan{};
  return TacSpan{static_cast<int>(first), static_cast<int>(last)};
}
