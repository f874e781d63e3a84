// The up-down control on the system's common control.
#include "classlib/ui/ComCtrls.h"

DK_UNIT(ComCtrls);

namespace {
void InitUpDownClass() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);
    return true;
  }();
  (void)done;
}
}  // namespace

TCustomUpDown::TCustomUpDown(TComponent* AOwner) : TWinControl(AOwner) {}

void TCustomUpDown::Construct() {
  inherited::Construct();
  FControlStyle = TControlStyle{csCaptureMouse, csFixedWidth, csFixedHeight};
  SetBounds(0, 0, 17, 25);
  SetTabStop(false);
}

void TCustomUpDown::CreateParams(TCreateParams& Params) {
  InitUpDownClass();
  inherited::CreateParams(Params);
  CreateSubClass(Params, UPDOWN_CLASSW);
  Params.Style |= UDS_SETBUDDYINT;
  if (FAlignButton == udRight) Params.Style |= UDS_ALIGNRIGHT; else Params.Style |= UDS_ALIGNLEFT;
  if (FOrientation == udHorizontal) Params.Style |= UDS_HORZ;
  if (FArrowKeys) Params.Style |= UDS_ARROWKEYS;
  if (!FThousands) Params.Style |= UDS_NOTHOUSANDS;
  if (FWrap) Params.Style |= UDS_WRAP;
}

