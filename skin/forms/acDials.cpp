// The subclass base first: it brings the class library before windows.h.
#include "skin/subclass/acSBUtils.h"

#include "skin/forms/acDials.h"
#include "skin/subclass/acSBUtilsMenus.h"

#include <algorithm>
#include <memory>

#include "skin/core/Smessages.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sConst.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/graphics/acGlow.h"

HHOOK HookCallback = nullptr;
TList* acSupportedList = nullptr;
std::vector<TacMainWnd*> MnuArray;

// The dialog frame's part of the unit (acDialsFrame.cpp).
bool acFrameReleasable(TacDialogWnd* Frame);
bool acFrameVisible(TacDialogWnd* Frame);

namespace {

constexpr const wchar_t* kPUtilWindow = L"TPUtilWindow";
constexpr UINT_PTR kMenuAtom = 0x8000;
constexpr UINT_PTR kDialogAtom = 0x8002;

bool AppDestroying() { return Application && Application->ComponentState().Contains(csDestroying); }

bool Hooked(HWND Wnd) { return SendAMessage(Wnd, ACMD_QUERY_HOOKED) == 1; }

AnsiString WndClassName(HWND Wnd) {
  wchar_t name[256];
  const int n = GetClassNameW(Wnd, name, 256);
  return n > 0 ? winapi::A(name, n) : AnsiString();
}

// The first descendant of Wnd (children in z-order, each one's own
// descendants before its next sibling) of that lower-case class.
bool HasDescendant(HWND Wnd, const AnsiString& LowerClass) {
  for (HWND child = GetTopWindow(Wnd); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (LowerCase(WndClassName(child)) == LowerClass) return true;
    if (HasDescendant(child, LowerClass)) return true;
  }
  return false;
}

bool Listed(HWND Wnd) {
  if (!acSupportedList) return false;
  for (int i = 0; i < acSupportedList->Count(); ++i) {
    auto* p = static_cast<TacProvider*>(acSupportedList->Items(i));
    if (!p) continue;
    if (p->CtrlHandle == Wnd) return true;
    if (p->SkinProvider && p->SkinProvider->Form && p->SkinProvider->Form->HandleAllocated() &&
        p->SkinProvider->Form->WindowHandle() == Wnd)
      return true;
  }
  return false;
}

int VisibleDialogs() {
  int count = 0;
  for (int i = 0; acSupportedList && i < acSupportedList->Count(); ++i) {
    auto* p = static_cast<TacProvider*>(acSupportedList->Items(i));
    if (p && p->DialogWnd && acFrameVisible(p->DialogWnd)) ++count;
  }
  return count;
}

// The form of the class library whose window Wnd is (last created first).
TCustomForm* FormOf(HWND Wnd) {
  if (!Screen) return nullptr;
  for (int i = Screen->CustomFormCount() - 1; i >= 0; --i) {
    TCustomForm* form = Screen->CustomForms(i);
    if (!form || form->ComponentState().Contains(csDestroying) || !form->HandleAllocated()) continue;
    if (form->WindowHandle() == Wnd) return form;
  }
  return nullptr;
}

void AddForm(TCustomForm* Form) {
  auto* provider = Create<TacProvider>(Form);
  acSupportedList->Add(provider);
  provider->InitForm(Form);
}

bool AddFoundForm(TCustomForm* Form, const AnsiString& ClassName) {
  if (Form->Tag() & 0x100) return false;
  if (Form->ComponentState().Contains(csLoading) && Form->FormStyle() != fsMDIChild) return true;
  int index = 0;
  if (ThirdPartySkipForms()->Find(ClassName, index)) return false;
  const TacSkinningRule rule = ClassName == "TMessageForm" ? srStdDialogs : srStdForms;
  if (!DefaultManager->SkinningRules().Contains(rule)) return false;
  AddForm(Form);
  return true;
}

bool AddDialog(HWND Wnd) {
  // Only a dialog inside another window is left to that window's skinning:
  // an owned pop-up (every message box) answers its owner to GetParent.
  if (GetWindowLongPtrW(Wnd, GWL_STYLE) & WS_CHILD) return false;
  if (!DefaultManager->SkinningRules().Contains(srStdDialogs)) return false;
  if (VisibleDialogs() > ac_DialogsLevel - 1 && !HasDescendant(Wnd, "toolbarwindow32")) return false;
  bool allow = true;
  if (DefaultManager->OnSysDlgInit) {
    TacSysDlgData data;
    data.WindowHandle = Wnd;
    DefaultManager->OnSysDlgInit(data, allow);
  }
  if (!allow) return true;
  auto* provider = Create<TacProvider>(nullptr);
  if (provider->InitSkin(Wnd))
    acSupportedList->Add(provider);
  else
    provider->Free();
  return true;
}

// Frees the providers of dialogs whose frame is through with its window.
void SweepDetached() {
  if (!acSupportedList) return;
  bool freed = false;
  for (int i = 0; i < acSupportedList->Count(); ++i) {
    auto* p = static_cast<TacProvider*>(acSupportedList->Items(i));
    if (!p || !p->DialogWnd || !acFrameReleasable(p->DialogWnd)) continue;
    acSupportedList->SetItems(i, nullptr);
    p->Free();
    freed = true;
  }
  if (freed) acSupportedList->Pack();
}

void OnCreate(HWND Wnd, const CBT_CREATEWNDW* Create) {
  if (!Wnd || !Create || !Create->lpcs) return;
  const auto cls = reinterpret_cast<UINT_PTR>(Create->lpcs->lpszClass);
  if (cls == kMenuAtom) {
    if (DefaultManager && DefaultManager->SkinnedPopups() && !Hooked(Wnd))
      MnuArray.push_back(acMakeMenuWnd(Wnd, DefaultManager));
    return;
  }
  if (cls == kDialogAtom) {
    AddSupportedForm(Wnd);
    return;
  }
  if (cls < 0x10000) return;
  wchar_t name[64];
  if (GetClassNameW(Wnd, name, 64) > 0 && wcscmp(name, kPUtilWindow) == 0) return;
  if (Create->lpcs->dwExStyle == 0 || Create->lpcs->style == 0) return;
  TCustomForm* main = Application ? Application->MainForm() : nullptr;
  if (main && (!main->HandleAllocated() || main->WindowHandle() == Wnd)) return;
  if (GetParent(Wnd)) return;
  AddSupportedForm(Wnd);
}

}  // namespace

