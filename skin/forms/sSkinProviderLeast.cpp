// The least forms of the extended border window the monitor keeps off and
// of the blend on moving.
#include "skin/forms/sSkinProvider.h"

#include "classlib/ui/PaintScope.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sStyleSimply.h"
#include "skin/core/sVclUtils.h"
#include "skin/graphics/sGraphUtils.h"

// ------------------------------------------------------------- TacBorderForm

TacBorderForm::~TacBorderForm() { FreeWindow(); }

HRGN TacBorderForm::MakeRgn(Integer W, Integer H) {
  if (!Wnd) return nullptr;
  if (W == 0 && H == 0) {
    RECT r{};
    GetWindowRect(Wnd, &r);
    W = r.right - r.left;
    H = r.bottom - r.top;
  }
  return CreateRectRgn(0, 0, W, H);
}

void TacBorderForm::UpdateExBordersPos(bool, Byte) {}

void TacBorderForm::FreeWindow() {
  if (Wnd) DestroyWindow(Wnd);
  Wnd = nullptr;
}

Integer TacBorderForm::CaptionHeight(bool) const { return 0; }
