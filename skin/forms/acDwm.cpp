#include "skin/forms/acDwm.h"

#include <cmath>
#include <memory>

#include "skin/forms/sSkinProvider.h"
#include "skin/forms/sVclUtilsAnim.h"
#include "skin/graphics/sGraphUtils.h"

HMODULE hDWMAPI = nullptr;

namespace {

// Blur behind a window: what DwmEnableBlurBehindWindow takes.
struct TacBlurBehind {
  DWORD Flags;
  BOOL Enable;
  HRGN Region;
  BOOL TransitionOnMaximized;
};
constexpr DWORD kBlurEnable = 1;
constexpr DWORD kBlurRegion = 2;
// The window attribute that forces the caption transitions off.
constexpr DWORD kTransitionsForceDisabled = 3;
// Drawing a thumbnail shows the frame too.
constexpr DWORD kDisplayFrame = 1;

bool Version6() { return acWinVer >= 6; }

// The function of the library, looked up when Fn is still nullptr (and the
// library loaded for it when Load); Fn stays nullptr when it is missing.
template <class F>
F Lookup(F& Fn, const char* Name, bool Load = true) {
  if (!Fn) {
    if (Load) LoadDwmApi();
    if (hDWMAPI) Fn = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(hDWMAPI, Name)));
  }
  return Fn;
}

// Frees the library at the end of the program.
struct TDwmUnload {
  ~TDwmUnload() {
    if (hDWMAPI) FreeLibrary(hDWMAPI);
    hDWMAPI = nullptr;
  }
} dwmUnload;

// The picture the task bar gets: the image of a minimize flight on its way
// back, else the provider's image of its window. Sets FromCache when it is
// the latter.
TacBitmap* IconicSource(TsSkinProvider* Provider, bool& FromCache) {
  FromCache = false;
  if (!Provider) return nullptr;
  if (TacMinTimer* t = RestoringMinTimer(Provider)) return t->Image.get();
  FromCache = true;
  return Provider->SkinData()->CacheBmp.get();
}

bool Empty(TacBitmap* Bmp) { return !Bmp || BitmapWidth(Bmp) == 0 || BitmapHeight(Bmp) == 0; }

// Clears the provider's "taking a picture" bit when it goes.
class TIconicScope {
 public:
  explicit TIconicScope(TsSkinProvider* Provider) : FProvider(Provider) { FProvider->FormState |= acfs::TaskbarImage; }
  ~TIconicScope() { FProvider->FormState &= ~acfs::TaskbarImage; }
  TIconicScope(const TIconicScope&) = delete;
  TIconicScope& operator=(const TIconicScope&) = delete;

 private:
  TsSkinProvider* FProvider;
};

void UpdateBorders(TsSkinProvider* Provider) {
  if (Provider->BorderForm) Provider->BorderForm->UpdateExBordersPos(false, 255);
}

}  // namespace

TacDwmFunctions& acDwm() {
  static TacDwmFunctions functions;
  return functions;
}

TDwmIsCompositionEnabled& DwmIsCompositionEnabledFn() { return acDwm().IsCompositionEnabled; }

void LoadDwmApi() {
  if (!hDWMAPI) hDWMAPI = LoadLibraryA("DWMAPI.DLL");
}

bool AeroIsEnabled() {
  if (!Version6()) return false;
  TDwmIsCompositionEnabled fn = Lookup(acDwm().IsCompositionEnabled, "DwmIsCompositionEnabled");
  BOOL enabled = FALSE;
  return fn && SUCCEEDED(fn(&enabled)) && enabled;
}

bool ForbidSysAnimating() { return !AeroIsEnabled(); }

void InitDwm(HWND Wnd, bool Disable) {
  if (!AeroIsEnabled()) return;
  const DWORD value = Disable ? 1 : 0;
  DwmSetWindowAttribute(Wnd, kTransitionsForceDisabled, &value, sizeof value);
}

