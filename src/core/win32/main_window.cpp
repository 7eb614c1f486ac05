#include "core/win32/main_window.h"

#include <windowsx.h>

#include "core/monitor_tick.h"
#include "core/win32/about_box.h"
#include "core/win32/call_info_dialog.h"
#include "core/win32/connection_win32.h"
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

MainWindow* MainWindowData(HWND window) {
  return reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    // The object lives in the window's data from here until WM_NCDESTROY.
    const auto& creation = *reinterpret_cast<const CREATESTRUCTA*>(lParam);
    auto* program = static_cast<Program*>(creation.lpCreateParams);
    if (program == nullptr) return FALSE;
    SetWindowLongPtrA(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(new MainWindow(window, *program)));
    return DefWindowProcA(window, message, wParam, lParam);
  }
  MainWindow* main = MainWindowData(window);
  if (main == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    delete main;
    return DefWindowProcA(window, message, wParam, lParam);
  }
  return main->Handle(message, wParam, lParam);
}

}  // namespace

MainWindow::MainWindow(HWND window, Program& program) : window_(window), program_(program) {}

MainWindow* MainWindowOf(HWND window) { return MainWindowData(window); }

void MainWindow::OnCreate() {
  program_.LoadState();
  trayMenu_ = LoadPopupMenu(program_.instance(), kMenuResource, kTrayMenuPosition);
  tray_.emplace(program_.instance(), window_, kTrayIconId, program_.desktop().trayNotify);
  tray_->Add(IDI_IDLE, kProgramTitle);
  online_ = false;
  SetTimer(window_, kTimerId, kTimerPeriodMs, nullptr);
  PostMessageA(window_, kStartupNoticeMessage, 0, 0);
}

void MainWindow::OnTimer() {
  RasConnectionProbe probe;
  RunMonitorTick(Monitor{probe, adapters_, *tray_, program_.call(), program_.environment(),
                         program_.settings(), program_.flash(), program_.planWarnings(), online_,
                         timed_});
}

void MainWindow::OnTrayCallback(LPARAM mouseMessage) {
  if (mouseMessage == WM_LBUTTONDBLCLK) {
    SendMessageA(window_, WM_COMMAND, IDM_CALLINFO, 0);
  } else if (mouseMessage == WM_RBUTTONDOWN) {
    POINT cursor;
    GetCursorPos(&cursor);
    SetMenuDefaultItem(trayMenu_.get(), IDM_CALLINFO, FALSE);
    // The window must be in the foreground before TrackPopupMenuEx, or the menu will not close
    // when the user clicks elsewhere; the posted message completes that.
    SetForegroundWindow(window_);
    TrackPopupMenuEx(trayMenu_.get(), TPM_BOTTOMALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y,
                     window_, nullptr);
    PostMessageA(window_, kAfterTrayMenuMessage, 0, 0);
  }
}

void MainWindow::OnCommand(int id) {
  switch (id) {
    case IDM_EXIT:
      DestroyWindow(window_);
      break;
    case IDM_CALLINFO:
      ShowCallInfoDialog(window_, program_.call(), program_.environment());
      break;
    case IDM_OPTIONS:
      if (program_.optionsOpener() != nullptr) program_.optionsOpener()(window_, program_);
      break;
    case IDM_ABOUT:
      ShowAboutBox(window_, program_.desktop().shellExecute);
      break;
    default:
      break;
  }
}

// The machine sleeps and wakes: the call's snapshot is brought up to the moment before it sleeps,
// and the time asleep is not counted.
void MainWindow::OnPowerBroadcast(WPARAM event) {
  switch (event) {
    case PBT_APMSUSPEND:
      program_.call().Suspend();
      break;
    case PBT_APMRESUMEAUTOMATIC:
    case PBT_APMRESUMESUSPEND:
    case PBT_APMRESUMECRITICAL:
    case PBT_APMQUERYSUSPENDFAILED:
      program_.call().Resume();
      break;
    default:
      break;
  }
}

void MainWindow::OnDestroy() {
  KillTimer(window_, kTimerId);
  // Exit during a call: the next start bills it as counted up to now, not from the last minute.
  program_.call().SaveFinalSnapshot();
  tray_->Delete(IDI_IDLE, kProgramTitle);
  trayMenu_.reset();
  program_.FreeState();
  PostQuitMessage(0);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_TIMER:
      OnTimer();
      return 0;
    case kTrayCallbackMessage:
      OnTrayCallback(lParam);
      return 0;
    case kStartupNoticeMessage:
      program_.TellStartupNotices();
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return 0;
    case kShowRunningMessage:
      OnCommand(IDM_CALLINFO);
      return 0;
    case WM_QUERYENDSESSION:
      // Never in the way of the end of a session: the snapshot comes with WM_ENDSESSION.
      return TRUE;
    case WM_ENDSESSION:
      // The process may be ended at any moment once this returns.
      if (wParam) program_.call().SaveFinalSnapshot();
      return 0;
    case WM_POWERBROADCAST:
      OnPowerBroadcast(wParam);
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      if (message == TaskbarCreatedMessage() && tray_) {
        tray_->Restore();
        return 0;
      }
      return DefWindowProcA(window_, message, wParam, lParam);
  }
}

HWND CreateMainWindow(Program& program) {
  const HINSTANCE instance = program.instance();
  TaskbarCreatedMessage();
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kMainWindowClass;
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, kMainWindowClass, kProgramTitle, 0, 0, 0, 100, 100, nullptr, nullptr,
                         instance, &program);
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

int RunMainWindow(Program& program) {
  if (CreateMainWindow(program) == nullptr) return 1;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  UnregisterMainWindowClass(program.instance());
  return static_cast<int>(message.wParam);
}

}  // namespace tollwick
