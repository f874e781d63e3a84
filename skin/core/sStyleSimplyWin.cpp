// The broadcasts to the forms of the program and the freezing of the skinned
// forms around a skin change.
#include <algorithm>
#include <functional>
#include <memory>

#include "skin/core/acntUtils.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sStyleSimply.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/acDials.h"
#include "skin/forms/sSkinProvider.h"

namespace {

std::vector<TCustomForm*>& Registered() {
  static std::vector<TCustomForm*> forms;
  return forms;
}

// A form hears the message through its window, or (while it has none) by Perform.
void Deliver(TWinControl* Control, TMessage& Message) {
  if (Control->HandleAllocated())
    Message.Result = SendMessageW(Control->WindowHandle(), Message.Msg, Message.WParam, Message.LParam);
  else
    Message.Result = Control->Perform(Message.Msg, Message.WParam, Message.LParam);
}

bool AnswersHooked(TWinControl* Control) {
  TMessage query = MakeMessage(SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_HOOKED), 0, 0);
  Deliver(Control, query);
  return query.Result == 1;
}

bool AppMinimized() { return Application->HandleAllocated() && IsIconic(Application->Handle()); }

// Calls Proc for the provider of every registered form that is shown (not
// minimized, not an MDI child, without parent) and skinned by Manager. The
// form's Visible counts, not its window's style, which a frozen form loses.
void ForEachSkinnedForm(TsSkinManager* Manager, const std::function<void(TsSkinProvider*)>& Proc) {
  const std::vector<TCustomForm*>& forms = Registered();
  for (size_t i = 0; i < forms.size(); ++i) {
    TCustomForm* form = forms[i];
    if (!form || form->FormStyle() == fsMDIChild || form->Parent() || !form->HandleAllocated() ||
        !form->Visible() || IsIconic(form->WindowHandle()))
      continue;
    auto* p = reinterpret_cast<TsSkinProvider*>(SendAMessage(form->WindowHandle(), ACMD_QUERY_PROVIDER));
    if (p && p->SkinData()->GetSkinManager() == Manager) Proc(p);
  }
}

void StartSkinChangeAnimation(TsSkinManager* Manager) {
  if (Manager == DefaultManager && Manager->AnimEffects()->SkinChanging()->Active) InAnimationProcess = true;
}

