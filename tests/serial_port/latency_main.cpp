// Measures the port on the virtual line (not a test; run by hand through
// scripts/wine-exec): request-to-packet time of 1,000 round trips of a
// 17-character request and its 15-character answer with the device simulator
// answering at once, and the process CPU time of an open, idle port over 30 s.
// Google Benchmark has no Windows build here, hence a plain program.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "PortTestSupport.h"
#include "serial/CPortPacket.h"

using namespace porttest;

namespace {

class TTimer : public TObject {
 public:
  LARGE_INTEGER At{};
  int Count = 0;
  void Packet(TObject*, const AnsiString&) {
    QueryPerformanceCounter(&At);
    ++Count;
  }
};

double CpuSeconds() {
  FILETIME c, e, k, u;
  GetProcessTimes(GetCurrentProcess(), &c, &e, &k, &u);
  auto v = [](FILETIME f) { return (static_cast<ULONGLONG>(f.dwHighDateTime) << 32 | f.dwLowDateTime) / 1e7; };
  return v(k) + v(u);
}

}  // namespace

int main(int argc, char** argv) {
  int idleSeconds = argc > 1 ? atoi(argv[1]) : 30;
  TDevice device("XBV5:1:115200:N:weight=1000:noise=0:drift=0");
  if (!device.Started()) {
    std::printf("devsim did not start\n");
    return 1;
  }
  std::unique_ptr<TComPort> port(Create<TComPort>(nullptr));
  port->SetPort("COM7");
  port->SetBaudRate(br115200);
  std::unique_ptr<TComDataPacket> framer(Create<TComDataPacket>(nullptr));
  framer->SetStartString(":");
  framer->SetStopString("\n");
  TTimer timer;
  framer->OnPacket = TComStrEvent(&timer, &TTimer::Packet);
  framer->SetComPort(port.get());
  port->Open();

  LARGE_INTEGER freq;
  QueryPerformanceFrequency(&freq);
  std::vector<double> ms;
  for (int i = 0; i < 1000; ++i) {
    LARGE_INTEGER t0;
    int before = timer.Count;
    QueryPerformanceCounter(&t0);
    port->WriteStr(kRequest);
    // Wait for the packet, blocking until the event thread hands it over.
    DWORD end = GetTickCount() + 2000;
    while (timer.Count == before && static_cast<int>(end - GetTickCount()) > 0) CheckSynchronize(100);
    if (timer.Count == before) {
      std::printf("round trip %d: no answer\n", i);
      continue;
    }
    ms.push_back(static_cast<double>(timer.At.QuadPart - t0.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart));
  }
  std::sort(ms.begin(), ms.end());
  if (!ms.empty())
    std::printf("round trips %zu: median %.3f ms, 99th percentile %.3f ms, max %.3f ms\n", ms.size(),
                ms[ms.size() / 2], ms[ms.size() * 99 / 100], ms.back());

  // Idle: the port is open and waits; this thread sleeps in the message wait.
  // (The simulator stops after 60 s without traffic: the comparisons are short.)
  auto idle = [&](const char* what, int seconds) {
    double c0 = CpuSeconds();
    DWORD end = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
    while (static_cast<int>(end - GetTickCount()) > 0) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, end - GetTickCount(), QS_ALLINPUT);
      MSG m;
      while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
      CheckSynchronize(0);
    }
    std::printf("idle %d s, %s: process CPU time %.3f s\n", seconds, what, CpuSeconds() - c0);
  };
  idle("port open, event thread waiting", idleSeconds);
  // For comparison: waiting for data events only (no modem-line events), the
  // same port open without an event thread, and closed.
  port->Close();
  port->SetEvents(TComEvents{evRxChar, evTxEmpty, evError});
  port->Open();
  idle("port open, event thread waiting for data events only", 5);
  port->Close();
  port->SetEvents(TComEvents());
  port->Open();
  idle("port open, no event thread", 5);
  port->Close();
  idle("port closed", 5);
  framer->SetComPort(nullptr);
  return 0;
}
