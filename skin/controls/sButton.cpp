#include "skin/controls/sButton.h"

DK_UNIT(sButton);

DK_PUBLISH(TsButton) { PublishSkinData(P); }
