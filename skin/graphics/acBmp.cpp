#include "skin/graphics/acBmp.h"

#include <cstring>
#include <vector>

namespace {

const Cardinal kBiRgb = 0, kBiBitfields = 3;

[[noreturn]] void Refuse(const AnsiString& why) { throw EInvalidGraphic("Bitmap file: " + why); }

Cardinal U32(const Byte* p) { return Cardinal(p[0]) | (Cardinal(p[1]) << 8) | (Cardinal(p[2]) << 16) | (Cardinal(p[3]) << 24); }
Word U16(const Byte* p) { return static_cast<Word>(p[0] | (p[1] << 8)); }

struct THeader {
  Integer Width = 0, Height = 0;
  bool TopDown = false;
  Word Bits = 0;
  Cardinal Compression = kBiRgb;
  Cardinal Colors = 0;
  Cardinal Masks[3] = {0, 0, 0};
  size_t PaletteAt = 0, PaletteEntry = 4;
};

THeader ReadHeader(const Byte* data, size_t size) {
  if (size < 14 + 12) Refuse("too short");
  if (data[0] != 'B' || data[1] != 'M') Refuse("no \"BM\" signature");
  const Cardinal infoSize = U32(data + 14);
  THeader h;
  if (infoSize == 12) {  // the old core header
    h.Width = U16(data + 18);
    h.Height = U16(data + 20);
    h.Bits = U16(data + 24);
    h.PaletteEntry = 3;
  } else if (infoSize == 40 || infoSize == 52 || infoSize == 56 || infoSize == 108 || infoSize == 124) {
    if (size < 14 + infoSize) Refuse("header cut off");
    h.Width = static_cast<Integer>(U32(data + 18));
    Integer height = static_cast<Integer>(U32(data + 22));
    if (height == INT32_MIN) Refuse("height out of range");
    h.TopDown = height < 0;
    h.Height = height < 0 ? -height : height;
    h.Bits = U16(data + 28);
    h.Compression = U32(data + 30);
    h.Colors = U32(data + 46);
    if (h.Compression == kBiBitfields) {
      // The masks follow a 40-byte header and are part of the larger ones.
      if (size < 14 + 40 + 12) Refuse("masks cut off");
      for (int i = 0; i < 3; ++i) h.Masks[i] = U32(data + 54 + 4 * i);
    }
  } else {
    Refuse("unknown header size " + IntToStr(infoSize));
  }
  h.PaletteAt = 14 + infoSize + (infoSize == 40 && h.Compression == kBiBitfields ? 12 : 0);
  if (h.Width < 1 || h.Height < 1) Refuse("empty picture");
  if (h.Width > TacBmpLimits::MaxSide || h.Height > TacBmpLimits::MaxSide ||
      Int64(h.Width) * h.Height > TacBmpLimits::MaxArea)
    Refuse("picture of " + IntToStr(h.Width) + " x " + IntToStr(h.Height) + " is too large");
  const bool plain = h.Compression == kBiRgb;
  const bool fields = h.Compression == kBiBitfields && h.Bits == 32 && h.Masks[0] == 0xFF0000 &&
                      h.Masks[1] == 0xFF00 && h.Masks[2] == 0xFF;
  if (!plain && !fields) Refuse("compression " + IntToStr(h.Compression) + " is not read");
  if (h.Bits != 1 && h.Bits != 4 && h.Bits != 8 && h.Bits != 24 && h.Bits != 32)
    Refuse(IntToStr(h.Bits) + " bits per pixel are not read");
  return h;
}

TPixelFormat FormatOf(Word bits) {
  switch (bits) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 24: return pf24bit;
    default: return pf32bit;
  }
}

}  // namespace

void ReadBmp(const void* Data, Int64 Size, TacPixelBuffer& Target) {
  Target.Release();
  const auto* data = static_cast<const Byte*>(Data);
  const size_t size = Size > 0 ? static_cast<size_t>(Size) : 0;
  const THeader h = ReadHeader(data, size);

  const Cardinal offBits = U32(data + 10);
  TacPalette palette;
  if (h.Bits <= 8) {
    size_t count = h.Colors ? h.Colors : (size_t(1) << h.Bits);
    if (count > (size_t(1) << h.Bits)) count = size_t(1) << h.Bits;
    // A palette shorter than its depth allows ends where the pixels begin.
    if (offBits > h.PaletteAt && offBits <= size && (offBits - h.PaletteAt) / h.PaletteEntry < count)
      count = (offBits - h.PaletteAt) / h.PaletteEntry;
    if (h.PaletteAt + count * h.PaletteEntry > size) Refuse("palette cut off");
    for (size_t i = 0; i < count; ++i) {
      const Byte* e = data + h.PaletteAt + i * h.PaletteEntry;
      palette.push_back(TacPaletteEntry{e[2], e[1], e[0], 0});
    }
  }
  const size_t rowBytes = (static_cast<size_t>(h.Width) * h.Bits + 31) / 32 * 4;
  if (offBits < h.PaletteAt || offBits > size || (size - offBits) / rowBytes < static_cast<size_t>(h.Height))
    Refuse("pixel data cut off");

  Target.SetupImage(FormatOf(h.Bits), h.Width, h.Height, palette.data(), static_cast<int>(palette.size()));
  const size_t copy = static_cast<size_t>(Target.RowBytes()) < rowBytes ? static_cast<size_t>(Target.RowBytes()) : rowBytes;
  for (Integer y = 0; y < h.Height; ++y) {
    const Integer source = h.TopDown ? y : h.Height - 1 - y;
    std::memcpy(Target.ScanLine(y), data + offBits + static_cast<size_t>(source) * rowBytes, copy);
  }
}

void ReadBmp(TStream* Stream, TacPixelBuffer& Target) {
  Target.Release();
  const Int64 left = Stream->Size() - Stream->Position();
  if (left < 14 + 12) Refuse("too short");
  if (left > 0x7FFFFFFF) Refuse("too large");
  // A picture in memory is read where it lies.
  if (auto* memory = dynamic_cast<TCustomMemoryStream*>(Stream)) {
    ReadBmp(static_cast<const Byte*>(memory->Memory()) + Stream->Position(), left, Target);
    Stream->SetPosition(Stream->Size());
    return;
  }
  std::vector<Byte> bytes(static_cast<size_t>(left));
  Stream->ReadBuffer(bytes.data(), static_cast<Integer>(left));
  ReadBmp(bytes.data(), left, Target);
}