void TCustomUpDown::CreateWnd() {
  inherited::CreateWnd();
  HWND h = WindowHandle();
  SendMessageW(h, UDM_SETRANGE32, static_cast<WPARAM>(static_cast<int>(FMin)), FMax);
  UDACCEL accel{0, static_cast<UINT>(FIncrement)};
  SendMessageW(h, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  SendMessageW(h, UDM_SETPOS32, 0, FPosition);
  UpdateAssociate();
}

void TCustomUpDown::DestroyWnd() {
  FPosition = Position();
  inherited::DestroyWnd();
}

void TCustomUpDown::Loaded() {
  inherited::Loaded();
  if (HandleAllocated()) UpdateAssociate();
}

void TCustomUpDown::UpdateAssociate() {
  if (!HandleAllocated()) return;
  HWND buddy = FAssociate ? FAssociate->Handle() : nullptr;
  SendMessageW(WindowHandle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
  if (FAssociate) {
    // The system moves the arrows beside the buddy: take over the new bounds.
    RECT r;
    GetWindowRect(WindowHandle(), &r);
    POINT tl{r.left, r.top};
    if (HWND parent = GetParent(WindowHandle())) ::ScreenToClient(parent, &tl);
    SetBounds(tl.x, tl.y, r.right - r.left, r.bottom - r.top);
    SendMessageW(WindowHandle(), UDM_SETPOS32, 0, FPosition);
  }
}

SmallInt TCustomUpDown::Position() {
  if (HandleAllocated()) {
    BOOL error = FALSE;
    LRESULT p = SendMessageW(WindowHandle(), UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error));
    if (!error) FPosition = static_cast<SmallInt>(p);
  }
  return FPosition;
}

void TCustomUpDown::SetPosition(SmallInt Value) {
  if (Value < FMin) Value = FMin;
  if (Value > FMax) Value = FMax;
  FPosition = Value;
  if (HandleAllocated()) SendMessageW(WindowHandle(), UDM_SETPOS32, 0, Value);
}

void TCustomUpDown::SetMin(SmallInt Value) {
  FMin = Value;
  if (HandleAllocated()) SendMessageW(WindowHandle(), UDM_SETRANGE32, static_cast<WPARAM>(static_cast<int>(FMin)), FMax);
}

void TCustomUpDown::SetMax(SmallInt Value) {
  FMax = Value;
  if (HandleAllocated()) SendMessageW(WindowHandle(), UDM_SETRANGE32, static_cast<WPARAM>(static_cast<int>(FMin)), FMax);
}

void TCustomUpDown::SetIncrement(Integer Value) {
  FIncrement = Value;
  if (HandleAllocated()) {
    UDACCEL accel{0, static_cast<UINT>(Value)};
    SendMessageW(WindowHandle(), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  }
}

void TCustomUpDown::SetOrientation(TUDOrientation Value) {
  if (FOrientation == Value) return;
  FOrientation = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomUpDown::SetAlignButton(TUDAlignButton Value) {
  if (FAlignButton == Value) return;
  FAlignButton = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomUpDown::SetArrowKeys(bool Value) {
  if (FArrowKeys == Value) return;
  FArrowKeys = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomUpDown::SetThousands(bool Value) {
  if (FThousands == Value) return;
  FThousands = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomUpDown::SetWrap(bool Value) {
  if (FWrap == Value) return;
  FWrap = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomUpDown::SetAssociate(TWinControl* Value) {
  if (FAssociate) FAssociate->RemoveFreeNotification(this);
  FAssociate = Value;
  if (Value) Value->FreeNotification(this);
  if (!ComponentState().Contains(csLoading)) UpdateAssociate();
}

void TCustomUpDown::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FAssociate) {
    FAssociate = nullptr;
    if (HandleAllocated()) SendMessageW(WindowHandle(), UDM_SETBUDDY, 0, 0);
  }
}

bool TCustomUpDown::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TCustomUpDown::Click(TUDBtnType Button) {
  if (OnClick) OnClick(this, Button);
}

void TCustomUpDown::CNNotify(TWMNotify& Message) {
  if (Message.NMHdr()->code == UDN_DELTAPOS) Message.Result = CanChange() ? 0 : 1;
}

void TCustomUpDown::CNScroll(TWMScroll& Message) {
  if (Message.ScrollCode() != SB_THUMBPOSITION) return;
  SmallInt old = FPosition;
  SmallInt now = Position();
  if (now != old) Click(now > old ? btNext : btPrev);
}

DK_MESSAGE_UNIT(TCustomUpDown);
DK_MESSAGE_HANDLER(TCustomUpDown, CN_NOTIFY, CNNotify);
DK_MESSAGE_HANDLER(TCustomUpDown, CN_VSCROLL, CNScroll);
DK_MESSAGE_HANDLER(TCustomUpDown, CN_HSCROLL, CNScroll);

DK_PUBLISH(TCustomUpDown) {
  P.Property("Caption", &TCustomUpDown::Caption, &TCustomUpDown::SetCaption).Stored(false);
  P.Property("AlignButton", &TCustomUpDown::AlignButton, &TCustomUpDown::SetAlignButton).Default(udRight);
  P.Property("ArrowKeys", &TCustomUpDown::ArrowKeys, &TCustomUpDown::SetArrowKeys).Default(true);
  P.Property("Associate", &TCustomUpDown::Associate, &TCustomUpDown::SetAssociate);
  P.Property("Increment", &TCustomUpDown::Increment, &TCustomUpDown::SetIncrement).Default(1);
  P.Property("Min", &TCustomUpDown::Min, &TCustomUpDown::SetMin).Default(0);
  P.Property("Max", &TCustomUpDown::Max, &TCustomUpDown::SetMax).Default(100);
  P.Property("Orientation", &TCustomUpDown::Orientation, &TCustomUpDown::SetOrientation).Default(udVertical);
  P.Property("Position", &TCustomUpDown::Position, &TCustomUpDown::SetPosition).Default(0);
  P.Property("Thousands", &TCustomUpDown::Thousands, &TCustomUpDown::SetThousands).Default(true);
  P.Property("Wrap", &TCustomUpDown::Wrap, &TCustomUpDown::SetWrap).Default(false);
  P.Property("OnClick", &TCustomUpDown::OnClick);
  P.Property("OnChanging", &TCustomUpDown::OnChanging);
}
DK_PUBLISH(TUpDown) {}
