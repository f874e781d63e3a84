// The translation instance against catalogues compiled by msgfmt: lookups,
// language fallback, line ends, plural forms, header fields, damaged files and
// the file of untranslated texts.
#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <functional>
#include <thread>

#include "i18n/gnugettext.h"
#include "MoBuilder.h"
#include "TestPaths.h"

using namespace std::string_literals;

namespace {

std::string ExceptionMessage(const std::function<void()>& f) {
  try {
    f();
  } catch (const Exception& e) {
    return e.Message;
  }
  return "(no exception)";
}

TEST(Instance, LooksUpWithCountryFallback) {
  TGnuGettextInstance in;
  in.UseLanguage("ru_RU");  // no ru_RU folder: ru
  EXPECT_EQ(in.GetCurrentLanguage(), "ru_RU");
  EXPECT_EQ(in.dgettext("i18ntest", u"Hello"), u"Привет");
  EXPECT_EQ(in.dgettext("I18NTEST", u"Hello"), u"Привет");  // domain names without regard to case
  EXPECT_EQ(in.dgettext("i18ntest", u"Smile"), u"Улыбка \U0001F600");  // four-byte UTF-8
  EXPECT_EQ(in.dgettext("i18ntest", u"Backslash \\ and \"quotes\""), u"Обратная косая \\ и «кавычки»");
  // Contexts are not supported: the bare text is not found.
  EXPECT_EQ(in.dgettext("i18ntest", u"Open"), u"Open");
  // Fuzzy and untranslated entries are left alone.
  EXPECT_EQ(in.dgettext("i18ntest", u"Fuzzy text"), u"Fuzzy text");
  EXPECT_EQ(in.dgettext("i18ntest", u"Untranslated text"), u"Untranslated text");
  // A domain without a catalogue, and the current domain "default" without one.
  EXPECT_EQ(in.dgettext("nosuchdomain", u"Hello"), u"Hello");
  EXPECT_EQ(in.gettext(u"Hello"), u"Hello");
  in.textdomain("i18ntest");
  EXPECT_EQ(in.getcurrenttextdomain(), "i18ntest");
  EXPECT_EQ(in.gettext(u"Hello"), u"Привет");
  // The empty text finds the header entry.
  EXPECT_NE(in.gettext(u"").find(u"Language: ru\r\n"), std::u16string::npos);
}

TEST(Instance, BigEndianAndHashLessCataloguesAnswerAlike) {
  for (const char* folder : {"locale", "i18n_be", "i18n_nohash"}) {
    TGnuGettextInstance in;
    in.UseLanguage("ru");
    in.bindtextdomain("i18ntest", i18ntest::BinPath(folder));
    EXPECT_EQ(in.dgettext("i18ntest", u"Hello"), u"Привет") << folder;
    EXPECT_EQ(in.dngettext(u"i18ntest", u"%d file", u"%d files", 22), u"%d файла") << folder;
    EXPECT_EQ(in.FindOrCreateDomain("i18ntest")->Swapped(), std::string(folder) == "i18n_be");
  }
}

TEST(Instance, CountryFolderWinsOverLanguageFolder) {
  TGnuGettextInstance in;
  in.UseLanguage("pt_BR");
  EXPECT_EQ(in.dgettext("i18ntest", u"Hello"), u"Olá (pt_BR)");
  EXPECT_EQ(in.dgettext("i18ntest", u"Only pt"), u"Only pt");  // one catalogue per domain
  in.UseLanguage("pt_PT");
  EXPECT_EQ(in.dgettext("i18ntest", u"Hello"), u"Olá (pt)");
  EXPECT_EQ(in.dgettext("i18ntest", u"Only pt"), u"Só pt");
}

TEST(Instance, LineEndsOnlyInTranslationsFound) {
  TGnuGettextInstance in;
  in.UseLanguage("ru");
  // The key drops carriage returns; the translation gets CR LF.
  EXPECT_EQ(in.dgettext("i18ntest", u"Line one\r\nLine two\r\n"), u"Строка один\r\nСтрока два\r\n");
  EXPECT_EQ(in.dgettext("i18ntest", u"Line one\nLine two\n"), u"Строка один\r\nСтрока два\r\n");
  // Not found: exactly as given.
  for (const std::u16string text : {u"a\nb", u"a\rb", u"\r\n", u"x\r\ny\n"})
    EXPECT_EQ(in.dgettext("i18ntest", text), text);
  TGnuGettextInstance none;
  none.UseLanguage("xx");
  EXPECT_EQ(none.gettext(u"lone\rcarriage\nreturn"), u"lone\rcarriage\nreturn");
  EXPECT_EQ(none.gettext(u""), u"");
}

TEST(Instance, PluralFormsOfSeveralLanguages) {
  struct {
    const char* Language;
    std::vector<std::pair<int, std::u16string>> Forms;
  } cases[] = {
      {"ru", {{1, u"%d файл"}, {2, u"%d файла"}, {5, u"%d файлов"}, {11, u"%d файлов"}, {21, u"%d файл"},
              {22, u"%d файла"}, {-1, u"%d файл"}, {INT_MIN, u"%d файлов"}}},
      {"pl_PL", {{1, u"%d plik"}, {2, u"%d pliki"}, {5, u"%d plików"}, {21, u"%d plików"}, {22, u"%d pliki"}}},
      {"cs", {{1, u"%d soubor"}, {3, u"%d soubory"}, {5, u"%d souborů"}, {22, u"%d souborů"}}},
      {"sk", {{1, u"%d súbor"}, {4, u"%d súbory"}, {24, u"%d súborov"}}},
      {"sl", {{1, u"%d datoteka"}, {2, u"%d datoteki"}, {3, u"%d datoteke"}, {5, u"%d datotek"}, {101, u"%d datoteka"}}},
      {"fr", {{0, u"%d fichier"}, {1, u"%d fichier"}, {2, u"%d fichiers"}}},
      // No catalogue: the given singular for one, the plural otherwise.
      {"xx", {{1, u"%d file"}, {-1, u"%d file"}, {0, u"%d files"}, {2, u"%d files"}, {-2, u"%d files"},
              {INT_MIN, u"%d files"}}},
  };
  for (const auto& c : cases) {
    TGnuGettextInstance in;
    in.UseLanguage(c.Language);
    in.textdomain("i18ntest");
    for (const auto& [n, text] : c.Forms)
      EXPECT_EQ(in.ngettext(u"%d file", u"%d files", n), text) << c.Language << " " << n;
  }
  // Fewer forms stored than the language has: the last one.
  TGnuGettextInstance sl;
  sl.UseLanguage("sl");
  EXPECT_EQ(sl.dngettext(u"i18ntest", u"Two forms", u"Two forms (many)", 5), u"Форма 1");
}

TEST(Instance, HeaderProperties) {
  TGnuGettextInstance in;
  in.UseLanguage("ru_RU");
  in.textdomain("i18ntest");
  EXPECT_EQ(in.GetTranslatorNameAndEmail(), u"Иван Петров <ivan@example.org>");
  EXPECT_EQ(in.GetTranslationProperty("language"), u"ru");
  EXPECT_EQ(in.GetTranslationProperty("X-Missing"), u"");
  in.textdomain("nosuchdomain");
  EXPECT_EQ(in.GetTranslatorNameAndEmail(), u"");
}

TEST(Instance, CatalogueNotInUtf8IsAnError) {
  TGnuGettextInstance in;
  in.UseLanguage("de");
  EXPECT_EQ(ExceptionMessage([&] { in.dgettext("i18nlatin", u"Door"); }),
            "Error: Could not translate Door. Probably because the mo file doesn't contain utf-8 encoded "
            "translations.");
  EXPECT_EQ(in.dgettext("i18nlatin", u"Window"), u"Window");
}

// Damaged catalogue files count as absent: every lookup gives its text as
// written and raises nothing, also after the catalogue is searched again.
TEST(Instance, DamagedCatalogueFiles) {
  const auto good = i18ntest::ReadFile(i18ntest::BinPath("locale/ru/LC_MESSAGES/i18ntest.mo"));
  ASSERT_FALSE(good.empty());
  struct {
    const char* Name;
    std::vector<unsigned char> Bytes;
  } cases[] = {
      {"truncated", {good.begin(), good.begin() + 40}},
      {"wrong magic", [&] { auto b = good; b[3] = 0x42; return b; }()},
      {"offsets past the end", [&] { auto b = good; i18ntest::PutWord(b, 12, 0x7FFFFFF0); return b; }()},
      {"lengths past the end", [&] { auto b = good; i18ntest::PutWord(b, 28 + 8, 0x10000); return b; }()},
      {"empty", {}},
  };
  const std::string dir = ::testing::TempDir() + "i18n_damaged" + i18ntest::Delimiter();
  const std::string folder = dir + "xx" + i18ntest::Delimiter() + "LC_MESSAGES";
  const std::string mkdir =
#ifdef _WIN32
      "mkdir \"" + folder + "\" 2>nul";
#else
      "mkdir -p '" + folder + "'";
#endif
  (void)std::system(mkdir.c_str());
  const std::string file = folder + i18ntest::Delimiter() + "broken.mo";
  for (const auto& c : cases) {
    i18ntest::WriteFile(file, c.Bytes.data(), c.Bytes.size());
    TGnuGettextInstance in;
    in.UseLanguage("xx");
    in.bindtextdomain("broken", dir);
    for (int round = 0; round < 2; ++round) {
      EXPECT_EQ(ExceptionMessage([&] { in.dgettext("broken", u"Hello"); }), "(no exception)") << c.Name;
      EXPECT_EQ(in.dgettext("broken", u"Hello"), u"Hello") << c.Name;
      EXPECT_EQ(in.dngettext(u"broken", u"%d file", u"%d files", 2), u"%d files") << c.Name;
      EXPECT_EQ(in.FindOrCreateDomain("broken")->LookupMsgid(""), std::nullopt) << c.Name;
      in.UseLanguage("xx");  // searched again
    }
  }
}

TEST(Instance, UntranslatedTextsAreSavedOnce) {
  const std::string file = ::testing::TempDir() + "i18n_untranslated_saved.po";
  {
    TGnuGettextInstance in;
    in.UseLanguage("xx");
    in.SaveUntranslatedMsgids(file);
    in.gettext(u"First");
    in.gettext(u"First");
    in.gettext(u"Back\\slash \"and\"\r\nquotes\tand\x01");
    in.ngettext(u"%d thing", u"%d things", 3);
    in.dgettext("other", u"Not in default");
    in.gettext(u"");
    EXPECT_EQ(ExceptionMessage([&] { in.SaveUntranslatedMsgids(file + ".2"); }),
              "You may not call SaveUntranslatedMsgids twice in this program.");
    in.gettext(u"Second");
  }
  const auto bytes = i18ntest::ReadFile(file);
  const std::string po(bytes.begin(), bytes.end());
  auto count = [&](const std::string& s) {
    std::size_t n = 0;
    for (std::size_t at = po.find(s); at != std::string::npos; at = po.find(s, at + 1)) ++n;
    return n;
  };
  EXPECT_EQ(count("msgid \"First\"\n"), 1u);
  EXPECT_EQ(count("msgid \"Second\"\n"), 1u);
  EXPECT_EQ(count("msgid \"Back\\\\slash \\\"and\\\"\\n\"\n\"quotes\\tand\\001\"\n"), 1u) << po;
  EXPECT_EQ(count("msgid \"%d thing\"\nmsgid_plural \"%d things\"\n"), 1u);
  EXPECT_EQ(count("Not in default"), 0u);
  EXPECT_EQ(count("charset=UTF-8"), 1u);
#ifndef _WIN32
  EXPECT_EQ(std::system(("msgfmt --check -o /dev/null '" + file + "' 2>/dev/null").c_str()), 0) << po;
#endif
}

TEST(Instance, LookupsFromManyThreads) {
  TGnuGettextInstance in;
  in.UseLanguage("ru");
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 300; ++i) {
        if (in.dgettext("i18ntest", u"Hello") != u"Привет") ++wrong;
        // New domains appear while others look up.
        in.dgettext("thread" + std::to_string(t * 1000 + i % 50), u"Hello");
      }
    });
  for (auto& th : threads) th.join();
  EXPECT_EQ(wrong, 0);
}

