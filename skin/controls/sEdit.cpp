#include "skin/controls/sEdit.h"

DK_UNIT(sEdit);

DK_PUBLISH(TsEdit) { PublishSkinData(P); }
