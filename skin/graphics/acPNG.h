// The skin library's PNG reader and the colour manager that converts its
// rows of samples into bitmap rows.
#pragma once

#include <initializer_list>
#include <memory>
#include <vector>

#include "classlib/core/Classes.h"
#include "classlib/core/Types.h"
#include "skin/graphics/acPixelBuffer.h"
#include "skin/graphics/acZLibEx.h"

#ifdef _WIN32
#include "classlib/ui/Graphics.h"
#endif

// ---------------------------------------------------------------- colour manager

enum TColorScheme {
  csUnknown, csIndexed, csG, csGA, csRGB, csRGBA, csBGR, csBGRA, csCMY, csCMYK, csCIELab, csYCbCr, csPhotoYCC
};
enum TConvertOption { coAlpha, coApplyGamma, coNeedByteSwap, coLabByteRange, coLabChromaOffset };
using TConvertOptions = TSet<TConvertOption>;
enum TRawPaletteFormat {
  pfInterlaced8Triple, pfInterlaced8Quad, pfPlane8Triple, pfPlane8Quad,
  pfInterlaced16Triple, pfInterlaced16Quad, pfPlane16Triple, pfPlane16Quad
};

DK_DECLARE_EXCEPTION(EColorConversionError, Exception);

class TColorManager : public TObject {
  DK_CLASS(TColorManager, TObject)
 public:
  // One pointer: interleaved samples; several: one plane per component.
  struct TSourceRows {
    const void* const* Rows;
    int Count;
  };
  using TConversionMethod = void (TColorManager::*)(TSourceRows source, void* target, Cardinal count, Byte mask);

  TColorManager();

  void SetSourceBitsPerSample(Byte value);
  void SetTargetBitsPerSample(Byte value);
  void SetSourceSamplesPerPixel(Byte value);
  void SetTargetSamplesPerPixel(Byte value);
  void SetSourceColorScheme(TColorScheme value);
  void SetTargetColorScheme(TColorScheme value);
  Byte SourceBitsPerSample() const { return FSourceBPS; }
  Byte TargetBitsPerSample() const { return FTargetBPS; }
  Byte SourceSamplesPerPixel() const { return FSourceSPP; }
  Byte TargetSamplesPerPixel() const { return FTargetSPP; }
  TColorScheme SourceColorScheme() const { return FSourceScheme; }
  TColorScheme TargetColorScheme() const { return FTargetScheme; }

  TConvertOptions SourceOptions;
  TConvertOptions TargetOptions;

  // Converts Count target pixels; only those whose bit is set in the
  // repeating 8-pixel Mask (most significant bit first) are written.
  void ConvertRow(std::initializer_list<const void*> source, void* target, Cardinal count, Byte mask);
  void ConvertRow(TSourceRows source, void* target, Cardinal count, Byte mask);
  void PrepareConversion();
  TPixelFormat GetPixelFormat(Integer index) const;
  void SetGamma(float mainGamma, float displayGamma);
  const Byte* GammaTable() const { return FGammaTable; }
  TacPalette CreateColorPalette(std::initializer_list<const void*> data, TRawPaletteFormat dataFormat,
                                Cardinal colorCount, bool rgb);
  TacPalette CreateGrayscalePalette(bool minimumIsWhite);
  void CreateYCbCrLookup();
  [[noreturn]] void Error(const AnsiString& text);

  // Component converters.
  Byte ComponentNoConvert8(Byte value) const { return value; }
  Word ComponentNoConvert16(Word value) const { return value; }
  Byte ComponentGammaConvert(Byte value) const { return FGammaTable[value]; }
  Byte ComponentScaleConvert(Word value) const { return static_cast<Byte>(value * 255u / 65535u); }
  Byte ComponentScaleGammaConvert(Word value) const { return FGammaTable[ComponentScaleConvert(value)]; }
  Byte ComponentSwapScaleGammaConvert(Word value) const {
    return FGammaTable[ComponentScaleConvert(ComponentSwapConvert(value))];
  }
  Byte ComponentSwapScaleConvert(Word value) const { return ComponentScaleConvert(ComponentSwapConvert(value)); }
  Word ComponentSwapConvert(Word value) const { return static_cast<Word>((value >> 8) | (value << 8)); }

