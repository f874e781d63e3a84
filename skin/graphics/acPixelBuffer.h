// A plain bitmap in memory: the pixel formats and the palette of a device
// independent bitmap, rows top-down, each row padded to 4 bytes. The PNG
// reader draws into it where there is no Windows bitmap (and wherever a
// program wants the pixels without one).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "classlib/core/SysUtils.h"

#include "classlib/core/GraphicsTypes.h"
#include "classlib/core/PixelView.h"

struct TacPaletteEntry {
  Byte Red = 0, Green = 0, Blue = 0, Flags = 0;
  bool operator==(const TacPaletteEntry&) const = default;
};
using TacPalette = std::vector<TacPaletteEntry>;

// Bits per pixel of a format (0 for pfDevice and pfCustom).
int BitsPerPixel(TPixelFormat pf);

// What an image decoder draws into: a bitmap it sets up with a format, a size
// and a palette, then fills row by row.
class TacImageTarget {
 public:
  virtual ~TacImageTarget() = default;
  // Drops the image held (the target is then empty).
  virtual void ReleaseImage() = 0;
  // A new image; formats of up to 8 bits take the palette (nullptr: none
  // given). What the rows hold at first is the target's own affair: the
  // decoder draws every pixel.
  virtual void SetupImage(TPixelFormat pf, int width, int height, const TacPaletteEntry* palette,
                          int colorCount) = 0;
  // The first (top) row and the signed distance from one row to the next.
  virtual void InitLine(Byte*& first, std::ptrdiff_t& delta) = 0;

 protected:
  TacImageTarget() = default;
  TacImageTarget(const TacImageTarget&) = default;
  TacImageTarget& operator=(const TacImageTarget&) = default;
};

class TacPixelBuffer : public TacImageTarget {
 public:
  TacPixelBuffer() = default;
  TacPixelBuffer(const TacPixelBuffer&) = default;
  TacPixelBuffer(TacPixelBuffer&&) = default;
  TacPixelBuffer& operator=(const TacPixelBuffer&) = default;
  TacPixelBuffer& operator=(TacPixelBuffer&&) = default;

  // Allocates zero-filled rows of the format; any earlier image is released.
  void Setup(TPixelFormat pf, int width, int height);
  void Release();
  void ReleaseImage() override { Release(); }
  void SetupImage(TPixelFormat pf, int width, int height, const TacPaletteEntry* palette, int colorCount) override;
  bool Empty() const { return FBits.empty(); }

  TPixelFormat PixelFormat() const { return FPixelFormat; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  std::ptrdiff_t RowBytes() const { return FRowBytes; }
  Byte* ScanLine(int y) { return FBits.data() + y * FRowBytes; }
  const Byte* ScanLine(int y) const { return FBits.data() + y * FRowBytes; }
  // The first row and the signed distance from one row to the next.
  void InitLine(Byte*& first, std::ptrdiff_t& delta) override;
  // The pixels as the class library's 32-bit view (empty unless the image is
  // 32-bit), the same view a 32-bit TBitmap gives.
  TPixelView32 PixelView();

  TacPalette Palette;

  // The colour of pixel (x, y) as 32-bit blue, green, red, alpha; formats
  // without alpha give alpha 255, indexes beyond the palette its first entry.
  std::uint32_t PixelBGRA(int x, int y) const;
  // Makes the image 32-bit in place; pixels of formats without alpha get
  // alpha 0, as a device independent bitmap's conversion gives them.
  void ConvertTo32();

 private:
  TPixelFormat FPixelFormat = pfDevice;
  int FWidth = 0, FHeight = 0;
  std::ptrdiff_t FRowBytes = 0;
  std::vector<Byte> FBits;
};

// Pixels of white with alpha 0 (0x00FFFFFF) of a 32-bit image become 0.
void UpdateTransPixels(const TPixelView32& view);
void UpdateTransPixels(TacPixelBuffer& bmp);
