#include "app/msgForm.h"

#include "app/Unit1.h"

TMessageForm* MessageForm = nullptr;

void TMessageForm::Loaded() {
  inherited::Loaded();
  Lbl = static_cast<TsLabel*>(FindComponent("Lbl"));
}

void TMessageForm::FormKeyUp(TObject*, Word& Key, TShiftState) {
  if (Key != 112) return;
  Application->MessageBox("Идёт процесс обнаружения устройства, пожалуйста, дождитесь его окончания!"_cp,
                          Application->Title(), MB_OK | MB_ICONINFORMATION);
}

DK_PUBLISH(TMessageForm) { P.Method("FormKeyUp", &TMessageForm::FormKeyUp); }
