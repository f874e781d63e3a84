#include "skin/core/sStyleSimply.h"

const AnsiString acSectNames[6] = {"MENUITEM", "TOOLBUTTON", "CHECKBOX", "TRANSPARENT", "GROUPBOX", "WEBBUTTON"};

const char* const acTitleIconKeys[11] = {"BICONCLOSE", "BICLOSEALONE", "BICONMAX", "BICONNORM",
                                         "BICONMIN",   "BICONHELP",    "SICONCLOSE", "SICONMAX",
                                         "SICONNORM",  "SICONMIN",     "SICONHELP"};
const char* const acCheckGlyphKeys[9] = {"BOXCHECKED",    "BOXUNCHECKED",   "BOXGRAYED",
                                         "RADIOCHECKED",  "RADIOUNCHECKED", "RADIOGRAYED",
                                         "SMALLCHECKED",  "SMALLUNCHECKED", "SMALLGRAYED"};

bool aSkinChanging = false;

bool SectionInArray(const TacIntSections& Sections, Integer SkinIndex, TacSection From, TacSection To) {
  for (int i = From; i <= To; ++i)
    if (Sections[static_cast<size_t>(i)] == SkinIndex) return true;
  return false;
}
