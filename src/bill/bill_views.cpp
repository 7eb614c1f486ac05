#include "bill/bill_views.h"

#include <cstdio>
#include <cstring>
#include <unordered_set>

#include "text/money_text.h"
#include "text/volume_text.h"

static_assert(tollwick::kBillCellChars >= tollwick::kMoneyTextChars &&
                  tollwick::kBillCellChars >= tollwick::kDateTextChars &&
                  tollwick::kBillCellChars >= tollwick::kVolumeTextChars,
              "a cell holds every text of a row");

namespace tollwick {
namespace {

void AddVolume(CallVolume& sum, const CallVolume& volume) {
  if (!volume.known) return;
  sum.known = true;
  sum.received += volume.received;
  sum.sent += volume.sent;
}

}  // namespace

void BillTotals::Add(const BillItem& item) {
  totalTime = AddPackedTime(totalTime, item.length);
  if (item.type != kCall) {
    totalPaid += item.cost;
  } else {
    totalCost += item.cost;
    AddVolume(totalData, item.volume);
  }
}

BillTotals CountBillTotals(const Bill& bill) {
  BillTotals totals;
  for (const BillItem& item : bill) totals.Add(item);
  return totals;
}

StatisticsFigures FiguresOf(const BillTotals& totals, const LiveCallFigures& call) {
  StatisticsFigures figures;
  figures.time = call.inProgress ? AddPackedTime(totals.totalTime, call.length) : totals.totalTime;
  figures.cost = call.inProgress ? call.cost + totals.totalCost : totals.totalCost;
  figures.paid = totals.totalPaid;
  figures.total = figures.cost - totals.totalPaid;
  figures.data = totals.totalData;
  if (call.inProgress) AddVolume(figures.data, call.volume);
  return figures;
}

float BillBalance(const Bill& bill, const UserKey* filter) {
  float balance = 0.0f;
  for (const BillItem& item : bill) {
    if (!UserMatches(filter, item.user)) continue;
    if (item.type != kCall) {
      balance -= item.cost;
    } else {
      balance += item.cost;
    }
  }
  return balance;
}

std::vector<std::uint32_t> BillRows(const Bill& bill, const UserKey* filter) {
  std::vector<std::uint32_t> rows;
  rows.reserve(filter == nullptr ? bill.size() : 0);
  for (std::uint32_t i = static_cast<std::uint32_t>(bill.size()); i-- > 0;) {
    if (UserMatches(filter, bill[i].user)) rows.push_back(i);
  }
  return rows;
}

void BillCellText(Environment& env, const BillItem& item, int column, char out[kBillCellChars]) {
  const bool payment = item.type != kCall;
  out[0] = '\0';
  switch (column) {
    case kTypeColumn:
      std::snprintf(out, kBillCellChars, "%s", payment ? "Paid" : "Owe");
      break;
    case kAmountColumn:
      MoneyText(env, item.cost, out);  // kBillCellChars holds kMoneyTextChars
      break;
    case kByColumn:
      std::snprintf(out, kBillCellChars, "%s", item.user);
      break;
    case kAccountColumn:
      if (!payment) std::snprintf(out, kBillCellChars, "%s", item.account);
      break;
    case kStartColumn:
      if (!payment) PackedTimeText(item.start, out);
      break;
    case kEndColumn:
      if (!payment) PackedTimeText(item.end, out);
      break;
    case kLengthColumn:
      if (!payment) PackedTimeText(item.length, out);
      break;
    case kDateColumn:
      DateText(item.day, item.month, item.year, out);
      break;
    case kDataColumn:
      if (!payment && item.volume.known) MegabytesText(item.volume.Total(), out);
      break;
    default:
      break;
  }
}

BillItem NewBillItem(Environment& env) {
  BillItem item;
  env.UserName(item.user, sizeof item.user);
  return item;
}

std::vector<std::string> DistinctBillUsers(const Bill& bill) {
  std::vector<std::string> users;
  std::unordered_set<std::string> seen;
  std::string folded;  // reused, so that only a new user costs an allocation
  for (const BillItem& item : bill) {
    folded = MakeUserKey(item.user).text;
    if (seen.count(folded) == 0) {
      seen.insert(folded);
      users.emplace_back(item.user);
    }
  }
  return users;
}

}  // namespace tollwick
