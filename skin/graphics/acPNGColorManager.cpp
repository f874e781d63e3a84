// The colour manager: rows of samples from one layout into another.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "skin/graphics/acPNG.h"

namespace {

const char* const kBadDepth = "Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.";
const char* const kBadSamples = "Sample count per pixel does not correspond to the given color scheme.";
const char* const kIndexedMix = "Conversion between indexed and non-indexed pixel formats is not supported.";
const char* const kNoMethod = "Color conversion failed. Could not find a proper method.";

// The moving bit of the 8-pixel mask.
struct MaskBit {
  Byte mask;
  Byte bit = 0x80;
  explicit MaskBit(Byte m) : mask(m) {}
  bool Take() {
    bool on = (mask & bit) != 0;
    bit = static_cast<Byte>((bit >> 1) | ((bit & 1) << 7));
    return on;
  }
};

inline Word ReadWord(const Byte* p) {
  Word w;
  std::memcpy(&w, p, 2);
  return w;
}
inline void WriteWord(Byte* p, Word w) { std::memcpy(p, &w, 2); }
inline Word Swap(Word w) { return static_cast<Word>((w >> 8) | (w << 8)); }
inline Byte Scale16To8(Word v) { return static_cast<Byte>(unsigned(v) * 255u / 65535u); }
inline Word Scale8To16(unsigned v) { return static_cast<Word>(v * 65535u / 255u); }
inline Byte Clamp(int v) { return static_cast<Byte>(v < 0 ? 0 : (v > 255 ? 255 : v)); }

// A sample of 1 to 16 bits at a bit position, most significant bits first.
inline unsigned ReadBits(const Byte* row, size_t pos, unsigned bits) {
  size_t b = pos >> 3;
  unsigned off = static_cast<unsigned>(pos & 7);
  unsigned max = (1u << bits) - 1;
  if (off + bits <= 8) return (row[b] >> (8 - off - bits)) & max;
  unsigned v = (unsigned(row[b]) << 8) | row[b + 1];
  if (off + bits <= 16) return (v >> (16 - off - bits)) & max;
  v = (v << 8) | row[b + 2];
  return (v >> (24 - off - bits)) & max;
}
inline void WriteBits(Byte* row, size_t pos, unsigned bits, unsigned value) {
  // Written one bit at a time across byte borders, the other bits kept.
  for (unsigned i = 0; i < bits; ++i) {
    size_t p = pos + i;
    Byte bit = static_cast<Byte>(0x80 >> (p & 7));
    if ((value >> (bits - 1 - i)) & 1)
      row[p >> 3] |= bit;
    else
      row[p >> 3] &= static_cast<Byte>(~bit);
  }
}
inline void WriteSmall(Byte* row, size_t pos, unsigned bits, unsigned value) {
  unsigned off = static_cast<unsigned>(pos & 7);
  if (off + bits <= 8) {
    unsigned shift = 8 - off - bits;
    Byte m = static_cast<Byte>(((1u << bits) - 1) << shift);
    Byte& t = row[pos >> 3];
    t = static_cast<Byte>((t & ~m) | ((value << shift) & m));
  } else {
    WriteBits(row, pos, bits, value);
  }
}

}  // namespace

TColorManager::TColorManager() { SetGamma(1.0f, 2.2f); }

[[noreturn]] void TColorManager::Error(const AnsiString& text) { throw EColorConversionError(text); }

void TColorManager::SetBits(Byte& field, Byte value) {
  if (value == 0 || value > 16) Error(kBadDepth);
  if (field != value) {
    field = value;
    FChanged = true;
  }
}
void TColorManager::SetSamples(Byte& field, Byte value) {
  if (value == 0 || value > 4) Error(kBadSamples);
  if (field != value) {
    field = value;
    FChanged = true;
  }
}
void TColorManager::SetSourceBitsPerSample(Byte value) { SetBits(FSourceBPS, value); }
void TColorManager::SetTargetBitsPerSample(Byte value) { SetBits(FTargetBPS, value); }
void TColorManager::SetSourceSamplesPerPixel(Byte value) { SetSamples(FSourceSPP, value); }
void TColorManager::SetTargetSamplesPerPixel(Byte value) { SetSamples(FTargetSPP, value); }
void TColorManager::SetSourceColorScheme(TColorScheme value) {
  if (FSourceScheme != value) {
    FSourceScheme = value;
    FChanged = true;
  }
}
void TColorManager::SetTargetColorScheme(TColorScheme value) {
  if (FTargetScheme != value) {
    FTargetScheme = value;
    FChanged = true;
  }
}

