// The kinds of foreign controls the skin manager can skin, with their
// captions and default class names, and the defaults of disabled glyphs.
#pragma once

#include "classlib/core/TypInfo.h"

DK_ENUM(TacThirdPartyTypes, tpEdit, tpButton, tpBitBtn, tpCheckBox, tpComboBox, tpGrid, tpGroupBox, tpListView,
        tpPanel, tpTreeView, tpwwEdit, tpGridEh, tpVirtualTree, tpPageControl, tpTabControl, tpToolBar, tpStatusBar,
        tpSpeedButton, tpScrollControl, tpUpDownBtn, tpScrollBar, tpStaticText, tpNativePaint);
inline constexpr int acLastThirdPartyType = tpNativePaint;
inline constexpr int acThirdPartyTypeCount = acLastThirdPartyType + 1;

extern const AnsiString acThirdCaptions[acThirdPartyTypeCount];
// The default class names of each kind (a single space: none).
extern const AnsiString acThirdNames[acThirdPartyTypeCount];

extern bool ACPngFirst;
// The share of a disabled glyph or image that stays (the rest is background).
extern double DefDisabledBlend;
// The saturation change of a disabled glyph.
extern Integer DefDisabledSaturation;
