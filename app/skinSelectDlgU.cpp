#include "app/skinSelectDlgU.h"

#include "app/Unit1.h"

TskinSelectDlg* skinSelectDlg = nullptr;

void TskinSelectDlg::Loaded() {
  inherited::Loaded();
  activeSkinNameLabel = static_cast<TsLabel*>(FindComponent("activeSkinNameLabel"));
  skinListBox = static_cast<TsListBox*>(FindComponent("skinListBox"));
}

void TskinSelectDlg::FormCreate(TObject*) {
  if (Form1 && Form1->sSkinManager1) Form1->sSkinManager1->GetSkinNames(skinListBox->Items(), stAllSkins);
}

void TskinSelectDlg::FormShow(TObject*) {
  if (Form1 && Form1->sSkinManager1) activeSkinNameLabel->SetCaption(Form1->sSkinManager1->SkinName());
}

void TskinSelectDlg::OKBtnClick(TObject*) {
  int item = skinListBox->ItemIndex();
  if (item >= 0 && Form1 && Form1->sSkinManager1) Form1->sSkinManager1->SetSkinName(skinListBox->Items()->Strings(item));
}

DK_PUBLISH(TskinSelectDlg) {
  P.Method("FormCreate", &TskinSelectDlg::FormCreate);
  P.Method("FormShow", &TskinSelectDlg::FormShow);
  P.Method("OKBtnClick", &TskinSelectDlg::OKBtnClick);
}
