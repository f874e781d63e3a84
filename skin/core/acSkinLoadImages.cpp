// The images of a skin: the master image, the image values of every section
// and key, the texture pictures and the images of the outer effects.
#include <algorithm>
#include <climits>

#include "skin/core/acSkinLoad.h"
#include "skin/core/acSkinValues.h"
#include "skin/core/acntUtils.h"
#include "skin/graphics/acBmp.h"
#include "skin/graphics/acPNG.h"
#include "skin/graphics/acPixelBuffer.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

const AnsiString kGlobalInfo = "GLOBALINFO";
// Pictures of at least this many pixels stay pictures (they are not turned
// into bitmaps of their own).
const Int64 kLargePicturePixels = 900000;

SmallInt Small(Integer v) { return static_cast<SmallInt>(std::clamp<Integer>(v, SHRT_MIN, SHRT_MAX)); }

// The corner transparency of a border image: 1 when a pixel of one of its
// four corner boxes has the key colour, else 0; 2 for the huge button's border.
Integer CornerKindOf(const TsMaskData& md, TacBitmap* bmp) {
  if (md.SectionName == "BUTTON_HUGE" && md.PropName == "BORDERSMASK") return 2;
  const Integer w = WidthOf(md.SrcRect), h = HeightOf(md.SrcRect);
  if (h <= 0) return 0;
  if (md.Columns == 0) throw EacSkinError(md.SectionName, md.PropName, "a border image of 0 columns");
  if (md.MaskKind == -1) throw EacSkinError(md.SectionName, md.PropName, "a border image of mask kind -1 has no height");
  const TPixelView32 rows = PixelsOf(bmp);
  if (rows.Empty()) return 0;
  const Integer l = md.SrcRect.Left, t = md.SrcRect.Top;
  const Integer x0 = l, x0End = std::min(l + md.MarginLeft, rows.Width - 1);
  const Integer y0 = t, y0End = std::min(t + md.MarginTop, rows.Height - 1);
  const Integer x1 = l + w / md.Columns - md.MarginRight, x1End = std::min(x1 + md.MarginRight, rows.Width - 1);
  const Integer y1 = t + h / (md.MaskKind + 1) - md.MarginBottom,
                y1End = std::min(y1 + md.MarginBottom, rows.Height - 1);
  const TRect boxes[4] = {{x0, y0, x0End, y0End}, {x1, y0, x1End, y0End}, {x0, y1, x0End, y1End},
                          {x1, y1, x1End, y1End}};
  for (const TRect& box : boxes)
    for (Integer y = std::max(box.Top, 0); y < std::min(box.Bottom, rows.Height); ++y) {
      const std::uint32_t* row = rows.Row(y);
      for (Integer x = std::max(box.Left, 0); x < std::min(box.Right, rows.Width); ++x)
        if (row[x] == 0x00FF00FFu) return 1;
    }
  return 0;
}

// The margins of a border image without margins of its own: a third of one
// image each way.
void ThirdMargins(TsMaskData& md) {
  if (md.Columns == 0) throw EacSkinError(md.SectionName, md.PropName, "a border image of 0 columns has no margins");
  if (md.MaskKind == -1)
    throw EacSkinError(md.SectionName, md.PropName, "a border image of mask kind -1 has no margins");
  md.MarginLeft = Small(WidthOf(md.SrcRect) / (md.Columns * 3));
  md.MarginTop = Small(HeightOf(md.SrcRect) / ((md.MaskKind + 1) * 3));
  md.MarginRight = md.MarginLeft;
  md.MarginBottom = md.MarginTop;
}

void CheckTextureFillMode(const TsMaskData& md) {
  if (md.ImageKind == itisaTexture && (md.FillMode < fmTiled || md.FillMode > fmDiscVertRight))
    throw EacSkinError(md.SectionName, md.PropName,
                       "texture fill mode " + IntToStr(md.FillMode) + " is not one of 0 to 14");
}