void TColorManager::ConvertRow(std::initializer_list<const void*> source, void* target, Cardinal count,
                               Byte mask) {
  ConvertRow(TSourceRows{source.begin(), static_cast<int>(source.size())}, target, count, mask);
}

void TColorManager::ConvertRow(TSourceRows source, void* target, Cardinal count, Byte mask) {
  if (FChanged) PrepareConversion();
  if (!FRowConversion) Error(kNoMethod);
  if (source.Count <= 0) return;
  (this->*FRowConversion)(source, target, count, mask);
}

void TColorManager::PrepareConversion() {
  FRowConversion = nullptr;
  auto indexedLike = [](TColorScheme s) { return s == csIndexed || s == csG || s == csGA; };
  bool sourceIndexed = indexedLike(FSourceScheme);
  bool targetIndexed = FTargetScheme == csIndexed || FTargetScheme == csG;
  if (sourceIndexed != targetIndexed) Error(kIndexedMix);
  auto withAlpha = [](TColorScheme s) { return s == csGA || s == csRGBA || s == csBGRA; };
  if (withAlpha(FSourceScheme)) SourceOptions.Include(coAlpha); else SourceOptions.Exclude(coAlpha);
  if (withAlpha(FTargetScheme)) TargetOptions.Include(coAlpha); else TargetOptions.Exclude(coAlpha);

  const bool s16 = FSourceBPS == 16, t16 = FTargetBPS == 16;
  const bool targetRGB = FTargetScheme == csRGB || FTargetScheme == csRGBA;
  const bool targetBGR = FTargetScheme == csBGR || FTargetScheme == csBGRA;
  switch (FSourceScheme) {
    case csIndexed:
      if (s16 && t16) FRowConversion = &TColorManager::RowConvertIndexedBoth16;
      else if (s16) FRowConversion = &TColorManager::RowConvertIndexedSource16;
      else if (t16) FRowConversion = &TColorManager::RowConvertIndexedTarget16;
      else FRowConversion = &TColorManager::RowConvertIndexed8;
      break;
    case csG:
      if (s16 || t16) {
        if (FSourceBPS >= 8 && FTargetBPS >= 8) FRowConversion = &TColorManager::RowConvertGray;
      } else {
        FRowConversion = &TColorManager::RowConvertIndexed8;
      }
      break;
    case csGA:
      if ((FSourceBPS == 8 || s16) && (FTargetBPS == 8 || t16)) FRowConversion = &TColorManager::RowConvertGray;
      break;
    case csRGB:
    case csRGBA:
      if (targetRGB) FRowConversion = &TColorManager::RowConvertRGB2RGB;
      else if (targetBGR) FRowConversion = &TColorManager::RowConvertRGB2BGR;
      break;
    case csBGR:
    case csBGRA:
      if (targetRGB) FRowConversion = &TColorManager::RowConvertBGR2RGB;
      else if (targetBGR) FRowConversion = &TColorManager::RowConvertBGR2BGR;
      break;
    case csCMYK:
      if (targetRGB) FRowConversion = &TColorManager::RowConvertCMYK2RGB;
      else if (targetBGR) FRowConversion = &TColorManager::RowConvertCMYK2BGR;
      break;
    case csCIELab:
      if (targetRGB) FRowConversion = &TColorManager::RowConvertCIELAB2RGB;
      else if (targetBGR) FRowConversion = &TColorManager::RowConvertCIELAB2BGR;
      break;
    case csYCbCr:
      CreateYCbCrLookup();
      if (targetRGB) FRowConversion = &TColorManager::RowConvertYCbCr2RGB;
      else if (targetBGR) FRowConversion = &TColorManager::RowConvertYCbCr2BGR;
      break;
    case csPhotoYCC:
      CreateYCbCrLookup();
      if (targetRGB) FRowConversion = &TColorManager::RowConvertPhotoYCC2RGB;
      else if (targetBGR) FRowConversion = &TColorManager::RowConvertPhotoYCC2BGR;
      break;
    default:
      break;
  }
  FChanged = false;
}

