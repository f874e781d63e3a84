// Forms, the application object, the screen and the mouse.
//
// The application owns a hidden top-level window (class "TApplication") that
// owns every form's window and carries the taskbar button. Forms are made
// from their form resource: RCDATA named after the form's class in upper
// case, read with the form as root (TForm1(owner) -> resource "TFORM1"; the
// resources of ancestor form classes are read first). A form class without a
// resource raises EResNotFound; the (owner, 0) constructor makes an empty form.
// Events in the resource are bound by name to the methods the form class
// publishes; the components are found by name (FindComponent).
//
//   class TForm1 : public TForm {
//     DK_CLASS(TForm1, TForm)
//    public:
//     using TForm::TForm;
//     void Button1Click(TObject* Sender);
//   };
//   DK_PUBLISH(TForm1) { P.Method("Button1Click", &TForm1::Button1Click); }
//
//   Application->Initialize();
//   Application->CreateForm(Form1);        // the first form becomes MainForm
//   Application->Run();
//
// Closing the main form ends Run. The forms live until the application
// object's components are destroyed (Application->DestroyComponents()).
#pragma once

#include <functional>
#include <vector>

#include "classlib/ui/Controls.h"

class TMainMenu;  // Menus.h

DK_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize);
DK_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp);
using TBorderIcons = TSet<TBorderIcon>;
DK_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
        poMainFormCenter, poOwnerFormCenter);
DK_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop);
DK_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized);
DK_ENUM(TFormStateE, fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated);
using TFormState = TSet<TFormStateE>;

using TModalResult = Integer;
constexpr TModalResult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY,
                       mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO, mrAll = mrNo + 1,
                       mrNoToAll = mrAll + 1, mrYesToAll = mrNoToAll + 1;

using TCloseEvent = TClosure<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TClosure<void(TObject* Sender, bool& CanClose)>;
using TExceptionEvent = TClosure<void(TObject* Sender, Exception* E)>;
using TIdleEvent = TClosure<void(TObject* Sender, bool& Done)>;
using TMessageEvent = TClosure<void(MSG& Msg, bool& Handled)>;
// A hook of the application window: true when it handled the message.
using TWindowHook = TClosure<bool(TMessage& Message)>;

// What a form needs of its main menu; Menus.cpp fills these in.
struct TMainMenuHooks {
  HMENU (*Handle)(TMainMenu* Menu) = nullptr;             // the menu bar's HMENU
  bool (*DispatchCommand)(TMainMenu* Menu, Word Id) = nullptr;  // WM_COMMAND of a menu item
  bool (*IsShortCut)(TMainMenu* Menu, TWMKey& Message) = nullptr;
  void (*SetWindowHandle)(TMainMenu* Menu, HWND Wnd) = nullptr;  // the form's window (0 when it goes)
  // WM_MEASUREITEM / WM_DRAWITEM of an owner-drawn menu item (true: served).
  bool (*OwnerDrawMessage)(TMessage& Message) = nullptr;
};
extern TMainMenuHooks MainMenuHooks;

// ------------------------------------------------------------------ TCustomForm

class TCustomForm : public TWinControl {
  DK_CLASS(TCustomForm, TWinControl)
  DK_MESSAGES(TCustomForm)
 public:
  // Made from the form resource of the class (EResNotFound when there is none).
  explicit TCustomForm(TComponent* AOwner);
  // An empty form (no resource).
  TCustomForm(TComponent* AOwner, int Dummy);
  ~TCustomForm() override;
  void Construct() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;

