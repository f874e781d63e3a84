// What the tests of the skin effects share beside the skin core's hand-made
// controls: a form with a skin state of its own, a fading button that shows
// one of two solid looks, and pixels read back from windows and bitmaps.
#pragma once

#include <functional>
#include <memory>

#include "../skin_core/SkinCoreSupport.h"
#include "classlib/ui/PaintScope.h"
#include "skin/core/sFade.h"
#include "skin/graphics/acBitmap.h"

namespace skinfx {

using namespace skincore;

// A form that answers the skin command through a skin state of its own (with
// a cache), as a skinned form does.
class TSkinnedForm : public TForm {
  DK_CLASS(TSkinnedForm, TForm)
 public:
  TSkinnedForm(TComponent* AOwner, int Dummy) : TForm(AOwner, Dummy) {}
  void Construct() override {
    inherited::Construct();
    FData = std::make_unique<TsCommonData>(this, true);
  }
  TsCommonData* SkinData() const { return FData.get(); }
  void WndProc(TMessage& Message) override {
    if (FData && CommonWndProc(Message, FData.get())) return;
    inherited::WndProc(Message);
  }

 private:
  std::unique_ptr<TsCommonData> FData;
};

// A window button that fades between two solid looks: it builds its cache in
// the colour of its state (Hot) when asked (the skin command 23), stops its
// fade when told (16) and paints its cache.
class TFadeButton : public TCustomControl, public TCommandLog {
  DK_CLASS(TFadeButton, TCustomControl)
 public:
  explicit TFadeButton(TComponent* AOwner) : TCustomControl(AOwner) {}
  ~TFadeButton() override { StopFading(FadeTimer); }
  void Construct() override {
    inherited::Construct();
    FData = std::make_unique<TsCommonData>(this, true);
  }
  TsCommonData* SkinData() const { return FData.get(); }
  TsFadeTimer* FadeTimer = nullptr;
  TColor Normal = 0x00FF8040;
  TColor Hot = 0x00204060;
  bool IsHot = false;
  int Stops = 0;

  void WndProc(TMessage& Message) override {
    if (Hear(Message)) return;
    if (Message.Msg == SM_ALPHACMD) {
      switch (AlphaCmdOf(Message.WParam)) {
        case ACMD_BUILD_CACHE: BuildCache(); break;
        case ACMD_STOP_FADE:
          ++Stops;
          StopFading(FadeTimer);
          return;
        default: break;
      }
    }
    if (CommonWndProc(Message, FData.get())) return;
    inherited::WndProc(Message);
  }
  void BuildCache() {
    InitCacheBmp(FData.get());
    FillBitmapRect(FData->CacheBmp.get(), TRect{0, 0, Width(), Height()}, IsHot ? Hot : Normal);
  }

 protected:
  void Paint() override {
    if (!FData->CacheBmp || FData->CacheBmp->Width() != Width()) BuildCache();
    BitBlt(Canvas()->Handle(), 0, 0, Width(), Height(), FData->CacheBmp->Canvas()->Handle(), 0, 0, SRCCOPY);
  }

 private:
  std::unique_ptr<TsCommonData> FData;
};

// Runs the application's message loop until Pred; false after ten seconds.
inline bool LoopUntil(const std::function<bool()>& Pred) {
  const DWORD end = GetTickCount() + 10000;
  while (!Pred()) {
    if (GetTickCount() > end) return false;
    MSG msg;
    if (!Application->ProcessMessage(msg)) {
      CheckSynchronize(1);
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
  }
  return true;
}

// The pixel of a bitmap as a TColor.
inline TColor BitmapPixel(TacBitmap* Bmp, int X, int Y) {
  return static_cast<TColor>(GetPixel(Bmp->Canvas()->Handle(), X, Y)) & 0xFFFFFF;
}

// (old x a + new x (256 - a)) shr 8 in each colour channel.
inline TColor Blend(TColor Old, TColor New, int A) {
  TColor out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int o = (Old >> shift) & 0xFF, n = (New >> shift) & 0xFF;
    out |= static_cast<TColor>(((o * A + n * (256 - A)) >> 8) << shift);
  }
  return out;
}

}  // namespace skinfx