TPixelFormat TColorManager::GetPixelFormat(Integer index) const {
  Byte spp = index == 0 ? FSourceSPP : FTargetSPP;
  Byte bps = index == 0 ? FSourceBPS : FTargetBPS;
  switch (spp) {
    case 1:
      if (bps == 1) return pf1bit;
      if (bps >= 2 && bps <= 4) return pf4bit;
      if (bps >= 8 && bps <= 16) return pf8bit;
      return pfCustom;
    case 3: return bps >= 1 && bps <= 5 ? pf15bit : pf24bit;
    case 4: return bps >= 8 ? pf32bit : pfCustom;
    default: return pfCustom;
  }
}

void TColorManager::SetGamma(float mainGamma, float displayGamma) {
  FMainGamma = mainGamma > 0 ? mainGamma : 1.0f;
  FDisplayGamma = displayGamma > 0 ? displayGamma : 2.2f;
  double exponent = 1.0 / (double(FMainGamma) * double(FDisplayGamma));
  unsigned sourceMax = FSourceBPS >= 8 ? 255u : (1u << FTargetBPS) - 1;
  unsigned targetMax = FTargetBPS >= 8 ? 255u : (1u << FTargetBPS) - 1;
  // The table has 256 entries whatever the depths say.
  sourceMax = std::min(sourceMax, 255u);
  if (sourceMax == 0) sourceMax = 1;
  for (unsigned i = 0; i <= sourceMax; ++i)
    FGammaTable[i] = static_cast<Byte>(std::lround(std::pow(double(i) / sourceMax, exponent) * targetMax));
}

TacPalette TColorManager::CreateColorPalette(std::initializer_list<const void*> data, TRawPaletteFormat dataFormat,
                                             Cardinal colorCount, bool rgb) {
  TacPalette pal(std::min<Cardinal>(colorCount, 256));
  if (data.size() == 0) return pal;
  const bool gamma = TargetOptions.Contains(coApplyGamma);
  const bool swap = SourceOptions.Contains(coNeedByteSwap);
  const bool is16 = dataFormat >= pfInterlaced16Triple;
  const bool quad = dataFormat == pfInterlaced8Quad || dataFormat == pfPlane8Quad ||
                    dataFormat == pfInterlaced16Quad || dataFormat == pfPlane16Quad;
  const bool plane = dataFormat == pfPlane8Triple || dataFormat == pfPlane8Quad ||
                     dataFormat == pfPlane16Triple || dataFormat == pfPlane16Quad;
  auto component = [&](const Byte* p, size_t index) -> Byte {
    if (!is16) return gamma ? FGammaTable[p[index]] : p[index];
    Word w = ReadWord(p + 2 * index);
    if (swap) w = Swap(w);
    Byte v = Scale16To8(w);
    return gamma ? FGammaTable[v] : v;
  };
  const Byte* d0 = static_cast<const Byte*>(*data.begin());
  for (size_t i = 0; i < pal.size(); ++i) {
    Byte c[3];
    if (plane && data.size() >= 3) {
      for (int k = 0; k < 3; ++k) c[k] = component(static_cast<const Byte*>(data.begin()[k]), i);
    } else {
      size_t per = quad ? 4 : 3;
      for (int k = 0; k < 3; ++k) c[k] = component(d0, i * per + k);
    }
    if (rgb) std::swap(c[0], c[2]);
    pal[i].Red = c[0];
    pal[i].Green = c[1];
    pal[i].Blue = c[2];
  }
  if (FTargetBPS <= 8 && FTargetBPS != FSourceBPS) {
    Cardinal sourceMax = (1u << FSourceBPS) - 1, targetMax = (1u << FTargetBPS) - 1;
    TacPalette spread(targetMax + 1);
    for (Cardinal i = 0; i <= targetMax; ++i) {
      Cardinal j = i * sourceMax / targetMax;
      if (j < pal.size()) spread[i] = pal[j];
    }
    pal.swap(spread);
  }
  return pal;
}

