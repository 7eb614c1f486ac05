// How long loading the bill takes against the real registry, beside the bare reads of the same values
// (the floor no loader can go below), and what one append costs on a large bill. Loading must stay
// linear and close to the floor: the bill grows by one item per call for the life of the machine.
// The bill loaded has every call's volume stored with it; the floor reads items without (240 bytes
// each), so the volume must not add more than the ratio's margin.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "bill/bill_store.h"
#include "platform/win32/win32_registry.h"

namespace {

using namespace tollwick;

constexpr const char* kBillPath = "Software\\Orvo\\Tollwick\\.Bill";
// The same items without their volume, for the floor.
constexpr const char* kFloorPath = "Software\\Orvo\\Tollwick\\.BillFloor";
constexpr double kMostLoadPerFloor = 1.3;
constexpr int kRounds = 3;  // the best of these is reported: the floor and the load alike

// A closed HKEY on every path out.
class Key {
 public:
  explicit Key(const char* path) {
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
  }
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

std::string ItemName(int i) { return "BillItem" + std::to_string(i); }

// A stored bill of n distinct items, written directly, under `path`.
void StoreBill(const char* path, int n, bool withVolume) {
  {
    Key root("Software\\Orvo\\Tollwick");
    RegDeleteKeyA(root.get(), std::strrchr(path, '\\') + 1);
  }
  Key bill(path);
  BillItem item;
  std::snprintf(item.account, sizeof item.account, "%s", "Dial-up account");
  std::snprintf(item.user, sizeof item.user, "%s", "benchmark");
  item.day = 1;
  item.month = 1;
  item.year = 2000;
  std::uint8_t bytes[kBillItemMostBytes];
  for (int i = 0; i < n; ++i) {
    item.cost = 0.01f * static_cast<float>(i);
    item.length = MakePackedTime(static_cast<std::uint32_t>(i / 60 % 24), static_cast<std::uint32_t>(i % 60));
    item.volume = CallVolume{withVolume, 1000u * static_cast<std::uint32_t>(i), 77u * static_cast<std::uint32_t>(i)};
    const std::uint32_t size = EncodeBillItem(item, bytes);
    RegSetValueExA(bill.get(), ItemName(i).c_str(), 0, REG_BINARY, bytes, size);
  }
  const DWORD count = static_cast<DWORD>(n);
  RegSetValueExA(bill.get(), nullptr, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof count);
}

// The floor: open the key, read the count and every item into one buffer, close. The names are made
// beforehand so that only the registry calls are timed.
double BareReads(const std::vector<std::string>& names) {
  const double start = Seconds();
  Key bill(kFloorPath);
  DWORD count = 0;
  DWORD size = sizeof count;
  RegQueryValueExA(bill.get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(&count), &size);
  std::uint8_t bytes[kBillItemBytes];
  for (const std::string& name : names) {
    size = sizeof bytes;
    if (RegQueryValueExA(bill.get(), name.c_str(), nullptr, nullptr, bytes, &size) != ERROR_SUCCESS) {
      std::fprintf(stderr, "bare read of %s failed\n", name.c_str());
    }
  }
  return Seconds() - start;
}

// LoadBill alone; freeing the list afterwards is not part of it.
double TimedLoad(const SettingsStore& store, int expected) {
  const double start = Seconds();
  Bill bill = LoadBill(store);
  const double elapsed = Seconds() - start;
  if (bill.size() != static_cast<std::size_t>(expected)) {
    std::fprintf(stderr, "loaded %d items, expected %d\n", static_cast<int>(bill.size()), expected);
  }
  return elapsed;
}

}  // namespace

int main() {
  Win32Registry registry;
  SettingsStore store(registry);

  std::printf("LoadBill against the registry (best of %d rounds)\n", kRounds);
  std::printf("%10s %14s %14s %8s %8s %16s\n", "items", "LoadBill ms", "bare reads ms", "ratio",
              "at most", "LoadBill us/item");
  for (int n : {1000, 10000, 100000}) {
    StoreBill(kFloorPath, n, false);
    StoreBill(kBillPath, n, true);
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) names.push_back(ItemName(i));
    double load = 1e30;
    double floor = 1e30;
    for (int round = 0; round < kRounds; ++round) {
      floor = std::min(floor, BareReads(names));
      load = std::min(load, TimedLoad(store, n));
    }
    std::printf("%10d %14.1f %14.1f %8.2f %8.2f %16.2f\n", n, load * 1e3, floor * 1e3, load / floor,
                kMostLoadPerFloor, load * 1e6 / n);
    std::fflush(stdout);
  }

  // Appends on the 100,000-item bill left by the last round: the item and the count written, the
  // delete that finds nothing after them. Nothing here depends on the size of the bill.
  constexpr int kAppends = 50;
  Bill bill = LoadBill(store);
  BillItem item;
  item.cost = 1.0f;
  const double start = Seconds();
  for (int i = 0; i < kAppends; ++i) bill.Append(store, item);
  const double total = Seconds() - start;

  std::printf("\nOne append (Bill::Append) on a %d-item bill: %8.3f ms (mean of %d)\n",
              static_cast<int>(bill.size()) - kAppends, total * 1e3 / kAppends, kAppends);
  return 0;
}
