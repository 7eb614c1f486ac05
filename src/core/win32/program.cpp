#include "core/win32/program.h"

#include <cassert>

#include "alarms/win32/alarm_notice.h"
#include "call/call_recovery.h"

namespace tollwick {
namespace {

Program* theProgram = nullptr;

constexpr const char* kPerUserNotice =
    "Tollwick cannot write its settings for all users of this computer "
    "(HKEY_LOCAL_MACHINE\\Software\\Orvo\\Tollwick): your account is not allowed to.\n\n"
    "Rates, alarms and the bill will be kept for your user account only "
    "(HKEY_CURRENT_USER\\Software\\Orvo\\Tollwick).";

}  // namespace

Program::Program(HINSTANCE instanceHandle)
    : instance(instanceHandle),
      store(registry),
      profiles(store),
      alarmActions(environment, flash,
                   [this](int slot, float cost) {
                     AlarmNoticeSource source{alarms, environment,
                                              [this] { return call.CurrentCost(); },
                                              [this] { return call.CallLength(); }};
                     ShowAlarmNotice(instance, source, slot, cost, call.CallLength());
                   }),
      call(CallServices{store, environment, profiles, bill, alarms, alarmActions, nullptr}) {
  assert(theProgram == nullptr);
  theProgram = this;
  settingsPerUser = store.ChooseHive();
}

Program::~Program() { theProgram = nullptr; }

void Program::TellIfSettingsArePerUser() {
  if (settingsPerUser) MessageBoxA(nullptr, kPerUserNotice, "Tollwick", MB_OK | MB_ICONWARNING);
}

void Program::LoadState() {
  bill = LoadBill(store);
  LoadAlarms(store, alarms);
  LoadProgramSettings(store, settings, flash);
  // After the bill: recovery appends to it.
  RecoverInterruptedCall(store, store, environment, bill, nullptr);
}

void Program::FreeState() { bill = Bill(); }

Program& App() {
  assert(theProgram != nullptr);
  return *theProgram;
}

}  // namespace tollwick
