// skinpack: packs a skin folder into a packed skin file, unpacks one, and
// checks a skin with the engine's own reader.
#include <cstdio>
#include <cstring>
#include <string>

#include "SkinLint.h"
#include "skin/core/acSkinPack.h"

namespace {

const char* const kUsage =
    "usage: skinpack FOLDER FILE.asz          pack a skin folder (Options.dat and its\n"
    "                                         .bmp, .png and .jpg files)\n"
    "       skinpack --unpack FILE.asz FOLDER write the files of a packed skin\n"
    "       skinpack --lint [--require S1,S2] [--contrast] PATH\n"
    "                                         check a skin folder or packed skin with the\n"
    "                                         engine's reader; every finding is printed as\n"
    "                                         PATH: [SECTION] KEY: reason; exit status 1\n"
    "                                         when any is more than information;\n"
    "                                         --contrast: every text colour must reach\n"
    "                                         4.5 : 1 against what it is drawn on\n";

const char* KindName(TacFindingKind k) {
  switch (k) {
    case fkInfo: return "note";
    case fkDropped: return "dropped";
    case fkChanged: return "changed";
    case fkError: return "error";
  }
  return "";
}

std::vector<AnsiString> SplitNames(const std::string& list) {
  std::vector<AnsiString> names;
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    if (comma > start) names.push_back(list.substr(start, comma - start));
    start = comma + 1;
  }
  return names;
}

int Lint(int argc, char** argv) {
  TacLintOptions options;
  AnsiString path;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--require") == 0 && i + 1 < argc)
      options.RequiredSections = SplitNames(argv[++i]);
    else if (std::strcmp(argv[i], "--contrast") == 0)
      options.Contrast = true;
    else
      path = argv[i];
  }
  if (path.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const TacLintResult result = LintSkin(path, options);
  for (const TacSkinFinding& f : result.Findings)
    std::printf("%s: [%s] %s: %s: %s\n", path.c_str(), f.Section.c_str(), f.Key.c_str(), KindName(f.Kind),
                f.Reason.c_str());
  std::printf("%s: %s\n", path.c_str(), result.Passed() ? "passed" : "failed");
  return result.Passed() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc >= 2 && std::strcmp(argv[1], "--lint") == 0) return Lint(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--unpack") == 0) {
      UnpackSkinFile(argv[2], argv[3]);
      return 0;
    }
    if (argc == 3 && argv[1][0] != '-') {
      const AnsiString folder = IncludeTrailingPathDelimiter(argv[1]);
      PackDir(folder, argv[2]);
      if (!FileExists(argv[2])) {
        std::fprintf(stderr, "skinpack: no skin files in %s\n", folder.c_str());
        return 1;
      }
      return 0;
    }
  } catch (const Exception& e) {
    std::fprintf(stderr, "skinpack: %s\n", e.Message.c_str());
    return 1;
  }
  std::fputs(kUsage, stderr);
  return 2;
}
