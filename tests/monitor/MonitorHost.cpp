#include "MonitorHost.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "classlib/ui/WinApi.h"

namespace monitortest {

AnsiString Cp(const std::string& Utf8Text) {
  int n = MultiByteToWideChar(CP_UTF8, 0, Utf8Text.data(), static_cast<int>(Utf8Text.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, Utf8Text.data(), static_cast<int>(Utf8Text.size()), w.data(), n);
  return winapi::A(w);
}

std::string Utf8(const AnsiString& Text) {
  std::wstring w = winapi::W(Text);
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

std::string Frame(const std::string& Raw) {
  std::string s;
  for (char c : Raw) s += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
  return s;
}

namespace {

std::string WindowTextUtf8(HWND Wnd) {
  wchar_t buf[1024];
  int n = GetWindowTextW(Wnd, buf, 1024);
  return Utf8(winapi::A(buf, n));
}

void RemoveTree(const std::wstring& Dir) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((Dir + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = Dir + L"\\" + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(path);
      else
        DeleteFileW(path.c_str());
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(Dir.c_str());
}

struct TDialogSearch {
  DWORD Pid;
  std::vector<HWND>* Out;
};

// A visible dialog box of this process.
BOOL CALLBACK CollectDialog(HWND Wnd, LPARAM Param) {
  auto* c = reinterpret_cast<TDialogSearch*>(Param);
  DWORD pid = 0;
  GetWindowThreadProcessId(Wnd, &pid);
  wchar_t cls[64];
  GetClassNameW(Wnd, cls, 64);
  if (pid == c->Pid && IsWindowVisible(Wnd) && wcscmp(cls, L"#32770") == 0) c->Out->push_back(Wnd);
  return TRUE;
}

// The message of a box: its longest static text.
BOOL CALLBACK KeepLongestStatic(HWND Wnd, LPARAM Param) {
  wchar_t cls[64];
  GetClassNameW(Wnd, cls, 64);
  std::string t = WindowTextUtf8(Wnd);
  auto* out = reinterpret_cast<std::string*>(Param);
  if (_wcsicmp(cls, L"Static") == 0 && t.size() > out->size()) *out = t;
  return TRUE;
}

}  // namespace

// ============================================================ dialog answerer

TDialogAnswerer::TDialogAnswerer() : start_(std::chrono::steady_clock::now()), thread_([this] { Run(); }) {}

TDialogAnswerer::~TDialogAnswerer() {
  stop_ = true;
  thread_.join();
}

void TDialogAnswerer::Answer(const std::string& CaptionUtf8, int ButtonId, int DelayMs) {
  std::lock_guard<std::mutex> g(lock_);
  answers_[CaptionUtf8] = {ButtonId, DelayMs};
}

std::vector<TSeenDialog> TDialogAnswerer::Seen() {
  std::lock_guard<std::mutex> g(lock_);
  return seen_;
}

bool TDialogAnswerer::Find(const std::string& CaptionUtf8, TSeenDialog* Out) {
  std::lock_guard<std::mutex> g(lock_);
  for (auto& d : seen_)
    if (d.Caption == CaptionUtf8) {
      if (Out) *Out = d;
      return true;
    }
  return false;
}

void TDialogAnswerer::Run() {
  DWORD pid = GetCurrentProcessId();
  while (!stop_) {
    auto now = std::chrono::steady_clock::now();
    for (auto it = presses_.begin(); it != presses_.end();) {
      if (it->Due > now) {
        ++it;
        continue;
      }
      PostMessageW(it->Dialog, WM_COMMAND, MAKEWPARAM(it->Button, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(it->Dialog, it->Button)));
      it = presses_.erase(it);
    }
    std::vector<HWND> dialogs;
    TDialogSearch ctx{pid, &dialogs};
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&ctx));
    for (HWND dlg : dialogs) {
      {
        std::lock_guard<std::mutex> g(lock_);
        if (std::find(handled_.begin(), handled_.end(), dlg) != handled_.end()) continue;
        handled_.push_back(dlg);
      }
      // Asking a window of the program's thread for its text waits for that
      // thread: never while holding the lock the test thread may be waiting on.
      TSeenDialog seen;
      seen.Caption = WindowTextUtf8(dlg);
      seen.AtMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_).count();
      EnumChildWindows(dlg, KeepLongestStatic, reinterpret_cast<LPARAM>(&seen.Text));
      TReply reply{IDOK, 0};
      {
        std::lock_guard<std::mutex> g(lock_);
        seen_.push_back(seen);
        auto it = answers_.find(seen.Caption);
        if (it != answers_.end()) reply = it->second;
      }
      int id = reply.Button;
      if (!GetDlgItem(dlg, id)) id = GetDlgItem(dlg, IDOK) ? IDOK : IDYES;
      presses_.push_back({dlg, id, std::chrono::steady_clock::now() + std::chrono::milliseconds(reply.DelayMs)});
    }
    Sleep(20);
  }
}

// ================================================================== the host

MonitorHost::MonitorHost(const std::vector<std::string>& Devices, const std::string& Port) {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "monitor";
  std::string build = testsupport::HostBuildDir();
  dir_ = build + "/monitor-tests/" + name;
  std::wstring wdir = testsupport::WinPath(dir_);
  RemoveTree(wdir);
  CreateDirectoryW(testsupport::WinPath(build + "/monitor-tests").c_str(), nullptr);
  CreateDirectoryW(wdir.c_str(), nullptr);
  SetCurrentDirectoryW(wdir.substr(4).c_str());

  link_ = build + "/wine/ports/" + Port;
  ctl_ = dir_ + "/devsim.ctl";
  log_ = dir_ + "/devsim.log";
  if (!Devices.empty()) {
    std::string args = "--port '" + link_ + "' --control '" + ctl_ + "' --log '" + log_ + "' --idle-exit 120";
    for (auto& d : Devices) args += " --device " + d;
    DeleteFileW(testsupport::WinPath(link_ + ".info").c_str());
    EXPECT_TRUE(testsupport::SpawnHostTool("devsim", args));
    EXPECT_TRUE(testsupport::WaitForHostFile(link_ + ".info", 10000)) << "devsim did not make the cable";
    devsim_ = true;
  }
}

MonitorHost::~MonitorHost() {
  if (Form1 && Form1->ComPort1) {
    try {
      Form1->Timer1->SetEnabled(false);
      Form1->ComPort1->Close();
    } catch (...) {
    }
  }
  if (devsim_) testsupport::DevsimCommand(ctl_, "quit");
}

const std::vector<std::string> kThreeDevices = {
    "XBV5:1:115200:N:weight1=1234:noise1=0:drift1=0",
    "XBV18:5:115200:N:weight=5000:noise=0:drift=0",
    "GOLM:16:115200:N:reg=10,100:reg=11,200:reg=12,300:reg=13,400",
};

std::string ThreeChannels(const std::string& Settings) {
  return "[Settings]\r\n" + Settings +
         "ChannelLabel0=Весы 1\r\nDataSource0=[0]\r\nMODBUS_address0=01\r\nDeviceType0=0\r\n"
         "ChannelLabel1=ХБВ18_Вес\r\nDataSource1=ХБВ18_Вес\r\nMODBUS_address1=05\r\nDeviceType1=2\r\n"
         "ControlPanel1=1\r\n"
         "ChannelLabel2=ГОЛМ\r\nDataSource2=[10-13]\r\nMODBUS_address2=10\r\nDeviceType2=7\r\n"
         "OutDirectory=.\\out\\\r\n"
         "[ADC]\r\nPeriod=100\r\n"
         "[Point1_0]\r\nADC=0\r\nValue=0\r\n"
         "[Point2_0]\r\nADC=100\r\nValue=1\r\n"
         "[ComPort1]\r\nPort=COM5\r\nBaudRate=115200\r\nParity=None\r\n";
}

void MonitorHost::WriteSettings(const std::string& Utf8Text) {
  std::wstring path = winapi::W(SettingsFileName());
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(path.c_str());
  if (Utf8Text.empty()) return;
  AnsiString text = Cp(Utf8Text);
  std::ofstream f(path.c_str(), std::ios::binary);
  f << text;
}

std::string MonitorHost::ReadSettings() {
  std::ifstream f(winapi::W(SettingsFileName()).c_str(), std::ios::binary);
  std::string s((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  return Utf8(s);
}

void MonitorHost::Start() {
  Application->Initialize();
  Application->SetTitle(Cp("Дорнека-ХБВ"));
  CreateMonitorForms();
  Form1->Show();
}

bool MonitorHost::PumpUntil(const std::function<bool()>& Done, int TimeoutMs) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
  while (!Done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    Application->ProcessMessages();
  }
  return true;
}

namespace {
std::map<UINT_PTR, std::function<void()>>& LaterActions() {
  static std::map<UINT_PTR, std::function<void()>> actions;
  return actions;
}
void CALLBACK LaterProc(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  auto it = LaterActions().find(Id);
  if (it == LaterActions().end()) return;
  auto action = std::move(it->second);
  LaterActions().erase(it);
  action();
}
}  // namespace

void MonitorHost::Later(int Ms, std::function<void()> Action) {
  UINT_PTR id = SetTimer(nullptr, 0, static_cast<UINT>(Ms), LaterProc);
  LaterActions()[id] = std::move(Action);
}

void MonitorHost::Pump(int Ms) {
  PumpUntil([] { return false; }, Ms);
}

std::string MonitorHost::LineSlave() const {
  std::string info = testsupport::ReadHostFile(link_ + ".info");
  size_t p = info.find("slave=");
  if (p == std::string::npos) return "";
  size_t end = info.find_first_of("\r\n", p);
  return info.substr(p + 6, end == std::string::npos ? std::string::npos : end - p - 6);
}

// ============================================================ a small disk

TSmallDisk::TSmallDisk(const std::string& HostDir, const std::string& Options) : dir_(HostDir) {
  // What a killed test left mounted goes first.
  testsupport::RunHostShell("umount -l '" + dir_ + "' 2>/dev/null; mkdir -p '" + dir_ + "'");
  mounted_ = testsupport::RunHostShell("mount -t tmpfs -o '" + Options + "' dktest '" + dir_ + "'") == 0;
}

TSmallDisk::~TSmallDisk() {
  if (mounted_) testsupport::RunHostShell("umount -l '" + dir_ + "'");
}

AnsiString MonitorHost::ValueOf(int Channel) {
  if (!Form1 || !Form1->FindComponent("sPanel" + IntToStr(Channel))) return "";
  auto* memo = dynamic_cast<TCustomMemo*>(Form1->FindComponent("sMemoVal" + IntToStr(Channel)));
  return memo ? memo->Text() : AnsiString();
}

}  // namespace monitortest
