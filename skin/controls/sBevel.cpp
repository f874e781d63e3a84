#include "skin/controls/sBevel.h"

DK_UNIT(sBevel);

DK_PUBLISH(TsBevel) {}
