// Packed skin containers: folder round trips, a container written by another
// zlib writer, the read-buffer boundary, and damaged containers refused.
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "ImageTestPaths.h"
#include "skin/core/acSkinPack.h"

namespace fs = std::filesystem;

namespace {

std::string Le32(Integer v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[i] = char(Cardinal(v) >> (8 * i));
  return s;
}

std::string Deflate(const std::string& data, int level = 6) {
  uLongf n = compressBound(uLong(data.size()));
  std::string out(n, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &n, reinterpret_cast<const Bytef*>(data.data()), uLong(data.size()),
            level);
  out.resize(n);
  return out;
}

std::string Entry(const std::string& name, const std::string& data, int level = 6) {
  return Le32(Integer(name.size())) + name + Le32(Integer(data.size())) + Deflate(data, level);
}

std::string Container(const std::vector<std::string>& entries) {
  std::string s = "ASzf" + Le32(Integer(entries.size()));
  for (auto& e : entries) s += e;
  return s;
}

std::string Noise(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (auto& c : s) c = char(rng());
  return s;
}

std::string ReadFile(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}
void WriteFile(const fs::path& p, const std::string& data) {
  std::ofstream f(p, std::ios::binary);
  f << data;
}

std::string Str(TMemoryStream* m) { return std::string(static_cast<const char*>(m->Memory()), size_t(m->Size())); }

// Unpacks container bytes in memory.
TacSkinConvertor* Extract(const std::string& bytes) {
  auto* c = new TacSkinConvertor();
  c->PackStream = new TMemoryStream();
  c->PackStream->WriteBuffer(bytes.data(), Integer(bytes.size()));
  try {
    ExtractPackedData(c);
  } catch (...) {
    delete c;
    throw;
  }
  return c;
}

// A fresh folder under the system's temporary folder, removed afterwards.
class TempDir {
 public:
  TempDir() {
    static int counter = 0;
    path_ = fs::temp_directory_path() /
            ("dk_skinpack_test_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempDir() { fs::remove_all(path_); }
  const fs::path& operator()() const { return path_; }
  AnsiString Ansi(const std::string& sub = "") const { return imagetest::Ansi(sub.empty() ? path_ : path_ / sub); }

 private:
  fs::path path_;
};

}  // namespace

TEST(SkinPack, FolderRoundTrip) {
  TempDir src, out;
  const std::pair<const char*, std::string> files[] = {
      {"Options.dat", "[GLOBALINFO]\r\nVERSION=8.00\r\n"}, {"Master.bmp", "BM" + Noise(100000, 1)},
      {"Glyph.png", Noise(3000, 2)},                       {"Back.jpg", Noise(70000, 3)},
      {"Empty.bmp", ""}};
  for (auto& [name, data] : files) WriteFile(src() / name, data);
  WriteFile(src() / "Photo.jpeg", "not packed");
  WriteFile(src() / "notes.txt", "not packed");
  fs::create_directories(src() / "sub.dat");

  const AnsiString pack = out.Ansi("skin.asz");
  // Without the trailing separator the searches find nothing.
  PackDir(src.Ansi(), pack);
  EXPECT_FALSE(fs::exists(out() / "skin.asz"));

  PackDir(src.Ansi() + imagetest::Delimiter(), pack);
  ASSERT_TRUE(fs::exists(out() / "skin.asz"));
  UnpackSkinFile(pack, out.Ansi("unpacked"));
  size_t count = 0;
  for (auto& entry : fs::directory_iterator(out() / "unpacked")) {
    ++count;
    (void)entry;
  }
  EXPECT_EQ(std::size(files), count);
  for (auto& [name, data] : files) EXPECT_EQ(data, ReadFile(out() / "unpacked" / name)) << name;

  TacSkinConvertor* c = nullptr;
  LoadSkinFromFile(pack, c, true);
  ASSERT_NE(nullptr, c);
  EXPECT_EQ(4, c->ItemCount);
  ASSERT_NE(nullptr, c->Options);
  EXPECT_EQ(files[0].second, Str(c->Options));
  EXPECT_EQ(nullptr, c->PackStream);
  EXPECT_EQ(4u, c->ImageItems.size());
  delete c;
}

TEST(SkinPack, ContainerWrittenByPython) {
  TacSkinConvertor* c = nullptr;
  LoadSkinFromFile(imagetest::FixturePath("python.asz"), c, false);
  ASSERT_NE(nullptr, c);
  ASSERT_NE(nullptr, c->PackStream);
  EXPECT_EQ(3, c->ItemCount);
  ASSERT_NE(nullptr, c->Options);
  EXPECT_EQ("[GLOBALINFO]\r\nVERSION=8.00\r\n", Str(c->Options));
  ASSERT_EQ(3u, c->ImageItems.size());
  EXPECT_EQ("Master.bmp", c->ImageItems[0].FileName);
  EXPECT_TRUE(c->ImageItems[0].IsBitmap);
  EXPECT_EQ("ButtonHuge.BMP", c->ImageItems[1].FileName);
  EXPECT_TRUE(c->ImageItems[1].IsBitmap);
  EXPECT_EQ("Back.jpg", c->ImageItems[2].FileName);
  EXPECT_FALSE(c->ImageItems[2].IsBitmap);
  // The generator's contents: "BM" + bytes i % 251, and so on.
  std::string master = Str(c->ImageItems[0].Data.get());
  ASSERT_EQ(40002u, master.size());
  EXPECT_EQ('M', master[1]);
  EXPECT_EQ(char(250), master[2 + 250]);
  EXPECT_EQ(0, c->ImageItems[1].Data->Size());
  EXPECT_EQ(200000, c->ImageItems[2].Data->Size());
  delete c;
  c = nullptr;
  // A file that does not exist leaves the convertor as it was.
  LoadSkinFromFile(imagetest::FixturePath("missing.asz"), c, true);
  EXPECT_EQ(nullptr, c);
}

// The reader takes the container in 64 KB pieces: an entry whose zlib stream
// ends a few bytes past such a piece has its trailer in the next piece, and
// the entries after it must still be found.
TEST(SkinPack, EntryEndingJustPastTheReadBuffer) {
  for (int past = -2; past <= 6; ++past) {
    // Stored blocks make the compressed length exact.
    const size_t target = 65536 + past;
    std::string data, z;
    for (size_t n = target - 40; n <= target && z.size() != target; ++n) {
      data = Noise(n, unsigned(n));
      z = Deflate(data, 0);
    }
    ASSERT_EQ(target, z.size());
    std::string bytes = "ASzf" + Le32(3) + Le32(9) + "Big1.data" + Le32(Integer(data.size())) + z +
                        Entry("Zero.bmp", "") + Entry("Options.dat", "after the boundary");
    TacSkinConvertor* c = Extract(bytes);
    ASSERT_EQ(2u, c->ImageItems.size()) << past;
    EXPECT_EQ(data, Str(c->ImageItems[0].Data.get())) << past;
    EXPECT_EQ(0, c->ImageItems[1].Data->Size());
    ASSERT_NE(nullptr, c->Options) << past;
    EXPECT_EQ("after the boundary", Str(c->Options)) << past;
    delete c;
  }
}

// An entry is inflated into memory sized from its header only up to a limit
// of a few megabytes; a larger one grows as its data comes and arrives whole.
TEST(SkinPack, EntryLargerThanTheMemoryTakenUpFront) {
  std::string data((4u << 20) + 70000, '\0');  // past the limit, so the memory grows as the data comes
  for (size_t i = 0; i < data.size(); ++i) data[i] = char((i * 2654435761u) >> 24 & (i % 7 ? 0x0F : 0xFF));
  TacSkinConvertor* c = Extract(Container({Entry("Big.bmp", data, 1), Entry("Options.dat", "after")}));
  ASSERT_EQ(1u, c->ImageItems.size());
  EXPECT_EQ(Int64(data.size()), c->ImageItems[0].Data->Size());
  EXPECT_TRUE(Str(c->ImageItems[0].Data.get()) == data);
  EXPECT_EQ("after", Str(c->Options));
  delete c;
}

TEST(SkinPack, EmptyEntryDoesNotRewind) {
  TacSkinConvertor* c =
      Extract(Container({Entry("OPTIONS.dat", "opt"), Entry("a.bmp", ""), Entry("b.png", "second"), Entry("c.bmp", "")}));
  EXPECT_EQ(3, c->ItemCount);
  ASSERT_EQ(3u, c->ImageItems.size());
  EXPECT_EQ("opt", Str(c->Options));
  EXPECT_EQ("second", Str(c->ImageItems[1].Data.get()));
  delete c;
}

TEST(SkinPack, DamagedContainersAreRefused) {
  const std::string good = Entry("Options.dat", "opt");
  std::string tooLong = Le32(5) + "a.bmp" + Le32(2) + Deflate("abc");
  std::string tooShort = Le32(5) + "a.bmp" + Le32(9) + Deflate("abc");
  std::string cutTrailer = Entry("a.bmp", std::string(100, 'x'));
  cutTrailer.resize(cutTrailer.size() - 3);
  std::string badCheck = Entry("a.bmp", "abcdef");
  badCheck.back() ^= 1;
  const std::pair<const char*, std::string> cases[] = {
      {"negative count", "ASzf" + Le32(-1)},
      {"huge count", "ASzf" + Le32(0x7FFFFFFF) + good},
      {"count beyond the entries", Container({good}).replace(4, 4, Le32(2))},
      {"negative name length", "ASzf" + Le32(1) + Le32(-5) + "x"},
      {"huge name length", "ASzf" + Le32(1) + Le32(0x7FFFFF00) + "abc"},
      {"empty name", Container({Entry("", "x")})},
      {"backslash", Container({Entry("..\\evil.bmp", "x")})},
      {"slash", Container({Entry("sub/evil.bmp", "x")})},
      {"drive", Container({Entry("C:evil.bmp", "x")})},
      {"parent", Container({Entry("..", "x")})},
      {"device", Container({Entry("CON.bmp", "x")})},
      {"duplicate", Container({good, Entry("OPTIONS.DAT", "again")})},
      {"negative size", "ASzf" + Le32(1) + Le32(5) + "a.bmp" + Le32(-1) + Deflate("")},
      {"huge size", "ASzf" + Le32(1) + Le32(5) + "a.bmp" + Le32(0x7FFFFFFF) + Deflate("abc")},
      {"entry longer than its size", "ASzf" + Le32(1) + tooLong},
      {"entry shorter than its size", "ASzf" + Le32(1) + tooShort},
      {"cut trailer", "ASzf" + Le32(1) + cutTrailer},
      {"bad checksum", "ASzf" + Le32(1) + badCheck},
      {"not zlib", "ASzf" + Le32(1) + Le32(5) + "a.bmp" + Le32(3) + "garbage!"},
  };
  for (auto& [what, bytes] : cases) {
    TacSkinConvertor* c = nullptr;
    EXPECT_THROW(c = Extract(bytes), Exception) << what;
    delete c;
  }
  try {
    delete Extract("ASzx" + Le32(0));
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ("Loaded data is not a packed skin file", e.Message);
  }
  auto* c = new TacSkinConvertor();
  c->PackStream = new TMemoryStream();
  c->PackStream->WriteBuffer("PK\3\4", 4);
  EXPECT_THROW(ExtractPackedData(c), Exception);
  EXPECT_EQ(nullptr, c);
}

TEST(SkinPack, UnpackingNeverWritesOutsideTheFolder) {
  TempDir dir;
  const AnsiString pack = dir.Ansi("evil.asz");
  WriteFile(dir() / "evil.asz", Container({Entry("fine.bmp", "ok"), Entry("..", "x"), Entry("../escape.bmp", "x")}));
  EXPECT_THROW(UnpackSkinFile(pack, dir.Ansi("target")), Exception);
  EXPECT_FALSE(fs::exists(dir() / "escape.bmp"));
  // Refused as a whole: not even the good entry is written.
  EXPECT_FALSE(fs::exists(dir() / "target" / "fine.bmp"));

  WriteFile(dir() / "plain.txt", "hello");
  try {
    UnpackSkinFile(dir.Ansi("plain.txt"), dir.Ansi("target"));
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(dir.Ansi("plain.txt") + " is not packed skin file", e.Message);
  }
}
