// The subclass object base: attaching to a window, handing on messages,
// the common skin commands and letting go of the window.
#include "skin/subclass/acSBUtils.h"

#include "classlib/core/SysUtils.h"
#include "classlib/ui/Buttons.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/acDwm.h"
#include "skin/graphics/acGlow.h"

bool acDlgMode = false;
bool bRemoving = false;

namespace {

// The relay's stub stays until the window is gone once the object let go.
void FreeRelay(TacWndRelay*& Relay) {
  if (!Relay) return;
  if (Relay->Instance) FreeObjectInstance(Relay->Instance);
  delete Relay;
  Relay = nullptr;
}

bool SameMethod(const TWndMethod& A, const TWndMethod& B) { return A == B; }

TWndMethod RelayMethod(TacWndRelay* Relay) { return TWndMethod(Relay, &TacWndRelay::WndProc); }

}  // namespace

// ------------------------------------------------------------ TacWndRelay

TacWndRelay::~TacWndRelay() = default;

void TacWndRelay::WndProc(TMessage& Message) {
  if (Target) {
    Target->acWndProc(Message);
    return;
  }
  // The object is gone: the window keeps working through what it replaced.
  if (PrevMethod) {
    PrevMethod(Message);
  } else if (PrevProc) {
    Message.Result = CallWindowProcW(PrevProc, Wnd, Message.Msg, Message.WParam, Message.LParam);
  } else {
    Message.Result = DefWindowProcW(Wnd, Message.Msg, Message.WParam, Message.LParam);
  }
  // After its last message nothing calls the stub again (the stub's caller
  // reads nothing of it after the call).
  if (Message.Msg == WM_NCDESTROY && Instance) {
    WNDPROC stub = Instance;
    delete this;
    FreeObjectInstance(stub);
  }
}

void TacWndRelay::Orphan() { Target = nullptr; }

// ------------------------------------------------------------ unit functions

TacMainWnd* GetSubclassObject(HWND Wnd) {
  if (!Wnd) return nullptr;
  return static_cast<TacMainWnd*>(GetPropW(Wnd, acSubclassProp));
}

void InstallSubclass(TacMainWnd* Obj, HWND Wnd) {
  Obj->ScrollNotifying = false;
  Obj->WndHandle = Wnd;
  SetPropW(Wnd, acSubclassProp, Obj);
  auto* relay = new TacWndRelay;
  relay->Target = Obj;
  relay->Wnd = Wnd;
  Obj->Relay = relay;
  TControl* owner = Obj->OwnerControl();
  if (Obj->OwnedByProvider()) {
    TCustomForm* form = static_cast<TsSkinProvider*>(Obj->SkinData->OwnerObject)->Form;
    Obj->SavedWindowProc = form->WindowProc;
    relay->PrevMethod = form->WindowProc;
    form->WindowProc = RelayMethod(relay);
  } else if (owner) {
    Obj->SavedWindowProc = owner->WindowProc;
    relay->PrevMethod = owner->WindowProc;
    owner->WindowProc = RelayMethod(relay);
  } else {
    Obj->SavedWndProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Wnd, GWLP_WNDPROC));
    relay->PrevProc = Obj->SavedWndProc;
    relay->Instance = MakeObjectInstance(RelayMethod(relay));
    Obj->WndProcInstance = relay->Instance;
    SetWindowLongPtrW(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(relay->Instance));
  }
}

void UninitializeACWnd(HWND Wnd, bool FreeObj, bool Repaint, TacMainWnd*& Obj) {
  if (!Obj) return;
  if (!Obj->Detached) {
    Obj->RemoveSubclass();
    if (IsWindowVisible(Wnd)) RefreshFrame(Wnd, Repaint);
  }
  if (FreeObj) {
    TacMainWnd* o = Obj;
    Obj = nullptr;
    delete o;
  }
}