TacPalette TColorManager::CreateGrayscalePalette(bool minimumIsWhite) {
  unsigned bits = std::min<unsigned>(unsigned(FTargetBPS) * FTargetSPP, 8);
  unsigned entries = 1u << bits, maximum = entries - 1;
  unsigned step = maximum ? 255 / maximum : 255;
  bool gamma = TargetOptions.Contains(coApplyGamma);
  TacPalette pal(entries);
  for (unsigned i = 0; i < entries; ++i) {
    Byte grey = gamma ? FGammaTable[i * step] : static_cast<Byte>(i * step);
    TacPaletteEntry& e = pal[minimumIsWhite ? maximum - i : i];
    e.Red = e.Green = e.Blue = grey;
  }
  return pal;
}

void TColorManager::CreateYCbCrLookup() {
  const double r = FYCbCrCoefficients[0], g = FYCbCrCoefficients[1], b = FYCbCrCoefficients[2];
  const double fR = 2 - 2 * r, fB = 2 - 2 * b, fRG = r * (2 - 2 * r) / g, fBG = b * (2 - 2 * b) / g;
  FCrToRedTable.assign(256, 0);
  FCbToBlueTable.assign(256, 0);
  FCrToGreenTable.assign(256, 0);
  FCbToGreenTable.assign(256, 0);
  const bool photo = FSourceScheme == csPhotoYCC;
  for (int i = 0; i < 256; ++i) {
    int dCr = photo ? i - 137 : i - 128;
    int dCb = photo ? i - 156 : i - 128;
    FCrToRedTable[i] = static_cast<Integer>(std::lround(fR * dCr));
    FCbToBlueTable[i] = static_cast<Integer>(std::lround(fB * dCb));
    FCrToGreenTable[i] = -static_cast<Integer>(std::lround(fRG * dCr));
    FCbToGreenTable[i] = -static_cast<Integer>(std::lround(fBG * dCb));
  }
}

// --------------------------------------------------------------- indexed, grey

void TColorManager::RowConvertIndexed8(TSourceRows source, void* target, Cardinal count, Byte mask) {
  const Byte* src = static_cast<const Byte*>(source.Rows[0]);
  Byte* tgt = static_cast<Byte*>(target);
  const unsigned sb = FSourceBPS, tb = FTargetBPS;
  if (sb == tb && mask == 0xFF) {
    std::memcpy(tgt, src, (size_t(count) * sb + 7) / 8);
    return;
  }
  MaskBit m(mask);
  if (sb == 8 && tb == 8) {
    for (Cardinal i = 0; i < count; ++i)
      if (m.Take()) *tgt++ = *src++; else ++tgt;
    return;
  }
  const unsigned sMax = (1u << sb) - 1, tMax = (1u << tb) - 1;
  size_t srcPos = 0;
  for (Cardinal i = 0; i < count; ++i) {
    if (!m.Take()) continue;
    unsigned v = ReadBits(src, srcPos, sb);
    srcPos += sb;
    if (sb != tb) v = v * tMax / sMax;
    WriteSmall(tgt, size_t(i) * tb, tb, v);
  }
}

void TColorManager::RowConvertIndexedBoth16(TSourceRows source, void* target, Cardinal count, Byte mask) {
  const Byte* src = static_cast<const Byte*>(source.Rows[0]);
  Byte* tgt = static_cast<Byte*>(target);
  const bool swap = SourceOptions.Contains(coNeedByteSwap);
  if (mask == 0xFF && !swap) {
    std::memcpy(tgt, src, size_t(count) * 2);
    return;
  }
  MaskBit m(mask);
  for (Cardinal i = 0; i < count; ++i, tgt += 2) {
    if (!m.Take()) continue;
    Word w = ReadWord(src);
    src += 2;
    WriteWord(tgt, swap ? Swap(w) : w);
  }
}

void TColorManager::RowConvertIndexedSource16(TSourceRows source, void* target, Cardinal count, Byte mask) {
  const Byte* src = static_cast<const Byte*>(source.Rows[0]);
  Byte* tgt = static_cast<Byte*>(target);
  const bool swap = SourceOptions.Contains(coNeedByteSwap);
  const unsigned tb = FTargetBPS, tMax = (1u << tb) - 1;
  MaskBit m(mask);
  for (Cardinal i = 0; i < count; ++i) {
    if (!m.Take()) continue;
    Word w = ReadWord(src);
    src += 2;
    if (swap) w = Swap(w);
    WriteSmall(tgt, size_t(i) * tb, tb, unsigned(w) * tMax / 65535u);
  }
}

