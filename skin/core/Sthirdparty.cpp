#include "skin/core/Sthirdparty.h"

bool (*CheckDevEx)(TWinControl*) = nullptr;
void (*InitDevEx)(bool) = nullptr;
void (*RefreshDevEx)() = nullptr;
