#include "core/win32/main_window.h"

#include <windowsx.h>

#include "core/monitor_tick.h"
#include "core/win32/connection_win32.h"
#include "core/win32/program.h"
#include "core/win32/tray_icon.h"
#include "resources/resource.h"

namespace tollwick {
namespace {

constexpr UINT kMenuResource = IDR_MENU;
constexpr int kTrayMenuPosition = 0;

// Explorer broadcasts this when it re-creates the task bar; icons must then be added again.
UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageA("TaskbarCreated");
  return message;
}

void OnCreate(HWND window) {
  Program& app = App();
  app.mainWindow = window;
  app.LoadState();
  app.trayMenu = LoadPopupMenu(app.instance, kTrayMenuPosition);
  app.tray.emplace(app.instance, window, kTrayIconId, app.trayNotify);
  app.tray->Add(IDI_IDLE, kProgramTitle);
  app.online = false;
  SetTimer(window, kTimerId, kTimerPeriodMs, nullptr);
}

void OnTimer() {
  Program& app = App();
  RasConnectionProbe probe;
  RunMonitorTick(Monitor{probe, *app.tray, app.call, app.environment, app.settings, app.flash,
                         app.online});
}

void OnTrayCallback(HWND window, LPARAM mouseMessage) {
  Program& app = App();
  if (mouseMessage == WM_LBUTTONDBLCLK) {
    SendMessageA(window, WM_COMMAND, IDM_CALLINFO, 0);
  } else if (mouseMessage == WM_RBUTTONDOWN) {
    POINT cursor;
    GetCursorPos(&cursor);
    SetMenuDefaultItem(app.trayMenu, IDM_CALLINFO, FALSE);
    // The window must be in the foreground before TrackPopupMenuEx, or the menu will not close
    // when the user clicks elsewhere; the posted message completes that.
    SetForegroundWindow(window);
    TrackPopupMenuEx(app.trayMenu, TPM_BOTTOMALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, window,
                     nullptr);
    PostMessageA(window, WM_USER, 0, 0);
  }
}

void OnCommand(HWND window, int id) {
  switch (id) {
    case IDM_EXIT:
      DestroyWindow(window);
      break;
    default:
      // The call information, options and about dialogs come with their own windows.
      break;
  }
}

void OnDestroy(HWND window) {
  Program& app = App();
  KillTimer(window, kTimerId);
  app.tray->Delete(IDI_IDLE, kProgramTitle);
  DestroyMenu(app.trayMenu);
  app.trayMenu = nullptr;
  app.FreeState();
  app.mainWindow = nullptr;
  PostQuitMessage(0);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate(window);
      return 0;
    case WM_TIMER:
      OnTimer();
      return 0;
    case kTrayCallbackMessage:
      OnTrayCallback(window, lParam);
      return 0;
    case WM_COMMAND:
      OnCommand(window, LOWORD(wParam));
      return 0;
    case WM_DESTROY:
      OnDestroy(window);
      return 0;
    default:
      if (message == TaskbarCreatedMessage() && App().tray) {
        App().tray->Restore();
        return 0;
      }
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

HMENU LoadPopupMenu(HINSTANCE instance, int position) {
  HMENU bar = LoadMenuA(instance, MAKEINTRESOURCEA(kMenuResource));
  if (bar == nullptr) return nullptr;
  HMENU popup = GetSubMenu(bar, position);
  // Detached, the pop-up survives the destruction of the bar it came from.
  RemoveMenu(bar, position, MF_BYPOSITION);
  DestroyMenu(bar);
  return popup;
}

HWND CreateMainWindow(HINSTANCE instance) {
  TaskbarCreatedMessage();
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kMainWindowClass;
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, kMainWindowClass, kProgramTitle, 0, 0, 0, 100, 100, nullptr, nullptr,
                         instance, nullptr);
}

void UnregisterMainWindowClass(HINSTANCE instance) { UnregisterClassA(kMainWindowClass, instance); }

}  // namespace tollwick
