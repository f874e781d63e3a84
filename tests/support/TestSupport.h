// Helpers of the Windows tests: paths between Wine and the host, native helper
// processes, screenshots.
#pragma once

#include <windows.h>

#include <string>

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

// Waits until a host file exists, up to timeoutMs.
bool WaitForHostFile(const std::string& hostPath, int timeoutMs);

// Reads a whole host file ("" if missing).
std::string ReadHostFile(const std::string& hostPath);

// Saves what a window shows (the whole window, frame included) as a PNG under
// build/screenshots/<name>.png and returns the pixels' file path ("" on failure).
std::string Screenshot(HWND wnd, const std::string& name);

// Pixel of a window's client area, read from the screen (RGB in a COLORREF).
COLORREF ClientPixel(HWND wnd, int x, int y);

// Runs the message loop for ms milliseconds.
void PumpMessages(int ms);

}  // namespace testsupport
