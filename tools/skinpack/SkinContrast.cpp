#include "SkinContrast.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <tuple>

#include "skin/graphics/acBitmap.h"
#include "skin/graphics/sAlphaGraph.h"

namespace {

struct TRgb {
  int R = 0, G = 0, B = 0;
  bool operator<(const TRgb& o) const { return std::tie(R, G, B) < std::tie(o.R, o.G, o.B); }
  bool operator==(const TRgb& o) const { return R == o.R && G == o.G && B == o.B; }
};
using TColours = std::vector<TRgb>;

TRgb FromTColor(TColor c) { return {int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)}; }
TRgb FromPixel(std::uint32_t p) { return {int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p & 0xFF)}; }

int Clamp8(double v) { return v < 0 ? 0 : v > 255 ? 255 : int(v + 0.5); }

// a at t = 0, b at t = 1.
TRgb Mix(const TRgb& a, const TRgb& b, double t) {
  return {Clamp8(a.R + (b.R - a.R) * t), Clamp8(a.G + (b.G - a.G) * t), Clamp8(a.B + (b.B - a.B) * t)};
}

double Linear(int v) {
  const double c = v / 255.0;
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(const TRgb& c) { return 0.2126 * Linear(c.R) + 0.7152 * Linear(c.G) + 0.0722 * Linear(c.B); }

// Sections whose text the program draws; a transparent one shows its
// container (or the section named below it) through.
const char* const kContainers[] = {"GLOBALINFO", "FORM", "DIALOG", "PANEL", "PANEL_LOW", "TABSHEET", "PAGECONTROL"};
const char* const kTextOnly[] = {"FORMTITLE", "DIALOGTITLE", "CAPTION", "MENULINE", "MENUITEM", "MENUCAPTION",
                                 "EXTRALINE", "HINT", "TRANSPARENT", "GROUPBOX", "BAR", "BUTTON", "SPEEDBUTTON",
                                 "SPEEDBUTTON_SMALL", "TOOLBUTTON", "WEBBUTTON", "COLHEADER", "EDIT", "COMBOBOX",
                                 "CHECKBOX", "SELECTION", "TOOLBAR", "STATUSBAR", "GAUGE", "TABTOP", "TABBOTTOM",
                                 "TABLEFT", "TABRIGHT"};

struct TBehind {
  const char* Section;
  const char* Under;
};
const TBehind kBehind[] = {
    {"CAPTION", "FORMTITLE"}, {"MENUITEM", "MAINMENU"}, {"TOOLBUTTON", "TOOLBAR"}, {"DIALOGTITLE", "FORMTITLE"}};

// Border images whose centre is painted (the painter's flag 4) unless the
// normal state leaves it (flag 2).
constexpr int kPaintsCentre = 4, kNoNormalCentre = 2;

class TContrastCheck {
 public:
  TContrastCheck(const TacSkinTables& Skin, TacSkinReport& Report) : FSkin(Skin), FReport(Report) {}

  void Run() {
    std::vector<AnsiString> sections(std::begin(kContainers), std::end(kContainers));
    sections.insert(sections.end(), std::begin(kTextOnly), std::end(kTextOnly));
    for (const AnsiString& s : sections) {
      const Integer i = FSkin.GetSkinIndex(s);
      if (i < 0) continue;
      Check(s, "FONTCOLOR", Font(i, false), Backgrounds(s, false, 0));
      if (HasHotLook(i)) Check(s, "HOTFONTCOLOR", Font(i, true), Backgrounds(s, true, 0));
    }
    // Menu-line captions take the menu line's colours over the items' looks.
    const Integer line = FSkin.GetSkinIndex("MENULINE");
    if (line >= 0 && FSkin.GetSkinIndex("MENUITEM") >= 0) {
      Check("MENULINE", "FONTCOLOR", Font(line, false), Backgrounds("MENULINE", true, 0), " in an active frame");
      Check("MENULINE", "HOTFONTCOLOR", Font(line, true), Backgrounds("MENUITEM", true, 0), " on a hot MENUITEM");
    }
  }

 private:
  const TacSkinTables& FSkin;
  TacSkinReport& FReport;

  bool HasHotLook(Integer i) const { return FSkin.Sections[i].StateCount >= 2; }
  const TsGenState& Look(Integer i, bool Hot) const { return FSkin.Sections[i].Props[Hot && HasHotLook(i) ? 1 : 0]; }
  TRgb Font(Integer i, bool Hot) const { return FromTColor(Look(i, Hot).FontColor.Color); }

  void Check(const AnsiString& Section, const AnsiString& Key, const TRgb& Font, const TColours& Under,
             const char* Where = "") {
    if (Under.empty()) return;
    const TRgb* worst = &Under.front();
    for (const TRgb& c : Under)
      if (Contrast(Font, c) < Contrast(Font, *worst)) worst = &c;
    const double ratio = Contrast(Font, *worst);
    if (ratio >= kMinimumContrast) return;
    char text[160];
    std::snprintf(text, sizeof text, "text (%d, %d, %d)%s on (%d, %d, %d): %.2f : 1, below %.1f : 1", Font.R, Font.G,
                  Font.B, Where, worst->R, worst->G, worst->B, ratio, kMinimumContrast);
    FReport.Add(fkError, Section, Key, text);
  }

  static double Contrast(const TRgb& a, const TRgb& b) {
    double la = Luminance(a), lb = Luminance(b);
    if (la < lb) std::swap(la, lb);
    return (la + 0.05) / (lb + 0.05);
  }

  std::uint32_t Pixel(const TsMaskData& Md, int X, int Y) const {
    TacBitmap* bmp = Md.Bitmap ? Md.Bitmap.get() : FSkin.MasterBitmap.get();
    if (X < 0 || Y < 0 || X >= BitmapWidth(bmp) || Y >= BitmapHeight(bmp)) return sFuchsia;
    return GetAPixel(bmp, X, Y).C & 0xFFFFFF;
  }

  // The darkest and the brightest pixel of a texture.
  TColours TextureColours(Integer TextureIndex) const {
    if (!FSkin.IsValidImgIndex(TextureIndex)) return {};
    const TsMaskData& md = FSkin.Masks[TextureIndex];
    TColours out;
    double low = 2, high = -1;
    for (int y = md.SrcRect.Top; y < md.SrcRect.Bottom; ++y)
      for (int x = md.SrcRect.Left; x < md.SrcRect.Right; ++x) {
        const TRgb c = FromPixel(Pixel(md, x, y));
        const double l = Luminance(c);
        if (out.empty()) out = {c, c};
        if (l < low) low = l, out[0] = c;
        if (l > high) high = l, out[1] = c;
      }
    return out;
  }

  TColours Fill(Integer i, bool Hot, const TColours& Parents) const {
    const TsGenState& look = Look(i, Hot);
    if (look.Transparency >= 100) return Parents;
    TColours colours{FromTColor(look.Color)};
    if (look.GradientPercent > 0)
      for (const TsGradPie& pie : look.GradientArray) {
        colours.push_back(FromTColor(pie.Color1));
        colours.push_back(FromTColor(pie.Color2));
      }
    if (look.ImagePercent > 0) {
      const TColours texture = TextureColours(look.TextureIndex);
      colours.insert(colours.end(), texture.begin(), texture.end());
    }
    if (look.Transparency <= 0) return colours;
    const double t = look.Transparency / 100.0;
    TColours mixed;
    for (const TRgb& c : colours)
      for (const TRgb& p : Parents) mixed.push_back(Mix(c, p, t));
    return mixed;
  }

  // Every colour the text of a section in a state may lie on.
  TColours Backgrounds(const AnsiString& Section, bool Hot, int Depth) const {
    const Integer i = FSkin.GetSkinIndex(Section);
    if (i < 0) return {};
    TColours parents;
    if (Look(i, Hot).Transparency > 0 && Depth < 2) {
      std::vector<AnsiString> under;
      for (const TBehind& b : kBehind)
        if (Section == b.Section) under.push_back(b.Under);
      if (under.empty()) under.assign(std::begin(kContainers), std::end(kContainers));
      for (const AnsiString& p : under) {
        if (p == Section || FSkin.GetSkinIndex(p) < 0) continue;
        const TColours more = Backgrounds(p, Hot && p == "FORMTITLE", Depth + 1);
        parents.insert(parents.end(), more.begin(), more.end());
      }
    }
    TColours colours = Fill(i, Hot, parents);
    AddCentre(i, Section, Hot, colours);
    std::sort(colours.begin(), colours.end());
    colours.erase(std::unique(colours.begin(), colours.end()), colours.end());
    return colours;
  }

  // The centre of the border image, where it is painted, over the fill.
  void AddCentre(Integer i, const AnsiString& Section, bool Hot, TColours& Colours) const {
    const Integer b = FSkin.Sections[i].BorderMask;
    if (Section == "GLOBALINFO" || !FSkin.IsValidImgIndex(b)) return;
    const TsMaskData& md = FSkin.Masks[b];
    if (!(md.FillMode & kPaintsCentre) || (!Hot && (md.FillMode & kNoNormalCentre))) return;
    const int columns = std::max<int>(1, md.Columns);
    const int w = WidthOfImage(md), h = HeightOfImage(md);
    const std::vector<TRgb> under(Colours.begin(), Colours.begin() + std::min<size_t>(1, Colours.size()));
    const int first = Hot ? 1 : 0, last = Hot ? columns - 1 : 0;
    std::set<std::pair<TRgb, int>> centre;
    for (int col = first; col <= last; ++col) {
      const int x0 = md.SrcRect.Left + std::min(col, columns - 1) * w, y0 = md.SrcRect.Top;
      for (int y = y0 + md.MarginTop; y < y0 + h - md.MarginBottom; ++y)
        for (int x = x0 + md.MarginLeft; x < x0 + w - md.MarginRight; ++x) {
          const std::uint32_t c = Pixel(md, x, y);
          if (c == sFuchsia) continue;
          const int mask = md.MaskKind ? int(Pixel(md, x, y + h) & 0xFF) : 0;
          centre.insert({FromPixel(c), mask});
        }
    }
    for (const auto& [c, mask] : centre) {
      if (mask && !under.empty())
        for (const TRgb& u : under) Colours.push_back(Mix(c, u, mask / 255.0));
      else
        Colours.push_back(c);
    }
  }
};

}  // namespace

void CheckTextContrast(const TacSkinTables& Skin, TacSkinReport& Report) { TContrastCheck(Skin, Report).Run(); }
