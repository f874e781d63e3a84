// The main function of the Windows tests prints failure messages in UTF-8:
// the parent runs a failing child test of this program whose message holds
// code page 1251 text and a UTF-8 literal, and reads what it printed.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "classlib/core/Cp1251.h"

namespace {

const char* const kChild = "DK_TESTMAIN_CHILD";

bool IsUtf8(const std::string& s) {
  for (std::size_t i = 0; i < s.size();)
    if (dk_cp1251::DecodeUtf8(s.data(), s.size(), i) == 0xFFFFFFFFu) return false;
  return true;
}

TEST(TestMain, FailureMessagesAreUtf8) {
  if (std::getenv(kChild)) GTEST_SKIP() << "the child run";
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  _putenv((std::string(kChild) + "=1").c_str());
  const std::string cmd = "\"\"" + std::string(exe) + "\" --gtest_filter=TestMain.ChildFails\"";
  std::string out;
  if (FILE* p = _popen(cmd.c_str(), "rb")) {
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    EXPECT_NE(_pclose(p), 0) << "the child test should have failed";
  }
  _putenv((std::string(kChild) + "=").c_str());
  EXPECT_NE(out.find("Канал 5: Привет \xC2\xB0"), std::string::npos) << out;
  EXPECT_TRUE(IsUtf8(out));
}

TEST(TestMain, ChildFails) {
  if (!std::getenv(kChild)) GTEST_SKIP() << "runs as the child of FailureMessagesAreUtf8";
  ADD_FAILURE() << "Канал 5"_cp << ": Привет " << "\xB0";  // \xB0 is the degree sign of code page 1251
}

}  // namespace
