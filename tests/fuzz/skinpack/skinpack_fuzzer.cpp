// Packed skin containers into the reader: every input unpacks or raises.
#include <cstdint>

#include "skin/core/acSkinPack.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto* convertor = new TacSkinConvertor();
  convertor->PackStream = new TMemoryStream();
  if (size) convertor->PackStream->WriteBuffer(data, static_cast<Integer>(size));
  try {
    ExtractPackedData(convertor);
  } catch (const Exception&) {
  }
  delete convertor;
  return 0;
}
