// The 32-bit bitmap that skin images live in: the class library's bitmap (a
// device-independent section) on Windows, a plain pixel buffer elsewhere, so
// that the skin loader and the pixel functions build and run natively too.
// Both reach their pixels the same way: the top row and the signed distance
// from one row to the next.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "classlib/core/System.h"
#include "classlib/core/Types.h"

#include "skin/graphics/acPixelBuffer.h"
#ifdef _WIN32
#include "classlib/ui/Graphics.h"
using TacBitmap = TBitmap;
#else
using TacBitmap = TacPixelBuffer;
#endif

// ------------------------------------------------ per platform (acBitmap*.cpp)

// Width and height (0 for nullptr).
int BitmapWidth(const TacBitmap* bmp);
int BitmapHeight(const TacBitmap* bmp);
// True for a bitmap of 32 bits per pixel.
bool Bitmap32(const TacBitmap* bmp);
// The top row and the distance in bytes from one row to the next; false (and
// nothing set) for nullptr or a bitmap without rows.
bool BitmapRows(TacBitmap* bmp, Byte*& first, std::ptrdiff_t& delta);
// A new zero-filled 32-bit bitmap; sizes below 1 give an empty one.
std::unique_ptr<TacBitmap> NewBitmap32(int width, int height);
// A new bitmap of another depth (8 bits: a grey palette, 0 black and 255
// white); sizes below 1 give an empty one.
std::unique_ptr<TacBitmap> NewBitmap(TPixelFormat pf, int width, int height);
TPixelFormat BitmapFormat(const TacBitmap* bmp);
// Marks a bitmap as drawn transparent where it has the colour Key (the
// pixel buffer keeps no such mark).
void SetTransparentKey(TacBitmap* bmp, TColor key);
// A 32-bit bitmap holding the buffer's picture; a buffer of another depth is
// converted first (its pixels then get alpha 0). nullptr for an empty buffer.
// Reuse, when it is a 32-bit bitmap of the picture's size, is written over and
// handed back instead of a new one (a fresh bitmap's pages cost more to touch
// than the picture costs to convert).
std::unique_ptr<TacBitmap> BitmapFromBuffer(const TacPixelBuffer& buffer, std::unique_ptr<TacBitmap> reuse = nullptr);

// --------------------------------------------------------- shared (acBitmap.cpp)

// The pixels of a 32-bit bitmap as the class library's one pixel view;
// empty for nullptr, an empty bitmap or one of another depth.
TPixelView32 PixelsOf(TacBitmap* bmp);

// A 32-bit copy of a whole 32-bit bitmap (nullptr for nullptr or an empty one).
std::unique_ptr<TacBitmap> CloneBitmap32(TacBitmap* bmp);
// Copies the pixels of Src's rectangle R to Dst at (X, Y), cut to both
// bitmaps; both 32-bit (otherwise nothing happens).
void CopyPixels32(TacBitmap* dst, int x, int y, TacBitmap* src, const TRect& r);

// ------------------------------------------------------------- block copies

// The platform's plain block copy (SRCCOPY) of W x H pixels from Src at
// (SX, SY) to Dst at (X, Y), cut to both bitmaps. Between two 32-bit bitmaps
// it is a copy of the rows, alpha included, as the platform copies two
// 32-bit sections; other depths go through the platform (where there is one).
void BlockCopy(TacBitmap* dst, int x, int y, int w, int h, TacBitmap* src, int sx, int sy);
// The platform's stretched copy with the stretch mode COLORONCOLOR (each
// destination pixel takes one source pixel, nothing is mixed) of Src's
// rectangle (SX, SY, SW, SH) onto Dst's (X, Y, W, H), cut to Dst.
void StretchCopy(TacBitmap* dst, int x, int y, int w, int h, TacBitmap* src, int sx, int sy, int sw, int sh);
// Fills R of a bitmap of any depth with a colour (system colours resolved)
// as the platform's solid brush does: on a 32-bit bitmap the alpha byte
// becomes 0.
void FillBitmapRect(TacBitmap* bmp, const TRect& r, TColor color);

// ------------------------------------------------------------ depth and size

// Makes a bitmap 32-bit, keeping its picture (pixels of a format without
// alpha get alpha 0); nothing for nullptr or an empty bitmap.
void MakeBitmap32(TacBitmap* bmp);
// Makes a bitmap 32-bit and W x H (sizes below 1: empty); what its pixels
// hold afterwards is undefined, the caller draws every one.
void SizeBitmap32(TacBitmap* bmp, int width, int height);
// Dst takes Src's size, format and a copy of its pixels (both non-null).
void AssignBitmap(TacBitmap* dst, TacBitmap* src);
