// The default manager's hooks: the window-creation hook of the thread and the
// hook of the application window (minimize and restore, the skin editor's
// record, activation, the skinned menus' borders, the task bar's pictures),
// and the hover tracking of the controls under the mouse.
#include <cstring>

#include "skin/core/acntUtils.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/acDials.h"
#include "skin/forms/sSkinMenus.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

// The private messages the skinned menus post to the application window.
constexpr UINT SM_DRAWMENUITEMBORDER = 0xBCB3;
constexpr UINT SM_DRAWMENUWNDBORDER = 0xBCB4;
// The editor's record comes with this first parameter.
constexpr WPARAM kEditorDataTag = 7;
// The class of the system's pop-up menu windows.
constexpr const wchar_t kMenuWindowClass[] = L"#32768";
// The window attributes of the task bar's pictures.
constexpr DWORD kHasIconicBitmap = 10;
constexpr DWORD kForceIconicRepresentation = 7;
// How long the end of the program waits for a hide animation.
constexpr DWORD kHideWaitMs = 1000;

TsSkinProvider* ProviderOf(TCustomForm* Form) {
  if (!Form || !Form->HandleAllocated()) return nullptr;
  return reinterpret_cast<TsSkinProvider*>(SendAMessage(Form->WindowHandle(), ACMD_QUERY_PROVIDER));
}

bool IsMenuWindow(HWND Wnd) {
  wchar_t name[64] = {};
  return Wnd && GetClassNameW(Wnd, name, 64) && std::wcscmp(name, kMenuWindowClass) == 0;
}

void DrawMenuItemBorder(TsSkinManager* Manager, TMenuItem* Item) {
  TMenuItem* parent = Item ? Item->Parent() : nullptr;
  RECT r{};
  if (!parent || !GetMenuItemRect(nullptr, parent->Handle(), 0, &r)) return;
  const HWND wnd = WindowFromPoint(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  if (!IsMenuWindow(wnd)) return;
  TacMenuInfo info = Manager->Menus()->GetMenuInfo(Item, 0, 0, nullptr, wnd);
  if (info.Bmp) Manager->Menus()->DrawWndBorder(wnd, info.Bmp);
}

void DrawMenuWndBorder(TsSkinManager* Manager, HWND Wnd) {
  if (!IsMenuWindow(Wnd)) return;
  TacMenuInfo info = Manager->Menus()->GetMenuInfo(nullptr, 0, 0, nullptr, Wnd);
  if (info.Bmp) Manager->Menus()->DrawWndBorder(Wnd, info.Bmp);
}

}  // namespace

// ------------------------------------------------------------------ the hooks

void TsSkinManager::InstallHook() {
  if (Designing() || !IsDefault() || FHookInstalled) return;
  FHookInstalled = true;
  if (!acSupportedList) acSupportedList = new TList();
  HookCallback = SetWindowsHookExW(WH_CBT, SkinHookCBT, nullptr, GetCurrentThreadId());
}

void TsSkinManager::UnInstallHook() {
  if (Designing() || !IsDefault() || !FHookInstalled) return;
  ClearMnuArray();
  if (HookCallback) UnhookWindowsHookEx(HookCallback);
  if (acSupportedList) {
    for (int i = 0; i < acSupportedList->Count(); ++i)
      if (auto* item = static_cast<TacSkinnedWindow*>(acSupportedList->Items(i))) item->Free();
    delete acSupportedList;
    acSupportedList = nullptr;
  }
  FHookInstalled = false;
  HookCallback = nullptr;
}

void TsSkinManager::HookApplication(bool On) {
  if (On == FAppHooked || !Application || (On && (Designing() || !IsNT))) return;
  if (On)
    Application->HookMainWindow(AppHook());
  else
    Application->UnhookMainWindow(AppHook());
  FAppHooked = On;
}

