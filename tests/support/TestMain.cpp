// The main function of the Windows tests. Text in the class library is code
// page 1251, so a failure message streamed from it ("<< caption") would put
// those bytes into the test logs, which a UTF-8 terminal shows as question
// marks and grep takes for binary data. The messages of checks are printed in
// UTF-8 instead: bytes that already form UTF-8 (literals of the test sources)
// stay, any other byte is read as code page 1251.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "classlib/core/Cp1251.h"
#include "classlib/core/SysUtils.h"

namespace {

std::string LogText(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t start = i;
    const char32_t cp = dk_cp1251::DecodeUtf8(s.data(), s.size(), i);
    if (cp != 0xFFFFFFFFu) {
      out.append(s.substr(start, i - start));
      continue;
    }
    const unsigned char byte = static_cast<unsigned char>(s[start]);
    AppendUtf8(out, dk_cp1251::kHigh[byte - 0x80]);
    i = start + 1;
  }
  return out;
}

// The default printer with the messages of test results in UTF-8.
class TUtf8Printer : public testing::TestEventListener {
 public:
  explicit TUtf8Printer(testing::TestEventListener* printer) : printer_(printer) {}

  void OnTestPartResult(const testing::TestPartResult& r) override {
    const std::string message = LogText(r.message());
    printer_->OnTestPartResult(testing::TestPartResult(r.type(), r.file_name(), r.line_number(), message.c_str()));
  }
  void OnTestProgramStart(const testing::UnitTest& u) override { printer_->OnTestProgramStart(u); }
  void OnTestIterationStart(const testing::UnitTest& u, int i) override { printer_->OnTestIterationStart(u, i); }
  void OnEnvironmentsSetUpStart(const testing::UnitTest& u) override { printer_->OnEnvironmentsSetUpStart(u); }
  void OnEnvironmentsSetUpEnd(const testing::UnitTest& u) override { printer_->OnEnvironmentsSetUpEnd(u); }
  void OnTestSuiteStart(const testing::TestSuite& s) override { printer_->OnTestSuiteStart(s); }
#ifndef GTEST_REMOVE_LEGACY_TEST_CASEAPI_
  void OnTestCaseStart(const testing::TestCase& c) override { printer_->OnTestCaseStart(c); }
  void OnTestCaseEnd(const testing::TestCase& c) override { printer_->OnTestCaseEnd(c); }
#endif
  void OnTestStart(const testing::TestInfo& t) override { printer_->OnTestStart(t); }
  void OnTestDisabled(const testing::TestInfo& t) override { printer_->OnTestDisabled(t); }
  void OnTestEnd(const testing::TestInfo& t) override { printer_->OnTestEnd(t); }
  void OnTestSuiteEnd(const testing::TestSuite& s) override { printer_->OnTestSuiteEnd(s); }
  void OnEnvironmentsTearDownStart(const testing::UnitTest& u) override { printer_->OnEnvironmentsTearDownStart(u); }
  void OnEnvironmentsTearDownEnd(const testing::UnitTest& u) override { printer_->OnEnvironmentsTearDownEnd(u); }
  void OnTestIterationEnd(const testing::UnitTest& u, int i) override { printer_->OnTestIterationEnd(u, i); }
  void OnTestProgramEnd(const testing::UnitTest& u) override { printer_->OnTestProgramEnd(u); }

 private:
  std::unique_ptr<testing::TestEventListener> printer_;
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testing::TestEventListeners& listeners = testing::UnitTest::GetInstance()->listeners();
  if (testing::TestEventListener* printer = listeners.Release(listeners.default_result_printer()))
    listeners.Append(new TUtf8Printer(printer));
  return RUN_ALL_TESTS();
}
