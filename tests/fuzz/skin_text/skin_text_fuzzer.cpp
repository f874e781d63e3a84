// Skin texts ("Options.dat") into the skin loader, with a master image in a
// container: every text loads or is refused.
#include <cstdint>
#include <string>

#include "SkinFuzzSkin.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  skinfuzz::LoadText(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
