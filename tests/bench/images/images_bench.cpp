// PNG decoding by this reader and by libpng (same zlib): skin-like images
// (soft gradients, frames), a 16-bit grey image and photographic colour with
// alpha (smooth shapes, fine detail and sensor noise, which compress poorly);
// and the zlib stream classes against calling zlib directly.
#include <benchmark/benchmark.h>
#include <png.h>
#include <zlib.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "skin/graphics/acPNG.h"
#include "skin/graphics/acZLibEx.h"

namespace {

enum Kind { kRGBA, kRGBAInterlaced, kPalette, kGray, kGray16, kPhotoRGBA, kKinds };
const int kSide = 2048;

int Channels(Kind kind) { return kind == kRGBA || kind == kRGBAInterlaced || kind == kPhotoRGBA ? 4 : 1; }
int SampleBytes(Kind kind) { return kind == kGray16 ? 2 : 1; }

// A smooth random field in [0, 1]: random values on a grid of cells blended
// with a smooth step.
class SmoothNoise {
 public:
  SmoothNoise(int cell, std::uint32_t seed) : cell_(cell), n_(kSide / cell + 2), grid_(size_t(n_) * n_) {
    std::mt19937 rng(seed);
    for (float& v : grid_) v = float(rng() % 10000) / 9999.0f;
  }
  float At(int x, int y) const {
    const int gx = x / cell_, gy = y / cell_;
    const float fx = Smooth(float(x % cell_) / float(cell_)), fy = Smooth(float(y % cell_) / float(cell_));
    const float top = Grid(gx, gy) + (Grid(gx + 1, gy) - Grid(gx, gy)) * fx;
    const float bottom = Grid(gx, gy + 1) + (Grid(gx + 1, gy + 1) - Grid(gx, gy + 1)) * fx;
    return top + (bottom - top) * fy;
  }

 private:
  static float Smooth(float t) { return t * t * (3 - 2 * t); }
  float Grid(int x, int y) const { return grid_[size_t(y) * n_ + x]; }
  int cell_, n_;
  std::vector<float> grid_;
};

// Several octaves of smooth noise, as the light and texture of a photograph.
class Scene {
 public:
  explicit Scene(std::uint32_t seed) {
    for (int cell : {512, 128, 32, 8, 2}) octaves_.emplace_back(cell, seed++);
  }
  float At(int x, int y) const {
    static const float weight[] = {0.45f, 0.25f, 0.15f, 0.1f, 0.05f};
    float v = 0;
    for (size_t i = 0; i < octaves_.size(); ++i) v += weight[i] * octaves_[i].At(x, y);
    return v;
  }

 private:
  std::vector<SmoothNoise> octaves_;
};

png_byte Clamp8(float v) { return png_byte(std::lround(std::fmin(255.0f, std::fmax(0.0f, v)))); }

// Photographic colour: each channel its own scene, sensor noise on top; the
// alpha a soft-edged shape (as a cut-out object) with noise at its rim.
std::vector<png_byte> PhotoPixels() {
  std::vector<png_byte> p(size_t(kSide) * kSide * 4);
  const Scene red(1), green(11), blue(21), shape(31);
  std::mt19937 rng(7);
  std::normal_distribution<float> noise(0.0f, 2.5f);
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      png_byte* q = &p[(size_t(y) * kSide + x) * 4];
      q[0] = Clamp8(255 * red.At(x, y) + noise(rng));
      q[1] = Clamp8(255 * green.At(x, y) + noise(rng));
      q[2] = Clamp8(255 * blue.At(x, y) + noise(rng));
      const float a = (shape.At(x, y) - 0.4f) * 12.0f;  // mostly 0 or 1, soft between
      q[3] = a <= 0 ? 0 : a >= 1 ? 255 : Clamp8(255 * a + noise(rng));
    }
  return p;
}

// A 16-bit grey photograph (big-endian samples): smooth light, texture and
// noise in the low byte.
std::vector<png_byte> Gray16Pixels() {
  std::vector<png_byte> p(size_t(kSide) * kSide * 2);
  const Scene light(41);
  std::mt19937 rng(9);
  std::normal_distribution<float> noise(0.0f, 300.0f);
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      const float v = std::fmin(65535.0f, std::fmax(0.0f, 65535 * light.At(x, y) + noise(rng)));
      const unsigned s = unsigned(v);
      p[(size_t(y) * kSide + x) * 2] = png_byte(s >> 8);
      p[(size_t(y) * kSide + x) * 2 + 1] = png_byte(s);
    }
  return p;
}

