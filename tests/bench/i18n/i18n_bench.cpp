// Lookups in a 3,000-entry catalogue: the unit's catalogue reader and
// translation instance beside the C library's dgettext(). Each iteration asks
// for the next key of a shuffled list of every entry (hits), or of the same
// keys with one character changed near the end (near misses), so neither side
// answers from a cache of one repeated key.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

#include "i18n/gnugettext.h"

void GlibcPrepare(const std::string& folder);
const char* GlibcLookup(const char* msgid);

namespace {

constexpr int Entries = 3000;

// Texts of the kind a program shows: a few phrases, a number, a tail.
std::string Key(int i) {
  static const char* const verbs[] = {"Cannot open", "Could not read", "Failed to write", "Unable to find",
                                      "Lost",        "Waiting for",    "Closing",         "Checking"};
  static const char* const things[] = {"the port", "the device",  "the settings file", "channel",
                                       "the list", "the log file", "the answer",        "register"};
  char buf[128];
  std::snprintf(buf, sizeof buf, "%s %s %d: see the manual", verbs[i % 8], things[i / 8 % 8], i);
  return buf;
}

// The same key with one character near its end changed: no entry holds '#'.
std::string NearMiss(int i) {
  std::string k = Key(i);
  k[k.size() - 3] = '#';
  return k;
}

// Writes the catalogue source, compiles it and returns the folder.
const std::string& Folder() {
  static const std::string folder = [] {
    char tmpl[] = "/tmp/i18n_bench_XXXXXX";
    if (!mkdtemp(tmpl)) throw std::runtime_error("mkdtemp");
    const std::string dir = tmpl;
    std::ofstream po(dir + "/bench.po");
    po << "msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=UTF-8\\n\"\n\n";
    for (int i = 0; i < Entries; ++i)
      po << "msgid \"" << Key(i) << "\"\nmsgstr \"Сообщение номер " << i << " тестового каталога\"\n\n";
    po.close();
    const std::string cmd = "mkdir -p " + dir + "/ru/LC_MESSAGES && msgfmt -o " + dir +
                            "/ru/LC_MESSAGES/bench.mo " + dir + "/bench.po";
    if (std::system(cmd.c_str()) != 0) throw std::runtime_error("msgfmt failed");
    GlibcPrepare(dir);
    return dir;
  }();
  return folder;
}

// Every entry's key (or near miss) once, in a fixed shuffled order.
const std::vector<std::string>& Keys(bool hits) {
  static const auto make = [](bool h) {
    std::vector<std::string> keys;
    for (int i = 0; i < Entries; ++i) keys.push_back(h ? Key(i) : NearMiss(i));
    std::shuffle(keys.begin(), keys.end(), std::mt19937(2024));
    return keys;
  };
  static const std::vector<std::string> hit = make(true), miss = make(false);
  return hits ? hit : miss;
}

const std::vector<std::u16string>& WideKeys(bool hits) {
  static const auto make = [](bool h) {
    std::vector<std::u16string> keys;
    for (const std::string& k : Keys(h)) keys.push_back(AnsiToWide(k));
    return keys;
  };
  static const std::vector<std::u16string> hit = make(true), miss = make(false);
  return hits ? hit : miss;
}

TGnuGettextInstance& Instance() {
  static TGnuGettextInstance* in = [] {
    auto* i = new TGnuGettextInstance();
    i->UseLanguage("ru");
    i->bindtextdomain("bench", Folder());
    return i;
  }();
  return *in;
}

// The next element of a list, round and round.
template <class List>
const typename List::value_type& Next(const List& list, std::size_t& at) {
  if (at == list.size()) at = 0;
  return list[at++];
}

void Glibc(benchmark::State& state, bool hits) {
  Folder();
  const auto& keys = Keys(hits);
  if (hits && std::strcmp(GlibcLookup(keys[0].c_str()), keys[0].c_str()) == 0)
    state.SkipWithError("glibc found no catalogue");
  std::size_t at = 0;
  for (auto _ : state) benchmark::DoNotOptimize(GlibcLookup(Next(keys, at).c_str()));
}

// The catalogue lookup with UTF-8 in and the translation's bytes out, as the
// C library's dgettext() does.
void Domain(benchmark::State& state, bool hits) {
  TDomain* d = Instance().FindOrCreateDomain("bench");
  const auto& keys = Keys(hits);
  if (hits && !d->LookupMsgid(keys[0])) state.SkipWithError("no catalogue");
  std::size_t at = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(
        d->WithTranslation(Next(keys, at), [](std::string_view t) { benchmark::DoNotOptimize(t.data()); }));
}

// The whole dgettext of the unit: 16-bit text in, key building, lookup, line
// ends and decoding, 16-bit text out.
void Whole(benchmark::State& state, bool hits) {
  const auto& keys = WideKeys(hits);
  if (hits && Instance().dgettext("bench", keys[0]) == keys[0]) state.SkipWithError("no catalogue");
  std::size_t at = 0;
  for (auto _ : state) benchmark::DoNotOptimize(Instance().dgettext("bench", Next(keys, at)));
}

void Glibc_Hit(benchmark::State& s) { Glibc(s, true); }
void Domain_Hit(benchmark::State& s) { Domain(s, true); }
void Instance_Hit(benchmark::State& s) { Whole(s, true); }
void Glibc_NearMiss(benchmark::State& s) { Glibc(s, false); }
void Domain_NearMiss(benchmark::State& s) { Domain(s, false); }
void Instance_NearMiss(benchmark::State& s) { Whole(s, false); }

BENCHMARK(Glibc_Hit);
BENCHMARK(Domain_Hit);
BENCHMARK(Instance_Hit);
BENCHMARK(Glibc_NearMiss);
BENCHMARK(Domain_NearMiss);
BENCHMARK(Instance_NearMiss);

}  // namespace

BENCHMARK_MAIN();
