// The PNG reader: chunks, inflate, filters and the conversion of rows into
// the bitmap through the colour manager.
#include "skin/graphics/acPNG.h"

#include <algorithm>
#include <cstring>

const Byte PNGMagic[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

bool UseACPng = true;

namespace {

const char* const kPNG = "PNG";
const char* const kInvalidFormat = "Cannot load image. Invalid or unexpected %s image format.";
const char* const kNotSupported = "Cannot load image. %s not supported for %s files.";
const char* const kBadPalette = "Cannot load image. Palette in %s file is invalid.";
const char* const kCRCError = "Cannot load image. CRC error found in %s file.";
const char* const kExtraData = "Cannot load image. Extra compressed data found in %s file.";
const char* const kCompressionError = "Cannot load image. Compression error found in %s file.";
const char* const kBadColorFormat = "Invalid color format in %s file.";
const char* const kCriticalChunk = "Cannot load PNG image. Unexpected but critical chunk detected.";
const char* const kLZ77Error = "LZ77 decompression error.";

// The CRC of the PNG format: reflected polynomial, built on first use from
// the exponents of its terms.
struct CRCTable {
  Cardinal entry[256];
  CRCTable() {
    static const int exponents[] = {0, 1, 2, 4, 5, 7, 8, 10, 11, 12, 16, 22, 23, 26};
    Cardinal poly = 0;
    for (int e : exponents) poly |= Cardinal(1) << (31 - e);
    for (Cardinal n = 0; n < 256; ++n) {
      Cardinal c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? poly ^ (c >> 1) : c >> 1;
      entry[n] = c;
    }
  }
};
const CRCTable& Table() {
  static const CRCTable table;
  return table;
}
// Continues a running CRC (kept in its complemented form).
Cardinal UpdateCRC(Cardinal crc, const Byte* data, size_t size) {
  // Long runs go to zlib's CRC, which computes the same polynomial faster.
  if (size >= 64) return ~static_cast<Cardinal>(crc32(~crc, data, static_cast<uInt>(size)));
  const Cardinal* t = Table().entry;
  for (size_t i = 0; i < size; ++i) crc = t[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return crc;
}

Cardinal BigEndian32(const Byte* p) {
  return (Cardinal(p[0]) << 24) | (Cardinal(p[1]) << 16) | (Cardinal(p[2]) << 8) | p[3];
}

// Swaps Count consecutive 32-bit values in place.
void SwapLong(Cardinal* values, int count) {
  for (int i = 0; i < count; ++i) {
    Cardinal v = values[i];
    values[i] = (v >> 24) | ((v >> 8) & 0xFF00) | ((v << 8) & 0xFF0000) | (v << 24);
  }
}

inline Byte Paeth(int a, int b, int c) {
  int p = a + b - c;
  int pa = p > a ? p - a : a - p;
  int pb = p > b ? p - b : b - p;
  int pc = p > c ? p - c : c - p;
  if (pa <= pb && pa <= pc) return static_cast<Byte>(a);
  return static_cast<Byte>(pb <= pc ? b : c);
}

TColor MakeColor(Byte r, Byte g, Byte b) { return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16); }

}  // namespace

// -------------------------------------------------------------- TLZ77Decoder

TLZ77Decoder::TLZ77Decoder(Integer flushMode, bool autoReset) : FFlushMode(flushMode), FAutoReset(autoReset) {
  std::memset(&FStream, 0, sizeof(FStream));
}

TLZ77Decoder::~TLZ77Decoder() {
  if (FInitialised) inflateEnd(&FStream);
}

void TLZ77Decoder::DecodeInit() {
  if (InflateInit(FStream) < 0) throw EGraphicCompression(kLZ77Error);
  FInitialised = true;
}

void TLZ77Decoder::Decode(const Byte*& source, Byte*& dest, Integer packedSize, Integer unpackedSize) {
  FStream.next_in = const_cast<Byte*>(source);
  FStream.avail_in = static_cast<uInt>(packedSize);
  if (FAutoReset) FZLibResult = inflateReset(&FStream);
  if (FZLibResult != 0) return;
  FStream.next_out = dest;
  FStream.avail_out = static_cast<uInt>(unpackedSize);
  FZLibResult = inflate(&FStream, FFlushMode);
  source = FStream.next_in;
  dest = FStream.next_out;
}

void TLZ77Decoder::DecodeEnd() {
  if (!FInitialised) return;
  FInitialised = false;
  if (inflateEnd(&FStream) < 0) throw EGraphicCompression(kLZ77Error);
}

// --------------------------------------------------------------- TPNGGraphic

TPNGGraphic::TPNGGraphic() : FColorManager(std::make_unique<TColorManager>()) {}

TPNGGraphic::~TPNGGraphic() = default;

// The image properties, then the bitmap; background, transparent colour and
// reflection stay the picture's own.
void TPNGGraphic::Assign(TPersistent* source) {
  auto* png = dynamic_cast<TPNGGraphic*>(source);
  if (png == this) return;
  if (png) FImageProperties = png->FImageProperties;
#ifdef _WIN32
  inherited::Assign(source);
#else
  if (!png) {
    inherited::Assign(source);
    return;
  }
  FBitmap = png->FBitmap;
#endif
}

bool TPNGGraphic::CanLoad(TStream* stream) {
  if (!UseACPng) return false;
  Int64 pos = stream->Position();
  bool result = false;
  try {
    if (stream->Size() - pos > 8) {
      Byte magic[8];
      stream->ReadBuffer(magic, 8);
      result = std::memcmp(magic, PNGMagic, 8) == 0;
    }
  } catch (...) {
    stream->SetPosition(pos);
    throw;
  }
  stream->SetPosition(pos);
  return result;
}

bool TPNGGraphic::CanLoad(const AnsiString& fileName) {
  if (!UseACPng) return false;
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  return CanLoad(&stream);
}

[[noreturn]] void TPNGGraphic::InvalidFormat() { throw EInvalidGraphic(kInvalidFormat, {kPNG}); }

void TPNGGraphic::LoadAndSwapHeader() {
  Byte raw[8];
  FStream->ReadBuffer(raw, 8);
  FHeader.Length = BigEndian32(raw);
  std::memcpy(FHeader.ChunkType, raw + 4, 4);
  FCurrentCRC = UpdateCRC(0xFFFFFFFF, FHeader.ChunkType, 4);
  // The data and its CRC must lie within the stream.
  Int64 left = FStreamSize - FStream->Position();
  if (FHeader.Length > 0x7FFFFFFF || Int64(FHeader.Length) + 4 > left) InvalidFormat();
}

void TPNGGraphic::ReadDataAndCheckCRC() {
  FRawBuffer.resize(FHeader.Length);
  if (FHeader.Length) FStream->ReadBuffer(FRawBuffer.data(), static_cast<Integer>(FHeader.Length));
  Byte raw[4];
  FStream->ReadBuffer(raw, 4);
  Cardinal crc = ~UpdateCRC(FCurrentCRC, FRawBuffer.data(), FRawBuffer.size());
  if (crc != BigEndian32(raw)) throw EInvalidGraphic(kCRCError, {kPNG});
}

bool TPNGGraphic::IsChunk(const char* type) const {
  for (int i = 0; i < 4; ++i)
    if ((FHeader.ChunkType[i] & ~0x20) != (static_cast<Byte>(type[i]) & ~0x20)) return false;
  return true;
}

bool TPNGGraphic::ReadImageProperties(TStream* stream, Cardinal) {
  FImageProperties = TImageProperties();
  FStream = stream;
  FStreamSize = stream->Size();
  Byte magic[8];
  if (stream->Read(magic, 8) != 8 || std::memcmp(magic, PNGMagic, 8) != 0) return false;
  Int64 left = FStreamSize - stream->Position();
  if (left < 8) return false;
  LoadAndSwapHeader();
  if (!IsChunk("IHDR")) return false;
  FImageProperties.Options = {ioBigEndian};
  if (FHeader.Length != 13) return false;
  ReadDataAndCheckCRC();
  const Byte* d = FRawBuffer.data();
  Cardinal dims[2];
  std::memcpy(dims, d, 8);
  SwapLong(dims, 2);
  if (dims[0] == 0 || dims[1] == 0) return false;
  TImageProperties& p = FImageProperties;
  p.Width = dims[0];
  p.Height = dims[1];
  p.Compression = d[10] == 0 ? ctLZ77 : ctUnknown;
  p.BitsPerSample = d[8];
  switch (d[9]) {
    case 0: p.ColorScheme = csG; p.SamplesPerPixel = 1; break;
    case 2: p.ColorScheme = csRGB; p.SamplesPerPixel = 3; break;
    case 3: p.ColorScheme = csIndexed; p.SamplesPerPixel = 1; break;
    case 4: p.ColorScheme = csGA; p.SamplesPerPixel = 1; break;
    case 6: p.ColorScheme = csRGBA; p.SamplesPerPixel = 4; break;
    default: p.ColorScheme = csUnknown; p.SamplesPerPixel = 1; break;
  }
  // Look ahead for a gamma value; a chunk that does not fit ends the search
  // (the reader reports it in its own pass).
  while (FStreamSize - stream->Position() >= 12) {
    Byte raw[8];
    stream->ReadBuffer(raw, 8);
    FHeader.Length = BigEndian32(raw);
    std::memcpy(FHeader.ChunkType, raw + 4, 4);
    FCurrentCRC = UpdateCRC(0xFFFFFFFF, FHeader.ChunkType, 4);
    if (FHeader.Length > 0x7FFFFFFF || Int64(FHeader.Length) + 4 > FStreamSize - stream->Position()) break;
    if (IsChunk("gAMA")) {
      ReadDataAndCheckCRC();
      break;
    }
    stream->Seek(Int64(FHeader.Length) + 4, soCurrent);
    if (IsChunk("IEND")) break;
  }
  std::vector<Byte>().swap(FRawBuffer);
  return true;
}

Integer TPNGGraphic::SetupColorDepth(Integer colorType, Integer bitDepth) {
  TColorManager& cm = *FColorManager;
  auto setup = [&](TColorScheme source, TColorScheme target, Byte sourceSamples, Byte targetSamples,
                   Byte targetBits) {
    cm.SetSourceColorScheme(source);
    cm.SetTargetColorScheme(target);
    cm.SetSourceSamplesPerPixel(sourceSamples);
    cm.SetTargetSamplesPerPixel(targetSamples);
    cm.SetSourceBitsPerSample(static_cast<Byte>(bitDepth));
    cm.SetTargetBitsPerSample(targetBits);
  };
  switch (colorType) {
    case 0:
      if (bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8 || bitDepth == 16) {
        setup(csG, csG, 1, 1, static_cast<Byte>(bitDepth == 2 ? 4 : bitDepth == 16 ? 8 : bitDepth));
        FTargetFormat = cm.GetPixelFormat(1);
        FPalette = cm.CreateGrayscalePalette(false);
        FHasPalette = true;
        return (bitDepth + 7) / 8;
      }
      break;
    case 2:
      if (bitDepth == 8 || bitDepth == 16) {
        setup(csRGB, csBGR, 3, 3, 8);
        FTargetFormat = pf24bit;
        return bitDepth * 3 / 8;
      }
      break;
    case 3:
      if (bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8) {
        setup(csIndexed, csIndexed, 1, 1, static_cast<Byte>(bitDepth == 2 ? 4 : bitDepth));
        FTargetFormat = cm.GetPixelFormat(1);
        return 1;
      }
      break;
    case 4:
      if (bitDepth == 8 || bitDepth == 16) {
        setup(csGA, csG, 1, 1, 8);
        FTargetFormat = pf8bit;
        FPalette = cm.CreateGrayscalePalette(false);
        FHasPalette = true;
        return bitDepth * 2 / 8;
      }
      break;
    case 6:
      if (bitDepth == 8 || bitDepth == 16) {
        setup(csRGBA, csBGRA, 4, 4, 8);
        FTargetFormat = pf32bit;
        return bitDepth * 4 / 8;
      }
      break;
  }
  throw EInvalidGraphic(kBadColorFormat, {kPNG});
}

Word TPNGGraphic::Sample16(int index) const {
  return static_cast<Word>((FRawBuffer[2 * index] << 8) | FRawBuffer[2 * index + 1]);
}

void TPNGGraphic::LoadBackgroundColor() {
  ReadDataAndCheckCRC();
  auto scale = [&](Word v) -> unsigned {
    if (FBitDepth == 2) return Word(v * 15u) / 3u;
    if (FBitDepth == 16) return unsigned(v) * 255u / 65535u;
    return v & 0xFF;
  };
  switch (FColorType) {
    case 0:
    case 4:
      if (FRawBuffer.size() < 2) InvalidFormat();
      FBackgroundColor = static_cast<TColor>(scale(Sample16(0)));
      break;
    case 2:
    case 6: {
      if (FRawBuffer.size() < 6) InvalidFormat();
      auto c = [&](int i) { return static_cast<Byte>(FBitDepth == 16 ? Sample16(i) * 255u / 65535u : Sample16(i) & 0xFF); };
      FBackgroundColor = MakeColor(c(0), c(1), c(2));
      break;
    }
    default:
      if (FRawBuffer.empty()) InvalidFormat();
      FBackgroundColor = FRawBuffer[0];
      break;
  }
}

void TPNGGraphic::LoadTransparency() {
  ReadDataAndCheckCRC();
  auto scale = [&](Word v) -> Byte {
    if (FBitDepth == 2) return static_cast<Byte>(Word(v * 15u) / 3u);
    if (FBitDepth == 16) return static_cast<Byte>(unsigned(v) * 255u / 65535u);
    return static_cast<Byte>(v & 0xFF);
  };
  switch (FColorType) {
    case 0: {
      if (FRawBuffer.size() < 2) InvalidFormat();
      Byte v = scale(Sample16(0));
      FPNGTransparentColor = MakeColor(v, v, v);
      break;
    }
    case 2:
      if (FRawBuffer.size() < 6) InvalidFormat();
      FPNGTransparentColor = MakeColor(scale(Sample16(0)), scale(Sample16(1)), scale(Sample16(2)));
      break;
    default:
      break;
  }
}

#ifndef _WIN32
void TPNGGraphic::LoadFromStream(TStream* stream) {
  FTransparent = false;
  LoadInto(stream, FBitmap);
  FTransparent = FPNGTransparentColor != 0x1FFFFFFF;
}
#endif

void TPNGGraphic::LoadInto(TStream* stream, TacImageTarget& target) {
  FTarget = &target;
  FTarget->ReleaseImage();
  FStreamStart = stream->Position();
  FStream = stream;
  FDecoder.reset();
  // Nothing of an earlier load carries over: a fresh colour manager, no
  // gamma, no palette.
  FColorManager = std::make_unique<TColorManager>();
  FPalette.clear();
  FHasPalette = false;
  FTargetFormat = pfDevice;
  FSourceBPP = 0;
  FHaveImageData = false;
  FPNGTransparentColor = 0x1FFFFFFF;
  FProgressStarted = false;
  try {
    DoLoad();
  } catch (...) {
    if (FProgressStarted) {
      try {
        ReportProgress(false, "");
      } catch (...) {
      }
    }
    FTarget->ReleaseImage();
    FTarget = nullptr;
    FDecoder.reset();
    std::vector<Byte>().swap(FRawBuffer);
    FStream = nullptr;
    throw;
  }
  FTarget = nullptr;
  FStream = nullptr;
  ReportProgress(false, "");
}

void TPNGGraphic::ReportProgress(bool starting, const char* text) {
#ifdef _WIN32
  Progress(this, starting ? psStarting : psEnding, 0, false, FProgressRect, text);
#else
  (void)starting;
  (void)text;
#endif
}

void TPNGGraphic::DoLoad() {
  if (!ReadImageProperties(FStream, 0)) InvalidFormat();
  const TImageProperties& p = FImageProperties;
  if (p.Width > MaxSide || p.Height > MaxSide || Int64(p.Width) * p.Height > MaxArea) InvalidFormat();
  FStream->SetPosition(FStreamStart + 8);
  FProgressRect = {0, 0, static_cast<std::int32_t>(p.Width), 1};
  FProgressStarted = true;
  ReportProgress(true, "Preparing...");
  FBackgroundColor = 0xFFFFFF;
  FPNGTransparentColor = 0x1FFFFFFF;
  LoadAndSwapHeader();
  FRawBuffer.clear();
  FColorManager->SourceOptions = {coNeedByteSwap};
  struct Cleanup {
    TPNGGraphic* self;
    ~Cleanup() {
      if (self->FDecoder) {
        try {
          self->FDecoder->DecodeEnd();
        } catch (...) {
        }
        self->FDecoder.reset();
      }
      std::vector<Byte>().swap(self->FRawBuffer);
    }
  } cleanup{this};

  ReadDataAndCheckCRC();
  Cardinal dims[2];
  std::memcpy(dims, FRawBuffer.data(), 8);
  SwapLong(dims, 2);
  FImageWidth = dims[0];
  FImageHeight = dims[1];
  FBitDepth = FRawBuffer[8];
  FColorType = FRawBuffer[9];
  FCompression = FRawBuffer[10];
  FFilterMethod = FRawBuffer[11];
  FInterlace = FRawBuffer[12];

  if (p.Compression != ctLZ77) throw EInvalidGraphic(kNotSupported, {"The compression scheme is", kPNG});
  FDecoder = std::make_unique<TLZ77Decoder>(Z_PARTIAL_FLUSH, false);
  FDecoder->DecodeInit();

  for (;;) {
    LoadAndSwapHeader();
    if (IsChunk("IDAT")) {
      if (FHaveImageData) throw EInvalidGraphic(kExtraData, {kPNG});
      ReportProgress(false, "");
      LoadIDAT();
      FHaveImageData = true;
      // The current header is the first chunk after the image data.
    } else if (IsChunk("PLTE")) {
      if (FHeader.Length % 3 != 0 || FHeader.Length == 0) throw EInvalidGraphic(kBadPalette, {kPNG});
      ReadDataAndCheckCRC();
      if (FColorType == 3) {
        // A depth indexed images cannot have is a colour format fault, not
        // one of the palette.
        FSourceBPP = SetupColorDepth(3, FBitDepth);
        Cardinal count = FHeader.Length / 3;
        if (count > (Cardinal(1) << FBitDepth)) throw EInvalidGraphic(kBadPalette, {kPNG});
        // Every index the depth allows has a colour: those beyond the file's
        // palette take the first entry.
        Cardinal full = Cardinal(1) << FBitDepth;
        std::vector<Byte> data(full * 3);
        for (Cardinal i = 0; i < full; ++i)
          std::memcpy(&data[i * 3], &FRawBuffer[(i < count ? i : 0) * 3], 3);
        FPalette = FColorManager->CreateColorPalette({data.data()}, pfInterlaced8Triple, full, false);
        FHasPalette = true;
      }
      continue;
    } else if (IsChunk("gAMA")) {
      ReadDataAndCheckCRC();
      if (FRawBuffer.size() < 4) InvalidFormat();
      Cardinal value = BigEndian32(FRawBuffer.data());
      if (value == 0) InvalidFormat();
      FColorManager->SetGamma(static_cast<float>(value / 100000.0), 2.2f);
      FColorManager->TargetOptions.Include(coApplyGamma);
      FImageProperties.Options.Include(ioUseGamma);
      continue;
    } else if (IsChunk("bKGD")) {
      LoadBackgroundColor();
      continue;
    } else if (IsChunk("tRNS")) {
      LoadTransparency();
      continue;
    }
    // Every other chunk, and the one after the image data.
    FStream->Seek(Int64(FHeader.Length) + 4, soCurrent);
    if (IsChunk("IEND")) break;
    if ((FHeader.ChunkType[0] & 0x20) == 0) throw EInvalidGraphic(kCriticalChunk);
  }
  // An image without image data is no image.
  if (!FHaveImageData) InvalidFormat();
}

void TPNGGraphic::LoadIDAT() {
  ReportProgress(true, "Transfering...");
  if (FTargetFormat == pfDevice) {
    FSourceBPP = SetupColorDepth(FColorType, FBitDepth);
    if (FColorType == 3) throw EInvalidGraphic(kBadPalette, {kPNG});  // no palette came
  }
  const Integer rowFactor = FBitDepth == 16 ? FSourceBPP / 2 : FSourceBPP;
  FTarget->SetupImage(FTargetFormat, static_cast<int>(FImageWidth), static_cast<int>(FImageHeight),
                      FHasPalette ? FPalette.data() : nullptr, FHasPalette ? static_cast<int>(FPalette.size()) : 0);
  Byte* line;
  std::ptrdiff_t delta;
  FTarget->InitLine(line, delta);
  // The background shows where no row is drawn (the colour bitmaps only);
  // the alpha of a 32-bit picture starts at 0.
  if (FTargetFormat == pf24bit || FTargetFormat == pf32bit) {
    const int bpp = FTargetFormat == pf24bit ? 3 : 4;
    for (Cardinal y = 0; y < FImageHeight; ++y) {
      Byte* row = line + delta * std::ptrdiff_t(y);
      for (Cardinal x = 0; x < FImageWidth; ++x) {
        row[x * bpp] = static_cast<Byte>(FBackgroundColor >> 16);
        row[x * bpp + 1] = static_cast<Byte>(FBackgroundColor >> 8);
        row[x * bpp + 2] = static_cast<Byte>(FBackgroundColor);
        if (bpp == 4) row[x * bpp + 3] = 0;
      }
    }
  }
  const Integer rowSize = static_cast<Integer>((Int64(FImageWidth) * FBitDepth + 7) / 8 * rowFactor + 1);
  std::vector<Byte> rows[2] = {std::vector<Byte>(rowSize, 0), std::vector<Byte>(rowSize, 0)};
  int current = 0;
  FIDATSize = 0;
  FCurrentSource = nullptr;
  if (FInterlace == 1) {
    static const Cardinal rowStart[7] = {0, 0, 4, 0, 2, 0, 1};
    static const Cardinal columnStart[7] = {0, 4, 0, 2, 0, 1, 0};
    static const Cardinal rowIncrement[7] = {8, 8, 8, 4, 4, 2, 2};
    static const Cardinal columnIncrement[7] = {8, 8, 4, 4, 2, 2, 1};
    static const Byte passMask[7] = {0x80, 0x08, 0x88, 0x22, 0xAA, 0x55, 0xFF};
    for (int pass = 0; pass < 7; ++pass) {
      if (FImageWidth <= columnStart[pass]) continue;
      Cardinal passWidth = (FImageWidth + columnIncrement[pass] - columnStart[pass] - 1) / columnIncrement[pass];
      Integer passRowSize = static_cast<Integer>((Int64(FBitDepth) * passWidth + 7) / 8 * rowFactor + 1);
      std::fill(rows[1 - current].begin(), rows[1 - current].end(), 0);
      for (Cardinal y = rowStart[pass]; y < FImageHeight; y += rowIncrement[pass]) {
        Byte* row = rows[current].data();
        ReadRow(row, passRowSize);
        ApplyFilter(row[0], row + 1, rows[1 - current].data() + 1, row + 1, FSourceBPP, passRowSize - 1);
        FColorManager->ConvertRow({row + 1}, line + delta * std::ptrdiff_t(y), FImageWidth, passMask[pass]);
        current = 1 - current;
        if (pass == 6) FProgressRect.Offset(0, 1);
      }
    }
  } else {
    for (Cardinal y = 0; y < FImageHeight; ++y) {
      Byte* row = rows[current].data();
      ReadRow(row, rowSize);
      ApplyFilter(row[0], row + 1, rows[1 - current].data() + 1, row + 1, FSourceBPP, rowSize - 1);
      FColorManager->ConvertRow({row + 1}, line + delta * std::ptrdiff_t(y), FImageWidth, 0xFF);
      current = 1 - current;
      FProgressRect.Offset(0, 1);
    }
  }
  // The rest of the image data is read (CRC tested) and not decoded.
  while (IsChunk("IDAT")) {
    ReadDataAndCheckCRC();
    LoadAndSwapHeader();
  }
}

void TPNGGraphic::ReadRow(Byte* rowBuffer, Integer bytesPerRow) {
  Byte* dest = rowBuffer;
  Integer wanted = bytesPerRow;
  for (;;) {
    if (FDecoder->GetAvailableInput() == 0) {
      FIDATSize = 0;
      while (FIDATSize == 0) {
        // The image data ended before the last row.
        if (!IsChunk("IDAT")) throw EInvalidGraphic(kCompressionError, {kPNG});
        ReadDataAndCheckCRC();
        FCurrentSource = FRawBuffer.data();
        FIDATSize = static_cast<Integer>(FHeader.Length);
        LoadAndSwapHeader();
      }
    }
    const Integer packed = FIDATSize - static_cast<Integer>(FCurrentSource - FRawBuffer.data());
    Byte* before = dest;
    FDecoder->Decode(FCurrentSource, dest, packed, wanted);
    const Integer result = FDecoder->ZLibResult();
    if (result == Z_STREAM_END) {
      if (FDecoder->GetAvailableOutput() > 0 || FDecoder->GetAvailableInput() > 0)
        throw EInvalidGraphic(kExtraData, {kPNG});
      return;
    }
    if (result != Z_OK) throw EInvalidGraphic(kCompressionError, {kPNG});
    wanted -= static_cast<Integer>(dest - before);
    if (wanted == 0) return;
  }
}

void TPNGGraphic::ApplyFilter(Byte filter, Byte* line, const Byte* prevLine, Byte* target, Integer bpp,
                              Integer bytesPerRow) {
  const Integer n = bytesPerRow;
  switch (filter) {
    case 0:
      if (target != line) std::memmove(target, line, n);
      break;
    case 1:
      if (target != line) std::memmove(target, line, std::min(bpp, n));
      for (Integer i = bpp; i < n; ++i) target[i] = static_cast<Byte>(line[i] + target[i - bpp]);
      break;
    case 2:
      for (Integer i = 0; i < n; ++i) target[i] = static_cast<Byte>(line[i] + prevLine[i]);
      break;
    case 3: {
      Integer first = std::min(bpp, n);
      for (Integer i = 0; i < first; ++i) target[i] = static_cast<Byte>(line[i] + (prevLine[i] >> 1));
      for (Integer i = bpp; i < n; ++i)
        target[i] = static_cast<Byte>(line[i] + ((unsigned(target[i - bpp]) + prevLine[i]) >> 1));
      break;
    }
    case 4: {
      Integer first = std::min(bpp, n);
      for (Integer i = 0; i < first; ++i) target[i] = static_cast<Byte>(line[i] + prevLine[i]);
      for (Integer i = bpp; i < n; ++i)
        target[i] = static_cast<Byte>(line[i] + Paeth(target[i - bpp], prevLine[i], prevLine[i - bpp]));
      break;
    }
    default:
      if (target != line) std::memmove(target, line, n);
      break;
  }
}