// Samples of a skin image: soft gradients, a frame, a little noise.
std::vector<png_byte> Pixels(Kind kind, int channels) {
  if (kind == kPhotoRGBA) return PhotoPixels();
  if (kind == kGray16) return Gray16Pixels();
  std::mt19937 rng(42);
  std::vector<png_byte> p(size_t(kSide) * kSide * channels);
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      png_byte* q = &p[(size_t(y) * kSide + x) * channels];
      bool frame = (x % 256) < 6 || (y % 256) < 6;
      for (int c = 0; c < channels; ++c) {
        int v = frame ? 40 + 30 * c : (x / 8 + y / 16 + 60 * c) % 256;
        if (kind == kPalette) v = frame ? 3 : (x / 64 + y / 32) % 200;
        q[c] = png_byte(v + (kind != kPalette && rng() % 4 == 0 ? rng() % 3 : 0));
      }
      if (channels == 4) q[3] = frame ? 255 : png_byte(128 + (x + y) % 128);
    }
  return p;
}

void Append(png_structp p, png_bytep data, png_size_t n) {
  auto* out = static_cast<std::string*>(png_get_io_ptr(p));
  out->append(reinterpret_cast<const char*>(data), n);
}

std::string Encode(Kind kind) {
  const int channels = Channels(kind);
  const int type = kind == kPalette ? PNG_COLOR_TYPE_PALETTE : channels == 1 ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGBA;
  std::vector<png_byte> pixels = Pixels(kind, channels);
  const size_t rowBytes = size_t(kSide) * channels * SampleBytes(kind);
  std::string out;
  png_structp p = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(p);
  png_set_write_fn(p, &out, Append, nullptr);
  png_set_IHDR(p, info, kSide, kSide, 8 * SampleBytes(kind), type, kind == kRGBAInterlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette(256);
  for (int i = 0; i < 256; ++i) palette[i] = png_color{png_byte(i), png_byte(255 - i), png_byte(i / 2)};
  if (kind == kPalette) png_set_PLTE(p, info, palette.data(), 256);
  png_write_info(p, info);
  std::vector<png_bytep> rows(kSide);
  for (int y = 0; y < kSide; ++y) rows[y] = &pixels[size_t(y) * rowBytes];
  png_write_image(p, rows.data());
  png_write_end(p, info);
  png_destroy_write_struct(&p, &info);
  return out;
}

const std::string& Image(Kind kind) {
  static std::string images[kKinds];
  if (images[kind].empty()) images[kind] = Encode(kind);
  return images[kind];
}

// Both decode into 8-bit samples: blue, green, red, alpha pixels, indexes or
// greys (16-bit greys scaled to 8 bits).
size_t DecodedBytes(Kind kind) { return size_t(kSide) * kSide * Channels(kind); }

// The file's size against its samples', shown beside the figures.
void ReportCompression(benchmark::State& state, Kind kind) {
  state.counters["file/raw"] = double(Image(kind).size()) / double(DecodedBytes(kind) * SampleBytes(kind));
}

void BM_Reader(benchmark::State& state) {
  const Kind kind = Kind(state.range(0));
  const std::string& file = Image(kind);
  TMemoryStream stream;
  stream.WriteBuffer(file.data(), Integer(file.size()));
  TPNGGraphic png;
  for (auto _ : state) {
    stream.SetPosition(0);
    png.LoadFromStream(&stream);
    benchmark::DoNotOptimize(png.Bitmap().ScanLine(0));
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(DecodedBytes(kind)));
  ReportCompression(state, kind);
}

struct MemoryReader {
  const std::string* data;
  size_t at;
};
void ReadFromMemory(png_structp p, png_bytep out, png_size_t n) {
  auto* r = static_cast<MemoryReader*>(png_get_io_ptr(p));
  std::memcpy(out, r->data->data() + r->at, n);
  r->at += n;
}

// libpng into the same layouts.
void BM_Libpng(benchmark::State& state) {
  const Kind kind = Kind(state.range(0));
  const std::string& file = Image(kind);
  const size_t rowBytes = DecodedBytes(kind) / kSide;
  std::vector<png_byte> pixels(DecodedBytes(kind));
  std::vector<png_bytep> rows(kSide);
  for (int y = 0; y < kSide; ++y) rows[y] = &pixels[size_t(y) * rowBytes];
  for (auto _ : state) {
    png_structp p = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(p);
    MemoryReader reader{&file, 0};
    png_set_read_fn(p, &reader, ReadFromMemory);
    png_read_info(p, info);
    if (Channels(kind) == 4) png_set_bgr(p);
    if (kind == kGray16) png_set_scale_16(p);
    png_set_interlace_handling(p);
    png_read_update_info(p, info);
    png_read_image(p, rows.data());
    png_read_end(p, nullptr);
    png_destroy_read_struct(&p, &info, nullptr);
    benchmark::DoNotOptimize(pixels.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(DecodedBytes(kind)));
  ReportCompression(state, kind);
}

// image: 0 skin RGBA, 1 the same interlaced, 2 palette, 3 grey, 4 16-bit grey,
// 5 photographic RGBA.
#define IMAGE_ARGS                                                                                         \
  ArgName("image")->Arg(kRGBA)->Arg(kRGBAInterlaced)->Arg(kPalette)->Arg(kGray)->Arg(kGray16)->Arg(kPhotoRGBA) \
      ->Unit(benchmark::kMillisecond)
BENCHMARK(BM_Reader)->IMAGE_ARGS;
BENCHMARK(BM_Libpng)->IMAGE_ARGS;

// ------------------------------------------------------------ zlib streams

const size_t kDataSize = 10 << 20;

const std::string& Plain() {
  static std::string s;
  if (s.empty()) {
    std::mt19937 rng(7);
    s.resize(kDataSize);
    for (size_t i = 0; i < kDataSize; ++i) s[i] = (i / 4096) % 3 ? char('a' + rng() % 16) : char(rng());
  }
  return s;
}

const std::string& Packed() {
  static std::string z;
  if (z.empty()) {
    uLongf n = compressBound(kDataSize);
    z.resize(n);
    compress2(reinterpret_cast<Bytef*>(z.data()), &n, reinterpret_cast<const Bytef*>(Plain().data()), kDataSize, 6);
    z.resize(n);
  }
  return z;
}

void BM_InflateDirect(benchmark::State& state) {
  const std::string& z = Packed();
  std::vector<Bytef> out(kDataSize);
  for (auto _ : state) {
    z_stream s{};
    inflateInit(&s);
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(z.data()));
    s.avail_in = uInt(z.size());
    s.next_out = out.data();
    s.avail_out = uInt(out.size());
    if (inflate(&s, Z_FINISH) != Z_STREAM_END) state.SkipWithError("inflate failed");
    inflateEnd(&s);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kDataSize));
}

