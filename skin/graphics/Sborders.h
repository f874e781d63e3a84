// Borders of skinned controls: a border image painted into a bitmap with the
// transparent pixels of its corners cut out of a window region (buttons with
// rounded shapes).
#pragma once

#ifdef _WIN32

#include "classlib/ui/WinApi.h"
#include "skin/core/sMaskData.h"
#include "skin/graphics/acBitmap.h"

// Copies the source rectangle (SX1, SY1)-(SX2, SY2) of a border image to
// (DX1, DY1)-(DX2, DY2) of Bmp (both inclusive, cut to both bitmaps): through
// its mask for mask kind 1, whole pixels otherwise. With UpdateRgn the
// image's key pixels (0x00FF00FF) are not drawn but taken out of Rgn (when
// one is given).
void CopyMask(Integer DX1, Integer DY1, Integer DX2, Integer DY2, Integer SX1, Integer SY1, Integer SX2, Integer SY2,
              TacBitmap* Bmp, HRGN Rgn, const TsMaskData& MaskData, bool UpdateRgn);
// Nine-part painting of the state image of a border over the whole bitmap:
// corners (their key pixels taken out of Rgn), edges tiled or stretched, and
// the centre when Filling and the image allows it. Margins wider than the
// bitmap are shared out between both sides.
void PaintRgnBorder(TacBitmap* Bmp, HRGN Rgn, bool Filling, const TsMaskData& MaskData, Integer State);

class TsCommonData;
// A control's border image painted into R of its cache over the parent's
// background (the strips under a masked image first), the ring between the
// image's inner edge and BorderWidth filled with the control's background
// colour, and, when BorderWidth is not 0 and DC is not the cache's own, the
// ring of BorderWidth copied to DC. Without a border image the ring is
// filled on DC. The answer is the client part of R: R less the border image's
// margins when BorderWidth is 0, else R less BorderWidth on every side.
TRect PaintBorderFast(HDC DC, const TRect& R, Integer BorderWidth, TsCommonData* SkinData, Integer State);

#endif
