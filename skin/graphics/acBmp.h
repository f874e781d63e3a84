// The reader of bitmap files (".bmp") the skin loader uses on every platform:
// uncompressed pictures of 1, 4, 8, 24 and 32 bits per pixel (32-bit ones
// also with the standard bit-field masks), bottom-up or top-down.
#pragma once

#include "classlib/core/Classes.h"
#include "skin/graphics/acPixelBuffer.h"

struct TacBmpLimits {
  // The largest side and area accepted.
  static constexpr Integer MaxSide = 16384;
  static constexpr Int64 MaxArea = Int64(1) << 26;
};

// Reads a bitmap file from the stream's position into Target (rows top-down;
// a 32-bit picture keeps the alpha bytes it holds). Raises EInvalidGraphic
// naming the check that failed; Target is then empty.
void ReadBmp(TStream* Stream, TacPixelBuffer& Target);
// The same from bytes in memory.
void ReadBmp(const void* Data, Int64 Size, TacPixelBuffer& Target);
