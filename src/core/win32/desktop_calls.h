#pragma once
// The calls on the desktop that tests stand in for rather than make: a message box (which would
// wait for a user), opening a web page in the browser, and the notification-area icon. The program
// makes the real calls; a test puts recorders in their place before the window that uses them.

#include <windows.h>
#include <shellapi.h>

#include "core/win32/tray_icon.h"

namespace tollwick {

struct DesktopCalls {
  using MessageBoxFunction = int(WINAPI*)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
  using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND owner, LPCSTR verb, LPCSTR file,
                                                  LPCSTR parameters, LPCSTR directory, INT show);

  MessageBoxFunction messageBox = MessageBoxA;
  ShellExecuteFunction shellExecute = ShellExecuteA;
  TrayIcon::NotifyFunction trayNotify = Shell_NotifyIconA;
};

}  // namespace tollwick
