// What the files of unit CPort share among themselves (not for its users).
#pragma once

#include "classlib/ui/WinApi.h"
#include "serial/CPort.h"

namespace cport {

const HANDLE kNoHandle = INVALID_HANDLE_VALUE;

[[noreturn]] inline void RaiseCom(Integer Code, DWORD WinCode) { throw EComPort(Code, static_cast<Integer>(WinCode)); }
[[noreturn]] inline void RaiseComLast(Integer Code) { RaiseCom(Code, GetLastError()); }

// The driver's event mask of a set of events, and back.
DWORD EventsToMask(TComEvents Events);
TComEvents MaskToEvents(DWORD Mask);

}  // namespace cport
