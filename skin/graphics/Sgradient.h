// Gradients of skin sections: the value "GRADIENTDATA" parsed into segments,
// and painted into 32-bit bitmaps as vertical bands (mode 0), horizontal
// bands (mode 1) or four triangles meeting in the centre (mode 2), alone or
// mixed with a texture.
#pragma once

#include <array>

#include "skin/core/sConst.h"

// The segments of a "GRADIENTDATA" text: words separated by ";" in groups of
// five (colour 1, colour 2, percent, mode, unused); colours through the
// system colour table, the percent limited to 0..100, an incomplete last
// group ignored. A word that is not an integer raises EConvertError.
void PrepareGradArray(const AnsiString& Text, TsGradArray& Array);

// ------------------------------------------------------------ painting

// Paints the gradient into R (cut to the bitmap) of a 32-bit bitmap, every
// pixel at alpha 255; the first segment's mode counts, other modes paint
// nothing. Each segment takes its percent of R's height (mode 0) or width
// (mode 1), the last one running to R's end whatever the percents add up to;
// neighbouring segments share their boundary row or column, which the later
// one paints. A ramp runs on single-precision values, each pixel taking their
// truncation. OffsetY moves the bands down (every caller passes 0); OffsetX is
// not used by any mode.
void PaintGrad(TacBitmap* Bmp, const TRect& R, const TsGradArray& Data, Integer OffsetX = 0, Integer OffsetY = 0);
// The same for a "GRADIENTDATA" text.
void PaintGrad(TacBitmap* Bmp, const TRect& R, const AnsiString& Gradient);
// Modes 0 and 1 mixed with a texture: the texture's rectangle TexRect (empty:
// the whole texture) repeated from the bitmap's origin, each colour channel
// (t * Weight + g * (256 - Weight)) shr 8 of texture and gradient, alpha
// Alpha. In mode 1 the first row is computed and a block of it repeated
// downward: the texture's vertical period becomes one row less than its
// height; a texture one row high gives every row the first row.
void PaintGradTxt(TacBitmap* Bmp, const TRect& R, const TsGradArray& Data, TacBitmap* TextureBmp,
                  const TRect& TexRect, Byte TextureWeight, Byte Alpha);

// The triangle mode's mesh: five vertices with 16-bit channels, corners
// (left, top), centre, (right, top), (right, bottom), (left, bottom); each
// takes the first colour of the segment of its number, a missing segment
// repeating the colour before.
struct TacGradVertex {
  Integer X = 0, Y = 0;
  std::uint16_t Red = 0, Green = 0, Blue = 0, Alpha = 0;
};
using TacGradMesh = std::array<TacGradVertex, 5>;
// The triangles of the mesh, by vertex number.
inline constexpr std::array<std::array<int, 3>, 4> acGradTriangles{{{0, 1, 2}, {1, 2, 3}, {0, 1, 4}, {4, 1, 3}}};
TacGradMesh GradTriangleMesh(const TRect& R, const TsGradArray& Data);
// The triangle mode alone, through the platform's gradient function (with
// the mesh above); nothing where the platform has none.
void PaintGradTriangles(TacBitmap* Bmp, const TRect& R, const TsGradArray& Data);
