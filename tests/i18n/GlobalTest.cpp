// The unit's global functions: start-up and shut-down, the resource-string
// redirection with the "cport" domain, property translation of a small form,
// and catalogues appended to a copy of this program.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <cstring>
#include <functional>

#include "classlib/core/ResString.h"
#include "classlib/core/SysUtils.h"
#include "i18n/gnugettext.h"
#include "TestPaths.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

// ------------------------------------------------------------ a small form
class TTestLabel : public TComponent {
  DK_CLASS(TTestLabel, TComponent)
 public:
  explicit TTestLabel(TComponent* AOwner) : TComponent(AOwner) {}
  AnsiString FCaption;
  WideString FHint;
  AnsiString Version() const { return "Label caption"; }  // read-only
};
DK_PUBLISH(TTestLabel) {
  P.Property("Caption", &TTestLabel::FCaption, &TTestLabel::FCaption);
  P.Property("Hint", &TTestLabel::FHint, &TTestLabel::FHint);
  P.Property("Version", &TTestLabel::Version);
}

class TTestCombo : public TComponent {
  DK_CLASS(TTestCombo, TComponent)
 public:
  explicit TTestCombo(TComponent* AOwner) : TComponent(AOwner), FItems(Create<TStringList>()) {}
  ~TTestCombo() override { FItems->Free(); }
  TStrings* Items() const { return FItems; }
  void SetItems(TStrings* v) { FItems->Assign(v); }
  TComponent* FBuddy = nullptr;  // a second way to reach a component

 private:
  TStringList* FItems;
};
DK_PUBLISH(TTestCombo) {
  P.Property("Items", &TTestCombo::Items, &TTestCombo::SetItems);
  P.Property("Buddy", &TTestCombo::FBuddy, &TTestCombo::FBuddy);
}

class TTestThrower : public TComponent {
  DK_CLASS(TTestThrower, TComponent)
 public:
  explicit TTestThrower(TComponent* AOwner) : TComponent(AOwner) {}
  AnsiString Caption() const { return "Label caption"; }
  void SetCaption(const AnsiString&) { throw Exception("refused"); }
};
DK_PUBLISH(TTestThrower) { P.Property("Caption", &TTestThrower::Caption, &TTestThrower::SetCaption); }

class TTestForm : public TComponent {
  DK_CLASS(TTestForm, TComponent)
 public:
  explicit TTestForm(TComponent* AOwner) : TComponent(AOwner) {}
  AnsiString FCaption = "Form caption";
  std::vector<TObject*> Handled;
  void Handle(TObject* obj) { Handled.push_back(obj); }
};
DK_PUBLISH(TTestForm) { P.Property("Caption", &TTestForm::FCaption, &TTestForm::FCaption); }

struct Form {
  TTestForm* F = Create<TTestForm>(nullptr);
  TTestLabel* Label1 = Create<TTestLabel>(F);
  TTestLabel* Edit1 = Create<TTestLabel>(F);
  TTestCombo* Combo1 = Create<TTestCombo>(F);
  Form() {
    Label1->SetName("Label1");
    Label1->FCaption = "Label caption";
    Edit1->SetName("Edit1");
    Edit1->FCaption = "Edit text";
    Edit1->FHint = u"Label caption";
    Combo1->SetName("Combo1");
    Combo1->Items()->SetText("First line\r\n\r\nThird line\r\n");
    Combo1->FBuddy = Label1;
  }
  ~Form() { F->Free(); }
};

const AnsiString ru(const char16_t* s) { return WideToAnsi(s); }

// Start-up with the resource-string catalogues of the tests, shut-down at the end.
class Started : public ::testing::Test {
 protected:
  void SetUp() override {
    InitializeGnuGettext();
    bindtextdomain("default", i18ntest::BinPath("i18n_res"));
    bindtextdomain("cport", i18ntest::BinPath("i18n_res"));
    UseLanguage("ru");
    AddDomainForResourceString("cport");
  }
  void TearDown() override { FinalizeGnuGettext(); }
};

DK_RESOURCESTRING(SOnlyCport, "Only in cport");
DK_RESOURCESTRING(SBoth, "In both domains");
DK_RESOURCESTRING(SEqualInDefault, "Equal in default");
DK_RESOURCESTRING(SNowhere, "Not translated\nanywhere\r");
DK_RESOURCESTRING(SPortClosed, "Port closed");