HRESULT DwmSetWindowAttribute(HWND Wnd, DWORD Attribute, const void* Data, DWORD Size) {
  TacDwmFunctions& f = acDwm();
  if (!f.SetWindowAttribute) {
    // Blur behind becomes available with the first attribute set.
    Lookup(f.SetWindowAttribute, "DwmSetWindowAttribute");
    Lookup(f.EnableBlurBehindWindow, "DwmEnableBlurBehindWindow");
  }
  return f.SetWindowAttribute ? f.SetWindowAttribute(Wnd, Attribute, Data, Size) : E_NOTIMPL;
}

void DwmInvalidateIconicBitmaps(HWND Wnd) {
  if (!Version6()) return;
  if (TDwmInvalidateIconicBitmaps fn = Lookup(acDwm().InvalidateIconicBitmaps, "DwmInvalidateIconicBitmaps", false))
    fn(Wnd);
}

void EnableBlurBehind(HWND Wnd, bool Enable, HRGN Rgn) {
  if (hDWMAPI && acDwm().EnableBlurBehindWindow) {
    const TacBlurBehind blur{Rgn ? kBlurEnable | kBlurRegion : kBlurEnable, Enable ? TRUE : FALSE, Rgn, FALSE};
    acDwm().EnableBlurBehindWindow(Wnd, &blur);
  }
  if (Rgn) DeleteObject(Rgn);
}

TSize ThumbSize(Integer W, Integer H, Integer MaxWidth, Integer MaxHeight) {
  if (W <= 0 || H <= 0) return TSize{0, 0};
  if (double(MaxWidth) / MaxHeight > double(W) / H)
    return TSize{static_cast<Integer>(std::nearbyint(double(W) * MaxHeight / H)), MaxHeight};
  return TSize{MaxWidth, static_cast<Integer>(std::nearbyint(double(H) * MaxWidth / W))};
}

bool SetThumbIcon(HWND Wnd, TsSkinProvider* Provider, Integer MaxWidth, Integer MaxHeight) {
  if (!Version6() || MaxWidth == 0 || MaxHeight == 0) return false;
  TDwmSetIconicThumbnail fn = Lookup(acDwm().SetIconicThumbnail, "DwmSetIconicThumbnail");
  bool fromCache = false;
  TacBitmap* source = IconicSource(Provider, fromCache);
  if (!fn || Empty(source)) return false;
  const TSize size = ThumbSize(BitmapWidth(source), BitmapHeight(source), MaxWidth, MaxHeight);
  if (size.cx == 0 || size.cy == 0) return false;
  TIconicScope taking(Provider);
  std::unique_ptr<TacBitmap> thumb = CreateBmp32(size.cx, size.cy);
  Stretch(source, thumb.get(), size.cx, size.cy, ftTriangle);
  if (FAILED(fn(Wnd, thumb->Handle(), 0))) return false;
  if (fromCache) {
    // The cache holds the frame only: the whole form replaces it.
    if (std::unique_ptr<TacBitmap> image = GetFormImage(Provider, false)) {
      Stretch(image.get(), thumb.get(), size.cx, size.cy, ftTriangle);
      fn(Wnd, thumb->Handle(), 0);
    }
    UpdateBorders(Provider);
  }
  return true;
}

bool SetPreviewBmp(HWND Wnd, TsSkinProvider* Provider) {
  if (!Version6()) return false;
  TDwmSetIconicLivePreviewBitmap fn = Lookup(acDwm().SetIconicLivePreviewBitmap, "DwmSetIconicLivePreviewBitmap");
  bool fromCache = false;
  TacBitmap* source = IconicSource(Provider, fromCache);
  if (!fn || Empty(source)) return false;
  TIconicScope taking(Provider);
  POINT origin{0, 0};
  if (!fromCache) return SUCCEEDED(fn(Wnd, source->Handle(), &origin, kDisplayFrame));
  std::unique_ptr<TacBitmap> image = GetFormImage(Provider, false);
  const bool result = image && SUCCEEDED(fn(Wnd, image->Handle(), &origin, kDisplayFrame));
  UpdateBorders(Provider);
  return result;
}
