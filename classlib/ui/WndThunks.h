// Thunks: window procedures made at run time for one object each. A thunk
// is a few bytes of code that put a data pointer in place of the window
// handle (the first argument) and jump to a common procedure:
//
//   LRESULT CALLBACK Target(void* Data, UINT Msg, WPARAM WParam, LPARAM LParam)
//
// The code never changes once written: every thunk reads its data and target
// from a slot on a page of data beside its code. Code pages are written once,
// while they are read-write, and then made execute-read for good; data pages
// are read-write and never executable. No page is ever writable and
// executable at once.
//
// Internal to the Windows half of the class library: the controls' window
// procedures, SubclassWindow and MakeObjectInstance stand on it.
#pragma once

#include "classlib/ui/WinApi.h"

namespace dk {

using TThunkTarget = LRESULT(CALLBACK*)(void* Data, UINT Msg, WPARAM WParam, LPARAM LParam);

// A new thunk calling Target with Data.
WNDPROC AllocThunk(void* Data, TThunkTarget Target);
// Points an existing thunk at another target (on the thread of the windows that call it).
void RetargetThunk(WNDPROC Thunk, void* Data, TThunkTarget Target);
// Gives a thunk back. Nothing may call it any more: a call that still comes
// answers 0 and is counted (StaleThunkCalls).
void FreeThunk(WNDPROC Thunk);
// Calls of thunks that had been given back (0 in a sound program).
long StaleThunkCalls();

}  // namespace dk
