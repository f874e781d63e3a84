// The portable terms of the Graphics unit: colours, bitmap pixel formats and
// the errors of pictures. Portable code (image decoders) uses them without
// the Windows half; classlib/ui/Graphics.h builds on them.
#pragma once

#include <cstdint>

#include "classlib/core/SysUtils.h"
#include "classlib/core/TypInfo.h"

// Red in the low byte; negative values (high bit set) name system colours by
// their index in the low byte.
using TColor = Integer;

DK_ENUM(TPixelFormat, pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom);

DK_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
DK_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);
