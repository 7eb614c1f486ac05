#pragma once
// One dial-up account's charge settings (or ".Default"): the rate block, the minimum charge and the
// discount list, with their stored form under the account's key.

#include <cstdint>
#include <vector>

#include "platform/packed_time.h"
#include "platform/settings_store.h"

namespace tollwick {

enum DiscountMode : std::uint32_t { kPercentageDiscount = 0, kTimeFree = 1, kFreeCall = 2 };

struct Discount {
  char name[kNameChars] = {};
  std::uint32_t mode = kPercentageDiscount;  // any other value is evaluated like kPercentageDiscount
  float percent = 0.0f;
  float freeMins = 0.0f;  // counts free seconds down during a call, in the call's own copy
  std::uint32_t someTimes = 0;
  std::uint32_t days[7] = {};  // Sunday .. Saturday
  std::uint32_t certain = 0;
  std::int32_t from = 0;  // PackedTime
  std::int32_t to = 0;    // PackedTime
};

// The 20-byte "CallChargeInfo" block.
struct CallChargeInfo {
  std::int32_t dayFrom = 0;  // PackedTime
  std::int32_t dayTo = 0;    // PackedTime
  float dayRate = 0.0f;      // pounds per minute
  float eveningRate = 0.0f;
  float weekendRate = 0.0f;
};

constexpr std::uint32_t kCallChargeInfoBytes = 20;

// How an operator bills a call beyond its per-minute rates. Every default prices a call as the rates
// alone do.
struct BillingRules {
  float connectionFee = 0.0f;     // "ConnectionFee": pounds, once per call of a counted second
  std::uint32_t firstPeriod = 0;  // "FirstPeriod": seconds billed at least
  std::uint32_t increment = 1;    // "Increment": seconds per step after the first period
  bool rateAtStart = false;       // "RateAtStart": the rate in force at the first counted second
  bool roundUp = false;           // "RoundUp": each call's cost up to a whole penny
  float volumeRate = 0.0f;        // "VolumeRate": pounds per MB received plus sent
  std::uint32_t volumeFirst = 0;  // "VolumeFirst": KB billed at least for a call that moved data
  std::uint32_t volumeStep = 1;   // "VolumeStep": KB per step after the first
};

// The bounds of the billing rules and the plan, which the dialog refuses beyond and a stored value
// beyond reads as its default: a charging period or step of at most a day, a volume step of at most
// a gigabyte (in KB), a period that starts on a day of a month, and inclusions of up to ten million
// minutes or MB (far beyond any month's, and shown exactly by a number field).
constexpr std::uint32_t kLongestChargingSeconds = 24 * 60 * 60;
constexpr std::uint32_t kLargestVolumeKB = 1024 * 1024;
constexpr std::uint32_t kLastPeriodDay = 31;
constexpr std::uint32_t kLargestIncluded = 10000000;

// The account's billing period and what each period includes. The defaults are no plan.
struct PlanSettings {
  std::uint32_t periodDay = 1;        // "PeriodDay": 1 to 31, the day each period starts
  std::uint32_t includedMinutes = 0;  // "IncludedMinutes"
  std::uint32_t includedMB = 0;       // "IncludedMB"
  float periodFee = 0.0f;             // "PeriodFee": pounds per period, never part of a call
};

// What is left of a plan's inclusions for a call when it starts: the first seconds and bytes the
// call may use free. None without a plan.
struct Allowance {
  std::uint64_t freeSeconds = 0;
  std::uint64_t freeBytes = 0;
};

// An account's own charge settings, as one record: what an account on the default settings takes
// from ".Default", and what a save writes as one crash-safe whole. A stored setting of a profile is
// a field here, read with its default and written in profile_library.cpp (ReadSettings,
// WriteSettings), and nowhere else.
struct ChargeSettings {
  CallChargeInfo charge;
  std::uint32_t minChargeOn = 0;
  float minCharge = 0.0f;
  std::vector<Discount> discounts;  // in the registry's enumeration order
  BillingRules rules;
  PlanSettings plan;
};

// A plain value: a copy has discounts of its own, so a call can use up its free time in its copy.
struct ChargeProfile : ChargeSettings {
  char name[kNameChars] = {};
  std::uint32_t useDefault = 0;
  std::uint32_t isDefaultProfile = 0;  // set by the caller before loading; never stored
};

constexpr const char* kDefaultProfileName = ".Default";
constexpr std::uint32_t kMinChargeDefaultBits = 0x3D4CCCCDu;  // 0.05 as an IEEE single

// The stored form of the rate block: five little-endian fields in the order of the record. A stored
// rate that is not a finite number decodes as 0; encoding writes what the record holds.
void EncodeCallChargeInfo(const CallChargeInfo& info, std::uint8_t out[kCallChargeInfoBytes]);
void DecodeCallChargeInfo(const std::uint8_t in[kCallChargeInfoBytes], CallChargeInfo& info);

// The fourteen values of one discount key: "Mode", "Percent", "FreeMins", "SomeTimes", the seven
// days, "Certain", "From", "To". Loading leaves the name alone and takes a "Percent" or "FreeMins"
// that is not a finite number as 0.
void LoadDiscount(const SettingsStore& store, const SettingsKey& key, Discount& discount);
void SaveDiscount(const SettingsStore& store, const SettingsKey& key, const Discount& discount);

// The values a new discount starts from: "Untitled", a percentage of 0 effective at all times,
// with every day ticked and the window 18:00 to 23:59 ready for when the user limits it.
Discount NewDiscount();

// The key a discount is stored under. A name is a single key name: an empty name would put the
// values on the "Discounts" key itself and a backslash would make nested keys, so an empty name
// becomes "Discount" and each backslash a "/". Number 1 is that name; a higher number n adds
// " (n)", with the name cut so that the whole still fits a name field: the names of different
// numbers always differ.
void DiscountKeyName(const char* name, std::uint32_t number, char out[kNameChars]);

// The discounts below the "Discounts" subkey of an open key, in the registry's enumeration order.
std::vector<Discount> LoadDiscountList(const SettingsStore& store, const SettingsKey& parent);
// Replaces every discount below "Discounts" by the list, each under a key of its own. Registry key
// names ignore case, and an empty name or a backslash is stored under another name, so two
// discounts can ask for one key ("Evening" and "EVENING", "" and "Discount", "a\\b" and "a/b"):
// the later one then takes the first free key of number 2, 3, ... (DiscountKeyName) and comes back
// under that name. The registry itself decides which names are the same, so the case rules of
// every code page are its own: a key is free when opening it adds a subkey.
void SaveDiscountList(const SettingsStore& store, const SettingsKey& parent,
                      const std::vector<Discount>& discounts);

}  // namespace tollwick
