// The skinned system menu of a system dialog: the window's commands offered
// by a pop-up menu the skinned menu painter draws; its states are the
// dialog frame's.
#pragma once

#include "skin/forms/sSystemMenu.h"

class TacDialogWnd;

class TacSystemMenu : public TsCustomSysMenu {
  DK_CLASS(TacSystemMenu, TsCustomSysMenu)
 public:
  explicit TacSystemMenu(TComponent* AOwner);
  void Construct() override;

  // Visibility and enabling of the items from the frame.
  void UpdateItems();

  bool VisibleClose() override;
  bool VisibleMax() override;
  bool VisibleMin() override;
  bool EnabledMax() override;
  bool EnabledMin() override;
  bool EnabledRestore() override;
  bool VisibleSize();
  bool EnabledMove();
  bool EnabledSize();

  void RestoreClick(TObject* Sender);
  void MoveClick(TObject* Sender);
  void SizeClick(TObject* Sender);
  void MinClick(TObject* Sender);
  void MaxClick(TObject* Sender);
  void CloseClick(TObject* Sender);

  TacDialogWnd* Frame = nullptr;
  TMenuItem* ItemRestore = nullptr;
  TMenuItem* ItemMove = nullptr;
  TMenuItem* ItemSize = nullptr;
  TMenuItem* ItemMinimize = nullptr;
  TMenuItem* ItemMaximize = nullptr;
  TMenuItem* ItemClose = nullptr;

 private:
  TMenuItem* AddItem(const AnsiString& Caption, const AnsiString& Name, void (TacSystemMenu::*Handler)(TObject*));
  void Command(WPARAM Cmd);
};
