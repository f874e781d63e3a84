// Sending the skin command to controls and windows, and the state tests the
// senders share.
#include "skin/core/Sthirdparty.h"
#include "skin/core/sVclUtils.h"

bool InAnimationProcess = false;

LRESULT SendAMessage(HWND Wnd, Integer Cmd, LPARAM LParam) {
  return SendMessageW(Wnd, SM_ALPHACMD, AlphaCmdParam(static_cast<Word>(Cmd)), LParam);
}

LRESULT SendAMessage(TControl* Control, Integer Cmd, LPARAM LParam) {
  if (!Control) return 0;
  auto* w = dynamic_cast<TWinControl*>(Control);
  if (!w) return Control->Perform(SM_ALPHACMD, AlphaCmdParam(static_cast<Word>(Cmd)), LParam);
  if (IsDestroying(w) || !w->HandleAllocated()) return 0;
  return SendAMessage(w->WindowHandle(), Cmd, LParam);
}

bool GetBoolMsg(TWinControl* Control, Integer Cmd) { return (SendAMessage(Control, Cmd, 0) & 0xFF) != 0; }

bool GetBoolMsg(HWND Wnd, Integer Cmd) { return SendAMessage(Wnd, Cmd, 0) == 1; }

void AlphaBroadCast(TWinControl* Control, TMessage& Message) {
  // The count is read anew at every step: a handler may add or remove children.
  for (int i = 0; i < Control->ControlCount(); ++i) {
    TControl* child = Control->Controls(i);
    if (IsDestroying(child)) return;
    auto* w = dynamic_cast<TWinControl*>(child);
    if (!w || !w->HandleAllocated()) {
      Message.Result = child->Perform(Message.Msg, Message.WParam, Message.LParam);
    } else if (GetBoolMsg(w->WindowHandle(), ACMD_QUERY_HOOKED)) {
      Message.Result = SendMessageW(w->WindowHandle(), Message.Msg, Message.WParam, Message.LParam);
    } else if (!CheckDevEx || !CheckDevEx(w)) {
      AlphaBroadCast(w, Message);
    }
  }
}

namespace {
struct TChildBroadcast {
  HWND Parent;
  TMessage* Message;
};
BOOL CALLBACK SendToChild(HWND Wnd, LPARAM Data) {
  auto* b = reinterpret_cast<TChildBroadcast*>(Data);
  if (GetParent(Wnd) == b->Parent)
    b->Message->Result = SendMessageW(Wnd, b->Message->Msg, b->Message->WParam, b->Message->LParam);
  return TRUE;
}

// Calls Fn for every child window (WS_CHILD) of Wnd, top one first.
template <class Fn>
void ForEachChildWindow(HWND Wnd, Fn fn) {
  for (HWND child = GetWindow(Wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowLongW(child, GWL_STYLE) & WS_CHILD) fn(child);
}
}  // namespace

void AlphaBroadCast(HWND Wnd, TMessage& Message) {
  TChildBroadcast b{Wnd, &Message};
  EnumChildWindows(Wnd, SendToChild, reinterpret_cast<LPARAM>(&b));
}

void BroadCastMsg(HWND Wnd, const TMessage& Message) {
  ForEachChildWindow(Wnd, [&](HWND child) { SendMessageW(child, Message.Msg, Message.WParam, Message.LParam); });
}

void SetParentUpdated(TWinControl* Control) {
  if (!Control || IsDesigning(Control) || InAnimationProcess) return;
  for (int i = 0; i < Control->ControlCount(); ++i) {
    TControl* child = Control->Controls(i);
    if (IsDestroying(child)) continue;
    if (auto* w = dynamic_cast<TWinControl*>(child)) {
      if (w->HandleAllocated() && w->Showing()) SendAMessage(w->WindowHandle(), ACMD_PARENT_UPDATED);
    } else {
      child->Perform(SM_ALPHACMD, AlphaCmdParam(ACMD_PARENT_UPDATED), 0);
    }
  }
}

void SetParentUpdated(HWND Wnd) {
  ForEachChildWindow(Wnd, [](HWND child) { SendAMessage(child, ACMD_PARENT_UPDATED); });
}

void AddToAdapter(TWinControl* Control) {
  if (!Control || IsDesigning(Control) || IsLoading(Control)) return;
  TCustomForm* form = GetParentForm(Control);
  if (form && form->HandleAllocated())
    SendAMessage(form->WindowHandle(), ACMD_ADAPTER_ADD, reinterpret_cast<LPARAM>(Control));
}

bool ControlIsReady(TControl* Control) {
  if (!Control) return false;
  if (auto* w = dynamic_cast<TWinControl*>(Control); w && !w->HandleAllocated()) return false;
  const TControlState state = Control->ControlState();
  if (state.Contains(csCreating) || state.Contains(csReadingState)) return false;
  return !IsLoading(Control) && !IsDestroying(Control) && Control->Parent();
}

TCustomForm* GetOwnerForm(TComponent* Component) {
  for (TComponent* c = Component; c; c = c->Owner())
    if (auto* form = dynamic_cast<TCustomForm*>(c)) return form;
  return nullptr;
}

TComponent* GetOwnerFrame(TComponent*) { return nullptr; }
