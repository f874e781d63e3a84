// Entry of the monitor. For now it shows the empty main window; the class
// library's application object takes over here once it exists.
#include <windows.h>

#include <string>

namespace {

// The caption in code page 1251, as the program keeps its texts.
const char kCaption[] = "\xC4\xEE\xF0\xED\xE5\xEA\xE0 \xD5\xC1\xC2";  // Дорнека ХБВ

std::wstring FromCp1251(const char* s) {
  int n = MultiByteToWideChar(1251, 0, s, -1, nullptr, 0);
  std::wstring w(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(1251, 0, s, -1, w.data(), n);
  return w;
}

LRESULT CALLBACK MainWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = MainWndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"TForm1";
  if (!RegisterClassW(&wc)) return 1;
  HWND wnd = CreateWindowExW(0, wc.lpszClassName, FromCp1251(kCaption).c_str(), WS_OVERLAPPEDWINDOW,
                             CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr, nullptr, instance, nullptr);
  if (!wnd) return 1;
  ShowWindow(wnd, show);
  UpdateWindow(wnd);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
