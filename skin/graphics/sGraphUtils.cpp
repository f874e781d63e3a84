#include "skin/graphics/sGraphUtils.h"

#include <algorithm>
#include <cmath>

#include "classlib/core/GraphicsTypes.h"

bool InitLine(TacBitmap* Bmp, Byte*& FirstLine, std::ptrdiff_t& Delta) {
  if (!BitmapRows(Bmp, FirstLine, Delta)) return false;
  if (BitmapHeight(Bmp) < 2) Delta = 0;
  return true;
}

std::unique_ptr<TacBitmap> CreateBmp32(Integer Width, Integer Height) {
  try {
    return NewBitmap32(Width, Height);
  } catch (const Exception&) {
    return NewBitmap32(0, 0);
  }
}

namespace {
inline Byte ClampI(Integer v) { return static_cast<Byte>(v < 0 ? 0 : v > 255 ? 255 : v); }
inline Byte ByteOf(TColor c, int n) { return static_cast<Byte>(static_cast<Cardinal>(c) >> (8 * n)); }
inline TColor MakeColor(Byte b0, Byte b1, Byte b2, Byte b3) {
  return static_cast<TColor>(Cardinal(b0) | (Cardinal(b1) << 8) | (Cardinal(b2) << 16) | (Cardinal(b3) << 24));
}
inline TsColor_ AsPixel(TColor c) {
  TsColor s;
  s.C = static_cast<Cardinal>(c);
  return s.I;
}
inline TColor FromPixel(TsColor_ p) {
  TsColor s;
  s.I = p;
  return static_cast<TColor>(s.C);
}
}  // namespace

TColor MixColors(TColor Color1, TColor Color2, double W) {
  auto mix = [&](int n) { return static_cast<Byte>(std::trunc(ByteOf(Color1, n) * W + (1 - W) * ByteOf(Color2, n))); };
  return MakeColor(mix(0), mix(1), mix(2), ByteOf(Color1, 3));
}

void ChangeBitmapPixels(TacBitmap* Bmp, TacPixelFunc Func, Integer Value, TColor Skip) {
  const TPixelView32 rows = PixelsOf(Bmp);
  if (rows.Empty()) return;
  const bool skipping = Skip != clNoColor;
  const std::uint32_t skip = static_cast<std::uint32_t>(Skip);
  for (int y = 0; y < rows.Height; ++y) {
    std::uint32_t* row = rows.Row(y);
    for (int x = 0; x < rows.Width; ++x) {
      if (skipping && row[x] == skip) continue;
      TsColor c;
      c.C = row[x];
      Func(c.I, Value);
      row[x] = c.C;
    }
  }
}

void ChangeColorBrightness(TsColor_& Pixel, Integer Value) {
  Pixel = AsPixel(ChangeBrightness(FromPixel(Pixel), Value));
}
void ChangeColorSaturation(TsColor_& Pixel, Integer Value) { Pixel = ChangeSaturation(Value, Pixel); }
void ChangeColorHUE(TsColor_& Pixel, Integer Value) { Pixel = ChangeHue(Value, Pixel); }
void ChangeColorTone(TsColor_& Pixel, Integer Value) {
  TsColor tone;
  tone.C = static_cast<Cardinal>(Value);
  Pixel = ChangeTone(Pixel, tone.Rgb);
}
void MakeAlphaPixel(TsColor_& Pixel, Integer) { Pixel.A = 255; }

TsColor_ ChangeTone(TsColor_ Pixel, TsColor_RGB Tone) {
  const unsigned m = std::max({Pixel.R, Pixel.G, Pixel.B});
  Pixel.R = static_cast<Byte>(m * Tone.R >> 8);
  Pixel.G = static_cast<Byte>(m * Tone.G >> 8);
  Pixel.B = static_cast<Byte>(m * Tone.B >> 8);
  return Pixel;
}

TColor ChangeTone(TColor Color, TColor Tone) {
  const unsigned m = std::max({ByteOf(Color, 0), ByteOf(Color, 1), ByteOf(Color, 2)});
  return MakeColor(static_cast<Byte>(m * ByteOf(Tone, 2) >> 8), static_cast<Byte>(m * ByteOf(Tone, 1) >> 8),
                   static_cast<Byte>(m * ByteOf(Tone, 0) >> 8), ByteOf(Color, 3));
}

TColor ChangeBrightness(TColor Color, Integer Delta) {
  if (Delta == 0) return Color;
  return MakeColor(ClampI(ByteOf(Color, 0) + Delta), ClampI(ByteOf(Color, 1) + Delta), ClampI(ByteOf(Color, 2) + Delta),
                   ByteOf(Color, 3));
}

TsColor_ ChangeSaturation(Integer Value, TsColor_ Pixel) {
  if (Value == 0) return Pixel;
  const Integer avg = (Pixel.R + Pixel.G + Pixel.B) / 3;
  auto change = [&](Byte c) { return ClampI(c - ((avg - c) * Value) / 255); };
  Pixel.R = change(Pixel.R);
  Pixel.G = change(Pixel.G);
  Pixel.B = change(Pixel.B);
  return Pixel;
}

TColor ChangeSaturation(TColor Color, Integer Value) {
  if (Value == 0) return Color;
  return FromPixel(ChangeSaturation(Value, AsPixel(Color)));
}

