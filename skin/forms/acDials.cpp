#include "skin/forms/acDials.h"

HHOOK HookCallback = nullptr;
TList* acSupportedList = nullptr;

LRESULT CALLBACK SkinHookCBT(int Code, WPARAM WParam, LPARAM LParam) {
  return CallNextHookEx(HookCallback, Code, WParam, LParam);
}

void ClearMnuArray() {}
