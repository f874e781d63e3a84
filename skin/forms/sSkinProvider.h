// The form skin provider: the component that makes a form skinned (its
// caption, borders and menu line), registers the form for the skin manager's
// broadcasts and answers the skin commands that ask for a form's provider.
// With it the functions the skin engine calls on skinned forms: the layered
// window, the form's image, its window region, the minimize and restore
// animations and the desktop composition.
//
// For now a provider paints nothing of its own: it registers its form and
// answers the commands "provider" (4) and "hooked" (7) for it; the form keeps
// the class library's plain look, without extended borders, window region or
// minimize animation.
#pragma once

#include <memory>

#include "classlib/ui/Forms.h"
#include "skin/core/acThdTimer.h"
#include "skin/core/sCommonData.h"

// The window of a form's extended borders (shadow and outer frame).
class TacBorderForm : public TObject {
  DK_CLASS(TacBorderForm, TObject)
 public:
  TacBorderForm() = default;
  ~TacBorderForm() override;
  // The border window (nullptr: none).
  HWND Wnd = nullptr;
  // Set while its window is being freed.
  bool Freeing = false;
  // A new region of the border window of that size (0, 0: its size now); 0
  // without a window. The caller hands it to SetWindowRgn.
  HRGN MakeRgn(Integer W = 0, Integer H = 0);
  // Places and redraws the border window around the form.
  void UpdateExBordersPos(bool Redraw = true, Byte Blend = 255);
  // Destroys the border window.
  void FreeWindow();
};

class TsSkinProvider;

// The timers of a form's animations (12 ms steps on a worker thread): the
// blend while the form moves and the minimize and restore animation. For now
// these animations have no steps of their own: the first tick ends them.
class TacMoveTimer : public TacThreadedTimer {
  DK_CLASS(TacMoveTimer, TacThreadedTimer)
 public:
  TacMoveTimer(TComponent* AOwner, TsSkinProvider* Provider);
  TsSkinProvider* Provider;
  void TimeHandler() override;
};

class TacMinTimer : public TacThreadedTimer {
  DK_CLASS(TacMinTimer, TacThreadedTimer)
 public:
  TacMinTimer(TComponent* AOwner, TsSkinProvider* Provider);
  TsSkinProvider* Provider;
  void TimeHandler() override;
};

class TsSkinProvider : public TComponent {
  DK_CLASS(TsSkinProvider, TComponent)
 public:
  // The bits of FormState that the skin engine's core reads and sets.
  static constexpr Cardinal FS_IMAGE_COPIED = 0x1000;   // the form's image was taken before a skin change
  static constexpr Cardinal FS_REDRAW_LOCKED = 0x10000; // the form's drawing is frozen (LockForms)

  // AOwner: the form to skin.
  explicit TsSkinProvider(TComponent* AOwner);
  ~TsSkinProvider() override;

  TCustomForm* Form = nullptr;
  TsScrollWndData* SkinData() const { return FSkinData.get(); }
  void SetSkinData(TsScrollWndData* Value) { FSkinData->Assign(Value); }
  // Whether the provider paints the caption and borders.
  bool DrawNonClientArea() const { return FDrawNonClientArea; }
  void SetDrawNonClientArea(bool Value) { FDrawNonClientArea = Value; }

  bool AllowAnimation = true;
  bool AllowExtBorders = true;
  bool Hiding = false;   // the form is being hidden with an animation
  bool Layered = false;  // the form was made a layered window for an animation
  bool SkinChanging = false;
  Cardinal FormState = 0;
  std::unique_ptr<TacBorderForm> BorderForm;  // nullptr while extended borders are off
  TWinControl* CoverForm = nullptr;
  std::unique_ptr<TacBitmap> FormImage;       // the form as it looked (owned)

  // Where the form's client area lies in the provider's image of the window.
  Integer OffsetX();
  Integer OffsetY();
  // The skin's title height for the form.
  Integer ActualTitleHeight();

 private:
  void NewWndProc(TMessage& Message);
  TWndMethod FOldWndProc;
  bool FDrawNonClientArea = true;
  std::unique_ptr<TsScrollWndData> FSkinData;
};

// A new 32-bit picture of the form as it looks now, of the size of the
// provider's image of the window (nullptr while it has none); the caller owns it.
std::unique_ptr<TacBitmap> GetFormImage(TsSkinProvider* Provider, bool Flag);
// Shows Bmp in the layered window Wnd with the opacity Value (0..255) at Pos
// (nullptr: where it is); a nullptr Bmp shows a transparent one of the
// window's size.
void SetFormBlendValue(HWND Wnd, TacBitmap* Bmp, Integer Value, const TPoint* Pos = nullptr);
// Makes Wnd a layered window of the opacity Alpha, or takes the layered style
// (and the visible style) away without redrawing.
void DoLayered(HWND Wnd, bool Layered, Byte Alpha);
// The rectangles of the form's window region / the region on the window.
void FillArOR(TsSkinProvider* Provider);
void UpdateRgn(TsSkinProvider* Provider, bool Repaint);
// The minimize and restore animations of the form.
void StartMinimizing(TsSkinProvider* Provider);
bool StartRestoring(TsSkinProvider* Provider);

// ------------------------------------------------- the desktop composition

// Whether the desktop window manager composes the screen (False when the
// system cannot say).
bool AeroIsEnabled();
// The composition's query, looked up in the system on first use (nullptr
// when missing); tests put their own answer in.
using TDwmIsCompositionEnabled = HRESULT(WINAPI*)(BOOL* Enabled);
TDwmIsCompositionEnabled& DwmIsCompositionEnabledFn();
HRESULT DwmSetWindowAttribute(HWND Wnd, DWORD Attribute, const void* Data, DWORD Size);
void DwmInvalidateIconicBitmaps(HWND Wnd);
// The task bar's thumbnail and live preview of the provider's form.
bool SetThumbIcon(HWND Wnd, TsSkinProvider* Provider, Integer W, Integer H);
bool SetPreviewBmp(HWND Wnd, TsSkinProvider* Provider);
