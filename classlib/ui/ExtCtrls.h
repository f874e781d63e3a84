// Extra controls: panels, bevels, radio groups and the timer.
#pragma once

#include "classlib/ui/ExtCtrlsPanels.h"
#include "classlib/ui/ExtCtrlsTimer.h"
