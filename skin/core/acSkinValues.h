// Image values of the skin text: which form a value has and its fields.
//
//   glyph    "@0257@0137@0299@0171@3@1"                         rectangle, columns, mask kind
//   border   "^0152^0044^0168^0059^0001^0001^0001^0001^1^0^1^1" rectangle, margins, columns,
//                                                               mask kind, fill mode, uniform margin
//   texture  "~0188~0031~0241~0054~00~0"                        rectangle, fill mode, mask kind
//   own file "!XB.PNG!2!0!3!0026!0026!0026!0026!1"              name, columns, mask kind, image kind,
//                                                               margins, fill mode
//   old inline "# 10,20,30,40 3,1,0,1", old mask file "BUTTON.BMP"
//
// Numbers at fixed positions are read strictly (a field that is not an
// integer raises EConvertError); the fields of an own file read as 0 when
// they are not integers.
#pragma once

#include "classlib/core/SysUtils.h"
#include "classlib/core/Types.h"
#include "skin/core/sConst.h"

enum TacImageForm {
  ifNone,      // not an image value
  ifOwnFile,   // "!": a bitmap or PNG file of its own
  ifGlyph,     // "@": in the master image
  ifBorder,    // "^": in the master image
  ifTexture,   // "~": in the master image
  ifInline,    // contains "#": the old form, in the master image
  ifMaskFile,  // contains ".BMP": the old form, three images above their masks in a file
};

// The form of a value by its first character, else by "#" (not the value
// "#" alone), else by ".BMP" in the upper-cased value.
TacImageForm ImageFormOf(const AnsiString& Value);

struct TacImageValue {
  TacImageForm Form = ifNone;
  TRect SrcRect;
  Integer Columns = 0, MaskKind = 0, UniformMargin = 0, FillMode = 0;
  Integer MarginLeft = 0, MarginTop = 0, MarginRight = 0, MarginBottom = 0;
  TacImgType ImageKind = itisaBorder;
  AnsiString FileName;      // own file and old mask file
  bool HasMargins = false;  // own file: fields 5 to 8 given
  bool HasFillMode = false; // own file: field 9 given
  Integer ImageKindField = 0;  // own file: field 4 as written
};

// The fields of a value of any form (Form ifNone: nothing read).
TacImageValue ParseImageValue(const AnsiString& Value);
// The fields of the border form at their fixed positions, whatever the
// first character is (the outer-effect images are written so).
TacImageValue ParseBorderFields(const AnsiString& Value);
