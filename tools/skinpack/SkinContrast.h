// Readable text: every text colour of a loaded skin, normal and hot, against
// every colour it can be drawn on (the section's colour, gradient and
// texture, the centre of its border image, and for a transparent section
// what shows through it) must reach a contrast ratio of 4.5 : 1 by relative
// luminance. Each text that does not is an error of the report.
#pragma once

#include "skin/core/acSkinReport.h"
#include "skin/core/acSkinTables.h"

inline constexpr double kMinimumContrast = 4.5;

void CheckTextContrast(const TacSkinTables& Skin, TacSkinReport& Report);
