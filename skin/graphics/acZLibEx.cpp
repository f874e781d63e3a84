// Compression over zlib: block functions and the two stream classes.
#include "skin/graphics/acZLibEx.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

voidpf HeapAlloc(voidpf, uInt items, uInt size) {
  if (size != 0 && items > SIZE_MAX / size) return Z_NULL;
  return std::malloc(static_cast<size_t>(items) * size);
}
void HeapFree(voidpf, voidpf block) { std::free(block); }

void InitRecord(TZStreamRec& z) {
  std::memset(&z, 0, sizeof(z));
  z.zalloc = HeapAlloc;
  z.zfree = HeapFree;
}

const char* const kInvalidOperation = "Invalid ZStream operation!";

// A zlib result below 0 raises the side's error; "need dictionary" too, since
// no dictionary is ever supplied and inflate would stand still on it.
Integer CCheck(Integer code) {
  if (code < 0) throw EZCompressionError(code);
  return code;
}
Integer DCheck(Integer code) {
  if (code < 0 || code == Z_NEED_DICT) throw EZDecompressionError(code);
  return code;
}

Integer RoundUp256(Int64 n) {
  n = (n + 255) / 256 * 256;
  if (n > INT_MAX - 255) throw EZCompressionError(Z_MEM_ERROR);
  return static_cast<Integer>(n);
}

// Frees a malloc'ed block unless released.
struct HeapBlock {
  void* p = nullptr;
  ~HeapBlock() { std::free(p); }
  void Grow(size_t size, bool compress) {
    void* q = std::realloc(p, size ? size : 1);
    if (!q) {
      if (compress) throw EZCompressionError(Z_MEM_ERROR);
      throw EZDecompressionError(Z_MEM_ERROR);
    }
    p = q;
  }
};

void CompressBuffer(TZStreamRec& z, const void* inBuffer, Integer inSize, void*& outBuffer,
                    Integer& outSize) {
  HeapBlock out;
  bool ended = false;
  try {
    Integer size = RoundUp256(Int64(inSize) + inSize / 10 + 12);
    out.Grow(size, true);
    z.next_in = static_cast<Bytef*>(const_cast<void*>(inBuffer));
    z.avail_in = static_cast<uInt>(inSize);
    z.next_out = static_cast<Bytef*>(out.p);
    z.avail_out = static_cast<uInt>(size);
    while (CCheck(deflate(&z, Z_FINISH)) != Z_STREAM_END) {
      if (size > INT_MAX - 256) throw EZCompressionError(Z_MEM_ERROR);
      size += 256;
      out.Grow(size, true);
      z.next_out = static_cast<Bytef*>(out.p) + z.total_out;
      z.avail_out = 256;
    }
    ended = true;
    CCheck(deflateEnd(&z));
  } catch (...) {
    if (!ended) deflateEnd(&z);
    throw;
  }
  Integer total = static_cast<Integer>(z.total_out);
  out.Grow(total, true);
  outBuffer = out.p;
  outSize = total;
  out.p = nullptr;
}

void DecompressBuffer(TZStreamRec& z, const void* inBuffer, Integer inSize, void*& outBuffer,
                      Integer& outSize, Integer outEstimate) {
  HeapBlock out;
  bool ended = false;
  try {
    // An empty input still grows by a step, so the loop always moves on.
    Integer delta = inSize > 0 ? RoundUp256(inSize) : 256;
    Integer size = outEstimate > 0 ? outEstimate : delta;
    out.Grow(size, false);
    z.next_in = static_cast<Bytef*>(const_cast<void*>(inBuffer));
    z.avail_in = static_cast<uInt>(inSize);
    z.next_out = static_cast<Bytef*>(out.p);
    z.avail_out = static_cast<uInt>(size);
    while (DCheck(inflate(&z, Z_NO_FLUSH)) != Z_STREAM_END) {
      if (size > INT_MAX - delta) throw EZDecompressionError(Z_MEM_ERROR);
      size += delta;
      out.Grow(size, false);
      z.next_out = static_cast<Bytef*>(out.p) + z.total_out;
      z.avail_out = static_cast<uInt>(delta);
    }
    ended = true;
    DCheck(inflateEnd(&z));
  } catch (...) {
    if (!ended) inflateEnd(&z);
    throw;
  }
  Integer total = static_cast<Integer>(z.total_out);
  out.Grow(total, false);
  outBuffer = out.p;
  outSize = total;
  out.p = nullptr;
}

