// Resource strings from the program's string table: long entries come back
// whole and go through the translation domains like every other text.
#include <gtest/gtest.h>

#include "classlib/core/ResString.h"
#include "i18n/gnugettext.h"
#include "TestPaths.h"

namespace {

const TResStringRec SLong = {"fallback", 100};
const TResStringRec SExact = {"fallback", 101};
const TResStringRec SPortClosed = {"fallback", 102};
const TResStringRec SMissing = {"Not in the table", 999};

class StringTable : public ::testing::Test {
 protected:
  void SetUp() override {
    InitializeGnuGettext();
    bindtextdomain("cport", i18ntest::BinPath("i18n_res"));
    UseLanguage("ru");
    AddDomainForResourceString("cport");
  }
  void TearDown() override { FinalizeGnuGettext(); }
};

TEST_F(StringTable, LongEntriesComeBackWhole) {
  const std::u16string text = LoadResStringW(&SLong);
  ASSERT_EQ(text.size(), 1500u);
  EXPECT_EQ(text.substr(0, 10), u"0123456789");
  EXPECT_EQ(text.substr(1490), u"0123456789");
  EXPECT_EQ(LoadResStringW(&SExact).size(), 1023u);
}

TEST_F(StringTable, EntriesAreTranslated) {
  EXPECT_EQ(LoadResStringW(&SPortClosed), u"Порт закрыт");
  // A record without a table entry keeps its own text.
  EXPECT_EQ(LoadResStringW(&SMissing), u"Not in the table");
}

}  // namespace