#ifndef _WIN32
TEST(Instance, LanguageFromTheEnvironment) {
  const char* old = std::getenv("LANG");
  const std::string saved = old ? old : "";
  setenv("LANG", "de_DE.UTF-8", 1);
  {
    TGnuGettextInstance in;
    EXPECT_EQ(in.GetCurrentLanguage(), "de_DE");
  }
  setenv("LANG", "pl_PL", 1);
  {
    TGnuGettextInstance in;
    EXPECT_EQ(in.GetCurrentLanguage(), "pl_PL");
    in.textdomain("i18ntest");
    EXPECT_EQ(in.ngettext(u"%d file", u"%d files", 22), u"%d pliki");
  }
  if (old)
    setenv("LANG", saved.c_str(), 1);
  else
    unsetenv("LANG");
}
#endif

TEST(Instance, ClassRules) {
  TGnuGettextInstance in;
  in.TP_GlobalIgnoreClass(TStrings::StaticClass());
  EXPECT_EQ(ExceptionMessage([&] { in.TP_GlobalIgnoreClass(TStrings::StaticClass()); }),
            "You cannot add a class to the ignore list that is already on that list: TStrings");
  // TComponent has an ignored property (Name) from construction on.
  EXPECT_EQ(ExceptionMessage([&] { in.TP_GlobalIgnoreClass(TComponent::StaticClass()); }),
            "You cannot add a class to the ignore list that is already on that list: TComponent");
  EXPECT_EQ(ExceptionMessage([&] { in.TP_GlobalHandleClass(TComponent::StaticClass(), TTranslator()); }),
            "You cannot set a handler for a class that has already been assigned otherwise.");
}

}  // namespace
