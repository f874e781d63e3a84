// Colour adjustments of a whole loaded skin (hue, saturation, brightness of
// the master image, of every image with a bitmap of its own, of the sections'
// colours and of the palette), applied at the end of every load, and the
// replacement of one image of a loaded skin.
#pragma once

#include "skin/core/acSkinTables.h"

// Each does nothing for Value 0.
void ChangeSkinHue(TacSkinTables& Skin, Integer Value);
void ChangeSkinSaturation(TacSkinTables& Skin, Integer Value);
void ChangeSkinBrightness(TacSkinTables& Skin, Integer Value);
