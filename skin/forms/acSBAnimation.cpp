#include "skin/forms/acSBAnimation.h"

#include "skin/core/acntUtils.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/forms/sVclUtilsAnim.h"
#include "skin/forms/sVclUtilsAnimWindows.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

constexpr Cardinal kStepMs = 12;
// Placing the glow window without moving, sizing or activating it.
constexpr UINT kGlowPlacing = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING;
// Key-colour pixels of a glyph drawn without a border window.
constexpr Cardinal kKeyPixel = 0x00FF00FF;

bool Glows(Integer HitCode) { return HitCode == HTMINBUTTON || HitCode == HTMAXBUTTON || HitCode == HTCLOSE; }

TsSkinManager* ManagerOf(TsCommonData* Data) { return Data ? Data->GetSkinManager() : nullptr; }

// The key colour of a glyph painted without its own alpha stays opaque.
void OpaqueKeyPixels(TacBitmap* Bmp) {
  TPixelView32 pixels = PixelsOf(Bmp);
  for (Integer y = 0; y < BitmapHeight(Bmp); ++y)
    for (Integer x = 0; x < BitmapWidth(Bmp); ++x)
      if (pixels.At(x, y) == kKeyPixel) pixels.At(x, y) |= 0xFF000000u;
}

}  // namespace

TacSBAnimation::TacSBAnimation(TComponent* AOwner) : TTimer(AOwner) {
  OnTimer = TNotifyEvent(this, &TacSBAnimation::OnAnimTimer);
}

TacSBAnimation::~TacSBAnimation() {
  SetEnabled(false);
  FreeWindow();
  if (Button && Button->Timer == this) Button->Timer = nullptr;
}

void TacSBAnimation::FreeWindow() {
  GlowForm.reset();
  Image.reset();
}

void TacSBAnimation::StartAnimation(Integer AState, bool AFadeIn) {
  if (AState == State) return;
  State = AState;
  if (State != sbsNormal) {
    if (State == sbsPressed) FreeWindow();
    CurrentStep = 1;
    FadingIn = AFadeIn;
    UpdateForm(std::min(Step(), 255));
    ++CurrentStep;
  } else {
    FadingIn = false;
    --CurrentStep;
    UpdateForm(std::min(Step() * CurrentStep, 255));
  }
  if (Steps > 1) SetEnabled(true);
}

void TacSBAnimation::ChangeState(bool AFadeIn) {
  FadingIn = AFadeIn;
  SetEnabled(true);
}

void TacSBAnimation::OnAnimTimer(TObject*) {
  if (!Enabled()) return;
  if (FadingIn) {
    if (CurrentStep >= Steps) {
      // A mouse gone by now starts the fade out from here: it keeps its steps.
      CheckMouseLeave();
      if (!FadingIn || Steps == -1) return;
      Steps = -1;
      UpdateForm(255);
      return;
    }
    UpdateForm(std::min(Step() * CurrentStep, 255));
    ++CurrentStep;
    return;
  }
  if (CurrentStep < 1) {
    State = -1;
    SetEnabled(false);
    FreeWindow();
    return;
  }
  UpdateForm(std::min(Step() * CurrentStep, 255));
  --CurrentStep;
}

void TacSBAnimation::CheckMouseLeave() {
  const TPoint p = acMousePos();
  const TRect w = WindowRectOf(OwnerWnd);
  const POINT local{p.X - w.Left, p.Y - w.Top};
  const RECT r{Button->Rect.Left, Button->Rect.Top, Button->Rect.Right, Button->Rect.Bottom};
  if (PtInRect(&r, local)) return;
  SetEnabled(false);
  SendMessageW(OwnerWnd, WM_MOUSELEAVE, 0, 0);
}

Integer TacSBAnimation::GlowIndex() {
  TsSkinManager* m = ManagerOf(SkinData);
  if (!m || !m->Effects()->AllowGlowing || State != sbsHot || !Glows(Button->HitCode) ||
      !m->IsValidImgIndex(Button->ImageIndex))
    return -1;
  return m->GetMaskIndex("GLOBALINFO", m->Masks[static_cast<size_t>(Button->ImageIndex)].PropName + "GLOW0");
}

Integer TacSBAnimation::Offset() {
  TsSkinManager* m = ManagerOf(SkinData);
  if (!m || !m->Effects()->AllowGlowing || State != sbsHot) return 0;
  switch (Button->HitCode) {
    case HTMINBUTTON: return m->CommonSkinData.MinGlowMargin;
    case HTMAXBUTTON: return m->CommonSkinData.MaxGlowMargin;
    case HTCLOSE: return m->CommonSkinData.CloseGlowMargin;
    default: return 0;
  }
}

