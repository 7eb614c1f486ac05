// Entry point: one hidden window and its message loop.

#include <windows.h>
#include <commctrl.h>

#include "core/win32/main_window.h"
#include "core/win32/program.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  InitCommonControls();
  tollwick::Program program(instance);
  program.TellIfSettingsArePerUser();
  if (tollwick::CreateMainWindow(instance) == nullptr) return 1;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  tollwick::UnregisterMainWindowClass(instance);
  return static_cast<int>(message.wParam);
}
