// Dialogs: message dialogs, folder browsing and the system's common dialogs
// (open and save file, font, colour).
//
// MessageDlg shows a form of class "TMessageForm" with an icon, the text and
// a row of buttons and returns the modal result of the button pressed
// (mrYes, mrNo, mrOk ...; mrCancel when closed otherwise). Captions and
// button texts are resource strings, so a translation can replace them.
#pragma once

#include <memory>

#include "classlib/ui/Forms.h"

DK_ENUM(TMsgDlgType, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom);
DK_ENUM(TMsgDlgBtn, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp);
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

inline constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbYesAllNoAllCancel{mbYes, mbYesToAll, mbNo, mbNoToAll, mbCancel};
inline constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};
inline constexpr TMsgDlgButtons mbAbortIgnore{mbAbort, mbIgnore};

// The dialog form, not shown yet (the caller owns it). Its buttons are named
// after the button kinds ("Yes", "No", "OK", "Cancel" ...), the text label is
// "Message".
TForm* CreateMessageDialog(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons);
int MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
// At a screen position (-1: centred on the screen).
int MessageDlgPos(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y);
// The text with an OK button under the application's title.
void ShowMessage(const AnsiString& Msg);
void ShowMessageFmt(const AnsiString& Msg, std::initializer_list<TVarRec> Params);
void ShowMessagePos(const AnsiString& Msg, int X, int Y);

// A small dialog asking for one line of text: Value is shown first and takes
// the text when the user confirms (OK); true then.
bool InputQuery(const AnsiString& ACaption, const AnsiString& APrompt, AnsiString& Value);
// The text entered, or ADefault when the user cancels.
AnsiString InputBox(const AnsiString& ACaption, const AnsiString& APrompt, const AnsiString& ADefault);

// Lets the user pick a folder (the system's folder browser) below Root (empty:
// the whole shell namespace), starting at Directory; true and the folder in
// Directory when the user confirmed.
bool SelectDirectory(const AnsiString& Caption, const AnsiString& Root, AnsiString& Directory);

// ------------------------------------------------------------ common dialogs

class TCommonDialog : public TComponent {
  DK_CLASS(TCommonDialog, TComponent)
 public:
  explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}
  // Shows the dialog; true when the user confirmed.
  virtual bool Execute() = 0;
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value) { FCtl3D = Value; }
  Integer HelpContext() const { return FHelpContext; }
  void SetHelpContext(Integer Value) { FHelpContext = Value; }
  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

 protected:
  virtual void DoShow();
  virtual void DoClose();
  // The window that owns the dialog while it runs.
  HWND OwnerWindow() const;

 private:
  bool FCtl3D = true;
  Integer FHelpContext = 0;
};

DK_ENUM(TOpenOption, ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
        ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofShareAware,
        ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog,
        ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing, ofDontAddToRecent, ofForceShowHidden);
using TOpenOptions = TSet<TOpenOption>;

class TOpenDialog : public TCommonDialog {
  DK_CLASS(TOpenDialog, TCommonDialog)
 public:
  explicit TOpenDialog(TComponent* AOwner);
  ~TOpenDialog() override;
  bool Execute() override;

  const AnsiString& FileName() const { return FFileName; }
  void SetFileName(const AnsiString& Value) { FFileName = Value; }
  // The names chosen (several with ofAllowMultiSelect).
  TStrings* Files() const { return FFiles.get(); }
  // "Text files (*.txt)|*.txt|All files (*.*)|*.*"
  const AnsiString& Filter() const { return FFilter; }
  void SetFilter(const AnsiString& Value) { FFilter = Value; }
  Integer FilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(Integer Value) { FFilterIndex = Value; }
  const AnsiString& InitialDir() const { return FInitialDir; }
  void SetInitialDir(const AnsiString& Value) { FInitialDir = Value; }
  const AnsiString& Title() const { return FTitle; }
  void SetTitle(const AnsiString& Value) { FTitle = Value; }
  const AnsiString& DefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const AnsiString& Value) { FDefaultExt = Value; }
  TOpenOptions Options() const { return FOptions; }
  void SetOptions(TOpenOptions Value) { FOptions = Value; }

 protected:
  // Runs the system dialog (Save: the save dialog).
  bool DoExecute(bool Save);

 private:
  AnsiString FFileName, FFilter, FInitialDir, FTitle, FDefaultExt;
  Integer FFilterIndex = 1;
  TOpenOptions FOptions{ofHideReadOnly, ofEnableSizing};
  std::unique_ptr<TStringList> FFiles;
};

class TSaveDialog : public TOpenDialog {
  DK_CLASS(TSaveDialog, TOpenDialog)
 public:
  using TOpenDialog::TOpenDialog;
  bool Execute() override;
};

DK_ENUM(TFontDialogOption, fdAnsiOnly, fdTrueTypeOnly, fdEffects, fdFixedPitchOnly, fdForceFontExist,
        fdNoFaceSel, fdNoOEMFonts, fdNoSimulations, fdNoSizeSel, fdNoStyleSel, fdNoVectorFonts, fdShowHelp,
        fdWysiwyg, fdLimitSize, fdScalableOnly, fdApplyButton);
using TFontDialogOptions = TSet<TFontDialogOption>;

class TFontDialog : public TCommonDialog {
  DK_CLASS(TFontDialog, TCommonDialog)
 public:
  explicit TFontDialog(TComponent* AOwner);
  ~TFontDialog() override;
  bool Execute() override;
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TFontDialogOptions Options() const { return FOptions; }
  void SetOptions(TFontDialogOptions Value) { FOptions = Value; }
  Integer MinFontSize() const { return FMinFontSize; }
  void SetMinFontSize(Integer Value) { FMinFontSize = Value; }
  Integer MaxFontSize() const { return FMaxFontSize; }
  void SetMaxFontSize(Integer Value) { FMaxFontSize = Value; }

 private:
  std::unique_ptr<TFont> FFont;
  TFontDialogOptions FOptions{fdEffects};
  Integer FMinFontSize = 0, FMaxFontSize = 0;
};

DK_ENUM(TColorDialogOption, cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor);
using TColorDialogOptions = TSet<TColorDialogOption>;

class TColorDialog : public TCommonDialog {
  DK_CLASS(TColorDialog, TCommonDialog)
 public:
  explicit TColorDialog(TComponent* AOwner);
  ~TColorDialog() override;
  bool Execute() override;
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  // Lines "ColorA=RRGGBB" .. "ColorP=RRGGBB" (hex, blue in the high byte as TColor).
  TStrings* CustomColors() const { return FCustomColors.get(); }
  void SetCustomColors(TStrings* Value) { FCustomColors->Assign(Value); }
  TColorDialogOptions Options() const { return FOptions; }
  void SetOptions(TColorDialogOptions Value) { FOptions = Value; }

 private:
  TColor FColor = clBlack;
  std::unique_ptr<TStringList> FCustomColors;
  TColorDialogOptions FOptions;
};

DK_LINK_UNIT(Dialogs)
