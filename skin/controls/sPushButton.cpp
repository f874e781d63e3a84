#include "skin/controls/sPushButton.h"

#include "classlib/ui/ActnList.h"
#include "classlib/ui/Buttons.h"
#include "skin/controls/sButtonLook.h"
#include "skin/core/sVclUtils.h"
#include "skin/graphics/acGlow.h"

template <class Base, int KindCode>
bool TsPushButton<Base, KindCode>::PushButtonMessage(TMessage& Message) {
  TsCtrlSkinData* sd = this->SkinData();
  const bool shown = this->Visible() || IsDesigning(this);
  TsSkinManager* m = sd->GetSkinManager();
  switch (Message.Msg) {
    case WM_WINDOWPOSCHANGING:
      FRegionChanged = true;
      return false;
    case WM_WINDOWPOSCHANGED:
      FRegionChanged = true;
      sd->BGChanged = true;
      return false;
    case WM_SETFOCUS:
    case CM_ENTER:
      if (!shown || IsDesigning(this)) return false;
      FocusMessage(Message, true);
      return true;
    case WM_KILLFOCUS:
    case CM_EXIT:
      if (!shown || IsDesigning(this)) return false;
      FocusMessage(Message, false);
      return true;
    case WM_ENABLE:
      return true;
    case WM_SETTEXT:
      if (!this->Showing()) return false;
      StopFade();
      {
        TRedrawOff off(this);
        inherited::WndProc(Message);
      }
      return true;
    case WM_PRINT:
      FRegionChanged = true;
      sd->Updating = false;
      OurPaintHandler(reinterpret_cast<HDC>(Message.WParam));
      return true;
    case CM_DIALOGCHAR:
      if (this->Enabled() && this->Focused() && Message.WParam == VK_SPACE) {
        StopFade();
        FRegionChanged = true;
        sd->BGChanged = true;
        if (sd->GlowID != -1) HideGlow(sd->GlowID);
        this->Repaint();
      }
      return false;
    case CM_FOCUSCHANGED:
      if (this->Visible()) {
        if (FocusGuard) {
          inherited::WndProc(Message);
        } else {
          TRedrawOff off(this);
          inherited::WndProc(Message);
        }
      }
      return false;
    case CM_MOUSEENTER:
      if (this->Enabled() && !IsDesigning(this) && !sd->MouseAbove && !(m && m->Options()->NoMouseHover())) {
        if (OnMouseEnter) OnMouseEnter(this);
        sd->MouseAbove = true;
        sd->BGChanged = false;
        ChangePaint(false, aeMouseEnter);
      }
      return false;
    case CM_MOUSELEAVE:
      if (this->Enabled() && !IsDesigning(this)) {
        if (OnMouseLeave) OnMouseLeave(this);
        sd->MouseAbove = false;
        sd->BGChanged = false;
        ChangePaint(false, aeMouseLeave);
      }
      return false;
    case CM_UIACTIVATE:
      sd->Updating = false;
      return false;
    case CN_DRAWITEM:
      Message.WParam = 0;
      Message.LParam = 0;
      Message.Result = 1;
      return true;
    default:
      if (Message.Msg == SM_ALPHACMD && Message.WParamHi() == ACMD_PARENT_UPDATED) {
        if (sd->Updating) {
          if (!InUpdating(sd, true)) this->Repaint();
          return true;
        }
        return CommonMessage(Message, sd);
      }
      return false;
  }
}

template <class Base, int KindCode>
void TsPushButton<Base, KindCode>::SkinnedWndProc(TMessage& Message) {
  if (HandleSkinnedMessage(Message)) return;
  if (CommonWndProc(Message, this->SkinData())) return;
  inherited::WndProc(Message);
  if (IsDestroying(this)) return;
  AfterInherited(Message);
}

template <class Base, int KindCode>
void TsPushButton<Base, KindCode>::FocusMessage(TMessage& Message, bool Entering) {
  TsCtrlSkinData* sd = this->SkinData();
  if (Entering) {
    if (this->Enabled() && !IsDestroying(this) && !FocusGuard) {
      {
        TRedrawOff off(this);
        FocusGuard = true;
        inherited::WndProc(Message);
        FocusGuard = false;
      }
      if (FFadeTimer && FFadeTimer->Enabled())
        FFadeTimer->Change();
      else
        sd->Invalidate();
      return;
    }
    inherited::WndProc(Message);
    return;
  }
  if (!this->Enabled() || IsDestroying(this)) {
    inherited::WndProc(Message);
    return;
  }
  StopFade();
  {
    TRedrawOff off(this);
    inherited::WndProc(Message);
  }
  if (Skinned()) {
    sd->Focused = false;
    sd->Invalidate();
    if (sd->GlowID != -1) HideGlow(sd->GlowID);
  }
}

template <class Base, int KindCode>
void TsPushButton<Base, KindCode>::AfterInherited(TMessage& Message) {
  TsCtrlSkinData* sd = this->SkinData();
  const bool shown = this->Visible() || IsDesigning(this);
  switch (Message.Msg) {
    case WM_SETFONT:
      if (shown) {
        sd->Updating = false;
        sd->Invalidate();
      }
      break;
    case CM_CANCELMODE:
      if (sd->GlowID != -1) {
        HideGlow(sd->GlowID);
        sd->GlowID = -1;
      }
      break;
    case CM_VISIBLECHANGED:
      if (this->Visible()) {
        sd->BGChanged = true;
        sd->Updating = false;
        this->Repaint();
      }
      break;
    case CM_ENABLEDCHANGED:
      if (shown) {
        if (!this->Enabled()) StopFade();
        sd->Updating = false;
        sd->Invalidate();
      }
      break;
    case CM_ACTIONUPDATE:
      if (auto* action = dynamic_cast<TCustomAction*>(this->Action())) this->SetEnabled(action->Enabled());
      break;
    case WM_KEYUP:
      // The pressed look of a keyboard press ends.
      if (Skinned() && Message.WParam == VK_SPACE) {
        FRegionChanged = true;
        sd->BGChanged = true;
        this->Repaint();
      }
      break;
    default:
      break;
  }
}

template class TsPushButton<TButton, COC_TsButton>;
template class TsPushButton<TBitBtn, COC_TsBitBtn>;