TEST(Unit, BeforeStartUpAndAfterShutDownTextsStayAsWritten) {
  EXPECT_EQ(gnugettext::DefaultInstance(), nullptr);
  EXPECT_EQ(_(u"Label caption"), u"Label caption");
  EXPECT_EQ(ngettext(u"one", u"many", 1), u"one");
  EXPECT_EQ(ngettext(u"one", u"many", 2), u"many");
  EXPECT_EQ(LoadResStringW(&SOnlyCport), u"Only in cport");
  Form form;
  TranslateProperties(form.F, "default");
  EXPECT_EQ(form.F->FCaption, "Form caption");

  InitializeGnuGettext();
  EXPECT_NE(gnugettext::DefaultInstance(), nullptr);
  EXPECT_EQ(gnugettext::AppendedCataloguesPosition(), 0);  // nothing appended to this program
  EXPECT_EQ(getcurrenttextdomain(), "default");
  FinalizeGnuGettext();
  EXPECT_EQ(gnugettext::DefaultInstance(), nullptr);
  EXPECT_EQ(GetResStringLoader(), nullptr);
}

TEST_F(Started, ResourceStringsGoThroughTheDomainsInOrder) {
  EXPECT_EQ(LoadResStringW(&SOnlyCport), u"Только в cport");
  EXPECT_EQ(LoadResString(&SOnlyCport), ru(u"Только в cport"));  // 8-bit form
  EXPECT_EQ(LoadResStringW(&SBoth), u"Из default");
  // A translation equal to its text in "default" lets the search go on.
  EXPECT_EQ(LoadResStringW(&SEqualInDefault), u"Из cport (равно в default)");
  EXPECT_EQ(LoadResStringW(&SNowhere), u"Not translated\nanywhere\r");
  // Exceptions built from resource strings carry the translation too.
  EXPECT_EQ(Exception(&SOnlyCport).Message, ru(u"Только в cport"));
  EXPECT_EQ(_(u"Label caption"), u"Надпись");
  EXPECT_EQ(gettext(u"Label caption"), _(u"Label caption"));
  EXPECT_EQ(dgettext("cport", u"Port closed"), u"Порт закрыт");
}

TEST(Unit, ShutDownRemovesTheRedirection) {
  InitializeGnuGettext();
  bindtextdomain("default", i18ntest::BinPath("i18n_res"));
  UseLanguage("ru");
  EXPECT_EQ(LoadResStringW(&SBoth), u"Из default");
  FinalizeGnuGettext();
  EXPECT_EQ(GetResStringLoader(), nullptr);
  EXPECT_EQ(LoadResStringW(&SBoth), u"In both domains");
}

TEST(Unit, ShutDownWaitsForLoadsOnOtherThreads) {
  for (int round = 0; round < 5; ++round) {
    InitializeGnuGettext();
    bindtextdomain("default", i18ntest::BinPath("i18n_res"));
    UseLanguage("ru");
    std::atomic<bool> stop{false};
    std::atomic<int> wrong{0};
    std::vector<std::thread> readers;
    for (int t = 0; t < 4; ++t)
      readers.emplace_back([&] {
        while (!stop) {
          const std::u16string s = LoadResStringW(&SBoth);
          if (s != u"Из default" && s != u"In both domains") ++wrong;
          const std::u16string u = _(u"Label caption");
          if (u != u"Надпись" && u != u"Label caption") ++wrong;
        }
      });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    FinalizeGnuGettext();  // the readers keep loading meanwhile
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    stop = true;
    for (auto& r : readers) r.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(LoadResStringW(&SBoth), u"In both domains");
  }
}

TEST_F(Started, TranslatePropertiesOfAForm) {
  Form form;
  TranslateProperties(form.F, "default");
  EXPECT_EQ(form.F->FCaption, ru(u"Заголовок формы"));
  EXPECT_EQ(form.Label1->FCaption, ru(u"Надпись"));
  EXPECT_EQ(form.Label1->Name(), "Label1");  // names are never translated
  EXPECT_EQ(form.Edit1->FCaption, ru(u"Текст поля"));
  EXPECT_EQ(form.Edit1->FHint, u"Надпись");  // a 16-bit property
  // Line by line; the empty line stays empty.
  EXPECT_EQ(form.Combo1->Items()->Text(), ru(u"Первая строка\r\n\r\nТретья строка\r\n"));
  // Label1, reachable both as an owned component and through Buddy, was
  // translated once (a second pass would look up the translation).
  EXPECT_EQ(form.Label1->FCaption, ru(u"Надпись"));
}

