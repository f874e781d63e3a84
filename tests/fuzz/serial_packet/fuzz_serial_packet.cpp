// Fuzzes the packet framer: framing rules and received chunks come from the
// input. With the strings kept in the packets, every byte fed must come out
// once, in order, as discarded text, packet text or what is still buffered.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "../FuzzReader.h"
#include "serial/CPortPacket.h"

namespace {

class Sink : public TObject {
  DK_CLASS(Sink, TObject)
 public:
  std::string Out;
  std::string Positions;  // answers of the custom handlers, used in turn
  std::size_t Next = 0;
  bool Raise = false;
  std::size_t Packets = 0;

  void Packet(TObject*, const AnsiString& Str) {
    Out += Str;
    if (Raise && ++Packets % 7 == 0) throw std::runtime_error("packet handler");
  }
  void Discard(TObject*, const AnsiString& Str) { Out += Str; }
  void Custom(TObject*, const AnsiString&, Integer& Pos) {
    if (Positions.empty()) return;
    Pos = static_cast<std::int8_t>(Positions[Next++ % Positions.size()]);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::Reader in{data, size};
  const std::uint8_t flags = in.Byte();
  const int sizeRule = in.Byte() % 24;
  const int maxBuffer = static_cast<int>(in.Byte()) - 16;
  const std::string start = in.Take(in.Byte() % 4);
  const std::string stop = in.Take(in.Byte() % 4);
  Sink sink;
  sink.Positions = in.Take(in.Byte() % 8);
  sink.Raise = (flags & 0x20) != 0;

  TComDataPacket fp(nullptr);
  fp.OnPacket = TComStrEvent(&sink, &Sink::Packet);
  fp.OnDiscard = TComStrEvent(&sink, &Sink::Discard);
  fp.SetIncludeStrings((flags & 0x01) != 0);
  fp.SetCaseInsensitive((flags & 0x02) != 0);
  if (flags & 0x04) fp.OnCustomStart = TCustPacketEvent(&sink, &Sink::Custom);
  if (flags & 0x08) fp.OnCustomStop = TCustPacketEvent(&sink, &Sink::Custom);
  fp.SetStartString(start);
  fp.SetStopString(stop);
  fp.SetSize(sizeRule);
  fp.SetMaxBufferSize(maxBuffer);
  const bool stopRule = sizeRule > 0 || !stop.empty() || (flags & 0x08);

  std::string fed;
  while (in.n > 0) {
    std::string chunk = in.Take(in.Byte());
    // The same chunk once more through the link's receive handler.
    for (int pass = (flags & 0x10) ? 2 : 1; pass > 0; --pass) {
      fed += chunk;
      try {
        if (pass == 2)
          fp.AddData(chunk);
        else
          fp.RxBuf(nullptr, chunk.data(), static_cast<Integer>(chunk.size()));
      } catch (const std::runtime_error&) {
      }
      if (stopRule && maxBuffer > 0 && fp.Buffer().size() >= static_cast<std::size_t>(maxBuffer)) std::abort();
    }
  }
  if (fp.IncludeStrings() && sink.Out + fp.Buffer() != fed) std::abort();
  fp.EmptyBuffer();
  if (fp.IncludeStrings() && sink.Out != fed) std::abort();
  return 0;
}
