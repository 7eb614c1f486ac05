#pragma once
// The call in progress: from the first timer tick that finds a connection to the first that finds none.
// It loads the charge profile of the connection's phone-book entry, counts the call's seconds from the
// system tick count, prices each counted second, runs the alarm check and saves a snapshot of the call
// once a minute, and at the end turns the call into a bill item.

#include <cstdint>
#include <functional>

#include "alarms/alarm_table.h"
#include "bill/bill_store.h"
#include "charging/charge_profile.h"
#include "charging/profile_library.h"
#include "platform/environment.h"
#include "platform/packed_time.h"

namespace tollwick {

// Everything a call works with, all owned elsewhere for the life of the program.
struct CallServices {
  const SettingsStore& store;
  Environment& environment;
  ProfileLibrary& profiles;
  Bill& bill;
  AlarmTable& alarms;
  AlarmActions& alarmActions;
};

class CurrentCall {
 public:
  explicit CurrentCall(CallServices services) : services_(std::move(services)) {}
  ~CurrentCall();
  CurrentCall(const CurrentCall&) = delete;
  CurrentCall& operator=(const CurrentCall&) = delete;

  // Begins a call for the entry (billing one still in progress first).
  void StartCall(const char* entryName);
  // Once per timer tick, connected or not: counts at most one second.
  void AccrueTick();
  // Ends the call and bills it.
  void EndCall();

  bool IsCallInProgress() const { return profile_ != nullptr; }
  const ChargeProfile* CallProfile() const { return profile_.get(); }
  const char* CallUserName() const { return userName_; }
  PackedTime CallStartTime() const { return startTime_; }
  int CallHours() const { return hours_; }
  int CallMinutes() const { return minutes_; }
  int CallSeconds() const { return seconds_; }
  // The minute under way counts as whole: 0:00:05 is 0:01, and 0:59:59 is 0:60.
  PackedTime CallLength() const {
    return (static_cast<PackedTime>(hours_) << 8) | static_cast<PackedTime>(minutes_ + 1);
  }
  // The cost with the minimum charge applied; 0 when no call is in progress.
  float CurrentCost() const;
  // The running sum of the per-second charges, before the minimum charge.
  float AccruedCost() const { return accruedCost_; }

 private:
  void SaveSnapshot();
  void MinuteStep();

  CallServices services_;
  ProfileLibrary::Owned defaultProfile_;
  ProfileLibrary::Owned profile_;
  float accruedCost_ = 0.0f;
  std::int32_t seconds_ = 0;
  std::int32_t minutes_ = 0;
  std::int32_t hours_ = 0;
  std::uint32_t lastTick_ = 0;
  PackedTime startTime_ = 0;
  char userName_[kNameChars] = {};
  // Changes with every start and end, so work interrupted by a modal alarm notice can tell whether
  // the call it began with is still the one in progress.
  std::uint32_t generation_ = 0;
};

}  // namespace tollwick
