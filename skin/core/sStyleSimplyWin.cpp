// The broadcasts to the forms of the program. Until the skinned forms and
// controls come nobody answers the skin command, so they send nothing.
#include "skin/core/sStyleSimply.h"

void AppBroadCastS(TMessage&) {}
void LockForms(TsSkinManager*) {}
void CopyExForms(TsSkinManager*) {}
void UnLockForms(TsSkinManager*, bool) {}
