#pragma once
// Bill items for tests: of a type, cost, user and length, dated 7 December 2000, a call on account
// "Orvonet".

#include <cstdint>
#include <cstdio>

#include "bill/bill_item.h"

namespace tollwick {

inline BillItem Item(std::uint32_t type, float cost, const char* user, PackedTime length = 0) {
  BillItem item;
  item.type = type;
  item.cost = cost;
  item.length = length;
  std::snprintf(item.user, sizeof item.user, "%s", user);
  std::snprintf(item.account, sizeof item.account, "%s", type == kCall ? "Orvonet" : "");
  item.day = 7;
  item.month = 12;
  item.year = 2000;
  return item;
}

// A call as the current-call record keeps it.
inline BillItem CallItem(float cost, PackedTime start, PackedTime end, PackedTime length,
                         CalendarDate date, const char* user, const char* account) {
  BillItem item = Item(kCall, cost, user, length);
  std::snprintf(item.account, sizeof item.account, "%s", account);
  item.start = start;
  item.end = end;
  item.day = date.day;
  item.month = date.month;
  item.year = date.year;
  return item;
}

inline BillItem WithVolume(BillItem item, std::uint64_t received, std::uint64_t sent) {
  return item.volume = {true, received, sent}, item;
}

}  // namespace tollwick