void BM_DecompressionStream(benchmark::State& state) {
  const std::string& z = Packed();
  TMemoryStream source;
  source.WriteBuffer(z.data(), Integer(z.size()));
  std::vector<Byte> out(kDataSize);
  for (auto _ : state) {
    source.SetPosition(0);
    TZDecompressionStream d(&source);
    d.ReadBuffer(out.data(), Integer(kDataSize));
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kDataSize));
}

void BM_DeflateDirect(benchmark::State& state) {
  const std::string& plain = Plain();
  std::vector<Bytef> out(compressBound(kDataSize));
  for (auto _ : state) {
    z_stream s{};
    deflateInit(&s, Z_DEFAULT_COMPRESSION);
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
    s.avail_in = uInt(plain.size());
    s.next_out = out.data();
    s.avail_out = uInt(out.size());
    deflate(&s, Z_FINISH);
    deflateEnd(&s);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kDataSize));
}

void BM_CompressionStream(benchmark::State& state) {
  const std::string& plain = Plain();
  TMemoryStream target;
  target.SetSize(Int64(compressBound(kDataSize)));
  for (auto _ : state) {
    target.SetPosition(0);
    TZCompressionStream c(&target, zcDefault);
    c.WriteBuffer(plain.data(), Integer(kDataSize));
    c.Finish();
    benchmark::DoNotOptimize(target.Memory());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kDataSize));
}

BENCHMARK(BM_InflateDirect)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecompressionStream)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeflateDirect)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompressionStream)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
