// The skin loader on skins made here: the skin-wide values and sections of
// a fixture, and a table of variants of the text's rules and of the values
// the loader limits, drops or refuses.
#include <gtest/gtest.h>

#include <functional>

#include "../images/PngWriter.h"
#include "SkinTestLoad.h"
#include "skin/graphics/acSysColors.h"
#include "skin/graphics/sAlphaGraph.h"

using namespace skinfixture;

namespace {

const std::string kFixture =
    "[GLOBALINFO]\n"
    "VERSION=8.00\n"
    "MASTERBITMAP=MASTER.BMP\n"
    "TITLEHEIGHT=0\n"
    "ALIGNOFFSET=3\n"
    "BOXCHECKED=@0000@0000@0048@0032@3@1\n"
    "[EDIT]\n"
    "COLOR=16777215\n"
    "FONTCOLOR=0\n"
    "[BUTTON]\n"
    "STATES=300\n"
    "TRANSPARENCY=150\n"
    "COLOR=12632256\n"
    "TCLEFT=255\n"
    "GLOW=400\n"
    "BORDERSMASK=^0000^0032^0030^0092^0003^0003^0003^0003^3^1^4^0\n"
    "[BUTTON_SMALL]\n"
    "PARENTCLASS=BUTTON\n"
    "STATES=1\n"
    "TCLEFT=-1\n"
    "[button]\n"
    "COLOR=1\n";

bool SameLook(const TsGenState& a, const TsGenState& b) {
  return a.Color == b.Color && a.FontColor.Color == b.FontColor.Color && a.FontColor.Left == b.FontColor.Left &&
         a.GradientPercent == b.GradientPercent && a.GradientData == b.GradientData &&
         a.GradientArray.size() == b.GradientArray.size() && a.ImagePercent == b.ImagePercent &&
         a.TextureIndex == b.TextureIndex && a.GlowColor == b.GlowColor && a.GlowSize == b.GlowSize &&
         a.Transparency == b.Transparency;
}

TEST(SkinLoad, FixtureGivesTheSkinWideValuesSectionsImagesAndPalette) {
  TLoaded s = LoadWithMaster(kFixture);
  ASSERT_EQ(s.Error, "");
  const TsSkinData& d = s.Tables->CommonSkinData;
  EXPECT_DOUBLE_EQ(d.Version, 8.0);
  EXPECT_EQ(d.TitleHeight, 30);
  EXPECT_EQ(d.MaxHeight, 30);
  EXPECT_EQ(d.AlignOffsetLeft, 3);
  EXPECT_EQ(d.AlignOffsetRight, 3);
  EXPECT_EQ(d.AlignOffsetTop, 3);
  EXPECT_EQ(d.AlignOffsetBottom, 3);
  EXPECT_EQ(d.FormBorderWidth, 4);
  EXPECT_EQ(d.ComboMargin, 2);

  const TsGeneralData& button = s.Section("BUTTON");
  EXPECT_EQ(button.StateCount, 255);
  EXPECT_EQ(button.Props[0].Transparency, 100);
  EXPECT_EQ(button.Glow, 255);

  const TsGeneralData& small = s.Section("BUTTON_SMALL");
  EXPECT_EQ(small.StateCount, 1);
  EXPECT_TRUE(SameLook(small.Props[1], small.Props[0])) << "the hot look is the normal look";
  EXPECT_EQ(small.Props[0].FontColor.Left, 255) << "-1 reads on in the parent";
  EXPECT_EQ(small.Glow, 255);
  EXPECT_EQ(small.Props[0].Transparency, 100);
  ASSERT_GE(button.BorderMask, 0);
  EXPECT_EQ(small.BorderMask, button.BorderMask) << "the parent's border image";

  const TsMaskData& border = s.Tables->Masks[static_cast<size_t>(button.BorderMask)];
  EXPECT_EQ(WidthOfImage(border), 10);
  EXPECT_EQ(HeightOfImage(border), 30);
  EXPECT_EQ(border.MarginLeft, 3);
  EXPECT_EQ(border.MarginTop, 3);
  EXPECT_EQ(border.MarginRight, 3);
  EXPECT_EQ(border.MarginBottom, 3);
  EXPECT_EQ(border.FillMode, 4);

  const Integer box = s.Tables->ConstData.CheckGlyphs[cgBoxChecked];
  ASSERT_GE(box, 0);
  EXPECT_EQ(WidthOfImage(s.Tables->Masks[static_cast<size_t>(box)]), 16);
  EXPECT_EQ(HeightOfImage(s.Tables->Masks[static_cast<size_t>(box)]), 16);

  EXPECT_NE(s.Tables->GetSkinIndex("BUTTON"), s.Tables->GetSkinIndex("button")) << "names are case-sensitive";
  EXPECT_EQ(s.Section("button").Props[0].Color, 1);
  EXPECT_EQ(s.Tables->GetSkinIndex("Button"), -1);

  const TsGeneralData& transparent = s.Section("TRANSPARENT");
  EXPECT_EQ(transparent.StateCount, 1);
  EXPECT_EQ(transparent.Props[0].Transparency, 100);
  EXPECT_EQ(transparent.Props[1].Transparency, 100);

  const TacPaletteArray& p = s.Tables->Palette;
  EXPECT_EQ(p[pcEditBG_EvenRow], 0xF2F2F2);
  EXPECT_EQ(p[pcEditText], 0);
  EXPECT_EQ(p[pcEditBG], 0xFFFFFF);
  EXPECT_EQ(p[pcSelectionBG], acColorToRGB(sysHighlight));
  EXPECT_EQ(p[pcSelectionBG_Focused], acColorToRGB(sysHighlight));
  EXPECT_EQ(p[pcSelectionText], acColorToRGB(sysHighlightText));
  EXPECT_EQ(p[pcSelectionText_Focused], acColorToRGB(sysHighlightText));
  EXPECT_EQ(p[pcMainColor], acColorToRGB(sysBtnFace));

  // The master image: key pixels transparent, the rest opaque.
  EXPECT_EQ(GetAPixel(s.Tables->MasterBitmap.get(), 1, 1).C, 0x00FF00FFu);
  EXPECT_EQ(GetAPixel(s.Tables->MasterBitmap.get(), 50, 50).C, 0xFF808080u);
}

// A variant: the text of the sections (on top of GLOBALINFO with the
// master), further files, and what the load must give.
struct Variant {
  const char* Name;
  std::string Globals, Sections;
  std::function<void(std::map<std::string, std::string>&)> Files;
  std::function<void(const TLoaded&)> Check;
};

void KeyPixelAt(std::map<std::string, std::string>& files, int x, int y) {
  TPicture p(96, 96, 0x808080);
  p.At(x, y) = 0xFF00FF;
  files["MASTER.BMP"] = BmpFile(p);
}

const std::string kCornerBorder = "BORDERSMASK=^0020^0020^0050^0050^0005^0005^0005^0005^1^0^0^0\n";

const Variant kVariants[] = {
    {"a parent-class cycle ends and counts as absent", "",
     "[A]\nPARENTCLASS=B\n[B]\nPARENTCLASS=A\nBORDERSMASK=^0000^0000^0030^0030^0003^0003^0003^0003^1^0^0^0\n", nullptr,
     [](const TLoaded& s) {
       ASSERT_EQ(s.Error, "");
       EXPECT_EQ(s.Section("A").Props[0].Color, 0xFFFFFF);
       EXPECT_TRUE(s.HasFinding(fkChanged, "A", "PARENTCLASS"));
       EXPECT_EQ(s.Section("A").BorderMask, s.Section("B").BorderMask);
       EXPECT_EQ(s.Tables->GetMaskIndex(s.Tables->GetSkinIndex("A"), "A", "GLYPHMASK"), -1);
     }},
    {"STATES 0 is taken as 1", "", "[S]\nSTATES=0\n", nullptr,
     [](const TLoaded& s) {
       EXPECT_EQ(s.Section("S").StateCount, 1);
       EXPECT_TRUE(s.HasFinding(fkChanged, "S", "STATES"));
     }},
    {"percentages are kept in 0..100", "",
     "[S]\nSTATES=2\nTRANSPARENCY=-5\nGRADIENTPERCENT=120\nIMAGEPERCENT=-3\nHOTTRANSPARENCY=101\n", nullptr,
     [](const TLoaded& s) {
       const TsGeneralData& g = s.Section("S");
       EXPECT_EQ(g.Props[0].Transparency, 0);
       EXPECT_EQ(g.Props[0].GradientPercent, 0) << "no gradient data";
       EXPECT_EQ(g.Props[0].ImagePercent, 0);
       EXPECT_EQ(g.Props[1].Transparency, 100);
       EXPECT_TRUE(s.HasFinding(fkChanged, "S", "GRADIENTPERCENT"));
     }},
    {"a texture fill mode above 14 fails the load", "", "[S]\nPATTERN=~0000~0000~0010~0010~15\n", nullptr,
     [](const TLoaded& s) {
       EXPECT_NE(s.Error.find("\"S\""), AnsiString::npos) << s.Error;
       EXPECT_NE(s.Error.find("\"PATTERN\""), AnsiString::npos) << s.Error;
       EXPECT_NE(s.Error.find("fill mode 15"), AnsiString::npos) << s.Error;
     }},
    {"a border of 0 columns whose margins are computed fails the load", "",
     "[S]\nBORDERSMASK=^0000^0000^0030^0030^0000^0000^0000^0000^0^1^0^0\n", nullptr,
     [](const TLoaded& s) {
       EXPECT_NE(s.Error.find("\"BORDERSMASK\""), AnsiString::npos) << s.Error;
       EXPECT_EQ(s.Error.find("division"), AnsiString::npos) << s.Error;
     }},
    {"a border of 0 columns with margins fails at the corner scan", "",
     "[S]\nBORDERSMASK=^0000^0000^0030^0030^0003^0003^0003^0003^0^1^0^0\n", nullptr,
     [](const TLoaded& s) { EXPECT_NE(s.Error.find("0 columns"), AnsiString::npos) << s.Error; }},
    {"an own file of mask kind -1 without margins fails the load", "", "[S]\nBORDERSMASK=!X.BMP!1!-1\n",
     [](std::map<std::string, std::string>& f) { f["X.BMP"] = BmpFile(TPicture(12, 12, 0x404040)); },
     [](const TLoaded& s) { EXPECT_NE(s.Error.find("mask kind -1"), AnsiString::npos) << s.Error; }},
    {"a rectangle outside the master makes no entry", "", "[S]\nGLYPHMASK=@0090@0090@0100@0100@1@0\n", nullptr,
     [](const TLoaded& s) {
       EXPECT_EQ(s.Error, "");
       EXPECT_EQ(s.Image("S", "GLYPHMASK"), nullptr);
       EXPECT_TRUE(s.HasFinding(fkDropped, "S", "GLYPHMASK"));
     }},
    {"an empty rectangle makes no entry", "", "[S]\nGLYPHMASK=@0010@0010@0010@0020@1@0\n", nullptr,
     [](const TLoaded& s) { EXPECT_EQ(s.Image("S", "GLYPHMASK"), nullptr); }},
    {"mask rows below the master make no entry", "", "[S]\nGLYPHMASK=@0000@0080@0010@0100@1@1\n", nullptr,
     [](const TLoaded& s) { EXPECT_EQ(s.Image("S", "GLYPHMASK"), nullptr); }},
    {"without a master no image of it is made", "", "[S]\nGLYPHMASK=@0000@0000@0010@0010@1@0\n",
     [](std::map<std::string, std::string>& f) { f.erase("MASTER.BMP"); },
     [](const TLoaded& s) {
       EXPECT_EQ(s.Image("S", "GLYPHMASK"), nullptr);
       EXPECT_TRUE(s.HasFinding(fkDropped, "GLOBALINFO", "MASTERBITMAP"));
     }},
    {"a one-state section's hot look has the gradient and the texture", "",
     "[S]\nSTATES=1\nGRADIENTPERCENT=50\nGRADIENTDATA=16777215;0;100;0;0\nIMAGEPERCENT=20\n"
     "PATTERN=~0010~0010~0020~0020~00\n",
     nullptr,
     [](const TLoaded& s) {
       const TsGeneralData& g = s.Section("S");
       ASSERT_GE(g.Props[0].TextureIndex, 0);
       EXPECT_EQ(g.Props[1].TextureIndex, g.Props[0].TextureIndex);
       EXPECT_EQ(g.Props[1].GradientArray.size(), 1u);
       EXPECT_EQ(g.Props[1].GradientPercent, 50);
     }},
    {"a two-state section without HOTPATTERN has no hot texture", "",
     "[S]\nSTATES=2\nPATTERN=~0010~0010~0020~0020~00\n", nullptr,
     [](const TLoaded& s) {
       EXPECT_GE(s.Section("S").Props[0].TextureIndex, 0);
       EXPECT_EQ(s.Section("S").Props[1].TextureIndex, -1);
     }},
    {"a texture of 23 characters has mask kind 0, of 25 the digit", "",
     "[S]\nPATTERN=~0010~0010~0020~0020~03\nHOTPATTERN=~0010~0010~0020~0030~03~1\n", nullptr,
     [](const TLoaded& s) {
       ASSERT_NE(s.Image("S", "PATTERN"), nullptr);
       EXPECT_EQ(s.Image("S", "PATTERN")->MaskKind, 0);
       EXPECT_EQ(s.Image("S", "PATTERN")->FillMode, 3);
       ASSERT_NE(s.Image("S", "HOTPATTERN"), nullptr);
       EXPECT_EQ(s.Image("S", "HOTPATTERN")->MaskKind, 1);
       EXPECT_EQ(s.Image("S", "PATTERN")->ImageKind, itisaTexture);
     }},
    {"\"#\" alone is no image; the old inline form is", "", "[Old]\nNone=#\nImg=# 10,20,30,40 3,1,0,1\n", nullptr,
     [](const TLoaded& s) {
       EXPECT_EQ(s.Image("OLD", "NONE"), nullptr);
       EXPECT_EQ(s.Image("Old", "None"), nullptr);
       const TsMaskData* m = s.Image("OLD", "IMG");
       ASSERT_NE(m, nullptr) << "upper-cased names";
       EXPECT_EQ(m->SrcRect, Rect(10, 20, 30, 40));
       EXPECT_EQ(m->Columns, 3);
       EXPECT_EQ(m->MaskKind, 1);
       EXPECT_EQ(m->UniformMargin, 0);
       EXPECT_EQ(m->FillMode, 1);
     }},
    {"a key pixel in a corner box gives corner kind 1", "", "[S]\n" + kCornerBorder,
     [](std::map<std::string, std::string>& f) { KeyPixelAt(f, 24, 24); },
     [](const TLoaded& s) {
       ASSERT_NE(s.Image("S", "BORDERSMASK"), nullptr);
       EXPECT_EQ(s.Image("S", "BORDERSMASK")->CornerKind, 1);
     }},
    {"a key pixel one pixel outside the corner boxes gives 0", "", "[S]\n" + kCornerBorder,
     [](std::map<std::string, std::string>& f) { KeyPixelAt(f, 25, 24); },
     [](const TLoaded& s) {
       ASSERT_NE(s.Image("S", "BORDERSMASK"), nullptr);
       EXPECT_EQ(s.Image("S", "BORDERSMASK")->CornerKind, 0);
     }},
    {"a key pixel in the bottom-right box gives 1", "", "[S]\n" + kCornerBorder,
     [](std::map<std::string, std::string>& f) { KeyPixelAt(f, 49, 49); },
     [](const TLoaded& s) { EXPECT_EQ(s.Image("S", "BORDERSMASK")->CornerKind, 1); }},
    {"the huge button's border has corner kind 2", "", "[BUTTON_HUGE]\n" + kCornerBorder, nullptr,
     [](const TLoaded& s) { EXPECT_EQ(s.Image("BUTTON_HUGE", "BORDERSMASK")->CornerKind, 2); }},
    {"a border without margins gets a third of an image", "",
     "[S]\nBORDERSMASK=^0000^0000^0060^0060^0000^0000^0000^0000^2^1^0^0\nGLYPHMASK=^0000^0000^0030^0030^0000^0000^0000^"
     "0000^1^0^0^4\n",
     nullptr,
     [](const TLoaded& s) {
       const TsMaskData* m = s.Image("S", "BORDERSMASK");
       EXPECT_EQ(m->MarginLeft, 10);
       EXPECT_EQ(m->MarginTop, 10);
       EXPECT_EQ(s.Image("S", "GLYPHMASK")->MarginRight, 4) << "the uniform margin";
     }},
    {"a system colour read through a parent is resolved; one written in the section is kept", "",
     "[P]\nCOLOR=-2147483633\n[C]\nPARENTCLASS=P\n", nullptr,
     [](const TLoaded& s) {
       EXPECT_EQ(s.Section("C").Props[0].Color, acColorToRGB(sysBtnFace));
       EXPECT_EQ(s.Section("P").Props[0].Color, static_cast<TColor>(0x8000000F));
     }},
    {"the first of keys written twice counts", "", "[S]\nCOLOR=5\nCOLOR=6\n", nullptr,
     [](const TLoaded& s) {
       EXPECT_EQ(s.Section("S").Props[0].Color, 5);
       EXPECT_TRUE(s.HasFinding(fkDropped, "S", "COLOR"));
     }},
    {"an old mask file: three images above their masks", "", "[Old]\nBtn=BUTTON.BMP\n",
     [](std::map<std::string, std::string>& f) { f["BUTTON.BMP"] = BmpFile(TPicture(90, 60, 0x303030)); },
     [](const TLoaded& s) {
       const TsMaskData* m = s.Image("OLD", "BTN");
       ASSERT_NE(m, nullptr);
       EXPECT_TRUE(m->Bitmap);
       EXPECT_EQ(m->Columns, 3);
       EXPECT_EQ(m->MaskKind, 1);
       EXPECT_EQ(m->MarginLeft, 10);
       EXPECT_EQ(m->MarginTop, 10);
       EXPECT_EQ(m->SrcRect, Rect(0, 0, 90, 60));
     }},
    {"an own PNG file is premultiplied", "", "[S]\nGLYPHMASK=!XB.PNG!1!0!2!0!0!0!0!0\n",
     [](std::map<std::string, std::string>& f) {
       f["XB.PNG"] = pngtest::Png(1, 1, 8, 6, std::string("\0\xFF\xFF\xFF\x80", 5));
     },
     [](const TLoaded& s) {
       const TsMaskData* m = s.Image("S", "GLYPHMASK");
       ASSERT_NE(m, nullptr);
       EXPECT_EQ(GetAPixel(m->Bitmap.get(), 0, 0).C, 0x807F7F7Fu);
       EXPECT_EQ(m->ImageKind, itisaGlyph);
     }},
    {"own file names must be upper-case .BMP or .PNG", "", "[S]\nGLYPHMASK=!x.bmp!1!0\n",
     [](std::map<std::string, std::string>& f) { f["x.bmp"] = BmpFile(TPicture(4, 4, 0)); },
     [](const TLoaded& s) {
       EXPECT_EQ(s.Image("S", "GLYPHMASK"), nullptr);
       EXPECT_TRUE(s.HasFinding(fkDropped, "S", "GLYPHMASK"));
     }},
    {"a missing own file makes no entry", "", "[S]\nGLYPHMASK=!GONE.BMP!1!0\n", nullptr,
     [](const TLoaded& s) {
       EXPECT_EQ(s.Error, "");
       EXPECT_EQ(s.Image("S", "GLYPHMASK"), nullptr);
     }},
    {"a broken own file fails the load naming it", "", "[S]\nGLYPHMASK=!BAD.BMP!1!0\n",
     [](std::map<std::string, std::string>& f) { f["BAD.BMP"] = "BM not a bitmap"; },
     [](const TLoaded& s) { EXPECT_NE(s.Error.find("BAD.BMP"), AnsiString::npos) << s.Error; }},
    {"a number field that is not a number fails the load naming section and key", "",
     "[S]\nGLYPHMASK=@00x0@0000@0010@0010@1@0\n", nullptr,
     [](const TLoaded& s) { EXPECT_NE(s.Error.find("\"GLYPHMASK\""), AnsiString::npos) << s.Error; }},
    {"selection colours from SELECTION's hot state when it has two", "",
     "[SELECTION]\nSTATES=2\nCOLOR=1\nFONTCOLOR=2\nHOTCOLOR=3\nHOTFONTCOLOR=4\n", nullptr,
     [](const TLoaded& s) {
       const TacPaletteArray& p = s.Tables->Palette;
       EXPECT_EQ(p[pcSelectionBG], 1);
       EXPECT_EQ(p[pcSelectionText], 2);
       EXPECT_EQ(p[pcSelectionBG_Focused], 3);
       EXPECT_EQ(p[pcSelectionText_Focused], 4);
     }},
    {"selection colours from MENUITEM's hot state without SELECTION", "",
     "[MENUITEM]\nSTATES=2\nHOTCOLOR=3\nHOTFONTCOLOR=4\n", nullptr,
     [](const TLoaded& s) {
       const TacPaletteArray& p = s.Tables->Palette;
       EXPECT_EQ(p[pcSelectionBG], 3);
       EXPECT_EQ(p[pcSelectionBG_Focused], 3);
       EXPECT_EQ(p[pcSelectionText], 4);
       EXPECT_EQ(p[pcSelectionText_Focused], 4);
     }},
};

TEST(SkinLoad, Variants) {
  for (const Variant& v : kVariants) {
    SCOPED_TRACE(v.Name);
    std::map<std::string, std::string> files{{"MASTER.BMP", BmpFile(Master96())}};
    if (v.Files) v.Files(files);
    v.Check(LoadSkin(WithGlobals(v.Globals, v.Sections), files));
  }
}

// Tables of a manager whose extended borders are in effect.
class TShadowTables : public TacSkinTables {
 protected:
  bool ShadowsWanted() const override { return true; }
};

TEST(SkinLoad, ShadowsOfAnExtendedBorderCutFromTheMasterComeFromItsPlaceThere) {
  // The border image: two columns of 20 x 20 at (40, 10) and (60, 10), the
  // first grey 0x111111, the second 0x222222.
  TPicture master = Master96();
  master.Fill(40, 10, 60, 30, 0x111111);
  master.Fill(60, 10, 80, 30, 0x222222);
  const std::string text =
      WithGlobals("FORMOFFSET=2\nEXBORDER=^0040^0010^0080^0030^0006^0006^0006^0006^2^0^0^0\n", "[FORM]\nCOLOR=1\n");
  TTempDir dir("shadow");
  WriteFile(dir.Path / "MASTER.BMP", BmpFile(master));
  TacSkinText skinText;
  skinText.LoadFromText(text);
  TacSkinSource source;
  source.SkinPath = IncludeTrailingPathDelimiter(dir.Path.string());
  TShadowTables tables;
  TacSkinLoader(skinText, source, {}, TacSkinServices::Platform(), nullptr).Load(tables);
  ASSERT_TRUE(tables.ShadowInactive);
  ASSERT_TRUE(tables.ShadowActive);
  EXPECT_EQ(tables.ShadowInactive->Width(), 20);
  EXPECT_EQ(tables.ShadowInactive->Height(), 20);
  EXPECT_EQ(GetAPixel(tables.ShadowInactive.get(), 5, 5).C & 0xFFFFFF, 0x111111u);
  EXPECT_EQ(GetAPixel(tables.ShadowActive.get(), 5, 5).C & 0xFFFFFF, 0x222222u);
  EXPECT_EQ(tables.ShadowMargins, Rect(4, 4, 4, 4)) << "the margins less the form offset";
}

TEST(SkinLoad, AdditionalSectionsOfTheManagerJoinTheSkin) {
  TStringList common;
  common.SetText("[MYBUTTON]\nPARENTCLASS=button\nSTATES=1\nFONTCOLOR=7\n[BUTTON]\nCOLOR=9\n");
  TacSkinLoadOptions options;
  options.CommonSections = &common;
  TLoaded s = LoadSkin(kFixture, {{"MASTER.BMP", BmpFile(Master96())}}, options);
  ASSERT_EQ(s.Error, "");
  const TsGeneralData& mine = s.Section("MYBUTTON");
  EXPECT_EQ(mine.ParentClass, "BUTTON");
  EXPECT_EQ(mine.Props[0].Color, 12632256) << "the defaults are the parent's";
  EXPECT_EQ(mine.Props[0].FontColor.Color, 7);
  EXPECT_EQ(mine.StateCount, 1);
  EXPECT_EQ(s.Section("BUTTON").Props[0].Color, 12632256) << "a section of the skin stays as loaded";
}

TEST(SkinLoad, RecolouringKeepsTitleButtonsAndMaskRows) {
  // A master with a red title button, a red image of a mask row below it and
  // a red field elsewhere.
  auto load = [](const std::string& keepHue, const TacSkinLoadOptions& options) {
    TPicture master(96, 96, 0xFF0000);
    const std::string globals = keepHue + "BICONCLOSE=@0000@0000@0010@0010@1@0\nBICONMAX=@0010@0000@0020@0010@1@0\n";
    return LoadSkin(WithGlobals(globals, "[S]\nGLYPHMASK=@0040@0040@0050@0060@1@1\n"),
                    {{"MASTER.BMP", BmpFile(master)}}, options);
  };
  auto pixel = [](const TLoaded& s, int x, int y) { return GetAPixel(s.Tables->MasterBitmap.get(), x, y).C & 0xFFFFFF; };
  TacSkinLoadOptions hue;
  hue.HueOffset = 120;
  const std::uint32_t red = 0xFF0000, green = 0x00FF00;
  TLoaded keepAll = load("BIKEEPHUE=1\n", hue);
  EXPECT_EQ(pixel(keepAll, 5, 5), red) << "close button kept";
  EXPECT_EQ(pixel(keepAll, 15, 5), red) << "maximize button kept";
  EXPECT_EQ(pixel(keepAll, 70, 70), green) << "the rest turned";
  TLoaded keepClose = load("BIKEEPHUE=2\n", hue);
  EXPECT_EQ(pixel(keepClose, 5, 5), red);
  EXPECT_EQ(pixel(keepClose, 15, 5), green) << "only the close buttons are kept";
  TLoaded keepNone = load("", hue);
  EXPECT_EQ(pixel(keepNone, 5, 5), green);

  TacSkinLoadOptions bright;
  bright.Brightness = -100;
  TLoaded darker = load("", bright);
  EXPECT_EQ(pixel(darker, 45, 45), 0x9B0000u) << "the image row is darker";
  EXPECT_EQ(pixel(darker, 45, 55), red) << "its mask row is kept";
  EXPECT_EQ(pixel(darker, 70, 70), 0x9B0000u);
}

}  // namespace
