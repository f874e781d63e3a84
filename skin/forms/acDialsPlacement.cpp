// The position of the next automatically skinned system dialog. Kept apart
// from the hook so that the message functions, which set it, stand without
// the skin manager.
#include "skin/forms/acDials.h"

int DlgLeft = -1;
int DlgTop = -1;
