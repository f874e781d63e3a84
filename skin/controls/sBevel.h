// The skinned bevel: a frame or line whose section follows its shape and
// style once a skin is loaded; the plain bevel until then.
#pragma once

#include "classlib/ui/ExtCtrls.h"

class TsBevel : public TBevel {
  DK_CLASS(TsBevel, TBevel)
 public:
  using TBevel::TBevel;
};

DK_LINK_UNIT(sBevel)
