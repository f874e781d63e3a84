// Fixed messages of the class library, fetched through LoadResString.
#pragma once

#include "classlib/core/ResString.h"

DK_RESOURCESTRING(SOperationAborted, "Operation aborted");
DK_RESOURCESTRING(SOSError, "System Error.  Code: %d.\r\n%s");
DK_RESOURCESTRING(SUnkOSError, "A call to an OS function failed");
DK_RESOURCESTRING(SInvalidInteger, "'%s' is not a valid integer value");
DK_RESOURCESTRING(SInvalidFloat, "'%s' is not a valid floating point value");
DK_RESOURCESTRING(SInvalidDate, "'%s' is not a valid date");
DK_RESOURCESTRING(SInvalidTime, "'%s' is not a valid time");
DK_RESOURCESTRING(SInvalidDateTime, "'%s' is not a valid date and time");
DK_RESOURCESTRING(SInvalidBoolean, "'%s' is not a valid boolean value");
DK_RESOURCESTRING(SInvalidOp, "Invalid floating point operation");
DK_RESOURCESTRING(SDateEncodeError, "Invalid argument to date encode");
DK_RESOURCESTRING(STimeEncodeError, "Invalid argument to time encode");
DK_RESOURCESTRING(SInvalidFormat, "Format '%s' invalid or incompatible with argument");
DK_RESOURCESTRING(SArgumentMissing, "No argument for format '%s'");
DK_RESOURCESTRING(SCannotCreateDir, "Unable to create directory");
DK_RESOURCESTRING(SListIndexError, "List index out of bounds (%d)");
DK_RESOURCESTRING(SListCapacityError, "List capacity out of bounds (%d)");
DK_RESOURCESTRING(SListCountError, "List count out of bounds (%d)");
DK_RESOURCESTRING(SSortedListError, "Operation not allowed on sorted list");
DK_RESOURCESTRING(SDuplicateString, "String list does not allow duplicates");
DK_RESOURCESTRING(SReadError, "Stream read error");
DK_RESOURCESTRING(SWriteError, "Stream write error");
DK_RESOURCESTRING(SMemoryStreamError, "Out of memory while expanding memory stream");
DK_RESOURCESTRING(SFCreateError, "Cannot create file \"%s\". %s");
DK_RESOURCESTRING(SFOpenError, "Cannot open file \"%s\". %s");
DK_RESOURCESTRING(SThreadCreateError, "Thread creation error: %s");
DK_RESOURCESTRING(SThreadError, "Thread Error: %s (%d)");
DK_RESOURCESTRING(SSyncTimeout, "Synchronized call timed out");
DK_RESOURCESTRING(SIniFileWriteError, "Unable to write to %s");
