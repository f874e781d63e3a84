// The sections of a skin with the looks of their states, the skin-wide
// values of GLOBALINFO, the sections the manager adds and the palette.
#include <climits>
#include <unordered_map>
#include <unordered_set>

#include "skin/core/acSkinAdjust.h"
#include "skin/core/acSkinLoad.h"
#include "skin/core/acntUtils.h"
#include "skin/graphics/Sgradient.h"
#include "skin/graphics/acSysColors.h"
#include "skin/graphics/sGraphUtils.h"

namespace {
const AnsiString kGlobalInfo = "GLOBALINFO";
const Integer kNoMax = INT_MAX;
}  // namespace

// Values of a section read through its parent classes. A parent class that
// leads back to a section already on the way counts as absent (reported
// once per section).
class TacSectionReader {
 public:
  TacSectionReader(const TacSkinLoader& Loader) : FLoader(Loader), FText(Loader.FText) {}

  AnsiString String(const AnsiString& Section, const AnsiString& Key, const AnsiString& Default) {
    const AnsiString* v = Lookup(Section, Key, [](const AnsiString& s) { return s != "?"; }, nullptr);
    return v ? *v : Default;
  }

  bool Bool(const AnsiString& Section, const AnsiString& Key, bool Default) {
    const AnsiString* v = Lookup(Section, Key, [](const AnsiString& s) { return s != "?"; }, nullptr);
    return v ? (*v == "TRUE" || *v == "1") : Default;
  }

  // Default when absent (or -1); a value found in a parent goes through the
  // system colours; then limited to Min..Max.
  Integer Int(const AnsiString& Section, const AnsiString& Key, Integer Default, Integer Max, Integer Min = INT_MIN) {
    bool fromParent = false;
    const AnsiString* v = Lookup(Section, Key, [](const AnsiString& s) { return IntegerOf(s) != -1; }, &fromParent);
    if (!v) return Default;
    Integer value = IntegerOf(*v);
    if (fromParent) value = acColorToRGB(value);
    if (value > Max || value < Min) {
      const Integer limited = value > Max ? Max : Min;
      FLoader.Report(fkChanged, Section, Key,
                     IntToStr(value) + " is taken as " + IntToStr(limited) + " (" + IntToStr(Min == INT_MIN ? 0 : Min) +
                         ".." + IntToStr(Max) + ")");
      value = limited;
    }
    return value;
  }

 private:
  // The class library's integer reading of a value; -1 when it is not one.
  static Integer IntegerOf(const AnsiString& s) {
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) return StrToIntDef("$" + s.substr(2), -1);
    return StrToIntDef(s, -1);
  }

  // A section and its parents, nearest first, resolved once per section:
  // every key of a section is looked up along the same chain.
  struct TChain {
    std::vector<const TacSkinText::TSection*> Sections;
    const AnsiString* CycleParent = nullptr;  // where the chain turned back, if it did
  };

  const TChain& ChainOf(const AnsiString& Section) {
    auto found = FChains.find(Section);
    if (found != FChains.end()) return found->second;
    TChain chain;
    const TacSkinText::TSection* s = FText.FindSection(Section);
    while (s) {
      chain.Sections.push_back(s);
      const AnsiString* parent = Value(s, "PARENTCLASS");
      if (!parent || parent->empty() || *parent == "?" || *parent == s->Name) break;
      bool cycle = false;
      for (const TacSkinText::TSection* seen : chain.Sections) cycle = cycle || seen->Name == *parent;
      if (cycle) {
        chain.CycleParent = parent;
        break;
      }
      s = FText.FindSection(*parent);
    }
    return FChains.emplace(Section, std::move(chain)).first->second;
  }

  static const AnsiString* Value(const TacSkinText::TSection* s, const AnsiString& Key) {
    auto it = s->Index.find(Key);
    return it == s->Index.end() ? nullptr : &s->Keys[it->second].Value;
  }

  template <class Present>
  const AnsiString* Lookup(const AnsiString& Section, const AnsiString& Key, Present present, bool* fromParent) {
    const TChain& chain = ChainOf(Section);
    for (size_t depth = 0; depth < chain.Sections.size(); ++depth) {
      const AnsiString* v = Value(chain.Sections[depth], Key);
      if (v && present(*v)) {
        if (fromParent) *fromParent = depth > 0;
        return v;
      }
    }
    if (chain.CycleParent && FCycleReported.insert(Section).second)
      FLoader.Report(fkChanged, Section, "PARENTCLASS",
                     "the parent classes lead back to \"" + *chain.CycleParent + "\"; inherited values count as absent");
    return nullptr;
  }

  const TacSkinLoader& FLoader;
  const TacSkinText& FText;
  std::unordered_set<AnsiString> FCycleReported;
  std::unordered_map<AnsiString, TChain> FChains;
};