void InitCtrlData(HWND Wnd, HWND& ParentWnd, TRect& WndRect, TRect& ParentRect, TSize& WndSize, TPoint& WndPos) {
  RECT r{};
  GetWindowRect(Wnd, &r);
  WndRect = TRect{r.left, r.top, r.right, r.bottom};
  ParentWnd = GetParent(Wnd);
  RECT pr{};
  if (ParentWnd) GetWindowRect(ParentWnd, &pr);
  ParentRect = TRect{pr.left, pr.top, pr.right, pr.bottom};
  WndSize = TSize{r.right - r.left, r.bottom - r.top};
  POINT p{r.left, r.top};
  if (ParentWnd) ScreenToClient(ParentWnd, &p);
  WndPos = TPoint{p.x, p.y};
}

void AlphaBroadCastCheck(TControl* Control, HWND Wnd, TMessage& Message) {
  if (auto* w = dynamic_cast<TWinControl*>(Control)) {
    AlphaBroadCast(w, Message);
  } else if (Wnd) {
    AlphaBroadCast(Wnd, Message);
  }
}

void RefreshFrame(HWND Wnd, bool Recalc) {
  if (Recalc) {
    SetWindowPos(Wnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  } else {
    SendMessageW(Wnd, WM_NCPAINT, 1, 0);
  }
}

void AddToTopAdapter(HWND Wnd) {
  HWND top = Wnd;
  while (HWND p = GetParent(top)) top = p;
  if (top) SendAMessage(top, ACMD_ADAPTER_ADD, 0);
}

HFONT CreateNonClientFont(Integer Index) {
  NONCLIENTMETRICSW m{};
  m.cbSize = sizeof m;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0)) return nullptr;
  switch (Index) {
    case 1: return CreateFontIndirectW(&m.lfCaptionFont);
    case 2: return CreateFontIndirectW(&m.lfSmCaptionFont);
    case 3: return CreateFontIndirectW(&m.lfMenuFont);
    case 4: return CreateFontIndirectW(&m.lfStatusFont);
    default: return CreateFontIndirectW(&m.lfMessageFont);
  }
}

void SelectNonClientFont(TCanvas* Canvas, Integer Index) {
  if (!Canvas) return;
  HFONT f = CreateNonClientFont(Index);
  if (!f) return;
  Canvas->Font()->SetHandle(f);  // the canvas font takes its description
  DeleteObject(f);
  SelectObject(Canvas->Handle(), Canvas->Font()->Handle());
}

void SelectWindowFont(TacMainWnd* Obj) {
  if (!Obj || !Obj->SkinData || !Obj->SkinData->CacheBmp) return;
  TCanvas* canvas = Obj->SkinData->CacheBmp->Canvas();
  if (TControl* c = Obj->OwnerControl()) {
    canvas->Font()->Assign(c->Font());
    return;
  }
  if (auto f = reinterpret_cast<HFONT>(SendMessageW(Obj->WndHandle, WM_GETFONT, 0, 0))) {
    canvas->Font()->SetHandle(f);
    return;
  }
  SelectNonClientFont(canvas, 5);
}

bool CanBeHot(TsCommonData* SkinData, bool CheckNoHover) {
  if (!SkinData) return false;
  TsSkinManager* m = SkinData->GetSkinManager();
  if (!m) return false;
  if (SkinData->SkinIndex < 0 || SkinData->BorderIndex < 0) return false;
  if (CheckNoHover && m->Options()->NoMouseHover()) return false;
  const bool sectionStates =
      m->IsValidSkinIndex(SkinData->SkinIndex) && m->Sections[SkinData->SkinIndex].StateCount > 1;
  const bool maskStates = m->IsValidImgIndex(SkinData->BorderIndex) && m->Masks[SkinData->BorderIndex].Columns > 1;
  return sectionStates || maskStates;
}

void SetIntPropIfAny(TObject* Obj, const AnsiString& Name, Integer Value) {
  if (Obj && IsPublishedProp(Obj, Name)) SetOrdProp(Obj, Name, Value);
}

TColor GetColorPropRGB(TObject* Obj, const AnsiString& Name) {
  if (!Obj || !IsPublishedProp(Obj, Name)) return 0;
  return ColorToRGB(static_cast<TColor>(GetOrdProp(Obj, Name)));
}

Integer GetIntPropOrZero(TObject* Obj, const AnsiString& Name) {
  if (!Obj || !IsPublishedProp(Obj, Name)) return 0;
  return static_cast<Integer>(GetOrdProp(Obj, Name));
}

