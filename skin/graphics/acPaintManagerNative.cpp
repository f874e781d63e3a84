// The default manager where there is no skin manager component: the one a
// native program names itself.
#include "skin/graphics/acPaintManager.h"

TsSkinManager* DefaultManager = nullptr;
