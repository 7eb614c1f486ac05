#pragma once
// Everything that lives as long as the program: the main window's state, the settings store, the
// switches, the bill, the alarm table and the call in progress. One instance, created by the entry point
// (or by a test) before the main window; App() reaches it from window and dialog procedures.

#include <windows.h>

#include <optional>

#include "alarms/alarm_table.h"
#include "bill/bill_store.h"
#include "call/current_call.h"
#include "charging/profile_library.h"
#include "core/program_alarm_actions.h"
#include "core/program_settings.h"
#include "core/tray_flash.h"
#include "core/win32/desktop_calls.h"
#include "core/win32/tray_icon.h"
#include "platform/settings_store.h"
#include "platform/win32/scoped_handles.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_registry.h"

namespace tollwick {

class Program {
 public:
  // Opens the Options dialog with the given owner.
  using ShowDialogFunction = void (*)(HWND owner);

  // registry: the Win32 registry, unless a test gives another (one that refuses to let
  // HKEY_LOCAL_MACHINE be written, say). Chooses the settings hive.
  explicit Program(HINSTANCE instance, Registry* registry = nullptr);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // What the user must hear at start-up, in one message box: that this run began keeping the
  // settings for this user alone (so nobody runs on believing the bill is shared), and, once, of a
  // bill left in the hive no longer used. Shown only once the main window and its timer run, since
  // the box waits for the user while monitoring must not.
  void TellStartupNotices();

  // The stored state, loaded when the main window is created and freed when it is destroyed.
  void LoadState();
  void FreeState();

 private:
  // Declared first: the store is made over the registry.
  Win32Registry win32Registry_;
  Registry& registry_;
  bool firstPerUserRun_ = false;  // this run made the user's own settings tree

 public:
  HINSTANCE instance;
  HWND mainWindow = nullptr;
  ScopedMenu trayMenu;
  bool online = false;
  // The Options dialog belongs to a module above this one; the entry point gives it here. The
  // tray menu leaves the command alone without it.
  ShowDialogFunction showOptions = nullptr;
  DesktopCalls desktop;

  Win32Environment environment;
  SettingsStore store;
  ProgramSettings settings;
  TrayFlash flash;
  std::optional<TrayIcon> tray;
  ProfileLibrary profiles;
  Bill bill;
  AlarmTable alarms;
  ProgramAlarmActions alarmActions;
  CurrentCall call;
};

Program& App();

}  // namespace tollwick