// ------------------------------------------------------------ TacMainWnd

bool TacMainWnd::OwnedByProvider() const {
  return SkinData && SkinData->OwnerObject && SkinData->OwnerObject->Is<TsSkinProvider>();
}

bool TacMainWnd::SubclassOnTop() const {
  if (!Relay) return false;
  if (Relay->Instance)
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(WndHandle, GWLP_WNDPROC)) == Relay->Instance;
  const TWndMethod mine = TWndMethod(Relay, &TacWndRelay::WndProc);
  if (OwnedByProvider()) return SameMethod(static_cast<TsSkinProvider*>(SkinData->OwnerObject)->Form->WindowProc, mine);
  if (TControl* c = OwnerControl()) return SameMethod(c->WindowProc, mine);
  return false;
}

void TacMainWnd::Create(HWND Wnd, TsCommonData* ASkinData, TsSkinManager* AManager, const TacSkinParams& Params,
                        bool Repaint) {
  WndHandle = Wnd;
  SavedWindowProc = nullptr;
  SavedWndProc = nullptr;
  // The system's visual theme would paint over the skin.
  if (uxthemeLib && Ac_SetWindowTheme) {
    bool own = !ASkinData || !ASkinData->OwnerObject || !ASkinData->OwnerObject->Is<TsSkinProvider>() ||
               static_cast<TsSkinProvider*>(ASkinData->OwnerObject)->DrawNonClientArea();
    if (own && ClassName() != "TacMnuWnd" && Params.SkinSection != "DIALOG" && !acDlgMode)
      Ac_SetWindowTheme(Wnd, L" ", L" ");
  }
  WndProcInstance = nullptr;
  Manager = AManager;
  Detached = false;
  if (ASkinData) {
    SkinData = ASkinData;
  } else {
    OwnsSkinData = true;
    InitSkinData();
    if (!Params.SkinSection.empty()) SkinData->SetSkinSection(Params.SkinSection);
    SkinData->OwnerControl = Params.Control;
    SkinData->OwnerObject = Params.Control;
    SkinData->SetCustomFont(!Params.SkinFontColor);
    SkinData->SetCustomColor(!Params.SkinBackColor);
    // Its own state looks its section up now, not only at the next skin.
    SkinData->UpdateIndexes(true);
  }
  SkinData->SetCustomFont(ac_KeepOwnFont || SkinData->CustomFont());
  DialogMode = acDlgMode;
  SaveStdParams();
  SkinParamsApplied = false;
  ReadWindowText();
  if (auto* scroll = dynamic_cast<TacScrollWnd*>(this)) {
    InstallScrollSubclass(scroll, Wnd, Repaint);
  } else {
    InstallSubclass(this, Wnd);
  }
  if (TControl* c = OwnerControl()) {
    SavedControlStyle = c->ControlStyle();
    c->SetControlStyle(c->ControlStyle() + TControlStyle{csOpaque});
  }
  AfterCreation();
}

void TacMainWnd::AfterCreation() {
  if (SkinData) SkinData->Loading = false;
}

void TacMainWnd::InitSkinData() {
  if (!SkinData) SkinData = new TsCommonData(nullptr, true);
  SkinData->Loading = true;
}

TacMainWnd::~TacMainWnd() {
  if (SkinData && !Detached) {
    TControl* c = OwnerControl();
    if (c && !SavedControlStyle.Empty()) c->SetControlStyle(SavedControlStyle);
    if (!(bRemoving && !(Manager && Manager->SkinRemoving))) RemoveSubclass();
    if (uxthemeLib && Ac_SetWindowTheme && IsWindow(WndHandle)) {
      if (OwnedByProvider()) {
        if (static_cast<TsSkinProvider*>(SkinData->OwnerObject)->DrawNonClientArea())
          Ac_SetWindowTheme(WndHandle, nullptr, nullptr);
      } else if (!(SkinData->KindCode == 10 && AeroIsEnabled())) {
        Ac_SetWindowTheme(WndHandle, nullptr, nullptr);
      }
    }
    Detached = true;
  }
  // Whatever still calls our stub (another party's procedure over ours, or
  // a window left subclassed) reaches the replaced procedure from now on.
  if (Relay) {
    Relay->Orphan();
    Relay = nullptr;
  }
  if (OwnsSkinData) delete SkinData;
  SkinData = nullptr;
  Manager = nullptr;
}