bool TsSkinManager::MainWindowHook(TMessage& Message) {
  switch (Message.Msg) {
    case WM_WINDOWPOSCHANGED:
      HideAtExit(Message);
      return false;
    case WM_COPYDATA:
      return CopyEditorRecord(Message);
    case WM_SYSCOMMAND:
      return CommonSkinData.Active && SysCommand(Message);
    case WM_THEMECHANGED:
      return true;
    case WM_DWMSENDICONICTHUMBNAIL: {
      TCustomForm* main = Application->MainForm();
      if (!ac_ChangeThumbPreviews || !main || !HIWORD(Message.LParam) || !LOWORD(Message.LParam)) return false;
      Message.Result = 0;
      return SetThumbIcon(Application->Handle(), ProviderOf(main), HIWORD(Message.LParam), LOWORD(Message.LParam));
    }
    case WM_DWMSENDICONICLIVEPREVIEWBITMAP: {
      TCustomForm* main = Application->MainForm();
      if (!ac_ChangeThumbPreviews || !main) return false;
      Message.Result = 0;
      return SetPreviewBmp(Application->Handle(), ProviderOf(main));
    }
    case SM_ALPHACMD:
      if (AlphaCmdOf(Message.WParam) == ACMD_EDITOR_DATA) ReceiveData(this);
      return false;
    case CM_ACTIVATE:
      for (int i = Screen->FormCount() - 1; i >= 0; --i)
        if (Screen->Forms(i)->HandleAllocated()) SendAMessage(Screen->Forms(i)->WindowHandle(), ACMD_REDRAW);
      return false;
    case SM_DRAWMENUITEMBORDER:
      if (!FSkinnedPopups) return false;
      DrawMenuItemBorder(this, reinterpret_cast<TMenuItem*>(Message.LParam));
      return true;
    case SM_DRAWMENUWNDBORDER:
      if (!FSkinnedPopups) return false;
      DrawMenuWndBorder(this, reinterpret_cast<HWND>(Message.LParam));
      return true;
    default:
      return false;
  }
}

// The skin editor's record: copied at once (the editor waits), loaded later
// through the posted command 71. A block of another size, tag or magic is
// swallowed without effect; nothing beyond its stated size is read.
bool TsSkinManager::CopyEditorRecord(TMessage& Message) {
  if (Message.Result != 0 || acSkinPreviewUpdating) return false;
  TFlagScope updating(acSkinPreviewUpdating);
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(Message.LParam);
  if (!data || Message.WParam != kEditorDataTag || !data->lpData || data->cbData < sizeof(TacEditorRecord))
    return true;
  std::int32_t magic = 0;
  std::memcpy(&magic, data->lpData, sizeof magic);
  if (magic != static_cast<std::int32_t>(ASE_MSG)) return true;
  if (!EditorRecord) EditorRecord = std::make_unique<TacEditorRecord>();
  std::memcpy(EditorRecord.get(), data->lpData, sizeof(TacEditorRecord));
  PostMessageW(Application->Handle(), SM_ALPHACMD, AlphaCmdParam(ACMD_EDITOR_DATA), 0);
  return true;
}

