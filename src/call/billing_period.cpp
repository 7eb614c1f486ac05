#include "call/billing_period.h"

#include <algorithm>

namespace tollwick {
namespace {

constexpr std::uint32_t kFirstYear = 1601;
constexpr std::uint32_t kLastYear = 30827;

// Days since 1 January 1970 of a real date (the proleptic Gregorian calendar).
std::int64_t DaysFromCivil(std::int64_t year, std::uint32_t month, std::uint32_t day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = year / 400;
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

// The day a period starts in the month: the plan's day, or the month's last day when it is shorter.
CalendarDate StartIn(std::uint32_t periodDay, std::uint32_t month, std::uint32_t year) {
  return CalendarDate{std::min<std::uint32_t>(periodDay, DaysInMonth(month, year)), month, year};
}

}  // namespace

bool HasPlan(const PlanSettings& plan) {
  return plan.includedMinutes > 0 || plan.includedMB > 0 || plan.periodFee > 0.0f;
}

bool DayNumber(const CalendarDate& date, std::int64_t& day) {
  if (date.year < kFirstYear || date.year > kLastYear || date.month < 1 || date.month > 12 ||
      date.day < 1 || date.day > DaysInMonth(date.month, date.year)) {
    return false;
  }
  day = DaysFromCivil(date.year, date.month, date.day);
  return true;
}

BillingPeriod PeriodOf(std::uint32_t periodDay, const CalendarDate& today) {
  if (periodDay < 1 || periodDay > 31) periodDay = 1;
  CalendarDate first = StartIn(periodDay, today.month, today.year);
  if (today.day < first.day) {
    first = today.month == 1 ? StartIn(periodDay, 12, today.year - 1)
                             : StartIn(periodDay, today.month - 1, today.year);
  }
  const CalendarDate next = first.month == 12 ? StartIn(periodDay, 1, first.year + 1)
                                              : StartIn(periodDay, first.month + 1, first.year);
  BillingPeriod period;
  period.first = first;
  period.firstDay = DaysFromCivil(first.year, first.month, first.day);
  period.endDay = DaysFromCivil(next.year, next.month, next.day);
  period.last = next.day > 1 ? CalendarDate{next.day - 1, next.month, next.year}
                : next.month == 1 ? CalendarDate{31, 12, next.year - 1}
                                  : CalendarDate{DaysInMonth(next.month - 1, next.year),
                                                 next.month - 1, next.year};
  return period;
}

PeriodUsage UsageIn(const Bill& bill, const char* account, const BillingPeriod& period) {
  PeriodUsage used;
  const UserKey key = MakeUserKey(account);
  for (const BillItem& item : bill) {
    std::int64_t day = 0;
    if (item.type != kCall || item.account[0] == '\0' || !UserMatches(&key, item.account)) {
      continue;
    }
    if (!DayNumber(CalendarDate{item.day, item.month, item.year}, day)) continue;
    if (day < period.firstDay || day >= period.endDay) continue;
    used.minutes += PackedHours(item.length) * 60u + PackedMinutes(item.length);
    if (item.volume.known) used.bytes += item.volume.Total();
    used.callCost += item.cost;
  }
  return used;
}

Allowance AllowanceLeft(const PlanSettings& plan, const PeriodUsage& used) {
  Allowance left;
  if (used.minutes < plan.includedMinutes) left.freeSeconds = (plan.includedMinutes - used.minutes) * 60;
  const std::uint64_t includedBytes = plan.includedMB * kBytesPerMB;
  if (used.bytes < includedBytes) left.freeBytes = includedBytes - used.bytes;
  return left;
}

PeriodUsage WithCall(PeriodUsage used, PackedTime length, const CallVolume& volume, float cost) {
  used.minutes += PackedHours(length) * 60u + PackedMinutes(length);
  if (volume.known) used.bytes += volume.Total();
  used.callCost += cost;
  return used;
}

PlanFigures FiguresOf(const PlanSettings& plan, const BillingPeriod& period,
                      const PeriodUsage& used, const LocalTime& now) {
  constexpr double kSecondsPerDay = 24.0 * 60 * 60;
  PlanFigures figures;
  std::int64_t today = period.firstDay;
  DayNumber(DateOf(now), today);
  figures.daysLeft = std::max<std::int64_t>(period.endDay - today, 0);
  figures.costSoFar = used.callCost + plan.periodFee;
  const double elapsed = static_cast<double>(today - period.firstDay) * kSecondsPerDay +
                         now.hour * 3600.0 + now.minute * 60.0 + now.second;
  const double whole = static_cast<double>(period.endDay - period.firstDay) * kSecondsPerDay;
  // The first seconds of a period say little; a minute at least keeps the estimate finite.
  figures.estimatedCost = plan.periodFee + used.callCost * whole / std::max(elapsed, 60.0);
  return figures;
}

}  // namespace tollwick