TsMaskData FromValue(const TacImageValue& v, const AnsiString& section, const AnsiString& key, TsSkinManager* owner) {
  TsMaskData md;
  md.SectionName = section;
  md.PropName = key;
  md.SrcRect = v.SrcRect;
  md.Columns = Small(v.Columns);
  md.MaskKind = Small(v.MaskKind);
  md.UniformMargin = Small(v.UniformMargin);
  md.FillMode = Small(v.FillMode);
  md.ImageKind = v.ImageKind;
  md.OwnerManager = owner;
  md.MarginLeft = Small(v.MarginLeft);
  md.MarginTop = Small(v.MarginTop);
  md.MarginRight = Small(v.MarginRight);
  md.MarginBottom = Small(v.MarginBottom);
  return md;
}

// A rectangle lies in a bitmap with all its rows (mask rows included).
bool Inside(const TRect& r, TacBitmap* bmp) {
  return !r.IsEmpty() && r.Left >= 0 && r.Top >= 0 && r.Right <= BitmapWidth(bmp) && r.Bottom <= BitmapHeight(bmp);
}

AnsiString Quoted(const AnsiString& s) { return "\"" + s + "\""; }

}  // namespace

// ----------------------------------------------------------------- pictures

std::unique_ptr<TacBitmap> SkinBitmapOf(const TacPixelBuffer& Pixels, std::unique_ptr<TacBitmap> Reuse) {
  const bool converted = Pixels.PixelFormat() != pf32bit;
  std::unique_ptr<TacBitmap> bmp = BitmapFromBuffer(Pixels, std::move(Reuse));
  if (bmp && converted)
    FillAlphaRect(bmp.get(), Rect(0, 0, BitmapWidth(bmp.get()), BitmapHeight(bmp.get())), 255, sFuchsia);
  return bmp;
}

bool TacSkinLoader::ReadPicture(const AnsiString& Section, const AnsiString& Key, const AnsiString& FileName,
                                std::unique_ptr<TStream> Stream, bool Png, TacPixelBuffer& Pixels) const {
  if (!Stream) {
    Report(fkDropped, Section, Key,
           "no file " + Quoted(FileName) +
               (FSource.Convertor ? " in the container (entry names are compared in upper case)" : ""));
    return false;
  }
  try {
    if (Png) {
      TPNGGraphic png;
      png.LoadInto(Stream.get(), Pixels);
    } else {
      ReadBmp(Stream.get(), Pixels);
    }
  } catch (const Exception& e) {
    throw EacSkinError(Section, Key, Quoted(FileName) + ": " + e.Message);
  }
  return true;
}

// ----------------------------------------------------------------- images

void TacSkinLoader::LoadMaster(TacSkinTables& t) {
  t.CommonSkinData.Version = SkinTextVersion(FText);
  t.MasterBitmap = CreateBmp32(0, 0);
  const AnsiString name = FText.ReadString(kGlobalInfo, "MASTERBITMAP", "");
  if (name.empty()) return;
  TacPixelBuffer pixels;
  // The packed entry is found by the value as written, so the value must be
  // written in upper case.
  if (!ReadPicture(kGlobalInfo, "MASTERBITMAP", name, OpenFile(name, name), false, pixels)) return;
  std::unique_ptr<TacBitmap> spare;
  if (FOptions.SpareMaster) spare = std::move(*FOptions.SpareMaster);
  t.MasterBitmap = SkinBitmapOf(pixels, std::move(spare));
  SetTransparentKey(t.MasterBitmap.get(), sFuchsia);
}

