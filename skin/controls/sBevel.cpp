#include "skin/controls/sBevel.h"

const int dk_link::sBevelUnit = 0;

DK_PUBLISH(TsBevel) {}
