#include "core/win32/program.h"

#include <cassert>
#include <cstdio>
#include <string>

#include "alarms/win32/alarm_notice.h"
#include "call/call_recovery.h"
#include "core/other_hive_bill.h"
#include "core/win32/monitor_lock.h"

namespace tollwick {
namespace {

Program* theProgram = nullptr;

constexpr const char* kPerUserNotice =
    "Tollwick cannot write its settings for all users of this computer "
    "(HKEY_LOCAL_MACHINE\\Software\\Orvo\\Tollwick): your account is not allowed to.\n\n"
    "Rates, alarms and the bill will be kept for your user account only "
    "(HKEY_CURRENT_USER\\Software\\Orvo\\Tollwick), from now on also when Tollwick runs "
    "with the right to share them, so that they stay in one place.";

const char* HiveName(RegKey hive) {
  return hive == kHkeyCurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

std::string OtherBillNotice(const SettingsStore& store, std::uint32_t items) {
  char text[512];
  std::snprintf(text, sizeof text,
                "A bill of %u item%s is also stored under %s\\Software\\Orvo\\Tollwick, from "
                "earlier runs of Tollwick that kept their settings there.\n\n"
                "Tollwick now keeps its bill under %s\\Software\\Orvo\\Tollwick, and neither "
                "shows nor adds to the other one.",
                static_cast<unsigned>(items), items == 1 ? "" : "s", HiveName(store.otherHive()),
                HiveName(store.hive()));
  return text;
}

}  // namespace

Program::Program(HINSTANCE instanceHandle, Registry* registryOverride)
    : registry_(registryOverride != nullptr ? *registryOverride : win32Registry_),
      instance(instanceHandle),
      store(registry_),
      profiles(store),
      alarmActions(environment, flash,
                   [this](int slot, float cost) {
                     AlarmNoticeSource source{alarms, environment,
                                              [this] { return call.CurrentCost(); },
                                              [this] { return call.CallLength(); }};
                     ShowAlarmNotice(source, slot, cost, call.CallLength());
                   }),
      call(CallServices{store, environment, profiles, bill, alarms, alarmActions}) {
  assert(theProgram == nullptr);
  theProgram = this;
  firstPerUserRun_ = store.ChooseHive();
}

Program::~Program() { theProgram = nullptr; }

void Program::TellStartupNotices() {
  std::string text = firstPerUserRun_ ? kPerUserNotice : "";
  std::uint32_t otherBillItems = OtherBillItemsToTell(store);
  if (otherBillItems > 0) {
    if (!text.empty()) text += "\n\n";
    text += OtherBillNotice(store, otherBillItems);
  }
  if (text.empty()) return;
  desktop.messageBox(nullptr, text.c_str(), "Tollwick",
                     MB_OK | (firstPerUserRun_ ? MB_ICONWARNING : MB_ICONINFORMATION));
  // Remembered once read, so a run cut short while the box is open tells again.
  if (otherBillItems > 0) RememberOtherBillTold(store);
}

void Program::LoadState() {
  bill = LoadBill(store);
  LoadAlarms(store, alarms);
  LoadProgramSettings(store, settings, flash);
  // After the bill: recovery appends to it. A call a run on the other hive left in progress is
  // billed here too, once, into the bill in use; but not while a run monitors that hive, whose
  // call is still under way.
  std::optional<SettingsStore> other = store.OtherHiveStore();
  std::optional<MonitorLock> otherLock;
  if (other) {
    otherLock.emplace(MonitorLockNameFor(other->hive()));
    if (otherLock->state() != MonitorLock::State::kHeld) other.reset();
  }
  RecoverInterruptedCall(other ? *other : store, store, environment, bill);
}

void Program::FreeState() { bill = Bill(); }

Program& App() {
  assert(theProgram != nullptr);
  return *theProgram;
}

}  // namespace tollwick
