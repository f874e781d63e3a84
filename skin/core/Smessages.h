// The skin command message: one private window message through which the
// skin engine's parts talk to skinned windows and controls. The command goes
// in the high word of the first parameter (MakeLong(low, command)), a value
// or the address of a record in the second, the answer in the result; a
// receiver that does not know a command leaves the result 0.
#pragma once

#include "classlib/core/System.h"

constexpr Cardinal SM_ALPHACMD = 0xA100;

// The commands (the high word of the first parameter).
enum TacCommand : Word {
  ACMD_SKIN_LOADED = 1,            // second parameter: the skin manager
  ACMD_SKIN_UNLOADED = 2,          // the skin manager
  ACMD_SKIN_REPAINT = 3,           // the skin manager
  ACMD_QUERY_PROVIDER = 4,         // answer: the form's skin provider (full width), 0 when none
  ACMD_CHILD_PAINT_NOTICE = 5,
  ACMD_PARENT_UPDATED = 6,
  ACMD_QUERY_HOOKED = 7,           // answer: 1 from every skinned window or control
  ACMD_SET_UPDATE_FLAG = 8,        // low word 1: set, otherwise clear
  ACMD_QUERY_PAINT_WAIT = 10,      // answer: 1 when the asker must wait
  ACMD_QUERY_OFFSCREEN = 11,
  ACMD_SECTION_CHANGED = 13,       // the address of the upper-case section name
  ACMD_QUERY_DROPPED_DOWN = 14,
  ACMD_ASSIGN_SECTION = 15,        // the address of a TacSectionInfo; answer 1: assigned
  ACMD_STOP_FADE = 16,
  ACMD_FLAG_BG_CHANGED = 17,
  ACMD_REDRAW = 18,
  ACMD_QUERY_CHILD_BG_VARIES = 19,
  ACMD_REPAINT_IF_MOVED = 20,      // low word 1: also redraw the window with its children
  ACMD_QUERY_COLOR = 21,           // answer: the background colour for children
  ACMD_FLAG_OFFSCREEN = 22,
  ACMD_BUILD_CACHE = 23,
  ACMD_FADE_FRAME = 24,            // the blended frame bitmap; answer non-zero: drawn
  ACMD_ADAPTER_ADD = 25,           // the control to register, 0: all of the form
  ACMD_QUERY_SKIN_INDEX = 26,      // the address of a 32-bit integer
  ACMD_QUERY_CAPTION_HEIGHT = 27,
  ACMD_REINIT_CHILDREN = 28,
  ACMD_HOVER_ENTER = 29,           // the skin manager
  ACMD_HOVER_LEAVE = 30,           // the skin manager
  ACMD_UPDATE_BEGIN = 31,
  ACMD_UPDATE_END = 32,
  ACMD_FREE_CACHE = 33,
  ACMD_QUERY_BG_INFO = 34,         // the address of a TacBGInfo
  ACMD_QUERY_DISABLED_KIND = 35,   // the address of a byte holding a TsDisabledKind
  ACMD_SKIN_STATE = 36,            // 1: recompute and tell the children; answer: the state flags
  ACMD_QUERY_COMMON_DATA = 37,     // answer: the receiver's TsCommonData (full width)
  ACMD_PRINT_MODE = 38,            // a device context: printing into it; 0: printing ends
  ACMD_PAINT_OUTER = 40,           // the address of a TacBGInfo; low word: flags
  ACMD_SCROLL_BEFORE = 51,
  ACMD_SCROLL_AFTER = 52,
  ACMD_FRAME_CHANGED = 53,
  ACMD_QUERY_APPLICATION = 60,     // answer: the Application object (full width)
  ACMD_QUERY_CLIENT_OFFSET = 61,
  ACMD_TITLEBAR_CHANGED = 62,
  ACMD_QUERY_BOUNDS = 70,          // the address of a TRect
  ACMD_EDITOR_DATA = 71,           // posted to the application window
};

// The first parameter of a command: MakeLong(Low, Command).
constexpr std::uintptr_t AlphaCmdParam(Word Command, Word Low = 0) {
  return static_cast<std::uintptr_t>(Low) | (static_cast<std::uintptr_t>(Command) << 16);
}
// The command of a first parameter.
constexpr Word AlphaCmdOf(std::uintptr_t WParam) { return static_cast<Word>((WParam >> 16) & 0xFFFF); }
constexpr Word AlphaCmdLow(std::uintptr_t WParam) { return static_cast<Word>(WParam & 0xFFFF); }

// The section record of commands 15 and 26 (the sender owns it).
struct TacSectionInfo {
  Integer SkinIndex = -1;
  AnsiString Name;
};
