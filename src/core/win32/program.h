#pragma once
// Everything that lives as long as the program: the settings store, the switches, the bill, the
// alarm table and the call in progress. One instance, created by the entry point (or by a test)
// and given to the main window it serves when that window is created; the main window hands the
// openers of dialogs what they open over.

#include <windows.h>

#include <optional>

#include "alarms/alarm_table.h"
#include "bill/bill_store.h"
#include "call/current_call.h"
#include "charging/profile_library.h"
#include "core/program_alarm_actions.h"
#include "core/plan_warnings.h"
#include "core/program_settings.h"
#include "core/tray_flash.h"
#include "core/win32/desktop_calls.h"
#include "platform/settings_store.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_registry.h"

namespace tollwick {

class Program {
 public:
  // Opens the Options dialog over the program with the given owner.
  using ShowDialogFunction = void (*)(HWND owner, Program& program);

  // registry: the Win32 registry, unless a test gives another (one that refuses to let
  // HKEY_LOCAL_MACHINE be written, say). Chooses the settings hive.
  explicit Program(HINSTANCE instance, Registry* registry = nullptr);
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

  HINSTANCE instance() const { return instance_; }
  // The calls on the desktop that tests stand in for.
  DesktopCalls& desktop() { return desktop_; }
  // The Options dialog belongs to a module above this one; the entry point gives it here. The
  // tray menu leaves the command alone without it.
  void SetOptionsOpener(ShowDialogFunction showOptions) { showOptions_ = showOptions; }
  ShowDialogFunction optionsOpener() const { return showOptions_; }

  // What the modules work on.
  Environment& environment() { return environment_; }
  const SettingsStore& store() const { return store_; }
  ProgramSettings& settings() { return settings_; }
  TrayFlash& flash() { return flash_; }
  ProfileLibrary& profiles() { return profiles_; }
  Bill& bill() { return bill_; }
  AlarmTable& alarms() { return alarms_; }
  AlarmActions& alarmActions() { return alarmActions_; }
  CurrentCall& call() { return call_; }
  PlanWarnings& planWarnings() { return planWarnings_; }

 private:
  // Declared first: the store is made over the registry.
  Win32Registry win32Registry_;
  Registry& registry_;
  bool firstPerUserRun_ = false;  // this run made the user's own settings tree

  HINSTANCE instance_;
  ShowDialogFunction showOptions_ = nullptr;
  DesktopCalls desktop_;

  Win32Environment environment_;
  SettingsStore store_;
  ProgramSettings settings_;
  TrayFlash flash_;
  ProfileLibrary profiles_;
  Bill bill_;
  AlarmTable alarms_;
  ProgramAlarmActions alarmActions_;
  CurrentCall call_;
  PlanWarnings planWarnings_;
};

}  // namespace tollwick