  void Show();
  void Hide();
  void SetVisible(bool Value) override;
  void Close();
  // Frees the form once the messages now queued have been handled.
  void Release();
  virtual int ShowModal();
  virtual bool CloseQuery();
  void SetFocus() override;
  void FocusControl(TWinControl* Control);
  // The focus moved to Control (called by the control); false when the move was refused.
  bool SetFocusedControl(TWinControl* Control);
  void MouseWheelHandler(TMessage& Message) override;
  void DefocusControl(TWinControl* Control, bool Removing);
  bool Active() const { return FActive; }
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* Control);
  TFormState FormState() const { return FFormState; }

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle Value);
  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState Value);
  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* Value);
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  bool Scaled() const { return FScaled; }
  void SetScaled(bool Value) { FScaled = Value; }
  Integer PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(Integer Value) { FPixelsPerInch = Value; }
  TIcon* Icon() const { return FIcon.get(); }
  void SetIcon(TIcon* Value);
  TCanvas* Canvas() const { return FCanvas.get(); }
  // Stored client size (applied to the window).
  Integer GetClientWidth() { return ClientWidth(); }
  Integer GetClientHeight() { return ClientHeight(); }
  void SetClientWidthProp(Integer Value);
  void SetClientHeightProp(Integer Value);
  // Without a window: the client area the window will have (its frame and menu bar left out).
  TRect GetClientRect() override;

  // The form's opacity: with AlphaBlend on its window is layered with the
  // constant alpha AlphaBlendValue; turned off, the window is plain again.
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value);
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value);

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnPaint;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void PaintWindow(HDC DC) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ReadState(TReader* Reader) override;
  virtual void Activate();
  virtual void Deactivate();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& Action);
  virtual void Paint();
  void SetVisibleState(bool Value);
  void ApplyPosition();
  void SetActive(bool Value);
  void SetWindowFocus();

 public:  // message handlers (bound by number)
  void WMActivate(TWMActivate& Message);
  void WMClose(TMessage& Message);
  void WMCommand(TWMCommand& Message);
  void WMInitMenuPopup(TMessage& Message);
  void WMSysCommand(TMessage& Message);
  void WMSize(TWMSize& Message);
  void WMDestroy(TMessage& Message);
  void WMQueryEndSession(TMessage& Message);
  void CMActivate(TMessage& Message);
  void CMDeactivate(TMessage& Message);
  void CMShowingChanged(TMessage& Message);
  void CMDialogKey(TWMKey& Message);
  void CMRelease(TMessage& Message);
  void CMMenuChanged(TMessage& Message);
  void WMMenuDrawItem(TWMDrawItem& Message);
  void WMMenuMeasureItem(TWMMeasureItem& Message);

 private:
  friend class TApplication;
  friend class TScreen;
  bool FCreateNew = false;
  Integer FClientWidthWanted = -1, FClientHeightWanted = -1;  // applied exactly once the window exists
  TFormState FFormState{fsCreating};
  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TPosition FPosition = poDesigned;
  bool FKeyPreview = false;
  TFormStyle FFormStyle = fsNormal;
  TWindowState FWindowState = wsNormal;
  TMainMenu* FMenu = nullptr;
  TModalResult FModalResult = mrNone;
  bool FScaled = true;
  Integer FPixelsPerInch = 96;
  bool FActive = false;
  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  std::unique_ptr<TIcon> FIcon;
  std::unique_ptr<TControlCanvas> FCanvas;
  // the form's opacity
  void SetLayeredAttribs();
  bool FAlphaBlend = false;
  Byte FAlphaBlendValue = 255;
};

class TForm : public TCustomForm {
  DK_CLASS(TForm, TCustomForm)
 public:
  using TCustomForm::TCustomForm;
};

// ---------------------------------------------------------------- TApplication

class TApplication : public TComponent {
  DK_CLASS(TApplication, TComponent)
 public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  void Initialize();
  AnsiString Title() const;
  void SetTitle(const AnsiString& Value);
  // Makes a form of class T into Reference; the first one becomes MainForm.
  template <class T>
  void CreateForm(T*& Reference) {
    Reference = nullptr;
    FPendingReference = [&Reference](TComponent* f) { Reference = static_cast<T*>(f); };
    T* form = nullptr;
    try {
      form = ::Create<T>(this);
    } catch (...) {
      FPendingReference = nullptr;
      Reference = nullptr;
      throw;
    }
    FPendingReference = nullptr;
    Reference = form;
    FormCreated(form);
  }
  void CreateForm(TClass FormClass, void* Reference);
  void Run();
  void Terminate();
  bool Terminated() const { return FTerminated; }
  void ProcessMessages();
  void HandleMessage();
  // Dispatches one message (false when the queue was empty).
  bool ProcessMessage(MSG& Msg);
  void Idle(const MSG& Msg);
  void CancelHint() {}

  // The current exception (inside a catch) to OnException or ShowException.
  void HandleException(TObject* Sender);
  void ShowException(Exception* E);
  TExceptionEvent OnException;
  TIdleEvent OnIdle;
  TMessageEvent OnMessage;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;

