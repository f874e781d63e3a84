// Message dialogs on the class library's own form; folder, file, font and
// colour dialogs on the system's.
#include "classlib/ui/Dialogs.h"

#include "classlib/ui/PaintScope.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "classlib/ui/StdCtrls.h"

DK_UNIT(Dialogs);

DK_RESOURCESTRING(SMsgDlgWarning, "Warning");
DK_RESOURCESTRING(SMsgDlgError, "Error");
DK_RESOURCESTRING(SMsgDlgInformation, "Information");
DK_RESOURCESTRING(SMsgDlgConfirm, "Confirm");
DK_RESOURCESTRING(SMsgDlgYes, "&Yes");
DK_RESOURCESTRING(SMsgDlgNo, "&No");
DK_RESOURCESTRING(SMsgDlgOK, "OK");
DK_RESOURCESTRING(SMsgDlgCancel, "Cancel");
DK_RESOURCESTRING(SMsgDlgHelp, "&Help");
DK_RESOURCESTRING(SMsgDlgAbort, "&Abort");
DK_RESOURCESTRING(SMsgDlgRetry, "&Retry");
DK_RESOURCESTRING(SMsgDlgIgnore, "&Ignore");
DK_RESOURCESTRING(SMsgDlgAll, "&All");
DK_RESOURCESTRING(SMsgDlgNoToAll, "N&o to All");
DK_RESOURCESTRING(SMsgDlgYesToAll, "Yes to &All");

namespace {

// The class library's message dialog form. It lives in a namespace of its
// own: a program may well have a form class of the same name.
namespace msgdlg {

class TMessageForm : public TForm {
  DK_CLASS(TMessageForm, TForm)
 public:
  TMessageForm(TComponent* AOwner, int Dummy) : TForm(AOwner, Dummy) {}
};

// The dialog's icon: a system icon drawn by the form.
class TMessageIcon : public TGraphicControl {
  DK_CLASS(TMessageIcon, TGraphicControl)
 public:
  explicit TMessageIcon(TComponent* AOwner) : TGraphicControl(AOwner) {}
  HICON Icon = nullptr;

 protected:
  void Paint() override {
    if (Icon) DrawIconEx(Canvas()->Handle(), 0, 0, Icon, Width(), Height(), 0, nullptr, DI_NORMAL);
  }
};

}  // namespace msgdlg

const TResStringRec* const kCaptions[] = {&SMsgDlgWarning, &SMsgDlgError, &SMsgDlgInformation, &SMsgDlgConfirm,
                                          nullptr};
const wchar_t* const kIcons[] = {IDI_WARNING, IDI_ERROR, IDI_INFORMATION, IDI_QUESTION, nullptr};
const TResStringRec* const kButtonCaptions[] = {&SMsgDlgYes,    &SMsgDlgNo,    &SMsgDlgOK,     &SMsgDlgCancel,
                                                &SMsgDlgAbort,  &SMsgDlgRetry, &SMsgDlgIgnore, &SMsgDlgAll,
                                                &SMsgDlgNoToAll, &SMsgDlgYesToAll, &SMsgDlgHelp};
const char* const kButtonNames[] = {"Yes",   "No",  "OK",      "Cancel",   "Abort", "Retry",
                                    "Ignore", "All", "NoToAll", "YesToAll", "Help"};
const TModalResult kResults[] = {mrYes, mrNo, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore, mrAll, mrNoToAll,
                                 mrYesToAll, mrNone};

TRect TextRectFor(HDC DC, TFont* Font, const AnsiString& Text, int MaxWidth, UINT Flags) {
  TRect r = Rect(0, 0, MaxWidth, 0);
  DrawControlText(DC, Text.empty() ? AnsiString(" ") : Text, r, Flags | DT_CALCRECT, Font, true);
  return r;
}

}  // namespace

