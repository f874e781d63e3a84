// Bytes from the program into the simulated line, cut into pieces; in the
// second mode, lines of control commands. Without faults every reply must be a
// well-formed frame from a real address.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "devsim.h"

using namespace devsim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::uint8_t mode = data[0], cut = data[1];
  data += 2;
  size -= 2;
  Options o;
  o.answer_all_255 = mode & 1;
  o.wire_time = mode & 2;
  o.seed = mode;
  Line line(o);
  line.add(parse_device("XBV5:1:115200:N"));
  line.add(parse_device("XBV18:2:115200:N"));
  line.add(parse_device("GOLM124:3:115200:N:reg=200,1:live=201"));
  line.add(parse_device("GOLM:4:9600:E"));
  const LineSettings settings = (mode & 4) ? LineSettings{9600, 'E', 8, 1} : LineSettings{115200, 'N', 8, 1};
  std::string input(reinterpret_cast<const char*>(data), size);
  const bool commands = mode & 0x80;
  std::vector<std::string> out;
  Micros now = 0;
  if (commands) {
    std::size_t b = 0;
    while (b <= input.size()) {
      std::size_t e = input.find('\n', b);
      if (e == std::string::npos) e = input.size();
      line.command(std::string_view(input).substr(b, e - b), now);
      line.receive(":010301000002F9\r\n:020300000002F9\r\n", settings, now);  // keep the line busy
      now += 7000;
      for (auto& c : line.take_due(now)) out.push_back(c);
      b = e + 1;
    }
  } else {
    std::size_t step = cut % 32 + 1;
    for (std::size_t i = 0; i < input.size(); i += step) {
      line.receive(std::string_view(input).substr(i, step), settings, now);
      now += (cut >> 5) * 1000;
      for (auto& c : line.take_due(now)) out.push_back(c);
    }
  }
  for (auto& c : line.take_due(now + 100000000)) out.push_back(c);
  line.take_log();
  if (!commands) {
    FrameReceiver r;
    std::vector<RxEvent> ev;
    for (auto& c : out) r.feed(c, 0, ev);
    for (auto& e : ev)
      if (e.kind != RxEvent::Kind::Frame || e.bytes[0] == 0 || e.bytes[0] > 247) std::abort();
  }
  return 0;
}
