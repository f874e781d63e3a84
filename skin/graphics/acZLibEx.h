// Compression over zlib: block functions for buffers, strings and whole
// streams, and two stream classes that compress while written to or
// decompress while read from.
#pragma once

#include <zlib.h>

#include "classlib/core/Classes.h"

// zlib's own stream record, initialised with the size of this build's record.
using TZStreamRec = z_stream;

enum TZCompressionLevel {
  zcNone, zcFastest, zcDefault, zcMax,
  zcLevel1, zcLevel2, zcLevel3, zcLevel4, zcLevel5, zcLevel6, zcLevel7, zcLevel8, zcLevel9
};
enum TZStrategy { zsDefault, zsFiltered, zsHuffman, zsRLE, zsFixed };
// zlib error codes -1 .. -6, in that order.
enum TZError { zeError, zeStreamError, zeDataError, zeMemoryError, zeBufferError, zeVersionError };

// The zlib interface version passed to every initialisation.
inline constexpr const char* ZLIB_INTERFACE_VERSION = "1.2.3";

class EZLibError : public Exception {
  DK_CLASS(EZLibError, Exception)
 public:
  EZLibError() = default;
  // The message is the text of the zlib code; the text argument is not used.
  EZLibError(Integer code, const AnsiString& dummy = AnsiString());
  EZLibError(TZError error, const AnsiString& dummy = AnsiString());
  // Misuse of a stream class: the message as given.
  explicit EZLibError(const char* message) : Exception(message) {}
  Integer ZLibCode = 0;
};
class EZCompressionError : public EZLibError {
  DK_CLASS(EZCompressionError, EZLibError)
 public:
  using EZLibError::EZLibError;
  EZCompressionError() = default;
};
class EZDecompressionError : public EZLibError {
  DK_CLASS(EZDecompressionError, EZLibError)
 public:
  using EZLibError::EZLibError;
  EZDecompressionError() = default;
};

// Text of a zlib result code ("" for codes without one).
AnsiString ZErrorText(Integer code);
// The zlib level of a compression level.
Integer ZLevel(TZCompressionLevel level);

// Block functions. The out buffers are allocated with malloc; the caller
// frees them with free. On an error nothing is returned and the exception
// passes on.
void ZCompress(const void* inBuffer, Integer inSize, void*& outBuffer, Integer& outSize,
               TZCompressionLevel level = zcDefault);
void ZCompress2(const void* inBuffer, Integer inSize, void*& outBuffer, Integer& outSize,
                TZCompressionLevel level, Integer windowBits, Integer memLevel, TZStrategy strategy);
void ZDecompress(const void* inBuffer, Integer inSize, void*& outBuffer, Integer& outSize,
                 Integer outEstimate = 0);
void ZDecompress2(const void* inBuffer, Integer inSize, void*& outBuffer, Integer& outSize,
                  Integer outEstimate, Integer windowBits);

AnsiString ZCompressStr(const AnsiString& s, TZCompressionLevel level = zcDefault);
AnsiString ZCompressStr2(const AnsiString& s, TZCompressionLevel level, Integer windowBits,
                         Integer memLevel, TZStrategy strategy);
AnsiString ZCompressStrWeb(const AnsiString& s);
AnsiString ZCompressStrEx(const AnsiString& s, TZCompressionLevel level = zcDefault);
AnsiString ZDecompressStr(const AnsiString& s);
AnsiString ZDecompressStrEx(const AnsiString& s);
AnsiString ZDecompressStr2(const AnsiString& s, Integer windowBits);

void ZCompressStream(TStream* inStream, TStream* outStream, TZCompressionLevel level = zcDefault);
void ZCompressStream2(TStream* inStream, TStream* outStream, TZCompressionLevel level,
                      Integer windowBits, Integer memLevel, TZStrategy strategy);
void ZCompressStreamWeb(TStream* inStream, TStream* outStream);
void ZDecompressStream(TStream* inStream, TStream* outStream);
void ZDecompressStream2(TStream* inStream, TStream* outStream, Integer windowBits);

Cardinal ZAdler32(Cardinal adler, const void* buffer, Integer size);
Cardinal ZCrc32(Cardinal crc, const void* buffer, Integer size);

// inflateInit on a zeroed record with the heap callbacks; returns zlib's result.
Integer InflateInit(TZStreamRec& stream);

class TCustomZStream : public TStream {
  DK_CLASS(TCustomZStream, TStream)
 public:
  enum { BufferSize = 65536 };
  TNotifyEvent OnStreamProgress;

 protected:
  explicit TCustomZStream(TStream* stream);
  void DoProgress();
  // Puts the underlying stream back where this object left it.
  void RestorePosition();

  TStream* FStream;
  Int64 FStreamPos;
  TZStreamRec FZRec{};
  Byte FBuffer[BufferSize];
};

class TZCompressionStream : public TCustomZStream {
  DK_CLASS(TZCompressionStream, TCustomZStream)
 public:
  TZCompressionStream(TStream* dest, TZCompressionLevel level = zcDefault);
  TZCompressionStream(TStream* dest, TZCompressionLevel level, Integer windowBits, Integer memLevel,
                      TZStrategy strategy);
  // Writes the rest of the compressed data; the stream is complete after this.
  ~TZCompressionStream() override;
  // Writes the rest of the compressed data now, passing on any error; later
  // writes raise. The destructor calls it when it was not called.
  void Finish();

  Integer Read(void* buffer, Integer count) override;
  Integer Write(const void* buffer, Integer count) override;
  // Only Seek(0, soCurrent) is allowed: it returns the bytes written so far.
  Int64 Seek(Int64 offset, TSeekOrigin origin) override;
  float CompressionRate() const;

 private:
  bool FFinished = false;
};

class TZDecompressionStream : public TCustomZStream {
  DK_CLASS(TZDecompressionStream, TCustomZStream)
 public:
  explicit TZDecompressionStream(TStream* source);
  TZDecompressionStream(TStream* source, Integer windowBits);
  ~TZDecompressionStream() override;

  Integer Read(void* buffer, Integer count) override;
  Integer Write(const void* buffer, Integer count) override;
  // Position 0 rewinds to where the compressed data began; moving forward
  // reads and drops data; the end reads everything. Moving back raises.
  Int64 Seek(Int64 offset, TSeekOrigin origin) override;
  // True once the whole compressed stream, its trailer included, is read.
  bool StreamEnded() const { return FStreamEnd; }

 private:
  void Skip(Int64 count);
  Int64 FStartPos;
  bool FStreamEnd = false;
};