void TacSkinLoader::AddImage(TacSkinTables& t, const AnsiString& Section, const AnsiString& Key,
                             const AnsiString& Value) {
  TacImageValue v;
  try {
    v = ParseImageValue(Value);
  } catch (const EConvertError&) {
    throw EacSkinError(Section, Key, Quoted(Value) + " is not an image value (a number field is not a number)");
  }
  if (v.Form == ifNone) return;
  const bool oldForm = v.Form == ifInline || v.Form == ifMaskFile;
  TsMaskData md = FromValue(v, oldForm ? AnsiUpperCase(Section) : Section, oldForm ? AnsiUpperCase(Key) : Key,
                            FOptions.Owner);
  TacBitmap* bmp = t.MasterBitmap.get();
  bool cornerScan = false;
  switch (v.Form) {
    case ifGlyph:
    case ifTexture:
    case ifInline:
    case ifBorder:
      break;
    case ifOwnFile: {
      const AnsiString upper = v.FileName;  // as written: only upper-case names are pictures
      const bool png = upper.find(".PNG") != AnsiString::npos;
      if (!png && upper.find(".BMP") == AnsiString::npos) {
        Report(fkDropped, Section, Key, Quoted(v.FileName) + " is not a \".BMP\" or \".PNG\" file (in upper case)");
        return;
      }
      TacPixelBuffer pixels;
      if (!ReadPicture(Section, Key, v.FileName, OpenFile(v.FileName, v.FileName), png, pixels)) return;
      md.Bitmap = SkinBitmapOf(pixels);
      // A PNG picture's alpha as painters take it (premultiplied), unless a
      // brightness change does that later.
      if (png && pixels.PixelFormat() == pf32bit && FOptions.Brightness <= 0) {
        if (t.CommonSkinData.Version <= 7.45)
          UpdateTransPixels(md.Bitmap.get());
        else
          UpdateAlpha(md.Bitmap.get());
      }
      md.SrcRect = Rect(0, 0, BitmapWidth(md.Bitmap.get()), BitmapHeight(md.Bitmap.get()));
      bmp = md.Bitmap.get();
      if (v.ImageKindField < 0 || v.ImageKindField > 4)
        Report(fkChanged, Section, Key, "image kind " + IntToStr(v.ImageKindField) + " is taken as " +
                                            IntToStr(static_cast<int>(v.ImageKind)));
      if (!v.HasMargins && Inside(md.SrcRect, bmp)) ThirdMargins(md);
      cornerScan = md.ImageKind == itisaBorder;
      break;
    }
    case ifMaskFile: {
      TacPixelBuffer pixels;
      if (!ReadPicture(Section, Key, v.FileName, OpenFile(AnsiUpperCase(v.FileName), v.FileName), false, pixels))
        return;
      md.Bitmap = SkinBitmapOf(pixels);
      bmp = md.Bitmap.get();
      md.SrcRect = Rect(0, 0, BitmapWidth(bmp), BitmapHeight(bmp));
      md.MarginLeft = md.MarginRight = Small(BitmapWidth(bmp) / 9);
      md.MarginTop = md.MarginBottom = Small(BitmapHeight(bmp) / 6);
      cornerScan = true;
      break;
    }
    case ifNone:
      return;
  }
  CheckTextureFillMode(md);
  if (!Inside(md.SrcRect, bmp)) {
    Report(fkDropped, Section, Key,
           "the rectangle (" + IntToStr(md.SrcRect.Left) + ", " + IntToStr(md.SrcRect.Top) + ", " +
               IntToStr(md.SrcRect.Right) + ", " + IntToStr(md.SrcRect.Bottom) + ") is empty or outside its bitmap of " +
               IntToStr(BitmapWidth(bmp)) + " x " + IntToStr(BitmapHeight(bmp)));
    return;
  }
  if (v.Form == ifBorder) {
    if (md.MarginLeft + md.MarginTop + md.MarginRight + md.MarginBottom == 0) {
      if (md.UniformMargin != 0)
        md.MarginLeft = md.MarginTop = md.MarginRight = md.MarginBottom = md.UniformMargin;
      else
        ThirdMargins(md);
    }
    cornerScan = true;
  } else if (v.Form == ifInline) {
    if (md.MarginLeft + md.MarginTop + md.MarginRight + md.MarginBottom == 0) {
      if (md.UniformMargin != 0) {
        md.MarginLeft = md.MarginTop = md.MarginRight = md.MarginBottom = md.UniformMargin;
      } else {
        md.MarginLeft = md.MarginRight = Small(WidthOfImage(md));
        md.MarginTop = md.MarginBottom = Small(HeightOfImage(md));
      }
    }
    cornerScan = true;
  }
  if (cornerScan) md.CornerKind = CornerKindOf(md, bmp);
  t.Masks.push_back(std::move(md));
}