TEST_F(Started, IgnoreEntriesServeOneWalk) {
  Form form;
  TP_Ignore(form.F, "Edit1");
  TP_Ignore(form.F, "Label1.Caption");
  TP_Ignore(form.F, ".Caption");
  TranslateProperties(form.F, "default");
  EXPECT_EQ(form.Edit1->FCaption, "Edit text");
  EXPECT_EQ(form.Edit1->FHint, u"Label caption");
  EXPECT_EQ(form.F->FCaption, "Form caption");
  EXPECT_EQ(form.Label1->FCaption, "Label caption");
  EXPECT_EQ(form.Combo1->Items()->Strings(0), ru(u"Первая строка"));
  // The next walk has no ignore entries.
  TranslateProperties(form.F, "default");
  EXPECT_EQ(form.Edit1->FCaption, ru(u"Текст поля"));
  EXPECT_EQ(form.F->FCaption, ru(u"Заголовок формы"));
  EXPECT_EQ(form.Label1->FCaption, ru(u"Надпись"));
}

TEST_F(Started, AFailedWalkLeavesNoIgnoreEntriesBehind) {
  Form form;
  TTestThrower* thrower = Create<TTestThrower>(form.F);
  thrower->SetName("Thrower");
  TP_Ignore(form.F, "Edit1");
  try {
    TranslateProperties(form.F, "default");
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message,
              "Property cannot be translated.\r\nUse TP_GlobalIgnoreClassProperty(TTestThrower,Caption) or\r\n"
              "TP_Ignore (self,'.Caption') to prevent this message.\r\nReason: refused");
  }
  thrower->Free();
  TranslateProperties(form.F, "default");
  EXPECT_EQ(form.Edit1->FCaption, ru(u"Текст поля"));
}

TEST_F(Started, ClassRulesSteerTheWalk) {
  Form form;
  TGnuGettextInstance* in = gnugettext::DefaultInstance();
  in->TP_GlobalIgnoreClassProperty(TTestLabel::StaticClass(), "caption");
  in->TP_GlobalHandleClass(TTestCombo::StaticClass(), TTranslator(form.F, &TTestForm::Handle));
  TranslateProperties(form.F, "default");
  EXPECT_EQ(form.Label1->FCaption, "Label caption");  // the descendant's rule is found first
  EXPECT_EQ(form.Edit1->FHint, u"Надпись");
  EXPECT_EQ(form.Combo1->Items()->Strings(0), "First line");  // handed to the handler instead
  ASSERT_EQ(form.F->Handled.size(), 1u);
  EXPECT_EQ(form.F->Handled[0], form.Combo1);
}

TEST_F(Started, TranslateComponentAgainAfterALanguageChange) {
  Form form;
  TranslateComponent(form.F, "default");
  EXPECT_EQ(form.Label1->FCaption, ru(u"Надпись"));
  ASSERT_NE(form.F->FindComponent("GNUgettextMarker"), nullptr);
  form.Label1->FCaption = "changed by hand";
  TranslateComponent(form.F, "default");  // same language: nothing happens
  EXPECT_EQ(form.Label1->FCaption, "changed by hand");
  UseLanguage("xx");  // no catalogue: the first texts come back
  TranslateComponent(form.F, "default");
  EXPECT_EQ(form.Label1->FCaption, "Label caption");
  EXPECT_EQ(form.F->FCaption, "Form caption");
  EXPECT_EQ(form.Combo1->Items()->Text(), "First line\r\n\r\nThird line\r\n");
  UseLanguage("ru");
  TranslateComponent(form.F, "default");
  EXPECT_EQ(form.Label1->FCaption, ru(u"Надпись"));
  EXPECT_EQ(form.Combo1->Items()->Strings(2), ru(u"Третья строка"));
}

TEST(Unit, MissingExternalLibraryIsNeverUsed) {
  InitializeGnuGettext();
  EXPECT_FALSE(LoadDLLifPossible("no-such-gettext-library.dll"));
#ifdef _WIN32
  // Loads, but has none of the entry points: not used.
  EXPECT_FALSE(LoadDLLifPossible("kernel32.dll"));
#endif
  EXPECT_EQ(_(u"Hello"), u"Hello");
  FinalizeGnuGettext();
}

