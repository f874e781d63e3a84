// The skin selection dialog: the skins the main window's skin manager can
// load (stored skins, skin folders and packed skins beside the program); the
// chosen one is brought into use and kept by the manager's change event.
#pragma once

#include "classlib/ui/Forms.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sListBox.h"

class TskinSelectDlg : public TForm {
  DK_CLASS(TskinSelectDlg, TForm)
 public:
  using TForm::TForm;

  TsLabel* activeSkinNameLabel = nullptr;
  TsListBox* skinListBox = nullptr;

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void OKBtnClick(TObject* Sender);

 protected:
  void Loaded() override;
};

extern TskinSelectDlg* skinSelectDlg;
