#include "core/win32/program.h"

#include <cstdio>
#include <string>

#include "alarms/win32/alarm_notice.h"
#include "call/call_recovery.h"
#include "core/other_hive_bill.h"
#include "core/win32/monitor_lock.h"

namespace tollwick {
namespace {

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

Program::Program(HINSTANCE instance, Registry* registryOverride)
    : registry_(registryOverride != nullptr ? *registryOverride : win32Registry_),
      instance_(instance),
      store_(registry_),
      profiles_(store_),
      alarmActions_(environment_, flash_,
                    [this](int slot, float cost) {
                      AlarmNoticeSource source{alarms_, environment_,
                                               [this] { return call_.CurrentCost(); },
                                               [this] { return call_.CallLength(); }};
                      ShowAlarmNotice(source, slot, cost, call_.CallLength());
                    }),
      call_(CallServices{store_, environment_, profiles_, bill_, alarms_, alarmActions_}),
      planWarnings_(store_) {
  firstPerUserRun_ = store_.ChooseHive();
}

void Program::TellStartupNotices() {
  std::string text = firstPerUserRun_ ? kPerUserNotice : "";
  std::uint32_t otherBillItems = OtherBillItemsToTell(store_);
  if (otherBillItems > 0) {
    if (!text.empty()) text += "\n\n";
    text += OtherBillNotice(store_, otherBillItems);
  }
  if (text.empty()) return;
  desktop_.messageBox(nullptr, text.c_str(), "Tollwick",
                     MB_OK | (firstPerUserRun_ ? MB_ICONWARNING : MB_ICONINFORMATION));
  // Remembered once read, so a run cut short while the box is open tells again.
  if (otherBillItems > 0) RememberOtherBillTold(store_);
}

void Program::LoadState() {
  bill_ = LoadBill(store_);
  LoadAlarms(store_, alarms_);
  LoadProgramSettings(store_, settings_, flash_);
  // After the bill: recovery appends to it. A call a run on the other hive left in progress is
  // billed here too, once, into the bill in use; but not while a run monitors that hive, whose
  // call is still under way.
  std::optional<SettingsStore> other = store_.OtherHiveStore();
  std::optional<MonitorLock> otherLock;
  if (other) {
    otherLock.emplace(MonitorLockNameFor(other->hive()));
    if (otherLock->state() != MonitorLock::State::kHeld) other.reset();
  }
  RecoverInterruptedCall(other ? *other : store_, store_, environment_, bill_);
}

void Program::FreeState() { bill_ = Bill(); }

}  // namespace tollwick
