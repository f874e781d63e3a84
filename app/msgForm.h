// The progress window of the device search.
#pragma once

#include "classlib/ui/Forms.h"
#include "skin/controls/sLabel.h"

class TMessageForm : public TForm {
  DK_CLASS(TMessageForm, TForm)
 public:
  using TForm::TForm;
  TsLabel* Lbl = nullptr;
  void FormKeyUp(TObject* Sender, Word& Key, TShiftState Shift);

 protected:
  void Loaded() override;
};

extern TMessageForm* MessageForm;
