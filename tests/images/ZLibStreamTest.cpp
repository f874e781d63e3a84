// The zlib wrapper against real zlib: block functions, the two stream
// classes (in memory and on the fly), their seek rules and error texts.
#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string>

#include "skin/graphics/acZLibEx.h"

namespace {

std::string Sample(size_t n, unsigned seed = 1) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  // Half text-like, half noise: compressible but not trivial.
  for (size_t i = 0; i < n; ++i) s[i] = (i / 512) % 2 ? char(rng()) : char('a' + rng() % 8);
  return s;
}

std::string RealCompress(const std::string& s, int level = 6) {
  uLongf n = compressBound(static_cast<uLong>(s.size()));
  std::string out(n, '\0');
  EXPECT_EQ(Z_OK, compress2(reinterpret_cast<Bytef*>(out.data()), &n, reinterpret_cast<const Bytef*>(s.data()),
                            static_cast<uLong>(s.size()), level));
  out.resize(n);
  return out;
}

std::string RealUncompress(const std::string& z, size_t size) {
  std::string out(size, '\0');
  uLongf n = static_cast<uLongf>(size);
  EXPECT_EQ(Z_OK, uncompress(reinterpret_cast<Bytef*>(out.data()), &n, reinterpret_cast<const Bytef*>(z.data()),
                             static_cast<uLong>(z.size())));
  out.resize(n);
  return out;
}

std::string Contents(TMemoryStream& m) { return std::string(static_cast<const char*>(m.Memory()), size_t(m.Size())); }

void Put(TStream& s, const std::string& data) { s.WriteBuffer(data.data(), static_cast<Integer>(data.size())); }

}  // namespace

TEST(ZLibBlocks, StringsRoundTripAndMatchRealZlib) {
  EXPECT_EQ("", ZDecompressStr(ZCompressStr("")));
  for (size_t n : {1, 300, 70000, 1 << 20}) {
    std::string s = Sample(n);
    std::string z = ZCompressStr(s);
    EXPECT_EQ(s, RealUncompress(z, s.size()));
    EXPECT_EQ(s, ZDecompressStr(RealCompress(s)));
    EXPECT_EQ(s, ZDecompressStrEx(ZCompressStrEx(s, zcMax)));
    EXPECT_EQ(s, ZDecompressStr2(ZCompressStrWeb(s), -15));
  }
  std::string ex = ZCompressStrEx("abc");
  EXPECT_EQ(std::string("\x03\x00\x00\x00", 4), ex.substr(0, 4));
}

TEST(ZLibBlocks, BadDataRaisesWithZlibText) {
  std::string z = ZCompressStr(Sample(5000));
  try {
    ZDecompressStr(z.substr(0, z.size() / 2));
    FAIL() << "truncated data decoded";
  } catch (const EZDecompressionError& e) {
    EXPECT_EQ("buffer error", e.Message);
    EXPECT_EQ(Z_BUF_ERROR, e.ZLibCode);
  }
  std::string bad = z;
  bad[0] = 0x12;  // not a zlib header
  try {
    ZDecompressStr(bad);
    FAIL() << "bad header decoded";
  } catch (const EZDecompressionError& e) {
    EXPECT_EQ("data error", e.Message);
  }
  // A stream asking for a preset dictionary cannot be read (and does not hang).
  EXPECT_THROW(ZDecompressStr(std::string("\x78\xBB\x00\x00\x00\x01", 6)), EZDecompressionError);
  // A size prefix that promises far too much is only a guess.
  std::string ex = ZCompressStrEx("hello");
  ex[3] = '\x7F';
  EXPECT_EQ("hello", ZDecompressStrEx(ex));
  EXPECT_THROW(ZDecompressStrEx("ab"), EZDecompressionError);
}

TEST(ZLibBlocks, ErrorTexts) {
  const std::pair<int, const char*> texts[] = {{2, "need dictionary"}, {1, "stream end"}, {0, "ok"},
                                               {-1, "file error"}, {-2, "stream error"}, {-3, "data error"},
                                               {-4, "insufficient memory"}, {-5, "buffer error"},
                                               {-6, "incompatible version"}, {-7, ""}};
  for (auto [code, text] : texts) {
    EZLibError e(code);
    EXPECT_EQ(text, e.Message) << code;
    EXPECT_EQ(code, e.ZLibCode);
  }
  EXPECT_EQ(-3, EZLibError(zeDataError).ZLibCode);
  EXPECT_EQ(-6, EZLibError(zeVersionError).ZLibCode);
}

