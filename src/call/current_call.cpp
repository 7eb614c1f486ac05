#include "call/current_call.h"

#include <algorithm>

#include "call/billing_period.h"
#include "call/call_recovery.h"
#include "call/curcall_record.h"

namespace tollwick {
namespace {

constexpr std::uint32_t kMillisecondsPerSecond = 1000;
constexpr std::int32_t kSecondsPerMinute = 60;

}  // namespace

CatchUp CatchUpFor(std::uint32_t behind) {
  if (behind > kLongestCountedGapMs) return CatchUp{0, true};
  return CatchUp{behind == 0 ? 0 : (behind - 1) / kMillisecondsPerSecond, false};
}

CurrentCall::~CurrentCall() = default;

float CurrentCall::CurrentCost() const {
  if (!profile_) return 0.0f;
  return pricer_->Cost(volume_);
}

void CurrentCall::GrantAllowance(const Allowance& allowance) {
  if (!IsCallInProgress() || pricer_->CountedSeconds() != 0) return;
  pricer_.emplace(*profile_, allowance);
}

void CurrentCall::StartCall(const char* entryName, TrafficSource* traffic) {
  if (IsCallInProgress()) EndCall();
  ++generation_;
  ResetAlarmRunStates(services_.alarms);
  volume_ = CallVolume();
  volumeCounter_.Reset();
  // .Default first: an account that uses the default settings copies them from it.
  defaultProfile_ = services_.profiles.Load(kDefaultProfileName, true);
  // Entry names longer than a profile name are cut; the cut name is also the account's key.
  profile_ = services_.profiles.Load(entryName, false);
  pricer_.emplace(*profile_);
  // The period's usage once per call, not per tick: the bill changes only between calls.
  period_ = PeriodOf(profile_->plan.periodDay, LocalDate(services_.environment));
  usedBefore_ = HasPlan(profile_->plan) ? UsageIn(services_.bill, profile_->name, period_)
                                         : PeriodUsage{};
  GrantAllowance(AllowanceLeft(profile_->plan, usedBefore_));
  seconds_ = minutes_ = hours_ = 0;
  services_.environment.UserName(userName_, kNameChars);
  userName_[kNameChars - 1] = '\0';
  startTime_ = LocalTimeOfDay(services_.environment);
  lastTick_ = services_.environment.TickCount();
  ReadTraffic(traffic);
  // A first snapshot before the marker, so a call interrupted within its first minute is billed
  // with its own start, user and account rather than an earlier call's values.
  SaveSnapshot();
  MarkCallInProgress(services_.store);
}

void CurrentCall::AccrueTick(TrafficSource* traffic) {
  if (!IsCallInProgress() || suspended_) return;
  const std::uint32_t counted = lastTick_;
  CountSeconds(services_.environment.TickCount(), kSecondsPerMinute);
  if (lastTick_ != counted) ReadTraffic(traffic);
  if (seconds_ >= kSecondsPerMinute) MinuteStep();
}

void CurrentCall::CountSeconds(std::uint32_t now, std::int32_t upTo) {
  // Unsigned difference: right across the tick count's wrap-around after 49.7 days.
  const CatchUp due = CatchUpFor(now - lastTick_);
  if (due.dropGap) lastTick_ = now;
  if (due.seconds == 0) return;
  if (seconds_ >= upTo) return;
  // One reading of the clock. The last second due ended at it, as a tick on time prices its one
  // second, and each earlier one a whole second before the next: the seconds that reach the end of
  // the minute now are the first of those due.
  const auto count = std::min(due.seconds, static_cast<std::uint32_t>(upTo - seconds_));
  pricer_->CountSeconds(count, services_.environment.Now(), due.seconds - count);
  seconds_ += static_cast<std::int32_t>(count);
  lastTick_ += count * kMillisecondsPerSecond;
}

void CurrentCall::ReadTraffic(TrafficSource* traffic) {
  if (traffic == nullptr) return;
  const std::optional<TrafficReading> reading = traffic->ReadTraffic();
  // A failed reading changes nothing; its time goes to the next one.
  if (!reading) return;
  volumeCounter_.Take(*reading, (lastTick_ - readTick_) / kMillisecondsPerSecond, volume_);
  readTick_ = lastTick_;
}

void CurrentCall::SaveFinalSnapshot() {
  if (!IsCallInProgress()) return;
  if (!suspended_) CountSeconds(services_.environment.TickCount(), kSecondsPerMinute - 1);
  SaveSnapshot();
}

void CurrentCall::Suspend() {
  if (suspended_) return;
  SaveFinalSnapshot();
  suspended_ = true;
  suspendedAt_ = services_.environment.TickCount();
}

void CurrentCall::Resume() {
  if (!suspended_) return;
  suspended_ = false;
  // The time asleep is taken out; what was not yet counted before it is counted as usual.
  lastTick_ += services_.environment.TickCount() - suspendedAt_;
}

void CurrentCall::MinuteStep() {
  seconds_ = 0;
  const std::uint32_t generation = generation_;
  // The check may open a modal alarm notice whose message loop keeps the timer running: the call
  // can end, or another begin, before it returns. The check stops there, and the rest of this
  // minute belongs to no call.
  const SameCallFunction sameCall = [this, generation] { return generation == generation_; };
  CheckAlarms(services_.alarms, CurrentCost(), services_.alarmActions, sameCall, volume_);
  if (!sameCall()) return;
  minutes_ += 1;
  if (minutes_ >= 60) {
    minutes_ = 0;
    hours_ += 1;
  }
  SaveSnapshot();
}

BillItem CurrentCall::AsBillItem() const {
  BillItem item;
  item.cost = CurrentCost();
  CopyBoundedText(item.account, kNameChars, profile_->name);
  CopyBoundedText(item.user, kNameChars, userName_);
  item.length = CallLength();
  item.start = startTime_;
  item.end = LocalTimeOfDay(services_.environment);
  item.type = kCall;
  item.volume = volume_;
  const CalendarDate date = LocalDate(services_.environment);
  item.day = date.day;
  item.month = date.month;
  item.year = date.year;
  return item;
}

void CurrentCall::SaveSnapshot() { SaveCurCall(services_.store, AsBillItem()); }

void CurrentCall::EndCall() {
  if (!IsCallInProgress()) return;
  CommitCall(services_.store, services_.bill, AsBillItem());
  profile_.reset();
  defaultProfile_.reset();
  pricer_.reset();
  ++generation_;
}

}  // namespace tollwick
