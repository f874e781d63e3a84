#include "skin/controls/sBitBtn.h"

DK_UNIT(sBitBtn);

DK_PUBLISH(TsBitBtn) { PublishSkinData(P); }
