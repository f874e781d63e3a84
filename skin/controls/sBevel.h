// The skinned bevel: a frame or line whose section follows its shape and
// style once a skin is loaded; the plain bevel until then.
#pragma once

#include "classlib/ui/ExtCtrls.h"

class TsBevel : public TBevel {
  DK_CLASS(TsBevel, TBevel)
 public:
  using TBevel::TBevel;
};

// Every unit that includes this header links this unit in, so that form
// resources find its classes by name.
namespace dk_link {
extern const int sBevelUnit;
[[gnu::used]] static const int* const sBevelAnchor = &sBevelUnit;
}  // namespace dk_link