TForm* CreateMessageDialog(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) {
  auto* form = Create<msgdlg::TMessageForm>(Application, 0);
  try {
    form->SetBorderStyle(bsDialog);
    form->SetPosition(poScreenCenter);
    form->SetCaption(kCaptions[DlgType] ? LoadResString(kCaptions[DlgType]) : Application->Title());
    // A message font of the system when it gives one.
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
      HFONT f = CreateFontIndirectW(&ncm.lfMessageFont);
      form->Font()->SetHandle(f);
      DeleteObject(f);
    }

    TWindowDC screen;
    HDC dc = screen.Handle();
    TRect unit = TextRectFor(dc, form->Font(), "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 1000,
                             DT_SINGLELINE | DT_NOPREFIX);
    int avgChar = std::max(1, unit.Width() / 52);
    int hMargin = avgChar * 2, vMargin = unit.Height();
    int hSpacing = avgChar * 3 / 2, vSpacing = unit.Height() / 2;
    int buttonWidth = std::max(75, avgChar * 12), buttonHeight = std::max(25, unit.Height() * 7 / 4);
    int buttonSpacing = avgChar;
    for (int b = mbYes; b <= mbHelp; ++b) {
      if (!Buttons.Contains(static_cast<TMsgDlgBtn>(b))) continue;
      TRect r = TextRectFor(dc, form->Font(), LoadResString(kButtonCaptions[b]), 1000, DT_SINGLELINE);
      buttonWidth = std::max(buttonWidth, r.Width() + avgChar * 2);
    }
    TRect text = TextRectFor(dc, form->Font(), Msg, GetSystemMetrics(SM_CXSCREEN) / 2,
                             DT_EXPANDTABS | DT_WORDBREAK | DT_NOPREFIX);
  
    int iconSize = 0, textLeft = hMargin;
    if (kIcons[DlgType]) {
      iconSize = GetSystemMetrics(SM_CXICON);
      auto* icon = Create<msgdlg::TMessageIcon>(form);
      icon->SetName("Image");
      icon->Icon = LoadIconW(nullptr, kIcons[DlgType]);
      icon->SetBounds(hMargin, vMargin, iconSize, iconSize);
      static_cast<TControl*>(icon)->SetParent(form);
      textLeft += iconSize + hSpacing;
    }

    auto* label = Create<TLabel>(form);
    label->SetName("Message");
    label->SetShowAccelChar(false);
    label->SetWordWrap(true);
    label->SetAutoSize(false);
    label->SetBounds(textLeft, vMargin, text.Width() + 2, text.Height());
    static_cast<TControl*>(label)->SetParent(form);
    label->SetCaption(Msg);

    int count = 0;
    for (int b = mbYes; b <= mbHelp; ++b)
      if (Buttons.Contains(static_cast<TMsgDlgBtn>(b))) ++count;
    int buttonsWidth = count * buttonWidth + (count > 0 ? (count - 1) * buttonSpacing : 0);
    int contentHeight = std::max(iconSize, text.Height());
    int clientWidth = std::max(textLeft + text.Width() + hMargin, buttonsWidth + 2 * hMargin);
    int clientHeight = vMargin + contentHeight + vSpacing + (count ? buttonHeight + vMargin : 0);
    form->SetClientWidth(clientWidth);
    form->SetClientHeight(clientHeight);

    // The default button: OK or Yes (else the first); the cancel button:
    // Cancel, else No, else a lone OK.
    TMsgDlgBtn defaultBtn = Buttons.Contains(mbOK) ? mbOK : Buttons.Contains(mbYes) ? mbYes : mbHelp;
    TMsgDlgBtn cancelBtn = Buttons.Contains(mbCancel) ? mbCancel
                           : Buttons.Contains(mbNo)   ? mbNo
                                                      : mbOK;
    int x = (clientWidth - buttonsWidth) / 2;
    bool first = true;
    for (int b = mbYes; b <= mbHelp; ++b) {
      if (!Buttons.Contains(static_cast<TMsgDlgBtn>(b))) continue;
      auto* button = Create<TButton>(form);
      button->SetName(kButtonNames[b]);
      button->SetCaption(LoadResString(kButtonCaptions[b]));
      button->SetModalResult(kResults[b]);
      bool isDefault = b == defaultBtn || (defaultBtn == mbHelp && first);
      if (isDefault) button->SetDefault(true);
      if (b == cancelBtn) button->SetCancel(true);
      button->SetBounds(x, vMargin + contentHeight + vSpacing, buttonWidth, buttonHeight);
      static_cast<TControl*>(button)->SetParent(form);
      if (isDefault) form->SetActiveControl(button);
      x += buttonWidth + buttonSpacing;
      first = false;
    }
  } catch (...) {
    form->Free();
    throw;
  }
  return form;
}

