// The default skin section of every control kind code (the codes themselves
// are sConst's COC_* table).
#pragma once

#include <cstdint>
#include <initializer_list>

namespace sKind {

// Codes from First to Last (a single code: Last = First).
struct TCodeRange {
  int First, Last;
};

// The section a code stands for when a control's SkinSection is empty.
struct TDefaultSection {
  const char* Section;
  std::initializer_list<TCodeRange> Codes;
};

inline constexpr TDefaultSection kDefaultSections[] = {
    {"EDIT", {{2, 8}, {10, 10}, {41, 41}, {76, 76}, {78, 78}, {83, 85}, {96, 96}, {131, 131}, {140, 140}, {230, 230}}},
    {"COMBOBOX", {{11, 18}, {81, 82}}},
    {"BAR", {{19, 19}}},
    {"BARTITLE", {{20, 20}}},
    {"CHECKBOX", {{32, 33}, {50, 50}, {152, 152}}},
    {"PANEL_LOW", {{34, 34}, {52, 52}, {58, 58}}},
    {"PANEL", {{51, 51}, {59, 59}, {68, 68}, {73, 73}}},
    {"TOOLBAR", {{53, 54}, {60, 60}}},
    {"DRAGBAR", {{56, 56}}},
    {"TABSHEET", {{57, 57}}},
    {"GROUPBOX", {{74, 74}, {226, 226}}},
    {"SPLITTER", {{75, 75}}},
    {"SPEEDBUTTON", {{92, 92}, {95, 95}}},
    {"BUTTON", {{93, 94}}},
    {"TOOLBUTTON", {{98, 98}}},
    {"PAGECONTROL", {{141, 141}, {143, 143}}},
    {"STATUSBAR", {{151, 151}}},
    {"GAUGE", {{161, 161}}},
    {"TRACKBAR", {{165, 165}}},
};

// The default section of a code, nullptr for a code that names none (the
// control's class name stands for it then).
constexpr const char* DefaultSection(int Code) {
  for (const TDefaultSection& d : kDefaultSections)
    for (TCodeRange r : d.Codes)
      if (Code >= r.First && Code <= r.Last) return d.Section;
  return nullptr;
}

}  // namespace sKind
