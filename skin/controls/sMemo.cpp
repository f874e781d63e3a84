// The skinned memo: its window procedure and its subclass object.
#include "skin/controls/sMemo.h"

#include "skin/core/sVclUtils.h"
#include "skin/subclass/acSBUtils.h"

DK_UNIT(sMemo);

TsMemo::~TsMemo() {
  if (FScrollWnd) FreeScrollObject(FScrollWnd);
  if (FRetiredScrollWnd) FreeScrollObject(FRetiredScrollWnd);
  FBoundLabel.reset();
}

// The removed skin reaches the memo through its subclass object, which is
// still running below it: the object leaves the window at once and is freed
// with the memo's next message from outside.
void TsMemo::RetireScrollWnd() {
  if (!FScrollWnd) return;
  if (FRetiredScrollWnd) FreeScrollObject(FRetiredScrollWnd);
  UninitializeACScroll(HandleAllocated() ? WindowHandle() : nullptr, false, false, FScrollWnd);
  FRetiredScrollWnd = FScrollWnd;
  FScrollWnd = nullptr;
}

void TsMemo::Construct() {
  inherited::Construct();
  // The native edit does not fill its whole area itself.
  FControlStyle.Exclude(csOpaque);
  if (SkinData()->SkinSection().empty()) SkinData()->SetSkinSection("EDIT");
  FBoundLabel = std::make_unique<TsBoundLabel>(this, SkinData());
}

void TsMemo::Loaded() {
  inherited::Loaded();
  RefreshScrolls();
}

void TsMemo::RefreshScrolls() { RefreshEditScrolls(SkinData(), FScrollWnd); }

void TsMemo::SetDisabledKind(TsDisabledKind Value) {
  if (FDisabledKind == Value) return;
  FDisabledKind = Value;
  SkinData()->Invalidate();
}

void TsMemo::WndProc(TMessage& Message) {
  if (FRetiredScrollWnd && FDepth == 0) FreeScrollObject(FRetiredScrollWnd);
  ++FDepth;
  struct TLeave {
    int& Depth;
    ~TLeave() { --Depth; }
  } leave{FDepth};
  TsScrollWndData* S = SkinData();
  if (!S) {
    inherited::WndProc(Message);
    return;
  }
  // A new font repaints the frame too (with and without a skin).
  if (Message.Msg == CM_FONTCHANGED && Showing() && HandleAllocated())
    RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
  if (Message.Msg == SM_ALPHACMD) {
    const bool own = S->GetSkinManager() && Message.LParam == reinterpret_cast<LPARAM>(S->GetSkinManager());
    switch (AlphaCmdOf(Message.WParam)) {
      case ACMD_SKIN_LOADED:
        if (!own) break;
        CommonWndProc(Message, S);
        return;
      case ACMD_SKIN_UNLOADED:
        if (!own) break;
        RetireScrollWnd();
        CommonWndProc(Message, S);
        if (HandleAllocated()) RecreateWnd();
        return;
      case ACMD_SKIN_REPAINT:
        if (!own) break;
        CommonWndProc(Message, S);
        RefreshScrolls();
        if (HandleAllocated() && Visible())
          RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
        return;
      case ACMD_QUERY_HOOKED:
        Message.Result = 1;
        return;
      default:
        break;
    }
  }
  if (!ControlIsReady(this) || !S->Skinned()) {
    inherited::WndProc(Message);
  } else if (Message.Msg == WM_PAINT) {
    SkinnedPaint(Message);
    return;
  } else {
    if (CommonWndProc(Message, S)) return;
    inherited::WndProc(Message);
    AfterSkinned(Message);
  }
  if (FBoundLabel) FBoundLabel->HandleOwnerMsg(Message, this);
}

void TsMemo::SkinnedPaint(TMessage& Message) {
  TsScrollWndData* S = SkinData();
  TsSkinManager* m = S->GetSkinManager();
  if (!S->CustomColor() && m && m->IsValidSkinIndex(S->SkinIndex)) {
    const TsGeneralData& section = m->Sections[static_cast<size_t>(S->SkinIndex)];
    const int state = (S->Focused || S->MouseAbove) && section.StateCount > 1 ? 1 : 0;
    const TsGenState& look = section.Props[static_cast<size_t>(state)];
    if (look.Color != Color()) SetColor(look.Color);
    if (look.FontColor.Color != Font()->Color()) Font()->SetColor(look.FontColor.Color);
  }
  if (InUpdating(S)) {
    PAINTSTRUCT ps{};
    BeginPaint(WindowHandle(), &ps);
    EndPaint(WindowHandle(), &ps);
    return;
  }
  inherited::WndProc(Message);
}

void TsMemo::AfterSkinned(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFONT:
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED: SkinData()->Invalidate(); break;
    case EM_SETSEL:
      if (OnScrollCaret) OnScrollCaret(this);
      break;
    case WM_VSCROLL:
      if (OnVScroll) OnVScroll(this);
      break;
    case CM_TEXTCHANGED:
    case CM_CHANGED:
      if (FScrollWnd) UpdateScrolls(FScrollWnd, true);
      break;
    case CM_SHOWINGCHANGED: RefreshScrolls(); break;
    default: break;
  }
}

DK_PUBLISH(TsMemo) {
  PublishSkinData(P);
  P.Property("BoundLabel", &TsMemo::BoundLabel);
  P.Property("DisabledKind", &TsMemo::DisabledKind, &TsMemo::SetDisabledKind).Default(TsDisabledKind{dkBlended});
  P.Property("OnScrollCaret", &TsMemo::OnScrollCaret);
  P.Property("OnVScroll", &TsMemo::OnVScroll);
}
