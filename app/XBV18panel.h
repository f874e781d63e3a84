// The template of the zero and tare buttons that XBV18 channel panels carry;
// the form itself is never shown.
#pragma once

#include "classlib/ui/Forms.h"
#include "skin/controls/sButton.h"

class TXBV18 : public TForm {
  DK_CLASS(TXBV18, TForm)
 public:
  using TForm::TForm;
  void FormShow(TObject* Sender);
  // Queue a write of 1 to register 0x30 (zero) or 0x20 (tare) of the button's channel.
  void XBV18SetZeroClick(TObject* Sender);
  void XBV18SetTareClick(TObject* Sender);
};

extern TXBV18* XBV18;
