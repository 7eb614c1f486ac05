#pragma once
// The call in progress: from the first timer tick that finds a connection to the first that finds none.
// It loads the charge profile of the connection's phone-book entry, counts the call's seconds from the
// system tick count, prices each counted second, runs the alarm check and saves a snapshot of the call
// once a minute, and at the end turns the call into a bill item.

#include <cstdint>
#include <functional>
#include <optional>

#include "alarms/alarm_table.h"
#include "bill/bill_store.h"
#include "call/billing_period.h"
#include "call/volume_counter.h"
#include "charging/call_pricer.h"
#include "charging/charge_profile.h"
#include "charging/profile_library.h"
#include "platform/call_volume.h"
#include "platform/environment.h"
#include "platform/packed_time.h"

namespace tollwick {

// The longest gap between two timer ticks whose seconds are all counted: far longer than the thread
// is ever held (a slow printer driver, a large bill loading, a loaded machine).
constexpr std::uint32_t kLongestCountedGapMs = 10 * 60 * 1000;

// What a tick counts when `behind` milliseconds (an unsigned difference of tick counts) have passed
// since the last counted second: every whole second, each one that is strictly over, as ticks on
// time count them. A longer gap than kLongestCountedGapMs is a machine that did not run (a suspend
// that sent no message, a paused virtual machine) or a tick count that went backwards, which the
// unsigned difference makes huge: none of it is counted, and counting starts afresh from the tick.
struct CatchUp {
  std::uint32_t seconds = 0;
  bool dropGap = false;
};
CatchUp CatchUpFor(std::uint32_t behind);

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

  // Begins a call for the entry (billing one still in progress first). The connection's traffic, when
  // given, is read at once: its counters now are the call's starting point.
  void StartCall(const char* entryName, TrafficSource* traffic = nullptr);
  // Once per timer tick, connected or not: counts every whole second since the last one counted
  // (CatchUpFor), each priced at the time of day it ended, up to the end of a minute, whose alarm
  // check and snapshot then run; the rest is counted by the ticks that follow. A tick that counted
  // a second (or dropped a gap) reads the traffic, when given, once, before the minute's snapshot.
  void AccrueTick(TrafficSource* traffic = nullptr);
  // Writes the snapshot of a call in progress with every second counted up to now, except one that
  // would complete a minute (its alarm check and snapshot belong to a tick): for Exit and the end of
  // the session, after which the next start bills the call with nothing lost. Opens nothing.
  void SaveFinalSnapshot();
  // The machine is about to sleep: the final snapshot, then no second is counted until Resume,
  // which leaves the time asleep uncounted. Both may come more than once.
  void Suspend();
  void Resume();
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
  // What the call would be billed if it ended now (CallPricer: the account's rules, the volume so
  // far, the allowance); 0 when no call is in progress. Shown, alarmed on, snapshotted and billed.
  float CurrentCost() const;
  // What is left of the account's plan for this call: its first seconds and bytes cost nothing.
  // The plan's allowance enters here, right after StartCall has loaded the profiles (before the
  // first snapshot and the first counted second); a call without one is priced with none. Ignored
  // once a second is counted, so no second is ever priced twice.
  void GrantAllowance(const Allowance& allowance);
  // What the call has moved so far; unknown until its connection reports.
  const CallVolume& Volume() const { return volume_; }
  // The account's billing period when the call started, and what it had used of it before.
  const BillingPeriod& CallPeriod() const { return period_; }
  const PeriodUsage& UsageBeforeCall() const { return usedBefore_; }

 private:
  // The bill item the call would become if it ended now: what its snapshot stores and what its
  // end bills.
  BillItem AsBillItem() const;
  void SaveSnapshot();
  void MinuteStep();
  // Counts the seconds due at tick `now` while fewer than `upTo` are counted in the minute.
  void CountSeconds(std::uint32_t now, std::int32_t upTo);
  void ReadTraffic(TrafficSource* traffic);

  CallServices services_;
  ProfileLibrary::Owned defaultProfile_;
  ProfileLibrary::Owned profile_;
  std::optional<CallPricer> pricer_;  // while a call is in progress
  CallVolume volume_;
  VolumeCounter volumeCounter_;
  std::uint32_t readTick_ = 0;  // lastTick_ at the last reading of the traffic
  BillingPeriod period_;
  PeriodUsage usedBefore_;
  std::int32_t seconds_ = 0;
  std::int32_t minutes_ = 0;
  std::int32_t hours_ = 0;
  std::uint32_t lastTick_ = 0;
  bool suspended_ = false;
  std::uint32_t suspendedAt_ = 0;  // tick count
  PackedTime startTime_ = 0;
  char userName_[kNameChars] = {};
  // Changes with every start and end, so work interrupted by a modal alarm notice can tell whether
  // the call it began with is still the one in progress.
  std::uint32_t generation_ = 0;
};

}  // namespace tollwick
