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
#include "core/win32/tray_icon.h"
#include "platform/settings_store.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/scoped_handles.h"
#include "platform/win32/win32_registry.h"

namespace tollwick {

class Program {
 public:
  explicit Program(HINSTANCE instance);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // When the machine-wide settings key cannot be written, the store falls back to the user's own
  // key; say so once, at start-up, so nobody runs on believing the bill is shared.
  void TellIfSettingsArePerUser();

  // The stored state, loaded when the main window is created and freed when it is destroyed.
  void LoadState();
  void FreeState();

  HINSTANCE instance;
  HWND mainWindow = nullptr;
  ScopedMenu trayMenu;
  bool online = false;

  Win32Registry registry;
  Win32Environment environment;
  SettingsStore store;
  bool settingsPerUser = false;
  ProgramSettings settings;
  TrayFlash flash;
  std::optional<TrayIcon> tray;
  TrayIcon::NotifyFunction trayNotify = Shell_NotifyIconA;
  ProfileLibrary profiles;
  Bill bill;
  AlarmTable alarms;
  ProgramAlarmActions alarmActions;
  CurrentCall call;
};

Program& App();

}  // namespace tollwick
