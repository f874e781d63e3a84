// The tables of a loaded skin that every painter reads, with their lookups:
// sections by name, images by section and key (inheriting through the
// sections' parent classes), the precomputed indexes and the palette. The
// skin manager is a set of these tables; the loader builds a new set apart
// and the manager takes it over only when the load succeeded.
#pragma once

#include <memory>
#include <unordered_map>

#include "skin/core/sMaskData.h"
#include "skin/core/sStyleSimply.h"

class TacSkinTables {
 public:
  TacSkinTables();
  virtual ~TacSkinTables();
  TacSkinTables(const TacSkinTables&) = delete;
  TacSkinTables& operator=(const TacSkinTables&) = delete;

  // Exchanges every table (and the skin-wide values) with Other's.
  void SwapTables(TacSkinTables& Other);

  TsMaskArray Masks;
  TsPatternArray Patterns;
  TsGeneralDataArray Sections;
  TacOutEffArray OutEffects;
  TConstantSkinData ConstData;
  TsSkinData CommonSkinData;
  TacPaletteArray Palette{};
  std::unique_ptr<TacBitmap> MasterBitmap;
  // The shadows of the extended borders and their margins.
  std::unique_ptr<TacBitmap> ShadowActive, ShadowInactive;
  TRect ShadowMargins;

  // ------------------------------------------------------------ lookups

  // The first section of that name (exact); -1 for an empty name or none.
  Integer GetSkinIndex(const AnsiString& Name) const;
  // The first image of the section and key; without one, the same in the
  // section's parent class, and so on up (a parent seen before ends the
  // search). -1 for a negative index, an empty name or no image.
  Integer GetMaskIndex(Integer SkinIndex, const AnsiString& SectionName, const AnsiString& PropName) const;
  // The first image of the section and key, without parents.
  Integer GetMaskIndex(const AnsiString& SectionName, const AnsiString& PropName) const;
  // As GetMaskIndex with parents, among texture images only.
  Integer GetTextureIndex(Integer SkinIndex, const AnsiString& SectionName, const AnsiString& PropName) const;
  // As GetMaskIndex with parents, among the texture pictures.
  Integer GetPatternIndex(Integer SkinIndex, const AnsiString& SectionName, const AnsiString& PropName) const;
  bool IsValidSkinIndex(Integer i) const { return i >= 0 && i < static_cast<Integer>(Sections.size()); }
  bool IsValidImgIndex(Integer i) const { return i >= 0 && i < static_cast<Integer>(Masks.size()); }
  // A border's width: its own margin, else the uniform margin, else the size
  // of one image (a Columns of 0 becomes 1 first).
  Integer MaskWidthLeft(Integer i);
  Integer MaskWidthTop(Integer i);
  Integer MaskWidthRight(Integer i);
  Integer MaskWidthBottom(Integer i);
  // The section names in table order (none while no skin is active).
  void GetSkinSections(TStrings* List) const;

  TColor GetGlobalColor() const { return Palette[pcMainColor]; }
  TColor GetGlobalFontColor() const { return Palette[pcLabelText]; }
  TColor GetActiveEditColor() const { return Palette[pcEditBG]; }
  TColor GetActiveEditFontColor() const { return Palette[pcEditText]; }
  TColor GetHighLightColor(bool Focused) const { return Palette[Focused ? pcSelectionBG_Focused : pcSelectionBG]; }
  TColor GetHighLightFontColor(bool Focused) const {
    return Palette[Focused ? pcSelectionText_Focused : pcSelectionText];
  }

  // ------------------------------------------------------------ derived values

  // The constant indexes, the images of every section and the shadows; run
  // after every load and change of the tables.
  void InitConstantIndexes();
  void InitMaskIndexes();
  void CheckShadows();
  // The lookups' indexes are built again on their next use (after the
  // tables were changed other than by appending).
  void InvalidateIndexes() const;

 protected:
  // Whether the extended borders (and so their shadows) are in effect.
  virtual bool ShadowsWanted() const { return false; }
  // The program's own shadow templates for a skin without an EXBORDER image
  // (nullptr: none).
  virtual const TacBitmap* DefaultShadow(bool Active) const { return nullptr; }

 private:
  template <class Table>
  Integer Inherited(Integer SkinIndex, const AnsiString& SectionName, const AnsiString& PropName,
                    const Table& Lookup) const;
  void BuildIndexes() const;
  Integer MaskWidth(Integer i, SmallInt TsMaskData::*Margin, bool Horizontal);
  static AnsiString PairKey(const AnsiString& Section, const AnsiString& Prop);

  mutable bool FIndexed = false;
  mutable size_t FIndexedSections = 0, FIndexedMasks = 0, FIndexedPatterns = 0;
  mutable std::unordered_map<AnsiString, Integer> FSectionIndex, FMaskIndex, FTextureIndex, FPatternIndex;
};
