// The language chosen from the environment and the user's locale under Wine:
// the build names the code expected for the environment its ctest entry sets.
#include <gtest/gtest.h>

#include "i18n/gnugettext.h"

TEST(Language, I18N_LANGUAGE_CASE) {
  TGnuGettextInstance in;
  EXPECT_EQ(in.GetCurrentLanguage(), I18N_EXPECTED_LANGUAGE);
  InitializeGnuGettext();
  EXPECT_EQ(GetCurrentLanguage(), I18N_EXPECTED_LANGUAGE);
  FinalizeGnuGettext();
}
