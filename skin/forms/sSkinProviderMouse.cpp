// The non-client mouse of a skinned form: hit codes, title buttons that
// press and release, the system menu on the icon and on right clicks,
// double clicks on the caption, hover tracking and the outline move.
#include "skin/core/acntUtils.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/forms/sSkinProviderNames.h"
#include "skin/forms/sVclUtilsAnim.h"

namespace {

bool IsTitleButton(Integer Code) {
  return Code == achit::MinButton || Code == achit::MaxButton || Code == achit::Close || Code == achit::Help;
}

bool IsSizingCode(Integer Code) { return Code >= achit::Left && Code <= achit::BottomRight; }

TPoint ScreenPointOf(const TMessage& Message) {
  return TPoint{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
}

}  // namespace

void TsSkinProvider::AC_WMNCHitTest(TMessage& Message) {
  if (HookCreated && !FPrepared) LoadInit();
  if (CaptionHeight(true) == 0 || !FDrawNonClientArea) {
    CallOld(Message);
    return;
  }
  Message.Result = HTProcess(Message);
  const Integer code = static_cast<Integer>(Message.Result);
  if (code == achit::Nowhere || code == achit::Client || code == achit::Caption || code == achit::Menu ||
      IsSizingCode(code)) {
    TsSkinManager* m = FSkinData->GetSkinManager();
    const Integer grip = m ? m->ConstData.GripImage : -1;
    if (IsGripVisible() && m && m->IsValidImgIndex(grip)) {
      const TPoint p = CursorToPoint(ScreenPointOf(Message).X, ScreenPointOf(Message).Y);
      const TPoint g = RBGripPoint(grip);
      if (p.X > g.X && p.Y > g.Y) {
        Message.Result = achit::BottomRight;
        return;
      }
    }
    CallOld(Message);
  }
  if (OnExtHitTest) {
    TWMNCHitTest& hit = reinterpret_cast<TWMNCHitTest&>(Message);
    OnExtHitTest(hit);
  }
}

void TsSkinProvider::AC_WMNCMouseMove(TMessage& Message) {
  if (!Form->Enabled()) {
    CallOld(Message);
    return;
  }
  if (TsSkinManager* m = FSkinData->GetSkinManager()) m->SetActiveControl(Form->WindowHandle());
  // The caption's leaving is wanted too (the mouse may leave the window over a button).
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_NONCLIENT, Form->WindowHandle(), 0};
  TrackMouseEvent(&track);
  TMessage hit{WM_NCHITTEST, 0, Message.LParam, 0};
  const Integer code = HTProcess(hit);
  Message.WParam = static_cast<WPARAM>(code);
  if (IsTitleButton(code) || (code >= achit::MDIClose && code <= achit::MDIMinimize)) {
    SetHotHT(code, true);
    return;
  }
  SetHotHT(0, true);
  CallOld(Message);
}

void TsSkinProvider::AC_WMNCLButtonDown(TMessage& Message) {
  const Integer code = static_cast<Integer>(Message.WParam);
  HWND wnd = Form->WindowHandle();
  const TPoint origin = FormLeftTop();
  if (!FDrawNonClientArea) {
    CallOld(Message);
    return;
  }
  if (code == achit::SysMenu) {
    Message.Result = 0;
    CallOld(Message);
    if (Message.Result != 0) return;
    SetHotHT(0, true);
    bTitleBtnDown = false;
    DropSysMenu(origin.X + SysBorderWidth(wnd, BorderForm.get(), false),
                origin.Y + BorderHeight(true) + IconRect.Height() + SysBorderHeight(wnd, BorderForm.get(), true));
    return;
  }
  if (code == achit::Menu) {
    CallOld(Message);
    return;
  }
  if (IsTitleButton(code)) {
    SetPressedHT(code);
    return;
  }
  if (IsIconic(wnd)) {
    Form->Perform(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    return;
  }
  SetHotHT(0, true);
  const TPoint p = CursorToPoint(ScreenPointOf(Message).X, ScreenPointOf(Message).Y);
  if (IsZoomed(wnd) && p.Y < SysBorderHeight(wnd, BorderForm.get(), true) + CaptionHeight(true)) {
    if (!Form->Active() && Form->Enabled() && Form->CanFocus()) Form->SetFocus();
    if (code == achit::Caption) return;
  }
  if (ResizeMode == rmBorder && Form->Enabled() && code != achit::Menu) {
    BOOL full = FALSE;
    SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &full, 0);
    if (full) {
      if (code == achit::Caption) CallOld(Message);
      acOutline.Moving = !IsSizingCode(code);
      acOutline.HitCode = code;
      SendMessageW(wnd, WM_SYSCOMMAND, acOutline.Moving ? SC_MOVE : SC_SIZE, 0);
      StartMove(ScreenPointOf(Message).X, ScreenPointOf(Message).Y);
      return;
    }
  }
  if (code == achit::Caption && BlendsOnMoving()) {
    if (!FormActive) {
      FormActive = true;
      SkinData()->BGChanged = true;
    }
    if (Form->CanFocus()) SetFocus(wnd);
    StartBlendOnMoving(this, true);
    return;
  }
  CallOld(Message);
}

