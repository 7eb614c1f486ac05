#pragma once
// The one owner of a call's price. The call counts its seconds and hands each counted second here
// (catch-up included); the pricer says at any moment what the call would be billed if it ended now.
//
// The pricing order, each step in single precision:
//   1. the allowance: the first counted seconds, as many as the allowance holds, and the bytes within
//      its free bytes cost nothing and take no part in what follows;
//   2. each further counted second at its per-minute rate (or the rate in force at the call's first
//      counted second, under "RateAtStart"), less its discounts;
//   3. the charging steps: the seconds billed beyond those counted ("FirstPeriod", "Increment") are
//      priced as if the call had gone on for them;
//   4. plus the connection fee, when a second is charged;
//   5. plus the volume: the chargeable kilobytes in steps ("VolumeFirst", "VolumeStep") at
//      "VolumeRate" per megabyte;
//   6. the minimum charge;
//   7. rounding up to a whole penny ("RoundUp");
//   8. the result kept within what the bill stores and reads back (kLargestAmount either way).
// With none of the rules set, no allowance and no volume price, that is the running sum of the
// counted seconds' prices with the minimum charge applied, as it always was.

#include <cstdint>
#include <vector>

#include "charging/charge_profile.h"
#include "platform/call_volume.h"
#include "platform/environment.h"

namespace tollwick {

class CallPricer {
 public:
  // Prices a call under the profile (a copy: the call's discounts count their free time down in it),
  // with what is left of the account's plan when the call starts.
  explicit CallPricer(const ChargeProfile& profile, const Allowance& allowance = Allowance());

  // Counts `count` seconds of the call, in order, the last of them ending `lagSeconds` seconds before
  // the clock reading `clock`, each priced at the moment it ended: a rate boundary, a discount window
  // or midnight inside a backlog is priced as seconds counted on time would have been.
  void CountSeconds(std::uint32_t count, const LocalTime& clock, std::uint32_t lagSeconds = 0);

  std::uint64_t CountedSeconds() const { return counted_; }

  // What the call would be billed if it ended now, having moved `volume` (unknown costs nothing).
  float Cost(const CallVolume& volume) const;

 private:
  // The cost of the seconds alone (steps 2 to 4 of the order), for `counted_` seconds.
  float TimeCost() const;

  ChargeProfile profile_;  // its discounts count their free time down with the charged seconds
  Allowance allowance_;
  std::uint64_t counted_ = 0;
  float runningCost_ = 0.0f;  // the charged counted seconds, summed
  float startPrice_ = 0.0f;   // the price of a second at the first counted second
  LocalTime lastSecond_;      // when the last counted second ended
  // TimeCost for `cachedFor_` counted seconds: the seconds a step adds are priced once per counted
  // second, however often the cost is asked for.
  mutable std::uint64_t cachedFor_ = ~std::uint64_t{0};
  mutable float cachedTimeCost_ = 0.0f;
};

// A local time stepped by whole milliseconds either way (at most a day back), across midnight, the
// day of the week and the month.
LocalTime ShiftedBy(LocalTime t, std::int64_t ms);

}  // namespace tollwick
