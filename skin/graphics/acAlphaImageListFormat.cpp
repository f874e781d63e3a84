// The formats of image files the alpha image lists keep, by their first bytes.
#include <cstring>
#include <memory>

#include "skin/graphics/acAlphaImageList.h"
#include "skin/graphics/acPNG.h"

namespace {

// The first Count bytes of the file, read only when the file is longer.
bool FirstBytes(TStream& File, Byte* Bytes, Integer Count) {
  if (File.Size() <= Count) return false;
  File.SetPosition(0);
  return File.Read(Bytes, Count) == Count;
}

}  // namespace

bool GetImageFormat(const AnsiString& FileName, TsImageFormat& Format) {
  std::unique_ptr<TFileStream> file;
  try {
    file = std::make_unique<TFileStream>(FileName, fmOpenRead | fmShareDenyWrite);
  } catch (const EStreamError&) {
    return false;
  }
  Byte head[8];
  if (FirstBytes(*file, head, 8) && std::memcmp(head, PNGMagic, 8) == 0) {
    Format = ifPNG;
    return true;
  }
  if (!FirstBytes(*file, head, 2)) return false;
  AnsiString ext = LowerCase(ExtractFileExt(FileName));
  if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
  if (head[0] == 0 && head[1] == 0 && ext == "ico") {
    Format = ifICO;
    return true;
  }
  if (head[0] == 'B' && head[1] == 'M') {
    Format = ifBMP32;
    return true;
  }
  return false;
}
