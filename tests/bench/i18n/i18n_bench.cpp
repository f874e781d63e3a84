// Lookup of a hit and a miss in a 3,000-entry catalogue: the unit's catalogue
// reader and translation instance beside the C library's dgettext().
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unistd.h>

#include "i18n/gnugettext.h"

void GlibcPrepare(const std::string& folder);
const char* GlibcLookup(const char* msgid);

namespace {

constexpr int Entries = 3000;
const char* const HitText = "Message number 1234 of the test catalogue";
const char* const MissText = "Message number 1234 of another catalogue";

std::string Key(int i) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "Message number %04d of the test catalogue", i);
  return buf;
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

TGnuGettextInstance& Instance() {
  static TGnuGettextInstance* in = [] {
    auto* i = new TGnuGettextInstance();
    i->UseLanguage("ru");
    i->bindtextdomain("bench", Folder());
    return i;
  }();
  return *in;
}

void Glibc_Hit(benchmark::State& state) {
  Folder();
  if (std::strcmp(GlibcLookup(HitText), HitText) == 0) state.SkipWithError("glibc found no catalogue");
  for (auto _ : state) benchmark::DoNotOptimize(GlibcLookup(HitText));
}
void Glibc_Miss(benchmark::State& state) {
  Folder();
  for (auto _ : state) benchmark::DoNotOptimize(GlibcLookup(MissText));
}

// The catalogue lookup with UTF-8 in and the translation's bytes out, as the
// C library's dgettext() does.
void Domain_Hit(benchmark::State& state) {
  TDomain* d = Instance().FindOrCreateDomain("bench");
  if (!d->LookupMsgid(HitText)) state.SkipWithError("no catalogue");
  for (auto _ : state)
    benchmark::DoNotOptimize(d->WithTranslation(HitText, [](std::string_view t) { benchmark::DoNotOptimize(t.data()); }));
}
void Domain_Miss(benchmark::State& state) {
  TDomain* d = Instance().FindOrCreateDomain("bench");
  for (auto _ : state)
    benchmark::DoNotOptimize(d->WithTranslation(MissText, [](std::string_view t) { benchmark::DoNotOptimize(t.data()); }));
}

// The whole dgettext of the unit: 16-bit text in, key building, lookup, line
// ends and decoding, 16-bit text out.
void Instance_Hit(benchmark::State& state) {
  const std::u16string text = AnsiToWide(HitText);
  if (Instance().dgettext("bench", text) == text) state.SkipWithError("no catalogue");
  for (auto _ : state) benchmark::DoNotOptimize(Instance().dgettext("bench", text));
}
void Instance_Miss(benchmark::State& state) {
  const std::u16string text = AnsiToWide(MissText);
  for (auto _ : state) benchmark::DoNotOptimize(Instance().dgettext("bench", text));
}

BENCHMARK(Glibc_Hit);
BENCHMARK(Domain_Hit);
BENCHMARK(Instance_Hit);
BENCHMARK(Glibc_Miss);
BENCHMARK(Domain_Miss);
BENCHMARK(Instance_Miss);

}  // namespace

BENCHMARK_MAIN();
