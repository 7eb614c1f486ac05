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

// Posted by a second start in the same session (AskRunningMonitorToShowItself), which then ends: the
// running program opens its Call information dialog, as a double click on its icon does, so the user
// sees that it runs.
constexpr UINT kShowRunningMessage = WM_APP + 2;

// How long a second start looks for the running program's window: the program that holds the tree
// may still be loading its bill.
constexpr int kWindowWaitMs = 5000;
constexpr int kWindowPollMs = 50;

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

// The machine sleeps and wakes: the call's snapshot is brought up to the moment before it sleeps,
// and the time asleep is not counted.
void OnPowerBroadcast(WPARAM event) {
  Program& app = App();
  switch (event) {
    case PBT_APMSUSPEND:
      app.call.Suspend();
      break;
    case PBT_APMRESUMEAUTOMATIC:
    case PBT_APMRESUMESUSPEND:
    case PBT_APMRESUMECRITICAL:
    case PBT_APMQUERYSUSPENDFAILED:
      app.call.Resume();
      break;
    default:
      break;
  }
}

void OnDestroy(HWND window) {
  Program& app = App();
  KillTimer(window, kTimerId);
  // Exit during a call: the next start bills it as counted up to now, not from the last minute.
  app.call.SaveFinalSnapshot();
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
    case kShowRunningMessage:
      OnCommand(window, IDM_CALLINFO);
      return 0;
    case WM_QUERYENDSESSION:
      // Never in the way of the end of a session: the snapshot comes with WM_ENDSESSION.
      return TRUE;
    case WM_ENDSESSION:
      // The process may be ended at any moment once this returns.
      if (wParam) App().call.SaveFinalSnapshot();
      return 0;
    case WM_POWERBROADCAST:
      OnPowerBroadcast(wParam);
      return TRUE;
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

bool AskRunningMonitorToShowItself() {
  for (int waited = 0;; waited += kWindowPollMs) {
    if (HWND running = FindWindowA(kMainWindowClass, nullptr)) {
      DWORD processId = 0;
      GetWindowThreadProcessId(running, &processId);
      // The user started this program, so the dialog may come to the front.
      AllowSetForegroundWindow(processId);
      return PostMessageA(running, kShowRunningMessage, 0, 0) != FALSE;
    }
    if (waited >= kWindowWaitMs) return false;
    Sleep(kWindowPollMs);
  }
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
