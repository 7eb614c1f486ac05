// Entry point: one hidden window and its message loop. It sits above every module, so it gives the
// main window the Options dialog, which lives above the main window's own module.

#include <windows.h>
#include <commctrl.h>

#include <optional>

#include "core/win32/main_window.h"
#include "core/win32/monitor_lock.h"
#include "core/win32/program.h"
#include "graphs/win32/graph_window.h"
#include "options/win32/options_dialog.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Choosing the hive reads no value, and a second start finds the root keys made already: the
  // lock it names is taken before anything is read or written, recovery included.
  tollwick::Program program(instance);
  std::optional<tollwick::MonitorLock> lock;
  if (!tollwick::MayMonitor(program.store().hive(), lock, MessageBoxA)) return 0;
  InitCommonControls();
  tollwick::RegisterGraphClass(instance);
  program.SetOptionsOpener(tollwick::ShowOptionsDialog);
  const int result = tollwick::RunMainWindow(program);
  tollwick::UnregisterGraphClass(instance);
  return result;
}
