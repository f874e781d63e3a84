// The skin packer's check, on a good skin and on skins with one fault each,
// as a folder and as a packed file: each fault is found with its section and key.
#include <gtest/gtest.h>

#include "SkinFixture.h"
#include "SkinLint.h"
#include "skin/core/acSkinPack.h"

using namespace skinfixture;

namespace {

const std::string kGood =
    "[GLOBALINFO]\nVERSION=8.00\nMASTERBITMAP=MASTER.BMP\nBOXCHECKED=@0000@0000@0048@0032@3@1\n"
    "[BUTTON]\nSTATES=3\nCOLOR=12632256\nTRANSPARENCY=20\n"
    "BORDERSMASK=^0000^0032^0030^0092^0003^0003^0003^0003^3^1^4^0\n"
    "[EDIT]\nCOLOR=16777215\nFONTCOLOR=0\n[PANEL]\nPARENTCLASS=BUTTON\nPATTERN=~0040~0000~0060~0020~00\n";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// The skin as a folder; the packed file of it beside.
struct TSkin {
  TTempDir Dir{"lint"};
  std::filesystem::path Folder = Dir.Path / "skin", Pack = Dir.Path / "skin.asz";
  explicit TSkin(const std::string& text, bool withOptions = true) {
    if (withOptions) WriteFile(Folder / "Options.dat", text);
    WriteFile(Folder / "MASTER.BMP", BmpFile(TPicture(96, 96, 0x808080)));
    PackDir(IncludeTrailingPathDelimiter(Folder.string()), Pack.string());
  }
};

struct Fault {
  const char* Name;
  std::string Text;
  AnsiString Section, Key;
  bool WithOptions = true;
};

bool Finds(const TacLintResult& r, const AnsiString& section, const AnsiString& key) {
  for (const TacSkinFinding& f : r.Findings)
    if (f.Kind != fkInfo && f.Section == section && f.Key == key) return true;
  return false;
}

std::string Listed(const TacLintResult& r) {
  std::string s;
  for (const TacSkinFinding& f : r.Findings) s += "[" + f.Section + "] " + f.Key + ": " + f.Reason + "\n";
  return s;
}

TEST(SkinLint, AGoodSkinPassesAsAFolderAndPacked) {
  TSkin skin(kGood);
  TacLintOptions options;
  options.RequiredSections = {"GLOBALINFO", "BUTTON", "EDIT"};
  for (const auto& path : {skin.Folder, skin.Pack}) {
    TacLintResult r = LintSkin(path.string(), options);
    EXPECT_TRUE(r.Passed()) << path << "\n" << Listed(r);
  }
}

TEST(SkinLint, EachFaultIsFoundWithItsSectionAndKey) {
  const Fault faults[] = {
      {"no Options.dat", kGood, "", "", false},
      {"lower-case master", Replace(kGood, "MASTERBITMAP=MASTER.BMP", "MASTERBITMAP=master.bmp"), "GLOBALINFO",
       "MASTERBITMAP"},
      {"rectangle outside", Replace(kGood, "@0000@0000@0048@0032", "@0060@0060@0108@0092"), "GLOBALINFO",
       "BOXCHECKED"},
      {"no columns", Replace(kGood, "@0032@3@1", "@0032@0@1"), "GLOBALINFO", "BOXCHECKED"},
      {"mask kind 2", Replace(kGood, "@0032@3@1", "@0032@3@2"), "GLOBALINFO", "BOXCHECKED"},
      {"fill mode 15", Replace(kGood, "~0020~00", "~0020~15"), "PANEL", "PATTERN"},
      {"no states", Replace(kGood, "STATES=3", "STATES=0"), "BUTTON", "STATES"},
      {"a percentage of 120", Replace(kGood, "TRANSPARENCY=20", "TRANSPARENCY=120"), "BUTTON", "TRANSPARENCY"},
      {"a parent-class cycle", Replace(kGood, "[BUTTON]\n", "[BUTTON]\nPARENTCLASS=PANEL\n"), "BUTTON", "PARENTCLASS"},
      {"a required section missing", Replace(kGood, "[EDIT]", "[EDIT2]"), "EDIT", ""},
      {"an old version", Replace(kGood, "VERSION=8.00", "VERSION=7.00"), "GLOBALINFO", "VERSION"},
      {"a version too new", Replace(kGood, "VERSION=8.00", "VERSION=10.0"), "GLOBALINFO", "VERSION"},
  };
  TacLintOptions options;
  options.RequiredSections = {"GLOBALINFO", "BUTTON", "EDIT"};
  for (const Fault& f : faults) {
    TSkin skin(f.Text, f.WithOptions);
    for (const auto& path : {skin.Folder, skin.Pack}) {
      if (!f.WithOptions && path == skin.Pack) {
        // A container of images only.
        TacLintResult r = LintSkin(path.string(), options);
        EXPECT_FALSE(r.Passed()) << f.Name;
        continue;
      }
      TacLintResult r = LintSkin(path.string(), options);
      EXPECT_FALSE(r.Passed()) << f.Name << " " << path;
      EXPECT_TRUE(Finds(r, f.Section, f.Key)) << f.Name << " " << path << "\n" << Listed(r);
    }
  }
}

TEST(SkinLint, TextThatDoesNotStandOutIsFoundOnlyWhenAsked) {
  const std::string base = "[GLOBALINFO]\nVERSION=8.00\nMASTERBITMAP=MASTER.BMP\n[FORM]\nCOLOR=16777215\nFONTCOLOR=0\n";
  // The master is grey 128: black text reads on it (5.3 : 1), white does not (3.9 : 1).
  const std::string centre = "BORDERSMASK=^0000^0000^0030^0010^0003^0003^0003^0003^1^0^";
  const Fault faults[] = {
      {"silver on white", "[EDIT]\nCOLOR=16777215\nFONTCOLOR=12632256\n", "EDIT", "FONTCOLOR"},
      {"the hot look", "[BUTTON]\nSTATES=3\nCOLOR=16777215\nFONTCOLOR=0\nHOTCOLOR=0\nHOTFONTCOLOR=1\n", "BUTTON",
       "HOTFONTCOLOR"},
      {"white text over a white form", "[TRANSPARENT]\nTRANSPARENCY=100\nFONTCOLOR=16777215\n", "TRANSPARENT",
       "FONTCOLOR"},
      {"a black gradient", "[PANEL]\nCOLOR=16777215\nFONTCOLOR=0\nGRADIENTPERCENT=100\nGRADIENTDATA=0;0;100;0;0\n",
       "PANEL", "FONTCOLOR"},
      {"the border's grey centre", "[CHECKBOX]\nSTATES=1\nCOLOR=0\nFONTCOLOR=16777215\n" + centre + "4^0\n",
       "CHECKBOX", "FONTCOLOR"},
  };
  TacLintOptions contrast;
  contrast.Contrast = true;
  for (const Fault& f : faults) {
    TSkin skin(base + f.Text);
    EXPECT_TRUE(LintSkin(skin.Pack.string(), {}).Passed()) << f.Name;
    TacLintResult r = LintSkin(skin.Pack.string(), contrast);
    EXPECT_TRUE(Finds(r, f.Section, f.Key)) << f.Name << "\n" << Listed(r);
  }
  // The same text where the border leaves the centre to the section's colour.
  TSkin unpainted(base + "[CHECKBOX]\nSTATES=1\nCOLOR=0\nFONTCOLOR=16777215\n" + centre + "0^0\n");
  TacLintResult r = LintSkin(unpainted.Pack.string(), contrast);
  EXPECT_TRUE(r.Passed()) << Listed(r);
}

TEST(SkinLint, NotAContainer) {
  TTempDir dir("lint");
  WriteFile(dir.Path / "x.asz", "not a container");
  TacLintResult r = LintSkin((dir.Path / "x.asz").string(), {});
  ASSERT_FALSE(r.Passed());
  EXPECT_NE(Listed(r).find("not a packed skin file"), std::string::npos) << Listed(r);
}

}  // namespace