  // Row converters.
  void RowConvertIndexed8(TSourceRows source, void* target, Cardinal count, Byte mask);
  void RowConvertIndexedBoth16(TSourceRows source, void* target, Cardinal count, Byte mask);
  void RowConvertIndexedSource16(TSourceRows source, void* target, Cardinal count, Byte mask);
  void RowConvertIndexedTarget16(TSourceRows source, void* target, Cardinal count, Byte mask);
  void RowConvertGray(TSourceRows source, void* target, Cardinal count, Byte mask);
  void RowConvertRGB2BGR(TSourceRows source, void* target, Cardinal count, Byte mask);
  void RowConvertRGB2RGB(TSourceRows source, void* target, Cardinal count, Byte mask);
  void RowConvertBGR2BGR(TSourceRows source, void* target, Cardinal count, Byte mask);
  void RowConvertBGR2RGB(TSourceRows source, void* target, Cardinal count, Byte mask);
  void RowConvertCMYK2BGR(TSourceRows source, void* target, Cardinal count, Byte mask);
  void RowConvertCMYK2RGB(TSourceRows source, void* target, Cardinal count, Byte mask);
  void RowConvertCIELAB2BGR(TSourceRows source, void* target, Cardinal count, Byte mask);
  void RowConvertCIELAB2RGB(TSourceRows source, void* target, Cardinal count, Byte mask);
  void RowConvertYCbCr2BGR(TSourceRows source, void* target, Cardinal count, Byte mask);
  void RowConvertYCbCr2RGB(TSourceRows source, void* target, Cardinal count, Byte mask);
  void RowConvertPhotoYCC2BGR(TSourceRows source, void* target, Cardinal count, Byte mask);
  void RowConvertPhotoYCC2RGB(TSourceRows source, void* target, Cardinal count, Byte mask);

 private:
  void SetBits(Byte& field, Byte value);
  void SetSamples(Byte& field, Byte value);
  template <int R, int G, int B, int TR, int TG, int TB>
  void ConvertRGBFamily(TSourceRows source, void* target, Cardinal count, Byte mask);
  void ConvertCMYK(TSourceRows source, void* target, Cardinal count, Byte mask, bool bgr);
  void ConvertLab(TSourceRows source, void* target, Cardinal count, Byte mask, bool bgr);
  void ConvertYCC(TSourceRows source, void* target, Cardinal count, Byte mask, bool bgr, bool photo);

  bool FChanged = true;
  Byte FSourceBPS = 8, FTargetBPS = 8, FSourceSPP = 3, FTargetSPP = 3;
  float FMainGamma = 1.0f, FDisplayGamma = 2.2f;
  Byte FGammaTable[256] = {};
  float FYCbCrCoefficients[3] = {0.299f, 0.587f, 0.114f};
  std::vector<Integer> FCrToRedTable, FCbToBlueTable, FCrToGreenTable, FCbToGreenTable;
  TColorScheme FSourceScheme = csRGB, FTargetScheme = csBGR;
  TConversionMethod FRowConversion = nullptr;
};

// ------------------------------------------------------------------ PNG reader

// The PNG file signature.
extern const Byte PNGMagic[8];

// The class library's error of failed decompression.
DK_DECLARE_EXCEPTION(EGraphicCompression, Exception);

enum TImageOption { ioBigEndian, ioUseGamma };
using TImageOptions = TSet<TImageOption>;
enum TCompressionType { ctUnknown, ctNone, ctLZ77 };

struct TImageProperties {
  TImageOptions Options;
  Cardinal Width = 0;
  Cardinal Height = 0;
  TColorScheme ColorScheme = csUnknown;
  Byte BitsPerSample = 0;
  Byte SamplesPerPixel = 0;
  TCompressionType Compression = ctUnknown;
};

struct TPNGChunkHeader {
  Cardinal Length = 0;
  Byte ChunkType[4] = {};
};

// A thin object over zlib's inflate.
class TLZ77Decoder : public TObject {
  DK_CLASS(TLZ77Decoder, TObject)
 public:
  TLZ77Decoder(Integer flushMode, bool autoReset);
  ~TLZ77Decoder() override;
  void DecodeInit();
  // Inflates from Source into Dest; both advance past what was used.
  void Decode(const Byte*& source, Byte*& dest, Integer packedSize, Integer unpackedSize);
  void DecodeEnd();
  Cardinal GetAvailableInput() const { return FStream.avail_in; }
  Cardinal GetAvailableOutput() const { return FStream.avail_out; }
  Integer ZLibResult() const { return FZLibResult; }

 private:
  TZStreamRec FStream{};
  Integer FZLibResult = 0;
  Integer FFlushMode;
  bool FAutoReset;
  bool FInitialised = false;
};

// Whether the PNG pictures of this unit are in use (CanLoad says no while
// it is false).
extern bool UseACPng;

#ifdef _WIN32
// On Windows the picture is a bitmap of the class library; elsewhere it
// decodes into a plain pixel buffer.
using TacPNGGraphicParent = TBitmap;
#else
using TacPNGGraphicParent = TPersistent;
#endif

