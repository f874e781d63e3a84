// The packet framer's attachment to a port, and its published properties.
#include "classlib/core/TypInfo.h"
#include "serial/CPortPacket.h"

void TComDataPacket::AttachLink(TCustomComPort* Port) {
  Port->FreeNotification(this);
  Port->RegisterLink(FComLink);
}

void TComDataPacket::DetachLink(TCustomComPort* Port) {
  Port->RemoveFreeNotification(this);
  Port->UnRegisterLink(FComLink);
}

DK_PUBLISH(TComDataPacket) {
  P.Property("ComPort", &TComDataPacket::ComPort, &TComDataPacket::SetComPort);
  PublishFraming(P);
}
