// The glyph of every button the skin engine paints: the skinned buttons, bit
// buttons and speed buttons, and the plain buttons the window subclassing
// skins. A caller describes the glyph in one record and acDrawGlyphEx picks
// the image (from an image list, or from a glyph strip of several images side
// by side) and applies the state's effects: blending, grey, the disabled look
// and the mirror image below the glyph.
//
// (The class names of windows the form hook never skins are kept by the hook
// itself: ThirdPartySkipForms in acDials.)
#pragma once

#include "classlib/ui/Graphics.h"
#include "classlib/ui/ImgList.h"
#include "skin/core/sConst.h"

class TsSkinManager;
class TControl;

struct TacDrawGlyphData {
  TBitmap* DstBmp = nullptr;           // the button's 32-bit cache; nullptr: draw on Canvas
  TCanvas* Canvas = nullptr;           // read only when DstBmp is nullptr
  TCustomImageList* Images = nullptr;
  Integer ImageIndex = -1;
  TBitmap* Glyph = nullptr;            // NumGlyphs images side by side (when the list is not usable)
  Integer SkinIndex = -1;              // the section whose colours apply; below 0: no skin
  TsSkinManager* SkinManager = nullptr;
  TRect ImgRect;                       // where the glyph goes (in DstBmp or on Canvas)
  Integer NumGlyphs = 1;
  bool Enabled = true;
  Integer Blend = 0;                   // transparency percent of the normal state
  bool Down = false;
  bool Grayed = false;                 // grey in the normal state
  Integer CurrentState = 0;            // 0 normal, 1 hot, 2 pressed, 3 default
  TsDisabledGlyphKind DisabledGlyphKind{dgBlended};
  bool Reflected = false;              // a mirror image below the glyph
};

// The number of images of a list (0 for nullptr); a virtual list counts the
// images of the list it shows.
Integer GetImageCount(TCustomImageList* ImgList);
// Draws the glyph the record describes; a missing image draws nothing.
void acDrawGlyphEx(const TacDrawGlyphData& D);
// The glyph of a skinned button (TsButton, TsBitBtn, TsSpeedButton and their
// descendants) into its cache, or onto Canvas when it is not skinned.
void DrawBtnGlyph(TControl* Button, TCanvas* Canvas);

DK_LINK_UNIT(sThirdParty)