void TColorManager::RowConvertIndexedTarget16(TSourceRows source, void* target, Cardinal count, Byte mask) {
  const Byte* src = static_cast<const Byte*>(source.Rows[0]);
  Byte* tgt = static_cast<Byte*>(target);
  const bool swap = SourceOptions.Contains(coNeedByteSwap);
  const unsigned sb = FSourceBPS, sMax = (1u << sb) - 1;
  MaskBit m(mask);
  size_t srcPos = 0;
  for (Cardinal i = 0; i < count; ++i, tgt += 2) {
    if (!m.Take()) continue;
    unsigned v = ReadBits(src, srcPos, sb);
    srcPos += sb;
    Word w = static_cast<Word>(v * 65535u / sMax);
    WriteWord(tgt, swap ? Swap(w) : w);
  }
}

void TColorManager::RowConvertGray(TSourceRows source, void* target, Cardinal count, Byte mask) {
  const Byte* src = static_cast<const Byte*>(source.Rows[0]);
  Byte* tgt = static_cast<Byte*>(target);
  const bool swap = SourceOptions.Contains(coNeedByteSwap);
  const unsigned samples = SourceOptions.Contains(coAlpha) ? 2 : 1;
  const bool s16 = FSourceBPS == 16, t16 = FTargetBPS == 16;
  const unsigned sinc = samples * (s16 ? 2 : 1), tinc = t16 ? 2 : 1;
  MaskBit m(mask);
  for (Cardinal i = 0; i < count; ++i, tgt += tinc) {
    if (!m.Take()) continue;
    if (s16) {
      Word w = ReadWord(src);
      if (swap) w = Swap(w);
      if (t16) WriteWord(tgt, w); else *tgt = Scale16To8(w);
    } else {
      if (t16) WriteWord(tgt, Scale8To16(*src)); else *tgt = *src;
    }
    src += sinc;
  }
}

// ------------------------------------------------------------------ RGB family

