// The serial library's error texts and its exception. The texts are looked up
// through the translation runtime each time an error is raised (the program's
// language, then the "cport" domain), so that a catalogue loaded after the
// start translates them.
#include "classlib/core/ResString.h"
#include "i18n/gnugettext.h"
#include "serial/CPortInternal.h"

namespace {

DK_RESOURCESTRING(SComOpenFailed, "Unable to open com port");
DK_RESOURCESTRING(SComWriteFailed, "WriteFile function failed");
DK_RESOURCESTRING(SComReadFailed, "ReadFile function failed");
DK_RESOURCESTRING(SComInvalidAsync, "Invalid Async parameter");
DK_RESOURCESTRING(SComPurgeFailed, "PurgeComm function failed");
DK_RESOURCESTRING(SComAsyncCheck, "Unable to get async status");
DK_RESOURCESTRING(SComSetStateFailed, "SetCommState function failed");
DK_RESOURCESTRING(SComTimeoutsFailed, "SetCommTimeouts failed");
DK_RESOURCESTRING(SComSetupComFailed, "SetupComm function failed");
DK_RESOURCESTRING(SComClearComFailed, "ClearCommError function failed");
DK_RESOURCESTRING(SComModemStatFailed, "GetCommModemStatus function failed");
DK_RESOURCESTRING(SComEscapeComFailed, "EscapeCommFunction function failed");
DK_RESOURCESTRING(SComTransmitFailed, "TransmitCommChar function failed");
DK_RESOURCESTRING(SComConnChangeProp, "Cannot set property while connected");
DK_RESOURCESTRING(SComEnumPortsFailed, "EnumPorts function failed");
DK_RESOURCESTRING(SComStoreFailed, "Failed to store settings");
DK_RESOURCESTRING(SComLoadFailed, "Failed to load settings");
DK_RESOURCESTRING(SComRegFailed, "Link (un)registration failed");
DK_RESOURCESTRING(SComLedStateFailed, "Cannot change led state if ComPort is selected");
DK_RESOURCESTRING(SComThreadCreated, "Cannot wait for event if event thread is created");
DK_RESOURCESTRING(SComWaitFailed, "WaitForEvent method failed");
DK_RESOURCESTRING(SComHasLink, "A component is linked to OnRxBuf event");
DK_RESOURCESTRING(SComRegError, "Registry error");

// By error code, from 1.
const TResStringRec* const kMessages[23] = {
    &SComOpenFailed,     &SComWriteFailed,     &SComReadFailed,      &SComInvalidAsync,    &SComPurgeFailed,
    &SComAsyncCheck,     &SComSetStateFailed,  &SComTimeoutsFailed,  &SComSetupComFailed,  &SComClearComFailed,
    &SComModemStatFailed, &SComEscapeComFailed, &SComTransmitFailed, &SComConnChangeProp,  &SComEnumPortsFailed,
    &SComStoreFailed,    &SComLoadFailed,      &SComRegFailed,       &SComLedStateFailed,  &SComThreadCreated,
    &SComWaitFailed,     &SComHasLink,         &SComRegError,
};

// The library's text domain joins the translation of resource strings at start-up.
const bool kDomainAdded = (AddDomainForResourceString("cport"), true);

}  // namespace

AnsiString ComErrorMessage(Integer ACode) {
  if (ACode < 1 || ACode > 23) return AnsiString();
  return WideToAnsi(LoadResStringW(kMessages[ACode - 1]));
}

EComPort::EComPort(Integer ACode, Integer AWinCode) : Code(ACode), WinCode(AWinCode) {
  AnsiString suffix = WideToAnsi(_(u" (win error code: %d)"));
  Message = ComErrorMessage(ACode) + Format(suffix, {AWinCode});
}

EComPort::EComPort(Integer ACode) : Code(ACode), WinCode(-1) { Message = ComErrorMessage(ACode); }
