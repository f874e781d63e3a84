#include "skin/core/acSkinValues.h"

#include <vector>

#include "skin/core/acntUtils.h"

namespace {

// The integer of Length characters at Position (from 1); raises
// EConvertError when they are not one (a value too short gives a short or
// empty field, which does not read either).
Integer Field(const AnsiString& value, int position, int length) { return StrToInt(Copy(value, position, length)); }

TRect Coordinates(const AnsiString& value) {
  return TRect{Field(value, 2, 4), Field(value, 7, 4), Field(value, 12, 4), Field(value, 17, 4)};
}

// A value of the forms that cut an image from the master: form, kind and rectangle.
TacImageValue InMaster(const AnsiString& value, TacImageForm form, TacImgType kind) {
  TacImageValue v;
  v.Form = form;
  v.ImageKind = kind;
  v.SrcRect = Coordinates(value);
  return v;
}

std::vector<AnsiString> SplitAll(const AnsiString& s, char delimiter) {
  std::vector<AnsiString> parts;
  size_t start = 0;
  while (true) {
    size_t at = s.find(delimiter, start);
    parts.push_back(s.substr(start, at == AnsiString::npos ? AnsiString::npos : at - start));
    if (at == AnsiString::npos) return parts;
    start = at + 1;
  }
}

TacImageValue OwnFile(const AnsiString& value) {
  TacImageValue v;
  v.Form = ifOwnFile;
  // The fields after the leading "!".
  const std::vector<AnsiString> f = SplitAll(value.substr(1), '!');
  auto number = [&](size_t n) { return n <= f.size() ? StrToIntDef(f[n - 1], 0) : 0; };
  v.FileName = f[0];
  v.Columns = number(2);
  v.MaskKind = number(3);
  v.ImageKindField = number(4);
  v.ImageKind = acImgTypes[LimitIt(v.ImageKindField, 0, 4)];
  v.HasMargins = f.size() >= 5;
  v.MarginLeft = number(5);
  v.MarginTop = number(6);
  v.MarginRight = number(7);
  v.MarginBottom = number(8);
  v.HasFillMode = f.size() >= 9;
  v.FillMode = v.HasFillMode ? number(9) : 1;
  return v;
}

TacImageValue Inline(const AnsiString& value) {
  TacImageValue v;
  v.Form = ifInline;
  const TacCharSet words{' ', '(', ')'}, commas{','};
  const AnsiString rect = ExtractWord(2, value, words), numbers = ExtractWord(3, value, words);
  v.SrcRect = TRect{StrToInt(ExtractWord(1, rect, commas)), StrToInt(ExtractWord(2, rect, commas)),
                    StrToInt(ExtractWord(3, rect, commas)), StrToInt(ExtractWord(4, rect, commas))};
  const Integer count = WordCount(numbers, commas);
  v.Columns = Maxi(StrToInt(ExtractWord(1, numbers, commas)), 1);
  v.MaskKind = Maxi(StrToInt(ExtractWord(2, numbers, commas)), 0);
  v.UniformMargin = count >= 3 ? Maxi(StrToInt(ExtractWord(3, numbers, commas)), 0) : 0;
  v.FillMode = count >= 4 ? StrToInt(ExtractWord(4, numbers, commas)) : 1;
  return v;
}

}  // namespace

TacImageForm ImageFormOf(const AnsiString& Value) {
  if (Value.empty()) return ifNone;
  switch (Value[0]) {
    case '!': return ifOwnFile;
    case '@': return ifGlyph;
    case '^': return ifBorder;
    case '~': return ifTexture;
    default: break;
  }
  if (Value.find('#') != AnsiString::npos && Value != "#") return ifInline;
  if (UpperCase(Value).find(".BMP") != AnsiString::npos) return ifMaskFile;
  return ifNone;
}

TacImageValue ParseBorderFields(const AnsiString& Value) {
  TacImageValue v = InMaster(Value, ifBorder, itisaBorder);
  v.MarginLeft = Field(Value, 22, 4);
  v.MarginTop = Field(Value, 27, 4);
  v.MarginRight = Field(Value, 32, 4);
  v.MarginBottom = Field(Value, 37, 4);
  v.Columns = Field(Value, 42, 1);
  v.MaskKind = Field(Value, 44, 1);
  v.FillMode = Field(Value, 46, 1);
  v.UniformMargin = Field(Value, 48, 1);
  return v;
}

TacImageValue ParseImageValue(const AnsiString& Value) {
  TacImageValue v;
  switch (ImageFormOf(Value)) {
    case ifNone: break;
    case ifOwnFile: v = OwnFile(Value); break;
    case ifGlyph:
      v = InMaster(Value, ifGlyph, itisaGlyph);
      v.Columns = Field(Value, 22, 1);
      v.MaskKind = Field(Value, 24, 1);
      break;
    case ifBorder: v = ParseBorderFields(Value); break;
    case ifTexture:
      v = InMaster(Value, ifTexture, itisaTexture);
      v.FillMode = Field(Value, 22, 2);
      v.MaskKind = Value.size() > 24 ? Field(Value, 25, 1) : 0;
      v.Columns = 1;
      break;
    case ifInline: v = Inline(Value); break;
    case ifMaskFile:
      v.Form = ifMaskFile;
      v.FileName = Value;
      v.Columns = 3;
      v.MaskKind = 1;
      break;
  }
  return v;
}
