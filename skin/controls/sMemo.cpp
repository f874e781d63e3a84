#include "skin/controls/sMemo.h"

DK_UNIT(sMemo);

DK_PUBLISH(TsMemo) { PublishSkinData(P); }
