#include "TestSupport.h"

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace testsupport {

std::string HostBuildDir() {
  const char* b = std::getenv("DK_BUILD");
  return b ? b : "";
}

std::wstring WinPath(const std::string& hostPath) {
  // "\\?\" keeps Windows from reading names such as "com6.info" as devices.
  std::wstring w = L"\\\\?\\Z:";
  for (char c : hostPath) w += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
  return w;
}

namespace {

// Starts "/bin/sh -c Line" on the host, not waited for.
bool SpawnShell(const std::string& line) {
  std::wstring cmd = L"Z:\\bin\\sh -c \"";
  for (char c : line) {
    if (c == '"' || c == '\\') cmd += L'\\';
    cmd += static_cast<wchar_t>(static_cast<unsigned char>(c));
  }
  cmd += L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::vector<wchar_t> buf(cmd.begin(), cmd.end());
  buf.push_back(0);
  if (!CreateProcessW(nullptr, buf.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return true;
}

}  // namespace

bool SpawnHostTool(const std::string& tool, const std::string& args) {
  // Through a shell, so the tool gets no descriptor of ours: a child holding the
  // test runner's output pipe would keep the runner waiting.
  std::string log = HostBuildDir() + "/wine/" + tool + ".log";
  return SpawnShell("exec setsid '" DK_HOST_TOOLS_DIR "/" + tool + "' " + args + " >>'" + log + "' 2>&1 </dev/null");
}

int RunHostShell(const std::string& command, int timeoutMs) {
  // A host process started from Wine has no exit code Wine could report: the
  // shell leaves its status in a file, renamed into place when complete.
  static int serial = 0;
  std::string result = HostBuildDir() + "/wine/shell-" + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string(++serial) + ".status";
  std::string line = "(" + command + ") >>'" + HostBuildDir() + "/wine/shell.log' 2>&1 </dev/null; echo $? >'" +
                     result + ".tmp'; mv '" + result + ".tmp' '" + result + "'";
  if (!SpawnShell(line) || !WaitForHostFile(result, timeoutMs)) return -1;
  int status = std::atoi(ReadHostFile(result).c_str());
  DeleteFileW(WinPath(result).c_str());
  return status;
}

bool WaitForHostFile(const std::string& hostPath, int timeoutMs) {
  std::wstring w = WinPath(hostPath);
  for (int waited = 0; waited <= timeoutMs; waited += 10) {
    if (GetFileAttributesW(w.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    Sleep(10);
  }
  return false;
}

std::string ReadHostFile(const std::string& hostPath) {
  std::ifstream f(WinPath(hostPath).c_str(), std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

namespace {

void Put32(std::vector<uint8_t>& v, uint32_t x) {
  for (int i = 3; i >= 0; --i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
}

void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  Put32(out, static_cast<uint32_t>(data.size()));
  std::vector<uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  Put32(out, static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

// Writes 24-bit RGB rows (top first) as a PNG file.
bool WritePng(const std::wstring& path, int w, int h, const std::vector<uint8_t>& rgb) {
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(h) * (w * 3 + 1));
  for (int y = 0; y < h; ++y) {
    raw.push_back(0);
    raw.insert(raw.end(), rgb.begin() + static_cast<size_t>(y) * w * 3, rgb.begin() + static_cast<size_t>(y + 1) * w * 3);
  }
  uLongf zlen = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> z(zlen);
  if (compress2(z.data(), &zlen, raw.data(), static_cast<uLong>(raw.size()), 6) != Z_OK) return false;
  z.resize(zlen);
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> ihdr;
  Put32(ihdr, static_cast<uint32_t>(w));
  Put32(ihdr, static_cast<uint32_t>(h));
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
  Chunk(out, "IHDR", ihdr);
  Chunk(out, "IDAT", z);
  Chunk(out, "IEND", {});
  std::ofstream f(path.c_str(), std::ios::binary);
  f.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return f.good();
}

}  // namespace

std::vector<uint32_t> ReadPixels(HDC dc, int x, int y, int w, int h) {
  HDC mem = CreateCompatibleDC(dc);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, dc, x, y, SRCCOPY);
  GdiFlush();
  auto* px = static_cast<const uint32_t*>(bits);
  std::vector<uint32_t> pixels(px, px + static_cast<size_t>(w) * h);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  return pixels;
}

std::string Screenshot(HWND wnd, const std::string& name) {
  RECT r;
  if (!GetWindowRect(wnd, &r)) return "";
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return "";
  HDC screen = GetDC(nullptr);
  std::vector<uint32_t> px = ReadPixels(screen, r.left, r.top, w, h);
  ReleaseDC(nullptr, screen);
  std::vector<uint8_t> rgb(static_cast<size_t>(w) * h * 3);
  for (size_t i = 0; i < px.size(); ++i) {
    rgb[i * 3] = static_cast<uint8_t>(px[i] >> 16);
    rgb[i * 3 + 1] = static_cast<uint8_t>(px[i] >> 8);
    rgb[i * 3 + 2] = static_cast<uint8_t>(px[i]);
  }
  std::string dir = HostBuildDir() + "/screenshots";
  CreateDirectoryW(WinPath(dir).c_str(), nullptr);
  std::string file = dir + "/" + name + ".png";
  return WritePng(WinPath(file), w, h, rgb) ? file : "";
}

COLORREF ClientPixel(HWND wnd, int x, int y) {
  POINT p{x, y};
  ClientToScreen(wnd, &p);
  HDC screen = GetDC(nullptr);
  COLORREF c = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return c;
}

bool ServedBySkinEngine(HWND wnd) {
  // The skin engine's command message and its query "is this window served".
  constexpr UINT kSkinCommand = 0xA100;
  constexpr WORD kQueryHooked = 7;
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(wnd, kSkinCommand, MAKEWPARAM(0, kQueryHooked), 0, SMTO_ABORTIFHUNG, 2000, &answer))
    return false;
  return answer == 1;
}

void PumpMessages(int ms) {
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  for (;;) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    DWORD now = GetTickCount();
    if (static_cast<int>(end - now) <= 0) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
  }
}

TestPort::TestPort(const wchar_t* device) {
  port_ = CreateFileW(device, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  if (port_ == INVALID_HANDLE_VALUE) {
    error_ = GetLastError();
    return;
  }
  COMMTIMEOUTS t{MAXDWORD, 0, 0, 0, 1000};
  if (!SetupComm(port_, 1000, 1000) || !SetCommTimeouts(port_, &t) || !SetCommMask(port_, EV_RXCHAR)) {
    error_ = GetLastError();
    CloseHandle(port_);
    port_ = INVALID_HANDLE_VALUE;
  }
}

TestPort::~TestPort() {
  if (port_ != INVALID_HANDLE_VALUE) CloseHandle(port_);
}

bool TestPort::SetLine(DWORD baud, BYTE parity) {
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(port_, &dcb)) return false;
  dcb.BaudRate = baud;
  dcb.ByteSize = 8;
  dcb.Parity = parity;
  dcb.fParity = parity != NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.fBinary = TRUE;
  return SetCommState(port_, &dcb) != FALSE;
}

bool TestPort::Write(const std::string& text) {
  OVERLAPPED ov{};
  ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD n = 0;
  bool ok = WriteFile(port_, text.data(), static_cast<DWORD>(text.size()), &n, &ov) ||
            (GetLastError() == ERROR_IO_PENDING && GetOverlappedResult(port_, &ov, &n, TRUE));
  CloseHandle(ov.hEvent);
  return ok && n == text.size();
}

std::string TestPort::ReadLine(DWORD timeoutMs) {
  std::string got;
  DWORD start = GetTickCount();
  OVERLAPPED ov{};
  ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  while (got.find('\n') == std::string::npos && GetTickCount() - start < timeoutMs) {
    DWORD mask = 0, n = 0;
    ResetEvent(ov.hEvent);
    if (!WaitCommEvent(port_, &mask, &ov)) {
      if (GetLastError() != ERROR_IO_PENDING) break;
      DWORD left = timeoutMs - (GetTickCount() - start);
      if (WaitForSingleObject(ov.hEvent, left) != WAIT_OBJECT_0) {
        CancelIo(port_);
        break;
      }
      if (!GetOverlappedResult(port_, &ov, &n, FALSE)) break;
    }
    COMSTAT st{};
    DWORD errors = 0;
    ClearCommError(port_, &errors, &st);
    if (st.cbInQue == 0) continue;
    std::string buf(st.cbInQue, '\0');
    OVERLAPPED rov{};
    rov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!ReadFile(port_, buf.data(), st.cbInQue, &n, &rov) && GetLastError() == ERROR_IO_PENDING)
      GetOverlappedResult(port_, &rov, &n, TRUE);
    CloseHandle(rov.hEvent);
    got.append(buf.data(), n);
  }
  CloseHandle(ov.hEvent);
  return got;
}

std::string DevsimCommand(const std::string& controlDir, const std::string& commands, int timeoutMs) {
  static int serial = 0;
  std::string name = controlDir + "/test" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial);
  std::wstring tmp = WinPath(name + ".tmp"), cmd = WinPath(name + ".cmd");
  {
    std::ofstream f(tmp.c_str(), std::ios::binary);
    f << commands << "\n";
  }
  // The simulator may take the command file away while Wine is still renaming
  // it, and Wine then reports a failed rename of a file that did move: the
  // answer tells.
  MoveFileW(tmp.c_str(), cmd.c_str());
  if (!WaitForHostFile(name + ".done", timeoutMs)) {
    DeleteFileW(tmp.c_str());
    return "";
  }
  std::string answer = ReadHostFile(name + ".done");
  DeleteFileW(WinPath(name + ".done").c_str());
  return answer;
}

}  // namespace testsupport
