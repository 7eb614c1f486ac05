#pragma once
// The hidden main window: it owns everything that runs by itself (the tray icon, the 500 ms timer that
// watches the Remote Access Service and drives the call in progress), the tray menu and the on-line
// state. It is an object kept in the window's data, made over the Program it serves, which
// CreateWindowExA hands it as the creation parameter.

#include <windows.h>

#include <optional>

#include "core/monitor_tick.h"
#include "core/win32/network_adapters.h"
#include "core/win32/program.h"
#include "core/win32/tray_icon.h"
#include "platform/win32/scoped_handles.h"

namespace tollwick {

constexpr const char* kMainWindowClass = "TOLLWICKCLASS";
constexpr UINT_PTR kTimerId = 1000;
constexpr UINT kTimerPeriodMs = 500;

class MainWindow {
 public:
  MainWindow(HWND window, Program& program);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Every message after WM_NCCREATE.
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

  bool online() const { return online_; }
  // Once WM_CREATE has run.
  TrayIcon& tray() { return *tray_; }
  HMENU trayMenu() const { return trayMenu_.get(); }

 private:
  void OnCreate();
  void OnTimer();
  void OnTrayCallback(LPARAM mouseMessage);
  void OnCommand(int id);
  void OnPowerBroadcast(WPARAM event);
  void OnDestroy();

  HWND window_;
  Program& program_;
  ScopedMenu trayMenu_;
  std::optional<TrayIcon> tray_;
  bool online_ = false;
  ListedConnection timed_;
  // Kept for the program's life: it remembers where the chosen adapters' rows are.
  Win32AdapterProbe adapters_;
};

// The main window object of a window of the class, or null.
MainWindow* MainWindowOf(HWND window);

// Registers the main window class and creates the hidden window over the program (its WM_CREATE
// loads the stored state and adds the tray icon). Returns null when either fails.
HWND CreateMainWindow(Program& program);
void UnregisterMainWindowClass(HINSTANCE instance);
// Creates the main window and runs the thread's message loop until the window is destroyed, then
// unregisters the class. Returns the WM_QUIT code, or 1 when the window cannot be created.
int RunMainWindow(Program& program);

// For a second start in the session of the running program: asks it, once its window is there
// (waiting a few seconds at most), to open its Call information dialog. False when no window came.
bool AskRunningMonitorToShowItself();

}  // namespace tollwick
