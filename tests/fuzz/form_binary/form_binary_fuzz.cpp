// Feeds arbitrary bytes to the component reader and to the binary-to-text
// converter. Either may refuse the input with an exception; neither may crash.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "classlib/core/Classes.h"
#include "classlib/core/ClassesStreams.h"
#include "tests/core_objects/fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bin(reinterpret_cast<const char*>(data), size);
  try {
    TMemoryStream ms;
    ms.WriteBuffer(bin.data(), static_cast<Integer>(bin.size()));
    ms.SetPosition(0);
    std::unique_ptr<TComponent> c(ms.ReadComponent(nullptr));
    // What was read can be written again.
    SaveBinary(c.get());
  } catch (const Exception&) {
  }
  try {
    std::string text = ObjectBinaryToTextBytes(bin);
    // Text made by the converter is always valid text.
    try {
      ObjectTextToBinaryBytes(text);
    } catch (const Exception&) {
      __builtin_trap();
    }
  } catch (const Exception&) {
  }
  return 0;
}