template <int R, int G, int B, int TR, int TG, int TB>
void TColorManager::ConvertRGBFamily(TSourceRows source, void* target, Cardinal count, Byte mask) {
  const bool srcAlpha = SourceOptions.Contains(coAlpha), tgtAlpha = TargetOptions.Contains(coAlpha);
  const bool planar = source.Count > 1;
  const bool copyAlpha = srcAlpha && tgtAlpha;
  const bool gamma = TargetOptions.Contains(coApplyGamma);
  const bool swap = SourceOptions.Contains(coNeedByteSwap);
  const bool s16 = FSourceBPS == 16, t16 = FTargetBPS == 16;
  if (!((FSourceBPS == 8 || s16) && (FTargetBPS == 8 || t16))) return;
  const unsigned sw = s16 ? 2 : 1, tw = t16 ? 2 : 1;
  const unsigned sinc = (planar ? 1 : (srcAlpha ? 4 : 3)) * sw;
  const unsigned tinc = (srcAlpha ? (copyAlpha ? 4 : 3) : (tgtAlpha ? 4 : 3)) * tw;
  const Byte* g = FGammaTable;
  Byte* tgt = static_cast<Byte*>(target);

  if (!planar && !s16 && !t16 && mask == 0xFF) {
    // The common case, without the mask and per-sample choices.
    const Byte* s = static_cast<const Byte*>(source.Rows[0]);
    if (copyAlpha) {
      if (gamma) {
        for (Cardinal i = 0; i < count; ++i, s += 4, tgt += 4) {
          tgt[TR] = g[s[R]]; tgt[TG] = g[s[G]]; tgt[TB] = g[s[B]]; tgt[3] = s[3];
        }
      } else {
        for (Cardinal i = 0; i < count; ++i, s += 4, tgt += 4) {
          tgt[TR] = s[R]; tgt[TG] = s[G]; tgt[TB] = s[B]; tgt[3] = s[3];
        }
      }
    } else {
      for (Cardinal i = 0; i < count; ++i, s += sinc, tgt += tinc) {
        if (gamma) {
          tgt[TR] = g[s[R]]; tgt[TG] = g[s[G]]; tgt[TB] = g[s[B]];
        } else {
          tgt[TR] = s[R]; tgt[TG] = s[G]; tgt[TB] = s[B];
        }
      }
    }
    return;
  }

  if (!planar && !s16 && !t16) {
    // 8-bit samples under a mask (interlaced passes).
    const Byte* s = static_cast<const Byte*>(source.Rows[0]);
    MaskBit m(mask);
    for (Cardinal i = 0; i < count; ++i, tgt += tinc) {
      if (!m.Take()) continue;
      if (gamma) {
        tgt[TR] = g[s[R]]; tgt[TG] = g[s[G]]; tgt[TB] = g[s[B]];
      } else {
        tgt[TR] = s[R]; tgt[TG] = s[G]; tgt[TB] = s[B];
      }
      if (copyAlpha) tgt[3] = s[3];
      s += sinc;
    }
    return;
  }

  // Component pointers: offsets within an interleaved pixel, or planes.
  const Byte* p[4];
  unsigned off[4];
  if (planar) {
    for (int k = 0; k < 3; ++k) p[k] = static_cast<const Byte*>(source.Rows[k]);
    p[3] = source.Count > 3 ? static_cast<const Byte*>(source.Rows[3]) : nullptr;
    off[0] = off[1] = off[2] = off[3] = 0;
  } else {
    for (int k = 0; k < 4; ++k) p[k] = static_cast<const Byte*>(source.Rows[0]);
    off[0] = R * sw; off[1] = G * sw; off[2] = B * sw; off[3] = 3 * sw;
  }
  const bool alphaOut = copyAlpha && p[3] != nullptr;
  auto read8 = [&](int k, size_t at, bool colour) -> unsigned {
    if (s16) {
      Word w = ReadWord(p[k] + at + off[k]);
      if (swap) w = Swap(w);
      Byte v = Scale16To8(w);
      return colour && gamma ? g[v] : v;
    }
    Byte v = p[k][at + off[k]];
    return colour && gamma ? g[v] : v;
  };
  auto readWord = [&](int k, size_t at, bool colour) -> Word {
    if (s16) {
      Word w = ReadWord(p[k] + at + off[k]);
      return swap ? Swap(w) : w;
    }
    Byte v = p[k][at + off[k]];
    Word w = Scale8To16(colour && gamma ? g[v] : v);
    return swap ? Swap(w) : w;
  };
  MaskBit m(mask);
  size_t at = 0;
  const int order[3] = {TR, TG, TB};
  for (Cardinal i = 0; i < count; ++i, tgt += tinc) {
    if (!m.Take()) continue;
    if (!t16) {
      for (int k = 0; k < 3; ++k) tgt[order[k]] = static_cast<Byte>(read8(k, at, true));
      if (alphaOut) tgt[3] = static_cast<Byte>(read8(3, at, false));
    } else {
      // 16-bit targets: with 16-bit sources words are copied (no gamma).
      for (int k = 0; k < 3; ++k) WriteWord(tgt + 2 * order[k], readWord(k, at, true));
      if (alphaOut) WriteWord(tgt + 6, readWord(3, at, false));
    }
    at += sinc;
  }
}

void TColorManager::RowConvertRGB2BGR(TSourceRows s, void* t, Cardinal c, Byte m) { ConvertRGBFamily<0, 1, 2, 2, 1, 0>(s, t, c, m); }
void TColorManager::RowConvertRGB2RGB(TSourceRows s, void* t, Cardinal c, Byte m) { ConvertRGBFamily<0, 1, 2, 0, 1, 2>(s, t, c, m); }
void TColorManager::RowConvertBGR2BGR(TSourceRows s, void* t, Cardinal c, Byte m) { ConvertRGBFamily<2, 1, 0, 2, 1, 0>(s, t, c, m); }
void TColorManager::RowConvertBGR2RGB(TSourceRows s, void* t, Cardinal c, Byte m) { ConvertRGBFamily<2, 1, 0, 0, 1, 2>(s, t, c, m); }

// ------------------------------------------------------ CMYK, L*a*b*, YCbCr

