// Shared pieces of the port-bound control tests: a form to put controls on,
// the user's choice in a list, a wait that serves the port's event thread and
// the device simulator at the far end of a virtual port.
#pragma once

#include <gtest/gtest.h>

#include "classlib/ui/Forms.h"
#include "serial/CPortCtl.h"
#include "serial/CPortSetup.h"

#include "../i18n/MoBuilder.h"

// after the class library, whose header takes care of the platform macros
#include "TestSupport.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace ctltest {

// Runs the message loop and the event thread's synchronised calls until cond
// holds or ms pass.
inline bool WaitUntil(const std::function<bool()>& cond, int ms) {
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  for (;;) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    CheckSynchronize(1);
    if (cond()) return true;
    if (static_cast<int>(end - GetTickCount()) <= 0) return false;
    Sleep(1);
  }
}

// What the user does to pick Text in a shown list: the selection changes in
// the window and its parent hears of it.
inline void Choose(TComComboBox* Combo, const AnsiString& Text) {
  int index = Combo->Items()->IndexOf(Text);
  ASSERT_GE(index, 0) << Text << " is not listed";
  HWND h = Combo->Handle();
  SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(GetParent(h), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), CBN_SELCHANGE), reinterpret_cast<LPARAM>(h));
}

// The user clicks item Index of a shown radio group.
inline void ClickItem(TComRadioGroup* Group, int Index) {
  SendMessageW(Group->Buttons(Index)->Handle(), BM_CLICK, 0, 0);
  testsupport::PumpMessages(30);
}

inline std::vector<std::string> ItemsOf(TStrings* Items) {
  std::vector<std::string> v;
  for (int i = 0; i < Items->Count(); ++i) v.push_back(Items->Strings(i));
  return v;
}

// Keeps a window above the others of the shared desktop (for screenshots);
// with X, Y also moves it there (the desktop is 1024 x 768).
inline void Raise(HWND Wnd, int X = -1, int Y = -1) {
  UINT move = X < 0 ? SWP_NOMOVE : 0;
  SetWindowPos(Wnd, HWND_TOPMOST, X, Y, 0, 0, move | SWP_NOSIZE | SWP_NOACTIVATE);
}

// What a control paints over a background of Back, read at (X, Y) of the control.
inline TColor Painted(TControl* Control, int X, int Y, TColor Back = clAqua) {
  TBitmap bmp;
  bmp.SetSize(Control->Width(), Control->Height());
  bmp.Canvas()->Brush()->SetColor(Back);
  bmp.Canvas()->FillRect(TRect{0, 0, Control->Width(), Control->Height()});
  Control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(bmp.Canvas()->Handle()), 0);
  return bmp.Canvas()->Pixel(X, Y);
}

// A shown plain form holding the controls of a test.
class Host : public ::testing::Test {
 protected:
  void SetUp() override {
    Form = Create<TForm>(Application, 0);
    Form->SetBounds(560, 300, 460, 300);
    Form->SetCaption("Port-bound controls");
    Form->Show();
    Raise(Form->Handle());
    testsupport::PumpMessages(50);
  }
  void TearDown() override { Form->Free(); }
  template <class T>
  T* Add(int Left, int Top, int Width, int Height) {
    T* c = Create<T>(Form);
    c->SetBounds(Left, Top, Width, Height);
    static_cast<TControl*>(c)->SetParent(Form);
    return c;
  }
  TComPort* NewPort(const AnsiString& Name) {
    TComPort* p = Create<TComPort>(Form);
    p->SetPort(Name);
    return p;
  }
  TForm* Form = nullptr;
};

// The device simulator on the device end of COM<n> ("com7"); answers as an
// XBV5 at address 1, 57600 baud, even parity.
class Device {
 public:
  explicit Device(const std::string& port) {
    std::string wine = testsupport::HostBuildDir() + "/wine";
    link_ = wine + "/ports/" + port;
    ctl_ = wine + "/serial-ctl-test-" + port + ".ctl";
    log_ = wine + "/serial-ctl-test-" + port + ".log";
    DeleteFileW(testsupport::WinPath(link_ + ".info").c_str());
    DeleteFileW(testsupport::WinPath(log_).c_str());
    started_ = testsupport::SpawnHostTool(
                   "devsim", "--port '" + link_ + "' --control '" + ctl_ + "' --log '" + log_ +
                                 "' --idle-exit 60 --wire-time off --device XBV5:1:57600:E") &&
               testsupport::WaitForHostFile(link_ + ".info", 10000);
  }
  ~Device() {
    if (!started_) return;
    testsupport::DevsimCommand(ctl_, "quit");
    for (int i = 0; i < 100 && !testsupport::ReadHostFile(link_ + ".info").empty(); ++i) Sleep(20);
  }
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;
  bool Started() const { return started_; }
  std::string Log() const { return testsupport::ReadHostFile(log_); }
  // True once the device has seen a frame sent with these line settings
  // ("9600 N 8 1").
  bool HeardLine(TCustomComPort* Port, const std::string& Settings) {
    for (int i = 0; i < 10; ++i) {
      Port->WriteStr(":010301000001FA\r\n");
      if (WaitUntil([&] { return Log().find("SET " + Settings) != std::string::npos; }, 300)) return true;
    }
    return false;
  }

 private:
  std::string link_, ctl_, log_;
  bool started_ = false;
};

// Writes a catalogue of the "cport" domain in Russian into a folder of the
// build folder and returns the folder to bind the domain to.
inline AnsiString WriteCportCatalogue(const std::string& folder,
                                      std::vector<std::pair<std::string, std::string>> entries) {
  entries.emplace_back("", "Content-Type: text/plain; charset=UTF-8\n");
  std::sort(entries.begin(), entries.end());
  std::vector<unsigned char> mo = i18ntest::BuildMo(entries);
  std::string root = testsupport::HostBuildDir() + "/wine/" + folder;
  for (const std::string& dir : {root, root + "/ru", root + "/ru/LC_MESSAGES"})
    CreateDirectoryW(testsupport::WinPath(dir).c_str(), nullptr);
  HANDLE h = CreateFileW(testsupport::WinPath(root + "/ru/LC_MESSAGES/cport.mo").c_str(), GENERIC_WRITE, 0, nullptr,
                         CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(h, mo.data(), static_cast<DWORD>(mo.size()), &written, nullptr);
  CloseHandle(h);
  std::string win = "Z:" + root;
  std::replace(win.begin(), win.end(), '/', '\\');
  return win;
}

}  // namespace ctltest