namespace {

// A palette entry read from GLOBALINFO with a fixed default. The caution and
// bypassed colours take the alert colours where the skin gives them (the
// skin text has no keys of their own).
struct TPaletteKey {
  TacPaletteColors Entry;
  const char* Key;
  TColor Default;
};
const TPaletteKey kFixedPaletteKeys[] = {
    {pcEditText_Ok, "EDITTEXT_OK", 0x008000},       {pcEditText_Warning, "EDITTEXT_WARN", 0x008484},
    {pcEditText_Alert, "EDITTEXT_ALERT", 0x0000FF}, {pcEditText_Caution, "EDITTEXT_ALERT", 0x8597D9},
    {pcEditText_Bypassed, "EDITTEXT_ALERT", 0x4AB28F}, {pcEditBG_Ok, "EDITBG_OK", 0x6CC2A5},
    {pcEditBG_Warning, "EDITBG_WARN", 0x40FFFF},    {pcEditBG_Alert, "EDITBG_ALERT", 0x95A7E9},
    {pcEditBG_Caution, "EDITBG_ALERT", 0x8597D9},   {pcEditBG_Bypassed, "EDITBG_ALERT", 0x4AB28F},
    {pcEditText_Highlight1, "EDITTEXT_H1", 0},      {pcEditText_Highlight2, "EDITTEXT_H2", 0},
    {pcEditText_Highlight3, "EDITTEXT_H3", 0},
};

void PrepareGradient(const AnsiString& section, const AnsiString& key, TsGenState& st, size_t minLength) {
  if (st.GradientData.size() < minLength) {
    st.GradientPercent = 0;
    return;
  }
  try {
    PrepareGradArray(st.GradientData, st.GradientArray);
  } catch (const EConvertError&) {
    throw EacSkinError(section, key, "\"" + st.GradientData + "\" is not a gradient (a word is not a number)");
  }
}

// The integer keys of a state's look: the key of the normal and of the hot
// state, the field, the default and the limits.
struct TStateKey {
  const char* Normal;
  const char* Hot;
  Integer& (*Field)(TsGenState&);
  Integer Default, Max, Min;
};
const TStateKey kStateKeys[] = {
    {"COLOR", "HOTCOLOR", [](TsGenState& s) -> Integer& { return s.Color; }, 0xFFFFFF, kNoMax, INT_MIN},
    {"FONTCOLOR", "HOTFONTCOLOR", [](TsGenState& s) -> Integer& { return s.FontColor.Color; }, 0, kNoMax, INT_MIN},
    {"TCLEFT", "HOTTCLEFT", [](TsGenState& s) -> Integer& { return s.FontColor.Left; }, -1, kNoMax, INT_MIN},
    {"TCTOP", "HOTTCTOP", [](TsGenState& s) -> Integer& { return s.FontColor.Top; }, -1, kNoMax, INT_MIN},
    {"TCRIGHT", "HOTTCRIGHT", [](TsGenState& s) -> Integer& { return s.FontColor.Right; }, -1, kNoMax, INT_MIN},
    {"TCBOTTOM", "HOTTCBOTTOM", [](TsGenState& s) -> Integer& { return s.FontColor.Bottom; }, -1, kNoMax, INT_MIN},
    {"GCOL", "HGCOL", [](TsGenState& s) -> Integer& { return s.GlowColor; }, 0xFFFFFF, kNoMax, INT_MIN},
    {"GSIZE", "HGSIZE", [](TsGenState& s) -> Integer& { return s.GlowSize; }, 0, 255, INT_MIN},
    {"GRADIENTPERCENT", "HOTGRADIENTPERCENT", [](TsGenState& s) -> Integer& { return s.GradientPercent; }, 0, 100, 0},
    {"IMAGEPERCENT", "HOTIMAGEPERCENT", [](TsGenState& s) -> Integer& { return s.ImagePercent; }, 0, 100, 0},
    {"TRANSPARENCY", "HOTTRANSPARENCY", [](TsGenState& s) -> Integer& { return s.Transparency; }, 0, 100, 0},
};

void ReadState(TacSectionReader& r, const AnsiString& section, TsGenState& st, bool hot) {
  for (const TStateKey& k : kStateKeys) k.Field(st) = r.Int(section, hot ? k.Hot : k.Normal, k.Default, k.Max, k.Min);
  st.GradientData = r.String(section, hot ? "HOTGRADIENTDATA" : "GRADIENTDATA", " ");
}

// The copies of the states' values a section keeps beside them.
void FillLooks(TsGeneralData& g) {
  for (size_t i = 0; i < 2; ++i) {
    const TsGenState& st = g.Props[i];
    g.StateLooks[i] = TacStateLook{st.Color,        st.Transparency, st.GradientPercent, st.GradientData,
                                   st.GradientArray, st.ImagePercent, st.FontColor};
  }
  g.HotGlowColor = g.Props[1].GlowColor;
  g.GlowColor = g.Props[0].GlowColor;
  g.HotGlowSize = g.Props[1].GlowSize;
  g.GlowSize = g.Props[0].GlowSize;
}

TsGeneralData ReadSection(TacSectionReader& r, const TacSkinText& text, const AnsiString& name) {
  TsGeneralData g;
  g.SectionName = name;
  g.ParentClass = text.ReadString(name, "PARENTCLASS", "");
  g.ReservedBoolean = r.Bool(name, "RESERVEDBOOLEAN", false);
  g.GiveOwnFont = r.Bool(name, "GIVEOWNFONT", false);
  g.Glow = r.Int(name, "GLOW", 0, 255);
  g.GlowMargin = r.Int(name, "GLOWMARGIN", 0, 255);
  g.StateCount = r.Int(name, "STATES", 3, 255, 1);
  g.OuterMode = r.Int(name, "OUTERMODE", 2, kNoMax);
  g.OuterOpacity = r.Int(name, "OUTOPACITY", 200, 255);
  const char* const offsets[4] = {"OUTOFFSL", "OUTOFFST", "OUTOFFSR", "OUTOFFSB"};
  for (size_t i = 0; i < 4; ++i) g.OuterOffsets[i] = r.Int(name, offsets[i], 0, 255);
  ReadState(r, name, g.Props[0], false);
  PrepareGradient(name, "GRADIENTDATA", g.Props[0], 2);
  if (g.StateCount <= 1) {
    // One state: the hot look is the normal look, gradient and texture included.
    g.Props[1] = g.Props[0];
  } else {
    ReadState(r, name, g.Props[1], true);
    PrepareGradient(name, "HOTGRADIENTDATA", g.Props[1], 6);
  }
  FillLooks(g);
  return g;
}

// The GLOBALINFO keys read as plain integers with a fixed default.
struct TGlobalKey {
  const char* Key;
  Integer TsSkinData::*Field;
  Integer Default;
};
const TGlobalKey kGlobalKeys[] = {
    {"BORDERWIDTH", &TsSkinData::FormBorderWidth, 4},
    {"CENTEROFFSET", &TsSkinData::CenterOffset, 0},
    {"BORDERMODE", &TsSkinData::BorderMode, 0},
    {"BRIGHTMIN", &TsSkinData::BrightMin, -50},
    {"BRIGHTMAX", &TsSkinData::BrightMax, 50},
    {"BISPACE", &TsSkinData::BISpace, 0},
    {"BIVALIGN", &TsSkinData::BIVAlign, 0},
    {"BIRIGHT", &TsSkinData::BIRight, 0},
    {"BILEFT", &TsSkinData::BILeft, 0},
    {"BITOP", &TsSkinData::BITop, 0},
    {"BIKEEPHUE", &TsSkinData::BIKeepHue, 0},
    {"BICONCLOSEGLOW", &TsSkinData::CloseGlow, 0},
    {"BICONCLOSEGLOWMARGIN", &TsSkinData::CloseGlowMargin, 0},
    {"BICONMAXGLOW", &TsSkinData::MaxGlow, 0},
    {"BICONMAXGLOWMARGIN", &TsSkinData::MaxGlowMargin, 0},
    {"BICONMINGLOW", &TsSkinData::MinGlow, 0},
    {"BICONMINGLOWMARGIN", &TsSkinData::MinGlowMargin, 0},
    {"SHADOW1COLOR", &TsSkinData::Shadow1Color, 0},
    {"SHADOW1OFFSET", &TsSkinData::Shadow1Offset, 0},
    {"SHADOW1TRANSPARENCY", &TsSkinData::Shadow1Transparency, 0},
    {"SHADOW1BLUR", &TsSkinData::Shadow1Blur, -1},
    {"COMBOMARGIN", &TsSkinData::ComboMargin, 2},
    {"TABSCOVERING", &TsSkinData::TabsCovering, 0},
};

void ReadGlobalInfo(const TacSkinText& text, TsSkinData& d) {
  auto i = [&](const char* key, Integer def) { return text.ReadInteger(kGlobalInfo, key, def); };
  d.Version = SkinTextVersion(text);
  d.Author = text.ReadString(kGlobalInfo, "AUTHOR", "");
  d.Description = text.ReadString(kGlobalInfo, "DESCRIPTION", "");
  for (const TGlobalKey& k : kGlobalKeys) d.*k.Field = i(k.Key, k.Default);
  d.TitleHeight = i("TITLEHEIGHT", 30);
  if (d.TitleHeight == 0) d.TitleHeight = 30;
  d.MaxHeight = i("MAXHEIGHT", 0);
  if (d.MaxHeight == 0) d.MaxHeight = d.TitleHeight;
  d.FormOffset = i("FORMOFFSET", acFrameWidth());
  d.AlignOffsetLeft = i("ALIGNOFFSET", 0);
  d.AlignOffsetRight = i("ALIGNOFFSETR", d.AlignOffsetLeft);
  d.AlignOffsetTop = i("ALIGNOFFSETT", d.AlignOffsetLeft);
  d.AlignOffsetBottom = i("ALIGNOFFSETB", d.AlignOffsetLeft);
  d.AeroBlur = i("AEROBLUR", 0) != 0;
}

// A section the manager's additional text names and the skin lacks.
TsGeneralData ReadCommonSection(TStringList* lines, TStringList* sections, const AnsiString& name,
                                const TsGeneralDataArray& loaded) {
  auto str = [&](const char* key, const AnsiString& def) { return ReadIniString(lines, sections, name, key, def); };
  auto num = [&](const char* key, Integer def) { return ReadIniInteger(lines, sections, name, key, def); };
  TsGeneralData d;
  d.StateCount = 3;
  for (TsGenState& st : d.Props) {
    st.Color = st.GlowColor = 0xFFFFFF;
    st.FontColor = TsFontColor{-1, -1, -1, -1, -1};
    st.GradientData = " ";
  }
  const AnsiString parent = AnsiUpperCase(str("PARENTCLASS", "-1"));
  for (const TsGeneralData& s : loaded)
    if (AnsiUpperCase(s.SectionName) == parent) {
      d = s;
      break;
    }
  TsGeneralData g = d;
  g.SectionName = name;
  g.ParentClass = parent;
  g.StateCount = LimitIt(num("STATES", d.StateCount), 1, 255);
  auto state = [&](TsGenState& st, const TsGenState& def, bool hot) {
    TsGenState defaults = def;
    for (const TStateKey& k : kStateKeys)
      k.Field(st) = LimitIt(num(hot ? k.Hot : k.Normal, k.Field(defaults)), k.Min, k.Max);
    const char* data = hot ? "HOTGRADIENTDATA" : "GRADIENTDATA";
    st.GradientData = str(data, def.GradientData);
    st.GradientArray.clear();
    if (st.GradientData.size() > 5) PrepareGradient(name, data, st, 0);
  };
  state(g.Props[0], d.Props[0], false);
  if (g.StateCount >= 2)
    state(g.Props[1], d.Props[1], true);
  else
    g.Props[1] = g.Props[0];
  auto flag = [&](const char* key, bool def) {
    const AnsiString v = str(key, "?");
    return v == "?" ? def : (v == "TRUE" || v == "1");
  };
  g.ReservedBoolean = flag("RESERVEDBOOLEAN", d.ReservedBoolean);
  g.GiveOwnFont = flag("GIVEOWNFONT", d.GiveOwnFont);
  g.Glow = num("GLOW", d.Glow);
  g.GlowMargin = num("GLOWMARGIN", d.GlowMargin);
  g.BorderMask = g.PatternIndex = g.OuterMask = -1;
  g.CornerImages = {-1, -1, -1, -1};
  FillLooks(g);
  return g;
}

}  // namespace