int MessageDlgPos(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y) {
  TForm* form = CreateMessageDialog(Msg, DlgType, Buttons);
  int result;
  try {
    if (X >= 0) form->SetLeft(X);
    if (Y >= 0) form->SetTop(Y);
    if (X >= 0 || Y >= 0) form->SetPosition(poDesigned);
    result = form->ShowModal();
  } catch (...) {
    form->Free();
    throw;
  }
  form->Free();
  return result;
}

int MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
  return MessageDlgPos(Msg, DlgType, Buttons, HelpCtx, -1, -1);
}

void ShowMessagePos(const AnsiString& Msg, int X, int Y) { MessageDlgPos(Msg, mtCustom, {mbOK}, 0, X, Y); }

void ShowMessage(const AnsiString& Msg) { ShowMessagePos(Msg, -1, -1); }

void ShowMessageFmt(const AnsiString& Msg, std::initializer_list<TVarRec> Params) { ShowMessage(Format(Msg, Params)); }

// ---------------------------------------------------------------- InputQuery

namespace {
void UseMessageFont(TForm* Form) {
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
    HFONT f = CreateFontIndirectW(&ncm.lfMessageFont);
    Form->Font()->SetHandle(f);
    DeleteObject(f);
  }
}
}  // namespace

bool InputQuery(const AnsiString& ACaption, const AnsiString& APrompt, AnsiString& Value) {
  auto* form = Create<TForm>(Application, 0);
  bool result = false;
  try {
    form->SetBorderStyle(bsDialog);
    form->SetPosition(poScreenCenter);
    form->SetCaption(ACaption);
    UseMessageFont(form);
    TWindowDC screen;
    HDC dc = screen.Handle();
    TRect unit = TextRectFor(dc, form->Font(), "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 1000,
                             DT_SINGLELINE | DT_NOPREFIX);
    TRect prompt = TextRectFor(dc, form->Font(), APrompt, 1000, DT_SINGLELINE);
      int avgChar = std::max(1, unit.Width() / 52), lineHeight = unit.Height();
    int margin = avgChar * 2;
    int width = std::max(avgChar * 45, prompt.Width());
    auto* label = Create<TLabel>(form);
    label->SetName("Prompt");
    label->SetBounds(margin, lineHeight / 2, prompt.Width(), prompt.Height());
    static_cast<TControl*>(label)->SetParent(form);
    label->SetCaption(APrompt);
    auto* edit = Create<TEdit>(form);
    edit->SetName("Edit");
    edit->SetBounds(margin, lineHeight / 2 + prompt.Height() + 4, width, lineHeight + 8);
    edit->SetMaxLength(255);
    edit->SetText(Value);
    static_cast<TControl*>(edit)->SetParent(form);
    label->SetFocusControl(edit);
    int buttonWidth = std::max(75, avgChar * 12), buttonHeight = std::max(25, lineHeight * 7 / 4);
    int top = edit->Top() + edit->Height() + lineHeight;
    auto* ok = Create<TButton>(form);
    ok->SetName("OK");
    ok->SetCaption(LoadResString(&SMsgDlgOK));
    ok->SetModalResult(mrOk);
    ok->SetDefault(true);
    ok->SetBounds(margin + width / 2 - buttonWidth - avgChar / 2, top, buttonWidth, buttonHeight);
    static_cast<TControl*>(ok)->SetParent(form);
    auto* cancel = Create<TButton>(form);
    cancel->SetName("Cancel");
    cancel->SetCaption(LoadResString(&SMsgDlgCancel));
    cancel->SetModalResult(mrCancel);
    cancel->SetCancel(true);
    cancel->SetBounds(margin + width / 2 + avgChar / 2, top, buttonWidth, buttonHeight);
    static_cast<TControl*>(cancel)->SetParent(form);
    form->SetClientWidth(width + 2 * margin);
    form->SetClientHeight(top + buttonHeight + lineHeight);
    form->SetActiveControl(edit);
    if (form->ShowModal() == mrOk) {
      Value = edit->Text();
      result = true;
    }
  } catch (...) {
    form->Free();
    throw;
  }
  form->Free();
  return result;
}

