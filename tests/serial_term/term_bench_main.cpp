// Measures the terminal (not a test; run by hand through scripts/bench-term):
//  1. screen throughput: 64 KiB of recorded-style traffic (text lines that
//     scroll, colours, cursor moves) written in 64-byte chunks into a shown
//     80 x 24 terminal, each chunk drawn before the next is written, against
//     the wire time of those bytes at 115200 baud 8N1 (bar: at most 0.5);
//  2. end to end: the device simulator sends 16 KiB of numbered lines paced
//     at 115200 baud to a terminal bound to COM6; the time from the first
//     byte received to the last one shown, against the wire time (bar: at
//     most 1.05 x the wire time + 50 ms), and whether every byte arrived.
#include "TermTestSupport.h"

#include <cstdio>

using namespace termtest;

namespace {

constexpr double kByteSeconds = 10.0 / 115200.0;  // start, 8 data and stop bit

double Now() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

void Pump() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

// What a host sends a terminal: a status line kept at the top by cursor
// moves, coloured log lines scrolling beneath it.
std::string Traffic(std::size_t Bytes) {
  std::string t;
  for (int n = 1; t.size() < Bytes; ++n) {
    char line[160];
    std::snprintf(line, sizeof line, "\x1B[3%dm%06d\x1B[0m %-40s \x1B[1mOK\x1B[0m value=%d\r\n", n % 8, n,
                  "measurement of channel", n * 37 % 10000);
    t += line;
    if (n % 8 == 0) {
      std::snprintf(line, sizeof line, "\x1B[s\x1B[1;1H\x1B[7m status: %06d lines \x1B[0m\x1B[K\x1B[u", n);
      t += line;
    }
  }
  t.resize(Bytes);
  return t;
}

class TCounter : public TObject {
 public:
  std::size_t Chars = 0;
  double First = 0;
  void Char(TObject*, char) { ++Chars; }
  void Received(TObject*, AnsiString&) {
    if (First == 0) First = Now();
  }
};

TComTerminal* ShownTerminal(TForm* Form) {
  auto* t = Create<TComTerminal>(Form);
  t->SetParent(Form);
  t->Font()->SetName("Courier New");
  t->Font()->SetSize(10);
  t->SetScrollBars(ssNone);
  t->SetLeft(4);
  t->SetTop(4);
  t->SetAutoSize(true);
  Form->SetClientWidth(t->Width() + 8);
  Form->SetClientHeight(t->Height() + 8);
  Form->Show();
  Raise(Form->Handle(), 0, 0);
  testsupport::PumpMessages(100);
  return t;
}

void Throughput() {
  TForm* form = Create<TForm>(Application, 0);
  TComTerminal* t = ShownTerminal(form);
  const std::string traffic = Traffic(64 * 1024);
  double t0 = Now();
  for (std::size_t i = 0; i < traffic.size(); i += 64) {
    t->Write(traffic.data() + i, 64);
    GdiFlush();
    Pump();
  }
  double took = Now() - t0;
  double wire = static_cast<double>(traffic.size()) * kByteSeconds;
  std::printf("throughput: %zu bytes in 64-byte chunks, %dx%d cells of %dx%d px: %.3f s, wire time %.3f s, ratio %.3f "
              "(bar 0.5)\n",
              traffic.size(), t->Columns(), t->Rows(), t->CharWidth(), t->CharHeight(), took, wire, took / wire);
  testsupport::Screenshot(form->Handle(), "serial_term_bench");
  form->Free();
}

void EndToEnd() {
  TTermDevice device(true);
  if (!device.Started()) {
    std::printf("end to end: devsim did not start\n");
    return;
  }
  TForm* form = Create<TForm>(Application, 0);
  TComTerminal* t = ShownTerminal(form);
  TComPort* port = Create<TComPort>(form);
  port->SetPort("COM6");
  port->SetBaudRate(br115200);
  t->SetComPort(port);
  TCounter counter;
  t->OnChar = TChScreenEvent(&counter, &TCounter::Char);
  t->OnStrRecieved = TStrRecvEvent(&counter, &TCounter::Received);
  port->Open();
  std::string stream, last;
  std::vector<std::string> lines;
  for (int i = 1; i <= 256; ++i) {
    char head[16];
    std::snprintf(head, sizeof head, "%05d ", i);
    lines.push_back(head + std::string(56, static_cast<char>('a' + i % 26)));
    stream += lines.back() + "\r\n";
  }
  for (int i = 256 - 23; i < 256; ++i) last += (last.empty() ? "" : "\r\n") + lines[static_cast<std::size_t>(i)];
  if (device.Send(stream) != "ok\n") {
    std::printf("end to end: the simulator refused the text\n");
    form->Free();
    return;
  }
  double shown = 0;
  WaitUntil(
      [&] {
        if (counter.Chars < stream.size()) return false;
        shown = Now();
        return true;
      },
      10000);
  TMemoryStream saved;
  t->SaveToStream(&saved);
  bool screen = std::string(static_cast<const char*>(saved.Memory()), static_cast<std::size_t>(saved.Size())) == last;
  double wire = static_cast<double>(stream.size()) * kByteSeconds;
  std::printf("end to end: %zu of %zu bytes put, last screenful %s; first to last shown %.3f s, wire time %.3f s, "
              "bar %.3f s (ratio to the wire time %.3f)\n",
              counter.Chars, stream.size(), screen ? "right" : "WRONG", shown > 0 ? shown - counter.First : -1.0,
              wire, 1.05 * wire + 0.050, shown > 0 ? (shown - counter.First) / wire : -1.0);
  port->Close();
  form->Free();
}

}  // namespace

int main() {
  Throughput();
  EndToEnd();
  return 0;
}