void TacSkinLoader::LoadPalette(TacSkinTables& t) {
  TacPaletteArray& p = t.Palette;
  auto read = [&](const char* key, TColor def) { return FText.ReadInteger(kGlobalInfo, key, def); };
  p[pcMainColor] = read("COLOR", acColorToRGB(sysBtnFace));
  p[pcLabelText] = read("FONTCOLOR", 0);
  p[pcWebText] = read("TCBOTTOM", acColorToRGB(0xFF0000));
  p[pcWebTextHot] = read("TCTOP", acColorToRGB(0x0000FF));
  p[pcBorder] = read("BORDERCOLOR", 0);

  // The edit and selection colours come from sections.
  const Integer edit = t.GetSkinIndex("EDIT");
  if (edit >= 0) {
    const TsGenState& st = t.Sections[static_cast<size_t>(edit)].Props[0];
    p[pcEditText] = acColorToRGB(st.FontColor.Color);
    p[pcEditBG] = acColorToRGB(st.Color);
  } else {
    p[pcEditText] = acColorToRGB(sysWindowText);
    p[pcEditBG] = acColorToRGB(sysWindow);
  }
  const Integer selection = t.GetSkinIndex("SELECTION");
  if (selection >= 0) {
    const TsGeneralData& s = t.Sections[static_cast<size_t>(selection)];
    const TsGenState& focused = s.Props[s.StateCount > 1 ? 1 : 0];
    p[pcSelectionBG_Focused] = focused.Color;
    p[pcSelectionText_Focused] = focused.FontColor.Color;
    p[pcSelectionText] = s.Props[0].FontColor.Color;
    p[pcSelectionBG] = s.Props[0].Color;
  } else {
    p[pcSelectionBG_Focused] = p[pcSelectionText_Focused] = p[pcSelectionText] = p[pcSelectionBG] = -1;
  }
  if (p[pcSelectionText] == -1 || p[pcSelectionText] == sFuchsia) {
    const Integer menuItem = t.GetSkinIndex("MENUITEM");
    if (menuItem >= 0) {
      const TsGenState& hot = t.Sections[static_cast<size_t>(menuItem)].Props[1];
      p[pcSelectionText] = hot.FontColor.Color;
      p[pcSelectionBG] = p[pcSelectionBG_Focused] = hot.Color;
      if (p[pcSelectionText] != -1 && p[pcSelectionText] != sFuchsia)
        p[pcSelectionText] = acColorToRGB(p[pcSelectionText]);
      else
        p[pcSelectionText] = sysHighlightText;
      p[pcSelectionText_Focused] = p[pcSelectionText];
    } else {
      p[pcSelectionText_Focused] = p[pcSelectionText] = acColorToRGB(sysHighlightText);
      p[pcSelectionBG] = p[pcSelectionBG_Focused] = acColorToRGB(sysHighlight);
    }
  }

  for (const TPaletteKey& k : kFixedPaletteKeys) p[k.Entry] = read(k.Key, k.Default);
  p[pcEditText_Inverted] = read("EDITTEXT_INV", p[pcEditBG]);
  p[pcEditBG_Inverted] = read("EDITBG_INV", p[pcEditText]);
  p[pcEditBG_OddRow] = read("EDITBG_ODD", p[pcEditBG]);
  p[pcEditBG_EvenRow] = read("EDITBG_EVEN", MixColors(p[pcEditText], p[pcEditBG], 0.05));
}

