// The constants unit's start where there is no Windows: no system version,
// no string table.
#include "skin/core/sConstPlatform.h"

namespace sconst_platform {
Integer MajorVersion() { return 0; }
Integer MinorVersion() { return 0; }
Integer ScrollArrowWidth(Integer Default) { return Default; }
AnsiString LoadText(Integer) { return AnsiString(); }
}  // namespace sconst_platform
