// Shared pieces of the terminal tests: the device simulator on the device end
// of COM6 (which sends what a test gives it and logs what the terminal sends),
// a shown form with a terminal bound to the open port, and what the window
// shows.
#pragma once

#include "../serial_ctl/CtlTestSupport.h"
#include "serial/CPortTrmSet.h"

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace termtest {

using ctltest::Raise;
using ctltest::WaitUntil;

constexpr char kEsc = '\x1B';
inline std::string Esc(const std::string& Rest) { return std::string(1, kEsc) + Rest; }

// Bytes as the simulator writes them in its log: CR, LF, backslash and
// other bytes outside 0x20..0x7E escaped.
inline std::string Printable(const std::string& Raw) {
  std::string s;
  for (unsigned char c : Raw) {
    char buf[8];
    if (c == '\r') s += "\\r";
    else if (c == '\n') s += "\\n";
    else if (c == '\\') s += "\\\\";
    else if (c < 0x20 || c >= 0x7F) {
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      s += buf;
    } else s += static_cast<char>(c);
  }
  return s;
}

// The device simulator on COM6, answering at once (or at the wire rate).
class TTermDevice {
 public:
  explicit TTermDevice(bool WireTime = false) {
    std::string wine = testsupport::HostBuildDir() + "/wine";
    link_ = wine + "/ports/com6";
    ctl_ = wine + "/serial-term-test.ctl";
    log_ = wine + "/serial-term-test.log";
    DeleteFileW(testsupport::WinPath(link_ + ".info").c_str());
    DeleteFileW(testsupport::WinPath(log_).c_str());
    started_ = testsupport::SpawnHostTool("devsim", "--port '" + link_ + "' --control '" + ctl_ + "' --log '" + log_ +
                                                        "' --idle-exit 120 --wire-time " +
                                                        (WireTime ? "on" : "off") + " --device XBV5:1:115200:N") &&
               testsupport::WaitForHostFile(link_ + ".info", 10000);
  }
  ~TTermDevice() {
    if (!started_) return;
    testsupport::DevsimCommand(ctl_, "quit");
    for (int i = 0; i < 100 && !testsupport::ReadHostFile(link_ + ".info").empty(); ++i) Sleep(20);
  }
  TTermDevice(const TTermDevice&) = delete;
  TTermDevice& operator=(const TTermDevice&) = delete;

  bool Started() const { return started_; }
  // Sends Raw to the program ("ok\n" when the simulator took it).
  std::string Send(const std::string& Raw, int TimeoutMs = 5000) {
    std::string text;
    for (unsigned char c : Raw) {
      char buf[8];
      if (c <= 0x20 || c >= 0x7F || c == '\\') {
        std::snprintf(buf, sizeof buf, "\\x%02X", c);
        text += buf;
      } else {
        text += static_cast<char>(c);
      }
    }
    return testsupport::DevsimCommand(ctl_, "send " + text, TimeoutMs);
  }
  std::string Command(const std::string& C) { return testsupport::DevsimCommand(ctl_, C); }
  std::string Log() const { return testsupport::ReadHostFile(log_); }
  // Everything the program sent outside frames so far, as logged.
  std::string Heard() const {
    std::istringstream lines(Log());
    std::string line, all;
    while (std::getline(lines, line)) {
      std::size_t at = line.find(" TXT ");
      if (at != std::string::npos) all += line.substr(at + 5);
    }
    return all;
  }

 private:
  std::string link_, ctl_, log_;
  bool started_ = false;
};

// Collects what the terminal receives and puts.
class TTermRecorder : public TObject {
 public:
  std::string Received;
  std::size_t Chars = 0;
  std::vector<std::pair<TEscapeCode, std::string>> Unhandled;
  void StrRecieved(TObject*, AnsiString& Str) { Received += Str; }
  void Char(TObject*, char) { ++Chars; }
  void UnhandledCode(TObject*, TEscapeCode Code, const AnsiString& Data) { Unhandled.emplace_back(Code, Data); }
};

// A shown form with a terminal bound to COM6 (open, 115200 baud) and the
// simulator at the other end, one for all the tests of a suite.
class TermTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Device = new TTermDevice(); }
  static void TearDownTestSuite() {
    delete Device;
    Device = nullptr;
  }

  void SetUp() override {
    ASSERT_TRUE(Device->Started()) << "devsim did not make the cable";
    Form = Create<TForm>(Application, 0);
    Form->SetBounds(40, 40, 760, 560);
    Form->SetCaption("Terminal");
    Port = Create<TComPort>(Form);
    Port->SetPort("COM6");
    Port->SetBaudRate(br115200);
    Term = Create<TComTerminal>(Form);
    Term->SetParent(Form);
    Term->SetBounds(8, 8, 700, 480);
    Term->OnStrRecieved = TStrRecvEvent(&Rec, &TTermRecorder::StrRecieved);
    Term->OnChar = TChScreenEvent(&Rec, &TTermRecorder::Char);
    Term->OnUnhandledCode = TUnhandledEvent(&Rec, &TTermRecorder::UnhandledCode);
    Term->SetComPort(Port);
    Form->Show();
    Raise(Form->Handle());
    Port->Open();
    testsupport::PumpMessages(30);
    HeardBefore = Device->Heard().size();
  }
  void TearDown() override { Form->Free(); }

  // The simulator sends Raw; true once the terminal has received all of it.
  bool Receive(const std::string& Raw, int TimeoutMs = 5000) {
    std::size_t want = Rec.Received.size() + Raw.size();
    if (Device->Send(Raw) != "ok\n") return false;
    return WaitUntil([&] { return Rec.Received.size() >= want; }, TimeoutMs);
  }
  // What the terminal sent since the test began (as the simulator logs it),
  // once it holds Want (or after a while).
  std::string Heard(const std::string& Want = "") {
    std::string heard;
    WaitUntil(
        [&] {
          heard = Device->Heard().substr(HeardBefore);
          return !Want.empty() && heard.find(Want) != std::string::npos;
        },
        Want.empty() ? 300 : 3000);
    return heard;
  }
  // A screenshot of the form, once Wine has put it on the screen.
  void Shot(const std::string& Name) {
    testsupport::PumpMessages(150);
    testsupport::Screenshot(Form->Handle(), Name);
  }
  std::string Saved() {
    TMemoryStream s;
    Term->SaveToStream(&s);
    return std::string(static_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size()));
  }
  char CellChar(int X, int Y) { return Term->Buffer()->GetChar(X, Y).Ch; }

  static inline TTermDevice* Device = nullptr;
  TForm* Form = nullptr;
  TComPort* Port = nullptr;
  TComTerminal* Term = nullptr;
  TTermRecorder Rec;
  std::size_t HeardBefore = 0;
};

