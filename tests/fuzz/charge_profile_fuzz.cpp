// An account's charge settings and discounts as a damaged registry could hold them: loading must
// give finite rates and amounts and terminated names, pricing must give a finite cost, and saving
// the profile under another name must store every discount it loaded, each under a key of its own.

#include <cmath>
#include <cstring>
#include <string>

#include "charging/profile_library.h"
#include "charging/call_pricer.h"
#include "platform/little_endian.h"
#include "fuzz_input.h"

using namespace tollwick;

namespace {

const std::string kRoot = kRootPath;
const char* const kDiscountValues[] = {"Mode",    "Percent",  "FreeMins", "SomeTimes", "Sunday",
                                       "Monday",  "Tuesday",  "Wednesday", "Thursday", "Friday",
                                       "Saturday", "Certain", "From",     "To"};

void StoreProfile(FuzzInput& input, FakeRegistry& registry, const std::string& key) {
  for (const char* name :
       {"UseDefault", "CallChargeInfo", "MinChargeOn", "MinCharge", "ConnectionFee", "FirstPeriod",
        "Increment", "RateAtStart", "RoundUp", "VolumeRate", "VolumeFirst", "VolumeStep",
        "PeriodDay", "IncludedMinutes", "IncludedMB", "PeriodFee"}) {
    input.StoreValue(registry, kHkeyLocalMachine, key, name);
  }
  const int discounts = input.Byte() % 5;
  for (int i = 0; i < discounts; ++i) {
    const std::string discountKey = key + "\\Discounts\\" + input.Name();
    for (const char* name : kDiscountValues) {
      input.StoreValue(registry, kHkeyLocalMachine, discountKey, name);
    }
  }
}

void CheckLoaded(const ChargeProfile& profile) {
  FuzzCheck(std::memchr(profile.name, '\0', sizeof profile.name) != nullptr, "profile name ends");
  for (float amount : {profile.charge.dayRate, profile.charge.eveningRate,
                       profile.charge.weekendRate, profile.minCharge}) {
    FuzzCheck(std::isfinite(amount), "rates and minimum charge finite");
  }
  for (const Discount& discount : profile.discounts) {
    FuzzCheck(std::memchr(discount.name, '\0', sizeof discount.name) != nullptr, "name ends");
    FuzzCheck(std::isfinite(discount.percent) && std::isfinite(discount.freeMins),
              "discount amounts finite");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  FakeRegistry registry;
  SettingsStore store(registry);
  StoreProfile(input, registry, kRoot + "\\.Default");
  StoreProfile(input, registry, kRoot + "\\Acct");

  ProfileLibrary library(store);
  ProfileLibrary::Owned defaults = library.Load(kDefaultProfileName, true);
  ProfileLibrary::Owned account = library.Load("Acct", false);
  CheckLoaded(*defaults);
  CheckLoaded(*account);

  // A few seconds priced at moments across the week and the day, as the call in progress does,
  // with what the input says the call moved and what its plan left.
  CallPricer pricer(*account, Allowance{input.Byte() % 8u, input.Byte() * 4096u});
  for (std::uint16_t step = 0; step < 8; ++step) {
    LocalTime now;
    now.dayOfWeek = step % 7;
    now.hour = static_cast<std::uint16_t>(step * 3);
    now.minute = static_cast<std::uint16_t>(step * 7);
    pricer.CountSeconds(1, now);
  }
  const float cost = pricer.Cost(CallVolume{input.Byte() % 2 == 0,
                                            std::uint64_t{input.Byte()} << (input.Byte() % 56), 0});
  FuzzCheck(std::isfinite(cost) && std::fabs(cost) <= kLargestAmount,
            "a call's cost within what the bill reads back");

  ChargeProfile copy = *account;
  std::strcpy(copy.name, "Copy");
  copy.useDefault = 0;
  library.SaveChargeProfile(copy);
  ProfileLibrary::Owned reloaded = library.Load("Copy", false);
  FuzzCheck(reloaded->discounts.size() == account->discounts.size(),
            "every discount saved under a key of its own");
  return 0;
}
