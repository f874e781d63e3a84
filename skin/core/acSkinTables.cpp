#include "skin/core/acSkinTables.h"

#include <algorithm>

#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

TacSkinTables::TacSkinTables() {
  Palette.fill(0);
  InitConstantIndexes();
}

TacSkinTables::~TacSkinTables() = default;

void TacSkinTables::SwapTables(TacSkinTables& Other) {
  std::swap(Masks, Other.Masks);
  std::swap(Patterns, Other.Patterns);
  std::swap(Sections, Other.Sections);
  std::swap(OutEffects, Other.OutEffects);
  std::swap(ConstData, Other.ConstData);
  std::swap(CommonSkinData, Other.CommonSkinData);
  std::swap(Palette, Other.Palette);
  std::swap(MasterBitmap, Other.MasterBitmap);
  std::swap(ShadowActive, Other.ShadowActive);
  std::swap(ShadowInactive, Other.ShadowInactive);
  std::swap(ShadowMargins, Other.ShadowMargins);
  InvalidateIndexes();
  Other.InvalidateIndexes();
}

// ------------------------------------------------------------------ lookups

AnsiString TacSkinTables::PairKey(const AnsiString& Section, const AnsiString& Prop) {
  AnsiString key;
  key.reserve(Section.size() + Prop.size() + 1);
  key += Section;
  key += '\0';
  key += Prop;
  return key;
}

void TacSkinTables::InvalidateIndexes() const { FIndexed = false; }

void TacSkinTables::BuildIndexes() const {
  if (FIndexed && FIndexedSections == Sections.size() && FIndexedMasks == Masks.size() &&
      FIndexedPatterns == Patterns.size())
    return;
  // Each map keeps the first entry of a name, as a search from the start finds it.
  FSectionIndex.clear();
  FMaskIndex.clear();
  FTextureIndex.clear();
  FPatternIndex.clear();
  for (size_t i = 0; i < Sections.size(); ++i) FSectionIndex.emplace(Sections[i].SectionName, static_cast<Integer>(i));
  for (size_t i = 0; i < Masks.size(); ++i) {
    const AnsiString key = PairKey(Masks[i].SectionName, Masks[i].PropName);
    FMaskIndex.emplace(key, static_cast<Integer>(i));
    if (Masks[i].ImageKind == itisaTexture) FTextureIndex.emplace(key, static_cast<Integer>(i));
  }
  for (size_t i = 0; i < Patterns.size(); ++i)
    FPatternIndex.emplace(PairKey(Patterns[i].SectionName, Patterns[i].PropName), static_cast<Integer>(i));
  FIndexedSections = Sections.size();
  FIndexedMasks = Masks.size();
  FIndexedPatterns = Patterns.size();
  FIndexed = true;
}

Integer TacSkinTables::GetSkinIndex(const AnsiString& Name) const {
  if (Name.empty()) return -1;
  BuildIndexes();
  auto it = FSectionIndex.find(Name);
  return it == FSectionIndex.end() ? -1 : it->second;
}

template <class Table>
Integer TacSkinTables::Inherited(Integer SkinIndex, const AnsiString& SectionName, const AnsiString& PropName,
                                 const Table& Lookup) const {
  if (SkinIndex < 0 || SectionName.empty()) return -1;
  BuildIndexes();
  // The sections seen on the way up: a parent class that leads back to one
  // of them ends the search.
  std::vector<Integer> seen;
  AnsiString section = SectionName;
  Integer index = SkinIndex;
  while (true) {
    auto it = Lookup.find(PairKey(section, PropName));
    if (it != Lookup.end()) return it->second;
    if (!IsValidSkinIndex(index)) return -1;
    seen.push_back(index);
    const AnsiString& parent = Sections[static_cast<size_t>(index)].ParentClass;
    if (parent.empty() || parent == section) return -1;
    const Integer parentIndex = GetSkinIndex(parent);
    if (parentIndex < 0 || std::find(seen.begin(), seen.end(), parentIndex) != seen.end()) return -1;
    section = parent;
    index = parentIndex;
  }
}

Integer TacSkinTables::GetMaskIndex(Integer SkinIndex, const AnsiString& SectionName, const AnsiString& PropName) const {
  return Inherited(SkinIndex, SectionName, PropName, FMaskIndex);
}

