#include "skin/forms/sDialogs.h"

int sMessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
  return MessageDlg(Msg, DlgType, Buttons, HelpCtx);
}