TStringList* ThirdPartySkipForms() {
  static const std::unique_ptr<TStringList> list = [] {
    auto l = std::make_unique<TStringList>();
    for (const char* name : {"TApplication", "TfcPopup", "TcxComboBoxPopupWindow", "TcxCustomPopupWindow",
                             "TcxDateEditPopupWindow", "TcxGridFilterPopup"})
      l->Add(name);
    l->SetCaseSensitive(true);
    l->SetSorted(true);
    return l;
  }();
  return list.get();
}

LRESULT CALLBACK SkinHookCBT(int Code, WPARAM WParam, LPARAM LParam) {
  const LRESULT result = CallNextHookEx(HookCallback, Code, WParam, LParam);
  if (AppDestroying()) return result;
  switch (Code) {
    case HCBT_CREATEWND:
      OnCreate(reinterpret_cast<HWND>(WParam), reinterpret_cast<const CBT_CREATEWNDW*>(LParam));
      break;
    case HCBT_DESTROYWND:
      if (!bGlowingDestroying) SweepDetached();
      break;
    case HCBT_ACTIVATE:
      AddSupportedForm(reinterpret_cast<HWND>(WParam));
      break;
    default:
      break;
  }
  return result;
}

bool AddSupportedForm(HWND Wnd) {
  if (!DefaultManager || AppDestroying() || !acSupportedList || !Wnd || Hooked(Wnd)) return false;
  const LONG_PTR style = GetWindowLongPtrW(Wnd, GWL_STYLE);
  if ((style & WS_POPUP) && !(style & WS_BORDER)) return false;
  if (Listed(Wnd)) return false;
  if (TCustomForm* form = FormOf(Wnd)) return AddFoundForm(form, form->ClassName());
  if (WndClassName(Wnd) != "#32770") return false;
  return AddDialog(Wnd);
}

void ClearMnuArray() {
  for (TacMainWnd*& item : MnuArray) {
    delete item;
    item = nullptr;
  }
  MnuArray.clear();
}

int acLiveProviders() {
  int count = 0;
  for (int i = 0; acSupportedList && i < acSupportedList->Count(); ++i)
    if (acSupportedList->Items(i)) ++count;
  return count;
}

// ------------------------------------------------------------- TacProvider

void TacProvider::InitForm(TCustomForm* Form) {
  SkinProvider = Create<TsSkinProvider>(Form, true);
  SkinProvider->SetUseGlobalColor(false);
  SkinProvider->Form = Form;
  if (!IsIDERunning()) {
    UpdateWindow(Form->WindowHandle());
    RedrawWindow(Form->WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
  }
  SkinProvider->MakeSkinMenu = false;
}
