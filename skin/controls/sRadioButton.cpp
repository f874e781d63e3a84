#include "skin/controls/sRadioButton.h"

DK_UNIT(sRadioButton);

DK_PUBLISH(TsRadioButton) { PublishSkinData(P); }
