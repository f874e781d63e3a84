#include "skin/controls/sListBox.h"

DK_UNIT(sListBox);

DK_PUBLISH(TsCustomListBox) { PublishSkinData(P); }
DK_PUBLISH(TsListBox) {}