void TacSkinLoader::LoadAllMasks(TacSkinTables& t) {
  t.Masks.clear();
  t.MasterBitmap.reset();
  LoadMaster(t);
  for (size_t s = 0; s < FText.SectionCount(); ++s) {
    const TacSkinText::TSection& section = FText.Section(s);
    for (const TacSkinText::TKey& key : section.Keys) {
      if (key.Value.empty() || (section.Name == kGlobalInfo && key.Name == "MASTERBITMAP")) continue;
      AddImage(t, section.Name, key.Name, key.Value);
    }
  }
  AddCommonSectionImages(t);
  t.InvalidateIndexes();
}

void TacSkinLoader::AddCommonSectionImages(TacSkinTables& t) {
  if (!FOptions.CommonSections || FOptions.CommonSections->Count() == 0) return;
  TStringList lines, sections, keys;
  lines.Assign(FOptions.CommonSections);
  sections.SetCaseSensitive(true);
  GetIniSections(&lines, &sections);
  const bool master = BitmapWidth(t.MasterBitmap.get()) > 0;
  for (int s = 0; s < sections.Count(); ++s) {
    const AnsiString section = sections[s];
    if (AnsiUpperCase(section) == kGlobalInfo) continue;
    GetIniSection(section, &sections, &keys);
    for (int k = 0; k < keys.Count(); ++k) {
      const AnsiString value = ReadIniString(&lines, &sections, section, keys[k], "-");
      if (master && ImageFormOf(value) == ifInline) {
        AddImage(t, section, keys[k], value);
      } else if (UpperCase(value).find(".BMP") != AnsiString::npos) {
        TacPixelBuffer pixels;
        if (!ReadPicture(section, keys[k], value, OpenPlainFile(value), false, pixels) || pixels.Width() < 1) continue;
        TsMaskData md;
        md.SectionName = AnsiUpperCase(section);
        md.PropName = AnsiUpperCase(keys[k]);
        md.OwnerManager = FOptions.Owner;
        md.Bitmap = SkinBitmapOf(pixels);
        t.Masks.push_back(std::move(md));
      }
    }
  }
}

// ----------------------------------------------------------------- textures

void TacSkinLoader::AddPatterns(TacSkinTables& t, const TacSkinText& text, bool fromSkin) {
  for (size_t s = 0; s < text.SectionCount(); ++s) {
    const TacSkinText::TSection& section = text.Section(s);
    for (const TacSkinText::TKey& key : section.Keys) {
      const AnsiString value = AnsiUpperCase(key.Value);
      if (value.find(".JPG") == AnsiString::npos && value.find(".JPEG") == AnsiString::npos) continue;
      if (!FServices.LoadJpeg) {
        Report(fkInfo, section.Name, key.Name, "JPEG pictures are not read here");
        continue;
      }
      // The additional sections name files only.
      std::unique_ptr<TStream> stream = fromSkin ? OpenFile(value, value) : OpenPlainFile(value);
      if (!stream) {
        Report(fkDropped, section.Name, key.Name, "no file \"" + value + "\"");
        continue;
      }
      Integer w = 0, h = 0;
      std::unique_ptr<TObject> picture;
      try {
        picture = FServices.LoadJpeg(stream.get(), w, h);
      } catch (const Exception& e) {
        throw EacSkinError(section.Name, key.Name, "\"" + value + "\": " + e.Message);
      }
      if (!picture || w < 1 || h < 1) continue;
      if (!fromSkin || Int64(w) * h >= kLargePicturePixels) {
        t.Patterns.push_back(TsPatternData{std::move(picture), AnsiUpperCase(section.Name), AnsiUpperCase(key.Name)});
        continue;
      }
      TacPixelBuffer pixels;
      FServices.DrawJpeg(picture.get(), pixels);
      TsMaskData md;
      md.Bitmap = SkinBitmapOf(pixels);
      if (!md.Bitmap) continue;
      md.SectionName = AnsiUpperCase(section.Name);
      md.PropName = AnsiUpperCase(key.Name);
      md.ImageKind = itisaTexture;
      md.Columns = 1;
      md.OwnerManager = FOptions.Owner;
      t.Masks.push_back(std::move(md));
    }
  }
}

