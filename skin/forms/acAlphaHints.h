// Skinned hint windows. For now the program has no skinned hints: Manager
// stays nullptr and the hints are the class library's.
#pragma once

#include "classlib/core/Classes.h"
#include "classlib/core/Types.h"

class TsAlphaHints : public TComponent {
  DK_CLASS(TsAlphaHints, TComponent)
 public:
  explicit TsAlphaHints(TComponent* AOwner) : TComponent(AOwner) {}
  bool Active = false;
  // Shows the skinned hint window with Text at the screen point P.
  void ShowHint(const TPoint& P, const AnsiString& Text, Word Pause);
};

// The hints object in use (nullptr: none).
extern TsAlphaHints* Manager;