void TacMainWnd::RemoveSubclass() {
  if (Relay) {
    if (SubclassOnTop()) {
      if (Relay->Instance) {
        SetWindowLongPtrW(WndHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SavedWndProc));
      } else if (OwnedByProvider()) {
        static_cast<TsSkinProvider*>(SkinData->OwnerObject)->Form->WindowProc = SavedWindowProc;
      } else if (TControl* c = OwnerControl()) {
        c->WindowProc = SavedWindowProc;
      }
      SavedWndProc = nullptr;
      WndProcInstance = nullptr;
      // While our acWndProc runs the relay's stub is on the stack: a stub
      // given back now answers a stale call only when called again, never on return.
      FreeRelay(Relay);
      Detached = true;
    }
    // Another procedure over ours: the chain stays whole, we stay attached.
  } else {
    Detached = true;
  }
  RemovePropW(WndHandle, acSubclassProp);
  RestoreStdParams();
}

LRESULT TacMainWnd::CallPrevWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM& LParam) {
  if (SavedWindowProc) {
    TMessage m;
    m.Msg = Msg;
    m.WParam = WParam;
    m.LParam = LParam;
    SavedWindowProc(m);
    LParam = m.LParam;
    return m.Result;
  }
  if (SavedWndProc) return CallWindowProcW(SavedWndProc, Wnd, Msg, WParam, LParam);
  return 0;
}

void TacMainWnd::ReadWindowText() {
  const int n = GetWindowTextLengthW(WndHandle);
  WideString w(static_cast<size_t>(n > 0 ? n + 1 : 1), u'\0');
  const int got = n > 0 ? GetWindowTextW(WndHandle, reinterpret_cast<LPWSTR>(w.data()), n + 1) : 0;
  w.resize(static_cast<size_t>(got > 0 ? got : 0));
  WindowText = WideToAnsi(w);
}

void TacMainWnd::UninitializeForDestroy(HWND Wnd) {
  TacMainWnd* self = this;
  UninitializeACWnd(Wnd, false, false, self);
}

void TacMainWnd::HandleDestroy(TMessage& Message) {
  if (auto* w = dynamic_cast<TWinControl*>(OwnerControl())) {
    for (int i = 0; i < w->ControlCount(); ++i)
      if (w->Controls(i)->Is<TSpeedButton>()) w->Controls(i)->Perform(WM_DESTROY, 0, 0);
  }
  if (SkinData && SkinData->GlowID >= 0) HideGlow(SkinData->GlowID);
  const HWND wnd = WndHandle;
  if (SavedWindowProc || SavedWndProc) {
    if (OwnerControl()) {
      UninitializeForDestroy(wnd);
      // Sent again only when it cannot lead back to us.
      if (Detached) {
        SendMessageW(wnd, Message.Msg, Message.WParam, Message.LParam);
      } else {
        CallPrevWndProc(wnd, Message.Msg, Message.WParam, Message.LParam);
      }
    } else if (CallPrevWndProc(wnd, Message.Msg, Message.WParam, Message.LParam) == 0) {
      UninitializeForDestroy(wnd);
    }
    Message.Result = 1;
  } else if (!InDestroy && !SubclassOnTop()) {
    InDestroy = true;
    Message.Result = SendMessageW(wnd, Message.Msg, Message.WParam, Message.LParam);
    InDestroy = false;
  } else {
    Message.Result = DefWindowProcW(wnd, Message.Msg, Message.WParam, Message.LParam);
  }
}

