// Glow windows around hot controls.
#include "skin/graphics/acGlow.h"

#include "skin/core/acntUtils.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sVclUtils.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

TacGlowEffects acGlowEffects;
bool bGlowingDestroying = false;

namespace {

// Extended styles of a glow's window: never activated, layered, no task bar
// button, the mouse falls through.
constexpr LONG_PTR kGlowExStyle = WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT;
// The tag that marks a glow's form.
constexpr NativeInt kGlowTag = 256;

const BLENDFUNCTION kGlowBlend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};

bool Terminating() { return Application && Application->Terminated(); }

// The four cuts of a glow whose control is partly hidden, in pixels of the glow.
struct TGlowCuts {
  Integer Left = 0, Top = 0, Right = 0, Bottom = 0;
};

TGlowCuts CutsOf(const TRect& R, const TRect& Visible, Integer W, Integer H, Integer Margin, const TRect& Borders) {
  TGlowCuts c;
  if (Visible.Width() == R.Width() && Visible.Height() == R.Height()) return c;
  if (Visible.Left != 0) c.Left = Borders.Left + Visible.Left - Margin;
  if (Visible.Top != 0) c.Top = Borders.Top + Visible.Top - Margin;
  if (R.Width() != Visible.Right)
    c.Right = c.Left == 0 ? R.Width() - Visible.Width() + Borders.Right - Margin : W - c.Left - Visible.Width();
  if (R.Height() != Visible.Bottom)
    c.Bottom = c.Top == 0 ? R.Height() - Visible.Height() + Borders.Bottom - Margin : H - c.Top - Visible.Height();
  return c;
}

// The glow's picture: the image drawn over black, tinted as the control is.
std::unique_ptr<TacBitmap> GlowImage(TsSkinManager* M, const TacGlowEffect& E, Integer W, Integer H) {
  std::unique_ptr<TacBitmap> bmp = CreateBmp32(W, H);
  const TRect all{0, 0, W, H};
  FillDC(bmp->Canvas()->Handle(), all, clBlack);
  DrawSkinRect(bmp.get(), all, EmptyCI, M->Masks[static_cast<size_t>(E.MaskIndex)], 0, true);
  UpdateBmpColors(bmp.get(), E.SkinData, false, 0);
  return bmp;
}

// Where the glow goes in the z-order: just above the control's window.
HWND InsertAfter(HWND Wnd) {
  if (GetWindowLongPtrW(Wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) return HWND_TOPMOST;
  HWND above = GetWindow(Wnd, GW_HWNDPREV);
  return above ? above : Wnd;
}

}  // namespace

// ------------------------------------------------------------ the effect

TacGlowEffect::~TacGlowEffect() {
  if (Form) DropForm(false);
  SetSkinManager(nullptr);
}

void TacGlowEffect::SetSkinManager(TsSkinManager* Value) {
  if (Value == FSkinManager) return;
  if (FSkinManager) FSkinManager->RemoveClient(this);
  FSkinManager = Value;
  if (FSkinManager) FSkinManager->AddClient(this);
}

void TacGlowEffect::CreateForm() {
  if (Form) return;
  Form = Create<TForm>(nullptr, 0);
  Form->SetTag(kGlowTag);
  OldWndProc = Form->WindowProc;
  Form->WindowProc = TWndMethod(this, &TacGlowEffect::GlowWndProc);
  TControlStyle style = Form->ControlStyle();
  style.Exclude(csCaptureMouse);
  Form->SetControlStyle(style);
  Form->SetBorderStyle(bsNone);
  Form->SetVisible(false);
}

void TacGlowEffect::DropForm(bool Immediately) {
  TForm* form = Form;
  Form = nullptr;
  form->WindowProc = OldWndProc;
  TFlagScope destroying(bGlowingDestroying);
  if (Immediately || !FSkinManager || IsDestroying(FSkinManager) || Terminating())
    form->Free();
  else
    form->Release();
}

void TacGlowEffect::GlowWndProc(TMessage& Message) {
  if (Message.Msg == WM_NCHITTEST) {
    Message.Result = HTTRANSPARENT;
    return;
  }
  OldWndProc(Message);
}