// ------------------------------------------------------------ copies of this program
// Some tests need catalogues where the program itself looks for them (inside
// the program file, or in "locale" beside it): the parent writes a copy of
// this program into a folder of its own and runs the copy's child tests.
const char* const childVariable = "I18N_APPENDED_CHILD";

std::string MakeFolder(const std::string& dir) {
#ifdef _WIN32
  (void)std::system(("mkdir \"" + dir + "\" 2>nul").c_str());
#else
  (void)std::system(("mkdir -p '" + dir + "'").c_str());
#endif
  return dir + i18ntest::Delimiter();
}

// Writes exe as a program into dir and runs its tests that match filter with
// the child variable set; the copy's exit code.
int RunCopy(const std::vector<unsigned char>& exe, const std::string& dir, const std::string& filter) {
#ifdef _WIN32
  const std::string copy = MakeFolder(dir) + "i18n_copy.exe";
#else
  const std::string copy = MakeFolder(dir) + "i18n_copy";
#endif
  i18ntest::WriteFile(copy, exe.data(), exe.size());
#ifdef _WIN32
  _putenv((std::string(childVariable) + "=1").c_str());
  const std::string cmd = "\"\"" + copy + "\" --gtest_filter=" + filter + "\"";
#else
  chmod(copy.c_str(), 0755);
  setenv(childVariable, "1", 1);
  const std::string cmd = "'" + copy + "' --gtest_filter='" + filter + "' > /dev/null";
#endif
  const int rc = std::system(cmd.c_str());
#ifdef _WIN32
  _putenv((std::string(childVariable) + "=").c_str());
#else
  unsetenv(childVariable);
#endif
  return rc;
}

// ------------------------------------------------------------ appended catalogues
// The parent appends two catalogues to a copy of this program in a folder
// without "locale", writes the chain's position behind the marker and runs the
// copy's child test, which must find both in the program file.

TEST(AppendedProgram, CataloguesInACopyOfTheProgramAreFound) {
  if (std::getenv(childVariable)) GTEST_SKIP() << "the child run";
  auto exe = i18ntest::ReadFile(i18ntest::ExecutablePath());
  ASSERT_FALSE(exe.empty());
  // The marker, built here in two halves so that this test does not hold it.
  const std::string marker = std::string("6637DB2E-62E1-4A60") + "-AC19-C23867046A89";
  std::size_t at = std::string::npos, found = 0;
  for (std::size_t i = 0; i + marker.size() + 8 <= exe.size(); ++i)
    if (std::memcmp(exe.data() + i, marker.data(), marker.size()) == 0) at = i, ++found;
  ASSERT_EQ(found, 1u);
  for (int i = 0; i < 8; ++i) ASSERT_EQ(exe[at + marker.size() + i], 0);

  struct Entry {
    std::string Name;
    std::vector<unsigned char> Bytes;
  } entries[] = {
      {"locale\\ru\\LC_MESSAGES\\i18napp.mo", i18ntest::ReadFile(i18ntest::BinPath("locale/ru/LC_MESSAGES/i18ntest.mo"))},
      {"locale\\ru\\LC_MESSAGES\\cport.mo", i18ntest::ReadFile(i18ntest::BinPath("i18n_res/ru/LC_MESSAGES/cport.mo"))},
  };
  // Catalogues first, then the chain of records.
  std::vector<std::int64_t> offsets;
  for (const auto& e : entries) {
    ASSERT_FALSE(e.Bytes.empty());
    while (exe.size() % 8) exe.push_back(0);
    offsets.push_back(std::int64_t(exe.size()));
    exe.insert(exe.end(), e.Bytes.begin(), e.Bytes.end());
  }
  auto put64 = [&](std::size_t pos, std::int64_t v) {
    if (exe.size() < pos + 8) exe.resize(pos + 8);
    for (int i = 0; i < 8; ++i) exe[pos + i] = std::uint8_t(std::uint64_t(v) >> (8 * i));
  };
  const std::int64_t first = std::int64_t(exe.size());
  for (std::size_t k = 0; k < std::size(entries); ++k) {
    const std::size_t pos = exe.size();
    const std::string& name = entries[k].Name;
    put64(pos, std::int64_t(pos + 24 + name.size()));
    put64(pos + 8, offsets[k]);
    put64(pos + 16, std::int64_t(entries[k].Bytes.size()));
    exe.insert(exe.end(), name.begin(), name.end());
  }
  put64(exe.size(), 0);
  put64(at + marker.size(), first);

  const std::string dir = ::testing::TempDir() + "i18n_appended";
  EXPECT_EQ(RunCopy(exe, dir, "AppendedProgram.Child*"), 0)
      << "the copy's own test failed: run the copy in " << dir << " with " << childVariable << "=1";
}

