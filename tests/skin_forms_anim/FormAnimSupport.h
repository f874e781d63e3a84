// What the tests of the form animations share: a recorder put in front of
// the process-wide UpdateLayeredWindow (window, constant alpha, position and
// a copy of the picture), a clock that keeps the threaded timers' workers
// from ticking (the tests step the timers by hand), and forms with providers.
#pragma once

#include <memory>
#include <vector>

#include "../skin_core/SkinCoreSupport.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/forms/sVclUtilsAnim.h"
#include "skin/graphics/sGraphUtils.h"

namespace formanim {

// One picture handed to a layered window.
struct TPush {
  HWND Wnd;
  int Alpha;
  SIZE Size;
  bool HasPos;
  POINT Pos;
  std::shared_ptr<TacBitmap> Picture;
};

// Records every UpdateLayeredWindow call of the process while it lives (and
// hands it on to the system's).
class TLayeredRecorder {
 public:
  TLayeredRecorder() : FSystem(sgraphutils::UpdateLayeredWindow) {
    Current() = this;
    sgraphutils::UpdateLayeredWindow = Record;
  }
  ~TLayeredRecorder() {
    sgraphutils::UpdateLayeredWindow = FSystem;
    Current() = nullptr;
  }
  TLayeredRecorder(const TLayeredRecorder&) = delete;
  TLayeredRecorder& operator=(const TLayeredRecorder&) = delete;

  std::vector<TPush> Pushes;
  // The alphas handed to Wnd, in order (all windows for nullptr).
  std::vector<int> Alphas(HWND Wnd = nullptr) const {
    std::vector<int> a;
    for (const TPush& p : Pushes)
      if (!Wnd || p.Wnd == Wnd) a.push_back(p.Alpha);
    return a;
  }
  // The windows that got pictures, in the order of their first one.
  std::vector<HWND> Windows() const {
    std::vector<HWND> w;
    for (const TPush& p : Pushes)
      if (std::find(w.begin(), w.end(), p.Wnd) == w.end()) w.push_back(p.Wnd);
    return w;
  }

 private:
  static TLayeredRecorder*& Current() {
    static TLayeredRecorder* current = nullptr;
    return current;
  }
  static BOOL WINAPI Record(HWND Wnd, HDC Dst, POINT* Pos, SIZE* Size, HDC Src, POINT* SrcPos, COLORREF Key,
                            BLENDFUNCTION* Blend, DWORD Flags) {
    TLayeredRecorder* r = Current();
    std::shared_ptr<TacBitmap> copy(CreateBmp32(Size->cx, Size->cy).release());
    HDC dc = CreateCompatibleDC(Src);
    HGDIOBJ old = SelectObject(dc, copy->Handle());
    BitBlt(dc, 0, 0, Size->cx, Size->cy, Src, SrcPos ? SrcPos->x : 0, SrcPos ? SrcPos->y : 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
    r->Pushes.push_back(TPush{Wnd, Blend->SourceConstantAlpha, *Size, Pos != nullptr, Pos ? *Pos : POINT{}, copy});
    return r->FSystem ? r->FSystem(Wnd, Dst, Pos, Size, Src, SrcPos, Key, Blend, Flags) : TRUE;
  }
  TacUpdateLayeredWindow FSystem;
};

// A clock under which the threaded timers' workers wait until they are
// stopped: no tick arrives but those the test runs itself.
class THeldClock : public TacTimerClock {
 public:
  TWaitResult Wait(TEvent& Stop, Cardinal) override { return Stop.WaitFor(INFINITE_WAIT); }
};
class THeldTimers {
 public:
  THeldTimers() { SetTimerClock(&FClock); }
  ~THeldTimers() { SetTimerClock(nullptr); }
  THeldTimers(const THeldTimers&) = delete;
  THeldTimers& operator=(const THeldTimers&) = delete;

 private:
  THeldClock FClock;
};

// Records every SetLayeredWindowAttributes call of the process while it
// lives (window and constant alpha) and hands it on to the system's.
class TAttributesRecorder {
 public:
  struct TCall {
    HWND Wnd;
    int Alpha;
  };
  TAttributesRecorder() : FSystem(sgraphutils::SetLayeredWindowAttributes) {
    Current() = this;
    sgraphutils::SetLayeredWindowAttributes = Record;
  }
  ~TAttributesRecorder() {
    sgraphutils::SetLayeredWindowAttributes = FSystem;
    Current() = nullptr;
  }
  TAttributesRecorder(const TAttributesRecorder&) = delete;
  TAttributesRecorder& operator=(const TAttributesRecorder&) = delete;

  std::vector<TCall> Calls;
  std::vector<int> Alphas(HWND Wnd) const {
    std::vector<int> a;
    for (const TCall& c : Calls)
      if (c.Wnd == Wnd) a.push_back(c.Alpha);
    return a;
  }

 private:
  static TAttributesRecorder*& Current() {
    static TAttributesRecorder* current = nullptr;
    return current;
  }
  static BOOL WINAPI Record(HWND Wnd, COLORREF Key, BYTE Alpha, DWORD Flags) {
    TAttributesRecorder* r = Current();
    r->Calls.push_back(TCall{Wnd, Alpha});
    return r->FSystem ? r->FSystem(Wnd, Key, Alpha, Flags) : TRUE;
  }
  TacSetLayeredWindowAttributes FSystem;
};

// The system's version seen by the animations, changed for a scope.
class TWinVerScope {
 public:
  explicit TWinVerScope(Integer Version) : FSaved(acWinVer) { acWinVer = Version; }
  ~TWinVerScope() { acWinVer = FSaved; }
  TWinVerScope(const TWinVerScope&) = delete;
  TWinVerScope& operator=(const TWinVerScope&) = delete;

 private:
  Integer FSaved;
};

// The number of pixels of a picture that are not fully transparent.
inline int OpaquePixels(TacBitmap* Bmp) {
  const TPixelView32 pixels = PixelsOf(Bmp);
  int n = 0;
  for (Integer y = 0; y < Bmp->Height(); ++y)
    for (Integer x = 0; x < Bmp->Width(); ++x)
      if (pixels.At(x, y) >> 24) ++n;
  return n;
}

inline bool Layered(HWND Wnd) { return (GetWindowLongPtrW(Wnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

inline TRect WindowRect(HWND Wnd) {
  RECT r{};
  GetWindowRect(Wnd, &r);
  return TRect{r.left, r.top, r.right, r.bottom};
}

// A shown form with a provider whose image of the window is the window's size.
struct TFormWithPicture {
  TForm* Form;
  TsSkinProvider* Provider;
  explicit TFormWithPicture(const AnsiString& Name, TColor Color = clLime) {
    Form = skincore::NewForm(Name);
    Form->SetColor(Color);
    Provider = Create<TsSkinProvider>(Form);
    RECT r{};
    GetWindowRect(Form->Handle(), &r);
    Provider->SkinData()->CacheBmp = CreateBmp32(r.right - r.left, r.bottom - r.top);
    Form->Update();
  }
  ~TFormWithPicture() {
    if (Form) Form->Free();
  }
  HWND Wnd() const { return Form->Handle(); }
};

// The animations of the manager's options for the test.
struct TAnimOptions {
  skintest::TSkinDir Dir;
  TsSkinManager* Manager;
  TAnimOptions() : Manager(skintest::LoadFolderSkin(Dir, "anim", skincore::SkinTextOf({{"FORM"}, {"BUTTON"}}))) {}
  ~TAnimOptions() { Manager->Free(); }
};

}  // namespace formanim
