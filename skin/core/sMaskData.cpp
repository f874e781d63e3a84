#include "skin/core/sMaskData.h"

Integer WidthOfImage(const TsMaskData& Md) {
  const Integer w = Md.SrcRect.Right - Md.SrcRect.Left;
  if (Md.Columns == 0) return 0;
  if (Md.Columns == 1) return w;
  return w / Md.Columns;
}

Integer HeightOfImage(const TsMaskData& Md) {
  const Integer h = Md.SrcRect.Bottom - Md.SrcRect.Top;
  switch (Md.MaskKind) {
    case 0: return h;
    case 1: return h / 2;
    case -1: return 0;
    default: return h / (Md.MaskKind + 1);
  }
}