AnsiString FromBlock(void* p, Integer size) {
  AnsiString s(static_cast<const char*>(p), static_cast<size_t>(size));
  std::free(p);
  return s;
}

void CompressStreams(TZStreamRec& z, TStream* inStream, TStream* outStream) {
  const Integer kSize = 32768;
  std::unique_ptr<Byte[]> in(new Byte[kSize]), out(new Byte[kSize]);
  try {
    Integer n = inStream->Read(in.get(), kSize);
    while (n > 0) {
      z.next_in = in.get();
      z.avail_in = static_cast<uInt>(n);
      do {
        z.next_out = out.get();
        z.avail_out = kSize;
        CCheck(deflate(&z, Z_NO_FLUSH));
        outStream->WriteBuffer(out.get(), kSize - static_cast<Integer>(z.avail_out));
      } while (z.avail_in > 0 || z.avail_out == 0);
      n = inStream->Read(in.get(), kSize);
    }
    Integer r;
    do {
      z.next_out = out.get();
      z.avail_out = kSize;
      r = CCheck(deflate(&z, Z_FINISH));
      outStream->WriteBuffer(out.get(), kSize - static_cast<Integer>(z.avail_out));
    } while (r != Z_STREAM_END);
  } catch (...) {
    deflateEnd(&z);
    throw;
  }
  CCheck(deflateEnd(&z));
}

void DecompressStreams(TZStreamRec& z, TStream* inStream, TStream* outStream) {
  const Integer kSize = 32768;
  std::unique_ptr<Byte[]> in(new Byte[kSize]), out(new Byte[kSize]);
  try {
    Integer r = Z_OK;
    Integer n = inStream->Read(in.get(), kSize);
    while (n > 0) {
      z.next_in = in.get();
      z.avail_in = static_cast<uInt>(n);
      do {
        z.next_out = out.get();
        z.avail_out = kSize;
        r = DCheck(inflate(&z, Z_NO_FLUSH));
        outStream->WriteBuffer(out.get(), kSize - static_cast<Integer>(z.avail_out));
      } while (r != Z_STREAM_END && (z.avail_in > 0 || z.avail_out == 0));
      if (r == Z_STREAM_END) {
        if (z.avail_in > 0) inStream->Seek(-Int64(z.avail_in), soCurrent);
        break;
      }
      n = inStream->Read(in.get(), kSize);
    }
    while (r != Z_STREAM_END) {
      z.next_out = out.get();
      z.avail_out = kSize;
      r = DCheck(inflate(&z, Z_FINISH));
      outStream->WriteBuffer(out.get(), kSize - static_cast<Integer>(z.avail_out));
    }
  } catch (...) {
    inflateEnd(&z);
    throw;
  }
  DCheck(inflateEnd(&z));
}

void DeflateInit(TZStreamRec& z, TZCompressionLevel level) {
  InitRecord(z);
  CCheck(deflateInit_(&z, ZLevel(level), ZLIB_INTERFACE_VERSION, sizeof(TZStreamRec)));
}
void DeflateInit2(TZStreamRec& z, TZCompressionLevel level, Integer windowBits, Integer memLevel,
                  TZStrategy strategy) {
  InitRecord(z);
  CCheck(deflateInit2_(&z, ZLevel(level), Z_DEFLATED, windowBits, memLevel, static_cast<int>(strategy),
                       ZLIB_INTERFACE_VERSION, sizeof(TZStreamRec)));
}
void InflateInit2(TZStreamRec& z, Integer windowBits) {
  InitRecord(z);
  DCheck(inflateInit2_(&z, windowBits, ZLIB_INTERFACE_VERSION, sizeof(TZStreamRec)));
}

}  // namespace

AnsiString ZErrorText(Integer code) {
  switch (code) {
    case 2: return "need dictionary";
    case 1: return "stream end";
    case 0: return "ok";
    case -1: return "file error";
    case -2: return "stream error";
    case -3: return "data error";
    case -4: return "insufficient memory";
    case -5: return "buffer error";
    case -6: return "incompatible version";
    default: return "";
  }
}

