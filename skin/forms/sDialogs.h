// Skinned dialogs. For now the message dialog is the class library's own;
// the skinned look comes with the skinning of system dialogs.
#pragma once

#include "classlib/ui/Dialogs.h"

// Shows a message dialog and answers the modal result of the button pressed.
int sMessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
