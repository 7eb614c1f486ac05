#include "call/current_call.h"

#include "call/call_recovery.h"
#include "call/curcall_record.h"
#include "charging/tariff.h"

namespace tollwick {
namespace {

constexpr std::uint32_t kMillisecondsPerSecond = 1000;
constexpr std::int32_t kSecondsPerMinute = 60;

std::uint16_t DaysInMonth(std::uint16_t month, std::uint16_t year) {
  static const std::uint16_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 31;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return static_cast<std::uint16_t>(kDays[month - 1] + (month == 2 && leap ? 1 : 0));
}

// The clock reading `ms` milliseconds before `t` (at most a day, which the counted gap is far below),
// with the day of the week and the date stepped back across midnight.
LocalTime EarlierBy(LocalTime t, std::uint32_t ms) {
  constexpr std::int64_t kMsPerDay = 24LL * 60 * 60 * 1000;
  std::int64_t ofDay = ((t.hour * 60LL + t.minute) * 60 + t.second) * 1000 + t.milliseconds;
  ofDay -= ms;
  if (ofDay < 0) {
    ofDay += kMsPerDay;
    t.dayOfWeek = static_cast<std::uint16_t>((t.dayOfWeek + 6) % 7);
    if (t.day > 1) {
      t.day = static_cast<std::uint16_t>(t.day - 1);
    } else {
      if (t.month > 1) {
        t.month = static_cast<std::uint16_t>(t.month - 1);
      } else {
        t.month = 12;
        t.year = static_cast<std::uint16_t>(t.year - 1);
      }
      t.day = DaysInMonth(t.month, t.year);
    }
  }
  t.milliseconds = static_cast<std::uint16_t>(ofDay % 1000);
  t.second = static_cast<std::uint16_t>(ofDay / 1000 % 60);
  t.minute = static_cast<std::uint16_t>(ofDay / 60000 % 60);
  t.hour = static_cast<std::uint16_t>(ofDay / 3600000);
  return t;
}

}  // namespace

CatchUp CatchUpFor(std::uint32_t behind) {
  if (behind > kLongestCountedGapMs) return CatchUp{0, true};
  return CatchUp{behind == 0 ? 0 : (behind - 1) / kMillisecondsPerSecond, false};
}

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
  if (!IsCallInProgress() || suspended_) return;
  CountSeconds(services_.environment.TickCount(), kSecondsPerMinute);
  if (seconds_ >= kSecondsPerMinute) MinuteStep();
}

void CurrentCall::CountSeconds(std::uint32_t now, std::int32_t upTo) {
  // Unsigned difference: right across the tick count's wrap-around after 49.7 days.
  const CatchUp due = CatchUpFor(now - lastTick_);
  if (due.dropGap) lastTick_ = now;
  if (due.seconds == 0) return;
  // One reading of the clock. The last second due is priced at it, as a tick on time prices its
  // one second, and each earlier one a whole second before the next, as the ticks on time would
  // have priced them: a rate boundary or a discount window inside a gap is kept.
  const LocalTime clock = services_.environment.Now();
  for (std::uint32_t i = 0; i < due.seconds && seconds_ < upTo; ++i) {
    seconds_ += 1;
    lastTick_ += kMillisecondsPerSecond;
    const LocalTime at = EarlierBy(clock, (due.seconds - 1 - i) * kMillisecondsPerSecond);
    const float price = PerSecondCharge(*profile_, at);
    const float deduction = DiscountDeduction(profile_->discounts, price, at);
    accruedCost_ = AddChargedSecond(accruedCost_, price, deduction);
  }
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
  CheckAlarms(services_.alarms, CurrentCost(), services_.alarmActions, sameCall);
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
  ++generation_;
}

}  // namespace tollwick
