// The desktop composition of the system: the wrappers of "DWMAPI.DLL", which
// is loaded on first use and may be missing (systems before version 6). Each
// wrapper then answers that there is no composition instead of failing. The
// form animations ask AeroIsEnabled to shorten or change their frames; the
// providers switch the system's caption transitions off for skinned windows;
// the task bar's thumbnail and live preview can show the skinned form.
#pragma once

#include "classlib/ui/WinApi.h"
#include "skin/core/sConst.h"

class TsSkinProvider;

// The composition library (nullptr until it was loaded).
extern HMODULE hDWMAPI;
// Loads the library when it is not loaded yet.
void LoadDwmApi();

// True only on version 6 or later when the system says it composes.
bool AeroIsEnabled();
// True when the system's own window animations must be kept from running
// (there is no composition to hide them behind).
bool ForbidSysAnimating();
// Forces the system's caption transitions of the window off (Disable) or
// back on; only under composition.
void InitDwm(HWND Wnd, bool Disable);
// The system's function: E_NOTIMPL when the library or the function is missing.
HRESULT DwmSetWindowAttribute(HWND Wnd, DWORD Attribute, const void* Data, DWORD Size);
// Asks the system for new task-bar pictures of the window (version 6 or later,
// only when the library is already loaded).
void DwmInvalidateIconicBitmaps(HWND Wnd);
// Blur behind the window, in Rgn when one is given; the region is deleted in
// every case. Nothing before the library was loaded.
void EnableBlurBehind(HWND Wnd, bool Enable, HRGN Rgn = nullptr);
// The task bar's thumbnail of the provider's form, at most MaxWidth x
// MaxHeight; false when the system cannot take one or there is no picture.
bool SetThumbIcon(HWND Wnd, TsSkinProvider* Provider, Integer MaxWidth, Integer MaxHeight);
// The task bar's live preview of the provider's form.
bool SetPreviewBmp(HWND Wnd, TsSkinProvider* Provider);

// The size of a thumbnail of a W x H picture in a box of MaxWidth x
// MaxHeight (each side rounded to the nearest whole pixel).
TSize ThumbSize(Integer W, Integer H, Integer MaxWidth, Integer MaxHeight);

// ------------------------------------------------- the looked-up functions

using TDwmIsCompositionEnabled = HRESULT(WINAPI*)(BOOL* Enabled);
using TDwmSetWindowAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
using TDwmEnableBlurBehindWindow = HRESULT(WINAPI*)(HWND, const void* BlurBehind);
using TDwmInvalidateIconicBitmaps = HRESULT(WINAPI*)(HWND);
using TDwmSetIconicThumbnail = HRESULT(WINAPI*)(HWND, HBITMAP, DWORD);
using TDwmSetIconicLivePreviewBitmap = HRESULT(WINAPI*)(HWND, HBITMAP, POINT*, DWORD);

// The functions found so far (nullptr: not yet looked up, or missing; a
// missing one is looked up again at its next use). Tests put their own in.
struct TacDwmFunctions {
  TDwmIsCompositionEnabled IsCompositionEnabled = nullptr;
  TDwmSetWindowAttribute SetWindowAttribute = nullptr;
  TDwmEnableBlurBehindWindow EnableBlurBehindWindow = nullptr;
  TDwmInvalidateIconicBitmaps InvalidateIconicBitmaps = nullptr;
  TDwmSetIconicThumbnail SetIconicThumbnail = nullptr;
  TDwmSetIconicLivePreviewBitmap SetIconicLivePreviewBitmap = nullptr;
};
TacDwmFunctions& acDwm();
// The composition query (the same pointer as acDwm().IsCompositionEnabled).
TDwmIsCompositionEnabled& DwmIsCompositionEnabledFn();
