// The index of catalogues appended to the program file: the record chain.
#include <gtest/gtest.h>

#include <cstring>

#include "i18n/AppendedCatalogues.h"

using i18n::TAssemblyAnalyzer;

namespace {

// A program file image: some bytes, then records at the positions given.
struct Image {
  std::vector<unsigned char> Bytes = std::vector<unsigned char>(100, 0xAA);

  void Put64(std::size_t at, std::int64_t v) {
    if (Bytes.size() < at + 8) Bytes.resize(at + 8);
    for (int i = 0; i < 8; ++i) Bytes[at + i] = std::uint8_t(std::uint64_t(v) >> (8 * i));
  }
  // Appends a record pointing to the position just behind its name.
  std::int64_t Record(std::int64_t offset, std::int64_t size, const std::string& name) {
    const std::size_t at = Bytes.size();
    Put64(at, std::int64_t(at + 24 + name.size()));
    Put64(at + 8, offset);
    Put64(at + 16, size);
    Bytes.insert(Bytes.end(), name.begin(), name.end());
    return std::int64_t(at);
  }
  void End() { Put64(Bytes.size(), 0); }
  i18n::TReadAt Reader() const {
    return [this](std::int64_t pos, void* buf, std::size_t n) {
      if (pos < 0 || std::uint64_t(pos) > Bytes.size() || Bytes.size() - std::size_t(pos) < n) return false;
      std::memcpy(buf, Bytes.data() + pos, n);
      return true;
    };
  }
};

const std::string exe = "C:\\Program\\monitor.exe";

TEST(Appended, ChainGivesPlacements) {
  Image img;
  const auto first = img.Record(10, 20, " locale\\de\\LC_MESSAGES\\default.mo\r\n");
  img.Record(30, 40, "locale\\de\\LC_MESSAGES\\cport.mo");
  img.End();
  TAssemblyAnalyzer index;
  index.Analyze(exe, first, img.Reader());
  EXPECT_EQ(index.Count(), 2u);
  EXPECT_EQ(index.BaseDirectory(), "C:\\Program\\");
  EXPECT_TRUE(index.HasFile("C:\\Program\\locale\\de\\LC_MESSAGES\\default.mo"));
  EXPECT_TRUE(index.HasFile("C:\\Program\\LOCALE\\DE\\LC_MESSAGES\\CPORT.MO"));  // without regard to case
  EXPECT_TRUE(index.HasFile("C:\\Program\\locale/de/LC_MESSAGES/cport.mo"));    // either delimiter
  EXPECT_FALSE(index.HasFile("C:\\Other\\locale\\de\\LC_MESSAGES\\cport.mo"));
  EXPECT_FALSE(index.HasFile("c:\\program\\locale\\de\\LC_MESSAGES\\cport.mo"));  // the folder with case
  EXPECT_FALSE(index.HasFile("C:\\Program\\locale\\ru\\LC_MESSAGES\\cport.mo"));

  auto p = index.FindFile("C:\\Program\\locale\\de\\LC_MESSAGES\\cport.mo");
  EXPECT_EQ(p.FileName, exe);
  EXPECT_EQ(p.Offset, 30);
  EXPECT_EQ(p.Size, 40);
  p = index.FindFile("C:\\Program\\locale\\ru\\LC_MESSAGES\\cport.mo");
  EXPECT_EQ(p.FileName, "C:\\Program\\locale\\ru\\LC_MESSAGES\\cport.mo");
  EXPECT_EQ(p.Offset, 0);
}

TEST(Appended, NothingAppended) {
  Image img;
  TAssemblyAnalyzer index;
  index.Analyze(exe, 0, img.Reader());
  EXPECT_EQ(index.Count(), 0u);
  EXPECT_EQ(index.BaseDirectory(), "");
  EXPECT_FALSE(index.HasFile("C:\\Program\\locale\\de\\LC_MESSAGES\\default.mo"));
  EXPECT_EQ(index.FindFile("x.mo").FileName, "x.mo");
}

TEST(Appended, DamagedChainKeepsTheRecordsBeforeIt) {
  struct Case {
    const char* Name;
    void (*Spoil)(Image&, std::int64_t second);
    std::size_t Kept;
  };
  const Case cases[] = {
      {"intact", [](Image&, std::int64_t) {}, 3},
      {"cut in the second record", [](Image& img, std::int64_t s) { img.Bytes.resize(std::size_t(s) + 12); }, 1},
      {"cut in the second name", [](Image& img, std::int64_t s) { img.Bytes.resize(std::size_t(s) + 26); }, 1},
      {"next before the record's own fields", [](Image& img, std::int64_t s) { img.Put64(std::size_t(s), s + 3); }, 1},
      {"next pointing back", [](Image& img, std::int64_t s) { img.Put64(std::size_t(s), 100); }, 1},
      {"next far beyond the file", [](Image& img, std::int64_t s) { img.Put64(std::size_t(s), INT64_MAX); }, 1},
      {"negative next", [](Image& img, std::int64_t s) { img.Put64(std::size_t(s), -5); }, 1},
  };
  for (const Case& c : cases) {
    Image img;
    const auto first = img.Record(1, 1, "a.mo");
    const auto second = img.Record(2, 2, "b.mo");
    img.Record(3, 3, "c.mo");
    img.End();
    c.Spoil(img, second);
    TAssemblyAnalyzer index;
    index.Analyze(exe, first, img.Reader());
    EXPECT_EQ(index.Count(), c.Kept) << c.Name;
    EXPECT_TRUE(index.HasFile("C:\\Program\\a.mo")) << c.Name;
  }
  // A duplicate name ends the scan too.
  Image img;
  const auto first = img.Record(1, 1, "a.mo");
  img.Record(2, 2, "A.MO");
  img.Record(3, 3, "c.mo");
  img.End();
  TAssemblyAnalyzer index;
  index.Analyze(exe, first, img.Reader());
  EXPECT_EQ(index.Count(), 1u);
  EXPECT_EQ(index.FindFile("C:\\Program\\a.mo").Offset, 1);
}

}  // namespace
