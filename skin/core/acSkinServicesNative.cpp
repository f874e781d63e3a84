// Where there is no Windows the program has no "BLUR5" picture and no JPEG
// decoder: outer effects get no image and JPEG textures are reported and
// left out.
#include "skin/core/acSkinLoad.h"

TacSkinServices TacSkinServices::Platform() { return TacSkinServices{}; }
