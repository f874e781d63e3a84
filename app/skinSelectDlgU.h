// The skin selection dialog. It lists the skins of the skin manager, which
// the main window gains with the skins; until then the list stays empty.
#pragma once

#include "classlib/ui/Forms.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sListBox.h"

class TskinSelectDlg : public TForm {
  DK_CLASS(TskinSelectDlg, TForm)
 public:
  using TForm::TForm;
};

extern TskinSelectDlg* skinSelectDlg;
