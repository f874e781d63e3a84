// The skin library's resource strings (string-table ids 65520 to 65523).
#pragma once

#include "classlib/core/ResString.h"

inline const TResStringRec s_Root = {"Root :", 65520};
inline const TResStringRec s_DirWithSkins = {"Directory with skins :", 65521};
inline const TResStringRec s_SelectSkinTitle = {"Select skin", 65522};
inline const TResStringRec s_SkinPreview = {"Skin preview", 65523};