// Shows a form maximized again without activating it (its title height changed).
void ReshowMaximized(TCustomForm* Form) {
  const HWND wnd = Form->WindowHandle();
  const HWND active = GetActiveWindow();
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  SetWindowLongPtrW(wnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
  ShowWindow(wnd, SW_SHOWMAXIMIZED);
  SetWindowLongPtrW(wnd, GWL_STYLE, GetWindowLongPtrW(wnd, GWL_STYLE) | WS_VISIBLE);
  if (active) SetActiveWindow(active);
}

Integer LastMaximizedTitleHeight = 0;

// The released form repainted with the new skin (and shown with the
// skin-change animation).
void ShowChangedForm(TsSkinManager* Manager, TsSkinProvider* P) {
  TCustomForm* form = P->Form;
  TacSkinChanging* changing = Manager->AnimEffects()->SkinChanging();
  if (changing->Active) {
    if (P->DrawNonClientArea())
      AnimShowControl(form, changing->Time, 255, changing->Mode == atAero ? atcAero : atcFade);
    else
      AnimShowControl(form, 0, 255, atcFade);
  }
  P->FormState &= ~TsSkinProvider::FS_IMAGE_COPIED;
  if (P->BorderForm && form->WindowState() == wsMaximized && P->ActualTitleHeight() != LastMaximizedTitleHeight) {
    LastMaximizedTitleHeight = P->ActualTitleHeight();
    ReshowMaximized(form);
  }
  P->SkinChanging = false;
  const HWND wnd = form->WindowHandle();
  if (P->DrawNonClientArea()) {
    if (acWinVer < 6) SetWindowRgn(wnd, nullptr, FALSE);
    FillArOR(P);
    UpdateRgn(P, true);
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    if (P->BorderForm && P->BorderForm->Wnd) {
      SetWindowRgn(P->BorderForm->Wnd, P->BorderForm->MakeRgn(0, 0), FALSE);
      P->BorderForm->UpdateExBordersPos(true, 255);
    }
  } else {
    RedrawWindow(wnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
}

}  // namespace

// ---------------------------------------------------------- registered forms

void IntSkinForm(TCustomForm* Form) { Registered().push_back(Form); }

void IntUnSkinForm(TCustomForm* Form) {
  std::vector<TCustomForm*>& forms = Registered();
  if (forms.empty()) return;
  for (TCustomForm*& f : forms)
    if (f == Form) {
      f = forms.back();
      forms.back() = nullptr;
    }
  if (!forms.back()) forms.pop_back();
}

const std::vector<TCustomForm*>& RegisteredForms() { return Registered(); }

// -------------------------------------------------------------- broadcasting

void AppBroadCastS(TMessage& Message) {
  for (int i = Application->ComponentCount() - 1; i >= 0; --i) {
    // Handlers may destroy forms: a list that shrank ends the walk.
    if (i >= Application->ComponentCount()) return;
    auto* form = dynamic_cast<TForm*>(Application->Components(i));
    if (!form || form->FormStyle() == fsMDIChild || IsDestroying(form) || IsLoading(form) || AnswersHooked(form))
      continue;
    Deliver(form, Message);
    AlphaBroadCast(form, Message);
  }
  SendToHooked(Message);
}

void SendToHooked(TMessage& Message) {
  const std::vector<TCustomForm*>& forms = Registered();
  for (size_t i = 0; i < forms.size(); ++i) {
    TCustomForm* form = forms[i];
    if (!form || IsDestroying(form)) continue;
    Deliver(form, Message);
    AlphaBroadCast(form, Message);
  }
  if (!acSupportedList) return;
  for (int i = 0; i < acSupportedList->Count(); ++i) {
    auto* item = static_cast<TacSkinnedWindow*>(acSupportedList->Items(i));
    const HWND wnd = item ? item->WindowHandle() : nullptr;
    if (wnd && IsWindowVisible(wnd))
      Message.Result = SendMessageW(wnd, Message.Msg, Message.WParam, Message.LParam);
  }
}

// ------------------------------------------------------ around a skin change

void LockForms(TsSkinManager* Manager) {
  if (AppMinimized()) return;
  StartSkinChangeAnimation(Manager);
  ForEachSkinnedForm(Manager, [](TsSkinProvider* P) {
    P->SkinChanging = true;
    P->FormState |= TsSkinProvider::FS_REDRAW_LOCKED;
    if (P->BorderForm && P->BorderForm->Wnd) {
      if (P->FormImage) SetFormBlendValue(P->BorderForm->Wnd, P->FormImage.get(), 255, nullptr);
      SetWindowRgn(P->BorderForm->Wnd, P->BorderForm->MakeRgn(0, 0), FALSE);
    }
    SendMessageW(P->Form->WindowHandle(), WM_SETREDRAW, FALSE, 0);
  });
}

void CopyExForms(TsSkinManager* Manager) {
  if (AppMinimized() || IsDesigning(Manager) || IsLoading(Manager) || IsReading(Manager)) return;
  StartSkinChangeAnimation(Manager);
  ForEachSkinnedForm(Manager, [](TsSkinProvider* P) {
    if (!P->BorderForm || !P->BorderForm->Wnd) return;
    P->FormState |= TsSkinProvider::FS_IMAGE_COPIED;
    P->FormImage = GetFormImage(P, false);
    P->SkinChanging = true;
  });
}

void UnLockForms(TsSkinManager* Manager, bool Animate) {
  if (AppMinimized()) return;
  if (Manager == DefaultManager) InAnimationProcess = false;
  // Every frozen form draws again before any of them repaints, so that
  // nothing a repaint raises leaves a form frozen.
  ForEachSkinnedForm(Manager, [](TsSkinProvider* P) {
    if (P->FormState & TsSkinProvider::FS_REDRAW_LOCKED) SendMessageW(P->Form->WindowHandle(), WM_SETREDRAW, TRUE, 0);
  });
  ForEachSkinnedForm(Manager, [Manager, Animate](TsSkinProvider* P) {
    if (!(P->FormState & TsSkinProvider::FS_REDRAW_LOCKED)) return;
    P->FormState &= ~TsSkinProvider::FS_REDRAW_LOCKED;
    if (Animate) {
      ShowChangedForm(Manager, P);
    } else {
      P->FormState &= ~TsSkinProvider::FS_IMAGE_COPIED;
      SendMessageW(P->Form->WindowHandle(), WM_SETREDRAW, TRUE, 0);
    }
  });
}

TFormsLock::TFormsLock(TsSkinManager* Manager, bool Lock) : FManager(Manager), FLocked(Lock) {
  if (Lock) LockForms(Manager);
}

TFormsLock::~TFormsLock() {
  if (FLocked) UnLockForms(FManager, false);
}

void TFormsLock::Release(bool Animate) {
  if (!FLocked) return;
  FLocked = false;
  UnLockForms(FManager, Animate);
}

// ------------------------------------------------------------------- icons

namespace {
std::unique_ptr<TIcon> ShellIcon(UINT Flags) {
  return std::unique_ptr<TIcon>(GetIconForFile(Application ? Application->ExeName() : AnsiString(), Flags));
}
}  // namespace

TIcon* AppIcon() {
  static const std::unique_ptr<TIcon> icon = ShellIcon(1);
  return icon.get();
}

TIcon* AppIconLarge() {
  static const std::unique_ptr<TIcon> icon = ShellIcon(0);
  return icon.get();
}