Integer TacSkinTables::GetMaskIndex(const AnsiString& SectionName, const AnsiString& PropName) const {
  if (SectionName.empty()) return -1;
  BuildIndexes();
  auto it = FMaskIndex.find(PairKey(SectionName, PropName));
  return it == FMaskIndex.end() ? -1 : it->second;
}

Integer TacSkinTables::GetTextureIndex(Integer SkinIndex, const AnsiString& SectionName,
                                       const AnsiString& PropName) const {
  if (Masks.empty()) return -1;
  return Inherited(SkinIndex, SectionName, PropName, FTextureIndex);
}

Integer TacSkinTables::GetPatternIndex(Integer SkinIndex, const AnsiString& SectionName,
                                       const AnsiString& PropName) const {
  if (Patterns.empty()) return -1;
  return Inherited(SkinIndex, SectionName, PropName, FPatternIndex);
}

Integer TacSkinTables::MaskWidth(Integer i, SmallInt TsMaskData::*Margin, bool Horizontal) {
  TsMaskData& md = Masks[static_cast<size_t>(i)];
  if (md.*Margin >= 1) return md.*Margin;
  if (md.UniformMargin >= 1) return md.UniformMargin;
  if (md.Columns == 0) md.Columns = 1;
  return Horizontal ? WidthOfImage(md) : HeightOfImage(md);
}

Integer TacSkinTables::MaskWidthLeft(Integer i) { return MaskWidth(i, &TsMaskData::MarginLeft, true); }
Integer TacSkinTables::MaskWidthTop(Integer i) { return MaskWidth(i, &TsMaskData::MarginTop, false); }
Integer TacSkinTables::MaskWidthRight(Integer i) { return MaskWidth(i, &TsMaskData::MarginRight, true); }
Integer TacSkinTables::MaskWidthBottom(Integer i) { return MaskWidth(i, &TsMaskData::MarginBottom, false); }

void TacSkinTables::GetSkinSections(TStrings* List) const {
  List->Clear();
  if (!CommonSkinData.Active) return;
  for (const TsGeneralData& s : Sections) List->Add(s.SectionName);
}

// ------------------------------------------------------------ derived values

namespace {
const char* const kTabSections[4] = {"TABLEFT", "TABTOP", "TABRIGHT", "TABBOTTOM"};
const char* const kScrollButtonSections[4] = {"SCROLLBTNLEFT", "SCROLLBTNTOP", "SCROLLBTNRIGHT", "SCROLLBTNBOTTOM"};
const char* const kScrollBarSections[4] = {"SCROLLBAR1H", "SCROLLBAR1V", "SCROLLBAR2H", "SCROLLBAR2V"};
const char* const kSliderSections[2] = {"SCROLLSLIDERH", "SCROLLSLIDERV"};
const AnsiString kGlobalInfo = "GLOBALINFO";
// The margins of the program's own shadow templates.
constexpr Integer kDefaultShadowMargin = 9;
}  // namespace

void TacSkinTables::InitConstantIndexes() {
  TConstantSkinData& c = ConstData;
  c.GlobalInfoIndex = GetSkinIndex(kGlobalInfo);
  auto global = [&](const AnsiString& key) { return GetMaskIndex(c.GlobalInfoIndex, kGlobalInfo, key); };
  for (size_t i = 0; i < c.CheckGlyphs.size(); ++i) c.CheckGlyphs[i] = global(acCheckGlyphKeys[i]);
  c.ExBorderMask = global("EXBORDER");
  c.GripImage = global("GRIPIMAGE");
  c.GripHorz = global("GRIPHORZ");
  c.GripVert = global("GRIPVERT");

  auto element = [&](TacConstElementData& e, const AnsiString& name) {
    e.SectionName = name;
    e.SectionIndex = GetSkinIndex(name);
    e.BorderMask = GetMaskIndex(e.SectionIndex, name, "BORDERSMASK");
    e.GlyphMask = GetMaskIndex(e.SectionIndex, name, "GLYPHMASK");
    e.PatternMask = GetMaskIndex(e.SectionIndex, name, "PATTERN");
    e.HotPatternMask = GetMaskIndex(e.SectionIndex, name, "HOTPATTERN");
  };
  element(c.ComboButton, "COMBOBTN");
  for (size_t i = 0; i < 4; ++i) {
    element(c.Tabs[i], kTabSections[i]);
    element(c.ScrollButtons[i], kScrollButtonSections[i]);
    element(c.ScrollBars[i], kScrollBarSections[i]);
  }
  for (size_t i = 0; i < 2; ++i) element(c.ScrollSliders[i], kSliderSections[i]);
  c.ComboButton.GlyphMask = GetMaskIndex("COMBOBOX", "GLYPHMASK");

  for (size_t i = 0; i < c.TitleIcons.size(); ++i) c.TitleIcons[i] = global(acTitleIconKeys[i]);
  for (size_t i = 0; i < c.CommonSectionIndexes.size(); ++i) c.CommonSectionIndexes[i] = GetSkinIndex(acSectNames[i]);
  InitMaskIndexes();
  CheckShadows();
}