void TacSkinLoader::LoadAllPatterns(TacSkinTables& t) {
  t.Patterns.clear();
  AddPatterns(t, FText, true);
  if (FOptions.CommonSections && FOptions.CommonSections->Count() > 0) {
    TacSkinText common;
    common.Load(FOptions.CommonSections);
    AddPatterns(t, common, false);
  }
  t.InvalidateIndexes();
}

// ----------------------------------------------------------------- outer effects

void TacSkinLoader::LoadOuterEffects(TacSkinTables& t) {
  struct TDefaults {
    const char* Prefix;
    TColor Colors[4];  // left, top, right, bottom
    Integer Offsets[4];
    Integer Opacity;
  };
  // Element 0 is the light outline, element 1 the shadow.
  const TDefaults defaults[2] = {{"LO_", {0xFFFFFF, 0, 0xFFFFFF, 0xFFFFFF}, {2, 2, 2, 4}, 200},
                                 {"SH_", {0, 0, 0, 0}, {3, 2, 3, 5}, 60}};
  const char* const sides = "LTRB";
  t.OutEffects.assign(2, TacOutEffData{});
  for (int n = 1; n >= 0; --n) {
    const TDefaults& d = defaults[n];
    TacOutEffData& e = t.OutEffects[static_cast<size_t>(n)];
    auto read = [&](const AnsiString& name, Integer def) {
      return FText.ReadInteger(kGlobalInfo, AnsiString(d.Prefix) + name, def);
    };
    for (int i = 0; i < 4; ++i) {
      e.Colors[static_cast<size_t>(i)] = read(AnsiString("COLOR") + sides[i], d.Colors[i]);
      e.Offsets[static_cast<size_t>(i)] = read(AnsiString("OFFSET") + sides[i], d.Offsets[i]);
      e.Widths[static_cast<size_t>(i)] = read(AnsiString("WIDTH") + sides[i], -1);
    }
    e.Source = read("SOURCE", 2);
    e.Opacity = read("OPACITY", d.Opacity);
    e.ImageIndex = -1;
    const AnsiString key = AnsiString(d.Prefix) + "MASK";
    if (e.Source == 0) continue;
    if (e.Source == 1) {
      const AnsiString value = FText.ReadString(kGlobalInfo, key, "");
      if (value.empty()) continue;
      TacImageValue v;
      try {
        v = ParseBorderFields(value);
      } catch (const EConvertError&) {
        throw EacSkinError(kGlobalInfo, key, Quoted(value) + " is not a border image value");
      }
      TsMaskData md = FromValue(v, kGlobalInfo, key, FOptions.Owner);
      if (!Inside(md.SrcRect, t.MasterBitmap.get())) {
        Report(fkDropped, kGlobalInfo, key, "the rectangle is empty or outside the master image");
        continue;
      }
      e.ImageIndex = static_cast<Integer>(t.Masks.size());
      t.Masks.push_back(std::move(md));
      continue;
    }
    if (!FServices.MakeOuterImage) continue;
    std::unique_ptr<TacBitmap> image = FServices.MakeOuterImage(e);
    if (!image) continue;
    const Integer w = BitmapWidth(image.get()), half = w / 2;
    for (Integer& width : e.Widths)
      if (width == -1) width = half;
    TsMaskData md;
    md.Bitmap = std::move(image);
    md.SectionName = kGlobalInfo;
    md.PropName = key;
    md.SrcRect = Rect(0, 0, w, 2 * w);
    md.Columns = 1;
    md.MaskKind = 1;
    md.UniformMargin = md.MarginLeft = md.MarginTop = md.MarginRight = md.MarginBottom = Small(half);
    md.FillMode = 1;
    md.OwnerManager = FOptions.Owner;
    e.ImageIndex = static_cast<Integer>(t.Masks.size());
    t.Masks.push_back(std::move(md));
  }
  t.InvalidateIndexes();
}
