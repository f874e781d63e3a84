#include "skin/forms/acAlphaHints.h"

TsAlphaHints* Manager = nullptr;

void TsAlphaHints::ShowHint(const TPoint&, const AnsiString&, Word) {}
