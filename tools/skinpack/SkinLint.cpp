#include "SkinLint.h"

#include "SkinContrast.h"

#include <memory>

#include "skin/core/acSkinLoad.h"
#include "skin/core/acSkinValues.h"
#include "skin/core/acSkinPack.h"

namespace {

const double kOldestVersion = 7.45, kNewestVersion = 9.99;

// Checks of the image values the reader takes but the painters cannot use
// as written: no columns, or masks of more than one row.
void CheckImageValues(const TacSkinText& text, TacSkinReport& report) {
  for (size_t s = 0; s < text.SectionCount(); ++s) {
    const TacSkinText::TSection& section = text.Section(s);
    for (const TacSkinText::TKey& key : section.Keys) {
      if (section.Name == "GLOBALINFO" && key.Name == "MASTERBITMAP") continue;
      TacImageValue v;
      try {
        v = ParseImageValue(key.Value);
      } catch (const EConvertError&) {
        continue;  // the reader reports it
      }
      if (v.Form != ifGlyph && v.Form != ifBorder && v.Form != ifOwnFile) continue;
      if (v.Columns == 0) report.Add(fkError, section.Name, key.Name, "an image of 0 columns");
      if (v.MaskKind != 0 && v.MaskKind != 1)
        report.Add(fkError, section.Name, key.Name,
                   "mask kind " + IntToStr(v.MaskKind) + " (images have no mask (0) or one mask row (1))");
    }
  }
}

void CheckGlobals(const TacSkinText& text, const TacLintOptions& options, TacSkinReport& report) {
  const AnsiString* master = text.Find("GLOBALINFO", "MASTERBITMAP");
  if (master && *master != AnsiUpperCase(*master))
    report.Add(fkError, "GLOBALINFO", "MASTERBITMAP",
               "\"" + *master + "\" is written in lower case: a packed skin finds no entry of that name");
  const double version = SkinTextVersion(text);
  if (version < kOldestVersion || version > kNewestVersion)
    report.Add(fkError, "GLOBALINFO", "VERSION",
               "version " + FloatToStr(version) + " is outside " + FloatToStr(kOldestVersion) + ".." +
                   FloatToStr(kNewestVersion));
  for (const AnsiString& name : options.RequiredSections)
    if (!text.FindSection(name)) report.Add(fkError, name, "", "the skin has no such section");
}

}  // namespace

bool TacLintResult::Passed() const {
  for (const TacSkinFinding& f : Findings)
    if (f.Kind != fkInfo) return false;
  return true;
}

TacLintResult LintSkin(const AnsiString& Path, const TacLintOptions& Options) {
  TacSkinReport report;
  TacSkinText text;
  TacSkinSource source;
  std::unique_ptr<TacSkinConvertor> convertor;
  try {
    if (DirectoryExists(Path)) {
      source.SkinPath = IncludeTrailingPathDelimiter(Path);
      if (!FileExists(source.SkinPath + "Options.dat")) {
        report.Add(fkError, "", "", "no Options.dat in the folder");
        return TacLintResult{report.Findings()};
      }
      TFileStream options(source.SkinPath + "Options.dat", fmOpenRead | fmShareDenyWrite);
      text.LoadFromStream(&options, &report);
    } else {
      TacSkinConvertor* c = nullptr;
      LoadSkinFromFile(Path, c, true);
      convertor.reset(c);
      if (!convertor) {
        report.Add(fkError, "", "", "no such folder or file");
        return TacLintResult{report.Findings()};
      }
      if (!convertor->Options) {
        report.Add(fkError, "", "", "the container has no Options.dat entry");
        return TacLintResult{report.Findings()};
      }
      convertor->Options->SetPosition(0);
      text.LoadFromStream(convertor->Options, &report);
      source.Convertor = convertor.get();
    }
    CheckGlobals(text, Options, report);
    CheckImageValues(text, report);
    TacSkinTables tables;
    TacSkinLoader loader(text, source, TacSkinLoadOptions{}, TacSkinServices::Platform(), &report);
    loader.Load(tables);
    if (Options.Contrast) CheckTextContrast(tables, report);
  } catch (const EacSkinError& e) {
    report.Add(fkError, e.Section(), e.Key(), e.Reason());
  } catch (const Exception& e) {
    report.Add(fkError, "", "", e.Message);
  }
  return TacLintResult{report.Findings()};
}