Integer ZLevel(TZCompressionLevel level) {
  switch (level) {
    case zcNone: return 0;
    case zcFastest: return 1;
    case zcDefault: return -1;
    case zcMax: return 9;
    default: return static_cast<Integer>(level) - zcLevel1 + 1;
  }
}

EZLibError::EZLibError(Integer code, const AnsiString&) : Exception(ZErrorText(code)), ZLibCode(code) {}
EZLibError::EZLibError(TZError error, const AnsiString& text)
    : EZLibError(-1 - static_cast<Integer>(error), text) {}

void ZCompress(const void* inBuffer, Integer inSize, void*& outBuffer, Integer& outSize,
               TZCompressionLevel level) {
  TZStreamRec z;
  DeflateInit(z, level);
  CompressBuffer(z, inBuffer, inSize, outBuffer, outSize);
}

void ZCompress2(const void* inBuffer, Integer inSize, void*& outBuffer, Integer& outSize,
                TZCompressionLevel level, Integer windowBits, Integer memLevel, TZStrategy strategy) {
  TZStreamRec z;
  DeflateInit2(z, level, windowBits, memLevel, strategy);
  CompressBuffer(z, inBuffer, inSize, outBuffer, outSize);
}

void ZDecompress(const void* inBuffer, Integer inSize, void*& outBuffer, Integer& outSize,
                 Integer outEstimate) {
  TZStreamRec z;
  if (DCheck(InflateInit(z)) < 0) return;
  DecompressBuffer(z, inBuffer, inSize, outBuffer, outSize, outEstimate);
}

void ZDecompress2(const void* inBuffer, Integer inSize, void*& outBuffer, Integer& outSize,
                  Integer outEstimate, Integer windowBits) {
  TZStreamRec z;
  InflateInit2(z, windowBits);
  DecompressBuffer(z, inBuffer, inSize, outBuffer, outSize, outEstimate);
}

AnsiString ZCompressStr(const AnsiString& s, TZCompressionLevel level) {
  void* p;
  Integer n;
  ZCompress(s.data(), static_cast<Integer>(s.size()), p, n, level);
  return FromBlock(p, n);
}

AnsiString ZCompressStr2(const AnsiString& s, TZCompressionLevel level, Integer windowBits,
                         Integer memLevel, TZStrategy strategy) {
  void* p;
  Integer n;
  ZCompress2(s.data(), static_cast<Integer>(s.size()), p, n, level, windowBits, memLevel, strategy);
  return FromBlock(p, n);
}

AnsiString ZCompressStrWeb(const AnsiString& s) { return ZCompressStr2(s, zcFastest, -15, 9, zsDefault); }

AnsiString ZCompressStrEx(const AnsiString& s, TZCompressionLevel level) {
  Cardinal n = static_cast<Cardinal>(s.size());
  AnsiString head(4, '\0');
  for (int i = 0; i < 4; ++i) head[i] = static_cast<char>((n >> (8 * i)) & 0xFF);
  return head + ZCompressStr(s, level);
}

AnsiString ZDecompressStr(const AnsiString& s) {
  void* p;
  Integer n;
  ZDecompress(s.data(), static_cast<Integer>(s.size()), p, n, 0);
  return FromBlock(p, n);
}

AnsiString ZDecompressStrEx(const AnsiString& s) {
  // Too short to hold the size and a zlib stream: the data ends early.
  if (s.size() < 4) throw EZDecompressionError(Z_BUF_ERROR);
  Cardinal estimate = 0;
  for (int i = 3; i >= 0; --i) estimate = (estimate << 8) | static_cast<Byte>(s[i]);
  // The stored size is only a first guess of the output size; a damaged one
  // must not make a huge first allocation.
  Int64 bound = (Int64(s.size()) - 4) * 1032 + 1024;
  if (Int64(estimate) > bound) estimate = 0;
  void* p;
  Integer n;
  ZDecompress(s.data() + 4, static_cast<Integer>(s.size() - 4), p, n, static_cast<Integer>(estimate));
  return FromBlock(p, n);
}

AnsiString ZDecompressStr2(const AnsiString& s, Integer windowBits) {
  void* p;
  Integer n;
  ZDecompress2(s.data(), static_cast<Integer>(s.size()), p, n, 0, windowBits);
  return FromBlock(p, n);
}