// ------------------------------------------------------------ the unit

Integer ShowGlow(const TRect& R, const TRect& RectVisible, const AnsiString& SectionName,
                 const AnsiString& MaskName, Integer Margin, Integer, HWND Wnd, TsCommonData* SkinData) {
  if (!acLayered() || !SkinData) return -1;
  TsSkinManager* m = SkinData->GetSkinManager();
  const Integer mask = m ? m->GetMaskIndex(SectionName, MaskName + "0") : -1;
  if (!m || !m->IsValidImgIndex(mask)) return -1;
  auto* effect = new TacGlowEffect;
  effect->SkinData = SkinData;
  effect->SetSkinManager(m);
  effect->MaskIndex = mask;
  effect->Margin = Margin;
  acGlowEffects.push_back(effect);
  const Integer id = static_cast<Integer>(acGlowEffects.size()) - 1;
  effect->CreateForm();

  const TRect borders{m->MaskWidthLeft(mask), m->MaskWidthTop(mask), m->MaskWidthRight(mask),
                      m->MaskWidthBottom(mask)};
  Integer w = R.Width() + borders.Left + borders.Right - 2 * Margin;
  Integer h = R.Height() + borders.Top + borders.Bottom - 2 * Margin;
  std::unique_ptr<TacBitmap> image = GlowImage(m, *effect, w, h);
  const TGlowCuts cut = CutsOf(R, RectVisible, w, h, Margin, borders);
  w -= cut.Left + cut.Right;
  h -= cut.Top + cut.Bottom;
  if (cut.Left || cut.Top) {
    std::unique_ptr<TacBitmap> part = CreateBmp32(w, h);
    BitBlt(part->Canvas()->Handle(), 0, 0, w, h, image->Canvas()->Handle(), cut.Left, cut.Top, SRCCOPY);
    image = std::move(part);
  }

  TForm* f = effect->Form;
  f->SetBounds(f->Left(), f->Top(), w, h);
  const HWND after = InsertAfter(Wnd);
  const Integer left = R.Left + Margin + cut.Left - borders.Left;
  const Integer top = R.Top + Margin + cut.Top - borders.Top;
  const HWND glow = f->Handle();
  if (glow) {
    SetWindowLongPtrW(glow, GWL_EXSTYLE, GetWindowLongPtrW(glow, GWL_EXSTYLE) | kGlowExStyle);
    SetWindowPos(glow, after, left, top, 0, 0, SWP_NOSENDCHANGING | SWP_NOOWNERZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    f->SetBounds(left, top, w, h);
    HDC screen = GetDC(nullptr);
    SIZE size{w, h};
    POINT origin{0, 0};
    BLENDFUNCTION blend = kGlowBlend;
    sgraphutils::UpdateLayeredWindow(glow, screen, nullptr, &size, image->Canvas()->Handle(), &origin, 0, &blend,
                                     ULW_ALPHA);
    ReleaseDC(nullptr, screen);
    ShowWindow(glow, SW_SHOWNOACTIVATE);
  }
  return id;
}

void HideGlow(Integer& ID) {
  if (ID < 0 || ID >= static_cast<Integer>(acGlowEffects.size())) return;
  TacGlowEffect*& effect = acGlowEffects[static_cast<size_t>(ID)];
  if (!effect) return;
  if (effect->Form) effect->DropForm(false);
  delete effect;
  effect = nullptr;
  ID = -1;
}

void ClearGlows(bool DestroyForms) {
  TacGlowEffects effects;
  effects.swap(acGlowEffects);
  for (TacGlowEffect* effect : effects) {
    if (!effect) continue;
    if (DestroyForms && effect->Form) effect->DropForm(true);
    delete effect;
  }
}

namespace {

// At the end of the program the glows go; their windows go with the
// process (the class library may already be gone, so their forms are left).
struct TGlowsAtExit {
  ~TGlowsAtExit() {
    for (TacGlowEffect*& effect : acGlowEffects) {
      if (effect) effect->Form = nullptr;
      delete effect;
      effect = nullptr;
    }
    acGlowEffects.clear();
  }
} GlowsAtExit;

}  // namespace