// What the client area of a window shows: its pixels, read from the window
// in the process (the screen gets them from Wine on its own schedule).
class TClientPicture {
 public:
  explicit TClientPicture(HWND Wnd) {
    RECT r;
    GetClientRect(Wnd, &r);
    FWidth = r.right;
    FHeight = r.bottom;
    HDC wnd = GetDC(Wnd);
    FPixels = testsupport::ReadPixels(wnd, 0, 0, FWidth, FHeight);
    ReleaseDC(Wnd, wnd);
  }
  // As a colour with red in the low byte.
  TColor Pixel(int X, int Y) const {
    std::uint32_t p = FPixels[static_cast<std::size_t>(Y * FWidth + X)];
    return static_cast<TColor>(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
  }
  // How many pixels of the rectangle are not Color.
  int Other(const RECT& R, TColor Color) const {
    int n = 0;
    for (int y = R.top; y < R.bottom; ++y)
      for (int x = R.left; x < R.right; ++x) n += Pixel(x, y) != Color;
    return n;
  }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

 private:
  int FWidth = 0, FHeight = 0;
  std::vector<std::uint32_t> FPixels;
};

// The rectangle of cell (X, Y) of a terminal that is not scrolled.
inline RECT CellRect(TCustomComTerminal* T, int X, int Y) {
  return RECT{(X - 1) * T->CharWidth(), (Y - 1) * T->CharHeight(), X * T->CharWidth(), Y * T->CharHeight()};
}

}  // namespace termtest
