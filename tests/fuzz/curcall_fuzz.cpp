// The current-call record as a damaged registry could hold it, beside a bill: recovery at start-up
// bills at most one call, with a finite cost and terminated names, and a second start bills nothing
// more.

#include <cmath>
#include <cstring>
#include <string>

#include "call/call_recovery.h"
#include "call/curcall_record.h"
#include "fake_environment.h"
#include "fuzz_input.h"

using namespace tollwick;

namespace {

const std::string kRoot = kRootPath;

Bill Start(const SettingsStore& store, Environment& environment) {
  Bill bill = LoadBill(store);
  RecoverInterruptedCall(store, store, environment, bill);
  return bill;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  FakeRegistry registry;
  SettingsStore store(registry);
  for (const char* name : {"", "Cost", "Start", "End", "Length", "Date", "User", "Account",
                           "Volume", "ItemNumber"}) {
    input.StoreValue(registry, kHkeyLocalMachine, kRoot + "\\CurCall", name);
  }
  input.StoreValue(registry, kHkeyLocalMachine, kRoot + "\\.Bill", "");
  const int items = input.Byte() % 4;
  for (int i = 0; i < items; ++i) {
    input.StoreValue(registry, kHkeyLocalMachine, kRoot + "\\.Bill",
                     "BillItem" + std::to_string(input.Byte() % 6));
  }
  FakeEnvironment environment;
  environment.SetNow(2, 10, 30);

  const std::size_t before = LoadBill(store).size();
  const Bill first = Start(store, environment);
  FuzzCheck(first.size() <= before + 1, "at most one call recovered");
  if (first.size() > before) {
    const BillItem& call = first.back();
    FuzzCheck(std::isfinite(call.cost), "the recovered cost is finite");
    FuzzCheck(std::memchr(call.user, '\0', sizeof call.user) != nullptr, "user ends");
    FuzzCheck(std::memchr(call.account, '\0', sizeof call.account) != nullptr, "account ends");
    FuzzCheck(call.volume.Total() <= 2 * kLargestCallBytes, "no volume beyond any call's");
  }
  FuzzCheck(!IsCurCallPending(store), "no call left pending");
  FuzzCheck(Start(store, environment).size() == first.size(), "a second start bills nothing more");
  return 0;
}