bool TsSkinManager::SysCommand(TMessage& Message) {
  TCustomForm* main = Application->MainForm();
  switch (Message.WParam & 0xFFF0) {
    case SC_MINIMIZE: {
      SysCommandState = 2;
      if (IsIconic(Application->Handle()) || !main || !main->Visible()) return false;
      TsSkinProvider* p = ProviderOf(main);
      if (!p) return false;
      if (FAnimEffects->Minimizing()->Active && p->DrawNonClientArea()) {
        p->Hiding = true;
        StartMinimizing(p);
        if (AeroIsEnabled()) return false;
        TacSystemAnimationOff off;
        Application->Minimize();
        return true;
      }
      if (p->BorderForm && p->BorderForm->Wnd) {
        p->BorderForm->Freeing = true;
        p->BorderForm->FreeWindow();
      }
      return false;
    }
    case SC_RESTORE: {
      SysCommandState = 1;
      TsSkinProvider* p = main && main->Showing() ? ProviderOf(main) : nullptr;
      if (!p) return false;
      if (p->Layered) {
        p->Layered = false;
        if (ExtendedBorders() && p->AllowExtBorders && !p->BorderForm) p->FormImage.reset();
        if (p->BorderForm) p->BorderForm->Freeing = false;
        TacSystemAnimationOff off;
        Application->Restore();
        if (AeroIsEnabled()) {
          const HWND wnd = main->Handle();
          RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
          const LONG_PTR exStyle = GetWindowLongPtrW(wnd, GWL_EXSTYLE);
          if (exStyle & WS_EX_LAYERED) {
            p->SkinData()->BGChanged = true;
            SetWindowLongPtrW(wnd, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
          }
        }
        return false;
      }
      if (FAnimEffects->Minimizing()->Active && main->Visible() && p->DrawNonClientArea()) {
        StartRestoring(p);
        if (AeroIsEnabled()) return false;
        TacSystemAnimationOff off;
        Application->Restore();
        return true;
      }
      if (!AeroIsEnabled()) return false;
      {
        TacSystemAnimationOff off;
        Application->Restore();
        if (!main->Visible()) main->Show();
      }
      main->Invalidate();
      RedrawWindow(main->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return true;
    }
    default:
      SysCommandState = 0;
      return false;
  }
}

// The application's last hide at the end of the program: the main form fades
// out (the animation may run on timers; the wait for it keeps the messages
// going and gives up after a second).
void TsSkinManager::HideAtExit(TMessage& Message) {
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
  if (!pos || !(pos->flags & SWP_HIDEWINDOW) || !acLayered()) return;
  TacFormHide* hide = FAnimEffects->FormHide();
  TCustomForm* main = Application->MainForm();
  if (!hide->Active || hide->Time == 0 || IsIconic(Application->Handle()) || !Application->Terminated() || !main ||
      !main->HandleAllocated() || !IsWindowVisible(main->WindowHandle()))
    return;
  TsSkinProvider* p = ProviderOf(main);
  if (!p || !p->DrawNonClientArea() || !p->AllowAnimation || p->Hiding) return;
  p->Hiding = true;
  p->Layered = true;
  if (p->BorderForm && p->BorderForm->Wnd) SetWindowRgn(p->BorderForm->Wnd, p->BorderForm->MakeRgn(), FALSE);
  DoLayered(main->WindowHandle(), true, 254);
  main->Update();
  FreeAndNil(acHideTimer);
  AnimHideForm(p);
  const DWORD start = GetTickCount();
  while (InAnimationProcess && GetTickCount() - start < kHideWaitMs) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    Application->ProcessMessages();
  }
}

// ------------------------------------------------------------------- hover

void TsSkinManager::SetActiveControl(HWND Wnd) {
  if (Wnd == FActiveControl) return;
  if (FActiveControl && FActiveGraphControl) {
    SetActiveGraphControl(nullptr);
    if (FActiveGraphControl) return;
  }
  if (FActiveControl) SendAMessage(FActiveControl, ACMD_HOVER_LEAVE, reinterpret_cast<LPARAM>(this));
  FActiveControl = Wnd;
  if (Wnd) SendAMessage(Wnd, ACMD_HOVER_ENTER, reinterpret_cast<LPARAM>(this));
}

void TsSkinManager::SetActiveGraphControl(TGraphicControl* Control) {
  if (Control == FActiveGraphControl) return;
  if (!Control && FActiveGraphControl) {
    // A control the mouse is still over stays the active one.
    auto* data = reinterpret_cast<TsCommonData*>(
        FActiveGraphControl->Perform(SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_COMMON_DATA), 0));
    if (data && data->MouseAbove) return;
  }
  TGraphicControl* previous = FActiveGraphControl;
  if (previous) previous->RemoveFreeNotification(this);
  FActiveGraphControl = Control;
  if (Control) {
    Control->FreeNotification(this);
    FActiveControl = nullptr;
  }
  if (previous) previous->Perform(SM_ALPHACMD, AlphaCmdParam(ACMD_HOVER_LEAVE), reinterpret_cast<LPARAM>(this));
}

// --------------------------------------------------------- the skin editor

namespace {
// The editor's text stands in for the skin's Options.dat while it loads.
class TEditorText {
 public:
  explicit TEditorText(const AnsiString& Text) {
    acMemSkinFile = new TStringList();
    acMemSkinFile->SetText(Text);
  }
  ~TEditorText() {
    delete acMemSkinFile;
    acMemSkinFile = nullptr;
  }
  TEditorText(const TEditorText&) = delete;
  TEditorText& operator=(const TEditorText&) = delete;
};

// The manager's update lock for a scope (left without broadcasting).
class TUpdateLock {
 public:
  explicit TUpdateLock(TsSkinManager* Manager) : FManager(Manager) { Manager->BeginUpdate(); }
  ~TUpdateLock() { FManager->CancelUpdate(); }
  TUpdateLock(const TUpdateLock&) = delete;
  TUpdateLock& operator=(const TUpdateLock&) = delete;

 private:
  TsSkinManager* FManager;
};
}  // namespace

void ReceiveData(TsSkinManager* Manager) {
  const TacEditorRecord* record = Manager ? Manager->EditorRecord.get() : nullptr;
  if (!record || record->Magic != static_cast<std::int32_t>(ASE_MSG)) return;
  UnPackedFirst = true;
  const AnsiString name = EditorText(record->SkinName), dir = EditorText(record->SkinDirectory);
  TEditorText text(EditorText(record->OptionsText));
  {
    TUpdateLock lock(Manager);
    Manager->SetSkinDirectory(dir);
    Manager->SetSkinName(name);
  }
  Manager->EndUpdate(true, false);
}

void UpdatePreview(HWND Wnd, bool Value) {
  if (!ac_ChangeThumbPreviews) return;
  const BOOL value = Value ? TRUE : FALSE;
  if (DwmSetWindowAttribute(Wnd, kHasIconicBitmap, &value, sizeof value) == 0)
    DwmSetWindowAttribute(Wnd, kForceIconicRepresentation, &value, sizeof value);
  DwmInvalidateIconicBitmaps(Wnd);
}
