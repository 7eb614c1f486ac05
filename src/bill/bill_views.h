#pragma once
// What the Statistics and Bill tabs show, worked out without a window: the running totals, balances,
// the rows of the list and the users that the users boxes offer.

#include <cstdint>
#include <string>
#include <vector>

#include "bill/bill_store.h"
#include "platform/call_volume.h"
#include "platform/environment.h"
#include "platform/packed_time.h"

namespace tollwick {

// Running sums over the whole bill, all users: time on line (calls and payments alike, a payment's
// length being 0), the cost of calls and what was paid. Single-precision sums in bill order. The
// data is that of the calls whose volume is known; with none known it is unknown, not 0.
struct BillTotals {
  PackedTime totalTime = 0;
  float totalCost = 0.0f;
  float totalPaid = 0.0f;
  CallVolume totalData;

  void Add(const BillItem& item);
};
BillTotals CountBillTotals(const Bill& bill);

// The call in progress as the Statistics tab adds it to the totals.
struct LiveCallFigures {
  bool inProgress = false;
  PackedTime length = 0;  // the started minute counted
  float cost = 0.0f;      // the minimum charge applied
  CallVolume volume;      // so far
};

// The four figures of the Statistics tab.
struct StatisticsFigures {
  PackedTime time = 0;
  float cost = 0.0f;
  float paid = 0.0f;
  float total = 0.0f;  // cost minus paid
  CallVolume data;     // of the calls whose volume is known, the one in progress included
};
StatisticsFigures FiguresOf(const BillTotals& totals, const LiveCallFigures& call);

// Calls minus payments of the items that pass the filter (all of them when it is null).
float BillBalance(const Bill& bill, const UserKey* filter = nullptr);

// The positions in the bill of the items that pass the filter, newest first: row r of the list shows
// item rows[r].
std::vector<std::uint32_t> BillRows(const Bill& bill, const UserKey* filter);

enum BillColumn : int { kTypeColumn, kAmountColumn, kByColumn, kAccountColumn, kStartColumn,
                        kEndColumn, kLengthColumn, kDateColumn, kDataColumn, kBillColumnCount };
constexpr int kCallImage = 0;
constexpr int kPaymentImage = 1;
constexpr std::size_t kBillCellChars = 100;

// The text of one cell of an item's row; a payment leaves account, times and data empty, and so
// does a call whose volume is unknown. The data is received plus sent in MB with one decimal.
void BillCellText(Environment& env, const BillItem& item, int column, char out[kBillCellChars]);
inline int BillItemImage(const BillItem& item) {
  return item.type != kCall ? kPaymentImage : kCallImage;
}

// A blank item for adding a call or a payment by hand: a call of the logged-on user, all else zero.
// The date is set when the item is appended.
BillItem NewBillItem(Environment& env);

// Each user of the bill once, spelt as in that user's first item, in the order first seen; names
// that differ only in the case of a to z are one user.
std::vector<std::string> DistinctBillUsers(const Bill& bill);

}  // namespace tollwick