  void HookMainWindow(TWindowHook Hook);
  void UnhookMainWindow(TWindowHook Hook);
  void Minimize();
  void Restore();
  void BringToFront();
  // A system message box owned by the application window; the window that was
  // active comes back afterwards (and its form gets OnActivate).
  int MessageBox(const AnsiString& Text, const AnsiString& Caption, UINT Flags = MB_OK);

  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  TCustomForm* MainForm() const { return FMainForm; }
  TIcon* Icon() const { return FIcon.get(); }
  bool Active() const { return FActive; }
  bool ShowMainForm = true;
  // Hint settings (stored values; the hint window comes with the hints).
  bool ShowHint = true;
  TColor HintColor = clInfoBk;
  int HintPause = 500;
  int HintShortPause = 50;
  int HintHidePause = 2500;
  // Number of modal loops running.
  int ModalLevel() const { return FModalLevel; }
  AnsiString ExeName() const;


 private:
  friend class TCustomForm;
  void CreateHandle();
  void WndProc(TMessage& Message);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  bool IsKeyMsg(MSG& Msg);
  bool IsDlgMsg(MSG& Msg);
  void DoMouseIdle();
  void WakeMainThreadHandler(TObject* Sender);

  HWND FHandle = nullptr;
  WNDPROC FObjectInstance = nullptr;
  AnsiString FTitle;
  bool FTerminated = false;
  bool FRunning = false;
  bool FActive = true;
  int FModalLevel = 0;
  TCustomForm* FMainForm = nullptr;
  std::unique_ptr<TIcon> FIcon;
  std::vector<TWindowHook> FHooks;
  TControl* FMouseControl = nullptr;
  // The message loop's idle step looks for the control under the mouse only
  // after messages other than timer ticks and wake-ups.
  bool FMouseCheckDue = true;
  bool FSkipMouseIdle = false;
  std::vector<HWND> FHiddenByMinimize;
  // Set by CreateForm: the form's constructor fills the reference first thing.
  std::function<void(TComponent*)> FPendingReference;
  void FormCreated(TCustomForm* Form);
};

// ---------------------------------------------------------------------- TScreen

class TScreen : public TComponent {
  DK_CLASS(TScreen, TComponent)
 public:
  explicit TScreen(TComponent* AOwner) : TComponent(AOwner) {}
  // Forms, most recently active first (z-order).
  int FormCount() const { return static_cast<int>(FForms.size()); }
  TCustomForm* Forms(int Index) const { return FForms.at(static_cast<size_t>(Index)); }
  int CustomFormCount() const { return FormCount(); }
  TCustomForm* CustomForms(int Index) const { return Forms(Index); }
  TCustomForm* ActiveForm() const { return FActiveForm; }
  TCustomForm* ActiveCustomForm() const { return FActiveForm; }
  TWinControl* ActiveControl() const { return FActiveControl; }
  TCustomForm* FocusedForm() const { return FFocusedForm; }
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  HCURSOR Cursors(TCursor Index);
  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  int PixelsPerInch() const { return 96; }
  // The system's font of menus (read from the system on first use).
  TFont* MenuFont();
  TNotifyEvent OnActiveFormChange;
  TNotifyEvent OnActiveControlChange;

 private:
  friend class TCustomForm;
  friend class TApplication;
  void AddForm(TCustomForm* Form);
  void RemoveForm(TCustomForm* Form);
  void MoveToFront(TCustomForm* Form);
  std::vector<TCustomForm*> FForms;
  TCustomForm* FActiveForm = nullptr;
  TWinControl* FActiveControl = nullptr;
  TCustomForm* FFocusedForm = nullptr;
  TCursor FCursor = crDefault;
  std::unique_ptr<TFont> FMenuFont;
};

class TMouse {
 public:
  TPoint CursorPos() const;
  void SetCursorPos(const TPoint& Value);
  HWND Capture() const { return GetCapture(); }
  void SetCapture(HWND Value);
};

extern TApplication* Application;
extern TScreen* Screen;
extern TMouse* Mouse;

// The form a control stands on (nullptr when none).
TCustomForm* GetParentForm(TControl* Control);
// Disables every enabled visible top-level window of this thread except Active
// and gives their list back; EnableTaskWindows enables them again.
std::vector<HWND> DisableTaskWindows(HWND ActiveWindow);
void EnableTaskWindows(const std::vector<HWND>& List);