void ZCompressStream(TStream* inStream, TStream* outStream, TZCompressionLevel level) {
  TZStreamRec z;
  DeflateInit(z, level);
  CompressStreams(z, inStream, outStream);
}

void ZCompressStream2(TStream* inStream, TStream* outStream, TZCompressionLevel level,
                      Integer windowBits, Integer memLevel, TZStrategy strategy) {
  TZStreamRec z;
  DeflateInit2(z, level, windowBits, memLevel, strategy);
  CompressStreams(z, inStream, outStream);
}

void ZCompressStreamWeb(TStream* inStream, TStream* outStream) {
  ZCompressStream2(inStream, outStream, zcFastest, -15, 9, zsDefault);
}

void ZDecompressStream(TStream* inStream, TStream* outStream) {
  TZStreamRec z;
  DCheck(InflateInit(z));
  DecompressStreams(z, inStream, outStream);
}

void ZDecompressStream2(TStream* inStream, TStream* outStream, Integer windowBits) {
  TZStreamRec z;
  InflateInit2(z, windowBits);
  DecompressStreams(z, inStream, outStream);
}

Cardinal ZAdler32(Cardinal adler, const void* buffer, Integer size) {
  return static_cast<Cardinal>(adler32(adler, static_cast<const Bytef*>(buffer), static_cast<uInt>(size)));
}

Cardinal ZCrc32(Cardinal crc, const void* buffer, Integer size) {
  return static_cast<Cardinal>(crc32(crc, static_cast<const Bytef*>(buffer), static_cast<uInt>(size)));
}

Integer InflateInit(TZStreamRec& stream) {
  InitRecord(stream);
  return inflateInit_(&stream, ZLIB_INTERFACE_VERSION, sizeof(TZStreamRec));
}

// ------------------------------------------------------------ TCustomZStream

TCustomZStream::TCustomZStream(TStream* stream) : FStream(stream), FStreamPos(stream->Position()) {}

void TCustomZStream::DoProgress() {
  if (OnStreamProgress) OnStreamProgress(this);
}

void TCustomZStream::RestorePosition() {
  if (FStream->Position() != FStreamPos) FStream->SetPosition(FStreamPos);
}

// ------------------------------------------------------- TZCompressionStream

TZCompressionStream::TZCompressionStream(TStream* dest, TZCompressionLevel level) : TCustomZStream(dest) {
  DeflateInit(FZRec, level);
  FZRec.next_out = FBuffer;
  FZRec.avail_out = BufferSize;
}

TZCompressionStream::TZCompressionStream(TStream* dest, TZCompressionLevel level, Integer windowBits,
                                         Integer memLevel, TZStrategy strategy)
    : TCustomZStream(dest) {
  DeflateInit2(FZRec, level, windowBits, memLevel, strategy);
  FZRec.next_out = FBuffer;
  FZRec.avail_out = BufferSize;
}

void TZCompressionStream::Finish() {
  if (FFinished) return;
  FFinished = true;
  try {
    FZRec.next_in = nullptr;
    FZRec.avail_in = 0;
    RestorePosition();
    while (CCheck(deflate(&FZRec, Z_FINISH)) != Z_STREAM_END) {
      FStream->WriteBuffer(FBuffer, BufferSize - static_cast<Integer>(FZRec.avail_out));
      FZRec.next_out = FBuffer;
      FZRec.avail_out = BufferSize;
    }
    if (FZRec.avail_out < BufferSize)
      FStream->WriteBuffer(FBuffer, BufferSize - static_cast<Integer>(FZRec.avail_out));
    FStreamPos = FStream->Position();
  } catch (...) {
    deflateEnd(&FZRec);
    throw;
  }
  deflateEnd(&FZRec);
}

TZCompressionStream::~TZCompressionStream() {
  // A destructor cannot pass an error on: callers that must know whether the
  // last bytes arrived call Finish first.
  try {
    Finish();
  } catch (...) {
  }
}

Integer TZCompressionStream::Read(void*, Integer) { throw EZCompressionError(kInvalidOperation); }

