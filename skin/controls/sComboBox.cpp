#include "skin/controls/sComboBox.h"

DK_UNIT(sComboBox);

DK_PUBLISH(TsComboBox) { PublishSkinData(P); }
