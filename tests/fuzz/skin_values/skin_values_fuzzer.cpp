// Image values of the skin text: one value read as every form (its fields,
// then as an image of a section and of GLOBALINFO's outer effect), against a
// master image.
#include <cstdint>
#include <string>

#include "../skin_text/SkinFuzzSkin.h"
#include "skin/core/acSkinValues.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string value(reinterpret_cast<const char*>(data), size);
  for (char& c : value)
    if (c == '\r' || c == '\n') c = ' ';
  try {
    ParseImageValue(value);
  } catch (const EConvertError&) {
  }
  try {
    ParseBorderFields(value);
  } catch (const EConvertError&) {
  }
  skinfuzz::LoadText("[GLOBALINFO]\nVERSION=8.00\nMASTERBITMAP=MASTER.BMP\nSH_SOURCE=1\nSH_MASK=" + value +
                     "\n[S]\nSTATES=2\nBORDERSMASK=" + value + "\n[T]\nPARENTCLASS=S\nPATTERN=" + value + "\n");
  return 0;
}
