// The skinned scroll bars of forms with a skin provider, reached by the
// provider through its seams.
#include "skin/subclass/acSBUtils.h"

#include "skin/core/sVclUtils.h"

namespace {

// A form scrolls itself only with a published AutoScroll that is on.
bool FormAutoScrolls(TCustomForm* Form) { return GetIntPropOrZero(Form, "AutoScroll") != 0; }

void UpdateFormScrolls(TsSkinProvider* Provider, bool Repaint) {
  TCustomForm* form = Provider ? Provider->Form : nullptr;
  if (!form || IsDestroying(Provider) || IsDestroying(form) || !form->HandleAllocated()) return;
  if (!FormAutoScrolls(form) || (Provider->FormState & acfs::ScrollAttaching)) return;
  Provider->FormState |= acfs::ScrollAttaching;
  const HWND wnd = form->WindowHandle();
  if (Provider->Skinned()) {
    if (Ac_UninitializeFlatSB) Ac_UninitializeFlatSB(wnd);
    if (Provider->ScrollWnd && (Provider->ScrollWnd->Detached || !IsWindow(Provider->ScrollWnd->WndHandle)))
      FreeScrollObject(Provider->ScrollWnd);
    if (!Provider->ScrollWnd)
      Provider->ScrollWnd =
          acCreateWnd<TacScrollWnd>(wnd, Provider->SkinData(), Provider->SkinData()->GetSkinManager(), TacSkinParams{},
                                    Repaint);
  } else {
    FreeScrollObject(Provider->ScrollWnd);
    if (Ac_InitializeFlatSB) Ac_InitializeFlatSB(wnd);
  }
  Provider->FormState &= ~acfs::ScrollAttaching;
}

void FreeFormScrolls(TsSkinProvider* Provider) { FreeScrollObject(Provider->ScrollWnd); }

}  // namespace

void acSBUtilsFillProviderSeams() {
  acProviderSeams.UpdateFormScrolls = &UpdateFormScrolls;
  acProviderSeams.FreeScrollWnd = &FreeFormScrolls;
}
