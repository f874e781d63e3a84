// Window procedures in a chain that others share (see "window subclassing" in
// Controls.h): the subclasses of SubclassWindow and the controls' own.
#include <map>
#include <mutex>
#include <vector>

#include "classlib/ui/Controls.h"
#include "classlib/ui/WndThunks.h"

namespace {

// Subclasses whose owner let go while another procedure lay over them: they
// hand messages on until their window is destroyed, or until a subclass of
// ours over them leaves and takes them out of the chain with it.
std::mutex& PassThroughLock() {
  static std::mutex m;
  return m;
}
std::map<WNDPROC, TWndSubclass*>& PassThroughs() {
  static auto* m = new std::map<WNDPROC, TWndSubclass*>;
  return *m;
}

WNDPROC CurrentProc(HWND Wnd) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Wnd, GWLP_WNDPROC)); }

}  // namespace

TWndSubclass::TWndSubclass(TWndMethod Method, void* Owner, THandler Handler)
    : FMethod(Method), FOwner(Owner), FHandler(Handler) {
  FThunk = dk::AllocThunk(this, &TWndSubclass::Dispatch);
}

TWndSubclass::~TWndSubclass() { dk::FreeThunk(FThunk); }

void TWndSubclass::CallPrevious(TMessage& Message) {
  Message.Result = FPrevious ? CallWindowProcW(FPrevious, FWnd, Message.Msg, Message.WParam, Message.LParam)
                             : DefWindowProcW(FWnd, Message.Msg, Message.WParam, Message.LParam);
}

LRESULT CALLBACK TWndSubclass::Dispatch(void* Self, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* s = static_cast<TWndSubclass*>(Self);
  HWND wnd = s->FWnd;
  LRESULT result = 0;
  ++s->FBusy;
  if (!s->FOwned) {
    // a pass-through: the owner is gone, the message goes on unseen
    result = CallWindowProcW(s->FPrevious, wnd, Msg, WParam, LParam);
  } else if (s->FHandler) {
    result = s->FHandler(s->FOwner, Msg, WParam, LParam);
  } else {
    TMessage m;
    m.Msg = Msg;
    m.WParam = WParam;
    m.LParam = LParam;
    try {
      s->FMethod(m);
    } catch (...) {
      if (ApplicationHandleException) {
        try {
          ApplicationHandleException(s->FMethod.Object());
        } catch (...) {
        }
      }
    }
    result = m.Result;
  }
  --s->FBusy;
  if (Msg == WM_NCDESTROY && wnd && s->FWnd == wnd) s->WindowGone();
  s->DeleteWhenDone();
  return result;
}

void TWndSubclass::Install(HWND Wnd) {
  SetLastError(0);
  auto previous =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FThunk)));
  if (!previous && GetLastError() != 0) RaiseLastOSError();
  FWnd = Wnd;
  FPrevious = previous;
  FInChain = true;
}

bool TWndSubclass::Replace(HWND Wnd, WNDPROC Expected, WNDPROC Underneath) {
  FWnd = Wnd;
  FPrevious = Underneath;
  if (CurrentProc(Wnd) != Expected) return false;
  SetWindowLongPtrW(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FThunk));
  FInChain = true;
  return true;
}

bool TWndSubclass::OnTop() const { return FWnd && CurrentProc(FWnd) == FThunk; }

// Puts back the procedure under this one, leaving out the pass-throughs of
// ours right beneath it: nothing but this subclass can call them.
void TWndSubclass::Restore() {
  WNDPROC back = FPrevious;
  std::vector<TWndSubclass*> skipped;
  {
    std::lock_guard<std::mutex> lock(PassThroughLock());
    auto& list = PassThroughs();
    for (auto it = list.find(back); it != list.end() && it->second->FWnd == FWnd; it = list.find(back)) {
      TWndSubclass* under = it->second;
      list.erase(it);
      back = under->FPrevious;
      skipped.push_back(under);
    }
  }
  SetWindowLongPtrW(FWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(back));
  FInChain = false;
  for (TWndSubclass* under : skipped) {
    under->FInChain = false;
    under->DeleteWhenDone();
  }
}

void TWndSubclass::Leave() {
  FOwned = false;
  if (FInChain) {
    if (OnTop()) {
      Restore();
    } else {
      std::lock_guard<std::mutex> lock(PassThroughLock());
      PassThroughs()[FThunk] = this;
    }
  }
  DeleteWhenDone();
}

void TWndSubclass::WindowGone() {
  if (FInChain && OnTop()) SetWindowLongPtrW(FWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FPrevious));
  if (!FOwned) {
    std::lock_guard<std::mutex> lock(PassThroughLock());
    PassThroughs().erase(FThunk);
  }
  FInChain = false;
  FWnd = nullptr;
}

// Gone when its owner let go, no window can call it and no call of it runs.
void TWndSubclass::DeleteWhenDone() {
  if (!FOwned && !FInChain && FBusy == 0) delete this;
}

TWndSubclass* SubclassWindow(HWND Wnd, TWndMethod Method) {
  auto* s = new TWndSubclass(Method, nullptr, nullptr);
  try {
    s->Install(Wnd);
  } catch (...) {
    delete s;
    throw;
  }
  return s;
}

void UnsubclassWindow(TWndSubclass* Subclass) {
  if (Subclass) Subclass->Leave();
}