namespace {
// Reads component k of pixel i from interleaved or planar rows.
struct Samples {
  const Byte* rows[4];
  bool planar;
  unsigned perPixel;
  bool is16;
  bool swap;
  unsigned Get(int k, size_t i) const {
    if (is16) {
      const Byte* q = planar ? rows[k] + 2 * i : rows[0] + 2 * (i * perPixel + k);
      Word w = ReadWord(q);
      return swap ? Swap(w) : w;
    }
    return planar ? rows[k][i] : rows[0][i * perPixel + k];
  }
};
Samples MakeSamples(const TColorManager::TSourceRows& src, unsigned components, bool is16, bool swap) {
  Samples s{};
  s.planar = src.Count >= int(components);
  for (unsigned k = 0; k < 4; ++k)
    s.rows[k] = static_cast<const Byte*>(src.Rows[s.planar && k < components ? k : 0]);
  s.perPixel = components;
  s.is16 = is16;
  s.swap = swap;
  return s;
}
}  // namespace

void TColorManager::ConvertCMYK(TSourceRows source, void* target, Cardinal count, Byte mask, bool bgr) {
  const bool s16 = FSourceBPS == 16, t16 = FTargetBPS == 16;
  if (!((FSourceBPS == 8 || s16) && (FTargetBPS == 8 || t16))) return;
  Samples in = MakeSamples(source, 4, s16, SourceOptions.Contains(coNeedByteSwap));
  const unsigned tinc = (TargetOptions.Contains(coAlpha) ? 4 : 3) * (t16 ? 2 : 1);
  Byte* tgt = static_cast<Byte*>(target);
  MaskBit m(mask);
  size_t n = 0;
  for (Cardinal i = 0; i < count; ++i, tgt += tinc) {
    if (!m.Take()) continue;
    unsigned k = in.Get(3, n);
    unsigned rgb[3];
    for (int c = 0; c < 3; ++c) {
      unsigned s = in.Get(c, n);
      if (!s16) {
        Byte v = Clamp(int(255 - s - k + s * k / 255));
        rgb[c] = t16 ? Scale8To16(v) : v;
      } else if (!t16) {
        rgb[c] = Clamp(255 - int((s + k - unsigned(Int64(s) * k / 65535)) * 255u / 65535u));
      } else {
        rgb[c] = static_cast<Word>(65535 - s - k + unsigned(Int64(s) * k / 65535));
      }
    }
    ++n;
    const int order[3] = {bgr ? 2 : 0, 1, bgr ? 0 : 2};
    for (int c = 0; c < 3; ++c) {
      if (t16) WriteWord(tgt + 2 * order[c], static_cast<Word>(rgb[c]));
      else tgt[order[c]] = static_cast<Byte>(rgb[c]);
    }
  }
}

void TColorManager::ConvertLab(TSourceRows source, void* target, Cardinal count, Byte mask, bool bgr) {
  const bool s16 = FSourceBPS == 16, t16 = FTargetBPS == 16;
  if (!((FSourceBPS == 8 || s16) && (FTargetBPS == 8 || t16))) return;
  Samples in = MakeSamples(source, 3, s16, SourceOptions.Contains(coNeedByteSwap));
  const bool byteRange = SourceOptions.Contains(coLabByteRange);
  const bool chromaOffset = SourceOptions.Contains(coLabChromaOffset);
  const unsigned tinc = (TargetOptions.Contains(coAlpha) ? 4 : 3) * (t16 ? 2 : 1);
  Byte* tgt = static_cast<Byte*>(target);
  MaskBit m(mask);
  size_t n = 0;
  for (Cardinal i = 0; i < count; ++i, tgt += tinc) {
    if (!m.Take()) continue;
    unsigned l8 = in.Get(0, n), a8 = in.Get(1, n), b8 = in.Get(2, n);
    ++n;
    if (s16) {
      l8 = Scale16To8(static_cast<Word>(l8));
      a8 = Scale16To8(static_cast<Word>(a8));
      b8 = Scale16To8(static_cast<Word>(b8));
    }
    double L = byteRange ? l8 / 2.55 : l8;
    double a = chromaOffset ? int(a8) - 128 : static_cast<signed char>(a8);
    double b = chromaOffset ? int(b8) - 128 : static_cast<signed char>(b8);
    double X, Y, Z;
    if (L < 7.9996) {
      Y = L / 903.3;
      X = Y + a / 3893.5;
      Z = Y - b / 1557.4;
    } else {
      Y = (L + 16) / 116;
      X = Y + a / 500;
      Z = Y - b / 200;
      X = X * X * X;
      Y = Y * Y * Y;
      Z = Z * Z * Z;
    }
    double rgb[3] = {2.998 * X - 1.458 * Y - 0.541 * Z, -0.952 * X + 1.893 * Y + 0.059 * Z,
                     0.099 * X - 0.198 * Y + 1.099 * Z};
    const int order[3] = {bgr ? 2 : 0, 1, bgr ? 0 : 2};
    for (int c = 0; c < 3; ++c) {
      Byte v = Clamp(static_cast<int>(std::lround(255 * rgb[c])));
      if (t16) WriteWord(tgt + 2 * order[c], s16 ? Word(v) : Scale8To16(v));
      else tgt[order[c]] = v;
    }
  }
}

