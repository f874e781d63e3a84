// Glow windows: a soft glow around a hot control, shown in a borderless
// top-level window of its own that is layered, lets the mouse through and is
// never activated. It is painted from a border image of the control's
// section ("GLOW0" for the image name "GLOW") that reaches beyond the
// control by the image's margins less the section's glow margin.
//
// A glow's number is its place in the glow list; a hidden glow leaves an
// empty place, so the numbers that controls keep stay valid until the list
// is cleared (the skin manager clears it whenever a skin comes or goes).
#pragma once

#ifdef _WIN32

#include <vector>

#include "classlib/ui/Forms.h"
#include "skin/core/sSkinManager.h"

class TsCommonData;

// One shown glow.
class TacGlowEffect : public TObject, public TacManagerClient {
  DK_CLASS(TacGlowEffect, TObject)
 public:
  TacGlowEffect() = default;
  ~TacGlowEffect() override;
  TacGlowEffect(const TacGlowEffect&) = delete;
  TacGlowEffect& operator=(const TacGlowEffect&) = delete;

  TsSkinManager* SkinManager() const { return FSkinManager; }
  void SetSkinManager(TsSkinManager* Value);
  void ManagerFreed(TsSkinManager*) override { FSkinManager = nullptr; }

  TsCommonData* SkinData = nullptr;
  Integer MaskIndex = -1;  // the skin image the glow is drawn from
  Integer Margin = 0;      // of the image's border widths, what does not reach beyond the control
  TForm* Form = nullptr;   // the glow's window
  TWndMethod OldWndProc;   // the form's own window procedure while the glow's replaces it

  // Makes the glow's form (once).
  void CreateForm();
  // Gives the form its own window procedure back and frees it: at once when
  // Immediately, the manager is going or gone or the application ends,
  // else once the messages now queued have been handled.
  void DropForm(bool Immediately);

 private:
  void GlowWndProc(TMessage& Message);
  TsSkinManager* FSkinManager = nullptr;
};

using TacGlowEffects = std::vector<TacGlowEffect*>;

// The glows shown (empty places: hidden ones), by number.
extern TacGlowEffects acGlowEffects;
// True while a glow's form is being freed or released.
extern bool bGlowingDestroying;

// Shows a glow around the control whose screen rectangle is R and whose
// visible part (in its own coordinates) is RectVisible, from the image
// MaskName + "0" of the section SectionName, the image's border widths less
// Margin reaching beyond the control; the glow stays just above Wnd (the
// control's window, or the window the glow belongs to). Alpha is not used.
// The glow's number, or -1 when nothing could be shown (no layered windows,
// no skin state, no such image).
Integer ShowGlow(const TRect& R, const TRect& RectVisible, const AnsiString& SectionName,
                 const AnsiString& MaskName, Integer Margin, Integer Alpha, HWND Wnd, TsCommonData* SkinData);
// Removes the glow of that number and sets the number to -1; numbers that
// name no glow are left alone.
void HideGlow(Integer& ID);
// Removes every glow and empties the list; with DestroyForms their forms
// are freed at once.
void ClearGlows(bool DestroyForms);

#endif
