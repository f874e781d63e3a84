// The skin loader: from a skin text and the place its images come from (a
// skin folder or an unpacked container) to a new set of skin tables.
//
// The loader reads the images ("LoadAllMasks"), the texture pictures
// ("LoadAllPatterns") and the sections with their states and the palette
// ("LoadAllGeneralData"), then computes the constant indexes. What it drops
// or changes it reports with section and key and goes on; values it cannot
// use at all (a texture fill mode beyond the table, a border without columns
// whose margins or corners must be divided by them, a number field that is
// not a number) fail the load with EacSkinError or EConvertError naming them.
#pragma once

#include <functional>
#include <memory>
#include <unordered_map>

#include "skin/core/acSkinPack.h"
#include "skin/core/acSkinReport.h"
#include "skin/core/acSkinTables.h"
#include "skin/core/acSkinText.h"

class TacPixelBuffer;

// Where the image files of a skin come from.
struct TacSkinSource {
  // The unpacked container of a packed skin (its entries found by their
  // upper-cased names), or nullptr for a skin folder.
  TacSkinConvertor* Convertor = nullptr;
  // The folder relative file names resolve against (with its separator).
  AnsiString SkinPath;
};

// What the loader asks of the platform.
struct TacSkinServices {
  // The image of an outer effect drawn over the program's "BLUR5" picture,
  // W x 2W; nullptr where the program has none.
  std::function<std::unique_ptr<TacBitmap>(const TacOutEffData& Effect)> MakeOuterImage;
  // Reads a JPEG picture (nullptr for an empty one; raises for a broken
  // one) and draws a picture so read into a pixel buffer. Unset where JPEG
  // pictures are not decoded.
  std::function<std::unique_ptr<TObject>(TStream* Stream, Integer& Width, Integer& Height)> LoadJpeg;
  std::function<void(TObject* Picture, TacPixelBuffer& Pixels)> DrawJpeg;
  // The services of the platform the program runs on.
  static TacSkinServices Platform();
};

// What the manager adds to a load.
struct TacSkinLoadOptions {
  Integer HueOffset = 0, Saturation = 0, Brightness = 0;
  // The manager's additional INI text of sections (may be nullptr).
  TStrings* CommonSections = nullptr;
  // The manager the images belong to.
  TsSkinManager* Owner = nullptr;
  // A master bitmap no longer in use (may be nullptr or empty): a new master
  // of its size is written into it instead of a fresh one. Taken by the load.
  std::unique_ptr<TacBitmap>* SpareMaster = nullptr;
};

// The folder a skin directory names, the program being in AppPath (with its
// trailing separator): ".." at its start stands for AppPath's parent, "." or
// ".\\" for AppPath, and a name without ":" or "\\\\" lies in AppPath.
AnsiString FullSkinDirectory(const AnsiString& SkinDirectory, const AnsiString& AppPath);

// A picture as a skin bitmap: 32 bits, pictures of other depths getting
// alpha 255 except on the transparent key colour (nullptr for an empty one).
// Reuse as BitmapFromBuffer takes it.
std::unique_ptr<TacBitmap> SkinBitmapOf(const TacPixelBuffer& Pixels, std::unique_ptr<TacBitmap> Reuse = nullptr);

// The version of a skin text: GLOBALINFO's VERSION read with "." as the
// decimal separator, 0 when absent or not a number.
double SkinTextVersion(const TacSkinText& Text);

class TacSkinLoader {
 public:
  TacSkinLoader(const TacSkinText& Text, const TacSkinSource& Source, const TacSkinLoadOptions& Options,
                const TacSkinServices& Services, TacSkinReport* Report);

  // The three passes into the (empty) tables, then the constant indexes.
  void Load(TacSkinTables& Tables);
  void LoadAllMasks(TacSkinTables& Tables);
  void LoadAllPatterns(TacSkinTables& Tables);
  void LoadAllGeneralData(TacSkinTables& Tables);

  // A file of the skin: the packed entry whose upper-cased name is
  // PackedName, or the file FileName (relative to the skin path unless it
  // names a drive); nullptr when missing.
  std::unique_ptr<TStream> OpenFile(const AnsiString& PackedName, const AnsiString& FileName) const;
  // The file FileName, also when the skin is packed.
  std::unique_ptr<TStream> OpenPlainFile(const AnsiString& FileName) const;

 private:
  friend class TacSectionReader;
  void Report(TacFindingKind Kind, const AnsiString& Section, const AnsiString& Key, const AnsiString& Reason) const;
  void LoadMaster(TacSkinTables& t);
  void AddImage(TacSkinTables& t, const AnsiString& Section, const AnsiString& Key, const AnsiString& Value);
  // Reads a picture (bitmap or PNG) into Pixels; false when there is no
  // stream (reported as missing); raises for a broken picture.
  bool ReadPicture(const AnsiString& Section, const AnsiString& Key, const AnsiString& FileName,
                   std::unique_ptr<TStream> Stream, bool Png, TacPixelBuffer& Pixels) const;
  void AddCommonSectionImages(TacSkinTables& t);
  void AddPatterns(TacSkinTables& t, const TacSkinText& Text, bool FromSkin);
  void LoadOuterEffects(TacSkinTables& t);
  void LoadPalette(TacSkinTables& t);

  const TacSkinText& FText;
  TacSkinSource FSource;
  TacSkinLoadOptions FOptions;
  TacSkinServices FServices;
  TacSkinReport* FReport;
  std::unordered_map<AnsiString, size_t> FPackedEntries;  // upper-cased name -> image item
};
