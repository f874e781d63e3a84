// The form's window region cut from the skin's corner masks, the caption
// repaint and the temporary caption cover.
#include "skin/forms/sSkinProvider.h"

void FillArOR(TsSkinProvider* Provider) { Provider->ArOR.clear(); }
void UpdateRgn(TsSkinProvider*, bool) {}
