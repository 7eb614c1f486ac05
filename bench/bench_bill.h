#pragma once
// A bill as the benchmarks use it: n items of kUsers users, one payment in ten, the rest calls of
// one dial-up account with costs, lengths, start times and dates that vary from item to item.

#include <cstdio>
#include <utility>
#include <vector>

#include "bill/bill.h"

constexpr int kUsers = 5;

inline tollwick::Bill MakeBill(int n) {
  using namespace tollwick;
  std::vector<BillItem> bill(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    BillItem& item = bill[static_cast<std::size_t>(i)];
    item.type = i % 10 == 9 ? kPayment : kCall;
    item.cost = 0.01f * static_cast<float>(i % 500);
    std::snprintf(item.user, sizeof item.user, "user%d", i % kUsers);
    if (item.type == kCall) std::snprintf(item.account, sizeof item.account, "%s", "Dial-up account");
    item.length = MakePackedTime(0, static_cast<std::uint32_t>(i % 60));
    item.start = MakePackedTime(static_cast<std::uint32_t>(i % 24), 0);
    item.day = 1 + static_cast<std::uint32_t>(i % 28);
    item.month = 1 + static_cast<std::uint32_t>(i % 12);
    item.year = 2000 + static_cast<std::uint32_t>(i / 1000);
  }
  return Bill(std::move(bill));
}
