// The packet framer where this build has no serial port: it frames text fed
// through AddData; a port cannot be attached.
#include "classlib/core/TypInfo.h"
#include "serial/CPortPacket.h"

void TComDataPacket::AttachLink(TCustomComPort* Port) {
  throw EInvalidOperation("The packet framer cannot attach to a port in this build");
}

void TComDataPacket::DetachLink(TCustomComPort* Port) {}

DK_PUBLISH(TComDataPacket) {
  PublishFraming(P);
}
