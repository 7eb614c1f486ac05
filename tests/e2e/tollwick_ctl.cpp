// Drives a running tollwick.exe from end-to-end test scripts, as a user or the system would: waits for
// its window, sends it menu commands and tray clicks, presses buttons of its dialogs, or kills it.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kMainClass = "TOLLWICKCLASS";

HWND WaitForWindow(const char* className, const char* title, int seconds) {
  for (int i = 0; i < seconds * 10; ++i) {
    HWND window = FindWindowA(className, title);
    if (window != nullptr) return window;
    Sleep(100);
  }
  return nullptr;
}

// The whole screen as a 24-bit BMP, drawn through GDI: unlike X screenshot tools it takes no server
// grab, which under Wine can leave the program's message queue asleep.
bool Snapshot(const char* path) {
  HDC screen = GetDC(nullptr);
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  GdiFlush();
  DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + imageBytes;
  bool written = false;
  if (FILE* out = std::fopen(path, "wb")) {
    written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
              std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
              std::fwrite(bits, imageBytes, 1, out) == 1;
    written = std::fclose(out) == 0 && written;
  }
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
  ReleaseDC(nullptr, screen);
  return written;
}

int Usage() {
  std::fprintf(stderr,
               "usage: tollwick_ctl wait-window SECONDS\n"
               "       tollwick_ctl command ID\n"
               "       tollwick_ctl tray LPARAM\n"
               "       tollwick_ctl kill\n"
               "       tollwick_ctl wait-exit SECONDS\n"
               "       tollwick_ctl wait-dialog TITLE SECONDS\n"
               "       tollwick_ctl wait-dialog-closed TITLE SECONDS\n"
               "       tollwick_ctl dialog-text TITLE CONTROL_ID\n"
               "       tollwick_ctl press TITLE BUTTON_ID\n"
               "       tollwick_ctl snapshot FILE.bmp\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const char* verb = argv[1];
  if (std::strcmp(verb, "wait-window") == 0 && argc == 3) {
    return WaitForWindow(kMainClass, nullptr, std::atoi(argv[2])) != nullptr ? 0 : 1;
  }
  if (std::strcmp(verb, "wait-dialog") == 0 && argc == 4) {
    return WaitForWindow("#32770", argv[2], std::atoi(argv[3])) != nullptr ? 0 : 1;
  }
  if (std::strcmp(verb, "wait-dialog-closed") == 0 && argc == 4) {
    for (int i = 0; i < std::atoi(argv[3]) * 10; ++i) {
      if (FindWindowA("#32770", argv[2]) == nullptr) return 0;
      Sleep(100);
    }
    return 1;
  }
  if (std::strcmp(verb, "wait-exit") == 0 && argc == 3) {
    for (int i = 0; i < std::atoi(argv[2]) * 10; ++i) {
      if (FindWindowA(kMainClass, nullptr) == nullptr) return 0;
      Sleep(100);
    }
    return 1;
  }
  if (std::strcmp(verb, "dialog-text") == 0 && argc == 4) {
    HWND dialog = FindWindowA("#32770", argv[2]);
    if (dialog == nullptr) return 1;
    char text[256] = "";
    // The window text as the system keeps it: no message is sent into the program.
    GetWindowTextA(GetDlgItem(dialog, std::atoi(argv[3])), text, sizeof text);
    std::printf("%s\n", text);
    return 0;
  }
  if (std::strcmp(verb, "snapshot") == 0 && argc == 3) return Snapshot(argv[2]) ? 0 : 1;
  if (std::strcmp(verb, "press") == 0 && argc == 4) {
    HWND dialog = FindWindowA("#32770", argv[2]);
    if (dialog == nullptr) return 1;
    int id = std::atoi(argv[3]);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    return 0;
  }
  HWND window = FindWindowA(kMainClass, nullptr);
  if (window == nullptr) {
    std::fprintf(stderr, "tollwick_ctl: no Tollwick window\n");
    return 1;
  }
  if (std::strcmp(verb, "command") == 0 && argc == 3) {
    PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(std::atoi(argv[2])), 0);
    return 0;
  }
  if (std::strcmp(verb, "tray") == 0 && argc == 3) {
    PostMessageA(window, WM_APP + 100, 1000, static_cast<LPARAM>(std::atoi(argv[2])));
    return 0;
  }
  if (std::strcmp(verb, "kill") == 0 && argc == 2) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (process == nullptr) return 1;
    // As a crash or a power cut would: no message reaches the program.
    BOOL killed = TerminateProcess(process, 9);
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
    return killed ? 0 : 1;
  }
  return Usage();
}
