#pragma once
// An account's billing period and what it has used of it, worked out from the bill alone: nothing
// is stored, so restarts, crashes and deletes can never count a call twice.

#include <cstdint>

#include "bill/bill.h"
#include "bill/bill_store.h"
#include "charging/charge_profile.h"
#include "platform/packed_time.h"

namespace tollwick {

// An account has a plan when its period includes something or costs something; without one every
// view and price stays as before.
bool HasPlan(const PlanSettings& plan);

// Days since 1 January 1970 of a date; nothing for one that is not a real date between the years
// 1601 and 30827 (the system clock's range), which then counts in no period.
bool DayNumber(const CalendarDate& date, std::int64_t& day);

// A period starts on the plan's day at 0:00 and ends before the next one; in a month without that
// day it starts on the month's last day. A day outside 1 to 31 is day 1.
struct BillingPeriod {
  CalendarDate first;
  CalendarDate last;       // its last day
  std::int64_t firstDay = 0;
  std::int64_t endDay = 0;  // the day after its last day
};
BillingPeriod PeriodOf(std::uint32_t periodDay, const CalendarDate& today);

// What one account used in a period: its calls dated inside it (the day they ended), in the
// started minutes their lengths hold, their bytes where known, and their cost.
struct PeriodUsage {
  std::uint64_t minutes = 0;
  std::uint64_t bytes = 0;
  double callCost = 0.0;
};
// Accounts are registry key names, so they match ignoring the case of a to z.
PeriodUsage UsageIn(const Bill& bill, const char* account, const BillingPeriod& period);

// What the plan leaves free for a call starting after that usage.
Allowance AllowanceLeft(const PlanSettings& plan, const PeriodUsage& used);

// The usage with a call in progress added: its started minutes, its bytes once known, its cost.
PeriodUsage WithCall(PeriodUsage used, PackedTime length, const CallVolume& volume, float cost);

// What the Plan page shows of an account's period at a moment of it.
struct PlanFigures {
  std::int64_t daysLeft = 0;   // today included
  double costSoFar = 0.0;      // the calls and the period's fee
  // The fee, and the calls' cost spread over the time elapsed since the period began, carried to
  // its end: an estimate at the present rate of use.
  double estimatedCost = 0.0;
};
PlanFigures FiguresOf(const PlanSettings& plan, const BillingPeriod& period,
                      const PeriodUsage& used, const LocalTime& now);

}  // namespace tollwick
