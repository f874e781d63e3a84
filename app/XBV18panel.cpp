#include "app/XBV18panel.h"

#include "app/Unit1.h"

TXBV18* XBV18 = nullptr;

namespace {

void QueueForButton(TObject* Sender, uint16_t Register) {
  // The button's own channel only.
  int k = StrToIntDef(TrailingDigits(static_cast<TComponent*>(Sender)->Name()), 0);
  QueueWrite(k, Register, 1);
}

}  // namespace

void TXBV18::FormShow(TObject*) {
  SetLeft(Form1->Left() + Form1->Width() + 3);
  SetTop(Form1->Top());
}

void TXBV18::XBV18SetZeroClick(TObject* Sender) { QueueForButton(Sender, 0x30); }
void TXBV18::XBV18SetTareClick(TObject* Sender) { QueueForButton(Sender, 0x20); }

DK_PUBLISH(TXBV18) {
  P.Method("FormShow", &TXBV18::FormShow);
  P.Method("XBV18SetZeroClick", &TXBV18::XBV18SetZeroClick);
  P.Method("XBV18SetTareClick", &TXBV18::XBV18SetTareClick);
}