Integer TZCompressionStream::Write(const void* buffer, Integer count) {
  if (FFinished || count < 0) throw EZCompressionError(kInvalidOperation);
  FZRec.next_in = static_cast<Bytef*>(const_cast<void*>(buffer));
  FZRec.avail_in = static_cast<uInt>(count);
  RestorePosition();
  while (FZRec.avail_in > 0) {
    CCheck(deflate(&FZRec, Z_NO_FLUSH));
    if (FZRec.avail_out == 0) {
      FStream->WriteBuffer(FBuffer, BufferSize);
      FZRec.next_out = FBuffer;
      FZRec.avail_out = BufferSize;
      FStreamPos = FStream->Position();
      DoProgress();
    }
  }
  return count;
}

Int64 TZCompressionStream::Seek(Int64 offset, TSeekOrigin origin) {
  if (offset == 0 && origin == soCurrent) return static_cast<Int64>(FZRec.total_in);
  throw EZCompressionError(kInvalidOperation);
}

float TZCompressionStream::CompressionRate() const {
  if (FZRec.total_in == 0) return 0;
  return (1.0f - float(FZRec.total_out) / float(FZRec.total_in)) * 100.0f;
}

// ----------------------------------------------------- TZDecompressionStream

TZDecompressionStream::TZDecompressionStream(TStream* source) : TCustomZStream(source), FStartPos(FStreamPos) {
  DCheck(InflateInit(FZRec));
  FZRec.next_in = FBuffer;
  FZRec.avail_in = 0;
}

TZDecompressionStream::TZDecompressionStream(TStream* source, Integer windowBits)
    : TCustomZStream(source), FStartPos(FStreamPos) {
  InflateInit2(FZRec, windowBits);
  FZRec.next_in = FBuffer;
  FZRec.avail_in = 0;
}

TZDecompressionStream::~TZDecompressionStream() { inflateEnd(&FZRec); }

Integer TZDecompressionStream::Read(void* buffer, Integer count) {
  if (count <= 0) return 0;
  FZRec.next_out = static_cast<Bytef*>(buffer);
  FZRec.avail_out = static_cast<uInt>(count);
  RestorePosition();
  while (FZRec.avail_out > 0 && !FStreamEnd) {
    if (FZRec.avail_in == 0) {
      Integer n = FStream->Read(FBuffer, BufferSize);
      if (n <= 0) break;
      FZRec.next_in = FBuffer;
      FZRec.avail_in = static_cast<uInt>(n);
      FStreamPos += n;
      DoProgress();
    }
    if (DCheck(inflate(&FZRec, Z_NO_FLUSH)) == Z_STREAM_END) FStreamEnd = true;
  }
  if (FStreamEnd && FZRec.avail_in > 0) {
    // Hand the bytes after the compressed data back to the source.
    FStreamPos = FStream->Seek(-Int64(FZRec.avail_in), soCurrent);
    FZRec.next_in = FBuffer;
    FZRec.avail_in = 0;
  }
  return count - static_cast<Integer>(FZRec.avail_out);
}

Integer TZDecompressionStream::Write(const void*, Integer) { throw EZDecompressionError(kInvalidOperation); }

void TZDecompressionStream::Skip(Int64 count) {
  Byte buf[8192];
  while (count > 0) {
    Integer n = static_cast<Integer>(count < Int64(sizeof(buf)) ? count : Int64(sizeof(buf)));
    Integer got = Read(buf, n);
    if (got <= 0) break;
    count -= got;
  }
}

Int64 TZDecompressionStream::Seek(Int64 offset, TSeekOrigin origin) {
  const Int64 done = static_cast<Int64>(FZRec.total_out);
  if (offset == 0 && origin == soBeginning) {
    DCheck(inflateReset(&FZRec));
    FZRec.next_in = FBuffer;
    FZRec.avail_in = 0;
    FStreamEnd = false;
    // The compressed data begins where the source stood at construction.
    FStream->SetPosition(FStartPos);
    FStreamPos = FStartPos;
  } else if (origin == soCurrent && offset >= 0) {
    Skip(offset);
  } else if (origin == soBeginning && offset - done > 0) {
    Skip(offset - done);
  } else if (origin == soEnd && offset == 0) {
    Byte buf[8192];
    while (Read(buf, sizeof(buf)) > 0) {
    }
  } else {
    throw EZDecompressionError(kInvalidOperation);
  }
  return static_cast<Int64>(FZRec.total_out);
}