void TacSkinLoader::LoadAllGeneralData(TacSkinTables& t) {
  ReadGlobalInfo(FText, t.CommonSkinData);
  LoadOuterEffects(t);

  TacSectionReader reader(*this);
  t.Sections.clear();
  t.Sections.reserve(FText.SectionCount() + 1);
  for (size_t s = 0; s < FText.SectionCount(); ++s) t.Sections.push_back(ReadSection(reader, FText, FText.Section(s).Name));
  t.InvalidateIndexes();

  if (FOptions.CommonSections && FOptions.CommonSections->Count() > 0) {
    TStringList lines, sections;
    lines.Assign(FOptions.CommonSections);
    GetIniSections(&lines, &sections);
    for (int i = 0; i < sections.Count(); ++i)
      if (t.GetSkinIndex(sections[i]) < 0) t.Sections.push_back(ReadCommonSection(&lines, &sections, sections[i], t.Sections));
    t.InvalidateIndexes();
  }
  t.ConstData.GlobalInfoIndex = t.GetSkinIndex(kGlobalInfo);
  t.InitMaskIndexes();
  LoadPalette(t);

  if (t.GetSkinIndex("TRANSPARENT") < 0) {
    TsGeneralData g;
    g.SectionName = "TRANSPARENT";
    g.StateCount = 1;
    for (TsGenState& st : g.Props) {
      st.Transparency = 100;
      st.Color = 0xFFFFFF;
      st.FontColor = TsFontColor{t.Palette[pcLabelText], -1, -1, -1, -1};
    }
    FillLooks(g);
    t.Sections.push_back(std::move(g));
    t.InvalidateIndexes();
  }
  ChangeSkinHue(t, FOptions.HueOffset);
  ChangeSkinSaturation(t, FOptions.Saturation);
  ChangeSkinBrightness(t, FOptions.Brightness);
}
