// Measures the device search on the virtual line: the first listed port has
// no device, the second an XBV5 at address 7, 57600 baud, even parity. The
// search tries two settings on the dead port (90 ms pause each), five on the
// second (90 ms pause and two unanswered 50 ms waits each) and finds the device
// with the sixth (90 ms pause and the answer). Prints the time from the click
// to the end of the search loop and its ratio to the sum of those waits.
//
//   scripts/wine-exec build/win64/bin/monitor_search_bench.exe [runs]
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "MonitorHost.h"
#include "app/ChannelPanelSetup.h"
#include "app/msgForm.h"
#include "classlib/ui/WinApi.h"

using namespace monitortest;

namespace {

std::chrono::steady_clock::time_point SearchEnd;

class TWatch : public TObject {
  DK_CLASS(TWatch, TObject)
 public:
  void Hidden(TObject*) { SearchEnd = std::chrono::steady_clock::now(); }
};

void ListPorts(HKEY key, const std::vector<std::wstring>& ports) {
  for (size_t i = 0; i < ports.size(); ++i) {
    std::wstring name = L"DkBenchPort" + std::to_wstring(i);
    RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(ports[i].c_str()),
                   static_cast<DWORD>((ports[i].size() + 1) * sizeof(wchar_t)));
  }
}

// The reply's time on the wire: from the simulator's log, the request that was
// answered and its reply.
double AnswerMs(const std::string& log) {
  std::istringstream in(log);
  std::string line;
  double rx = 0, tx = -1;
  while (std::getline(in, line)) {
    double t = std::atof(line.c_str());
    if (line.find(" RX :FF0300000001FD") != std::string::npos) rx = t;
    if (line.find(" TX ") != std::string::npos && tx < 0) tx = t;
  }
  return tx < 0 ? 0 : (tx - rx) * 1000;
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // The ports the system lists: only the dead COM8 and COM9 with the device.
  HKEY key = nullptr;
  RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_ALL_ACCESS, &key);
  std::vector<std::pair<std::wstring, std::wstring>> saved;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256], data[256] = {};
    DWORD nameLen = 256, dataLen = sizeof data, type = 0;
    if (RegEnumValueW(key, i, name, &nameLen, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataLen) != 0) break;
    saved.push_back({name, data});
  }
  for (auto& v : saved) RegDeleteValueW(key, v.first.c_str());
  ListPorts(key, {L"COM8", L"COM9"});

  MonitorHost::WriteSettings("[Settings]\r\nDataSource0=[0]\r\nMODBUS_address0=01\r\n[ComPort1]\r\nPort=COM8\r\n");
  double ms = 0, wire = 0;
  {
    MonitorHost host({"XBV5:7:57600:E"}, "com9");
    host.Dialogs().Answer("Не обнаружено подключения", IDNO);
    host.Start();
    host.PumpUntil([] { return FirstLoadDone; }, 5000);
    TWatch watch;
    MessageForm->OnHide = TNotifyEvent(&watch, &TWatch::Hidden);
    auto start = std::chrono::steady_clock::now();
    Form1->btnFind->Click();
    ms = std::chrono::duration<double, std::milli>(SearchEnd - start).count();
    wire = AnswerMs(testsupport::ReadHostFile(host.DevsimLog()));
  }
  for (auto& v : saved)
    RegSetValueExW(key, v.first.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(v.second.c_str()),
                   static_cast<DWORD>((v.second.size() + 1) * sizeof(wchar_t)));
  RegDeleteValueW(key, L"DkBenchPort0");
  RegDeleteValueW(key, L"DkBenchPort1");
  RegCloseKey(key);

  double waits = 8 * 90.0 + 5 * 2 * 50.0 + wire;
  std::printf("device search: %.1f ms; the waits it must make %.1f ms (8 pauses of 90 ms, 10 silent answers of "
              "50 ms, the answer %.1f ms); ratio %.3f (target at most 1.15)\n",
              ms, waits, wire, ms / waits);
  return ms / waits <= 1.15 ? 0 : 1;
}
