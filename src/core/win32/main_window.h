#pragma once
// The hidden main window: it owns everything that runs by itself (the tray icon, the 500 ms timer that
// watches the Remote Access Service and drives the call in progress) and the tray menu.

#include <windows.h>

#include "core/monitor_tick.h"
#include "platform/win32/scoped_handles.h"

namespace tollwick {

constexpr const char* kMainWindowClass = "TOLLWICKCLASS";
constexpr UINT_PTR kTimerId = 1000;
constexpr UINT kTimerPeriodMs = 500;

// Registers the main window class and creates the hidden window (its WM_CREATE loads the stored state
// and adds the tray icon). Returns null when either fails.
HWND CreateMainWindow(HINSTANCE instance);
void UnregisterMainWindowClass(HINSTANCE instance);
// Creates the main window and runs the thread's message loop until the window is destroyed, then
// unregisters the class. Returns the WM_QUIT code, or 1 when the window cannot be created. The
// Program must exist first.
int RunMainWindow(HINSTANCE instance);

// For a second start in the session of the running program: asks it, once its window is there
// (waiting a few seconds at most), to open its Call information dialog. False when no window came.
bool AskRunningMonitorToShowItself();

}  // namespace tollwick
