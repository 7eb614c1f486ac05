#pragma once
// The hidden main window: it owns everything that runs by itself (the tray icon, the 500 ms timer that
// watches the Remote Access Service and drives the call in progress) and the tray menu.

#include <windows.h>

#include "core/monitor_tick.h"

namespace tollwick {

constexpr const char* kMainWindowClass = "TOLLWICKCLASS";
constexpr UINT_PTR kTimerId = 1000;
constexpr UINT kTimerPeriodMs = 500;

// Registers the main window class and creates the hidden window (its WM_CREATE loads the stored state
// and adds the tray icon). Returns null when either fails.
HWND CreateMainWindow(HINSTANCE instance);
void UnregisterMainWindowClass(HINSTANCE instance);

// LoadMenuA(instance, 105), detaching the pop-up at the given position; the caller destroys it.
HMENU LoadPopupMenu(HINSTANCE instance, int position);

}  // namespace tollwick