void TColorManager::ConvertYCC(TSourceRows source, void* target, Cardinal count, Byte mask, bool bgr, bool photo) {
  const bool s16 = FSourceBPS == 16, t16 = FTargetBPS == 16;
  if (!((FSourceBPS == 8 || s16) && (FTargetBPS == 8 || t16))) return;
  if (FCrToRedTable.size() != 256) CreateYCbCrLookup();
  Samples in = MakeSamples(source, 3, s16, SourceOptions.Contains(coNeedByteSwap));
  const unsigned tinc = (TargetOptions.Contains(coAlpha) ? 4 : 3) * (t16 ? 2 : 1);
  Byte* tgt = static_cast<Byte*>(target);
  const int order[3] = {bgr ? 2 : 0, 1, bgr ? 0 : 2};
  MaskBit m(mask);
  size_t n = 0;
  for (Cardinal i = 0; i < count; ++i, tgt += tinc) {
    if (!m.Take()) continue;
    unsigned y = in.Get(0, n), cb = in.Get(1, n), cr = in.Get(2, n);
    ++n;
    if (photo && s16 && t16) {
      double Y = y * 1.3584, C1 = double(cb) - 40092, C2 = double(cr) - 35209;
      double rgb[3] = {Y + 1.8215 * C2, Y - 0.9271435 * C2 - 0.4302726 * C1, Y + 2.2179 * C1};
      for (int c = 0; c < 3; ++c)
        WriteWord(tgt + 2 * order[c], static_cast<Word>(static_cast<Int64>(std::llround(rgb[c]))));
      continue;
    }
    if (s16) {
      y = Scale16To8(static_cast<Word>(y));
      cb = Scale16To8(static_cast<Word>(cb));
      cr = Scale16To8(static_cast<Word>(cr));
    }
    Byte rgb[3] = {Clamp(int(y) + FCrToRedTable[cr]),
                   Clamp(int(y) + FCbToGreenTable[cb] + FCrToGreenTable[cr]),
                   Clamp(int(y) + FCbToBlueTable[cb])};
    for (int c = 0; c < 3; ++c) {
      if (t16) WriteWord(tgt + 2 * order[c], Scale8To16(rgb[c]));
      else tgt[order[c]] = rgb[c];
    }
  }
}

void TColorManager::RowConvertCMYK2BGR(TSourceRows s, void* t, Cardinal c, Byte m) { ConvertCMYK(s, t, c, m, true); }
void TColorManager::RowConvertCMYK2RGB(TSourceRows s, void* t, Cardinal c, Byte m) { ConvertCMYK(s, t, c, m, false); }
void TColorManager::RowConvertCIELAB2BGR(TSourceRows s, void* t, Cardinal c, Byte m) { ConvertLab(s, t, c, m, true); }
void TColorManager::RowConvertCIELAB2RGB(TSourceRows s, void* t, Cardinal c, Byte m) { ConvertLab(s, t, c, m, false); }
void TColorManager::RowConvertYCbCr2BGR(TSourceRows s, void* t, Cardinal c, Byte m) { ConvertYCC(s, t, c, m, true, false); }
void TColorManager::RowConvertYCbCr2RGB(TSourceRows s, void* t, Cardinal c, Byte m) { ConvertYCC(s, t, c, m, false, false); }
void TColorManager::RowConvertPhotoYCC2BGR(TSourceRows s, void* t, Cardinal c, Byte m) { ConvertYCC(s, t, c, m, true, true); }
void TColorManager::RowConvertPhotoYCC2RGB(TSourceRows s, void* t, Cardinal c, Byte m) { ConvertYCC(s, t, c, m, false, true); }