// A picture read from a PNG stream into the bitmap itself: 32-bit pixels with
// alpha for colour images with alpha, 24-bit for colour images, palette
// bitmaps of 1, 4 or 8 bits for grey and indexed images.
class TPNGGraphic : public TacPNGGraphicParent {
  DK_CLASS(TPNGGraphic, TacPNGGraphicParent)
 public:
  // The largest side and area the reader accepts.
  static constexpr Cardinal MaxSide = 16384;
  static constexpr Int64 MaxArea = Int64(1) << 26;

  TPNGGraphic();
  ~TPNGGraphic() override;

  // Decodes a PNG stream into the picture; raises on any format error (and
  // then holds no image).
#ifdef _WIN32
  void LoadFromStream(TStream* stream) override;
  void Draw(TCanvas* canvas, const TRect& rect) override;
#else
  void LoadFromStream(TStream* stream);
#endif
  // Decodes a PNG stream into another target than the picture itself; the
  // image properties, background and transparent colour are the picture's.
  void LoadInto(TStream* stream, TacImageTarget& target);
  void Assign(TPersistent* source) override;
  static bool CanLoad(const AnsiString& fileName);
  static bool CanLoad(TStream* stream);
  // True when the stream holds a PNG with a usable header.
  bool ReadImageProperties(TStream* stream, Cardinal imageIndex);

#ifndef _WIN32
  TacPixelBuffer& Bitmap() { return FBitmap; }
  const TacPixelBuffer& Bitmap() const { return FBitmap; }
  bool Empty() const { return FBitmap.Empty(); }
  int Width() const { return FBitmap.Width(); }
  int Height() const { return FBitmap.Height(); }
  TPixelFormat PixelFormat() const { return FBitmap.PixelFormat(); }
  // The colour of a tRNS chunk (0x1FFFFFFF when none).
  TColor TransparentColor() const { return FPNGTransparentColor; }
  bool Transparent() const { return FTransparent; }
#endif
  const TImageProperties& ImageProperties() const { return FImageProperties; }
  // The bKGD colour (white when none).
  TColor BackgroundColor() const { return FBackgroundColor; }
  TColorManager& ColorManager() { return *FColorManager; }

  // Draws a 32-bit picture mirrored below itself, fading (only when it is
  // drawn at its own size).
  bool DrawReflection = false;

 protected:
  void LoadAndSwapHeader();
  void ReadDataAndCheckCRC();
  bool IsChunk(const char* type) const;
  void LoadIDAT();
  void ReadRow(Byte* rowBuffer, Integer bytesPerRow);
  void ApplyFilter(Byte filter, Byte* line, const Byte* prevLine, Byte* target, Integer bpp, Integer bytesPerRow);
  Integer SetupColorDepth(Integer colorType, Integer bitDepth);
  void LoadBackgroundColor();
  void LoadTransparency();

 private:
  void DoLoad();
  // The class library's progress event of the picture (Windows).
  void ReportProgress(bool starting, const char* text);
  [[noreturn]] void InvalidFormat();
  Word Sample16(int index) const;

  std::unique_ptr<TColorManager> FColorManager;
#ifndef _WIN32
  TacPixelBuffer FBitmap;
  bool FTransparent = false;
#endif
  // The bitmap being drawn (valid during a load).
  TacImageTarget* FTarget = nullptr;
  // The rows ready so far, as the progress event reports them.
  TRect FProgressRect;
  bool FProgressStarted = false;
  Int64 FStreamStart = 0;
  Int64 FStreamSize = 0;
  TStream* FStream = nullptr;
  TImageProperties FImageProperties;
  std::unique_ptr<TLZ77Decoder> FDecoder;
  Integer FIDATSize = 0;
  std::vector<Byte> FRawBuffer;
  const Byte* FCurrentSource = nullptr;
  TPNGChunkHeader FHeader;
  Cardinal FCurrentCRC = 0;
  Integer FSourceBPP = 0;
  TacPalette FPalette;
  bool FHasPalette = false;
  TPixelFormat FTargetFormat = pfDevice;
  TColor FPNGTransparentColor = 0x1FFFFFFF;
  TColor FBackgroundColor = 0xFFFFFF;
  bool FHaveImageData = false;
  // The header as read: width, height, bit depth, colour type, compression,
  // filter and interlace method.
  Cardinal FImageWidth = 0, FImageHeight = 0;
  Byte FBitDepth = 0, FColorType = 0, FCompression = 0, FFilterMethod = 0, FInterlace = 0;
};
