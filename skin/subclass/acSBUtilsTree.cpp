// The native tree view: the edit-like frame and bars, and the section's
// colours pushed into the control.
#include "skin/subclass/acSBUtilsEdits.h"

#include <commctrl.h>

#include "skin/core/sVclUtils.h"

void TacTreeViewWnd::Create(HWND Wnd, TsCommonData* ASkinData, TsSkinManager* AManager, const TacSkinParams& Params,
                            bool Repaint) {
  TacEditWnd::Create(Wnd, ASkinData, AManager, Params, Repaint);
}

void TacTreeViewWnd::SetSkinParams() {
  SkinParamsApplied = true;
  if (DialogMode) SendMessageW(WndHandle, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(clWindow)));
  if (!SkinData) return;
  TsSkinManager* m = SkinData->GetSkinManager();
  if (!m || !m->IsValidSkinIndex(SkinData->SkinIndex)) return;
  const TsGeneralData& s = m->Sections[SkinData->SkinIndex];
  const Integer hot = s.StateCount > 1 && ControlIsActive(SkinData) ? 1 : 0;
  TControl* c = OwnerControl();
  const TColor bg = SkinData->CustomColor() ? (c ? c->Color() : 0) : s.Props[hot].Color;
  const TColor fc = SkinData->CustomFont() ? (c ? c->Font()->Color() : 0) : s.Props[hot].FontColor.Color;
  if (c) {
    if (c->Font()->Color() != fc) c->Font()->SetColor(fc);
    if (bg != c->Color()) SendMessageW(WndHandle, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(bg)));
  } else {
    SendMessageW(WndHandle, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(bg)));
    SendMessageW(WndHandle, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ColorToRGB(fc)));
  }
}

void TacTreeViewWnd::RestoreStdParams() {
  TacEditWnd::RestoreStdParams();
  if (IsWindowVisible(WndHandle)) {
    SendMessageW(WndHandle, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(clWindow)));
    if (!OwnerControl()) SendMessageW(WndHandle, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(static_cast<COLORREF>(-1)));
  }
}

void TacTreeViewWnd::acWndProc(TMessage& Message) {
  const UINT msg = Message.Msg;
  TacEditWnd::acWndProc(Message);
  if (msg == WM_LBUTTONUP && SkinData) ReleaseCapture();
}
