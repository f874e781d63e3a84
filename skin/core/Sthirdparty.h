// Hook points for the skinning of foreign control libraries. Nothing in this
// program sets them; the skin engine calls each only when it is set.
#pragma once

class TWinControl;

// True for a window control whose children a broadcast must not reach.
extern bool (*CheckDevEx)(TWinControl* Control);
// Called with whether a skin is in use when a manager broadcasts or removes one.
extern void (*InitDevEx)(bool Active);
// Called after a new skin was broadcast.
extern void (*RefreshDevEx)();
