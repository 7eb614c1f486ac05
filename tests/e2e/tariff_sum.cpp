// The cost a call should have, from the tariff itself: tells whether a billed cost is the sum of the
// per-second prices, less discounts, of a call on the account's stored profile that started at the
// billed minute (at any second of it) and lasted the billed length (the started minute counted).
//
//   tariff_sum ACCOUNT START LENGTH COST   START, LENGTH as stored PackedTimes, COST as its float's bits
//
// Prints the price and deduction of the call's first second and the seconds that give the cost;
// exits 0 when some start second and call length give exactly the cost, 1 otherwise.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "charging/profile_library.h"
#include "charging/tariff.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_registry.h"

namespace {

using tollwick::LocalTime;

constexpr int kSecondsPerDay = 24 * 60 * 60;

// Today's clock at the given second of the day.
LocalTime At(LocalTime today, int secondOfDay) {
  today.hour = static_cast<std::uint16_t>(secondOfDay / 3600);
  today.minute = static_cast<std::uint16_t>(secondOfDay / 60 % 60);
  today.second = static_cast<std::uint16_t>(secondOfDay % 60);
  return today;
}

float CallCost(const tollwick::ChargeProfile& profile, const LocalTime& today, int first,
               int seconds) {
  std::vector<tollwick::Discount> discounts = profile.discounts;  // free time counts down
  float cost = 0.0f;
  for (int s = 0; s < seconds; ++s) {
    const LocalTime clock = At(today, first + s);
    const float price = tollwick::PerSecondCharge(profile, clock);
    cost = tollwick::AddChargedSecond(cost, price,
                                      tollwick::DiscountDeduction(discounts, price, clock));
  }
  return cost;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: tariff_sum ACCOUNT START LENGTH COST_BITS\n");
    return 2;
  }
  const unsigned long start = std::strtoul(argv[2], nullptr, 0);
  const unsigned long length = std::strtoul(argv[3], nullptr, 0);
  // Compared bit for bit: a decimal text of the cost would round it.
  const std::uint32_t bits = static_cast<std::uint32_t>(std::strtoul(argv[4], nullptr, 0));
  float billed = 0.0f;
  std::memcpy(&billed, &bits, sizeof billed);
  const int startSecond = static_cast<int>(((start >> 8) & 255) * 3600 + (start & 255) * 60);
  const int minutes = static_cast<int>(((length >> 8) & 255) * 60 + (length & 255));

  tollwick::Win32Registry registry;
  tollwick::SettingsStore store(registry);
  store.ChooseHive();
  tollwick::ProfileLibrary library(store);
  const tollwick::ProfileLibrary::Owned defaults =
      library.Load(tollwick::kDefaultProfileName, true);
  const tollwick::ProfileLibrary::Owned profile = library.Load(argv[1], false);
  tollwick::Win32Environment environment;
  const LocalTime today = environment.Now();

  std::vector<tollwick::Discount> firstDiscounts = profile->discounts;
  const LocalTime first = At(today, startSecond);
  const float price = tollwick::PerSecondCharge(*profile, first);
  std::printf("price %.9g deduction %.9g\n", price,
              tollwick::DiscountDeduction(firstDiscounts, price, first));
  for (int offset = 0; offset < 60; ++offset) {
    for (int seconds = (minutes - 1) * 60; seconds <= minutes * 60; ++seconds) {
      if (seconds < 1 || startSecond + offset + seconds > kSecondsPerDay) continue;
      if (CallCost(*profile, today, startSecond + offset, seconds) != billed) continue;
      std::printf("seconds %d from second %d of the start minute\n", seconds, offset);
      return 0;
    }
  }
  std::printf("no call of %d minute(s) from %02d:%02d costs %.9g\n", minutes, startSecond / 3600,
              startSecond / 60 % 60, billed);
  return 1;
}