TRect TacSBAnimation::GetFormBounds() {
  const TRect w = WindowRectOf(OwnerWnd);
  TRect r{w.Left + Button->Rect.Left, w.Top + Button->Rect.Top, 0, 0};
  const Integer offset = Offset();
  const Integer glow = offset ? GlowIndex() : -1;
  if (glow >= 0) {
    TsSkinManager* m = ManagerOf(SkinData);
    const TRect& src = m->Masks[static_cast<size_t>(glow)].SrcRect;
    r.Left -= offset;
    r.Top -= offset;
    r.Right = r.Left + (src.Right - src.Left);
    r.Bottom = r.Top + (src.Bottom - src.Top);
  } else {
    r.Right = r.Left + (Button->Rect.Right - Button->Rect.Left);
    r.Bottom = r.Top + (Button->Rect.Bottom - Button->Rect.Top);
  }
  return r;
}

void TacSBAnimation::MakeForm() {
  if (GlowForm) return;
  GlowForm = NewAnimationForm(nullptr, GetFormBounds(), WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT);
}

void TacSBAnimation::MakeImg() {
  if (State == sbsNormal && Image) return;
  TsSkinManager* m = ManagerOf(SkinData);
  Integer glyph = Button->ImageIndex;
  if (Provider && Button->HitCode == HTMINBUTTON && IsIconic(OwnerWnd) && m)
    glyph = m->ConstData.TitleIcons[tiBIconNorm];
  const Integer glow = GlowIndex();
  const TRect bounds = GetFormBounds();
  if (!Image) Image = CreateBmp32(bounds.Right - bounds.Left, bounds.Bottom - bounds.Top);
  const TRect all{0, 0, BitmapWidth(Image.get()), BitmapHeight(Image.get())};
  if (glow >= 0) {
    const TsMaskData& md = m->Masks[static_cast<size_t>(glow)];
    TacBitmap* src = md.Bitmap ? md.Bitmap.get() : m->MasterBitmap.get();
    BlockCopy(Image.get(), 0, 0, all.Right, all.Bottom, src, md.SrcRect.Left, md.SrcRect.Top);
    return;
  }
  FillRect32(Image.get(), all, 0, 0);
  const bool valid = m && m->IsValidImgIndex(glyph);
  if (valid) {
    const TsMaskData& md = m->Masks[static_cast<size_t>(glyph)];
    DrawSkinGlyph(Image.get(), TPoint{0, 0}, std::max<Integer>(State, 0), 1, md, MakeCacheInfo(Image.get()));
  }
  if (!BorderForm && (!valid || m->Masks[static_cast<size_t>(glyph)].MaskKind == 0))
    OpaqueKeyPixels(Image.get());
}

void TacSBAnimation::UpdateForm(Integer Alpha) {
  MakeForm();
  MakeImg();
  if (!GlowForm || !Image) return;
  TRect r = GetFormBounds();
  const Integer dw = BitmapWidth(Image.get()) - (r.Right - r.Left);
  if (dw != 0) {
    const Integer dh = BitmapHeight(Image.get()) - (r.Bottom - r.Top);
    r = TRect{r.Left - dw / 2, r.Top - dh / 2, r.Right + dw - dw / 2, r.Bottom + dh - dh / 2};
  }
  const HWND wnd = GlowForm->WindowHandle();
  const HWND anchor =
      (GetWindowLongPtrW(OwnerWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) ? HWND_TOPMOST : GetWindow(OwnerWnd, GW_HWNDPREV);
  GlowForm->SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
  SetWindowPos(wnd, anchor, 0, 0, 0, 0, kGlowPlacing);
  SetWindowLongPtrW(wnd, GWL_EXSTYLE,
                    GetWindowLongPtrW(wnd, GWL_EXSTYLE) | WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT);
  SetFormBlendValue(wnd, Image.get(), Alpha);
  ShowWindow(wnd, SW_SHOWNOACTIVATE);
}

void StartSBAnimation(TsCaptionButton* Button, Integer State, Integer Steps, bool FadeIn, TsSkinProvider* Provider,
                      TacDialogWnd*) {
  if (!Button) return;
  if (TacSBAnimation* a = Button->Timer) {
    if (FadeIn) a->State = State;
    a->Steps = Steps;
    a->FadingIn = FadeIn;
    a->SetEnabled(true);
    if (State == sbsPressed) {
      // A press shows the pressed picture now; nothing is left to fade.
      a->CurrentStep = Steps;
      a->FreeWindow();
      a->MakeForm();
      a->MakeImg();
      a->UpdateForm(255);
      a->SetEnabled(false);
    }
    return;
  }
  if (!Provider || !Provider->Form || !Provider->Form->HandleAllocated()) return;
  auto* a = Create<TacSBAnimation>(Provider);
  a->Provider = Provider;
  a->BorderForm = Provider->BorderForm.get();
  a->OwnerWnd = Provider->Form->WindowHandle();
  a->SkinData = Provider->SkinData();
  a->SetEnabled(false);
  a->Button = Button;
  Button->Timer = a;
  a->Steps = Steps;
  a->SetInterval(kStepMs);
  a->StartAnimation(State, true);
}