void TacSkinTables::InitMaskIndexes() {
  for (size_t n = 0; n < Sections.size(); ++n) {
    const Integer i = static_cast<Integer>(n);
    if (i == ConstData.GlobalInfoIndex) continue;
    TsGeneralData& s = Sections[n];
    const AnsiString& name = s.SectionName;
    s.BorderMask = GetMaskIndex(i, name, "BORDERSMASK");
    s.OuterMask = GetMaskIndex(i, name, "OUTERMASK");
    s.CornerImages = {GetMaskIndex(i, name, "IMGTOPLEFT"), GetMaskIndex(i, name, "IMGTOPRIGHT"),
                      GetMaskIndex(i, name, "IMGBTMLEFT"), GetMaskIndex(i, name, "IMGBTMRIGHT")};
    s.PatternIndex = GetTextureIndex(i, name, "PATTERN");
    s.Props[0].TextureIndex = s.PatternIndex;
    // A one-state section's hot look is its normal look, texture included.
    s.Props[1].TextureIndex = s.StateCount >= 2 ? GetTextureIndex(i, name, "HOTPATTERN") : s.PatternIndex;
  }
}

void TacSkinTables::CheckShadows() {
  if (!ShadowsWanted()) {
    ShadowMargins = TRect{};
    return;
  }
  ShadowActive.reset();
  ShadowInactive.reset();
  ShadowMargins = TRect{};
  // Without an EXBORDER image the program's own templates stand in.
  if (!IsValidImgIndex(ConstData.ExBorderMask)) {
    const TacBitmap* active = DefaultShadow(true);
    const TacBitmap* inactive = DefaultShadow(false);
    if (!active || !inactive) return;
    ShadowActive = CloneBitmap32(const_cast<TacBitmap*>(active));
    ShadowInactive = CloneBitmap32(const_cast<TacBitmap*>(inactive));
    ShadowMargins = TRect{kDefaultShadowMargin, kDefaultShadowMargin, kDefaultShadowMargin, kDefaultShadowMargin};
    return;
  }
  TsMaskData& e = Masks[static_cast<size_t>(ConstData.ExBorderMask)];
  const Integer offset = CommonSkinData.FormOffset;
  if (CommonSkinData.BorderMode != 0)
    ShadowMargins = TRect{offset, offset, offset, offset};
  else
    ShadowMargins = TRect{e.MarginLeft - offset, e.MarginTop - offset, e.MarginRight - offset, e.MarginBottom - offset};
  const Integer w = WidthOfImage(e), h = HeightOfImage(e);
  // An EXBORDER cut from the master image is copied from its place there.
  TacBitmap* source = e.Bitmap ? e.Bitmap.get() : MasterBitmap.get();
  const TPoint origin = e.Bitmap ? TPoint{0, 0} : TPoint{e.SrcRect.Left, e.SrcRect.Top};
  ShadowInactive = CreateBmp32(w, h);
  CopyPixels32(ShadowInactive.get(), 0, 0, source, Bounds(origin.X, origin.Y, w, h));
  ShadowActive = CreateBmp32(w, h);
  CopyPixels32(ShadowActive.get(), 0, 0, source, Bounds(origin.X + (e.Columns == 1 ? 0 : w), origin.Y, w, h));
  if (CommonSkinData.Version < 7.6) {
    UpdateTransPixels(ShadowActive.get());
    UpdateTransPixels(ShadowInactive.get());
  }
}
