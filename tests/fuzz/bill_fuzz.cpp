// The stored bill as a damaged registry could hold it: a count of any type and size, items of any
// size, missing or numbered past the count. The load must stay bounded by what the key holds and
// give finite costs and terminated names; an append must leave every loaded item as it was stored;
// and the bill must load back as it is in memory.

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "bill/bill_store.h"
#include "fuzz_input.h"

using namespace tollwick;

namespace {

const std::string kBillKey = std::string(kRootPath) + "\\.Bill";

std::string ItemName(std::uint32_t number) { return "BillItem" + std::to_string(number); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  FakeRegistry registry;
  SettingsStore store(registry);
  input.StoreValue(registry, kHkeyLocalMachine, kBillKey, "");
  const int items = input.Byte() % 12;
  for (int i = 0; i < items; ++i) {
    input.StoreValue(registry, kHkeyLocalMachine, kBillKey, ItemName(input.Byte() % 16));
  }
  const std::size_t values = registry.ValueNames(kHkeyLocalMachine, kBillKey).size();

  Bill bill = LoadBill(store);
  FuzzCheck(bill.size() <= 2 * values, "the load is bounded by the values the key holds");
  for (const BillItem& item : bill) {
    FuzzCheck(std::isfinite(item.cost), "costs finite");
    FuzzCheck(std::memchr(item.account, '\0', sizeof item.account) != nullptr, "account ends");
    FuzzCheck(std::memchr(item.user, '\0', sizeof item.user) != nullptr, "user ends");
    FuzzCheck(!item.volume.known || (item.type == kCall && item.volume.Total() <= 2 * kLargestCallBytes),
              "only calls have a volume, none beyond any call's");
  }

  const auto loaded = static_cast<std::uint32_t>(bill.size());
  std::vector<std::vector<std::uint8_t>> stored;
  for (std::uint32_t i = 0; i < loaded; ++i) {
    stored.push_back(registry.ValueBytes(kHkeyLocalMachine, kBillKey, ItemName(i)).value_or(
        std::vector<std::uint8_t>()));
  }
  BillItem payment;
  payment.type = kPayment;
  payment.cost = 1.5f;
  bill.Append(store, payment);
  for (std::uint32_t i = 0; i < loaded; ++i) {
    FuzzCheck(registry.ValueBytes(kHkeyLocalMachine, kBillKey, ItemName(i)) == stored[i],
              "an append leaves every loaded item as it was stored");
  }

  const Bill again = LoadBill(store);
  FuzzCheck(again.size() == bill.size(), "the bill loads back with as many items");
  for (std::size_t i = 0; i < bill.size(); ++i) {
    std::uint8_t a[kBillItemMostBytes];
    std::uint8_t b[kBillItemMostBytes];
    const std::uint32_t size = EncodeBillItem(bill[i], a);
    FuzzCheck(EncodeBillItem(again[i], b) == size && std::memcmp(a, b, size) == 0, "item for item");
  }
  return 0;
}
