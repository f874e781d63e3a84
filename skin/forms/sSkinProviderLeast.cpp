// The least forms of the animation and composition functions of skinned
// forms: the layered window, the form's image, the minimize and restore
// animation (single frame) and the desktop composition (off here), with the
// extended border window the monitor keeps off.
#include "skin/forms/sSkinProvider.h"

#include "classlib/ui/PaintScope.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sStyleSimply.h"
#include "skin/core/sVclUtils.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

template <class Fn>
Fn SystemFunction(const wchar_t* Module, const char* Name) {
  HMODULE module = GetModuleHandleW(Module);
  if (!module) module = LoadLibraryW(Module);
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, Name))) : nullptr;
}

bool SystemVersion6() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExW(&info);
#pragma GCC diagnostic pop
  return info.dwMajorVersion >= 6;
}

}  // namespace

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

// ------------------------------------------------------------ the timers

namespace {
constexpr Cardinal kAnimationEnded = 65535;
}  // namespace

TacMoveTimer::TacMoveTimer(TComponent* AOwner, TsSkinProvider* Provider)
    : TacThreadedTimer(AOwner, true), Provider(Provider) {}

void TacMoveTimer::TimeHandler() { SetEnabled(false); }

TacMinTimer::TacMinTimer(TComponent* AOwner, TsSkinProvider* Provider)
    : TacThreadedTimer(AOwner, true), Provider(Provider) {}

void TacMinTimer::TimeHandler() {
  SetEnabled(false);
  Restoring = false;
  SetInterval(kAnimationEnded);
}

// -------------------------------------------------------- the skinned form

std::unique_ptr<TacBitmap> GetFormImage(TsSkinProvider* Provider, bool) {
  TacBitmap* cache = Provider && Provider->Form ? Provider->SkinData()->CacheBmp.get() : nullptr;
  if (!cache || cache->Width() == 0 || cache->Height() == 0) return nullptr;
  std::unique_ptr<TacBitmap> image = CreateBmp32(cache->Width(), cache->Height());
  SkinPaintTo(image.get(), Provider->Form, 0, 0, Provider);
  return image;
}

void SetFormBlendValue(HWND Wnd, TacBitmap* Bmp, Integer Value, const TPoint* Pos) {
  TacUpdateLayeredWindow update = sgraphutils::UpdateLayeredWindow;
  if (!Wnd || !update) return;
  std::unique_ptr<TacBitmap> transparent;
  if (!Bmp) {
    RECT r{};
    GetWindowRect(Wnd, &r);
    transparent = CreateBmp32(r.right - r.left, r.bottom - r.top);
    Bmp = transparent.get();
  }
  TMemoryDC dc(nullptr);
  TSelectScope select(dc.Handle(), Bmp->Handle());
  SIZE size{Bmp->Width(), Bmp->Height()};
  POINT origin{0, 0};
  POINT place{Pos ? Pos->X : 0, Pos ? Pos->Y : 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(LimitIt(Value, 0, 255)), AC_SRC_ALPHA};
  update(Wnd, nullptr, Pos ? &place : nullptr, &size, dc.Handle(), &origin, 0, &blend, ULW_ALPHA);
}

bool DoLayered(HWND Wnd, bool Layered, Byte Alpha) {
  const LONG_PTR exStyle = GetWindowLongPtrW(Wnd, GWL_EXSTYLE);
  TacSetLayeredWindowAttributes attributes = sgraphutils::SetLayeredWindowAttributes;
  if (Layered && attributes) {
    const bool added = !(exStyle & WS_EX_LAYERED);
    if (added) SetWindowLongPtrW(Wnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    attributes(Wnd, clNone, Alpha, LWA_ALPHA);
    return added;
  }
  SetWindowLongPtrW(Wnd, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
  SetWindowLongPtrW(Wnd, GWL_STYLE, GetWindowLongPtrW(Wnd, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_VISIBLE));
  return false;
}

void StartMinimizing(TsSkinProvider*) {}
bool StartRestoring(TsSkinProvider*) { return true; }

// ------------------------------------------------- the desktop composition

TDwmIsCompositionEnabled& DwmIsCompositionEnabledFn() {
  static TDwmIsCompositionEnabled fn = SystemFunction<TDwmIsCompositionEnabled>(L"dwmapi.dll", "DwmIsCompositionEnabled");
  return fn;
}

bool AeroIsEnabled() {
  if (!SystemVersion6()) return false;
  TDwmIsCompositionEnabled fn = DwmIsCompositionEnabledFn();
  BOOL enabled = FALSE;
  return fn && fn(&enabled) == S_OK && enabled;
}

HRESULT DwmSetWindowAttribute(HWND Wnd, DWORD Attribute, const void* Data, DWORD Size) {
  using TFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
  static const auto fn = SystemFunction<TFn>(L"dwmapi.dll", "DwmSetWindowAttribute");
  return fn ? fn(Wnd, Attribute, Data, Size) : E_NOTIMPL;
}

void InitDwm(HWND, bool) {}

void DwmInvalidateIconicBitmaps(HWND Wnd) {
  using TFn = HRESULT(WINAPI*)(HWND);
  static const auto fn = SystemFunction<TFn>(L"dwmapi.dll", "DwmInvalidateIconicBitmaps");
  if (fn && SystemVersion6()) fn(Wnd);
}

namespace {
// Scales a picture to fit W x H, keeping its proportions.
std::unique_ptr<TacBitmap> FitInto(TacBitmap* Bmp, Integer W, Integer H) {
  const Integer bw = Bmp->Width(), bh = Bmp->Height();
  Integer w = W, h = bh * W / bw;
  if (h > H) {
    h = H;
    w = bw * H / bh;
  }
  std::unique_ptr<TacBitmap> result = CreateBmp32(Maxi(w, 1), Maxi(h, 1));
  StretchCopy(result.get(), 0, 0, result->Width(), result->Height(), Bmp, 0, 0, bw, bh);
  return result;
}
}  // namespace

bool SetThumbIcon(HWND Wnd, TsSkinProvider* Provider, Integer W, Integer H) {
  using TFn = HRESULT(WINAPI*)(HWND, HBITMAP, DWORD);
  static const auto fn = SystemFunction<TFn>(L"dwmapi.dll", "DwmSetIconicThumbnail");
  if (!fn || !SystemVersion6() || W == 0 || H == 0) return false;
  std::unique_ptr<TacBitmap> image = GetFormImage(Provider, false);
  if (!image || image->Width() == 0 || image->Height() == 0) return false;
  std::unique_ptr<TacBitmap> thumb = FitInto(image.get(), W, H);
  return fn(Wnd, thumb->Handle(), 0) == S_OK;
}

bool SetPreviewBmp(HWND Wnd, TsSkinProvider* Provider) {
  using TFn = HRESULT(WINAPI*)(HWND, HBITMAP, POINT*, DWORD);
  static const auto fn = SystemFunction<TFn>(L"dwmapi.dll", "DwmSetIconicLivePreviewBitmap");
  if (!fn || !SystemVersion6()) return false;
  std::unique_ptr<TacBitmap> image = GetFormImage(Provider, false);
  if (!image || image->Width() == 0 || image->Height() == 0) return false;
  return fn(Wnd, image->Handle(), nullptr, 0) == S_OK;
}

Integer TacBorderForm::CaptionHeight(bool) const { return 0; }