TEST(ZLibStreams, StreamFunctionsLeaveTheSourceAfterTheCompressedData) {
  std::string s = Sample(100000);
  TMemoryStream in, packed, out;
  Put(in, s);
  in.SetPosition(0);
  ZCompressStream(&in, &packed);
  EXPECT_EQ(s, RealUncompress(Contents(packed), s.size()));
  Put(packed, "TAIL");
  packed.SetPosition(0);
  ZDecompressStream(&packed, &out);
  EXPECT_EQ(s, Contents(out));
  char tail[4];
  packed.ReadBuffer(tail, 4);
  EXPECT_EQ("TAIL", std::string(tail, 4));

  TMemoryStream cut, sink;
  Put(cut, RealCompress(s).substr(0, 1000));
  cut.SetPosition(0);
  EXPECT_THROW(ZDecompressStream(&cut, &sink), EZDecompressionError);
}

TEST(ZLibStreams, CompressionStreamWrittenPiecewiseIsRealZlib) {
  std::string s = Sample(300000, 2);
  TMemoryStream packed;
  {
    TZCompressionStream z(&packed, zcLevel5);
    size_t at = 0, step = 1;
    while (at < s.size()) {
      size_t n = std::min(step, s.size() - at);
      EXPECT_EQ(Integer(n), z.Write(s.data() + at, Integer(n)));
      at += n;
      step = step * 3 + 1;
      EXPECT_EQ(Int64(at), z.Seek(0, soCurrent));
    }
    EXPECT_THROW(z.Seek(0, soBeginning), EZCompressionError);
    char c;
    try {
      z.Read(&c, 1);
      FAIL();
    } catch (const EZCompressionError& e) {
      EXPECT_EQ("Invalid ZStream operation!", e.Message);
    }
    EXPECT_GT(z.CompressionRate(), 0.0f);
  }
  EXPECT_EQ(s, RealUncompress(Contents(packed), s.size()));
}

TEST(ZLibStreams, DecompressionStreamReadsRealZlibOnTheFly) {
  std::string s = Sample(250000, 3);
  TMemoryStream src;
  Put(src, "HEAD");
  Put(src, RealCompress(s, 9));
  Put(src, "TAIL");
  src.SetPosition(4);
  TZDecompressionStream z(&src);
  std::string got;
  char buf[7000];
  Integer n, step = 1;
  while ((n = z.Read(buf, step)) > 0) {
    got.append(buf, n);
    step = step % 6999 + 97;
    // Someone else moves the source in between: the stream puts it back.
    src.SetPosition(0);
  }
  EXPECT_EQ(s, got);
  EXPECT_TRUE(z.StreamEnded());
  EXPECT_EQ(0, z.Read(buf, 10));
  // The source stands right after the compressed data.
  char tail[4];
  src.ReadBuffer(tail, 4);
  EXPECT_EQ("TAIL", std::string(tail, 4));
  EXPECT_THROW(z.Write("x", 1), EZDecompressionError);
}

TEST(ZLibStreams, DecompressionSeekRules) {
  std::string s = Sample(1000, 4);
  TMemoryStream src;
  Put(src, "PREFIX");
  Put(src, RealCompress(s));
  src.SetPosition(6);
  TZDecompressionStream z(&src);
  char buf[100];
  z.ReadBuffer(buf, 100);
  auto invalid = [&](Int64 offset, TSeekOrigin origin) {
    try {
      z.Seek(offset, origin);
      ADD_FAILURE() << offset;
    } catch (const EZDecompressionError& e) {
      EXPECT_EQ("Invalid ZStream operation!", e.Message);
    }
  };
  invalid(100, soBeginning);
  invalid(50, soBeginning);
  invalid(-1, soCurrent);
  invalid(-1, soEnd);
  EXPECT_EQ(150, z.Seek(150, soBeginning));
  z.ReadBuffer(buf, 1);
  EXPECT_EQ(s[150], buf[0]);
  EXPECT_EQ(161, z.Seek(10, soCurrent));
  // Back to the start of the compressed data (where it stood at construction).
  EXPECT_EQ(0, z.Seek(0, soBeginning));
  z.ReadBuffer(buf, 100);
  EXPECT_EQ(s.substr(0, 100), std::string(buf, 100));
  EXPECT_EQ(1000, z.Seek(0, soEnd));
  EXPECT_EQ(0, z.Read(buf, 1));
  EXPECT_THROW(z.ReadBuffer(buf, 1), EReadError);
  EXPECT_EQ(1000, z.Position());
}

TEST(ZLibStreams, ShortAndCorruptDataThroughTheStream) {
  std::string z = RealCompress(Sample(5000, 5));
  {
    TMemoryStream src;
    Put(src, z.substr(0, z.size() - 6));
    src.SetPosition(0);
    TZDecompressionStream d(&src);
    char buf[8000];
    // Fewer bytes than the data held, and no end of stream.
    EXPECT_LT(d.Read(buf, sizeof(buf)), 5000);
    EXPECT_FALSE(d.StreamEnded());
  }
  {
    TMemoryStream src;
    std::string bad = z;
    bad[bad.size() - 1] ^= 1;  // the checksum
    Put(src, bad);
    src.SetPosition(0);
    TZDecompressionStream d(&src);
    char buf[8000];
    EXPECT_THROW(d.Read(buf, sizeof(buf)), EZDecompressionError);
  }
}
