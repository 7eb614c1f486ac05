// Entry point: one hidden window and its message loop.

#include <windows.h>
#include <commctrl.h>

#include "core/win32/main_window.h"
#include "core/win32/program.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  InitCommonControls();
  tollwick::Program program(instance);
  return tollwick::RunMainWindow(instance);
}
