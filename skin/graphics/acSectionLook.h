// What the section painters (the general ones and the 32-bit ones) read the
// same way: the state a section is painted in, the weight of a parent's
// background, the fill mode of a texture image, and the image an index names.
#pragma once

#include "skin/graphics/acPaintManager.h"

namespace acsection {

// The state reduced to the section's states (never below 0: a section of no
// states paints its normal look).
inline Integer ReducedState(const TsGeneralData& Section, Integer State) {
  if (State >= Section.StateCount) State = Section.StateCount - 1;
  return State < 0 ? 0 : State;
}
// The look of a state: 0 normal, 1 hot (every state above 0).
inline Integer LookOf(Integer State) { return State >= 1 ? 1 : 0; }

// The weight a background keeps under a section of transparency T:
// Round(T * 2.55) in integers, halves to the even neighbour.
inline Integer TransparencyWeight(Integer T) {
  const Integer n = T * 255, q = n / 100, r = n % 100;
  return r > 50 || (r == 50 && (q & 1)) ? q + 1 : q;
}

// A texture image's fill mode; numbers outside the table (a skin may write
// any two digits) lay the texture tiled.
inline TacFillMode FillModeOf(Integer Mode) { return Mode >= 0 && Mode < 15 ? acFillModes[Mode] : fmTiled; }

// The image of an index, or nullptr for an index out of the images.
inline const TsMaskData* Image(const TsSkinManager* Manager, Integer Index) {
  return Manager->IsValidImgIndex(Index) ? &Manager->Masks[static_cast<size_t>(Index)] : nullptr;
}

// A copy of a parent's background moved by the place of the painted owner in
// that parent.
inline TCacheInfo Moved(const TCacheInfo& CI, const TPoint& Offset) {
  TCacheInfo moved = CI;
  moved.X += Offset.X;
  moved.Y += Offset.Y;
  return moved;
}

// The section's four corner images at R's corners, each over what the target
// holds there.
void DrawCornerImages(TsSkinManager* Manager, const TsGeneralData& Section, Integer State, const TRect& R,
                      TacBitmap* Target);

// One pass of text in Color: every pixel t of Shades (the text drawn black
// on white) other than white (alpha 0 or 255) weighs Color against the pixel
// D of Dst at At + (x, y), each channel by the same channel of t:
// ((D - C) * t + C * 256) shr 8, and makes it opaque. Pixels that fall
// outside Dst are left out.
void LayTextShades(TacBitmap* Dst, const TPixelView32& Shades, const TPoint& At, TColor Color);

}  // namespace acsection
