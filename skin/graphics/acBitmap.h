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
// Marks a bitmap as drawn transparent where it has the colour Key (the
// pixel buffer keeps no such mark).
void SetTransparentKey(TacBitmap* bmp, TColor key);
// A new 32-bit bitmap holding the buffer's picture; a buffer of another depth
// is converted first (its pixels then get alpha 0). nullptr for an empty buffer.
std::unique_ptr<TacBitmap> BitmapFromBuffer(const TacPixelBuffer& buffer);

// --------------------------------------------------------- shared (acBitmap.cpp)

// Pixel row y of a 32-bit bitmap (the caller keeps y inside it).
struct TacRows32 {
  Byte* First = nullptr;
  std::ptrdiff_t Delta = 0;
  int Width = 0, Height = 0;
  explicit TacRows32(TacBitmap* bmp);
  bool Valid() const { return First != nullptr; }
  std::uint32_t* Row(int y) const { return reinterpret_cast<std::uint32_t*>(First + Delta * y); }
};

// A 32-bit copy of a whole 32-bit bitmap (nullptr for nullptr or an empty one).
std::unique_ptr<TacBitmap> CloneBitmap32(TacBitmap* bmp);
// Copies the pixels of Src's rectangle R to Dst at (X, Y), cut to both
// bitmaps; both 32-bit (otherwise nothing happens).
void CopyPixels32(TacBitmap* dst, int x, int y, TacBitmap* src, const TRect& r);