void TacMainWnd::acWndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_DESTROY:
    case WM_NCDESTROY:
      HandleDestroy(Message);
      return;
    case WM_UPDATEUISTATE:
      return;
    case WM_SIZE:
      if (SkinData) SkinData->BGChanged = true;
      break;
    case WM_SETTEXT:
      Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
      ReadWindowText();
      return;
    case WM_CONTEXTMENU:
      if (TControl* c = OwnerControl())
        if (c->PopupMenu() && Manager && Manager->Menus()) Manager->Menus()->HookPopupMenu(c->PopupMenu(), Manager->Active());
      break;
    case WM_MOUSEMOVE:
      if (DefaultManager && !IsDesigning(DefaultManager) && IsWindowEnabled(WndHandle) &&
          DefaultManager->ActiveControl() != WndHandle)
        DefaultManager->SetActiveControl(WndHandle);
      break;
    case WM_PRINT:
      Message.Result = SendMessageW(WndHandle, WM_PAINT, Message.WParam, Message.LParam);
      return;
    default:
      break;
  }
  if (!SkinData || !Manager || !Manager->Active() || Message.Msg != SM_ALPHACMD) {
    Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  HandleAlphaCmd(Message);
}

void TacMainWnd::HandleAlphaCmd(TMessage& Message) {
  const LPARAM own = reinterpret_cast<LPARAM>(Manager);
  auto passOn = [&] { Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam); };
  switch (AlphaCmdOf(Message.WParam)) {
    case ACMD_SKIN_LOADED:
      if (Message.LParam == own) {
        SkinData->UpdateIndexes(true);
        SkinData->BGChanged = true;
        AlphaBroadCastCheck(OwnerControl(), WndHandle, Message);
      }
      passOn();
      return;
    case ACMD_SKIN_UNLOADED:
      if (Message.LParam == own) RestoreStdParams();
      passOn();
      return;
    case ACMD_SKIN_REPAINT:
      if (Message.LParam != own) {
        passOn();
        return;
      }
      SkinData->UpdateIndexes(true);
      SkinData->BGChanged = true;
      SkinData->Updating = false;
      if (IsWindowVisible(WndHandle)) {
        SendMessageW(WndHandle, WM_PAINT, 0, 0);
        AlphaBroadCastCheck(OwnerControl(), WndHandle, Message);
      }
      return;
    case ACMD_PARENT_UPDATED:
      if (!SkinData->Updating) {
        passOn();
        return;
      }
      if (!InUpdating(SkinData, true)) {
        SendMessageW(WndHandle, WM_NCPAINT, 0, 0);
        RedrawWindow(WndHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      }
      if (auto* w = dynamic_cast<TWinControl*>(OwnerControl())) SetParentUpdated(w);
      return;
    case ACMD_QUERY_HOOKED:
      Message.Result = 1;
      return;
    case ACMD_QUERY_PAINT_WAIT:
      Message.Result = SkinData->GetUpdating() ? 1 : 0;
      return;
    case ACMD_ASSIGN_SECTION:
      if (Message.LParam) {
        SkinData->SetSkinSection(reinterpret_cast<TacSectionInfo*>(Message.LParam)->Name);
        Message.Result = 1;
      } else {
        Message.Result = 0;
      }
      return;
    case ACMD_QUERY_CHILD_BG_VARIES:
      if (OwnerControl()) {
        CommonMessage(Message, SkinData);
      } else {
        passOn();
      }
      return;
    case ACMD_QUERY_COLOR:
      Message.Result = 0;
      passOn();
      if (Message.Result == 0) Message.Result = static_cast<LRESULT>(GetBGColor(SkinData, 0, WndHandle));
      return;
    case ACMD_BUILD_CACHE:
      PrepareCache(SkinData, WndHandle, false);
      passOn();
      return;
    case ACMD_QUERY_BG_INFO:
      InitBGInfo(SkinData, reinterpret_cast<PacBGInfo>(Message.LParam), 0, WndHandle);
      return;
    case ACMD_QUERY_COMMON_DATA:
      Message.Result = reinterpret_cast<LRESULT>(SkinData);
      return;
    case ACMD_PRINT_MODE:
      if (Message.LParam) {
        SkinData->StateFlags |= 0x200;
      } else {
        SkinData->StateFlags &= ~Word(0x200);
      }
      SkinData->PrintDC = reinterpret_cast<HDC>(Message.LParam);
      passOn();
      return;
    case ACMD_QUERY_APPLICATION:
      Message.Result = reinterpret_cast<LRESULT>(Application);
      return;
    default:
      passOn();
      return;
  }
}
