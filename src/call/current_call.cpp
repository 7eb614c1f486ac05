#include "call/current_call.h"

#include "call/call_recovery.h"
#include "call/curcall_record.h"
#include "charging/tariff.h"

namespace tollwick {
namespace {

constexpr std::uint32_t kMillisecondsPerSecond = 1000;

}  // namespace

CurrentCall::~CurrentCall() = default;

float CurrentCall::CurrentCost() const {
  if (!profile_) return 0.0f;
  if (profile_->minChargeOn == 0) return accruedCost_;
  return accruedCost_ >= profile_->minCharge ? accruedCost_ : profile_->minCharge;
}

void CurrentCall::StartCall(const char* entryName) {
  if (IsCallInProgress()) EndCall();
  ++generation_;
  ResetAlarmRunStates(services_.alarms);
  accruedCost_ = 0.0f;
  // .Default first: an account that uses the default settings copies them from it.
  defaultProfile_ = services_.profiles.Load(kDefaultProfileName, true);
  // Entry names longer than a profile name are cut; the cut name is also the account's key.
  profile_ = services_.profiles.Load(entryName, false);
  seconds_ = minutes_ = hours_ = 0;
  services_.environment.UserName(userName_, kNameChars);
  userName_[kNameChars - 1] = '\0';
  startTime_ = LocalTimeOfDay(services_.environment);
  lastTick_ = services_.environment.TickCount();
  // A first snapshot before the marker, so a call interrupted within its first minute is billed
  // with its own start, user and account rather than an earlier call's values.
  SaveSnapshot();
  MarkCallInProgress(services_.store);
}

void CurrentCall::AccrueTick() {
  if (!IsCallInProgress()) return;
  std::uint32_t now = services_.environment.TickCount();
  // Unsigned difference: right across the tick count's wrap-around after 49.7 days.
  if (now - lastTick_ > kMillisecondsPerSecond) {
    seconds_ += 1;
    lastTick_ += kMillisecondsPerSecond;
    LocalTime clock = services_.environment.Now();
    float price = PerSecondCharge(*profile_, clock);
    float deduction = DiscountDeduction(profile_->discounts, price, clock);
    accruedCost_ = AddChargedSecond(accruedCost_, price, deduction);
  }
  if (seconds_ >= 60) MinuteStep();
}

void CurrentCall::MinuteStep() {
  seconds_ = 0;
  const std::uint32_t generation = generation_;
  // The check may open a modal alarm notice whose message loop keeps the timer running: the call
  // can end, or another begin, before it returns. The check stops there, and the rest of this
  // minute belongs to no call.
  const SameCallFunction sameCall = [this, generation] { return generation == generation_; };
  CheckAlarms(services_.alarms, CurrentCost(), services_.alarmActions, sameCall);
  if (!sameCall()) return;
  minutes_ += 1;
  if (minutes_ >= 60) {
    minutes_ = 0;
    hours_ += 1;
  }
  SaveSnapshot();
}

void CurrentCall::SaveSnapshot() {
  SaveCurCall(services_.store, CurrentCost(), startTime_, LocalTimeOfDay(services_.environment),
              CallLength(), LocalDate(services_.environment), userName_, profile_->name);
}

void CurrentCall::EndCall() {
  if (!IsCallInProgress()) return;
  BillItem item;
  item.cost = CurrentCost();
  CopyBoundedText(item.account, kNameChars, profile_->name);
  CopyBoundedText(item.user, kNameChars, userName_);
  item.length = CallLength();
  item.start = startTime_;
  item.end = LocalTimeOfDay(services_.environment);
  item.type = Call;
  CalendarDate date = LocalDate(services_.environment);
  item.day = date.day;
  item.month = date.month;
  item.year = date.year;
  CommitCall(services_.store, services_.bill, item);
  profile_.reset();
  defaultProfile_.reset();
  ++generation_;
}

}  // namespace tollwick
