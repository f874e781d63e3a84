// Helpers of the Windows tests: paths between Wine and the host, native helper
// processes, screenshots.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// The build folder (DK_BUILD, set by scripts/wine-exec) as a host path.
std::string HostBuildDir();

// A host path ("/work/x") as a Windows path through Wine's Z: drive, in the
// "\\?\" form, so that names such as "com6.info" are files, not devices.
std::wstring WinPath(const std::string& hostPath);

// Starts a native program of the host build (the build's DK_HOST_TOOLS) with
// arguments; it runs beside the test and is not waited for. Its output goes
// to build/wine/<tool>.log. Returns false when it cannot start.
bool SpawnHostTool(const std::string& tool, const std::string& args);

// Runs a host shell command and waits for it: its exit status, or -1 when it
// could not start or did not end within timeoutMs. Output goes to
// build/wine/shell.log.
int RunHostShell(const std::string& command, int timeoutMs = 10000);

// Waits until a host file exists, up to timeoutMs.
bool WaitForHostFile(const std::string& hostPath, int timeoutMs);

// Reads a whole host file ("" if missing).
std::string ReadHostFile(const std::string& hostPath);

// Saves what a window shows (the whole window, frame included) as a PNG under
// build/screenshots/<name>.png and returns the pixels' file path ("" on failure).
std::string Screenshot(HWND wnd, const std::string& name);

// The pixels of a rectangle of a device context, rows from the top, each
// 0x00RRGGBB.
std::vector<uint32_t> ReadPixels(HDC dc, int x, int y, int w, int h);

// Pixel of a window's client area, read from the screen (RGB in a COLORREF).
COLORREF ClientPixel(HWND wnd, int x, int y);

// Whether a window is served by a skin engine: it answers the skin command
// message's query "hooked" (also across processes). Tests that prove the
// plain look of the class library assert that it is not.
bool ServedBySkinEngine(HWND wnd);

// Runs the message loop for ms milliseconds.
void PumpMessages(int ms);

// A serial port of Wine opened as the program opens its port (overlapped),
// for tests that talk to a device end of the virtual cable.
class TestPort {
 public:
  explicit TestPort(const wchar_t* device);  // L"\\\\.\\COM5"
  ~TestPort();
  TestPort(const TestPort&) = delete;
  TestPort& operator=(const TestPort&) = delete;

  bool IsOpen() const { return port_ != INVALID_HANDLE_VALUE; }
  DWORD OpenError() const { return error_; }
  HANDLE Handle() const { return port_; }
  // 8 data bits, one stop bit; false when the port refuses.
  bool SetLine(DWORD baud, BYTE parity);
  bool Write(const std::string& text);
  // What arrives (through WaitCommEvent and ReadFile) up to a line feed, or
  // within the time.
  std::string ReadLine(DWORD timeoutMs);

 private:
  HANDLE port_ = INVALID_HANDLE_VALUE;
  DWORD error_ = 0;
};

// Runs control commands of a device simulator through its control folder
// (written under another name and renamed) and returns what it answered.
std::string DevsimCommand(const std::string& controlDir, const std::string& commands, int timeoutMs = 5000);

}  // namespace testsupport
