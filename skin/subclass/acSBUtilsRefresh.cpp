// The entry points through which skinned controls attach, refresh and remove
// skinned scroll bars, and the unit's start-up and shut-down.
#include "skin/subclass/acSBUtils.h"

#include "skin/core/sVclUtils.h"

TacFlatSBProc Ac_UninitializeFlatSB = nullptr;
TacFlatSBProc Ac_InitializeFlatSB = nullptr;
TacGetScrollBarInfo Ac_GetScrollBarInfo = nullptr;

namespace {

HMODULE gUser32 = nullptr;
HMODULE gComCtl32 = nullptr;

bool ControlBusy(TsCommonData* SkinData) {
  const TControl* c = SkinData ? SkinData->OwnerControl : nullptr;
  if (!c) return false;
  const auto state = c->ComponentState();
  return state.Contains(csLoading) || state.Contains(csDestroying) || state.Contains(csDesigning);
}

HWND ControlHandle(TsCommonData* SkinData) {
  auto* w = dynamic_cast<TWinControl*>(SkinData ? SkinData->OwnerControl : nullptr);
  return w ? w->WindowHandle() : nullptr;
}


TacScrollWnd* NewScrollWnd() { return new TacScrollWnd; }

struct TStartup {
  TStartup() { acSBUtilsStartup(); }
  ~TStartup() {
    if (gUser32) FreeLibrary(gUser32);
    if (gComCtl32) FreeLibrary(gComCtl32);
    gUser32 = gComCtl32 = nullptr;
    Ac_UninitializeFlatSB = Ac_InitializeFlatSB = nullptr;
    Ac_GetScrollBarInfo = nullptr;
  }
};
TStartup gStartup;

}  // namespace

void FreeScrollObject(TacScrollWnd*& Obj) {
  TacScrollWnd* o = Obj;
  Obj = nullptr;
  delete o;
}

void AttachScrollObject(TsScrollWndData* SkinData, TacScrollWnd*& Obj, TacScrollWnd* (*Make)()) {
  if (Obj && Obj->Detached) FreeScrollObject(Obj);
  HWND wnd = ControlHandle(SkinData);
  if (!Obj && wnd) {
    TacScrollWnd* o = Make();
    o->Create(wnd, SkinData, SkinData->GetSkinManager(), TacSkinParams{}, true);
    Obj = o;
  }
}

void acSBUtilsStartup() {
  static bool done = false;
  if (done) return;
  done = true;
  acSBUtilsFillProviderSeams();
  gUser32 = LoadLibraryW(L"user32.dll");
  if (gUser32)
    Ac_GetScrollBarInfo = reinterpret_cast<TacGetScrollBarInfo>(
        reinterpret_cast<void*>(GetProcAddress(gUser32, "GetScrollBarInfo")));
  gComCtl32 = LoadLibraryW(L"comctl32.dll");
  if (gComCtl32) {
    Ac_UninitializeFlatSB =
        reinterpret_cast<TacFlatSBProc>(reinterpret_cast<void*>(GetProcAddress(gComCtl32, "UninitializeFlatSB")));
    Ac_InitializeFlatSB =
        reinterpret_cast<TacFlatSBProc>(reinterpret_cast<void*>(GetProcAddress(gComCtl32, "InitializeFlatSB")));
  }
}

void RefreshScrolls(TsScrollWndData* SkinData, TacScrollWnd*& Obj) {
  if (!SkinData || ControlBusy(SkinData)) return;
  if (SkinData->Skinned()) {
    if (Ac_UninitializeFlatSB && ControlHandle(SkinData)) Ac_UninitializeFlatSB(ControlHandle(SkinData));
    AttachScrollObject(SkinData, Obj, &NewScrollWnd);
  } else {
    FreeScrollObject(Obj);
    if (Ac_InitializeFlatSB && ControlHandle(SkinData)) Ac_InitializeFlatSB(ControlHandle(SkinData));
  }
}

void UpdateScrolls(TacScrollWnd* Obj, bool Repaint) {
  if (!Obj || !Obj->HorzBar || !Obj->VertBar || !IsWindowVisible(Obj->WndHandle)) return;
  if (Obj->SkinData && Obj->SkinData->GetUpdating()) return;
  for (TacScrollBar* bar : {Obj->HorzBar, Obj->VertBar}) {
    bar->ScrollInfo.cbSize = sizeof(SCROLLINFO);
    bar->ScrollInfo.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
    GetScrollInfo(Obj->WndHandle, bar->BarKind == 0 ? SB_HORZ : SB_VERT, &bar->ScrollInfo);
  }
  if (Repaint && !InAnimationProcess) ac_NCDraw(Obj, Obj->WndHandle, -1, nullptr);
}

void UninitializeACScroll(HWND Wnd, bool FreeObj, bool Repaint, TacScrollWnd*& Obj) {
  if (!Obj) return;
  if (!Obj->Detached && Obj->OwnerControl()) {
    Obj->RemoveSubclass();
    Obj->FreeBars();
    if (IsWindowVisible(Wnd)) RefreshFrame(Wnd, Repaint);
  }
  if (FreeObj) {
    // A plain window gets its procedure back here, but never from under
    // another party's procedure put over ours.
    if (!Obj->Detached && Obj->SubclassOnTop()) {
      Obj->RemoveSubclass();
      if (IsWindow(Wnd) && IsWindowVisible(Wnd)) RefreshFrame(Wnd, Repaint);
    }
    FreeScrollObject(Obj);
  }
}

TacScrollWnd* InitControl(HWND Wnd, TsCommonData* SkinData, TsSkinManager* Manager) {
  if (!Manager || !Manager->Active() || GetSubclassObject(Wnd)) return nullptr;
  return acCreateWnd<TacScrollWnd>(Wnd, SkinData, Manager, TacSkinParams{}, true);
}

bool Scrolls_SetStyle(HWND Wnd, Integer, Integer) {
  if (!GetSubclassObject(Wnd)) return false;
  if (IsWindowVisible(Wnd)) RefreshFrame(Wnd, true);
  return true;
}

TacScrollBar* GetSubclassBar(HWND Wnd, Integer Kind) {
  auto* obj = dynamic_cast<TacScrollWnd*>(GetSubclassObject(Wnd));
  if (!obj) return nullptr;
  return Kind == 0 ? obj->HorzBar : Kind == 1 ? obj->VertBar : nullptr;
}

bool SetSubclassMinThumb(HWND Wnd, Integer Which, Integer Size) {
  auto* obj = dynamic_cast<TacScrollWnd*>(GetSubclassObject(Wnd));
  if (!obj) return false;
  const Integer size = static_cast<Integer>(static_cast<Word>(Size));
  if ((Which == 0 || Which == 3) && obj->HorzBar) obj->HorzBar->MinThumbSize = size;
  if ((Which == 1 || Which == 3) && obj->VertBar) obj->VertBar->MinThumbSize = size;
  return true;
}
