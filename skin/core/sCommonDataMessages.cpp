// The skin state's handler of the skin command message (CommonMessage) and
// the window messages every skinned control hands it (CommonWndProc).
#include "classlib/ui/StdCtrls.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/sSkinMenus.h"
#include "skin/graphics/acGlow.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

const TsGeneralData* SectionOf(const TsCommonData* S) {
  TsSkinManager* m = S->GetSkinManager();
  if (!m || !m->IsValidSkinIndex(S->SkinIndex)) return nullptr;
  return &m->Sections[static_cast<size_t>(S->SkinIndex)];
}

bool CacheEmpty(const TsCommonData* S) {
  return !S->CacheBmp || S->CacheBmp->Width() == 0 || S->CacheBmp->Height() == 0;
}

void EmptyCache(TsCommonData* S) {
  if (S->CacheBmp) S->CacheBmp->SetSize(0, 0);
}

TWinControl* WinOwner(const TsCommonData* S) { return dynamic_cast<TWinControl*>(S->OwnerControl); }

// The command came with the state's own manager.
bool FromOwnManager(const TMessage& Message, const TsCommonData* S) {
  TsSkinManager* m = S->GetSkinManager();
  return m && Message.LParam == reinterpret_cast<LPARAM>(m);
}

// ------------------------------------------------------------ the commands

void SkinLoaded(TMessage& Message, TsCommonData* S) {
  if (!FromOwnManager(Message, S)) return;
  UpdateData(S);
  const AnsiString name = S->SkinSection();
  InitIndexes(S, &name, 0);
  EmptyCache(S);
  UpdateSkinState(S, false);
  RestrictDrawing = false;
}

