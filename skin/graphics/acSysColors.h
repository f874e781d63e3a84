// System colours and metrics as the skin engine's portable code sees them:
// the system's own on Windows, a fixed table of the standard scheme elsewhere
// (so that native builds give the same answers every time).
#pragma once

#include "classlib/core/GraphicsTypes.h"

// A system colour constant (high bit set, index in the low byte) as its RGB
// value; any other colour as it is.
TColor acColorToRGB(TColor Color);
// The width of a sizable window's frame (SM_CXFRAME).
Integer acFrameWidth();

// The system colour constants the portable code names.
inline constexpr TColor acSysColor(int Index) { return static_cast<TColor>(0x80000000u | static_cast<unsigned>(Index)); }
inline constexpr TColor sysWindow = acSysColor(5);
inline constexpr TColor sysWindowText = acSysColor(8);
inline constexpr TColor sysHighlight = acSysColor(13);
inline constexpr TColor sysHighlightText = acSysColor(14);
inline constexpr TColor sysBtnFace = acSysColor(15);
