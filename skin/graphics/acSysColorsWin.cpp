// System colours and metrics from the system itself.
#include "classlib/ui/Graphics.h"
#include "skin/graphics/acSysColors.h"

TColor acColorToRGB(TColor Color) { return ColorToRGB(Color); }
Integer acFrameWidth() { return GetSystemMetrics(SM_CXFRAME); }
