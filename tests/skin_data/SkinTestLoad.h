// Loading a skin made by a test: its text and files in a folder of their own,
// read by the engine's loader into tables, with the findings.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "SkinFixture.h"
#include "skin/core/acSkinLoad.h"

namespace skinfixture {

// A 96 x 96 grey master image with a key-coloured (0xFF00FF) square in its
// top-left corner.
inline TPicture Master96() {
  TPicture p(96, 96, 0x808080);
  p.Fill(0, 0, 4, 4, 0xFF00FF);
  return p;
}

// The text of a skin on top of a GLOBALINFO section with a version and the
// master image.
inline std::string WithGlobals(const std::string& globalKeys, const std::string& sections) {
  return "[GLOBALINFO]\nVERSION=8.00\nMASTERBITMAP=MASTER.BMP\n" + globalKeys + sections;
}

struct TLoaded {
  std::unique_ptr<TacSkinTables> Tables = std::make_unique<TacSkinTables>();
  TacSkinReport Report;
  AnsiString Error;  // the message of a failed load

  bool HasFinding(TacFindingKind kind, const AnsiString& section, const AnsiString& key) const {
    for (const auto& f : Report.Findings())
      if (f.Kind == kind && f.Section == section && f.Key == key) return true;
    return false;
  }
  const TsGeneralData& Section(const AnsiString& name) const {
    return Tables->Sections.at(static_cast<size_t>(Tables->GetSkinIndex(name)));
  }
  const TsMaskData* Image(const AnsiString& section, const AnsiString& key) const {
    Integer i = Tables->GetMaskIndex(section, key);
    return i < 0 ? nullptr : &Tables->Masks[static_cast<size_t>(i)];
  }
};

// Writes the skin into a folder and loads it; Files maps file names to their bytes.
inline TLoaded LoadSkin(const std::string& text, const std::map<std::string, std::string>& files = {},
                        const TacSkinLoadOptions& options = {}) {
  TTempDir dir("load");
  WriteFile(dir.Path / "Options.dat", text);
  for (const auto& [name, bytes] : files) WriteFile(dir.Path / name, bytes);
  TLoaded out;
  TacSkinText skinText;
  skinText.LoadFromText(text, &out.Report);
  TacSkinSource source;
  source.SkinPath = IncludeTrailingPathDelimiter(dir.Path.string());
  try {
    TacSkinLoader loader(skinText, source, options, TacSkinServices::Platform(), &out.Report);
    loader.Load(*out.Tables);
  } catch (const Exception& e) {
    out.Error = e.Message;
  }
  return out;
}

inline TLoaded LoadWithMaster(const std::string& text, const TPicture& master = Master96()) {
  return LoadSkin(text, {{"MASTER.BMP", BmpFile(master)}});
}

}  // namespace skinfixture
