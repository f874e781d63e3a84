// Names and codes the provider's files share (not part of the interface).
#pragma once

#include "classlib/core/System.h"

namespace acsp {
inline const AnsiString Form = "FORM";
inline const AnsiString FormTitle = "FORMTITLE";
inline const AnsiString Caption = "CAPTION";
inline const AnsiString MenuLine = "MENULINE";
inline const AnsiString GlobalInfo = "GLOBALINFO";
inline const AnsiString TitleButton = "TITLEBUTTON";
inline const AnsiString TitleBar = "TITLEBAR";
inline const AnsiString BordersMask = "BORDERSMASK";
inline const AnsiString ImgTopRight = "IMGTOPRIGHT";
inline const AnsiString ImgBtmRight = "IMGBTMRIGHT";

// The editor's codes in the first parameter of ASE_MSG.
constexpr WPARAM ASE_CLOSE_FORM = 1, ASE_PREVIEW_FORM = 3, ASE_QUERY_PRESENT = 4;
// The sender's handle place in a WM_COPYDATA from the editor.
constexpr WPARAM EditorCopyDataTag = 7;
// Title buttons without an image of their own.
constexpr Integer DefaultButtonSize = 21;
constexpr Integer DefaultSmallButtonSize = 16;
// The space before the help button and around the user buttons.
constexpr Integer ButtonGroupGap = 6;
// Width of the cache of an iconic form that is not the main form.
constexpr Integer IconicCaptionWidth = 160;
// The longest a handler waits for an animation to end.
constexpr DWORD AnimationWaitMs = 1000;
}  // namespace acsp