AnsiString InputBox(const AnsiString& ACaption, const AnsiString& APrompt, const AnsiString& ADefault) {
  AnsiString value = ADefault;
  InputQuery(ACaption, APrompt, value);
  return value;
}

// ------------------------------------------------------------ SelectDirectory

namespace {

int CALLBACK BrowseCallback(HWND Wnd, UINT Msg, LPARAM Param, LPARAM Data) {
  if (Msg == BFFM_INITIALIZED && Data) SendMessageW(Wnd, BFFM_SETSELECTIONW, TRUE, Data);
  return 0;
}

// Disables the program's other windows while a system dialog runs and gives
// the activation back afterwards.
class TModalScope {
 public:
  TModalScope() : FActive(GetActiveWindow()), FDisabled(DisableTaskWindows(nullptr)) {}
  ~TModalScope() {
    EnableTaskWindows(FDisabled);
    if (FActive && IsWindow(FActive)) SetActiveWindow(FActive);
  }
  HWND Active() const { return FActive; }
  TModalScope(const TModalScope&) = delete;
  TModalScope& operator=(const TModalScope&) = delete;

 private:
  HWND FActive;
  std::vector<HWND> FDisabled;
};

HWND DialogOwner() {
  HWND active = GetActiveWindow();
  if (active) return active;
  return Application ? Application->Handle() : nullptr;
}

}  // namespace

bool SelectDirectory(const AnsiString& Caption, const AnsiString& Root, AnsiString& Directory) {
  HRESULT co = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  bool result = false;
  PIDLIST_ABSOLUTE rootList = nullptr;
  if (!Root.empty()) {
    std::wstring r = winapi::W(Root);
    SHParseDisplayName(r.c_str(), nullptr, &rootList, 0, nullptr);
  }
  std::wstring title = winapi::W(Caption), start = winapi::W(Directory);
  wchar_t display[MAX_PATH] = {};
  BROWSEINFOW bi{};
  bi.hwndOwner = DialogOwner();
  bi.pidlRoot = rootList;
  bi.pszDisplayName = display;
  bi.lpszTitle = title.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS;
  bi.lpfn = BrowseCallback;
  bi.lParam = Directory.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
  PIDLIST_ABSOLUTE chosen;
  {
    TModalScope scope;
    chosen = SHBrowseForFolderW(&bi);
  }
  if (chosen) {
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(chosen, path)) {
      Directory = winapi::A(path);
      result = true;
    }
    CoTaskMemFree(chosen);
  }
  if (rootList) CoTaskMemFree(rootList);
  if (SUCCEEDED(co)) CoUninitialize();
  return result;
}

// ------------------------------------------------------------- TCommonDialog

void TCommonDialog::DoShow() {
  if (OnShow) OnShow(this);
}

void TCommonDialog::DoClose() {
  if (OnClose) OnClose(this);
}

HWND TCommonDialog::OwnerWindow() const { return DialogOwner(); }

DK_PUBLISH(TCommonDialog) {
  P.Property("Ctl3D", &TCommonDialog::Ctl3D, &TCommonDialog::SetCtl3D).Default(true);
  P.Property("HelpContext", &TCommonDialog::HelpContext, &TCommonDialog::SetHelpContext).Default(0);
  P.Property("OnShow", &TCommonDialog::OnShow);
  P.Property("OnClose", &TCommonDialog::OnClose);
}

// --------------------------------------------------------------- TOpenDialog

TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFiles(std::make_unique<TStringList>()) {}
TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::DoExecute(bool Save) {
  // "Name|*.ext|..." becomes the system's pairs of zero-terminated texts.
  std::wstring filter = winapi::W(FFilter);
  for (auto& c : filter)
    if (c == L'|') c = L'\0';
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  std::vector<wchar_t> file(64 * 1024, L'\0');
  std::wstring initial = winapi::W(FFileName);
  std::copy(initial.begin(), initial.begin() + std::min(initial.size(), file.size() - 1), file.begin());
  std::wstring dir = winapi::W(FInitialDir), title = winapi::W(FTitle), ext = winapi::W(FDefaultExt);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = OwnerWindow();
  ofn.lpstrFilter = FFilter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(FFilterIndex);
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = FInitialDir.empty() ? nullptr : dir.c_str();
  ofn.lpstrTitle = FTitle.empty() ? nullptr : title.c_str();
  ofn.lpstrDefExt = FDefaultExt.empty() ? nullptr : ext.c_str();
  static const std::pair<TOpenOption, DWORD> kFlags[] = {
      {ofReadOnly, OFN_READONLY},           {ofOverwritePrompt, OFN_OVERWRITEPROMPT},
      {ofHideReadOnly, OFN_HIDEREADONLY},   {ofNoChangeDir, OFN_NOCHANGEDIR},
      {ofShowHelp, OFN_SHOWHELP},           {ofNoValidate, OFN_NOVALIDATE},
      {ofAllowMultiSelect, OFN_ALLOWMULTISELECT}, {ofPathMustExist, OFN_PATHMUSTEXIST},
      {ofFileMustExist, OFN_FILEMUSTEXIST}, {ofCreatePrompt, OFN_CREATEPROMPT},
      {ofShareAware, OFN_SHAREAWARE},       {ofNoReadOnlyReturn, OFN_NOREADONLYRETURN},
      {ofNoTestFileCreate, OFN_NOTESTFILECREATE}, {ofNoNetworkButton, OFN_NONETWORKBUTTON},
      {ofNoDereferenceLinks, OFN_NODEREFERENCELINKS}, {ofEnableSizing, OFN_ENABLESIZING},
      {ofDontAddToRecent, OFN_DONTADDTORECENT}, {ofForceShowHidden, OFN_FORCESHOWHIDDEN}};
  ofn.Flags = OFN_EXPLORER;
  for (const auto& f : kFlags)
    if (FOptions.Contains(f.first)) ofn.Flags |= f.second;

  DoShow();
  BOOL ok;
  {
    TModalScope scope;
    ok = Save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  }
  DoClose();
  if (!ok) return false;
  FFilterIndex = static_cast<Integer>(ofn.nFilterIndex);
  if (ofn.Flags & OFN_READONLY)
    FOptions.Include(ofReadOnly);
  else
    FOptions.Exclude(ofReadOnly);
  FFiles->Clear();
  // Several names: the folder, then the names, each zero-terminated.
  const wchar_t* p = file.data();
  std::wstring first = p;
  p += first.size() + 1;
  if (FOptions.Contains(ofAllowMultiSelect) && *p) {
    std::wstring folder = first;
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    while (*p) {
      std::wstring name = p;
      FFiles->Add(winapi::A(folder + name));
      p += name.size() + 1;
    }
    FFileName = FFiles->Strings(0);
  } else {
    FFileName = winapi::A(first);
    FFiles->Add(FFileName);
  }
  return true;
}

bool TOpenDialog::Execute() { return DoExecute(false); }

bool TSaveDialog::Execute() { return DoExecute(true); }

