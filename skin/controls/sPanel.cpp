#include "skin/controls/sPanel.h"

DK_UNIT(sPanel);

DK_PUBLISH(TsPanel) { PublishSkinData(P); }
