// The form's window region cut from the skin's corner masks, the caption
// repaint and the small support functions of the unit.
#include "classlib/ui/PaintScope.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/forms/sSkinProviderNames.h"
#include "skin/graphics/sGraphUtils.h"

namespace {
constexpr UINT WM_PRIVATE_QUERY = 0xBC4D;
constexpr WPARAM KeepOwnRegion = 0x41A2;
}  // namespace

bool IsBorderUnchanged(Integer Index, TsSkinManager* SkinManager) {
  if (Index < 0) return true;
  return SkinManager->IsValidImgIndex(Index) && SkinManager->Masks[static_cast<size_t>(Index)].Columns == 1;
}

void FillArOR(TsSkinProvider* Provider) {
  Provider->ArOR.clear();
  TsScrollWndData* data = Provider->SkinData();
  TsSkinManager* m = data->GetSkinManager();
  if (!m || !Provider->Form->HandleAllocated()) return;
  const Integer width = Provider->CaptionWidth();
  const Integer height = GetWindowHeight(Provider->Form->WindowHandle());
  if (m->IsValidImgIndex(data->BorderIndex)) {
    const TsMaskData& md = m->Masks[static_cast<size_t>(data->BorderIndex)];
    AddRgn(Provider->ArOR, width, md, 0, false);
    AddRgn(Provider->ArOR, width, md, height - md.MarginBottom, true);
  }
  const Integer title = Provider->TitleSkinIndex();
  if (m->IsValidSkinIndex(title)) {
    const Integer mask = m->GetMaskIndex(title, Provider->TitleSkinSection(), acsp::BordersMask);
    if (m->IsValidImgIndex(mask)) AddRgn(Provider->ArOR, width, m->Masks[static_cast<size_t>(mask)], 0, false);
  }
}

HRGN GetRgnFromArOR(TsSkinProvider* Provider, Integer X, Integer Y) {
  const Integer h = GetWindowHeight(Provider->Form->WindowHandle());
  HRGN region = CreateRectRgn(X, Y, X + Provider->CaptionWidth(), Y + h);
  for (const TRect& r : Provider->ArOR) {
    HRGN part = CreateRectRgn(X + r.Left, Y + r.Top, X + r.Right, Y + r.Bottom);
    CombineRgn(region, region, part, RGN_DIFF);
    DeleteObject(part);
  }
  return region;
}

void UpdateRgn(TsSkinProvider* Provider, bool Repaint) {
  TCustomForm* form = Provider->Form;
  if (!Provider->DrawNonClientArea() || !form->HandleAllocated() || Provider->InMenuLoop) return;
  HWND wnd = form->WindowHandle();
  if (!Provider->HasBorder() && !IsIconic(wnd) && !Provider->HasThickFrame()) return;
  if (!Provider->PaintedOnce && SendMessageW(wnd, WM_PRIVATE_QUERY, KeepOwnRegion, 0) == static_cast<LRESULT>(KeepOwnRegion))
    return;
  if (form->Parent()) {  // a docked form
    SetWindowRgn(wnd, nullptr, FALSE);
    return;
  }
  Provider->RgnBusy = true;
  HRGN region;
  if (IsZoomed(wnd) && form->Constraints()->MaxWidth() == 0 && form->Constraints()->MaxHeight() == 0 &&
      form->FormStyle() != fsMDIChild) {
    const Integer bw = SysBorderWidth(wnd, nullptr, true), bh = SysBorderHeight(wnd, nullptr, true);
    region = CreateRectRgn(bw, bh, GetWindowWidth(wnd) - bw, GetWindowHeight(wnd) - bh);
  } else {
    region = GetRgnFromArOR(Provider, 0, 0);
  }
  Provider->RgnChanged = false;
  // The same region again changes nothing on the screen but still costs the
  // window a frame change: it is kept.
  HRGN current = CreateRectRgn(0, 0, 0, 0);
  const bool same = region && GetWindowRgn(wnd, current) != ERROR && EqualRgn(current, region);
  DeleteObject(current);
  if (same) {
    DeleteObject(region);
    if (Repaint) RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  } else if (!SetWindowRgn(wnd, region, Repaint)) {
    DeleteObject(region);
  }
  Provider->RgnBusy = false;
}

void ForbidDrawing(TsSkinProvider* Provider, bool) {
  Provider->SkinData()->BeginUpdate();
  SendMessageW(Provider->Form->WindowHandle(), WM_SETREDRAW, 0, 0);
}

void PermitDrawing(TsSkinProvider* Provider, bool) {
  Provider->SkinData()->EndUpdate(false);
  SendMessageW(Provider->Form->WindowHandle(), WM_SETREDRAW, 1, 0);
}

void UpdateSkinCaption(TsSkinProvider* Provider) {
  TCustomForm* form = Provider->Form;
  if (Provider->SkinChanging || !form->HandleAllocated() || !IsWindowVisible(form->WindowHandle()) ||
      !Provider->DrawNonClientArea() || form->ControlState().Contains(csDestroyingHandle) || !Provider->Skinned())
    return;
  Provider->SkinData()->BGChanged = true;
  HWND wnd = form->WindowHandle();
  HDC dc = GetWindowDC(wnd);
  {
    TDCStateScope saved(dc);
    Provider->PaintCaption(dc);
  }
  ReleaseDC(wnd, dc);
}

TsSkinProvider* GetSkinProvider(TComponent* Component) {
  for (TComponent* c = Component; c; c = c->Owner()) {
    auto* form = dynamic_cast<TCustomForm*>(c);
    if (!form) continue;
    if (!form->HandleAllocated()) return nullptr;
    return reinterpret_cast<TsSkinProvider*>(
        SendMessageW(form->WindowHandle(), SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_PROVIDER), 0));
  }
  return nullptr;
}

Integer GetWindowWidth(HWND Handle) {
  RECT r{};
  GetWindowRect(Handle, &r);
  return r.right - r.left;
}

Integer GetWindowHeight(HWND Handle) {
  RECT r{};
  GetWindowRect(Handle, &r);
  return r.bottom - r.top;
}

Integer GetClientWidth(HWND Handle) {
  RECT r{};
  GetClientRect(Handle, &r);
  return r.right;
}

Integer GetClientHeight(HWND Handle) {
  RECT r{};
  GetClientRect(Handle, &r);
  return r.bottom;
}

void RefreshMDIParent(bool) {}  // the monitor has no MDI forms

TWinControl* FindControlByID(Integer ID, TComponent* Component) {
  for (int i = 0; i < Component->ComponentCount(); ++i) {
    TComponent* c = Component->Components(i);
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->HandleAllocated() && GetDlgCtrlID(w->WindowHandle()) == ID)
      return w;
    if (TWinControl* found = FindControlByID(ID, c)) return found;
  }
  return nullptr;
}

bool TsSkinProvider::HasBorder() {
  return Form->BorderStyle() != bsNone ||
         (Form->HandleAllocated() && (GetWindowLongPtrW(Form->WindowHandle(), GWL_STYLE) & WS_CHILD));
}

bool TsSkinProvider::HasThickFrame() {
  return Form->HandleAllocated() && (GetWindowLongPtrW(Form->WindowHandle(), GWL_STYLE) & WS_THICKFRAME);
}

bool TsSkinProvider::IsGripVisible() {
  return GripMode == gmRightBottom && Form->HandleAllocated() && !IsZoomed(Form->WindowHandle()) && HasThickFrame();
}
