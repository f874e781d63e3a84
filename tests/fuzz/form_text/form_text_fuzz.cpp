// Feeds arbitrary text to the text form parser. Text that parses converts to
// text and back to the same binary form.
#include <cstddef>
#include <cstdint>
#include <string>

#include "classlib/core/Classes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::string bin;
  try {
    bin = ObjectTextToBinaryBytes(text, [](const AnsiString& path) { return std::string("inc:") + path; });
  } catch (const Exception&) {
    return 0;
  }
  std::string again;
  try {
    again = ObjectTextToBinaryBytes(ObjectBinaryToTextBytes(bin));
  } catch (const Exception&) {
    __builtin_trap();
  }
  if (again != bin) __builtin_trap();
  return 0;
}
