#include "core/win32/main_window.h"

#include <windowsx.h>

#include "core/monitor_tick.h"
#include "core/win32/about_box.h"
#include "core/win32/call_info_dialog.h"
#include "core/win32/connection_win32.h"
#include "core/win32/program.h"
#include "core/win32/tray_icon.h"
#include "resources/resource.h"

namespace tollwick {
namespace {

constexpr UINT kMenuResource = IDR_MENU;
constexpr int kTrayMenuPosition = 0;

// Posted to the main window right after the tray menu closes. A menu tracked for a window that
// has no visible presence stays open after a click elsewhere unless the window's queue receives a
// message once tracking ends; the content does not matter, so nothing handles it and
// DefWindowProcA lets it pass.
constexpr UINT kAfterTrayMenuMessage = WM_USER;

// Posted to itself by the main window once it is created, so that start-up notices, which wait for
// the user's OK, are shown by the running message loop: the tray icon is there, the timer ticks and
// a call dialled meanwhile is timed from its start.
constexpr UINT kStartupNoticeMessage = WM_APP + 1;

// Explorer broadcasts this when it re-creates the task bar; icons must then be added again.
UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageA("TaskbarCreated");
  return message;
}

void OnCreate(HWND window) {
  Program& app = App();
  app.mainWindow = window;
  app.LoadState();
  app.trayMenu = LoadPopupMenu(app.instance, kMenuResource, kTrayMenuPosition);
  app.tray.emplace(app.instance, window, kTrayIconId, app.desktop.trayNotify);
  app.tray->Add(IDI_IDLE, kProgramTitle);
  app.online = false;
  SetTimer(window, kTimerId, kTimerPeriodMs, nullptr);
  PostMessageA(window, kStartupNoticeMessage, 0, 0);
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
    SetMenuDefaultItem(app.trayMenu.get(), IDM_CALLINFO, FALSE);
    // The window must be in the foreground before TrackPopupMenuEx, or the menu will not close
    // when the user clicks elsewhere; the posted message completes that.
    SetForegroundWindow(window);
    TrackPopupMenuEx(app.trayMenu.get(), TPM_BOTTOMALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y,
                     window, nullptr);
    PostMessageA(window, kAfterTrayMenuMessage, 0, 0);
  }
}

void OnCommand(HWND window, int id) {
  Program& app = App();
  switch (id) {
    case IDM_EXIT:
      DestroyWindow(window);
      break;
    case IDM_CALLINFO:
      ShowCallInfoDialog(window);
      break;
    case IDM_OPTIONS:
      if (app.showOptions != nullptr) app.showOptions(window);
      break;
    case IDM_ABOUT:
      ShowAboutBox(window);
      break;
    default:
      break;
  }
}

void OnDestroy(HWND window) {
  Program& app = App();
  KillTimer(window, kTimerId);
  app.tray->Delete(IDI_IDLE, kProgramTitle);
  app.trayMenu.reset();
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
    case kStartupNoticeMessage:
      App().TellStartupNotices();
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

int RunMainWindow(HINSTANCE instance) {
  if (CreateMainWindow(instance) == nullptr) return 1;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  UnregisterMainWindowClass(instance);
  return static_cast<int>(message.wParam);
}

}  // namespace tollwick
