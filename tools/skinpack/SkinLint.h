// The skin packer's check of a skin: the engine's own reader runs over the
// skin folder or container and every finding is listed, with the checks a
// skin must pass beyond what the reader accepts.
#pragma once

#include <vector>

#include "skin/core/acSkinReport.h"

struct TacLintOptions {
  // Sections the skin must have.
  std::vector<AnsiString> RequiredSections;
  // Text colours must stand out from what they are drawn on.
  bool Contrast = false;
};

struct TacLintResult {
  std::vector<TacSkinFinding> Findings;
  // True when no finding is more than information.
  bool Passed() const;
};

// Checks a skin folder (with Options.dat) or a packed skin file.
TacLintResult LintSkin(const AnsiString& Path, const TacLintOptions& Options);
