// The monitor's forms in a test program: a settings file beside the test
// program, the device simulator on COM5, the nine forms created as the
// program creates them, and a thread that answers the message boxes.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/Unit1.h"
#include "TestSupport.h"

namespace monitortest {

// Text in UTF-8 (this source) as the program's code page 1251.
AnsiString Cp(const std::string& Utf8);
// Code page 1251 as UTF-8, for messages.
std::string Utf8(const AnsiString& Text);

// A frame as the simulator's log writes it (carriage return and line feed escaped).
std::string Frame(const std::string& Raw);

// An XBV5 at 1 (ADC 1 = 1234), an XBV18 at 5 (net weight 5000) and a generic
// device at 0x10 answering registers 0x10..0x13 (100, 200, 300, 400).
extern const std::vector<std::string> kThreeDevices;
// The settings file of three channels on those devices (COM5, 115200), with
// Settings the further keys of the "Settings" section.
std::string ThreeChannels(const std::string& Settings = "");

// A small file system of its own mounted on a host folder for one test (a
// full or read-only output folder). Mounting needs the superuser: Mounted()
// tells whether it worked.
class TSmallDisk {
 public:
  TSmallDisk(const std::string& HostDir, const std::string& Options);
  ~TSmallDisk();
  TSmallDisk(const TSmallDisk&) = delete;
  TSmallDisk& operator=(const TSmallDisk&) = delete;
  bool Mounted() const { return mounted_; }
  const std::string& Dir() const { return dir_; }

 private:
  std::string dir_;
  bool mounted_ = false;
};

// A message box the program showed.
struct TSeenDialog {
  std::string Caption;  // UTF-8
  std::string Text;     // UTF-8
  double AtMs;          // since the answerer started
};

// Watches for message boxes of this process and presses the button given for
// their caption (IDOK for any other), remembering each one.
class TDialogAnswerer {
 public:
  TDialogAnswerer();
  ~TDialogAnswerer();
  // Presses ButtonId in boxes with this caption, DelayMs after they appear.
  void Answer(const std::string& CaptionUtf8, int ButtonId, int DelayMs = 0);
  std::vector<TSeenDialog> Seen();
  // The first dialog with this caption, or nullptr.
  bool Find(const std::string& CaptionUtf8, TSeenDialog* Out = nullptr);

 private:
  void Run();
  std::mutex lock_;
  struct TReply {
    int Button;
    int DelayMs;
  };
  struct TPress {
    HWND Dialog;
    int Button;
    std::chrono::steady_clock::time_point Due;
  };
  std::map<std::string, TReply> answers_;
  std::vector<TSeenDialog> seen_;
  std::vector<HWND> handled_;
  std::vector<TPress> presses_;  // answers waiting for their time
  std::atomic<bool> stop_{false};
  std::chrono::steady_clock::time_point start_;
  std::thread thread_;
};

class MonitorHost {
 public:
  // Devices: devsim --device arguments; empty: no simulator (COM5 dead).
  explicit MonitorHost(const std::vector<std::string>& Devices, const std::string& Port = "com5");
  ~MonitorHost();

  // Writes the settings file (UTF-8 text, stored in code page 1251). An empty
  // text removes the file.
  static void WriteSettings(const std::string& Utf8Text);
  static std::string ReadSettings();  // UTF-8
  // The working folder of the test (the log goes to its out\ folder).
  const std::string& HostDir() const { return dir_; }
  const std::string& DevsimLog() const { return log_; }
  std::string Devsim(const std::string& Commands) { return testsupport::DevsimCommand(ctl_, Commands); }
  // Unplugs the simulated line (the simulator quits).
  void Unplug() {
    testsupport::DevsimCommand(ctl_, "quit");
    devsim_ = false;
  }

  // Creates the forms and lets the message loop run.
  void Start();
  // Runs the message loop until Done() or the time is out; true when done.
  bool PumpUntil(const std::function<bool()>& Done, int TimeoutMs);
  void Pump(int Ms);

  // Runs Action on the program's thread after Ms milliseconds, also inside a
  // modal loop (a dialog the test opened waits for it).
  static void Later(int Ms, std::function<void()> Action);

  // The text of a channel's value field ("" without a panel).
  static AnsiString ValueOf(int Channel);
  // The pty of the simulated line ("/dev/pts/N"), from the cable's info file.
  std::string LineSlave() const;
  TDialogAnswerer& Dialogs() { return dialogs_; }

 private:
  std::string dir_, link_, ctl_, log_;
  bool devsim_ = false;
  TDialogAnswerer dialogs_;
};

}  // namespace monitortest
