// Skinned dialogs: the skin library's message boxes, input boxes and file
// and folder dialogs.
//
// A message function builds a system message box (not a form): the default
// skin manager's window-creation hook skins the box as it appears and places
// it at the position the caller asked for (DlgLeft, DlgTop of acDials; -1
// keeps the system's placement). The input and file functions are the class
// library's own under the skin library's names: their windows are skinned by
// the same hook like any other dialog.
#pragma once

#include "classlib/ui/Dialogs.h"

// ------------------------------------------------------------ message boxes
// Every message function answers the system box's result: IDOK 1, IDCANCEL 2,
// IDABORT 3, IDRETRY 4, IDIGNORE 5, IDYES 6, IDNO 7 (the same numbers as the
// modal results), 0 when no box could be made. An empty caption takes the
// default caption of the dialog type ("Warning", "Error", "Information",
// "Confirm"; none for mtCustom).

// The system box style (icon, buttons, help) for a dialog type and buttons.
UINT sMessageBoxStyle(TMsgDlgType DlgType, TMsgDlgButtons Buttons);
// The caption shown for a dialog type when the caller gives none.
const AnsiString& sMessageDlgCaption(TMsgDlgType DlgType);

// The one that works: the box at screen point X, Y (-1: system placement).
// HelpFileName is not used.
int sMessageDlgPosHelp(const AnsiString& Caption, const AnsiString& Msg, TMsgDlgType DlgType,
                       TMsgDlgButtons Buttons, int HelpCtx, int X, int Y, const AnsiString& HelpFileName);
int sMessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
int sMessageDlg(const AnsiString& Caption, const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                int HelpCtx);
int sMessageDlgPos(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y);
int sMessageDlgPos(const AnsiString& Caption, const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                   int HelpCtx, int X, int Y);
// The text with an OK button, no icon and (unless given) no caption.
void sShowMessagePos(const AnsiString& Msg, int X, int Y);
void sShowMessagePos(const AnsiString& Caption, const AnsiString& Msg, int X, int Y);
void sShowMessage(const AnsiString& Msg);
void sShowMessage(const AnsiString& Caption, const AnsiString& Msg);
void sShowMessageFmt(const AnsiString& Fmt, std::initializer_list<TVarRec> Args);
void sShowMessageFmt(const AnsiString& Caption, const AnsiString& Fmt, std::initializer_list<TVarRec> Args);
// The class library's message dialog form (not shown; the caller owns it).
// Caption is not used.
TForm* sCreateMessageDialog(const AnsiString& Caption, const AnsiString& Msg, TMsgDlgType DlgType,
                            TMsgDlgButtons Buttons);

// ------------------------------------------------------------ input

// Asks for one line of text; Value changes only when the user confirms.
bool sInputQuery(const AnsiString& ACaption, const AnsiString& APrompt, AnsiString& Value);
// The text entered, or ADefault when the user cancels.
AnsiString sInputBox(const AnsiString& ACaption, const AnsiString& APrompt, const AnsiString& ADefault);

// ------------------------------------------------------------ files and folders

DK_ENUM(TsZipShowing, zsAsFolder, zsAsFile);

class TsOpenDialog : public TOpenDialog {
  DK_CLASS(TsOpenDialog, TOpenDialog)
 public:
  explicit TsOpenDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}
  // How archives are offered (kept for the skinned file-name edit).
  TsZipShowing ZipShowing = zsAsFolder;
};

class TsSaveDialog : public TSaveDialog {
  DK_CLASS(TsSaveDialog, TSaveDialog)
 public:
  using TSaveDialog::TSaveDialog;
};

// The system's folder browser (true and the folder in Directory when the
// user confirmed).
bool sSelectDirectory(const AnsiString& Caption, const AnsiString& Root, AnsiString& Directory);