namespace {
// The hue in degrees of red, green and blue (0 for greys).
double HueOf(double r, double g, double b, double& s) {
  const double mx = std::max({r, g, b}), mn = std::min({r, g, b}), d = mx - mn;
  s = mx == 0 ? 0 : d / mx;
  if (s == 0) return 0;
  const double k = 60 / d, hr = mx - r * k, hg = mx - g * k, hb = mx - b * k;
  double h;
  if (r == mx)
    h = hb - hg;
  else if (g == mx)
    h = 120 + hr - hb;
  else
    h = 240 + hg - hr;
  return h < 0 ? h + 360 : h;
}

// The channels of hue sector i (0..5) from the value and its three parts;
// false, and nothing set, for another sector.
bool SectorChannels(Int64 i, double v, double p, double q, double t, double& r, double& g, double& b) {
  switch (i) {
    case 0: r = v; g = t; b = p; return true;
    case 1: r = q; g = v; b = p; return true;
    case 2: r = p; g = v; b = t; return true;
    case 3: r = p; g = q; b = v; return true;
    case 4: r = t; g = p; b = v; return true;
    case 5: r = v; g = p; b = q; return true;
    default: return false;
  }
}

// The channels of value V, saturation S and hue sector h (degrees / 60),
// each part limited to 0..255; sector 5 for any other sector number.
void FromSectors(double h, double S, double V, double& r, double& g, double& b) {
  const Int64 i = static_cast<Int64>(std::trunc(h));
  const double f = h - static_cast<double>(i);
  const double p = std::clamp(V * (1 - S), 0.0, 255.0), q = std::clamp(V * (1 - S * f), 0.0, 255.0),
               t = std::clamp(V * (1 - (1 - f) * S), 0.0, 255.0);
  if (!SectorChannels(i, V, p, q, t, r, g, b)) SectorChannels(5, V, p, q, t, r, g, b);
}

inline TColor SwapBytes02(TColor c) {
  const Cardinal v = static_cast<Cardinal>(c);
  return static_cast<TColor>((v & 0xFF00FF00u) | ((v & 0xFF) << 16) | ((v >> 16) & 0xFF));
}
}  // namespace

TsColor_ ChangeHue(Integer Value, TsColor_ Pixel) {
  // Offsets of whole turns and negative ones come into 0..359 first, so that
  // every offset gives the colour of the same turn.
  Value %= 360;
  if (Value < 0) Value += 360;
  double s;
  const double H = HueOf(Pixel.R, Pixel.G, Pixel.B, s);
  const double V = std::max({Pixel.R, Pixel.G, Pixel.B});
  if (s == 0) {
    Pixel.R = static_cast<Byte>(V);
    return Pixel;
  }
  const Int64 turned = static_cast<Int64>(std::trunc(Value + H)) % 360;
  double r, g, b;
  FromSectors(static_cast<double>(turned) / 60, s, V, r, g, b);
  Pixel.R = static_cast<Byte>(std::trunc(r));
  Pixel.G = static_cast<Byte>(std::trunc(g));
  Pixel.B = static_cast<Byte>(std::trunc(b));
  return Pixel;
}

TColor ChangeHue(Integer Value, TColor Color) {
  if (Value == 0) return Color;
  return SwapBytes02(FromPixel(ChangeHue(Value, AsPixel(SwapBytes02(Color)))));
}

TColor Hsv2Rgb(double H, double S, double V) {
  if (S == 0) {
    const Byte c = static_cast<Byte>(std::trunc(V * 255));
    return MakeColor(c, c, c, 0);
  }
  const double h = H == 360 ? 0 : H / 60;
  double r, g, b;
  FromSectors(h, S, V * 255, r, g, b);
  return MakeColor(static_cast<Byte>(std::trunc(r)), static_cast<Byte>(std::trunc(g)), static_cast<Byte>(std::trunc(b)), 0);
}

TsHSV Rgb2Hsv(TsColor Color) {
  const double r = Color.Rgb.R, g = Color.Rgb.G, b = Color.Rgb.B;
  TsHSV out;
  out.H = static_cast<Integer>(std::trunc(HueOf(r, g, b, out.S)));
  out.V = std::max({r, g, b}) / 255;
  return out;
}

void HSVtoRGB(double H, double S, double V, double& R, double& G, double& B) {
  if (std::isnan(H)) {
    R = G = B = V;
    return;
  }
  if (std::fabs(S - 0.0001) <= 0.0001) return;
  const double h = (H == 360 ? 0 : H) / 60;
  const Int64 i = static_cast<Int64>(std::trunc(h));
  const double f = h - static_cast<double>(i), p = V * (1 - S), q = V * (1 - S * f), t = V * (1 - S * (1 - f));
  SectorChannels(i, V, p, q, t, R, G, B);
}

void RGBToHSV(double R, double G, double B, double& H, double& S, double& V) {
  const double mx = std::max({R, G, B}), mn = std::min({R, G, B});
  V = mx;
  S = mx == 0 ? 0 : (mx - mn) / mx;
  if (S == 0) return;
  const double d = mx - mn;
  if (R == mx)
    H = (G - B) * 60 / d;
  else if (G == mx)
    H = 120 + (B - R) * 60 / d;
  else
    H = 240 + (R - G) * 60 / d;
  if (H < 0) H += 360;
}

TColor SwapInteger(TColor Color) {
  const Int64 c = Color;
  const Cardinal u = static_cast<Cardinal>(Color);
  return static_cast<TColor>((c % 256) * 65536 + (Int64(u >> 8) % 256) * 256 + Int64(u >> 16));
}
