#include "skin/forms/acSystemMenu.h"

#include "skin/core/sConst.h"
#include "skin/forms/acDialsFrame.h"

TacSystemMenu::TacSystemMenu(TComponent* AOwner) : TsCustomSysMenu(AOwner) {}

void TacSystemMenu::Construct() {
  inherited::Construct();
  ItemRestore = AddItem(acs_RestoreStr, "miRestore", &TacSystemMenu::RestoreClick);
  ItemMove = AddItem(acs_MoveStr, "miMove", &TacSystemMenu::MoveClick);
  ItemSize = AddItem(acs_SizeStr, "miSize", &TacSystemMenu::SizeClick);
  ItemMinimize = AddItem(acs_MinimizeStr, "miMinimize", &TacSystemMenu::MinClick);
  ItemMaximize = AddItem(acs_MaximizeStr, "miMaximize", &TacSystemMenu::MaxClick);
  AddItem("-", "", nullptr);
  ItemClose = AddItem(acs_CloseStr, "miClose", &TacSystemMenu::CloseClick);
  ItemClose->SetShortCut(scAlt | VK_F4);
}

TMenuItem* TacSystemMenu::AddItem(const AnsiString& Caption, const AnsiString& Name,
                                  void (TacSystemMenu::*Handler)(TObject*)) {
  TMenuItem* item = Create<TMenuItem>(this);
  if (!Name.empty()) item->SetName(Name);
  item->SetCaption(Caption);
  if (Handler) item->OnClick = TNotifyEvent(this, Handler);
  Items()->Add(item);
  return item;
}

void TacSystemMenu::UpdateItems() {
  if (!Frame) return;
  ItemRestore->SetVisible(Frame->VisibleRestore());
  ItemRestore->SetEnabled(Frame->EnabledRestore());
  ItemMove->SetVisible(true);
  ItemMove->SetEnabled(EnabledMove());
  ItemSize->SetVisible(VisibleSize());
  ItemSize->SetEnabled(EnabledSize());
  ItemMinimize->SetVisible(Frame->VisibleMin());
  ItemMinimize->SetEnabled(Frame->EnabledMin());
  ItemMaximize->SetVisible(Frame->VisibleMax());
  ItemMaximize->SetEnabled(Frame->EnabledMax());
  ItemClose->SetVisible(Frame->VisibleClose());
  ItemClose->SetEnabled(true);
}

bool TacSystemMenu::VisibleClose() { return Frame && Frame->VisibleClose(); }
bool TacSystemMenu::VisibleMax() { return Frame && Frame->VisibleMax(); }
bool TacSystemMenu::VisibleMin() { return Frame && Frame->VisibleMin(); }
bool TacSystemMenu::EnabledMax() { return Frame && Frame->EnabledMax(); }
bool TacSystemMenu::EnabledMin() { return Frame && Frame->EnabledMin(); }
bool TacSystemMenu::EnabledRestore() { return Frame && Frame->EnabledRestore(); }

bool TacSystemMenu::VisibleSize() {
  return Frame && Frame->BorderStyle != acbsDialog && Frame->BorderStyle != acbsNone &&
         Frame->BorderStyle != acbsToolWindow;
}

bool TacSystemMenu::EnabledMove() { return Frame && !IsZoomed(Frame->WndHandle); }

bool TacSystemMenu::EnabledSize() {
  return Frame && Frame->BorderStyle != acbsSingle && !IsIconic(Frame->WndHandle);
}

void TacSystemMenu::Command(WPARAM Cmd) {
  if (Frame && Frame->WndHandle) SendMessageW(Frame->WndHandle, WM_SYSCOMMAND, Cmd, 0);
}

void TacSystemMenu::RestoreClick(TObject*) {
  Command(SC_RESTORE);
  UpdateItems();
}
void TacSystemMenu::MoveClick(TObject*) { Command(SC_MOVE); }
void TacSystemMenu::SizeClick(TObject*) { Command(SC_SIZE); }
void TacSystemMenu::MinClick(TObject*) { Command(SC_MINIMIZE); }
void TacSystemMenu::MaxClick(TObject*) {
  Command(SC_MAXIMIZE);
  UpdateItems();
}
void TacSystemMenu::CloseClick(TObject*) { Command(SC_CLOSE); }