void SkinUnloaded(TMessage& Message, TsCommonData* S) {
  if (!FromOwnManager(Message, S)) return;
  TsSkinManager* m = S->GetSkinManager();
  if (IsDestroying(m) && S->SkinManager() == m) S->ForgetManager();
  S->BorderIndex = S->SkinIndex = S->Texture = S->HotTexture = -1;
  S->Updating = true;
  EmptyCache(S);
  // The plain colours come back.
  if (auto* edit = dynamic_cast<TCustomEdit*>(S->OwnerControl)) {
    if (!S->CustomColor()) edit->SetColor(clWindow);
    if (!S->CustomFont()) edit->Font()->SetColor(clWindowText);
    if (edit->HandleAllocated()) RedrawWindow(edit->WindowHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  } else if (TWinControl* w = WinOwner(S)) {
    for (int i = 0; i < w->ControlCount(); ++i)
      if (auto* label = dynamic_cast<TLabel*>(w->Controls(i))) label->Font()->SetColor(clWindowText);
  }
}

void SkinRepaint(TMessage& Message, TsCommonData* S) {
  if (!FromOwnManager(Message, S)) return;
  S->BGChanged = true;
  S->Updating = false;
  ApplySkinColors(S, true);
  UpdateSkinState(S, false);
}

void ParentUpdated(TsCommonData* S) {
  TWinControl* w = WinOwner(S);
  if (!S->Updating || !w) return;
  if (!InUpdating(S, true) && w->HandleAllocated())
    RedrawWindow(w->WindowHandle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  SetParentUpdated(w);
}

LRESULT PaintWait(TsCommonData* S) {
  if (InUpdating(S, false)) return 1;
  if (!IsCached(S) || S->CustomColor()) return 0;
  TWinControl* w = WinOwner(S);
  if (!w) return 0;
  if (!CacheEmpty(S)) return S->CacheBmp->Width() != w->Width() || S->CacheBmp->Height() != w->Height() ? 1 : 0;
  if (w->HandleAllocated()) SendAMessage(w->WindowHandle(), ACMD_BUILD_CACHE);
  return CacheEmpty(S) ? 1 : 0;
}

void RepaintIfMoved(TMessage& Message, TsCommonData* S) {
  const bool moved = S->RepaintIfMoved();
  S->BGChanged = S->BGChanged || moved;
  TWinControl* w = WinOwner(S);
  if (!w) return;
  if (AlphaCmdLow(Message.WParam) == 1 && w->HandleAllocated())
    RedrawWindow(w->WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_NOINTERNALPAINT | RDW_NOERASE | RDW_ALLCHILDREN);
  if (!moved) return;
  for (int i = 0; i < w->ControlCount(); ++i)
    if (!IsDestroying(w->Controls(i))) SendAMessage(w->Controls(i), ACMD_REPAINT_IF_MOVED, 0);
}

// The colour the owner's children take as its background.
void QueryColor(TMessage& Message, TsCommonData* S) {
  TControl* c = S->OwnerControl;
  if (!c) return;
  const TsGeneralData* section = SectionOf(S);
  if (!S->Skinned(false) || !section) {
    Message.Result = ColorToRGB(c->Color());
    return;
  }
  const TsGenState& normal = section->Props[0];
  TWinControl* parent = c->Parent();
  if (normal.Transparency == 0) {
    Message.Result = normal.Color;
  } else if (normal.Transparency == 100) {
    if (!parent)
      Message.Result = ColorToRGB(c->Color());
    else if ((SendAMessage(parent, ACMD_QUERY_HOOKED) & 0xFF) == 1)
      Message.Result = SendAMessage(parent, ACMD_QUERY_COLOR, 0);
    else
      Message.Result = parent->Color();
  } else {
    const TColor under = parent ? static_cast<TColor>(SendAMessage(parent, ACMD_QUERY_COLOR, 0)) : ColorToRGB(c->Color());
    Message.Result = MixColors(under, normal.Color, normal.Transparency / 100.0);
  }
}

void FreeCache(TsCommonData* S) {
  if (!S->CacheBmp) return;
  if (TWinControl* w = WinOwner(S))
    for (TWinControl* child : w->WinControls())
      if (child->HandleAllocated()) SendAMessage(child->WindowHandle(), ACMD_FREE_CACHE);
  EmptyCache(S);
  S->BGChanged = true;
}

void FrameChanged(TMessage& Message, TsCommonData* S) {
  TWinControl* w = WinOwner(S);
  if (!w) return;
  if (w->HandleAllocated())
    SetWindowPos(w->WindowHandle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOCOPYBITS | SWP_NOOWNERZORDER |
                     SWP_NOSENDCHANGING);
  AlphaBroadCast(w, Message);
}

}  // namespace

bool CommonMessage(TMessage& Message, TsCommonData* SkinData) {
  if (!SkinData || Message.Msg != SM_ALPHACMD) return false;
  TsCommonData* S = SkinData;
  const LPARAM lp = Message.LParam;
  switch (AlphaCmdOf(Message.WParam)) {
    case ACMD_SKIN_LOADED: SkinLoaded(Message, S); return true;
    case ACMD_SKIN_UNLOADED: SkinUnloaded(Message, S); return true;
    case ACMD_SKIN_REPAINT: SkinRepaint(Message, S); return true;
    case ACMD_PARENT_UPDATED: ParentUpdated(S); return true;
    case ACMD_QUERY_HOOKED: Message.Result = 1; return true;
    case ACMD_SET_UPDATE_FLAG: S->Updating = AlphaCmdLow(Message.WParam) == 1; return true;
    case ACMD_QUERY_PAINT_WAIT: Message.Result = PaintWait(S); return true;
    case ACMD_QUERY_OFFSCREEN: Message.Result = S->OutOfParent ? 1 : 0; return true;
    case ACMD_SECTION_CHANGED:
      if (lp && UpperCase(S->SkinSection()) == reinterpret_cast<const char*>(lp)) {
        RestrictDrawing = false;
        S->Invalidate(false);
      }
      return true;
    case ACMD_ASSIGN_SECTION:
      Message.Result = lp ? 1 : 0;
      if (lp) S->SetSkinSection(reinterpret_cast<TacSectionInfo*>(lp)->Name);
      return true;
    case ACMD_FLAG_BG_CHANGED: S->BGChanged = true; return true;
    case ACMD_REDRAW: S->Invalidate(false); return true;
    case ACMD_QUERY_CHILD_BG_VARIES: Message.Result = ChildBgIsChanged(S) ? 1 : 0; return true;
    case ACMD_REPAINT_IF_MOVED: RepaintIfMoved(Message, S); return true;
    case ACMD_QUERY_COLOR: QueryColor(Message, S); return true;
    case ACMD_FLAG_OFFSCREEN: S->OutOfParent = true; return true;
    case ACMD_BUILD_CACHE: S->BGChanged = false; return true;
    case ACMD_QUERY_SKIN_INDEX:
      if (lp) *reinterpret_cast<Integer*>(lp) = S->SkinIndex;
      return true;
    case ACMD_FREE_CACHE: FreeCache(S); return true;
    case ACMD_SKIN_STATE:
      if (lp == 1) {
        UpdateSkinState(S, true);
      } else {
        if (S->StateFlags == 2) UpdateSkinState(S, false);
        Message.Result = S->StateFlags;
      }
      return true;
    case ACMD_QUERY_BG_INFO:
      if (lp) InitBGInfo(S, reinterpret_cast<PacBGInfo>(lp), S->Focused || S->MouseAbove ? 1 : 0, nullptr);
      return true;
    case ACMD_QUERY_COMMON_DATA: Message.Result = reinterpret_cast<LRESULT>(S); return true;
    case ACMD_PRINT_MODE:
      if (lp)
        S->StateFlags |= 0x200;
      else
        S->StateFlags &= ~0x200;
      S->PrintDC = reinterpret_cast<HDC>(lp);
      return true;
    case ACMD_PAINT_OUTER:
      if (lp) S->PaintOuter(reinterpret_cast<PacBGInfo>(lp), AlphaCmdLow(Message.WParam));
      return true;
    case ACMD_FRAME_CHANGED: FrameChanged(Message, S); return true;
    case ACMD_QUERY_APPLICATION: Message.Result = reinterpret_cast<LRESULT>(Application); return true;
    case ACMD_QUERY_BOUNDS:
      if (lp) *reinterpret_cast<TRect*>(lp) = S->OwnerControl ? S->OwnerControl->BoundsRect() : TRect{};
      return true;
    default: return false;
  }
}

// ------------------------------------------------------------ window messages

namespace {

bool BothTransparent(const TsGeneralData* section) {
  return section->Props[0].Transparency == 100 && section->Props[1].Transparency == 100;
}

bool IsEdit(const TsCommonData* S) { return sEditCtrls.Contains(S->KindCode); }

// The owner takes the colours of a state of its section (1: the hot look);
// true when one changed (the window is then invalidated).
bool ShowLook(TsCommonData* S, const TsGeneralData* section, int State) {
  TControl* c = S->OwnerControl;
  S->BGChanged = true;
  const TsGenState& look = section->Props[static_cast<size_t>(State)];
  bool changed = false;
  if (!S->CustomColor() && c->Color() != look.Color) {
    c->SetColor(look.Color);
    changed = true;
  }
  if (!S->CustomFont() && c->Font()->Color() != look.FontColor.Color) {
    c->Font()->SetColor(look.FontColor.Color);
    changed = true;
  }
  TWinControl* w = WinOwner(S);
  if (changed && w && w->HandleAllocated()) InvalidateRect(w->WindowHandle(), nullptr, TRUE);
  return changed;
}

void HotLook(TsCommonData* S, const TsGeneralData* section) {
  ShowLook(S, section, 1);
  TWinControl* w = WinOwner(S);
  if (w && w->HandleAllocated()) SendMessageW(w->WindowHandle(), WM_NCPAINT, 0, 0);
}

// The frame of an edit-like owner repainted after its look changed.
void RefreshEditFrame(TsCommonData* S, bool Changed) {
  TWinControl* w = WinOwner(S);
  if (!w || !w->Visible() || !IsEdit(S) || !w->HandleAllocated()) return;
  S->BGChanged = true;
  if (Changed) InvalidateRect(w->WindowHandle(), nullptr, TRUE);
  SendMessageW(w->WindowHandle(), WM_NCPAINT, 0, 0);
}

bool OuterAlways(const TsCommonData* S) { return S->OuterEffects->Visibility() == ovAlways; }

void HideOwnGlow(TsCommonData* S) {
  if (S->GlowID != -1) HideGlow(S->GlowID);
  S->GlowID = -1;
}

void Moved(TsCommonData* S) {
  if (OuterAlways(S)) InvalidateParentCache(S);
  if (S->RepaintIfMoved()) {
    S->BGChanged = true;
    if (S->OwnerControl) S->OwnerControl->Perform(SM_ALPHACMD, AlphaCmdParam(ACMD_REPAINT_IF_MOVED, 1), 0);
  }
  HideOwnGlow(S);
}

void Sized(TsCommonData* S) {
  const TsGeneralData* section = SectionOf(S);
  if (!S->Skinned(false) || !section) return;
  S->BGChanged = true;
  if (OuterAlways(S)) InvalidateParentCache(S);
  TWinControl* w = WinOwner(S);
  if (section->Props[0].GradientPercent > 0 && w)
    for (int i = 0; i < w->ControlCount(); ++i)
      if (!IsDestroying(w->Controls(i)))
        w->Controls(i)->Perform(SM_ALPHACMD, AlphaCmdParam(ACMD_REPAINT_IF_MOVED, 1), 0);
  HideOwnGlow(S);
}

// Focus changes of a skinned window control that can take the focus.
void FocusChanged(TsCommonData* S, bool Focused) {
  TWinControl* w = WinOwner(S);
  const TsGeneralData* section = SectionOf(S);
  if (!w || !S->Skinned(false) || !section || !w->CanFocus() || !w->TabStop() || BothTransparent(section)) return;
  S->BGChanged = true;
  S->Focused = Focused;
  if (!IsEdit(S)) return;
  if (Focused) {
    if (section->StateCount >= 2) HotLook(S, section);
  } else if (!ControlIsActive(S)) {
    RefreshEditFrame(S, ShowLook(S, section, 0));
  }
}

bool HoverAllowed(TsCommonData* S) {
  TsSkinManager* m = S->GetSkinManager();
  return !IsDesigning(S->OwnerControl) && S->Skinned(false) && !(m && m->Options()->NoMouseHover());
}

void MouseEnter(TsCommonData* S) {
  if (!HoverAllowed(S)) return;
  const TsGeneralData* section = SectionOf(S);
  if (BothTransparent(section)) return;
  const bool mayBeHot = !sForbidMouse.Contains(S->KindCode);
  TWinControl* w = WinOwner(S);
  if (w && DefaultManager) {
    if (mayBeHot) S->MouseAbove = true;
    DefaultManager->SetActiveControl(w->HandleAllocated() ? w->WindowHandle() : nullptr);
    if (!sCanNotBeHot.Contains(S->KindCode) && (S->KindCode < 92 || S->KindCode > 94)) ShowGlowingIfNeeded(S, false);
    if (IsEdit(S) && section->StateCount >= 2) HotLook(S, section);
  } else if (mayBeHot) {
    S->MouseAbove = true;
  }
}

void MouseLeave(TsCommonData* S) {
  if (!HoverAllowed(S)) return;
  if (!sForbidMouse.Contains(S->KindCode)) S->MouseAbove = false;
  if (!sCanNotBeHot.Contains(S->KindCode) && (S->KindCode < 92 || S->KindCode > 94)) HideOwnGlow(S);
  const TsGeneralData* section = SectionOf(S);
  bool changed = false;
  if (IsEdit(S) && !ControlIsActive(S) && !BothTransparent(section)) changed = ShowLook(S, section, 0);
  RefreshEditFrame(S, changed);
}

void VisibleChanged(TMessage& Message, TsCommonData* S) {
  TsSkinManager* m = S->GetSkinManager();
  TControl* c = S->OwnerControl;
  if (!m || m->Options()->GetOptimizingPriority() != opMemory || !c || IsDestroying(c) || !S->CacheBmp) return;
  if (Message.WParam != 0) {
    S->Updating = false;
  } else {
    // An invisible control keeps no images.
    EmptyCache(S);
    if (TWinControl* w = WinOwner(S))
      for (int i = 0; i < w->ControlCount(); ++i) {
        TControl* child = w->Controls(i);
        auto* cw = dynamic_cast<TWinControl*>(child);
        if (cw && cw->HandleAllocated())
          SendAMessage(cw->WindowHandle(), ACMD_FREE_CACHE);
        else if (!cw)
          child->Perform(SM_ALPHACMD, AlphaCmdParam(ACMD_FREE_CACHE), 0);
      }
  }
  S->BGChanged = true;
}

}  // namespace

bool CommonWndProc(TMessage& Message, TsCommonData* SkinData) {
  if (!SkinData) return false;
  TsCommonData* S = SkinData;
  switch (Message.Msg) {
    case WM_MOVE: Moved(S); break;
    case WM_SIZE: Sized(S); break;
    case WM_SETFOCUS: FocusChanged(S, true); break;
    case WM_KILLFOCUS: FocusChanged(S, false); break;
    case 0x001D:  // WM_FONTCHANGE in the system's numbering
    case CM_ENABLEDCHANGED:
      S->MouseAbove = false;
      S->Focused = false;
      if (S->OwnerControl && !S->OwnerControl->Enabled()) HideOwnGlow(S);
      break;
    case WM_CONTEXTMENU:
      if (TsSkinManager* m = S->GetSkinManager(); m && S->OwnerControl && S->OwnerControl->PopupMenu())
        m->Menus()->HookPopupMenu(S->OwnerControl->PopupMenu(), m->Active());
      break;
    case WM_PARENTNOTIFY:
      if (TWinControl* w = WinOwner(S); w && LOWORD(Message.WParam) == WM_CREATE) AddToAdapter(w);
      break;
    case SM_ALPHACMD: return CommonMessage(Message, S);
    case CM_VISIBLECHANGED: VisibleChanged(Message, S); break;
    case CM_MOUSEENTER: MouseEnter(S); break;
    case CM_MOUSELEAVE: MouseLeave(S); break;
    case CM_SHOWINGCHANGED:
      if (S->OwnerControl && S->OwnerControl->Visible()) S->Loaded();
      break;
    default: break;
  }
  return false;
}
