// The background a painter takes from a parent's answer.
#include "skin/core/acntUtils.h"
#include "skin/graphics/acSysColors.h"
#include "skin/graphics/sGraphUtils.h"

TCacheInfo BGInfoToCI(const TacBGInfo* BGInfo) {
  if (BGInfo->BgType == btCache) return MakeCacheInfo(BGInfo->Bmp, BGInfo->Offset.X, BGInfo->Offset.Y);
  TCacheInfo ci;
  ci.Bmp = BGInfo->Bmp;
  ci.X = BGInfo->Offset.X;
  ci.Y = BGInfo->Offset.Y;
  ci.FillColor = acColorToRGB(BGInfo->Color);
  ci.Borders = BGInfo->Borders;
  ci.Ready = false;
  return ci;
}
