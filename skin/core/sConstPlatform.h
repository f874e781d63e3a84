// What the constants unit asks of the system at start (one file per platform).
#pragma once

#include "classlib/core/System.h"

namespace sconst_platform {
Integer MajorVersion();
Integer MinorVersion();
// The width of a horizontal scroll arrow; Default where the system has none.
Integer ScrollArrowWidth(Integer Default);
// The program's string-table entry of an id ("" when it has none).
AnsiString LoadText(Integer Id);
}  // namespace sconst_platform