TEST(AppendedProgram, ChildFindsItsCatalogues) {
  if (!std::getenv(childVariable)) GTEST_SKIP() << "runs in a patched copy of this program";
  InitializeGnuGettext();
  ASSERT_NE(gnugettext::AppendedCataloguesPosition(), 0);
  ASSERT_NE(gnugettext::AppendedCatalogues(), nullptr);
  EXPECT_EQ(gnugettext::AppendedCatalogues()->Count(), 2u);
  UseLanguage("ru_RU");
  EXPECT_EQ(dgettext("i18napp", u"Hello"), u"Привет");
  EXPECT_EQ(dngettext("i18napp", u"%d file", u"%d files", 5), u"%d файлов");
  EXPECT_EQ(dgettext("cport", u"Port closed"), u"Порт закрыт");
  AddDomainForResourceString("cport");
  EXPECT_EQ(LoadResStringW(&SPortClosed), u"Порт закрыт");
  FinalizeGnuGettext();
}

// ------------------------------------------------------------ damaged catalogues
// A damaged "default" and "cport" catalogue in the "locale" folder beside a
// copy of this program: the copy's child test must see every text as written
// and the error messages built from resource strings unchanged.
TEST(DamagedCatalogue, BesideTheProgramCountsAsAbsent) {
  if (std::getenv(childVariable)) GTEST_SKIP() << "the child run";
  const auto exe = i18ntest::ReadFile(i18ntest::ExecutablePath());
  ASSERT_FALSE(exe.empty());
  const std::string dir = ::testing::TempDir() + "i18n_damaged_beside";
  const char d = i18ntest::Delimiter();
  const std::string messages = MakeFolder(dir + d + "locale" + d + "ru" + d + "LC_MESSAGES");
  const std::string garbage = "This is no catalogue at all, only some text in its place.";
  i18ntest::WriteFile(messages + "default.mo", garbage.data(), garbage.size());
  auto cut = i18ntest::ReadFile(i18ntest::BinPath("i18n_res/ru/LC_MESSAGES/cport.mo"));
  ASSERT_GT(cut.size(), 40u);
  cut.resize(cut.size() / 2);
  i18ntest::WriteFile(messages + "cport.mo", cut.data(), cut.size());
  EXPECT_EQ(RunCopy(exe, dir, "DamagedCatalogue.Child*"), 0)
      << "the copy's own test failed: run the copy in " << dir << " with " << childVariable << "=1";
}

#ifdef _WIN32
BOOL CALLBACK CountVisible(HWND w, LPARAM count) {
  if (IsWindowVisible(w)) ++*reinterpret_cast<int*>(count);
  return TRUE;
}
#endif

TEST(DamagedCatalogue, ChildSeesTextsAsWritten) {
  if (!std::getenv(childVariable)) GTEST_SKIP() << "runs in a copy of this program";
  InitializeGnuGettext();
  UseLanguage("ru");
  AddDomainForResourceString("cport");
  // The first lookup meets the damaged files; nothing is raised.
  std::string message;
  try {
    (void)StrToInt("abc");
  } catch (const EConvertError& e) {
    message = e.Message;
  } catch (const Exception& e) {
    message = "other error: " + e.Message;
  }
  EXPECT_EQ(message, "'abc' is not a valid integer value");
  EXPECT_EQ(LoadResStringW(&SBoth), u"In both domains");
  EXPECT_EQ(LoadResStringW(&SPortClosed), u"Port closed");
  EXPECT_EQ(_(u"Label caption"), u"Label caption");
  EXPECT_EQ(dgettext("cport", u"Port closed"), u"Port closed");
  EXPECT_EQ(GetTranslatorNameAndEmail(), u"");
#ifdef _WIN32
  // Nothing was shown: the lookups opened no window.
  int windows = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountVisible, reinterpret_cast<LPARAM>(&windows));
  EXPECT_EQ(windows, 0);
#endif
  FinalizeGnuGettext();
}

}  // namespace