// Whether a drag by the caption fades the form (the manager's BlendOnMoving).
bool TsSkinProvider::BlendsOnMoving() {
  TsSkinManager* m = SkinData()->GetSkinManager();
  return m && m->AnimEffects()->BlendOnMoving()->Active && AllowBlendOnMoving && Form->FormStyle() != fsMDIChild &&
         !IsIconic(Form->WindowHandle());
}

void TsSkinProvider::AC_WMLButtonUp(TMessage& Message) {
  if (!FDrawNonClientArea || !Form->Enabled()) {
    CallOld(Message);
    return;
  }
  HWND wnd = Form->WindowHandle();
  const Integer code = static_cast<Integer>(Message.WParam);
  const bool down = bTitleBtnDown;
  // A button-up ends the press whatever it lands on.
  bTitleBtnDown = false;
  switch (Message.Msg == WM_NCLBUTTONUP ? code : 0) {
    case achit::MinButton: {
      const TPoint p = CursorToPoint(ScreenPointOf(Message).X, ScreenPointOf(Message).Y);
      if (!down || !(p.X >= ButtonMin.Rect.Left && p.X < ButtonMin.Rect.Right && p.Y >= ButtonMin.Rect.Top &&
                     p.Y < ButtonMin.Rect.Bottom)) {
        SetHotHT(0, true);
        CallOld(Message);
        return;
      }
      SetHotHT(0, true);
      if (Application && Application->MainForm() == Form) {
        TFlagScope minimizing(Hiding);
        SendMessageW(wnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      } else {
        SendMessageW(wnd, WM_SYSCOMMAND, IsIconic(wnd) ? SC_RESTORE : SC_MINIMIZE, 0);
      }
      FSkinData->BGChanged = true;
      return;
    }
    case achit::MaxButton:
      if (!(SysEnabledMax() || (IsZoomed(wnd) && SysEnabledRestore()))) return;
      SetHotHT(0, true);
      if (!down) {
        CallOld(Message);
        return;
      }
      SendMessageW(wnd, WM_SYSCOMMAND, IsZoomed(wnd) ? SC_RESTORE : SC_MAXIMIZE, 0);
      return;
    case achit::Close:
      if (!SysEnabledClose() || !down) return;
      ButtonClose.State = 0;
      SendMessageW(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      if (IsDestroying(Form) || IsDestroying(this)) return;
      KillAnimations();
      if (IsWindowVisible(wnd)) {
        FSkinData->BGChanged = true;
        SetHotHT(0, true);
      }
      return;
    case achit::Help:
      SetHotHT(0, true);
      if (!down) return;
      SendMessageW(wnd, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
      Form->Perform(WM_NCPAINT, 0, 0);
      return;
    default:
      break;
  }
  if (!IsIconic(wnd) && ResizeMode == rmBorder && !IsZoomed(wnd) && acOutline.InProcess) {
    POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
    if (Message.Msg == WM_LBUTTONUP) ClientToScreen(wnd, &p);
    StopMove(p.x, p.y);
    ReleaseCapture();
    return;
  }
  if (down && HotElement > 0) SetHotHT(0, true);
  CallOld(Message);
}

void TsSkinProvider::AC_WMNCLButtonDblClick(TMessage& Message) {
  HWND wnd = Form->WindowHandle();
  if (ResizeMode == rmBorder && acOutline.InProcess) {
    StopMove(ScreenPointOf(Message).X, ScreenPointOf(Message).Y);
    ReleaseCapture();
    acOutline.InProcess = false;
  }
  const Integer code = static_cast<Integer>(Message.WParam);
  const bool iconic = IsIconic(wnd);
  if (code == achit::Caption) {
    if ((HaveSysMenu() && (SysEnabledMax() || SysEnabledRestore())) || (!HasBorder() && iconic))
      SendMessageW(wnd, WM_SYSCOMMAND, IsZoomed(wnd) || iconic ? SC_RESTORE : SC_MAXIMIZE, 0);
    else if (iconic)
      SendMessageW(wnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    Message.WParam = 0;
    return;
  }
  if (code == achit::SysMenu) {
    Form->Close();
    return;
  }
  CallOld(Message);
}

void TsSkinProvider::AC_WMNCRButtonDown(TMessage& Message) {
  const Integer code = static_cast<Integer>(Message.WParam);
  if (code == achit::Caption || code == achit::SysMenu) return;
  CallOld(Message);
}

void TsSkinProvider::AC_WMNCRButtonUp(TMessage& Message) {
  if (!HasBorder()) {
    CallOld(Message);
    return;
  }
  TMessage hit{WM_NCHITTEST, 0, Message.LParam, 0};
  const Integer code = HTProcess(hit);
  Message.WParam = static_cast<WPARAM>(code);
  if (code != achit::Caption && code != achit::SysMenu) return;
  SetHotHT(0, true);
  bTitleBtnDown = false;
  DropSysMenu(ScreenPointOf(Message).X, ScreenPointOf(Message).Y);
}

void TsSkinProvider::AC_WMMouseMove(TMessage& Message) {
  CallOld(Message);
  if (DefaultManager && !DefaultManager->ComponentState().Contains(csDesigning)) DefaultManager->SetActiveControl(nullptr);
  if (HotElement > 0 && !bTitleBtnDown) SetHotHT(0, true);
  if (ResizeMode != rmBorder || !Form->Enabled() || !acOutline.InProcess) return;
  POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
  ClientToScreen(Form->WindowHandle(), &p);
  if (acOutline.Moving) {
    acOutline.Capture = false;
    DrawFormBorder(acOutline.Left, acOutline.Top);
    acOutline.Left += p.x - acOutline.Last.X;
    acOutline.Top += p.y - acOutline.Last.Y;
    acOutline.Last = TPoint{p.x, p.y};
    DrawFormBorder(acOutline.Left, acOutline.Top);
    return;
  }
  if (acOutline.Capture) {
    acOutline.Last = TPoint{p.x, p.y};
    acOutline.Capture = false;
  }
  DrawFormBorder(0, 0);
  const Integer dx = p.x - acOutline.Last.X, dy = p.y - acOutline.Last.Y;
  const Integer h = acOutline.HitCode;
  const Integer left = Form->Left(), top = Form->Top(), right = left + Form->Width(), bottom = top + Form->Height();
  if (h == achit::Left || h == achit::TopLeft || h == achit::BottomLeft)
    acOutline.Left = std::min(left + dx, acOutline.Right - acOutline.MinWidth);
  else
    acOutline.Right = std::max(right + dx, left + acOutline.MinWidth);
  if (h == achit::Top || h == achit::TopLeft || h == achit::TopRight)
    acOutline.Top = std::min(top + dy, acOutline.Bottom - acOutline.MinHeight);
  else
    acOutline.Bottom = std::max(bottom + dy, top + acOutline.MinHeight);
  DrawFormBorder(0, 0);
}

void TsSkinProvider::AC_WMMouseLeave(TMessage& Message) {
  SetHotHT(-1, true);
  bTitleBtnDown = false;
  CallOld(Message);
}

void TsSkinProvider::AC_CMMouseEnter(TMessage& Message) {
  CallOld(Message);
  if (TsSkinManager* m = FSkinData->GetSkinManager()) m->SetActiveControl(Form->WindowHandle());
}