DK_PUBLISH(TOpenDialog) {
  P.Property("DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt);
  P.Property("FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName);
  P.Property("Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter);
  P.Property("FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex).Default(1);
  P.Property("InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir);
  P.Property("Options", &TOpenDialog::Options, &TOpenDialog::SetOptions)
      .Default(TOpenOptions{ofHideReadOnly, ofEnableSizing});
  P.Property("Title", &TOpenDialog::Title, &TOpenDialog::SetTitle);
}
DK_PUBLISH(TSaveDialog) {}

// --------------------------------------------------------------- TFontDialog

TFontDialog::TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFont(std::make_unique<TFont>()) {}
TFontDialog::~TFontDialog() = default;

bool TFontDialog::Execute() {
  LOGFONTW lf{};
  GetObjectW(FFont->Handle(), sizeof lf, &lf);
  CHOOSEFONTW cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = OwnerWindow();
  cf.lpLogFont = &lf;
  cf.rgbColors = static_cast<COLORREF>(ColorToRGB(FFont->Color()));
  cf.Flags = CF_INITTOLOGFONTSTRUCT | CF_BOTH;
  static const std::pair<TFontDialogOption, DWORD> kFlags[] = {
      {fdAnsiOnly, CF_ANSIONLY},         {fdTrueTypeOnly, CF_TTONLY},       {fdEffects, CF_EFFECTS},
      {fdFixedPitchOnly, CF_FIXEDPITCHONLY}, {fdForceFontExist, CF_FORCEFONTEXIST},
      {fdNoFaceSel, CF_NOFACESEL},       {fdNoOEMFonts, CF_NOOEMFONTS},     {fdNoSimulations, CF_NOSIMULATIONS},
      {fdNoSizeSel, CF_NOSIZESEL},       {fdNoStyleSel, CF_NOSTYLESEL},     {fdNoVectorFonts, CF_NOVECTORFONTS},
      {fdShowHelp, CF_SHOWHELP},         {fdScalableOnly, CF_SCALABLEONLY}, {fdApplyButton, CF_APPLY}};
  for (const auto& f : kFlags)
    if (FOptions.Contains(f.first)) cf.Flags |= f.second;
  if (FOptions.Contains(fdLimitSize) && FMaxFontSize > 0) {
    cf.Flags |= CF_LIMITSIZE;
    cf.nSizeMin = FMinFontSize;
    cf.nSizeMax = FMaxFontSize;
  }
  DoShow();
  BOOL ok;
  {
    TModalScope scope;
    ok = ChooseFontW(&cf);
  }
  DoClose();
  if (!ok) return false;
  HFONT f = CreateFontIndirectW(&lf);
  FFont->SetHandle(f);
  DeleteObject(f);
  FFont->SetColor(static_cast<TColor>(cf.rgbColors));
  return true;
}

DK_PUBLISH(TFontDialog) {
  P.Property("Font", &TFontDialog::Font, &TFontDialog::SetFont);
  P.Property("MaxFontSize", &TFontDialog::MaxFontSize, &TFontDialog::SetMaxFontSize).Default(0);
  P.Property("MinFontSize", &TFontDialog::MinFontSize, &TFontDialog::SetMinFontSize).Default(0);
  P.Property("Options", &TFontDialog::Options, &TFontDialog::SetOptions).Default(TFontDialogOptions{fdEffects});
}

// -------------------------------------------------------------- TColorDialog

TColorDialog::TColorDialog(TComponent* AOwner)
    : TCommonDialog(AOwner), FCustomColors(std::make_unique<TStringList>()) {}
TColorDialog::~TColorDialog() = default;

bool TColorDialog::Execute() {
  COLORREF custom[16];
  for (int i = 0; i < 16; ++i) {
    custom[i] = 0xFFFFFF;
    AnsiString v = FCustomColors->Values("Color" + AnsiString(1, static_cast<char>('A' + i)));
    Integer c;
    if (!v.empty() && TryStrToInt("$" + v, c)) custom[i] = static_cast<COLORREF>(c);
  }
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = OwnerWindow();
  cc.rgbResult = static_cast<COLORREF>(ColorToRGB(FColor));
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT;
  if (FOptions.Contains(cdFullOpen)) cc.Flags |= CC_FULLOPEN;
  if (FOptions.Contains(cdPreventFullOpen)) cc.Flags |= CC_PREVENTFULLOPEN;
  if (FOptions.Contains(cdShowHelp)) cc.Flags |= CC_SHOWHELP;
  if (FOptions.Contains(cdSolidColor)) cc.Flags |= CC_SOLIDCOLOR;
  if (FOptions.Contains(cdAnyColor)) cc.Flags |= CC_ANYCOLOR;
  DoShow();
  BOOL ok;
  {
    TModalScope scope;
    ok = ChooseColorW(&cc);
  }
  DoClose();
  // The custom colours come back even when the user cancels.
  FCustomColors->Clear();
  for (int i = 0; i < 16; ++i)
    FCustomColors->Add("Color" + AnsiString(1, static_cast<char>('A' + i)) + "=" + IntToHex(custom[i] & 0xFFFFFF, 6));
  if (!ok) return false;
  FColor = static_cast<TColor>(cc.rgbResult);
  return true;
}

DK_PUBLISH(TColorDialog) {
  P.Property("Color", &TColorDialog::Color, &TColorDialog::SetColor).Type(TypeInfoTColor()).Default(clBlack);
  P.Property("CustomColors", &TColorDialog::CustomColors, &TColorDialog::SetCustomColors);
  P.Property("Options", &TColorDialog::Options, &TColorDialog::SetOptions).Default(TColorDialogOptions());
}
